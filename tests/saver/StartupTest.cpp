#include "SaverFixture.h"
#include "app/HostedCommandLine.h"
#include "app/SaverApp.h"

#include <map>
#include <optional>

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

TEST_F(StartupTest, ThePreviewFillsItsParentAndShowsOnlyTheBackColour) {
    WriteLines("one\n", "two\n");
    settings.BackColor = kGreenColor;
    SaveSettings(settings);
    system.foreignWindows[1234] = RECT{10, 10, 210, 160};
    ASSERT_TRUE(Start({"/p", "  +1234abc"}));
    EXPECT_EQ(system.parent, 1234u);
    EXPECT_EQ(system.style, WS_CHILD | WS_VISIBLE);
    EXPECT_EQ(system.createRect, (RECT{0, 0, 200, 150}));

    Paint();
    system.Send(WM_TIMER, 1);
    system.Send(WM_KEYDOWN, 'A');
    system.Send(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    system.Send(WM_MOUSEMOVE, 0, MAKELPARAM(9, 9));
    Paint();
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

TEST(HostedCommandLine, HostWordsPickTheWindowAndOtherWordsDecideNothing) {
    using Where = HostedRequest::Where;
    struct Case {
        std::vector<const char*> args;
        const char* variable;
        std::optional<std::pair<Where, HWND>> want;
    };
    const Case cases[] = {
        {{"--root"}, "0x60000F", std::pair{Where::kHostWindow, HWND(0x60000F)}},
        {{"-root", "-window-id", "1234"}, "0x60000F", std::pair{Where::kHostWindow, HWND(1234)}},
        {{"--window-id", "0x1a", "--root"}, nullptr, std::pair{Where::kHostWindow, HWND(0x1A)}},
        {{"-visual", "-root", "--root"}, "12", std::pair{Where::kHostWindow, HWND(12)}},
        {{"--root"}, nullptr, std::pair{Where::kScreen, HWND(0)}},
        {{"--root"}, "", std::pair{Where::kScreen, HWND(0)}},
        {{"-window", "-fps"}, nullptr, std::pair{Where::kOwnWindow, HWND(0)}},
        {{"-install", "-no-fps", "foo"}, "0x60000F", std::pair{Where::kOwnWindow, HWND(0)}},
        {{"--window-id", "0x"}, nullptr, std::pair{Where::kHostWindow, HWND(0)}},
        {{"--window-id", "12z"}, nullptr, std::pair{Where::kHostWindow, HWND(0)}},
        {{"--window-id", "0x100000000"}, nullptr, std::pair{Where::kHostWindow, HWND(0)}},
        {{"--window-id"}, nullptr, std::pair{Where::kHostWindow, HWND(0)}},
        {{"--root"}, "-5", std::pair{Where::kHostWindow, HWND(0)}},
        {{"foo", "-x", "--s"}, "0x60000F", std::nullopt},
    };
    for (const Case& c : cases) {
        std::vector<const char*> argv{"quorl"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const auto got = ParseHostedCommandLine(int(argv.size()), argv.data(), c.variable);
        const std::string label = c.args.front();
        ASSERT_EQ(got.has_value(), c.want.has_value()) << label;
        if (got) {
            EXPECT_EQ(std::pair(got->where, got->window), *c.want) << label << " " << c.args.size();
        }
    }
}

// The host's own settings for the saver: timers of 1 s to a day and a
// picture path, each kept for this run only; a bad number is ignored.
TEST(HostedCommandLine, TimersAndPicturesFromTheHostOverrideForThisRun) {
    const char* argv[] = {"quorl", "--root", "-delay", "7", "-picture-delay", "0", "--pictures", "/p q"};
    const auto got = ParseHostedCommandLine(8, argv, nullptr);
    ASSERT_TRUE(got);
    EXPECT_EQ(got->where, HostedRequest::Where::kScreen);
    EXPECT_EQ(got->overrides.delay, 7);
    EXPECT_FALSE(got->overrides.pictureDelay);
    EXPECT_EQ(got->overrides.pictures, "/p q");
    const char* alone[] = {"quorl", "-picture-delay", "86400", "-delay", "86401"};
    const auto own = ParseHostedCommandLine(5, alone, nullptr);
    ASSERT_TRUE(own);
    EXPECT_EQ(own->where, HostedRequest::Where::kOwnWindow);
    EXPECT_EQ(own->overrides.pictureDelay, 86400);
    EXPECT_FALSE(own->overrides.delay);
}

TEST_F(StartupTest, HostedSaverRunsInTheHostsWindowIgnoresInputAndRedrawsAtANewSize) {
    WriteLines("one\n", "two\n");
    settings.BackColor = kGreenColor;
    settings.Delay = 3;
    SaveSettings(settings);
    system.foreignWindows[0x60000F] = RECT{0, 0, 640, 480};
    testing_support::ScopedEnv variable{"XSCREENSAVER_WINDOW", "0x60000F"};
    // The Windows switches keep their meaning whatever follows them.
    ASSERT_TRUE(Start({"s", "--root"}));
    EXPECT_EQ(system.parent, 0u);
    system.window->PostMessage(WM_CLOSE);
    system.DeliverPosted();

    ASSERT_TRUE(Start({"-fps", "--root"}));
    EXPECT_EQ(system.parent, 0x60000Fu);
    EXPECT_EQ(system.style, WS_CHILD | WS_VISIBLE | WS_DISABLED);
    EXPECT_EQ(system.createRect, (RECT{0, 0, 640, 480}));
    system.Send(WM_PAINT);
    EXPECT_EQ(system.timers[1], 3000u);
    LPARAM position = 0;
    for (UINT message : {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_MBUTTONDOWN, WM_RBUTTONDOWN, WM_MOUSEMOVE,
                         WM_MOUSEMOVE, WM_ACTIVATE, WM_ACTIVATEAPP})
        system.Send(message, 0, ++position);
    EXPECT_TRUE(system.posted.empty());

    // A new size: the framebuffer follows and a verse is drawn for it at once.
    system.Pixels()->Resize(800, 600);
    system.Send(WM_SIZE, 0, MAKELPARAM(800, 600));
    const RECT box = static_cast<CSaverWnd*>(system.window)->GetView().verseRect;
    EXPECT_NEAR((box.left + box.right) / 2, 400, 1);  // centred in the new width
    EXPECT_EQ(Pixel(box.left, box.top), kRed);
}

TEST_F(StartupTest, AHostedSaverWithoutItsWindowEndsQuietlyWithAFailure) {
    testing_support::ScopedEnv variable{"XSCREENSAVER_WINDOW", "0x60000F"};
    for (std::vector<std::string> args : {std::vector<std::string>{"--root"}, {"--window-id", "nonsense"}}) {
        app.m_nExitCode = 0;
        EXPECT_FALSE(Start(args));
        EXPECT_EQ(app.m_nExitCode, 1);
        EXPECT_EQ(system.window, nullptr);
    }
}

// "quorl s" (further arguments ignored) on two monitors: a full-screen saver
// on each, side by side in one process, each with its own timers and place in
// the picture list, both served by the one picture worker; input on either
// ends the program, and with it both.
TEST_F(SaverTest, TwoMonitorsGetASaverEachAndInputOnOneEndsBoth) {
    WriteLines("one\n", "two\n");
    WritePicture("a.gif", 200, 100, {0, 255, 0});
    WritePicture("b.gif", 200, 100, {0, 0, 255});
    WriteGifList({"a.gif", "b.gif"});
    SaveSettings(settings);
    system.monitors = {RECT{0, 0, 300, 200}, RECT{300, 0, 500, 150}};
    {
        CSaverApp app;
        char program[] = "quorl", s[] = "-S", extra[] = "extra";
        char* argv[] = {program, s, extra, nullptr};
        ASSERT_TRUE(app.InitInstance(3, argv));
        ASSERT_EQ(system.windows.size(), 2u);
        EXPECT_EQ(app.m_pMainWnd, system.windows[0].wnd);
        EXPECT_EQ(system.style, WS_POPUP | WS_VISIBLE);
        const MemoryWindowSystem::Window left = system.windows[0], right = system.windows[1];
        EXPECT_EQ(left.rect, system.monitors[0]);
        EXPECT_EQ(right.rect, system.monitors[1]);

        system.SendTo(left.wnd, WM_PAINT);
        system.SendTo(right.wnd, WM_PAINT);
        Settle();
        // Each shows the list's first picture, centred on its own monitor,
        // and runs its own two timers.
        EXPECT_EQ(left.pixels->Pixel(55, 55), kGreen);
        EXPECT_EQ(right.pixels->Pixel(5, 30), kGreen);
        for (const MemoryWindowSystem::Window& w : system.windows)
            EXPECT_EQ(w.timers, (std::map<UINT, UINT>{{1, 5000}, {2, 15000}}));

        // A picture step on one moves that one alone to the next picture.
        system.SendTo(right.wnd, WM_TIMER, CFullScreenWnd::kPictureTimer);
        Settle();
        system.SendTo(right.wnd, WM_TIMER, CFullScreenWnd::kVerseTimer);
        system.SendTo(left.wnd, WM_TIMER, CFullScreenWnd::kVerseTimer);
        EXPECT_EQ(right.pixels->Pixel(5, 30), 0x0000FFu);
        EXPECT_EQ(left.pixels->Pixel(55, 55), kGreen);

        system.SendTo(left.wnd, WM_KEYDOWN, 'A');
        system.DeliverPosted();
        EXPECT_EQ(system.quitCode, 0);
    }
    // The program's end takes the other saver with it.
    EXPECT_TRUE(system.windows.empty());
}
