#include "soak/soak.h"

#include "data/game_files.h"
#include "data/rosters.h"
#include "game/game.h"
#include "host/files.h"
#include "host/sim/sim_host.h"
#include "programs/player_home.h"
#include "support/sim_run.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <numbers>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <sstream>

namespace sw::soak {

namespace fs = std::filesystem;
using host::sim::SimBuffer;
using host::sim::SimHost;

// ---------------------------------------------------------------------------
// Profiles and dice

std::optional<Profile> ProfileNamed(const std::string& name) {
    if (name == "always87") return Profile::Always87;
    if (name == "realistic") return Profile::Realistic;
    if (name == "random") return Profile::Random;
    if (name == "never") return Profile::Never;
    return std::nullopt;
}

std::string ProfileName(Profile p) {
    switch (p) {
        case Profile::Always87: return "always87";
        case Profile::Realistic: return "realistic";
        case Profile::Random: return "random";
        case Profile::Never: return "never";
    }
    return "?";
}

uint64_t Dice::Next() {
    // splitmix64
    uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

double Dice::Uniform() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }

int Dice::Below(int n) { return static_cast<int>(Uniform() * n); }

double Dice::Normal(double mean, double sd) {
    // Box and Muller, one value per call.
    const double u1 = 1.0 - Uniform();
    const double u2 = Uniform();
    return mean + sd * std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * std::numbers::pi * u2);
}

namespace {

constexpr int kEnter = 13, kEscape = 27, kSpace = 32, kUp = 38, kDown = 40, kShift = 16, kCtrl = 17, kF1 = 112,
              kF11 = 122, kF12 = 123, kGrave = 192, kBackslash = 220, kClose = -1, kTerminate = -2;
int Key(char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 65 : c; }

bool StartsWith(const std::string& s, const std::string& p) { return s.compare(0, p.size(), p) == 0; }

std::string Fmt(double v) {
    char b[40];
    std::snprintf(b, sizeof b, "%.17g", v);
    return b;
}

std::string DataFolder(const std::string& root) { return test::DataFolderOf(root); }

std::map<std::string, std::string> Snapshot(const std::string& folder) {
    std::map<std::string, std::string> out;
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return out;
    for (const auto& e : fs::directory_iterator(folder, ec)) {
        if (!e.is_regular_file()) continue;
        const std::string name = e.path().filename().string();
        if (!name.empty() && name[0] == '.') continue;  // a write in progress
        out[name] = host::ReadText(e.path().string());
    }
    return out;
}

void Restore(const std::string& folder, const std::map<std::string, std::string>& files) {
    host::MakeFolder(folder);
    for (const auto& [name, text] : files) host::WriteFileAtomic(folder + "/" + name, text);
}

int Int(const std::string& s) { return std::atoi(s.c_str()); }

// The series record as the files hold it.
struct Series {
    bool present = false;
    int opener = 0, wins1 = 0, wins2 = 0;
    std::string names;
};
Series ReadSeries(const std::map<std::string, std::string>& files) {
    Series s;
    auto it = files.find("baseball.rec");
    if (it == files.end()) return s;
    const auto lines = test::CrLfLines(it->second);
    if (lines.size() < 6) return s;
    s.present = true;
    s.opener = Int(lines[0]);
    s.wins1 = Int(lines[1]);
    s.wins2 = Int(lines[2]);
    s.names = lines[3] + "/" + lines[4] + "/" + lines[5];
    return s;
}
int Marker(const std::map<std::string, std::string>& files) {
    auto it = files.find("baseball.sav");
    return it == files.end() ? -1 : Int(it->second);
}
std::string FileOr(const std::map<std::string, std::string>& files, const std::string& name) {
    auto it = files.find(name);
    return it == files.end() ? std::string("(none)") : it->second;
}

std::set<std::string> Manifest() {
    std::set<std::string> names;
    std::istringstream in(host::ReadText(std::string(SW_SOUNDS_DIR) + "/manifest.txt"));
    std::string line;
    while (std::getline(in, line)) {
        std::string name = line.substr(0, line.find(' '));
        if (name.size() > 4 && name.compare(name.size() - 4, 4, ".wav") == 0) names.insert(name.substr(0, name.size() - 4));
    }
    return names;
}

bool IsPitch(const std::string& n) { return n.size() == 2 && n[0] == 'p' && n[1] >= '1' && n[1] <= '7'; }

// Thrown out of a tick to end a program run that no longer advances; no part
// of the game catches it.
struct Hang {};

// The counts of one game, kept across its program runs.
struct Account {
    int summaryRuns[3] = {0, 0, 0};  // told by the half-innings' summaries
    int summaryInning = 0, summaryHalf = 0;  // the half last summed up
    std::set<std::string> summaries;         // each counted once (the grave accent repeats one)
    TeamTotals team[3];
    // The tallies of the half-inning being played, as last seen.
    int inning = -1, half = -1, batting = 0;
    int walks = 0, strikeouts = 0, homeRuns = 0;
    void Commit() {
        if (batting == 1 || batting == 2) {
            team[batting].walks += walks;
            team[batting].strikeouts += strikeouts;
            team[batting].homeRuns += homeRuns;
        }
        walks = strikeouts = homeRuns = 0;
    }
};

// How a program run ended, as far as the player knows.
enum class Chose { Nothing, SaveAndExit, ExitGame };

// One program run on the simulated host, with the player (or a recorded
// game's keys) at the keyboard and the watcher checking the game.
class Run {
public:
    Run(const std::string& root, Dice& dice, Profile profile, const RunRecord* replay, RunRecord* record,
        Account& account, std::vector<std::string>& violations)
        : world_(root),
          sim_(*world_.sim),
          dice_(dice),
          profile_(profile),
          replay_(replay),
          record_(record),
          account_(account),
          violations_(violations) {
        static const std::set<std::string> manifest = Manifest();
        manifest_ = &manifest;
        sim_.SetSkipAhead(true);
        sim_.SetTimeLimit(4 * 3600);
        sim_.OnTick([this] { Tick(); });
    }

