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

// Source row `row` (`count` bytes) weighed into a kept row's sums: `start`
// for its first source row (the sums start from it), `last` for its last,
// which leaves the sums halved, as ShrinkAcross takes them. A kept row's
// weights add up to kAreaWeightOne.
void WeighDown(std::uint16_t* sums, const BYTE* row, unsigned weight, std::size_t count, bool start, bool last);
// The common case of a row that ends one kept row and starts the next.
void SplitDown(std::uint16_t* ending, std::uint16_t* starting, const BYTE* row, unsigned endingWeight,
               unsigned startingWeight, std::size_t count);

// Weights across: kept pixel x weighs the 2 * pairs source pixels from
// starts[x]; Pair(x, p) holds those of the p-th two of them, the first in
// the low 16 bits, four times over (as a vector register takes it).
constexpr std::size_t kPairWeightValues = 4;

// A complete kept row of halved sums (at least 8 readable values past the
// row) averaged across into `outWidth` pixels of `out`.
void ShrinkAcross(const std::uint16_t* sums, std::size_t outWidth, const int* starts, const std::uint32_t* weights,
                  int pairs, BYTE* out);
