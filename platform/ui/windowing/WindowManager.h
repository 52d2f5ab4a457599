// The one owner of window state.
//
// Every window is an entry of a handle table; an HWND is the entry's index
// with the entry's generation above it, so a destroyed window's handle fails
// every lookup even after its slot holds a new window. The table owns the
// states; only handles leave it. Besides the windows it keeps what the
// window system has one of: the z-order of the top-level windows, the focus,
// the active window and the capture. The Win32-named functions (Window.h,
// Message.h, Input.h, Painting.h, DialogBox.h) work through it; the
// framework keeps only its own objects for the handles;
// nothing else keeps window state.
//
// UI thread only, as windows are.
#pragma once

#include <cairo.h>

#include <memory>
#include <vector>

#include "platform/base/Geometry.h"
#include "platform/base/Strings.h"
#include "platform/base/WinTypes.h"
#include "platform/gdi/Region.h"
#include "platform/ui/windowing/Rects.h"
#include "platform/ui/windowing/UiRecords.h"
#include "platform/ui/windowing/UiTypes.h"


namespace platform::ui {

struct WindowClassInfo;

// What the dialog manager keeps for a dialog window.
struct DialogState {
    bool isDialog = false;        // made by the dialog manager (DWLP_* and DM_* work only then)
    bool ended = false;           // EndDialog was called
    INT_PTR result = 0;           // the value given to EndDialog
    UINT defId = 0;               // the default push button's id; 0 for none chosen
    DLGPROC dlgProc = nullptr;    // the dialog procedure of a Win32 dialog; null for framework dialogs
    LRESULT msgResult = 0;        // DWLP_MSGRESULT
    LONG_PTR user = 0;            // DWLP_USER
    HFONT font = nullptr;         // the dialog font (WM_SETFONT), or null for the system font
    HFONT templateFont = nullptr; // the font made from the template; deleted with the dialog
    int baseUnitX = 8;            // dialog base units of the font, pixels: a DLU is baseUnitX / 4 wide
    int baseUnitY = 16;           // and baseUnitY / 8 high
    HWND focusSave = nullptr;     // the control that had the focus when the dialog lost it
};

// A window scroll bar (WS_HSCROLL, WS_VSCROLL).
struct ScrollBarState {
    int min = 0;
    int max = 0;
    UINT page = 0;
    int pos = 0;
    int trackPos = 0;
    UINT disabledArrows = 0;      // ESB_DISABLE_* bits
};

// Per-window state that a built-in control's window procedure owns.
struct WindowExtra {
    virtual ~WindowExtra() = default;
};

struct SurfaceDeleter {
    void operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
};
typedef std::unique_ptr<cairo_surface_t, SurfaceDeleter> SurfacePtr;

struct WindowState {
    WindowState();
    ~WindowState();
    WindowState(const WindowState&) = delete;
    WindowState& operator=(const WindowState&) = delete;

    HWND hwnd = nullptr;
    HWND parent = nullptr;        // the parent of a child window (WS_CHILD); null for a top-level window
    HWND owner = nullptr;         // the owner of a top-level window (a dialog's); null when unowned
    std::vector<HWND> children;   // in z-order, the top first; new children go to the bottom
    CString className;            // as registered
    CString text;
    DWORD style = 0;              // WS_*
    DWORD exStyle = 0;            // WS_EX_*
    UINT id = 0;                  // a child's control id; 0 for a top-level window
    CRect rect;                   // window rectangle: in the parent's client coordinates for a child, else on the screen
    CRect client;                 // client rectangle, in the same coordinates as `rect`
    HINSTANCE instance = nullptr;
    WindowClassInfo* wndClass = nullptr;
    WNDPROC wndProc = nullptr;    // the window procedure (the class's unless subclassed)
    LONG_PTR userData = 0;        // GWLP_USERDATA
    std::vector<BYTE> extraBytes; // the class's cbWndExtra bytes
    std::unique_ptr<WindowExtra> extra;   // a built-in control's own state
    DialogState dialog;
    ScrollBarState hscroll;
    ScrollBarState vscroll;
    HICON iconBig = nullptr;      // WM_SETICON
    HICON iconSmall = nullptr;
    CRect restoreRect;            // the rectangle to restore a minimised or maximised window to

    // Painting.
    platform::gdi::Region update;          // the client area to repaint, client coordinates
    bool erasePending = false;    // WM_ERASEBKGND is due with the next BeginPaint
    bool ncPaintPending = false;  // the frame needs WM_NCPAINT
    bool redrawOff = false;       // WM_SETREDRAW FALSE: invalidation is ignored
    SurfacePtr surface;           // a top-level window's pixels, its window rectangle's size

    bool created = false;         // WM_CREATE has returned
    bool destroying = false;      // DestroyWindow has begun on this window
};

struct WindowCreateParams {
    DWORD exStyle = 0;
    WindowClassInfo* wndClass = nullptr;
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

    // A new window linked into the tree (a child at the bottom of its
    // siblings, a top-level window on top of the others); no message is
    // sent. Null (with the last error set) when the parent handle is stale
    // or a child has none.
    HWND Create(const WindowCreateParams& params);

    // Unlinks and frees one window whose children are gone; its framework
    // object, if still attached, is let go of the handle. FALSE for a handle
    // that is not a window.
    BOOL Free(HWND hwnd);

    // The state of a live window; null for null, stale and foreign handles.
    WindowState* Find(HWND hwnd);

    // The top-level window a window belongs to (itself when it is one); null when stale.
    HWND TopLevelOf(HWND hwnd);

    // The window's siblings in z-order, the top first: its parent's children,
    // or the top-level windows. Null for a stale handle.
    std::vector<HWND>* SiblingsOf(HWND hwnd);
    const std::vector<HWND>& TopLevelWindows() const { return m_topLevel; }
    // The top-level windows `owner` owns, in z-order.
    std::vector<HWND> OwnedWindows(HWND owner) const;
    // After `hwnd` moved among the top-level windows: the windows owned by
    // its topmost owner (and theirs, all the way down) go back above their
    // owners, keeping their order among themselves, as owned windows never
    // fall below the window that owns them.
    void KeepOwnedAbove(HWND hwnd);

    // Live windows, for leak checks in tests.
    int WindowCount() const { return m_nLive; }

    // What there is one of.
    HWND m_hFocus = nullptr;      // the window with the keyboard focus
    HWND m_hActive = nullptr;     // the active top-level window
    HWND m_hCapture = nullptr;    // the window with the mouse capture

private:
    WindowManager() = default;

    struct Slot {
        UINT generation = 1;   // 1..0x7FFF; bumped when the slot is freed
        std::unique_ptr<WindowState> state;
    };

    static HWND MakeHandle(size_t index, UINT generation);
    WindowState* Allocate();
    void Unlink(WindowState& window);

    std::vector<Slot> m_slots;
    std::vector<size_t> m_freeSlots;   // reused last-in first-out
    std::vector<HWND> m_topLevel;      // top-level windows in z-order, the top first
    int m_nLive = 0;
};

// The state of a built-in control, made on first use. T derives from WindowExtra.
template <class T> T* ControlState(HWND hwnd)
{
    WindowState* window = WindowManager::Instance().Find(hwnd);
    if (!window) return nullptr;
    if (!window->extra) window->extra = std::make_unique<T>();
    return dynamic_cast<T*>(window->extra.get());
}

}  // namespace platform::ui
