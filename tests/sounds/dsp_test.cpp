// Tests of the signal blocks the recipes are built from: that filters,
// reverb, dynamics, noise and instruments do what their names promise, so a
// recipe that uses them gets the sound it asks for.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "crowd.hpp"
#include "dsp.hpp"
#include "music.hpp"
#include "speech.hpp"

using namespace sg;

namespace {

Signal sine(double hz, double secs, double amp = 0.5) {
    Signal s(samples(secs));
    for (std::size_t i = 0; i < s.size(); ++i) s[i] = static_cast<float>(amp * std::sin(2 * kPi * hz * i / kRate));
    return s;
}

// Level of the later half (after the filter has settled), in dB.
double settledDb(const Signal& s) {
    return gainToDb(rms(Signal(s.begin() + static_cast<std::ptrdiff_t>(s.size() / 2), s.end())));
}

double responseDb(Biquad f, double hz) {
    Signal s = sine(hz, 0.5);
    const double before = settledDb(s);
    apply(s, f);
    return settledDb(s) - before;
}

double rmsDbBetween(const Signal& s, double from, double to) {
    const std::size_t a = std::min(s.size(), samples(from)), b = std::min(s.size(), samples(to));
    return gainToDb(rms(Signal(s.begin() + static_cast<std::ptrdiff_t>(a), s.begin() + static_cast<std::ptrdiff_t>(b))));
}

// Fundamental by autocorrelation, searched between lo and hi Hz.
double pitchOf(const Signal& s, double lo, double hi) {
    const auto minLag = static_cast<std::size_t>(kRate / hi), maxLag = static_cast<std::size_t>(kRate / lo);
    double best = -1;
    std::size_t bestLag = minLag;
    for (std::size_t lag = minLag; lag <= maxLag; ++lag) {
        double sum = 0;
        for (std::size_t i = 0; i + lag < s.size(); ++i) sum += double(s[i]) * s[i + lag];
        if (sum > best) {
            best = sum;
            bestLag = lag;
        }
    }
    return double(kRate) / bestLag;
}

Signal slice(const Signal& s, double from, double to) {
    return Signal(s.begin() + static_cast<std::ptrdiff_t>(samples(from)), s.begin() + static_cast<std::ptrdiff_t>(samples(to)));
}

}  // namespace

TEST(Filters, BiquadsShapeTheSpectrumAsNamed) {
    EXPECT_NEAR(responseDb(Biquad::lowpass(1000), 100), 0.0, 0.3);
    EXPECT_LT(responseDb(Biquad::lowpass(1000), 4000), -20.0);
    EXPECT_NEAR(responseDb(Biquad::highpass(1000), 4000), 0.0, 0.5);
    EXPECT_LT(responseDb(Biquad::highpass(1000), 250), -20.0);
    EXPECT_NEAR(responseDb(Biquad::bandpass(1500, 3), 1500), 0.0, 0.3);
    EXPECT_LT(responseDb(Biquad::bandpass(1500, 3), 300), -12.0);
    EXPECT_NEAR(responseDb(Biquad::peaking(2000, 1, 6), 2000), 6.0, 0.3);
    EXPECT_NEAR(responseDb(Biquad::peaking(2000, 1, 6), 200), 0.0, 0.5);
    EXPECT_NEAR(responseDb(Biquad::highShelf(1000, 6), 4500), 6.0, 0.6);
    EXPECT_NEAR(responseDb(Biquad::highShelf(1000, 6), 100), 0.0, 0.3);
    EXPECT_NEAR(responseDb(Biquad::lowShelf(300, 4), 60), 4.0, 0.5);
    EXPECT_NEAR(responseDb(Biquad::lowShelf(300, 4), 3000), 0.0, 0.3);
}

TEST(Filters, StateVariableBandPeaksAtZeroDecibels) {
    for (double hz : {300.0, 1200.0, 3000.0}) {
        Svf f;
        f.set(hz, 8);
        Signal centre = sine(hz, 0.5), off = sine(hz * 0.4, 0.5);
        Signal c = centre, o = off;
        for (auto& v : c) v = f.process(v).band;
        f.reset();
        for (auto& v : o) v = f.process(v).band;
        EXPECT_NEAR(settledDb(c) - settledDb(centre), 0.0, 0.3) << hz;
        EXPECT_LT(settledDb(o) - settledDb(off), -15.0) << hz;
    }
}

