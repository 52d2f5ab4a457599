// The serial comparison of average beats on resting records of the record
// maker, found through a base list of records of every kind: slots load the
// right records' beats and ST texts, columns stay empty on screen and close
// up on paper, another patient's record is left off paper, and the overlap
// column superimposes the others; a record without beats is painted once
// without asking for another paint.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "core/DataItem.h"
#include "dialogs/DlgEnlargedPreview.h"
#include "platform/base/Kernel.h"
#include "documents/MFERViewDoc.h"
#include "platform/ui/framework/ClientDC.h"
#include "waveviews/ViewEnlargedPreview.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/CreateContext.h"
#include "platform/ui/windowing/Desktop.h"
#include "tests/documents/RestViewDocTestSupport.h"
#include "tests/support/DCStateCheck.h"
#include "tools/MferWriter.h"
#include "tools/RecordBuilder.h"
#include "waveviews/ViewSerialComAve.h"

namespace {

const COLORREF kPaper = RGB(255, 255, 255);
const int kWidth = 1300;    // 5 px per grid millimetre across 260
const int kHeight = 640;    // 4 px per grid millimetre down 160
const int kCal = kWidth * 10 / 260;

class SerialComAveTest : public resttest::RestDocFixture {
protected:
    void SetUp() override
    {
        resttest::RestDocFixture::SetUp();
        m_doc.m_bAutoDelete = m_base.m_bAutoDelete = m_mfer.m_bAutoDelete = FALSE;
        m_doc.SetSmoothFilterMode(0);
        m_doc.SetBaseLineWidth(1);
        m_doc.SetSense(3, 10.0f, 0);
    }
    _RESTDATAITEM* AddRest(const std::string& name, morvelance::rec::RecordKind kind)
    {
        morvelance::RestRecordShape shape;
        shape.kind = kind;
        _RESTDATAITEM* item = AddRecord(name, shape);
        EXPECT_EQ(0, Open(item));
        m_listed.push_back(AddListed(item->uSystemCode, item->strXMLPath, item->strFilePath));
        return item;
    }
    _DATAITEM* AddListed(unsigned code, const CString& xml = CString(), const CString& file = CString())
    {
        auto* listed = new _DATAITEM;
        listed->uSystemCode = code;
        listed->strXMLPath = xml;
        listed->strFilePath = file;
        return m_base.GetDataManager().AppendItem(listed);
    }
    // Records that do not take part around two resting records of one patient.
    void ListRecords()
    {
        for (unsigned code : {0x0008u, 0x00D9u, 0x8001u, 0x7011u}) AddListed(code);
        m_first = AddRest("first", morvelance::rec::RecordKind::Rest12);
        AddListed(0x00F3);
        m_second = AddRest("second", morvelance::rec::RecordKind::Rest15);
        m_first->stPatient.strPatientID = m_second->stPatient.strPatientID = L"P-100";
        m_base.SetCurDataIndex(m_listed[0]->nID);
    }
    void MakeView(std::initializer_list<int> slots, BOOL overlap = FALSE)
    {
        m_view = std::make_unique<CViewSerialComAve>();
        m_view->SetRestViewDoc(&m_doc);
        m_view->SetMFERViewDoc(&m_mfer);
        m_view->SetBaseECGDoc(&m_base);
        m_view->SetDocType(DOC_TYPE_REST);
        m_view->SetPageStyle(41);
        m_view->SetShowOverlappedWave(overlap);
        int slot = 0;
        for (int index : slots) m_view->SetSerialIndex(slot++, index);
        m_view->OnUpdate(nullptr, 0, nullptr);
    }
    // An MFER file opened in the MFER document and listed in the base
    // document; null when it did not open.
    _MFERDATAITEM* ListMfer(const std::string& path)
    {
        auto* item = new _MFERDATAITEM;
        item->strFilePath = CString(path.c_str());
        m_mfer.GetMFERDataManager()->AppendItem(item);
        CString mfer(path.c_str()), xml, third;
        if (m_mfer.OpenMFERFile(mfer, xml, third) != 0) return nullptr;
        m_listed.push_back(AddListed(item->uSystemCode, item->strXMLPath, item->strFilePath));
        return item;
    }
    // A view filling a pane window, on `current`, of the record kind given,
    // in page style 41; deleted with its window.
    CViewSerialComAve* ShowInPane(CWnd& pane, CDocument* current, int docType, BOOL overlap)
    {
        if (!pane.CreateEx(0, nullptr, L"pane", WS_POPUP | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), nullptr, 0))
            return nullptr;
        CCreateContext context;
        context.m_pCurrentDoc = current;
        auto* view = new CViewSerialComAve;
        if (!view->Create(nullptr, nullptr, WS_CHILD | WS_VISIBLE, CRect(0, 0, kWidth, kHeight), &pane, 1, &context))
            return nullptr;
        view->SetRestViewDoc(&m_doc);
        view->SetMFERViewDoc(&m_mfer);
        view->SetBaseECGDoc(&m_base);
        view->SetDocType(docType);
        view->SetPageStyle(41);
        view->SetShowOverlappedWave(overlap);
        return view;
    }
    void Draw(BOOL print, BOOL ignoreID = FALSE)
    {
        m_dc.DeleteDC();
        ASSERT_TRUE(m_dc.Attach(platform::gdi::CreateImageDC(kWidth, kHeight)));
        m_dc.FillSolidRect(0, 0, kWidth, kHeight, kPaper);
        int gridX = 0, gridY = 0;
        m_view->GetGridCount(gridX, gridY);
        EXPECT_TRUE(m_view->DrawView(&m_dc, CRect(0, 0, kWidth, kHeight), gridX, gridY, print, ignoreID));
    }
    int InkIn(const CRect& box)
    {
        int n = 0;
        for (int y = box.top; y < box.bottom; ++y)
            for (int x = box.left; x < box.right; ++x) n += m_dc.GetPixel(x, y) != kPaper;
        return n;
    }
    // Record column p (of ten) of the wave area, without its lead names.
    int InkInColumn(int p)
    {
        const int column = (kWidth - kCal) / 10;
        return InkIn(CRect(kCal + p * column + 2, kHeight / 24, kCal + (p + 1) * column - 2, kHeight));
    }

