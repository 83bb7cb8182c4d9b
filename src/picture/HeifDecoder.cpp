// HEIC and AVIF through libheif, with the decoders it was built with. The
// picture is turned upright by libheif itself (the file's rotation and
// mirror boxes); the EXIF orientation a HEIF may also carry restates them
// and is not applied a second time.
#include "picture/PictureDecoders.h"

#include <memory>

#include <libheif/heif.h>

namespace {

struct ContextFree {
    void operator()(heif_context* context) const { heif_context_free(context); }
};
struct HandleRelease {
    void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct ImageRelease {
    void operator()(heif_image* image) const { heif_image_release(image); }
};
struct OptionsFree {
    void operator()(heif_decoding_options* options) const { heif_decoding_options_free(options); }
};

bool Failed(PictureSink& sink, const heif_error& error) {
    return sink.Fail(std::string("HEIF: ") + (error.message ? error.message : "damaged"));
}

}  // namespace

bool DecodeHeif(const BYTE* data, std::size_t size, PictureSink& sink) {
    std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
    if (!context)
        return sink.Fail("HEIF: out of memory");
    // The library's own bound on each side, checked as it reads the file.
    heif_context_set_maximum_image_size_limit(context.get(), 65536);
    heif_error error = heif_context_read_from_memory_without_copy(context.get(), data, size, nullptr);
    if (error.code != heif_error_Ok)
        return Failed(sink, error);
    heif_image_handle* primary = nullptr;
    error = heif_context_get_primary_image_handle(context.get(), &primary);
    std::unique_ptr<heif_image_handle, HandleRelease> handle(primary);
    if (error.code != heif_error_Ok)
        return Failed(sink, error);
    const int width = heif_image_handle_get_width(primary), height = heif_image_handle_get_height(primary);
    // The whole picture is decoded at once: its size is checked first.
    if (width <= 0 || height <= 0 || std::int64_t(width) * height > kMaxDecodedPixels)
        return sink.Fail("picture size out of bounds");
    if (sink.Stopped())
        return sink.Fail("stopped");
    const bool alpha = heif_image_handle_has_alpha_channel(primary);
    std::unique_ptr<heif_decoding_options, OptionsFree> options(heif_decoding_options_alloc());
    heif_image* decoded = nullptr;
    error = heif_decode_image(primary, &decoded, heif_colorspace_RGB,
                              alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get());
    std::unique_ptr<heif_image, ImageRelease> image(decoded);
    if (error.code != heif_error_Ok)
        return Failed(sink, error);
    int stride = 0;
    const uint8_t* plane = heif_image_get_plane_readonly(decoded, heif_channel_interleaved, &stride);
    // The decoded size may differ from the declared one (a damaged grid).
    const int decodedWidth = heif_image_get_width(decoded, heif_channel_interleaved);
    const int decodedHeight = heif_image_get_height(decoded, heif_channel_interleaved);
    if (!plane || decodedWidth <= 0 || decodedHeight <= 0 || stride < decodedWidth * (alpha ? 4 : 3) ||
        heif_image_get_bits_per_pixel_range(decoded, heif_channel_interleaved) != 8)
        return sink.Fail("HEIF: unexpected decoded layout");
    if (!sink.Begin(decodedWidth, decodedHeight, decodedWidth, decodedHeight, 1))
        return false;
    for (int y = 0; y < decodedHeight; ++y) {
        const BYTE* row = plane + std::size_t(y) * std::size_t(stride);
        if (!(alpha ? sink.PushRGBA(row) : sink.PushRGB(row)))
            return false;
    }
    return true;
}
