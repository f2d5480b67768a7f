#include "data/game_files.h"

#include "data/settings_files.h"
#include "host/files.h"

#include <climits>
#include <cstdio>
#include <exception>
#include <optional>
#include <string_view>

namespace sw::data {

static_assert(std::tuple_size_v<decltype(SavedGame::bullpenTeam1)> == kBullpenCapacityTeam1 + 1);
static_assert(std::tuple_size_v<decltype(SavedGame::bullpenTeam2)> == kBullpenCapacityTeam2 + 1);

const char kLogBanner[] = "Sluggerwood game log, one game after another, the newest at the end";

namespace {

// The thirteen half-inning tallies in the order the saved game holds them.
constexpr Num SavedGame::*kTallies[] = {
    &SavedGame::runTally,        &SavedGame::hitTally,     &SavedGame::grandSlamTally,      &SavedGame::homeRunTally,
    &SavedGame::tripleTally,     &SavedGame::doubleTally,  &SavedGame::walkTally,           &SavedGame::hitBatterTally,
    &SavedGame::stolenBaseTally, &SavedGame::pickoffTally, &SavedGame::caughtStealingTally, &SavedGame::doublePlayTally,
    &SavedGame::strikeoutTally,
};

constexpr long kMaxCount = 9999;  // runs, hits, men left on base, tallies

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A number line: an optional sign and digits with blanks around them. A line
// of blanks alone is a number never given. Nothing when the line is not a
// number or the number does not fit.
std::optional<Num> ReadNumber(std::string_view line) {
    size_t i = 0;
    const size_t n = line.size();
    while (i < n && IsBlank(line[i])) ++i;
    if (i == n) return Num{};
    bool negative = false;
    if (line[i] == '-' || line[i] == '+') {
        negative = line[i] == '-';
        ++i;
    }
    long long v = 0;
    size_t digits = 0;
    for (; i < n && line[i] >= '0' && line[i] <= '9'; ++i, ++digits) {
        v = v * 10 + (line[i] - '0');
        if (v > -static_cast<long long>(INT_MIN)) return std::nullopt;
    }
    while (i < n && IsBlank(line[i])) ++i;
    if (digits == 0 || i != n) return std::nullopt;
    if (negative) v = -v;
    if (v > INT_MAX) return std::nullopt;
    return Num(static_cast<int>(v));
}

// Walks a file's lines in order without copying them. Lines end at LF with
// one CR before it dropped; a last piece without a line end is a line when it
// holds anything (the lines SplitLines gives).
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

    // The next line, or nothing at the end of the text.
    std::optional<std::string_view> Next() {
        ++read_;
        if (pos_ >= text_.size()) return std::nullopt;
        size_t end = text_.find('\n', pos_);
        size_t stop = end == std::string_view::npos ? text_.size() : end;
        std::string_view line = text_.substr(pos_, stop - pos_);
        pos_ = end == std::string_view::npos ? text_.size() : end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        return line;
    }

    // A number within lo..hi into `field`; a number never given is taken in
    // any field. False, leaving `field` alone, when it cannot be used.
    bool Number(Num& field, long lo, long hi) {
        auto line = Next();
        if (!line) return false;
        auto n = ReadNumber(*line);
        if (!n || (n->given() && (*n < lo || *n > hi))) return false;
        field = *n;
        return true;
    }
    bool AnyNumber(Num& field) { return Number(field, INT_MIN, INT_MAX); }

    bool Text(std::string& field) {
        auto line = Next();
        if (!line) return false;
        field.assign(line->data(), line->size());
        return true;
    }

    // Entries 1..count of a bullpen; the count has been checked against the
    // array already.
    template <size_t N>
    bool Entries(std::array<std::string, N>& entries, int count) {
        for (int i = 1; i <= count; ++i)
            if (!Text(entries[size_t(i)])) return false;
        return true;
    }

