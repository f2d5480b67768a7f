#include "host/files.h"
#include "host/host.h"
#include "host/wav.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace sw::host {
namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(Bytes& b, uint32_t v) {
    Put16(b, v & 0xffff);
    Put16(b, v >> 16);
}

void PutTag(Bytes& b, const char* tag) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(tag[i]));
}

struct Fmt {
    uint16_t tag = 1, channels = 1;
    uint32_t rate = 11025;
    uint16_t block = 2, bits = 16;
};

Bytes FmtChunk(const Fmt& f) {
    Bytes b;
    PutTag(b, "fmt ");
    Put32(b, 16);
    Put16(b, f.tag);
    Put16(b, f.channels);
    Put32(b, f.rate);
    Put32(b, f.rate * f.block);
    Put16(b, f.block);
    Put16(b, f.bits);
    return b;
}

// A chunk with its pad byte when the size is odd.
Bytes Chunk(const char* tag, const Bytes& body, bool pad = true) {
    Bytes b;
    PutTag(b, tag);
    Put32(b, static_cast<uint32_t>(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    if (pad && body.size() % 2 == 1) b.push_back(0);
    return b;
}

Bytes Riff(const std::vector<Bytes>& chunks) {
    Bytes body;
    PutTag(body, "WAVE");
    for (const auto& c : chunks) body.insert(body.end(), c.begin(), c.end());
    Bytes b;
    PutTag(b, "RIFF");
    Put32(b, static_cast<uint32_t>(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    return b;
}

const Bytes kSamples = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06};

TEST(Wave, ReadsCanonicalMono16) {
    const WaveData w = ParseWave(Riff({FmtChunk({}), Chunk("data", kSamples)}));
    EXPECT_EQ(w.channels, 1);
    EXPECT_EQ(w.sampleRate, 11025u);
    EXPECT_EQ(w.bitsPerSample, 16);
    EXPECT_EQ(w.blockAlign, 2);
    EXPECT_EQ(w.bytes, kSamples);
}

TEST(Wave, ReadsStereo8AndStereo16) {
    const WaveData a = ParseWave(Riff({FmtChunk({1, 2, 22050, 2, 8}), Chunk("data", kSamples)}));
    EXPECT_EQ(a.channels, 2);
    EXPECT_EQ(a.bitsPerSample, 8);
    EXPECT_EQ(a.bytes, kSamples);
    const Bytes eight(8, 7);
    const WaveData b = ParseWave(Riff({FmtChunk({1, 2, 44100, 4, 16}), Chunk("data", eight)}));
    EXPECT_EQ(b.blockAlign, 4);
    EXPECT_EQ(b.bytes.size(), 8u);
}

TEST(Wave, FindsChunksInAnyOrderAndSkipsUnknownOnesWithPadBytes) {
    const Bytes odd = {9, 9, 9};  // odd size: followed by a pad byte
    const WaveData w = ParseWave(Riff({Chunk("LIST", odd), Chunk("data", kSamples), Chunk("junk", odd), FmtChunk({})}));
    EXPECT_EQ(w.bytes, kSamples);
    EXPECT_EQ(w.sampleRate, 11025u);
}

TEST(Wave, OddDataChunkAtTheEndWithoutItsPadByte) {
    const Bytes three = {0x80, 0x81, 0x82};
    const WaveData w = ParseWave(Riff({FmtChunk({1, 1, 8000, 1, 8}), Chunk("data", three, false)}));
    EXPECT_EQ(w.bytes, three);
}

TEST(Wave, IgnoresBytesBeyondTheRiffSize) {
    Bytes file = Riff({FmtChunk({}), Chunk("data", kSamples)});
    file.insert(file.end(), {0xde, 0xad, 0xbe, 0xef, 0x01});
    EXPECT_EQ(ParseWave(file).bytes, kSamples);
}

TEST(Wave, DropsATrailingPartialFrame) {
    const Bytes seven = {1, 2, 3, 4, 5, 6, 7};
    const WaveData w = ParseWave(Riff({FmtChunk({1, 2, 11025, 4, 16}), Chunk("data", seven)}));
    EXPECT_EQ(w.bytes, Bytes({1, 2, 3, 4}));
}

void ExpectRejected(const Bytes& file, const std::string& words) {
    try {
        ParseWave(file);
        ADD_FAILURE() << "accepted a file that should fail with '" << words << "'";
    } catch (const HostError& e) {
        EXPECT_NE(std::string(e.what()).find(words), std::string::npos) << e.what();
    }
}

TEST(Wave, RejectsWhatCannotBePlayedWithAClearMessage) {
    const Bytes data = Chunk("data", kSamples);
    ExpectRejected(Riff({FmtChunk({3, 1, 11025, 4, 32}), data}), "not PCM");
    ExpectRejected(Riff({FmtChunk({1, 1, 11025, 3, 24}), data}), "24 bits");
    ExpectRejected(Riff({FmtChunk({1, 3, 11025, 6, 16}), data}), "3 channels");
    ExpectRejected(Riff({FmtChunk({1, 0, 11025, 0, 16}), data}), "0 channels");
    ExpectRejected(Riff({FmtChunk({1, 1, 11025, 0, 16}), data}), "block align 0");
    ExpectRejected(Riff({FmtChunk({1, 2, 11025, 2, 16}), data}), "does not match");
    ExpectRejected(Riff({FmtChunk({1, 1, 0, 2, 16}), data}), "sample rate 0");
    ExpectRejected(Riff({data}), "no fmt chunk");
    ExpectRejected(Riff({FmtChunk({})}), "no data chunk");
    ExpectRejected(Riff({Chunk("fmt ", Bytes(12, 1)), data}), "fmt chunk too short");
    ExpectRejected(Bytes{'R', 'I', 'F', 'X', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}, "no RIFF WAVE");
    ExpectRejected(Bytes{'R', 'I', 'F', 'F'}, "too short");
}

TEST(Wave, RejectsSizesThatPointPastTheEnd) {
    // A data chunk that claims more than the file holds.
    Bytes file = Riff({FmtChunk({}), Chunk("data", kSamples)});
    file[file.size() - kSamples.size() - 4] = 0xff;
    ExpectRejected(file, "runs past the end");
    // A chunk size near 4 GiB must not wrap around the bounds check.
    Bytes huge = Riff({FmtChunk({}), Chunk("data", kSamples)});
    for (int i = 1; i <= 4; ++i) huge[huge.size() - kSamples.size() - static_cast<size_t>(i)] = 0xff;
    ExpectRejected(huge, "runs past the end");
    // A RIFF size larger than the file: truncated.
    Bytes riff = Riff({FmtChunk({}), Chunk("data", kSamples)});
    riff[4] = static_cast<uint8_t>(riff[4] + 10);
    ExpectRejected(riff, "truncated");
}

TEST(Wave, EveryTruncationOfAValidFileIsAnErrorNeverACrash) {
    const Bytes odd = {1, 2, 3};
    const Bytes file = Riff({Chunk("LIST", odd), FmtChunk({1, 2, 22050, 4, 16}), Chunk("data", Bytes(40, 0x11))});
    ASSERT_NO_THROW(ParseWave(file));
    for (size_t n = 0; n < file.size(); ++n) {
        const Bytes cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_THROW(ParseWave(cut), HostError) << "length " << n;
    }
}

TEST(Wave, CorruptedBytesAreAnErrorOrAConsistentWave) {
    const Bytes file = Riff({Chunk("LIST", {1, 2, 3}), FmtChunk({1, 2, 22050, 4, 16}), Chunk("data", Bytes(64, 0x22))});
    std::mt19937 rng(12345);
    for (int round = 0; round < 3000; ++round) {
        Bytes bad = file;
        const int flips = 1 + static_cast<int>(rng() % 4);
        for (int i = 0; i < flips; ++i) bad[rng() % bad.size()] = static_cast<uint8_t>(rng());
        try {
            const WaveData w = ParseWave(bad);
            ASSERT_EQ(w.blockAlign, w.channels * w.bitsPerSample / 8);
            ASSERT_EQ(w.bytes.size() % w.blockAlign, 0u);
            ASSERT_LE(w.bytes.size(), bad.size());
        } catch (const HostError&) {
        }
    }
}

// The game may be unpacked into a folder whose name is neither ASCII nor in
// Windows' ANSI code page.
TEST(Wave, LoadWaveReadsAFileAndNamesItInErrors) {
    const std::string folder = ::testing::TempDir() + "wav_test_Игры_Björk";
    const std::string path = folder + "/sound.wav";
    const Bytes file = Riff({FmtChunk({}), Chunk("data", kSamples)});
    std::filesystem::create_directories(PathFromUtf8(folder));
    WriteFileAtomic(path, std::string(file.begin(), file.end()));
    EXPECT_EQ(LoadWave(path).bytes, kSamples);
    std::filesystem::remove_all(PathFromUtf8(folder));
    try {
        LoadWave(path);
        ADD_FAILURE() << "a missing file loaded";
    } catch (const HostError& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos);
    }
}

}  // namespace
}  // namespace sw::host
