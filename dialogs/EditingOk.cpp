#include "dialogs/EditingOk.h"

#include "core/UserMessages.h"
#include "core/AnnoEditStamp.h"
#include "core/ECGXMLParser.h"
#include "core/TavrionDoc.h"
#include "core/TavrionMessage.h"
#include "dialogs/DlgDoctor.h"
#include "dialogs/DlgEditor.h"
#include "documents/ExerViewDoc.h"
#include "documents/ExtraViewDoc.h"
#include "documents/FinalViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "documents/RRViewDoc.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmViewDoc.h"

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
    f.pAdditionPresent = &item.stAddition.bPresent;
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
    f.pAdditionPresent = &item.stAddition.bPresent;
    f.pCommentStamp = &item.strCommentDate;
    f.pCommentEditor = &item.strCommentEditor;
    return f;
}

// The fields of the current item of a document of class Doc; false
// without one.
template <class Doc> bool CurrentFieldsOf(CTavrionDoc* doc, _EDIT_STAMP_FIELDS& fields)
{
    auto* typed = dynamic_cast<Doc*>(doc);
    auto* item = typed ? typed->GetCurrentDataItem() : nullptr;
    if (!item) return false;
    fields = EditStampFieldsOf(*item);
    return true;
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
    f.pAdditionPresent = &item.stAddition.bPresent;
    f.pCommentStamp = &item.strCommentEditDate;
    f.pCommentEditor = &item.strCommentEditor;
    return f;
}

_EDIT_STAMP_FIELDS EditStampFieldsOf(_FINALDATAITEM& item)
{
    _EDIT_STAMP_FIELDS f;
    ConfirmationFields(item.stPatient, f);
    CString* free = item.stInterpre.strFree;
    f.pInfoStamp = &free[FINAL_FREE_PATIENT_EDIT_DATE];
    f.pInfoEditor = &free[FINAL_FREE_PATIENT_EDITOR];
    f.pEditStamp = &free[FINAL_FREE_ANALYSIS_EDIT_DATE];
    f.pEditor = &free[FINAL_FREE_ANALYSIS_EDITOR];
    f.pCommentStamp = &free[FINAL_FREE_COMMENT_EDIT_DATE];
    f.pCommentEditor = &free[FINAL_FREE_COMMENT_EDITOR];
    f.pAdditionStamp = &item.stAddition.strEditDate;
    f.pAdditionEditor = &item.stAddition.strEditor;
    f.pAdditionPresent = &item.stAddition.bPresent;
    return f;
}

_EDIT_STAMP_FIELDS EditStampFieldsOf(_EXERDATAITEM& item)
{
    _EDIT_STAMP_FIELDS f;
    ConfirmationFields(item.stPatient, f);
    // The exercise record keeps its edit time beside the patient record
    // (Inspection/Patient_section/Edit_time), not in it.
    f.pRecordEditTime = &item.strPatientEditTime;
    f.pInfoStamp = &item.stInterpre.strPatientEditDate;
    f.pInfoEditor = &item.stInterpre.strPatientEditor;
    f.pEditStamp = &item.stInterpre.strAnalysisEditDate;
    f.pEditor = &item.stInterpre.strAnalysisEditor;
    f.pCommentStamp = &item.stInterpre.strCommentEditDate;
    f.pCommentEditor = &item.stInterpre.strCommentEditor;
    return f;
}

bool CurrentEditStampFields(CTavrionDoc* doc, int type, _EDIT_STAMP_FIELDS& fields)
{
    switch (type) {
    case DOC_TYPE_REST: return CurrentFieldsOf<CRestViewDoc>(doc, fields);
    case DOC_TYPE_FINAL: return CurrentFieldsOf<CFinalViewDoc>(doc, fields);
    case DOC_TYPE_RHYTHM: return CurrentFieldsOf<CRhythmViewDoc>(doc, fields);
    case DOC_TYPE_RR: return CurrentFieldsOf<CRRViewDoc>(doc, fields);
    case DOC_TYPE_EXTRA: return CurrentFieldsOf<CExtraViewDoc>(doc, fields);
    case DOC_TYPE_EXER: return CurrentFieldsOf<CExerViewDoc>(doc, fields);
    case DOC_TYPE_MFER: return CurrentFieldsOf<CMFERViewDoc>(doc, fields);
    default: return false;
    }
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
    return CDlgEditor::AskEditorName(nullptr, doc, name);
}

