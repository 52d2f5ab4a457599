#include "platform/ui/builtin/ControlPaint.h"

#include "platform/gdi/Gdi.h"
#include "platform/ui/windowing/Painting.h"
#include "platform/ui/windowing/Window.h"

namespace platform::ui {

ControlPaint::ControlPaint(HWND hwnd) : m_hwnd(hwnd)
{
    m_hdc = BeginPaint(hwnd, &m_ps);
    if (!m_hdc) return;
    GetClientRect(hwnd, &m_client);
    m_saved = SaveDC(m_hdc);
}

ControlPaint::~ControlPaint()
{
    if (!m_hdc) return;
    RestoreDC(m_hdc, m_saved);
    EndPaint(m_hwnd, &m_ps);
}

void ControlPaint::SelectFont(HFONT font)
{
    if (m_hdc && font) SelectObject(m_hdc, font);
}

}  // namespace platform::ui
