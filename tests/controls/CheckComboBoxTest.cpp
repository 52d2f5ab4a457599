// The bound combo box and its inner edit, driven through typed input.
#include <gtest/gtest.h>

#include "controls/CheckComboBox.h"
#include "core/TavrionDoc.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/framework/Wnd.h"
#include "tests/support/ViewProbes.h"

using platform::ui::Desktop;

namespace {

class StoreDoc : public CTavrionDoc {
public:
    StoreDoc() { InitCheckArray(); }
};

// Remembers the selection reports of its combo boxes.
class CFormWnd : public CWnd {
public:
    int m_nReports = 0;
    int m_nLastIndex = -2;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_USER + 3) {
            ++m_nReports;
            m_nLastIndex = static_cast<int>(lParam);
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class CheckComboBoxTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, L"form", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0));
        ASSERT_TRUE(m_combo.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWN, CRect(10, 10, 150, 120), &m_parent, 3009));
        m_combo.AddString(L"男");
        m_combo.AddString(L"女性");
        m_combo.SetDoc(&m_doc);
        m_doc.SetCtrlData(3009, L"", 1, -1);
    }
    void TearDown() override { m_parent.DestroyWindow(); }
    CString Stored()
    {
        CString strText;
        m_doc.GetCtrlData(3009, strText);
        return strText;
    }
    int StoredSel()
    {
        int nSel = 0;
        m_doc.GetCtrlData(3009, nSel);
        return nSel;
    }
    StoreDoc m_doc;
    CFormWnd m_parent;
    CCheckComboBox m_combo;
};

}  // namespace

TEST_F(CheckComboBoxTest, TextThatOnlyBeginsLikeAnItemIsStoredAsTyped)
{
    m_combo.InitialText(L"女");
    CString strText;
    m_combo.GetWindowText(strText);
    EXPECT_EQ(CString(L"女"), strText);
    EXPECT_EQ(CString(L"女"), Stored());
    EXPECT_EQ(-1, StoredSel());
}

// Loaded again with a text that no item begins with (another record's), the
// box shows that text: the item it showed before must not come back as its
// idle face or with the focus.
TEST_F(CheckComboBoxTest, LoadingATextNoItemBeginsWithReplacesTheItemShownBefore)
{
    m_combo.InitialText(L"女性");
    m_combo.InitialText(L"不明");
    EXPECT_EQ(CString(L"不明"), m_combo.GetInnerEdit().GetShownText());
    m_combo.GetInnerEdit().SetFocus();
    CString strText;
    m_combo.GetWindowText(strText);
    EXPECT_EQ(CString(L"不明"), strText);
}

TEST_F(CheckComboBoxTest, ExactItemTextSelectsTheItem)
{
    m_combo.InitialText(L"女性");
    EXPECT_EQ(1, m_combo.GetCurSel());
    EXPECT_EQ(CString(L"女性"), m_combo.GetInnerEdit().GetShownText());
}

TEST_F(CheckComboBoxTest, TypedTextIsPushedWithoutSelection)
{
    m_combo.InitialText(L"");
    m_combo.GetInnerEdit().SetFocus();
    Desktop::TypeText(L"不明");
    EXPECT_EQ(CString(L"不明"), Stored());
    EXPECT_EQ(-1, StoredSel());
    EXPECT_TRUE(m_combo.GetModifyFlag());
}

TEST_F(CheckComboBoxTest, ChosenItemIsPushedWithItsIndexAndReported)
{
    m_combo.InitialText(L"");
    m_combo.SetFocus();
    Desktop::KeyPress(VK_DOWN);
    Desktop::KeyPress(VK_DOWN);
    EXPECT_EQ(CString(L"女性"), Stored());
    EXPECT_EQ(1, StoredSel());
    EXPECT_EQ(1, m_parent.m_nLastIndex);
    EXPECT_GE(m_parent.m_nReports, 1);
}

// A chosen item reaches the store and the box repaints in the state the store
// now gives it.
TEST_F(CheckComboBoxTest, ChosenItemRepaintsTheBox)
{
    m_combo.InitialText(L"");
    m_combo.SetCurSel(0);
    m_parent.UpdateWindow();
    m_combo.UpdateWindow();
    ASSERT_FALSE(m_combo.GetUpdateRect(nullptr));
    m_parent.SendMessage(WM_COMMAND, MAKEWPARAM(3009, CBN_SELCHANGE), reinterpret_cast<LPARAM>(m_combo.m_hWnd));
    EXPECT_EQ(CString(L"男"), Stored());
    EXPECT_TRUE(m_combo.GetUpdateRect(nullptr));
}

// The inner edit draws the box's frame whenever it paints without the focus;
// on an editable record that frame must leave the box taking input, and on a
// read-only one it takes none.
TEST_F(CheckComboBoxTest, AnEditableBoxStillTakesTypedTextAfterDrawingItsFrame)
{
    m_combo.InitialText(L"");
    CComboEdit& edit = m_combo.GetInnerEdit();
    testsupport::Repaint(m_parent);
    testsupport::Repaint(edit);
    const CPoint corner(static_cast<int>(m_doc.GetXUnit()), static_cast<int>(m_doc.GetYUnit()));
    EXPECT_EQ(testsupport::ClientPixel(m_combo, corner.x, corner.y), m_doc.GetWaveColor(21, 0));
    EXPECT_TRUE(m_combo.IsWindowEnabled());
    testsupport::ClickOn(edit.m_hWnd, 2, 2);
    Desktop::TypeText(L"不明");
    CString strText;
    m_combo.GetWindowText(strText);
    EXPECT_EQ(CString(L"不明"), strText);
    EXPECT_EQ(CString(L"不明"), Stored());

    // The same box on a read-only record: its frame disables it.
    m_parent.SetFocus();
    m_doc.SetReadOnly(1);
    testsupport::Repaint(edit);
    EXPECT_FALSE(m_combo.IsWindowEnabled());
    testsupport::ClickOn(edit.m_hWnd, 2, 2);
    Desktop::TypeText(L"x");
    m_combo.GetWindowText(strText);
    EXPECT_EQ(CString(L"不明"), strText);
}

