// Whole games on the simulated host: program runs from the start-up to the
// exit sequence, with the player's keys scripted.
#include "data/game_files.h"
#include "data/rosters.h"
#include "game/game.h"
#include "game/saved_game.h"
#include "game_player.h"
#include "player_home.h"
#include "host/files.h"
#include "support/sim_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace sw {
namespace {

using test::Bot;
using test::GamePlayer;
using test::SimWorld;

constexpr int kEnter = 13, kUp = 38, kDown = 40, kSpace = 32;

bool StartsWith(const std::string& s, const std::string& p) { return s.compare(0, p.size(), p) == 0; }

// One program run on a data folder that outlives it.
// Thrown to end a program run where it stands, as a killed process would;
// no part of the game catches it.
struct Killed {};

struct Day {
    explicit Day(const std::string& home) : world(home) {}
    SimWorld world;
    Bot bot{*world.sim};
    GameProgram program{*world.sim};
    GamePlayer player{*world.sim, bot, program};
    int status = -1;
    int mark = 0;  // what a watch saw during the run

    std::vector<std::string> spoken() const { return world.sim->Spoken(); }
    size_t Count(const std::string& text) const {
        const auto s = spoken();
        return static_cast<size_t>(std::count(s.begin(), s.end(), text));
    }
    size_t CountStarting(const std::string& text) const {
        size_t n = 0;
        for (const auto& s : spoken()) n += StartsWith(s, text);
        return n;
    }
    bool Played(const std::string& name) const {
        for (const auto& s : world.sim->sounds())
            if (s.name == name) return true;
        return false;
    }
    // The introduction with stored settings: every question declined.
    void DeclineIntroduction() {
        bot.OnSound("take", kSpace, 1.0);
        bot.OnSay(" Would you like to read the baseball rules dot T X T file? no ", kEnter);
        bot.OnSay(" Would you like to reed the special key instructions? ", kEnter);
        bot.OnSay("do you wish to use this voice. yes ", kEnter);
        bot.OnSay(" would you like to get in some batting practice? yes ", kDown).OnSay(" no ", kEnter);
    }
    // Declines the introduction, then leaves without saving at the game's
    // first key wait: a start that only shows where the game begins.
    void StartAndLeave() {
        DeclineIntroduction();
        player.pauseNow = [] { return true; };
        player.pauseItem = 2;
        Go();
    }
    void Go() {
        world.sim->SetTimeLimit(6 * 3600);
        world.sim->SetSkipAhead(true);
        status = program.Run();
    }
};

// The data folder of a player, kept across program runs.
struct Home : test::Home {
    // A series under way: the Reds (the player's) against the Owls.
    void Series(int openerHome, int wins1, int wins2) const {
        Write("baseball.rec", test::SeriesRecord(openerHome, wins1, wins2));
        Write("baseball.sav", " 4242 \r\n");
    }
};

// A game in progress, as "save and exit" leaves it.
struct Situation {
    int inning = 1, half = 1, home = 1;
    int runs1 = 0, runs2 = 0;
    int outs = 0, balls = 0, strikes = 0;
    int first = 0, second = 0, third = 0;
    int slot1 = 0, slot2 = 0;
    int hits1 = 0, hits2 = 0, hitTally = 0;  // the game's hits, and those of this half so far
};

void SaveGame(const Home& home, const Situation& s) {
    GameState gs;
    data::Rosters rosters;
    for (auto f : {data::RosterFile::Batters, data::RosterFile::StartingPitchers, data::RosterFile::ReliefPitchers})
        data::SetDefaults(f, rosters);
    gs.saveMarker = 1;
    gs.teamName[1] = "Reds";
    gs.managerName = "kim";
    gs.teamName[2] = "Owls";
    gs.runs[1] = s.runs1;
    gs.runs[2] = s.runs2;
    gs.inning = s.inning;
    gs.half = s.half;
    gs.homeTeam = s.home;
    gs.visitingTeam = 3 - s.home;
    gs.battingTeam = s.half == 1 ? 3 - s.home : s.home;
    gs.outs = s.outs;
    gs.balls = s.balls;
    gs.strikes = s.strikes;
    gs.runnerOnFirst = s.first;
    gs.runnerOnSecond = s.second;
    gs.runnerOnThird = s.third;
    gs.runnersOn = s.first + s.second + s.third;
    gs.contactHandicap = 0;
    gs.bullpenCountTeam1 = 6;
    gs.bullpenCountTeam2 = 8;
    for (Num* t : {&gs.runTally, &gs.hitTally, &gs.grandSlamTally, &gs.homeRunTally, &gs.tripleTally, &gs.doubleTally,
                   &gs.walkTally, &gs.hitBatterTally, &gs.stolenBaseTally, &gs.pickoffTally, &gs.caughtStealingTally,
                   &gs.doublePlayTally, &gs.strikeoutTally, &gs.hits[1], &gs.hits[2], &gs.leftOnBase[1],
                   &gs.leftOnBase[2]})
        *t = 0;
    gs.hits[1] = s.hits1;
    gs.hits[2] = s.hits2;
    gs.hitTally = s.hitTally;
    host::MakeFolder(home.data());
    ASSERT_TRUE(data::WriteSavedGame(home.data() + "/baseball.sav", SavedGameOf(gs, rosters)));
    ASSERT_TRUE(data::WriteBattingOrder(home.data() + "/basebats.sav", {s.slot1, s.slot2}));
}

std::string Rec(int opener, int w1, int w2) { return test::SeriesRecord(opener, w1, w2); }

// The runs a summary sentence tells: "scored, 3 runs " or "scored,  No runs ".
int SummaryRuns(const std::string& sentence) {
    const std::string mark = "scored, ";
    const size_t at = sentence.find(mark);
    if (at == std::string::npos) return 0;
    return std::atoi(sentence.c_str() + at + mark.size());
}

std::vector<std::string> Lines(const std::string& text) { return test::CrLfLines(text); }

// (a) and the log of a whole game: the home side ahead after the top of the
// ninth never bats again; the summaries add up to the final score.
TEST(WholeGame, NineInningsWithTheHomeSideAheadAfterTheTopOfTheNinth) {
    // Who bats whenever the crowd chants outside the stretch.
    std::vector<std::string> chants;
    size_t soundsSeen = 0;
    // How many were on before the pitch whenever the runners' advance is told.
    std::vector<std::pair<std::string, int>> advanced;
    size_t saidSeen = 0;
    // The first game, of those the player's keys a little later each time
    // make, that the home side leads after the top of the ninth.
    std::unique_ptr<Home> played;
    std::unique_ptr<Day> days;
    for (int t = 0; t < 30; ++t) {
        played = std::make_unique<Home>();
        played->Write("baseball.rec", Rec(1, 0, 0));
        days = std::make_unique<Day>(played->dir.path());
        Day& day = *days;
        day.DeclineIntroduction();
        day.player.keyDelay = 0.05 + 0.013 * t;
        chants.clear();
        advanced.clear();
        soundsSeen = saidSeen = 0;
        day.player.watch = [&] {
            const auto& sounds = day.world.sim->sounds();
            const GameState& g = day.program.state();
            for (; soundsSeen < sounds.size(); ++soundsSeen)
                if (StartsWith(sounds[soundsSeen].name, "charge") && g.outs < 3)
                    chants.push_back(std::to_string(g.battingTeam) + "/" + std::to_string(day.program.inningLoop().firstBatterOfHalf()));
            const auto& us = day.world.sim->utterances();
            for (; saidSeen < us.size() && (us[saidSeen].start >= 0 || us[saidSeen].end >= 0); ++saidSeen)
                if (us[saidSeen].start >= 0 && StartsWith(us[saidSeen].text, " the base runner"))
                    advanced.emplace_back(us[saidSeen].text, day.program.playValues().runnersBeforePlay);
        };
        day.Go();
        const GameState& g = day.program.state();
        if (g.runs[1] > g.runs[2] && g.inning == 9 && day.CountStarting(" in the Reds half of the  eighth") == 1 &&
            day.CountStarting(" in the Owls half of the  ninth") == 1 && day.CountStarting(" in the Reds half of the  ninth") == 0)
            break;
    }
    Home& home = *played;
    Day& day = *days;
    const GameState& gs = day.program.state();
    ASSERT_EQ(day.program.ended, Leave::GameOver);
    ASSERT_EQ(gs.homeTeam, 1);
    // Only the home crowd chants, and never at the first pitch of a half.
    EXPECT_FALSE(chants.empty());
    for (const auto& c : chants) EXPECT_EQ(c, "1/2");
    // The batter prompt's hint comes with the first, fifth and eighth prompts
    // of the game (the count starts at 2), and never after.
    std::string hints;
    for (const auto& s : day.spoken())
        if (StartsWith(s, " press the space bar to step into the batters box, "))
            hints += s.find(" s to steal, b to bunt or H to hit and run. ") != std::string::npos ? 'H' : '-';
    ASSERT_GT(hints.size(), 10u);
    EXPECT_EQ(hints.substr(0, 7), "H--H--H");
    EXPECT_EQ(hints.find('H', 7), std::string::npos);
    // One runner before the pitch or none: "runner"; more: "runners".
    ASSERT_FALSE(advanced.empty());
    for (const auto& [text, before] : advanced)
        EXPECT_EQ(text, before < 2 ? " the base runner advanced" : " the base runners advanced") << before;
    // Every batter is announced for his team, in batting order.
    const auto& rosters = day.program.rosters();
    int next[3] = {0, 1, 1};
    const auto all = day.spoken();
    for (size_t i = 0; i + 1 < all.size(); ++i) {
        const int team = all[i] == " now batting for the Reds" ? 1
                         : all[i] == " Now stepping into the batters box for the Owls" ? 2 : 0;
        if (team == 0) continue;
        const auto& batters = team == 1 ? rosters.battersTeam1 : rosters.battersTeam2;
        if (all[i + 1] != batters[static_cast<size_t>(next[team])]) {
            // A third out on the bases brings the same batter back.
            next[team] = next[team] == 1 ? 9 : next[team] - 1;
            EXPECT_EQ(all[i + 1], batters[static_cast<size_t>(next[team])]) << i;
        }
        next[team] = next[team] % 9 + 1;
    }
    EXPECT_GT(next[1] + next[2], 2);
    ASSERT_GT(gs.runs[1], gs.runs[2]);
    EXPECT_EQ(gs.inning, 9);
    EXPECT_EQ(gs.half, 2);
    // Straight from the last out of the top half to the result.
    EXPECT_EQ(day.Count(" We are in the bottom of the ninth inning"), 0u);
    const auto said = day.spoken();
    const auto lastSummary = std::find_if(said.rbegin(), said.rend(), [](const std::string& s) {
        return StartsWith(s, " in the Owls half of the  ninth inning");
    });
    ASSERT_NE(lastSummary, said.rend());
    EXPECT_EQ(*(lastSummary - 1), " the Reds have won the game");
    // Starting pitchers once per team: game 1, the first starters.
    EXPECT_EQ(day.CountStarting(" Now on the mound, the starting pitcher for the "), 2u);
    EXPECT_EQ(day.Count(" Now on the mound, the starting pitcher for the Owls " + day.program.rosters().startersTeam2[1]), 1u);

    const auto lines = Lines(home.Read("baseballlog.txt"));
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], data::kLogBanner);
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], " this is game #1 of the best of 7   the Owls verses the Reds. ");
    // Seventeen half-innings, each a blank line and its summary, as spoken.
    std::vector<std::string> summaries;
    for (const auto& s : day.spoken())
        if (StartsWith(s, " in the ") && s.find(" half of the ") != std::string::npos) summaries.push_back(s);
    ASSERT_EQ(summaries.size(), 17u);
    ASSERT_EQ(lines.size(), 3 + 2 * 17 + 6u);
    int told[3] = {0, 0, 0};
    for (size_t h = 0; h < 17; ++h) {
        EXPECT_EQ(lines[3 + 2 * h], " ");
        EXPECT_EQ(lines[4 + 2 * h], summaries[h]);
        const int team = h % 2 == 0 ? 2 : 1;
        EXPECT_NE(summaries[h].find(" in the " + gs.teamName[team] + " half of the "), std::string::npos) << h;
        told[team] += SummaryRuns(summaries[h]);
    }
    EXPECT_EQ(summaries[16].find(" in the Owls half of the  ninth inning"), 0u);
    EXPECT_EQ(told[1], gs.runs[1]);
    EXPECT_EQ(told[2], gs.runs[2]);
    const size_t end = 3 + 2 * 17;
    EXPECT_EQ(lines[end], " ");
    EXPECT_EQ(lines[end + 1], " the Reds have won the game by the score of " + std::to_string(gs.runs[1]) + " to " +
                                  std::to_string(gs.runs[2]) + ". ");
    EXPECT_EQ(lines[end + 3], day.program.gameEnd().VisitorsSentence());
    EXPECT_EQ(lines[end + 5], day.program.gameEnd().HomeSentence());
    // Hits and runners left on base add up from the summaries too.
    EXPECT_NE(lines[end + 5].find(" scored " + std::to_string(gs.runs[1]) + "run"), std::string::npos);
    // Counted for the series, and the next start plays game 2.
    EXPECT_EQ(home.Read("baseball.rec"), Rec(1, 1, 0));
    EXPECT_EQ(home.Read("baseball.sav"), " 4242 \r\n");
    EXPECT_EQ(day.spoken().back(), "Sorry, but I could not find the Tamberlyn game menu program.");
}

