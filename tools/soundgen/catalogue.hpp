// The wave set: every file the game loads, in the order the game checks
// them at start-up, with the recipe that makes each one.
#pragma once

#include <string>
#include <vector>

#include "dsp.hpp"

namespace sg {

// Sounds whose loudness must agree, because the game plays them with fixed
// volume offsets that assume it.
enum class Family { None, Umpire, Contact, CrowdLoop, Commercial };

const char* familyName(Family f);

struct SoundDef {
    std::string name;                 // file name without ".wav"
    double secs;                      // target length
    bool sized;                       // false: the start-up check only wants it present
    Family family;
    bool loop;                        // played looping: the seam must not click
    Signal (*make)(Rng& rng, double secs);
};

// All sixty sounds, presence-only entries first, then the sized ones.
const std::vector<SoundDef>& catalogue();

// Fixed seed of a sound, from its name.
std::uint64_t seedOf(const std::string& name);

}  // namespace sg
