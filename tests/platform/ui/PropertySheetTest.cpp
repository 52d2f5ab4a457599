// Property sheets: tabs named after the pages, pages made when first shown,
// leaving a page asked first, OK and Apply applying the pages made so far,
// Cancel resetting them, a sheet inside a dialog, and the keyboard.
#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/framework/DataExchange.h"
#include "platform/ui/framework/Dialog.h"
#include "platform/ui/framework/ModalDriver.h"
#include "platform/ui/framework/PropertySheet.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/platform/ui/UiTestSupport.h"

using platform::ui::Desktop;
using platform::ui::ModalDriverScope;

namespace {

class CCountingPage : public CPropertyPage {
public:
    explicit CCountingPage(UINT id) : CPropertyPage(id) {}
    BOOL OnSetActive() override
    {
        ++m_nSetActive;
        return CPropertyPage::OnSetActive();
    }
    BOOL OnKillActive() override
    {
        ++m_nKillActive;
        return m_bRefuseLeave ? FALSE : CPropertyPage::OnKillActive();
    }
    void OnOK() override { ++m_nOk; }
    void OnCancel() override { ++m_nCancel; }
    int m_nSetActive = 0;
    int m_nKillActive = 0;
    int m_nOk = 0;
    int m_nCancel = 0;
    BOOL m_bRefuseLeave = FALSE;
};

class CGeneralPage : public CCountingPage {
public:
    CGeneralPage() : CCountingPage(uitest::IDD_PAGE_GENERAL) {}
    CString m_strName = L"名前";
    int m_bOption = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Text(pDX, 501, m_strName);
        DDX_Check(pDX, 502, m_bOption);
    }
};

class CDetailPage : public CCountingPage {
public:
    CDetailPage() : CCountingPage(uitest::IDD_PAGE_DETAIL) {}

protected:
    afx_msg LRESULT OnQuerySiblings(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam) * 2; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDetailPage, CCountingPage)
    ON_MESSAGE(PSM_QUERYSIBLINGS, OnQuerySiblings)
END_MESSAGE_MAP()

class PropertySheetTest : public uitest::WindowLeakCheck {
protected:
    void SetUp() override
    {
        WindowLeakCheck::SetUp();
        ASSERT_TRUE(m_owner.CreateEx(0, uitest::kLoggedClass, L"main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 800,
                                     600, nullptr, nullptr));
        m_sheet.AddPage(&m_general);
        m_sheet.AddPage(&m_detail);
    }
    void TearDown() override
    {
        m_owner.DestroyWindow();
        WindowLeakCheck::TearDown();
    }

    CWnd m_owner;
    CGeneralPage m_general;
    CDetailPage m_detail;
    CPropertySheet m_sheet{L"シート", &m_owner};
};

void ClickTab(CPropertySheet& sheet, int index)
{
    CTabCtrl* tab = sheet.GetTabControl();
    ASSERT_NE(nullptr, tab);
    CRect item;
    ASSERT_TRUE(tab->GetItemRect(index, &item));
    Desktop::Click(tab->m_hWnd, item.CenterPoint().x, item.CenterPoint().y);
}

CString TabText(CTabCtrl* tab, int index)
{
    wchar_t text[32] = {};
    TCITEM item = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 32;
    tab->GetItem(index, &item);
    return CString(text);
}

}  // namespace

