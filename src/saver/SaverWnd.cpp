#include "saver/SaverWnd.h"

#include "config/RunOverrides.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace {
// Both saver windows share one private window class. The window system owns
// what a class would carry (the blank pointer, the background): here it is
// only a name.
const char kClassName[] = "QuorlSaverWindow";
}  // namespace

CSaverWnd::CSaverWnd(BOOL autoDelete) : m_bAutoDelete(autoDelete) {}

CSaverWnd::~CSaverWnd() {
    // Nothing may be delivered to this window any more.
    if (m_pictureClient != 0)
        PictureWorker::Get().Unregister(m_pictureClient);
    if (m_pVerseBook) {
        m_pVerseBook->FreeLines();
        m_pVerseBook.reset();
    }
    m_pPictureBits.reset();
}

BOOL CSaverWnd::Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT, void*) {
    return CreateEx(exStyle, kClassName, "", style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent ? parent->GetSafeHwnd() : 0, 0, nullptr);
}

void CSaverWnd::PostNcDestroy() {
    if (m_bAutoDelete)
        delete this;
}

void CSaverWnd::SetSystemDir(std::string path) { m_systemDir = std::move(path); }

// The drawing set-up, on the first paint; later paints draw nothing.
void CSaverWnd::OnPaint() {
    CPaintDC paint(this);
    if (!m_bSetupPending)
        return;
    m_bSetupPending = FALSE;

    m_pVerseBook.reset(new (std::nothrow) CVerseBook(m_systemDir));
    LoadSettings();

    CClientDC dc(this);
    RECT client;
    GetClientRect(&client);
    CBrush back;
    back.CreateSolidBrush(m_backColor);
    if (dc.IsValid())
        dc->FillRect(&client, &back);

    NextPicture();

    // The size is the height of the character cell in pixels, as stored:
    // no conversion from points; on a scaled desktop, in device pixels.
    const int cell = int(std::clamp<std::int64_t>(DevicePixels(m_fontSize), INT32_MIN, INT32_MAX));
    // Any character set (DEFAULT_CHARSET, 1) rather than ANSI: GDI's font
    // mapper puts the character set before the face name, so an Arabic or
    // CJK face without the Western code page, picked in the font dialog,
    // would be swapped for some Western face that draws the verse as boxes.
    // Faces with the Western code page are picked exactly as before.
    constexpr DWORD kAnyCharset = 1;
    m_bFontOk =
        m_font.Attach(CreateFontA(cell, 0, 0, 0, 400, 0, 0, 0, kAnyCharset, 0, 0, 0, 0x30, m_fontName.c_str()));
}

std::int64_t CSaverWnd::DevicePixels(std::int64_t length) const {
    const double scale = GetScaleFactor();
    if (scale == 1.0)
        return length;
    return std::int64_t(std::clamp(std::round(double(length) * scale), -9.0e18, 9.0e18));
}

void CSaverWnd::LoadSettings() {
    ReadSettings(m_settings);
    ApplyRunOverrides(m_settings);
    ReadRunPictureList(m_astrPictureFiles);
}

CSaverWnd::View CSaverWnd::GetView() const {
    return View{m_verseRect,     m_strPictureFile,  m_astrPictureFiles, m_nNextPicture, m_pPictureBits != nullptr,
                m_nPictureWidth, m_nPictureHeight, m_strGIFError,      m_systemDir};
}