// (b) A walk-off in the bottom of the ninth: the game ends on the pitch
// that puts the home side ahead; nine innings are not mentioned.
TEST(WholeGame, WalkOffInTheBottomOfTheNinth) {
    Home home;
    home.Write("baseball.rec", Rec(1, 2, 1));
    SaveGame(home, {.inning = 9, .half = 2, .home = 1, .runs1 = 3, .runs2 = 3, .first = 1, .second = 1, .third = 1,
                    .slot1 = 4, .slot2 = 2});
    Day day(home.dir.path());
    day.Go();
    const GameState& gs = day.program.state();
    ASSERT_EQ(day.program.ended, Leave::GameOver);
    EXPECT_EQ(gs.inning, 9);
    EXPECT_EQ(gs.half, 2);
    EXPECT_LT(gs.outs, 3);
    EXPECT_GT(gs.runs[1], 3);
    const auto spoken = day.spoken();
    const auto won = std::find(spoken.begin(), spoken.end(), " the Reds have won the game");
    ASSERT_NE(won, spoken.end());
    EXPECT_EQ(*(won + 1), " by the score of " + std::to_string(gs.runs[1]) + " to 3");
    // The runs scored were told, and nothing of another pitch or a summary came between.
    auto scored = std::find_if(spoken.begin(), won, [](const std::string& s) {
        return s.find(" scored") != std::string::npos && s.find(" run") == 2;
    });
    EXPECT_NE(scored, won);
    EXPECT_EQ(day.CountStarting(" in the Reds half of the  ninth"), 0u);
    EXPECT_EQ(home.Read("baseball.rec"), Rec(1, 3, 1));
    EXPECT_EQ(home.Read("baseball.sav"), " 4242 \r\n");
}

