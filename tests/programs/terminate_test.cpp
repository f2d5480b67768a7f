// The session ending under a running program (SIGTERM, SIGHUP), on the
// simulated host. A game in progress is kept as "save and exit" keeps it, at
// the key wait where the player could have chosen that; anywhere else both
// programs leave through their way out at once, asking nothing.
#include "data/game_files.h"
#include "data/rosters.h"
#include "game/game.h"
#include "game/saved_game.h"
#include "game_player.h"
#include "player_home.h"
#include "host/files.h"
#include "practice/batting_program.h"
#include "support/folder_entries.h"
#include "support/sim_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>


namespace sw {
namespace {

using test::Bot;
using test::GamePlayer;
using test::SimWorld;

constexpr int kEnter = 13, kCtrl = 17, kEscape = 27, kSpace = 32, kUp = 38;
constexpr int Key(char c) { return c - 'a' + 65; }

const std::string kPauseIntro = " Select. 1. save and exit game ";
const std::string kRateDialog = "to adjust the speech rate, use the arrow keys and then press enter";
const std::string kApology = "Sorry, but I could not find the Tamberlyn game menu program.";
const std::string kUmpires = "The umpires for today's game are ";
const std::string kOffer = " Press any key, or the r key to read the baseball log dot t x t file ";
const char* const kGameFiles[] = {"baseball.sav", "basebats.sav", "baseball.rec", "baseballlog.txt"};

bool StartsWith(const std::string& s, const std::string& p) { return s.compare(0, p.size(), p) == 0; }

std::string Rec(int opener, int w1, int w2) { return test::SeriesRecord(opener, w1, w2); }

// A player's data folder, kept across program runs: rosters and settings.
struct Home : test::Home {
    // A game saved by "save and exit", the Reds (the player's) against the
    // Owls, as `set` leaves it.
    void SaveGame(const std::function<void(GameState&)>& set) const {
        GameState gs;
        data::Rosters rosters;
        for (auto f : {data::RosterFile::Batters, data::RosterFile::StartingPitchers, data::RosterFile::ReliefPitchers})
            data::SetDefaults(f, rosters);
        gs.saveMarker = 1;
        gs.teamName[1] = "Reds";
        gs.managerName = "kim";
        gs.teamName[2] = "Owls";
        gs.bullpenCountTeam1 = 6;
        gs.bullpenCountTeam2 = 8;
        set(gs);
        ASSERT_TRUE(data::WriteSavedGame(data() + "/baseball.sav", SavedGameOf(gs, rosters)));
        ASSERT_TRUE(data::WriteBattingOrder(data() + "/basebats.sav", {3, 5}));
    }
    // The files a game keeps, by name; an absent one is missing.
    std::map<std::string, std::string> GameFiles() const {
        std::map<std::string, std::string> files;
        for (const char* name : kGameFiles)
            if (auto f = host::FindFile(data(), name)) files[name] = host::ReadText(*f);
        return files;
    }
};

// One run of the game on a home, with a player that answers its prompts.
struct Day {
    explicit Day(const Home& home) : world(home.dir.path()) {}
    SimWorld world;
    Bot bot{*world.sim};
    GameProgram program{*world.sim};
    GamePlayer player{*world.sim, bot, program};
    int status = -1;
    double endedAt = -1;

