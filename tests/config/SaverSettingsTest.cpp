#include "config/SaverSettings.h"
#include "platform/Profile.h"

#include "TempDir.h"

#include <QSettings>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdint>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

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
    s.FontName = "Gr\xC3\xBC\xC3";  // cut inside a character: still a readable file
    SaveSettings(s);
    SaverSettings back;
    ReadSettings(back);
    EXPECT_EQ(back.FontColor, 0xFFFFFFFFu);
    EXPECT_EQ(back.Delay, 100);
    EXPECT_EQ(back.FontName, "Gr\xC3\xBC\xEF\xBF\xBD");
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

namespace {

// What the seven values of a default save add to a section, in the order
// they are written.
const char kAddedLines[] = "FontSize=25\nGIFDelay=15\nFontName=Courier New\nFontColor=16776960\nFillColor=0\nBackColor=0\n";

std::string WithCrLf(std::string text) {
    for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2)
        text.insert(at, "\r");
    return text;
}

}  // namespace

// A file the user edited keeps every byte of theirs; only the seven values
// change, in place or at the end of the program's section.
TEST_F(SettingsTest, HandEditedFilesKeepTheirLines) {
    const struct {
        std::string before, after;
    } cases[] = {
        {"; mine\n[quorl]\nDelay=5\nOwnKey=x\n; inside\n\n[other]\nDelay=1\n# end\n",
         "; mine\n[quorl]\nDelay=7\nOwnKey=x\n" + std::string(kAddedLines) + "; inside\n\n[other]\nDelay=1\n# end\n"},
        {"\xEF\xBB\xBF" + WithCrLf("[quorl]\n Delay = 3 ; old\n"),
         "\xEF\xBB\xBF" + WithCrLf("[quorl]\nDelay=7\n" + std::string(kAddedLines))},
        {"[other]\nk=v\n# end", "[other]\nk=v\n# end\n\n[quorl]\n" + std::string(kAddedLines).insert(12, "Delay=7\n")},
    };
    for (const auto& c : cases) {
        WriteFile(StoreFile(), c.before);
        SaverSettings s;
        ReadSettings(s);
        s.Delay = 7;
        EXPECT_TRUE(SaveSettings(s));
        EXPECT_EQ(ReadFile(StoreFile()), c.after);
    }
}

TEST_F(SettingsTest, AFileThatIsNoSettingsTextIsNeverRewritten) {
    std::string noise(4096, '\0');
    std::uint32_t state = 24;
    for (char& byte : noise)
        byte = char((state = state * 1664525u + 1013904223u) >> 24);
    for (const std::string& bytes : {noise, std::string("[quorl]\nDelay=9\n\x01\n"), std::string("[quorl]\nDelay=\xC3\n")}) {
        WriteFile(StoreFile(), bytes);
        testing::internal::CaptureStderr();
        SaverSettings s;
        ReadSettings(s);
        EXPECT_EQ(s.Delay, 5);
        EXPECT_FALSE(SaveSettings(s));
        const std::string told = testing::internal::GetCapturedStderr();
        EXPECT_EQ(ReadFile(StoreFile()), bytes);
        // Told once per process, naming the file.
        EXPECT_TRUE(told.empty() || (told.find(StoreFile()) != std::string::npos &&
                                     told.find('\n') == told.size() - 1)) << told;
    }
}

// Stores written by QSettings keep working, and QSettings reads ours alike.
TEST_F(SettingsTest, QSettingsFilesReadTheSameBothWays) {
    const char* const names[] = {"Courier New", "a;b,c=d", " lead", "trail ", "@at", "@@two", "back\\slash \"q\"",
                                 "tab\tline\nend\x01" "9", "Grüße 日本 😀", ""};
    for (const char* program : {"quorl", "my saver", "Général"}) {
        SetProfileAppName(program);
        for (const char* name : names) {
            std::filesystem::remove(StoreFile(program));
            {
                QSettings theirs(QString::fromStdString(StoreFile(program)), QSettings::IniFormat);
                theirs.beginGroup(QString::fromUtf8(program));
                theirs.setValue("FontName", QString::fromUtf8(name));
                theirs.setValue("Delay", -42);
            }
            SaverSettings s;
            ReadSettings(s);
            EXPECT_EQ(s.FontName, std::string(name).substr(0, 31)) << program;
            EXPECT_EQ(s.Delay, -42);
            s.FontName = name;
            s.Delay = 8;
            std::filesystem::remove(StoreFile(program));
            ASSERT_TRUE(SaveSettings(s));
            QSettings theirs(QString::fromStdString(StoreFile(program)), QSettings::IniFormat);
            theirs.beginGroup(QString::fromUtf8(program));
            EXPECT_EQ(theirs.value("FontName").toString().toStdString(), name) << program;
            EXPECT_EQ(theirs.value("Delay").toInt(), 8);
            EXPECT_EQ(theirs.status(), QSettings::NoError);
        }
    }
}

// Two saves at once, in two processes: the file holds one save whole,
// never a mix.
TEST_F(SettingsTest, ConcurrentSavesNeverMix) {
    SaverSettings a, b;
    a.Delay = 1, a.GIFDelay = 2, a.FontName = "A";
    b.Delay = 3, b.GIFDelay = 4, b.FontName = "B";
    for (int round = 0; round < 50; ++round) {
        int start[2];
        ASSERT_EQ(::pipe(start), 0);
        pid_t savers[2];
        for (int i = 0; i < 2; ++i) {
            if ((savers[i] = ::fork()) == 0) {
                char go;
                ::close(start[1]);
                (void)::read(start[0], &go, 1);  // both start when the pipe closes
                ::_exit(SaveSettings(i ? b : a) ? 0 : 1);
            }
        }
        ::close(start[0]);
        ::close(start[1]);
        for (pid_t saver : savers) {
            int status = -1;
            ::waitpid(saver, &status, 0);
            EXPECT_EQ(status, 0);
        }
        SaverSettings back;
        ReadSettings(back);
        ASSERT_TRUE((back.Delay == 1 && back.GIFDelay == 2 && back.FontName == "A") ||
                    (back.Delay == 3 && back.GIFDelay == 4 && back.FontName == "B"))
            << ReadFile(StoreFile());
    }
}

// The lock of a save that was killed, or that an earlier version left as a
// file, holds nothing up; a live save's lock is waited for.
TEST_F(SettingsTest, OnlyALiveSaveHoldsTheLock) {
    const std::string released = home / "released";
    WriteFile(StoreFile() + ".lock", "4242\nquorl\nhost\n");  // an earlier version's, stale
    for (bool dieHolding : {true, false}) {
        int locked[2];
        ASSERT_EQ(::pipe(locked), 0);
        const pid_t holder = ::fork();
        if (holder == 0) {
            ::flock(::open((home / "Zovex Screen Savers").c_str(), O_RDONLY), LOCK_EX);
            ::write(locked[1], "!", 1);
            if (dieHolding)
                ::raise(SIGKILL);
            ::usleep(200000);
            WriteFile(released, "");
            ::_exit(0);
        }
        char got;
        ASSERT_EQ(::read(locked[0], &got, 1), 1);
        ::close(locked[0]);
        ::close(locked[1]);
        SaverSettings s;
        s.Delay = dieHolding ? 11 : 12;
        EXPECT_TRUE(SaveSettings(s));
        EXPECT_EQ(std::filesystem::exists(released), !dieHolding) << "saved while the lock was held";
        ::waitpid(holder, nullptr, 0);
        ReadSettings(s);
        EXPECT_EQ(s.Delay, dieHolding ? 11 : 12);
    }
}
