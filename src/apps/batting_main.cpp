// Batting practice on its own.
#include "host/real/real_host.h"
#include "practice/batting_program.h"

#include <cstdio>
#include <string>

int main() {
    std::string error;
    auto host = sw::host::real::RealHost::Create("Batting practice", &error);
    if (!host) {
        std::fprintf(stderr, "batting: %s\n", error.c_str());
        return 1;
    }
    return sw::RunBattingProgram(*host);
}
