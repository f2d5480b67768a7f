// The player's pitching choices and both bullpens: the pitch menu, the
// player's pitching change with its list, and the computer manager's change.
#pragma once

#include "data/rosters.h"
#include "game/broadcast.h"
#include "play/plays.h"

#include <string>

namespace sw {

class Bullpen {
public:
    Bullpen(GameState& gs, data::Rosters& rosters, Speech& speech, Sound& sound, KeyWaits& waits, Plays& plays,
            Broadcast& broadcast);

    // The pitch menu: leaves `pitchNumber` and `batterAction` set for the
    // pitch. The whole menu is read first while `pitchMenuFirst` is 1.
    void PitchMenu();
    int pitchMenuFirst = 1;
    // The player's pitching change (menu key 9).
    void PlayerChange();
    // After a pitch of the player's half-inning: the computer's manager may
    // bring in a reliever.
    void ComputerChange();

    // The whole menu as one text.
    static std::string MenuText();

private:
    // A reliever warms up: the game goes to two commercials and comes back.
    void TwoCommercials();

    GameState& gs_;
    data::Rosters& rosters_;
    Speech& speech_;
    Sound& sound_;
    KeyWaits& waits_;
    Keys& keys_;
    Plays& plays_;
    Broadcast& broadcast_;
};

}  // namespace sw
