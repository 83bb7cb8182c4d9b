#pragma once
// The inner loops of shrinking a picture by area averaging, down then across:
// each source row is weighed into the one or two kept rows it covers as it
// arrives, and a kept row, once complete, is averaged across into its bytes.
// Weights are in 1/256ths both ways, so a sum of weighed bytes fits 16 bits
// and the loops run on 16-bit lanes.
#include "platform/WinTypes.h"

#include <cstddef>
#include <cstdint>

constexpr int kAreaWeightOne = 256;

// sums[i] = weight * row[i] for the first source row of a kept row, then
// sums[i] += weight * row[i] for the others; a kept row's weights add up to
// kAreaWeightOne.
void StartDown(std::uint16_t* sums, const BYTE* row, unsigned weight, std::size_t count);
void AddDown(std::uint16_t* sums, const BYTE* row, unsigned weight, std::size_t count);

// The columns of a complete kept row of `inWidth` three-channel pixels
// (`sums`, which this halves in place, with at least 8 readable values past
// the row) averaged across into `outWidth` pixels of `out`. Kept pixel x
// weighs the 2 * `pairs` source pixels from starts[x]; weights[x * pairs + p]
// holds the weights of the p-th two of them, the first in the low 16 bits.
void ShrinkAcross(std::uint16_t* sums, std::size_t inWidth, std::size_t outWidth, const int* starts,
                  const std::uint32_t* weights, int pairs, BYTE* out);
