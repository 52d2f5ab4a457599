// Module start-up without DllMain.
//
// On Windows the framework initialises a library's application object when
// the loader attaches the library. Here each shared library (and the
// executable) that holds a CWinApp-derived static object registers it from
// the object's constructor, together with the module it lives in; the host
// then starts the registered applications explicitly, and stops them before
// it unloads anything. A module's handle (HINSTANCE) is the address at which
// the loader mapped it, the value GetMorvelanceModule() returns.
#pragma once

#include <memory>

#include "platform/base/WinTypes.h"
#include "platform/ui/windowing/ModuleHandles.h"

class CWinApp;

namespace platform::ui {

// Runs InitInstance of every registered application not started yet, in
// registration order. An application whose InitInstance fails gets its
// ExitInstance at once, as the framework does, and is not started again.
// FALSE when any InitInstance run by this call failed. Safe to call again
// (also from inside an InitInstance that loads another library).
BOOL StartModules();

// Runs ExitInstance of every running application in reverse registration
// order and returns what the main application's ExitInstance returned (0
// when it was not running). A second call does nothing.
int StopModules();

// The application objects registered now, in registration order.
int RegisteredApplicationCount();
CWinApp* RegisteredApplication(int index);

// Whether `app` has been started and not stopped.
BOOL IsApplicationRunning(const CWinApp* app);

// For tests: while it lives, the applications registered before it are set
// aside (StartModules, StopModules and AfxGetApp do not see them); they come
// back, ahead of any registered meanwhile, when it goes.
class IsolatedApplicationList {
public:
    IsolatedApplicationList();
    ~IsolatedApplicationList();
    IsolatedApplicationList(const IsolatedApplicationList&) = delete;
    IsolatedApplicationList& operator=(const IsolatedApplicationList&) = delete;

private:
    struct Saved;
    std::unique_ptr<Saved> m_saved;   // the entries set aside
};

namespace detail {
// Called by CWinApp's constructor and destructor.
void RegisterApplication(CWinApp* app);
void UnregisterApplication(CWinApp* app);
// A counter that grows with every registration: AfxLoadLibrary tells the
// applications a library brought in from those that were there before.
// Serials of the applications registered from now on are >= the value.
unsigned long RegistrationSerial();
// The applications with serials in [first, last) whose InitInstance failed.
int FailedApplications(unsigned long first, unsigned long last);
// Runs ExitInstance of the running applications with serials in
// [first, last), in reverse registration order.
void StopApplications(unsigned long first, unsigned long last);
}  // namespace detail

}  // namespace platform::ui
