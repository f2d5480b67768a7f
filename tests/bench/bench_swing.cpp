// Swing-judgement error of the play cursor.
//
// A simulated sound device pulls 512-frame periods from the real Mixer at
// jittered callback times, while the stream it plays is consumed at exactly
// 48000 Hz and heard a known latency after each period's nominal time. A game
// loop polls about every millisecond and plays pitch sounds as the game does:
// 11026 Hz at the start, three speed changes (8000..14000 Hz) at 25, 50 and
// 75 percent. Key presses fall at random times; each is looked up a few
// milliseconds later with GetPositionAt(key time), as the event loop does.
//
// The truth comes from the rendered audio itself: the pitch buffer holds a
// ramp, so each output frame tells which source position was playing in it.
// The error is the difference between the judged and the heard position,
// expressed as time of the sound at the speed it was playing.
//
// Everything runs on a virtual clock in one thread, so the figures are exact
// and repeatable. Usage: bench_swing [pitches]
#include "host/real/mixer.h"
#include "pitch_ramp.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
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

constexpr double kLatency = 2 * kPeriodSeconds;  // what the device adds after a period's nominal time

struct Stats {
    std::vector<double> errors;  // milliseconds
    void Add(double ms) { errors.push_back(ms); }
    void Print(const char* what) {
        std::sort(errors.begin(), errors.end());
        double sum = 0;
        for (double e : errors) sum += e;
        const size_t n = errors.size();
        auto pct = [&](double p) { return n ? errors[std::min(n - 1, static_cast<size_t>(p * static_cast<double>(n)))] : 0.0; };
        std::printf("  %-34s n=%5zu  mean %.3f ms  p50 %.3f ms  p99 %.3f ms  max %.3f ms\n", what, n, n ? sum / static_cast<double>(n) : 0.0,
                    pct(0.5), pct(0.99), n ? errors.back() : 0.0);
    }
};

struct Profile {
    const char* name;
    std::function<double(std::mt19937&)> jitter;  // seconds added to a callback's nominal time
};

struct Key {
    double time;   // the key-down time stamp
    double query;  // when the game loop gets to it
    double judged = -1;  // frames
};

