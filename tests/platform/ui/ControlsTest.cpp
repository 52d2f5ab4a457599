// The system's controls seen from their parent: buttons of every kind
// (automatic check boxes, three-state boxes, radio groups and their tab
// stop, the pushed look while the mouse drags, the space key, owner
// drawing), static controls (SS_NOTIFY clicks, images) and the tab
// control's edge cases.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/ui/framework/Button.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/Static.h"
#include "platform/ui/framework/TabCtrl.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Input.h"
#include "tests/platform/ui/UiTestSupport.h"

using platform::ui::Desktop;

namespace {

// A parent window that writes down what its controls tell it.
struct OwnerRecord {
    std::vector<std::pair<UINT, UINT>> commands;   // (id, code) of WM_COMMAND
    std::vector<DRAWITEMSTRUCT> draws;             // copies of WM_DRAWITEM
    std::vector<UINT> notifications;               // codes of WM_NOTIFY
    std::vector<UINT> mouseDowns;                  // WM_LBUTTONDOWN reaching the owner itself
    BOOL refuseTabChange = FALSE;
};

LRESULT OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* record = reinterpret_cast<OwnerRecord*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    } else if (record && message == WM_COMMAND) {
        record->commands.emplace_back(LOWORD(wParam), HIWORD(wParam));
    } else if (record && message == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        record->draws.push_back(*item);
        FillRect(item->hDC, &item->rcItem, GetSysColorBrush(COLOR_HIGHLIGHT));
        return TRUE;
    } else if (record && message == WM_NOTIFY) {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        record->notifications.push_back(header->code);
        return header->code == TCN_SELCHANGING ? record->refuseTabChange : 0;
    } else if (record && message == WM_LBUTTONDOWN) {
        record->mouseDowns.push_back(static_cast<UINT>(lParam));
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

const wchar_t kOwnerClass[] = L"MorvelanceControlOwner";

void RegisterOwnerClass()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &OwnerProc;
    wc.lpszClassName = kOwnerClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    RegisterClassW(&wc);   // a second registration fails harmlessly
}

HWND CreateControl(LPCWSTR className, LPCWSTR text, DWORD style, int x, int y, int width, int height, HWND parent,
                   UINT id)
{
    return CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
}

POINT ScreenPoint(HWND hwnd, int x, int y)
{
    POINT point = {x, y};
    ClientToScreen(hwnd, &point);
    return point;
}

class ControlsTest : public uitest::WindowLeakCheck {
protected:
    void SetUp() override
    {
        // The system's icons are made on first use and live on, as shared icons do.
        LoadIconW(nullptr, IDI_APPLICATION);
        WindowLeakCheck::SetUp();
        RegisterOwnerClass();
        m_owner = CreateWindowExW(0, kOwnerClass, L"owner", WS_POPUP | WS_VISIBLE, 100, 100, 320, 240, nullptr,
                                  nullptr, nullptr, &m_record);
        ASSERT_NE(nullptr, m_owner);
        UpdateWindow(m_owner);
    }
    void TearDown() override
    {
        DestroyWindow(m_owner);
        WindowLeakCheck::TearDown();
    }
    // The notification codes the owner had from one control.
    std::vector<UINT> CodesFrom(UINT id) const
    {
        std::vector<UINT> codes;
        for (const auto& command : m_record.commands)
            if (command.first == id) codes.push_back(command.second);
        return codes;
    }

    OwnerRecord m_record;
    HWND m_owner = nullptr;
};

// An owner-drawn button that paints itself a colour of its choosing.
class CSwatchButton : public CButton {
public:
    COLORREF m_colour = RGB(200, 30, 30);
    std::vector<UINT> m_states;

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override
    {
        m_states.push_back(lpDrawItemStruct->itemState);
        CBrush brush;
        brush.CreateSolidBrush(m_colour);
        FillRect(lpDrawItemStruct->hDC, &lpDrawItemStruct->rcItem, static_cast<HBRUSH>(brush));
    }
};

}  // namespace

