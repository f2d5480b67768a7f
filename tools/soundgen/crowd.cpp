#include "crowd.hpp"

#include <algorithm>
#include <array>
#include <cmath>

#include "speech.hpp"

namespace sg {

namespace {

struct Formants {
    double f1, f2, f3;
};

// Average formants of an adult male voice.
Formants formantsOf(Vowel v) {
    switch (v) {
        case Vowel::EE: return {270, 2290, 3010};
        case Vowel::IH: return {390, 1990, 2550};
        case Vowel::EH: return {530, 1840, 2480};
        case Vowel::AE: return {660, 1720, 2410};
        case Vowel::AH: return {640, 1190, 2390};
        case Vowel::AA: return {730, 1090, 2440};
        case Vowel::AW: return {570, 840, 2410};
        case Vowel::OO: return {300, 870, 2240};
        case Vowel::UH: return {440, 1020, 2240};
        case Vowel::ER: return {490, 1350, 1690};
    }
    return {500, 1500, 2500};
}

Vowel randomVowel(Rng& rng) { return static_cast<Vowel>(rng.integer(0, 9)); }

double lerp(double a, double b, double t) { return a + (b - a) * t; }

// Level every unit of the crowd is made at, so that the mix gains mean
// the same whatever the synthesis of the unit.
constexpr double kUnitRms = 0.1;

void normaliseRms(Signal& s, double target = kUnitRms) {
    const double r = rms(s);
    if (r > 0) gain(s, target / r);
}

// A talker or shouter standing somewhere in the stands: the further, the
// quieter and the duller.
struct Seat {
    double gain;
    double cutoffHz;
};

Seat randomSeat(Rng& rng, double brightness) {
    const double distance = rng.uniform(1.0, 4.0);
    return {1.0 / distance, std::min(5000.0, brightness * rng.uniform(3000.0, 5000.0) / std::sqrt(distance))};
}

void place(Signal& dst, Signal unit, double at, const Seat& seat, double g) {
    apply(unit, Biquad::lowpass(seat.cutoffHz, 0.6));
    mixAt(dst, unit, at, seat.gain * g);
}

double clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

// One person talking on and off: syllables with moving vowels, consonant
// hiss between them, phrases separated by pauses.
Signal talker(Rng& rng, double secs, const CrowdMood& mood) {
    Signal out(samples(secs), 0.0f);
    const bool woman = rng.chance(0.4);
    const double baseF0 = (woman ? rng.uniform(175, 240) : rng.uniform(90, 140)) * mood.pitchLift;
    const double scale = woman ? rng.uniform(1.12, 1.22) : rng.uniform(0.95, 1.05);
    double t = rng.uniform(0.0, 2.5);
    while (t < secs) {
        const double phraseLen = rng.uniform(0.7, 3.0);
        const double phraseEnd = t + phraseLen;
        const double phraseF0 = baseF0 * rng.uniform(0.9, 1.12);
        while (t < phraseEnd && t < secs) {
            const double dur = rng.uniform(0.6, 1.4) / mood.syllableRate;
            const double decl = 1.0 - 0.15 * clamp01((t - (phraseEnd - phraseLen)) / phraseLen);
            Vocal v;
            v.secs = dur * 1.2;
            v.f0Start = phraseF0 * decl * rng.uniform(0.95, 1.08);
            v.f0Peak = v.f0Start * rng.uniform(1.0, 1.12);
            v.f0End = v.f0Start * rng.uniform(0.88, 1.0);
            v.from = randomVowel(rng);
            v.to = randomVowel(rng);
            v.formantScale = scale;
            v.attack = 0.02;
            v.release = std::min(0.06, v.secs * 0.4);
            v.brightness = mood.brightness;
            v.breath = 0.06;
            Signal syl = vocal(rng, v);
            mixAt(out, syl, t, rng.uniform(0.35, 1.0) * mood.intensity(t));
            if (rng.chance(0.45)) {  // a consonant: s, sh, f or t
                const double len = rng.uniform(0.03, 0.07);
                Signal hiss = whiteNoise(rng, samples(len));
                const double q = rng.uniform(1.2, 2.5);
                apply(hiss, Biquad::bandpass(rng.uniform(2400, 5000), q));
                shape(hiss, [len](double x) { return std::sin(kPi * x / len); });
                mixAt(out, hiss, std::max(0.0, t - len * 0.6), 0.05 * mood.intensity(t));
            }
            t += dur;
        }
        t += rng.uniform(0.3, 2.2) * (1.0 - mood.talkShare) / std::max(0.05, mood.talkShare) * 1.6;
    }
    fitLength(out, samples(secs));
    return out;
}

// A fan's shout: yeah, hey, whoo, aah, go.
Signal shout(Rng& rng, double pitchLift, double brightness) {
    const bool woman = rng.chance(0.4);
    Vocal v;
    static constexpr std::array<std::array<Vowel, 2>, 6> kShapes = {{{Vowel::EH, Vowel::AE},
                                                                     {Vowel::EH, Vowel::EE},
                                                                     {Vowel::OO, Vowel::OO},
                                                                     {Vowel::AA, Vowel::AA},
                                                                     {Vowel::UH, Vowel::OO},
                                                                     {Vowel::AE, Vowel::AH}}};
    const auto& sh = kShapes[static_cast<std::size_t>(rng.integer(0, 5))];
    v.from = sh[0];
    v.to = sh[1];
    v.secs = rng.uniform(0.35, 1.3);
    const double f0 = (woman ? rng.uniform(300, 460) : rng.uniform(170, 280)) * pitchLift;
    v.f0Start = f0 * rng.uniform(0.8, 0.95);
    v.f0Peak = f0;
    v.f0End = f0 * rng.uniform(0.7, 0.95);
    v.peakAt = rng.uniform(0.15, 0.5);
    v.formantScale = woman ? 1.17 : 1.0;
    v.attack = rng.uniform(0.03, 0.08);
    v.release = std::min(v.secs * 0.5, rng.uniform(0.12, 0.3));
    v.brightness = brightness * rng.uniform(2.5, 4.0);
    v.breath = 0.12;
    v.vibratoCents = rng.uniform(0, 40);
    v.vibratoHz = rng.uniform(4.5, 7.0);
    return vocal(rng, v);
}

// Band-passed noise that swells and fades slowly: the breath of a crowd.
Signal noiseVoice(Rng& rng, double secs, double brightness) {
    Signal s = whiteNoise(rng, samples(secs));
    const double q = rng.uniform(1.5, 4.0);
    apply(s, Biquad::bandpass(rng.uniform(250, 2200) * brightness, q));
    normaliseRms(s);
    const Signal am = randomCurve(rng, s.size(), rng.uniform(0.4, 2.5));
    for (std::size_t i = 0; i < s.size(); ++i) {
        const double a = 0.5 + 0.5 * am[i];
        s[i] = static_cast<float>(s[i] * a * a);
    }
    return s;
}

const std::vector<std::string>& murmurLines() {
    static const std::vector<std::string> lines = {
        "come on", "let's go", "nice one", "did you see that", "over here",
        "what a game", "sit down", "hey", "yeah", "oh no", "get a hit", "good eye",
        "throw strikes", "who's up next", "I can't see", "look at that", "pass it down",
        "keep it going", "here we go", "that was close", "two more", "wait for it",
        "no way", "he's good", "right there", "watch this", "one more inning",
        "is it raining", "where are we sitting", "excuse me"};
    return lines;
}

Voice randomVoice(Rng& rng) {
    static const std::vector<std::string> kVariants = {"m1", "m2", "m3", "m4", "m5", "m6", "m7",
                                                       "f1", "f2", "f3", "f4", "f5"};
    Voice v;
    v.name = "en-us+" + kVariants[static_cast<std::size_t>(rng.integer(0, int(kVariants.size()) - 1))];
    v.rate = rng.integer(150, 215);
    v.pitch = rng.integer(20, 75);
    v.range = rng.integer(40, 90);
    return v;
}

}  // namespace

// ---------------------------------------------------------------- vocal

Signal vocal(Rng& rng, const Vocal& v) {
    const std::size_t n = samples(v.secs);
    Signal out(n, 0.0f);
    if (n == 0) return out;
    Saw saw(rng.uniform());
    OnePole tilt;
    tilt.setLowpass(700.0 * v.brightness);
    Svf f1, f2, f3;
    const Signal drift = randomCurve(rng, n, 3.0);
    const Formants a = formantsOf(v.from), b = formantsOf(v.to);
    const double vibPhase = rng.uniform(0, 2 * kPi);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = seconds(i), u = double(i) / n;
        double f0 = u < v.peakAt ? lerp(v.f0Start, v.f0Peak, smoothStep(u / v.peakAt))
                                 : lerp(v.f0Peak, v.f0End, smoothStep((u - v.peakAt) / (1 - v.peakAt)));
        const double vib = std::sin(2 * kPi * v.vibratoHz * t + vibPhase) * std::min(1.0, t / 0.25);
        f0 *= std::pow(2.0, v.vibratoCents * vib / 1200.0) * (1.0 + v.wobble * drift[i]);
        if (i % 8 == 0) {
            const double g = smoothStep(u);
            const double s = v.formantScale;
            f1.set(lerp(a.f1, b.f1, g) * s, lerp(a.f1, b.f1, g) * s / 80.0);
            f2.set(lerp(a.f2, b.f2, g) * s, lerp(a.f2, b.f2, g) * s / 110.0);
            f3.set(lerp(a.f3, b.f3, g) * s, lerp(a.f3, b.f3, g) * s / 160.0);
        }
        const float src = static_cast<float>(tilt.lowpass(saw.next(f0)) +
                                             v.breath * rng.uniform(-1.0, 1.0) * 0.3);
        const double y = f1.process(src).band + 0.9 * f2.process(src).band + 0.6 * f3.process(src).band;
        double env = 1.0;
        if (t < v.attack) env = smoothStep(t / v.attack);
        const double left = v.secs - t;
        if (left < v.release) env *= smoothStep(left / v.release);
        out[i] = static_cast<float>(y * env);
    }
    normaliseRms(out);
    return out;
}

