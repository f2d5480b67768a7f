// The simulated host: the cursor and status of its buffers and the timing of
// its speech must behave as the real ones do, or every program test lies.
#include "host/sim/sim_host.h"
#include "support/sim_run.h"

#include <gtest/gtest.h>

namespace sw::host::sim {
namespace {

struct World {
    test::TempDir dir;
    SimHost sim{dir.path()};
    std::unique_ptr<SoundBuffer> Load(uint32_t samples, uint32_t rate = 1000) {
        const std::string path = sim.folders().sounds + "/t.wav";
        test::WriteTestWave(path, samples, rate);
        return sim.sound().CreateSoundBufferFromFile(path);
    }
    void Wait(double s) {
        const double end = sim.clock().now() + s - 1e-9;
        while (sim.clock().now() < end) sim.platform().Yield();
    }
};

TEST(SimBuffer, CursorFollowsRateChangesAndEnds) {
    World w;
    auto b = w.Load(1000);  // one second at 1000 Hz, 2000 bytes
    EXPECT_EQ(b->DataBytes(), 2000u);
    EXPECT_EQ(b->GetFrequency(), 1000u);
    b->Play(kPlayOnce);
    EXPECT_EQ(b->GetStatus(), kStatusPlaying);
    w.Wait(0.25);
    EXPECT_NEAR(b->GetCurrentPosition(), 500, 2);
    const double tChange = w.sim.clock().now();
    b->SetFrequency(2000);
    w.Wait(0.1);
    EXPECT_NEAR(b->GetCurrentPosition(), 500 + 400, 4);
    // The past is remembered at the speed it had then.
    EXPECT_NEAR(b->GetPositionAt(tChange - 0.1), 300, 2);
    w.Wait(0.5);
    EXPECT_EQ(b->GetStatus(), kStatusStopped);
    EXPECT_EQ(b->GetCurrentPosition(), 2000u);
    const auto& play = w.sim.sounds().back();
    EXPECT_NEAR(play.stop - play.start, 0.25 + 0.375, 0.003);
}

TEST(SimBuffer, StopKeepsTheCursorLoopingWraps) {
    World w;
    auto b = w.Load(1000);
    b->Play(kPlayOnce);
    w.Wait(0.3);
    b->Stop();
    const uint32_t at = b->GetCurrentPosition();
    w.Wait(0.3);
    EXPECT_EQ(b->GetCurrentPosition(), at);
    b->Play(kPlayLooping);
    EXPECT_EQ(b->GetStatus(), kStatusLooping);
    w.Wait(1.0);
    EXPECT_NEAR(b->GetCurrentPosition(), at, 4);
    b->SetCurrentPosition(1000);
    EXPECT_EQ(b->GetCurrentPosition(), 1000u);
    EXPECT_EQ(w.sim.sounds().size(), 2u);
}

TEST(SimSound, RecordsChannelModeChangesAndTones) {
    World w;
    w.sim.SetSkipAhead(true);
    w.sim.sound().SetChannelMode(ChannelMode::Stereo);  // as every start-up may
    w.sim.platform().Yield();
    EXPECT_NEAR(w.sim.clock().now(), SimHost::kSkipCap, 1e-9) << "choosing a mode moves no sound";
    w.sim.sound().SetChannelMode(ChannelMode::Left);
    w.sim.sound().SetChannelMode(ChannelMode::Left);
    ASSERT_EQ(w.sim.channelModes().size(), 1u) << "changes only";
    EXPECT_EQ(w.sim.channelModes()[0].second, ChannelMode::Left);
    EXPECT_EQ(w.sim.sound().CreateTone(440)->GetFrequency() % 440, 0u) << "whole cycles";
}

TEST(SimSpeech, QueueRunsInOrderPurgeCutsAndBlockingSpeechTakesTime) {
    World w;
    auto v = w.sim.speech().CreateVoice();
    v->Speak("one", kSpeakAsync);
    v->Speak("two", kSpeakAsync);
    EXPECT_EQ(v->RunningState(), kSpeechSpeaking);
    w.Wait(SimHost::Duration("one", 0) + 0.01);
    EXPECT_EQ(w.sim.Spoken(), (std::vector<std::string>{"one", "two"}));
    v->Speak("", kSpeakPurge);
    EXPECT_EQ(v->RunningState(), kSpeechDone);
    EXPECT_TRUE(w.sim.utterances()[1].cut);

    const double t = w.sim.clock().now();
    v->SetRate(10);
    v->Speak("a sentence at the fastest rate", kSpeakWait);
    EXPECT_NEAR(w.sim.clock().now() - t, SimHost::Duration("a sentence at the fastest rate", 10), 0.002);
    EXPECT_EQ(v->RunningState(), kSpeechDone);
    // Blank texts finish at once: nothing waits on them for ever.
    v->Speak(" ", kSpeakAsync);
    EXPECT_EQ(v->RunningState(), kSpeechDone);
}

TEST(SimPlatform, KeysArriveAtTheNextYieldWithTheirTimeStamps) {
    World w;
    struct Sink : EventSink {
        std::vector<std::pair<int, double>> keys;
        int closes = 0;
        void KeyDown(int c, double t) override { keys.push_back({c, t}); }
        void CloseRequest() override { ++closes; }
        void TerminateRequest() override { ++closes; }
    } sink;
    w.sim.platform().SetEventSink(&sink);
    w.sim.PressKey(65, 0.0105);
    w.sim.RequestClose();
    EXPECT_TRUE(sink.keys.empty());
    w.Wait(0.02);
    ASSERT_EQ(sink.keys.size(), 1u);
    EXPECT_DOUBLE_EQ(sink.keys[0].second, 0.0105);
    EXPECT_EQ(sink.closes, 1);
    w.sim.platform().SetEventSink(nullptr);
}

}  // namespace
}  // namespace sw::host::sim

