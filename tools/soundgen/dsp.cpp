#include "dsp.hpp"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace sg {

std::size_t samples(double secs) {
    return secs <= 0 ? 0 : static_cast<std::size_t>(std::llround(secs * kRate));
}

double seconds(std::size_t sampleCount) { return static_cast<double>(sampleCount) / kRate; }

double dbToGain(double db) { return std::pow(10.0, db / 20.0); }

double gainToDb(double g) { return g <= 1e-12 ? -240.0 : 20.0 * std::log10(g); }

double midiToHz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

// ---------------------------------------------------------------- random

namespace {
std::uint64_t splitmix(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}
std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
}  // namespace

Rng::Rng(std::uint64_t seed) : seed_(seed) {
    std::uint64_t x = seed;
    for (auto& s : s_) s = splitmix(x);
}

std::uint64_t Rng::next() {
    const std::uint64_t result = rotl(s_[1] * 5, 7) * 9;
    const std::uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = rotl(s_[3], 45);
    return result;
}

double Rng::uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }

double Rng::uniform(double lo, double hi) { return lo + (hi - lo) * uniform(); }

int Rng::integer(int lo, int hi) {
    const auto span = static_cast<std::uint64_t>(hi - lo + 1);
    return lo + static_cast<int>(next() % span);
}

double Rng::gaussian() {
    const double u1 = 1.0 - uniform();  // (0, 1]
    const double u2 = uniform();
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * kPi * u2);
}

bool Rng::chance(double p) { return uniform() < p; }

Rng Rng::fork(std::uint64_t salt) const {
    std::uint64_t x = seed_ ^ (salt * 0xD1B54A32D192ED03ULL);
    return Rng(splitmix(x));
}

// ---------------------------------------------------------------- biquads

namespace {
double clampHz(double hz) { return std::clamp(hz, 5.0, kRate * 0.49); }
}  // namespace

Biquad Biquad::lowpass(double hz, double q) {
    const double w = 2 * kPi * clampHz(hz) / kRate, cs = std::cos(w), al = std::sin(w) / (2 * q);
    return Biquad((1 - cs) / 2, 1 - cs, (1 - cs) / 2, 1 + al, -2 * cs, 1 - al);
}

Biquad Biquad::highpass(double hz, double q) {
    const double w = 2 * kPi * clampHz(hz) / kRate, cs = std::cos(w), al = std::sin(w) / (2 * q);
    return Biquad((1 + cs) / 2, -(1 + cs), (1 + cs) / 2, 1 + al, -2 * cs, 1 - al);
}

Biquad Biquad::bandpass(double hz, double q) {
    const double w = 2 * kPi * clampHz(hz) / kRate, cs = std::cos(w), al = std::sin(w) / (2 * q);
    return Biquad(al, 0, -al, 1 + al, -2 * cs, 1 - al);
}

Biquad Biquad::peaking(double hz, double q, double db) {
    const double a = std::pow(10.0, db / 40.0);
    const double w = 2 * kPi * clampHz(hz) / kRate, cs = std::cos(w), al = std::sin(w) / (2 * q);
    return Biquad(1 + al * a, -2 * cs, 1 - al * a, 1 + al / a, -2 * cs, 1 - al / a);
}

Biquad Biquad::lowShelf(double hz, double db) {
    const double a = std::pow(10.0, db / 40.0);
    const double w = 2 * kPi * clampHz(hz) / kRate, cs = std::cos(w);
    const double s = 2 * std::sqrt(a) * std::sin(w) / 2 * std::sqrt(2.0);
    return Biquad(a * ((a + 1) - (a - 1) * cs + s), 2 * a * ((a - 1) - (a + 1) * cs),
                       a * ((a + 1) - (a - 1) * cs - s), (a + 1) + (a - 1) * cs + s,
                       -2 * ((a - 1) + (a + 1) * cs), (a + 1) + (a - 1) * cs - s);
}

Biquad Biquad::highShelf(double hz, double db) {
    const double a = std::pow(10.0, db / 40.0);
    const double w = 2 * kPi * clampHz(hz) / kRate, cs = std::cos(w);
    const double s = 2 * std::sqrt(a) * std::sin(w) / 2 * std::sqrt(2.0);
    return Biquad(a * ((a + 1) + (a - 1) * cs + s), -2 * a * ((a - 1) + (a + 1) * cs),
                       a * ((a + 1) + (a - 1) * cs - s), (a + 1) - (a - 1) * cs + s,
                       2 * ((a - 1) - (a + 1) * cs), (a + 1) - (a - 1) * cs - s);
}

