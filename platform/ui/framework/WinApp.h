// CWinApp: the application object of the executable or of a library, and
// the framework's global accessors. There is no thread object: the UI runs
// on the host's thread. Construction registers the object with the module
// list (see Modules.h); the host starts it with platform::ui::StartModules().
#pragma once

#include "platform/base/Strings.h"
#include "platform/ui/framework/CmdTarget.h"
#include "platform/ui/framework/Modules.h"
#include "platform/ui/windowing/UiRecords.h"

class CWnd;

class CWinApp : public CCmdTarget {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Overridables: InitInstance returns FALSE to refuse start-up; ExitInstance
    // returns the exit code.
    virtual BOOL InitInstance();
    virtual int ExitInstance();

    // The message loop's parts. PreTranslateMessage lets the windows from
    // the message's own up to the main window (or its top-level window)
    // take the message first; PumpMessage dispatches one message, FALSE
    // for WM_QUIT; OnIdle deletes the temporary objects and asks for no
    // more idle time.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL PumpMessage();
    virtual BOOL OnIdle(LONG lCount);

    // Resources, searched in the framework's order (AfxFindResourceHandle).
    HCURSOR LoadCursor(UINT nIDResource) const;
    HCURSOR LoadCursor(LPCTSTR lpszResourceName) const;
    HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const;
    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadIcon(LPCTSTR lpszResourceName) const;
    HICON LoadStandardIcon(LPCTSTR lpszIconName) const;

private:
    friend BOOL platform::ui::StartModules();
    // Names the application when nobody did, publishes the title of the
    // main application and runs InitInstance (ExitInstance when it fails).
    BOOL StartInstance();

public:
    LPCTSTR m_pszAppName;   // the application's title; set at start-up when the constructor got none
    LPCTSTR m_pszExeName;   // the executable's file name without folder and extension; set at start-up
    HINSTANCE m_hInstance;  // the module holding this object (the executable for one on the stack or heap)
    CWnd* m_pMainWnd;       // the main window, or null

private:
    CString m_strAppName;   // storage behind m_pszAppName
    CString m_strExeName;   // storage behind m_pszExeName
};

// The main application: the first registered one living in the executable,
// else the first registered one; null when none is registered.
CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
LPCTSTR AfxGetAppName();
CWnd* AfxGetMainWnd();

// The module searched first for resources; the main application's module
// until someone sets another (setting null goes back to that).
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);

// Dispatches one waiting message through the application's
// PreTranslateMessage (the window tree's when there is no application);
// FALSE when it was WM_QUIT, TRUE otherwise, also when nothing was waiting.
BOOL AfxPumpMessage();

// Loads a library (LoadLibraryW's naming rules) and starts the applications
// it registered. Null when loading fails or one of them refuses to start
// (the library is unloaded again, as a failing DllMain unloads it).
HINSTANCE AfxLoadLibrary(LPCTSTR lpszModuleName);
// Stops the applications of a library loaded with AfxLoadLibrary, then unloads it.
BOOL AfxFreeLibrary(HINSTANCE hInstLib);
