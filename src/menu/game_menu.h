// The game menu: the maker's games installed beside it, spoken one by one;
// Enter starts the chosen one.
#pragma once

#include "host/host.h"

namespace sw {

// Runs the whole menu program on `host`; returns the process exit status.
int RunGameMenu(host::Host& host);

}  // namespace sw
