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

    // The player's pitcher throws to a base. Leaving the game from the pause
    // menu, opened at the base question, ends the run (RunEnds).
    void PickOff();
    void WildPitch();
    void HitBatter();
    void Bunt();

private:
    bool Occupied(int base) const;
    // One more out, never past three.
    void AddOut();
    // The batter takes first; a runner moves only when he is forced.
    // The bunt's throw to the lead runner, or the play at the plate.
    void ThrowToLeadRunner();
    // The bunt rolls foul: a strike, told and counted here.
    void FoulBunt();

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
