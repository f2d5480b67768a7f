// Between the innings: the half-inning summary, the commercial break, the
// commercials and their small print, and the seventh-inning stretch.
#pragma once

#include "game/player_files.h"
#include "input/keys.h"
#include "record/game_state.h"
#include "speech/sound.h"
#include "speech/speech.h"

#include <array>
#include <string>

namespace sw {

class Broadcast {
public:
    Broadcast(GameState& gs, const WordTables& words, Speech& speech, Sound& sound, Keys& keys,
              const PlayerFiles& files);

    // The summary sentence of the half-inning as the tallies stand.
    std::string SummarySentence() const;
    // Tells, logs and keeps the summary; adds the half's hits and runners left
    // on base to the game's.
    void HalfInningSummary();
    void SeventhInningStretch();
    void CommercialBreak();
    void Commercial();
    // The small print, one time in ten.
    void dcr();

    // The wave of commercial `number` of the pool.
    static std::string CommercialWave(int number);

    std::string lastHalfSummary;
    int lastBreakPhrase = 0;
    std::array<int, 4> recentCommercials{};  // most recent first; 0 = none
    int extraCommercials = 0;
    int inCommercial = 0;
    // The stretch has had its commercial: the half's end goes without one.
    int skipCommercial = 0;

private:
    GameState& gs_;
    const WordTables& words_;
    Speech& speech_;
    Sound& sound_;
    Keys& keys_;
    const PlayerFiles& files_;
};

}  // namespace sw
