#include "dialogs/PageAdditionalInfor.h"

#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "dialogs/DlgEditAdditionalInfor.h"
#include "dialogs/TextLengthGuard.h"
#include "documents/ExtraDataItem.h"
#include "documents/ExtraViewDoc.h"
#include "documents/FinalDataItem.h"
#include "documents/FinalViewDoc.h"
#include "documents/MFERDataItem.h"
#include "documents/MFERViewDoc.h"
#include "documents/RRDataItem.h"
#include "documents/RRViewDoc.h"
#include "documents/RestDataItem.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmDataItem.h"
#include "documents/RhythmViewDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/gdi/Pen.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/framework/Modules.h"
#include "platform/ui/framework/PaintDC.h"
#include "platform/ui/windowing/Resources.h"
#include "platform/ui/windowing/ControlRecords.h"
#include "platform/ui/windowing/SystemSettings.h"

namespace {

const int kNumber = 3844;    // number labels 3844-3859
const int kDelete = 3860;    // delete buttons 3860-3875
const int kTitle = 3876;     // title edits 3876-3891
const int kContent = 3892;   // content edits 3892-3907
const int kSpin = 3908;
const int kTitleLimit = 32;
const int kContentLimit = 255;
const int kLastPage = ADDITION_MAX / ADDITION_PAGE_ROWS - 1;

template <class Doc> _ADDITIONAL_INFO* RecordOf(CTavrionDoc* doc)
{
    auto* typed = dynamic_cast<Doc*>(doc);
    auto* item = typed ? typed->GetCurrentDataItem() : nullptr;
    return item ? &item->stAddition : nullptr;
}

}  // namespace

IMPLEMENT_DYNAMIC(CPageAdditionalInfor, CPropertyPage)

BEGIN_MESSAGE_MAP(CPageAdditionalInfor, CPropertyPage)
    ON_BN_CLICKED(3909, OnFixedPhrase)
    ON_CONTROL_RANGE(BN_CLICKED, kDelete, kDelete + ADDITION_PAGE_ROWS - 1, OnDeleteItem)
    ON_NOTIFY(UDN_DELTAPOS, kSpin, OnDeltaposSpin)
    ON_CONTROL_RANGE(EN_UPDATE, kTitle, kContent + ADDITION_PAGE_ROWS - 1, OnUpdateItemText)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CPageAdditionalInfor::CPageAdditionalInfor() : CPropertyPage(IDD), m_pDoc(nullptr), m_nType(0), m_nPage(0)
{
    m_pFont = GetSystemMetrics(SM_CXSCREEN) >= 1281 ? g_pDlgFontMiddle1 : g_pDlgFontNormal;
}

CPageAdditionalInfor::~CPageAdditionalInfor() = default;

void CPageAdditionalInfor::SetDoc(CTavrionDoc* pDoc, int nType)
{
    m_pDoc = pDoc;
    m_nType = nType;
}

bool CPageAdditionalInfor::IsReadOnly() const
{
    return m_pDoc && m_pDoc->IsReadOnly();
}

_ADDITIONAL_INFO* CPageAdditionalInfor::CurrentRecord() const
{
    switch (m_nType) {
    case DOC_TYPE_REST: return RecordOf<CRestViewDoc>(m_pDoc);
    case DOC_TYPE_FINAL: return RecordOf<CFinalViewDoc>(m_pDoc);
    case DOC_TYPE_RHYTHM: return RecordOf<CRhythmViewDoc>(m_pDoc);
    case DOC_TYPE_RR: return RecordOf<CRRViewDoc>(m_pDoc);
    case DOC_TYPE_EXTRA: return RecordOf<CExtraViewDoc>(m_pDoc);
    case DOC_TYPE_MFER: return RecordOf<CMFERViewDoc>(m_pDoc);
    default: return nullptr;
    }
}

BOOL CPageAdditionalInfor::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    InitReadOnlyLayout();
    LoadAdditionData();
    InitControls();
    ShowItemPage();
    return TRUE;
}

void CPageAdditionalInfor::InitReadOnlyLayout()
{
    if (!IsReadOnly()) return;
    auto hide = [this](int id) {
        if (CWnd* control = GetDlgItem(id)) control->ShowWindow(SW_HIDE);
    };
    hide(3909);
    for (int r = 0; r < ADDITION_PAGE_ROWS; ++r) {
        hide(kTitle + r);
        hide(kContent + r);
        hide(kDelete + r);
    }
}

