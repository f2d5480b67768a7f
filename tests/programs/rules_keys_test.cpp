// Every key the shipped rules text names is one the game answers where the
// text says it works. The keys come from the text itself, so a rule that
// names a key the game ignores there fails here.
#include "data/game_files.h"
#include "data/rosters.h"
#include "game/game.h"
#include "game/saved_game.h"
#include "game_player.h"
#include "host/files.h"
#include "host/keychar.h"
#include "player_home.h"
#include "support/sim_run.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
// GCC 12 warns of an uninitialised std::function inside its own regex
// compiler when built with the sanitizers: not ours, and not true.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <regex>
#pragma GCC diagnostic pop

namespace sw {
namespace {

using test::Bot;
using test::GamePlayer;
using test::SimWorld;

// The key waits a key is tried at, each in a game resumed from a saved one.
enum class Where {
    BatterPrompt,     // the player's batter, a runner on first
    PitchMenu,        // the player's pitcher, a runner on first
    PauseMenu,        // opened with Escape at the batter prompt
    AfterHalfInning,  // the first pitch menu after the player's side made three outs
    GameEnd,          // the offer after the last out of a game
};

struct KeyCase {
    const char* name;  // as the rules text names it
    int code;
    Where where;
};

// clang-format off
constexpr KeyCase kKeys[] = {
    {"space bar", 32, Where::BatterPrompt}, {"\"b\"", 'B', Where::BatterPrompt},
    {"\"s\"", 'S', Where::BatterPrompt},    {"\"h\"", 'H', Where::BatterPrompt},
    {"F1", 112, Where::BatterPrompt}, {"F2", 113, Where::BatterPrompt}, {"F3", 114, Where::BatterPrompt},
    {"F4", 115, Where::BatterPrompt}, {"F5", 116, Where::BatterPrompt}, {"F6", 117, Where::BatterPrompt},
    {"F7", 118, Where::BatterPrompt}, {"F8", 119, Where::BatterPrompt}, {"F9", 120, Where::BatterPrompt},
    {"F11", 122, Where::BatterPrompt}, {"F12", 123, Where::BatterPrompt}, {"Control", 17, Where::BatterPrompt},
    {"backslash", 220, Where::BatterPrompt}, {"Escape", 27, Where::BatterPrompt},
    {"\"1\"", '1', Where::PitchMenu}, {"\"2\"", '2', Where::PitchMenu}, {"\"3\"", '3', Where::PitchMenu},
    {"\"4\"", '4', Where::PitchMenu}, {"\"5\"", '5', Where::PitchMenu}, {"\"6\"", '6', Where::PitchMenu},
    {"\"7\"", '7', Where::PitchMenu}, {"\"8\"", '8', Where::PitchMenu}, {"\"9\"", '9', Where::PitchMenu},
    {"Up", 38, Where::PauseMenu}, {"Down", 40, Where::PauseMenu}, {"Enter", 13, Where::PauseMenu},
    {"grave accent", 192, Where::AfterHalfInning},
    {"\"r\"", 'R', Where::GameEnd},
};
// clang-format on

// A key no wait of the game answers: what each wait does with it is the
// reply a named key must not get.
constexpr int kUnknownKey = 'Q';

struct Named {
    std::set<std::string> keys;
    std::vector<std::string> errors;
};

// The keys a text names. The rules name keys in these forms only: F and a
// number (F9); space bar, Escape, Enter, Up, Down, Control, backslash and
// grave accent, capitalised as here; a letter or digit in double quotes
// ("b"). Anything else that looks like a key is an error: a quoted text that
// is not one letter or digit, another key's name (Tab, Shift, Ctrl ...), or
// the word key or keys after anything but a key name ("Any key" and "special
// keys" aside).
Named KeysNamed(const std::string& text) {
    static const std::regex token(
        R"((\bF[0-9]+\b|"[^"\r\n]*"|space bar|grave accent|\b(?:Escape|Enter|Up|Down|Control|backslash)\b)|)"
        R"(\b(Tab|Shift|Alt|AltGr|Backspace|Delete|Insert|Home|End|Page|PageUp|PageDown|Left|Right|Return|)"
        R"(Esc|Ctrl|Space|Windows|Menu|Caps|Lock|Print|Scroll|Num|Pause|Break)\b|\b([Kk]eys?)\b)");
    static const std::regex nameBefore(
        R"((?:F[0-9]+|"[a-z0-9]"|space bar|grave accent|Escape|Enter|Up|Down|Control|backslash|Any|special) $)");
    static const std::regex oneKey(R"("[a-z0-9]"|[^"].*)");
    Named out;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), token); it != std::sregex_iterator(); ++it) {
        const std::string found = it->str();
        if (it->length(1) > 0 && std::regex_match(found, oneKey)) {
            out.keys.insert(found);
        } else if (it->length(1) > 0) {
            out.errors.push_back(found + " in quotes is no key");
        } else if (it->length(2) > 0) {
            out.errors.push_back(found + " is no key the rules may name");
        } else if (!std::regex_search(text.substr(0, static_cast<size_t>(it->position())), nameBefore)) {
            out.errors.push_back("\"" + found + "\" after no key name");
        }
    }
    return out;
}

