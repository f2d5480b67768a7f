#include "music.hpp"

#include <algorithm>
#include <cmath>

namespace sg {

namespace {
constexpr double kTopHz = 5200;  // partials above this are left out (no aliasing)
}

Score& Score::add(double beat, double beats, double midi, double vel, double legato) {
    notes_.push_back({secs(beat), beats * beat_ * legato, midi, vel});
    return *this;
}

Score& Score::chord(double beat, double beats, std::initializer_list<double> midis, double vel,
                    double legato) {
    for (double m : midis) add(beat, beats, m, vel, legato);
    return *this;
}

// ---------------------------------------------------------------- organ

Signal organ(const std::vector<Note>& notes, const Organ& stops, Rng& rng) {
    static constexpr double kRatios[9] = {0.5, 1.5, 1, 2, 3, 4, 5, 6, 8};
    double end = 0;
    for (const Note& n : notes) end = std::max(end, n.start + n.dur);
    Signal out(samples(end + 0.2), 0.0f);
    const double release = 0.045;
    for (const Note& note : notes) {
        const double f = midiToHz(note.midi);
        const std::size_t start = samples(note.start);
        const std::size_t len = samples(note.dur + release);
        if (start + len > out.size()) out.resize(start + len, 0.0f);
        double amps[9], phases[9];
        double total = 0;
        for (int h = 0; h < 9; ++h) {
            const int lvl = stops.drawbars[static_cast<std::size_t>(h)];
            amps[h] = (lvl == 0 || f * kRatios[h] > kTopHz) ? 0.0 : std::pow(10.0, -(8 - lvl) * 3.0 / 20.0);
            phases[h] = rng.uniform(0, 2 * kPi);
            total += amps[h];
        }
        const bool percussive = f * 3 < kTopHz && stops.percussion > 0;
        double percPhase = rng.uniform(0, 2 * kPi);
        const double norm = 1.0 / std::max(1.0, total);
        for (std::size_t i = 0; i < len; ++i) {
            const double t = seconds(i);
            const double abs = note.start + t;
            const double vib = std::pow(2.0, stops.vibratoCents / 1200.0 * std::sin(2 * kPi * 6.9 * abs));
            double y = 0;
            for (int h = 0; h < 9; ++h) {
                if (amps[h] == 0) continue;
                phases[h] += 2 * kPi * f * kRatios[h] * vib / kRate;
                y += amps[h] * std::sin(phases[h]);
            }
            if (percussive) {
                percPhase += 2 * kPi * f * 3 * vib / kRate;
                y += stops.percussion * std::exp(-t / 0.2) * std::sin(percPhase) * total * 0.35;
            }
            double env = smoothStep(t / 0.004);
            if (t > note.dur) env *= smoothStep(1.0 - (t - note.dur) / release);
            out[start + i] += static_cast<float>(y * norm * env * note.vel);
        }
        if (stops.click > 0) {  // contacts closing under the key
            Signal click = whiteNoise(rng, samples(0.004));
            apply(click, Biquad::bandpass(2200, 0.9));
            fadeOut(click, 0.003);
            mixAtSample(out, click, start, stops.click * note.vel);
        }
    }
    // Rotating horn: a swinging delay gives the doppler warble, with the
    // loudness rising and falling as the horn faces away and back.
    if (stops.rotorHz > 0) {
        Signal dry(out);
        for (std::size_t i = 0; i < out.size(); ++i) {
            const double t = seconds(i);
            const double d = (0.002 + 0.0003 * std::sin(2 * kPi * stops.rotorHz * t)) * kRate;
            const double pos = double(i) - d;
            double v = 0;
            if (pos >= 1) {
                const auto k = static_cast<std::size_t>(pos);
                const double fr = pos - k;
                v = dry[k] * (1 - fr) + dry[std::min(k + 1, dry.size() - 1)] * fr;
            }
            const double am = 1.0 + 0.12 * std::sin(2 * kPi * stops.rotorHz * t + 1.3);
            out[i] = static_cast<float>(0.55 * dry[i] + 0.45 * v * am);
        }
    }
    return out;
}

// ---------------------------------------------------------------- brass

namespace {
struct BrassShape {
    double attack = 0.035;
    double scoopCents = 35;
    double vibratoCents = 12;
    double release = 0.09;
    int maxPartials = 30;
};

void brassNote(Signal& out, const Note& note, Rng& rng, double brightness, const BrassShape& shp,
               const std::function<double(double)>& pitchBend = nullptr) {
    const double f = midiToHz(note.midi);
    const std::size_t start = samples(note.start);
    const std::size_t len = samples(note.dur + shp.release);
    if (start + len > out.size()) out.resize(start + len, 0.0f);
    const int partials = std::max(1, std::min(shp.maxPartials, static_cast<int>(kTopHz / f)));
    std::vector<double> phase(static_cast<std::size_t>(partials)), amp(static_cast<std::size_t>(partials));
    for (auto& p : phase) p = rng.uniform(0, 0.3);
    const double vibStart = 0.25;
    OnePole breathTone;
    breathTone.setLowpass(1800);
    double ampSum = 1;
    for (std::size_t i = 0; i < len; ++i) {
        const double t = seconds(i);
        double env;
        if (t < shp.attack) env = smoothStep(t / shp.attack);
        else env = 0.85 + 0.15 * std::exp(-(t - shp.attack) / 0.08);
        if (t > note.dur) env *= smoothStep(1.0 - (t - note.dur) / shp.release);
        if (i % 32 == 0) {
            const double p = 2.3 - 1.25 * env * brightness;
            ampSum = 0;
            for (int k = 0; k < partials; ++k) {
                amp[static_cast<std::size_t>(k)] = std::pow(k + 1.0, -p);
                ampSum += amp[static_cast<std::size_t>(k)];
            }
        }
        double cents = -shp.scoopCents * (1 - smoothStep(t / 0.06));
        if (t > vibStart) cents += shp.vibratoCents * std::sin(2 * kPi * 5.4 * (t - vibStart)) *
                                   std::min(1.0, (t - vibStart) / 0.3);
        double ff = f * std::pow(2.0, cents / 1200.0);
        if (pitchBend) ff *= pitchBend(t);
        double y = 0;
        for (int k = 0; k < partials; ++k) {
            auto& ph = phase[static_cast<std::size_t>(k)];
            ph += 2 * kPi * ff * (k + 1) / kRate;
            if (ph > 2 * kPi) ph -= 2 * kPi;
            if (ff * (k + 1) < kTopHz) y += amp[static_cast<std::size_t>(k)] * std::sin(ph);
        }
        y = y / ampSum + 0.03 * breathTone.lowpass(static_cast<float>(rng.uniform(-1, 1)));
        out[start + i] += static_cast<float>(y * env * std::min(note.vel, 1.0));
    }
}
}  // namespace

Signal brass(const std::vector<Note>& notes, Rng& rng, double brightness) {
    Signal out;
    for (const Note& n : notes) brassNote(out, n, rng, brightness, BrassShape{});
    return out;
}

Signal trombone(const std::vector<Note>& notes, Rng& rng) {
    Signal out;
    for (const Note& n : notes) {
        const bool sad = n.vel > 1.0;
        BrassShape shp;
        shp.attack = 0.05;
        shp.scoopCents = 60;
        shp.vibratoCents = sad ? 30 : 6;
        shp.release = sad ? 0.4 : 0.1;
        shp.maxPartials = 40;
        Signal note;
        Note local = n;
        local.start = 0;
        brassNote(note, local, rng, 1.1, shp, [&](double t) {
            // A long note droops at the end, as the player runs out of heart.
            return sad ? std::pow(2.0, -0.9 * smoothStep((t - 0.5) / 1.2) / 12.0) : 1.0;
        });
        // The plunger: closed at the start of each note, opened as it speaks;
        // on the long last note it flaps open and shut.
        Svf wah;
        for (std::size_t i = 0; i < note.size(); ++i) {
            const double t = seconds(i);
            double open = smoothStep(t / 0.16);
            if (sad && t > 0.35) open = 0.45 + 0.45 * std::cos(2 * kPi * 4.2 * (t - 0.35));
            if (i % 8 == 0) wah.set(280 + 1700 * open, 2.2);
            note[i] = wah.process(note[i]).low;
        }
        mixAt(out, note, n.start);
    }
    return out;
}

// ---------------------------------------------------------------- struck

Signal bells(const std::vector<Note>& notes) {
    static constexpr double kRatio[] = {1.0, 2.76, 5.40, 8.93};
    static constexpr double kAmp[] = {1.0, 0.45, 0.22, 0.1};
    static constexpr double kDecay[] = {1.1, 0.45, 0.2, 0.1};
    Signal out;
    for (const Note& n : notes) {
        const double f = midiToHz(n.midi);
        const std::size_t len = samples(1.6);
        Signal s(len, 0.0f);
        for (int p = 0; p < 4; ++p) {
            if (f * kRatio[p] > kTopHz) continue;
            for (std::size_t i = 0; i < len; ++i) {
                const double t = seconds(i);
                s[i] += static_cast<float>(kAmp[p] * std::exp(-t / kDecay[p]) *
                                           std::sin(2 * kPi * f * kRatio[p] * t));
            }
        }
        fadeIn(s, 0.001);
        fadeOut(s, 0.2);
        mixAt(out, s, n.start, 0.5 * n.vel);
    }
    return out;
}

Signal marimba(const std::vector<Note>& notes, Rng& rng) {
    static constexpr double kRatio[] = {1.0, 3.93, 9.2};
    static constexpr double kAmp[] = {1.0, 0.35, 0.12};
    static constexpr double kDecay[] = {0.45, 0.1, 0.035};
    Signal out;
    for (const Note& n : notes) {
        const double f = midiToHz(n.midi);
        const std::size_t len = samples(0.9);
        Signal s(len, 0.0f);
        for (int p = 0; p < 3; ++p) {
            if (f * kRatio[p] > kTopHz) continue;
            for (std::size_t i = 0; i < len; ++i) {
                const double t = seconds(i);
                s[i] += static_cast<float>(kAmp[p] * std::exp(-t / kDecay[p]) *
                                           std::sin(2 * kPi * f * kRatio[p] * t));
            }
        }
        Signal mallet = whiteNoise(rng, samples(0.003));
        apply(mallet, Biquad::lowpass(2500));
        mixAt(s, mallet, 0.0, 0.3);
        fadeIn(s, 0.0008);
        fadeOut(s, 0.15);
        mixAt(out, s, n.start, 0.5 * n.vel);
    }
    return out;
}

Signal pluckBass(const std::vector<Note>& notes) {
    Signal out;
    for (const Note& n : notes) {
        const double f = midiToHz(n.midi);
        const std::size_t len = samples(n.dur + 0.08);
        Signal s(len, 0.0f);
        for (int k = 1; k <= 16 && f * k < kTopHz; ++k) {
            const double tau = 0.5 / (1 + 0.45 * k);
            for (std::size_t i = 0; i < len; ++i) {
                const double t = seconds(i);
                s[i] += static_cast<float>(std::exp(-t / tau) / k * std::sin(2 * kPi * f * k * t));
            }
        }
        fadeIn(s, 0.002);
        fadeOut(s, 0.06);
        mixAt(out, s, n.start, 0.5 * n.vel);
    }
    return out;
}

// ---------------------------------------------------------------- drums

Signal bassDrum(Rng& rng, double hz, double decaySecs) {
    const std::size_t n = samples(decaySecs * 5);
    Signal s(n);
    double phase = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = seconds(i);
        const double f = hz * (1 + 1.4 * std::exp(-t / 0.025));
        phase += 2 * kPi * f / kRate;
        s[i] = static_cast<float>(std::sin(phase) * std::exp(-t / decaySecs));
    }
    Signal beater = whiteNoise(rng, samples(0.006));
    apply(beater, Biquad::lowpass(2800));
    fadeOut(beater, 0.005);
    mixAt(s, beater, 0.0, 0.35);
    Signal skin = whiteNoise(rng, n);
    apply(skin, Biquad::bandpass(hz * 3, 1.0));
    shape(skin, [decaySecs](double t) { return std::exp(-t / (decaySecs * 0.4)); });
    mixAt(s, skin, 0.0, 0.25);
    fadeIn(s, 0.0005);
    fadeOut(s, decaySecs);
    return s;
}

Signal snare(Rng& rng) {
    const std::size_t n = samples(0.35);
    Signal s = whiteNoise(rng, n);
    apply(s, Biquad::bandpass(2000, 0.7));
    shape(s, [](double t) { return std::exp(-t / 0.09); });
    for (std::size_t i = 0; i < n; ++i) {
        const double t = seconds(i);
        s[i] += static_cast<float>(0.6 * std::sin(2 * kPi * 190 * t) * std::exp(-t / 0.05));
    }
    fadeIn(s, 0.0005);
    fadeOut(s, 0.1);
    return s;
}

}  // namespace sg
