// CWnd: the framework's window object, attached to a window of the window
// manager. A window created through an object is attached to it from its
// creation on (the framework's creation hook) and detached when the window
// is destroyed, after which PostNcDestroy may delete the object.
//
// FromHandle of a window without its own object gives a temporary object
// owned by the window layer; like the framework's, it must not be kept:
// DeleteTempMap (at idle time) deletes every temporary object.
#pragma once

#include "platform/base/Strings.h"
#include "platform/ui/CmdTarget.h"
#include "platform/ui/Window.h"

namespace platform::ui {
class WindowManager;
}

struct CREATESTRUCTW {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;          // a child's control id
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCWSTR lpszName;
    LPCWSTR lpszClass;
    DWORD dwExStyle;
};
typedef CREATESTRUCTW CREATESTRUCT;
typedef CREATESTRUCTW* LPCREATESTRUCT;

struct CCreateContext;

class CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    CWnd();
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Creation and destruction.
    virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                        CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x,
                          int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                          LPVOID lpParam = nullptr);
    BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, LPVOID lpParam = nullptr);
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual BOOL DestroyWindow();

    // Handles and objects.
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }
    static CWnd* FromHandle(HWND hWnd);
    static CWnd* FromHandlePermanent(HWND hWnd);
    static void DeleteTempMap();
    BOOL Attach(HWND hWndNew);
    HWND Detach();

    // Window state.
    CWnd* GetParent() const;
    void SetWindowText(LPCTSTR lpszString);
    int GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const;
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    int GetDlgCtrlID() const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;

    // CreateWindowEx attaches the window it made to the object whose
    // CreateEx is running on this thread, if any.
    static void AttachCreatingWindow(HWND hWnd);

protected:
    // Called after the window is gone; objects that own themselves delete
    // themselves here.
    virtual void PostNcDestroy();
    afx_msg void OnNcDestroy();

    DECLARE_MESSAGE_MAP()

public:
    HWND m_hWnd;   // null while no window is attached

private:
    friend class platform::ui::WindowManager;
};
