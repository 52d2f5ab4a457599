// Dialogs made from templates: controls placed in dialog units of the
// dialog font, keyboard navigation (Tab order, arrows in a radio group,
// Return and the default button, Escape, mnemonics), data exchange with
// its failures, child panels, and the Win32 dialog functions.
#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/framework/Button.h"
#include "platform/ui/framework/DataExchange.h"
#include "platform/ui/framework/Dialog.h"
#include "platform/ui/framework/ModalDriver.h"
#include "platform/ui/framework/WinApp.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "tests/platform/ui/UiTestSupport.h"

using platform::ui::Desktop;
using platform::ui::ModalDriverScope;

namespace {

class TemplateDialogTest : public uitest::WindowLeakCheck {
protected:
    void SetUp() override
    {
        WindowLeakCheck::SetUp();
        ASSERT_TRUE(m_owner.CreateEx(0, uitest::kLoggedClass, L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800, 600,
                                     nullptr, nullptr));
    }
    void TearDown() override
    {
        m_owner.DestroyWindow();
        WindowLeakCheck::TearDown();
    }

    CWnd m_owner;
};

int FocusId()
{
    return GetDlgCtrlID(GetFocus());
}

// A dialog that records the commands of its buttons.
class CTabDialog : public CDialog {
public:
    explicit CTabDialog(CWnd* parent, UINT id = uitest::IDD_TAB_ORDER) : CDialog(id, parent) {}
    std::vector<UINT> m_commands;

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        m_commands.push_back(LOWORD(wParam));
        return CDialog::OnCommand(wParam, lParam);
    }
};

class CDataDialog : public CDialog {
public:
    explicit CDataDialog(CWnd* parent) : CDialog(uitest::IDD_DATA, parent) {}
    int m_nValue = 7;
    CString m_strText = L"初期値";
    int m_bCheck = BST_CHECKED;
    int m_nRadio = 2;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, 301, m_nValue);
        DDV_MinMaxInt(pDX, m_nValue, 0, 100);
        DDX_Text(pDX, 306, m_strText);
        DDX_Check(pDX, 302, m_bCheck);
        DDX_Radio(pDX, 303, m_nRadio);
    }
};

// A panel that hands its controls' commands to its parent, as the system's panels do.
class CForwardingPanel : public CDialog {
public:
    CForwardingPanel() : CDialog(uitest::IDD_PANEL) {}

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        GetParent()->SendMessage(WM_COMMAND, wParam, lParam);
        return TRUE;
    }
};

class CPaneWnd : public CWnd {
public:
    std::vector<UINT> m_clicks;

protected:
    afx_msg void OnLimb() { m_clicks.push_back(3481); }
    afx_msg void OnChest() { m_clicks.push_back(3482); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPaneWnd, CWnd)
    ON_BN_CLICKED(3481, OnLimb)
    ON_BN_CLICKED(3482, OnChest)
END_MESSAGE_MAP()

INT_PTR RawDialogProc(HWND hDlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetWindowLongPtrW(hDlg, DWLP_USER, lParam);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            EndDialog(hDlg, GetWindowLongPtrW(hDlg, DWLP_USER));
            return TRUE;
        }
        return FALSE;
    default: return FALSE;
    }
}

}  // namespace

