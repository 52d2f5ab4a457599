// The shell's "open": a document, a folder or an address handed to the
// desktop's opener (xdg-open), which starts whatever the user's desktop
// opens it with.
//
// The opener is started without a shell, with the target as its one
// argument, so no character of the target is ever read as shell syntax.
// The call waits a short while for the opener to report (it hands the
// target to the program it starts and ends); an opener still running then
// is taken to have started, and is left to run. A failure shows an error
// box (MessageBoxW, owned by hwnd) unless SEE_MASK_FLAG_NO_UI is given.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/ui/windowing/UiTypes.h"

#ifndef ERROR_NO_ASSOCIATION
#define ERROR_NO_ASSOCIATION 1155u
#endif

#define SEE_MASK_DEFAULT 0x00000000u
#define SEE_MASK_FLAG_NO_UI 0x00000400u

// hInstApp after a failure (a value above 32 means success).
#define SE_ERR_FNF 2
#define SE_ERR_PNF 3
#define SE_ERR_ACCESSDENIED 5
#define SE_ERR_ASSOCINCOMPLETE 27
#define SE_ERR_NOASSOC 31

struct SHELLEXECUTEINFOW {
    DWORD cbSize;            // sizeof(SHELLEXECUTEINFOW)
    ULONG fMask;             // SEE_MASK_*
    HWND hwnd;               // owner of the error box; may be null
    LPCWSTR lpVerb;          // null or "open"; no other verb has a handler here
    LPCWSTR lpFile;          // a path (either separator) or an address such as "https://…"
    LPCWSTR lpParameters;    // must be null or empty: the opener takes no parameters
    LPCWSTR lpDirectory;     // the folder the opener runs in, against which a relative path is read; may be null
    int nShow;               // SW_*; the desktop decides how the opened program shows
    HINSTANCE hInstApp;      // out: above 32 on success, else an SE_ERR_* value
};
typedef SHELLEXECUTEINFOW* LPSHELLEXECUTEINFOW;

// FALSE with GetLastError on failure: ERROR_INVALID_PARAMETER for a
// malformed request (no box), ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND
// for a missing file or folder, ERROR_NO_ASSOCIATION for another verb or
// when the desktop has no opener, ERROR_GEN_FAILURE when the opener could
// not open the target.
BOOL ShellExecuteExW(SHELLEXECUTEINFOW* pExecInfo);
#define ShellExecuteEx ShellExecuteExW
#define SHELLEXECUTEINFO SHELLEXECUTEINFOW
