// The pool of commercials: the seven sponsors of the wave set and any extra
// ones the player has added as baseco1.wav, baseco2.wav, ...
#pragma once

#include <string>

namespace sw {

// The number of extra commercials: baseco1.wav, baseco2.wav, ... counted up
// to the first number that is missing from `soundsFolder`.
int getcommercials(const std::string& soundsFolder);

}  // namespace sw
