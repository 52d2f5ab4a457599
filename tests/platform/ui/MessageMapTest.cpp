// Window message maps: the ON_WM_* handlers with their arguments unpacked,
// default processing, ON_MESSAGE and registered messages, commands and
// notifications from real controls, reflection to the control, colours,
// pre-translation and the notification lockout of UpdateData.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/framework/Button.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/DataExchange.h"
#include "platform/ui/framework/Static.h"
#include "platform/ui/framework/TabCtrl.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/platform/ui/UiTestSupport.h"

using platform::ui::Desktop;

namespace {

const UINT kRegistered = RegisterWindowMessageW(L"MorvelanceMapTest");

class CHandlerWnd : public CWnd {
public:
    std::vector<std::string> m_calls;
    CSize m_size;
    CPoint m_point;
    CPoint m_moved;
    UINT_PTR m_timer = 0;
    short m_wheel = 0;
    CWnd* m_oldFocus = nullptr;
    UINT m_char = 0;
    BOOL m_bRefuseCreate = FALSE;
    BOOL m_bEraseItself = FALSE;
    const MSG* m_current = nullptr;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs)
    {
        m_calls.push_back("create");
        if (m_bRefuseCreate) return -1;
        return CWnd::OnCreate(lpcs);
    }
    afx_msg void OnSize(UINT nType, int cx, int cy)
    {
        m_calls.push_back("size " + std::to_string(nType));
        m_size = CSize(cx, cy);
    }
    afx_msg void OnMove(int x, int y) { m_moved = CPoint(x, y); }
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point)
    {
        m_calls.push_back("down " + std::to_string(nFlags));
        m_point = point;
    }
    afx_msg void OnTimer(UINT_PTR nIDEvent) { m_timer = nIDEvent; }
    afx_msg BOOL OnMouseWheel(UINT, short zDelta, CPoint)
    {
        m_wheel = zDelta;
        return TRUE;
    }
    afx_msg void OnSetFocus(CWnd* pOldWnd)
    {
        m_oldFocus = pOldWnd;
        m_current = GetCurrentMessage();
        CWnd::OnSetFocus(pOldWnd);
    }
    afx_msg void OnChar(UINT nChar, UINT, UINT) { m_char = nChar; }
    afx_msg BOOL OnEraseBkgnd(CDC* pDC)
    {
        if (!m_bEraseItself) return CWnd::OnEraseBkgnd(pDC);
        m_calls.push_back("erase");   // logged only when asked for: repainting happens whenever input is pumped
        return TRUE;
    }
    afx_msg LRESULT OnUserFive(WPARAM wParam, LPARAM lParam) { return static_cast<LRESULT>(wParam + lParam); }
    afx_msg LRESULT OnRegistered(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam) * 10; }
    afx_msg void OnRange(UINT id) { m_calls.push_back("range " + std::to_string(id)); }
    afx_msg void OnCustomCode(UINT id) { m_calls.push_back("custom " + std::to_string(id)); }
    afx_msg void OnButton() { m_calls.push_back("button"); }
    afx_msg void OnTabChange(NMHDR* pNMHDR, LRESULT* pResult)
    {
        m_calls.push_back("tab " + std::to_string(pNMHDR->idFrom));
        *pResult = 0;
    }
    afx_msg void OnEditChange() { m_calls.push_back("change"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CHandlerWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_MOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_TIMER()
    ON_WM_MOUSEWHEEL()
    ON_WM_SETFOCUS()
    ON_WM_CHAR()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_USER + 5, OnUserFive)
    ON_REGISTERED_MESSAGE(kRegistered, OnRegistered)
    ON_COMMAND_RANGE(32800, 32810, OnRange)
    ON_CONTROL_RANGE(0x8001, 9020, 9295, OnCustomCode)
    ON_BN_CLICKED(77, OnButton)
    ON_NOTIFY(TCN_SELCHANGE, 88, OnTabChange)
    ON_EN_CHANGE(99, OnEditChange)
END_MESSAGE_MAP()

// A button that handles its own click first.
class CSelfClickingButton : public CButton {
public:
    BOOL m_bLetParentSee = FALSE;
    int m_nReflected = 0;

protected:
    afx_msg void OnClicked() { ++m_nReflected; }
    afx_msg BOOL OnClickedEx()
    {
        ++m_nReflected;
        return !m_bLetParentSee;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSelfClickingButton, CButton)
    ON_CONTROL_REFLECT_EX(BN_CLICKED, OnClickedEx)
END_MESSAGE_MAP()

// A label that chooses its own background.
class CColouredStatic : public CStatic {
public:
    CColouredStatic() { m_brush.CreateSolidBrush(RGB(0, 0, 200)); }

protected:
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor)
    {
        EXPECT_EQ(static_cast<UINT>(CTLCOLOR_STATIC), nCtlColor);
        pDC->SetTextColor(RGB(255, 255, 0));
        return static_cast<HBRUSH>(m_brush);
    }
    DECLARE_MESSAGE_MAP()
    CBrush m_brush;
};

BEGIN_MESSAGE_MAP(CColouredStatic, CStatic)
    ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class CReflectingTab : public CTabCtrl {
public:
    int m_nChanges = 0;

protected:
    afx_msg void OnSelChange(NMHDR*, LRESULT* pResult)
    {
        ++m_nChanges;
        *pResult = 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflectingTab, CTabCtrl)
    ON_NOTIFY_REFLECT(TCN_SELCHANGE, OnSelChange)
END_MESSAGE_MAP()

// A window that takes F1 before the focus window sees it.
class CF1Eater : public CWnd {
public:
    int m_nEaten = 0;
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_F1) {
            ++m_nEaten;
            return TRUE;
        }
        return CWnd::PreTranslateMessage(pMsg);
    }
};

