// Rules of the pitch that only show in when and how things are heard: the
// batter's chance, where each kind of pitch sound is cut or changes speed,
// and what the player hears first around a pick-off, a hit batter and a wild
// pitch.
#include "play_world.h"
#include "support/sim_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace sw {
namespace {

using test::Draw;
using Strings = std::vector<std::string>;
using Play = host::sim::SoundPlay;

// 10040-byte pitch sounds: the percentages count the whole file, 5020
// frames of two bytes.
constexpr double kFrames = 10040 / 2.0;

struct RulesWorld : test::PlayWorld {
    RulesWorld() {
        for (int i = 1; i <= 7; ++i)
            test::WriteTestWave(sim().folders().sounds + "/p" + std::to_string(i) + ".wav", (10040 - 44) / 2);
    }
    const Play& PlayOf(const std::string& name) const {
        const auto& s = world.sim->sounds();
        auto it = std::find_if(s.begin(), s.end(), [&](const Play& p) { return p.name == name; });
        if (it == s.end()) throw std::runtime_error("never played: " + name);
        return *it;
    }
    bool Played(const std::string& name) const {
        const auto n = SoundNames(true);
        return std::find(n.begin(), n.end(), name) != n.end();
    }
    // How far the pitch sound got before it stopped, in percent of the file.
    double HeardTo(const std::string& name) const { return (PlayOf(name).pans.back().second + 2500) / 50.0; }
    // When the first utterance starting with `text` was handed to the voice.
    double SaidAt(const std::string& text) const {
        for (const auto& u : world.sim->utterances())
            if (u.text.rfind(text, 0) == 0) return u.queued;
        throw std::runtime_error("never said: " + text);
    }
    double EndOf(const std::string& text) const {
        for (const auto& u : world.sim->utterances())
            if (u.text.rfind(text, 0) == 0) return u.end;
        throw std::runtime_error("never said: " + text);
    }
};

TEST(BattersChance, DrawnFrom16To35LessTheHandicapAndOnlyWhenNone) {
    const struct {
        int before, handicap, roll, after;
    } cases[] = {
        {0, 0, 1, 16}, {0, 0, 20, 35}, {0, 3, 1, 13}, {0, 3, 20, 32},
        {7, 0, 20, 7},  // an at-bat under way keeps its chance
        {1, 0, 20, 1},  // as does one a steal attempt left at 1
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.before) + " " + std::to_string(c.handicap) + " " + std::to_string(c.roll));
        test::PlayWorld w;
        w.pv().hitChance = c.before;
        w.gs.contactHandicap = c.handicap;
        w.Force({Draw(20, c.roll)});
        w.plays.pitch.DrawHitChance();
        EXPECT_EQ(w.pv().hitChance, c.after);
    }
}

