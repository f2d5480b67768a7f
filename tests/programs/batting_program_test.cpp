// The batting practice program, run whole on the simulated host.
#include "practice/batting_program.h"
#include "host/files.h"
#include "support/sim_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace sw {
namespace {

using host::sim::SoundPlay;
using test::Bot;
using test::SimWorld;

constexpr int kEnter = 13, kEsc = 27, kSpace = 32, kUp = 38, kDown = 40, kCtrl = 17, kF12 = 123, kE = 69;
const std::string kBox = "press the space bar to step into the batters box or e to exit";
const std::string kInstructions = " press any key to swing the bat when the pitch is about 85 percent from left to right ";

// Index of the first element equal to `what` at or after `from`; size() when absent.
size_t Find(const std::vector<std::string>& v, const std::string& what, size_t from = 0) {
    for (size_t i = from; i < v.size(); ++i)
        if (v[i] == what) return i;
    return v.size();
}

struct ProgramRun {
    SimWorld world;
    Bot bot{*world.sim};
    int status = -1;
    void Go() {
        world.sim->SetTimeLimit(3600);
        status = RunBattingProgram(*world.sim);
    }
    std::vector<std::string> spoken() const { return world.sim->Spoken(); }
};

// Start-up with no settings file: the rate hint and the voice question, "yes".
void AcceptVoice(Bot& bot) { bot.OnSay("do you wish to use this voice. yes ", kEnter); }

// One pitch swung at `percent`; records the verdict sounds and words.
struct Verdict {
    std::vector<std::string> sounds;
    std::vector<std::string> words;
};

TEST(BattingProgram, SwingsAcrossTheWindowGetTheirVerdicts) {
    ProgramRun run;
    AcceptVoice(run.bot);
    run.bot.OnSay(" random pitches ", kEnter);
    const std::vector<double> swings = {75, 82, 86, 87, 90, 92, 97};
    for (double pct : swings) {
        run.bot.OnSay(kBox, kSpace);
        run.bot.SwingAt(pct);
    }
    run.bot.OnSay(kBox, kSpace).Take();
    run.bot.OnSay(kBox, kE).OnSay(" random pitches ", kUp).OnSay(" exit ", kEnter);
    run.Go();
    ASSERT_TRUE(run.bot.done()) << "stopped at step " << run.bot.stepsDone();
    EXPECT_EQ(run.status, 0);

    // Split the run at each pitch sound.
    const auto& plays = run.world.sim->sounds();
    std::vector<const SoundPlay*> pitches;
    for (const auto& p : plays)
        if (p.name.size() == 2 && p.name[0] == 'p') pitches.push_back(&p);
    ASSERT_EQ(pitches.size(), swings.size() + 1);

    const auto spoken = run.spoken();
    auto verdictAfter = [&](size_t i) {
        Verdict v;
        const double from = pitches[i]->start;
        // Up to the next batter's-box prompt.
        double to = 1e9;
        for (const auto& u : run.world.sim->utterances())
            if (u.start > from && u.text == kBox) {
                to = u.start;
                break;
            }
        for (const auto& p : plays)
            if (p.start > from && p.start < to && !p.looping && p.name.rfind("p", 0) != 0 && p.name != "hotdog" &&
                p.name != "peanuts" && p.name != "beer1" && p.name != "beer2")
                v.sounds.push_back(p.name + "@" + std::to_string(p.pan));
        for (const auto& u : run.world.sim->utterances())
            if (u.start > from && u.start < to && u.text != kBox && u.text != kInstructions && u.text != " here's the whined up" &&
                u.text != " and the pitch")
                v.words.push_back(u.text);
        return v;
    };

    // Every pitch travels from the left at -2500 at 11026 Hz.
    for (const SoundPlay* p : pitches) {
        EXPECT_EQ(p->pan, -2500);
        EXPECT_EQ(p->frequency, 11026u);
    }

    const Verdict early = verdictAfter(0);
    EXPECT_EQ(early.sounds, (std::vector<std::string>{"sm@2300", "glove@2500", "strike@2700"}));
    EXPECT_EQ(early.words, (std::vector<std::string>{"a swing and a miss", "you swung too early"}));

    const Verdict foulEarly = verdictAfter(1);
    EXPECT_EQ(foulEarly.sounds, (std::vector<std::string>{"ft@2300", "foulball@2700"}));
    EXPECT_EQ(foulEarly.words, (std::vector<std::string>{"you swung just a bit too early"}));

    EXPECT_EQ(verdictAfter(2).sounds, (std::vector<std::string>{"mh@2300"}));
    EXPECT_EQ(verdictAfter(2).words, (std::vector<std::string>{"a good hit"}));
    EXPECT_EQ(verdictAfter(3).sounds, (std::vector<std::string>{"hh@2300"}));
    EXPECT_EQ(verdictAfter(3).words, (std::vector<std::string>{"you got all of that one"}));
    // Exactly 90 percent is still in the window: a hit.
    EXPECT_EQ(verdictAfter(4).sounds, (std::vector<std::string>{"lh@2300"}));
    EXPECT_EQ(verdictAfter(4).words, (std::vector<std::string>{"a hit"}));

    EXPECT_EQ(verdictAfter(5).sounds, (std::vector<std::string>{"ft@2300", "foulball@2700"}));
    EXPECT_EQ(verdictAfter(5).words, (std::vector<std::string>{"you swung just a bit too late"}));
    EXPECT_EQ(verdictAfter(6).sounds, (std::vector<std::string>{"sm@2300", "glove@2500", "strike@2700"}));
    EXPECT_EQ(verdictAfter(6).words, (std::vector<std::string>{"a swing and a miss", "you swung too late"}));

    // Contact stops the pitch at once and the verdict follows; a miss lets
    // the pitch play on under the swing sound, and the glove comes after it.
    auto firstAfter = [&](const std::string& name, double from) -> const SoundPlay* {
        for (const auto& p : plays)
            if (p.name == name && p.start >= from) return &p;
        return nullptr;
    };
    for (size_t i : {2, 3, 4}) {
        const SoundPlay* hit = firstAfter(std::vector<std::string>{"mh", "hh", "lh"}[i - 2], pitches[i]->start);
        ASSERT_NE(hit, nullptr);
        EXPECT_NEAR(hit->start, pitches[i]->stop, 0.05);
    }
    for (size_t i : {0, 6}) {
        const SoundPlay* swish = firstAfter("sm", pitches[i]->start);
        const SoundPlay* glove = firstAfter("glove", pitches[i]->start);
        ASSERT_TRUE(swish && glove);
        EXPECT_LT(swish->start, pitches[i]->stop);
        EXPECT_GE(glove->start, pitches[i]->stop);
    }

    // The pitch taken: the glove, then the call by the last speed class.
    const SoundPlay& taken = *pitches.back();
    ASSERT_EQ(taken.frequencies.size(), 3u);
    const uint32_t lastRate = taken.frequencies.back().second;
    const int speedClass = static_cast<int>((lastRate - 8000) / 1500) + 1;
    const Verdict take = verdictAfter(pitches.size() - 1);
    const std::string call = speedClass == 1 || speedClass == 5 ? "ball@2700" : "strike@2700";
    EXPECT_EQ(take.sounds, (std::vector<std::string>{"glove@2500", call}));
    if (speedClass == 3) {
        EXPECT_TRUE(take.words.empty());
    } else {
        ASSERT_EQ(take.words.size(), 1u);
        EXPECT_EQ(take.words[0].rfind("a ", 0), 0u);
        const std::string tail = speedClass < 3 ? " low " : " high ";
        const std::string over = speedClass == 2 || speedClass == 4 ? " but over" : "";
        EXPECT_TRUE(take.words[0].ends_with(tail + over)) << take.words[0];
    }

    // The way out.
    EXPECT_EQ(spoken.back(), "Thank you for playing batting practice By Pellwick");
}

TEST(BattingProgram, PitchSoundPansAndChangesSpeedThreeTimes) {
    ProgramRun run;
    AcceptVoice(run.bot);
    run.bot.OnSay(" random pitches ", kEnter).OnSay(kBox, kSpace).Take();
    run.bot.OnSay(kBox, kE).OnSay(" random pitches ", kUp).OnSay(" exit ", kEnter);
    run.Go();
    ASSERT_TRUE(run.bot.done());
    const SoundPlay* pitch = nullptr;
    for (const auto& p : run.world.sim->sounds())
        if (p.name.size() == 2 && p.name[0] == 'p') pitch = &p;
    ASSERT_NE(pitch, nullptr);
    ASSERT_EQ(pitch->frequencies.size(), 3u);
    for (const auto& [t, hz] : pitch->frequencies)
        EXPECT_TRUE(hz == 8000 || hz == 9500 || hz == 11000 || hz == 12500 || hz == 14000) << hz;
    // The pan rises from the left to the right, never going back.
    ASSERT_GT(pitch->pans.size(), 10u);
    int32_t last = -2500;
    for (const auto& [t, pan] : pitch->pans) {
        EXPECT_GE(pan, last);
        last = pan;
    }
    EXPECT_GT(last, 2300);
    EXPECT_LE(last, 2500);
}

TEST(BattingProgram, MenuSelectedPitchesAndLeavingTheBox) {
    ProgramRun run;
    AcceptVoice(run.bot);
    Bot& b = run.bot;
    // Up on " random pitches " says " exit "; Down from " exit " comes back.
    b.OnSay(" random pitches ", kUp).OnSay(" exit ", kDown).OnSay(" random pitches ", kDown);
    b.OnSay(" selected pitches ", kEnter);
    b.OnSay("FAST BALL", kUp).OnSay("SCREWBALL ", kEnter);
    b.OnSay(kBox, kSpace).SwingAt(87);
    b.OnSay(kBox, kSpace).SwingAt(87);
    // Escape leaves the box like "e".
    b.OnSay(kBox, kEsc).OnSay(" random pitches ", kEnter).OnSay(kBox, kE);
    b.OnSay(" random pitches ", kUp).OnSay(" exit ", kEnter);
    run.Go();
    ASSERT_TRUE(b.done()) << "stopped at step " << b.stepsDone();
    int screwballs = 0;
    for (const auto& p : run.world.sim->sounds()) {
        if (p.name.size() == 2 && p.name[0] == 'p') {
            EXPECT_EQ(p.name, "p7");
            ++screwballs;
        }
    }
    EXPECT_EQ(screwballs, 2);
    const auto spoken = run.spoken();
    // The instructions come on the first and second prompt, not the third;
    // practice re-entered from the menu goes on counting.
    int prompts = 0, instructions = 0;
    for (const auto& s : spoken) {
        if (s == kBox) ++prompts;
        if (s == kInstructions) ++instructions;
    }
    EXPECT_EQ(prompts, 4);
    EXPECT_EQ(instructions, 2);
    // "e" and Escape bring back the menu, which starts with " Select ".
    size_t selects = std::count(spoken.begin(), spoken.end(), " Select ");
    EXPECT_EQ(selects, 3u);
}

TEST(BattingProgram, HotKeysRateAndVoice) {
    ProgramRun run;
    AcceptVoice(run.bot);
    Bot& b = run.bot;
    b.OnSay(" random pitches ", kCtrl)
        .OnSay("to adjust the speech rate, use the arrow keys and then press enter", kUp)
        .OnSay("1", kUp)
        .OnSay("2", kDown)
        .OnSay("1", kEnter);
    // The key the dialog leaves means nothing to the menu: it asks again.
    b.OnSay(" random pitches ", kF12)
        .OnSay("do you wish to use this voice. yes ", 78)       // "n": the next voice
        .OnSay("do you wish to use this voice. yes ", kDown)    // the arrows flip the answer
        .OnSay(" no ", kEnter)                                  // Enter on "no": the next voice
        .OnSay("do you wish to use this voice. yes ", kEnter);
    b.OnSay(" random pitches ", kUp).OnSay(" exit ", kEnter);
    run.Go();
    ASSERT_TRUE(b.done()) << "stopped at step " << b.stepsDone();
    // The rate moved by one per press, and the voice index went round to 2.
    const auto& us = run.world.sim->utterances();
    const auto& last = us.back();
    EXPECT_EQ(last.text, "Thank you for playing batting practice By Pellwick");
    EXPECT_EQ(last.rate, 1);
    EXPECT_EQ(last.voice, 2);
}

TEST(BattingProgram, HomeDuringThePitchSwingsAndAtTheBoxRepeats) {
    constexpr int kHome = 36;
    ProgramRun run;
    AcceptVoice(run.bot);
    Bot& b = run.bot;
    b.OnSay(" random pitches ", kEnter).OnSay(kBox, kHome).OnSay(kBox, kSpace);
    host::sim::SimHost& sim = *run.world.sim;
    b.Step([&sim] {
        for (auto* buffer : sim.liveBuffers())
            if (buffer->name().size() == 2 && buffer->name()[0] == 'p' && buffer->playing()) return true;
        return false;
    }, [&sim] { sim.PressKey(kHome, sim.clock().now() + 0.3); });
    b.OnSay(kBox, kE).OnSay(" random pitches ", kUp).OnSay(" exit ", kEnter);
    run.Go();
    ASSERT_TRUE(b.done()) << "stopped at step " << b.stepsDone();
    const auto spoken = run.spoken();
    const size_t pitch = Find(spoken, " and the pitch");
    ASSERT_LT(pitch + 1, spoken.size());
    ASSERT_LT(Find(spoken, kBox) + 1, spoken.size());
    EXPECT_EQ(spoken[Find(spoken, kBox) + 1], kBox) << "Home at the box says it again";
    EXPECT_NE(spoken[pitch + 1], " and the pitch") << "Home in the pitch is a swing, not a repeat";
    bool swung = false;
    for (const auto& p : sim.sounds())
        swung = swung || p.name == "sm" || p.name == "ft" || (p.name.size() == 2 && p.name[1] == 'h');
    EXPECT_TRUE(swung);
    EXPECT_EQ(sim.beeps(), 0);
}

TEST(BattingProgram, KeyDuringAVerdictSoundCutsItShort) {
    ProgramRun run;
    AcceptVoice(run.bot);
    run.bot.OnSay(" random pitches ", kEnter).OnSay(kBox, kSpace).SwingAt(92);
    run.bot.OnSound("ft", 65, 0.05);
    run.bot.OnSay(kBox, kE).OnSay(" random pitches ", kUp).OnSay(" exit ", kEnter);
    run.Go();
    ASSERT_TRUE(run.bot.done());
    for (const auto& p : run.world.sim->sounds()) {
        if (p.name == "ft") {
            EXPECT_NEAR(p.stop - p.start, 0.05, 0.01);
        }
    }
}

TEST(BattingProgram, SettingsFileSkipsTheVoiceQuestion) {
    ProgramRun run;
    host::WriteFileAtomic(run.world.sim->folders().working + "/baseball.cfg", " 1 \r\n-3 \r\n");
    run.bot.OnSay(" random pitches ", kUp).OnSay(" exit ", kEnter);
    run.Go();
    ASSERT_TRUE(run.bot.done());
    const auto spoken = run.spoken();
    EXPECT_EQ(Find(spoken, "do you wish to use this voice. yes "), spoken.size());
    EXPECT_EQ(run.world.sim->utterances().back().voice, 1);
    EXPECT_EQ(run.world.sim->utterances().back().rate, -3);
}

TEST(BattingProgram, SettingsInTheGamesDataFolderComeFirst) {
    ProgramRun run;
    const std::string data = run.world.sim->folders().documents + "/TAMBERLYN";
    host::MakeFolder(data);
    host::WriteFileAtomic(data + "/baseball.cfg", " 2 \r\n 4 \r\n");
    host::WriteFileAtomic(run.world.sim->folders().working + "/baseball.cfg", " 1 \r\n-3 \r\n");
    run.bot.OnSay(" random pitches ", kUp).OnSay(" exit ", kEnter);
    run.Go();
    ASSERT_TRUE(run.bot.done());
    EXPECT_EQ(run.world.sim->utterances().back().voice, 2);
    EXPECT_EQ(run.world.sim->utterances().back().rate, 4);
    // No game menu beside the program: nothing is started.
    EXPECT_TRUE(run.world.sim->started().empty());
}

TEST(BattingProgram, CloseRequestActsAsEscape) {
    ProgramRun run;
    AcceptVoice(run.bot);
    run.bot.OnSay(" random pitches ", kEnter);
    run.bot.Step([&] { return !run.world.sim->Spoken().empty() && run.world.sim->Spoken().back() == kBox; },
                 [&] { run.world.sim->RequestClose(); });
    run.bot.OnSay(" random pitches ", kUp).OnSay(" exit ", kEnter);
    run.Go();
    ASSERT_TRUE(run.bot.done());
    EXPECT_EQ(run.status, 0);
}

TEST(BattingProgram, MissingWaveFileStopsBeforeSpeaking) {
    ProgramRun run;
    std::filesystem::remove(run.world.sim->folders().sounds + "/take.wav");
    run.Go();
    ASSERT_EQ(run.world.sim->messages().size(), 1u);
    EXPECT_EQ(run.world.sim->messages()[0], "Sorry but one or more of the wave files seem to be corrupt\rPlease contact Pellwick");
    EXPECT_TRUE(run.spoken().empty());
}

TEST(BattingProgram, NoVoiceSaysSoAndLeaves) {
    ProgramRun run;
    run.world.sim->SetVoiceCount(0);
    run.Go();
    ASSERT_EQ(run.world.sim->messages().size(), 1u);
    EXPECT_EQ(run.world.sim->messages()[0], "Sorry but I couldn't find any voices to use\rPlease contact Pellwick");
}

TEST(BattingProgram, StartsTheGameMenuWhenItIsThere) {
    ProgramRun run;
    test::WriteTestWave(run.world.sim->folders().program + "/vellobar", 1);
    run.bot.OnSay("do you wish to use this voice. yes ", kEnter).OnSay(" random pitches ", kUp).OnSay(" exit ", kEnter);
    run.Go();
    ASSERT_EQ(run.world.sim->started().size(), 1u);
    EXPECT_EQ(run.world.sim->started()[0], run.world.sim->folders().program + "/vellobar");
}

}  // namespace
}  // namespace sw