TEST_F(CheckComboBoxTest, ReadOnlyEditTakesNavigationOnly)
{
    m_combo.SetReadOnly(TRUE);
    m_combo.InitialText(L"男");
    m_combo.GetInnerEdit().SetFocus();
    Desktop::TypeText(L"x");
    Desktop::KeyPress(VK_DELETE);
    m_combo.GetInnerEdit().SendMessage(WM_PASTE, 0, 0);
    Desktop::KeyPress(VK_HOME);
    CString strText;
    m_combo.GetWindowText(strText);
    EXPECT_EQ(CString(L"男"), strText);
    int nStart = -1;
    int nEnd = -1;
    m_combo.GetInnerEdit().GetSel(nStart, nEnd);
    EXPECT_EQ(0, nStart);   // Home went through
}

TEST_F(CheckComboBoxTest, LimitCutsTheTypedText)
{
    m_combo.InitialText(L"");
    m_combo.GetInnerEdit().SetLimitText(4);
    m_combo.GetInnerEdit().SetFocus();
    Desktop::TypeText(L"山田x");
    CString strText;
    m_combo.GetWindowText(strText);
    EXPECT_EQ(CString(L"山田"), strText);
}

// The combo box sets its edit's text without a change notice: a text it
// loaded past the limit is still kept whole when the person types into it.
TEST_F(CheckComboBoxTest, ALoadedTextPastTheLimitIsKeptWholeWhenTypedInto)
{
    m_combo.InitialText(L"");
    m_combo.GetInnerEdit().SetLimitText(4);
    m_combo.InitialText(L"这这这");
    m_combo.GetInnerEdit().SetFocus();
    m_combo.GetInnerEdit().SetSel(3, 3);
    Desktop::TypeText(L"x");
    CString strText;
    m_combo.GetWindowText(strText);
    EXPECT_EQ(CString(L"这这这"), strText);
    Desktop::KeyPress(VK_BACK);
    Desktop::KeyPress(VK_BACK);
    Desktop::TypeText(L"xyz");
    m_combo.GetWindowText(strText);
    EXPECT_EQ(CString(L"这xy"), strText);
}

TEST_F(CheckComboBoxTest, UpdateSelfReloadsTheStore)
{
    m_combo.InitialText(L"");
    m_doc.SetCtrlData(3009, L"男", 1, -1);
    m_combo.UpdateSelf();
    EXPECT_EQ(0, m_combo.GetCurSel());
    EXPECT_EQ(0, StoredSel());
    EXPECT_FALSE(m_combo.GetModifyFlag());
}

// A stored text that only begins like an item, or like none, is shown as
// stored and never taken for an item: saving it back must not turn "女"
// into "女性".
TEST_F(CheckComboBoxTest, UpdateSelfShowsAStoredTextThatIsNoItemAsItStands)
{
    for (const wchar_t* text : {L"女", L"不明"}) {
        m_combo.InitialText(L"");
        m_doc.SetCtrlData(3009, text, 1, -1);
        m_combo.UpdateSelf();
        CString strShown;
        m_combo.GetWindowText(strShown);
        EXPECT_EQ(CString(text), strShown);
        EXPECT_EQ(CString(text), m_combo.GetInnerEdit().GetShownText());
        EXPECT_EQ(CString(text), Stored());
        EXPECT_EQ(-1, StoredSel());
    }
}

// A reload that finds the stored text as an item shows that item from then
// on: the text typed before it must not come back when the box takes the
// focus again.
TEST_F(CheckComboBoxTest, AReloadedItemReplacesTheTextTypedBeforeIt)
{
    m_combo.InitialText(L"");
    m_combo.GetInnerEdit().SetFocus();
    Desktop::TypeText(L"不明");
    m_parent.SetFocus();
    m_doc.SetCtrlData(3009, L"女性", 1, -1);
    m_combo.UpdateSelf();
    EXPECT_EQ(CString(L"女性"), m_combo.GetInnerEdit().GetShownText());
    m_combo.GetInnerEdit().SetFocus();
    CString strText;
    m_combo.GetWindowText(strText);
    EXPECT_EQ(CString(L"女性"), strText);
    EXPECT_EQ(CString(L"女性"), Stored());
}

TEST_F(CheckComboBoxTest, UpdateSelfOfABoxWithoutIdLeavesItAlone)
{
    CCheckComboBox loose;
    ASSERT_TRUE(loose.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, CRect(10, 130, 150, 190), &m_parent, 0));
    loose.AddString(L"男");
    loose.SetDoc(&m_doc);
    loose.InitialText(L"男");
    m_doc.SetCtrlData(3009, L"女性", 1, -1);
    loose.UpdateSelf();
    CString strShown;
    loose.GetWindowText(strShown);
    EXPECT_EQ(CString(L"男"), strShown);
    loose.DestroyWindow();
}
