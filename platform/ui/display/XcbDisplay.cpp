#include "platform/ui/display/XcbDisplay.h"

#include <poll.h>
#include <xcb/randr.h>
#include <xcb/render.h>
// The XKB header names a member `explicit`, which C++ reserves.
#define explicit xkb_explicit
#include <xcb/xkb.h>
#undef explicit

#include <cairo-xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/base/CodePage.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/Icon.h"
#include "platform/gdi/Image.h"
#include "platform/ui/display/DisplayMessageBox.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/DisplayLink.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Message.h"
#include "platform/ui/windowing/Monitors.h"
#include "platform/ui/windowing/Painting.h"
#include "platform/ui/windowing/Rects.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "platform/ui/windowing/Window.h"
#include "platform/ui/windowing/WindowManager.h"

namespace platform::ui::display {

namespace {

// Hovering is looked at this often while nothing else happens.
const int kHoverPollMs = 50;
// A wheel notch.
const int kWheelDelta = 120;

const uint32_t kEventMask = XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_BUTTON_PRESS |
                            XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION |
                            XCB_EVENT_MASK_ENTER_WINDOW | XCB_EVENT_MASK_LEAVE_WINDOW | XCB_EVENT_MASK_KEY_PRESS |
                            XCB_EVENT_MASK_KEY_RELEASE | XCB_EVENT_MASK_FOCUS_CHANGE;

int64_t SteadyMilliseconds()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

xcb_visualtype_t* VisualOf(xcb_screen_t* screen)
{
    for (xcb_depth_iterator_t depth = xcb_screen_allowed_depths_iterator(screen); depth.rem; xcb_depth_next(&depth))
        for (xcb_visualtype_iterator_t visual = xcb_depth_visuals_iterator(depth.data); visual.rem;
             xcb_visualtype_next(&visual))
            if (visual.data->visual_id == screen->root_visual) return visual.data;
    return nullptr;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// A window without a caption that belongs to another (a pop-up, the
// magnifier, a tooltip, a drop-down list, a menu) is placed by us alone:
// the window manager neither frames nor moves it.
bool PlacedByUs(const WindowState& window)
{
    if ((window.style & WS_CAPTION) == WS_CAPTION) return false;
    return window.owner || (window.exStyle & (WS_EX_TOOLWINDOW | WS_EX_TOPMOST));
}

}  // namespace

XcbDisplay::XcbDisplay(xcb_connection_t* connection) : m_connection(connection)
{
}

XcbDisplay* XcbDisplay::Open(const char* name, std::string& error)
{
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(name, &screenNumber);
    if (!connection || xcb_connection_has_error(connection)) {
        const char* shown = name ? name : std::getenv("DISPLAY");
        error = std::string("cannot open the display ") + (shown && *shown ? shown : "(DISPLAY is not set)");
        if (connection) xcb_disconnect(connection);
        return nullptr;
    }
    std::unique_ptr<XcbDisplay> display(new XcbDisplay(connection));
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < screenNumber && screens.rem; ++i) xcb_screen_next(&screens);
    display->m_screen = screens.rem ? screens.data : nullptr;
    display->m_screenNumber = screenNumber;
    if (!display->Setup(error)) return nullptr;
    return display.release();
}

bool XcbDisplay::Setup(std::string& error)
{
    if (!m_screen || !VisualOf(m_screen)) {
        error = "the display has no screen with a usable visual";
        return false;
    }
    if (!m_keyboard.Open(m_connection)) {
        error = "the display's keyboard cannot be read (no XKB extension)";
        return false;
    }
    // The keyboard's state and layout changes come as XKB events.
    const uint16_t wanted = XCB_XKB_EVENT_TYPE_STATE_NOTIFY | XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY |
                            XCB_XKB_EVENT_TYPE_MAP_NOTIFY;
    xcb_xkb_select_events(m_connection, XCB_XKB_ID_USE_CORE_KBD, wanted, 0, wanted, 0xFF, 0xFF, nullptr);
    m_protocols = Atom("WM_PROTOCOLS");
    m_deleteWindow = Atom("WM_DELETE_WINDOW");
    m_workAreaAtom = Atom("_NET_WORKAREA");
    m_currentDesktopAtom = Atom("_NET_CURRENT_DESKTOP");
    // A panel that comes, goes or grows changes the work area meanwhile.
    const uint32_t rootEvents = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(m_connection, m_screen->root, XCB_CW_EVENT_MASK, &rootEvents);
    // A display that goes away must not take the process with it.
    struct sigaction current = {};
    if (sigaction(SIGPIPE, nullptr, &current) == 0 && current.sa_handler == SIG_DFL) std::signal(SIGPIPE, SIG_IGN);
    ReadMonitors();
    m_clockBase = SteadyMilliseconds() - static_cast<int64_t>(ClockTicks());
    m_previousBoxes = SetMessageBoxHandler(&ShowDisplayMessageBox);
    // A beep (a key an edit refuses, keys the input method never took) is
    // the display's bell.
    m_previousBeep = SetBeepHandler([this](UINT type) {
        if (m_previousBeep) m_previousBeep(type);
        if (!Connected()) return;
        xcb_bell(m_connection, 0);
        xcb_flush(m_connection);
    });
    // Text typed through an input method, where the person chose one; the
    // layout alone types where none is named or it never starts.
    const std::string method = XimInput::MethodName(std::getenv("XMODIFIERS"));
    if (!method.empty()) {
        m_xim = std::make_unique<XimInput>(
            m_connection, m_screenNumber,
            [this](const xcb_key_press_event_t& key) { m_fromMethod.push_back([this, key] { KeyReturned(key); }); },
            [this](const std::wstring& text) {
                m_fromMethod.push_back([this, text] {
                    // The text of keys typed before a click that the
                    // method answered late goes where they were typed;
                    // that of keys given up for good, nowhere.
                    if (m_methodKeys.CommitDropped()) return;
                    Typed(text, m_methodKeys.CommitTarget());
                    Desktop::PumpMessages();
                });
            });
        if (!m_xim->Open(method)) m_xim.reset();
    }
    return true;
}

void XcbDisplay::ReadMonitors()
{
    int width = m_screen->width_in_pixels;
    int height = m_screen->height_in_pixels;
    RECT second = {};
    xcb_randr_get_monitors_reply_t* monitors =
        xcb_randr_get_monitors_reply(m_connection, xcb_randr_get_monitors(m_connection, m_screen->root, 1), nullptr);
    if (monitors) {
        // The monitor at the origin is the desktop's primary one; one more
        // beside it is the second.
        for (xcb_randr_monitor_info_iterator_t it = xcb_randr_get_monitors_monitors_iterator(monitors); it.rem;
             xcb_randr_monitor_info_next(&it)) {
            const xcb_randr_monitor_info_t& info = *it.data;
            if (info.x == 0 && info.y == 0) {
                width = info.width;
                height = info.height;
            } else if (IsEmptyRect(second)) {
                second = RECT{info.x, info.y, info.x + info.width, info.y + info.height};
            }
        }
        std::free(monitors);
    }
    SetScreenSize(width, height);
    ClearSecondMonitor();
    if (!IsEmptyRect(second)) SetSecondMonitor(second);
    ReadWorkArea();
}

void XcbDisplay::ReadWorkArea()
{
    auto cardinals = [this](xcb_atom_t atom, uint32_t count) {
        std::vector<uint32_t> values;
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            m_connection, xcb_get_property(m_connection, 0, m_screen->root, atom, XCB_ATOM_CARDINAL, 0, count),
            nullptr);
        if (reply && reply->format == 32) {
            const auto* data = static_cast<const uint32_t*>(xcb_get_property_value(reply));
            values.assign(data, data + xcb_get_property_value_length(reply) / 4);
        }
        std::free(reply);
        return values;
    };
    RECT work = {};
    const std::vector<uint32_t> current = cardinals(m_currentDesktopAtom, 1);
    // A desktop number past any real count is not believed: the first one's area stands.
    const uint32_t desktop = current.empty() || current.front() > 255 ? 0 : current.front();
    // Four numbers (x, y, width, height) for each desktop.
    const std::vector<uint32_t> areas = cardinals(m_workAreaAtom, 4 * (desktop + 1));
    if (areas.size() >= 4 * (static_cast<size_t>(desktop) + 1)) {
        const uint32_t* area = &areas[4 * static_cast<size_t>(desktop)];
        work = RECT{static_cast<LONG>(area[0]), static_cast<LONG>(area[1]), static_cast<LONG>(area[0] + area[2]),
                    static_cast<LONG>(area[1] + area[3])};
    }
    SetWorkArea(work);
}

