#pragma once
// The window system of the full-screen saver on a Wayland compositor: the
// outputs are the monitors, each saver window is a layer-shell surface on
// the overlay layer of its output, and the system runs the event loop
// itself (the display's socket, timers, posted messages and tasks).
#include "platform/wayland/WaylandProxy.h"
#include "platform/window/TaskQueue.h"
#include "platform/window/WindowSystem.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class WaylandHost;

class WaylandWindowSystem : public IWindowSystem {
public:
    struct Output {
        WaylandWindowSystem* system = nullptr;
        WaylandPtr<wl_output> proxy;
        WaylandPtr<zxdg_output_v1> layout;  // where the output is in the layout
        std::uint32_t name = 0;  // the registry's name of the global
        std::uint32_t version = 0;
        int x = 0, y = 0;  // in the compositor's layout (wlroots tells it only through xdg-output)
        int modeWidth = 0, modeHeight = 0;  // device pixels
        int transform = 0;
        int scale = 1;
        bool closed = false;  // the compositor closed our surface on it
        bool placed = true;   // false until xdg-output, where offered, has told the position
        bool Usable() const { return placed && !closed && modeWidth > 0 && modeHeight > 0; }
        RECT DeviceRect() const;
    };

    // Connects to the compositor WAYLAND_DISPLAY names; null when there is
    // none, and also (with `noLayerShell` set) when it offers no layer shell.
    static std::unique_ptr<WaylandWindowSystem> Connect(bool& noLayerShell);
    ~WaylandWindowSystem() override;

    int Run();

    // IWindowSystem
    std::unique_ptr<IWindowHost> CreateHost(CWnd& wnd, DWORD exStyle, DWORD style, const RECT& rect,
                                            HWND parent) override;
    bool GetForeignClientRect(HWND, RECT&) override { return false; }  // no foreign windows here
    int GetSystemMetrics(int index) override;
    void PostQuitMessage(int exitCode) override;
    std::vector<RECT> MonitorRects() override;
    void WatchMonitors(std::function<void()> changed) override;
    void PostTask(std::function<void()> task) override;

    // For the hosts.
    wl_compositor* Compositor() const { return m_compositor.get(); }
    std::uint32_t CompositorVersion() const { return m_compositorVersion; }
    wl_shm* Shm() const { return m_shm.get(); }
    zwlr_layer_shell_v1* LayerShell() const { return m_layerShell.get(); }
    // Both or neither: a fractional scale needs a viewport to show the buffer at.
    wp_fractional_scale_manager_v1* FractionalScale() const { return m_viewporter ? m_fractionalScale.get() : nullptr; }
    wp_viewporter* Viewporter() const { return m_fractionalScale ? m_viewporter.get() : nullptr; }
    const Output* FindOutput(std::uint32_t name) const;
    void Post(WaylandHost* host, UINT message, WPARAM wParam, LPARAM lParam);
    void StartTimer(WaylandHost* host, UINT id, UINT elapse);
    bool StopTimer(WaylandHost* host, UINT id);
    void Forget(WaylandHost* host);  // drops its timers and messages
    void SurfaceClosed(std::uint32_t outputName);
    void MonitorsChanged() { m_monitorsDirty = true; }
    static void Global(void* data, wl_registry*, std::uint32_t name, const char* interface, std::uint32_t version);
    static void GlobalRemove(void* data, wl_registry*, std::uint32_t name);

private:
    using Clock = std::chrono::steady_clock;
    struct Timer {
        WaylandHost* host;
        UINT id;
        std::chrono::milliseconds period;
        Clock::time_point due;
    };
    struct Posted {
        WaylandHost* host;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    WaylandWindowSystem() = default;
    void WatchLayout(Output& output);
    void BindSeat(std::uint32_t name, std::uint32_t version);
    void SeatCapabilities(std::uint32_t capabilities);
    WaylandHost* HostOf(wl_surface* surface) const;
    // One turn of the loop's own work; false once the quit message came.
    bool RunDue();
    int Lost();

    friend struct SeatListeners;

    std::string m_name;
    // Declared before everything made through it, so that it goes last.
    WaylandPtr<wl_display> m_display;
    WaylandPtr<wl_registry> m_registry;
    WaylandPtr<wl_compositor> m_compositor;
    std::uint32_t m_compositorVersion = 0;
    WaylandPtr<wl_shm> m_shm;
    WaylandPtr<zwlr_layer_shell_v1> m_layerShell;
    WaylandPtr<zxdg_output_manager_v1> m_outputLayout;
    WaylandPtr<wp_fractional_scale_manager_v1> m_fractionalScale;
    WaylandPtr<wp_viewporter> m_viewporter;
    WaylandPtr<wl_seat> m_seat;
    WaylandPtr<wl_keyboard> m_keyboard;
    WaylandPtr<wl_pointer> m_pointer;
    WaylandPtr<wl_touch> m_touch;
    wl_surface* m_pointerSurface = nullptr;
    wl_surface* m_keyboardSurface = nullptr;
    std::vector<std::unique_ptr<Output>> m_outputs;
    std::vector<WaylandHost*> m_hosts;
    std::vector<Timer> m_timers;
    std::deque<Posted> m_posted;
    TaskQueue m_tasks;
    int m_wakeFd = -1;  // an eventfd: tasks posted from other threads
    std::function<void()> m_monitorsChanged;
    bool m_monitorsDirty = false;
    std::optional<int> m_quit;

    friend class WaylandHost;
};
