// How numbers and counts are written into the game's sentences.
#pragma once

#include <string>

namespace sw {

// A number in a sentence: one leading blank when 0 or positive.
inline std::string Spoken(int n) { return n < 0 ? std::to_string(n) : " " + std::to_string(n); }

// "s" after a noun unless its count is exactly 1.
inline std::string PluralS(int n) { return n == 1 ? "" : "s"; }

// The last character of a number written as text: the name of a count wave,
// or of the pitch sound after "p".
inline std::string LastDigit(int n) {
    const std::string s = std::to_string(n);
    return s.substr(s.size() - 1);
}

}  // namespace sw
