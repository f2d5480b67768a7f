// The player's sound delay, measured and used, on the real Mixer.
//
// A simulated sound device pulls 512-frame periods from the Mixer, which
// believes each frame is heard two periods (21.3 ms) after its period's
// nominal time; the frames are really heard 60 ms after it, as through a
// sound server or a wireless headset. A simulated player hears the real
// output: the clicks of the calibration loop where they truly sound, and
// presses the space bar on each with normally scattered timing; each press
// is looked up a few milliseconds later, as the event loop does.
//
// First, many calibrations: how far the estimate falls from the true
// 38.7 ms the Mixer's guess is short. Then swings over pitch sounds (a
// ramp, so each output frame tells which source position sounded): a key
// pressed at a random time is judged at the key's time (no delay set) and
// at the key's time less the measured delay; the error is the judged
// position less the heard one, as time of the sound at the speed it was
// playing (positive: judged later than heard).
//
// Everything runs on a virtual clock in one thread, so the figures are
// exact and repeatable. Usage: bench_calibration [calibrations] [pitches] [scatter ms]
#include "console/calibration.h"
#include "host/real/mixer.h"
#include "pitch_ramp.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

using sw::host::SoundBuffer;
using sw::host::WaveData;
using sw::bench::DecodeFrame;
using sw::bench::kPeriod;
using sw::bench::kPeriodSeconds;
using sw::bench::kPitchFrames;
using sw::bench::kRate;
using sw::bench::kSpeeds;
using sw::bench::Ramp;
using sw::bench::VirtualClock;
using sw::host::real::Mixer;

namespace {

constexpr double kAssumed = 2 * kPeriodSeconds;
constexpr double kTrue = 0.060;

// The device: periods rendered on time, every output frame kept with the
// time it is truly heard.
struct Device {
    VirtualClock clock;
    Mixer mixer{clock, kRate};
    std::vector<float> left;  // every frame since the start
    long period = 0;
    Device() { mixer.SetOutputLatency(kAssumed); }