    CTavrionDoc m_base;
    CMFERViewDoc m_mfer;
    std::vector<_DATAITEM*> m_listed;
    _RESTDATAITEM* m_first = nullptr;
    _RESTDATAITEM* m_second = nullptr;
    std::unique_ptr<CViewSerialComAve> m_view;
    CDC m_dc;
};

}  // namespace

TEST(SerialComAveST, TheSTLevelBecomesMillimetresCutTowardZero)
{
    EXPECT_EQ(CString(L"-0.35"), CViewSerialComAve::FormatST(L"-35", 10.0f));
    EXPECT_EQ(CString(L"+1.23"), CViewSerialComAve::FormatST(L"123", 10.0f));
    EXPECT_EQ(CString(L"-0.17"), CViewSerialComAve::FormatST(L"-35", 5.0f));
    EXPECT_EQ(CString(L"+0.00"), CViewSerialComAve::FormatST(L"0", 10.0f));
    EXPECT_EQ(CString(L"****"), CViewSerialComAve::FormatST(L"****", 10.0f));
}

TEST(SerialComAveWindow, TheBeatWindowStartsNoEarlierThan40msAndEndsAtTheColumn)
{
    int start = 10, span = 300;
    CViewSerialComAve::ClampWindow(start, span, 500, 500);
    EXPECT_EQ(20, start);
    EXPECT_EQ(290, span);
    start = 100;
    span = 600;
    CViewSerialComAve::ClampWindow(start, span, 500, 500);
    EXPECT_EQ(400, span);
    start = 5;
    span = 10;
    CViewSerialComAve::ClampWindow(start, span, 500, 500);
    EXPECT_EQ(0, span);
}

TEST_F(SerialComAveTest, SlotsLoadTheirRecordsBeatsAndSTTextsAndTheDocumentKeepsItsCurrentRecord)
{
    ListRecords();
    m_first->strST[0] = L"-35";
    m_first->strST[1] = L"123";
    m_first->strST[6] = L"-35";
    m_first->strST[7] = L"****";
    m_doc.SetChestHalf(TRUE);
    m_doc.SetCurDataIndex(m_second->nID);
    MakeView({0, 1});
    EXPECT_EQ(m_second->nID, m_doc.GetCurDataIndex());
    EXPECT_EQ(CString(L"-0.35"), m_view->GetSTText(0, 0));
    EXPECT_EQ(CString(L"+1.23"), m_view->GetSTText(0, 1));
    // The chest leads are read at half the sensitivity.
    EXPECT_EQ(CString(L"-0.17"), m_view->GetSTText(0, 6));
    EXPECT_EQ(CString(L"****"), m_view->GetSTText(0, 7));
    m_doc.SetCurDataIndex(m_first->nID);
    EXPECT_EQ(m_doc.GetAverageWaveData(3, nullptr, -1) / 2, m_view->GetSampleCount(0, 3));
    EXPECT_GT(m_view->GetWindowSpan(0), 0);
    EXPECT_GT(m_view->GetSampleCount(1, 11), 0);
    EXPECT_EQ(0, m_view->GetSampleCount(2, 0));
}

