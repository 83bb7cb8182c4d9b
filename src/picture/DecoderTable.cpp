// The decoders of the Linux side: one library each, BMP our own.
#include "picture/PictureDecoders.h"

PictureDecoder FindPictureDecoder(PictureFormat format) {
    switch (format) {
    case PictureFormat::Jpeg: return DecodeJpeg;
    case PictureFormat::Png: return DecodePng;
    case PictureFormat::WebP: return DecodeWebP;
    case PictureFormat::Heif: return DecodeHeif;
    case PictureFormat::Bmp: return DecodeBmp;
    default: return nullptr;
    }
}

const char* const kPictureNamePatterns = "*.gif;*.jpg;*.jpeg;*.jpe;*.png;*.webp;*.bmp;*.heic;*.heif;*.avif";
