// The decoders of a build without the picture libraries (the Windows side
// today): only our own BMP reader; other formats are refused as unknown.
#include "picture/PictureDecoders.h"

PictureDecoder FindPictureDecoder(PictureFormat format) {
    return format == PictureFormat::Bmp ? DecodeBmp : nullptr;
}

const char* const kPictureNamePatterns = "*.gif;*.bmp";
