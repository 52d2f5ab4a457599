// What the built-in controls share: notifying the parent, asking it for
// colours, and drawing text with the control's font.
#pragma once

#include "platform/base/Strings.h"
#include "platform/base/WinTypes.h"
#include "platform/ui/windowing/UiRecords.h"

namespace platform::ui {

// WM_COMMAND with `code` from the control to its parent.
void NotifyParent(HWND control, UINT code);

// WM_CTLCOLORxxx to the parent: the brush it answers (the default one when
// it answers none), with the DC's colours set as the parent left them.
HBRUSH ControlColors(HWND control, HDC hdc, UINT message);

// The control's text.
CString WindowText(HWND hwnd);

// Selects `font` (when not null) for the life of the object.
class FontSelection {
public:
    FontSelection(HDC hdc, HFONT font);
    ~FontSelection();
    FontSelection(const FontSelection&) = delete;
    FontSelection& operator=(const FontSelection&) = delete;

private:
    HDC m_hdc;
    HGDIOBJ m_previous;   // null when nothing was selected
};

}  // namespace platform::ui
