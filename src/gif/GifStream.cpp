#include "gif/GifStream.h"

#include <algorithm>

GifStream::GifStream(std::FILE* file, BYTE* buffer, std::size_t capacity, std::uint64_t limit,
                     const std::atomic<bool>* stop)
    : file_(file), buffer_(buffer), capacity_(capacity), next_(buffer), end_(buffer), left_(limit), stop_(stop) {
    // The stream's own buffer would only be one more copy of every byte, and
    // the runtime would allocate it on the heap: read straight into ours.
    std::setvbuf(file_, nullptr, _IONBF, 0);
}

bool GifStream::ReadSlow(BYTE* out, std::size_t count) {
    // Keep the unread bytes and fill the buffer behind them, so that a read
    // across the buffer's end is one copy like any other.
    std::size_t have = std::size_t(end_ - next_);
    std::memmove(buffer_, next_, have);
    next_ = buffer_;
    while (have < count && !atEnd_) {
        if (left_ == 0 || (stop_ && stop_->load(std::memory_order_relaxed))) {
            atEnd_ = true;
            break;
        }
        const std::size_t want = std::size_t(std::min<std::uint64_t>(capacity_ - have, left_));
        const std::size_t got = std::fread(buffer_ + have, 1, want, file_);
        if (got == 0)
            atEnd_ = true;
        have += got;
        left_ -= got;
    }
    end_ = buffer_ + have;
    if (have < count) {
        next_ = end_;
        return false;
    }
    std::memcpy(out, next_, count);
    next_ += count;
    return true;
}
