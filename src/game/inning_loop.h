// The game pitch by pitch: each turn announces what is new, asks the player
// for a decision, throws the pitch and settles what it changed; at three outs
// the half-inning ends and the sides switch, until the game is over.
#pragma once

#include "game/broadcast.h"
#include "game/bullpen.h"
#include "game/game_end.h"
#include "game/pause_menu.h"
#include "play/plays.h"

namespace sw {

class InningLoop {
public:
    InningLoop(GameState& gs, const data::Rosters& rosters, Speech& speech, Sound& sound, Keys& keys, Plays& plays,
               Bullpen& bullpen, Broadcast& broadcast, GameEnd& gameEnd, PauseMenu& pauseMenu);

    // How the game left the loop. SessionEnded: the session ended while the
    // game waited for the player, and the game was saved as "save and exit"
    // saves it.
    enum class End { GameOver, Called, Left, SessionEnded };
    End Play();

    // Sets every half-inning tally and `sameBatter` to 0.
    void ResetTallies();

private:
    // One pitch and what follows from it; an End when the loop is over.
    std::optional<End> OnePitch();
    std::optional<End> EndOfHalf();
    bool BatterPrompt();
    void StartingPitchers();
    void Chant();
    void NewBatter();
    void WaitWhileSpeaking();

    GameState& gs_;
    const data::Rosters& rosters_;
    PlayValues& pv_;
    Speech& speech_;
    Sound& sound_;
    Keys& keys_;
    Plays& plays_;
    Bullpen& bullpen_;
    Broadcast& broadcast_;
    GameEnd& gameEnd_;
    PauseMenu& pauseMenu_;
};

}  // namespace sw
