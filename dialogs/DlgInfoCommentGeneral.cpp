#include "dialogs/DlgInfoCommentGeneral.h"

#include "core/AnnoEditStamp.h"
#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "dialogs/EditingOk.h"
#include "platform/ui/windowing/SystemSettings.h"

namespace {

// The kinds this sheet has a first page for: resting records have their own
// sheet; exercise records have their own page.
bool HasFirstPage(int type)
{
    return type == DOC_TYPE_FINAL || type == DOC_TYPE_RHYTHM || type == DOC_TYPE_RR || type == DOC_TYPE_EXTRA ||
           type == DOC_TYPE_MFER || type == DOC_TYPE_EXER;
}

}  // namespace

IMPLEMENT_DYNAMIC(CDlgInfoCommentGeneral, CDlgModal)

BEGIN_MESSAGE_MAP(CDlgInfoCommentGeneral, CDlgModal)
    ON_BN_CLICKED(3201, OnDoctorInput)
END_MESSAGE_MAP()

CDlgInfoCommentGeneral::CDlgInfoCommentGeneral(CWnd* pParent)
    : CDlgModal(IDD, pParent), m_pDoc(nullptr), m_nType(DOC_TYPE_FINAL), m_nInitialPage(0), m_bAddition(0),
      m_bDoctorConfirmed(0), m_nCheckResult(255), m_bSaveFailed(0)
{
    m_pFont = GetSystemMetrics(SM_CXSCREEN) >= 1281 ? g_pDlgFontMiddle1 : g_pDlgFontNormal;
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

void CDlgInfoCommentGeneral::InitControlText()
{
    SetWindowText(L"情報編集");
    const struct {
        int id;
        const wchar_t* text;
    } buttons[] = {{IDOK, L"更新"}, {IDCANCEL, L"取消"}, {3201, L"更新(判読医師名入力)"}};
    for (const auto& button : buttons) {
        if (CWnd* control = GetDlgItem(button.id)) {
            control->SetWindowText(button.text);
            if (m_pFont) control->SetFont(m_pFont, TRUE);
        }
    }
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
    m_sheet.Create(this, WS_CHILD | WS_VISIBLE, 0);
    m_sheet.ShowWindow(SW_SHOW);
    m_sheet.ModifyStyleEx(0, WS_EX_CONTROLPARENT);
    m_sheet.ModifyStyle(0, WS_TABSTOP);
    m_sheet.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    if (CTabCtrl* tabs = m_sheet.GetTabControl()) {
        const wchar_t* const texts[] = {L"情報編集", L"付帯情報"};
        for (int i = 0; i < (m_bAddition ? 2 : 1); ++i) {
            TCITEM tab = {};
            tab.mask = TCIF_TEXT;
            tab.pszText = const_cast<LPWSTR>(texts[i]);
            tabs->SetItem(i, &tab);
        }
        if (m_pFont) tabs->SetFont(m_pFont, TRUE);
    }
    // Both pages are made now, so that each has loaded its values before OK.
    if (m_bAddition) {
        m_sheet.SetActivePage(m_nInitialPage ? 0 : 1);
        m_sheet.SetActivePage(m_nInitialPage ? 1 : 0);
    } else {
        m_sheet.SetActivePage(0);
    }
    return TRUE;
}

void CDlgInfoCommentGeneral::OnDoctorInput()
{
    if (!HasPages()) return;
    CString doctor;
    if (!CEditingOk::Ask(CEditingOk::Prompt::Doctor, m_pDoc, doctor)) return;
    // The page is checked before the item is confirmed: a refused value
    // leaves the item as it was, so no later save writes a confirmation
    // nobody completed.
    m_nCheckResult = CheckFirstPage();
    if (m_nCheckResult == 255) return;

    const CString stamp = MakeEditStamp();
    m_strName.Format(L"%s", doctor.GetString());
    _EDIT_STAMP_FIELDS fields;
    if (CurrentFields(fields)) CEditingOk::ConfirmWithText(fields, stamp, m_strName);
    m_bDoctorConfirmed = 1;
    if (m_pDoc) {
        m_pDoc->UpdateCtrlStatus();
        m_pDoc->SetCtrlContent(nullptr);
    }
    OnOK();
}

void CDlgInfoCommentGeneral::OnOK()
{
    if (!HasPages()) return;
    int changed = FirstPageChanged();
    if (!changed && m_bAddition) changed = m_pageAddition.IsDataChange();
    if (!changed) {
        // A confirmation, or an edit whose save failed, is still to be written.
        const bool pending = m_bDoctorConfirmed || m_bSaveFailed;
        if (pending && !CommitSave({CEditingOk::CommitStep::Save, CEditingOk::CommitStep::Notify})) return;
        EndDialog(IDOK);
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

bool CDlgInfoCommentGeneral::CommitSave(std::initializer_list<CEditingOk::CommitStep> order)
{
    m_bSaveFailed = CEditingOk::Commit(m_pDoc, order) ? 0 : 1;
    return !m_bSaveFailed;
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