    void Go() {
        try {
            program_.Run();
        } catch (const Hang&) {
        } catch (const host::sim::SimTimeout&) {
            Violation("the program run passed four hours of virtual time");
        } catch (const std::exception& e) {
            Violation(std::string("the program run threw: ") + e.what());
        }
        for (const auto& f : sim_.faults()) Violation(f);
        account_.inning = program_.state().inning;
        account_.half = program_.state().half;
    }

    GameProgram& program() { return program_; }
    SimHost& sim() { return sim_; }
    Chose chose() const { return replay_ ? static_cast<Chose>(replay_->chose) : chose_; }
    long pitches = 0;

    Transcript MakeTranscript(const std::string& dataFolder) const {
        Transcript t;
        for (const auto& u : sim_.utterances())
            t.lines.push_back("say " + Fmt(u.queued) + " " + Fmt(u.start) + " " + Fmt(u.end) + " " + std::to_string(u.rate) +
                              " " + std::to_string(u.voice) + " " + std::to_string(u.volume) + (u.cut ? " cut " : " ") +
                              u.text);
        for (const auto& s : sim_.sounds()) {
            std::string line = "play " + s.name + " " + Fmt(s.start) + " " + Fmt(s.stop) + " " + std::to_string(s.volume) +
                               " " + std::to_string(s.pan) + " " + std::to_string(s.frequency) +
                               (s.looping ? " loop" : "");
            for (const auto& [when, pan] : s.pans) line += " pan@" + Fmt(when) + "=" + std::to_string(pan);
            for (const auto& [when, hz] : s.frequencies) line += " hz@" + Fmt(when) + "=" + std::to_string(hz);
            t.lines.push_back(line);
        }
        for (const auto& [name, text] : Snapshot(dataFolder)) t.lines.push_back("file " + name + "\n" + text);
        return t;
    }

private:
    void Violation(const std::string& what) {
        char at[64];
        std::snprintf(at, sizeof at, " (at %.3f s)", sim_.clock().now());
        violations_.push_back(what + at);
    }

    // --- the keyboard ---------------------------------------------------------
    void Press(int code, double stamp) {
        if (record_) record_->keys.push_back({sim_.clock().now(), stamp, code});
        if (code == kClose) sim_.RequestClose();
        else if (code == kTerminate) sim_.RequestTerminate();
        else sim_.PressKey(code, stamp);
    }
    void PressAfter(int code, double delay) { Press(code, sim_.clock().now() + delay); }
    // After the text now starting has been said (and a little more).
    void PressAfterSaid(int code, const host::sim::Utterance& u, double more = 0.2) {
        Press(code, std::max(sim_.clock().now(), u.start + SimHost::Duration(u.text, u.rate) + more));
    }
    void Type(const std::string& text, double first) {
        double t = sim_.clock().now() + first;
        for (char c : text) {
            if (c >= 'A' && c <= 'Z') {
                Press(kShift, t);
                t += 0.25;
                c = static_cast<char>(c - 'A' + 'a');
            }
            Press(Key(c), t);
            t += 0.25;
        }
        Press(kEnter, t);
    }

    void Tick() {
        if (replay_) {
            // The recorded keys, each made at the moment it was made before.
            while (replayAt_ < replay_->keys.size() && replay_->keys[replayAt_].pressedAt <= sim_.clock().now()) {
                const KeyPress& k = replay_->keys[replayAt_++];
                if (k.code == kClose) sim_.RequestClose();
                else if (k.code == kTerminate) sim_.RequestTerminate();
                else sim_.PressKey(k.code, k.stamp);
            }
        }
        Watch();
        if (!replay_) Play();
    }

    // --- the player -----------------------------------------------------------------
    double SwingPercent() {
        switch (profile_) {
            case Profile::Always87: return 87;
            case Profile::Realistic: return dice_.Normal(87, 3);
            case Profile::Random: return dice_.Uniform() * 100;
            case Profile::Never: return -1;
        }
        return -1;
    }

    void Play() {
        const auto& us = sim_.utterances();
        for (; heard_ < us.size(); ++heard_) {
            const auto& u = us[heard_];
            if (u.start < 0) {
                if (u.end >= 0) continue;  // dropped before it was heard
                break;
            }
            lastHeard_ = u.start;
            Heard(u);
        }
        const auto& ss = sim_.sounds();
        for (; soundsHeard_ < ss.size(); ++soundsHeard_)
            if (ss[soundsHeard_].name == "take" && ss[soundsHeard_].start < 5 && dice_.Chance(0.5))
                PressAfter(kSpace, 1.0);  // cuts the opening music short
        Swing();
        // The session ends (a shutdown, a logout) at a moment of the game.
        if (terminateAt_ >= 0 && sim_.clock().now() >= terminateAt_) {
            terminateAt_ = -1;
            Press(kTerminate, sim_.clock().now());
        }
        // Nothing said for a long while: the game waits for something this
        // player did not understand; a person would press a key.
        const double now = sim_.clock().now();
        if (now - lastHeard_ > 30 && now - lastNudge_ > 30 && !sim_.speechBusy()) {
            lastNudge_ = now;
            PressAfter(kSpace, 0.0);
        }
    }

