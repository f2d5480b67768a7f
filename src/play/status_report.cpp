#include "play/status_report.h"

#include "record/text.h"


namespace sw {

namespace {

bool IsTeam(int team) { return team == 1 || team == 2; }

}  // namespace

StatusReport::StatusReport(const PlayDeps& d, const data::Rosters& rosters)
    : gs_(d.gs), words_(d.words), speech_(d.speech), keys_(d.keys), waits_(d.waits), rosters_(rosters) {}

std::string StatusReport::OutsSentence() const { return " There's" + Spoken(gs_.outs) + " out" + PluralS(gs_.outs); }

std::string StatusReport::ItemText(int item) const {
    auto ordinal = [&](int n) { return n >= 1 && n <= 19 ? words_.ordinalWord[static_cast<size_t>(n)] : Spoken(n); };
    auto team = [&](int t) { return IsTeam(t) ? gs_.teamName[t] : std::string(); };
    auto runs = [&](int t) { return IsTeam(t) ? int(gs_.runs[t]) : 0; };
    switch (item) {
    case kInning:
        return std::string(" We are in the") + (gs_.half == 1 ? " top" : " bottom") + " of the" + ordinal(gs_.inning) +
               " inning";
    case kTeamAtBat:
        return " The " + team(gs_.battingTeam) + " are up to bat ";
    case kCount:
        return " the count is" + Spoken(gs_.balls) + " ball" + PluralS(gs_.balls);
    case kOuts:
        return OutsSentence();
    case kBases: {
        // Told from the base flags as they stand.
        const int on[4] = {0, gs_.runnerOnFirst, gs_.runnerOnSecond, gs_.runnerOnThird};
        const int count = on[1] + on[2] + on[3];
        if (count == 0) return " the bases are empty";
        if (count == 3) return " the bases are loaded";
        int low = 0, high = 0;
        for (int b = 1; b <= 3; ++b) {
            if (on[b] != 1) continue;
            if (low == 0) low = b;
            high = b;
        }
        if (count == 2) return "there are runners on" + ordinal(low) + " and" + ordinal(high);
        return " there's a runner on" + ordinal(low);
    }
    case kScore:
        return " the score is " + team(gs_.visitingTeam) + Spoken(runs(gs_.visitingTeam)) + team(gs_.homeTeam) +
               Spoken(runs(gs_.homeTeam));
    default:
        return {};
    }
}

void StatusReport::Report(int item) {
    for (int i = item; i >= kInning && i <= kScore; ++i) ReportOne(i);
}

void StatusReport::ReportOne(int item) {
    if (item < kInning || item > kScore) return;
    speech_.say2(ItemText(item));
    if (item == kCount) speech_.say2(Spoken(gs_.strikes) + " strike" + PluralS(gs_.strikes));
}

void StatusReport::OutsReadOut() {
    ReportOne(kOuts);
}

void StatusReport::BatterReadOut() {
    const int team = gs_.battingTeam;
    const int slot = team == 1 ? int(gs_.batterUpTeam1) : int(gs_.batterUpTeam2);
    const auto& batters = team == 1 ? rosters_.battersTeam1 : rosters_.battersTeam2;
    const std::string name = slot >= 0 && slot < static_cast<int>(batters.size()) ? batters[slot] : std::string();
    speech_.say2(name + " " + " is up to bat for the " + (IsTeam(team) ? gs_.teamName[team] : std::string()));
}

Key StatusReport::ReadKey() {
    for (;;) {
        const Key key = waits_.getkey();
        menuChoice_ = LeadingNumber(key.code) - 48;
        if (waits_.TakeAnswerAtOnce()) return key;
        const std::string& code = key.code;
        static const std::pair<const char*, int> kOneItem[5] = {
            {"112", kCount}, {"113", kOuts}, {"114", kBases}, {"115", kScore}, {"116", kInning}};
        bool answered = false;
        for (const auto& [key, item] : kOneItem) {
            if (code == key) {
                keys_.clk();
                ReportOne(item);
                answered = true;
            }
        }
        if (code == "117") {
            keys_.clk();
            BatterReadOut();
            answered = true;
        }
        if (answered) continue;
        if (code == "118") {
            keys_.clk();
            Report(kInning);
            continue;
        }
        if (code == "27") {
            keys_.clk();
            if (pauseMenu) pauseMenu();
            continue;
        }
        return key;
    }
}

}  // namespace sw
