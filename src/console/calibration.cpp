#include "console/calibration.h"

#include "data/options_file.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace sw {

double ClickOffsetMs(uint32_t position, uint32_t loopBytes, uint32_t periodMs) {
    if (loopBytes == 0) return 0;
    double ms = static_cast<double>(position % loopBytes) * periodMs / loopBytes;
    if (ms > periodMs / 2.0) ms -= periodMs;
    return ms;
}

DelayEstimate EstimateDelay(const std::vector<double>& offsetsMs) {
    DelayEstimate e;
    std::vector<double> counted;
    for (size_t i = Calibration::kWarmUp; i < offsetsMs.size(); ++i)
        if (std::fabs(offsetsMs[i]) <= Calibration::kReachMs) counted.push_back(offsetsMs[i]);
    e.counted = static_cast<int>(counted.size());
    if (e.counted < Calibration::kNeeded) return e;
    std::sort(counted.begin(), counted.end());
    const size_t n = counted.size();
    const double median = n % 2 ? counted[n / 2] : (counted[n / 2 - 1] + counted[n / 2]) / 2;
    e.spreadMs = counted[n - 1 - n / 4] - counted[n / 4];
    e.ms = std::clamp(static_cast<int>(std::lround(median)), data::kLatencyMin, data::kLatencyMax);
    e.verdict = e.spreadMs <= Calibration::kEvenMs ? DelayEstimate::Verdict::Fitted : DelayEstimate::Verdict::Uneven;
    return e;
}

Calibration::Calibration(host::Host& host, Sound& sound, Keys& keys) : host_(host), sound_(sound), keys_(keys) {}

std::optional<DelayEstimate> Calibration::Run() {
    std::unique_ptr<host::SoundBuffer> click;
    try {
        click = host_.sound().CreateClick(kPeriodMs);
        click->SetVolume(sound_.waveVolume);
    } catch (const host::HostError& e) {
        std::fprintf(stderr, "calibration: %s\n", e.what());
        return DelayEstimate{DelayEstimate::Verdict::NoClicks};
    }
    const Keys::KeyWait wait(keys_);
    keys_.clk();
    click->Play(host::kPlayLooping);
    // The last click's presses may come up to half a period after it.
    const double end = keys_.timer() + (kClicks - 0.5) * kPeriodMs / 1000.0;
    std::vector<double> offsets;
    while (keys_.timer() < end) {
        keys_.idle();
        if (!keys_.Pressed()) continue;
        const Key key = keys_.Last();
        keys_.Discard();
        if (key.code == "27") {
            click->Stop();
            return std::nullopt;
        }
        // Looked up at once: the device remembers where a sound was only
        // for a moment.
        if (key.code == "32") offsets.push_back(ClickOffsetMs(click->GetPositionAt(key.time), click->DataBytes(), kPeriodMs));
    }
    click->Stop();
    return EstimateDelay(offsets);
}

}  // namespace sw
