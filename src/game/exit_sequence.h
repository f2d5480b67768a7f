// The one way out of the program: thanks, silence, the voice settings
// stored, and the game menu program started when it is there.
#pragma once

#include "game/player_files.h"
#include "host/host.h"
#include "speech/sound.h"
#include "speech/speech.h"

namespace sw {

class ExitSequence {
public:
    ExitSequence(host::Host& host, Keys& keys, Speech& speech, Sound& sound, const PlayerFiles& files);

    // `afterStartupFailure` joins where the start-up failures do: after the
    // message box, nothing is stopped or played. `storeVoice`: the voice
    // settings are known and belong in baseball.cfg.
    void Run(bool afterStartupFailure, bool storeVoice);

    int closingAllowed = 0;
    bool endNow = false;  // a close request after the exit sequence let the window close

private:
    host::Host& host_;
    Keys& keys_;
    Speech& speech_;
    Sound& sound_;
    const PlayerFiles& files_;
};

}  // namespace sw