TEST(BattersChance, AStealAttemptSetsItToOneAndOnlyAThrowDoes) {
    const struct {
        const char* name;
        bool computer;
        std::string bases;
        int strikes, missed;
        double percent;
        int after;
    } cases[] = {
        {"computer's runner goes", true, "100", 0, 0, 0, 1},
        {"computer's, nobody on: nothing happens", true, "000", 0, 0, 0, 20},
        {"computer's, strike three ends the at-bat", true, "100", 2, 0, 0, 0},
        {"player's, swing and a miss", false, "100", 0, 1, 40, 1},
        {"player's, pitch taken", false, "100", 0, 0, 0, 1},
        {"player's, contact: no throw", false, "100", 0, 0, 87, 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::PlayWorld w;
        w.gs.battingTeam = c.computer ? 2 : 1;
        w.pv().batterAction = c.computer ? 4 : 2;
        w.gs.strikes = c.strikes;
        w.Bases(c.bases[0] - '0', 0, 0);
        w.pitch().pitchSpeedClass = 3;  // a strike when taken
        w.pitch().swungAndMissed = c.missed;
        w.pitch().swingPercent = c.percent;
        // The called strike's comment, then the throw to second: safe.
        w.Force({Draw(10, 2), Draw(2, 1)});
        if (c.computer) w.plays.narration.ComputerSteal();
        else w.plays.narration.PlayerSteal();
        EXPECT_EQ(w.pv().hitChance, c.after);
        const bool thrown = w.pv().throwTarget == 2;
        EXPECT_EQ(thrown, c.after != 20);
    }
}

TEST(PitchSoundCut, WhereEachKindOfPitchStops) {
    // The player's pitch that hits the batter stops just past 80 percent,
    // before any swing counts; a computer batter's bunt is cut there too,
    // without the swing-through sound; a take or a runner going hears it all.
    const struct {
        const char* name;
        int team, action;
        std::string bases;
        std::deque<double> draws;
        bool swing, cut, hitBatter;
    } cases[] = {
        {"player hit, no key", 1, 2, "000",
         {Draw(100, 1), Draw(150, 57), Draw(2, 1), Draw(7, 4), .5, .5, .5, Draw(3, 1)}, false, true, true},
        {"player hit, key at 87 too late", 1, 2, "000",
         {Draw(100, 1), Draw(150, 57), Draw(2, 1), Draw(7, 4), .5, .5, .5, Draw(3, 1)}, true, true, true},
        {"player not hit, no key", 1, 2, "000",
         {Draw(100, 1), Draw(150, 56), Draw(2, 1), Draw(7, 4), .5, .5, .5, Draw(10, 2)}, false, false, false},
        // pitchRoll 10 would be a swing and a miss: a bunt has no "sm".
        {"computer bunts", 2, 3, "000",
         {Draw(100, 1), Draw(150, 1), Draw(2, 1), Draw(100, 10), .5, .5, .5, Draw(3, 1), Draw(4, 1), Draw(4, 1),
          Draw(13, 9)},
         false, true, false},
        {"computer takes", 2, 1, "000",
         {Draw(100, 1), Draw(150, 1), Draw(2, 1), Draw(100, 10), .5, .5, .5, Draw(10, 2)}, false, false, false},
        {"computer's runner goes", 2, 4, "100",
         {Draw(100, 1), Draw(150, 1), Draw(2, 1), Draw(2, 1), Draw(100, 10), .5, .5, .5, Draw(10, 2), Draw(2, 1)},
         false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RulesWorld w;
        w.gs.battingTeam = c.team;
        w.pv().batterAction = c.action;
        w.pv().pitchNumber = 4;
        w.Bases(c.bases[0] - '0', 0, 0);
        w.Force(c.draws);
        test::Bot bot(w.sim());
        if (c.team == 1) {
            if (c.swing) bot.SwingAt(87);
            else bot.Take();
        }
        w.plays.pitch.ThePitch();
        const double heard = w.HeardTo("p4");
        if (c.cut) {
            EXPECT_GT(heard, 80);
            EXPECT_LE(heard, 81);
        } else {
            EXPECT_GT(heard, 95);
        }
        EXPECT_FALSE(w.Played("sm"));
        EXPECT_EQ(w.gs.hitBatterTally, c.hitBatter ? 1 : 0);
        EXPECT_EQ(w.pv().foulChoice, 0);  // a late key is no foul
    }
}

TEST(WildPitchSound, WobblesBetweenTwoSpeedsAtFixedMarks) {
    // 11026 to 40 percent, then 8042 to 50, 16084 to 70, 8042 to 80 and
    // 16084 to the end; none of the pitch's own speed changes. A wild pitch
    // with no pitch chosen draws one.
    for (const auto& [chosen, drawn] : std::vector<std::pair<int, int>>{{3, 3}, {0, 5}}) {
        SCOPED_TRACE(chosen);
        RulesWorld w;
        w.pv().pitchNumber = chosen;
        w.pitch().pitchSpeedClass = 4;
        std::deque<double> draws = {Draw(2, 1), Draw(2, 1)};
        if (chosen == 0) draws.push_front(Draw(7, drawn));
        w.Force(draws);
        w.plays.around.WildPitch();
        EXPECT_EQ(w.pv().pitchNumber, drawn);
        EXPECT_EQ(w.pitch().pitchSpeedClass, 0);
        const Play& p = w.PlayOf("p" + std::to_string(drawn));
        EXPECT_EQ(p.frequency, 11026u);
        ASSERT_EQ(p.frequencies.size(), 4u);
        const struct {
            double from, to;
            uint32_t rate;
        } legs[] = {{0, 40, 11026}, {40, 50, 8042}, {50, 70, 16084}, {70, 80, 8042}};
        double at = p.start;
        for (size_t i = 0; i < 4; ++i) {
            SCOPED_TRACE(i);
            at += (legs[i].to - legs[i].from) / 100 * kFrames / legs[i].rate;
            EXPECT_NEAR(p.frequencies[i].first, at, 0.004);
            EXPECT_EQ(p.frequencies[i].second, i % 2 == 0 ? 8042u : 16084u);
        }
        EXPECT_GT(w.HeardTo(p.name), 95);  // to the end
    }
}

// What the player hears first: Timeline() orders speech and sounds by when
// they began; the crowd's excitement comes in before the first words.
TEST(HeardInOrder, PickOff) {
    const std::string throwTo = "say: Here is a throw to first base";
    const struct {
        const char* name;
        std::deque<double> draws;
        Strings heard;
    } cases[] = {
        {"out", {Draw(100, 40)},
         {throwTo, "say: the runner dives back", "slide@500/-500", "glove@500/-1000", "yourout1@500/-1000",
          "boo@0/0"}},
        {"dives back safely", {Draw(100, 50), Draw(3, 2)},
         {throwTo, "say: the runner dives back", "slide@500/-500", "glove@500/-1000", "safe1@500/-1000",
          "boo@0/0"}},
        {"gets back", {Draw(100, 1), Draw(3, 1), Draw(3, 1)}, {throwTo, "say: the runner  gets back safely", "boo@0/0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RulesWorld w;
        w.gs.battingTeam = 2;
        w.Bases(1, 0, 0);
        w.Force(c.draws);
        w.plays.around.PickOff();
        EXPECT_EQ(w.Timeline(), c.heard);
        EXPECT_LE(w.PlayOf("crexite").start, w.SaidAt(" Here is a throw"));
        if (c.heard.size() == 3) {
            EXPECT_GE(w.PlayOf("boo").start, w.EndOf(" the runner  gets") + 0.3 - 1e-6);
        }
    }
}

TEST(HeardInOrder, HitBatter) {
    // The sound of the ball on the batter, the sentence, half a second, then
    // the home crowd's boo and the umpire sending him to first.
    RulesWorld w;
    w.gs.battingTeam = 2;
    w.Force({Draw(3, 2)});
    w.plays.around.HitBatter();
    EXPECT_EQ(w.Timeline(), (Strings{"hitbat2@2500/0", "say: the pitch hits the batter", "boo@0/0", "takebase@2700/0"}));
    EXPECT_LE(w.PlayOf("crexite").start, w.PlayOf("hitbat2").start);
    EXPECT_GE(w.PlayOf("boo").start, w.EndOf(" the pitch hits") + 0.5 - 1e-6);
}

TEST(HeardInOrder, WildPitch) {
    // The pitch sound, the crowd, the sentence; the umpire's ball and count
    // half a second apart, then half a second to "takebase" on ball four;
    // the runners after the umpire.
    const std::string wild = "say: it's a wild pitch it bounces in the dirt in front of the plate and then rolls all of "
                             "the way to the screen";
    const struct {
        const char* name;
        std::string bases;
        int balls;
        Strings heard;
    } cases[] = {
        {"ball two, runner on third", "001", 1,
         {"p3@-2500/0", wild, "ball@2700/0", "2@2700/0", "say:the runner advanced", "say:one run scored"}},
        {"ball four, runner on first", "100", 3,
         {"p3@-2500/0", wild, "ball@2700/0", "4@2700/0", "takebase@2700/0", "say:the runner advanced"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RulesWorld w;
        w.pv().pitchNumber = 3;
        w.gs.balls = c.balls;
        w.Bases(c.bases[0] - '0', c.bases[1] - '0', c.bases[2] - '0');
        w.Force({Draw(2, 1), Draw(2, 1)});
        w.plays.around.WildPitch();
        EXPECT_EQ(w.Timeline(), c.heard);
        EXPECT_GE(w.PlayOf("crexite").start, w.PlayOf("p3").stop);
        EXPECT_LE(w.PlayOf("crexite").start, w.SaidAt(" it's a wild"));
        const std::string count = c.balls == 3 ? "4" : "2";
        EXPECT_GE(w.PlayOf(count).start, w.PlayOf("ball").stop + 0.5 - 1e-6);
        if (c.balls == 3) {
            EXPECT_GE(w.PlayOf("takebase").start, w.PlayOf("4").stop + 0.5 - 1e-6);
        }
    }
}

}  // namespace
}  // namespace sw
