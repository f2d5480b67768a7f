// The game. Until the game's own start-up and inning loop are in place, the
// program offers what is built: the wave check, the voice, the crowd and
// batting practice.
#include "host/real/real_host.h"
#include "practice/batting_program.h"

#include <cstdio>
#include <string>

int main() {
    std::string error;
    auto host = sw::host::real::RealHost::Create("Sluggerwood", &error);
    if (!host) {
        std::fprintf(stderr, "baseball: %s\n", error.c_str());
        return 1;
    }
    return sw::RunBattingProgram(*host);
}
