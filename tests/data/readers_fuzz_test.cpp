// Every reader of the game's own files fed random bytes and damaged copies of
// good files: none may crash, and whatever they fill stays within the values
// the game can use.
#include "data/game_files.h"
#include "data/settings_files.h"
#include "host/files.h"
#include "support/sim_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <random>
#include <string_view>

#include <fcntl.h>
#include <unistd.h>

namespace sw::data {
namespace {

constexpr int kInputsPerReader = 100000;
constexpr int kFileInputs = 300;  // each read by all nine file readers
// The slower checks against the plain line split run on every cut of a good
// file and on one input in this many of the rest.
constexpr int kCrossCheckEvery = 8;

// Makes inputs from a fixed seed, so a failure can be run again.
class InputMaker {
public:
    explicit InputMaker(unsigned seed) : rng_(seed) {}

    // The small bias of a plain remainder does not matter here, and it keeps
    // the inputs cheap to make under the sanitizers.
    size_t Below(size_t n) { return n == 0 ? 0 : size_t(rng_() % n); }

    std::string Random() {
        std::string out;
        size_t length = Below(240);
        switch (Below(3)) {
            case 0:  // any bytes
                out.resize(length);
                for (size_t i = 0; i < length; i += 4) {
                    uint32_t bits = rng_();
                    for (size_t k = i; k < std::min(length, i + 4); ++k, bits >>= 8) out[k] = char(bits & 0xff);
                }
                break;
            case 1: {  // bytes numbers and lines are made of
                static constexpr std::string_view kChars = "0123456789 -+\r\n\t,:#";
                for (size_t i = 0; i < length; ++i) out += kChars[Below(kChars.size())];
                break;
            }
            default:  // whole lines
                for (size_t i = 0; i < length / 8; ++i) out += Token() + (Below(4) ? "\r\n" : "\n");
                break;
        }
        return out;
    }

    // A good file damaged in one to four places.
    std::string Mutate(std::string s) {
        for (size_t n = 1 + Below(4); n > 0; --n) {
            switch (Below(7)) {
                case 0:
                    if (!s.empty()) s[Below(s.size())] ^= char(1 << Below(8));
                    break;
                case 1: {
                    static constexpr char kInserts[] = {'\r', '\n', ',', '\0', '\xff', '\x80', ':', '-', ' '};
                    s.insert(s.begin() + std::ptrdiff_t(Below(s.size() + 1)), kInserts[Below(sizeof kInserts)]);
                    break;
                }
                case 2:
                    s.resize(Below(s.size() + 1));
                    break;
                case 3: {
                    size_t at = Below(s.size() + 1);
                    s.erase(at, Below(12));
                    break;
                }
                case 4: {  // a whole line replaced
                    auto [begin, end] = SomeLine(s);
                    s.replace(begin, end - begin, Token());
                    break;
                }
                case 5: {  // a line repeated
                    auto [begin, end] = SomeLine(s);
                    s.insert(begin, s.substr(begin, end - begin) + "\r\n");
                    break;
                }
                default:
                    s.insert(Below(s.size() + 1), Token());
                    break;
            }
        }
        return s;
    }

    // Calls `use` with every cut of every good file, then with random and
    // damaged inputs until `count` inputs in all. The flag asks for the
    // slower checks.
    void ForEach(const std::vector<std::string>& goodFiles, int count,
                 const std::function<void(const std::string&, bool)>& use) {
        int made = 0;
        for (const auto& good : goodFiles)
            for (size_t length = 0; length <= good.size(); ++length, ++made) use(good.substr(0, length), true);
        for (; made < count && !testing::Test::HasFailure(); ++made)
            use(Below(3) == 0 ? Random() : Mutate(goodFiles[Below(goodFiles.size())]), made % kCrossCheckEvery == 0);
    }

private:
    std::string Token() {
        static constexpr std::string_view kTokens[] = {
            "99999999999999999999", "-2147483649", "2147483648", "2147483647", "-2147483648", "-1", "-99999",
            " 10000 ", " 9999 ", "+3", "", " ", "abc", " 8 ", " 11 ", " 7 ", " 10 ", " 0 ", " 1 ", " 4242 ",
            " this is game #", " this is game #2  the Owls verses the Larks. ", " the series is tied ",
            " the Owls lead the series  2 games to 1. ", "\r", "\n", std::string_view("\0\0", 2),
            "Mo: 31, sinker", "\xff\xfe\x80"};
        return std::string(kTokens[Below(std::size(kTokens))]);
    }

