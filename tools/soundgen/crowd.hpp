// Voices of the ballpark crowd: a small formant synthesiser for talking,
// shouting, booing and groaning, plus claps, whistles, a murmur of spoken
// phrases, and the scenes built from many of them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "dsp.hpp"

namespace sg {

enum class Vowel { EE, IH, EH, AE, AH, AA, AW, OO, UH, ER };

// One vocalisation: a pitched source through three moving formants.
struct Vocal {
    double secs = 0.3;
    double f0Start = 120, f0Peak = 130, f0End = 110;  // pitch contour in Hz
    double peakAt = 0.3;                              // where f0Peak falls (0..1)
    Vowel from = Vowel::AH, to = Vowel::AH;           // formant glide over the note
    double formantScale = 1.0;                        // 1 men, ~1.17 women
    double attack = 0.03, release = 0.08;
    double breath = 0.08;                             // share of breath noise
    double brightness = 1.0;                          // tilt of the source
    double vibratoHz = 5.5, vibratoCents = 0;
    double wobble = 0.012;                            // slow random pitch drift share
};
Signal vocal(Rng& rng, const Vocal& v);

// A clap of two hands, and a single whistle of the kind fans make.
Signal clap(Rng& rng, double brightness = 1.0);
Signal whistle(Rng& rng);

// Event times of a Poisson process whose rate is ratePerSec * intensity(t).
std::vector<double> eventTimes(Rng& rng, double secs, double ratePerSec,
                               const std::function<double(double)>& intensity);

// What a crowd is doing; every density is per second at intensity 1.
struct CrowdMood {
    int talkers = 40;               // babbling voices
    double syllableRate = 4.2;      // their syllables per second
    double talkShare = 0.6;         // share of the time each talker talks
    int noiseVoices = 16;           // band-passed noise voices, slowly modulated
    double murmurPerSec = 1.0;      // spoken phrases far away in the stands
    double shoutsPerSec = 0.0;      // yeahs, heys and whoos
    double applause = 0.0;          // clappers clapping at once
    double whistlesPerSec = 0.0;
    double roar = 0.0;              // level of the broad roar of a big crowd
    double pitchLift = 1.0;         // excitement raises voices
    double brightness = 1.0;
    // Loudness and density over time (seconds), 0..1.
    std::function<double(double)> intensity = [](double) { return 1.0; };
};

// The crowd as heard from the field, before the ballpark's reverb.
Signal crowd(Rng& rng, double secs, const CrowdMood& mood);

// Many people booing, and many groaning in disappointment.
Signal booing(Rng& rng, double secs, int voices, const std::function<double(double)>& intensity);
Signal groan(Rng& rng, double secs, int voices);

// A few people close by shouting the same word together (spoken by the
// speech engine in as many voices, nearly in step, kept clean so the word is
// understood).
Signal chant(Rng& rng, const std::string& word, int voices);

// The ballpark's acoustics for crowd sounds.
Space stadium();

}  // namespace sg
