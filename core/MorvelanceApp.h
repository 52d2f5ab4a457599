// The library's application object. The host's start-up of the library runs
// its InitInstance, which creates the module-wide resources of Globals.h;
// ExitInstance frees them at unload.
#pragma once

#include "platform/ui/framework/WinApp.h"

class CMorvelanceApp : public CWinApp {
public:
    CMorvelanceApp();

    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    static void CreateDialogFonts(bool portrait);
    static void CreatePensAndBrushes();
    static void LoadCursors();
    static void FindWorkDirectory();
    static void DetectOSVersion();
};

// The module's instance handle: the address at which the library is loaded,
// through which callers find its resources.
HINSTANCE GetMorvelanceModule();
