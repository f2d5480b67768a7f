// The plays around the pitch: the pick-off throw and its base question, the
// wild pitch, the hit batter and the bunt, with their words, sounds and the
// bases, count and score afterwards.
#include "play_world.h"

#include <gtest/gtest.h>

namespace sw {
namespace {

using test::Draw;
using Strings = std::vector<std::string>;

void SetBases(test::PlayWorld& w, const std::string& b) { w.Bases(b[0] - '0', b[1] - '0', b[2] - '0'); }

constexpr int kKey0 = 48;
const std::string kWhichBase = " Press the number of the base to throw to";
// The question is spoken to its end before the key is read.
const double kAfterQuestion = host::sim::SimHost::Duration(kWhichBase, 0) + 0.1;

TEST(PickOff, TheBaseQuestionTakesOnlyAnOccupiedBase) {
    struct Case {
        std::string bases;
        std::vector<int> digits;  // pressed in turn; the last one is taken
        std::string thrownTo;
    };
    const std::vector<Case> cases = {
        {"101", {2, 1}, " first"},      {"101", {2, 0, 4, 3}, " third"}, {"110", {3, 2}, " second"},
        {"111", {3}, " third"},         {"100", {}, " first"},           {"010", {}, " second"},
        {"001", {}, " third"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bases + " " + c.thrownTo);
        test::PlayWorld w;
        w.gs.battingTeam = 2;
        SetBases(w, c.bases);
        w.gs.runnersOn = 0;  // a stale count is never consulted
        test::Bot bot(w.sim());
        for (int d : c.digits) bot.OnSay(kWhichBase, kKey0 + d, kAfterQuestion);
        w.Force({Draw(100, 1), Draw(3, 1), Draw(3, 2)});
        w.plays.around.PickOff();
        EXPECT_TRUE(bot.done());
        Strings said(c.digits.size(), kWhichBase);
        said.push_back(" Here is a throw to" + c.thrownTo + " base");
        said.push_back(" the runner  runs back safely");
        EXPECT_EQ(w.Said(), said);
        EXPECT_EQ(w.BasesNow(), c.bases);
        EXPECT_EQ(w.pv().sameBatter, 1);
    }
}

TEST(PickOff, LeavingTheGameAtTheQuestionAbandonsTheThrow) {
    test::PlayWorld w;
    SetBases(w, "011");
    w.plays.status.pauseMenu = [] { throw RunEnds{Leave::ExitWithoutSaving}; };
    test::Bot bot(w.sim());
    bot.OnSay(kWhichBase, 27, kAfterQuestion);
    EXPECT_THROW(w.plays.around.PickOff(), RunEnds);
    EXPECT_EQ(w.Said(), Strings{kWhichBase});
    EXPECT_TRUE(w.Sounds().empty());
    EXPECT_EQ(w.BasesNow(), "011");
}

TEST(PickOff, OutOneTimeInTenElseTheRunnerGetsBack) {
    struct Case {
        const char* name;
        int team;
        std::deque<double> draws;
        Strings said;
        Strings sounds;
        std::string after;
        int outs;
    };
    const std::string throwTo = " Here is a throw to second base";
    const Strings divesBack = {throwTo, " the runner dives back"};
    const Strings out = {"slide@-500/-600", "glove@-500/-1000", "yourout2@-500/-1000"};
    const Strings safe = {"slide@-500/-600", "glove@-500/-1000", "safe2@-500/-1000"};
    auto plus = [](Strings s, const std::string& x) {
        s.push_back(x);
        return s;
    };
    const std::vector<Case> cases = {
        {"40 out, home bats", 2, {Draw(100, 40)}, divesBack, plus(out, "boo@0/0"), "000", 2},
        {"49 out, visitors bat", 1, {Draw(100, 49)}, divesBack, plus(out, "crcheer@0/0"), "000", 2},
        {"39 dives back", 2, {Draw(100, 39), Draw(3, 2)}, divesBack, plus(safe, "boo@0/0"), "010", 1},
        {"50 dives back, visitors", 1, {Draw(100, 50), Draw(3, 3)}, divesBack, safe, "010", 1},
        {"gets back", 2, {Draw(100, 1), Draw(3, 1), Draw(3, 1)}, {throwTo, " the runner  gets back safely"},
         {"boo@0/0"}, "010", 1},
        {"scampers back, visitors", 1, {Draw(100, 100), Draw(3, 1), Draw(3, 3)},
         {throwTo, " the runner  scampers back safely"}, {}, "010", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::PlayWorld w;
        w.gs.battingTeam = c.team;
        w.gs.outs = 1;
        w.gs.balls = 2;
        w.gs.strikes = 1;
        SetBases(w, "010");
        w.Force(c.draws);
        w.plays.around.PickOff();
        EXPECT_EQ(w.Said(), c.said);
        EXPECT_EQ(w.Sounds(), c.sounds);
        EXPECT_EQ(w.BasesNow(), c.after);
        EXPECT_EQ(w.gs.outs, c.outs);
        EXPECT_EQ(w.gs.pickoffTally, c.outs - 1);
        EXPECT_EQ(w.pv().throwTarget, 2);
        EXPECT_EQ(w.gs.balls * 10 + w.gs.strikes, 21);
    }
}

TEST(PickOff, NeverAFourthOut) {
    test::PlayWorld w;
    w.gs.outs = 3;
    SetBases(w, "100");
    w.Force({Draw(100, 45)});
    w.plays.around.PickOff();
    EXPECT_EQ(w.gs.outs, 3);
    EXPECT_EQ(w.BasesNow(), "000");
}

TEST(WildPitch, RunnersMoveUpAndBallFourSendsTheBatterToFirst) {
    struct Case {
        const char* name;
        std::string bases;
        int balls;
        std::deque<double> draws;
        Strings said;
        Strings sounds;
        std::string after;
        int runs, ballsAfter;
    };
    const std::string wild =
        " it's a wild pitch it bounces in the dirt in front of the plate and then rolls all of the way to the screen";
    const std::string away = " the pitch gets away from the pitcher it sails right over the head of the catcher and "
                             "umpire and then rolls all of the way to the screen";
    const Strings four = {"ball@2700/0", "4@2700/0", "takebase@2700/0"};
    const std::vector<Case> cases = {
        {"ball four, runner on first", "100", 3, {Draw(2, 1), Draw(2, 1)}, {wild, "the runner advanced"}, four, "110", 0,
         0},
        {"ball four, bases loaded", "111", 3, {Draw(2, 1), Draw(2, 1)},
         {wild, "the runners advanced", "one run scored"}, four, "111", 1, 0},
        {"ball four, nobody on", "000", 3, {Draw(2, 2), Draw(2, 2)}, {away}, four, "100", 0, 0},
        {"ball two, runner on third", "001", 1, {Draw(2, 2), Draw(2, 2)}, {away, "the runner advanced", "one run scored"},
         {"ball@2700/0", "2@2700/0"}, "000", 1, 2},
        {"ball one, first and second", "110", 0, {Draw(2, 1), Draw(2, 2)},
         {" it's a wild pitch it sails right over the head of the catcher and umpire and then rolls all of the way "
          "to the screen",
          "the runners advanced"},
         {"ball@2700/0", "1@2700/0"}, "011", 0, 1},
        {"never a fifth ball", "000", 4, {Draw(2, 1), Draw(2, 1)}, {wild}, four, "100", 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::PlayWorld w;
        w.pv().pitchNumber = 3;
        w.gs.balls = c.balls;
        w.gs.strikes = 2;
        SetBases(w, c.bases);
        w.Force(c.draws);
        w.plays.around.WildPitch();
        EXPECT_EQ(w.SoundNames(true).front(), "p3");
        EXPECT_EQ(w.Said(), c.said);
        EXPECT_EQ(w.Sounds(), c.sounds);
        EXPECT_EQ(w.BasesNow(), c.after);
        EXPECT_EQ(w.gs.runs[1], c.runs);
        EXPECT_EQ(w.gs.runTally, c.runs);
        EXPECT_EQ(w.pv().runsOnPlay, 0);
        EXPECT_EQ(w.gs.balls, c.ballsAfter);
        EXPECT_EQ(w.gs.strikes, c.ballsAfter == 0 ? 0 : 2);
        EXPECT_EQ(w.gs.walkTally, c.ballsAfter == 0 ? 1 : 0);
        EXPECT_EQ(w.gs.runnersOn, std::count(c.after.begin(), c.after.end(), '1'));
        EXPECT_EQ(w.pv().hitChance, 0);
    }
}

TEST(HitBatter, TheBatterTakesFirstAndOnlyForcedRunnersMove) {
    struct Case {
        std::string bases;
        int team;
        double sound;
        Strings sounds;
        std::string after;
        int runs;
    };
    const std::vector<Case> cases = {
        {"000", 1, Draw(3, 1), {"hitbat@2500/0", "takebase@2700/0"}, "100", 0},
        {"011", 2, Draw(3, 2), {"hitbat2@2500/0", "boo@0/0", "takebase@2700/0"}, "111", 0},
        {"101", 1, Draw(3, 3), {"hitbat3@2500/0", "takebase@2700/0"}, "111", 0},
        {"110", 1, Draw(3, 1), {"hitbat@2500/0", "takebase@2700/0"}, "111", 0},
        {"111", 2, Draw(3, 1), {"hitbat@2500/0", "boo@0/0", "takebase@2700/0"}, "111", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bases);
        test::PlayWorld w;
        w.gs.battingTeam = c.team;
        w.gs.balls = 3;
        w.gs.strikes = 2;
        SetBases(w, c.bases);
        w.Force({c.sound});
        w.plays.around.HitBatter();
        EXPECT_EQ(w.Said(), Strings{" the pitch hits the batter"});
        EXPECT_EQ(w.Sounds(), c.sounds);
        EXPECT_EQ(w.BasesNow(), c.after);
        EXPECT_EQ(w.pv().runsOnPlay, c.runs);
        EXPECT_EQ(w.gs.balls + w.gs.strikes, 0);
        EXPECT_EQ(w.gs.hitBatterTally, 1);
    }
}

// The bunt's fragments with the first draws of every case below.
const std::string kLays = " the batter lays down  a perfect bunt ";
const std::string kFields = " the  catcher grabs the ball";
const std::deque<double> kWords = {Draw(3, 3), Draw(4, 2), Draw(4, 2)};

std::deque<double> BuntDraws(std::deque<double> more) {
    std::deque<double> d = kWords;
    d.insert(d.end(), more.begin(), more.end());
    return d;
}

TEST(Bunt, InPlay) {
    struct Case {
        const char* name;
        std::string bases;
        std::deque<double> draws;  // after the words: the bunt's roll, then the throw's
        std::string third;
        Strings sounds;  // after "lh"
        std::string after;
        int runs, outs, hits;
    };
    const Strings outHome = {"slide@2700/0", "glove@2700/0", "yourout@2700/0", "crcheer@0/0"};
    const std::string plate = " and here is the play at the plate";
    const std::vector<Case> cases = {
        // A runner on third always makes it a play at the plate.
        {"third, out at home", "001", {Draw(8, 1), Draw(10, 3)}, plate, outHome, "100", 0, 1, 0},
        {"third, run scores", "001", {Draw(8, 8), Draw(10, 7)}, plate, {"slide@2700/0", "safe@2700/0"}, "100", 1, 0, 1},
        {"loaded, out at home", "111", {Draw(8, 5), Draw(10, 10)}, plate, outHome, "111", 0, 1, 0},
        {"first and second, out at third", "110", {Draw(8, 2), Draw(3, 3)}, " and here is the throw to third base",
         {"glove@-2500/-800", "yourout3@-2500/-800", "crcheer@0/0"}, "110", 0, 1, 0},
        {"first and second, safe at third", "110", {Draw(8, 7), Draw(3, 1)}, " and here is the throw to third base",
         {"glove@-2500/-800", "safe3@-2500/-800"}, "111", 0, 0, 1},
        // 0.4: wf 3 gives 2, out (wf 2 would give 1).
        {"first, out at second", "100", {Draw(8, 4), 0.4}, " and here is the throw to second base",
         {"glove@-500/-1000", "yourout2@-500/-1000", "crcheer@0/0"}, "100", 0, 1, 0},
        {"first, safe at second", "100", {Draw(8, 4), Draw(3, 1)}, " and here is the throw to second base",
         {"glove@-500/-1000", "safe2@-500/-1000"}, "110", 0, 0, 1},
        {"nobody on, out at first", "000", {Draw(8, 1), Draw(3, 3)}, " and here is the throw to first base",
         {"glove@500/-1000", "yourout1@500/-1000", "crcheer@0/0"}, "000", 0, 1, 0},
        {"nobody on, safe at first", "000", {Draw(8, 2), Draw(3, 1)}, " and here is the throw to first base",
         {"glove@500/-1000", "safe1@500/-1000"}, "100", 0, 0, 1},
        {"sacrifice", "010", {Draw(8, 3), Draw(2, 2)}, " and here is the throw to first",
         {"glove@500/-1000", "yourout1@500/-1000", "crcheer@0/0"}, "001", 0, 1, 0},
        {"beats the throw to first", "011", {Draw(8, 3), Draw(2, 1)}, " and here is the throw to first",
         {"glove@500/-1000", "safe1@500/-1000"}, "101", 1, 0, 1},
        {"no play", "001", {Draw(8, 6)}, " and there is  no play", {}, "100", 1, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::PlayWorld w;
        w.pv().buntFlag = 1;
        w.gs.balls = 2;
        w.gs.strikes = 1;
        SetBases(w, c.bases);
        w.Force(BuntDraws(c.draws));
        w.plays.around.Bunt();
        Strings said = {kLays + kFields + c.third};
        if (c.outs) said.push_back(" There's 1 out");
        EXPECT_EQ(w.Said(), said);
        Strings sounds = {"lh@2300/0"};
        sounds.insert(sounds.end(), c.sounds.begin(), c.sounds.end());
        EXPECT_EQ(w.Sounds(), sounds);
        EXPECT_EQ(w.BasesNow(), c.after);
        EXPECT_EQ(w.pv().runsOnPlay, c.runs);
        EXPECT_EQ(w.gs.outs, c.outs);
        EXPECT_EQ(w.gs.hitTally, c.hits);
        EXPECT_EQ(w.gs.balls + w.gs.strikes, 0);
    }
}

TEST(Bunt, FoulIsAStrikeAndWithTwoStrikesAStrikeout) {
    struct Case {
        const char* name;
        int team, buntFlag, strikes;
        std::deque<double> roll;
        Strings sounds;
        int strikesAfter, outs;
    };
    const Strings two = {"lh@2300/0", "strike@2700/0", "2@2700/0"};
    const Strings out = {"lh@2300/0", "strike@2700/0", "3@2700/0", "yourout@2700/0"};
    auto plus = [](Strings s, const std::string& x) {
        s.push_back(x);
        return s;
    };
    const std::vector<Case> cases = {
        {"computer's, roll 9", 2, 0, 1, {Draw(13, 9)}, two, 2, 0},
        {"computer's, roll 13, two strikes", 2, 0, 2, {Draw(13, 13)}, out, 0, 1},
        {"player's mistimed", 1, 2, 1, {}, two, 2, 0},
        {"player's mistimed, two strikes", 1, 2, 2, {}, plus(out, "crcheer@0/0"), 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::PlayWorld w;
        w.gs.battingTeam = c.team;
        w.pv().buntFlag = c.buntFlag;
        w.gs.balls = 3;
        w.gs.strikes = c.strikes;
        SetBases(w, "100");
        w.Force(BuntDraws(c.roll));
        w.plays.around.Bunt();
        EXPECT_EQ(w.Said(), (Strings{kLays, " the ball rolls foul"}));
        EXPECT_EQ(w.Sounds(), c.sounds);
        EXPECT_EQ(w.gs.strikes, c.strikesAfter);
        EXPECT_EQ(w.gs.balls, c.outs ? 0 : 3);
        EXPECT_EQ(w.gs.outs, c.outs);
        EXPECT_EQ(w.gs.strikeoutTally, c.outs);
        EXPECT_EQ(w.BasesNow(), "100");
        EXPECT_EQ(w.pv().buntDone, 0);
    }
}

}  // namespace
}  // namespace sw
