#include "support/size_limit.h"

#include <csignal>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace sw::test {

namespace {

// Quiet standard error in a child that reports each failure.
void SilenceStderr() {
    int fd = ::open("/dev/null", O_WRONLY);
    if (fd >= 0) {
        ::dup2(fd, 2);
        ::close(fd);
    }
}

}  // namespace

bool CanLimitFileSize() { return true; }

int WriteWithSizeLimit(uint64_t limit, const std::function<bool()>& write) {
    pid_t pid = ::fork();
    if (pid == 0) {
        SilenceStderr();
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit lim{rlim_t(limit), rlim_t(limit)};
        if (::setrlimit(RLIMIT_FSIZE, &lim) != 0) ::_exit(3);
        ::_exit(write() ? 1 : 0);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

}  // namespace sw::test
