#pragma once
// One decoder per library, each filling a PictureSink: the size first, then
// every row, top first. Each checks the size the file declares before it
// allocates anything for it, and gives up as soon as the sink is stopped.
#include "picture/PictureFormat.h"
#include "picture/PictureSink.h"

#include <cstddef>

// False on failure, with the reason in the sink.
using PictureDecoder = bool (*)(const BYTE* data, std::size_t size, PictureSink& sink);

bool DecodeJpeg(const BYTE* data, std::size_t size, PictureSink& sink);
bool DecodePng(const BYTE* data, std::size_t size, PictureSink& sink);
bool DecodeWebP(const BYTE* data, std::size_t size, PictureSink& sink);
bool DecodeHeif(const BYTE* data, std::size_t size, PictureSink& sink);
bool DecodeBmp(const BYTE* data, std::size_t size, PictureSink& sink);

// This platform's decoder for `format`; null for GIF (which has a path of
// its own) and for formats this platform cannot read.
PictureDecoder FindPictureDecoder(PictureFormat format);

// The names pictures this platform reads usually have, for file pickers
// ("*.gif;*.jpg;..."): a picker filters by name, the saver by content.
extern const char* const kPictureNamePatterns;
