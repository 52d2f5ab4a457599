// The serial rhythm comparison view on resting records of the record maker,
// found through a base document list of records of every kind: the serial
// index counts the comparable ones, the view draws six leads or one, and
// prints its pulses alone for another patient.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "core/DataItem.h"
#include "core/Globals.h"
#include "core/MorvelanceApp.h"
#include "dialogs/DlgEnlargedPreview.h"
#include "documents/MFERViewDoc.h"
#include "platform/base/Kernel.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Resources.h"
#include "printdevice/ECGDC.h"
#include "resources/ResourceIds.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/support/DCStateCheck.h"
#include "tools/MferWriter.h"
#include "waveviews/ViewEnlargedPreview.h"
#include "waveviews/ViewSerialComRhy.h"

namespace {

const COLORREF kPaper = RGB(255, 255, 255);

class SerialComRhyTest : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        m_doc.m_bAutoDelete = FALSE;
        m_base.m_bAutoDelete = FALSE;
        m_mfer.m_bAutoDelete = FALSE;
        m_doc.SetSmoothFilterMode(0);
        m_doc.SetBaseLineWidth(1);
        m_doc.SetSpeed(25.0f);
    }

    // A resting record in the rest document's list and, with `code`, in the base list.
    _RESTDATAITEM* AddRest(const std::string& name, morvelance::rec::RecordKind kind, double seconds = 10.0)
    {
        morvelance::RestRecordShape shape;
        shape.kind = kind;
        shape.seconds = seconds;
        _RESTDATAITEM* item = AddRecord(name, shape);
        EXPECT_EQ(0, Open(item));
        AddListed(item->uSystemCode, item->strXMLPath, item->strFilePath);
        return item;
    }
    void AddListed(unsigned code, const CString& xml = CString(), const CString& file = CString())
    {
        auto* listed = new _DATAITEM;
        listed->uSystemCode = code;
        listed->strXMLPath = xml;
        listed->strFilePath = file;
        m_base.GetDataManager().AppendItem(listed);
    }
    // Records of every kind around the two resting records: the comparable
    // low bytes and MFER codes, and some that are not.
    void ListMixedRecords()
    {
        for (unsigned code : {0x0008u, 0x0026u, 0x00D9u, 0x00DAu, 0x00F3u, 0x00FAu, 0x8001u, 0x7011u}) AddListed(code);
        m_first = AddRest("first", morvelance::rec::RecordKind::Rest12);
        AddListed(0x00F3);
        m_second = AddRest("second", morvelance::rec::RecordKind::Rest15);
    }
    // A twelve-lead MFER rhythm file in the MFER document and the base list.
    void AddMfer(double seconds)
    {
        const std::string path = m_dir.File("rhythm" + std::to_string(static_cast<int>(seconds)) + ".mwf");
        std::string error;
        ASSERT_TRUE(morvelance::WriteMferFile(
            path, morvelance::MferKindRecord(morvelance::MferKind::Rhythm12, 12, seconds, 500.0),
            morvelance::MferOptions(), &error))
            << error;
        auto* item = new _MFERDATAITEM;
        item->strFilePath = CString(path.c_str());
        m_mfer.GetMFERDataManager()->AppendItem(item);
        CString mfer(path.c_str()), xml, third;
        ASSERT_EQ(0, m_mfer.OpenMFERFile(mfer, xml, third));
        ASSERT_EQ(0x800Cu, item->uSystemCode);
        AddListed(item->uSystemCode, item->strXMLPath, item->strFilePath);
    }
    void MakeView(int style, int serialIndex, int kind = DOC_TYPE_REST)
    {
        m_view = std::make_unique<CViewSerialComRhy>();
        m_view->SetRestViewDoc(&m_doc);
        m_view->SetMFERViewDoc(&m_mfer);
        m_view->SetBaseECGDoc(&m_base);
        m_view->SetDocType(kind);
        m_view->SetSerialIndex(serialIndex);
        m_view->SetWaveStyle(style, TRUE);
        m_view->OnUpdate(nullptr, 0, nullptr);
    }
    // The view's page drawn on screen into a white 600 × 600 surface.
    void Draw()
    {
        m_dc.DeleteDC();
        ASSERT_TRUE(m_dc.Attach(platform::gdi::CreateImageDC(600, 600)));
        m_dc.FillSolidRect(0, 0, 600, 600, kPaper);
        int gridX = 0, gridY = 0;
        m_view->GetGridCount(gridX, gridY);
        m_view->DrawSerialComRhyView(&m_dc, CRect(0, 0, 600, 600), gridX, gridY, FALSE, FALSE);
    }
    int InkIn(CDC& dc, const CRect& box)
    {
        int n = 0;
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x) n += dc.GetPixel(x, y) != kPaper;
        return n;
    }

    CTavrionDoc m_base;
    CMFERViewDoc m_mfer;
    _RESTDATAITEM* m_first = nullptr;
    _RESTDATAITEM* m_second = nullptr;
    std::unique_ptr<CViewSerialComRhy> m_view;
    CDC m_dc;
};

}  // namespace

TEST_F(SerialComRhyTest, TheSerialIndexCountsOnlyComparableRecordsAndTheDocumentKeepsItsCurrentRecord)
{
    ListMixedRecords();
    m_doc.SetCurDataIndex(m_first->nID);
    MakeView(29, 0);
    EXPECT_EQ(m_first, m_view->GetRestItem());
    EXPECT_EQ(m_first->nID, m_doc.GetCurDataIndex());
    MakeView(29, 1);
    EXPECT_EQ(m_second, m_view->GetRestItem());
    EXPECT_EQ(m_first->nID, m_doc.GetCurDataIndex());
    EXPECT_GT(m_view->GetLeadSampleCount(14), 0);
    // Past the comparable records: nothing shown, nothing loaded.
    MakeView(29, 2);
    EXPECT_EQ(nullptr, m_view->GetRestItem());
    EXPECT_EQ(nullptr, m_view->GetMferItem());
    EXPECT_EQ(0, m_view->GetLeadSampleCount(0));
    Draw();
    EXPECT_EQ(0, InkIn(m_dc, CRect(600 * 10 / 130 + 2, 0, 600, 600)));
}

