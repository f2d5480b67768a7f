// The parts of the game between the pitches, each on its own on the
// simulated host: the half-inning summary, commercials and the stretch, the
// pitch menu and both bullpens, the end of a game and the pause menu.
#include "data/game_files.h"
#include "game/broadcast.h"
#include "game/bullpen.h"
#include "game/commercials.h"
#include "game/game_end.h"
#include "game/pause_menu.h"
#include "game/player_files.h"
#include "host/files.h"
#include "play/play_world.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>

namespace sw {
namespace {

using test::Draw;

constexpr int kEnter = 13, kEscape = 27, kSpace = 32, kUp = 38, kDown = 40, kF1 = 112, kF3 = 114;

struct Parts : test::PlayWorld {
    Parts()
        : broadcast(gs, words, speech, sound, keys, files),
          bullpen(gs, rosters, speech, sound, waits, plays, broadcast),
          gameEnd(gs, speech, sound, waits, plays.status, files),
          pause(gs, rosters, speech, sound, waits, files) {
        files.folder = world.dir.path() + "/data";
        host::MakeFolder(files.folder);
        plays.status.pauseMenu = [this] { pause.Run(); };
        gs.bullpenCountTeam1 = 6;
        gs.bullpenCountTeam2 = 8;
    }
    // Presses `keys` one after another, each `gap` seconds after the last.
    void Keys(std::initializer_list<int> codes, double first = 0.1, double gap = 0.3) {
        double t = world.sim->clock().now() + first;
        for (int c : codes) {
            world.sim->PressKey(c, t);
            t += gap;
        }
    }
    std::string Read(const std::string& name) const {
        auto f = host::FindFile(files.folder, name);
        return f ? host::ReadText(*f) : std::string("(none)");
    }
    size_t Count(const std::string& text) const {
        const auto s = Said();
        return static_cast<size_t>(std::count(s.begin(), s.end(), text));
    }
    // Nine full innings played at `home`'s park: the game stands `runs1` to
    // `runs2`, in a series opened at `opener`'s park.
    void NineDone(int home, int runs1, int runs2, int opener) {
        gs.homeTeam = home;
        gs.visitingTeam = 3 - home;
        gs.inning = 10;
        gs.half = 1;
        gs.runs[1] = runs1;
        gs.runs[2] = runs2;
        gs.seriesOpenerHome = opener;
    }
    // Leaves the offer after a game with `key`.
    void AnswerOffer(int key = kSpace) { bot.OnSay(kOffer, key); }
    static inline const std::string kOffer = " Press any key, or the r key to read the baseball log dot t x t file ";