// A control that reports every text change, as an edit does.
LRESULT ChangingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_SETTEXT)
        SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), EN_CHANGE), reinterpret_cast<LPARAM>(hwnd));
    return result;
}

class CExchangingWnd : public CHandlerWnd {
public:
    CString m_strValue = L"値";

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, 99, m_strValue); }
};

class MessageMapTest : public uitest::WindowLeakCheck {
protected:
    void SetUp() override
    {
        WindowLeakCheck::SetUp();
        ASSERT_TRUE(m_wnd.CreateEx(0, nullptr, L"handlers", WS_POPUP | WS_VISIBLE, CRect(50, 60, 250, 160), nullptr, 0));
        m_wnd.UpdateWindow();
        m_wnd.m_calls.clear();
    }
    void TearDown() override
    {
        m_wnd.DestroyWindow();
        WindowLeakCheck::TearDown();
    }
    CHandlerWnd m_wnd;
};

}  // namespace

TEST_F(MessageMapTest, WindowMessageArgumentsAreUnpacked)
{
    m_wnd.MoveWindow(-20, -30, 120, 70);
    EXPECT_EQ(CSize(120, 70), m_wnd.m_size);
    EXPECT_EQ(CPoint(-20, -30), m_wnd.m_moved);   // negative positions keep their sign

    m_wnd.SetCapture();
    Desktop::MouseDown(POINT{0, 0});
    ReleaseCapture();
    EXPECT_EQ(CPoint(20, 30), m_wnd.m_point);
    Desktop::MouseUp(POINT{0, 0});
    m_wnd.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(-5, 7));
    EXPECT_EQ(CPoint(-5, 7), m_wnd.m_point);
    EXPECT_EQ("down 5", m_wnd.m_calls.back());

    m_wnd.SetTimer(0x1234, 50, nullptr);
    Desktop::AdvanceClock(50);
    EXPECT_EQ(0x1234u, m_wnd.m_timer);
    m_wnd.KillTimer(0x1234);

    m_wnd.SetFocus();
    Desktop::Wheel(-120);
    EXPECT_EQ(-120, m_wnd.m_wheel);
    Desktop::TypeText(L"é");
    EXPECT_EQ(static_cast<UINT>(L'é'), m_wnd.m_char);
}

