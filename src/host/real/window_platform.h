// What the window does each system's own way: window_posix.cpp and
// window_win.cpp.
#pragma once

#include <string>

namespace sw::host::real {

// The SDL video drivers to try, in order: only those with a real display
// and keyboard.
std::string VideoDrivers();

// Turns the system's requests to stop (an interrupt; the session ending)
// into counts that the window's event loop takes, and undoes that.
void InstallSessionHandlers();
void RestoreSessionHandlers();

// The requests counted since the last call: to close (as the window's close
// button), and to end because the session is ending.
int TakeCloseSignals();
int TakeTerminateSignals();

}  // namespace sw::host::real
