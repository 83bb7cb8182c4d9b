#include "verse/VerseBook.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

using testing_support::ScopedCwd;
using testing_support::ScopedEnv;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

std::string NumberedLines(const std::string& stem, int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += stem + std::to_string(i) + "\r\n";
    return text;
}

struct Verse {
    std::string first, second, third;
};

Verse Choose(CVerseBook& book) {
    Verse v;
    book.ChooseVerse(v.first, v.second, v.third);
    return v;
}

bool IsNotice(const Verse& v) {
    return v.first == "Create these two files" &&
           v.second == CVerseBook::NoticeMiddleLine() &&
           v.third == "Put the lines in them";
}

int IndexOf(const std::string& line) { return std::stoi(line.substr(line.find_first_of("0123456789"))); }

class VerseBookTest : public ::testing::Test {
protected:
    void Lines(const std::string& fives, const std::string& sevens) {
        if (!fives.empty() || writeEmpty)
            WriteFile(dir / "fives.txt", fives);
        if (!sevens.empty() || writeEmpty)
            WriteFile(dir / "sevens.txt", sevens);
    }
    TempDir dir;
    ScopedCwd cwd;
    bool writeEmpty = false;
};

}  // namespace

TEST_F(VerseBookTest, ReadsBothFilesFromItsDirectoryWhateverTheCurrentOne) {
    Lines(NumberedLines("five", 6), NumberedLines("seven", 5));
    CVerseBook book(dir.path(), 1u);
    EXPECT_EQ(book.FiveCount(), 6);
    EXPECT_EQ(book.SevenCount(), 5);
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(dir.path()));
    // The draws r = 41, 18467, 6334, 26500 of seed 1 give first 41 % 6 = 5,
    // third 18467 % 6 = 5 (taken by the first line, drawn again) then 4, and
    // middle 26500 % 5 = 0: the draws run first, third, middle.
    Verse v = Choose(book);
    EXPECT_EQ(v.first, "five5");
    EXPECT_EQ(v.third, "five4");
    EXPECT_EQ(v.second, "seven0");
}

TEST_F(VerseBookTest, BooksMadeTogetherChooseTheirOwnVerses) {
    // One saver window per monitor, all made in the same second.
    Lines(NumberedLines("five", 200), NumberedLines("seven", 200));
    CVerseBook first(dir.path()), second(dir.path());
    int same = 0;
    for (int i = 0; i < 10; ++i) {
        const Verse a = Choose(first), b = Choose(second);
        same += a.first == b.first && a.second == b.second && a.third == b.third;
    }
    EXPECT_LT(same, 10);
}

TEST_F(VerseBookTest, AMissingOrEmptyFileGivesTheNoticeLines) {
    {
        Lines(NumberedLines("five", 6), "");  // sevens.txt missing
        CVerseBook book(dir.path(), 1u);
        EXPECT_EQ(book.FiveCount(), 0);
        EXPECT_TRUE(IsNotice(Choose(book)));
    }
    {
        writeEmpty = true;
        Lines(NumberedLines("five", 6), "");  // sevens.txt of zero bytes
        CVerseBook book(dir.path(), 1u);
        EXPECT_TRUE(IsNotice(Choose(book)));
        EXPECT_TRUE(IsNotice(Choose(book)));
    }
    {
        std::filesystem::remove(dir / "fives.txt");
        WriteFile(dir / "sevens.txt", NumberedLines("seven", 3));
        CVerseBook book(dir.path(), 1u);
        EXPECT_EQ(book.SevenCount(), 0);  // sevens.txt is not used without fives.txt
        EXPECT_TRUE(IsNotice(Choose(book)));
    }
}

// Each file the user lacks comes from the first absolute default folder that
// has it; a file the user has, even an empty one, is theirs.
TEST_F(VerseBookTest, AFileTheUserLacksComesFromTheInstalledDefaults) {
#ifdef _WIN32
    GTEST_SKIP() << "nothing is installed beside the program on Windows";
#endif
    TempDir share;
    ScopedEnv dirs("XDG_DATA_DIRS", "relative:" + share / "a" + ":" + share / "b");
    WriteFile(dir / "relative/quorl/sevens.txt", NumberedLines("relative seven", 7));
    WriteFile(share / "a/quorl/sevens.txt", NumberedLines("default seven", 2));
    WriteFile(share / "b/quorl/fives.txt", NumberedLines("default five", 4));
    WriteFile(share / "b/quorl/sevens.txt", NumberedLines("other seven", 9));
    WriteFile(dir / "fives.txt", NumberedLines("five", 3));
    {
        CVerseBook book(dir.path(), 1u);
        EXPECT_EQ(book.FiveCount(), 3);
        EXPECT_EQ(book.SevenCount(), 2);
    }
    std::filesystem::remove(dir / "fives.txt");
    WriteFile(dir / "sevens.txt", "");
    CVerseBook book(dir.path(), 1u);
    EXPECT_TRUE(IsNotice(Choose(book)));
    WriteFile(dir / "sevens.txt", "own seven\r\n");
    book.LoadLines();
    EXPECT_EQ(book.FiveCount(), 4);
    EXPECT_EQ(Choose(book).second, "own seven");
}