TEST(Reverb, TailFallsSixtyDecibelsInTheDecayTime) {
    Signal click(samples(0.01), 0.0f);
    click[0] = 1.0f;
    Space sp;
    sp.decaySecs = 1.0;
    sp.wet = 1.0;
    sp.dry = 0.0;
    sp.predelayMs = 0;
    const Signal tail = reverb(click, sp);
    EXPECT_EQ(tail.size(), click.size() + samples(1.0));
    const double early = rmsDbBetween(tail, 0.1, 0.2);
    const double late = rmsDbBetween(tail, 0.9, 1.0);
    EXPECT_NEAR(early - late, 60.0 * 0.8, 12.0) << "fall between 0.15 s and 0.95 s";

    // Dry only: the input comes through untouched, followed by the echo.
    Space dryOnly;
    dryOnly.wet = 0;
    dryOnly.slapMs = 100;
    dryOnly.slapGain = 0.5;
    const Signal echoed = reverb(click, dryOnly);
    EXPECT_FLOAT_EQ(echoed[0], 1.0f);
    const auto echoAt = static_cast<std::size_t>(
        std::max_element(echoed.begin() + 10, echoed.end(), [](float a, float b) { return std::fabs(a) < std::fabs(b); }) -
        echoed.begin());
    EXPECT_NEAR(seconds(echoAt), 0.1, 0.005);
}

TEST(Dynamics, CompressorAndSaturationBehave) {
    // The detector follows the peaks: a sine of amplitude 0.5 (-6 dBFS) is
    // 20 dB over a threshold of -26 dBFS, so ratio 4 takes 15 dB off.
    Signal loud = sine(500, 1.0, 0.5);
    const double before = settledDb(loud);
    compress(loud, -26.02, 4.0, 2, 50);
    EXPECT_NEAR(before - settledDb(loud), 15.0, 1.0);

    Signal quiet = sine(500, 0.5, 0.01);
    const Signal copy = quiet;
    saturate(quiet, 3.0);
    for (std::size_t i = 0; i < quiet.size(); ++i) ASSERT_NEAR(quiet[i], copy[i], 1e-4);
    Signal hot = sine(500, 0.5, 5.0);
    saturate(hot, 3.0);
    EXPECT_LE(peak(hot), 1.0 / 3.0 + 1e-6);
}

TEST(Noise, PinkHasEqualEnergyPerOctaveAndCurvesGlide) {
    Rng rng(5);
    const Signal pink = pinkNoise(rng, samples(20.0)), white = whiteNoise(rng, samples(20.0));
    auto band = [](const Signal& noise, double hz) {
        Signal s = noise;
        apply(s, Biquad::bandpass(hz, 1.4));
        return gainToDb(rms(s));
    };
    // Three octaves apart through bands of equal relative width.
    EXPECT_NEAR(band(pink, 125) - band(pink, 1000), 0.0, 1.5);
    EXPECT_NEAR(band(white, 1000) - band(white, 125), 9.0, 1.5);

    const Signal curve = randomCurve(rng, samples(5.0), 2.0);
    double maxStep = 0;
    for (std::size_t i = 1; i < curve.size(); ++i) {
        ASSERT_LE(std::fabs(curve[i]), 1.0f);
        maxStep = std::max(maxStep, double(std::fabs(curve[i] - curve[i - 1])));
    }
    EXPECT_LT(maxStep, 0.01) << "a control curve must glide, not jump";
}

TEST(Events, PoissonTimesFollowTheRateAndTheIntensity) {
    Rng rng(11);
    const auto full = eventTimes(rng, 100.0, 5.0, [](double) { return 1.0; });
    EXPECT_NEAR(double(full.size()), 500.0, 4 * std::sqrt(500.0));
    EXPECT_TRUE(std::is_sorted(full.begin(), full.end()));
    const auto half = eventTimes(rng, 100.0, 5.0, [](double t) { return t < 50 ? 1.0 : 0.0; });
    EXPECT_NEAR(double(half.size()), 250.0, 4 * std::sqrt(250.0));
    EXPECT_TRUE(std::all_of(half.begin(), half.end(), [](double t) { return t < 50; }));
    EXPECT_TRUE(eventTimes(rng, 10.0, 0.0, [](double) { return 1.0; }).empty());
}

TEST(Rates, VarispeedChangesLengthAndPitchTogether) {
    const Signal tone = sine(300, 1.0);
    const Signal up = varispeed(tone, 2.0);
    EXPECT_NEAR(double(up.size()), tone.size() / 2.0, 1.0);
    EXPECT_NEAR(pitchOf(slice(up, 0.1, 0.4), 200, 1000), 600.0, 18.0);  // lags are whole samples
    const Signal down = varispeed(tone, 0.5);
    EXPECT_NEAR(pitchOf(slice(down, 0.2, 1.2), 80, 400), 150.0, 3.0);
}

