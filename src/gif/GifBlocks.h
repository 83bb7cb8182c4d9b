#pragma once
// The routines below GIFRead that read the file's blocks.
#include "gif/GifDecoderState.h"
#include "gif/GifStream.h"

// Reads `count` entries of 3 bytes (red, green, blue) into `table`. Returns 1,
// or 0 when the file ends first; the entries read before that are kept.
int GIFReadColorTable(GifStream& stream, int count, GIFColorTable& table);

// Skips an extension's sub-blocks, whatever its label: no field of any
// extension changes the picture. Returns 0.
int GIFSkipExtension(GifStream& stream, int label);

// Reads one sub-block into `buffer` (room for 255 bytes). Returns its length,
// or -1 when the file ends first (then nothing is stored).
int GIFReadSubBlock(GifStream& stream, BYTE* buffer);

// Decodes the image data into `picture` (width * height * 3 bytes, width and
// height above 0) with the colours of `colors`, and makes the pixels the data
// does not reach black. Returns 0 only when the data cannot be started;
// damaged data ends the picture early instead.
int GIFReadImage(GifStream& stream, BYTE* picture, int width, int height, const GIFColorTable& colors,
                 bool interlaced);
