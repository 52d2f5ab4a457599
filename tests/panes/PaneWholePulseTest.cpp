// The calibration pulses of the wave panes are drawn whole where the rows are
// shorter than a pulse: the extra-lead comment pages, the rest page's style
// with the one-lead strip and the RR page's half style. The view's page is
// drawn as the pane lays it out into a recording surface and every pulse's
// corners are looked at.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <initializer_list>
#include <string>
#include <vector>

#include "panes/WndExtraCommentRhythmWave.h"
#include "panes/WndExtraCommentWave.h"
#include "panes/WndRRWave.h"
#include "panes/WndRestRhythmWave.h"
#include "platform/base/Kernel.h"
#include "platform/gdi/Image.h"
#include "platform/gdi/RecordingDriver.h"
#include "tests/documents/ExtraViewDocFixture.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/panes/PaneTestSupport.h"
#include "waveviews/ViewRhythmWave.h"

using morvelance::ExtraLayout;
using platform::gdi::DrawOp;
using platform::gdi::DrawRecord;
using platform::ui::Desktop;

namespace {

// The pulses of the view's page (the six- and ten-point lines of the
// calibration column, ten squares wide at its left), as their points.
std::vector<std::vector<POINT>> Pulses(CViewRhythmWave* view, CRect* client)
{
    view->GetClientRect(client);
    int gridX = 0, gridY = 0;
    view->GetGridCount(gridX, gridY);
    CDC dc;
    EXPECT_TRUE(dc.Attach(platform::gdi::CreateRecordingDC(client->Width(), client->Height())));
    view->DrawView(&dc, *client, gridX, gridY, 0);
    const int column = gridX > 0 ? MulDiv(client->Width(), 10, gridX) : 0;
    std::vector<std::vector<POINT>> pulses;
    for (const DrawRecord& r : platform::gdi::GetRecording(dc.GetSafeHdc())) {
        if (r.op != DrawOp::Polyline || (r.points.size() != 6 && r.points.size() != 10)) continue;
        if (r.points.front().x >= column) continue;
        pulses.push_back(r.points);
    }
    return pulses;
}

// The pulses whose top or base lies outside the page, as "pulse k: top y".
std::vector<std::string> CutPulses(CViewRhythmWave* view, size_t* count)
{
    CRect client;
    const std::vector<std::vector<POINT>> pulses = Pulses(view, &client);
    *count = pulses.size();
    std::vector<std::string> cut;
    for (size_t k = 0; k < pulses.size(); ++k) {
        int top = client.bottom, bottom = client.top;
        for (const POINT& p : pulses[k]) {
            top = std::min(top, static_cast<int>(p.y));
            bottom = std::max(bottom, static_cast<int>(p.y));
        }
        // A one-pixel pen: its line must fall on the page's pixels.
        if (top < client.top + 1 || bottom > client.bottom - 1)
            cut.push_back("pulse " + std::to_string(k) + ": " + std::to_string(top) + " to " + std::to_string(bottom));
    }
    return cut;
}

// Pulses of one column lie one below another without meeting.
void ExpectApart(CViewRhythmWave* view)
{
    CRect client;
    const std::vector<std::vector<POINT>> pulses = Pulses(view, &client);
    for (size_t k = 1; k < pulses.size(); ++k) {
        int previousBase = INT_MIN, top = INT_MAX;
        for (const POINT& p : pulses[k - 1]) previousBase = std::max(previousBase, static_cast<int>(p.y));
        for (const POINT& p : pulses[k]) top = std::min(top, static_cast<int>(p.y));
        EXPECT_LT(previousBase, top) << k;
    }
}

// The view's pulses lie wholly on its page, at least `atLeast` of them.
void ExpectWhole(CViewRhythmWave* view, size_t atLeast)
{
    size_t count = 0;
    EXPECT_EQ(std::vector<std::string>(), CutPulses(view, &count));
    EXPECT_GE(count, atLeast);
}

// Each of the pane's page styles draws its pulses whole and apart.
template <class Pane> void ExpectWholeAndApart(Pane* pane, const char* page, std::initializer_list<int> styles)
{
    for (int style : styles) {
        SCOPED_TRACE(page + std::string(" ") + std::to_string(style));
        pane->ShowExtraPageStyle(style);
        Desktop::PumpMessages();
        ExpectWhole(pane->GetRhythmView(), 1);
        ExpectApart(pane->GetRhythmView());
    }
}

class ExtraCommentPulseTest : public extratest::ExtraDocTest {
protected:
    void SetUp() override
    {
        ExtraDocTest::SetUp();
        m_screen.Fresh(m_doc, 1920, 1080);
        morvelance::ExtraRecordOptions options;
        options.layout = ExtraLayout::ThreeRhythm;
        const extratest::RecordFiles files = Write("pulse", options);
        ASSERT_NE(nullptr, Load(m_doc, files, morvelance::ExtraLeadType(ExtraLayout::ThreeRhythm)));
        m_doc.UpDateReferenceInfo(CString());
        m_doc.SetCtrlContent(nullptr);
        m_doc.UpdateCtrlStatus();
    }
    void TearDown() override
    {
        m_comment.Close();
        m_rhythm.Close();
        ExtraDocTest::TearDown();
    }

