#include "verse/LineFiles.h"

#include "TempDir.h"

#include <gtest/gtest.h>

using testing_support::TempDir;
using testing_support::WriteFile;
using Lines = std::vector<std::string>;

TEST(SplitIntoPieces, LineEndsBlankLinesAndLongLines) {
    const std::string x248(248, 'x'), y300(300, 'y');
    const struct {
        std::string text;
        Lines entries;
    } cases[] = {
        {"a\r\nbb\r\nccc\r\nd\r\n", {"a", "bb", "ccc", "d"}},  // a final line end adds nothing
        {"a\nb", {"a", "b"}},                                  // a last line without one counts
        {"", {}},
        {"a\n\n\r\nb\n", {"a", "", "", "b"}},  // blank lines are empty entries
        {"a\rb\r", {"a\rb\r"}},                // a lone CR is text
        {y300 + "\n", {y300.substr(0, 248), y300.substr(248)}},
        {x248 + "\r\n", {x248, ""}},                        // 248 characters, then the line end alone
        {x248.substr(1) + "\r\n", {x248.substr(1)}},        // CR LF counts as one character
        {std::string("a\0b\nc\0", 6), {"a", "c"}},           // an entry ends at a NUL
        {"\xEF\xBB\xBF" "a\n\xEF\xBB\xBF", {"a", "\xEF\xBB\xBF"}},  // a byte-order mark only at the start
        // 248 bytes would end inside a character of UTF-8 text, not of Windows-1252 text.
        {x248.substr(2) + "\xE2\x82\xAC!", {x248.substr(2), "\xE2\x82\xAC!"}},
        {x248.substr(1) + "\xE2\x82\xAC\xE9!", {x248.substr(1) + "\xE2", "\x82\xAC\xE9!"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitIntoPieces(c.text, 1000), c.entries) << c.text.size() << " bytes";
}

TEST(ReadLineFile, KeepsTheFirstThousandEntriesOfAHugeFile) {
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
#ifndef _WIN32  // where the file system tells letter cases apart
    EXPECT_EQ(FindFileIgnoringCase(dir.path(), "fives.txt"), "FIVES.TXT");
#endif
    WriteFile(dir / "fives.txt", "y\n");
    EXPECT_EQ(FindFileIgnoringCase(dir.path(), "fives.txt"), "fives.txt");
}