xcb_atom_t XcbDisplay::Atom(const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

XcbDisplay::~XcbDisplay()
{
    SetMessageBoxHandler(std::move(m_previousBoxes));
    SetBeepHandler(std::move(m_previousBeep));
    for (auto& entry : m_shown) Forget(entry.second);
    m_shown.clear();
    m_xim.reset();
    if (Connected())
        for (const auto& entry : m_cursors)
            if (entry.second) xcb_free_cursor(m_connection, entry.second);
    if (m_device) {
        cairo_device_finish(m_device);
        cairo_device_destroy(m_device);
    }
    xcb_disconnect(m_connection);
}

bool XcbDisplay::Connected() const
{
    return !m_broken && !xcb_connection_has_error(m_connection);
}

xcb_window_t XcbDisplay::WindowOf(HWND hwnd) const
{
    auto found = m_shown.find(hwnd);
    return found == m_shown.end() ? 0 : found->second.id;
}

HWND XcbDisplay::WindowOfId(xcb_window_t id) const
{
    for (const auto& entry : m_shown)
        if (entry.second.id == id) return entry.first;
    return nullptr;
}

uint64_t XcbDisplay::RealTicks() const
{
    const int64_t now = SteadyMilliseconds() - m_clockBase;
    return now < 0 ? 0 : static_cast<uint64_t>(now);
}

void XcbDisplay::Tick()
{
    ClockTicks();   // follows the real clock (RealTicks) while attached
}

int XcbDisplay::MillisecondsToWait() const
{
    int wait = kHoverPollMs;
    uint64_t due = 0;
    if (detail::EarliestTimerDue(due)) {
        const uint64_t now = ClockTicks();
        wait = due <= now ? 0 : static_cast<int>(std::min<uint64_t>(due - now, kHoverPollMs));
    }
    // A pointer event that waits for the input method is read on time.
    const int held = m_methodKeys.MillisecondsToDue(RealTicks());
    return held >= 0 ? std::min(wait, held) : wait;
}

bool XcbDisplay::Run(const std::function<bool()>& done)
{
    ++m_depth;
    bool finished = false;
    while (Connected()) {
        Tick();
        ReadWaiting();
        Desktop::PumpMessages();
        detail::CheckHover();
        if (done()) {
            finished = true;
            break;
        }
        // Temporary objects go only where no caller can still hold one.
        if (m_depth == 1) Desktop::Idle();
        Sync();
        if (done()) {
            finished = true;
            break;
        }
        xcb_generic_event_t* event = xcb_poll_for_event(m_connection);
        if (!event) {
            pollfd wait = {xcb_get_file_descriptor(m_connection), POLLIN, 0};
            if (poll(&wait, 1, MillisecondsToWait()) < 0 && errno != EINTR) m_broken = true;
            event = xcb_poll_for_event(m_connection);
        }
        for (; event; event = xcb_poll_for_event(m_connection)) {
            Tick();
            if (!m_xim || !m_xim->Filter(event)) Handle(event);
            std::free(event);
            while (!m_fromMethod.empty()) {
                const std::function<void()> next = m_fromMethod.front();
                m_fromMethod.erase(m_fromMethod.begin());
                next();
            }
        }
    }
    if (finished) Sync();
    --m_depth;
    return finished;
}

void XcbDisplay::Sync()
{
    if (!Connected()) return;
    WindowManager& manager = WindowManager::Instance();
    for (auto it = m_shown.begin(); it != m_shown.end();) {
        WindowState* window = manager.Find(it->first);
        if (!window) {
            Forget(it->second);
            it = m_shown.erase(it);
            continue;
        }
        if (!(window->style & WS_VISIBLE) && it->second.mapped) {
            xcb_unmap_window(m_connection, it->second.id);
            it->second.mapped = false;
        }
        ++it;
    }
    std::vector<xcb_window_t> stacking;
    const std::vector<HWND> tops = manager.TopLevelWindows();
    for (HWND hwnd : tops) {
        WindowState* window = manager.Find(hwnd);
        if (!window || !(window->style & WS_VISIBLE)) continue;
        Shown& shown = m_shown[hwnd];
        if (!shown.id) Create(hwnd, shown);
        window = manager.Find(hwnd);
        if (!window) continue;
        if (!SameRect(shown.placed, window->rect)) Place(hwnd, shown, window->rect);
        if (window->text.GetString() != shown.title) SetTitle(shown, window->text.GetString());
        stacking.push_back(shown.id);
    }
    // Every owner has its X window now (an owned window stands above its
    // owner, so it may have been made first): each owned one names its
    // owner before it is mapped, and the manager keeps it above.
    for (HWND hwnd : tops) {
        auto found = m_shown.find(hwnd);
        if (found != m_shown.end() && found->second.id) NameOwner(hwnd, found->second);
    }
    for (HWND hwnd : tops) {
        auto found = m_shown.find(hwnd);
        WindowState* window = manager.Find(hwnd);
        if (found == m_shown.end() || !found->second.id || !window || !(window->style & WS_VISIBLE)) continue;
        Shown& shown = found->second;
        if (!shown.mapped) {
            xcb_map_window(m_connection, shown.id);
            shown.mapped = true;
            shown.whole = true;
        }
    }
    // The X windows in the windows' z-order, from the bottom up.
    if (stacking != m_stacking) {
        const uint32_t above = XCB_STACK_MODE_ABOVE;
        for (auto it = stacking.rbegin(); it != stacking.rend(); ++it)
            xcb_configure_window(m_connection, *it, XCB_CONFIG_WINDOW_STACK_MODE, &above);
        m_stacking = stacking;
    }
    for (auto& entry : m_shown) {
        Shown& shown = entry.second;
        RECT area = {};
        const bool painted = detail::TakePaintedArea(entry.first, area);
        if (!shown.mapped) continue;
        if (shown.whole) {
            const WindowState* window = manager.Find(entry.first);
            if (!window) continue;
            area = RECT{0, 0, window->rect.Width(), window->rect.Height()};
            shown.whole = false;
        } else if (!painted) {
            continue;
        }
        Copy(entry.first, shown, area);
    }
    // The pointer shows the cursor the windows chose last (WM_SETCURSOR).
    const HCURSOR cursor = GetCursor();
    if (cursor != m_cursor) {
        const uint32_t value = CursorOf(cursor);
        for (const auto& entry : m_shown)
            if (entry.second.id) xcb_change_window_attributes(m_connection, entry.second.id, XCB_CW_CURSOR, &value);
        m_cursor = cursor;
    }
    // The keyboard goes where the windows' active window is.
    const HWND active = GetActiveWindow();
    if (active != m_focused) {
        auto found = m_shown.find(active);
        if (found != m_shown.end() && found->second.mapped) {
            xcb_set_input_focus(m_connection, XCB_INPUT_FOCUS_PARENT, found->second.id, XCB_CURRENT_TIME);
            m_focused = active;
        }
    }
    if (m_xim) m_xim->Focus(WindowOf(m_focused));
    xcb_flush(m_connection);
}

void XcbDisplay::Create(HWND hwnd, Shown& shown)
{
    const WindowState* window = WindowManager::Instance().Find(hwnd);
    const RECT rect = window->rect;
    const bool ours = PlacedByUs(*window);
    shown.id = xcb_generate_id(m_connection);
    const uint32_t values[] = {m_screen->white_pixel, ours ? 1u : 0u, kEventMask};
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, shown.id, m_screen->root, static_cast<int16_t>(rect.left),
                      static_cast<int16_t>(rect.top), static_cast<uint16_t>(std::max<LONG>(1, rect.right - rect.left)),
                      static_cast<uint16_t>(std::max<LONG>(1, rect.bottom - rect.top)), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, m_screen->root_visual,
                      XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
    shown.placed = rect;
    static const char kClass[] = "morvelance\0morvelance";
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, shown.id, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                        sizeof(kClass), kClass);
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, shown.id, m_protocols, XCB_ATOM_ATOM, 32, 1,
                        &m_deleteWindow);
    // The window manager puts it where the windows say it is.
    uint32_t hints[18] = {};
    hints[0] = 1 | 2 | 4 | 8;   // USPosition, USSize, PPosition, PSize
    hints[1] = static_cast<uint32_t>(rect.left);
    hints[2] = static_cast<uint32_t>(rect.top);
    hints[3] = static_cast<uint32_t>(rect.right - rect.left);
    hints[4] = static_cast<uint32_t>(rect.bottom - rect.top);
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, shown.id, XCB_ATOM_WM_NORMAL_HINTS,
                        XCB_ATOM_WM_SIZE_HINTS, 32, 18, hints);
    if ((window->style & WS_CAPTION) == WS_CAPTION) {
        // The window draws its own caption and frame: the manager adds none.
        const xcb_atom_t motif = Atom("_MOTIF_WM_HINTS");
        const uint32_t noDecorations[5] = {2, 0, 0, 0, 0};
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, shown.id, motif, motif, 32, 5, noDecorations);
    }
    if (m_cursor) {
        const uint32_t cursor = CursorOf(m_cursor);
        xcb_change_window_attributes(m_connection, shown.id, XCB_CW_CURSOR, &cursor);
    }
    xcb_visualtype_t* visual = VisualOf(m_screen);
    shown.target = cairo_xcb_surface_create(m_connection, shown.id, visual, std::max<LONG>(1, rect.right - rect.left),
                                            std::max<LONG>(1, rect.bottom - rect.top));
    if (!m_device) m_device = cairo_device_reference(cairo_surface_get_device(shown.target));
    shown.whole = true;
}

