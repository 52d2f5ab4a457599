#include "platform/ui/framework/PropertySheet.h"

#include <algorithm>

#include "platform/ui/framework/Button.h"
#include "platform/ui/framework/Dialog.h"
#include "platform/ui/framework/ModalDriver.h"
#include "platform/ui/framework/WinApp.h"
#include "platform/ui/windowing/Resources.h"
#include "platform/ui/windowing/WindowManager.h"

IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

BEGIN_MESSAGE_MAP(CPropertySheet, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_MESSAGE(PSM_CHANGED, OnChanged)
    ON_MESSAGE(PSM_UNCHANGED, OnUnchanged)
    ON_MESSAGE(PSM_QUERYSIBLINGS, OnQuerySiblings)
    ON_MESSAGE(PSM_SETCURSEL, OnSetCurSel)
    ON_MESSAGE(PSM_PRESSBUTTON, OnPressButton)
    ON_MESSAGE(PSM_GETTABCONTROL, OnGetTabControl)
    ON_MESSAGE(PSM_GETCURRENTPAGEHWND, OnGetCurrentPageHwnd)
END_MESSAGE_MAP()

namespace {

// The layout of the classic sheet, in dialog units.
const int kMargin = 7;
const int kButtonWidth = 50;
const int kButtonHeight = 14;
const int kButtonGap = 4;

const DWORD kModalStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK;
const DWORD kModelessStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_3DLOOK | WS_VISIBLE;
const DWORD kPageStylesRemoved =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME | WS_VISIBLE | WS_DISABLED | WS_BORDER;

// Gives the owner back its input and takes the sheet away, also when a
// driver throws out of the modal run.
class SheetRunGuard {
public:
    SheetRunGuard(CPropertySheet& sheet, HWND owner) : m_sheet(sheet), m_hOwner(owner) {}
    ~SheetRunGuard()
    {
        if (m_hOwner) ::EnableWindow(m_hOwner, TRUE);
        if (m_sheet.m_hWnd) m_sheet.DestroyWindow();
    }
    SheetRunGuard(const SheetRunGuard&) = delete;
    SheetRunGuard& operator=(const SheetRunGuard&) = delete;

private:
    CPropertySheet& m_sheet;
    HWND m_hOwner;
};

}  // namespace

CPropertySheet::CPropertySheet()
    : m_psh(), m_pParentWnd(nullptr), m_nCurPage(-1), m_bModeless(FALSE), m_nModalResult(-1)
{
    m_psh.dwSize = sizeof(m_psh);
}

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage) : CPropertySheet()
{
    Construct(nIDCaption, pParentWnd, iSelectPage);
}

CPropertySheet::CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage) : CPropertySheet()
{
    Construct(pszCaption, pParentWnd, iSelectPage);
}

CPropertySheet::~CPropertySheet() = default;

void CPropertySheet::Construct(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    CString caption;
    caption.LoadString(nIDCaption);
    Construct(caption.GetString(), pParentWnd, iSelectPage);
}

void CPropertySheet::Construct(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    m_strCaption = pszCaption ? pszCaption : L"";
    m_pParentWnd = pParentWnd;
    m_psh.nStartPage = iSelectPage;
}

bool CPropertySheet::LoadPageTemplate(CPropertyPage& page, platform::ui::DialogTemplate& out) const
{
    LPCTSTR name = page.GetTemplateName();
    if (!name) return false;
    if (!platform::ui::LoadDialogTemplate(AfxFindResourceHandle(name, RT_DIALOG), name, out)) return false;
    page.m_strCaption = out.caption;
    return true;
}

platform::ui::DialogTemplate CPropertySheet::SheetTemplate(DWORD style, DWORD exStyle) const
{
    platform::ui::DialogTemplate sheet;
    sheet.style = style;
    sheet.exStyle = exStyle;
    sheet.caption = m_strCaption;
    // The sheet writes with the first page's font.
    for (CPropertyPage* page : m_pages) {
        platform::ui::DialogTemplate first;
        if (!LoadPageTemplate(*page, first)) continue;
        if (first.style & DS_SETFONT) {
            sheet.style |= DS_SETFONT;
            sheet.pointSize = first.pointSize;
            sheet.weight = first.weight;
            sheet.italic = first.italic;
            sheet.charset = first.charset;
            sheet.faceName = first.faceName;
        }
        break;
    }
    return sheet;
}

