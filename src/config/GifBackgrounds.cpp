// The configuration dialog's "GIF Backgrounds..." button: the whole edit of
// the picture list, which is written the moment the GIF List dialog closes
// with OK, whatever later becomes of the configuration dialog.
#include "config/ConfigDlg.h"
#include "config/GifListDlg.h"
#include "config/GifListFile.h"
#include "platform/Directories.h"
#include "platform/dialogs/MessageBox.h"


void CConfigDlg::OnGifBackgrounds() {
    CGifListDlg dlg(nullptr);
    std::vector<std::string> files;
    ReadGifList(files);
    dlg.m_astrGIFFiles.insert(dlg.m_astrGIFFiles.end(), files.begin(), files.end());
    if (dlg.DoModal() != IDOK)
        return;
    // The list file is replaced whole or not at all; when it cannot be, the
    // user must hear of it, or the edits just made would vanish unnoticed.
    if (!WriteGifList(dlg.m_astrGIFFiles))
        AfxMessageBox("The picture list could not be saved to \"" + GetSystemDirectory() +
                          "/GIFList.txt\". The list saved before is kept unchanged.",
                      MB_OK | MB_ICONEXCLAMATION, GetSafeHwnd());
}
