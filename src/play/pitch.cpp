#include "play/pitch.h"

#include "host/files.h"

#include <cmath>
#include <string>

namespace sw {

namespace {
constexpr uint32_t kSpeedRates[6] = {0, 8000, 9500, 11000, 12500, 14000};
}

Pitch::Pitch(Sound& sound, Keys& keys) : sound_(sound), keys_(keys) {}

void Pitch::batting(PitchState& s) {
    keys_.clk();
    s.pitchNumber = keys_.wf(7);
    PitchSound(s, true);
}

void Pitch::PitchSound(PitchState& s, bool hitBatterCheck) {
    s.swungAndMissed = 0;
    s.swingPercent = 0;
    keys_.clk();
    const std::string digits = std::to_string(s.pitchNumber);
    const std::string name = "p" + digits.substr(digits.size() - 1);
    Guarded("pitch", [&] {
        const std::string path = sound_.WavePath(name);
        const auto size = host::FileSize(path);
        sound_.effectBuffer = sound_.host().sound().CreateSoundBufferFromFile(path);
        const double fileBytes = static_cast<double>(size.value_or(1));
        host::SoundBuffer& b = *sound_.effectBuffer;
        b.SetCurrentPosition(0);
        b.SetVolume(sound_.waveVolume);
        b.SetFrequency(11026);
        b.SetPan(-2500);
        int changes = 0;
        b.Play(host::kPlayOnce);
        double percent = 0;
        bool hitBatter = false;
        for (;;) {
            const uint32_t pos = b.GetCurrentPosition();
            keys_.yield();
            percent = pos * 100.0 / fileBytes;
            b.SetPan(static_cast<int32_t>(std::floor(percent * 50)) - 2500);
            if (hitBatterCheck && percent > 80 && s.hitBatterFlag == 1) {
                b.Stop();
                hitBatter = true;
                break;
            }
            if ((changes == 0 && percent > 25) || (changes == 1 && percent > 50) || (changes == 2 && percent > 75)) {
                ++changes;
                s.pitchSpeedClass = static_cast<int>(keys_.random().Next() * 5) + 1;
                b.SetFrequency(kSpeedRates[s.pitchSpeedClass]);
            }
            keys_.yield();
            if (b.GetStatus() != host::kStatusPlaying || !keys_.keyCode.empty()) break;
        }
        if (!hitBatter && !keys_.keyCode.empty()) {
            // The swing is judged by what the player heard when the key went down.
            s.swingPercent = b.GetPositionAt(keys_.keyTime) * 100.0 / fileBytes;
            if (s.swingPercent < 80 || s.swingPercent > 95) {
                sound_.playspec("sm", 2300);
                s.swungAndMissed = 1;
                while (b.GetStatus() == host::kStatusPlaying) keys_.yield();
            } else {
                b.Stop();
            }
        }
    });
    sound_.effectBuffer.reset();
}

}  // namespace sw