TEST_F(SerialComRhyTest, SixLeadsStandEvenlyDownTheColumnAndTheChestLeadsReplaceTheLimbLeads)
{
    ListMixedRecords();
    m_doc.SetSense(3, 10.0f, 0);
    MakeView(29, 0);
    Draw();
    for (int lead = 0; lead < 6; ++lead) EXPECT_EQ(50 + 100 * lead, m_view->GetScreenBaseline(lead));
    // A trace leaves its baseline at the left of the column.
    const int traceLeft = 600 * 10 / 130 + 1;
    for (int lead = 0; lead < 6; ++lead)
        EXPECT_GT(InkIn(m_dc, CRect(traceLeft, 40 + 100 * lead, traceLeft + 40, 60 + 100 * lead)), 0) << lead;
    m_view->SetShowChestLead(TRUE);
    m_view->UpdateDrawDC();
    Draw();
    EXPECT_EQ(0, m_view->GetScreenBaseline(0));
    for (int lead = 6; lead < 12; ++lead) EXPECT_EQ(50 + 100 * (lead - 6), m_view->GetScreenBaseline(lead));
}

TEST_F(SerialComRhyTest, TheOneLeadSensitivityFallsWithTheRecordLength)
{
    // Twelve-lead MFER rhythm files of 10, 101 and 301 seconds at 500 Hz.
    for (double seconds : {10.0, 101.0, 301.0}) AddMfer(seconds);
    const struct {
        int index;
        int samples;
        float sense;
    } cases[] = {{1, 50500, 5.0f}, {2, 150500, 1.25f}};
    for (const auto& c : cases) {
        MakeView(13, c.index, DOC_TYPE_MFER);
        ASSERT_NE(nullptr, m_view->GetMferItem());
        EXPECT_EQ(c.samples, m_view->GetLeadSampleCount(0));
        EXPECT_FLOAT_EQ(c.sense, m_view->Get1LeadRhythmSense());
    }
    MakeView(13, 0, DOC_TYPE_MFER);
    const float own = m_mfer.GetSense(9, 0);
    EXPECT_FLOAT_EQ(own > 0.0f ? own : 10.0f, m_view->Get1LeadRhythmSense());
    // 10 s on 120 mm: 12 mm/s, down to 10.
    EXPECT_FLOAT_EQ(10.0f, m_view->Get1LeadRhyWaveSpeed(FALSE));
}

TEST_F(SerialComRhyTest, InModeFiveTheFirstViewStoresTheOneLeadGainItFittedAndTheSecondDoesNot)
{
    ListMixedRecords();
    m_doc.SetSenseMode(5);
    const float marker = 7.0f;
    m_doc.SetSense(2, marker, 0);
    MakeView(13, 0);
    m_view->SetViewIndex(1);
    Draw();
    EXPECT_FLOAT_EQ(marker, m_doc.GetSense(2, 0));
    m_view->SetViewIndex(0);
    Draw();
    const float fitted = m_doc.GetSense(2, 0);
    EXPECT_NE(marker, fitted);
    EXPECT_GT(fitted, 0.0f);
    EXPECT_LT(fitted, 40.0f);
    EXPECT_EQ(5u, m_doc.GetSenseMode());
    // Not in the other automatic modes.
    m_doc.SetSenseMode(2);
    m_doc.SetSense(2, marker, 0);
    Draw();
    EXPECT_FLOAT_EQ(marker, m_doc.GetSense(2, 0));
}

TEST_F(SerialComRhyTest, APacedModel8000RecordKeepsItsOneLeadInTheMiddleWhateverItsExtremes)
{
    // A paced model-8000 record, and a plain one to be the document's current record.
    morvelance::RestRecordShape shape;
    shape.olderReader = true;
    shape.pacemaker = true;
    _RESTDATAITEM* paced = AddRecord("paced8000", shape);
    ASSERT_EQ(0, Open(paced));
    AddListed(paced->uSystemCode, paced->strXMLPath, paced->strFilePath);
    _RESTDATAITEM* plain = AddRest("plain", morvelance::rec::RecordKind::Rest12);
    m_doc.SetSenseMode(2);
    m_doc.SetSense(2, 10.0f, 0);
    MakeView(13, 0);
    ASSERT_EQ(paced, m_view->GetRestItem());
    // The document says the record is paced while it is current there.
    m_doc.SetCurDataIndex(paced->nID);
    Draw();
    const int middle = m_view->GetScreenBaseline(0);
    m_doc.SetCurDataIndex(plain->nID);
    Draw();
    const int fitted = m_view->GetScreenBaseline(0);
    EXPECT_EQ(300, middle);
    EXPECT_NE(middle, fitted);
}

TEST_F(SerialComRhyTest, AOneLeadLeadPastTheRecordsLeadsFallsBackToLeadII)
{
    ListMixedRecords();
    m_view = std::make_unique<CViewSerialComRhy>();
    m_view->SetRhythm1LeadID(13);   // the 12-lead record has no lead 13
    m_view->SetRestViewDoc(&m_doc);
    m_view->SetMFERViewDoc(&m_mfer);
    m_view->SetBaseECGDoc(&m_base);
    m_view->SetDocType(DOC_TYPE_REST);
    m_view->SetSerialIndex(0);
    m_view->SetWaveStyle(13, TRUE);
    m_view->OnUpdate(nullptr, 0, nullptr);
    EXPECT_EQ(1, m_view->GetRhythm1LeadID());
    EXPECT_EQ(m_doc.GetRhythmWaveData(1, nullptr, -1) / 2, m_view->GetLeadSampleCount(0));
}

TEST_F(SerialComRhyTest, TheStyleWaitsForItsThreeDocuments)
{
    CViewSerialComRhy view;
    view.SetRestViewDoc(&m_doc);
    view.SetWaveStyle(13, TRUE);
    EXPECT_EQ(0, view.GetWaveStyle());
    int gridX = 0, gridY = 0;
    view.GetGridCount(gridX, gridY);
    EXPECT_EQ(140, gridY);
}

