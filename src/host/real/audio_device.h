// The SDL2 audio device that pulls the mixer's output.
#pragma once

#include "host/real/mixer.h"

#include <memory>

namespace sw::host::real {

class AudioDevice {
public:
    explicit AudioDevice(Mixer& mixer);
    ~AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    // Opens the default device at 48000 Hz stereo with a small period. When no
    // device can be opened, says so on standard error and keeps the mixer
    // running silently in real time instead; returns false in that case.
    bool Open();
    void Close();

    class Impl;
private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace sw::host::real
