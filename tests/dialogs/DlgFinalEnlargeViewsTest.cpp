// The master-step enlarge dialogs on a maker record: the beat drawn inside
// its frame beside the calibration column, the titles with the lead's name
// and the recording time after the load, the packed readout of each side
// and zooming one side without the other.
#include <gtest/gtest.h>

#include "analysisviews/ViewCAL.h"
#include "analysisviews/ViewFinalEnlargeWave.h"
#include "dialogs/DlgFinalLoadEnlarge.h"
#include "dialogs/DlgFinalRestEnlarge.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/documents/FinalViewDocTestUtil.h"
#include "tests/support/ModalScript.h"
#include "tests/support/ViewProbes.h"

using platform::ui::Desktop;
using testsupport::ClickControl;
using testsupport::ControlText;

namespace {

const COLORREF kTrace = RGB(0, 0, 200);
const COLORREF kPaper = RGB(255, 255, 255);

class FinalEnlargeDialogs : public finaltest::FinalDocTest {
protected:
    void SetUp() override
    {
        finaltest::FinalDocTest::SetUp();
        m_doc.m_bAutoDelete = FALSE;
        m_doc.SetWaveColor(2, kPaper);
        for (int slot = 5; slot <= 16; ++slot) m_doc.SetWaveColor(slot, kTrace);
        m_doc.SetWaveColor(0, kTrace);
        std::string xml;
        const std::string path = Write(finaltest::SynthRecord(), &xml);
        ASSERT_EQ(0, Open(m_doc, path, xml));
        m_doc.InitialSense();
    }
    void TearDown() override
    {
        Desktop::Reset();
        finaltest::FinalDocTest::TearDown();
    }
    static CRect PlaceOf(CWnd& dialog, CWnd& control)
    {
        CRect rect;
        control.GetWindowRect(&rect);
        dialog.ScreenToClient(&rect);
        return rect;
    }
    // Pixels of the trace's colour in the view's client area.
    static int TraceInk(CWnd& view)
    {
        view.Invalidate(TRUE);
        view.UpdateWindow();
        CRect client;
        view.GetClientRect(&client);
        int ink = 0;
        for (int y = 0; y < client.Height(); y += 1)
            for (int x = 0; x < client.Width(); x += 1)
                if (testsupport::ClientPixel(view, x, y) == kTrace) ++ink;
        return ink;
    }
    CFinalViewDoc m_doc;
};

}  // namespace

TEST_F(FinalEnlargeDialogs, TheRestDialogDrawsTheBeatInItsFrameRightOfTheCalibrationColumn)
{
    CDlgFinalRestEnlarge dialog(nullptr);
    dialog.SetLeadID(1);
    dialog.SetDoc(&m_doc);
    testsupport::ModalScript script;
    script.On(CDlgFinalRestEnlarge::IDD, [&](CDialog&) {
        CViewFinalEnlargeWave* view = dialog.GetWaveView();
        ASSERT_NE(nullptr, view);
        ASSERT_NE(nullptr, dialog.GetCalibrationView());
        const CRect beat = PlaceOf(dialog, *view);
        const CRect column = PlaceOf(dialog, *dialog.GetCalibrationView());
        EXPECT_LE(column.right, beat.left);
        // Forty design units of a 1024-pixel screen: ten millimetres of four pixels.
        EXPECT_EQ(40, column.Width());
        const CRect bar = PlaceOf(dialog, *dialog.GetDlgItem(CDlgFinalRestEnlarge::IDC_VERTICAL_BAR));
        EXPECT_LE(beat.right, bar.left);
        EXPECT_GT(TraceInk(*view), 100);
        const CString name = m_doc.GetCurrentDataItem()->stLeadName.strDispName[1];
        EXPECT_EQ(CString(L"安静時    导联  ") + name, ControlText(dialog, CDlgFinalRestEnlarge::IDC_TITLE));
        CString caption;
        dialog.GetWindowText(caption);
        EXPECT_EQ(CString(L"波形放大显示"), caption);
        // The drag mode is on; the ruler arms and takes the bars away.
        EXPECT_EQ(1, static_cast<int>(dialog.SendDlgItemMessage(CDlgFinalRestEnlarge::IDC_DRAG, BM_GETCHECK)));
        ClickControl(dialog, CDlgFinalRestEnlarge::IDC_RULER);
        EXPECT_EQ(RULER_STATUS_ARMED, view->GetRulerStatus());
        EXPECT_FALSE(dialog.GetDlgItem(CDlgFinalRestEnlarge::IDC_HORIZONTAL_BAR)->IsWindowEnabled());
        dialog.SendMessage(WM_USER + 0xA, MAKEWPARAM(120, 1250), 1);
        EXPECT_EQ(CString(L"120[mS]  1.250[mV]"), ControlText(dialog, CDlgFinalRestEnlarge::IDC_READOUT));
    });
    dialog.DoModal();
    EXPECT_EQ(1u, script.Seen().size());
}

