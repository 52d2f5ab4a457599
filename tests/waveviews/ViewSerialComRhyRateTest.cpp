// The serial rhythm comparison and its overview strip on real recordings at
// their own sampling rates: PTB s0010_re (15 leads, 1000 Hz) as the record
// maker writes it, and MIT-BIH 100 (360 Hz) as a twelve-lead MFER file, both
// from the shared data; beside them a 500 Hz record, which draws as it always
// has. The views stand in a pane as the comparison pane holds them: the
// record's view over its strip, a drag of the strip moving the view's page.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/DataItem.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/framework/Dialog.h"
#include "platform/ui/windowing/Desktop.h"
#include "printdevice/ECGDC.h"
#include "tests/support/DocumentTestSupport.h"
#include "tests/support/TextBoxes.h"
#include "tools/MferRecordXml.h"
#include "tools/MferWriter.h"
#include "tools/Mkrecord.h"
#include "tools/Wfdb.h"
#include "waveviews/ViewScroll1LeadRhyWave.h"
#include "waveviews/ViewSerialComRhy.h"

using platform::ui::Desktop;

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kTrace = RGB(200, 0, 200);      // the record document's trace colour
const COLORREF kDimTrace = RGB(0, 160, 160);   // the strip's trace outside its window

// The comparison view, 1300 × 700 on its 130 squares across: 10 px a
// millimetre, the page right of the 100-px calibration column. The strip
// under it, 1350 × 120 on 135 squares: a 100-px margin and rows of 1250 px.
const int kViewWidth = 1300;
const int kViewHeight = 700;
const int kColumn = 100;
const int kStripWidth = 1350;
const int kStripHeight = 120;
const int kMargin = 100;

