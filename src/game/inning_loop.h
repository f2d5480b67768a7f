// The game pitch by pitch: each turn announces what is new, asks the player
// for a decision, throws the pitch and settles what it changed; at three outs
// the half-inning ends and the sides switch, until the game is over.
#pragma once

#include "game/broadcast.h"
#include "game/bullpen.h"
#include "game/game_end.h"
#include "game/pause_menu.h"
#include "input/leave.h"
#include "play/plays.h"

namespace sw {

class InningLoop {
public:
    InningLoop(GameState& gs, const data::Rosters& rosters, Speech& speech, Sound& sound, Keys& keys, Plays& plays,
               Bullpen& bullpen, Broadcast& broadcast, GameEnd& gameEnd, PauseMenu& pauseMenu);

    // Plays until the game ends, and the run with it: at the game's end, a
    // called game, or the pause menu's way out, Play throws RunEnds.
    [[noreturn]] void Play();

    // The player is at a decision of this pitch (the batter prompt, the pitch
    // menu with its bull pen, the base to throw to, and what Escape or a hot
    // key opened there), where "save and exit" could have been chosen: a
    // session that ends here keeps the game that way. It stays set when the
    // run ends there.
    bool atDecision() const { return atDecision_; }
    // 1 until the first pitch of a half is under way, then 2.
    int firstBatterOfHalf() const { return firstBatterOfHalf_; }

    // Sets every half-inning tally and `sameBatter` to 0.
    void ResetTallies();

private:
    // One pitch and what follows from it.
    void OnePitch();
    void EndOfHalf();
    void BatterPrompt();
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
    bool atDecision_ = false;
    // What the loop itself keeps from pitch to pitch: the batter prompt's
    // count (its hint comes at 1, 2, 5 and 8), the half's first batter, the
    // outs made on the bases before this pitch, and the starter announced
    // for each team.
    int batPromptCount_ = 0;
    int firstBatterOfHalf_ = 1;
    int basesOutsBefore_ = 0;
    int starterShownTeam1_ = 0, starterShownTeam2_ = 0;
};

}  // namespace sw