TEST_F(ControlsTest, AutomaticCheckBoxTogglesBeforeTheParentHears)
{
    HWND box = CreateControl(L"Button", L"&Box", BS_AUTOCHECKBOX, 10, 10, 100, 20, m_owner, 11);
    EXPECT_EQ(static_cast<LRESULT>(DLGC_BUTTON), SendMessageW(box, WM_GETDLGCODE, 0, 0));
    Desktop::Click(box, 5, 5);
    EXPECT_EQ(BST_CHECKED, SendMessageW(box, BM_GETCHECK, 0, 0));
    EXPECT_EQ((std::vector<UINT>{BN_CLICKED}), CodesFrom(11));
    Desktop::Click(box, 5, 5);
    EXPECT_EQ(BST_UNCHECKED, SendMessageW(box, BM_GETCHECK, 0, 0));
    EXPECT_EQ(2u, CodesFrom(11).size());

    // A plain check box leaves its check to the parent; a two-state box has no third state.
    HWND plain = CreateControl(L"Button", L"Plain", BS_CHECKBOX, 10, 40, 100, 20, m_owner, 12);
    Desktop::Click(plain, 5, 5);
    EXPECT_EQ(BST_UNCHECKED, SendMessageW(plain, BM_GETCHECK, 0, 0));
    EXPECT_EQ((std::vector<UINT>{BN_CLICKED}), CodesFrom(12));
    SendMessageW(plain, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(BST_CHECKED, SendMessageW(plain, BM_GETCHECK, 0, 0));

    // Push buttons have no check at all.
    HWND push = CreateControl(L"Button", L"Push", BS_PUSHBUTTON, 10, 70, 100, 20, m_owner, 13);
    SendMessageW(push, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_EQ(0, SendMessageW(push, BM_GETCHECK, 0, 0));
}

TEST_F(ControlsTest, ThreeStateBoxCyclesThroughIndeterminate)
{
    CButton box;
    ASSERT_TRUE(box.Create(L"Three", WS_CHILD | WS_VISIBLE | BS_AUTO3STATE, CRect(10, 10, 110, 30),
                           CWnd::FromHandle(m_owner), 21));
    std::vector<int> seen;
    for (int i = 0; i < 4; ++i) {
        box.SendMessage(BM_CLICK);
        seen.push_back(box.GetCheck());
    }
    EXPECT_EQ((std::vector<int>{BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED, BST_CHECKED}), seen);
    box.SetCheck(7);   // out of range: unchecked
    EXPECT_EQ(BST_UNCHECKED, box.GetCheck());
    EXPECT_EQ(static_cast<UINT>(BS_AUTO3STATE), box.GetButtonStyle() & BS_TYPEMASK);
    box.DestroyWindow();
}

TEST_F(ControlsTest, RadioGroupKeepsOneCheckAndTheTabStop)
{
    HWND first = CreateControl(L"Button", L"A", BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP, 10, 10, 80, 20, m_owner, 31);
    HWND second = CreateControl(L"Button", L"B", BS_AUTORADIOBUTTON, 10, 30, 80, 20, m_owner, 32);
    HWND third = CreateControl(L"Button", L"C", BS_AUTORADIOBUTTON, 10, 50, 80, 20, m_owner, 33);
    HWND other = CreateControl(L"Button", L"X", BS_AUTORADIOBUTTON | WS_GROUP, 10, 80, 80, 20, m_owner, 34);
    SendMessageW(first, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(other, BM_SETCHECK, BST_CHECKED, 0);

    Desktop::Click(third, 3, 3);
    EXPECT_EQ(BST_UNCHECKED, SendMessageW(first, BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_UNCHECKED, SendMessageW(second, BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_CHECKED, SendMessageW(third, BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_CHECKED, SendMessageW(other, BM_GETCHECK, 0, 0));   // another group
    // The checked button of the group is the one Tab lands on.
    EXPECT_FALSE(GetWindowLongW(first, GWL_STYLE) & WS_TABSTOP);
    EXPECT_TRUE(GetWindowLongW(third, GWL_STYLE) & WS_TABSTOP);
    EXPECT_EQ((std::vector<UINT>{BN_CLICKED}), CodesFrom(33));

    // A double click on a radio button is a notification of its own.
    Desktop::AdvanceClock(1000);
    Desktop::DoubleClick(second, 3, 3);
    EXPECT_EQ((std::vector<UINT>{BN_CLICKED, BN_DOUBLECLICKED}), CodesFrom(32));
}

TEST_F(ControlsTest, RadioButtonsAreCheckedByTheDialogFunctions)
{
    CreateControl(L"Button", L"A", BS_RADIOBUTTON | WS_GROUP, 10, 10, 80, 20, m_owner, 41);
    CreateControl(L"Button", L"B", BS_RADIOBUTTON, 10, 30, 80, 20, m_owner, 42);
    CreateControl(L"Button", L"C", BS_RADIOBUTTON, 10, 50, 80, 20, m_owner, 43);
    EXPECT_TRUE(CheckRadioButton(m_owner, 41, 43, 42));
    EXPECT_EQ(static_cast<UINT>(BST_CHECKED), IsDlgButtonChecked(m_owner, 42));
    EXPECT_TRUE(CheckRadioButton(m_owner, 41, 43, 43));
    EXPECT_EQ(static_cast<UINT>(BST_UNCHECKED), IsDlgButtonChecked(m_owner, 42));
    EXPECT_EQ(static_cast<UINT>(BST_CHECKED), IsDlgButtonChecked(m_owner, 43));
    // Plain radio buttons leave the check to their parent when clicked.
    Desktop::Click(GetDlgItem(m_owner, 41), 3, 3);
    EXPECT_EQ(static_cast<UINT>(BST_UNCHECKED), IsDlgButtonChecked(m_owner, 41));
    EXPECT_EQ((std::vector<UINT>{BN_CLICKED}), CodesFrom(41));
}

TEST_F(ControlsTest, PushedLookFollowsTheMouseWhileItDrags)
{
    HWND button = CreateControl(L"Button", L"Go", BS_PUSHBUTTON, 20, 20, 80, 30, m_owner, 51);
    Desktop::MouseDown(ScreenPoint(button, 10, 10));
    EXPECT_EQ(button, GetCapture());
    EXPECT_EQ(button, GetFocus());
    EXPECT_TRUE(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED);
    EXPECT_TRUE(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_FOCUS);

    Desktop::MoveMouse(ScreenPoint(button, 200, 100));   // off the button: it pops up
    EXPECT_FALSE(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED);
    Desktop::MoveMouse(ScreenPoint(button, 40, 15));     // back on: pressed again
    EXPECT_TRUE(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED);
    Desktop::MoveMouse(ScreenPoint(button, -5, 15));
    Desktop::MouseUp(ScreenPoint(button, -5, 15));       // let go outside: no click
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_TRUE(CodesFrom(51).empty());
    EXPECT_EQ(0u, m_record.mouseDowns.size());   // the press never reached the owner

    // Letting go inside is a click.
    Desktop::Click(button, 10, 10);
    EXPECT_EQ((std::vector<UINT>{BN_CLICKED}), CodesFrom(51));
}

TEST_F(ControlsTest, LosingTheCaptureOrTheFocusCancelsThePress)
{
    HWND button = CreateControl(L"Button", L"Go", BS_PUSHBUTTON, 20, 20, 80, 30, m_owner, 52);
    HWND other = CreateControl(L"Button", L"Other", BS_PUSHBUTTON, 20, 60, 80, 30, m_owner, 53);
    Desktop::MouseDown(ScreenPoint(button, 10, 10));
    ReleaseCapture();
    EXPECT_FALSE(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED);
    Desktop::MouseUp(ScreenPoint(button, 10, 10));
    EXPECT_TRUE(CodesFrom(52).empty());

    SetFocus(button);
    Desktop::KeyDown(VK_SPACE);
    EXPECT_TRUE(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED);
    SetFocus(other);
    EXPECT_FALSE(SendMessageW(button, BM_GETSTATE, 0, 0) & (BST_PUSHED | BST_FOCUS));
    Desktop::KeyUp(VK_SPACE);
    EXPECT_TRUE(CodesFrom(52).empty());
    EXPECT_TRUE(CodesFrom(53).empty());
}

TEST_F(ControlsTest, SpaceBarClicksTheFocusedButton)
{
    HWND box = CreateControl(L"Button", L"Box", BS_AUTOCHECKBOX | BS_NOTIFY, 10, 10, 100, 20, m_owner, 61);
    SetFocus(box);
    EXPECT_EQ((std::vector<UINT>{BN_SETFOCUS}), CodesFrom(61));
    Desktop::KeyDown(VK_SPACE);
    EXPECT_TRUE(SendMessageW(box, BM_GETSTATE, 0, 0) & BST_PUSHED);
    EXPECT_EQ(BST_UNCHECKED, SendMessageW(box, BM_GETCHECK, 0, 0));   // nothing until the key comes up
    Desktop::KeyUp(VK_SPACE);
    EXPECT_EQ(BST_CHECKED, SendMessageW(box, BM_GETCHECK, 0, 0));
    EXPECT_EQ((std::vector<UINT>{BN_SETFOCUS, BN_CLICKED}), CodesFrom(61));
    // Other keys do nothing; a key up without its key down does nothing either.
    Desktop::KeyPress(VK_RETURN);
    Desktop::KeyUp(VK_SPACE);
    EXPECT_EQ(2u, CodesFrom(61).size());
    SetFocus(m_owner);
    EXPECT_EQ((std::vector<UINT>{BN_SETFOCUS, BN_CLICKED, BN_KILLFOCUS}), CodesFrom(61));
}

TEST_F(ControlsTest, DisabledButtonsIgnoreTheMouse)
{
    HWND button = CreateControl(L"Button", L"Off", BS_PUSHBUTTON | WS_DISABLED, 20, 20, 80, 30, m_owner, 71);
    Desktop::Click(button, 10, 10);
    EXPECT_TRUE(CodesFrom(71).empty());
    ASSERT_EQ(1u, m_record.mouseDowns.size());   // the owner had the press instead
    EXPECT_EQ(static_cast<UINT>(MAKELPARAM(30, 30)), m_record.mouseDowns[0]);
    EnableWindow(button, TRUE);
    Desktop::Click(button, 10, 10);
    EXPECT_EQ((std::vector<UINT>{BN_CLICKED}), CodesFrom(71));
}

TEST_F(ControlsTest, OwnerDrawnButtonAsksItsParent)
{
    HWND button = CreateControl(L"Button", L"", BS_OWNERDRAW, 20, 20, 60, 30, m_owner, 81);
    UpdateWindow(button);
    ASSERT_EQ(1u, m_record.draws.size());
    const DRAWITEMSTRUCT& item = m_record.draws[0];
    EXPECT_EQ(static_cast<UINT>(ODT_BUTTON), item.CtlType);
    EXPECT_EQ(81u, item.CtlID);
    EXPECT_EQ(static_cast<UINT>(ODA_DRAWENTIRE), item.itemAction);
    EXPECT_EQ(0u, item.itemState);
    EXPECT_EQ(button, item.hwndItem);
    EXPECT_EQ(CRect(0, 0, 60, 30), CRect(item.rcItem));
    HDC dc = GetDC(button);
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), GetPixel(dc, 30, 15));
    ReleaseDC(button, dc);

    // Pressed and focused, it is drawn again with the state to show.
    Desktop::MouseDown(ScreenPoint(button, 5, 5));
    UpdateWindow(button);
    EXPECT_EQ(static_cast<UINT>(ODS_SELECTED | ODS_FOCUS), m_record.draws.back().itemState);
    Desktop::MouseUp(ScreenPoint(button, 5, 5));
    EXPECT_EQ((std::vector<UINT>{BN_CLICKED}), CodesFrom(81));
    EnableWindow(button, FALSE);
    UpdateWindow(button);
    EXPECT_TRUE(m_record.draws.back().itemState & ODS_DISABLED);
}

TEST_F(ControlsTest, OwnerDrawnFrameworkButtonDrawsItself)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 0));
    CSwatchButton button;
    ASSERT_TRUE(button.Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(10, 10, 70, 40), &parent, 91));
    button.UpdateWindow();
    ASSERT_EQ(1u, button.m_states.size());
    {
        CClientDC dc(&button);
        EXPECT_EQ(RGB(200, 30, 30), dc.GetPixel(30, 15));
    }
    button.SetState(TRUE);
    button.UpdateWindow();
    EXPECT_EQ(static_cast<UINT>(ODS_SELECTED), button.m_states.back());
    button.SetState(FALSE);
    button.m_colour = RGB(0, 120, 0);
    button.Invalidate();
    button.UpdateWindow();
    {
        CClientDC dc(&button);
        EXPECT_EQ(RGB(0, 120, 0), dc.GetPixel(59, 29));
    }
    button.DestroyWindow();
    parent.DestroyWindow();
}