namespace sw::host::sim {
namespace {

// Skipping ahead: a program polling in a loop is moved on to the moment
// something happens, never past it, and never while it follows a sound.
TEST(SimSkipAhead, PollingLoopsLandJustAfterWhatTheyWaitFor) {
    World w;
    w.sim.SetSkipAhead(true);
    auto voice = w.sim.speech().CreateVoice();
    const std::string text = "a sentence of some length for the test";
    voice->Speak(text, kSpeakAsync);
    const double end = SimHost::Duration(text, 0);
    // The first Yield after speaking lasts one quantum, as a real one would.
    const uint64_t steps0 = w.sim.steps();
    w.sim.platform().Yield();
    EXPECT_NEAR(w.sim.clock().now(), 0.001, 1e-9);
    while (voice->RunningState() == kSpeechSpeaking) w.sim.platform().Yield();
    EXPECT_GE(w.sim.clock().now(), end);
    EXPECT_LT(w.sim.clock().now(), end + 0.001 + 1e-9);
    // At most 50 ms a step, not a millisecond.
    EXPECT_LE(w.sim.steps() - steps0, static_cast<uint64_t>(end / SimHost::kSkipCap) + 3);

    // A key is delivered at its stamp, and a Wait never passes its limit.
    struct Sink : EventSink {
        double at = -1;
        void KeyDown(int, double t) override { at = t; }
        void CloseRequest() override {}
        void TerminateRequest() override {}
    } sink;
    w.sim.platform().SetEventSink(&sink);
    const double t0 = w.sim.clock().now();
    w.sim.PressKey(65, t0 + 0.0305);
    while (sink.at < 0) w.sim.platform().Wait(1.0);
    EXPECT_NEAR(w.sim.clock().now(), t0 + 0.031, 1e-6);
    const double t1 = w.sim.clock().now();
    w.sim.platform().Wait(0.0101);
    EXPECT_NEAR(w.sim.clock().now(), t1 + 0.011, 1e-6);
    // A script's wake-up is a moment too.
    w.sim.WakeAt(t1 + 0.02);
    w.sim.platform().Wait(1.0);
    EXPECT_NEAR(w.sim.clock().now(), t1 + 0.02, 1e-6);
    w.sim.platform().SetEventSink(nullptr);
}

TEST(SimSkipAhead, AFollowedSoundKeepsMillisecondSteps) {
    World w;
    w.sim.SetSkipAhead(true);
    auto b = w.Load(1000);  // one second
    b->Play(kPlayOnce);
    w.sim.platform().Yield();
    // Only waited for: moved on to its end.
    while (b->GetStatus() == kStatusPlaying) w.sim.platform().Yield();
    EXPECT_NEAR(w.sim.clock().now(), 1.0, 0.0011);
    // Followed by its position: a quantum at a time.
    b->Play(kPlayOnce);
    const double t0 = w.sim.clock().now();
    for (int i = 0; i < 100; ++i) {
        b->GetCurrentPosition();
        w.sim.platform().Yield();
    }
    EXPECT_NEAR(w.sim.clock().now() - t0, 0.1, 1e-6);
}

}  // namespace
}  // namespace sw::host::sim
