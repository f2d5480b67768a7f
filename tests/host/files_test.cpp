#include "host/files.h"
#include "host/host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace sw::host {
namespace {

namespace fs = std::filesystem;

class FilesTest : public ::testing::Test {
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

TEST_F(FilesTest, AtomicWriteReplacesTheWholeFileAndLeavesNothingElse) {
    std::string path = Path("baseball.sav");
    WriteFileAtomic(path, "a much longer first version of the saved game\r\n");

    WriteFileAtomic(path, "short\r\n");
    EXPECT_EQ(ReadText(path), "short\r\n");
    EXPECT_EQ(FileSize(path), 7u);
    EXPECT_EQ(Entries(), std::vector<std::string>{"baseball.sav"});

    WriteFileAtomic(path, "");
    EXPECT_EQ(FileSize(path), 0u);
}

TEST_F(FilesTest, FailedAtomicWritesThrowAndKeepTheOldFile) {
    // No such folder.
    EXPECT_THROW(WriteFileAtomic(Path("nowhere/baseball.sav"), "x"), HostError);

    // The target is a folder: the rename fails after the data was written.
    ASSERT_TRUE(MakeFolder(Path("baseball.rec")));
    EXPECT_THROW(WriteFileAtomic(Path("baseball.rec"), "new"), HostError);
    EXPECT_EQ(Entries(), std::vector<std::string>{"baseball.rec"});
}

TEST_F(FilesTest, ReadsAppendsAndMakesFolders) {
    std::string log = Path("baseballlog.txt");
    AppendFile(log, "first\r\n");
    AppendFile(log, "second\r\n");
    EXPECT_EQ(ReadText(log), "first\r\nsecond\r\n");
    EXPECT_EQ(ReadFile(log).size(), 15u);

    EXPECT_THROW(ReadFile(Path("missing.txt")), HostError);
    EXPECT_THROW(ReadText(dir_), HostError);  // a folder is not a file
    EXPECT_EQ(FileSize(Path("missing.txt")), std::nullopt);
    EXPECT_EQ(FileSize(dir_), std::nullopt);
    EXPECT_THROW(AppendFile(Path("nowhere/log.txt"), "x"), HostError);

    EXPECT_TRUE(MakeFolder(Path("a/b/c")));
    EXPECT_TRUE(MakeFolder(Path("a/b/c")));  // already there
    EXPECT_FALSE(MakeFolder(Path("baseballlog.txt/sub")));
    EXPECT_FALSE(MakeFolder(""));

    EXPECT_EQ(JoinPath("/data/", "x.txt"), "/data/x.txt");
    EXPECT_EQ(JoinPath("", "x.txt"), "x.txt");
}

}  // namespace
}  // namespace sw::host