// The comparison pane: a strip's page start moves the view above it.
class CComparisonPane : public CWnd {
public:
    CViewSerialComRhy* view = nullptr;
    std::vector<int> starts;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_STRIP_DRAGGED) {
            starts.push_back(static_cast<int>(wParam));
            if (view) {
                view->SetStartTime(static_cast<int>(wParam));
                view->UpdateDrawDC();
            }
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// The strip with its caption drawing in reach of the tests.
class CStripUnderTest : public CViewScroll1LeadRhyWave {
public:
    using CViewScroll1LeadRhyWave::DrawWaveInfo;
};

// The record pop-up a double-click asks for, kept instead of run.
std::vector<CSerialPopupRequest> g_popups;

int KeepPopupRequest(CWnd*, const CSerialPopupRequest& request, std::unique_ptr<CDialog>&)
{
    g_popups.push_back(request);
    return IDCANCEL;
}

class SerialRateTest : public testsupport::DocumentTest {
protected:
    void SetUp() override
    {
        testsupport::DocumentTest::SetUp();
        Desktop::SetScreenSize(1920, 1080);
        m_rest.m_bAutoDelete = m_mfer.m_bAutoDelete = m_base.m_bAutoDelete = FALSE;
        m_mfer.SetSpeed(25.0f);
        m_mfer.SetSmoothFilterMode(0);
        m_mfer.SetWaveColor(0, kTrace);
        m_mfer.SetWaveColor(16, kDimTrace);
        m_mfer.SetMouseMode(1);
        m_base.SetMouseMode(1);
        g_popups.clear();
    }
    void TearDown() override
    {
        CViewSerialComRhy::SetPopupRunner(nullptr);
        m_pane.DestroyWindow();
        Desktop::Reset();
        testsupport::DocumentTest::TearDown();
    }

    // PTB s0010_re as the record maker writes it for the system: a 15-lead
    // MFER file at its own 1000 Hz, its first `seconds` (0: all 38.4 s).
    // "" when the shared data is absent.
    std::string PtbFile(double seconds)
    {
        const std::string hea = testsupport::SharedData("physionet/ptb/s0010_re.hea");
        if (hea.empty()) return "";
        const std::string out = m_dir.File("ptb" + std::to_string(std::lround(seconds * 10)) + ".mwf");
        std::vector<std::string> args{"wfdb", "--mfer", "--record", hea.substr(0, hea.size() - 4), "--out", out};
        if (seconds > 0) {
            args.push_back("--seconds");
            args.push_back(std::to_string(seconds));
        }
        std::ostringstream said, complaint;
        EXPECT_EQ(0, morvelance::RunMkrecord(args, said, complaint)) << complaint.str();
        return out;
    }
    // MIT-BIH 100's first `seconds` at its own 360 Hz as a twelve-lead MFER
    // file, which the comparison takes: its MLII in every lead but V5, which
    // holds its V5. "" when the shared data is absent.
    std::string MitdbFile(double seconds)
    {
        const std::string hea = testsupport::SharedData("physionet/mitdb/100.hea");
        if (hea.empty()) return "";
        morvelance::WfdbRecord record;
        std::string error;
        const int64_t count = std::llround(seconds * 360.0);
        if (!morvelance::ReadWfdbRecord(hea.substr(0, hea.size() - 4), &record, &error, count)) {
            ADD_FAILURE() << error;
            return "";
        }
        const morvelance::EcgRecord source = morvelance::WfdbToEcg(record, "mitdb/100");
        EXPECT_EQ(360.0, source.sampleRate);
        morvelance::EcgRecord twelve =
            morvelance::MferKindRecord(morvelance::MferKind::Plain, 12, seconds, source.sampleRate);
        for (morvelance::EcgLead& lead : twelve.leads)
            lead.microvolts = source.leads[lead.id == morvelance::LeadId::V5 ? 1 : 0].microvolts;
        twelve.beats.clear();   // found again in the recording itself
        morvelance::MferOptions options;
        morvelance::MferSenseFor(1000.0 / record.header.signals[0].gain, &options);
        options.description = morvelance::MferDescriptionForLeads(12);
        const std::string out = m_dir.File("mitdb" + std::to_string(std::lround(seconds)) + ".mwf");
        EXPECT_TRUE(morvelance::WriteMferFile(out, twelve, options, &error)) << error;
        return out;
    }
    // A twelve-lead MFER rhythm file of the record maker at 500 Hz.
    std::string File500(double seconds)
    {
        const std::string out = m_dir.File("r500_" + std::to_string(std::lround(seconds)) + ".mwf");
        std::string error;
        EXPECT_TRUE(morvelance::WriteMferFile(
            out, morvelance::MferKindRecord(morvelance::MferKind::Rhythm12, 12, seconds, 500.0),
            morvelance::MferOptions(), &error))
            << error;
        return out;
    }
    // The PTB record's first `ptbSeconds` (0: all of it) and MIT-BIH 100's
    // first `mitdbSeconds`, opened and listed in that order; false, opening
    // neither, when the shared data is absent.
    bool OpenPtbAndMitdb(double ptbSeconds, double mitdbSeconds)
    {
        const std::string ptb = PtbFile(ptbSeconds);
        const std::string mitdb = MitdbFile(mitdbSeconds);
        if (ptb.empty() || mitdb.empty()) return false;
        Open(ptb);
        Open(mitdb);
        return true;
    }
    // The file opened in the MFER document and listed in the comparison's list.
    _MFERDATAITEM* Open(const std::string& path)
    {
        auto* item = new _MFERDATAITEM;
        item->strFilePath = testsupport::Wide(path);
        m_mfer.GetMFERDataManager()->AppendItem(item);
        CString file = item->strFilePath, xml, third;
        EXPECT_EQ(0, m_mfer.OpenMFERFile(file, xml, third)) << path;
        auto* listed = new _DATAITEM;
        listed->uSystemCode = item->uSystemCode;
        listed->strXMLPath = item->strXMLPath;
        listed->strFilePath = item->strFilePath;
        listed->strThirdKey = item->strThirdKey;
        m_base.GetDataManager().AppendItem(listed);
        return item;
    }
    // The pane with the view of the listed record `index` in `style` over
    // its strip, painted; a pane shown before goes first.
    void Show(int style, int index = 0)
    {
        m_pane.DestroyWindow();
        ASSERT_TRUE(m_pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE,
                                    CRect(0, 0, kStripWidth, kViewHeight + kStripHeight), nullptr, 0));
        CCreateContext context;
        context.m_pCurrentDoc = &m_mfer;
        m_view = new CViewSerialComRhy;
        m_strip = new CStripUnderTest;
        ASSERT_TRUE(m_view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, kViewWidth, kViewHeight),
                                   &m_pane, 1, &context));
        ASSERT_TRUE(m_strip->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE,
                                    CRect(0, kViewHeight, kStripWidth, kViewHeight + kStripHeight), &m_pane, 2,
                                    &context));
        for (CViewSerialComRhy* view : {m_view, static_cast<CViewSerialComRhy*>(m_strip)}) {
            view->SetRestViewDoc(&m_rest);
            view->SetMFERViewDoc(&m_mfer);
            view->SetBaseECGDoc(&m_base);
            view->SetDocType(DOC_TYPE_MFER);
            view->SetSerialIndex(index);
        }
        m_view->SetWaveStyle(style, TRUE);
        m_view->OnUpdate(nullptr, 0, nullptr);
        m_strip->SetViewIndex(0);
        m_strip->OnUpdate(nullptr, 0, nullptr);
        m_pane.view = m_view;
        m_pane.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    }
    // The view's page drawn into `dc` over the view's client size.
    void DrawPage(CDC& dc)
    {
        int gridX = 0, gridY = 0;
        m_view->GetGridCount(gridX, gridY);
        m_view->DrawSerialComRhyView(&dc, CRect(0, 0, kViewWidth, kViewHeight), gridX, gridY, FALSE, FALSE);
    }
    // The view's page as it paints it, on white paper of its client size.
    void Render(CDC& dc)
    {
        dc.DeleteDC();
        ASSERT_TRUE(dc.Attach(platform::gdi::CreateImageDC(kViewWidth, kViewHeight)));
        dc.FillSolidRect(0, 0, kViewWidth, kViewHeight, kWhite);
        DrawPage(dc);
    }
    // The texts of the view's page.
    std::vector<CString> PageTexts()
    {
        testsupport::CTextBoxDC dc(kViewWidth, kViewHeight);
        DrawPage(dc);
        return TextsOf(dc);
    }
    // The strip's caption texts, as it writes them over its window.
    std::vector<CString> StripCaption()
    {
        testsupport::CTextBoxDC dc(kStripWidth, kStripHeight);
        m_strip->DrawWaveInfo(&dc, CRect(kMargin + 1, 0, kStripWidth, kStripHeight), FALSE, 0);
        return TextsOf(dc);
    }
    static std::vector<CString> TextsOf(const testsupport::CTextBoxDC& dc)
    {
        std::vector<CString> texts;
        for (const testsupport::TextBox& box : dc.Boxes()) texts.push_back(box.text);
        return texts;
    }
    // The view's page printed in lines on white paper of 1300 × 400 at 10 px
    // a millimetre.
    void PrintOn(CDC& paper)
    {
        ASSERT_TRUE(paper.Attach(platform::gdi::CreateImageDC(1300, 400)));
        paper.FillSolidRect(0, 0, 1300, 400, kWhite);
        CECGDC printer(&paper, 2);
        ASSERT_TRUE(m_view->Print(&printer, CRect(0, 0, 1300, 400), 130, 40, 10.0, 0, TRUE));
    }
    // The rightmost column of the strip's picture that holds trace, -1 for none.
    int StripTraceEnd(int top, int bottom)
    {
        CClientDC dc(m_strip);
        for (int x = kStripWidth - 1; x > kMargin; --x)
            for (int y = top; y < bottom; ++y) {
                const COLORREF c = dc.GetPixel(x, y);
                if (c == kTrace || c == kDimTrace) return x;
            }
        return -1;
    }

    CRestViewDoc m_rest;
    CMFERViewDoc m_mfer;
    CTavrionDoc m_base;
    CComparisonPane m_pane;
    CViewSerialComRhy* m_view = nullptr;   // deleted with their windows
    CStripUnderTest* m_strip = nullptr;
};

