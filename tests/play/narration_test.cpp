// The common end of every play, and the steal: sounds with their places,
// the words in their order, the calls, the crowd and the state afterwards.
#include "play_world.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

namespace sw {
namespace {

using test::Draw;
using Strings = std::vector<std::string>;

TEST(Narration, ContactSoundsThenThePendingFoulCall) {
    // Every play here leaves a foul call pending: the foul tips make it
    // themselves and clear it, the others hear it after the words. A foul
    // tip with no second fragment silences the crowd before the words.
    struct Case {
        int kind;
        std::string second;
        Strings sounds;
        bool crowdStoppedFirst;
    };
    const std::vector<Case> cases = {
        {0, "", {"foulball@2700/0"}, false},
        {1, "", {"lh@2300/0", "foulball@2700/0"}, false},
        {2, "", {"mh@2300/0", "foulball@2700/0"}, false},
        {3, "", {"hh@2300/0", "foulball@2700/0"}, false},
        {4, "", {"ft@2300/0", "ouch@2500/0", "foulball@2700/0"}, true},
        {5, "", {"ft@2300/0", "foulball@2700/0"}, true},
        {6, "", {"ft@2300/0", "hitcatch@2500/0", "foulball@2700/0"}, true},
        {6, " and caught", {"ft@2300/0", "hitcatch@2500/0", "foulball@2700/0"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        test::PlayWorld w;
        w.sound.playcrowd1();
        w.pv().foulKind = c.kind;
        w.pv().foulCallPending = 1;
        w.pv().firstFragment = " a pop up";
        w.pv().secondFragment = c.second;
        w.plays.narration.Narrate();
        EXPECT_EQ(w.Sounds(), c.sounds);
        EXPECT_EQ(w.pv().foulCallPending, 0);
        EXPECT_EQ(w.Said(), Strings{" a pop up" + c.second});
        const auto& sounds = w.world.sim->sounds();
        const auto crowd = std::find_if(sounds.begin(), sounds.end(), [](const auto& p) { return p.name == "crexite"; });
        ASSERT_NE(crowd, sounds.end());
        ASSERT_GE(crowd->stop, 0);  // stopped by the end in any case
        EXPECT_EQ(crowd->stop <= w.world.sim->utterances().front().queued, c.crowdStoppedFirst);
    }
}

TEST(Narration, TheFourStyles) {
    struct Case {
        const char* name;
        int mode, step, mirror, target, hitOrOut, safe;
        Strings timeline;
    };
    // Fielder places: right fielder with draws 0.4995 and 0.5 is pan 100,
    // volume -1549; the shortstop with 0.25 and 0.5 is pan -1249, volume -701
    // (his pick-up 100 quieter).
    const std::vector<Case> cases = {
        {"one sentence", 0, 0, 0, 2, 2, 0,
         {"say: one two three", "glove@-500/-1000", "yourout2@-500/-1000", "crcheer@0/0", "say: There's 1 out"}},
        {"step by step, mirrored to left field", 0, 1, 1, 5, 2, 0,
         {"say: one", "slide@100/-1549", "glove@100/-1699", "say: two", "say: three", "glove@-2500/-1700",
          "yourout3@-2500/-1700", "crcheer@0/0", "say: There's 1 out"}},
        {"step by step, safe at home", 2, 0, 0, 4, 1, 1,
         {"say: one", "slide@100/-1549", "glove@100/-1699", "say: two", "say: three", "safe@2700/0"}},
        // The throw to first is called at first whatever the play set.
        {"infield out", 3, 0, 0, 4, 2, 0,
         {"say: one", "glove@-1249/-801", "say: two", "glove@-500/-1000", "say: three", "glove@500/-1000",
          "yourout1@500/-1000", "say: and they turn two", "crcheer@0/0", "say: There's 1 out"}},
        {"infield hit", 3, 0, 0, 4, 1, 1,
         {"say: one", "glove@-1249/-801", "say: two", "glove@-500/-1000", "say: three", "glove@500/-1000",
          "safe1@500/-1000", "say: There's 0 outs"}},
        {"pick-up", 4, 0, 0, 4, 0, 0, {"say: one", "glove@-1249/-801", "say: two", "say: three"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::PlayWorld w;
        auto& pv = w.pv();
        pv.firstFragment = " one";
        pv.secondFragment = " two";
        pv.thirdFragment = " three";
        pv.outFragment = " and they turn two";
        pv.narrationMode = c.mode;
        pv.stepNarrationFlag = c.step;
        pv.mirrorThrowFlag = c.mirror;
        pv.fielderNumber = 7;
        pv.diveCatchFlag = 1;
        pv.pickupFielder = 3;
        pv.throwTarget = c.target;
        pv.hitOrOut = c.hitOrOut;
        pv.runnerSafe = c.safe;
        w.Force({c.mode == 3 || c.mode == 4 ? 0.25 : 0.4995, 0.5});
        w.plays.narration.Narrate();
        EXPECT_EQ(w.Timeline(), c.timeline);
        EXPECT_EQ(w.gs.outs, c.hitOrOut == 2 ? 1 : 0);
        EXPECT_EQ(pv.runnerSafe, 0);
    }
}

TEST(Narration, HomeRunByTheHomeSideIsItsOwnSoundOtherwiseTheCrowdCheersItsSide) {
    // The visitors' home run goes through the later steps like any play.
    struct Case {
        int team, homeRun;
        Strings sounds;
    };
    const std::vector<Case> cases = {{2, 1, {"hr@0/0"}},
                                     {1, 1, {"foulball@2700/0", "crcheer@0/0"}},
                                     {2, 0, {"foulball@2700/0", "crcheer@0/0", "crcheer@0/0"}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.team * 10 + c.homeRun);
        test::PlayWorld w;
        w.gs.battingTeam = c.team;
        w.pv().pitchNumber = 3;
        w.pv().homeRunFlag = c.homeRun;
        w.pv().hitOrOut = 1;
        w.pv().cheerFlag = 1;
        w.pv().foulCallPending = 1;
        w.pv().outsReadOutFlag = 1;
        w.pv().firstFragment = " it's gone";
        w.plays.narration.Narrate();
        EXPECT_EQ(w.Sounds(), c.sounds);
        EXPECT_EQ(w.Said(), (c.sounds.size() == 1 ? Strings{" it's gone"} : Strings{" it's gone", " There's 0 outs"}));
        EXPECT_EQ(w.pv().homeRunFlag + w.pv().hitOrOut + w.pv().pitchNumber, 0);
    }
}

TEST(Narration, TheOutIsCountedAndToldNeverPastThree) {
    const std::vector<std::pair<int, std::pair<int, std::string>>> cases = {
        {0, {1, " There's 1 out"}}, {1, {2, " There's 2 outs"}}, {2, {3, " There's 3 outs"}}, {3, {3, " There's 3 outs"}}};
    for (const auto& [before, after] : cases) {
        SCOPED_TRACE(before);
        test::PlayWorld w;
        w.gs.outs = before;
        w.pv().pitchNumber = 6;
        w.pv().hitOrOut = 2;
        w.pv().throwTarget = 6;
        w.pv().booFlag = 1;
        w.pv().outsReadOutFlag = 1;  // the out is told once
        w.pv().firstFragment = " a fly ball";
        w.plays.narration.Narrate();
        EXPECT_EQ(w.gs.outs, after.first);
        EXPECT_EQ(w.Said(), (Strings{" a fly ball", after.second}));
        EXPECT_EQ(w.Sounds(), (Strings{"glove@-500/-1900", "yourout2@-500/-1900", "crcheer@0/0", "boo@0/0"}));
        EXPECT_EQ(w.pv().pitchNumber, 6);  // an out ends the pitch at once
        EXPECT_EQ(w.pv().booFlag, 0);
    }
}

// The steal throw, with the runners as they stand after the pitch.
TEST(StealThrow, TheLeadRunnerDecidesThePlay) {
    struct Case {
        const char* name;
        std::string bases;
        double draw;
        std::string said;
        Strings sounds;
        std::string after;
        int runs, outs, stolen, caught;
    };
    const std::string home = " the base runner tries to steal home and here is the play at the plate";
    const std::vector<Case> cases = {
        {"home, safe", "111", Draw(10, 7), home, {"slide@2700/0", "safe@2700/0"}, "011", 1, 0, 1, 0},
        {"home, caught", "011", Draw(10, 3), home,
         {"slide@2700/0", "glove@2700/0", "yourout@2700/0", "crcheer@0/0"}, "001", 0, 1, 0, 1},
        // Runners on first and third: the runner on third goes, first moves up.
        {"first and third", "101", Draw(10, 6), home,
         {"slide@2700/0", "glove@2700/0", "yourout@2700/0", "crcheer@0/0"}, "010", 0, 1, 0, 1},
        {"third, safe", "110", Draw(2, 1), " here is the throw to third",
         {"slide@-2500/-500", "glove@-2500/-800", "safe3@-2500/-800"}, "011", 0, 0, 1, 0},
        {"third, caught", "110", Draw(2, 2), " here is the throw to third",
         {"slide@-2500/-500", "glove@-2500/-800", "yourout3@-2500/-800", "crcheer@0/0"}, "010", 0, 1, 0, 1},
        {"second, safe", "100", Draw(2, 1), " here is the throw to second",
         {"slide@-500/-600", "glove@-500/-1000", "safe2@-500/-1000"}, "010", 0, 0, 1, 0},
        {"second, caught", "100", Draw(2, 2), " here is the throw to second",
         {"slide@-500/-600", "glove@-500/-1000", "yourout2@-500/-1000", "crcheer@0/0"}, "000", 0, 1, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::PlayWorld w;
        w.Bases(c.bases[0] - '0', c.bases[1] - '0', c.bases[2] - '0');
        w.Force({c.draw});
        w.plays.narration.StealThrow();
        Strings said = {c.said};
        if (c.outs) said.push_back(" There's 1 out");
        EXPECT_EQ(w.Said(), said);
        EXPECT_EQ(w.Sounds(), c.sounds);
        EXPECT_EQ(w.BasesNow(), c.after);
        EXPECT_EQ(w.pv().runsOnPlay, c.runs);
        EXPECT_EQ(w.gs.outs, c.outs);
        EXPECT_EQ(w.gs.stolenBaseTally, c.stolen);
        EXPECT_EQ(w.gs.caughtStealingTally, c.caught);
        EXPECT_EQ(w.pv().slideSoundFlag, 0);
    }
}

TEST(StealThrow, TheComputersRunnerGoesAfterTheCountedPitch) {
    struct Case {
        const char* name;
        std::string bases;
        int balls, strikes, outs, height;
        std::deque<double> draws;
        std::string after;
        int runs, outsAfter;
        bool thrown;
    };
    const std::vector<Case> cases = {
        {"strike three, two outs: no throw", "100", 0, 2, 2, 3, {Draw(10, 2)}, "100", 0, 3, false},
        {"strike three, one out, caught", "100", 0, 2, 1, 3, {Draw(10, 2), Draw(2, 2)}, "000", 0, 3, true},
        // Ball four forces a run in; thrown out at home, the runner loses
        // only his own run.
        {"ball four loaded, caught at home", "111", 3, 0, 0, 1, {Draw(2, 1), Draw(8, 3), Draw(10, 3)}, "011", 1, 1,
         true},
        {"ball four loaded, steals home", "111", 3, 0, 0, 5, {Draw(2, 1), Draw(8, 3), Draw(10, 7)}, "011", 2, 0, true},
        {"bases empty: no pitch, no throw", "000", 0, 0, 0, 3, {}, "000", 0, 0, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::PlayWorld w;
        w.gs.battingTeam = 2;
        w.pv().batterAction = 4;
        w.pv().pitchNumber = 1;
        w.gs.balls = c.balls;
        w.gs.strikes = c.strikes;
        w.gs.outs = c.outs;
        w.Bases(c.bases[0] - '0', c.bases[1] - '0', c.bases[2] - '0');
        w.pitch().pitchSpeedClass = c.height;
        w.Force(c.draws);
        w.plays.narration.ComputerSteal();
        EXPECT_EQ(w.BasesNow(), c.after);
        EXPECT_EQ(w.pv().runsOnPlay, c.runs);
        EXPECT_EQ(w.gs.outs, c.outsAfter);
        const Strings names = w.SoundNames();
        EXPECT_EQ(std::count(names.begin(), names.end(), "slide"), c.thrown ? 1 : 0);
        EXPECT_EQ(w.gs.caughtStealingTally + w.gs.stolenBaseTally, c.thrown ? 1 : 0);
        EXPECT_EQ(w.gs.balls + w.gs.strikes, 0);
        if (c.bases == "000") {
            EXPECT_TRUE(w.Said().empty() && w.Sounds().empty() && w.pv().hitChance == 20);
        }
    }
}

TEST(StealThrow, ThePlayersRunnersGoOnlyWhenTheBatterMissesOrTakes) {
    const std::string taken = " a CURVE BALL  caught the in side corner of the plate";
    const std::vector<std::tuple<int, double, std::string>> cases = {
        // A key past 95 is a miss, already judged by the pitch sound.
        {1, 60, " a swing and a miss"}, {1, 97.5, " a swing and a miss"}, {0, 0, taken}, {0, 87, ""}};
    for (const auto& [missed, percent, first] : cases) {
        SCOPED_TRACE(percent);
        test::PlayWorld w;
        w.pv().pitchNumber = 2;
        w.Bases(1, 0, 0);
        w.pitch().swungAndMissed = missed;
        w.pitch().swingPercent = percent;
        w.pitch().pitchSpeedClass = 3;
        w.Force({Draw(10, 3), Draw(2, 1)});
        w.plays.narration.PlayerSteal();
        const bool thrown = !first.empty();
        EXPECT_EQ(w.Said(), (thrown ? Strings{first, " here is the throw to second"} : Strings{}));
        EXPECT_EQ(w.pv().hitChance, thrown ? 1 : 20);
        EXPECT_EQ(w.BasesNow(), thrown ? "010" : "100");
    }
}

}  // namespace
}  // namespace sw
