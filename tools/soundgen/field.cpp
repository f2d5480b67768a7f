// Sounds of the field: the pitch in flight, the swing, the spit, the bat,
// the glove, the ball on the body and the slide.
#include <algorithm>
#include <cmath>
#include <functional>

#include "recipes.hpp"

namespace sg {

namespace {

double logLerp(double a, double b, double t) { return a * std::pow(b / a, std::clamp(t, 0.0, 1.0)); }

// ------------------------------------------------------------ the pitch

// The ball on its way to the plate, heard from the plate: one continuous
// rush that swells and brightens as the ball closes in, so the end can be
// anticipated. Every contour takes u, the share of the flight gone (0..1).
struct Flight {
    std::function<double(double)> band;          // centre of the rush (Hz)
    double q = 2.5;                              // its resonance
    double spinFrom = 0, spinTo = 0;             // whirr of the seams (Hz)
    double spinDepth = 0;
    std::function<double(double)> tone;          // whistle of the seams (Hz)
    double toneLevel = 0;
    double toneVibrato = 0;                      // share of frequency, at the spin rate
    double flutter = 0;                          // knuckle ball's irregular wobble
    double startLevel = 0.13;                    // level at release, relative to arrival
    double brightFrom = 800, brightTo = 5000;    // low-pass over the flight (Hz)
    double air = 0.35;                           // broadband air under the rush
    double peakDb = -1.5;
};

Signal flight(Rng& rng, double secs, const Flight& f) {
    const std::size_t n = samples(secs);
    Signal out(n);
    const Signal flutterAmp = randomCurve(rng, n, 7.0);
    const Signal flutterBand = randomCurve(rng, n, 5.0);
    Svf rush, air, bright;
    double spinPhase = 0, tonePhase = 0;
    // Level grows as one over the distance still to go.
    const double k = 1.0 / f.startLevel - 1.0;
    // The filters run for a moment before the sound starts, so it starts
    // at its full colour rather than ringing up from nothing.
    const long preroll = static_cast<long>(samples(0.03));
    for (long j = -preroll; j < static_cast<long>(n); ++j) {
        const std::size_t i = static_cast<std::size_t>(std::max(0L, j));
        const double u = double(i) / n;
        const double level = 1.0 / (1.0 + k * (1.0 - u));
        const double wobble = 1.0 + f.flutter * 0.45 * flutterBand[i];
        if (j % 4 == 0) {
            rush.set(f.band(u) * wobble, f.q);
            air.set(logLerp(500, 2500, u), 0.5);
            bright.set(logLerp(f.brightFrom, f.brightTo, std::pow(u, 1.3)), 0.6);
        }
        const float noise = static_cast<float>(rng.uniform(-1, 1));
        double y = rush.process(noise).band + f.air * air.process(noise).low;
        const double spinHz = f.spinFrom + (f.spinTo - f.spinFrom) * u;
        spinPhase += 2 * kPi * spinHz / kRate;
        if (f.toneLevel > 0) {
            const double hz = f.tone(u) * (1.0 + f.toneVibrato * std::sin(spinPhase)) * wobble;
            tonePhase += 2 * kPi * hz / kRate;
            y += f.toneLevel * std::sin(tonePhase) * (0.6 + 0.4 * u);
        }
        y = bright.process(static_cast<float>(y)).low;
        y *= 1.0 - f.spinDepth * (0.5 + 0.5 * std::sin(spinPhase));
        y *= 1.0 - f.flutter * 0.5 * (0.5 + 0.5 * flutterAmp[i]);
        if (j >= 0) out[i] = static_cast<float>(y * level);
    }
    Master m;
    m.peakDb = f.peakDb;
    m.fadeInSecs = 0.003;   // no silence at either end: the swing is timed on this sound
    m.fadeOutSecs = 0.004;
    m.highpassHz = 60;
    master(out, m);
    return out;
}

// ------------------------------------------------------------ hits

// A struck body: a list of decaying resonances.
struct Mode {
    double hz, tau, amp;
};

Signal modes(Rng& rng, double secs, const std::vector<Mode>& list) {
    const std::size_t n = samples(secs);
    Signal s(n, 0.0f);
    for (const Mode& m : list) {
        if (m.hz > 5300) continue;
        const double hz = m.hz * rng.uniform(0.97, 1.03);
        const double ph = rng.uniform(0, 2 * kPi);
        for (std::size_t i = 0; i < n; ++i) {
            const double t = seconds(i);
            s[i] += static_cast<float>(m.amp * std::exp(-t / m.tau) * std::sin(2 * kPi * hz * t + ph));
        }
    }
    fadeIn(s, 0.0004);
    return s;
}

Signal burst(Rng& rng, double secs, double tau, double lowHz, double highHz) {
    Signal s = whiteNoise(rng, samples(secs));
    shape(s, [tau](double t) { return std::exp(-t / tau); });
    if (highHz < 5400) apply(s, Biquad::lowpass(highHz, 0.7));
    if (lowHz > 20) apply(s, Biquad::highpass(lowHz, 0.7));
    fadeIn(s, 0.0003);
    return s;
}

Space ballparkEcho(double slapGain, double wet) {
    Space sp;
    sp.decaySecs = 1.1;
    sp.damping = 0.55;
    sp.wet = wet;
    sp.slapMs = 185;
    sp.slapGain = slapGain;
    sp.predelayMs = 20;
    sp.size = 1.2;
    return sp;
}

Signal finishContact(Signal s, double secs, double rmsOffsetDb) {
    fitLength(s, samples(secs));
    Master m;
    m.useRms = true;
    m.rmsDb = level::kContact + rmsOffsetDb;
    m.fadeInSecs = 0.0005;
    m.fadeOutSecs = std::min(0.12, secs * 0.3);
    m.highpassHz = 45;
    master(s, m);
    return s;
}

// The crack of a wooden bat: a sharp splinter of noise, the ringing modes
// of the bat and the thock of the ball, echoing off the stands.
// `force` runs from 0 (a dribbler) to 1 (a drive into the seats).
Signal batCrack(Rng& rng, double secs, double force) {
    const double ring = 0.7 + 0.6 * force;
    std::vector<Mode> bat = {{215, 0.05 * ring, 0.35},          {560, 0.032 * ring, 0.55},
                             {1060, 0.022 * ring, 0.65},        {1620, 0.014 * ring, 0.55},
                             {2330, 0.010 * ring, 0.45 * force + 0.1},
                             {3180, 0.007 * ring, 0.4 * force}, {4150, 0.005 * ring, 0.3 * force}};
    Signal s = modes(rng, secs, bat);
    const std::vector<Mode> ball = {{330, 0.012, 0.5 - 0.2 * force}, {720, 0.009, 0.35}};
    mixAt(s, modes(rng, secs, ball), 0.0, 1.0);
    // The crack itself: brighter and sharper the harder the ball is met.
    mixAt(s, burst(rng, 0.04, 0.0012 + 0.0022 * force, 300, 1800 + 3500 * force), 0.0, 1.6 + 1.4 * force);
    mixAt(s, burst(rng, 0.01, 0.0004, 900, 5400), 0.0, 0.8 * force);
    saturate(s, 1.5 + force);
    Signal wet = reverb(s, ballparkEcho(0.16 + 0.16 * force, 0.08 + 0.10 * force));
    return wet;
}

Signal leatherPop(Rng& rng, double secs, double weight) {
    Signal s = modes(rng, secs, {{145, 0.035, 0.7 * weight}, {620, 0.024, 0.8}, {1150, 0.012, 0.5}});
    mixAt(s, burst(rng, 0.05, 0.006, 500, 3200), 0.0, 1.6);
    mixAt(s, burst(rng, 0.01, 0.0007, 1500, 5400), 0.0, 0.5);
    saturate(s, 1.8);
    return s;
}

Signal bodyThud(Rng& rng, double secs, double bodyHz, double knock) {
    const std::size_t n = samples(secs);
    Signal s(n, 0.0f);
    double ph = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = seconds(i);
        ph += 2 * kPi * bodyHz * (1 + 0.6 * std::exp(-t / 0.012)) / kRate;
        s[i] = static_cast<float>(std::sin(ph) * std::exp(-t / 0.055));
    }
    mixAt(s, burst(rng, 0.12, 0.025, 40, 700), 0.0, 1.4);              // flesh
    mixAt(s, burst(rng, 0.06, 0.012, 1800, 4200), 0.004, 0.25);         // the jersey
    if (knock > 0) mixAt(s, modes(rng, 0.1, {{880, 0.014, 1.0}, {1730, 0.008, 0.6}}), 0.0, knock);
    fadeIn(s, 0.0008);
    saturate(s, 1.5);
    return reverb(s, ballparkEcho(0.12, 0.06));
}

}  // namespace

