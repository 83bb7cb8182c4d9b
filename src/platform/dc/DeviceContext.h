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

#ifndef _WIN32  // on Windows these are the platform's own
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
constexpr UINT DIB_RGB_COLORS = 0;
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD BI_RGB = 0;

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
static_assert(sizeof(BITMAPINFOHEADER) == 40, "laid out as the Windows header");

struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
};
#endif

class CDC {
public:
    explicit CDC(Framebuffer& target);
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    // Fills [left, right) x [top, bottom); an empty or inverted rectangle fills
    // nothing. 0 without a rectangle or a created brush.
    int FillRect(const RECT* rect, CBrush* brush);
    // FALSE outside the framebuffer.
#ifdef _WIN32
    BOOL SetPixelV(int x, int y, COLORREF color);
#else
    // Inline: the verse shading sets tens of thousands of single pixels per
    // step.
    BOOL SetPixelV(int x, int y, COLORREF color) {
        if (x < 0 || y < 0 || x >= target_.Width() || y >= target_.Height())
            return FALSE;
        target_.Row(y)[x] = PixelFromColorRef(color);
        MarkDirty(x, y, x + 1, y + 1);
        return TRUE;
    }
#endif

    // Each returns the previous value. A mode other than TRANSPARENT or OPAQUE
    // is refused with 0.
    COLORREF SetTextColor(COLORREF color);
    COLORREF SetBkColor(COLORREF color);
    int SetBkMode(int mode);
    COLORREF GetTextColor() const { return textColor_; }
    COLORREF GetBkColor() const { return bkColor_; }
    int GetBkMode() const { return bkMode_; }

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
        if (dirtyLeft_ >= dirtyRight_)
            return RECT{};
        return RECT{LONG(dirtyLeft_), LONG(dirtyTop_), LONG(dirtyRight_), LONG(dirtyBottom_)};
    }
    void ResetDirty() {
        dirtyLeft_ = dirtyTop_ = INT64_MAX;
        dirtyRight_ = dirtyBottom_ = INT64_MIN;
    }

    Framebuffer& Target() { return target_; }

private:
#ifdef _WIN32
    // The framebuffer's memory DC, its state as this context found it saved
    // and given back when the context goes.
    HDC dc_;
    int savedState_;
#else
    // The selected font, or the context's default one made on first use.
    Font* CurrentFont();
    // Fills an already clipped, non-empty box.
    void FillBox(int left, int top, int right, int bottom, std::uint32_t pixel);
    void BlendGlyph(const GlyphImage& glyph, std::int64_t x, std::int64_t y, std::uint32_t pixel);
#endif
    void MarkDirty(int left, int top, int right, int bottom) {
        dirtyLeft_ = left < dirtyLeft_ ? left : dirtyLeft_;
        dirtyTop_ = top < dirtyTop_ ? top : dirtyTop_;
        dirtyRight_ = right > dirtyRight_ ? right : dirtyRight_;
        dirtyBottom_ = bottom > dirtyBottom_ ? bottom : dirtyBottom_;
    }

    Framebuffer& target_;
    COLORREF textColor_ = RGB(0, 0, 0);
    COLORREF bkColor_ = RGB(255, 255, 255);
    int bkMode_ = OPAQUE;
    CFont* font_ = nullptr;
#ifndef _WIN32
    std::unique_ptr<Font> defaultFont_;
#endif
    // The changed area, kept apart from RECT's 32-bit fields: pixel stores
    // cannot alias 64-bit integers, so a run of SetPixelV calls keeps these in
    // registers. Empty while left >= right.
    std::int64_t dirtyLeft_ = INT64_MAX;
    std::int64_t dirtyTop_ = INT64_MAX;
    std::int64_t dirtyRight_ = INT64_MIN;
    std::int64_t dirtyBottom_ = INT64_MIN;
};
