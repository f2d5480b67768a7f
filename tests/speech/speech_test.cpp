// The speaking operations and the voice and rate dialogs.
#include "support/stack.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

using test::Stack;

void PressAt(host::sim::SimHost& sim, std::vector<std::pair<double, int>> keys) {
    auto q = std::make_shared<std::vector<std::pair<double, int>>>(std::move(keys));
    auto i = std::make_shared<size_t>(0);
    sim.OnTick([&sim, q, i] {
        while (*i < q->size() && sim.clock().now() >= (*q)[*i].first) sim.PressKey((*q)[(*i)++].second);
    });
}

TEST(Speech, QueuedTextsFollowEachOtherAndAKeySilencesBoth) {
    Stack s;
    s.speech.say2("first prompt");
    s.speech.say2(" yes ");
    s.keys.dy(0.2);
    EXPECT_EQ(s.sim().Spoken(), (std::vector<std::string>{"first prompt"}));
    s.keys.dy(1.0);
    EXPECT_EQ(s.sim().Spoken(), (std::vector<std::string>{"first prompt", " yes "}));

    s.speech.say2("a longer text that is still speaking when the key arrives");
    s.speech.say2(" no ");
    PressAt(s.sim(), {{s.sim().clock().now() + 0.3, 'K'}});
    s.waits.getkey();
    const auto& us = s.sim().utterances();
    EXPECT_TRUE(us[us.size() - 2].cut);
    EXPECT_LT(us.back().start, 0) << "the queued answer is never heard";
    EXPECT_EQ(s.speech.Voice->RunningState(), host::kSpeechDone);
    // Stopping when nothing speaks changes nothing.
    s.speech.stopspeech();
    EXPECT_EQ(s.speech.Voice->RunningState(), host::kSpeechDone);
}

TEST(Speech, Say3KeyInFirstHalfSecondIsDiscardedLaterKeyEndsReading) {
    Stack s;
    const double t0 = s.sim().clock().now();
    PressAt(s.sim(), {{t0 + 0.2, 'A'}, {t0 + 2.0, 'B'}});
    s.speech.say3(std::string(200, 'x'));
    EXPECT_EQ(s.keys.Last().code, "66");
    EXPECT_NEAR(s.sim().clock().now() - t0, 2.0, 0.01);
    EXPECT_TRUE(s.sim().utterances().back().cut);

    // A reading too short to outlast the half second still returns.
    Stack t;
    t.speech.say3("");
    t.speech.say3(" ");
    t.speech.say3("ok");
    EXPECT_LT(t.sim().clock().now(), 2.0);
}

TEST(Speech, SaykeyEchoesFasterAndNotF1) {
    Stack s;
    s.speech.speechRate = 1;
    s.speech.saykey(Key{"65", "a"});
    ASSERT_EQ(s.sim().utterances().size(), 1u);
    EXPECT_EQ(s.sim().utterances()[0].rate, 3);
    EXPECT_EQ(s.speech.Voice->Rate(), 1);

    s.speech.say2("something long enough to be cut by the purge of the next echo");
    s.speech.saykey(Key{"112", "p"});
    EXPECT_EQ(s.sim().utterances().size(), 2u) << "F1 is not echoed";
    EXPECT_TRUE(s.sim().utterances()[1].cut) << "but the queue is purged";
}

TEST(VoiceDialog, OneVoiceReturnsAtOnce) {
    Stack s(Variant::Game(), 1);
    s.dialogs.changevoice();
    EXPECT_TRUE(s.sim().utterances().empty());
}