// ------------------------------------------------------------ pitches

Signal fastBall(Rng& rng, double secs) {
    Flight f;
    f.band = [](double u) { return logLerp(750, 2700, u); };
    f.q = 2.2;
    f.spinFrom = f.spinTo = 32;
    f.spinDepth = 0.22;
    f.tone = [](double u) { return logLerp(1500, 2500, u); };
    f.toneLevel = 0.10;
    f.startLevel = 0.2;
    f.brightFrom = 1000;
    f.air = 0.45;
    return flight(rng, secs, f);
}

Signal curveBall(Rng& rng, double secs) {
    Flight f;
    // Up over the top of its arc, then dropping away and bending.
    f.band = [](double u) { return 1000 * std::pow(2.0, 1.1 * std::sin(kPi * u * 1.15)) + 1400 * u * u; };
    f.q = 3.0;
    f.spinFrom = 22;
    f.spinTo = 27;
    f.spinDepth = 0.4;
    f.tone = [](double u) { return 1150 + 700 * std::sin(kPi * u * 1.2) + 500 * u * u; };
    f.toneLevel = 0.16;
    f.startLevel = 0.18;
    return flight(rng, secs, f);
}

Signal slider(Rng& rng, double secs) {
    Flight f;
    // Level and straight, then a late, sharp break.
    f.band = [](double u) {
        const double dip = std::exp(-std::pow((u - 0.74) / 0.09, 2));
        return 1350 * (1 - 0.45 * dip) + 1300 * std::pow(std::max(0.0, u - 0.78) / 0.22, 2);
    };
    f.q = 3.4;
    f.spinFrom = f.spinTo = 38;
    f.spinDepth = 0.3;
    f.tone = [](double u) {
        const double dip = std::exp(-std::pow((u - 0.74) / 0.09, 2));
        return 1700 * (1 - 0.4 * dip) + 900 * std::pow(std::max(0.0, u - 0.78) / 0.22, 2);
    };
    f.toneLevel = 0.22;
    f.startLevel = 0.18;
    return flight(rng, secs, f);
}

