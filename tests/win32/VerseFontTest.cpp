// The verse font is the face the settings name, as GDI's font mapper picks
// it: a face for Arabic or CJK without the Western code page too, which a
// request for the ANSI character set would swap for a Western face.
#include "SaverFixture.h"

using namespace saver_test;

TEST_F(SaverTest, TheVerseFontIsTheNamedFaceWhateverItsCodePages) {
    for (const char* face : {"Courier New", "Noto Naskh Arabic"}) {
        settings.FontName = face;
        WriteLines("one\n", "two\n");
        TestFullScreenWnd* wnd = StartSaver();
        Paint();
        HDC dc = ::CreateCompatibleDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, wnd->m_font.GetSafeHandle());
        char picked[LF_FACESIZE] = {};
        ::GetTextFaceA(dc, LF_FACESIZE, picked);
        ::SelectObject(dc, old);
        ::DeleteDC(dc);
        // "Courier New" is an alias of a metric twin.
        EXPECT_STREQ(picked, face == std::string("Courier New") ? "Liberation Mono" : face);
        wnd->PostMessage(WM_CLOSE);
        system.DeliverPosted();
    }
}
