// The values of one pitch: its hidden events, the computer batter's roll, and
// what the pitch sound measured of the player's swing.
#pragma once

namespace sw {

struct PitchValues {
    int pitchSpeedClass = 0;  // last speed class drawn while the sound played (1..5): the pitch's height
    int swungAndMissed = 0;   // the key came outside the contact window
    double swingPercent = 0;  // percentage of the sound played at the key; 0: no key
    int spitballFlag = 0;
    int wildPitchFlag = 0;
    int hitBatterFlag = 0;
    int pitchRoll = 0;        // 1..100: decides the computer batter's swing
};

}  // namespace sw