void CPageAdditionalInfor::LoadAdditionData()
{
    const _ADDITIONAL_INFO* record = CurrentRecord();
    if (!record || !m_pDoc) return;
    // The first three entries are those the form shows, from the store; the
    // panel forms of rhythm, RR and extra records let the item's own entries
    // take their places.
    UINT title = 3971, content = 3980;
    int firstFromItem = 3;
    switch (m_nType) {
    case DOC_TYPE_FINAL:
        title = 3985;
        content = 3994;
        break;
    case DOC_TYPE_RHYTHM:
    case DOC_TYPE_RR:
    case DOC_TYPE_EXTRA:
        title = 3999;
        content = 4008;
        firstFromItem = 0;
        break;
    case DOC_TYPE_MFER: {
        auto* doc = dynamic_cast<CMFERViewDoc*>(m_pDoc);
        const _MFERDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
        const auto form = doc && item ? doc->GetItemForm(item) : CMFERViewDoc::MferForm::Rest;
        if (form == CMFERViewDoc::MferForm::Rhythm || form == CMFERViewDoc::MferForm::Extra) {
            title = 3999;
            content = 4008;
        }
        break;
    }
    default: break;
    }
    for (UINT i = 0; i < 3; ++i) {
        m_pDoc->GetCtrlData(title + i, m_strTitle[i]);
        m_pDoc->GetCtrlData(content + i, m_strContent[i]);
    }
    const int count = record->nCount < ADDITION_MAX ? record->nCount : ADDITION_MAX;
    for (int e = firstFromItem; e < count; ++e) {
        m_strTitle[e] = record->strTitle[e];
        m_strContent[e] = record->strContent[e];
    }
    m_strLoginTime = record->strLoginEditDate;
    m_strLoginName = record->strLoginEditor;
}

void CPageAdditionalInfor::InitControls()
{
    auto set = [this](int id, const CString& text) {
        if (CWnd* control = GetDlgItem(id)) {
            control->SetWindowText(text);
            if (m_pFont) control->SetFont(m_pFont, TRUE);
        }
    };
    set(3909, L"定型文入力");
    set(3910, L"ログイン者名:");
    set(3911, L"ログイン日時:");
    set(3912, m_strLoginName);
    set(3913, m_strLoginTime);
    LPCWSTR iconName = MAKEINTRESOURCE(115);
    auto icon = static_cast<HICON>(::LoadImageW(AfxFindResourceHandle(iconName, RT_GROUP_ICON), iconName, IMAGE_ICON, 0, 0, 0));
    for (int r = 0; r < ADDITION_PAGE_ROWS; ++r) {
        for (int id : {kTitle + r, kContent + r, kNumber + r}) {
            if (CWnd* control = GetDlgItem(id)) {
                if (m_pFont) control->SetFont(m_pFont, TRUE);
            }
        }
        if (icon) SendDlgItemMessage(kDelete + r, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon));
        SendDlgItemMessage(kTitle + r, EM_LIMITTEXT, kTitleLimit);
        SendDlgItemMessage(kContent + r, EM_LIMITTEXT, kContentLimit);
    }
    SendDlgItemMessage(kSpin, UDM_SETRANGE, 0, MAKELPARAM(16, 1));
}

void CPageAdditionalInfor::ShowItemPage()
{
    for (int r = 0; r < ADDITION_PAGE_ROWS; ++r) {
        const int e = m_nPage * ADDITION_PAGE_ROWS + r;
        // Shown whole, however long: the limits guard only what is typed.
        SetDlgItemText(kTitle + r, m_strTitle[e]);
        NoteLoadedText(GetDlgItem(kTitle + r));
        SetDlgItemText(kContent + r, m_strContent[e]);
        NoteLoadedText(GetDlgItem(kContent + r));
        CString number;
        number.Format(L"%3d", e + 1);
        SetDlgItemText(kNumber + r, number);
    }
    Invalidate();
}

void CPageAdditionalInfor::TakeVisibleRows()
{
    if (!GetSafeHwnd()) return;
    for (int r = 0; r < ADDITION_PAGE_ROWS; ++r) {
        const int e = m_nPage * ADDITION_PAGE_ROWS + r;
        GetDlgItemText(kTitle + r, m_strTitle[e]);
        GetDlgItemText(kContent + r, m_strContent[e]);
    }
}

void CPageAdditionalInfor::OnDeltaposSpin(NMHDR* pNMHDR, LRESULT* pResult)
{
    const auto* change = reinterpret_cast<NMUPDOWN*>(pNMHDR);
    TakeVisibleRows();
    // The up arrow goes back to the previous 16 entries.
    if (change->iDelta >= 0) {
        if (m_nPage >= 1) {
            --m_nPage;
            ShowItemPage();
        }
    } else if (m_nPage < kLastPage) {
        ++m_nPage;
        ShowItemPage();
    }
    *pResult = 0;
}

void CPageAdditionalInfor::OnDeleteItem(UINT id)
{
    TakeVisibleRows();
    const int e = m_nPage * ADDITION_PAGE_ROWS + static_cast<int>(id) - kDelete;
    m_strTitle[e].Empty();
    m_strContent[e].Empty();
    ShowItemPage();
}

