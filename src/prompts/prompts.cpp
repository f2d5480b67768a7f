#include "prompts/prompts.h"

#include "host/files.h"

#include <cstdio>
#include <exception>

namespace sw {

const char* const Prompts::kSpecialKeys =
    " Special key instructions. "
    "f1. say the number of balls and strikes. "
    "f2. say the number of outs. "
    "f3. say if there are runners on base. "
    "f4. say the score of the game. "
    "f5. say which inning the game is inn. "
    "f6. say who is up to bat. "
    "f7. say all of the above information. "
    "f8. reed special key instructions. "
    "f9. reed baseball rules dot t x t file. "
    "f10. player options. sound channels, a rising pitch tone, and the sound delay, "
    "which the last item measures while you press the space bar on each click. "
    "f11. adjust volume. "
    "f12.  change voice. "
    " back slash key. say series status. "
    "control key. adjust rate of speech. "
    " escape key. save and or exit game. "
    "grave accent key. repeat last half inning stats. "
    "home key. repeat the last thing said. "
    "page up and page down. go back and forth through what was said. "
    "end key. back to the newest. ";

Prompts::Prompts(Speech& speech, Sound& sound, KeyWaits& waits)
    : speech_(speech), sound_(sound), waits_(waits), keys_(waits.keys()) {}

void Prompts::RegisterHotKeys() {
    waits_.AddHotKey("119", [this] { speckeys(); });
    waits_.AddHotKey("120", [this] { readbbrtxt(); });
}

int Prompts::AskOnce(const std::string& prompt, int defaultAnswer, Wait wait) {
    int answer = defaultAnswer;
    speech_.say2(prompt);
    for (;;) {
        const Key key = wait == Wait::WithHotKeys ? waits_.getkey() : keys_.getkey2();
        speech_.stopspeech();
        const std::string& code = key.code;
        if (code == "13") return answer;
        if (code == "38" || code == "40") {
            answer = answer == kYes ? kNo : kYes;
            speech_.say2(answer == kYes ? " yes " : " no ");
            continue;
        }
        if (code == "112") return 0;
        speech_.saykey(key);
        if (key.ch == "y") return kYes;
        if (key.ch == "n") return kNo;
        return 0;
    }
}

int Prompts::Ask(const std::string& prompt, int defaultAnswer, Wait wait) {
    for (;;) {
        if (int answer = AskOnce(prompt, defaultAnswer, wait)) return answer;
    }
}

void Prompts::askreadbbrtxt(int flag) {
    keys_.dy(0.2);
    const std::string prompt =
        std::string(" Would you like to read the baseball rules dot T X T file?") + (flag == 0 ? " yes " : " no ");
    for (;;) {
        const int answer = Ask(prompt, flag == 0 ? kYes : kNo);
        keys_.clk();
        if (answer == kNo) return;
        readbbrtxt();
    }
}

void Prompts::askspeckeys(int& flag) {
    for (;;) {
        int answer = flag == 1 ? kNo : kYes;
        speech_.say2(" Would you like to reed the special key instructions? ");
        bool restart = false;
        for (;;) {
            speech_.say2(answer == kYes ? " yes " : " no ");
            const Key key = waits_.getkey();
            speech_.stopspeech();
            const std::string& code = key.code;
            if (code == "13") break;
            if (code == "38" || code == "40") {
                answer = answer == kYes ? kNo : kYes;
                continue;
            }
            if (code != "112") {
                speech_.saykey(key);
                if (key.ch == "y") {
                    answer = kYes;
                    break;
                }
                if (key.ch == "n") {
                    answer = kNo;
                    break;
                }
            }
            restart = true;
            break;
        }
        if (restart) continue;
        keys_.clk();
        if (answer == kNo) return;
        speckeys();
        flag = 1;
    }
}

void Prompts::speckeys() {
    sound_.stopdrums();
    sound_.stopper();
    keys_.dy(0.2);
    keys_.clk();
    speech_.say3(kSpecialKeys);
    sound_.starter();
    keys_.dy(0.2);
    keys_.clk();
}

void Prompts::readbbrtxt() {
    sound_.stopdrums();
    sound_.stopper();
    keys_.dy(0.2);
    auto path = host::FindFile(dataFolder, "baseballrules.txt");
    std::string text;
    bool found = false;
    if (path) {
        try {
            // Line breaks are dropped: the lines are read as one run-on text.
            for (char c : host::ReadText(*path))
                if (c != '\r' && c != '\n') text += c;
            found = true;
        } catch (const std::exception& e) {
            std::fprintf(stderr, "rules: %s\n", e.what());
        }
    }
    if (!found) {
        speech_.say(" Sorry, but I could not find the  baseball rules dot t x t file.  Please contact Pellwick. ");
        return;
    }
    keys_.clk();
    speech_.say3(text);
    sound_.starter();
    keys_.dy(0.2);
    keys_.clk();
}

void Prompts::afeon() { rosterError = Ask(" Do you wish to exit the game? yes ", kYes); }

}  // namespace sw
