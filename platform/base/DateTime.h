// Dates and times as the system's code uses them:
// - COleDateTime holds an OLE DATE: days since 30 December 1899 (0.0), the
//   fraction being the time of day. Before that day the integer part counts
//   backwards but the fraction still counts forwards from the start of the day,
//   so -1.25 is 29 December 1899 06:00 and -0.5 is the same instant as 0.5.
//   Valid dates run from 1 January 100 to 31 December 9999, Gregorian leap
//   years throughout (no Lotus 1900 leap day). Broken-down fields are rounded
//   to the nearest second, as OLE does.
// - CTime holds a time_t and breaks it down in the local time zone.
// - The free functions are the kernel's clock and the OLE conversions.
#pragma once

#include <ctime>

#include "platform/base/Strings.h"
#include "platform/base/WinTypes.h"

// 100-nanosecond intervals since 1 January 1601 (UTC unless a caller says otherwise).
struct _FILETIME {
    DWORD dwLowDateTime;
    DWORD dwHighDateTime;
};
typedef _FILETIME FILETIME;
typedef FILETIME* LPFILETIME;

// ParseDateTime / Format flags.
#define VAR_TIMEVALUEONLY 0x00000001u
#define VAR_DATEVALUEONLY 0x00000002u

class COleDateTimeSpan;

class COleDateTime {
public:
    enum DateTimeStatus { error = -1, valid = 0, invalid = 1, null = 2 };

    COleDateTime() : m_dt(0.0), m_status(valid) {}
    COleDateTime(DATE dtSrc);
    COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
    COleDateTime(const SYSTEMTIME& systimeSrc);

    COleDateTime& operator=(DATE dtSrc);
    COleDateTime& operator=(const SYSTEMTIME& systimeSrc);

    static COleDateTime GetCurrentTime();

    // Each returns 0 on success and 1 (with the status invalid) when a part is
    // out of range, as the framework does.
    int SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec);
    int SetDate(int nYear, int nMonth, int nDay);
    int SetTime(int nHour, int nMin, int nSec);

    DateTimeStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeStatus status) { m_status = status; }
    bool GetAsSystemTime(SYSTEMTIME& sysTime) const;

    // Each returns -1 when the value is not a valid date.
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;   // 1 = Sunday
    int GetDayOfYear() const;   // 1 = 1 January

    // strftime-like codes: %Y %m %d %H %M %S %y %b %B %a %A %j %p %I %w %%,
    // '#' after '%' drops leading zeros. English names (the C locale).
    // An invalid value formats as "Invalid DateTime", a null one as "".
    CString Format(LPCWSTR pFormat) const;
    // The Japanese locale's default form: "yyyy/MM/dd H:mm:ss", without the
    // time at midnight and without the date on 30 December 1899.
    CString Format(DWORD dwFlags = 0) const;

    // Accepts "YYYY/MM/DD", "YYYY-MM-DD", either followed by "HH:MM[:SS]", and
    // "HH:MM[:SS]" alone (date part 30 December 1899). FALSE and invalid otherwise.
    bool ParseDateTime(LPCWSTR lpszDate, DWORD dwFlags = 0);

    bool operator==(const COleDateTime& date) const;
    bool operator!=(const COleDateTime& date) const { return !(*this == date); }
    bool operator<(const COleDateTime& date) const;
    bool operator>(const COleDateTime& date) const { return date < *this; }
    bool operator<=(const COleDateTime& date) const { return !(date < *this); }
    bool operator>=(const COleDateTime& date) const { return !(*this < date); }

    COleDateTime operator+(const COleDateTimeSpan& dateSpan) const;
    COleDateTime operator-(const COleDateTimeSpan& dateSpan) const;
    COleDateTime& operator+=(const COleDateTimeSpan& dateSpan);
    COleDateTime& operator-=(const COleDateTimeSpan& dateSpan);
    COleDateTimeSpan operator-(const COleDateTime& date) const;

    operator DATE() const { return m_dt; }

    DATE m_dt;                  // OLE days since 1899-12-30 (see the top of this file)
    DateTimeStatus m_status;
};