Biquad::Biquad(double b0, double b1, double b2, double a0, double a1, double a2)
    : b0_(b0 / a0), b1_(b1 / a0), b2_(b2 / a0), a1_(a1 / a0), a2_(a2 / a0) {}

float Biquad::process(float x) {
    const double y = b0_ * x + z1_;
    z1_ = b1_ * x - a1_ * y + z2_;
    z2_ = b2_ * x - a2_ * y;
    return static_cast<float>(y);
}

void Biquad::reset() { z1_ = z2_ = 0; }

void apply(Signal& s, Biquad f) {
    for (auto& v : s) v = f.process(v);
}

// ---------------------------------------------------------------- SVF etc.

void Svf::set(double hz, double q) {
    g_ = std::tan(kPi * clampHz(hz) / kRate);
    k_ = 1.0 / std::max(q, 0.05);
    a1_ = 1.0 / (1.0 + g_ * (g_ + k_));
    a2_ = g_ * a1_;
    a3_ = g_ * a2_;
}

Svf::Out Svf::process(float x) {
    const double v3 = x - ic2_;
    const double v1 = a1_ * ic1_ + a2_ * v3;
    const double v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
    ic1_ = 2 * v1 - ic1_;
    ic2_ = 2 * v2 - ic2_;
    return {static_cast<float>(v2), static_cast<float>(v1 * k_),
            static_cast<float>(x - k_ * v1 - v2)};
}

void Svf::reset() { ic1_ = ic2_ = 0; }

void OnePole::setLowpass(double hz) { a_ = std::exp(-2 * kPi * clampHz(hz) / kRate); }

float OnePole::lowpass(float x) {
    y_ = (1 - a_) * x + a_ * y_;
    return static_cast<float>(y_);
}

float Saw::next(double hz) {
    const double dt = std::clamp(hz / kRate, 1e-6, 0.45);
    double v = 2 * phase_ - 1;
    if (phase_ < dt) {
        const double t = phase_ / dt;
        v -= t + t - t * t - 1;
    } else if (phase_ > 1 - dt) {
        const double t = (phase_ - 1) / dt;
        v -= t * t + t + t + 1;
    }
    phase_ += dt;
    if (phase_ >= 1) phase_ -= 1;
    return static_cast<float>(v);
}

// ---------------------------------------------------------------- makers

Signal silence(double secs) { return Signal(samples(secs), 0.0f); }

Signal whiteNoise(Rng& rng, std::size_t n) {
    Signal s(n);
    for (auto& v : s) v = static_cast<float>(rng.uniform(-1.0, 1.0));
    return s;
}

Signal pinkNoise(Rng& rng, std::size_t n) {
    // Kellet's economy filter: within half a decibel over the audible band.
    Signal s(n);
    double b0 = 0, b1 = 0, b2 = 0;
    for (auto& v : s) {
        const double w = rng.uniform(-1.0, 1.0);
        b0 = 0.99765 * b0 + w * 0.0990460;
        b1 = 0.96300 * b1 + w * 0.2965164;
        b2 = 0.57000 * b2 + w * 1.0526913;
        v = static_cast<float>((b0 + b1 + b2 + w * 0.1848) * 0.25);
    }
    return s;
}

Signal randomCurve(Rng& rng, std::size_t n, double hz) {
    Signal s(n);
    const double step = std::max(1.0, kRate / std::max(hz, 0.01));
    double prev = rng.uniform(-1, 1), next = rng.uniform(-1, 1);
    double pos = 0;
    for (std::size_t i = 0; i < n; ++i) {
        if (pos >= step) {
            pos -= step;
            prev = next;
            next = rng.uniform(-1, 1);
        }
        s[i] = static_cast<float>(prev + (next - prev) * smoothStep(pos / step));
        pos += 1;
    }
    return s;
}

void gain(Signal& s, double g) {
    for (auto& v : s) v = static_cast<float>(v * g);
}

void fadeIn(Signal& s, double secs) {
    const std::size_t n = std::min(s.size(), samples(secs));
    for (std::size_t i = 0; i < n; ++i) s[i] *= static_cast<float>(smoothStep(double(i) / n));
}

void fadeOut(Signal& s, double secs) {
    const std::size_t n = std::min(s.size(), samples(secs));
    for (std::size_t i = 0; i < n; ++i)
        s[s.size() - 1 - i] *= static_cast<float>(smoothStep(double(i) / n));
}

