// The pause menu Escape opens at any key wait of the game: save and exit,
// exit without saving, or return to the game.
#pragma once

#include "data/rosters.h"
#include "game/player_files.h"
#include "input/keys.h"
#include "input/leave.h"
#include "record/game_state.h"
#include "speech/key_waits.h"
#include "speech/sound.h"
#include "speech/speech.h"

namespace sw {

class PauseMenu {
public:
    PauseMenu(GameState& gs, const data::Rosters& rosters, Speech& speech, Sound& sound, KeyWaits& waits,
              const PlayerFiles& files);

    enum class Choice { None, SaveAndExit, ExitGame, ReturnToGame };

    // Runs the menu until an item is chosen with Enter. Returns when the
    // player returns to the game, and the next key then goes to the game as
    // its answer; the other items end the run with RunEnds.
    void Run();
    // Item 1's work: the game with marker 1 and its batting order written,
    // " game saved " said. Also how a session that ends keeps the game.
    void SaveAndExit();
    // What the last Run chose.
    Choice chosen = Choice::None;
    int pauseChoice = 1;

    static const char* ItemText(int item);

private:
    GameState& gs_;
    const data::Rosters& rosters_;
    Speech& speech_;
    Sound& sound_;
    KeyWaits& waits_;
    Keys& keys_;
    const PlayerFiles& files_;
};

}  // namespace sw
