// Whole-file reads and crash-safe writes on Windows. Paths are UTF-8 up to
// here and UTF-16 at the system's calls, so names with accents survive.
#include "host/files.h"

#include "host/files_platform.h"
#include "host/host.h"
#include "host/text_win.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <thread>
#include <vector>

#include <windows.h>

namespace sw::host {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path, DWORD err) {
    throw HostError(what + " " + path + ": " + win::ErrorText(err));
}

// Closes a handle when it goes out of scope.
class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool ok() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }
    // Returns 0 or the error of the close.
    DWORD Close() {
        DWORD err = 0;
        if (ok() && !CloseHandle(h_)) err = GetLastError();
        h_ = INVALID_HANDLE_VALUE;
        return err;
    }

private:
    HANDLE h_;
};

// Other programs may read, write, rename or delete a file while we have it
// open: a reader never stands in the way of the game's own replacing write.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// Writes all of `data`. Returns 0 or the error of the failure.
DWORD WriteAll(HANDLE file, const char* data, size_t size) {
    while (size > 0) {
        const DWORD chunk = size > (1u << 30) ? (1u << 30) : DWORD(size);
        DWORD written = 0;
        if (!::WriteFile(file, data, chunk, &written, nullptr)) return GetLastError();
        data += written;
        size -= written;
    }
    return 0;
}

