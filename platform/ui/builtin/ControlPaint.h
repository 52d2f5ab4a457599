// A built-in control's WM_PAINT from its opening to its close: BeginPaint,
// the client rectangle, the DC saved; at the end of the scope the DC is
// restored as the control found it and EndPaint ends the paint, on every
// way out. Nothing is to be drawn when it holds no DC.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/ui/windowing/UiRecords.h"

namespace platform::ui {

class ControlPaint {
public:
    explicit ControlPaint(HWND hwnd);
    ~ControlPaint();
    ControlPaint(const ControlPaint&) = delete;
    ControlPaint& operator=(const ControlPaint&) = delete;

    explicit operator bool() const { return m_hdc != nullptr; }
    HDC Dc() const { return m_hdc; }
    const RECT& Client() const { return m_client; }
    // Selects the control's font (none: the DC's stays) until the DC is restored.
    void SelectFont(HFONT font);

private:
    HWND m_hwnd;
    PAINTSTRUCT m_ps = {};
    HDC m_hdc = nullptr;
    RECT m_client = {};
    int m_saved = 0;
};

}  // namespace platform::ui
