// One pitch from the delivery to its outcome: the swing windows over the
// pitch sound, the computer batter's roll, the delivery lines and the sound.
#include "host/files.h"
#include "play_world.h"
#include "support/sim_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace sw {
namespace {

using test::Draw;

// 10040-byte pitch sounds: 1 percent is 100.4 bytes, so 80, 85, 90 and 95
// percent fall on whole samples.
struct PitchWorld : test::PlayWorld {
    PitchWorld() {
        for (int i = 1; i <= 7; ++i)
            test::WriteTestWave(sim().folders().sounds + "/p" + std::to_string(i) + ".wav", (10040 - 44) / 2);
    }
    // Whether a sound played at a pan ("sm@2300").
    bool Played(const std::string& soundAtPan) const {
        const auto s = Sounds();
        return std::any_of(s.begin(), s.end(), [&](const std::string& x) { return x.rfind(soundAtPan + "/", 0) == 0; });
    }
    // What became of the pitch.
    std::string Outcome() {
        if (Played("sm@2300") || Played("sm@2700")) return "miss";
        if (pv().foulChoice != 0) return "foul";
        if (plays.balls.entry != 0 || plays.balls.doublePlayKind != 0) return "in play";
        if (!SoundNames().empty() && SoundNames().front() == "glove") return "taken";
        return "?";
    }
};

// The draws before the pitch sound with nobody on: spitball, wild pitch and
// hit batter, the delivery line, then the player's pitch and its three speeds.
std::deque<double> Quiet(int pitch, double speed = 0.5) {
    return {Draw(100, 1), Draw(150, 1), Draw(2, 1), Draw(7, pitch), speed, speed, speed};
}

TEST(PitchSwing, WindowsOverThePitchSound) {
    // One pitch per verdict, the heard position measured at the key (the
    // band edges are the verdict's own test).
    const std::vector<std::pair<double, std::string>> cases = {
        {-1, "taken"}, {79.8, "miss"}, {90.2, "foul"}, {85, "in play"}, {98, "miss"},
    };
    for (const auto& [percent, outcome] : cases) {
        SCOPED_TRACE(percent);
        PitchWorld w;
        w.pv().batterAction = 2;
        w.Force(Quiet(4));
        test::Bot bot(w.sim());
        if (percent < 0) bot.Take();
        else bot.SwingAt(percent);
        w.plays.pitch.ThePitch();
        EXPECT_TRUE(bot.done());
        EXPECT_EQ(w.SoundNames(true).at(0), "p4");
        if (percent < 0) EXPECT_EQ(w.pitch().swingPercent, 0);
        else EXPECT_NEAR(w.pitch().swingPercent, percent, 0.03);
        EXPECT_EQ(w.Outcome(), outcome);
        const bool inPlay = outcome == "in play";
        EXPECT_EQ(w.pv().hitChance == 0, inPlay);
        EXPECT_LE(w.gs.strikes, 3);
    }
}

TEST(PitchSwing, TheCueRisesWithThePitchAndChangesNeitherTheBallNorTheSwing) {
    // The same pitch with a key 0.3 s into it, cue off and on.
    auto run = [](bool cue, double& swingPercent, std::vector<host::sim::SoundPlay>& plays) {
        PitchWorld w;
        w.sound.SetPitchCue(cue);
        w.pv().batterAction = 2;
        w.Force(Quiet(4));
        bool pressed = false;
        w.sim().OnTick([&] {
            for (const auto& p : w.sim().sounds())
                if (p.name == "p4" && w.sim().clock().now() >= p.start + 0.3 && !pressed) {
                    w.sim().PressKey(32, p.start + 0.3);
                    pressed = true;
                }
        });
        w.plays.pitch.ThePitch();
        swingPercent = w.pitch().swingPercent;
        plays = w.sim().sounds();
    };
    double off = 0, on = 0;
    std::vector<host::sim::SoundPlay> offPlays, onPlays;
    run(false, off, offPlays);
    run(true, on, onPlays);
    EXPECT_GT(off, 30);
    EXPECT_EQ(on, off);
    ASSERT_EQ(onPlays.size(), offPlays.size() + 1);
    EXPECT_EQ(onPlays[0].name, "p4");
    EXPECT_EQ(onPlays[0].frequencies, offPlays[0].frequencies) << "the ball's own rate";
    const auto& tone = onPlays[1];
    EXPECT_EQ(tone.name, "tone");
    // Steered as the ball travelled, up to where it was at the swing; silent from it.
    ASSERT_GT(tone.frequencies.size(), 10u);
    EXPECT_NEAR(tone.frequencies.back().second, tone.frequency * Sound::PitchCueHz(on) / 440, 0.01 * tone.frequency);
    EXPECT_TRUE(std::is_sorted(tone.frequencies.begin(), tone.frequencies.end(),
                               [](const auto& a, const auto& b) { return a.second < b.second; }));
    EXPECT_NEAR(tone.stop, onPlays[0].start + 0.3, 0.01);
}

TEST(PitchSwing, ACueTheDeviceCannotMakeLeavesThePitchAsItWas) {
    double percent[2];
    for (int cue = 0; cue < 2; ++cue) {
        PitchWorld w;
        w.sim().SetSynthesis(false);
        w.sound.SetPitchCue(cue == 1);
        w.pv().batterAction = 2;
        w.Force(Quiet(4));
        test::Bot bot(w.sim());
        bot.SwingAt(85);
        w.plays.pitch.ThePitch();
        EXPECT_TRUE(bot.done());
        EXPECT_EQ(w.SoundNames(true).at(0), "p4");
        percent[cue] = w.pitch().swingPercent;
    }
    EXPECT_NEAR(percent[0], 85, 0.03);
    EXPECT_EQ(percent[1], percent[0]);
}

TEST(PitchSwing, TheSwingAnswersWhatWasHeardTheSoundDelayBeforeTheKey) {
    // A key `keyAt` seconds into the pitch with the player's delay; the cue
    // on, so that its end shows when the swing was judged.
    struct Result {
        double percent;
        double judgedAfterKey;
    };
    auto run = [](double keyAt, int delayMs) {
        PitchWorld w;
        w.sound.SetPitchCue(true);
        w.sound.SetLatency(delayMs);
        w.pv().batterAction = 2;
        w.Force(Quiet(4));
        bool pressed = false;
        double key = 0;
        w.sim().OnTick([&] {
            for (const auto& p : w.sim().sounds())
                if (p.name == "p4" && w.sim().clock().now() >= p.start + keyAt && !pressed) {
                    key = p.start + keyAt;
                    w.sim().PressKey(32, key);
                    pressed = true;
                }
        });
        w.plays.pitch.ThePitch();
        const auto& tone = w.sim().sounds().at(1);
        EXPECT_EQ(tone.name, "tone");
        return Result{w.pitch().swingPercent, tone.stop - key};
    };
    const Result plain = run(0.30, 0), later = run(0.35, 50), early = run(0.30, -50), ahead = run(0.35, 0);
    EXPECT_GT(ahead.percent, plain.percent + 5);
    EXPECT_NEAR(plain.judgedAfterKey, 0, 0.01);
    // 50 ms heard late: the key at 0.35 s answers what sounded at 0.30 s.
    EXPECT_EQ(later.percent, plain.percent);
    EXPECT_NEAR(later.judgedAfterKey, 0, 0.01);
    // 50 ms heard early: the key at 0.30 s answers 0.35 s, and waits for it.
    EXPECT_EQ(early.percent, ahead.percent);
    EXPECT_NEAR(early.judgedAfterKey, 0.05, 0.01);
    // A delay reaching back before the pitch began: the earliest swing, a
    // miss, never "no swing".
    const Result first = run(0.02, 100);
    EXPECT_GT(first.percent, 0);
    EXPECT_LT(first.percent, 0.01);
}

TEST(PitchSwing, BallInPlayIsAHitBelowTheBattersChance) {
    // wf 50 against the chance the batter had: below it a hit.
    for (const auto& [roll, hit] : std::vector<std::pair<int, bool>>{{19, true}, {20, false}, {1, true}, {50, false}}) {
        SCOPED_TRACE(roll);
        PitchWorld w;
        w.pv().batterAction = 2;
        auto draws = Quiet(4);
        draws.push_back(Draw(50, roll));
        w.Force(draws);
        test::Bot bot(w.sim());
        bot.SwingAt(87);
        w.plays.pitch.ThePitch();
        EXPECT_EQ(w.plays.balls.doublePlayKind == 0 && w.plays.balls.entry > 0, true);
        EXPECT_EQ(w.gs.hitTally == 1, hit);
    }
}

TEST(PitchSwing, BuntAndStealOrders) {
    struct Case {
        int bunt, steal;
        double percent;
        int buntAfter;
        std::string first;  // the first thing said after the delivery
    };
    const std::vector<Case> cases = {
        // A well-timed bunt is laid down; a mistimed one rolls foul.
        {1, 0, 87, 1, " the batter lays down "},
        {1, 0, 82, 2, " the batter lays down "},
        // Sent runners and a miss: the strike, then the throw to second.
        {0, 1, 75, 0, " a swing and a miss"},
        // Sent runners and contact: an ordinary foul, no throw.
        {0, 1, 82, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.percent);
        PitchWorld w;
        w.Bases(1, 0, 0);
        w.pv().batterAction = 2;
        w.pv().buntFlag = c.bunt;
        w.pv().stealFlag = c.steal;
        // One runner: the runner check draws once (1: no check).
        w.Force({Draw(100, 1), Draw(150, 1), Draw(2, 1), Draw(2, 1), Draw(7, 2), 0.5, 0.5, 0.5});
        test::Bot bot(w.sim());
        bot.SwingAt(c.percent);
        w.plays.pitch.ThePitch();
        EXPECT_EQ(w.pv().buntFlag, c.buntAfter);
        const auto said = w.Said();
        ASSERT_GE(said.size(), 1u);
        EXPECT_EQ(said[0], " here's the pitch");
        if (!c.first.empty()) {
            ASSERT_GE(said.size(), 2u);
            EXPECT_EQ(said[1].rfind(c.first, 0), 0u) << said[1];
        }
        const bool thrown = std::find(said.begin(), said.end(), " here is the throw to second") != said.end();
        EXPECT_EQ(thrown, c.steal == 1 && c.percent < 80);
    }
}

TEST(PitchSwing, ALateBuntRollsFoulWithTheContactBeforeTheWords) {
    PitchWorld w;
    w.pv().batterAction = 2;
    w.pv().buntFlag = 1;
    auto draws = Quiet(4);
    for (double d : {Draw(3, 1), Draw(4, 2), Draw(4, 1)}) draws.push_back(d);
    w.Force(draws);
    test::Bot bot(w.sim());
    bot.SwingAt(92);
    w.plays.pitch.ThePitch();
    EXPECT_EQ(w.pv().buntFlag, 2);
    EXPECT_EQ(int(w.gs.strikes), 1);
    const auto t = w.Timeline();
    const auto lh = std::find_if(t.begin(), t.end(), [](const std::string& e) { return e.rfind("lh@", 0) == 0; });
    ASSERT_GE(t.end() - lh, 5);
    EXPECT_EQ(lh[1], "say: the batter lays down  the bunt ");
    EXPECT_EQ(lh[2], "say: the ball rolls foul");
    EXPECT_EQ(lh[3].substr(0, 7), "strike@");
    EXPECT_EQ(lh[4].substr(0, 2), "1@");
}

TEST(ComputerBatter, SwingIsJudgedByThePitchRoll) {
    // The swing-through sound at 2700 before 80 percent of the pitch, and the
    // sound cut there; otherwise the crowd, then a foul or the ball in play.
    const std::vector<std::tuple<int, std::string, int>> cases = {
        {24, "miss", 0}, {25, "in play", 1}, {44, "in play", 1}, {45, "in play", 2}, {75, "in play", 2}, {76, "foul", 0}};
    for (const auto& [roll, outcome, hitOrOut] : cases) {
        SCOPED_TRACE(roll);
        PitchWorld w;
        w.gs.battingTeam = 2;
        w.pv().batterAction = 2;
        w.pv().pitchNumber = 3;
        w.Force({Draw(100, 1), Draw(150, 1), Draw(2, 1), Draw(100, roll), 0.5, 0.5, 0.5});
        w.plays.pitch.ThePitch();
        EXPECT_EQ(w.pitch().pitchRoll, roll);
        EXPECT_EQ(w.Outcome(), outcome);
        if (hitOrOut == 1) { EXPECT_EQ(w.gs.hitTally, 1); }
        if (hitOrOut == 2) { EXPECT_EQ(w.gs.hitTally, 0); }
        // The pitch sound of a swing stops at 80 percent.
        const auto& p = w.sim().sounds();
        auto pitch = std::find_if(p.begin(), p.end(), [](const auto& s) { return s.name == "p3"; });
        ASSERT_NE(pitch, p.end());
        ASSERT_FALSE(pitch->pans.empty());
        const int lastPan = pitch->pans.back().second;
        EXPECT_GE(lastPan, 80 * 50 - 2500);
        EXPECT_LE(lastPan, 81 * 50 - 2500);
    }
}

TEST(ComputerBatter, ActionsAndTheirRedraws) {
    struct Case {
        std::string bases;
        int strikes;
        std::deque<double> draws;
        int action;
    };
    const std::vector<Case> cases = {
        {"000", 0, {Draw(22, 10)}, 1},
        {"000", 0, {Draw(22, 11)}, 2},
        {"000", 0, {Draw(22, 20)}, 2},
        {"000", 0, {Draw(22, 21)}, 3},
        {"000", 0, {Draw(22, 22), Draw(22, 3)}, 1},      // no steal with the bases empty
        {"001", 0, {Draw(22, 22), Draw(22, 21)}, 3},     // nor with a runner on third
        {"100", 0, {Draw(22, 22)}, 4},
        {"110", 2, {Draw(22, 21), Draw(22, 22)}, 4},     // no bunt with two strikes
        {"000", 2, {Draw(22, 21), Draw(22, 15)}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bases + " " + std::to_string(c.strikes) + " -> " + std::to_string(c.action));
        test::PlayWorld w;
        w.Bases(c.bases[0] - '0', c.bases[1] - '0', c.bases[2] - '0');
        w.gs.strikes = c.strikes;
        w.Force(c.draws);
        w.plays.pitch.DrawBatterAction();
        EXPECT_EQ(w.pv().batterAction, c.action);
    }
}

TEST(Delivery, LinesComeBeforeThePitchAndTheSpeedsChangeAtTheQuarters) {
    // Runners on first and second: the check on the runners, the spitball
    // with its line, the wind-up; all heard to their end before the pitch.
    PitchWorld w;
    w.Bases(1, 1, 0);
    w.pv().batterAction = 2;
    w.Force({Draw(100, 42), Draw(150, 1), Draw(2, 2), Draw(2, 2), Draw(7, 6), 0.1, 0.9, 0.5});
    test::Bot bot(w.sim());
    bot.Take();
    w.plays.pitch.ThePitch();
    const std::vector<std::string> delivery = {" the pitcher checks on the runners", " and then",
                                               " It appears that the pitcher is putting a little extra on this pitch",
                                               " here's the whined up", " and the pitch"};
    const auto said = w.Said();
    ASSERT_GE(said.size(), delivery.size());
    EXPECT_EQ(std::vector<std::string>(said.begin(), said.begin() + 5), delivery);

    const auto& sounds = w.sim().sounds();
    auto find = [&](const std::string& n) {
        return std::find_if(sounds.begin(), sounds.end(), [&](const auto& s) { return s.name == n; });
    };
    auto spit = find("sp"), pitch = find("p6");
    ASSERT_NE(spit, sounds.end());
    ASSERT_NE(pitch, sounds.end());
    EXPECT_EQ(spit->pan, -500);
    EXPECT_EQ(spit->volume, -1111);
    const auto& u = w.sim().utterances();
    EXPECT_LT(u[1].end, spit->start + 1e-9);      // the check ends before the spitball
    EXPECT_LT(spit->stop, u[2].start + 1e-9);     // whose line follows its sound
    EXPECT_LT(u[4].end, pitch->start + 1e-9);     // and the pitch after the last word

    // Three speed changes, at 25, 50 and 75 percent of the file's bytes.
    EXPECT_EQ(pitch->frequency, 11026u);
    EXPECT_EQ(pitch->pan, -2500);
    ASSERT_EQ(pitch->frequencies.size(), 3u);
    const std::vector<uint32_t> rates = {8000, 14000, 11000};  // classes 1, 5, 3
    const double frames25 = 0.25 * 10040 / 2;
    double expect = pitch->start + frames25 / 11026;
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(pitch->frequencies[i].second, rates[i]);
        EXPECT_NEAR(pitch->frequencies[i].first, expect, 0.004);
        expect += frames25 / rates[i];
    }
    EXPECT_EQ(w.pitch().pitchSpeedClass, 3);
    // The pan follows the sound from -2500 towards +2500.
    EXPECT_GT(pitch->pans.back().second, 2400);
}