TEST_F(SerialComAveTest, SlotsPastTheTenAreIgnored)
{
    CViewSerialComAve view;
    view.SetSerialIndex(10, 3);
    view.SetSerialIndex(-1, 3);
    EXPECT_EQ(-1, view.GetSerialIndex(10));
    for (int slot = 0; slot < 10; ++slot) EXPECT_EQ(-1, view.GetSerialIndex(slot));
}

TEST_F(SerialComAveTest, AnEmptySlotLeavesItsColumnEmptyOnScreenAndClosesUpOnPaper)
{
    ListRecords();
    MakeView({-1, 0, 1});
    Draw(FALSE);
    EXPECT_EQ(0, InkInColumn(0));
    EXPECT_GT(InkInColumn(1), 0);
    EXPECT_GT(InkInColumn(2), 0);
    EXPECT_EQ(0, InkInColumn(3));
    Draw(TRUE);
    EXPECT_GT(InkInColumn(0), 0);
    EXPECT_GT(InkInColumn(1), 0);
    EXPECT_EQ(0, InkInColumn(2));
}

TEST_F(SerialComAveTest, AnotherPatientsRecordIsLeftOffPaperUnlessIgnored)
{
    ListRecords();
    m_second->stPatient.strPatientID = L"P-200";
    MakeView({0, 1});
    Draw(FALSE);
    EXPECT_GT(InkInColumn(1), 0);
    Draw(TRUE);
    EXPECT_GT(InkInColumn(0), 0);
    EXPECT_EQ(0, InkInColumn(1));
    Draw(TRUE, TRUE);
    EXPECT_GT(InkInColumn(1), 0);
    EXPECT_FALSE(m_view->CheckSerialFileID(m_listed[0], m_listed[1]));
    EXPECT_TRUE(m_view->CheckSerialFileID(m_listed[0], m_listed[0]));
}

TEST_F(SerialComAveTest, OverlapFillsNineColumnsAndSuperimposesThemInTheTenth)
{
    ListRecords();
    MakeView({0, 1, 0, 1, 0, 1, 0, 1, 0, 1}, TRUE);
    EXPECT_GT(m_view->GetSampleCount(8, 0), 0);
    EXPECT_EQ(0, m_view->GetSampleCount(9, 0));   // the overlap column's slot is not loaded
    Draw(FALSE);
    for (int p = 0; p < 10; ++p) EXPECT_GT(InkInColumn(p), 0) << p;
    // Without overlap the tenth slot is a column of its own.
    MakeView({0, 1, 0, 1, 0, 1, 0, 1, 0, -1}, FALSE);
    Draw(FALSE);
    EXPECT_EQ(0, InkInColumn(9));
}

namespace {
// Where the R peak of lead I stands in a column: the x range of the ink
// within two pixels of the highest ink of the lead's row.
struct PeakSpan {
    int left = -1;
    int right = -1;
};
}  // namespace

