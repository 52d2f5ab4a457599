// The time labels of the rhythm and RR pages ("0:10" at the start of each
// row) and of a rhythm record's rest page stand clear of the traces they
// label: the page drawn as the pane lays it out, the boxes of its texts
// measured and the trace's ink looked for inside them.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <string>
#include <vector>

#include "panes/WndRRWave.h"
#include "panes/WndRestRhythmWave.h"
#include "panes/WndRhythmWave.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/Image.h"
#include "tests/documents/RRViewDocFixture.h"
#include "tests/documents/RhythmViewDocTestSupport.h"
#include "tests/panes/PaneTestSupport.h"
#include "tests/support/TextBoxes.h"
#include "waveviews/ViewRhythmWave.h"

using platform::ui::Desktop;

namespace {

const COLORREF kTrace = RGB(0, 0, 0);
const COLORREF kText = RGB(0, 0, 255);

// The time labels of the view's page, each with the trace pixels inside its
// box, as "0:10 (n)" for those that have any; and how many labels there were.
std::vector<std::string> TimesOverTraces(CViewRhythmWave* view, CTavrionDoc& doc, int* times)
{
    CRect client;
    view->GetClientRect(&client);
    testsupport::CTextBoxDC dc(client.Width(), client.Height());
    int gridX = 0, gridY = 0;
    view->GetGridCount(gridX, gridY);
    {
        CDCObjectSelector<CFont> font(dc, doc.GetDocFont(1));
        dc.SetBkMode(TRANSPARENT);
        view->DrawView(&dc, client, gridX, gridY, 0);
    }
    std::vector<std::string> met;
    *times = 0;
    const std::wregex time(L"[0-9]+:[0-9]{2}");
    for (const testsupport::TextBox& text : dc.Boxes()) {
        if (!std::regex_match(std::wstring(text.text.GetString()), time)) continue;
        ++*times;
        int ink = 0;
        const int top = std::max(0, static_cast<int>(text.box.top));
        const int bottom = std::min(client.Height(), static_cast<int>(text.box.bottom));
        const int left = std::max(0, static_cast<int>(text.box.left));
        const int right = std::min(client.Width(), static_cast<int>(text.box.right));
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) {
                const COLORREF pixel = dc.GetPixel(x, y);
                // The trace's black or its grey edges; the label's blue has a blue part.
                ink += GetBValue(pixel) < 128 && GetRValue(pixel) < 160 ? 1 : 0;
            }
        if (ink > 0) met.push_back(testsupport::Utf8(text.text) + " (" + std::to_string(ink) + ")");
    }
    return met;
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
    for (CDC* dc : {static_cast<CDC*>(&boxes), static_cast<CDC*>(&traces)}) {
        CDCObjectSelector<CFont> selected(*dc, &font);
        dc->SetBkMode(TRANSPARENT);
        view->DrawView(dc, area, gridX, gridY, 1);
    }
    std::vector<std::string> met;
    *times = 0;
    const std::wregex time(L"[0-9]+:[0-9]{2}");
    for (const testsupport::TextBox& text : boxes.Boxes()) {
        if (!std::regex_match(std::wstring(text.text.GetString()), time)) continue;
        ++*times;
        int ink = 0;
        const int top = std::max(0, static_cast<int>(text.box.top));
        const int bottom = std::min(area.Height(), static_cast<int>(text.box.bottom));
        const int left = std::max(0, static_cast<int>(text.box.left));
        const int right = std::min(area.Width(), static_cast<int>(text.box.right));
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x) ink += GetRValue(traces.GetPixel(x, y)) < 128 ? 1 : 0;
        if (ink > 0) met.push_back(testsupport::Utf8(text.text) + " (" + std::to_string(ink) + ")");
    }
    return met;
}

void Colour(CTavrionDoc& doc)
{
    doc.SetWaveColor(0, kTrace);
    doc.SetWaveColor(3, kText);
    doc.SetSmoothFilterMode(0);
    doc.SetBaseLineWidth(1);
}

class RhythmPageTimeTest : public rhythmtest::RhythmDocTest {
protected:
    void SetUp() override
    {
        rhythmtest::RhythmDocTest::SetUp();
        Desktop::Reset();
        m_doc->m_bAutoDelete = FALSE;
        m_screen.Use(*m_doc, 1920, 1080);
        morvelance::RhythmRecordShape shape;
        shape.seconds = 60.0;
        ASSERT_EQ(0, Open(rhythmtest::WriteRhythm(m_dir, "rhy", shape), 1));
        Colour(*m_doc);
    }
    void TearDown() override
    {
        m_rhythm.Close();
        m_rest.Close();
        rhythmtest::RhythmDocTest::TearDown();
    }

    panetest::ScopedScreen m_screen;
    panetest::PaneHost<CWndRhythmWave> m_rhythm;
    panetest::PaneHost<CWndRestRhythmWave> m_rest;
};

class RRPageTimeTest : public rrtest::RRDocTest {
protected:
    void SetUp() override
    {
        rrtest::RRDocTest::SetUp();
        Desktop::Reset();
        m_doc.m_bAutoDelete = FALSE;
        m_screen.Use(m_doc, 1920, 1080);
        rrtest::RRRecordPlan plan;
        plan.leads = 1;
        plan.seconds = 60.0;
        rrtest::RRFiles files = Write("rr", plan);
        Add(files);
        ASSERT_EQ(0, Open(files));
        Colour(m_doc);
    }
    void TearDown() override
    {
        m_host.Close();
        rrtest::RRDocTest::TearDown();
    }

    panetest::ScopedScreen m_screen;
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
