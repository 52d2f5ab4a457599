// The window part of the framework's message maps: handler signatures for
// window messages, the ON_WM_* macros with the handler names and types the
// framework gives them, ON_MESSAGE, ON_NOTIFY and the reflected forms a
// control uses to handle its own notifications (ON_CONTROL_REFLECT,
// ON_NOTIFY_REFLECT, ON_WM_CTLCOLOR_REFLECT).
//
// Every ON_WM_* entry names the handler of the class being mapped by its
// fixed name (OnCreate, OnSize…); the cast checks its type. A class that
// does not declare the handler gets CWnd's, which does the default
// processing.
#pragma once

#include "platform/ui/framework/CmdTarget.h"
#include "platform/ui/windowing/UiRecords.h"

class CDC;
class CMenu;
class CScrollBar;
class CWnd;

// Window-message signatures, after the command ones.
enum AfxSigWnd : UINT_PTR {
    AfxSig_is = AfxSigCmd_last + 1,   // int (LPCREATESTRUCT)                 OnCreate
    AfxSig_vv,                        // void ()                              OnDestroy, OnPaint, OnClose…
    AfxSig_vwii,                      // void (UINT, int, int)                OnSize
    AfxSig_vii,                       // void (int, int)                      OnMove
    AfxSig_bD,                        // BOOL (CDC*)                          OnEraseBkgnd
    AfxSig_vtimer,                    // void (UINT_PTR)                      OnTimer
    AfxSig_vwp,                       // void (UINT, CPoint)                  mouse buttons and moves
    AfxSig_bwsp,                      // BOOL (UINT, short, CPoint)           OnMouseWheel
    AfxSig_bWww,                      // BOOL (CWnd*, UINT, UINT)             OnSetCursor
    AfxSig_vwww,                      // void (UINT, UINT, UINT)              keys and characters
    AfxSig_vW,                        // void (CWnd*)                         OnSetFocus, OnKillFocus, OnCaptureChanged
    AfxSig_vwwS,                      // void (UINT, UINT, CScrollBar*)       OnHScroll, OnVScroll
    AfxSig_hDWw,                      // HBRUSH (CDC*, CWnd*, UINT)           OnCtlColor
    AfxSig_hDw,                       // HBRUSH (CDC*, UINT)                  CtlColor (reflected)
    AfxSig_vwWb,                      // void (UINT, CWnd*, BOOL)             OnActivate
    AfxSig_vbw,                       // void (BOOL, UINT)                    OnShowWindow
    AfxSig_vPOS,                      // void (WINDOWPOS*)                    OnWindowPosChanging/Changed
    AfxSig_vb,                        // void (BOOL)                          OnEnable
    AfxSig_wv,                        // UINT ()                              OnGetDlgCode
    AfxSig_vWp,                       // void (CWnd*, CPoint)                 OnContextMenu
    AfxSig_lp,                        // LRESULT (CPoint)                     OnNcHitTest
    AfxSig_iWww,                      // int (CWnd*, UINT, UINT)              OnMouseActivate
    AfxSig_vDRAW,                     // void (int, LPDRAWITEMSTRUCT)         OnDrawItem
    AfxSig_vMEASURE,                  // void (int, LPMEASUREITEMSTRUCT)      OnMeasureItem
    AfxSig_vMMI,                      // void (MINMAXINFO*)                   OnGetMinMaxInfo
    AfxSig_vwl,                       // void (UINT, LPARAM)                  OnSysCommand, OnParentNotify
    AfxSig_vbNCP,                     // void (BOOL, NCCALCSIZE_PARAMS*)      OnNcCalcSize
    AfxSig_lwl,                       // LRESULT (WPARAM, LPARAM)             ON_MESSAGE
    AfxSig_lwwM,                      // LRESULT (UINT, UINT, CMenu*)         OnMenuChar
    AfxSig_vMwb,                      // void (CMenu*, UINT, BOOL)            OnInitMenuPopup
    AfxSig_vwSTYLE,                   // void (int, LPSTYLESTRUCT)            OnStyleChanging/Changed
};

typedef void (CWnd::*AFX_PMSGW)();

#define MORVELANCE_WND_HANDLER(type, memberFxn)                   \
    AfxMemberCast<AFX_PMSG>(static_cast<AfxMemberFn<type, CWnd>>( \
        static_cast<AfxMemberFn<type, ThisClass>>(&ThisClass::memberFxn)))

