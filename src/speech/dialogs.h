// The hot-key dialogs: speech rate (Ctrl), voice (F12) and volume (F11).
#pragma once

#include "speech/sound.h"
#include "speech/speech.h"

#include <functional>

namespace sw {

class Dialogs {
public:
    Dialogs(Speech& speech, Sound& sound, Keys& keys);

    // Where the volume dialog stores the wave and speech volumes.
    std::function<void(int waveVolume, int speechVolume)> saveVolumes;

    void changevoice();
    void adjrate();
    void adjvol();

    // Registers Ctrl and F12 (and F11 when `withVolume`) as hot keys of getkey.
    void RegisterHotKeys(bool withVolume);

private:
    void SpeakRate();

    Speech& speech_;
    Sound& sound_;
    Keys& keys_;
};

}  // namespace sw
