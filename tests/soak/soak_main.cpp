// soak: whole games played by a simulated player, series after series, with
// the game's invariants checked throughout. Prints one line of JSON.
//
//   soak --games N --seed S --player always87|realistic|random|never
//        [--folder DIR] [--replays DIR] [--keep-replays] [--verbose]
//   soak --replay FILE
#include "soak/soak.h"

#include "host/files.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
int Usage() {
    std::fprintf(stderr,
                 "usage: soak --games N --seed S --player always87|realistic|random|never [--folder DIR] "
                 "[--replays DIR] [--keep-replays] [--verbose]\n"
                 "       soak --replay FILE\n");
    return 2;
}
}  // namespace

int main(int argc, char** argv) {
    using namespace sw::soak;
    Options o;
    std::string replayFile;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool more = i + 1 < argc;
        if (a == "--games" && more) o.games = std::atoi(argv[++i]);
        else if (a == "--seed" && more) o.seed = std::strtoull(argv[++i], nullptr, 10);
        else if (a == "--player" && more) {
            auto p = ProfileNamed(argv[++i]);
            if (!p) return Usage();
            o.profile = *p;
        } else if (a == "--folder" && more) o.folder = argv[++i];
        else if (a == "--replays" && more) o.replayFolder = argv[++i];
        else if (a == "--keep-replays") o.keepReplays = true;
        else if (a == "--verbose") o.verbose = true;
        else if (a == "--replay" && more) replayFile = argv[++i];
        else return Usage();
    }
    if (!replayFile.empty()) {
        std::optional<Replay> r;
        try {
            r = ReadReplay(sw::host::ReadText(replayFile));
        } catch (const std::exception& e) {
            std::fprintf(stderr, "soak: %s\n", e.what());
        }
        if (!r) {
            std::fprintf(stderr, "soak: %s is not a replay file\n", replayFile.c_str());
            return 2;
        }
        std::vector<Transcript> transcripts;
        const auto violations = PlayReplay(*r, &transcripts);
        for (const auto& t : transcripts)
            for (const auto& line : t.lines) std::printf("%s\n", line.c_str());
        for (const auto& v : violations) std::fprintf(stderr, "violation: %s\n", v.c_str());
        std::fprintf(stderr, "replayed game %d of seed %llu: %zu program runs, %zu violations\n", r->game,
                     static_cast<unsigned long long>(r->seed), transcripts.size(), violations.size());
        return violations.empty() ? 0 : 1;
    }
    if (o.games < 1) return Usage();
    const Summary s = Soak(o);
    std::printf("%s\n", s.Json(o.seed, o.profile).c_str());
    if (!s.violations.empty()) {
        std::fprintf(stderr, "soak: %zu violations; the first in game %d of seed %llu: %s\n", s.violations.size(),
                     s.firstViolationGame, static_cast<unsigned long long>(o.seed), s.violations.front().c_str());
        if (!s.replayFile.empty()) std::fprintf(stderr, "soak: replay it with: soak --replay %s\n", s.replayFile.c_str());
        return 1;
    }
    return 0;
}
