#include "platform/ui/display/DisplayMessageBox.h"

#include <algorithm>
#include <vector>

#include "platform/ui/framework/Dialog.h"
#include "platform/ui/windowing/DialogTemplate.h"

namespace platform::ui::display {

namespace {

struct BoxButton {
    int id;
    const wchar_t* text;
};

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
    // The default button starts with the focus, so that Return presses it.
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
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

    // The box's size from its text, in dialog units of the dialogs' font.
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
    const short buttonWidth = 50;
    const short buttonCount = static_cast<short>(state.buttons.size());
    const short width = static_cast<short>(
        std::clamp(longest * 3 + 24, buttonCount * (buttonWidth + 6) + 18, 400));
    const short textHeight = static_cast<short>(lines * 10);

    DialogTemplate box;
    box.style = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER;
    box.cx = width;
    box.cy = static_cast<short>(textHeight + 40);
    box.caption = request.caption;
    box.pointSize = 9;
    box.faceName = L"ＭＳ ゴシック";
    DialogItemTemplate label;
    label.style = WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX;
    label.x = 12;
    label.y = 10;
    label.cx = static_cast<short>(width - 24);
    label.cy = textHeight;
    label.id = 0xFFFF;
    label.className = L"Static";
    label.text = text;
    box.items.push_back(label);
    short x = static_cast<short>((width - buttonCount * (buttonWidth + 6) + 6) / 2);
    for (const BoxButton& button : state.buttons) {
        DialogItemTemplate item;
        item.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP |
                     static_cast<DWORD>(button.id == defaultAnswer ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        item.x = x;
        item.y = static_cast<short>(textHeight + 18);
        item.cx = buttonWidth;
        item.cy = 14;
        item.id = static_cast<DWORD>(button.id);
        item.className = L"Button";
        item.text = button.text;
        box.items.push_back(item);
        x = static_cast<short>(x + buttonWidth + 6);
    }
    const std::vector<BYTE> bytes = WriteDialogTemplate(box);
    if (!state.InitModalIndirect(reinterpret_cast<LPCDLGTEMPLATE>(bytes.data()), CWnd::FromHandle(request.owner)))
        return state.cancelAnswer;
    const INT_PTR answer = state.DoModal();
    return answer > 0 ? static_cast<int>(answer) : state.cancelAnswer;
}

}  // namespace platform::ui::display
