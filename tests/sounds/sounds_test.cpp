// Checks the committed wave set against its manifest and against what the
// game needs of every file. It reads the files with its own parser, so a
// fault in the generator's writer cannot hide itself.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kDir = SOUNDS_DIR;

enum class Kind { Plain, Umpire, Contact, CrowdLoop, Commercial, Pitch };

struct Expected {
    const char* name;
    double secs;   // target length; the game's pacing allows 20% either way
    Kind kind;
};

// The set in the order the game checks it: three presence-only files first.
const std::vector<Expected>& expected() {
    using K = Kind;
    static const std::vector<Expected> list = {
        {"hitbat2", 0.40, K::Contact},  {"hitbat3", 0.40, K::Contact},   {"baseway", 1.50, K::Plain},
        {"1", 0.36, K::Umpire},         {"2", 0.36, K::Umpire},          {"3", 0.36, K::Umpire},
        {"4", 0.36, K::Umpire},         {"ball", 0.76, K::Umpire},       {"beer1", 2.94, K::Plain},
        {"beer2", 2.16, K::Plain},      {"boo", 13.70, K::Plain},        {"bud", 8.51, K::Commercial},
        {"buyacoke", 6.10, K::Commercial}, {"champion", 11.50, K::Plain}, {"charge1", 19.00, K::Plain},
        {"charge2", 8.50, K::Plain},    {"crbkgrd", 59.80, K::CrowdLoop}, {"crcheer", 10.00, K::Plain},
        {"crdrums", 2.87, K::CrowdLoop}, {"crexite", 60.00, K::CrowdLoop}, {"drpepper", 5.47, K::Commercial},
        {"fosters", 5.20, K::Commercial}, {"foulball", 0.91, K::Umpire}, {"ft", 0.43, K::Contact},
        {"glove", 0.30, K::Contact},    {"gobetter", 4.31, K::Commercial}, {"hh", 0.57, K::Contact},
        {"hitbat", 0.41, K::Contact},   {"hitcatch", 0.73, K::Contact},  {"hotdog", 2.31, K::Plain},
        {"hr", 10.00, K::Plain},        {"letsplay", 1.31, K::Umpire},   {"lh", 0.43, K::Contact},
        {"losers", 5.40, K::Plain},     {"mh", 0.50, K::Contact},        {"ouch", 0.58, K::Plain},
        {"p1", 0.77, K::Pitch},         {"p2", 1.59, K::Pitch},          {"p3", 1.59, K::Pitch},
        {"p4", 1.37, K::Pitch},         {"p5", 1.73, K::Pitch},          {"p6", 2.46, K::Pitch},
        {"p7", 3.00, K::Pitch},         {"peanuts", 3.16, K::Plain},     {"pepsigen", 3.09, K::Commercial},
        {"safe", 1.40, K::Umpire},      {"safe1", 1.76, K::Umpire},      {"safe2", 1.31, K::Umpire},
        {"safe3", 1.76, K::Umpire},     {"schlitz", 4.66, K::Commercial}, {"slide", 0.82, K::Plain},
        {"sm", 0.37, K::Plain},         {"sp", 0.92, K::Plain},          {"strike", 1.50, K::Umpire},
        {"take", 25.00, K::Plain},      {"takebase", 0.70, K::Umpire},   {"yourout", 1.30, K::Umpire},
        {"yourout1", 1.46, K::Umpire},  {"yourout2", 1.11, K::Umpire},   {"yourout3", 1.56, K::Umpire},
    };
    return list;
}

constexpr std::size_t kPresenceOnly = 3;
constexpr int kRate = 11025;
constexpr double kFull = 32768.0;

struct ManifestLine {
    std::string name;
    std::optional<std::uintmax_t> size;
};

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<ManifestLine> readManifest() {
    std::vector<ManifestLine> lines;
    std::istringstream text(readFile(kDir / "manifest.txt"));
    for (std::string line; std::getline(text, line);) {
        const auto blank = line.find(' ');
        ManifestLine m{line.substr(0, blank), std::nullopt};
        const std::string size = blank == std::string::npos ? "" : line.substr(blank + 1);
        if (size != "-") m.size = std::stoull(size);
        lines.push_back(m);
    }
    return lines;
}

