// Fouls and foul tips: eleven descriptions, none repeating within four fouls.
#pragma once

#include "play/narration.h"
#include "play/play_deps.h"

namespace sw {

class Fouls {
public:
    Fouls(const PlayDeps& d, Narration& narration);

    // A foul: chooses and builds the description, counts the strike below
    // two, and hands over to the narration.
    void Foul();

private:
    // A description 1..11 that is none of the last three; the history moves on.
    int ChooseDescription();
    // The commentary and contact sound of description `choice`, told from its row.
    void Describe(int choice);

    GameState& gs_;
    PlayValues& pv_;
    const WordTables& words_;
    Keys& keys_;
    Narration& narration_;
};

}  // namespace sw