// Every control of both dialogs, the close button at the bottom included, lies whole inside
// the client area, on a landscape and a portrait design screen.
TEST_F(FinalEnlargeDialogs, EveryControlOfBothDialogsLiesInsideTheClientArea)
{
    auto allInside = [](CDialog& dialog) {
        CRect client;
        dialog.GetClientRect(&client);
        int controls = 0;
        for (CWnd* child = dialog.GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT)) {
            if (!child->IsWindowVisible()) continue;
            const CRect place = PlaceOf(dialog, *child);
            CRect inside;
            inside.IntersectRect(&place, &client);
            EXPECT_TRUE(place == inside) << "control " << child->GetDlgCtrlID() << " ends at " << place.bottom
                                         << ", the client at " << client.bottom;
            ++controls;
        }
        EXPECT_GT(controls, 8);
    };
    for (int turned : {0, 1}) {
        SCOPED_TRACE(turned ? "portrait" : "landscape");
        m_doc.SetTurnedScreen(turned);
        CDlgFinalRestEnlarge rest(nullptr);
        rest.SetLeadID(1);
        rest.SetDoc(&m_doc);
        testsupport::ModalScript script;
        script.On(CDlgFinalRestEnlarge::IDD, [&](CDialog&) {
            allInside(rest);
            // The close button is at the bottom, under the bars.
            const CRect close = PlaceOf(rest, *rest.GetDlgItem(IDOK));
            EXPECT_GT(close.top, PlaceOf(rest, *rest.GetDlgItem(CDlgFinalRestEnlarge::IDC_HORIZONTAL_BAR)).bottom);
        });
        rest.DoModal();
        CDlgFinalLoadEnlarge load(nullptr);
        load.SetDoc(&m_doc);
        load.SetLoadIndex(-2);
        load.SetLeadID(1);
        script.On(CDlgFinalLoadEnlarge::IDD, [&](CDialog&) { allInside(load); });
        load.DoModal();
        EXPECT_EQ(2u, script.Seen().size());
    }
}

TEST_F(FinalEnlargeDialogs, TheLoadDialogTitlesItsSidesAndReadsAndZoomsEachOnItsOwn)
{
    ASSERT_TRUE(m_doc.SetCurLoadIndex(1));
    CDlgFinalLoadEnlarge dialog(nullptr);
    dialog.SetDoc(&m_doc);
    dialog.SetLoadIndex(-2);
    dialog.SetLeadID(1);
    testsupport::ModalScript script;
    script.On(CDlgFinalLoadEnlarge::IDD, [&](CDialog&) {
        CViewFinalEnlargeWave* rest = dialog.GetWaveView(TRUE);
        CViewFinalEnlargeWave* load = dialog.GetWaveView(FALSE);
        ASSERT_NE(nullptr, rest);
        ASSERT_NE(nullptr, load);
        EXPECT_LT(PlaceOf(dialog, *rest).right, PlaceOf(dialog, *load).left);
        EXPECT_GT(TraceInk(*load), 100);
        const CString name = m_doc.GetCurrentDataItem()->stLeadName.strDispName[1];
        // The second comparison was recorded three minutes after the load.
        EXPECT_EQ(CString(L"負荷後 3’00”    导联  ") + name, ControlText(dialog, CDlgFinalLoadEnlarge::IDC_LOAD_TITLE));
        dialog.SendMessage(WM_USER + 0xA, MAKEWPARAM(80, 500), 0);
        EXPECT_EQ(CString(L"80[mS]  0.500[mV]"), ControlText(dialog, CDlgFinalLoadEnlarge::IDC_LOAD_READOUT));
        EXPECT_TRUE(ControlText(dialog, CDlgFinalLoadEnlarge::IDC_REST_READOUT).IsEmpty());
        const int restStep = rest->GetScaleRatio();
        const int loadStep = load->GetScaleRatio();
        ClickControl(dialog, CDlgFinalLoadEnlarge::IDC_REST_ZOOM_IN);
        EXPECT_EQ(restStep + 1, rest->GetScaleRatio());
        EXPECT_EQ(loadStep, load->GetScaleRatio());
        // A pan reported by the post-load side moves only its bars.
        dialog.SendMessage(WM_USER + 0x10, 0, 0);
        dialog.SendMessage(WM_USER + 0xB, 12, 0);
        EXPECT_EQ(0, dialog.GetActiveSide());
        EXPECT_EQ(12, static_cast<CScrollBar*>(dialog.GetDlgItem(CDlgFinalLoadEnlarge::IDC_LOAD_HORIZONTAL_BAR))->GetScrollPos());
        EXPECT_EQ(0, static_cast<CScrollBar*>(dialog.GetDlgItem(CDlgFinalLoadEnlarge::IDC_REST_HORIZONTAL_BAR))->GetScrollPos());
        EXPECT_EQ(-12, load->GetDragHorizontalOffset());
    });
    dialog.DoModal();
    EXPECT_EQ(1u, script.Seen().size());
}

TEST_F(FinalEnlargeDialogs, AComparisonWithoutARecordingTimeReadsNoughtMinutesAndSeconds)
{
    EXPECT_EQ(CString(L"負荷後 5’00”"), CFinalEnlargeSide::LoadTimeText(&m_doc, 2));
    EXPECT_EQ(CString(L"負荷後 0’00”"), CFinalEnlargeSide::LoadTimeText(&m_doc, 7));
    EXPECT_EQ(CString(L"負荷後 0’00”"), CFinalEnlargeSide::LoadTimeText(nullptr, 0));
}
