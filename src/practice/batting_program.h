// The batting practice program: start-up, the practice, and the way out.
#pragma once

#include "host/host.h"

namespace sw {

// Runs the whole program on `host`; returns the process exit status.
int RunBattingProgram(host::Host& host);

}  // namespace sw