void CPageAdditionalInfor::OnFixedPhrase()
{
    TakeVisibleRows();
    int free = -1;
    for (int e = 0; e < ADDITION_MAX && free < 0; ++e) {
        if (m_strTitle[e].IsEmpty() && m_strContent[e].IsEmpty()) free = e;
    }
    if (free < 0) {
        AfxMessageBox(L"付帯情報の数が多すぎます（最大256個）。", MB_OK);
        return;
    }
    CDlgEditAdditionalInfor editor(m_pDoc ? m_pDoc->Is8000File() : 0, nullptr);
    if (editor.DoModal() != IDOK) return;
    m_strTitle[free] = editor.GetAdditionTitle();
    m_strContent[free] = editor.GetAdditionContent();
    ShowItemPage();
}

void CPageAdditionalInfor::OnUpdateItemText(UINT id)
{
    GuardEditToItsLimit(GetDlgItem(static_cast<int>(id)));
}

void CPageAdditionalInfor::OnPaint()
{
    CPaintDC dc(this);
    if (!IsReadOnly() || !m_pDoc) return;
    CDCStateSaver state(dc);
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    CDCObjectSelector<CPen> penSelector(dc, &pen);
    CDCObjectSelector<CFont> fontSelector(dc, g_pDlgFontNormal);
    dc.SetTextAlign(TA_BOTTOM);
    dc.SetBkMode(TRANSPARENT);
    dc.SetBkColor(GetSysColor(COLOR_BTNFACE));

    auto clientRect = [this](int id) {
        CRect rect(0, 0, 0, 0);
        if (CWnd* control = GetDlgItem(id)) {
            control->GetWindowRect(&rect);
            ScreenToClient(&rect);
        }
        return rect;
    };
    const int lineLeft = clientRect(kNumber).left;
    const int lineRight = clientRect(kContent).right;
    for (int r = 0; r < ADDITION_PAGE_ROWS; ++r) {
        const int e = m_nPage * ADDITION_PAGE_ROWS + r;
        const CRect number = clientRect(kNumber + r);
        if (CWnd* label = GetDlgItem(kNumber + r)) label->ShowWindow(SW_HIDE);
        CString text;
        text.Format(L"%3d", e + 1);
        dc.TextOut(number.left, number.bottom, text);
        m_pDoc->DrawTextEndEllipsis(&dc, m_strTitle[e], clientRect(kTitle + r));
        const CRect content = clientRect(kContent + r);
        m_pDoc->DrawTextEndEllipsis(&dc, m_strContent[e], content);
        dc.MoveTo(lineLeft, content.bottom);
        dc.LineTo(lineRight, content.bottom);
    }
}

int CPageAdditionalInfor::IsDataChange()
{
    TakeVisibleRows();
    const _ADDITIONAL_INFO* current = CurrentRecord();
    if (!current) return 0;
    const _ADDITIONAL_INFO& record = *current;
    const int count = record.nCount < ADDITION_MAX ? record.nCount : ADDITION_MAX;
    for (int e = 0; e < count; ++e) {
        if (m_strTitle[e] != record.strTitle[e] || m_strContent[e] != record.strContent[e]) return 1;
    }
    for (int e = count; e < ADDITION_MAX; ++e) {
        if (!m_strTitle[e].IsEmpty() || !m_strContent[e].IsEmpty()) return 1;
    }
    return 0;
}

void CPageAdditionalInfor::SaveDataToItem()
{
    // What is typed in the visible rows counts even when no change test ran
    // (the change test takes them). Entries that read as stored are left as
    // they are: the save would trim and close up entries nobody edited.
    if (!IsDataChange()) return;
    _ADDITIONAL_INFO* record = CurrentRecord();
    if (!record) return;
    const int count = record->nCount < ADDITION_MAX ? record->nCount : ADDITION_MAX;
    int kept = 0;
    for (int e = 0; e < ADDITION_MAX; ++e) {
        // An entry of the record as it was loaded is no edit: it keeps its
        // blanks, and an empty one its place.
        const bool untouched =
            e < count && m_strTitle[e] == record->strTitle[e] && m_strContent[e] == record->strContent[e];
        if (!untouched) {
            m_strTitle[e].Trim();
            m_strContent[e].Trim();
            if (m_strTitle[e].IsEmpty() && m_strContent[e].IsEmpty()) continue;
        }
        record->strTitle[kept] = m_strTitle[e];
        record->strContent[kept] = m_strContent[e];
        ++kept;
    }
    for (int e = kept; e < ADDITION_MAX; ++e) {
        record->strTitle[e].Empty();
        record->strContent[e].Empty();
    }
    record->nCount = kept;
}
