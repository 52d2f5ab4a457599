// The control-data store of the base document.
#include <gtest/gtest.h>

#include "core/TavrionDoc.h"

namespace {

// Opens the rhythm and RR panel to the tests.
class PanelDoc : public CTavrionDoc {
public:
    void BuildPanel() { InitCheckArrayRhyRR(); }
};

_PATIENT_INFO SamplePatient()
{
    _PATIENT_INFO p;
    p.strPatientID = L"00123";
    p.strName = L"山田 太郎";
    p.strSex = L"男";
    p.strAge = L"45";
    p.strAgeUnit = L"歳";
    p.strSubAgeUnit = L"ヶ月";
    p.strHeight = L"170.2";
    p.strHeightUnit = L"cm";
    p.strWeight = L"60";
    p.strWeightUnit = L"kg";
    p.strBpHigh = L"120";
    p.strBpLow = L"80";
    p.strAcqTime = L"2020/01/02 03:04:05";
    p.strConfirmDate = L"2020/02/03 04:05:06";
    p.strConfirmDoctor = L"医師";
    p.nPressureUnit = 1;
    return p;
}

}  // namespace

TEST(ControlStore, ContentWithoutRecordLoadsOnlyCaptions)
{
    CTavrionDoc doc;
    doc.InitCheckArray();
    doc.SetCtrlData(3001, L"kept", 1, -1);
    doc.SetCtrlData(3022, L"unit", 1, -1);
    doc.SetCtrlContent(nullptr);
    CString text;
    doc.GetCtrlData(3020, text);
    EXPECT_FALSE(text.IsEmpty());
    doc.GetCtrlData(3001, text);
    EXPECT_EQ(CString(L"kept"), text);
    doc.GetCtrlData(3022, text);
    EXPECT_EQ(CString(L"unit"), text);
}

TEST(ControlStore, ContentCutsTimesAndHidesStarTime)
{
    CTavrionDoc doc;
    doc.InitCheckArray();
    _PATIENT_INFO p = SamplePatient();
    doc.SetCtrlContent(&p);
    CString text;
    doc.GetCtrlData(3024, text);
    EXPECT_EQ(CString(L"2020/01/02 03:04"), text);
    doc.GetCtrlData(3027, text);
    EXPECT_EQ(CString(L"2020/02/03 04:05"), text);
    doc.GetCtrlData(3022, text);
    EXPECT_EQ(CString(L"kPa"), text);

    p.strAcqTime = L"****/**/** **:**:**";
    doc.SetCtrlContent(&p);
    doc.GetCtrlData(3024, text);
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_EQ(0, doc.IsEidtChange(&p));
}

TEST(ControlStore, EditFlagStaysUntilReload)
{
    CTavrionDoc doc;
    doc.InitCheckArray();
    doc.SetCtrlData(3003, L"A", 1, -1);
    doc.SetCtrlData(3003, L"B", 0, -1);
    doc.SetCtrlData(3003, L"A", 0, 2);
    EXPECT_EQ(1, doc.GetCtrlModifyFlag(3003));
    EXPECT_EQ(1, doc.IsEditChanged());
    int sel = 0;
    doc.GetCtrlData(3003, sel);
    EXPECT_EQ(2, sel);
    doc.SetCtrlData(3003, L"A", 1, -1);
    EXPECT_EQ(0, doc.GetCtrlModifyFlag(3003));
}

TEST(ControlStore, UnknownIdChangesNothing)
{
    CTavrionDoc doc;
    doc.InitCheckArray();
    doc.SetCtrlData(9999, L"x", 0, 1);
    EXPECT_EQ(0, doc.IsEditChanged());
    CString text = L"stale";
    doc.GetCtrlData(9999, text);
    EXPECT_TRUE(text.IsEmpty());
    int sel = 5;
    doc.GetCtrlData(9999, sel);
    EXPECT_EQ(-1, sel);
    EXPECT_EQ(0, doc.GetCtrlModifyFlag(9999));
    EXPECT_EQ(0, doc.CheckCtrlStatus(9999, 0));
    EXPECT_EQ(0, doc.PushCtrlEdit(9999, L"x", -1));
    EXPECT_EQ(0, doc.GetEditPatientFlag());
}

