// Fitting the swing's timing to the player's ears and keyboard: a steady
// click, the space bar pressed on each one, and how far the presses fall
// from the clicks the sound device believes were heard.
#pragma once

#include "host/host.h"
#include "input/keys.h"
#include "speech/sound.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace sw {

struct DelayEstimate {
    enum class Verdict { Fitted, TooFew, Uneven, NoClicks };
    Verdict verdict = Verdict::TooFew;
    int ms = 0;           // the median offset, rounded and kept in the option's range
    double spreadMs = 0;  // the width of the middle half of the counted offsets
    int counted = 0;      // presses that count
};

// How far a press fell from the nearest click, in milliseconds, from the
// click loop's position at the press: after the click positive, before the
// next one negative (-period/2 .. period/2).
double ClickOffsetMs(uint32_t position, uint32_t loopBytes, uint32_t periodMs);

// The offsets of one calibration's presses, in the order pressed. The first
// kWarmUp find the beat and do not count, nor does any press further than
// kReachMs from a click. Fewer than kNeeded counted: TooFew. A middle half
// wider than kEvenMs: Uneven. Else Fitted at the median.
DelayEstimate EstimateDelay(const std::vector<double>& offsetsMs);

class Calibration {
public:
    static constexpr int kClicks = 16;
    static constexpr uint32_t kPeriodMs = 750;
    static constexpr int kWarmUp = 4;
    static constexpr int kNeeded = 8;
    static constexpr double kReachMs = 250;
    static constexpr double kEvenMs = 40;

    Calibration(host::Host& host, Sound& sound, Keys& keys);

    // Plays the clicks, at the player's level and centred, and takes the
    // space bar's presses until the last click has had its time. Escape
    // ends it early with nothing; a device that makes no clicks gives
    // NoClicks at once (reported on standard error).
    std::optional<DelayEstimate> Run();

private:
    host::Host& host_;
    Sound& sound_;
    Keys& keys_;
};

}  // namespace sw