TEST_F(PropertySheetTest, PagesAreMadeWhenFirstShownAndAppliedOnOk)
{
    ModalDriverScope driver([&](CPropertySheet& running) {
        CString caption;
        running.GetWindowText(caption);
        EXPECT_EQ(CString(L"シート"), caption);
        CTabCtrl* tab = running.GetTabControl();
        ASSERT_NE(nullptr, tab);
        EXPECT_EQ(2, tab->GetItemCount());
        EXPECT_EQ(CString(L"一般"), TabText(tab, 0));
        EXPECT_EQ(CString(L"詳細"), TabText(tab, 1));
        EXPECT_EQ(0, running.GetActiveIndex());
        EXPECT_NE(nullptr, m_general.m_hWnd);
        EXPECT_EQ(nullptr, m_detail.m_hWnd);   // not shown yet
        CString name;
        m_general.GetDlgItemText(501, name);
        EXPECT_EQ(CString(L"名前"), name);
        ASSERT_NE(nullptr, running.GetDlgItem(IDOK));
        ASSERT_NE(nullptr, running.GetDlgItem(IDCANCEL));
        EXPECT_FALSE(running.GetDlgItem(ID_APPLY_NOW)->IsWindowEnabled());

        // The page sits in the tab's display area.
        CRect display;
        tab->GetWindowRect(&display);
        tab->AdjustRect(FALSE, &display);
        CRect page;
        m_general.GetWindowRect(&page);
        EXPECT_EQ(display.TopLeft(), page.TopLeft());

        m_general.SetDlgItemText(501, L"変更");
        ClickTab(running, 1);
        EXPECT_EQ(1, running.GetActiveIndex());
        EXPECT_NE(nullptr, m_detail.m_hWnd);
        EXPECT_FALSE(m_general.IsWindowVisible());
        EXPECT_TRUE(m_detail.IsWindowVisible());
        EXPECT_EQ(CString(L"変更"), m_general.m_strName);   // taken when the page was left
        Desktop::Click(running.GetDlgItem(IDOK)->m_hWnd, 5, 5);
    });
    EXPECT_EQ(IDOK, m_sheet.DoModal());
    EXPECT_EQ(1, m_general.m_nOk);
    EXPECT_EQ(1, m_detail.m_nOk);
    EXPECT_EQ(0, m_general.m_nCancel);
    EXPECT_EQ(nullptr, m_general.m_hWnd);   // the windows went with the sheet
    EXPECT_EQ(1, m_general.m_nSetActive);   // shown once
    EXPECT_EQ(1, m_general.m_nKillActive);
}

