// The base document's display settings written into and read back from real
// record XML files.
#include <gtest/gtest.h>

#include <string>

#include "core/DataItem.h"
#include "core/ECGXMLParser.h"
#include "core/ReferenceIds.h"
#include "core/TavrionDoc.h"
#include "tests/support/TestSupport.h"

using testsupport::ReadFileBytes;
using testsupport::TempDir;
using testsupport::Wide;

namespace {

const char kBareRecord[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<Rawdata><Tavrion><Inspection/></Tavrion></Rawdata>\n";

const char kSettingsRecord[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<Rawdata><Tavrion/><Assist_info><Reference><Setting><Draw_setting>"
    "<Smooth_filter_mode>2</Smooth_filter_mode><Smooth_filter_type>3</Smooth_filter_type>"
    "<Del_bit_noise>0</Del_bit_noise><Base_line_width>4</Base_line_width>"
    "<Brightness_density><Density_value mode=\"1\">7</Density_value><Density_value mode=\"2\">64</Density_value>"
    "</Brightness_density>"
    "<Xwidth_value>2.25</Xwidth_value><Ywidth_value>0.75</Ywidth_value><Power_value>5</Power_value>"
    "<Gamma_value>1.80</Gamma_value><Grid_type>2</Grid_type>"
    "<Color_setting><Wave_color>"
    "<Wave r=\"10\" g=\"20\" b=\"30\"/><Grid r=\"300\" g=\"0\" b=\"0\"/><Back_ground r=\"1\" g=\"2\"/>"
    "<Wave_comp1 r=\"9\" g=\"9\" b=\"9\"/>"
    "</Wave_color><Text_color><Frame_text r=\"0\" g=\"128\" b=\"255\"/></Text_color></Color_setting>"
    "</Draw_setting></Setting></Reference></Assist_info></Rawdata>\n";

const CString kDraw = REFERENCE_DRAW_SETTING_PATH;

// A document whose current record's XML is a file in a temporary folder.
class SettingsFixture : public ::testing::Test {
protected:
    void UseRecord(const char* bytes)
    {
        m_path = m_dir.Write("record.xml", bytes);
        auto* item = new _DATAITEM;
        item->strXMLPath = Wide(m_path);
        m_doc.GetDataManager().AppendItem(item);
        m_doc.SetCurDataIndex(item->nID);
    }

    CString Text(const CString& xpath) const
    {
        CECGXMLParser xml(Wide(m_path), 0, CString());
        CString value;
        if (!xml.GetDataFromXMLDOM(value, xpath, 4, CString())) return L"<none>";
        return value;
    }

    // The colour at an element below Color_setting as "r,g,b", "<none>" when incomplete.
    CString Color(LPCWSTR element) const
    {
        CECGXMLParser xml(Wide(m_path), 0, CString());
        COLORREF color = 0;
        if (!xml.GetColorAttrib(color, CString(REFERENCE_COLOR_SETTING_PATH L"/") + element)) return L"<none>";
        CString text;
        text.Format(L"%d,%d,%d", GetRValue(color), GetGValue(color), GetBValue(color));
        return text;
    }

    int Count(const CString& xpath) const
    {
        CECGXMLParser xml(Wide(m_path), 0, CString());
        return xml.GetObjectCount(xpath);
    }

    TempDir m_dir;
    std::string m_path;
    CTavrionDoc m_doc;
};

void ExpectDrawingDefaults(CTavrionDoc& doc)
{
    EXPECT_EQ(doc.GetSmoothFilterMode(), 1);
    EXPECT_EQ(doc.GetSmoothFilterType(), 1);
    EXPECT_EQ(doc.IsDelBitNoise(), 1);
    EXPECT_EQ(doc.GetBaseLineWidth(), 1);
    EXPECT_EQ(doc.GetDensity(1), 4);
    EXPECT_EQ(doc.GetDensity(2), 32);
    float xWidth = 0, yWidth = 0, gamma = 0;
    int power = 0;
    doc.GetStrandelValue(xWidth, yWidth, power, gamma);
    EXPECT_FLOAT_EQ(xWidth, 1.5f);
    EXPECT_FLOAT_EQ(yWidth, 1.5f);
    EXPECT_EQ(power, 3);
    EXPECT_FLOAT_EQ(gamma, 1.0f);
    EXPECT_EQ(doc.GetGridType(), 0);
}

}  // namespace

// ---- writing one setting --------------------------------------------------------

TEST_F(SettingsFixture, DensityIsWrittenOnlyForModesOneAndTwo)
{
    UseRecord(kSettingsRecord);
    m_doc.SetDensity(1, 11);
    m_doc.SetDensity(2, 99);
    m_doc.SetReferenceIntoXML(REFERENCE_DENSITY, 0);
    m_doc.SetReferenceIntoXML(REFERENCE_DENSITY, 3);
    EXPECT_EQ(Text(kDraw + L"/Brightness_density/Density_value[@mode='1']"), L"7");
    EXPECT_EQ(Text(kDraw + L"/Brightness_density/Density_value[@mode='2']"), L"64");
    m_doc.SetReferenceIntoXML(REFERENCE_DENSITY, 2);
    EXPECT_EQ(Text(kDraw + L"/Brightness_density/Density_value[@mode='1']"), L"7");
    EXPECT_EQ(Text(kDraw + L"/Brightness_density/Density_value[@mode='2']"), L"99");
    EXPECT_EQ(Count(kDraw + L"/Brightness_density/Density_value"), 2);
}

TEST_F(SettingsFixture, EachColourSlotIsWrittenToItsOwnElement)
{
    UseRecord(kBareRecord);
    for (int slot = 0; slot < 29; ++slot) m_doc.SetWaveColor(slot, RGB(slot, 100 + slot, 200 + slot));
    for (int slot : {4, 29, -1}) m_doc.SetReferenceIntoXML(REFERENCE_COLOR, slot);
    EXPECT_EQ(Count(REFERENCE_COLOR_SETTING_PATH), 0);

    for (int slot = 0; slot < 29; ++slot) m_doc.SetReferenceIntoXML(REFERENCE_COLOR, slot);
    // Slot, element: the element names are the record format's.
    static const struct {
        int slot;
        const wchar_t* element;
    } kElements[] = {
        {0, L"Wave_color/Wave"},
        {1, L"Wave_color/Grid"},
        {2, L"Wave_color/Back_ground"},
        {3, L"Wave_color/Wave_info"},
        {5, L"Wave_color/Wave_comp1"},
        {14, L"Wave_color/Wave_comp10"},
        {15, L"Wave_color/Rest_wave"},
        {16, L"Wave_color/Wave_non_choice"},
        {17, L"Wave_color/Grid_non_choice"},
        {18, L"Wave_color/Bkg_non_choice"},
        {19, L"Wave_color/Wave_info_non_choice"},
        {20, L"Text_color/Back_ground"},
        {21, L"Text_color/Text_input"},
        {22, L"Text_color/Text_non_input"},
        {23, L"Text_color/Text_confirm_info"},
        {24, L"Text_color/Text_after_confirm_info"},
        {25, L"Text_color/Text_others"},
        {26, L"Text_color/Frame"},
        {27, L"Text_color/Frame_text"},
        {28, L"Text_color/Back_ground_blank"},
    };
    for (const auto& row : kElements) {
        CString expected;
        expected.Format(L"%d,%d,%d", row.slot, 100 + row.slot, 200 + row.slot);
        EXPECT_EQ(Color(row.element), expected) << "slot " << row.slot;
    }
    EXPECT_EQ(Count(REFERENCE_COLOR_SETTING_PATH L"/Wave_color/Wave"), 1);   // each slot written over, not added
}

TEST_F(SettingsFixture, LineValuesAreWrittenAllFourTogether)
{
    UseRecord(kBareRecord);
    m_doc.SetStrandelValue(1.5f, 0.25f, 7, 2.0f);
    m_doc.SetReferenceIntoXML(REFERENCE_STRANDEL, 0);
    EXPECT_EQ(Text(kDraw + L"/Xwidth_value"), L"1.50");
    EXPECT_EQ(Text(kDraw + L"/Ywidth_value"), L"0.25");
    EXPECT_EQ(Text(kDraw + L"/Power_value"), L"7");
    EXPECT_EQ(Text(kDraw + L"/Gamma_value"), L"2.00");
}

TEST_F(SettingsFixture, NumbersOfTheExaminationDocumentsWriteNothingHere)
{
    UseRecord(kSettingsRecord);
    m_doc.SetReferenceIntoXML(REFERENCE_FILTER, 0);
    const std::string once = ReadFileBytes(m_path);
    for (int id : {7, 8, 9, 10, 11, 12, 13, 14, 15, 17, 18, 19, 20, 21, -1}) m_doc.SetReferenceIntoXML(id, 1);
    EXPECT_EQ(ReadFileBytes(m_path), once);
    EXPECT_EQ(Count(REFERENCE_SETTING_PATH L"/Filter"), 0);
    EXPECT_EQ(Count(REFERENCE_SETTING_PATH L"/Page_style"), 0);
    EXPECT_EQ(Text(kDraw + L"/Grid_type"), L"2");
}

TEST_F(SettingsFixture, WithoutACurrentRecordNothingIsTouched)
{
    UseRecord(kBareRecord);
    m_doc.SetGridType(5);
    m_doc.SetCurDataIndex(3);
    m_doc.SetReferenceIntoXML(REFERENCE_GRID_TYPE, 0);
    EXPECT_EQ(ReadFileBytes(m_path), kBareRecord);

    m_doc.SetCurDataIndex(0);
    m_doc.GetCurDataItem()->strXMLPath.Empty();
    m_doc.SetReferenceIntoXML(REFERENCE_GRID_TYPE, 0);
    EXPECT_EQ(ReadFileBytes(m_path), kBareRecord);
}

TEST_F(SettingsFixture, UnreadableRecordIsNotReplaced)
{
    const char broken[] = "<Rawdata><Assist_info><Reference>";
    UseRecord(broken);
    m_doc.SetReferenceIntoXML(REFERENCE_GRID_TYPE, 0);
    m_doc.SetReferenceIntoXML(REFERENCE_COLOR, 1);
    EXPECT_EQ(ReadFileBytes(m_path), broken);

    m_doc.SetGridType(9);
    m_doc.SetWaveColor(0, RGB(1, 2, 3));
    m_doc.UpDateReferenceInfo(Wide(m_path));
    ExpectDrawingDefaults(m_doc);
    EXPECT_EQ(m_doc.GetWaveColor(0), RGB(0, 0, 0));
}

// ---- reading the settings back ------------------------------------------------------

TEST_F(SettingsFixture, ReadBackTakesValuesAndFallsBackPerElement)
{
    UseRecord(kSettingsRecord);
    m_doc.SetWaveColor(2, RGB(5, 5, 5));
    m_doc.SetWaveColor(5, RGB(77, 77, 77));
    m_doc.SetWaveColor(26, RGB(1, 1, 1));
    m_doc.GetDefaultReference().stColor[27].dwCompanion = 0xABCD;
    m_doc.UpDateReferenceInfo(Wide(m_path));

    EXPECT_EQ(m_doc.GetSmoothFilterMode(), 2);
    EXPECT_EQ(m_doc.GetSmoothFilterType(), 3);
    EXPECT_EQ(m_doc.IsDelBitNoise(), 0);
    EXPECT_EQ(m_doc.GetBaseLineWidth(), 4);
    EXPECT_EQ(m_doc.GetDensity(1), 7);
    EXPECT_EQ(m_doc.GetDensity(2), 64);
    float xWidth = 0, yWidth = 0, gamma = 0;
    int power = 0;
    m_doc.GetStrandelValue(xWidth, yWidth, power, gamma);
    EXPECT_FLOAT_EQ(xWidth, 2.25f);
    EXPECT_FLOAT_EQ(yWidth, 0.75f);
    EXPECT_EQ(power, 5);
    EXPECT_FLOAT_EQ(gamma, 1.8f);
    EXPECT_EQ(m_doc.GetGridType(), 2);

    EXPECT_EQ(m_doc.GetWaveColor(0), RGB(10, 20, 30));
    EXPECT_EQ(m_doc.GetWaveColor(1), RGB(44, 0, 0));          // 300 cut to its low byte
    EXPECT_EQ(m_doc.GetWaveColor(2), RGB(255, 255, 255));     // no "b": the default
    EXPECT_EQ(m_doc.GetWaveColor(3), RGB(0, 0, 255));         // missing: the default
    EXPECT_EQ(m_doc.GetWaveColor(5), RGB(77, 77, 77));        // the examination documents' slot
    EXPECT_EQ(m_doc.GetWaveColor(24), RGB(200, 0, 0));
    EXPECT_EQ(m_doc.GetWaveColor(26), RGB(220, 220, 220));
    EXPECT_EQ(m_doc.GetWaveColor(27), RGB(0, 128, 255));
    EXPECT_EQ(m_doc.GetWaveColor(28), RGB(128, 128, 128));
    EXPECT_EQ(m_doc.GetDefaultReference().stColor[27].dwCompanion, 0u);
    EXPECT_EQ(ReadFileBytes(m_path), kSettingsRecord);        // reading never writes
}

TEST_F(SettingsFixture, RecordWithoutSettingsBringsBackTheDefaults)
{
    UseRecord(kBareRecord);
    m_doc.SetSmoothFilterMode(4);
    m_doc.SetDensity(2, 1);
    m_doc.SetStrandelValue(9.0f, 9.0f, 9, 9.0f);
    m_doc.SetGridType(3);
    for (int slot : {0, 1, 2, 3, 20, 21, 22, 23, 24, 25, 26, 27, 28}) m_doc.SetWaveColor(slot, RGB(7, 7, 7));
    m_doc.SetWaveColor(19, RGB(7, 7, 7));
    m_doc.UpDateReferenceInfo(Wide(m_path));
    ExpectDrawingDefaults(m_doc);
    static const COLORREF kDefaults[29] = {
        0x000000, 0x5A5AFF, 0xFFFFFF, 0xFF0000, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
        0xFFFFFF, 0xDCDCDC, 0xFFFFFF, 0xFA0000, 0x0000C8, 0x000000, 0xDCDCDC, 0x000000, 0x808080,
    };
    for (int slot : {0, 1, 2, 3, 20, 21, 22, 23, 24, 25, 26, 27, 28}) {
        EXPECT_EQ(m_doc.GetWaveColor(slot), kDefaults[slot]) << "slot " << slot;
    }
    EXPECT_EQ(m_doc.GetWaveColor(19), RGB(7, 7, 7));
}

TEST_F(SettingsFixture, EmptyPathChangesNothingAndTextIsNotANumber)
{
    UseRecord(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<Rawdata><Assist_info><Reference><Setting><Draw_setting>"
        "<Grid_type>abc</Grid_type><Xwidth_value>wide</Xwidth_value><Power_value>12px</Power_value>"
        "</Draw_setting></Setting></Reference></Assist_info></Rawdata>\n");
    m_doc.SetGridType(6);
    m_doc.UpDateReferenceInfo(CString());
    EXPECT_EQ(m_doc.GetGridType(), 6);

    m_doc.UpDateReferenceInfo(Wide(m_path));
    EXPECT_EQ(m_doc.GetGridType(), 0);
    float xWidth = 1, yWidth = 0, gamma = 0;
    int power = 0;
    m_doc.GetStrandelValue(xWidth, yWidth, power, gamma);
    EXPECT_FLOAT_EQ(xWidth, 0.0f);
    EXPECT_EQ(power, 12);
}

TEST_F(SettingsFixture, EverySettingRoundTripsThroughTheRecord)
{
    UseRecord(kBareRecord);
    m_doc.SetSmoothFilterMode(0);
    m_doc.SetSmoothFilterType(2);
    m_doc.SetDelBitNoise(0);
    m_doc.SetBaseLineWidth(2);
    m_doc.SetDensity(1, 16);
    m_doc.SetDensity(2, 48);
    m_doc.SetGridType(1);
    m_doc.SetStrandelValue(0.5f, 2.75f, 1, 0.45f);
    for (int slot = 0; slot < 29; ++slot) m_doc.SetWaveColor(slot, RGB(3 * slot, 255 - slot, 7 + slot));
    for (int id : {0, 1, 2, 3, 5, 16}) m_doc.SetReferenceIntoXML(id, 0);
    m_doc.SetReferenceIntoXML(REFERENCE_DENSITY, 1);
    m_doc.SetReferenceIntoXML(REFERENCE_DENSITY, 2);
    for (int slot = 0; slot < 29; ++slot) m_doc.SetReferenceIntoXML(REFERENCE_COLOR, slot);

    EXPECT_EQ(Text(kDraw + L"/Smooth_filter_type"), L"2");
    EXPECT_EQ(Count(L"/Rawdata/Tavrion/Inspection"), 1);   // the rest of the record stays

    CTavrionDoc reader;
    reader.UpDateReferenceInfo(Wide(m_path));
    EXPECT_EQ(reader.GetSmoothFilterMode(), 0);
    EXPECT_EQ(reader.GetSmoothFilterType(), 2);
    EXPECT_EQ(reader.IsDelBitNoise(), 0);
    EXPECT_EQ(reader.GetBaseLineWidth(), 2);
    EXPECT_EQ(reader.GetDensity(1), 16);
    EXPECT_EQ(reader.GetDensity(2), 48);
    EXPECT_EQ(reader.GetGridType(), 1);
    float xWidth = 0, yWidth = 0, gamma = 0;
    int power = 0;
    reader.GetStrandelValue(xWidth, yWidth, power, gamma);
    EXPECT_FLOAT_EQ(xWidth, 0.5f);
    EXPECT_FLOAT_EQ(yWidth, 2.75f);
    EXPECT_EQ(power, 1);
    EXPECT_FLOAT_EQ(gamma, 0.45f);
    for (int slot : {0, 1, 2, 3, 20, 21, 22, 23, 24, 25, 26, 27, 28}) {
        EXPECT_EQ(reader.GetWaveColor(slot), RGB(3 * slot, 255 - slot, 7 + slot)) << "slot " << slot;
    }
}
