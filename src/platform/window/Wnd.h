#pragma once
// The window base class. A CWnd owns nothing of the toolkit: it holds a host
// (see WindowSystem.h) that owns the real window and the framebuffer, turns
// toolkit events into messages, and hands them to WindowProc, which routes
// each to its handler. A handler that a derived class does not override does
// the default processing of its message.
#include "platform/dc/DeviceContext.h"
#include "platform/window/WindowSystem.h"
#include "platform/window/WindowTypes.h"

#include <memory>

class CWnd {
public:
    CWnd();
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // A stand-in object for a window that is not ours (the preview's parent).
    // It lives as long as the program.
    static CWnd* FromHandle(HWND handle);

    BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style, int x, int y,
                  int width, int height, HWND parent, UINT id, void* param);
    virtual BOOL DestroyWindow();

    HWND GetSafeHwnd() const { return m_hWnd; }
    bool IsWindow() const { return m_host != nullptr; }
    void GetClientRect(RECT* rect) const;

    UINT SetTimer(UINT id, UINT elapse, void* timerProc);
    BOOL KillTimer(UINT id);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);

    // Delivers one message to its handler. Hosts and tests call this.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Device pixels per layout pixel of the window's screen; 1 without a window.
    double GetScaleFactor() const { return m_host ? m_host->ScaleFactor() : 1.0; }

    // For the device contexts below.
    IWindowHost* Host() const { return m_host.get(); }

    // The screen's metrics and the quit message, from the window system in
    // use (on Windows the windows' code calls these rather than the
    // system's own functions of the same names, so tests can stand in).
    static int GetSystemMetrics(int index);
    static void PostQuitMessage(int exitCode);

protected:
    virtual int OnCreate(void* createStruct);
    virtual void OnSize(UINT type, int cx, int cy);
    virtual void OnPaint();
    virtual void OnTimer(UINT id);
    virtual void OnMouseMove(UINT flags, POINT point);
    virtual void OnLButtonDown(UINT flags, POINT point);
    virtual void OnMButtonDown(UINT flags, POINT point);
    virtual void OnRButtonDown(UINT flags, POINT point);
    virtual void OnKeyDown(UINT key, UINT repeatCount, UINT flags);
    virtual void OnSysKeyDown(UINT key, UINT repeatCount, UINT flags);
    virtual void OnActivate(UINT state, CWnd* other, BOOL minimized);
    virtual void OnActivateApp(BOOL active, DWORD threadId);
    virtual BOOL OnNcActivate(BOOL active);
    virtual void OnSysCommand(UINT id, LPARAM lParam);
    virtual BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    virtual void OnClose();
    virtual void OnDestroy();
    // Called after the window's last message; a window that deletes itself
    // does it here.
    virtual void PostNcDestroy();

private:
    void OnNcDestroy();

    std::unique_ptr<IWindowHost> m_host;
    HWND m_hWnd = 0;
};

// The program's main window: destroying it posts the quit message.
void SetMainWindow(CWnd* wnd);

// A device context for drawing into a window outside its paint handler; the
// changed area is shown when it goes. Test with IsValid(): a window that has
// not been created has none.
class CClientDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC();
    CClientDC(const CClientDC&) = delete;
    CClientDC& operator=(const CClientDC&) = delete;

    bool IsValid() const { return m_dc != nullptr; }
    CDC* operator->() { return m_dc.get(); }
    CDC& operator*() { return *m_dc; }

private:
    IWindowHost* m_host;
    std::unique_ptr<CDC> m_dc;
};

// The device context of a paint handler: the host shows the whole
// framebuffer once the handler returns.
using CPaintDC = CClientDC;
