// The hot-key dialogs: speech rate (Ctrl), voice (F12) and volume (F11).
#pragma once

#include "speech/key_waits.h"
#include "speech/sound.h"
#include "speech/speech.h"

namespace sw {

class Dialogs {
public:
    Dialogs(Speech& speech, Sound& sound, KeyWaits& waits);

    struct Levels {
        int wave = 0;
        int speech = 0;
    };

    void changevoice();
    void adjrate();
    // The volume dialog: silences the crowd, lets the player set the speech
    // and wave levels and returns them. The crowd stays silent, so that the
    // caller keeps the levels before starter() brings it back.
    Levels adjvol();

    // Registers Ctrl and F12 (and F11 when `withVolume`) as hot keys of getkey.
    void RegisterHotKeys(bool withVolume);

private:
    void SpeakRate();

    Speech& speech_;
    Sound& sound_;
    KeyWaits& waits_;
    Keys& keys_;
};

}  // namespace sw