void Run(const Profile& profile, int pitches, unsigned seed) {
    VirtualClock clock;
    Mixer mixer(clock, kRate);
    mixer.SetOutputLatency(kLatency);
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> unit(0, 1);
    const WaveData ramp = Ramp();

    std::vector<float> block(2 * kPeriod);
    long period = 0;  // index of the next device period
    double nextCallback = profile.jitter(rng);
    double lastCallback = -1;
    double nextPoll = 0.001;

    Stats keyErrors, pollErrors;

    for (int pitch = 0; pitch < pitches; ++pitch) {
        // Idle between pitches, the device running on.
        const double startAt = clock.t + 0.2 + 0.3 * unit(rng);

        std::unique_ptr<SoundBuffer> buffer;
        std::vector<float> heard;          // output frames from periodBase on
        std::vector<uint32_t> heardSpeed;  // the buffer's frequency when each frame was rendered
        long periodBase = -1;
        std::vector<Key> keys;
        std::vector<std::pair<double, double>> polls;  // time, cursor frames
        size_t nextKey = 0;
        int changes = 0;
        bool finished = false;

        while (!finished || nextKey < keys.size()) {
            const double nextQuery = nextKey < keys.size() ? keys[nextKey].query : 1e300;
            const double t = std::min({nextCallback, nextPoll, nextQuery});
            clock.t = t;
            if (t == nextCallback) {
                mixer.RenderFloat(block.data(), kPeriod, t);
                const uint32_t hz = buffer ? buffer->GetFrequency() : 0;
                if (periodBase >= 0) {
                    for (int i = 0; i < kPeriod; ++i) {
                        heard.push_back(block[2 * static_cast<size_t>(i)]);
                        heardSpeed.push_back(hz);
                    }
                }
                lastCallback = t;
                ++period;
                // The callback is due once the device has room for a period;
                // scheduling delays it by the jitter, and callbacks stay in order.
                nextCallback = std::max(period * kPeriodSeconds + profile.jitter(rng), lastCallback + 1e-6);
            } else if (t == nextQuery) {
                keys[nextKey].judged = buffer->GetPositionAt(keys[nextKey].time) / 2.0;
                ++nextKey;
            } else {
                nextPoll = t + 0.001 + 0.0003 * unit(rng);
                if (!buffer && t >= startAt) {
                    buffer = mixer.CreateSoundBuffer(ramp);
                    buffer->SetCurrentPosition(0);
                    buffer->SetFrequency(11026);
                    buffer->Play(sw::host::kPlayOnce);
                    // Everything rendered from the next period on is recorded.
                    periodBase = period;
                    // Key presses as a random stream over the whole pitch.
                    double k = t;
                    for (;;) {
                        k += -0.04 * std::log(1 - unit(rng));
                        if (k > t + 3.0) break;
                        keys.push_back(Key{k, k + 0.0002 + 0.008 * unit(rng)});
                    }
                } else if (buffer && !finished) {
                    const double frames = buffer->GetCurrentPosition() / 2.0;
                    polls.emplace_back(t, frames);
                    const double percent = frames * 100.0 / kPitchFrames;
                    if (changes < 3 && percent > 25.0 * (changes + 1)) {
                        ++changes;
                        buffer->SetFrequency(kSpeeds[rng() % 5]);
                    }
                    if (buffer->GetStatus() == sw::host::kStatusStopped) {
                        finished = true;
                        // Keys after the end of the sound judge nothing.
                        while (!keys.empty() && keys.back().time > t) keys.pop_back();
                        nextKey = std::min(nextKey, keys.size());
                    }
                }
            }
        }

        // Truth: output frame m of the recording is heard from
        // (periodBase * period + m) / rate + latency on.
        const double recordStart = periodBase * kPeriodSeconds + kLatency;
        // The sound occupies the recording from its first to its last non-zero
        // frame (the ramp starts at full negative scale and ends near full
        // positive scale; silence is exactly zero).
        size_t first = 0, last = heard.size();
        while (first < heard.size() && heard[first] == 0.0f) ++first;
        while (last > first && heard[last - 1] == 0.0f) --last;
        auto truth = [&](double t, double& frames, double& speed) {
            const double m = (t - recordStart) * kRate;
            if (m < static_cast<double>(first) || m + 1 >= static_cast<double>(last)) return false;
            const auto i = static_cast<size_t>(m);
            const double a = DecodeFrame(heard[i]), b = DecodeFrame(heard[i + 1]);
            frames = a + (b - a) * (m - static_cast<double>(i));
            speed = heardSpeed[i];
            return true;
        };
        for (const Key& k : keys) {
            double frames, speed;
            if (k.judged >= 0 && truth(k.time, frames, speed)) keyErrors.Add(std::fabs(k.judged - frames) / speed * 1000);
        }
        for (const auto& [t, judged] : polls) {
            double frames, speed;
            if (truth(t, frames, speed)) pollErrors.Add(std::fabs(judged - frames) / speed * 1000);
        }
    }
    std::printf("%s\n", profile.name);
    keyErrors.Print("GetPositionAt(key time stamp)");
    pollErrors.Print("GetCurrentPosition (game polls)");
}

}  // namespace

int main(int argc, char** argv) {
    const int pitches = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    std::printf("swing judgement error: %d pitches, 512-frame periods at 48000 Hz, latency %.1f ms\n", pitches,
                kLatency * 1000);
    const Profile profiles[] = {
        {"callbacks exactly on time", [](std::mt19937&) { return 0.0; }},
        {"late wake-ups: exponential, mean 0.5 ms, 2% late by 2-6 ms",
         [](std::mt19937& rng) {
             std::uniform_real_distribution<double> unit(0, 1);
             double j = -0.0005 * std::log(1 - unit(rng));
             if (unit(rng) < 0.02) j += 0.002 + 0.004 * unit(rng);
             return std::min(j, 0.008);
         }},
        {"uniform -2..+2 ms around the nominal time",
         [](std::mt19937& rng) { return std::uniform_real_distribution<double>(-0.002, 0.002)(rng); }},
    };
    unsigned seed = 1;
    for (const auto& p : profiles) Run(p, pitches, seed++);
    return 0;
}
