#include "saver/SaverWnd.h"

#include "gif/GifDecoder.h"
#include "saver/PictureScaling.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// Fills `rect` less the part that `hole` covers (up to four bands).
void FillAround(CDC& dc, const RECT& rect, const RECT& hole, CBrush& brush) {
    const RECT inner{std::max(rect.left, hole.left), std::max(rect.top, hole.top),
                     std::min(rect.right, hole.right), std::min(rect.bottom, hole.bottom)};
    if (inner.left >= inner.right || inner.top >= inner.bottom) {
        dc.FillRect(&rect, &brush);
        return;
    }
    const RECT bands[4] = {
        {rect.left, rect.top, rect.right, inner.top},
        {rect.left, inner.bottom, rect.right, rect.bottom},
        {rect.left, inner.top, inner.left, inner.bottom},
        {inner.right, inner.top, rect.right, inner.bottom},
    };
    for (const RECT& band : bands)
        dc.FillRect(&band, &brush);
}

RECT Intersection(const RECT& a, const RECT& b) {
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

bool IsEmpty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

}  // namespace

std::unique_ptr<BYTE[]> CSaverWnd::GIFRead(std::string path, int& width, int& height) {
    return ::GIFRead(std::move(path), width, height, m_strGIFError);
}

void CSaverWnd::NextPicture() {
    m_pPictureBits.reset();
    if (m_astrPictureFiles.empty())
        return;
    if (m_nNextPicture < 0 || std::size_t(m_nNextPicture) >= m_astrPictureFiles.size())
        m_nNextPicture = 0;
    m_strPictureFile = m_astrPictureFiles[std::size_t(m_nNextPicture)];
    LoadPicture();
    ComposeBackground();
    // The turn passes whether or not the picture could be read: a bad file
    // shows black for its turn and is tried again at its next one.
    if (std::size_t(++m_nNextPicture) >= m_astrPictureFiles.size())
        m_nNextPicture = 0;
    m_bFillBackground = TRUE;
}

void CSaverWnd::LoadPicture() {
    int width = 0, height = 0;
    std::unique_ptr<BYTE[]> decoded = GIFRead(m_strPictureFile, width, height);
    // On a scaled desktop the picture covers s times as many device pixels,
    // resampled smoothly.
    if (decoded && GetScaleFactor() != 1.0)
        decoded = ScalePictureSmooth(decoded.get(), width, height, GetScaleFactor());
    if (!decoded || !FlipPictureRows(decoded.get(), width, height)) {
        m_pPictureBits.reset();
        return;
    }
    int stride = 0;
    m_pPictureBits = PadPictureRows(decoded.get(), width, height, stride);
    if (m_pPictureBits) {
        m_nPictureWidth = width;
        m_nPictureHeight = height;
        ++m_nPictureSerial;
    }
}