void XcbDisplay::NameOwner(HWND hwnd, Shown& shown)
{
    const WindowState* window = WindowManager::Instance().Find(hwnd);
    xcb_window_t owner = 0;
    if (window && window->owner) {
        auto found = m_shown.find(WindowManager::Instance().TopLevelOf(window->owner));
        if (found != m_shown.end()) owner = found->second.id;
    }
    if (owner == shown.transientFor) return;
    if (owner)
        xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, shown.id, XCB_ATOM_WM_TRANSIENT_FOR,
                            XCB_ATOM_WINDOW, 32, 1, &owner);
    else
        xcb_delete_property(m_connection, shown.id, XCB_ATOM_WM_TRANSIENT_FOR);
    shown.transientFor = owner;
}

void XcbDisplay::Place(HWND hwnd, Shown& shown, const RECT& rect)
{
    (void)hwnd;
    const int width = std::max<LONG>(1, rect.right - rect.left);
    const int height = std::max<LONG>(1, rect.bottom - rect.top);
    const uint32_t values[] = {static_cast<uint32_t>(rect.left), static_cast<uint32_t>(rect.top),
                               static_cast<uint32_t>(width), static_cast<uint32_t>(height)};
    xcb_configure_window(m_connection, shown.id,
                         XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                             XCB_CONFIG_WINDOW_HEIGHT,
                         values);
    cairo_xcb_surface_set_size(shown.target, width, height);
    if (shown.placed.right - shown.placed.left != width || shown.placed.bottom - shown.placed.top != height)
        shown.whole = true;
    shown.placed = rect;
}