    void Swing() {
        if (program_.state().battingTeam != 1) return;
        SimBuffer* b = nullptr;
        for (auto* x : sim_.liveBuffers())
            if (IsPitch(x->name()) && x->playing()) b = x;
        if (!b || b->playIndex() == swungAt_) return;
        if (percent_ < -100) percent_ = SwingPercent();
        if (percent_ < 0) {
            swungAt_ = b->playIndex();
            percent_ = -1000;
            return;
        }
        auto target = static_cast<uint32_t>(std::ceil(std::min(percent_, 100.0) * b->fileBytes() / 100.0 - 1e-9));
        target += target % 2;
        const double t = b->TimeOfPosition(target);
        if (t < 0) {
            // Beyond the sound's end: no swing at this pitch.
            if (b->EndTime() >= 0 && b->EndTime() <= sim_.clock().now() + sim_.quantum()) {
                swungAt_ = b->playIndex();
                percent_ = -1000;
            }
            return;
        }
        if (t > sim_.clock().now() + sim_.quantum()) return;
        swungAt_ = b->playIndex();
        percent_ = -1000;
        Press(kSpace, t);
    }

    // Now and then a key of the keyboard's others at a prompt.
    int HotKey() {
        static const int keys[] = {kF1, kF1 + 1, kF1 + 2, kF1 + 3, kF1 + 4, kF1 + 5, kF1 + 6, kF1 + 7, kF1 + 8,
                                   kGrave, kBackslash, kCtrl, kF11, kF12};
        return keys[dice_.Below(static_cast<int>(std::size(keys)))];
    }

    // At a prompt of the game: Escape now and then, another key now and then.
    bool Extra(const host::sim::Utterance& u, int answer) {
        if (terminateAt_ < 0 && dice_.Chance(0.001)) {
            // Now, at the prompt, or a few seconds on, in the pitch or play.
            terminateAt_ = sim_.clock().now() + (dice_.Chance(0.5) ? 0.0 : dice_.Uniform() * 8);
            PressAfter(answer, 0.05 + dice_.Uniform() * 1.5);
            return true;
        }
        if (dice_.Chance(0.006)) {
            const double r = dice_.Uniform();
            pauseItem_ = r < 0.35 ? 1 : r < 0.45 ? 2 : 3;
            answerAfterReturn_ = answer;
            PressAfter(kEscape, 0.05 + dice_.Uniform() * 0.5);
            return true;
        }
        if (dice_.Chance(0.03)) {
            PressAfterSaid(HotKey(), u, -0.5 + dice_.Uniform());
            return true;
        }
        return false;
    }

