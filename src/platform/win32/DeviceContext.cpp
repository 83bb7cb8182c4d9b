// The device context on the real GDI: a memory DC over the framebuffer's DIB
// section. Each call clips to the framebuffer before GDI sees it, so that
// positions at the ends of the 32-bit range reach GDI only when something
// of them shows, records the area it changed, and flushes GDI's batch so
// that the framebuffer's words are current when the call returns.
#include "platform/dc/DeviceContext.h"

#include "platform/win32/GdiFramebuffer.h"

#include "platform/dc/PixelBox.h"
#include "platform/dc/TextDecoding.h"

#include <string>
#include <utility>

namespace {

// The top byte of a COLORREF (palette flags) is dropped, as the other sides
// drop it, so every side shows the same colour.
COLORREF Plain(COLORREF color) { return color & 0x00FFFFFFu; }

// The line as UTF-16, read as on every platform: UTF-8 when it is valid
// UTF-8, else Windows-1252. The wide calls shape it and link fonts for the
// scripts the selected font lacks.
std::wstring Wide(const char* text, int length) {
    std::wstring wide;
    for (char32_t c : DecodeText(std::string_view(text, std::size_t(length)))) {
        if (c >= 0x10000) {
            wide.push_back(wchar_t(0xD800 + ((c - 0x10000) >> 10)));
            wide.push_back(wchar_t(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            wide.push_back(wchar_t(c));
        }
    }
    return wide;
}

}  // namespace

void PrepareFontMatching() {}  // GDI matches fonts itself

CFont::CFont() = default;

CFont::~CFont() {
    if (m_hObject)
        ::DeleteObject(m_hObject);
}

BOOL CFont::Attach(HFONT font) {
    if (!font)
        return FALSE;
    if (m_hObject)
        ::DeleteObject(m_hObject);
    m_hObject = font;
    return TRUE;
}

// The framebuffer's memory DC, its state as this context found it saved and
// given back when the context goes.
struct CDC::SideState {
    HDC dc;
    int savedState;
};

CDC::CDC(Framebuffer& target)
    : m_target(target), m_side(std::make_unique<SideState>()) {
    m_side->dc = MemoryDcOf(target);
    m_side->savedState = ::SaveDC(m_side->dc);
    // Every context starts from GDI's defaults, whatever an enclosing one set.
    ::SetTextColor(m_side->dc, m_textColor);
    ::SetBkColor(m_side->dc, m_bkColor);
    ::SetBkMode(m_side->dc, m_bkMode);
    ::SelectObject(m_side->dc, ::GetStockObject(SYSTEM_FONT));
    ::SetTextAlign(m_side->dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
}

CDC::~CDC() {
    if (m_side->savedState)
        ::RestoreDC(m_side->dc, m_side->savedState);
}

int CDC::FillRect(const RECT* rect, CBrush* brush) {
    if (!rect || !brush || !brush->IsCreated())
        return 0;
    const PixelBox box = ClipToFramebuffer(rect->left, rect->top, rect->right, rect->bottom, m_target);
    if (box.Empty())
        return 1;
    HBRUSH solid = ::CreateSolidBrush(Plain(brush->Color()));
    if (!solid)
        return 0;
    const RECT clipped{box.left, box.top, box.right, box.bottom};
    const int filled = ::FillRect(m_side->dc, &clipped, solid);
    ::DeleteObject(solid);
    ::GdiFlush();
    MarkDirty(box.left, box.top, box.right, box.bottom);
    return filled;
}

COLORREF CDC::SetTextColor(COLORREF color) {
    ::SetTextColor(m_side->dc, Plain(color));
    return std::exchange(m_textColor, color);
}

COLORREF CDC::SetBkColor(COLORREF color) {
    ::SetBkColor(m_side->dc, Plain(color));
    return std::exchange(m_bkColor, color);
}

int CDC::SetBkMode(int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE)
        return 0;
    ::SetBkMode(m_side->dc, mode);
    return std::exchange(m_bkMode, mode);
}

CFont* CDC::SelectObject(CFont* font) {
    if (font && !font->GetSafeHandle())
        return nullptr;
    ::SelectObject(m_side->dc, font ? HGDIOBJ(font->GetSafeHandle()) : ::GetStockObject(SYSTEM_FONT));
    return std::exchange(m_font, font);
}

BOOL CDC::GetTextExtentPointA(const char* text, int length, SIZE* size) {
    if (!size || length < 0 || (!text && length > 0))
        return FALSE;
    if (length == 0)
        text = "";
    const std::wstring wide = Wide(text, length);
    return ::GetTextExtentPoint32W(m_side->dc, wide.c_str(), int(wide.size()), size);
}

BOOL CDC::TextOutA(int x, int y, const char* text, int length) {
    SIZE extent{};
    if (!GetTextExtentPointA(text, length, &extent))
        return FALSE;
    const PixelBox box =
        ClipToFramebuffer(x, y, std::int64_t(x) + extent.cx, std::int64_t(y) + extent.cy, m_target);
    if (box.Empty() || length == 0)
        return TRUE;  // nothing of it shows
    const std::wstring wide = Wide(text, length);
    const BOOL drawn = ::ExtTextOutW(m_side->dc, x, y, 0, nullptr, wide.c_str(), UINT(wide.size()), nullptr);
    ::GdiFlush();
    MarkDirty(box.left, box.top, box.right, box.bottom);
    return drawn;
}

int CDC::StretchDIBits(int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc, int srcWidth,
                       int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
    if (!bits || !info || destWidth <= 0 || destHeight <= 0)
        return 0;
    const PixelBox box = ClipToFramebuffer(xDest, yDest, std::int64_t(xDest) + destWidth,
                                           std::int64_t(yDest) + destHeight, m_target);
    if (box.Empty())
        return 0;
    const int rows = ::StretchDIBits(m_side->dc, xDest, yDest, destWidth, destHeight, xSrc, ySrc, srcWidth,
                                     srcHeight, bits, info, usage, rop);
    ::GdiFlush();
    if (rows > 0)
        MarkDirty(box.left, box.top, box.right, box.bottom);
    return rows;
}
