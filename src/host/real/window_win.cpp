// The window's Windows side: console events, the video driver and the
// programs it starts.
#include "host/real/window.h"
#include "host/real/window_platform.h"

#include "host/text_win.h"

#include <atomic>
#include <cstdio>

#include <windows.h>

namespace sw::host::real {

namespace {

// Ctrl+C or Ctrl+Break in the console counts as a request to close the
// window. The console closed, a log-off or a shut-down mean the session is
// ending: a terminate request, which nobody is asked about. The handler runs
// on a thread of its own and only counts; Yield and Wait deliver.
std::atomic<int> pendingCloses{0};
std::atomic<int> pendingTerminates{0};

BOOL WINAPI OnConsoleEvent(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
            pendingCloses.fetch_add(1, std::memory_order_relaxed);
            return TRUE;
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            pendingTerminates.fetch_add(1, std::memory_order_relaxed);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

void InstallSessionHandlers() {
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

void RestoreSessionHandlers() {
    SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
}

int TakeCloseSignals() {
    return pendingCloses.exchange(0);
}

int TakeTerminateSignals() {
    return pendingTerminates.exchange(0);
}

std::string VideoDrivers() {
    return "windows";
}

bool Window::StartProgram(const std::string& path) {
    ReapChildren();
    std::wstring program;
    try {
        program = win::Wide(path);
    } catch (const HostError& e) {
        std::fprintf(stderr, "cannot start %s: %s\n", path.c_str(), e.what());
        return false;
    }
    // The command line holds the program's name alone, quoted for the blanks
    // a folder name may have; CreateProcessW may write into it.
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        std::fprintf(stderr, "cannot start %s: %s\n", path.c_str(), win::ErrorText(GetLastError()).c_str());
        return false;
    }
    CloseHandle(process.hThread);
    children_.push_back(reinterpret_cast<std::intptr_t>(process.hProcess));
    return true;
}

// Lets go of the handles of started programs that have ended.
void Window::ReapChildren() {
    for (size_t i = 0; i < children_.size();) {
        HANDLE process = reinterpret_cast<HANDLE>(children_[i]);
        if (WaitForSingleObject(process, 0) != WAIT_TIMEOUT) {
            CloseHandle(process);
            children_[i] = children_.back();
            children_.pop_back();
        } else {
            ++i;
        }
    }
}

}  // namespace sw::host::real