    void Heard(const host::sim::Utterance& u) {
        const std::string& text = u.text;
        const GameState& gs = program_.state();
        if (StartsWith(text, " press the space bar to step into the batters box, ")) {
            CheckPrompt();
            const double r = dice_.Uniform();
            int key = kSpace;
            if (r > 0.97) key = Key('h');
            else if (r > 0.94) key = Key('s');
            else if (r > 0.90) key = Key('b');
            if (Extra(u, key)) return;
            PressAfter(key, 0.05 + dice_.Uniform() * 1.5);
            return;
        }
        if (StartsWith(text, " WHAT WILL YOUR PITCHER THROW")) {
            CheckPrompt();
            const double r = dice_.Uniform();
            int key = '1' + dice_.Below(7);
            if (r > 0.985) key = '9';
            else if (r > 0.95) key = '8';
            else if (r > 0.93) key = dice_.Chance(0.5) ? '0' : Key('q');
            if (Extra(u, key)) return;
            PressAfter(key, 0.05 + dice_.Uniform() * 2.0);
            return;
        }
        if (text == " Press the number of the base to throw to") {
            const int base = gs.runnerOnThird == 1 && dice_.Chance(0.3) ? 3
                             : gs.runnerOnSecond == 1 && dice_.Chance(0.5) ? 2
                             : gs.runnerOnFirst == 1 ? 1
                             : gs.runnerOnSecond == 1 ? 2
                                                      : 3;
            PressAfterSaid('0' + base, u);
            return;
        }
        if (text == " Select, The bull pen pitcher to bring in. ") {
            if (dice_.Chance(0.5)) {
                PressAfterSaid(dice_.Chance(0.5) ? kDown : kUp, u);
                bullpenEnterNext_ = true;
            } else {
                PressAfterSaid(kEnter, u, 0.5);
            }
            return;
        }
        if (bullpenEnterNext_ && text.find(" equals ") != std::string::npos) {
            bullpenEnterNext_ = false;
            PressAfter(kEnter, 0.3);
            return;
        }
        // The pause menu.
        if (text == " Select. 1. save and exit game ") {
            PressAfter(pauseItem_ == 1 ? kEnter : pauseItem_ == 2 ? kDown : kUp, 0.3);
            if (pauseItem_ == 1) chose_ = Chose::SaveAndExit;
            return;
        }
        if (text == " 2. exit game " && pauseItem_ == 2) {
            chose_ = Chose::ExitGame;
            PressAfter(kEnter, 0.3);
            return;
        }
        if (text == " 3. return to game" && pauseItem_ == 3) {
            pauseItem_ = 0;
            PressAfter(kEnter, 0.3);
            // The next key goes to the game as the answer to its prompt.
            PressAfter(answerAfterReturn_, 0.9);
            return;
        }
        // The end of the game.
        if (text == " Press any key, or the r key to read the baseball log dot t x t file ") {
            const double r = dice_.Uniform();
            // Escape too: should it open the pause menu, save and exit would be chosen.
            if (r < 0.05) pauseItem_ = 1;
            PressAfterSaid(r < 0.05 ? kEscape : r < 0.15 ? Key('r') : kSpace, u, dice_.Uniform());
            return;
        }
        if (text == " Press any key") {
            PressAfterSaid(kSpace, u, 0.5);
            return;
        }
        // The start-up's questions.
        if (text == " Would you like to read the baseball rules dot T X T file? yes " ||
            text == " Would you like to read the baseball rules dot T X T file? no " ||
            text == " Do you wish to exit the game? yes ") {
            PressAfter(Key('n'), 0.3 + dice_.Uniform());
            return;
        }
        if (text == " would you like to get in some batting practice? yes ") {
            PressAfter(dice_.Chance(0.05) ? Key('y') : Key('n'), 0.3 + dice_.Uniform());
            return;
        }
        if (text == " Would you like to reed the special key instructions? ") {
            PressAfter(Key('n'), 0.5 + dice_.Uniform());
            return;
        }
        if (text == "do you wish to use this voice. yes ") {
            PressAfter(dice_.Chance(0.15) ? Key('n') : kEnter, 0.3 + dice_.Uniform());
            return;
        }
        if (text == " What would you like the name of your team to be ?") {
            Type(dice_.Chance(0.5) ? "Reds" : "Bluejays", 0.5);
            return;
        }
        if (text == " Your team needs a manager.  What is your name ?") {
            Type(dice_.Chance(0.5) ? "kim" : "Lee", 0.5);
            return;
        }
        if (text == " What would you like the name of my team to be ?") {
            Type(dice_.Chance(0.5) ? "Owls" : "Tigers", 0.5);
            return;
        }
        if (StartsWith(text, "is, ") || StartsWith(text, " is, ")) {
            PressAfter(dice_.Chance(0.5) ? kEnter : Key('y'), 0.5);
            return;
        }
        if (StartsWith(text, " Let's flip a coin.")) {
            PressAfterSaid(dice_.Chance(0.5) ? Key('h') : Key('t'), u);
            return;
        }
        // The volume, rate and voice keys' own questions.
        if (StartsWith(text, " use the up and down arrow keys")) {
            PressAfter(dice_.Chance(0.4) ? (dice_.Chance(0.5) ? kUp : kDown) : kEnter, 0.3 + dice_.Uniform());
            return;
        }
        if (text == " louder " || text == " quieter " || text == " maximum " || text == " minimum ") {
            PressAfter(kEnter, 0.3);
            return;
        }
        if (text == "to adjust the speech rate, use the arrow keys and then press enter") {
            if (dice_.Chance(0.3)) {
                PressAfterSaid(dice_.Chance(0.5) ? kUp : kDown, u);
                rateEnterNext_ = true;
            } else {
                PressAfterSaid(kEnter, u);
            }
            return;
        }
        // Batting practice, when a question's answer led there: a few
        // pitches of the random kind, then out.
        if (text == " random pitches ") {
            if (practicePitches_ < 0) practicePitches_ = dice_.Below(4);
            PressAfter(practicePitches_ > 0 ? kEnter : kDown, 0.5);
            return;
        }
        if (text == " selected pitches ") {
            PressAfter(kDown, 0.5);
            return;
        }
        if (text == " exit ") {
            practicePitches_ = -1;
            PressAfter(kEnter, 0.5);
            return;
        }
        if (text == "press the space bar to step into the batters box or e to exit") {
            PressAfter(practicePitches_-- > 0 ? kSpace : Key('e'), 0.5);
            if (practicePitches_ < 0) practicePitches_ = 0;
            return;
        }
        if (rateEnterNext_) {
            rateEnterNext_ = false;
            PressAfter(kEnter, 0.5);
        }
    }

