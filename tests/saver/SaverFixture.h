#pragma once
// A saver window on the in-memory window system, with its own data folder
// and settings store.
#include "GifTestFiles.h"
#include "TempDir.h"
#include "config/GifListFile.h"
#include "config/SaverSettings.h"
#include "platform/Profile.h"
#include "platform/window/MemoryWindowSystem.h"
#include "saver/FullScreenWnd.h"

#include <gtest/gtest.h>

namespace saver_test {

using testing_support::TempDir;
using testing_support::WriteFile;

// Opens the window's protected operations to the tests.
class TestFullScreenWnd : public CFullScreenWnd {
public:
    using CSaverWnd::DrawVerse;
    using CSaverWnd::PaintBackground;
    using CSaverWnd::ShadeRect;
    using CSaverWnd::m_font;
};

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kRed = 0xFF0000;    // as a framebuffer pixel
constexpr COLORREF kRedColor = 0x0000FF;    // the same as a COLORREF
constexpr COLORREF kGreenColor = 0x00FF00;  // green either way
constexpr std::uint32_t kGreen = 0x00FF00;

class SaverTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetRegistryKey("Zovex Screen Savers");
        SetProfileAppName("quorl");
        settings.FillColor = kRedColor;
    }
    void TearDown() override {
        // A window the test left open closes the way input closes it.
        if (system.window) {
            system.window->PostMessage(WM_CLOSE);
            system.DeliverPosted();
        }
    }

    std::string SystemDir() const { return windows / "system"; }

    // Lines the verse book will offer; every line the same length so the
    // layout is known.
    void WriteLines(const std::string& fives, const std::string& sevens) {
        WriteFile(SystemDir() + "/fives.txt", fives);
        WriteFile(SystemDir() + "/sevens.txt", sevens);
    }

    // A one-colour GIF in the system folder; returns its path.
    std::string WritePicture(const std::string& name, int width, int height, testing_support::Rgb rgb) {
        testing_support::Palette palette{rgb, {0, 0, 0}};
        std::string path = SystemDir() + "/" + name;
        WriteFile(path, testing_support::SimpleGif(width, height,
                                                   testing_support::Indices(std::size_t(width) * height, 0),
                                                   palette));
        return path;
    }

    TestFullScreenWnd* StartSaver(int width = 1024, int height = 768) {
        SaveSettings(settings);
        system.screenWidth = width;
        system.screenHeight = height;
        auto* wnd = new TestFullScreenWnd;
        wnd->CreateFullScreen();
        SetMainWindow(wnd);
        return wnd;
    }

    // The first paint, or a picture step, and the picture it asked for.
    void Paint() {
        system.Send(WM_PAINT);
        Settle();
    }
    void PictureStep() {
        system.Send(WM_TIMER, CFullScreenWnd::kPictureTimer);
        Settle();
    }
    // Lets the picture worker finish and hands its pictures to the window.
    void Settle() {
        PictureWorker::Get().WaitIdle();
        system.RunTasks();
    }

    std::uint32_t Pixel(int x, int y) { return system.Pixels()->Pixel(x, y); }

    TempDir windows;
    TempDir config;
    testing_support::ScopedEnv configHome{"XDG_CONFIG_HOME", config.path()};
    testing_support::ScopedEnv env{"QUORL_WINDOWS_DIR", windows.path()};
    testing_support::ScopedCwd cwd;
    MemoryWindowSystem system;
    SaverSettings settings;
};

}  // namespace saver_test