// The rename through a handle wants the whole path, with the system's own
// separators.
std::wstring FullPath(const std::wstring& path) {
    const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return path;
    std::wstring full(size, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return path;
    full.resize(length);
    return full;
}

template <typename Bytes>
Bytes ReadWhole(const std::string& path) {
    // A folder cannot be opened this way, so it is not mistaken for a file.
    Handle file(CreateFileW(win::Wide(path).c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) Fail("cannot read", path, GetLastError());
    Bytes out;
    char chunk[65536];
    for (;;) {
        DWORD n = 0;
        if (!::ReadFile(file.get(), chunk, sizeof chunk, &n, nullptr)) Fail("cannot read", path, GetLastError());
        if (n == 0) break;
        out.insert(out.end(), chunk, chunk + n);
    }
    return out;
}

// SetFileInformationByHandle's rename with POSIX semantics (Windows 10 1709
// and later; the SDK headers declare it only for those versions). A file
// open elsewhere, shared for deleting, is replaced at once: its name goes to
// the new file and its readers keep the old contents.
constexpr int kFileRenameInfoEx = 22;  // FILE_INFO_BY_HANDLE_CLASS
constexpr DWORD kRenameReplaceIfExists = 0x1;
constexpr DWORD kRenamePosixSemantics = 0x2;
struct RenameInfoEx {
    DWORD Flags;
    HANDLE RootDirectory;
    DWORD FileNameLength;  // in bytes, without a terminating nul
    WCHAR FileName[1];
};

// Gives the open file `file` the name `target`, replacing what is there.
// Returns 0 or the error; ERROR_INVALID_PARAMETER, ERROR_NOT_SUPPORTED or
// ERROR_INVALID_FUNCTION when the system or the volume cannot do it.
DWORD RenameOpenFile(HANDLE file, const std::wstring& target) {
    std::vector<unsigned char> buffer(offsetof(RenameInfoEx, FileName) + (target.size() + 1) * sizeof(WCHAR));
    auto* info = reinterpret_cast<RenameInfoEx*>(buffer.data());
    info->Flags = kRenameReplaceIfExists | kRenamePosixSemantics;
    info->RootDirectory = nullptr;
    info->FileNameLength = static_cast<DWORD>(target.size() * sizeof(WCHAR));
    std::copy(target.begin(), target.end(), info->FileName);
    info->FileName[target.size()] = L'\0';
    if (SetFileInformationByHandle(file, static_cast<FILE_INFO_BY_HANDLE_CLASS>(kFileRenameInfoEx), info,
                                   static_cast<DWORD>(buffer.size()))) {
        return 0;
    }
    return GetLastError();
}

bool Unsupported(DWORD err) {
    return err == ERROR_INVALID_PARAMETER || err == ERROR_NOT_SUPPORTED || err == ERROR_INVALID_FUNCTION ||
           err == ERROR_CALL_NOT_IMPLEMENTED;
}

// The replacing rename of the written temporary file `file` (named `temp`)
// to `target`. Where the rename through the handle is not supported (older
// Windows, a FAT volume, Wine), the file is closed and moved by name; a file
// open elsewhere then cannot be replaced until it is closed. A virus scanner
// or an indexer may hold the old file for a moment without sharing it for
// deleting: the rename is tried again for about a second before the write is
// given up. The file is closed on return.
DWORD ReplaceWith(Handle& file, const std::wstring& temp, const std::wstring& target) {
    bool byHandle = true;
    for (int attempt = 0;; ++attempt) {
        DWORD err = 0;
        if (byHandle) {
            err = RenameOpenFile(file.get(), target);
            if (err == 0) {
                // The contents were flushed before the rename: a failed close
                // loses nothing.
                file.Close();
                return 0;
            }
            if (Unsupported(err)) {
                byHandle = false;
                err = file.Close();
                if (err != 0) return err;
            }
        }
        // Write-through matters only for a move to another volume, which this
        // is not; it costs nothing here.
        if (!byHandle) {
            if (MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
                return 0;
            }
            err = GetLastError();
        }
        if ((err != ERROR_SHARING_VIOLATION && err != ERROR_ACCESS_DENIED) || attempt >= 20) {
            file.Close();
            return err;
        }
        // A folder of that name will not go away by waiting.
        const DWORD attributes = GetFileAttributesW(target.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            file.Close();
            return err;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

}  // namespace

namespace detail {

// The system finds a name whatever its case and reports the entry's own.
bool EntryExistsAsSpelt(const std::string& folder, const std::string& name) {
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW(win::Wide(JoinPath(folder, name)).c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) return false;
    FindClose(h);
    return win::Utf8(found.cFileName) == name;
}

}  // namespace detail

std::vector<uint8_t> ReadFile(const std::string& path) {
    return ReadWhole<std::vector<uint8_t>>(path);
}

std::string ReadText(const std::string& path) {
    return ReadWhole<std::string>(path);
}

void WriteFileAtomic(const std::string& path, const std::string& contents) {
    const fs::path target = PathFromUtf8(path);
    const std::string base = Utf8FromPath(target.filename());
    if (base.empty()) throw HostError("cannot write " + path + ": not a file name");
    const std::string folder = Utf8FromPath(target.parent_path());
    const std::wstring widePath = win::Wide(path);

    // A fresh name in the same folder, so the final rename stays on one volume.
    static std::atomic<unsigned> serial{0};
    std::wstring temp;
    HANDLE created = INVALID_HANDLE_VALUE;
    for (int attempt = 0; created == INVALID_HANDLE_VALUE; ++attempt) {
        temp = win::Wide(JoinPath(folder, "." + base + ".tmp" + std::to_string(GetCurrentProcessId()) + "-" +
                                              std::to_string(serial.fetch_add(1))));
        // DELETE access: the rename goes through this handle.
        created = CreateFileW(temp.c_str(), GENERIC_WRITE | DELETE, kShareAll, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created == INVALID_HANDLE_VALUE) {
            const DWORD err = GetLastError();
            if (err != ERROR_FILE_EXISTS || attempt >= 100) Fail("cannot write", path, err);
        }
    }
    Handle file(created);

    DWORD err = WriteAll(file.get(), contents.data(), contents.size());
    if (err == 0 && !FlushFileBuffers(file.get())) err = GetLastError();
    if (err == 0) err = ReplaceWith(file, temp, FullPath(widePath));
    file.Close();
    if (err != 0) {
        DeleteFileW(temp.c_str());
        Fail("cannot write", path, err);
    }
    detail::NotifyWritten(path);
}

void AppendFile(const std::string& path, const std::string& contents) {
    Handle file(CreateFileW(win::Wide(path).c_str(), FILE_APPEND_DATA, kShareAll, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.ok()) Fail("cannot append to", path, GetLastError());
    DWORD err = WriteAll(file.get(), contents.data(), contents.size());
    // The lines are on the disk before the caller goes on.
    if (err == 0 && !FlushFileBuffers(file.get())) err = GetLastError();
    const DWORD closeErr = file.Close();
    if (err == 0) err = closeErr;
    if (err != 0) Fail("cannot append to", path, err);
    detail::NotifyWritten(path);
}

}  // namespace sw::host
