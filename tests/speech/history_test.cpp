// The history keys: what was heard, heard again, and what the history keeps.
#include "speech/history.h"
#include "support/stack.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

using test::Stack;
using Step = SpeechHistory::Step;
using Texts = std::vector<std::string>;

constexpr int kPageUp = 33, kPageDown = 34, kEnd = 35, kHome = 36, kEnter = 13;

struct HistoryStack : Stack {
    HistoryStack() {
        waits.AddHistoryKeys();
        for (const char* s : {"the first sentence", "the second sentence", "the third sentence"}) speech.say(s);
        heardBefore = sim().Spoken().size();
    }
    // Presses the keys 0.3 s apart, starting 0.1 s from now.
    void Press(const std::vector<int>& codes) {
        double t = sim().clock().now() + 0.1;
        for (int c : codes) {
            sim().PressKey(c, t);
            t += 0.3;
        }
    }
    Texts HeardSince() {
        const Texts all = sim().Spoken();
        return {all.begin() + static_cast<long>(heardBefore), all.end()};
    }
    size_t heardBefore = 0;
};

TEST(HistoryKeys, WalkBackAndForthWithABeepAtEitherEnd) {
    HistoryStack s;
    // Back twice, once too far; forward, the newest, once too far; Home.
    s.Press({kPageUp, kPageUp, kPageUp, kPageDown, kEnd, kPageDown, kHome, 'K'});
    const Key key = s.waits.getkey();
    EXPECT_EQ(key.code, "75") << "the wait goes on to the key that answers it";
    EXPECT_EQ(s.HeardSince(), (Texts{"the second sentence", "the first sentence", "the second sentence",
                                     "the third sentence", "the third sentence"}));
    EXPECT_EQ(s.sim().beeps(), 2);
    EXPECT_EQ(s.speech.history().Entries(),
              (Texts{"the first sentence", "the second sentence", "the third sentence"}))
        << "a replay is not heard as a new sentence";

    // A new sentence puts the walk back at the newest.
    s.speech.say("the fourth sentence");
    s.heardBefore = s.sim().Spoken().size();
    s.Press({kPageUp, kEnd, 'K'});
    s.waits.getkey();
    EXPECT_EQ(s.HeardSince(), (Texts{"the third sentence", "the fourth sentence"}));
}

TEST(HistoryKeys, AKeyCutsTheSentenceAndNothingHeardYetBeeps) {
    Stack s;
    s.waits.AddHistoryKeys();
    const double t = s.sim().clock().now();
    s.sim().PressKey(kHome, t + 0.1);
    s.sim().PressKey(kPageUp, t + 0.2);
    s.sim().PressKey('K', t + 0.3);
    s.waits.getkey();
    EXPECT_EQ(s.sim().beeps(), 2);
    EXPECT_TRUE(s.sim().utterances().empty());

    HistoryStack h;
    h.speech.say2("a long sentence that is still being said when the key comes");
    h.Press({kHome, 'K'});
    h.waits.getkey();
    const auto& us = h.sim().utterances();
    ASSERT_GE(us.size(), 2u);
    EXPECT_TRUE(us[us.size() - 2].cut);
    EXPECT_EQ(us.back().text, "a long sentence that is still being said when the key comes");
    EXPECT_GE(us.back().start, 0);
}

TEST(HistoryKeys, ATypedAnswerTypesThem) {
    HistoryStack s;
    s.Press({kHome, kPageUp, kEnter});
    EXPECT_EQ(s.waits.getter("your name"), "$!");
    EXPECT_EQ(s.sim().beeps(), 0);
    for (const auto& t : s.HeardSince()) EXPECT_NE(t, "the third sentence");
    // And the wait after it has them again.
    s.Press({kHome, 'K'});
    s.waits.getkey();
    EXPECT_EQ(s.HeardSince().back(), "your name");
}

TEST(SpeechHistory, KeepsSentencesNotEchoesOrRepeats) {
    Stack s;
    s.speech.say("one");
    s.speech.saykey(Key{"65", "a"});
    s.speech.say(" \xC3\xA9 ");  // one character of two bytes
    s.speech.say("one");
    s.speech.say("two");
    s.speech.say("one");
    s.speech.say("ab");
    EXPECT_EQ(s.speech.history().Entries(), (Texts{"one", "two", "one", "ab"}));
}

TEST(SpeechHistory, KeepsTheLastFifty) {
    SpeechHistory h;
    for (int i = 0; i <= 50; ++i) h.Started("sentence " + std::to_string(i));
    const Texts kept = h.Entries();
    ASSERT_EQ(kept.size(), 50u);
    EXPECT_EQ(kept.front(), "sentence 1");
    EXPECT_EQ(kept.back(), "sentence 50");
    int back = 0;
    while (h.Take(Step::Back)) ++back;
    EXPECT_EQ(back, 49);
    EXPECT_EQ(h.Take(Step::Forward), "sentence 2");
}

TEST(SpeechHistory, AReplayCutBeforeItSoundsLeavesTheSameSentenceToCount) {
    SpeechHistory h;
    h.Started("aa");
    h.Started("bb");
    ASSERT_EQ(h.Take(Step::Back), "aa");
    h.Started("aa");  // the replay itself
    EXPECT_EQ(h.Entries(), (Texts{"aa", "bb"}));

    ASSERT_EQ(h.Take(Step::Back), std::nullopt);
    ASSERT_EQ(h.Take(Step::Latest), "bb");
    h.Purged();
    h.Started("bb");  // not a replay, but an immediate repeat
    h.Started("aa");
    EXPECT_EQ(h.Entries(), (Texts{"aa", "bb", "aa"}));

    // Another text that starts first ends the replay's claim.
    ASSERT_EQ(h.Take(Step::Back), "bb");
    h.Started("cc");
    h.Started("bb");
    EXPECT_EQ(h.Entries(), (Texts{"aa", "bb", "aa", "cc", "bb"}));
}

}  // namespace
}  // namespace sw