TEST_F(ControlsTest, ButtonImagesAreKeptByType)
{
    HWND button = CreateControl(L"Button", L"", BS_PUSHBUTTON | BS_BITMAP, 10, 10, 40, 40, m_owner, 95);
    HBITMAP first = CreateBitmap(8, 8, 1, 32, nullptr);
    HBITMAP second = CreateBitmap(8, 8, 1, 32, nullptr);
    EXPECT_EQ(0, SendMessageW(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(first)));
    EXPECT_EQ(reinterpret_cast<LRESULT>(first), SendMessageW(button, BM_GETIMAGE, IMAGE_BITMAP, 0));
    EXPECT_EQ(0, SendMessageW(button, BM_GETIMAGE, IMAGE_ICON, 0));
    EXPECT_EQ(reinterpret_cast<LRESULT>(first),
              SendMessageW(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(second)));
    EXPECT_EQ(0, SendMessageW(button, BM_SETIMAGE, IMAGE_CURSOR + 7, reinterpret_cast<LPARAM>(first)));
    UpdateWindow(button);   // paints the bitmap without owning it
    DestroyWindow(button);
    EXPECT_TRUE(DeleteObject(first));
    EXPECT_TRUE(DeleteObject(second));
}

TEST_F(ControlsTest, StaticReportsClicksOnlyWhenAskedTo)
{
    HWND label = CreateControl(L"Static", L"label", SS_LEFT, 10, 10, 80, 20, m_owner, 101);
    HWND link = CreateControl(L"Static", L"link", SS_LEFT | SS_NOTIFY, 10, 40, 80, 20, m_owner, 102);
    // Without SS_NOTIFY the label is transparent to the mouse: its parent has the click.
    EXPECT_EQ(m_owner, WindowFromPoint(ScreenPoint(label, 5, 5)));
    Desktop::Click(label, 5, 5);
    EXPECT_TRUE(CodesFrom(101).empty());
    EXPECT_EQ(1u, m_record.mouseDowns.size());

    EXPECT_EQ(link, WindowFromPoint(ScreenPoint(link, 5, 5)));
    Desktop::AdvanceClock(1000);
    Desktop::Click(link, 5, 5);
    EXPECT_EQ((std::vector<UINT>{STN_CLICKED}), CodesFrom(102));
    Desktop::AdvanceClock(1000);
    Desktop::DoubleClick(link, 5, 5);
    EXPECT_EQ((std::vector<UINT>{STN_CLICKED, STN_CLICKED, STN_DBLCLK}), CodesFrom(102));
    EnableWindow(link, FALSE);
    EnableWindow(link, TRUE);
    EXPECT_EQ((std::vector<UINT>{STN_CLICKED, STN_CLICKED, STN_DBLCLK, STN_DISABLE, STN_ENABLE}), CodesFrom(102));
    EXPECT_EQ(static_cast<LRESULT>(DLGC_STATIC), SendMessageW(label, WM_GETDLGCODE, 0, 0));
}