// ---------------------------------------------------------------- claps, whistles

Signal clap(Rng& rng, double brightness) {
    const std::size_t n = samples(0.07);
    Signal s = whiteNoise(rng, n);
    // Hands meet in a few quick slaps before the ringing of the palms dies.
    const double t2 = rng.uniform(0.0008, 0.003), t3 = t2 + rng.uniform(0.001, 0.004);
    const double tau = rng.uniform(0.005, 0.013);
    shape(s, [&](double t) {
        double e = std::exp(-t / tau);
        e += 0.6 * std::exp(-std::max(0.0, t - t2) / 0.0008) * (t >= t2);
        e += 0.4 * std::exp(-std::max(0.0, t - t3) / 0.0008) * (t >= t3);
        return e * std::min(1.0, t / 0.0004);
    });
    const double q = rng.uniform(1.1, 2.2);
    apply(s, Biquad::bandpass(std::min(4500.0, rng.uniform(850, 1900) * brightness), q));
    apply(s, Biquad::highpass(250));
    const double p = peak(s);
    if (p > 0) gain(s, 0.5 / p);
    return s;
}

Signal whistle(Rng& rng) {
    const int kind = rng.integer(0, 2);
    double secs = 0;
    std::function<double(double)> pitch;
    if (kind == 0) {  // through the fingers: a long, steady, piercing note
        secs = rng.uniform(0.6, 1.4);
        const double f = rng.uniform(2300, 3300);
        pitch = [f, secs](double t) {
            return f * (0.95 + 0.05 * smoothStep(t / 0.08)) * (1 - 0.06 * smoothStep((t - secs + 0.15) / 0.15));
        };
    } else if (kind == 1) {  // the two-part wolf whistle
        secs = 0.85;
        pitch = [](double t) {
            if (t < 0.3) return 1300 + 1500 * smoothStep(t / 0.25);
            return 1500 + 1400 * smoothStep((t - 0.3) / 0.15) - 1600 * smoothStep((t - 0.5) / 0.35);
        };
    } else {  // quick up and down
        secs = rng.uniform(0.3, 0.5);
        const double f = rng.uniform(1800, 2600);
        pitch = [f, secs](double t) { return f * (1 + 0.25 * std::sin(kPi * t / secs)); };
    }
    const std::size_t n = samples(secs);
    Signal s(n);
    double phase = 0;
    const double vib = rng.uniform(5, 7);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = seconds(i);
        double f = pitch(t) * (1 + 0.004 * std::sin(2 * kPi * vib * t));
        if (kind == 1 && t >= 0.26 && t < 0.31) f = 0;  // the break between the halves
        phase += 2 * kPi * std::min(f, kRate * 0.45) / kRate;
        double env = smoothStep(t / 0.02) * smoothStep((secs - t) / 0.06);
        if (kind == 1) env *= (t < 0.26 || t > 0.31) ? 1.0 : 0.0;
        s[i] = static_cast<float>((std::sin(phase) + 0.05 * rng.uniform(-1, 1)) * env);
    }
    apply(s, Biquad::highpass(900));
    fadeIn(s, 0.005);
    fadeOut(s, 0.01);
    normaliseRms(s);
    return s;
}

