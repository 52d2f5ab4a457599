// The clipboard of the process, as the edit controls use it for cut, copy
// and paste: one owner at a time between OpenClipboard and CloseClipboard,
// data handed over as global memory objects that the clipboard then owns.
// Only the text formats are kept; the clipboard is private to the process
// (nothing reaches or comes from the desktop the host runs on), so tests
// see exactly what their controls put there.
#pragma once

#include <cstddef>
#include <string>

#include "platform/base/WinTypes.h"

#define CF_TEXT 1
#define CF_OEMTEXT 7
#define CF_UNICODETEXT 13

#define GMEM_FIXED 0x0000u
#define GMEM_MOVEABLE 0x0002u
#define GMEM_ZEROINIT 0x0040u
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

#ifndef ERROR_CLIPBOARD_NOT_OPEN
#define ERROR_CLIPBOARD_NOT_OPEN 1418u
#endif

// Global memory objects: a handle to a block of `dwBytes` bytes. Lock gives
// its address (null for a handle that is not one), Free releases it and
// returns null on success, the handle on failure.
HGLOBAL GlobalAlloc(UINT uFlags, size_t dwBytes);
LPVOID GlobalLock(HGLOBAL hMem);
BOOL GlobalUnlock(HGLOBAL hMem);
HGLOBAL GlobalFree(HGLOBAL hMem);
size_t GlobalSize(HGLOBAL hMem);

// FALSE while another window has the clipboard open. A null window opens it
// for the process.
BOOL OpenClipboard(HWND hWndNewOwner);
BOOL CloseClipboard();
// Frees what the clipboard holds; the opener becomes its owner. FALSE when
// the clipboard is not open.
BOOL EmptyClipboard();
// The clipboard takes `hMem` (a GlobalAlloc object) and frees it when it is
// emptied; null (with the handle left to the caller) for a format other
// than CF_UNICODETEXT or CF_TEXT, a bad handle or a closed clipboard.
HANDLE SetClipboardData(UINT uFormat, HANDLE hMem);
// The clipboard's object of that format (still owned by the clipboard);
// CF_TEXT is answered from CF_UNICODETEXT and the other way round. Null
// when the clipboard is not open or holds no text.
HANDLE GetClipboardData(UINT uFormat);
BOOL IsClipboardFormatAvailable(UINT format);
HWND GetClipboardOwner();
HWND GetOpenClipboardWindow();

namespace platform::ui {
// Replaces what the clipboard holds by `text`; FALSE when it is open elsewhere.
BOOL SetClipboardText(HWND owner, const wchar_t* text, size_t length);
// The clipboard's text; FALSE (and `out` empty) when it holds none or is open elsewhere.
BOOL GetClipboardText(HWND reader, std::wstring& out);
// Empties and closes the clipboard (tests start clean).
void ResetClipboard();
// Global memory objects not yet freed, for leak checks.
int LiveGlobalObjectCount();
}  // namespace platform::ui