TEST_F(SerialComAveTest, TheOverlapSuperimposesBeatsOnTheirFiducialPointWhereverEachRecordHasIt)
{
    // The second record's beats come 40 samples later, and its fiducial point with them.
    const int delay = 40;
    morvelance::RestRecordShape shape;
    _RESTDATAITEM* early = AddItem(morvelance::WriteRestRecord(m_dir.Path(), "early.ecg", shape), false);
    morvelance::RecordBuilder items = morvelance::MakeRestRecord(shape);
    for (uint32_t lead = 0; lead < 12; ++lead) {
        const uint32_t tag = morvelance::rec::kTagAverageLeadBase + lead;
        std::vector<int16_t> beat = morvelance::ItemSamples(*items.Find(tag, 0));
        beat.insert(beat.begin(), delay, beat.front());
        beat.resize(beat.size() - delay);
        items.SetSamples(tag, 0, beat);
    }
    int16_t fiducial = 0;
    ASSERT_TRUE(morvelance::ItemInt16(*items.Find(morvelance::rec::kTagAverageBaseline, 0), &fiducial));
    items.SetInt16(morvelance::rec::kTagAverageBaseline, 0, static_cast<int16_t>(fiducial + delay));
    _RESTDATAITEM* late = AddItem(morvelance::WriteRestRecord(m_dir.Path(), "late.ecg", shape, items), false);
    for (_RESTDATAITEM* item : {early, late}) {
        ASSERT_EQ(0, Open(item));
        m_listed.push_back(AddListed(item->uSystemCode, item->strXMLPath, item->strFilePath));
    }
    MakeView({0, 1}, TRUE);
    Draw(FALSE);

    const int column = (kWidth - kCal) / 10;
    const int baseline = kHeight / 12;
    auto peak = [&](int p) {
        PeakSpan span;
        int top = -1;
        for (int y = 0; y < baseline && top < 0; ++y)
            for (int x = kCal + p * column + 2; x < kCal + (p + 1) * column - 2 && top < 0; ++x)
                if (m_dc.GetPixel(x, y) != kPaper) top = y;
        for (int y = std::max(top, 0); y <= top + 2; ++y)
            for (int x = kCal + p * column + 2; x < kCal + (p + 1) * column - 2; ++x) {
                if (m_dc.GetPixel(x, y) == kPaper) continue;
                if (span.left < 0 || x < span.left) span.left = x;
                span.right = std::max(span.right, x);
            }
        return span;
    };
    // In their own columns the peaks stand 40 samples (10 pixels) apart ...
    const PeakSpan first = peak(0), second = peak(1);
    ASSERT_GE(first.left, 0);
    ASSERT_GE(second.left, 0);
    EXPECT_NEAR(10, (second.left - column) - first.left, 1);
    // ... and the overlap puts them on one another, at the first record's place.
    const PeakSpan both = peak(9);
    ASSERT_GE(both.left, 0);
    EXPECT_LE(both.right - both.left, first.right - first.left + 1);
    EXPECT_NEAR(first.left + 9 * column, both.left, 2);
}

// A record shifted left past the overlap column's first millimetre loses the
// samples left of it and is drawn from there for its window's full length
// (as far as its beat has samples).
TEST_F(SerialComAveTest, AnOverlapBeatShiftedPastTheColumnsLeftKeepsItsWindowsLength)
{
    // The short record's fiducial point 20 samples into its 50-sample window;
    // the long one's 300 samples into its 400: shifted left by 70 pixels, it
    // starts 50 pixels (200 samples) left of the column's first millimetre.
    auto write = [&](const char* name, int16_t first, int16_t last, int16_t fiducial) {
        morvelance::RestRecordShape shape;
        morvelance::RecordBuilder items = morvelance::MakeRestRecord(shape);
        items.SetInt16(morvelance::rec::kTagAverageFirst, 0, first);
        items.SetInt16(morvelance::rec::kTagAverageLast, 0, last);
        items.SetInt16(morvelance::rec::kTagAverageBaseline, 0, fiducial);
        _RESTDATAITEM* item = AddItem(morvelance::WriteRestRecord(m_dir.Path(), name, shape, items), false);
        ASSERT_EQ(0, Open(item));
        m_listed.push_back(AddListed(item->uSystemCode, item->strXMLPath, item->strFilePath));
    };
    write("short.ecg", 100, 150, 120);
    write("long.ecg", 100, 500, 400);
    MakeView({0, 1}, TRUE);
    ASSERT_EQ(600, m_view->GetSampleCount(1, 0));
    Draw(FALSE);
    // The long beat is drawn from sample 300 at 5 px into the column: its 300
    // samples left reach 75 px further; the short beat ends 38 px in.
    const int left = kCal + 9 * ((kWidth - kCal) / 10);
    EXPECT_GT(InkIn(CRect(left + 60, 20, left + 78, kHeight / 6)), 0);
    EXPECT_EQ(0, InkIn(CRect(left + 82, 20, left + 120, kHeight / 6)));
}

TEST_F(SerialComAveTest, DrawingLeavesTheDeviceContextAsFoundOnScreenAndPaper)
{
    ListRecords();
    MakeView({0, 1}, TRUE);
    Draw(FALSE);
    int gridX = 0, gridY = 0;
    m_view->GetGridCount(gridX, gridY);
    for (BOOL print : {FALSE, TRUE})
        EXPECT_LEAVES_DC_AS_FOUND(m_dc.GetSafeHdc(),
                                  m_view->DrawView(&m_dc, CRect(0, 0, kWidth, kHeight), gridX, gridY, print, FALSE));
}