class COleDateTimeSpan {
public:
    enum DateTimeSpanStatus { error = -1, valid = 0, invalid = 1, null = 2 };

    COleDateTimeSpan() : m_span(0.0), m_status(valid) {}
    COleDateTimeSpan(double dblSpanSrc) : m_span(dblSpanSrc), m_status(valid) {}
    COleDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);

    void SetDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);
    DateTimeSpanStatus GetStatus() const { return m_status; }
    void SetStatus(DateTimeSpanStatus status) { m_status = status; }

    // Components of the span rounded to whole seconds, each carrying the span's sign.
    LONG GetDays() const;
    LONG GetHours() const;     // 0..23 (or -23..0)
    LONG GetMinutes() const;   // 0..59
    LONG GetSeconds() const;   // 0..59
    // Totals in whole units (rounded to the second, then truncated).
    double GetTotalDays() const;
    double GetTotalHours() const;
    double GetTotalMinutes() const;
    double GetTotalSeconds() const;

    // %D days, %H %M %S components, %% percent.
    CString Format(LPCWSTR pFormat) const;

    bool operator==(const COleDateTimeSpan& other) const;
    bool operator!=(const COleDateTimeSpan& other) const { return !(*this == other); }
    bool operator<(const COleDateTimeSpan& other) const { return m_span < other.m_span; }
    bool operator>(const COleDateTimeSpan& other) const { return m_span > other.m_span; }
    bool operator<=(const COleDateTimeSpan& other) const { return m_span <= other.m_span; }
    bool operator>=(const COleDateTimeSpan& other) const { return m_span >= other.m_span; }
    COleDateTimeSpan operator+(const COleDateTimeSpan& other) const;
    COleDateTimeSpan operator-(const COleDateTimeSpan& other) const;
    COleDateTimeSpan operator-() const;
    COleDateTimeSpan& operator+=(const COleDateTimeSpan& other) { return *this = *this + other; }
    COleDateTimeSpan& operator-=(const COleDateTimeSpan& other) { return *this = *this - other; }

    operator double() const { return m_span; }

    double m_span;              // days; the fraction is part of a day
    DateTimeSpanStatus m_status;
};

class CTimeSpan {
public:
    CTimeSpan() : m_timeSpan(0) {}
    CTimeSpan(time_t time) : m_timeSpan(time) {}
    CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs);

    LONGLONG GetDays() const { return m_timeSpan / 86400; }
    LONG GetHours() const { return static_cast<LONG>((m_timeSpan / 3600) % 24); }
    LONG GetMinutes() const { return static_cast<LONG>((m_timeSpan / 60) % 60); }
    LONG GetSeconds() const { return static_cast<LONG>(m_timeSpan % 60); }
    LONGLONG GetTotalHours() const { return m_timeSpan / 3600; }
    LONGLONG GetTotalMinutes() const { return m_timeSpan / 60; }
    LONGLONG GetTotalSeconds() const { return m_timeSpan; }
    time_t GetTimeSpan() const { return m_timeSpan; }

    // %D days, %H %M %S components, %% percent.
    CString Format(LPCWSTR pFormat) const;

    bool operator==(CTimeSpan other) const { return m_timeSpan == other.m_timeSpan; }
    bool operator!=(CTimeSpan other) const { return m_timeSpan != other.m_timeSpan; }
    bool operator<(CTimeSpan other) const { return m_timeSpan < other.m_timeSpan; }
    bool operator>(CTimeSpan other) const { return m_timeSpan > other.m_timeSpan; }
    bool operator<=(CTimeSpan other) const { return m_timeSpan <= other.m_timeSpan; }
    bool operator>=(CTimeSpan other) const { return m_timeSpan >= other.m_timeSpan; }
    CTimeSpan operator+(CTimeSpan other) const { return CTimeSpan(m_timeSpan + other.m_timeSpan); }
    CTimeSpan operator-(CTimeSpan other) const { return CTimeSpan(m_timeSpan - other.m_timeSpan); }
    CTimeSpan& operator+=(CTimeSpan other) { m_timeSpan += other.m_timeSpan; return *this; }
    CTimeSpan& operator-=(CTimeSpan other) { m_timeSpan -= other.m_timeSpan; return *this; }

