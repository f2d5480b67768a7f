// Choosing the data folder and bringing an older installation's files into it.
#include "data/data_folder.h"
#include "data/game_files.h"
#include "data/settings_files.h"
#include "host/files.h"
#include "support/folder_entries.h"
#include "support/sim_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

namespace sw::data {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(DataFolder, ChosenInTheDocumentsFolderOrTheWorkingFolder) {
    test::TempDir dir;
    host::Folders f;
    f.working = dir.path() + "/work";

    // No documents folder at all.
    EXPECT_EQ(getkp(f), f.working);

    // Made when missing, with a documents folder that does not exist yet.
    f.documents = dir.path() + "/home/Documents";
    EXPECT_EQ(getkp(f), f.documents + "/tamberlyn");
    EXPECT_TRUE(host::IsFolder(f.documents + "/tamberlyn"));
    EXPECT_EQ(getkp(f), f.documents + "/tamberlyn");

    // An existing folder in other letter case is used as it is.
    f.documents = dir.path() + "/docs2";
    ASSERT_TRUE(host::MakeFolder(f.documents + "/Tamberlyn"));
    EXPECT_EQ(getkp(f), f.documents + "/Tamberlyn");
    EXPECT_EQ(Entries(f.documents), std::vector<std::string>{"Tamberlyn"});

