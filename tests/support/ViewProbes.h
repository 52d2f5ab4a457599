// What the view fixtures share: a view's client pixels as they are on
// screen, and the mouse through the desktop's real message path.
#pragma once

#include <vector>

#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/windowing/Desktop.h"

namespace testsupport {

// The view painted now, the whole client area invalidated first.
inline void Repaint(CWnd& view)
{
    view.Invalidate(TRUE);
    view.UpdateWindow();
}

inline COLORREF ClientPixel(CWnd& view, int x, int y)
{
    CClientDC dc(&view);
    return dc.GetPixel(x, y);
}

// Every client pixel, row by row.
inline std::vector<COLORREF> ClientSnapshot(CWnd& view)
{
    CRect client;
    view.GetClientRect(&client);
    CClientDC dc(&view);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < client.Height(); ++y)
        for (int x = 0; x < client.Width(); ++x) pixels.push_back(dc.GetPixel(x, y));
    return pixels;
}

inline void MoveMouseOver(HWND hwnd, int x, int y)
{
    platform::ui::Desktop::MoveMouse(hwnd, x, y);
    platform::ui::Desktop::PumpMessages();
}

// Presses come a second apart, so that two on one spot make no double-click.
inline void ClickOn(HWND hwnd, int x, int y)
{
    platform::ui::Desktop::AdvanceClock(1000);
    platform::ui::Desktop::Click(hwnd, x, y);
    platform::ui::Desktop::PumpMessages();
}

}  // namespace testsupport
