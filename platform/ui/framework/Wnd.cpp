#include "platform/ui/framework/Wnd.h"

#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/ui/framework/Button.h"
#include "platform/ui/framework/ComboBox.h"
#include "platform/ui/framework/Edit.h"
#include "platform/ui/framework/ListBox.h"
#include "platform/ui/framework/ScrollBar.h"
#include "platform/ui/framework/Static.h"
#include "platform/ui/framework/WinApp.h"
#include "platform/ui/windowing/WindowClass.h"
#include "platform/ui/windowing/WindowManager.h"

using platform::ui::WindowManager;
using platform::ui::WindowState;

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
    ON_WM_NCDESTROY()
    ON_WM_CTLCOLOR()
    ON_WM_DRAWITEM()
    ON_WM_MEASUREITEM()
    ON_WM_HSCROLL()
    ON_WM_VSCROLL()
END_MESSAGE_MAP()

namespace {

// The object whose window is being created on this thread; CreateWindowEx
// hands it the new window before anything is sent to it.
thread_local CWnd* t_pWndCreating = nullptr;

// The objects standing for windows: the permanent one attached to each
// window, and the temporary ones FromHandle made for windows without one.
// Handles carry generations, so a freed window's handle never names a new
// window here either.
struct HandleMap {
    std::unordered_map<HWND, CWnd*> permanent;
    std::unordered_map<HWND, std::unique_ptr<CWnd>> temporary;
    std::vector<std::unique_ptr<CWnd>> retired;   // of freed windows, until DeleteTempMap
};

HandleMap& Handles()
{
    // Never destroyed: objects in static storage detach in destructors
    // that may run after this file's own would have.
    static HandleMap* map = new HandleMap;
    return *map;
}

CWnd* Permanent(HWND hWnd)
{
    const auto& permanent = Handles().permanent;
    auto found = permanent.find(hWnd);
    return found == permanent.end() ? nullptr : found->second;
}

// The framework's default classes: plain windows, and frames and views,
// which erase with the window colour.
const platform::ui::SystemClass s_afxWnd(L"AfxWnd", &DefWindowProcW, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, IDC_ARROW,
                                         0, 0);
const platform::ui::SystemClass s_afxFrameOrView(L"AfxFrameOrView", &DefWindowProcW,
                                                 CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, IDC_ARROW, COLOR_WINDOW + 1, 0);

// Routes the window's messages through the framework, keeping the
// procedure it had for DefWindowProc.
void Subclass(CWnd& wnd, WNDPROC& super)
{
    WindowState* window = WindowManager::Instance().Find(wnd.m_hWnd);
    if (!window || window->wndProc == &AfxWndProc) return;
    super = window->wndProc;
    window->wndProc = &AfxWndProc;
}

}  // namespace

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

CWnd::CWnd() : m_hWnd(nullptr), m_hWndOwner(nullptr), m_pfnSuper(nullptr)
{
}

CWnd::CWnd(HWND hWndSpecial) : m_hWnd(hWndSpecial), m_hWndOwner(nullptr), m_pfnSuper(nullptr)
{
}