    // --- the watcher ---------------------------------------------------------------------
    // After every pitch, at the prompt of the next.
    void CheckPrompt() {
        const GameState& gs = program_.state();
        std::ostringstream bad;
        // A prompt comes in a live at-bat: fewer than three outs, four balls
        // or three strikes.
        if (gs.outs < 0 || gs.outs > 2) bad << " outs " << gs.outs;
        if (gs.balls < 0 || gs.balls > 3) bad << " balls " << gs.balls;
        if (gs.strikes < 0 || gs.strikes > 2) bad << " strikes " << gs.strikes;
        for (int f : {int(gs.runnerOnFirst), int(gs.runnerOnSecond), int(gs.runnerOnThird)})
            if (f != 0 && f != 1) bad << " a base flag " << f;
        if (gs.runnersOn != gs.runnerOnFirst + gs.runnerOnSecond + gs.runnerOnThird)
            bad << " runnersOn " << gs.runnersOn << " with bases " << gs.runnerOnFirst << gs.runnerOnSecond
                << gs.runnerOnThird;
        if (gs.homeTeam != 1 && gs.homeTeam != 2) bad << " home team " << gs.homeTeam;
        if (gs.visitingTeam != 3 - gs.homeTeam) bad << " visitors " << gs.visitingTeam;
        if (gs.half != 1 && gs.half != 2) bad << " half " << gs.half;
        if (gs.battingTeam != (gs.half == 1 ? gs.visitingTeam : gs.homeTeam))
            bad << " team " << gs.battingTeam << " bats in half " << gs.half << " with home " << gs.homeTeam;
        if (gs.inning < 1) bad << " inning " << gs.inning;
        if (gs.seriesWinsTeam1 > 3 || gs.seriesWinsTeam2 > 3)
            bad << " series wins " << gs.seriesWinsTeam1 << "-" << gs.seriesWinsTeam2 << " with a game to play";
        if (!bad.str().empty()) Violation("at a prompt:" + bad.str());
    }

    void Watch() {
        const GameState& gs = program_.state();
        // Runs never go down.
        for (int t = 1; t <= 2; ++t) {
            if (gs.runs[t] < lastRuns_[t]) Violation("the runs of team " + std::to_string(t) + " went down");
            lastRuns_[t] = gs.runs[t];
        }
        // The half-inning's tallies, counted into the team that batted.
        if (gs.inning.given() && gs.half.given()) {
            if (gs.inning != account_.inning || gs.half != account_.half) {
                if (account_.inning >= 0) account_.Commit();
                account_.inning = gs.inning;
                account_.half = gs.half;
                account_.batting = gs.battingTeam;
            }
            account_.walks = std::max<int>(account_.walks, gs.walkTally);
            account_.strikeouts = std::max<int>(account_.strikeouts, gs.strikeoutTally);
            account_.homeRuns = std::max<int>(account_.homeRuns, gs.homeRunTally + gs.grandSlamTally);
            if (gs.battingTeam == 1 || gs.battingTeam == 2) account_.batting = gs.battingTeam;
        }
        // Every sound is one of ours; every pitch counted for the team at bat.
        const auto& ss = sim_.sounds();
        for (; soundsSeen_ < ss.size(); ++soundsSeen_) {
            const auto& s = ss[soundsSeen_];
            if (!manifest_->count(s.name)) Violation("a sound that is not in the set: " + s.name);
            if (IsPitch(s.name)) {
                ++pitches;
                if (gs.battingTeam == 1 || gs.battingTeam == 2) account_.team[int(gs.battingTeam)].pitches += 1;
            }
        }
        // No sentence spoken empty, but for the echo of a key without a character.
        const auto& us = sim_.utterances();
        for (; saidSeen_ < us.size(); ++saidSeen_) {
            const auto& u = us[saidSeen_];
            if (u.start >= 0) lastSaid_ = u.start;
            if (u.text.empty() && u.rate != std::clamp(program_.speech().speechRate + 2, -10, 10))
                Violation("an empty sentence was spoken");
            if (StartsWith(u.text, " in the ") && u.text.find(" half of the ") != std::string::npos &&
                account_.summaries.insert(u.text).second) {
                const size_t at = u.text.find("scored, ");
                const int runs = at == std::string::npos ? 0 : std::atoi(u.text.c_str() + at + 8);
                const int team = u.text.find(" in the " + gs.teamName[1] + " half") == 0 ? 1 : 2;
                account_.summaryRuns[team] += runs;
                account_.summaryInning = gs.inning;
                account_.summaryHalf = gs.half;
            }
        }
        // No hang: the game is never silent for minutes (reading the whole
        // log aloud can take longer, but it is speech all the while).
        if (sim_.speechBusy()) lastSaid_ = sim_.clock().now();
        if (sim_.clock().now() - lastSaid_ > 600) {
            Violation("nothing was said for ten minutes of virtual time");
            throw Hang{};
        }
    }

