#pragma once
// A font made by CreateFontA, owned and deleted by its CFont. HFONT is the
// side's own font handle (see WinTypes.h).
#include "platform/WinTypes.h"

class CFont {
public:
    CFont();
    ~CFont();
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    // TRUE when a font was given; a null font leaves the CFont as it was.
    BOOL Attach(HFONT font);
    const HFONT& GetSafeHandle() const { return m_hObject; }

private:
    HFONT m_hObject{};
};

// Gets the side's font matching ready ahead of the first font, on a thread of
// its own where that takes long, so that the first verse waits for nothing.
void PrepareFontMatching();