BOOL CPropertySheet::CreateSheetWindow(HWND hWndParent, DWORD style, DWORD exStyle)
{
    if (m_hWnd) return FALSE;
    m_nCurPage = -1;
    m_nModalResult = -1;
    if (style & WS_CHILD) style = (style & ~WS_POPUP) | DS_CONTROL;
    const platform::ui::DialogTemplate sheet = SheetTemplate(style, exStyle);
    CWnd* previous = HookWindowCreate(this);
    HWND hwnd = platform::ui::CreateDialogFromTemplate(sheet, AfxGetResourceHandle(), hWndParent, nullptr, 0);
    HookWindowCreate(previous);
    return hwnd && m_hWnd == hwnd;
}

RECT CPropertySheet::DisplayArea()
{
    RECT area = {0, 0, 0, 0};
    if (!m_tabCtrl.m_hWnd) return area;
    m_tabCtrl.GetWindowRect(&area);
    ScreenToClient(&area);
    m_tabCtrl.AdjustRect(FALSE, &area);
    return area;
}

void CPropertySheet::BuildControls()
{
    platform::ui::WindowState* window = platform::ui::WindowManager::Instance().Find(m_hWnd);
    if (!window) return;
    const SIZE base = {window->dialog.baseUnitX, window->dialog.baseUnitY};
    auto x = [&](int units) { return MulDiv(units, base.cx, 4); };
    auto y = [&](int units) { return MulDiv(units, base.cy, 8); };
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));

    // The display area fits the largest page.
    SIZE pageSize = {0, 0};
    for (CPropertyPage* page : m_pages) {
        platform::ui::DialogTemplate pageTemplate;
        if (!LoadPageTemplate(*page, pageTemplate)) continue;
        pageSize.cx = std::max<LONG>(pageSize.cx, x(pageTemplate.cx));
        pageSize.cy = std::max<LONG>(pageSize.cy, y(pageTemplate.cy));
    }
    m_tabCtrl.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, CRect(0, 0, 0, 0), this, AFX_IDC_TAB_CONTROL);
    m_tabCtrl.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    for (size_t i = 0; i < m_pages.size(); ++i) m_tabCtrl.InsertItem(static_cast<int>(i), m_pages[i]->GetCaption());
    RECT tab = {0, 0, pageSize.cx, pageSize.cy};
    m_tabCtrl.AdjustRect(TRUE, &tab);
    OffsetRect(&tab, x(kMargin) - tab.left, y(kMargin) - tab.top);
    m_tabCtrl.MoveWindow(&tab, FALSE);

    int bottom = tab.bottom;
    if (!m_bModeless) {
        struct SheetButton {
            UINT id;
            LPCTSTR text;
            DWORD style;
        };
        std::vector<SheetButton> buttons = {{IDOK, L"OK", BS_DEFPUSHBUTTON}, {IDCANCEL, L"キャンセル", BS_PUSHBUTTON}};
        if (!(m_psh.dwFlags & PSH_NOAPPLYNOW)) buttons.push_back({ID_APPLY_NOW, L"適用(&A)", BS_PUSHBUTTON | WS_DISABLED});
        if (m_psh.dwFlags & PSH_HASHELP) buttons.push_back({IDHELP, L"ヘルプ", BS_PUSHBUTTON});
        const int top = tab.bottom + y(kMargin);
        int left = tab.right - static_cast<int>(buttons.size()) * (x(kButtonWidth) + x(kButtonGap)) + x(kButtonGap);
        for (const SheetButton& planned : buttons) {
            HWND button = ::CreateWindowExW(0, WC_BUTTON, planned.text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | planned.style,
                                            left, top, x(kButtonWidth), y(kButtonHeight), m_hWnd,
                                            reinterpret_cast<HMENU>(static_cast<UINT_PTR>(planned.id)),
                                            AfxGetResourceHandle(), nullptr);
            ::SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
            left += x(kButtonWidth) + x(kButtonGap);
        }
        bottom = top + y(kButtonHeight);
        SendMessage(DM_SETDEFID, IDOK);
    }
    RECT size = {0, 0, tab.right + x(kMargin), bottom + y(kMargin)};
    ::AdjustWindowRectEx(&size, GetStyle(), FALSE, GetExStyle());
    SetWindowPos(nullptr, 0, 0, size.right - size.left, size.bottom - size.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!(GetStyle() & WS_CHILD)) CenterWindow();

    const int start = std::min<int>(static_cast<int>(m_psh.nStartPage), static_cast<int>(m_pages.size()) - 1);
    if (start >= 0 && !ActivatePage(start, false) && start != 0) ActivatePage(0, false);
}

