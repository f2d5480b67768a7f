// The three roster files the player may edit, the built-in default rosters,
// and the reading algorithm that decides whether a file can be used.
#pragma once

#include <array>
#include <string>

namespace sw::data {

enum class RosterFile { Batters, StartingPitchers, ReliefPitchers };

// Roster arrays; team 1 the player's, team 2 the computer's; element 0 unused.
struct Rosters {
    std::array<std::string, 11> battersTeam1, battersTeam2;    // 1..9
    std::array<std::string, 7> startersTeam1, startersTeam2;   // 1..5
    std::array<std::string, 8> bullpenTeam1;                   // 1..6: "name: description"
    std::array<std::string, 11> bullpenTeam2;                  // 1..9: names
};

struct RosterLayout {
    const char* fileName;     // lower case
    const char* header1;
    const char* header2;
    int count1, count2;
    bool wholeLineEntries;    // entries read as whole lines (relief pitchers)
    const char* corruptText;  // " The baseball ... dot T X T file seems to be corrupt. "
};
const RosterLayout& Layout(RosterFile which);

// Reads the file's text into the two arrays of that file, entry by entry, as
// the reading algorithm does. False when the file cannot be used (corrupt);
// the arrays then hold whatever was read before the fault.
bool ParseRoster(RosterFile which, const std::string& text, Rosters& rosters);

// setbatters / setstartingpitchers / setreliefpitchers: the built-in
// defaults into both arrays of that file.
void SetDefaults(RosterFile which, Rosters& rosters);

// The file pbb / psp / prp writes: the defaults under the two headers, one
// entry per line, CR LF line ends.
std::string DefaultRosterText(RosterFile which);

}  // namespace sw::data
