// A message box that is shown when the object is constructed and keeps its
// result. While it is up, g_uDlgCount counts it, so the host can tell that a
// box of the library is open.
#pragma once

#include "platform/base/WinTypes.h"

class CTavrionMessage {
public:
    // With bAfxMsgBox non-zero the box is the framework's (OK only, the
    // application's title; owner, caption and type are not used).
    CTavrionMessage(LPCWSTR lpszText, int bAfxMsgBox, HWND hOwner = nullptr, LPCWSTR lpszCaption = nullptr,
                    UINT nType = MB_OK);
    virtual ~CTavrionMessage() = default;

    int GetResult() const { return m_nResult; }

    int m_nResult;   // the button that closed the box (IDOK, IDCANCEL, ...)
};

// Shows string resource id in the framework's box; a missing resource shows
// an empty text.
void ecgError(UINT id);
