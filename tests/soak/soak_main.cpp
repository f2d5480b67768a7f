// soak: whole games played by a simulated player, series after series, with
// the game's invariants checked throughout. Prints one line of JSON.
//
//   soak --games N --seed S --player always87|realistic|random|never
//        [--folder DIR] [--replays DIR] [--keep-replays] [--verbose]
//        [--versions FILE]   (a line per completed file write: name, hash)
//   soak --hash FILE         (that hash of one file)
//   soak --replay FILE
#include "soak/soak.h"

#include "host/files.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {
uint64_t Fnv(const std::string& bytes) {
    uint64_t h = 1469598103934665603ULL;
    for (char c : bytes) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    return h;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: soak --games N --seed S --player always87|realistic|random|never [--folder DIR] "
                 "[--replays DIR] [--keep-replays] [--verbose] [--versions FILE]\n"
                 "       soak --replay FILE\n");
    return 2;
}
}  // namespace

int main(int argc, char** argv) {
    using namespace sw::soak;
    Options o;
    std::string replayFile;
    std::string versions;
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
        else if (a == "--versions" && more) versions = argv[++i];
        else if (a == "--replay" && more) replayFile = argv[++i];
        else if (a == "--hash" && more) {
            // The hash --versions writes, of one file.
            try {
                std::printf("%016llx\n", static_cast<unsigned long long>(Fnv(sw::host::ReadText(argv[++i]))));
                return 0;
            } catch (const std::exception& e) {
                std::fprintf(stderr, "soak: %s\n", e.what());
                return 2;
            }
        }
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
    // Every version each file went through: its name and a hash of its
    // bytes, one line per completed write.
    std::FILE* versionsOut = versions.empty() ? nullptr : std::fopen(versions.c_str(), "w");
    if (versionsOut)
        sw::host::SetWriteObserver([versionsOut](const std::string& path) {
            const uint64_t h = Fnv(sw::host::ReadText(path));
            const std::string name = path.substr(path.find_last_of('/') + 1);
            std::fprintf(versionsOut, "%s %016llx\n", name.c_str(), static_cast<unsigned long long>(h));
            std::fflush(versionsOut);
        });
    const Summary s = Soak(o);
    if (versionsOut) std::fclose(versionsOut);
    std::printf("%s\n", s.Json(o.seed, o.profile).c_str());
    if (!s.violations.empty()) {
        std::fprintf(stderr, "soak: %zu violations; the first in game %d of seed %llu: %s\n", s.violations.size(),
                     s.firstViolationGame, static_cast<unsigned long long>(o.seed), s.violations.front().c_str());
        if (!s.replayFile.empty()) std::fprintf(stderr, "soak: replay it with: soak --replay %s\n", s.replayFile.c_str());
        return 1;
    }
    return 0;
}
