#include "platform/wayland/WaylandWindowSystem.h"

#include "platform/wayland/WaylandHost.h"
#include "platform/window/WaylandSaver.h"
#include "platform/window/Wnd.h"
#include "fractional-scale-v1-client.h"
#include "viewporter-client.h"
#include "wlr-layer-shell-unstable-v1-client.h"
#include "xdg-output-unstable-v1-client.h"

#include <wayland-client.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {

constexpr std::uint32_t kButtonLeft = 0x110, kButtonRight = 0x111, kButtonMiddle = 0x112;  // linux/input-event-codes.h

void Ignore() {}

const wl_output_listener kOutputListener = {
    [](void* data, wl_output*, int32_t x, int32_t y, int32_t, int32_t, int32_t, const char*, const char*,
       int32_t transform) {
        auto* output = static_cast<WaylandWindowSystem::Output*>(data);
        if (!output->layout) {
            output->x = x;
            output->y = y;
        }
        output->transform = transform;
    },
    [](void* data, wl_output*, uint32_t flags, int32_t width, int32_t height, int32_t) {
        if (!(flags & WL_OUTPUT_MODE_CURRENT))
            return;
        auto* output = static_cast<WaylandWindowSystem::Output*>(data);
        output->modeWidth = width;
        output->modeHeight = height;
    },
    [](void* data, wl_output*) { static_cast<WaylandWindowSystem::Output*>(data)->system->MonitorsChanged(); },
    [](void* data, wl_output*, int32_t factor) {
        static_cast<WaylandWindowSystem::Output*>(data)->scale = std::clamp(factor, 1, 16);
    },
    [](void*, wl_output*, const char*) { Ignore(); },
    [](void*, wl_output*, const char*) { Ignore(); },
};

const zxdg_output_v1_listener kLayoutListener = {
    [](void* data, zxdg_output_v1*, int32_t x, int32_t y) {
        auto* output = static_cast<WaylandWindowSystem::Output*>(data);
        output->x = x;
        output->y = y;
        output->placed = true;
    },
    [](void*, zxdg_output_v1*, int32_t, int32_t) { Ignore(); },
    [](void* data, zxdg_output_v1*) { static_cast<WaylandWindowSystem::Output*>(data)->system->MonitorsChanged(); },
    [](void*, zxdg_output_v1*, const char*) { Ignore(); },
    [](void*, zxdg_output_v1*, const char*) { Ignore(); },
};

}  // namespace

// The seat's listeners: input turns into messages for the window under it,
// delivered from the loop (a handler may take windows down).
struct SeatListeners {
    static WaylandWindowSystem& System(void* data) { return *static_cast<WaylandWindowSystem*>(data); }

    static void PostPointer(WaylandWindowSystem& system, wl_surface* surface, UINT message, wl_fixed_t x,
                            wl_fixed_t y) {
        WaylandHost* host = system.HostOf(surface);
        if (!host)
            return;
        // Device pixels, as every position the window is told.
        const double scale = host->ScaleFactor();
        const int dx = int(std::lround(wl_fixed_to_double(x) * scale));
        const int dy = int(std::lround(wl_fixed_to_double(y) * scale));
        system.Post(host, message, 0, MAKELPARAM(dx, dy));
    }

    static const wl_seat_listener seat;
    static const wl_keyboard_listener keyboard;
    static const wl_pointer_listener pointer;
    static const wl_touch_listener touch;
};

const wl_seat_listener SeatListeners::seat = {
    [](void* data, wl_seat*, uint32_t capabilities) { System(data).SeatCapabilities(capabilities); },
    [](void*, wl_seat*, const char*) { Ignore(); },
};

const wl_keyboard_listener SeatListeners::keyboard = {
    [](void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t) { ::close(fd); },  // keys need no keymap to end the saver
    [](void* data, wl_keyboard*, uint32_t, wl_surface* surface, wl_array*) { System(data).m_keyboardSurface = surface; },
    [](void* data, wl_keyboard*, uint32_t, wl_surface* surface) {
        if (System(data).m_keyboardSurface == surface)
            System(data).m_keyboardSurface = nullptr;
    },
    [](void* data, wl_keyboard*, uint32_t, uint32_t, uint32_t key, uint32_t state) {
        if (state != WL_KEYBOARD_KEY_STATE_PRESSED)
            return;
        WaylandWindowSystem& system = System(data);
        WaylandHost* host = system.HostOf(system.m_keyboardSurface);
        if (!host && !system.m_hosts.empty())
            host = system.m_hosts.front();
        if (host)
            system.Post(host, WM_KEYDOWN, WPARAM(key & 0xFFFF), MAKELPARAM(1, 0));
    },
    [](void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) { Ignore(); },
    [](void*, wl_keyboard*, int32_t, int32_t) { Ignore(); },
};

