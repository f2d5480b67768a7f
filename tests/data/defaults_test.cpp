// The files the game ships as a new data folder's first contents.
#include "data/data_folder.h"
#include "data/rosters.h"
#include "host/files.h"

#include <gtest/gtest.h>

#include <string>

namespace sw::data {
namespace {

std::string Shipped(const std::string& name) { return host::ReadText(std::string(SW_DEFAULTS_DIR) + "/" + name); }

// The shipped rosters are the built-in ones exactly as the rewrite after a
// damaged file writes them, so a first start and a repaired file agree.
TEST(ShippedDefaults, RosterFilesAreTheBuiltInRostersAsTheRewriteWritesThem) {
    for (auto f : {RosterFile::Batters, RosterFile::StartingPitchers, RosterFile::ReliefPitchers}) {
        const RosterLayout& layout = Layout(f);
        SCOPED_TRACE(layout.fileName);
        const std::string text = Shipped(layout.fileName);
        EXPECT_EQ(text, DefaultRosterText(f))
            << "the built-in rosters changed: write defaults/" << layout.fileName << " anew from DefaultRosterText";
        Rosters read, built;
        ASSERT_TRUE(ParseRoster(f, text, read));
        SetDefaults(f, built);
        EXPECT_EQ(read.battersTeam1, built.battersTeam1);
        EXPECT_EQ(read.battersTeam2, built.battersTeam2);
        EXPECT_EQ(read.startersTeam1, built.startersTeam1);
        EXPECT_EQ(read.startersTeam2, built.startersTeam2);
        EXPECT_EQ(read.bullpenTeam1, built.bullpenTeam1);
        EXPECT_EQ(read.bullpenTeam2, built.bullpenTeam2);
    }
}

// The guide is the one the program writes for an older installation: the
// data folder reads the same whichever way it began.
TEST(ShippedDefaults, GuideIsTheOneTheProgramWrites) { EXPECT_EQ(Shipped("baseball.txt"), kDataFolderGuide); }

// The rules are heard, not seen: plain ASCII in short CR LF lines, nothing a
// voice reads out as a symbol. The reading joins the lines with nothing
// between them, so each line begins with a space.
TEST(ShippedDefaults, RulesAreShortSpokenLines) {
    const std::string text = Shipped("baseballrules.txt");
    ASSERT_TRUE(text.ends_with("\r\n"));
    int lines = 0;
    for (size_t at = 0; at < text.size(); ++lines) {
        const size_t end = text.find("\r\n", at);
        ASSERT_NE(end, std::string::npos);
        const std::string line = text.substr(at, end - at);
        SCOPED_TRACE(line);
        at = end + 2;
        ASSERT_TRUE(line.starts_with(" ") && line.size() > 1);
        EXPECT_LE(line.size(), 100u);
        EXPECT_EQ(line.find("--"), std::string::npos);
        for (char c : line) {
            EXPECT_TRUE(c >= ' ' && c <= '~') << int(static_cast<unsigned char>(c));
            EXPECT_EQ(std::string("*#|=[](){}<>_/\\~^&@%$`").find(c), std::string::npos) << c;
        }
    }
    EXPECT_GE(lines, 40);
    EXPECT_LE(lines, 70);
}

}  // namespace
}  // namespace sw::data
