#pragma once
// The orientation tag of EXIF data: how a camera held on its side stored the
// picture. Every photo viewer turns the picture upright by it.
#include "platform/WinTypes.h"

#include <cstddef>

// 1 to 8 as EXIF defines them; 1 (upright) when the data holds no valid
// tag. Takes the TIFF structure, with or without the "Exif\0\0" in front of
// it that JPEG (and some WebP writers) put there.
int ExifOrientation(const BYTE* data, std::size_t size);

// The orientation in a whole JPEG, PNG or WebP file, found by walking its
// segments, chunks or RIFF chunks up to the picture data; 1 when there is none.
// For decoders that do not hand over the EXIF data themselves.
int FileOrientation(const BYTE* data, std::size_t size);
