// Fouls: the eleven descriptions, the history that keeps them from repeating,
// and the strike a foul counts. The commentary is checked where the foul
// leaves it for the narration.
#include "play_world.h"

#include <gtest/gtest.h>

#include <set>

namespace sw {
namespace {

using test::Draw;
using test::PlayWorld;

TEST(Fouls, AHandfulOfDescriptionsAndTheStrike) {
    struct Case {
        int choice, strikes;
        std::deque<double> more;  // the draws after the choice
        int kind;
        std::string first, second, third;
    };
    const std::string pop = " it's a high pop up, foul, and out of play to the ", hurt = " that must have hurt";
    const std::vector<Case> cases = {
        {1, 0, {Draw(3, 2), Draw(2, 1)}, 2, pop + " right ", "", ""},
        {4, 1, {}, 1, " the pitch was hit straight up in the air",
         " the catcher is waiting for the ball to come down but it is drifting ", " and into the stands it goes"},
        {7, 1, {Draw(2, 1), Draw(2, 1)}, 1, " it's a line drive into the ", "Owls dug out", ""},  // either dugout
        {7, 2, {Draw(2, 2), Draw(2, 2)}, 2, " it's a line drive into the ", "Hawks dug out", ""},
        {9, 2, {Draw(3, 2)}, 4, "I think that foul tip bounced up and hit the batter on the elbow", hurt, ""},
        {11, 2, {}, 6, "I don't even want to tell you where that foul ball hit the catcher", hurt + " real bad", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.first);
        PlayWorld w;
        w.gs.strikes = c.strikes;
        std::deque<double> draws = c.more;
        draws.push_front(Draw(11, c.choice));
        w.Force(draws);
        w.plays.fouls.Foul();
        EXPECT_EQ(w.pv().foulChoice, c.choice);
        EXPECT_EQ(w.pv().foulKind, c.kind);
        EXPECT_EQ(w.pv().firstFragment, c.first);
        EXPECT_EQ(w.pv().secondFragment, c.second);
        EXPECT_EQ(w.pv().thirdFragment, c.third);
        EXPECT_EQ(int(w.gs.strikes), c.strikes < 2 ? c.strikes + 1 : 2);  // a foul never makes strike three
        EXPECT_EQ(int(w.gs.outs), 0);
    }
}

// The foul tips and the fouls that hit somebody, as the player hears them:
// the tip's sounds and its foul call come first, then the one sentence.
// A plain foul beside them: its call follows the words.
TEST(Fouls, TheTipsAndTheFoulsThatHitSomebodyAsHeard) {
    const std::string hurt = " that must have hurt";
    const struct {
        int choice;
        std::deque<double> more;  // the draws after the choice
        std::vector<std::string> heard;
    } cases[] = {
        {2, {}, {"ft@2300/0", "foulball@2700/0", "say:There's a foul tip off of the catchers shin guard"}},
        {8, {Draw(3, 1)},
         {"ft@2300/0", "ouch@2500/0", "foulball@2700/0",
          "say: it looked like that foul ball bounced off of the batters foot" + hurt}},
        {9, {Draw(3, 3)},
         {"ft@2300/0", "ouch@2500/0", "foulball@2700/0",
          "say:I think that foul tip bounced up and hit the batter on the thigh" + hurt}},
        {10, {Draw(3, 2)},
         {"ft@2300/0", "ouch@2500/0", "foulball@2700/0", "say:That foul tip caught the catcher square in the mask" + hurt}},
        {11, {},
         {"ft@2300/0", "hitcatch@2500/0", "foulball@2700/0",
          "say:I don't even want to tell you where that foul ball hit the catcher" + hurt + " real bad"}},
        {3, {}, {"lh@2300/0", "say:the pitch was fouled straight back", "foulball@2700/0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.choice);
        PlayWorld w;
        w.gs.strikes = 1;
        std::deque<double> draws = c.more;
        draws.push_front(Draw(11, c.choice));
        w.Force(draws);
        w.plays.fouls.Foul();
        EXPECT_EQ(w.Timeline(), c.heard);
        EXPECT_EQ(int(w.gs.strikes), 2);
        EXPECT_EQ(int(w.gs.outs), 0);
    }
}

TEST(Fouls, HistoryKeepsTheLastThreeOut) {
    PlayWorld w;
    w.pv().recentFouls = {3, 5, 7};
    w.Force({Draw(11, 3), Draw(11, 5), Draw(11, 7), Draw(11, 9), Draw(11, 9), Draw(11, 7)});
    w.plays.fouls.Foul();
    EXPECT_EQ(w.pv().recentFouls, (std::array<int, 3>{9, 3, 5}));
    w.plays.fouls.Foul();  // 7 has just left the history
    EXPECT_EQ(w.pv().recentFouls, (std::array<int, 3>{7, 9, 3}));

    // A generator stuck on a value of the history still ends the draw.
    w.pv().recentFouls = {1, 2, 4};
    w.Force(std::deque<double>(500, Draw(11, 2)));
    w.plays.fouls.Foul();
    EXPECT_EQ(w.pv().foulChoice, 3);

    // Over a long run no description repeats within four fouls.
    PlayWorld run;
    std::vector<int> seen;
    for (int i = 0; i < 400; ++i) {
        run.plays.fouls.Foul();
        seen.push_back(run.pv().foulChoice);
    }
    for (size_t i = 3; i < seen.size(); ++i)
        ASSERT_EQ(std::set<int>(seen.begin() + long(i) - 3, seen.begin() + long(i) + 1).size(), 4u) << i;
}

}  // namespace
}  // namespace sw
