// The game.
#include "game/game.h"
#include "host/real/real_host.h"

#include <cstdio>
#include <string>

int main() {
    std::string error;
    auto host = sw::host::real::RealHost::Create(" Sluggerwood  By Pellwick ", &error);
    if (!host) {
        std::fprintf(stderr, "baseball: %s\n", error.c_str());
        return 1;
    }
    return sw::RunGame(*host);
}
