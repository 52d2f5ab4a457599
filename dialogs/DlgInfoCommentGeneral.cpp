#include "dialogs/DlgInfoCommentGeneral.h"

#include "core/AnnoEditStamp.h"
#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "dialogs/EditingOk.h"
#include "documents/ExtraDataItem.h"
#include "documents/ExtraViewDoc.h"
#include "documents/FinalDataItem.h"
#include "documents/FinalViewDoc.h"
#include "documents/MFERDataItem.h"
#include "documents/MFERViewDoc.h"
#include "documents/RRDataItem.h"
#include "documents/RRViewDoc.h"
#include "documents/RhythmDataItem.h"
#include "documents/RhythmViewDoc.h"
#include "platform/ui/windowing/SystemSettings.h"

namespace {

// The current item of the kind's document; null without one.
template <class Doc> auto CurrentItemOf(CTavrionDoc* doc) -> decltype(static_cast<Doc*>(nullptr)->GetCurrentDataItem())
{
    auto* typed = dynamic_cast<Doc*>(doc);
    return typed ? typed->GetCurrentDataItem() : nullptr;
}

_EDIT_STAMP_FIELDS MasterStepFields(_FINALDATAITEM& item)
{
    _EDIT_STAMP_FIELDS f;
    f.pRecordEditTime = &item.stPatient.strReserved;
    f.pInfoStamp = &item.stInterpre.strFree[FINAL_FREE_PATIENT_EDIT_DATE];
    f.pInfoEditor = &item.stInterpre.strFree[FINAL_FREE_PATIENT_EDITOR];
    f.pEditStamp = &item.stInterpre.strFree[FINAL_FREE_ANALYSIS_EDIT_DATE];
    f.pEditor = &item.stInterpre.strFree[FINAL_FREE_ANALYSIS_EDITOR];
    f.pCommentStamp = &item.stInterpre.strFree[FINAL_FREE_COMMENT_EDIT_DATE];
    f.pCommentEditor = &item.stInterpre.strFree[FINAL_FREE_COMMENT_EDITOR];
    f.pAdditionStamp = &item.stAddition.strEditDate;
    f.pAdditionEditor = &item.stAddition.strEditor;
    f.pConfirmed = &item.stPatient.bConfirmed;
    f.pEditedAfterConfirm = &item.stPatient.bEditedAfterConfirm;
    f.pConfirmText = &item.stPatient.strConfirmation;
    f.pConfirmDate = &item.stPatient.strConfirmDate;
    f.pConfirmDoctor = &item.stPatient.strConfirmDoctor;
    return f;
}

// The additions-present flag of the current item; -1 without an item.
int AdditionFlag(CTavrionDoc* doc, int type)
{
    switch (type) {
    case DOC_TYPE_FINAL: {
        _FINALDATAITEM* item = CurrentItemOf<CFinalViewDoc>(doc);
        return item ? item->stAddition.bPresent : -1;
    }
    case DOC_TYPE_RHYTHM: {
        _RHYTHMDATAITEM* item = CurrentItemOf<CRhythmViewDoc>(doc);
        return item ? item->stAddition.bPresent : -1;
    }
    case DOC_TYPE_RR: {
        _RRDATAITEM* item = CurrentItemOf<CRRViewDoc>(doc);
        return item ? item->stAddition.bPresent : -1;
    }
    case DOC_TYPE_EXTRA: {
        _EXTRADATAITEM* item = CurrentItemOf<CExtraViewDoc>(doc);
        return item ? item->stAddition.bPresent : -1;
    }
    case DOC_TYPE_MFER: {
        _MFERDATAITEM* item = CurrentItemOf<CMFERViewDoc>(doc);
        return item ? item->stAddition.bPresent : -1;
    }
    default: return -1;
    }
}

void Set(CString* field, const CString& value)
{
    if (field) *field = value;
}

void Set(int* field, int value)
{
    if (field) *field = value;
}

// The doctor's confirmation of the item: confirmed now, nothing edited since.
void Confirm(const _EDIT_STAMP_FIELDS& f, const CString& stamp, const CString& doctor)
{
    Set(f.pConfirmed, 1);
    Set(f.pConfirmDate, stamp);
    Set(f.pRecordEditTime, stamp);
    Set(f.pConfirmDoctor, doctor);
    Set(f.pEditedAfterConfirm, 0);
    CString text;
    text.Format(L"%s(%s%s %s)", L"判読後に編集あり", L"最終判読:", stamp.Left(16).GetString(), doctor.GetString());
    Set(f.pConfirmText, text);
}

// An edit after a confirmation keeps the last confirmation readable; an
// unread record asks for the doctor.
void MarkEdited(const _EDIT_STAMP_FIELDS& f)
{
    const bool read = (f.pConfirmed && *f.pConfirmed) || (f.pEditedAfterConfirm && *f.pEditedAfterConfirm);
    if (read) {
        CString text;
        text.Format(L"%s(%s%s %s)", L"判読後に編集あり", L"最終判読:",
                    f.pConfirmDate ? f.pConfirmDate->Left(16).GetString() : L"",
                    f.pConfirmDoctor ? f.pConfirmDoctor->GetString() : L"");
        Set(f.pConfirmed, 0);
        Set(f.pEditedAfterConfirm, 1);
        Set(f.pConfirmText, text);
    } else {
        Set(f.pConfirmed, 0);
        Set(f.pEditedAfterConfirm, 0);
        Set(f.pConfirmText, CString(L"医師による確認が必要です"));
    }
}

}  // namespace

IMPLEMENT_DYNAMIC(CDlgInfoCommentGeneral, CDlgModal)