void XcbDisplay::SetTitle(Shown& shown, const std::wstring& title)
{
    shown.title = title;
    const std::string text = platform::ToUtf8(title);
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, shown.id, Atom("_NET_WM_NAME"), Atom("UTF8_STRING"), 8,
                        static_cast<uint32_t>(text.size()), text.data());
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, shown.id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        static_cast<uint32_t>(text.size()), text.data());
}

void XcbDisplay::Copy(HWND hwnd, Shown& shown, RECT area)
{
    WindowState* window = WindowManager::Instance().Find(hwnd);
    if (!window) return;
    if (!window->surface) {
        // Nothing painted yet: the window paints itself now, all of it.
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        detail::TakePaintedArea(hwnd, area);
        window = WindowManager::Instance().Find(hwnd);
        if (!window || !window->surface) return;
        area = RECT{0, 0, window->rect.Width(), window->rect.Height()};
    }
    cairo_surface_t* image = window->surface.get();
    cairo_surface_flush(image);
    cairo_t* cr = cairo_create(shown.target);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, image, 0, 0);
    cairo_rectangle(cr, area.left, area.top, area.right - area.left, area.bottom - area.top);
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_surface_flush(shown.target);
}

namespace {

// The server's 32-bit picture format with alpha (ARGB32); null without one.
xcb_render_pictforminfo_t* FindArgbFormat(xcb_render_query_pict_formats_reply_t* formats)
{
    for (xcb_render_pictforminfo_iterator_t it = xcb_render_query_pict_formats_formats_iterator(formats); it.rem;
         xcb_render_pictforminfo_next(&it)) {
        const xcb_render_pictforminfo_t& format = *it.data;
        if (format.type == XCB_RENDER_PICT_TYPE_DIRECT && format.depth == 32 && format.direct.alpha_mask == 0xFF &&
            format.direct.alpha_shift == 24 && format.direct.red_shift == 16 && format.direct.green_shift == 8 &&
            format.direct.blue_shift == 0)
            return it.data;
    }
    return nullptr;
}

}  // namespace