// A walk-off half has no summary: its hits still reach the box score, those
// made before the save and those of the pitches played since.
TEST(WholeGame, AWalkOffHalfsHitsReachTheBoxScore) {
    Home home;
    home.Write("baseball.rec", Rec(1, 2, 1));
    SaveGame(home, {.inning = 9, .half = 2, .home = 1, .runs1 = 3, .runs2 = 3, .first = 1, .second = 1, .third = 1,
                    .slot1 = 4, .slot2 = 2, .hits1 = 5, .hits2 = 6, .hitTally = 2});
    Day day(home.dir.path());
    day.Go();
    const GameState& gs = day.program.state();
    ASSERT_EQ(day.program.ended, Leave::GameOver);
    ASSERT_EQ(gs.half, 2);
    const int hits = 5 + gs.hitTally;
    EXPECT_GE(hits, 7);
    EXPECT_EQ(gs.hits[1], hits);
    EXPECT_EQ(gs.hits[2], 6);
    EXPECT_NE(home.Read("baseballlog.txt").find(" The Reds scored " + std::to_string(gs.runs[1]) + "runs, on  " +
                                                std::to_string(hits) + "hits"),
              std::string::npos);
}

// (c) Extra innings: the result tells the innings actually played.
TEST(WholeGame, ExtraInningsTellHowLongTheGameWent) {
    {
        // A walk-off in the bottom of the eleventh.
        Home home;
        home.Write("baseball.rec", Rec(1, 0, 0));
        SaveGame(home, {.inning = 11, .half = 2, .home = 1, .runs1 = 2, .runs2 = 2, .first = 1, .second = 1,
                        .third = 1, .slot1 = 6});
        Day day(home.dir.path());
        day.Go();
        ASSERT_EQ(day.program.ended, Leave::GameOver);
        EXPECT_EQ(day.Count(" in  11 innings"), 1u);
        EXPECT_NE(home.Read("baseballlog.txt").find(" the Reds have won the game in  11 innings by the score of "),
                  std::string::npos);
    }
    {
        // Decided after the bottom of the tenth, the visitors ahead.
        Home home;
        home.Write("baseball.rec", Rec(2, 0, 0));
        SaveGame(home, {.inning = 10, .half = 2, .home = 2, .runs1 = 9, .runs2 = 3, .outs = 2, .slot2 = 3});
        Day day(home.dir.path());
        day.Go();
        ASSERT_EQ(day.program.ended, Leave::GameOver);
        EXPECT_EQ(day.program.state().inning, 11);
        EXPECT_EQ(day.Count(" in  10 innings"), 1u);
        EXPECT_EQ(day.CountStarting(" in the Owls half of the  tenth inning"), 1u);
        EXPECT_EQ(home.Read("baseball.rec"), Rec(2, 1, 0));
    }
}

