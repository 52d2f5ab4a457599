// The checks both patient pages run: the birthday as one date, and the
// trip counts of ordinary and model-8000 records.
#include <gtest/gtest.h>

#include "dialogs/PatientPageFields.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"

namespace {

struct DateCase {
    const wchar_t* year;
    const wchar_t* month;
    const wchar_t* day;
    const wchar_t* message;   // the one box shown; null: accepted without a box
};

// Edge cases in order: nothing typed, an unread date, real and unreal days,
// then each part out of its range (the first part that fails names itself).
const DateCase kDates[] = {
    {L"", L"", L"", nullptr},
    {L"0", L"0", L"0", nullptr},
    {L"****", L"**", L"**", nullptr},
    {L"1980", L"**", L"15", nullptr},
    {L"2024", L"02", L"29", nullptr},
    {L"2023", L"02", L"29", L"生年月日 無効値です"},
    {L"2023", L"04", L"31", L"生年月日 無効値です"},
    {L"2023", L"", L"", L"生年月日 無効値です"},
    {L"1899", L"12", L"31", L"生年月日 年 must be between 1900 and 2050 ! "},
    {L"2000", L"13", L"01", L"生年月日 月 must be between 1 and 12 ! "},
    {L"2000", L"12", L"32", L"生年月日 日 must be between 1 and 31 ! "},
    {L"2000", L"1.5", L"01", L"生年月日 月 should be unsigned integer number!"},
};

}  // namespace

TEST(PatientPageFields, ABirthdayIsCheckedAsOneRealDateUnlessNothingOrStarsWereTyped)
{
    for (const DateCase& c : kDates) {
        platform::ui::MessageBoxRecorder boxes;
        const int result = CheckBirthDate(c.year, c.month, c.day);
        SCOPED_TRACE(CStringA(CString(c.year) + L"/" + c.month + L"/" + c.day).GetString());
        if (!c.message) {
            EXPECT_EQ(result, 0);
            EXPECT_EQ(boxes.Count(), 0);
            continue;
        }
        EXPECT_EQ(result, 255);
        ASSERT_EQ(boxes.Count(), 1);
        EXPECT_EQ(boxes.Last().text, c.message);
    }
}

TEST(PatientPageFields, TripCountsKeepTheirRecordersLimitsAndSkipAnUncountedTrip)
{
    struct Row {
        const wchar_t* trip;
        const wchar_t* total;
        bool b8000;
        int result;
    };
    static const Row kRows[] = {
        // trip   total   8000   result
        {L"999", L"999", false, 0},
        {L"1000", L"10", false, 255},
        {L"255", L"256", true, 0},
        {L"256", L"10", true, 255},
        {L"10", L"257", true, 255},
        {L"*", L"5000", false, 0},   // an uncounted trip is not checked at all
    };
    for (const Row& row : kRows) {
        platform::ui::MessageBoxRecorder boxes;
        EXPECT_EQ(CheckTripCounts(row.trip, row.total, L"トリップ数", row.b8000), row.result)
            << CStringA(row.trip).GetString() << " " << CStringA(row.total).GetString() << " " << row.b8000;
        EXPECT_EQ(boxes.Count(), row.result ? 1 : 0);
    }
}