TEST_F(PropertySheetTest, AClickOnAPagesControlReachesItThroughTheTabControlAndTheTabsStillSwitch)
{
    ModalDriverScope driver([&](CPropertySheet& running) {
        CWnd* option = m_general.GetDlgItem(502);
        ASSERT_NE(nullptr, option);
        Desktop::Click(option->m_hWnd, 3, 3);
        EXPECT_EQ(option->m_hWnd, ::GetFocus());
        EXPECT_EQ(BST_CHECKED, m_general.IsDlgButtonChecked(502));
        ClickTab(running, 1);
        EXPECT_EQ(1, running.GetActiveIndex());
        running.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, m_sheet.DoModal());
}

TEST_F(PropertySheetTest, APageThatRefusesToBeLeftKeepsTheSheetOnIt)
{
    m_general.m_bRefuseLeave = TRUE;
    ModalDriverScope driver([&](CPropertySheet& running) {
        ClickTab(running, 1);
        EXPECT_EQ(0, running.GetActiveIndex());
        EXPECT_EQ(0, running.GetTabControl()->GetCurSel());
        EXPECT_EQ(nullptr, m_detail.m_hWnd);
        EXPECT_FALSE(running.SetActivePage(1));
        running.PressButton(PSBTN_OK);   // refused as well: OK leaves the page first
        EXPECT_TRUE(running.IsWindowVisible());
        m_general.m_bRefuseLeave = FALSE;
        EXPECT_TRUE(running.SetActivePage(&m_detail));
        running.PressButton(PSBTN_CANCEL);
    });
    EXPECT_EQ(IDCANCEL, m_sheet.DoModal());
    EXPECT_EQ(0, m_general.m_nOk);
    EXPECT_EQ(1, m_general.m_nCancel);   // every page made is reset
    EXPECT_EQ(1, m_detail.m_nCancel);
}

TEST_F(PropertySheetTest, ApplyAppliesWithoutClosing)
{
    ModalDriverScope driver([&](CPropertySheet& running) {
        CWnd* apply = running.GetDlgItem(ID_APPLY_NOW);
        m_general.SetModified();
        EXPECT_TRUE(apply->IsWindowEnabled());
        Desktop::Click(apply->m_hWnd, 3, 3);
        EXPECT_EQ(1, m_general.m_nOk);
        EXPECT_FALSE(apply->IsWindowEnabled());
        EXPECT_TRUE(running.IsWindowVisible());
        Desktop::KeyPress(VK_ESCAPE);
    });
    EXPECT_EQ(IDCANCEL, m_sheet.DoModal());
}

TEST_F(PropertySheetTest, SheetStartsAtItsStartPageAndKeysSwitchPages)
{
    EXPECT_TRUE(m_sheet.SetActivePage(1));   // before the sheet exists: where it starts
    ModalDriverScope driver([&](CPropertySheet& running) {
        EXPECT_EQ(1, running.GetActiveIndex());
        EXPECT_EQ(nullptr, m_general.m_hWnd);
        Desktop::KeyPress(VK_TAB, platform::ui::kControl);
        EXPECT_EQ(0, running.GetActiveIndex());
        Desktop::KeyPress(VK_NEXT, platform::ui::kControl);
        EXPECT_EQ(1, running.GetActiveIndex());
        EXPECT_EQ(6, running.GetActivePage()->QuerySiblings(3, 0));
        Desktop::KeyPress(VK_RETURN);   // the default button is OK
    });
    EXPECT_EQ(IDOK, m_sheet.DoModal());
    EXPECT_FALSE(m_sheet.SetActivePage(5));
}

TEST_F(PropertySheetTest, SheetInsideADialogSharesItsTabOrder)
{
    CDialog host(uitest::IDD_DATA, &m_owner);
    ASSERT_TRUE(host.Create(uitest::IDD_DATA, &m_owner));
    host.ShowWindow(SW_SHOW);
    CPropertySheet sheet(L"", &host);
    sheet.AddPage(&m_general);
    sheet.AddPage(&m_detail);
    ASSERT_TRUE(sheet.Create(&host, WS_CHILD | WS_VISIBLE));
    EXPECT_EQ(&host, sheet.GetParent());
    EXPECT_EQ(nullptr, sheet.GetDlgItem(IDOK));   // no buttons of its own
    EXPECT_TRUE(sheet.GetExStyle() & WS_EX_CONTROLPARENT);
    ASSERT_NE(nullptr, m_general.m_hWnd);
    // From the dialog's last control Tab goes on into the sheet and its page.
    HWND last = ::GetDlgItem(host.m_hWnd, IDCANCEL);
    HWND next = ::GetNextDlgTabItem(host.m_hWnd, last, FALSE);
    EXPECT_TRUE(next == sheet.GetTabControl()->m_hWnd || ::IsChild(sheet.m_hWnd, next));
    HWND inPage = ::GetNextDlgTabItem(host.m_hWnd, sheet.GetTabControl()->m_hWnd, FALSE);
    EXPECT_TRUE(::IsChild(m_general.m_hWnd, inPage));
    host.DestroyWindow();
    EXPECT_EQ(nullptr, sheet.m_hWnd);
    EXPECT_EQ(nullptr, m_general.m_hWnd);
}

TEST_F(PropertySheetTest, PagesCanBeRemovedAndAddedWhileShown)
{
    CPropertySheet sheet(L"", &m_owner);
    sheet.AddPage(&m_general);
    sheet.AddPage(&m_detail);
    ASSERT_TRUE(sheet.Create(&m_owner));
    sheet.RemovePage(0);
    EXPECT_EQ(1, sheet.GetPageCount());
    EXPECT_EQ(&m_detail, sheet.GetActivePage());
    EXPECT_EQ(nullptr, m_general.m_hWnd);
    EXPECT_EQ(1, sheet.GetTabControl()->GetItemCount());
    sheet.AddPage(&m_general);
    EXPECT_EQ(2, sheet.GetTabControl()->GetItemCount());
    EXPECT_EQ(1, sheet.GetPageIndex(&m_general));
    sheet.DestroyWindow();
}

namespace {

// A third page: two buttons, the first of them the page's first control.
class CPanelPage : public CCountingPage {
public:
    CPanelPage() : CCountingPage(uitest::IDD_PANEL)
    {
        m_psp.dwFlags |= PSP_USETITLE;
        m_psp.pszTitle = L"パネル";
    }
};

// A sheet of three pages, the keyboard in the first page's check box.
class PropertySheetKeysTest : public PropertySheetTest {
protected:
    void SetUp() override
    {
        PropertySheetTest::SetUp();
        m_sheet.AddPage(&m_panel);
    }
    // Clicks the first page's check box: the keys go to the page.
    void FocusFirstPage()
    {
        CWnd* option = m_general.GetDlgItem(502);
        ASSERT_NE(nullptr, option);
        Desktop::Click(option->m_hWnd, 3, 3);
        ASSERT_EQ(option->m_hWnd, ::GetFocus());
    }
    HWND Control(CPropertyPage& page, int id) { return ::GetDlgItem(page.m_hWnd, id); }

    CPanelPage m_panel;
};

}  // namespace

TEST_F(PropertySheetKeysTest, CtrlTabInAPageTurnsToTheNextPageWhoseFirstControlTakesTheFocus)
{
    ModalDriverScope driver([&](CPropertySheet& running) {
        FocusFirstPage();
        if (HasFatalFailure()) return;
        Desktop::KeyPress(VK_TAB, platform::ui::kControl);
        EXPECT_EQ(1, running.GetActiveIndex());
        EXPECT_EQ(1, running.GetTabControl()->GetCurSel());
        EXPECT_TRUE(m_detail.IsWindowVisible());
        EXPECT_FALSE(m_general.IsWindowVisible());
        EXPECT_EQ(1, m_general.m_nKillActive);   // the page left was asked
        EXPECT_EQ(Control(m_detail, 602), ::GetFocus());   // its label takes no focus: the button does
        Desktop::KeyPress(VK_TAB, platform::ui::kControl);
        EXPECT_EQ(2, running.GetActiveIndex());
        EXPECT_EQ(Control(m_panel, 3481), ::GetFocus());
        Desktop::KeyPress(VK_TAB, platform::ui::kControl);   // round to the first
        EXPECT_EQ(0, running.GetActiveIndex());
        EXPECT_EQ(Control(m_general, 502), ::GetFocus());
        running.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, m_sheet.DoModal());
}

TEST_F(PropertySheetKeysTest, CtrlShiftTabOnTheFirstPageWrapsToTheLastPage)
{
    ModalDriverScope driver([&](CPropertySheet& running) {
        FocusFirstPage();
        if (HasFatalFailure()) return;
        Desktop::KeyPress(VK_TAB, platform::ui::kControl | platform::ui::kShift);
        EXPECT_EQ(2, running.GetActiveIndex());
        EXPECT_EQ(2, running.GetTabControl()->GetCurSel());
        EXPECT_TRUE(m_panel.IsWindowVisible());
        EXPECT_EQ(nullptr, m_detail.m_hWnd);   // passed over, never shown
        EXPECT_EQ(Control(m_panel, 3481), ::GetFocus());
        Desktop::KeyPress(VK_TAB, platform::ui::kControl | platform::ui::kShift);
        EXPECT_EQ(1, running.GetActiveIndex());
        EXPECT_EQ(Control(m_detail, 602), ::GetFocus());
        running.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, m_sheet.DoModal());
}

TEST_F(PropertySheetKeysTest, CtrlPageDownAndCtrlPageUpTurnThePagesBothWays)
{
    ModalDriverScope driver([&](CPropertySheet& running) {
        FocusFirstPage();
        if (HasFatalFailure()) return;
        Desktop::KeyPress(VK_NEXT, platform::ui::kControl);
        EXPECT_EQ(1, running.GetActiveIndex());
        Desktop::KeyPress(VK_NEXT, platform::ui::kControl);
        EXPECT_EQ(2, running.GetActiveIndex());
        EXPECT_EQ(Control(m_panel, 3481), ::GetFocus());
        Desktop::KeyPress(VK_PRIOR, platform::ui::kControl);
        EXPECT_EQ(1, running.GetActiveIndex());
        EXPECT_EQ(Control(m_detail, 602), ::GetFocus());
        Desktop::KeyPress(VK_PRIOR, platform::ui::kControl);
        Desktop::KeyPress(VK_PRIOR, platform::ui::kControl);   // round to the last
        EXPECT_EQ(2, running.GetActiveIndex());
        EXPECT_EQ(Control(m_panel, 3481), ::GetFocus());
        running.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, m_sheet.DoModal());
}

TEST_F(PropertySheetKeysTest, APageRefusingToBeLeftKeepsTheSheetAndTheFocusWhereTheyAre)
{
    m_general.m_bRefuseLeave = TRUE;
    ModalDriverScope driver([&](CPropertySheet& running) {
        FocusFirstPage();
        if (HasFatalFailure()) return;
        const HWND option = Control(m_general, 502);
        Desktop::KeyPress(VK_TAB, platform::ui::kControl);
        Desktop::KeyPress(VK_NEXT, platform::ui::kControl);
        Desktop::KeyPress(VK_TAB, platform::ui::kControl | platform::ui::kShift);
        EXPECT_EQ(3, m_general.m_nKillActive);   // asked every time
        EXPECT_EQ(0, running.GetActiveIndex());
        EXPECT_EQ(0, running.GetTabControl()->GetCurSel());
        EXPECT_TRUE(m_general.IsWindowVisible());
        EXPECT_EQ(nullptr, m_detail.m_hWnd);
        EXPECT_EQ(nullptr, m_panel.m_hWnd);
        EXPECT_EQ(option, ::GetFocus());
        m_general.m_bRefuseLeave = FALSE;
        Desktop::KeyPress(VK_TAB, platform::ui::kControl);
        EXPECT_EQ(1, running.GetActiveIndex());
        running.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, m_sheet.DoModal());
}

TEST_F(PropertySheetKeysTest, CtrlTabInAPageOfASheetInsideADialogTurnsThePage)
{
    CDialog host(uitest::IDD_DATA, &m_owner);
    ASSERT_TRUE(host.Create(uitest::IDD_DATA, &m_owner));
    host.ShowWindow(SW_SHOW);
    CPropertySheet sheet(L"", &host);
    sheet.AddPage(&m_general);
    sheet.AddPage(&m_detail);
    sheet.AddPage(&m_panel);
    ASSERT_TRUE(sheet.Create(&host, WS_CHILD | WS_VISIBLE));
    // Below the dialog's own controls, so that a click on the page reaches it.
    CRect controls;
    host.GetClientRect(&controls);
    host.SetWindowPos(nullptr, 0, 0, 700, 700, SWP_NOMOVE | SWP_NOZORDER);
    sheet.SetWindowPos(nullptr, 0, controls.bottom, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    FocusFirstPage();
    if (HasFatalFailure()) return;
    Desktop::KeyPress(VK_TAB, platform::ui::kControl);
    EXPECT_EQ(1, sheet.GetActiveIndex());
    EXPECT_EQ(Control(m_detail, 602), ::GetFocus());   // not the dialog's next control
    Desktop::KeyPress(VK_PRIOR, platform::ui::kControl);
    EXPECT_EQ(0, sheet.GetActiveIndex());
    EXPECT_EQ(Control(m_general, 502), ::GetFocus());
    host.DestroyWindow();
}

namespace {

// A sheet of three pages inside a dialog, below the dialog's own controls,
// with the keyboard on the dialog's OK button, as in a dialog that opens
// with its buttons holding the keyboard.
class SheetInDialogKeysTest : public PropertySheetKeysTest {
protected:
    void SetUp() override
    {
        PropertySheetKeysTest::SetUp();
        ASSERT_TRUE(m_host.Create(uitest::IDD_DATA, &m_owner));
        m_host.ShowWindow(SW_SHOW);
        CRect controls;
        m_host.GetClientRect(&controls);
        m_host.SetWindowPos(nullptr, 0, 0, 700, 700, SWP_NOMOVE | SWP_NOZORDER);
        m_inner.AddPage(&m_general);
        m_inner.AddPage(&m_detail);
        m_inner.AddPage(&m_panel);
        ASSERT_TRUE(m_inner.Create(&m_host, WS_CHILD | WS_VISIBLE));
        m_inner.SetWindowPos(nullptr, 0, controls.bottom, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        m_ok = ::GetDlgItem(m_host.m_hWnd, IDOK);
        ASSERT_NE(nullptr, m_ok);
        m_host.GotoDlgCtrl(CWnd::FromHandle(m_ok));
        ASSERT_EQ(m_ok, ::GetFocus());
    }
    void TearDown() override
    {
        if (m_host.m_hWnd) m_host.DestroyWindow();
        PropertySheetKeysTest::TearDown();
    }

    CDialog m_host{uitest::IDD_DATA, &m_owner};
    CPropertySheet m_inner{L"", &m_host};
    HWND m_ok = nullptr;
};

}  // namespace

TEST_F(SheetInDialogKeysTest, CtrlTabOnTheDialogsButtonTurnsTheSheetsPageAndLeavesTheButtonTheKeyboard)
{
    Desktop::KeyPress(VK_TAB, platform::ui::kControl);
    EXPECT_EQ(1, m_inner.GetActiveIndex());
    EXPECT_TRUE(m_detail.IsWindowVisible());
    EXPECT_FALSE(m_general.IsWindowVisible());
    EXPECT_EQ(m_ok, ::GetFocus());   // not moved on to Cancel as a Tab would
    Desktop::KeyPress(VK_NEXT, platform::ui::kControl);
    EXPECT_EQ(2, m_inner.GetActiveIndex());
    EXPECT_EQ(m_ok, ::GetFocus());
    Desktop::KeyPress(VK_TAB, platform::ui::kControl | platform::ui::kShift);
    EXPECT_EQ(1, m_inner.GetActiveIndex());
    Desktop::KeyPress(VK_PRIOR, platform::ui::kControl);
    EXPECT_EQ(0, m_inner.GetActiveIndex());
    Desktop::KeyPress(VK_PRIOR, platform::ui::kControl);   // round to the last
    EXPECT_EQ(2, m_inner.GetActiveIndex());
    EXPECT_EQ(m_ok, ::GetFocus());
}

TEST_F(SheetInDialogKeysTest, PlainTabOnTheDialogsButtonMovesTheKeyboardAndKeepsThePage)
{
    Desktop::KeyPress(VK_TAB);
    EXPECT_EQ(::GetDlgItem(m_host.m_hWnd, IDCANCEL), ::GetFocus());
    EXPECT_EQ(0, m_inner.GetActiveIndex());
    EXPECT_TRUE(m_general.IsWindowVisible());
}

// Without Ctrl the keys are the focused control's or the dialog's: a Tab
// moves the keyboard on, Page Up and Page Down leave the sheet on its page.
TEST_F(PropertySheetKeysTest, TabAndPageKeysWithoutCtrlMoveTheFocusAndNeverTurnThePage)
{
    ModalDriverScope driver([&](CPropertySheet& running) {
        FocusFirstPage();
        if (HasFatalFailure()) return;
        const HWND option = Control(m_general, 502);
        Desktop::KeyPress(VK_TAB);
        EXPECT_EQ(0, running.GetActiveIndex());
        EXPECT_NE(option, ::GetFocus());
        EXPECT_EQ(nullptr, m_detail.m_hWnd);
        Desktop::KeyPress(VK_TAB, platform::ui::kShift);
        EXPECT_EQ(option, ::GetFocus());
        Desktop::KeyPress(VK_NEXT);
        Desktop::KeyPress(VK_PRIOR);
        Desktop::KeyPress(VK_NEXT);
        EXPECT_EQ(0, running.GetActiveIndex());
        EXPECT_EQ(0, running.GetTabControl()->GetCurSel());
        EXPECT_TRUE(m_general.IsWindowVisible());
        EXPECT_EQ(nullptr, m_detail.m_hWnd);
        EXPECT_EQ(nullptr, m_panel.m_hWnd);
        running.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, m_sheet.DoModal());
}

// A sheet of one page has no page to turn to; Ctrl+Tab is still the
// sheet's and does not move the keyboard as a Tab would.
TEST_F(PropertySheetTest, CtrlTabOnASheetOfOnePageIsSwallowed)
{
    CPropertySheet single(L"一枚", &m_owner);
    single.AddPage(&m_general);
    ModalDriverScope driver([&](CPropertySheet& running) {
        CWnd* option = m_general.GetDlgItem(502);
        ASSERT_NE(nullptr, option);
        Desktop::Click(option->m_hWnd, 3, 3);
        ASSERT_EQ(option->m_hWnd, ::GetFocus());
        Desktop::KeyPress(VK_TAB, platform::ui::kControl);
        EXPECT_EQ(option->m_hWnd, ::GetFocus());
        Desktop::KeyPress(VK_TAB, platform::ui::kControl | platform::ui::kShift);
        Desktop::KeyPress(VK_NEXT, platform::ui::kControl);
        EXPECT_EQ(option->m_hWnd, ::GetFocus());
        EXPECT_EQ(0, running.GetActiveIndex());
        EXPECT_EQ(1, m_general.m_nSetActive);   // never shown again
        EXPECT_EQ(0, m_general.m_nKillActive);
        running.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, single.DoModal());
}

// Only a sheet the dialog shows takes the page keys from its buttons: in a
// dialog without one, or whose sheet is hidden, Ctrl+Tab moves the keyboard
// on as a Tab does.
TEST_F(PropertySheetTest, WithoutAShownSheetCtrlTabOnADialogsButtonMovesTheKeyboardOn)
{
    CDialog host(uitest::IDD_DATA, &m_owner);
    ASSERT_TRUE(host.Create(uitest::IDD_DATA, &m_owner));
    host.ShowWindow(SW_SHOW);
    const HWND ok = ::GetDlgItem(host.m_hWnd, IDOK);
    const HWND cancel = ::GetDlgItem(host.m_hWnd, IDCANCEL);
    host.GotoDlgCtrl(CWnd::FromHandle(ok));
    Desktop::KeyPress(VK_TAB, platform::ui::kControl);
    EXPECT_EQ(cancel, ::GetFocus());

    CPropertySheet sheet(L"", &host);
    sheet.AddPage(&m_general);
    sheet.AddPage(&m_detail);
    ASSERT_TRUE(sheet.Create(&host, WS_CHILD));   // made, not shown
    host.GotoDlgCtrl(CWnd::FromHandle(ok));
    Desktop::KeyPress(VK_TAB, platform::ui::kControl);
    EXPECT_EQ(cancel, ::GetFocus());
    EXPECT_EQ(0, sheet.GetActiveIndex());
    host.DestroyWindow();
}

namespace {

// A pop-up window that counts the Ctrl+Tab presses it receives.
class CKeyCountingPopup : public CWnd {
public:
    int m_nCtrlTabs = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_KEYDOWN && wParam == VK_TAB && GetKeyState(VK_CONTROL) < 0) ++m_nCtrlTabs;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

}  // namespace

// A window the dialog owns but does not hold (a pop-up of its own) keeps
// its keys: Ctrl+Tab typed there reaches it and leaves the sheet's page.
TEST_F(SheetInDialogKeysTest, CtrlTabInAPopupTheDialogOwnsIsThePopupsOwn)
{
    CKeyCountingPopup popup;
    ASSERT_TRUE(popup.CreateEx(0, nullptr, L"popup", WS_POPUP | WS_VISIBLE, CRect(600, 600, 700, 660), &m_host, 0));
    popup.SetFocus();
    ASSERT_EQ(popup.m_hWnd, ::GetFocus());
    Desktop::KeyPress(VK_TAB, platform::ui::kControl);
    EXPECT_EQ(1, popup.m_nCtrlTabs);
    EXPECT_EQ(0, m_inner.GetActiveIndex());
    popup.DestroyWindow();
}
