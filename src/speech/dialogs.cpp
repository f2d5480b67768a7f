#include "speech/dialogs.h"

#include <string>

namespace sw {

Dialogs::Dialogs(Speech& speech, Sound& sound, KeyWaits& waits)
    : speech_(speech), sound_(sound), waits_(waits), keys_(waits.keys()) {}

void Dialogs::RegisterHotKeys(bool withVolume) {
    waits_.AddHotKey("17", [this] { adjrate(); });
    if (withVolume) waits_.AddHotKey("122", [this] {
        adjvol();
        sound_.starter();
    });
    waits_.AddHotKey("123", [this] { changevoice(); });
}

void Dialogs::changevoice() {
    keys_.clk();
    if (speech_.voiceCount <= 1) return;
    Guarded("voice", [&] {
        sound_.LoadEffect("take");
    });
    bool yes = true;
    bool ask = true;
    for (;;) {
        if (ask) {
            keys_.clk();
            yes = true;
            speech_.say2("do you wish to use this voice. yes ");
            ask = false;
        }
        const Key key = waits_.getkey();
        speech_.stopspeech();
        const std::string& code = key.code;
        bool next = false;
        if (code == "38" || code == "40") {
            yes = !yes;
            speech_.say2(yes ? " yes " : " no ");
            continue;
        } else if (code == "13") {
            if (yes) break;
            next = true;
        } else if (code == "112") {
            ask = true;
            continue;
        } else {
            speech_.saykey2(key);
            if (key.ch == "y") break;
            if (key.ch == "n") next = true;
            else {
                ask = true;
                continue;
            }
        }
        if (next) {
            sound_.LoopEffect();
            speech_.voiceIndex += 1;
            // Past the last voice, the player's own comes, when the system has one.
            if (speech_.voiceIndex > speech_.voiceCountMinus1() && speech_.host().speech().FindSystemVoice() >= 0)
                speech_.voiceCount = speech_.host().speech().VoiceCount();
            if (speech_.voiceIndex > speech_.voiceCountMinus1()) speech_.voiceIndex = 0;
            speech_.NewVoice(speech_.voiceIndex);
            if (speech_.Voice) speech_.Voice->SetRate(speech_.speechRate);
            speech_.say(" ");
            if (speech_.Voice && keys_.variant().voiceChangeSetsVolume) speech_.Voice->SetVolume(speech_.speechVolume);
            sound_.StopEffect();
            ask = true;
        }
    }
    sound_.ReleaseEffect();
    keys_.clk();
    if (keys_.variant().voiceDialogLeavesF1) keys_.SetCode("112");
}

void Dialogs::SpeakRate() { speech_.say2(std::to_string(speech_.speechRate)); }

void Dialogs::adjrate() {
    for (;;) {
        keys_.clk();
        if (speech_.Voice) speech_.Voice->SetRate(speech_.speechRate);
        speech_.say2("to adjust the speech rate, use the arrow keys and then press enter");
        SpeakRate();
        for (;;) {
            keys_.Discard();
            while (!keys_.Pressed()) keys_.idle();
            const std::string code = keys_.Last().code;
            if (code != "38" && code != "40") break;
            // The engine's range is -10..10: a press beyond it repeats the
            // bound and changes nothing.
            const int next = speech_.speechRate + (code == "38" ? 1 : -1);
            if (next >= -10 && next <= 10) speech_.speechRate = next;
            if (speech_.Voice) speech_.Voice->SetRate(speech_.speechRate);
            speech_.stopspeech();
            SpeakRate();
        }
        if (keys_.Last().code == "13") break;
    }
    keys_.clk();
    keys_.dy(0.4);
    if (keys_.variant().rateDialogSpeaksEmpty) speech_.say("");
    else keys_.SetCode("1");
}

Dialogs::Levels Dialogs::adjvol() {
    keys_.clk();
    sound_.stopdrums();
    sound_.stopper();
    const std::string tail = "  Press enter when you have the volume set the way that you want it. ";
    // The speech volume.
    const std::string voicePrompt = " use the up and down arrow keys to raise and lower the volume of the voice. " + tail;
    speech_.say2(voicePrompt);
    for (;;) {
        const Key key = waits_.getkey();
        speech_.stopspeech();
        const std::string& code = key.code;
        if (code == "38") {
            speech_.speechVolume += 5;
            if (speech_.speechVolume >= 100) {
                speech_.speechVolume = 100;
                if (speech_.Voice) speech_.Voice->SetVolume(100);
                speech_.say2(" maximum ");
            } else {
                if (speech_.Voice) speech_.Voice->SetVolume(speech_.speechVolume);
                speech_.say2(" louder ");
            }
        } else if (code == "40") {
            speech_.speechVolume -= 5;
            if (speech_.speechVolume <= 0) {
                speech_.speechVolume = 0;
                if (speech_.Voice) speech_.Voice->SetVolume(0);
                speech_.say2(" minimum ");
            } else {
                if (speech_.Voice) speech_.Voice->SetVolume(speech_.speechVolume);
                speech_.say2(" quieter ");
            }
        } else if (code == "13") {
            break;
        } else if (code == "112") {
            speech_.say2(voicePrompt);
        } else {
            speech_.saykey(key);
            speech_.say2(voicePrompt);
        }
    }
    // A sample of the sounds at the current level.
    keys_.clk();
    Guarded("volume", [&] {
        sound_.LoadEffect("crcheer");
        sound_.PlayEffect();
    });
    keys_.dy(1.5);
    sound_.StopEffect();
    // The wave volume.
    const std::string wavePrompt = " use the up and down arrow keys to adjust the volume of the sounds. " + tail;
    speech_.say2(wavePrompt);
    Key key = waits_.getkey();
    for (;;) {
        speech_.stopspeech();
        const std::string code = key.code;
        if (code == "38" || code == "40") {
            if (code == "38") {
                sound_.waveVolume += 100;
                if (sound_.waveVolume >= 0) {
                    sound_.waveVolume = 0;
                    speech_.say2(" maximum ");
                } else {
                    speech_.say2(" louder ");
                }
            } else {
                sound_.waveVolume -= 100;
                if (sound_.waveVolume < -5000) {
                    sound_.waveVolume = -5000;
                    speech_.say2(" minimum ");
                } else {
                    speech_.say2(" quieter ");
                }
            }
            keys_.clk();
            sound_.adjuster();
            keys_.dy(0.2);
            if (sound_.EffectLoaded()) {
                sound_.ReplayEffect();
                while (sound_.EffectPlaying() && !keys_.Pressed()) keys_.yield();
                sound_.StopEffect();
            }
            key = keys_.Pressed() ? keys_.Last() : waits_.getkey();
            continue;
        }
        if (code == "13") break;
        if (code != "112") speech_.saykey(key);
        speech_.say2(wavePrompt);
        key = waits_.getkey();
    }
    keys_.clk();
    sound_.StopEffect();
    sound_.ReleaseEffect();
    return {sound_.waveVolume, speech_.speechVolume};
}

}  // namespace sw
