// Radio spots between innings: a jingle, an announcer over a music bed, and
// a closing button. The sponsors are our own inventions.
#include <algorithm>
#include <cmath>
#include <functional>
#include <iostream>
#include <stdexcept>
#include <string>

#include "music.hpp"
#include "recipes.hpp"
#include "speech.hpp"

namespace sg {

namespace {

struct Spot {
    std::string line;
    Voice voice;
    double voiceAt;        // the announcer comes in here
    double buttonSecs;     // room kept at the end for the closing button
    // Music for the whole spot, told when the announcer talks.
    std::function<Signal(Rng&, double secs, double voiceAt, double voiceEnd)> music;
};

// The fastest an announcer may read, in words a minute: a line that only
// fits faster is too long for its spot.
constexpr int kMaxAnnouncerRate = 190;

Signal announcer(const Spot& spot, double maxSecs) {
    int rate = 0;
    Signal v = speakWithin(spot.line, spot.voice, maxSecs, &rate);
    if (rate > kMaxAnnouncerRate)
        throw std::runtime_error("the line \"" + spot.line + "\" fits its spot only at " + std::to_string(rate) +
                                 " words a minute");
    apply(v, Biquad::highpass(110));
    apply(v, Biquad::peaking(3000, 1.0, 3));
    apply(v, Biquad::lowShelf(250, 2));
    const double p = peak(v);
    if (p > 0) gain(v, 0.9 / p);
    compress(v, -20, 3.0, 3, 120, 3);
    saturate(v, 1.4);
    return v;
}

// Loudness in dB of the loudest 0.1 s window of `s` in [from, to).
double loudestWindowDb(const Signal& s, std::size_t from, std::size_t to) {
    const std::size_t w = samples(0.1);
    double best = 0;
    for (std::size_t i = from; i + w <= std::min(to, s.size()); i += w / 2)
        best = std::max(best, rms(Signal(s.begin() + static_cast<std::ptrdiff_t>(i),
                                         s.begin() + static_cast<std::ptrdiff_t>(i + w))));
    return best > 0 ? 20 * std::log10(best) : -240.0;
}

// Tells how the announcer stands against the music: his level over the
// bed's while he talks, and his loudest 0.1 s against the loudest 0.1 s of
// the music before and after him.
void reportLevels(const Signal& voice, const Signal& music, double voiceAt) {
    const std::size_t from = samples(voiceAt), to = std::min(music.size(), from + voice.size());
    const double voiceDb = gainToDb(rms(voice));
    const double bedDb = gainToDb(rms(Signal(music.begin() + static_cast<std::ptrdiff_t>(from),
                                             music.begin() + static_cast<std::ptrdiff_t>(to))));
    const double outside = std::max(loudestWindowDb(music, 0, from), loudestWindowDb(music, to, music.size()));
    const double voicePeakDb = loudestWindowDb(voice, 0, voice.size());
    std::clog << "  the announcer is " << std::lround(voiceDb - bedDb) << " dB over the music while he talks; "
              << "his loudest moment " << std::lround(voicePeakDb - outside)
              << " dB against the music's loudest before and after\n";
}

Signal radioSpot(Rng& rng, double secs, const Spot& spot) {
    const Signal voice = announcer(spot, secs - spot.voiceAt - spot.buttonSecs);
    const double voiceEnd = spot.voiceAt + seconds(voice.size());
    Signal music = spot.music(rng, secs, spot.voiceAt, voiceEnd);
    fitLength(music, samples(secs));
    // The music steps back while the announcer talks.
    const double duck = 0.8;
    auto talking = [&](double t) {
        return smoothStep((t - spot.voiceAt + 0.15) / 0.15) * (1 - smoothStep((t - voiceEnd) / 0.15));
    };
    shape(music, [&](double t) { return 1 - duck * talking(t); });
    const double mp = peak(music);
    if (mp > 0) gain(music, 0.8 / mp);
    // Before and after him the jingle and the button stay a little under
    // his loudest words, so the spot never sounds louder than its line.
    const std::size_t from = samples(spot.voiceAt), to = std::min(music.size(), from + voice.size());
    const double over = std::max(loudestWindowDb(music, 0, from), loudestWindowDb(music, to, music.size())) -
                        (loudestWindowDb(voice, 0, voice.size()) - 2.0);
    if (over > 0) {
        const double down = std::pow(10.0, -over / 20.0);
        shape(music, [&](double t) { return 1 - (1 - down) * (1 - talking(t)); });
    }
    reportLevels(voice, music, spot.voiceAt);
    Signal out = music;
    mixAt(out, voice, spot.voiceAt, 1.0);
    fitLength(out, samples(secs));
    Master m;
    m.useRms = true;
    m.rmsDb = level::kCommercial;
    m.fadeInSecs = 0.01;
    m.fadeOutSecs = 0.3;
    m.highpassHz = 40;
    master(out, m);
    return out;
}

Voice voiceOf(const std::string& name, int pitch, int range, int rate) {
    Voice v;
    v.name = name;
    v.pitch = pitch;
    v.range = range;
    v.rate = rate;
    return v;
}

// A can opened, and the fizz rising in it.
Signal fizz(Rng& rng, double secs) {
    Signal s = whiteNoise(rng, samples(0.3));
    apply(s, Biquad::highpass(2200, 0.7));
    shape(s, [](double t) { return smoothStep(t / 0.005) * std::exp(-t / 0.07); });
    Signal bubbles(samples(secs), 0.0f);
    for (int i = 0; i < 180; ++i) {
        const double at = 0.05 + (secs - 0.1) * std::pow(rng.uniform(), 1.8);
        Signal b = whiteNoise(rng, samples(0.004));
        apply(b, Biquad::bandpass(rng.uniform(2500, 5000), 4));
        mixAt(bubbles, b, at, rng.uniform(0.2, 0.6) * (1 - at / secs));
    }
    mixAt(s, bubbles, 0.0, 1.0);
    return s;
}

Space studio() {
    Space s;
    s.decaySecs = 0.9;
    s.wet = 0.16;
    s.size = 0.8;
    s.predelayMs = 12;
    return s;
}

}  // namespace

Signal spotLager(Rng& rng, double secs) {
    Spot s;
    s.line = "Bramblewood Lager. Brewed slow, poured ice cold, and made for a long summer afternoon at the ballpark.";
    s.voice = voiceOf("en-us+m3", 38, 60, 175);
    s.voiceAt = 1.45;
    s.buttonSecs = 1.0;
    s.music = [](Rng& r, double total, double, double voiceEnd) {
        Score fan(0.16, 0.05);
        fan.add(0, 1, 60).add(1, 1, 65).add(2, 1, 69).add(3, 4, 72, 1.0, 0.96);
        Signal m = brass(fan.notes(), r, 1.0);
        Score pad(1.0);  // beats of one second: the bed follows the announcer
        pad.chord(0.53, 0.8, {53, 57, 60, 41}, 1.0, 1.0);
        const double bedEnd = voiceEnd + 0.1;
        const double chordSecs = 1.6;
        const double roots[] = {53, 58, 60, 53, 58, 60};
        int k = 0;
        for (double t = 1.25; t < bedEnd; t += chordSecs, ++k) {
            const double root = roots[k % 6];
            pad.chord(t, std::min(chordSecs, bedEnd - t + 0.2), {root, root + 4, root + 7, root - 12}, 0.8, 0.98);
        }
        Organ mellow;
        mellow.drawbars = {6, 0, 8, 4, 0, 0, 0, 0, 0};
        mellow.percussion = 0;
        mixAt(m, organ(pad.notes(), mellow, r), 0.0, 0.5);
        Score button(0.13, std::min(voiceEnd + 0.08, total - 0.95));
        button.add(0, 1, 65).add(1, 1, 69).add(2, 1, 72).add(3, 4, 77, 1.0, 0.95);
        button.chord(3, 4, {65, 69, 72}, 0.8, 0.95);
        mixAt(m, brass(button.notes(), r, 1.1), 0.0, 1.0);
        mixAt(m, bells(button.notes()), 0.0, 0.3);
        return reverb(m, studio());
    };
    return radioSpot(rng, secs, s);
}

Signal spotCola(Rng& rng, double secs) {
    Spot s;
    s.line = "Fizzleberry Cola! Crisp, cold and bubbly. Grab one!";
    s.voice = voiceOf("en-us+f2", 60, 80, 185);
    s.voiceAt = 1.35;
    s.buttonSecs = 0.85;
    s.music = [](Rng& r, double total, double, double voiceEnd) {
        Signal m = fizz(r, 1.2);
        gain(m, 0.6);
        Score tune(0.12, 0.35);
        const double mel[] = {67, 72, 76, 79, 76, 72, 74, 79};
        for (int i = 0; i < 8; ++i) tune.add(i, i == 7 ? 2 : 1, mel[i]);
        mixAt(m, marimba(tune.notes(), r), 0.0, 1.0);
        mixAt(m, bells(tune.notes()), 0.0, 0.35);
        Score bass(0.24, 0.35);
        for (int i = 0; i < 4 + static_cast<int>((voiceEnd - 0.35) / 0.48); ++i)
            bass.add(2 * i, 1, (i % 2 == 0) ? 36 : 43, 0.8, 0.7);
        mixAt(m, pluckBass(bass.notes()), 0.0, 0.8);
        Score button(0.1, std::min(voiceEnd + 0.06, total - 0.8));
        button.add(0, 1, 72).add(1, 1, 76).add(2, 1, 79).add(3, 3, 84);
        mixAt(m, marimba(button.notes(), r), 0.0, 1.0);
        mixAt(m, bells(button.notes()), 0.0, 0.5);
        return reverb(m, studio());
    };
    return radioSpot(rng, secs, s);
}

Signal spotTonic(Rng& rng, double secs) {
    Spot s;
    s.line = "Doctor Thistle's Tonic. Spicy, sweet, a little strange!";
    s.voice = voiceOf("en-us+m7", 55, 90, 175);
    s.voiceAt = 1.0;
    s.buttonSecs = 0.8;
    s.music = [](Rng& r, double total, double, double voiceEnd) {
        Score tune(0.11, 0.03);
        const double mel[] = {69, 72, 71, 68, 69, 64, 65, 64};
        for (int i = 0; i < 8; ++i) tune.add(i, 1, mel[i], 0.9, 0.8);
        Signal m = marimba(tune.notes(), r);
        Organ quirky;
        quirky.drawbars = {0, 0, 8, 0, 8, 0, 0, 0, 6};
        quirky.vibratoCents = 18;
        Score pad(0.11, 0.03);
        pad.chord(0, (voiceEnd + 0.1) / 0.11, {57, 60, 64, 45}, 0.5, 1.0);
        mixAt(m, organ(pad.notes(), quirky, r), 0.0, 0.4);
        Score bass(0.22, 0.03);
        for (int i = 0; i < static_cast<int>(voiceEnd / 0.22); ++i) bass.add(i, 1, (i % 4 < 2) ? 33 : 40, 0.7, 0.6);
        mixAt(m, pluckBass(bass.notes()), 0.0, 0.7);
        Score button(0.08, std::min(voiceEnd + 0.05, total - 0.75));
        button.add(0, 1, 76).add(1, 1, 75).add(2, 1, 76).add(3, 1, 72).add(4, 4, 69);
        mixAt(m, marimba(button.notes(), r), 0.0, 1.0);
        return reverb(m, studio());
    };
    return radioSpot(rng, secs, s);
}

Signal spotBayLager(Rng& rng, double secs) {
    Spot s;
    s.line = "Wallaby Creek Lager. Cold, and brewed for good times!";
    s.voice = voiceOf("en+m1", 42, 75, 175);
    s.voiceAt = 0.95;
    s.buttonSecs = 0.75;
    s.music = [](Rng& r, double total, double, double voiceEnd) {
        Score fan(0.13, 0.03);
        fan.add(0, 1, 62).add(1, 1, 66).add(2, 1, 69).add(3, 3, 74, 1.0, 0.95);
        Signal m = brass(fan.notes(), r, 1.0);
        mixAt(m, bells(fan.notes()), 0.0, 0.3);
        Organ soft;
        soft.drawbars = {4, 0, 8, 6, 0, 0, 0, 0, 0};
        soft.percussion = 0;
        Score pad(1.0, 0.75);
        pad.chord(0, voiceEnd - 0.6, {62, 66, 69, 50}, 0.6, 1.0);
        mixAt(m, organ(pad.notes(), soft, r), 0.0, 0.45);
        Score button(0.12, std::min(voiceEnd + 0.05, total - 0.7));
        button.add(0, 1, 69).add(1, 4, 74, 1.0, 0.95);
        button.chord(1, 4, {66, 69, 50}, 0.8, 0.95);
        mixAt(m, brass(button.notes(), r, 1.1), 0.0, 1.0);
        return reverb(m, studio());
    };
    return radioSpot(rng, secs, s);
}

Signal spotSportsDrink(Rng& rng, double secs) {
    Spot s;
    s.line = "Zoomwell sports drink. Go better!";
    s.voice = voiceOf("en-us+m5", 50, 85, 180);
    s.voiceAt = 0.8;
    s.buttonSecs = 0.7;
    s.music = [](Rng& r, double total, double, double voiceEnd) {
        const double beat = 0.15;
        Signal m;
        Rng dr = r.fork(1);
        const int beats = static_cast<int>((voiceEnd + 0.2) / beat);
        for (int i = 0; i < beats; ++i) {
            if (i % 2 == 0) mixAt(m, bassDrum(dr, 60, 0.12), i * beat, 0.8);
            else mixAt(m, snare(dr), i * beat, 0.45);
        }
        Score riff(beat / 2, 0.0);
        const double mel[] = {64, 67, 69, 71, 72, 71, 69, 72};
        for (int i = 0; i < 8; ++i) riff.add(i, 1, mel[i], 0.9, 0.8);
        mixAt(m, brass(riff.notes(), r, 1.4), 0.0, 0.8);
        Score bass(beat, 0.0);
        for (int i = 0; i < beats; ++i) bass.add(i, 1, (i / 4) % 2 == 0 ? 40 : 45, 0.8, 0.6);
        mixAt(m, pluckBass(bass.notes()), 0.0, 0.6);
        const double at = std::min(voiceEnd + 0.05, total - 0.65);
        Score button(0.1, at);
        button.chord(0, 5, {76, 79, 83, 64}, 1.0, 0.95);
        mixAt(m, brass(button.notes(), r, 1.4), 0.0, 0.9);
        mixAt(m, bassDrum(dr, 55, 0.3), at, 1.0);
        return reverb(m, studio());
    };
    return radioSpot(rng, secs, s);
}

Signal spotCometCola(Rng& rng, double secs) {
    Spot s;
    s.line = "Blue Comet Cola. Taste it!";
    s.voice = voiceOf("en-us+f4", 55, 75, 185);
    s.voiceAt = 0.55;
    s.buttonSecs = 0.5;
    s.music = [](Rng& r, double total, double, double voiceEnd) {
        Signal m = fizz(r, 0.8);
        gain(m, 0.5);
        Score sweep(0.05, 0.05);
        for (int i = 0; i < 8; ++i) sweep.add(i, 1, 72 + i * 2, 0.6);
        mixAt(m, bells(sweep.notes()), 0.0, 0.6);
        Score button(0.09, std::min(voiceEnd + 0.03, total - 0.45));
        button.add(0, 1, 79).add(1, 3, 84);
        mixAt(m, bells(button.notes()), 0.0, 1.0);
        mixAt(m, marimba(button.notes(), r), 0.0, 0.6);
        return reverb(m, studio());
    };
    return radioSpot(rng, secs, s);
}

Signal spotOldBeer(Rng& rng, double secs) {
    Spot s;
    s.line = "Old Kettlebrook Beer. Brewed the old way.";
    s.voice = voiceOf("en-us+m2", 34, 60, 175);
    s.voiceAt = 0.9;
    s.buttonSecs = 0.7;
    s.music = [](Rng& r, double total, double, double voiceEnd) {
        Score tune(0.14, 0.03);
        tune.add(0, 1, 58).add(1, 1, 62).add(2, 1, 65).add(3, 2, 70, 1.0, 0.9);
        tune.chord(3, 2, {58, 62, 46}, 0.7, 0.9);
        Organ old;
        old.drawbars = {8, 0, 8, 8, 6, 0, 0, 0, 0};
        Signal m = organ(tune.notes(), old, r);
        Score pad(1.0, 0.8);
        pad.chord(0, voiceEnd - 0.7, {58, 62, 65, 46}, 0.5, 1.0);
        Organ soft;
        soft.drawbars = {6, 0, 8, 4, 0, 0, 0, 0, 0};
        soft.percussion = 0;
        mixAt(m, organ(pad.notes(), soft, r), 0.0, 0.5);
        Score button(0.12, std::min(voiceEnd + 0.05, total - 0.65));
        button.add(0, 1, 65).add(1, 4, 70, 1.0, 0.95);
        button.chord(1, 4, {62, 65, 46}, 0.8, 0.95);
        mixAt(m, brass(button.notes(), r, 0.9), 0.0, 0.8);
        mixAt(m, organ(button.notes(), old, r), 0.0, 0.5);
        return reverb(m, studio());
    };
    return radioSpot(rng, secs, s);
}

}  // namespace sg
