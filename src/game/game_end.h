// The end of a game: the result counted for the series and saved before
// anything is told, the announcement, the championship, the box score, the
// offer to read the log; and the game called after nineteen tied innings.
#pragma once

#include "game/player_files.h"
#include "play/status_report.h"

#include <string>

namespace sw {

class GameEnd {
public:
    GameEnd(GameState& gs, Speech& speech, Sound& sound, KeyWaits& waits, StatusReport& status, const PlayerFiles& files);

    // The game is over: counts it, tells it, and returns when the player has
    // pressed a key to leave.
    void GameOver();
    // The twentieth inning would begin with the score tied.
    void CalledGame();

    // The innings a finished game lasted: the inning counter has already
    // moved on when a bottom half ended the game.
    int InningsPlayed() const;
    // The two box-score sentences, visitors first.
    std::string VisitorsSentence() const;
    std::string HomeSentence() const;

    int winningTeam = 0, losingTeam = 0;

private:
    void Announce(bool log);
    void Championship(bool log);
    void BoxScore(bool log);
    void PlayOnce(const std::string& wave, int volume, int pan);
    void ReadLogAloud();

    GameState& gs_;
    Speech& speech_;
    Sound& sound_;
    KeyWaits& waits_;
    Keys& keys_;
    StatusReport& status_;
    const PlayerFiles& files_;
};

}  // namespace sw
