#include "platform/wayland/WaylandHost.h"

#include "fractional-scale-v1-client.h"
#include "platform/window/Wnd.h"
#include "viewporter-client.h"
#include "wlr-layer-shell-unstable-v1-client.h"

#include <wayland-client.h>

#include <algorithm>
#include <cmath>

namespace {

const zwlr_layer_surface_v1_listener kLayerListener = {
    [](void* data, zwlr_layer_surface_v1* layer, std::uint32_t serial, std::uint32_t width, std::uint32_t height) {
        WaylandHost::Configure(data, layer, serial, width, height);
    },
    [](void* data, zwlr_layer_surface_v1* layer) { WaylandHost::Closed(data, layer); },
};

const wp_fractional_scale_v1_listener kFractionalListener = {
    [](void* data, wp_fractional_scale_v1* fractional, std::uint32_t scale120) {
        WaylandHost::PreferredScale(data, fractional, scale120);
    },
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
    host->m_fittedScale = host->m_scale;
    host->m_surface.reset(wl_compositor_create_surface(system.Compositor()));
    if (!host->m_surface)
        return nullptr;
    wl_surface* surface = host->m_surface.get();
    host->m_layer.reset(zwlr_layer_shell_v1_get_layer_surface(system.LayerShell(), surface, output.proxy.get(),
                                                              ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "quorl"));
    if (!host->m_layer)
        return nullptr;
    zwlr_layer_surface_v1_add_listener(host->m_layer.get(), &kLayerListener, host.get());
    if (system.FractionalScale()) {
        host->m_fractional.reset(
            wp_fractional_scale_manager_v1_get_fractional_scale(system.FractionalScale(), surface));
        wp_fractional_scale_v1_add_listener(host->m_fractional.get(), &kFractionalListener, host.get());
        host->m_viewport.reset(wp_viewporter_get_viewport(system.Viewporter(), surface));
    }
    // The whole output, under nothing and moved by nothing; every key comes here.
    zwlr_layer_surface_v1* layer = host->m_layer.get();
    zwlr_layer_surface_v1_set_size(layer, 0, 0);
    zwlr_layer_surface_v1_set_anchor(layer,
                                     ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM |
                                         ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT | ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT);
    zwlr_layer_surface_v1_set_exclusive_zone(layer, -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(layer,
                                                     ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
    wl_surface_commit(surface);  // without a buffer: the compositor answers with the size
    system.m_hosts.push_back(host.get());
    return host;
}

WaylandHost::~WaylandHost() { Destroy(); }

void WaylandHost::Destroy() {
    if (m_destroyed)
        return;
    m_destroyed = true;
    m_system.Forget(this);
    // The surface's roles before the surface itself.
    m_frame.reset();
    m_fractional.reset();
    m_viewport.reset();
    m_layer.reset();
    m_surface.reset();
    m_buffers.clear();
}

void WaylandHost::Configure(void* data, zwlr_layer_surface_v1* layer, std::uint32_t serial, std::uint32_t width,
                            std::uint32_t height) {
    auto* host = static_cast<WaylandHost*>(data);
    zwlr_layer_surface_v1_ack_configure(layer, serial);
    host->m_width = width;
    host->m_height = height;
    host->Fit();
}

void WaylandHost::PreferredScale(void* data, wp_fractional_scale_v1*, std::uint32_t scale120) {
    auto* host = static_cast<WaylandHost*>(data);
    if (scale120 == 0 || scale120 > 16 * 120)
        return;  // no scale: the output's stays
    host->m_preferred120 = scale120;
    host->Fit();
}

void WaylandHost::Fit() {
    if (m_width == 0 || m_height == 0)
        return;  // not configured yet
    // Device pixels, as on X11: the surface's size times the scale.
    std::int64_t deviceWidth = 0, deviceHeight = 0;
    const bool fractional = m_viewport && m_preferred120 != 0;
    if (fractional) {
        // The buffer in device pixels, which the viewport shows at the surface's size.
        deviceWidth = (std::int64_t(m_width) * m_preferred120 + 60) / 120;
        deviceHeight = (std::int64_t(m_height) * m_preferred120 + 60) / 120;
    } else {
        if (const WaylandWindowSystem::Output* output = m_system.FindOutput(m_outputName))
            m_scale = std::max(1, output->scale);
        if (m_system.CompositorVersion() < 3)
            m_scale = 1;  // no buffer scale to tell
        deviceWidth = std::int64_t(m_width) * m_scale;
        deviceHeight = std::int64_t(m_height) * m_scale;
    }
    if (deviceWidth <= 0 || deviceHeight <= 0 || deviceWidth > 0x7FFF || deviceHeight > 0x7FFF)
        return;
    // Both take effect with the next buffer.
    if (m_system.CompositorVersion() >= 3)
        wl_surface_set_buffer_scale(m_surface.get(), fractional ? 1 : m_scale);
    if (fractional)
        wp_viewport_set_destination(m_viewport.get(), int(m_width), int(m_height));
    // A new scale at the same size still changes the font and the picture's size.
    if (deviceWidth != m_pixels.Width() || deviceHeight != m_pixels.Height() || ScaleFactor() != m_fittedScale) {
        m_fittedScale = ScaleFactor();
        m_pixels.Resize(int(deviceWidth), int(deviceHeight));
        m_system.Post(this, WM_SIZE, 0, MAKELPARAM(deviceWidth, deviceHeight));
        m_configured = false;  // painted again, whole
    }
    if (!m_configured) {
        m_configured = true;
        m_system.Post(this, WM_PAINT, 0, 0);
    }
}

void WaylandHost::Closed(void* data, zwlr_layer_surface_v1*) {
    auto* host = static_cast<WaylandHost*>(data);
    host->m_configured = false;  // nothing more is shown
    host->m_system.SurfaceClosed(host->m_outputName);
}

void WaylandHost::FrameDone(void* data, wl_callback* callback, std::uint32_t) {
    auto* host = static_cast<WaylandHost*>(data);
    if (host->m_frame.get() == callback)
        host->m_frame.reset();
    else
        wl_callback_destroy(callback);
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
    wl_surface_attach(m_surface.get(), buffer->Buffer(), 0, 0);
    for (const RECT& area : m_damage) {
        if (m_system.CompositorVersion() >= 4) {
            wl_surface_damage_buffer(m_surface.get(), area.left, area.top, area.right - area.left,
                                     area.bottom - area.top);
        } else {
            // Surface coordinates, rounded outwards.
            const double scale = ScaleFactor();
            const int left = int(std::floor(area.left / scale)), top = int(std::floor(area.top / scale));
            wl_surface_damage(m_surface.get(), left, top, int(std::ceil(area.right / scale)) - left,
                              int(std::ceil(area.bottom / scale)) - top);
        }
    }
    m_damage.clear();
    m_frame.reset(wl_surface_frame(m_surface.get()));
    wl_callback_add_listener(m_frame.get(), &kFrameListener, this);
    wl_surface_commit(m_surface.get());
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
