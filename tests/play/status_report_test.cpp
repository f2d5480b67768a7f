// The situation spoken on demand: the report's six items, the status keys at
// the read-key step, and the keys that step hands back to the game.
#include "play_world.h"
#include "support/sim_run.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

using Strings = std::vector<std::string>;
constexpr int kF1 = 112, kEscape = 27;
constexpr int kDigit5 = 53;

TEST(StatusReport, ItemsTellTheSituation) {
    test::PlayWorld w;
    w.gs.inning = 7;
    w.gs.half = 2;
    w.gs.battingTeam = 2;
    w.gs.balls = 1;
    w.gs.strikes = 1;
    w.gs.outs = 1;
    w.gs.runs[1] = 3;
    w.gs.runs[2] = 0;
    w.Bases(1, 0, 1);
    w.plays.status.Report(1);
    EXPECT_EQ(w.Said(), (Strings{" We are in the bottom of the seventh inning", " The Hawks are up to bat ",
                                 " the count is 1 ball", " 1 strike", " There's 1 out",
                                 "there are runners on first and third", " the score is Owls 3Hawks 0"}));

    // Plural for every count but 1, zero included.
    test::PlayWorld z;
    z.gs.balls = 0;
    z.gs.strikes = 2;
    z.gs.outs = 0;
    z.plays.status.ReportOne(3);
    z.plays.status.OutsReadOut();
    EXPECT_EQ(z.Said(), (Strings{" the count is 0 balls", " 2 strikes", " There's 0 outs"}));
}

TEST(StatusReport, BasesByTheRunnersOn) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"000", " the bases are empty"},           {"100", " there's a runner on first"},
        {"010", " there's a runner on second"},    {"001", " there's a runner on third"},
        {"110", "there are runners on first and second"}, {"011", "there are runners on second and third"},
        {"101", "there are runners on first and third"},  {"111", " the bases are loaded"},
    };
    for (const auto& [bases, text] : cases) {
        test::PlayWorld w;
        w.Bases(bases[0] - '0', bases[1] - '0', bases[2] - '0');
        w.plays.status.ReportOne(5);
        EXPECT_EQ(w.Said(), Strings{text}) << bases;
    }
}

TEST(ReadKey, StatusKeysAreAnsweredAndTheWaitGoesOn) {
    struct Case {
        int key;
        Strings said;
    };
    const std::vector<Case> cases = {
        {112, {" the count is 2 balls", " 1 strike"}},
        {113, {" There's 2 outs"}},
        {114, {" there's a runner on second"}},
        {115, {" the score is Owls 1Hawks 4"}},
        {116, {" We are in the top of the third inning"}},
        {117, {"Hollis Brandt  is up to bat for the Owls"}},
        {118,
         {" We are in the top of the third inning", " The Owls are up to bat ", " the count is 2 balls", " 1 strike",
          " There's 2 outs", " there's a runner on second", " the score is Owls 1Hawks 4"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        test::PlayWorld w;
        w.rosters.battersTeam1[4] = "Hollis Brandt";
        w.gs.batterUpTeam1 = 4;
        w.gs.inning = 3;
        w.gs.balls = 2;
        w.gs.strikes = 1;
        w.gs.outs = 2;
        w.gs.runs[1] = 1;
        w.gs.runs[2] = 4;
        w.Bases(0, 1, 0);
        test::Bot bot(w.sim());
        bot.After(0.1, c.key).After(0.5, kDigit5);
        const Key handed = w.plays.status.ReadKey();
        EXPECT_TRUE(bot.done());
        EXPECT_EQ(w.Said(), c.said);
        // The next key, not a status key, is handed back with its digit.
        EXPECT_EQ(handed.code, "53");
        EXPECT_EQ(w.plays.status.menuChoice(), 5);
    }
}

TEST(ReadKey, EscapeOpensThePauseMenuAndATypedAnswerBypassesTheKeys) {
    {
        // Back to the game: the wait goes on; leaving the game ends it.
        for (bool back : {true, false}) {
            test::PlayWorld w;
            int opened = 0;
            w.plays.status.pauseMenu = [&] {
                ++opened;
                if (!back) throw RunEnds{Leave::ExitWithoutSaving};
            };
            test::Bot bot(w.sim());
            bot.After(0.1, kEscape).After(0.5, kDigit5);
            if (back) w.plays.status.ReadKey();
            else EXPECT_THROW(w.plays.status.ReadKey(), RunEnds);
            EXPECT_EQ(opened, 1);
            if (back) {
                EXPECT_EQ(w.plays.status.menuChoice(), 5);
            }
        }
    }
    {
        // After "return to game" the next key is the answer, even F1.
        test::PlayWorld w;
        w.waits.AnswerNextKeyAtOnce();
        test::Bot bot(w.sim());
        bot.After(0.1, kF1);
        EXPECT_EQ(w.plays.status.ReadKey().code, "112");
        EXPECT_FALSE(w.waits.TakeAnswerAtOnce());
        EXPECT_TRUE(w.Said().empty());
    }
}

}  // namespace
}  // namespace sw
