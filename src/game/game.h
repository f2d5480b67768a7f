// The game program: its objects, the start-up that leads to the first pitch,
// and the one exit sequence every way out of the program runs through.
#pragma once

#include "data/game_files.h"
#include "data/rosters.h"
#include "record/game_state.h"
#include "input/keys.h"
#include "input/random.h"
#include "input/variant.h"
#include "play/pitch.h"
#include "play/plays.h"
#include "practice/practice.h"
#include "prompts/prompts.h"
#include "prompts/roster_check.h"
#include "speech/dialogs.h"
#include "speech/sound.h"
#include "speech/speech.h"

#include <string>

namespace sw {

class GameProgram {
public:
    explicit GameProgram(host::Host& host);

    // The whole game routine, from the first second to the exit sequence.
    // Returns the program's exit status.
    int Run();

    host::Host& host;
    Variant variant;
    Random random;
    Keys keys;
    Speech speech;
    Sound sound;
    Dialogs dialogs;
    Prompts prompts;
    Pitch pitch;
    Practice practice;
    data::Rosters rosters;
    RosterCheck rosterCheck;
    GameState gs;
    WordTables words;
    Plays plays;

    std::string dataFolder;
    std::string takeWave = "take";
    std::string logHeader;        // the current game's opening lines, for the backslash key
    std::string lastHalfSummary;  // the last half-inning summary, for the grave accent key
    int extraCommercials = 0;
    int closingAllowed = 0;
    bool settingsLoaded = false;  // the voice settings are known and belong in baseball.cfg
    bool endNow = false;  // a close request after the exit sequence let the window close

    // Where the game has got to: for the tests and for the inning loop to come.
    enum class Start { None, NewSeries, NextGame, Resumed };
    Start start = Start::None;

    // Status keys that work at any key wait.
    void StpHig() { ReadBack(lastHalfSummary); }
    void sayss() { ReadBack(logHeader); }

    // The exit sequence. `afterStartupFailure` joins it where the start-up
    // failures do: after the message box, nothing is stopped or played.
    void ExitSequence(bool afterStartupFailure = false);

private:
    void RegisterHotKeys();
    std::string DataPath(const std::string& name) const;
    bool LoadSettings();
    bool ReadRosters();
    void PlayTitle();
    void ReadSeriesRecord();
    bool DecideFromSavedGame();  // true: a resumed game
    void RestoreSavedGame(const data::SavedGame& saved);
    void Introduction();
    void AskNames();
    void AskName(const std::string& question, const std::string& before, const std::string& after, std::string& name);
    void FlipCoin();
    void NextGameOfSeries();
    void Announce();
    void ReadBack(const std::string& text);
};

int RunGame(host::Host& host);

// The four umpires, in the order they are introduced.
extern const char* const kUmpires[4];

}  // namespace sw
