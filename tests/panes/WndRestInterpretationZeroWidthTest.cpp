// The interpretation page in a pane of no width (a splitter dragged shut):
// the strip and the average beats it would size from that width are given
// no height either, and come back with the pane's width.
#include <gtest/gtest.h>

#include "analysisviews/ViewAverageWave.h"
#include "panes/WndRestInterpretation.h"
#include "tests/panes/RestInterpretationPaneFixture.h"
#include "waveviews/ViewScroll1LeadWave.h"

using platform::ui::Desktop;

namespace {

class RestInterpretationZeroWidth : public panetest::RestInterpretationPaneFixture {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(RestInterpretationPaneFixture::SetUp());
        ASSERT_NO_FATAL_FAILURE(OpenRecord());
    }
};

}  // namespace

TEST_F(RestInterpretationZeroWidth, APaneOfNoWidthGivesTheStripNoHeight)
{
    CWndRestInterpretation* pane = Show(35, TRUE, 0, 664);
    EXPECT_EQ(0, Rect(pane->GetRhythmStrip()).Width());
    EXPECT_EQ(0, Rect(pane->GetRhythmStrip()).Height());
    EXPECT_EQ(0, Rect(pane->GetAverageView()).Width());
    // Full-width interpretation too.
    pane->ShowRestPageStyle(36);
    Desktop::PumpMessages();
    EXPECT_EQ(0, Rect(pane->GetRhythmStrip()).Height());

    // Widened again, the strip takes its height from its width.
    pane->ShowRestPageStyle(35);
    pane->MoveWindow(0, 0, 1020, 664, TRUE);
    Desktop::PumpMessages();
    int columns = 0, rows = 0;
    pane->GetRhythmStrip()->GetGridCount(columns, rows);
    ASSERT_GT(columns, 0);
    EXPECT_EQ(static_cast<int>(990.0 / columns * rows) + 1, Rect(pane->GetRhythmStrip()).Height());
}
