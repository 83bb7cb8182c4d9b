// libFuzzer target for GIFRead: any bytes as a file, decoded twice in a row
// (the second time over the state the first one left: the global colour
// table, the bit buffer's leftovers). Where the file reaches its image data,
// the picture must be what the plain reference reading of that data gives;
// where giflib reads the file too and the format fixes every pixel, it must
// be giflib's picture as well. A wrong pixel is a finding like a crash.
#include "GiflibFirstImage.h"
#include "ReferenceImageData.h"
#include "gif/GifDecoder.h"
#include "gif/GifDecoderState.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

using testing_support::Palette;

// GIFRead takes a path: the input goes to a file in memory, reached through
// /proc, so that no disk is touched.
std::string WriteInput(const std::uint8_t* data, std::size_t size) {
    static const int fd = memfd_create("gif-fuzz-input", 0);
    if (fd < 0 || ftruncate(fd, 0) != 0)
        std::abort();
    for (std::size_t done = 0; done < size;) {
        const ssize_t written = pwrite(fd, data + done, size - done, off_t(done));
        if (written <= 0)
            std::abort();
        done += std::size_t(written);
    }
    return "/proc/self/fd/" + std::to_string(fd);
}

// Where the first image's data starts (its code size byte), found the way
// the decoder finds it, with what the reference needs to read it.
struct ImageData {
    std::size_t at = 0;  // 0: the file has no image data
    int width = 0, height = 0;
    bool interlaced = false;
    Palette colors;
};

Palette ReadTable(const std::string& file, std::size_t& at, int bits) {
    Palette table(std::size_t(2) << bits);
    for (auto& rgb : table) {
        if (file.size() - at < 3)
            return {};
        std::memcpy(rgb.data(), file.data() + at, 3);
        at += 3;
    }
    return table;
}

ImageData FindImageData(const std::string& file) {
    ImageData image;
    std::size_t at = 13;
    if (file.size() < at)
        return image;
    Palette global;
    if (file[10] & 0x80)
        global = ReadTable(file, at, file[10] & 7);
    for (;;) {
        if (at >= file.size())
            return image;
        const char block = file[at++];
        if (block == ',')
            break;
        if (block != '!' || ++at > file.size())  // an extension: its label, then sub-blocks up to an empty one
            continue;
        while (at < file.size()) {
            const std::size_t length = BYTE(file[at++]);
            if (length == 0)
                break;
            // A sub-block the file does not hold uses the file up.
            at += std::min(length, file.size() - at);
        }
    }
    if (file.size() - at < 9)
        return image;
    const BYTE* d = reinterpret_cast<const BYTE*>(file.data()) + at;
    image.width = d[4] | d[5] << 8;
    image.height = d[6] | d[7] << 8;
    image.interlaced = d[8] & 0x40;
    at += 9;
    image.colors = d[8] & 0x80 ? ReadTable(file, at, d[8] & 7) : global;
    image.at = at < file.size() ? at : 0;
    return image;
}

[[noreturn]] void Finding(const char* what, int width, int height) {
    std::fprintf(stderr, "%s (%dx%d)\n", what, width, height);
    std::abort();
}

void DecodeAndCheck(const std::string& path, const std::string& file, const ImageData& image,
                    testing_support::ReferenceBits& bits) {
    int width = -1, height = -1;
    std::string error;
    const std::unique_ptr<BYTE[]> picture = GIFRead(path, width, height, error);
    if (!picture || !image.at)
        return;
    const std::size_t size = std::size_t(width) * height * 3;
    bool clean = false;
    const std::vector<BYTE> expected = testing_support::ReferenceImageData(
        file.substr(image.at), image.width, image.height, image.interlaced, image.colors, bits, clean);
    if (width != image.width || height != image.height || std::memcmp(picture.get(), expected.data(), size) != 0)
        Finding("decoder and reference differ", width, height);
    if (!clean)
        return;
    const auto giflib = testing_support::GiflibFirstImage(file);
    if (giflib && giflib->indicesInTable && std::memcmp(picture.get(), giflib->pixels.data(), size) != 0)
        Finding("decoder and giflib differ", width, height);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file(reinterpret_cast<const char*>(data), size);
    const ImageData image = FindImageData(file);
    // Big pictures cost time and nothing else: their code paths are those of
    // small ones.
    if (std::size_t(image.width) * std::size_t(image.height) > (std::size_t(1) << 14))
        return -1;
    const std::string path = WriteInput(data, size);
    // Every input starts from a fresh process's state, so that a finding can
    // be reproduced from its input alone.
    std::memset(&gifDecoderState, 0, sizeof gifDecoderState);
    testing_support::ReferenceBits bits{};
    DecodeAndCheck(path, file, image, bits);
    DecodeAndCheck(path, file, image, bits);
    return 0;
}