TEST_F(SerialComAveTest, HalfWidthStylesShowFivePerPageAndTheLeftViewKeepsTheLimbLeads)
{
    CViewSerialComAve left, right;
    for (CViewSerialComAve* view : {&left, &right}) {
        view->SetDocType(DOC_TYPE_REST);
        view->SetShowChestLead(TRUE);
    }
    right.SetViewIndex(1);
    left.SetPageStyle(42);
    right.SetPageStyle(42);
    int gridX = 0, gridY = 0;
    left.GetGridCount(gridX, gridY);
    EXPECT_EQ(135, gridX);
    right.GetGridCount(gridX, gridY);
    EXPECT_EQ(125, gridX);
    EXPECT_EQ(5, left.GetRecordsPerPage());
    EXPECT_EQ(0, left.RowLead(0));
    EXPECT_EQ(6, right.RowLead(0));
    // The same style on an MFER document is a full-width page.
    right.SetDocType(DOC_TYPE_MFER);
    right.SetPageStyle(42);
    EXPECT_EQ(10, right.GetRecordsPerPage());
    right.SetPageStyle(46);
    EXPECT_EQ(5, right.GetRecordsPerPage());
}

TEST_F(SerialComAveTest, TheCalibrationColumnStacksSixPulsesOrOneAbove10mmPerMillivolt)
{
    ListRecords();
    MakeView({0});
    Draw(FALSE);
    const int row = kHeight / 6;
    for (int i = 0; i < 6; ++i) EXPECT_GT(InkIn(CRect(0, i * row, kCal, (i + 1) * row)), 0) << i;
    // A 10 mm pulse on 4 px per millimetre rises 40 px above its baseline.
    const int x = kCal * 2 / 10 + kCal * 3 / 10;
    EXPECT_GT(InkIn(CRect(x - 2, row / 2 - 42, x + 2, row / 2 - 38)), 0);
    m_doc.SetSense(3, 20.0f, 0);
    EXPECT_EQ(1, m_view->GetCalPulseCount());
    Draw(FALSE);
    EXPECT_EQ(0, InkIn(CRect(0, kHeight / 2 + 10, kCal, kHeight)));
    EXPECT_GT(InkIn(CRect(0, 0, kCal, kHeight / 2 + 10)), 0);
}

TEST_F(SerialComAveTest, AnMferFilesAveragedBeatsFillItsColumn)
{
    const std::string path = m_dir.File("beats.mwf");
    std::string error;
    ASSERT_TRUE(morvelance::WriteMferFile(path, morvelance::MferKindRecord(morvelance::MferKind::Rhythm12, 12, 10.0, 500.0),
                                          morvelance::MferOptions(), &error))
        << error;
    _MFERDATAITEM* item = ListMfer(path);
    ASSERT_NE(nullptr, item);
    item->strST[2] = L"50";
    m_mfer.SetSense(3, 10.0f, 0);
    m_view = std::make_unique<CViewSerialComAve>();
    m_view->SetRestViewDoc(&m_doc);
    m_view->SetMFERViewDoc(&m_mfer);
    m_view->SetBaseECGDoc(&m_base);
    m_view->SetDocType(DOC_TYPE_MFER);
    m_view->SetPageStyle(41);
    m_view->SetShowOverlappedWave(FALSE);
    m_view->SetSerialIndex(0, 0);
    m_view->OnUpdate(nullptr, 0, nullptr);
    // 1.2 s of beat at 500 Hz in every lead, all of it the window.
    EXPECT_EQ(item->pMFERParser->GetWaveLength(2) / 2, m_view->GetSampleCount(0, 11));
    EXPECT_GT(m_view->GetSampleCount(0, 0), 0);
    EXPECT_EQ(m_view->GetSampleCount(0, 0), m_view->GetWindowSpan(0));
    EXPECT_EQ(CString(L"+0.50"), m_view->GetSTText(0, 2));
    Draw(FALSE);
    EXPECT_GT(InkInColumn(0), 0);
    EXPECT_EQ(0, InkInColumn(1));
}

