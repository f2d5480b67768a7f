// Whole games on the simulated host: program runs from the start-up to the
// exit sequence, with the player's keys scripted.
#include "data/game_files.h"
#include "data/rosters.h"
#include "game/game.h"
#include "game_player.h"
#include "host/files.h"
#include "support/sim_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace sw {
namespace {

using test::Bot;
using test::GamePlayer;
using test::SimWorld;

constexpr int kEnter = 13, kDown = 40, kSpace = 32;

bool StartsWith(const std::string& s, const std::string& p) { return s.compare(0, p.size(), p) == 0; }

// One program run on a data folder that outlives it.
struct Day {
    explicit Day(const std::string& home) : world(home) {}
    SimWorld world;
    Bot bot{*world.sim};
    GameProgram program{*world.sim};
    GamePlayer player{*world.sim, bot, program};
    int status = -1;

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
    void Go() {
        world.sim->SetTimeLimit(6 * 3600);
        status = program.Run();
    }
};

// The data folder of a player, kept across program runs.
struct Home {
    test::TempDir dir;
    std::string data() const { return dir.path() + "/home/Documents/tamberlyn"; }
    std::string Read(const std::string& name) const {
        auto f = host::FindFile(data(), name);
        return f ? host::ReadText(*f) : std::string();
    }
    void Write(const std::string& name, const std::string& text) const {
        host::MakeFolder(data());
        host::WriteFileAtomic(data() + "/" + name, text);
    }
    Home() {
        for (auto f : {data::RosterFile::Batters, data::RosterFile::StartingPitchers, data::RosterFile::ReliefPitchers})
            Write(data::Layout(f).fileName, data::DefaultRosterText(f));
        Write("baseball.cfg", " 0 \r\n 0 \r\n");
    }
    // A series under way: the Reds (the player's) against the Owls.
    void Series(int openerHome, int wins1, int wins2) const {
        Write("baseball.rec", " " + std::to_string(openerHome) + " \r\n " + std::to_string(wins1) + " \r\n " +
                                  std::to_string(wins2) + " \r\nReds\r\nkim\r\nOwls\r\n");
        Write("baseball.sav", " 4242 \r\n");
    }
};

TEST(WholeGame, Smoke) {
    Home home;
    home.Series(1, 0, 0);
    Day day(home.dir.path());
    day.DeclineIntroduction();
    const auto t0 = std::chrono::steady_clock::now();
    day.Go();
    const double real = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    std::printf("real %.2f s, virtual %.0f s, prompts %d\n", real, day.world.sim->clock().now(), day.player.prompts);
    const auto s = day.spoken();
    for (size_t i = s.size() > 60 ? s.size() - 60 : 0; i < s.size(); ++i) std::printf("%s\n", s[i].c_str());
    std::printf("REC:%s\nSAV:%s\n", home.Read("baseball.rec").c_str(), home.Read("baseball.sav").c_str());
    ASSERT_TRUE(day.program.loopEnd.has_value());
}

}  // namespace
}  // namespace sw
