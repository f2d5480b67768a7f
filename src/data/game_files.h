// The files that carry a series between runs: the saved game (baseball.sav),
// its batting order (basebats.sav), the series record (baseball.rec) and the
// game log (baseballlog.txt). Every value on its own line, CR LF line ends,
// numbers with their blanks, an empty line for a number never given.
//
// Readers fill the caller's structure in file order and stop at the first
// value they cannot read (missing, not a number, or outside the values the
// game can use); what was not read keeps its previous value. Writers replace
// the whole file atomically and report a failure on standard error.
#pragma once

#include "record/number.h"

#include <array>
#include <string>
#include <vector>

namespace sw::data {

inline constexpr int kMarkerNoGame = 0;
inline constexpr int kMarkerSavedGame = 1;
inline constexpr int kMarkerSeriesGame = 4242;

// How many relievers each bullpen of a saved game can hold.
inline constexpr int kBullpenCapacityTeam1 = 7;
inline constexpr int kBullpenCapacityTeam2 = 10;

// baseball.sav after marker 1. Arrays are indexed as the game indexes them:
// [1] the player's team, [2] the computer's; element 0 unused.
struct SavedGame {
    Num saveMarker;
    std::string teamName[3];
    std::string managerName;
    Num runs[3];
    Num inning, half, battingTeam, homeTeam, visitingTeam;
    Num outs, balls, strikes;
    Num runnerOnFirst, runnerOnSecond, runnerOnThird, runnersOn;
    Num contactHandicap;
    Num bullpenCountTeam1;
    std::array<std::string, 8> bullpenTeam1;   // 1..bullpenCountTeam1
    Num bullpenCountTeam2;
    std::array<std::string, 11> bullpenTeam2;  // 1..bullpenCountTeam2
    Num runTally, hitTally, grandSlamTally, homeRunTally, tripleTally, doubleTally, walkTally, hitBatterTally,
        stolenBaseTally, pickoffTally, caughtStealingTally, doublePlayTally, strikeoutTally;
    Num hits[3];
    Num leftOnBase[3];
};

// What the first line of baseball.sav says.
enum class SaveKind {
    Missing,     // no file
    Unreadable,  // the file cannot be read, is empty, or its first line is not a number
    MarkerOnly,  // a marker and nothing after it
    WithData,    // a marker followed by more lines
};
struct SaveProbe {
    SaveKind kind = SaveKind::Missing;
    int marker = 0;
};
SaveProbe ProbeSavedGame(const std::string& path);

// Reads every field (the marker included). True when the whole file was read.
bool ReadSavedGame(const std::string& path, SavedGame& game);
// The whole game, as "save and exit" writes it.
bool WriteSavedGame(const std::string& path, const SavedGame& game);
// The marker alone (0 or 4242).
bool WriteSaveMarker(const std::string& path, int marker);

// basebats.sav.
struct BattingOrder {
    Num batterUpTeam1, batterUpTeam2;
};
bool ReadBattingOrder(const std::string& path, BattingOrder& order);
bool WriteBattingOrder(const std::string& path, const BattingOrder& order);

// baseball.rec. A record whose first value is 0 holds nothing more.
struct SeriesRecord {
    Num seriesOpenerHome;
    Num seriesWinsTeam1, seriesWinsTeam2;
    std::string teamName1, managerName, teamName2;
};
bool ReadSeriesRecord(const std::string& path, SeriesRecord& record);
// All six lines.
bool WriteSeriesRecord(const std::string& path, const SeriesRecord& record);
// The single line 0: no series under way.
bool WriteSeriesDecided(const std::string& path);

// The game log. A new log starts with kLogBanner, a line of three
// comma-separated fields.
extern const char kLogBanner[];
// Replaces the log with the banner line alone.
bool StartNewLog(const std::string& path);
// Appends each line followed by CR LF; creates the file when missing.
bool AppendLog(const std::string& path, const std::vector<std::string>& lines);
// A sentence as a log line: trailing blanks removed, ". " added.
std::string LogLine(const std::string& sentence);
// The opening lines of the most recent game in the log: its game line
// (" this is game #...") and, when the line after it is a standing line
// (" the series is tied ..." or "... lead the series ..."), that line too,
// joined as written. Empty when the log is missing or holds no game line.
std::string ReadLogHeader(const std::string& path);

// The readers above over a file's text already in memory; they read exactly
// as the file readers do, without reporting anything.
SaveProbe ProbeSavedGameText(const std::string& text);
bool ParseSavedGame(const std::string& text, SavedGame& game);
bool ParseBattingOrder(const std::string& text, BattingOrder& order);
bool ParseSeriesRecord(const std::string& text, SeriesRecord& record);
std::string ParseLogHeader(const std::string& text);

}  // namespace sw::data