namespace {

using platform::ui::Desktop;

// What the runner saw of the request and of the documents while it ran.
struct RunnerLog {
    int runs = 0;
    CSerialAvePopupRequest request;
    int currentWhileRunning = -1;
    COLORREF colourWhileRunning = 0;
};
RunnerLog g_popupLog;

int RecordingRunner(CWnd*, const CSerialAvePopupRequest& request, std::unique_ptr<CDialog>&)
{
    ++g_popupLog.runs;
    g_popupLog.request = request;
    if (request.pDoc) {
        g_popupLog.currentWhileRunning = request.pDoc->GetCurDataIndex();
        g_popupLog.colourWhileRunning = request.pDoc->GetWaveColor(5);
        request.pDoc->SetWaveColor(5, RGB(1, 2, 3));   // the dialog may change them
    }
    return IDOK;
}

class SerialComAveMouseTest : public SerialComAveTest {
protected:
    void SetUp() override
    {
        SerialComAveTest::SetUp();
        Desktop::SetScreenSize(1920, 1080);
        g_popupLog = RunnerLog();
        CViewSerialComAve::SetPopupRunner(&RecordingRunner);
        ListRecords();
    }
    void TearDown() override
    {
        CViewSerialComAve::SetPopupRunner(nullptr);
        m_pane.DestroyWindow();
        Desktop::Reset();
        SerialComAveTest::TearDown();
    }
    void Show(BOOL overlap)
    {
        m_shown = ShowInPane(m_pane, &m_doc, DOC_TYPE_REST, overlap);
        ASSERT_NE(nullptr, m_shown);
        m_shown->SetSerialIndex(0, 0);
        m_shown->SetSerialIndex(1, 1);
        m_shown->OnUpdate(nullptr, 0, nullptr);
        m_shown->UpdateWindow();
    }
    // The centre of record column p's row j.
    CPoint Cell(int p, int j) const
    {
        const double column = (kWidth - kCal) / 10.0;
        return CPoint(kCal + static_cast<int>((p + 0.5) * column), j * kHeight / 6 + kHeight / 12);
    }
    void DoubleClick(CPoint p)
    {
        Desktop::DoubleClick(m_shown->GetSafeHwnd(), p.x, p.y);
        Desktop::PumpMessages();
    }

    CWnd m_pane;
    CViewSerialComAve* m_shown = nullptr;   // deleted with its window
};

}  // namespace

TEST_F(SerialComAveMouseTest, TheClickGivesTheLeadAndSlotUnderThePointAndASampleOfItsWindow)
{
    Show(FALSE);
    int sample = 0, slot = -1;
    EXPECT_EQ(2, m_shown->GetClickLead(Cell(1, 2), sample, slot));
    EXPECT_EQ(1, slot);
    // The sample scales the point across the whole wave area.
    const CPoint p = Cell(1, 2);
    EXPECT_NEAR(m_shown->GetWindowStart(1) + static_cast<double>(m_shown->GetWindowSpan(1)) * p.x / (kWidth - kCal), sample, 1.0);
    EXPECT_EQ(-1, m_shown->GetClickLead(CPoint(kCal / 2, kHeight / 2), sample, slot));
    m_shown->SetShowChestLead(TRUE);
    EXPECT_EQ(11, m_shown->GetClickLead(Cell(0, 5), sample, slot));
}

TEST_F(SerialComAveMouseTest, ADoubleClickOpensTheRecordsBeatInTheComparisonsColoursAndPutsEverythingBack)
{
    Show(FALSE);
    m_base.SetWaveColor(5, RGB(10, 20, 30));
    m_doc.SetWaveColor(5, RGB(200, 0, 0));
    m_doc.SetCurDataIndex(-1);
    DoubleClick(Cell(1, 3));
    ASSERT_EQ(1, g_popupLog.runs);
    EXPECT_FALSE(g_popupLog.request.bOverlap);
    EXPECT_EQ(&m_doc, static_cast<CRestViewDoc*>(g_popupLog.request.pDoc));
    EXPECT_EQ(3, g_popupLog.request.nLead);
    EXPECT_EQ(1, g_popupLog.request.nSlot);
    EXPECT_EQ(m_second->nID, g_popupLog.currentWhileRunning);
    EXPECT_EQ(RGB(10, 20, 30), g_popupLog.colourWhileRunning);
    EXPECT_EQ(-1, m_doc.GetCurDataIndex());
    EXPECT_EQ(RGB(200, 0, 0), m_doc.GetWaveColor(5));
    EXPECT_EQ(0, m_shown->IsPopupOpen());
    // An empty column opens nothing.
    DoubleClick(Cell(4, 3));
    EXPECT_EQ(1, g_popupLog.runs);
}

