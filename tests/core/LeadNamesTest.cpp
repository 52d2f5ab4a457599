// Lead counts, names and the lead masks of the multi-lead styles.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <map>
#include <string>
#include <vector>

#include "core/ECGData.h"
#include "core/ECGXMLParser.h"
#include "core/TavrionDoc.h"
#include "tests/support/TestSupport.h"

using testsupport::TempDir;
using testsupport::Wide;

namespace {

class LeadDoc : public CTavrionDoc {
public:
    int m_nType = -1;
    int m_nItemLeads = 255;
    int GetDocType() const override { return m_nType; }
    int GetCurItemLeadCount() override { return m_nItemLeads; }
    using CTavrionDoc::GetCurrentLeadCount;
    using CTavrionDoc::GetExtraFileLeadCount;
    using CTavrionDoc::GetLeadCountBySystemCode;
    using CTavrionDoc::GetLTFileLeadCount;
    using CTavrionDoc::GetRRFileLeadCount;
};

// A stand-in reader: items by tag, and the longest read it was asked for.
std::map<UINT, std::vector<BYTE>> g_items;
long g_longestRead = 0;

long FakeGetData(_ECGDATA*, UINT tag, UINT_PTR, void* buffer, long length)
{
    auto it = g_items.find(tag);
    if (it == g_items.end())
        return 0;
    const long size = static_cast<long>(it->second.size());
    if (!buffer)
        return size;
    g_longestRead = length > g_longestRead ? length : g_longestRead;
    std::memcpy(buffer, it->second.data(), static_cast<size_t>(length < size ? length : size));
    return length;
}

class FakeImage {
public:
    FakeImage() : m_bytes(sizeof(_ECGDATA) + 16, 0)
    {
        g_items.clear();
        g_longestRead = 0;
        EF_GETDATA fn = &FakeGetData;
        std::memcpy(m_bytes.data() + offsetof(_ECGDATA, pfnGetData), &fn, sizeof fn);
    }
    _ECGDATA* Get() { return reinterpret_cast<_ECGDATA*>(m_bytes.data()); }
    static void Item(UINT tag, int32_t first, size_t size = 4)
    {
        std::vector<BYTE> bytes(size < 4 ? 4 : size, 0x7F);
        std::memcpy(bytes.data(), &first, 4);
        bytes.resize(size);
        g_items[tag] = bytes;
    }

private:
    std::vector<BYTE> m_bytes;
};

CECGXMLParser* OpenXml(TempDir& dir, const std::string& wave)
{
    const std::string path = dir.Write("leads.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Rawdata><Tavrion>"
                                                    "<Wave>" + wave + "</Wave><Record><Extended_section>"
                                                    "<Acq_filter>40</Acq_filter><Acq_sense>5.5</Acq_sense>"
                                                    "</Extended_section></Record></Tavrion></Rawdata>");
    return new CECGXMLParser(Wide(path), 0, CString());
}

}  // namespace

TEST(LeadCounts, CurrentCountAsksOnlyADocumentOfTheRecordsKind)
{
    LeadDoc doc;
    doc.m_nItemLeads = 3;
    // A rest document asked about a rhythm record has no rhythm item.
    doc.m_nType = DOC_TYPE_REST;
    EXPECT_EQ(0, doc.GetCurrentLeadCount(0x000A));
    doc.m_nType = DOC_TYPE_RHYTHM;
    EXPECT_EQ(3, doc.GetCurrentLeadCount(0x000A));
    EXPECT_EQ(0, doc.GetCurrentLeadCount(0x0005));
    doc.m_nType = DOC_TYPE_RR;
    EXPECT_EQ(3, doc.GetCurrentLeadCount(0x0005));
    doc.m_nType = DOC_TYPE_EXTRA;
    doc.m_nItemLeads = 255;
    EXPECT_EQ(255, doc.GetCurrentLeadCount(0x001C));
    EXPECT_EQ(12, doc.GetCurrentLeadCount(0x800C));
}

