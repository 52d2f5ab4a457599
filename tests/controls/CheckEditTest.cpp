// The bound edit driven through a real window and typed input.
#include <gtest/gtest.h>

#include "controls/CheckEdit.h"
#include "core/TavrionDoc.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/framework/Wnd.h"

using platform::ui::Desktop;

namespace {

class StoreDoc : public CTavrionDoc {
public:
    StoreDoc() { InitCheckArray(); }
};

class CheckEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, L"form", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0));
        ASSERT_TRUE(m_edit.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(10, 10, 110, 30), &m_parent, 3001));
        ASSERT_TRUE(m_other.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(10, 40, 110, 60), &m_parent, 0));
        m_edit.SetDoc(&m_doc);
        m_doc.SetCtrlData(3001, L"", 1, -1);
    }
    void TearDown() override
    {
        m_parent.DestroyWindow();
    }
    // Types into the field, then leaves it.
    CString TypeAndLeave(LPCWSTR text)
    {
        m_edit.SetFocus();
        m_edit.SetWindowText(L"");
        Desktop::TypeText(text);
        m_other.SetFocus();
        CString strText;
        m_edit.GetWindowText(strText);
        return strText;
    }
    StoreDoc m_doc;
    CWnd m_parent;
    CCheckEdit m_edit;
    CEdit m_other;
};

}  // namespace

TEST_F(CheckEditTest, TypedTextReachesTheStore)
{
    m_edit.SetFocus();
    Desktop::TypeText(L"00123");
    CString strStored;
    m_doc.GetCtrlData(3001, strStored);
    EXPECT_EQ(CString(L"00123"), strStored);
    EXPECT_TRUE(m_edit.GetModifyFlag());
    EXPECT_EQ(1, m_doc.GetCtrlModifyFlag(3001));
}

TEST_F(CheckEditTest, NumericFieldKeepsOnlyNumbersWithinBounds)
{
    m_edit.SetRange(31.0f, 1.0f);
    EXPECT_EQ(CString(L""), TypeAndLeave(L"0"));
    EXPECT_EQ(CString(L""), TypeAndLeave(L"32"));
    EXPECT_EQ(CString(L"31"), TypeAndLeave(L"31"));
    EXPECT_EQ(CString(L"1"), TypeAndLeave(L"1"));
    EXPECT_EQ(CString(L""), TypeAndLeave(L"3a"));
    EXPECT_EQ(CString(L"1.5"), TypeAndLeave(L"1.5"));
}

// Only digits and points are looked at, and then the number they begin
// with: a second point is kept as typed.
TEST_F(CheckEditTest, NumericFieldKeepsASecondPointWhenTheNumberBeforeItIsInRange)
{
    m_edit.SetRange(31.0f, 1.0f);
    EXPECT_EQ(CString(L"1.5.2"), TypeAndLeave(L"1.5.2"));
    CString strStored;
    m_doc.GetCtrlData(3001, strStored);
    EXPECT_EQ(CString(L"1.5.2"), strStored);
    // Read as 0, below the lower bound.
    EXPECT_EQ(CString(L""), TypeAndLeave(L"."));
    EXPECT_EQ(CString(L""), TypeAndLeave(L"0.5.2"));
}

TEST_F(CheckEditTest, LimitCutsWholeCharactersAndPutsTheCaretAtTheEnd)
{
    m_edit.SetLimitText(10);
    m_edit.SetFocus();
    Desktop::TypeText(L"山田太郎様x");
    CString strText;
    m_edit.GetWindowText(strText);
    EXPECT_EQ(CString(L"山田太郎様"), strText);
    int nStart = 0;
    int nEnd = 0;
    m_edit.GetSel(nStart, nEnd);
    EXPECT_EQ(5, nStart);
    EXPECT_EQ(5, nEnd);
}

// A value the store holds past the limit is shown and kept whole: the limit
// guards what the person types. A key that would lengthen it is refused,
// deleting is taken, and what is typed after the field is back within its
// limit is cut as before.
TEST_F(CheckEditTest, AStoredTextPastTheLimitIsKeptWholeAndTypingMayNotLengthenIt)
{
    m_edit.SetLimitText(10);
    m_doc.SetCtrlData(3001, L"这这这这这这", 1, -1);
    m_edit.UpdateSelf();
    CString strText;
    m_edit.GetWindowText(strText);
    EXPECT_EQ(CString(L"这这这这这这"), strText);
    CString strStored;
    m_doc.GetCtrlData(3001, strStored);
    EXPECT_EQ(CString(L"这这这这这这"), strStored);

    m_edit.SetFocus();
    m_edit.SetSel(6, 6);
    Desktop::TypeText(L"x");
    m_edit.GetWindowText(strText);
    EXPECT_EQ(CString(L"这这这这这这"), strText);
    m_edit.SetSel(2, 2);
    Desktop::KeyPress(VK_BACK);
    m_edit.GetWindowText(strText);
    EXPECT_EQ(CString(L"这这这这这"), strText);
    // Back to 8 columns: two more may be typed, where the caret is.
    Desktop::KeyPress(VK_BACK);
    Desktop::TypeText(L"abc");
    m_edit.GetWindowText(strText);
    EXPECT_EQ(CString(L"ab这这这这"), strText);
    m_doc.GetCtrlData(3001, strStored);
    EXPECT_EQ(CString(L"ab这这这这"), strStored);
}

