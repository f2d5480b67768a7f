// The pitch sound: it travels from the left speaker to the right while its
// speed changes, and the player's swing is measured by how much of it was
// heard. Also the computer batter's pitch and the wild pitch's sound.
#pragma once

#include "input/keys.h"
#include "play/pitch_values.h"
#include "speech/sound.h"

namespace sw {

class Pitch {
public:
    Pitch(Sound& sound, Keys& keys);

    // The game's pitch to the player: draws `pitchNumber` with wf 7, then
    // plays it and measures the swing.
    void batting(int& pitchNumber, PitchValues& s);
    // Plays pitch `pitchNumber` from left to right, changing its speed three
    // times, until it ends or a key is pressed; judges the key by the position
    // of the sound heard at the key's time stamp. With `hitBatterCheck`, a
    // pitch that hits the batter stops at 80 percent. A pitch whose sound
    // cannot be played is reported and counts as one with no swing.
    void PitchSound(int pitchNumber, PitchValues& s, bool hitBatterCheck);
    // The player's pitch to the computer's batter: `a` the batter's action,
    // `b` the pitch. Draws `pitchRoll`; a swing or a bunt cuts the sound at
    // 80 percent.
    void throwpitch(int a, int b, PitchValues& s);
    // The wild pitch: the sound wobbles between two speeds.
    void wildpit(int& pitchNumber, PitchValues& s);

private:
    enum class Kind { Batting, Thrown, Wild };
    // The pitch sound's loop, shared by the three kinds.
    void Play(Kind kind, int pitchNumber, int batterAction, PitchValues& s, bool hitBatterCheck);

    Sound& sound_;
    Keys& keys_;
};

}  // namespace sw
