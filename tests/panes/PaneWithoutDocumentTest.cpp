// A pane the host created before giving it a document: its layout, update,
// page styles and commands leave every child where it was made.
#include <gtest/gtest.h>

#include "analysisviews/ViewQRSNo.h"
#include "analysisviews/ViewRRIntervalList.h"
#include "analysisviews/ViewRRTrend.h"
#include "dialogs/DlgDetailUpdate.h"
#include "dialogs/DlgPreNext.h"
#include "panes/PageButtons.h"
#include "panes/WndRRComment.h"
#include "panes/WndRRResult.h"
#include "panes/WndRRWave.h"
#include "panes/WndRestDetailMeas.h"
#include "tests/panes/PaneTestSupport.h"
#include "waveviews/ViewRhythmWave.h"

using platform::ui::Desktop;

namespace {

class PaneWithoutDocument : public ::testing::Test {
protected:
    void SetUp() override { Desktop::Reset(); }
    template <class Pane> Pane* Open(panetest::PaneHost<Pane>& host)
    {
        Pane* pane = host.Open([](Pane&) {}, TRUE, 1020, 664);
        pane->SendMessage(WM_SIZE, 0, 0);
        return pane;
    }
};

TEST_F(PaneWithoutDocument, RRWavePaneKeepsItsChildrenAtTheEmptyRectangle)
{
    panetest::PaneHost<CWndRRWave> host;
    CWndRRWave* pane = Open(host);
    pane->ShowPageStyle(4);
    pane->OnUpdate();
    EXPECT_EQ(3, pane->GetPageStyle());
    EXPECT_TRUE(host.Rect(pane->GetRhythmView()).IsRectEmpty());
    EXPECT_TRUE(host.Rect(pane->GetPreNextStrip()).IsRectEmpty());
    EXPECT_FALSE(pane->OnCmdMsg(panes::kBackButton, CN_COMMAND, nullptr, nullptr));
}

TEST_F(PaneWithoutDocument, RRCommentPaneStoresTheStyleButMovesNothing)
{
    panetest::PaneHost<CWndRRComment> host;
    CWndRRComment* pane = Open(host);
    pane->ShowPageStyle(9);
    pane->OnUpdate();
    EXPECT_EQ(9, pane->GetPageStyle());
    EXPECT_TRUE(host.Rect(pane->GetIntervalList()).IsRectEmpty());
    EXPECT_TRUE(host.Rect(pane->GetInterpretationFrame()).IsRectEmpty());
}

TEST_F(PaneWithoutDocument, ResultAndDetailPanesUpdateWithoutADocument)
{
    panetest::PaneHost<CWndRRResult> result;
    CWndRRResult* rr = Open(result);
    rr->OnUpdate();
    EXPECT_TRUE(result.Rect(rr->GetTrendView()).IsRectEmpty());
    panetest::PaneHost<CWndRestDetailMeas> detail;
    CWndRestDetailMeas* meas = Open(detail);
    meas->OnUpdate();
    // The detailed page has no document-dependent layout: its fixed page stands.
    EXPECT_EQ(panetest::Box(10, 555, 800, 100), detail.Rect(meas->GetQRSNoView()));
    EXPECT_FALSE(meas->GetUpdateStrip()->IsWindowVisible());
}

}  // namespace
