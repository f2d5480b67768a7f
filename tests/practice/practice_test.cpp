// The practice verdicts at the edges of the windows, with pitch sounds whose
// lengths make every percentage exact.
#include "practice/practice.h"
#include "support/stack.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

// 10040-byte files: 1 percent is 100.4 bytes, so 80, 85, 90, 95 are whole samples.
struct PracticeWorld : test::Stack {
    PracticeWorld() : Stack(Variant::Batting()), pitch(sound, keys), practice(speech, sound, waits, pitch) {
        for (int i = 1; i <= 7; ++i)
            test::WriteTestWave(sim().folders().sounds + "/p" + std::to_string(i) + ".wav", (10040 - 44) / 2);
    }
    Pitch pitch;
    Practice practice;
};

struct Case {
    double percent;
    std::vector<std::string> sounds;
    std::string words;
};

TEST(PracticeVerdicts, EdgesOfTheWindows) {
    const std::vector<Case> cases = {
        {79.8, {"sm", "glove", "strike"}, "you swung too early"},
        {80, {"ft", "foulball"}, "you swung just a bit too early"},
        {85, {"lh"}, "a hit"},
        {87, {"hh"}, "you got all of that one"},
        {88, {"mh"}, "a good hit"},
        {90, {"lh"}, "a hit"},
        {90.2, {"ft", "foulball"}, "you swung just a bit too late"},
        {95, {"ft", "foulball"}, "you swung just a bit too late"},
        {95.2, {"sm", "glove", "strike"}, "you swung too late"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.percent);
        PracticeWorld w;
        w.practice.practiceMode = 2;
        w.practice.selectedPitch = 4;
        test::Bot bot(w.sim());
        bot.SwingAt(c.percent);
        w.practice.OnePitch();
        ASSERT_TRUE(bot.done());
        EXPECT_NEAR(w.practice.pitch.swingPercent, c.percent, 0.03);
        std::vector<std::string> sounds;
        for (const auto& p : w.sim().sounds())
            if (p.name != "p4") sounds.push_back(p.name);
        EXPECT_EQ(sounds, c.sounds);
        EXPECT_EQ(w.sim().utterances().back().text, c.words);
    }
}

TEST(PracticeVerdicts, TakenPitchIsCalledByItsHeight) {
    // Speed classes drawn at 25, 50 and 75 percent; the last one is the height.
    const std::vector<std::pair<int, std::string>> cases = {
        {1, "a SINKER  low "}, {2, "a SINKER  low  but over"}, {3, ""}, {4, "a SINKER  high  but over"}, {5, "a SINKER  high "}};
    for (const auto& [cls, words] : cases) {
        SCOPED_TRACE(cls);
        PracticeWorld w;
        w.practice.practiceMode = 2;
        w.practice.selectedPitch = 4;
        const double r = (cls - 1) / 5.0 + 0.01;
        w.random.Force({0.5, 0.5, r});
        w.practice.OnePitch();
        EXPECT_EQ(w.practice.pitch.pitchSpeedClass, cls);
        std::vector<std::string> sounds;
        for (const auto& p : w.sim().sounds())
            if (p.name != "p4") sounds.push_back(p.name + "@" + std::to_string(p.pan));
        const std::string call = cls == 1 || cls == 5 ? "ball@2700" : "strike@2700";
        EXPECT_EQ(sounds, (std::vector<std::string>{"glove@2500", call}));
        const std::string last = w.sim().utterances().back().text;
        if (words.empty()) EXPECT_EQ(last, " and the pitch");
        else EXPECT_EQ(last, words);
    }
}

TEST(PracticeVerdicts, KeyDuringTheGloveIsASwingFarTooLate) {
    PracticeWorld w;
    w.practice.practiceMode = 2;
    w.practice.selectedPitch = 1;
    test::Bot bot(w.sim());
    bot.Take().OnSound("glove", 65, 0.05);
    w.practice.OnePitch();
    EXPECT_EQ(w.practice.pitch.swingPercent, 99);
    std::vector<std::string> sounds;
    for (const auto& p : w.sim().sounds())
        if (p.name != "p1") sounds.push_back(p.name);
    EXPECT_EQ(sounds, (std::vector<std::string>{"glove", "sm", "strike"}));
    EXPECT_EQ(w.sim().utterances().back().text, "you swung too late");
}

}  // namespace
}  // namespace sw
