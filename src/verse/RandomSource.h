#pragma once
#include <cstdint>

// The verse book's own random source: a 32-bit linear congruential generator
// whose draws are bits 16..30 of the new state (0..32767). It is private to
// the verse book, so a fixed seed replays the same verses.
class RandomSource {
public:
    void Seed(std::uint32_t seed) { m_state = seed; }
    int Next() {
        m_state = m_state * 214013u + 2531011u;
        return int((m_state >> 16) & 0x7FFF);
    }

private:
    std::uint32_t m_state = 0;
};
