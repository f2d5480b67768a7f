#include "host/real/audio_device.h"
#include "host/real/mixer.h"
#include "host/real/steady_clock.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <numbers>
#include <random>
#include <thread>
#include <vector>

namespace sw::host::real {
namespace {

constexpr int kRate = 48000;

class FakeClock : public Clock {
public:
    double now() const override { return t.load(); }
    std::atomic<double> t{0};
};

// A wave whose sample for (frame, channel) comes from `value` (full scale 1.0).
WaveData MakeWave(int channels, int bits, uint32_t rate, int frames, const std::function<double(int, int)>& value) {
    WaveData w;
    w.channels = static_cast<uint16_t>(channels);
    w.bitsPerSample = static_cast<uint16_t>(bits);
    w.blockAlign = static_cast<uint16_t>(channels * bits / 8);
    w.sampleRate = rate;
    for (int f = 0; f < frames; ++f) {
        for (int c = 0; c < channels; ++c) {
            const double v = value(f, c);
            if (bits == 8) {
                w.bytes.push_back(static_cast<uint8_t>(std::lround(128 + v * 128)));
            } else {
                const auto s = static_cast<int16_t>(std::lround(v * 32768));
                w.bytes.push_back(static_cast<uint8_t>(s & 0xff));
                w.bytes.push_back(static_cast<uint8_t>((s >> 8) & 0xff));
            }
        }
    }
    return w;
}

WaveData Constant(double v, int frames = 20000, uint32_t rate = 11025) {
    return MakeWave(1, 16, rate, frames, [v](int, int) { return v; });
}

// A mixer driven by the test: each Step renders and advances the clock by
// exactly the rendered time, as a device without jitter would.
struct Rig {
    FakeClock clock;
    Mixer mixer{clock, kRate};
    std::vector<float> out;