    // A file of that name: the working folder, and nothing is created.
    f.documents = dir.path() + "/docs3";
    ASSERT_TRUE(host::MakeFolder(f.documents));
    host::WriteFileAtomic(f.documents + "/TAMBERLYN", "not a folder");
    EXPECT_EQ(getkp(f), f.working);
    EXPECT_EQ(Entries(f.documents), std::vector<std::string>{"TAMBERLYN"});
}

// A player whose user folder has an accent, and a team and manager named with
// accents: the data folder is made under it, the older installation's record
// comes over, and the names are written and read back as the player typed
// them (UTF-8 bytes, whatever the system's code page).
TEST(DataFolder, AccentedFolderAndNamesSurviveWriteAndReadBack) {
    test::TempDir dir;
    const std::string user = dir.path() + "/Bj\xC3\xB6rk";  // "Björk"
    host::Folders f;
    f.working = user + "/baseball";
    f.documents = user + "/Documents";
    ASSERT_TRUE(host::MakeFolder(user));
    ASSERT_TRUE(host::MakeFolder(f.working));
    host::WriteFileAtomic(f.working + "/baseball.rec", " 1 \r\n 2 \r\n 1 \r\nJos\xC3\xA9's Owls\r\nRen\xC3\xA9\r\nLarks\r\n");

    const std::string data = getkp(f);
    EXPECT_EQ(data, f.documents + "/tamberlyn");
    EXPECT_EQ(test::SpellingsOf(dir.path(), "bj\xC3\xB6rk"), std::vector<std::string>{"Bj\xC3\xB6rk"});
    cofs(data, f.working);
    SeriesRecord rec;
    ASSERT_TRUE(ReadSeriesRecord(data + "/baseball.rec", rec));
    EXPECT_EQ(rec.teamName1, "Jos\xC3\xA9's Owls");
    EXPECT_EQ(rec.managerName, "Ren\xC3\xA9");

    rec.teamName2 = "Z\xC3\xBCrich Larks";  // "Zürich"
    ASSERT_TRUE(WriteSeriesRecord(data + "/baseball.rec", rec));
    SeriesRecord back;
    ASSERT_TRUE(ReadSeriesRecord(data + "/baseball.rec", back));
    EXPECT_EQ(back.teamName1, rec.teamName1);
    EXPECT_EQ(back.managerName, rec.managerName);
    EXPECT_EQ(back.teamName2, "Z\xC3\xBCrich Larks");
}

// An older installation: all eleven files, with every kind of line end.
struct OldInstallation {
    OldInstallation() {
        work = dir.path() + "/work";
        data = dir.path() + "/data";
        host::MakeFolder(work);
        host::MakeFolder(data);
        files = {
            {"baseball.txt", "old read me\nsecond line"},
            {"baseballbatters.txt", "Your Batters:\r\nA\r\n"},
            {"baseballreliefpitchers.txt", "Your relief pitchers:\rMo: sinker, 31\r"},
            {"baseballrules.txt", "rule one\n\nrule two\n"},
            {"baseballstartingpitchers.txt", ""},
            {"baseball.vol", "-100 \r\n 80 \r\n"},
            {"baseball.rec", " 0 "},
            {"baseball.sav", " 4242 \n"},
            {"basebats.sav", " 1 \r\n 2 \r\n"},
            {"BASEBALL.CFG", " 0 \r\n 3 \r\n"},
            {"baseballscore.txt", "log line\r\n\r\n"},
        };
        for (const auto& [name, text] : files) host::WriteFileAtomic(work + "/" + name, text);
    }
    test::TempDir dir;
    std::string work, data;
    std::map<std::string, std::string> files;
};

TEST(DataFolder, OlderFilesAreBroughtOverOnceWithCrLfLines) {
    OldInstallation old;
    cofs(old.data, old.work);
    const std::map<std::string, std::string> expected = {
        {"baseball.txt", "old read me\r\nsecond line\r\n"},
        {"baseballbatters.txt", "Your Batters:\r\nA\r\n"},
        {"baseballreliefpitchers.txt", "Your relief pitchers:\r\nMo: sinker, 31\r\n"},
        {"baseballrules.txt", "rule one\r\n\r\nrule two\r\n"},
        {"baseballstartingpitchers.txt", ""},
        {"baseball.vol", "-100 \r\n 80 \r\n"},
        {"baseball.rec", " 0 \r\n"},
        {"baseball.sav", " 4242 \r\n"},
        {"basebats.sav", " 1 \r\n 2 \r\n"},
        {"baseball.cfg", " 0 \r\n 3 \r\n"},
        {"baseballlog.txt", "log line\r\n\r\n"},
    };
    std::map<std::string, std::string> got;
    for (const auto& name : Entries(old.data)) got[name] = host::ReadText(old.data + "/" + name);
    EXPECT_EQ(got, expected);

    // The next start copies nothing, however new the working folder's files.
    for (const auto& [name, text] : old.files) host::WriteFileAtomic(old.work + "/" + name, "newer\r\n");
    cofs(old.data, old.work);
    got.clear();
    for (const auto& name : Entries(old.data)) got[name] = host::ReadText(old.data + "/" + name);
    EXPECT_EQ(got, expected);
}

TEST(DataFolder, WithoutAnOldReadMeTheGuideIsWrittenSoTheCopyRunsOnce) {
    OldInstallation old;
    fs::remove(old.work + "/baseball.txt");
    // A target already there in other case is replaced under its own name.
    host::WriteFileAtomic(old.data + "/Baseball.Sav", "newer game");
    // A source that is not a file, and a target that cannot be replaced, are
    // skipped and the rest still goes on.
    fs::remove(old.work + "/baseball.vol");
    host::MakeFolder(old.work + "/baseball.vol");
    host::MakeFolder(old.data + "/baseball.rec");
    cofs(old.data, old.work);

    EXPECT_EQ(host::ReadText(old.data + "/baseball.txt"), kDataFolderGuide);
    EXPECT_EQ(host::ReadText(old.data + "/Baseball.Sav"), " 4242 \r\n");
    EXPECT_EQ(host::ReadText(old.data + "/baseballlog.txt"), "log line\r\n\r\n");
    EXPECT_TRUE(host::IsFolder(old.data + "/baseball.rec"));
    EXPECT_EQ(Entries(old.data),
              (std::vector<std::string>{"Baseball.Sav", "baseball.cfg", "baseball.rec", "baseball.txt",
                                        "baseballbatters.txt", "baseballlog.txt", "baseballreliefpitchers.txt",
                                        "baseballrules.txt", "baseballstartingpitchers.txt", "basebats.sav"}));

    host::WriteFileAtomic(old.work + "/baseball.sav", " 1 \r\nnewer\r\n");
    cofs(old.data, old.work);
    EXPECT_EQ(host::ReadText(old.data + "/Baseball.Sav"), " 4242 \r\n");

    // The guide: short CR LF lines naming every file of the folder.
    const std::string guide = kDataFolderGuide;
    auto lines = SplitLines(guide);
    EXPECT_LT(lines.size(), 30u);
    for (const auto& l : lines) EXPECT_EQ(l.find_first_of("\r\n"), std::string::npos);
    EXPECT_EQ(std::count(guide.begin(), guide.end(), '\n'), std::count(guide.begin(), guide.end(), '\r'));
    for (const char* name : {"baseballbatters.txt", "baseballstartingpitchers.txt", "baseballreliefpitchers.txt",
                             "baseballrules.txt", "F9", "baseball.sav", "basebats.sav", "baseball.rec",
                             "baseball.cfg", "baseball.vol", "baseballlog.txt"})
        EXPECT_NE(guide.find(name), std::string::npos) << name;
}

// The files a new data folder starts with, as shipped (LF lines here: they
// arrive with CR LF).
struct Shipped {
    explicit Shipped(const std::string& root) : folder(root + "/defaults") {
        host::MakeFolder(folder);
        for (const auto& [name, text] : files) host::WriteFileAtomic(folder + "/" + name, text);
    }
    std::string folder;
    std::map<std::string, std::string> files = {
        {"baseball.txt", "shipped guide\n"},
        {"baseballbatters.txt", "shipped batters\n"},
        {"baseballstartingpitchers.txt", "shipped starters\n"},
        {"baseballreliefpitchers.txt", "shipped relievers\n"},
        {"baseballrules.txt", "shipped rules\n"},
    };
};

TEST(DataFolder, ANewFolderGetsTheShippedDefaultsTheOlderInstallationsFilesFirst) {
    OldInstallation old;
    Shipped shipped(old.dir.path());
    // The older installation had its own batters and rules, nothing else of the five.
    for (const char* name : {"baseball.txt", "baseballstartingpitchers.txt", "baseballreliefpitchers.txt"})
        fs::remove(old.work + "/" + name);
    // The player's own relievers, already in the data folder, stay.
    host::WriteFileAtomic(old.data + "/BaseballReliefPitchers.txt", "mine\r\n");
    cofs(old.data, old.work, shipped.folder);

    EXPECT_EQ(host::ReadText(old.data + "/baseballbatters.txt"), "Your Batters:\r\nA\r\n");
    EXPECT_EQ(host::ReadText(old.data + "/baseballrules.txt"), "rule one\r\n\r\nrule two\r\n");
    EXPECT_EQ(host::ReadText(old.data + "/baseballstartingpitchers.txt"), "shipped starters\r\n");
    EXPECT_EQ(host::ReadText(old.data + "/BaseballReliefPitchers.txt"), "mine\r\n");
    EXPECT_EQ(test::SpellingsOf(old.data, "baseballreliefpitchers.txt"),
              std::vector<std::string>{"BaseballReliefPitchers.txt"});
    EXPECT_EQ(host::ReadText(old.data + "/baseball.txt"), "shipped guide\r\n");

    // Set up now: a roster deleted later is not brought back.
    fs::remove(old.data + "/baseballstartingpitchers.txt");
    cofs(old.data, old.work, shipped.folder);
    EXPECT_FALSE(fs::exists(old.data + "/baseballstartingpitchers.txt"));
}

TEST(DataFolder, DefaultsComeEvenWhenTheDataFolderIsTheWorkingFolder) {
    test::TempDir dir;
    Shipped shipped(dir.path());
    const std::string work = dir.path() + "/work";
    host::MakeFolder(work);
    host::WriteFileAtomic(work + "/baseballbatters.txt", "older batters\r\n");
    cofs(work, work, shipped.folder);
    EXPECT_EQ(host::ReadText(work + "/baseballbatters.txt"), "older batters\r\n");
    EXPECT_EQ(host::ReadText(work + "/baseballrules.txt"), "shipped rules\r\n");
    EXPECT_EQ(host::ReadText(work + "/baseball.txt"), "shipped guide\r\n");
}

TEST(DataFolder, UnreadableDefaultsAreOneLineOnStandardErrorAndTheGuideStillComes) {
    test::TempDir dir;
    const std::string data = dir.path() + "/data", work = dir.path() + "/work";
    host::MakeFolder(data);
    host::MakeFolder(work);
    for (const std::string& defaults : {dir.path() + "/no such folder", work + "/a file"}) {
        host::WriteFileAtomic(work + "/a file", "x");
        fs::remove(data + "/baseball.txt");
        testing::internal::CaptureStderr();
        cofs(data, work, defaults);
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_NE(err.find(defaults), std::string::npos) << err;
        EXPECT_EQ(Entries(data), std::vector<std::string>{"baseball.txt"});
        EXPECT_EQ(host::ReadText(data + "/baseball.txt"), kDataFolderGuide);
    }
}

TEST(DataFolder, NothingIsCopiedOntoItself) {
    OldInstallation old;
    fs::remove(old.work + "/baseball.txt");
    auto expected = Entries(old.work);
    cofs(old.work, old.work + "/");
    cofs(old.work + "/.", old.work);
    // Only the guide is added, which marks the folder as set up.
    expected.insert(std::lower_bound(expected.begin(), expected.end(), "baseball.txt"), "baseball.txt");
    EXPECT_EQ(Entries(old.work), expected);
    EXPECT_EQ(host::ReadText(old.work + "/baseballrules.txt"), "rule one\n\nrule two\n");
}

}  // namespace
}  // namespace sw::data
