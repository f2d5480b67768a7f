// soundgen: writes the game's wave set and its manifest, or reports on them.
//
//   soundgen [--out DIR] [--only NAME[,NAME...]]   generate (default: the whole set)
//   soundgen [--out DIR] --report                  measure the files already written
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>

#include "catalogue.hpp"
#include "report.hpp"
#include "wav.hpp"

#ifndef SOUNDGEN_DEFAULT_OUT
#define SOUNDGEN_DEFAULT_OUT "sounds"
#endif

namespace fs = std::filesystem;

namespace {

int usage(const char* self) {
    std::cerr << "usage: " << self << " [--out DIR] [--only NAME[,NAME...]] [--report]\n";
    return 2;
}

// The manifest lists every file in checking order with its size in bytes,
// or "-" for the files that only have to be present.
void writeManifest(const fs::path& dir) {
    std::ostringstream text;
    for (const sg::SoundDef& def : sg::catalogue()) {
        const auto path = dir / (def.name + ".wav");
        if (!fs::exists(path)) throw std::runtime_error("missing " + path.string());
        text << def.name << ".wav ";
        if (def.sized) text << fs::file_size(path);
        else text << '-';
        text << '\n';
    }
    std::ofstream out(dir / "manifest.txt", std::ios::binary | std::ios::trunc);
    out << text.str();
    if (!out) throw std::runtime_error("cannot write the manifest");
}

}  // namespace

int main(int argc, char** argv) {
    fs::path outDir = SOUNDGEN_DEFAULT_OUT;
    bool doReport = false;
    std::set<std::string> only;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--out" && i + 1 < argc) {
            outDir = argv[++i];
        } else if (arg == "--report") {
            doReport = true;
        } else if (arg == "--only" && i + 1 < argc) {
            std::stringstream names(argv[++i]);
            for (std::string n; std::getline(names, n, ',');) only.insert(n);
        } else {
            return usage(argv[0]);
        }
    }

    try {
        if (doReport) return sg::report(outDir, std::cout) ? 0 : 1;

        fs::create_directories(outDir);
        const auto started = std::chrono::steady_clock::now();
        for (const sg::SoundDef& def : sg::catalogue()) {
            if (!only.empty() && !only.count(def.name)) continue;
            sg::Rng rng(sg::seedOf(def.name));
            const sg::Signal s = def.make(rng, def.secs);
            sg::writeWav(outDir / (def.name + ".wav"), s);
            std::cout << def.name << ".wav  " << sg::wavBytes(s.size()) << " bytes\n" << std::flush;
        }
        // A partial run only refreshes the manifest when the whole set is there.
        bool complete = true;
        for (const sg::SoundDef& def : sg::catalogue()) complete = complete && fs::exists(outDir / (def.name + ".wav"));
        if (complete) writeManifest(outDir);
        else std::cout << "the set in " << outDir.string() << " is incomplete: manifest not written\n";
        const double took =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        std::cout << "wrote " << outDir.string() << " in " << took << " s\n";
    } catch (const std::exception& e) {
        std::cerr << "soundgen: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
