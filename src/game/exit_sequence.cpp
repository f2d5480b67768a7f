#include "game/exit_sequence.h"

#include "host/files.h"

namespace sw {

ExitSequence::ExitSequence(host::Host& host, Keys& keys, Speech& speech, Sound& sound, const PlayerFiles& files)
    : host_(host), keys_(keys), speech_(speech), sound_(sound), files_(files) {}

void ExitSequence::Run(bool afterStartupFailure, bool storeVoice) {
    if (!afterStartupFailure) {
        sound_.StopCrowd();
        sound_.stopdrums();
        sound_.StopEffects();
        sound_.play("beer2");
    }
    // Before the settings are loaded there is nothing of the player's to
    // store, and writing the defaults would undo the stored choice.
    if (storeVoice) files_.WriteVoiceConfig(speech_.voiceIndex, speech_.speechRate);
    sound_.ReleaseAll();
    closingAllowed = 1;
    // A session that is ending starts no other program and waits for nothing
    // more: what had to be kept is written.
    if (endNow || keys_.terminating) return;

    if (auto menu = host::FindFile(host_.folders().program, "vellobar")) {
        speech_.Voice.reset();
        host_.platform().StartProgram(*menu);
        return;
    }
    host_.sound().Beep();
    keys_.dy(0.1);
    host_.sound().Beep();
    keys_.dy(0.1);
    if (endNow) return;
    speech_.say("Sorry, but I could not find the Tamberlyn game menu program.");
    keys_.dy(0.2);
    speech_.Voice.reset();
}

}  // namespace sw
