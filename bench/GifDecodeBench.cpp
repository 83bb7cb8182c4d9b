// GIF decoding speed: Quorl's decoder, giflib and stb_image side by side on
// the same files, in megabytes of decoded pixels (3 bytes each) per second.
// giflib's result is turned into the same blue-green-red rows as ours, as a
// program using it would have to; stb_image gives red-green-blue rows.
#include "gif/GifDecoder.h"

#include <benchmark/benchmark.h>
#include <gif_lib.h>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_GIF
#include <stb/stb_image.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

const char* const kPictures[] = {
    "photo-1920x1080.gif",
    "photo-3840x2160.gif",
    "photo-1920x1080-interlaced.gif",
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

}  // namespace

int main(int argc, char** argv) {
    for (const char* name : kPictures) {
        const std::string path = std::string(QUORL_BENCH_GIF_DIR) + "/" + name;
        benchmark::RegisterBenchmark((std::string("quorl/") + name).c_str(), Quorl, path)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("giflib/") + name).c_str(), Giflib, path)->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark((std::string("stb_image/") + name).c_str(), Stb, path)->Unit(benchmark::kMillisecond);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
