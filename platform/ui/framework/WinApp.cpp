#include "platform/ui/framework/WinApp.h"

#include <map>
#include <mutex>

#include "platform/base/File.h"
#include "platform/base/Kernel.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/framework/Wnd.h"
#include "platform/ui/windowing/Resources.h"

#ifndef ERROR_DLL_INIT_FAILED
#define ERROR_DLL_INIT_FAILED 1114u
#endif

IMPLEMENT_DYNAMIC(CWinApp, CCmdTarget)

namespace {

// The module searched first for resources; null follows the main application.
HINSTANCE g_hResourceHandle = nullptr;

// The libraries AfxLoadLibrary brought in, with the registration serials of
// the applications each one registered while it loaded.
struct LoadedLibrary {
    unsigned long firstSerial;
    unsigned long lastSerial;   // exclusive
    int loadCount;              // AfxLoadLibrary calls not yet matched by AfxFreeLibrary
};

struct LoadedLibraries {
    std::mutex lock;
    std::map<HINSTANCE, LoadedLibrary> byHandle;
};

LoadedLibraries& Loaded()
{
    static LoadedLibraries libraries;
    return libraries;
}

CString ExecutableStem()
{
    wchar_t path[MAX_PATH * 4] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, sizeof(path) / sizeof(path[0]));
    if (length == 0) return CString();
    CString name = CString(path).Mid(PathLastSeparator(CString(path)) + 1);
    int dot = name.ReverseFind(L'.');
    return dot > 0 ? name.Left(dot) : name;
}

}  // namespace

CWinApp::CWinApp(LPCTSTR lpszAppName)
    : m_pszAppName(nullptr), m_pszExeName(nullptr), m_hInstance(nullptr), m_pMainWnd(nullptr)
{
    if (lpszAppName) {
        m_strAppName = lpszAppName;
        m_pszAppName = m_strAppName;
    }
    m_hInstance = platform::ui::ModuleFromAddress(this);
    if (!m_hInstance) m_hInstance = platform::ui::ExecutableModule();
    platform::ui::detail::InstallStringResourceLoader();
    platform::ui::detail::RegisterApplication(this);
}

CWinApp::~CWinApp()
{
    platform::ui::detail::UnregisterApplication(this);
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return 0;
}

BOOL CWinApp::StartInstance()
{
    if (!m_pszExeName) {
        m_strExeName = ExecutableStem();
        m_pszExeName = m_strExeName;
    }
    // The framework names an unnamed application from its module's title
    // resource, else after the executable.
    if (!m_pszAppName) {
        if (!platform::ui::LoadModuleString(m_hInstance, AFX_IDS_APP_TITLE, m_strAppName)) m_strAppName = m_strExeName;
        m_pszAppName = m_strAppName;
    }
    if (this == AfxGetApp()) SetAfxAppTitle(m_pszAppName);
    if (InitInstance()) return TRUE;
    ExitInstance();
    return FALSE;
}

BOOL CWinApp::PreTranslateMessage(MSG* pMsg)
{
    if (!pMsg) return FALSE;
    HWND stop = m_pMainWnd ? m_pMainWnd->GetSafeHwnd() : nullptr;
    return CWnd::WalkPreTranslateTree(stop, pMsg);
}

