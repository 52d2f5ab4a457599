#include "dialogs/EditingOk.h"

#include "core/AnnoEditStamp.h"
#include "core/TavrionDoc.h"
#include "dialogs/DlgDoctor.h"
#include "dialogs/DlgEditor.h"
#include "documents/ExtraDataItem.h"
#include "documents/MFERDataItem.h"
#include "documents/RRDataItem.h"
#include "documents/RestDataItem.h"
#include "documents/RhythmDataItem.h"

namespace {

// The confirmation fields every item keeps in its patient record.
void ConfirmationFields(_PATIENT_INFO& patient, _EDIT_STAMP_FIELDS& f)
{
    f.pRecordEditTime = &patient.strReserved;
    f.pConfirmed = &patient.bConfirmed;
    f.pEditedAfterConfirm = &patient.bEditedAfterConfirm;
    f.pConfirmText = &patient.strConfirmation;
    f.pConfirmDate = &patient.strConfirmDate;
    f.pConfirmDoctor = &patient.strConfirmDoctor;
}

template <class Item> _EDIT_STAMP_FIELDS RestLikeFields(Item& item)
{
    _EDIT_STAMP_FIELDS f;
    ConfirmationFields(item.stPatient, f);
    f.pEditStamp = &item.stInterpre.strAnaEditDate;
    f.pEditor = &item.stInterpre.strAnaEditor;
    f.pInfoStamp = &item.stInterpre.strInfoEditDate;
    f.pInfoEditor = &item.stInterpre.strInfoEditor;
    f.pAdditionStamp = &item.stAddition.strEditDate;
    f.pAdditionEditor = &item.stAddition.strEditor;
    f.pCommentStamp = &item.stInterpre.strCommentEditDate;
    f.pCommentEditor = &item.stInterpre.strCommentEditor;
    return f;
}

// Rhythm and RR items keep their stamps in the item itself.
template <class Item> _EDIT_STAMP_FIELDS AnalysisLikeFields(Item& item)
{
    _EDIT_STAMP_FIELDS f;
    ConfirmationFields(item.stPatient, f);
    f.pEditStamp = &item.strAnalysisEditDate;
    f.pEditor = &item.strAnalysisEditor;
    f.pInfoStamp = &item.strInfoEditDate;
    f.pInfoEditor = &item.strInfoEditor;
    f.pAdditionStamp = &item.stAddition.strEditDate;
    f.pAdditionEditor = &item.stAddition.strEditor;
    f.pCommentStamp = &item.strCommentDate;
    f.pCommentEditor = &item.strCommentEditor;
    return f;
}

void Set(CString* field, const CString& value)
{
    if (field) *field = value;
}

void Set(int* field, int value)
{
    if (field) *field = value;
}

bool IsSet(const int* field)
{
    return field && *field;
}

}  // namespace

_EDIT_STAMP_FIELDS EditStampFieldsOf(_RESTDATAITEM& item)
{
    return RestLikeFields(item);
}

_EDIT_STAMP_FIELDS EditStampFieldsOf(_MFERDATAITEM& item)
{
    return RestLikeFields(item);
}

_EDIT_STAMP_FIELDS EditStampFieldsOf(_RHYTHMDATAITEM& item)
{
    return AnalysisLikeFields(item);
}

_EDIT_STAMP_FIELDS EditStampFieldsOf(_RRDATAITEM& item)
{
    return AnalysisLikeFields(item);
}

_EDIT_STAMP_FIELDS EditStampFieldsOf(_EXTRADATAITEM& item)
{
    _EDIT_STAMP_FIELDS f;
    ConfirmationFields(item.stPatient, f);
    f.pEditStamp = &item.strLeadNameEditDate;
    f.pEditor = &item.strLeadNameEditor;
    f.pInfoStamp = &item.strInfoEditDate;
    f.pInfoEditor = &item.strInfoEditor;
    f.pAdditionStamp = &item.stAddition.strEditDate;
    f.pAdditionEditor = &item.stAddition.strEditor;
    f.pCommentStamp = &item.strCommentEditDate;
    f.pCommentEditor = &item.strCommentEditor;
    return f;
}

const std::vector<CEditingOk::CommitStep>& CEditingOk::StandardOrder()
{
    static const std::vector<CommitStep> order = {CommitStep::Save, CommitStep::UpdateStatus, CommitStep::Refill,
                                                  CommitStep::Notify};
    return order;
}

BOOL CEditingOk::IsOkAllowed(CTavrionDoc* doc, bool editorOnly)
{
    if (!doc || doc->IsReadOnly()) return FALSE;
    if (editorOnly || !doc->Is8000File()) return doc->IsSaveEditor() ? TRUE : FALSE;
    return doc->IsSaveDoctor() ? TRUE : FALSE;
}