std::vector<double> eventTimes(Rng& rng, double secs, double ratePerSec,
                               const std::function<double(double)>& intensity) {
    std::vector<double> times;
    if (ratePerSec <= 0) return times;
    double t = 0;
    while (true) {
        t += -std::log(1.0 - rng.uniform()) / ratePerSec;
        if (t >= secs) break;
        if (rng.uniform() < clamp01(intensity(t))) times.push_back(t);
    }
    return times;
}

// ---------------------------------------------------------------- crowd

Signal crowd(Rng& master, double secs, const CrowdMood& mood) {
    const std::size_t n = samples(secs);
    Signal out(n, 0.0f);

    // Talkers.
    Rng r1 = master.fork(1);
    Signal talk(n, 0.0f);
    for (int i = 0; i < mood.talkers; ++i) {
        const Seat seat = randomSeat(r1, mood.brightness);
        place(talk, talker(r1, secs, mood), 0.0, seat, 1.0);
    }
    mixAt(out, talk, 0.0, 1.0);

    // Breath of the crowd.
    Rng r2 = master.fork(2);
    for (int i = 0; i < mood.noiseVoices; ++i) {
        Signal nv = noiseVoice(r2, secs, mood.brightness);
        shape(nv, [&](double t) { return 0.5 + 0.5 * mood.intensity(t); });
        mixAt(out, nv, 0.0, 0.16);
    }

    // Spoken phrases far off, too blurred to follow.
    Rng r3 = master.fork(3);
    for (double t : eventTimes(r3, secs, mood.murmurPerSec, mood.intensity)) {
        const auto& lines = murmurLines();
        const Voice voice = randomVoice(r3);
        Signal phrase = speak(lines[static_cast<std::size_t>(r3.integer(0, int(lines.size()) - 1))], voice);
        normaliseRms(phrase);
        Seat seat = randomSeat(r3, 0.6);
        seat.gain *= 0.5;
        place(out, phrase, t, seat, 1.0);
    }

    // Shouts.
    Rng r4 = master.fork(4);
    for (double t : eventTimes(r4, secs, mood.shoutsPerSec, mood.intensity)) {
        const Seat seat = randomSeat(r4, mood.brightness);
        const double gain = 2.5 * r4.uniform(0.5, 1.0) * mood.intensity(t);
        place(out, shout(r4, mood.pitchLift, mood.brightness), t, seat, gain);
    }

    // Applause: each clapper keeps a rate of his own; the crowd's intensity
    // decides who joins in.
    Rng r5 = master.fork(5);
    if (mood.applause > 0) {
        std::vector<Signal> bank;
        for (int i = 0; i < 48; ++i) bank.push_back(clap(r5, mood.brightness));
        const int clappers = static_cast<int>(std::lround(mood.applause));
        for (int c = 0; c < clappers; ++c) {
            const double rate = r5.uniform(3.2, 6.0);
            const double threshold = r5.uniform(0.05, 1.0);
            const Seat seat = randomSeat(r5, mood.brightness);
            for (double t = r5.uniform(0, 1.0 / rate); t < secs; t += r5.uniform(0.9, 1.1) / rate) {
                const double in = mood.intensity(t);
                if (in < threshold) continue;
                const Signal& c1 = bank[static_cast<std::size_t>(r5.integer(0, 47))];
                mixAt(out, c1, t, seat.gain * 0.5 * std::sqrt(in) * r5.uniform(0.6, 1.0));
            }
        }
    }

    // Whistles.
    Rng r6 = master.fork(6);
    for (double t : eventTimes(r6, secs, mood.whistlesPerSec, mood.intensity)) {
        Seat seat = randomSeat(r6, 1.0);
        place(out, whistle(r6), t, seat, 0.7);
    }

    // The roar of thousands at once, under everything else.
    if (mood.roar > 0) {
        Rng r7 = master.fork(7);
        Signal roar = pinkNoise(r7, n);
        apply(roar, Biquad::highpass(220, 0.6));
        apply(roar, Biquad::peaking(650 * mood.pitchLift, 1.2, 6));
        apply(roar, Biquad::peaking(1700 * mood.brightness, 1.5, 4));
        apply(roar, Biquad::lowpass(3600 * mood.brightness, 0.6));
        normaliseRms(roar);
        const Signal swell = randomCurve(r7, n, 0.8);
        for (std::size_t i = 0; i < n; ++i)
            roar[i] = static_cast<float>(roar[i] * mood.intensity(seconds(i)) * (0.85 + 0.15 * swell[i]));
        mixAt(out, roar, 0.0, mood.roar);
    }

    fitLength(out, n);
    // Voices carry their consonants and their edge across the stands.
    apply(out, Biquad::highShelf(1100, 6.0));
    return out;
}