// Runs the situation again and again, each time with the player's keys a
// little later (another moment gives other draws), until `found` says the
// run showed what is looked for. Each run leaves at the first prompt where
// `leave` holds.
template <typename Setup, typename Found>
bool Search(Setup setup, Found found, int tries = 40) {
    for (int t = 0; t < tries; ++t) {
        Home home;
        Day day(home.dir.path());
        setup(home, day);
        day.player.keyDelay = 0.05 + 0.013 * t;
        day.Go();
        if (found(home, day)) return true;
    }
    return false;
}

// (d) A third out made on the bases: the same batter leads off next time.
TEST(WholeGame, CaughtStealingForTheThirdOutBringsTheSameBatterBack) {
    const bool seen = Search(
        [](Home& home, Day& day) {
            home.Write("baseball.rec", Rec(2, 0, 0));
            SaveGame(home, {.inning = 3, .half = 1, .home = 2, .outs = 2, .first = 1, .slot1 = 5, .slot2 = 1});
            const GameState& gs = day.program.state();
            day.player.batterKey = [&gs] { return gs.runnerOnThird + gs.runnerOnSecond + gs.runnerOnFirst ? 'S' : kSpace; };
            day.player.swingPercent = [] { return -1.0; };
            day.player.pauseNow = [&gs] { return gs.inning == 4 && gs.battingTeam == 1; };
            day.player.pauseItem = 2;
        },
        [](Home&, Day& day) {
            std::string summary;
            for (const auto& s : day.spoken())
                if (StartsWith(s, " in the Reds half of the  third")) summary = s;
            if (summary.find("1 runner was caught stealing") == std::string::npos) return false;
            // The batter of the caught stealing is announced again in the fourth.
            const auto spoken = day.spoken();
            const auto& batters = day.program.rosters().battersTeam1;
            auto first = std::find(spoken.begin(), spoken.end(), " now batting for the Reds");
            std::vector<std::string> announced;
            for (auto it = first; it != spoken.end(); ++it)
                if (*it == " now batting for the Reds" && it + 1 != spoken.end()) announced.push_back(*(it + 1));
            EXPECT_GE(announced.size(), 2u);
            EXPECT_EQ(announced.front(), batters[5]);
            EXPECT_EQ(announced.back(), announced.front());
            EXPECT_EQ(day.program.state().batterUpTeam1, 5);
            return true;
        });
    EXPECT_TRUE(seen);
}

// (e) A run that comes in on the play that makes the third out does not count.
TEST(WholeGame, ARunOnTheThirdOutPlayDoesNotCount) {
    const std::string throwToFirst = "and here is the throw to first";
    const bool seen = Search(
        [&](Home& home, Day& day) {
            home.Write("baseball.rec", Rec(2, 0, 0));
            SaveGame(home, {.inning = 2, .half = 1, .home = 2, .outs = 2, .third = 1, .slot1 = 2, .slot2 = 1});
            // A bunt with two outs and a runner on third: when the batter is
            // thrown out at first, the runner has already crossed the plate.
            GameState& gs = day.program.state();
            day.player.batterKey = [] { return 'B'; };
            day.player.pauseNow = [&gs] { return gs.inning == 2 && gs.battingTeam == 2; };
            day.player.pauseItem = 2;
            day.player.watch = [&gs, &day, throwToFirst] {
                const auto& us = day.world.sim->utterances();
                if (day.mark == 0 && !us.empty() && us.back().text.find(throwToFirst) != std::string::npos &&
                    day.program.playValues().runsOnPlay == 1 && gs.outs == 2)
                    day.mark = 1000 + gs.runs[1];
            };
        },
        [&](Home&, Day& day) {
            if (day.mark < 1000) return false;
            const auto spoken = day.spoken();
            auto bunt = std::find_if(spoken.begin(), spoken.end(),
                                     [&](const std::string& s) { return s.find(throwToFirst) != std::string::npos; });
            auto summary = std::find_if(bunt, spoken.end(), [](const std::string& s) {
                return StartsWith(s, " in the Reds half of the  second");
            });
            if (summary == spoken.end() || std::find(bunt, summary, " There's 3 outs") == summary) return false;
            // Thrown out for the third out: the run neither told nor counted.
            EXPECT_EQ(std::find(bunt, summary, " 1 run scored"), summary);
            EXPECT_EQ(day.program.state().runs[1], day.mark - 1000);
            EXPECT_EQ(SummaryRuns(*summary), day.mark - 1000);
            return true;
        },
        120);
    EXPECT_TRUE(seen);
}

// Bases loaded, two outs, the runners sent: ball four forces a run in, and
// the runner then caught stealing home makes the third out. The walk's run
// had scored before the out and counts.
TEST(WholeGame, TheWalksForcedRunCountsWhenTheStealMakesTheThirdOut) {
    const bool seen = Search(
        [](Home& home, Day& day) {
            home.Write("baseball.rec", Rec(2, 0, 0));
            SaveGame(home, {.inning = 3, .half = 1, .home = 2, .runs1 = 2, .outs = 2, .balls = 3, .strikes = 2,
                            .first = 1, .second = 1, .third = 1, .slot1 = 5, .slot2 = 1});
            GameState& gs = day.program.state();
            day.player.batterKey = [] { return 'S'; };
            day.player.swingPercent = [] { return -1.0; };
            day.player.pauseNow = [&gs] { return gs.battingTeam == 2; };
            day.player.pauseItem = 2;
        },
        [](Home&, Day& day) {
            std::string summary;
            for (const auto& s : day.spoken())
                if (StartsWith(s, " in the Reds half of the  third")) summary = s;
            // Looked for: ball four on the first pitch, then caught stealing home.
            if (summary.find("1 walk") == std::string::npos ||
                summary.find("1 runner was caught stealing") == std::string::npos)
                return false;
            EXPECT_EQ(day.Count(" 1 run scored"), 1u);
            EXPECT_EQ(SummaryRuns(summary), 1);
            EXPECT_EQ(day.program.state().runs[1], 3);
            return true;
        });
    EXPECT_TRUE(seen);
}

