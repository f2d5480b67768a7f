// Balls put in play: the table of hits, the table of outs and the double
// plays, each a small scripted play that ends in the narration.
#pragma once

#include "play/commentary_rows.h"
#include "play/fielding_sounds.h"
#include "play/narration.h"
#include "play/play_deps.h"

#include <string>

namespace sw {

class BattedBalls {
public:
    BattedBalls(const PlayDeps& d, FieldingSounds& field, Narration& narration);

    // A hit (`hitOrOut` 1).
    void HitPlay();
    // An out (`hitOrOut` 2), unless it becomes a double play.
    void OutPlay();

    // The table entry of the last play (1..14 hits, 1..11 outs); 0 when the
    // out became a double play.
    int entry = 0;
    // The last out play's double play: 0 none, 1 line drive, 2 bloop, 3 ground ball.
    int doublePlayKind = 0;

private:
    // After a row's words: what its runner rule does, and the boo it may draw.
    void Follow(const CommentaryRow& row, const Drawn& d);
    // Puts the batter and every runner where the hit sends them and counts the runs.
    void Place(const Advance& a);
    // Entries with an extra chance: the runners may take an extra base.
    void ExtraChance();

    void LineDriveDoublePlay();
    void BloopDoublePlay();
    void GroundBallDoublePlay();
    // The second out of a line-drive or bloop double play thrown to a base.
    void ThrowForDoublePlay();
    // After the force at second: the other runners move up when there are any.
    void RunnersMoveUpAfterForce();

    // The runners on base as the three flags stand.
    int RunnersNow() const;
    Num& Base(int base);
    // " It's a ... line drive. The ... dives." with the diving infielder.
    std::string DivingLineDrive(int k, int fielder) const;
    // The bloop fly into short left, center or right (1..3).
    std::string BloopFly(int s) const;

    GameState& gs_;
    PlayValues& pv_;
    const WordTables& words_;
    Speech& speech_;
    Sound& sound_;
    Keys& keys_;
    FieldingSounds& field_;
    Narration& narration_;
};

}  // namespace sw
