#include "dialogs/DlgInfoCommentGeneral.h"

#include "core/AnnoEditStamp.h"
#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "dialogs/EditingOk.h"

namespace {

// The kinds this sheet has a first page for: resting records have their own
// sheet; exercise records have their own page.
bool HasFirstPage(int type)
{
    return type == DOC_TYPE_FINAL || type == DOC_TYPE_RHYTHM || type == DOC_TYPE_RR || type == DOC_TYPE_EXTRA ||
           type == DOC_TYPE_MFER || type == DOC_TYPE_EXER;
}

}  // namespace

IMPLEMENT_DYNAMIC(CDlgInfoCommentGeneral, CDlgInfoCommentBase)

CDlgInfoCommentGeneral::CDlgInfoCommentGeneral(CWnd* pParent)
    : CDlgInfoCommentBase(IDD, pParent, DOC_TYPE_FINAL), m_nInitialPage(0)
{
}

CDlgInfoCommentGeneral::~CDlgInfoCommentGeneral() = default;

void CDlgInfoCommentGeneral::SetDoc(CTavrionDoc* pDoc, int nType)
{
    m_pDoc = pDoc;
    m_nType = nType;
    m_pageGeneral.SetDoc(pDoc, nType);
    m_pageExer.SetDoc(pDoc, nType);
    m_pageAddition.SetDoc(pDoc, nType);
}

bool CDlgInfoCommentGeneral::CurrentFields(_EDIT_STAMP_FIELDS& fields) const
{
    return HasFirstPage(m_nType) && CurrentEditStampFields(m_pDoc, m_nType, fields);
}

bool CDlgInfoCommentGeneral::IsExercise() const
{
    return m_nType == DOC_TYPE_EXER;
}

int CDlgInfoCommentGeneral::FirstPageChanged()
{
    return IsExercise() ? m_pageExer.IsDataChange() : m_pageGeneral.IsDataChange();
}

int CDlgInfoCommentGeneral::CheckFirstPage()
{
    return IsExercise() ? m_pageExer.CheckPatientData() : m_pageGeneral.CheckPatientData();
}

int CDlgInfoCommentGeneral::FirstPageInformationChanged()
{
    return IsExercise() ? m_pageExer.IsInformationChange() : m_pageGeneral.IsInformationChange();
}

int CDlgInfoCommentGeneral::FirstPageCommentChanged()
{
    return IsExercise() ? m_pageExer.IsCommentChange() : m_pageGeneral.IsCommentChange();
}

BOOL CDlgInfoCommentGeneral::OnInitDialog()
{
    CDlgModal::OnInitDialog();
    InitControlText();
    CWnd* ok = GetDlgItem(IDOK);
    CWnd* doctor = GetDlgItem(3201);
    const bool readOnly = !m_pDoc || m_pDoc->IsReadOnly();
    if (ok) ok->EnableWindow(!readOnly && m_pDoc->IsSaveEditor());
    if (doctor) doctor->EnableWindow(!readOnly && m_pDoc->IsSaveDoctor());

    // Without an item (and for the kinds this sheet has no first page for)
    // no page exists to answer the change tests: only Cancel stays.
    _EDIT_STAMP_FIELDS fields;
    if (!CurrentFields(fields)) {
        if (ok) ok->EnableWindow(FALSE);
        if (doctor) doctor->EnableWindow(FALSE);
        return FALSE;
    }
    m_bAddition = fields.pAdditionPresent && !IsExercise() ? *fields.pAdditionPresent : 0;

    if (IsExercise())
        m_sheet.AddPage(&m_pageExer);
    else
        m_sheet.AddPage(&m_pageGeneral);
    if (m_bAddition) m_sheet.AddPage(&m_pageAddition);
    CreateSheet({L"情報編集", L"付帯情報"});
    // Both pages are made now, so that each has loaded its values before OK.
    if (m_bAddition) {
        m_sheet.SetActivePage(m_nInitialPage ? 0 : 1);
        m_sheet.SetActivePage(m_nInitialPage ? 1 : 0);
    } else {
        m_sheet.SetActivePage(0);
    }
    return TRUE;
}

void CDlgInfoCommentGeneral::OnOK()
{
    if (!HasPages()) return;
    int changed = FirstPageChanged();
    if (!changed && m_bAddition) changed = m_pageAddition.IsDataChange();
    if (!changed) {
        CloseUnchanged();
        return;
    }
    m_nCheckResult = CheckFirstPage();
    if (m_nCheckResult == 255) return;

    const bool keepDoctor = m_bDoctorConfirmed && m_pDoc && m_pDoc->GetSubstituteParam(SUBSTITUTE_SELECT) == 0;
    if (!keepDoctor && m_pDoc && m_pDoc->IsSaveEditor()) {
        CString editor;
        if (!CEditingOk::Ask(CEditingOk::Prompt::Editor, m_pDoc, editor)) return;
        m_strName = editor;
    }
    SaveInformation(m_strName);
    // A record XML that could not be written keeps the dialog open: OK tries
    // the save again, Cancel leaves the edit in memory only.
    if (!m_bSaveFailed) EndDialog(IDOK);
}

void CDlgInfoCommentGeneral::SaveInformation(CString strName)
{
    _EDIT_STAMP_FIELDS f;
    const bool hasItem = CurrentFields(f);
    CString stamp = MakeEditStamp();
    if (m_bDoctorConfirmed && hasItem && f.pConfirmDate) stamp = *f.pConfirmDate;

    if (hasItem) {
        using Section = CEditingOk::Section;
        if (f.pRecordEditTime) *f.pRecordEditTime = stamp;
        if (FirstPageInformationChanged()) CEditingOk::StampSection(f, Section::Information, stamp, strName);
        // The additions page answers for itself at save time, so rows typed
        // after the first page's test still get their stamp.
        if (m_bAddition && m_pageAddition.IsDataChange())
            CEditingOk::StampSection(f, Section::Addition, stamp, strName);
        if (m_nType == DOC_TYPE_FINAL && m_pageGeneral.IsJudgementChange())
            CEditingOk::StampSection(f, Section::Analysis, stamp, strName);
        if (FirstPageCommentChanged()) CEditingOk::StampSection(f, Section::Comment, stamp, strName);
        if (!m_bDoctorConfirmed) CEditingOk::MarkEdited(f);
    }
    if (m_nCheckResult == 0) {
        if (IsExercise())
            m_pageExer.SaveDataToItem();
        else
            m_pageGeneral.SaveDataToItem();
    }
    if (m_bAddition) m_pageAddition.SaveDataToItem();
    CommitSave({CEditingOk::CommitStep::UpdateStatus, CEditingOk::CommitStep::Refill, CEditingOk::CommitStep::Save,
                CEditingOk::CommitStep::Notify});
}