void shape(Signal& s, const std::function<double(double)>& env) {
    for (std::size_t i = 0; i < s.size(); ++i) s[i] = static_cast<float>(s[i] * env(seconds(i)));
}

void mixAtSample(Signal& dst, const Signal& src, std::size_t at, double g) {
    if (dst.size() < at + src.size()) dst.resize(at + src.size(), 0.0f);
    for (std::size_t i = 0; i < src.size(); ++i) dst[at + i] += static_cast<float>(src[i] * g);
}

void mixAt(Signal& dst, const Signal& src, double atSecs, double g) {
    mixAtSample(dst, src, samples(std::max(0.0, atSecs)), g);
}

void fitLength(Signal& s, std::size_t n) { s.resize(n, 0.0f); }

double smoothStep(double x) {
    x = std::clamp(x, 0.0, 1.0);
    return 0.5 - 0.5 * std::cos(kPi * x);
}

double rms(const Signal& s) {
    if (s.empty()) return 0;
    double sum = 0;
    for (float v : s) sum += double(v) * v;
    return std::sqrt(sum / s.size());
}

double peak(const Signal& s) {
    double p = 0;
    for (float v : s) p = std::max(p, double(std::fabs(v)));
    return p;
}

double mean(const Signal& s) {
    if (s.empty()) return 0;
    double sum = 0;
    for (float v : s) sum += v;
    return sum / s.size();
}

// ---------------------------------------------------------------- reverb

namespace {
class Delay {
public:
    explicit Delay(std::size_t n) : buf_(std::max<std::size_t>(n, 1), 0.0f) {}
    float read() const { return buf_[pos_]; }
    void write(float v) {
        buf_[pos_] = v;
        pos_ = (pos_ + 1) % buf_.size();
    }
    std::size_t size() const { return buf_.size(); }

private:
    std::vector<float> buf_;
    std::size_t pos_ = 0;
};
}  // namespace

Signal reverb(const Signal& in, const Space& sp) {
    const std::size_t slap = samples(sp.slapMs / 1000.0);
    const std::size_t tail = samples(sp.decaySecs) + 2 * slap;
    Signal out(in.size() + tail, 0.0f);

    static constexpr std::size_t kCombs[] = {443, 509, 571, 631, 701, 773};
    static constexpr std::size_t kAllpasses[] = {113, 163, 223};
    std::vector<Delay> combs;
    std::vector<double> feedback, filt(std::size(kCombs), 0.0);
    for (std::size_t c : kCombs) {
        const auto len = static_cast<std::size_t>(c * sp.size);
        combs.emplace_back(len);
        feedback.push_back(std::pow(10.0, -3.0 * len / (sp.decaySecs * kRate)));
    }
    std::vector<Delay> allpasses;
    for (std::size_t a : kAllpasses) allpasses.emplace_back(a);

    double norm = 0;
    for (double g : feedback) norm += 1.0 - g * g;
    norm = std::sqrt(norm / feedback.size()) / std::sqrt(double(feedback.size()));

    Delay pre(samples(sp.predelayMs / 1000.0) + 1);
    Delay slap1(slap + 1), slap2(slap * 19 / 10 + 1);
    OnePole slapTone;
    slapTone.setLowpass(2500);
    OnePole slapTone2;
    slapTone2.setLowpass(1600);

    for (std::size_t i = 0; i < out.size(); ++i) {
        const float x = i < in.size() ? in[i] : 0.0f;
        double y = sp.dry * x;

        float early = 0;
        if (slap > 0) {
            early = static_cast<float>(slapTone.lowpass(slap1.read()) * sp.slapGain +
                                       slapTone2.lowpass(slap2.read()) * sp.slapGain * sp.slapGain);
            slap1.write(x);
            slap2.write(x);
            y += early;
        }

        const float feed = pre.read();
        pre.write(x + early * 0.5f);
        double acc = 0;
        for (std::size_t c = 0; c < combs.size(); ++c) {
            const float o = combs[c].read();
            filt[c] = o * (1 - sp.damping) + filt[c] * sp.damping;
            combs[c].write(static_cast<float>(feed + filt[c] * feedback[c]));
            acc += o;
        }
        for (auto& ap : allpasses) {
            const float buffered = ap.read();
            const double v = acc + buffered * 0.6;
            ap.write(static_cast<float>(v));
            acc = buffered - 0.6 * v;
        }
        y += sp.wet * norm * acc;
        out[i] = static_cast<float>(y);
    }
    return out;
}

// ---------------------------------------------------------------- dynamics

