#include "game/pause_menu.h"

#include "data/game_files.h"

namespace sw {

PauseMenu::PauseMenu(GameState& gs, const data::Rosters& rosters, Speech& speech, Sound& sound, KeyWaits& waits,
                     const PlayerFiles& files)
    : gs_(gs), rosters_(rosters), speech_(speech), sound_(sound), waits_(waits), keys_(waits.keys()), files_(files) {}

const char* PauseMenu::ItemText(int item) {
    static const char* const kItems[4] = {" Select. 1. save and exit game ", " 1. save and exit game ",
                                          " 2. exit game ", " 3. return to game"};
    return item >= 0 && item <= 3 ? kItems[item] : "";
}

void PauseMenu::Run() {
    bool intro = true;
    for (;;) {
        // F1 and a key the menu does not know start it again from the top,
        // the transition sound and its pause included.
        if (intro) {
            sound_.stopdrums();
            sound_.stopper();
            pauseChoice = 1;
            speech_.say2(ItemText(0));
            intro = false;
        }
        const Key key = waits_.getkey();
        const std::string& code = key.code;
        const std::string& ch = key.ch;
        if (code == "13") break;
        if (code == "38") {
            pauseChoice = pauseChoice == 1 ? 3 : pauseChoice - 1;
            speech_.say2(ItemText(pauseChoice));
        } else if (code == "40") {
            pauseChoice = pauseChoice == 3 ? 1 : pauseChoice + 1;
            speech_.say2(ItemText(pauseChoice));
        } else if (code == "112") {
            intro = true;
        } else if (ch == "1" || ch == "2" || ch == "3") {
            pauseChoice = ch[0] - '0';
            speech_.say2(ItemText(pauseChoice));
        } else {
            speech_.saykey(key);
            intro = true;
        }
    }

    waits_.AnswerNextKeyAtOnce();
    switch (pauseChoice) {
        case 2:
            chosen = Choice::ExitGame;
            throw RunEnds{Leave::ExitWithoutSaving};
        case 3:
            chosen = Choice::ReturnToGame;
            sound_.starter();
            return;
        default:
            chosen = Choice::SaveAndExit;
            SaveAndExit();
            throw RunEnds{Leave::SaveAndExit};
    }
}

void PauseMenu::SaveAndExit() {
    gs_.saveMarker = data::kMarkerSavedGame;
    files_.WriteSavedGame(gs_, rosters_);
    speech_.say(" game saved ");
    keys_.dy(0.2);
}

}  // namespace sw
