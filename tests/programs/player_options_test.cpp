// The player's options on the simulated host: an empty file changes nothing
// in a whole game, F10 opens the menu from a key wait of each program, and a
// change is kept for the next start.
#include "game/game.h"
#include "game_player.h"
#include "host/files.h"
#include "menu/game_menu.h"
#include "player_home.h"
#include "practice/batting_program.h"
#include "support/sim_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace sw {
namespace {

using test::Bot;
using test::GamePlayer;
using test::SimWorld;

constexpr int kEnter = 13, kEsc = 27, kSpace = 32, kLeft = 37, kUp = 38, kRight = 39, kDown = 40, kF10 = 121;
const std::string kMenuIntro = " Player options. Up and down to choose, enter to change, escape to leave. ";
const std::string kRulesQuestion = " Would you like to read the baseball rules dot T X T file? no ";

struct Day {
    explicit Day(const std::string& home) : world(home) {}
    SimWorld world;
    Bot bot{*world.sim};
    GameProgram program{*world.sim};
    GamePlayer player{*world.sim, bot, program};

    void DeclineIntroduction() {
        bot.OnSay(" Would you like to reed the special key instructions? ", kEnter);
        bot.OnSay("do you wish to use this voice. yes ", kEnter);
        bot.OnSay(" would you like to get in some batting practice? yes ", kDown).OnSay(" no ", kEnter);
    }
    void Go() {
        world.sim->SetTimeLimit(6 * 3600);
        world.sim->SetSkipAhead(true);
        program.Run();
    }
    // Everything heard and played, and every file of the data folder but the options.
    std::vector<std::string> Transcript(const std::string& dataFolder) const {
        std::vector<std::string> lines;
        char buf[160];
        for (const auto& u : world.sim->utterances()) {
            std::snprintf(buf, sizeof buf, "%.6f %.6f %.6f %d %d ", u.queued, u.start, u.end, u.rate, u.volume);
            lines.push_back(buf + u.text);
        }
        for (const auto& s : world.sim->sounds()) {
            std::snprintf(buf, sizeof buf, "%.6f %.6f %d %d %u %zu %zu ", s.start, s.stop, s.volume, s.pan, s.frequency,
                          s.pans.size(), s.frequencies.size());
            lines.push_back(buf + s.name);
        }
        for (const char* name : {"baseball.cfg", "baseball.vol", "baseball.rec", "baseball.sav", "baseballlog.txt"}) {
            auto f = host::FindFile(dataFolder, name);
            lines.push_back(std::string(name) + ": " + (f ? host::ReadText(*f) : "none"));
        }
        return lines;
    }
};

TEST(PlayerOptions, AWholeGameWithAnEmptyFileIsTheGameWithNone) {
    std::vector<std::string> transcripts[2];
    for (int withFile = 0; withFile < 2; ++withFile) {
        test::Home home;
        home.Write("baseball.rec", test::SeriesRecord(1, 0, 0));
        if (withFile) home.Write("baseball.opt", "");
        Day day(home.dir.path());
        day.bot.OnSound("take", kSpace, 1.0).OnSay(kRulesQuestion, kEnter);
        day.DeclineIntroduction();
        day.Go();
        ASSERT_EQ(day.program.ended, Leave::GameOver);
        EXPECT_EQ(day.program.options(), data::PlayerOptions{});
        transcripts[withFile] = day.Transcript(home.data());
        // Nothing is written until the player changes something.
        EXPECT_EQ(home.Read("baseball.opt"), "") << withFile;
        EXPECT_EQ(host::FindFile(home.data(), "baseball.opt").has_value(), withFile == 1);
    }
    ASSERT_GT(transcripts[0].size(), 1000u);
    EXPECT_EQ(transcripts[0], transcripts[1]);
}

TEST(PlayerOptions, F10ChangesAnOptionAtOnceWritesItAndTheNextStartReadsIt) {
    test::Home home;
    home.Write("baseball.rec", test::SeriesRecord(1, 0, 0));
    home.Write("baseball.opt", "speech = system\r\nchannels = both\r\n");
    {
        Day day(home.dir.path());
        bool cueWhenSaid = false;
        day.bot.OnSound("take", kSpace, 1.0)
            .OnSay(kRulesQuestion, kF10)
            .OnSay(" sound channels. stereo. ", kDown)
            .OnSay(" rising pitch tone. off. ", kEnter)
            .OnSayDo(" rising pitch tone. on. ", [&] {
                cueWhenSaid = day.program.sound().pitchCue();
                day.world.sim->PressKey(kDown);
            })
            .OnSay(" sound delay. 0 milliseconds. ", kRight)
            .OnSay(" sound delay. 10 milliseconds. ", kUp)
            .OnSay(" rising pitch tone. on. ", kEsc)
            // The question that was waiting is asked again and answered as before.
            .OnSay(kRulesQuestion, kEnter);
        day.DeclineIntroduction();
        day.player.pauseNow = [] { return true; };
        day.player.pauseItem = 2;
        day.Go();
        ASSERT_TRUE(day.bot.done()) << "stopped at step " << day.bot.stepsDone();
        EXPECT_TRUE(cueWhenSaid);
        EXPECT_EQ(day.program.latencyMs(), 10);
        const auto spoken = day.world.sim->Spoken();
        const auto intro = std::find(spoken.begin(), spoken.end(), kMenuIntro);
        ASSERT_NE(intro, spoken.end());
        EXPECT_EQ(*(intro + 1), " sound channels. stereo. ");
        // The player's own voice was asked for; this host has none, and says so.
        EXPECT_NE(std::find(spoken.begin(), intro,
                            " your screen reader's voice cannot be reached. the game's own voice speaks instead. "),
                  intro);
        // The voice's line stays where it was; the bad one takes the value.
        EXPECT_EQ(home.Read("baseball.opt"), "speech = system\r\nchannels = stereo\r\npitch_cue = on\r\nlatency_ms = 10\r\n");
    }
    Day next(home.dir.path());
    next.bot.OnSound("take", kSpace, 1.0).OnSay(kRulesQuestion, kEnter);
    next.DeclineIntroduction();
    next.player.pauseNow = [] { return true; };
    next.player.pauseItem = 2;
    next.Go();
    EXPECT_EQ(next.program.options(), (data::PlayerOptions{host::ChannelMode::Stereo, true, 10, true}));
    EXPECT_TRUE(next.program.sound().pitchCue());
}

TEST(PlayerOptions, F10InBattingPracticeAndTheGameMenu) {
    {
        SimWorld world;
        host::WriteFileAtomic(world.sim->folders().working + "/baseball.opt", "speech = system\r\n");
        Bot bot(*world.sim);
        bot.OnSay("do you wish to use this voice. yes ", kEnter)
            .OnSay(" random pitches ", kF10)
            .OnSay(" sound channels. stereo. ", kLeft)
            .OnSay(" sound channels. right ear only. ", kEsc)
            .OnSay(" random pitches ", kUp)
            .OnSay(" exit ", kEnter);
        world.sim->SetTimeLimit(600);
        EXPECT_EQ(RunBattingProgram(*world.sim), 0);
        ASSERT_TRUE(bot.done()) << "stopped at step " << bot.stepsDone();
        // The simulated host has no voice of the player's own.
        const auto spoken = world.sim->Spoken();
        EXPECT_EQ(std::count(spoken.begin(), spoken.end(),
                             " your screen reader's voice cannot be reached. the game's own voice speaks instead. "),
                  1);
        auto f = host::FindFile(world.sim->folders().working, "baseball.opt");
        ASSERT_TRUE(f);
        EXPECT_EQ(host::ReadText(*f), "speech = system\r\nchannels = right\r\npitch_cue = off\r\nlatency_ms = 0\r\n");
    }
    SimWorld world;
    test::WriteTestWave(world.sim->folders().program + "/baseball", 1);
    Bot bot(*world.sim);
    bot.OnSay(" baseball ", kF10).OnSay(" sound channels. stereo. ", kEsc).OnSay(" baseball ", kEsc);
    world.sim->SetTimeLimit(600);
    EXPECT_EQ(RunGameMenu(*world.sim), 0);
    ASSERT_TRUE(bot.done()) << "stopped at step " << bot.stepsDone();
    // Leaving without a change writes nothing.
    EXPECT_FALSE(host::FindFile(world.sim->folders().working, "baseball.opt"));
}

}  // namespace
}  // namespace sw