// Every run of a play is charged to the computer's pitcher: after the first
// scoring play of the half, a play of two runs or more, he has them all
// against him, unless his manager has just taken him out for them.
TEST(WholeGame, ThePitcherIsChargedWithEveryRunOfAPlay) {
    struct Seen {
        int runs = 0;                    // of the half's first scoring play
        int charged = -1, bullpen = -1;  // at the next prompt
    };
    auto seen = std::make_shared<Seen>();
    const bool found = Search(
        [seen](Home& home, Day& day) {
            *seen = Seen{};
            home.Write("baseball.rec", Rec(2, 0, 0));
            SaveGame(home, {.inning = 3, .half = 1, .home = 2, .first = 1, .second = 1, .third = 1, .slot1 = 3,
                            .slot2 = 1});
            GameState& gs = day.program.state();
            day.player.watch = [seen, &day] {
                const auto& us = day.world.sim->utterances();
                if (seen->runs != 0 || us.empty()) return;
                const std::string& t = us.back().text;
                if (t.ends_with(" run scored") || t.ends_with(" runs scored"))
                    seen->runs = std::atoi(t.c_str());
            };
            day.player.pauseNow = [seen, &gs] {
                if (seen->runs == 0) return false;
                seen->charged = gs.pitcherRunsThisHalf;
                seen->bullpen = gs.bullpenCountTeam2;
                return true;
            };
            day.player.pauseItem = 2;
        },
        [seen](Home&, Day&) {
            if (seen->runs < 2) return false;
            EXPECT_TRUE((seen->charged == seen->runs && seen->bullpen == 8) || (seen->charged == 0 && seen->bullpen == 7))
                << seen->runs << " runs, " << seen->charged << " charged, " << seen->bullpen << " in the bullpen";
            return true;
        });
    EXPECT_TRUE(found);
}

// (f) The seventh-inning stretch takes the place of the break's commercial.
TEST(WholeGame, SeventhInningStretchAndNoSecondCommercial) {
    Home home;
    home.Write("baseball.rec", Rec(2, 0, 0));
    SaveGame(home, {.inning = 7, .half = 1, .home = 2, .runs1 = 1, .runs2 = 1, .outs = 2, .slot1 = 3, .slot2 = 3});
    Day day(home.dir.path());
    day.player.swingPercent = [] { return -1.0; };
    const GameState& gs = day.program.state();
    day.player.pauseNow = [&gs] { return gs.half == 2; };
    day.player.pauseItem = 2;
    day.Go();
    ASSERT_EQ(day.program.ended, Leave::ExitWithoutSaving);
    const auto spoken = day.spoken();
    const auto stretch = std::find(spoken.begin(), spoken.end(), " It's time for the seventh inning stretch");
    ASSERT_NE(stretch, spoken.end());
    const auto bottom = std::find(stretch, spoken.end(), " We are in the bottom of the seventh inning");
    ASSERT_NE(bottom, spoken.end());
    for (auto it = stretch; it != bottom; ++it) {
        EXPECT_NE(*it, " We will be back after this");
        EXPECT_NE(*it, " We will be back after these messages");
        EXPECT_NE(*it, " And now a commercial from are sponsor");
    }
    // After the summary: take, one commercial, the chants.
    std::vector<std::string> after;
    double from = 0;
    for (const auto& u : day.world.sim->utterances())
        if (u.text == " It's time for the seventh inning stretch") from = u.queued;
    for (const auto& snd : day.world.sim->sounds())
        if (snd.start >= from && snd.name != "crexite" && snd.name != "baseway" && snd.name != "crbkgrd" &&
            snd.name != "crdrums" && !(snd.name.size() == 2 && snd.name[0] == 'p'))
            after.push_back(snd.name);
    ASSERT_GE(after.size(), 5u);
    EXPECT_EQ(after[0], "take");
    EXPECT_EQ(std::vector<std::string>(after.begin() + 2, after.begin() + 5),
              (std::vector<std::string>{"charge1", "charge2", "charge2"}));
}

// (g) The player's pitching change in a game, and the computer's.
TEST(WholeGame, PitchingChangesOfBothManagers) {
    {
        Home home;
        home.Write("baseball.rec", Rec(1, 0, 0));
        SaveGame(home, {.inning = 4, .half = 1, .home = 1, .balls = 2, .strikes = 1, .slot1 = 1, .slot2 = 6});
        Day day(home.dir.path());
        data::Rosters r;
        data::SetDefaults(data::RosterFile::ReliefPitchers, r);
        const auto& pen = r.bullpenTeam1;
        day.bot.OnSayMatching([](const std::string& s) { return StartsWith(s, " WHAT WILL YOUR PITCHER THROW"); },
                              [&] { day.world.sim->PressKey('9'); });
        day.bot.OnSay(" 1 equals " + pen[1], kUp);
        day.bot.OnSay(" 6 equals " + pen[6], kDown);
        day.bot.OnSay(" 1 equals " + pen[1], kDown);
        day.bot.OnSay(" 2 equals " + pen[2], kEnter);
        day.player.pauseNow = [] { return true; };
        day.player.pauseItem = 1;
        day.Go();
        const std::string name = pen[2].substr(0, pen[2].find(':') + 1);
        EXPECT_EQ(day.Count(" the new pitcher " + name + " is ready."), 1u);
        const GameState& gs = day.program.state();
        EXPECT_EQ(gs.balls, 2);
        EXPECT_EQ(gs.strikes, 0);
        // Saved with the reliever gone and the others moved up.
        data::SavedGame saved;
        data::ReadSavedGame(home.data() + "/baseball.sav", saved);
        EXPECT_EQ(saved.bullpenCountTeam1, 5);
        EXPECT_EQ(saved.bullpenTeam1[1], pen[1]);
        EXPECT_EQ(saved.bullpenTeam1[2], pen[3]);
        EXPECT_EQ(saved.bullpenTeam1[5], pen[6]);
        EXPECT_EQ(saved.strikes, 0);
    }
    // The computer's manager, once two runs are in from the seventh on, at a
    // fresh count.
    const bool seen = Search(
        [](Home& home, Day& day) {
            home.Write("baseball.rec", Rec(1, 0, 0));
            SaveGame(home, {.inning = 8, .half = 1, .home = 2, .runs1 = 1, .runs2 = 5, .first = 1, .second = 1,
                            .third = 1, .slot1 = 3, .slot2 = 1});
            GameState& gs = day.program.state();
            auto counted = std::make_shared<std::vector<int>>();
            day.player.watch = [&gs, &day, counted] {
                const auto& us = day.world.sim->utterances();
                if (!us.empty() && us.back().text == " The manager comes out to make a pitching change" &&
                    counted->empty()) {
                    counted->push_back(gs.balls + gs.strikes);
                    day.mark = 2000 + gs.balls + gs.strikes + 10 * gs.outs;
                }
            };
            day.player.pauseNow = [&day] { return day.mark >= 2000; };
            day.player.pauseItem = 2;
        },
        [](Home&, Day& day) {
            if (day.mark < 2000) return false;
            EXPECT_EQ(day.mark % 10, 0);  // a fresh count
            EXPECT_LT(day.mark - 2000, 30);
            EXPECT_EQ(day.program.state().bullpenCountTeam2, 7);
            EXPECT_EQ(day.CountStarting(" the manager is bringing in "), 1u);
            return true;
        });
    EXPECT_TRUE(seen);
}

