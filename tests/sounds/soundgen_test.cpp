// Tests of the generator's own machinery: what the finished set cannot show
// (a resampler that aliases, a seam that only works by luck, a writer and
// reader that agree on a wrong format, output that changes between runs).
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <vector>

#include "catalogue.hpp"
#include "dsp.hpp"
#include "speech.hpp"
#include "wav.hpp"

namespace fs = std::filesystem;
using namespace sg;

namespace {

std::vector<float> sine22050(double hz, std::size_t n) {
    std::vector<float> s(n);
    for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<float>(0.5 * std::sin(2 * kPi * hz * i / 22050.0));
    return s;
}

double middleRms(const Signal& s) {
    // Skip the filter's run-in and run-out.
    const std::size_t edge = s.size() / 8;
    return rms(Signal(s.begin() + static_cast<std::ptrdiff_t>(edge), s.end() - static_cast<std::ptrdiff_t>(edge)));
}

int largestStep(const Signal& s) {
    double m = 0;
    for (std::size_t i = 1; i < s.size(); ++i) m = std::max(m, double(std::fabs(s[i] - s[i - 1])));
    return static_cast<int>(m * 32767);
}

}  // namespace

TEST(Rng, SameSeedSameStreamAndForksStandApart) {
    Rng a(42), b(42);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(a.next(), b.next());

    // A child's stream must not depend on how much the parent has drawn,
    // or adding one voice to a scene would change every other voice.
    Rng parent(7);
    Rng early = parent.fork(3);
    for (int i = 0; i < 10; ++i) parent.next();
    Rng late = parent.fork(3);
    EXPECT_EQ(early.next(), late.next());
    EXPECT_NE(Rng(7).fork(3).next(), Rng(7).fork(4).next());

    Rng r(1);
    for (int i = 0; i < 1000; ++i) {
        const int v = r.integer(-3, 3);
        ASSERT_GE(v, -3);
        ASSERT_LE(v, 3);
        const double u = r.uniform();
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
    }
}

TEST(Resampling, HalvingTheRateKeepsTheVoiceBandAndStopsAliases) {
    const std::size_t n = 22050;
    EXPECT_NEAR(gainToDb(middleRms(decimateByTwo(sine22050(1000, n))) / (0.5 / std::sqrt(2.0))), 0.0, 0.2);
    EXPECT_NEAR(gainToDb(middleRms(decimateByTwo(sine22050(4000, n))) / (0.5 / std::sqrt(2.0))), 0.0, 0.5);
    // 7 kHz would fold down to 4025 Hz; 6 kHz to 5025 Hz.
    EXPECT_LT(gainToDb(middleRms(decimateByTwo(sine22050(7000, n)))), -70.0);
    EXPECT_LT(gainToDb(middleRms(decimateByTwo(sine22050(6000, n)))), -60.0);
    EXPECT_EQ(decimateByTwo(sine22050(1000, n)).size(), n / 2);
}

TEST(Loops, CrossFadedSeamIsNoLargerThanAnyStepInside) {
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        Rng rng(seed);
        Signal noise = whiteNoise(rng, samples(3.0));
        apply(noise, Biquad::lowpass(2000));
        const std::size_t len = samples(2.0);
        const Signal loop = makeLoop(noise, len, samples(0.5));
        ASSERT_EQ(loop.size(), len);
        const int seam = static_cast<int>(std::fabs(loop.front() - loop.back()) * 32767);
        EXPECT_LE(seam, largestStep(loop)) << "seed " << seed;
        EXPECT_LT(std::fabs(loop.front()), 0.05) << "the loop should start near a zero crossing";
    }
    // A material with a level change at the seam point: the fade hides it.
    Signal step(samples(3.0), 0.0f);
    for (std::size_t i = 0; i < step.size(); ++i) step[i] = static_cast<float>((i < samples(2.0) ? 0.1 : 0.6) * std::sin(i * 0.3));
    const Signal loop = makeLoop(step, samples(2.0), samples(0.5));
    EXPECT_LE(std::fabs(loop.front() - loop.back()) * 32767, largestStep(loop));
    EXPECT_THROW(makeLoop(step, samples(2.8), samples(0.5)), std::runtime_error) << "no material for the fade";
}

