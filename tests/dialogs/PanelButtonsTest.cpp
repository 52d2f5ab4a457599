#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "core/TavrionDoc.h"
#include "dialogs/Dlg3DControl.h"
#include "dialogs/DlgDetailUpdate.h"
#include "dialogs/DlgExerTimer.h"
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

    // Pixels of the icons' blue and red strokes on a button (or of `face`).
    static int IconInk(CWnd& panel, int id, COLORREF face = CLR_INVALID)
    {
        CWnd* button = panel.GetDlgItem(id);
        button->Invalidate(TRUE);
        button->UpdateWindow();
        CRect rect;
        button->GetClientRect(&rect);
        HDC dc = ::GetDC(button->m_hWnd);
        int ink = 0;
        for (int y = 0; y < rect.Height(); ++y)
            for (int x = 0; x < rect.Width(); ++x) {
                const COLORREF pixel = ::GetPixel(dc, x, y);
                if (face != CLR_INVALID) {
                    if (pixel == face) ++ink;
                } else if (pixel == RGB(0x30, 0x60, 0xE0) || pixel == RGB(0, 0, 0x80) || pixel == RGB(0xFF, 0, 0)) ++ink;
            }
        ::ReleaseDC(button->m_hWnd, dc);
        return ink;
    }

    // Every icon button of the strip shows its glyph on the frame colour
    // with a document, and nothing but the default face without one.
    template <class Strip>
    void ExpectIcons(const std::vector<int>& ids)
    {
        for (bool withDoc : {true, false}) {
            Strip strip(&m_pane);
            if (withDoc) strip.SetECGDoc(&m_doc);
            ASSERT_TRUE(strip.Create(Strip::IDD, &m_pane));
            strip.ShowWindow(SW_SHOW);
            Desktop::PumpMessages();
            for (int id : ids) {
                if (withDoc) {
                    // The glyph fills the small buttons: the face shows round it.
                    EXPECT_GT(IconInk(strip, id, RGB(10, 60, 120)), 10) << id;
                    EXPECT_GT(IconInk(strip, id), 8) << id;
                } else {
                    EXPECT_EQ(IconInk(strip, id), 0) << id;
                }
            }
            if (withDoc) {
                Desktop::Click(strip.GetDlgItem(ids.back())->m_hWnd, 2, 2);
                Desktop::PumpMessages();
                EXPECT_EQ(m_pane.ids, std::vector<UINT>{static_cast<UINT>(ids.back())});
                m_pane.ids.clear();
            }
            strip.DestroyWindow();
        }
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

TEST_F(ButtonStrip, TheThreeDStripShowsItsSixGlyphsOnTheFrameColourAndReachesThePane)
{
    ExpectIcons<CDlg3DControl>({4184, 4186, 4182, 4183, 4185, 4189});
}

TEST_F(ButtonStrip, TheTimeStepStripShowsItsPlaybackGlyphsOnTheFrameColourAndReachesThePane)
{
    ExpectIcons<CDlgExerTimer>({4174, 4175, 4177});
}
