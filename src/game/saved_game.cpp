#include "game/saved_game.h"

namespace sw {

namespace {

// Calls `f(gameField, savedField)` for every field the file holds.
template <typename Game, typename Rosters, typename Saved, typename F>
void EachField(Game& gs, Rosters& rosters, Saved& s, F f) {
    f(gs.saveMarker, s.saveMarker);
    for (int t = 1; t <= 2; ++t) {
        f(gs.teamName[t], s.teamName[t]);
        f(gs.runs[t], s.runs[t]);
        f(gs.hits[t], s.hits[t]);
        f(gs.leftOnBase[t], s.leftOnBase[t]);
    }
    f(gs.managerName, s.managerName);
    f(gs.inning, s.inning);
    f(gs.half, s.half);
    f(gs.battingTeam, s.battingTeam);
    f(gs.homeTeam, s.homeTeam);
    f(gs.visitingTeam, s.visitingTeam);
    f(gs.outs, s.outs);
    f(gs.balls, s.balls);
    f(gs.strikes, s.strikes);
    f(gs.runnerOnFirst, s.runnerOnFirst);
    f(gs.runnerOnSecond, s.runnerOnSecond);
    f(gs.runnerOnThird, s.runnerOnThird);
    f(gs.runnersOn, s.runnersOn);
    f(gs.contactHandicap, s.contactHandicap);
    f(gs.bullpenCountTeam1, s.bullpenCountTeam1);
    f(rosters.bullpenTeam1, s.bullpenTeam1);
    f(gs.bullpenCountTeam2, s.bullpenCountTeam2);
    f(rosters.bullpenTeam2, s.bullpenTeam2);
    f(gs.runTally, s.runTally);
    f(gs.hitTally, s.hitTally);
    f(gs.grandSlamTally, s.grandSlamTally);
    f(gs.homeRunTally, s.homeRunTally);
    f(gs.tripleTally, s.tripleTally);
    f(gs.doubleTally, s.doubleTally);
    f(gs.walkTally, s.walkTally);
    f(gs.hitBatterTally, s.hitBatterTally);
    f(gs.stolenBaseTally, s.stolenBaseTally);
    f(gs.pickoffTally, s.pickoffTally);
    f(gs.caughtStealingTally, s.caughtStealingTally);
    f(gs.doublePlayTally, s.doublePlayTally);
    f(gs.strikeoutTally, s.strikeoutTally);
}

}  // namespace

data::SavedGame SavedGameOf(const GameState& gs, const data::Rosters& rosters) {
    data::SavedGame s;
    EachField(gs, rosters, s, [](const auto& game, auto& saved) { saved = game; });
    return s;
}

void RestoreSavedGame(const data::SavedGame& saved, GameState& gs, data::Rosters& rosters) {
    EachField(gs, rosters, saved, [](auto& game, const auto& file) { game = file; });
}

data::SeriesRecord SeriesRecordOf(const GameState& gs) {
    data::SeriesRecord rec;
    rec.seriesOpenerHome = gs.seriesOpenerHome;
    rec.seriesWinsTeam1 = gs.seriesWinsTeam1;
    rec.seriesWinsTeam2 = gs.seriesWinsTeam2;
    rec.teamName1 = gs.teamName[1];
    rec.managerName = gs.managerName;
    rec.teamName2 = gs.teamName[2];
    return rec;
}

}  // namespace sw
