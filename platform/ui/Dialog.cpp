#include "platform/ui/Dialog.h"

#include "platform/ui/ModalDriver.h"
#include "platform/ui/WinApp.h"
#include "platform/ui/WindowManager.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

namespace {

// The system's dialog class and the frame of a modal dialog.
const wchar_t kDialogClass[] = L"#32770";
const DWORD kModalStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;

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

HWND CDialog::OwnerForModal() const
{
    CWnd* parent = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    HWND hwnd = parent ? parent->GetSafeHwnd() : nullptr;
    return platform::ui::WindowManager::Instance().TopLevelOf(hwnd);
}

INT_PTR CDialog::DoModal()
{
    if (m_hWnd) return -1;   // already running
    m_nModalResult = -1;
    HWND owner = OwnerForModal();
    const bool disableOwner = owner && ::IsWindowEnabled(owner);
    if (!CreateEx(WS_EX_DLGMODALFRAME, kDialogClass, L"", kModalStyle, 0, 0, 0, 0, owner, nullptr)) return -1;
    if (disableOwner) ::EnableWindow(owner, FALSE);
    ModalRunGuard guard(*this, disableOwner ? owner : nullptr);
    m_nModalResult = static_cast<int>(RunModal());
    return m_nModalResult;
}

INT_PTR CDialog::RunModal()
{
    auto& manager = platform::ui::WindowManager::Instance();
    auto ended = [&]() {
        platform::ui::WindowState* window = manager.Find(m_hWnd);
        return !window || window->dialog.ended;
    };
    OnInitDialog();
    // Nobody is there to press a button: without a driver the dialog is
    // cancelled, and a driver that leaves it open gets the same answer.
    if (!ended()) platform::ui::RunModalDriver(*this);
    if (!ended()) ::EndDialog(m_hWnd, IDCANCEL);
    platform::ui::WindowState* window = manager.Find(m_hWnd);
    if (window) return window->dialog.result;
    // The driver destroyed the window itself: what EndDialog last said, else cancelled.
    return m_nModalResult != -1 ? m_nModalResult : IDCANCEL;
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    if (m_hWnd) ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog()
{
    return TRUE;
}

void CDialog::OnOK()
{
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}