TEST_F(SerialComAveMouseTest, ADoubleClickOnTheOverlapColumnComparesEverySlotsRecord)
{
    Show(TRUE);
    DoubleClick(Cell(9, 0));
    ASSERT_EQ(1, g_popupLog.runs);
    EXPECT_TRUE(g_popupLog.request.bOverlap);
    EXPECT_EQ(9, g_popupLog.request.nCompareCount);
    EXPECT_EQ(m_listed[0]->nID, g_popupLog.request.nDataIndex[0]);
    EXPECT_EQ(m_listed[1]->nID, g_popupLog.request.nDataIndex[1]);
    EXPECT_EQ(-1, g_popupLog.request.nDataIndex[2]);
}

TEST_F(SerialComAveMouseTest, TheMagnifierShowsTheBeatsUnderTheCursorAndNothingOverAnEmptyColumn)
{
    Show(FALSE);
    CDlgEnlargedPreview magnifier;
    magnifier.SetEnlargedPreviewDoc(&m_doc);
    ASSERT_TRUE(magnifier.Create(CDlgEnlargedPreview::IDD, nullptr));
    magnifier.SetWindowPos(nullptr, 1500, 0, 200, 100, SWP_NOZORDER | SWP_NOACTIVATE);
    magnifier.SetScaleRatio(2.0f);
    magnifier.ShowWindow(SW_SHOWNOACTIVATE);
    m_doc.SetEnlargedPreview(&magnifier);
    auto strongPixels = [&](CPoint point) {
        if (!m_shown->MoveEnlargedPreview(point)) return -1;
        CClientDC picture(magnifier.GetEnlargedPreview());
        magnifier.GetEnlargedPreview()->UpdateWindow();
        int n = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 200; ++x) {
                const COLORREF c = picture.GetPixel(x, y);
                n += std::min({GetRValue(c), GetGValue(c), GetBValue(c)}) < 80;
            }
        return n;
    };
    // Lead I's baseline in the first record's column, then an empty column.
    const double column = (kWidth - kCal) / 10.0;
    EXPECT_GT(strongPixels(CPoint(kCal + static_cast<int>(column / 2), kHeight / 12)), 10);
    EXPECT_TRUE(m_shown->HasMagnifierCache());
    EXPECT_EQ(0, strongPixels(CPoint(kCal + static_cast<int>(6.5 * column), kHeight / 12)));
    m_doc.SetEnlargedPreview(nullptr);
    magnifier.DestroyWindow();
}

