// GIF decoding speed: Quorl's decoder, giflib and (when built with a Wuffs
// release file) Wuffs side by side on the same files, in megabytes of decoded
// pixels (3 bytes each) per second. giflib's result is turned into the same
// blue-green-red rows as ours, as a program using it would have to; Wuffs
// decodes to blue-green-red. The pictures are the grid that
// scripts/make-bench-gifs.sh makes; bench/gif-grid.py runs this program and
// turns its figures into each library's time divided by ours.
#include "gif/GifDecoder.h"

#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <sys/stat.h>

#ifdef QUORL_BENCH_WUFFS
#include "WuffsGif.h"
#endif

namespace {

// KIND-COLOURSc-WIDTHxHEIGHT.gif, as scripts/make-bench-gifs.sh names them.
std::vector<std::string> Pictures() {
    std::vector<std::string> names;
    for (const char* size : {"1920x1080", "3840x2160"})
        for (const char* colours : {"4", "16", "32", "256"})
            for (const char* kind : {"flat", "gradient", "photo", "noise"})
                names.push_back(std::string(kind) + "-" + colours + "c-" + size + ".gif");
    names.push_back("photo-256c-1920x1080-interlaced.gif");
    return names;
}

void CountBytes(benchmark::State& state, int width, int height) {
    state.counters["MB/s"] =
        benchmark::Counter(double(width) * height * 3 / 1e6, benchmark::Counter::kIsIterationInvariantRate);
}

void Quorl(benchmark::State& state, const std::string& path) {
    int width = 0;
    int height = 0;
    std::string error;
    for (auto _ : state) {
        std::unique_ptr<BYTE[]> picture = GIFRead(path, width, height, error);
        if (!picture) {
            state.SkipWithError(error.c_str());
            return;
        }
        benchmark::DoNotOptimize(picture.get());
    }
    CountBytes(state, width, height);
}

void Giflib(benchmark::State& state, const std::string& path) {
    int width = 0;
    int height = 0;
    for (auto _ : state) {
        int error = 0;
        GifFileType* gif = DGifOpenFileName(path.c_str(), &error);
        if (!gif || DGifSlurp(gif) != GIF_OK || gif->ImageCount < 1) {
            state.SkipWithError("giflib failed");
            return;
        }
        const SavedImage& image = gif->SavedImages[0];
        const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
        BYTE bgr[256][3] = {};
        for (int i = 0; map && i < map->ColorCount; ++i) {
            bgr[i][0] = map->Colors[i].Blue;
            bgr[i][1] = map->Colors[i].Green;
            bgr[i][2] = map->Colors[i].Red;
        }
        width = image.ImageDesc.Width;
        height = image.ImageDesc.Height;
        const std::size_t pixels = std::size_t(width) * height;
        std::unique_ptr<BYTE[]> picture(new BYTE[pixels * 3]);
        for (std::size_t i = 0; i < pixels; ++i)
            std::memcpy(&picture[i * 3], bgr[image.RasterBits[i]], 3);
        DGifCloseFile(gif, &error);
        benchmark::DoNotOptimize(picture.get());
    }
    CountBytes(state, width, height);
}

#ifdef QUORL_BENCH_WUFFS
// Wuffs decodes from memory: the file is read whole first, within the timing.
void Wuffs(benchmark::State& state, const std::string& path) {
    int width = 0;
    int height = 0;
    for (auto _ : state) {
        std::vector<unsigned char> bytes;
        if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
            struct stat info {};
            if (::fstat(fileno(file), &info) == 0)
                bytes.resize(std::size_t(info.st_size));
            bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
            std::fclose(file);
        }
        unsigned char* picture = WuffsDecodeGif(bytes.data(), bytes.size(), &width, &height);
        if (!picture) {
            state.SkipWithError("Wuffs failed");
            return;
        }
        benchmark::DoNotOptimize(picture);
        std::free(picture);
    }
    CountBytes(state, width, height);
}
#endif

}  // namespace

int main(int argc, char** argv) {
    for (const std::string& name : Pictures()) {
        const std::string path = std::string(QUORL_BENCH_GIF_DIR) + "/" + name;
        benchmark::RegisterBenchmark(("quorl/" + name).c_str(), Quorl, path)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("giflib/" + name).c_str(), Giflib, path)->Unit(benchmark::kMillisecond);
#ifdef QUORL_BENCH_WUFFS
        benchmark::RegisterBenchmark(("wuffs/" + name).c_str(), Wuffs, path)->Unit(benchmark::kMillisecond);
#endif
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