TEST(Loops, TakePeriodReturnsOneSettledPeriod) {
    Signal s;
    for (int i = 0; i < 40; ++i) s.push_back(static_cast<float>(i % 10));
    const Signal p = takePeriod(s, 10, 2);
    ASSERT_EQ(p.size(), 10u);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(p[static_cast<std::size_t>(i)], float(i));
    EXPECT_THROW(takePeriod(s, 10, 4), std::runtime_error);
}

TEST(Mastering, HitsTheLoudnessUnderTheCeilingWithQuietEnds) {
    Rng rng(3);
    Signal s = whiteNoise(rng, samples(1.0));
    for (auto& v : s) v += 0.3f;                      // offset to be removed
    s[samples(0.5)] = 4.0f;                           // one wild peak
    Master m;
    m.useRms = true;
    m.rmsDb = -20;
    m.peakDb = -1.5;
    m.fadeOutSecs = 0.05;
    master(s, m);
    EXPECT_LE(peak(s), dbToGain(-1.5) + 1e-6);
    EXPECT_NEAR(gainToDb(rms(s)), -20.0, 0.5);
    EXPECT_NEAR(mean(s), 0.0, 1e-4);
    EXPECT_EQ(s.front(), 0.0f);
    EXPECT_NEAR(s.back(), 0.0f, 1e-6);

    Signal quiet(samples(0.2));
    for (std::size_t i = 0; i < quiet.size(); ++i) quiet[i] = static_cast<float>(0.01 * std::sin(i * 0.2));
    Master byPeak;
    byPeak.highpassHz = 0;
    byPeak.fadeInSecs = byPeak.fadeOutSecs = 0;
    master(quiet, byPeak);
    EXPECT_NEAR(gainToDb(peak(quiet)), -1.5, 0.01);
}

TEST(WavFiles, WriterAndReaderAgreeOnTheCanonicalFormat) {
    const fs::path p = fs::temp_directory_path() / "soundgen_roundtrip.wav";
    Signal s = {0.0f, 0.5f, -0.5f, 1.0f, -1.0f, 2.0f, -2.0f};
    writeWav(p, s);
    EXPECT_EQ(fs::file_size(p), wavBytes(s.size()));
    EXPECT_EQ(fs::file_size(p), 44u + 2 * s.size());
    std::string error;
    const auto pcm = readWav(p, error);
    ASSERT_TRUE(pcm.has_value()) << error;
    const std::vector<std::int16_t> want = {0, 16384, -16384, 32767, -32767, 32767, -32767};
    EXPECT_EQ(*pcm, want);

    // A file at another rate is refused.
    std::fstream f(p, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(24);
    const unsigned char rate22050[4] = {0x22, 0x56, 0, 0};
    f.write(reinterpret_cast<const char*>(rate22050), 4);
    f.close();
    EXPECT_FALSE(readWav(p, error).has_value());
    fs::remove(p);
}

TEST(Speech, LinesFitTheTimeTheyAreGiven) {
    Voice v;
    v.name = "en-us+m3";
    const Signal line = speakWithin("Take your base", v, 0.6);
    EXPECT_GT(line.size(), samples(0.2));
    EXPECT_LE(line.size(), samples(0.6));
    EXPECT_GT(peak(line), 0.05);
}

TEST(Catalogue, SixtyDistinctSoundsPresenceOnlyFirst) {
    const auto& c = catalogue();
    ASSERT_EQ(c.size(), 60u);
    std::set<std::string> names;
    for (std::size_t i = 0; i < c.size(); ++i) {
        EXPECT_TRUE(names.insert(c[i].name).second) << c[i].name;
        EXPECT_EQ(c[i].sized, i >= 3) << c[i].name;
    }
}

// The same seed must give the same bytes, speech included.
TEST(Catalogue, RecipesAreDeterministic) {
    for (const char* name : {"glove", "1", "p1", "crdrums"}) {
        const auto& c = catalogue();
        const auto it = std::find_if(c.begin(), c.end(), [&](const SoundDef& d) { return d.name == name; });
        ASSERT_NE(it, c.end());
        Rng a(seedOf(it->name)), b(seedOf(it->name));
        const Signal first = it->make(a, it->secs), second = it->make(b, it->secs);
        EXPECT_EQ(first, second) << name;
        EXPECT_EQ(first.size(), samples(it->secs)) << name;
    }
}