private:
    time_t m_timeSpan;   // seconds
};

class CTime {
public:
    CTime() : m_time(0) {}
    CTime(time_t time) : m_time(time) {}
    // Local time; nDST < 0 lets the C library decide whether daylight saving
    // applies. Parts outside the framework's ranges (year 1900.., month 1..12,
    // day 1..31, hour 0..23, minute and second 0..59) give the time -1; a day
    // past the month's end rolls over into the next month, as mktime does.
    CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST = -1);
    CTime(const SYSTEMTIME& st, int nDST = -1);

    static CTime GetCurrentTime();

    time_t GetTime() const { return m_time; }
    int GetYear() const;
    int GetMonth() const;
    int GetDay() const;
    int GetHour() const;
    int GetMinute() const;
    int GetSecond() const;
    int GetDayOfWeek() const;   // 1 = Sunday
    // Fills *ptm with the local (or UTC) breakdown and returns ptm; null when
    // ptm is null or the time cannot be broken down.
    struct tm* GetLocalTm(struct tm* ptm) const;
    struct tm* GetGmtTm(struct tm* ptm) const;
    bool GetAsSystemTime(SYSTEMTIME& st) const;

    // The same codes as COleDateTime::Format, in local time or UTC.
    CString Format(LPCWSTR pFormat) const;
    CString FormatGmt(LPCWSTR pFormat) const;

    bool operator==(CTime other) const { return m_time == other.m_time; }
    bool operator!=(CTime other) const { return m_time != other.m_time; }
    bool operator<(CTime other) const { return m_time < other.m_time; }
    bool operator>(CTime other) const { return m_time > other.m_time; }
    bool operator<=(CTime other) const { return m_time <= other.m_time; }
    bool operator>=(CTime other) const { return m_time >= other.m_time; }
    CTime operator+(CTimeSpan span) const { return CTime(m_time + span.GetTimeSpan()); }
    CTime operator-(CTimeSpan span) const { return CTime(m_time - span.GetTimeSpan()); }
    CTimeSpan operator-(CTime other) const { return CTimeSpan(m_time - other.m_time); }
    CTime& operator+=(CTimeSpan span) { m_time += span.GetTimeSpan(); return *this; }
    CTime& operator-=(CTimeSpan span) { m_time -= span.GetTimeSpan(); return *this; }

private:
    time_t m_time;   // seconds since 1970-01-01 UTC; -1 when built from invalid parts
};

// OLE conversions. Milliseconds are ignored on the way in and the result is
// rounded to the nearest second on the way out (wMilliseconds 0), as OLE does;
// FALSE for a date outside 100..9999 or a part out of range.
BOOL SystemTimeToVariantTime(const SYSTEMTIME* lpSystemTime, DATE* pvtime);
BOOL VariantTimeToSystemTime(DATE vtime, SYSTEMTIME* lpSystemTime);

// The kernel's clock. wDayOfWeek is 0 for Sunday.
void GetLocalTime(SYSTEMTIME* lpSystemTime);
void GetSystemTime(SYSTEMTIME* lpSystemTime);   // UTC
DWORD GetTickCount();                           // milliseconds since an arbitrary start; wraps after 49.7 days

// FILETIME <-> SYSTEMTIME (no time-zone change). FALSE for a FILETIME past
// year 30827 or a SYSTEMTIME part out of range (year 1601..30827).
BOOL FileTimeToSystemTime(const FILETIME* lpFileTime, SYSTEMTIME* lpSystemTime);
BOOL SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, FILETIME* lpFileTime);

namespace platform {
// Seconds since 1970-01-01 UTC <-> FILETIME, for the file layer.
FILETIME FileTimeFromUnix(time_t seconds, long nanoseconds);
}  // namespace platform
