#pragma once
// A deliberately plain GIF decoder to check the real one against: one colour
// index per call, strings pushed and popped one byte at a time, codes built
// bit by bit, a file of bytes read a few at a time. It keeps its own state
// across calls (the global colour table and the bit buffer's leftovers), so a
// sequence of files must give the real decoder and this one the same results.
// It makes the same choices as the real decoder where the format leaves them
// open (limits, damaged tables, a bit reader that falls behind its data).
#include "platform/WinTypes.h"

#include <memory>
#include <string>

namespace testing_support {

class ReferenceGifDecoder {
public:
    ReferenceGifDecoder();
    ~ReferenceGifDecoder();

    // Decodes the file held in `bytes` whose path is `path` (used in messages).
    std::unique_ptr<BYTE[]> Decode(const std::string& path, const std::string& bytes, int& width, int& height,
                                   std::string& error);

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace testing_support
