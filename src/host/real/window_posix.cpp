// The window's POSIX side: signals, the video drivers to try and the
// programs it starts.
#include "host/real/window.h"
#include "host/real/window_platform.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace sw::host::real {

namespace {

// An interrupt (Ctrl+C in the terminal) counts as a request to close the
// window. Terminate and hang-up mean the session is ending (a shutdown, a
// logout, the terminal closed): they become a terminate request, which
// nobody is asked about. The handlers only count; Yield and Wait deliver.
std::atomic<int> pendingCloseSignals{0};
std::atomic<int> pendingTerminateSignals{0};
static_assert(std::atomic<int>::is_always_lock_free);

struct sigaction previousInt;
struct sigaction previousTerm;
struct sigaction previousHup;

extern "C" void OnCloseSignal(int) {
    pendingCloseSignals.fetch_add(1, std::memory_order_relaxed);
}

extern "C" void OnTerminateSignal(int) {
    pendingTerminateSignals.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

void InstallSessionHandlers(SDL_Window* /*window*/) {
    struct sigaction action {};
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a wait for events may end early on a signal.
    action.sa_flags = 0;
    action.sa_handler = OnCloseSignal;
    sigaction(SIGINT, &action, &previousInt);
    action.sa_handler = OnTerminateSignal;
    sigaction(SIGTERM, &action, &previousTerm);
    sigaction(SIGHUP, &action, &previousHup);
}

void RestoreSessionHandlers(SDL_Window* /*window*/) {
    sigaction(SIGINT, &previousInt, nullptr);
    sigaction(SIGTERM, &previousTerm, nullptr);
    sigaction(SIGHUP, &previousHup, nullptr);
}

int TakeCloseSignals() {
    return pendingCloseSignals.exchange(0);
}

int TakeTerminateSignals() {
    return pendingTerminateSignals.exchange(0);
}

// Only drivers with a real display and keyboard. Without a runtime folder no
// Wayland display can be reached, and probing for one only prints a stray
// complaint.
std::string Window::ProgramFile(const std::string& name) {
    return name;
}

std::string VideoDrivers() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    bool waylandReachable = (runtime && *runtime) || (wayland && wayland[0] == '/');
    return waylandReachable ? "x11,wayland,KMSDRM" : "x11,KMSDRM";
}

bool Window::StartProgram(const std::string& path) {
    ReapChildren();
    char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
    pid_t pid = 0;
    int err = posix_spawn(&pid, path.c_str(), nullptr, nullptr, argv, environ);
    if (err != 0) {
        std::fprintf(stderr, "cannot start %s: %s\n", path.c_str(), std::strerror(err));
        return false;
    }
    children_.push_back(std::intptr_t(pid));
    return true;
}

// Collects the exit status of started programs that have ended, so none is
// left behind as a zombie. Only our own children are waited for.
void Window::ReapChildren() {
    for (size_t i = 0; i < children_.size();) {
        int status = 0;
        pid_t pid = pid_t(children_[i]);
        pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid || (r < 0 && errno == ECHILD)) {
            children_[i] = children_.back();
            children_.pop_back();
        } else {
            ++i;
        }
    }
}

}  // namespace sw::host::real
