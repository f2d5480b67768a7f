// Every play object of the game, built in the order they use each other.
#pragma once

#include "data/rosters.h"
#include "play/around_pitch.h"
#include "play/batted_balls.h"
#include "play/called_pitches.h"
#include "play/fielding_sounds.h"
#include "play/fouls.h"
#include "play/narration.h"
#include "play/pitch.h"
#include "play/pitch_play.h"
#include "play/status_report.h"

namespace sw {

struct Plays {
    Plays(GameState& gs, const WordTables& words, const data::Rosters& rosters, Speech& speech, Sound& sound,
          KeyWaits& waits, Pitch& pitchSound)
        : deps{gs, pv, pitchValues, words, speech, sound, waits.keys(), waits},
          field(deps),
          status(deps, rosters),
          called(deps, field, status),
          narration(deps, field, status, called),
          fouls(deps, narration),
          balls(deps, field, narration),
          around(deps, field, status, narration, pitchSound),
          pitch(deps, pitchSound, called, balls, fouls, around, narration) {}

    PlayValues pv;
    PitchValues pitchValues;
    PlayDeps deps;
    FieldingSounds field;
    StatusReport status;
    CalledPitches called;
    Narration narration;
    Fouls fouls;
    BattedBalls balls;
    AroundThePitch around;
    PitchPlay pitch;
};

}  // namespace sw
