// The start-up check of the wave set: every file present, by name and size.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sw {

struct WaveEntry {
    const char* name;  // lower case, with ".wav"
    int64_t size;      // bytes, or -1 when only presence is checked
};

// The wave set's manifest, in checking order (made from sounds/manifest.txt).
const std::vector<WaveEntry>& WaveManifest();

// True when every entry is present in `folder` (name compared ignoring case)
// with its exact size. The first failing entry ends the check. With
// `sizedOnly`, the presence-only entries are skipped.
bool checkwaves(const std::string& folder, bool sizedOnly = false,
                const std::vector<WaveEntry>& manifest = WaveManifest());

}  // namespace sw
