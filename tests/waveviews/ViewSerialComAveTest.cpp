// The serial comparison of average beats on resting records of the record
// maker, found through a base list of records of every kind: slots load the
// right records' beats and ST texts, columns stay empty on screen and close
// up on paper, another patient's record is left off paper, and the overlap
// column superimposes the others.
#include <gtest/gtest.h>

#include <memory>

#include "core/DataItem.h"
#include "documents/MFERViewDoc.h"
#include "platform/gdi/Image.h"
#include "tests/documents/RestViewDocTestSupport.h"
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

TEST_F(SerialComAveTest, TheClickGivesTheLeadAndSlotUnderThePoint)
{
    ListRecords();
    MakeView({0, 1});
    int sample = 0, slot = -1;
    // Without a window the client is empty: nothing is under any point.
    EXPECT_EQ(-1, m_view->GetClickLead(CPoint(10, 10), sample, slot));
}
