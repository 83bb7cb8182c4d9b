#pragma once
// Decoding test files through the real file path, from a fresh decoder state
// (as in a new process) at the start of every test.
#include "gif/GifDecoder.h"
#include "gif/GifDecoderState.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace testing_support {

struct Decoded {
    std::unique_ptr<BYTE[]> picture;
    int width = -1;
    int height = -1;
    std::string error;

    std::vector<BYTE> Pixels() const {
        if (!picture)
            return {};
        return std::vector<BYTE>(picture.get(), picture.get() + std::size_t(width) * height * 3);
    }
};

class GifDecodeTest : public ::testing::Test {
protected:
    void SetUp() override { std::memset(&gifDecoderState, 0, sizeof gifDecoderState); }

    std::string PathFor(const std::string& name) const { return dir_ / name; }

    // Writes `bytes` to a file and decodes it; `error` is the text the error
    // string holds before the call.
    Decoded Decode(const std::string& bytes, const std::string& error = "") {
        const std::string path = PathFor("picture.gif");
        WriteFile(path, bytes);
        Decoded result;
        result.error = error;
        result.picture = GIFRead(path, result.width, result.height, result.error);
        return result;
    }

    TempDir dir_;
};

}  // namespace testing_support
