// The game program from its first second to where the first pitch would be
// thrown, run whole on the simulated host.
#include "data/game_files.h"
#include "data/rosters.h"
#include "game/game.h"
#include "game_player.h"
#include "host/files.h"
#include "support/sim_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace sw {
namespace {

using test::Bot;
using test::GamePlayer;
using test::SimWorld;
namespace fs = std::filesystem;

constexpr int kEnter = 13, kBack = 8, kShift = 16, kDown = 40, kSpace = 32;
constexpr int Key(char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 65 : c; }

const std::string kBattersCorrupt =
    " The baseball batters dot T X T file seems to be corrupt.  Would you like me to rewrite the original file? Yes ";
const std::string kStartersCorrupt =
    " The baseball starting pitchers dot T X T file seems to be corrupt.  Would you like me to rewrite the original "
    "file? Yes ";
const std::string kReliefCorrupt =
    " The baseball relief pitchers dot T X T file seems to be corrupt.  Would you like me to rewrite the original "
    "file? Yes ";
const std::string kLeave = " Do you wish to exit the game? yes ";
const std::string kRules = " Would you like to read the baseball rules dot T X T file? yes ";
const std::string kRulesNo = " Would you like to read the baseball rules dot T X T file? no ";
const std::string kSpecial = " Would you like to reed the special key instructions? ";
const std::string kVoice = "do you wish to use this voice. yes ";
const std::string kPractice = " would you like to get in some batting practice? yes ";
const std::string kYourTeam = " What would you like the name of your team to be ?";
const std::string kManager = " Your team needs a manager.  What is your name ?";
const std::string kMyTeam = " What would you like the name of my team to be ?";
const std::string kCoin = " Let's flip a coin.  The winner is the home team";
const std::string kApology = "Sorry, but I could not find the Tamberlyn game menu program.";

size_t Count(const std::vector<std::string>& v, const std::string& what) {
    return static_cast<size_t>(std::count(v.begin(), v.end(), what));
}
bool Has(const std::vector<std::string>& v, const std::string& what) { return Count(v, what) > 0; }
size_t IndexOf(const std::vector<std::string>& v, const std::string& what) {
    return static_cast<size_t>(std::find(v.begin(), v.end(), what) - v.begin());
}

struct GameRun {
    SimWorld world;
    Bot bot{*world.sim};
    GameProgram program{*world.sim};
    GamePlayer player{*world.sim, bot, program};
    // These runs end at the game's first prompt: Escape and "exit game".
    GameRun() {
        player.pauseNow = [] { return true; };
        player.pauseItem = 2;
    }
    int status = -1;

