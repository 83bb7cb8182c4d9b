// libFuzzer target for GIFRead: any bytes as a file, decoded twice in a row
// (the second time over the state the first one left: the global colour
// table, the bit buffer's leftovers) and checked against the plain reference
// decoder, so that a wrong pixel or error text is a finding like a crash.
#include "ReferenceGifDecoder.h"
#include "gif/GifDecoder.h"
#include "gif/GifDecoderState.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

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

// The pixel count of the file's first image, found the way the decoder finds
// it, or 0 when it has none. Big pictures cost time and nothing else: their
// code paths are those of small ones.
std::size_t FirstImagePixels(const std::uint8_t* data, std::size_t size) {
    std::size_t at = 13;
    if (size < at)
        return 0;
    if (data[10] & 0x80)
        at += std::size_t(3) << ((data[10] & 7) + 1);
    while (at < size) {
        const std::uint8_t block = data[at++];
        if (block == ',') {
            if (size - at < 9)
                return 0;
            return std::size_t(data[at + 4] | data[at + 5] << 8) * std::size_t(data[at + 6] | data[at + 7] << 8);
        }
        if (block == '!') {
            ++at;
            while (at < size && data[at] != 0)
                at += data[at] + 1;
            ++at;
        }
    }
    return 0;
}

void DecodeBoth(const std::string& path, const std::string& bytes, testing_support::ReferenceGifDecoder& reference) {
    int width = -1, height = -1;
    std::string error = "before";
    const std::unique_ptr<BYTE[]> picture = GIFRead(path, width, height, error);
    int expectedWidth = -1, expectedHeight = -1;
    std::string expectedError = "before";
    const std::unique_ptr<BYTE[]> expected = reference.Decode(path, bytes, expectedWidth, expectedHeight, expectedError);
    const bool same = bool(picture) == bool(expected) && error == expectedError && width == expectedWidth &&
                      height == expectedHeight &&
                      (!picture || std::memcmp(picture.get(), expected.get(), std::size_t(width) * height * 3) == 0);
    if (!same) {
        std::fprintf(stderr, "decoder and reference differ: \"%s\" %dx%d against \"%s\" %dx%d\n", error.c_str(),
                     width, height, expectedError.c_str(), expectedWidth, expectedHeight);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (FirstImagePixels(data, size) > (std::size_t(1) << 14))
        return -1;
    const std::string path = WriteInput(data, size);
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // Every input starts from a fresh process's state, so that a finding can
    // be reproduced from its input alone.
    std::memset(&gifDecoderState, 0, sizeof gifDecoderState);
    testing_support::ReferenceGifDecoder reference;
    DecodeBoth(path, bytes, reference);
    DecodeBoth(path, bytes, reference);
    return 0;
}
