#include "picture/AreaAveraging.h"

#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define QUORL_AREA_SSE2 1
#endif

namespace {

// Plain loops over separate arrays (`__restrict`) with 16-bit products,
// which the compiler turns into vector instructions sixteen bytes at a time.
template <bool kStart, bool kLast>
void Weigh(std::uint16_t* __restrict sums, const BYTE* __restrict row, unsigned weight, std::size_t count) {
    const std::uint16_t w = std::uint16_t(weight);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint16_t sum = std::uint16_t((kStart ? 0 : sums[i]) + w * row[i]);
        sums[i] = kLast ? std::uint16_t(sum >> 1) : sum;
    }
}

}  // namespace

void WeighDown(std::uint16_t* sums, const BYTE* row, unsigned weight, std::size_t count, bool start, bool last) {
    if (start && last)
        Weigh<true, true>(sums, row, weight, count);
    else if (start)
        Weigh<true, false>(sums, row, weight, count);
    else if (last)
        Weigh<false, true>(sums, row, weight, count);
    else
        Weigh<false, false>(sums, row, weight, count);
}

void SplitDown(std::uint16_t* __restrict ending, std::uint16_t* __restrict starting, const BYTE* __restrict row,
               unsigned endingWeight, unsigned startingWeight, std::size_t count) {
    const std::uint16_t we = std::uint16_t(endingWeight), ws = std::uint16_t(startingWeight);
    for (std::size_t i = 0; i < count; ++i) {
        ending[i] = std::uint16_t(std::uint16_t(ending[i] + we * row[i]) >> 1);
        starting[i] = std::uint16_t(ws * row[i]);
    }
}

namespace {

// A kept pixel from halved sums (below 2^15) and weights in 1/256ths: 2^15
// is one. Scalar: for the last pixel of a row, and for processors without
// the vector path.
void ShrinkPixel(const std::uint16_t* sums, int start, const std::uint32_t* weights, int pairs, BYTE* out) {
    std::uint32_t sum[3] = {1u << 14, 1u << 14, 1u << 14};
    for (int p = 0; p < pairs; ++p, weights += kPairWeightValues) {
        const std::uint16_t* a = sums + std::size_t(start + 2 * p) * 3;
        const std::uint32_t w0 = weights[0] & 0xFFFF, w1 = weights[0] >> 16;
        for (int c = 0; c < 3; ++c)
            sum[c] += w0 * a[c] + w1 * a[c + 3];
    }
    for (int c = 0; c < 3; ++c)
        out[c] = BYTE(sum[c] >> 15);
}

#ifdef QUORL_AREA_SSE2
// Blue, green, red (and a value to ignore) of kept pixel x: the pixels of
// each pair side by side, channel by channel, so that one multiply-add
// weighs each channel's two values. kPairs fixed lets the compiler unroll
// the common cases.
template <int kPairs>
inline __m128i AcrossSum(const std::uint16_t* sums, int start, const std::uint32_t* weights, int pairs) {
    const int count = kPairs > 0 ? kPairs : pairs;
    const std::uint16_t* a = sums + std::size_t(start) * 3;
    __m128i sum = _mm_set1_epi32(1 << 14);
    for (int p = 0; p < count; ++p, a += 6, weights += kPairWeightValues) {
        const __m128i left = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(a));
        const __m128i right = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(a + 3));
        const __m128i weight = _mm_loadu_si128(reinterpret_cast<const __m128i*>(weights));
        sum = _mm_add_epi32(sum, _mm_madd_epi16(_mm_unpacklo_epi16(left, right), weight));
    }
    return _mm_srai_epi32(sum, 15);
}

// Two pixels at a time, four bytes stored for each (the fourth overwritten
// by the next pixel's): every pixel but the last. Returns how many are done.
template <int kPairs>
std::size_t ShrinkAcrossVector(const std::uint16_t* sums, std::size_t outWidth, const int* starts,
                               const std::uint32_t* weights, int pairs, BYTE* out) {
    const std::size_t step = kPairWeightValues * std::size_t(kPairs > 0 ? kPairs : pairs);
    std::size_t x = 0;
    for (; x + 2 < outWidth; x += 2) {
        const __m128i first = AcrossSum<kPairs>(sums, starts[x], weights + x * step, pairs);
        const __m128i second = AcrossSum<kPairs>(sums, starts[x + 1], weights + (x + 1) * step, pairs);
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(first, second), first);
        const int a = _mm_cvtsi128_si32(bytes), b = _mm_cvtsi128_si32(_mm_srli_si128(bytes, 4));
        std::memcpy(out + x * 3, &a, 4);
        std::memcpy(out + x * 3 + 3, &b, 4);
    }
    return x;
}
#endif

}  // namespace

void ShrinkAcross(const std::uint16_t* sums, std::size_t outWidth, const int* starts, const std::uint32_t* weights,
                  int pairs, BYTE* out) {
    std::size_t x = 0;
#ifdef QUORL_AREA_SSE2
    switch (pairs) {
    case 1: x = ShrinkAcrossVector<1>(sums, outWidth, starts, weights, pairs, out); break;
    case 2: x = ShrinkAcrossVector<2>(sums, outWidth, starts, weights, pairs, out); break;
    default: x = ShrinkAcrossVector<0>(sums, outWidth, starts, weights, pairs, out); break;
    }
#endif
    for (; x < outWidth; ++x)
        ShrinkPixel(sums, starts[x], weights + x * kPairWeightValues * std::size_t(pairs), pairs, out + x * 3);
}
