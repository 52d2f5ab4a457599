// The framework's side of the window system's hooks, installed when the
// library is loaded: window creation attaches the creating object, a freed
// window lets go of its objects, idle time deletes the temporary objects,
// messages are pumped through the application, modal dialogs made by the
// dialog manager go to the modal driver, and resources are searched from
// the resource handle first.
#include "platform/ui/framework/Menu.h"
#include "platform/ui/framework/ModalDriver.h"
#include "platform/ui/framework/WinApp.h"
#include "platform/ui/framework/Wnd.h"
#include "platform/ui/windowing/DisplayLink.h"
#include "platform/ui/windowing/WindowSystemHooks.h"

namespace {

void DeleteTemporaryObjects()
{
    CWnd::DeleteTempMap();
    CMenu::DeleteTempMap();
}

void DriveModalDialog(HWND dialog)
{
    // Nobody driving it: on an attached display the person in front of it does.
    CWnd* object = CWnd::FromHandle(dialog);
    if (!object || !platform::ui::RunModalDriver(*object)) platform::ui::detail::RunDisplayModalLoop(dialog);
}

platform::ui::WindowSystemHooks FrameworkHooks()
{
    platform::ui::WindowSystemHooks hooks;
    hooks.windowCreated = &CWnd::AttachCreatingWindow;
    hooks.windowFreed = &CWnd::ReleaseFreedWindow;
    hooks.idle = &DeleteTemporaryObjects;
    hooks.pumpMessage = &AfxPumpMessage;
    hooks.modalLoop = &DriveModalDialog;
    hooks.resourceModule = &AfxGetResourceHandle;
    return hooks;
}

const bool s_installed = (platform::ui::SetWindowSystemHooks(FrameworkHooks()), true);

}  // namespace