#define MORVELANCE_ON_WM(message, sig, type, memberFxn) \
    {message, 0, 0, 0, sig, MORVELANCE_WND_HANDLER(type, memberFxn)},

#define ON_WM_CREATE() MORVELANCE_ON_WM(WM_CREATE, AfxSig_is, int(LPCREATESTRUCT), OnCreate)
#define ON_WM_DESTROY() MORVELANCE_ON_WM(WM_DESTROY, AfxSig_vv, void(), OnDestroy)
#define ON_WM_NCDESTROY() MORVELANCE_ON_WM(WM_NCDESTROY, AfxSig_vv, void(), OnNcDestroy)
#define ON_WM_CLOSE() MORVELANCE_ON_WM(WM_CLOSE, AfxSig_vv, void(), OnClose)
#define ON_WM_PAINT() MORVELANCE_ON_WM(WM_PAINT, AfxSig_vv, void(), OnPaint)
#define ON_WM_NCPAINT() MORVELANCE_ON_WM(WM_NCPAINT, AfxSig_vv, void(), OnNcPaint)
#define ON_WM_CANCELMODE() MORVELANCE_ON_WM(WM_CANCELMODE, AfxSig_vv, void(), OnCancelMode)
#define ON_WM_SYSCOLORCHANGE() MORVELANCE_ON_WM(WM_SYSCOLORCHANGE, AfxSig_vv, void(), OnSysColorChange)
#define ON_WM_MOUSELEAVE() MORVELANCE_ON_WM(WM_MOUSELEAVE, AfxSig_vv, void(), OnMouseLeave)
#define ON_WM_SIZE() MORVELANCE_ON_WM(WM_SIZE, AfxSig_vwii, void(UINT, int, int), OnSize)
#define ON_WM_MOVE() MORVELANCE_ON_WM(WM_MOVE, AfxSig_vii, void(int, int), OnMove)
#define ON_WM_ERASEBKGND() MORVELANCE_ON_WM(WM_ERASEBKGND, AfxSig_bD, BOOL(CDC*), OnEraseBkgnd)
#define ON_WM_TIMER() MORVELANCE_ON_WM(WM_TIMER, AfxSig_vtimer, void(UINT_PTR), OnTimer)
#define ON_WM_MOUSEMOVE() MORVELANCE_ON_WM(WM_MOUSEMOVE, AfxSig_vwp, void(UINT, CPoint), OnMouseMove)
#define ON_WM_LBUTTONDOWN() MORVELANCE_ON_WM(WM_LBUTTONDOWN, AfxSig_vwp, void(UINT, CPoint), OnLButtonDown)
#define ON_WM_LBUTTONUP() MORVELANCE_ON_WM(WM_LBUTTONUP, AfxSig_vwp, void(UINT, CPoint), OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() MORVELANCE_ON_WM(WM_LBUTTONDBLCLK, AfxSig_vwp, void(UINT, CPoint), OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() MORVELANCE_ON_WM(WM_RBUTTONDOWN, AfxSig_vwp, void(UINT, CPoint), OnRButtonDown)
#define ON_WM_RBUTTONUP() MORVELANCE_ON_WM(WM_RBUTTONUP, AfxSig_vwp, void(UINT, CPoint), OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() MORVELANCE_ON_WM(WM_RBUTTONDBLCLK, AfxSig_vwp, void(UINT, CPoint), OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() MORVELANCE_ON_WM(WM_MBUTTONDOWN, AfxSig_vwp, void(UINT, CPoint), OnMButtonDown)
#define ON_WM_MBUTTONUP() MORVELANCE_ON_WM(WM_MBUTTONUP, AfxSig_vwp, void(UINT, CPoint), OnMButtonUp)
#define ON_WM_MBUTTONDBLCLK() MORVELANCE_ON_WM(WM_MBUTTONDBLCLK, AfxSig_vwp, void(UINT, CPoint), OnMButtonDblClk)
#define ON_WM_MOUSEHOVER() MORVELANCE_ON_WM(WM_MOUSEHOVER, AfxSig_vwp, void(UINT, CPoint), OnMouseHover)
#define ON_WM_NCLBUTTONDOWN() MORVELANCE_ON_WM(WM_NCLBUTTONDOWN, AfxSig_vwp, void(UINT, CPoint), OnNcLButtonDown)
#define ON_WM_NCMOUSEMOVE() MORVELANCE_ON_WM(WM_NCMOUSEMOVE, AfxSig_vwp, void(UINT, CPoint), OnNcMouseMove)
#define ON_WM_MOUSEWHEEL() MORVELANCE_ON_WM(WM_MOUSEWHEEL, AfxSig_bwsp, BOOL(UINT, short, CPoint), OnMouseWheel)
#define ON_WM_SETCURSOR() MORVELANCE_ON_WM(WM_SETCURSOR, AfxSig_bWww, BOOL(CWnd*, UINT, UINT), OnSetCursor)
#define ON_WM_KEYDOWN() MORVELANCE_ON_WM(WM_KEYDOWN, AfxSig_vwww, void(UINT, UINT, UINT), OnKeyDown)
#define ON_WM_KEYUP() MORVELANCE_ON_WM(WM_KEYUP, AfxSig_vwww, void(UINT, UINT, UINT), OnKeyUp)
#define ON_WM_CHAR() MORVELANCE_ON_WM(WM_CHAR, AfxSig_vwww, void(UINT, UINT, UINT), OnChar)
#define ON_WM_SYSKEYDOWN() MORVELANCE_ON_WM(WM_SYSKEYDOWN, AfxSig_vwww, void(UINT, UINT, UINT), OnSysKeyDown)
#define ON_WM_SYSKEYUP() MORVELANCE_ON_WM(WM_SYSKEYUP, AfxSig_vwww, void(UINT, UINT, UINT), OnSysKeyUp)
#define ON_WM_SYSCHAR() MORVELANCE_ON_WM(WM_SYSCHAR, AfxSig_vwww, void(UINT, UINT, UINT), OnSysChar)
#define ON_WM_SETFOCUS() MORVELANCE_ON_WM(WM_SETFOCUS, AfxSig_vW, void(CWnd*), OnSetFocus)
#define ON_WM_KILLFOCUS() MORVELANCE_ON_WM(WM_KILLFOCUS, AfxSig_vW, void(CWnd*), OnKillFocus)
#define ON_WM_CAPTURECHANGED() MORVELANCE_ON_WM(WM_CAPTURECHANGED, AfxSig_vW, void(CWnd*), OnCaptureChanged)
#define ON_WM_HSCROLL() MORVELANCE_ON_WM(WM_HSCROLL, AfxSig_vwwS, void(UINT, UINT, CScrollBar*), OnHScroll)
#define ON_WM_VSCROLL() MORVELANCE_ON_WM(WM_VSCROLL, AfxSig_vwwS, void(UINT, UINT, CScrollBar*), OnVScroll)
#define ON_WM_CTLCOLOR() MORVELANCE_ON_WM(WM_CTLCOLOR, AfxSig_hDWw, HBRUSH(CDC*, CWnd*, UINT), OnCtlColor)
#define ON_WM_ACTIVATE() MORVELANCE_ON_WM(WM_ACTIVATE, AfxSig_vwWb, void(UINT, CWnd*, BOOL), OnActivate)
#define ON_WM_SHOWWINDOW() MORVELANCE_ON_WM(WM_SHOWWINDOW, AfxSig_vbw, void(BOOL, UINT), OnShowWindow)
#define ON_WM_WINDOWPOSCHANGING() \
    MORVELANCE_ON_WM(WM_WINDOWPOSCHANGING, AfxSig_vPOS, void(WINDOWPOS*), OnWindowPosChanging)
