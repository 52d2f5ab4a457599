#include "platform/ui/Wnd.h"

#include "platform/ui/WinApp.h"
#include "platform/ui/WindowManager.h"

using platform::ui::WindowManager;
using platform::ui::WindowState;

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

namespace {

// The object whose CreateEx is running on this thread; CreateWindowEx hands
// it the new window before anything can be sent to it.
thread_local CWnd* t_pWndCreating = nullptr;

}  // namespace

CWnd::CWnd() : m_hWnd(nullptr)
{
}

CWnd::~CWnd()
{
    if (!m_hWnd) return;
    WindowState* window = WindowManager::Instance().Find(m_hWnd);
    // An object that goes while its window lives takes the window with it,
    // as the framework does; by now only CWnd's own PostNcDestroy runs.
    if (window && window->wnd == this) {
        ::DestroyWindow(m_hWnd);
        return;
    }
    m_hWnd = nullptr;
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, CCreateContext* pContext)
{
    (void)pContext;   // used by frames and views
    // Create makes child windows only, as the framework insists; pop-ups go through CreateEx.
    if ((dwStyle & WS_POPUP) || !pParentWnd) return FALSE;
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    if (m_hWnd) return FALSE;   // one window per object
    CREATESTRUCT cs = {lpParam, AfxGetInstanceHandle(), nIDorHMenu, hWndParent, nHeight, nWidth, y, x,
                       static_cast<LONG>(dwStyle), lpszWindowName, lpszClassName, dwExStyle};
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }
    CWnd* previous = t_pWndCreating;
    t_pWndCreating = this;
    HWND hwnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                                  cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    const bool hookUnused = t_pWndCreating == this;
    t_pWndCreating = previous;
    if (!hwnd) {
        // Creation failed before the window reached the object: the object
        // is told it has no window, as after a destruction.
        if (hookUnused) PostNcDestroy();
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    (void)cs;
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd) return FALSE;
    HWND hwnd = m_hWnd;
    const bool permanent = FromHandlePermanent(hwnd) == this;
    BOOL result = ::DestroyWindow(hwnd);
    // A permanent object was detached (and may be deleted) by now; any other
    // one is only let go of its handle.
    if (!permanent) m_hWnd = nullptr;
    return result;
}

void CWnd::AttachCreatingWindow(HWND hWnd)
{
    CWnd* wnd = t_pWndCreating;
    if (!wnd) return;
    t_pWndCreating = nullptr;
    wnd->Attach(hWnd);
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    WindowState* window = WindowManager::Instance().Find(hWnd);
    if (!window) return nullptr;
    if (window->wnd) return window->wnd;
    if (!window->temporary) {
        window->temporary = std::make_unique<CWnd>();
        window->temporary->m_hWnd = hWnd;
    }
    return window->temporary.get();
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    WindowState* window = WindowManager::Instance().Find(hWnd);
    return window ? window->wnd : nullptr;
}

void CWnd::DeleteTempMap()
{
    WindowManager::Instance().DeleteTemporaries();
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (m_hWnd) return FALSE;
    WindowState* window = WindowManager::Instance().Find(hWndNew);
    if (!window || window->wnd) return FALSE;
    window->wnd = this;
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hwnd = m_hWnd;
    m_hWnd = nullptr;
    WindowState* window = WindowManager::Instance().Find(hwnd);
    if (window && window->wnd == this) window->wnd = nullptr;
    return hwnd;
}

CWnd* CWnd::GetParent() const
{
    return FromHandle(::GetParent(m_hWnd));
}

void CWnd::SetWindowText(LPCTSTR lpszString)
{
    ::SetWindowTextW(m_hWnd, lpszString);
}

int CWnd::GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const
{
    return ::GetWindowTextW(m_hWnd, lpszStringBuf, nMaxCount);
}

void CWnd::GetWindowText(CString& rString) const
{
    const int length = ::GetWindowTextLengthW(m_hWnd);
    ::GetWindowTextW(m_hWnd, rString.GetBufferSetLength(length), length + 1);
    rString.ReleaseBuffer();
}

int CWnd::GetWindowTextLength() const
{
    return ::GetWindowTextLengthW(m_hWnd);
}

BOOL CWnd::EnableWindow(BOOL bEnable)
{
    return ::EnableWindow(m_hWnd, bEnable);
}

BOOL CWnd::IsWindowEnabled() const
{
    return ::IsWindowEnabled(m_hWnd);
}

int CWnd::GetDlgCtrlID() const
{
    return ::GetDlgCtrlID(m_hWnd);
}

DWORD CWnd::GetStyle() const
{
    return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE));
}

DWORD CWnd::GetExStyle() const
{
    return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE));
}

void CWnd::PostNcDestroy()
{
}

void CWnd::OnNcDestroy()
{
    Detach();
    PostNcDestroy();
}
