// The enlarged beat's measurement table as texts: what each lead position
// shows and lets the user edit, the ranges checked before anything is
// stored, and what storing writes back into the record's measurements.
#include <gtest/gtest.h>

#include "dialogs/MeasureTableCells.h"

namespace {

const int kAVR = 3;

// Every lead item of lead l holds 100 * item + l (P' negated, as it must
// be); the answers "N"; the globals 60, 160 ... .
_MEASURE_INFO NumberedMeasure()
{
    _MEASURE_INFO measure;
    for (int item = 0; item < MEASURE_ITEMS; ++item)
        for (int lead = 0; lead < MEASURE_LEADS; ++lead) {
            CString text;
            text.Format(L"%d", item == 1 ? -(100 + lead) : 100 * item + lead);
            measure.At(item, lead) = item > 20 ? CString(L"N") : text;
        }
    for (int i = 0; i < MEASURE_GLOBALS; ++i) measure.strGlobal[i].Format(L"%d", 60 + 100 * i);
    return measure;
}

bool SameMeasure(const _MEASURE_INFO& a, const _MEASURE_INFO& b)
{
    for (int i = 0; i < MEASURE_ITEMS * MEASURE_LEADS; ++i)
        if (a.strMeasure[i] != b.strMeasure[i]) return false;
    for (int i = 0; i < MEASURE_GLOBALS; ++i)
        if (a.strGlobal[i] != b.strGlobal[i]) return false;
    return true;
}

}  // namespace

TEST(MeasureTableCells, AStandardLeadShowsItsOwnItemsAndMarkedValuesAreShownOnly)
{
    _MEASURE_INFO measure = NumberedMeasure();
    measure.At(6, 7) = L"****";
    CMeasureTableCells cells;
    cells.Load(measure, 7, 0);
    EXPECT_EQ(CString(L"507"), cells.At(5).strText);
    EXPECT_TRUE(cells.At(5).bEditable);
    EXPECT_EQ(CString(L"****"), cells.At(6).strText);
    EXPECT_FALSE(cells.At(6).bEditable);
    EXPECT_EQ(CString(L"160"), cells.At(CMeasureTableCells::kFirstGlobal + 1).strText);
    // The heart rate is never edited here.
    EXPECT_FALSE(cells.At(CMeasureTableCells::kFirstGlobal).bEditable);
}

TEST(MeasureTableCells, ExtraLeadsOfA15LeadRecordAreShownOnlyAndStoreOnlyTheGlobals)
{
    const _MEASURE_INFO original = NumberedMeasure();
    CMeasureTableCells cells;
    cells.Load(original, 13, 0);
    for (int item = 0; item <= 20; ++item) {
        EXPECT_EQ(CString(L"****"), cells.At(item).strText);
        EXPECT_FALSE(cells.At(item).bEditable);
    }
    EXPECT_EQ(CString(L"*"), cells.At(21).strText);
    EXPECT_FALSE(cells.At(22).bEditable);

    // Whatever the lead cells hold, storing must not reach past the 276 lead texts.
    cells.At(0).strText = L"-5";
    cells.At(CMeasureTableCells::kFirstGlobal + 2).strText = L"98";
    _MEASURE_INFO stored = original;
    ASSERT_TRUE(cells.Store(stored));
    EXPECT_EQ(CString(L"98"), stored.strGlobal[2]);
    stored.strGlobal[2] = original.strGlobal[2];
    EXPECT_TRUE(SameMeasure(original, stored));
}

TEST(MeasureTableCells, CabreraRecordsShowTheirLimbLeadsInCabreraOrder)
{
    const int expected[6] = {4, 0, 3, 1, 5, 2};
    for (int position = 0; position < 6; ++position)
        EXPECT_EQ(expected[position], CMeasureTableCells::StoredLead(position, 8));
    EXPECT_EQ(8, CMeasureTableCells::StoredLead(8, 8));
    EXPECT_EQ(2, CMeasureTableCells::StoredLead(2, 0));

    CMeasureTableCells cells;
    cells.Load(NumberedMeasure(), 0, 8);   // aVL first
    EXPECT_EQ(CString(L"604"), cells.At(6).strText);
    EXPECT_EQ(4, cells.StoredLeadIndex());
}

TEST(MeasureTableCells, DerivedMinusAVRWithoutAQWaveShowsTheRWaveAsTheQWave)
{
    _MEASURE_INFO measure = NumberedMeasure();
    measure.At(4, kAVR) = L"0";      // no Q wave in aVR
    measure.At(0, kAVR) = L"120";    // P amp.
    measure.At(1, kAVR) = L"****";   // P' missing
    CMeasureTableCells cells;
    cells.Load(measure, 2, 8);
    EXPECT_EQ(CString(L"****"), cells.At(0).strText);   // -P' keeps the no-value mark
    EXPECT_EQ(CString(L"-120"), cells.At(1).strText);   // -P
    EXPECT_EQ(CString(L"0"), cells.At(2).strText);
    EXPECT_EQ(CString(L"503"), cells.At(3).strText);    // Q dur. = aVR's R dur.
    EXPECT_EQ(CString(L"603"), cells.At(4).strText);    // Q amp. = aVR's R amp.
    EXPECT_EQ(CString(L"703"), cells.At(5).strText);    // R dur. = aVR's S dur.
    EXPECT_EQ(CString(L"0"), cells.At(11).strText);
    EXPECT_EQ(CString(L"-1303"), cells.At(13).strText);
    EXPECT_EQ(CString(L"-2003"), cells.At(20).strText);
}