#define ON_WM_WINDOWPOSCHANGED() \
    MORVELANCE_ON_WM(WM_WINDOWPOSCHANGED, AfxSig_vPOS, void(WINDOWPOS*), OnWindowPosChanged)
#define ON_WM_ENABLE() MORVELANCE_ON_WM(WM_ENABLE, AfxSig_vb, void(BOOL), OnEnable)
#define ON_WM_GETDLGCODE() MORVELANCE_ON_WM(WM_GETDLGCODE, AfxSig_wv, UINT(), OnGetDlgCode)
#define ON_WM_CONTEXTMENU() MORVELANCE_ON_WM(WM_CONTEXTMENU, AfxSig_vWp, void(CWnd*, CPoint), OnContextMenu)
#define ON_WM_NCHITTEST() MORVELANCE_ON_WM(WM_NCHITTEST, AfxSig_lp, LRESULT(CPoint), OnNcHitTest)
#define ON_WM_MOUSEACTIVATE() MORVELANCE_ON_WM(WM_MOUSEACTIVATE, AfxSig_iWww, int(CWnd*, UINT, UINT), OnMouseActivate)
#define ON_WM_DRAWITEM() MORVELANCE_ON_WM(WM_DRAWITEM, AfxSig_vDRAW, void(int, LPDRAWITEMSTRUCT), OnDrawItem)
#define ON_WM_MEASUREITEM() \
    MORVELANCE_ON_WM(WM_MEASUREITEM, AfxSig_vMEASURE, void(int, LPMEASUREITEMSTRUCT), OnMeasureItem)
