// The one game record every part of the game routine shares. Team 1 is always
// the player's team and team 2 the computer's; per-team arrays are indexed by
// team number (element 0 unused). Numbers that go into the saved game remember
// whether they were ever given, so a save writes exactly what the game set.
#pragma once

#include "record/number.h"

#include <algorithm>
#include <array>
#include <string>

namespace sw {

struct GameState {
    std::string teamName[3];
    std::string managerName;
    Num runs[3];
    Num hits[3];
    Num leftOnBase[3];
    Num inning, half;
    Num battingTeam, homeTeam, visitingTeam;
    Num outs, balls, strikes;
    Num runnerOnFirst, runnerOnSecond, runnerOnThird, runnersOn;
    Num batterUpTeam1, batterUpTeam2;
    Num bullpenCountTeam1, bullpenCountTeam2;
    int pitcherRunsThisHalf = 0;
    Num seriesOpenerHome;
    Num seriesWinsTeam1, seriesWinsTeam2;
    int gameNumber = 0;
    int resumedGame = 0;
    Num saveMarker;
    Num contactHandicap;
    // Half-inning tallies.
    Num runTally, hitTally, grandSlamTally, homeRunTally, tripleTally, doubleTally, stolenBaseTally, hitBatterTally,
        walkTally, strikeoutTally, pickoffTally, caughtStealingTally, doublePlayTally;

    // The batting-order slot of a team.
    Num& batterUp(int team) { return team == 1 ? batterUpTeam1 : batterUpTeam2; }

    // The count and the outs, each counted up to its limit. A foul never
    // makes strike three: it counts up to two.
    void AddBall() { if (balls < 4) balls += 1; }
    void AddStrike(int limit = 3) { if (strikes < limit) strikes += 1; }
    void AddOuts(int n = 1) { outs = std::min(3, outs + n); }
    // A new batter's count.
    void NewCount() {
        balls = 0;
        strikes = 0;
    }
    void ClearBases() {
        runnerOnFirst = 0;
        runnerOnSecond = 0;
        runnerOnThird = 0;
    }
    // Every half-inning tally to 0.
    void ResetTallies() {
        for (Num* t : {&runTally, &hitTally, &grandSlamTally, &homeRunTally, &tripleTally, &doubleTally,
                       &stolenBaseTally, &hitBatterTally, &walkTally, &strikeoutTally, &pickoffTally,
                       &caughtStealingTally, &doublePlayTally})
            *t = 0;
    }
    // The other side comes to bat: no outs, nobody on, a new count, the
    // pitcher's runs of the half forgotten, the next half (and inning).
    void NextHalf() {
        outs = 0;
        runnersOn = 0;
        NewCount();
        pitcherRunsThisHalf = 0;
        battingTeam = battingTeam == 1 ? 2 : 1;
        half = half == 1 ? 2 : 1;
        if (half == 1) inning = inning + 1;
    }

    // The batter takes first by force: only the base that becomes occupied
    // is written, the runners already on stay where they are. True when the
    // bases were loaded and a run is forced in.
    bool ForceBatterToFirst() {
        if (runnerOnFirst == 0) runnerOnFirst = 1;
        else if (runnerOnSecond == 0) runnerOnSecond = 1;
        else if (runnerOnThird == 0) runnerOnThird = 1;
        else return true;
        return false;
    }
};

// Word tables, filled before the inning loop starts.
struct WordTables {
    std::array<std::string, 20> ordinalWord;  // 1..19; 1..3 also name the bases
    std::array<std::string, 4> fieldSpoken;   // 1..3: " left", " right", " center"
    std::array<std::string, 4> fieldName;     // 1..3: "left", "center", "right"
    void Fill();
};

}  // namespace sw
