#include "platform/dc/DeviceContext.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/dc/PixelBox.h"

CDC::CDC(Framebuffer& target) : target_(target) {}

CDC::~CDC() = default;

int CDC::FillRect(const RECT* rect, CBrush* brush) {
    if (!rect || !brush || !brush->IsCreated())
        return 0;
    const PixelBox box = ClipToFramebuffer(rect->left, rect->top, rect->right, rect->bottom, target_);
    if (!box.Empty())
        FillBox(box.left, box.top, box.right, box.bottom, PixelFromColorRef(brush->Color()));
    return 1;
}

void CDC::FillBox(int left, int top, int right, int bottom, std::uint32_t pixel) {
    const int width = target_.Width();
    // Whole rows are one contiguous run; black (every verse step's first
    // fill) is a plain memset.
    const bool wholeRows = left == 0 && right == width;
    const std::size_t run = std::size_t(right - left);
    const int runs = wholeRows ? 1 : bottom - top;
    const std::size_t runLength = wholeRows ? run * std::size_t(bottom - top) : run;
    for (int i = 0; i < runs; ++i) {
        std::uint32_t* start = target_.Row(top + i) + left;
        if (pixel == 0)
            std::memset(start, 0, runLength * sizeof(std::uint32_t));
        else
            std::fill_n(start, runLength, pixel);
    }
    MarkDirty(left, top, right, bottom);
}

COLORREF CDC::SetTextColor(COLORREF color) { return std::exchange(textColor_, color); }

COLORREF CDC::SetBkColor(COLORREF color) { return std::exchange(bkColor_, color); }

int CDC::SetBkMode(int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE)
        return 0;
    return std::exchange(bkMode_, mode);
}

CFont* CDC::SelectObject(CFont* font) {
    if (font && !font->GetFont())
        return nullptr;
    return std::exchange(font_, font);
}

Font* CDC::CurrentFont() {
    if (font_ && font_->GetFont())
        return font_->GetFont();
    // GDI gives every device context a stock font; ours is made only when text
    // is drawn without a selected font, which the saver never does.
    if (!defaultFont_)
        defaultFont_ = CreateFontA(0, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0x20, nullptr);
    return defaultFont_.get();
}
