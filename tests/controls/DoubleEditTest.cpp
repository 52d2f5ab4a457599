#include <gtest/gtest.h>

#include <vector>

#include "controls/DoubleEdit.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/windowing/Desktop.h"

using platform::ui::Desktop;

namespace {

// A parent that keeps the numeric field's own notification codes.
class CCodeParent : public CWnd {
public:
    std::vector<UINT> m_codes;
    LRESULT m_refusalAnswer = 0;

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_COMMAND && HIWORD(wParam) >= DEN_INVALID_INPUT) {
            m_codes.push_back(HIWORD(wParam));
            return HIWORD(wParam) == DEN_INVALID_INPUT ? m_refusalAnswer : 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class DoubleEditTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Desktop::Reset();
        ASSERT_TRUE(m_parent.CreateEx(0, nullptr, L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 100), nullptr, 0));
        ASSERT_TRUE(m_edit.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(10, 10, 200, 34), &m_parent, 120));
        m_edit.SetFocus();
    }
    void TearDown() override
    {
        m_edit.DestroyWindow();
        m_parent.DestroyWindow();
    }
    CString Text() const
    {
        CString strText;
        m_edit.GetWindowText(strText);
        return strText;
    }
    // Four integer digits and one decimal in 0..9999.
    void UseFourDotOne()
    {
        m_edit.SetIntegerDigits(4);
        m_edit.SetDecimalDigits(1);
        m_edit.SetMinValue(0);
        m_edit.SetMaxValue(9999);
    }

    CCodeParent m_parent;
    CDoubleEdit m_edit;
};

}  // namespace

TEST_F(DoubleEditTest, FifthIntegerDigitIsRefusedWithNoticeAndBeep)
{
    UseFourDotOne();
    Desktop::TypeText(L"99999");
    EXPECT_STREQ(L"9999", Text());
    EXPECT_EQ((std::vector<UINT>{DEN_INVALID_INPUT}), m_parent.m_codes);
    EXPECT_EQ(1, Desktop::BeepCount());
    EXPECT_TRUE(m_edit.IsModified());
}

TEST_F(DoubleEditTest, SecondDecimalIsRefused)
{
    UseFourDotOne();
    Desktop::TypeText(L"12.34");
    EXPECT_STREQ(L"12.3", Text());
}

TEST_F(DoubleEditTest, MinusIsRefusedWhenTheLowerBoundIsZero)
{
    UseFourDotOne();
    Desktop::TypeText(L"-1");
    EXPECT_STREQ(L"1", Text());
    EXPECT_EQ((std::vector<UINT>{DEN_INVALID_INPUT}), m_parent.m_codes);
}

TEST_F(DoubleEditTest, DigitCountLimitsEvenInsideTheBounds)
{
    m_edit.SetIntegerDigits(1);
    m_edit.SetMinValue(0);
    m_edit.SetMaxValue(10);
    Desktop::TypeText(L"10");
    EXPECT_STREQ(L"1", Text());
}

// A leading sign is no digit: two integer digits take "-99" and "-99.5",
// with or without the point, and still refuse a third digit.
TEST_F(DoubleEditTest, ALeadingSignIsNotCountedAsAnIntegerDigit)
{
    m_edit.SetIntegerDigits(2);
    m_edit.SetDecimalDigits(1);
    m_edit.SetMinValue(-999);
    m_edit.SetMaxValue(999);
    for (const wchar_t* sign : {L"-", L"+"}) {
        m_edit.SetWindowText(L"");
        m_parent.m_codes.clear();
        const CString whole = CString(sign) + L"99";
        Desktop::TypeText(whole + L"9");
        EXPECT_STREQ(whole, Text());
        EXPECT_EQ((std::vector<UINT>{DEN_INVALID_INPUT}), m_parent.m_codes) << "the third digit";
        Desktop::TypeText(L".5");
        EXPECT_STREQ(whole + L".5", Text());
        m_edit.SetSel(1, 1);
        Desktop::TypeText(L"1");
        EXPECT_STREQ(whole + L".5", Text()) << "a third digit in front of the point";
    }
}

TEST_F(DoubleEditTest, PointThatWouldLeaveTooManyDecimalsIsRefused)
{
    m_edit.SetDecimalDigits(2);
    Desktop::TypeText(L"1234");
    m_edit.SetSel(1, 1);
    Desktop::TypeText(L".");
    EXPECT_STREQ(L"1234", Text());
    m_edit.SetSel(2, 2);
    Desktop::TypeText(L".");
    EXPECT_STREQ(L"12.34", Text());
    Desktop::TypeText(L".");
    EXPECT_STREQ(L"12.34", Text());
}

TEST_F(DoubleEditTest, PointIsRefusedWithoutDecimals)
{
    m_edit.SetDecimalDigits(0);
    Desktop::TypeText(L"5.");
    EXPECT_STREQ(L"5", Text());
}

