#include <gtest/gtest.h>

#include "dialogs/CheckInputValue.h"
#include "dialogs/PatientPageFields.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "tests/support/TestSupport.h"

namespace {

struct ValueCase {
    const wchar_t* text;
    const wchar_t* name;
    float upper;
    float lower;
    int decimal;
    const wchar_t* message;   // null: passes without a box
};

const ValueCase kCases[] = {
    {L"", L"年齢", 1000, 0, 0, nullptr},
    {L"   ", L"年齢", 1000, 0, 0, nullptr},
    {L" 42 ", L"年齢", 1000, 0, 0, nullptr},
    {L"12.5", L"被検者情報の年齢", 1000, 0, 0, L"被検者情報の年齢 should be unsigned integer number!"},
    {L"-3", L"被検者情報の年齢", 1000, 0, 0, L"被検者情報の年齢 should be unsigned integer number!"},
    {L"4 2", L"被検者情報の年齢", 1000, 0, 0, L"被検者情報の年齢 should be unsigned integer number!"},
    {L"1e3", L"被検者情報の身長", 999.9f, 0, 1, L"被検者情報の身長 should be unsigned float number!"},
    {L"1.2.3", L"被検者情報の身長", 999.9f, 0, 1, L"被検者情報の身長 should be unsigned float number!"},
    {L"170.5", L"被検者情報の身長", 999.9f, 0, 1, nullptr},
    {L"1000", L"被検者情報の身長", 999.9f, 0, 1, L"被検者情報の身長 must be between    0.0 and  999.9 ! "},
    {L"13", L"生年月日 月", 12.1f, 1, 0, L"生年月日 月 must be between 1 and 12 ! "},
    {L"12", L"生年月日 月", 12.1f, 1, 0, nullptr},
    {L"1899", L"生年月日 年", 2050, 1900, 0, L"生年月日 年 must be between 1900 and 2050 ! "},
    {L"0", L"生年月日 日", 31.1f, 1, 0, L"生年月日 日 must be between 1 and 31 ! "},
};

}  // namespace

TEST(CheckInputValue, RefusesEachBadValueWithItsMessageAndPassesTheRest)
{
    for (const ValueCase& c : kCases) {
        platform::ui::MessageBoxRecorder boxes;
        const int result = CheckInputValue(c.text, c.name, c.upper, c.lower, 1, c.decimal, 0);
        if (!c.message) {
            EXPECT_EQ(result, 0) << "text '" << testsupport::Utf8(c.text) << "'";
            EXPECT_EQ(boxes.Count(), 0) << "text '" << testsupport::Utf8(c.text) << "'";
            continue;
        }
        EXPECT_EQ(result, 255) << "text '" << testsupport::Utf8(c.text) << "'";
        ASSERT_EQ(boxes.Count(), 1) << "text '" << testsupport::Utf8(c.text) << "'";
        EXPECT_EQ(boxes.Last().text, c.message);
        EXPECT_EQ(boxes.Last().caption, L"無効値です");
        EXPECT_EQ(boxes.Last().type, static_cast<UINT>(MB_OK));
        EXPECT_EQ(boxes.Last().owner, nullptr);
    }
}

TEST(CheckInputValue, AcceptsAnythingWhenNotAskedToCheck)
{
    platform::ui::MessageBoxRecorder boxes;
    EXPECT_EQ(CheckInputValue(L"abc", L"年齢", 10, 0, 0, 0, 0), 0);
    EXPECT_EQ(boxes.Count(), 0);
}

// The bounds belong to the range: the first and last values allowed pass
// without a box, as the patient pages check them, and one step outside is
// refused.
TEST(CheckInputValue, AValueExactlyOnEitherBoundIsAccepted)
{
    platform::ui::MessageBoxRecorder boxes;
    // A birth date on the 1st of January of the last year allowed, and the
    // first year allowed.
    EXPECT_EQ(CheckBirthDate(L"2050", L"01", L"01"), 0);
    EXPECT_EQ(CheckBirthDate(L"1900", L"1", L"1"), 0);
    EXPECT_EQ(CheckInputValue(L"2050", L"生年月日 年", 2050, 1900, 1, 0, 0), 0);
    EXPECT_EQ(CheckInputValue(L"1900", L"生年月日 年", 2050, 1900, 1, 0, 0), 0);
    EXPECT_EQ(CheckInputValue(L"1", L"生年月日 月", 12.1f, 1, 1, 0, 0), 0);
    EXPECT_EQ(CheckInputValue(L"1", L"生年月日 日", 31.1f, 1, 1, 0, 0), 0);
    // Ages from 0 to 1000 (sub-age to 100), decimals on their bounds too.
    EXPECT_EQ(CheckAges(L"1000", L"100", false), 0);
    EXPECT_EQ(CheckAges(L"0", L"0", false), 0);
    EXPECT_EQ(CheckInputValue(L"2.5", L"被検者情報の身長", 7.5f, 2.5f, 1, 1, 0), 0);
    EXPECT_EQ(CheckInputValue(L"7.5", L"被検者情報の身長", 7.5f, 2.5f, 1, 1, 0), 0);
    EXPECT_EQ(boxes.Count(), 0);

    EXPECT_EQ(CheckBirthDate(L"2051", L"01", L"01"), 255);
    EXPECT_EQ(CheckAges(L"1001", L"0", false), 255);
    EXPECT_EQ(CheckInputValue(L"2.4", L"被検者情報の身長", 7.5f, 2.5f, 1, 1, 0), 255);
    EXPECT_EQ(boxes.Count(), 3);
}
