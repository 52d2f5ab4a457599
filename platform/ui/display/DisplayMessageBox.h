// A message box on the attached display: a modal dialog with the text and
// the buttons of the box's type, run until one is pressed.
#pragma once

#include "platform/base/MessageBox.h"

namespace platform::ui::display {

// The pressed button's id; Escape or the close box give the cancelling
// answer (IDCANCEL where the box has one, else its default).
int ShowDisplayMessageBox(const MessageBoxRequest& request);

}  // namespace platform::ui::display