// The game's first reply to a key: the first thing said or played after it,
// other than the crowd around the field and the echo of the key itself.
std::string FirstReply(const host::sim::SimHost& sim, double pressedAt, int code) {
    static const std::set<std::string> kAmbience = {"crbkgrd", "crdrums", "crexite", "hotdog",
                                                    "peanuts", "beer1",   "beer2"};
    std::string reply = "(nothing)";
    double first = 1e18;
    for (const auto& u : sim.utterances())
        if (u.queued >= pressedAt && u.queued < first && u.text != host::KeyChar(code)) {
            first = u.queued;
            reply = "said: " + u.text;
        }
    for (const auto& s : sim.sounds())
        if (s.start >= pressedAt && s.start < first && !kAmbience.contains(s.name)) {
            first = s.start;
            reply = "played: " + s.name;
        }
    return reply;
}

// The game saved at the moment `where` needs.
void SaveGame(const test::Home& home, Where where) {
    GameState gs;
    data::Rosters rosters;
    for (auto f : {data::RosterFile::Batters, data::RosterFile::StartingPitchers, data::RosterFile::ReliefPitchers})
        data::SetDefaults(f, rosters);
    gs.saveMarker = data::kMarkerSavedGame;
    gs.teamName[1] = "Reds";
    gs.managerName = "kim";
    gs.teamName[2] = "Owls";
    gs.bullpenCountTeam1 = 6;
    gs.bullpenCountTeam2 = 9;
    gs.inning = where == Where::GameEnd ? 9 : 1;
    gs.half = 1;
    const bool playerBats = where == Where::BatterPrompt || where == Where::PauseMenu || where == Where::AfterHalfInning;
    gs.battingTeam = playerBats ? 1 : 2;
    gs.visitingTeam = gs.battingTeam;
    gs.homeTeam = 3 - gs.battingTeam;
    if (where == Where::AfterHalfInning || where == Where::GameEnd) {
        gs.outs = 2;
        gs.runs[1] = where == Where::GameEnd ? 9 : 0;
    } else {
        gs.runnerOnFirst = 1;
        gs.runnersOn = 1;
    }
    host::MakeFolder(home.data());
    ASSERT_TRUE(data::WriteSavedGame(home.data() + "/baseball.sav", SavedGameOf(gs, rosters)));
    ASSERT_TRUE(data::WriteBattingOrder(home.data() + "/basebats.sav", {3, 5}));
}

bool StartsWith(const std::string& s, const std::string& p) { return s.compare(0, p.size(), p) == 0; }

