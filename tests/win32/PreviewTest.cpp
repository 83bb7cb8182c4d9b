// The preview in-process (Wine shows a child window of another process but
// not what it draws): "/p HWND" makes a child of that window, filling it,
// which the real message loop paints with the back colour and which ends
// with its parent.
#include "app/SaverApp.h"
#include "platform/Profile.h"
#include "platform/win32/Win32WindowSystem.h"
#include "platform/window/Wnd.h"
#include "saver/PictureWorker.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Dispatches messages until `done` or two seconds have passed; true if done.
template <class Done>
bool PumpUntil(Done done) {
    for (int i = 0; i < 200 && !done(); ++i) {
        MSG message;
        while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                return done();
            ::TranslateMessage(&message);
            ::DispatchMessageA(&message);
        }
        ::Sleep(10);
    }
    return done();
}

}  // namespace

TEST(Win32Preview, AChildOfTheGivenWindowPaintsTheBackColourAndEndsWithIt) {
    Win32WindowSystem windows;
    SetWindowSystem(&windows);
    SetRegistryKey("Zovex Screen Savers");
    SetProfileAppName("C:\\test\\preview.scr");
    const char kKey[] = "Software\\Zovex Screen Savers\\preview";
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
    ASSERT_TRUE(WriteProfileString("preview", "BackColor", "255"));  // red

    HWND parent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 10, 10, 300, 200, nullptr, nullptr,
                                    ::GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(parent);
    std::string handle = std::to_string(reinterpret_cast<std::uintptr_t>(parent));
    char* argv[] = {const_cast<char*>("preview.scr"), const_cast<char*>("/p"), handle.data()};
    CSaverApp app;
    ASSERT_TRUE(app.InitInstance(3, argv));
    CWnd* preview = app.m_pMainWnd;
    EXPECT_EQ(::GetParent(preview->GetSafeHwnd()), parent);
    EXPECT_TRUE(::GetWindowLongA(preview->GetSafeHwnd(), GWL_STYLE) & WS_CHILD);

    ASSERT_TRUE(PumpUntil([&] { return preview->Host()->Pixels().Pixel(150, 100) == 0xFF0000u; }));
    RECT client{};
    preview->GetClientRect(&client);
    EXPECT_EQ(client, (RECT{0, 0, 300, 200}));

    bool quit = false;
    ::DestroyWindow(parent);
    PumpUntil([&] {
        MSG message;
        quit = quit || ::PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        return quit;
    });
    EXPECT_TRUE(quit) << "the preview outlived its parent";
    PictureWorker::Get().Stop();
    SetWindowSystem(nullptr);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
}
