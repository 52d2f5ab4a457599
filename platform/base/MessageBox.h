// Message boxes go to a replaceable handler: nothing here may block waiting
// for a person. The default handler writes the caption and text to standard
// error and answers with the box's default button; tests and hosts install
// their own (see platform/ui's MessageBoxRecorder).
#pragma once

#include <functional>

#include "platform/base/Strings.h"
#include "platform/base/WinTypes.h"

struct MessageBoxRequest {
    HWND owner;         // may be null
    CString text;
    CString caption;    // the caption as shown (the application title when the caller gave none)
    UINT type;          // MB_* flags
    BOOL framework;     // TRUE when shown through AfxMessageBox
};

typedef std::function<int(const MessageBoxRequest&)> MessageBoxHandler;

// Installs a handler and returns the previous one; an empty handler restores
// the default.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// The answer of a box's default button (MB_DEFBUTTONn of its button set).
int DefaultMessageBoxAnswer(UINT type);

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
#define MessageBox MessageBoxW

// The framework's box: the caption is the application's title.
int AfxMessageBox(LPCWSTR text, UINT type = MB_OK, UINT helpId = 0);
int AfxMessageBox(UINT stringId, UINT type = MB_OK, UINT helpId = (UINT)-1);

// The title used by AfxMessageBox; the application object sets it.
void SetAfxAppTitle(const CString& title);
CString GetAfxAppTitle();
