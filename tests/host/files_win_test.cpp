// What Windows does its own way: names found whatever their case, accented
// names through the wide-character calls, files held open by other programs
// while the game replaces them, and the Documents folder.
#include "host/files.h"
#include "host/host.h"
#include "host/real/real_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <windows.h>

namespace sw::host {
namespace {

namespace fs = std::filesystem;

// Wine's ntdll has an export of its own that Windows' lacks.
bool UnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

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

// Windows (10, 1709 and later, on NTFS) replaces a file that another program
// holds open, if that program shares it for deleting as most readers do: the
// file's name goes to the new contents and the reader keeps the old ones.
// Wine 8 cannot: it has no rename with POSIX semantics (SetFileInformation-
// ByHandle answers FileRenameInfoEx with ERROR_INVALID_PARAMETER, and
// NtSetInformationFile FileRenameInformationEx with STATUS_NOT_IMPLEMENTED),
// and its server refuses to rename over a file that is open anywhere
// (MoveFileExW and FileRenameInfo: ERROR_ACCESS_DENIED, however the file is
// shared). There the write is given up after its retries, with the old file
// whole, as when the file is locked.
TEST_F(WinFilesTest, AFileOpenElsewhereIsReplacedWhole) {
    const std::string old = "old saved game\r\n";
    WriteFileAtomic(Path("baseball.sav"), old);
    // A reader that lets others replace the file (as the game's own reads do).
    HANDLE reader = OpenElsewhere("baseball.sav", FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);

    if (UnderWine()) {
        EXPECT_THROW(WriteFileAtomic(Path("baseball.sav"), "new\r\n"), HostError);
        EXPECT_EQ(ReadText(Path("baseball.sav")), old);
    } else {
        WriteFileAtomic(Path("baseball.sav"), "new\r\n");
        EXPECT_EQ(ReadText(Path("baseball.sav")), "new\r\n");
    }
    // The reader still has the old version, whole.
    EXPECT_EQ(ReadHandle(reader), old);
    CloseHandle(reader);
    EXPECT_EQ(WideEntries(), std::vector<std::wstring>{L"baseball.sav"});
    WriteFileAtomic(Path("baseball.sav"), "newer\r\n");
    EXPECT_EQ(ReadText(Path("baseball.sav")), "newer\r\n");
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

// A folder where the file should be will not go away by waiting: the write
// fails at once rather than after the retries kept for a file held open.
TEST_F(WinFilesTest, AFolderInTheWayFailsTheWriteAtOnce) {
    ASSERT_TRUE(MakeFolder(Path("baseball.rec")));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(WriteFileAtomic(Path("baseball.rec"), "new"), HostError);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_EQ(WideEntries(), std::vector<std::wstring>{L"baseball.rec"});
}

// The versions the killed writer writes in turn: each of its own length, so
// that a file cut short or made of two of them is none of them.
std::string Version(int n) {
    return "version " + std::to_string(n) + "\r\n" + std::string(size_t(1000 + n % 5 * 30000), char('a' + n % 26)) +
           "\r\nend\r\n";
}

bool IsAVersion(const std::string& text) {
    const int n = std::atoi(text.c_str() + std::min<size_t>(text.size(), 8));
    return text == Version(n);
}

// The killed writer: run by the test below as a child of its own, it writes
// the versions in turn into the file named by SW_KILLED_WRITE_FILE until it
// is killed.
TEST(WinKilledWrite, DISABLED_WritesUntilKilled) {
    wchar_t folder[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"SW_KILLED_WRITE_FOLDER", folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) GTEST_SKIP() << "only run as the killed writer";
    const std::string path = JoinPath(Utf8FromPath(fs::path(folder)), "baseball.sav");
    for (int n = 1;; ++n) {
        WriteFileAtomic(path, Version(n));
        if (n == 1) WriteFileAtomic(JoinPath(Utf8FromPath(fs::path(folder)), "started"), "");
    }
}

// A program killed in the middle of a write (TerminateProcess, as the task
// manager or a shut-down does) leaves the old version or the new one, whole.
TEST_F(WinFilesTest, AKilledWriteLeavesTheOldOrTheNewVersion) {
    std::mt19937 random(std::random_device{}());
    WriteFileAtomic(Path("baseball.sav"), Version(0));
    wchar_t self[MAX_PATH];
    ASSERT_GT(GetModuleFileNameW(nullptr, self, MAX_PATH), 0u);
    std::wstring command = L"\"" + std::wstring(self) +
                           L"\" --gtest_filter=WinKilledWrite.DISABLED_WritesUntilKilled --gtest_also_run_disabled_tests";
    ASSERT_TRUE(SetEnvironmentVariableW(L"SW_KILLED_WRITE_FOLDER", PathFromUtf8(dir_).c_str()));
    constexpr DWORD kKilled = 9;
    for (int round = 0; round < 8; ++round) {
        DeleteFileW((PathFromUtf8(dir_) / L"started").c_str());
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION child{};
        ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                                   nullptr, &startup, &child));
        // Once it writes, it is killed some time into a write (each takes a
        // few milliseconds).
        for (int waited = 0; waited < 30000 && !FileSize(Path("started")).has_value(); waited += 5) {
            if (WaitForSingleObject(child.hProcess, 5) == WAIT_OBJECT_0) break;
        }
        const bool started = FileSize(Path("started")).has_value();
        if (started) Sleep(std::uniform_int_distribution<DWORD>(0, 40)(random));
        TerminateProcess(child.hProcess, kKilled);
        WaitForSingleObject(child.hProcess, 10000);
        DWORD exitCode = 0;
        GetExitCodeProcess(child.hProcess, &exitCode);
        CloseHandle(child.hThread);
        CloseHandle(child.hProcess);
        ASSERT_TRUE(started) << "round " << round << ": the writer never wrote";
        ASSERT_EQ(exitCode, kKilled) << "round " << round << ": the writer ended before it was killed";

        const std::string text = ReadText(Path("baseball.sav"));
        const std::string head = text.substr(0, text.find('\r'));
        EXPECT_TRUE(IsAVersion(text)) << "round " << round << ": " << text.size() << " bytes, " << head;
    }
    SetEnvironmentVariableW(L"SW_KILLED_WRITE_FOLDER", nullptr);
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
