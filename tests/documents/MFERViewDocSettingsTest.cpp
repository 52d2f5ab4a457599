// Display settings of MFER records: page styles, the one-lead strip, pages,
// speeds and sensitivities, written to the record XML and read back.
#include "core/ECGXMLParser.h"
#include "core/ReferenceIds.h"
#include "tests/documents/MFERViewDocFixture.h"

using morvelance::MferKind;
using mfertest::MferDocTest;
using testsupport::Wide;

namespace {

CString Setting(const _MFERDATAITEM* item, const wchar_t* element, const CString& attrib = CString())
{
    return testsupport::ReadXmlValue(testsupport::Utf8(item->strXMLPath), CString(REFERENCE_SETTING_PATH L"/") + element,
                                     attrib, L"(none)");
}

void PutSetting(const _MFERDATAITEM* item, const wchar_t* element, const wchar_t* value,
                const CString& attrib = CString())
{
    testsupport::WriteXmlValue(testsupport::Utf8(item->strXMLPath), CString(REFERENCE_SETTING_PATH L"/") + element,
                               value, attrib);
}

}  // namespace

TEST_F(MferDocTest, PageStylesKeepToTheirFamily)
{
    _MFERDATAITEM* strip = OpenKind(MferKind::Plain, 1, 0x8001, 1);
    ASSERT_NE(nullptr, strip);
    PutSetting(strip, L"Page_style", L"40");   // a 3-lead style
    m_doc->UpDateReferenceInfo(CString());
    EXPECT_EQ(35, m_doc->GetPageStyle());
    m_doc->SetPageStyle(50);
    EXPECT_EQ(50, m_doc->GetPageStyle());
    m_doc->SetReferenceIntoXML(REFERENCE_PAGE_STYLE, 0);
    EXPECT_EQ(CString(L"50"), Setting(strip, L"Page_style"));

    _MFERDATAITEM* three = OpenKind(MferKind::Plain, 3, 0x8003, 3);
    ASSERT_NE(nullptr, three);
    PutSetting(three, L"Page_style", L"40");
    m_doc->UpDateReferenceInfo(CString());
    EXPECT_EQ(40, m_doc->GetPageStyle());

    // A named extra record picks its family by its lead layout.
    _MFERDATAITEM* extra = OpenKind(MferKind::Extra4, 4, 0x7004, 4);
    ASSERT_NE(nullptr, extra);
    PutSetting(extra, L"Page_style", L"71");
    m_doc->UpDateReferenceInfo(CString());
    EXPECT_EQ(71, m_doc->GetPageStyle());
    PutSetting(extra, L"Page_style", L"56");
    m_doc->UpDateReferenceInfo(CString());
    EXPECT_EQ(54, m_doc->GetPageStyle());   // the item's own style

    // The 1-lead record kept its style while the others changed theirs.
    m_doc->SetCurDataIndex(strip->nID);
    EXPECT_EQ(50, m_doc->GetPageStyle());
}

TEST_F(MferDocTest, OneLeadStripOfFifteenLeadsReadsBack)
{
    _MFERDATAITEM* fifteen = OpenKind(MferKind::Plain, 15, 0x800F, 15);
    ASSERT_NE(nullptr, fifteen);
    EXPECT_EQ(0, m_doc->SetRhythm1LeadID(15));
    EXPECT_EQ(1, m_doc->SetRhythm1LeadID(13));
    m_doc->SetReferenceIntoXML(REFERENCE_RHYTHM_1LEAD, 0);
    EXPECT_EQ(CString(L"13"), Setting(fifteen, L"Rhythm_1lead"));
    m_doc->SetRhythm1LeadID(4);
    m_doc->UpDateReferenceInfo(CString());
    EXPECT_EQ(13, m_doc->GetRhythm1LeadID());
    // Reading the extension lead back kept the 12-lead choice.
    _MFERDATAITEM* twelve = OpenKind(MferKind::Plain, 12, 0x800C, 12);
    ASSERT_NE(nullptr, twelve);
    EXPECT_EQ(4, m_doc->GetRhythm1LeadID());
    m_doc->SetCurDataIndex(fifteen->nID);
    PutSetting(fifteen, L"Rhythm_1lead", L"99");
    m_doc->UpDateReferenceInfo(CString());
    EXPECT_EQ(0, m_doc->GetRhythm1LeadID());
}