    double NextCallback() const { return static_cast<double>(period) * kPeriodSeconds; }
    void Render() {
        std::vector<float> block(2 * kPeriod);
        mixer.RenderFloat(block.data(), kPeriod, clock.t);
        for (int i = 0; i < kPeriod; ++i) left.push_back(block[2 * static_cast<size_t>(i)]);
        ++period;
    }
    static double HeardAt(size_t frame) { return static_cast<double>(frame) / kRate + kTrue; }
    // Runs the device and `poll` (every millisecond) up to time `until`.
    template <class Poll>
    void RunTo(double until, Poll poll) {
        double nextPoll = clock.t;
        while (clock.t < until) {
            const double t = std::min({NextCallback(), nextPoll, until});
            clock.t = t;
            if (t == NextCallback()) Render();
            if (t == nextPoll) {
                poll(t);
                nextPoll = t + 0.001;
            }
        }
    }
};

// One calibration: the estimate in ms, or NAN when it was not fitted.
double Calibrate(std::mt19937& rng, double scatterMs) {
    Device d;
    std::normal_distribution<double> scatter(0, scatterMs / 1000);
    std::uniform_real_distribution<double> unit(0, 1);
    auto click = d.mixer.CreateClick(sw::Calibration::kPeriodMs);
    d.RunTo(0.1 + 0.1 * unit(rng), [](double) {});
    click->Play(sw::host::kPlayLooping);
    const double end = d.clock.t + (sw::Calibration::kClicks - 0.5) * sw::Calibration::kPeriodMs / 1000.0;
    struct Press {
        double time, query;
    };
    std::vector<Press> presses;
    std::vector<double> offsets;
    size_t scanned = 0, quietSince = 0;
    bool any = false;
    d.RunTo(end, [&](double t) {
        // The player hears each click's onset and presses near it.
        for (; scanned < d.left.size(); ++scanned) {
            if (std::fabs(d.left[scanned]) < 1e-4) continue;
            if (!any || scanned - quietSince > 100) {
                const double press = Device::HeardAt(scanned) + scatter(rng);
                presses.push_back({press, press + 0.0002 + 0.008 * unit(rng)});
            }
            any = true;
            quietSince = scanned;
        }
        for (auto it = presses.begin(); it != presses.end();) {
            if (it->query <= t) {
                offsets.push_back(sw::ClickOffsetMs(click->GetPositionAt(it->time), click->DataBytes(),
                                                    sw::Calibration::kPeriodMs));
                it = presses.erase(it);
            } else {
                ++it;
            }
        }
    });
    const sw::DelayEstimate e = sw::EstimateDelay(offsets);
    return e.verdict == sw::DelayEstimate::Verdict::Fitted ? e.ms : NAN;
}

struct Stats {
    std::vector<double> v;
    void Print(const char* what) {
        std::sort(v.begin(), v.end());
        double sum = 0;
        for (double e : v) sum += e;
        const size_t n = v.size();
        auto pct = [&](double p) { return n ? v[std::min(n - 1, static_cast<size_t>(p * static_cast<double>(n)))] : 0.0; };
        std::printf("  %-40s n=%5zu  mean %7.2f  p1 %7.2f  p50 %7.2f  p99 %7.2f ms\n", what, n, n ? sum / static_cast<double>(n) : 0.0,
                    pct(0.01), pct(0.5), pct(0.99));
    }
};

// Swings judged with no delay and with `delayMs`: the signed errors.
void Swings(std::mt19937& rng, int pitches, int delayMs, Stats& before, Stats& after) {
    Device d;
    std::uniform_real_distribution<double> unit(0, 1);
    const WaveData ramp = Ramp();
    for (int pitch = 0; pitch < pitches; ++pitch) {
        d.RunTo(d.clock.t + 0.2 + 0.3 * unit(rng), [](double) {});
        auto buffer = d.mixer.CreateSoundBuffer(ramp);
        buffer->SetFrequency(11026);
        const size_t firstFrame = d.left.size();
        std::vector<uint32_t> speedAt;  // the buffer's rate at each output frame from firstFrame
        buffer->Play(sw::host::kPlayOnce);
        struct Key {
            double time, query;
            double judged[2] = {-1, -1};
        };
        std::vector<Key> keys;
        for (double k = d.clock.t + 0.08;;) {
            k += -0.04 * std::log(1 - unit(rng));
            if (k > d.clock.t + 2.0) break;
            keys.push_back({k, k + 0.0002 + 0.008 * unit(rng)});
        }
        int changes = 0;
        bool finished = false;
        const double until = d.clock.t + 2.5;
        d.RunTo(until, [&](double t) {
            while (speedAt.size() + firstFrame < d.left.size()) speedAt.push_back(buffer->GetFrequency());
            for (Key& k : keys)
                if (k.judged[0] < 0 && k.query <= t && !finished) {
                    k.judged[0] = buffer->GetPositionAt(k.time) / 2.0;
                    k.judged[1] = buffer->GetPositionAt(k.time - delayMs / 1000.0) / 2.0;
                }
            if (finished) return;
            const double percent = buffer->GetCurrentPosition() / 2.0 * 100 / kPitchFrames;
            if (changes < 3 && percent > 25.0 * (changes + 1)) {
                ++changes;
                buffer->SetFrequency(kSpeeds[rng() % 5]);
            }
            if (buffer->GetStatus() == sw::host::kStatusStopped) finished = true;
        });
        // The sound's frames in the output: from its first to its last non-zero one.
        size_t first = firstFrame, last = d.left.size();
        while (first < last && d.left[first] == 0.0f) ++first;
        while (last > first && d.left[last - 1] == 0.0f) --last;
        for (const Key& k : keys) {
            const double m = (k.time - kTrue) * kRate;
            if (k.judged[1] < 0 || m < static_cast<double>(first) || m + 1 >= static_cast<double>(last)) continue;
            const auto i = static_cast<size_t>(m);
            const double heard = DecodeFrame(d.left[i]) + (DecodeFrame(d.left[i + 1]) - DecodeFrame(d.left[i])) * (m - i);
            const double speed = speedAt.at(i - firstFrame);
            // Keys whose delayed moment falls before the sound began judge its start.
            if (heard < 1) continue;
            before.v.push_back((k.judged[0] - heard) / speed * 1000);
            after.v.push_back((k.judged[1] - heard) / speed * 1000);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int calibrations = argc > 1 ? std::max(1, std::atoi(argv[1])) : 400;
    const int pitches = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;
    const double scatterMs = argc > 3 ? std::atof(argv[3]) : 15;
    std::printf("sound delay: heard %.1f ms after a period's time, the mixer assumes %.1f ms (short by %.1f ms)\n",
                kTrue * 1000, kAssumed * 1000, (kTrue - kAssumed) * 1000);
    std::mt19937 rng(19);
    Stats estimates;
    int unfit = 0, within5 = 0;
    for (int i = 0; i < calibrations; ++i) {
        const double ms = Calibrate(rng, scatterMs);
        if (std::isnan(ms)) {
            ++unfit;
            continue;
        }
        estimates.v.push_back(ms);
        within5 += std::fabs(ms - (kTrue - kAssumed) * 1000) <= 5;
    }
    std::printf("%d calibrations, presses scattered %.0f ms (sd): %d not fitted, %d of %zu within 5 ms of the truth\n",
                calibrations, scatterMs, unfit, within5, estimates.v.size());
    estimates.Print("estimated delay");
    const int delay = estimates.v.empty() ? 0 : static_cast<int>(std::lround(estimates.v[estimates.v.size() / 2]));
    Stats before, after;
    Swings(rng, pitches, delay, before, after);
    std::printf("swing error over %d pitches (judged minus heard):\n", pitches);
    before.Print("no delay set (before)");
    char what[64];
    std::snprintf(what, sizeof what, "delay %d ms, the median estimate (after)", delay);
    after.Print(what);
    return 0;
}
