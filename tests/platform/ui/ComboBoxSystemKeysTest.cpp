// A combo box in a dialog and the keys held with Alt: Alt+F4 closes the
// dialog wherever the focus is, a drop-down list or the edit of a drop-down
// combo box, and leaves the list up; Alt+Down still drops the list, and a
// plain F4 toggles it.
#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/framework/Dialog.h"
#include "platform/ui/framework/ModalDriver.h"
#include "platform/ui/windowing/ControlRecords.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/DialogTemplate.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/WindowManager.h"
#include "tests/platform/ui/UiTestSupport.h"

using platform::ui::Desktop;
using platform::ui::ModalDriverScope;

namespace {

const int kComboId = 300;
const int kEditId = 301;

// A dialog with a combo box of the style and an edit after it, which
// records the commands it is given.
class CComboDialog : public CDialog {
public:
    explicit CComboDialog(DWORD comboStyle)
    {
        platform::ui::DialogTemplate box;
        box.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
        box.cx = 160;
        box.cy = 60;
        box.caption = L"性別";
        box.pointSize = 9;
        box.faceName = L"ＭＳ ゴシック";
        platform::ui::DialogItemTemplate combo;
        combo.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | comboStyle;
        combo.x = 10;
        combo.y = 10;
        combo.cx = 80;
        combo.cy = 60;
        combo.id = kComboId;
        combo.className = L"ComboBox";
        box.items.push_back(combo);
        platform::ui::DialogItemTemplate edit;
        edit.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER;
        edit.x = 10;
        edit.y = 30;
        edit.cx = 80;
        edit.cy = 14;
        edit.id = kEditId;
        edit.className = L"Edit";
        box.items.push_back(edit);
        m_bytes = platform::ui::WriteDialogTemplate(box);
        InitModalIndirect(reinterpret_cast<LPCDLGTEMPLATE>(m_bytes.data()), nullptr);
    }
    std::vector<UINT> m_commands;

protected:
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        for (const wchar_t* item : {L"不明", L"男", L"女"})
            SendDlgItemMessage(kComboId, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
        SendDlgItemMessage(kComboId, CB_SETCURSEL, 1);
        return TRUE;
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (lParam == 0 || LOWORD(wParam) == IDCANCEL) m_commands.push_back(LOWORD(wParam));
        return CDialog::OnCommand(wParam, lParam);
    }

private:
    std::vector<BYTE> m_bytes;
};

bool Dropped(CDialog& dialog)
{
    return dialog.SendDlgItemMessage(kComboId, CB_GETDROPPEDSTATE) != 0;
}

bool Ended(CDialog& dialog)
{
    const platform::ui::WindowState* state = platform::ui::WindowManager::Instance().Find(dialog.m_hWnd);
    return state && state->dialog.ended;
}

class ComboBoxSystemKeysTest : public uitest::WindowLeakCheck,
                               public ::testing::WithParamInterface<DWORD> {};

}  // namespace

TEST_P(ComboBoxSystemKeysTest, AltF4WithTheFocusInTheComboBoxClosesTheDialogAndLeavesTheListUp)
{
    CComboDialog dialog(GetParam());
    bool dropped = true;
    bool ended = false;
    std::vector<UINT> heard;
    ModalDriverScope driver([&](CDialog& running) {
        running.GetDlgItem(kComboId)->SetFocus();
        Desktop::KeyPress(VK_F4, platform::ui::kAlt);
        Desktop::PumpMessages();
        dropped = Dropped(running);
        ended = Ended(running);
        heard = dialog.m_commands;
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_FALSE(dropped) << "Alt+F4 opened the list";
    EXPECT_TRUE(ended) << "Alt+F4 left the dialog open";
    EXPECT_EQ(std::vector<UINT>{IDCANCEL}, heard);
}

TEST_P(ComboBoxSystemKeysTest, AltDownDropsTheListAndAPlainF4ClosesItWithTheDialogOpen)
{
    CComboDialog dialog(GetParam());
    std::vector<bool> dropped;
    bool ended = true;
    ModalDriverScope driver([&](CDialog& running) {
        running.GetDlgItem(kComboId)->SetFocus();
        Desktop::KeyPress(VK_DOWN, platform::ui::kAlt);
        dropped.push_back(Dropped(running));
        Desktop::KeyPress(VK_F4);
        dropped.push_back(Dropped(running));
        Desktop::KeyPress(VK_F4);
        dropped.push_back(Dropped(running));
        Desktop::KeyPress(VK_F4);
        Desktop::PumpMessages();
        ended = Ended(running);
        running.EndDialog(IDOK);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ((std::vector<bool>{true, false, true}), dropped);
    EXPECT_FALSE(ended);
}

TEST_P(ComboBoxSystemKeysTest, AltF4WithTheFocusInTheFieldAfterTheComboBoxClosesTheDialog)
{
    CComboDialog dialog(GetParam());
    bool ended = false;
    ModalDriverScope driver([&](CDialog& running) {
        running.GetDlgItem(kEditId)->SetFocus();
        Desktop::KeyPress(VK_F4, platform::ui::kAlt);
        Desktop::PumpMessages();
        ended = Ended(running);
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_TRUE(ended);
    EXPECT_EQ(std::vector<UINT>{IDCANCEL}, dialog.m_commands);
}

INSTANTIATE_TEST_SUITE_P(DropListAndDropDown, ComboBoxSystemKeysTest,
                         ::testing::Values(static_cast<DWORD>(CBS_DROPDOWNLIST), static_cast<DWORD>(CBS_DROPDOWN)),
                         [](const ::testing::TestParamInfo<DWORD>& info) {
                             return info.param == static_cast<DWORD>(CBS_DROPDOWNLIST) ? "DropList" : "DropDown";
                         });
