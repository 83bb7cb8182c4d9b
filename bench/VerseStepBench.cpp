// One verse step of the saver (the background with a full-screen or a
// 640 x 480 picture, the shaded box, three lines of text) drawn into the
// framebuffer, against one plain fill of the same framebuffer with memset:
// the first step after a new picture, which paints the whole frame, and a
// later step on the same picture, which writes only the pixels that change.
// The picture step itself (decoding and bitmap rows) is measured too, and
// the later step with verses in Japanese and in Arabic, whose lines are
// shaped and drawn from fallback faces.
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

enum Script { kLatin, kJapanese, kArabic };

// Line files of a hundred different lines each, more than the font keeps
// shaped, so every verse shapes its lines as it would with a user's files.
void WriteLines(const std::filesystem::path& path, const char* line, int count) {
    std::ofstream file(path);
    for (int i = 0; i < count; ++i)
        file << line << ' ' << i << '\n';
}

struct Saver {
    // A picture of width x height unless another size is given.
    Saver(int width, int height, int pictureWidth = 0, int pictureHeight = 0, Script script = kLatin) {
        pictureWidth = pictureWidth ? pictureWidth : width;
        pictureHeight = pictureHeight ? pictureHeight : height;
        dir = std::filesystem::temp_directory_path() / ("quorl-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir / "system");
        const char* lines[][2] = {
            {"an old silent pond", "the house listens to the rain"},
            {"\u53E4\u6C60\u3084\u86D9\u98DB\u3073\u8FBC\u3080", "\u6C34\u306E\u97F3\u3000\u96E8\u306E\u591C\u306B\u805E\u304F"},
            {"\u0633\u0646\u0629 \u0641\u064A \u0627\u0644\u0628\u064A\u062A",
             "\u0627\u0644\u0645\u0637\u0631 \u0639\u0644\u0649 \u0633\u0642\u0641 \u0627\u0644\u0628\u064A\u062A"}};
        WriteLines(dir / "system/fives.txt", lines[script][0], 100);
        WriteLines(dir / "system/sevens.txt", lines[script][1], 100);
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
    Saver saver(int(state.range(0)), int(state.range(1)), int(state.range(2)), int(state.range(3)),
                state.range(4) == 1 ? kJapanese : state.range(4) == 2 ? kArabic : kLatin);
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
// The same, then the script of the lines: 0 Latin, 1 Japanese, 2 Arabic.
BENCHMARK(BM_VerseStep)->Args({1920, 1080, 0, 0, 0})->Args({3840, 2160, 0, 0, 0})->Args({1920, 1080, 640, 480, 0})
    ->Args({3840, 2160, 640, 480, 0})->Args({1920, 1080, 640, 480, 1})->Args({1920, 1080, 640, 480, 2})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PictureStep)->Args({1920, 1080})->Args({3840, 2160})->Iterations(20)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
