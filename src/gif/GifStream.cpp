#include "gif/GifStream.h"

#include <algorithm>

GifStream::GifStream(std::FILE* file, BYTE* buffer, std::size_t capacity, std::uint64_t limit,
                     const std::atomic<bool>* stop)
    : m_file(file), m_buffer(buffer), m_capacity(capacity), m_next(buffer), m_end(buffer), m_left(limit), m_stop(stop) {
    // The stream's own buffer would only be one more copy of every byte, and
    // the runtime would allocate it on the heap: read straight into ours.
    std::setvbuf(m_file, nullptr, _IONBF, 0);
}

bool GifStream::ReadSlow(BYTE* out, std::size_t count) {
    // Keep the unread bytes and fill the buffer behind them, so that a read
    // across the buffer's end is one copy like any other.
    std::size_t have = std::size_t(m_end - m_next);
    std::memmove(m_buffer, m_next, have);
    m_next = m_buffer;
    while (have < count && !m_atEnd) {
        if (m_left == 0 || (m_stop && m_stop->load(std::memory_order_relaxed))) {
            m_atEnd = true;
            break;
        }
        const std::size_t want = std::size_t(std::min<std::uint64_t>(m_capacity - have, m_left));
        const std::size_t got = std::fread(m_buffer + have, 1, want, m_file);
        if (got == 0)
            m_atEnd = true;
        have += got;
        m_left -= got;
    }
    m_end = m_buffer + have;
    if (have < count) {
        m_next = m_end;
        return false;
    }
    std::memcpy(out, m_next, count);
    m_next += count;
    return true;
}
