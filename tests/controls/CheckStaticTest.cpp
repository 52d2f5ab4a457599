// The bound static text in a real window.
#include <gtest/gtest.h>

#include "controls/CheckStatic.h"
#include "core/TavrionDoc.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/Wnd.h"

namespace {

class StoreDoc : public CTavrionDoc {
public:
    StoreDoc() { InitCheckArray(); }
};

class CheckStaticTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, L"form", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0));
        ASSERT_TRUE(m_label.Create(L"", WS_CHILD | WS_VISIBLE, CRect(10, 10, 110, 30), &m_parent, 3001));
        m_label.SetDoc(&m_doc);
    }
    void TearDown() override { m_parent.DestroyWindow(); }
    StoreDoc m_doc;
    CWnd m_parent;
    CCheckStatic m_label;
};

}  // namespace

TEST_F(CheckStaticTest, UpdateSelfShowsTheStoredText)
{
    m_doc.SetCtrlData(3001, L"山田", 1, -1);
    m_label.UpdateSelf();
    CString strText;
    m_label.GetWindowText(strText);
    EXPECT_EQ(CString(L"山田"), strText);
}

// The static's text is typed text: the entry keeps no list choice, even
// where one was stored before.
TEST_F(CheckStaticTest, PushStoresTheTextAsAnEdit)
{
    m_doc.SetCtrlData(3001, L"old", 1, 2);
    m_label.InitialText(L"new");
    // The reload answers 0 whatever the store made of the text (it once
    // answered the entry's modified flag); the store itself tells that.
    EXPECT_EQ(0, m_label.SendMessage(WM_USER + 4, 0, 0));
    CString strStored;
    m_doc.GetCtrlData(3001, strStored);
    EXPECT_EQ(CString(L"new"), strStored);
    EXPECT_EQ(1, m_doc.GetCtrlModifyFlag(3001));
    int selection = 0;
    m_doc.GetCtrlData(3001, selection);
    EXPECT_EQ(-1, selection);
}

TEST_F(CheckStaticTest, PushRepaintsTheLabel)
{
    m_label.InitialText(L"new");
    m_parent.UpdateWindow();
    m_label.UpdateWindow();
    ASSERT_FALSE(m_label.GetUpdateRect(nullptr));
    m_label.SendMessage(WM_USER + 4, 0, 0);
    EXPECT_TRUE(m_label.GetUpdateRect(nullptr));
}

TEST_F(CheckStaticTest, PushWithoutIdFails)
{
    CCheckStatic loose;
    ASSERT_TRUE(loose.Create(L"x", WS_CHILD | WS_VISIBLE, CRect(10, 40, 110, 60), &m_parent, 0));
    loose.SetDoc(&m_doc);
    EXPECT_EQ(-1, loose.SendMessage(WM_USER + 4, 0, 0));
    loose.DestroyWindow();
}

TEST_F(CheckStaticTest, PaintsInTheFieldColour)
{
    m_doc.SetWaveColor(20, RGB(10, 200, 30));
    m_label.Invalidate(TRUE);
    m_parent.UpdateWindow();
    m_label.UpdateWindow();
    CClientDC dc(&m_label);
    EXPECT_EQ(RGB(10, 200, 30), dc.GetPixel(50, 5));
}
