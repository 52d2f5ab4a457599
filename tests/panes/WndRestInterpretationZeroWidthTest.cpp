// The interpretation page in a pane of no width (a splitter dragged shut):
// the strip and the average beats it would size from that width are given
// no height either, and come back with the pane's width.
#include <gtest/gtest.h>

#include "analysisviews/ViewAverageWave.h"
#include "panes/WndRestInterpretation.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/panes/PaneTestSupport.h"
#include "waveviews/ViewScroll1LeadWave.h"

using platform::ui::Desktop;
using RecordKind = morvelance::rec::RecordKind;

namespace {

class RestInterpretationZeroWidth : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        Desktop::Reset();
        m_doc.m_bAutoDelete = FALSE;
        m_doc.GetCtrlPosFromXSL(LOAD_POS_REST);
        m_screen.Use(m_doc, 1920, 1080);
        ASSERT_EQ(0, Open(AddRecord("interpre.ecg", resttest::Shape(RecordKind::Rest12))));
    }
    void TearDown() override
    {
        m_host.Close();
        resttest::RestDocFixture::TearDown();
    }
    CWndRestInterpretation* Show(int style, int width, int height)
    {
        CWndRestInterpretation* pane =
            m_host.Open([this](CWndRestInterpretation& p) { p.SetRestViewDoc(&m_doc); }, TRUE, width, height);
        pane->ShowRestPageStyle(style);
        Desktop::PumpMessages();
        return pane;
    }
    CRect Rect(CWnd* child) { return m_host.Rect(child); }

    panetest::ScopedScreen m_screen;
    panetest::PaneHost<CWndRestInterpretation> m_host;
};

}  // namespace

TEST_F(RestInterpretationZeroWidth, APaneOfNoWidthGivesTheStripNoHeight)
{
    CWndRestInterpretation* pane = Show(35, 0, 664);
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
