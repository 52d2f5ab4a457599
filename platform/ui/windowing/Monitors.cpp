#include "platform/ui/windowing/Monitors.h"

#include <algorithm>
#include <mutex>

#include "platform/ui/windowing/Rects.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "platform/ui/windowing/Window.h"

namespace platform::ui {

namespace {

std::mutex g_monitorMutex;
bool g_hasSecond = false;
RECT g_second = {0, 0, 0, 0};
RECT g_workArea = {0, 0, 0, 0};   // empty: every monitor is whole

const int kPrimary = 1;

HMONITOR HandleOf(int index)
{
    return reinterpret_cast<HMONITOR>(static_cast<LONG_PTR>(index));
}

int IndexOf(HMONITOR monitor)
{
    return static_cast<int>(reinterpret_cast<LONG_PTR>(monitor));
}

RECT PrimaryRect()
{
    return RECT{0, 0, ScreenWidth(), ScreenHeight()};
}

bool IsEmpty(const RECT& rect)
{
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

long long Area(const RECT& rect)
{
    return IsEmpty(rect) ? 0 : static_cast<long long>(rect.right - rect.left) * (rect.bottom - rect.top);
}

// Each monitor in order, the primary first.
int Monitors(RECT rects[2])
{
    rects[0] = PrimaryRect();
    std::lock_guard<std::mutex> lock(g_monitorMutex);
    if (!g_hasSecond) return 1;
    rects[1] = g_second;
    return 2;
}

// Squared distance from a rectangle to a monitor (0 when they touch or meet).
long long Distance(const RECT& rect, const RECT& monitor)
{
    const long long dx = std::max({0L, static_cast<long>(monitor.left - rect.right), static_cast<long>(rect.left - monitor.right)});
    const long long dy = std::max({0L, static_cast<long>(monitor.top - rect.bottom), static_cast<long>(rect.top - monitor.bottom)});
    return dx * dx + dy * dy;
}

int MostOverlapped(const RECT& rect, const RECT* monitors, int count)
{
    int best = 0;
    long long bestArea = 0;
    for (int i = 0; i < count; ++i) {
        const long long area = Area(IntersectRects(rect, monitors[i]));
        if (area > bestArea) { best = i + 1; bestArea = area; }
    }
    return best;
}

int Nearest(const RECT& rect, const RECT* monitors, int count)
{
    int best = 1;
    for (int i = 1; i < count; ++i)
        if (Distance(rect, monitors[i]) < Distance(rect, monitors[best - 1])) best = i + 1;
    return best;
}

int DefaultFor(const RECT& rect, const RECT* monitors, int count, DWORD flags)
{
    if (flags == MONITOR_DEFAULTTOPRIMARY) return kPrimary;
    if (flags == MONITOR_DEFAULTTONEAREST) return Nearest(rect, monitors, count);
    return 0;
}

// A point or an empty rectangle counts as the one pixel it stands on.
RECT AtLeastOnePixel(const RECT& rect)
{
    RECT result = rect;
    if (result.right <= result.left) result.right = result.left + 1;
    if (result.bottom <= result.top) result.bottom = result.top + 1;
    return result;
}

// What of the desktop's work area lies on the monitor; a monitor the
// work area misses (or a desktop without one) is work area all of it.
RECT WorkAreaOn(const RECT& monitor)
{
    std::lock_guard<std::mutex> lock(g_monitorMutex);
    const RECT work = IntersectRects(monitor, g_workArea);
    return IsEmpty(work) ? monitor : work;
}

}  // namespace

BOOL SetSecondMonitor(const RECT& rect)
{
    if (IsEmpty(rect) || !IsEmpty(IntersectRects(rect, PrimaryRect()))) return FALSE;
    std::lock_guard<std::mutex> lock(g_monitorMutex);
    g_second = rect;
    g_hasSecond = true;
    return TRUE;
}

void ClearSecondMonitor()
{
    std::lock_guard<std::mutex> lock(g_monitorMutex);
    g_hasSecond = false;
    g_second = RECT{0, 0, 0, 0};
    g_workArea = RECT{0, 0, 0, 0};
}

void SetWorkArea(const RECT& rect)
{
    std::lock_guard<std::mutex> lock(g_monitorMutex);
    g_workArea = IsEmpty(rect) ? RECT{0, 0, 0, 0} : rect;
}

RECT VirtualScreenRect()
{
    RECT monitors[2];
    const int count = Monitors(monitors);
    RECT result = monitors[0];
    for (int i = 1; i < count; ++i) {
        result.left = std::min(result.left, monitors[i].left);
        result.top = std::min(result.top, monitors[i].top);
        result.right = std::max(result.right, monitors[i].right);
        result.bottom = std::max(result.bottom, monitors[i].bottom);
    }
    return result;
}

int MonitorCount()
{
    RECT monitors[2];
    return Monitors(monitors);
}

}  // namespace platform::ui

HMONITOR MonitorFromRect(LPCRECT lprc, DWORD dwFlags)
{
    using namespace platform::ui;
    RECT monitors[2];
    const int count = Monitors(monitors);
    const RECT rect = AtLeastOnePixel(lprc ? *lprc : RECT{0, 0, 0, 0});
    const int index = MostOverlapped(rect, monitors, count);
    return HandleOf(index ? index : DefaultFor(rect, monitors, count, dwFlags));
}

HMONITOR MonitorFromPoint(POINT pt, DWORD dwFlags)
{
    const RECT rect = {pt.x, pt.y, pt.x + 1, pt.y + 1};
    return MonitorFromRect(&rect, dwFlags);
}

HMONITOR MonitorFromWindow(HWND hwnd, DWORD dwFlags)
{
    RECT rect = {0, 0, 0, 0};
    if (hwnd && IsWindow(hwnd)) GetWindowRect(hwnd, &rect);
    return MonitorFromRect(&rect, dwFlags);
}

BOOL GetMonitorInfoW(HMONITOR hMonitor, LPMONITORINFO lpmi)
{
    using namespace platform::ui;
    if (!lpmi || lpmi->cbSize < sizeof(MONITORINFO)) return FALSE;
    RECT monitors[2];
    const int count = Monitors(monitors);
    const int index = IndexOf(hMonitor);
    if (index < kPrimary || index > count) return FALSE;
    lpmi->rcMonitor = monitors[index - 1];
    lpmi->rcWork = WorkAreaOn(monitors[index - 1]);
    lpmi->dwFlags = index == kPrimary ? MONITORINFOF_PRIMARY : 0;
    return TRUE;
}
