// The saved game, batting order, series record and game log: byte layouts,
// reading back, where a reader stops, and writes that fail part-way.
#include "data/game_files.h"
#include "data/settings_files.h"
#include "host/files.h"
#include "support/sim_run.h"
#include "support/size_limit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

namespace sw::data {
namespace {

// Every number of a saved game, in file order.
std::vector<Num*> NumberFields(SavedGame& g) {
    return {&g.saveMarker, &g.runs[1], &g.runs[2], &g.inning, &g.half, &g.battingTeam, &g.homeTeam, &g.visitingTeam,
            &g.outs, &g.balls, &g.strikes, &g.runnerOnFirst, &g.runnerOnSecond, &g.runnerOnThird, &g.runnersOn,
            &g.contactHandicap, &g.bullpenCountTeam1, &g.bullpenCountTeam2, &g.runTally, &g.hitTally,
            &g.grandSlamTally, &g.homeRunTally, &g.tripleTally, &g.doubleTally, &g.walkTally, &g.hitBatterTally,
            &g.stolenBaseTally, &g.pickoffTally, &g.caughtStealingTally, &g.doublePlayTally, &g.strikeoutTally,
            &g.hits[1], &g.hits[2], &g.leftOnBase[1], &g.leftOnBase[2]};
}

void ExpectSameGame(SavedGame a, SavedGame b) {
    auto na = NumberFields(a), nb = NumberFields(b);
    for (size_t i = 0; i < na.size(); ++i) {
        EXPECT_EQ(int(*na[i]), int(*nb[i])) << "number " << i;
        EXPECT_EQ(na[i]->given(), nb[i]->given()) << "number " << i;
    }
    EXPECT_EQ(a.teamName[1], b.teamName[1]);
    EXPECT_EQ(a.managerName, b.managerName);
    EXPECT_EQ(a.teamName[2], b.teamName[2]);
    // The bullpen entries in use.
    EXPECT_TRUE(std::equal(a.bullpenTeam1.begin() + 1, a.bullpenTeam1.begin() + 1 + a.bullpenCountTeam1,
                           b.bullpenTeam1.begin() + 1));
    EXPECT_TRUE(std::equal(a.bullpenTeam2.begin() + 1, a.bullpenTeam2.begin() + 1 + a.bullpenCountTeam2,
                           b.bullpenTeam2.begin() + 1));
}

// A game in the seventh inning with commas and colons in names and bullpens,
// 4 relievers left for the player and 6 for the computer; neighbouring values
// differ, so a field written in the wrong place shows.
SavedGame SampleGame() {
    SavedGame g;
    g.teamName[1] = "Hollow Creek, Owls";
    g.managerName = "Dana: the boss, again";
    g.teamName[2] = "Rivertown Larks, Inc.";
    const int numbers[] = {1, 3, 12, 7, 1, 2, 1, 2, 1, 3, 2, 1, 0, 1, 2, -2, 4, 6,
                           0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 9999, 8, 11, 5, 0};
    auto fields = NumberFields(g);
    EXPECT_EQ(fields.size(), std::size(numbers));
    for (size_t i = 0; i < fields.size(); ++i) *fields[i] = numbers[i];
    g.bullpenTeam1 = {"", "Mo Pike: 31, throws a sinker.   Record: 4 and 2", "Al Tern: lefty, 2:15 era", "Cy Reed:",
                      ",,:"};
    g.bullpenTeam2 = {"", "Joe \"Heater\" Blum", "Sam, the Arm, Cole", "Ike: Ray", "Lou Fenn", "Hal Ward", "Ray Tuck"};
    return g;
}

const char kSampleBytes[] =
    " 1 \r\nHollow Creek, Owls\r\nDana: the boss, again\r\nRivertown Larks, Inc.\r\n"
    " 3 \r\n 12 \r\n 7 \r\n 1 \r\n 2 \r\n 1 \r\n 2 \r\n 1 \r\n 3 \r\n 2 \r\n 1 \r\n 0 \r\n 1 \r\n 2 \r\n-2 \r\n"
    " 4 \r\nMo Pike: 31, throws a sinker.   Record: 4 and 2\r\nAl Tern: lefty, 2:15 era\r\nCy Reed:\r\n,,:\r\n"
    " 6 \r\nJoe \"Heater\" Blum\r\nSam, the Arm, Cole\r\nIke: Ray\r\nLou Fenn\r\nHal Ward\r\nRay Tuck\r\n"
    " 0 \r\n 1 \r\n 2 \r\n 3 \r\n 4 \r\n 5 \r\n 6 \r\n 7 \r\n 8 \r\n 9 \r\n 10 \r\n 11 \r\n 9999 \r\n"
    " 8 \r\n 11 \r\n 5 \r\n 0 \r\n";

// A game whose fields all differ from the sample's, to see what a reader left.
SavedGame Untouched() {
    SavedGame g;
    g.saveMarker = 77;
    g.teamName[1] = g.managerName = g.teamName[2] = "old";
    for (Num* n : {&g.runs[1], &g.runs[2], &g.inning, &g.half, &g.battingTeam, &g.homeTeam, &g.visitingTeam})
        *n = 1;
    g.bullpenCountTeam1 = 7;
    g.bullpenCountTeam2 = 10;
    for (auto& e : g.bullpenTeam1) e = "old reliever";
    for (auto& e : g.bullpenTeam2) e = "old reliever";
    g.runTally = g.strikeoutTally = g.hits[1] = g.leftOnBase[2] = 42;
    return g;
}

std::string Repeat(const std::string& s, int n) {
    std::string out;
    while (n-- > 0) out += s;
    return out;
}

std::vector<std::string> SampleLines() { return SplitLines(kSampleBytes); }

std::string JoinCrLf(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) out += l + "\r\n";
    return out;
}

TEST(SavedGameFile, ExactBytesAndEveryFieldSurvivesTheRoundTrip) {
    test::TempDir dir;
    const std::string path = dir.path() + "/baseball.sav";
    const SavedGame game = SampleGame();
    ASSERT_TRUE(WriteSavedGame(path, game));
    EXPECT_EQ(host::ReadText(path), kSampleBytes);

    SavedGame back = Untouched();
    EXPECT_TRUE(ReadSavedGame(path, back));
    ExpectSameGame(back, game);

    // LF line ends and lines longer than needed read the same.
    std::string lf = kSampleBytes;
    lf.erase(std::remove(lf.begin(), lf.end(), '\r'), lf.end());
    back = Untouched();
    EXPECT_TRUE(ParseSavedGame(lf + "extra\nlines\n", back));
    ExpectSameGame(back, game);

    // The bullpen counts decide the length of the file.
    SavedGame bigger = game;
    bigger.bullpenCountTeam1 = 7;
    bigger.bullpenCountTeam2 = 10;
    ASSERT_TRUE(WriteSavedGame(path, bigger));
    EXPECT_EQ(SplitLines(host::ReadText(path)).size(), SampleLines().size() + 3 + 4);
}

TEST(SavedGameFile, NeverGivenNumbersAreEmptyLinesAndStayNeverGiven) {
    // Nobody ever on base, no handicap, the player's bullpen count never set
    // (so no entries), no tallies.
    const std::string bytes = " 1 \r\nOwls\r\nDana\r\nLarks\r\n 0 \r\n 0 \r\n 1 \r\n 1 \r\n 1 \r\n 2 \r\n 1 \r\n"
                              " 2 \r\n 0 \r\n 0 \r\n" +
                              Repeat("\r\n", 5 + 1) + " 0 \r\n" + Repeat("\r\n", 13 + 4);
    SavedGame back = SampleGame();
    ASSERT_TRUE(ParseSavedGame(bytes, back));
    EXPECT_FALSE(back.runnerOnFirst.given());
    EXPECT_EQ(back.runnerOnFirst, 0);
    EXPECT_FALSE(back.contactHandicap.given());
    EXPECT_FALSE(back.bullpenCountTeam1.given());
    EXPECT_TRUE(back.bullpenCountTeam2.given());
    EXPECT_FALSE(back.leftOnBase[2].given());

    test::TempDir dir;
    const std::string path = dir.path() + "/baseball.sav";
    ASSERT_TRUE(WriteSavedGame(path, back));  // the sample's old entries are not written
    EXPECT_EQ(host::ReadText(path), bytes);

    // Empty lines are taken in fields that must otherwise be 1 or 2.
    auto lines = SampleLines();
    lines[6] = lines[7] = lines[8] = "";
    back = Untouched();
    EXPECT_TRUE(ParseSavedGame(JoinCrLf(lines), back));
    EXPECT_FALSE(back.inning.given());
    EXPECT_FALSE(back.battingTeam.given());
}

TEST(SavedGameFile, WriterKeepsTheFileReadableWhateverTheGameHolds) {
    test::TempDir dir;
    const std::string path = dir.path() + "/baseball.sav";
    SavedGame g = SampleGame();
    g.teamName[1] = "Owls\r\nof the creek";  // a line break would shift every later value
    g.bullpenCountTeam1 = 12;                // more than the bullpen holds
    g.bullpenCountTeam2 = -3;
    ASSERT_TRUE(WriteSavedGame(path, g));
    SavedGame back = Untouched();
    EXPECT_TRUE(ReadSavedGame(path, back));
    EXPECT_EQ(back.teamName[1], "Owls  of the creek");
    EXPECT_EQ(back.bullpenCountTeam1, kBullpenCapacityTeam1);
    EXPECT_EQ(back.bullpenCountTeam2, 0);
    EXPECT_EQ(back.leftOnBase[1], 5);

    EXPECT_FALSE(WriteSavedGame(dir.path() + "/no/such/folder/baseball.sav", g));
    EXPECT_FALSE(ReadSavedGame(dir.path() + "/missing.sav", back));
}

// The reader stops at the first value it cannot use; the fields before it are
// read and the fields from it on keep what they held.
TEST(SavedGameFile, ReaderStopsAtTheFirstValueItCannotUse) {
    struct Case {
        size_t line;  // 0-based line of the sample replaced (or where it is cut)
        const char* value;  // nullptr: the file ends before this line
        std::function<void(const SavedGame&)> check;
    };
    const SavedGame old = Untouched();
    const Case cases[] = {
        {6, " 99 ", [&](const SavedGame& g) {
             EXPECT_EQ(g.runs[2], 12);
             EXPECT_EQ(g.inning, 1);
             EXPECT_EQ(g.half, 1);
             EXPECT_EQ(g.hits[1], 42);
         }},
        {6, " 0 ", [](const SavedGame& g) { EXPECT_EQ(g.inning, 1); }},
        {7, " 3 ", [](const SavedGame& g) { EXPECT_EQ(g.half, 1); }},
        {11, " 4 ", [](const SavedGame& g) { EXPECT_FALSE(g.outs.given()); }},
        {11, " 3x", [](const SavedGame& g) { EXPECT_FALSE(g.outs.given()); }},
        {18, "99999999999", [](const SavedGame& g) {
             EXPECT_EQ(g.runnersOn, 2);
             EXPECT_FALSE(g.contactHandicap.given());
         }},
        {19, " 8 ", [&](const SavedGame& g) {
             EXPECT_EQ(g.contactHandicap, -2);
             EXPECT_EQ(g.bullpenCountTeam1, 7);
             EXPECT_EQ(g.bullpenTeam1, old.bullpenTeam1);
         }},
        {24, "-1 ", [&](const SavedGame& g) {
             EXPECT_EQ(g.bullpenTeam1[4], ",,:");
             EXPECT_EQ(g.bullpenCountTeam2, 10);
         }},
        {31, " 10000 ", [](const SavedGame& g) { EXPECT_EQ(g.runTally, 42); }},
        {47, nullptr, [](const SavedGame& g) {
             EXPECT_EQ(g.leftOnBase[1], 5);
             EXPECT_EQ(g.leftOnBase[2], 42);
         }},
        {22, nullptr, [&](const SavedGame& g) {  // inside the player's bullpen
             EXPECT_EQ(g.bullpenCountTeam1, 4);
             EXPECT_EQ(g.bullpenTeam1[2], "Al Tern: lefty, 2:15 era");
             EXPECT_EQ(g.bullpenTeam1[3], "old reliever");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "line " << c.line << " '" << (c.value ? c.value : "end") << "'");
        auto lines = SampleLines();
        ASSERT_LT(c.line, lines.size());
        if (!c.value)
            lines.resize(c.line);
        else
            lines[c.line] = c.value;
        SavedGame g = old;
        EXPECT_FALSE(ParseSavedGame(JoinCrLf(lines), g));
        EXPECT_EQ(g.saveMarker, 1);
        EXPECT_EQ(g.teamName[2], "Rivertown Larks, Inc.");
        c.check(g);
    }
}

TEST(SavedGameFile, ProbeTellsMissingUnreadableMarkerOnlyAndData) {
    test::TempDir dir;
    const std::string path = dir.path() + "/baseball.sav";
    EXPECT_EQ(ProbeSavedGame(path).kind, SaveKind::Missing);
    struct Case {
        std::string text;
        SaveKind kind;
        int marker;
    };
    const Case cases[] = {
        {"", SaveKind::Unreadable, 0},
        {"abc\r\n", SaveKind::Unreadable, 0},
        {"abc\r\n 1 \r\n", SaveKind::Unreadable, 0},
        {" 0 \r\n", SaveKind::MarkerOnly, 0},
        {" 4242 \r\n", SaveKind::MarkerOnly, 4242},
        {" 1 \r\n", SaveKind::MarkerOnly, 1},
        {"1", SaveKind::MarkerOnly, 1},
        {"\r\n", SaveKind::MarkerOnly, 0},
        {" 1 \r\nOwls\r\n", SaveKind::WithData, 1},
        {" 7 \n\n", SaveKind::WithData, 7},
        {std::string(kSampleBytes), SaveKind::WithData, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        host::WriteFileAtomic(path, c.text);
        SaveProbe p = ProbeSavedGame(path);
        EXPECT_EQ(p.kind, c.kind);
        EXPECT_EQ(p.marker, c.marker);
    }
    ASSERT_TRUE(WriteSaveMarker(path, kMarkerSeriesGame));
    EXPECT_EQ(host::ReadText(path), " 4242 \r\n");

    const std::string folder = dir.path() + "/folder.sav";
    ASSERT_TRUE(host::MakeFolder(folder));
    EXPECT_EQ(ProbeSavedGame(folder).kind, SaveKind::Unreadable);
}

TEST(BattingOrderFile, LayoutAndRange) {
    test::TempDir dir;
    const std::string path = dir.path() + "/basebats.sav";
    BattingOrder o;
    o.batterUpTeam1 = 3;
    ASSERT_TRUE(WriteBattingOrder(path, o));
    EXPECT_EQ(host::ReadText(path), " 3 \r\n\r\n");
    BattingOrder back;
    back.batterUpTeam2 = 5;
    EXPECT_TRUE(ReadBattingOrder(path, back));
    EXPECT_EQ(back.batterUpTeam1, 3);
    EXPECT_FALSE(back.batterUpTeam2.given());

    back.batterUpTeam2 = 5;
    EXPECT_FALSE(ParseBattingOrder(" 9 \r\n 10 \r\n", back));
    EXPECT_EQ(back.batterUpTeam1, 9);
    EXPECT_EQ(back.batterUpTeam2, 5);
    EXPECT_FALSE(ReadBattingOrder(dir.path() + "/missing.sav", back));
}

TEST(SeriesRecordFile, FullAndDecidedRecords) {
    test::TempDir dir;
    const std::string path = dir.path() + "/baseball.rec";
    SeriesRecord rec;
    rec.seriesOpenerHome = 2;
    rec.seriesWinsTeam1 = 1;
    rec.seriesWinsTeam2 = 3;
    rec.teamName1 = "Owls, of Hollow Creek";
    rec.managerName = "Dana: boss";
    rec.teamName2 = "Larks";
    ASSERT_TRUE(WriteSeriesRecord(path, rec));
    EXPECT_EQ(host::ReadText(path), " 2 \r\n 1 \r\n 3 \r\nOwls, of Hollow Creek\r\nDana: boss\r\nLarks\r\n");
    SeriesRecord back;
    EXPECT_TRUE(ReadSeriesRecord(path, back));
    EXPECT_EQ(back.seriesOpenerHome, 2);
    EXPECT_EQ(back.seriesWinsTeam1, 1);
    EXPECT_EQ(back.seriesWinsTeam2, 3);
    EXPECT_EQ(back.teamName1, rec.teamName1);
    EXPECT_EQ(back.managerName, rec.managerName);
    EXPECT_EQ(back.teamName2, rec.teamName2);

    // A decided series: the single value 0, and nothing more is read.
    ASSERT_TRUE(WriteSeriesDecided(path));
    EXPECT_EQ(host::ReadText(path), " 0 \r\n");
    host::WriteFileAtomic(path, " 0 \r\n 4 \r\n 4 \r\nX\r\nY\r\nZ\r\n");
    EXPECT_TRUE(ReadSeriesRecord(path, back));
    EXPECT_EQ(back.seriesOpenerHome, 0);
    EXPECT_EQ(back.seriesWinsTeam1, 1);
    EXPECT_EQ(back.teamName1, rec.teamName1);

    // Five wins cannot happen in a best of seven.
    EXPECT_FALSE(ParseSeriesRecord(" 1 \r\n 5 \r\n 0 \r\nA\r\nB\r\nC\r\n", back));
    EXPECT_EQ(back.seriesOpenerHome, 1);
    EXPECT_EQ(back.seriesWinsTeam1, 1);
    EXPECT_FALSE(ParseSeriesRecord(" 3 \r\n", back));
    EXPECT_EQ(back.seriesOpenerHome, 1);
}

TEST(GameLog, BannerAppendAndHeader) {
    test::TempDir dir;
    const std::string path = dir.path() + "/baseballlog.txt";
    EXPECT_EQ(ReadLogHeader(path), "");
    ASSERT_TRUE(AppendLog(path, {"", "created without the banner"}));
    EXPECT_EQ(host::ReadText(path), "\r\ncreated without the banner\r\n");

    ASSERT_TRUE(StartNewLog(path));
    const std::string banner = kLogBanner;
    EXPECT_EQ(std::count(banner.begin(), banner.end(), ','), 2);
    EXPECT_EQ(banner.find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(host::ReadText(path), banner + "\r\n");
    EXPECT_EQ(ReadLogHeader(path), "");

    EXPECT_EQ(LogLine(" this is game #1 of the best of 7   the Larks verses the Owls  "),
              " this is game #1 of the best of 7   the Larks verses the Owls. ");
    EXPECT_EQ(LogLine("   "), ". ");

    const std::string game2 = LogLine(" this is game #2  the Larks verses the Owls");
    const std::string tied = LogLine(" the series is tied  1 game each");
    const std::string game3 = LogLine(" this is game #3  the Owls verses the Larks");
    const std::string lead = LogLine(" the Owls lead the series  2 games to 1");
    ASSERT_TRUE(AppendLog(path, {"", LogLine(" this is game #1 of the best of 7  the Larks verses the Owls"), " ",
                                 "top of the 1st: No runs on, No hits, ", "", game2, tied, " ", "a summary"}));
    EXPECT_EQ(ReadLogHeader(path), game2 + tied);
    ASSERT_TRUE(AppendLog(path, {"", game3, lead, " ", "the Owls lead the series in nothing"}));
    EXPECT_EQ(ReadLogHeader(path), game3 + lead);

    // A later game with no standing after it (a new series): a summary line
    // that reads like a standing is not taken.
    const std::string game1 = LogLine(" this is game #1 of the best of 7  the Owls verses the Larks");
    ASSERT_TRUE(AppendLog(path, {"", game1, " ", " the Larks lead the series of errors"}));
    EXPECT_EQ(ReadLogHeader(path), game1);
    EXPECT_FALSE(AppendLog(dir.path() + "/no/such/folder/log.txt", {"x"}));
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
    return names;
}

// Every write cut short by the file-size limit fails, says so, and leaves the
// old file as it was with no temporary file beside it; a limit just large
// enough lets the new file through.
void ExpectCutWritesKeepTheOldFile(const std::string& path, const std::string& oldBytes,
                                   const std::function<bool()>& write, size_t newSize) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    const std::string name = std::filesystem::path(path).filename().string();
    host::WriteFileAtomic(path, oldBytes);
    // Every few bytes, and each of the last bytes, where a cut is most easily missed.
    std::vector<size_t> limits;
    for (size_t limit = 0; limit < newSize; limit += 5) limits.push_back(limit);
    for (size_t back = 1; back <= std::min<size_t>(newSize, 6); ++back) limits.push_back(newSize - back);
    for (size_t limit : limits) {
        SCOPED_TRACE(limit);
        ASSERT_EQ(test::WriteWithSizeLimit(limit, write), 0);
        ASSERT_EQ(host::ReadText(path), oldBytes);
        ASSERT_EQ(FolderEntries(folder), std::vector<std::string>{name});
    }
    EXPECT_EQ(test::WriteWithSizeLimit(newSize, write), 1);
    EXPECT_EQ(host::ReadText(path).size(), newSize);
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{name});
}

TEST(WriteFailure, InterruptedWritesKeepTheOldFile) {
    if (!test::CanLimitFileSize()) GTEST_SKIP() << "no limit on a child's file size here";
    test::TempDir dir;
    const std::string sav = dir.path() + "/baseball.sav";
    ExpectCutWritesKeepTheOldFile(
        sav, " 0 \r\n", [&] { return WriteSavedGame(sav, SampleGame()); }, sizeof kSampleBytes - 1);

    const std::string rec = dir.path() + "/baseball.rec";
    std::filesystem::remove(sav);
    SeriesRecord r;
    r.seriesOpenerHome = 1;
    r.seriesWinsTeam1 = 3;
    r.seriesWinsTeam2 = 3;
    r.teamName1 = "Owls";
    r.managerName = "Dana";
    r.teamName2 = "Larks";
    const std::string oldRec = " 2 \r\n 1 \r\n 0 \r\nA\r\nB\r\nC\r\n";
    ExpectCutWritesKeepTheOldFile(
        rec, oldRec, [&] { return WriteSeriesRecord(rec, r); },
        std::string(" 1 \r\n 3 \r\n 3 \r\nOwls\r\nDana\r\nLarks\r\n").size());
}

}  // namespace
}  // namespace sw::data