TEST_F(ControlsTest, StaticImagesMatchTheirType)
{
    CStatic icon;
    ASSERT_TRUE(icon.Create(L"", WS_CHILD | WS_VISIBLE | SS_ICON, CRect(10, 10, 42, 42), CWnd::FromHandle(m_owner)));
    const HICON application = LoadIconW(nullptr, IDI_APPLICATION);
    ASSERT_NE(nullptr, application);
    EXPECT_EQ(nullptr, icon.SetIcon(application));
    EXPECT_EQ(application, icon.GetIcon());
    EXPECT_EQ(application, icon.SetIcon(nullptr));
    EXPECT_EQ(nullptr, icon.GetIcon());
    HBITMAP bitmap = CreateBitmap(16, 16, 1, 32, nullptr);
    EXPECT_EQ(nullptr, icon.SetBitmap(bitmap));   // not a bitmap static: refused
    EXPECT_EQ(nullptr, icon.GetBitmap());
    icon.SetIcon(application);
    icon.UpdateWindow();

    CStatic picture;
    ASSERT_TRUE(picture.Create(L"", WS_CHILD | WS_VISIBLE | SS_BITMAP, CRect(50, 10, 90, 50), CWnd::FromHandle(m_owner)));
    EXPECT_EQ(nullptr, picture.SetIcon(application));   // not an icon static: refused
    EXPECT_EQ(nullptr, picture.GetIcon());
    EXPECT_EQ(nullptr, picture.SetBitmap(bitmap));
    EXPECT_EQ(bitmap, picture.GetBitmap());
    picture.UpdateWindow();
    EXPECT_EQ(bitmap, picture.SetBitmap(nullptr));   // handed back: the caller deletes it
    picture.DestroyWindow();
    icon.DestroyWindow();
    EXPECT_TRUE(DeleteObject(bitmap));
}

