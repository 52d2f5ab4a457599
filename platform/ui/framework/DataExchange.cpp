#include "platform/ui/framework/DataExchange.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cwchar>
#include <vector>

#include "platform/base/MessageBox.h"
#include "platform/ui/framework/Wnd.h"

namespace {

// The framework's own prompts.
const wchar_t kEnterInteger[] = L"Please enter an integer.";
const wchar_t kEnterPositiveInteger[] = L"Please enter a positive integer.";
const wchar_t kEnterNumber[] = L"Please enter a number.";

CString TextOf(HWND hwnd)
{
    const int length = ::GetWindowTextLengthW(hwnd);
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    ::GetWindowTextW(hwnd, buffer.data(), length + 1);
    return CString(buffer.data());
}

// A whole integer with optional blanks around it, as the framework's scanner takes it.
bool ParseSigned(const CString& text, long long minimum, long long maximum, long long& out)
{
    const wchar_t* p = text.GetString();
    while (*p == L' ' || *p == L'\t') ++p;
    bool negative = false;
    if (*p == L'-' || *p == L'+') negative = *p++ == L'-';
    if (*p < L'0' || *p > L'9') return false;
    long long value = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p) {
        value = value * 10 + (*p - L'0');
        if (value > static_cast<long long>(UINT_MAX) + 1) return false;
    }
    while (*p == L' ' || *p == L'\t') ++p;
    if (*p) return false;
    if (negative) value = -value;
    if (value < minimum || value > maximum) return false;
    out = value;
    return true;
}

bool ParseReal(const CString& text, double& out)
{
    const wchar_t* start = text.GetString();
    wchar_t* end = nullptr;
    errno = 0;
    const double value = std::wcstod(start, &end);
    if (end == start || errno == ERANGE || !std::isfinite(value)) return false;
    while (*end == L' ' || *end == L'\t') ++end;
    if (*end) return false;
    out = value;
    return true;
}

template <class T> void ExchangeInteger(CDataExchange* pDX, int nIDC, T& value, long long minimum, long long maximum,
                                        const wchar_t* prompt)
{
    HWND control = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        CString text;
        if (minimum < 0)
            text.Format(L"%lld", static_cast<long long>(value));
        else
            text.Format(L"%llu", static_cast<unsigned long long>(value));
        AfxSetWindowText(control, text);
        return;
    }
    long long parsed = 0;
    if (!ParseSigned(TextOf(control), minimum, maximum, parsed)) {
        AfxMessageBox(prompt);
        pDX->Fail();
    }
    value = static_cast<T>(parsed);
}

template <class T> void ExchangeReal(CDataExchange* pDX, int nIDC, T& value, int digits)
{
    HWND control = pDX->PrepareEditCtrl(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        CString text;
        text.Format(L"%.*g", digits, static_cast<double>(value));
        AfxSetWindowText(control, text);
        return;
    }
    double parsed = 0;
    if (!ParseReal(TextOf(control), parsed)) {
        AfxMessageBox(kEnterNumber);
        pDX->Fail();
    }
    value = static_cast<T>(parsed);
}

void Complain(CDataExchange* pDX, const CString& text)
{
    AfxMessageBox(text);
    pDX->Fail();
}

}  // namespace

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd), m_idLastControl(0), m_bEditLastControl(FALSE)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    m_idLastControl = static_cast<UINT>(nIDC);
    m_bEditLastControl = FALSE;
    HWND control = m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC) : nullptr;
    if (!control) throw platform::ui::DataExchangeFailure();
    return control;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND control = PrepareCtrl(nIDC);
    m_bEditLastControl = TRUE;
    return control;
}

void CDataExchange::Fail()
{
    if (m_bSaveAndValidate && m_pDlgWnd) {
        HWND control = ::GetDlgItem(m_pDlgWnd->m_hWnd, static_cast<int>(m_idLastControl));
        if (control) {
            ::SetFocus(control);
            if (m_bEditLastControl) ::SendMessageW(control, EM_SETSEL, 0, -1);
        }
    }
    throw platform::ui::DataExchangeFailure();
}

