#pragma once
// Which decoder a picture goes to, told by its first bytes: a name says
// nothing about what a file holds (photos renamed .gif, GIFs renamed .jpg).
#include "platform/WinTypes.h"

#include <cstddef>

enum class PictureFormat { Unknown, Gif, Jpeg, Png, WebP, Bmp, Heif };

// The first bytes a decision needs; fewer are enough for a short file.
constexpr std::size_t kPictureSignatureBytes = 32;

PictureFormat DetectPictureFormat(const BYTE* bytes, std::size_t size);