TEST(MeasureTableCells, DerivedMinusAVRWithAQWaveShowsTheQWaveAsTheRWave)
{
    _MEASURE_INFO measure = NumberedMeasure();
    CMeasureTableCells cells;
    cells.Load(measure, 2, 8);
    EXPECT_EQ(CString(L"0"), cells.At(3).strText);
    EXPECT_EQ(CString(L"0"), cells.At(4).strText);
    EXPECT_EQ(CString(L"303"), cells.At(5).strText);    // R dur. = aVR's Q dur.
    EXPECT_EQ(CString(L"1003"), cells.At(12).strText);  // S'amp. = aVR's R'amp.
}

TEST(MeasureTableCells, DerivedMinusAVRIsShownOnlyAndNeverWrittenIntoAVR)
{
    const _MEASURE_INFO original = NumberedMeasure();
    CMeasureTableCells cells;
    cells.Load(original, 2, 8);
    for (int item = 0; item < MEASURE_ITEMS; ++item) EXPECT_FALSE(cells.At(item).bEditable) << item;
    EXPECT_FALSE(cells.StoresLeadValues());
    _MEASURE_INFO stored = original;
    ASSERT_TRUE(cells.Store(stored));
    EXPECT_TRUE(SameMeasure(original, stored));
}

TEST(MeasureTableCells, OutOfRangeValueIsFoundBeforeAnythingIsStored)
{
    const _MEASURE_INFO original = NumberedMeasure();
    CMeasureTableCells cells;
    cells.Load(original, 1, 0);
    cells.At(CMeasureTableCells::kFirstGlobal + 3).strText = L"420";
    cells.At(0).strText = L"-5";
    EXPECT_EQ(0, cells.FindOutOfRange());
    _MEASURE_INFO stored = original;
    EXPECT_FALSE(cells.Store(stored));
    EXPECT_TRUE(SameMeasure(original, stored));

    cells.At(0).strText = L"5";
    cells.At(1).strText = L"3";   // P' lies at or below zero
    EXPECT_EQ(1, cells.FindOutOfRange());
    cells.At(1).strText = L"-3";
    cells.At(14).strText = L"10000";
    EXPECT_EQ(14, cells.FindOutOfRange());
}

TEST(MeasureTableCells, RangeMessagesNameTheItemAndItsRange)
{
    EXPECT_EQ(CString(L"The value of P amp. should be between 0 and 9999 !!!"), CMeasureTableCells::RangeMessage(0));
    EXPECT_EQ(CString(L"The value of P'amp. should be between -9999 and 0 !!!"), CMeasureTableCells::RangeMessage(1));
    EXPECT_EQ(CString(L"The value of QRS area should be between -9999 and 9999 !!!"),
              CMeasureTableCells::RangeMessage(14));
}

TEST(MeasureTableCells, StoringWritesTheLeadsTextsAsIntegersAndKeepsMarksAndAnswers)
{
    _MEASURE_INFO measure = NumberedMeasure();
    measure.At(9, 8) = L"****";
    CMeasureTableCells cells;
    cells.Load(measure, 8, 0);
    cells.At(0).strText = L"0042";
    cells.At(21).strText = L"Y";
    ASSERT_TRUE(cells.Store(measure));
    EXPECT_EQ(CString(L"42"), measure.At(0, 8));
    EXPECT_EQ(CString(L"****"), measure.At(9, 8));
    EXPECT_EQ(CString(L"Y"), measure.At(21, 8));
    EXPECT_EQ(CString(L"7"), measure.At(0, 7));   // other leads untouched
}

TEST(MeasureTableCells, ReadOnlyTableEditsNothing)
{
    CMeasureTableCells cells;
    cells.Load(NumberedMeasure(), 6, 0);
    cells.MakeReadOnly();
    for (int cell = 0; cell < CMeasureTableCells::kCellCount; ++cell) EXPECT_FALSE(cells.At(cell).bEditable);
}

// A cell the person left as loaded stores nothing: the record keeps its own
// text in whatever form it stored it (no number, a fraction, a sign or a
// leading zero, past the range, an empty or lower-case answer), and such a
// text is no input to refuse. A typed cell is checked and stored in the
// table's form, and one typed back to what it showed is no edit.
TEST(MeasureTableCells, CellsLeftAsLoadedKeepTheirStoredTextsAndOnlyTypedOnesAreCheckedAndFormed)
{
    const int kLead = 1;
    _MEASURE_INFO measure = NumberedMeasure();
    const struct {
        int item;
        const wchar_t* text;
    } kStored[] = {{4, L"abc"}, {6, L"12.5"}, {8, L"+015"}, {15, L"12000"}, {1, L"5"}, {21, L""}, {22, L"y"}};
    for (const auto& stored : kStored) measure.At(stored.item, kLead) = stored.text;
    measure.strGlobal[5] = L"+54";
    CMeasureTableCells cells;
    cells.Load(measure, kLead, 0);
    cells.At(0).strText = L"0042";
    cells.At(14).strText = L"205";   // typed, then typed back to what it showed
    cells.At(14).strText = cells.At(14).strShown;
    EXPECT_EQ(-1, cells.FindOutOfRange());
    _MEASURE_INFO stored = measure;
    ASSERT_TRUE(cells.Store(stored));
    EXPECT_EQ(CString(L"42"), stored.At(0, kLead));
    stored.At(0, kLead) = measure.At(0, kLead);
    EXPECT_TRUE(SameMeasure(measure, stored));

    cells.At(15).strText = L"12001";   // typed past the range
    EXPECT_EQ(15, cells.FindOutOfRange());
}
