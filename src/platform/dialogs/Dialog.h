#pragma once
#include "platform/WinTypes.h"
#include "platform/dialogs/DialogIds.h"
#include "platform/dialogs/WindowHandles.h"

#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

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
    friend class DialogWindow;
    void OnCommand(int id);

    int m_nIDTemplate;
    ParentWindow m_pParentWnd;
    std::map<int, std::function<void()>> m_commands;
    int m_nModalResult = -1;
#ifdef _WIN32
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hWnd = nullptr;
#else
    std::unique_ptr<QDialog> Build(const DialogTemplate& dialogTemplate, QWidget* owner);

    std::unique_ptr<QDialog> m_window;
    std::vector<std::pair<int, QWidget*>> m_controls;  // template order
#endif
};

// The identifier a control was made with (-1 for none), and the control of a
// dialog window by identifier: for code that meets a dialog only as a
// window, such as tests answering a dialog another dialog opened.
#ifndef _WIN32
int ControlId(const QWidget* control);
QWidget* FindControl(const QWidget* dialogWindow, int id);
#endif