BOOL CPropertySheet::CreatePageWindow(int index)
{
    CPropertyPage* page = m_pages[index];
    if (page->m_hWnd) return TRUE;
    platform::ui::DialogTemplate pageTemplate;
    if (!LoadPageTemplate(*page, pageTemplate)) return FALSE;
    // A page is a child dialog whose controls take part in the sheet's tab order.
    pageTemplate.style = (pageTemplate.style & ~kPageStylesRemoved) | WS_CHILD | DS_CONTROL | DS_3DLOOK;
    pageTemplate.exStyle &= ~WS_EX_DLGMODALFRAME;
    pageTemplate.x = pageTemplate.y = 0;
    page->m_bFirstSetActive = TRUE;
    if (!page->CreateIndirect(pageTemplate, this)) return FALSE;
    const RECT area = DisplayArea();
    page->SetWindowPos(&m_tabCtrl, area.left, area.top, area.right - area.left, area.bottom - area.top,
                       SWP_NOACTIVATE);
    return TRUE;
}

BOOL CPropertySheet::ActivatePage(int index, bool askCurrent)
{
    if (index < 0 || index >= static_cast<int>(m_pages.size())) return FALSE;
    if (!m_hWnd) {
        m_psh.nStartPage = static_cast<UINT>(index);
        return TRUE;
    }
    if (index == m_nCurPage) return TRUE;
    CPropertyPage* current = m_nCurPage >= 0 ? m_pages[m_nCurPage] : nullptr;
    if (askCurrent && current && current->m_hWnd && !current->OnKillActive()) return FALSE;
    if (!CreatePageWindow(index)) return FALSE;
    CPropertyPage* page = m_pages[index];
    if (!page->OnSetActive()) return FALSE;
    if (current && current->m_hWnd) current->ShowWindow(SW_HIDE);
    m_nCurPage = index;
    m_tabCtrl.SetCurSel(index);
    page->ShowWindow(SW_SHOW);
    return TRUE;
}

BOOL CPropertySheet::ApplyPages()
{
    CPropertyPage* current = GetActivePage();
    if (current && current->m_hWnd && !current->OnKillActive()) return FALSE;
    for (size_t i = 0; i < m_pages.size(); ++i) {
        CPropertyPage* page = m_pages[i];
        if (!page->m_hWnd) continue;
        if (!page->OnApply()) {
            ActivatePage(static_cast<int>(i), false);
            return FALSE;
        }
    }
    if (HWND apply = ::GetDlgItem(m_hWnd, ID_APPLY_NOW)) ::EnableWindow(apply, FALSE);
    return TRUE;
}

BOOL CPropertySheet::CancelPages()
{
    CPropertyPage* current = GetActivePage();
    if (current && current->m_hWnd && !current->OnQueryCancel()) return FALSE;
    for (CPropertyPage* page : m_pages)
        if (page->m_hWnd) page->OnReset();
    return TRUE;
}

BOOL CPropertySheet::Create(CWnd* pParentWnd, DWORD dwStyle, DWORD dwExStyle)
{
    if (m_hWnd) return FALSE;
    if (dwStyle == static_cast<DWORD>(-1)) dwStyle = kModelessStyle;
    if (!pParentWnd) pParentWnd = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    if ((dwStyle & WS_CHILD) && !pParentWnd) return FALSE;
    m_bModeless = TRUE;
    return CreateSheetWindow(pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr, dwStyle, dwExStyle);
}

