// The modal driver: what stands in for the person in front of a modal
// dialog. CDialog::DoModal creates the dialog, runs OnInitDialog and hands
// the dialog to the installed driver, a test or host script that fills in
// fields and ends the dialog (EndDialog, or a command such as IDOK sent
// through OnCmdMsg). Without a driver the dialog ends with IDCANCEL and
// nothing in it changes. Nothing ever waits for input.
#pragma once

#include <functional>

#include "platform/base/WinTypes.h"

class CDialog;

namespace platform::ui {

typedef std::function<void(CDialog&)> ModalDriver;

// Installs a driver and returns the previous one; an empty driver removes it.
ModalDriver SetModalDriver(ModalDriver driver);

// Hands `dialog` to the installed driver; FALSE when there is none.
BOOL RunModalDriver(CDialog& dialog);

// Installs a driver for the life of a scope and restores the previous one.
class ModalDriverScope {
public:
    explicit ModalDriverScope(ModalDriver driver);
    ~ModalDriverScope();
    ModalDriverScope(const ModalDriverScope&) = delete;
    ModalDriverScope& operator=(const ModalDriverScope&) = delete;

private:
    ModalDriver m_previous;
};

}  // namespace platform::ui