#define ON_WM_GETMINMAXINFO() MORVELANCE_ON_WM(WM_GETMINMAXINFO, AfxSig_vMMI, void(MINMAXINFO*), OnGetMinMaxInfo)
#define ON_WM_SYSCOMMAND() MORVELANCE_ON_WM(WM_SYSCOMMAND, AfxSig_vwl, void(UINT, LPARAM), OnSysCommand)
#define ON_WM_PARENTNOTIFY() MORVELANCE_ON_WM(WM_PARENTNOTIFY, AfxSig_vwl, void(UINT, LPARAM), OnParentNotify)
#define ON_WM_NCCALCSIZE() MORVELANCE_ON_WM(WM_NCCALCSIZE, AfxSig_vbNCP, void(BOOL, NCCALCSIZE_PARAMS*), OnNcCalcSize)
#define ON_WM_MENUCHAR() MORVELANCE_ON_WM(WM_MENUCHAR, AfxSig_lwwM, LRESULT(UINT, UINT, CMenu*), OnMenuChar)
#define ON_WM_INITMENUPOPUP() \
    MORVELANCE_ON_WM(WM_INITMENUPOPUP, AfxSig_vMwb, void(CMenu*, UINT, BOOL), OnInitMenuPopup)
#define ON_WM_STYLECHANGING() \
    MORVELANCE_ON_WM(WM_STYLECHANGING, AfxSig_vwSTYLE, void(int, LPSTYLESTRUCT), OnStyleChanging)
#define ON_WM_STYLECHANGED() \
    MORVELANCE_ON_WM(WM_STYLECHANGED, AfxSig_vwSTYLE, void(int, LPSTYLESTRUCT), OnStyleChanged)

// Any message, handled as LRESULT (WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn) \
    {(UINT)(message), 0, 0, 0, AfxSig_lwl, MORVELANCE_WND_HANDLER(LRESULT(WPARAM, LPARAM), memberFxn)},
// A message number known only at run time (RegisterWindowMessage): the
// entry keeps the address of the variable holding it.
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                  \
    {0xC000, 0, 0, 0, (UINT_PTR)(UINT*)(&nMessageVariable),                                 \
     MORVELANCE_WND_HANDLER(LRESULT(WPARAM, LPARAM), memberFxn)},

// Notifications (WM_NOTIFY) by code and control id.
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                              \
    {WM_NOTIFY, (UINT)(int)(wNotifyCode), (WORD)(id), (WORD)(id), AfxSigNotify_v,          \
     MORVELANCE_CMD_HANDLER(void(NMHDR*, LRESULT*), memberFxn)},
#define ON_NOTIFY_RANGE(wNotifyCode, id, idLast, memberFxn)                                \
    {WM_NOTIFY, (UINT)(int)(wNotifyCode), (WORD)(id), (WORD)(idLast), AfxSigNotify_RANGE,  \
     MORVELANCE_CMD_HANDLER(void(UINT, NMHDR*, LRESULT*), memberFxn)},
#define ON_NOTIFY_EX(wNotifyCode, id, memberFxn)                                           \
    {WM_NOTIFY, (UINT)(int)(wNotifyCode), (WORD)(id), (WORD)(id), AfxSigNotify_EX,         \
     MORVELANCE_CMD_HANDLER(BOOL(UINT, NMHDR*, LRESULT*), memberFxn)},

// The forms a control uses for its own notifications, which its parent
// reflects back to it before handling them itself.
#define ON_CONTROL_REFLECT(wNotifyCode, memberFxn)                                        \
    {WM_COMMAND + WM_REFLECT_BASE, (WORD)(wNotifyCode), 0, 0, AfxSigCmd_v,               \
     MORVELANCE_CMD_HANDLER(void(), memberFxn)},
// The handler returns TRUE to keep the parent from seeing the notification.
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn)                                     \
    {WM_COMMAND + WM_REFLECT_BASE, (WORD)(wNotifyCode), 0, 0, AfxSigCmd_bv,              \
     MORVELANCE_CMD_HANDLER(BOOL(), memberFxn)},
