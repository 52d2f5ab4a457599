#include <gtest/gtest.h>

#include <cstring>

#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "platform/gdi/Font.h"

namespace {

int FontHeight(CFont* font)
{
    LOGFONTW lf = {};
    if (!font || !font->GetLogFont(&lf)) return -1;
    return lf.lfHeight;
}

}  // namespace

TEST(TavrionDocSettings, FirstSpeedAndChestHalfAreKept)
{
    CTavrionDoc doc;
    doc.SetSpeed(50.0f);
    doc.SetSpeed(12.5f);
    EXPECT_FLOAT_EQ(doc.GetSpeed(), 12.5f);
    EXPECT_FLOAT_EQ(doc.GetDefaultReference().RefFloat(REF_FIRST_SPEED), 50.0f);
    doc.SetChestHalf(5);
    doc.SetChestHalf(0);
    EXPECT_EQ(doc.IsChestHalf(), 0);
    EXPECT_EQ(doc.GetDefaultReference().RefInt(REF_FIRST_CHEST_HALF), 1);
}

TEST(TavrionDocSettings, SensitivityChangesSwitchTheModeAndKeepTheFirstValues)
{
    CTavrionDoc doc;
    doc.SetSenseMode(3);
    doc.SetSense(3, 20.0f, 1);   // kind 3 never changes the mode
    EXPECT_EQ(doc.GetSenseMode(), 3u);
    doc.SetSense(0, 20.0f, 1);
    EXPECT_EQ(doc.GetSenseMode(), 1u);
    doc.SetSenseMode(0);
    doc.SetSense(0, 5.0f, 1);
    EXPECT_EQ(doc.GetSenseMode(), 2u);
    doc.SetSenseMode(3);
    doc.SetSense(1, 5.0f, 0);   // no switch, no change
    EXPECT_EQ(doc.GetSenseMode(), 3u);

    // The first value of each kind is kept; the current one follows.
    EXPECT_FLOAT_EQ(doc.GetSense(0, 0), 5.0f);
    EXPECT_FLOAT_EQ(doc.GetDefaultReference().RefFloat(REF_FIRST_SENSE_0), 20.0f);
    EXPECT_FLOAT_EQ(doc.GetDefaultReference().RefFloat(REF_FIRST_SENSE_3), 20.0f);
    EXPECT_FLOAT_EQ(doc.GetDefaultReference().RefFloat(REF_FIRST_SENSE_1), 5.0f);
    doc.SetSense(6, 2.5f, 0);
    EXPECT_FLOAT_EQ(doc.GetCommonSense(0), 2.5f);
    EXPECT_FLOAT_EQ(doc.GetCommonSense(0), doc.GetSense(6, 0));
    EXPECT_FLOAT_EQ(doc.GetCommonSense(1), 10.0f);
    doc.SetSense(9, 1.0f, 1);   // an unknown kind stores nothing
    doc.SetRhythmSense(40.0f);
    EXPECT_FLOAT_EQ(doc.GetSense(2, 0), 40.0f);
}

TEST(TavrionDocSettings, ColourSlotsOutsideTheRangeAreIgnored)
{
    CTavrionDoc doc;
    doc.GetDefaultReference().stColor[5].dwCompanion = 77;
    doc.SetWaveColor(5, 0x123456);
    EXPECT_EQ(doc.GetWaveColor(5, 1), 0x123456u);
    EXPECT_EQ(doc.GetDefaultReference().stColor[5].dwCompanion, 0u);
    _DEFAULT_REF before = doc.GetDefaultReference();
    doc.SetWaveColor(29, 0xFFFFFF);
    doc.SetWaveColor(-1, 0xFFFFFF);
    EXPECT_EQ(doc.GetWaveColor(29), 0u);
    EXPECT_EQ(doc.GetWaveColor(-1), 0u);
    EXPECT_EQ(std::memcmp(&before, &doc.GetDefaultReference(), sizeof(before)), 0);
}

TEST(TavrionDocSettings, StatusIsSetOnlyWhenTheKindsStoredValueIsZero)
{
    CTavrionDoc doc;
    _DEFAULT_REF& ref = doc.GetDefaultReference();
    EXPECT_EQ(doc.GetFilterStatus(5), 0);
    EXPECT_EQ(doc.GetFilterStatus(1), 0);
    ref.RefInt(REF_FILTER_1 + 3) = 0;   // the fourth value belongs to kind 6
    EXPECT_EQ(doc.GetFilterStatus(6), 1);
    EXPECT_EQ(doc.GetFilterStatus(4), 0);
    ref.RefInt(REF_FILTER_1 + 4) = 0;
    EXPECT_EQ(doc.GetFilterStatus(4), 1);
    EXPECT_EQ(doc.GetSpeedStatus(4), 0);
    ref.RefFloat(REF_SPEED_STATUS) = 0.0f;
    EXPECT_EQ(doc.GetSpeedStatus(4), 1);
    EXPECT_EQ(doc.GetSpeedStatus(1), 0);
}

