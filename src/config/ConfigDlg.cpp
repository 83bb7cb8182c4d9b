#include "config/ConfigDlg.h"

#include "config/AboutDlg.h"
#include "platform/dialogs/ColorPicker.h"
#include "platform/dialogs/DataExchange.h"
#include "platform/dialogs/FontPicker.h"
#include "res/resource.h"


#include <algorithm>
#include <cstdint>

namespace {
// A font size is kept in whole points; the picker gives tenths.
constexpr int kTenthsPerPoint = 10;
}

LONG FontHeightFromPoints(int points, int logPixelsY) {
    // 64-bit, so that a hand-edited size cannot overflow the product.
    const std::int64_t height = std::int64_t(points) * logPixelsY / -72;
    return LONG(std::clamp<std::int64_t>(height, INT32_MIN, INT32_MAX));
}

CConfigDlg::CConfigDlg(ParentWindow parent) : CDialog(IDD_CONFIG, parent) {
    MapCommand(IDC_GIFBACKGROUNDS, [this] { OnGifBackgrounds(); });
    MapCommand(IDC_FONT, [this] { OnFont(); });
    MapCommand(IDC_FILLCOLOR, [this] { OnFillColor(); });
    MapCommand(IDC_ABOUT, [this] { OnAbout(); });
    MapCommand(IDC_BACKCOLOR, [this] { OnBackgroundColor(); });
}

void CConfigDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    // The settings that have an edit field, in their order. The members
    // change only when every field passes: an OK refused on the second field
    // must not leave the first field's value behind, since the run stores the
    // members after Cancel too.
    SaverSettings edited = m_settings;
    for (const SettingField& field : kSettingFields) {
        if (field.control == 0)
            continue;
        int& value = edited.*std::get<int SaverSettings::*>(field.member);
        DDX_Text(pDX, field.control, value);
        DDV_MinMaxInt(pDX, value, field.minValue, field.maxValue);
    }
    if (!pDX->Failed())
        m_settings = edited;
}

void CConfigDlg::OnFont() {
    // The picker's size follows the resolution of the dialog's screen; with
    // no window there is none to ask.
    const DialogHandle window = GetSafeHwnd();
    if (!window)
        return;
    LOGFONT lf;
    lf.lfHeight = FontHeightFromPoints(m_nFontSize, LogicalDpiY(window));
    SetFaceName(lf, m_strFontName);
    lf.lfUnderline = FALSE;
    lf.lfStrikeOut = FALSE;

    CFontDialog dlg(&lf, CF_SCREENFONTS | CF_EFFECTS, nullptr, nullptr);
    dlg.m_cf.rgbColors = m_clrFont;
    if (dlg.DoModal() != IDOK)
        return;
    // Only face, size and colour are kept: the verse is always drawn
    // upright, regular and without lines.
    m_strFontName = dlg.GetFaceName();
    m_nFontSize = dlg.GetSize() / kTenthsPerPoint;
    m_clrFont = dlg.GetColor();
}

void CConfigDlg::OnFillColor() {
    CColorDialog dlg(m_clrFill, 0, nullptr);
    dlg.m_strTitle = "Fill Color";
    if (dlg.DoModal() == IDOK)
        m_clrFill = dlg.GetColor();
}

void CConfigDlg::OnBackgroundColor() {
    CColorDialog dlg(m_clrBack, 0, nullptr);
    dlg.m_strTitle = "Background Color";
    if (dlg.DoModal() == IDOK)
        m_clrBack = dlg.GetColor();
}

void CConfigDlg::OnAbout() {
    CAboutDlg dlg(nullptr);
    dlg.DoModal();
}