TEST(Delivery, SpeechRateSetsTheTimeOfTheDelivery) {
    // Words per minute grow by a factor of three from rate 0 to rate 10.
    double took[2];
    for (int i = 0; i < 2; ++i) {
        PitchWorld w;
        w.speech.Voice->SetRate(i == 0 ? 0 : 10);
        w.pv().batterAction = 2;
        w.Force(Quiet(1));
        test::Bot bot(w.sim());
        bot.Take();
        w.plays.pitch.ThePitch();
        const auto& u = w.sim().utterances();
        took[i] = u[0].end - u[0].start;
    }
    EXPECT_NEAR(took[0] / took[1], 3.0, 0.01);
}

TEST(Delivery, PickOffAndWildPitchTakeThePlaceOfThePitch) {
    {
        // A throw to a base: only the runner check is said, no pitch sound.
        test::PlayWorld w;
        w.gs.battingTeam = 2;
        w.pv().pitchNumber = 8;
        w.Bases(1, 0, 0);
        w.Force({Draw(100, 1), Draw(150, 1), Draw(2, 2)});
        w.plays.pitch.ThePitch();
        const auto said = w.Said();
        ASSERT_GE(said.size(), 2u);
        EXPECT_EQ(said[0], " the pitcher checks on the runner");
        EXPECT_EQ(said[1], " and then");
        for (const auto& s : said) EXPECT_TRUE(s != " here's the pitch" && s != " here's the whined up") << s;
        for (const auto& n : w.SoundNames(true)) EXPECT_FALSE(n.size() == 2 && n[0] == 'p') << n;
    }
    {
        // Hidden events: 42 in 100 a spitball; 69 and 57 in 150 a wild pitch
        // and a hit batter.
        for (const auto& [spit, roll] : std::vector<std::pair<int, int>>{{42, 1}, {41, 69}, {43, 57}, {1, 150}}) {
            test::PlayWorld w;
            w.Force({Draw(100, spit), Draw(150, roll)});
            w.plays.pitch.pickspecpitch();
            EXPECT_EQ(w.pitch().spitballFlag, spit == 42);
            EXPECT_EQ(w.pitch().wildPitchFlag, roll == 69);
            EXPECT_EQ(w.pitch().hitBatterFlag, roll == 57);
        }
    }
}

TEST(PitchSound, AWaveThatCannotBePlayedIsAPitchWithNoSwing) {
    for (const char* content : {"", "not a wave at all"}) {
        PitchWorld w;
        const std::string p = w.sim().folders().sounds + "/p5.wav";
        std::filesystem::remove(p);
        if (*content) host::WriteFileAtomic(p, content);
        w.pv().batterAction = 2;
        w.Force(Quiet(5));
        w.plays.pitch.ThePitch();
        EXPECT_EQ(w.pitch().swingPercent, 0);
        EXPECT_EQ(w.pitch().swungAndMissed, 0);
        EXPECT_LT(w.sim().clock().now(), 30);
    }
}

}  // namespace
}  // namespace sw