    const std::vector<float>& Step(double seconds) {
        const int frames = static_cast<int>(std::lround(seconds * kRate));
        out.assign(2 * static_cast<size_t>(frames), 0.0f);
        mixer.RenderFloat(out.data(), frames, clock.t);
        clock.t = clock.t + static_cast<double>(frames) / kRate;
        return out;
    }
    float Left(size_t frame) const { return out[2 * frame]; }
    float Right(size_t frame) const { return out[2 * frame + 1]; }
    double Peak() const {
        double p = 0;
        for (float s : out) p = std::max(p, static_cast<double>(std::fabs(s)));
        return p;
    }
};

double Db(double ratio) { return 20 * std::log10(ratio); }

// 10^(attenuation/2000), and silence at -10000 or below.
double Expected(int attenuation) { return attenuation <= -10000 ? 0.0 : std::pow(10.0, attenuation / 2000.0); }

TEST(MixerGains, FollowTheVolumeAndPanFormulasWithinATenthOfADecibel) {
    const int volumes[] = {0, -600, -1200, -3000, -6000, -9999, -10000};
    const int pans[] = {-10000, -5000, -333, 0, 333, 5000, 10000};
    Rig rig;
    for (int volume : volumes) {
        for (int pan : pans) {
            auto buffer = rig.mixer.CreateSoundBuffer(Constant(0.5));
            buffer->SetVolume(volume);
            buffer->SetPan(pan);
            buffer->Play(kPlayLooping);
            rig.Step(0.005);
            const double wantL = 0.5 * Expected(volume - std::max(pan, 0));
            const double wantR = 0.5 * Expected(volume + std::min(pan, 0));
            for (size_t f = 0; f < rig.out.size() / 2; f += 37) {
                const double l = rig.Left(f), r = rig.Right(f);
                SCOPED_TRACE(testing::Message() << "volume " << volume << " pan " << pan << " frame " << f);
                if (wantL == 0) EXPECT_EQ(l, 0.0); else EXPECT_NEAR(Db(l / wantL), 0.0, 0.1);
                if (wantR == 0) EXPECT_EQ(r, 0.0); else EXPECT_NEAR(Db(r / wantR), 0.0, 0.1);
            }
        }
    }
}

TEST(MixerGains, ClampsVolumeAndPanAndNeverAmplifies) {
    Rig rig;
    auto buffer = rig.mixer.CreateSoundBuffer(Constant(0.5));
    buffer->SetVolume(3000);
    buffer->SetPan(-20000);  // as far left as it goes: the right channel is silent
    buffer->Play(kPlayLooping);
    rig.Step(0.002);
    EXPECT_NEAR(rig.Left(10), 0.5, 1e-4);
    EXPECT_EQ(rig.Right(10), 0.0f);
    buffer->SetVolume(-20000);
    buffer->SetPan(0);
    rig.Step(0.01);  // the change is ramped over a few milliseconds
    rig.Step(0.01);
    EXPECT_EQ(rig.Peak(), 0.0);
}

TEST(MixerGains, StereoMapsLeftAndRightAndEightBitIsCentredOn128) {
    Rig rig;
    auto stereo = rig.mixer.CreateSoundBuffer(MakeWave(2, 16, 22050, 4000, [](int, int c) { return c == 0 ? 0.25 : -0.5; }));
    stereo->SetPan(5000);
    stereo->Play(kPlayOnce);
    rig.Step(0.002);
    EXPECT_NEAR(rig.Left(20), 0.25 * Expected(-5000), 1e-5);
    EXPECT_NEAR(rig.Right(20), -0.5, 1e-5);
    stereo.reset();

    auto eight = rig.mixer.CreateSoundBuffer(MakeWave(1, 8, 11025, 4000, [](int, int) { return 0.5; }));
    eight->Play(kPlayOnce);
    rig.Step(0.002);
    EXPECT_NEAR(rig.Left(20), 0.5, 1e-4);
    EXPECT_NEAR(rig.Right(20), 0.5, 1e-4);
}

TEST(MixerGains, IntegerRenderClipsAndRoundsToSixteenBits) {
    FakeClock clock;
    Mixer mixer(clock, kRate);
    auto a = mixer.CreateSoundBuffer(Constant(0.75));
    auto b = mixer.CreateSoundBuffer(Constant(0.75));
    a->Play(kPlayLooping);
    b->Play(kPlayLooping);
    std::vector<int16_t> out(2 * 512);
    mixer.Render(out.data(), 256, 0);
    EXPECT_EQ(out[100], 32767);
    b->SetVolume(-10000);
    mixer.Render(out.data(), 512, 256.0 / kRate);
    EXPECT_EQ(out[1000], 24576);
}

TEST(MixerCursor, FrequencyChangeChangesOnlyTheSpeed) {
    Rig rig;
    auto buffer = rig.mixer.CreateSoundBuffer(Constant(0.5, 40000, 11025));
    EXPECT_EQ(buffer->GetFrequency(), 11025u);
    buffer->Play(kPlayOnce);
    rig.Step(0.1);
    const double levelBefore = rig.Left(100);
    const uint32_t before = buffer->GetCurrentPosition();
    EXPECT_NEAR(before, 2 * 1102.5, 4);
    buffer->SetFrequency(22050);
    EXPECT_EQ(buffer->GetFrequency(), 22050u);
    EXPECT_EQ(buffer->GetCurrentPosition(), before);  // no jump at the change
    rig.Step(0.1);
    EXPECT_NEAR(buffer->GetCurrentPosition() - before, 2 * 2205.0, 4);
    EXPECT_EQ(rig.Left(100), levelBefore);
    EXPECT_EQ(rig.Right(100), levelBefore);

    buffer->SetFrequency(1);
    EXPECT_EQ(buffer->GetFrequency(), 100u);
    buffer->SetFrequency(1000000);
    EXPECT_EQ(buffer->GetFrequency(), 200000u);
}

TEST(MixerCursor, FrequencyChangeKeepsTheWaveformContinuous) {
    Rig rig;
    constexpr double kTone = 441.0, kAmp = 0.5;
    auto buffer = rig.mixer.CreateSoundBuffer(MakeWave(1, 16, 11025, 11025, [&](int f, int) {
        return kAmp * std::sin(2 * std::numbers::pi * kTone * f / 11025.0);
    }));
    buffer->Play(kPlayLooping);
    std::vector<float> all;
    for (uint32_t hz : {11025u, 14000u, 8000u, 12500u}) {
        buffer->SetFrequency(hz);
        rig.Step(0.0107);
        all.insert(all.end(), rig.out.begin(), rig.out.end());
    }
    // The steepest slope of the fastest tone bounds every step between frames;
    // a phase jump at a change would be far larger.
    const double maxStep = 2 * std::numbers::pi * kTone * (14000.0 / 11025.0) / kRate * kAmp * 1.1;
    for (size_t i = 2; i < all.size(); i += 2) EXPECT_LE(std::fabs(all[i] - all[i - 2]), maxStep) << "frame " << i / 2;
}

TEST(MixerCursor, LoopingWrapsAndOneShotStopsAtTheEnd) {
    Rig rig;
    auto loop = rig.mixer.CreateSoundBuffer(Constant(0.5, 1000, 10000));  // 0.1 s
    loop->Play(kPlayLooping);
    EXPECT_EQ(loop->GetStatus(), kStatusLooping);
    rig.Step(0.25);
    EXPECT_EQ(loop->GetStatus(), kStatusLooping);
    EXPECT_NEAR(loop->GetCurrentPosition(), 2 * 500, 4);
    EXPECT_NEAR(rig.Left(rig.out.size() / 2 - 1), 0.5, 1e-4);
    loop.reset();

    auto once = rig.mixer.CreateSoundBuffer(Constant(0.5, 1000, 10000));
    once->Play(kPlayOnce);
    EXPECT_EQ(once->GetStatus(), kStatusPlaying);
    rig.Step(0.05);
    EXPECT_EQ(once->GetStatus(), kStatusPlaying);
    rig.Step(0.06);
    EXPECT_EQ(once->GetStatus(), kStatusStopped);
    EXPECT_EQ(once->GetCurrentPosition(), once->DataBytes());
    EXPECT_EQ(rig.Left(rig.out.size() / 2 - 1), 0.0f);  // silent after the end
    // Played again, a finished one-shot starts from the beginning.
    once->Play(kPlayOnce);
    EXPECT_EQ(once->GetCurrentPosition(), 0u);
    rig.Step(0.02);
    EXPECT_NEAR(once->GetCurrentPosition(), 2 * 200, 4);
}

TEST(MixerCursor, OneShotEndIsReportedWhenItIsHeard) {
    Rig rig;
    rig.mixer.SetOutputLatency(0.05);
    auto once = rig.mixer.CreateSoundBuffer(Constant(0.5, 1000, 10000));  // 0.1 s
    once->Play(kPlayOnce);
    rig.Step(0.12);  // everything rendered; heard from 0.05 to 0.15
    EXPECT_EQ(once->GetStatus(), kStatusPlaying);
    EXPECT_NEAR(once->GetCurrentPosition(), 2 * 700, 4);
    rig.clock.t = 0.151;
    EXPECT_EQ(once->GetStatus(), kStatusStopped);
    EXPECT_EQ(once->GetCurrentPosition(), once->DataBytes());
}

TEST(MixerCursor, StopKeepsTheHeardPositionAndPlayResumesFromIt) {
    Rig rig;
    rig.mixer.SetOutputLatency(0.02);
    auto buffer = rig.mixer.CreateSoundBuffer(Constant(0.5, 20000, 10000));
    buffer->Play(kPlayOnce);
    rig.Step(0.1);  // heard: 0.02 .. 0.1 → 800 frames
    buffer->Stop();
    EXPECT_EQ(buffer->GetStatus(), kStatusStopped);
    const uint32_t stopped = buffer->GetCurrentPosition();
    EXPECT_NEAR(stopped, 2 * 800, 4);
    rig.Step(0.1);
    EXPECT_EQ(buffer->GetCurrentPosition(), stopped);
    EXPECT_EQ(rig.Peak(), 0.0);
    buffer->Play(kPlayOnce);
    EXPECT_EQ(buffer->GetCurrentPosition(), stopped);  // not heard again yet
    rig.Step(0.1);
    EXPECT_NEAR(buffer->GetCurrentPosition(), stopped + 2 * 800, 4);
}

TEST(MixerCursor, SetCurrentPositionTakesEffectAtOnceAlignedAndClamped) {
    Rig rig;
    auto buffer = rig.mixer.CreateSoundBuffer(MakeWave(2, 16, 10000, 5000, [](int, int) { return 0.1; }));
    buffer->Play(kPlayOnce);
    rig.Step(0.05);
    buffer->SetCurrentPosition(8003);
    EXPECT_EQ(buffer->GetCurrentPosition(), 8000u);
    rig.Step(0.01);
    EXPECT_NEAR(buffer->GetCurrentPosition(), 8000 + 4 * 100, 8);
    buffer->SetCurrentPosition(1u << 30);
    EXPECT_EQ(buffer->GetCurrentPosition(), buffer->DataBytes());
    rig.Step(0.01);
    EXPECT_EQ(buffer->GetStatus(), kStatusStopped);
}

TEST(MixerCursor, InterpolatesBetweenRendersAndCorrectsForLatency) {
    Rig rig;
    rig.mixer.SetOutputLatency(0.03);
    auto buffer = rig.mixer.CreateSoundBuffer(Constant(0.5, 40000, 10000));
    buffer->Play(kPlayOnce);
    rig.Step(512.0 / kRate);
    EXPECT_EQ(buffer->GetCurrentPosition(), 0u);  // nothing heard yet
    for (int ms = 31; ms < 40; ++ms) {
        rig.clock.t = ms / 1000.0;
        EXPECT_NEAR(buffer->GetCurrentPosition(), 2 * 10.0 * (ms - 30), 2.0) << ms << " ms";
    }
}

TEST(MixerCursor, PositionAtAPastTimeAccountsForSpeedChangesSince) {
    Rig rig;
    auto buffer = rig.mixer.CreateSoundBuffer(Constant(0.5, 40000, 10000));
    buffer->Play(kPlayOnce);
    rig.Step(0.1);
    buffer->SetFrequency(20000);
    rig.Step(0.1);
    buffer->SetFrequency(5000);
    rig.Step(0.1);
    EXPECT_NEAR(buffer->GetPositionAt(0.05), 2 * 500, 4);
    EXPECT_NEAR(buffer->GetPositionAt(0.15), 2 * 2000, 4);
    EXPECT_NEAR(buffer->GetPositionAt(0.25), 2 * 3250, 4);
    EXPECT_NEAR(buffer->GetCurrentPosition(), 2 * 3500, 4);
    // Before the sound started: the start position.
    EXPECT_EQ(buffer->GetPositionAt(-1.0), 0u);
}

TEST(MixerCursor, NeverRunsBackwardsUnderJitteredCallbacks) {
    FakeClock clock;
    Mixer mixer(clock, kRate);
    mixer.SetOutputLatency(0.021);
    auto buffer = mixer.CreateSoundBuffer(Constant(0.5, 60000, 11025));
    buffer->Play(kPlayOnce);
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> jitter(0, 0.003);
    std::vector<int16_t> out(1024);
    const double period = 512.0 / kRate;
    uint32_t last = 0;
    double nextCallback = 0;
    for (int tick = 0; tick < 4000; ++tick) {
        const double t = tick * 0.0005;
        if (t >= nextCallback) {
            mixer.Render(out.data(), 512, t);
            nextCallback = (std::floor(t / period) + 1) * period + jitter(rng);
            if (tick % 500 == 0) buffer->SetFrequency(8000 + static_cast<uint32_t>(rng() % 6000));
        }
        clock.t = t;
        const uint32_t pos = buffer->GetCurrentPosition();
        ASSERT_GE(pos, last) << "at " << t;
        last = pos;
    }
}

TEST(MixerBuffers, AReleasedBufferFallsSilentAtOnce) {
    Rig rig;
    auto buffer = rig.mixer.CreateSoundBuffer(Constant(0.5));
    buffer->Play(kPlayLooping);
    rig.Step(0.01);
    EXPECT_GT(rig.Peak(), 0.4);
    buffer.reset();
    rig.Step(0.01);
    EXPECT_EQ(rig.Peak(), 0.0);
}

TEST(MixerBuffers, RejectsAWaveWithoutSound) {
    Rig rig;
    EXPECT_THROW(rig.mixer.CreateSoundBuffer(Constant(0.5, 0)), HostError);
    EXPECT_THROW(rig.mixer.CreateSoundBufferFromFile("/nonexistent/none.wav"), HostError);
}

TEST(MixerBuffers, BeepIsAShortAudibleTone) {
    Rig rig;
    rig.mixer.Beep();
    rig.Step(0.16);
    EXPECT_GT(rig.Peak(), 0.1);
    EXPECT_LT(rig.Peak(), 0.6);
    rig.Step(0.05);
    EXPECT_EQ(rig.Peak(), 0.0);
}

TEST(MixerBuffers, SurvivesUseFromTheGameThreadWhileTheAudioThreadRenders) {
    SteadyClock clock;
    Mixer mixer(clock, kRate);
    std::atomic<bool> stop{false};
    std::thread audio([&] {
        std::vector<int16_t> out(2 * 256);
        while (!stop) {
            mixer.Render(out.data(), 256, clock.now());
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(150);
    int i = 0;
    while (std::chrono::steady_clock::now() < until) {
        auto b = mixer.CreateSoundBuffer(Constant(0.1, 300, 11025));
        b->Play(i % 2 ? kPlayLooping : kPlayOnce);
        b->SetFrequency(8000 + static_cast<uint32_t>(i % 7) * 1000);
        b->SetPan(i * 100 % 20000 - 10000);
        (void)b->GetCurrentPosition();
        b->SetCurrentPosition(static_cast<uint32_t>(i % 600));
        std::this_thread::sleep_for(std::chrono::microseconds(300));
        b->Stop();
        (void)b->GetStatus();
        ++i;
    }
    stop = true;
    audio.join();
    EXPECT_GT(i, 10);
}

// Speech channel.

std::vector<int16_t> SpeechSamples(int count, int16_t value) { return std::vector<int16_t>(static_cast<size_t>(count), value); }

TEST(MixerSpeech, PlaysAtTheEngineRateAndStaysPendingUntilHeard) {
    Rig rig;
    rig.mixer.SetOutputLatency(0.05);
    const auto s = SpeechSamples(22050, 16384);  // one second at 22050 Hz
    rig.mixer.SpeechAppend(s.data(), s.size(), 22050);
    EXPECT_TRUE(rig.mixer.SpeechPending());
    rig.Step(0.5);
    EXPECT_NEAR(rig.Left(1000), 0.5, 1e-4);
    EXPECT_EQ(rig.Left(1000), rig.Right(1000));
    EXPECT_EQ(rig.mixer.SpeechFirstRenderTime(), 0.0);
    rig.mixer.SpeechSetGain(0.5);
    rig.Step(0.49);
    EXPECT_NEAR(rig.Left(1000), 0.25, 1e-4);
    EXPECT_TRUE(rig.mixer.SpeechPending());
    rig.Step(0.02);  // the last sample is rendered ...
    EXPECT_TRUE(rig.mixer.SpeechPending());
    rig.clock.t = rig.clock.t + 0.05;  // ... and heard one latency later
    EXPECT_FALSE(rig.mixer.SpeechPending());
}

TEST(MixerSpeech, PurgeIsImmediate) {
    Rig rig;
    const auto s = SpeechSamples(22050, 16384);
    rig.mixer.SpeechAppend(s.data(), s.size(), 22050);
    rig.Step(0.1);
    rig.mixer.SpeechPurge();
    EXPECT_FALSE(rig.mixer.SpeechPending());
    EXPECT_LT(rig.mixer.SpeechFirstRenderTime(), 0);
    rig.Step(0.1);
    EXPECT_EQ(rig.Peak(), 0.0);
    // The next text starts cleanly and records when it was first taken.
    rig.mixer.SpeechAppend(s.data(), 100, 22050);
    const double t = rig.clock.t;
    rig.Step(0.01);
    EXPECT_DOUBLE_EQ(rig.mixer.SpeechFirstRenderTime(), t);
    EXPECT_GT(rig.Peak(), 0.4);
    rig.Step(0.01);
    EXPECT_FALSE(rig.mixer.SpeechPending());
}

// Channel modes.

// A fixed scene through the integer render: a looping mono voice panned
// left, a stereo one-shot panned right whose rate and pan change mid-way, an
// 8-bit voice hard left, and speech over them.
std::vector<int16_t> RenderScene(ChannelMode mode, bool setMode = true) {
    FakeClock clock;
    Mixer mixer(clock, kRate);
    if (setMode) mixer.SetChannelMode(mode);
    auto ball = mixer.CreateSoundBuffer(
        MakeWave(1, 16, 11025, 3000, [](int f, int) { return 0.4 * std::sin(2 * std::numbers::pi * 440 * f / 11025.0); }));
    ball->SetPan(-2500);
    ball->Play(kPlayLooping);
    auto duo = mixer.CreateSoundBuffer(MakeWave(2, 16, 22050, 6000, [](int f, int c) {
        return c == 0 ? 0.3 * std::sin(f * 0.05) : 0.2 * std::cos(f * 0.013);
    }));
    duo->SetVolume(-600);
    duo->SetPan(3000);
    duo->Play(kPlayOnce);
    auto eight = mixer.CreateSoundBuffer(MakeWave(1, 8, 8000, 900, [](int f, int) { return (f % 40) / 50.0 - 0.4; }));
    eight->SetPan(-10000);
    eight->Play(kPlayLooping);
    const auto words = SpeechSamples(4000, 9000);
    mixer.SpeechAppend(words.data(), words.size(), 22050);
    std::vector<int16_t> all(2 * 700 * 12);
    for (int call = 0; call < 12; ++call) {
        if (call == 5) {
            duo->SetFrequency(30000);
            duo->SetPan(-1200);
            ball->SetPan(2500);
        }
        mixer.Render(all.data() + 2 * 700 * call, 700, clock.t);
        clock.t = clock.t + 700.0 / kRate;
    }
    return all;
}

TEST(MixerChannels, StereoIsTheMixAsItWasAndTheOthersCarryEachVoiceAtItsLouderGain) {
    // FNV-1a of the scene as the mixer rendered it before it had modes.
    uint64_t h = 14695981039346656037ull;
    for (int16_t s : RenderScene(ChannelMode::Stereo, false)) h = (h ^ static_cast<uint16_t>(s)) * 1099511628211ull;
    EXPECT_EQ(h, 17728741342091386094ull);
    EXPECT_EQ(RenderScene(ChannelMode::Stereo), RenderScene(ChannelMode::Stereo, false));

    const auto both = RenderScene(ChannelMode::Mono);
    const auto leftOnly = RenderScene(ChannelMode::Left), rightOnly = RenderScene(ChannelMode::Right);
    for (size_t i = 0; i < both.size(); i += 2) {
        SCOPED_TRACE(i / 2);
        ASSERT_EQ(both[i], both[i + 1]);
        ASSERT_EQ(leftOnly[i], both[i]);
        ASSERT_EQ(leftOnly[i + 1], 0);
        ASSERT_EQ(rightOnly[i], 0);
        ASSERT_EQ(rightOnly[i + 1], both[i]);
    }
    // Not a downmix of the mix: panning leaves the level where it was.
    Rig rig;
    rig.mixer.SetChannelMode(ChannelMode::Mono);
    auto buffer = rig.mixer.CreateSoundBuffer(Constant(0.5));
    buffer->Play(kPlayLooping);
    for (int pan : {-2500, 0, 2500}) {
        buffer->SetPan(pan);
        rig.Step(0.01);
        EXPECT_NEAR(rig.Left(400), 0.5, 1e-5) << pan;
    }
}

TEST(MixerChannels, ToneIsASineAtItsOwnRateTwentyDecibelsUnderFullScale) {
    Rig rig;
    auto tone = rig.mixer.CreateTone(440);
    tone->Play(kPlayLooping);
    const auto& out = rig.Step(0.5);
    int crossings = 0;
    double energy = 0;
    for (size_t f = 1; f < out.size() / 2; ++f) {
        crossings += out[2 * (f - 1)] < 0 && out[2 * f] >= 0;
        energy += out[2 * f] * out[2 * f];
    }
    EXPECT_NEAR(crossings, 220, 1);
    EXPECT_NEAR(Db(std::sqrt(energy / (out.size() / 2.0))), -20.0, 0.1);
}

TEST(MixerChannels, ClickLoopSoundsOnceAPeriodAtItsStart) {
    Rig rig;
    auto click = rig.mixer.CreateClick(250);
    EXPECT_EQ(click->DataBytes(), 2u * 48 * 250);
    click->Play(kPlayLooping);
    const auto& out = rig.Step(1.0);
    std::vector<size_t> onsets;
    size_t quietSince = 0;
    for (size_t f = 0; f < out.size() / 2; ++f) {
        if (std::fabs(out[2 * f]) < 1e-4) continue;
        if (onsets.empty() || f - quietSince > 100) onsets.push_back(f);
        quietSince = f;
    }
    ASSERT_EQ(onsets.size(), 4u);
    for (size_t i = 0; i < 4; ++i) EXPECT_NEAR(static_cast<double>(onsets[i]), i * kRate / 4.0, 2) << i;
}

// The device.

TEST(AudioDeviceTest, PlaysThroughSdlOrFallsBackToSilentRealTime) {
    for (const char* driver : {"dummy", "no-such-driver"}) {
        SCOPED_TRACE(driver);
        SDL_setenv("SDL_AUDIODRIVER", driver, 1);
        SteadyClock clock;
        Mixer mixer(clock, kRate);
        AudioDevice device(mixer);
        testing::internal::CaptureStderr();
        const bool opened = device.Open();
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(opened, std::string(driver) == "dummy");
        EXPECT_EQ(said.empty(), opened) << said;
        if (!opened) {
            EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1);
        }

        auto buffer = mixer.CreateSoundBuffer(Constant(0.5, 1102, 11025));  // 0.1 s
        buffer->Play(kPlayOnce);
        const auto start = std::chrono::steady_clock::now();
        while (buffer->GetStatus() != kStatusStopped &&
               std::chrono::steady_clock::now() - start < std::chrono::seconds(2)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_EQ(buffer->GetStatus(), kStatusStopped);
        EXPECT_GT(took, 0.09);  // real time, not faster
        EXPECT_LT(took, 1.0);
        device.Close();
    }
    SDL_setenv("SDL_AUDIODRIVER", "", 1);  // (empty: SDL chooses)
}

}  // namespace
}  // namespace sw::host::real
