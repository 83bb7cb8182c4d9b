#include "picture/PictureLoader.h"

#include "picture/PictureDecoders.h"
#include "platform/RegularFile.h"

#include <new>
#include <sys/stat.h>

PictureFormat PeekPictureFormat(const std::string& path) {
    UniqueFile file = OpenRegularFile(path);
    if (!file)
        return PictureFormat::Unknown;
    BYTE head[kPictureSignatureBytes];
    const std::size_t got = std::fread(head, 1, sizeof head, file.get());
    return DetectPictureFormat(head, got);
}

bool IsShownFormat(PictureFormat format) {
    return format == PictureFormat::Gif || FindPictureDecoder(format) != nullptr;
}

PictureBitmap DecodePicture(const BYTE* data, std::size_t size, const PictureArea& area, std::string& reason) {
    PictureSink sink(area);
    const PictureDecoder decoder = FindPictureDecoder(DetectPictureFormat(data, size));
    if (!decoder) {
        reason = "not a picture this program reads";
        return {};
    }
    PictureBitmap bitmap;
    if (decoder(data, size, sink))
        bitmap = sink.Finish();
    if (!bitmap.bits)
        reason = sink.Failure().empty() ? "damaged picture" : sink.Failure();
    return bitmap;
}

PictureBitmap LoadPictureFile(const std::string& path, const PictureArea& area, std::string& reason) {
    UniqueFile file = OpenRegularFile(path);
    if (!file) {
        reason = "cannot open";
        return {};
    }
    // The size is known before anything is allocated for the bytes.
    struct stat status {};
    if (fstat(fileno(file.get()), &status) != 0 || status.st_size < 0 ||
        std::uint64_t(status.st_size) > kMaxPictureFileBytes) {
        reason = "file too large";
        return {};
    }
    const std::size_t size = std::size_t(status.st_size);
    std::unique_ptr<BYTE[]> bytes(new (std::nothrow) BYTE[size ? size : 1]);
    if (!bytes) {
        reason = "out of memory";
        return {};
    }
    // A file that shrank since is read as far as it goes.
    const std::size_t got = std::fread(bytes.get(), 1, size, file.get());
    file.reset();
    return DecodePicture(bytes.get(), got, area, reason);
}