Signal booing(Rng& rng, double secs, int voices, const std::function<double(double)>& intensity) {
    Signal out(samples(secs), 0.0f);
    for (int i = 0; i < voices; ++i) {
        const bool woman = rng.chance(0.3);
        const double base = woman ? rng.uniform(185, 260) : rng.uniform(95, 150);
        const Seat seat = randomSeat(rng, 1.0);
        double t = rng.uniform(0.0, 1.2);
        while (t < secs) {
            Vocal v;
            v.secs = rng.uniform(0.9, 2.6);
            v.from = rng.chance(0.5) ? Vowel::UH : Vowel::OO;
            v.to = Vowel::OO;
            v.f0Start = base * rng.uniform(1.0, 1.1);
            v.f0Peak = base * rng.uniform(1.05, 1.2);
            v.peakAt = rng.uniform(0.1, 0.3);
            v.f0End = base * rng.uniform(0.75, 0.9);
            v.formantScale = woman ? 1.15 : 1.0;
            v.attack = rng.uniform(0.06, 0.15);
            v.release = std::min(v.secs * 0.5, rng.uniform(0.25, 0.5));
            v.brightness = rng.uniform(1.4, 2.2);
            v.breath = 0.1;
            v.vibratoCents = rng.uniform(10, 35);
            const double gain = rng.uniform(0.6, 1.0) * intensity(t);
            place(out, vocal(rng, v), t, seat, gain);
            t += v.secs + rng.uniform(0.15, 0.9);
        }
    }
    fitLength(out, samples(secs));
    return out;
}