xcb_cursor_t XcbDisplay::CursorOf(HCURSOR cursor)
{
    if (!cursor) return XCB_NONE;
    auto known = m_cursors.find(cursor);
    if (known != m_cursors.end()) return known->second;
    xcb_cursor_t made = XCB_NONE;
    SIZE size = {};
    POINT hotspot = {};
    xcb_render_query_pict_formats_reply_t* formats =
        xcb_render_query_pict_formats_reply(m_connection, xcb_render_query_pict_formats(m_connection), nullptr);
    xcb_render_pictforminfo_t* argb = formats ? FindArgbFormat(formats) : nullptr;
    if (argb && platform::gdi::GetIconMetrics(cursor, &size, &hotspot) && size.cx > 0 && size.cy > 0) {
        // The cursor's picture with its alpha, drawn as the windows draw it.
        cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size.cx, size.cy);
        if (HDC hdc = platform::gdi::CreateSurfaceDC(image, POINT{0, 0}, nullptr)) {
            DrawIconEx(hdc, 0, 0, cursor, size.cx, size.cy, 0, nullptr, DI_NORMAL);
            DeleteDC(hdc);
        }
        cairo_surface_flush(image);
        const xcb_pixmap_t pixmap = xcb_generate_id(m_connection);
        xcb_create_pixmap(m_connection, 32, pixmap, m_screen->root, static_cast<uint16_t>(size.cx),
                          static_cast<uint16_t>(size.cy));
        cairo_surface_t* target =
            cairo_xcb_surface_create_with_xrender_format(m_connection, m_screen, pixmap, argb, size.cx, size.cy);
        cairo_t* cr = cairo_create(target);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_surface(cr, image, 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_flush(target);
        cairo_surface_destroy(target);
        cairo_surface_destroy(image);
        const xcb_render_picture_t picture = xcb_generate_id(m_connection);
        xcb_render_create_picture(m_connection, picture, pixmap, argb->id, 0, nullptr);
        made = xcb_generate_id(m_connection);
        xcb_render_create_cursor(m_connection, made, picture, static_cast<uint16_t>(hotspot.x),
                                 static_cast<uint16_t>(hotspot.y));
        xcb_render_free_picture(m_connection, picture);
        xcb_free_pixmap(m_connection, pixmap);
    }
    std::free(formats);
    m_cursors[cursor] = made;
    return made;
}

void XcbDisplay::Forget(Shown& shown)
{
    if (shown.target) cairo_surface_destroy(shown.target);
    shown.target = nullptr;
    if (m_xim && shown.id) m_xim->Forget(shown.id);
    if (shown.id && Connected()) xcb_destroy_window(m_connection, shown.id);
    shown.id = 0;
}

void XcbDisplay::SyncModifiers(uint16_t state)
{
    detail::SyncModifierKeys((state & XCB_MOD_MASK_SHIFT) != 0, (state & XCB_MOD_MASK_CONTROL) != 0,
                             (state & XCB_MOD_MASK_1) != 0);
}

void XcbDisplay::Pointer(UINT message, int rootX, int rootY, uint16_t state, int wheel)
{
    SyncModifiers(state);
    // The server's own screen coordinates: a window that moves under the
    // pointer (dragged by it) cannot shift them as it would the window's.
    detail::PostMouseInput(message, POINT{rootX, rootY}, wheel);
    Desktop::PumpMessages();
}

