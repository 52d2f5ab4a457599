// The divider dialog's strip view, run in its dialog in the modal driver on
// a resting record: calipers placed from the heart rate and reported to the
// dialog's readouts, caliper I repeating alone, a line grabbed above its
// handle, the strip scrolled over a long record, no pop-up of its own.
#include <gtest/gtest.h>

#include "core/Globals.h"
#include "dialogs/DlgDivider.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "tests/support/ModalScript.h"
#include "waveviews/ViewDividerWave.h"

using platform::ui::Desktop;
using testsupport::ControlText;

namespace {

class ViewDividerWaveTest : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        m_doc.m_bAutoDelete = FALSE;
        m_doc.SetWaveColor(0, RGB(0, 0, 0));
        m_doc.SetWaveColor(2, RGB(255, 255, 255));
        for (int slot = 5; slot <= 14; ++slot) m_doc.SetWaveColor(slot, RGB(0, 0, 0));
        m_doc.SetSmoothFilterMode(0);
        m_doc.SetMouseMode(1);
    }
    void TearDown() override
    {
        Desktop::Reset();
        resttest::RestDocFixture::TearDown();
    }
    void OpenRecord(double heartRate, double seconds)
    {
        morvelance::RestRecordShape shape;
        shape.heartRate = heartRate;
        shape.seconds = seconds;
        ASSERT_EQ(0, Open(AddRecord("strip", shape)));
    }
    // The dialog on lead II from `start`, `step` acting inside it.
    void Run(int start, const std::function<void(CDlgDivider&, CViewDividerWave&)>& step)
    {
        CDlgDivider dialog(nullptr);
        dialog.SetDoc(&m_doc, DOC_TYPE_REST);
        dialog.SetLeadID(1);
        dialog.SetWaveParam(260, 30, m_doc.GetRhythmWaveData(1, nullptr, -1) / 2, 500, start);
        testsupport::ModalScript script;
        bool ran = false;
        script.On(CDlgDivider::IDD, [&](CDialog&) {
            CViewDividerWave* view = dialog.GetWaveView();
            ASSERT_NE(nullptr, view);
            view->Invalidate(FALSE);
            view->UpdateWindow();
            step(dialog, *view);
            ran = true;
        });
        dialog.DoModal();
        EXPECT_TRUE(ran);
    }
public:
    static int BlackIn(CViewDividerWave& view, int x0, int x1)
    {
        CClientDC dc(&view);
        CRect client;
        view.GetClientRect(&client);
        int n = 0;
        // Below the strip's texts: the trace alone.
        for (int x = x0; x < x1; ++x)
            for (int y = client.bottom / 3; y < client.bottom; ++y) n += dc.GetPixel(x, y) == RGB(0, 0, 0) ? 1 : 0;
        return n;
    }
};

TEST_F(ViewDividerWaveTest, AHeartRateOf60PlacesTheCalipersOneSecondApartAndTheReadoutsSayIt)
{
    OpenRecord(60.0, 10.0);
    Run(0, [](CDlgDivider& dialog, CViewDividerWave& view) {
        EXPECT_EQ(1000, view.GetInterval());
        const CString line = CDlgDivider::FormatInterval(0, 1000);
        EXPECT_EQ(line, ControlText(dialog, CDlgDivider::IDC_READOUT_1));
        EXPECT_EQ(CDlgDivider::FormatInterval(1, 1000), ControlText(dialog, CDlgDivider::IDC_READOUT_2));
        EXPECT_EQ(CDlgDivider::FormatInterval(2, 1000), ControlText(dialog, CDlgDivider::IDC_READOUT_3));
        EXPECT_NE(-1, line.Find(L"60[bpm]"));
        // 1 s at 25 mm/s: 25 of the strip's 260 squares.
        CRect client;
        view.GetClientRect(&client);
        const int span = view.GetCaliperHandle(0, 1).left - view.GetCaliperHandle(0, 0).left;
        EXPECT_NEAR(25.0 * client.Width() / 260, span, 2.0);
        EXPECT_EQ(200, view.GetCaliperHandle(1, 0).left - view.GetCaliperHandle(0, 0).left);
    });
}

TEST_F(ViewDividerWaveTest, CaliperOneAloneRepeatsAcrossTheStripAndTheChecksShowTheOthers)
{
    OpenRecord(60.0, 10.0);
    Run(0, [](CDlgDivider& dialog, CViewDividerWave& view) {
        CRect client;
        view.GetClientRect(&client);
        const CRect first = view.GetCaliperHandle(0, 0);
        const int d = view.GetCaliperHandle(0, 1).left - first.left;
        CClientDC dc(&view);
        auto blueAt = [&](int x) {
            for (int dx = -2; dx <= 2; ++dx)
                if (dc.GetPixel(x + dx, 3) == RGB(0, 0, 255)) return true;
            return false;
        };
        EXPECT_TRUE(blueAt((first.left + first.right) / 2 + 4 * d));
        testsupport::ClickControl(dialog, CDlgDivider::IDC_CHECK_2);
        view.UpdateWindow();
        CClientDC after(&view);
        EXPECT_NE(RGB(0, 0, 255), after.GetPixel((first.left + first.right) / 2 + 4 * d, 3));
    });
}