TEST(ControlStore, StatusIsZeroWhenTheReservedArgumentIsSet)
{
    CTavrionDoc doc;
    doc.InitCheckArray();
    EXPECT_EQ(1, doc.CheckCtrlStatus(3001, 0));
    EXPECT_EQ(0, doc.CheckCtrlStatus(3001, 1));
}

TEST(ControlStore, RangeCheckAcceptsOnlyPlainNumbersWithinTheLimit)
{
    CTavrionDoc doc;
    EXPECT_EQ(1, doc.CheckDataRange(L" 12 ", 100, 0, 1, 0));
    EXPECT_EQ(0, doc.CheckDataRange(L"1.5", 100, 0, 1, 0));
    EXPECT_EQ(1, doc.CheckDataRange(L"1.5", 100, 0, 1, 1));
    EXPECT_EQ(0, doc.CheckDataRange(L"-5", 100, 0, 1, 0));
    EXPECT_EQ(0, doc.CheckDataRange(L"1 2", 100, 0, 1, 0));
    EXPECT_EQ(0, doc.CheckDataRange(L"1e2", 1000, 0, 1, 0));
    EXPECT_EQ(0, doc.CheckDataRange(L"101", 100, 0, 1, 0));
    EXPECT_EQ(1, doc.CheckDataRange(L"", 100, 0, 1, 0));
    EXPECT_EQ(1, doc.CheckDataRange(L"abc", 100, 0, 0, 0));
    EXPECT_EQ(1, doc.CheckDataRange(L"12.1", 12.1f, 1, 1, 1));
}

TEST(ControlStore, IsEidtChangeIgnoresOnlyTheSubAgeUnit)
{
    CTavrionDoc doc;
    doc.InitCheckArray();
    _PATIENT_INFO p = SamplePatient();
    doc.SetCtrlContent(&p);
    doc.SetCtrlData(3014, L"週", 0, -1);
    EXPECT_EQ(0, doc.IsEidtChange(&p));
    doc.SetCtrlData(3021, L"81", 0, -1);
    EXPECT_EQ(1, doc.IsEidtChange(&p));
    EXPECT_EQ(0, doc.IsEidtChange(nullptr));
}

TEST(ControlStore, OnlyPatientStripEditsMarkThePatientEdited)
{
    PanelDoc doc;
    doc.BuildPanel();
    // A resting interpretation field shares the id range above the strip.
    EXPECT_EQ(0, CTavrionDoc::IsPatientFieldID(3030));
    EXPECT_EQ(0, CTavrionDoc::IsPatientFieldID(3185));
    EXPECT_EQ(0, CTavrionDoc::IsPatientFieldID(3200));
    EXPECT_EQ(1, CTavrionDoc::IsPatientFieldID(3000));
    EXPECT_EQ(1, CTavrionDoc::IsPatientFieldID(3029));

    EXPECT_EQ(1, doc.PushCtrlEdit(3641, L"動悸", -1));
    EXPECT_EQ(0, doc.GetEditPatientFlag());
    EXPECT_EQ(1, doc.IsEditChanged());
    EXPECT_EQ(0, doc.PushCtrlEdit(3001, L"", -1));
    EXPECT_EQ(0, doc.GetEditPatientFlag());
    EXPECT_EQ(1, doc.PushCtrlEdit(3001, L"9", -1));
    EXPECT_EQ(1, doc.GetEditPatientFlag());
}

TEST(ControlStore, UpDateCurItemContentCopiesEditedValues)
{
    CTavrionDoc doc;
    doc.InitCheckArray();
    _PATIENT_INFO p = SamplePatient();
    doc.SetCtrlContent(&p);
    doc.SetCtrlData(3003, L"鈴木", 0, -1);
    doc.SetCtrlData(3014, L"週", 0, -1);
    doc.SetCtrlData(3024, L"changed", 0, -1);
    doc.UpDateCurItemContent(p);
    EXPECT_EQ(CString(L"鈴木"), p.strName);
    EXPECT_EQ(CString(L"週"), p.strSubAgeUnit);
    EXPECT_EQ(CString(L"2020/01/02 03:04:05"), p.strAcqTime);
}
