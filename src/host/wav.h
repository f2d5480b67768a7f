// Reading RIFF wave files: PCM, 8 or 16 bits, mono or stereo.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sw::host {

struct WaveData {
    uint16_t channels = 1;
    uint32_t sampleRate = 11025;
    uint16_t bitsPerSample = 16;
    uint16_t blockAlign = 2;       // bytes per sample frame
    std::vector<uint8_t> bytes;    // the data chunk, exactly as stored
};

// Parses a whole file's bytes. Throws HostError with a clear message for a
// truncated file, a header that is not RIFF/WAVE PCM 8/16-bit mono/stereo, or
// chunk sizes that point past the end of the file. Never reads out of bounds.
WaveData ParseWave(const std::vector<uint8_t>& file);

// Reads and parses a file; throws HostError when it cannot be read.
WaveData LoadWave(const std::string& path);

}  // namespace sw::host
