// JPEG through libjpeg-turbo, decoded straight to a smaller size (1/8 to 7/8)
// when that is still at least the size the picture is shown at: the DCT then
// does most of the shrinking, for a fraction of the work and memory.
#include "picture/ExifOrientation.h"
#include "picture/PictureDecoders.h"

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>
#include <jerror.h>

namespace {

// libjpeg reports a fatal error by calling error_exit, which must not return:
// it jumps back to the decode below. Only plain data lives between the jump
// and its target, so nothing is left undestroyed.
struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char reason[JMSG_LENGTH_MAX];
    const std::atomic<bool>* stop;
};

[[noreturn]] void Fatal(j_common_ptr info) {
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    (*info->err->format_message)(info, errors->reason);
    std::longjmp(errors->jump, 1);
}

// A file that ends early is skipped, as a broken GIF is, rather than shown
// with a grey lower part; other warnings (damaged data the library recovers
// from) are kept quiet.
void Message(j_common_ptr info, int level) {
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        Fatal(info);
}

// Progressive files may hold any number of scans, each a pass over the whole
// picture; a file of thousands costs minutes. Real encoders write about a
// dozen. The same hook ends the decode when it is abandoned.
constexpr long kMaxScans = 256;

void Progress(j_common_ptr info) {
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
    if (decompress->input_scan_number > kMaxScans) {
        std::snprintf(errors->reason, sizeof errors->reason, "more than %ld scans", kMaxScans);
        std::longjmp(errors->jump, 1);
    }
    if (errors->stop && errors->stop->load(std::memory_order_relaxed)) {
        std::snprintf(errors->reason, sizeof errors->reason, "stopped");
        std::longjmp(errors->jump, 1);
    }
}

// What the decoder holds beyond memory: at most this much for the whole-image
// buffers of a progressive file (a 50-megapixel one needs some 150 MiB).
constexpr long kMaxJpegMemory = 384L << 20;

int Orientation(j_decompress_ptr info) {
    for (jpeg_saved_marker_ptr marker = info->marker_list; marker; marker = marker->next)
        if (marker->marker == JPEG_APP0 + 1 && marker->data_length >= 6 &&
            std::memcmp(marker->data, "Exif\0\0", 6) == 0)
            return ExifOrientation(marker->data, marker->data_length);
    return 1;
}

// CMYK files come from print software, which stores the inks inverted
// (Adobe's convention); the light that is left is ink times black.
void CmykToBgr(const JSAMPLE* cmyk, BYTE* bgr, JDIMENSION width) {
    for (JDIMENSION x = 0; x < width; ++x, cmyk += 4, bgr += 3) {
        const unsigned k = cmyk[3];
        bgr[0] = BYTE((cmyk[2] * k + 127) / 255);
        bgr[1] = BYTE((cmyk[1] * k + 127) / 255);
        bgr[2] = BYTE((cmyk[0] * k + 127) / 255);
    }
}

// True when every row reached the sink. Every row buffer belongs to the
// decoder's own pool, so a jump out of it leaves nothing behind.
bool Decode(jpeg_decompress_struct& info, JpegErrors& errors, const BYTE* data, std::size_t size,
            PictureSink& sink) {
    if (setjmp(errors.jump)) {
        sink.Fail(std::string("JPEG: ") + errors.reason);
        return false;
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kMaxJpegMemory;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
    jpeg_read_header(&info, TRUE);
    const int orientation = Orientation(&info);
    const int width = int(info.image_width), height = int(info.image_height);
    const PictureSize target = sink.Target(width, height, orientation);
    // The smallest reduction by eighths that is still no smaller than the
    // target: the DCT does most of the shrinking, and the area averaging
    // after it has little left to do.
    info.scale_num = 8;
    info.scale_denom = 8;
    for (unsigned num = 1; num < 8; ++num) {
        const std::int64_t w = (std::int64_t(width) * num + 7) / 8;
        const std::int64_t h = (std::int64_t(height) * num + 7) / 8;
        if (w >= target.width && h >= target.height) {
            info.scale_num = num;
            break;
        }
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGR;
    jpeg_calc_output_dimensions(&info);
    // Checked before the decoder allocates its buffers for this size.
    if (!sink.Begin(int(info.output_width), int(info.output_height), width, height, orientation)) {
        jpeg_abort_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    const int components = info.output_components;
    // Rows start 8 bytes past a 16-byte boundary: libjpeg-turbo writes a
    // row that starts on one with stores that bypass the cache (made for a
    // whole picture in memory), and the sink reads each row back at once,
    // which then costs a trip to memory for every byte.
    JSAMPARRAY rows = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                info.output_width * JDIMENSION(components) + 16,
                                                JDIMENSION(info.rec_outbuf_height));
    for (int i = 0; i < info.rec_outbuf_height; ++i)
        rows[i] += (24 - reinterpret_cast<std::uintptr_t>(rows[i]) % 16) % 16;
    JSAMPARRAY bgr = cmyk ? (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                                      info.output_width * 3, 1)
                          : nullptr;
    while (info.output_scanline < info.output_height) {
        const JDIMENSION got = jpeg_read_scanlines(&info, rows, JDIMENSION(info.rec_outbuf_height));
        for (JDIMENSION i = 0; i < got; ++i) {
            const JSAMPLE* row = rows[i];
            if (cmyk) {
                CmykToBgr(row, bgr[0], info.output_width);
                row = bgr[0];
            }
            if (!sink.PushBGR(row)) {
                jpeg_abort_decompress(&info);
                return false;
            }
        }
        if (got == 0)
            break;
    }
    jpeg_finish_decompress(&info);
    return true;
}

}  // namespace

bool DecodeJpeg(const BYTE* data, std::size_t size, PictureSink& sink) {
    if (!data || size == 0)
        return sink.Fail("JPEG: empty");
    jpeg_decompress_struct info{};
    JpegErrors errors{};
    errors.stop = sink.Area().stop;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = Fatal;
    errors.manager.emit_message = Message;
    jpeg_progress_mgr progress{};
    progress.progress_monitor = Progress;
    info.progress = &progress;
    const bool ok = Decode(info, errors, data, size, sink);
    jpeg_destroy_decompress(&info);
    return ok;
}
