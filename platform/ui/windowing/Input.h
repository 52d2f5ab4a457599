// Keyboard and mouse: the focus, the active window, the capture, the key
// state, the cursor and its clip rectangle, mouse tracking, double clicks
// and the caret. Input comes from the desktop driver (Desktop.h), which
// routes it to a window and queues it; the key state and the cursor follow
// each message when it is read from the queue, as on Windows.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "platform/ui/windowing/UiRecords.h"
#include "platform/ui/windowing/UiTypes.h"

// The focus moves with WM_KILLFOCUS to the old window, then WM_SETFOCUS to
// the new one; a window that is (or has an ancestor that is) disabled or
// minimised cannot take it (null is returned). The top-level window of the
// new focus is activated first. Returns the previous focus.
HWND SetFocus(HWND hWnd);
HWND GetFocus();
// Activates a top-level window (a child's top-level window): WM_NCACTIVATE
// and WM_ACTIVATE to the window losing and the one gaining activation.
HWND SetActiveWindow(HWND hWnd);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND hWnd);
HWND GetForegroundWindow();

// WM_CAPTURECHANGED goes to the window that loses the capture.
HWND SetCapture(HWND hWnd);
HWND GetCapture();
BOOL ReleaseCapture();

// Negative while the key is down; the low bit toggles with each press.
SHORT GetKeyState(int nVirtKey);
SHORT GetAsyncKeyState(int vKey);
BOOL GetKeyboardState(BYTE* lpKeyState);   // 256 bytes

BOOL GetCursorPos(LPPOINT lpPoint);
// Moves the cursor (kept inside the clip rectangle) without sending anything.
BOOL SetCursorPos(int X, int Y);
// Confines the cursor to a screen rectangle; null frees it.
BOOL ClipCursor(const RECT* lpRect);
BOOL GetClipCursor(LPRECT lpRect);
HCURSOR SetCursor(HCURSOR hCursor);
HCURSOR GetCursor();
int ShowCursor(BOOL bShow);

// TME_LEAVE posts WM_MOUSELEAVE when the cursor leaves the window's client
// area (at once when it is not over it); TME_HOVER posts WM_MOUSEHOVER when
// the cursor rests there for the hover time on the desktop's clock.
BOOL TrackMouseEvent(LPTRACKMOUSEEVENT lpEventTrack);
inline BOOL _TrackMouseEvent(LPTRACKMOUSEEVENT lpEventTrack) { return TrackMouseEvent(lpEventTrack); }

// The caret: one at a time, owned by a window, hidden until shown.
BOOL CreateCaret(HWND hWnd, HBITMAP hBitmap, int nWidth, int nHeight);
BOOL DestroyCaret();
BOOL ShowCaret(HWND hWnd);
BOOL HideCaret(HWND hWnd);
BOOL SetCaretPos(int X, int Y);
BOOL GetCaretPos(LPPOINT lpPoint);
UINT GetCaretBlinkTime();

namespace platform::ui {

// The caret's owner, its rectangle in the owner's client coordinates and
// whether it is shown; false when there is none.
bool GetCaretState(HWND& owner, RECT& rect, bool& shown);

namespace detail {
// Input from the driver, routed and queued. `message` is a client mouse
// message (WM_MOUSEMOVE, WM_LBUTTONDOWN…); it becomes a double click or a
// non-client message as the target and timing say. Wheel messages carry
// their delta in `wheelDelta`.
void PostMouseInput(UINT message, POINT screen, int wheelDelta);
// A window scroll bar's thumb held by the mouse: the window gets
// SB_THUMBTRACK while it moves, SB_THUMBPOSITION and SB_ENDSCROLL when it is
// let go. Begin captures the mouse; Track takes the mouse input meant for the
// holder and answers whether it did.
void BeginScrollThumbTrack(HWND hwnd, int bar, int grab);
bool TrackScrollThumb(UINT message, POINT screen);
// Keys and characters go to the focus, or to the control `to` where they were
// typed into a control the focus has left since (an input method answered
// late); nothing hears them once `to` is gone.
void PostKeyInput(UINT vk, bool down, HWND to = nullptr);
void PostCharInput(wchar_t ch, HWND to = nullptr);
// The modifiers as the keyboard holds them now (from an input event's own
// state): one the windows still think down but that is up is let go of, as
// if its release had come. A release can go to another client that held the
// keyboard meanwhile (a window manager's shortcut), and a modifier held
// down for ever makes every later key a system key.
void SyncModifierKeys(bool shiftDown, bool controlDown, bool altDown);
// Called as an input message is read: updates the key state and cursor,
// sends WM_MOUSEACTIVATE and WM_SETCURSOR. FALSE when the message is eaten.
bool TakeInput(MSG& msg);
// WM_MOUSEHOVER for a hover that has lasted long enough on the clock.
void CheckHover();
// Forgets keys, buttons, tracking, clip and caret (tests start clean).
void ResetInputState();
void DestroyCaretOf(HWND hwnd);
// The character a virtual key types with the shift state on a US layout; 0 for none.
wchar_t CharacterOfKey(UINT vk, bool shift);
}  // namespace detail

}  // namespace platform::ui
