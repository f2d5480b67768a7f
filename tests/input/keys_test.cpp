// Key waits, typed answers, timed waits and random numbers.
#include "support/stack.h"

#include <gtest/gtest.h>

#include <set>

namespace sw {
namespace {

using test::Bot;
using test::Stack;

constexpr int kShift = 16, kBackspace = 8, kEnter = 13, kF1 = 112, kCtrl = 17, kUp = 38;

// Presses keys one after another, `gap` seconds apart, starting after `start`.
void Type(host::sim::SimHost& sim, std::vector<int> keys, double start = 0.3, double gap = 0.2) {
    double t = sim.clock().now() + start;
    auto queue = std::make_shared<std::vector<std::pair<double, int>>>();
    for (int k : keys) {
        queue->push_back({t, k});
        t += gap;
    }
    auto next = std::make_shared<size_t>(0);
    sim.OnTick([&sim, queue, next] {
        while (*next < queue->size() && sim.clock().now() >= (*queue)[*next].first) {
            sim.PressKey((*queue)[*next].second);
            ++*next;
        }
    });
}

TEST(Getter, ShiftBackspaceAndEchoes) {
    Stack s;
    Type(s.sim(), {'A', kShift, 'B', kBackspace, 'C', kEnter});
    const std::string answer = s.waits.getter("your name please");
    EXPECT_EQ(answer, "ac");
    // The prompt, then every echo, including the deleted "B" spoken again.
    std::vector<std::string> spoken = s.sim().Spoken();
    std::vector<std::string> expect = {"your name please", "a", "B", "B", "c"};
    // Echoes that are purged by the next key before they start are not heard;
    // keys 0.2 s apart leave each echo time to start.
    EXPECT_EQ(spoken, expect);
}

TEST(Getter, F1RestartsBackspaceOnEmptyAndEnterAtOnce) {
    Stack s;
    Type(s.sim(), {kBackspace, 'X', kF1, 'Y', kEnter});
    const std::string answer = s.waits.getter("q");
    EXPECT_EQ(answer, "y");
    EXPECT_EQ(s.sim().Spoken(), (std::vector<std::string>{"q", "x", "q", "y"}));

    Stack t;
    Type(t.sim(), {kEnter});
    EXPECT_EQ(t.waits.getter("q"), "");
}

TEST(Getter, BackspaceTakesAWholeCharacterOfTwoBytes) {
    // The semicolon key (186) and the comma key (188) type characters that
    // take two bytes each; Backspace removes and speaks the whole of one.
    Stack s;
    Type(s.sim(), {'A', 186, 188, kBackspace, kBackspace, 'B', kEnter});
    const std::string answer = s.waits.getter("q");
    EXPECT_EQ(answer, "ab");
    const auto spoken = s.sim().Spoken();
    ASSERT_EQ(spoken.size(), 7u);
    EXPECT_EQ(spoken[4], spoken[3]);  // the deleted character, spoken again whole
    EXPECT_EQ(spoken[5], spoken[2]);
    EXPECT_EQ(spoken[4].size(), 2u);
}

TEST(Getter, UpArrowAddsItsCharacterAndHotKeysAddNothing) {
    Stack s;
    Type(s.sim(), {kUp, kCtrl, kEnter, 'Z', kEnter}, 0.3, 0.8);
    const std::string answer = s.waits.getter("q");
    // Up adds "&"; Ctrl opens the rate dialog (Enter ends it) and adds nothing.
    EXPECT_EQ(answer, "&z");
}

TEST(Getkey, KeyBeforeTheQuestionIsDiscardedAndSpeechStops) {
    Stack s;
    s.sim().PressKey('Q');
    s.speech.say("this is said while the player presses a key");
    Type(s.sim(), {'R'}, 0.5);
    s.speech.say2("a long question that the key will cut short in the middle of it");
    const Key key = s.waits.getkey();
    EXPECT_EQ(key.code, "82");
    EXPECT_EQ(key.ch, "r");
    const auto& u = s.sim().utterances().back();
    EXPECT_TRUE(u.cut);
}

TEST(Getkey, CtrlRunsTheRateDialogAndLeavesOne) {
    Stack s;
    Type(s.sim(), {kCtrl, kUp, kUp, 'W', kUp, kEnter}, 0.3, 0.5);
    EXPECT_EQ(s.waits.getkey().code, "1");
    EXPECT_EQ(s.speech.speechRate, 3);
    // The prompt and value, each new value alone, then after "w" the whole prompt again.
    const std::string prompt = "to adjust the speech rate, use the arrow keys and then press enter";
    EXPECT_EQ(test::Queued(s.sim()), (std::vector<std::string>{prompt, "0", "1", "2", prompt, "2", "3"}));
}

TEST(Getkey2, TakesAnyKeyWithoutHotKeysOrSilencing) {
    Stack s;
    s.speech.say2("a sentence long enough to be still speaking when the key comes");
    Type(s.sim(), {kCtrl}, 0.3);
    EXPECT_EQ(s.keys.getkey2().code, "17") << "no rate dialog";
    EXPECT_EQ(s.speech.Voice->RunningState(), host::kSpeechSpeaking);
    EXPECT_EQ(test::Queued(s.sim()).size(), 1u);
}

TEST(Getkey, RateStaysWithinTheEnginesRange) {
    Stack s;
    s.speech.speechRate = 9;
    Type(s.sim(), {kCtrl, kUp, kUp, kEnter}, 0.3, 0.5);
    s.waits.getkey();
    EXPECT_EQ(s.speech.speechRate, 10);
    auto spoken = test::Queued(s.sim());
    ASSERT_GE(spoken.size(), 2u);
    EXPECT_EQ(spoken[spoken.size() - 1], "10");
    EXPECT_EQ(spoken[spoken.size() - 2], "10");
}

TEST(Waits, DyLastsAtLeastItsTimeAndWfStaysInRange) {
    Stack s;
    double t0 = s.sim().clock().now();
    s.keys.dy(0.5);
    EXPECT_GE(s.sim().clock().now() - t0, 0.5);
    t0 = s.sim().clock().now();
    s.keys.dy(0);
    EXPECT_GT(s.sim().clock().now(), t0);

    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        EXPECT_EQ(s.keys.wf(1), 1);
        int v = s.keys.wf(7);
        ASSERT_GE(v, 1);
        ASSERT_LE(v, 7);
        seen.insert(v);
        // Calls at the same clock reading still move on.
        if (i % 2) s.keys.yield();
    }
    EXPECT_EQ(seen.size(), 7u);
}

}  // namespace
}  // namespace sw