BOOL CWinApp::PumpMessage()
{
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return TRUE;
    if (msg.message == WM_QUIT) return FALSE;
    if (!PreTranslateMessage(&msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return TRUE;
}

BOOL CWinApp::OnIdle(LONG lCount)
{
    (void)lCount;
    CWnd::DeleteTempMap();
    CDC::DeleteTempMap();
    return FALSE;
}

HCURSOR CWinApp::LoadCursor(UINT nIDResource) const
{
    return LoadCursor(MAKEINTRESOURCE(nIDResource));
}

HCURSOR CWinApp::LoadCursor(LPCTSTR lpszResourceName) const
{
    return LoadCursorW(AfxFindResourceHandle(lpszResourceName, RT_GROUP_CURSOR), lpszResourceName);
}

HCURSOR CWinApp::LoadStandardCursor(LPCTSTR lpszCursorName) const
{
    return LoadCursorW(nullptr, lpszCursorName);
}

HICON CWinApp::LoadIcon(UINT nIDResource) const
{
    return LoadIcon(MAKEINTRESOURCE(nIDResource));
}

HICON CWinApp::LoadIcon(LPCTSTR lpszResourceName) const
{
    return LoadIconW(AfxFindResourceHandle(lpszResourceName, RT_GROUP_ICON), lpszResourceName);
}

HICON CWinApp::LoadStandardIcon(LPCTSTR lpszIconName) const
{
    return LoadIconW(nullptr, lpszIconName);
}

CWinApp* AfxGetApp()
{
    const HINSTANCE executable = platform::ui::ExecutableModule();
    const int count = platform::ui::RegisteredApplicationCount();
    for (int i = 0; i < count; ++i) {
        CWinApp* app = platform::ui::RegisteredApplication(i);
        if (app && app->m_hInstance == executable) return app;
    }
    return platform::ui::RegisteredApplication(0);
}

HINSTANCE AfxGetInstanceHandle()
{
    CWinApp* app = AfxGetApp();
    return app ? app->m_hInstance : platform::ui::ExecutableModule();
}

LPCTSTR AfxGetAppName()
{
    CWinApp* app = AfxGetApp();
    return app ? app->m_pszAppName : nullptr;
}

CWnd* AfxGetMainWnd()
{
    CWinApp* app = AfxGetApp();
    return app ? app->m_pMainWnd : nullptr;
}

HINSTANCE AfxGetResourceHandle()
{
    return g_hResourceHandle ? g_hResourceHandle : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE hInstResource)
{
    g_hResourceHandle = hInstResource;
}

BOOL AfxPumpMessage()
{
    if (CWinApp* app = AfxGetApp()) return app->PumpMessage();
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return TRUE;
    if (msg.message == WM_QUIT) return FALSE;
    if (!CWnd::WalkPreTranslateTree(nullptr, &msg)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return TRUE;
}

HINSTANCE AfxLoadLibrary(LPCTSTR lpszModuleName)
{
    const unsigned long first = platform::ui::detail::RegistrationSerial();
    HMODULE module = LoadLibraryW(lpszModuleName);
    if (!module) return nullptr;
    const unsigned long last = platform::ui::detail::RegistrationSerial();
    platform::ui::StartModules();
    if (platform::ui::detail::FailedApplications(first, last) > 0) {
        // A library whose start-up fails does not stay loaded.
        platform::ui::detail::StopApplications(first, last);
        FreeLibrary(module);
        SetLastError(ERROR_DLL_INIT_FAILED);
        return nullptr;
    }
    LoadedLibraries& loaded = Loaded();
    std::lock_guard<std::mutex> guard(loaded.lock);
    auto found = loaded.byHandle.find(module);
    if (found != loaded.byHandle.end())
        ++found->second.loadCount;
    else
        loaded.byHandle[module] = LoadedLibrary{first, last, 1};
    return module;
}

BOOL AfxFreeLibrary(HINSTANCE hInstLib)
{
    if (!hInstLib) return FALSE;
    LoadedLibrary library{0, 0, 0};
    {
        LoadedLibraries& loaded = Loaded();
        std::lock_guard<std::mutex> guard(loaded.lock);
        auto found = loaded.byHandle.find(hInstLib);
        if (found != loaded.byHandle.end() && --found->second.loadCount == 0) {
            library = found->second;
            loaded.byHandle.erase(found);
        }
    }
    // The applications stop only when the last load is undone, as a library
    // is detached only then.
    if (library.lastSerial > library.firstSerial)
        platform::ui::detail::StopApplications(library.firstSerial, library.lastSerial);
    return FreeLibrary(hInstLib);
}
