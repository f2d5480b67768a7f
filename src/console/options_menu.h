// The player's options menu (F10 at any key wait): the options spoken one
// by one, each with its value; a change acts at once and is kept at once.
#pragma once

#include "data/options_file.h"
#include "host/host.h"
#include "input/keys.h"
#include "speech/sound.h"
#include "speech/speech.h"

#include <functional>
#include <string>

namespace sw {

class OptionsMenu {
public:
    OptionsMenu(host::Host& host, Speech& speech, Sound& sound, Keys& keys);

    // Puts the options where they act: the channels on the sound device, the
    // cue and the sound delay on the sounds.
    void Apply(const data::PlayerOptions& options);
    // The same at a program's start, where the device and the sounds are as
    // the defaults have them: nothing is touched when every option is off.
    // The player's own voice is asked for here, and taken with the stored
    // voice settings that follow.
    void ApplyAtStart(const data::PlayerOptions& options);

    // The menu: Up and Down go through the options, Enter or Right takes an
    // option's next value, Left its previous one, Escape leaves. Enter on the
    // last item measures the sound delay with clicks and the space bar. After every
    // change the options are applied and `changed` keeps them. The key that
    // opened the menu is the pending key again when it ends, so the wait
    // that was interrupted goes on as it would have.
    void Run(data::PlayerOptions& options, const std::function<void()>& changed);

    // What an item says: its name and current value.
    static std::string Spoken(int item, const data::PlayerOptions& options);
    // The value after one step forward (+1) or back (-1) of the item.
    static void Step(int item, int direction, data::PlayerOptions& options);
    static constexpr int kItems = 4;
    static constexpr int kCalibrateItemIndex = 3;

private:
    // The clicks and the space bar; on a fitted result the delay is set in
    // `options`. False when nothing changed (said why).
    bool Calibrate(data::PlayerOptions& options);

    host::Host& host_;
    Speech& speech_;
    Sound& sound_;
    Keys& keys_;
};

}  // namespace sw