// The magnified lead names are in the base document's display font made as
// large as the picture: four times the screen's text, not the canvas's
// default font.
TEST_F(SerialComAveMouseTest, TheMagnifiedLeadNamesAreInTheDisplayFontScaledByTheMagnification)
{
    const COLORREF kText = RGB(250, 0, 250);
    m_base.SetWaveColor(3, kText);
    Show(FALSE);
    CDlgEnlargedPreview magnifier;
    magnifier.SetEnlargedPreviewDoc(&m_doc);
    ASSERT_TRUE(magnifier.Create(CDlgEnlargedPreview::IDD, nullptr));
    magnifier.SetWindowPos(nullptr, 1500, 0, 300, 160, SWP_NOZORDER | SWP_NOACTIVATE);
    magnifier.ShowWindow(SW_SHOWNOACTIVATE);
    m_doc.SetEnlargedPreview(&magnifier);
    CViewEnlargedPreview* view = magnifier.GetEnlargedPreview();
    ASSERT_NE(nullptr, view);
    ASSERT_EQ(4.0f, view->GetScaleRatio());
    // Lead I's name stands 5 mm into the first record's column, 2 mm above its baseline.
    const int nameX = kCal + MulDiv(kWidth - kCal, 5, 250);
    const int nameBottom = kHeight / 12 - MulDiv(kHeight, 2, 160);
    ASSERT_TRUE(m_shown->MoveEnlargedPreview(CPoint(nameX + 10, nameBottom - 8)));
    view->UpdateWindow();
    CRect client;
    view->GetClientRect(&client);
    int top = client.bottom, bottom = -1;
    {
        CClientDC dc(view);
        for (int y = 0; y < client.bottom; ++y)
            for (int x = 0; x < client.right; ++x)
                if (dc.GetPixel(x, y) == kText) {
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
    }
    m_doc.SetEnlargedPreview(nullptr);
    magnifier.DestroyWindow();
    ASSERT_GE(bottom, top) << "no lead name in the magnified picture";
    LOGFONT lf{};
    m_base.GetDocFont(1)->GetLogFont(&lf);
    EXPECT_GT(bottom - top + 1, 2 * std::abs(static_cast<int>(lf.lfHeight)));
}

TEST_F(SerialComAveMouseTest, ATraceThatCannotBeDrawnIsReportedAndTheScreenKeepsItsPicture)
{
    Show(FALSE);
    m_doc.SetSmoothFilterMode(99);   // no renderer for it
    CDC canvas;
    ASSERT_TRUE(canvas.Attach(platform::gdi::CreateImageDC(kWidth, kHeight)));
    int gridX = 0, gridY = 0;
    m_shown->GetGridCount(gridX, gridY);
    EXPECT_FALSE(m_shown->DrawView(&canvas, CRect(0, 0, kWidth, kHeight), gridX, gridY, FALSE, FALSE));
    // On paper the printer's own pen draws it.
    EXPECT_TRUE(m_shown->DrawView(&canvas, CRect(0, 0, kWidth, kHeight), gridX, gridY, TRUE, FALSE));
    // The window's last picture stays: a marked pixel is not painted over.
    CClientDC screen(m_shown);
    screen.SetPixel(kWidth - 3, kHeight - 3, RGB(1, 2, 3));
    m_shown->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(RGB(1, 2, 3), screen.GetPixel(kWidth - 3, kHeight - 3));
    m_doc.SetSmoothFilterMode(0);
    m_shown->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_NE(RGB(1, 2, 3), screen.GetPixel(kWidth - 3, kHeight - 3));
}

namespace {

// The view in a window over an MFER file of extra leads, which carries no
// averaged beats.
class SerialComAveBeatlessTest : public SerialComAveTest {
protected:
    void SetUp() override
    {
        SerialComAveTest::SetUp();
        Desktop::SetScreenSize(1920, 1080);
        const std::string path = m_dir.File("extra4.mwf");
        morvelance::MferOptions options;
        options.description = morvelance::MferDescription(morvelance::MferKind::Extra4);
        std::string error;
        ASSERT_TRUE(morvelance::WriteMferFile(path, morvelance::MferKindRecord(morvelance::MferKind::Extra4, 4),
                                              options, &error))
            << error;
        ASSERT_NE(nullptr, ListMfer(path));
        m_shown = ShowInPane(m_pane, &m_mfer, DOC_TYPE_MFER, FALSE);
        ASSERT_NE(nullptr, m_shown);
        m_shown->SetSerialIndex(0, 0);
        m_shown->OnUpdate(nullptr, 0, nullptr);
    }
    void TearDown() override
    {
        m_pane.DestroyWindow();
        Desktop::Reset();
        SerialComAveTest::TearDown();
    }

    CWnd m_pane;
    CViewSerialComAve* m_shown = nullptr;   // deleted with its window
};

}  // namespace

TEST_F(SerialComAveBeatlessTest, ARecordWithoutBeatsIsPaintedOnceAndAsksForNoFurtherPaint)
{
    ASSERT_EQ(0, m_shown->GetSampleCount(0, 0));
    m_shown->InvalidateRect(nullptr, FALSE);
    ASSERT_TRUE(m_shown->GetUpdateRect(nullptr, FALSE));
    m_shown->UpdateWindow();   // one WM_PAINT, sent at once
    // Painting reloads the empty slot; that must not invalidate the view
    // again, or it would repaint itself for ever.
    EXPECT_FALSE(m_shown->GetUpdateRect(nullptr, FALSE));
    MSG paint;
    EXPECT_FALSE(::PeekMessageW(&paint, m_shown->GetSafeHwnd(), WM_PAINT, WM_PAINT, PM_NOREMOVE));
}

TEST_F(SerialComAveBeatlessTest, APaintThatLoadsTheBeatsTakesTheDocumentsAnnotationSettingsToo)
{
    // The document asks for ellipses after the last update; the paint that
    // loads the empty slot again takes them, as an update would.
    m_mfer.SetAnnotationType(5);
    ASSERT_NE(SKETCH_ELLIPSE, m_shown->GetNotationManager().GetCurrentType());
    m_shown->InvalidateRect(nullptr, FALSE);
    m_shown->UpdateWindow();
    EXPECT_EQ(SKETCH_ELLIPSE, m_shown->GetNotationManager().GetCurrentType());
}
