#pragma once
// Ownership of the compositor's protocol objects. Each goes by a request of
// its own (a destroy, or the display's disconnect); held in a WaylandPtr it
// goes exactly once, when its owner does or when it is reset, so no owner
// keeps a destroy chain in step with its members. Role objects must go before
// their surface and every object before the display: owners declare them in
// the opposite order.
#include <memory>

struct wl_buffer;
struct wl_callback;
struct wl_compositor;
struct wl_display;
struct wl_keyboard;
struct wl_output;
struct wl_pointer;
struct wl_registry;
struct wl_seat;
struct wl_shm;
struct wl_surface;
struct wl_touch;
struct wp_fractional_scale_manager_v1;
struct wp_fractional_scale_v1;
struct wp_viewport;
struct wp_viewporter;
struct zwlr_layer_shell_v1;
struct zwlr_layer_surface_v1;
struct zxdg_output_manager_v1;
struct zxdg_output_v1;

struct WaylandRelease {
    void operator()(wl_buffer*) const;
    void operator()(wl_callback*) const;
    void operator()(wl_compositor*) const;
    void operator()(wl_display*) const;
    void operator()(wl_keyboard*) const;
    void operator()(wl_output*) const;
    void operator()(wl_pointer*) const;
    void operator()(wl_registry*) const;
    void operator()(wl_seat*) const;
    void operator()(wl_shm*) const;
    void operator()(wl_surface*) const;
    void operator()(wl_touch*) const;
    void operator()(wp_fractional_scale_manager_v1*) const;
    void operator()(wp_fractional_scale_v1*) const;
    void operator()(wp_viewport*) const;
    void operator()(wp_viewporter*) const;
    void operator()(zwlr_layer_shell_v1*) const;
    void operator()(zwlr_layer_surface_v1*) const;
    void operator()(zxdg_output_manager_v1*) const;
    void operator()(zxdg_output_v1*) const;
};

template <class T>
using WaylandPtr = std::unique_ptr<T, WaylandRelease>;
