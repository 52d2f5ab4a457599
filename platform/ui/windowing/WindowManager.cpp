#include "platform/ui/windowing/WindowManager.h"

#include <algorithm>

#include "platform/base/Kernel.h"
#include "platform/ui/windowing/Window.h"
#include "platform/ui/windowing/WindowClass.h"
#include "platform/ui/windowing/WindowSystemHooks.h"

namespace platform::ui {

namespace {

// Handles stay within 31 bits, as Windows keeps them, because the system's
// code passes them through 32-bit values: 16 bits of index, 15 of generation.
const size_t kMaxSlots = 0xFFFE;
const UINT kMaxGeneration = 0x7FFF;

void Remove(std::vector<HWND>& list, HWND hwnd)
{
    list.erase(std::remove(list.begin(), list.end(), hwnd), list.end());
}

}  // namespace

WindowState::WindowState() = default;
WindowState::~WindowState() = default;

WindowManager& WindowManager::Instance()
{
    // Never destroyed: framework objects in static storage destroy their
    // windows from destructors that may run after this file's would.
    static WindowManager* manager = new WindowManager;
    return *manager;
}

HWND WindowManager::MakeHandle(size_t index, UINT generation)
{
    const uintptr_t value = (static_cast<uintptr_t>(generation) << 16) | static_cast<uintptr_t>(index + 1);
    return reinterpret_cast<HWND>(value);
}

WindowState* WindowManager::Find(HWND hwnd)
{
    const uintptr_t value = reinterpret_cast<uintptr_t>(hwnd);
    if (value == 0 || value > 0x7FFFFFFFu) return nullptr;
    const size_t low = value & 0xFFFFu;
    if (low == 0) return nullptr;
    const size_t index = low - 1;
    const UINT generation = static_cast<UINT>(value >> 16);
    if (index >= m_slots.size()) return nullptr;
    Slot& slot = m_slots[index];
    if (!slot.state || slot.generation != generation) return nullptr;
    return slot.state.get();
}

HWND WindowManager::TopLevelOf(HWND hwnd)
{
    WindowState* window = Find(hwnd);
    while (window && (window->style & WS_CHILD) && window->parent) {
        WindowState* parent = Find(window->parent);
        if (!parent) break;
        window = parent;
    }
    return window ? window->hwnd : nullptr;
}

std::vector<HWND>* WindowManager::SiblingsOf(HWND hwnd)
{
    WindowState* window = Find(hwnd);
    if (!window) return nullptr;
    if (!window->parent) return &m_topLevel;
    WindowState* parent = Find(window->parent);
    return parent ? &parent->children : nullptr;
}

WindowState* WindowManager::Allocate()
{
    size_t index;
    if (!m_freeSlots.empty()) {
        index = m_freeSlots.back();
        m_freeSlots.pop_back();
    } else {
        if (m_slots.size() >= kMaxSlots) return nullptr;
        index = m_slots.size();
        m_slots.emplace_back();
    }
    Slot& slot = m_slots[index];
    slot.state = std::make_unique<WindowState>();
    slot.state->hwnd = MakeHandle(index, slot.generation);
    ++m_nLive;
    return slot.state.get();
}

HWND WindowManager::Create(const WindowCreateParams& params)
{
    const bool child = (params.style & WS_CHILD) != 0;
    if (child && !params.parent) {
        SetLastError(ERROR_TLW_WITH_WSCHILD);
        return nullptr;
    }
    if (params.parent && !Find(params.parent)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    // A top-level window is owned by the top-level window of the one given.
    const HWND parent = child ? params.parent : nullptr;
    const HWND owner = child ? nullptr : TopLevelOf(params.parent);

    WindowState* window = Allocate();
    if (!window) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    window->parent = parent;
    window->owner = owner;
    window->wndClass = params.wndClass;
    if (params.wndClass) {
        window->className = params.wndClass->name;
        window->wndProc = params.wndClass->proc;
        window->extraBytes.assign(static_cast<size_t>(params.wndClass->cbWndExtra), 0);
        ++params.wndClass->windowCount;
    }
    window->text = params.windowName;
    window->style = params.style;
    window->exStyle = params.exStyle;
    window->id = child ? params.id : 0;
    window->rect = params.rect;
    window->client = params.rect;
    window->instance = params.instance;
    if (parent)
        Find(parent)->children.push_back(window->hwnd);
    else
        m_topLevel.insert(m_topLevel.begin(), window->hwnd);
    return window->hwnd;
}

std::vector<HWND> WindowManager::OwnedWindows(HWND owner) const
{
    std::vector<HWND> owned;
    auto* self = const_cast<WindowManager*>(this);
    for (HWND hwnd : m_topLevel) {
        const WindowState* window = self->Find(hwnd);
        if (window && window->owner == owner) owned.push_back(hwnd);
    }
    return owned;
}

void WindowManager::KeepOwnedAbove(HWND hwnd)
{
    // The owner chain ends in a window nobody owns (bounded: a chain never loops back).
    HWND root = hwnd;
    for (size_t depth = 0; depth < m_topLevel.size(); ++depth) {
        WindowState* window = Find(root);
        if (!window || !window->owner || !Find(window->owner)) break;
        root = window->owner;
    }
    std::vector<HWND> owners{root};
    for (size_t next = 0; next < owners.size() && next <= m_topLevel.size(); ++next) {
        const HWND owner = owners[next];
        std::vector<HWND> owned = OwnedWindows(owner);
        if (owned.empty()) continue;
        for (HWND window : owned) m_topLevel.erase(std::remove(m_topLevel.begin(), m_topLevel.end(), window), m_topLevel.end());
        m_topLevel.insert(std::find(m_topLevel.begin(), m_topLevel.end(), owner), owned.begin(), owned.end());
        owners.insert(owners.end(), owned.begin(), owned.end());
    }
}

void WindowManager::Unlink(WindowState& window)
{
    if (!window.parent) {
        Remove(m_topLevel, window.hwnd);
        return;
    }
    WindowState* parent = Find(window.parent);
    if (parent) Remove(parent->children, window.hwnd);
}

BOOL WindowManager::Free(HWND hwnd)
{
    WindowState* window = Find(hwnd);
    if (!window) return FALSE;
    Unlink(*window);
    // Windows left behind by a parent that went without them lose their
    // link to it rather than keep a stale one.
    for (HWND child : window->children) {
        WindowState* orphan = Find(child);
        if (orphan) orphan->parent = nullptr;
    }
    if (m_hFocus == hwnd) m_hFocus = nullptr;
    if (m_hActive == hwnd) m_hActive = nullptr;
    if (m_hCapture == hwnd) m_hCapture = nullptr;
    if (window->wndClass) --window->wndClass->windowCount;
    detail::NotifyWindowFreed(hwnd);
    Slot& slot = m_slots[(reinterpret_cast<uintptr_t>(hwnd) & 0xFFFFu) - 1];
    slot.state.reset();
    slot.generation = slot.generation >= kMaxGeneration ? 1 : slot.generation + 1;
    m_freeSlots.push_back(&slot - m_slots.data());
    --m_nLive;
    return TRUE;
}

}  // namespace platform::ui