TEST_F(DoubleEditTest, DeletingThePointMustKeepTheNumberValid)
{
    m_edit.SetIntegerDigits(1);
    m_edit.SetMaxValue(9);
    Desktop::TypeText(L"1.5");
    m_edit.SetSel(1, 1);
    Desktop::KeyPress(VK_DELETE);
    EXPECT_STREQ(L"1.5", Text());
    m_edit.SetSel(2, 2);
    Desktop::KeyPress(VK_BACK);
    EXPECT_STREQ(L"1.5", Text());
    m_edit.SetIntegerDigits(2);
    m_edit.SetMaxValue(99);
    Desktop::KeyPress(VK_BACK);
    EXPECT_STREQ(L"15", Text());
}

TEST_F(DoubleEditTest, TabOutOfRangeNotifiesRangeThenTab)
{
    m_edit.SetMaxValue(10);
    m_edit.SetWindowText(L"12");
    Desktop::KeyPress(VK_TAB);
    EXPECT_EQ((std::vector<UINT>{DEN_OUT_OF_RANGE, DEN_TAB}), m_parent.m_codes);
    EXPECT_STREQ(L"12", Text());
    m_parent.m_codes.clear();
    m_edit.SetWindowText(L"7");
    Desktop::KeyPress(VK_RETURN);
    EXPECT_EQ((std::vector<UINT>{DEN_ENTER}), m_parent.m_codes);
}

TEST_F(DoubleEditTest, LoneMinusIsValidWhenZeroIsInRange)
{
    m_edit.SetMinValue(-5);
    Desktop::TypeText(L"-");
    EXPECT_STREQ(L"-", Text());
    // A second sign at the caret in front of the first is dropped silently.
    m_edit.SetSel(0, 0);
    Desktop::TypeText(L"-");
    EXPECT_STREQ(L"-", Text());
    EXPECT_TRUE(m_parent.m_codes.empty());
    m_edit.SetSel(1, 1);
    Desktop::TypeText(L"6");
    EXPECT_STREQ(L"-", Text());
    Desktop::TypeText(L"5");
    EXPECT_STREQ(L"-5", Text());
}

TEST_F(DoubleEditTest, ParentAnsweringMinusOneSilencesTheBeep)
{
    m_parent.m_refusalAnswer = -1;
    Desktop::TypeText(L"x");
    EXPECT_EQ((std::vector<UINT>{DEN_INVALID_INPUT}), m_parent.m_codes);
    EXPECT_EQ(0, Desktop::BeepCount());
    EXPECT_STREQ(L"", Text());
}

TEST_F(DoubleEditTest, DisabledInputDropsCharactersButStillReportsTab)
{
    m_edit.DisableInput();
    Desktop::TypeText(L"12");
    Desktop::KeyPress(VK_TAB);
    EXPECT_STREQ(L"", Text());
    EXPECT_EQ((std::vector<UINT>{DEN_TAB}), m_parent.m_codes);
    EXPECT_FALSE(m_edit.IsModified());
}

TEST_F(DoubleEditTest, PasteKeyCannotBringInText)
{
    Desktop::TypeText(L"12");
    m_edit.SetSel(0, -1);
    m_edit.Copy();
    m_edit.SetSel(2, 2);
    Desktop::KeyPress('V', platform::ui::kControl);
    EXPECT_STREQ(L"12", Text());
}

TEST_F(DoubleEditTest, ShiftInsertCannotPasteEither)
{
    Desktop::TypeText(L"12");
    m_edit.SetSel(0, -1);
    m_edit.Copy();
    m_edit.SetSel(2, 2);
    Desktop::KeyPress(VK_INSERT, platform::ui::kShift);
    EXPECT_STREQ(L"12", Text());
}

TEST_F(DoubleEditTest, DisplayModePaintsAPlainRightAlignedReading)
{
    m_edit.SetWindowText(L"12.5");
    m_edit.DisableInput();
    m_edit.SetDisplay(FALSE);
    m_edit.SetBkColor(RGB(0, 0, 200));
    m_edit.SetTextColor(RGB(255, 255, 0));
    m_edit.Invalidate();
    m_edit.UpdateWindow();
    EXPECT_FALSE(m_edit.IsWindowEnabled());
    CRect rc;
    m_edit.GetClientRect(&rc);
    CClientDC dc(&m_edit);
    EXPECT_EQ(RGB(0, 0, 200), dc.GetPixel(2, rc.Height() / 2));
    // The text sits at the right: ink in the right half only.
    auto inkIn = [&](int xFrom, int xTo) {
        for (int x = xFrom; x < xTo; ++x)
            for (int y = 0; y < rc.Height(); ++y)
                if (dc.GetPixel(x, y) != RGB(0, 0, 200))
                    return true;
        return false;
    };
    EXPECT_TRUE(inkIn(rc.Width() / 2, rc.Width()));
    EXPECT_FALSE(inkIn(0, rc.Width() / 2));
}