Signal sinker(Rng& rng, double secs) {
    Flight f;
    f.band = [](double u) { return logLerp(1300, 2300, u); };
    f.q = 2.6;
    f.spinFrom = f.spinTo = 28;
    f.spinDepth = 0.28;
    // The whistle falls ever faster as the ball drops under the rush.
    f.tone = [](double u) { return logLerp(1800, 620, std::pow(u, 1.7)); };
    f.toneLevel = 0.16;
    f.startLevel = 0.22;
    f.brightFrom = 1100;
    return flight(rng, secs, f);
}

Signal changeUp(Rng& rng, double secs) {
    Flight f;
    f.band = [](double u) { return logLerp(480, 1350, u); };
    f.q = 1.3;
    f.spinFrom = f.spinTo = 15;
    f.spinDepth = 0.15;
    f.toneLevel = 0;
    f.startLevel = 0.25;
    f.brightFrom = 650;
    f.brightTo = 3000;
    f.air = 0.6;
    f.peakDb = -3.0;
    return flight(rng, secs, f);
}

Signal knuckleBall(Rng& rng, double secs) {
    Flight f;
    f.band = [](double u) { return logLerp(900, 1700, u); };
    f.q = 2.2;
    f.flutter = 0.75;
    f.tone = [](double u) { return logLerp(1100, 1500, u); };
    f.toneLevel = 0.1;
    f.startLevel = 0.18;
    return flight(rng, secs, f);
}

