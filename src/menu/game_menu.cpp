#include "menu/game_menu.h"

#include "console/console.h"
#include "console/options_menu.h"
#include "data/options_file.h"
#include "data/settings_files.h"
#include "host/files.h"
#include "input/variant.h"

#include <cstdio>
#include <string>
#include <vector>

namespace sw {

namespace {

constexpr char kIntro[] = " Game menu. Use the up and down arrows to choose, and press enter. ";
constexpr char kGoodbye[] = "Thank you for playing. Goodbye.";

struct Game {
    const char* spoken;
    const char* program;  // the program's file name in the menu's own folder
};
// The maker's games, in the order the menu reads them.
constexpr Game kGames[] = {
    {" baseball ", "baseball"},
    {" batting practice ", "batting"},
};

struct Item {
    std::string spoken;
    std::string path;  // "" for " exit "
};

class GameMenu {
public:
    explicit GameMenu(host::Host& h)
        : host_(h),
          console_(h, MenuVariant()),
          optionsMenu_(h, console_.speech, console_.sound, console_.keys) {}

    int Run();

private:
    // The practice program's keys: after Ctrl or F12 the pending key is "1",
    // and the menu reads its item again. There is no crowd here: no vendor
    // calls while the menu waits.
    static Variant MenuVariant() {
        Variant v = Variant::Batting();
        v.crowdAlways = false;
        return v;
    }
    std::vector<Item> InstalledGames() const;
    bool Start(const Item& item);
    void Release();

    host::Host& host_;
    Console console_;
    const Variant& variant_ = console_.variant;
    Keys& keys_ = console_.keys;
    Speech& speech_ = console_.speech;
    Sound& sound_ = console_.sound;
    KeyWaits& waits_ = console_.waits;
    Dialogs& dialogs_ = console_.dialogs;
    data::OptionsFile options_;
    OptionsMenu optionsMenu_;
};

std::vector<Item> GameMenu::InstalledGames() const {
    std::vector<Item> items;
    for (const Game& game : kGames) {
        auto path = host::FindFile(host_.folders().program, host_.platform().ProgramFile(game.program));
        if (path && host::FileSize(*path)) items.push_back({game.spoken, *path});
    }
    items.push_back({" exit ", ""});
    return items;
}

void GameMenu::Release() {
    sound_.ReleaseAll();
    speech_.Voice.reset();
}

// Starts the chosen game and lets the menu end; false (and the menu stays)
// when it cannot be started.
bool GameMenu::Start(const Item& item) {
    if (host_.platform().StartProgram(item.path)) {
        Release();
        return true;
    }
    std::fprintf(stderr, "vellobar: cannot start %s\n", item.path.c_str());
    speech_.say(" Sorry, I could not start" + item.spoken);
    return false;
}

int GameMenu::Run() {
    // Closing the window leaves the menu as Escape does.
    keys_.closeRequest = [this] {
        speech_.stopspeech();
        keys_.Discard();
        keys_.SetCode("27");
    };
    dialogs_.RegisterHotKeys(false);
    options_.Load(data::OptionsFolder(host_.folders()));
    optionsMenu_.ApplyAtStart(options_.values);
    waits_.AddHotKey("121", [this] { optionsMenu_.Run(options_.values, [this] { options_.Save(); }); });

    StoredVoice stored;
    if (auto cfg = data::ReadGameVoiceConfig(host_.folders())) {
        stored.haveConfig = true;
        stored.voiceIndex = cfg->voiceIndex;
        stored.speechRate = cfg->speechRate;
    }
    if (!ApplyStoredVoiceSettings(speech_, stored, variant_.defaultSpeechVolume, nullptr)) {
        host_.platform().MessageBox("Sorry but I couldn't find any voices to use\rPlease contact Pellwick");
        Release();
        return 1;
    }

    const std::vector<Item> items = InstalledGames();
    const int count = static_cast<int>(items.size());
    try {
        keys_.clk();
        for (;;) {
            speech_.say2(kIntro);
            int choice = 0;
            bool again = false;
            while (!again) {
                speech_.say2(items[choice].spoken);
                const Key key = waits_.getkey();
                const std::string& code = key.code;
                speech_.stopspeech();
                if (code == "38") {
                    choice = (choice + count - 1) % count;
                } else if (code == "40") {
                    choice = (choice + 1) % count;
                } else if (code == "112") {
                    again = true;
                } else if (code == "27" || (code == "13" && items[choice].path.empty())) {
                    speech_.say(kGoodbye);
                    Release();
                    return 0;
                } else if (code == "13") {
                    // Keys come only while the session goes on: a key wait
                    // of an ending session throws instead.
                    if (Start(items[choice])) return 0;
                } else if (code != "1") {  // "1": a hot key's dialog ended
                    speech_.saykey(key);
                }
            }
        }
    } catch (const RunEnds&) {
        // The session is ending: nothing to keep, nothing to start.
    }
    speech_.stopspeech();
    Release();
    return 0;
}

}  // namespace

int RunGameMenu(host::Host& host) {
    GameMenu menu(host);
    return menu.Run();
}

}  // namespace sw
