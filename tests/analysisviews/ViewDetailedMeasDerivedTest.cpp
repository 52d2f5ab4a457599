// Records of system-code low byte 8 keep lead III inverted: the form shows
// the column derived and must store corrections back into the rows they
// came from, never the derived texts themselves.
#include <gtest/gtest.h>

#include "analysisviews/ViewDetailedMeas.h"
#include "tests/analysisviews/MeasViewTestSupport.h"

namespace {

using platform::ui::Desktop;
using RecordKind = morvelance::rec::RecordKind;

const wchar_t kMm[] = L"/Rawdata/Tavrion/Measurement/Measurement_section/Mm/";
const wchar_t* const kElements[21] = {L"Pa",  L"Ppa", L"Eqd", L"Qd",  L"Qa",   L"Rd",  L"Ra",
                                      L"Sd",  L"Sa",  L"Rpd", L"Rpa", L"Spd",  L"Spa", L"Vat",
                                      L"Qrsa", L"Stj", L"Stm", L"Ste", L"Mta", L"Ta",  L"Tpa"};
const int kLeadIII = 2;

class DerivedColumn : public measviewtest::MeasViewFixture<CViewDetailedMeas> {
protected:
    // A low-byte-8 record; `qAmplitude` replaces lead III's stored Q amplitude.
    void ShowInverted(const wchar_t* qAmplitude = nullptr)
    {
        morvelance::RestRecordShape shape = resttest::Shape(RecordKind::Rest12, false, 0x0108);
        m_item = AddRecord("inverted.ecg", shape);
        if (qAmplitude) SetXmlText(Path(4, kLeadIII), qAmplitude, L"data");
        ASSERT_EQ(Open(m_item), 0);
        ASSERT_NE(ShowView(), nullptr);
        ASSERT_TRUE(m_view->IsDerivedLayout());
    }
    static CString Path(int row, int lead)
    {
        CString path;
        path.Format(L"%s%s/%s_element[%d]", kMm, kElements[row], kElements[row], lead + 1);
        return path;
    }
    CString Stored(int row, int lead) { return XmlText(Path(row, lead), L"data"); }
    std::vector<CString> Section()
    {
        std::vector<CString> all;
        for (int row = 0; row < 21; ++row)
            for (int lead = 0; lead < 12; ++lead) all.push_back(Stored(row, lead));
        return all;
    }
    CString Shown(int row)
    {
        CString text;
        m_view->GetCell(row, kLeadIII)->GetWindowText(text);
        return text;
    }
    void TypeOver(int row, LPCWSTR text) { measviewtest::TypeOverCell(*m_view->GetCell(row, kLeadIII), text); }
    bool Editable(int row) { return m_view->GetCell(row, kLeadIII)->IsInputEnabled() != FALSE; }

