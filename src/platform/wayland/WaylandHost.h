#pragma once
// One saver window on a Wayland compositor: a layer-shell surface on the
// overlay layer of one output, over all of it, taking the keyboard. The
// framebuffer reaches the compositor through wl_shm buffers; only the areas
// drawn are copied and damaged, one frame per frame callback.
#include "platform/dc/Framebuffer.h"
#include "platform/wayland/ShmBuffer.h"
#include "platform/wayland/WaylandWindowSystem.h"

#include <memory>
#include <vector>


class WaylandHost : public IWindowHost {
public:
    // Null when the compositor gives no surface.
    static std::unique_ptr<WaylandHost> Create(WaylandWindowSystem& system, CWnd& wnd,
                                               const WaylandWindowSystem::Output& output);
    ~WaylandHost() override;

    Framebuffer& Pixels() override { return m_pixels; }
    void Show(const RECT& area) override;
    UINT SetTimer(UINT id, UINT elapse) override;
    BOOL KillTimer(UINT id) override;
    void PostMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Destroy() override;
    // The compositor's fractional scale where it tells one, else the output's.
    double ScaleFactor() const override { return m_preferred120 ? m_preferred120 / 120.0 : m_scale; }

    // Hands `message` to the window; the window may be gone afterwards.
    void Deliver(UINT message, WPARAM wParam, LPARAM lParam);
    void ShowAll() { Show(Whole()); }
    // Sends the whole framebuffer with the next frame, copied whole into its
    // buffer and damaged whole: the compositor may have lost what it showed.
    // The pixels did not change, so the other buffer needs no catching up.
    void SendWhole();
    // Sends what was drawn since the last frame, when the compositor is ready for it.
    void Present();
    wl_surface* Surface() const { return m_surface.get(); }

    // The compositor's events.
    static void Configure(void* data, zwlr_layer_surface_v1*, std::uint32_t serial, std::uint32_t width,
                          std::uint32_t height);
    static void Closed(void* data, zwlr_layer_surface_v1*);
    static void FrameDone(void* data, wl_callback*, std::uint32_t);
    static void PreferredScale(void* data, wp_fractional_scale_v1*, std::uint32_t scale120);

private:
    WaylandHost(WaylandWindowSystem& system, CWnd& wnd) : m_system(system), m_wnd(wnd) {}
    ShmBuffer* FreeBuffer();
    RECT Whole() const { return RECT{0, 0, m_pixels.Width(), m_pixels.Height()}; }
    // Sizes the framebuffer to the surface at the scale in use; a new size is
    // a WM_SIZE and a whole paint.
    void Fit();

    WaylandWindowSystem& m_system;
    CWnd& m_wnd;
    std::uint32_t m_outputName = 0;
    Framebuffer m_pixels;
    // The surface before its roles, which go first.
    WaylandPtr<wl_surface> m_surface;
    WaylandPtr<zwlr_layer_surface_v1> m_layer;
    WaylandPtr<wp_fractional_scale_v1> m_fractional;  // with m_viewport, where the compositor offers both
    WaylandPtr<wp_viewport> m_viewport;
    WaylandPtr<wl_callback> m_frame;  // the compositor has not yet shown the last frame
    std::vector<std::unique_ptr<ShmBuffer>> m_buffers;
    std::vector<RECT> m_damage;  // drawn since the last frame
    int m_scale = 1;  // the output's whole-number scale, the buffer's scale
    std::uint32_t m_preferred120 = 0;  // a fractional scale in 120ths; 0 until the compositor tells one
    std::uint32_t m_width = 0, m_height = 0;  // the surface's size, as configured
    double m_fittedScale = 0;  // the scale the framebuffer was last sized at
    bool m_configured = false;
    bool m_destroyed = false;
    bool m_sendWhole = false;
};
