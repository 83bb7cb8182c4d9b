// Container parsing: the header, the colour tables and the blocks in front of
// the first image. Only the colours of the first image are used; screen size,
// position, background, transparency, delays and comments are not.
#include "gif/GifBlocks.h"
#include "gif/GifDecoder.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// A header can ask for up to 65535 x 65535 pixels (12 GiB of picture); a
// screen saver has no use for more than 8192 x 8192, and a damaged or hostile
// file must not exhaust memory.
constexpr std::size_t kMaxPixels = std::size_t(1) << 26;

// A file that is gigabytes of nothing behind a valid header must not keep the
// decoder busy for minutes. Real files carry kilobytes of extensions before
// the image, and compressed data never needs more than 12 bits a pixel plus
// the sub-block lengths.
constexpr std::uint64_t kMaxBytesBeforeImage = std::uint64_t(16) << 20;
constexpr std::uint64_t kMaxImageBytesPerPixel = 2;
constexpr std::uint64_t kImageBytesSlack = 64 * 1024;

constexpr BYTE kExtensionIntroducer = 0x21;  // '!'
constexpr BYTE kImageSeparator = 0x2C;       // ','

int Word(const BYTE* bytes) { return bytes[0] | (bytes[1] << 8); }

// Aspect byte values that mean square pixels: 0 (not given) and 49 (1:1).
bool IsSquareAspect(BYTE aspect) { return aspect == 0 || aspect == 49; }

}  // namespace

int GIFReadColorTable(GifStream& stream, int count, GIFColorTable& table) {
    for (int i = 0; i < count; ++i) {
        BYTE rgb[3];
        if (!stream.Read(rgb, 3))
            return 0;
        table.red[i] = rgb[0];
        table.green[i] = rgb[1];
        table.blue[i] = rgb[2];
    }
    return 1;
}

int GIFReadSubBlock(GifStream& stream, BYTE* buffer) {
    const int length = stream.ReadByte();
    if (length < 0)
        return -1;
    if (length > 0 && !stream.Read(buffer, std::size_t(length)))
        return -1;
    return length;
}

int GIFSkipExtension(GifStream& stream, int /*label*/) {
    while (GIFReadSubBlock(stream, gifDecoderState.extensionBuffer) > 0) {
    }
    return 0;
}

// Only a regular file is a picture. A folder would open and read as nothing,
// and a named pipe would block the saver until someone writes to it; both are
// files that cannot be opened as pictures.
static std::FILE* OpenPictureFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat info {};
    std::FILE* file = nullptr;
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
        file = ::fdopen(fd, "rb");
    if (!file)
        ::close(fd);
    return file;
}

std::unique_ptr<BYTE[]> GIFRead(std::string path, int& width, int& height, std::string& error,
                                const std::atomic<bool>* stop) {
    auto fail = [&error](std::string message) {
        error = std::move(message);
        return std::unique_ptr<BYTE[]>();
    };

    if (path.empty())
        return fail("No Name Given");
    FilePtr file(OpenPictureFile(path));
    if (!file)
        return fail("Cant open");
    GIFDecoderState& s = gifDecoderState;
    GifStream stream(file.get(), s.readBuffer, sizeof s.readBuffer, kMaxBytesBeforeImage, stop);

    BYTE magic[6];
    if (!stream.Read(magic, sizeof magic))
        return fail("Error reading GIF Magic #");
    if (std::memcmp(magic, "GIF", 3) != 0)
        return fail("Error, " + path + " is not a valid .GIF file");
    if (std::memcmp(magic + 3, "87a", 3) != 0 && std::memcmp(magic + 3, "89a", 3) != 0)
        return fail("Error, Bad GIF Version number");

    // Screen width and height, packed flags, background index, aspect.
    BYTE screen[7];
    if (!stream.Read(screen, sizeof screen))
        return fail("Error, failed to GIF read screen descriptor.\nGiving up");
    if (screen[4] & 0x80) {
        s.globalColorCount = 2 << (screen[4] & 0x07);
        if (!GIFReadColorTable(stream, s.globalColorCount, s.globalColors))
            return fail("Error reading GIF colormap");
    }
    if (!IsSquareAspect(screen[6]))
        error = "Non-square pixels in GIF image.\nIgnoring that fact...";

    // Extensions are skipped; any other byte before the image, the trailer
    // included, is passed over.
    for (;;) {
        const int block = stream.ReadByte();
        if (block < 0)
            return fail("Unexpected EOF in GIF.\nGiving up");
        if (block == kImageSeparator)
            break;
        if (block == kExtensionIntroducer) {
            const int label = stream.ReadByte();
            if (label < 0)
                return fail("Error on extension read.\nGiving up");
            GIFSkipExtension(stream, label);
        }
    }

    // Left, top, width, height, packed flags.
    BYTE image[9];
    if (!stream.Read(image, sizeof image))
        return fail("Error on dimension read\nGiving up");
    const int imageWidth = Word(image + 4);
    const int imageHeight = Word(image + 6);
    // An empty picture has nothing to show and no row to flip.
    if (imageWidth == 0 || imageHeight == 0)
        return fail("Error on dimension read\nGiving up");
    const std::size_t pixels = std::size_t(imageWidth) * std::size_t(imageHeight);
    if (pixels > kMaxPixels)
        return fail("Out of Memory in GIFRead");
    stream.Allow(kMaxImageBytesPerPixel * pixels + kImageBytesSlack);
    // Not cleared here: GIFReadImage writes every pixel, black where the data
    // ends early.
    std::unique_ptr<BYTE[]> picture(new (std::nothrow) BYTE[pixels * 3]);
    if (!picture)
        return fail("Out of Memory in GIFRead");

    const bool interlaced = (image[8] & 0x40) != 0;
    if (image[8] & 0x80) {
        // Entries beyond a local table's size stay black.
        GIFColorTable localColors{};
        if (!GIFReadColorTable(stream, 2 << (image[8] & 0x07), localColors))
            return fail("Error reading GIF colormap\nGiving up");
        if (!GIFReadImage(stream, picture.get(), imageWidth, imageHeight, localColors, interlaced))
            return fail("Error reading GIF file\nLocalColorMap\nGiving up");
    } else {
        // With no table of its own the image takes the global store, whatever
        // file last filled it: black in a fresh process.
        if (!GIFReadImage(stream, picture.get(), imageWidth, imageHeight, s.globalColors, interlaced))
            return fail("Error reading GIF file\nGIFScreen Colormap\nGiving up");
    }
    width = imageWidth;
    height = imageHeight;
    return picture;
}
