#include "verse/LineFiles.h"

#include "TempDir.h"

#include <gtest/gtest.h>

using testing_support::TempDir;
using testing_support::WriteFile;
using Lines = std::vector<std::string>;

TEST(SplitIntoPieces, CrLfAndLfBothEndALineAndAFinalLineEndAddsNothing) {
    EXPECT_EQ(SplitIntoPieces("a\r\nbb\r\nccc\r\nd\r\n", 1000), (Lines{"a", "bb", "ccc", "d"}));
    EXPECT_EQ(SplitIntoPieces("a\nb", 1000), (Lines{"a", "b"}));
    EXPECT_EQ(SplitIntoPieces("", 1000), Lines{});
    EXPECT_EQ(SplitIntoPieces("\n", 1000), Lines{""});
}

TEST(SplitIntoPieces, BlankLinesAreEmptyEntriesAndALoneCrIsText) {
    EXPECT_EQ(SplitIntoPieces("a\n\n\r\nb\n", 1000), (Lines{"a", "", "", "b"}));
    EXPECT_EQ(SplitIntoPieces("a\rb\r", 1000), Lines{"a\rb\r"});
}

TEST(SplitIntoPieces, LongLinesAreCutEvery248Characters) {
    Lines pieces = SplitIntoPieces(std::string(300, 'x') + "\n", 1000);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].size(), 248u);
    EXPECT_EQ(pieces[1].size(), 52u);
    // Exactly 248 characters and a line end: the line end makes an empty piece.
    EXPECT_EQ(SplitIntoPieces(std::string(248, 'y') + "\r\n", 1000), (Lines{std::string(248, 'y'), ""}));
    // 247 characters and CR LF fit one piece: the pair counts as one character.
    EXPECT_EQ(SplitIntoPieces(std::string(247, 'z') + "\r\n", 1000), Lines{std::string(247, 'z')});
}

TEST(SplitIntoPieces, KeepsOnlyTheFirstEntries) {
    std::string text;
    for (int i = 0; i < 1500; ++i)
        text += std::to_string(i) + "\n";
    Lines pieces = SplitIntoPieces(text, 1000);
    ASSERT_EQ(pieces.size(), 1000u);
    EXPECT_EQ(pieces.back(), "999");
}

TEST(ReadLineFile, ReadsTheFirstThousandEntriesOfAHugeFile) {
    TempDir dir;
    testing_support::ScopedCwd cwd;
    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += std::string(300, char('a' + i % 26)) + "\r\n";
    WriteFile(dir / "fives.txt", text);
    std::filesystem::current_path(dir.path());
    auto lines = ReadLineFile("fives.txt", 1000);
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->size(), 1000u);
    EXPECT_EQ((*lines)[998], std::string(248, 'a' + 499 % 26));
    EXPECT_EQ((*lines)[999], std::string(52, 'a' + 499 % 26));
}

TEST(FindFileIgnoringCase, PrefersTheExactNameThenAnyCase) {
    TempDir dir;
    EXPECT_EQ(FindFileIgnoringCase(dir.path(), "fives.txt"), "");
    WriteFile(dir / "FIVES.TXT", "x\n");
    EXPECT_EQ(FindFileIgnoringCase(dir.path(), "fives.txt"), "FIVES.TXT");
    WriteFile(dir / "fives.txt", "y\n");
    EXPECT_EQ(FindFileIgnoringCase(dir.path(), "fives.txt"), "fives.txt");
}