TEST(Instruments, NotesSoundAtTheirPitchForTheirLength) {
    Rng rng(2);
    const std::vector<Note> a4 = {{0.1, 0.5, 69, 1.0}};
    Organ flute;
    flute.drawbars = {0, 0, 8, 0, 0, 0, 0, 0, 0};
    flute.vibratoCents = 0;
    flute.rotorHz = 0;
    flute.percussion = 0;
    flute.click = 0;
    const Signal o = organ(a4, flute, rng);
    EXPECT_NEAR(pitchOf(slice(o, 0.2, 0.5), 200, 1000), 440.0, 5.0);
    EXPECT_LT(rmsDbBetween(o, 0.0, 0.09), -80.0) << "nothing before the key goes down";
    EXPECT_LT(rmsDbBetween(o, 0.7, 0.75), -80.0) << "nothing after the release";

    const Signal b = brass(a4, rng);
    EXPECT_NEAR(pitchOf(slice(b, 0.3, 0.55), 200, 1000), 440.0, 8.0);

    // High notes keep their partials below the top of the band.
    const Signal high = organ({{0.0, 0.3, 96, 1.0}}, Organ{}, rng);
    Signal top = high;
    apply(top, Biquad::highpass(5300, 2.0));
    EXPECT_LT(gainToDb(rms(top)) - gainToDb(rms(high)), -30.0);

    Score score(0.5, 1.0);
    score.add(2, 1, 60);
    ASSERT_EQ(score.notes().size(), 1u);
    EXPECT_DOUBLE_EQ(score.notes()[0].start, 2.0);
    EXPECT_NEAR(score.notes()[0].dur, 0.5 * 0.92, 1e-12);
}

TEST(CrowdVoices, VocalsFollowTheirPitchContourAtAStandardLevel) {
    Rng rng(8);
    Vocal v;
    v.secs = 1.0;
    v.f0Start = 110;
    v.f0Peak = 110;
    v.peakAt = 0.1;
    v.f0End = 220;
    v.wobble = 0;
    v.from = v.to = Vowel::AA;
    const Signal s = vocal(rng, v);
    EXPECT_EQ(s.size(), samples(1.0));
    EXPECT_NEAR(rms(s), 0.1, 1e-3);
    EXPECT_NEAR(pitchOf(slice(s, 0.12, 0.2), 70, 400), 110.0, 6.0);
    EXPECT_NEAR(pitchOf(slice(s, 0.88, 0.94), 70, 400), 219.0, 12.0);

    const Signal c = clap(rng);
    EXPECT_NEAR(peak(c), 0.5, 1e-6);
    EXPECT_LT(rmsDbBetween(c, 0.05, 0.07), rmsDbBetween(c, 0.0, 0.01) - 30.0) << "a clap is short";
}

// A scene follows its intensity: a crowd told to fall silent does.
TEST(CrowdVoices, SceneFollowsItsIntensity) {
    Rng rng(21);
    CrowdMood mood;
    mood.talkers = 6;
    mood.noiseVoices = 4;
    mood.murmurPerSec = 0;
    mood.shoutsPerSec = 2;
    mood.applause = 6;
    mood.whistlesPerSec = 0.5;
    mood.roar = 0.5;
    mood.intensity = [](double t) { return t < 3.0 ? 1.0 : 0.05; };
    const Signal s = crowd(rng, 6.0, mood);
    EXPECT_EQ(s.size(), samples(6.0));
    EXPECT_GT(rmsDbBetween(s, 0.5, 2.5), rmsDbBetween(s, 4.0, 6.0) + 6.0);
}

// Every line is spoken in a fresh engine, so what was said before cannot
// change it; and the engine's silence around the words is cut away.
TEST(Speech, LinesDoNotDependOnWhatWasSpokenBefore) {
    Voice v;
    v.name = "en-us+m3";
    const Signal first = speak("Foul ball!", v);
    Voice other;
    other.name = "en-us+f2";
    other.pitch = 80;
    (void)speak("Peanuts! Fresh roasted peanuts!", other);
    const Signal again = speak("Foul ball!", v);
    EXPECT_EQ(first, again);

    std::size_t lead = 0;
    while (lead < first.size() && std::fabs(first[lead]) < 0.004f) ++lead;
    EXPECT_LT(seconds(lead), 0.01);
    EXPECT_THROW(speak("hello", Voice{"no-such-voice", 170, 50, 50, false}), std::runtime_error);
}
