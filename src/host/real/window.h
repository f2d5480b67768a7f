// The program's one window: it shows nothing, holds the keyboard focus and
// turns key presses and close requests into events for the game.
#pragma once

#include "host/host.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct SDL_Window;
union SDL_Event;

namespace sw::host::real {

// Auto-repeated key-downs of a held key are delivered like fresh presses.
inline constexpr bool kDeliverKeyRepeats = true;

// How long Yield sleeps at most when no event arrives, in milliseconds. A key
// press or a click on the window's close button wakes it at once, and key-downs
// carry their own time stamps, so the tick only sets how often a polling loop
// looks at the clock, the sounds and the speech (the pitch follows its sound
// at this rate). Each wake-up costs 15 to 40 microseconds in SDL and the
// kernel, so a loop at a 1 ms tick keeps about 1.3% of a core busy: the long
// waits for a key go through Wait instead, which sleeps until the next event.
inline constexpr int kYieldTickMs = 1;

class Window : public Platform {
public:
    // Opens the window, raised and holding the input focus. Returns null and
    // sets `error` to one line for the player when no window can be opened
    // (typically: no display).
    static std::unique_ptr<Window> Open(const std::string& title, const Clock& clock,
                                        std::string* error);
    ~Window() override;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    void SetEventSink(EventSink* sink) override;
    void Yield() override;
    void Wait(double maxSeconds) override;
    void MessageBox(const std::string& text) override;
    bool StartProgram(const std::string& path) override;
    std::string ProgramFile(const std::string& name) override;

private:
    Window(SDL_Window* window, std::string title, const Clock& clock);
    void Handle(const SDL_Event& event);
    void Paint();
    void ReapChildren();

    SDL_Window* window_;
    std::string title_;
    const Clock& clock_;
    EventSink* sink_ = nullptr;
    // Started programs not yet reaped: process ids, or process handles on Windows.
    std::vector<std::intptr_t> children_;
};

}  // namespace sw::host::real
