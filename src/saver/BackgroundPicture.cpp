#include "saver/SaverWnd.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <new>
#include <vector>

namespace {

RECT Intersection(const RECT& a, const RECT& b) {
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

bool IsEmpty(const RECT& r) { return r.left >= r.right || r.top >= r.bottom; }

// Fills `area` less every rectangle of `holes`. Each hole splits what is
// left into at most four bands, so a few holes make a handful of fills.
void FillExcept(CDC& dc, const RECT& area, std::initializer_list<RECT> holes, CBrush& brush) {
    std::vector<RECT> pieces;
    if (!IsEmpty(area))
        pieces.push_back(area);
    for (const RECT& hole : holes) {
        std::vector<RECT> rest;
        for (const RECT& piece : pieces) {
            const RECT inner = Intersection(piece, hole);
            if (IsEmpty(inner)) {
                rest.push_back(piece);
                continue;
            }
            const RECT bands[4] = {
                {piece.left, piece.top, piece.right, inner.top},
                {piece.left, inner.bottom, piece.right, piece.bottom},
                {piece.left, inner.top, inner.left, inner.bottom},
                {inner.right, inner.top, piece.right, inner.bottom},
            };
            for (const RECT& band : bands)
                if (!IsEmpty(band))
                    rest.push_back(band);
        }
        pieces = std::move(rest);
    }
    for (const RECT& piece : pieces)
        dc.FillRect(&piece, &brush);
}

}  // namespace

void CSaverWnd::NextPicture() {
    if (m_astrPictureFiles.empty()) {
        m_pPictureBits.reset();
        return;
    }
    if (m_nNextPicture < 0 || std::size_t(m_nNextPicture) >= m_astrPictureFiles.size())
        m_nNextPicture = 0;
    m_strPictureFile = m_astrPictureFiles[std::size_t(m_nNextPicture)];
    PictureWorker& worker = PictureWorker::Get();
    bool expandList = false;
    if (m_pictureClient == 0) {
        m_pictureClient = worker.Register([this](LoadedPicture picture) { PictureLoaded(std::move(picture)); });
        expandList = true;
    }
    RECT client;
    GetClientRect(&client);
    PictureArea area;
    area.width = int(std::max<LONG>(0, client.right - client.left));
    area.height = int(std::max<LONG>(0, client.bottom - client.top));
    area.scale = GetScaleFactor();
    area.back[0] = BYTE(m_backColor >> 16), area.back[1] = BYTE(m_backColor >> 8), area.back[2] = BYTE(m_backColor);
    // A relative path is opened by the worker from the current folder: the
    // system folder, which every saver window sets alike.
    worker.Request(m_pictureClient, m_strPictureFile, m_strGIFError, area);
    // Folders are expanded once, after the first picture: a folder of a
    // hundred thousand files never holds up the first verse.
    if (expandList)
        worker.RequestList(m_pictureClient, m_astrPictureFiles);
    // The turn passes whether or not the picture can be read: a bad file
    // shows black for its turn and is tried again at its next one.
    if (std::size_t(++m_nNextPicture) >= m_astrPictureFiles.size())
        m_nNextPicture = 0;
}

// The old picture stays on screen until the new one is here, and goes then
// whether or not the new one could be read.
void CSaverWnd::PictureLoaded(LoadedPicture picture) {
    if (picture.list) {
        PictureListExpanded(*picture.list);
        return;
    }
    m_strGIFError = std::move(picture.error);
    m_pPictureBits = std::move(picture.bits);
    if (m_pPictureBits) {
        m_nPictureWidth = picture.width;
        m_nPictureHeight = picture.height;
        ++m_nPictureSerial;
    }
    m_bFillBackground = TRUE;
    OnPictureReady();
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

// The background of a verse step. What reaches the screen is: the picture
// centred at 1:1; around it the back colour on the first step after a new
// picture and black on later ones, except the previous verse's box, which is
// cleared with the back colour; black everywhere without a picture. Each
// pixel is written once, in its final colour, so no intermediate black
// flashes; and since the framebuffer still holds what the last step left,
// only the pixels whose colour changes are written: on an unchanged picture
// and surround that is what the last verse covered and the back-colour box
// before it, so a step costs the size of the verse, not of the screen.
void CSaverWnd::PaintBackground(RECT area) {
    RECT client;
    GetClientRect(&client);
    CClientDC dc(this);
    if (!dc.IsValid())
        return;
    const bool hasPicture = m_pPictureBits != nullptr;
    const unsigned serial = hasPicture ? m_nPictureSerial : 0;
    const RECT picture = hasPicture ? PicturePlacement(area) : RECT{};
    const RECT backBox = hasPicture ? m_verseRect : RECT{};
    const COLORREF surround = hasPicture && m_bFillBackground ? m_backColor : RGB(0, 0, 0);
    if (hasPicture)
        m_bFillBackground = FALSE;

    const bool sameFrame = m_painted.known && m_painted.client == client && m_painted.picture == serial;
    const bool sameSurround =
        sameFrame && PixelFromColorRef(m_painted.surround) == PixelFromColorRef(surround);
    CBrush surroundBrush;
    surroundBrush.CreateSolidBrush(surround);
    if (sameSurround) {
        FillExcept(*dc, m_verseDamage, {picture, backBox}, surroundBrush);
        if (PixelFromColorRef(m_backColor) != PixelFromColorRef(surround))
            FillExcept(*dc, m_painted.backBox, {picture, backBox, m_verseDamage}, surroundBrush);
    } else {
        FillExcept(*dc, client, {picture, backBox}, surroundBrush);
    }

    if (hasPicture) {
        CBrush back;
        back.CreateSolidBrush(m_backColor);
        FillExcept(*dc, backBox, {picture}, back);
        // Only the verse can have touched the picture since it was drawn.
        const RECT damage = sameFrame ? Intersection(m_verseDamage, picture) : picture;
        if (!IsEmpty(damage)) {
            // In picture coordinates; rows of a bottom-up bitmap count from the bottom.
            const RECT copy{damage.left - picture.left, damage.top - picture.top, damage.right - picture.left,
                            damage.bottom - picture.top};
            const BITMAPINFO info = PictureInfo();
            dc->StretchDIBits(damage.left, damage.top, copy.right - copy.left, copy.bottom - copy.top, copy.left,
                              m_nPictureHeight - copy.bottom, copy.right - copy.left, copy.bottom - copy.top,
                              m_pPictureBits.get(), &info, DIB_RGB_COLORS, SRCCOPY);
        }
    }
    m_painted = PaintedScreen{true, serial, client, surround, backBox};
    m_verseDamage = RECT{};
}