TEST_F(ControlsTest, TabControlRefusesBadIndexes)
{
    CTabCtrl tab;
    ASSERT_TRUE(tab.Create(WS_CHILD | WS_VISIBLE, CRect(10, 10, 250, 150), CWnd::FromHandle(m_owner), 111));
    EXPECT_EQ(-1, tab.GetCurSel());
    EXPECT_EQ(-1, tab.InsertItem(-1, L"bad"));
    EXPECT_EQ(0, tab.InsertItem(5, L"first"));   // past the end: appended
    EXPECT_EQ(0, tab.GetCurSel());               // the first item is selected
    EXPECT_EQ(0, tab.InsertItem(0, L"zero"));
    EXPECT_EQ(1, tab.GetCurSel());               // the selection moved with its item
    EXPECT_EQ(2, tab.InsertItem(2, L"last"));
    EXPECT_EQ(3, tab.GetItemCount());

    EXPECT_EQ(-1, tab.SetCurSel(3));
    EXPECT_EQ(-1, tab.SetCurSel(-2));
    EXPECT_EQ(1, tab.SetCurSel(2));
    EXPECT_FALSE(tab.DeleteItem(3));
    EXPECT_FALSE(tab.GetItemRect(7, CRect()));
    TCITEM item = {};
    EXPECT_FALSE(tab.GetItem(-1, &item));
    EXPECT_FALSE(tab.SetItem(3, &item));

    wchar_t text[4] = {};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = 4;
    ASSERT_TRUE(tab.GetItem(1, &item));
    EXPECT_STREQ(L"fir", text);   // cut to the buffer

    EXPECT_TRUE(tab.DeleteItem(2));   // the selected item: nothing is selected
    EXPECT_EQ(-1, tab.GetCurSel());
    EXPECT_TRUE(tab.DeleteAllItems());
    EXPECT_EQ(0, tab.GetItemCount());
    TCHITTESTINFO hit = {{20, 10}, 0};
    EXPECT_EQ(-1, tab.HitTest(&hit));
    EXPECT_EQ(static_cast<UINT>(TCHT_NOWHERE), hit.flags);
    tab.DestroyWindow();
}

