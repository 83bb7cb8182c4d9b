#include "saver/SaverWnd.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <unistd.h>

namespace {

constexpr int kBoxMargin = 10;

// Layout sums are made in 64 bits and pinned to the 32-bit range, so that a
// hand-edited font size near the limits cannot overflow.
LONG Pin(std::int64_t value) {
    return LONG(std::clamp<std::int64_t>(value, std::numeric_limits<LONG>::min(), std::numeric_limits<LONG>::max()));
}

}  // namespace

void CSaverWnd::NewVerse() {
    [[maybe_unused]] int ignored = ::chdir(m_systemDir.c_str());
    std::string first, second, third;
    if (m_pVerseBook)
        m_pVerseBook->ChooseVerse(first, second, third);
    // An empty first line draws nothing: the previous verse stays.
    if (first.empty())
        return;
    RECT client;
    GetClientRect(&client);
    PaintBackground(client);
    DrawVerse(first, second, third, client);
}

void CSaverWnd::DrawVerse(std::string first, std::string second, std::string third, const RECT& client) {
    CClientDC dc(this);
    if (!dc.IsValid() || !m_bFontOk)
        return;
    CFont* previousFont = dc->SelectObject(&m_font);

    const std::string* lines[3] = {&first, &second, &third};
    SIZE extent[3];
    for (int i = 0; i < 3; ++i)
        dc->GetTextExtentPointA(lines[i]->c_str(), int(lines[i]->size()), &extent[i]);

    // Each line centred across; the first centred from top to bottom and the
    // others one font size below each other, so the block hangs below the
    // middle. Halving truncates toward zero, as integer division does.
    const std::int64_t width = std::int64_t(client.right) - client.left;
    const std::int64_t height = std::int64_t(client.bottom) - client.top;
    // On a scaled desktop the line spacing and the margin are in device
    // pixels, as the font is.
    const std::int64_t lineSpacing = DevicePixels(m_fontSize);
    const std::int64_t margin = DevicePixels(kBoxMargin);
    LONG x[3], y[3];
    for (int i = 0; i < 3; ++i)
        x[i] = Pin((width - extent[i].cx) / 2);
    y[0] = Pin((height - extent[0].cy) / 2);
    y[1] = Pin(std::int64_t(y[0]) + lineSpacing);
    y[2] = Pin(std::int64_t(y[1]) + lineSpacing);

    std::int64_t left = x[0], right = std::int64_t(x[0]) + extent[0].cx;
    for (int i = 1; i < 3; ++i) {
        left = std::min<std::int64_t>(left, x[i]);
        right = std::max<std::int64_t>(right, std::int64_t(x[i]) + extent[i].cx);
    }
    m_verseRect = RECT{Pin(left - margin), Pin(std::int64_t(y[0]) - margin), Pin(right + margin),
                       Pin(std::int64_t(y[2]) + lineSpacing + margin)};

    dc->SetBkColor(m_backColor);
    dc->SetBkMode(TRANSPARENT);
    ShadeRect(m_verseRect.left, m_verseRect.top, m_verseRect.right, m_verseRect.bottom, *dc, m_fillColor);
    dc->SetTextColor(m_fontColor);
    for (int i = 0; i < 3; ++i)
        dc->TextOutA(x[i], y[i], lines[i]->c_str(), int(lines[i]->size()));

    dc->SelectObject(previousFont);
    m_verseDamage = dc->DirtyRect();
}

// A checkerboard of single pixels: in columns left .. left + 2n - 1 (n pairs
// of columns) and rows top .. bottom - 1, every pixel whose distance from the
// top-left corner is even takes the colour; the picture shows through the
// others. An odd-width box leaves its rightmost column alone. Only the part
// of the box inside the window is visited, which sets the same pixels as
// walking the whole box.
void CSaverWnd::ShadeRect(int left, int top, int right, int bottom, CDC& dc, COLORREF color) {
    const std::int64_t pairs = (std::int64_t(right) - left) / 2;
    if (pairs <= 0)
        return;
    const std::int64_t endX = std::int64_t(left) + 2 * pairs;
    const Framebuffer& target = dc.Target();
    const std::int64_t firstRow = std::max<std::int64_t>(top, 0);
    const std::int64_t lastRow = std::min<std::int64_t>(bottom, target.Height());
    const std::int64_t lastColumn = std::min<std::int64_t>(endX, target.Width());
    for (std::int64_t y = firstRow; y < lastRow; ++y) {
        std::int64_t x = std::int64_t(left) + ((y - top) & 1);
        if (x < 0)
            x += (-x + 1) / 2 * 2;  // first column of this row's parity inside the window
        for (; x < lastColumn; x += 2)
            dc.SetPixelV(int(x), int(y), color);
    }
}