TEST_F(CheckEditTest, UpdateSelfLoadsTheStoreAndFollowsItsFlag)
{
    m_doc.SetCtrlData(3001, L"A-77", 1, -1);
    m_edit.UpdateSelf();
    CString strText;
    m_edit.GetWindowText(strText);
    EXPECT_EQ(CString(L"A-77"), strText);
    EXPECT_FALSE(m_edit.GetModifyFlag());
}

// A record opened for viewing only: reloading leaves the field disabled.
TEST_F(CheckEditTest, ReadOnlyDocumentKeepsTheFieldDisabled)
{
    m_doc.SetReadOnly(1);
    m_edit.UpdateSelf();
    EXPECT_FALSE(m_edit.IsWindowEnabled());
    m_doc.SetReadOnly(0);
    m_edit.UpdateSelf();
    EXPECT_TRUE(m_edit.IsWindowEnabled());
}

// The form's reload stores the text and has the field repaint in the state
// the store now gives it.
TEST_F(CheckEditTest, ReloadFromTheFormRepaintsTheField)
{
    m_doc.SetCtrlData(3001, L"old", 1, -1);
    m_edit.InitialText(L"new");
    m_parent.UpdateWindow();
    m_edit.UpdateWindow();
    ASSERT_FALSE(m_edit.GetUpdateRect(nullptr));
    m_edit.SendMessage(WM_USER + 4, 0, 0);
    EXPECT_TRUE(m_edit.GetUpdateRect(nullptr));
    EXPECT_TRUE(m_edit.GetModifyFlag());
}

TEST_F(CheckEditTest, FieldWithoutIdLeavesTheStoreAlone)
{
    CCheckEdit loose;
    ASSERT_TRUE(loose.Create(WS_CHILD | WS_VISIBLE, CRect(10, 70, 110, 90), &m_parent, 0));
    loose.SetDoc(&m_doc);
    loose.SetFocus();
    Desktop::TypeText(L"x");
    EXPECT_EQ(0, loose.SendMessage(WM_USER + 4, 0, 0));
    EXPECT_EQ(0, m_doc.GetCtrlModifyFlag(3001));
    loose.DestroyWindow();
}

TEST_F(CheckEditTest, FocusAddsTheSunkenEdgeAndLeavingRemovesIt)
{
    m_other.SetFocus();
    m_edit.SetFocus();
    EXPECT_TRUE(m_edit.GetExStyle() & WS_EX_CLIENTEDGE);
    m_other.SetFocus();
    EXPECT_FALSE(m_edit.GetExStyle() & WS_EX_CLIENTEDGE);
}

TEST_F(CheckEditTest, IdleFieldPaintsInTheFieldColourWithItsFrame)
{
    m_doc.SetWaveColor(20, RGB(250, 240, 200));
    m_doc.SetWaveColor(21, RGB(0, 0, 160));
    m_other.SetFocus();
    m_edit.Invalidate(TRUE);
    m_edit.UpdateWindow();
    CClientDC dc(&m_edit);
    CRect rect;
    m_edit.GetClientRect(&rect);
    EXPECT_EQ(RGB(250, 240, 200), dc.GetPixel(rect.Width() - 3, rect.Height() / 2));
    EXPECT_EQ(RGB(0, 0, 160), dc.GetPixel(0, rect.Height() / 2));
}

// A record opened for viewing only: a field that someone enabled again is
// drawn with the read-only frame and with it takes the disabled style.
TEST_F(CheckEditTest, IdleFieldOfAViewOnlyRecordTakesNoInputOnceDrawn)
{
    m_doc.SetWaveColor(21, RGB(0, 0, 160));
    m_doc.SetWaveColor(22, RGB(0, 160, 0));
    m_doc.SetReadOnly(1);
    m_edit.EnableWindow(TRUE);
    m_edit.Invalidate(TRUE);
    m_edit.UpdateWindow();
    CClientDC dc(&m_edit);
    CRect rect;
    m_edit.GetClientRect(&rect);
    EXPECT_EQ(RGB(0, 160, 0), dc.GetPixel(0, rect.Height() / 2));
    EXPECT_FALSE(m_edit.IsWindowEnabled());
}

TEST_F(CheckEditTest, IdleFieldOfAnEditableRecordStaysEnabledOnceDrawn)
{
    m_edit.Invalidate(TRUE);
    m_edit.UpdateWindow();
    EXPECT_TRUE(m_edit.IsWindowEnabled());
}

namespace {

// A bound edit that counts the WM_PAINT it receives.
class CPaintCountingEdit : public CCheckEdit {
public:
    int m_nPaints = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_PAINT) ++m_nPaints;
        return CCheckEdit::WindowProc(message, wParam, lParam);
    }
};

}  // namespace

TEST(CheckEditPainting, FocusedFieldWithoutDocumentPaintsOncePerInvalidation)
{
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"form", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0));
    CPaintCountingEdit edit;
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(10, 10, 110, 30), &parent, 3001));
    Desktop::PumpMessages();
    // Taking the focus puts the sunken edge on: the client area shrinks
    // while the field waits to be repainted.
    edit.SetFocus();
    edit.m_nPaints = 0;
    EXPECT_LT(Desktop::PumpMessages(), Desktop::kMaxPumpedMessages);
    EXPECT_EQ(1, edit.m_nPaints);
    edit.Invalidate(TRUE);
    edit.m_nPaints = 0;
    EXPECT_LT(Desktop::PumpMessages(), Desktop::kMaxPumpedMessages);
    EXPECT_EQ(1, edit.m_nPaints);
    parent.DestroyWindow();
}