TEST_F(MessageMapTest, DefaultProcessingSeesTheCurrentMessage)
{
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, nullptr, L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 10, 10), nullptr, 0));
    other.SetFocus();
    m_wnd.SetFocus();
    EXPECT_EQ(&other, m_wnd.m_oldFocus);
    ASSERT_NE(nullptr, m_wnd.m_current);
    // The framework's record of the message outlives the handler: it is the last one sent.
    m_wnd.m_bEraseItself = TRUE;
    m_wnd.Invalidate(TRUE);
    m_wnd.UpdateWindow();
    EXPECT_EQ("erase", m_wnd.m_calls.back());
    other.DestroyWindow();
}

TEST_F(MessageMapTest, RefusingOnCreateFailsCreation)
{
    CHandlerWnd refusing;
    refusing.m_bRefuseCreate = TRUE;
    EXPECT_FALSE(refusing.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    EXPECT_EQ(nullptr, refusing.m_hWnd);
    EXPECT_EQ((std::vector<std::string>{"create"}), refusing.m_calls);
}

TEST_F(MessageMapTest, MessageAndRegisteredMessageEntriesReachTheirHandlers)
{
    EXPECT_EQ(7, m_wnd.SendMessage(WM_USER + 5, 3, 4));
    EXPECT_EQ(60, m_wnd.SendMessage(kRegistered, 6, 0));
    EXPECT_EQ(0, m_wnd.SendMessage(WM_USER + 6, 3, 4));   // no entry: default processing
}

TEST_F(MessageMapTest, CommandsFromMenusAndControlsFindTheirEntries)
{
    m_wnd.SendMessage(WM_COMMAND, 32805, 0);   // a menu command
    CButton button;
    ASSERT_TRUE(button.Create(L"OK", WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 40, 20), &m_wnd, 77));
    Desktop::Click(button.m_hWnd, 5, 5);
    // The system's cells send their own codes over id ranges.
    HWND cell = ::CreateWindowExW(0, L"Static", L"", WS_CHILD, 0, 0, 1, 1, m_wnd.m_hWnd,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(9100)), nullptr, nullptr);
    m_wnd.SendMessage(WM_COMMAND, MAKEWPARAM(9100, 0x8001), reinterpret_cast<LPARAM>(cell));
    m_wnd.SendMessage(WM_COMMAND, MAKEWPARAM(9100, 0x8002), reinterpret_cast<LPARAM>(cell));   // no entry
    m_wnd.SendMessage(WM_COMMAND, MAKEWPARAM(32811, 0), 0);                                      // out of range
    EXPECT_EQ((std::vector<std::string>{"range 32805", "button", "custom 9100"}), m_wnd.m_calls);
    button.DestroyWindow();
}

TEST_F(MessageMapTest, NotificationsOfACommonControlReachTheParentsEntry)
{
    CTabCtrl tab;
    ASSERT_TRUE(tab.Create(WS_VISIBLE, CRect(0, 0, 180, 80), &m_wnd, 88));
    tab.InsertItem(0, L"一");
    tab.InsertItem(1, L"二");
    CRect second;
    tab.GetItemRect(1, &second);
    Desktop::Click(tab.m_hWnd, second.CenterPoint().x, second.CenterPoint().y);
    EXPECT_EQ(1, tab.GetCurSel());
    EXPECT_EQ((std::vector<std::string>{"tab 88"}), m_wnd.m_calls);
    tab.DestroyWindow();
}

TEST_F(MessageMapTest, ControlsHandleTheirOwnNotificationsFirst)
{
    CSelfClickingButton button;
    ASSERT_TRUE(button.Create(L"B", WS_VISIBLE, CRect(0, 0, 40, 20), &m_wnd, 77));
    button.SendMessage(BM_CLICK);
    EXPECT_EQ(1, button.m_nReflected);
    EXPECT_TRUE(m_wnd.m_calls.empty());   // the control took it
    button.m_bLetParentSee = TRUE;
    button.SendMessage(BM_CLICK);
    EXPECT_EQ(2, button.m_nReflected);
    EXPECT_EQ((std::vector<std::string>{"button"}), m_wnd.m_calls);
    button.DestroyWindow();

    CReflectingTab tab;
    ASSERT_TRUE(tab.Create(WS_VISIBLE, CRect(0, 0, 180, 80), &m_wnd, 88));
    tab.InsertItem(0, L"一");
    tab.InsertItem(1, L"二");
    CRect second;
    tab.GetItemRect(1, &second);
    Desktop::Click(tab.m_hWnd, second.CenterPoint().x, second.CenterPoint().y);
    EXPECT_EQ(1, tab.m_nChanges);
    EXPECT_EQ(1u, m_wnd.m_calls.size());   // ON_NOTIFY_REFLECT keeps it from the parent
    tab.DestroyWindow();
}

