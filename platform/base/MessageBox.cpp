#include "platform/base/MessageBox.h"

#include <cstdio>
#include <string>

#include "platform/base/CodePage.h"

#ifndef IDTRYAGAIN
#define IDTRYAGAIN 10
#endif
#ifndef IDCONTINUE
#define IDCONTINUE 11
#endif

namespace {

// The installed handler; empty means the default one. UI thread only, as
// message boxes are.
MessageBoxHandler& InstalledHandler()
{
    static MessageBoxHandler handler;
    return handler;
}

CString& AppTitle()
{
    static CString title;
    return title;
}

// The buttons of a box type from left to right; count 0 for a type the
// platform does not know.
int ButtonsOf(UINT type, int buttons[3])
{
    switch (type & MB_TYPEMASK) {
    case MB_OK: buttons[0] = IDOK; return 1;
    case MB_OKCANCEL: buttons[0] = IDOK; buttons[1] = IDCANCEL; return 2;
    case MB_ABORTRETRYIGNORE: buttons[0] = IDABORT; buttons[1] = IDRETRY; buttons[2] = IDIGNORE; return 3;
    case MB_YESNOCANCEL: buttons[0] = IDYES; buttons[1] = IDNO; buttons[2] = IDCANCEL; return 3;
    case MB_YESNO: buttons[0] = IDYES; buttons[1] = IDNO; return 2;
    case MB_RETRYCANCEL: buttons[0] = IDRETRY; buttons[1] = IDCANCEL; return 2;
    case 6: buttons[0] = IDCANCEL; buttons[1] = IDTRYAGAIN; buttons[2] = IDCONTINUE; return 3;   // cancel / try again / continue
    default: return 0;
    }
}

// Nobody is there to press a button: report the box and take its default.
int DefaultHandler(const MessageBoxRequest& request)
{
    std::string line = platform::ToUtf8(request.caption.str()) + ": " + platform::ToUtf8(request.text.str()) + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
    return DefaultMessageBoxAnswer(request.type);
}

int Show(const MessageBoxRequest& request)
{
    const MessageBoxHandler& handler = InstalledHandler();
    return handler ? handler(request) : DefaultHandler(request);
}

}  // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler)
{
    MessageBoxHandler previous = std::move(InstalledHandler());
    InstalledHandler() = std::move(handler);
    return previous;
}

int DefaultMessageBoxAnswer(UINT type)
{
    int buttons[3] = {0, 0, 0};
    int count = ButtonsOf(type, buttons);
    if (count == 0) return 0;
    UINT index = (type & MB_DEFMASK) >> 8;
    // A default button the box does not have falls back to the first one, as the system's boxes do.
    return index < static_cast<UINT>(count) ? buttons[index] : buttons[0];
}

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type)
{
    int buttons[3];
    if (ButtonsOf(type, buttons) == 0) return 0;   // an unknown button set shows nothing and fails
    // Without a caption the system titles the box "Error".
    MessageBoxRequest request{owner, CString(text), CString(caption ? caption : L"Error"), type, FALSE};
    return Show(request);
}

int AfxMessageBox(LPCWSTR text, UINT type, UINT helpId)
{
    (void)helpId;   // no help system here
    int buttons[3];
    if (ButtonsOf(type, buttons) == 0) return 0;
    MessageBoxRequest request{nullptr, CString(text), AppTitle(), type, TRUE};
    return Show(request);
}

int AfxMessageBox(UINT stringId, UINT type, UINT helpId)
{
    CString text;
    text.LoadString(stringId);   // a missing resource still shows, with an empty text
    return AfxMessageBox(text, type, helpId);
}

void SetAfxAppTitle(const CString& title)
{
    AppTitle() = title;
}

CString GetAfxAppTitle()
{
    return AppTitle();
}