std::uint32_t le32(const std::string& b, std::size_t at) {
    return std::uint32_t(std::uint8_t(b[at])) | std::uint32_t(std::uint8_t(b[at + 1])) << 8 |
           std::uint32_t(std::uint8_t(b[at + 2])) << 16 | std::uint32_t(std::uint8_t(b[at + 3])) << 24;
}
std::uint16_t le16(const std::string& b, std::size_t at) {
    return static_cast<std::uint16_t>(std::uint8_t(b[at]) | std::uint8_t(b[at + 1]) << 8);
}

struct Wave {
    std::string error;             // empty when the file is in the set's format
    std::vector<std::int16_t> pcm;
};

Wave parse(const fs::path& p) {
    const std::string b = readFile(p);
    Wave w;
    if (b.size() < 44) return {"shorter than a header", {}};
    if (b.compare(0, 4, "RIFF") || b.compare(8, 4, "WAVE") || b.compare(12, 4, "fmt ") || b.compare(36, 4, "data"))
        return {"chunks are not RIFF/WAVE/fmt/data in canonical order", {}};
    if (le32(b, 4) != b.size() - 8) return {"RIFF size does not match the file", {}};
    if (le32(b, 16) != 16) return {"format chunk is not 16 bytes", {}};
    if (le16(b, 20) != 1) return {"not PCM", {}};
    if (le16(b, 22) != 1) return {"not mono", {}};
    if (le32(b, 24) != kRate) return {"not 11025 Hz", {}};
    if (le32(b, 28) != kRate * 2 || le16(b, 32) != 2) return {"byte rate or block align wrong", {}};
    if (le16(b, 34) != 16) return {"not 16-bit", {}};
    if (le32(b, 40) != b.size() - 44) return {"data size does not match the file", {}};
    for (std::size_t i = 44; i + 1 < b.size(); i += 2) w.pcm.push_back(static_cast<std::int16_t>(le16(b, i)));
    return w;
}

double rmsDb(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to) {
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += double(s[i]) * s[i];
    const double r = std::sqrt(sum / std::max<std::size_t>(1, to - from)) / kFull;
    return r <= 0 ? -200.0 : 20 * std::log10(r);
}

double rmsDb(const std::vector<std::int16_t>& s) { return rmsDb(s, 0, s.size()); }

// How bright a stretch is: the level of its sample-to-sample differences
// against its level (rises with the weight of the high frequencies).
double brightness(const std::vector<std::int16_t>& s, std::size_t from, std::size_t to) {
    double diff = 0, level = 0;
    for (std::size_t i = from + 1; i < to; ++i) {
        const double d = double(s[i]) - s[i - 1];
        diff += d * d;
        level += double(s[i]) * s[i];
    }
    return level <= 0 ? 0 : std::sqrt(diff / level);
}

// Time of the first sample within 35 dB of the file's peak (low enough to
// catch the hiss of an s or f before the vowel).
double onsetSecs(const std::vector<std::int16_t>& s) {
    int peak = 0;
    for (std::int16_t v : s) peak = std::max(peak, std::abs(int(v)));
    for (std::size_t i = 0; i < s.size(); ++i)
        if (std::abs(int(s[i])) * 56 >= peak) return double(i) / kRate;
    return double(s.size()) / kRate;
}

// All files parsed once for the whole suite.
const std::map<std::string, Wave>& waves() {
    static const std::map<std::string, Wave> all = [] {
        std::map<std::string, Wave> m;
        for (const Expected& e : expected()) m[e.name] = parse(kDir / (std::string(e.name) + ".wav"));
        return m;
    }();
    return all;
}

const char* kindName(Kind k) {
    switch (k) {
        case Kind::Umpire: return "umpire calls";
        case Kind::Contact: return "contact sounds";
        case Kind::CrowdLoop: return "crowd loops";
        case Kind::Commercial: return "commercials";
        default: return "";
    }
}

}  // namespace

