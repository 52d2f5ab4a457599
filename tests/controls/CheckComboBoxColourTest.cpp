// The bound combo box's field takes the document's field background (colour
// slot 20), painted idle, brushed as the focus comes, and as the colour it hands out for
// its edit.
#include <gtest/gtest.h>

#include "controls/CheckComboBox.h"
#include "core/TavrionDoc.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/Wnd.h"
#include "platform/ui/windowing/Desktop.h"

using platform::ui::Desktop;

namespace {

const COLORREF kField = RGB(250, 236, 190);
const COLORREF kText = RGB(20, 20, 140);
const COLORREF kFrame = RGB(200, 40, 40);
const COLORREF kReadOnlyFrame = RGB(40, 160, 40);

class StoreDoc : public CTavrionDoc {
public:
    StoreDoc() { InitCheckArray(); }
};

class CheckComboColour : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_doc.SetWaveColor(20, kField);
        m_doc.SetWaveColor(25, kText);
        m_doc.SetWaveColor(21, kFrame);
        m_doc.SetWaveColor(22, kReadOnlyFrame);
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, L"form", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0));
        ASSERT_TRUE(m_combo.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_DROPDOWN, CRect(10, 10, 190, 120), &m_parent,
                                   3009));
        m_combo.AddString(L"男");
        m_combo.SetDoc(&m_doc);
        m_doc.SetCtrlData(3009, L"", 1, -1);
        m_combo.InitialText(L"");
    }
    void TearDown() override
    {
        m_parent.DestroyWindow();
        Desktop::Reset();
    }
    void Paint()
    {
        m_combo.Invalidate(TRUE);
        m_combo.UpdateWindow();
        m_combo.GetInnerEdit().UpdateWindow();
        Desktop::PumpMessages();
    }
    // Pixels of the colour in the combo's client area.
    int Count(COLORREF colour)
    {
        CClientDC dc(&m_combo);
        CRect client;
        m_combo.GetClientRect(&client);
        int n = 0;
        for (int y = client.top; y < client.bottom; ++y)
            for (int x = client.left; x < client.right; ++x) n += dc.GetPixel(x, y) == colour ? 1 : 0;
        return n;
    }
    COLORREF FieldMiddle()
    {
        CClientDC dc(&m_combo);
        CRect client;
        m_combo.GetClientRect(&client);
        return dc.GetPixel(client.Width() * 3 / 4, client.Height() / 2);
    }

    StoreDoc m_doc;
    CWnd m_parent;
    CCheckComboBox m_combo;
};

}  // namespace

TEST_F(CheckComboColour, TheIdleFieldIsTheDocumentsFieldColourInsideTheEditableFrame)
{
    Paint();
    EXPECT_EQ(FieldMiddle(), kField);
    CRect client;
    m_combo.GetClientRect(&client);
    // Beside the edit too: where the drop-down button and the margins are.
    CClientDC dc(&m_combo);
    EXPECT_EQ(dc.GetPixel(client.right - 6, client.Height() / 2), kField);
    EXPECT_EQ(dc.GetPixel(client.right - 1, client.bottom - 1), kField);
    // Most of the field is background: no white box of the system's own.
    EXPECT_GT(Count(kField), client.Width() * client.Height() / 2);
    EXPECT_EQ(Count(RGB(255, 255, 255)), 0);
}

TEST_F(CheckComboColour, TheFieldBrushedAsTheFocusComesIsTheDocumentsFieldColour)
{
    Paint();
    CClientDC dc(&m_combo);
    CRect client;
    m_combo.GetClientRect(&client);
    dc.FillSolidRect(&client, RGB(0, 0, 0));
    // What the inner edit asks of its combo box as it takes the focus.
    m_combo.BrushFrame();
    EXPECT_EQ(dc.GetPixel(client.Width() / 2, client.Height() / 2), kField);
    EXPECT_EQ(dc.GetPixel(client.right - 2, client.Height() / 2), kField);
}

TEST_F(CheckComboColour, TheColourHandedToTheEditIsTheFieldColourWithTheTextColour)
{
    CDC dc;
    ASSERT_TRUE(dc.Attach(platform::gdi::CreateImageDC(20, 20)));
    const LRESULT brush = m_parent.SendMessage(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc.GetSafeHdc()),
                                               reinterpret_cast<LPARAM>(m_combo.GetSafeHwnd()));
    ASSERT_NE(0, brush);
    EXPECT_EQ(dc.GetBkColor(), kField);
    EXPECT_EQ(dc.GetTextColor(), kText);
    LOGBRUSH logBrush = {};
    ASSERT_NE(0, ::GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof(logBrush), &logBrush));
    EXPECT_EQ(logBrush.lbColor, kField);
}

// A record opened for viewing only: a box that someone enabled again still
// draws the read-only frame, and with it takes the disabled style.
TEST_F(CheckComboColour, ABoxOfAViewOnlyRecordDrawnReadOnlyTakesNoInput)
{
    m_doc.SetReadOnly(1);
    m_combo.EnableWindow(TRUE);
    Paint();
    EXPECT_GT(Count(kReadOnlyFrame), 0);
    EXPECT_EQ(0, Count(kFrame));
    EXPECT_FALSE(m_combo.IsWindowEnabled());
}

TEST_F(CheckComboColour, ABoxOfAnEditableRecordStaysEnabledWhenDrawn)
{
    Paint();
    EXPECT_GT(Count(kFrame), 0);
    EXPECT_TRUE(m_combo.IsWindowEnabled());
}
