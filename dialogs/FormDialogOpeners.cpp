// Hands the forms the dialogs they open, when the library loads.
#include "dialogs/DlgEditAdditionalInfor.h"
#include "dialogs/DlgEditComment.h"
#include "dialogs/DlgEditIvrelCode.h"
#include "dialogs/DlgEditMinneCode.h"
#include "dialogs/DlgInfoCommentGeneral.h"
#include "dialogs/DlgPatientInfoComment.h"
#include "forms/FormDialogs.h"

namespace {

INT_PTR EditAddition(CWnd* parent, int nMode, CString& title, CString& content)
{
    CDlgEditAdditionalInfor editor(nMode, parent);
    editor.SetAdditionText(title, content);
    const INT_PTR result = editor.DoModal();
    if (result == IDOK) {
        title = editor.GetAdditionTitle();
        content = editor.GetAdditionContent();
    }
    return result;
}

INT_PTR EditComment(CWnd* parent, int nMode, int nDocType, UINT uDataKind, CString& comment)
{
    CDlgEditComment editor(nMode, parent);
    editor.SetDoc(nDocType, uDataKind);
    editor.SetComment(comment);
    const INT_PTR result = editor.DoModal();
    if (result == IDOK) comment = editor.GetComment();
    return result;
}

INT_PTR GeneralSheet(CWnd* parent, CTavrionDoc* doc, int nDocType, int nPage)
{
    CDlgInfoCommentGeneral sheet(parent);
    sheet.SetDoc(doc, nDocType);
    sheet.SetActivePage(nPage);
    return sheet.DoModal();
}

INT_PTR PatientSheet(CWnd* parent, CTavrionDoc* doc, int nDocType, int nMode)
{
    CDlgPatientInfoComment sheet(nMode, parent);
    sheet.SetDoc(doc, nDocType);
    return sheet.DoModal();
}

template <class Picker> INT_PTR Pick(CWnd* parent, CTavrionDoc* doc, int nDocType, CString& code)
{
    Picker picker(parent);
    picker.SetDoc(doc, nDocType);
    const INT_PTR result = picker.DoModal();
    code = picker.GetCode();
    return result;
}

INT_PTR PickCode(CWnd* parent, CTavrionDoc* doc, int nDocType, bool bIvrel, CString& code)
{
    return bIvrel ? Pick<CDlgEditIvrelCode>(parent, doc, nDocType, code)
                  : Pick<CDlgEditMinneCode>(parent, doc, nDocType, code);
}

struct Registration {
    Registration()
    {
        CFormDialogs& dialogs = CFormDialogs::Get();
        dialogs.editAddition = EditAddition;
        dialogs.editComment = EditComment;
        dialogs.generalSheet = GeneralSheet;
        dialogs.patientSheet = PatientSheet;
        dialogs.pickCode = PickCode;
    }
} g_registration;

}  // namespace
