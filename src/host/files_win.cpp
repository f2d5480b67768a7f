// Whole-file reads and crash-safe writes on Windows. Paths are UTF-8 up to
// here and UTF-16 at the system's calls, so names with accents survive.
#include "host/files.h"

#include "host/files_platform.h"
#include "host/host.h"
#include "host/text_win.h"

#include <atomic>
#include <chrono>
#include <thread>

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

// The replacing rename. A virus scanner or an indexer may hold the old file
// open for a moment without letting it be replaced: such a rename is tried
// again for about a second before the write is given up.
DWORD ReplaceWith(const std::wstring& temp, const std::wstring& target) {
    for (int attempt = 0;; ++attempt) {
        if (MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            return 0;
        }
        const DWORD err = GetLastError();
        if ((err != ERROR_SHARING_VIOLATION && err != ERROR_ACCESS_DENIED) || attempt >= 20) return err;
        // A folder of that name will not go away by waiting.
        const DWORD attributes = GetFileAttributesW(target.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return err;
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
        created = CreateFileW(temp.c_str(), GENERIC_WRITE, kShareAll, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created == INVALID_HANDLE_VALUE) {
            const DWORD err = GetLastError();
            if (err != ERROR_FILE_EXISTS || attempt >= 100) Fail("cannot write", path, err);
        }
    }
    Handle file(created);

    DWORD err = WriteAll(file.get(), contents.data(), contents.size());
    if (err == 0 && !FlushFileBuffers(file.get())) err = GetLastError();
    const DWORD closeErr = file.Close();
    if (err == 0) err = closeErr;
    if (err == 0) err = ReplaceWith(temp, widePath);
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
