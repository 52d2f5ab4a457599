#include <gtest/gtest.h>

#include <cmath>

#include "platform/base/DateTime.h"

namespace {

SYSTEMTIME MakeSystemTime(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
{
    SYSTEMTIME st = {};
    st.wYear = static_cast<WORD>(y);
    st.wMonth = static_cast<WORD>(mo);
    st.wDay = static_cast<WORD>(d);
    st.wHour = static_cast<WORD>(h);
    st.wMinute = static_cast<WORD>(mi);
    st.wSecond = static_cast<WORD>(s);
    st.wMilliseconds = static_cast<WORD>(ms);
    return st;
}

// Date validity, as OLE judges it (Gregorian leap years, years 100..9999).
struct ValidityCase {
    int y, mo, d, h, mi, s;
    bool valid;
};
const ValidityCase kValidity[] = {
    //  y    mo  d   h   mi  s   valid
    {2004, 2, 29, 0, 0, 0, true},     // leap year
    {2003, 2, 29, 0, 0, 0, false},    // not a leap year
    {1900, 2, 29, 0, 0, 0, false},    // century, not a leap year: OLE has no Lotus bug
    {2000, 2, 29, 0, 0, 0, true},     // divisible by 400
    {2004, 4, 31, 0, 0, 0, false},
    {2004, 13, 1, 0, 0, 0, false},
    {2004, 0, 1, 0, 0, 0, false},
    {2004, 1, 0, 0, 0, 0, false},
    {2004, 1, 32, 0, 0, 0, false},
    {0, 1, 1, 0, 0, 0, false},
    {99, 12, 31, 0, 0, 0, false},
    {100, 1, 1, 0, 0, 0, true},
    {9999, 12, 31, 23, 59, 59, true},
    {10000, 1, 1, 0, 0, 0, false},
    {2004, 1, 1, 24, 0, 0, false},
    {2004, 1, 1, 23, 60, 0, false},
    {2004, 1, 1, 23, 59, 60, false},
    {2004, 1, 1, -1, 0, 0, false},
};

TEST(OleDateTimeValidity, MatchesTheOleRulesInEveryEntryPoint)
{
    for (const ValidityCase& c : kValidity) {
        SCOPED_TRACE(testing::Message() << c.y << "-" << c.mo << "-" << c.d << " " << c.h << ":" << c.mi << ":" << c.s);
        COleDateTime date(c.y, c.mo, c.d, c.h, c.mi, c.s);
        EXPECT_EQ(c.valid ? COleDateTime::valid : COleDateTime::invalid, date.GetStatus());
        EXPECT_EQ(c.valid ? 0 : 1, COleDateTime().SetDateTime(c.y, c.mo, c.d, c.h, c.mi, c.s));
        if (c.y >= 0 && c.h >= 0) {
            DATE value = 0;
            const SYSTEMTIME st = MakeSystemTime(c.y, c.mo, c.d, c.h, c.mi, c.s);
            EXPECT_EQ(c.valid ? TRUE : FALSE, SystemTimeToVariantTime(&st, &value));
        }
        if (!c.valid) {
            EXPECT_EQ(-1, date.GetYear());
            EXPECT_EQ(-1, date.GetDayOfWeek());
        }
    }
}

TEST(OleDateTimeValues, DatesCountDaysFromTheEpochWithAForwardFraction)
{
    EXPECT_EQ(0.0, COleDateTime(1899, 12, 30, 0, 0, 0).m_dt);
    EXPECT_EQ(2.0, COleDateTime(1900, 1, 1, 0, 0, 0).m_dt);
    EXPECT_EQ(36526.0, COleDateTime(2000, 1, 1, 0, 0, 0).m_dt);
    EXPECT_EQ(0.5, COleDateTime(1899, 12, 30, 12, 0, 0).m_dt);
    EXPECT_EQ(-1.25, COleDateTime(1899, 12, 29, 6, 0, 0).m_dt);   // the fraction counts forward
    EXPECT_EQ(-1.75, COleDateTime(1899, 12, 29, 18, 0, 0).m_dt);
    EXPECT_EQ(-657434.0, COleDateTime(100, 1, 1, 0, 0, 0).m_dt);
    EXPECT_EQ(2958465.0, COleDateTime(9999, 12, 31, 0, 0, 0).m_dt);
}

TEST(OleDateTimeValues, NegativeDatesBreakDownWithAForwardFraction)
{
    SYSTEMTIME st;
    ASSERT_TRUE(VariantTimeToSystemTime(-1.25, &st));
    EXPECT_EQ(1899, st.wYear);
    EXPECT_EQ(12, st.wMonth);
    EXPECT_EQ(29, st.wDay);
    EXPECT_EQ(6, st.wHour);
    // Between -1 and 0 the day is 30 December, as for the positive twin.
    ASSERT_TRUE(VariantTimeToSystemTime(-0.5, &st));
    EXPECT_EQ(30, st.wDay);
    EXPECT_EQ(12, st.wHour);
    EXPECT_TRUE(COleDateTime(-0.5) == COleDateTime(0.5));
    EXPECT_FALSE(VariantTimeToSystemTime(-657435.0, &st));
    EXPECT_FALSE(VariantTimeToSystemTime(2958466.0, &st));
    EXPECT_FALSE(VariantTimeToSystemTime(NAN, &st));
}

TEST(OleDateTimeValues, SystemTimeRoundTripsAcrossTheWholeRange)
{
    // 2000-01-01 was a Saturday; walking by whole days keeps the week in step.
    const COleDateTime saturday(2000, 1, 1, 0, 0, 0);
    int checked = 0;
    for (long day = -657434; day <= 2958465; day += 977) {
        const int seconds = static_cast<int>((day * 7919L) % 86400L + 86400L) % 86400;
        const double fraction = seconds / 86400.0;
        const DATE value = day >= 0 ? day + fraction : day - fraction;
        SYSTEMTIME st;
        ASSERT_TRUE(VariantTimeToSystemTime(value, &st)) << value;
        EXPECT_EQ(0, st.wMilliseconds);
        EXPECT_EQ(seconds, st.wHour * 3600 + st.wMinute * 60 + st.wSecond) << value;
        const long fromSaturday = day - static_cast<long>(saturday.m_dt);
        EXPECT_EQ(((fromSaturday % 7) + 7 + 6) % 7, st.wDayOfWeek) << value;
        DATE back = 0;
        ASSERT_TRUE(SystemTimeToVariantTime(&st, &back));
        EXPECT_NEAR(value, back, 1e-9) << value;
        ++checked;
    }
    EXPECT_GT(checked, 3000);
}

TEST(OleDateTimeValues, MillisecondsIgnoredInRoundedOut)
{
    DATE withMs = 0, withoutMs = 0;
    const SYSTEMTIME a = MakeSystemTime(2010, 5, 6, 7, 8, 9, 999);
    const SYSTEMTIME b = MakeSystemTime(2010, 5, 6, 7, 8, 9, 0);
    ASSERT_TRUE(SystemTimeToVariantTime(&a, &withMs));
    ASSERT_TRUE(SystemTimeToVariantTime(&b, &withoutMs));
    EXPECT_EQ(withoutMs, withMs);

    // Out of a DATE, times round to the nearest second, across midnight too.
    SYSTEMTIME st;
    const DATE lastInstant = COleDateTime(1999, 12, 31, 23, 59, 59).m_dt + 0.6 / 86400.0;
    ASSERT_TRUE(VariantTimeToSystemTime(lastInstant, &st));
    EXPECT_EQ(2000, st.wYear);
    EXPECT_EQ(1, st.wMonth);
    EXPECT_EQ(1, st.wDay);
    EXPECT_EQ(0, st.wSecond);
    ASSERT_TRUE(VariantTimeToSystemTime(withoutMs + 0.4 / 86400.0, &st));
    EXPECT_EQ(9, st.wSecond);
}

TEST(OleDateTimeArithmetic, WorksOnRealTimeAcrossTheEpoch)
{
    const COleDateTime evening(1899, 12, 29, 18, 0, 0);   // DATE -1.75
    const COleDateTime morning(1899, 12, 29, 6, 0, 0);    // DATE -1.25
    EXPECT_TRUE(morning < evening);                        // although -1.25 > -1.75
    EXPECT_TRUE(evening > morning);

    const COleDateTime later = evening + COleDateTimeSpan(0, 12, 0, 0);
    EXPECT_EQ(0.25, later.m_dt);
    EXPECT_EQ(6, later.GetHour());
    EXPECT_NEAR(0.5, (later - evening).m_span, 1e-12);
    EXPECT_TRUE(later - COleDateTimeSpan(0, 12, 0, 0) == evening);

    COleDateTime date(2004, 2, 28, 12, 0, 0);
    date += COleDateTimeSpan(1, 0, 0, 0);
    EXPECT_EQ(29, date.GetDay());
    date += COleDateTimeSpan(1, 0, 0, 0);
    EXPECT_EQ(3, date.GetMonth());
    EXPECT_EQ(1, date.GetDay());
}

TEST(OleDateTimeArithmetic, StatusPropagates)
{
    COleDateTime invalidDate(2003, 2, 29, 0, 0, 0);
    COleDateTime nullDate;
    nullDate.SetStatus(COleDateTime::null);
    const COleDateTime good(2003, 2, 28, 0, 0, 0);
    EXPECT_EQ(COleDateTime::invalid, (invalidDate + COleDateTimeSpan(1.0)).GetStatus());
    EXPECT_EQ(COleDateTime::null, (nullDate + COleDateTimeSpan(1.0)).GetStatus());
    EXPECT_EQ(COleDateTimeSpan::invalid, (good - invalidDate).GetStatus());
    EXPECT_EQ(COleDateTimeSpan::null, (good - nullDate).GetStatus());
    // Running off the calendar's end makes the result invalid.
    EXPECT_EQ(COleDateTime::invalid, (COleDateTime(9999, 12, 31, 0, 0, 0) + COleDateTimeSpan(2.0)).GetStatus());
}

TEST(OleDateTimeSpan, ComponentsAndTotalsAgreeInEitherSign)
{
    const COleDateTimeSpan span(3, 1, 5, 0);
    EXPECT_EQ(3, span.GetDays());
    EXPECT_EQ(1, span.GetHours());
    EXPECT_EQ(5, span.GetMinutes());
    EXPECT_EQ(0, span.GetSeconds());
    EXPECT_EQ(73.0, span.GetTotalHours());
    EXPECT_EQ(3.0 * 1440 + 65, span.GetTotalMinutes());

    const COleDateTimeSpan back(-1.5);
    EXPECT_EQ(-1, back.GetDays());
    EXPECT_EQ(-12, back.GetHours());
    EXPECT_EQ(-129600.0, back.GetTotalSeconds());
    // A value a hair under a whole second counts as that second.
    EXPECT_EQ(10, COleDateTimeSpan(9.9999 / 86400.0).GetSeconds());
    EXPECT_EQ(L"3 days 01:05:00", COleDateTimeSpan(3, 1, 5, 0).Format(L"%D days %H:%M:%S"));
}

TEST(OleDateTimeFormat, EveryCodeFormatsAndUnknownCodesStay)
{
    const COleDateTime date(2004, 2, 29, 13, 5, 9);   // a Sunday
    EXPECT_EQ(L"2004-02-29 13:05:09", date.Format(L"%Y-%m-%d %H:%M:%S"));
    EXPECT_EQ(L"04 Feb February Sun Sunday 060 PM 01 0 %", date.Format(L"%y %b %B %a %A %j %p %I %w %%"));
    EXPECT_EQ(L"2/29 1:5", date.Format(L"%#m/%#d %#I:%#M"));
    EXPECT_EQ(L"%Q stays, so does the end %", date.Format(L"%Q stays, so does the end %"));
    EXPECT_EQ(L"12 AM", COleDateTime(2004, 1, 1, 0, 0, 0).Format(L"%I %p"));
    EXPECT_EQ(L"Invalid DateTime", COleDateTime(2003, 2, 29, 0, 0, 0).Format(L"%Y"));
    COleDateTime nullDate;
    nullDate.SetStatus(COleDateTime::null);
    EXPECT_EQ(L"", nullDate.Format(L"%Y"));
}

TEST(OleDateTimeFormat, DefaultFormOmitsTheEmptyPart)
{
    EXPECT_EQ(L"2004/02/29 9:05:03", COleDateTime(2004, 2, 29, 9, 5, 3).Format());
    EXPECT_EQ(L"2004/02/29", COleDateTime(2004, 2, 29, 0, 0, 0).Format());
    EXPECT_EQ(L"9:05:03", COleDateTime(1899, 12, 30, 9, 5, 3).Format());
    EXPECT_EQ(L"0:00:00", COleDateTime(0.0).Format());
    EXPECT_EQ(L"2004/02/29", COleDateTime(2004, 2, 29, 9, 5, 3).Format(VAR_DATEVALUEONLY));
    EXPECT_EQ(L"9:05:03", COleDateTime(2004, 2, 29, 9, 5, 3).Format(VAR_TIMEVALUEONLY));
}

TEST(OleDateTimeParse, AcceptsTheSystemsForms)
{
    struct Case {
        const wchar_t* text;
        int y, mo, d, h, mi, s;
    };
    const Case good[] = {
        {L"2004/02/29 13:05:09", 2004, 2, 29, 13, 5, 9},
        {L"2004/02/29", 2004, 2, 29, 0, 0, 0},
        {L"2004-02-29 13:05:09", 2004, 2, 29, 13, 5, 9},
        {L"2004-2-9", 2004, 2, 9, 0, 0, 0},
        {L"  2004/02/29   8:07  ", 2004, 2, 29, 8, 7, 0},
        {L"13:05:09", 1899, 12, 30, 13, 5, 9},
    };
    for (const Case& c : good) {
        SCOPED_TRACE(testing::Message() << c.text);
        COleDateTime date;
        ASSERT_TRUE(date.ParseDateTime(c.text));
        EXPECT_EQ(COleDateTime::valid, date.GetStatus());
        EXPECT_TRUE(date == COleDateTime(c.y, c.mo, c.d, c.h, c.mi, c.s));
    }
    const wchar_t* const bad[] = {L"2003/02/29", L"2004/13/01",          L"2004/02/29 24:00:00", L"2004/02-29",
                                  L"",           L"12:00:00 junk",       L"abc",                 L"2004/02/2913:00",
                                  L"20040/01/01", L"2004/02/29 13:05:"};
    for (const wchar_t* text : bad) {
        SCOPED_TRACE(testing::Message() << text);
        COleDateTime date(2000, 1, 1, 0, 0, 0);
        EXPECT_FALSE(date.ParseDateTime(text));
        EXPECT_EQ(COleDateTime::invalid, date.GetStatus());
    }
    COleDateTime dateOnly;
    ASSERT_TRUE(dateOnly.ParseDateTime(L"2004/02/29 13:05:09", VAR_DATEVALUEONLY));
    EXPECT_EQ(0, dateOnly.GetHour());
    EXPECT_FALSE(COleDateTime().ParseDateTime(nullptr));
}

TEST(OleDateTimeFields, DaysOfWeekCountFromSundayAndDaysOfYearFromOne)
{
    const COleDateTime leapEnd(2004, 12, 31, 0, 0, 0);
    EXPECT_EQ(366, leapEnd.GetDayOfYear());
    EXPECT_EQ(6, leapEnd.GetDayOfWeek());   // Friday; 1 is Sunday
    EXPECT_EQ(1, COleDateTime(2004, 2, 29, 0, 0, 0).GetDayOfWeek());
    EXPECT_EQ(365, COleDateTime(1900, 12, 31, 0, 0, 0).GetDayOfYear());
    SYSTEMTIME st;
    ASSERT_TRUE(COleDateTime(2004, 2, 29, 13, 5, 9).GetAsSystemTime(st));
    EXPECT_EQ(0, st.wDayOfWeek);   // SYSTEMTIME counts Sunday as 0
    EXPECT_FALSE(COleDateTime(2003, 2, 29, 0, 0, 0).GetAsSystemTime(st));
}

TEST(Time, LocalFieldsRoundTrip)
{
    const CTime noon(2004, 2, 29, 12, 34, 56);
    ASSERT_NE(-1, noon.GetTime());
    EXPECT_EQ(2004, noon.GetYear());
    EXPECT_EQ(2, noon.GetMonth());
    EXPECT_EQ(29, noon.GetDay());
    EXPECT_EQ(12, noon.GetHour());
    EXPECT_EQ(34, noon.GetMinute());
    EXPECT_EQ(56, noon.GetSecond());
    EXPECT_EQ(1, noon.GetDayOfWeek());
    EXPECT_EQ(L"2004/02/29 12:34:56 Sun", noon.Format(L"%Y/%m/%d %H:%M:%S %a"));
    EXPECT_EQ(86400, (CTime(2004, 1, 11, 12, 0, 0) - CTime(2004, 1, 10, 12, 0, 0)).GetTotalSeconds());
    SYSTEMTIME st;
    ASSERT_TRUE(noon.GetAsSystemTime(st));
    EXPECT_TRUE(CTime(st) == noon);
    struct tm parts;
    ASSERT_EQ(&parts, noon.GetLocalTm(&parts));
    EXPECT_EQ(104, parts.tm_year);
    EXPECT_EQ(nullptr, noon.GetLocalTm(nullptr));
}

TEST(Time, PartsOutOfRangeGiveMinusOneAndDaysRollOver)
{
    EXPECT_EQ(-1, CTime(1899, 12, 31, 0, 0, 0).GetTime());
    EXPECT_EQ(-1, CTime(2004, 13, 1, 0, 0, 0).GetTime());
    EXPECT_EQ(-1, CTime(2004, 1, 32, 0, 0, 0).GetTime());
    EXPECT_EQ(-1, CTime(2004, 1, 1, 0, 60, 0).GetTime());
    const CTime rolled(2003, 2, 30, 12, 0, 0);
    EXPECT_EQ(3, rolled.GetMonth());
    EXPECT_EQ(2, rolled.GetDay());
    EXPECT_EQ(L"1970-01-01 00:00:00", CTime(0).FormatGmt(L"%Y-%m-%d %H:%M:%S"));
}

TEST(TimeSpan, ComponentsAddUpToTheSpan)
{
    const CTimeSpan span(2, 3, 4, 5);
    EXPECT_EQ(2, span.GetDays());
    EXPECT_EQ(3, span.GetHours());
    EXPECT_EQ(4, span.GetMinutes());
    EXPECT_EQ(5, span.GetSeconds());
    EXPECT_EQ(51, span.GetTotalHours());
    EXPECT_EQ(L"2:03:04:05", span.Format(L"%D:%H:%M:%S"));
    EXPECT_TRUE(CTime(100) + span - span == CTime(100));
}

TEST(FileTime, ConvertsAtTheEpochsAndRejectsBadParts)
{
    FILETIME ft;
    const SYSTEMTIME origin = MakeSystemTime(1601, 1, 1);
    ASSERT_TRUE(SystemTimeToFileTime(&origin, &ft));
    EXPECT_EQ(0u, ft.dwLowDateTime);
    EXPECT_EQ(0u, ft.dwHighDateTime);
    const SYSTEMTIME unix = MakeSystemTime(1970, 1, 1, 0, 0, 0, 0);
    ASSERT_TRUE(SystemTimeToFileTime(&unix, &ft));
    EXPECT_EQ(116444736000000000ULL, (static_cast<unsigned long long>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);

    const SYSTEMTIME sample = MakeSystemTime(2004, 2, 29, 13, 5, 9, 123);
    SYSTEMTIME back;
    ASSERT_TRUE(SystemTimeToFileTime(&sample, &ft));
    ASSERT_TRUE(FileTimeToSystemTime(&ft, &back));
    EXPECT_EQ(2004, back.wYear);
    EXPECT_EQ(29, back.wDay);
    EXPECT_EQ(9, back.wSecond);
    EXPECT_EQ(123, back.wMilliseconds);
    EXPECT_EQ(0, back.wDayOfWeek);

    const SYSTEMTIME bad = MakeSystemTime(2003, 2, 29);
    EXPECT_FALSE(SystemTimeToFileTime(&bad, &ft));
    const FILETIME negative = {0u, 0x80000000u};
    EXPECT_FALSE(FileTimeToSystemTime(&negative, &back));
}

TEST(Clock, LocalTimeAgreesWithCurrentOleDate)
{
    SYSTEMTIME local;
    GetLocalTime(&local);
    const COleDateTime now = COleDateTime::GetCurrentTime();
    ASSERT_EQ(COleDateTime::valid, now.GetStatus());
    const COleDateTimeSpan apart = now - COleDateTime(local);
    EXPECT_LT(std::fabs(apart.GetTotalSeconds()), 5.0);

    SYSTEMTIME utc;
    GetSystemTime(&utc);
    EXPECT_GE(utc.wYear, 2020);
    EXPECT_LT(utc.wMilliseconds, 1000);
    EXPECT_LE(utc.wDayOfWeek, 6);
    const DWORD first = GetTickCount();
    EXPECT_GE(GetTickCount() - first, 0u);
    EXPECT_LT(GetTickCount() - first, 60000u);
}

}  // namespace