TEST_F(ViewDividerWaveTest, APressAboveAHandleGrabsTheLineAndTheDragIsReported)
{
    OpenRecord(60.0, 10.0);
    Run(0, [](CDlgDivider& dialog, CViewDividerWave& view) {
        const CRect second = view.GetCaliperHandle(0, 1);
        const int x = (second.left + second.right) / 2;
        const HWND hwnd = view.GetSafeHwnd();
        Desktop::MoveMouse(hwnd, x, 5);
        Desktop::Drag(hwnd, POINT{x, 5}, POINT{x + 40, 5});
        Desktop::PumpMessages();
        EXPECT_GT(view.GetInterval(), 1000);
        EXPECT_EQ(CDlgDivider::FormatInterval(0, view.GetInterval()),
                  ControlText(dialog, CDlgDivider::IDC_READOUT_1));
    });
}

// On a screen whose display unit is not whole (1.15 px), the second handle
// is 10 units wide from its left edge, and the whole caliper is placed from
// the cursor less half its span and half a handle, truncated once.
TEST_F(ViewDividerWaveTest, OnAFractionalDisplayUnitHandlesKeepTheirWidthAndAWholeDragTruncatesOnce)
{
    struct UnitKept {
        double unit = g_dXUnit;
        ~UnitKept() { g_dXUnit = unit; }
    } kept;
    g_dXUnit = 1.15;
    OpenRecord(60.0, 10.0);
    Run(0, [](CDlgDivider&, CViewDividerWave& view) {
        const CRect first = view.GetCaliperHandle(0, 0);
        const CRect second = view.GetCaliperHandle(0, 1);
        // trunc(x + 5.75) - trunc(x - 5.75) for the first, trunc(left + 11.5) - left
        // for the second: 11 px each.
        EXPECT_EQ(11, first.Width());
        EXPECT_EQ(11, second.Width());
        // The second line dragged so that the span is odd: half a span is then
        // no whole pixel.
        const HWND hwnd = view.GetSafeHwnd();
        const int grab = (second.left + second.right) / 2;
        const int to = first.left + 6 + 41;
        Desktop::MoveMouse(hwnd, grab, 5);
        Desktop::Drag(hwnd, POINT{grab, 5}, POINT{to, 5});
        Desktop::PumpMessages();
        const CRect stretched = view.GetCaliperHandle(0, 1);
        ASSERT_EQ(41, stretched.left - first.left);
        const double half = 20.5;
        // Grab the bar between the handles, clear of both, and drag it sideways.
        const int x = (first.right + stretched.left) / 2;
        const int y = stretched.bottom;
        Desktop::MoveMouse(hwnd, x, y);
        Desktop::Drag(hwnd, POINT{x, y}, POINT{x + 33, y});
        Desktop::PumpMessages();
        const CRect moved = view.GetCaliperHandle(0, 0);
        EXPECT_EQ(static_cast<int>(x + 33 - 5 * 1.15 - half), moved.left);
        EXPECT_EQ(static_cast<int>(x + 33 + 5 * 1.15 - half), moved.right);
    });
}

TEST_F(ViewDividerWaveTest, ADoubleClickInTheStripOpensNothing)
{
    OpenRecord(60.0, 10.0);
    Run(0, [](CDlgDivider&, CViewDividerWave& view) {
        testsupport::ModalScript inner;
        Desktop::DoubleClick(view.GetSafeHwnd(), 400, 20);
        Desktop::PumpMessages();
        EXPECT_TRUE(inner.Seen().empty());
    });
}

// A minute of rhythm in the strip, scrolled to its end.
class ViewDividerWaveRhythmTest : public rhythmtest::RhythmDocTest {
protected:
    void TearDown() override
    {
        Desktop::Reset();
        rhythmtest::RhythmDocTest::TearDown();
    }
};

TEST_F(ViewDividerWaveRhythmTest, TheStripScrolledToTheEndDrawsItsLastSecondsAndTheLeadKeepsItsSamples)
{
    morvelance::RhythmRecordShape shape;
    shape.seconds = 60.0;
    ASSERT_EQ(0, Open(rhythmtest::WriteRhythm(m_dir, "minute", shape), 1));
    m_doc->m_bAutoDelete = FALSE;
    m_doc->SetWaveColor(0, RGB(0, 0, 0));
    m_doc->SetWaveColor(1, RGB(255, 200, 200));
    m_doc->SetWaveColor(2, RGB(255, 255, 255));
    for (int slot = 5; slot <= 14; ++slot) m_doc->SetWaveColor(slot, RGB(0, 0, 0));
    m_doc->SetSmoothFilterMode(0);
    const int length = m_doc->GetRhythmWaveData(0, nullptr, -1) / 2;
    CDlgDivider dialog(nullptr);
    dialog.SetDoc(m_doc.get(), DOC_TYPE_RHYTHM);
    dialog.SetWaveParam(260, 30, length, 500, 0);
    testsupport::ModalScript script;
    script.On(CDlgDivider::IDD, [&](CDialog&) {
        CViewDividerWave& view = *dialog.GetWaveView();
        auto* bar = static_cast<CScrollBar*>(dialog.GetDlgItem(CDlgDivider::IDC_STRIP_BAR));
        ASSERT_NE(nullptr, bar);
        dialog.SendMessage(WM_HSCROLL, SB_RIGHT, reinterpret_cast<LPARAM>(bar->GetSafeHwnd()));
        view.UpdateWindow();
        ASSERT_EQ(length - 5000, view.GetStripStart());
        EXPECT_EQ(length, view.GetLeadSampleCount(0));
        CRect client;
        view.GetClientRect(&client);
        // The trace runs to the strip's last tenth: the whole selected range is drawn.
        EXPECT_GT(ViewDividerWaveTest::BlackIn(view, client.right - client.Width() / 10, client.right - 2), 20);
    });
    dialog.DoModal();
    EXPECT_EQ(1u, script.Seen().size());
}

}  // namespace