void CEditingOk::ApplyPermission(CWnd& dialog, CTavrionDoc* doc, bool editorOnly)
{
    if (CWnd* ok = dialog.GetDlgItem(IDOK)) ok->EnableWindow(IsOkAllowed(doc, editorOnly));
}

bool CEditingOk::Ask(Prompt prompt, CTavrionDoc* doc, CString& name)
{
    if (prompt == Prompt::Doctor) {
        CDlgDoctor dialog(nullptr);
        dialog.SetDoc(doc);
        if (dialog.DoModal() != IDOK) return false;
        name = dialog.GetDoctorName();
        return true;
    }
    CDlgEditor dialog(nullptr);
    dialog.SetDoc(doc);
    if (dialog.DoModal() != IDOK) return false;
    name = dialog.GetEditorName();
    return true;
}

CString CEditingOk::StampEdit(CTavrionDoc* doc, const _EDIT_STAMP_FIELDS& f, const CString& name,
                              RecordTime recordTime, const std::function<int()>& changeTest)
{
    const CString stamp = MakeEditStamp();
    Set(f.pEditStamp, stamp);
    Set(f.pEditor, name);
    if (recordTime == RecordTime::Stamp) Set(f.pRecordEditTime, stamp);

    if (doc && changeTest && changeTest()) {
        if (doc->IsInformationChange()) {
            Set(f.pInfoStamp, stamp);
            Set(f.pInfoEditor, name);
        }
        if (doc->IsAdditionChange()) {
            Set(f.pAdditionStamp, stamp);
            Set(f.pAdditionEditor, name);
        }
        if (doc->IsCommentChange()) {
            Set(f.pCommentStamp, stamp);
            Set(f.pCommentEditor, name);
        }
    }

    if (IsSet(f.pConfirmed) || IsSet(f.pEditedAfterConfirm)) {
        // The last confirmation stays readable: its date to the minute and its doctor.
        const CString date = f.pConfirmDate ? f.pConfirmDate->Left(16) : CString();
        const CString doctor = f.pConfirmDoctor ? *f.pConfirmDoctor : CString();
        CString text;
        text.Format(L"%s(%s%s %s)", L"判読後に編集あり", L"最終判読:", static_cast<LPCWSTR>(date),
                    static_cast<LPCWSTR>(doctor));
        Set(f.pConfirmed, 0);
        Set(f.pEditedAfterConfirm, 1);
        Set(f.pConfirmText, text);
    } else {
        Set(f.pConfirmed, 0);
        Set(f.pEditedAfterConfirm, 0);
        Set(f.pConfirmText, CString(L"医師による確認が必要です"));
    }
    return stamp;
}

CString CEditingOk::StampConfirmation(const _EDIT_STAMP_FIELDS& f, const CString& doctor)
{
    const CString stamp = MakeEditStamp();
    Set(f.pConfirmed, 1);
    Set(f.pEditedAfterConfirm, 0);
    Set(f.pConfirmDate, stamp);
    Set(f.pConfirmDoctor, doctor);
    return stamp;
}

void CEditingOk::Commit(CTavrionDoc* doc, std::initializer_list<CommitStep> order)
{
    Commit(doc, std::vector<CommitStep>(order));
}

void CEditingOk::Commit(CTavrionDoc* doc, const std::vector<CommitStep>& order)
{
    if (!doc) return;
    for (CommitStep step : order) {
        switch (step) {
        case CommitStep::Save: doc->SaveDataToXML(doc->GetCurDataIndex()); break;
        case CommitStep::UpdateStatus: doc->UpdateCtrlStatus(); break;
        case CommitStep::Refill: doc->SetCtrlContent(nullptr); break;
        case CommitStep::Notify:
            doc->SendToNotifyWnd(WM_USER + 0x16, 0, 0);
            break;
        }
    }
}

CEditingOk::Outcome CEditingOk::Execute(CTavrionDoc* doc, const _EDIT_STAMP_FIELDS& fields, const Run& run)
{
    if (run.unchanged && run.unchanged()) return Outcome::Unchanged;
    CString name;
    if (!Ask(run.prompt, doc, name)) return Outcome::Abandoned;
    if (run.store && !run.store(name)) return Outcome::Abandoned;
    if (run.prompt == Prompt::Doctor)
        StampConfirmation(fields, name);
    else
        StampEdit(doc, fields, name, run.recordTime, run.changeTest);
    Commit(doc, run.order);
    return Outcome::Stored;
}