// The first row of ink from the top in [top, bottom) of column x; -1 for none.
int TopInk(CDC& dc, int x, int top, int bottom)
{
    for (int y = top; y < bottom; ++y)
        if (dc.GetPixel(x, y) != kWhite) return y;
    return -1;
}

// The rightmost column in [left, right) with ink between top and bottom; -1 for none.
int RightmostInk(CDC& dc, int left, int right, int top, int bottom)
{
    for (int x = right - 1; x >= left; --x)
        if (TopInk(dc, x, top, bottom) >= 0) return x;
    return -1;
}

bool Holds(const std::vector<CString>& texts, const CString& text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

bool HoldsEnding(const std::vector<CString>& texts, const CString& ending)
{
    return std::any_of(texts.begin(), texts.end(),
                       [&](const CString& text) { return text.Right(ending.GetLength()) == ending; });
}

}  // namespace

// ---- the overview strip ---------------------------------------------------------------------------------

TEST_F(SerialRateTest, ThePtbRecordOfThirtyEightSecondsAtAThousandHertzFillsOneStripRow)
{
    const std::string file = PtbFile(0);
    if (file.empty()) GTEST_SKIP() << "shared data not present (physionet/ptb/s0010_re); skipping";
    ASSERT_EQ(0x800Fu, Open(file)->uSystemCode);
    Show(29);
    ASSERT_EQ(38400, m_strip->GetLeadSampleCount(0));
    // 38.4 s at 2.5 mm/s: 96 of the row's 125 mm.
    EXPECT_EQ(1, m_strip->GetRowCount());
    EXPECT_NEAR(kMargin + 1 + 960, StripTraceEnd(0, kStripHeight), 2);
    // The window is the view's page: 120 mm at 25 mm/s, 4.8 s, 12 mm of the strip.
    EXPECT_EQ(4800, m_strip->GetWindowLength());
    EXPECT_EQ(kMargin, m_strip->GetWindowLeftX());
    EXPECT_EQ(kMargin + 120, m_strip->GetWindowRightX());
}