TEST(VoiceDialog, NThreeTimesComesBackToTheFirstVoice) {
    Stack s;
    double t = s.sim().clock().now();
    PressAt(s.sim(), {{t + 0.5, 'N'}, {t + 2.0, 'N'}, {t + 3.5, 'N'}, {t + 5.0, 'Y'}});
    s.dialogs.changevoice();
    EXPECT_EQ(s.speech.voiceIndex, 0);
    // The question was heard in voices 0, 1, 2 and 0 again.
    std::vector<int> voices;
    for (const auto& u : s.sim().utterances())
        if (u.text == "do you wish to use this voice. yes ") voices.push_back(u.voice);
    EXPECT_EQ(voices, (std::vector<int>{0, 1, 2, 0}));
    // The waiting sound looped while each new voice loaded.
    int takes = 0;
    for (const auto& p : s.sim().sounds())
        if (p.name == "take") ++takes;
    EXPECT_EQ(takes, 3);
    EXPECT_FALSE(s.keys.Pressed());
}

TEST(VoiceDialog, ArrowsEnterAndF1) {
    Stack s;
    double t = s.sim().clock().now();
    // F1 repeats; Down gives "no"; Enter on "no" moves on; Enter on "yes" keeps.
    PressAt(s.sim(), {{t + 0.5, 112}, {t + 1.0, 40}, {t + 1.5, 13}, {t + 3.0, 13}});
    s.dialogs.changevoice();
    EXPECT_EQ(s.speech.voiceIndex, 1);
    EXPECT_EQ(test::Queued(s.sim()),
              (std::vector<std::string>{"do you wish to use this voice. yes ", "do you wish to use this voice. yes ",
                                        " no ", " ", "do you wish to use this voice. yes "}));
}

TEST(VolumeDialog, BoundsWordsAndStoredVolumes) {
    Stack s;
    s.speech.speechVolume = 0;
    s.sound.waveVolume = -4900;
    s.sound.startcrowd();
    s.sound.crowdOn = 1;
    std::vector<std::pair<double, int>> keys;
    double t = s.sim().clock().now() + 3.0;
    for (int i = 0; i < 20; ++i, t += 0.3) keys.push_back({t, 38});
    keys.push_back({t, 13});
    t += 4.0;
    keys.push_back({t, 40});
    keys.push_back({t + 3.0, 40});
    keys.push_back({t + 6.0, 13});
    PressAt(s.sim(), keys);
    const Dialogs::Levels chosen = s.dialogs.adjvol();

    const auto q = test::Queued(s.sim());
    int louder = 0, maximum = 0;
    std::vector<std::string> waveWords;
    bool inWave = false;
    for (const auto& x : q) {
        if (x.find("adjust the volume of the sounds") != std::string::npos) inWave = true;
        if (!inWave && x == " louder ") ++louder;
        if (!inWave && x == " maximum ") ++maximum;
        if (inWave && (x == " quieter " || x == " minimum ")) waveWords.push_back(x);
    }
    EXPECT_EQ(louder, 19);
    EXPECT_EQ(maximum, 1);
    EXPECT_EQ(waveWords, (std::vector<std::string>{" quieter ", " minimum "}));
    EXPECT_EQ(chosen.wave, -5000);
    EXPECT_EQ(chosen.speech, 100);
    // The crowd stays silent for the caller to bring back.
    EXPECT_EQ(s.sound.crowdOn, 0);
    int soundingLoops = 0;
    for (const auto& p : s.sim().sounds()) soundingLoops += p.name == "crbkgrd" && p.stop < 0;
    EXPECT_EQ(soundingLoops, 0);
}

TEST(VolumeDialog, WaveVolumeAtTopSaysMaximumAtOnce) {
    Stack s;
    s.sound.startcrowd();
    // The transition sound takes the first seconds; a key then would cut it.
    double t = s.sim().clock().now() + 3.0;
    PressAt(s.sim(), {{t, 13}, {t + 4.0, 38}, {t + 7.0, 13}});
    s.dialogs.adjvol();
    const auto q = test::Queued(s.sim());
    EXPECT_NE(std::find(q.begin(), q.end(), " maximum "), q.end());
    EXPECT_EQ(s.sound.waveVolume, 0);
}

}  // namespace
}  // namespace sw
