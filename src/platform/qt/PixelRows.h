#pragma once
// Row conversion for device-independent bitmaps: blue, green, red bytes to
// 0x00RRGGBB framebuffer words. A full-screen picture goes through this once
// per verse step, so it has to run at memory speed.
#include <cstddef>
#include <cstdint>

// One row in plain C++, for any processor.
void ConvertBgrRowPortable(const std::uint8_t* source, std::uint32_t* target, std::int64_t count);

// `rows` rows of `count` pixels each; row r is read from source + r *
// sourceStride (negative for bottom-up bitmaps) and written to target + r *
// targetStride words. Uses the fastest form this processor supports.
void ConvertBgrRows(const std::uint8_t* source, std::ptrdiff_t sourceStride, std::uint32_t* target,
                    std::ptrdiff_t targetStride, std::int64_t count, std::int64_t rows);