TEST_F(SerialRateTest, AMinuteOfTheMitdbRecordAt360HertzWrapsIntoTwoStripRows)
{
    const std::string file = MitdbFile(60.0);
    if (file.empty()) GTEST_SKIP() << "shared data not present (physionet/mitdb/100); skipping";
    ASSERT_EQ(0x800Cu, Open(file)->uSystemCode);
    Show(29);
    ASSERT_EQ(21600, m_strip->GetLeadSampleCount(0));
    // A row holds 50 s at 2.5 mm/s; the second row the last 10 s, 25 mm of it.
    EXPECT_EQ(2, m_strip->GetRowCount());
    EXPECT_NEAR(kMargin + 1 + 250, StripTraceEnd(kStripHeight / 2, kStripHeight), 2);
    EXPECT_EQ(1728, m_strip->GetWindowLength());
}

TEST_F(SerialRateTest, TheSpeedTextsNameTheSpeedThatFitsTheRecordsOwnSeconds)
{
    if (!OpenPtbAndMitdb(5.0, 5.0))
        GTEST_SKIP() << "shared data not present (physionet/ptb, physionet/mitdb); skipping";
    for (int index = 0; index < 2; ++index) {
        SCOPED_TRACE(index == 0 ? "ptb" : "mitdb");
        Show(13, index);
        // Five seconds: the strip's 125 mm at 25 mm/s exactly, a whole number.
        ASSERT_EQ(index == 0 ? 5000 : 1800, m_strip->GetLeadSampleCount(0));
        EXPECT_FLOAT_EQ(25.0f, m_strip->Get1LeadRhyWaveSpeed(FALSE));
        EXPECT_TRUE(Holds(StripCaption(), L"25 mm/s"));
        // The view's 120 mm would take 24 mm/s: the next lower speed.
        EXPECT_FLOAT_EQ(12.5f, m_view->Get1LeadRhyWaveSpeed(FALSE));
        EXPECT_TRUE(HoldsEnding(PageTexts(), L"   12.50 mm/s"));
    }
}

