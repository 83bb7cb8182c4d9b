// PNG through libspng: every kind (palette, grey, 16-bit, alpha, interlaced)
// comes out as 8-bit RGBA; the sink puts transparent pixels on the back colour.
#include "picture/ExifOrientation.h"
#include "picture/PictureDecoders.h"

#include <memory>
#include <new>
#include <vector>

#include <spng.h>

namespace {

struct ContextFree {
    void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};

// Chunks are held whole while read; no real ancillary chunk comes near this,
// and the file size bounds how many there can be.
constexpr std::size_t kMaxChunkBytes = std::size_t(16) << 20;
constexpr std::size_t kMaxChunkCache = std::size_t(64) << 20;

bool Failed(PictureSink& sink, int code) { return sink.Fail(std::string("PNG: ") + spng_strerror(code)); }

}  // namespace

bool DecodePng(const BYTE* data, std::size_t size, PictureSink& sink) {
    std::unique_ptr<spng_ctx, ContextFree> context(spng_ctx_new(0));
    if (!context)
        return sink.Fail("PNG: out of memory");
    spng_ctx* png = context.get();
    spng_set_chunk_limits(png, kMaxChunkBytes, kMaxChunkCache);
    spng_set_image_limits(png, 1u << 16, 1u << 16);
    if (int code = spng_set_png_buffer(png, data, size))
        return Failed(sink, code);
    spng_ihdr header{};
    if (int code = spng_get_ihdr(png, &header))
        return Failed(sink, code);
    int orientation = 1;
    spng_exif exif{};
    if (spng_get_exif(png, &exif) == 0)
        orientation = ExifOrientation(reinterpret_cast<const BYTE*>(exif.data), exif.length);
    const int width = int(header.width), height = int(header.height);
    if (!sink.Begin(width, height, width, height, orientation))
        return false;
    if (int code = spng_decode_image(png, nullptr, 0, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE))
        return Failed(sink, code);
    const std::size_t rowBytes = std::size_t(width) * 4;
    // Rows of an interlaced file come pass by pass, each written at its final
    // place: the whole picture is held until the last pass. Others go to the
    // sink one by one.
    const bool interlaced = header.interlace_method != 0;
    std::vector<BYTE> rows;
    try {
        rows.resize(interlaced ? rowBytes * std::size_t(height) : rowBytes);
    } catch (const std::bad_alloc&) {
        return sink.Fail("PNG: out of memory");
    }
    for (;;) {
        spng_row_info row{};
        int code = spng_get_row_info(png, &row);
        if (code == 0) {
            BYTE* to = rows.data() + (interlaced ? std::size_t(row.row_num) * rowBytes : 0);
            code = spng_decode_row(png, to, rowBytes);
            if ((code == 0 || code == SPNG_EOI) && !interlaced && !sink.PushRGBA(to))
                return false;
            if (interlaced && sink.Stopped())
                return sink.Fail("stopped");
        }
        if (code == SPNG_EOI)
            break;
        if (code != 0)
            return Failed(sink, code);
    }
    if (interlaced)
        for (int y = 0; y < height; ++y)
            if (!sink.PushRGBA(rows.data() + std::size_t(y) * rowBytes))
                return false;
    return true;
}
