#pragma once
// giflib's reading of a file's first image: the judge of every file that
// follows the format.
#include "platform/WinTypes.h"

#include <optional>
#include <string>
#include <vector>

namespace testing_support {

struct GiflibImage {
    int width = 0, height = 0;
    std::vector<BYTE> pixels;  // blue, green, red, top row first
    bool indicesInTable = true;  // false: some index lies beyond the colour table (then black here)
};

// Empty when giflib reports an error, finds no image or no colour table.
std::optional<GiflibImage> GiflibFirstImage(const std::string& file);

}  // namespace testing_support