Signal screwBall(Rng& rng, double secs) {
    Flight f;
    // Spiralling: the rush circles around its centre as the ball turns.
    f.band = [](double u) { return logLerp(950, 2000, u) * (1 + 0.25 * std::sin(2 * kPi * 3.2 * u * 3.0)); };
    f.q = 3.0;
    f.spinFrom = 12;
    f.spinTo = 26;
    f.spinDepth = 0.6;
    f.tone = [](double u) { return logLerp(850, 1500, u); };
    f.toneLevel = 0.25;
    f.toneVibrato = 0.03;
    f.startLevel = 0.17;
    return flight(rng, secs, f);
}

// ------------------------------------------------------------ swing, spit

Signal swingMiss(Rng& rng, double secs) {
    const std::size_t n = samples(secs);
    Signal s(n);
    Svf band, low;
    low.set(260, 0.7);
    for (std::size_t i = 0; i < n; ++i) {
        const double u = double(i) / n;
        // The bat is nearest (loudest, highest) a little before the middle.
        const double near = std::exp(-std::pow((u - 0.45) / 0.18, 2));
        if (i % 4 == 0) band.set(380 + 1700 * near, 1.3);
        const float x = static_cast<float>(rng.uniform(-1, 1));
        s[i] = static_cast<float>((band.process(x).band + 0.6 * low.process(x).low * near) *
                                  std::pow(near, 1.3));
    }
    Master m;
    m.peakDb = -2.0;
    m.fadeInSecs = 0.01;
    m.fadeOutSecs = 0.03;
    master(s, m);
    return s;
}

Signal spit(Rng& rng, double secs) {
    Signal s(samples(secs), 0.0f);
    // "Pt": lips part.
    mixAt(s, burst(rng, 0.03, 0.003, 600, 2500), 0.06, 0.8);
    mixAt(s, modes(rng, 0.05, {{160, 0.012, 0.5}}), 0.06, 1.0);
    // The spray, with bubbles popping in it.
    Signal spray = whiteNoise(rng, samples(0.34));
    apply(spray, Biquad::bandpass(3300, 0.8));
    shape(spray, [](double t) { return smoothStep(t / 0.015) * std::exp(-t / 0.11); });
    mixAt(s, spray, 0.075, 0.9);
    for (int i = 0; i < 26; ++i) {
        const double at = 0.08 + 0.25 * std::pow(rng.uniform(), 1.6);
        const double level = rng.uniform(0.1, 0.35);
        const double freq = rng.uniform(1500, 3800);
        const double decay = rng.uniform(0.002, 0.006);
        mixAt(s, modes(rng, 0.02, {{freq, decay, 1.0}}), at, level);
    }
    // And where it lands, in the dirt.
    mixAt(s, burst(rng, 0.06, 0.02, 150, 1200), 0.62, 0.35);
    mixAt(s, modes(rng, 0.05, {{190, 0.015, 0.3}}), 0.62, 1.0);
    Space room;
    room.decaySecs = 0.5;
    room.wet = 0.08;
    room.size = 0.6;
    s = reverb(s, room);
    fitLength(s, samples(secs));
    Master m;
    m.peakDb = -1.5;
    m.fadeOutSecs = 0.08;
    master(s, m);
    return s;
}

// ------------------------------------------------------------ contact

Signal lightHit(Rng& rng, double secs) { return finishContact(batCrack(rng, secs, 0.15), secs, -1.5); }

Signal goodHit(Rng& rng, double secs) { return finishContact(batCrack(rng, secs, 0.55), secs, 0.0); }

