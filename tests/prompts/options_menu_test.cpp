// The options menu's steps: where each option goes from each value.
#include "console/options_menu.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

using host::ChannelMode;

struct StepCase {
    int item;
    int direction;
    data::PlayerOptions before;
    data::PlayerOptions after;
};

TEST(OptionsMenu, EachStepGoesToTheNextValueOrStopsAtTheEnd) {
    const StepCase cases[] = {
        {0, 1, {ChannelMode::Stereo, false, 0}, {ChannelMode::Mono, false, 0}},
        {0, 1, {ChannelMode::Mono, false, 0}, {ChannelMode::Left, false, 0}},
        {0, 1, {ChannelMode::Left, false, 0}, {ChannelMode::Right, false, 0}},
        {0, 1, {ChannelMode::Right, false, 0}, {ChannelMode::Stereo, false, 0}},
        {0, -1, {ChannelMode::Stereo, false, 0}, {ChannelMode::Right, false, 0}},
        {1, 1, {ChannelMode::Stereo, false, 0}, {ChannelMode::Stereo, true, 0}},
        {1, -1, {ChannelMode::Stereo, true, 0}, {ChannelMode::Stereo, false, 0}},
        {2, 1, {ChannelMode::Stereo, false, 0}, {ChannelMode::Stereo, false, 10}},
        {2, -1, {ChannelMode::Stereo, false, 0}, {ChannelMode::Stereo, false, -10}},
        {2, 1, {ChannelMode::Stereo, false, 400}, {ChannelMode::Stereo, false, 400}},
        {2, -1, {ChannelMode::Stereo, false, -100}, {ChannelMode::Stereo, false, -100}},
        // A value the file gave off the 10 ms steps still moves by 10.
        {2, 1, {ChannelMode::Stereo, false, 395}, {ChannelMode::Stereo, false, 395}},
        {2, -1, {ChannelMode::Stereo, false, 395}, {ChannelMode::Stereo, false, 385}},
    };
    for (const StepCase& c : cases) {
        data::PlayerOptions o = c.before;
        OptionsMenu::Step(c.item, c.direction, o);
        EXPECT_EQ(o, c.after) << "item " << c.item << " direction " << c.direction << " from "
                              << OptionsMenu::Spoken(c.item, c.before);
    }
}

}  // namespace
}  // namespace sw