    test::SimWorld world_;
    SimHost& sim_;
    GameProgram program_{sim_};
    Dice& dice_;
    Profile profile_;
    const RunRecord* replay_;
    RunRecord* record_;
    Account& account_;
    std::vector<std::string>& violations_;
    const std::set<std::string>* manifest_ = nullptr;
    size_t replayAt_ = 0;
    size_t heard_ = 0, soundsHeard_ = 0, soundsSeen_ = 0, saidSeen_ = 0;
    double lastHeard_ = 0, lastNudge_ = 0, lastSaid_ = 0;
    int swungAt_ = -1;  // the play of the pitch sound last swung at (or let go)
    double percent_ = -1000;
    int pauseItem_ = 0;
    int answerAfterReturn_ = kSpace;
    bool bullpenEnterNext_ = false, rateEnterNext_ = false;
    int practicePitches_ = -1;
    double terminateAt_ = -1;
    Chose chose_ = Chose::Nothing;
    int lastRuns_[3] = {0, 0, 0};
};

// How the run ended. A session that ends at the offer after the game ends
// the run by the terminate request, but the game was over.
std::optional<Leave> HowItEnded(GameProgram& program) {
    if (program.ended == Leave::SessionEnded && program.gameEnd().winningTeam != 0) return Leave::GameOver;
    return program.ended;
}

// The player chose "save and exit" and the run left through the pause menu.
bool SavedAndLeft(Chose chose, std::optional<Leave> end) {
    return chose == Chose::SaveAndExit && (end == Leave::SaveAndExit || end == Leave::ExitWithoutSaving);
}

// The files a finished program run must have left, given those it found.
void CheckFiles(const std::map<std::string, std::string>& before, const std::map<std::string, std::string>& after,
                GameProgram& program, Chose chose, const Account& account, std::vector<std::string>& violations) {
    auto bad = [&](const std::string& what) { violations.push_back("after the run: " + what); };
    const Series was = ReadSeries(before), now = ReadSeries(after);
    const std::string rec = FileOr(after, "baseball.rec"), sav = FileOr(after, "baseball.sav");
    for (const Series* s : {&was, &now})
        if (s->present && (s->wins1 > 4 || s->wins2 > 4 || s->wins1 < 0 || s->wins2 < 0))
            bad("series wins " + std::to_string(s->wins1) + "-" + std::to_string(s->wins2));
    const auto end = HowItEnded(program);
    const GameState& gs = program.state();
    if (end == Leave::GameOver) {
        const int winner = gs.runs[1] > gs.runs[2] ? 1 : 2;
        if (gs.runs[1] == gs.runs[2]) bad("a game over with the score tied");
        const int w1 = (was.present ? was.wins1 : 0) + (winner == 1), w2 = (was.present ? was.wins2 : 0) + (winner == 2);
        if (w1 == 4 || w2 == 4) {
            if (rec != " 0 \r\n" || sav != " 0 \r\n") bad("the championship left rec [" + rec + "] sav [" + sav + "]");
        } else {
            if (!now.present || now.wins1 != w1 || now.wins2 != w2)
                bad("the series record [" + rec + "] after a win of team " + std::to_string(winner) + " from " +
                    std::to_string(was.wins1) + "-" + std::to_string(was.wins2));
            if (sav != " 4242 \r\n") bad("the saved-game marker [" + sav + "] after a game");
        }
        // The runs the summaries told, with those of a last half the game
        // ended in (a walk-off has no summary), are the final score.
        for (int t = 1; t <= 2; ++t) {
            int told = account.summaryRuns[t];
            if (t == gs.battingTeam && !(gs.inning == account.summaryInning && gs.half == account.summaryHalf))
                told += gs.runTally;
            if (told != gs.runs[t])
                bad("the summaries told " + std::to_string(told) + " runs for team " + std::to_string(t) +
                    ", the score is " + std::to_string(gs.runs[t]));
        }
        const auto log = test::CrLfLines(FileOr(after, "baseballlog.txt"));
        const std::string won = " the " + gs.teamName[winner] + " have won the game",
                          score = " by the score of " + std::to_string(gs.runs[winner]) + " to " +
                                  std::to_string(gs.runs[3 - winner]) + ". ";
        // This game's result is the log's last.
        auto result = std::find_if(log.rbegin(), log.rend(), [&](const std::string& l) { return StartsWith(l, won); });
        if (result == log.rend() || result->size() < score.size() ||
            result->compare(result->size() - score.size(), score.size(), score) != 0)
            bad("the log's result is not [" + won + "..." + score + "]");
        for (int t = 1; t <= 2; ++t) {
            const std::string head = " The " + gs.teamName[t] + " scored";
            auto line = std::find_if(log.rbegin(), log.rend(), [&](const std::string& l) { return StartsWith(l, head); });
            if (line == log.rend() || Int(line->substr(head.size())) != gs.runs[t])
                bad("the log's box score for " + gs.teamName[t] + " does not tell " + std::to_string(gs.runs[t]) +
                    " runs: [" + (line == log.rend() ? std::string("none") : *line) + "]");
        }
    } else if (SavedAndLeft(chose, end) || end == Leave::SessionEndedMidGame) {
        // Save and exit, or the session ending in the game, which saves the same way.
        if (Marker(after) != 1) bad("save and exit left the marker [" + sav + "]");
        if (was.present && rec != FileOr(before, "baseball.rec")) bad("save and exit changed the series record");
        if (FileOr(after, "basebats.sav") == "(none)") bad("save and exit wrote no batting order");
    } else if (end == Leave::CalledGame) {
        // No win counted, and the same game begins again at the next start.
        if (sav != " 4242 \r\n") bad("the saved-game marker [" + sav + "] after a called game");
        if (was.present && rec != FileOr(before, "baseball.rec")) bad("the series record changed after a called game");
    } else {
        // Exit game, or a run that never reached the game.
        if (sav != FileOr(before, "baseball.sav") && Marker(before) != -1 && Marker(before) != 0)
            bad("the saved game changed without a save: [" + FileOr(before, "baseball.sav") + "] -> [" + sav + "]");
        if (was.present && rec != FileOr(before, "baseball.rec")) bad("the series record changed without a game");
    }
}

uint64_t GameSeed(uint64_t seed, int game) {
    Dice d(seed ^ (0xa0761d6478bd642fULL * static_cast<uint64_t>(game + 1)));
    return d.Next();
}

// One game, in as many program runs as it takes. With `replay`, its keys;
// otherwise the player, recording into `record`.
struct GameResult {
    int saved = 0, sessionsEnded = 0;
    bool finished = false;
    bool championship = false;
    long pitches = 0;
    double virtualSeconds = 0;
    int runs = 0;
    Account account;
    GameState final;
};

GameResult PlayGame(const std::string& root, uint64_t seed, Profile profile, const Replay* replay, Replay* record,
                    std::vector<Transcript>* transcripts, std::vector<std::string>& violations) {
    GameResult out;
    Dice dice(seed);
    const std::string folder = DataFolder(root);
    Account account, atSave;
    for (int r = 0;; ++r) {
        if (replay && r >= static_cast<int>(replay->runs.size())) break;
        if (r >= 40) {
            violations.push_back("a game still not over after 40 program runs");
            break;
        }
        const auto before = Snapshot(folder);
        RunRecord* rec = record ? &record->runs.emplace_back() : nullptr;
        Run run(root, dice, profile, replay ? &replay->runs[static_cast<size_t>(r)] : nullptr, rec, account, violations);
        run.Go();
        ++out.runs;
        out.pitches += run.pitches;
        out.virtualSeconds += run.sim().clock().now();
        const auto after = Snapshot(folder);
        if (transcripts) transcripts->push_back(run.MakeTranscript(folder));
        if (rec) rec->chose = static_cast<int>(run.chose());
        CheckFiles(before, after, run.program(), run.chose(), account, violations);
        const auto end = HowItEnded(run.program());
        out.saved += SavedAndLeft(run.chose(), end);
        out.sessionsEnded += end == Leave::SessionEndedMidGame;
        if (end == Leave::GameOver || end == Leave::CalledGame) {
            out.finished = end == Leave::GameOver;
            account.Commit();
            out.account = account;
            out.final = run.program().state();
            out.championship = out.finished && FileOr(after, "baseball.rec") == " 0 \r\n";
            if (end == Leave::CalledGame) out.finished = true;
            if (!replay) break;
        }
        if (!violations.empty() && !replay) break;
        // The game goes on from the save, or from its start.
        if ((run.chose() == Chose::SaveAndExit || end == Leave::SessionEndedMidGame) && Marker(after) == 1)
            atSave = account;
        else account = Marker(after) == 1 ? atSave : Account{};
    }
    return out;
}

std::string Escape(const std::string& s) {
    std::string o;
    for (char c : s) {
        if (c == '"' || c == '\\') o += '\\';
        if (static_cast<unsigned char>(c) < 0x20) {
            char b[8];
            std::snprintf(b, sizeof b, "\\u%04x", c);
            o += b;
        } else {
            o += c;
        }
    }
    return o;
}

}  // namespace