TEST_F(SerialRateTest, DraggingTheStripsWindowFifteenMillimetresMovesThePageSixSecondsAndItsTimeLabelSaysSo)
{
    const std::string file = PtbFile(0);
    if (file.empty()) GTEST_SKIP() << "shared data not present (physionet/ptb/s0010_re); skipping";
    _MFERDATAITEM* item = Open(file);
    item->bTimeLabel = 1;
    Show(29);
    m_pane.starts.clear();
    const HWND strip = m_strip->GetSafeHwnd();
    Desktop::MoveMouse(strip, kMargin + 50, 20);
    Desktop::PumpMessages();
    Desktop::Drag(strip, POINT{kMargin + 50, 20}, POINT{kMargin + 200, 20});
    Desktop::PumpMessages();
    // 150 px of the strip at 2.5 mm/s: 6 s of the record.
    const std::vector<int> expected{6000};
    EXPECT_EQ(expected, m_pane.starts);
    EXPECT_EQ(6000, m_view->GetStartTime());
    EXPECT_TRUE(Holds(PageTexts(), L"0:06"));
}

// ---- the comparison view ----------------------------------------------------------------------------------

TEST_F(SerialRateTest, TheTimeLabelCountsTheRecordsOwnSamples)
{
    const std::string file = MitdbFile(10.0);
    if (file.empty()) GTEST_SKIP() << "shared data not present (physionet/mitdb/100); skipping";
    _MFERDATAITEM* item = Open(file);
    item->bTimeLabel = 1;
    item->byStartMinute = 1;
    Show(29);
    m_view->SetStartTime(540);   // a second and a half at 360 Hz
    CString text;
    ASSERT_TRUE(m_view->TimeLabelText(text));
    EXPECT_EQ("1:01.5", testsupport::Utf8(text));
    EXPECT_TRUE(Holds(PageTexts(), L"1:01.5"));
}

TEST_F(SerialRateTest, ADoubleClickOpensTheSampleUnderThePointerAtTheRecordsRate)
{
    if (!OpenPtbAndMitdb(0, 10.0))
        GTEST_SKIP() << "shared data not present (physionet/ptb, physionet/mitdb); skipping";
    CViewSerialComRhy::SetPopupRunner(&KeepPopupRequest);
    for (int index = 0; index < 2; ++index) {
        SCOPED_TRACE(index == 0 ? "ptb" : "mitdb");
        g_popups.clear();
        Show(29, index);
        // Lead II's band, 30 mm into the page at 25 mm/s: 1.2 s on.
        Desktop::DoubleClick(m_view->GetSafeHwnd(), kColumn + 300, 175);
        Desktop::PumpMessages();
        ASSERT_EQ(1u, g_popups.size());
        EXPECT_EQ(1, g_popups[0].nLead);
        EXPECT_EQ(index == 0 ? 1200 : 432, g_popups[0].nSample);
    }
}

