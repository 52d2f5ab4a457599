// Dialog data exchange: CDataExchange and the DDX_/DDV_ routines that move
// values between a dialog's controls and its members (UpdateData). A value
// that does not parse or validate is reported with a message box, its
// control gets the focus, and the exchange stops (UpdateData returns FALSE).
#pragma once

#include <exception>

#include "platform/base/Strings.h"
#include "platform/base/WinTypes.h"

class CWnd;

namespace platform::ui {
// Thrown by CDataExchange::Fail and caught by CWnd::UpdateData.
class DataExchangeFailure : public std::exception {
public:
    const char* what() const noexcept override { return "data exchange failed"; }
};
}  // namespace platform::ui

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);

    // The control's window; a control the dialog does not have fails the exchange.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Gives the last prepared control the focus (an edit's text selected) and stops the exchange.
    [[noreturn]] void Fail();

    BOOL m_bSaveAndValidate;   // TRUE: controls to members (and validate); FALSE: members to controls
    CWnd* m_pDlgWnd;
    UINT m_idLastControl;      // the control of the value being exchanged
    BOOL m_bEditLastControl;   // it is an edit, whose text gets selected on failure
};

// Subclasses the control for the object the first time (the object keeps it).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Text(CDataExchange* pDX, int nIDC, int& value);
void DDX_Text(CDataExchange* pDX, int nIDC, UINT& value);   // DWORD too: the same type here
void DDX_Text(CDataExchange* pDX, int nIDC, long& value);
void DDX_Text(CDataExchange* pDX, int nIDC, short& value);
void DDX_Text(CDataExchange* pDX, int nIDC, BYTE& value);
void DDX_Text(CDataExchange* pDX, int nIDC, double& value);
void DDX_Text(CDataExchange* pDX, int nIDC, float& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);
// The index of the checked button of the group starting at nIDC; -1 for none.
void DDX_Radio(CDataExchange* pDX, int nIDC, int& value);
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);
void DDX_CBString(CDataExchange* pDX, int nIDC, CString& value);
void DDX_LBIndex(CDataExchange* pDX, int nIDC, int& index);

void DDV_MaxChars(CDataExchange* pDX, const CString& value, int nChars);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minVal, int maxVal);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minVal, UINT maxVal);
void DDV_MinMaxDouble(CDataExchange* pDX, const double& value, double minVal, double maxVal);

// Sets a window's text only when it differs, so that an unchanged field
// sends no change notification (and does not flicker).
void AfxSetWindowText(HWND hWndCtrl, LPCTSTR lpszNew);
