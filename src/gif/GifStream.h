#pragma once
// Sequential reading of a GIF file through a caller-owned buffer, many bytes
// at a time, with the results of reading it a few bytes at a time through the
// runtime's buffered stream: every read either gets all the bytes it asked for
// or fails, and once a read has failed the file is used up. The file counts
// as ending after `limit` bytes, or as soon as `*stop` is set.
#include "platform/WinTypes.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

class GifStream {
public:
    // `file` must stay open while the stream is used; the stream does not own it.
    GifStream(std::FILE* file, BYTE* buffer, std::size_t capacity, std::uint64_t limit = UINT64_MAX,
              const std::atomic<bool>* stop = nullptr);
    GifStream(const GifStream&) = delete;
    GifStream& operator=(const GifStream&) = delete;

    // Reads `count` bytes (at most the buffer's capacity) into `out`. When fewer
    // are left, stores nothing, consumes the rest of the file and returns false.
    bool Read(BYTE* out, std::size_t count) {
        if (std::size_t(m_end - m_next) >= count) {
            std::memcpy(out, m_next, count);
            m_next += count;
            return true;
        }
        return ReadSlow(out, count);
    }

    // The next byte, or -1 at the end of the file.
    int ReadByte() {
        if (m_next < m_end)
            return *m_next++;
        BYTE byte = 0;
        return ReadSlow(&byte, 1) ? byte : -1;
    }

    // Lets `more` bytes beyond the limit be read.
    void Allow(std::uint64_t more) { m_left = more > UINT64_MAX - m_left ? UINT64_MAX : m_left + more; }

private:
    bool ReadSlow(BYTE* out, std::size_t count);

    std::FILE* m_file;
    BYTE* m_buffer;
    std::size_t m_capacity;
    const BYTE* m_next;
    const BYTE* m_end;
    std::uint64_t m_left;  // bytes that may still be taken from the file
    const std::atomic<bool>* m_stop;
    bool m_atEnd = false;
};
