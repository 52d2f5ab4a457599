// A modal dialog of the host's commands saved as it shows: the dialog runs
// through its own message loop, is painted, saved as a PNG at its own size
// and cancelled, as a user would close it.
#pragma once

#include <string>

#include "platform/ui/framework/ModalDriver.h"
#include "platform/base/WinTypes.h"

class CDialog;

namespace host {

// While it lives, the next dialog run modally (only `dialog` when one is
// named) is saved into `png` (unless empty) and ended with IDCANCEL.
class ModalSnapshot {
public:
    explicit ModalSnapshot(const std::string& png, const CDialog* dialog = nullptr);
    bool Ran() const { return m_bRan; }
    bool Saved() const { return m_bSaved; }

private:
    bool m_bRan = false;
    bool m_bSaved = false;
    platform::ui::ModalDriverScope m_scope;
};

// Names `png` on stdout when it was saved, else says on stderr that it
// could not be written; gives `saved`.
bool ReportSaved(bool saved, const std::string& png);

// Runs `dialog` modally, saves it into `png` and reports the file.
bool RunModalAndSave(CDialog& dialog, const std::string& png);

// Whether the dialogs the host opens go to the person at a display rather
// than into images: a host attaches a display only to show them ("show").
bool DialogsShownToPerson();
// Runs `dialog` modally on the display until the person closes it; false
// when the display was lost meanwhile.
bool RunForPerson(CDialog& dialog);
// Keeps the shown modeless `window` on the display until the person closes
// or hides it; false when the display was lost meanwhile.
bool RunForPerson(HWND window);

}  // namespace host
