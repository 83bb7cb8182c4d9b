#pragma once
#include "platform/dialogs/WindowHandles.h"

#include <string>

// The list box operations of the platform over a list box control of a
// dialog. Items keep their text byte for byte (file paths need not be valid
// text); they are shown decoded as file names are. A sorted list box puts
// each added item in its place alphabetically, ignoring the case of ASCII
// letters; an item equal to others goes after them.
class CListBox {
public:
    // `control` may be null or not a list box: the object is then invalid
    // and every operation answers LB_ERR, 0 or nothing.
    explicit CListBox(ControlHandle control);

    bool IsValid() const { return m_list != nullptr; }
    int AddString(const std::string& text);  // the new item's index
    int DeleteString(int index);             // items left, or LB_ERR for a bad index
    int GetCount() const;
    int GetCurSel() const;  // LB_ERR when nothing is selected
    int SetCurSel(int index);
    std::string GetText(int index) const;  // empty for a bad index
    // Shows `note` beside the item, which keeps its text (Qt side; a Windows
    // list box shows none).
    void SetItemNote(int index, const std::string& note);
    void ResetContent();

private:
    ControlHandle m_list;
};