INT_PTR CPropertySheet::DoModal()
{
    if (m_hWnd) return -1;
    m_bModeless = FALSE;
    HWND owner = CDialog::ModalOwnerOf(m_pParentWnd);
    const bool disableOwner = owner && ::IsWindowEnabled(owner);
    if (disableOwner) ::EnableWindow(owner, FALSE);
    if (!CreateSheetWindow(owner, kModalStyle, 0)) {
        if (disableOwner) ::EnableWindow(owner, TRUE);
        return -1;
    }
    SheetRunGuard guard(*this, disableOwner ? owner : nullptr);
    auto& manager = platform::ui::WindowManager::Instance();
    platform::ui::WindowState* window = manager.Find(m_hWnd);
    if (window && !window->dialog.ended) ShowWindow(SW_SHOWNORMAL);
    HWND hwnd = m_hWnd;
    if (!platform::ui::RunModalLoop(hwnd)) return -1;
    window = manager.Find(hwnd);
    if (window && !window->dialog.ended) {
        // Nobody pressed a button: the sheet is cancelled, its pages reset.
        for (CPropertyPage* page : m_pages)
            if (page->m_hWnd) page->OnReset();
        ::EndDialog(hwnd, IDCANCEL);
    }
    window = manager.Find(hwnd);
    if (window) m_nModalResult = static_cast<int>(window->dialog.result);
    return m_nModalResult == -1 ? IDCANCEL : m_nModalResult;
}

void CPropertySheet::AddPage(CPropertyPage* pPage)
{
    if (!pPage || std::find(m_pages.begin(), m_pages.end(), pPage) != m_pages.end()) return;
    m_pages.push_back(pPage);
    if (!m_hWnd || !m_tabCtrl.m_hWnd) return;
    platform::ui::DialogTemplate pageTemplate;
    LoadPageTemplate(*pPage, pageTemplate);
    m_tabCtrl.InsertItem(static_cast<int>(m_pages.size()) - 1, pPage->GetCaption());
    if (m_nCurPage < 0) ActivatePage(static_cast<int>(m_pages.size()) - 1, false);
}

void CPropertySheet::RemovePage(CPropertyPage* pPage)
{
    RemovePage(GetPageIndex(pPage));
}

void CPropertySheet::RemovePage(int nPage)
{
    if (nPage < 0 || nPage >= static_cast<int>(m_pages.size())) return;
    CPropertyPage* page = m_pages[nPage];
    if (nPage == m_nCurPage && m_hWnd) {
        // Another page takes its place first, the one before it when there is one.
        m_nCurPage = -1;
        const int next = nPage > 0 ? nPage - 1 : 1;
        if (next < static_cast<int>(m_pages.size())) ActivatePage(next, false);
    }
    if (page->m_hWnd) page->DestroyWindow();
    m_pages.erase(m_pages.begin() + nPage);
    if (m_nCurPage > nPage) --m_nCurPage;
    if (m_tabCtrl.m_hWnd) {
        m_tabCtrl.DeleteItem(nPage);
        if (m_nCurPage >= 0) m_tabCtrl.SetCurSel(m_nCurPage);
    }
}