void AfxSetWindowText(HWND hWndCtrl, LPCTSTR lpszNew)
{
    if (!hWndCtrl) return;
    const CString current = TextOf(hWndCtrl);
    if (current == (lpszNew ? lpszNew : L"")) return;
    ::SetWindowTextW(hWndCtrl, lpszNew);
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd) return;
    HWND control = pDX->PrepareCtrl(nIDC);
    if (!rControl.SubclassWindow(control)) throw platform::ui::DataExchangeFailure();
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND control = pDX->PrepareEditCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = TextOf(control);
    else
        AfxSetWindowText(control, value);
}

void DDX_Text(CDataExchange* pDX, int nIDC, int& value)
{
    ExchangeInteger(pDX, nIDC, value, INT_MIN, INT_MAX, kEnterInteger);
}

void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value)
{
    ExchangeInteger(pDX, nIDC, value, 0, UINT_MAX, kEnterPositiveInteger);
}

void DDX_Text(CDataExchange* pDX, int nIDC, long& value)
{
    // The system's long is the framework's 32-bit one.
    ExchangeInteger(pDX, nIDC, value, INT_MIN, INT_MAX, kEnterInteger);
}

void DDX_Text(CDataExchange* pDX, int nIDC, short& value)
{
    ExchangeInteger(pDX, nIDC, value, SHRT_MIN, SHRT_MAX, kEnterInteger);
}

void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value)
{
    ExchangeInteger(pDX, nIDC, value, 0, 255, kEnterInteger);
}

void DDX_Text(CDataExchange* pDX, int nIDC, double& value)
{
    ExchangeReal(pDX, nIDC, value, DBL_DIG);
}

void DDX_Text(CDataExchange* pDX, int nIDC, float& value)
{
    ExchangeReal(pDX, nIDC, value, FLT_DIG);
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND control = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageW(control, BM_GETCHECK, 0, 0));
    else
        ::SendMessageW(control, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}

void DDX_Radio(CDataExchange* pDX, int nIDC, int& value)
{
    HWND control = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) value = -1;
    // The group runs from nIDC to the next control with WS_GROUP, radio buttons only counting.
    int index = 0;
    for (HWND hwnd = control; hwnd; hwnd = ::GetWindow(hwnd, GW_HWNDNEXT)) {
        if (hwnd != control && (::GetWindowLongW(hwnd, GWL_STYLE) & WS_GROUP)) break;
        if (!(::SendMessageW(hwnd, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)) continue;
        if (pDX->m_bSaveAndValidate) {
            if (::SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED) value = index;
        } else {
            ::SendMessageW(hwnd, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
        }
        ++index;
    }
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND control = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageW(control, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND control = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = TextOf(control);
        return;
    }
    // The framework selects the matching item, else leaves the text as typed.
    if (::SendMessageW(control, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(value.GetString())) ==
        CB_ERR)
        AfxSetWindowText(control, value);
}

void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index)
{
    HWND control = pDX->PrepareCtrl(nIDC);
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageW(control, LB_GETCURSEL, 0, 0));
    else
        ::SendMessageW(control, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars)
{
    if (!pDX->m_bSaveAndValidate) {
        // Loading: the control is told its limit instead.
        HWND control = ::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, static_cast<int>(pDX->m_idLastControl));
        if (control) ::SendMessageW(control, EM_LIMITTEXT, static_cast<WPARAM>(nChars), 0);
        return;
    }
    if (value.GetLength() <= nChars) return;
    CString text;
    text.Format(L"Please enter no more than %d characters.", nChars);
    Complain(pDX, text);
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) return;
    CString text;
    text.Format(L"Please enter an integer between %d and %d.", minVal, maxVal);
    Complain(pDX, text);
}

void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) return;
    CString text;
    text.Format(L"Please enter a positive integer between %u and %u.", minVal, maxVal);
    Complain(pDX, text);
}

void DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minVal, double maxVal)
{
    if (!pDX->m_bSaveAndValidate || (value >= minVal && value <= maxVal)) return;
    CString text;
    text.Format(L"Please enter a number between %.*g and %.*g.", DBL_DIG, minVal, DBL_DIG, maxVal);
    Complain(pDX, text);
}
