// The sounds of the field, placed in stereo so the player hears where a play
// happens: the umpire's out and safe calls, the slide into a base, a fielder's
// dive, a glove at a base and an infielder's pick-up.
#pragma once

#include "play/play_deps.h"

#include <string>

namespace sw {

// A place on the field: pan and volume offset.
struct Place {
    int pan;
    int volume;
};

class FieldingSounds {
public:
    explicit FieldingSounds(const PlayDeps& d);

    // The umpire's out call at `throwTarget` (1..7), after a glove there
    // unless `noGloveFlag` is 1.
    void sayoutat();
    // The safe call at `throwTarget` (1..4), after a glove except at home.
    void saysafeat();
    // Starts the slide at the `throwTarget` base and returns 0.37 s later,
    // while it still sounds.
    void playslide();
    // Fielder `a` dives; when `b` is 1 he catches the ball.
    void playerslide(int a, int b);
    // A glove at base `a` (1..3).
    void pig(int a);
    // Infielder `a` (1..4) picks the ball up.
    void prig(int a);

    // The place of a base or field (1..7) for the calls and the glove.
    static Place CallPlace(int target);
    // The place of a slide into base 1..4.
    static Place SlidePlace(int base);
    // A fielder's place (1..7), its random part drawn anew.
    Place FielderPlace(int fielder);

private:
    // Plays a wave on the effect or overlay buffer at a place; waits for its
    // end when `wait`.
    void PlayAt(const std::string& name, Place at, bool overlay, bool wait);

    PlayValues& pv_;
    Sound& sound_;
    Keys& keys_;
};

}  // namespace sw