CWnd::~CWnd()
{
    if (!m_hWnd) return;
    // An object that goes while its window lives takes the window with it,
    // as the framework does; by now only CWnd's own PostNcDestroy runs.
    if (IsWindow(m_hWnd) && Permanent(m_hWnd) == this) {
        ::DestroyWindow(m_hWnd);
        return;
    }
    m_hWnd = nullptr;
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, CCreateContext* pContext)
{
    // Create makes child windows only, as the framework insists; pop-ups go through CreateEx.
    if ((dwStyle & WS_POPUP) || !pParentWnd) return FALSE;
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, pContext);
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
    CWnd* previous = HookWindowCreate(this);
    HWND hwnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                                  cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    const bool hookUnused = t_pWndCreating == this;
    t_pWndCreating = previous;
    if (!hwnd) {
        // Creation failed before the window reached the object: the object
        // is told it has no window, as after a destruction. (When it failed
        // later, WM_NCDESTROY has told it already.)
        if (hookUnused) PostNcDestroy();
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (!cs.lpszClass) cs.lpszClass = L"AfxWnd";
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

CWnd* CWnd::HookWindowCreate(CWnd* wnd)
{
    CWnd* previous = t_pWndCreating;
    t_pWndCreating = wnd;
    return previous;
}

void CWnd::AttachCreatingWindow(HWND hWnd)
{
    CWnd* wnd = t_pWndCreating;
    if (!wnd) return;
    t_pWndCreating = nullptr;
    if (!wnd->Attach(hWnd)) return;
    wnd->PreSubclassWindow();
    Subclass(*wnd, wnd->m_pfnSuper);
}

void CWnd::ReleaseFreedWindow(HWND hWnd)
{
    HandleMap& handles = Handles();
    auto permanent = handles.permanent.find(hWnd);
    if (permanent != handles.permanent.end()) {
        if (permanent->second->m_hWnd == hWnd) permanent->second->m_hWnd = nullptr;
        handles.permanent.erase(permanent);
    }
    auto temporary = handles.temporary.find(hWnd);
    if (temporary != handles.temporary.end()) {
        temporary->second->m_hWnd = nullptr;
        handles.retired.push_back(std::move(temporary->second));
        handles.temporary.erase(temporary);
    }
}

namespace {

// A temporary object of the wrapper class of a built-in control, so that the
// usual cast of GetDlgItem's answer to CButton*, CScrollBar* and the like
// names an object of that class (the wrappers add no data to CWnd).
std::unique_ptr<CWnd> MakeTemporaryFor(HWND hWnd)
{
    wchar_t name[32] = {};
    ::GetClassNameW(hWnd, name, 32);
    const std::wstring cls = name;
    auto is = [&](const wchar_t* other) { return _wcsicmp(cls.c_str(), other) == 0; };
    if (is(WC_BUTTON)) return std::make_unique<CButton>();
    if (is(WC_SCROLLBAR)) return std::make_unique<CScrollBar>();
    if (is(WC_EDIT)) return std::make_unique<CEdit>();
    if (is(WC_COMBOBOX)) return std::make_unique<CComboBox>();
    if (is(WC_LISTBOX)) return std::make_unique<CListBox>();
    if (is(WC_STATIC)) return std::make_unique<CStatic>();
    return std::make_unique<CWnd>();
}

}  // namespace

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (!IsWindow(hWnd)) return nullptr;
    if (CWnd* wnd = Permanent(hWnd)) return wnd;
    std::unique_ptr<CWnd>& temporary = Handles().temporary[hWnd];
    if (!temporary) {
        temporary = MakeTemporaryFor(hWnd);
        temporary->m_hWnd = hWnd;
    }
    return temporary.get();
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    return IsWindow(hWnd) ? Permanent(hWnd) : nullptr;
}

void CWnd::DeleteTempMap()
{
    HandleMap& handles = Handles();
    handles.retired.clear();
    for (auto& entry : handles.temporary) entry.second->m_hWnd = nullptr;
    handles.temporary.clear();
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (m_hWnd || !IsWindow(hWndNew) || Permanent(hWndNew)) return FALSE;
    Handles().permanent[hWndNew] = this;
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hwnd = m_hWnd;
    m_hWnd = nullptr;
    auto& permanent = Handles().permanent;
    auto found = permanent.find(hwnd);
    if (found != permanent.end() && found->second == this) permanent.erase(found);
    return hwnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd)) return FALSE;
    PreSubclassWindow();
    Subclass(*this, m_pfnSuper);
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    if (!pParent) return FALSE;
    HWND control = ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID));
    return control ? SubclassWindow(control) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    WindowState* window = WindowManager::Instance().Find(m_hWnd);
    if (window && m_pfnSuper && window->wndProc == &AfxWndProc) window->wndProc = m_pfnSuper;
    m_pfnSuper = nullptr;
    return Detach();
}

void CWnd::PreSubclassWindow()
{
}

void CWnd::PostNcDestroy()
{
}

void CWnd::OnNcDestroy()
{
    CWinApp* app = AfxGetApp();
    if (app && app->m_pMainWnd == this) app->m_pMainWnd = nullptr;
    Default();
    // The window goes back to its own procedure for whatever is left.
    WindowState* window = WindowManager::Instance().Find(m_hWnd);
    if (window && m_pfnSuper && window->wndProc == &AfxWndProc) window->wndProc = m_pfnSuper;
    m_pfnSuper = nullptr;
    Detach();
    PostNcDestroy();
}
