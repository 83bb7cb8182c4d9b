#pragma once
// Quorl's GIF decoder: the background pictures are GIF files, and this is the
// only picture format the saver reads.
#include "platform/WinTypes.h"

#include <atomic>
#include <memory>
#include <string>

// Decodes the first image of the file: width*height*3 bytes, blue-green-red, top row first. Null on failure, with
// the reason in `error` (replaced whole); width/height written only on success.
//
// A success can also replace `error`, with the one warning (a pixel aspect
// other than square); otherwise `error` is left as it was. The global colour
// table of each file is kept for later files that have no table of their own.
// Not re-entrant: the decoder's working state is one record for the process.
//
// What one file may cost is bounded: at most 16 MiB are read before the
// image, and then at most 2 bytes a pixel (far more than a 12-bit code per
// pixel needs) and 64 KiB; beyond that the file counts as ended. Setting
// `*stop` ends the decoding soon, as a failure.
std::unique_ptr<BYTE[]> GIFRead(std::string path, int& width, int& height, std::string& error,
                                const std::atomic<bool>* stop = nullptr);
