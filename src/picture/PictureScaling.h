#pragma once
// Pictures for a scaled desktop: a picture drawn at s device pixels per layout
// pixel is resampled once, when it is loaded, rather than at every paint.
#include "platform/WinTypes.h"

#include <memory>

// `pixels` (width * height three-byte pixels, rows packed) resampled by
// `scale` with a bilinear filter; the new size (at least 1 x 1) goes to width
// and height. Null for a scale that is not positive, a result larger than a
// framebuffer may be, or when memory runs out.
std::unique_ptr<BYTE[]> ScalePictureSmooth(const BYTE* pixels, int& width, int& height, double scale);

// The same filter to an exact `outWidth` x `outHeight` (both at least 1).
std::unique_ptr<BYTE[]> ResamplePicture(const BYTE* pixels, int width, int height, int outWidth, int outHeight);