TEST_F(MessageMapTest, ControlChoosesItsOwnColours)
{
    CColouredStatic label;
    ASSERT_TRUE(label.Create(L"", WS_VISIBLE, CRect(10, 10, 60, 30), &m_wnd));
    m_wnd.UpdateWindow();
    CClientDC dc(&label);
    EXPECT_EQ(RGB(0, 0, 200), dc.GetPixel(25, 10));
    label.DestroyWindow();
}

TEST_F(MessageMapTest, PreTranslateMessageTakesKeysFirst)
{
    CF1Eater eater;
    ASSERT_TRUE(eater.CreateEx(0, uitest::kLoggedClass, L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 50, 50), nullptr, 0));
    uitest::MessageLog log;
    HWND child = uitest::CreateLogged(log, WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, eater.m_hWnd);
    ::SetFocus(child);
    log.Clear();
    Desktop::KeyPress(VK_F1);
    Desktop::KeyPress(VK_F2);
    EXPECT_EQ(1, eater.m_nEaten);
    EXPECT_EQ(1, log.Count(WM_KEYDOWN));   // F2 only
    eater.DestroyWindow();
}

TEST_F(MessageMapTest, UpdateDataDoesNotRouteTheNotificationsItCauses)
{
    CExchangingWnd exchanging;
    ASSERT_TRUE(exchanging.CreateEx(0, nullptr, L"", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    HWND field = ::CreateWindowExW(0, uitest::kLoggedClass, L"", WS_CHILD, 0, 0, 40, 10, exchanging.m_hWnd,
                                   reinterpret_cast<HMENU>(static_cast<UINT_PTR>(99)), nullptr, nullptr);
    ::SetWindowLongPtrW(field, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChangingProc));
    exchanging.m_calls.clear();
    ::SetWindowTextW(field, L"typed");
    EXPECT_EQ((std::vector<std::string>{"change"}), exchanging.m_calls);
    EXPECT_TRUE(exchanging.UpdateData(FALSE));
    EXPECT_EQ(1u, exchanging.m_calls.size());   // the change it made was not routed
    wchar_t text[8];
    ::GetWindowTextW(field, text, 8);
    EXPECT_STREQ(L"値", text);
    ::SetWindowTextW(field, L"又");
    EXPECT_TRUE(exchanging.UpdateData(TRUE));
    EXPECT_EQ(CString(L"又"), exchanging.m_strValue);
    EXPECT_EQ(2u, exchanging.m_calls.size());
    exchanging.DestroyWindow();
}

TEST_F(MessageMapTest, SubclassedControlsRouteThroughTheirObjectAndBack)
{
    HWND raw = ::CreateWindowExW(0, L"Button", L"raw", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, 0, 0, 50, 20,
                                 m_wnd.m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(5)), nullptr, nullptr);
    CSelfClickingButton button;
    EXPECT_TRUE(button.SubclassDlgItem(5, &m_wnd));
    EXPECT_EQ(&button, CWnd::FromHandlePermanent(raw));
    button.SendMessage(BM_CLICK);
    EXPECT_EQ(1, button.m_nReflected);
    EXPECT_EQ(BST_CHECKED, button.GetCheck());   // the button's own procedure still does the work
    EXPECT_EQ(raw, button.UnsubclassWindow());
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(raw));
    ::SendMessageW(raw, BM_CLICK, 0, 0);
    EXPECT_EQ(1, button.m_nReflected);
    EXPECT_EQ(static_cast<LRESULT>(BST_UNCHECKED), ::SendMessageW(raw, BM_GETCHECK, 0, 0));
    EXPECT_FALSE(button.SubclassDlgItem(12345, &m_wnd));
    ::DestroyWindow(raw);
}
