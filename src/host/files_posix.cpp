// Whole-file reads and crash-safe writes on POSIX systems.
#include "host/files.h"

#include "host/files_platform.h"
#include "host/host.h"

#include <atomic>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace sw::host {

namespace fs = std::filesystem;

namespace {

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

namespace detail {

// Names are told apart by their letter case here.
bool EntryExistsAsSpelt(const std::string& folder, const std::string& name) {
    return EntryExists(JoinPath(folder, name));
}

}  // namespace detail

std::vector<uint8_t> ReadFile(const std::string& path) {
    return ReadWhole<std::vector<uint8_t>>(path);
}

std::string ReadText(const std::string& path) {
    return ReadWhole<std::string>(path);
}

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
    detail::NotifyWritten(path);
}

void AppendFile(const std::string& path, const std::string& contents) {
    const bool existed = detail::EntryExists(path);
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) Fail("cannot append to", path, errno);
    int err = WriteAll(fd, contents.data(), contents.size());
    // The lines are on the disk before the caller goes on.
    if (err == 0 && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && err == 0) err = errno;
    if (err != 0) Fail("cannot append to", path, err);
    // A file this call created is also made durable in its folder.
    if (!existed) SyncFolderOf(path);
    detail::NotifyWritten(path);
}

}  // namespace sw::host
