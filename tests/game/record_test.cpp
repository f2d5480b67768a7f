// The game record's own operations: the count, the outs, forcing the batter
// to first and turning the half over.
#include "record/game_state.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

TEST(GameRecord, TheCountAndTheOutsStopAtTheirLimits) {
    GameState gs;
    gs.balls = 3;
    gs.strikes = 1;
    gs.outs = 2;
    gs.AddBall();
    gs.AddBall();
    EXPECT_EQ(gs.balls, 4);
    gs.AddStrike(2);  // a foul
    gs.AddStrike(2);
    EXPECT_EQ(gs.strikes, 2);
    gs.AddStrike();
    gs.AddStrike();
    EXPECT_EQ(gs.strikes, 3);
    gs.AddOuts(2);  // a double play with two out makes three, not four
    EXPECT_EQ(gs.outs, 3);
    gs.NewCount();
    EXPECT_EQ(gs.balls + gs.strikes, 0);
}

TEST(GameRecord, ForcingTheBatterFillsOnlyTheFirstEmptyBase) {
    const struct {
        int first, second, third;
        std::string after;
        bool run;
    } cases[] = {
        {0, 0, 0, "100", false}, {0, 1, 0, "110", false}, {1, 0, 1, "111", false},
        {1, 0, 0, "110", false}, {1, 1, 0, "111", false}, {1, 1, 1, "111", true},
    };
    for (const auto& c : cases) {
        GameState gs;
        gs.runnerOnFirst = c.first;
        gs.runnerOnSecond = c.second;
        gs.runnerOnThird = c.third;
        EXPECT_EQ(gs.ForceBatterToFirst(), c.run) << c.after;
        EXPECT_EQ(std::to_string(gs.runnerOnFirst) + std::to_string(gs.runnerOnSecond) + std::to_string(gs.runnerOnThird),
                  c.after);
    }
}

TEST(GameRecord, TheNextHalfClearsTheHalfAndTurnsTheInningAfterTheBottom) {
    for (int half : {1, 2}) {
        GameState gs;
        gs.inning = 4;
        gs.half = half;
        gs.battingTeam = half == 1 ? 2 : 1;
        gs.outs = 3;
        gs.balls = 2;
        gs.strikes = 1;
        gs.runnersOn = 2;
        gs.pitcherRunsThisHalf = 3;
        gs.NextHalf();
        EXPECT_EQ(gs.half, 3 - half);
        EXPECT_EQ(gs.inning, half == 1 ? 4 : 5);
        EXPECT_EQ(gs.battingTeam, half == 1 ? 1 : 2);
        EXPECT_EQ(gs.outs + gs.balls + gs.strikes + gs.runnersOn + gs.pitcherRunsThisHalf, 0);
    }
}

}  // namespace
}  // namespace sw
