// The one way out of the program: thanks, silence, the voice settings
// stored, and the game menu program started when it is there. It also holds
// what closing the window and the end of the session mean while the game runs.
#pragma once

#include "game/player_files.h"
#include "host/host.h"
#include "input/leave.h"
#include "speech/sound.h"
#include "speech/speech.h"

namespace sw {

// Whether the voice settings of this run are known and belong in baseball.cfg.
enum class VoiceSettings { NotLoaded, Loaded };

class ExitSequence {
public:
    // Takes the window's close and the session's end for the program's run.
    ExitSequence(host::Host& host, Keys& keys, Speech& speech, Sound& sound, const PlayerFiles& files);

    // After a start-up failure the sequence joins where the failures do:
    // after the message box, nothing is stopped or played.
    void Run(Leave why, VoiceSettings voice);

    // Closing the window never loses a game: until the exit sequence allows
    // it, the close becomes an Escape for the key wait in progress.
    bool closingAllowed() const { return state_ != State::Refused; }
    // A close or the session's end came after closing was allowed, and the
    // goodbye in progress was cut short.
    bool cutShort() const { return state_ == State::CutShort; }

private:
    void Close();
    void Terminate();

    enum class State { Refused, Allowed, CutShort };
    State state_ = State::Refused;
    host::Host& host_;
    Keys& keys_;
    Speech& speech_;
    Sound& sound_;
    const PlayerFiles& files_;
};

}  // namespace sw
