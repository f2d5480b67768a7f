// The game's shared objects on a simulated host, for unit tests of the
// speaking, sound and key operations.
#pragma once

#include "input/keys.h"
#include "speech/dialogs.h"
#include "speech/sound.h"
#include "speech/speech.h"
#include "support/sim_run.h"

namespace sw::test {

struct Stack {
    explicit Stack(const Variant& v = Variant::Game(), int voices = 3)
        : variant(v), keys(*world.sim, random, variant), speech(*world.sim, keys), sound(*world.sim, keys),
          dialogs(speech, sound, keys) {
        world.sim->SetVoiceCount(voices);
        ApplyStoredVoiceSettings(speech, {}, variant.defaultSpeechVolume, &sound.waveVolume);
        dialogs.RegisterHotKeys(true);
    }
    host::sim::SimHost& sim() { return *world.sim; }

    SimWorld world;
    Variant variant;
    Random random;
    Keys keys;
    Speech speech;
    Sound sound;
    Dialogs dialogs;
};

}  // namespace sw::test