// Each rule holds whenever the lists are long enough for it: the first line
// avoids both five-lines of the last verse (three lines or more), the third
// line avoids the first (two or more) and the last verse too (four or more),
// the middle line avoids the last middle line (two or more); every line gets
// its turn.
TEST_F(VerseBookTest, VersesKeepEveryRuleTheirListsAllow) {
    for (const auto& [fives, sevens, seed] : {std::tuple{6, 3, 0u}, {6, 3, 0xFFFFFFFFu}, {4, 2, 99u}, {3, 1, 3u},
                                              {2, 1, 3u}, {1, 1, 3u}}) {
        Lines(NumberedLines("five", fives), NumberedLines("seven", sevens));
        CVerseBook book(dir.path(), seed);
        Verse previous = Choose(book);
        std::vector<int> fiveSeen(std::size_t(fives), 0), sevenSeen(std::size_t(sevens), 0);
        for (int i = 0; i < 1000; ++i) {
            const Verse v = Choose(book);
            const int f = IndexOf(v.first), t = IndexOf(v.third), m = IndexOf(v.second);
            const int pf = IndexOf(previous.first), pt = IndexOf(previous.third);
            ASSERT_TRUE(fives < 3 || (f != pf && f != pt)) << fives << " fives, verse " << i;
            ASSERT_TRUE(fives < 2 || f != t) << fives << " fives, verse " << i;
            ASSERT_TRUE(fives < 4 || (t != pf && t != pt)) << fives << " fives, verse " << i;
            ASSERT_TRUE(sevens < 2 || m != IndexOf(previous.second)) << sevens << " sevens, verse " << i;
            ++fiveSeen[std::size_t(f)], ++fiveSeen[std::size_t(t)], ++sevenSeen[std::size_t(m)];
            previous = v;
        }
        for (int n : fiveSeen)
            EXPECT_GT(n, 2000 / fives / 3) << fives << " fives";
        for (int n : sevenSeen)
            EXPECT_GT(n, 1000 / sevens / 3) << sevens << " sevens";
    }
}

TEST_F(VerseBookTest, EmptyLinesAreEntriesAndFreeLinesEmptiesTheBook) {
    Lines("\n\n\n\n", NumberedLines("seven", 2));
    CVerseBook book(dir.path(), 5u);
    EXPECT_EQ(book.FiveCount(), 4);
    Verse v = Choose(book);
    EXPECT_EQ(v.first, "");
    EXPECT_EQ(v.third, "");
    book.FreeLines();
    EXPECT_EQ(book.FiveCount(), 0);
    EXPECT_TRUE(IsNotice(Choose(book)));
}

// The notice names the real folder of the line files as the user would type
// it: the home folder as "~", only when the path is really inside it.
TEST(VerseNotice, NamesTheDataFolderAsTheUserWouldTypeIt) {
#ifdef _WIN32
    // Windows keeps the text it always had.
    EXPECT_EQ(CVerseBook::NoticeMiddleLine(), "windows\\system\\SEVENS.TXT, windows\\system\\FIVES.TXT");
    return;
#endif
    const struct {
        const char *home, *dataHome, *windowsDir, *expected;
    } cases[] = {
        {"/home/ann", "", "", "~/.local/share/quorl/system/sevens.txt, fives.txt"},
        {"/home/ann/", "", "", "~/.local/share/quorl/system/sevens.txt, fives.txt"},
        {"/home/ann", "/home/ann/data", "", "~/data/quorl/system/sevens.txt, fives.txt"},
        {"/home/ann", "/srv/share", "", "/srv/share/quorl/system/sevens.txt, fives.txt"},
        {"/home/ann", "", "/home/annex/w", "/home/annex/w/system/sevens.txt, fives.txt"},
        {"/", "", "/w", "/w/system/sevens.txt, fives.txt"},
    };
    for (const auto& c : cases) {
        ScopedEnv home("HOME", c.home), data("XDG_DATA_HOME", c.dataHome), dir("QUORL_WINDOWS_DIR", c.windowsDir);
        EXPECT_EQ(CVerseBook::NoticeMiddleLine(), c.expected) << c.home << " " << c.dataHome << " " << c.windowsDir;
    }
}