// Views and host commands that hold the document as a CTavrionDoc read the
// strip lead there: it follows the record XML and every choice at once.
TEST_F(MferDocTest, TheStripLeadReadThroughTheBaseDocumentIsTheOneChosen)
{
    _MFERDATAITEM* fifteen = OpenKind(MferKind::Plain, 15, 0x800F, 15);
    ASSERT_NE(nullptr, fifteen);
    CTavrionDoc& base = *m_doc;
    PutSetting(fifteen, L"Rhythm_1lead", L"13");
    m_doc->UpDateReferenceInfo(CString());
    EXPECT_EQ(13, base.GetRhythm1LeadID());
    ASSERT_EQ(1, m_doc->SetRhythm1LeadID(5));
    EXPECT_EQ(5, base.GetRhythm1LeadID());
    ASSERT_EQ(1, m_doc->SetRhythm1LeadID(14));
    EXPECT_EQ(14, base.GetRhythm1LeadID());
    _MFERDATAITEM* three = OpenKind(MferKind::Plain, 3, 0x8003, 3);
    ASSERT_NE(nullptr, three);
    PutSetting(three, L"Rhythm_1lead", L"2");
    m_doc->UpDateReferenceInfo(CString());
    EXPECT_EQ(2, base.GetRhythm1LeadID());
}

TEST_F(MferDocTest, PagesOfAStripFollowTheRateAndSurviveASpeedOfZero)
{
    EXPECT_EQ(0, m_doc->GetRhythmWaveTotalPage(250, 7));   // no record
    // 20 s at 500 Hz: 10,000 samples; at 25 mm/s a row of 250 mm holds 5,000.
    _MFERDATAITEM* item = AddItem(WriteMfer("p500.mwf", MferKind::Plain, 3, 20.0, 500.0), std::string(), 3);
    ASSERT_EQ(0, Open(item));
    EXPECT_EQ(0, m_doc->GetRhythmWaveTotalPage(250, 7));   // exactly one page: 0
    EXPECT_EQ(0, m_doc->GetRhythmWaveTotalPage(250, 6));
    EXPECT_EQ(3, m_doc->GetRhythmWaveTotalPage(25, 6));    // 1,500 per page: 6 pages and a bit... of 6.67
    EXPECT_EQ(0, m_doc->GetRhythmWaveTotalPage(250, 1));   // a style without rows

    // The same length at 100 Hz gives the same pages.
    _MFERDATAITEM* slow = AddItem(WriteMfer("p100.mwf", MferKind::Plain, 3, 20.0, 100.0), std::string(), 3);
    ASSERT_EQ(0, Open(slow));
    EXPECT_EQ(3, m_doc->GetRhythmWaveTotalPage(25, 6));

    m_doc->SetSpeed(0.0f);   // the extra-lead speed only
    EXPECT_EQ(3, m_doc->GetRhythmWaveTotalPage(25, 6));
    m_doc->GetDefaultReference().RefFloat(103) = 0.0f;   // a stored standard speed of 0
    EXPECT_EQ(0, m_doc->GetRhythmWaveTotalPage(25, 6));
}

TEST_F(MferDocTest, ChoosingASensitivityLeavesTheAutomaticModeAndIsWritten)
{
    _MFERDATAITEM* item = OpenKind(MferKind::Plain, 12, 0x800C, 12);
    ASSERT_NE(nullptr, item);
    // The stored mode 3 (automatic) gives way to 1 and every sensitivity is written.
    m_doc->SetSenseMode(3);
    m_doc->SetSense(0, 20.0f, 1);
    EXPECT_EQ(1u, m_doc->GetSenseMode());
    EXPECT_FLOAT_EQ(20.0f, m_doc->GetSense(0, 0));
    EXPECT_EQ(CString(L"1"), Setting(item, L"Sensitivity", L"mode"));
    // The rewrite keeps what the automatic mode showed; the host then writes the new value.
    EXPECT_EQ(CString(L"10.00"), Setting(item, L"Sensitivity/Chest"));
    EXPECT_EQ(CString(L"10.00"), Setting(item, L"Sensitivity/Limb"));
    m_doc->SetReferenceIntoXML(REFERENCE_SENSITIVITY, 0);
    EXPECT_EQ(CString(L"20.00"), Setting(item, L"Sensitivity/Chest"));
    // An extra sensitivity has no element on a 12-lead record.
    m_doc->SetReferenceIntoXML(REFERENCE_SENSITIVITY, 4);
    EXPECT_EQ(CString(L"(none)"), Setting(item, L"Sensitivity/Extra1"));

    // Read back: steps are kept, anything else becomes 10.
    PutSetting(item, L"Sensitivity/Chest", L"5.00");
    PutSetting(item, L"Sensitivity/Limb", L"7.00");
    m_doc->UpDateReferenceInfo(CString());
    EXPECT_FLOAT_EQ(5.0f, m_doc->GetSense(0, 0));
    EXPECT_FLOAT_EQ(10.0f, m_doc->GetSense(1, 0));

    // Mode 3 takes the acquisition sensitivity for every drawn kind.
    m_doc->SetSenseMode(3);
    item->fAcqSense = 5.0f;
    EXPECT_FLOAT_EQ(5.0f, m_doc->GetSense(1, 0));
    EXPECT_FLOAT_EQ(5.0f, m_doc->GetSense(6, 1));
    EXPECT_FLOAT_EQ(5.0f, m_doc->GetSense(9, 0));   // a short record: the rhythm value follows
    EXPECT_FLOAT_EQ(0.0f, m_doc->GetSense(8, 0));
}

