#pragma once
// The seam between the saver's windows and the toolkit: a window system makes
// window hosts, and a host owns one real window and its framebuffer. The Qt
// system shows real windows; the in-memory system lets tests drive a window
// message by message and read its pixels.
#include "platform/dc/Framebuffer.h"
#include "platform/window/WindowTypes.h"

#include <functional>
#include <string>
#include <memory>
#include <vector>

class CWnd;

class IWindowHost {
public:
    virtual ~IWindowHost() = default;
    virtual Framebuffer& Pixels() = 0;
    // Puts the framebuffer's `area` on the screen (after drawing outside a paint).
    virtual void Show(const RECT& area) = 0;
    // Starts or restarts timer `id` with `elapse` ms (already clamped); returns
    // the identifier, or 0 when no timer could be started.
    virtual UINT SetTimer(UINT id, UINT elapse) = 0;
    virtual BOOL KillTimer(UINT id) = 0;
    // Queues `message` for the window; it is delivered after the current
    // handler has returned, never from inside this call.
    virtual void PostMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Takes the real window down: no more messages reach the CWnd.
    virtual void Destroy() = 0;
    // Device pixels per layout pixel of the window's screen (the desktop's
    // scale): 1 on an unscaled desktop.
    virtual double ScaleFactor() const = 0;
    // The system's handle of the window where it has one (Windows); 0 where
    // the window's handle is the CWnd itself.
    virtual HWND Handle() const { return HWND(); }
};

class IWindowSystem {
public:
    virtual ~IWindowSystem() = default;
    // A host for `wnd`, or null when the window cannot be made. `parent` is 0
    // for a top-level window.
    virtual std::unique_ptr<IWindowHost> CreateHost(CWnd& wnd, DWORD exStyle, DWORD style, const RECT& rect,
                                                    HWND parent) = 0;
    // The client rectangle of a window that is not ours; false when `window`
    // is not a window.
    virtual bool GetForeignClientRect(HWND window, RECT& rect) = 0;
    // Why GetForeignClientRect refuses `window`, in a few words for the user
    // ("0x1A is a pixmap, not a window"); empty when it does not, or cannot
    // tell.
    virtual std::string ForeignWindowProblem(HWND) { return {}; }
    virtual int GetSystemMetrics(int index) = 0;
    virtual void PostQuitMessage(int exitCode) = 0;
    // Every monitor's rectangle in device pixels, the primary first.
    virtual std::vector<RECT> MonitorRects() = 0;
    // `changed` runs (from the message loop) after monitors come, go or
    // change size.
    virtual void WatchMonitors(std::function<void()> changed) = 0;
    // Runs `task` on the event loop, after the handler that is running.
    // Called from any thread.
    virtual void PostTask(std::function<void()> task) = 0;
};

// The side's window system of real windows, made on the thread that runs the
// message loop, after InitApplication.
std::unique_ptr<IWindowSystem> MakeNativeWindowSystem();

// The window system in use. The program installs the native one at start-up;
// tests install an in-memory one.
void SetWindowSystem(IWindowSystem* system);
IWindowSystem* GetWindowSystem();

// Posts `task` to the window system in use; dropped when there is none. The
// one entry here that other threads may call: it cannot race with the
// system's removal.
void PostTaskToEventLoop(std::function<void()> task);