// (h), (i) Save and exit in the middle of an at-bat; the next run resumes
// that exact game; leaving it without saving keeps the save; then it is
// played to its end.
TEST(WholeGame, SaveMidAtBatResumeExactlyAndFinish) {
    Home home;
    home.Write("baseball.rec", Rec(1, 1, 1));
    home.Write("baseball.sav", " 4242 \r\n");
    {
        Day day(home.dir.path());
        day.DeclineIntroduction();
        const GameState& gs = day.program.state();
        day.player.pauseNow = [&gs] { return gs.inning >= 3 && gs.balls + gs.strikes > 0; };
        day.player.pauseItem = 1;
        day.Go();
        ASSERT_EQ(day.program.ended, Leave::SaveAndExit);
        EXPECT_EQ(day.program.pauseMenu().chosen, PauseMenu::Choice::SaveAndExit);
        EXPECT_EQ(day.spoken().back(), "Sorry, but I could not find the Tamberlyn game menu program.");
    }
    const std::string sav = home.Read("baseball.sav"), bats = home.Read("basebats.sav");
    ASSERT_EQ(sav.substr(0, 5), " 1 \r\n");
    data::SavedGame saved;
    data::ReadSavedGame(home.data() + "/baseball.sav", saved);
    EXPECT_GE(saved.inning, 3);
    EXPECT_GT(saved.balls + saved.strikes, 0);
    {
        // Resumed and saved again at once: the same bytes.
        Day day(home.dir.path());
        day.player.pauseNow = [] { return true; };
        day.player.pauseItem = 1;
        day.Go();
        EXPECT_EQ(day.program.startUp().start, StartUp::Start::Resumed);
        EXPECT_EQ(day.Count("The umpires for today's game are "), 0u);
        EXPECT_EQ(home.Read("baseball.sav"), sav);
        EXPECT_EQ(home.Read("basebats.sav"), bats);
    }
    {
        // Leaving without saving keeps it.
        Day day(home.dir.path());
        day.player.pauseNow = [] { return true; };
        day.player.pauseItem = 2;
        day.Go();
        EXPECT_EQ(day.program.pauseMenu().chosen, PauseMenu::Choice::ExitGame);
        EXPECT_EQ(home.Read("baseball.sav"), sav);
        EXPECT_EQ(home.Read("baseball.rec"), Rec(1, 1, 1));
    }
    {
        Day day(home.dir.path());
        day.Go();
        ASSERT_EQ(day.program.ended, Leave::GameOver);
        const GameState& gs = day.program.state();
        EXPECT_EQ(home.Read("baseball.sav"), " 4242 \r\n");
        EXPECT_EQ(home.Read("baseball.rec"), gs.runs[1] > gs.runs[2] ? Rec(1, 2, 1) : Rec(1, 1, 2));
    }
}

// (j) A whole series, one program run per game, the parks 2-3-2; then a new
// series.
TEST(WholeGame, ASeriesOfSevenRunsEndsInAChampionship) {
    Home home;
    // Alternate wins: the player swings well in the odd games and not at all
    // in the even ones, so the series goes the distance.
    int w1 = 0, w2 = 0;
    const int opener = 2;
    home.Write("baseball.rec", Rec(opener, 0, 0));
    for (int game = 1; game <= 7 && w1 < 4 && w2 < 4; ++game) {
        Day day(home.dir.path());
        day.DeclineIntroduction();
        if (game % 2 == 0) day.player.swingPercent = [] { return -1.0; };
        day.Go();
        const GameState& gs = day.program.state();
        ASSERT_EQ(day.program.ended, Leave::GameOver) << game;
        EXPECT_EQ(gs.gameNumber, game);
        const bool away = game >= 3 && game <= 5;
        EXPECT_EQ(gs.homeTeam, away ? 3 - opener : opener) << game;
        (gs.runs[1] > gs.runs[2] ? w1 : w2) += 1;
        if (w1 < 4 && w2 < 4) {
            EXPECT_EQ(home.Read("baseball.rec"), Rec(opener, w1, w2)) << game;
            EXPECT_EQ(home.Read("baseball.sav"), " 4242 \r\n") << game;
        } else {
            EXPECT_EQ(home.Read("baseball.rec"), " 0 \r\n");
            EXPECT_EQ(home.Read("baseball.sav"), " 0 \r\n");
            EXPECT_EQ(day.Count(std::string("The ") + (w1 == 4 ? "Reds" : "Owls") + "! win! the Championship."), 1u);
        }
    }
    // The series ends with the first side to four wins, whichever game that is
    // (how many games it takes depends on the draws, not on a rule).
    EXPECT_EQ(std::max(w1, w2), 4);
    EXPECT_LT(std::min(w1, w2), 4);
    // The next start is a new series: the names are asked again.
    Day day(home.dir.path());
    day.DeclineIntroduction();
    bool asked = false;
    day.bot.OnSayDo(" What would you like the name of your team to be ?", [&] {
        asked = true;
        throw std::runtime_error("a new series");
    });
    try {
        day.Go();
    } catch (const std::runtime_error&) {
    }
    EXPECT_TRUE(asked);
}

