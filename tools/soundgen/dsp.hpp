// Signal-processing building blocks of the sound generator: a seeded random
// generator, filters, envelopes, reverb, mixing, mastering and loop making.
// Everything works on mono float signals at the output rate of the set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

namespace sg {

constexpr int kRate = 11025;          // sample rate of every generated file
constexpr double kPi = 3.14159265358979323846;

using Signal = std::vector<float>;

// Number of samples in a span of seconds (rounded to the nearest sample).
std::size_t samples(double seconds);
double seconds(std::size_t sampleCount);
double dbToGain(double db);
double gainToDb(double gain);
double midiToHz(double note);

// xoshiro256** seeded through splitmix64: fast, and the same numbers on every
// platform, which the standard library's distributions do not promise.
class Rng {
public:
    explicit Rng(std::uint64_t seed);
    std::uint64_t next();
    double uniform();                          // [0, 1)
    double uniform(double lo, double hi);      // [lo, hi)
    int integer(int lo, int hi);               // lo..hi inclusive
    double gaussian();                         // mean 0, deviation 1
    bool chance(double p);
    // A new generator whose stream depends on this one's seed and the salt
    // only, so adding draws here does not disturb the child.
    Rng fork(std::uint64_t salt) const;

private:
    std::uint64_t seed_;
    std::uint64_t s_[4];
};

// Biquad sections from the well-known cookbook formulas.
class Biquad {
public:
    static Biquad lowpass(double hz, double q = 0.7071);
    static Biquad highpass(double hz, double q = 0.7071);
    static Biquad bandpass(double hz, double q);          // 0 dB at the centre
    static Biquad peaking(double hz, double q, double db);
    static Biquad lowShelf(double hz, double db);
    static Biquad highShelf(double hz, double db);
    Biquad() = default;  // passes the signal through unchanged
    float process(float x);
    void reset();

private:
    Biquad(double b0, double b1, double b2, double a0, double a1, double a2);
    double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
    double z1_ = 0, z2_ = 0;
};

void apply(Signal& s, Biquad f);

// Trapezoidal state-variable filter: stays well behaved when its frequency
// and resonance change every sample, which sweeps and formants need.
class Svf {
public:
    struct Out {
        float low, band, high;
    };
    void set(double hz, double q);
    Out process(float x);
    void reset();

private:
    double g_ = 0.1, k_ = 1.4, a1_ = 0, a2_ = 0, a3_ = 0;
    double ic1_ = 0, ic2_ = 0;
};

// One-pole smoother, used for control signals and gentle tone shaping.
class OnePole {
public:
    void setLowpass(double hz);
    float lowpass(float x);
    void reset(float v = 0) { y_ = v; }

private:
    double a_ = 0.5;
    double y_ = 0;
};

// Band-limited sawtooth (polyBLEP), cheap enough for dozens of voices.
class Saw {
public:
    explicit Saw(double phase = 0) : phase_(phase) {}
    float next(double hz);

private:
    double phase_;
};

// Signal makers and in-place shaping.
Signal silence(double secs);
Signal whiteNoise(Rng& rng, std::size_t n);
Signal pinkNoise(Rng& rng, std::size_t n);
// Smooth random control curve around 0 with the given rate of change (Hz).
Signal randomCurve(Rng& rng, std::size_t n, double hz);

void gain(Signal& s, double g);
void fadeIn(Signal& s, double secs);
void fadeOut(Signal& s, double secs);
// Multiplies by env(t) where t is the time in seconds of each sample.
void shape(Signal& s, const std::function<double(double)>& env);

// Adds src into dst from the given time (dst grows when needed).
void mixAt(Signal& dst, const Signal& src, double atSecs, double g = 1.0);
void mixAtSample(Signal& dst, const Signal& src, std::size_t at, double g = 1.0);
// Fits s to exactly n samples: cuts or pads with silence.
void fitLength(Signal& s, std::size_t n);

// Raised-cosine ramp: 0 at x <= 0, 1 at x >= 1.
double smoothStep(double x);

double rms(const Signal& s);
double peak(const Signal& s);
double mean(const Signal& s);

// Algorithmic reverb for open-air spaces: discrete slap-back echoes off the
// stands, then a diffuse tail from damped combs and all-passes.
struct Space {
    double decaySecs = 1.4;       // time for the tail to fall 60 dB
    double damping = 0.45;        // 0 bright .. 1 dark tail
    double wet = 0.25;            // level of the diffuse tail
    double dry = 1.0;
    double predelayMs = 25;
    double slapMs = 0;            // first echo off the stands (0 = none)
    double slapGain = 0;
    double size = 1.0;            // scales the comb lengths
};
Signal reverb(const Signal& in, const Space& space);

// Dynamics: compressor with smooth attack and release on the level.
void compress(Signal& s, double thresholdDb, double ratio, double attackMs, double releaseMs,
              double makeupDb = 0);
// Gentle saturation that leaves small signals alone.
void saturate(Signal& s, double drive);

// Final touches shared by every file.
struct Master {
    double rmsDb = 0;            // target loudness when useRms
    bool useRms = false;
    double peakDb = -1.5;        // ceiling (or target peak when !useRms)
    double fadeInSecs = 0.005;
    double fadeOutSecs = 0.02;
    double highpassHz = 30;      // removes rumble and offset
};
void master(Signal& s, const Master& m);

// Turns a signal longer than `length` into a seamless loop of `length`
// samples: the material past the end is cross-faded into the start, and the
// loop is then rotated to begin at a quiet zero crossing.
Signal makeLoop(const Signal& longer, std::size_t length, std::size_t crossfade);
// For a material that is already periodic with period `length` once settled
// (rendered for several periods): takes one period from the steady state.
Signal takePeriod(const Signal& rendered, std::size_t length, std::size_t periodsSkipped);

// Halves the sample rate with a Kaiser-windowed sinc low-pass (used for the
// speech engine's 22050 Hz output).
Signal decimateByTwo(const std::vector<float>& in);
// Changes speed and pitch together by the ratio (2 = an octave up, half as long).
Signal varispeed(const Signal& in, double ratio);

}  // namespace sg
