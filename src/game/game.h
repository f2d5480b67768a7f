// The game program: it composes the game's objects and runs a program run
// from the start-up through the innings to the one exit sequence.
#pragma once

#include "console/console.h"
#include "console/options_menu.h"
#include "data/options_file.h"
#include "data/rosters.h"
#include "game/broadcast.h"
#include "game/bullpen.h"
#include "game/exit_sequence.h"
#include "game/game_end.h"
#include "game/inning_loop.h"
#include "game/pause_menu.h"
#include "game/player_files.h"
#include "game/start_up.h"
#include "input/leave.h"
#include "play/pitch.h"
#include "play/plays.h"
#include "practice/practice.h"
#include "prompts/prompts.h"
#include "prompts/roster_check.h"
#include "record/game_state.h"

namespace sw {

class GameProgram {
public:
    explicit GameProgram(host::Host& host);

    // The whole game routine, from the first second to the exit sequence.
    // Returns the program's exit status.
    int Run();

    // The parts of the game, for the tests that watch a run.
    GameState& state() { return gs_; }
    Keys& keys() { return keys_; }
    KeyWaits& waits() { return waits_; }
    Speech& speech() { return speech_; }
    Sound& sound() { return sound_; }
    data::Rosters& rosters() { return rosters_; }
    StartUp& startUp() { return startUp_; }
    Broadcast& broadcast() { return broadcast_; }
    PauseMenu& pauseMenu() { return pauseMenu_; }
    GameEnd& gameEnd() { return gameEnd_; }
    const InningLoop& inningLoop() const { return inningLoop_; }
    const PlayValues& playValues() const { return plays_.pv; }
    ExitSequence& exitSequence() { return exit_; }
    // The player's options as read from baseball.opt and changed since.
    const data::PlayerOptions& options() const { return options_.values; }
    int latencyMs() const { return options_.latencyMs(); }
    // Why the last Run ended; unset before it ends.
    std::optional<Leave> ended;

private:
    void RegisterKeys();
    void ReadBack(const std::string& text);
    Leave Settle(Leave why);

    host::Host& host_;
    Console console_;
    Keys& keys_ = console_.keys;
    Speech& speech_ = console_.speech;
    Sound& sound_ = console_.sound;
    KeyWaits& waits_ = console_.waits;
    Dialogs& dialogs_ = console_.dialogs;
    Prompts prompts_;
    Pitch pitch_;
    Practice practice_;
    data::Rosters rosters_;
    RosterCheck rosterCheck_;
    GameState gs_;
    WordTables words_;
    PlayerFiles files_;
    Plays plays_;
    StartUp startUp_;
    Broadcast broadcast_;
    Bullpen bullpen_;
    GameEnd gameEnd_;
    PauseMenu pauseMenu_;
    InningLoop inningLoop_;
    ExitSequence exit_;
    data::OptionsFile options_;
    OptionsMenu optionsMenu_;
};

int RunGame(host::Host& host);

}  // namespace sw