// (k) Tied after nineteen innings: the game is called and nothing is written.
TEST(WholeGame, CalledAfterNineteenTiedInningsTheSameGameBeginsAgain) {
    const bool seen = Search(
        [](Home& home, Day& day) {
            // Game 6 of the series, at the player's park.
            home.Write("baseball.rec", Rec(1, 3, 2));
            SaveGame(home, {.inning = 19, .half = 2, .home = 1, .runs1 = 4, .runs2 = 4, .outs = 2, .slot1 = 7, .slot2 = 7});
            day.player.swingPercent = [] { return -1.0; };
        },
        [&](Home& home, Day& day) {
            if (day.program.ended != Leave::CalledGame) return false;
            const auto spoken = day.spoken();
            const auto called = std::find(spoken.begin(), spoken.end(), " The game has been called because of the time.");
            EXPECT_NE(called, spoken.end());
            EXPECT_EQ(*(called + 1), " The game will be replayed at a later date.");
            EXPECT_EQ(*(called + 2), " Press any key");
            EXPECT_EQ(day.program.state().inning, 20);
            // No win counted; the resumed game's save is gone.
            EXPECT_EQ(home.Read("baseball.rec"), Rec(1, 3, 2));
            EXPECT_EQ(home.Read("baseball.sav"), " 4242 \r\n");
            // The next start plays game 6 again from its first pitch, at the same park.
            Day next(home.dir.path());
            next.StartAndLeave();
            EXPECT_EQ(next.program.startUp().start, StartUp::Start::NextGame);
            EXPECT_EQ(next.Count(" this is game #6"), 1u);
            EXPECT_EQ(next.Count(" the Owls verses the Reds"), 1u);
            EXPECT_EQ(next.program.state().inning, 1);
            EXPECT_EQ(next.program.state().half, 1);
            EXPECT_EQ(home.Read("baseball.rec"), Rec(1, 3, 2));
            return true;
        });
    EXPECT_TRUE(seen);
}

// The program stopped during the announcement: the game counts once, and
// the next start plays the next game; for a first game and a resumed one.
TEST(WholeGame, StoppedDuringTheAnnouncementTheGameCountsOnce) {
    for (bool resumed : {false, true}) {
        Home home;
        home.Write("baseball.rec", Rec(1, 0, 0));
        if (resumed) SaveGame(home, {.inning = 9, .half = 1, .home = 1, .runs1 = 8, .runs2 = 0, .outs = 2, .slot1 = 1, .slot2 = 4});
        {
            Day day(home.dir.path());
            if (!resumed) day.DeclineIntroduction();
            day.player.watch = [&day] {
                const auto& us = day.world.sim->utterances();
                if (!us.empty() && us.back().start >= 0 && us.back().text.find(" have won the game") != std::string::npos)
                    throw Killed{};
            };
            EXPECT_THROW(day.Go(), Killed);
        }
        const std::string rec = home.Read("baseball.rec");
        ASSERT_TRUE(rec == Rec(1, 1, 0) || rec == Rec(1, 0, 1)) << rec;
        EXPECT_EQ(home.Read("baseball.sav"), " 4242 \r\n");
        Day next(home.dir.path());
        next.StartAndLeave();
        EXPECT_EQ(next.program.startUp().start, StartUp::Start::NextGame) << resumed;
        EXPECT_EQ(next.Count(" this is game #2"), 1u) << resumed;
        EXPECT_EQ(home.Read("baseball.rec"), rec);
    }
}

// The starting pitchers: game n of the series sends the nth starter, games 6
// and 7 the first and second again; a resumed game announces none.
TEST(WholeGame, StartersByTheGameOfTheSeriesAndNoneOnResuming) {
    data::Rosters rosters;
    data::SetDefaults(data::RosterFile::StartingPitchers, rosters);
    const struct {
        int wins1, wins2, starter;
        bool playerHome;  // the player's pitcher is announced first
    } cases[] = {{0, 0, 1, true}, {2, 2, 5, false}, {3, 2, 1, true}, {3, 3, 2, true}};
    for (const auto& c : cases) {
        Home home;
        home.Series(1, c.wins1, c.wins2);
        Day day(home.dir.path());
        day.DeclineIntroduction();
        day.player.pauseNow = [] { return true; };
        day.player.pauseItem = 2;
        day.Go();
        const std::string expected = c.playerHome ? " Now on the mound, the starting pitcher for the Reds " + rosters.startersTeam1[c.starter]
                                                  : " Now on the mound, the starting pitcher for the Owls " + rosters.startersTeam2[c.starter];
        EXPECT_EQ(day.Count(expected), 1u) << c.wins1 + c.wins2 + 1;
        EXPECT_EQ(day.CountStarting(" Now on the mound"), 1u) << c.wins1 + c.wins2 + 1;
    }
    Home home;
    home.Series(1, 3, 3);
    SaveGame(home, {.inning = 1, .half = 1, .home = 1, .slot1 = 0, .slot2 = 0});
    Day day(home.dir.path());
    day.player.pauseNow = [] { return true; };
    day.player.pauseItem = 2;
    day.Go();
    EXPECT_EQ(day.CountStarting(" Now on the mound"), 0u);
    EXPECT_GT(day.player.prompts, 0);
}