Signal crushedHit(Rng& rng, double secs) { return finishContact(batCrack(rng, secs, 1.0), secs, 1.5); }

Signal foulTip(Rng& rng, double secs) {
    // A glancing tick off the edge of the bat, and the ball zipping away.
    Signal s = modes(rng, secs, {{2300, 0.012, 0.8}, {3400, 0.007, 0.6}, {1250, 0.01, 0.3}});
    mixAt(s, burst(rng, 0.02, 0.0008, 1500, 5400), 0.0, 1.5);
    Signal zip = whiteNoise(rng, samples(0.09));
    Svf sweep;
    for (std::size_t i = 0; i < zip.size(); ++i) {
        const double u = double(i) / zip.size();
        if (i % 4 == 0) sweep.set(logLerp(2500, 4500, u), 3.0);
        zip[i] = sweep.process(zip[i]).band * static_cast<float>(std::sin(kPi * u));
    }
    mixAt(s, zip, 0.006, 0.35);
    s = reverb(s, ballparkEcho(0.2, 0.1));
    return finishContact(s, secs, -1.0);
}

Signal tipIntoMitt(Rng& rng, double secs) {
    Signal s = modes(rng, secs, {{2300, 0.01, 0.6}, {3400, 0.006, 0.5}});
    mixAt(s, burst(rng, 0.02, 0.0007, 1500, 5400), 0.0, 1.1);
    Signal pop = leatherPop(rng, secs, 1.0);
    mixAt(s, pop, 0.07, 1.3);
    s = reverb(s, ballparkEcho(0.2, 0.1));
    return finishContact(s, secs, 0.0);
}

Signal glovePop(Rng& rng, double secs) {
    Signal s = reverb(leatherPop(rng, secs, 1.0), ballparkEcho(0.14, 0.07));
    return finishContact(s, secs, 0.0);
}

Signal hitBatter1(Rng& rng, double secs) { return finishContact(bodyThud(rng, secs, 85, 0.0), secs, -0.5); }

Signal hitBatter2(Rng& rng, double secs) { return finishContact(bodyThud(rng, secs, 120, 0.15), secs, -0.5); }

Signal hitBatter3(Rng& rng, double secs) { return finishContact(bodyThud(rng, secs, 150, 0.6), secs, -0.5); }

Signal slideIn(Rng& rng, double secs) {
    const std::size_t n = samples(secs);
    Signal s(n, 0.0f);
    // The body meets the ground...
    mixAt(s, modes(rng, 0.2, {{85, 0.05, 0.8}, {170, 0.03, 0.3}}), 0.0, 1.0);
    mixAt(s, burst(rng, 0.1, 0.02, 40, 900), 0.0, 1.2);
    // ...and scrapes along it, slowing down, grit crackling under it.
    Signal grit(n, 0.0f);
    for (int i = 0; i < 260; ++i) {
        const double at = 0.01 + 0.62 * std::pow(rng.uniform(), 1.3);
        const double level = rng.uniform(0.2, 1.0);
        const double len = rng.uniform(0.0005, 0.002);
        mixAt(grit, burst(rng, 0.012, len, 700, 5000), at, level);
    }
    Svf scrape;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = seconds(i);
        const double env = smoothStep(t / 0.03) * (1 - smoothStep((t - 0.3) / 0.42));
        if (i % 4 == 0) scrape.set(logLerp(1700, 650, t / secs), 0.7);
        const float x = static_cast<float>(rng.uniform(-1, 1));
        s[i] += static_cast<float>((scrape.process(x).band * 1.2 + grit[i] * 0.5) * env);
    }
    Space dirt;
    dirt.decaySecs = 0.6;
    dirt.wet = 0.08;
    dirt.size = 0.8;
    s = reverb(s, dirt);
    fitLength(s, n);
    Master m;
    m.peakDb = -1.5;
    m.fadeInSecs = 0.001;
    m.fadeOutSecs = 0.12;
    master(s, m);
    return s;
}

}  // namespace sg
