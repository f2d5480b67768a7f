// The speech engine against a mixer rendered by the test itself, so no sound
// device is needed. The test's audio runs ten times faster than real time on a
// virtual clock, which keeps utterances short in real time.
#include "host/real/espeak_engine.h"
#include "host/real/mixer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace sw::host::real {
namespace {

using Seconds = std::chrono::duration<double>;

class FakeClock : public Clock {
public:
    double now() const override { return t.load(); }
    std::atomic<double> t{0};
};

// Renders 5 ms blocks so that the audio clock keeps ten times real time.
// The pace is taken from the real clock, not from the length of a sleep: a
// sleep shorter than a millisecond returns at once on Windows, and a longer
// one may last a whole timer tick there.
class FastAudio {
public:
    FastAudio() {
        thread_ = std::thread([this] {
            std::vector<int16_t> out(2 * kFrames);
            const auto start = std::chrono::steady_clock::now();
            long blocks = 0;
            while (!stop_) {
                const double due = kSpeedUp * Seconds(std::chrono::steady_clock::now() - start).count();
                for (; !stop_ && blocks * kBlock < due; ++blocks) {
                    mixer.Render(out.data(), kFrames, clock.t);
                    for (int16_t s : out) {
                        if (s != 0) {
                            heard_ = true;
                            break;
                        }
                    }
                    clock.t = clock.t + kBlock;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
    }
    ~FastAudio() {
        stop_ = true;
        thread_.join();
    }
    bool TakeHeard() { return heard_.exchange(false); }

    FakeClock clock;
    Mixer mixer{clock, 48000};

private:
    static constexpr int kFrames = 240;
    static constexpr double kBlock = kFrames / 48000.0;  // 5 ms of audio
    static constexpr double kSpeedUp = 10;
    std::atomic<bool> stop_{false};
    std::atomic<bool> heard_{false};
    std::thread thread_;
};

// Waits in real time until `done` holds, at most `limit` seconds.
bool WaitFor(const std::function<bool()>& done, double limit = 10.0) {
    const auto start = std::chrono::steady_clock::now();
    while (!done()) {
        if (Seconds(std::chrono::steady_clock::now() - start).count() > limit) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

class Speech : public ::testing::Test {
protected:
    FastAudio audio;
    EspeakEngine engine{audio.mixer, audio.clock};
};

TEST_F(Speech, AsyncReturnsAtOnceCaptionsAndFinishes) {
    auto voice = engine.CreateVoice();
    testing::internal::CaptureStdout();
    const auto start = std::chrono::steady_clock::now();
    voice->Speak(" batter up ", kSpeakAsync);
    const double took = Seconds(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(voice->RunningState(), kSpeechSpeaking);
    voice->Speak("play ball", kSpeakAsync);
    EXPECT_LT(took, 0.05);
    EXPECT_TRUE(WaitFor([&] { return voice->RunningState() == kSpeechDone; }));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), " batter up \nplay ball\n");
    EXPECT_TRUE(audio.TakeHeard());
}

TEST_F(Speech, WaitingSpeakReturnsWhenAllHasBeenHeard) {
    auto voice = engine.CreateVoice();
    testing::internal::CaptureStdout();
    voice->Speak("first", kSpeakAsync);
    const double start = audio.clock.now();
    voice->Speak("and then the second", kSpeakWait);
    EXPECT_EQ(voice->RunningState(), kSpeechDone);
    EXPECT_FALSE(audio.mixer.SpeechPending());
    EXPECT_GT(audio.clock.now() - start, 0.5);  // both were played out on the audio clock
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "first\nand then the second\n");
}

TEST_F(Speech, PurgeStopsAtOnceAndDropsTheQueue) {
    auto voice = engine.CreateVoice();
    testing::internal::CaptureStdout();
    voice->Speak("this is a long reading of the rules of the game that goes on and on for a good while", kSpeakAsync);
    voice->Speak("never heard", kSpeakAsync);
    ASSERT_TRUE(WaitFor([&] { return audio.mixer.SpeechFirstRenderTime() >= 0; }));
    voice->Speak("", kSpeakPurge);
    EXPECT_EQ(voice->RunningState(), kSpeechDone);
    EXPECT_FALSE(audio.mixer.SpeechPending());
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    audio.TakeHeard();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_FALSE(audio.TakeHeard());  // nothing of the aborted text reaches the mixer
    EXPECT_EQ(voice->RunningState(), kSpeechDone);
    const std::string captions = testing::internal::GetCapturedStdout();
    EXPECT_EQ(captions.find("never heard"), std::string::npos) << captions;

    voice->Speak("", kSpeakPurge);  // nothing to purge: no effect
    EXPECT_EQ(voice->RunningState(), kSpeechDone);
}

TEST_F(Speech, CaptionsComeWhenATextStartsToSound) {
    auto voice = engine.CreateVoice();
    testing::internal::CaptureStdout();
    voice->Speak("a first sentence that takes a good while to say", kSpeakAsync);
    voice->Speak("a second one queued behind it", kSpeakAsync);
    ASSERT_TRUE(WaitFor([&] { return audio.mixer.SpeechFirstRenderTime() >= 0; }));
    // Both are synthesised long before the first has been heard out; only
    // the one that has started to sound is captioned.
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    voice->Speak("", kSpeakPurge);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "a first sentence that takes a good while to say\n");
}

TEST_F(Speech, EmptyAndBlankTextsDoNotHangTheRunningState) {
    auto voice = engine.CreateVoice();
    testing::internal::CaptureStdout();
    voice->Speak("", kSpeakAsync);
    EXPECT_TRUE(WaitFor([&] { return voice->RunningState() == kSpeechDone; }, 2.0));
    voice->Speak("   ", kSpeakAsync);
    EXPECT_TRUE(WaitFor([&] { return voice->RunningState() == kSpeechDone; }, 2.0));
    voice->Speak(" ", kSpeakWait);
    EXPECT_EQ(voice->RunningState(), kSpeechDone);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "\n   \n \n");
}

TEST_F(Speech, RateIsClampedAndChangesTheSpeakingTime) {
    auto voice = engine.CreateVoice();
    EXPECT_EQ(voice->Rate(), 0);
    voice->SetRate(14);
    EXPECT_EQ(voice->Rate(), 10);
    voice->SetRate(-11);
    EXPECT_EQ(voice->Rate(), -10);

    testing::internal::CaptureStdout();
    auto timed = [&](int rate) {
        voice->SetRate(rate);
        const double start = audio.clock.now();
        voice->Speak("the pitcher looks in for the sign", kSpeakWait);
        return audio.clock.now() - start;
    };
    const double slow = timed(-10);
    const double fast = timed(10);
    testing::internal::GetCapturedStdout();
    EXPECT_LT(fast, slow * 0.5) << "fast " << fast << " s, slow " << slow << " s";
}

TEST_F(Speech, OffersSeveralNamedEnglishVoicesThatAllSpeak) {
    const int count = engine.VoiceCount();
    ASSERT_GE(count, 2);
    EXPECT_EQ(engine.VoiceName(count), "");
    auto voice = engine.CreateVoice();
    EXPECT_FALSE(voice->SelectVoice(count));
    EXPECT_FALSE(voice->SelectVoice(-1));
    testing::internal::CaptureStdout();
    for (int i = 0; i < count; ++i) {
        EXPECT_FALSE(engine.VoiceName(i).empty());
        for (int j = 0; j < i; ++j) EXPECT_NE(engine.VoiceName(i), engine.VoiceName(j));
        ASSERT_TRUE(voice->SelectVoice(i));
        audio.TakeHeard();
        voice->Speak("strike", kSpeakWait);
        EXPECT_TRUE(audio.TakeHeard()) << engine.VoiceName(i);
    }
    testing::internal::GetCapturedStdout();
}

TEST_F(Speech, ReleasingTheVoiceSilencesItAndAFreshVoiceStartsClean) {
    auto voice = engine.CreateVoice();
    testing::internal::CaptureStdout();
    voice->SetVolume(40);
    voice->Speak("a long sentence that is cut short when the voice is released", kSpeakAsync);
    ASSERT_TRUE(WaitFor([&] { return audio.mixer.SpeechFirstRenderTime() >= 0; }));
    voice.reset();
    EXPECT_FALSE(audio.mixer.SpeechPending());
    auto fresh = engine.CreateVoice();
    EXPECT_EQ(fresh->RunningState(), kSpeechDone);
    EXPECT_EQ(fresh->Rate(), 0);
    fresh->Speak("hello", kSpeakWait);
    EXPECT_EQ(fresh->RunningState(), kSpeechDone);
    testing::internal::GetCapturedStdout();
}

// Every pitch name with every start of the comment that follows it without a
// blank: the engine is given two words where capitals turn to small letters.
TEST(SpeakableText, CapitalsRunningIntoSmallLettersBecomeTwoWords) {
    const char* const names[] = {"FAST BALL", "CURVE BALL ", "SLIDER ", "SINKER ", "CHANGE UP", "KNUCKLE BALL ",
                                 "SCREWBALL "};
    const char* const comments[] = {"low  and away but over", "high  and tight but over", "swing and a miss",
                                    " just missed  low  and tight", " caught the out side corner of the plate", ""};
    for (const char* name : names)
        for (const char* comment : comments) {
            const std::string text = std::string(" a ") + name + comment;
            const std::string n(name);
            const bool joined = n.back() != ' ' && comment[0] >= 'a' && comment[0] <= 'z';
            EXPECT_EQ(SpeakableText(text), joined ? " a " + n + " " + comment : text) << text;
        }
    // One capital before small letters is an ordinary word; other texts pass as they are.
    for (const char* same : {" Now batting for the Owls", "McIntyre", "The Hawks! win! the Championship.", "TXT", "",
                             "caf\xc3\xa9 AB\xc3\xa9"})
        EXPECT_EQ(SpeakableText(same), same);
    EXPECT_EQ(SpeakableText("ABCdef GHi"), "ABC def GH i");
}

}  // namespace
}  // namespace sw::host::real
