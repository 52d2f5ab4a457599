// The rhythm document's page style as stored in the record XML: which values
// each lead count takes, and that every lead count keeps its own style.
#include <gtest/gtest.h>

#include "core/ReferenceIds.h"
#include "tests/documents/RhythmViewDocTestSupport.h"

using namespace morvelance;
using namespace rhythmtest;

namespace {

const CString kPageStyle = CString(REFERENCE_SETTING_PATH) + L"/Page_style";

RhythmRecordShape Shape(int leads)
{
    RhythmRecordShape shape;
    shape.leads = leads;
    shape.seconds = 4.0;
    shape.systemCode = 10;
    return shape;
}

using RhythmPageStyle = RhythmDocTest;

// The style a record opens with, by what its file holds, for items of one
// lead, three leads and twelve (which stand for every other count).
// clang-format off
static const struct {
    const wchar_t* stored;
    int oneLead, threeLeads, otherLeads;
} kOpensWith[] = {
    //  stored   1    3   12
    {L"",        20,  23, 1},    // empty: no number
    {L"x21",     20,  23, 1},
    {L"-1",      20,  23, 1},
    {L"0",       20,  23, 1},
    {L"1",       20,  23, 1},
    {L"2",       20,  23, 2},
    {L"19",      20,  23, 19},
    {L"20",      20,  23, 20},
    {L"21",      21,  23, 21},
    {L"22",      22,  23, 22},
    {L"23",      20,  23, 23},
    {L"24",      20,  24, 24},
    {L"25",      20,  25, 25},
    {L"26",      26,  26, 26},
    {L"27",      27,  27, 27},
    {L"28",      28,  28, 28},
    {L"29",      20,  23, 29},
    {L"30",      20,  23, 30},
    {L"31",      20,  23, 1},
    {L"4294967317", 20, 23, 1},  // 2^32 + 21: not 21 by its low bits
};
// clang-format on

}  // namespace

TEST_F(RhythmPageStyle, EachLeadCountOpensWithItsOwnAcceptedStyles)
{
    for (int leads : {1, 3, 12}) {
        SCOPED_TRACE(leads);
        const RhythmFiles files = WriteRhythm(m_dir, "leads" + std::to_string(leads), Shape(leads));
        CRhythmViewDoc doc;
        ASSERT_EQ(Open(doc, files, leads), 0);
        for (const auto& row : kOpensWith) {
            SCOPED_TRACE(testing::PrintToString(std::wstring(row.stored)));
            WriteXmlValue(files.xml, kPageStyle, row.stored);
            doc.UpDateReferenceInfo(CString());
            const int expected = leads == 1 ? row.oneLead : leads == 3 ? row.threeLeads : row.otherLeads;
            EXPECT_EQ(expected, doc.GetPageStyle());
        }
    }
}

// One document listing a 1-lead, a 3-lead and a 12-lead record: the style read
// or set for one of them is not the style of the others.
TEST_F(RhythmPageStyle, EveryLeadCountKeepsItsOwnStyle)
{
    const RhythmFiles one = WriteRhythm(m_dir, "one", Shape(1));
    const RhythmFiles three = WriteRhythm(m_dir, "three", Shape(3));
    const RhythmFiles twelve = WriteRhythm(m_dir, "twelve", Shape(12));
    WriteXmlValue(one.xml, kPageStyle, L"27");
    WriteXmlValue(three.xml, kPageStyle, L"25");
    WriteXmlValue(twelve.xml, kPageStyle, L"4");
    CRhythmViewDoc& doc = *m_doc;
    AddItem(doc, one, 1);
    AddItem(doc, three, 3);
    AddItem(doc, twelve, 12);
    for (int index = 0; index < 3; ++index) {
        doc.SetCurDataIndex(index);
        doc.UpDateReferenceInfo(CString());
    }
    const int opened[3] = {27, 25, 4};
    for (int index : {2, 0, 1, 0, 2}) {
        doc.SetCurDataIndex(index);
        EXPECT_EQ(opened[index], doc.GetPageStyle()) << "item " << index;
    }

    // A style chosen on the 3-lead record changes that record's only, and is
    // the one its settings write.
    doc.SetCurDataIndex(1);
    doc.SetPageStyle(28);
    doc.SetReferenceIntoXML(REFERENCE_PAGE_STYLE, 0);
    EXPECT_EQ(CString(L"28"), testsupport::ReadXmlValue(three.xml, kPageStyle));
    // Written straight after a change of record: the style of the record now current.
    doc.SetCurDataIndex(2);
    doc.SetReferenceIntoXML(REFERENCE_PAGE_STYLE, 0);
    EXPECT_EQ(CString(L"4"), testsupport::ReadXmlValue(twelve.xml, kPageStyle));
    doc.SetCurDataIndex(0);
    EXPECT_EQ(27, doc.GetPageStyle());
    doc.SetCurDataIndex(1);
    EXPECT_EQ(28, doc.GetPageStyle());
}

// Two, twelve and fifteen leads share one style: all are "other" counts.
TEST_F(RhythmPageStyle, EveryOtherLeadCountSharesOneStyle)
{
    const RhythmFiles twelve = WriteRhythm(m_dir, "twelve", Shape(12));
    const RhythmFiles fifteen = WriteRhythm(m_dir, "fifteen", Shape(15));
    const RhythmFiles two = WriteRhythm(m_dir, "two", Shape(2));
    const RhythmFiles one = WriteRhythm(m_dir, "one", Shape(1));
    WriteXmlValue(twelve.xml, kPageStyle, L"6");
    WriteXmlValue(one.xml, kPageStyle, L"21");
    CRhythmViewDoc& doc = *m_doc;
    AddItem(doc, twelve, 12);
    AddItem(doc, fifteen, 15);
    AddItem(doc, two, 2);
    AddItem(doc, one, 1);
    doc.SetCurDataIndex(3);
    doc.UpDateReferenceInfo(CString());
    doc.SetCurDataIndex(0);
    doc.UpDateReferenceInfo(CString());
    doc.SetCurDataIndex(1);
    EXPECT_EQ(6, doc.GetPageStyle());
    doc.SetPageStyle(9);
    doc.SetCurDataIndex(0);
    EXPECT_EQ(9, doc.GetPageStyle());
    doc.SetCurDataIndex(2);
    EXPECT_EQ(9, doc.GetPageStyle());
    doc.SetCurDataIndex(3);
    EXPECT_EQ(21, doc.GetPageStyle());
}
