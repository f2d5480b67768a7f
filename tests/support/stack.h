// The game's shared objects on a simulated host, for unit tests of the
// speaking, sound and key operations: the programs' console on a world of
// its own, made before it and gone after it.
#pragma once

#include "console/console.h"
#include "support/sim_run.h"

namespace sw::test {

struct StackWorld {
    SimWorld world;
};

struct Stack : StackWorld, Console {
    explicit Stack(const Variant& v = Variant::Game(), int voices = 3) : Console(*world.sim, v) {
        world.sim->SetVoiceCount(voices);
        ApplyStoredVoiceSettings(speech, {}, variant.defaultSpeechVolume, &sound.waveVolume);
        dialogs.RegisterHotKeys(true);
    }

    host::sim::SimHost& sim() { return *world.sim; }
};

}  // namespace sw::test
