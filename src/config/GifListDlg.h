#pragma once
#include "platform/dialogs/Dialog.h"

#include <string>
#include <vector>

// The "GIF List" dialog: the background pictures in a sorted list box, with
// buttons to add a picture or a folder and to remove the selected one. The caller fills
// the list before DoModal; after IDOK it holds the list box's items in the
// list box's (sorted) order. After Cancel it still holds what the caller
// gave.
class CGifListDlg : public CDialog {
public:
    explicit CGifListDlg(ParentWindow parent = nullptr);

    std::vector<std::string> m_astrGIFFiles;

    void OnBrowse();
    void OnRemove();
    // Adds a folder: it stands for every picture in it and its subfolders.
    void OnAddFolder();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
};