// ---------------------------------------------------------------------------
// Replay files: a header, the files with their lengths, then the keys of
// each run. Times are written with 17 digits, so they read back exactly.

std::string WriteReplay(const Replay& r) {
    std::ostringstream o;
    o << "sluggerwood replay 1\n";
    o << "seed " << r.seed << "\nplayer " << ProfileName(r.profile) << "\ngame " << r.game << "\n";
    for (const auto& [name, text] : r.files) o << "file " << name << " " << text.size() << "\n" << text << "\n";
    for (const auto& run : r.runs) {
        o << "run " << run.keys.size() << " " << run.chose << "\n";
        for (const auto& k : run.keys) o << Fmt(k.pressedAt) << " " << Fmt(k.stamp) << " " << k.code << "\n";
    }
    o << "end\n";
    return o.str();
}

std::optional<Replay> ReadReplay(const std::string& text) {
    std::istringstream in(text);
    std::string word, name;
    Replay r;
    if (!std::getline(in, word) || word != "sluggerwood replay 1") return std::nullopt;
    if (!(in >> word >> r.seed) || word != "seed") return std::nullopt;
    if (!(in >> word >> name) || word != "player" || !ProfileNamed(name)) return std::nullopt;
    r.profile = *ProfileNamed(name);
    if (!(in >> word >> r.game) || word != "game") return std::nullopt;
    while (in >> word) {
        if (word == "end") return r;
        if (word == "file") {
            size_t size = 0;
            if (!(in >> name >> size) || in.get() != '\n' || size > (1u << 24)) return std::nullopt;
            std::string content(size, '\0');
            if (!in.read(content.data(), static_cast<std::streamsize>(size))) return std::nullopt;
            r.files[name] = content;
        } else if (word == "run") {
            size_t n = 0;
            RunRecord run;
            if (!(in >> n >> run.chose) || n > 1000000 || run.chose < 0 || run.chose > 2) return std::nullopt;
            for (size_t i = 0; i < n; ++i) {
                KeyPress k;
                std::string a, b;
                if (!(in >> a >> b >> k.code)) return std::nullopt;
                k.pressedAt = std::strtod(a.c_str(), nullptr);
                k.stamp = std::strtod(b.c_str(), nullptr);
                run.keys.push_back(k);
            }
            r.runs.push_back(std::move(run));
        } else {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::map<std::string, std::string> FreshFiles() {
    test::TempDir dir;
    test::SeedDataFolder(DataFolder(dir.path()));
    return Snapshot(DataFolder(dir.path()));
}

std::vector<std::string> PlayRecorded(uint64_t seed, Profile profile, const std::map<std::string, std::string>& files,
                                      Replay* record, std::vector<Transcript>* transcripts) {
    test::TempDir dir;
    Restore(DataFolder(dir.path()), files);
    std::vector<std::string> violations;
    if (record) {
        record->seed = seed;
        record->profile = profile;
        record->files = files;
    }
    PlayGame(dir.path(), seed, profile, nullptr, record, transcripts, violations);
    return violations;
}

std::vector<std::string> PlayReplay(const Replay& replay, std::vector<Transcript>* transcripts) {
    test::TempDir dir;
    Restore(DataFolder(dir.path()), replay.files);
    std::vector<std::string> violations;
    PlayGame(dir.path(), replay.seed, replay.profile, &replay, nullptr, transcripts, violations);
    return violations;
}

std::string Summary::Json(uint64_t seed, Profile profile) const {
    std::ostringstream o;
    o.setf(std::ios::fixed);
    o.precision(2);
    const double n = games > 0 ? games : 1;
    auto team = [&](const TeamTotals& t) {
        std::ostringstream x;
        x.setf(std::ios::fixed);
        x.precision(2);
        x << "{\"runs\":" << t.runs / n << ",\"hits\":" << t.hits / n << ",\"walks\":" << t.walks / n
          << ",\"strikeouts\":" << t.strikeouts / n << ",\"home_runs\":" << t.homeRuns / n
          << ",\"pitches\":" << t.pitches / n << "}";
        return x.str();
    };
    o << "{\"seed\":" << seed << ",\"player\":\"" << ProfileName(profile) << "\",\"games\":" << games
      << ",\"series_finished\":" << seriesFinished << ",\"program_runs\":" << runs << ",\"saved_and_exited\":" << saved
      << ",\"sessions_ended\":" << sessionsEnded << ",\"pitches\":" << pitches
      << ",\"real_seconds\":" << realSeconds << ",\"violations\":" << violations.size();
    if (!violations.empty())
        o << ",\"first_violation\":{\"game\":" << firstViolationGame << ",\"what\":\"" << Escape(violations.front())
          << "\",\"replay\":\"" << Escape(replayFile) << "\"}";
    o << ",\"per_game\":{\"virtual_minutes\":" << virtualSeconds / 60 / n << ",\"player_team\":" << team(this->team[1])
      << ",\"computer_team\":" << team(this->team[2]) << "}}";
    return o.str();
}

Summary Soak(const Options& options) {
    const auto started = std::chrono::steady_clock::now();
    Summary sum;
    std::optional<test::TempDir> temp;
    std::string root = options.folder;
    if (root.empty()) {
        temp.emplace();
        root = temp->path();
    }
    const std::string folder = DataFolder(root);
    if (!fs::exists(folder + "/baseball.cfg")) test::SeedDataFolder(folder);
    for (int g = 0; g < options.games; ++g) {
        const uint64_t seed = GameSeed(options.seed, g);
        Replay record;
        record.seed = seed;
        record.profile = options.profile;
        record.game = g + 1;
        record.files = Snapshot(folder);
        std::vector<std::string> violations;
        GameResult result = PlayGame(root, seed, options.profile, nullptr, &record, nullptr, violations);
        sum.runs += result.runs;
        sum.saved += result.saved;
        sum.sessionsEnded += result.sessionsEnded;
        sum.pitches += result.pitches;
        if (result.finished) {
            ++sum.games;
            sum.seriesFinished += result.championship;
            sum.virtualSeconds += result.virtualSeconds;
            for (int t = 1; t <= 2; ++t) {
                TeamTotals& tt = sum.team[t];
                const TeamTotals& a = result.account.team[t];
                tt.runs += result.final.runs[t];
                tt.hits += result.final.hits[t];
                tt.walks += a.walks;
                tt.strikeouts += a.strikeouts;
                tt.homeRuns += a.homeRuns;
                tt.pitches += a.pitches;
            }
        }
        if (options.verbose)
            std::fprintf(stderr, "game %d: %d runs, %ld pitches, %s%s\n", g + 1, result.runs, result.pitches,
                         result.finished ? "over" : "not over", violations.empty() ? "" : ", VIOLATION");
        const bool keep = options.keepReplays || (!violations.empty() && sum.violations.empty());
        if (keep) {
            const std::string name = (options.replayFolder.empty() ? std::string(".") : options.replayFolder) +
                                     "/soak-" + ProfileName(options.profile) + "-" + std::to_string(options.seed) + "-game" + std::to_string(g + 1) +
                                     ".replay";
            try {
                host::WriteFileAtomic(name, WriteReplay(record));
                if (!violations.empty()) sum.replayFile = name;
            } catch (const std::exception& e) {
                std::fprintf(stderr, "soak: cannot write %s: %s\n", name.c_str(), e.what());
            }
        }
        if (options.verbose)
            for (const auto& v : violations) std::fprintf(stderr, "  violation: %s\n", v.c_str());
        if (!violations.empty() && sum.violations.empty()) sum.firstViolationGame = g + 1;
        for (auto& v : violations) sum.violations.push_back("game " + std::to_string(g + 1) + ": " + v);
        if (!violations.empty()) {
            // The folder is where the violation left it: start the next game
            // from a clean series rather than stack faults on faults.
            fs::remove(folder + "/baseball.sav");
            fs::remove(folder + "/baseball.rec");
        }
    }
    sum.realSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    return sum;
}

}  // namespace sw::soak
