#include "platform/wayland/WaylandProxy.h"

#include "fractional-scale-v1-client.h"
#include "viewporter-client.h"
#include "wlr-layer-shell-unstable-v1-client.h"
#include "xdg-output-unstable-v1-client.h"

#include <wayland-client.h>

void WaylandRelease::operator()(wl_buffer* p) const { wl_buffer_destroy(p); }
void WaylandRelease::operator()(wl_callback* p) const { wl_callback_destroy(p); }
void WaylandRelease::operator()(wl_compositor* p) const { wl_compositor_destroy(p); }
void WaylandRelease::operator()(wl_display* p) const { wl_display_disconnect(p); }
void WaylandRelease::operator()(wl_keyboard* p) const { wl_keyboard_destroy(p); }
void WaylandRelease::operator()(wl_output* p) const { wl_output_destroy(p); }
void WaylandRelease::operator()(wl_pointer* p) const { wl_pointer_destroy(p); }
void WaylandRelease::operator()(wl_registry* p) const { wl_registry_destroy(p); }
void WaylandRelease::operator()(wl_seat* p) const { wl_seat_destroy(p); }
void WaylandRelease::operator()(wl_shm* p) const { wl_shm_destroy(p); }
void WaylandRelease::operator()(wl_surface* p) const { wl_surface_destroy(p); }
void WaylandRelease::operator()(wl_touch* p) const { wl_touch_destroy(p); }
void WaylandRelease::operator()(wp_fractional_scale_manager_v1* p) const { wp_fractional_scale_manager_v1_destroy(p); }
void WaylandRelease::operator()(wp_fractional_scale_v1* p) const { wp_fractional_scale_v1_destroy(p); }
void WaylandRelease::operator()(wp_viewport* p) const { wp_viewport_destroy(p); }
void WaylandRelease::operator()(wp_viewporter* p) const { wp_viewporter_destroy(p); }
// Version 1 of the layer shell, the one bound, has no destroy request.
void WaylandRelease::operator()(zwlr_layer_shell_v1* p) const { wl_proxy_destroy(reinterpret_cast<wl_proxy*>(p)); }
void WaylandRelease::operator()(zwlr_layer_surface_v1* p) const { zwlr_layer_surface_v1_destroy(p); }
void WaylandRelease::operator()(zxdg_output_manager_v1* p) const { zxdg_output_manager_v1_destroy(p); }
void WaylandRelease::operator()(zxdg_output_v1* p) const { zxdg_output_v1_destroy(p); }
