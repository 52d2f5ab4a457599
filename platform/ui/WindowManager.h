// The one owner of window state.
//
// Every window is an entry of a handle table; an HWND is the entry's index
// with the entry's generation above it, so a destroyed window's handle fails
// every lookup even after its slot holds a new window. The table owns the
// states; only handles leave it. The Win32-named functions (Window.h) and
// CWnd work through it; nothing else keeps window state.
//
// UI thread only, as windows are.
#pragma once

#include <memory>
#include <vector>

#include "platform/base/Geometry.h"
#include "platform/base/Strings.h"
#include "platform/base/WinTypes.h"
#include "platform/ui/UiTypes.h"

class CWnd;

namespace platform::ui {

// The state of a dialog's modal run (see EndDialog).
struct DialogState {
    bool ended = false;   // EndDialog was called
    INT_PTR result = 0;   // the value given to EndDialog
};

struct WindowState {
    WindowState();
    ~WindowState();   // where CWnd is complete
    WindowState(const WindowState&) = delete;
    WindowState& operator=(const WindowState&) = delete;

    HWND hwnd = nullptr;
    HWND parent = nullptr;        // the parent of a child window (WS_CHILD); null for a top-level window
    HWND owner = nullptr;         // the owner of a top-level window (a dialog's); null when unowned
    std::vector<HWND> children;   // in creation order
    CString className;            // as given to CreateWindowEx ("#32770" for dialogs; "#n" for an atom)
    CString text;
    DWORD style = 0;              // WS_*
    DWORD exStyle = 0;            // WS_EX_*
    UINT id = 0;                  // a child's control id; 0 for a top-level window
    CRect rect;                   // window rectangle: in the parent's client coordinates for a child, else on the screen
    HINSTANCE instance = nullptr;
    CWnd* wnd = nullptr;          // the permanent framework object attached, or null
    std::unique_ptr<CWnd> temporary;   // the object CWnd::FromHandle made for a window without one
    DialogState dialog;
    bool destroying = false;      // DestroyWindow has begun on this window
};

struct WindowCreateParams {
    DWORD exStyle = 0;
    CString className;
    CString windowName;
    DWORD style = 0;
    CRect rect;
    HWND parent = nullptr;        // the parent (WS_CHILD) or the owner's window
    UINT id = 0;
    HINSTANCE instance = nullptr;
};

class WindowManager {
public:
    static WindowManager& Instance();

    // A new window; null (with the last error set) when the parent handle is
    // stale or a child has none.
    HWND Create(const WindowCreateParams& params);

    // Destroys the window with its owned windows and its children (deepest
    // first); each attached framework object is told (CWnd::OnNcDestroy)
    // while its handle is still valid. FALSE for a handle that is not a window.
    BOOL Destroy(HWND hwnd);

    // The state of a live window; null for null, stale and foreign handles.
    WindowState* Find(HWND hwnd);

    // The top-level window a window belongs to (itself when it is one); null when stale.
    HWND TopLevelOf(HWND hwnd);

    // Deletes the temporary objects CWnd::FromHandle made, those of living
    // windows and those of windows destroyed since the last call. The
    // framework does this at idle time, when no caller can still hold one.
    void DeleteTemporaries();

    // Live windows, for leak checks in tests.
    int WindowCount() const { return m_nLive; }

private:
    WindowManager() = default;

    struct Slot {
        UINT generation = 1;   // 1..0x7FFF; bumped when the slot is freed
        std::unique_ptr<WindowState> state;
    };

    static HWND MakeHandle(size_t index, UINT generation);
    WindowState* Allocate();
    void Free(HWND hwnd);
    void Unlink(WindowState& window);
    std::vector<HWND> OwnedWindows(HWND owner) const;

    std::vector<Slot> m_slots;
    std::vector<size_t> m_freeSlots;   // reused last-in first-out
    std::vector<std::unique_ptr<CWnd>> m_retiredTemporaries;   // of destroyed windows, until DeleteTemporaries
    int m_nLive = 0;
};

}  // namespace platform::ui
