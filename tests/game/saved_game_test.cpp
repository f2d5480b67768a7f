// Saving the game record and reading it back gives the same game.
#include "game/saved_game.h"
#include "host/files.h"
#include "support/sim_run.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

TEST(SavedGame, GameRecordSurvivesASaveAndAResume) {
    GameState gs;
    data::Rosters rosters;
    gs.saveMarker = 1;
    gs.teamName[1] = "Reds";
    gs.teamName[2] = "Owls, of course";
    gs.managerName = "kim";
    // Distinct values in every saved number, so a field that is not carried,
    // or carried into the wrong place, shows.
    int v = 1;
    for (Num* n : {&gs.runs[1], &gs.runs[2], &gs.hits[1], &gs.hits[2], &gs.leftOnBase[1], &gs.leftOnBase[2],
                   &gs.runTally, &gs.hitTally, &gs.grandSlamTally, &gs.homeRunTally, &gs.tripleTally, &gs.doubleTally,
                   &gs.walkTally, &gs.hitBatterTally, &gs.stolenBaseTally, &gs.pickoffTally, &gs.caughtStealingTally,
                   &gs.doublePlayTally, &gs.strikeoutTally})
        *n = 10 + v++;
    gs.inning = 7, gs.half = 2, gs.battingTeam = 1, gs.homeTeam = 1, gs.visitingTeam = 2;
    gs.outs = 2, gs.balls = 3, gs.strikes = 1, gs.runnerOnThird = 1, gs.runnersOn = 1, gs.contactHandicap = -3;
    gs.bullpenCountTeam1 = 1;
    rosters.bullpenTeam1[1] = "Harlan Pike:  age 34, sinker";
    gs.bullpenCountTeam2 = 2;
    rosters.bullpenTeam2[1] = "Clint Smokestack Barlow";
    rosters.bullpenTeam2[2] = "Vern The Owl Hastings";

    test::TempDir dir;
    const std::string path = dir.path() + "/baseball.sav";
    ASSERT_TRUE(data::WriteSavedGame(path, SavedGameOf(gs, rosters)));
    data::SavedGame read;
    ASSERT_TRUE(data::ReadSavedGame(path, read));
    GameState back;
    data::Rosters backRosters;
    RestoreSavedGame(read, back, backRosters);

    // The file once more from what came back: the same bytes.
    const std::string again = dir.path() + "/again.sav";
    ASSERT_TRUE(data::WriteSavedGame(again, SavedGameOf(back, backRosters)));
    EXPECT_EQ(host::ReadText(again), host::ReadText(path));
    EXPECT_EQ(back.teamName[2], "Owls, of course");
    EXPECT_EQ(back.strikeoutTally, 29);
    EXPECT_EQ(back.leftOnBase[2], 16);
    EXPECT_EQ(back.contactHandicap, -3);
    EXPECT_FALSE(back.runnerOnFirst.given());
    EXPECT_EQ(backRosters.bullpenTeam1[1], "Harlan Pike:  age 34, sinker");
    EXPECT_EQ(backRosters.bullpenTeam2[2], "Vern The Owl Hastings");
}

}  // namespace
}  // namespace sw
