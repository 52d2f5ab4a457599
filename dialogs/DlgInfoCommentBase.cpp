#include "dialogs/DlgInfoCommentBase.h"

#include <algorithm>
#include <climits>

#include "core/AnnoEditStamp.h"
#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "platform/ui/windowing/SystemSettings.h"

IMPLEMENT_DYNAMIC(CDlgInfoCommentBase, CDlgModal)

BEGIN_MESSAGE_MAP(CDlgInfoCommentBase, CDlgModal)
    ON_BN_CLICKED(3201, OnDoctorInput)
END_MESSAGE_MAP()

CDlgInfoCommentBase::CDlgInfoCommentBase(UINT nIDTemplate, CWnd* pParent, int nType)
    : CDlgModal(nIDTemplate, pParent), m_pDoc(nullptr), m_nType(nType), m_bAddition(0), m_bDoctorConfirmed(0),
      m_nCheckResult(255), m_bSaveFailed(0)
{
    // Wide screens take the larger dialog font.
    m_pFont = GetSystemMetrics(SM_CXSCREEN) >= 1281 ? g_pDlgFontMiddle1 : g_pDlgFontNormal;
}

CDlgInfoCommentBase::~CDlgInfoCommentBase() = default;

void CDlgInfoCommentBase::InitControlText()
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

void CDlgInfoCommentBase::CreateSheet(std::initializer_list<const wchar_t*> tabTexts)
{
    m_sheet.Create(this, WS_CHILD | WS_VISIBLE, 0);
    m_sheet.ShowWindow(SW_SHOW);
    m_sheet.ModifyStyleEx(0, WS_EX_CONTROLPARENT);
    m_sheet.ModifyStyle(0, WS_TABSTOP);
    m_sheet.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    KeepButtonsBelowSheet();

    CTabCtrl* tabs = m_sheet.GetTabControl();
    if (!tabs) return;
    int i = 0;
    for (const wchar_t* text : tabTexts) {
        if (i >= m_sheet.GetPageCount()) break;
        TCITEM tab = {};
        tab.mask = TCIF_TEXT;
        tab.pszText = const_cast<LPWSTR>(text);
        tabs->SetItem(i++, &tab);
    }
    if (m_pFont) tabs->SetFont(m_pFont, TRUE);
}

// The pages are taller than the room the template leaves above its buttons: the buttons move
// down under the sheet and the dialog grows with them, so the sheet covers none of them.
void CDlgInfoCommentBase::KeepButtonsBelowSheet()
{
    auto placeOf = [this](CWnd& child) {
        CRect place;
        child.GetWindowRect(&place);
        ScreenToClient(&place);
        return place;
    };
    const CRect sheet = placeOf(m_sheet);
    CRect gap(0, 0, 4, 4);
    MapDialogRect(&gap);
    const int buttonIds[] = {IDOK, 3201, IDCANCEL};
    int buttonsTop = INT_MAX;
    for (int id : buttonIds)
        if (CWnd* button = GetDlgItem(id)) buttonsTop = std::min<int>(buttonsTop, placeOf(*button).top);
    if (buttonsTop == INT_MAX) return;
    const int down = std::max(0, static_cast<int>(sheet.bottom + gap.bottom - buttonsTop));
    CRect client;
    GetClientRect(&client);
    const int wider = std::max(0, static_cast<int>(sheet.right + gap.right - client.right));
    if (down == 0 && wider == 0) return;
    for (int id : buttonIds) {
        CWnd* button = GetDlgItem(id);
        if (!button) continue;
        CRect place = placeOf(*button);
        // The cancel button keeps its place at the right edge.
        place.OffsetRect(id == IDCANCEL ? wider : 0, down);
        button->MoveWindow(&place, FALSE);
    }
    CRect window;
    GetWindowRect(&window);
    SetWindowPos(nullptr, 0, 0, window.Width() + wider, window.Height() + down,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CenterWindow();
}

bool CDlgInfoCommentBase::CommitSave(std::initializer_list<CEditingOk::CommitStep> order)
{
    m_bSaveFailed = CEditingOk::Commit(m_pDoc, order) ? 0 : 1;
    return !m_bSaveFailed;
}

void CDlgInfoCommentBase::CloseUnchanged()
{
    const bool pending = m_bDoctorConfirmed || m_bSaveFailed;
    if (pending && !CommitSave({CEditingOk::CommitStep::Save, CEditingOk::CommitStep::Notify})) return;
    EndDialog(IDOK);
}

void CDlgInfoCommentBase::OnDoctorInput()
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
    const bool hasItem = CurrentFields(fields);
    if (!hasItem && ConfirmNeedsItem()) return;
    // A sheet without an item of its kind still confirms: only the item is not written.
    if (hasItem) CEditingOk::ConfirmWithText(fields, stamp, m_strName);
    m_bDoctorConfirmed = 1;
    if (m_pDoc) {
        m_pDoc->UpdateCtrlStatus();
        m_pDoc->SetCtrlContent(nullptr);
    }
    OnOK();
}