    // The number of the line asked for last (1 for the first line), whether
    // or not the file had it.
    size_t lineNumber() const { return read_; }

private:
    std::string_view text_;
    size_t pos_ = 0;
    size_t read_ = 0;
};

bool ReadSavedGameFields(LineReader& r, SavedGame& g) {
    if (!(r.AnyNumber(g.saveMarker) && r.Text(g.teamName[1]) && r.Text(g.managerName) && r.Text(g.teamName[2]) &&
          r.Number(g.runs[1], 0, kMaxCount) && r.Number(g.runs[2], 0, kMaxCount) && r.Number(g.inning, 1, 20) &&
          r.Number(g.half, 1, 2) && r.Number(g.battingTeam, 1, 2) && r.Number(g.homeTeam, 1, 2) &&
          r.Number(g.visitingTeam, 1, 2) && r.Number(g.outs, 0, 3) && r.Number(g.balls, 0, 4) &&
          r.Number(g.strikes, 0, 3) && r.Number(g.runnerOnFirst, 0, 1) && r.Number(g.runnerOnSecond, 0, 1) &&
          r.Number(g.runnerOnThird, 0, 1) && r.Number(g.runnersOn, 0, 3) && r.AnyNumber(g.contactHandicap) &&
          r.Number(g.bullpenCountTeam1, 0, kBullpenCapacityTeam1) && r.Entries(g.bullpenTeam1, g.bullpenCountTeam1) &&
          r.Number(g.bullpenCountTeam2, 0, kBullpenCapacityTeam2) && r.Entries(g.bullpenTeam2, g.bullpenCountTeam2)))
        return false;
    for (auto tally : kTallies)
        if (!r.Number(g.*tally, 0, kMaxCount)) return false;
    return r.Number(g.hits[1], 0, kMaxCount) && r.Number(g.hits[2], 0, kMaxCount) &&
           r.Number(g.leftOnBase[1], 0, kMaxCount) && r.Number(g.leftOnBase[2], 0, kMaxCount);
}

bool ReadBattingOrderFields(LineReader& r, BattingOrder& o) {
    return r.Number(o.batterUpTeam1, 0, 9) && r.Number(o.batterUpTeam2, 0, 9);
}

bool ReadSeriesRecordFields(LineReader& r, SeriesRecord& rec) {
    if (!r.Number(rec.seriesOpenerHome, 0, 2)) return false;
    if (rec.seriesOpenerHome == 0) return true;  // no series: nothing more to read
    return r.Number(rec.seriesWinsTeam1, 0, 4) && r.Number(rec.seriesWinsTeam2, 0, 4) && r.Text(rec.teamName1) &&
           r.Text(rec.managerName) && r.Text(rec.teamName2);
}

// Builds a file's text line by line, CR LF after each.
class LineWriter {
public:
    void Number(const Num& n) {
        if (n.given()) text_ += FormatNumber(n);
        text_ += "\r\n";
    }
    // A text value is one line; a line break inside it would shift every later
    // value of the file, so it is written as a blank.
    void Text(const std::string& s) {
        for (char c : s) text_ += (c == '\r' || c == '\n') ? ' ' : c;
        text_ += "\r\n";
    }
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

// Writes a bullpen: its count and that many entries. A count beyond what the
// array holds is written as the array's size, so the file stays readable.
template <size_t N>
void WriteBullpen(LineWriter& w, const Num& count, const std::array<std::string, N>& entries, const char* which) {
    if (!count.given()) {
        w.Number(count);
        return;
    }
    int n = count;
    const int capacity = int(N) - 1;
    if (n < 0 || n > capacity) {
        std::fprintf(stderr, "saved game: %s bullpen count %d written as %d\n", which, n, n < 0 ? 0 : capacity);
        n = n < 0 ? 0 : capacity;
    }
    w.Number(n);
    for (int i = 1; i <= n; ++i) w.Text(entries[size_t(i)]);
}

// True when anything, even a dangling link, is at `path`.
bool EntryExists(const std::string& path) {
    // A name with a separator is looked up as it is, never ignoring case.
    const std::string asGiven = path.find('/') == std::string::npos ? "./" + path : path;
    return host::FileNameOnDisk("", asGiven).has_value();
}

// The whole file, or nothing when it cannot be read. A missing file is a
// normal state for these files and is not reported.
std::optional<std::string> LoadText(const char* kind, const std::string& path) {
    try {
        return host::ReadText(path);
    } catch (const std::exception& e) {
        if (EntryExists(path)) std::fprintf(stderr, "%s: %s\n", kind, e.what());
    } catch (...) {
        std::fprintf(stderr, "%s: cannot read %s\n", kind, path.c_str());
    }
    return std::nullopt;
}

bool StoreText(const char* kind, const std::string& path, const std::string& text) {
    try {
        host::WriteFileAtomic(path, text);
        return true;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", kind, e.what());
    } catch (...) {
        std::fprintf(stderr, "%s: cannot write %s\n", kind, path.c_str());
    }
    return false;
}

void ReportStop(const char* kind, const std::string& path, const LineReader& r) {
    std::fprintf(stderr, "%s: %s: line %zu is missing or cannot be used; read up to there\n", kind, path.c_str(),
                 r.lineNumber());
}

// Reads a file with one of the field readers above, reporting where it stopped.
template <typename Fields, typename Data>
bool ReadFileFields(const char* kind, const std::string& path, Data& data, Fields fields) {
    try {
        auto text = LoadText(kind, path);
        if (!text) return false;
        LineReader r(*text);
        if (fields(r, data)) return true;
        ReportStop(kind, path, r);
    } catch (...) {
        std::fprintf(stderr, "%s: cannot read %s\n", kind, path.c_str());
    }
    return false;
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

bool IsStandingLine(std::string_view line) {
    return StartsWith(line, " the series is tied ") || line.find(" lead the series ") != std::string_view::npos;
}

}  // namespace

// --- baseball.sav ---

SaveProbe ProbeSavedGameText(const std::string& text) {
    SaveProbe probe;
    probe.kind = SaveKind::Unreadable;
    LineReader r(text);
    auto first = r.Next();
    if (!first) return probe;  // an empty file
    auto marker = ReadNumber(*first);
    if (!marker) return probe;
    probe.marker = *marker;
    probe.kind = r.Next() ? SaveKind::WithData : SaveKind::MarkerOnly;
    return probe;
}

SaveProbe ProbeSavedGame(const std::string& path) {
    try {
        auto text = LoadText("saved game", path);
        if (!text) return {EntryExists(path) ? SaveKind::Unreadable : SaveKind::Missing, 0};
        SaveProbe probe = ProbeSavedGameText(*text);
        if (probe.kind == SaveKind::Unreadable)
            std::fprintf(stderr, "saved game: %s is empty or does not start with a number\n", path.c_str());
        return probe;
    } catch (...) {
        return {SaveKind::Unreadable, 0};
    }
}

bool ParseSavedGame(const std::string& text, SavedGame& game) {
    LineReader r(text);
    return ReadSavedGameFields(r, game);
}

bool ReadSavedGame(const std::string& path, SavedGame& game) {
    return ReadFileFields("saved game", path, game, ReadSavedGameFields);
}

bool WriteSavedGame(const std::string& path, const SavedGame& g) {
    try {
        LineWriter w;
        w.Number(g.saveMarker);
        w.Text(g.teamName[1]);
        w.Text(g.managerName);
        w.Text(g.teamName[2]);
        for (const Num* n : {&g.runs[1], &g.runs[2], &g.inning, &g.half, &g.battingTeam, &g.homeTeam, &g.visitingTeam,
                             &g.outs, &g.balls, &g.strikes, &g.runnerOnFirst, &g.runnerOnSecond, &g.runnerOnThird,
                             &g.runnersOn, &g.contactHandicap})
            w.Number(*n);
        WriteBullpen(w, g.bullpenCountTeam1, g.bullpenTeam1, "player's");
        WriteBullpen(w, g.bullpenCountTeam2, g.bullpenTeam2, "computer's");
        for (auto tally : kTallies) w.Number(g.*tally);
        for (const Num* n : {&g.hits[1], &g.hits[2], &g.leftOnBase[1], &g.leftOnBase[2]}) w.Number(*n);
        return StoreText("saved game", path, w.text());
    } catch (...) {
        std::fprintf(stderr, "saved game: cannot write %s\n", path.c_str());
        return false;
    }
}

bool WriteSaveMarker(const std::string& path, int marker) {
    try {
        return StoreText("saved game", path, FormatNumber(marker) + "\r\n");
    } catch (...) {
        return false;
    }
}

// --- basebats.sav ---

bool ParseBattingOrder(const std::string& text, BattingOrder& order) {
    LineReader r(text);
    return ReadBattingOrderFields(r, order);
}

bool ReadBattingOrder(const std::string& path, BattingOrder& order) {
    return ReadFileFields("batting order", path, order, ReadBattingOrderFields);
}

bool WriteBattingOrder(const std::string& path, const BattingOrder& order) {
    try {
        LineWriter w;
        w.Number(order.batterUpTeam1);
        w.Number(order.batterUpTeam2);
        return StoreText("batting order", path, w.text());
    } catch (...) {
        return false;
    }
}

// --- baseball.rec ---

bool ParseSeriesRecord(const std::string& text, SeriesRecord& record) {
    LineReader r(text);
    return ReadSeriesRecordFields(r, record);
}

bool ReadSeriesRecord(const std::string& path, SeriesRecord& record) {
    return ReadFileFields("series record", path, record, ReadSeriesRecordFields);
}

bool WriteSeriesRecord(const std::string& path, const SeriesRecord& record) {
    try {
        LineWriter w;
        w.Number(record.seriesOpenerHome);
        w.Number(record.seriesWinsTeam1);
        w.Number(record.seriesWinsTeam2);
        w.Text(record.teamName1);
        w.Text(record.managerName);
        w.Text(record.teamName2);
        return StoreText("series record", path, w.text());
    } catch (...) {
        return false;
    }
}

bool WriteSeriesDecided(const std::string& path) {
    try {
        return StoreText("series record", path, FormatNumber(0) + "\r\n");
    } catch (...) {
        return false;
    }
}

// --- baseballlog.txt ---

bool StartNewLog(const std::string& path) {
    try {
        return StoreText("game log", path, std::string(kLogBanner) + "\r\n");
    } catch (...) {
        return false;
    }
}

bool AppendLog(const std::string& path, const std::vector<std::string>& lines) {
    try {
        std::string text;
        for (const auto& line : lines) text += line + "\r\n";
        host::AppendFile(path, text);
        return true;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "game log: %s\n", e.what());
    } catch (...) {
        std::fprintf(stderr, "game log: cannot append to %s\n", path.c_str());
    }
    return false;
}

std::string LogLine(const std::string& sentence) {
    size_t end = sentence.find_last_not_of(' ');
    return (end == std::string::npos ? std::string() : sentence.substr(0, end + 1)) + ". ";
}

std::string ParseLogHeader(const std::string& text) {
    std::string_view header, standing;
    bool afterGameLine = false;
    LineReader r(text);
    while (auto line = r.Next()) {
        if (StartsWith(*line, " this is game #")) {
            header = *line;
            standing = {};
            afterGameLine = true;
            continue;
        }
        if (afterGameLine && IsStandingLine(*line)) standing = *line;
        afterGameLine = false;
    }
    std::string out(header);
    out += standing;
    return out;
}

std::string ReadLogHeader(const std::string& path) {
    try {
        auto text = LoadText("game log", path);
        return text ? ParseLogHeader(*text) : std::string();
    } catch (...) {
        return {};
    }
}

}  // namespace sw::data
