#include "game/game.h"

namespace sw {

GameProgram::GameProgram(host::Host& h)
    : host_(h),
      console_(h, Variant::Game()),
      prompts_(speech_, sound_, waits_),
      pitch_(sound_, keys_),
      practice_(speech_, sound_, waits_, pitch_),
      rosterCheck_(speech_, sound_, keys_, prompts_, rosters_),
      plays_(gs_, words_, rosters_, speech_, sound_, waits_, pitch_),
      startUp_(h, console_.variant, waits_, speech_, sound_, dialogs_, prompts_, practice_, rosterCheck_, rosters_, gs_, files_),
      broadcast_(gs_, words_, speech_, sound_, keys_, files_),
      bullpen_(gs_, rosters_, speech_, sound_, waits_, plays_, broadcast_),
      gameEnd_(gs_, speech_, sound_, waits_, plays_.status, files_),
      pauseMenu_(gs_, rosters_, speech_, sound_, waits_, files_),
      inningLoop_(gs_, rosters_, speech_, sound_, keys_, plays_, bullpen_, broadcast_, gameEnd_, pauseMenu_),
      exit_(h, keys_, speech_, sound_, files_),
      optionsMenu_(h, speech_, sound_, keys_) {
    RegisterKeys();
}

int RunGame(host::Host& host) {
    GameProgram program(host);
    return program.Run();
}

void GameProgram::RegisterKeys() {
    // Tested in this order, each on the key as the previous one left it.
    waits_.AddHotKey("17", [this] { dialogs_.adjrate(); });
    waits_.AddHotKey("119", [this] { prompts_.speckeys(); });
    waits_.AddHotKey("120", [this] { prompts_.readbbrtxt(); });
    waits_.AddHotKey("121", [this] { optionsMenu_.Run(options_.values, [this] { options_.Save(); }); });
    waits_.AddHotKey("122", [this] {
        // Kept before the crowd returns: a session that ends in that wait
        // still has the player's levels.
        const Dialogs::Levels chosen = dialogs_.adjvol();
        files_.WriteVolumes(chosen.wave, chosen.speech);
        sound_.starter();
    });
    waits_.AddHotKey("123", [this] { dialogs_.changevoice(); });
    waits_.AddHotKey("192", [this] { ReadBack(broadcast_.lastHalfSummary); });
    waits_.AddHotKey("220", [this] { ReadBack(startUp_.logHeader); });
    waits_.AddHistoryKeys();
    plays_.status.pauseMenu = [this] { pauseMenu_.Run(); };
    startUp_.dataFolderKnown = [this] {
        options_.Load(files_.folder);
        optionsMenu_.ApplyAtStart(options_.values);
    };
}

void GameProgram::ReadBack(const std::string& text) {
    keys_.clk();
    if (text.empty()) return;
    sound_.stopdrums();
    sound_.stopper();
    keys_.dy(0.3);
    speech_.say3(text);
    keys_.dy(0.3);
    sound_.starter();
    sound_.playdrums();
    keys_.clk();
}

int GameProgram::Run() {
    try {
        startUp_.Run();
        broadcast_.extraCommercials = startUp_.extraCommercials;
        words_.Fill();
        inningLoop_.Play();
    } catch (const RunEnds& end) {
        ended = Settle(end.why);
    }
    exit_.Run(*ended, startUp_.settingsLoaded ? VoiceSettings::Loaded : VoiceSettings::NotLoaded);
    return *ended == Leave::StartUpFailure ? 1 : 0;
}

// What a run that ends must still do before the exit sequence.
Leave GameProgram::Settle(Leave why) {
    if (why != Leave::SessionEnded) return why;
    speech_.stopspeech();
    // Outside the decisions of a pitch (a start-up question, the names, the
    // coin, the offer after a game) nothing lives only in memory, and the
    // program leaves as it is.
    if (!inningLoop_.atDecision()) return why;
    // At a decision the player could have chosen "save and exit", so the
    // game record is whole: it is kept the same way.
    pauseMenu_.SaveAndExit();
    return Leave::SessionEndedMidGame;
}

}  // namespace sw
