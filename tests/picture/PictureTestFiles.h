#pragma once
// Pictures for the decoder tests, made by ImageMagick's convert from a small
// synthetic picture, and convert's own reading of them as the reference.
#include "picture/PictureSink.h"

#include <string>
#include <vector>

namespace picture_test {

// Runs `command` through the shell and returns what it wrote; empty on failure.
std::string Shell(const std::string& command);

// A 61 x 37 picture with no symmetry, as raw RGBA (alpha falling left to
// right when `alpha`), written to `path`; its convert name is "rgba:PATH"
// with "-size 61x37 -depth 8".
void WriteSource(const std::string& path, bool alpha);

// The shown picture as top-down RGB bytes.
std::string TopDownRgb(const PictureBitmap& bitmap);

// The largest difference of any byte; -1 when the sizes differ.
int MaxDifference(const std::string& a, const std::string& b);

// `jpeg` (or `png`) with an EXIF orientation tag `orientation` added.
std::string WithOrientation(const std::string& bytes, int orientation);

}  // namespace picture_test
