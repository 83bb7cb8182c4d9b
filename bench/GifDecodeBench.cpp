// GIF decoding speed: Quorl's decoder, giflib, stb_image and (when built with
// a Wuffs release file) Wuffs side by side on the same files, in megabytes of
// decoded pixels (3 bytes each) per second. giflib's result is turned into the
// same blue-green-red rows as ours, as a program using it would have to;
// stb_image gives red-green-blue rows; Wuffs decodes to blue-green-red.
#include "gif/GifDecoder.h"

#include <benchmark/benchmark.h>
#include <gif_lib.h>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_GIF
#include <stb/stb_image.h>

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

const char* const kPictures[] = {
    "photo-1920x1080.gif",
    "photo-3840x2160.gif",
    "photo-1920x1080-interlaced.gif",
    "flat-3840x2160.gif",
};

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

void Stb(benchmark::State& state, const std::string& path) {
    int width = 0;
    int height = 0;
    for (auto _ : state) {
        int channels = 0;
        stbi_uc* picture = stbi_load(path.c_str(), &width, &height, &channels, 3);
        if (!picture) {
            state.SkipWithError(stbi_failure_reason());
            return;
        }
        benchmark::DoNotOptimize(picture);
        stbi_image_free(picture);
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
    for (const char* name : kPictures) {
        const std::string path = std::string(QUORL_BENCH_GIF_DIR) + "/" + name;
        benchmark::RegisterBenchmark((std::string("quorl/") + name).c_str(), Quorl, path)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("giflib/") + name).c_str(), Giflib, path)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("stb_image/") + name).c_str(), Stb, path)->Unit(benchmark::kMillisecond);
#ifdef QUORL_BENCH_WUFFS
        benchmark::RegisterBenchmark((std::string("wuffs/") + name).c_str(), Wuffs, path)->Unit(benchmark::kMillisecond);
#endif
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
