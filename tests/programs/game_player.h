// A player for whole games on the simulated host: once the scripted steps of
// a Bot are done, it answers the game's prompts the way a person does.
#pragma once

#include "game/game.h"
#include "support/sim_run.h"

#include <functional>
#include <string>

namespace sw::test {

inline constexpr int kEnterKey = 13, kEscapeKey = 27, kSpaceKey = 32, kUpKey = 38, kDownKey = 40;

class GamePlayer {
public:
    GamePlayer(host::sim::SimHost& sim, Bot& bot, GameProgram& program);
    GamePlayer(const GamePlayer&) = delete;
    GamePlayer& operator=(const GamePlayer&) = delete;

    // The key pressed at the batter prompt (space unless told otherwise).
    std::function<int()> batterKey = [] { return kSpaceKey; };
    // Where the swing falls in the pitch sound, in percent; below 0: no swing.
    std::function<double()> swingPercent = [] { return 87.0; };
    // The key pressed at the pitch menu: the digits 1 to 7 in turn.
    std::function<int()> pitchKey;
    // The key pressed at the offer after the game.
    int offerKey = kSpaceKey;
    // Escape at a prompt of the game when this says so, then the pause menu
    // item chosen (1 save and exit, 2 exit game, 3 return to game).
    std::function<bool()> pauseNow;
    int pauseItem = 1;

    // How long after a prompt starts its key is pressed.
    double keyDelay = 0.05;
    // Runs at every tick, to watch the game.
    std::function<void()> watch;

    int prompts = 0;      // batter prompts and pitch menus answered
    int swings = 0;

private:
    void Tick();
    void Heard(const std::string& text);
    void Press(int key, double delay = 0.05);
    void PressSoon(int key);

    host::sim::SimHost& sim_;
    GameProgram& program_;
    size_t seen_ = 0;
    bool engaged_ = false;
    int swungAt_ = -1;  // the play of the pitch sound last swung at (or let go)
    int nextPitch_ = 0;
    int promptKeyAfterReturn_ = 0;
};

}  // namespace sw::test
