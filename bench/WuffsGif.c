// The Wuffs column of gif_decode_bench: Wuffs' GIF decoder from the release
// file named at configure time (QUORL_WUFFS_C), decoding to blue-green-red
// rows as ours does.
#define WUFFS_IMPLEMENTATION
#define WUFFS_CONFIG__STATIC_FUNCTIONS
#define WUFFS_CONFIG__MODULES
#define WUFFS_CONFIG__MODULE__BASE
#define WUFFS_CONFIG__MODULE__GIF
#define WUFFS_CONFIG__MODULE__LZW
#include QUORL_WUFFS_C

#include "WuffsGif.h"

#include <stdlib.h>

static bool Ok(wuffs_base__status status) { return wuffs_base__status__is_ok(&status); }

unsigned char* WuffsDecodeGif(const unsigned char* data, size_t size, int* width, int* height) {
    wuffs_gif__decoder* dec = wuffs_gif__decoder__alloc();
    wuffs_base__io_buffer src = wuffs_base__ptr_u8__reader((uint8_t*)data, size, true);
    wuffs_base__image_config ic = {0};
    unsigned char* pixels = NULL;
    unsigned char* work = NULL;
    if (!dec || !Ok(wuffs_gif__decoder__decode_image_config(dec, &ic, &src)))
        goto done;
    const uint32_t w = wuffs_base__pixel_config__width(&ic.pixcfg);
    const uint32_t h = wuffs_base__pixel_config__height(&ic.pixcfg);
    wuffs_base__pixel_config__set(&ic.pixcfg, WUFFS_BASE__PIXEL_FORMAT__BGR, WUFFS_BASE__PIXEL_SUBSAMPLING__NONE, w, h);
    pixels = malloc((size_t)w * h * 3);
    const uint64_t workLength = wuffs_gif__decoder__workbuf_len(dec).max_incl;
    work = malloc(workLength ? workLength : 1);
    wuffs_base__pixel_buffer pb = {0};
    if (!pixels || !work ||
        !Ok(
            wuffs_base__pixel_buffer__set_from_slice(&pb, &ic.pixcfg, wuffs_base__make_slice_u8(pixels, (size_t)w * h * 3))) ||
        !Ok(wuffs_gif__decoder__decode_frame(
            dec, &pb, &src, WUFFS_BASE__PIXEL_BLEND__SRC, wuffs_base__make_slice_u8(work, workLength), NULL))) {
        free(pixels);
        pixels = NULL;
        goto done;
    }
    *width = (int)w;
    *height = (int)h;
done:
    free(work);
    free(dec);
    return pixels;
}
