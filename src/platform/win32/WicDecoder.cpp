// Pictures other than GIF on Windows: the system's own codecs (WIC), which
// read JPEG, PNG and BMP everywhere, and WebP, HEIC and AVIF where their
// extensions are installed. The rows go to the same sink as on Linux, so the
// fit, the back colour and the orientation (read from the file's EXIF data
// by our own walk) are the same.
#include "picture/ExifOrientation.h"
#include "picture/PictureDecoders.h"
#include "platform/WinTypes.h"

#include <vector>

#include <wincodec.h>

namespace {

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() {
        if (m_p)
            m_p->Release();
    }
    T** Out() { return &m_p; }
    T* operator->() const { return m_p; }
    T* Get() const { return m_p; }

private:
    T* m_p = nullptr;
};

// COM on this thread for the decode; a thread that already has it keeps it.
class ComScope {
public:
    ComScope() : m_result(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
    ~ComScope() {
        if (SUCCEEDED(m_result))
            CoUninitialize();
    }

private:
    HRESULT m_result;
};

bool Failed(PictureSink& sink, const char* step) { return sink.Fail(std::string("WIC: ") + step); }

}  // namespace

bool DecodeWic(const BYTE* data, std::size_t size, PictureSink& sink) {
    if (!data || size == 0 || size > 0xFFFFFFFFu)
        return Failed(sink, "no data");
    ComScope com;
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.Out()))))
        return Failed(sink, "no imaging factory");
    ComPtr<IWICStream> stream;
    if (FAILED(factory->CreateStream(stream.Out())) ||
        FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(data), DWORD(size))))
        return Failed(sink, "no stream");
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                decoder.Out())))
        return Failed(sink, "no codec reads this file");
    ComPtr<IWICBitmapFrameDecode> frame;
    UINT width = 0, height = 0;
    if (FAILED(decoder->GetFrame(0, frame.Out())) || FAILED(frame->GetSize(&width, &height)))
        return Failed(sink, "no picture");
    // Checked before the codec is asked for any pixel.
    if (width == 0 || height == 0 || width > 65535 || height > 65535 ||
        std::int64_t(width) * height > kMaxDecodedPixels)
        return sink.Fail("picture size out of bounds");
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.Out())) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr,
                                     0.0, WICBitmapPaletteTypeCustom)))
        return Failed(sink, "no conversion to 32-bit colour");
    if (!sink.Begin(int(width), int(height), int(width), int(height), FileOrientation(data, size)))
        return false;
    std::vector<BYTE> row(std::size_t(width) * 4);
    for (UINT y = 0; y < height; ++y) {
        const WICRect line{0, INT(y), INT(width), 1};
        if (FAILED(converter->CopyPixels(&line, width * 4, UINT(row.size()), row.data())))
            return Failed(sink, "damaged picture data");
        if (!sink.PushBGRA(row.data()))
            return false;
    }
    return true;
}