void XcbDisplay::Key(xcb_keycode_t code, bool down, uint16_t state, bool late, HWND to)
{
    // The state is the one before this key: a modifier's own press finds
    // it up, its release down, and a release the windows missed is made
    // up for before the key is heard.
    SyncModifiers(state);
    const UINT vk = m_keyboard.VirtualKey(code);
    if (!down) {
        // A key whose text came on its own was already let go of.
        if (vk && !m_textKeys.erase(code)) detail::PostKeyInput(vk, false, to);
        Desktop::PumpMessages();
        return;
    }
    const wchar_t typed = late ? m_keyboard.Character(code, state) : m_keyboard.Character(code);
    const bool chord = (state & (XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1)) != 0;
    const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    // The windows make the character of a key as a US keyboard types it;
    // where the layout types another (or the key has no name), the key is
    // one the layout processed and its text arrives on its own.
    const bool layoutText = typed >= 0x20 && typed != 0x7F && !chord && (!vk || detail::CharacterOfKey(vk, shift) != typed);
    if (layoutText) {
        m_textKeys.insert(code);
        Typed(std::wstring(1, typed), to);
    } else if (vk) {
        detail::PostKeyInput(vk, true, to);
    }
    Desktop::PumpMessages();
}

void XcbDisplay::Typed(const std::wstring& text, HWND to)
{
    detail::PostKeyInput(VK_PROCESSKEY, true, to);
    detail::PostKeyInput(VK_PROCESSKEY, false, to);
    for (wchar_t ch : text) detail::PostCharInput(ch, to);
}

void XcbDisplay::KeyEvent(const xcb_key_press_event_t& key)
{
    const bool down = (key.response_type & 0x7F) == XCB_KEY_PRESS;
    // Releases that waited for a method that went away are not held longer.
    if (m_xim && !m_xim->Talking()) ReadKeys(m_methodKeys.Forget());
    // A press typed after a click that waits for the input method waits
    // behind the click: the method hears it after what it is told of the
    // click, and the windows after the click.
    if (down && m_methodKeys.Held(key)) return;
    if (down && m_xim && m_xim->Forward(key)) {
        m_methodKeys.Sent(key, RealTicks());
        m_lastSent = key;
        return;
    }
    // A release typed after a press that is with the input method waits
    // for it; one of a press the method kept is unheard.
    if (!down && m_methodKeys.Released(key)) return;
    Key(key.detail, down, key.state);
}

void XcbDisplay::KeyReturned(const xcb_key_press_event_t& key)
{
    if ((key.response_type & 0x7F) != XCB_KEY_PRESS) return;
    ReadKeys(m_methodKeys.Returned(key));
    TellDropped();
}

void XcbDisplay::TellDropped()
{
    // The keys a person typed and sees nowhere: the beep says they were
    // not taken, as an edit beeps at a key it refuses.
    if (m_methodKeys.Dropped()) MessageBeep(MB_OK);
}

void XcbDisplay::Mark()
{
    if (!m_xim || !m_lastSent.event) return;
    // Return ends what the method composes, so that it is committed into
    // the control the click leaves (as an edit completes its composition
    // when it loses the focus; a method that composes nothing hands it
    // back); a key no one can type then comes back once the method is past
    // everything before it, composing or not.
    xcb_key_press_event_t marker = m_lastSent;
    marker.state = 0;
    marker.time = XCB_CURRENT_TIME;   // no key typed has it: ours are told apart when they come back
    for (const xcb_keycode_t code : {m_keyboard.EnterKey(), m_keyboard.SilentKey()}) {
        if (!code) continue;
        marker.detail = code;
        if (m_xim->Forward(marker)) m_methodKeys.Marked(marker, RealTicks());
    }
}

void XcbDisplay::ReadKeys(const std::vector<MethodKeys::Event>& keys)
{
    for (const MethodKeys::Event& key : keys) {
        if (key.again && key.pointer)
            PointerFromServer(key.held);
        else if (key.again)
            KeyEvent(*reinterpret_cast<const xcb_key_press_event_t*>(&key.held));
        else if (key.pointer)
            ReadPointer(key.held);
        else
            Key(key.key, key.down, key.state, true, key.target);
    }
}

void XcbDisplay::ReadWaiting()
{
    // What waited for a method that went away is not held longer, keys a
    // method has not answered for very long are given up, and a pointer
    // event is not held past its time.
    if (m_xim && !m_xim->Talking()) ReadKeys(m_methodKeys.Forget());
    ReadKeys(m_methodKeys.GiveUp(RealTicks()));
    TellDropped();
    for (std::vector<MethodKeys::Event> due; !(due = m_methodKeys.Due(RealTicks())).empty();) ReadKeys(due);
}

