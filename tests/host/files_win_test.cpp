// What Windows does its own way: names found whatever their case, accented
// names through the wide-character calls, files held open by other programs
// while the game replaces them, and the Documents folder.
#include "host/files.h"
#include "host/host.h"
#include "host/real/real_host.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <windows.h>

namespace sw::host {
namespace {

namespace fs = std::filesystem;

class WinFilesTest : public ::testing::Test {
protected:
    void SetUp() override { dir_ = MakeUniqueFolder(Utf8FromPath(fs::temp_directory_path()), "sw_files_"); }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(PathFromUtf8(dir_), ec);
    }

    std::string Path(const std::string& name) const { return JoinPath(dir_, name); }

    // The folder's entries as the system lists them, in UTF-16.
    std::vector<std::wstring> WideEntries() const {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found;
        HANDLE h = FindFirstFileW((PathFromUtf8(dir_) / L"*").c_str(), &found);
        if (h == INVALID_HANDLE_VALUE) return names;
        do {
            std::wstring name = found.cFileName;
            if (name != L"." && name != L"..") names.push_back(name);
        } while (FindNextFileW(h, &found));
        FindClose(h);
        return names;
    }

    // Opens the file as another program would, sharing it as `share` says.
    HANDLE OpenElsewhere(const std::string& name, DWORD share) const {
        return CreateFileW((PathFromUtf8(dir_) / name).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }

    static std::string ReadHandle(HANDLE h) {
        SetFilePointer(h, 0, nullptr, FILE_BEGIN);
        char buf[256];
        DWORD n = 0;
        ::ReadFile(h, buf, sizeof buf, &n, nullptr);
        return std::string(buf, n);
    }

    std::string dir_;
};

TEST_F(WinFilesTest, AccentedNamesAreWrittenReadAndListedAsUnicode) {
    const std::string name = "\xC3\x89quipe Zo\xC3\xAB.txt";  // "Équipe Zoë.txt"
    WriteFileAtomic(Path(name), "Zo\xC3\xAB\r\n");
    AppendFile(Path(name), "Ren\xC3\xA9\r\n");
    EXPECT_EQ(ReadText(Path(name)), "Zo\xC3\xAB\r\nRen\xC3\xA9\r\n");
    // The system holds the name itself, not its bytes in some code page.
    EXPECT_EQ(WideEntries(), std::vector<std::wstring>{L"\u00C9quipe Zo\u00EB.txt"});
    EXPECT_EQ(FileNameOnDisk(dir_, name), name);
    EXPECT_EQ(FileSize(Path(name)), 13u);

    // A folder with an accented name, and a file in it.
    const std::string folder = Path("Ren\xC3\xA9");
    ASSERT_TRUE(MakeFolder(folder));
    EXPECT_TRUE(IsFolder(folder));
    WriteFileAtomic(JoinPath(folder, "baseball.sav"), "saved");
    EXPECT_EQ(ReadText(JoinPath(folder, "baseball.sav")), "saved");
}

TEST_F(WinFilesTest, NamesAreFoundWhateverTheirCase) {
    WriteFileAtomic(Path("Baseball.CFG"), "x");
    auto found = FindFile(dir_, "BASEBALL.cfg");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(ReadText(*found), "x");
    EXPECT_EQ(FindFile(dir_, "baseball.sav"), std::nullopt);
    ASSERT_TRUE(MakeFolder(Path("Tamberlyn")));
    EXPECT_TRUE(FileNameOnDisk(dir_, "tamberlyn").has_value());
    // Writing by another spelling replaces the same file.
    WriteFileAtomic(Path("baseball.cfg"), "y");
    EXPECT_EQ(WideEntries().size(), 2u);
    EXPECT_EQ(ReadText(Path("Baseball.CFG")), "y");
}

TEST_F(WinFilesTest, AFileOpenElsewhereIsReplacedWhole) {
    const std::string old = "old saved game\r\n";
    WriteFileAtomic(Path("baseball.sav"), old);
    // A reader that lets others replace the file (as the game's own reads do).
    HANDLE reader = OpenElsewhere("baseball.sav", FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);

    WriteFileAtomic(Path("baseball.sav"), "new\r\n");
    EXPECT_EQ(ReadText(Path("baseball.sav")), "new\r\n");
    // The reader still has the old version, whole.
    EXPECT_EQ(ReadHandle(reader), old);
    CloseHandle(reader);
    EXPECT_EQ(WideEntries(), std::vector<std::wstring>{L"baseball.sav"});
}

TEST_F(WinFilesTest, AFileLockedElsewhereIsKeptAndTheWriteFails) {
    const std::string old = "old settings\r\n";
    WriteFileAtomic(Path("baseball.cfg"), old);
    // A reader that forbids replacing the file while it holds it.
    HANDLE reader = OpenElsewhere("baseball.cfg", FILE_SHARE_READ);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);

    EXPECT_THROW(WriteFileAtomic(Path("baseball.cfg"), "new\r\n"), HostError);
    EXPECT_EQ(ReadHandle(reader), old);
    CloseHandle(reader);
    EXPECT_EQ(ReadText(Path("baseball.cfg")), old);
    // The temporary file is gone; the next write goes through.
    EXPECT_EQ(WideEntries(), std::vector<std::wstring>{L"baseball.cfg"});
    WriteFileAtomic(Path("baseball.cfg"), "new\r\n");
    EXPECT_EQ(ReadText(Path("baseball.cfg")), "new\r\n");
}

TEST(WinFolders, DocumentsAndProgramFoldersAreTheSystemsOwn) {
    const std::string documents = real::UserDocumentsFolder();
    EXPECT_TRUE(IsFolder(documents)) << documents;
    EXPECT_EQ(documents.find('\\'), std::string::npos) << documents;

    const std::string program = real::ProgramFolder();
    EXPECT_TRUE(FindFile(program, "host_tests.exe").has_value()) << program;
}

}  // namespace
}  // namespace sw::host
