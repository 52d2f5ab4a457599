// The time labels of the rhythm and RR pages ("0:10" at the start of each
// row) and of a rhythm record's rest page stand clear of the traces they
// label: the page drawn as the pane lays it out, the boxes of its texts
// measured and the trace's ink looked for inside them.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <regex>
#include <string>
#include <vector>

#include "panes/WndRRWave.h"
#include "panes/WndRestRhythmWave.h"
#include "panes/WndRhythmWave.h"
#include "platform/gdi/Image.h"
#include "tests/panes/PaneTestSupport.h"
#include "tests/support/TextBoxes.h"
#include "waveviews/ViewRhythmWave.h"

using platform::ui::Desktop;

namespace {

const COLORREF kTrace = RGB(0, 0, 0);
const COLORREF kText = RGB(0, 0, 255);

// The time labels among the boxes of a page `width` x `height`, as
// "0:10 (n)" for those with n pixels inside their box that `inked` takes
// for the trace's; and how many labels there were.
std::vector<std::string> TimesOver(const std::vector<testsupport::TextBox>& boxes, int width, int height,
                                   const std::function<bool(int x, int y)>& inked, int* times)
{
    std::vector<std::string> met;
    *times = 0;
    const std::wregex time(L"[0-9]+:[0-9]{2}");
    for (const testsupport::TextBox& text : boxes) {
        if (!std::regex_match(std::wstring(text.text.GetString()), time)) continue;
        ++*times;
        int ink = 0;
        const int top = std::max(0, static_cast<int>(text.box.top));
        const int bottom = std::min(height, static_cast<int>(text.box.bottom));
        const int left = std::max(0, static_cast<int>(text.box.left));
        const int right = std::min(width, static_cast<int>(text.box.right));
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) ink += inked(x, y) ? 1 : 0;
        if (ink > 0) met.push_back(testsupport::Utf8(text.text) + " (" + std::to_string(ink) + ")");
    }
    return met;
}

// The time labels of the view's page, each with the trace pixels inside its
// box, as "0:10 (n)" for those that have any; and how many labels there were.
std::vector<std::string> TimesOverTraces(CViewRhythmWave* view, CTavrionDoc& doc, int* times)
{
    CRect client;
    view->GetClientRect(&client);
    testsupport::CTextBoxDC dc(client.Width(), client.Height());
    panetest::DrawPage(view, dc, doc.GetDocFont(1), client, 0);
    return TimesOver(dc.Boxes(), client.Width(), client.Height(), [&dc](int x, int y) {
        const COLORREF pixel = dc.GetPixel(x, y);
        // The trace's black or its grey edges; the label's blue has a blue part.
        return GetBValue(pixel) < 128 && GetRValue(pixel) < 160;
    }, times);
}

// A white image that takes every drawing but the texts: what is inked there
// is the traces and the pulses.
class CImageWithoutText : public CDC {
public:
    CImageWithoutText(int width, int height)
    {
        Attach(platform::gdi::CreateImageDC(width, height));
        FillSolidRect(0, 0, width, height, RGB(255, 255, 255));
    }
    ~CImageWithoutText() override { DeleteDC(); }
    using CDC::TextOut;
    BOOL TextOut(int, int, LPCTSTR, int) override { return TRUE; }
    using CDC::ExtTextOut;
    BOOL ExtTextOut(int, int, UINT, LPCRECT, LPCTSTR, UINT, LPINT) override { return TRUE; }
};

// The page as the report prints it: at 300 dots per inch in a font a line
// of 18/1000 of the page's height, as "0:10 (n)" for the time labels with
// trace pixels inside their boxes.
std::vector<std::string> PrintedTimesOverTraces(CViewRhythmWave* view, int* times)
{
    int gridX = 0, gridY = 0;
    view->GetGridCount(gridX, gridY);
    const double px = 300.0 / 25.4;
    const CRect area(0, 0, static_cast<int>(gridX * px), static_cast<int>(gridY * px));
    // The texts' boxes from one drawing, the traces' ink from another without texts.
    testsupport::CTextBoxDC boxes(area.Width(), area.Height());
    CImageWithoutText traces(area.Width(), area.Height());
    CFont font;
    font.CreateFont(-area.Height() * 18 / 1000, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH, L"monospace");
    for (CDC* dc : {static_cast<CDC*>(&boxes), static_cast<CDC*>(&traces)})
        panetest::DrawPage(view, *dc, &font, area, 1);
    return TimesOver(boxes.Boxes(), area.Width(), area.Height(),
                     [&traces](int x, int y) { return GetRValue(traces.GetPixel(x, y)) < 128; }, times);
}

