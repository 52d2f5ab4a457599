#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/TavrionDoc.h"
#include "dialogs/DlgDetailUpdate.h"
#include "dialogs/DlgExerLeadSel.h"
#include "dialogs/DlgLimbChest.h"
#include "dialogs/DlgPreNext.h"
#include "dialogs/DlgSerialText.h"
#include "platform/ui/windowing/Desktop.h"

namespace {

using platform::ui::Desktop;

// A pane that counts the commands its strip hands it.
class CPaneCommands : public CWnd {
public:
    std::vector<UINT> ids;
    std::vector<std::pair<WPARAM, LPARAM>> columns;   // WM_USER+0xD

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) ids.push_back(LOWORD(wParam));
        if (message == WM_USER + 0xD) columns.emplace_back(wParam, lParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class ButtonStrip : public ::testing::Test {
protected:
    void SetUp() override
    {
        Desktop::Reset();
        ASSERT_TRUE(m_pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 200), nullptr, 0));
        m_doc.SetWaveColor(26, RGB(10, 60, 120));
        m_doc.SetWaveColor(27, RGB(250, 240, 10));
    }
    void TearDown() override { m_pane.DestroyWindow(); }

    // The colour at the left edge of a button's face, halfway down.
    static COLORREF FaceOf(CWnd& panel, int id)
    {
        CWnd* button = panel.GetDlgItem(id);
        button->UpdateWindow();
        CRect rect;
        button->GetClientRect(&rect);
        HDC dc = ::GetDC(button->m_hWnd);
        const COLORREF colour = ::GetPixel(dc, 3, rect.Height() / 2);
        ::ReleaseDC(button->m_hWnd, dc);
        return colour;
    }

    template <class Strip>
    void ExpectColoured(int first, int second)
    {
        Strip strip(&m_pane);
        strip.SetECGDoc(&m_doc);
        ASSERT_TRUE(strip.Create(Strip::IDD, &m_pane));
        strip.ShowWindow(SW_SHOW);
        Desktop::PumpMessages();
        EXPECT_EQ(FaceOf(strip, first), RGB(10, 60, 120));
        EXPECT_EQ(FaceOf(strip, second), RGB(10, 60, 120));
        Desktop::Click(strip.GetDlgItem(second)->m_hWnd, 3, 3);
        Desktop::PumpMessages();
        EXPECT_EQ(m_pane.ids, std::vector<UINT>{static_cast<UINT>(second)});
        strip.DestroyWindow();
    }

    CPaneCommands m_pane;
    CTavrionDoc m_doc;
};

}  // namespace

TEST_F(ButtonStrip, LimbAndChestButtonsTakeTheDocumentsFrameColourAndReachThePane)
{
    ExpectColoured<CDlgLimbChest>(3481, 3482);
}

TEST_F(ButtonStrip, BackAndNextButtonsTakeTheDocumentsFrameColourAndReachThePane)
{
    ExpectColoured<CDlgPreNext>(3497, 3498);
}

TEST_F(ButtonStrip, UpdateAndCancelButtonsTakeTheDocumentsFrameColourAndReachThePane)
{
    ExpectColoured<CDlgDetailUpdate>(3503, 3504);
}

TEST_F(ButtonStrip, WithoutADocumentTheButtonsKeepTheDefaultFace)
{
    CDlgPreNext strip(&m_pane);
    ASSERT_TRUE(strip.Create(CDlgPreNext::IDD, &m_pane));
    strip.ShowWindow(SW_SHOW);
    Desktop::PumpMessages();
    EXPECT_NE(FaceOf(strip, 3497), RGB(10, 60, 120));
    EXPECT_EQ(FaceOf(strip, 3497), ::GetSysColor(COLOR_BTNFACE));
    strip.DestroyWindow();
}

TEST_F(ButtonStrip, TheExerciseLeadChooserButtonTakesTheDocumentsFrameColour)
{
    CDlgExerLeadSel strip(&m_pane);
    strip.SetECGDoc(&m_doc);
    ASSERT_TRUE(strip.Create(CDlgExerLeadSel::IDD, &m_pane));
    strip.ShowWindow(SW_SHOW);
    Desktop::PumpMessages();
    EXPECT_EQ(FaceOf(strip, 4191), RGB(10, 60, 120));
    strip.DestroyWindow();
}

TEST_F(ButtonStrip, TheSerialCaptionSitsOnTheTextBackgroundAndAClickNamesItsColumn)
{
    m_doc.SetWaveColor(20, RGB(200, 230, 250));
    CDlgSerialText caption(&m_pane);
    caption.SetECGDoc(&m_doc);
    ASSERT_TRUE(caption.Create(CDlgSerialText::IDD, &m_pane));
    caption.SetIndex(3);
    caption.SetDlgItemText(3501, L"2024/04/01");
    caption.ShowWindow(SW_SHOW);
    Desktop::PumpMessages();
    CWnd* label = caption.GetDlgItem(3501);
    label->UpdateWindow();
    CRect rect;
    label->GetClientRect(&rect);
    HDC dc = ::GetDC(label->m_hWnd);
    EXPECT_EQ(::GetPixel(dc, rect.right - 2, rect.Height() / 2), RGB(200, 230, 250));
    ::ReleaseDC(label->m_hWnd, dc);

    Desktop::Click(caption.m_hWnd, 1, 1);
    Desktop::PumpMessages();
    EXPECT_EQ(m_pane.columns, (std::vector<std::pair<WPARAM, LPARAM>>{{3, 1}}));
    caption.DestroyWindow();
}
