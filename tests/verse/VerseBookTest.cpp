#include "verse/VerseBook.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using testing_support::ScopedCwd;
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
           v.second == "windows\\system\\SEVENS.TXT, windows\\system\\FIVES.TXT" &&
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

TEST_F(VerseBookTest, ConsecutiveVersesShareNoLinesAndFirstDiffersFromThird) {
    Lines(NumberedLines("five", 6), NumberedLines("seven", 3));
    for (std::uint32_t seed : {0u, 1u, 12345u, 0xFFFFFFFFu}) {
        CVerseBook book(dir.path(), seed);
        Verse previous = Choose(book);
        std::vector<int> firstSeen(6), thirdSeen(6), middleSeen(3);
        for (int i = 0; i < 2000; ++i) {
            Verse v = Choose(book);
            int f = IndexOf(v.first), t = IndexOf(v.third), m = IndexOf(v.second);
            ASSERT_NE(f, t);
            ASSERT_NE(f, IndexOf(previous.first));
            ASSERT_NE(f, IndexOf(previous.third));
            ASSERT_NE(t, IndexOf(previous.first));
            ASSERT_NE(t, IndexOf(previous.third));
            ASSERT_NE(m, IndexOf(previous.second));
            ++firstSeen[f], ++thirdSeen[t], ++middleSeen[m];
            previous = v;
        }
        for (int n : firstSeen) EXPECT_GT(n, 200);  // every line gets its turn
        for (int n : thirdSeen) EXPECT_GT(n, 200);
        for (int n : middleSeen) EXPECT_GT(n, 400);
    }
}

TEST_F(VerseBookTest, ShortListsStillGiveVersesAndKeepWhatRulesTheyCan) {
    Lines(NumberedLines("five", 4), NumberedLines("seven", 2));
    {
        CVerseBook book(dir.path(), 99u);
        std::string middle = Choose(book).second;
        for (int i = 0; i < 50; ++i) {
            std::string next = Choose(book).second;
            ASSERT_NE(next, middle);  // two seven-lines alternate
            middle = next;
        }
    }
    Lines(NumberedLines("five", 1), NumberedLines("seven", 1));
    {
        CVerseBook book(dir.path(), 3u);
        for (int i = 0; i < 20; ++i) {
            Verse v = Choose(book);
            ASSERT_EQ(v.first, "five0");
            ASSERT_EQ(v.third, "five0");
            ASSERT_EQ(v.second, "seven0");
        }
    }
    Lines(NumberedLines("five", 2), NumberedLines("seven", 1));
    {
        CVerseBook book(dir.path(), 3u);
        for (int i = 0; i < 200; ++i) {
            Verse v = Choose(book);
            ASSERT_NE(v.first, v.third);  // the last rule given up is still kept
        }
    }
    Lines(NumberedLines("five", 3), NumberedLines("seven", 1));
    {
        CVerseBook book(dir.path(), 3u);
        Verse previous = Choose(book);
        for (int i = 0; i < 200; ++i) {
            Verse v = Choose(book);
            // With three lines, the one line the last verse left unused is
            // always free for the first line; the third line must then give up
            // avoiding the last verse, but never repeats the first line.
            ASSERT_NE(v.first, previous.first);
            ASSERT_NE(v.first, previous.third);
            ASSERT_NE(v.first, v.third);
            previous = v;
        }
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
