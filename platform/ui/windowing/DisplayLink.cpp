#include "platform/ui/windowing/DisplayLink.h"

#include <algorithm>
#include <map>

#include "platform/ui/windowing/Rects.h"
#include "platform/ui/windowing/WindowGeometry.h"
#include "platform/ui/windowing/WindowManager.h"

namespace platform::ui {

namespace {

const DisplayBackEnd* g_backEnd = nullptr;

std::map<HWND, RECT>& PaintedAreas()
{
    static auto* areas = new std::map<HWND, RECT>;
    return *areas;
}

}  // namespace

namespace detail {

const DisplayBackEnd* AttachedDisplay()
{
    return g_backEnd;
}

void SetAttachedDisplay(const DisplayBackEnd* backEnd)
{
    g_backEnd = backEnd;
    PaintedAreas().clear();
}

void NotePainted(HWND hwnd)
{
    if (!g_backEnd || !hwnd) return;
    WindowManager& manager = WindowManager::Instance();
    const WindowState* window = manager.Find(hwnd);
    if (!window) return;
    NotePaintedArea(manager.TopLevelOf(hwnd), VisibleWindowInTopLevel(*window));
}

void NotePaintedArea(HWND topLevel, const RECT& area)
{
    if (!g_backEnd || !topLevel || IsEmptyRect(area)) return;
    auto found = PaintedAreas().find(topLevel);
    if (found == PaintedAreas().end())
        PaintedAreas()[topLevel] = area;
    else
        found->second = RECT{std::min(found->second.left, area.left), std::min(found->second.top, area.top),
                             std::max(found->second.right, area.right), std::max(found->second.bottom, area.bottom)};
}

bool TakePaintedArea(HWND topLevel, RECT& area)
{
    auto found = PaintedAreas().find(topLevel);
    if (found == PaintedAreas().end()) return false;
    area = found->second;
    PaintedAreas().erase(found);
    return true;
}

void RunDisplayModalLoop(HWND dialog)
{
    if (!g_backEnd || !g_backEnd->run) return;
    g_backEnd->run([dialog] {
        const WindowState* window = WindowManager::Instance().Find(dialog);
        return !window || window->dialog.ended;
    });
}

}  // namespace detail

}  // namespace platform::ui
