// The record-wide values beside the detailed measurement table: what each
// row reads on the screen (a PR of 0 and a P or QRS axis of 999 are no
// measurement, a T axis of 999 is one) and on paper, and the RV5+SV1 row,
// which is their sum rather than a stored text.
#include <gtest/gtest.h>

#include <vector>

#include "analysisviews/ViewDetailedMeas.h"
#include "platform/gdi/DCObjectSelector.h"
#include "printdevice/ECGDC.h"
#include "tests/analysisviews/MeasViewTestSupport.h"
#include "tests/support/TextBoxes.h"

namespace {

using RecordKind = morvelance::rec::RecordKind;

const wchar_t kSection[] = L"/Rawdata/Tavrion/Measurement/Measurement_section/";
enum GlobalRow { kRate = 0, kPr = 1, kQrs = 2, kQt = 3, kQtc = 4, kPAxis = 5, kQrsAxis = 6, kTAxis = 7, kRv5 = 8,
                 kSv1 = 9, kSum = 10 };

class DetailedMeasGlobals : public measviewtest::MeasViewFixture<CViewDetailedMeas> {
protected:
    void SetUp() override
    {
        MeasViewFixture::SetUp();
        m_item = OpenShape(resttest::Shape(RecordKind::Rest12));
        ASSERT_NE(m_item, nullptr);
        ASSERT_NE(ShowView(), nullptr);
    }

    // The texts the screen's OnDraw writes in the value column of the global
    // block (right-aligned at three columns), by row.
    std::vector<CString> ScreenValues()
    {
        CRect client;
        m_view->GetClientRect(&client);
        testsupport::CTextBoxDC dc(client.Width(), client.Height());
        m_view->OnDraw(&dc);
        const CViewDetailedMeas::Layout l = m_view->GetLayout();
        return ValuesAt(dc, 3 * l.colW, l.firstRowTop, l.rowH);
    }
    // The texts the printed table writes in its global value column, by row.
    std::vector<CString> PrintedValues(CRect* cell = nullptr, int* greyInSum = nullptr)
    {
        const int width = 2400, height = 1400;
        testsupport::CTextBoxDC paper(width, height);
        CFont font;
        font.CreateFont(-30, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, L"simsun");
        CDCObjectSelector<CFont> selected(paper, &font);
        CECGDC dc(&paper, 2);
        EXPECT_TRUE(m_view->Print(&dc, CRect(0, 0, width, height)));
        const int cw = width / 20;
        const int rh = height / 28;
        const std::vector<CString> values = ValuesAt(paper, 2 * cw + (2 * cw) / 3, 4 * rh, rh);
        if (cell) *cell = m_lastBox;
        if (greyInSum) *greyInSum = measviewtest::GreyIn(paper, m_sumBox);
        return values;
    }

    // Per global row, the text whose box ends at `right` and starts on that row.
    std::vector<CString> ValuesAt(const testsupport::CTextBoxDC& dc, int right, int firstTop, int rowHeight)
    {
        std::vector<CString> values(11, L"<none>");
        for (const testsupport::TextBox& text : dc.Boxes()) {
            if (text.box.right != right) continue;
            const int offset = text.box.top - firstTop;
            if (offset < 0 || offset % rowHeight != 0 || offset / rowHeight > kSum) continue;
            values[static_cast<size_t>(offset / rowHeight)] = text.text;
            if (offset / rowHeight == kSum) m_sumBox = text.box;
            m_lastBox = text.box;
        }
        return values;
    }

    _RESTDATAITEM* m_item = nullptr;
    CRect m_lastBox;
    CRect m_sumBox;
};

}  // namespace

// ---- the screen ---------------------------------------------------------------------------

TEST_F(DetailedMeasGlobals, TheSumRowShowsRV5PlusSV1ToThreeDecimals)
{
    m_item->stMeasure.strGlobal[kRv5] = L"1.234";
    m_item->stMeasure.strGlobal[kSv1] = L"0.5";
    std::vector<CString> values = ScreenValues();
    EXPECT_EQ(values[kRv5], L"1.234");
    EXPECT_EQ(values[kSv1], L"0.5");
    EXPECT_EQ(values[kSum], L"1.734");

    // Not a copy of either: a deeper S wave gives a larger sum.
    m_item->stMeasure.strGlobal[kRv5] = L"2.05";
    m_item->stMeasure.strGlobal[kSv1] = L"1.375";
    values = ScreenValues();
    EXPECT_EQ(values[kSum], L"3.425");
}