// Top row first becomes bottom row first, as a bottom-up bitmap wants.
BOOL CSaverWnd::FlipPictureRows(BYTE* pixels, int width, int height) {
    if (!pixels || width <= 0 || height <= 0)
        return FALSE;
    const std::size_t rowLength = std::size_t(width) * 3;
    for (int top = 0, bottom = height - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(pixels + std::size_t(top) * rowLength, pixels + std::size_t(top + 1) * rowLength,
                         pixels + std::size_t(bottom) * rowLength);
    return TRUE;
}

// Rows of width * 3 bytes become rows padded to a multiple of 4 bytes.
std::unique_ptr<BYTE[]> CSaverWnd::PadPictureRows(const BYTE* pixels, int width, int height, int& stride) {
    if (!pixels || width <= 0 || height <= 0)
        return nullptr;
    const std::size_t padded = ((std::size_t(width) * 24 + 31) / 32) * 4;
    const std::size_t rowLength = std::size_t(width) * 3;
    // Zeroed, so the filler bytes hold no stale memory.
    std::unique_ptr<BYTE[]> rows(new (std::nothrow) BYTE[padded * std::size_t(height)]());
    if (!rows)
        return nullptr;
    for (int y = 0; y < height; ++y)
        std::memcpy(rows.get() + std::size_t(y) * padded, pixels + std::size_t(y) * rowLength, rowLength);
    stride = int(padded);
    return rows;
}

// Centred at 1:1, halved by an arithmetic shift: rounds down, also for the
// negative offsets of a picture larger than the area.
RECT CSaverWnd::PicturePlacement(const RECT& area) const {
    const LONG x = LONG((std::int64_t(area.right) - area.left - m_nPictureWidth) >> 1);
    const LONG y = LONG((std::int64_t(area.bottom) - area.top - m_nPictureHeight) >> 1);
    return RECT{x, y, LONG(std::int64_t(x) + m_nPictureWidth), LONG(std::int64_t(y) + m_nPictureHeight)};
}

BITMAPINFO CSaverWnd::PictureInfo() const {
    BITMAPINFO info{};
    info.bmiHeader.biSize = 40;
    info.bmiHeader.biWidth = m_nPictureWidth;
    info.bmiHeader.biHeight = m_nPictureHeight;  // positive: bottom-up rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// The picture turn does the drawing ahead, beside the decoding, so that the
// verse step that shows a new picture only has to swap it in.
void CSaverWnd::ComposeBackground() {
    m_nComposedSerial = 0;
    Framebuffer* spare = GetSparePixels();
    if (!m_pPictureBits || !spare)
        return;
    RECT client;
    GetClientRect(&client);
    const RECT picture = PicturePlacement(client);
    const BITMAPINFO info = PictureInfo();
    CDC dc(*spare);
    CBrush back;
    back.CreateSolidBrush(m_backColor);
    FillAround(dc, client, picture, back);
    dc.StretchDIBits(picture.left, picture.top, m_nPictureWidth, m_nPictureHeight, 0, 0, m_nPictureWidth,
                     m_nPictureHeight, m_pPictureBits.get(), &info, DIB_RGB_COLORS, SRCCOPY);
    m_nComposedSerial = m_nPictureSerial;
    m_composedClient = client;
}

// The background of a verse step. What reaches the screen is: the picture
// centred at 1:1; around it the back colour on the first step after a new
// picture and black on later ones, except the previous verse's box, which
// is cleared with the back colour; black everywhere without a picture. Each
// area is filled once, with its final colour, and the framebuffer is shown
// when the step is done, so no intermediate black flashes. When the picture
// is already on screen, only the part the last verse covered is copied again:
// the rest of it is still there; on the first step after a new picture, the
// background composed ahead is swapped in whole.
void CSaverWnd::PaintBackground(RECT area) {
    RECT client;
    GetClientRect(&client);
    CClientDC dc(this);
    if (!dc.IsValid())
        return;
    CBrush black;
    black.CreateSolidBrush(RGB(0, 0, 0));
    if (!m_pPictureBits) {
        dc->FillRect(&client, &black);
        m_nPaintedSerial = 0;
        return;
    }

    if (m_bFillBackground && m_nComposedSerial == m_nPictureSerial && m_composedClient == client) {
        // The back colour around the picture, the old verse box in the back
        // colour too, and the picture: all of it is in the composed pixels.
        m_bFillBackground = FALSE;
        ShowSparePixels();
        m_nComposedSerial = 0;  // the spare holds the old screen now
        m_nPaintedSerial = m_nPictureSerial;
        m_paintedClient = client;
        return;
    }

    const RECT picture = PicturePlacement(area);
    const LONG x = picture.left, y = picture.top;
    const BITMAPINFO info = PictureInfo();
    const bool pictureOnScreen = m_nPaintedSerial == m_nPictureSerial && m_paintedClient == client;
    CBrush back;
    back.CreateSolidBrush(m_backColor);
    if (m_bFillBackground) {
        m_bFillBackground = FALSE;
        FillAround(*dc, client, picture, back);
    } else {
        FillAround(*dc, client, picture, black);
    }
    FillAround(*dc, m_verseRect, picture, back);

    // The part of the picture to copy, in picture coordinates (rows from the top).
    RECT copy{0, 0, m_nPictureWidth, m_nPictureHeight};
    if (pictureOnScreen) {
        const RECT damage = Intersection(m_verseDamage, picture);
        copy = RECT{damage.left - x, damage.top - y, damage.right - x, damage.bottom - y};
    }
    if (!IsEmpty(copy)) {
        // Rows of a bottom-up bitmap are counted from the bottom.
        dc->StretchDIBits(x + copy.left, y + copy.top, copy.right - copy.left, copy.bottom - copy.top, copy.left,
                          m_nPictureHeight - copy.bottom, copy.right - copy.left, copy.bottom - copy.top,
                          m_pPictureBits.get(), &info, DIB_RGB_COLORS, SRCCOPY);
    }
    m_nPaintedSerial = m_nPictureSerial;
    m_paintedClient = client;
}
