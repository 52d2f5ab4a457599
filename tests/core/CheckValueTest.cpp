#include <gtest/gtest.h>

#include "core/CheckValue.h"

TEST(CheckValue, EditBackToTheSavedTextStaysModified)
{
    CCheckValue entry(3001, L"PatientID");
    entry.InitValue(L"A");
    entry.ModifyValue(L"A");
    EXPECT_EQ(0, entry.GetModifyFlag());
    entry.ModifyValue(L"B");
    entry.ModifyValue(L"A");
    EXPECT_EQ(1, entry.GetModifyFlag());
    entry.InitValue(L"A");
    EXPECT_EQ(0, entry.GetModifyFlag());
}

TEST(CheckValue, ComparisonIsCaseSensitive)
{
    CCheckValue entry(3003, L"PatientName");
    entry.InitValue(L"yamada");
    entry.ModifyValue(L"Yamada");
    EXPECT_EQ(1, entry.GetModifyFlag());
}

TEST(CheckValue, UpdateValueAcceptsTheEdit)
{
    CCheckValue entry(3003, L"PatientName");
    entry.InitValue(L"old");
    entry.ModifyValue(L"new");
    entry.UpdateValue();
    EXPECT_EQ(0, entry.GetModifyFlag());
    EXPECT_EQ(CString(L"new"), entry.GetSavedValue());
    entry.ModifyValue(L"new");
    EXPECT_EQ(0, entry.GetModifyFlag());
}

TEST(CheckValue, ShowEnableAndPrintFollowStatusStateAndNeedOutput)
{
    CCheckValue entry(3001, L"PatientID");
    entry.SetStatusForType(3);
    EXPECT_EQ(2, entry.IsEnable());

    // No state bits: hidden and not printed until output is forced.
    CCheckValue bare(3001, L"PatientID");
    bare.Reset();
    bare.UpdateIniState(L"", 1);
    EXPECT_EQ(1, bare.IsPrint());
    EXPECT_EQ(1, bare.GetState(1) & 1);

    CCheckValue forced(3002, L"PatientName");
    forced.SetStatusForType(1);
    forced = CCheckValue(3002, L"PatientName");
    forced.SetNeedOutput(1);
    EXPECT_EQ(1, forced.IsShow());
    EXPECT_EQ(1, forced.IsPrint());
    forced.SetStatusForType(0);
    EXPECT_EQ(0, forced.IsShow());
}

TEST(CheckValue, StateBitsOutsideTheWordAreIgnored)
{
    CCheckValue entry(3001, L"PatientID");
    entry.UpdateIniState(L"", 40);
    entry.UpdateIniState(L"", -1);
    EXPECT_EQ(1, entry.GetState(0));
    EXPECT_EQ(0, entry.GetState(-3));
    EXPECT_EQ(0, entry.GetState(64));
}

TEST(CheckValue, ResetKeepsTheTexts)
{
    CCheckValue entry(3009, L"PatientSex");
    entry.InitValue(L"男");
    entry.ModifyValue(L"女");
    entry.SetCurSel(1);
    entry.SetStatusForType(3);
    entry.SetNeedOutput(1);
    entry.Reset();
    EXPECT_EQ(0, entry.GetModifyFlag());
    EXPECT_EQ(-1, entry.GetCurSel());
    EXPECT_EQ(0, entry.IsEnable());
    EXPECT_EQ(0, entry.IsPrint());
    EXPECT_EQ(CString(L"女"), entry.GetValue());
    EXPECT_EQ(CString(L"男"), entry.GetSavedValue());
}
