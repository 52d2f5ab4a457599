#include <gtest/gtest.h>

#include "analysisviews/ViewQRSNo.h"
#include "analysisviews/ViewQRSType.h"
#include "core/ECGXMLParser.h"
#include "printdevice/ECGDC.h"
#include "tests/analysisviews/MeasViewTestSupport.h"
#include "tests/support/DCStateCheck.h"
#include "analysisviews/ViewDetailedMeas.h"

namespace {

using RecordKind = morvelance::rec::RecordKind;

template <class View> class QrsFixture : public measviewtest::MeasViewFixture<View> {
protected:
    void ShowBeats(int beats, bool mixed = false, bool missing = false)
    {
        morvelance::RestRecordShape shape = resttest::Shape(RecordKind::Rest12);
        shape.xml.qrsBeats = beats;
        shape.xml.mixedQrsTypes = mixed;
        shape.xml.missingMeasures = missing;
        this->OpenShape(shape);
        ASSERT_NE(this->ShowView(960, 200), nullptr);
    }
};

using QrsNumbers = QrsFixture<CViewQRSNo>;
using QrsTypes = QrsFixture<CViewQRSType>;

// ---- paging ------------------------------------------------------------------------------

TEST_F(QrsNumbers, AShortRecordIsAtBothEndsAndShowsPlaceholdersPastItsBeats)
{
    ShowBeats(3);
    m_view->OnUpdate();
    EXPECT_EQ(m_view->GetBeatCount(), 3);
    EXPECT_TRUE(m_view->IsBegin());
    EXPECT_TRUE(m_view->IsEnd());
    CString type, rr;
    EXPECT_TRUE(m_view->ReadBeat(3, type, rr));
    EXPECT_FALSE(m_view->ReadBeat(4, type, rr));
    EXPECT_EQ(type, L"**");
    EXPECT_EQ(rr, L"****");
    CDC dc;
    DrawInto(dc);
    CRect client;
    m_view->GetClientRect(&client);
    const int colW = MulDiv(client.Width(), 1, 9);
    const int rowH = client.Height() / 4;
    // Beat 4 stands in the fourth value column: grey placeholders.
    EXPECT_GT(measviewtest::GreyIn(dc, CRect(6 * colW - colW / 2, 3 * rowH, 6 * colW, 4 * rowH)), 0);
}

TEST_F(QrsNumbers, TenBeatsPageForwardToTheLastWindowAndBack)
{
    ShowBeats(10);
    m_view->OnUpdate();
    for (int step = 0; step < 4; ++step) {
        EXPECT_FALSE(m_view->IsEnd());
        m_view->SetQRSNum(1);
    }
    EXPECT_EQ(m_view->GetFirstBeat(), 4);
    EXPECT_TRUE(m_view->IsEnd());
    m_view->SetQRSNum(1);
    EXPECT_EQ(m_view->GetFirstBeat(), 4);
    m_view->SetQRSNum(-1);
    EXPECT_EQ(m_view->GetFirstBeat(), 3);
    EXPECT_FALSE(m_view->IsBegin());
    // Another step keeps a window that still fits.
    m_view->SetQRSNum(0);
    EXPECT_EQ(m_view->GetFirstBeat(), 3);
}

// Back at the first beat has nowhere to go: the window stays on beat 1 and
// the table shows what it showed, rather than a beat before the record.
TEST_F(QrsNumbers, BackAtTheFirstBeatStaysOnTheFirstBeat)
{
    ShowBeats(10);
    m_view->OnUpdate();
    CDC before;
    DrawInto(before);
    m_view->SetQRSNum(1);
    m_view->SetQRSNum(-1);
    m_view->SetQRSNum(-1);
    EXPECT_EQ(m_view->GetFirstBeat(), 0);
    EXPECT_TRUE(m_view->IsBegin());
    CDC after;
    DrawInto(after);
    CRect client;
    m_view->GetClientRect(&client);
    int differ = 0;
    for (int y = 0; y < client.Height(); ++y)
        for (int x = 0; x < client.Width(); ++x) differ += before.GetPixel(x, y) != after.GetPixel(x, y) ? 1 : 0;
    EXPECT_EQ(differ, 0);
}

TEST_F(QrsNumbers, AShorterRecordBringsTheWindowBack)
{
    ShowBeats(300, true);
    m_view->OnUpdate();
    for (int step = 0; step < 300; ++step) m_view->SetQRSNum(1);
    EXPECT_EQ(m_view->GetFirstBeat(), 294);
    EXPECT_TRUE(m_view->IsEnd());
    CString type, rr;
    EXPECT_TRUE(m_view->ReadBeat(300, type, rr));
    EXPECT_EQ(type, L"5");
    OpenShape(resttest::Shape(RecordKind::Rest12));
    m_view->OnUpdate();
    m_view->SetQRSNum(0);
    EXPECT_EQ(m_view->GetFirstBeat(), 0);
}

// Without a resting record to read there are no values: the two value rows
// stay empty where placeholders would claim six unreadable beats.
TEST_F(QrsNumbers, WithoutARestingRecordTheValueRowsStayEmpty)
{
    ShowBeats(10);
    CRect client;
    m_view->GetClientRect(&client);
    const int colW = MulDiv(client.Width(), 1, 9);
    const int rowH = client.Height() / 4;
    auto valueInk = [&](CDC& dc) {
        int ink = 0;
        for (int j = 0; j < QRS_NO_SCREEN_BEATS; ++j) {
            const int x = 3 * colW + j * colW;
            ink += measviewtest::InkIn(dc, CRect(x - colW / 3, 2 * rowH, x, 4 * rowH));
        }
        return ink;
    };
    CDC rest;
    DrawInto(rest);
    EXPECT_GT(valueInk(rest), 0);

    m_view->SetDocType(DOC_TYPE_MFER);
    m_view->OnUpdate();
    CDC other;
    DrawInto(other);
    EXPECT_EQ(valueInk(other), 0);
    // The table itself stands: the beat numbers of the head row.
    EXPECT_GT(measviewtest::InkIn(other, CRect(3 * colW - colW / 3, 0, 3 * colW, rowH)), 0);
}

// ---- printing -------------------------------------------------------------------------------

TEST_F(QrsNumbers, ThreeHundredBeatsPrintTwentyAPageUpTo256)
{
    ShowBeats(300, true);
    const int cw = MulDiv(measviewtest::Paper::kWidth, 1, 24);
    const int typeY = (7 * measviewtest::Paper::kFont) / 3;
    auto column = [&](int i) { return 3 * cw + i * cw; };
    {
        measviewtest::Paper paper;
        CECGDC dc(&paper.Dc(), 2);
        EXPECT_TRUE(m_view->Print(&dc, paper.Rect(), 0));
        EXPECT_GT(paper.InkLeftOf(column(19), typeY, typeY + measviewtest::Paper::kFont), 0);
        EXPECT_EQ(paper.InkLeftOf(column(20) + cw / 2, 0, measviewtest::Paper::kHeight), 0);
    }
    {
        measviewtest::Paper paper;
        CECGDC dc(&paper.Dc(), 2);
        EXPECT_TRUE(m_view->Print(&dc, paper.Rect(), 12));   // beats 241 to 256
        EXPECT_GT(paper.InkLeftOf(column(15), typeY, typeY + measviewtest::Paper::kFont), 0);
        EXPECT_EQ(paper.InkLeftOf(column(16), 0, measviewtest::Paper::kHeight), 0);
    }
    {
        measviewtest::Paper paper;
        CECGDC dc(&paper.Dc(), 2);
        EXPECT_TRUE(m_view->Print(&dc, paper.Rect(), 13));   // nothing but the titles
        EXPECT_EQ(paper.InkLeftOf(column(0), 0, measviewtest::Paper::kHeight), 0);
    }
}

TEST_F(QrsNumbers, APrintBeforeTheFirstDrawingReadsTheRecordFirst)
{
    ShowBeats(10);
    // A view the pane made and never drew.
    CViewQRSNo fresh;
    m_doc.AddView(&fresh);
    fresh.SetDocType(DOC_TYPE_REST);
    measviewtest::Paper paper;
    CECGDC dc(&paper.Dc(), 2);
    EXPECT_TRUE(fresh.Print(&dc, paper.Rect(), 0));
    const int cw = MulDiv(measviewtest::Paper::kWidth, 1, 24);
    const int typeY = (7 * measviewtest::Paper::kFont) / 3;
    EXPECT_GT(paper.InkLeftOf(3 * cw + 9 * cw, typeY, typeY + measviewtest::Paper::kFont), 0);
    EXPECT_EQ(fresh.GetBeatCount(), 10);
    m_doc.RemoveView(&fresh);
}

// ---- QRS types ---------------------------------------------------------------------------------

TEST_F(QrsTypes, EverySixTypesIntervalsAreReadAndAnUnreadableOneIsAPlaceholder)
{
    ShowBeats(30, true, true);
    CECGXMLParser xml(testsupport::Wide(m_files.xml), 0, CString());
    EXPECT_EQ(CViewQRSType::ReadValue(xml, 2, 5), L"166");   // PR of type 5
    EXPECT_EQ(CViewQRSType::ReadValue(xml, 1, 0), L"****");  // P duration of type 0 not measured
    CDC dc;
    DrawInto(dc);
    CRect client;
    m_view->GetClientRect(&client);
    const int colW = MulDiv(client.Width(), 1, 9);
    const int rowH = client.Height() / 7;
    // Type 0's P duration, right-aligned at three columns on the second row.
    EXPECT_GT(measviewtest::GreyIn(dc, CRect(3 * colW - colW / 2, 3 * rowH, 3 * colW, 4 * rowH)), 0);
    // Type 5's QT on the fifth row.
    EXPECT_GT(measviewtest::InkIn(dc, CRect(8 * colW - colW / 2, 6 * rowH, 8 * colW, 7 * rowH)), 0);
}

TEST_F(QrsTypes, ARecordWithoutItsXmlShowsTheTableWithEveryValueUnreadable)
{
    ShowBeats(30, true);
    m_doc.GetCurrentDataItem()->strXMLPath.Empty();
    CDC dc;
    DrawInto(dc);
    CRect client;
    m_view->GetClientRect(&client);
    const int colW = MulDiv(client.Width(), 1, 9);
    const int rowH = client.Height() / 7;
    // Type 5's P duration on the second row reads "****", in grey; the labels stand.
    EXPECT_GT(measviewtest::GreyIn(dc, CRect(8 * colW - colW / 2, 3 * rowH, 8 * colW, 4 * rowH)), 0);
    EXPECT_GT(measviewtest::InkIn(dc, CRect(colW / 2, 6 * rowH, 2 * colW, 7 * rowH)), 0);
    // Paper still needs the record XML.
    measviewtest::Paper paper;
    CECGDC printer(&paper.Dc(), 2);
    EXPECT_FALSE(m_view->Print(&printer, paper.Rect()));
}

TEST_F(QrsTypes, PrintsOnlyForARestRecordWithItsRecordXml)
{
    ShowBeats(30, true);
    measviewtest::Paper paper;
    CECGDC dc(&paper.Dc(), 2);
    EXPECT_TRUE(m_view->Print(&dc, paper.Rect()));
    const int cw = MulDiv(measviewtest::Paper::kWidth, 1, 9);
    const int rh = MulDiv(measviewtest::Paper::kHeight, 1, 7);
    EXPECT_GT(paper.InkLeftOf(3 * cw + 5 * cw, 2 * rh, 3 * rh), 0);
    m_view->SetDocType(DOC_TYPE_MFER);
    EXPECT_FALSE(m_view->Print(&dc, paper.Rect()));
}

using DetailedTable = QrsFixture<CViewDetailedMeas>;

// Every table leaves the DC as it found it, on screen and on paper.
TEST_F(DetailedTable, TheTablesLeaveTheDeviceContextAsTheyFoundIt)
{
    ShowBeats(10, true, true);
    measviewtest::Paper paper;
    CECGDC dc(&paper.Dc(), 2);
    const HDC hdc = paper.Dc().GetSafeHdc();
    EXPECT_LEAVES_DC_AS_FOUND(hdc, m_view->OnDraw(&paper.Dc()));
    EXPECT_LEAVES_DC_AS_FOUND(hdc, m_view->Print(&dc, paper.Rect()));
    CViewQRSNo numbers;
    CViewQRSType types;
    m_doc.AddView(&numbers);
    m_doc.AddView(&types);
    EXPECT_LEAVES_DC_AS_FOUND(hdc, numbers.Print(&dc, paper.Rect(), 0));
    EXPECT_LEAVES_DC_AS_FOUND(hdc, types.Print(&dc, paper.Rect()));
    m_doc.RemoveView(&numbers);
    m_doc.RemoveView(&types);
}

}  // namespace
