// The calls the window system makes into the application framework above
// it, as registered hooks. The window system knows no framework class: the
// framework installs these when it is loaded, much as the original one
// hooks window creation to attach its objects. Without a hook the window
// system does what plain Win32 would.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/ui/windowing/UiRecords.h"

namespace platform::ui {

struct WindowSystemHooks {
    // A window exists but has heard nothing yet (before WM_NCCREATE): the
    // framework attaches the object that is creating it.
    void (*windowCreated)(HWND hwnd) = nullptr;
    // A window's handle has gone (after WM_NCDESTROY): the framework lets go
    // of the objects that stood for it.
    void (*windowFreed)(HWND hwnd) = nullptr;
    // Idle time, when nobody can still hold a temporary object: the
    // framework deletes its temporary objects.
    void (*idle)() = nullptr;
    // Removes and dispatches one waiting message as the application would
    // (through its PreTranslateMessage); FALSE for WM_QUIT.
    BOOL (*pumpMessage)() = nullptr;
    // A modal dialog made by the dialog manager is about to run: whatever
    // stands in for the person in front of it gets it.
    void (*modalLoop)(HWND dialog) = nullptr;
    // The module searched first for resources.
    HINSTANCE (*resourceModule)() = nullptr;
};

// Installs the hooks and returns those installed before.
WindowSystemHooks SetWindowSystemHooks(const WindowSystemHooks& hooks);

namespace detail {
void NotifyWindowCreated(HWND hwnd);
void NotifyWindowFreed(HWND hwnd);
void RunIdleHook();
// The installed pump, else PeekMessage, TranslateMessage and DispatchMessage.
BOOL PumpOneMessage();
void RunModalLoopHook(HWND dialog);
// The installed resource module, else the executable's.
HINSTANCE FirstResourceModule();
}  // namespace detail

}  // namespace platform::ui