    _RESTDATAITEM* m_item = nullptr;
};

TEST_F(DerivedColumn, WithoutAQWaveLeadIIIShowsTheInvertedRowsShifted)
{
    ShowInverted();
    const _MEASURE_INFO& m = m_item->stMeasure;
    auto negated = [&](int row) {
        CString t;
        t.Format(L"%d", -_wtoi(m.At(row, kLeadIII)));
        return t;
    };
    EXPECT_EQ(Shown(0), negated(1));
    EXPECT_EQ(Shown(3), m.At(5, kLeadIII));
    EXPECT_EQ(Shown(6), m.At(8, kLeadIII));
    EXPECT_EQ(Shown(15), negated(15));
    EXPECT_EQ(Shown(13), negated(13));
    for (int row : {2, 11, 12, 13}) EXPECT_FALSE(Editable(row)) << row;
    for (int row : {0, 3, 6, 10, 14, 20}) EXPECT_TRUE(Editable(row)) << row;
    EXPECT_EQ(Shown(11), L"0");
    // TUP and delta wave come from the record.
    CString tup;
    m_view->GetCell(21, kLeadIII)->GetWindowText(tup);
    EXPECT_EQ(tup, m.At(21, kLeadIII));
}

TEST_F(DerivedColumn, WithAQWaveTheQRowsHaveNoDerivedValue)
{
    ShowInverted(L"-40");
    const _MEASURE_INFO& m = m_item->stMeasure;
    EXPECT_EQ(Shown(6), L"-40");   // R amplitude from the Q amplitude
    EXPECT_EQ(Shown(11), m.At(9, kLeadIII));
    for (int row : {2, 3, 4, 13}) EXPECT_FALSE(Editable(row)) << row;
    EXPECT_TRUE(Editable(11));
}

TEST_F(DerivedColumn, SavingWithoutEditsLeavesTheMeasurementSectionAsItWas)
{
    ShowInverted();
    const std::vector<CString> before = Section();
    EXPECT_FALSE(m_view->IsEditChange());
    EXPECT_TRUE(m_view->SetData(FALSE));
    EXPECT_EQ(Section(), before);
}

TEST_F(DerivedColumn, OneEditChangesOnlyItsSourceRowWithItsSign)
{
    ShowInverted();
    std::vector<CString> expected = Section();
    TypeOver(6, L"-250");        // shown from S amplitude as it is
    TypeOver(15, L"25");         // shown from ST J negated
    EXPECT_TRUE(m_view->IsEditChange());
    EXPECT_TRUE(m_view->SetData(FALSE));
    expected[8 * 12 + kLeadIII] = L"-250";
    expected[15 * 12 + kLeadIII] = L"-25";
    EXPECT_EQ(Section(), expected);
}

TEST_F(DerivedColumn, ALayoutAfterTheRecordBecameEditableOffersTheValueCellsOutsideLeadIII)
{
    m_item = AddRecord("inverted.ecg", resttest::Shape(RecordKind::Rest12, false, 0x0108));
    SetXmlText(Path(6, 0), L"****", L"data");
    ASSERT_EQ(Open(m_item), 0);
    m_doc.SetReadOnly(1);
    ASSERT_NE(ShowView(), nullptr);
    ASSERT_TRUE(m_view->IsDerivedLayout());
    auto editable = [&](int row, int lead) { return m_view->GetCell(row, lead)->IsInputEnabled() != FALSE; };
    ASSERT_FALSE(editable(6, 1));

    // The document allows editing now; the pane lays the form out anew.
    m_doc.SetReadOnly(0);
    CRect client;
    m_view->GetClientRect(&client);
    m_view->MoveWindow(0, 0, client.Width() - 40, client.Height() - 20);
    Desktop::PumpMessages();

    for (int lead : {1, 3, 11}) EXPECT_TRUE(editable(6, lead)) << lead;
    EXPECT_TRUE(editable(21, 0));
    EXPECT_FALSE(editable(6, 0)) << "a missing value is never offered for editing";
    // Lead III keeps what its load decided.
    EXPECT_FALSE(editable(0, kLeadIII));
    EXPECT_FALSE(editable(6, kLeadIII));
}

TEST_F(DerivedColumn, TheInversionTable)
{
    short v[21];
    for (int i = 0; i < 21; ++i) v[i] = static_cast<short>(100 + i);
    v[5] = static_cast<short>(0x8000);
    EXPECT_EQ(CViewDetailedMeas::SetCabrAvrValue(FALSE, v, 0), -101);
    EXPECT_EQ(CViewDetailedMeas::SetCabrAvrValue(FALSE, v, 1), -100);
    EXPECT_EQ(CViewDetailedMeas::SetCabrAvrValue(FALSE, v, 2), 10000);
    EXPECT_EQ(CViewDetailedMeas::SetCabrAvrValue(FALSE, v, 3), 10000);
    EXPECT_EQ(CViewDetailedMeas::SetCabrAvrValue(TRUE, v, 3), static_cast<short>(0x8000));   // a missing source stays missing
    EXPECT_EQ(CViewDetailedMeas::SetCabrAvrValue(FALSE, v, 7), static_cast<short>(0x8000));
    EXPECT_EQ(CViewDetailedMeas::SetCabrAvrValue(FALSE, v, 12), 110);
    EXPECT_EQ(CViewDetailedMeas::SetCabrAvrValue(TRUE, v, 12), 10000);
    EXPECT_EQ(CViewDetailedMeas::SetCabrAvrValue(TRUE, v, 10), 112);
    EXPECT_EQ(CViewDetailedMeas::SetCabrAvrValue(FALSE, v, 13), 10000);
    EXPECT_EQ(CViewDetailedMeas::SetCabrAvrValue(FALSE, v, 20), -120);
    EXPECT_EQ(CViewDetailedMeas::SetCabrAvrValue(FALSE, v, 21), 10000);
    int sequence[12];
    CViewDetailedMeas::ChangeLeadSequence(sequence, TRUE);
    EXPECT_EQ(std::vector<int>(sequence, sequence + 12), (std::vector<int>{4, 0, 3, 1, 5, 2, 6, 7, 8, 9, 10, 11}));
    CViewDetailedMeas::ChangeLeadSequence(sequence, FALSE);
    EXPECT_EQ(sequence[4], 4);
}

}  // namespace
