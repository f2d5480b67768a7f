#include "play/fielding_sounds.h"

namespace sw {

namespace {

// The call wave of each place, 1..7; anything else is taken for home plate.
const char* const kOutCalls[8] = {"yourout", "yourout1", "yourout2", "yourout3", "yourout", "yourout1", "yourout2",
                                  "yourout3"};
const char* const kSafeCalls[5] = {"safe", "safe1", "safe2", "safe3", "safe"};

int PlaceIndex(int target) { return target >= 1 && target <= 7 ? target : 4; }

}  // namespace

FieldingSounds::FieldingSounds(const PlayDeps& d) : pv_(d.pv), sound_(d.sound), keys_(d.keys) {}

Place FieldingSounds::CallPlace(int target) {
    static constexpr Place kPlaces[8] = {{2700, 0},     {500, -1000},  {-500, -1000}, {-2500, -800},
                                         {2700, 0},     {500, -1900},  {-500, -1900}, {-2500, -1700}};
    return kPlaces[PlaceIndex(target)];
}

Place FieldingSounds::SlidePlace(int base) {
    static constexpr Place kPlaces[5] = {{2700, 0}, {500, -500}, {-500, -600}, {-2500, -500}, {2700, 0}};
    return kPlaces[base >= 1 && base <= 4 ? base : 4];
}

Place FieldingSounds::FielderPlace(int fielder) {
    Random& random = keys_.random();
    random.Reseed(keys_.timer());
    auto r = [&](int n) { return static_cast<int>(random.Next() * n) + 1; };
    // Drawn in this order: the pan's part, then the volume's.
    switch (fielder) {
    case 1: { const int p = 600 - r(400); return {p, -550 - r(100)}; }
    case 2: { const int p = 400 - r(1000); return {p, -650 - r(100)}; }
    case 3: { const int p = -1500 + r(1000); return {p, -650 - r(100)}; }
    case 4: { const int p = -2500 + r(400); return {p, -550 - r(100)}; }
    case 5: { const int p = -2500 + r(1000); return {p, -2000 + r(900)}; }
    case 6: { const int p = -1500 + r(1000); return {p, -2000 + r(900)}; }
    case 7: { const int p = 600 - r(1000); return {p, -2000 + r(900)}; }
    default: return {0, -1000};
    }
}

void FieldingSounds::PlayAt(const std::string& name, Place at, bool overlay, bool wait) {
    const auto channel = overlay ? Sound::Channel::Overlay : Sound::Channel::Effect;
    Guarded("sound", [&] {
        sound_.Release(channel);
        sound_.StartOnce(channel, name, sound_.waveVolume + at.volume, at.pan);
        if (!wait) return;
        sound_.WaitToEnd(channel);
    });
    if (wait) sound_.Release(channel);
}

void FieldingSounds::sayoutat() {
    const Place at = CallPlace(pv_.throwTarget);
    if (pv_.noGloveFlag != 1) PlayAt("glove", at, false, true);
    PlayAt(kOutCalls[PlaceIndex(pv_.throwTarget)], at, false, true);
}

void FieldingSounds::saysafeat() {
    const int target = pv_.throwTarget >= 1 && pv_.throwTarget <= 4 ? pv_.throwTarget : 4;
    const Place at = CallPlace(target);
    if (target != 4) PlayAt("glove", at, false, true);
    PlayAt(kSafeCalls[target], at, false, true);
}

void FieldingSounds::playslide() {
    PlayAt("slide", SlidePlace(pv_.throwTarget), true, false);
    keys_.dy(0.37);
}

void FieldingSounds::playerslide(int a, int b) {
    const Place at = FielderPlace(a);
    PlayAt("slide", at, true, true);
    if (b == 1) PlayAt("glove", {at.pan, at.volume - 150}, true, true);
}

void FieldingSounds::pig(int a) { PlayAt("glove", CallPlace(a >= 1 && a <= 3 ? a : 4), false, true); }

void FieldingSounds::prig(int a) {
    const Place at = FielderPlace(a);
    PlayAt("glove", {at.pan, at.volume - 100}, true, true);
}

}  // namespace sw
