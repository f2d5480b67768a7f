#include "wav.hpp"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace sg {

namespace {
constexpr std::uint32_t kHeaderBytes = 44;

void put16(std::vector<unsigned char>& b, std::uint16_t v) {
    b.push_back(static_cast<unsigned char>(v & 0xFF));
    b.push_back(static_cast<unsigned char>(v >> 8));
}
void put32(std::vector<unsigned char>& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<unsigned char>((v >> (8 * i)) & 0xFF));
}
void putTag(std::vector<unsigned char>& b, const char* tag) { b.insert(b.end(), tag, tag + 4); }

std::uint32_t get32(const std::vector<unsigned char>& b, std::size_t at) {
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}
std::uint16_t get16(const std::vector<unsigned char>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
bool tagAt(const std::vector<unsigned char>& b, std::size_t at, const char* tag) {
    return std::equal(tag, tag + 4, b.begin() + static_cast<std::ptrdiff_t>(at));
}
}  // namespace

std::uintmax_t wavBytes(std::size_t sampleCount) { return kHeaderBytes + 2 * sampleCount; }

void writeWav(const std::filesystem::path& path, const Signal& signal) {
    const auto dataBytes = static_cast<std::uint32_t>(signal.size() * 2);
    std::vector<unsigned char> b;
    b.reserve(kHeaderBytes + dataBytes);
    putTag(b, "RIFF");
    put32(b, 36 + dataBytes);
    putTag(b, "WAVE");
    putTag(b, "fmt ");
    put32(b, 16);          // size of the format chunk
    put16(b, 1);           // PCM
    put16(b, 1);           // mono
    put32(b, kRate);
    put32(b, kRate * 2);   // bytes per second
    put16(b, 2);           // bytes per frame
    put16(b, 16);          // bits per sample
    putTag(b, "data");
    put32(b, dataBytes);
    for (float v : signal) {
        const long q = std::lround(std::clamp(double(v), -1.0, 1.0) * 32767.0);
        put16(b, static_cast<std::uint16_t>(static_cast<std::int16_t>(q)));
    }
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::optional<std::vector<std::int16_t>> readWav(const std::filesystem::path& path,
                                                  std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot open";
        return std::nullopt;
    }
    const std::vector<unsigned char> b((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
    if (b.size() < kHeaderBytes || !tagAt(b, 0, "RIFF") || !tagAt(b, 8, "WAVE") ||
        !tagAt(b, 12, "fmt ") || !tagAt(b, 36, "data")) {
        error = "not a canonical RIFF WAVE header";
        return std::nullopt;
    }
    if (get32(b, 4) != b.size() - 8 || get32(b, 40) != b.size() - kHeaderBytes) {
        error = "chunk sizes do not match the file size";
        return std::nullopt;
    }
    if (get32(b, 16) != 16 || get16(b, 20) != 1 || get16(b, 22) != 1 || get32(b, 24) != kRate ||
        get32(b, 28) != kRate * 2 || get16(b, 32) != 2 || get16(b, 34) != 16) {
        error = "not PCM 16-bit mono 11025 Hz";
        return std::nullopt;
    }
    std::vector<std::int16_t> pcm((b.size() - kHeaderBytes) / 2);
    for (std::size_t i = 0; i < pcm.size(); ++i)
        pcm[i] = static_cast<std::int16_t>(get16(b, kHeaderBytes + 2 * i));
    return pcm;
}

}  // namespace sg