CString CEditingOk::StampEdit(CTavrionDoc* doc, const _EDIT_STAMP_FIELDS& f, const CString& name,
                              RecordTime recordTime, const std::function<int()>& changeTest)
{
    const CString stamp = MakeEditStamp();
    StampSection(f, Section::Analysis, stamp, name);
    if (recordTime == RecordTime::Stamp) Set(f.pRecordEditTime, stamp);

    if (doc && changeTest && changeTest()) {
        if (doc->IsInformationChange()) StampSection(f, Section::Information, stamp, name);
        if (doc->IsAdditionChange()) StampSection(f, Section::Addition, stamp, name);
        if (doc->IsCommentChange()) StampSection(f, Section::Comment, stamp, name);
    }

    MarkEdited(f);
    return stamp;
}

void CEditingOk::StampSection(const _EDIT_STAMP_FIELDS& f, Section section, const CString& stamp,
                              const CString& name)
{
    switch (section) {
    case Section::Information: Set(f.pInfoStamp, stamp), Set(f.pInfoEditor, name); break;
    case Section::Addition: Set(f.pAdditionStamp, stamp), Set(f.pAdditionEditor, name); break;
    case Section::Analysis: Set(f.pEditStamp, stamp), Set(f.pEditor, name); break;
    case Section::Comment: Set(f.pCommentStamp, stamp), Set(f.pCommentEditor, name); break;
    }
}

CString CEditingOk::EditedAfterConfirmText(const CString& confirmDate, const CString& doctor)
{
    // The last confirmation stays readable: its date to the minute and its doctor.
    CString text;
    text.Format(L"%s(%s%s %s)", L"判読後に編集あり", L"最終判読:", confirmDate.Left(16).GetString(),
                doctor.GetString());
    return text;
}

void CEditingOk::MarkEdited(const _EDIT_STAMP_FIELDS& f)
{
    if (IsSet(f.pConfirmed) || IsSet(f.pEditedAfterConfirm)) {
        const CString date = f.pConfirmDate ? *f.pConfirmDate : CString();
        const CString doctor = f.pConfirmDoctor ? *f.pConfirmDoctor : CString();
        Set(f.pConfirmed, 0);
        Set(f.pEditedAfterConfirm, 1);
        Set(f.pConfirmText, EditedAfterConfirmText(date, doctor));
    } else {
        Set(f.pConfirmed, 0);
        Set(f.pEditedAfterConfirm, 0);
        Set(f.pConfirmText, CString(L"医師による確認が必要です"));
    }
}

CString CEditingOk::StampConfirmation(const _EDIT_STAMP_FIELDS& f, const CString& doctor)
{
    const CString stamp = MakeEditStamp();
    SetConfirmed(f, stamp, doctor);
    return stamp;
}

void CEditingOk::ConfirmWithText(const _EDIT_STAMP_FIELDS& f, const CString& stamp, const CString& doctor,
                                 RecordTime recordTime)
{
    SetConfirmed(f, stamp, doctor);
    if (recordTime == RecordTime::Stamp) Set(f.pRecordEditTime, stamp);
    Set(f.pConfirmText, EditedAfterConfirmText(stamp, doctor));
}

void CEditingOk::SetConfirmed(const _EDIT_STAMP_FIELDS& f, const CString& stamp, const CString& doctor)
{
    Set(f.pConfirmed, 1);
    Set(f.pEditedAfterConfirm, 0);
    Set(f.pConfirmDate, stamp);
    Set(f.pConfirmDoctor, doctor);
}

bool CEditingOk::Commit(CTavrionDoc* doc, std::initializer_list<CommitStep> order)
{
    return Commit(doc, std::vector<CommitStep>(order));
}

bool CEditingOk::Commit(CTavrionDoc* doc, const std::vector<CommitStep>& order)
{
    if (!doc) return true;
    for (CommitStep step : order) {
        switch (step) {
        case CommitStep::Save:
            // The host must not redraw from a record XML that does not hold the edit.
            CECGXMLParser::ForgetSaveFailure();
            if (doc->SaveDataToXML(doc->GetCurDataIndex()) != 0) {
                ReportFailedSave();
                return false;
            }
            break;
        case CommitStep::UpdateStatus: doc->UpdateCtrlStatus(); break;
        case CommitStep::Refill: doc->SetCtrlContent(nullptr); break;
        case CommitStep::Notify: doc->SendToNotifyWnd(WM_EDIT_STORED, 0, 0); break;
        }
    }
    return true;
}

void CEditingOk::ReportFailedSave()
{
    // The user is told which file could not be written and why, so that a
    // read-only folder or a folder under its name can be put right.
    const CString text = CECGXMLParser::GetSaveFailureText();
    // Told once: a later failure that writes nothing is not this one.
    CECGXMLParser::ForgetSaveFailure();
    CTavrionMessage box(text, 0, nullptr, L"エラー", MB_OK | MB_ICONERROR);
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
    return Commit(doc, run.order) ? Outcome::Stored : Outcome::SaveFailed;
}