const wl_pointer_listener SeatListeners::pointer = {
    [](void* data, wl_pointer* pointer, uint32_t serial, wl_surface* surface, wl_fixed_t x, wl_fixed_t y) {
        WaylandWindowSystem& system = System(data);
        system.m_pointerSurface = surface;
        if (!system.HostOf(surface))
            return;
        wl_pointer_set_cursor(pointer, serial, nullptr, 0, 0);  // no pointer over the saver
        // Where the pointer is when the window appears under it: its first position.
        PostPointer(system, surface, WM_MOUSEMOVE, x, y);
    },
    [](void* data, wl_pointer*, uint32_t, wl_surface* surface) {
        if (System(data).m_pointerSurface == surface)
            System(data).m_pointerSurface = nullptr;
    },
    [](void* data, wl_pointer*, uint32_t, wl_fixed_t x, wl_fixed_t y) {
        PostPointer(System(data), System(data).m_pointerSurface, WM_MOUSEMOVE, x, y);
    },
    [](void* data, wl_pointer*, uint32_t, uint32_t, uint32_t button, uint32_t state) {
        if (state != WL_POINTER_BUTTON_STATE_PRESSED)
            return;
        WaylandWindowSystem& system = System(data);
        const UINT message = button == kButtonRight    ? WM_RBUTTONDOWN
                             : button == kButtonMiddle ? WM_MBUTTONDOWN
                                                       : WM_LBUTTONDOWN;
        (void)kButtonLeft;  // and every other button: a press ends the saver all the same
        if (WaylandHost* host = system.HostOf(system.m_pointerSurface))
            system.Post(host, message, 0, 0);
    },
    [](void*, wl_pointer*, uint32_t, uint32_t, wl_fixed_t) { Ignore(); },
    [](void*, wl_pointer*) { Ignore(); },
    [](void*, wl_pointer*, uint32_t) { Ignore(); },
    [](void*, wl_pointer*, uint32_t, uint32_t) { Ignore(); },
    [](void*, wl_pointer*, uint32_t, int32_t) { Ignore(); },
    [](void*, wl_pointer*, uint32_t, int32_t) { Ignore(); },
};

const wl_touch_listener SeatListeners::touch = {
    [](void* data, wl_touch*, uint32_t, uint32_t, wl_surface* surface, int32_t, wl_fixed_t x, wl_fixed_t y) {
        PostPointer(System(data), surface, WM_LBUTTONDOWN, x, y);
    },
    [](void*, wl_touch*, uint32_t, uint32_t, int32_t) { Ignore(); },
    [](void*, wl_touch*, uint32_t, int32_t, wl_fixed_t, wl_fixed_t) { Ignore(); },
    [](void*, wl_touch*) { Ignore(); },
    [](void*, wl_touch*) { Ignore(); },
    [](void*, wl_touch*, int32_t, wl_fixed_t, wl_fixed_t) { Ignore(); },
    [](void*, wl_touch*, int32_t, wl_fixed_t) { Ignore(); },
};

namespace {

const wl_registry_listener kRegistryListener = {
    [](void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
        WaylandWindowSystem::Global(data, registry, name, interface, version);
    },
    [](void* data, wl_registry* registry, uint32_t name) { WaylandWindowSystem::GlobalRemove(data, registry, name); },
};

}  // namespace

RECT WaylandWindowSystem::Output::DeviceRect() const {
    // A quarter turn swaps the mode's sides.
    const bool turned = transform % 2 == 1;
    const int width = turned ? modeHeight : modeWidth;
    const int height = turned ? modeWidth : modeHeight;
    return RECT{x, y, x + width, y + height};
}

std::unique_ptr<WaylandWindowSystem> WaylandWindowSystem::Connect(bool& noLayerShell) {
    noLayerShell = false;
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        return nullptr;
    std::unique_ptr<WaylandWindowSystem> system(new WaylandWindowSystem);
    system->m_display.reset(display);
    const char* name = std::getenv("WAYLAND_DISPLAY");
    system->m_name = name && *name ? name : "wayland-0";
    system->m_registry.reset(wl_display_get_registry(display));
    wl_registry_add_listener(system->m_registry.get(), &kRegistryListener, system.get());
    // The globals, then what the outputs and the seat say of themselves.
    if (wl_display_roundtrip(display) < 0 || wl_display_roundtrip(display) < 0)
        return nullptr;
    if (!system->m_layerShell || !system->m_compositor || !system->m_shm) {
        noLayerShell = true;
        return nullptr;
    }
    system->m_wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (system->m_wakeFd < 0)
        return nullptr;
    return system;
}

