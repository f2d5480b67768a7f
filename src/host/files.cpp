// File-system helpers: case-insensitive look-up, whole-file reads and
// crash-safe whole-file writes.
#include "host/files.h"

#include "host/host.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// An entry counts as present even when it is a dangling link, as it does
// when the folder is listed.
bool Exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

[[noreturn]] void Fail(const std::string& what, const std::string& path, int err) {
    throw HostError(what + " " + path + ": " + std::strerror(err));
}

// Writes all of `data`, riding out short writes and interrupted calls.
// Returns 0 or the errno of the failure.
int WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        data += n;
        size -= size_t(n);
    }
    return 0;
}

// Flushes the folder holding `path`, so a new entry in it (a rename, a new
// file) survives a crash. A failure here loses nothing already written.
void SyncFolderOf(const std::string& path) {
    const std::string folder = fs::path(path).parent_path().string();
    int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

template <typename Bytes>
Bytes ReadWhole(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) Fail("cannot read", path, errno);
    Bytes out;
    char chunk[65536];
    for (;;) {
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            ::close(fd);
            Fail("cannot read", path, err);
        }
        out.insert(out.end(), chunk, chunk + n);
    }
    ::close(fd);
    return out;
}

}  // namespace

std::optional<std::string> FileNameOnDisk(const std::string& folder, const std::string& name) {
    if (name.empty()) return std::nullopt;
    if (Exists(JoinPath(folder, name))) return name;
    // Only a plain entry name is matched ignoring case.
    if (name.find('/') != std::string::npos) return std::nullopt;

    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? "." : folder, ec);
    if (ec) return std::nullopt;
    // Several entries may differ only in case; take the first in byte order so
    // the answer does not depend on the order the directory lists them.
    std::optional<std::string> found;
    for (; it != fs::directory_iterator(); it.increment(ec)) {
        std::string entry = it->path().filename().string();
        if (SameIgnoringCase(entry, name) && (!found || entry < *found)) found = entry;
    }
    if (ec) return std::nullopt;
    return found;
}

std::string FolderListingError(const std::string& folder) {
    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? "." : folder, ec);
    return ec ? ec.message() : std::string();
}

std::optional<std::string> FindFile(const std::string& folder, const std::string& name) {
    auto onDisk = FileNameOnDisk(folder, name);
    if (!onDisk) return std::nullopt;
    return JoinPath(folder, *onDisk);
}

std::optional<uint64_t> FileSize(const std::string& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return std::nullopt;
    uint64_t size = fs::file_size(path, ec);
    if (ec) return std::nullopt;
    return size;
}

std::vector<uint8_t> ReadFile(const std::string& path) {
    return ReadWhole<std::vector<uint8_t>>(path);
}

std::string ReadText(const std::string& path) {
    return ReadWhole<std::string>(path);
}

namespace {
std::function<void(const std::string&)>& WriteObserver() {
    static std::function<void(const std::string&)> observer;
    return observer;
}
}  // namespace

void WriteFileAtomic(const std::string& path, const std::string& contents) {
    fs::path target(path);
    std::string base = target.filename().string();
    if (base.empty()) throw HostError("cannot write " + path + ": not a file name");
    std::string folder = target.parent_path().string();

    // A fresh name in the same folder, so the final rename stays on one file system.
    static std::atomic<unsigned> serial{0};
    std::string temp;
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        temp = JoinPath(folder, "." + base + ".tmp" + std::to_string(::getpid()) + "-" +
                                    std::to_string(serial.fetch_add(1)));
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && (errno != EEXIST || attempt >= 100)) Fail("cannot write", path, errno);
    }

    // The new file keeps the permissions of the one it replaces.
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) ::fchmod(fd, old.st_mode & 07777);

    int err = WriteAll(fd, contents.data(), contents.size());
    if (err == 0 && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err == 0 && ::rename(temp.c_str(), path.c_str()) != 0) err = errno;
    if (err != 0) {
        ::unlink(temp.c_str());
        Fail("cannot write", path, err);
    }

    // Make the rename itself durable; a failure here loses nothing already written.
    SyncFolderOf(path);
    if (WriteObserver()) WriteObserver()(path);
}

void SetWriteObserver(std::function<void(const std::string& path)> observer) { WriteObserver() = std::move(observer); }

void AppendFile(const std::string& path, const std::string& contents) {
    const bool existed = Exists(path);
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) Fail("cannot append to", path, errno);
    int err = WriteAll(fd, contents.data(), contents.size());
    // The lines are on the disk before the caller goes on.
    if (err == 0 && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err != 0) Fail("cannot append to", path, err);
    // A file this call created is also made durable in its folder.
    if (!existed) SyncFolderOf(path);
    if (WriteObserver()) WriteObserver()(path);
}

bool IsFolder(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(path, ec);
}

bool SameEntry(const std::string& a, const std::string& b) {
    std::error_code ec;
    return !a.empty() && !b.empty() && fs::equivalent(a, b, ec) && !ec;
}

bool MakeFolder(const std::string& path) {
    if (path.empty()) return false;
    std::error_code ec;
    fs::create_directories(path, ec);
    return fs::is_directory(path, ec);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    if (folder.back() == '/') return folder + name;
    return folder + "/" + name;
}

}  // namespace sw::host
