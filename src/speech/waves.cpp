#include "speech/waves.h"

#include "host/files.h"

#include <cctype>

namespace sw {

const std::vector<WaveEntry>& WaveManifest() {
    static const std::vector<WaveEntry> table = {
#include "wave_manifest.inc"
    };
    return table;
}

namespace {
std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}
}  // namespace

bool checkwaves(const std::string& folder, bool sizedOnly, const std::vector<WaveEntry>& manifest) {
    for (const WaveEntry& e : manifest) {
        if (sizedOnly && e.size < 0) continue;
        auto onDisk = host::FileNameOnDisk(folder, e.name);
        if (!onDisk || Lower(*onDisk) != e.name) return false;
        if (e.size >= 0) {
            auto size = host::FileSize(host::JoinPath(folder, *onDisk));
            if (!size || static_cast<int64_t>(*size) != e.size) return false;
        }
    }
    return true;
}

}  // namespace sw
