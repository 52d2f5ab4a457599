// Messages: synchronous sends, the one message queue with its posted
// messages, hardware input, the quit state, WM_PAINT for windows with
// something to repaint and WM_TIMER for timers that are due on the
// desktop's clock. Nothing here ever waits: a queue with nothing in it
// answers at once, and time only passes when the desktop's clock is
// advanced (Desktop::AdvanceClock).
//
// PeekMessage takes messages in the order Windows gives them: posted
// messages, then input, then WM_QUIT, then WM_PAINT, then WM_TIMER.
#pragma once

#include <cstdint>

#include "platform/base/WinTypes.h"
#include "platform/ui/windowing/UiRecords.h"
#include "platform/ui/windowing/UiTypes.h"

// Calls the window's procedure and returns its result; 0 with
// ERROR_INVALID_WINDOW_HANDLE for a bad window. Sends nested deeper than
// kMaxSendDepth fail the same way instead of overflowing the stack.
LRESULT SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
// Queues a message for the window (null: for the thread); FALSE for a bad window.
BOOL PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
// Sets the quit state: WM_QUIT with the code comes once the queue is drained.
void PostQuitMessage(int nExitCode);
BOOL PeekMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg);
// Never blocks: FALSE for WM_QUIT, TRUE for another message, and -1 (with
// the message cleared) when the queue holds nothing.
BOOL GetMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax);
// Queues WM_CHAR (WM_SYSCHAR) for a WM_KEYDOWN (WM_SYSKEYDOWN) of a key that types a character.
BOOL TranslateMessage(const MSG* lpMsg);
LRESULT DispatchMessageW(const MSG* lpMsg);
LRESULT CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
BOOL InSendMessage();
DWORD GetMessageTime();
DWORD GetMessagePos();   // screen x in the low word, y in the high word
// A message number above 0xC000, the same for the same name (compared without case); 0 for no name.
UINT RegisterWindowMessageW(LPCWSTR lpString);

// A timer of the window (or, with a null window, of the thread, which gets
// a new id). Periods below USER_TIMER_MINIMUM are raised to it. Setting an
// existing timer again restarts it. 0 for a bad window.
UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc);
BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent);

inline LRESULT SendMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) { return SendMessageW(hWnd, msg, wParam, lParam); }
inline BOOL PostMessage(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) { return PostMessageW(hWnd, msg, wParam, lParam); }
inline BOOL PeekMessage(LPMSG msg, HWND hWnd, UINT first, UINT last, UINT remove) { return PeekMessageW(msg, hWnd, first, last, remove); }
inline BOOL GetMessage(LPMSG msg, HWND hWnd, UINT first, UINT last) { return GetMessageW(msg, hWnd, first, last); }
inline LRESULT DispatchMessage(const MSG* msg) { return DispatchMessageW(msg); }
inline LRESULT CallWindowProc(WNDPROC proc, HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) { return CallWindowProcW(proc, hWnd, msg, wParam, lParam); }
inline UINT RegisterWindowMessage(LPCWSTR name) { return RegisterWindowMessageW(name); }

namespace platform::ui {

const int kMaxSendDepth = 512;
// The most messages one pump (the desktop's, a modal loop's) dispatches: a
// window that keeps posting to itself (or never validates) stops the pump
// here instead of hanging the caller.
const int kMaxPumpedMessages = 100000;

// Whether WM_QUIT has been taken from the queue since the last reset, and its code.
bool QuitReceived();
int QuitExitCode();
// Forgets the queue, the quit state and every timer (tests start clean).
void ResetMessageQueue();
// Messages waiting: posted and input ones (WM_PAINT and timers not counted).
int QueuedMessageCount();

namespace detail {
// Queues hardware input (mouse and keyboard messages), taken after posted messages.
void PostInput(const MSG& msg);
// Drops the timers of a window that is going away.
void ForgetWindowMessages(HWND hwnd);
// The earliest time (desktop clock, milliseconds) a timer falls due; false without timers.
bool EarliestTimerDue(uint64_t& due);
}  // namespace detail

}  // namespace platform::ui
