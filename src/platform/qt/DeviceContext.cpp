#include "platform/dc/DeviceContext.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/qt/Font.h"
#include "platform/qt/SoftwareDrawing.h"

CDC::CDC(Framebuffer& target) : m_target(target), m_side(std::make_unique<SideState>()) {}

CDC::~CDC() = default;

int CDC::FillRect(const RECT* rect, CBrush* brush) {
    if (!rect || !brush || !brush->IsCreated())
        return 0;
    const PixelBox box = ClipToFramebuffer(rect->left, rect->top, rect->right, rect->bottom, m_target);
    if (!box.Empty()) {
        FillBox(m_target, box, PixelFromColorRef(brush->Color()));
        MarkDirty(box.left, box.top, box.right, box.bottom);
    }
    return 1;
}

void FillBox(Framebuffer& target, const PixelBox& box, std::uint32_t pixel) {
    const auto [left, top, right, bottom] = box;
    const int width = target.Width();
    // Whole rows are one contiguous run; black (every verse step's first
    // fill) is a plain memset.
    const bool wholeRows = left == 0 && right == width;
    const std::size_t run = std::size_t(right - left);
    const int runs = wholeRows ? 1 : bottom - top;
    const std::size_t runLength = wholeRows ? run * std::size_t(bottom - top) : run;
    for (int i = 0; i < runs; ++i) {
        std::uint32_t* start = target.Row(top + i) + left;
        if (pixel == 0)
            std::memset(start, 0, runLength * sizeof(std::uint32_t));
        else
            std::fill_n(start, runLength, pixel);
    }
}

COLORREF CDC::SetTextColor(COLORREF color) { return std::exchange(m_textColor, color); }

COLORREF CDC::SetBkColor(COLORREF color) { return std::exchange(m_bkColor, color); }

int CDC::SetBkMode(int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE)
        return 0;
    return std::exchange(m_bkMode, mode);
}

CFont* CDC::SelectObject(CFont* font) {
    if (font && !font->GetSafeHandle())
        return nullptr;
    return std::exchange(m_font, font);
}

Font* CDC::SideState::CurrentFont(CFont* selected) {
    if (selected && selected->GetSafeHandle())
        return selected->GetSafeHandle().get();
    if (!defaultFont)
        defaultFont = CreateFontA(0, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0x20, nullptr);
    return defaultFont.get();
}