void Colour(CTavrionDoc& doc)
{
    doc.SetWaveColor(0, kTrace);
    doc.SetWaveColor(3, kText);
    doc.SetSmoothFilterMode(0);
    doc.SetBaseLineWidth(1);
}

class RhythmPageTimeTest : public panetest::RhythmPaneTest {
protected:
    void SetUp() override
    {
        RhythmPaneTest::SetUp();
        OpenRecord(1, 60.0);
        Colour(*m_doc);
    }
    void TearDown() override
    {
        m_rhythm.Close();
        m_rest.Close();
        RhythmPaneTest::TearDown();
    }

    panetest::PaneHost<CWndRhythmWave> m_rhythm;
    panetest::PaneHost<CWndRestRhythmWave> m_rest;
};

class RRPageTimeTest : public panetest::RRPaneTest {
protected:
    void SetUp() override
    {
        RRPaneTest::SetUp();
        OpenRecord(1, 60.0);
        Colour(m_doc);
    }
    void TearDown() override
    {
        m_host.Close();
        RRPaneTest::TearDown();
    }

    panetest::PaneHost<CWndRRWave> m_host;
};

}  // namespace

TEST_F(RhythmPageTimeTest, EveryRowsTimeStandsClearOfTheTraces)
{
    CWndRhythmWave* pane =
        m_rhythm.Open([this](CWndRhythmWave& p) { p.SetRhythmViewDoc(m_doc.get()); }, TRUE, 1920, 1080);
    for (int style : {20, 22}) {
        SCOPED_TRACE(style);
        pane->ShowRhythmPageStyle(style);
        Desktop::PumpMessages();
        int times = 0;
        EXPECT_EQ(std::vector<std::string>(), TimesOverTraces(pane->GetRhythmView(), *m_doc, &times));
        EXPECT_GE(times, 3);
    }
}

TEST_F(RhythmPageTimeTest, TheRestPagesStartTimeStandsClearOfTheTraceOnASmallPane)
{
    CWndRestRhythmWave* pane =
        m_rest.Open([this](CWndRestRhythmWave& p) { p.SetRhythmViewDoc(m_doc.get()); }, TRUE, 1024, 768);
    for (int style : {1, 2, 5}) {
        SCOPED_TRACE(style);
        pane->ShowRhythmPageStyle(style);
        Desktop::PumpMessages();
        int times = 0;
        EXPECT_EQ(std::vector<std::string>(), TimesOverTraces(pane->GetRhythmView(), *m_doc, &times));
        EXPECT_EQ(times, 1);
    }
}

TEST_F(RRPageTimeTest, EveryRowsTimeStandsClearOfTheTraces)
{
    CWndRRWave* pane = m_host.Open([this](CWndRRWave& p) { p.SetRRViewDoc(&m_doc); }, TRUE, 1920, 1080);
    for (int style : {3, 4}) {
        SCOPED_TRACE(style);
        pane->ShowPageStyle(style);
        Desktop::PumpMessages();
        int times = 0;
        EXPECT_EQ(std::vector<std::string>(), TimesOverTraces(pane->GetRhythmView(), m_doc, &times));
        EXPECT_GE(times, 3);
    }
}

TEST_F(RRPageTimeTest, EveryRowsTimeStandsClearOfTheTracesOnPaper)
{
    CWndRRWave* pane = m_host.Open([this](CWndRRWave& p) { p.SetRRViewDoc(&m_doc); }, TRUE, 1920, 1080);
    pane->ShowPageStyle(3);
    Desktop::PumpMessages();
    int times = 0;
    EXPECT_EQ(std::vector<std::string>(), PrintedTimesOverTraces(pane->GetRhythmView(), &times));
    EXPECT_GE(times, 3);
}

TEST_F(RhythmPageTimeTest, EveryRowsTimeStandsClearOfTheTracesOnPaper)
{
    CWndRhythmWave* pane =
        m_rhythm.Open([this](CWndRhythmWave& p) { p.SetRhythmViewDoc(m_doc.get()); }, TRUE, 1920, 1080);
    pane->ShowRhythmPageStyle(20);
    Desktop::PumpMessages();
    int times = 0;
    EXPECT_EQ(std::vector<std::string>(), PrintedTimesOverTraces(pane->GetRhythmView(), &times));
    EXPECT_GE(times, 3);
}
