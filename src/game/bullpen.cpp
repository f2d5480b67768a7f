#include "game/bullpen.h"

#include "record/text.h"

namespace sw {

namespace {

// Takes entry `index` (1-based) out of a list whose first `count` entries are
// available: the later ones move up a place.
template <size_t N>
void RemoveEntry(std::array<std::string, N>& list, int index, int count) {
    for (int i = index; i < count && i + 1 < static_cast<int>(N); ++i)
        list[static_cast<size_t>(i)] = list[static_cast<size_t>(i) + 1];
    if (count >= 1 && count < static_cast<int>(N)) list[static_cast<size_t>(count)].clear();
}

}  // namespace

Bullpen::Bullpen(GameState& gs, data::Rosters& rosters, Speech& speech, Sound& sound, KeyWaits& waits, Plays& plays,
                 Broadcast& broadcast)
    : gs_(gs), rosters_(rosters), speech_(speech), sound_(sound), waits_(waits), keys_(waits.keys()), plays_(plays), broadcast_(broadcast) {}

std::string Bullpen::MenuText() {
    return " 1 equals FAST BALL. 2 equals CURVE. 3 equals SLIDER. 4 equals SINKER. 5 equals CHANGE UP. 6 equals "
           "KNUCKLE BALL. 7 equals SCREWBALL. 8 equals pick off throw. 9 equals change pitcher.";
}

void Bullpen::PitchMenu() {
    if (pitchMenuFirst == 1) {
        pitchMenuFirst = 2;
        speech_.say2(MenuText());
    }
    for (;;) {
        speech_.say2(" WHAT WILL YOUR PITCHER THROW " + gs_.managerName);
        plays_.status.ReadKey();
        const int choice = plays_.status.menuChoice();
        if (choice < 1 || choice > 9) {
            speech_.say2(MenuText());
            continue;
        }
        plays_.pv.pitchNumber = choice;
        if (choice == 9) {
            PlayerChange();
            continue;
        }
        if (choice == 8 && gs_.runnerOnFirst + gs_.runnerOnSecond + gs_.runnerOnThird == 0) {
            speech_.say2(MenuText());
            continue;
        }
        plays_.pitch.DrawBatterAction();
        return;
    }
}

void Bullpen::PlayerChange() {
    const int count = gs_.bullpenCountTeam1;
    if (count <= 0) {
        speech_.say(" You have no pitchers left in the bull pen");
        return;
    }
    auto entry = [&](int i) { return rosters_.bullpenTeam1[static_cast<size_t>(i)]; };
    int choice = 1;
    bool intro = true;
    for (;;) {
        if (intro) {
            speech_.say2(" Select, The bull pen pitcher to bring in. ");
            choice = 1;
            intro = false;
        }
        speech_.say2(Spoken(choice) + " equals " + entry(choice));
        const Key key = waits_.getkey();
        const std::string& code = key.code;
        if (code == "13") break;
        if (code == "38") {
            choice = choice <= 1 ? count : choice - 1;
        } else if (code == "40") {
            choice = choice >= count ? 1 : choice + 1;
        } else if (code == "112") {
            intro = true;
        } else {
            // Only the digit keys of the main keyboard (codes 49 to 57).
            const int digit = code.size() == 2 && code >= "49" && code <= "57" ? (code[1] - '0') + 10 * (code[0] - '0') - 48 : -1;
            if (digit >= 1 && digit <= count) {
                choice = digit;
            } else {
                speech_.saykey(key);
                intro = true;
            }
        }
    }

    // The name up to and including its first colon; the description is for
    // the list only.
    std::string name = entry(choice);
    if (auto colon = name.find(':'); colon != std::string::npos) name.erase(colon + 1);
    speech_.say(name);
    static const char* const kVerbs[4] = {"", "running", "trotting", "coming"};
    speech_.say(std::string(" is ") + kVerbs[keys_.wf(3)] + " in from the bull-pen. we will be back");
    keys_.dy(0.2);
    TwoCommercials();
    speech_.say(" the new pitcher " + name + " is ready.");
    RemoveEntry(rosters_.bullpenTeam1, choice, count);
    gs_.bullpenCountTeam1 = count - 1;
    gs_.strikes = 0;
}

void Bullpen::TwoCommercials() {
    sound_.stopdrums();
    sound_.stopper();
    broadcast_.Commercial();
    broadcast_.Commercial();
    sound_.starter();
}

void Bullpen::ComputerChange() {
    const int count = gs_.bullpenCountTeam2;
    if (count <= 0 || gs_.outs == 3 || gs_.balls != 0 || gs_.strikes != 0) return;
    if (!((gs_.inning > 6 && gs_.pitcherRunsThisHalf > 1) || gs_.pitcherRunsThisHalf > 3)) return;
    if (keys_.wf(5) == 2) return;
    gs_.pitcherRunsThisHalf = 0;
    keys_.dy(1);
    speech_.say(" The manager comes out to make a pitching change");
    keys_.dy(0.5);
    const int choice = keys_.wf(count);
    const std::string name = rosters_.bullpenTeam2[static_cast<size_t>(choice)];
    speech_.say(" the manager is bringing in " + name);
    keys_.dy(0.5);
    TwoCommercials();
    speech_.say(" " + name + " is ready");
    RemoveEntry(rosters_.bullpenTeam2, choice, count);
    gs_.bullpenCountTeam2 = count - 1;
}

}  // namespace sw