TEST_F(SerialComRhyTest, AnotherPatientsRecordPrintsItsPulsesOnly)
{
    ListMixedRecords();
    MakeView(29, 0);
    CDC paper;
    ASSERT_TRUE(paper.Attach(platform::gdi::CreateImageDC(520, 560)));
    paper.FillSolidRect(0, 0, 520, 560, kPaper);
    CECGDC printer(&paper, 2);
    m_view->SetIsSameID(FALSE);
    ASSERT_TRUE(m_view->Print(&printer, CRect(0, 0, 520, 560), 130, 140, 4.0, 0, FALSE));
    EXPECT_GT(InkIn(paper, CRect(0, 0, 40, 560)), 0);
    EXPECT_EQ(0, InkIn(paper, CRect(41, 0, 520, 560)));
    // Printed with its traces when the report asks for them.
    ASSERT_TRUE(m_view->Print(&printer, CRect(0, 0, 520, 560), 130, 140, 4.0, 0, TRUE));
    EXPECT_GT(InkIn(paper, CRect(41, 0, 520, 560)), 100);
}

TEST_F(SerialComRhyTest, PrintedTimeTicksStopWhereTheLastRowsTraceEnds)
{
    // Two seconds of a row of 4.8 s: the traces end at 40 + 480 × 1000 / 2400 = 240.
    AddRest("short", morvelance::rec::RecordKind::Rest12, 2.0);
    MakeView(29, 0);
    ASSERT_EQ(1000, m_view->GetLeadSampleCount(0));
    CDC paper;
    ASSERT_TRUE(paper.Attach(platform::gdi::CreateImageDC(520, 560)));
    paper.FillSolidRect(0, 0, 520, 560, kPaper);
    CECGDC printer(&paper, 2);
    m_view->SetShowMarkFlag(1);
    ASSERT_TRUE(m_view->Print(&printer, CRect(0, 0, 520, 560), 130, 140, 4.0, 0, TRUE));
    // The ticks stand on the print bottom, every 10 pixels under the traces.
    const CRect ticks(45, 550, 235, 560);
    EXPECT_GT(InkIn(paper, ticks), 0);
    EXPECT_EQ(0, InkIn(paper, CRect(250, 550, 520, 560)));
}

TEST_F(SerialComRhyTest, TheCaptionNeedsARestOrMferRecordDocument)
{
    ListMixedRecords();
    MakeView(29, 0);
    CDC paper;
    ASSERT_TRUE(paper.Attach(platform::gdi::CreateImageDC(520, 40)));
    paper.FillSolidRect(0, 0, 520, 40, kPaper);
    CECGDC printer(&paper, 2);
    EXPECT_TRUE(m_view->PrintWaveInfo(&printer, CRect(0, 0, 520, 40), FALSE));
    EXPECT_GT(InkIn(paper, CRect(0, 0, 520, 40)), 0);
    m_view->SetDocType(DOC_TYPE_RHYTHM);
    EXPECT_FALSE(m_view->PrintWaveInfo(&printer, CRect(0, 0, 520, 40), FALSE));
}

// The caption over a printed record states the gain and speed its traces are
// printed at: the six leads' (the chest leads at half the gain when the
// document halves them), and the one-lead strip's own, which neither the
// document's speed nor its halving changes.
TEST_F(SerialComRhyTest, TheCaptionStatesTheGainAndSpeedTheTracesArePrintedAt)
{
    AddRest("first", morvelance::rec::RecordKind::Rest12);   // ten seconds
    m_doc.SetSpeed(50.0f);
    m_doc.SetSense(3, 20.0f, 0);
    m_doc.SetChestHalf(1);
    auto caption = [&](int style, BOOL chest) {
        MakeView(style, 0);
        m_view->SetShowChestLead(chest);
        CDC paper;
        EXPECT_TRUE(paper.Attach(platform::gdi::CreateRecordingDC(520, 40)));
        CECGDC printer(&paper, 2);
        EXPECT_TRUE(m_view->PrintWaveInfo(&printer, CRect(0, 0, 520, 40), TRUE));
        for (const platform::gdi::DrawRecord& record : platform::gdi::GetRecording(paper.GetSafeHdc()))
            if (record.op == platform::gdi::DrawOp::Text && record.text.find(L"mm/mV") != std::wstring::npos)
                return record.text.substr(0, record.text.find(L" mm/s") + 5);
        return std::wstring();
    };
    EXPECT_EQ(L"20.00 mm/mV  50.0 mm/s", caption(29, FALSE));
    EXPECT_EQ(L"10.00 mm/mV  50.0 mm/s", caption(29, TRUE));
    // Ten seconds fill the strip's 120 mm at 10 mm/s, at the gain of a short record.
    EXPECT_EQ(L"10.00 mm/mV  10.0 mm/s", caption(13, FALSE));
    EXPECT_EQ(L"10.00 mm/mV  10.0 mm/s", caption(13, TRUE));
}

// ---- calipers and the scale ----------------------------------------------------------------------------

namespace {

// The comparison pane: keeps every caliper interval it is told.
class CCaliperPane : public CWnd {
public:
    std::vector<std::pair<int, int>> intervals;   // (ms, caliper)

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_DIVIDER_DROPPED) {
            intervals.push_back({static_cast<int>(wParam), static_cast<int>(lParam)});
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class SerialComRhyCaliperTest : public SerialComRhyTest {
protected:
    void TearDown() override
    {
        m_pane.DestroyWindow();
        SerialComRhyTest::TearDown();
    }
    // The view in a 600 × 600 window of the pane, style 29 on the first record.
    CViewSerialComRhy* Windowed(const CString& heartRate)
    {
        ListMixedRecords();
        m_first->strHeartRate = heartRate;
        return Placed(DOC_TYPE_REST);
    }
    // The view of the base list's first comparable record, read by a
    // document of `kind`, in a 600 × 600 window of the pane, style 29.
    CViewSerialComRhy* Placed(int kind)
    {
        m_doc.SetSense(3, 10.0f, 0);
        EXPECT_TRUE(m_pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, 600, 600), nullptr, 0));
        CCreateContext context;
        context.m_pCurrentDoc = &m_doc;
        auto* view = new CViewSerialComRhy;
        EXPECT_TRUE(view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, 600, 600), &m_pane, 1, &context));
        view->SetRestViewDoc(&m_doc);
        view->SetMFERViewDoc(&m_mfer);
        view->SetBaseECGDoc(&m_base);
        view->SetDocType(kind);
        view->SetSerialIndex(0);
        view->SetWaveStyle(29, TRUE);
        view->OnUpdate(nullptr, 0, nullptr);
        return view;
    }
    static int Span(CViewSerialComRhy& view, int caliper)
    {
        return view.GetDividerGrip(caliper, 1).CenterPoint().x - view.GetDividerGrip(caliper, 0).CenterPoint().x;
    }

    CCaliperPane m_pane;
};

}  // namespace

