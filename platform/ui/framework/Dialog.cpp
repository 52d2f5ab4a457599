#include "platform/ui/framework/Dialog.h"

#include "platform/ui/framework/DataExchange.h"
#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/framework/ModalDriver.h"
#include "platform/ui/framework/PropertySheet.h"
#include "platform/ui/framework/WinApp.h"
#include "platform/ui/windowing/DialogBox.h"
#include "platform/ui/windowing/Resources.h"
#include "platform/ui/windowing/WindowManager.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
    ON_MESSAGE(WM_SETFONT, HandleSetFont)
END_MESSAGE_MAP()

namespace {

// The bytes of a template have no length of their own; a template read
// from memory may take up to the largest one the layout allows.
const size_t kLargestTemplate = 0x10000 * 64;

// A dialog without a template: an empty modal frame.
platform::ui::DialogTemplate EmptyTemplate()
{
    platform::ui::DialogTemplate empty;
    empty.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    return empty;
}

// Gives the owner back its input and takes the dialog window away, also
// when a driver throws out of the modal run.
class ModalRunGuard {
public:
    ModalRunGuard(CDialog& dialog, HWND owner) : m_dialog(dialog), m_hOwner(owner) {}
    ~ModalRunGuard()
    {
        // The owner first, so that it can take the activation back.
        if (m_hOwner) ::EnableWindow(m_hOwner, TRUE);
        if (m_dialog.m_hWnd) m_dialog.DestroyWindow();
    }
    ModalRunGuard(const ModalRunGuard&) = delete;
    ModalRunGuard& operator=(const ModalRunGuard&) = delete;

private:
    CDialog& m_dialog;
    HWND m_hOwner;   // the window disabled for the run, or null
};

}  // namespace

CDialog::CDialog() : m_nIDHelp(0), m_pParentWnd(nullptr), m_lpszTemplateName(nullptr), m_nModalResult(-1)
{
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd), m_lpszTemplateName(MAKEINTRESOURCE(nIDTemplate)),
      m_nModalResult(-1)
{
}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_nIDHelp(0), m_pParentWnd(pParentWnd), m_lpszTemplateName(lpszTemplateName), m_nModalResult(-1)
{
    if (!lpszTemplateName || IS_INTRESOURCE(lpszTemplateName)) {
        m_nIDHelp = LOWORD(lpszTemplateName);
        return;
    }
    m_strTemplateName = lpszTemplateName;
    m_lpszTemplateName = m_strTemplateName;
}

CDialog::~CDialog() = default;

UINT CDialog::GetTemplateId() const
{
    return m_lpszTemplateName && IS_INTRESOURCE(m_lpszTemplateName) ? LOWORD(m_lpszTemplateName) : 0;
}

bool CDialog::LoadTemplate(platform::ui::DialogTemplate& out) const
{
    if (!m_indirectTemplate.empty())
        return platform::ui::ReadDialogTemplate(m_indirectTemplate.data(), m_indirectTemplate.size(), out).ok;
    if (!m_lpszTemplateName) return false;
    const HINSTANCE module = AfxFindResourceHandle(m_lpszTemplateName, RT_DIALOG);
    return platform::ui::LoadDialogTemplate(module, m_lpszTemplateName, out);
}

BOOL CDialog::CreateFromTemplate(const platform::ui::DialogTemplate& dialogTemplate, HWND hWndParent)
{
    if (m_hWnd) return FALSE;
    CWnd* previous = HookWindowCreate(this);
    HWND hwnd = platform::ui::CreateDialogFromTemplate(dialogTemplate, AfxGetResourceHandle(), hWndParent, nullptr, 0);
    HookWindowCreate(previous);
    return hwnd && m_hWnd == hwnd;
}

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
{
    if (lpszTemplateName != m_lpszTemplateName) {
        if (lpszTemplateName && !IS_INTRESOURCE(lpszTemplateName)) {
            m_strTemplateName = lpszTemplateName;
            m_lpszTemplateName = m_strTemplateName;
        } else {
            m_lpszTemplateName = lpszTemplateName;
            m_nIDHelp = LOWORD(lpszTemplateName);
        }
    }
    if (!pParentWnd) pParentWnd = AfxGetMainWnd();
    platform::ui::DialogTemplate dialogTemplate;
    if (!LoadTemplate(dialogTemplate)) return FALSE;
    return CreateFromTemplate(dialogTemplate, pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr);
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    return Create(MAKEINTRESOURCE(nIDTemplate), pParentWnd);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd)
{
    platform::ui::DialogTemplate dialogTemplate;
    if (!lpDialogTemplate ||
        !platform::ui::ReadDialogTemplate(reinterpret_cast<const BYTE*>(lpDialogTemplate), kLargestTemplate,
                                          dialogTemplate)
             .ok)
        return FALSE;
    return CreateIndirect(dialogTemplate, pParentWnd);
}

BOOL CDialog::CreateIndirect(const platform::ui::DialogTemplate& dialogTemplate, CWnd* pParentWnd)
{
    if (!pParentWnd) pParentWnd = AfxGetMainWnd();
    return CreateFromTemplate(dialogTemplate, pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr);
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd)
{
    platform::ui::DialogTemplate dialogTemplate;
    if (!lpDialogTemplate ||
        !platform::ui::ReadDialogTemplate(reinterpret_cast<const BYTE*>(lpDialogTemplate), kLargestTemplate,
                                          dialogTemplate)
             .ok)
        return FALSE;
    // Kept as our own bytes: the caller's may go before DoModal runs.
    m_indirectTemplate = platform::ui::WriteDialogTemplate(dialogTemplate);
    m_pParentWnd = pParentWnd;
    return TRUE;
}

