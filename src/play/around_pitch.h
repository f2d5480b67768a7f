// The plays around the pitch rather than off the bat: the pick-off throw,
// the wild pitch, the pitch that hits the batter, and the bunt.
#pragma once

#include "play/fielding_sounds.h"
#include "play/narration.h"
#include "play/pitch.h"
#include "play/play_deps.h"
#include "play/status_report.h"

namespace sw {

class AroundThePitch {
public:
    AroundThePitch(const PlayDeps& d, FieldingSounds& field, StatusReport& status, Narration& narration, Pitch& pitch);

    // The player's pitcher throws to a base. Returns false when the pause
    // menu, opened at the base question, ended the game.
    bool PickOff();
    void WildPitch();
    void HitBatter();
    void Bunt();

private:
    GameState& gs_;
    PlayValues& pv_;
    PitchValues& pitchValues_;
    const WordTables& words_;
    Speech& speech_;
    Sound& sound_;
    Keys& keys_;
    FieldingSounds& field_;
    StatusReport& status_;
    Narration& narration_;
    Pitch& pitch_;
};

}  // namespace sw