#define ON_NOTIFY_REFLECT(wNotifyCode, memberFxn)                                         \
    {WM_NOTIFY + WM_REFLECT_BASE, (UINT)(int)(wNotifyCode), 0, 0, AfxSigNotify_v,         \
     MORVELANCE_CMD_HANDLER(void(NMHDR*, LRESULT*), memberFxn)},
#define ON_NOTIFY_REFLECT_EX(wNotifyCode, memberFxn)                                      \
    {WM_NOTIFY + WM_REFLECT_BASE, (UINT)(int)(wNotifyCode), 0, 0, AfxSigNotify_b,         \
     MORVELANCE_CMD_HANDLER(BOOL(NMHDR*, LRESULT*), memberFxn)},
// A null brush from the handler lets the parent choose the colours.
#define ON_WM_CTLCOLOR_REFLECT() \
    {WM_CTLCOLOR + WM_REFLECT_BASE, 0, 0, 0, AfxSig_hDw, MORVELANCE_WND_HANDLER(HBRUSH(CDC*, UINT), CtlColor)},

// The edit, combo box, button, list box and static notifications.
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_MAXTEXT(id, memberFxn) ON_CONTROL(EN_MAXTEXT, id, memberFxn)
#define ON_EN_ERRSPACE(id, memberFxn) ON_CONTROL(EN_ERRSPACE, id, memberFxn)
#define ON_EN_HSCROLL(id, memberFxn) ON_CONTROL(EN_HSCROLL, id, memberFxn)
#define ON_EN_VSCROLL(id, memberFxn) ON_CONTROL(EN_VSCROLL, id, memberFxn)
#define ON_CBN_DBLCLK(id, memberFxn) ON_CONTROL(CBN_DBLCLK, id, memberFxn)
#define ON_CBN_SETFOCUS(id, memberFxn) ON_CONTROL(CBN_SETFOCUS, id, memberFxn)
#define ON_CBN_KILLFOCUS(id, memberFxn) ON_CONTROL(CBN_KILLFOCUS, id, memberFxn)
#define ON_CBN_EDITUPDATE(id, memberFxn) ON_CONTROL(CBN_EDITUPDATE, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_CBN_SELENDCANCEL(id, memberFxn) ON_CONTROL(CBN_SELENDCANCEL, id, memberFxn)
#define ON_CBN_ERRSPACE(id, memberFxn) ON_CONTROL(CBN_ERRSPACE, id, memberFxn)
#define ON_BN_SETFOCUS(id, memberFxn) ON_CONTROL(BN_SETFOCUS, id, memberFxn)
#define ON_BN_KILLFOCUS(id, memberFxn) ON_CONTROL(BN_KILLFOCUS, id, memberFxn)
#define ON_LBN_SETFOCUS(id, memberFxn) ON_CONTROL(LBN_SETFOCUS, id, memberFxn)
#define ON_LBN_KILLFOCUS(id, memberFxn) ON_CONTROL(LBN_KILLFOCUS, id, memberFxn)
#define ON_LBN_SELCANCEL(id, memberFxn) ON_CONTROL(LBN_SELCANCEL, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)
#define ON_STN_ENABLE(id, memberFxn) ON_CONTROL(STN_ENABLE, id, memberFxn)
#define ON_STN_DISABLE(id, memberFxn) ON_CONTROL(STN_DISABLE, id, memberFxn)

namespace platform::ui {
// The framework's CMenu for a menu handle, installed by the menu class so
// that ON_WM_MENUCHAR and ON_WM_INITMENUPOPUP handlers receive one; null
// until then.
typedef CMenu* (*MenuFromHandleFunction)(HMENU);
MenuFromHandleFunction SetMenuFromHandle(MenuFromHandleFunction function);
CMenu* MenuFromHandle(HMENU menu);

// Owner-drawn menu items (ODT_MENU in WM_DRAWITEM / WM_MEASUREITEM), drawn
// by the menu class once it installs its handlers; TRUE when drawn.
typedef BOOL (*MenuDrawItemFunction)(LPDRAWITEMSTRUCT);
typedef BOOL (*MenuMeasureItemFunction)(LPMEASUREITEMSTRUCT);
void SetMenuOwnerDrawHandlers(MenuDrawItemFunction draw, MenuMeasureItemFunction measure);
}  // namespace platform::ui