Signal groan(Rng& rng, double secs, int voices) {
    Signal out(samples(secs), 0.0f);
    for (int i = 0; i < voices; ++i) {
        const bool woman = rng.chance(0.35);
        Vocal v;
        v.secs = std::min(secs, rng.uniform(1.3, 2.4));
        const bool aww = rng.chance(0.65);
        v.from = aww ? Vowel::AA : Vowel::AW;
        v.to = aww ? Vowel::AW : Vowel::OO;
        const double top = woman ? rng.uniform(300, 380) : rng.uniform(170, 230);
        v.f0Start = top * 0.92;
        v.f0Peak = top;
        v.peakAt = rng.uniform(0.08, 0.2);
        v.f0End = top * rng.uniform(0.5, 0.62);
        v.formantScale = woman ? 1.15 : 1.0;
        v.attack = rng.uniform(0.05, 0.12);
        v.release = v.secs * 0.5;
        v.brightness = rng.uniform(1.6, 2.6);
        v.breath = 0.15;
        const Seat seat = randomSeat(rng, 1.0);
        const double gain = rng.uniform(0.6, 1.0);
        const double at = rng.uniform(0.0, 0.35);
        place(out, vocal(rng, v), at, seat, gain);
    }
    fitLength(out, samples(secs));
    return out;
}

Signal chant(Rng& rng, const std::string& word, int voices) {
    Signal out;
    for (int i = 0; i < voices; ++i) {
        Voice v = randomVoice(rng);
        v.rate = rng.integer(160, 200);
        v.range = rng.integer(70, 100);
        Signal s = varispeed(speak(word, v), rng.uniform(0.98, 1.02));
        normaliseRms(s);
        // Close by and together: a few people, not the far stands.
        const Seat seat{1.0, 5000.0};
        const double gain = rng.uniform(0.8, 1.0);
        place(out, s, rng.uniform(0.0, 0.025), seat, gain);
    }
    return out;
}

Space stadium() {
    Space s;
    s.decaySecs = 1.9;
    s.damping = 0.5;
    s.wet = 0.35;
    s.dry = 1.0;
    s.predelayMs = 30;
    s.slapMs = 230;
    s.slapGain = 0.22;
    s.size = 1.3;
    return s;
}

}  // namespace sg
