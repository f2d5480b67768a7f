// The settings files: number layout, tolerant reading, atomic writing.
#include "data/settings_files.h"
#include "host/files.h"
#include "support/sim_run.h"

#include <gtest/gtest.h>

namespace sw::data {
namespace {

TEST(SettingsFiles, NumbersAreWrittenWithTheirBlanks) {
    EXPECT_EQ(FormatNumber(90), " 90 ");
    EXPECT_EQ(FormatNumber(0), " 0 ");
    EXPECT_EQ(FormatNumber(-1000), "-1000 ");
    EXPECT_EQ(ParseNumber("  -3 "), -3);
    EXPECT_EQ(ParseNumber(""), 0);
    EXPECT_EQ(ParseNumber("abc"), std::nullopt);
    EXPECT_EQ(ParseNumber("12x"), std::nullopt);
    EXPECT_EQ(ParseNumber("2147483647"), 2147483647);
    EXPECT_EQ(ParseNumber("2147483648"), std::nullopt);
    EXPECT_EQ(ParseNumber("99999999999999999999999"), std::nullopt);
}

TEST(SettingsFiles, RoundTripAndByteLayout) {
    test::TempDir dir;
    const std::string vol = dir.path() + "/baseball.vol";
    ASSERT_TRUE(WriteVolumes(vol, {-1200, 85}));
    EXPECT_EQ(host::ReadText(vol), "-1200 \r\n 85 \r\n");
    auto v = ReadVolumes(vol);
    ASSERT_TRUE(v);
    EXPECT_EQ(v->waveVolume, -1200);
    EXPECT_EQ(v->speechVolume, 85);

    const std::string cfg = dir.path() + "/baseball.cfg";
    ASSERT_TRUE(WriteVoiceConfig(cfg, {2, -4}));
    EXPECT_EQ(host::ReadText(cfg), " 2 \r\n-4 \r\n");
    EXPECT_EQ(ReadVoiceConfig(cfg)->speechRate, -4);
}

TEST(SettingsFiles, ShortMalformedOrBinaryFilesKeepDefaults) {
    test::TempDir dir;
    const std::string p = dir.path() + "/baseball.vol";
    host::WriteFileAtomic(p, "-700\n");
    auto v = ReadVolumes(p, {0, 90});
    EXPECT_EQ(v->waveVolume, -700);
    EXPECT_EQ(v->speechVolume, 90);
    host::WriteFileAtomic(p, std::string("\x00\xff\x10garbage\r\n\x01", 14));
    v = ReadVolumes(p, {0, 90});
    EXPECT_EQ(v->waveVolume, 0);
    EXPECT_EQ(v->speechVolume, 90);
    EXPECT_FALSE(ReadVoiceConfig(dir.path() + "/missing.cfg"));
    // A write that cannot be made says so and leaves nothing behind.
    EXPECT_FALSE(WriteVolumes(dir.path() + "/no/such/folder/baseball.vol", {0, 90}));
}

TEST(SettingsFiles, DataFolderFoundInAnyCase) {
    test::TempDir dir;
    host::Folders f;
    f.documents = dir.path();
    EXPECT_FALSE(ExistingDataFolder(f));
    host::MakeFolder(dir.path() + "/Tamberlyn");
    auto found = ExistingDataFolder(f);
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, dir.path() + "/Tamberlyn");
}

}  // namespace
}  // namespace sw::data
