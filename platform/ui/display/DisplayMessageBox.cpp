#include "platform/ui/display/DisplayMessageBox.h"

#include <algorithm>
#include <vector>

#include "platform/gdi/DCObjectSelector.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/Dialog.h"
#include "platform/ui/windowing/DialogTemplate.h"
#include "platform/ui/windowing/Monitors.h"

namespace platform::ui::display {

namespace {

struct BoxButton {
    int id;
    const wchar_t* text;
};

// The text's control, and the box's measures in dialog units: the margin
// around the text, the room between the text and the buttons, the buttons'
// size and the room between them.
const int kTextId = 0xFFFF;
const short kMarginX = 12;
const short kMarginY = 10;
const short kButtonGap = 8;
const short kButtonWidth = 50;
const short kButtonHeight = 14;
const short kButtonSpacing = 6;
// How the text's control lays its text out (a left-aligned static).
const UINT kTextFormat = DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX;

std::vector<BoxButton> ButtonsOf(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, L"OK"}, {IDCANCEL, L"キャンセル"}};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, L"中止(&A)"}, {IDRETRY, L"再試行(&R)"}, {IDIGNORE, L"無視(&I)"}};
    case MB_YESNOCANCEL: return {{IDYES, L"はい(&Y)"}, {IDNO, L"いいえ(&N)"}, {IDCANCEL, L"キャンセル"}};
    case MB_YESNO: return {{IDYES, L"はい(&Y)"}, {IDNO, L"いいえ(&N)"}};
    case MB_RETRYCANCEL: return {{IDRETRY, L"再試行(&R)"}, {IDCANCEL, L"キャンセル"}};
    default: return {{IDOK, L"OK"}};
    }
}

// The box as a framework dialog, so that the keys of the dialog manager
// (Return for the default button, Escape to cancel) work as in any dialog.
class CBoxDialog : public CDialog {
public:
    std::vector<BoxButton> buttons;
    int cancelAnswer = IDCANCEL;
    int defaultAnswer = IDOK;

protected:
    // The box fits its text, then the default button takes the focus, so
    // that Return presses it.
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        FitToText();
        if (CWnd* button = GetDlgItem(defaultAnswer)) GotoDlgCtrl(button);
        return FALSE;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        const int id = LOWORD(wParam);
        // Escape and the close box send IDCANCEL, which a box without a
        // cancel button answers with its default.
        if (id == IDCANCEL) {
            EndDialog(cancelAnswer);
            return TRUE;
        }
        for (const BoxButton& button : buttons)
            if (button.id == id) {
                EndDialog(id);
                return TRUE;
            }
        return CDialog::OnCommand(wParam, lParam);
    }

private:
    // The template's size is a guess from the number of characters; the
    // text's real extent in its font, wrapped as its control wraps it, sizes
    // the box: as wide as its longest line up to three quarters of the work
    // area, and as high as all of its lines, the buttons centred below them.
    void FitToText()
    {
        CWnd* label = GetDlgItem(kTextId);
        if (!label) return;
        CString text;
        label->GetWindowText(text);
        CRect units(kMarginX, kMarginY, kButtonWidth, kButtonHeight);
        MapDialogRect(&units);
        CRect spacing(kButtonSpacing, kButtonGap, 0, 0);
        MapDialogRect(&spacing);
        const int marginX = units.left;
        const int marginY = units.top;
        const int buttonWidth = units.right;
        const int buttonHeight = units.bottom;
        const int buttonSpacing = spacing.left;
        const int buttonGap = spacing.top;

        MONITORINFO monitor = {};
        monitor.cbSize = sizeof(monitor);
        if (!GetMonitorInfoW(MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor)) return;
        const CRect work(monitor.rcWork);
        const int buttonCount = static_cast<int>(buttons.size());
        const int buttonsWidth = buttonCount * buttonWidth + (buttonCount - 1) * buttonSpacing;
        const int widest = std::max(work.Width() * 3 / 4 - 2 * marginX, buttonsWidth);

        CRect extent(0, 0, widest, 0);
        {
            CClientDC dc(label);
            CDCObjectSelector<CFont> font(dc, label->GetFont());
            // The longest line unwrapped, then wrapped at the narrower of it
            // and the widest box.
            CRect natural(0, 0, widest, 0);
            dc.DrawText(text, &natural, (kTextFormat & ~DT_WORDBREAK) | DT_CALCRECT);
            extent.right = std::min(natural.Width(), widest);
            dc.DrawText(text, &extent, kTextFormat | DT_CALCRECT);
        }
        const int textWidth = std::max<int>(extent.Width(), buttonsWidth);
        const int clientWidth = textWidth + 2 * marginX;
        const int clientHeight = marginY + extent.Height() + buttonGap + buttonHeight + marginY;

        label->SetWindowPos(nullptr, marginX, marginY, textWidth, extent.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
        int x = (clientWidth - buttonsWidth) / 2;
        for (const BoxButton& button : buttons) {
            if (CWnd* control = GetDlgItem(button.id))
                control->SetWindowPos(nullptr, x, marginY + extent.Height() + buttonGap, buttonWidth, buttonHeight,
                                      SWP_NOZORDER | SWP_NOACTIVATE);
            x += buttonWidth + buttonSpacing;
        }

        // The window about the same centre, kept inside the work area.
        CRect window(0, 0, clientWidth, clientHeight);
        ::AdjustWindowRectEx(&window, GetStyle(), FALSE, GetExStyle());
        CRect before;
        GetWindowRect(&before);
        const CPoint centre = before.CenterPoint();
        int left = centre.x - window.Width() / 2;
        int top = centre.y - window.Height() / 2;
        left = std::max<int>(work.left, std::min<int>(left, work.right - window.Width()));
        top = std::max<int>(work.top, std::min<int>(top, work.bottom - window.Height()));
        SetWindowPos(nullptr, left, top, window.Width(), window.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    }
};

}  // namespace

