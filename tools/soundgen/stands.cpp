// Sounds of the stands: the crowd loops under the game, the crowd's
// reactions, and the stadium organ.
#include <algorithm>
#include <cmath>
#include <iostream>

#include "crowd.hpp"
#include "music.hpp"
#include "recipes.hpp"

namespace sg {

namespace {

// Crowd material is rendered with a settling lead (so every voice is already
// talking when the loop starts) and cross-faded into a seamless loop.
constexpr double kSettleSecs = 4.0;
constexpr double kLoopFadeSecs = 2.0;

Signal crowdLoop(Rng& rng, double secs, const CrowdMood& mood) {
    const double total = kSettleSecs + secs + kLoopFadeSecs;
    Signal wet = reverb(crowd(rng, total, mood), stadium());
    Signal body(wet.begin() + static_cast<std::ptrdiff_t>(samples(kSettleSecs)),
                wet.begin() + static_cast<std::ptrdiff_t>(samples(kSettleSecs) + samples(secs + kLoopFadeSecs)));
    // Offset and rumble come out before the seam is made, so the loop's
    // mastering needs no filter that would smear the seam.
    apply(body, Biquad::highpass(40));
    return makeLoop(body, samples(secs), samples(kLoopFadeSecs));
}

// Loudness for loops: no fades and no filters, which would break the seam.
// The loop is mastered as three copies in a row and the middle one kept, so
// the peak limiter sees the loop's own end before its start and its gain
// runs on across the seam.
Signal finishLoop(const Signal& loop) {
    Signal three;
    three.reserve(loop.size() * 3);
    for (int i = 0; i < 3; ++i) three.insert(three.end(), loop.begin(), loop.end());
    Master m;
    m.useRms = true;
    m.rmsDb = level::kCrowdLoop;
    m.fadeInSecs = 0;
    m.fadeOutSecs = 0;
    m.highpassHz = 0;
    master(three, m);
    return takePeriod(three, loop.size(), 1);
}

Signal finishOneShot(Signal s, double secs, double peakDb, double fadeIn, double fadeOut) {
    fitLength(s, samples(secs));
    Master m;
    m.peakDb = peakDb;
    m.fadeInSecs = fadeIn;
    m.fadeOutSecs = fadeOut;
    m.highpassHz = 40;
    master(s, m);
    return s;
}

double ramp(double t, double from, double to) { return smoothStep((t - from) / (to - from)); }

Space organHall() {
    Space s = stadium();
    s.decaySecs = 2.2;
    s.wet = 0.3;
    s.slapMs = 260;
    s.slapGain = 0.18;
    return s;
}

// The full, bright ballpark registration.
Organ ballparkOrgan() { return Organ{}; }

// "Charge!": the bugle call on the organ, a full chord under its last notes.
// Returns the time of its last note.
double chargeCall(Score& s, double beat, double key) {
    const double e = 1.0;  // one step of the beat grid per short note
    s.add(beat + 0 * e, e, key + 7 - 12);     // sol
    s.add(beat + 1 * e, e, key);              // do
    s.add(beat + 2 * e, e, key + 4);          // mi
    s.add(beat + 3 * e, 3 * e, key + 7, 1.0, 0.8);  // sol, held
    s.add(beat + 6 * e, e, key + 4);          // mi
    s.add(beat + 7 * e, 6 * e, key + 7, 1.0, 0.97);  // sol!
    s.chord(beat + 3 * e, 3 * e, {key - 12, key - 5, key + 4 - 12}, 0.7, 0.8);
    s.chord(beat + 7 * e, 6 * e, {key - 24, key - 12, key - 5, key + 4 - 12}, 0.8, 0.97);
    return s.secs(beat + 7 * e);
}

// The crowd's "Charge!" when the organ's call has rung out: a handful of
// voices close together, clean enough to be understood, standing out from
// everything else, which steps back while they shout; their own short echo
// off the stands follows.
void shoutAfter(Signal& s, Rng& rng, double at) {
    Signal shout = chant(rng, "Charge!", 4);
    const double len = seconds(shout.size());
    Space sp = stadium();
    sp.wet = 0.18;
    shout = reverb(shout, sp);
    auto under = [&](double t) { return smoothStep((t - at + 0.08) / 0.08) * (1 - smoothStep((t - at - len) / 0.25)); };
    shape(s, [&](double t) { return 1 - 0.9 * under(t); });
    const double level = 1.5;
    // How far the shout stands over everything else while it lasts.
    const std::size_t from = samples(at), to = std::min(s.size(), from + samples(len));
    const double shoutDb = gainToDb(level * rms(Signal(shout.begin(), shout.begin() + static_cast<std::ptrdiff_t>(to - from))));
    const double bedDb = gainToDb(rms(Signal(s.begin() + static_cast<std::ptrdiff_t>(from), s.begin() + static_cast<std::ptrdiff_t>(to))));
    std::clog << "  the crowd's \"Charge!\" at " << at << " s is " << std::lround(shoutDb - bedDb)
              << " dB over the organ and the crowd while it lasts\n";
    mixAt(s, shout, at, level);
}

}  // namespace

// ------------------------------------------------------------ loops

Signal crowdMurmurLoop(Rng& rng, double secs) {
    CrowdMood m;
    m.talkers = 46;
    m.syllableRate = 4.2;
    m.talkShare = 0.55;
    m.noiseVoices = 18;
    m.murmurPerSec = 1.4;
    m.shoutsPerSec = 0.12;
    m.applause = 3;
    m.whistlesPerSec = 0.02;
    m.roar = 0.25;
    m.intensity = [](double t) { return 0.8 + 0.2 * std::sin(2 * kPi * t / 17.0); };
    return finishLoop(crowdLoop(rng, secs, m));
}

Signal crowdExcitedLoop(Rng& rng, double secs) {
    CrowdMood m;
    m.talkers = 26;
    m.syllableRate = 5.0;
    m.talkShare = 0.7;
    m.noiseVoices = 20;
    m.murmurPerSec = 1.0;
    m.shoutsPerSec = 6.0;
    m.applause = 22;
    m.whistlesPerSec = 0.25;
    m.roar = 0.9;
    m.pitchLift = 1.2;
    m.brightness = 1.15;
    // Waves of excitement that never quite die down.
    m.intensity = [](double t) {
        return 0.72 + 0.18 * std::sin(2 * kPi * t / 11.0) + 0.1 * std::sin(2 * kPi * t / 4.3 + 1.0);
    };
    return finishLoop(crowdLoop(rng, secs, m));
}

Signal crowdDrumsLoop(Rng& rng, double secs) {
    // One bar of sixteen steps, rendered over four bars through the
    // ballpark's echo; the third bar is taken, when the echo has settled, so
    // the loop is seamless by construction.
    const std::size_t period = samples(secs);
    const double bar = seconds(period);
    const double step = bar / 16;
    const double shift = 0.03;  // the file starts in the echo, not on a hit
    struct Hit {
        double at;
        Signal sound;
        double g;
    };
    std::vector<Hit> hits;
    const int pattern[] = {0, 4, 8, 10, 12};
    for (int st : pattern) {
        const double accent = (st == 0 || st == 8) ? 1.0 : 0.8;
        Rng r = rng.fork(static_cast<std::uint64_t>(st) + 1);
        Signal drum = bassDrum(r, 62, 0.22);
        mixAt(drum, bassDrum(r, 95, 0.12), 0.004, 0.5);  // a tom played with it
        hits.push_back({st * step + shift, drum, accent});
    }
    // The crowd claps along on the beat.
    Rng cr = rng.fork(99);
    for (int st : {4, 12}) {
        Signal claps;
        for (int c = 0; c < 40; ++c) {
            const double level = cr.uniform(0.2, 0.5);
            const double at = cr.uniform(0, 0.035);
            mixAt(claps, clap(cr, 1.0), at, level);
        }
        hits.push_back({st * step + shift - 0.01, claps, 0.35});
    }
    Signal dry(period * 4 + samples(0.5), 0.0f);
    for (int b = 0; b < 4; ++b)
        for (const Hit& h : hits) mixAt(dry, h.sound, h.at + b * bar, h.g);
    Space sp = stadium();
    sp.wet = 0.45;
    Signal wet = reverb(dry, sp);
    apply(wet, Biquad::highpass(40));
    return finishLoop(takePeriod(wet, period, 2));
}

// ------------------------------------------------------------ reactions

Signal cheer(Rng& rng, double secs) {
    CrowdMood m;
    m.talkers = 20;
    m.noiseVoices = 16;
    m.murmurPerSec = 0.5;
    m.shoutsPerSec = 11;
    m.applause = 45;
    m.whistlesPerSec = 0.9;
    m.roar = 1.1;
    m.pitchLift = 1.25;
    m.brightness = 1.2;
    m.intensity = [secs](double t) {
        return 0.15 + 0.85 * ramp(t, 0.0, 0.7) * (1 - 0.85 * ramp(t, 5.0, secs - 0.3)) *
                          (0.9 + 0.1 * std::sin(2 * kPi * t / 2.3));
    };
    Signal s = reverb(crowd(rng, secs, m), stadium());
    return finishOneShot(s, secs, -1.5, 0.15, 1.2);
}

Signal homeRunRoar(Rng& rng, double secs) {
    // A rising "oh" as the ball carries, then the place erupts.
    CrowdMood m;
    m.talkers = 20;
    m.noiseVoices = 18;
    m.murmurPerSec = 0.4;
    m.shoutsPerSec = 15;
    m.applause = 60;
    m.whistlesPerSec = 1.6;
    m.roar = 1.4;
    m.pitchLift = 1.35;
    m.brightness = 1.25;
    const double burst = 1.1;
    m.intensity = [secs, burst](double t) {
        return 0.1 + 0.9 * ramp(t, burst - 0.1, burst + 0.35) * (1 - 0.85 * ramp(t, 6.5, secs - 0.2));
    };
    Signal s = crowd(rng, secs, m);
    Rng r = rng.fork(11);
    Signal oh(samples(secs), 0.0f);
    for (int i = 0; i < 30; ++i) {
        Vocal v;
        v.secs = burst + 0.25;
        v.from = Vowel::AW;
        v.to = Vowel::OO;
        const double f0 = r.chance(0.4) ? r.uniform(230, 300) : r.uniform(120, 170);
        v.f0Start = f0;
        v.f0Peak = f0 * 1.35;
        v.peakAt = 0.95;
        v.f0End = f0 * 1.4;
        v.formantScale = f0 > 200 ? 1.15 : 1.0;
        v.attack = 0.5;
        v.release = 0.2;
        v.brightness = 2.0;
        const double level = r.uniform(0.3, 0.6);
        const double at = r.uniform(0, 0.15);
        mixAt(oh, vocal(r, v), at, level);
    }
    mixAt(s, oh, 0.0, 1.0);
    s = reverb(s, stadium());
    return finishOneShot(s, secs, -1.5, 0.2, 1.5);
}

Signal boo(Rng& rng, double secs) {
    auto intensity = [secs](double t) {
        return ramp(t, 0.0, 1.0) * (1 - 0.9 * ramp(t, secs - 3.5, secs)) * (0.85 + 0.15 * std::sin(2 * kPi * t / 3.1));
    };
    Signal s = booing(rng, secs, 46, intensity);
    CrowdMood m;
    m.talkers = 14;
    m.noiseVoices = 10;
    m.murmurPerSec = 0.6;
    m.whistlesPerSec = 0.35;  // the whistles of disapproval
    m.roar = 0.3;
    m.intensity = [secs](double t) { return 0.5 + 0.5 * (1 - ramp(t, secs - 3.0, secs)); };
    mixAt(s, crowd(rng, secs, m), 0.0, 0.45);
    s = reverb(s, stadium());
    return finishOneShot(s, secs, -1.5, 0.3, 1.5);
}

// ------------------------------------------------------------ the organ

Signal chargeLong(Rng& rng, double secs) {
    // The organ climbs, the crowd clapping along and getting louder; then
    // the call, the crowd's "Charge!", and all of it again a step higher.
    const double beat = 0.135;
    Score org(beat, 0.25);
    double b = 0;
    std::vector<double> clapTimes;
    for (int i = 0; i < 14; ++i) {  // chromatic climb, two stabs per step
        const double m = 55 + i;
        org.chord(b, 1, {m, m + 4, m - 12}, 0.75, 0.7);
        org.chord(b + 2, 1, {m, m + 4, m - 12}, 0.75, 0.7);
        clapTimes.push_back(org.secs(b));
        clapTimes.push_back(org.secs(b + 2));
        b += 4;
    }
    org.chord(b, 6, {67, 71, 74, 55}, 0.8);  // the dominant, held
    b += 8;
    const double call1 = chargeCall(org, b, 72);
    b += 21;
    for (int i = 0; i < 6; ++i) {  // a shorter climb, into the new key
        const double m = 62 + i;
        org.chord(b, 1, {m, m + 4, m - 12}, 0.8, 0.7);
        org.chord(b + 2, 1, {m, m + 4, m - 12}, 0.8, 0.7);
        clapTimes.push_back(org.secs(b));
        clapTimes.push_back(org.secs(b + 2));
        b += 4;
    }
    b += 2;
    const double call2 = chargeCall(org, b, 74);

    Signal s = organ(org.notes(), ballparkOrgan(), rng);
    gain(s, 0.7);
    fitLength(s, samples(secs));

    // Claps on the stabs, more hands as the climb goes on.
    Rng cr = rng.fork(3);
    for (std::size_t i = 0; i < clapTimes.size(); ++i) {
        const int hands = 6 + static_cast<int>(i) * 2;
        for (int c = 0; c < std::min(hands, 50); ++c) {
            const double at = clapTimes[i] + cr.uniform(-0.01, 0.035);
            mixAt(s, clap(cr, 1.0), at, 0.08);
        }
    }

    CrowdMood m;
    m.talkers = 16;
    m.noiseVoices = 12;
    m.murmurPerSec = 0.4;
    m.shoutsPerSec = 7;
    m.applause = 30;
    m.whistlesPerSec = 0.6;
    m.roar = 0.9;
    m.pitchLift = 1.2;
    const double shout1 = call1 + 1.0, shout2 = call2 + 1.0;
    const double c1 = shout1 + 1.5, c2 = shout2 + 1.5;
    m.intensity = [=](double t) {
        const double build = 0.2 + 0.3 * ramp(t, 0, c1 - 1.5);
        const double after1 = ramp(t, c1 - 0.2, c1 + 0.3) * (1 - 0.7 * ramp(t, c1 + 1.5, c1 + 3.5));
        const double after2 = ramp(t, c2 - 0.2, c2 + 0.3) * (1 - 0.9 * ramp(t, c2 + 2.0, secs));
        return std::clamp(std::max({build * (1 - ramp(t, secs - 1.0, secs)), after1, after2}), 0.0, 1.0);
    };
    mixAt(s, crowd(rng, secs, m), 0.0, 0.5);
    s = reverb(s, organHall());
    Rng chantRng = rng.fork(4);
    shoutAfter(s, chantRng, shout1);
    shoutAfter(s, chantRng, shout2);
    return finishOneShot(s, secs, -1.5, 0.05, 1.2);
}

Signal chargeShort(Rng& rng, double secs) {
    Score org(0.135, 0.15);
    const double call = chargeCall(org, 0, 72);
    Signal s = organ(org.notes(), ballparkOrgan(), rng);
    gain(s, 0.7);
    fitLength(s, samples(secs));
    CrowdMood m;
    m.talkers = 14;
    m.noiseVoices = 12;
    m.murmurPerSec = 0.3;
    m.shoutsPerSec = 8;
    m.applause = 30;
    m.whistlesPerSec = 0.7;
    m.roar = 1.0;
    m.pitchLift = 1.2;
    // The shout comes as the held note dies away; the roar after it.
    const double shoutAt = call + 1.0;
    const double c = shoutAt + 1.5;
    m.intensity = [=](double t) {
        return 0.2 + 0.8 * ramp(t, c - 0.2, c + 0.3) * (1 - 0.9 * ramp(t, c + 2.0, secs));
    };
    mixAt(s, crowd(rng, secs, m), 0.0, 0.5);
    s = reverb(s, organHall());
    Rng chantRng = rng.fork(4);
    shoutAfter(s, chantRng, shoutAt);
    return finishOneShot(s, secs, -1.5, 0.05, 1.0);
}

Signal takeMeOut(Rng& rng, double secs) {
    // "Take Me Out to the Ball Game" (1908), chorus, in C, as a brisk waltz.
    // Melody bars: {midi, beats}; a rest is 0.
    struct N {
        double midi, beats;
    };
    const std::vector<std::vector<N>> bars = {
        {{60, 2}, {72, 1}}, {{69, 1}, {67, 1}, {64, 1}}, {{67, 3}}, {{62, 3}},           // Take me out to the ball game
        {{60, 2}, {72, 1}}, {{69, 1}, {67, 1}, {64, 1}}, {{67, 5}}, {{0, 1}},            // Take me out with the crowd
        {{69, 1}, {68, 1}, {69, 1}}, {{64, 1}, {65, 1}, {67, 1}}, {{69, 2}, {65, 1}}, {{62, 3}},  // Buy me some peanuts...
        {{69, 2}, {69, 1}}, {{69, 1}, {71, 1}, {72, 1}}, {{74, 1}, {71, 1}, {69, 1}}, {{67, 3}},  // I don't care if I never get back
        {{60, 2}, {72, 1}}, {{69, 1}, {67, 1}, {64, 1}}, {{67, 3}}, {{62, 3}},           // Let me root, root, root...
        {{60, 1}, {62, 1}, {64, 1}}, {{65, 1}, {67, 1}, {69, 1}}, {{69, 3}}, {{0, 1}, {69, 1}, {71, 1}},  // If they don't win...
        {{72, 3}}, {{72, 3}}, {{72, 2}, {71, 1}}, {{69, 1}, {67, 2}},                    // For it's one, two, three strikes
        {{66, 1}, {67, 1}, {69, 1}}, {{71, 3}}, {{72, 6}}, {{0, 3}}};                   // ...at the old ball game
    // Chord of each bar: root and quality, for the bass and the afterbeats.
    struct C {
        double root;
        bool minor, seventh;
    };
    const std::vector<C> chords = {
        {48, false, false}, {48, false, false}, {43, false, true}, {43, false, true},
        {48, false, false}, {48, false, false}, {48, false, false}, {45, false, true},
        {50, true, false},  {45, false, true},  {50, true, false},  {50, false, true},
        {50, false, true},  {50, false, true},  {43, false, true},  {43, false, true},
        {48, false, false}, {48, false, false}, {43, false, true},  {43, false, true},
        {48, false, false}, {41, false, false}, {50, false, true},  {43, false, true},
        {48, false, false}, {48, false, false}, {41, false, false}, {48, false, false},
        {50, false, true},  {43, false, true},  {48, false, false}, {48, false, false}};

    const double beat = 0.238;
    const double lead = 0.12;
    Score melody(beat, lead), accomp(beat, lead);
    double b = 0;
    for (std::size_t bar = 0; bar < bars.size(); ++bar) {
        double inBar = 0;
        for (const N& n : bars[bar]) {
            if (n.midi > 0) {
                melody.add(b + inBar, n.beats, n.midi, 1.0, 0.9);
                melody.add(b + inBar, n.beats, n.midi - 12, 0.45, 0.9);  // octave below, as organists play it
            }
            inBar += n.beats;
        }
        const C& c = chords[bar];
        const double third = c.root + (c.minor ? 3 : 4), fifth = c.root + 7;
        accomp.add(b, 1, c.root - 12, 0.6, 0.8);  // pedal on the downbeat
        const bool ending = bar + 2 >= bars.size();  // the held final chord takes over
        if (!ending) {
            for (int k = 1; k <= 2; ++k) {
                std::initializer_list<double> notes = {c.root + 12, third + 12, fifth};
                accomp.chord(b + k, 1, notes, 0.32, 0.6);
                if (c.seventh) accomp.add(b + k, 1, c.root + 10 + 12, 0.32, 0.6);
            }
        }
        b += 3;
    }
    // Final chord, held under the last note.
    accomp.chord(b - 6, 6, {48, 55, 64, 67, 36}, 0.5, 0.98);

    Organ stops = ballparkOrgan();
    Signal s = organ(melody.notes(), stops, rng);
    Organ lower;
    lower.drawbars = {8, 4, 8, 4, 0, 0, 0, 0, 0};
    lower.percussion = 0;
    mixAt(s, organ(accomp.notes(), lower, rng), 0.0, 0.8);
    CrowdMood m;
    m.talkers = 18;
    m.noiseVoices = 8;
    m.murmurPerSec = 0.3;
    m.applause = 0;
    m.roar = 0.15;
    Signal bed = crowd(rng, secs, m);
    apply(bed, Biquad::lowpass(2200));
    mixAt(s, bed, 0.0, 0.05);
    s = reverb(s, organHall());
    return finishOneShot(s, secs, -1.5, 0.02, 0.8);
}

Signal championship(Rng& rng, double secs) {
    // Brass and organ together, over a crowd that will not stop.
    const double beat = 0.46;
    Score tune(beat, 0.3), harm(beat, 0.3), drums(beat, 0.3);
    const double t3 = 1.0 / 3.0;
    tune.add(0, t3, 67).add(t3, t3, 67).add(2 * t3, t3, 67).add(1, 1.5, 72);
    tune.add(2.5, 0.5, 67).add(3, 0.5, 72).add(3.5, 2, 76);
    tune.add(5.5, t3, 74).add(5.5 + t3, t3, 76).add(5.5 + 2 * t3, t3, 77).add(6.5, 2, 79);
    tune.add(8.5, 0.5, 81).add(9, 0.5, 79).add(9.5, 0.5, 77).add(10, 0.5, 76);
    tune.add(10.5, 1, 74).add(11.5, 1, 79, 1.0, 0.85).add(12.5, 4, 84, 1.0, 0.98);
    harm.chord(1, 2.4, {60, 64, 55}).chord(3.5, 2, {60, 64, 67, 48});
    harm.chord(6.5, 2, {64, 67, 71, 52}).chord(8.5, 2, {65, 69, 72, 53});
    harm.chord(10.5, 2, {67, 71, 74, 65, 55}).chord(12.5, 4, {72, 76, 79, 64, 48, 36}, 1.0, 0.98);
    Rng br = rng.fork(1);
    Signal s = brass(tune.notes(), br, 1.1);
    Score trumpets2(beat, 0.3);  // a second trumpet a third below in the big moments
    trumpets2.add(3.5, 2, 72).add(6.5, 2, 76).add(12.5, 4, 79, 1.0, 0.98);
    mixAt(s, brass(trumpets2.notes(), br, 1.0), 0.0, 0.55);
    mixAt(s, organ(harm.notes(), ballparkOrgan(), rng), 0.0, 0.6);
    Rng dr = rng.fork(2);
    for (double at : {1.0, 3.5, 6.5, 8.5, 10.5, 11.5, 12.5}) mixAt(s, bassDrum(dr, 58, 0.35), drums.secs(at), 0.7);
    for (int i = 0; i < 16; ++i) mixAt(s, bassDrum(dr, 70, 0.08), drums.secs(11.5 + i / 16.0), 0.25 + i * 0.02);
    gain(s, 0.8);
    fitLength(s, samples(secs));

    CrowdMood m;
    m.talkers = 16;
    m.noiseVoices = 16;
    m.murmurPerSec = 0.3;
    m.shoutsPerSec = 13;
    m.applause = 55;
    m.whistlesPerSec = 1.4;
    m.roar = 1.3;
    m.pitchLift = 1.3;
    m.brightness = 1.2;
    m.intensity = [secs](double t) { return 0.35 + 0.65 * ramp(t, 0, 1.0) * (1 - 0.8 * ramp(t, secs - 3.5, secs)); };
    mixAt(s, crowd(rng, secs, m), 0.0, 0.45);
    s = reverb(s, organHall());
    return finishOneShot(s, secs, -1.5, 0.05, 1.5);
}

Signal losers(Rng& rng, double secs) {
    // Down a semitone at a time, the last note drooping with the plunger.
    Score t(0.5, 0.12);
    t.add(0, 1, 55, 1.0, 0.85).add(1, 1, 54, 1.0, 0.85).add(2, 1, 53, 1.0, 0.85);
    t.add(3, 3.6, 52, 1.5, 0.95);
    Signal s = trombone(t.notes(), rng);
    fitLength(s, samples(secs));
    Rng gr = rng.fork(1);
    mixAt(s, groan(gr, 3.0, 34), 2.2, 0.55);
    s = reverb(s, stadium());
    return finishOneShot(s, secs, -1.5, 0.02, 0.8);
}

Signal breakFlourish(Rng& rng, double secs) {
    Score s(0.07, 0.02);
    const double run[] = {60, 64, 67, 72, 76, 79};
    for (int i = 0; i < 6; ++i) s.add(i, 1, run[i], 0.9, 0.95);
    s.chord(6, 10, {72, 76, 79, 84, 48, 60}, 1.0, 0.98);
    Signal o = organ(s.notes(), ballparkOrgan(), rng);
    Space hall = organHall();
    hall.decaySecs = 1.4;
    o = reverb(o, hall);
    return finishOneShot(o, secs, -1.5, 0.005, 0.35);
}

}  // namespace sg
