#pragma once
#include "platform/dialogs/Dialog.h"

#include <string>

// "About Quorl Screen Saver": the saver's name, version and terms. Its
// "Setup info!!!" button opens the More Stuff dialog. It has no OK or Cancel
// button: Escape or the title bar's close button ends it.
class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(ParentWindow parent = nullptr);

    void OnSetupInfo();
};

// "More Stuff...": how to extend the two line files of the verses.
class CMoreStuffDlg : public CDialog {
public:
    explicit CMoreStuffDlg(ParentWindow parent = nullptr);

    // The paragraph on the line files, naming the folder they belong in;
    // empty where the template's own text names it (Windows).
    static std::string LineFilesText();

protected:
    BOOL OnInitDialog() override;
};