WaylandWindowSystem::~WaylandWindowSystem() {
    // The windows are gone by now (main ends them first); the protocol
    // objects go with their members.
    if (m_wakeFd >= 0)
        ::close(m_wakeFd);
}

void WaylandWindowSystem::Global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
                                 std::uint32_t version) {
    auto* system = static_cast<WaylandWindowSystem*>(data);
    const std::string which = interface;
    if (which == wl_compositor_interface.name && !system->m_compositor) {
        system->m_compositorVersion = std::min(version, 4u);
        system->m_compositor.reset(static_cast<wl_compositor*>(
            wl_registry_bind(registry, name, &wl_compositor_interface, system->m_compositorVersion)));
    } else if (which == wl_shm_interface.name && !system->m_shm) {
        system->m_shm.reset(static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1)));
    } else if (which == zwlr_layer_shell_v1_interface.name && !system->m_layerShell) {
        // Version 1 is enough: exclusive keyboard interactivity is its "true".
        system->m_layerShell.reset(static_cast<zwlr_layer_shell_v1*>(
            wl_registry_bind(registry, name, &zwlr_layer_shell_v1_interface, 1)));
    } else if (which == wl_output_interface.name) {
        auto output = std::make_unique<Output>();
        output->system = system;
        output->name = name;
        output->version = std::min(version, 2u);
        output->proxy.reset(
            static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, output->version)));
        wl_output_add_listener(output->proxy.get(), &kOutputListener, output.get());
        system->WatchLayout(*output);
        system->m_outputs.push_back(std::move(output));
        system->m_monitorsDirty = true;
    } else if (which == zxdg_output_manager_v1_interface.name && !system->m_outputLayout) {
        system->m_outputLayout.reset(static_cast<zxdg_output_manager_v1*>(
            wl_registry_bind(registry, name, &zxdg_output_manager_v1_interface, std::min(version, 2u))));
        for (auto& output : system->m_outputs)
            system->WatchLayout(*output);
    } else if (which == wp_fractional_scale_manager_v1_interface.name && !system->m_fractionalScale) {
        system->m_fractionalScale.reset(static_cast<wp_fractional_scale_manager_v1*>(
            wl_registry_bind(registry, name, &wp_fractional_scale_manager_v1_interface, 1)));
    } else if (which == wp_viewporter_interface.name && !system->m_viewporter) {
        system->m_viewporter.reset(
            static_cast<wp_viewporter*>(wl_registry_bind(registry, name, &wp_viewporter_interface, 1)));
    } else if (which == wl_seat_interface.name && !system->m_seat) {
        system->BindSeat(name, version);
    }
}

void WaylandWindowSystem::GlobalRemove(void* data, wl_registry*, std::uint32_t name) {
    auto* system = static_cast<WaylandWindowSystem*>(data);
    std::erase_if(system->m_outputs, [&](const std::unique_ptr<Output>& output) {
        if (output->name != name)
            return false;
        system->m_monitorsDirty = true;
        return true;
    });
}

void WaylandWindowSystem::WatchLayout(Output& output) {
    if (!m_outputLayout || output.layout)
        return;
    output.layout.reset(zxdg_output_manager_v1_get_xdg_output(m_outputLayout.get(), output.proxy.get()));
    output.placed = false;
    zxdg_output_v1_add_listener(output.layout.get(), &kLayoutListener, &output);
}

void WaylandWindowSystem::BindSeat(std::uint32_t name, std::uint32_t version) {
    m_seat.reset(
        static_cast<wl_seat*>(wl_registry_bind(m_registry.get(), name, &wl_seat_interface, std::min(version, 5u))));
    wl_seat_add_listener(m_seat.get(), &SeatListeners::seat, this);
}

namespace {

// Keeps `device` while the seat has it: made, with its listener, when the
// seat gains it, released when the seat loses it.
template <class Device, class Listener>
void FollowDevice(WaylandPtr<Device>& device, bool has, Device* (*get)(wl_seat*), wl_seat* seat,
                  int (*listen)(Device*, const Listener*, void*), const Listener& listener, void* data) {
    if (has && !device) {
        device.reset(get(seat));
        listen(device.get(), &listener, data);
    } else if (!has) {
        device.reset();
    }
}

}  // namespace

