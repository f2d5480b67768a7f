// Voices of the game: the home-plate umpire, the batter who gets hit, and
// the vendors working the stands.
#include <algorithm>
#include <cmath>
#include <string>

#include "recipes.hpp"
#include "speech.hpp"

namespace sg {

namespace {

// One umpire works every game: a deep, loud, clipped voice that rings off
// the stands a little.
struct Call {
    std::string text;         // SSML when it starts with "<speak>"
    int pitch = 26;
    int range = 70;
    int rate = 175;
    double echo = 1.0;        // scales the stadium's answer
};

Signal umpire(const Call& c, double secs) {
    Voice v;
    v.name = "en-us+m3";
    v.pitch = c.pitch;
    v.range = c.range;
    v.rate = c.rate;
    v.ssml = c.text.rfind("<speak>", 0) == 0;
    const double lead = 0.012;
    const double ring = secs < 0.5 ? 0.04 : 0.14;
    Signal speech = speakWithin(c.text, v, secs - lead - ring);

    apply(speech, Biquad::highpass(95));
    apply(speech, Biquad::lowShelf(220, 3));          // chest
    apply(speech, Biquad::peaking(2300, 1.0, 5));     // the bark that carries
    const double p = peak(speech);
    if (p > 0) gain(speech, 0.9 / p);
    saturate(speech, 2.4);
    compress(speech, -18, 3.0, 2, 90);

    Signal out = silence(secs);
    mixAt(out, speech, lead);
    Space sp;
    sp.decaySecs = 1.2;
    sp.damping = 0.55;
    sp.wet = 0.14 * c.echo;
    sp.slapMs = 160;
    sp.slapGain = 0.2 * c.echo;
    sp.predelayMs = 18;
    sp.size = 1.2;
    out = reverb(out, sp);
    fitLength(out, samples(secs));
    Master m;
    m.useRms = true;
    m.rmsDb = level::kUmpire;
    m.fadeInSecs = 0.004;
    m.fadeOutSecs = std::min(0.1, secs * 0.2);
    m.highpassHz = 60;
    master(out, m);
    return out;
}

// A vendor somewhere up in the stands, shouting over the crowd.
Signal vendor(const std::string& text, const Voice& voice, double secs) {
    const double lead = 0.05;
    Signal speech = speakWithin(text, voice, secs - lead - 0.3);
    apply(speech, Biquad::highpass(200));
    apply(speech, Biquad::peaking(1900, 0.9, 5));
    apply(speech, Biquad::lowpass(4500, 0.7));
    const double p = peak(speech);
    if (p > 0) gain(speech, 0.9 / p);
    saturate(speech, 1.6);

    Signal out = silence(secs);
    mixAt(out, speech, lead);
    Space far;
    far.decaySecs = 1.6;
    far.damping = 0.6;
    far.wet = 0.26;
    far.dry = 0.85;
    far.slapMs = 210;
    far.slapGain = 0.18;
    far.predelayMs = 35;
    far.size = 1.3;
    out = reverb(out, far);
    fitLength(out, samples(secs));
    Master m;
    m.peakDb = -1.5;
    m.fadeInSecs = 0.01;
    m.fadeOutSecs = 0.25;
    m.highpassHz = 120;
    master(out, m);
    return out;
}

Voice vendorVoice(const std::string& variant, int pitch, int range, int rate) {
    Voice v;
    v.name = "en-us+" + variant;
    v.pitch = pitch;
    v.range = range;
    v.rate = rate;
    return v;
}

}  // namespace

// ------------------------------------------------------------ the count

Signal callOne(Rng&, double secs) { return umpire({"One", 28, 60, 230, 0.7}, secs); }
Signal callTwo(Rng&, double secs) { return umpire({"Two", 28, 60, 230, 0.7}, secs); }
Signal callThree(Rng&, double secs) { return umpire({"Three", 28, 60, 230, 0.7}, secs); }
Signal callFour(Rng&, double secs) { return umpire({"Four!", 24, 50, 200, 0.7}, secs); }

Signal callBall(Rng&, double secs) {
    return umpire({"<speak><prosody rate=\"50%\">Ball!</prosody></speak>", 26, 70, 175, 1.0}, secs);
}

Signal callStrike(Rng&, double secs) {
    return umpire({"<speak><prosody rate=\"60%\">Strike!</prosody></speak>", 28, 85, 175, 1.0}, secs);
}

// ------------------------------------------------------------ on the bases

Signal callSafeHome(Rng&, double secs) {
    return umpire({"<speak><prosody rate=\"45%\">Safe!</prosody></speak>", 30, 80, 175, 1.0}, secs);
}

Signal callSafeFirst(Rng&, double secs) {
    return umpire({"<speak><prosody rate=\"33%\">Safe!</prosody></speak>", 34, 95, 175, 1.1}, secs);
}

Signal callSafeSecond(Rng&, double secs) { return umpire({"Safe!", 25, 60, 160, 1.4}, secs); }

Signal callSafeThird(Rng&, double secs) {
    return umpire({"<speak><prosody rate=\"38%\">Safe!</prosody></speak>", 22, 60, 175, 1.2}, secs);
}

Signal callOutHome(Rng&, double secs) {
    return umpire({"<speak>You're <prosody rate=\"50%\">out!</prosody></speak>", 28, 80, 175, 1.0}, secs);
}

Signal callOutFirst(Rng&, double secs) {
    return umpire({"<speak><prosody rate=\"80%\">You're</prosody> <prosody rate=\"40%\">out!</prosody></speak>",
                   32, 90, 175, 1.1},
                  secs);
}

Signal callOutSecond(Rng&, double secs) { return umpire({"You're out!", 24, 65, 180, 1.3}, secs); }

Signal callOutThird(Rng&, double secs) {
    return umpire({"<speak>You're <prosody rate=\"32%\">out!</prosody></speak>", 23, 95, 175, 1.2}, secs);
}

// ------------------------------------------------------------ other calls

Signal callTakeBase(Rng&, double secs) { return umpire({"Take your base", 27, 55, 240, 0.8}, secs); }

Signal callFoulBall(Rng&, double secs) {
    return umpire({"<speak><prosody rate=\"70%\">Foul</prosody> ball!</speak>", 28, 75, 190, 1.0}, secs);
}

Signal callPlayBall(Rng&, double secs) {
    return umpire({"<speak>Play <prosody rate=\"50%\">ball!</prosody></speak>", 30, 90, 175, 1.2}, secs);
}

Signal ouch(Rng&, double secs) {
    Voice v;
    v.name = "en-us+m1";
    v.pitch = 72;
    v.range = 100;
    v.rate = 210;
    Signal speech = speakWithin("Ouch!", v, secs - 0.12);
    apply(speech, Biquad::highpass(120));
    const double p = peak(speech);
    if (p > 0) gain(speech, 0.9 / p);
    saturate(speech, 2.0);
    Signal out = silence(secs);
    mixAt(out, speech, 0.01);
    Space sp;
    sp.decaySecs = 0.8;
    sp.wet = 0.1;
    sp.slapMs = 150;
    sp.slapGain = 0.12;
    out = reverb(out, sp);
    fitLength(out, samples(secs));
    Master m;
    m.peakDb = -1.5;
    m.fadeOutSecs = 0.08;
    master(out, m);
    return out;
}

// ------------------------------------------------------------ vendors

Signal vendorHotDogs(Rng&, double secs) {
    return vendor("Hot dogs! Get your hot dogs!", vendorVoice("m7", 55, 95, 185), secs);
}

Signal vendorPeanuts(Rng&, double secs) {
    return vendor("Peanuts! Fresh roasted peanuts!", vendorVoice("m4", 60, 100, 170), secs);
}

Signal vendorBeer1(Rng&, double secs) {
    return vendor("Cold beer! Ice cold beer here!", vendorVoice("m2", 42, 90, 175), secs);
}

Signal vendorBeer2(Rng&, double secs) {
    return vendor("Beer here! Beer here!", vendorVoice("m6", 50, 95, 170), secs);
}

}  // namespace sg
