#include "platform/wayland/WaylandHost.h"

#include "platform/window/Wnd.h"
#include "wlr-layer-shell-unstable-v1-client.h"

#include <wayland-client.h>

#include <algorithm>

namespace {

const zwlr_layer_surface_v1_listener kLayerListener = {
    [](void* data, zwlr_layer_surface_v1* layer, std::uint32_t serial, std::uint32_t width, std::uint32_t height) {
        WaylandHost::Configure(data, layer, serial, width, height);
    },
    [](void* data, zwlr_layer_surface_v1* layer) { WaylandHost::Closed(data, layer); },
};

const wl_callback_listener kFrameListener = {
    [](void* data, wl_callback* callback, std::uint32_t time) { WaylandHost::FrameDone(data, callback, time); },
};

// At most this many buffers: one the compositor shows, one being filled.
constexpr std::size_t kMostBuffers = 2;

}  // namespace

std::unique_ptr<WaylandHost> WaylandHost::Create(WaylandWindowSystem& system, CWnd& wnd,
                                                 const WaylandWindowSystem::Output& output) {
    std::unique_ptr<WaylandHost> host(new WaylandHost(system, wnd));
    const RECT device = output.DeviceRect();
    host->m_pixels.Resize(device.right - device.left, device.bottom - device.top);
    host->m_outputName = output.name;
    host->m_scale = std::max(1, output.scale);
    host->m_surface = wl_compositor_create_surface(system.Compositor());
    if (!host->m_surface)
        return nullptr;
    host->m_layer = zwlr_layer_shell_v1_get_layer_surface(system.LayerShell(), host->m_surface, output.proxy,
                                                          ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "quorl");
    if (!host->m_layer)
        return nullptr;
    zwlr_layer_surface_v1_add_listener(host->m_layer, &kLayerListener, host.get());
    // The whole output, under nothing and moved by nothing; every key comes here.
    zwlr_layer_surface_v1_set_size(host->m_layer, 0, 0);
    zwlr_layer_surface_v1_set_anchor(host->m_layer,
                                     ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                                         ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
    zwlr_layer_surface_v1_set_exclusive_zone(host->m_layer, -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(host->m_layer,
                                                     ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
    wl_surface_commit(host->m_surface);  // without a buffer: the compositor answers with the size
    system.m_hosts.push_back(host.get());
    return host;
}

WaylandHost::~WaylandHost() { Destroy(); }

void WaylandHost::Destroy() {
    if (m_destroyed)
        return;
    m_destroyed = true;
    m_system.Forget(this);
    if (m_frame)
        wl_callback_destroy(m_frame);
    m_frame = nullptr;
    if (m_layer)
        zwlr_layer_surface_v1_destroy(m_layer);
    m_layer = nullptr;
    if (m_surface)
        wl_surface_destroy(m_surface);
    m_surface = nullptr;
    m_buffers.clear();
}

void WaylandHost::Configure(void* data, zwlr_layer_surface_v1* layer, std::uint32_t serial, std::uint32_t width,
                            std::uint32_t height) {
    auto* host = static_cast<WaylandHost*>(data);
    zwlr_layer_surface_v1_ack_configure(layer, serial);
    if (const WaylandWindowSystem::Output* output = host->m_system.FindOutput(host->m_outputName))
        host->m_scale = std::max(1, output->scale);
    if (host->m_system.CompositorVersion() >= 3)
        wl_surface_set_buffer_scale(host->m_surface, host->m_scale);
    else
        host->m_scale = 1;
    // Device pixels, as on X11: the surface's size times the output's scale.
    const std::int64_t deviceWidth = std::int64_t(width) * host->m_scale;
    const std::int64_t deviceHeight = std::int64_t(height) * host->m_scale;
    if (deviceWidth > 0 && deviceHeight > 0 && deviceWidth <= 0x7FFF && deviceHeight <= 0x7FFF &&
        (deviceWidth != host->m_pixels.Width() || deviceHeight != host->m_pixels.Height())) {
        host->m_pixels.Resize(int(deviceWidth), int(deviceHeight));
        host->m_system.Post(host, WM_SIZE, 0, MAKELPARAM(deviceWidth, deviceHeight));
        host->m_configured = false;  // painted again, whole
    }
    if (!host->m_configured) {
        host->m_configured = true;
        host->m_system.Post(host, WM_PAINT, 0, 0);
    }
}

void WaylandHost::Closed(void* data, zwlr_layer_surface_v1*) {
    auto* host = static_cast<WaylandHost*>(data);
    host->m_configured = false;  // nothing more is shown
    host->m_system.SurfaceClosed(host->m_outputName);
}

void WaylandHost::FrameDone(void* data, wl_callback* callback, std::uint32_t) {
    auto* host = static_cast<WaylandHost*>(data);
    wl_callback_destroy(callback);
    if (host->m_frame == callback)
        host->m_frame = nullptr;
}

void WaylandHost::Deliver(UINT message, WPARAM wParam, LPARAM lParam) {
    // A paint covers the whole window: what it draws goes out with the next frame.
    if (message == WM_PAINT)
        ShowAll();
    m_wnd.WindowProc(message, wParam, lParam);  // may destroy the window: nothing after this
}

void WaylandHost::Show(const RECT& area) {
    const RECT clipped{std::max<LONG>(area.left, 0), std::max<LONG>(area.top, 0),
                       std::min<LONG>(area.right, m_pixels.Width()), std::min<LONG>(area.bottom, m_pixels.Height())};
    AddArea(m_damage, clipped);
    for (const auto& buffer : m_buffers)
        AddArea(buffer->stale, clipped);
}

void WaylandHost::SendWhole() {
    m_sendWhole = true;
    AddArea(m_damage, Whole());
}

ShmBuffer* WaylandHost::FreeBuffer() {
    for (auto& buffer : m_buffers) {
        if (buffer->busy)
            continue;
        if (buffer->Width() != m_pixels.Width() || buffer->Height() != m_pixels.Height())
            buffer = ShmBuffer::Create(m_system.Shm(), m_pixels.Width(), m_pixels.Height());
        return buffer.get();
    }
    if (m_buffers.size() >= kMostBuffers)
        return nullptr;  // both with the compositor: the next release brings the frame
    m_buffers.push_back(ShmBuffer::Create(m_system.Shm(), m_pixels.Width(), m_pixels.Height()));
    if (!m_buffers.back()) {
        m_buffers.pop_back();
        return nullptr;
    }
    return m_buffers.back().get();
}

void WaylandHost::Present() {
    if (!m_configured || m_frame || m_damage.empty() || !m_surface)
        return;
    ShmBuffer* buffer = FreeBuffer();
    if (!buffer) {
        // A buffer that could not be made is dropped with its slot.
        std::erase_if(m_buffers, [](const std::unique_ptr<ShmBuffer>& b) { return !b; });
        return;
    }
    if (m_sendWhole) {
        buffer->stale.assign(1, Whole());
        m_sendWhole = false;
    }
    buffer->CatchUp(m_pixels);
    wl_surface_attach(m_surface, buffer->Buffer(), 0, 0);
    for (const RECT& area : m_damage) {
        if (m_system.CompositorVersion() >= 4) {
            wl_surface_damage_buffer(m_surface, area.left, area.top, area.right - area.left, area.bottom - area.top);
        } else {
            // Surface coordinates, rounded outwards.
            const int left = area.left / m_scale, top = area.top / m_scale;
            wl_surface_damage(m_surface, left, top, (area.right + m_scale - 1) / m_scale - left,
                              (area.bottom + m_scale - 1) / m_scale - top);
        }
    }
    m_damage.clear();
    m_frame = wl_surface_frame(m_surface);
    wl_callback_add_listener(m_frame, &kFrameListener, this);
    wl_surface_commit(m_surface);
    buffer->busy = true;
}

UINT WaylandHost::SetTimer(UINT id, UINT elapse) {
    if (m_destroyed)
        return 0;
    m_system.StartTimer(this, id, elapse);
    return id;
}

BOOL WaylandHost::KillTimer(UINT id) { return m_system.StopTimer(this, id) ? TRUE : FALSE; }

void WaylandHost::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_destroyed)
        m_system.Post(this, message, wParam, lParam);
}