int CPropertySheet::GetPageCount() const
{
    return static_cast<int>(m_pages.size());
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const
{
    return nPage >= 0 && nPage < static_cast<int>(m_pages.size()) ? m_pages[nPage] : nullptr;
}

int CPropertySheet::GetPageIndex(CPropertyPage* pPage) const
{
    auto found = std::find(m_pages.begin(), m_pages.end(), pPage);
    return found == m_pages.end() ? -1 : static_cast<int>(found - m_pages.begin());
}

CPropertyPage* CPropertySheet::GetActivePage() const
{
    if (!m_hWnd) return GetPage(static_cast<int>(m_psh.nStartPage));
    return GetPage(m_nCurPage);
}

int CPropertySheet::GetActiveIndex() const
{
    return m_hWnd ? m_nCurPage : static_cast<int>(m_psh.nStartPage);
}

BOOL CPropertySheet::SetActivePage(int nPage)
{
    return ActivatePage(nPage, true);
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* pPage)
{
    return ActivatePage(GetPageIndex(pPage), true);
}

void CPropertySheet::SetTitle(LPCTSTR lpszText, UINT nStyle)
{
    m_psh.dwFlags = (m_psh.dwFlags & ~PSH_PROPTITLE) | (nStyle & PSH_PROPTITLE);
    m_strCaption = lpszText ? lpszText : L"";
    if (m_hWnd) SetWindowText(m_strCaption);
}

CTabCtrl* CPropertySheet::GetTabControl() const
{
    return m_tabCtrl.m_hWnd ? const_cast<CTabCtrl*>(&m_tabCtrl) : nullptr;
}

void CPropertySheet::EndDialog(int nEndID)
{
    m_nModalResult = nEndID;
    if (m_hWnd) ::EndDialog(m_hWnd, nEndID);
}

void CPropertySheet::PressButton(int nButton)
{
    SendMessage(PSM_PRESSBUTTON, static_cast<WPARAM>(nButton));
}

BOOL CPropertySheet::OnInitDialog()
{
    return TRUE;
}

LRESULT CPropertySheet::HandleInitDialog(WPARAM, LPARAM)
{
    BuildControls();
    return OnInitDialog();
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
    if (TurnPageByKey(pMsg)) return TRUE;
    return PreTranslateInput(pMsg);
}

BOOL CPropertySheet::TurnChildSheetPage(CWnd& host, MSG* pMsg)
{
    if (!IsPageTurnKey(pMsg) || !host.m_hWnd) return FALSE;
    if (pMsg->hwnd != host.m_hWnd && !::IsChild(host.m_hWnd, pMsg->hwnd)) return FALSE;
    for (HWND child = ::GetWindow(host.m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        auto* sheet = dynamic_cast<CPropertySheet*>(CWnd::FromHandlePermanent(child));
        if (!sheet || !::IsWindowVisible(child) || !::IsWindowEnabled(child)) continue;
        // The key was typed outside the sheet: the focus stays where it is,
        // so that the next Ctrl+Tab turns on.
        if (sheet->TurnPageByKey(pMsg)) return TRUE;
    }
    return FALSE;
}

bool CPropertySheet::IsPageTurnKey(const MSG* pMsg)
{
    return pMsg && pMsg->message == WM_KEYDOWN && GetKeyState(VK_CONTROL) < 0 &&
           (pMsg->wParam == VK_TAB || pMsg->wParam == VK_PRIOR || pMsg->wParam == VK_NEXT);
}

BOOL CPropertySheet::TurnPageByKey(const MSG* pMsg)
{
    if (!m_hWnd || m_pages.empty() || !IsPageTurnKey(pMsg)) return FALSE;
    // Ctrl+Tab and Ctrl+Page Down go to the next page, Ctrl+Shift+Tab and
    // Ctrl+Page Up to the previous one, round from the last to the first.
    const bool back = pMsg->wParam == VK_PRIOR || (pMsg->wParam == VK_TAB && GetKeyState(VK_SHIFT) < 0);
    const int count = static_cast<int>(m_pages.size());
    const int from = m_nCurPage < 0 ? 0 : m_nCurPage;
    const int next = (from + (back ? count - 1 : 1)) % count;
    if (next == m_nCurPage) return TRUE;
    CPropertyPage* left = GetPage(m_nCurPage);
    HWND focus = ::GetFocus();
    const bool focusInPage = left && left->m_hWnd && focus && (focus == left->m_hWnd || ::IsChild(left->m_hWnd, focus));
    // The page left may refuse, as it may when its tab is clicked: the sheet
    // stays, and the focus where the page put it.
    if (!ActivatePage(next, true)) return TRUE;
    // The keys were typed in the page that is now hidden: the page turned
    // to takes the keyboard at its first control. From the tabs the focus
    // stays on the tabs, as there the arrows turn the pages too.
    if (focusInPage) FocusPage(next);
    return TRUE;
}

void CPropertySheet::FocusPage(int index)
{
    CPropertyPage* page = GetPage(index);
    if (!page || !page->m_hWnd) return;
    HWND first = ::GetNextDlgTabItem(page->m_hWnd, nullptr, FALSE);
    if (!first || !::IsChild(page->m_hWnd, first) || !(::GetWindowLongW(first, GWL_STYLE) & WS_TABSTOP) ||
        !::IsWindowVisible(first) || !::IsWindowEnabled(first))
        first = m_tabCtrl.m_hWnd;
    if (first) SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
}

BOOL CPropertySheet::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // A derived sheet's own handlers come first.
    if (CWnd::OnCommand(wParam, lParam)) return TRUE;
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (lParam && code != BN_CLICKED) return FALSE;
    switch (id) {
    case IDOK:
        if (ApplyPages()) EndDialog(IDOK);
        return TRUE;
    case IDCANCEL:
        if (CancelPages()) EndDialog(IDCANCEL);
        return TRUE;
    case ID_APPLY_NOW: ApplyPages(); return TRUE;
    default: return FALSE;
    }
}

BOOL CPropertySheet::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (!header || !m_tabCtrl.m_hWnd || header->hwndFrom != m_tabCtrl.m_hWnd)
        return CWnd::OnNotify(wParam, lParam, pResult);
    if (header->code == TCN_SELCHANGING) {
        CPropertyPage* current = GetActivePage();
        const BOOL refuse = current && current->m_hWnd && !current->OnKillActive();
        if (pResult) *pResult = refuse;
        return TRUE;
    }
    if (header->code == TCN_SELCHANGE) {
        // The page that was left has agreed already.
        if (!ActivatePage(m_tabCtrl.GetCurSel(), false)) m_tabCtrl.SetCurSel(m_nCurPage);
        if (pResult) *pResult = 0;
        return TRUE;
    }
    return CWnd::OnNotify(wParam, lParam, pResult);
}

