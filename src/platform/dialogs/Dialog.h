#pragma once
#include "platform/WinTypes.h"
#include "platform/dialogs/DialogIds.h"
#include "platform/dialogs/WindowHandles.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

class CDataExchange;
struct DialogTemplate;

// A modal dialog built from a dialog template. The window exists only while
// DoModal runs: it is made from the template, shown, run until EndDialog and
// destroyed again. Buttons send their identifier as a command: commands
// routed with MapCommand go to their handler, and OK (1) and Cancel (2), when
// not routed, to OnOK and OnCancel. Escape and the title bar's close button
// send Cancel.
class CDialog {
public:
    // `parent` may be null: the dialog is then owned by whichever modal
    // window is active when it opens, and disables it while it runs.
    explicit CDialog(int templateId, ParentWindow parent = nullptr);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // IDOK, IDCANCEL or whatever EndDialog was given; -1 when the template
    // is missing or there is no toolkit application.
    int DoModal();
    void EndDialog(int result);

    // The window and its controls, while the window exists; null otherwise.
    DialogHandle GetSafeHwnd() const;
    ControlHandle GetDlgItem(int id) const;
    // Gives a static text or button control new text, while the window
    // exists; the dialog widens if the text would not fit (Qt side).
    void SetControlText(int id, const std::string& text);

    // Runs the data exchange: from the members to the controls, or (TRUE)
    // from the controls to the members with validation. FALSE when a check
    // failed; the user has then been told, and the control concerned has the
    // focus.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

protected:
    // Called once the controls exist, before the window shows: fills them
    // from the members. TRUE puts the focus on the first tab stop.
    virtual BOOL OnInitDialog();
    // Validates and closes with IDOK; stays open when validation fails.
    virtual void OnOK();
    // Closes with IDCANCEL; nothing is read from the controls.
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange* pDX);

    // The message map: the command of button `id` goes to `handler`.
    void MapCommand(int id, std::function<void()> handler);

private:
    // The side's window of a dialog, which turns what the user does into
    // commands.
    friend class DialogWindow;
    void OnCommand(int id);

    int m_nIDTemplate;
    ParentWindow m_pParentWnd;
    std::map<int, std::function<void()>> m_commands;
    int m_nModalResult = -1;
    // The side's window and controls, while DoModal runs.
    struct SideWindow;
    std::unique_ptr<SideWindow> m_window;
};
