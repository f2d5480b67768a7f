// Yes/no questions, the help readings (F8, F9) and the question whether to
// leave the game.
#pragma once

#include "speech/key_waits.h"
#include "speech/sound.h"
#include "speech/speech.h"

#include <string>

namespace sw {

inline constexpr int kYes = 1;
inline constexpr int kNo = 2;

class Prompts {
public:
    Prompts(Speech& speech, Sound& sound, KeyWaits& waits);

    // The folder of the rules file; set once the data folder is known.
    std::string dataFolder;
    // The answer of afeon: 1 leave the game, 2 go on; 0 before it is asked.
    int rosterError = 0;

    enum class Wait { WithHotKeys, NoHotKeys };

    // One turn of the yes/no pattern: `prompt` (ending in the default answer,
    // " yes " or " no ") is queued, arrows flip the answer, Enter accepts it,
    // "y" and "n" answer at once. Returns kYes or kNo, or 0 when the question
    // must start again (F1, or a key the pattern does not know, which is echoed).
    int AskOnce(const std::string& prompt, int defaultAnswer, Wait wait = Wait::WithHotKeys);
    // The whole pattern: asks again until answered.
    int Ask(const std::string& prompt, int defaultAnswer, Wait wait = Wait::WithHotKeys);

    // Whether to read the rules; `flag` 0 proposes yes.
    void askreadbbrtxt(int flag);
    // Whether to read the special-key instructions; `flag` 1 proposes no, and
    // becomes 1 once they have been read.
    void askspeckeys(int& flag);
    void speckeys();
    void readbbrtxt();
    void afeon();

    // F8 and F9 as hot keys of getkey.
    void RegisterHotKeys();

    static const char* const kSpecialKeys;

private:
    Speech& speech_;
    Sound& sound_;
    KeyWaits& waits_;
    Keys& keys_;
};

}  // namespace sw