TEST(TavrionDocSettings, FlagAccessorsNormaliseToOne)
{
    CTavrionDoc doc;
    doc.SetSerialOverlap(7);
    EXPECT_EQ(doc.IsSerialOverlap(), 1);
    EXPECT_EQ(doc.GetDefaultReference().RefInt(REF_SERIAL_OVERLAP), 1);
    doc.SetShowST(9);
    EXPECT_EQ(doc.IsShowST(), 1);
    doc.SetCheckID(0);
    EXPECT_EQ(doc.IsCheckID(), 0);
}

TEST(TavrionDocSettings, DrawingSettingsRoundTrip)
{
    CTavrionDoc doc;
    doc.SetDensity(2, 16);
    doc.SetDensity(7, 3);   // any mode but 2 is mode 1
    EXPECT_EQ(doc.GetDensity(2), 16);
    EXPECT_EQ(doc.GetDensity(1), 3);
    doc.SetStrandelValue(2.0f, 3.0f, 5, 0.5f);
    float x, y, gamma;
    int power;
    doc.GetStrandelValue(x, y, power, gamma);
    EXPECT_FLOAT_EQ(x, 2.0f);
    EXPECT_FLOAT_EQ(y, 3.0f);
    EXPECT_EQ(power, 5);
    EXPECT_FLOAT_EQ(gamma, 0.5f);

    CTavrionDoc other;
    other.InitialSetting(&doc.GetDefaultReference());
    EXPECT_EQ(other.GetDensity(2), 16);
    EXPECT_EQ(std::memcmp(&other.GetDefaultReference(), &doc.GetDefaultReference(), sizeof(_DEFAULT_REF)), 0);
}

TEST(TavrionDocSettings, LeadPositionsMapToRecordLeads)
{
    EXPECT_EQ(CTavrionDoc::GetDataLeadID(2, 0), 8u);
    EXPECT_EQ(CTavrionDoc::GetDataLeadID(6, 0), 2u);
    EXPECT_EQ(CTavrionDoc::GetDataLeadID(2, 0x800C), 2u);
    EXPECT_EQ(CTavrionDoc::GetDataLeadID(13, 254), 1u);
    EXPECT_EQ(CTavrionDoc::GetDataLeadID(15, 0xFFFD), 1u);
    EXPECT_EQ(CTavrionDoc::GetDataLeadID(15, 0xFFFC), 1u);
    EXPECT_EQ(CTavrionDoc::GetDataLeadID(11, 0x010B), 7u);   // low byte 11: 15-lead kind
    EXPECT_EQ(CTavrionDoc::GetDataLeadID(3, 10), 3u);        // rhythm records keep their order
    EXPECT_EQ(CTavrionDoc::GetDataLeadID(15, 10), 15u);
    // Every mapped position lands on one of the twelve record leads, and the
    // first twelve cover them all.
    bool seen[12] = {};
    for (UINT i = 0; i < 12; ++i) seen[CTavrionDoc::GetDataLeadID(i, 0)] = true;
    for (bool s : seen) EXPECT_TRUE(s);
}

TEST(TavrionDocSettings, DocumentFontsFollowTheDisplayRatio)
{
    const double savedY = g_dYUnit;
    g_dYUnit = 1.0;
    CTavrionDoc doc;
    EXPECT_EQ(FontHeight(doc.GetDocFont(0)), 12);
    EXPECT_EQ(FontHeight(doc.GetDocFont(1)), 13);
    EXPECT_EQ(FontHeight(doc.GetDocFont(3)), 11);
    doc.SetDisplayRatio(2.0);
    doc.ResetGlobalData();
    EXPECT_EQ(FontHeight(doc.GetDocFont(0)), 24);
    EXPECT_EQ(FontHeight(doc.GetDocFont(2)), 26);
    EXPECT_EQ(FontHeight(doc.GetDocFont(4)), 12);   // the fifth ignores the ratio
    EXPECT_DOUBLE_EQ(doc.GetYScale(), 2.0);
    EXPECT_EQ(doc.GetDocFont(5), nullptr);

    doc.SetTurnedScreen(1);
    doc.InitGlobalData();
    EXPECT_EQ(doc.GetBaseScreenSize(), CSize(768, 1024));
    g_dYUnit = savedY;
}

TEST(TavrionDocSettings, DynamicallyCreatableByName)
{
    CObject* object = CRuntimeClass::CreateObject("CTavrionDoc");
    ASSERT_NE(object, nullptr);
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CDocument)));
    delete object;
}

TEST(TavrionDocHelpers, MaxMinFindsTheExtremesAndRefusesMissingArguments)
{
    CTavrionDoc doc;
    const short wave[] = {3, -7, 12, 0, 12, -7};
    short hi = 99, lo = 99;
    EXPECT_EQ(doc.GetWaveMaxMin(wave, 6, &hi, &lo), 1);
    EXPECT_EQ(hi, 12);
    EXPECT_EQ(lo, -7);
    EXPECT_EQ(doc.GetWaveMaxMin(wave, 0, &hi, &lo), 0);
    EXPECT_EQ(hi, 0);
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(doc.GetWaveMaxMin(nullptr, 6, &hi, &lo), 0);
    EXPECT_EQ(doc.GetWaveMaxMin(wave, 6, nullptr, &lo), 0);
}
