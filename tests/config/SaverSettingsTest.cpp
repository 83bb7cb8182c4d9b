#include "config/SaverSettings.h"
#include "platform/Profile.h"

#include "TempDir.h"

#include <gtest/gtest.h>

using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetRegistryKey("Zovex Screen Savers");
        SetProfileAppName("/opt/savers/quorl.scr");
    }
    std::string StoreFile(const std::string& app = "quorl") const {
        return home / ("Zovex Screen Savers/" + app + ".conf");
    }
    TempDir home;
    testing_support::ScopedEnv configHome{"XDG_CONFIG_HOME", home.path()};
};

}  // namespace

// Every field is read, each missing one as its default.
TEST_F(SettingsTest, AnEmptyStoreGivesTheDefaults) {
    SaverSettings s{"x", 1, 2, 3, 4, 99, 98};
    ReadSettings(s);
    EXPECT_TRUE(s == SaverSettings{});
}

TEST_F(SettingsTest, SavingWritesAllSevenEntriesColoursAsDecimalText) {
    SaverSettings s;
    ReadSettings(s);
    SaveSettings(s);
    std::string text = ReadFile(StoreFile());
    EXPECT_NE(text.find("[quorl]"), std::string::npos) << text;
    for (const char* line : {"FontSize=25", "Delay=5", "GIFDelay=15", "FontName=Courier New",
                             "FontColor=16776960", "FillColor=0", "BackColor=0"})
        EXPECT_NE(text.find(std::string(line) + "\n"), std::string::npos) << line << " in\n" << text;

    s.FontColor = 0xFFFFFFFF;
    s.Delay = 100;  // the store keeps what it is given; ranges are the dialog's business
    SaveSettings(s);
    SaverSettings back;
    ReadSettings(back);
    EXPECT_EQ(back.FontColor, 0xFFFFFFFFu);
    EXPECT_EQ(back.Delay, 100);
}

TEST_F(SettingsTest, HandEditedValuesAreReadLeniently) {
    WriteFile(StoreFile(),
              "[quorl]\n"
              "FontColor=\"  255abc\"\n"
              "FillColor=abc\n"
              "BackColor=-1\n"
              "FontSize=twelve\n"
              "Delay=99999999999\n"
              "GIFDelay=-3\n"
              "FontName=A Very Long Face Name That Goes On And On\n");
    SaverSettings s;
    ReadSettings(s);
    EXPECT_EQ(s.FontColor, 255u);
    EXPECT_EQ(s.FillColor, 0u);
    EXPECT_EQ(s.BackColor, 0xFFFFFFFFu);
    EXPECT_EQ(s.FontSize, 25);  // not a number: the default
    EXPECT_EQ(s.Delay, 5);      // beyond 32 bits: the default
    EXPECT_EQ(s.GIFDelay, -3);
    EXPECT_EQ(s.FontName, "A Very Long Face Name That Goes");
    EXPECT_EQ(s.FontName.size(), 31u);
}

TEST_F(SettingsTest, EachProgramNameKeepsItsOwnSettings) {
    SaverSettings s;
    s.Delay = 7;
    SaveSettings(s);
    SetProfileAppName("/usr/local/bin/quorl-copy");
    EXPECT_EQ(GetProfileAppName(), "quorl-copy");
    SaverSettings other;
    ReadSettings(other);
    EXPECT_EQ(other.Delay, 5);
    other.Delay = 9;
    SaveSettings(other);
    EXPECT_NE(ReadFile(StoreFile("quorl-copy")).find("[quorl-copy]"), std::string::npos);

    SetProfileAppName("quorl");
    ReadSettings(s);
    EXPECT_EQ(s.Delay, 7);
}

TEST(ColorText, ReadsLikeAtoiAndWritesLikePrintf) {
    EXPECT_EQ(ColorFromText("00000000"), 0u);
    EXPECT_EQ(ColorFromText("16776960"), 0x00FFFF00u);
    EXPECT_EQ(ColorFromText(" \t+42x"), 42u);
    EXPECT_EQ(ColorFromText("-"), 0u);
    EXPECT_EQ(ColorFromText("4294967295"), 0xFFFFFFFFu);
    // Past 32 bits the digits wrap as they accumulate: 10^20 - 1 modulo 2^32.
    EXPECT_EQ(ColorFromText("99999999999999999999"), 0x630FFFFFu);
    EXPECT_EQ(ColorToText(0), "0");
    EXPECT_EQ(ColorToText(16776960), "16776960");
    EXPECT_EQ(ColorToText(0xFFFFFFFF), "-1");
}
