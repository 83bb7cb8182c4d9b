#include "platform/wayland/ShmBuffer.h"

#include "platform/dc/Framebuffer.h"

#include <wayland-client.h>

#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

void Released(void* data, wl_buffer*) { static_cast<ShmBuffer*>(data)->busy = false; }

const wl_buffer_listener kBufferListener = {Released};

}  // namespace

void AddArea(std::vector<RECT>& rects, const RECT& area) {
    if (area.right <= area.left || area.bottom <= area.top)
        return;
    constexpr std::size_t kMostAreas = 16;
    if (rects.size() < kMostAreas) {
        rects.push_back(area);
        return;
    }
    RECT box = area;
    for (const RECT& r : rects) {
        box.left = std::min(box.left, r.left);
        box.top = std::min(box.top, r.top);
        box.right = std::max(box.right, r.right);
        box.bottom = std::max(box.bottom, r.bottom);
    }
    rects.assign(1, box);
}

std::unique_ptr<ShmBuffer> ShmBuffer::Create(wl_shm* shm, int width, int height) {
    if (width <= 0 || height <= 0 || std::int64_t(width) * height > Framebuffer::kMaxPixels)
        return nullptr;
    std::unique_ptr<ShmBuffer> buffer(new ShmBuffer);
    const int stride = width * 4;
    buffer->m_size = std::size_t(stride) * std::size_t(height);
    const int fd = ::memfd_create("quorl-frame", MFD_CLOEXEC);
    if (fd < 0)
        return nullptr;
    if (::ftruncate(fd, off_t(buffer->m_size)) != 0) {
        ::close(fd);
        return nullptr;
    }
    void* data = ::mmap(nullptr, buffer->m_size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (data == MAP_FAILED) {
        ::close(fd);
        return nullptr;
    }
    buffer->m_data = static_cast<std::uint32_t*>(data);
    wl_shm_pool* pool = wl_shm_create_pool(shm, fd, int32_t(buffer->m_size));
    buffer->m_buffer.reset(wl_shm_pool_create_buffer(pool, 0, width, height, stride, WL_SHM_FORMAT_XRGB8888));
    wl_shm_pool_destroy(pool);
    ::close(fd);
    wl_buffer_add_listener(buffer->m_buffer.get(), &kBufferListener, buffer.get());
    buffer->m_width = width;
    buffer->m_height = height;
    buffer->stale.push_back(RECT{0, 0, width, height});
    return buffer;
}

ShmBuffer::~ShmBuffer() {
    m_buffer.reset();  // before the memory it shows
    if (m_data)
        ::munmap(m_data, m_size);
}

void ShmBuffer::CatchUp(const Framebuffer& pixels) {
    const int width = std::min(m_width, pixels.Width());
    const int height = std::min(m_height, pixels.Height());
    for (const RECT& area : stale) {
        const int left = std::clamp<int>(area.left, 0, width);
        const int right = std::clamp<int>(area.right, 0, width);
        const int top = std::clamp<int>(area.top, 0, height);
        const int bottom = std::clamp<int>(area.bottom, 0, height);
        if (right <= left)
            continue;
        for (int y = top; y < bottom; ++y)
            std::memcpy(m_data + std::size_t(y) * std::size_t(m_width) + left, pixels.Row(y) + left,
                        std::size_t(right - left) * 4);
    }
    stale.clear();
}
