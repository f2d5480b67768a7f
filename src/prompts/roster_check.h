// Reading the roster files at start-up: a file that cannot be used is
// reported, the built-in roster takes its place, and the player may have the
// file rewritten and may choose to leave the game.
#pragma once

#include "data/rosters.h"
#include "prompts/prompts.h"

namespace sw {

class RosterCheck {
public:
    RosterCheck(Speech& speech, Sound& sound, Keys& keys, Prompts& prompts, data::Rosters& rosters);

    void getbatters() { Read(data::RosterFile::Batters); }
    void getstartingpitchers() { Read(data::RosterFile::StartingPitchers); }
    void getreliefpitchers() { Read(data::RosterFile::ReliefPitchers); }

    void setbatters() { data::SetDefaults(data::RosterFile::Batters, rosters_); }
    void setstartingpitchers() { data::SetDefaults(data::RosterFile::StartingPitchers, rosters_); }
    void setreliefpitchers() { data::SetDefaults(data::RosterFile::ReliefPitchers, rosters_); }

    // Rewrite a file with the built-in roster; false when it could not be written.
    bool pbb() { return Rewrite(data::RosterFile::Batters); }
    bool psp() { return Rewrite(data::RosterFile::StartingPitchers); }
    bool prp() { return Rewrite(data::RosterFile::ReliefPitchers); }

private:
    void Read(data::RosterFile which);
    void Corrupt(data::RosterFile which);
    bool Rewrite(data::RosterFile which);

    Speech& speech_;
    Sound& sound_;
    Keys& keys_;
    Prompts& prompts_;
    data::Rosters& rosters_;
};

}  // namespace sw
