// Instruments of the ballpark and of the radio spots: the stadium organ,
// brass, a plunger-muted trombone, bells, marimba, plucked bass and drums.
#pragma once

#include <array>
#include <vector>

#include "dsp.hpp"

namespace sg {

struct Note {
    double start;     // seconds
    double dur;       // seconds the key is held
    double midi;      // pitch as a MIDI note number
    double vel = 1.0;
};

// Writes notes on a beat grid: add(beat, lengthInBeats, midi).
class Score {
public:
    explicit Score(double secsPerBeat, double offsetSecs = 0) : beat_(secsPerBeat), offset_(offsetSecs) {}
    Score& add(double beat, double beats, double midi, double vel = 1.0, double legato = 0.92);
    Score& chord(double beat, double beats, std::initializer_list<double> midis, double vel = 1.0,
                 double legato = 0.92);
    const std::vector<Note>& notes() const { return notes_; }
    double secs(double beat) const { return offset_ + beat * beat_; }

private:
    double beat_, offset_;
    std::vector<Note> notes_;
};

// Tonewheel organ: nine drawbars (16', 5 1/3', 8', 4', 2 2/3', 2', 1 3/5',
// 1 1/3', 1'), levels 0..8, with key click, percussion and a rotating
// speaker's warble.
struct Organ {
    std::array<int, 9> drawbars{8, 8, 8, 6, 4, 4, 0, 0, 3};
    double percussion = 0.5;   // level of the decaying third-harmonic attack
    double vibratoCents = 7;   // chorus-vibrato depth
    double rotorHz = 6.6;      // speed of the rotating horn
    double click = 0.05;
};
Signal organ(const std::vector<Note>& notes, const Organ& stops, Rng& rng);

Signal brass(const std::vector<Note>& notes, Rng& rng, double brightness = 1.0);
// Notes with `vel` above 1 get the long, wobbling plunger wah of a sad ending.
Signal trombone(const std::vector<Note>& notes, Rng& rng);
Signal bells(const std::vector<Note>& notes);
Signal marimba(const std::vector<Note>& notes, Rng& rng);
Signal pluckBass(const std::vector<Note>& notes);

Signal bassDrum(Rng& rng, double hz, double decaySecs);
Signal snare(Rng& rng);

}  // namespace sg
