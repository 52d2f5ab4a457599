// The edit part of a bound combo box, focused with a text longer than it
// can show: it scrolls to the caret at the text's end, so that what is
// typed next is seen where it goes.
#include <gtest/gtest.h>

#include "controls/CheckComboBox.h"
#include "controls/ComboEdit.h"
#include "core/TavrionDoc.h"
#include "platform/ui/framework/Wnd.h"
#include "platform/ui/windowing/Desktop.h"

using platform::ui::Desktop;

namespace {

class StoreDoc : public CTavrionDoc {
public:
    StoreDoc() { InitCheckArray(); }
};

const wchar_t kLong[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghijklmnopqrstuvwxyz";

class ComboEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, L"form", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0));
        ASSERT_TRUE(m_other.CreateEx(0, L"Edit", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, CRect(10, 150, 100, 170),
                                     &m_parent, 3001));
        ASSERT_TRUE(m_combo.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                                   CRect(10, 10, 110, 120), &m_parent, 3009));
        m_combo.SetDoc(&m_doc);
        m_doc.SetCtrlData(3009, L"", 1, -1);
        m_combo.InitialText(L"");
        m_other.SetFocus();
        Desktop::PumpMessages();
    }
    void TearDown() override
    {
        m_parent.DestroyWindow();
        Desktop::Reset();
    }
    CComboEdit& Edit() { return m_combo.GetInnerEdit(); }
    int FirstVisible() { return static_cast<int>(Edit().SendMessage(EM_GETFIRSTVISIBLELINE)); }

    StoreDoc m_doc;
    CWnd m_parent;
    CWnd m_other;
    CCheckComboBox m_combo;
};

}  // namespace

TEST_F(ComboEditTest, FocusedWithATextLongerThanItsWidthItScrollsToTheCaretAtTheEnd)
{
    // The store's text, longer than the field, shown at its start.
    m_doc.SetCtrlData(3009, kLong, 0, -1);
    m_combo.UpdateSelf();
    ASSERT_EQ(Edit().GetShownText(), kLong);
    Edit().SendMessage(EM_SETSEL, 0, 0);
    Edit().SendMessage(EM_SCROLLCARET, 0, 0);
    ASSERT_EQ(FirstVisible(), 0);
    Edit().SetFocus();
    Desktop::PumpMessages();
    DWORD start = 0, end = 0;
    Edit().SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const int length = static_cast<int>(std::wcslen(kLong));
    EXPECT_EQ(static_cast<int>(end), length);
    // The text's end is in view, its start scrolled out to the left.
    EXPECT_GT(FirstVisible(), 0);
    const LRESULT caret = Edit().SendMessage(EM_POSFROMCHAR, static_cast<WPARAM>(length - 1), 0);
    CRect client;
    Edit().GetClientRect(&client);
    EXPECT_LT(static_cast<short>(LOWORD(caret)), client.right);
    EXPECT_GE(static_cast<short>(LOWORD(caret)), 0);
}

TEST_F(ComboEditTest, FocusedWithATextThatFitsNothingScrolls)
{
    m_doc.SetCtrlData(3009, L"ABC", 0, -1);
    m_combo.UpdateSelf();
    Edit().SetFocus();
    Desktop::PumpMessages();
    EXPECT_EQ(FirstVisible(), 0);
}
