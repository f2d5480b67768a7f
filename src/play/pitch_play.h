// One pitch of the game from the delivery to its outcome: the hidden events,
// the pitcher's delivery, the pitch sound both ways, the judgement of the
// swing, and the hand-over to the play that follows.
#pragma once

#include "play/around_pitch.h"
#include "play/batted_balls.h"
#include "play/called_pitches.h"
#include "play/fouls.h"
#include "play/narration.h"
#include "play/pitch.h"
#include "play/play_deps.h"

namespace sw {

class PitchPlay {
public:
    PitchPlay(const PlayDeps& d, Pitch& pitch, CalledPitches& called, BattedBalls& balls, Fouls& fouls,
              AroundThePitch& around, Narration& narration);

    // Draws the pitch's hidden events: spitball, wild pitch, hit batter.
    void pickspecpitch();
    void throwspitball();
    // The batter's chance, drawn before a pitch when it is 0.
    void DrawHitChance();
    // The computer batter's action for the chosen pitch, drawn again where
    // the situation does not allow it.
    void DrawBatterAction();
    // The pitch, with `batterAction`, `pitchNumber` and the batting orders
    // set in the play values. Leaving the game from the pause menu, opened
    // during the pitch, ends the run (RunEnds).
    void ThePitch();

private:
    void JudgeSwing();
    void BallInPlay();

    GameState& gs_;
    PlayValues& pv_;
    PitchValues& pitchValues_;
    Speech& speech_;
    Sound& sound_;
    Keys& keys_;
    Pitch& pitch_;
    CalledPitches& called_;
    BattedBalls& balls_;
    Fouls& fouls_;
    AroundThePitch& around_;
    Narration& narration_;
};

}  // namespace sw
