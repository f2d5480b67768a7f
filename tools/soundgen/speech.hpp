// Spoken lines from the espeak-ng engine, brought to the set's sample rate.
#pragma once

#include <string>

#include "dsp.hpp"

namespace sg {

struct Voice {
    std::string name = "en-us";   // language and variant, e.g. "en-us+m3"
    int rate = 170;                // words per minute
    int pitch = 50;                // 0..100
    int range = 50;                // 0..100, intonation width
    bool ssml = false;             // text carries SSML mark-up
};

// Speaks the text and returns it at 11025 Hz with the silence the engine
// leaves before and after the words cut away.
Signal speak(const std::string& text, const Voice& voice);

// Speaks the text, raising the rate step by step until it lasts at most
// maxSecs (never slower than the voice's own rate); the rate it ends at goes
// to *finalRate when asked for.
Signal speakWithin(const std::string& text, Voice voice, double maxSecs, int* finalRate = nullptr);

}  // namespace sg
