#pragma once
// A GDI-style device context over a window's framebuffer. It keeps GDI's
// semantics where the saver relies on them: every call clips to the
// framebuffer, colours are COLORREFs, a positive font height is a character
// cell, text drawn transparently leaves its cell alone.
#include <cstdint>
#include <memory>

#include "platform/WinTypes.h"
#include "platform/dc/Brush.h"
#include "platform/dc/Font.h"
#include "platform/dc/Framebuffer.h"

class CDC {
public:
    explicit CDC(Framebuffer& target);
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // Fills [left, right) x [top, bottom); an empty or inverted rectangle fills
    // nothing. 0 without a rectangle or a created brush.
    int FillRect(const RECT* rect, CBrush* brush);
    // FALSE outside the framebuffer. Inline, straight into the pixels: the
    // verse shading sets tens of thousands of single pixels per step.
    BOOL SetPixelV(int x, int y, COLORREF color) {
        if (x < 0 || y < 0 || x >= m_target.Width() || y >= m_target.Height())
            return FALSE;
        m_target.Row(y)[x] = PixelFromColorRef(color);
        MarkDirty(x, y, x + 1, y + 1);
        return TRUE;
    }

    // Each returns the previous value. A mode other than TRANSPARENT or OPAQUE
    // is refused with 0.
    COLORREF SetTextColor(COLORREF color);
    COLORREF SetBkColor(COLORREF color);
    int SetBkMode(int mode);

    // Returns the font selected before (null while the default font was in
    // use). Selecting null goes back to the default font; a CFont without a
    // font is refused with null and changes nothing.
    CFont* SelectObject(CFont* font);

    // cx is the sum of hinted advances, cy the font's cell height. FALSE for a
    // null size, a negative length or null text with a positive length.
    BOOL GetTextExtentPointA(const char* text, int length, SIZE* size);
    // (x, y) is the top-left of the text's cell. In OPAQUE mode the cell is
    // first filled with the back colour.
    BOOL TextOutA(int x, int y, const char* text, int length);

    // A 1:1 copy of a 24-bit BI_RGB bitmap: destination and source sizes must
    // be equal and positive. Rows are bottom-up for a positive biHeight (and
    // ySrc then counts from the bottom row, as in GDI), top-down for a negative
    // one. Returns the number of rows copied, 0 when nothing was.
    int StretchDIBits(int xDest, int yDest, int destWidth, int destHeight, int xSrc, int ySrc, int srcWidth,
                      int srcHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);

    // The union of the framebuffer area changed since construction or the
    // last ResetDirty; empty (all zero) when nothing changed.
    RECT DirtyRect() const {
        if (m_dirtyLeft >= m_dirtyRight)
            return RECT{};
        return RECT{LONG(m_dirtyLeft), LONG(m_dirtyTop), LONG(m_dirtyRight), LONG(m_dirtyBottom)};
    }
    void ResetDirty() {
        m_dirtyLeft = m_dirtyTop = INT64_MAX;
        m_dirtyRight = m_dirtyBottom = INT64_MIN;
    }

    Framebuffer& Target() { return m_target; }

private:
    void MarkDirty(int left, int top, int right, int bottom) {
        m_dirtyLeft = left < m_dirtyLeft ? left : m_dirtyLeft;
        m_dirtyTop = top < m_dirtyTop ? top : m_dirtyTop;
        m_dirtyRight = right > m_dirtyRight ? right : m_dirtyRight;
        m_dirtyBottom = bottom > m_dirtyBottom ? bottom : m_dirtyBottom;
    }

    Framebuffer& m_target;
    COLORREF m_textColor = RGB(0, 0, 0);
    COLORREF m_bkColor = RGB(255, 255, 255);
    int m_bkMode = OPAQUE;
    CFont* m_font = nullptr;
    // The side's own (win32/: the framebuffer's memory DC and its state as
    // this context found it; the Qt side: the default font, made on first use).
    struct SideState;
    std::unique_ptr<SideState> m_side;
    // The changed area, kept apart from RECT's 32-bit fields: pixel stores
    // cannot alias 64-bit integers, so a run of SetPixelV calls keeps these in
    // registers. Empty while left >= right.
    std::int64_t m_dirtyLeft = INT64_MAX;
    std::int64_t m_dirtyTop = INT64_MAX;
    std::int64_t m_dirtyRight = INT64_MIN;
    std::int64_t m_dirtyBottom = INT64_MIN;
};