    panetest::ScopedScreen m_screen;
    panetest::PaneHost<CWndExtraCommentWave> m_comment;
    panetest::PaneHost<CWndExtraCommentRhythmWave> m_rhythm;
};

}  // namespace

TEST_F(ExtraCommentPulseTest, TheCommentPagesDrawEveryPulseWholeAndApart)
{
    CWndExtraCommentWave* comment =
        m_comment.Open([this](CWndExtraCommentWave& p) { p.SetExtraViewDoc(&m_doc); }, TRUE, 1920, 1080);
    ExpectWholeAndApart(comment, "comment page", {17, 18});
    m_comment.Close();
    CWndExtraCommentRhythmWave* rhythm =
        m_rhythm.Open([this](CWndExtraCommentRhythmWave& p) { p.SetExtraViewDoc(&m_doc); }, TRUE, 1920, 1080);
    ExpectWholeAndApart(rhythm, "rhythm comment page", {20, 21});
}

namespace {

class RestPulseTest : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        m_screen.Fresh(m_doc, 1920, 1080);
        morvelance::RestRecordShape shape;
        shape.kind = morvelance::rec::RecordKind::Rest12;
        ASSERT_EQ(0, Open(AddRecord("wave.ecg", shape)));
    }
    void TearDown() override
    {
        m_host.Close();
        resttest::RestDocFixture::TearDown();
    }

    panetest::ScopedScreen m_screen;
    panetest::PaneHost<CWndRestRhythmWave> m_host;
};

class RRPulseTest : public panetest::RRPaneTest {
protected:
    void SetUp() override
    {
        RRPaneTest::SetUp();
        OpenRecord(1, 60.0);
    }
    void TearDown() override
    {
        m_host.Close();
        RRPaneTest::TearDown();
    }

    panetest::PaneHost<CWndRRWave> m_host;
};

}  // namespace

TEST_F(RestPulseTest, TheStyleWithTheOneLeadStripDrawsTheFirstLeadsPulseWhole)
{
    CWndRestRhythmWave* pane =
        m_host.Open([this](CWndRestRhythmWave& p) { p.SetRestViewDoc(&m_doc); }, TRUE, 1920, 1080);
    pane->ShowRestPageStyle(13);
    Desktop::PumpMessages();
    ExpectWhole(pane->GetRhythmView(), 6);
    ExpectApart(pane->GetRhythmView());
}

TEST_F(RRPulseTest, TheHalfStyleDrawsItsPulseWhole)
{
    CWndRRWave* pane = m_host.Open([this](CWndRRWave& p) { p.SetRRViewDoc(&m_doc); }, TRUE, 1920, 1080);
    pane->ShowPageStyle(5);
    Desktop::PumpMessages();
    ExpectWhole(pane->GetRhythmView(), 1);
}