// Plays a saved game up to `where`, presses `code` there, and tells the
// game's first reply; "(not reached)" when the game never got there.
std::string ReplyAt(Where where, int code) {
    test::Home home;
    home.Write("baseball.rec", test::SeriesRecord(1, 0, 0));
    home.Write("baseballlog.txt", "\r\n this is game #1 of the best of 7   the Reds verses the Owls. \r\n");
    home.Write("baseballrules.txt", host::ReadText(std::string(SW_DEFAULTS_DIR) + "/baseballrules.txt"));
    SaveGame(home, where);
    SimWorld world(home.dir.path());
    host::sim::SimHost& sim = *world.sim;
    Bot bot(sim);
    GameProgram program(sim);
    GamePlayer player(sim, bot, program);
    double pressedAt = -1;
    auto once = [&](int usual) {
        if (pressedAt >= 0) return usual;
        pressedAt = sim.clock().now() + player.keyDelay;
        return code;
    };
    auto pressNow = [&] {
        pressedAt = sim.clock().now();
        sim.PressKey(code, pressedAt);
    };
    switch (where) {
    case Where::BatterPrompt: player.batterKey = [&] { return once(test::kSpaceKey); }; break;
    case Where::PitchMenu:
    case Where::AfterHalfInning: {
        player.swingPercent = [] { return 10.0; };  // a miss every time
        auto usual = player.pitchKey;
        player.pitchKey = [&, usual] { return once(usual()); };
        break;
    }
    case Where::PauseMenu:
        bot.OnSayMatching([](const std::string& s) { return StartsWith(s, " press the space bar to step into"); },
                          [&] { sim.PressKey(test::kEscapeKey); });
        bot.OnSayDo(" Select. 1. save and exit game ", pressNow);
        break;
    case Where::GameEnd:
        player.offerKey = code;
        break;
    }
    bool ending = false;
    player.watch = [&] {
        const double now = sim.clock().now();
        const auto& said = sim.utterances();
        if (where == Where::GameEnd && pressedAt < 0 && !said.empty() && said.back().start >= 0 &&
            StartsWith(said.back().text, " Press any key, or the r key"))
            pressedAt = now + 0.05;  // when the player presses the key
        if (pressedAt >= 0 && now > pressedAt + 4 && !ending) {
            ending = true;
            sim.RequestTerminate();
        }
    };
    sim.SetSkipAhead(true);
    sim.SetTimeLimit(4 * 3600);
    program.Run();
    return pressedAt < 0 ? "(not reached)" : FirstReply(sim, pressedAt, code);
}

TEST(RulesText, EveryKeyItNamesIsAnsweredWhereItSaysSo) {
    const Named named = KeysNamed(host::ReadText(std::string(SW_DEFAULTS_DIR) + "/baseballrules.txt"));
    for (const auto& e : named.errors) ADD_FAILURE() << "the rules text: " << e;
    ASSERT_GE(named.keys.size(), 20u);  // the batting, pitching, status and pause keys at least
    std::map<Where, std::string> unknown;
    for (const std::string& name : named.keys) {
        SCOPED_TRACE(name);
        const KeyCase* c = nullptr;
        for (const auto& k : kKeys)
            if (name == k.name) c = &k;
        if (!c) {
            ADD_FAILURE() << "the rules name " << name << ", which no case here tries";
            continue;
        }
        if (!unknown.contains(c->where)) unknown[c->where] = ReplyAt(c->where, kUnknownKey);
        const std::string reply = ReplyAt(c->where, c->code);
        EXPECT_NE(reply, "(not reached)");
        EXPECT_NE(reply, unknown[c->where]) << "answered as a key the game does not know";
    }
}

// The reading of key names itself: what it takes for a key, and what it refuses.
TEST(RulesText, KeyNamesAreReadOnlyInTheirDocumentedForms) {
    const Named n = KeysNamed(
        " Press \"b\" or the space bar, then F9. The grave accent key and the Control key.\r\n"
        " Up and Down move, Any key stops it, and F8 reads the special keys.\r\n");
    EXPECT_EQ(n.keys, (std::set<std::string>{"\"b\"", "space bar", "F9", "F8", "grave accent", "Control", "Up", "Down"}));
    EXPECT_TRUE(n.errors.empty());
    for (const char* bad : {" Press Tab.", " the arrow keys", " press \"yes\"", " Ctrl changes the rate", " any other key"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(KeysNamed(bad).errors.size(), 1u);
    }
}

}  // namespace
}  // namespace sw
