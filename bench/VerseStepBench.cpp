// One verse step of the saver (background with a full-screen picture, the
// shaded box, three lines of text) drawn into the framebuffer, against one
// plain fill of the same framebuffer with memset.
#include "config/GifListFile.h"
#include "config/SaverSettings.h"
#include "platform/Profile.h"
#include "platform/window/MemoryWindowSystem.h"
#include "saver/FullScreenWnd.h"

#include <QSettings>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>

namespace {

struct Saver {
    Saver(int width, int height) {
        dir = std::filesystem::temp_directory_path() / ("quorl-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir / "system");
        std::ofstream(dir / "system/fives.txt") << "an old silent pond\nrain on the tin roof\nfrost on the window\n"
                                                   "a kettle murmurs\n";
        std::ofstream(dir / "system/sevens.txt") << "the house listens to the rain\nfrost draws ferns across "
                                                    "the glass\n";
        ::setenv("QUORL_WINDOWS_DIR", dir.c_str(), 1);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString::fromStdString(dir.string()));
        SetRegistryKey("Zovex Screen Savers");
        SetProfileAppName("quorl-bench");
        system.screenWidth = width;
        system.screenHeight = height;
        wnd = new CFullScreenWnd;
        wnd->CreateFullScreen();
        system.Send(WM_PAINT);

        // A full-screen picture of noise, in the bitmap row form the window keeps.
        const std::size_t stride = (std::size_t(width) * 3 + 3) / 4 * 4;
        auto bits = std::make_unique<BYTE[]>(stride * std::size_t(height));
        std::mt19937 random(7);
        for (std::size_t i = 0; i < stride * std::size_t(height); ++i)
            bits[i] = BYTE(random());
        wnd->m_pPictureBits = std::move(bits);
        wnd->m_nPictureWidth = width;
        wnd->m_nPictureHeight = height;
    }
    ~Saver() {
        wnd->PostMessage(WM_CLOSE);
        system.DeliverPosted();
        std::filesystem::remove_all(dir);
    }
    std::filesystem::path dir;
    MemoryWindowSystem system;
    CFullScreenWnd* wnd;
};

void BM_VerseStep(benchmark::State& state) {
    Saver saver(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        saver.system.Send(WM_TIMER, CFullScreenWnd::kVerseTimer);
        benchmark::DoNotOptimize(saver.system.Pixels()->Pixels());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0) * state.range(1) * 4);
}

void BM_FullFrameMemset(benchmark::State& state) {
    Framebuffer frame(int(state.range(0)), int(state.range(1)));
    int value = 0;
    for (auto _ : state) {
        std::memset(frame.Pixels(), ++value & 0xFF, std::size_t(frame.Width()) * frame.Height() * 4);
        benchmark::DoNotOptimize(frame.Pixels());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0) * state.range(1) * 4);
}

}  // namespace

BENCHMARK(BM_FullFrameMemset)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VerseStep)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
