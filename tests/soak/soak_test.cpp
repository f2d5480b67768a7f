// Replays: a recorded game played again from its file is the same game.
#include "soak/soak.h"

#include <gtest/gtest.h>

namespace sw::soak {
namespace {

// The first game from fresh files that takes more than one program run
// (saved and resumed, or left and started again).
Replay RecordedGame(std::vector<Transcript>& transcripts) {
    for (uint64_t seed = 1; seed < 60; ++seed) {
        Replay r;
        transcripts.clear();
        const auto violations = PlayRecorded(seed, Profile::Realistic, FreshFiles(), &r, &transcripts);
        EXPECT_TRUE(violations.empty()) << seed << ": " << violations.front();
        if (r.runs.size() >= 2) return r;
    }
    ADD_FAILURE() << "no game of two runs within 60 seeds";
    return {};
}

TEST(Replay, ARecordedGamePlaysAgainWithTheSameTextsSoundsAndFiles) {
    std::vector<Transcript> played;
    const Replay recorded = RecordedGame(played);
    ASSERT_GE(recorded.runs.size(), 2u);
    // Through its file and back.
    const std::string file = WriteReplay(recorded);
    const auto read = ReadReplay(file);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(WriteReplay(*read), file);

    std::vector<Transcript> replayed;
    const auto violations = PlayReplay(*read, &replayed);
    EXPECT_TRUE(violations.empty()) << violations.front();
    ASSERT_EQ(replayed.size(), played.size());
    for (size_t r = 0; r < played.size(); ++r) {
        ASSERT_EQ(replayed[r].lines.size(), played[r].lines.size()) << "run " << r;
        for (size_t i = 0; i < played[r].lines.size(); ++i)
            ASSERT_EQ(replayed[r].lines[i], played[r].lines[i]) << "run " << r << ", line " << i;
    }
    // The files and a game's worth of speech and sound are all in it.
    size_t files = 0, said = 0, sounds = 0;
    for (const auto& line : played.back().lines) {
        files += line.rfind("file ", 0) == 0;
        said += line.rfind("say ", 0) == 0;
        sounds += line.rfind("play ", 0) == 0;
    }
    EXPECT_GE(files, 6u);
    EXPECT_GT(said, 500u);
    EXPECT_GT(sounds, 300u);

    // The keys are what drive it: one key a little later is another game.
    Replay moved = *read;
    auto& keys = moved.runs.front().keys;
    ASSERT_GT(keys.size(), 40u);
    keys[keys.size() / 2].stamp += 0.03;
    keys[keys.size() / 2].pressedAt += 0.03;
    std::vector<Transcript> other;
    PlayReplay(moved, &other);
    EXPECT_NE(other.front().lines, played.front().lines);
}

TEST(Replay, FilesThatAreNotReplaysAreRefused) {
    EXPECT_FALSE(ReadReplay(""));
    EXPECT_FALSE(ReadReplay("sluggerwood replay 2\nseed 1\nplayer realistic\ngame 1\nend\n"));
    EXPECT_FALSE(ReadReplay("sluggerwood replay 1\nseed 1\nplayer sometimes\ngame 1\nend\n"));
    // A file whose length runs past the end.
    EXPECT_FALSE(ReadReplay("sluggerwood replay 1\nseed 1\nplayer random\ngame 1\nfile a 99\nabc\nend\n"));
    EXPECT_TRUE(ReadReplay("sluggerwood replay 1\nseed 1\nplayer random\ngame 1\nfile a 3\nabc\nrun 1 1\n0.5 0.25 32\nend\n"));
}

}  // namespace
}  // namespace sw::soak
