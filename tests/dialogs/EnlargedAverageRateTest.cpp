// The enlarged beat of an MFER file whose beats come at the file's own rate,
// run modally as the average-beat view opens it, and the enlarged overlap as
// the serial comparison opens it on files of three rates: both views of the
// first and the overlap of the second put the beat's QRS where a 500 Hz
// file's goes.
#include <gtest/gtest.h>

#include <memory>

#include "analysisviews/ViewAveOverlappedWave.h"
#include "core/DataItem.h"
#include "dialogs/DlgEnlargedOverlap.h"
#include "dialogs/DlgEnlargedWave.h"
#include "dialogs/SerialAvePopup.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/support/DocumentTestSupport.h"
#include "tests/support/ModalScript.h"
#include "tests/waveviews/AverageBeatRecords.h"
#include "waveviews/ViewEnlargedOverlap.h"
#include "waveviews/ViewEnlargedWave.h"
#include "waveviews/ViewSerialComAve.h"

using platform::ui::Desktop;

namespace {

const COLORREF kTrace = RGB(0, 0, 0);
const COLORREF kSlotColour[3] = {RGB(255, 0, 0), RGB(0, 160, 0), RGB(0, 0, 255)};

class EnlargedAverageRateTest : public testsupport::DocumentTest {
protected:
    void SetUp() override
    {
        testsupport::DocumentTest::SetUp();
        Desktop::SetScreenSize(1920, 1080);
        m_mfer.m_bAutoDelete = m_rest.m_bAutoDelete = m_base.m_bAutoDelete = FALSE;
        for (CTavrionDoc* doc : {static_cast<CTavrionDoc*>(&m_mfer), &m_base}) {
            doc->SetWaveColor(0, kTrace);
            doc->SetWaveColor(1, RGB(230, 230, 230));
            doc->SetWaveColor(2, RGB(255, 255, 255));
            doc->SetWaveColor(3, RGB(0, 0, 200));
            for (int slot = 0; slot < 3; ++slot) doc->SetWaveColor(5 + slot, kSlotColour[slot]);
            doc->SetSmoothFilterMode(0);
            doc->SetSpeed(25.0f);
            doc->SetSense(1, 10.0f, 0);
            doc->SetSense(3, 10.0f, 0);
        }
    }
    void TearDown() override
    {
        CViewSerialComAve::SetPopupRunner(nullptr);
        m_pane.DestroyWindow();
        Desktop::Reset();
        testsupport::DocumentTest::TearDown();
    }
    _MFERDATAITEM* OpenModel(int rate) { return beatrate::OpenAt(m_mfer, m_dir, rate); }
    static beatrate::Peak HighestIn(CWnd& view, COLORREF colour)
    {
        CRect client;
        view.GetClientRect(&client);
        CClientDC dc(&view);
        return beatrate::HighestInk(dc, CRect(0, 0, client.Width(), client.Height() / 2), colour);
    }
    static void Repaint(CWnd& view)
    {
        view.Invalidate(TRUE);
        view.UpdateWindow();
    }

    CMFERViewDoc m_mfer;
    CRestViewDoc m_rest;
    CTavrionDoc m_base;
    CWnd m_pane;
};

}  // namespace

TEST_F(EnlargedAverageRateTest, TheEnlargedBeatShowsAFilesBeatAtItsOwnRateInBothViews)
{
    int enlarged500 = -1, overlap500 = -1;
    for (int rate : {500, 250, 1000}) {
        SCOPED_TRACE(rate);
        _MFERDATAITEM* item = OpenModel(rate);
        ASSERT_NE(nullptr, item);
        CDlgEnlargedWave dialog(1, 0, nullptr);
        dialog.SetDoc(&m_mfer, DOC_TYPE_MFER);
        dialog.SetDotsPerMM(2.0, 2.0);
        dialog.SetClickInfo(1, 0, 0, item->pMFERParser->GetWaveLength(2) / 2);
        dialog.SetLimbLead(1);
        testsupport::ModalScript script;
        int enlarged = -1, overlap = -1;
        script.On(CDlgEnlargedWave::IDD, [&](CDialog&) {
            ASSERT_NE(nullptr, dialog.GetWaveView());
            ASSERT_NE(nullptr, dialog.GetOverlapView());
            EXPECT_EQ(rate, dialog.GetOverlapView()->GetSampleRate());
            Repaint(*dialog.GetWaveView());
            Repaint(*dialog.GetOverlapView());
            enlarged = HighestIn(*dialog.GetWaveView(), kTrace).x;
            overlap = HighestIn(*dialog.GetOverlapView(), kTrace).x;
            dialog.EndDialog(IDCANCEL);
        });
        dialog.DoModal();
        if (rate == 500) {
            enlarged500 = enlarged;
            overlap500 = overlap;
        }
        EXPECT_GE(enlarged, 0);
        EXPECT_NEAR(enlarged500, enlarged, 2);
        EXPECT_GE(overlap, 0);
        EXPECT_NEAR(overlap500, overlap, 2);
    }
}

TEST_F(EnlargedAverageRateTest, TheSerialComparisonsOverlapPopUpLaysBeatsOfEveryRateOnOneAnother)
{
    for (int rate : beatrate::Rates()) {
        _MFERDATAITEM* item = OpenModel(rate);
        ASSERT_NE(nullptr, item);
        beatrate::ListIn(m_base, *item);
    }
    m_base.SetCurDataIndex(0);
    ASSERT_TRUE(m_pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, 1300, 640), nullptr, 0));
    CCreateContext context;
    context.m_pCurrentDoc = &m_mfer;
    auto* view = new CViewSerialComAve;   // deleted with its window
    ASSERT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 1300, 640), &m_pane, 1, &context));
    view->SetRestViewDoc(&m_rest);
    view->SetMFERViewDoc(&m_mfer);
    view->SetBaseECGDoc(&m_base);
    view->SetDocType(DOC_TYPE_MFER);
    view->SetPageStyle(41);
    view->SetShowOverlappedWave(TRUE);
    for (int slot = 0; slot < 3; ++slot) view->SetSerialIndex(slot, slot);
    view->OnUpdate(nullptr, 0, nullptr);
    view->UpdateWindow();
    CSerialAvePopup::Install();

    testsupport::ModalScript script;
    bool ran = false;
    script.On(CDlgEnlargedOverlap::IDD, [&](CDialog& dialog) {
        CViewEnlargedOverlap* overlap = static_cast<CDlgEnlargedOverlap&>(dialog).GetOverlapView();
        ASSERT_NE(nullptr, overlap);
        for (int slot = 0; slot < 3; ++slot) EXPECT_EQ(beatrate::Rates()[slot], overlap->GetSampleRate(slot));
        Repaint(*overlap);
        // Whatever of the R peaks of the other two the 1000 Hz beat, drawn
        // last, leaves in sight stands where its own does.
        const beatrate::Peak last = HighestIn(*overlap, kSlotColour[2]);
        EXPECT_GE(last.x, 0);
        for (int slot = 0; slot < 2; ++slot) {
            const beatrate::Peak peak = HighestIn(*overlap, kSlotColour[slot]);
            if (peak.y >= 0) {
                EXPECT_NEAR(last.x, peak.x, 4) << slot;
            }
        }
        view->CloseAllPopupDlg();
        ran = true;
    });
    // Lead I's row of the overlap column.
    Desktop::DoubleClick(view->GetSafeHwnd(), 50 + 125 * 9 + 62, 640 / 12);
    Desktop::PumpMessages();
    EXPECT_TRUE(ran);
}
