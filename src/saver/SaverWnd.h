#pragma once
// The drawing window: it holds everything drawing needs (the settings, the
// verse font, the verse book, the picture list and the current picture) and
// draws the verse over the background picture. The preview is a plain
// CSaverWnd; CFullScreenWnd runs the saver proper, CHostedWnd the saver in a
// host's window (both on CTimedSaverWnd).
#include "platform/dc/DeviceContext.h"
#include "platform/dc/Font.h"
#include "config/SaverSettings.h"
#include "platform/window/Wnd.h"
#include "saver/PictureWorker.h"
#include "verse/VerseBook.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CSaverWnd : public CWnd {
public:
    explicit CSaverWnd(BOOL autoDelete);
    ~CSaverWnd() override;

    virtual BOOL Create(DWORD exStyle, DWORD style, const RECT& rect, CWnd* parent, UINT id, void* context);
    void SetSystemDir(std::string path);

    // The verse step: a new verse over a freshly painted background.
    void NewVerse();
    // The picture step: asks for the next picture of the list. It is loaded
    // off the event loop; the verse step after it has arrived shows it.
    void NextPicture();

    // Reads a picture file for drawing in `area`, safe on any thread: a GIF
    // at 1:1 (times the display scale), any other picture fitted and turned
    // upright; a folder shows its first picture. Setting `*area.stop` ends it
    // soon, without a picture.
    static LoadedPicture LoadPicture(const std::string& path, std::string error, const PictureArea& area);

    // Drawing helpers that need no window state.
    static BOOL FlipPictureRows(BYTE* pixels, int width, int height);
    static std::unique_ptr<BYTE[]> PadPictureRows(const BYTE* pixels, int width, int height, int& stride);

    // What the window holds now, for reading: the last verse's box (empty
    // before the first verse), the picture list's position and the picture
    // loaded last, or why there is none, and the folder of its files. The
    // list is the one in use: its folders expanded once that is done.
    struct View {
        RECT verseRect;
        std::string pictureFile;
        std::vector<std::string> pictureFiles;
        int nextPicture;
        bool hasPicture;
        int pictureWidth;
        int pictureHeight;
        std::string gifError;
        std::string systemDir;
    };
    View GetView() const;

protected:
    void OnPaint() override;
    void PostNcDestroy() override;

    void LoadSettings();
    void DrawVerse(std::string first, std::string second, std::string third, const RECT& client);
    void ShadeRect(int left, int top, int right, int bottom, CDC& dc, COLORREF color);
    // The end of the picture step, on the event loop: the loaded picture
    // replaces the old one.
    void PictureLoaded(LoadedPicture picture);
    // The list with its folders expanded replaces the one read, from the
    // entry whose turn is next.
    void PictureListExpanded(const ExpandedPictureList& list);
    // Called when a picture has arrived.
    virtual void OnPictureReady() {}
    void PaintBackground(RECT area);
    // A length in layout pixels as device pixels: times the desktop's scale,
    // unchanged on an unscaled desktop.
    std::int64_t DevicePixels(std::int64_t length) const;

    // The settings as loaded at the first paint; the seven members below
    // name its fields.
    SaverSettings m_settings;

    // Members in their order of declaration.
    BOOL m_bSetupPending = TRUE;
    COLORREF& m_fillColor = m_settings.FillColor;
    COLORREF& m_fontColor = m_settings.FontColor;
    COLORREF& m_backColor = m_settings.BackColor;
    BOOL m_bFontOk = FALSE;
    CFont m_font;
    std::string& m_fontName = m_settings.FontName;
    int& m_fontSize = m_settings.FontSize;
    int& m_delay = m_settings.Delay;
    int& m_gifDelay = m_settings.GIFDelay;
    std::string m_strPictureFile;
    std::vector<std::string> m_astrPictureFiles;
    int m_nNextPicture = 0;
    std::unique_ptr<BYTE[]> m_pPictureBits;
    BOOL m_bFillBackground = TRUE;
    int m_nPictureWidth = 0;
    int m_nPictureHeight = 0;
    RECT m_verseRect{};
    std::string m_strGIFError;
    std::string m_systemDir;
    std::unique_ptr<CVerseBook> m_pVerseBook;
    BOOL m_bAutoDelete;

private:
    // What the framebuffer shows since the last background paint, so that a
    // verse step writes only the pixels whose colour changes.
    struct PaintedScreen {
        bool known = false;     // false until the first background paint
        unsigned picture = 0;   // serial of the picture shown; 0: none
        RECT client{};          // the client area it was painted for
        COLORREF surround = 0;  // colour around the picture, or everywhere without one
        RECT backBox{};         // the box cleared with the back colour
    };
    unsigned m_nPictureSerial = 0;  // counts pictures loaded
    PaintedScreen m_painted;
    RECT m_verseDamage{};           // every pixel the last verse touched
    PictureWorker::Client m_pictureClient = 0;  // 0 until the first picture is asked for

    RECT PicturePlacement(const RECT& area) const;
    BITMAPINFO PictureInfo() const;
};