BEGIN_MESSAGE_MAP(CDlgInfoCommentGeneral, CDlgModal)
    ON_BN_CLICKED(3201, OnDoctorInput)
END_MESSAGE_MAP()

CDlgInfoCommentGeneral::CDlgInfoCommentGeneral(CWnd* pParent)
    : CDlgModal(IDD, pParent), m_pDoc(nullptr), m_nType(DOC_TYPE_FINAL), m_nInitialPage(0), m_bAddition(0),
      m_bDoctorConfirmed(0), m_nCheckResult(255)
{
    m_pFont = GetSystemMetrics(SM_CXSCREEN) >= 1281 ? g_pDlgFontMiddle1 : g_pDlgFontNormal;
}

CDlgInfoCommentGeneral::~CDlgInfoCommentGeneral() = default;

void CDlgInfoCommentGeneral::SetDoc(CTavrionDoc* pDoc, int nType)
{
    m_pDoc = pDoc;
    m_nType = nType;
    m_pageGeneral.SetDoc(pDoc, nType);
    m_pageAddition.SetDoc(pDoc, nType);
}

bool CDlgInfoCommentGeneral::CurrentFields(_EDIT_STAMP_FIELDS& fields) const
{
    switch (m_nType) {
    case DOC_TYPE_FINAL:
        if (_FINALDATAITEM* item = CurrentItemOf<CFinalViewDoc>(m_pDoc)) return fields = MasterStepFields(*item), true;
        return false;
    case DOC_TYPE_RHYTHM:
        if (_RHYTHMDATAITEM* item = CurrentItemOf<CRhythmViewDoc>(m_pDoc)) return fields = EditStampFieldsOf(*item), true;
        return false;
    case DOC_TYPE_RR:
        if (_RRDATAITEM* item = CurrentItemOf<CRRViewDoc>(m_pDoc)) return fields = EditStampFieldsOf(*item), true;
        return false;
    case DOC_TYPE_EXTRA:
        if (_EXTRADATAITEM* item = CurrentItemOf<CExtraViewDoc>(m_pDoc)) return fields = EditStampFieldsOf(*item), true;
        return false;
    case DOC_TYPE_MFER:
        if (_MFERDATAITEM* item = CurrentItemOf<CMFERViewDoc>(m_pDoc)) return fields = EditStampFieldsOf(*item), true;
        return false;
    default: return false;
    }
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
    const int addition = AdditionFlag(m_pDoc, m_nType);
    if (addition < 0) {
        if (ok) ok->EnableWindow(FALSE);
        if (doctor) doctor->EnableWindow(FALSE);
        return FALSE;
    }
    m_bAddition = addition;

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
    m_nCheckResult = m_pageGeneral.CheckPatientData();
    if (m_nCheckResult == 255) return;

    const CString stamp = MakeEditStamp();
    m_strName.Format(L"%s", doctor.GetString());
    _EDIT_STAMP_FIELDS fields;
    if (CurrentFields(fields)) Confirm(fields, stamp, m_strName);
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
    int changed = m_pageGeneral.IsDataChange();
    if (!changed && m_bAddition) changed = m_pageAddition.IsDataChange();
    if (!changed) {
        if (m_bDoctorConfirmed && m_pDoc) {
            m_pDoc->SaveDataToXML(m_pDoc->GetCurDataIndex());
            m_pDoc->SendToNotifyWnd(WM_USER + 0x16, 0, 0);
        }
        EndDialog(IDOK);
        return;
    }
    m_nCheckResult = m_pageGeneral.CheckPatientData();
    if (m_nCheckResult == 255) return;

    const bool keepDoctor = m_bDoctorConfirmed && m_pDoc && m_pDoc->GetSubstituteParam(SUBSTITUTE_SELECT) == 0;
    if (!keepDoctor && m_pDoc && m_pDoc->IsSaveEditor()) {
        CString editor;
        if (!CEditingOk::Ask(CEditingOk::Prompt::Editor, m_pDoc, editor)) return;
        m_strName = editor;
    }
    SaveInformation(m_strName);
    EndDialog(IDOK);
}

void CDlgInfoCommentGeneral::SaveInformation(CString strName)
{
    _EDIT_STAMP_FIELDS f;
    const bool hasItem = CurrentFields(f);
    CString stamp = MakeEditStamp();
    if (m_bDoctorConfirmed && hasItem && f.pConfirmDate) stamp = *f.pConfirmDate;

    if (hasItem) {
        Set(f.pRecordEditTime, stamp);
        if (m_pageGeneral.IsInformationChange()) {
            Set(f.pInfoStamp, stamp);
            Set(f.pInfoEditor, strName);
        }
        // The additions page answers for itself at save time, so rows typed
        // after the first page's test still get their stamp.
        if (m_bAddition && m_pageAddition.IsDataChange()) {
            Set(f.pAdditionStamp, stamp);
            Set(f.pAdditionEditor, strName);
        }
        if (m_nType == DOC_TYPE_FINAL && m_pageGeneral.IsJudgementChange()) {
            Set(f.pEditStamp, stamp);
            Set(f.pEditor, strName);
        }
        if (m_pageGeneral.IsCommentChange()) {
            Set(f.pCommentStamp, stamp);
            Set(f.pCommentEditor, strName);
        }
        if (!m_bDoctorConfirmed) MarkEdited(f);
    }
    if (m_nCheckResult == 0) m_pageGeneral.SaveDataToItem();
    if (m_bAddition) m_pageAddition.SaveDataToItem();
    CEditingOk::Commit(m_pDoc, {CEditingOk::CommitStep::UpdateStatus, CEditingOk::CommitStep::Refill,
                                CEditingOk::CommitStep::Save, CEditingOk::CommitStep::Notify});
}
