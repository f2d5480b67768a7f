// Measuring the player's sound delay: how presses become an estimate, and
// the whole measurement in batting practice's options menu, clicks and
// presses in simulated time.
#include "console/calibration.h"
#include "host/files.h"
#include "practice/batting_program.h"
#include "support/sim_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace sw {
namespace {

using Verdict = DelayEstimate::Verdict;

TEST(Calibration, WhereAPressFallsFromTheNearestClick) {
    // A 750 ms loop of 1000 bytes: 1 byte is 0.75 ms.
    EXPECT_EQ(ClickOffsetMs(0, 1000, 750), 0);
    EXPECT_EQ(ClickOffsetMs(100, 1000, 750), 75);
    EXPECT_EQ(ClickOffsetMs(500, 1000, 750), 375) << "half way still counts as after";
    EXPECT_EQ(ClickOffsetMs(502, 1000, 750), -373.5) << "nearer the next click";
    EXPECT_EQ(ClickOffsetMs(1100, 1000, 750), 75) << "a position past the loop's end wraps";
    EXPECT_EQ(ClickOffsetMs(10, 0, 750), 0);
}

struct EstimateCase {
    const char* what;
    std::vector<double> offsets;
    Verdict verdict;
    int ms;  // when fitted
};

std::vector<double> Warm(std::vector<double> rest, double warm = 200) {
    rest.insert(rest.begin(), 4, warm);
    return rest;
}

TEST(Calibration, EstimateCountsEvenPressesNearTheClicksAndTakesTheirMedian) {
    const std::vector<double> eight(8, 50);
    const EstimateCase cases[] = {
        {"the first four only find the beat", Warm(eight, -240), Verdict::Fitted, 50},
        {"seven counted are too few", Warm(std::vector<double>(7, 50)), Verdict::TooFew, 0},
        {"four presses without warm-up are too few", std::vector<double>(11, 50), Verdict::TooFew, 0},
        {"250 ms from a click counts", Warm(std::vector<double>(8, 250)), Verdict::Fitted, 250},
        {"further does not", Warm({-250.5, 251, 50, 50, 50, 50, 50, 50, 50}), Verdict::TooFew, 0},
        {"an even count: between the middle two", Warm({10, 10, 10, 10, 20, 20, 20, 20}), Verdict::Fitted, 15},
        {"an odd count: the middle one", Warm({1, 2, 3, 4, 7, 8, 9, 30, 31}), Verdict::Fitted, 7},
        {"a middle half 40 ms wide is even", Warm({0, 0, 0, 20, 20, 40, 40, 40}), Verdict::Fitted, 20},
        {"41 ms is not", Warm({0, 0, 0, 20, 20, 41, 41, 41}), Verdict::Uneven, 0},
        {"outliers outside the middle half do not make it uneven", Warm({-200, 0, 0, 5, 5, 10, 10, 240}),
         Verdict::Fitted, 5},
        {"kept to the option's lower end", Warm(std::vector<double>(8, -150)), Verdict::Fitted, -100},
    };
    for (const EstimateCase& c : cases) {
        const DelayEstimate e = EstimateDelay(c.offsets);
        EXPECT_EQ(e.verdict, c.verdict) << c.what;
        if (c.verdict == Verdict::Fitted) {
            EXPECT_EQ(e.ms, c.ms) << c.what;
        }
    }
}

// One press per click: the click's own time plus an offset (milliseconds).
struct Measured {
    std::string said;     // what the menu said at the end
    std::string options;  // the options file afterwards
    double clicked = 0;   // how long the clicks played
};

// A key of 27 in `keys` presses Escape at that click instead of the space bar.
Measured MeasureInBattingPractice(const std::vector<double>& offsetsMs, bool clicks = true, std::vector<int> keys = {}) {
    test::SimWorld world;
    world.sim->SetSynthesis(clicks);
    test::Bot bot(*world.sim);
    constexpr int kEnter = 13, kEsc = 27, kUp = 38, kF10 = 121;
    Measured m;
    bot.OnSay("do you wish to use this voice. yes ", kEnter)
        .OnSay(" random pitches ", kF10)
        .OnSay(" sound channels. stereo. ", kUp)
        .OnSay(" measure the sound delay. press enter, then the space bar on each click. ", kEnter)
        .Step(
            [&] {
                if (!clicks) return true;
                for (const auto& s : world.sim->sounds())
                    if (s.name == "click") return true;
                return false;
            },
            [&] {
                double start = 0;
                for (const auto& s : world.sim->sounds())
                    if (s.name == "click") start = s.start;
                for (size_t k = 0; k < offsetsMs.size(); ++k)
                    world.sim->PressKey(k < keys.size() ? keys[k] : 32,
                                        start + 0.75 * static_cast<double>(k) + offsetsMs[k] / 1000);
            })
        .OnSayMatching(
            [](const std::string& s) { return s.find("once more") != std::string::npos || s.find("sound delay is") != std::string::npos; },
            [&] { world.sim->PressKey(kEsc); })
        .OnSay(" random pitches ", kUp)
        .OnSay(" exit ", kEnter);
    world.sim->SetTimeLimit(600);
    EXPECT_EQ(RunBattingProgram(*world.sim), 0);
    EXPECT_TRUE(bot.done()) << "stopped at step " << bot.stepsDone();
    const auto spoken = world.sim->Spoken();
    for (const auto& s : spoken)
        if (s.find("once more") != std::string::npos || s.find("sound delay is") != std::string::npos) m.said = s;
    for (const auto& c : world.sim->sounds()) {
        if (c.name != "click") continue;
        m.clicked = c.stop - c.start;
        // The instruction is heard whole before the first click.
        const auto& u = world.sim->utterances();
        const auto said = std::find_if(u.begin(), u.end(),
                                       [](const auto& x) { return x.text == " press the space bar on each click "; });
        EXPECT_TRUE(said != u.end() && said->end <= c.start);
    }
    auto f = host::FindFile(world.sim->folders().working, "baseball.opt");
    if (f) m.options = host::ReadText(*f);
    return m;
}

// A steady player: 15 ms of scatter around their own delay.
const std::vector<double> kScatter = {-12, 21, -5, 9, -18, 3, 14, -26, 7, -9, 17, 0, -14, 24, -3, 11};

std::vector<double> Presses(double delay, double scatterScale) {
    std::vector<double> out;
    for (double j : kScatter) out.push_back(delay + scatterScale * j);
    return out;
}

TEST(Calibration, APlayer80MsLateIsMeasuredWithinFiveAndKept) {
    const Measured m = MeasureInBattingPractice(Presses(80, 1));
    EXPECT_NEAR(m.clicked, 15.5 * 0.75, 0.06) << "16 clicks and half a period for the last one's presses";
    ASSERT_EQ(m.said.rfind(" your sound delay is ", 0), 0u) << m.said;
    const int ms = std::stoi(m.said.substr(21));
    EXPECT_NEAR(ms, 80, 5);
    EXPECT_EQ(m.options, "channels = stereo\r\npitch_cue = off\r\nlatency_ms = " + std::to_string(ms) + "\r\n");
}

TEST(Calibration, TwoWildPressesAreLeftOut) {
    std::vector<double> presses = Presses(80, 1);
    presses[6] = 300;   // long after its click
    presses[11] = 470;  // nearer the next click than its own
    const Measured m = MeasureInBattingPractice(presses);
    ASSERT_EQ(m.said.rfind(" your sound delay is ", 0), 0u) << m.said;
    EXPECT_NEAR(std::stoi(m.said.substr(21)), 80, 5);
}

TEST(Calibration, UnevenOrTooFewPressesChangeNothing) {
    // 60 ms of scatter.
    Measured m = MeasureInBattingPractice(Presses(80, 4));
    EXPECT_EQ(m.said, " uneven, once more. ");
    EXPECT_EQ(m.options, "");
    m = MeasureInBattingPractice(std::vector<double>(11, 80));
    EXPECT_EQ(m.said, " too few presses on the clicks, once more. ");
    EXPECT_EQ(m.options, "");
    // Escape at the tenth click stops the clicks there.
    std::vector<int> keys(16, 32);
    keys[9] = 27;
    m = MeasureInBattingPractice(Presses(80, 1), true, keys);
    EXPECT_EQ(m.said, " stopped. the sound delay is as it was. ");
    EXPECT_EQ(m.options, "");
    EXPECT_NEAR(m.clicked, 9 * 0.75 + 0.08 - 0.009, 0.02);
    m = MeasureInBattingPractice({}, false);
    EXPECT_EQ(m.said, " the clicks cannot be played. the sound delay is as it was. ");
    EXPECT_EQ(m.options, "");
}

}  // namespace
}  // namespace sw