bool XcbDisplay::MovesFocus(const xcb_generic_event_t& event) const
{
    const uint8_t type = event.response_type & 0x7F;
    // The focus the window manager gives another window than the active
    // one (ours, given as the windows activate, moves nothing).
    if (type == XCB_FOCUS_IN) {
        const HWND hwnd = WindowOfId(reinterpret_cast<const xcb_focus_in_event_t*>(&event)->event);
        return hwnd && hwnd != GetActiveWindow();
    }
    if (type != XCB_BUTTON_PRESS) return false;
    const uint8_t button = reinterpret_cast<const xcb_button_press_event_t*>(&event)->detail;
    return button >= 1 && button <= 3;
}

void XcbDisplay::PointerFromServer(const xcb_generic_event_t& event)
{
    // A click must not move the focus while keys typed before it are still
    // with the input method: it waits for them, and the method is told
    // where it came.
    if (m_methodKeys.Pointer(event, RealTicks())) {
        if (MovesFocus(event) && m_methodKeys.Unmarked()) Mark();
        return;
    }
    ReadPointer(event);
}

void XcbDisplay::ReadPointer(const xcb_generic_event_t& event)
{
    // The method did not answer in time the keys typed before this click:
    // they stay with the control they were typed into, wherever the click
    // moves the focus.
    if (MovesFocus(event) && m_methodKeys.WithMethod()) {
        if (m_methodKeys.Unmarked()) Mark();
        m_methodKeys.TypedInto(GetFocus());
    }
    PointerEvent(event);
}

void XcbDisplay::PointerEvent(const xcb_generic_event_t& event)
{
    const uint8_t type = event.response_type & 0x7F;
    switch (type) {
    case XCB_BUTTON_PRESS:
    case XCB_BUTTON_RELEASE: {
        const auto* button = reinterpret_cast<const xcb_button_press_event_t*>(&event);
        if (!WindowOfId(button->event)) break;
        const bool down = type == XCB_BUTTON_PRESS;
        const int x = button->root_x;
        const int y = button->root_y;
        switch (button->detail) {
        case 1: Pointer(down ? WM_LBUTTONDOWN : WM_LBUTTONUP, x, y, button->state); break;
        case 2: Pointer(down ? WM_MBUTTONDOWN : WM_MBUTTONUP, x, y, button->state); break;
        case 3: Pointer(down ? WM_RBUTTONDOWN : WM_RBUTTONUP, x, y, button->state); break;
        case 4:
        case 5:
            if (down) Pointer(WM_MOUSEWHEEL, x, y, button->state, button->detail == 4 ? kWheelDelta : -kWheelDelta);
            break;
        default: break;
        }
        break;
    }
    case XCB_MOTION_NOTIFY: {
        const auto* motion = reinterpret_cast<const xcb_motion_notify_event_t*>(&event);
        if (WindowOfId(motion->event)) Pointer(WM_MOUSEMOVE, motion->root_x, motion->root_y, motion->state);
        break;
    }
    case XCB_ENTER_NOTIFY:
    case XCB_LEAVE_NOTIFY: {
        // Leaving for a place outside every window is a move there: the
        // windows that track the mouse hear it leave.
        const auto* crossing = reinterpret_cast<const xcb_enter_notify_event_t*>(&event);
        if (crossing->mode != XCB_NOTIFY_MODE_NORMAL || !WindowOfId(crossing->event)) break;
        Pointer(WM_MOUSEMOVE, crossing->root_x, crossing->root_y, crossing->state);
        break;
    }
    case XCB_FOCUS_IN: FocusIn(*reinterpret_cast<const xcb_focus_in_event_t*>(&event)); break;
    default: break;
    }
}

void XcbDisplay::FocusIn(const xcb_focus_in_event_t& focus)
{
    const HWND hwnd = WindowOfId(focus.event);
    const WindowState* window = WindowManager::Instance().Find(hwnd);
    if (window && focus.mode == XCB_NOTIFY_MODE_NORMAL && IsWindowEnabled(hwnd) && GetActiveWindow() != hwnd &&
        !PlacedByUs(*window)) {
        m_focused = hwnd;
        SetActiveWindow(hwnd);
        Desktop::PumpMessages();
    } else if (window && !IsWindowEnabled(hwnd)) {
        // The manager gave the focus to (and raised) a window a modal
        // pop-up holds: the focus goes back to the active window and
        // the windows to their order, the pop-up above its owner.
        m_focused = nullptr;
        m_stacking.clear();
    }
}

