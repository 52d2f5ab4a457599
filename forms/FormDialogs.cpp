#include "forms/FormDialogs.h"

#include "platform/ui/windowing/UiTypes.h"

CFormDialogs& CFormDialogs::Get()
{
    static CFormDialogs dialogs;
    return dialogs;
}

INT_PTR CFormDialogs::EditAddition(CWnd* parent, int nMode, CString& title, CString& content)
{
    const auto& open = Get().editAddition;
    return open ? open(parent, nMode, title, content) : IDCANCEL;
}

INT_PTR CFormDialogs::EditComment(CWnd* parent, int nMode, int nDocType, UINT uDataKind, CString& comment)
{
    const auto& open = Get().editComment;
    return open ? open(parent, nMode, nDocType, uDataKind, comment) : IDCANCEL;
}

INT_PTR CFormDialogs::GeneralSheet(CWnd* parent, CTavrionDoc* doc, int nDocType, int nPage)
{
    const auto& open = Get().generalSheet;
    return open ? open(parent, doc, nDocType, nPage) : IDCANCEL;
}

INT_PTR CFormDialogs::PatientSheet(CWnd* parent, CTavrionDoc* doc, int nDocType, int nMode)
{
    const auto& open = Get().patientSheet;
    return open ? open(parent, doc, nDocType, nMode) : IDCANCEL;
}

INT_PTR CFormDialogs::PickCode(CWnd* parent, CTavrionDoc* doc, int nDocType, bool bIvrel, CString& code)
{
    const auto& open = Get().pickCode;
    return open ? open(parent, doc, nDocType, bIvrel, code) : IDCANCEL;
}
