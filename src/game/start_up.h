// The start of a program run up to the first pitch: the wave and voice
// checks, the data folder, the settings and rosters, the title, the series
// and the saved game, the introduction, the names and the coin, and the
// announcement of a new game.
#pragma once

#include "data/rosters.h"
#include "game/player_files.h"
#include "host/host.h"
#include "input/keys.h"
#include "input/leave.h"
#include "input/variant.h"
#include "practice/practice.h"
#include "prompts/prompts.h"
#include "prompts/roster_check.h"
#include "record/game_state.h"
#include "speech/dialogs.h"
#include "speech/key_waits.h"
#include "speech/sound.h"
#include "speech/speech.h"

#include <functional>
#include <string>

namespace sw {

class StartUp {
public:
    StartUp(host::Host& host, const Variant& variant, KeyWaits& waits, Speech& speech, Sound& sound, Dialogs& dialogs,
            Prompts& prompts, Practice& practice, RosterCheck& rosterCheck, data::Rosters& rosters, GameState& gs,
            PlayerFiles& files);

    // Returns when the game is ready for its first pitch. Otherwise the run
    // ends with RunEnds: Leave::StartUpFailure when the waves or the voices
    // cannot be used (after the message box), Leave::DamagedRoster when the
    // player would not have a roster file rewritten.
    void Run();

    // How the game began.
    enum class Start { None, NewSeries, NextGame, Resumed };
    Start start = Start::None;
    std::string logHeader;        // the current game's opening lines, for the backslash key
    bool settingsLoaded = false;  // the voice settings are known and belong in baseball.cfg
    std::string takeWave = "take";
    int extraCommercials = 0;     // numbered extra commercials found in the sounds folder
    // Runs once the data folder is known, before the voice settings are read.
    std::function<void()> dataFolderKnown;

private:
    int newLog_ = 0;  // the log starts afresh with this game
    bool LoadSettings();
    bool ReadRosters();
    void PlayTitle();
    bool DecideFromSavedGame();  // true: a resumed game
    void Introduction();
    void AskNames();
    void AskName(const std::string& question, const std::string& before, const std::string& after, std::string& name);
    void FlipCoin();
    void NextGameOfSeries();
    void Announce();

    host::Host& host_;
    const Variant& variant_;
    KeyWaits& waits_;
    Keys& keys_;
    Speech& speech_;
    Sound& sound_;
    Dialogs& dialogs_;
    Prompts& prompts_;
    Practice& practice_;
    RosterCheck& rosterCheck_;
    data::Rosters& rosters_;
    GameState& gs_;
    PlayerFiles& files_;
};

// The four umpires, in the order they are introduced.
extern const char* const kUmpires[4];

}  // namespace sw