TEST_F(SerialRateTest, ACaliperLaidOverTheDrawnTraceReadsTheRecordsLength)
{
    if (!OpenPtbAndMitdb(3.0, 3.0))
        GTEST_SKIP() << "shared data not present (physionet/ptb, physionet/mitdb); skipping";
    for (int index = 0; index < 2; ++index) {
        SCOPED_TRACE(index == 0 ? "ptb" : "mitdb");
        Show(29, index);
        // Three seconds fill 75 of the page's 120 mm.
        CDC page;
        Render(page);
        const int end = RightmostInk(page, kColumn, kViewWidth, 0, 116);
        EXPECT_NEAR(kColumn + 750, end, 2);
        m_view->ShowDivider(TRUE);
        m_view->SetDividerCheck(TRUE, 1);
        m_view->UpdateWindow();   // lays caliper I at the page's left edge
        ASSERT_NEAR(kColumn, m_view->GetDividerGrip(0, 0).CenterPoint().x, 1);
        const CPoint grip = m_view->GetDividerGrip(0, 1).CenterPoint();
        Desktop::MoveMouse(m_view->GetSafeHwnd(), grip.x, grip.y);
        Desktop::PumpMessages();
        Desktop::Drag(m_view->GetSafeHwnd(), POINT{grip.x, grip.y}, POINT{end, grip.y});
        Desktop::PumpMessages();
        // A pixel is 4 ms at 25 mm/s.
        EXPECT_NEAR(3000, m_view->GetDividerInterval(0), 12);
    }
}

TEST_F(SerialRateTest, ALongRecordPrintsInLinesOfItsOwnSamples)
{
    const std::string file = MitdbFile(200.0);
    if (file.empty()) GTEST_SKIP() << "shared data not present (physionet/mitdb/100); skipping";
    Open(file);
    Show(13);
    ASSERT_EQ(72000, m_view->GetLeadSampleCount(0));
    // 200 s at 2.5 mm/s: lines of 48 s, 17280 samples; five of them, the
    // last holding 8 s, 20 mm of the 120.
    CDC paper;
    ASSERT_NO_FATAL_FAILURE(PrintOn(paper));
    // Below the first 10 mm (100 px) the five lines stand 60 px apart; the
    // last one's 8 s end 200 px into it.
    const int last = 100 + 4 * 60;
    EXPECT_NEAR(kColumn + 200, RightmostInk(paper, kColumn, 1300, last - 10, last + 20), 2);
}

// ---- a 500 Hz record, as it has always been drawn ---------------------------------------------------------

