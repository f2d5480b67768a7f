#include "console/options_menu.h"

#include "console/calibration.h"

namespace sw {

namespace {

constexpr char kIntro[] = " Player options. Up and down to choose, enter to change, escape to leave. ";
constexpr char kLeave[] = " options closed. ";
constexpr int kLatencyStep = 10;
constexpr char kCalibrateItem[] = " measure the sound delay. press enter, then the space bar on each click. ";
constexpr char kCalibrateStart[] = " press the space bar on each click ";
constexpr char kCalibrateUneven[] = " uneven, once more. ";
constexpr char kCalibrateTooFew[] = " too few presses on the clicks, once more. ";
constexpr char kCalibrateNoClicks[] = " the clicks cannot be played. the sound delay is as it was. ";
constexpr char kCalibrateStopped[] = " stopped. the sound delay is as it was. ";

constexpr host::ChannelMode kChannelOrder[] = {host::ChannelMode::Stereo, host::ChannelMode::Mono,
                                               host::ChannelMode::Left, host::ChannelMode::Right};
constexpr const char* kChannelSpoken[] = {"stereo", "mono", "left ear only", "right ear only"};

int ChannelIndex(host::ChannelMode mode) {
    for (int i = 0; i < 4; ++i)
        if (kChannelOrder[i] == mode) return i;
    return 0;
}

}  // namespace

OptionsMenu::OptionsMenu(host::Host& host, Speech& speech, Sound& sound, Keys& keys)
    : host_(host), speech_(speech), sound_(sound), keys_(keys) {}

void OptionsMenu::Apply(const data::PlayerOptions& options) {
    host_.sound().SetChannelMode(options.channels);
    sound_.SetPitchCue(options.pitchCue);
    sound_.SetLatency(options.latencyMs);
}

void OptionsMenu::ApplyAtStart(const data::PlayerOptions& options) {
    // The voice is taken once the stored voice settings are.
    speech_.systemVoiceWanted = options.systemSpeech;
    if (options != data::PlayerOptions{}) Apply(options);
}

std::string OptionsMenu::Spoken(int item, const data::PlayerOptions& options) {
    switch (item) {
    case 0:
        return std::string(" sound channels. ") + kChannelSpoken[ChannelIndex(options.channels)] + ". ";
    case 1:
        return std::string(" rising pitch tone. ") + (options.pitchCue ? "on" : "off") + ". ";
    case 2:
        return " sound delay. " + std::to_string(options.latencyMs) + " milliseconds. ";
    default:
        return kCalibrateItem;
    }
}

void OptionsMenu::Step(int item, int direction, data::PlayerOptions& options) {
    switch (item) {
    case 0:
        options.channels = kChannelOrder[(ChannelIndex(options.channels) + 4 + direction) % 4];
        break;
    case 1:
        options.pitchCue = !options.pitchCue;
        break;
    case 2: {
        // The delay stops at its ends rather than going round.
        const int next = options.latencyMs + direction * kLatencyStep;
        if (next >= data::kLatencyMin && next <= data::kLatencyMax) options.latencyMs = next;
        break;
    }
    default:
        break;  // the calibration has no value to step through
    }
}

void OptionsMenu::Run(data::PlayerOptions& options, const std::function<void()>& changed) {
    const std::string opener = keys_.Last().code;
    speech_.stopspeech();
    speech_.say2(kIntro);
    int item = 0;
    speech_.say2(Spoken(item, options));
    for (;;) {
        const Key key = keys_.getkey2();
        speech_.stopspeech();
        const std::string& code = key.code;
        if (code == "27") break;
        if (code == "38" || code == "40") {
            item = (item + (code == "38" ? kItems - 1 : 1)) % kItems;
        } else if (item == kCalibrateItemIndex && code == "13") {
            if (Calibrate(options)) {
                Apply(options);
                if (changed) changed();
            }
        } else if (code == "13" || code == "39" || code == "37") {
            Step(item, code == "37" ? -1 : 1, options);
            Apply(options);
            if (changed) changed();
        } else if (code == "112") {
            speech_.say2(kIntro);
        }
        speech_.say2(Spoken(item, options));
    }
    speech_.say2(kLeave);
    keys_.SetCode(opener);
}

bool OptionsMenu::Calibrate(data::PlayerOptions& options) {
    speech_.say(kCalibrateStart);
    const std::optional<DelayEstimate> estimate = Calibration(host_, sound_, keys_).Run();
    if (!estimate) {
        speech_.say2(kCalibrateStopped);
        return false;
    }
    switch (estimate->verdict) {
    case DelayEstimate::Verdict::Fitted:
        break;
    case DelayEstimate::Verdict::Uneven:
        speech_.say2(kCalibrateUneven);
        return false;
    case DelayEstimate::Verdict::TooFew:
        speech_.say2(kCalibrateTooFew);
        return false;
    case DelayEstimate::Verdict::NoClicks:
        speech_.say2(kCalibrateNoClicks);
        return false;
    }
    options.latencyMs = estimate->ms;
    speech_.say2(" your sound delay is " + std::to_string(estimate->ms) + " milliseconds. ");
    return true;
}

}  // namespace sw
