// The "Button" class: push buttons, check boxes, radio buttons, group
// boxes and owner-drawn buttons, with the keyboard and mouse behaviour of
// the originals (a click is a press and a release inside the button; Space
// presses; an automatic radio button checks itself when it gets the focus
// from the keyboard and unchecks the others of its group).
#include <algorithm>

#include "platform/gdi/Gdi.h"
#include "platform/ui/builtin/ControlPaint.h"
#include "platform/ui/windowing/ControlSupport.h"
#include "platform/ui/windowing/DefWindowProc.h"
#include "platform/ui/windowing/DialogBox.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Message.h"
#include "platform/ui/windowing/Painting.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "platform/ui/windowing/Window.h"
#include "platform/ui/windowing/WindowClass.h"
#include "platform/ui/windowing/WindowManager.h"

namespace platform::ui {

namespace {

const int kCheckBoxSize = 13;   // pixels, the classic check box

struct ButtonState : WindowExtra {
    UINT state = BST_UNCHECKED;   // check state in the low bits, BST_PUSHED, BST_FOCUS
    HFONT font = nullptr;
    HANDLE image = nullptr;       // BM_SETIMAGE: an icon or a bitmap, not owned
    UINT imageType = IMAGE_BITMAP;
};

ButtonState* State(HWND hwnd)
{
    return ControlState<ButtonState>(hwnd);
}

UINT Type(HWND hwnd)
{
    return static_cast<UINT>(GetWindowLongW(hwnd, GWL_STYLE)) & BS_TYPEMASK;
}

bool IsCheckType(UINT type)
{
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE ||
           type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

bool IsRadio(UINT type)
{
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

LRESULT DialogCode(HWND hwnd)
{
    switch (Type(hwnd)) {
    case BS_DEFPUSHBUTTON: return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
    case BS_PUSHBUTTON:
    case BS_PUSHBOX: return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return DLGC_BUTTON | DLGC_RADIOBUTTON;
    case BS_GROUPBOX: return DLGC_STATIC;
    default: return DLGC_BUTTON;
    }
}

void Redraw(HWND hwnd)
{
    InvalidateRect(hwnd, nullptr, FALSE);
}

void SetPushed(HWND hwnd, bool pushed)
{
    ButtonState* state = State(hwnd);
    if (!state) return;
    const bool was = (state->state & BST_PUSHED) != 0;
    if (was == pushed) return;
    if (pushed)
        state->state |= BST_PUSHED;
    else
        state->state &= ~BST_PUSHED;
    Redraw(hwnd);
}

void SetCheck(HWND hwnd, UINT check)
{
    ButtonState* state = State(hwnd);
    const UINT type = Type(hwnd);
    if (!state || !IsCheckType(type)) return;
    if (check > BST_INDETERMINATE || (check == BST_INDETERMINATE && type != BS_3STATE && type != BS_AUTO3STATE))
        check = check == BST_INDETERMINATE ? BST_CHECKED : BST_UNCHECKED;
    const UINT old = state->state & 3;
    state->state = (state->state & ~3u) | check;
    // A radio button is a tab stop only while it is checked.
    if (IsRadio(type)) {
        if (WindowState* window = WindowManager::Instance().Find(hwnd)) {
            if (check)
                window->style |= WS_TABSTOP;
            else
                window->style &= ~WS_TABSTOP;
        }
    }
    if (old != check) Redraw(hwnd);
}

void UncheckGroup(HWND hwnd)
{
    HWND parent = GetParent(hwnd);
    if (!parent) return;
    HWND start = GetNextDlgGroupItem(parent, hwnd, TRUE);
    HWND sibling = start;
    do {
        if (!sibling) break;
        if (sibling != hwnd && Type(sibling) == BS_AUTORADIOBUTTON) SendMessageW(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
        sibling = GetNextDlgGroupItem(parent, sibling, FALSE);
    } while (sibling && sibling != start);
}

// The click: automatic buttons change their check first, then the parent hears of it.
void Click(HWND hwnd)
{
    ButtonState* state = State(hwnd);
    if (!state) return;
    switch (Type(hwnd)) {
    case BS_AUTOCHECKBOX: SendMessageW(hwnd, BM_SETCHECK, (state->state & BST_CHECKED) ? BST_UNCHECKED : BST_CHECKED, 0); break;
    case BS_AUTO3STATE: SendMessageW(hwnd, BM_SETCHECK, ((state->state & 3) + 1) % 3, 0); break;
    case BS_AUTORADIOBUTTON:
        SendMessageW(hwnd, BM_SETCHECK, BST_CHECKED, 0);
        UncheckGroup(hwnd);
        break;
    default: break;
    }
    NotifyParent(hwnd, BN_CLICKED);
}

UINT DrawTextFlags(DWORD style, bool pushLike)
{
    UINT flags = 0;
    const DWORD horizontal = style & BS_CENTER;
    if (horizontal == BS_LEFT) flags |= DT_LEFT;
    else if (horizontal == BS_RIGHT) flags |= DT_RIGHT;
    else if (horizontal == BS_CENTER || (pushLike && horizontal == 0)) flags |= DT_CENTER;
    if (style & BS_MULTILINE)
        flags |= DT_WORDBREAK;
    else
        flags |= DT_SINGLELINE | DT_VCENTER;
    return flags;
}

void DrawLabel(HDC hdc, HWND hwnd, RECT rect, UINT flags)
{
    const CString text = WindowText(hwnd);
    if (text.IsEmpty()) return;
    SetBkMode(hdc, TRANSPARENT);
    if (!IsWindowEnabled(hwnd)) SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(hdc, text.GetString(), text.GetLength(), &rect, flags);
}

void DrawImage(HDC hdc, const ButtonState& state, const RECT& rect)
{
    if (!state.image) return;
    if (state.imageType == IMAGE_ICON) {
        SIZE size = {32, 32};
        ICONINFO info = {};
        if (GetIconInfo(static_cast<HICON>(state.image), &info)) {
            BITMAP bitmap = {};
            if (info.hbmColor && GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap)) size = {bitmap.bmWidth, bitmap.bmHeight};
            if (info.hbmColor) DeleteObject(info.hbmColor);
            if (info.hbmMask) DeleteObject(info.hbmMask);
        }
        DrawIconEx(hdc, (rect.left + rect.right - size.cx) / 2, (rect.top + rect.bottom - size.cy) / 2,
                   static_cast<HICON>(state.image), 0, 0, 0, nullptr, 0x0003 /* DI_NORMAL */);
        return;
    }
    HBITMAP bitmap = static_cast<HBITMAP>(state.image);
    BITMAP info = {};
    if (!GetObjectW(bitmap, sizeof(info), &info)) return;
    HDC memory = CreateCompatibleDC(hdc);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(hdc, (rect.left + rect.right - info.bmWidth) / 2, (rect.top + rect.bottom - info.bmHeight) / 2,
           info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
}

void PaintPushButton(HWND hwnd, HDC hdc, const ButtonState& state, RECT rect)
{
    const DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    const bool pushed = (state.state & BST_PUSHED) || ((style & BS_PUSHLIKE) && (state.state & BST_CHECKED));
    FillRect(hdc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
        FrameRect(hdc, &rect, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&rect, -1, -1);
    }
    DrawEdge(hdc, &rect, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_ADJUST);
    RECT content = rect;
    if (pushed) OffsetRect(&content, 1, 1);
    if (state.image && (style & (BS_ICON | BS_BITMAP)))
        DrawImage(hdc, state, content);
    else
        DrawLabel(hdc, hwnd, content, DrawTextFlags(style, true));
    if (state.state & BST_FOCUS) {
        RECT focus = rect;
        InflateRect(&focus, -1, -1);
        DrawFocusRect(hdc, &focus);
    }
}

void PaintCheck(HWND hwnd, HDC hdc, const ButtonState& state, RECT rect, HBRUSH background)
{
    const DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    FillRect(hdc, &rect, background);
    const bool leftText = (style & BS_LEFTTEXT) != 0;
    const int top = (rect.top + rect.bottom - kCheckBoxSize) / 2;
    RECT box = leftText ? RECT{rect.right - kCheckBoxSize, top, rect.right, top + kCheckBoxSize}
                        : RECT{rect.left, top, rect.left + kCheckBoxSize, top + kCheckBoxSize};
    const UINT check = state.state & 3;
    const HBRUSH face = GetSysColorBrush((state.state & BST_PUSHED) || !IsWindowEnabled(hwnd) ? COLOR_BTNFACE : COLOR_WINDOW);
    const HBRUSH mark = GetSysColorBrush(check == BST_INDETERMINATE ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
    if (IsRadio(style & BS_TYPEMASK)) {
        const int saved = SaveDC(hdc);
        SelectObject(hdc, GetSysColorBrush(COLOR_WINDOW));
        SelectObject(hdc, GetStockObject(BLACK_PEN));
        Ellipse(hdc, box.left, box.top, box.right - 1, box.bottom - 1);
        if (check) {
            SelectObject(hdc, mark);
            Ellipse(hdc, box.left + 4, box.top + 4, box.right - 5, box.bottom - 5);
        }
        RestoreDC(hdc, saved);
    } else {
        RECT inside = box;
        DrawEdge(hdc, &inside, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
        FillRect(hdc, &inside, face);
        if (check) {
            // A check mark: two strokes of three pixels' width.
            const int x = inside.left + 1;
            const int y = inside.top + 3;
            for (int i = 0; i < 3; ++i) {
                RECT stroke = {x + i, y + i, x + i + 1, y + i + 3};
                FillRect(hdc, &stroke, mark);
            }
            for (int i = 0; i < 4; ++i) {
                RECT stroke = {x + 3 + i, y + 1 - i, x + 4 + i, y + 4 - i};
                FillRect(hdc, &stroke, mark);
            }
        }
    }
    RECT label = rect;
    if (leftText)
        label.right = box.left - 3;
    else
        label.left = box.right + 3;
    DrawLabel(hdc, hwnd, label, DrawTextFlags(style, false));
    if (state.state & BST_FOCUS) {
        RECT focus = label;
        InflateRect(&focus, 1, 0);
        DrawFocusRect(hdc, &focus);
    }
}

// The frame and the caption only: the inside belongs to the controls in the box.
void PaintGroupBox(HWND hwnd, HDC hdc, RECT rect, HBRUSH background)
{
    TEXTMETRICW metrics = {};
    GetTextMetricsW(hdc, &metrics);
    RECT frame = rect;
    frame.top += metrics.tmHeight / 2;
    DrawEdge(hdc, &frame, EDGE_ETCHED, BF_RECT);
    const CString text = WindowText(hwnd);
    if (text.IsEmpty()) return;
    SIZE extent = {0, 0};
    GetTextExtentPoint32W(hdc, text.GetString(), text.GetLength(), &extent);
    RECT label = {rect.left + 8, rect.top, rect.left + 10 + extent.cx, rect.top + metrics.tmHeight};
    FillRect(hdc, &label, background);
    label.left += 1;
    DrawLabel(hdc, hwnd, label, DT_LEFT | DT_SINGLELINE);
}

void PaintOwnerDraw(HWND hwnd, HDC hdc, const ButtonState& state, const RECT& rect)
{
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
    item.itemAction = ODA_DRAWENTIRE;
    if (state.state & BST_PUSHED) item.itemState |= ODS_SELECTED;
    if (state.state & BST_FOCUS) item.itemState |= ODS_FOCUS;
    if (!IsWindowEnabled(hwnd)) item.itemState |= ODS_DISABLED;
    item.hwndItem = hwnd;
    item.hDC = hdc;
    item.rcItem = rect;
    HWND parent = GetParent(hwnd);
    // The parent's colours apply to the DC before the owner draws.
    ControlColors(hwnd, hdc, WM_CTLCOLORBTN);
    if (parent) SendMessageW(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

void Paint(HWND hwnd)
{
    ButtonState* state = State(hwnd);
    ControlPaint paint(hwnd);
    if (!paint || !state) return;
    const HDC hdc = paint.Dc();
    const RECT& rect = paint.Client();
    const ButtonState copy = *state;
    paint.SelectFont(copy.font);
    const UINT type = Type(hwnd);
    const DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    if (type == BS_OWNERDRAW) {
        PaintOwnerDraw(hwnd, hdc, copy, rect);
    } else if (type == BS_GROUPBOX) {
        PaintGroupBox(hwnd, hdc, rect, ControlColors(hwnd, hdc, WM_CTLCOLORSTATIC));
    } else if (IsCheckType(type) && !(style & BS_PUSHLIKE)) {
        PaintCheck(hwnd, hdc, copy, rect, ControlColors(hwnd, hdc, WM_CTLCOLORSTATIC));
    } else {
        ControlColors(hwnd, hdc, WM_CTLCOLORBTN);
        PaintPushButton(hwnd, hdc, copy, rect);
    }
}

bool InsideClient(HWND hwnd, LPARAM lParam)
{
    RECT client;
    GetClientRect(hwnd, &client);
    const POINT point = {static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
    return RectContains(client, point);
}

LRESULT ButtonWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    ButtonState* state = State(hwnd);
    if (!state) return 0;
    const UINT type = Type(hwnd);
    switch (message) {
    case WM_CREATE:
        // A group box is painted after the controls beneath it, as a frame
        // around them that leaves their pixels alone.
        if (type == BS_GROUPBOX)
            SetWindowLongW(hwnd, GWL_EXSTYLE, GetWindowLongW(hwnd, GWL_EXSTYLE) | WS_EX_TRANSPARENT);
        return 0;
    case WM_GETDLGCODE: return DialogCode(hwnd);
    case WM_ERASEBKGND: return 1;   // buttons paint everything in WM_PAINT
    case WM_PAINT: Paint(hwnd); return 0;
    case WM_SETFONT:
        state->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) Redraw(hwnd);
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(state->font);
    case WM_SETTEXT:
    case WM_ENABLE: {
        const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        Redraw(hwnd);
        return result;
    }
    case WM_NCHITTEST:
        if (type == BS_GROUPBOX) return HTTRANSPARENT;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_LBUTTONDBLCLK:
        if ((GetWindowLongW(hwnd, GWL_STYLE) & BS_NOTIFY) || IsRadio(type) || type == BS_OWNERDRAW) {
            NotifyParent(hwnd, BN_DOUBLECLICKED);
            return 0;
        }
        [[fallthrough]];
    case WM_LBUTTONDOWN:
        // The capture first: the focus arriving must know the mouse is pressing.
        SetCapture(hwnd);
        SetFocus(hwnd);
        SetPushed(hwnd, true);
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() == hwnd) SetPushed(hwnd, InsideClient(hwnd, lParam));
        return 0;
    case WM_LBUTTONUP: {
        const bool captured = GetCapture() == hwnd;
        const bool pushed = (state->state & BST_PUSHED) != 0;
        SetPushed(hwnd, false);
        if (captured) ReleaseCapture();
        if (captured && pushed && InsideClient(hwnd, lParam)) Click(hwnd);
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd) SetPushed(hwnd, false);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE) SetPushed(hwnd, true);
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE && (state->state & BST_PUSHED)) {
            SetPushed(hwnd, false);
            Click(hwnd);
        }
        return 0;
    case WM_SETFOCUS:
        state->state |= BST_FOCUS;
        Redraw(hwnd);
        if (GetWindowLongW(hwnd, GWL_STYLE) & BS_NOTIFY) NotifyParent(hwnd, BN_SETFOCUS);
        // Moving onto an automatic radio button from the keyboard selects it.
        if (type == BS_AUTORADIOBUTTON && GetCapture() != hwnd && !(state->state & BST_CHECKED))
            SendMessageW(hwnd, BM_CLICK, 0, 0);
        return 0;
    case WM_KILLFOCUS:
        state->state &= ~BST_FOCUS;
        if (state->state & BST_PUSHED) {
            SetPushed(hwnd, false);
            if (GetCapture() == hwnd) ReleaseCapture();
        }
        Redraw(hwnd);
        if (GetWindowLongW(hwnd, GWL_STYLE) & BS_NOTIFY) NotifyParent(hwnd, BN_KILLFOCUS);
        return 0;
    case BM_GETCHECK: return IsCheckType(type) ? (state->state & 3) : 0;
    case BM_SETCHECK: SetCheck(hwnd, static_cast<UINT>(wParam)); return 0;
    case BM_GETSTATE: return state->state;
    case BM_SETSTATE: SetPushed(hwnd, wParam != 0); return 0;
    case BM_SETSTYLE: {
        WindowState* window = WindowManager::Instance().Find(hwnd);
        if (window) window->style = (window->style & ~BS_TYPEMASK) | (static_cast<DWORD>(wParam) & BS_TYPEMASK);
        if (LOWORD(lParam)) Redraw(hwnd);
        return 0;
    }
    case BM_CLICK:
        // Windows presses and lets go of the button with the mouse messages.
        SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageW(hwnd, WM_LBUTTONUP, 0, 0);
        return 0;
    case BM_GETIMAGE: return wParam == state->imageType ? reinterpret_cast<LRESULT>(state->image) : 0;
    case BM_SETIMAGE: {
        if (wParam != IMAGE_BITMAP && wParam != IMAGE_ICON) return 0;
        HANDLE previous = state->imageType == wParam ? state->image : nullptr;
        state->image = reinterpret_cast<HANDLE>(lParam);
        state->imageType = static_cast<UINT>(wParam);
        Redraw(hwnd);
        return reinterpret_cast<LRESULT>(previous);
    }
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

const SystemClass s_buttonClass(WC_BUTTON, &ButtonWndProc, CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW | CS_PARENTDC,
                                IDC_ARROW, 0, 0);

}  // namespace

}  // namespace platform::ui
