#include "config/GifListFile.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using testing_support::ReadFile;
using testing_support::ScopedEnv;
using testing_support::TempDir;
using testing_support::WriteFile;
using List = std::vector<std::string>;

namespace {

class GifListTest : public ::testing::Test {
protected:
    std::string ListFile() const { return windows / "system/GIFList.txt"; }
    List Read() {
        List list{"left over"};
        ReadGifList(list);
        return list;
    }
    TempDir windows;
    ScopedEnv env{"QUORL_WINDOWS_DIR", windows.path()};
};

}  // namespace

TEST_F(GifListTest, AMissingFileIsAnEmptyList) { EXPECT_EQ(Read(), List{}); }

// Relative entries of an installed list name files beside it; a list of the
// user's own, even an empty one, wins.
TEST_F(GifListTest, WithoutAListOfTheirOwnTheUserGetsTheFirstInstalledOne) {
    TempDir share;
    ScopedEnv dirs("XDG_DATA_DIRS", share / "none" + ":" + share / "a" + ":" + share / "b");
    WriteFile(share / "a/quorl/GIFList.txt", "dusk.gif\r\n/abs/hills.gif\r\nsub/snow.gif");
    WriteFile(share / "b/quorl/GIFList.txt", "other.gif\r\n");
    EXPECT_EQ(Read(), (List{share / "a/quorl/dusk.gif", "/abs/hills.gif", share / "a/quorl/sub/snow.gif"}));
    WriteFile(ListFile(), "");
    EXPECT_EQ(Read(), List{});
}

TEST_F(GifListTest, ReadsLinesInFileOrderSkippingEmptyOnesAndKeepingSpaces) {
    WriteFile(ListFile(), "/p/b.gif\r\n\r\n/p/a.gif\n\n   \r\n/p/a.gif\r\n/p/last.gif");
    EXPECT_EQ(Read(), (List{"/p/b.gif", "/p/a.gif", "   ", "/p/a.gif", "/p/last.gif"}));
}

TEST_F(GifListTest, LongPathsReadBackWhole) {
    std::string longPath = "/" + std::string(600, 'd') + "/x.gif";
    std::string path253(253, 'e');
    WriteFile(ListFile(), longPath + "\r\n" + path253 + "\r\n");
    EXPECT_EQ(Read(), (List{longPath, path253}));
}

TEST_F(GifListTest, ReadsNoMoreThanItsBounds) {
    std::string many;
    for (std::size_t i = 0; i < kMaxGifListEntries + 2; ++i)
        many += "p\n";
    const std::string endless(kMaxGifListBytes, 'x');
    const struct {
        std::string text;
        std::size_t entries;
        std::string last;
    } cases[] = {
        {many, kMaxGifListEntries, "p"},
        {"/p/first.gif\n" + endless + "\n/p/after.gif\n", 1, "/p/first.gif"},  // a cut line is dropped
    };
    for (const auto& c : cases) {
        WriteFile(ListFile(), c.text);
        const List list = Read();
        ASSERT_EQ(list.size(), c.entries);
        EXPECT_EQ(list.back(), c.last);
    }
}

TEST_F(GifListTest, WritesCrLfLinesAndReadsThemBack) {
    List list{"/p/b.gif", "/p/a.gif", "/p/a.gif", "  ", "relative/c.gif"};
    ASSERT_TRUE(WriteGifList(list));  // the system folder is made when missing
    EXPECT_EQ(ReadFile(ListFile()), "/p/b.gif\r\n/p/a.gif\r\n/p/a.gif\r\n  \r\nrelative/c.gif\r\n");
    EXPECT_EQ(Read(), list);

    ASSERT_TRUE(WriteGifList({}));
    EXPECT_TRUE(std::filesystem::exists(ListFile()));
    EXPECT_EQ(ReadFile(ListFile()), "");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(windows / "system"),
                            std::filesystem::directory_iterator()),
              1);  // no temporary file left behind
}

TEST_F(GifListTest, AFailedWriteLeavesTheOldFileAsItWas) {
    WriteFile(ListFile(), "/old/one.gif\r\n/old/two.gif");
    const std::string before = ReadFile(ListFile());

    // A file-size limit makes the write fail even for root.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 16;
    setrlimit(RLIMIT_FSIZE, &small);
    bool ok = WriteGifList({"/new/a-rather-long-path-to-a-picture.gif", "/new/b.gif"});
    setrlimit(RLIMIT_FSIZE, &old);

    EXPECT_FALSE(ok);
    EXPECT_EQ(ReadFile(ListFile()), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(windows / "system"),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(GifListTest, AWriteThatCannotReplaceTheListReportsFailure) {
    std::filesystem::create_directories(ListFile());  // a folder where the file should be
    EXPECT_FALSE(WriteGifList({"/p/a.gif"}));
    EXPECT_TRUE(std::filesystem::is_directory(ListFile()));
}

// A write killed before its rename leaves its temporary behind; the next
// write removes it, and leaves a running write's and the user's files alone.
TEST_F(GifListTest, TheNextWriteRemovesTemporariesOfKilledWrites) {
    const pid_t dead = ::fork();
    if (dead == 0)
        ::_exit(0);
    ::waitpid(dead, nullptr, 0);
    const std::string prefix = windows / "system/.GIFList.txt.";
    const std::string stale = prefix + std::to_string(dead) + ".AbC123",
                      running = prefix + std::to_string(::getppid()) + ".AbC123", users = prefix + "backup";
    for (const std::string& file : {stale, running, users})
        WriteFile(file, "x");
    ASSERT_TRUE(WriteGifList({"/p/a.gif"}));
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(running));
    EXPECT_TRUE(std::filesystem::exists(users));
}