    std::string data() const { return world.sim->folders().documents + "/tamberlyn"; }
    std::string Read(const std::string& name) const { return host::ReadText(data() + "/" + name); }
    void Write(const std::string& name, const std::string& text) const {
        host::MakeFolder(data());
        host::WriteFileAtomic(data() + "/" + name, text);
    }
    void GoodRosters() const {
        for (auto f : {data::RosterFile::Batters, data::RosterFile::StartingPitchers, data::RosterFile::ReliefPitchers})
            Write(data::Layout(f).fileName, data::DefaultRosterText(f));
    }
    void Go() {
        world.sim->SetTimeLimit(3600);
        status = program.Run();
    }
    std::vector<std::string> spoken() const { return world.sim->Spoken(); }
    bool Played(const std::string& name) const {
        for (const auto& s : world.sim->sounds())
            if (s.name == name) return true;
        return false;
    }
};

// Answers a typed-answer prompt: `text` typed key by key (upper-case
// letters with Shift first), a "\b" as Backspace, then Enter.
void Answer(Bot& bot, const std::string& prompt, const std::string& text) {
    bool first = true;
    auto press = [&](int key) {
        if (first) bot.OnSay(prompt, key, 0.3);
        else bot.After(0.3, key);
        first = false;
    };
    for (char c : text) {
        if (c == '\b') {
            press(kBack);
            continue;
        }
        if (c >= 'A' && c <= 'Z') {
            press(kShift);
            c = static_cast<char>(c - 'A' + 'a');
        }
        press(Key(c));
    }
    press(kEnter);
}

// Rosters reported corrupt one after another: each rewritten, "no" to leaving.
void RewriteAllRosters(Bot& bot) {
    for (const auto* q : {&kBattersCorrupt, &kStartersCorrupt, &kReliefCorrupt})
        bot.OnSay(*q, kEnter).OnSay(kLeave, Key('n'));
}

// The introduction with every answer "no" (the settings-file defaults of a
// first run propose yes).
void DeclineIntroduction(Bot& bot) {
    bot.OnSay(kRules, Key('n')).OnSay(kSpecial, kDown).OnSay(" no ", kEnter).OnSay(kVoice, kEnter);
    bot.OnSay(kPractice, Key('n'));
}

void FirstStart(GameRun& run, int call, double callDelay) {
    RewriteAllRosters(run.bot);
    run.bot.OnSound("take", kSpace, 1.0);
    DeclineIntroduction(run.bot);
    // The team's name typed with a slip mended by Backspace; "no" to the
    // confirmation asks again.
    Answer(run.bot, kYourTeam, "Rex\bds");
    run.bot.OnSay("is, Reds, correct for the name of your team? yes ", Key('n'));
    Answer(run.bot, kYourTeam, "Reds");
    run.bot.OnSay("is, Reds, correct for the name of your team? yes ", kEnter);
    Answer(run.bot, kManager, "kim");
    run.bot.OnSay(" is, kim, correct for your name? yes ", Key('y'));
    Answer(run.bot, kMyTeam, "Owls");
    run.bot.OnSay("is, Owls, correct for the name of my team? yes ", kEnter);
    run.bot.OnSay(kCoin, call, callDelay);
}

TEST(GameStartup, FirstStartOnAnEmptyHome) {
    bool sawHeads = false, sawTails = false;
    // The coin depends on the clock when it is tossed: a later call gives
    // another toss. Both faces, and both calls, must come up.
    for (int attempt = 0; attempt < 24 && !(sawHeads && sawTails); ++attempt) {
        GameRun run;
        const int call = attempt % 2 ? Key('t') : Key('h');
        FirstStart(run, call, 0.05 + 0.037 * attempt);
        run.Go();
        ASSERT_TRUE(run.bot.done()) << "stopped at step " << run.bot.stepsDone();
        EXPECT_EQ(run.status, 0);
        const auto spoken = run.spoken();
        const bool heads = Has(spoken, " HEADS!");
        ASSERT_NE(heads, Has(spoken, " TAILS!"));
        (heads ? sawHeads : sawTails) = true;
        const bool won = (call == Key('h')) == heads;
        EXPECT_EQ(run.program.state().homeTeam, won ? 1 : 2);
        EXPECT_TRUE(Has(spoken, won ? " You r the home team" : " I am the home team"));
        const std::string visitors = won ? "Owls" : "Reds", home = won ? "Reds" : "Owls";

        if (attempt > 0) continue;
        // The data folder, and each roster file rewritten in its exact layout.
        ASSERT_TRUE(host::IsFolder(run.data()));
        for (auto f : {data::RosterFile::Batters, data::RosterFile::StartingPitchers, data::RosterFile::ReliefPitchers})
            EXPECT_EQ(run.Read(data::Layout(f).fileName), data::DefaultRosterText(f));
        EXPECT_EQ(Count(spoken, " Done. "), 3u);
        EXPECT_EQ(Count(spoken, kLeave), 3u);
        // The names as typed, the first team name asked twice.
        EXPECT_EQ(run.program.state().teamName[1], "Reds");
        EXPECT_EQ(run.program.state().managerName, "kim");
        EXPECT_EQ(run.program.state().teamName[2], "Owls");
        EXPECT_EQ(Count(spoken, kYourTeam), 2u);
        EXPECT_EQ(Count(spoken, kManager), 1u);
        // Game 1's announcement, then the umpires and the first call to play.
        const size_t game = IndexOf(spoken, " this is game #1 of the best of 7 ");
        ASSERT_LT(game, spoken.size());
        EXPECT_EQ(spoken[game + 1], " the " + visitors + " verses the " + home);
        EXPECT_EQ(spoken[game + 2], "The umpires for today's game are ");
        EXPECT_EQ(spoken[game + 3], "at first base, " + std::string(kUmpires[0]));
        EXPECT_EQ(spoken[game + 6], " and at home plate is our first ever lady umpire " + std::string(kUmpires[3]));
        EXPECT_TRUE(run.Played("letsplay"));
        EXPECT_EQ(run.program.state().battingTeam, run.program.state().visitingTeam);
        EXPECT_EQ(run.program.state().gameNumber, 1);
        // The files: series record after the coin, settings on exit, a new log.
        EXPECT_EQ(run.Read("baseball.rec"),
                  std::string(" ") + (won ? "1" : "2") + " \r\n 0 \r\n 0 \r\nReds\r\nkim\r\nOwls\r\n");
        EXPECT_EQ(run.Read("baseball.cfg"), " 0 \r\n 0 \r\n");
        const std::string gameLine = " this is game #1 of the best of 7   the " + visitors + " verses the " + home + ". ";
        EXPECT_EQ(run.Read("baseballlog.txt"), std::string(data::kLogBanner) + "\r\n\r\n" + gameLine + "\r\n");
        EXPECT_EQ(run.program.startUp().logHeader, gameLine);
        EXPECT_TRUE(host::FindFile(run.data(), "baseball.txt"));
        // The exit sequence: the vendor, two beeps and the apology, last.
        EXPECT_TRUE(run.Played("beer2"));
        EXPECT_EQ(run.world.sim->beeps(), 2);
        EXPECT_EQ(spoken.back(), kApology);
    }
    EXPECT_TRUE(sawHeads);
    EXPECT_TRUE(sawTails);
}

TEST(GameStartup, NextGameOfASeriesAtTwoGamesToOne) {
    GameRun run;
    run.GoodRosters();
    run.Write("baseball.sav", " 4242 \r\n");
    // The computer's team was home in game 1: games 3 to 5 are at the player's park.
    run.Write("baseball.rec", " 2 \r\n 2 \r\n 1 \r\nReds\r\nkim\r\nOwls\r\n");
    const std::string oldLog = std::string(data::kLogBanner) + "\r\n\r\n old game. \r\n";
    run.Write("baseballlog.txt", oldLog);
    run.bot.OnSound("take", kSpace, 1.0);
    DeclineIntroduction(run.bot);
    run.Go();
    ASSERT_TRUE(run.bot.done()) << "stopped at step " << run.bot.stepsDone();

    const auto spoken = run.spoken();
    EXPECT_FALSE(Has(spoken, kYourTeam));
    EXPECT_FALSE(Has(spoken, kCoin));
    EXPECT_EQ(run.program.state().gameNumber, 4);
    EXPECT_EQ(run.program.state().homeTeam, 1);
    const size_t game = IndexOf(spoken, " this is game #4");
    ASSERT_LT(game, spoken.size());
    EXPECT_EQ(spoken[game + 1], " the Owls verses the Reds");
    EXPECT_EQ(spoken[game + 2], " the Reds lead the series  2 games to  1");
    const std::string lines = " this is game #4  the Owls verses the Reds. \r\n the Reds lead the series  2 games to  1. \r\n";
    EXPECT_EQ(run.Read("baseballlog.txt"), oldLog + "\r\n" + lines);
    // The backslash key tells this game's status, not an earlier game's.
    EXPECT_EQ(run.program.startUp().logHeader, " this is game #4  the Owls verses the Reds.  the Reds lead the series  2 games to  1. ");
    EXPECT_EQ(run.Read("baseball.rec"), " 2 \r\n 2 \r\n 1 \r\nReds\r\nkim\r\nOwls\r\n");
}

TEST(GameStartup, ASeriesRecordThatCannotBeReadInFullIsNoSeries) {
    // A win count that is no number, names missing, an empty name, and a
    // series a side has already won: each time the names are asked again.
    for (const std::string rec : {" 1 \r\n x \r\n 0 \r\nReds\r\nkim\r\nOwls\r\n", " 1 \r\n 1 \r\n 0 \r\nReds\r\n",
                                  " 1 \r\n 1 \r\n 0 \r\nReds\r\n\r\nOwls\r\n", " 2 \r\n 4 \r\n 2 \r\nReds\r\nkim\r\nOwls\r\n"}) {
        GameRun run;
        run.GoodRosters();
        run.Write("baseball.sav", " 4242 \r\n");
        run.Write("baseball.rec", rec);
        run.bot.OnSound("take", kSpace, 1.0);
        DeclineIntroduction(run.bot);
        bool asked = false;
        run.bot.OnSayDo(kYourTeam, [&] {
            asked = true;
            throw std::runtime_error("the names are asked");
        });
        try {
            run.Go();
        } catch (const std::runtime_error&) {
        }
        EXPECT_TRUE(asked) << rec;
        EXPECT_FALSE(Has(run.spoken(), " this is game #1 of the best of 7 ")) << rec;
    }
}

TEST(GameStartup, ResumedGameRestoresEveryFieldAndGoesStraightOn) {
    GameRun run;
    run.GoodRosters();
    data::SavedGame s;
    s.saveMarker = 1;
    s.teamName[1] = "Reds, of course";
    s.managerName = "kim";
    s.teamName[2] = "Owls";
    s.runs[1] = 3;
    s.runs[2] = 4;
    s.inning = 6;
    s.half = 2;
    s.battingTeam = 2;
    s.homeTeam = 2;
    s.visitingTeam = 1;
    s.outs = 1;
    s.balls = 0;
    s.strikes = 0;
    s.runnerOnSecond = 1;
    s.runnersOn = 1;
    s.bullpenCountTeam1 = 2;
    s.bullpenTeam1[1] = "Ada Fox:   age 30.  sinker, and a slider.";
    s.bullpenTeam1[2] = "Bo Lark:  lefty";
    s.bullpenCountTeam2 = 3;
    s.bullpenTeam2[1] = "Al Sly Moe";
    s.bullpenTeam2[2] = "Cy Big Dee";
    s.bullpenTeam2[3] = "Ed Lucky Oak";
    s.runTally = 1;
    s.hitTally = 2;
    s.walkTally = 1;
    s.strikeoutTally = 2;
    s.hits[1] = 7;
    s.hits[2] = 8;
    s.leftOnBase[1] = 5;
    s.leftOnBase[2] = 6;
    host::MakeFolder(run.data());
    ASSERT_TRUE(data::WriteSavedGame(run.data() + "/baseball.sav", s));
    ASSERT_TRUE(data::WriteBattingOrder(run.data() + "/basebats.sav", {4, 6}));
    run.Write("baseballlog.txt", std::string(data::kLogBanner) + "\r\n\r\n this is game #1 of the best of 7   the Reds verses the Owls. \r\n \r\n summary. \r\n\r\n this is game #2 the Reds verses the Owls. \r\n the Owls lead the series  1 game to  0. \r\n \r\n summary. \r\n");
    run.bot.OnSound("take", kSpace, 1.0);
    run.Go();

    const GameState& g = run.program.state();
    EXPECT_EQ(run.program.startUp().start, StartUp::Start::Resumed);
    EXPECT_EQ(g.resumedGame, 1);
    EXPECT_EQ(g.teamName[1], "Reds, of course");
    EXPECT_EQ(g.managerName, "kim");
    EXPECT_EQ(g.teamName[2], "Owls");
    EXPECT_EQ(g.runs[1], 3);
    EXPECT_EQ(g.runs[2], 4);
    EXPECT_EQ(g.inning, 6);
    EXPECT_EQ(g.half, 2);
    EXPECT_EQ(g.battingTeam, 2);
    EXPECT_EQ(g.homeTeam, 2);
    EXPECT_EQ(g.visitingTeam, 1);
    EXPECT_EQ(g.outs, 1);
    EXPECT_EQ(g.runnerOnSecond, 1);
    EXPECT_FALSE(g.runnerOnFirst.given());
    EXPECT_FALSE(g.contactHandicap.given());
    EXPECT_EQ(g.runnersOn, 1);
    EXPECT_EQ(g.bullpenCountTeam1, 2);
    EXPECT_EQ(run.program.rosters().bullpenTeam1[1], "Ada Fox:   age 30.  sinker, and a slider.");
    EXPECT_EQ(g.bullpenCountTeam2, 3);
    EXPECT_EQ(run.program.rosters().bullpenTeam2[3], "Ed Lucky Oak");
    EXPECT_EQ(g.runTally, 1);
    EXPECT_EQ(g.hitTally, 2);
    EXPECT_EQ(g.walkTally, 1);
    EXPECT_EQ(g.strikeoutTally, 2);
    EXPECT_EQ(g.hits[2], 8);
    EXPECT_EQ(g.leftOnBase[1], 5);
    EXPECT_EQ(g.leftOnBase[2], 6);
    // At 0-0 the computer's interrupted batter comes up again, announced by
    // the first pitch of the resumed game.
    EXPECT_EQ(g.batterUpTeam1, 4);
    EXPECT_EQ(g.batterUpTeam2, 6);
    EXPECT_TRUE(Has(run.spoken(), run.program.rosters().battersTeam2[6]));
    EXPECT_EQ(g.gameNumber, 0);
    // Nothing of the introduction, names, coin or announcement.
    const auto spoken = run.spoken();
    for (const auto& q : {kRules, kVoice, kPractice, kYourTeam, kCoin, std::string("The umpires for today's game are ")})
        EXPECT_FALSE(Has(spoken, q)) << q;
    EXPECT_EQ(run.program.startUp().logHeader, " this is game #2 the Reds verses the Owls.  the Owls lead the series  1 game to  0. ");
    // Resuming leaves the saved game in place until the game saves or ends.
    EXPECT_TRUE(host::FindFile(run.data(), "baseball.sav"));
}

TEST(GameStartup, ResumedMidCountKeepsTheBatter) {
    GameRun run;
    run.GoodRosters();
    run.Write("baseball.sav", " 1 \r\nA\r\nm\r\nB\r\n 0 \r\n 0 \r\n 2 \r\n 1 \r\n 1 \r\n 2 \r\n 1 \r\n 0 \r\n 2 \r\n 1 \r\n");
    run.Write("basebats.sav", " 3 \r\n 7 \r\n");
    run.Go();
    EXPECT_EQ(run.program.state().balls, 2);
    EXPECT_EQ(run.program.state().batterUpTeam1, 3);
    EXPECT_EQ(run.program.state().batterUpTeam2, 7);
}

TEST(GameStartup, SavedGameCutShortBeforeTheInningStartsTheNextGame) {
    GameRun run;
    run.GoodRosters();
    run.Write("baseball.sav", " 1 \r\nX\r\ny\r\nZ\r\n 2 \r\n");
    run.Write("baseball.rec", " 1 \r\n 1 \r\n 0 \r\nReds\r\nkim\r\nOwls\r\n");
    run.bot.OnSound("take", kSpace, 1.0);
    DeclineIntroduction(run.bot);
    run.Go();
    ASSERT_TRUE(run.bot.done()) << "stopped at step " << run.bot.stepsDone();
    EXPECT_EQ(run.program.startUp().start, StartUp::Start::NextGame);
    EXPECT_EQ(run.program.state().teamName[1], "Reds");
    EXPECT_EQ(run.program.state().runs[1], 0);
    EXPECT_TRUE(Has(run.spoken(), " this is game #2"));
}

TEST(GameStartup, CorruptBattersFileAndLeaving) {
    GameRun run;
    const std::string bad = "Your Batters:\r\nOne\r\nTwo\r\n";
    run.Write("baseballbatters.txt", bad);
    run.bot.OnSay(kBattersCorrupt, kDown).OnSay(" no ", kEnter).OnSay(kLeave, Key('y'));
    run.Go();
    ASSERT_TRUE(run.bot.done()) << "stopped at step " << run.bot.stepsDone();
    EXPECT_EQ(run.Read("baseballbatters.txt"), bad);
    const auto spoken = run.spoken();
    EXPECT_FALSE(Has(spoken, kStartersCorrupt));
    EXPECT_FALSE(host::FindFile(run.data(), "baseballstartingpitchers.txt"));
    // The defaults stand in for the file; the exit sequence ends the program.
    data::Rosters defaults;
    data::SetDefaults(data::RosterFile::Batters, defaults);
    EXPECT_EQ(run.program.rosters().battersTeam1, defaults.battersTeam1);
    EXPECT_TRUE(run.Played("beer2"));
    EXPECT_EQ(spoken.back(), kApology);
    EXPECT_FALSE(run.Played("take"));
}

// From the opening music to the game's first prompt, the rosters already in
// order: the introduction declined (after F9 at the rules question when
// `readRules`), the Reds (kim) against the Owls, heads.
void IntroductionToTheGame(Bot& bot, bool readRules = false) {
    constexpr int kF9 = 120;
    bot.OnSound("take", kSpace, 1.0);
    if (readRules) bot.OnSay(kRules, kF9);
    DeclineIntroduction(bot);
    Answer(bot, kYourTeam, "Reds");
    bot.OnSay("is, Reds, correct for the name of your team? yes ", kEnter);
    Answer(bot, kManager, "kim");
    bot.OnSay(" is, kim, correct for your name? yes ", kEnter);
    Answer(bot, kMyTeam, "Owls");
    bot.OnSay("is, Owls, correct for the name of my team? yes ", kEnter);
    bot.OnSay(kCoin, Key('h'));
}

bool AnyRosterQuestion(const std::vector<std::string>& spoken) {
    return std::any_of(spoken.begin(), spoken.end(),
                       [](const std::string& s) { return s.find("seems to be corrupt") != std::string::npos; });
}

TEST(GameStartup, TheShippedDefaultsMakeAFirstStartWithoutRosterQuestions) {
    GameRun run;
    run.world.sim->editFolders().defaults = SW_DEFAULTS_DIR;
    IntroductionToTheGame(run.bot, true);
    run.Go();
    ASSERT_TRUE(run.bot.done()) << "stopped at step " << run.bot.stepsDone();
    const auto spoken = run.spoken();
    EXPECT_FALSE(AnyRosterQuestion(spoken));
    for (const char* name : {"baseball.txt", "baseballbatters.txt", "baseballstartingpitchers.txt",
                             "baseballreliefpitchers.txt", "baseballrules.txt"})
        EXPECT_EQ(run.Read(name), host::ReadText(std::string(SW_DEFAULTS_DIR) + "/" + name)) << name;
    // The shipped rosters are the ones played with, and F9 reads the rules.
    data::Rosters defaults;
    for (auto f : {data::RosterFile::Batters, data::RosterFile::StartingPitchers, data::RosterFile::ReliefPitchers})
        data::SetDefaults(f, defaults);
    EXPECT_EQ(run.program.rosters().battersTeam2, defaults.battersTeam2);
    EXPECT_EQ(run.program.rosters().bullpenTeam1, defaults.bullpenTeam1);
    std::string rules;
    for (char c : run.Read("baseballrules.txt"))
        if (c != '\r' && c != '\n') rules += c;
    EXPECT_TRUE(Has(spoken, rules));
}

TEST(GameStartup, ARosterDamagedAfterTheFirstStartIsStillAskedAbout) {
    GameRun run;
    run.world.sim->editFolders().defaults = SW_DEFAULTS_DIR;
    run.GoodRosters();
    run.Write("baseball.txt", "set up\r\n");
    run.Write("baseballstartingpitchers.txt", "Your starting pitchers:\r\nOne\r\n");
    run.bot.OnSay(kStartersCorrupt, kEnter).OnSay(kLeave, Key('n'));
    IntroductionToTheGame(run.bot);
    run.Go();
    ASSERT_TRUE(run.bot.done()) << "stopped at step " << run.bot.stepsDone();
    const auto spoken = run.spoken();
    EXPECT_EQ(Count(spoken, kStartersCorrupt), 1u);
    EXPECT_FALSE(Has(spoken, kBattersCorrupt) || Has(spoken, kReliefCorrupt));
    EXPECT_EQ(run.Read("baseballstartingpitchers.txt"), data::DefaultRosterText(data::RosterFile::StartingPitchers));
    EXPECT_FALSE(host::FindFile(run.data(), "baseballrules.txt"));
}

TEST(GameStartup, UnreadableDefaultsAreReportedAndTheRostersAskedAbout) {
    GameRun run;
    const std::string missing = run.world.dir.path() + "/share/defaults";
    run.world.sim->editFolders().defaults = missing;
    RewriteAllRosters(run.bot);
    IntroductionToTheGame(run.bot);
    testing::internal::CaptureStderr();
    run.Go();
    const std::string err = testing::internal::GetCapturedStderr();
    ASSERT_TRUE(run.bot.done()) << "stopped at step " << run.bot.stepsDone();
    EXPECT_NE(err.find(missing), std::string::npos) << err;
    EXPECT_EQ(Count(run.spoken(), " Done. "), 3u);
    EXPECT_EQ(run.status, 0);
}

}  // namespace
}  // namespace sw