LRESULT CPropertySheet::OnChanged(WPARAM, LPARAM)
{
    if (HWND apply = ::GetDlgItem(m_hWnd, ID_APPLY_NOW)) ::EnableWindow(apply, TRUE);
    return 0;
}

LRESULT CPropertySheet::OnUnchanged(WPARAM, LPARAM)
{
    const bool anyChanged =
        std::any_of(m_pages.begin(), m_pages.end(), [](CPropertyPage* page) { return page->IsModified(); });
    if (HWND apply = ::GetDlgItem(m_hWnd, ID_APPLY_NOW)) ::EnableWindow(apply, anyChanged ? TRUE : FALSE);
    return 0;
}

LRESULT CPropertySheet::OnQuerySiblings(WPARAM wParam, LPARAM lParam)
{
    for (CPropertyPage* page : m_pages) {
        if (!page->m_hWnd) continue;
        const LRESULT answer = page->SendMessage(PSM_QUERYSIBLINGS, wParam, lParam);
        if (answer) return answer;
    }
    return 0;
}

LRESULT CPropertySheet::OnSetCurSel(WPARAM wParam, LPARAM)
{
    return ActivatePage(static_cast<int>(wParam), true);
}

LRESULT CPropertySheet::OnPressButton(WPARAM wParam, LPARAM)
{
    UINT id = 0;
    switch (wParam) {
    case PSBTN_OK: id = IDOK; break;
    case PSBTN_CANCEL: id = IDCANCEL; break;
    case PSBTN_APPLYNOW: id = ID_APPLY_NOW; break;
    case PSBTN_HELP: id = IDHELP; break;
    default: return 0;
    }
    SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(m_hWnd, static_cast<int>(id))));
    return 0;
}

LRESULT CPropertySheet::OnGetTabControl(WPARAM, LPARAM)
{
    return reinterpret_cast<LRESULT>(m_tabCtrl.m_hWnd);
}

LRESULT CPropertySheet::OnGetCurrentPageHwnd(WPARAM, LPARAM)
{
    CPropertyPage* page = GetActivePage();
    return reinterpret_cast<LRESULT>(page && m_hWnd ? page->m_hWnd : nullptr);
}
