#include <gtest/gtest.h>

#include "controls/LinkStatic.h"
#include "core/TavrionDoc.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Resources.h"

using platform::ui::Desktop;

namespace {

// A form that counts the requests to open the additions.
class COpenCountingParent : public CWnd {
public:
    int m_nOpens = 0;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_LINK_OPEN_ADDITIONS)
            ++m_nOpens;
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class LinkStaticTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Desktop::Reset();
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 200), nullptr, 0));
    }
    void TearDown() override
    {
        if (::IsWindow(m_label.m_hWnd))
            m_label.DestroyWindow();
        m_parent.DestroyWindow();
    }
    void CreateLabel(LPCWSTR text, DWORD style = 0, const CRect& rect = CRect(20, 20, 21, 21))
    {
        ASSERT_TRUE(m_label.Create(text, WS_CHILD | WS_VISIBLE | style, rect, &m_parent, 50));
    }

    CTavrionDoc m_doc;
    COpenCountingParent m_parent;
    CLinkStatic m_label;
};

}  // namespace

TEST_F(LinkStaticTest, EmptyCaptionShowsTheTooltipTextAndSizesToIt)
{
    m_label.SetDoc(&m_doc);
    m_label.SetToolTipText(L"所見の追加");
    CreateLabel(L"");
    CString strText;
    m_label.GetWindowText(strText);
    EXPECT_STREQ(L"所見の追加", strText);
    CRect rc;
    m_label.GetWindowRect(&rc);
    m_parent.ScreenToClient(&rc);
    EXPECT_EQ(20, rc.left);
    EXPECT_EQ(20, rc.top);
    EXPECT_GT(rc.Width(), 20);
    EXPECT_GT(rc.Height(), 5);
    EXPECT_TRUE(m_label.GetStyle() & SS_NOTIFY);
}

TEST_F(LinkStaticTest, RightAlignedLabelKeepsItsRightEdge)
{
    m_label.SetDoc(&m_doc);
    CreateLabel(L"追加", SS_RIGHT, CRect(100, 20, 300, 40));
    CRect rc;
    m_label.GetWindowRect(&rc);
    m_parent.ScreenToClient(&rc);
    EXPECT_EQ(300, rc.right);
    EXPECT_LT(rc.Width(), 200);
}

TEST_F(LinkStaticTest, WithoutDocumentTheLabelShrinksToNothing)
{
    CreateLabel(L"追加", 0, CRect(20, 20, 120, 40));
    CRect rc;
    m_label.GetClientRect(&rc);
    EXPECT_EQ(0, rc.Width());
    EXPECT_EQ(0, rc.Height());
}

TEST_F(LinkStaticTest, WithoutHandCursorSetCursorIsNotHandled)
{
    m_label.SetDoc(&m_doc);
    CreateLabel(L"追加");
    EXPECT_EQ(FALSE, m_label.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_label.m_hWnd),
                                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
}

TEST_F(LinkStaticTest, SetCursorShowsTheGivenCursor)
{
    m_label.SetDoc(&m_doc);
    CreateLabel(L"追加");
    HCURSOR hCross = ::LoadCursorW(nullptr, IDC_CROSS);
    ASSERT_NE(nullptr, hCross);
    m_label.SetLinkCursor(hCross);
    EXPECT_EQ(TRUE, m_label.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(m_label.m_hWnd),
                                        MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(hCross, ::GetCursor());
}

TEST_F(LinkStaticTest, TwoQuickClicksAskTwiceAndLeaveItVisited)
{
    m_label.SetDoc(&m_doc);
    CreateLabel(L"追加");
    Desktop::Click(m_label.m_hWnd, 2, 2);
    Desktop::Click(m_label.m_hWnd, 2, 2);
    Desktop::PumpMessages();
    EXPECT_EQ(2, m_parent.m_nOpens);
    EXPECT_TRUE(m_label.IsVisited());
}

TEST_F(LinkStaticTest, HoverEndsOnTheFirstTickAfterTheMouseLeaves)
{
    m_label.SetDoc(&m_doc);
    CreateLabel(L"追加");
    Desktop::MoveMouse(m_label.m_hWnd, 2, 2);
    EXPECT_TRUE(m_label.IsHovering());
    Desktop::AdvanceClock(250);
    EXPECT_TRUE(m_label.IsHovering());
    Desktop::MoveMouse(m_parent.m_hWnd, 350, 150);
    Desktop::AdvanceClock(100);
    EXPECT_FALSE(m_label.IsHovering());
}

TEST_F(LinkStaticTest, WithoutADocumentTheMouseNeverHovers)
{
    m_label.SetAutoSize(FALSE);
    CreateLabel(L"追加", 0, CRect(20, 20, 120, 40));
    Desktop::MoveMouse(m_parent.m_hWnd, 21, 21);
    EXPECT_FALSE(m_label.IsHovering());
}
