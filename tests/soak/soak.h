// Series after series of whole games on the simulated host, played by a
// simulated player, with the game's invariants checked after every pitch and
// at the end of every program run, and every game replayable.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sw::soak {

// Where the player's swings fall in the pitch sound.
enum class Profile { Always87, Realistic, Random, Never };
std::optional<Profile> ProfileNamed(const std::string& name);
std::string ProfileName(Profile p);

// A small generator of our own, so that a seed means the same games with
// any standard library.
class Dice {
public:
    explicit Dice(uint64_t seed) : state_(seed) {}
    uint64_t Next();
    double Uniform();                  // [0, 1)
    int Below(int n);                  // 0 .. n-1
    bool Chance(double p) { return Uniform() < p; }
    double Normal(double mean, double sd);

private:
    uint64_t state_;
};

// One key (or request) the player made: when it was made, the time stamp it
// carries, and its code (-1 close request, -2 terminate request).
struct KeyPress {
    double pressedAt = 0;
    double stamp = 0;
    int code = 0;
};

// One program run of a game: the keys that drove it.
struct RunRecord {
    std::vector<KeyPress> keys;
    int chose = 0;  // what the player chose from the pause menu, if anything
};

// Everything needed to play one game again exactly: the player files as they
// stood when its first run started, and the keys of each run.
struct Replay {
    uint64_t seed = 0;
    Profile profile = Profile::Realistic;
    int game = 0;
    std::map<std::string, std::string> files;
    std::vector<RunRecord> runs;
};
std::string WriteReplay(const Replay& r);
std::optional<Replay> ReadReplay(const std::string& text);

// What a program run left behind, to compare two plays of it.
struct Transcript {
    std::vector<std::string> lines;  // texts, sounds and files, in order
};

// Per team, over the games counted.
struct TeamTotals {
    double runs = 0, hits = 0, walks = 0, strikeouts = 0, homeRuns = 0, pitches = 0;
};

struct Summary {
    int games = 0;            // games played to their end (or called)
    int seriesFinished = 0;
    int runs = 0;             // program runs
    int saved = 0;            // runs ended by save and exit
    int sessionsEnded = 0;    // runs ended by a terminate request in the game
    long pitches = 0;
    double realSeconds = 0;
    double virtualSeconds = 0;
    std::vector<std::string> violations;
    int firstViolationGame = -1;
    std::string replayFile;   // written for the first violation
    TeamTotals team[3];       // 1: the player's team, 2: the computer's
    std::string Json(uint64_t seed, Profile profile) const;
};

struct Options {
    int games = 20;
    uint64_t seed = 1;
    Profile profile = Profile::Realistic;
    std::string folder;          // the data folder's home; a temporary one when empty
    std::string replayFolder;    // where replay files go ("" : the current folder)
    bool keepReplays = false;    // write a replay for every game, not only on a violation
    // Called after each program run (for watching files from outside).
    bool verbose = false;
};

// Plays `options.games` games as consecutive program runs on one data folder.
Summary Soak(const Options& options);

// Plays a recorded game again on a fresh folder; fills `transcripts` with
// one per program run and returns the violations seen.
std::vector<std::string> PlayReplay(const Replay& replay, std::vector<Transcript>* transcripts);

// The files of a data folder before the first start: the rosters and settings.
std::map<std::string, std::string> FreshFiles();

// Plays one game with the simulated player from `files`, recording it.
std::vector<std::string> PlayRecorded(uint64_t seed, Profile profile, const std::map<std::string, std::string>& files,
                                      Replay* record, std::vector<Transcript>* transcripts);

}  // namespace sw::soak
