// The window's Windows side: console events, the video driver and the
// programs it starts.
#include "host/real/window.h"
#include "host/real/window_platform.h"

#include "host/text_win.h"

#include <atomic>
#include <cstdio>

#include <SDL.h>
#include <SDL_syswm.h>

#include <windows.h>

namespace sw::host::real {

namespace {

// Ctrl+C or Ctrl+Break in the console counts as a request to close the
// window. The console closed, a log-off or a shut-down mean the session is
// ending: a terminate request, which nobody is asked about. The handlers only
// count and wake the event loop; Yield and Wait deliver.
std::atomic<int> pendingCloses{0};
std::atomic<int> pendingTerminates{0};

// Set once the window goes, which is after the program has stored what it
// must: until then a console handler holds the process.
HANDLE windowGone = nullptr;

HWND sessionWindow = nullptr;
WNDPROC sdlWindowProc = nullptr;

// Wakes a wait for events from another thread.
void WakeEventLoop() {
    SDL_Event event{};
    event.type = SDL_USEREVENT;
    SDL_PushEvent(&event);
}

BOOL WINAPI OnConsoleEvent(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
            pendingCloses.fetch_add(1, std::memory_order_relaxed);
            WakeEventLoop();
            return TRUE;
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            pendingTerminates.fetch_add(1, std::memory_order_relaxed);
            WakeEventLoop();
            // Windows ends the process as soon as this returns (and in any case
            // after five seconds for a closed console): it waits for the game
            // to have written its files and let its window go.
            if (windowGone != nullptr) WaitForSingleObject(windowGone, 10000);
            return TRUE;
        default:
            return FALSE;
    }
}

// A program with a window hears of a log-off or shut-down by these messages,
// not by the console's events. The session may end as soon as the answer to
// WM_ENDSESSION is given, and the game can only write its files once the
// event loop has returned: so it asks Windows to wait, saying why, and ends on
// its own within a moment, after which Windows goes on. A critical shut-down
// cannot be held up: the request is still passed on.
LRESULT CALLBACK SessionWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_QUERYENDSESSION:
            pendingTerminates.fetch_add(1, std::memory_order_relaxed);
            if ((lParam & ENDSESSION_CRITICAL) != 0) return TRUE;
            ShutdownBlockReasonCreate(window, L"Saving the game");
            return FALSE;
        case WM_ENDSESSION:
            if (wParam) pendingTerminates.fetch_add(1, std::memory_order_relaxed);
            return 0;
        default:
            return CallWindowProcW(sdlWindowProc, window, message, wParam, lParam);
    }
}

}  // namespace

void InstallSessionHandlers(SDL_Window* window) {
    if (windowGone == nullptr) windowGone = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (windowGone != nullptr) ResetEvent(windowGone);
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);

    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_WINDOWS) {
        std::fprintf(stderr, "the window will not hear of a log-off: %s\n", SDL_GetError());
        return;
    }
    sessionWindow = info.info.win.window;
    sdlWindowProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(sessionWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SessionWindowProc)));
}

void RestoreSessionHandlers(SDL_Window* /*window*/) {
    if (sessionWindow != nullptr && sdlWindowProc != nullptr) {
        ShutdownBlockReasonDestroy(sessionWindow);
        SetWindowLongPtrW(sessionWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(sdlWindowProc));
    }
    sessionWindow = nullptr;
    sdlWindowProc = nullptr;
    SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
    if (windowGone != nullptr) SetEvent(windowGone);
}

int TakeCloseSignals() {
    return pendingCloses.exchange(0);
}

int TakeTerminateSignals() {
    return pendingTerminates.exchange(0);
}

std::string Window::ProgramFile(const std::string& name) {
    return name + ".exe";
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
