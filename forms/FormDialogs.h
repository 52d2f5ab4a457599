// The dialogs a form opens from its buttons and double-clicks: the phrase
// editors, the code pickers and the patient sheets. The dialogs stand on the
// floor above the forms, so they hand their openers down when the library
// loads; a form whose opener is missing opens nothing (IDCANCEL).
#pragma once

#include <functional>

#include "platform/base/Strings.h"
#include "platform/base/WinTypes.h"

class CTavrionDoc;
class CWnd;

struct CFormDialogs {
    // The addition editor on (title, content); both replaced on IDOK. nMode is the 8000 flag.
    std::function<INT_PTR(CWnd* parent, int nMode, CString& title, CString& content)> editAddition;
    // The comment phrase editor on `comment`, replaced on IDOK.
    std::function<INT_PTR(CWnd* parent, int nMode, int nDocType, UINT uDataKind, CString& comment)> editComment;
    // The general sheet, told nPage as its SetActivePage (0 is the sheet's own start).
    std::function<INT_PTR(CWnd* parent, CTavrionDoc* doc, int nDocType, int nPage)> generalSheet;
    // The resting and MFER patient sheet opened in mode nMode.
    std::function<INT_PTR(CWnd* parent, CTavrionDoc* doc, int nDocType, int nMode)> patientSheet;
    // The IVREL (bIvrel) or Minnesota code picker; `code` is the picked code on IDOK.
    std::function<INT_PTR(CWnd* parent, CTavrionDoc* doc, int nDocType, bool bIvrel, CString& code)> pickCode;

    static CFormDialogs& Get();

    static INT_PTR EditAddition(CWnd* parent, int nMode, CString& title, CString& content);
    static INT_PTR EditComment(CWnd* parent, int nMode, int nDocType, UINT uDataKind, CString& comment);
    static INT_PTR GeneralSheet(CWnd* parent, CTavrionDoc* doc, int nDocType, int nPage);
    static INT_PTR PatientSheet(CWnd* parent, CTavrionDoc* doc, int nDocType, int nMode);
    static INT_PTR PickCode(CWnd* parent, CTavrionDoc* doc, int nDocType, bool bIvrel, CString& code);
};
