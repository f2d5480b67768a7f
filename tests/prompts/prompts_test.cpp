// Yes/no questions, the help readings and the roster check's dialogue.
#include "prompts/prompts.h"
#include "prompts/roster_check.h"
#include "host/files.h"
#include "support/stack.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace sw {
namespace {

using test::Bot;

constexpr int kEnter = 13, kUp = 38, kDown = 40, kF1 = 112, kF8 = 119, kF9 = 120, kSpace = 32;
constexpr int Key(char c) { return c - 'a' + 65; }
const std::string kQuestion = " Do you wish to exit the game? yes ";

struct PromptRun {
    test::Stack stack;
    Prompts prompts{stack.speech, stack.sound, stack.waits};
    Bot bot{stack.sim()};
    PromptRun() {
        stack.sim().SetTimeLimit(600);
        prompts.dataFolder = stack.world.sim->folders().documents;
        prompts.RegisterHotKeys();
    }
    std::vector<std::string> spoken() const { return stack.world.sim->Spoken(); }
    size_t Count(const std::string& text) const {
        auto s = spoken();
        return static_cast<size_t>(std::count(s.begin(), s.end(), text));
    }
};

TEST(YesNo, KeysOfThePattern) {
    struct Case {
        std::vector<int> keys;
        int answer;
        size_t asked;  // times the whole question was spoken
    };
    const std::vector<Case> cases = {
        {{kEnter}, kYes, 1},
        {{kDown, kDown, kEnter}, kYes, 1},
        {{kDown, kEnter}, kNo, 1},
        {{kUp, kEnter}, kNo, 1},
        {{Key('n')}, kNo, 1},
        {{Key('y')}, kYes, 1},
        // An unknown key is echoed and the question starts again with its default.
        {{kDown, Key('x'), kEnter}, kYes, 2},
        // F1 repeats the question, the answer back at its default.
        {{kDown, kF1, kEnter}, kYes, 2},
    };
    for (const auto& c : cases) {
        PromptRun run;
        run.bot.OnSay(kQuestion, c.keys[0]);
        for (size_t i = 1; i < c.keys.size(); ++i) run.bot.After(0.3, c.keys[i]);
        run.prompts.afeon();
        EXPECT_TRUE(run.bot.done());
        EXPECT_EQ(run.prompts.rosterError, c.answer) << "keys: " << c.keys.size();
        EXPECT_EQ(run.Count(kQuestion), c.asked);
        if (c.keys[0] == kDown) {
            EXPECT_EQ(run.Count(" no "), 1u);
        }
    }
    // The echo of an unknown key, and none for F1.
    PromptRun run;
    run.bot.OnSay(kQuestion, Key('x')).OnSay(kQuestion, kF1).OnSay(kQuestion, kEnter);
    run.prompts.afeon();
    auto spoken = run.spoken();
    EXPECT_EQ(std::count(spoken.begin(), spoken.end(), "x"), 1);
    EXPECT_EQ(run.Count(kQuestion), 3u);
}

TEST(YesNo, SpecialKeyQuestionProposesNoOnceRead) {
    const std::string q = " Would you like to reed the special key instructions? ";
    PromptRun run;
    int flag = 0;
    // Yes: the instructions are read (a key stops them at once), then the
    // question comes again proposing no.
    run.bot.OnSay(" yes ", kEnter).OnSay(Prompts::kSpecialKeys, kSpace, 1.0).OnSay(" no ", kEnter);
    run.prompts.askspeckeys(flag);
    EXPECT_TRUE(run.bot.done());
    EXPECT_EQ(flag, 1);
    const auto& us = run.stack.sim().utterances();
    auto reading = std::find_if(us.begin(), us.end(), [](const auto& u) { return u.text == Prompts::kSpecialKeys; });
    ASSERT_NE(reading, us.end());
    EXPECT_TRUE(reading->cut);
    EXPECT_LT(reading->end - reading->start, 1.2);
    auto spoken = run.spoken();
    // Question, default answer; question, new default.
    auto first = std::find(spoken.begin(), spoken.end(), q);
    ASSERT_NE(first, spoken.end());
    EXPECT_EQ(*(first + 1), " yes ");
    auto second = std::find(first + 1, spoken.end(), q);
    ASSERT_NE(second, spoken.end());
    EXPECT_EQ(*(second + 1), " no ");
}

TEST(YesNo, RulesQuestionKeepsItsDefaultAfterAReading) {
    PromptRun run;
    host::WriteFileAtomic(run.prompts.dataFolder + "/BaseballRules.txt", "Three strikes\r\nand you are out.\r\nNine innings.");
    const std::string q = " Would you like to read the baseball rules dot T X T file? no ";
    run.bot.OnSay(q, Key('y')).OnSay(q, kEnter);
    run.prompts.askreadbbrtxt(1);
    EXPECT_TRUE(run.bot.done());
    // The lines are read as one run-on text.
    EXPECT_EQ(run.Count("Three strikesand you are out.Nine innings."), 1u);
    EXPECT_EQ(run.Count(q), 2u);
}

TEST(Help, MissingOrEmptyRulesAndTheHotKeys) {
    {
        PromptRun run;
        run.prompts.readbbrtxt();
        EXPECT_EQ(run.Count(" Sorry, but I could not find the  baseball rules dot t x t file.  Please contact Pellwick. "), 1u);
    }
    {
        PromptRun run;
        host::WriteFileAtomic(run.prompts.dataFolder + "/baseballrules.txt", "");
        run.prompts.readbbrtxt();  // must end
        EXPECT_EQ(run.Count(" Sorry, but I could not find the  baseball rules dot t x t file.  Please contact Pellwick. "), 0u);
    }
    {
        // F8 and F9 at a key wait: the reading, then the wait's key is empty.
        PromptRun run;
        host::WriteFileAtomic(run.prompts.dataFolder + "/baseballrules.txt", "Play ball.\r\n");
        run.bot.After(0.5, kF8).OnSay(Prompts::kSpecialKeys, kSpace, 1.0).After(4.0, kF9);
        EXPECT_EQ(run.stack.waits.getkey().code, "");
        EXPECT_EQ(run.stack.waits.getkey().code, "");
        EXPECT_EQ(run.Count("Play ball."), 1u);
    }
}

// The roster check's dialogue on a simulated player.
struct RosterRun : PromptRun {
    data::Rosters rosters;
    RosterCheck check{stack.speech, stack.sound, stack.keys, prompts, rosters};
    std::string path(data::RosterFile f) const { return prompts.dataFolder + "/" + data::Layout(f).fileName; }
};

TEST(RosterCheck, GoodFileIsReadWithoutAWord) {
    RosterRun run;
    // One name changed, still five of them.
    std::string mine = data::DefaultRosterText(data::RosterFile::StartingPitchers);
    const size_t first = mine.find("\r\n") + 2;
    mine.replace(first, mine.find("\r\n", first) - first, "Zed Quill");
    host::WriteFileAtomic(run.path(data::RosterFile::StartingPitchers), mine);
    run.check.getstartingpitchers();
    EXPECT_TRUE(run.spoken().empty());
    EXPECT_EQ(run.rosters.startersTeam1[1], "Zed Quill");
    EXPECT_EQ(run.prompts.rosterError, 0);
}

TEST(RosterCheck, CorruptFileAnswers) {
    const std::string q = " The baseball relief pitchers dot T X T file seems to be corrupt.  Would you like me to "
                          "rewrite the original file? Yes ";
    {
        // Yes: rewritten, " Done. ", and the crowd comes back when the player stays.
        RosterRun run;
        host::WriteFileAtomic(run.path(data::RosterFile::ReliefPitchers), "your relief pitchers:\r\n");
        run.bot.OnSay(q, Key('y')).OnSay(kQuestion, Key('n'));
        run.check.getreliefpitchers();
        EXPECT_EQ(host::ReadText(run.path(data::RosterFile::ReliefPitchers)),
                  data::DefaultRosterText(data::RosterFile::ReliefPitchers));
        EXPECT_EQ(run.Count(" Done. "), 1u);
        EXPECT_EQ(run.prompts.rosterError, kNo);
        EXPECT_EQ(run.stack.sound.crowdOn, 1);
    }
    {
        // Up, then Enter: no. The file stays as it was, the defaults are used.
        RosterRun run;
        const std::string bad = "Your relief pitchers:\r\nOnly One: old\r\n";
        host::WriteFileAtomic(run.path(data::RosterFile::ReliefPitchers), bad);
        run.bot.OnSay(q, kUp).OnSay(" no ", kEnter).OnSay(kQuestion, kEnter);
        run.check.getreliefpitchers();
        EXPECT_EQ(host::ReadText(run.path(data::RosterFile::ReliefPitchers)), bad);
        data::Rosters defaults;
        data::SetDefaults(data::RosterFile::ReliefPitchers, defaults);
        EXPECT_EQ(run.rosters.bullpenTeam1, defaults.bullpenTeam1);
        EXPECT_EQ(run.rosters.bullpenTeam2, defaults.bullpenTeam2);
        EXPECT_EQ(run.prompts.rosterError, kYes);
        EXPECT_EQ(run.Count(" Done. "), 0u);
        EXPECT_EQ(run.stack.sound.crowdOn, 0);
    }
    {
        // F8 is not a hot key here: it asks again. A missing file is corrupt too.
        RosterRun run;
        run.bot.OnSay(q, kF8).OnSay(q, Key('n')).OnSay(kQuestion, Key('n'));
        run.check.getreliefpitchers();
        EXPECT_TRUE(run.bot.done());
        EXPECT_EQ(run.Count(Prompts::kSpecialKeys), 0u);
        EXPECT_FALSE(host::FindFile(run.prompts.dataFolder, "baseballreliefpitchers.txt"));
    }
}

TEST(RosterCheck, ARewriteThatFailsIsNotReportedDone) {
    RosterRun run;
    // A folder where the file should be: it can be neither read nor replaced.
    host::MakeFolder(run.path(data::RosterFile::Batters) + "/x");
    run.bot.OnSay(" The baseball batters dot T X T file seems to be corrupt.  Would you like me to rewrite the original "
                  "file? Yes ",
                  kEnter)
        .OnSay(kQuestion, Key('n'));
    run.check.getbatters();
    EXPECT_TRUE(run.bot.done());
    EXPECT_EQ(run.Count(" Done. "), 0u);
    EXPECT_EQ(run.Count(" Sorry, I could not rewrite the file. "), 1u);
}

}  // namespace
}  // namespace sw