    double now() const { return world.sim->clock().now(); }
    void Go() {
        world.sim->SetTimeLimit(3600);
        status = program.Run();
        endedAt = now();
    }
    bool Said(const std::string& text) const {
        const auto s = world.sim->Spoken();
        return std::find(s.begin(), s.end(), text) != s.end();
    }
    bool PlayedSince(const std::string& name, double t) const {
        for (const auto& s : world.sim->sounds())
            if (s.name == name && s.start >= t) return true;
        return false;
    }
    bool PitchPlaying() const {
        for (auto* b : world.sim->liveBuffers())
            if (b->playing() && b->name().size() == 2 && b->name()[0] == 'p') return true;
        return false;
    }
    // A new game of a series under way: the introduction declined.
    void DeclineIntroduction() {
        bot.OnSound("take", kSpace, 1.0);
        bot.OnSay(" Would you like to read the baseball rules dot T X T file? no ", Key('n'));
        bot.OnSay(" Would you like to reed the special key instructions? ", Key('n'));
        bot.OnSay("do you wish to use this voice. yes ", kEnter);
        bot.OnSay(" would you like to get in some batting practice? yes ", Key('n'));
    }
};

// The way out that a session's end takes: the exit sequence up to the window
// allowed to close, with its sound; no other program, no apology, and it
// lasts no longer than `seconds` after `from`.
void ExpectLeftThroughTheExit(Day& day, double from, double seconds) {
    EXPECT_EQ(day.status, 0);
    EXPECT_TRUE(day.program.exitSequence().closingAllowed());
    EXPECT_TRUE(day.PlayedSince("beer2", from));
    EXPECT_FALSE(day.Said(kApology));
    EXPECT_TRUE(day.world.sim->started().empty());
    EXPECT_LT(day.endedAt - from, seconds);
}

// Where, at or after the chosen prompt, the session ends.
enum class Where { AtPrompt, InPauseMenu, InRateDialog, DuringThePitch, AtTheBaseToThrowTo, CloseInstead };

struct InGame {
    const char* what;
    int opener;  // home team of game 1: 1 the player's, so the computer bats first
    Where where;
};

const std::string kBaseToThrowTo = " Press the number of the base to throw to";

// The start of both runs: a new game of a series under way; for the throw
// to a base, a saved game with the computer at bat and runners on first and
// second.
void Prepare(const Home& home, const InGame& c) {
    home.Write("baseball.rec", Rec(c.opener, 0, 0));
    if (c.where != Where::AtTheBaseToThrowTo) {
        home.Write("baseball.sav", " 4242 \r\n");
        return;
    }
    home.SaveGame([](GameState& gs) {
        gs.inning = 4;
        gs.half = 1;
        gs.homeTeam = 1;
        gs.visitingTeam = 2;
        gs.battingTeam = 2;
        gs.runs[1] = 2;
        gs.runs[2] = 1;
        gs.outs = 1;
        gs.runnerOnFirst = 1;
        gs.runnerOnSecond = 1;
        gs.runnersOn = 2;
    });
}

// The session ending during a game, compared with a run that is the same up
// to that point and there presses Escape and chooses "save and exit": the
// same bytes in both files. Then the next start resumes that game.
TEST(SessionEnd, AGameInProgressIsSavedAsSaveAndExitSavesIt) {
    const InGame cases[] = {
        {"batter prompt", 2, Where::AtPrompt},
        {"pitch menu", 1, Where::AtPrompt},
        {"pause menu opened at the batter prompt", 2, Where::InPauseMenu},
        {"rate dialog opened at the pitch menu", 1, Where::InRateDialog},
        {"pitch to the player's batter", 2, Where::DuringThePitch},
        {"pitch of the player's pitcher", 1, Where::DuringThePitch},
        {"base to throw to", 1, Where::AtTheBaseToThrowTo},
        // A close is no session's end: it still opens the pause menu.
        {"close at the batter prompt", 2, Where::CloseInstead},
    };
    for (const InGame& c : cases) {
        SCOPED_TRACE(c.what);
        const bool pickOff = c.where == Where::AtTheBaseToThrowTo;
        const int prompt = pickOff ? 1 : 3;  // else two pitches have been played
        const int savedAt = c.where == Where::DuringThePitch ? prompt + 1 : prompt;
        // The same player in both runs: space at the batter prompt, the
        // pitches in turn at the pitch menu, or the throw to a base.
        auto pitch = [&](const Day& day) { return pickOff ? '8' : '1' + day.player.prompts % 7; };
        auto setUp = [&](Day& day) {
            if (!pickOff) day.DeclineIntroduction();
            day.player.pitchKey = [&pitch, d = &day] { return pitch(*d); };
        };
        Home reference;
        Prepare(reference, c);
        {
            Day day(reference);
            setUp(day);
            bool pressed = false;
            if (pickOff) {
                // Escape once the question has been said and its key wait begun.
                day.player.watch = [&] {
                    const auto spoken = day.world.sim->Spoken();
                    if (pressed || spoken.empty() || spoken.back() != kBaseToThrowTo) return;
                    pressed = true;
                    day.world.sim->PressKey(kEscape, day.now() + 3);
                };
            } else {
                day.player.pauseNow = [&] { return day.player.prompts == savedAt; };
            }
            day.Go();
            ASSERT_EQ(day.program.pauseMenu().chosen, PauseMenu::Choice::SaveAndExit);
        }
        const auto saved = reference.GameFiles();
        ASSERT_EQ(saved.at("baseball.sav").substr(0, 5), " 1 \r\n");
        data::SavedGame game;
        data::ReadSavedGame(reference.data() + "/baseball.sav", game);
        // Two pitches cannot end the first half: the side that began bats.
        if (c.where != Where::DuringThePitch) {
            EXPECT_EQ(game.battingTeam, c.opener == 1 ? 2 : 1);
        }

        Home home;
        Prepare(home, c);
        const auto before = test::FileIdentity(home.data() + "/baseball.sav");
        ASSERT_TRUE(before.has_value());
        {
            Day day(home);
            setUp(day);
            double from = -1, promptAt = -1;
            auto end = [&] {
                from = day.now();
                if (c.where == Where::CloseInstead) day.world.sim->RequestClose();
                else day.world.sim->RequestTerminate();
            };
            auto atPrompt = [&](int key) {
                if (day.player.prompts != prompt) return key;
                if (c.where == Where::AtPrompt || c.where == Where::CloseInstead) {
                    // A close is an Escape put into the key wait: it waits
                    // until the wait has begun (the watch sends it).
                    if (c.where == Where::AtPrompt) end();
                    promptAt = day.now();
                    day.player.keyDelay = 3600;  // the player's key never comes
                }
                if (c.where == Where::InPauseMenu) return kEscape;
                if (c.where == Where::InRateDialog) return kCtrl;
                return key;
            };
            day.player.batterKey = [&] { return atPrompt(kSpace); };
            day.player.pitchKey = [&] { return atPrompt(pitch(day)); };
            day.player.pauseItem = c.where == Where::CloseInstead ? 1 : 0;  // 0: Up once, and no choice
            size_t heard = 0;
            day.player.watch = [&] {
                if (from >= 0 || day.player.prompts != prompt) return;
                if (c.where == Where::CloseInstead && promptAt >= 0 && day.now() > promptAt + 0.3) end();
                const auto spoken = day.world.sim->Spoken();
                for (; heard < spoken.size(); ++heard) {
                    if ((c.where == Where::InPauseMenu && spoken[heard] == kPauseIntro) ||
                        (c.where == Where::InRateDialog && spoken[heard] == kRateDialog) ||
                        (pickOff && spoken[heard] == kBaseToThrowTo))
                        end();
                }
                if (c.where == Where::DuringThePitch && day.PitchPlaying()) end();
            };
            day.Go();
            ASSERT_GE(from, 0);
            if (c.where == Where::CloseInstead) {
                EXPECT_EQ(day.program.ended, Leave::SaveAndExit);
                EXPECT_EQ(day.program.pauseMenu().chosen, PauseMenu::Choice::SaveAndExit);
            } else {
                EXPECT_EQ(day.program.ended, Leave::SessionEndedMidGame);
                EXPECT_EQ(day.program.pauseMenu().chosen, PauseMenu::Choice::None);
                EXPECT_TRUE(day.Said(" game saved "));
                // Counted from the key wait where the game could be saved.
                double savePoint = from;
                for (const auto& u : day.world.sim->utterances())
                    if (u.queued >= savePoint && (StartsWith(u.text, " press the space bar to step into the batters box, ") ||
                                                 StartsWith(u.text, " WHAT WILL YOUR PITCHER THROW")))
                        savePoint = u.queued;
                if (pickOff) savePoint += host::sim::SimHost::Duration(kBaseToThrowTo, 0);
                ExpectLeftThroughTheExit(day, savePoint, 5.0);
            }
        }
        EXPECT_EQ(home.GameFiles(), saved);
        EXPECT_NE(test::FileIdentity(home.data() + "/baseball.sav"), before);  // written anew, not left as it was

        // The next start goes on with that game, and the same bytes come back
        // when it is saved again at once.
        Day next(home);
        next.player.pauseNow = [] { return true; };
        next.Go();
        EXPECT_EQ(next.program.startUp().start, StartUp::Start::Resumed);
        EXPECT_FALSE(next.Said(kUmpires));
        EXPECT_FALSE(next.Said(" Would you like to read the baseball rules dot T X T file? no "));
        EXPECT_EQ(home.GameFiles(), saved);
    }
}

// The key waits of the start-up of a new series, each with the key that
// answers it, in the order they come. The session ends at one of them.
struct Answer {
    const char* heard;  // the words of the wait; "take": the title sound
    int key;
};
const Answer kStartUp[] = {
    {"take", kSpace},
    {" Would you like to read the baseball rules dot T X T file? no ", Key('n')},
    {" Would you like to reed the special key instructions? ", Key('n')},
    {"do you wish to use this voice. yes ", kEnter},
    {" would you like to get in some batting practice? yes ", Key('y')},
    {" random pitches ", kUp},
    {" exit ", kEnter},
    // After the practice the introduction begins again.
    {" Would you like to read the baseball rules dot T X T file? no ", Key('n')},
    {" Would you like to reed the special key instructions? ", Key('n')},
    {"do you wish to use this voice. yes ", kEnter},
    {" would you like to get in some batting practice? yes ", Key('n')},
    {" What would you like the name of your team to be ?", Key('r')},
    {"r", kEnter},
    {"is, r, correct for the name of your team? yes ", Key('y')},
    {" Your team needs a manager.  What is your name ?", Key('k')},
    {"k", kEnter},
    {" is, k, correct for your name? yes ", Key('y')},
    {" What would you like the name of my team to be ?", Key('o')},
    {"o", kEnter},
    {"is, o, correct for the name of my team? yes ", Key('y')},
    {" Let's flip a coin.  The winner is the home team", Key('h')},
};

// Outside a game nothing lives only in memory: the program leaves from the
// wait it is in, within the exit's own sound, and writes no game file.
TEST(SessionEnd, AtTheStartUpTheGameLeavesAtOnce) {
    struct Case {
        size_t at;        // the wait of kStartUp where the session ends
        bool rateDialog;  // Ctrl first, and the end comes in the rate dialog
    };
    // The title, a yes/no question, the rate dialog, the voice dialog, the
    // practice menu, a typed name before and after its first letter, its
    // confirmation, the coin.
    const Case cases[] = {{0, false},  {1, false},  {1, true},  {3, false}, {5, false},
                          {11, false}, {12, false}, {13, false}, {20, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(kStartUp[c.at].heard) + (c.rateDialog ? " + rate dialog" : ""));
        Home home;
        Day day(home);
        double from = -1;
        auto end = [&] {
            from = day.now();
            day.world.sim->RequestTerminate();
        };
        for (size_t i = 0; i < c.at; ++i) {
            if (i == 0) day.bot.OnSound(kStartUp[i].heard, kStartUp[i].key, 1.0);
            else day.bot.OnSay(kStartUp[i].heard, kStartUp[i].key);
        }
        const std::string at = kStartUp[c.at].heard;
        if (c.rateDialog) day.bot.OnSay(at, kCtrl).OnSayDo(kRateDialog, end);
        else if (c.at == 0) day.bot.Step([&] { return day.PlayedSince("take", 0); }, end);
        else day.bot.OnSayDo(at, end, 0.3);
        day.Go();
        ASSERT_TRUE(day.bot.done()) << day.bot.stepsDone();
        ExpectLeftThroughTheExit(day, from, 3.0);
        EXPECT_EQ(day.program.ended, Leave::SessionEnded);
        EXPECT_FALSE(day.Said(kUmpires));
        EXPECT_TRUE(home.GameFiles().empty());
    }
}

// The game is over and its result written before the offer to read the log:
// the session ending there leaves at once, the result files as they were.
TEST(SessionEnd, AtTheOfferAfterTheGameTheResultStays) {
    Home home;
    home.Write("baseball.rec", Rec(1, 0, 0));
    // Top of the ninth, two out, the player's team at home and ahead 8 to 0:
    // the next out ends the game.
    home.SaveGame([](GameState& gs) {
        gs.runs[1] = 8;
        gs.inning = 9;
        gs.half = 1;
        gs.homeTeam = 1;
        gs.visitingTeam = 2;
        gs.battingTeam = 2;
        gs.outs = 2;
    });

    Day day(home);
    std::map<std::string, std::string> atOffer;
    double from = -1;
    day.player.watch = [&] {
        const auto& us = day.world.sim->utterances();
        if (from < 0 && !us.empty() && us.back().text == kOffer && us.back().start >= 0) {
            atOffer = home.GameFiles();
            from = day.now();
            day.world.sim->RequestTerminate();
        }
    };
    day.Go();
    ASSERT_GE(from, 0);
    EXPECT_EQ(day.program.ended, Leave::SessionEnded);
    ExpectLeftThroughTheExit(day, from, 2.5);
    EXPECT_EQ(home.GameFiles(), atOffer);
    EXPECT_EQ(atOffer.at("baseball.rec"), Rec(1, 1, 0));
    EXPECT_EQ(atOffer.at("baseball.sav"), " 4242 \r\n");
    EXPECT_NE(atOffer.at("baseballlog.txt").find(" the Reds have won the game by the score of 8 to"), std::string::npos);
}

// The batting program writes nothing: from any of its waits it releases
// everything and ends, without the thanks of the menu's " exit " and without
// starting the game menu, even when it is there.
TEST(SessionEnd, TheBattingProgramEndsAtOnce) {
    const std::string box = "press the space bar to step into the batters box or e to exit";
    const struct {
        const char* at;
        int keyFirst;  // pressed at `at` before the end comes (0: none)
        const char* endAt;
    } cases[] = {
        {"do you wish to use this voice. yes ", 0, "do you wish to use this voice. yes "},
        {" random pitches ", 0, " random pitches "},
        {" random pitches ", kCtrl, kRateDialog.c_str()},
        {" random pitches ", kEnter, box.c_str()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.endAt));
        SimWorld world;
        test::WriteTestWave(world.sim->folders().program + "/vellobar", 1);
        Bot bot(*world.sim);
        if (std::string(c.at) != "do you wish to use this voice. yes ") bot.OnSay("do you wish to use this voice. yes ", kEnter);
        if (c.keyFirst) bot.OnSay(c.at, c.keyFirst);
        double from = -1;
        bot.OnSayDo(c.endAt, [&] {
            from = world.sim->clock().now();
            world.sim->RequestTerminate();
        }, 0.3);
        world.sim->SetTimeLimit(3600);
        EXPECT_EQ(RunBattingProgram(*world.sim), 0);
        ASSERT_TRUE(bot.done()) << bot.stepsDone();
        EXPECT_LT(world.sim->clock().now() - from, 0.1);
        EXPECT_TRUE(world.sim->started().empty());
        EXPECT_TRUE(world.sim->liveBuffers().empty());
        const auto spoken = world.sim->Spoken();
        EXPECT_EQ(std::count(spoken.begin(), spoken.end(), "Thank you for playing batting practice By Pellwick"), 0);
    }
}

}  // namespace
}  // namespace sw
