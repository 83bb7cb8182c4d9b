#pragma once
// Decoding test files through the real file path, from a fresh decoder state
// (as in a new process) at the start of every test.
#include "GifTestFiles.h"
#include "gif/GifDecoder.h"
#include "gif/GifDecoderState.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ostream>

namespace testing_support {

// What the decoder gave: on failure no pixels, and the sizes as they were.
struct Decoded {
    int width = -1;
    int height = -1;
    std::string error;
    std::vector<BYTE> pixels = {};

    bool operator==(const Decoded&) const = default;
    friend void PrintTo(const Decoded& d, std::ostream* out) {
        *out << d.pixels.size() << " bytes, " << d.width << 'x' << d.height << " \"" << d.error << '"';
    }
};

class GifDecodeTest : public ::testing::Test {
protected:
    void SetUp() override { std::memset(&gifDecoderState, 0, sizeof gifDecoderState); }

    std::string PathFor(const std::string& name) const { return dir_ / name; }

    // `error` holds `before` when the decoder is called.
    Decoded DecodePath(const std::string& path, const std::string& before = "") {
        Decoded d{.error = before};
        if (const std::unique_ptr<BYTE[]> picture = GIFRead(path, d.width, d.height, d.error))
            d.pixels.assign(picture.get(), picture.get() + std::size_t(d.width) * d.height * 3);
        return d;
    }
    // Writes `bytes` to picture.gif and decodes it.
    Decoded Decode(const std::string& bytes, const std::string& before = "") {
        WriteFile(PathFor("picture.gif"), bytes);
        return DecodePath(PathFor("picture.gif"), before);
    }

    TempDir dir_;
};

}  // namespace testing_support