TEST(WaveSet, ManifestListsTheSetInCheckingOrder) {
    const std::string raw = readFile(kDir / "manifest.txt");
    ASSERT_FALSE(raw.empty()) << "no manifest in " << kDir;
    EXPECT_EQ(raw.find('\r'), std::string::npos) << "line ends must be plain LF";
    EXPECT_EQ(raw.back(), '\n');

    const auto lines = readManifest();
    ASSERT_EQ(lines.size(), expected().size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].name, std::string(expected()[i].name) + ".wav") << "line " << i + 1;
        EXPECT_EQ(lines[i].size.has_value(), i >= kPresenceOnly)
            << lines[i].name << ": only the first three entries are presence-only";
    }
}

TEST(WaveSet, FilesMatchTheManifestAndNothingElseIsThere) {
    std::set<std::string> listed;
    for (const ManifestLine& m : readManifest()) {
        listed.insert(m.name);
        const fs::path p = kDir / m.name;
        ASSERT_TRUE(fs::exists(p)) << m.name << " is missing";
        if (m.size) {
            EXPECT_EQ(fs::file_size(p), *m.size) << m.name << " differs from the manifest";
        }
    }
    for (const auto& entry : fs::directory_iterator(kDir)) {
        std::string ext = entry.path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
        if (ext == ".wav") {
            EXPECT_TRUE(listed.count(entry.path().filename().string())) << entry.path() << " is not in the manifest";
        }
    }
}

TEST(WaveSet, EveryFileIsCanonicalPcm16MonoAt11025) {
    for (const Expected& e : expected()) EXPECT_EQ(waves().at(e.name).error, "") << e.name;
}

TEST(WaveSet, EveryFileHasSoundOfTheRightLengthAndLevel) {
    const double ceiling = kFull * std::pow(10.0, -1.0 / 20.0);  // -1 dBFS
    for (const Expected& e : expected()) {
        const auto& s = waves().at(e.name).pcm;
        ASSERT_FALSE(s.empty()) << e.name;
        const double secs = double(s.size()) / kRate;
        EXPECT_NEAR(secs, e.secs, e.secs * 0.2) << e.name << " breaks the game's pacing";

        int peak = 0;
        double sum = 0;
        for (std::int16_t v : s) {
            peak = std::max(peak, std::abs(int(v)));
            sum += v;
        }
        EXPECT_LE(peak, ceiling) << e.name << " peaks above -1 dBFS";
        EXPECT_GT(peak, kFull * 0.1) << e.name << " is nearly silent";
        EXPECT_GT(rmsDb(s), -40.0) << e.name << " has too little sound in it";
        EXPECT_LT(std::fabs(sum / s.size()), kFull * 0.002) << e.name << " has a DC offset";
    }
}

TEST(WaveSet, OneShotsStartAndEndWithoutAClick) {
    for (const Expected& e : expected()) {
        if (e.kind == Kind::CrowdLoop) continue;
        const auto& s = waves().at(e.name).pcm;
        ASSERT_GE(s.size(), 2u);
        EXPECT_LE(std::abs(int(s.front())), 330) << e.name << " starts with a jump";
        EXPECT_LE(std::abs(int(s.back())), 330) << e.name << " ends with a jump";
    }
}

// The swing is judged on the share of the pitch sound played, so a pitch
// must sound from its first moment to its last, and grow towards the end.
TEST(WaveSet, PitchesSoundThroughoutAndGrowTowardsTheEnd) {
    for (const Expected& e : expected()) {
        if (e.kind != Kind::Pitch) continue;
        const auto& s = waves().at(e.name).pcm;
        const std::size_t ms20 = kRate / 50, tenth = s.size() / 10;
        EXPECT_GT(rmsDb(s, 0, ms20), -42.0) << e.name << " begins with silence";
        EXPECT_GT(rmsDb(s, s.size() - ms20, s.size()), -30.0) << e.name << " ends with silence";
        EXPECT_GT(rmsDb(s, s.size() - tenth, s.size()), rmsDb(s, 0, tenth) + 6.0)
            << e.name << " does not grow louder towards its end";
        EXPECT_GT(brightness(s, s.size() - tenth, s.size()), brightness(s, 0, tenth) * 1.1)
            << e.name << " does not grow brighter towards its end";
    }
}

