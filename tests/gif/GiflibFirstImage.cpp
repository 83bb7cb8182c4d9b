#include "GiflibFirstImage.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace testing_support {

namespace {

struct Input {
    const std::string* file;
    std::size_t pos = 0;
};

int ReadInput(GifFileType* gif, GifByteType* out, int count) {
    auto* in = static_cast<Input*>(gif->UserData);
    const std::size_t n = std::min(std::size_t(count), in->file->size() - in->pos);
    std::memcpy(out, in->file->data() + in->pos, n);
    in->pos += n;
    return int(n);
}

struct Closer {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

}  // namespace

std::optional<GiflibImage> GiflibFirstImage(const std::string& file) {
    Input in{&file};
    int error = 0;
    const std::unique_ptr<GifFileType, Closer> gif(DGifOpen(&in, ReadInput, &error));
    if (!gif)
        return {};
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    while (type != IMAGE_DESC_RECORD_TYPE) {
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR || type == TERMINATE_RECORD_TYPE)
            return {};
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR)
                return {};
            while (block)
                if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR)
                    return {};
        }
    }
    if (DGifGetImageDesc(gif.get()) == GIF_ERROR)
        return {};
    const GifImageDesc& desc = gif->Image;
    const ColorMapObject* colors = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
    if (!colors || desc.Width <= 0 || desc.Height <= 0)
        return {};
    GiflibImage image{desc.Width, desc.Height, {}};
    std::vector<GifPixelType> indices(std::size_t(image.width) * image.height);
    static const int start[4] = {0, 4, 2, 1};
    static const int step[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < (desc.Interlace ? 4 : 1); ++pass)
        for (int y = desc.Interlace ? start[pass] : 0; y < image.height; y += desc.Interlace ? step[pass] : 1)
            if (DGifGetLine(gif.get(), &indices[std::size_t(y) * image.width], image.width) == GIF_ERROR)
                return {};
    for (GifPixelType index : indices) {
        const bool inTable = index < colors->ColorCount;
        image.indicesInTable = image.indicesInTable && inTable;
        const GifColorType rgb = inTable ? colors->Colors[index] : GifColorType{};
        image.pixels.insert(image.pixels.end(), {rgb.Blue, rgb.Green, rgb.Red});
    }
    return image;
}

}  // namespace testing_support