TEST_F(SerialComRhyCaliperTest, WithoutAHeartRateTheCalipersSpanASecondAndThePaneHearsEachOne)
{
    CViewSerialComRhy& view = *Windowed(L"");
    view.InitialDividerPos();
    const std::vector<std::pair<int, int>> expected{{1000, 0}, {1000, 1}, {1000, 2}};
    EXPECT_EQ(expected, m_pane.intervals);
    // 1000 ms at 25 mm/s on 130 squares of 600 px: 115 px.
    EXPECT_NEAR(115, Span(view, 0), 1);
    // A quarter of the width apart.
    EXPECT_EQ(150, view.GetDividerGrip(1, 0).left - view.GetDividerGrip(0, 0).left);
}

TEST_F(SerialComRhyCaliperTest, TheHeartRateSetsTheIntervalAndADoubledSpeedDoublesTheSpanAroundItsCentre)
{
    CViewSerialComRhy& view = *Windowed(L"75");
    CDC dc;
    ASSERT_TRUE(dc.Attach(platform::gdi::CreateImageDC(600, 600)));
    // The first drawing lays the calipers out.
    view.DrawDivider(&dc, CRect(0, 0, 600, 600), 1.0f, FALSE);
    EXPECT_EQ(800, view.GetDividerInterval(0));
    const int span = Span(view, 0);
    const int centre = view.GetDividerHandle(0).CenterPoint().x;
    m_doc.SetSpeed(50.0f);
    view.DrawDivider(&dc, CRect(0, 0, 600, 600), 1.0f, FALSE);
    EXPECT_NEAR(2 * span, Span(view, 0), 2);
    EXPECT_NEAR(centre, view.GetDividerHandle(0).CenterPoint().x, 1);
    EXPECT_EQ(800, view.GetDividerInterval(0));
}

TEST_F(SerialComRhyCaliperTest, AReadingBoxNearTheCornerIsPulledBackInside)
{
    CViewSerialComRhy& view = *Windowed(L"");
    view.InitialDividerPos();
    CDC dc;
    ASSERT_TRUE(dc.Attach(platform::gdi::CreateImageDC(800, 500)));
    dc.FillSolidRect(0, 0, 800, 500, kPaper);
    view.DrawDividerInformation(&dc, CRect(0, 0, 600, 300), CPoint(590, 290), 0, 1.0f);
    const COLORREF box = RGB(255, 255, 240);
    int inside = 0, outside = 0;
    for (int y = 0; y < 500; ++y)
        for (int x = 0; x < 800; ++x)
            if (dc.GetPixel(x, y) == box) ++(x < 600 && y < 300 ? inside : outside);
    EXPECT_GT(inside, 100);
    EXPECT_EQ(0, outside);
}

TEST_F(SerialComRhyCaliperTest, TheScaleReadsTimeAndVoltageAndChestHalfDoublesTheVoltage)
{
    CViewSerialComRhy& view = *Windowed(L"");
    view.SetScaleStatus(2);
    view.SetScalePoint(0, CPoint(100, 100));
    view.SetScalePoint(1, CPoint(200, 200));
    CDC dc;
    ASSERT_TRUE(dc.Attach(platform::gdi::CreateImageDC(600, 600)));
    view.DrawScale(&dc, CRect(0, 0, 600, 600), 1.0f);
    // 100 px of 600 across 130 squares at 25 mm/s; down 140 squares at 10 mm/mV.
    EXPECT_EQ(866, view.GetScaleTime());
    EXPECT_EQ(2333, view.GetScaleVoltage());
    m_doc.SetChestHalf(1);
    view.SetShowChestLead(TRUE);
    view.DrawScale(&dc, CRect(0, 0, 600, 600), 1.0f);
    EXPECT_EQ(4666, view.GetScaleVoltage());
}

TEST_F(SerialComRhyCaliperTest, TheRulerSquaresSitOutsideTheMarksCorners)
{
    CViewSerialComRhy& view = *Windowed(L"");
    view.SetScalePoint(0, CPoint(100, 100));
    view.SetRulerMarkRect(0);
    const CRect first = view.GetRulerMark(0);
    const CRect last = view.GetRulerMark(3);
    EXPECT_EQ(first.Size(), last.Size());
    EXPECT_LT(first.right, 100);
    EXPECT_LT(first.bottom, 100);
    EXPECT_GT(last.left, 100);
    EXPECT_GT(last.top, 100);
    view.SetRulerMarkRect(-1);
    EXPECT_TRUE(view.GetRulerMark(0).IsRectEmpty());
}

// ---- the mouse -----------------------------------------------------------------------------------------------