    // Where a line of `s` starts and ends (the end before its line break).
    std::pair<size_t, size_t> SomeLine(const std::string& s) {
        size_t begin = s.rfind('\n', Below(s.size() + 1));
        begin = begin == std::string::npos ? 0 : begin + 1;
        if (begin > s.size()) begin = s.size();
        size_t end = s.find_first_of("\r\n", begin);
        return {begin, end == std::string::npos ? s.size() : end};
    }

    std::mt19937 rng_;
};

bool Within(const Num& n, long lo, long hi) { return !n.given() ? int(n) == 0 : (n >= lo && n <= hi); }

void ExpectUsable(const SavedGame& g) {
    struct Range {
        const Num& n;
        long lo, hi;
    };
    const Range ranges[] = {
        {g.runs[1], 0, 9999}, {g.runs[2], 0, 9999}, {g.inning, 1, 20}, {g.half, 1, 2}, {g.battingTeam, 1, 2},
        {g.homeTeam, 1, 2}, {g.visitingTeam, 1, 2}, {g.outs, 0, 3}, {g.balls, 0, 4}, {g.strikes, 0, 3},
        {g.runnerOnFirst, 0, 1}, {g.runnerOnSecond, 0, 1}, {g.runnerOnThird, 0, 1}, {g.runnersOn, 0, 3},
        {g.bullpenCountTeam1, 0, kBullpenCapacityTeam1}, {g.bullpenCountTeam2, 0, kBullpenCapacityTeam2},
        {g.runTally, 0, 9999}, {g.hitTally, 0, 9999}, {g.grandSlamTally, 0, 9999}, {g.homeRunTally, 0, 9999},
        {g.tripleTally, 0, 9999}, {g.doubleTally, 0, 9999}, {g.walkTally, 0, 9999}, {g.hitBatterTally, 0, 9999},
        {g.stolenBaseTally, 0, 9999}, {g.pickoffTally, 0, 9999}, {g.caughtStealingTally, 0, 9999},
        {g.doublePlayTally, 0, 9999}, {g.strikeoutTally, 0, 9999}, {g.hits[1], 0, 9999}, {g.hits[2], 0, 9999},
        {g.leftOnBase[1], 0, 9999}, {g.leftOnBase[2], 0, 9999},
    };
    for (const auto& r : ranges) ASSERT_TRUE(Within(r.n, r.lo, r.hi)) << int(r.n);
}

SavedGame GoodGame(int relievers1, int relievers2) {
    SavedGame g;
    g.saveMarker = 1;
    g.teamName[1] = "Owls, of the Creek";
    g.managerName = "Dana";
    g.teamName[2] = "Larks";
    for (Num* n : {&g.runs[1], &g.runs[2], &g.outs, &g.balls, &g.strikes, &g.runnersOn, &g.hitTally,
                   &g.strikeoutTally, &g.hits[1], &g.leftOnBase[2]})
        *n = 2;
    g.inning = 9;
    g.half = g.battingTeam = g.homeTeam = 1;
    g.visitingTeam = 2;
    g.bullpenCountTeam1 = relievers1;
    g.bullpenCountTeam2 = relievers2;
    for (int i = 1; i <= relievers1; ++i) g.bullpenTeam1[size_t(i)] = "Mo " + std::to_string(i) + ": 31, sinker";
    for (int i = 1; i <= relievers2; ++i) g.bullpenTeam2[size_t(i)] = "Hal, " + std::to_string(i);
    return g;
}

// Good files of each kind, written by the game's own writers.
struct GoodFiles {
    GoodFiles() {
        test::TempDir dir;
        const std::string path = dir.path() + "/file";
        auto written = [&](bool ok) { return ok ? host::ReadText(path) : std::string(); };
        saves = {written(WriteSavedGame(path, GoodGame(4, 6))), written(WriteSavedGame(path, GoodGame(7, 10))),
                 written(WriteSavedGame(path, SavedGame{})), " 4242 \r\n", " 0 \r\n"};
        SeriesRecord rec;
        rec.seriesOpenerHome = 2;
        rec.seriesWinsTeam1 = 3;
        rec.seriesWinsTeam2 = 1;
        rec.teamName1 = "Owls, of the Creek";
        rec.managerName = "Dana";
        rec.teamName2 = "Larks";
        records = {written(WriteSeriesRecord(path, rec)), " 0 \r\n"};
        orders = {" 3 \r\n 9 \r\n", " 0 \r\n\r\n"};
        logs = {std::string(kLogBanner) + "\r\n\r\n" +
                LogLine(" this is game #1 of the best of 7  the Larks verses the Owls") +
                "\r\n \r\ntop of the 1st, no runs. \r\n\r\n" + LogLine(" this is game #2  the Owls verses the Larks") +
                "\r\n" + LogLine(" the series is tied  1 game each") +
                "\r\n \r\n the Owls lead the series in hits\r\n"};
        settings = {" 2 \r\n-4 \r\n", "-1200 \r\n 85 \r\n"};
    }
    std::vector<std::string> saves, records, orders, logs, settings;
};

const GoodFiles& Good() {
    static const GoodFiles files;
    return files;
}

TEST(ReadersFuzz, SavedGameStaysWithinWhatTheGameCanUse) {
    ASSERT_FALSE(Good().saves[0].empty());
    InputMaker maker(1);
    SavedGame game = GoodGame(4, 6);
    maker.ForEach(Good().saves, kInputsPerReader, [&](const std::string& text, bool crossCheck) {
        bool whole = ParseSavedGame(text, game);
        ExpectUsable(game);
        // A file short of lines can never be read whole.
        if (whole && crossCheck) {
            ASSERT_GE(SplitLines(text).size(), 38u + size_t(game.bullpenCountTeam1 + game.bullpenCountTeam2));
        }
    });
    for (const auto& good : Good().saves) {
        SavedGame g;
        if (SplitLines(good).size() > 1) { EXPECT_TRUE(ParseSavedGame(good, g)); }
    }
}

TEST(ReadersFuzz, SaveProbeAgreesWithTheFileLines) {
    InputMaker maker(2);
    maker.ForEach(Good().saves, kInputsPerReader, [&](const std::string& text, bool crossCheck) {
        SaveProbe p = ProbeSavedGameText(text);
        ASSERT_NE(p.kind, SaveKind::Missing);
        if (!crossCheck) return;
        auto lines = SplitLines(text);
        if (lines.empty()) {
            ASSERT_EQ(p.kind, SaveKind::Unreadable);
            return;
        }
        auto first = ParseNumber(lines[0]);
        if (!first) {
            ASSERT_EQ(p.kind, SaveKind::Unreadable);
            return;
        }
        // Both number readers refuse what does not fit; the rest agree with
        // the line split and the plain number reader.
        ASSERT_NE(p.kind, SaveKind::Unreadable) << text;
        ASSERT_EQ(p.marker, *first);
        ASSERT_EQ(p.kind, lines.size() > 1 ? SaveKind::WithData : SaveKind::MarkerOnly);
    });
}

TEST(ReadersFuzz, BattingOrderAndSeriesRecordStayInRange) {
    InputMaker maker(3);
    BattingOrder order;
    maker.ForEach(Good().orders, kInputsPerReader, [&](const std::string& text, bool) {
        ParseBattingOrder(text, order);
        ASSERT_TRUE(Within(order.batterUpTeam1, 0, 9) && Within(order.batterUpTeam2, 0, 9));
    });
    SeriesRecord rec;
    maker.ForEach(Good().records, kInputsPerReader, [&](const std::string& text, bool crossCheck) {
        bool whole = ParseSeriesRecord(text, rec);
        ASSERT_TRUE(Within(rec.seriesOpenerHome, 0, 2));
        ASSERT_TRUE(Within(rec.seriesWinsTeam1, 0, 4) && Within(rec.seriesWinsTeam2, 0, 4));
        if (whole && rec.seriesOpenerHome != 0 && crossCheck) { ASSERT_GE(SplitLines(text).size(), 6u); }
    });
}

TEST(ReadersFuzz, LogHeaderIsTheLastGameLineAndItsStanding) {
    InputMaker maker(4);
    const std::string_view game = " this is game #";
    maker.ForEach(Good().logs, kInputsPerReader, [&](const std::string& text, bool crossCheck) {
        std::string header = ParseLogHeader(text);
        ASSERT_LE(header.size(), text.size());
        if (!crossCheck) return;
        auto lines = SplitLines(text);
        size_t last = lines.size();
        for (size_t i = 0; i < lines.size(); ++i)
            if (lines[i].compare(0, game.size(), game) == 0) last = i;
        if (last == lines.size()) {
            ASSERT_EQ(header, "");
            return;
        }
        ASSERT_EQ(header.compare(0, lines[last].size(), lines[last]), 0);
        std::string rest = header.substr(lines[last].size());
        if (!rest.empty()) {
            ASSERT_LT(last + 1, lines.size());
            ASSERT_EQ(rest, lines[last + 1]);
        }
    });
}

TEST(ReadersFuzz, SettingsFilesNeverFail) {
    InputMaker maker(5);
    maker.ForEach(Good().settings, kInputsPerReader, [&](const std::string& text, bool) {
        VoiceConfig cfg = ParseVoiceConfig(text);
        Volumes vol = ParseVolumes(text, {0, 90});
        // Every value read fits the field as written: nothing wraps around.
        if (cfg.voiceIndex < 0) { ASSERT_NE(text.find('-'), std::string::npos); }
        if (vol.speechVolume < 0) { ASSERT_NE(text.find('-'), std::string::npos); }
        if (text.empty()) { ASSERT_EQ(vol.speechVolume, 90); }
    });
}

// Standard error quietened while the file readers report every bad file.
class QuietStderr {
public:
    QuietStderr() {
        std::fflush(stderr);
        saved_ = ::dup(2);
        int fd = ::open("/dev/null", O_WRONLY);
        if (fd >= 0) {
            ::dup2(fd, 2);
            ::close(fd);
        }
    }
    ~QuietStderr() {
        std::fflush(stderr);
        if (saved_ >= 0) {
            ::dup2(saved_, 2);
            ::close(saved_);
        }
    }

private:
    int saved_;
};

// The file readers read exactly what the text readers read.
TEST(ReadersFuzz, FileReadersMatchTheTextReaders) {
    test::TempDir dir;
    const std::string path = dir.path() + "/file";
    InputMaker maker(6);
    QuietStderr quiet;
    auto put = [&](const std::string& text) { std::ofstream(path, std::ios::binary | std::ios::trunc) << text; };
    std::vector<std::string> all;
    for (const auto* kind : {&Good().saves, &Good().records, &Good().orders, &Good().logs, &Good().settings})
        all.insert(all.end(), kind->begin(), kind->end());

    int files = 0;
    for (int i = 0; i < kFileInputs; ++i, ++files) {
        std::string text = i % 3 == 0 ? maker.Random() : maker.Mutate(all[maker.Below(all.size())]);
        put(text);
        SavedGame fromFile = GoodGame(1, 1), fromText = fromFile;
        ASSERT_EQ(ReadSavedGame(path, fromFile), ParseSavedGame(text, fromText));
        ASSERT_EQ(fromFile.inning, fromText.inning);
        ASSERT_EQ(fromFile.bullpenTeam2, fromText.bullpenTeam2);
        SaveProbe a = ProbeSavedGame(path), b = ProbeSavedGameText(text);
        ASSERT_EQ(a.kind, b.kind);
        ASSERT_EQ(a.marker, b.marker);
        BattingOrder o1, o2;
        ASSERT_EQ(ReadBattingOrder(path, o1), ParseBattingOrder(text, o2));
        ASSERT_EQ(o1.batterUpTeam2, o2.batterUpTeam2);
        SeriesRecord r1, r2;
        ASSERT_EQ(ReadSeriesRecord(path, r1), ParseSeriesRecord(text, r2));
        ASSERT_EQ(r1.teamName2, r2.teamName2);
        ASSERT_EQ(ReadLogHeader(path), ParseLogHeader(text));
        ASSERT_EQ(ReadVoiceConfig(path)->speechRate, ParseVoiceConfig(text).speechRate);
        ASSERT_EQ(ReadVolumes(path)->speechVolume, ParseVolumes(text).speechVolume);
    }
    EXPECT_EQ(files, kFileInputs);
}

}  // namespace
}  // namespace sw::data