TEST_F(MferDocTest, RhythmSensitivityOfALongRecordLeavesTheMode)
{
    // 120 s at 500 Hz: 120,000 bytes a lead, above what the mode follows.
    _MFERDATAITEM* item = AddItem(WriteMfer("long.mwf", MferKind::Plain, 1, 120.0), WriteXml("long.xml", 0x8001), 1);
    ASSERT_EQ(0, Open(item));
    EXPECT_EQ(0, m_doc->GetRhythmSenseChangeState());
    m_doc->SetSenseMode(3);
    m_doc->SetSense(2, 5.0f, 1);
    EXPECT_EQ(3u, m_doc->GetSenseMode());
    EXPECT_FLOAT_EQ(5.0f, m_doc->GetSense(2, 0));
    m_doc->SetCurDataIndex(-1);
    EXPECT_EQ(1, m_doc->GetRhythmSenseChangeState());
}

TEST_F(MferDocTest, BaseDrawingSettingsGoToTheMferRecordXml)
{
    _MFERDATAITEM* item = OpenKind(MferKind::Plain, 1, 0x8001, 1);
    ASSERT_NE(nullptr, item);
    m_doc->SetWaveColor(5, RGB(1, 2, 3));
    m_doc->SetReferenceIntoXML(REFERENCE_COLOR, 5);
    m_doc->SetWaveColor(5, RGB(9, 9, 9));
    m_doc->UpDateReferenceInfo(CString());
    EXPECT_EQ(RGB(1, 2, 3), m_doc->GetWaveColor(5));
}

TEST_F(MferDocTest, SettingsWithoutARecordXmlWriteNothing)
{
    _MFERDATAITEM* item = AddItem(WriteMfer("n.mwf", MferKind::Plain, 12, 0.5), std::string(), 12);
    ASSERT_EQ(0, Open(item));
    m_doc->SetReferenceIntoXML(REFERENCE_PAGE_STYLE, 0);
    m_doc->UpDateReferenceInfo(CString());

    _MFERDATAITEM* other = OpenKind(MferKind::Plain, 12, 0x800C, 12);
    ASSERT_NE(nullptr, other);
    const std::string before = testsupport::ReadFileBytes(testsupport::Utf8(other->strXMLPath));
    m_doc->SetReferenceIntoXML(REFERENCE_SMOOTH_FILTER_MODE, 0);   // the base's number
    m_doc->SetReferenceIntoXML(21, 0);
    EXPECT_EQ(before, testsupport::ReadFileBytes(testsupport::Utf8(other->strXMLPath)));
}

TEST_F(MferDocTest, DisplaySettingsRoundTripThroughANewDocument)
{
    _MFERDATAITEM* item = OpenKind(MferKind::Plain, 12, 0x800C, 12);
    ASSERT_NE(nullptr, item);
    m_doc->SetPageStyle(17);
    m_doc->SetFilter(35);
    m_doc->SetSpeed(10.0f);
    m_doc->SetSense(1, 2.5f, 0);
    m_doc->SetSenseMode(2);
    m_doc->SetChestHalf(0);
    m_doc->SetRhythm1LeadID(7);
    m_doc->SetShowComment(1);
    for (int id : {7, 8, 9, 10, 12, 13, 15, 18, 19, 20}) m_doc->SetReferenceIntoXML(id, 0);
    m_doc->SetReferenceIntoXML(REFERENCE_SENSITIVITY, 1);

    const CString mfer = item->strFilePath, xml = item->strXMLPath;
    m_doc.reset(new CMFERViewDoc);
    _MFERDATAITEM* again = AddItem(testsupport::Utf8(mfer), testsupport::Utf8(xml), 12);
    ASSERT_EQ(0, Open(again));
    m_doc->UpDateReferenceInfo(CString());
    EXPECT_EQ(17, m_doc->GetPageStyle());
    EXPECT_EQ(35, m_doc->GetFilter());
    EXPECT_FLOAT_EQ(10.0f, m_doc->GetSpeed());
    EXPECT_FLOAT_EQ(2.5f, m_doc->GetSense(1, 0));
    EXPECT_EQ(2u, m_doc->GetSenseMode());
    EXPECT_EQ(0, m_doc->IsChestHalf());
    EXPECT_EQ(7, m_doc->GetRhythm1LeadID());
    EXPECT_EQ(CString(L"1"), Setting(again, L"Show_comment"));
}
