#include "platform/qt/PixelRows.h"

#include <bit>
#include <cstring>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define QUORL_HAVE_SSSE3_ROWS 1
#endif

void ConvertBgrRowPortable(const std::uint8_t* source, std::uint32_t* target, std::int64_t count) {
    std::int64_t i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        // Twelve bytes hold four pixels: three word loads, four word stores.
        for (; i + 4 <= count; i += 4, source += 12) {
            std::uint32_t w[3];
            std::memcpy(w, source, sizeof w);
            target[i] = w[0] & 0xFFFFFFu;
            target[i + 1] = (w[0] >> 24) | ((w[1] & 0xFFFFu) << 8);
            target[i + 2] = (w[1] >> 16) | ((w[2] & 0xFFu) << 16);
            target[i + 3] = w[2] >> 8;
        }
    }
    for (; i < count; ++i, source += 3)
        target[i] = std::uint32_t(source[0]) | (std::uint32_t(source[1]) << 8) | (std::uint32_t(source[2]) << 16);
}

namespace {

void ConvertPortable(const std::uint8_t* source, std::ptrdiff_t sourceStride, std::uint32_t* target,
                     std::ptrdiff_t targetStride, std::int64_t count, std::int64_t rows) {
    for (std::int64_t r = 0; r < rows; ++r)
        ConvertBgrRowPortable(source + r * sourceStride, target + r * targetStride, count);
}

#ifdef QUORL_HAVE_SSSE3_ROWS
// A copy larger than this bypasses the caches on its way out: a full-screen
// picture would only push everything else out of them, and without the
// read-for-ownership of ordinary stores the copy runs about a fifth faster.
constexpr std::int64_t kStreamingBytes = std::int64_t(4) << 20;

// Sixteen pixels from 48 bytes: three loads, four byte shuffles that spread
// each 3-byte pixel into a word with a zero top byte, four stores. Nothing is
// read past the row's pixels, so the last row of a bitmap is safe.
template <bool kStreaming>
__attribute__((target("ssse3"))) void ConvertRowSsse3(const std::uint8_t* source, std::uint32_t* target,
                                                      std::int64_t count) {
    std::int64_t i = 0;
    if constexpr (kStreaming) {
        // Streaming stores want 16-byte aligned targets.
        for (; i < count && (reinterpret_cast<std::uintptr_t>(target + i) & 15) != 0; ++i, source += 3)
            target[i] = std::uint32_t(source[0]) | (std::uint32_t(source[1]) << 8) |
                        (std::uint32_t(source[2]) << 16);
    }
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    for (; i + 16 <= count; i += 16, source += 48) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 16));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + 32));
        const __m128i out[4] = {_mm_shuffle_epi8(a, spread), _mm_shuffle_epi8(_mm_alignr_epi8(b, a, 12), spread),
                                _mm_shuffle_epi8(_mm_alignr_epi8(c, b, 8), spread),
                                _mm_shuffle_epi8(_mm_srli_si128(c, 4), spread)};
        auto* to = reinterpret_cast<__m128i*>(target + i);
        for (int k = 0; k < 4; ++k) {
            if constexpr (kStreaming)
                _mm_stream_si128(to + k, out[k]);
            else
                _mm_storeu_si128(to + k, out[k]);
        }
    }
    ConvertBgrRowPortable(source, target + i, count - i);
}

__attribute__((target("ssse3"))) void ConvertSsse3(const std::uint8_t* source, std::ptrdiff_t sourceStride,
                                                   std::uint32_t* target, std::ptrdiff_t targetStride,
                                                   std::int64_t count, std::int64_t rows) {
    if (count * rows * 4 < kStreamingBytes) {
        for (std::int64_t r = 0; r < rows; ++r)
            ConvertRowSsse3<false>(source + r * sourceStride, target + r * targetStride, count);
        return;
    }
    for (std::int64_t r = 0; r < rows; ++r)
        ConvertRowSsse3<true>(source + r * sourceStride, target + r * targetStride, count);
    _mm_sfence();  // streaming stores are weakly ordered: publish them before returning
}
#endif

using RowsConverter = void (*)(const std::uint8_t*, std::ptrdiff_t, std::uint32_t*, std::ptrdiff_t, std::int64_t,
                               std::int64_t);

RowsConverter PickConverter() {
#ifdef QUORL_HAVE_SSSE3_ROWS
    if (__builtin_cpu_supports("ssse3"))
        return ConvertSsse3;
#endif
    return ConvertPortable;
}

}  // namespace

void ConvertBgrRows(const std::uint8_t* source, std::ptrdiff_t sourceStride, std::uint32_t* target,
                    std::ptrdiff_t targetStride, std::int64_t count, std::int64_t rows) {
    static const RowsConverter convert = PickConverter();
    convert(source, sourceStride, target, targetStride, count, rows);
}