HWND CDialog::OwnerForModal() const
{
    return ModalOwnerOf(m_pParentWnd);
}

namespace {

// The window the person works in: the active window; for a modeless pop-up
// of another window (a magnifier, a tool window), the window that owns it.
// The running modal pop-up, the one that may be active among them, stands
// for itself.
HWND WorkingWindow()
{
    HWND hwnd = ::GetActiveWindow();
    const HWND running = platform::ui::RunningModalDialog();
    // Bounded: a chain of owners never loops back, but a bad one must not hang.
    for (int depth = 0; hwnd && hwnd != running && depth < 64; ++depth) {
        const HWND owner = ::GetWindow(hwnd, GW_OWNER);
        if (!owner) break;
        hwnd = platform::ui::WindowManager::Instance().TopLevelOf(owner);
    }
    return hwnd;
}

}  // namespace

HWND CDialog::ModalOwnerOf(CWnd* pParentWnd)
{
    CWnd* parent = pParentWnd ? pParentWnd : AfxGetMainWnd();
    HWND hwnd = parent ? parent->GetSafeHwnd() : nullptr;
    // No parent and no main window (a host showing a pane in a window of
    // its own): the pop-up belongs to the window the person works in.
    if (!hwnd) hwnd = WorkingWindow();
    if (!hwnd) hwnd = platform::ui::RunningModalDialog();
    return platform::ui::ModalOwnerFor(hwnd);
}

INT_PTR CDialog::DoModal()
{
    if (m_hWnd) return -1;   // already running
    m_nModalResult = -1;
    platform::ui::DialogTemplate dialogTemplate;
    if (!LoadTemplate(dialogTemplate)) dialogTemplate = EmptyTemplate();
    // A modal dialog is a pop-up of its owner, whatever its template says.
    dialogTemplate.style = (dialogTemplate.style & ~(WS_CHILD | WS_VISIBLE)) | WS_POPUP;

    HWND owner = OwnerForModal();
    const bool disableOwner = owner && ::IsWindowEnabled(owner);
    if (disableOwner) ::EnableWindow(owner, FALSE);
    if (!CreateFromTemplate(dialogTemplate, owner)) {
        if (disableOwner) ::EnableWindow(owner, TRUE);
        return -1;
    }
    ModalRunGuard guard(*this, disableOwner ? owner : nullptr);
    auto& manager = platform::ui::WindowManager::Instance();
    platform::ui::WindowState* window = manager.Find(m_hWnd);
    if (window && !window->dialog.ended) ::ShowWindow(m_hWnd, SW_SHOWNORMAL);

    HWND hwnd = m_hWnd;
    const bool finished = platform::ui::RunModalLoop(hwnd);
    window = manager.Find(hwnd);
    if (!finished) {
        m_nModalResult = -1;
        return -1;
    }
    // Nobody is there to press a button: a dialog left open is cancelled.
    if (window && !window->dialog.ended) ::EndDialog(hwnd, IDCANCEL);
    window = manager.Find(hwnd);
    if (window) {
        m_nModalResult = static_cast<int>(window->dialog.result);
        return window->dialog.result;
    }
    // The driver destroyed the window itself: what EndDialog last said, else cancelled.
    if (m_nModalResult == -1) m_nModalResult = IDCANCEL;
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    if (m_hWnd) ::EndDialog(m_hWnd, nResult);
}

void CDialog::NextDlgCtrl() const
{
    ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, 0);
}

void CDialog::PrevDlgCtrl() const
{
    ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 1, 0);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    if (pWndCtrl) ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->m_hWnd), 1);
}

void CDialog::SetDefID(UINT nID)
{
    ::SendMessageW(m_hWnd, DM_SETDEFID, nID, 0);
}

DWORD CDialog::GetDefID() const
{
    return static_cast<DWORD>(::SendMessageW(m_hWnd, DM_GETDEFID, 0, 0));
}

void CDialog::MapDialogRect(LPRECT lpRect) const
{
    ::MapDialogRect(m_hWnd, lpRect);
}

BOOL CDialog::OnInitDialog()
{
    if (!UpdateData(FALSE)) {
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;
}

void CDialog::OnSetFont(CFont* pFont)
{
    (void)pFont;
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM)
{
    Default();
    return OnInitDialog();
}

LRESULT CDialog::HandleSetFont(WPARAM wParam, LPARAM)
{
    OnSetFont(CFont::FromHandle(reinterpret_cast<HFONT>(wParam)));
    return Default();
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg)) return TRUE;
    // A property sheet on the dialog turns its pages by keyboard wherever
    // the keyboard is in the dialog, before the dialog's own navigation
    // takes Ctrl+Tab for a Tab.
    if (CPropertySheet::TurnChildSheetPage(*this, pMsg)) return TRUE;
    // Escape in a multi-line edit of a dialog whose Cancel is missing or
    // disabled still cancels, as the framework arranges.
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_CANCEL) &&
        (::GetWindowLongW(pMsg->hwnd, GWL_STYLE) & ES_MULTILINE)) {
        wchar_t className[16] = {};
        ::GetClassNameW(pMsg->hwnd, className, 16);
        HWND cancel = ::GetDlgItem(m_hWnd, IDCANCEL);
        if (CString(className).CompareNoCase(L"Edit") == 0 && (!cancel || ::IsWindowEnabled(cancel))) {
            SendMessage(WM_COMMAND, IDCANCEL, 0);
            return TRUE;
        }
    }
    return PreTranslateInput(pMsg);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    // Plain commands nobody in the dialog handles get to the application.
    if (nCode != CN_COMMAND || nID >= 0xF000) return FALSE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE)) return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}