void XcbDisplay::Handle(xcb_generic_event_t* event)
{
    const uint8_t type = event->response_type & 0x7F;
    if (type == 0) return;   // an error of a request nobody waits for (a window that went meanwhile)
    if (type == m_keyboard.EventBase()) {
        struct XkbEvent {
            uint8_t response_type;
            uint8_t xkbType;
        };
        const auto* xkb = reinterpret_cast<const XkbEvent*>(event);
        if (xkb->xkbType == XCB_XKB_STATE_NOTIFY) {
            const auto* state = reinterpret_cast<const xcb_xkb_state_notify_event_t*>(event);
            m_keyboard.UpdateState(state->baseMods, state->latchedMods, state->lockedMods, state->baseGroup,
                                   state->latchedGroup, state->lockedGroup);
        } else {
            m_keyboard.Reload();
        }
        return;
    }
    switch (type) {
    case XCB_EXPOSE: {
        const auto* expose = reinterpret_cast<const xcb_expose_event_t*>(event);
        const HWND hwnd = WindowOfId(expose->window);
        if (hwnd)
            Copy(hwnd, m_shown[hwnd],
                 RECT{expose->x, expose->y, expose->x + expose->width, expose->y + expose->height});
        break;
    }
    case XCB_CONFIGURE_NOTIFY: {
        const auto* configure = reinterpret_cast<const xcb_configure_notify_event_t*>(event);
        const HWND hwnd = WindowOfId(configure->window);
        WindowState* window = WindowManager::Instance().Find(hwnd);
        if (!window) break;
        Shown& shown = m_shown[hwnd];
        // A framing manager reports the place only in its synthetic events.
        const bool moved = (event->response_type & 0x80) != 0;
        RECT now = shown.placed;
        if (moved) {
            now.right = configure->x + (now.right - now.left);
            now.bottom = configure->y + (now.bottom - now.top);
            now.left = configure->x;
            now.top = configure->y;
        }
        now.right = now.left + configure->width;
        now.bottom = now.top + configure->height;
        if (SameRect(now, shown.placed)) break;
        const bool resized = now.right - now.left != shown.placed.right - shown.placed.left ||
                             now.bottom - now.top != shown.placed.bottom - shown.placed.top;
        shown.placed = now;
        if (resized) {
            cairo_xcb_surface_set_size(shown.target, configure->width, configure->height);
            shown.whole = true;
        }
        SetWindowPos(hwnd, nullptr, now.left, now.top, configure->width, configure->height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        Desktop::PumpMessages();
        break;
    }
    case XCB_CLIENT_MESSAGE: {
        const auto* message = reinterpret_cast<const xcb_client_message_event_t*>(event);
        const HWND hwnd = WindowOfId(message->window);
        if (hwnd && message->type == m_protocols && message->data.data32[0] == m_deleteWindow && IsWindowEnabled(hwnd)) {
            PostMessageW(hwnd, WM_CLOSE, 0, 0);
            Desktop::PumpMessages();
        }
        break;
    }
    case XCB_BUTTON_PRESS:
    case XCB_BUTTON_RELEASE:
    case XCB_MOTION_NOTIFY:
    case XCB_ENTER_NOTIFY:
    case XCB_LEAVE_NOTIFY:
    // The focus a window manager gives on a click waits with the click.
    case XCB_FOCUS_IN: PointerFromServer(*event); break;
    case XCB_KEY_PRESS:
    case XCB_KEY_RELEASE: {
        KeyEvent(*reinterpret_cast<const xcb_key_press_event_t*>(event));
        break;
    }
    case XCB_DESTROY_NOTIFY: {
        // Another client took the window away (ours are forgotten before
        // they go): the window is asked to close, as by the manager.
        const auto* destroyed = reinterpret_cast<const xcb_destroy_notify_event_t*>(event);
        const HWND hwnd = WindowOfId(destroyed->window);
        if (!hwnd) break;
        Shown& shown = m_shown[hwnd];
        if (shown.target) cairo_surface_destroy(shown.target);
        if (m_xim) m_xim->Forget(shown.id);
        m_shown.erase(hwnd);
        // A window a modal pop-up holds is not closed under it: it is shown
        // again with the next sync instead.
        if (!IsWindowEnabled(hwnd)) {
            m_stacking.clear();
            break;
        }
        PostMessageW(hwnd, WM_CLOSE, 0, 0);
        Desktop::PumpMessages();
        break;
    }
    case XCB_PROPERTY_NOTIFY: {
        const auto* property = reinterpret_cast<const xcb_property_notify_event_t*>(event);
        if (property->window == m_screen->root &&
            (property->atom == m_workAreaAtom || property->atom == m_currentDesktopAtom))
            ReadWorkArea();
        break;
    }
    case XCB_MAPPING_NOTIFY: m_keyboard.Reload(); break;
    default: break;
    }
}

}  // namespace platform::ui::display

namespace {

platform::ui::display::XcbDisplay* g_display = nullptr;

bool RunDisplay(const std::function<bool()>& done)
{
    return g_display && g_display->Run(done);
}

bool DisplayConnected()
{
    return g_display && g_display->Connected();
}

uint64_t DisplayClock()
{
    return g_display ? g_display->RealTicks() : 0;
}

void DetachDisplay()
{
    delete g_display;
    g_display = nullptr;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) bool MorvelanceAttachDisplay(const char* name,
                                                                              platform::ui::DisplayBackEnd* backEnd,
                                                                              std::string* error)
{
    std::string reason;
    if (g_display) DetachDisplay();
    g_display = platform::ui::display::XcbDisplay::Open(name, reason);
    if (!g_display) {
        if (error) *error = reason;
        return false;
    }
    backEnd->run = &RunDisplay;
    backEnd->connected = &DisplayConnected;
    backEnd->detach = &DetachDisplay;
    backEnd->clock = &DisplayClock;
    return true;
}