void WaylandWindowSystem::SeatCapabilities(std::uint32_t capabilities) {
    FollowDevice(m_keyboard, capabilities & WL_SEAT_CAPABILITY_KEYBOARD, wl_seat_get_keyboard, m_seat.get(),
                 wl_keyboard_add_listener, SeatListeners::keyboard, this);
    FollowDevice(m_pointer, capabilities & WL_SEAT_CAPABILITY_POINTER, wl_seat_get_pointer, m_seat.get(),
                 wl_pointer_add_listener, SeatListeners::pointer, this);
    FollowDevice(m_touch, capabilities & WL_SEAT_CAPABILITY_TOUCH, wl_seat_get_touch, m_seat.get(),
                 wl_touch_add_listener, SeatListeners::touch, this);
}

const WaylandWindowSystem::Output* WaylandWindowSystem::FindOutput(std::uint32_t name) const {
    for (const auto& output : m_outputs)
        if (output->name == name)
            return output.get();
    return nullptr;
}

WaylandHost* WaylandWindowSystem::HostOf(wl_surface* surface) const {
    if (!surface)
        return nullptr;
    for (WaylandHost* host : m_hosts)
        if (host->Surface() == surface)
            return host;
    return nullptr;
}

std::unique_ptr<IWindowHost> WaylandWindowSystem::CreateHost(CWnd& wnd, DWORD, DWORD, const RECT& rect,
                                                             HWND parent) {
    if (parent != 0)
        return nullptr;  // previews and hosted windows are X11 windows
    // The output the rectangle covers, else the one its top-left corner is on.
    const Output* chosen = nullptr;
    for (const auto& output : m_outputs) {
        if (!output->Usable())
            continue;
        const RECT device = output->DeviceRect();
        if (device == rect) {
            chosen = output.get();
            break;
        }
        if (!chosen && rect.left >= device.left && rect.left < device.right && rect.top >= device.top &&
            rect.top < device.bottom)
            chosen = output.get();
    }
    if (!chosen)
        return nullptr;
    return WaylandHost::Create(*this, wnd, *chosen);
}

int WaylandWindowSystem::GetSystemMetrics(int index) {
    const std::vector<RECT> monitors = MonitorRects();
    if (monitors.empty())
        return 0;
    const RECT& first = monitors.front();
    return index == SM_CXSCREEN ? first.right - first.left : index == SM_CYSCREEN ? first.bottom - first.top : 0;
}

void WaylandWindowSystem::PostQuitMessage(int exitCode) {
    if (!m_quit)
        m_quit = exitCode;
}

std::vector<RECT> WaylandWindowSystem::MonitorRects() {
    // Wayland names no primary output: the first the compositor announced
    // comes first.
    std::vector<RECT> rects;
    for (const auto& output : m_outputs)
        if (output->Usable())
            rects.push_back(output->DeviceRect());
    return rects;
}

void WaylandWindowSystem::WatchMonitors(std::function<void()> changed) {
    m_monitorsChanged = std::move(changed);
    m_monitorsDirty = false;
}

void WaylandWindowSystem::PostTask(std::function<void()> task) {
    m_tasks.Push(std::move(task));
    const std::uint64_t one = 1;
    if (m_wakeFd >= 0)
        (void)!::write(m_wakeFd, &one, sizeof one);
}

void WaylandWindowSystem::Post(WaylandHost* host, UINT message, WPARAM wParam, LPARAM lParam) {
    m_posted.push_back(Posted{host, message, wParam, lParam});
}

void WaylandWindowSystem::StartTimer(WaylandHost* host, UINT id, UINT elapse) {
    StopTimer(host, id);
    const std::chrono::milliseconds period(elapse);
    m_timers.push_back(Timer{host, id, period, Clock::now() + period});
}

bool WaylandWindowSystem::StopTimer(WaylandHost* host, UINT id) {
    return std::erase_if(m_timers, [&](const Timer& t) { return t.host == host && t.id == id; }) > 0;
}

void WaylandWindowSystem::Forget(WaylandHost* host) {
    std::erase(m_hosts, host);
    std::erase_if(m_timers, [&](const Timer& t) { return t.host == host; });
    std::erase_if(m_posted, [&](const Posted& p) { return p.host == host; });
}

void WaylandWindowSystem::SurfaceClosed(std::uint32_t outputName) {
    for (auto& output : m_outputs)
        if (output->name == outputName)
            output->closed = true;
    m_monitorsDirty = true;
}