namespace {

// The notification window: keeps every calibration click it is told.
class CPulseWindow : public CWnd {
public:
    std::vector<std::pair<int, int>> clicks;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_CAL_PULSE_CLICKED) {
            clicks.push_back({static_cast<int>(wParam), static_cast<int>(lParam)});
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class SerialComRhyMouseTest : public SerialComRhyCaliperTest {
protected:
    void SetUp() override
    {
        SerialComRhyCaliperTest::SetUp();
        platform::ui::Desktop::SetScreenSize(1920, 1080);
        m_doc.SetMouseMode(1);
        m_base.SetMouseMode(1);
    }
    void TearDown() override
    {
        m_base.SetNotifyWnd(nullptr);
        m_notify.DestroyWindow();
        SerialComRhyCaliperTest::TearDown();
        platform::ui::Desktop::Reset();
    }
    void Press(CWnd& view, CPoint p)
    {
        platform::ui::Desktop::AdvanceClock(1000);   // presses far apart: no double-click
        platform::ui::Desktop::Click(view.GetSafeHwnd(), p.x, p.y);
        platform::ui::Desktop::PumpMessages();
    }
    // What the notification window is told of a click on the calibration
    // column, then of one on the traces.
    std::vector<std::pair<int, int>> CalibrationThenTraceClicks(CViewSerialComRhy& view)
    {
        EXPECT_TRUE(m_notify.CreateEx(0, nullptr, L"notify", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
        m_base.SetNotifyWnd(&m_notify);
        Press(view, CPoint(20, 300));
        Press(view, CPoint(300, 300));
        return m_notify.clicks;
    }
    // The view in its window with the first record's calipers shown, painted.
    CViewSerialComRhy& WindowedWithCalipers()
    {
        CViewSerialComRhy& view = *Windowed(L"");
        view.ShowDivider(TRUE);
        view.SetDividerCheck(TRUE, 1);
        view.UpdateWindow();
        return view;
    }
    // The comparison's magnifier, 200 × 100 at twice the size, shown far right.
    bool OpenMagnifier(CDlgEnlargedPreview& magnifier)
    {
        magnifier.SetEnlargedPreviewDoc(&m_base);
        if (!magnifier.Create(CDlgEnlargedPreview::IDD, nullptr)) return false;
        magnifier.SetWindowPos(nullptr, 1500, 0, 200, 100, SWP_NOZORDER | SWP_NOACTIVATE);
        magnifier.SetScaleRatio(2.0f);
        magnifier.ShowWindow(SW_SHOWNOACTIVATE);
        return true;
    }
    // The magnifier opened and given to the shown record's document and the comparison's.
    bool OpenMagnifierForBoth(CDlgEnlargedPreview& magnifier)
    {
        if (!OpenMagnifier(magnifier)) return false;
        m_doc.SetEnlargedPreview(&magnifier);
        m_base.SetEnlargedPreview(&magnifier);
        return true;
    }
    // Both documents' magnifier taken back and closed.
    void CloseMagnifier(CDlgEnlargedPreview& magnifier)
    {
        m_doc.SetEnlargedPreview(nullptr);
        m_base.SetEnlargedPreview(nullptr);
        magnifier.DestroyWindow();
    }
    CPulseWindow m_notify;
};

}  // namespace

TEST_F(SerialComRhyMouseTest, AClickOnTheCalibrationColumnTellsTheNotificationWindowAndElsewhereNothing)
{
    const std::vector<std::pair<int, int>> expected{{1, 3}};
    EXPECT_EQ(expected, CalibrationThenTraceClicks(*Windowed(L"")));
}

// The notification window tells an MFER file's click (7) from a device
// record's (1): each opens its own document's sensitivity settings.
TEST_F(SerialComRhyMouseTest, AnMferRecordsCalibrationClickTellsTheNotificationWindowItIsAnMferOne)
{
    AddMfer(10.0);
    CViewSerialComRhy& view = *Placed(DOC_TYPE_MFER);
    ASSERT_NE(nullptr, view.GetMferItem());
    const std::vector<std::pair<int, int>> expected{{7, 3}};
    EXPECT_EQ(expected, CalibrationThenTraceClicks(view));
}

TEST_F(SerialComRhyMouseTest, DraggingTheLeftGripPastTheRightStopsTwoPixelsShortAndThePaneHearsTheInterval)
{
    CViewSerialComRhy& view = *Windowed(L"");
    view.ShowDivider(TRUE);
    view.SetDividerCheck(TRUE, 1);
    view.UpdateWindow();   // the first paint lays the calipers out
    m_pane.intervals.clear();
    const CPoint left = view.GetDividerGrip(0, 0).CenterPoint();
    const CPoint right = view.GetDividerGrip(0, 1).CenterPoint();
    platform::ui::Desktop::MoveMouse(view.GetSafeHwnd(), left.x, left.y);
    platform::ui::Desktop::PumpMessages();
    platform::ui::Desktop::Drag(view.GetSafeHwnd(), POINT{left.x, left.y}, POINT{right.x + 60, left.y});
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(right.x - 2, view.GetDividerGrip(0, 0).CenterPoint().x);
    EXPECT_EQ(right.x, view.GetDividerGrip(0, 1).CenterPoint().x);
    ASSERT_FALSE(m_pane.intervals.empty());
    // Two pixels of 600 over 130 squares at 25 mm/s.
    EXPECT_EQ(std::make_pair(17, 0), m_pane.intervals.back());
}

TEST_F(SerialComRhyMouseTest, TheScaleMarksFollowTheMouseAndStayWhereTheyAreClicked)
{
    m_doc.SetScaleShow(1);
    CViewSerialComRhy& view = *Windowed(L"");
    // The marks follow the mouse while the measure tools are out (the pane
    // shows the calipers); put away, they stay (WithTheCalipersPutAway... below).
    view.ShowDivider(TRUE);
    view.SetScaleClear();
    ASSERT_EQ(0, view.GetScaleStatus());
    platform::ui::Desktop::MoveMouse(view.GetSafeHwnd(), 100, 100);
    platform::ui::Desktop::PumpMessages();
    Press(view, CPoint(100, 100));
    EXPECT_EQ(1, view.GetScaleStatus());
    platform::ui::Desktop::MoveMouse(view.GetSafeHwnd(), 200, 200);
    platform::ui::Desktop::PumpMessages();
    Press(view, CPoint(200, 200));
    EXPECT_EQ(2, view.GetScaleStatus());
    view.UpdateWindow();
    EXPECT_EQ(866, view.GetScaleTime());
}

TEST_F(SerialComRhyMouseTest, TheClickedLeadAndSampleAreTheOnesUnderThePoint)
{
    CViewSerialComRhy& view = *Windowed(L"");
    int sample = -1;
    // Row three of six: lead III; 100 px into the 554-px band of 120 mm at 25 mm/s.
    const int left = MulDiv(600, 10, 130);
    EXPECT_EQ(2, view.GetClickLead(CPoint(left + 100, 250), sample));
    EXPECT_EQ(2400 * 100 / (600 - left), sample);
    EXPECT_EQ(-1, view.GetClickLead(CPoint(10, 250), sample));
    view.SetWaveStyle(13, TRUE);
    view.OnUpdate(nullptr, 0, nullptr);
    EXPECT_EQ(-1, view.GetClickLead(CPoint(left + 100, 250), sample));
    // No pop-up runs: closing and hiding do nothing.
    view.CloseAllPopupDlg();
    view.HideAllPopupDlg(FALSE);
    EXPECT_EQ(0, view.IsPopupOpen());
}

TEST_F(SerialComRhyMouseTest, TheMagnifierFollowsTheMouseOverTheLargeViewAndDropsItsPictureOnLeave)
{
    CViewSerialComRhy& view = *Windowed(L"");
    // The hover magnifier is one of the measure tools, out while the pane
    // shows the calipers (none checked here); put away, the mouse shows
    // only its cursor (WithTheCalipersPutAway... below).
    view.ShowDivider(TRUE);
    view.UpdateWindow();
    CDlgEnlargedPreview magnifier;
    ASSERT_TRUE(OpenMagnifier(magnifier));
    CViewEnlargedPreview* preview = magnifier.GetEnlargedPreview();
    ASSERT_NE(nullptr, preview);
    auto hover = [&](CPoint p) {
        platform::ui::Desktop::MoveMouse(view.GetSafeHwnd(), p.x, p.y);
        platform::ui::Desktop::PumpMessages();
        preview->UpdateWindow();
    };
    auto darkPixels = [&] {
        CClientDC picture(preview);
        int n = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 200; ++x) {
                const COLORREF c = picture.GetPixel(x, y);
                n += std::min({GetRValue(c), GetGValue(c), GetBValue(c)}) < 80;
            }
        return n;
    };
    // Lead I's trace in the middle of the view.
    const CPoint onTrace(300, view.GetScreenBaseline(0));

    // The magnifier of the shown record's document decides whether it shows:
    // the comparison's own alone is not enough.
    m_base.SetEnlargedPreview(&magnifier);
    hover(onTrace);
    EXPECT_FALSE(view.IsMouseInside());
    EXPECT_FALSE(view.HasMagnifierCache());

    m_doc.SetEnlargedPreview(&magnifier);
    hover(onTrace);
    EXPECT_TRUE(view.IsMouseInside());
    EXPECT_TRUE(view.HasMagnifierCache());
    EXPECT_GT(darkPixels(), 20);

    // Leaving the view drops the picture; the magnifier stays as it is.
    platform::ui::Desktop::MoveMouse(POINT{1000, 900});
    platform::ui::Desktop::PumpMessages();
    EXPECT_FALSE(view.IsMouseInside());
    EXPECT_FALSE(view.HasMagnifierCache());
    EXPECT_TRUE(magnifier.IsWindowVisible());

    CloseMagnifier(magnifier);
}

// A new record, a new size or a caliper change redraws the page, and the
// magnified picture of the old page goes with it.
TEST_F(SerialComRhyMouseTest, TheMagnifiedPictureGoesWithThePageAtEachUpdateAndResize)
{
    CViewSerialComRhy& view = *Windowed(L"");
    view.ShowDivider(TRUE);
    view.UpdateWindow();
    CDlgEnlargedPreview magnifier;
    ASSERT_TRUE(OpenMagnifierForBoth(magnifier));
    auto hover = [&](CPoint p) {
        platform::ui::Desktop::MoveMouse(view.GetSafeHwnd(), p.x, p.y);
        platform::ui::Desktop::PumpMessages();
    };
    hover(CPoint(300, 200));
    ASSERT_TRUE(view.HasMagnifierCache());
    view.OnUpdate(nullptr, 0, nullptr);
    EXPECT_FALSE(view.HasMagnifierCache());
    hover(CPoint(301, 200));
    ASSERT_TRUE(view.HasMagnifierCache());
    view.SetWindowPos(nullptr, 0, 0, 580, 580, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    EXPECT_FALSE(view.HasMagnifierCache());
    CloseMagnifier(magnifier);
}

// With the calipers put away the mouse shows only the magnifier cursor: an
// armed scale's marks stay where they were and the hover magnifier stays
// down, though both documents have it open.
TEST_F(SerialComRhyMouseTest, WithTheCalipersPutAwayTheMouseMovesNoScaleMarkAndBringsNoMagnifier)
{
    m_doc.SetScaleShow(1);
    CViewSerialComRhy& view = *Windowed(L"");
    view.SetDividerCheck(TRUE, 1);
    view.ShowDivider(FALSE);
    view.SetScaleClear();
    view.UpdateWindow();
    CDlgEnlargedPreview magnifier;
    ASSERT_TRUE(OpenMagnifierForBoth(magnifier));
    ASSERT_NE(g_hCursorHand, g_hCursorMag);
    view.SetCurrentCursor(g_hCursorHand);
    platform::ui::Desktop::MoveMouse(view.GetSafeHwnd(), 300, view.GetScreenBaseline(0));
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(g_hCursorMag, view.GetCurrentCursor());
    EXPECT_FALSE(view.IsMouseInside());
    EXPECT_FALSE(view.HasMagnifierCache());
    CloseMagnifier(magnifier);

    // Two clicks 100 px apart each way fix marks that never followed the mouse.
    platform::ui::Desktop::MoveMouse(view.GetSafeHwnd(), 100, 100);
    platform::ui::Desktop::PumpMessages();
    Press(view, CPoint(100, 100));
    platform::ui::Desktop::MoveMouse(view.GetSafeHwnd(), 200, 200);
    platform::ui::Desktop::PumpMessages();
    Press(view, CPoint(200, 200));
    ASSERT_EQ(2, view.GetScaleStatus());
    view.Invalidate(FALSE);   // the scale is drawn, and read, at the paint
    view.UpdateWindow();
    EXPECT_EQ(0, view.GetScaleTime());
    EXPECT_EQ(0, view.GetScaleVoltage());
}

// The one-lead style has a row like the six-lead one: its magnifier follows
// the mouse, and an armed scale's marks with it.
TEST_F(SerialComRhyMouseTest, OnTheOneLeadStyleTheMagnifierAndTheScaleFollowTheMouse)
{
    m_doc.SetScaleShow(1);
    CViewSerialComRhy& view = *Windowed(L"");
    view.SetWaveStyle(13, TRUE);
    view.OnUpdate(nullptr, 0, nullptr);
    ASSERT_EQ(1, view.GetRows());
    view.ShowDivider(TRUE);
    view.SetScaleClear();
    view.UpdateWindow();
    CDlgEnlargedPreview magnifier;
    ASSERT_TRUE(OpenMagnifierForBoth(magnifier));
    platform::ui::Desktop::MoveMouse(view.GetSafeHwnd(), 300, 300);
    platform::ui::Desktop::PumpMessages();
    EXPECT_TRUE(view.IsMouseInside());
    EXPECT_TRUE(view.HasMagnifierCache());
    CloseMagnifier(magnifier);

    Press(view, CPoint(100, 100));
    platform::ui::Desktop::MoveMouse(view.GetSafeHwnd(), 200, 200);
    platform::ui::Desktop::PumpMessages();
    Press(view, CPoint(200, 200));
    ASSERT_EQ(2, view.GetScaleStatus());
    view.Invalidate(FALSE);
    view.UpdateWindow();
    // 100 px of 600 across 130 squares at 10 mm/s, the speed the strip of
    // the ten-second record is drawn at. (This test once read them at the
    // document's 25 mm/s, 866 ms, which no trace of this style is drawn at.)
    EXPECT_EQ(2166, view.GetScaleTime());
}

TEST_F(SerialComRhyMouseTest, TheMagnifiedCalipersFollowTheirDragWithoutTheRestOfThePictureChanging)
{
    CViewSerialComRhy& view = WindowedWithCalipers();
    CDlgEnlargedPreview magnifier;
    ASSERT_TRUE(OpenMagnifierForBoth(magnifier));
    CViewEnlargedPreview* preview = magnifier.GetEnlargedPreview();
    // The caliper's colour about the magnifier's centre, where the cursor
    // holding the grip is shown.
    const CPoint grip = view.GetDividerGrip(0, 0).CenterPoint();
    platform::ui::Desktop::MoveMouse(view.GetSafeHwnd(), grip.x, grip.y);
    platform::ui::Desktop::PumpMessages();
    auto caliperPixels = [&] {
        preview->UpdateWindow();
        CClientDC picture(preview);
        int n = 0;
        for (int y = 30; y < 70; ++y)
            for (int x = 80; x < 120; ++x) {
                const COLORREF c = picture.GetPixel(x, y);
                n += GetBValue(c) > 200 && GetRValue(c) < 60 && GetGValue(c) < 60;
            }
        return n;
    };
    EXPECT_GT(caliperPixels(), 0);
    // Dragged 40 px on, the grip is still under the cursor in the magnifier:
    // the picture is drawn again, not the one from before the drag moved along.
    platform::ui::Desktop::Drag(view.GetSafeHwnd(), POINT{grip.x, grip.y}, POINT{grip.x + 40, grip.y});
    platform::ui::Desktop::PumpMessages();
    ASSERT_EQ(grip.x + 40, view.GetDividerGrip(0, 0).CenterPoint().x);
    EXPECT_GT(caliperPixels(), 0);
    EXPECT_TRUE(view.HasMagnifierCache());

    CloseMagnifier(magnifier);
}

// Each click that places or grabs a scale mark brings the magnifier up where
// it was pressed: a press with no move before it, after the mouse had left.
TEST_F(SerialComRhyMouseTest, EachScaleClickShowsTheMagnifierWhereItWasPressed)
{
    m_doc.SetScaleShow(1);
    CViewSerialComRhy& view = *Windowed(L"");
    view.SetScaleClear();
    view.UpdateWindow();
    CDlgEnlargedPreview magnifier;
    ASSERT_TRUE(OpenMagnifierForBoth(magnifier));
    auto pressAfterLeaving = [&](CPoint p) {
        platform::ui::Desktop::MoveMouse(view.GetSafeHwnd(), p.x, p.y);
        platform::ui::Desktop::PumpMessages();
        view.SendMessage(WM_MOUSELEAVE, 0, 0);
        EXPECT_FALSE(view.IsMouseInside());
        EXPECT_FALSE(view.HasMagnifierCache());
        CPoint screen = p;
        view.ClientToScreen(&screen);
        platform::ui::Desktop::AdvanceClock(1000);
        platform::ui::Desktop::MouseDown(POINT{screen.x, screen.y});
        platform::ui::Desktop::PumpMessages();
        const bool shown = view.IsMouseInside() && view.HasMagnifierCache();
        platform::ui::Desktop::MouseUp(POINT{screen.x, screen.y});
        platform::ui::Desktop::PumpMessages();
        return shown;
    };
    EXPECT_TRUE(pressAfterLeaving(CPoint(100, 100)));   // the first mark stays
    EXPECT_EQ(1, view.GetScaleStatus());
    EXPECT_TRUE(pressAfterLeaving(CPoint(200, 200)));   // the second mark stays
    EXPECT_EQ(2, view.GetScaleStatus());
    EXPECT_TRUE(pressAfterLeaving(CPoint(200, 200)));   // the second mark grabbed
    EXPECT_TRUE(pressAfterLeaving(CPoint(400, 450)));   // no mark grabbed
    EXPECT_EQ(2, view.GetScaleStatus());

    CloseMagnifier(magnifier);
}

// A grip shows the library's own divider cursor, hovered and after its drag.
TEST_F(SerialComRhyMouseTest, AGripShowsTheDividerCursorHoveredAndAfterItsDrag)
{
    CViewSerialComRhy& view = WindowedWithCalipers();
    const HCURSOR divider = ::LoadCursorW(GetMorvelanceModule(), MAKEINTRESOURCE(IDC_CURSOR_DIVIDER));
    ASSERT_NE(nullptr, divider);
    EXPECT_EQ(divider, view.GetDividerCursor());
    const CPoint left = view.GetDividerGrip(0, 0).CenterPoint();
    platform::ui::Desktop::MoveMouse(view.GetSafeHwnd(), left.x, left.y);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(divider, view.GetCurrentCursor());
    // Off the caliper: the magnifier cursor.
    platform::ui::Desktop::MoveMouse(view.GetSafeHwnd(), left.x - 40, left.y);
    platform::ui::Desktop::PumpMessages();
    EXPECT_NE(divider, view.GetCurrentCursor());
    platform::ui::Desktop::MoveMouse(view.GetSafeHwnd(), left.x, left.y);
    platform::ui::Desktop::PumpMessages();
    CPoint screen = left;
    view.ClientToScreen(&screen);
    platform::ui::Desktop::MouseDown(POINT{screen.x, screen.y});
    platform::ui::Desktop::MoveMouse(POINT{screen.x - 30, screen.y});
    platform::ui::Desktop::PumpMessages();
    ASSERT_EQ(left.x - 30, view.GetDividerGrip(0, 0).CenterPoint().x);
    // Whatever the cursor was during the drag, the release shows the divider's.
    view.SetCurrentCursor(g_hCursorMag);
    platform::ui::Desktop::MouseUp(POINT{screen.x - 30, screen.y});
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(divider, view.GetCurrentCursor());
}

// While a scale mark follows the mouse a click fixes the mark, so a caliper
// under the mouse is neither offered (its cursor) nor selected; with the marks
// fixed the same grip offers its drag again.
TEST_F(SerialComRhyMouseTest, WhileAScaleMarkFollowsTheMouseACaliperGripIsNeitherHoveredNorSelected)
{
    m_doc.SetScaleShow(1);
    CViewSerialComRhy& view = WindowedWithCalipers();
    view.SetDividerCheck(TRUE, 2);
    view.UpdateWindow();
    view.SetScaleClear();
    ASSERT_EQ(0, view.GetScaleStatus());
    const CPoint grip = view.GetDividerGrip(1, 0).CenterPoint();
    platform::ui::Desktop::MoveMouse(view.GetSafeHwnd(), grip.x, grip.y);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(grip, view.GetScalePoint(0));
    EXPECT_EQ(g_hCursorMag, view.GetCurrentCursor());
    EXPECT_EQ(0, view.GetSelectedDivider());
    Press(view, grip);
    Press(view, grip + CPoint(0, 200));   // the second mark fixed below
    ASSERT_EQ(2, view.GetScaleStatus());
    platform::ui::Desktop::MoveMouse(view.GetSafeHwnd(), grip.x + 1, grip.y + 100);
    platform::ui::Desktop::MoveMouse(view.GetSafeHwnd(), grip.x, grip.y - 8);
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(view.GetDividerCursor(), view.GetCurrentCursor());
    EXPECT_EQ(1, view.GetSelectedDivider());
}

// A mark held when the pane clears the scale is let go: once the marks are
// placed again, moving with the button down drags none of them.
TEST_F(SerialComRhyMouseTest, ClearingTheScaleLetsGoOfTheMarkItsButtonHeld)
{
    m_doc.SetScaleShow(1);
    CViewSerialComRhy& view = *Windowed(L"");
    view.ShowDivider(TRUE);
    view.SetScaleClear();
    view.SetScalePoint(0, CPoint(100, 100));
    view.SetScalePoint(1, CPoint(300, 300));
    view.SetScaleStatus(2);
    CPoint screen(100, 100);
    view.ClientToScreen(&screen);
    platform::ui::Desktop::AdvanceClock(1000);
    platform::ui::Desktop::MouseDown(POINT{screen.x, screen.y});
    platform::ui::Desktop::PumpMessages();
    view.SetScaleClear();
    view.SetScalePoint(0, CPoint(100, 100));
    view.SetScalePoint(1, CPoint(300, 300));
    view.SetScaleStatus(2);
    platform::ui::Desktop::MoveMouse(POINT{screen.x + 50, screen.y + 20});
    platform::ui::Desktop::PumpMessages();
    EXPECT_EQ(CPoint(100, 100), view.GetScalePoint(0));
    platform::ui::Desktop::MouseUp(POINT{screen.x + 50, screen.y + 20});
    platform::ui::Desktop::PumpMessages();
}

TEST_F(SerialComRhyTest, AnMferRecordAskingForItTakesATimeLabelFromItsStartTime)
{
    AddMfer(10.0);
    MakeView(29, 0, DOC_TYPE_MFER);
    _MFERDATAITEM* item = m_view->GetMferItem();
    ASSERT_NE(nullptr, item);
    CString text;
    EXPECT_FALSE(m_view->TimeLabelText(text));
    item->bTimeLabel = 1;
    item->byStartMinute = 2;
    item->byStartSecond = 5;
    ASSERT_TRUE(m_view->TimeLabelText(text));
    EXPECT_EQ(CString(L"2:05"), text);
    m_view->SetStartTime(250);   // half a second on
    ASSERT_TRUE(m_view->TimeLabelText(text));
    EXPECT_EQ(CString(L"2:05.5"), text);
}

TEST_F(SerialComRhyCaliperTest, ScreenAndPaperDrawingsLeaveTheContextAsFound)
{
    CViewSerialComRhy& view = *Windowed(L"");
    m_doc.SetMouseMode(1);
    view.ShowDivider(TRUE);
    view.SetDividerCheck(TRUE, 1);
    view.SetScaleStatus(2);
    view.SetScalePoint(0, CPoint(100, 100));
    view.SetScalePoint(1, CPoint(200, 200));
    view.SetRulerMarkRect(1);
    CDC paper;
    ASSERT_TRUE(paper.Attach(platform::gdi::CreateImageDC(600, 600)));
    CECGDC printer(&paper, 2);
    HDC hdc = paper.GetSafeHdc();
    EXPECT_LEAVES_DC_AS_FOUND(hdc, view.OnDraw(&paper));
    EXPECT_LEAVES_DC_AS_FOUND(hdc, view.DrawDivider(&paper, CRect(0, 0, 600, 600), 1.0f, TRUE));
    EXPECT_LEAVES_DC_AS_FOUND(hdc, view.DrawScale(&paper, CRect(0, 0, 600, 600), 2.0f));
    EXPECT_LEAVES_DC_AS_FOUND(hdc, view.Print(&printer, CRect(0, 0, 520, 560), 130, 140, 4.0, 0, TRUE));
    EXPECT_LEAVES_DC_AS_FOUND(hdc, view.PrintWaveInfo(&printer, CRect(0, 0, 520, 40), TRUE));
}
