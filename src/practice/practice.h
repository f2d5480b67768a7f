// Batting practice: the menu, random or selected pitches, and the verdicts.
#pragma once

#include "play/pitch.h"
#include "speech/key_waits.h"
#include "speech/sound.h"
#include "speech/speech.h"

#include <string>

namespace sw {

class Practice {
public:
    Practice(Speech& speech, Sound& sound, KeyWaits& waits, Pitch& pitch);

    int practiceMode = 1;
    int selectedPitch = 1;
    int practicePromptCount = 0;
    int pitchNumber = 1;
    PitchValues pitch;

    // Runs the practice until the player chooses exit.
    void batprac();

    static const char* PitchName(int number);
    // One pitch in the batter's box and its verdict.
    void OnePitch();

private:
    void ChoosePitch();
    void PracticeLoop();
    void SwingAndMiss();

    Speech& speech_;
    Sound& sound_;
    KeyWaits& waits_;
    Keys& keys_;
    Pitch& pitch_;
};

}  // namespace sw
