// Balls in play: the tables of hits and outs with their exact words, where the
// runners end, and the three double plays.
#include "play_world.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <deque>
#include <string>
#include <vector>

namespace sw {
namespace {

using test::Draw;
using test::PlayWorld;
using Strings = std::vector<std::string>;
using Draws = std::deque<double>;

// A ball in play with the bases as written ("101": first and third), the
// draws forced.
void Play(PlayWorld& w, bool hit, const std::string& bases, int outs, Draws draws, int hitAndRun = 0, int team = 1) {
    w.Bases(bases[0] - '0', bases[1] - '0', bases[2] - '0');
    w.gs.outs = outs;
    w.pv().hitAndRunFlag = hitAndRun;
    w.gs.battingTeam = team;
    w.Force(std::move(draws));
    w.pv().hitOrOut = hit ? 1 : 2;
    if (hit) w.plays.balls.HitPlay();
    else w.plays.balls.OutPlay();
}

// "name@pan" of every sound, volumes left out.
Strings NamesAndPans(const PlayWorld& w) {
    Strings out;
    for (const std::string& s : w.Sounds()) out.push_back(s.substr(0, s.find('/')));
    return out;
}

// Up to `n` items of `v` from `from` on.
Strings Slice(const Strings& v, size_t from, size_t n) {
    from = std::min(from, v.size());
    return {v.begin() + from, v.begin() + std::min(from + n, v.size())};
}

struct Words {
    Draws draws;
    int foulKind;
    std::string first, second, third;
};

TEST(BattedBallsHits, AHandfulOfEntriesWordForWord) {
    const std::vector<Words> cases = {
        {{Draw(14, 2), Draw(3, 3)}, 3, " it's hit hard long and high", " it's going going",
         " and bounces off of the center field wall for a single"},
        {{Draw(14, 8), Draw(3, 1), Draw(3, 3), Draw(4, 1)}, 3, " It's a hard hit line drive. The first baseman dives.",
         " and the ball gets by for a hit.", ""},
        {{Draw(14, 13), Draw(3, 1), Draw(3, 2), Draw(2, 2), Draw(6, 5)}, 2,
         " the ball is hit straight back to the pitcher.", " The ball  glances  off of the pitcher's  back side ",
         " for a hit "},
        {{Draw(14, 14), Draw(3, 1), Draw(2, 1), Draw(3, 2), Draw(3, 2), Draw(2, 2)}, 1,
         " It's a bloop pop fly ball into short center field.  The center fielder runs and dives. ",
         " The ball bounces and rolls into center field for a  stand up  double. ", ""},
        // A bloop single makes no stand-up draw.
        {{Draw(14, 14), Draw(3, 1), Draw(2, 2), Draw(3, 3), Draw(3, 1)}, 2,
         " It's a bloop pop fly ball into short right field.  The right fielder runs and dives. ",
         " The ball bounces and rolls into right field for a  single. ", ""},
    };
    for (const Words& c : cases) {
        PlayWorld w;
        Play(w, true, "000", 0, c.draws);
        SCOPED_TRACE(w.plays.balls.entry);
        EXPECT_EQ(w.pv().foulKind, c.foulKind);
        EXPECT_EQ((Strings{w.pv().firstFragment, w.pv().secondFragment, w.pv().thirdFragment}),
                  (Strings{c.first, c.second, c.third}));
        EXPECT_EQ(int(w.gs.hitTally), 1);
    }
}

TEST(BattedBallsHits, RunnersEndWhereTheHitSendsThem) {
    struct Case {
        const char* name;
        std::string before;
        int outs, hitAndRun;
        Draws draws;
        std::string after;
        int runs;
        std::array<int, 4> tallies;  // double, triple, home run, grand slam
    };
    const Draws single = {Draw(14, 11), Draw(3, 1), Draw(3, 1)};
    const Draws homer = {Draw(14, 4), Draw(3, 1), Draw(3, 1), Draw(2, 1)};
    const std::vector<Case> cases = {
        {"single, runner on second stays", "010", 0, 0, single, "110", 0, {}},
        {"single fills the bases", "110", 0, 0, single, "111", 0, {}},
        {"single with bases loaded", "111", 0, 0, single, "111", 1, {}},
        {"infield single", "100", 0, 0, {Draw(14, 3), Draw(3, 1)}, "110", 0, {}},
        {"extra bases", "110", 0, 0, {Draw(14, 1), Draw(3, 1), Draw(2, 1)}, "101", 1, {}},
        {"extra bases from loaded", "111", 0, 0, {Draw(14, 7), Draw(3, 1), Draw(2, 1)}, "101", 2, {}},
        {"no extra bases", "110", 0, 0, {Draw(14, 1), Draw(3, 1), Draw(2, 2)}, "111", 0, {}},
        {"hit and run takes extra", "110", 0, 1, {Draw(14, 1), Draw(3, 1), Draw(2, 2)}, "101", 1, {}},
        {"two-out single", "100", 2, 0, single, "101", 0, {}},
        {"grand slam", "111", 0, 0, homer, "000", 4, {0, 0, 0, 1}},
        {"two-run homer", "100", 2, 0, homer, "000", 2, {0, 0, 1, 0}},
        {"three-run homer is no grand slam", "011", 0, 0, homer, "000", 3, {0, 0, 1, 0}},
        {"double of 5", "100", 0, 0, {Draw(14, 5), Draw(3, 1), Draw(2, 1)}, "010", 1, {1, 0, 0, 0}},
        {"double of 9", "101", 2, 0, {Draw(14, 9), Draw(3, 1), Draw(3, 1)}, "010", 2, {1, 0, 0, 0}},
        {"triple", "110", 0, 0, {Draw(14, 6), Draw(3, 1), Draw(2, 1)}, "001", 2, {0, 1, 0, 0}},
        {"bloop single", "101", 0, 0, {Draw(14, 14), Draw(3, 1), Draw(2, 1), Draw(3, 1), Draw(3, 1)}, "110", 1, {}},
        {"bloop double", "100", 0, 0, {Draw(14, 14), Draw(3, 1), Draw(2, 1), Draw(3, 1), Draw(3, 2), Draw(2, 1)},
         "011", 0, {1, 0, 0, 0}},
        {"bloop double, loaded", "111", 0, 0,
         {Draw(14, 14), Draw(3, 1), Draw(2, 1), Draw(3, 1), Draw(3, 2), Draw(2, 1)}, "011", 2, {1, 0, 0, 0}},
        {"bloop triple", "110", 0, 0, {Draw(14, 14), Draw(3, 1), Draw(2, 1), Draw(3, 1), Draw(3, 3), Draw(2, 1)},
         "001", 2, {0, 1, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayWorld w;
        Play(w, true, c.before, c.outs, c.draws, c.hitAndRun);
        EXPECT_EQ(w.BasesNow(), c.after);
        EXPECT_EQ(w.pv().runsOnPlay, c.runs);
        EXPECT_EQ((std::array<int, 4>{w.gs.doubleTally, w.gs.tripleTally, w.gs.homeRunTally, w.gs.grandSlamTally}),
                  c.tallies);
    }
}

TEST(BattedBallsHits, TwoOutsSendRunnersAnExtraBaseOnlyWhenThereAreAny) {
    for (const char* bases : {"000", "100"}) {
        SCOPED_TRACE(bases);
        PlayWorld w;
        Play(w, true, bases, 2, {Draw(14, 11), Draw(3, 1), Draw(3, 1)});
        EXPECT_EQ(w.pv().extraBaseFlag, bases[0] == '1' ? 1 : 0);
    }
}

TEST(BattedBallsHits, GroundBallRollsIntoTheFieldBehindTheInfielder) {
    // Under the first baseman's glove into right, the second's into center, the third's into left.
    const std::vector<std::pair<int, std::string>> cases = {{1, " right"}, {2, " center"}, {3, " left"}};
    for (const auto& [base, field] : cases) {
        PlayWorld w;
        Play(w, true, "000", 0, {Draw(14, 12), Draw(3, 1), Draw(2, 1), Draw(3, base)});
        EXPECT_EQ(w.pv().thirdFragment, " into" + field + " field for a single");
    }
}

TEST(BattedBallsHits, GrandSlamAndTripleAreToldAndCalled) {
    PlayWorld w;
    Play(w, true, "111", 0, {Draw(14, 4), Draw(3, 1), Draw(3, 1), Draw(2, 2)});
    EXPECT_EQ(w.Said().at(0), " it's hit long and high it's going going and the left fielder watches it go"
                              " out of the park for a grand slam home run");
    PlayWorld t;
    Play(t, true, "000", 0, {Draw(14, 6), Draw(3, 1), Draw(2, 1)});
    EXPECT_EQ(NamesAndPans(t), (Strings{"mh@2300", "slide@-2500", "glove@-2500", "safe3@-2500"}));
}

TEST(BattedBallsOuts, EveryEntryWritesItsWordsAndCall) {
    struct Case {
        Words words;
        int throwTarget, fielder, mode;
    };
    const std::vector<Case> cases = {
        {{{Draw(11, 1), Draw(2, 2)}, 2, " it's a long hard hit line drive", " but it's curving",
          " and the right fielder catches it just in side the line"}, 5, 0, 1},
        {{{Draw(11, 2), Draw(3, 3)}, 3, " it's hit hard long and high", " it's going going",
          " the center fielder jumps and catches it at the wall"}, 6, 0, 1},
        {{{Draw(11, 3)}, 1, " it's a sharply hit ball", " on one high bounce the shortstop comes up withe the ball",
          " here's the throw to first it looks like it could be close"}, 1, 0, 4},
        {{{Draw(11, 4)}, 1, " the pitch was hit straight up in the air",
          " the catcher is waiting for the ball to come down but it is drifting. ",
          " the catcher is against the screen and makes the catch"}, 4, 0, 1},
        {{{Draw(11, 5), Draw(3, 2)}, 2, " it's a hard hit line drive right at the", " second baseman", ""}, 2, 0, 1},
        {{{Draw(11, 6)}, 1, " the ball is hit straight back to the pitcher.",
          " the pitcher scoops it up and throws to first", ""}, 1, 0, 1},
        {{{Draw(11, 7), Draw(3, 3)}, 1, " it's a high pop up in the infield",
          " the third baseman is circling under the ball,", " just waiting for it to come down"}, 3, 0, 1},
        {{{Draw(11, 8), Draw(2, 1), Draw(3, 2)}, 1, " the ball is hit right at the second baseman",
          " it handcuffs the fielder and the ball is dropped.",
          " the fielder picks up the ball and here is the throw to first"}, 1, 0, 1},
        {{{Draw(11, 9), Draw(3, 1)}, 2, " it's a routine fly ball", " to left field", ""}, 7, 0, 1},
        {{{Draw(11, 10), Draw(3, 2), Draw(4, 3)}, 2, " It's a sharply hit line drive. The  shortstop dives.",
          " and catches the ball.", ""}, 2, 3, 2},
        {{{Draw(11, 10), Draw(3, 1), Draw(4, 4)}, 1, " It's a  line drive. The  third baseman dives.",
          " and catches the ball.", ""}, 3, 4, 2},
        // Called in right field (5), mirrored to the left fielder's side after the dive.
        {{{Draw(11, 11), Draw(2, 2), Draw(3, 1)}, 2,
          " It's a bloop pop fly ball into short left field.  The left fielder runs and dives. ",
          " and catches the ball for an out. ", ""}, 7, 5, 2},
    };
    for (const Case& c : cases) {
        PlayWorld w;
        Draws draws = {Draw(13, 1), Draw(13, 1)};  // no double play with the bases empty
        draws.insert(draws.end(), c.words.draws.begin(), c.words.draws.end());
        Play(w, false, "000", 0, draws);
        SCOPED_TRACE(w.plays.balls.entry);
        EXPECT_EQ(w.plays.balls.doublePlayKind, 0);
        EXPECT_EQ(w.pv().foulKind, c.words.foulKind);
        EXPECT_EQ((Strings{w.pv().firstFragment, w.pv().secondFragment, w.pv().thirdFragment}),
                  (Strings{c.words.first, c.words.second, c.words.third}));
        EXPECT_EQ(w.pv().throwTarget, c.throwTarget);
        EXPECT_EQ(w.pv().fielderNumber, c.fielder);
        EXPECT_EQ(w.pv().noGloveFlag, c.fielder ? 1 : 0);
        EXPECT_EQ(w.pv().narrationMode, c.mode);
        EXPECT_EQ(int(w.gs.outs), 1);
    }
}

TEST(BattedBallsOuts, RunnersMoveOnlyBeforeTheThirdOut) {
    struct Case {
        const char* name;
        std::string before;
        int outs, hitAndRun, team;
        Draws draws;
        std::string after;
        int runs, extraBase, boos;
    };
    const std::vector<Case> cases = {
        {"comebacker moves first", "100", 0, 0, 1, {Draw(13, 1), Draw(13, 1), Draw(3, 1), Draw(11, 6)}, "010", 0, 1, 0},
        {"two outs: nobody moves", "100", 2, 0, 1, {Draw(11, 6)}, "100", 0, 0, 0},
        {"two outs, hit and run", "101", 2, 1, 1, {Draw(11, 8), Draw(2, 1), Draw(3, 1)}, "101", 0, 0, 0},
        {"tag up after the catch", "010", 0, 0, 1, {Draw(13, 1), Draw(13, 1), Draw(11, 1), Draw(2, 1), Draw(2, 1)},
         "001", 0, 1, 0},
        {"no tag up", "010", 1, 0, 1, {Draw(13, 1), Draw(13, 1), Draw(11, 1), Draw(2, 1), Draw(2, 2)}, "010", 0, 0, 0},
        {"ground out scores third, boo", "001", 1, 0, 2, {Draw(13, 1), Draw(13, 1), Draw(11, 3), Draw(3, 2)}, "000", 1,
         1, 1},
        {"ground out, no boo", "001", 1, 0, 2, {Draw(13, 1), Draw(13, 1), Draw(11, 3), Draw(3, 1)}, "000", 1, 1, 0},
        {"ground out, no boo on 3", "000", 1, 0, 2, {Draw(13, 1), Draw(13, 1), Draw(11, 3), Draw(3, 3)}, "000", 0, 0, 0},
        {"ground out, visitors never boo", "000", 1, 0, 1, {Draw(13, 1), Draw(13, 1), Draw(11, 3), Draw(3, 2)}, "000",
         0, 0, 0},
        {"comebacker, runner on second holds", "010", 0, 0, 1, {Draw(13, 1), Draw(13, 1), Draw(11, 6)}, "010", 0, 0,
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayWorld w;
        Play(w, false, c.before, c.outs, c.draws, c.hitAndRun, c.team);
        EXPECT_EQ(w.plays.balls.doublePlayKind, 0);
        EXPECT_EQ(w.BasesNow(), c.after);
        EXPECT_EQ(w.pv().runsOnPlay, c.runs);
        EXPECT_EQ(w.pv().extraBaseFlag, c.extraBase);
        EXPECT_EQ(int(w.gs.outs), c.outs + 1);
        const Strings names = w.SoundNames();
        EXPECT_EQ(std::count(names.begin(), names.end(), "boo"), c.boos);
    }
}

TEST(BattedBallsOuts, DivingCatchIsCalledAtTheFieldersBase) {
    // First baseman at first, second baseman and shortstop at second, third baseman at third.
    const int calls[] = {0, 1, 2, 2, 3};
    for (int fielder = 1; fielder <= 4; ++fielder) {
        PlayWorld w;
        Play(w, false, "000", 0, {Draw(13, 1), Draw(13, 1), Draw(11, 10), Draw(3, 1), Draw(4, fielder)});
        EXPECT_EQ(w.pv().throwTarget, calls[fielder]) << fielder;
        EXPECT_EQ(w.pv().fielderNumber, fielder);
    }
}

TEST(BattedBallsDoublePlays, TriedOnlyWithARunnerAndFewerThanTwoOuts) {
    PlayWorld w;  // a stale count of runners with nobody on: draws made, no double play
    w.gs.runnersOn = 2;
    w.Force({Draw(13, 3), Draw(13, 3), Draw(11, 4)});
    w.plays.balls.OutPlay();
    EXPECT_EQ(w.plays.balls.doublePlayKind, 0);
    EXPECT_EQ(w.plays.balls.entry, 4);

    PlayWorld two;  // two outs: the entry is the first draw
    Play(two, false, "110", 2, {Draw(11, 4)});
    EXPECT_EQ(two.plays.balls.entry, 4);
    EXPECT_EQ(two.BasesNow(), "110");
    EXPECT_EQ(int(two.gs.outs), 3);

    PlayWorld hr;  // a hit and run draws the line drive out of five
    Play(hr, false, "100", 0, {Draw(5, 3), Draw(3, 1), Draw(4, 2)}, 1);
    EXPECT_EQ(hr.plays.balls.doublePlayKind, 1);
}

TEST(BattedBallsDoublePlays, LineDriveTagsScramblesOrThrowsToARunner) {
    struct Case {
        const char* name;
        std::string before;
        int k, fielder;
        Draws throws;
        std::string after;
        Strings said, calls;
    };
    const std::string tags = " and tags the runner for a double play. ";
    const std::string scrambles = " and scrambles to the base for a double play. ";
    const std::string forDp = " for a double play. ";
    const std::vector<Case> cases = {
        {"second baseman tags", "101", 2, 2, {}, "001", {tags}, {}},
        {"shortstop tags", "010", 3, 3, {}, "000", {tags}, {}},
        {"first baseman scrambles", "110", 1, 1, {}, "010", {scrambles}, {}},
        {"third baseman scrambles", "001", 1, 4, {}, "000", {scrambles}, {}},
        {"throw to the only runner", "001", 1, 2, {Draw(3, 1), Draw(3, 2), Draw(3, 3)}, "000",
         {" the throw goes to third base. ", forDp}, {"glove@-2500", "yourout3@-2500"}},
        {"first baseman throws to second", "010", 2, 1, {Draw(3, 2)}, "000",
         {" the throw goes to second base. ", forDp}, {"glove@-500", "yourout2@-500"}},
        {"shortstop throws to first", "100", 3, 3, {Draw(3, 3), Draw(3, 1)}, "000",
         {" the throw goes to first base. ", forDp}, {"glove@500", "yourout1@500"}},
    };
    const char* contact[] = {"", "lh@2300", "mh@2300", "hh@2300"};
    const char* force[] = {"", " ", " sharply hit", " hard hit"};
    const char* fielder[] = {"", "first baseman", " second baseman", " shortstop", " third baseman"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayWorld w;
        Draws draws = {Draw(13, 3), Draw(3, c.k), Draw(4, c.fielder)};
        draws.insert(draws.end(), c.throws.begin(), c.throws.end());
        Play(w, false, c.before, 0, draws);
        EXPECT_EQ(w.plays.balls.doublePlayKind, 1);
        EXPECT_EQ(w.plays.balls.entry, 0);
        EXPECT_EQ(w.BasesNow(), c.after);
        EXPECT_EQ(int(w.gs.outs), 2);
        EXPECT_EQ(int(w.gs.doublePlayTally), 1);
        Strings said = {std::string(" It's a") + force[c.k] + " line drive. The " + fielder[c.fielder] + " dives.",
                        " and catches the ball."};
        said.insert(said.end(), c.said.begin(), c.said.end());
        EXPECT_EQ(Slice(w.Said(), 0, said.size()), said);
        const Strings sounds = NamesAndPans(w);
        ASSERT_GE(sounds.size(), 3u + c.calls.size());
        EXPECT_EQ(sounds[0], contact[c.k]);
        EXPECT_EQ(sounds[1].substr(0, 6) + sounds[2].substr(0, 6), "slide@glove@");  // the dive and the catch
        EXPECT_EQ(Slice(sounds, 3, c.calls.size()), c.calls);
    }
}

TEST(BattedBallsDoublePlays, BloopCatchThrowsToAnOccupiedBase) {
    PlayWorld w;
    Draws draws = {Draw(13, 1), Draw(13, 3), Draw(2, 2), Draw(3, 3)};
    draws.insert(draws.end(), 150, Draw(3, 1));  // the throw's draws keep naming an empty base
    Play(w, false, "010", 1, draws);
    EXPECT_EQ(w.plays.balls.doublePlayKind, 2);
    EXPECT_EQ(Slice(w.Said(), 0, 4),
              (Strings{" It's a bloop pop fly ball into short right field.  The right fielder runs and dives. ",
                       " and catches the ball for an out. ", " the throw goes to second base. ",
                       " for a double play. "}));
    EXPECT_EQ(Slice(NamesAndPans(w), 0, 1), Strings{"mh@2300"});
    EXPECT_EQ(Slice(NamesAndPans(w), 3, 2), (Strings{"glove@-500", "yourout2@-500"}));
    EXPECT_EQ(w.pv().fielderNumber, 7);
    EXPECT_EQ(w.BasesNow(), "000");
    EXPECT_EQ(int(w.gs.outs), 3);
}

TEST(BattedBallsDoublePlays, GroundBallTurnedOrOnlyTheForce) {
    struct Case {
        const char* name;
        std::string before;
        int outs, hitAndRun, team;
        bool turned;
        std::string after;
        int outsAfter, runs, extraBase;
        Strings calls;
    };
    const std::vector<Case> cases = {
        {"turned, run scores", "101", 0, 0, 1, true, "000", 2, 1, 1, {"yourout1", "crcheer"}},
        {"turned for the third out", "101", 1, 0, 1, true, "001", 3, 0, 0, {"yourout1", "crcheer"}},
        {"force only, run scores", "101", 0, 0, 1, false, "100", 1, 1, 1, {"safe1", "boo"}},
        {"turned against the home side", "100", 0, 0, 2, true, "000", 2, 0, 0, {"yourout1", "boo"}},
        {"force only, hit and run", "110", 0, 1, 2, false, "101", 1, 0, 1, {"safe1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlayWorld w;
        Play(w, false, c.before, c.outs,
             {Draw(13, 1), Draw(13, 1), Draw(c.hitAndRun ? 7 : 3, 2), Draw(3, 2), Draw(2, 1), Draw(2, 2), Draw(4, 3),
              Draw(3, 1), Draw(2, c.turned ? 2 : 1)},
             c.hitAndRun, c.team);
        EXPECT_EQ(w.plays.balls.doublePlayKind, 3);
        EXPECT_EQ((Strings{w.pv().firstFragment, w.pv().secondFragment, w.pv().thirdFragment, w.pv().outFragment}),
                  (Strings{" It's sharply  hit  back to the  short stop.  on one high bounce ",
                           " the  short stop  comes up with the ball.  the throw is to second for one out.",
                           " The relay throw is to first base. It looks like it could be close.",
                           " And they turn the double play. "}));
        EXPECT_EQ(w.pv().foulKind, 2);
        EXPECT_EQ(w.pv().pickupFielder, 3);
        EXPECT_EQ(w.BasesNow(), c.after);
        EXPECT_EQ(int(w.gs.outs), c.outsAfter);
        EXPECT_EQ(w.pv().runsOnPlay, c.runs);
        EXPECT_EQ(w.pv().extraBaseFlag, c.extraBase);
        EXPECT_EQ(int(w.gs.doublePlayTally), c.turned ? 1 : 0);
        EXPECT_EQ(w.pv().runnersBeforePlay, std::count(c.before.begin(), c.before.end(), '1') - 1);
        Strings calls;  // the call at first and the crowd after it
        for (const std::string& n : w.SoundNames())
            if (n == "crcheer" || n == "boo" || n == "yourout1" || n == "safe1") calls.push_back(n);
        EXPECT_EQ(calls, c.calls);
    }
}

}  // namespace
}  // namespace sw
