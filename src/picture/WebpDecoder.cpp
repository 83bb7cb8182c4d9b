// WebP through libwebp: lossy, lossless and alpha. A still picture is
// shrunk by the library's own area-averaging rescaler as it decodes; an
// animation shows its first frame.
#include "picture/ExifOrientation.h"
#include "picture/PictureDecoders.h"

#include <algorithm>
#include <memory>
#include <new>

#include <webp/decode.h>
#include <webp/demux.h>

namespace {

struct DemuxDelete {
    void operator()(WebPDemuxer* demux) const { WebPDemuxDelete(demux); }
};
struct IDecoderDelete {
    void operator()(WebPIDecoder* decoder) const { WebPIDelete(decoder); }
};
struct AnimDecoderDelete {
    void operator()(WebPAnimDecoder* decoder) const { WebPAnimDecoderDelete(decoder); }
};

int Orientation(const BYTE* data, std::size_t size) {
    const WebPData bytes{data, size};
    std::unique_ptr<WebPDemuxer, DemuxDelete> demux(WebPDemux(&bytes));
    if (!demux)
        return 1;
    WebPChunkIterator chunk{};
    int orientation = 1;
    if (WebPDemuxGetChunk(demux.get(), "EXIF", 1, &chunk))
        orientation = ExifOrientation(chunk.chunk.bytes, chunk.chunk.size);
    WebPDemuxReleaseChunkIterator(&chunk);
    return orientation;
}

bool FirstFrame(const BYTE* data, std::size_t size, int width, int height, int orientation, PictureSink& sink) {
    WebPAnimDecoderOptions options;
    if (!WebPAnimDecoderOptionsInit(&options))
        return sink.Fail("WebP: library mismatch");
    options.color_mode = MODE_BGRA;
    const WebPData bytes{data, size};
    // The canvas is the size checked by Begin; the decoder allocates it.
    if (!sink.Begin(width, height, width, height, orientation))
        return false;
    std::unique_ptr<WebPAnimDecoder, AnimDecoderDelete> decoder(WebPAnimDecoderNew(&bytes, &options));
    uint8_t* canvas = nullptr;
    int timestamp = 0;
    if (!decoder || !WebPAnimDecoderGetNext(decoder.get(), &canvas, &timestamp) || !canvas)
        return sink.Fail("WebP: damaged animation");
    for (int y = 0; y < height; ++y)
        if (!sink.PushBGRA(canvas + std::size_t(y) * std::size_t(width) * 4))
            return false;
    return true;
}

}  // namespace

bool DecodeWebP(const BYTE* data, std::size_t size, PictureSink& sink) {
    WebPDecoderConfig config;
    if (!WebPInitDecoderConfig(&config))
        return sink.Fail("WebP: library mismatch");
    if (WebPGetFeatures(data, size, &config.input) != VP8_STATUS_OK)
        return sink.Fail("WebP: not a picture");
    const int width = config.input.width, height = config.input.height;
    if (width <= 0 || height <= 0 || std::int64_t(width) * height > kMaxDecodedPixels)
        return sink.Fail("picture size out of bounds");
    const int orientation = Orientation(data, size);
    if (config.input.has_animation)
        return FirstFrame(data, size, width, height, orientation, sink);

    const PictureSize target = sink.Target(width, height, orientation);
    const bool rescale = target.width > 0 && (target.width != width || target.height != height);
    const int outWidth = rescale ? target.width : width, outHeight = rescale ? target.height : height;
    if (!sink.Begin(outWidth, outHeight, width, height, orientation))
        return false;
    const std::size_t stride = std::size_t(outWidth) * 4;
    std::unique_ptr<BYTE[]> pixels(new (std::nothrow) BYTE[stride * std::size_t(outHeight)]);
    if (!pixels)
        return sink.Fail("out of memory");
    config.options.use_scaling = rescale;
    config.options.scaled_width = outWidth;
    config.options.scaled_height = outHeight;
    config.output.colorspace = MODE_BGRA;
    config.output.is_external_memory = 1;
    config.output.u.RGBA.rgba = pixels.get();
    config.output.u.RGBA.stride = int(stride);
    config.output.u.RGBA.size = stride * std::size_t(outHeight);
    // Fed a piece at a time, so that an abandoned picture ends between pieces.
    std::unique_ptr<WebPIDecoder, IDecoderDelete> decoder(WebPIDecode(nullptr, 0, &config));
    if (!decoder)
        return sink.Fail("WebP: out of memory");
    constexpr std::size_t kPiece = std::size_t(256) << 10;
    VP8StatusCode status = VP8_STATUS_SUSPENDED;
    for (std::size_t fed = 0; fed < size && status == VP8_STATUS_SUSPENDED;) {
        if (sink.Stopped())
            return sink.Fail("stopped");
        const std::size_t piece = std::min(kPiece, size - fed);
        status = WebPIAppend(decoder.get(), data + fed, piece);
        fed += piece;
    }
    if (status != VP8_STATUS_OK)
        return sink.Fail(status == VP8_STATUS_SUSPENDED ? "WebP: data ends early" : "WebP: damaged data");
    for (int y = 0; y < outHeight; ++y)
        if (!sink.PushBGRA(pixels.get() + std::size_t(y) * stride))
            return false;
    return true;
}