TEST_F(DetailedMeasGlobals, EitherAmplitudeMissingMakesTheSumMissingInGrey)
{
    for (int missing : {kRv5, kSv1}) {
        SCOPED_TRACE(missing);
        m_item->stMeasure.strGlobal[kRv5] = L"1.234";
        m_item->stMeasure.strGlobal[kSv1] = L"0.5";
        m_item->stMeasure.strGlobal[missing] = L"*.***";
        const std::vector<CString> values = ScreenValues();
        EXPECT_EQ(values[missing], L"*.***");
        EXPECT_EQ(values[kSum], L"*.***");
        CDC dc;
        DrawInto(dc);
        EXPECT_GT(measviewtest::GreyIn(dc, m_sumBox), 0);
    }
}

TEST_F(DetailedMeasGlobals, APrOfZeroAndAPOrQrsAxisOf999ShowAsStarsButATAxisOf999ShowsItsValue)
{
    _MEASURE_INFO& m = m_item->stMeasure;
    m.strGlobal[kPr] = L"0";
    m.strGlobal[kPAxis] = L"999";
    m.strGlobal[kQrsAxis] = L"999";
    m.strGlobal[kTAxis] = L"999";
    std::vector<CString> values = ScreenValues();
    EXPECT_EQ(values[kPr], L"***");
    EXPECT_EQ(values[kPAxis], L"***");
    EXPECT_EQ(values[kQrsAxis], L"***");
    EXPECT_EQ(values[kTAxis], L"999");

    // The rule is for those values only: measured ones stand as stored, and
    // a 999 in another row (a QT) is a value.
    m.strGlobal[kPr] = L"160";
    m.strGlobal[kPAxis] = L"60";
    m.strGlobal[kQrsAxis] = L"-30";
    m.strGlobal[kTAxis] = L"45";
    m.strGlobal[kQt] = L"999";
    values = ScreenValues();
    EXPECT_EQ(values[kPr], L"160");
    EXPECT_EQ(values[kPAxis], L"60");
    EXPECT_EQ(values[kQrsAxis], L"-30");
    EXPECT_EQ(values[kTAxis], L"45");
    EXPECT_EQ(values[kQt], L"999");
}

// ---- paper ----------------------------------------------------------------------------------

TEST_F(DetailedMeasGlobals, ThePrintedSumIsTheRecordXmlsRV5PlusSV1)
{
    SetXmlText(CString(kSection) + L"Rv5", L"1.234");
    SetXmlText(CString(kSection) + L"Sv1", L"0.5");
    std::vector<CString> values = PrintedValues();
    EXPECT_EQ(values[kRv5], L"1.234");
    EXPECT_EQ(values[kSv1], L"0.5");
    EXPECT_EQ(values[kSum], L"1.734");

    SetXmlText(CString(kSection) + L"Rv5", L"2.05");
    SetXmlText(CString(kSection) + L"Sv1", L"1.375");
    values = PrintedValues();
    EXPECT_EQ(values[kSum], L"3.425");
}

TEST_F(DetailedMeasGlobals, APrintedValueTheRecordLacksIsStarsAndTheSumThenTooInGrey)
{
    SetXmlText(CString(kSection) + L"Rv5", L"1.234");
    RemoveXmlNode(CString(kSection) + L"Sv1");
    RemoveXmlNode(CString(kSection) + L"P_axis");
    int grey = 0;
    const std::vector<CString> values = PrintedValues(nullptr, &grey);
    EXPECT_EQ(values[kPAxis], L"***");
    EXPECT_EQ(values[kRv5], L"1.234");
    EXPECT_EQ(values[kSv1], L"*.***");
    EXPECT_EQ(values[kSum], L"*.***");
    EXPECT_GT(grey, 0);
}
