// libFuzzer target for the picture loader: any bytes, any format by their
// first bytes, decoded for a small area so that the shrinking, the scaled
// JPEG decode and the orientation all run. It must never crash, leak or
// read out of bounds, and whatever comes out is a whole bitmap of the size
// it claims, within the area.
#include "picture/PictureLoader.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PictureArea area;
    // The last byte picks the area, so that both shrinking and 1:1 are tried.
    const int pick = size ? data[size - 1] : 0;
    area.width = 16 + (pick & 0x0F) * 8;
    area.height = 16 + (pick >> 4) * 8;
    area.scale = pick & 1 ? 1.0 : 1.5;
    area.back[0] = 0x20, area.back[1] = 0x40, area.back[2] = 0x60;
    std::string reason;
    PictureBitmap bitmap = DecodePicture(data, size, area, reason);
    if (bitmap.bits) {
        if (bitmap.width <= 0 || bitmap.height <= 0 || bitmap.width > area.width || bitmap.height > area.height)
            std::abort();
        // Touches every byte, so that a short block shows under ASan.
        const std::size_t stride = (std::size_t(bitmap.width) * 3 + 3) & ~std::size_t(3);
        unsigned sum = 0;
        for (std::size_t i = 0; i < stride * std::size_t(bitmap.height); ++i)
            sum += bitmap.bits[i];
        if (sum == 0xFFFFFFFFu)
            std::abort();
    } else if (reason.empty()) {
        std::abort();
    }
    return 0;
}
