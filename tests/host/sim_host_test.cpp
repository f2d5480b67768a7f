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