// The pictures of a 500 Hz record are compared, probe by probe, with what
// the views drew of it before each record brought its own rate: the top of
// the ink every 20 px along a row follows the trace's every beat, so a
// changed time scale or row length moves them.
TEST_F(SerialRateTest, AFiveHundredHertzRecordDrawsAsBefore)
{
    Open(File500(10.0));
    Show(29);
    CDC page;
    Render(page);
    std::vector<int> leadII;
    for (int x = kColumn + 10; x < kViewWidth; x += 20) leadII.push_back(TopInk(page, x, 117, 233));
    const std::vector<int> leadIIBefore{174, 174, 174, 174, 174, 167, 175, -1, 174, 170, 160, 173, 174, 174, 174, 174,
        171, 175, 178, 174, 166, 162, 174, 174, 174, 174, 172, 174, 175, 177, 173, 162, 167, 174, 174, 174, 174, 167,
        175, 124, 174, 171, 160, 172, 174, 174, 174, 174, 168, 175, 134, 174, 168, 160, 174, 174, 174, 174, 174, 173};
    EXPECT_EQ(leadIIBefore, leadII);
    int sample = 0;
    EXPECT_EQ(1, m_view->GetClickLead(CPoint(kColumn + 300, 175), sample));
    EXPECT_EQ(600, sample);

    m_view->SetWaveStyle(13, TRUE);
    m_view->OnUpdate(nullptr, 0, nullptr);
    Render(page);
    std::vector<int> oneLead;
    for (int x = kColumn + 10; x < kViewWidth; x += 20) oneLead.push_back(TopInk(page, x, 60, kViewHeight));
    const std::vector<int> oneLeadBefore{349, 349, 349, 347, 326, 349, 312, 357, 278, 349, 346, 60, 302, 349, 349,
        350, 340, 343, 349, 337, 349, 294, 349, 319, 216, 284, 349, 349, 350, 325, 349, 349, 349, 347, 326, 349, 312,
        357, 278, 349, 346, 60, 302, 349, 349, 350, 340, 343, 349, 337, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    EXPECT_EQ(oneLeadBefore, oneLead);
    EXPECT_TRUE(HoldsEnding(PageTexts(), L"   10 mm/s"));

    // The strip: ten seconds fill its row at 12.5 mm/s; the window is the
    // view's 4.8 s page.
    EXPECT_EQ(1, m_strip->GetRowCount());
    EXPECT_EQ(2400, m_strip->GetWindowLength());
    EXPECT_EQ(kMargin, m_strip->GetWindowLeftX());
    EXPECT_EQ(kMargin + 600, m_strip->GetWindowRightX());
    EXPECT_TRUE(Holds(StripCaption(), L"12.50 mm/s"));
    CClientDC strip(m_strip);
    std::vector<int> stripTops;
    for (int x = kMargin + 10; x < kStripWidth; x += 20) {
        int top = -1;
        for (int y = 0; y < kStripHeight && top < 0; ++y) {
            const COLORREF c = strip.GetPixel(x, y);
            if (c == kTrace || c == kDimTrace) top = y;
        }
        stripTops.push_back(top);
    }
    const std::vector<int> stripTopsBefore{59, 59, 59, 60, 59, 51, 59, 59, 60, 59, 48, 59, 59, 54, 3, 56, 59, 59, 59,
        60, 59, 50, 59, 59, 60, 60, 49, 59, 59, 54, 5, 56, 58, 59, 59, 60, 59, 48, 59, 59, 59, 63, 51, 59, 59, 54, 32,
        57, 57, 59, 59, 60, 59, 48, 59, 59, 58, 68, 52, 59, 59, 56};
    EXPECT_EQ(stripTopsBefore, stripTops);
}

TEST_F(SerialRateTest, ALongFiveHundredHertzRecordPrintsAsBefore)
{
    Open(File500(101.0));
    Show(13);
    ASSERT_EQ(50500, m_view->GetLeadSampleCount(0));
    CDC paper;
    ASSERT_NO_FATAL_FAILURE(PrintOn(paper));
    // Where the ink ends in each band of 8 px down the paper: three lines of
    // 48 s, the last of 5 s.
    std::vector<int> ends;
    for (int y = 40; y < 400; y += 8) ends.push_back(RightmostInk(paper, kColumn, 1300, y, y + 8));
    const std::vector<int> endsBefore{1294, 1294, 1294, 1294, 1294, 1294, 1299, 1299, 1295, -1, -1, -1, -1, 1294,
        1294, 1294, 1294, 1294, 1299, 1299, 1298, 1295, -1, -1, -1, 223, 223, 223, 223, 223, 223, 223, 225, 224, -1,
        -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    EXPECT_EQ(endsBefore, ends);
    // And the top of the ink every 20 px along the first line.
    std::vector<int> tops;
    for (int x = kColumn + 10; x < 1300; x += 20) tops.push_back(TopInk(paper, x, 60, 150));
    const std::vector<int> topsBefore{93, 95, 99, 99, 99, 98, 91, 88, 88, 89, 90, 60, 60, 60, 93, 93, 95, 99, 99, 99,
        98, 91, 88, 88, 89, 90, 60, 60, 60, 93, 93, 95, 99, 99, 99, 98, 91, 88, 88, 89, 90, 60, 60, 60, 93, 93, 95,
        99, 99, 99, 98, 91, 88, 88, 89, 90, 60, 60, 60, 93};
    EXPECT_EQ(topsBefore, tops);
}
