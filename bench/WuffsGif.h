#pragma once
// Decodes the first frame of a GIF held in memory with Wuffs: width * height *
// 3 bytes, blue-green-red, top row first, to be released with free(); null on
// failure.
#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif
unsigned char* WuffsDecodeGif(const unsigned char* data, size_t size, int* width, int* height);
#ifdef __cplusplus
}
#endif
