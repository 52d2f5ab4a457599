// The dialog manager: dialogs made from templates, the default dialog
// procedure (the procedure of the dialog class "#32770"), keyboard
// navigation (IsDialogMessage: Tab, Shift+Tab, arrows in a group, Return
// for the default button, Escape for Cancel, mnemonics), the default push
// button, and the control helpers (GetDlgItem, SetDlgItemText…).
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/ui/windowing/DialogTemplate.h"
#include "platform/ui/windowing/UiRecords.h"
#include "platform/ui/windowing/UiTypes.h"

// A modeless dialog: the window (hidden), the dialog font (WM_SETFONT),
// each control (with the font), WM_INITDIALOG, the first focus when it
// returned TRUE, then the window shown when the template has WS_VISIBLE.
// Null when the template is bad, a control cannot be made (unless
// DS_NOFAILCREATE) or the dialog destroys itself while starting.
HWND CreateDialogIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATE lpTemplate, HWND hWndParent, DLGPROC lpDialogFunc,
                                LPARAM dwInitParam);
HWND CreateDialogParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                        LPARAM dwInitParam);
// A modal dialog: its owner's top-level window is disabled while the
// installed modal-loop hook (WindowSystemHooks.h) works it; the result of EndDialog, or -1
// when the dialog cannot be made.
INT_PTR DialogBoxIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATE hDialogTemplate, HWND hWndParent,
                                DLGPROC lpDialogFunc, LPARAM dwInitParam);
INT_PTR DialogBoxParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                        LPARAM dwInitParam);

LRESULT DefDlgProcW(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam);
// Marks the dialog ended with `nResult` and hides it; FALSE for a window
// that is not a dialog.
BOOL EndDialog(HWND hDlg, INT_PTR nResult);
BOOL IsDialogMessageW(HWND hDlg, LPMSG lpMsg);

// The child with that id (direct children only, as Windows searches).
HWND GetDlgItem(HWND hDlg, int nIDDlgItem);
// The next (previous) control with WS_TABSTOP that is visible and enabled,
// going into child dialogs with WS_EX_CONTROLPARENT and wrapping around;
// the first (last) one for a null control.
HWND GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious);
// The next (previous) visible, enabled control of hCtl's group (WS_GROUP
// starts a group), wrapping within the group.
HWND GetNextDlgGroupItem(HWND hDlg, HWND hCtl, BOOL bPrevious);
LRESULT SendDlgItemMessageW(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam);
BOOL SetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPCWSTR lpString);
UINT GetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax);
BOOL SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, BOOL bSigned);
// Blanks around the number are allowed, anything else fails (0 and
// *lpTranslated FALSE), as does a value out of range.
UINT GetDlgItemInt(HWND hDlg, int nIDDlgItem, BOOL* lpTranslated, BOOL bSigned);
BOOL CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck);
UINT IsDlgButtonChecked(HWND hDlg, int nIDButton);
BOOL CheckRadioButton(HWND hDlg, int nIDFirstButton, int nIDLastButton, int nIDCheckButton);
// Dialog units to pixels with the dialog's font; FALSE for a window that is not a dialog.
BOOL MapDialogRect(HWND hDlg, LPRECT lpRect);

inline HWND CreateDialogIndirectParam(HINSTANCE i, LPCDLGTEMPLATE t, HWND p, DLGPROC f, LPARAM l) { return CreateDialogIndirectParamW(i, t, p, f, l); }
inline HWND CreateDialogParam(HINSTANCE i, LPCWSTR t, HWND p, DLGPROC f, LPARAM l) { return CreateDialogParamW(i, t, p, f, l); }
inline INT_PTR DialogBoxParam(HINSTANCE i, LPCWSTR t, HWND p, DLGPROC f, LPARAM l) { return DialogBoxParamW(i, t, p, f, l); }
inline LRESULT DefDlgProc(HWND h, UINT m, WPARAM w, LPARAM l) { return DefDlgProcW(h, m, w, l); }
inline BOOL IsDialogMessage(HWND h, LPMSG m) { return IsDialogMessageW(h, m); }
inline LRESULT SendDlgItemMessage(HWND h, int id, UINT m, WPARAM w, LPARAM l) { return SendDlgItemMessageW(h, id, m, w, l); }
inline BOOL SetDlgItemText(HWND h, int id, LPCWSTR s) { return SetDlgItemTextW(h, id, s); }
inline UINT GetDlgItemText(HWND h, int id, LPWSTR s, int max) { return GetDlgItemTextW(h, id, s, max); }

namespace platform::ui {

// Creates a dialog from a template in memory; see CreateDialogIndirectParam.
HWND CreateDialogFromTemplate(const DialogTemplate& dialog, HINSTANCE instance, HWND parent, DLGPROC proc, LPARAM param);

// The template `name` of `module`; false when the module has none or its bytes are bad.
bool LoadDialogTemplate(HINSTANCE module, LPCWSTR name, DialogTemplate& out);

// The font a template names (null without DS_SETFONT) and the dialog base
// units it gives: the average character width and the height, pixels.
HFONT CreateTemplateFont(const DialogTemplate& dialog);
SIZE DialogBaseUnitsOf(HFONT font);

// The window rectangle a template asks for, on the screen for a top-level
// dialog and in the parent's client area for a child one.
RECT DialogWindowRect(const DialogTemplate& dialog, SIZE baseUnits, HWND parent);

// Runs a modal dialog that exists: the modal driver, then the messages it
// left, until the dialog ends. False when WM_QUIT came (it is posted again
// for the outer loop).
bool RunModalLoop(HWND hDlg);

// The innermost modal dialog whose loop runs; null when none does.
HWND RunningModalDialog();
// Whether the top-level window of `hwnd` owns, directly or through other
// owned windows, a modal dialog whose loop runs: closing it would pull the
// dialog (and what its caller works on) away under the loop.
bool OwnsRunningModal(HWND hwnd);
// The window a modal pop-up asked for by `window` belongs to, and is to be
// disabled while it runs: the top-level window of `window`; when a modal
// loop already holds that one disabled, the innermost running pop-up of it,
// so that the pop-up underneath takes no input either. Null for null.
HWND ModalOwnerFor(HWND window);

namespace detail {
// Keeps the default push button in step with the focus inside a dialog.
void DialogFocusChanged(HWND newFocus);
}  // namespace detail

}  // namespace platform::ui
