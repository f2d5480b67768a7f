// RIFF wave reader. Every size read from the file is checked against the bytes
// actually present before it is used, so a damaged or lying header ends in a
// HostError and never in a read past the end.
#include "host/wav.h"

#include "host/files.h"
#include "host/host.h"

#include <cerrno>
#include <cstring>
#include <optional>

namespace sw::host {

namespace {

uint16_t ReadU16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

uint32_t ReadU32(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint32_t>(b[at]) | (static_cast<uint32_t>(b[at + 1]) << 8) |
           (static_cast<uint32_t>(b[at + 2]) << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

bool TagIs(const std::vector<uint8_t>& b, size_t at, const char* tag) {
    return std::memcmp(b.data() + at, tag, 4) == 0;
}

[[noreturn]] void Fail(const std::string& why) {
    throw HostError("not a usable wave file: " + why);
}

struct Span {
    size_t offset = 0;
    uint32_t size = 0;
};

}  // namespace

WaveData ParseWave(const std::vector<uint8_t>& file) {
    constexpr size_t kHeader = 12;  // "RIFF", size, "WAVE"
    constexpr size_t kChunkHeader = 8;
    if (file.size() < kHeader) Fail("file too short (" + std::to_string(file.size()) + " bytes)");
    if (!TagIs(file, 0, "RIFF") || !TagIs(file, 8, "WAVE")) Fail("no RIFF WAVE header");

    // The RIFF size counts everything after the size field. A file cut short
    // of it is truncated; bytes beyond it are not part of the wave and ignored.
    const uint64_t riffEnd = uint64_t{8} + ReadU32(file, 4);
    if (riffEnd > file.size()) {
        Fail("truncated: header announces " + std::to_string(riffEnd) + " bytes, file has " +
             std::to_string(file.size()));
    }
    const size_t end = static_cast<size_t>(riffEnd);

    std::optional<Span> fmt;
    std::optional<Span> data;
    size_t at = kHeader;
    while (at + kChunkHeader <= end) {
        const uint32_t size = ReadU32(file, at + 4);
        const size_t body = at + kChunkHeader;
        if (size > end - body) {
            Fail("chunk '" + std::string(reinterpret_cast<const char*>(file.data() + at), 4) +
                 "' of " + std::to_string(size) + " bytes runs past the end");
        }
        if (TagIs(file, at, "fmt ") && !fmt) fmt = Span{body, size};
        if (TagIs(file, at, "data") && !data) data = Span{body, size};
        // Chunks are word aligned: an odd-sized chunk is followed by a pad
        // byte, which may be missing after the last chunk.
        at = body + size + (size & 1u);
    }
    if (!fmt) Fail("no fmt chunk");
    if (!data) Fail("no data chunk");
    if (fmt->size < 16) Fail("fmt chunk too short (" + std::to_string(fmt->size) + " bytes)");

    const size_t f = fmt->offset;
    const uint16_t formatTag = ReadU16(file, f);
    const uint16_t channels = ReadU16(file, f + 2);
    const uint32_t sampleRate = ReadU32(file, f + 4);
    const uint16_t blockAlign = ReadU16(file, f + 12);
    const uint16_t bits = ReadU16(file, f + 14);

    if (formatTag != 1) Fail("format " + std::to_string(formatTag) + " is not PCM");
    if (channels != 1 && channels != 2) Fail(std::to_string(channels) + " channels (1 or 2 expected)");
    if (bits != 8 && bits != 16) Fail(std::to_string(bits) + " bits per sample (8 or 16 expected)");
    if (blockAlign == 0) Fail("block align 0");
    if (blockAlign != channels * (bits / 8)) {
        Fail("block align " + std::to_string(blockAlign) + " does not match " + std::to_string(channels) +
             " channels of " + std::to_string(bits) + " bits");
    }
    if (sampleRate < 100 || sampleRate > 200000) Fail("sample rate " + std::to_string(sampleRate) + " Hz");

    WaveData wave;
    wave.channels = channels;
    wave.sampleRate = sampleRate;
    wave.bitsPerSample = bits;
    wave.blockAlign = blockAlign;
    // A trailing partial frame cannot be played; it is dropped.
    const size_t whole = data->size - data->size % blockAlign;
    const auto first = file.begin() + static_cast<std::ptrdiff_t>(data->offset);
    wave.bytes.assign(first, first + static_cast<std::ptrdiff_t>(whole));
    return wave;
}

WaveData LoadWave(const std::string& path) {
    // Read as every other file is: a folder name with accents or in another
    // script is found on every system.
    const std::vector<uint8_t> bytes = ReadFile(path);
    try {
        return ParseWave(bytes);
    } catch (const HostError& e) {
        throw HostError(path + ": " + e.what());
    }
}

}  // namespace sw::host
