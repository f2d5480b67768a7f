#include "game/exit_sequence.h"

#include "host/files.h"

namespace sw {

ExitSequence::ExitSequence(host::Host& host, Keys& keys, Speech& speech, Sound& sound, const PlayerFiles& files)
    : host_(host), keys_(keys), speech_(speech), sound_(sound), files_(files) {
    keys_.closeRequest = [this] { Close(); };
    keys_.terminateRequest = [this] { Terminate(); };
}

// Runs inside event delivery, so the key is cleared without yielding.
void ExitSequence::Close() {
    keys_.Discard();
    speech_.stopspeech();
    if (state_ != State::Refused) state_ = State::CutShort;
    else keys_.SetCode("27");
}

// A session that ends is not asked: a key wait ends at once (Keys), and once
// closing is allowed the goodbye in progress is cut short as a close cuts it.
void ExitSequence::Terminate() {
    if (state_ == State::Refused) return;
    speech_.stopspeech();
    state_ = State::CutShort;
}

void ExitSequence::Run(Leave why, VoiceSettings voice) {
    if (why != Leave::StartUpFailure) {
        sound_.StopCrowd();
        sound_.stopdrums();
        sound_.StopEffects();
        sound_.play("beer2");
    }
    // Before the settings are loaded there is nothing of the player's to
    // store, and writing the defaults would undo the stored choice.
    if (voice == VoiceSettings::Loaded) files_.WriteVoiceConfig(speech_.voiceIndex, speech_.speechRate);
    sound_.ReleaseAll();
    if (state_ == State::Refused) state_ = State::Allowed;
    // A session that is ending starts no other program and waits for nothing
    // more: what had to be kept is written.
    if (state_ == State::CutShort || keys_.terminating()) return;

    if (auto menu = host::FindFile(host_.folders().program, host_.platform().ProgramFile("vellobar"))) {
        speech_.Voice.reset();
        host_.platform().StartProgram(*menu);
        return;
    }
    host_.sound().Beep();
    keys_.dy(0.1);
    host_.sound().Beep();
    keys_.dy(0.1);
    if (state_ == State::CutShort) return;
    speech_.say("Sorry, but I could not find the Tamberlyn game menu program.");
    keys_.dy(0.2);
    speech_.Voice.reset();
}

}  // namespace sw
