// The framework's window classes: registered on demand, named after the
// application's module and the attributes asked for.
#pragma once

#include "platform/ui/windowing/WindowClass.h"

// The framework's class for the given attributes, registered on first use
// with DefWindowProc as its procedure; the same name for the same
// attributes. The name stays valid for the life of the process.
LPCTSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                            HICON hIcon = nullptr);
// Registers `lpWndClass` unless a class of that name exists; FALSE when registering fails.
BOOL AfxRegisterClass(WNDCLASSW* lpWndClass);
