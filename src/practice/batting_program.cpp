#include "practice/batting_program.h"

#include "console/console.h"
#include "console/options_menu.h"
#include "data/options_file.h"
#include "data/settings_files.h"
#include "host/files.h"
#include "practice/practice.h"
#include "speech/waves.h"

#include <cstdio>

namespace sw {

namespace {

// The program's objects, composed with the practice program's variants.
struct BattingProgram : Console {
    explicit BattingProgram(host::Host& h)
        : Console(h, Variant::Batting()), host(h), pitch(sound, keys), practice(speech, sound, waits, pitch),
          optionsMenu(h, speech, sound, keys) {}

    host::Host& host;
    Pitch pitch;
    Practice practice;
    data::OptionsFile options;
    OptionsMenu optionsMenu;
    int exitFlag = 0;

    int Run();
    void Leave();
};

// Releases everything, starts the game menu when it is there, and ends. A
// session that is ending starts no other program.
void BattingProgram::Leave() {
    sound.ReleaseAll();
    speech.Voice.reset();
    const std::string menu = host::JoinPath(host.folders().program, host.platform().ProgramFile("vellobar"));
    if (!keys.terminating() && host::FileSize(menu)) host.platform().StartProgram(menu);
    exitFlag = 1;
}

int BattingProgram::Run() {
    keys.closeRequest = [this] {
        // Closing the window acts as Escape; only " exit " ends the program.
        keys.Discard();
        speech.stopspeech();
        if (exitFlag != 1) keys.SetCode("27");
    };
    dialogs.RegisterHotKeys(false);
    options.Load(data::OptionsFolder(host.folders()));
    optionsMenu.ApplyAtStart(options.values);
    waits.AddHotKey("121", [this] { optionsMenu.Run(options.values, [this] { options.Save(); }); });
    waits.AddHistoryKeys();

    sound.waveFrequency = 11026;
    if (!checkwaves(host.folders().sounds, true)) {
        host.platform().MessageBox("Sorry but one or more of the wave files seem to be corrupt\rPlease contact Pellwick");
        Leave();
        return 1;
    }
    StoredVoice stored;
    if (auto cfg = data::ReadGameVoiceConfig(host.folders())) {
        stored.haveConfig = true;
        stored.voiceIndex = cfg->voiceIndex;
        stored.speechRate = cfg->speechRate;
    }
    int unusedWaveVolume = 0;
    if (!ApplyStoredVoiceSettings(speech, stored, variant.defaultSpeechVolume, &unusedWaveVolume)) {
        host.platform().MessageBox("Sorry but I couldn't find any voices to use\rPlease contact Pellwick");
        Leave();
        return 1;
    }
    sound.startcrowd([this](int loop) {
        if (loop == 0) speech.say2(" batting practice ");
        if (loop == 2) {
            speech.say2(" By Pellwick ");
            speech.say(" ");
        }
    });
    keys.random().Reseed(keys.timer());
    try {
        if (speech.configLoaded == 0) {
            speech.say2(" press the control key at any time to adjust the rate of the speech ");
            dialogs.changevoice();
        }
        keys.clk();
        practice.practicePromptCount = 0;
        practice.batprac();
    } catch (const RunEnds&) {
        // The session is ending: the program writes nothing, so it leaves
        // from the key wait it was in, without the thanks that belong to
        // the menu's " exit ".
        speech.stopspeech();
        Leave();
        return 0;
    }

    sound.StopCrowd();
    speech.say("Thank you for playing batting practice By Pellwick");
    Leave();
    return 0;
}

}  // namespace

int RunBattingProgram(host::Host& host) {
    BattingProgram program(host);
    return program.Run();
}

}  // namespace sw
