#include "platform/Directories.h"

#include "TempDir.h"

#include <gtest/gtest.h>

using testing_support::ScopedEnv;

TEST(Directories, DataFolderFollowsTheOverrideThenXdgThenHome) {
    ScopedEnv home("HOME", "/home/someone");
    {
        ScopedEnv data("XDG_DATA_HOME", "");
        ScopedEnv override("QUORL_WINDOWS_DIR", "");
        EXPECT_EQ(GetWindowsDirectory(), "/home/someone/.local/share/quorl");
    }
    {
        ScopedEnv data("XDG_DATA_HOME", "/xdg");
        ScopedEnv override("QUORL_WINDOWS_DIR", "");
        EXPECT_EQ(GetWindowsDirectory(), "/xdg/quorl");
        EXPECT_EQ(GetSystemDirectory(), "/xdg/quorl/system");
    }
    {
        ScopedEnv data("XDG_DATA_HOME", "/xdg");
        ScopedEnv override("QUORL_WINDOWS_DIR", "/win");
        EXPECT_EQ(GetSystemDirectory(), "/win/system");
    }
}
