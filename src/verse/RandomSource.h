#pragma once
#include <cstdint>

// The verse book's own random source: a 32-bit linear congruential generator
// whose draws are bits 16..30 of the new state (0..32767). It is private to
// the verse book, so a fixed seed replays the same verses.
class RandomSource {
public:
    void Seed(std::uint32_t seed) { state_ = seed; }
    int Next() {
        state_ = state_ * 214013u + 2531011u;
        return int((state_ >> 16) & 0x7FFF);
    }

private:
    std::uint32_t state_ = 0;
};
