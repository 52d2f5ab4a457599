#include "platform/ui/windowing/ControlSupport.h"

#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/ui/windowing/DefWindowProc.h"
#include "platform/ui/windowing/Message.h"
#include "platform/ui/windowing/Window.h"

namespace platform::ui {

void NotifyParent(HWND control, UINT code)
{
    HWND parent = GetParent(control);
    if (!parent || !(GetWindowLongW(control, GWL_STYLE) & WS_CHILD)) return;
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code), reinterpret_cast<LPARAM>(control));
}

HBRUSH ControlColors(HWND control, HDC hdc, UINT message)
{
    HWND parent = GetParent(control);
    HBRUSH brush = nullptr;
    if (parent && (GetWindowLongW(control, GWL_STYLE) & WS_CHILD))
        brush = reinterpret_cast<HBRUSH>(
            SendMessageW(parent, message, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(control)));
    if (!brush) brush = reinterpret_cast<HBRUSH>(DefWindowProcW(control, message, reinterpret_cast<WPARAM>(hdc),
                                                                reinterpret_cast<LPARAM>(control)));
    return brush;
}

CString WindowText(HWND hwnd)
{
    const int length = GetWindowTextLengthW(hwnd);
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    GetWindowTextW(hwnd, buffer.data(), length + 1);
    return CString(buffer.data());
}

FontSelection::FontSelection(HDC hdc, HFONT font) : m_hdc(hdc), m_previous(nullptr)
{
    if (font) m_previous = SelectObject(hdc, font);
}

FontSelection::~FontSelection()
{
    if (m_previous) SelectObject(m_hdc, m_previous);
}

}  // namespace platform::ui
