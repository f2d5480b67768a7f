// The common end of every play: the contact sounds, the commentary in one of
// four styles, the umpire's calls, the crowd and the out. Also the steal
// (its start and the throw) and the step that moves every runner up a base.
#pragma once

#include "play/called_pitches.h"
#include "play/fielding_sounds.h"
#include "play/play_deps.h"
#include "play/status_report.h"

namespace sw {

class Narration {
public:
    Narration(const PlayDeps& d, FieldingSounds& field, StatusReport& status, CalledPitches& called);

    // Every runner moves up one base; the runner on third scores.
    void advanceRunners();
    // The play narration, from the contact sounds to the end of the pitch.
    void Narrate();
    // Its closing steps, from the stopping of the crowd reaction, for plays
    // that speak their own commentary and make their own calls.
    void ClosingSteps();

    // The player sent the runners and made no contact: the strike or the
    // called pitch, then the throw.
    void PlayerSteal();
    // The computer's runner goes: the called pitch, then the throw. Nothing
    // happens with the bases empty.
    void ComputerSteal();
    // The throw on a steal, after the pitch.
    void StealThrow();

private:
    // Speaks the fragments in the chosen style; false for the infield throw
    // to first, which has made its own calls and goes on at the closing steps.
    bool Speak();
    void StopExcitement();
    // One more out, never past three.
    void AddOut();
    // The end of a pitch whose play made no out.
    void EndPitch();

    GameState& gs_;
    PlayValues& pv_;
    PitchValues& pitch_;
    Speech& speech_;
    Sound& sound_;
    Keys& keys_;
    FieldingSounds& field_;
    StatusReport& status_;
    CalledPitches& called_;
};

}  // namespace sw
