// The window a form's pane reports to: the form sits in a frame inside the
// pane, whose parent hears that the results changed.
#pragma once

#include "platform/ui/framework/Wnd.h"

// Sends `message` to the pane's parent of `form`; nothing without one.
void SendToFormPaneParent(CWnd& form, UINT message);
