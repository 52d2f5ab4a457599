// The "Static" class: labels (left, centred, right, word-wrapped or not),
// rectangles and frames, etched lines, icons and bitmaps, owner-drawn
// statics. A static lets the mouse through to what lies under it unless it
// has SS_NOTIFY, in which case it reports clicks.
#include "platform/gdi/Gdi.h"
#include "platform/ui/builtin/ControlPaint.h"
#include "platform/ui/windowing/ControlSupport.h"
#include "platform/ui/windowing/DefWindowProc.h"
#include "platform/ui/windowing/Message.h"
#include "platform/ui/windowing/Painting.h"
#include "platform/ui/windowing/Resources.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "platform/ui/windowing/Window.h"
#include "platform/ui/windowing/WindowClass.h"
#include "platform/ui/windowing/WindowManager.h"

namespace platform::ui {

namespace {

struct StaticState : WindowExtra {
    ~StaticState() override
    {
        if (ownsImage && image) DeleteObject(static_cast<HBITMAP>(image));
    }
    HFONT font = nullptr;
    HANDLE image = nullptr;   // SS_ICON: an icon; SS_BITMAP: a bitmap
    bool ownsImage = false;   // a bitmap loaded from the template's resource name
};

StaticState* State(HWND hwnd)
{
    return ControlState<StaticState>(hwnd);
}

DWORD Style(HWND hwnd)
{
    return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
}

// An icon or bitmap static named in its template takes the image now.
void LoadNamedImage(HWND hwnd, const CREATESTRUCTW* cs)
{
    StaticState* state = State(hwnd);
    if (!state || !cs || !cs->lpszName || !IS_INTRESOURCE(cs->lpszName)) return;
    const DWORD type = static_cast<DWORD>(cs->style) & SS_TYPEMASK;
    if (type == SS_ICON) state->image = LoadIconW(cs->hInstance, cs->lpszName);
    if (type == SS_BITMAP) {
        state->image = LoadBitmapW(cs->hInstance, cs->lpszName);
        state->ownsImage = state->image != nullptr;
    }
}

UINT TextFormat(DWORD style)
{
    UINT format = DT_EXPANDTABS;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER: format |= DT_CENTER | DT_WORDBREAK; break;
    case SS_RIGHT: format |= DT_RIGHT | DT_WORDBREAK; break;
    case SS_SIMPLE: format |= DT_SINGLELINE; break;
    case SS_LEFTNOWORDWRAP: format |= DT_LEFT; break;
    default: format |= DT_LEFT | DT_WORDBREAK; break;
    }
    if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
    if (style & SS_CENTERIMAGE) format = (format & ~DT_WORDBREAK) | DT_SINGLELINE | DT_VCENTER;
    if ((style & SS_WORDELLIPSIS) == SS_ENDELLIPSIS) format |= DT_END_ELLIPSIS;
    return format;
}

void PaintText(HWND hwnd, HDC hdc, RECT rect, DWORD style)
{
    const CString text = WindowText(hwnd);
    if (text.IsEmpty()) return;
    SetBkMode(hdc, TRANSPARENT);
    if (!IsWindowEnabled(hwnd)) SetTextColor(hdc, GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(hdc, text.GetString(), text.GetLength(), &rect, TextFormat(style));
}

void PaintImage(HDC hdc, const StaticState& state, const RECT& rect, DWORD style)
{
    if (!state.image) return;
    const bool centre = (style & SS_CENTERIMAGE) != 0;
    if ((style & SS_TYPEMASK) == SS_ICON) {
        SIZE size = {32, 32};
        ICONINFO info = {};
        if (GetIconInfo(static_cast<HICON>(state.image), &info)) {
            BITMAP bitmap = {};
            if (info.hbmColor && GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap)) size = {bitmap.bmWidth, bitmap.bmHeight};
            if (info.hbmColor) DeleteObject(info.hbmColor);
            if (info.hbmMask) DeleteObject(info.hbmMask);
        }
        const int x = centre ? (rect.left + rect.right - size.cx) / 2 : rect.left;
        const int y = centre ? (rect.top + rect.bottom - size.cy) / 2 : rect.top;
        DrawIcon(hdc, x, y, static_cast<HICON>(state.image));
        return;
    }
    HBITMAP bitmap = static_cast<HBITMAP>(state.image);
    BITMAP info = {};
    if (!GetObjectW(bitmap, sizeof(info), &info)) return;
    HDC memory = CreateCompatibleDC(hdc);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    const int x = centre ? (rect.left + rect.right - info.bmWidth) / 2 : rect.left;
    const int y = centre ? (rect.top + rect.bottom - info.bmHeight) / 2 : rect.top;
    BitBlt(hdc, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
}

void PaintOwnerDraw(HWND hwnd, HDC hdc, const RECT& rect)
{
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_STATIC;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
    item.itemAction = ODA_DRAWENTIRE;
    if (!IsWindowEnabled(hwnd)) item.itemState |= ODS_DISABLED;
    item.hwndItem = hwnd;
    item.hDC = hdc;
    item.rcItem = rect;
    if (HWND parent = GetParent(hwnd)) SendMessageW(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
}

void Paint(HWND hwnd)
{
    StaticState* state = State(hwnd);
    ControlPaint paint(hwnd);
    if (!paint || !state) return;
    const HDC hdc = paint.Dc();
    RECT rect = paint.Client();
    const DWORD style = Style(hwnd);
    paint.SelectFont(state->font);
    const HBRUSH background = ControlColors(hwnd, hdc, WM_CTLCOLORSTATIC);
    switch (style & SS_TYPEMASK) {
    case SS_BLACKRECT: FillRect(hdc, &rect, GetSysColorBrush(COLOR_WINDOWFRAME)); break;
    case SS_GRAYRECT: FillRect(hdc, &rect, GetSysColorBrush(COLOR_BTNSHADOW)); break;
    case SS_WHITERECT: FillRect(hdc, &rect, GetSysColorBrush(COLOR_WINDOW)); break;
    case SS_BLACKFRAME: FrameRect(hdc, &rect, GetSysColorBrush(COLOR_WINDOWFRAME)); break;
    case SS_GRAYFRAME: FrameRect(hdc, &rect, GetSysColorBrush(COLOR_BTNSHADOW)); break;
    case SS_WHITEFRAME: FrameRect(hdc, &rect, GetSysColorBrush(COLOR_WINDOW)); break;
    case SS_ETCHEDHORZ: DrawEdge(hdc, &rect, EDGE_ETCHED, BF_TOP | BF_BOTTOM); break;
    case SS_ETCHEDVERT: DrawEdge(hdc, &rect, EDGE_ETCHED, BF_LEFT | BF_RIGHT); break;
    case SS_ETCHEDFRAME: DrawEdge(hdc, &rect, EDGE_ETCHED, BF_RECT); break;
    case SS_OWNERDRAW: PaintOwnerDraw(hwnd, hdc, rect); break;
    case SS_ICON:
    case SS_BITMAP:
        FillRect(hdc, &rect, background);
        PaintImage(hdc, *state, rect, style);
        break;
    default:
        FillRect(hdc, &rect, background);
        PaintText(hwnd, hdc, rect, style);
        break;
    }
    if (style & SS_SUNKEN) DrawEdge(hdc, &rect, BDR_SUNKENOUTER, BF_RECT);
}

HANDLE SetImage(HWND hwnd, UINT type, HANDLE image)
{
    StaticState* state = State(hwnd);
    if (!state) return nullptr;
    const DWORD kind = Style(hwnd) & SS_TYPEMASK;
    if ((type == IMAGE_ICON && kind != SS_ICON) || (type == IMAGE_BITMAP && kind != SS_BITMAP)) return nullptr;
    HANDLE previous = state->ownsImage ? nullptr : state->image;
    if (state->ownsImage && state->image) DeleteObject(static_cast<HBITMAP>(state->image));
    state->image = image;
    state->ownsImage = false;
    InvalidateRect(hwnd, nullptr, TRUE);
    return previous;
}

LRESULT StaticWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    StaticState* state = State(hwnd);
    if (!state) return 0;
    const DWORD style = Style(hwnd);
    switch (message) {
    case WM_CREATE: LoadNamedImage(hwnd, reinterpret_cast<const CREATESTRUCTW*>(lParam)); return 0;
    case WM_NCHITTEST: return (style & SS_NOTIFY) ? HTCLIENT : HTTRANSPARENT;
    case WM_GETDLGCODE: return DLGC_STATIC;
    case WM_ERASEBKGND: return 1;   // static controls paint everything in WM_PAINT
    case WM_PAINT: Paint(hwnd); return 0;
    case WM_SETFONT:
        state->font = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(state->font);
    case WM_SETTEXT: {
        const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return result;
    }
    case WM_ENABLE:
        if (style & SS_NOTIFY) NotifyParent(hwnd, wParam ? STN_ENABLE : STN_DISABLE);
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
        if (style & SS_NOTIFY) NotifyParent(hwnd, STN_CLICKED);
        return 0;
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDBLCLK:
        if (style & SS_NOTIFY) NotifyParent(hwnd, STN_DBLCLK);
        return 0;
    case STM_SETICON: return reinterpret_cast<LRESULT>(SetImage(hwnd, IMAGE_ICON, reinterpret_cast<HANDLE>(wParam)));
    case STM_GETICON: return (style & SS_TYPEMASK) == SS_ICON ? reinterpret_cast<LRESULT>(state->image) : 0;
    case STM_SETIMAGE: return reinterpret_cast<LRESULT>(SetImage(hwnd, static_cast<UINT>(wParam), reinterpret_cast<HANDLE>(lParam)));
    case STM_GETIMAGE: {
        const DWORD kind = style & SS_TYPEMASK;
        const bool matches = (wParam == IMAGE_ICON && kind == SS_ICON) || (wParam == IMAGE_BITMAP && kind == SS_BITMAP);
        return matches ? reinterpret_cast<LRESULT>(state->image) : 0;
    }
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

const SystemClass s_staticClass(WC_STATIC, &StaticWndProc, CS_DBLCLKS | CS_PARENTDC, IDC_ARROW, 0, 0);

}  // namespace

}  // namespace platform::ui