bool WaylandWindowSystem::RunDue() {
    m_tasks.RunAll();
    // The messages queued so far; those their handlers post wait for the next turn.
    for (std::size_t n = m_posted.size(); n > 0 && !m_posted.empty() && !m_quit; --n) {
        const Posted p = m_posted.front();
        m_posted.pop_front();
        p.host->Deliver(p.message, p.wParam, p.lParam);
    }
    const Clock::time_point now = Clock::now();
    std::vector<std::pair<WaylandHost*, UINT>> due;
    for (Timer& timer : m_timers) {
        if (timer.due > now)
            continue;
        due.emplace_back(timer.host, timer.id);
        timer.due = now + timer.period;
    }
    for (const auto& [host, id] : due) {
        if (m_quit)
            break;
        // A handler before this one may have stopped it, or its window.
        if (std::any_of(m_timers.begin(), m_timers.end(), [&](const Timer& t) { return t.host == host && t.id == id; }))
            host->Deliver(WM_TIMER, id, 0);
    }
    if (m_monitorsDirty && !m_quit) {
        m_monitorsDirty = false;
        if (m_monitorsChanged)
            m_monitorsChanged();
        // A compositor may lose what the other outputs showed when the layout
        // changes (sway 1.7 then repaints only new damage over black): every
        // surface sends one whole frame again.
        for (WaylandHost* host : m_hosts)
            host->SendWhole();
    }
    for (WaylandHost* host : std::vector<WaylandHost*>(m_hosts))
        host->Present();
    return !m_quit;
}

int WaylandWindowSystem::Lost() {
    // As with a lost X display: one line, and an end before any window or
    // object is taken down over a connection that no longer exists.
    std::fprintf(stderr, "quorl: lost the connection to the Wayland compositor \"%s\"\n", m_name.c_str());
    std::fflush(stderr);
    ::_exit(1);
}

int WaylandWindowSystem::Run() {
    const int fd = wl_display_get_fd(m_display.get());
    for (;;) {
        if (!RunDue())
            break;
        while (wl_display_prepare_read(m_display.get()) != 0)
            if (wl_display_dispatch_pending(m_display.get()) < 0)
                return Lost();
        if (wl_display_flush(m_display.get()) < 0 && errno != EAGAIN) {
            wl_display_cancel_read(m_display.get());
            return Lost();
        }
        int timeout = -1;
        if (!m_posted.empty() || m_monitorsDirty) {
            timeout = 0;
        } else if (!m_timers.empty()) {
            const auto next = std::min_element(m_timers.begin(), m_timers.end(),
                                               [](const Timer& a, const Timer& b) { return a.due < b.due; })->due;
            const auto wait = std::chrono::ceil<std::chrono::milliseconds>(next - Clock::now()).count();
            timeout = int(std::clamp<std::int64_t>(wait, 0, 0x7FFFFFFF));
        }
        pollfd fds[2] = {{fd, POLLIN, 0}, {m_wakeFd, POLLIN, 0}};
        if (::poll(fds, 2, timeout) < 0 && errno != EINTR) {
            wl_display_cancel_read(m_display.get());
            return Lost();
        }
        if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            if (wl_display_read_events(m_display.get()) < 0)
                return Lost();
        } else {
            wl_display_cancel_read(m_display.get());
        }
        if (wl_display_dispatch_pending(m_display.get()) < 0)
            return Lost();
        if (fds[1].revents & POLLIN) {
            std::uint64_t count;
            (void)!::read(m_wakeFd, &count, sizeof count);
        }
    }
    // The frames drawn last reach the compositor; the windows go with main's end.
    wl_display_flush(m_display.get());
    return *m_quit;
}

WaylandSaverChoice ConnectWaylandSaver() {
    WaylandSaverChoice choice;
    const char* forced = std::getenv("QUORL_DISPLAY");
    const std::string force = forced ? forced : "";
    if (force == "x11")
        return choice;
    const bool insist = force == "wayland";
    const char* name = std::getenv("WAYLAND_DISPLAY");
    if (!insist && (!name || !*name))
        return choice;
    bool noLayerShell = false;
    std::unique_ptr<WaylandWindowSystem> system = WaylandWindowSystem::Connect(noLayerShell);
    const std::string shown = name && *name ? name : "wayland-0";
    if (system) {
        choice.system = std::move(system);
    } else if (noLayerShell) {
        if (insist) {
            std::fprintf(stderr, "quorl: the Wayland compositor \"%s\" offers no layer shell\n", shown.c_str());
            choice.failed = true;
        } else {
            std::fprintf(stderr,
                         "quorl: the Wayland compositor \"%s\" offers no layer shell: the saver runs in XWayland "
                         "windows\n",
                         shown.c_str());
        }
    } else if (insist) {
        std::fprintf(stderr, "quorl: cannot connect to the Wayland compositor \"%s\"\n", shown.c_str());
        choice.failed = true;
    }
    return choice;
}

int RunWaylandLoop(IWindowSystem& system) { return static_cast<WaylandWindowSystem&>(system).Run(); }