TEST(LeadCounts, DeviceItemsLargerThanTheBuffersAreReadOnlyAsFarAsTheBuffer)
{
    FakeImage image;
    FakeImage::Item(4000, 12, 4096);
    EXPECT_EQ(12, LeadDoc::GetLTFileLeadCount(image.Get(), 4000));
    EXPECT_LE(g_longestRead, 100);
    FakeImage::Item(3815, 3, 500);
    EXPECT_EQ(3, LeadDoc::GetRRFileLeadCount(image.Get()));
    EXPECT_LE(g_longestRead, 100);
    g_longestRead = 0;
    FakeImage::Item(4093, 2, 64);
    FakeImage::Item(4095, 1, 64);
    EXPECT_EQ(4, LeadDoc::GetExtraFileLeadCount(image.Get(), 0x001A));
    EXPECT_LE(g_longestRead, 10);
}

TEST(LeadCounts, MissingItemsGiveNoLeadsButAnExtraRecordThree)
{
    FakeImage image;
    EXPECT_EQ(0, LeadDoc::GetLTFileLeadCount(nullptr, 4000));
    EXPECT_EQ(0, LeadDoc::GetLTFileLeadCount(image.Get(), 4000));
    EXPECT_EQ(0, LeadDoc::GetRRFileLeadCount(image.Get()));
    EXPECT_EQ(0, LeadDoc::GetExtraFileLeadCount(nullptr, 0x1A));
    EXPECT_EQ(3, LeadDoc::GetExtraFileLeadCount(image.Get(), 0x1A));
    EXPECT_EQ(0, LeadDoc::GetExtraFileLeadCount(image.Get(), 0x1C));
    FakeImage::Item(4094, 259);
    EXPECT_EQ(4, LeadDoc::GetExtraFileLeadCount(image.Get(), 0x1A));
    FakeImage::Item(4093, 5);
    EXPECT_EQ(5, LeadDoc::GetExtraFileLeadCount(image.Get(), 0x1C));
}

TEST(LeadNames, NamesComeFromTheCodeTablesOrTheRecordsOwnTexts)
{
    TempDir dir;
    std::unique_ptr<CECGXMLParser> xml(OpenXml(dir, "<Wave_add_section><Lead_name><Lead_name_element>A1"
                                                    "</Lead_name_element><Lead_name_element>B2</Lead_name_element>"
                                                    "</Lead_name></Wave_add_section>"));
    CTavrionDoc doc;
    EXPECT_TRUE(doc.GetLeadNameString(12).IsEmpty());
    EXPECT_EQ(CString(L"aVR"), doc.GetLeadNameString(3));
    EXPECT_EQ(CString(L"EXT6"), doc.FromIDtoName(124, 0x1C, xml.get(), 5));
    EXPECT_TRUE(doc.FromIDtoName(124, 0x1A, xml.get(), 5).IsEmpty());
    EXPECT_EQ(CString(L"B2"), doc.FromIDtoName(0, 0x0A, xml.get(), 1));
    EXPECT_TRUE(doc.FromIDtoName(0, 0x0A, xml.get(), 2).IsEmpty());
    EXPECT_TRUE(doc.FromIDtoName(0, 0x05, xml.get(), 0).IsEmpty());
    EXPECT_TRUE(doc.FromIDtoName(1, 0, nullptr, 0).IsEmpty());
    EXPECT_FALSE(doc.FromIDtoName(1, 0, xml.get(), 0).IsEmpty());
    EXPECT_EQ(100, doc.GetAcquisitionFilter(xml.get(), 0));
    EXPECT_FLOAT_EQ(5.5f, doc.GetAcquisitionSense(xml.get(), 0));
    EXPECT_FLOAT_EQ(10.0f, doc.GetAcquisitionSense(xml.get(), 1));
}

