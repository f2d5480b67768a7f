// What every play object works with: the game record, the values of the play
// and of the pitch, the word tables, the voice, the sounds, the keys
// and the waits for them.
#pragma once

#include "input/keys.h"
#include "record/game_state.h"
#include "play/pitch_values.h"
#include "play/play_values.h"
#include "speech/key_waits.h"
#include "speech/sound.h"
#include "speech/speech.h"

namespace sw {

struct PlayDeps {
    GameState& gs;
    PlayValues& pv;
    PitchValues& pitch;
    const WordTables& words;
    Speech& speech;
    Sound& sound;
    Keys& keys;
    KeyWaits& waits;  // the key waits the player hears
};

}  // namespace sw
