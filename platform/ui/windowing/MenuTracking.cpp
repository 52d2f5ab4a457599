// TrackPopupMenu and the "#32768" window that shows a pop-up menu while it
// is tracked. The pop-up is laid out and painted as the classic menus are
// (check column, text with its accelerator after a tab, arrow of a
// sub-menu, etched separators, greyed items engraved); owner-drawn items
// are measured and drawn by the owner window (ODT_MENU, the menu handle in
// hwndItem).
//
// What is chosen comes from the menu driver (MenuFunctions.h), or from a
// click on an item of the shown window while the driver runs.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/Gdi.h"
#include "platform/ui/windowing/ControlSupport.h"
#include "platform/ui/windowing/DefWindowProc.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/MenuFunctions.h"
#include "platform/ui/windowing/Message.h"
#include "platform/ui/windowing/Painting.h"
#include "platform/ui/windowing/Rects.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "platform/ui/windowing/Window.h"
#include "platform/ui/windowing/WindowClass.h"
#include "platform/ui/windowing/WindowManager.h"

namespace platform::ui {

namespace {

const int kFrame = 3;            // pixels of the raised frame around the items
const int kTextGap = 12;         // pixels between an item's text and its accelerator
const int kArrowColumn = 16;     // pixels kept on the right for a sub-menu's arrow
const int kItemPadding = 4;      // pixels an item is higher than its text

struct Row {
    RECT rect = {0, 0, 0, 0};    // client coordinates of the pop-up window
};

// The one menu being tracked.
struct Tracking {
    HMENU menu = nullptr;
    HWND owner = nullptr;
    HWND window = nullptr;       // the "#32768" pop-up
    HFONT font = nullptr;        // the menu font, made for the tracking and deleted after it
    std::vector<Row> rows;       // one per item of the menu, in order
    bool ended = false;          // EndMenu was called
    UINT clicked = 0;            // the command of an item clicked in the window; 0 none
};

Tracking*& Current()
{
    static Tracking* current = nullptr;
    return current;
}

MenuDriver& Driver()
{
    static auto* driver = new MenuDriver;
    return *driver;
}

detail::MenuItemData* ItemOf(HMENU menu, int position)
{
    detail::MenuData* data = detail::FindMenu(menu);
    if (!data || position < 0 || position >= static_cast<int>(data->items.size())) return nullptr;
    return &data->items[static_cast<size_t>(position)];
}

bool IsEnabledCommand(const detail::MenuItemData& item)
{
    return !item.submenu && !(item.type & MF_SEPARATOR) && !(item.state & (MF_GRAYED | MF_DISABLED));
}

// ---- measuring ----------------------------------------------------------------------------

HFONT MenuFont()
{
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return nullptr;
    return CreateFontIndirectW(&metrics.lfMenuFont);
}

SIZE TextSize(HDC hdc, const std::wstring& text)
{
    if (text.empty()) return SIZE{0, 0};
    RECT rect = {0, 0, 0, 0};
    DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &rect, DT_SINGLELINE | DT_CALCRECT);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

// The label and the accelerator of an item's text ("Open\tCtrl+O").
void SplitText(const std::wstring& text, std::wstring& label, std::wstring& accelerator)
{
    const size_t tab = text.find(L'\t');
    label = text.substr(0, tab);
    accelerator = tab == std::wstring::npos ? std::wstring() : text.substr(tab + 1);
}

int CheckColumn()
{
    return GetSystemMetrics(SM_CXMENUCHECK) + 4;
}

SIZE MeasureOwnerItem(HWND owner, const detail::MenuItemData& item)
{
    MEASUREITEMSTRUCT measure = {ODT_MENU, 0, item.id, 0, static_cast<UINT>(GetSystemMetrics(SM_CYMENU)), item.data};
    if (IsWindow(owner)) SendMessageW(owner, WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    // Windows leaves room for the check mark beside what the owner asked for.
    return SIZE{static_cast<LONG>(measure.itemWidth) + CheckColumn(), static_cast<LONG>(measure.itemHeight)};
}

// Sizes every item and places them one under the other; the pop-up's client size.
SIZE LayOut(Tracking& tracking)
{
    tracking.rows.clear();
    detail::MenuData* data = detail::FindMenu(tracking.menu);
    if (!data) return SIZE{0, 0};
    const std::vector<detail::MenuItemData> items = data->items;   // measuring may change the menu
    HDC hdc = CreateCompatibleDC(nullptr);
    std::vector<SIZE> sizes;
    int labelWidth = 0, acceleratorWidth = 0, ownerWidth = 0;
    {
        FontSelection font(hdc, tracking.font);
        const int textHeight = TextSize(hdc, L"M").cy;
        const int rowHeight = std::max(GetSystemMetrics(SM_CYMENU), textHeight + kItemPadding);
        for (const detail::MenuItemData& item : items) {
            if (item.type & MF_SEPARATOR) {
                sizes.push_back(SIZE{0, GetSystemMetrics(SM_CYMENU) / 2});
            } else if (item.type & MF_OWNERDRAW) {
                const SIZE size = MeasureOwnerItem(tracking.owner, item);
                ownerWidth = std::max<int>(ownerWidth, size.cx);
                sizes.push_back(size);
            } else if (item.type & MF_BITMAP) {
                BITMAP bitmap = {};
                GetObjectW(item.bitmap, sizeof(bitmap), &bitmap);
                labelWidth = std::max<int>(labelWidth, bitmap.bmWidth);
                sizes.push_back(SIZE{bitmap.bmWidth, std::max<LONG>(bitmap.bmHeight, rowHeight)});
            } else {
                std::wstring label, accelerator;
                SplitText(item.text, label, accelerator);
                labelWidth = std::max<int>(labelWidth, TextSize(hdc, label).cx);
                acceleratorWidth = std::max<int>(acceleratorWidth, TextSize(hdc, accelerator).cx);
                sizes.push_back(SIZE{0, rowHeight});
            }
        }
    }
    DeleteDC(hdc);
    const int textWidth =
        CheckColumn() + labelWidth + (acceleratorWidth ? kTextGap + acceleratorWidth : 0) + kArrowColumn;
    const int width = std::max(textWidth, ownerWidth);
    int y = kFrame;
    for (const SIZE& size : sizes) {
        Row row;
        row.rect = RECT{kFrame, y, kFrame + width, y + static_cast<int>(size.cy)};
        tracking.rows.push_back(row);
        y += size.cy;
    }
    return SIZE{width + 2 * kFrame, y + kFrame};
}

// Where the pop-up goes for the point and the TPM_ alignment, kept on the screen.
POINT Place(UINT flags, int x, int y, SIZE size)
{
    if (flags & TPM_CENTERALIGN) x -= size.cx / 2;
    else if (flags & TPM_RIGHTALIGN) x -= size.cx;
    if (flags & TPM_VCENTERALIGN) y -= size.cy / 2;
    else if (flags & TPM_BOTTOMALIGN) y -= size.cy;
    x = std::max(0, std::min(x, platform::ui::ScreenWidth() - static_cast<int>(size.cx)));
    y = std::max(0, std::min(y, platform::ui::ScreenHeight() - static_cast<int>(size.cy)));
    return POINT{x, y};
}

// ---- painting -----------------------------------------------------------------------------

void DrawCheck(HDC hdc, const RECT& column, const detail::MenuItemData& item, COLORREF ink)
{
    const HBITMAP bitmap = (item.state & MF_CHECKED) ? item.checked : item.unchecked;
    if (bitmap) {
        BITMAP info = {};
        if (!GetObjectW(bitmap, sizeof(info), &info)) return;
        HDC memory = CreateCompatibleDC(hdc);
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(hdc, column.left + (column.right - column.left - info.bmWidth) / 2,
               column.top + (column.bottom - column.top - info.bmHeight) / 2, info.bmWidth, info.bmHeight, memory, 0, 0,
               SRCCOPY);
        SelectObject(memory, previous);
        DeleteDC(memory);
        return;
    }
    if (!(item.state & MF_CHECKED)) return;
    HBRUSH brush = CreateSolidBrush(ink);
    const int cx = (column.left + column.right) / 2, cy = (column.top + column.bottom) / 2;
    if (item.type & MFT_RADIOCHECK) {
        const RECT dot = {cx - 2, cy - 2, cx + 3, cy + 3};
        FillRect(hdc, &dot, brush);
    } else {
        // The tick: seven strokes of three pixels, down then up.
        static const int kHeights[] = {2, 3, 4, 3, 2, 1, 0};
        for (int i = 0; i < 7; ++i) {
            const RECT stroke = {cx - 3 + i, cy - 3 + kHeights[i], cx - 2 + i, cy + kHeights[i]};
            FillRect(hdc, &stroke, brush);
        }
    }
    DeleteObject(brush);
}

void DrawArrow(HDC hdc, const RECT& rect, COLORREF ink)
{
    HBRUSH brush = CreateSolidBrush(ink);
    const int x = rect.right - kArrowColumn / 2 - 2, cy = (rect.top + rect.bottom) / 2;
    for (int i = 0; i < 4; ++i) {
        const RECT stroke = {x + i, cy - 3 + i, x + i + 1, cy + 4 - i};
        FillRect(hdc, &stroke, brush);
    }
    DeleteObject(brush);
}

void DrawItemText(HDC hdc, const RECT& rect, const detail::MenuItemData& item, COLORREF ink)
{
    std::wstring label, accelerator;
    SplitText(item.text, label, accelerator);
    RECT text = rect;
    text.left += CheckColumn();
    text.right -= kArrowColumn;
    SetTextColor(hdc, ink);
    DrawTextW(hdc, label.c_str(), static_cast<int>(label.size()), &text, DT_LEFT | DT_SINGLELINE | DT_VCENTER);
    if (!accelerator.empty())
        DrawTextW(hdc, accelerator.c_str(), static_cast<int>(accelerator.size()), &text,
                  DT_RIGHT | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

void DrawOwnerItem(const Tracking& tracking, HDC hdc, const detail::MenuItemData& item, const RECT& rect, bool hot)
{
    DRAWITEMSTRUCT draw = {};
    draw.CtlType = ODT_MENU;
    draw.itemID = item.id;
    draw.itemAction = ODA_DRAWENTIRE;
    if (hot) draw.itemState |= ODS_SELECTED;
    if (item.state & MF_CHECKED) draw.itemState |= ODS_CHECKED;
    if (item.state & MF_GRAYED) draw.itemState |= ODS_GRAYED;
    if (item.state & MF_DISABLED) draw.itemState |= ODS_DISABLED;
    if (item.state & MF_DEFAULT) draw.itemState |= ODS_DEFAULT;
    draw.hwndItem = reinterpret_cast<HWND>(tracking.menu);
    draw.hDC = hdc;
    draw.rcItem = rect;
    draw.itemData = item.data;
    if (IsWindow(tracking.owner)) SendMessageW(tracking.owner, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
}

void PaintItem(const Tracking& tracking, HDC hdc, const detail::MenuItemData& item, const RECT& rect)
{
    const bool hot = (item.state & MF_HILITE) != 0;
    if (item.type & MF_OWNERDRAW) return DrawOwnerItem(tracking, hdc, item, rect, hot);
    if (item.type & MF_SEPARATOR) {
        RECT line = {rect.left, (rect.top + rect.bottom) / 2 - 1, rect.right, (rect.top + rect.bottom) / 2 + 1};
        DrawEdge(hdc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const bool grayed = (item.state & (MF_GRAYED | MF_DISABLED)) != 0;
    if (hot) FillRect(hdc, &rect, GetSysColorBrush(COLOR_HIGHLIGHT));
    const COLORREF ink = GetSysColor(hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);
    RECT column = {rect.left, rect.top, rect.left + CheckColumn(), rect.bottom};
    DrawCheck(hdc, column, item, ink);
    if (item.type & MF_BITMAP) {
        BITMAP info = {};
        if (GetObjectW(item.bitmap, sizeof(info), &info)) {
            HDC memory = CreateCompatibleDC(hdc);
            HGDIOBJ previous = SelectObject(memory, item.bitmap);
            BitBlt(hdc, column.right, rect.top, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
            SelectObject(memory, previous);
            DeleteDC(memory);
        }
    } else if (grayed && !hot) {
        // Greyed text is engraved: a highlight one pixel down and right, the grey on top.
        RECT shadow = rect;
        OffsetRect(&shadow, 1, 1);
        DrawItemText(hdc, shadow, item, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawItemText(hdc, rect, item, GetSysColor(COLOR_GRAYTEXT));
    } else {
        DrawItemText(hdc, rect, item, grayed ? GetSysColor(COLOR_GRAYTEXT) : ink);
    }
    if (item.submenu) DrawArrow(hdc, rect, ink);
}

void Paint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    Tracking* tracking = Current();
    if (!hdc) return;
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(hdc, &client, GetSysColorBrush(COLOR_MENU));
    DrawEdge(hdc, &client, EDGE_RAISED, BF_RECT);
    if (tracking && tracking->window == hwnd) {
        const int saved = SaveDC(hdc);
        FontSelection font(hdc, tracking->font);
        SetBkMode(hdc, TRANSPARENT);
        detail::MenuData* data = detail::FindMenu(tracking->menu);
        const std::vector<detail::MenuItemData> items = data ? data->items : std::vector<detail::MenuItemData>();
        for (size_t i = 0; i < items.size() && i < tracking->rows.size(); ++i)
            PaintItem(*tracking, hdc, items[i], tracking->rows[i].rect);
        RestoreDC(hdc, saved);
    }
    EndPaint(hwnd, &ps);
}

int RowAt(const Tracking& tracking, POINT point)
{
    for (size_t i = 0; i < tracking.rows.size(); ++i)
        if (RectContains(tracking.rows[i].rect, point)) return static_cast<int>(i);
    return -1;
}

LRESULT MenuWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Tracking* tracking = Current();
    switch (message) {
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(hwnd); return 0;
    case WM_LBUTTONUP: {
        if (!tracking || tracking->window != hwnd) return 0;
        const POINT point = {static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
        detail::MenuItemData* item = ItemOf(tracking->menu, RowAt(*tracking, point));
        if (item && IsEnabledCommand(*item)) tracking->clicked = item->id;
        return 0;
    }
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

const SystemClass s_menuClass(WC_MENU, &MenuWndProc, CS_DBLCLKS | CS_SAVEBITS, IDC_ARROW, 0, 0);

// ---- choosing -----------------------------------------------------------------------------

// The pop-ups from `menu` down to the one holding the command, outermost first; empty when none holds it.
bool PathTo(HMENU menu, UINT command, std::vector<HMENU>& path, int depth)
{
    detail::MenuData* data = detail::FindMenu(menu);
    if (!data || depth > 32) return false;
    path.push_back(menu);
    const std::vector<detail::MenuItemData> items = data->items;
    for (const detail::MenuItemData& item : items) {
        if (!item.submenu && !(item.type & MF_SEPARATOR) && item.id == command) return true;
        if (item.submenu && !(item.state & (MF_GRAYED | MF_DISABLED)) && PathTo(item.submenu, command, path, depth + 1))
            return true;
    }
    path.pop_back();
    return false;
}

// Opens the pop-ups on the way to the command as the user would, and
// answers whether the command is an enabled item there.
bool Reach(const Tracking& tracking, UINT command, bool notify)
{
    std::vector<HMENU> path;
    if (command == 0 || !PathTo(tracking.menu, command, path, 0)) return false;
    for (size_t level = 1; level < path.size(); ++level) {
        if (notify && IsWindow(tracking.owner))
            SendMessageW(tracking.owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(path[level]), MAKELPARAM(0, FALSE));
        detail::MenuData* popup = detail::FindMenu(path[level]);
        if (!popup) return false;
        const std::vector<detail::MenuItemData> items = popup->items;
        for (const detail::MenuItemData& item : items)
            if (item.type & MF_OWNERDRAW) MeasureOwnerItem(tracking.owner, item);
    }
    const detail::ItemPlace place = detail::FindItem(path.back(), command, false);
    detail::MenuItemData* item = ItemOf(place.menu, place.position);
    if (!item || !IsEnabledCommand(*item)) return false;
    if (notify && IsWindow(tracking.owner))
        SendMessageW(tracking.owner, WM_MENUSELECT, MAKEWPARAM(command, item->type | item->state),
                     reinterpret_cast<LPARAM>(place.menu));
    return true;
}

class TrackingScope {
public:
    explicit TrackingScope(Tracking& tracking) { Current() = &tracking; }
    ~TrackingScope() { Current() = nullptr; }
    TrackingScope(const TrackingScope&) = delete;
    TrackingScope& operator=(const TrackingScope&) = delete;
};

void ShowWindowOf(Tracking& tracking, UINT flags, int x, int y)
{
    const SIZE size = LayOut(tracking);
    const POINT at = Place(flags, x, y, size);
    tracking.window = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WC_MENU, nullptr, WS_POPUP, at.x, at.y, size.cx,
                                      size.cy, tracking.owner, nullptr, nullptr, nullptr);
    if (!tracking.window) return;
    SetWindowPos(tracking.window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    UpdateWindow(tracking.window);
}

UINT Track(HMENU hMenu, UINT uFlags, int x, int y, HWND hWnd)
{
    const bool notify = !(uFlags & TPM_NONOTIFY);
    Tracking tracking;
    tracking.menu = hMenu;
    tracking.owner = hWnd;
    TrackingScope scope(tracking);
    if (notify) {
        SendMessageW(hWnd, WM_ENTERMENULOOP, TRUE, 0);
        if (IsWindow(hWnd)) SendMessageW(hWnd, WM_INITMENU, reinterpret_cast<WPARAM>(hMenu), 0);
        if (IsWindow(hWnd)) SendMessageW(hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu), MAKELPARAM(0, FALSE));
    }
    UINT chosen = 0;
    if (IsMenu(hMenu) && IsWindow(hWnd)) {
        tracking.font = MenuFont();
        ShowWindowOf(tracking, uFlags, x, y);
        const MenuDriver driver = Driver();
        UINT answer = driver ? driver(hMenu) : 0;
        if (!answer) answer = tracking.clicked;
        if (!tracking.ended && IsMenu(hMenu) && IsWindow(hWnd) && Reach(tracking, answer, notify)) chosen = answer;
        if (tracking.window) DestroyWindow(tracking.window);
        tracking.window = nullptr;
        if (tracking.font) DeleteObject(tracking.font);
    }
    if (notify && IsWindow(hWnd)) {
        SendMessageW(hWnd, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
        if (IsWindow(hWnd)) SendMessageW(hWnd, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(hMenu), 0);
        if (IsWindow(hWnd)) SendMessageW(hWnd, WM_EXITMENULOOP, TRUE, 0);
    }
    return chosen;
}

}  // namespace

MenuDriver SetMenuDriver(MenuDriver driver)
{
    MenuDriver previous = std::move(Driver());
    Driver() = std::move(driver);
    return previous;
}

HWND TrackingMenuWindow()
{
    return Current() ? Current()->window : nullptr;
}

HMENU TrackingMenu()
{
    return Current() ? Current()->menu : nullptr;
}

}  // namespace platform::ui

BOOL TrackPopupMenu(HMENU hMenu, UINT uFlags, int x, int y, int nReserved, HWND hWnd, const RECT* prcRect)
{
    (void)nReserved;
    (void)prcRect;
    if (!IsMenu(hMenu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    if (!IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    // One menu at a time, as on Windows.
    if (platform::ui::Current()) return FALSE;
    const UINT chosen = platform::ui::Track(hMenu, uFlags, x, y, hWnd);
    if (uFlags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
    if (chosen && !(uFlags & TPM_NONOTIFY)) PostMessageW(hWnd, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
    return TRUE;
}

BOOL TrackPopupMenuEx(HMENU hMenu, UINT uFlags, int x, int y, HWND hwnd, LPTPMPARAMS lptpm)
{
    return TrackPopupMenu(hMenu, uFlags, x, y, 0, hwnd, lptpm ? &lptpm->rcExclude : nullptr);
}

BOOL EndMenu()
{
    platform::ui::Tracking* tracking = platform::ui::Current();
    if (!tracking) return FALSE;
    tracking->ended = true;
    return TRUE;
}

BOOL GetMenuItemRect(HWND hWnd, HMENU hMenu, UINT uItem, LPRECT lprcItem)
{
    (void)hWnd;
    platform::ui::Tracking* tracking = platform::ui::Current();
    if (!tracking || !lprcItem || tracking->menu != hMenu || !tracking->window || uItem >= tracking->rows.size())
        return FALSE;
    RECT rect = tracking->rows[uItem].rect;
    MapWindowPoints(tracking->window, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    *lprcItem = rect;
    return TRUE;
}
