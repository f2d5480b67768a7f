// The game menu program, run whole on the simulated host.
#include "menu/game_menu.h"
#include "host/files.h"
#include "support/sim_run.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace sw {
namespace {

using test::Bot;
using test::SimWorld;

constexpr int kEnter = 13, kEsc = 27, kUp = 38, kDown = 40, kF1 = 112, kCtrl = 17, kQ = 81;
const std::string kIntro = " Game menu. Use the up and down arrows to choose, and press enter. ";
const std::string kGoodbye = "Thank you for playing. Goodbye.";

struct MenuRun {
    explicit MenuRun(std::initializer_list<const char*> installed = {"baseball", "batting"}) {
        for (const char* name : installed) test::WriteTestWave(program(name), 1);
    }
    SimWorld world;
    Bot bot{*world.sim};
    int status = -1;
    std::string program(const std::string& name) const { return world.sim->folders().program + "/" + name; }
    void Go() {
        world.sim->SetTimeLimit(600);
        status = RunGameMenu(*world.sim);
    }
    std::vector<std::string> spoken() const { return world.sim->Spoken(); }
};

TEST(GameMenu, ListsTheGamesBesideItWrappingBothWaysAndEscapeSaysGoodbye) {
    struct Case {
        std::initializer_list<const char*> installed;
        std::vector<std::string> items;
    };
    const Case cases[] = {
        {{"baseball", "batting"}, {" baseball ", " batting practice ", " exit "}},
        {{"batting"}, {" batting practice ", " exit "}},
        {{}, {" exit "}},
    };
    for (const Case& c : cases) {
        MenuRun run(c.installed);
        // Down through the whole list and round to the first item, Up back
        // round to the last, then Escape.
        const size_t n = c.items.size();
        for (size_t i = 0; i < n; ++i) run.bot.OnSay(c.items[i], kDown);
        run.bot.OnSay(c.items[0], kUp).OnSay(c.items[n - 1], kEsc);
        run.Go();

        std::vector<std::string> expected = {kIntro};
        for (const auto& item : c.items) expected.push_back(item);
        expected.push_back(c.items[0]);
        expected.push_back(c.items[n - 1]);
        expected.push_back(kGoodbye);
        EXPECT_EQ(run.spoken(), expected) << n << " items";
        EXPECT_TRUE(run.world.sim->started().empty());
        EXPECT_EQ(run.status, 0);
    }
}

TEST(GameMenu, AMenuLeftWaitingStaysQuiet) {
    MenuRun run;
    run.bot.OnSay(" baseball ", kEsc, 120);
    run.Go();
    EXPECT_EQ(run.spoken().back(), kGoodbye);
    EXPECT_TRUE(run.world.sim->sounds().empty()) << run.world.sim->sounds().front().name;
}

TEST(GameMenu, EnterStartsTheChosenProgramAndEndsTheMenu) {
    for (int downs : {0, 1}) {
        MenuRun run;
        if (downs) run.bot.OnSay(" baseball ", kDown);
        run.bot.OnSay(downs ? " batting practice " : " baseball ", kEnter);
        run.Go();
        ASSERT_EQ(run.world.sim->started().size(), 1u);
        EXPECT_EQ(run.world.sim->started()[0], run.program(downs ? "batting" : "baseball"));
        EXPECT_NE(run.spoken().back(), kGoodbye);
        EXPECT_EQ(run.status, 0);
    }
}

TEST(GameMenu, ExitItemEndsWithGoodbyeAndAProgramThatCannotStartKeepsTheMenu) {
    MenuRun run({"batting"});
    // The program goes away between the menu's look and Enter.
    run.bot.OnSayDo(" batting practice ", [&] { std::filesystem::remove(run.program("batting")); }, 0.01)
        .After(0.05, kEnter)
        .OnSay(" batting practice ", kDown)
        .OnSay(" exit ", kEnter);
    run.Go();
    EXPECT_EQ(run.spoken(), (std::vector<std::string>{kIntro, " batting practice ",
                                                      " Sorry, I could not start batting practice ",
                                                      " batting practice ", " exit ", kGoodbye}));
}

TEST(GameMenu, F1ReadsTheMenuAgainFromTheTopAndOtherKeysAreEchoed) {
    MenuRun run;
    run.bot.OnSay(" baseball ", kDown).OnSay(" batting practice ", kF1).OnSay(" baseball ", kQ)
        .OnSay(" baseball ", kEsc);
    run.Go();
    const auto spoken = run.spoken();
    const std::vector<std::string> expected = {kIntro, " baseball ", " batting practice ", kIntro, " baseball "};
    ASSERT_GE(spoken.size(), expected.size() + 2);
    EXPECT_EQ(std::vector<std::string>(spoken.begin(), spoken.begin() + 5), expected);
    // The key's echo, then the same item again.
    EXPECT_EQ(spoken[6], " baseball ");
    EXPECT_EQ(spoken.back(), kGoodbye);
}

TEST(GameMenu, SpeaksWithTheStoredVoiceAndCtrlChangesTheRate) {
    MenuRun run;
    host::WriteFileAtomic(run.world.sim->folders().working + "/baseball.cfg", " 2 \r\n 4 \r\n");
    run.bot.OnSay(" baseball ", kCtrl)
        .OnSay("to adjust the speech rate, use the arrow keys and then press enter", kUp)
        .OnSay("5", kEnter)
        .OnSay(" baseball ", kEsc);
    run.Go();
    ASSERT_EQ(run.spoken().back(), kGoodbye);
    const auto& intro = run.world.sim->utterances().front();
    EXPECT_EQ(intro.voice, 2);
    EXPECT_EQ(intro.rate, 4);
    EXPECT_EQ(run.world.sim->utterances().back().rate, 5);
}

TEST(GameMenu, WithoutAVoiceItSaysSoAndStartsNothing) {
    MenuRun run;
    run.world.sim->SetVoiceCount(0);
    run.Go();
    EXPECT_EQ(run.world.sim->messages(),
              std::vector<std::string>{"Sorry but I couldn't find any voices to use\rPlease contact Pellwick"});
    EXPECT_TRUE(run.world.sim->started().empty());
    EXPECT_EQ(run.status, 1);
}

TEST(GameMenu, AnEndingSessionEndsTheMenuAtOnceStartingNothing) {
    for (bool atEnter : {false, true}) {
        MenuRun run;
        run.bot.OnSayDo(" baseball ", [&] {
            run.world.sim->RequestTerminate();
            if (atEnter) run.world.sim->PressKey(kEnter);
        });
        run.Go();
        EXPECT_TRUE(run.world.sim->started().empty()) << atEnter;
        EXPECT_NE(run.spoken().back(), kGoodbye);
    }
}

}  // namespace
}  // namespace sw