TEST(LeadNames, EditedNamesOfARhythmRecordRoundTrip)
{
    TempDir dir;
    std::unique_ptr<CECGXMLParser> xml(OpenXml(dir, ""));
    CTavrionDoc doc;
    _LEAD_NAME_INFO info;
    info.bChanged = 1;
    info.nCount = 3;
    info.nLeadCount = 3;
    info.nFlag[1] = 1;
    info.strEditName[1] = L"CM5";
    info.nCode[0] = 1;
    doc.SaveWaveInfoToXML(0x000A, info, xml.get());

    _LEAD_NAME_INFO back;
    back.bChanged = 1;
    back.nCount = 3;
    back.nLeadCount = 3;
    back.nFlag[1] = 1;
    doc.GetLeadNameFromXML(0x000A, back, xml.get());
    EXPECT_EQ(CString(L"CM5"), back.strDispName[1]);
    EXPECT_EQ(CString(L"CM5"), back.strEditName[1]);
    EXPECT_TRUE(back.strEditName[0].IsEmpty());
    CString code;
    xml->GetDataFromXMLDOM(code, L"/Rawdata/Tavrion/Wave/Rhythm_section/Wave_info/Wave_data[@number='1']/Lead_code",
                           4, CString());
    EXPECT_EQ(CString(L"1"), code);
}

// The names must come back from the file, not only from the parser that
// wrote them: what is written has to be what the reader looks for.
TEST(LeadNames, EditedNamesSurviveTheFile)
{
    TempDir dir;
    const std::string path = dir.Write("names.xml", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Rawdata><Tavrion>"
                                                     "<Wave/></Tavrion></Rawdata>");
    CTavrionDoc doc;
    _LEAD_NAME_INFO info;
    info.bChanged = 1;
    info.nCount = 3;
    info.nFlag[0] = 1;
    info.nFlag[2] = 1;
    info.nCode[0] = 62;
    info.nCode[2] = 3;
    info.strEditName[0] = L"胸部A";
    info.strEditName[2] = L"V1'";
    {
        CECGXMLParser xml(Wide(path), 0, CString());
        doc.SaveWaveInfoToXML(0x001A, info, &xml);
        xml.SaveToXMLFile();
    }
    CECGXMLParser reopened(Wide(path), 0, CString());
    _LEAD_NAME_INFO back;
    back.bChanged = 1;
    back.nCount = 3;
    back.nFlag[0] = 1;
    back.nFlag[2] = 1;
    back.nCode[0] = 0;
    back.nCode[2] = 0;
    doc.GetLeadNameFromXML(0x001A, back, &reopened);
    EXPECT_EQ(CString(L"胸部A"), back.strEditName[0]);
    EXPECT_TRUE(back.strEditName[1].IsEmpty());
    EXPECT_EQ(CString(L"V1'"), back.strEditName[2]);
    CString code;
    ASSERT_TRUE(reopened.GetDataFromXMLDOM(
        code, L"/Rawdata/Tavrion/Wave/Rhythm_section/Wave_info/Wave_data[@number='1']/Lead_code", 4, CString()));
    EXPECT_EQ(CString(L"62"), code);
}

TEST(LeadNames, OversizedCountsAreCutToTheFifteenCodes)
{
    TempDir dir;
    std::unique_ptr<CECGXMLParser> xml(OpenXml(dir, ""));
    CTavrionDoc doc;
    _LEAD_NAME_INFO info;
    info.bChanged = 1;
    info.nCount = 1000;
    // Every code is one the record lacks: a code of 0 would read as the
    // missing element does and be left out.
    for (int i = 0; i < LEAD_NAME_CODES; ++i) info.nCode[i] = i + 1;
    info.nCode[LEAD_NAME_CODES - 1] = 7;
    info.nFlag[0] = 1;
    doc.GetLeadNameFromXML(0x001A, info, xml.get());
    doc.SaveWaveInfoToXML(0x001A, info, xml.get());
    const CString codePath = L"/Rawdata/Tavrion/Wave/Rhythm_section/Wave_info/Wave_data[@number='%d']/Lead_code";
    CString path, code;
    path.Format(codePath, LEAD_NAME_CODES);
    EXPECT_TRUE(xml->GetDataFromXMLDOM(code, path, 4, CString()));
    EXPECT_EQ(CString(L"7"), code);
    EXPECT_EQ(LEAD_NAME_CODES, xml->GetObjectCount(L"/Rawdata/Tavrion/Wave/Rhythm_section/Wave_info/Wave_data"));

    // A negative count describes no lead: nothing counts as edited.
    info.nCount = -4;
    info.strEditName[0] = L"stale";
    doc.GetLeadNameFromXML(0x001A, info, xml.get());
    for (const CString& name : info.strEditName)
        EXPECT_TRUE(name.IsEmpty());
}

