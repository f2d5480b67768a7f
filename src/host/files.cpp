// File-system helpers: case-insensitive look-up, folders and paths. The
// reads and the crash-safe writes are in files_posix.cpp and files_win.cpp.
#include "host/files.h"

#include "host/files_platform.h"
#include "host/host.h"

#include <random>
#include <system_error>

namespace sw::host {

namespace fs = std::filesystem;

namespace {

// Letter case is folded for ASCII only; other bytes compare as they are.
bool SameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; };
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

fs::path FolderPath(const std::string& folder) {
    return folder.empty() ? fs::path(".") : PathFromUtf8(folder);
}

std::function<void(const std::string&)>& WriteObserver() {
    static std::function<void(const std::string&)> observer;
    return observer;
}

}  // namespace

namespace detail {

void NotifyWritten(const std::string& path) {
    if (WriteObserver()) WriteObserver()(path);
}

// An entry counts as present even when it is a dangling link, as it does
// when the folder is listed.
bool EntryExists(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(PathFromUtf8(path), ec));
}

}  // namespace detail

fs::path PathFromUtf8(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8FromPath(const fs::path& path) {
    std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
}

std::optional<std::string> FileNameOnDisk(const std::string& folder, const std::string& name) {
    if (name.empty()) return std::nullopt;
    // A path is taken as it is; only a plain entry name is matched ignoring case.
    if (name.find('/') != std::string::npos) {
        return detail::EntryExists(JoinPath(folder, name)) ? std::optional(name) : std::nullopt;
    }
    if (detail::EntryExistsAsSpelt(folder, name)) return name;

    std::error_code ec;
    fs::directory_iterator it(FolderPath(folder), ec);
    if (ec) return std::nullopt;
    // Several entries may differ only in case; take the first in byte order so
    // the answer does not depend on the order the directory lists them.
    std::optional<std::string> found;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        std::string entry = Utf8FromPath(it->path().filename());
        if (SameIgnoringCase(entry, name) && (!found || entry < *found)) found = entry;
    }
    if (ec) return std::nullopt;
    return found;
}

std::string FolderListingError(const std::string& folder) {
    std::error_code ec;
    fs::directory_iterator it(FolderPath(folder), ec);
    return ec ? ec.message() : std::string();
}

std::optional<std::string> FindFile(const std::string& folder, const std::string& name) {
    auto onDisk = FileNameOnDisk(folder, name);
    if (!onDisk) return std::nullopt;
    return JoinPath(folder, *onDisk);
}

std::optional<uint64_t> FileSize(const std::string& path) {
    std::error_code ec;
    const fs::path p = PathFromUtf8(path);
    if (!fs::is_regular_file(p, ec)) return std::nullopt;
    uint64_t size = fs::file_size(p, ec);
    if (ec) return std::nullopt;
    return size;
}

void SetWriteObserver(std::function<void(const std::string& path)> observer) { WriteObserver() = std::move(observer); }

bool IsFolder(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(PathFromUtf8(path), ec);
}

bool SameEntry(const std::string& a, const std::string& b) {
    std::error_code ec;
    return !a.empty() && !b.empty() && fs::equivalent(PathFromUtf8(a), PathFromUtf8(b), ec) && !ec;
}

bool MakeFolder(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    const fs::path p = PathFromUtf8(path);
    fs::create_directories(p, ec);
    return fs::is_directory(p, ec);
}

std::string MakeUniqueFolder(const std::string& parent, const std::string& prefix) {
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    std::mt19937 random(seed());
    std::uniform_int_distribution<int> pick(0, int(sizeof kLetters) - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = prefix;
        for (int i = 0; i < 8; ++i) name += kLetters[pick(random)];
        const std::string path = JoinPath(parent, name);
        std::error_code ec;
        // Creating the folder is what claims the name: only one caller can.
        if (fs::create_directory(PathFromUtf8(path), ec)) return path;
        if (ec && ec != std::errc::file_exists) {
            throw HostError("cannot make a folder in " + parent + ": " + ec.message());
        }
    }
    throw HostError("cannot make a folder in " + parent + ": every name tried was taken");
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

}  // namespace sw::host
