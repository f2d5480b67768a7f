// Why a program run ends, and the exception that carries the reason from the
// step where the run ends to the one place that leaves.
#pragma once

namespace sw {

enum class Leave {
    GameOver,               // the game was won
    CalledGame,             // still tied at the twentieth inning: the game is called
    SaveAndExit,            // the pause menu's "save and exit game"
    ExitWithoutSaving,      // the pause menu's "exit game"
    DamagedRoster,          // a roster file the player would not have rewritten
    StartUpFailure,         // the waves or the voices cannot be used
    SessionEnded,           // the session ended (SIGTERM, SIGHUP) where nothing lives only in memory
    SessionEndedMidGame,    // the session ended at a decision of the game, which is saved as item 1 saves it
};

// Thrown where a run ends. It is no std::exception, so no step's error guard
// takes it for a failure and goes on.
struct RunEnds {
    Leave why;
};

}  // namespace sw
