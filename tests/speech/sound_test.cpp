// Effects, the overlay, the drums and the crowd's random life.
#include "speech/waves.h"
#include "support/stack.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace sw {
namespace {

using test::Stack;

double Length(const host::sim::SimHost& sim, const std::string& name) {
    for (const auto& p : sim.sounds())
        if (p.name == name) return p.stop - p.start;
    return -1;
}

TEST(Effects, Play2AndPlay4StopAtAKeyPlayDoesNot) {
    Stack s;
    const double t = s.sim().clock().now();
    s.sim().OnTick([&] {
        if (s.sim().clock().now() > t + 0.3 && s.sim().clock().now() < t + 0.302) s.sim().PressKey('K');
    });
    s.sound.play2("crcheer");
    EXPECT_NEAR(Length(s.sim(), "crcheer"), 0.3, 0.01);
    EXPECT_EQ(s.keys.Last().code, "75") << "the key stays pending for the caller";

    Stack u;
    const double t2 = u.sim().clock().now();
    u.sim().OnTick([&] {
        if (u.sim().clock().now() > t2 + 0.1 && u.sim().clock().now() < t2 + 0.102) u.sim().PressKey('K');
    });
    u.sound.play("glove");
    EXPECT_GT(Length(u.sim(), "glove"), 0.2);

    // play4 plays at the file's own rate plus one.
    Stack w;
    w.sound.play4("baseway");
    ASSERT_FALSE(w.sim().sounds().empty());
    EXPECT_EQ(w.sim().sounds().back().frequency, 11026u);
}

TEST(Effects, SecondOverlayCutsTheFirst) {
    Stack s;
    s.sound.playspec("hotdog", -1000);
    s.keys.dy(0.2);
    s.sound.playspec("peanuts", 1000);
    const auto& ps = s.sim().sounds();
    ASSERT_EQ(ps.size(), 2u);
    EXPECT_NEAR(ps[0].stop - ps[0].start, 0.2, 0.01);
    EXPECT_EQ(ps[1].pan, 1000);
}

TEST(Effects, MissingWaveIsAbandonedAndTheGameGoesOn) {
    Stack s;
    s.sound.play("nosuchsound");
    s.sound.playspec("nosuchsound", 0);
    EXPECT_TRUE(s.sim().sounds().empty());
}

TEST(Effects, ChannelsAndTheCleanSlateBeforeAPitch) {
    Stack s;
    s.sound.waveVolume = -300;
    s.sound.StartOnce(Sound::Channel::Effect, "glove", -500, 1200);
    s.sound.StartOnce(Sound::Channel::Overlay, "hotdog", -700, -900);
    s.sound.playcrowd1();
    const auto& ps = s.sim().sounds();
    ASSERT_EQ(ps.size(), 3u);
    EXPECT_EQ(ps[0].volume, -500);
    EXPECT_EQ(ps[0].pan, 1200);
    EXPECT_EQ(ps[1].pan, -900);
    EXPECT_EQ(ps[2].volume, -1600) << "the excitement loops 1300 under the player's level";
    EXPECT_TRUE(ps[2].looping);
    s.sound.WaitToEnd(Sound::Channel::Effect);
    EXPECT_NEAR(ps[0].stop, s.sim().clock().now(), 0.05) << "waits for the effect, not the overlay";
    EXPECT_LT(ps[2].stop, 0);
    s.sound.ClearEffects();
    for (const auto& p : ps) EXPECT_GE(p.stop, 0) << p.name;
}

TEST(Effects, ThePitchsPositionInPercentOfItsFile) {
    Stack s;
    s.sound.LoadMeasuredEffect("p1");
    const double start = s.sim().clock().now();
    s.sound.StartEffect(0, 11026, -2500);
    EXPECT_EQ(s.sound.EffectPercent(), 0);
    while (s.sound.EffectPlaying()) s.keys.yield();
    EXPECT_NEAR(s.sound.EffectPercentAt(s.sim().clock().now()), 100, 1) << "the header is all that is not heard";
    EXPECT_EQ(s.sound.EffectPercentAt(start), 0);
    s.sound.ReleaseEffect();
    EXPECT_EQ(s.sound.EffectPercent(), 0) << "no effect, no position";
}

TEST(PitchCue, OffIsNothingOnIsAQuietCentredToneRisingAnOctave) {
    Stack s;
    s.sound.StartPitchCue();
    s.sound.SteerPitchCue(50);
    EXPECT_TRUE(s.sim().liveBuffers().empty()) << "no tone is made while the option is off";
    s.sound.waveVolume = -700;
    s.sound.SetPitchCue(true);
    s.sound.StartPitchCue();
    ASSERT_EQ(s.sim().sounds().size(), 1u);
    const auto& cue = s.sim().sounds()[0];
    EXPECT_EQ(cue.volume, -700 - 1500);
    EXPECT_EQ(cue.pan, 0);
    for (const auto& [percent, ratio] : std::vector<std::pair<double, double>>{{50, std::sqrt(2.0)}, {100, 2}, {0, 1}}) {
        s.sound.SteerPitchCue(percent);
        EXPECT_NEAR(cue.frequencies.back().second, cue.frequency * ratio, 0.5) << percent;
    }
    s.sound.SetPitchCue(false);
    EXPECT_GE(cue.stop, 0) << "turned off, it falls silent";
}

TEST(Crowd, DrumsAndLoops) {
    Stack s;
    s.sound.stopdrums();
    EXPECT_FALSE(s.sound.drumsPlaying());
    s.sound.CreateDrums();
    s.sound.playdrums();
    s.sound.startcrowd();
    const auto& ps = s.sim().sounds();
    ASSERT_EQ(ps.size(), 4u);
    EXPECT_EQ(ps[0].name, "crdrums");
    EXPECT_EQ(ps[0].volume, -1442);
    EXPECT_EQ(ps[0].pan, -777);
    EXPECT_EQ(ps[1].volume, -2050);
    EXPECT_EQ(ps[2].volume, -2000);
    std::vector<uint32_t> offsets;
    for (auto* b : s.sim().liveBuffers())
        if (b->name() == "crbkgrd") offsets.push_back(b->GetCurrentPosition());
    EXPECT_EQ(offsets, (std::vector<uint32_t>{0, 200000, 400000}));
    s.sound.stopper();
    for (size_t i = 1; i <= 3; ++i) EXPECT_GE(ps[i].stop, 0) << "crowd loop " << i - 1 << " is stopped";
    EXPECT_EQ(ps[0].stop, -1) << "the drums are left alone";
    EXPECT_TRUE(s.sound.drumsPlaying());
    s.sound.stopdrums();
    EXPECT_GE(ps[0].stop, 0);
    EXPECT_FALSE(s.sound.drumsPlaying());
}

TEST(Crowd, EventsComeEveryFiveToTenSeconds) {
    Stack s;
    s.sound.startcrowd();
    s.sound.crowdOn = 1;
    s.sim().OnTick([&] {
        if (s.sim().clock().now() > 600 && !s.keys.Pressed()) s.sim().PressKey(13);
    });
    s.waits.getkey();
    // Vendor calls are the visible events; swells change the loops' volumes.
    std::vector<double> vendors;
    for (const auto& p : s.sim().sounds())
        if (!p.looping) {
            vendors.push_back(p.start);
            EXPECT_EQ(p.volume, -2400);
            EXPECT_GE(p.pan, -1500);
            EXPECT_LT(p.pan, 1500);
        }
    ASSERT_GT(vendors.size(), 20u);
    ASSERT_LT(vendors.size(), 120u);
    for (size_t i = 1; i < vendors.size(); ++i) EXPECT_GE(vendors[i] - vendors[i - 1], 5.0 - 1e-6);
}

TEST(WaveCheck, NamesAnyCaseSizesAndOrder) {
    test::TempDir dir;
    const std::vector<WaveEntry> manifest = {{"hitbat2.wav", -1}, {"1.wav", 54}, {"ball.wav", 64}, {"take.wav", 44}};
    const std::string f = dir.path();
    auto make = [&](const std::string& name, uint32_t samples) { test::WriteTestWave(f + "/" + name, samples); };
    make("hitbat2.wav", 3);
    make("1.wav", 5);
    make("BALL.WAV", 10);
    make("take.wav", 0);
    EXPECT_TRUE(checkwaves(f, false, manifest));
    // Presence-only entries may be skipped, as the practice program does.
    std::filesystem::remove(f + "/hitbat2.wav");
    EXPECT_FALSE(checkwaves(f, false, manifest));
    EXPECT_TRUE(checkwaves(f, true, manifest));
    make("hitbat2.wav", 100);
    EXPECT_TRUE(checkwaves(f, false, manifest)) << "any size will do";
    make("1.wav", 4);
    EXPECT_FALSE(checkwaves(f, false, manifest)) << "one sample short";
    make("1.wav", 5);
    std::filesystem::remove(f + "/take.wav");
    EXPECT_FALSE(checkwaves(f, false, manifest));
}

TEST(WaveCheck, TheProjectsSetPasses) {
    EXPECT_TRUE(checkwaves(SW_SOUNDS_DIR));
    EXPECT_EQ(WaveManifest().size(), 60u);
}

}  // namespace
}  // namespace sw
