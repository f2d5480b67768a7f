// Balls put in play: the table of hits, the table of outs and the double
// plays, each a small scripted play that ends in the narration.
#pragma once

#include "play/fielding_sounds.h"
#include "play/narration.h"
#include "play/play_deps.h"

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
