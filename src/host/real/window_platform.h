// What the window does each system's own way: window_posix.cpp and
// window_win.cpp.
#pragma once

#include <string>

struct SDL_Window;

namespace sw::host::real {

// The SDL video drivers to try, in order: only those with a real display
// and keyboard.
std::string VideoDrivers();

// Turns the system's requests to stop (an interrupt; the session ending),
// whether they come to the process or to `window`, into counts that the
// window's event loop takes, and undoes that.
void InstallSessionHandlers(SDL_Window* window);
void RestoreSessionHandlers(SDL_Window* window);

// The requests counted since the last call: to close (as the window's close
// button), and to end because the session is ending.
int TakeCloseSignals();
int TakeTerminateSignals();

}  // namespace sw::host::real
