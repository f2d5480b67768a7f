// The pitch sound thrown to the player and the measurement of the swing.
#pragma once

#include "input/keys.h"
#include "speech/sound.h"

namespace sw {

struct PitchState {
    int pitchNumber = 1;      // 1..7: the sound "p1" .. "p7"
    int pitchSpeedClass = 0;  // last speed class drawn while the sound played (1..5)
    int swungAndMissed = 0;
    double swingPercent = 0;  // percentage of the sound played at the key; 0: no key
    int hitBatterFlag = 0;
};

class Pitch {
public:
    Pitch(Sound& sound, Keys& keys);

    // The game's pitch to the player: draws the pitch with wf 7, then plays it.
    void batting(PitchState& s);
    // Plays pitch `s.pitchNumber` from left to right, changing its speed three
    // times, until it ends or a key is pressed; judges the key by the position
    // of the sound heard at the key's time stamp. With `hitBatterCheck`, a
    // pitch that hits the batter stops at 80 percent.
    void PitchSound(PitchState& s, bool hitBatterCheck);

private:
    Sound& sound_;
    Keys& keys_;
};

}  // namespace sw
