// Called balls and strikes, swinging strikes, walks and strikeouts: the
// umpire's sounds, the sentence and the count they leave.
#include "play_world.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace sw {
namespace {

using test::Draw;
using test::PlayWorld;
using Texts = std::vector<std::string>;

// Balls, strikes, outs and the batter's hit chance.
std::vector<int> Count(const PlayWorld& w) { return {w.gs.balls, w.gs.strikes, w.gs.outs, w.pv().hitChance}; }

void Pitch(PlayWorld& w, int number, int height, bool swung) {
    w.pv().pitchNumber = number;
    w.pitch().pitchSpeedClass = height;
    if (swung) w.plays.called.SwingingStrike();
    else w.plays.called.CalledPitch();
}

TEST(CalledPitches, CalledStrikePhraseFitsTheHeight) {
    // {height, rows drawn (all but the last rejected), phrase}.
    const std::vector<std::tuple<int, std::vector<int>, std::string>> cases = {
        {3, {1}, " thigh high and right down the center of the plate"}, {3, {6}, " over right at the knees"},
        {3, {4, 5, 9, 10, 2}, " caught the out side corner of the plate"},
        {3, {3}, " caught the in side corner of the plate"}, {3, {7}, " must have just caught the out side corner"},
        {3, {8}, " must have just caught the in side corner"}, {2, {1, 6, 4}, "low  and tight but over"},
        {2, {5}, "low  and away but over"}, {2, {9}, "low  and in side but over"},
        {4, {1, 6, 10}, "high  and away but over"},
        // A height the table does not expect still finds a row, and a
        // generator stuck on a rejected row does not hold the game.
        {0, {1, 4, 5, 6, 9, 10, 8}, " must have just caught the in side corner"},
        {2, std::vector<int>(150, 1), " caught the out side corner of the plate"}};
    for (const auto& [height, rows, comment] : cases) {
        SCOPED_TRACE(::testing::Message() << "height " << height << ": " << comment);
        PlayWorld w;
        std::deque<double> draws;
        for (int r : rows) draws.push_back(Draw(10, r));
        w.Force(draws);
        Pitch(w, 3, height, false);
        EXPECT_EQ(w.Said(), Texts{" a SLIDER " + comment});
        EXPECT_EQ(w.Sounds(), (Texts{"glove@2500/0", "strike@2700/0", "1@2700/0"}));
        EXPECT_EQ(Count(w), (std::vector<int>{0, 1, 0, 20}));
    }
}

TEST(CalledPitches, CalledBallPhrasesAndPitchNames) {
    // {pitch, height, wf 2, wf 8, sentence}; pitch 0 keeps the last name.
    const std::vector<std::tuple<int, int, int, int, std::string>> cases = {
        {0, 1, 1, 1, " a SINKER  missed  low  and tight"},    {1, 5, 2, 2, " a FAST BALL just missed  high  and away"},
        {2, 1, 1, 3, " a CURVE BALL  missed  low "},          {3, 5, 1, 4, " a SLIDER  missed  high "},
        {4, 1, 2, 5, " a SINKER  just missed  in side"},      {5, 5, 1, 6, " a CHANGE UP missed  out side"},
        {6, 5, 1, 7, " a KNUCKLE BALL  missed  high  and in side"},
        {7, 1, 2, 8, " a SCREWBALL  just missed  low  and out side"}};
    for (const auto& [number, height, just, row, said] : cases) {
        SCOPED_TRACE(row);
        PlayWorld w;
        w.plays.called.pitchName = "SINKER ";
        w.gs.balls = 1, w.gs.strikes = 2;
        w.Force({Draw(2, just), Draw(8, row)});
        Pitch(w, number, height, false);
        EXPECT_EQ(w.Said(), Texts{said});
        EXPECT_EQ(w.Sounds(), (Texts{"glove@2500/0", "ball@2700/0", "2@2700/0"}));
        EXPECT_EQ(Count(w), (std::vector<int>{2, 2, 0, 20}));
    }
    EXPECT_EQ(CalledPitches::PitchNameOf(8), nullptr);
}

TEST(CalledPitches, SwingAndMissAndAKeyDuringTheGlove) {
    // {team at bat, height, key during the glove, swung}: all but the last are
    // strikes; a key makes a swing only while the player's team bats.
    const std::vector<std::tuple<int, int, bool, bool>> cases = {
        {1, 3, false, true}, {2, 5, false, true}, {1, 1, true, false}, {1, 3, true, false}, {2, 1, true, false}};
    for (const auto& [team, height, key, swung] : cases) {
        SCOPED_TRACE(::testing::Message() << team << height << key << swung);
        PlayWorld w;
        w.gs.battingTeam = team;
        w.gs.strikes = 1;
        w.Force({Draw(2, 1), Draw(8, 3)});
        test::Bot bot(w.sim());
        if (key) bot.OnSound("glove", 32, 0.01);
        Pitch(w, 5, height, swung);
        EXPECT_TRUE(bot.done());
        const bool strike = team == 1 || swung;
        const Texts call = strike ? Texts{"strike@2700/0", "2@2700/0"} : Texts{"ball@2700/0", "1@2700/0"};
        EXPECT_EQ(w.Sounds(), (Texts{"glove@2500/0", call[0], call[1]}));
        EXPECT_EQ(w.Said(), Texts{strike ? " a swing and a miss" : " a CHANGE UP missed  low "});
        EXPECT_EQ(Count(w), (std::vector<int>{strike ? 0 : 1, strike ? 2 : 1, 0, 20}));
    }
}

TEST(CalledPitches, StrikeThree) {
    // {Hawks bat, swung, boo draw (0: none)}. The Hawks are at home.
    const std::vector<std::tuple<bool, bool, int>> cases = {{false, true, 0}, {false, false, 0}, {true, false, 1},
                                                            {true, false, 2}, {true, false, 3}, {true, true, 0}};
    for (const auto& [hawks, swung, boo] : cases) {
        SCOPED_TRACE(::testing::Message() << hawks << swung << boo);
        PlayWorld w;
        if (hawks) w.gs.battingTeam = 2;
        w.pv().batterAction = hawks && !swung ? 1 : 2;
        w.gs.balls = 3, w.gs.strikes = 2;
        std::deque<double> draws = swung ? std::deque<double>{} : std::deque<double>{Draw(10, 3)};
        if (boo) draws.push_back(Draw(3, boo));
        draws.push_back(Draw(3, 1));  // a draw nobody should make would boo
        w.Force(draws);
        Pitch(w, 2, 3, swung);
        Texts want = {"glove@2500/0", "strike@2700/0", "3@2700/0", "yourout@2700/0"};
        if (boo == 1 || boo == 3) want.push_back("boo@0/0");
        want.push_back("say: There's 1 out");
        want.push_back(swung ? "say: a swing and a miss" : "say: a CURVE BALL  caught the in side corner of the plate");
        if (!hawks) want.push_back("crcheer@0/0");
        EXPECT_EQ(w.Timeline(), want);
        EXPECT_EQ(Count(w), (std::vector<int>{0, 0, 1, 0}));
        EXPECT_EQ(std::vector<int>({w.gs.strikeoutTally, w.gs.walkTally}), (std::vector<int>{1, 0}));
        EXPECT_EQ(std::vector<int>({w.pv().throwTarget, w.pv().noGloveFlag}), (std::vector<int>{4, 1}));
    }
}

TEST(CalledPitches, BallFourForcesOnlyTheBaseThatFills) {
    // {bases before, Hawks bat, bases after, runs}.
    const std::vector<std::tuple<std::string, bool, std::string, int>> cases = {
        {"000", false, "100", 0}, {"100", false, "110", 0}, {"010", false, "110", 0}, {"011", false, "111", 0},
        {"110", true, "111", 0},  {"101", false, "111", 0}, {"111", true, "111", 1},  {"001", true, "101", 0}};
    for (const auto& [before, hawks, after, runs] : cases) {
        SCOPED_TRACE(before);
        PlayWorld w;
        if (hawks) w.gs.battingTeam = 2;
        w.Bases(before[0] - '0', before[1] - '0', before[2] - '0');
        w.gs.balls = 3, w.gs.strikes = 2;
        w.Force({Draw(2, 1), Draw(8, 2)});
        Pitch(w, 7, 5, false);
        Texts want = {"glove@2500/0", "ball@2700/0", "4@2700/0", "takebase@2700/0",
                      "say: a SCREWBALL  missed  high  and away"};
        if (hawks) want.push_back("crcheer@0/0");
        EXPECT_EQ(w.Timeline(), want);
        EXPECT_EQ(w.BasesNow(), after);
        EXPECT_EQ(w.pv().runsOnPlay, runs);
        EXPECT_EQ(Count(w), (std::vector<int>{0, 0, 0, 0}));
        EXPECT_EQ(std::vector<int>({w.gs.walkTally, w.gs.strikeoutTally}), (std::vector<int>{1, 0}));
    }
}

TEST(CalledPitches, CountStaysWithinFourBallsAndThreeStrikes) {
    // A steal (hit chance 1) keeps the at-bat going unless it ends here; a
    // count already full is never pushed past its end.
    // {balls, strikes, hit chance, height, swung, count wave, balls, strikes and outs after}.
    const std::vector<std::tuple<int, int, int, int, bool, std::string, int, int, int>> cases = {
        {1, 1, 1, 1, false, "2", 2, 1, 0}, {1, 1, 1, 3, false, "2", 1, 2, 0}, {3, 1, 1, 5, false, "4", 0, 0, 0},
        {1, 2, 1, 4, false, "3", 0, 0, 1}, {4, 0, 20, 1, false, "4", 0, 0, 0}, {0, 3, 20, 3, true, "3", 0, 0, 1},
        {2, 3, 20, 2, false, "3", 0, 0, 1}};
    for (const auto& [balls, strikes, chance, height, swung, wave, ballsAfter, strikesAfter, outs] : cases) {
        SCOPED_TRACE(::testing::Message() << balls << strikes << " class " << height);
        PlayWorld w;
        w.gs.balls = balls;
        w.gs.strikes = strikes;
        w.pv().hitChance = chance;
        w.Force({Draw(10, 2), Draw(2, 1), Draw(8, 3)});
        Pitch(w, 1, height, swung);
        ASSERT_GE(w.SoundNames().size(), 3u);
        EXPECT_EQ(w.SoundNames()[2], wave);
        const int chanceAfter = ballsAfter + strikesAfter == 0 ? 0 : chance;  // 0 once the at-bat is over
        EXPECT_EQ(Count(w), (std::vector<int>{ballsAfter, strikesAfter, outs, chanceAfter}));
    }
}

}  // namespace
}  // namespace sw
