#pragma once
#include "platform/WinTypes.h"
#include "platform/dialogs/WindowHandles.h"

#include <string>

class CDialog;

// One run of a dialog's data exchange. Saving runs the exchanges in order
// and stops at the first that fails: the user has been told why, and the
// control concerned gets the focus (an edit field with all its text
// selected). The exchange routines do nothing once the run has failed, so a
// DoDataExchange needs no early returns.
class CDataExchange {
public:
    CDataExchange(CDialog* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    const BOOL m_bSaveAndValidate;
    CDialog* const m_pDlgWnd;

    bool Failed() const { return m_bFailed; }
    // The control that a failure after this point concerns.
    ControlHandle PrepareCtrl(int id);
    // Ends the run as failed; focuses the prepared control.
    void Fail();

private:
    ControlHandle m_pLastControl = nullptr;
    bool m_bFailed = false;
};

// The two prompts of the exchange.
extern const char kPromptInteger[];       // "Please enter an integer."
extern const char kPromptIntegerRange[];  // "... between %1 and %2."

// The range prompt with its two bounds written in.
std::string FormatRangePrompt(int minValue, int maxValue);

// The integer text rule of the exchange: a decimal number, optionally
// signed, optionally surrounded by spaces or tabs, and nothing else; a
// number that is zero must begin with the digit 0 ("-0" and "+0" do not).
// Values past the 32-bit range become its nearest end. False for any other
// text; `value` is then left alone.
bool ParseDialogInteger(const std::string& text, int& value);

// Edit field `id` and an integer: the field shows the number as "%d", or
// the number is read from the field's first 31 characters, with the integer
// prompt when they are not an integer.
void DDX_Text(CDataExchange* pDX, int id, int& value);

// When saving: the range prompt unless minValue <= value <= maxValue.
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minValue, int maxValue);
