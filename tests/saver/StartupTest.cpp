#include "SaverFixture.h"
#include "app/SaverApp.h"

using namespace saver_test;

TEST(MatchSwitch, SkipsOneLeadingDashOrSlashAndComparesWholeArgumentsIgnoringCase) {
    for (const char* yes : {"s", "S", "/s", "-s", "/S", "-S"})
        EXPECT_TRUE(MatchSwitch(yes, "s")) << yes;
    for (const char* no : {"//s", "-/s", "/c:1234", "/s2", "save", "/", "-", "", "p"})
        EXPECT_FALSE(MatchSwitch(no, "s")) << no;
}

namespace {

class StartupTest : public SaverTest {
protected:
    BOOL Start(std::vector<std::string> args) {
        args.insert(args.begin(), "quorl");
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        return app.InitInstance(int(args.size()), argv.data());
    }
    CSaverApp app;
};

}  // namespace

TEST_F(StartupTest, UnknownSwitchesEndAtOnceWithoutAWindow) {
    for (const char* arg : {"//s", "save", "/c:1234", "-/s", ""}) {
        EXPECT_FALSE(Start({arg})) << arg;
        EXPECT_EQ(app.m_nExitCode, 0);
        EXPECT_EQ(system.window, nullptr);
    }
}

TEST_F(StartupTest, SStartsTheFullScreenSaverAndIgnoresFurtherArguments) {
    EXPECT_TRUE(Start({"-S", "extra", "args"}));
    ASSERT_NE(system.window, nullptr);
    EXPECT_EQ(app.m_pMainWnd, system.window);
    EXPECT_EQ(system.style, WS_POPUP | WS_VISIBLE);
}

TEST_F(StartupTest, ThePreviewFillsItsParentAndShowsOnlyTheBackColour) {
    WriteLines("one\n", "two\n");
    settings.BackColor = kGreenColor;
    SaveSettings(settings);
    system.foreignWindows[1234] = RECT{10, 10, 210, 160};
    ASSERT_TRUE(Start({"/p", "  +1234abc"}));
    EXPECT_EQ(system.parent, 1234u);
    EXPECT_EQ(system.style, WS_CHILD | WS_VISIBLE);
    EXPECT_EQ(system.createRect, (RECT{0, 0, 200, 150}));

    system.Send(WM_PAINT);
    system.Send(WM_TIMER, 1);
    system.Send(WM_KEYDOWN, 'A');
    system.Send(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    system.Send(WM_MOUSEMOVE, 0, MAKELPARAM(9, 9));
    system.Send(WM_PAINT);
    EXPECT_TRUE(system.posted.empty());
    EXPECT_TRUE(system.timers.empty());
    for (auto [x, y] : {std::pair{0, 0}, {100, 75}, {199, 149}})
        EXPECT_EQ(Pixel(x, y), kGreen);

    // Its parent closing it ends the program.
    system.window->PostMessage(WM_CLOSE);
    system.DeliverPosted();
    EXPECT_EQ(system.quitCode, 0);
}

TEST_F(StartupTest, APreviewWithoutAWindowToLiveInEndsQuietlyWithAFailure) {
    for (std::vector<std::string> args : {std::vector<std::string>{"p", "12345"}, {"p"}, {"p", "0"}, {"p", "-7"}}) {
        app.m_nExitCode = 0;
        EXPECT_FALSE(Start(args));
        EXPECT_EQ(app.m_nExitCode, 1);
        EXPECT_EQ(system.window, nullptr);
    }
}
