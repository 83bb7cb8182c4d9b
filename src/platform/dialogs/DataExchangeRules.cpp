// The exchange's rules and prompts, the same on every platform.
#include "platform/dialogs/DataExchange.h"

#include "platform/dialogs/Dialog.h"
#include "platform/dialogs/MessageBox.h"

#include <algorithm>
#include <climits>
#include <cstdint>

const char kPromptInteger[] = "Please enter an integer.";
const char kPromptIntegerRange[] = "Please enter an integer between %1 and %2.";

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

ControlHandle CDataExchange::PrepareCtrl(int id) {
    m_pLastControl = m_pDlgWnd ? m_pDlgWnd->GetDlgItem(id) : nullptr;
    return m_pLastControl;
}

std::string FormatRangePrompt(int minValue, int maxValue) {
    std::string prompt = kPromptIntegerRange;
    prompt.replace(prompt.find("%1"), 2, std::to_string(minValue));
    prompt.replace(prompt.find("%2"), 2, std::to_string(maxValue));
    return prompt;
}

bool ParseDialogInteger(const std::string& text, int& value) {
    // The text ends at its first NUL, as a C string would.
    const std::string s = text.substr(0, text.find('\0'));
    std::size_t i = 0;
    while (i < s.size() && IsBlank(s[i]))
        ++i;
    const char first = i < s.size() ? s[i] : '\0';
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        negative = s[i++] == '-';
    const std::size_t digitsStart = i;
    std::int64_t magnitude = 0;
    for (; i < s.size() && s[i] >= '0' && s[i] <= '9'; ++i)
        magnitude = std::min<std::int64_t>(magnitude * 10 + (s[i] - '0'), std::int64_t(INT_MAX) + 1);
    if (i == digitsStart)
        return false;
    std::int64_t number = negative ? -magnitude : magnitude;
    number = std::max<std::int64_t>(INT_MIN, std::min<std::int64_t>(INT_MAX, number));
    // A zero must be written as one: this is how the rule tells "0" from
    // text that merely failed to convert.
    if (number == 0 && first != '0')
        return false;
    while (i < s.size() && IsBlank(s[i]))
        ++i;
    if (i != s.size())
        return false;
    value = int(number);
    return true;
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minValue, int maxValue) {
    if (pDX->Failed() || !pDX->m_bSaveAndValidate)
        return;
    if (value < minValue || value > maxValue) {
        AfxMessageBox(FormatRangePrompt(minValue, maxValue), MB_OK | MB_ICONEXCLAMATION,
                      pDX->m_pDlgWnd ? pDX->m_pDlgWnd->GetSafeHwnd() : nullptr);
        pDX->Fail();
    }
}