TEST_F(ControlsTest, TabControlSelectionCanBeRefused)
{
    HWND tab = CreateControl(WC_TABCONTROL, L"", 0, 10, 10, 250, 150, m_owner, 121);
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    for (const wchar_t* name : {L"one", L"two", L"three"}) {
        item.pszText = const_cast<LPWSTR>(name);
        SendMessageW(tab, TCM_INSERTITEMW, 99, reinterpret_cast<LPARAM>(&item));
    }
    SetFocus(tab);
    Desktop::KeyPress(VK_RIGHT);
    EXPECT_EQ(1, SendMessageW(tab, TCM_GETCURSEL, 0, 0));
    EXPECT_EQ((std::vector<UINT>{TCN_SELCHANGING, TCN_SELCHANGE}), m_record.notifications);

    m_record.refuseTabChange = TRUE;
    Desktop::KeyPress(VK_RIGHT);
    EXPECT_EQ(1, SendMessageW(tab, TCM_GETCURSEL, 0, 0));
    EXPECT_EQ(3u, m_record.notifications.size());   // asked, refused, not told of a change
    m_record.refuseTabChange = FALSE;

    // A program's own selection sends nothing.
    SendMessageW(tab, TCM_SETCURSEL, 0, 0);
    EXPECT_EQ(3u, m_record.notifications.size());
    Desktop::KeyPress(VK_LEFT);   // already the first
    EXPECT_EQ(3u, m_record.notifications.size());

    // The display area and the window rectangle convert both ways.
    RECT rect = {10, 10, 250, 150};
    SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rect));
    EXPECT_LT(10, rect.top);
    EXPECT_GT(250, rect.right);
    SendMessageW(tab, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&rect));
    EXPECT_EQ(CRect(10, 10, 250, 150), CRect(rect));
    SendMessageW(tab, TCM_ADJUSTRECT, TRUE, 0);   // no rectangle: nothing happens
}