void compress(Signal& s, double thresholdDb, double ratio, double attackMs, double releaseMs,
              double makeupDb) {
    const double att = std::exp(-1.0 / (attackMs / 1000.0 * kRate));
    const double rel = std::exp(-1.0 / (releaseMs / 1000.0 * kRate));
    double env = 0;
    const double makeup = dbToGain(makeupDb);
    for (auto& v : s) {
        const double level = std::fabs(v);
        env = level > env ? att * env + (1 - att) * level : rel * env + (1 - rel) * level;
        const double over = gainToDb(env) - thresholdDb;
        const double g = over > 0 ? dbToGain(-over * (1 - 1 / ratio)) : 1.0;
        v = static_cast<float>(v * g * makeup);
    }
}

void saturate(Signal& s, double drive) {
    for (auto& v : s) v = static_cast<float>(std::tanh(drive * v) / drive);
}

namespace {
// Look-ahead peak limiter: the gain needed around each peak is spread over a
// few milliseconds on both sides, so peaks are lowered without clipping.
void limit(Signal& s, double ceiling) {
    const std::size_t n = s.size();
    std::vector<double> g(n, 1.0);
    for (std::size_t i = 0; i < n; ++i) {
        const double a = std::fabs(s[i]);
        if (a > ceiling) g[i] = ceiling / a;
    }
    const std::size_t w = samples(0.003);
    std::vector<double> h(g);
    // Running minimum over +-w (sparse peaks: a plain scan is fast enough).
    for (std::size_t i = 0; i < n; ++i) {
        if (g[i] >= 1.0) continue;
        const std::size_t lo = i > w ? i - w : 0, hi = std::min(n - 1, i + w);
        for (std::size_t j = lo; j <= hi; ++j) h[j] = std::min(h[j], g[i]);
    }
    // Smooth release forwards and backwards, never rising above the need.
    const double rel = std::exp(-1.0 / (0.030 * kRate));
    double cur = 1.0;
    for (std::size_t i = 0; i < n; ++i) {
        cur = std::min(h[i], rel * cur + (1 - rel) * h[i]);
        h[i] = cur;
    }
    cur = 1.0;
    for (std::size_t i = n; i-- > 0;) {
        cur = std::min(h[i], rel * cur + (1 - rel) * h[i]);
        h[i] = cur;
    }
    for (std::size_t i = 0; i < n; ++i) s[i] = static_cast<float>(s[i] * h[i]);
}
}  // namespace

void master(Signal& s, const Master& m) {
    if (s.empty()) return;
    if (m.highpassHz > 0) {
        apply(s, Biquad::highpass(m.highpassHz, 0.7071));
    }
    const double ceiling = dbToGain(m.peakDb);
    if (m.useRms) {
        const double target = dbToGain(m.rmsDb);
        for (int pass = 0; pass < 6; ++pass) {
            const double r = rms(s);
            if (r <= 0) break;
            gain(s, target / r);
            limit(s, ceiling * 0.995);
        }
    } else {
        const double p = peak(s);
        if (p > 0) gain(s, ceiling / p);
    }

    // Fades, then remove the remaining offset in proportion to the fade
    // envelope so the ends stay at rest.
    std::vector<double> w(s.size(), 1.0);
    const std::size_t fi = std::min(s.size(), samples(m.fadeInSecs));
    const std::size_t fo = std::min(s.size(), samples(m.fadeOutSecs));
    for (std::size_t i = 0; i < fi; ++i) w[i] *= smoothStep(double(i) / fi);
    for (std::size_t i = 0; i < fo; ++i) w[s.size() - 1 - i] *= smoothStep(double(i) / fo);
    double sumW = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        s[i] = static_cast<float>(s[i] * w[i]);
        sumW += w[i];
    }
    const double offset = mean(s) * s.size() / std::max(sumW, 1.0);
    for (std::size_t i = 0; i < s.size(); ++i) s[i] = static_cast<float>(s[i] - offset * w[i]);

    const double p = peak(s);
    if (p > ceiling) gain(s, ceiling / p);
}

// ---------------------------------------------------------------- loops

