#include "platform/ui/framework/RegisterWndClass.h"

#include <map>
#include <tuple>

#include "platform/ui/framework/WinApp.h"
#include "platform/ui/windowing/DefWindowProc.h"

using platform::ui::FindWindowClass;

LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    typedef std::tuple<UINT, HCURSOR, HBRUSH, HICON> Key;
    // Never destroyed: the names are handed out for the life of the process.
    static auto* names = new std::map<Key, CString>;
    const Key key(nClassStyle, hCursor, hbrBackground, hIcon);
    auto found = names->find(key);
    if (found != names->end()) return found->second.GetString();

    CString name;
    if (!hCursor && !hbrBackground && !hIcon)
        name.Format(L"Afx:%p:%x", static_cast<void*>(AfxGetInstanceHandle()), nClassStyle);
    else
        name.Format(L"Afx:%p:%x:%p:%p:%p", static_cast<void*>(AfxGetInstanceHandle()), nClassStyle,
                    static_cast<void*>(hCursor), static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
    if (!FindWindowClass(name)) {
        WNDCLASSW wc = {nClassStyle, &DefWindowProcW, 0, 0, AfxGetInstanceHandle(), hIcon, hCursor,
                        hbrBackground, nullptr, name.GetString()};
        if (!RegisterClassW(&wc)) return nullptr;
    }
    CString& stored = (*names)[key];
    stored = name;
    return stored.GetString();
}

BOOL AfxRegisterClass(WNDCLASSW* lpWndClass)
{
    if (!lpWndClass) return FALSE;
    if (FindWindowClass(lpWndClass->lpszClassName)) return TRUE;
    return RegisterClassW(lpWndClass) != 0;
}
