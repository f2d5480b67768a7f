// The pitches the batter lets go or swings through: the umpire's ball or
// strike, the sentence that names the pitch and where it crossed the plate,
// and the walk and the strikeout that can end the at-bat here.
#pragma once

#include "play/fielding_sounds.h"
#include "play/play_deps.h"
#include "play/status_report.h"

#include <string>

namespace sw {

class CalledPitches {
public:
    CalledPitches(const PlayDeps& d, FieldingSounds& field, StatusReport& status);

    // The batter took the pitch (a key pressed while the player bats makes it
    // a swinging strike).
    void CalledPitch();
    // The batter swung and missed.
    void SwingingStrike();

    // The spoken name of a pitch 1..7; any other number gives nothing.
    static const char* PitchNameOf(int pitchNumber);

    std::string pitchName;
    std::string pitchComment;
    std::string heightWord;

private:
    void StrikeCall();    // a swing and a miss, from the strike sound on
    void CalledStrike();
    void CalledBall();
    void Walk();
    void Strikeout();
    void Sentence();

    // The strike sound, one more strike (never past three) and its count wave.
    void CountStrike();
    // The phrase of strike-table row `r` for the pitch's height; empty or
    // starting with "-" when the row does not fit that height.
    std::string StrikePhrase(int r) const;

    GameState& gs_;
    PlayValues& pv_;
    PitchValues& pitch_;
    Speech& speech_;
    Sound& sound_;
    Keys& keys_;
    FieldingSounds& field_;
    StatusReport& status_;
};

}  // namespace sw