TEST_F(TemplateDialogTest, ControlsArePlacedInDialogUnitsWithTheDialogFont)
{
    CTabDialog dialog(&m_owner);
    ModalDriverScope driver([](CDialog& running) {
        wchar_t caption[16];
        running.GetWindowText(caption, 16);
        EXPECT_STREQ(L"タブ順", caption);
        CWnd* first = running.GetDlgItem(201);
        ASSERT_NE(nullptr, first);
        CRect placed;
        first->GetWindowRect(&placed);
        running.ScreenToClient(&placed);
        // Place and size are converted separately, as Windows converts them.
        CRect place(7, 20, 0, 0);
        running.MapDialogRect(&place);
        CRect size(0, 0, 50, 14);
        running.MapDialogRect(&size);
        EXPECT_EQ(place.left, placed.left);
        EXPECT_EQ(place.top, placed.top);
        EXPECT_EQ(size.right, placed.Width());
        EXPECT_EQ(size.bottom, placed.Height());
        // The dialog font gives other units than the system font's 8 x 16.
        CRect units(0, 0, 4, 8);
        running.MapDialogRect(&units);
        EXPECT_GT(units.right, 0);
        EXPECT_GT(units.bottom, 0);
        CFont* font = running.GetFont();
        ASSERT_NE(nullptr, font);
        EXPECT_EQ(font->m_hObject, first->GetFont()->m_hObject);
        LOGFONT logFont = {};
        font->GetLogFont(&logFont);
        EXPECT_EQ(-12, logFont.lfHeight);   // 9 points at 96 dots per inch
        EXPECT_STREQ(L"ＭＳ ゴシック", logFont.lfFaceName);
        CWnd* hidden = running.GetDlgItem(204);
        EXPECT_FALSE(hidden->IsWindowVisible());
        EXPECT_FALSE(running.GetDlgItem(203)->IsWindowEnabled());
        running.EndDialog(IDOK);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
}

TEST_F(TemplateDialogTest, TabWalksTheTabStopsAndWraps)
{
    CTabDialog dialog(&m_owner);
    std::vector<int> forward;
    std::vector<int> backward;
    ModalDriverScope driver([&](CDialog&) {
        forward.push_back(FocusId());   // the first tab stop after WM_INITDIALOG
        for (int i = 0; i < 7; ++i) {
            Desktop::KeyPress(VK_TAB);
            forward.push_back(FocusId());
        }
        for (int i = 0; i < 2; ++i) {
            Desktop::KeyPress(VK_TAB, platform::ui::kShift);
            backward.push_back(FocusId());
        }
        Desktop::KeyPress(VK_ESCAPE);
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    // Disabled and hidden buttons are skipped; entering the radio group
    // checks its button, and the unchecked ones stop being tab stops.
    EXPECT_EQ((std::vector<int>{201, 202, 210, 220, IDOK, IDCANCEL, 201, 202}), forward);
    EXPECT_EQ((std::vector<int>{201, IDCANCEL}), backward);
}

TEST_F(TemplateDialogTest, ArrowsMoveWithinTheRadioGroupAndCheck)
{
    CTabDialog dialog(&m_owner);
    std::vector<int> visited;
    std::vector<UINT> checks;
    ModalDriverScope driver([&](CDialog& running) {
        running.GotoDlgCtrl(running.GetDlgItem(210));
        for (UINT key : {VK_DOWN, VK_RIGHT, VK_DOWN, VK_UP}) {
            Desktop::KeyPress(key);
            visited.push_back(FocusId());
            checks.push_back(running.IsDlgButtonChecked(210) | running.IsDlgButtonChecked(211) << 1 |
                             running.IsDlgButtonChecked(212) << 2);
        }
        running.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_EQ((std::vector<int>{211, 212, 210, 212}), visited);
    EXPECT_EQ((std::vector<UINT>{2, 4, 1, 4}), checks);
}

TEST_F(TemplateDialogTest, ReturnPressesTheDefaultButtonOrTheFocusedOne)
{
    CTabDialog dialog(&m_owner);
    std::vector<DWORD> styles;
    ModalDriverScope driver([&](CDialog& running) {
        EXPECT_EQ(static_cast<DWORD>(MAKELONG(IDOK, DC_HASDEFID)), running.GetDefID());
        CWnd* first = running.GetDlgItem(201);
        CWnd* ok = running.GetDlgItem(IDOK);
        // The focused push button is the default while it has the focus.
        EXPECT_EQ(201, FocusId());
        EXPECT_EQ(static_cast<DWORD>(BS_DEFPUSHBUTTON), first->GetStyle() & BS_TYPEMASK);
        EXPECT_EQ(static_cast<DWORD>(BS_PUSHBUTTON), ok->GetStyle() & BS_TYPEMASK);
        Desktop::KeyPress(VK_RETURN);   // presses First, which does not end the dialog
        EXPECT_TRUE(running.IsWindowVisible());
        running.GotoDlgCtrl(running.GetDlgItem(202));
        EXPECT_EQ(static_cast<DWORD>(BS_PUSHBUTTON), first->GetStyle() & BS_TYPEMASK);
        EXPECT_EQ(static_cast<DWORD>(BS_DEFPUSHBUTTON), ok->GetStyle() & BS_TYPEMASK);
        Desktop::KeyPress(VK_RETURN);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ((std::vector<UINT>{201, IDOK}), dialog.m_commands);
}

TEST_F(TemplateDialogTest, ReturnWithoutADefaultButtonStillMeansOk)
{
    CTabDialog dialog(&m_owner, uitest::IDD_NO_DEFAULT);
    ModalDriverScope driver([](CDialog& running) {
        // The check box has the focus and no button is the default.
        EXPECT_EQ(702, FocusId());
        EXPECT_EQ(0u, running.GetDefID());
        Desktop::KeyPress(VK_RETURN);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
}

TEST_F(TemplateDialogTest, MnemonicsPressButtonsAndSkipLabels)
{
    CTabDialog dialog(&m_owner);
    ModalDriverScope driver([](CDialog& running) {
        Desktop::KeyPress('C', platform::ui::kAlt);
        EXPECT_EQ(BST_CHECKED, running.IsDlgButtonChecked(202));
        EXPECT_EQ(202, FocusId());
        Desktop::KeyPress('N', platform::ui::kAlt);   // the label's next control takes the focus
        EXPECT_EQ(201, FocusId());
        running.EndDialog(IDOK);
    });
    dialog.DoModal();
}

TEST_F(TemplateDialogTest, DataExchangeLoadsValidatesAndSaves)
{
    platform::ui::MessageBoxRecorder boxes;
    CDataDialog dialog(&m_owner);
    ModalDriverScope driver([&](CDialog& running) {
        CString text;
        running.GetDlgItemText(301, text);
        EXPECT_EQ(CString(L"7"), text);
        running.GetDlgItemText(306, text);
        EXPECT_EQ(CString(L"初期値"), text);
        EXPECT_EQ(BST_CHECKED, running.IsDlgButtonChecked(302));
        EXPECT_EQ(305, running.GetCheckedRadioButton(303, 305));

        running.SetDlgItemText(301, L"12x");
        running.SetDlgItemText(306, L"変更");
        running.OnCmdMsg(IDOK, CN_COMMAND, nullptr, nullptr);
        EXPECT_EQ(1, boxes.Count());
        EXPECT_EQ(CString(L"Please enter an integer."), boxes.Last().text);
        EXPECT_EQ(301, FocusId());   // the field that failed
        EXPECT_TRUE(running.IsWindowVisible());

        running.SetDlgItemText(301, L"101");   // parses, but out of range
        running.OnCmdMsg(IDOK, CN_COMMAND, nullptr, nullptr);
        EXPECT_EQ(2, boxes.Count());
        EXPECT_EQ(CString(L"Please enter an integer between 0 and 100."), boxes.Last().text);

        running.SetDlgItemText(301, L" 42 ");
        running.CheckDlgButton(302, BST_UNCHECKED);
        running.CheckRadioButton(303, 305, 303);
        running.OnCmdMsg(IDOK, CN_COMMAND, nullptr, nullptr);
    });
    EXPECT_EQ(IDOK, dialog.DoModal());
    EXPECT_EQ(42, dialog.m_nValue);
    EXPECT_EQ(CString(L"変更"), dialog.m_strText);
    EXPECT_EQ(BST_UNCHECKED, dialog.m_bCheck);
    EXPECT_EQ(0, dialog.m_nRadio);
}

TEST_F(TemplateDialogTest, CancelLeavesTheMembersAlone)
{
    CDataDialog dialog(&m_owner);
    ModalDriverScope driver([](CDialog& running) {
        running.SetDlgItemText(301, L"99");
        Desktop::KeyPress(VK_ESCAPE);
    });
    EXPECT_EQ(IDCANCEL, dialog.DoModal());
    EXPECT_EQ(7, dialog.m_nValue);
}

TEST_F(TemplateDialogTest, ChildPanelForwardsItsButtonsToThePane)
{
    CPaneWnd pane;
    ASSERT_TRUE(pane.CreateEx(0, nullptr, L"pane", WS_CHILD | WS_VISIBLE, CRect(0, 0, 400, 300), &m_owner, 5));
    CForwardingPanel panel;
    ASSERT_TRUE(panel.Create(uitest::IDD_PANEL, &pane));
    EXPECT_EQ(&pane, panel.GetParent());
    EXPECT_TRUE(panel.GetStyle() & WS_CHILD);
    EXPECT_TRUE(panel.GetExStyle() & WS_EX_CONTROLPARENT);   // DS_CONTROL
    EXPECT_FALSE(panel.IsWindowVisible());   // the template has no WS_VISIBLE: the pane shows it
    panel.ShowWindow(SW_SHOW);
    CWnd* limb = panel.GetDlgItem(3481);
    ASSERT_NE(nullptr, limb);
    Desktop::Click(limb->m_hWnd, 3, 3);
    panel.GetDlgItem(3482)->SendMessage(BM_CLICK);
    EXPECT_EQ((std::vector<UINT>{3481, 3482}), pane.m_clicks);
    pane.DestroyWindow();
    EXPECT_EQ(nullptr, panel.m_hWnd);
}

TEST_F(TemplateDialogTest, MissingTemplatesFailModelessCreation)
{
    CDialog missing(4242u);
    EXPECT_FALSE(missing.Create(4242u, &m_owner));
    EXPECT_EQ(nullptr, missing.m_hWnd);
}

TEST_F(TemplateDialogTest, Win32DialogBoxRunsItsDialogProcedureAndReturnsItsResult)
{
    ModalDriverScope driver([](CWnd& running) {
        HWND ok = ::GetDlgItem(running.m_hWnd, IDOK);
        ASSERT_NE(nullptr, ok);
        EXPECT_EQ(1234, GetWindowLongPtrW(running.m_hWnd, DWLP_USER));
        Desktop::Click(ok, 5, 5);
    });
    EXPECT_EQ(1234, DialogBoxParamW(platform::ui::ExecutableModule(), MAKEINTRESOURCE(uitest::IDD_TAB_ORDER),
                                    m_owner.m_hWnd, &RawDialogProc, 1234));
    EXPECT_TRUE(m_owner.IsWindowEnabled());
    EXPECT_EQ(-1, DialogBoxParamW(platform::ui::ExecutableModule(), MAKEINTRESOURCE(4242), m_owner.m_hWnd,
                                  &RawDialogProc, 0));
}

TEST_F(TemplateDialogTest, ModelessWin32DialogIsOwnedAndAnswersTheDialogHelpers)
{
    HWND hDlg = CreateDialogParamW(platform::ui::ExecutableModule(), MAKEINTRESOURCE(uitest::IDD_DATA), m_owner.m_hWnd,
                                   &RawDialogProc, 5);
    ASSERT_NE(nullptr, hDlg);
    EXPECT_EQ(m_owner.m_hWnd, GetParent(hDlg));   // its owner
    EXPECT_EQ(nullptr, GetDlgItem(hDlg, 9999));
    struct Case {
        const wchar_t* text;
        BOOL isSigned;
        BOOL translated;
        UINT value;
    };
    const Case cases[] = {
        {L" 12 ", TRUE, TRUE, 12},
        {L"-5", TRUE, TRUE, static_cast<UINT>(-5)},
        {L"-5", FALSE, FALSE, 0},
        {L"1x", TRUE, FALSE, 0},
        {L"", TRUE, FALSE, 0},
        {L"4294967295", FALSE, TRUE, 4294967295u},
        {L"4294967295", TRUE, FALSE, 0},
        {L"-2147483648", TRUE, TRUE, 0x80000000u},
        {L"99999999999", FALSE, FALSE, 0},
    };
    for (const Case& c : cases) {
        SetDlgItemTextW(hDlg, 301, c.text);
        BOOL translated = -1;
        EXPECT_EQ(c.value, GetDlgItemInt(hDlg, 301, &translated, c.isSigned)) << c.text;
        EXPECT_EQ(c.translated, translated) << c.text;
    }
    EXPECT_TRUE(SetDlgItemInt(hDlg, 301, static_cast<UINT>(-3), TRUE));
    wchar_t text[8];
    GetDlgItemTextW(hDlg, 301, text, 8);
    EXPECT_STREQ(L"-3", text);
    EXPECT_TRUE(CheckRadioButton(hDlg, 303, 305, 304));
    EXPECT_EQ(static_cast<UINT>(BST_CHECKED), IsDlgButtonChecked(hDlg, 304));
    EXPECT_EQ(static_cast<UINT>(BST_UNCHECKED), IsDlgButtonChecked(hDlg, 303));
    EXPECT_FALSE(CheckDlgButton(hDlg, 9999, BST_CHECKED));
    // EndDialog on a modeless dialog hides it; only DestroyWindow takes it away.
    EXPECT_TRUE(EndDialog(hDlg, 1));
    EXPECT_TRUE(IsWindow(hDlg));
    EXPECT_FALSE(IsWindowVisible(hDlg));
    EXPECT_FALSE(EndDialog(m_owner.m_hWnd, 1));   // not a dialog
    DestroyWindow(hDlg);
}

TEST_F(TemplateDialogTest, ModalDialogIsCentredOnItsOwner)
{
    m_owner.MoveWindow(100, 50, 600, 400);
    CTabDialog dialog(&m_owner);
    ModalDriverScope driver([&](CDialog& running) {
        CRect owner;
        m_owner.GetWindowRect(&owner);
        CRect placed;
        running.GetWindowRect(&placed);
        EXPECT_NEAR(owner.CenterPoint().x, placed.CenterPoint().x, 1);
        EXPECT_NEAR(owner.CenterPoint().y, placed.CenterPoint().y, 1);
        EXPECT_EQ(running.m_hWnd, ::GetActiveWindow());
        running.EndDialog(IDOK);
    });
    dialog.DoModal();
    EXPECT_EQ(m_owner.m_hWnd, ::GetActiveWindow());   // the owner takes the activation back
}
