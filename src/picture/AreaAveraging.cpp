#include "picture/AreaAveraging.h"

#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define QUORL_AREA_SSE2 1
#endif

// Plain loops over separate arrays (`__restrict`) with 16-bit products,
// which the compiler turns into vector instructions eight or sixteen lanes
// wide.
void StartDown(std::uint16_t* __restrict sums, const BYTE* __restrict row, unsigned weight, std::size_t count) {
    const std::uint16_t w = std::uint16_t(weight);
    for (std::size_t i = 0; i < count; ++i)
        sums[i] = std::uint16_t(w * row[i]);
}

void AddDown(std::uint16_t* __restrict sums, const BYTE* __restrict row, unsigned weight, std::size_t count) {
    const std::uint16_t w = std::uint16_t(weight);
    for (std::size_t i = 0; i < count; ++i)
        sums[i] = std::uint16_t(sums[i] + w * row[i]);
}

namespace {

// A kept pixel from `pairs` pairs of source pixels (sums halved, so below
// 2^15), weights in 1/256ths: 2^15 is one. Scalar, for the last pixel of a
// row and for processors without the vector path.
void ShrinkPixel(const std::uint16_t* sums, int start, const std::uint32_t* weights, int pairs, BYTE* out) {
    std::uint32_t sum[3] = {1u << 14, 1u << 14, 1u << 14};
    for (int p = 0; p < pairs; ++p) {
        const std::uint16_t* a = sums + std::size_t(start + 2 * p) * 3;
        const std::uint32_t w0 = weights[p] & 0xFFFF, w1 = weights[p] >> 16;
        for (int c = 0; c < 3; ++c)
            sum[c] += w0 * a[c] + w1 * a[c + 3];
    }
    for (int c = 0; c < 3; ++c)
        out[c] = BYTE(sum[c] >> 15);
}

}  // namespace

void ShrinkAcross(std::uint16_t* __restrict sums, std::size_t inWidth, std::size_t outWidth, const int* starts,
                  const std::uint32_t* weights, int pairs, BYTE* out) {
    // Halved, so the signed 16-bit multiply-adds below can take them.
    for (std::size_t i = 0, count = inWidth * 3; i < count; ++i)
        sums[i] = std::uint16_t(sums[i] >> 1);
    if (outWidth == 0)
        return;
    std::size_t x = 0;
#ifdef QUORL_AREA_SSE2
    // Four bytes are stored per pixel, the fourth overwritten by the next
    // pixel: every pixel but the last.
    const __m128i round = _mm_set1_epi32(1 << 14);
    for (; x + 1 < outWidth; ++x) {
        __m128i sum = round;
        const std::uint16_t* a = sums + std::size_t(starts[x]) * 3;
        const std::uint32_t* w = weights + x * std::size_t(pairs);
        for (int p = 0; p < pairs; ++p, a += 6) {
            // blue, green, red of two neighbours side by side: one
            // multiply-add weighs each channel's pair.
            const __m128i left = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(a));
            const __m128i right = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(a + 3));
            const __m128i pair = _mm_shuffle_epi32(_mm_cvtsi32_si128(int(w[p])), 0);
            sum = _mm_add_epi32(sum, _mm_madd_epi16(_mm_unpacklo_epi16(left, right), pair));
        }
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(_mm_srai_epi32(sum, 15), round), round);
        const int value = _mm_cvtsi128_si32(bytes);
        std::memcpy(out + x * 3, &value, 4);
    }
#endif
    for (; x < outWidth; ++x)
        ShrinkPixel(sums, starts[x], weights + x * std::size_t(pairs), pairs, out + x * 3);
}
