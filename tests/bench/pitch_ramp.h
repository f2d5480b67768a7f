// What the swing benchmarks share: the device's format, a virtual clock,
// and a pitch sound that is a ramp, so each output frame tells which source
// position sounded in it.
#pragma once

#include "host/host.h"
#include "host/wav.h"

#include <cmath>
#include <cstdint>

namespace sw::bench {

// The simulated device: 512-frame periods at 48000 Hz.
inline constexpr int kRate = 48000;
inline constexpr int kPeriod = 512;
inline constexpr double kPeriodSeconds = static_cast<double>(kPeriod) / kRate;

inline constexpr int kPitchFrames = 15000;  // about 1.4 s at 11026 Hz
inline constexpr uint32_t kSpeeds[] = {8000, 9500, 11000, 12500, 14000};

class VirtualClock : public host::Clock {
public:
    double now() const override { return t; }
    double t = 0;
};

// 16-bit mono at 11025 Hz, from full negative scale to near full positive.
inline host::WaveData Ramp() {
    host::WaveData w;
    w.channels = 1;
    w.bitsPerSample = 16;
    w.blockAlign = 2;
    w.sampleRate = 11025;
    for (int f = 0; f < kPitchFrames; ++f) {
        const auto s = static_cast<int16_t>(std::lround(-32768.0 + 65535.0 * f / (kPitchFrames - 1)));
        w.bytes.push_back(static_cast<uint8_t>(s & 0xff));
        w.bytes.push_back(static_cast<uint8_t>((s >> 8) & 0xff));
    }
    return w;
}

// The ramp's source frame that an output sample (at full level) came from.
inline double DecodeFrame(float sample) { return (sample * 32768.0 + 32768.0) * (kPitchFrames - 1) / 65535.0; }

}  // namespace sw::bench
