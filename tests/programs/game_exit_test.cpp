// How the game program ends: the start-up failures, the exit sequence, the
// game-menu program, closing the window, and the settings it keeps.
#include "data/game_files.h"
#include "data/rosters.h"
#include "game/game.h"
#include "game_player.h"
#include "host/files.h"
#include "support/folder_entries.h"
#include "support/sim_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace sw {
namespace {

using test::Bot;
using test::GamePlayer;
using test::SimWorld;

constexpr int kEnter = 13, kDown = 40, kSpace = 32, kF11 = 122, kF12 = 123;
constexpr int Key(char c) { return c - 'a' + 65; }
const std::string kApology = "Sorry, but I could not find the Tamberlyn game menu program.";
const std::string kRulesYes = " Would you like to read the baseball rules dot T X T file? yes ";
const std::string kRulesNo = " Would you like to read the baseball rules dot T X T file? no ";

struct ExitRun {
    SimWorld world;
    Bot bot{*world.sim};
    GameProgram program{*world.sim};
    GamePlayer player{*world.sim, bot, program};
    // These runs end at the game's first prompt: Escape and "exit game".
    ExitRun() {
        player.pauseNow = [] { return true; };
        player.pauseItem = 2;
    }
    int status = -1;
    std::string data() const { return world.sim->folders().documents + "/tamberlyn"; }
    void Write(const std::string& folder, const std::string& name, const std::string& text) const {
        host::MakeFolder(folder);
        host::WriteFileAtomic(folder + "/" + name, text);
    }
    void Ready() const {
        for (auto f : {data::RosterFile::Batters, data::RosterFile::StartingPitchers, data::RosterFile::ReliefPitchers})
            Write(data(), data::Layout(f).fileName, data::DefaultRosterText(f));
        // A game to resume: no questions before the exit.
        Write(data(), "baseball.sav", " 1 \r\nA\r\nm\r\nB\r\n 0 \r\n 0 \r\n 1 \r\n 1 \r\n 1 \r\n 2 \r\n 1 \r\n");
    }
    void Go() {
        world.sim->SetTimeLimit(3600);
        status = program.Run();
    }
    std::vector<std::string> spoken() const { return world.sim->Spoken(); }
    bool Has(const std::string& t) const {
        auto s = spoken();
        return std::find(s.begin(), s.end(), t) != s.end();
    }
};

TEST(GameExit, StartupFailuresShowTheirMessageAndKeepTheSettings) {
    {
        ExitRun run;
        std::filesystem::remove(run.world.sim->folders().sounds + "/ball.wav");
        run.Write(run.data(), "baseball.cfg", " 2 \r\n 4 \r\n");
        run.Go();
        EXPECT_EQ(run.status, 1);
        ASSERT_EQ(run.world.sim->messages().size(), 1u);
        EXPECT_EQ(run.world.sim->messages()[0], "Sorry but one or more of the wave files seem to be corrupt\rPlease contact Pellwick");
        EXPECT_TRUE(run.spoken().empty());
        EXPECT_TRUE(run.world.sim->sounds().empty());
        EXPECT_EQ(run.world.sim->beeps(), 2);
        // The player's stored voice is not replaced by the defaults.
        EXPECT_EQ(host::ReadText(run.data() + "/baseball.cfg"), " 2 \r\n 4 \r\n");
    }
    {
        ExitRun run;
        run.world.sim->SetVoiceCount(0);
        run.Go();
        EXPECT_EQ(run.status, 1);
        ASSERT_EQ(run.world.sim->messages().size(), 1u);
        EXPECT_EQ(run.world.sim->messages()[0], "Sorry but I couldn't find any voices to use\rPlease contact Pellwick");
        EXPECT_FALSE(host::FindFile(run.world.sim->folders().documents, "tamberlyn"));
    }
}

TEST(GameExit, GameMenuProgramIsStartedWhenPresent) {
    ExitRun run;
    run.Ready();
    run.Write(run.world.sim->folders().program, "Vellobar", "#!/bin/sh\n");
    run.Go();
    ASSERT_EQ(run.world.sim->started().size(), 1u);
    EXPECT_EQ(run.world.sim->started()[0], run.world.sim->folders().program + "/Vellobar");
    EXPECT_EQ(run.world.sim->beeps(), 0);
    EXPECT_FALSE(run.Has(kApology));
    EXPECT_TRUE(run.world.sim->liveBuffers().empty());
    // The stored settings are kept as they were used.
    EXPECT_EQ(host::ReadText(run.data() + "/baseball.cfg"), " 0 \r\n 0 \r\n");
}

TEST(GameExit, ClosingTheWindowIsAnEscapeUntilTheExitAllowsIt) {
    const std::string corrupt =
        " The baseball batters dot T X T file seems to be corrupt.  Would you like me to rewrite the original file? Yes ";
    const std::string leave = " Do you wish to exit the game? yes ";
    ExitRun run;
    auto close = [&] { run.world.sim->RequestClose(); };
    // Closing at a question is an Escape there: echoed, and the question
    // comes again; the program goes on.
    run.bot.OnSayDo(corrupt, close, 0.3).OnSay(corrupt, Key('n'));
    run.bot.OnSayDo(leave, close, 0.3).OnSay(leave, Key('y'));
    // Once the exit sequence allows it, a close ends the program at once.
    run.bot.Step([&] { return run.program.exitSequence().closingAllowed(); }, close);
    run.Go();
    ASSERT_TRUE(run.bot.done()) << run.bot.stepsDone();
    EXPECT_EQ(run.status, 0);
    const auto spoken = run.spoken();
    EXPECT_EQ(std::count(spoken.begin(), spoken.end(), corrupt), 2);
    EXPECT_EQ(std::count(spoken.begin(), spoken.end(), leave), 2);
    EXPECT_EQ(run.program.ended, Leave::DamagedRoster);
    EXPECT_TRUE(run.program.exitSequence().cutShort());
    EXPECT_FALSE(run.Has(kApology));
    EXPECT_TRUE(host::FindFile(run.data(), "baseball.cfg"));
}

TEST(GameExit, ClosingDuringTheTitleOnlyCutsItShort) {
    ExitRun run;
    run.Ready();
    run.bot.OnSound("take", 0, 0);
    run.bot.Step([] { return true; }, [&] { run.world.sim->RequestClose(); });
    run.Go();
    ASSERT_TRUE(run.bot.done());
    const auto& sounds = run.world.sim->sounds();
    auto take = std::find_if(sounds.begin(), sounds.end(), [](const auto& s) { return s.name == "take"; });
    ASSERT_NE(take, sounds.end());
    EXPECT_LT(take->stop - take->start, 1.0);
    EXPECT_TRUE(run.Has(kApology));
}

TEST(GameExit, SettingsComeFromTheDataFolderAndGoBackThere) {
    ExitRun run;
    run.Ready();
    std::filesystem::remove(run.data() + "/baseball.sav");
    run.Write(run.data(), "Baseball.CFG", " 1 \r\n 3 \r\n");
    run.Write(run.data(), "baseball.vol", "-700 \r\n 60 \r\n");
    // Settings that were loaded make the questions propose "no". F12 moves to
    // the next voice; F11 turns the sounds down once.
    run.bot.OnSay(kRulesNo, kF12);
    run.bot.OnSay("do you wish to use this voice. yes ", Key('n'));
    run.bot.OnSay("do you wish to use this voice. yes ", kEnter);
    run.bot.OnSay(kRulesNo, kF11);
    run.bot.OnSay(" use the up and down arrow keys to raise and lower the volume of the voice.   Press enter when you "
                  "have the volume set the way that you want it. ",
                  kEnter);
    run.bot.OnSay(" use the up and down arrow keys to adjust the volume of the sounds.   Press enter when you have the "
                  "volume set the way that you want it. ",
                  kDown, 0.3);
    run.bot.After(1.5, kEnter);
    run.bot.OnSay(kRulesNo, kEnter);
    run.bot.OnSay(" Would you like to reed the special key instructions? ", kEnter);
    run.bot.OnSay("do you wish to use this voice. yes ", kEnter);
    run.bot.OnSay(" would you like to get in some batting practice? yes ", kDown).OnSay(" no ", kEnter);
    run.bot.OnSay(" What would you like the name of your team to be ?", kSpace, 0.3);  // the names follow; stop here
    bool stopped = false;
    run.bot.Step([&] { return !stopped; },
                 [&] {
                     stopped = true;
                     throw std::runtime_error("reached the names");
                 });
    try {
        run.Go();
    } catch (const std::runtime_error&) {
    }
    ASSERT_EQ(run.bot.stepsDone(), 13u);  // every step but the last, which ended the run
    EXPECT_EQ(run.program.sound().waveVolume, -800);
    EXPECT_EQ(run.program.speech().speechVolume, 60);
    EXPECT_EQ(run.program.speech().voiceIndex, 2);
    EXPECT_EQ(run.program.speech().speechRate, 3);
    EXPECT_EQ(host::ReadText(run.data() + "/baseball.vol"), "-800 \r\n 60 \r\n");
    EXPECT_EQ(run.program.sound().crowdOn, 1) << "the crowd came back after the volume dialog";
    // The file is found in its own letter case and rewritten there on exit.
    run.program.exitSequence().Run(Leave::ExitWithoutSaving, VoiceSettings::Loaded);
    EXPECT_EQ(host::ReadText(run.data() + "/Baseball.CFG"), " 2 \r\n 3 \r\n");
    EXPECT_EQ(test::SpellingsOf(run.data(), "baseball.cfg"), std::vector<std::string>{"Baseball.CFG"});
}

TEST(GameExit, AnOlderInstallationIsBroughtOverOnce) {
    ExitRun run;
    const std::string work = run.world.sim->folders().working;
    run.Write(work, "baseballscore.txt", "old log line\r\n");
    run.Write(work, "baseball.rec", " 1 \r\n 1 \r\n 0 \r\nReds\r\nkim\r\nOwls\r\n");
    run.Write(work, "baseball.sav", " 1 \r\nA\r\nm\r\nB\r\n 0 \r\n 0 \r\n 1 \r\n 1 \r\n 1 \r\n 2 \r\n 1 \r\n");
    for (auto f : {data::RosterFile::Batters, data::RosterFile::StartingPitchers, data::RosterFile::ReliefPitchers})
        run.Write(work, data::Layout(f).fileName, data::DefaultRosterText(f));
    run.Go();
    // The old files arrived and were used: no roster question, the game resumed.
    EXPECT_EQ(run.program.startUp().start, StartUp::Start::Resumed);
    EXPECT_EQ(host::ReadText(run.data() + "/baseballlog.txt"), "old log line\r\n");
    EXPECT_TRUE(host::FindFile(run.data(), "baseball.txt"));
    EXPECT_EQ(run.program.state().teamName[1], "A");
}

TEST(GameKeys, BackslashTellsThisGamesStatusAndGraveWaitsForASummary) {
    ExitRun run;
    ApplyStoredVoiceSettings(run.program.speech(), {}, 90, &run.program.sound().waveVolume);
    run.program.startUp().logHeader = " this is game #3  the Owls verses the Reds.  the series is tied  1 game each. ";
    // Grave accent before any half-inning summary: nothing but the key cleared.
    run.bot.After(0.2, 192).After(0.5, 220).OnSay(run.program.startUp().logHeader, kSpace, 1.0);
    EXPECT_EQ(run.program.waits().getkey().code, "");
    EXPECT_TRUE(run.spoken().empty());
    EXPECT_EQ(run.program.waits().getkey().code, "");
    EXPECT_TRUE(run.Has(run.program.startUp().logHeader));
    const auto& us = run.world.sim->utterances();
    EXPECT_TRUE(us.back().cut);  // a key ends the reading
    // The crowd goes with its transition sound, a pause, the reading, a
    // pause, and the crowd comes back with the same sound.
    std::vector<host::sim::SoundPlay> ways;
    for (const auto& s : run.world.sim->sounds())
        if (s.name == "baseway") ways.push_back(s);
    ASSERT_EQ(ways.size(), 2u);
    EXPECT_GE(us.back().queued, ways[0].stop + 0.3 + 0.3);  // the transition's own pause, then the reading's
    EXPECT_GE(ways[1].start, us.back().end + 0.3);
}

}  // namespace
}  // namespace sw