TEST(LeadSelection, EachStyleTakesOnlyItsOwnNumberOfLeads)
{
    LeadDoc doc;
    EXPECT_EQ(0, doc.SetLeadSelection(0x0003, 0x800C, 16));
    EXPECT_EQ(1, doc.SetLeadSelection(static_cast<short>((1 << 0) | (1 << 3) | (1 << 7)), 0x800C, 17));
    const int* sel = doc.GetLeadSelectionArray();
    EXPECT_EQ(0, sel[1]);
    EXPECT_EQ(3, sel[2]);
    EXPECT_EQ(7, sel[3]);
    EXPECT_EQ((1 << 0) | (1 << 3) | (1 << 7), doc.GetLeadSelection(0x800C, 17));
    EXPECT_EQ(0, doc.SetLeadSelection(static_cast<short>(0x8001), 0x800C, 17));
    EXPECT_EQ(0, doc.SetLeadSelection(static_cast<short>(1 << 13), 0x800C, 11));
    EXPECT_EQ(1, doc.SetLeadSelection(1 << 4, 0x800C, 16));
    EXPECT_EQ(1 << 4, doc.GetLeadSelection(0x800C, 16));
}

TEST(LeadSelection, EmptyFifteenSlotsFillWithTheTwelveLeads)
{
    LeadDoc doc;
    int* sel = doc.GetLeadSelectionArray();
    for (int i = 13; i < 28; ++i)
        sel[i] = -1;
    EXPECT_EQ(0x0FFF, doc.GetLeadSelection(0x0000, 11));
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(i, sel[13 + i]);
    EXPECT_EQ(0, doc.GetLeadSelection(0x0000, 12));
    EXPECT_EQ(0x0FC0, doc.GetLeadSelection(0x0000, 3));
    EXPECT_EQ(0x0FC0, doc.GetLeadSelection(0x000B, 29));
}

TEST(LeadSelection, NineLeadStylesRefuseTheFirstSixLeads)
{
    LeadDoc doc;
    EXPECT_EQ(0, doc.SetLeadSelection(0x0041, 0x000B, 5));
    EXPECT_EQ(1, doc.SetLeadSelection(static_cast<short>((1 << 6) | (1 << 14)), 0x000B, 5));
    EXPECT_EQ((1 << 6) | (1 << 14), doc.GetLeadSelection(0x000B, 5));
}

// A choice stored for a fifteen-lead record may be asked for by a record
// with fewer leads: the strip then shows what it can, never a lead the
// record lacks. Style 0 stands for the document's own style.
TEST(LeadSelection, AChoiceTheRecordCannotShowFallsBackToItsFirstLeads)
{
    LeadDoc doc;
    doc.SetRhythmWaveStyle(17);
    const short threeOfFifteen = static_cast<short>((1 << 2) | (1 << 9) | (1 << 13));
    ASSERT_EQ(1, doc.SetLeadSelection(threeOfFifteen, 0x800F, 0));
    EXPECT_EQ(threeOfFifteen, doc.GetLeadSelection(0x800F, 17));
    EXPECT_EQ(7, doc.GetLeadSelection(0x800C, 17)) << "lead 13 is past a twelve-lead record";
    EXPECT_EQ(7, doc.GetLeadSelection(0x8003, 17)) << "a three-lead record shows its three";

    ASSERT_EQ(1, doc.SetLeadSelection(1 << 14, 0x800F, 16));
    EXPECT_EQ(1 << 14, doc.GetLeadSelection(0x800F, 16));
    EXPECT_EQ(1, doc.GetLeadSelection(0x800C, 16)) << "lead 14 is past a twelve-lead record";
    EXPECT_EQ(1, doc.GetLeadSelection(0x8001, 16)) << "a one-lead record has only its lead";
}

