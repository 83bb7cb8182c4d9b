// The device context on the real GDI: a memory DC over the framebuffer's DIB
// section. Each call clips to the framebuffer before GDI sees it, so that
// positions at the ends of the 32-bit range reach GDI only when something
// of them shows, and records the area it changed.
#include "platform/dc/DeviceContext.h"

#include "platform/dc/FontMatch.h"
#include "platform/dc/PixelBox.h"
#include "platform/dc/TextDecoding.h"

#include <string>
#include <utility>

namespace {

// The top byte of a COLORREF (palette flags) is dropped, as on every
// platform the program runs on.
COLORREF Plain(COLORREF color) { return color & 0x00FFFFFFu; }

// Text that is valid UTF-8 and not plain ASCII, as UTF-16; empty otherwise,
// and the bytes are then the ANSI code page's.
std::wstring WideIfUtf8(const char* text, int length) {
    const std::string_view bytes(text, std::size_t(length));
    bool ascii = true;
    for (unsigned char c : bytes)
        ascii = ascii && c < 0x80;
    if (ascii || !IsValidUtf8(bytes))
        return {};
    std::wstring wide;
    for (char32_t c : DecodeText(bytes)) {
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

CFont::~CFont() {
    if (font_)
        ::DeleteObject(font_);
}

BOOL CFont::Attach(HFONT font) {
    if (!font)
        return FALSE;
    if (font_)
        ::DeleteObject(font_);
    font_ = font;
    return TRUE;
}

CDC::CDC(Framebuffer& target) : dc_(target.Dc()), savedState_(::SaveDC(dc_)), target_(target) {
    // Every context starts from GDI's defaults, whatever an enclosing one set.
    ::SetTextColor(dc_, textColor_);
    ::SetBkColor(dc_, bkColor_);
    ::SetBkMode(dc_, bkMode_);
    ::SelectObject(dc_, ::GetStockObject(SYSTEM_FONT));
    ::SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
}

CDC::~CDC() {
    if (savedState_)
        ::RestoreDC(dc_, savedState_);
}

int CDC::FillRect(const RECT* rect, CBrush* brush) {
    if (!rect || !brush || !brush->IsCreated())
        return 0;
    const PixelBox box = ClipToFramebuffer(rect->left, rect->top, rect->right, rect->bottom, target_);
    if (box.Empty())
        return 1;
    HBRUSH solid = ::CreateSolidBrush(Plain(brush->Color()));
    if (!solid)
        return 0;
    const RECT clipped{box.left, box.top, box.right, box.bottom};
    const int filled = ::FillRect(dc_, &clipped, solid);
    ::DeleteObject(solid);
    MarkDirty(box.left, box.top, box.right, box.bottom);
    return filled;
}

BOOL CDC::SetPixelV(int x, int y, COLORREF color) {
    if (x < 0 || y < 0 || x >= target_.Width() || y >= target_.Height())
        return FALSE;
    MarkDirty(x, y, x + 1, y + 1);
    return ::SetPixelV(dc_, x, y, Plain(color));
}

COLORREF CDC::SetTextColor(COLORREF color) {
    ::SetTextColor(dc_, Plain(color));
    return std::exchange(textColor_, color);
}

COLORREF CDC::SetBkColor(COLORREF color) {
    ::SetBkColor(dc_, Plain(color));
    return std::exchange(bkColor_, color);
}

int CDC::SetBkMode(int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE)
        return 0;
    ::SetBkMode(dc_, mode);
    return std::exchange(bkMode_, mode);
}

CFont* CDC::SelectObject(CFont* font) {
    if (font && !font->GetSafeHandle())
        return nullptr;
    ::SelectObject(dc_, font ? HGDIOBJ(font->GetSafeHandle()) : ::GetStockObject(SYSTEM_FONT));
    return std::exchange(font_, font);
}

BOOL CDC::GetTextExtentPointA(const char* text, int length, SIZE* size) {
    if (!size || length < 0 || (!text && length > 0))
        return FALSE;
    if (length == 0)
        text = "";
    const std::wstring wide = WideIfUtf8(text, length);
    return wide.empty() ? ::GetTextExtentPointA(dc_, text, length, size)
                        : ::GetTextExtentPoint32W(dc_, wide.data(), int(wide.size()), size);
}

BOOL CDC::TextOutA(int x, int y, const char* text, int length) {
    SIZE extent{};
    if (!GetTextExtentPointA(text, length, &extent))
        return FALSE;
    const PixelBox box =
        ClipToFramebuffer(x, y, std::int64_t(x) + extent.cx, std::int64_t(y) + extent.cy, target_);
    if (box.Empty() || length == 0)
        return TRUE;  // nothing of it shows
    const std::wstring wide = WideIfUtf8(text, length);
    const BOOL drawn = wide.empty() ? ::TextOutA(dc_, x, y, text, length)
                                    : ::TextOutW(dc_, x, y, wide.data(), int(wide.size()));
    MarkDirty(box.left, box.top, box.right, box.bottom);
    return drawn;
}

int CDC::StretchDIBits(int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc, int srcWidth,
                       int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
    if (!bits || !info || destWidth <= 0 || destHeight <= 0)
        return 0;
    const PixelBox box = ClipToFramebuffer(xDest, yDest, std::int64_t(xDest) + destWidth,
                                           std::int64_t(yDest) + destHeight, target_);
    if (box.Empty())
        return 0;
    const int rows = ::StretchDIBits(dc_, xDest, yDest, destWidth, destHeight, xSrc, ySrc, srcWidth, srcHeight,
                                     bits, info, usage, rop);
    if (rows > 0)
        MarkDirty(box.left, box.top, box.right, box.bottom);
    return rows;
}