    test::Bot bot{*world.sim};
    PlayerFiles files;
    Broadcast broadcast;
    Bullpen bullpen;
    GameEnd gameEnd;
    PauseMenu pause;
};

// --- the half-inning summary ----------------------------------------------------

struct Tallies {
    int runs = 0, hits = 0, slams = 0, homers = 0, triples = 0, doubles = 0, steals = 0, hitBatters = 0, walks = 0,
        strikeouts = 0, pickoffs = 0, caught = 0, doublePlays = 0, left = 0;
};

TEST(HalfInningSummary, SentencesAsTheTalliesBuildThem) {
    const std::string head = " in the Hawks half of the  third inning,  the Hawks scored, ";
    const struct {
        Tallies t;
        std::string rest;
    } cases[] = {
        // One hit only: the " there was " after the hits goes again.
        {{.hits = 1}, " No runs  on, 1 hit,    and there were no runners left on base. "},
        {{}, " No runs  on, No hits,    and there were no runners left on base. "},
        {{.strikeouts = 1, .left = 1}, " No runs  on, No hits,   there was 1 strike out   and there was 1 runner left on base. "},
        {{.strikeouts = 2, .left = 2}, " No runs  on, No hits,   there were 2 strike outs   and two runners were left on base. "},
        // A hit batter right after the hits gets no second " there was ".
        {{.runs = 1, .hits = 2, .hitBatters = 1, .left = 3},
         "1 run  on, 2 hits,  there was 1 hit batter,   the bases were left loaded. "},
        {{.runs = 2, .hits = 3, .doubles = 1, .hitBatters = 2},
         "2 runs  on, 3 hits,  there was  1 double  there was 2 hit batters,   and there were no runners left on base. "},
        {{.runs = 5, .hits = 4, .slams = 1, .homers = 1, .triples = 2, .steals = 1, .walks = 2},
         "5 runs  on, 4 hits,  there was  1 Grand slam home run!  1 home run!  2 triples  1 stolen base 2 walks  and "
         "there were no runners left on base. "},
        {{.walks = 1, .pickoffs = 1, .caught = 1, .doublePlays = 1},
         " No runs  on, No hits,  there was 1 walk1 runner was picked off 1 runner was caught stealing   there was A "
         "double play  and there were no runners left on base. "},
        {{.pickoffs = 2, .caught = 2, .left = 1},
         " No runs  on, No hits,  2 runners were picked off 2 runners wer caught stealing   and there was 1 runner left "
         "on base. "},
    };
    for (const auto& c : cases) {
        Parts p;
        p.gs.battingTeam = 2;
        p.gs.inning = 3;
        const Tallies& t = c.t;
        p.gs.runTally = t.runs;
        p.gs.hitTally = t.hits;
        p.gs.grandSlamTally = t.slams;
        p.gs.homeRunTally = t.homers;
        p.gs.tripleTally = t.triples;
        p.gs.doubleTally = t.doubles;
        p.gs.stolenBaseTally = t.steals;
        p.gs.hitBatterTally = t.hitBatters;
        p.gs.walkTally = t.walks;
        p.gs.strikeoutTally = t.strikeouts;
        p.gs.pickoffTally = t.pickoffs;
        p.gs.caughtStealingTally = t.caught;
        p.gs.doublePlayTally = t.doublePlays;
        p.gs.runnersOn = t.left;
        EXPECT_EQ(p.broadcast.SummarySentence(), head + c.rest);
    }
}

TEST(HalfInningSummary, IsToldLoggedKeptAndCounted) {
    Parts p;
    p.gs.battingTeam = 1;
    p.gs.inning = 1;
    p.gs.hitTally = 2;
    p.gs.runnersOn = 1;
    p.gs.hits[1] = 3;
    p.gs.leftOnBase[1] = 4;
    p.files.AppendLog({"before"});
    p.broadcast.HalfInningSummary();
    const std::string sentence = " in the Owls half of the  first inning,  the Owls scored,  No runs  on, 2 hits,    and there was 1 runner left on base. ";
    EXPECT_EQ(p.Said().back(), sentence);
    EXPECT_EQ(p.broadcast.lastHalfSummary, sentence);
    EXPECT_EQ(p.Read("baseballlog.txt"), "before\r\n \r\n" + sentence + "\r\n");
    EXPECT_EQ(p.gs.hits[1], 5);
    EXPECT_EQ(p.gs.leftOnBase[1], 5);
}

// --- commercials, the small print and the stretch ------------------------------------

std::vector<std::string> Commercials(const Parts& p) {
    std::vector<std::string> out;
    for (const auto& s : p.world.sim->sounds()) {
        for (int n = 1; n <= 12; ++n)
            if (s.name == Broadcast::CommercialWave(n)) out.push_back(s.name);
    }
    return out;
}

TEST(Commercials, NoneRepeatsOneOfTheFourBeforeItAndEveryOneIsHeard) {
    Parts p;
    for (int i = 0; i < 60; ++i) p.broadcast.Commercial();
    const auto played = Commercials(p);
    ASSERT_EQ(played.size(), 60u);
    for (size_t i = 0; i < played.size(); ++i)
        for (size_t back = 1; back <= 4 && back <= i; ++back) EXPECT_NE(played[i], played[i - back]) << i;
    for (int n = 1; n <= 7; ++n)
        EXPECT_NE(std::find(played.begin(), played.end(), Broadcast::CommercialWave(n)), played.end()) << n;
    EXPECT_EQ(Broadcast::CommercialWave(1), "buyacoke");
    EXPECT_EQ(Broadcast::CommercialWave(2), "pepsigen");
    EXPECT_EQ(Broadcast::CommercialWave(7), "gobetter");
    EXPECT_EQ(Broadcast::CommercialWave(8), "baseco1");
}

TEST(Commercials, ExtraOnesCountUpToTheFirstMissingNumber) {
    Parts p;
    const std::string sounds = p.world.sim->folders().sounds;
    for (int n : {1, 2, 4}) test::WriteTestWave(sounds + "/baseco" + std::to_string(n) + ".wav", 2000);
    p.broadcast.extraCommercials = getcommercials(sounds);
    ASSERT_EQ(p.broadcast.extraCommercials, 2);
    for (int i = 0; i < 80; ++i) p.broadcast.Commercial();
    const auto played = Commercials(p);
    EXPECT_NE(std::find(played.begin(), played.end(), "baseco2"), played.end());
    EXPECT_EQ(std::find(played.begin(), played.end(), "baseco4"), played.end());
    // The extra ones are played at one step above their own rate.
    for (const auto& s : p.world.sim->sounds()) {
        if (s.name == "baseco1") {
            EXPECT_EQ(s.frequency, 11026u);
        }
    }
}

TEST(Commercials, TheBreakNeverUsesTheSamePhraseTwiceRunning) {
    Parts p;
    for (int i = 0; i < 12; ++i) p.broadcast.CommercialBreak();
    std::vector<std::string> phrases;
    for (const auto& s : p.Said())
        if (s == " We will be back after this" || s == " We will be back after these messages" ||
            s == " And now a commercial from are sponsor")
            phrases.push_back(s);
    ASSERT_EQ(phrases.size(), 12u);
    for (size_t i = 1; i < phrases.size(); ++i) EXPECT_NE(phrases[i], phrases[i - 1]);
}

TEST(Commercials, SmallPrintIsReadFasterWithinTheVoicesRangeAndTheRateComesBack) {
    for (int rate : {0, 7}) {
        Parts p;
        p.speech.speechRate = rate;
        p.speech.Voice->SetRate(rate);
        std::deque<double> draws = {Draw(10, 7)};
        for (int i = 1; i <= 13; ++i) draws.push_back(Draw(9, i % 9 + 1));
        p.Force(draws);
        p.broadcast.dcr();
        const auto& us = p.world.sim->utterances();
        ASSERT_FALSE(us.empty());
        EXPECT_EQ(us.back().text,
                  "not valid where prohibited prices do not include taxes shipping and handling or promotional fee no "
                  "guarantee warrantee liability or merchantability of product valid with this offer items may not be "
                  "sold resold or disseminated in any way shape or form prices not valid without promotional code "
                  "number  2 3 4 5 6 7 8 9 1 2 3 4 5");
        EXPECT_EQ(us.back().rate, std::min(rate + 6, 10));
        EXPECT_EQ(p.speech.Voice->Rate(), rate);
    }
    Parts p;
    p.Force({Draw(10, 6)});
    p.broadcast.dcr();
    EXPECT_TRUE(p.Said().empty());
}

TEST(Commercials, TheStretchHasOneCommercialAndTheChants) {
    Parts p;
    p.broadcast.SeventhInningStretch();
    EXPECT_EQ(p.Said().front(), " It's time for the seventh inning stretch");
    auto names = p.SoundNames();
    names.erase(std::remove(names.begin(), names.end(), "baseway"), names.end());
    ASSERT_EQ(names.size(), 5u);
    EXPECT_EQ(names[0], "take");
    EXPECT_EQ(Commercials(p).size(), 1u);
    EXPECT_EQ(std::vector<std::string>(names.begin() + 2, names.end()),
              (std::vector<std::string>{"charge1", "charge2", "charge2"}));
    EXPECT_EQ(p.broadcast.skipCommercial, 1);
}

// --- the pitch menu and the bullpens ------------------------------------------------

TEST(PitchMenu, WholeMenuFirstThenShortAndAgainAfterAWrongKey) {
    Parts p;
    p.gs.battingTeam = 2;
    p.bullpen.pitchMenuFirst = 1;
    const std::string menu =
        " 1 equals FAST BALL. 2 equals CURVE. 3 equals SLIDER. 4 equals SINKER. 5 equals CHANGE UP. 6 equals KNUCKLE "
        "BALL. 7 equals SCREWBALL. 8 equals pick off throw. 9 equals change pitcher.";
    const std::string ask = " WHAT WILL YOUR PITCHER THROW kim";
    // "0", the keypad's 1, a letter and a pick-off with the bases empty all
    // bring the whole menu back; then 3.
    p.Keys({'0', 97, 'A', '8', '3'}, 0.2, 0.5);
    p.bullpen.PitchMenu();
    EXPECT_EQ(p.pv().pitchNumber, 3);
    EXPECT_GE(p.pv().batterAction, 1);
    EXPECT_EQ(p.Count(menu), 5u);
    EXPECT_EQ(p.Count(ask), 5u);
    EXPECT_EQ(p.Said().front(), menu);
    EXPECT_EQ(p.bullpen.pitchMenuFirst, 2);
    p.world.sim->mutableUtterances().clear();
    p.Keys({'8'});
    p.Bases(0, 1, 0);
    p.bullpen.PitchMenu();
    EXPECT_EQ(p.pv().pitchNumber, 8);
    EXPECT_EQ(p.Said(), std::vector<std::string>{ask});
}

TEST(PitchMenu, TheComputersBatterDrawsAgainWhereTheSituationForbids) {
    const struct {
        int first, third, strikes;
        std::deque<double> draws;
        int action;
    } cases[] = {
        {0, 0, 0, {Draw(22, 22), Draw(22, 5)}, 1},   // no steal with nobody on
        {1, 1, 0, {Draw(22, 22), Draw(22, 15)}, 2},  // nor with a runner on third
        {1, 0, 0, {Draw(22, 22)}, 4},
        {0, 0, 2, {Draw(22, 21), Draw(22, 11)}, 2},  // no bunt with two strikes
        {0, 0, 1, {Draw(22, 21)}, 3},
        {0, 0, 0, {Draw(22, 10)}, 1},
    };
    for (const auto& c : cases) {
        Parts p;
        p.Bases(c.first, 0, c.third);
        p.gs.strikes = c.strikes;
        p.bullpen.pitchMenuFirst = 2;
        p.Keys({'1'});
        p.Force(c.draws);
        p.bullpen.PitchMenu();
        EXPECT_EQ(p.pv().batterAction, c.action);
    }
}

TEST(Bullpen, PlayersListWrapsBothWaysAndTheChosenOneComesIn) {
    Parts p;
    p.gs.balls = 2;
    p.gs.strikes = 1;
    const auto before = p.rosters.bullpenTeam1;
    // Up from the first is the last; Down from the last the first; then two.
    p.Keys({kUp, kDown, kDown, kEnter}, 0.2, 0.4);
    p.Force({Draw(3, 2)});
    p.bullpen.PlayerChange();
    const auto said = p.Said();
    auto at = [&](const std::string& s) { return std::find(said.begin(), said.end(), s) - said.begin(); };
    const auto intro = at(" Select, The bull pen pitcher to bring in. ");
    ASSERT_LT(intro, static_cast<long>(said.size()));
    EXPECT_EQ(said[intro + 1], " 1 equals " + before[1]);
    EXPECT_EQ(said[intro + 2], " 6 equals " + before[6]);
    EXPECT_EQ(said[intro + 3], " 1 equals " + before[1]);
    EXPECT_EQ(said[intro + 4], " 2 equals " + before[2]);
    const std::string name = before[2].substr(0, before[2].find(':') + 1);
    EXPECT_EQ(said[intro + 5], name);
    EXPECT_EQ(said[intro + 6], " is trotting in from the bull-pen. we will be back");
    EXPECT_EQ(said.back(), " the new pitcher " + name + " is ready.");
    EXPECT_EQ(Commercials(p).size(), 2u);
    // The entries after him move up; the count after the change is 2-0.
    EXPECT_EQ(p.gs.bullpenCountTeam1, 5);
    EXPECT_EQ(p.rosters.bullpenTeam1[1], before[1]);
    for (int i = 2; i <= 5; ++i) EXPECT_EQ(p.rosters.bullpenTeam1[i], before[i + 1]) << i;
    EXPECT_EQ(p.gs.balls, 2);
    EXPECT_EQ(p.gs.strikes, 0);
}

TEST(Bullpen, DigitsChooseOtherKeysStartTheListAgainAndTheLastOneLeavesTheRest) {
    Parts p;
    p.gs.bullpenCountTeam1 = 3;
    const auto before = p.rosters.bullpenTeam1;
    // 5 is beyond the three left: echoed, and the list starts again; the
    // keypad's 3 is no digit; F1 starts again too.
    p.Keys({'5', 99, kF1, '3', kEnter}, 0.2, 0.4);
    p.Force({Draw(3, 1)});
    p.bullpen.PlayerChange();
    EXPECT_EQ(p.Count(" Select, The bull pen pitcher to bring in. "), 4u);
    EXPECT_EQ(p.Said().back(), " the new pitcher " + before[3].substr(0, before[3].find(':') + 1) + " is ready.");
    EXPECT_EQ(p.gs.bullpenCountTeam1, 2);
    EXPECT_EQ(p.rosters.bullpenTeam1[1], before[1]);
    EXPECT_EQ(p.rosters.bullpenTeam1[2], before[2]);

    Parts empty;
    empty.gs.bullpenCountTeam1 = 0;
    empty.bullpen.PlayerChange();
    EXPECT_EQ(empty.Said(), std::vector<std::string>{" You have no pitchers left in the bull pen"});
}

TEST(Bullpen, TheComputersManagerChangesOnlyWhenTheRulesAllow) {
    const struct {
        int inning, runs, balls, strikes, outs, count, roll;
        bool change;
    } cases[] = {
        {7, 2, 0, 0, 1, 8, 1, true},   // from the seventh, two runs are enough
        {7, 1, 0, 0, 1, 8, 1, false},  // one run never is
        {6, 2, 0, 0, 1, 8, 1, false},  // before it, two are not
        {6, 3, 0, 0, 1, 8, 1, false},
        {6, 4, 0, 0, 1, 8, 1, true},   // four always are
        {7, 2, 0, 0, 1, 8, 2, false},  // one time in five he stays put
        {7, 2, 1, 0, 1, 8, 1, false},  // never during a count
        {7, 2, 0, 1, 1, 8, 1, false},
        {7, 2, 0, 0, 3, 8, 1, false},  // nor with three outs
        {9, 9, 0, 0, 0, 0, 1, false},  // nor with nobody left
    };
    for (const auto& c : cases) {
        Parts p;
        p.gs.inning = c.inning;
        p.gs.pitcherRunsThisHalf = c.runs;
        p.gs.balls = c.balls;
        p.gs.strikes = c.strikes;
        p.gs.outs = c.outs;
        p.gs.bullpenCountTeam2 = c.count;
        const auto before = p.rosters.bullpenTeam2;
        p.Force({Draw(5, c.roll), Draw(c.count > 0 ? c.count : 1, 3)});
        p.bullpen.ComputerChange();
        const bool changed = p.Count(" The manager comes out to make a pitching change") == 1;
        EXPECT_EQ(changed, c.change) << c.inning << " " << c.runs << " " << c.roll;
        if (!changed) continue;
        EXPECT_EQ(p.gs.pitcherRunsThisHalf, 0);
        EXPECT_EQ(p.gs.bullpenCountTeam2, c.count - 1);
        EXPECT_EQ(p.Count(" the manager is bringing in " + before[3]), 1u);
        EXPECT_EQ(p.Said().back(), " " + before[3] + " is ready");
        EXPECT_EQ(p.rosters.bullpenTeam2[3], before[4]);
        EXPECT_EQ(Commercials(p).size(), 2u);
    }
}

// --- the end of a game ------------------------------------------------------------------

// A game longer than nine innings says " in " and the innings as a number,
// which brings its own leading blank; spoken and logged alike.
TEST(GameEnd, TheResultTellsTheInningsPlayedAsANumberAfterIn) {
    const struct {
        int inning, half, home, visitors;
        std::string length;
    } cases[] = {
        {9, 2, 5, 3, ""},                  // home ahead after the top of the ninth
        {10, 1, 3, 5, ""},                 // nine full innings
        {9, 2, 4, 3, ""},                  // a walk-off in the ninth
        {10, 2, 4, 3, " in  10 innings"},  // a walk-off in the tenth
        {11, 1, 3, 4, " in  10 innings"},  // decided after the bottom of the tenth
        {11, 2, 6, 5, " in  11 innings"},  // a walk-off in the eleventh
        {19, 2, 2, 1, " in  19 innings"},
    };
    for (const auto& c : cases) {
        Parts p;
        p.gs.inning = c.inning;
        p.gs.half = c.half;
        p.gs.homeTeam = 2;
        p.gs.visitingTeam = 1;
        p.gs.runs[2] = c.home;
        p.gs.runs[1] = c.visitors;
        p.gs.seriesOpenerHome = 2;
        p.AnswerOffer();
        p.gameEnd.GameOver();
        const std::string winner = c.home > c.visitors ? "Hawks" : "Owls";
        const int w = std::max(c.home, c.visitors), l = std::min(c.home, c.visitors);
        const std::string line = " the " + winner + " have won the game" + c.length + " by the score of " +
                                 std::to_string(w) + " to " + std::to_string(l) + ". ";
        EXPECT_NE(p.Read("baseballlog.txt").find(line), std::string::npos) << c.inning << "/" << c.half;
        EXPECT_EQ(p.Count(c.length), c.length.empty() ? 0u : 1u);
    }
}

TEST(GameEnd, SeriesCountedAndSavedBeforeTheAnnouncement) {
    const struct {
        int home, wins1, wins2, runs1, runs2;
        bool hr, champion;
        std::string rec, sav;
    } cases[] = {
        {2, 1, 1, 2, 5, true, false, " 2 \r\n 1 \r\n 2 \r\nOwls\r\nkim\r\nHawks\r\n", " 4242 \r\n"},
        {1, 1, 1, 2, 5, false, false, " 2 \r\n 1 \r\n 2 \r\nOwls\r\nkim\r\nHawks\r\n", " 4242 \r\n"},
        {2, 3, 3, 2, 5, false, true, " 0 \r\n", " 0 \r\n"},  // the fourth win ends it, whoever has three
        {2, 3, 2, 6, 5, false, true, " 0 \r\n", " 0 \r\n"},
    };
    for (const auto& c : cases) {
        Parts p;
        p.gs.homeTeam = c.home;
        p.gs.visitingTeam = 3 - c.home;
        p.gs.inning = 10;
        p.gs.half = 1;
        p.gs.runs[1] = c.runs1;
        p.gs.runs[2] = c.runs2;
        p.gs.seriesOpenerHome = 2;
        p.gs.seriesWinsTeam1 = c.wins1;
        p.gs.seriesWinsTeam2 = c.wins2;
        // The files as they stand when the first word of the result is heard.
        std::string recAtAnnouncement, savAtAnnouncement;
        p.bot.OnSayMatching([](const std::string& s) { return s.find(" have won the game") != std::string::npos; },
                          [&] {
                              recAtAnnouncement = p.Read("baseball.rec");
                              savAtAnnouncement = p.Read("baseball.sav");
                          },
                          0);
        p.AnswerOffer();
        p.gameEnd.GameOver();
        const auto names = p.SoundNames();
        EXPECT_EQ(!names.empty() && names.front() == "hr", c.hr);
        if (!c.champion) {
            EXPECT_EQ(recAtAnnouncement, c.rec);
            EXPECT_EQ(savAtAnnouncement, c.sav);
        } else {
            EXPECT_EQ(savAtAnnouncement, " 0 \r\n");
            const std::string winner = c.runs2 > c.runs1 ? "Hawks" : "Owls";
            EXPECT_EQ(p.Count("The " + winner + "! win! the Championship."), 1u);
            // The home champion's cheer plays to its end; the visitors get the losers' sound.
            const auto& sounds = p.world.sim->sounds();
            const bool homeWon = (c.runs2 > c.runs1) == (c.home == 2);
            auto it = std::find_if(sounds.begin(), sounds.end(),
                                   [&](const auto& s) { return s.name == (homeWon ? "crcheer" : "losers"); });
            ASSERT_NE(it, sounds.end());
            EXPECT_GT(it->stop - it->start, 1.0);
            EXPECT_EQ(it->pan, homeWon ? 0 : 750);
        }
        EXPECT_EQ(p.Read("baseball.rec"), c.rec);
        EXPECT_EQ(p.Read("baseball.sav"), c.sav);
    }
}

TEST(GameEnd, BoxScoreAndTheOfferRepeatWithoutLoggingAgain) {
    Parts p;
    p.gs.homeTeam = 2;
    p.gs.visitingTeam = 1;
    p.gs.inning = 10;
    p.gs.half = 1;
    p.gs.runs[1] = 1;
    p.gs.runs[2] = 3;
    p.gs.hits[1] = 1;
    p.gs.hits[2] = 7;
    p.gs.leftOnBase[1] = 1;
    p.gs.leftOnBase[2] = 4;
    p.gs.seriesOpenerHome = 2;
    p.gs.seriesWinsTeam1 = 0;
    p.gs.seriesWinsTeam2 = 0;
    const std::string visitors = " The Owls scored  1 run, on  1 hit, and they left 1runner on base. ";
    const std::string home = " The Hawks scored 3runs, on  7hits, and they left 4runners on base. ";
    EXPECT_EQ(p.gameEnd.VisitorsSentence(), visitors);
    EXPECT_EQ(p.gameEnd.HomeSentence(), home);
    // F3 repeats the result; "r" reads the log, then the box score and the
    // offer come again; any other key leaves.
    p.AnswerOffer(kF3);
    p.AnswerOffer('R');
    p.AnswerOffer(kEscape);
    p.gameEnd.GameOver();
    ASSERT_TRUE(p.bot.done());
    const std::string log = p.Read("baseballlog.txt");
    EXPECT_EQ(log, " \r\n the Hawks have won the game by the score of 3 to 1. \r\n \r\n" + visitors + "\r\n \r\n" + home +
                       "\r\n");
    EXPECT_EQ(p.Count(" the Hawks have won the game"), 2u);
    EXPECT_EQ(p.Count(visitors + home), 3u);
    std::string joined;
    for (char ch : log)
        if (ch != '\r' && ch != '\n') joined += ch;
    EXPECT_EQ(p.Count(joined), 1u);
    EXPECT_EQ(p.Read("baseball.rec"), " 2 \r\n 0 \r\n 1 \r\nOwls\r\nkim\r\nHawks\r\n");
}

TEST(GameEnd, F1AfterAChampionshipPlaysAndWritesItAgain) {
    Parts p;
    p.gs.homeTeam = 1;
    p.gs.visitingTeam = 2;
    p.gs.inning = 10;
    p.gs.half = 1;
    p.gs.runs[1] = 4;
    p.gs.runs[2] = 2;
    p.gs.seriesOpenerHome = 1;
    p.gs.seriesWinsTeam1 = 3;
    p.bot.OnSayDo(Parts::kOffer, [&] {
        // A new series written meanwhile is overwritten again by the repeat.
        p.files.WriteSeries(p.gs);
        p.world.sim->PressKey(kF1);
    });
    p.AnswerOffer();
    p.gameEnd.GameOver();
    EXPECT_EQ(p.Count("The Owls! win! the Championship."), 2u);
    EXPECT_EQ(p.Read("baseball.rec"), " 0 \r\n");
    EXPECT_EQ(p.Read("baseball.sav"), " 0 \r\n");
    const auto names = p.SoundNames();
    EXPECT_EQ(std::count(names.begin(), names.end(), "champion"), 2);
    const std::string log = p.Read("baseballlog.txt");
    EXPECT_EQ(log.find("Championship"), log.rfind("Championship"));
}

// The called game counts no win and leaves the marker of a finished game, so
// the next start begins the same game again; it is on disk before a word is said.
TEST(GameEnd, TheCalledGameLeavesTheSameGameToBeginAgain) {
    Parts p;
    p.files.WriteSeries(p.gs);
    const std::string rec = p.Read("baseball.rec");
    p.files.WriteSaveMarker(data::kMarkerSavedGame);
    std::string savAtFirstWord;
    p.bot.OnSayMatching([](const std::string& s) { return s.find("called") != std::string::npos; },
                        [&] { savAtFirstWord = p.Read("baseball.sav"); }, 0);
    p.bot.OnSay(" Press any key", kSpace, 2);
    p.gameEnd.CalledGame();
    EXPECT_EQ(p.Said(), (std::vector<std::string>{" The game has been called because of the time.",
                                                  " The game will be replayed at a later date.", " Press any key"}));
    EXPECT_EQ(savAtFirstWord, " 4242 \r\n");
    EXPECT_EQ(p.Read("baseball.sav"), " 4242 \r\n");
    EXPECT_EQ(p.Read("baseball.rec"), rec);
    EXPECT_EQ(p.Read("baseballlog.txt"), "(none)");
}

// --- the pause menu -------------------------------------------------------------------------

// How the menu's choice ends the run; nothing when the player returns.
std::optional<Leave> LeaveChosen(PauseMenu& menu) {
    try {
        menu.Run();
    } catch (const RunEnds& end) {
        return end.why;
    }
    return std::nullopt;
}

TEST(PauseMenu, ArrowsWrapDigitsHighlightAndF1StartsAgain) {
    Parts p;
    // Up from 1 is 3, Down from 3 is 1; "3" highlights without choosing; F1
    // starts again at 1; "2", Enter: exit without saving.
    p.Keys({kUp, kDown, '3', kF1, '2', kEnter}, 3, 3);
    EXPECT_EQ(LeaveChosen(p.pause), Leave::ExitWithoutSaving);
    EXPECT_EQ(p.pause.chosen, PauseMenu::Choice::ExitGame);
    EXPECT_EQ(p.Said(), (std::vector<std::string>{" Select. 1. save and exit game ", " 3. return to game",
                                                  " 1. save and exit game ", " 3. return to game",
                                                  " Select. 1. save and exit game ", " 2. exit game "}));
    EXPECT_EQ(p.Read("baseball.sav"), "(none)");
    EXPECT_TRUE(p.waits.TakeAnswerAtOnce()) << "the next key goes to the game";
    const auto names = p.SoundNames();
    EXPECT_EQ(std::count(names.begin(), names.end(), "baseway"), 2) << "F1 starts again with the transition";
}

TEST(PauseMenu, SaveAndExitWritesTheWholeGameAndReturnHandsTheNextKeyOver) {
    Parts p;
    p.gs.saveMarker = 4242;
    p.gs.batterUpTeam1 = 3;
    p.gs.batterUpTeam2 = 7;
    p.gs.runs[1] = 2;
    p.Keys({kEnter}, 3);
    EXPECT_EQ(LeaveChosen(p.pause), Leave::SaveAndExit);
    EXPECT_EQ(p.pause.chosen, PauseMenu::Choice::SaveAndExit);
    EXPECT_EQ(p.Said().back(), " game saved ");
    const std::string sav = p.Read("baseball.sav");
    EXPECT_EQ(sav.substr(0, 16), " 1 \r\nOwls\r\nkim\r\n");
    EXPECT_EQ(p.Read("basebats.sav"), " 3 \r\n 7 \r\n");

    // Return to game: the key after it goes to the game as its answer, F7
    // included, without a status report.
    Parts r;
    r.Keys({kEscape, kUp, kEnter, 118}, 0.1, 3);
    const Key handed = r.plays.status.ReadKey();
    EXPECT_EQ(r.pause.chosen, PauseMenu::Choice::ReturnToGame);
    EXPECT_EQ(handed.code, "118");
    EXPECT_FALSE(r.waits.TakeAnswerAtOnce()) << "only the one key";
    for (const auto& s : r.Said()) EXPECT_EQ(s.find(" We are in the"), std::string::npos);
    EXPECT_EQ(r.Read("baseball.sav"), "(none)");
}

// Every key at the offer after a game, and what it leads to.
TEST(GameEnd, TheOfferRepeatsTheResultForF1ToF5ReadsTheLogForRAndLeavesOnAnyOtherKey) {
    const struct {
        int key;
        size_t results, logReadings;
    } cases[] = {
        {kF1, 2, 0}, {113, 2, 0}, {kF3, 2, 0}, {115, 2, 0}, {116, 2, 0},  // F3's character is "r" too
        {'R', 1, 1}, {117, 1, 0}, {'x', 1, 0}, {kSpace, 1, 0},
    };
    for (const auto& c : cases) {
        Parts p;
        p.NineDone(2, 1, 3, 2);
        p.AnswerOffer(c.key);
        p.AnswerOffer(kEscape);
        p.gameEnd.GameOver();
        EXPECT_EQ(p.Count(" the Hawks have won the game"), c.results) << c.key;
        const auto names = p.SoundNames();
        // The log is read between two "baseway" sounds of its own.
        EXPECT_EQ(static_cast<size_t>(std::count(names.begin(), names.end(), "baseway")), 2 * c.logReadings) << c.key;
        if (c.logReadings == 0) continue;
        // A pause of 0.2 s on each side of the reading.
        std::vector<host::sim::SoundPlay> ways;
        for (const auto& s : p.world.sim->sounds())
            if (s.name == "baseway") ways.push_back(s);
        const auto& us = p.world.sim->utterances();
        const auto reading = std::find_if(us.begin(), us.end(), [&](const auto& u) { return u.queued > ways[0].start; });
        ASSERT_NE(reading, us.end());
        EXPECT_GE(reading->queued, ways[0].stop + 0.2);
        EXPECT_GE(ways[1].start, reading->end + 0.2);
    }
}

// The championship: the result first, then the crowning; at home the fanfare
// in the middle, a second and a half, then the cheer once through; away, the
// losers' sound to the right.
TEST(GameEnd, TheChampionshipFollowsTheResultWithItsOwnSounds) {
    for (int home : {1, 2}) {
        Parts p;
        p.NineDone(home, 5, 2, 1);
        p.gs.seriesWinsTeam1 = 3;
        p.gs.seriesWinsTeam2 = 1;
        p.AnswerOffer();
        p.gameEnd.GameOver();
        const auto said = p.Said();
        const auto result = std::find(said.begin(), said.end(), " the Owls have won the game");
        const auto crowned = std::find(said.begin(), said.end(), "The Owls! win! the Championship.");
        ASSERT_NE(crowned, said.end());
        EXPECT_LT(result, crowned);
        const std::string log = p.Read("baseballlog.txt");
        EXPECT_LT(log.find(" have won the game"), log.find("Championship"));
        const int volume = p.sound.waveVolume;
        const auto& sounds = p.world.sim->sounds();
        auto named = [&](const std::string& n) {
            return std::find_if(sounds.begin(), sounds.end(), [&](const auto& s) { return s.name == n; });
        };
        if (home == 1) {
            const auto fanfare = named("champion"), cheer = named("crcheer");
            ASSERT_NE(fanfare, sounds.end());
            ASSERT_NE(cheer, sounds.end());
            EXPECT_EQ(fanfare->pan, 0);
            EXPECT_GE(cheer->start - fanfare->start, 1.5);
            EXPECT_EQ(cheer->volume, volume - 1000);
            EXPECT_EQ(cheer->pan, 0);
            EXPECT_EQ(p.SoundNames().back(), "hr");
            EXPECT_EQ(named("losers"), sounds.end());
        } else {
            const auto losers = named("losers");
            ASSERT_NE(losers, sounds.end());
            EXPECT_EQ(losers->volume, volume - 750);
            EXPECT_EQ(losers->pan, 750);
            EXPECT_EQ(named("champion"), sounds.end());
            EXPECT_EQ(named("crcheer"), sounds.end());
        }
    }
}

// The seven sponsors play at the game's wave rate; the extra commercials one
// step above their own rate (a wave of another rate shows which is which).
TEST(Commercials, SponsorsAtTheGamesRateExtraOnesOneStepAboveTheirOwn) {
    for (int number = 1; number <= 8; ++number) {
        Parts p;
        const std::string wave = p.world.sim->folders().sounds + "/" + Broadcast::CommercialWave(number) + ".wav";
        std::filesystem::remove(wave);
        test::WriteTestWave(wave, 2000, 22050);
        p.broadcast.extraCommercials = 1;
        p.Force({Draw(8, number), Draw(10, 1)});
        p.broadcast.Commercial();
        ASSERT_EQ(Commercials(p), std::vector<std::string>{Broadcast::CommercialWave(number)}) << number;
        EXPECT_EQ(p.world.sim->sounds().back().frequency, number <= 7 ? 11026u : 22051u) << number;
    }
}

// A key the menu does not know is echoed and the menu starts again at its
// first item; "return to game" brings the crowd back.
TEST(PauseMenu, AnUnknownKeyStartsAgainAndReturnBringsTheCrowdBack) {
    Parts p;
    p.Keys({kDown, 'x', kEnter}, 3, 3);
    EXPECT_EQ(LeaveChosen(p.pause), Leave::SaveAndExit);
    EXPECT_EQ(p.pause.chosen, PauseMenu::Choice::SaveAndExit);
    const auto said = p.Said();
    ASSERT_GE(said.size(), 4u);
    EXPECT_EQ(said[0], " Select. 1. save and exit game ");
    EXPECT_EQ(said[1], " 2. exit game ");
    EXPECT_EQ(said[3], " Select. 1. save and exit game ");
    // Starting again plays the transition again, and the menu waits its
    // pause after it before it speaks.
    std::vector<double> transitions, selects;
    for (const auto& s : p.world.sim->sounds())
        if (s.name == "baseway") transitions.push_back(s.start);
    for (const auto& u : p.world.sim->utterances())
        if (u.text == said[0]) selects.push_back(u.queued);
    ASSERT_EQ(transitions.size(), 2u);
    ASSERT_EQ(selects.size(), 2u);
    EXPECT_GT(transitions[1], selects[0]);
    EXPECT_GE(selects[1], transitions[1] + 0.3);

    Parts r;
    r.sound.startcrowd();
    r.Keys({kUp, kEnter}, 3);
    r.pause.Run();
    EXPECT_EQ(r.pause.chosen, PauseMenu::Choice::ReturnToGame);
    EXPECT_EQ(r.sound.crowdOn, 1);
    int sounding = 0;
    for (const auto& s : r.world.sim->sounds()) sounding += s.name == "crbkgrd" && s.stop < 0;
    EXPECT_EQ(sounding, 3);
    const auto names = r.SoundNames();
    EXPECT_EQ(std::count(names.begin(), names.end(), "baseway"), 2);  // the menu's and the return's
}

}  // namespace
}  // namespace sw
