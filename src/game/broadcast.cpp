#include "game/broadcast.h"

#include "record/text.h"

#include <algorithm>

namespace sw {

namespace {

bool EndsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

// A count and its noun: "2 double" + "s".
std::string Counted(int n, const std::string& noun) { return std::to_string(n) + noun + (n > 1 ? "s" : ""); }

void StopExcitement(Sound& sound) {
    sound.StopExcitement();
}

}  // namespace

Broadcast::Broadcast(GameState& gs, const WordTables& words, Speech& speech, Sound& sound, Keys& keys,
                     const PlayerFiles& files)
    : gs_(gs), words_(words), speech_(speech), sound_(sound), keys_(keys), files_(files) {}

std::string Broadcast::SummarySentence() const {
    const std::string& team = gs_.teamName[gs_.battingTeam];
    const int inning = gs_.inning;
    std::string s = " in the " + team + " half of the " +
                    (inning >= 1 && inning <= 19 ? words_.ordinalWord[static_cast<size_t>(inning)] : std::string()) +
                    " inning, " + " the " + team + " scored, ";
    s += gs_.runTally == 0 ? std::string(" No runs ") : Counted(gs_.runTally, " run") + " ";
    s += " on, ";
    s += gs_.hitTally == 0 ? std::string("No hits, ") : Counted(gs_.hitTally, " hit") + ", ";
    s += " there was ";
    if (gs_.grandSlamTally > 0) s += " " + Counted(gs_.grandSlamTally, " Grand slam home run") + "! ";
    if (gs_.homeRunTally > 0) s += " " + Counted(gs_.homeRunTally, " home run") + "! ";
    if (gs_.tripleTally > 0) s += " " + Counted(gs_.tripleTally, " triple") + " ";
    if (gs_.doubleTally > 0) s += " " + Counted(gs_.doubleTally, " double") + " ";
    if (gs_.stolenBaseTally > 0) s += " " + Counted(gs_.stolenBaseTally, " stolen base") + " ";
    if (gs_.hitBatterTally > 0) {
        if (!EndsWith(s, "there was ")) s += " there was ";
        s += Counted(gs_.hitBatterTally, " hit batter") + ", ";
    }
    if (gs_.walkTally > 0) s += Counted(gs_.walkTally, " walk");
    if (EndsWith(s, "there was ")) s.erase(s.size() - 10);
    else if (EndsWith(s, "there were ")) s.erase(s.size() - 11);
    if (gs_.strikeoutTally > 0) {
        const int n = gs_.strikeoutTally;
        s += std::string(" there ") + (n > 1 ? "were" : "was") + " " + Counted(n, " strike out") + " ";
    }
    if (gs_.pickoffTally > 0) {
        const int n = gs_.pickoffTally;
        s += std::to_string(n) + " runner" + (n > 1 ? "s were" : " was") + " picked off ";
    }
    if (gs_.caughtStealingTally > 0) {
        const int n = gs_.caughtStealingTally;
        s += std::to_string(n) + " runner" + (n > 1 ? "s wer caught stealing " : " was caught stealing ");
    }
    s += " ";
    if (gs_.doublePlayTally > 0) s += " there was A double play ";
    switch (static_cast<int>(gs_.runnersOn)) {
        case 0: s += " and there were no runners left on base "; break;
        case 1: s += " and there was 1 runner left on base"; break;
        case 2: s += " and two runners were left on base"; break;
        case 3: s += " the bases were left loaded"; break;
        default: break;
    }
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s + ". ";
}

void Broadcast::HalfInningSummary() {
    const std::string sentence = SummarySentence();
    const int team = gs_.battingTeam;
    gs_.hits[team] = gs_.hits[team] + gs_.hitTally;
    gs_.leftOnBase[team] = gs_.leftOnBase[team] + gs_.runnersOn;
    keys_.dy(0.5);
    StopExcitement(sound_);
    // Whatever the announcer is still saying is heard to its end first.
    keys_.yield();
    while (speech_.Voice && speech_.Voice->RunningState() == host::kSpeechSpeaking) keys_.yield();
    keys_.dy(0.3);
    files_.AppendLog({" ", sentence});
    lastHalfSummary = sentence;
    sound_.stopper();
    speech_.say3(sentence);
}

void Broadcast::SeventhInningStretch() {
    speech_.say(" It's time for the seventh inning stretch");
    keys_.dy(0.2);
    sound_.play2("take");
    keys_.dy(0.2);
    Commercial();
    keys_.dy(0.2);
    sound_.play2("charge1");
    sound_.play2("charge2");
    sound_.play2("charge2");
    skipCommercial = 1;
}

void Broadcast::CommercialBreak() {
    int phrase;
    do phrase = keys_.wf(3);
    while (phrase == lastBreakPhrase);
    lastBreakPhrase = phrase;
    static const char* const kPhrases[4] = {"", " We will be back after this", " We will be back after these messages",
                                            " And now a commercial from are sponsor"};
    speech_.say(kPhrases[phrase]);
    keys_.dy(0.5);
    inCommercial = 1;
    Commercial();
    inCommercial = 0;
}

std::string Broadcast::CommercialWave(int number) {
    static const char* const kSponsors[8] = {"", "buyacoke", "pepsigen", "drpepper", "schlitz", "fosters", "bud", "gobetter"};
    if (number >= 1 && number <= 7) return kSponsors[number];
    return "baseco" + std::to_string(number - 7);
}

void Broadcast::Commercial() {
    StopExcitement(sound_);
    const int pool = 7 + extraCommercials;
    int number;
    do number = keys_.wf(pool);
    while (std::find(recentCommercials.begin(), recentCommercials.end(), number) != recentCommercials.end());
    std::copy_backward(recentCommercials.begin(), recentCommercials.end() - 1, recentCommercials.end());
    recentCommercials[0] = number;
    if (number <= 7) sound_.play2(CommercialWave(number));
    else sound_.play4(CommercialWave(number));
    dcr();
    keys_.clk();
}

void Broadcast::dcr() {
    if (keys_.wf(10) != 7) return;
    std::string text =
        "not valid where prohibited prices do not include taxes shipping and handling or promotional fee no guarantee "
        "warrantee liability or merchantability of product valid with this offer items may not be sold resold or "
        "disseminated in any way shape or form prices not valid without promotional code number ";
    for (int i = 0; i < 13; ++i) text += Spoken(keys_.wf(9));
    keys_.dy(0.3);
    if (speech_.Voice) speech_.Voice->SetRate(std::clamp(speech_.speechRate + 6, -10, 10));
    speech_.say(text);
    if (speech_.Voice) speech_.Voice->SetRate(speech_.speechRate);
    keys_.dy(0.7);
}

}  // namespace sw