// Where a group box sits among the controls it frames: listed first (the
// way templates have it) or after them.
struct GroupBoxRow {
    const char* name;
    bool boxFirst;
};

static const GroupBoxRow kGroupBoxRows[] = {
    {"box above its controls", true},
    {"box beneath its controls", false},
};

TEST_F(ControlsTest, GroupBoxFramesItsControlsWithoutPaintingOverThem)
{
    const COLORREF inside = GetSysColor(COLOR_HIGHLIGHT);   // what the owner paints its button with
    for (const GroupBoxRow& row : kGroupBoxRows) {
        SCOPED_TRACE(row.name);
        HWND box = row.boxFirst ? CreateControl(L"Button", L"Group", BS_GROUPBOX, 10, 10, 200, 120, m_owner, 0) : nullptr;
        HWND drawn = CreateControl(L"Button", L"", BS_OWNERDRAW, 30, 40, 60, 30, m_owner, 21);
        if (!row.boxFirst) box = CreateControl(L"Button", L"Group", BS_GROUPBOX, 10, 10, 200, 120, m_owner, 0);
        EXPECT_TRUE(GetWindowLongW(box, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
        RedrawWindow(m_owner, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        {
            CClientDC dc(CWnd::FromHandle(m_owner));
            EXPECT_EQ(inside, dc.GetPixel(60, 55));
            EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), dc.GetPixel(10, 80));   // the etched frame's outer line
        }
        // The box alone repainted (a new caption) leaves the control's pixels alone.
        SetWindowTextW(box, L"New group");
        UpdateWindow(box);
        {
            CClientDC dc(CWnd::FromHandle(m_owner));
            EXPECT_EQ(inside, dc.GetPixel(60, 55));
            EXPECT_EQ(inside, dc.GetPixel(89, 69));
        }
        DestroyWindow(drawn);
        DestroyWindow(box);
    }
}
