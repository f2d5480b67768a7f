#include "report.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "catalogue.hpp"
#include "wav.hpp"

namespace sg {

namespace {
double toDb(double v) { return v <= 0 ? -999.0 : 20.0 * std::log10(v); }

std::string format(const char* fmt, auto... args) {
    char buf[256];
    std::snprintf(buf, sizeof buf, fmt, args...);
    return buf;
}
}  // namespace

bool report(const std::filesystem::path& dir, std::ostream& out) {
    bool ok = true;
    std::map<Family, std::vector<std::pair<std::string, double>>> families;
    double totalSecs = 0;
    std::uintmax_t totalBytes = 0;
    out << format("%-13s %7s %7s %8s %8s  %-11s %s\n", "file", "secs", "target", "peak dB", "rms dB",
                  "family", "loop seam step / largest inner step");
    for (const SoundDef& def : catalogue()) {
        const auto path = dir / (def.name + ".wav");
        std::string error;
        const auto pcm = readWav(path, error);
        if (!pcm) {
            out << format("%-13s %s\n", (def.name + ".wav").c_str(), error.c_str());
            ok = false;
            continue;
        }
        double sum = 0, pk = 0;
        int maxStep = 0;
        for (std::size_t i = 0; i < pcm->size(); ++i) {
            const double v = (*pcm)[i] / 32768.0;
            sum += v * v;
            pk = std::max(pk, std::fabs(v));
            if (i > 0) maxStep = std::max(maxStep, std::abs((*pcm)[i] - (*pcm)[i - 1]));
        }
        const double secs = double(pcm->size()) / kRate;
        const double rmsDb = toDb(std::sqrt(sum / std::max<std::size_t>(1, pcm->size())));
        std::string seam;
        if (def.loop && !pcm->empty()) {
            const int step = std::abs(pcm->front() - pcm->back());
            seam = format("%d / %d", step, maxStep);
        }
        out << format("%-13s %7.3f %7.2f %8.2f %8.2f  %-11s %s\n", (def.name + ".wav").c_str(), secs, def.secs,
                      toDb(pk), rmsDb, familyName(def.family), seam.c_str());
        if (def.family != Family::None) families[def.family].push_back({def.name, rmsDb});
        totalSecs += secs;
        totalBytes += std::filesystem::file_size(path);
    }
    out << format("\n%zu files, %.1f s of sound, %.2f MB\n", catalogue().size(), totalSecs, totalBytes / 1e6);
    for (auto& [family, members] : families) {
        std::vector<double> levels;
        for (auto& m : members) levels.push_back(m.second);
        std::sort(levels.begin(), levels.end());
        const double median = levels.size() % 2 ? levels[levels.size() / 2]
                                                : (levels[levels.size() / 2 - 1] + levels[levels.size() / 2]) / 2;
        double worst = 0;
        for (double l : levels) worst = std::max(worst, std::fabs(l - median));
        out << format("%-11s RMS median %.2f dBFS, furthest member %.2f dB from it (%zu files)\n",
                      familyName(family), median, worst, members.size());
    }
    return ok;
}

}  // namespace sg