Signal makeLoop(const Signal& longer, std::size_t length, std::size_t crossfade) {
    if (longer.size() < length + crossfade) throw std::runtime_error("makeLoop: material too short");
    Signal loop(longer.begin(), longer.begin() + static_cast<std::ptrdiff_t>(length));
    for (std::size_t i = 0; i < crossfade; ++i) {
        const double w = kPi / 2 * (double(i) / crossfade);
        loop[i] = static_cast<float>(longer[i] * std::sin(w) + longer[length + i] * std::cos(w));
    }
    // Start at the quietest, gentlest zero crossing (judged on a short
    // smoothed level and on the step across it).
    OnePole env;
    env.setLowpass(20);
    for (int pass = 0; pass < 2; ++pass)  // two laps settle the smoother on the loop
        for (float v : loop) env.lowpass(std::fabs(v));
    std::size_t best = 0;
    double bestScore = 1e30;
    for (std::size_t i = 0; i < length; ++i) {
        const double level = env.lowpass(std::fabs(loop[i]));
        const float prev = loop[(i + length - 1) % length];
        if ((prev < 0) != (loop[i] < 0) || loop[i] == 0) {
            const double score = level + std::fabs(loop[i]) + std::fabs(loop[i] - prev);
            if (score < bestScore) {
                bestScore = score;
                best = i;
            }
        }
    }
    std::rotate(loop.begin(), loop.begin() + static_cast<std::ptrdiff_t>(best), loop.end());
    return loop;
}

Signal takePeriod(const Signal& rendered, std::size_t length, std::size_t periodsSkipped) {
    const std::size_t start = length * periodsSkipped;
    if (rendered.size() < start + length) throw std::runtime_error("takePeriod: too short");
    return Signal(rendered.begin() + static_cast<std::ptrdiff_t>(start),
                  rendered.begin() + static_cast<std::ptrdiff_t>(start + length));
}

// ---------------------------------------------------------------- rates

namespace {
double besselI0(double x) {
    double sum = 1, term = 1;
    for (int k = 1; k < 40; ++k) {
        term *= (x / (2 * k)) * (x / (2 * k));
        sum += term;
    }
    return sum;
}
}  // namespace

Signal decimateByTwo(const std::vector<float>& in) {
    // 127 taps, cut-off 4.96 kHz of the 22.05 kHz input, Kaiser beta 8
    // (about 80 dB stop band from 5.4 kHz), so nothing folds back audibly.
    constexpr int kTaps = 127;
    constexpr double kCutoff = 0.225;
    constexpr double kBeta = 8.0;
    static const std::vector<double> taps = [] {
        std::vector<double> t(kTaps);
        const int mid = kTaps / 2;
        double sum = 0;
        for (int i = 0; i < kTaps; ++i) {
            const int k = i - mid;
            const double sinc = k == 0 ? 2 * kCutoff : std::sin(2 * kPi * kCutoff * k) / (kPi * k);
            const double r = double(k) / mid;
            const double win = besselI0(kBeta * std::sqrt(1 - r * r)) / besselI0(kBeta);
            t[i] = sinc * win;
            sum += t[i];
        }
        for (auto& v : t) v /= sum;
        return t;
    }();
    const int mid = kTaps / 2;
    Signal out(in.size() / 2);
    for (std::size_t o = 0; o < out.size(); ++o) {
        const long centre = static_cast<long>(2 * o);
        double acc = 0;
        for (int k = 0; k < kTaps; ++k) {
            const long j = centre + k - mid;
            if (j >= 0 && j < static_cast<long>(in.size())) acc += taps[k] * in[j];
        }
        out[o] = static_cast<float>(acc);
    }
    return out;
}

Signal varispeed(const Signal& in, double ratio) {
    Signal src(in);
    if (ratio > 1.0) {
        // Keep what would fold back out of the sped-up copy.
        const double cut = kRate * 0.45 / ratio;
        apply(src, Biquad::lowpass(cut, 0.54));
        apply(src, Biquad::lowpass(cut, 1.31));
    }
    const auto n = static_cast<std::size_t>(src.size() / ratio);
    Signal out(n);
    auto at = [&](long i) -> double {
        if (i < 0 || i >= static_cast<long>(src.size())) return 0.0;
        return src[static_cast<std::size_t>(i)];
    };
    for (std::size_t o = 0; o < n; ++o) {
        const double pos = o * ratio;
        const long i = static_cast<long>(pos);
        const double f = pos - i;
        const double y0 = at(i - 1), y1 = at(i), y2 = at(i + 1), y3 = at(i + 2);
        // Catmull-Rom cubic.
        const double c0 = y1, c1 = 0.5 * (y2 - y0), c2 = y0 - 2.5 * y1 + 2 * y2 - 0.5 * y3,
                     c3 = 0.5 * (y3 - y0) + 1.5 * (y1 - y2);
        out[o] = static_cast<float>(((c3 * f + c2) * f + c1) * f + c0);
    }
    return out;
}

}  // namespace sg
