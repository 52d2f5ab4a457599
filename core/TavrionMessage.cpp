#include "core/TavrionMessage.h"

#include "core/Globals.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Strings.h"

CTavrionMessage::CTavrionMessage(LPCWSTR lpszText, int bAfxMsgBox, HWND hOwner, LPCWSTR lpszCaption, UINT nType)
    : m_nResult(0)
{
    ++g_uDlgCount;
    if (bAfxMsgBox)
        m_nResult = AfxMessageBox(lpszText ? lpszText : L"", MB_OK);
    else
        m_nResult = MessageBoxW(hOwner, lpszText ? lpszText : L"", lpszCaption, nType);
    DecrementDlgCount();
}

void ecgError(UINT id)
{
    CString text;
    text.LoadString(id);
    CTavrionMessage box(text, 1);
}
