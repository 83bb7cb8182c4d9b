#include "SaverFixture.h"

#include <algorithm>
#include <filesystem>
#include <map>

using namespace saver_test;

namespace {

std::vector<std::string> Without(std::vector<std::string> log, const std::string& entry) {
    log.erase(std::remove(log.begin(), log.end(), entry), log.end());
    return log;
}

bool Closes(MemoryWindowSystem& system) {
    return std::any_of(system.posted.begin(), system.posted.end(),
                       [](const MemoryWindowSystem::Message& m) { return m.message == WM_CLOSE; });
}

}  // namespace

TEST_F(SaverTest, TheFirstPaintDrawsTheVerseThenStartsBothTimers) {
    WriteLines("one\ntwo\nthree\nfour\n", "five\nsix\n");
    settings.Delay = 3;
    settings.GIFDelay = 7;
    TestFullScreenWnd* wnd = StartSaver();
    EXPECT_EQ(system.exStyle, WS_EX_TOPMOST);
    EXPECT_EQ(system.style, WS_POPUP | WS_VISIBLE);
    EXPECT_EQ(system.createRect, (RECT{0, 0, 1024, 768}));
    EXPECT_TRUE(system.log.empty());

    Paint();
    ASSERT_GE(system.log.size(), 3u);
    EXPECT_EQ(system.log.back(), "SetTimer 2 7000");
    EXPECT_EQ(system.log[system.log.size() - 2], "SetTimer 1 3000");
    EXPECT_EQ(system.log[system.log.size() - 3], "Show");  // the verse is out before the timers start
    EXPECT_EQ(std::filesystem::path(wnd->GetView().systemDir), std::filesystem::path(SystemDir()));  // either separator
    EXPECT_NE(wnd->GetView().verseRect, RECT{});
    EXPECT_EQ(system.timers, (std::map<UINT, UINT>{{1, 3000}, {2, 7000}}));

    // Later paints draw nothing.
    const RECT box = wnd->GetView().verseRect;
    system.log.clear();
    Paint();
    EXPECT_EQ(Without(system.log, "Show"), std::vector<std::string>{});
    EXPECT_EQ(wnd->GetView().verseRect, box);
}

TEST_F(SaverTest, TimerPeriodsAreClampedAsTheSystemClampsThem) {
    WriteLines("one\n", "two\n");
    settings.Delay = 0;      // the shortest period the system has
    settings.GIFDelay = -1;  // wraps to a huge period: the longest
    StartSaver();
    Paint();
    EXPECT_EQ(system.timers.at(1), 10u);
    EXPECT_EQ(system.timers.at(2), 0x7FFFFFFFu);
}

TEST_F(SaverTest, OnlyAMoveAwayFromTheFirstPositionEndsTheSaver) {
    WriteLines("one\n", "two\n");
    StartSaver();
    Paint();
    system.Send(WM_MOUSEMOVE, 0, MAKELPARAM(500, 300));
    EXPECT_FALSE(Closes(system));
    system.Send(WM_MOUSEMOVE, 0, MAKELPARAM(500, 300));
    EXPECT_FALSE(Closes(system));
    system.Send(WM_MOUSEMOVE, 0, MAKELPARAM(500, 301));
    EXPECT_TRUE(Closes(system));
}

TEST_F(SaverTest, KeysButtonsAndLostActivationEndTheSaver) {
    WriteLines("one\n", "two\n");
    const std::pair<UINT, WPARAM> enders[] = {
        {WM_KEYDOWN, 'A'},       {WM_SYSKEYDOWN, 0x12},       {WM_LBUTTONDOWN, 0},   {WM_MBUTTONDOWN, 0},
        {WM_RBUTTONDOWN, 0},     {WM_ACTIVATE, WA_INACTIVE},  {WM_ACTIVATEAPP, FALSE},
    };
    for (auto [message, wParam] : enders) {
        StartSaver();
        Paint();
        system.Send(message, wParam, 0);
        EXPECT_TRUE(Closes(system)) << std::hex << message;
        system.DeliverPosted();
        EXPECT_EQ(system.window, nullptr);
    }
}

TEST_F(SaverTest, ReleasesTheWheelAndSystemCommandsDoNotEndTheSaver) {
    WriteLines("one\n", "two\n");
    StartSaver();
    Paint();
    system.Send(WM_KEYUP, 'A');
    system.Send(WM_LBUTTONUP);
    system.Send(WM_MOUSEWHEEL, 120u << 16);
    system.Send(WM_ACTIVATE, WA_ACTIVE);
    system.Send(WM_ACTIVATEAPP, TRUE);
    system.Send(WM_TIMER, 3);
    system.Send(WM_SYSCOMMAND, SC_CLOSE);
    system.Send(WM_SYSCOMMAND, SC_SCREENSAVE);
    EXPECT_EQ(system.Send(WM_NCACTIVATE, FALSE), FALSE);  // deactivation refused
    EXPECT_EQ(system.Send(WM_SETCURSOR), TRUE);
    EXPECT_FALSE(Closes(system));
    system.DeliverPosted();
    EXPECT_NE(system.window, nullptr);
}

TEST_F(SaverTest, ClosingStopsTheTimersQuitsAndIgnoresLaterCloses) {
    WriteLines("one\n", "two\n");
    StartSaver();
    Paint();
    system.log.clear();
    system.Send(WM_KEYDOWN, 'A');
    system.Send(WM_LBUTTONDOWN);
    system.Send(WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    system.Send(WM_MOUSEMOVE, 0, MAKELPARAM(2, 1));
    EXPECT_EQ(system.posted.size(), 3u);
    EXPECT_TRUE(system.log.empty());  // nothing happens until the loop delivers them
    system.DeliverPosted();
    EXPECT_EQ(system.log,
              (std::vector<std::string>{"KillTimer 1", "KillTimer 2", "Quit 0", "Destroy", "Quit 0"}));
    EXPECT_EQ(system.quitCode, 0);
    EXPECT_EQ(system.window, nullptr);
}

TEST_F(SaverTest, InputBeforeTheFirstPaintEndsTheSaverWithoutStartingIt) {
    WriteLines("one\n", "two\n");
    StartSaver();
    system.Send(WM_KEYDOWN, 'A');
    system.DeliverPosted();
    EXPECT_EQ(system.log, (std::vector<std::string>{"Quit 0", "Destroy", "Quit 0"}));
    EXPECT_EQ(system.window, nullptr);
}

TEST_F(SaverTest, ATimerThatCannotStartIsNotStoppedAtTheEnd) {
    WriteLines("one\n", "two\n");
    system.refuseTimers = true;
    StartSaver();
    Paint();
    EXPECT_TRUE(system.timers.empty());
    system.log.clear();
    system.Send(WM_KEYDOWN, 'A');
    system.DeliverPosted();
    EXPECT_EQ(std::count(system.log.begin(), system.log.end(), "KillTimer 1"), 0);
}
