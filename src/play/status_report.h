// The situation spoken on demand: the six items of the status report, the
// batter read-out, and the read-key step of the game with its status keys.
#pragma once

#include "data/rosters.h"
#include "play/play_deps.h"

#include <functional>
#include <string>

namespace sw {

class StatusReport {
public:
    StatusReport(const PlayDeps& d, const data::Rosters& rosters);

    enum Item { kInning = 1, kTeamAtBat, kCount, kOuts, kBases, kScore };

    // Speaks the report from `item` to the end.
    void Report(int item);
    // Speaks that item alone.
    void ReportOne(int item);
    // The outs alone (" There's 1 out"), as after every out.
    void OutsReadOut();
    // " There's" + outs + " out" (+ "s").
    std::string OutsSentence() const;
    // The batting team's batter at its batting-order position.
    void BatterReadOut();

    // The read-key step: waits for a key, answering F1 to F7 and Escape, and
    // returns the key it hands back; its digit stays in menuChoice().
    Key ReadKey();
    // The digit of the last key the read-key step handed back (the key's
    // code less 48): the choice of a pitch or of a base.
    int menuChoice() const { return menuChoice_; }
    // The pause menu, supplied by the game: it returns when the player goes
    // back to the game and ends the run (RunEnds) when the game is left. It
    // stays a hook because the pick-off's base question (play/) waits here
    // and resumes after the menu.
    std::function<void()> pauseMenu;

private:
    int menuChoice_ = 0;
    std::string ItemText(int item) const;

    GameState& gs_;
    const WordTables& words_;
    Speech& speech_;
    Keys& keys_;
    KeyWaits& waits_;
    const data::Rosters& rosters_;
};

}  // namespace sw
