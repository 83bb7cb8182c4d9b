// The picture step for a photo: the file read, decoded, fitted and turned
// into the bitmap the saver paints, against libjpeg-turbo's own scaled
// decode of the same file (what `djpeg -scale M/8` does, at the smallest M
// whose size still covers the fitted size, into packed RGB rows).
// And the scan of a folder of 100000 files.
#include "config/PictureFolders.h"
#include "picture/PictureLoader.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include <jpeglib.h>

namespace {

const std::string kPhoto = QUORL_BENCH_PICTURE_DIR "/photo-4000x3000.jpg";

std::vector<unsigned char> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void PictureStep(benchmark::State& state) {
    PictureArea area;
    area.width = int(state.range(0));
    area.height = int(state.range(1));
    for (auto _ : state) {
        std::string reason;
        PictureBitmap bitmap = LoadPictureFile(kPhoto, area, reason);
        if (!bitmap.bits)
            state.SkipWithError(reason.c_str());
        benchmark::DoNotOptimize(bitmap.bits.get());
    }
}

// libjpeg-turbo alone: the file read, decoded at the same reduction, into
// one buffer.
void LibjpegScaled(benchmark::State& state) {
    const int width = int(state.range(0)), height = int(state.range(1));
    for (auto _ : state) {
        const std::vector<unsigned char> bytes = ReadAll(kPhoto);
        jpeg_decompress_struct info;
        jpeg_error_mgr errors;
        info.err = jpeg_std_error(&errors);
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, bytes.data(), bytes.size());
        jpeg_read_header(&info, TRUE);
        // The smallest M/8 whose size still covers the fitted size.
        const double fit = std::min(double(width) / info.image_width, double(height) / info.image_height);
        info.scale_num = 8;
        info.scale_denom = 8;
        for (unsigned num = 1; num < 8; ++num)
            if (num / 8.0 >= fit) {
                info.scale_num = num;
                break;
            }
        jpeg_start_decompress(&info);
        const std::size_t stride = std::size_t(info.output_width) * info.output_components;
        std::vector<unsigned char> pixels(stride * info.output_height);
        while (info.output_scanline < info.output_height) {
            JSAMPROW row = pixels.data() + stride * info.output_scanline;
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        benchmark::DoNotOptimize(pixels.data());
    }
}

// 100000 small files in one folder, named as photos are, made once in the
// temporary folder.
std::string ManyFiles() {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "quorl-bench-100000";
    if (!std::filesystem::exists(folder / "IMG_99999.jpg")) {
        std::filesystem::create_directories(folder);
        for (int i = 0; i < 100000; ++i)
            std::ofstream(folder / ("IMG_" + std::to_string(i) + ".jpg"), std::ios::binary) << "\xFF\xD8\xFF";
    }
    return folder.string();
}

void FolderScan(benchmark::State& state) {
    const std::string folder = ManyFiles();
    for (auto _ : state) {
        const ExpandedPictureList list = ExpandPictureList({folder});
        if (list.files.size() != 100000)
            state.SkipWithError("wrong count");
        benchmark::DoNotOptimize(list.files.data());
    }
}

}  // namespace

// Interleaved: ours and the library's for each target size in turn.
BENCHMARK(PictureStep)->Args({1920, 1080})->Unit(benchmark::kMillisecond);
BENCHMARK(LibjpegScaled)->Args({1920, 1080})->Unit(benchmark::kMillisecond);
BENCHMARK(PictureStep)->Args({3840, 2160})->Unit(benchmark::kMillisecond);
BENCHMARK(LibjpegScaled)->Args({3840, 2160})->Unit(benchmark::kMillisecond);
BENCHMARK(FolderScan)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
