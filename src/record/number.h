// A number of the game record that remembers whether it was ever given. The
// game's files write a number that was never given as an empty line, and an
// empty line reads back as "never given", so a value keeps that state through
// a save and a resume.
#pragma once

namespace sw {

class Num {
public:
    constexpr Num() = default;
    constexpr Num(int v) : value_(v), given_(true) {}  // NOLINT: a number is given by assigning it

    constexpr operator int() const { return value_; }  // NOLINT
    constexpr bool given() const { return given_; }

    constexpr Num& operator=(int v) {
        value_ = v;
        given_ = true;
        return *this;
    }
    constexpr Num& operator+=(int d) { return *this = value_ + d; }
    constexpr Num& operator-=(int d) { return *this = value_ - d; }
    constexpr Num& operator++() { return *this += 1; }
    constexpr Num& operator--() { return *this -= 1; }
    constexpr int operator++(int) {
        int old = value_;
        *this += 1;
        return old;
    }
    constexpr int operator--(int) {
        int old = value_;
        *this -= 1;
        return old;
    }

private:
    int value_ = 0;
    bool given_ = false;
};

}  // namespace sw
