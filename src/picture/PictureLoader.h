#pragma once
// The picture step for every format but GIF: the bytes, the format by its
// first bytes, the decoder, the fit and the orientation, then the bitmap.
#include "picture/PictureFormat.h"
#include "picture/PictureSink.h"

#include <string>

// A file larger than this is not a picture anyone shows on a screen (a
// 50-megapixel photo is some 25 MiB); it is refused before it is read.
constexpr std::size_t kMaxPictureFileBytes = std::size_t(256) << 20;

// The format of the file at `path` by its first bytes; Unknown when it is not
// a regular file that opens.
PictureFormat PeekPictureFormat(const std::string& path);

// True when this build draws `format` (GIF included).
bool IsShownFormat(PictureFormat format);

// Decodes `data` for `area`; on failure the bitmap is null and `reason` says why.
PictureBitmap DecodePicture(const BYTE* data, std::size_t size, const PictureArea& area, std::string& reason);

// Reads the file at `path` within the bound above and decodes it.
PictureBitmap LoadPictureFile(const std::string& path, const PictureArea& area, std::string& reason);
