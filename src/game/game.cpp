#include "game/game.h"

namespace sw {

GameProgram::GameProgram(host::Host& h)
    : host_(h),
      variant_(Variant::Game()),
      keys_(h, random_, variant_),
      speech_(h, keys_),
      sound_(h, keys_),
      dialogs_(speech_, sound_, keys_),
      prompts_(speech_, sound_, keys_),
      pitch_(sound_, keys_),
      practice_(speech_, sound_, keys_, pitch_),
      rosterCheck_(speech_, sound_, keys_, prompts_, rosters_),
      plays_(gs_, words_, rosters_, speech_, sound_, keys_, pitch_),
      startUp_(h, variant_, keys_, speech_, sound_, dialogs_, prompts_, practice_, rosterCheck_, rosters_, gs_, files_),
      broadcast_(gs_, words_, speech_, sound_, keys_, files_),
      bullpen_(gs_, rosters_, speech_, sound_, keys_, plays_, broadcast_),
      gameEnd_(gs_, speech_, sound_, keys_, plays_.status, files_),
      pauseMenu_(gs_, rosters_, speech_, sound_, keys_, files_),
      inningLoop_(gs_, rosters_, speech_, sound_, keys_, plays_, bullpen_, broadcast_, gameEnd_, pauseMenu_),
      exit_(h, keys_, speech_, sound_, files_) {
    RegisterKeys();
}

int RunGame(host::Host& host) {
    GameProgram program(host);
    return program.Run();
}

void GameProgram::RegisterKeys() {
    // Tested in this order, each on the key as the previous one left it.
    keys_.AddHotKey("17", [this] { dialogs_.adjrate(); });
    keys_.AddHotKey("119", [this] { prompts_.speckeys(); });
    keys_.AddHotKey("120", [this] { prompts_.readbbrtxt(); });
    keys_.AddHotKey("122", [this] {
        // Kept before the crowd returns: a session that ends in that wait
        // still has the player's levels.
        const Dialogs::Levels chosen = dialogs_.adjvol();
        files_.WriteVolumes(chosen.wave, chosen.speech);
        sound_.starter();
    });
    keys_.AddHotKey("123", [this] { dialogs_.changevoice(); });
    keys_.AddHotKey("192", [this] { ReadBack(broadcast_.lastHalfSummary); });
    keys_.AddHotKey("220", [this] { ReadBack(startUp_.logHeader); });
    plays_.status.pauseMenu = [this] { return pauseMenu_.Run(); };
    // Closing the window never loses a game: until the exit sequence allows
    // it, the close becomes an Escape for the key wait in progress. This runs
    // inside event delivery, so the key is cleared without yielding.
    keys_.closeRequest = [this] {
        keys_.keyCode.clear();
        keys_.keyChar.clear();
        speech_.stopspeech();
        if (exit_.closingAllowed == 1) exit_.endNow = true;
        else keys_.keyCode = "27";
    };
    // A session that ends is not asked: a key wait ends at once (Keys), and
    // once the exit sequence has let the window close, the goodbye in
    // progress is cut short as a close would cut it.
    keys_.terminateRequest = [this] {
        if (exit_.closingAllowed != 1) return;
        speech_.stopspeech();
        exit_.endNow = true;
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
    StartUp::Result started = StartUp::Result::Leave;
    try {
        started = startUp_.Run();
        if (started == StartUp::Result::Play) {
            broadcast_.extraCommercials = startUp_.extraCommercials;
            words_.Fill();
            loopEnd = inningLoop_.Play();
        }
    } catch (const Keys::Terminated&) {
        // The session ended at a key wait outside the prompts of the innings
        // (a start-up question, the names, the coin, the offer after a game):
        // nothing there lives only in memory, so the program leaves as it is.
        speech_.stopspeech();
    }
    if (started == StartUp::Result::Failure) {
        exit_.Run(true, startUp_.settingsLoaded);
        return 1;
    }
    exit_.Run(false, startUp_.settingsLoaded);
    return 0;
}

}  // namespace sw
