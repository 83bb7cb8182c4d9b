// One verse step of the saver (the background with a full-screen or a
// 640 x 480 picture, the shaded box, three lines of text) drawn into the
// framebuffer, against one plain fill of the same framebuffer with memset:
// the first step after a new picture, which paints the whole frame, and a
// later step on the same picture, which writes only the pixels that change.
// The picture step itself (decoding and bitmap rows) is measured too.
#include "GifTestFiles.h"
#include "config/GifListFile.h"
#include "config/SaverSettings.h"
#include "platform/Profile.h"
#include "platform/window/MemoryWindowSystem.h"
#include "saver/FullScreenWnd.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

struct Saver {
    // A picture of width x height unless another size is given.
    Saver(int width, int height, int pictureWidth = 0, int pictureHeight = 0) {
        pictureWidth = pictureWidth ? pictureWidth : width;
        pictureHeight = pictureHeight ? pictureHeight : height;
        dir = std::filesystem::temp_directory_path() / ("quorl-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir / "system");
        std::ofstream(dir / "system/fives.txt") << "an old silent pond\nrain on the tin roof\nfrost on the window\n"
                                                   "a kettle murmurs\n";
        std::ofstream(dir / "system/sevens.txt") << "the house listens to the rain\nfrost draws ferns across "
                                                    "the glass\n";
        ::setenv("QUORL_WINDOWS_DIR", dir.c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
        SetRegistryKey("Zovex Screen Savers");
        SetProfileAppName("quorl-bench");
        // A picture of 256-colour noise.
        std::ofstream(dir / "system/noise.gif", std::ios::binary) << testing_support::SimpleGif(
            pictureWidth, pictureHeight,
            testing_support::RandomIndices(std::size_t(pictureWidth) * pictureHeight, 256, 7),
            testing_support::TestPalette(256));
        WriteGifList({(dir / "system/noise.gif").string()});
        system.screenWidth = width;
        system.screenHeight = height;
        wnd = new CFullScreenWnd;
        wnd->CreateFullScreen();
        system.Send(WM_PAINT);
        FinishPictureStep();
    }
    // The picture worker's part of a picture step, and the hand-over.
    void FinishPictureStep() {
        PictureWorker::Get().WaitIdle();
        system.RunTasks();
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
    Saver saver(int(state.range(0)), int(state.range(1)), int(state.range(2)), int(state.range(3)));
    for (auto _ : state) {
        saver.system.Send(WM_TIMER, CFullScreenWnd::kVerseTimer);
        benchmark::DoNotOptimize(saver.system.Pixels()->Pixels());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0) * state.range(1) * 4);
}

void BM_VerseStepAfterNewPicture(benchmark::State& state) {
    Saver saver(int(state.range(0)), int(state.range(1)), int(state.range(2)), int(state.range(3)));
    for (auto _ : state) {
        state.PauseTiming();
        saver.system.Send(WM_TIMER, CFullScreenWnd::kPictureTimer);  // decoding is not part of the step
        saver.FinishPictureStep();
        state.ResumeTiming();
        saver.system.Send(WM_TIMER, CFullScreenWnd::kVerseTimer);
        benchmark::DoNotOptimize(saver.system.Pixels()->Pixels());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * state.range(0) * state.range(1) * 4);
}

// The picture step that precedes it, for where the work went: decoding the
// file and turning it into bitmap rows.
void BM_PictureStep(benchmark::State& state) {
    Saver saver(int(state.range(0)), int(state.range(1)));
    for (auto _ : state) {
        saver.system.Send(WM_TIMER, CFullScreenWnd::kPictureTimer);
        saver.FinishPictureStep();
        benchmark::ClobberMemory();
    }
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
// Screen width and height, then picture width and height (0: the screen's).
BENCHMARK(BM_VerseStepAfterNewPicture)->Args({1920, 1080, 0, 0})->Args({3840, 2160, 0, 0})
    ->Args({3840, 2160, 640, 480})->Iterations(60)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VerseStep)->Args({1920, 1080, 0, 0})->Args({3840, 2160, 0, 0})->Args({1920, 1080, 640, 480})
    ->Args({3840, 2160, 640, 480})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PictureStep)->Args({1920, 1080})->Args({3840, 2160})->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
