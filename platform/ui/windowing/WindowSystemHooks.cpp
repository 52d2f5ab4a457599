#include "platform/ui/windowing/WindowSystemHooks.h"

#include "platform/ui/windowing/Message.h"
#include "platform/ui/windowing/ModuleHandles.h"

namespace platform::ui {

namespace {

// Plain data, so it is zero before any static constructor installs hooks.
WindowSystemHooks g_hooks;

}  // namespace

WindowSystemHooks SetWindowSystemHooks(const WindowSystemHooks& hooks)
{
    const WindowSystemHooks previous = g_hooks;
    g_hooks = hooks;
    return previous;
}

namespace detail {

void NotifyWindowCreated(HWND hwnd)
{
    if (g_hooks.windowCreated) g_hooks.windowCreated(hwnd);
}

void NotifyWindowFreed(HWND hwnd)
{
    if (g_hooks.windowFreed) g_hooks.windowFreed(hwnd);
}

void RunIdleHook()
{
    if (g_hooks.idle) g_hooks.idle();
}

BOOL PumpOneMessage()
{
    if (g_hooks.pumpMessage) return g_hooks.pumpMessage();
    MSG msg;
    if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return TRUE;
    if (msg.message == WM_QUIT) return FALSE;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return TRUE;
}

void RunModalLoopHook(HWND dialog)
{
    if (g_hooks.modalLoop) g_hooks.modalLoop(dialog);
}

HINSTANCE FirstResourceModule()
{
    return g_hooks.resourceModule ? g_hooks.resourceModule() : ExecutableModule();
}

}  // namespace detail

}  // namespace platform::ui
