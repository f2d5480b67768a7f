// The console every program speaks, plays and listens through: the variant's
// choices, the random numbers, the keys, the voice, the sounds and the spoken
// dialogs, composed once in the order they depend on each other.
#pragma once

#include "host/host.h"
#include "input/keys.h"
#include "input/random.h"
#include "input/variant.h"
#include "speech/dialogs.h"
#include "speech/key_waits.h"
#include "speech/sound.h"
#include "speech/speech.h"

namespace sw {

struct Console {
    Console(host::Host& host, const Variant& variant);
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // In construction order: the keys take the window's events for the run;
    // the waits the player hears build on the voice and the sounds.
    Variant variant;
    Random random;
    Keys keys;
    Speech speech;
    Sound sound;
    KeyWaits waits;
    Dialogs dialogs;
};

}  // namespace sw