// Removing a selection is checked like typing: what is left must still be a
// number the field takes.
TEST_F(DoubleEditTest, DeletingASelectionMustLeaveAValidNumber)
{
    m_edit.SetIntegerDigits(4);
    m_edit.SetDecimalDigits(1);
    m_edit.SetMinValue(10);
    m_edit.SetMaxValue(9999);
    m_edit.SetWindowText(L"123.4");
    m_edit.SetSel(0, 2);   // "12": 3.4 is below the lower bound
    Desktop::KeyPress(VK_BACK);
    EXPECT_STREQ(L"123.4", Text());
    Desktop::KeyPress(VK_DELETE);
    EXPECT_STREQ(L"123.4", Text());
    EXPECT_EQ((std::vector<UINT>{DEN_INVALID_INPUT, DEN_INVALID_INPUT}), m_parent.m_codes);
    m_edit.SetSel(3, 5);   // ".4"
    Desktop::KeyPress(VK_DELETE);
    EXPECT_STREQ(L"123", Text());
    m_edit.SetSel(1, 2);
    Desktop::KeyPress(VK_BACK);
    EXPECT_STREQ(L"13", Text());
}

TEST_F(DoubleEditTest, KeysAtTheEdgesOfTheTextChangeNothing)
{
    Desktop::TypeText(L"42");
    m_edit.SetSel(0, 0);
    Desktop::KeyPress(VK_BACK);
    m_edit.SetSel(2, 2);
    Desktop::KeyPress(VK_DELETE);
    EXPECT_STREQ(L"42", Text());
    EXPECT_TRUE(m_parent.m_codes.empty());
}

// A sign goes only in front, once, and only where the range has that side.
TEST_F(DoubleEditTest, SignsGoOnlyInFrontAndOnlyTowardsTheRange)
{
    m_edit.SetMinValue(-100);
    m_edit.SetMaxValue(100);
    Desktop::TypeText(L"5");
    m_edit.SetSel(1, 1);
    Desktop::TypeText(L"-");
    EXPECT_STREQ(L"5", Text()) << "not after a digit";
    m_edit.SetSel(0, 0);
    Desktop::TypeText(L"-");
    EXPECT_STREQ(L"-5", Text());
    m_edit.SetSel(0, 0);
    Desktop::TypeText(L"-");
    EXPECT_STREQ(L"-5", Text()) << "never twice";
    m_edit.SetSel(0, 1);
    Desktop::TypeText(L"+");
    EXPECT_STREQ(L"+5", Text()) << "a selected sign is replaced";
    EXPECT_TRUE(m_parent.m_codes.empty()) << "a misplaced sign is dropped without a notice";
    m_edit.SetMaxValue(0);
    m_edit.SetSel(0, 1);
    Desktop::TypeText(L"+");
    EXPECT_EQ((std::vector<UINT>{DEN_INVALID_INPUT}), m_parent.m_codes) << "no plus when the range ends at 0";
}

// ---- yes/no mode ------------------------------------------------------------------------

TEST_F(DoubleEditTest, YesNoModeTakesOneLetterIntoAnEmptyFieldOrOverItsSelectedLetter)
{
    m_edit.SetYesNoMode(TRUE);
    Desktop::TypeText(L"y");
    EXPECT_STREQ(L"y", Text());
    Desktop::TypeText(L"N");
    EXPECT_STREQ(L"y", Text()) << "a second letter beside the first is refused";
    EXPECT_EQ(1, Desktop::BeepCount());
    m_edit.SetSel(0, 1);
    Desktop::TypeText(L"N");
    EXPECT_STREQ(L"N", Text());
    Desktop::KeyPress(VK_BACK);
    EXPECT_STREQ(L"", Text());
}

TEST_F(DoubleEditTest, YesNoModeRefusesDigitsSignsAndOtherLettersWithABeep)
{
    m_edit.SetYesNoMode(TRUE);
    Desktop::TypeText(L"5-+xA");
    EXPECT_STREQ(L"", Text());
    EXPECT_EQ(5, Desktop::BeepCount());
    EXPECT_EQ(std::vector<UINT>(5, DEN_INVALID_INPUT), m_parent.m_codes);
}

TEST_F(DoubleEditTest, YesNoModeIsNeverOutOfRangeOnTab)
{
    m_edit.SetYesNoMode(TRUE);
    m_edit.SetMaxValue(-1);
    Desktop::TypeText(L"Y\t");
    EXPECT_EQ((std::vector<UINT>{DEN_TAB}), m_parent.m_codes);
}

TEST_F(DoubleEditTest, DisabledInputIsReadableAndRefusesTypingAndDelete)
{
    Desktop::TypeText(L"42");
    m_edit.DisableInput();
    EXPECT_FALSE(m_edit.IsInputEnabled());
    m_edit.SetSel(0, -1);
    Desktop::KeyPress(VK_DELETE);
    Desktop::TypeText(L"7");
    EXPECT_STREQ(L"42", Text());
    m_edit.EnableInput();
    EXPECT_TRUE(m_edit.IsInputEnabled());
    m_edit.SetSel(0, -1);
    Desktop::KeyPress(VK_DELETE);
    EXPECT_STREQ(L"", Text());
}
