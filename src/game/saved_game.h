// The game as the saved-game file holds it: which fields of the game record
// and of the bullpens go into baseball.sav, in one place for saving and for
// resuming; and the series record.
#pragma once

#include "data/game_files.h"
#include "data/rosters.h"
#include "record/game_state.h"

namespace sw {

// The saved fields of the game and the bullpens.
data::SavedGame SavedGameOf(const GameState& gs, const data::Rosters& rosters);
// Puts the saved fields back into the game and the bullpens.
void RestoreSavedGame(const data::SavedGame& saved, GameState& gs, data::Rosters& rosters);

// The series record as the game holds it.
data::SeriesRecord SeriesRecordOf(const GameState& gs);

}  // namespace sw
