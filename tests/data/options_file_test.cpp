// baseball.opt: what each line does to the options, and what a rewrite keeps.
#include "data/options_file.h"
#include "host/files.h"
#include "support/sim_run.h"

#include <gtest/gtest.h>

namespace sw::data {
namespace {

using host::ChannelMode;

struct ReadCase {
    const char* text;
    PlayerOptions expected;
    size_t problems;
};

TEST(OptionsFile, EachLineReadsAsItsRuleSays) {
    const PlayerOptions off;
    const ReadCase cases[] = {
        {"", off, 0},
        {"\r\n\r\n", off, 0},
        {"channels = mono\r\n", {ChannelMode::Mono, false, 0}, 0},
        {"channels=left", {ChannelMode::Left, false, 0}, 0},
        {"  Channels =\tRIGHT  \n", {ChannelMode::Right, false, 0}, 0},
        {"channels = stereo\r\n", off, 0},
        {"pitch_cue = on\r\n", {ChannelMode::Stereo, true, 0}, 0},
        {"pitch_cue = on\t\r\n", {ChannelMode::Stereo, true, 0}, 0},
        {"pitch_cue = on\r\npitch_cue = off\r\n", off, 0},
        {"latency_ms = 80\r\n", {ChannelMode::Stereo, false, 80}, 0},
        {"latency_ms = -100\r\n", {ChannelMode::Stereo, false, -100}, 0},
        {"latency_ms = 400\r\n", {ChannelMode::Stereo, false, 400}, 0},
        {"\xEF\xBB\xBF" "channels = mono\r\n", {ChannelMode::Mono, false, 0}, 0},
        // Bad values: reported, and the option keeps what it had.
        {"channels = both\r\n", off, 1},
        {"channels =\r\n", off, 1},
        {"pitch_cue = yes\r\n", off, 1},
        {"latency_ms = 401\r\n", off, 1},
        {"latency_ms = -101\r\n", off, 1},
        {"latency_ms = 80ms\r\n", off, 1},
        {"latency_ms =\r\n", off, 1},
        {"channels = mono\r\nchannels = loud\r\n", {ChannelMode::Mono, false, 0}, 1},
        // Bad lines.
        {"channels mono\r\n", off, 1},
        {"= mono\r\n", off, 1},
        // The voice: the player's own, or the built-in one.
        {"speech = system\r\n", {ChannelMode::Stereo, false, 0, true}, 0},
        {"speech = system\r\nspeech = Built-In\r\n", off, 0},
        {"speech = screen reader\r\n", off, 1},
        // Neither a problem nor an option.
        {"voice = Kit\r\n# channels = mono\r\n; pitch_cue = on\r\n", off, 0},
        {"; a note without an equals sign\r\n", off, 0},
    };
    for (const ReadCase& c : cases) {
        std::vector<std::string> problems;
        EXPECT_EQ(ParseOptions(c.text, &problems), c.expected) << c.text;
        EXPECT_EQ(problems.size(), c.problems) << c.text;
    }
}

TEST(OptionsFile, AProblemNamesItsLineAndWhatTheKeyTakes) {
    std::vector<std::string> problems;
    ParseOptions("channels = mono\r\nchannels = both\r\npitch_cue = 1\r\n", &problems);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0], "baseball.opt line 2: channels cannot be \"both\" (it takes stereo, mono, left or right); ignored");
    EXPECT_EQ(problems[1], "baseball.opt line 3: pitch_cue cannot be \"1\" (it takes on or off); ignored");
}

struct WriteCase {
    const char* oldText;
    PlayerOptions options;
    const char* written;
};

TEST(OptionsFile, ARewriteKeepsEveryOtherLineByteForByte) {
    const WriteCase cases[] = {
        {"", {ChannelMode::Mono, false, 0}, "channels = mono\r\npitch_cue = off\r\nlatency_ms = 0\r\n"},
        // Unknown keys, comments, blank lines and odd spacing stay; LF ends become CR LF.
        {"speech = system\n# mine\n\nvoice  =  Kit \t\nchannels = stereo",
         {ChannelMode::Right, true, -30, true},
         "speech = system\r\n# mine\r\n\r\nvoice  =  Kit \t\r\nchannels = right\r\npitch_cue = on\r\nlatency_ms = -30\r\n"},
        // A known key's first line takes the value; its later lines go; a bad
        // line is kept for the player to see.
        {"LATENCY_MS = 999\r\nchannels mono\r\nlatency_ms = 20\r\n",
         {ChannelMode::Stereo, false, 20},
         "latency_ms = 20\r\nchannels mono\r\nchannels = stereo\r\npitch_cue = off\r\n"},
        // The voice is written only once it is not the built-in one, or where the file has it.
        {"", {ChannelMode::Stereo, false, 0, true}, "channels = stereo\r\npitch_cue = off\r\nlatency_ms = 0\r\nspeech = system\r\n"},
        {"speech = system\r\n", {}, "speech = built-in\r\nchannels = stereo\r\npitch_cue = off\r\nlatency_ms = 0\r\n"},
    };
    for (const WriteCase& c : cases) {
        const std::string text = FormatOptions(c.oldText, c.options);
        EXPECT_EQ(text, c.written) << c.oldText;
        EXPECT_EQ(ParseOptions(text, nullptr), c.options) << c.oldText;
    }
}

TEST(OptionsFile, NoFileOrAnEmptyOneIsAllOffAndNothingIsWrittenUntilSaved) {
    test::TempDir dir;
    OptionsFile none;
    none.Load(dir.path());
    EXPECT_EQ(none.values, PlayerOptions{});
    EXPECT_FALSE(host::FindFile(dir.path(), kOptionsFileName));

    host::WriteFileAtomic(dir.path() + "/Baseball.OPT", "");
    OptionsFile empty;
    empty.Load(dir.path());
    EXPECT_EQ(empty.values, PlayerOptions{});
    EXPECT_EQ(host::ReadText(dir.path() + "/Baseball.OPT"), "");

    // A save goes to the file found, whatever its letter case.
    empty.values.pitchCue = true;
    ASSERT_TRUE(empty.Save());
    EXPECT_EQ(host::ReadText(dir.path() + "/Baseball.OPT"), "channels = stereo\r\npitch_cue = on\r\nlatency_ms = 0\r\n");
    OptionsFile again;
    again.Load(dir.path());
    EXPECT_TRUE(again.values.pitchCue);
}

TEST(OptionsFile, AFileThatCannotBeReadIsNeverOverwritten) {
    test::TempDir dir;
    // A folder in the file's place: it is there, and it cannot be read.
    ASSERT_TRUE(host::MakeFolder(dir.path() + "/baseball.opt"));
    OptionsFile file;
    file.Load(dir.path());
    EXPECT_EQ(file.values, PlayerOptions{});
    file.values.channels = ChannelMode::Mono;
    EXPECT_FALSE(file.Save());
    EXPECT_TRUE(host::IsFolder(dir.path() + "/baseball.opt"));
}

TEST(OptionsFile, ProgramsWithoutTheDataFolderUseTheWorkingFolder) {
    test::TempDir dir;
    host::Folders f;
    f.documents = dir.path() + "/docs";
    f.working = dir.path() + "/work";
    EXPECT_EQ(OptionsFolder(f), f.working);
    ASSERT_TRUE(host::MakeFolder(f.documents + "/Tamberlyn"));
    EXPECT_EQ(OptionsFolder(f), f.documents + "/Tamberlyn");
}

}  // namespace
}  // namespace sw::data
