#include "dialogs/DlgPatientInfoComment.h"

#include "core/AnnoEditStamp.h"
#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "documents/RestDataItem.h"
#include "documents/RestViewDoc.h"

IMPLEMENT_DYNAMIC(CDlgPatientInfoComment, CDlgInfoCommentBase)

CDlgPatientInfoComment::CDlgPatientInfoComment(int nMode, CWnd* pParent)
    : CDlgInfoCommentBase(IDD, pParent, DOC_TYPE_REST), m_nMode(nMode), m_nExplicitPage(-1)
{
}

CDlgPatientInfoComment::~CDlgPatientInfoComment() = default;

void CDlgPatientInfoComment::SetDoc(CTavrionDoc* pDoc, int nType)
{
    m_pDoc = pDoc;
    m_nType = nType;
    m_pagePatient.SetDoc(pDoc, nType);
    m_pageComment.SetDoc(pDoc, nType);
    m_pageAddition.SetDoc(pDoc, nType);
}

bool CDlgPatientInfoComment::HasItemKind() const
{
    return m_nType == DOC_TYPE_REST || m_nType == DOC_TYPE_MFER;
}

bool CDlgPatientInfoComment::CurrentFields(_EDIT_STAMP_FIELDS& fields) const
{
    return HasItemKind() && CurrentEditStampFields(m_pDoc, m_nType, fields);
}

bool CDlgPatientInfoComment::CurrentIs8000() const
{
    if (m_nType != DOC_TYPE_REST) return false;
    auto* doc = dynamic_cast<CRestViewDoc*>(m_pDoc);
    const _RESTDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    return item && item->b8000File;
}

int CDlgPatientInfoComment::CheckFirstPage()
{
    return m_pagePatient.CheckPatientData();
}

BOOL CDlgPatientInfoComment::OnInitDialog()
{
    CDlgModal::OnInitDialog();
    InitControlText();

    // Without the resting or MFER item of the record no page exists to
    // answer the change tests: only Cancel stays. Another kind has no such
    // item: its pages show the store, and nothing of an item is written.
    _EDIT_STAMP_FIELDS fields;
    const bool hasItem = CurrentFields(fields);
    ApplyPermission(hasItem || !HasItemKind());
    if (!hasItem && HasItemKind()) return FALSE;
    const int present = hasItem && fields.pAdditionPresent ? *fields.pAdditionPresent : 0;
    m_bAddition = CurrentIs8000() ? 0 : present;
    CreatePages();
    ActivateInitialPages();
    return TRUE;
}

void CDlgPatientInfoComment::ApplyPermission(bool pages)
{
    CWnd* ok = GetDlgItem(IDOK);
    CWnd* doctor = GetDlgItem(3201);
    const bool allowed = pages && m_pDoc && !m_pDoc->IsReadOnly();
    const bool editor = allowed && m_pDoc->IsSaveEditor();
    const bool confirm = allowed && m_pDoc->IsSaveDoctor();
    // A model-8000 record is saved as the doctor's confirmation.
    if (ok) ok->EnableWindow(CurrentIs8000() ? editor && confirm : editor);
    if (doctor) doctor->EnableWindow(confirm);
}

void CDlgPatientInfoComment::CreatePages()
{
    m_sheet.AddPage(&m_pagePatient);
    m_sheet.AddPage(&m_pageComment);
    if (m_bAddition) m_sheet.AddPage(&m_pageAddition);
    CreateSheet({L"被検者情報", L"解析結果/コメント", L"付帯情報"});
}

// Every page is made now, so that each has loaded its values before OK; the
// last one activated is the one shown. A mode naming no page shows the first:
// a page never made would save its empty fields over the record's.
void CDlgPatientInfoComment::ActivateInitialPages()
{
    static const int kOrders[3][3] = {{1, 2, 0}, {0, 2, 1}, {0, 1, 2}};
    const int mode = m_nMode >= 0 && m_nMode <= 2 ? m_nMode : 0;
    for (int page : kOrders[mode]) {
        if (page < m_sheet.GetPageCount()) m_sheet.SetActivePage(page);
    }
    if (m_nExplicitPage != -1) m_sheet.SetActivePage(m_nExplicitPage);
}

void CDlgPatientInfoComment::OnOK()
{
    if (!HasPages()) return;
    // Both pages answer, so that both set their change flags.
    const int patient = m_pagePatient.IsDataChange();
    const int comment = m_pageComment.IsDataChange();
    int changed = patient || comment;
    if (!changed && m_bAddition) changed = m_pageAddition.IsDataChange();
    if (!changed) {
        CloseUnchanged();
        return;
    }
    m_nCheckResult = m_pagePatient.CheckPatientData();
    if (m_nCheckResult == 255) return;
    _EDIT_STAMP_FIELDS fields;
    if (!CurrentFields(fields) && HasItemKind()) return;
    if (!AskName(CurrentIs8000())) return;
    SaveInformation(m_strName);
    // A record XML that could not be written keeps the dialog open: OK tries
    // the save again, Cancel leaves the edit in memory only.
    if (!m_bSaveFailed) EndDialog(IDOK);
}

bool CDlgPatientInfoComment::AskName(bool b8000)
{
    if (m_bDoctorConfirmed && m_pDoc->GetSubstituteParam(SUBSTITUTE_SELECT) == 0) return true;
    CString name;
    if (!b8000) {
        if (!m_pDoc->IsSaveEditor()) return true;
        if (!CEditingOk::Ask(CEditingOk::Prompt::Editor, m_pDoc, name)) return false;
    } else {
        if (m_bDoctorConfirmed) return true;
        if (!CEditingOk::Ask(CEditingOk::Prompt::Doctor, m_pDoc, name)) return false;
    }
    m_strName = name;
    return true;
}

void CDlgPatientInfoComment::SaveInformation(CString strName)
{
    using Section = CEditingOk::Section;
    const int patientChanged = m_pagePatient.IsDataChange();
    CString stamp = MakeEditStamp();
    _EDIT_STAMP_FIELDS f;
    const bool hasItem = CurrentFields(f);
    if (hasItem && !CurrentIs8000()) {
        if (m_bDoctorConfirmed && f.pConfirmDate) stamp = *f.pConfirmDate;
        if (f.pRecordEditTime) *f.pRecordEditTime = stamp;
        if (patientChanged) CEditingOk::StampSection(f, Section::Information, stamp, strName);
        // The additions page answers for itself at save time, so rows typed
        // after the first change test still get their stamp.
        if (m_bAddition && m_pageAddition.IsDataChange()) CEditingOk::StampSection(f, Section::Addition, stamp, strName);
        if (m_pageComment.IsCodeChange()) CEditingOk::StampSection(f, Section::Analysis, stamp, strName);
        if (m_pageComment.IsCommentChange()) CEditingOk::StampSection(f, Section::Comment, stamp, strName);
        if (!m_bDoctorConfirmed) CEditingOk::MarkEdited(f);
    } else if (hasItem && !m_bDoctorConfirmed) {
        // A model-8000 record keeps no editor stamps: its save is the doctor's confirmation.
        CEditingOk::ConfirmWithText(f, stamp, strName, CEditingOk::RecordTime::Keep);
    }
    if (hasItem) {
        if (m_nCheckResult == 0) m_pagePatient.SaveDataToItem();
        m_pageComment.SaveDataToItem();
        if (m_bAddition) m_pageAddition.SaveDataToItem();
    }
    CommitSave({CEditingOk::CommitStep::UpdateStatus, CEditingOk::CommitStep::Refill, CEditingOk::CommitStep::Save,
                CEditingOk::CommitStep::Notify});
}