TEST(WaveSet, LoopsAreSeamless) {
    for (const Expected& e : expected()) {
        if (e.kind != Kind::CrowdLoop) continue;
        const auto& s = waves().at(e.name).pcm;
        int inner = 0;
        for (std::size_t i = 1; i < s.size(); ++i) inner = std::max(inner, std::abs(s[i] - s[i - 1]));
        EXPECT_LE(std::abs(s.front() - s.back()), inner) << e.name << " clicks at the seam";
        // Nor may the level jump there: the ends sound alike.
        const std::size_t win = kRate / 100;
        EXPECT_NEAR(rmsDb(s, s.size() - win, s.size()), rmsDb(s, 0, win), 6.0) << e.name;
    }
    // The game starts its second and third copies of the background crowd
    // at these byte offsets of the sound data.
    EXPECT_GT(waves().at("crbkgrd").pcm.size() * 2, 400000u);
}

TEST(WaveSet, FamiliesAgreeInLoudness) {
    std::map<Kind, std::vector<std::pair<std::string, double>>> families;
    for (const Expected& e : expected())
        if (kindName(e.kind)[0] != '\0') families[e.kind].push_back({e.name, rmsDb(waves().at(e.name).pcm)});
    ASSERT_EQ(families.size(), 4u);
    for (const auto& [kind, members] : families) {
        std::vector<double> levels;
        for (const auto& m : members) levels.push_back(m.second);
        std::sort(levels.begin(), levels.end());
        const std::size_t n = levels.size();
        const double median = n % 2 ? levels[n / 2] : (levels[n / 2 - 1] + levels[n / 2]) / 2;
        for (const auto& [name, level] : members)
            EXPECT_NEAR(level, median, 3.0) << name << " against the other " << kindName(kind);
    }
}

TEST(WaveSet, BatContactGrowsLouderAndBrighterFromLightToCrushed) {
    const auto& lh = waves().at("lh").pcm;
    const auto& mh = waves().at("mh").pcm;
    const auto& hh = waves().at("hh").pcm;
    EXPECT_LT(rmsDb(lh), rmsDb(mh));
    EXPECT_LT(rmsDb(mh), rmsDb(hh));
    const std::size_t crack = kRate / 20;  // the first 50 ms, before the echo
    EXPECT_LT(brightness(lh, 0, crack), brightness(mh, 0, crack));
    EXPECT_LT(brightness(mh, 0, crack), brightness(hh, 0, crack));
}

// The game plays the count right after the call and the call right after
// the play: an umpire who clears his throat first would lag behind.
TEST(WaveSet, UmpireCallsStartAtOnce) {
    for (const Expected& e : expected()) {
        if (e.kind == Kind::Umpire) {
            EXPECT_LT(onsetSecs(waves().at(e.name).pcm), 0.05) << e.name;
        }
    }
}

// The crowd loops run under the whole game: any drop-out would be heard.
TEST(WaveSet, CrowdLoopsNeverDropOut) {
    for (const char* name : {"crbkgrd", "crexite"}) {
        const auto& s = waves().at(name).pcm;
        const std::size_t win = kRate / 10;
        const double overall = rmsDb(s);
        for (std::size_t at = 0; at + win <= s.size(); at += win)
            ASSERT_GT(rmsDb(s, at, at + win), overall - 12.0) << name << " drops out at " << double(at) / kRate << " s";
    }
}

TEST(WaveSet, TheSetStaysSmall) {
    std::uintmax_t bytes = 0;
    for (const Expected& e : expected()) bytes += fs::file_size(kDir / (std::string(e.name) + ".wav"));
    EXPECT_LT(bytes, 8u * 1000 * 1000);
}
