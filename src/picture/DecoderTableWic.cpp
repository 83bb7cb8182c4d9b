// The decoders of the Windows side: the system's codecs for every format
// but BMP, which is read here as on Linux.
#include "picture/PictureDecoders.h"

bool DecodeWic(const BYTE* data, std::size_t size, PictureSink& sink);

PictureDecoder FindPictureDecoder(PictureFormat format) {
    switch (format) {
    case PictureFormat::Jpeg:
    case PictureFormat::Png:
    case PictureFormat::WebP:
    case PictureFormat::Heif: return DecodeWic;
    case PictureFormat::Bmp: return DecodeBmp;
    default: return nullptr;
    }
}

const char* const kPictureNamePatterns = "*.gif;*.jpg;*.jpeg;*.jpe;*.png;*.webp;*.bmp;*.heic;*.heif;*.avif";
