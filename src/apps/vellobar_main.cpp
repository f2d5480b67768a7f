// The game menu.
#include "host/real/real_host.h"
#include "menu/game_menu.h"

#include <cstdio>
#include <string>

int main() {
    std::string error;
    auto host = sw::host::real::RealHost::Create("Game menu", &error);
    if (!host) {
        std::fprintf(stderr, "vellobar: %s\n", error.c_str());
        return 1;
    }
    return sw::RunGameMenu(*host);
}