// The one-lead and three-lead choices are kept in the display settings too,
// in the copy of the record's kind: the device records (MFER codes) have
// one, the rhythm records the other; a refused choice changes neither.
TEST(LeadSelection, TheOneAndThreeLeadChoicesAreKeptInTheDisplaySettingsOfTheirKind)
{
    LeadDoc doc;
    doc.m_nType = DOC_TYPE_RHYTHM;
    doc.m_nItemLeads = 15;
    _DEFAULT_REF& ref = doc.GetDefaultReference();
    auto copy = [&](int first) {
        return std::vector<int>{ref.RefInt(first), ref.RefInt(first + 1), ref.RefInt(first + 2)};
    };
    // The defaults: lead 0 alone, leads 0, 1 and 2.
    EXPECT_EQ(0, ref.RefInt(REF_RHYTHM_SINGLE_LEAD));
    EXPECT_EQ(std::vector<int>({0, 1, 2}), copy(REF_RHYTHM_THREE_LEADS));

    // A fifteen-lead rhythm record (low byte 38).
    ASSERT_EQ(1, doc.SetLeadSelection(1 << 13, 0x0026, 16));
    ASSERT_EQ(1, doc.SetLeadSelection(static_cast<short>((1 << 1) | (1 << 4) | (1 << 9)), 0x0026, 17));
    EXPECT_EQ(13, ref.RefInt(REF_RHYTHM_SINGLE_LEAD));
    EXPECT_EQ(std::vector<int>({1, 4, 9}), copy(REF_RHYTHM_THREE_LEADS));
    EXPECT_EQ(0, ref.RefInt(REF_DEVICE_SINGLE_LEAD));
    EXPECT_EQ(std::vector<int>({0, 1, 2}), copy(REF_DEVICE_THREE_LEADS));

    // Fifteen- and twelve-lead device records.
    ASSERT_EQ(1, doc.SetLeadSelection(1 << 14, 0x800F, 16));
    ASSERT_EQ(1, doc.SetLeadSelection(static_cast<short>((1 << 2) | (1 << 9) | (1 << 13)), 0x800F, 17));
    EXPECT_EQ(14, ref.RefInt(REF_DEVICE_SINGLE_LEAD));
    EXPECT_EQ(std::vector<int>({2, 9, 13}), copy(REF_DEVICE_THREE_LEADS));
    ASSERT_EQ(1, doc.SetLeadSelection(1 << 7, 0x800C, 16));
    EXPECT_EQ(7, ref.RefInt(REF_DEVICE_SINGLE_LEAD));
    EXPECT_EQ(13, ref.RefInt(REF_RHYTHM_SINGLE_LEAD));
    EXPECT_EQ(std::vector<int>({1, 4, 9}), copy(REF_RHYTHM_THREE_LEADS));

    // Refused: two leads for one, four for three, a lead past the record.
    EXPECT_EQ(0, doc.SetLeadSelection(0x0003, 0x800C, 16));
    EXPECT_EQ(0, doc.SetLeadSelection(0x000F, 0x0026, 17));
    EXPECT_EQ(0, doc.SetLeadSelection(1 << 13, 0x800C, 16));
    EXPECT_EQ(7, ref.RefInt(REF_DEVICE_SINGLE_LEAD));
    EXPECT_EQ(std::vector<int>({2, 9, 13}), copy(REF_DEVICE_THREE_LEADS));
    EXPECT_EQ(13, ref.RefInt(REF_RHYTHM_SINGLE_LEAD));
    EXPECT_EQ(std::vector<int>({1, 4, 9}), copy(REF_RHYTHM_THREE_LEADS));
}
