#include "host/real/window.h"

#include "host/real/keymap.h"
#include "host/real/window_platform.h"

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace sw::host::real {

namespace {

// A message as one line for standard error: line breaks become blanks.
std::string OneLine(const std::string& text) {
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            line += ' ';
        } else {
            line += c;
        }
    }
    return line;
}

}  // namespace

std::unique_ptr<Window> Window::Open(const std::string& title, const Clock& clock,
                                     std::string* error) {
    // Signals are ours to handle, and closing the window must not also post a
    // quit event: one close is one request.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // The window is only ever painted black: no graphics library is needed
    // for that, and loading one costs tens of megabytes.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // Only drivers with a real display and keyboard; SDL would otherwise fall
    // back to an invisible window that never receives a key. An explicit
    // SDL_VIDEODRIVER in the environment still takes precedence.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, VideoDrivers().c_str());

    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        if (error) {
            *error = title + " cannot open its window: no display was found (" + SDL_GetError() +
                     "). Start it in a desktop session; it needs a window to hear the keyboard.";
        }
        return nullptr;
    }
    SDL_Window* window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED,
                                          SDL_WINDOWPOS_CENTERED, 320, 200, SDL_WINDOW_SHOWN);
    if (!window) {
        if (error) *error = title + " cannot open its window: " + SDL_GetError() + ".";
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    // Keys are read as keys; no text input or input method is wanted.
    SDL_StopTextInput();
    SDL_RaiseWindow(window);
    SDL_SetWindowInputFocus(window);
    InstallSessionHandlers(window);
    return std::unique_ptr<Window>(new Window(window, title, clock));
}

Window::Window(SDL_Window* window, std::string title, const Clock& clock)
    : window_(window), title_(std::move(title)), clock_(clock) {
    Paint();
}

Window::~Window() {
    RestoreSessionHandlers(window_);
    SDL_DestroyWindow(window_);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void Window::SetEventSink(EventSink* sink) {
    sink_ = sink;
}

void Window::Yield() { Wait(kYieldTickMs / 1000.0); }

void Window::Wait(double maxSeconds) {
    ReapChildren();
    SDL_Event event;
    const int ms = std::clamp(static_cast<int>(maxSeconds * 1000.0 + 0.5), 1, 1000);
    if (SDL_WaitEventTimeout(&event, ms)) {
        Handle(event);
        while (SDL_PollEvent(&event)) Handle(event);
    }
    // Signals wait for a sink to take them.
    if (!sink_) return;
    const int closes = TakeCloseSignals();
    // However many arrived, the session ends once. It comes first: a close
    // after it would only ask the player what to do.
    if (TakeTerminateSignals() > 0) sink_->TerminateRequest();
    for (int n = closes; n > 0; --n) sink_->CloseRequest();
}

void Window::Handle(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN: {
            if (event.key.repeat && !kDeliverKeyRepeats) return;
            int code = VirtualKey(event.key.keysym.scancode, event.key.keysym.sym);
            if (code == 0 || !sink_) return;
            // The event's stamp is SDL's millisecond tick at the moment it was
            // received; count back from now by its age. Never in the future.
            double now = clock_.now();
            int32_t ageMs = int32_t(SDL_GetTicks() - event.key.timestamp);
            double time = ageMs > 0 ? now - ageMs / 1000.0 : now;
            sink_->KeyDown(code, time);
            return;
        }
        case SDL_QUIT:
            if (sink_) sink_->CloseRequest();
            return;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
                if (sink_) sink_->CloseRequest();
            } else if (event.window.event == SDL_WINDOWEVENT_EXPOSED) {
                Paint();
            }
            return;
        default:
            return;
    }
}

// The window shows nothing: a plain black surface.
void Window::Paint() {
    if (SDL_Surface* surface = SDL_GetWindowSurface(window_)) {
        SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
        SDL_UpdateWindowSurface(window_);
    }
}

void Window::MessageBox(const std::string& text) {
    std::fprintf(stderr, "%s\n", OneLine(text).c_str());
    std::fflush(stderr);
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
            shown += '\n';
        } else {
            shown += text[i];
        }
    }
    if (SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, title_.c_str(), shown.c_str(),
                                 window_) != 0) {
        std::fprintf(stderr, "(the message box could not be shown: %s)\n", SDL_GetError());
    }
}

}  // namespace sw::host::real
