// What only POSIX file systems have: names that differ only in letter case,
// permissions, file size limits, the XDG documents folder.
#include "host/files.h"
#include "host/host.h"
#include "host/real/real_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/stat.h>

namespace sw::host {
namespace {

namespace fs = std::filesystem;

class PosixFilesTest : public ::testing::Test {
protected:
    void SetUp() override { dir_ = MakeUniqueFolder(Utf8FromPath(fs::temp_directory_path()), "sw_files_"); }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(PathFromUtf8(dir_), ec);
    }

    std::string Path(const std::string& name) const { return JoinPath(dir_, name); }

    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(PathFromUtf8(dir_))) names.push_back(Utf8FromPath(e.path().filename()));
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string dir_;
};

TEST_F(PosixFilesTest, LooksUpNamesIgnoringCase) {
    WriteFileAtomic(Path("Baseball.CFG"), "x");
    EXPECT_EQ(FileNameOnDisk(dir_, "baseball.cfg"), "Baseball.CFG");
    EXPECT_EQ(FindFile(dir_, "BASEBALL.cfg"), Path("Baseball.CFG"));
    EXPECT_EQ(FindFile(dir_, "baseball.sav"), std::nullopt);
    EXPECT_EQ(FindFile(dir_ + "/missing", "baseball.cfg"), std::nullopt);
    EXPECT_EQ(FindFile(dir_, ""), std::nullopt);

    // Folders are found as well ("Tamberlyn" answers for "tamberlyn").
    ASSERT_TRUE(MakeFolder(Path("Tamberlyn")));
    EXPECT_EQ(FileNameOnDisk(dir_, "tamberlyn"), "Tamberlyn");

    // Only ASCII letters are folded.
    WriteFileAtomic(Path("\xC3\x89t\xC3\xA9.txt"), "x");  // "Été.txt"
    EXPECT_EQ(FileNameOnDisk(dir_, "\xC3\xA9t\xC3\xA9.txt"), std::nullopt);
}

TEST_F(PosixFilesTest, PrefersTheExactCaseAmongSeveralMatches) {
    WriteFileAtomic(Path("roster.txt"), "lower");
    WriteFileAtomic(Path("Roster.txt"), "upper");
    WriteFileAtomic(Path("ROSTER.TXT"), "shout");
    EXPECT_EQ(FileNameOnDisk(dir_, "Roster.txt"), "Roster.txt");
    EXPECT_EQ(FileNameOnDisk(dir_, "roster.txt"), "roster.txt");
    // No exact match: the same answer every time, whatever the listing order.
    EXPECT_EQ(FileNameOnDisk(dir_, "rOSTER.txt"), "ROSTER.TXT");
}

TEST_F(PosixFilesTest, AtomicWriteKeepsThePermissions) {
    std::string path = Path("baseball.sav");
    WriteFileAtomic(path, "a much longer first version of the saved game\r\n");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);

    WriteFileAtomic(path, "short\r\n");
    EXPECT_EQ(ReadText(path), "short\r\n");
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}

TEST_F(PosixFilesTest, AWriteThatFillsTheDiskThrowsAndKeepsTheOldFile) {
    // The disk fills up in the middle of the write (a file size limit stands
    // in for a full disk, which no permission setting can fake for root).
    std::string path = Path("baseball.cfg");
    const std::string old = "old settings\r\n";
    WriteFileAtomic(path, old);
    rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(WriteFileAtomic(path, std::string(100000, 'n')), HostError);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(ReadText(path), old);
    EXPECT_EQ(Entries(), std::vector<std::string>{"baseball.cfg"});
}

TEST_F(PosixFilesTest, DocumentsFolderFollowsUserDirs) {
    using real::DocumentsFolder;
    const std::string home = dir_;
    EXPECT_EQ(DocumentsFolder("", ""), "");
    // No user-dirs.dirs: the usual folder.
    EXPECT_EQ(DocumentsFolder(home, ""), home + "/Documents");

    ASSERT_TRUE(MakeFolder(Path(".config")));
    WriteFileAtomic(Path(".config/user-dirs.dirs"),
                    "# written by xdg-user-dirs-update\n"
                    "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                    "XDG_DOCUMENTS_DIR=\"$HOME/My \\\"Docs\\\"/\"\n");
    EXPECT_EQ(DocumentsFolder(home, ""), home + "/My \"Docs\"");

    // An absolute setting in another configuration folder; a later invalid
    // (relative) line does not undo it.
    ASSERT_TRUE(MakeFolder(Path("cfg")));
    WriteFileAtomic(Path("cfg/user-dirs.dirs"),
                    "  XDG_DOCUMENTS_DIR = \"/srv/papers\"\n"
                    "XDG_DOCUMENTS_DIR=\"papers\"\n"
                    "XDG_DOCUMENTS_DIRX=\"/elsewhere\"\n");
    EXPECT_EQ(DocumentsFolder(home, Path("cfg")), "/srv/papers");

    // $HOME alone means the home folder itself.
    WriteFileAtomic(Path("cfg/user-dirs.dirs"), "XDG_DOCUMENTS_DIR=\"$HOME\"\n");
    EXPECT_EQ(DocumentsFolder(home, Path("cfg")), home);
}

}  // namespace
}  // namespace sw::host
