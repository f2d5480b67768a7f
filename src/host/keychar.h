// The character of a key code, as the game's key state keeps it.
#pragma once

#include <string>

namespace sw::host {

// The character whose code equals the Windows virtual-key number `code`, in
// lower case, as UTF-8: 65 (A) gives "a", 53 (5) gives "5", 32 (Space) gives
// " ", 38 (Up) gives "&", 192 (grave accent key) gives "à". Codes 160..255 are
// Latin-1 characters. Empty for codes that have no such character (0, negative,
// above 255, and 128..159, which no key produces).
std::string KeyChar(int code);

}  // namespace sw::host