int ShowDisplayMessageBox(const MessageBoxRequest& request)
{
    CBoxDialog state;
    state.buttons = ButtonsOf(request.type);
    const int defaultAnswer = DefaultMessageBoxAnswer(request.type);
    state.cancelAnswer = defaultAnswer;
    state.defaultAnswer = defaultAnswer;
    for (const BoxButton& button : state.buttons)
        if (button.id == IDCANCEL) state.cancelAnswer = IDCANCEL;

    // A first size from the number of characters, in dialog units of the
    // dialogs' font; the box fits itself to its text as it opens.
    const CString& text = request.text;
    int lines = 1;
    int longest = 0;
    int run = 0;
    for (int i = 0; i < text.GetLength(); ++i) {
        if (text[i] == L'\n') {
            ++lines;
            run = 0;
            continue;
        }
        run += text[i] < 0x80 ? 1 : 2;
        longest = std::max(longest, run);
    }
    const short buttonCount = static_cast<short>(state.buttons.size());
    const short width = static_cast<short>(
        std::clamp(longest * 4 + 2 * kMarginX, buttonCount * (kButtonWidth + kButtonSpacing) + 18, 400));
    const short textHeight = static_cast<short>(lines * 10);

    DialogTemplate box;
    box.style = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER;
    box.cx = width;
    box.cy = static_cast<short>(kMarginY + textHeight + kButtonGap + kButtonHeight + kMarginY);
    box.caption = request.caption;
    box.pointSize = 9;
    box.faceName = L"ＭＳ ゴシック";
    DialogItemTemplate label;
    label.style = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
    label.x = kMarginX;
    label.y = kMarginY;
    label.cx = static_cast<short>(width - 2 * kMarginX);
    label.cy = textHeight;
    label.id = kTextId;
    label.className = L"Static";
    label.text = text;
    box.items.push_back(label);
    short x = static_cast<short>((width - buttonCount * (kButtonWidth + kButtonSpacing) + kButtonSpacing) / 2);
    for (const BoxButton& button : state.buttons) {
        DialogItemTemplate item;
        item.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                     static_cast<DWORD>(button.id == defaultAnswer ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        item.x = x;
        item.y = static_cast<short>(kMarginY + textHeight + kButtonGap);
        item.cx = kButtonWidth;
        item.cy = kButtonHeight;
        item.id = static_cast<DWORD>(button.id);
        item.className = L"Button";
        item.text = button.text;
        box.items.push_back(item);
        x = static_cast<short>(x + kButtonWidth + kButtonSpacing);
    }
    const std::vector<BYTE> bytes = WriteDialogTemplate(box);
    if (!state.InitModalIndirect(reinterpret_cast<LPCDLGTEMPLATE>(bytes.data()), CWnd::FromHandle(request.owner)))
        return state.cancelAnswer;
    const INT_PTR answer = state.DoModal();
    return answer > 0 ? static_cast<int>(answer) : state.cancelAnswer;
}

}  // namespace platform::ui::display
