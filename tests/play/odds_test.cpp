// The game's odds, measured: a hundred and fifty thousand pitches in all kinds of
// situations, with the generator running free, and every chance of the
// pitch and of the plays compared with the value it must have. A draw over a
// wrong range moves its frequency by far more than the four standard errors
// allowed here.
#include "host/files.h"
#include "play_world.h"
#include "support/sim_run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>

namespace sw {
namespace {

namespace fs = std::filesystem;

// A world whose waves all last a few milliseconds and whose virtual time
// moves in large steps: the odds do not depend on how long anything sounds.
struct OddsWorld : test::PlayWorld {
    explicit OddsWorld(const std::string& tinyWave) {
        const std::string folder = sim().folders().sounds;
        std::vector<fs::path> links;
        for (const auto& e : fs::directory_iterator(folder)) links.push_back(e.path());
        for (const auto& link : links) {
            fs::remove(link);
            test::LinkFile(tinyWave, host::Utf8FromPath(link));
        }
        sim().SetQuantum(0.5);
        sim().SetTimeLimit(1e12);
    }
};

struct Tally {
    long hits = 0, trials = 0;
    void Add(bool hit) {
        hits += hit ? 1 : 0;
        ++trials;
    }
};

struct Odds {
    std::map<std::string, std::pair<Tally, double>> rows;  // observed, expected
    Tally& Row(const std::string& name, double expected) {
        auto& r = rows[name];
        r.second = expected;
        return r.first;
    }
};

TEST(Odds, PitchesAndPlaysHappenAsOftenAsTheyShould) {
    constexpr int kPitches = 150000, kPerWorld = 10000;
    test::TempDir dir;
    const std::string tinyWave = dir.path() + "/tiny.wav";
    test::WriteTestWave(tinyWave, 40);
    std::mt19937 situation(20261207);
    auto pick = [&](int n) { return static_cast<int>(situation() % static_cast<unsigned>(n)); };
    Odds odds;
    std::unique_ptr<OddsWorld> w;
    for (int i = 0; i < kPitches; ++i) {
        if (i % kPerWorld == 0) {
            const auto fouls = w ? w->pv().recentFouls : std::array<int, 3>{};
            w = std::make_unique<OddsWorld>(tinyWave);
            w->pv().recentFouls = fouls;
        }
        GameState& gs = w->gs;
        PlayValues& pv = w->pv();
        const auto fouls = w->pv().recentFouls;
        w->pv() = PlayValues{};
        w->pv().recentFouls = fouls;
        w->plays.balls.entry = 0;
        w->plays.balls.doublePlayKind = 0;
        gs.outs = pick(3);
        gs.balls = pick(4);
        gs.strikes = pick(3);
        const int bases = pick(8);
        w->Bases(bases & 1, (bases >> 1) & 1, (bases >> 2) & 1);
        pv.hitChance = 0;
        w->plays.pitch.DrawHitChance();
        pv.stealFlag = pv.buntFlag = pv.hitAndRunFlag = 0;
        pv.pitchNumber = 0;

        // Four in ten the computer bats, two in ten a throw to a base, four in
        // ten the player's runners go (mostly with a runner on third, for the
        // steals of home).
        const int kind = pick(10);
        bool pickOff = false;
        if (kind <= 3) {
            // The player pitches; the computer's batter acts.
            gs.battingTeam = 2;
            pv.pitchNumber = 1 + pick(7);
            w->plays.pitch.DrawBatterAction();
            const bool anyone = bases != 0, third = (bases & 4) != 0, two = gs.strikes == 2;
            const double weights[5] = {0, 10, 10, two ? 0.0 : 1.0, anyone && !third ? 1.0 : 0.0};
            const double sum = weights[1] + weights[2] + weights[3] + weights[4];
            const std::string where = std::string(anyone ? (third ? "third taken" : "runners on") : "bases empty") +
                                      (two ? ", two strikes" : "");
            for (int a = 1; a <= 4; ++a)
                if (weights[a] > 0)
                    odds.Row("batter action " + std::to_string(a) + " (" + where + ")", weights[a] / sum)
                        .Add(pv.batterAction == a);
        } else if (kind <= 5) {
            // A throw to the only runner on base.
            const int base = 1 + pick(3);
            w->Bases(base == 1, base == 2, base == 3);
            gs.battingTeam = 2;
            pv.pitchNumber = 8;
            pickOff = true;
        } else {
            // The player bats and lets the pitch go, sending the runners when there are any.
            if (pick(4) != 0) w->Bases(bases & 1, (bases >> 1) & 1, 1);
            gs.battingTeam = 1;
            pv.batterAction = 2;
            pv.stealFlag = gs.runnerOnFirst + gs.runnerOnSecond + gs.runnerOnThird > 0 ? 1 : 0;
        }

        const int hitsBefore = gs.hitTally, pickoffsBefore = gs.pickoffTally, stolenBefore = gs.stolenBaseTally,
                  caughtBefore = gs.caughtStealingTally;
        w->plays.pitch.ThePitch();
        ASSERT_LE(gs.outs, 3);
        ASSERT_LE(gs.balls, 4);
        ASSERT_LE(gs.strikes, 3);

        const PitchValues& p = w->pitch();
        odds.Row("spitball", 1.0 / 100).Add(p.spitballFlag == 1);
        odds.Row("wild pitch", 1.0 / 150).Add(p.wildPitchFlag == 1);
        odds.Row("hit batter", 1.0 / 150).Add(p.hitBatterFlag == 1);
        if (p.wildPitchFlag == 1 || (p.hitBatterFlag == 1 && gs.battingTeam == 2)) continue;

        if (pickOff) odds.Row("pick-off out", 1.0 / 10).Add(gs.pickoffTally > pickoffsBefore);
        const int entry = w->plays.balls.entry;
        if (entry > 0) {
            const bool hit = gs.hitTally > hitsBefore;
            const int n = hit ? 14 : 11;
            odds.Row(std::string(hit ? "hit" : "out") + " entry outside the table", 0).Add(entry > n);
            for (int e = 1; e <= n; ++e)
                odds.Row(std::string(hit ? "hit" : "out") + " entry " + (e < 10 ? " " : "") + std::to_string(e), 1.0 / n)
                    .Add(entry == e);
        }
        const bool stole = gs.stolenBaseTally > stolenBefore, caught = gs.caughtStealingTally > caughtBefore;
        if (stole || caught) {
            const bool home = w->pv().firstFragment == " the base runner tries to steal home";
            odds.Row(home ? "steal of home safe" : "steal of second or third safe", home ? 0.1 : 0.5).Add(stole);
        }
    }

    std::printf("%-44s %9s %9s %9s %7s\n", "event", "trials", "observed", "expected", "z");
    for (const auto& [name, row] : odds.rows) {
        const auto& [t, p] = row;
        const double observed = static_cast<double>(t.hits) / static_cast<double>(t.trials);
        const double se = std::sqrt(p * (1 - p) / static_cast<double>(t.trials));
        const double z = se > 0 ? (observed - p) / se : (t.hits == 0 ? 0.0 : 1e9);
        std::printf("%-44s %9ld %9.5f %9.5f %7.2f\n", name.c_str(), t.trials, observed, p, z);
        EXPECT_LE(std::abs(z), 4.0) << name;
        EXPECT_GE(t.trials, 400) << name << ": too few trials to tell";
    }
    // Every event the design gives a chance was seen.
    for (const char* name : {"spitball", "wild pitch", "hit batter", "pick-off out", "hit entry 14", "out entry 11",
                             "steal of home safe", "steal of second or third safe"})
        EXPECT_EQ(odds.rows.count(name), 1u) << name;
}

}  // namespace
}  // namespace sw