// A half inning opens with the inning, the side at bat, the starter and the
// batter; an ordinary half ends with its summary, a break phrase, a
// commercial and the whole status report.
TEST(WholeGame, TheOrderOfAHalfInningsOpeningAndOfItsEnd) {
    Home home;
    home.Series(2, 0, 0);
    Day day(home.dir.path());
    day.DeclineIntroduction();
    const GameState& gs = day.program.state();
    day.player.swingPercent = [] { return -1.0; };
    day.player.pauseNow = [&gs] { return gs.half == 2; };
    day.player.pauseItem = 2;
    day.Go();
    const auto spoken = day.spoken();
    auto at = [&](const std::string& text, size_t from = 0) {
        for (size_t i = from; i < spoken.size(); ++i)
            if (StartsWith(spoken[i], text)) return i;
        return spoken.size();
    };
    const size_t inning = at(" We are in the top of the first inning");
    const size_t side = at(" The Reds are up to bat ");
    const size_t starter = at(" Now on the mound, the starting pitcher for the Owls ");
    const size_t batter = at(" now batting for the Reds");
    ASSERT_LT(batter, spoken.size());
    EXPECT_LT(inning, side);
    EXPECT_LT(side, starter);
    EXPECT_LT(starter, batter);

    const size_t summary = at(" in the Reds half of the  first inning");
    ASSERT_LT(summary, spoken.size());
    const std::string phrase = spoken[summary + 1];
    EXPECT_TRUE(phrase == " We will be back after this" || phrase == " We will be back after these messages" ||
                phrase == " And now a commercial from are sponsor")
        << phrase;
    const std::vector<std::string> report = {" We are in the bottom of the first inning", " The Owls are up to bat ",
                                             " the count is", "", " There's", " the bases are empty", " the score is"};
    size_t from = at(report[0], summary);
    ASSERT_LT(from, spoken.size());
    for (size_t k = 0; k < report.size(); ++k)
        EXPECT_TRUE(StartsWith(spoken[from + k], report[k])) << k << ": " << spoken[from + k];
    // The commercial plays between the phrase and the report.
    const auto& us = day.world.sim->utterances();
    double phraseAt = -1, reportAt = -1;
    for (const auto& u : us) {
        if (u.text == phrase && phraseAt < 0 && u.start > 0) phraseAt = u.start;
        if (u.text == report[0]) reportAt = u.start;
    }
    int commercials = 0;
    for (const auto& snd : day.world.sim->sounds())
        for (int n = 1; n <= 7; ++n)
            commercials += snd.name == Broadcast::CommercialWave(n) && snd.start > phraseAt && snd.start < reportAt;
    EXPECT_EQ(commercials, 1);
}

// A runner's order with nobody on base is no order: the prompt comes again
// with its hint, and the next key is the batter's.
TEST(WholeGame, StealOrHitAndRunWithTheBasesEmptyAsksAgain) {
    for (int key : {'S', 'H'}) {
        Home home;
        home.Series(2, 0, 0);
        Day day(home.dir.path());
        day.DeclineIntroduction();
        int asked = 0;
        day.player.batterKey = [&asked, key] { return ++asked == 1 ? key : kSpace; };
        day.player.pauseNow = [&asked] { return asked >= 2; };
        day.player.pauseItem = 2;
        day.Go();
        const std::string prompt = " press the space bar to step into the batters box, ";
        const std::string hint = " s to steal, b to bunt or H to hit and run. ";
        EXPECT_EQ(day.Count(prompt + hint), 2u) << char(key);  // the first prompt's, then again
        EXPECT_EQ(day.CountStarting(" here's the"), 1u) << char(key);  // only the space pitched
        EXPECT_EQ(day.program.playValues().stealFlag, 0) << char(key);
    }
}

// One voice is enough to play; a game resumed at 0-0 with nobody batted yet
// brings up the first batter.
// The crowd's loops play from the title on, but its vendors and swells wait
// for the game: a player who takes a minute over a question hears none.
TEST(WholeGame, TheCrowdKeepsStillThroughTheStartUpQuestions) {
    Home home;
    home.Series(2, 0, 0);
    Day day(home.dir.path());
    const std::string rules = " Would you like to read the baseball rules dot T X T file? no ";
    day.bot.OnSound("take", kSpace, 1.0);
    day.bot.OnSay(rules, kEnter, 60.0);
    day.bot.OnSay(" Would you like to reed the special key instructions? ", kEnter);
    day.bot.OnSay("do you wish to use this voice. yes ", kEnter);
    day.bot.OnSay(" would you like to get in some batting practice? yes ", kDown).OnSay(" no ", kEnter);
    day.player.pauseNow = [] { return true; };
    day.player.pauseItem = 2;
    day.Go();
    double asked = -1;
    for (const auto& u : day.world.sim->utterances())
        if (u.text == rules && asked < 0) asked = u.queued;
    ASSERT_GE(asked, 0);
    int vendors = 0;
    for (const auto& s : day.world.sim->sounds())
        vendors += (s.name == "hotdog" || s.name == "peanuts" || s.name == "beer1") && s.start > asked &&
                   s.start < asked + 60;
    EXPECT_EQ(vendors, 0);
}

TEST(WholeGame, OneVoiceIsEnoughAndAResumeBeforeTheFirstBatterStartsAtTheTop) {
    {
        Home home;
        home.Series(2, 0, 0);
        Day day(home.dir.path());
        day.world.sim->SetVoiceCount(1);
        // The introduction without the voice question: one voice is not offered.
        day.bot.OnSound("take", kSpace, 1.0);
        day.bot.OnSay(" Would you like to read the baseball rules dot T X T file? no ", kEnter);
        day.bot.OnSay(" Would you like to reed the special key instructions? ", kEnter);
        day.bot.OnSay(" would you like to get in some batting practice? yes ", kDown).OnSay(" no ", kEnter);
        day.player.pauseNow = [] { return true; };
        day.player.pauseItem = 2;
        day.Go();
        EXPECT_EQ(day.Count("do you wish to use this voice. yes "), 0u);
        EXPECT_TRUE(day.world.sim->messages().empty());
        EXPECT_GT(day.player.prompts, 0);
        EXPECT_EQ(day.program.ended, Leave::ExitWithoutSaving);
    }
    Home home;
    home.Write("baseball.rec", Rec(2, 0, 0));
    SaveGame(home, {.inning = 1, .half = 1, .home = 2, .slot1 = 0, .slot2 = 0});
    Day day(home.dir.path());
    day.player.pauseNow = [] { return true; };
    day.player.pauseItem = 2;
    data::Rosters rosters;
    data::SetDefaults(data::RosterFile::Batters, rosters);
    day.Go();
    const auto spoken = day.spoken();
    const auto up = std::find(spoken.begin(), spoken.end(), " now batting for the Reds");
    ASSERT_NE(up, spoken.end());
    ASSERT_NE(up + 1, spoken.end());
    EXPECT_EQ(*(up + 1), rosters.battersTeam1[1]);
}

}  // namespace
}  // namespace sw
