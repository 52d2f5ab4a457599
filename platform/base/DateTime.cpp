#include "platform/base/DateTime.h"

#include <cmath>
#include <cwctype>
#include <string>

namespace {

// Days between 1970-01-01 and the OLE epoch 1899-12-30.
const long long kOleEpochUnixDays = -25569;
const long long kSecondsPerDay = 86400;
// The whole days OLE accepts: 100-01-01 .. 9999-12-31.
const double kMinOleDay = -657434.0;
const double kMaxOleDay = 2958465.0;

const wchar_t* const kShortDays[] = {L"Sun", L"Mon", L"Tue", L"Wed", L"Thu", L"Fri", L"Sat"};
const wchar_t* const kLongDays[] = {L"Sunday", L"Monday", L"Tuesday", L"Wednesday",
                                    L"Thursday", L"Friday", L"Saturday"};
const wchar_t* const kShortMonths[] = {L"Jan", L"Feb", L"Mar", L"Apr", L"May", L"Jun",
                                       L"Jul", L"Aug", L"Sep", L"Oct", L"Nov", L"Dec"};
const wchar_t* const kLongMonths[] = {L"January", L"February", L"March",     L"April",   L"May",      L"June",
                                      L"July",    L"August",   L"September", L"October", L"November", L"December"};

struct DateFields {
    int year;
    int month;       // 1..12
    int day;         // 1..31
    int hour;
    int minute;
    int second;
    int dayOfWeek;   // 0 = Sunday
    int dayOfYear;   // 1 = 1 January
};

bool IsLeapYear(long long year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(long long year, int month)
{
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month == 2 && IsLeapYear(year)) return 29;
    return kDays[month - 1];
}

// Proleptic Gregorian calendar <-> days since 1970-01-01 (H. Hinnant's algorithms).
long long DaysFromCivil(long long year, int month, int day)
{
    year -= month <= 2;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(long long days, int& year, int& month, int& day)
{
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long mp = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2));
}

int DayOfWeekFromUnixDays(long long days)
{
    return static_cast<int>(((days % 7) + 7 + 4) % 7);   // 1970-01-01 was a Thursday
}

bool IsValidOleParts(int year, int month, int day, int hour, int minute, int second)
{
    if (year < 100 || year > 9999) return false;
    if (month < 1 || month > 12) return false;
    if (day < 1 || day > DaysInMonth(year, month)) return false;
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59) return false;
    return second >= 0 && second <= 59;
}

// OLE's representation is not monotonic below zero; arithmetic and comparison
// work on the plain count of days instead.
double DateToLinear(DATE dt)
{
    const double day = std::trunc(dt);
    return day + std::fabs(dt - day);
}

DATE LinearToDate(double linear)
{
    const double day = std::floor(linear);
    if (day >= 0) return linear;
    return day - (linear - day);
}

DATE OleFromParts(int year, int month, int day, int hour, int minute, int second)
{
    const double days = static_cast<double>(DaysFromCivil(year, month, day) - kOleEpochUnixDays);
    const double fraction = (hour * 3600.0 + minute * 60.0 + second) / static_cast<double>(kSecondsPerDay);
    return days >= 0 ? days + fraction : days - fraction;
}

bool IsOleDateInRange(DATE dt)
{
    return std::isfinite(dt) && dt > kMinOleDay - 1.0 && dt < kMaxOleDay + 1.0;
}

bool FieldsFromOle(DATE dt, DateFields& fields)
{
    if (!IsOleDateInRange(dt)) return false;
    const double wholeDay = std::trunc(dt);
    long long days = static_cast<long long>(wholeDay);
    long long seconds = std::llround(std::fabs(dt - wholeDay) * static_cast<double>(kSecondsPerDay));
    if (seconds >= kSecondsPerDay) {
        seconds -= kSecondsPerDay;
        ++days;
    }
    const long long unixDays = days + kOleEpochUnixDays;
    CivilFromDays(unixDays, fields.year, fields.month, fields.day);
    if (fields.year < 100 || fields.year > 9999) return false;
    fields.hour = static_cast<int>(seconds / 3600);
    fields.minute = static_cast<int>(seconds / 60 % 60);
    fields.second = static_cast<int>(seconds % 60);
    fields.dayOfWeek = DayOfWeekFromUnixDays(unixDays);
    fields.dayOfYear = static_cast<int>(unixDays - DaysFromCivil(fields.year, 1, 1) + 1);
    return true;
}

DateFields FieldsFromTm(const struct tm& tmValue)
{
    return DateFields{tmValue.tm_year + 1900, tmValue.tm_mon + 1, tmValue.tm_mday, tmValue.tm_hour,
                      tmValue.tm_min,         tmValue.tm_sec,     tmValue.tm_wday, tmValue.tm_yday + 1};
}

void AppendNumber(std::wstring& out, long long value, int width, bool pad)
{
    std::wstring digits = std::to_wstring(value < 0 ? -value : value);
    if (pad && static_cast<int>(digits.size()) < width) digits.insert(0, width - digits.size(), L'0');
    if (value < 0) out += L'-';
    out += digits;
}

// One conversion of the strftime-like language; false for an unknown code.
bool AppendField(std::wstring& out, const DateFields& f, wchar_t code, bool pad)
{
    switch (code) {
    case L'Y': AppendNumber(out, f.year, 4, false); return true;
    case L'y': AppendNumber(out, f.year % 100, 2, pad); return true;
    case L'm': AppendNumber(out, f.month, 2, pad); return true;
    case L'd': AppendNumber(out, f.day, 2, pad); return true;
    case L'H': AppendNumber(out, f.hour, 2, pad); return true;
    case L'I': AppendNumber(out, f.hour % 12 == 0 ? 12 : f.hour % 12, 2, pad); return true;
    case L'M': AppendNumber(out, f.minute, 2, pad); return true;
    case L'S': AppendNumber(out, f.second, 2, pad); return true;
    case L'j': AppendNumber(out, f.dayOfYear, 3, pad); return true;
    case L'w': AppendNumber(out, f.dayOfWeek, 1, pad); return true;
    case L'p': out += f.hour < 12 ? L"AM" : L"PM"; return true;
    case L'a': out += kShortDays[f.dayOfWeek]; return true;
    case L'A': out += kLongDays[f.dayOfWeek]; return true;
    case L'b': out += kShortMonths[f.month - 1]; return true;
    case L'B': out += kLongMonths[f.month - 1]; return true;
    case L'%': out += L'%'; return true;
    default: return false;
    }
}

std::wstring FormatFields(const DateFields& fields, LPCWSTR format)
{
    std::wstring out;
    if (!format) return out;
    for (const wchar_t* p = format; *p; ++p) {
        if (*p != L'%') {
            out += *p;
            continue;
        }
        const wchar_t* start = p;
        bool pad = true;
        if (p[1] == L'#') {
            pad = false;
            ++p;
        }
        if (!p[1]) {
            out.append(start, p + 1);
            break;
        }
        ++p;
        if (!AppendField(out, fields, *p, pad)) out.append(start, p + 1);   // unknown codes stay as written
    }
    return out;
}

// Span formatting shares the shape but has its own codes.
std::wstring FormatSpan(long long days, long long hours, long long minutes, long long seconds, LPCWSTR format)
{
    std::wstring out;
    if (!format) return out;
    for (const wchar_t* p = format; *p; ++p) {
        if (*p != L'%' || !p[1]) {
            out += *p;
            continue;
        }
        ++p;
        switch (*p) {
        case L'D': AppendNumber(out, days, 1, false); break;
        case L'H': AppendNumber(out, hours, 2, true); break;
        case L'M': AppendNumber(out, minutes, 2, true); break;
        case L'S': AppendNumber(out, seconds, 2, true); break;
        case L'%': out += L'%'; break;
        default:
            out += L'%';
            out += *p;
        }
    }
    return out;
}

// A tiny cursor for ParseDateTime.
class DateScanner {
public:
    explicit DateScanner(LPCWSTR text) : m_p(text) {}

    void SkipSpaces()
    {
        while (*m_p && std::iswspace(*m_p)) ++m_p;
    }
    bool AtEnd() const { return *m_p == 0; }
    wchar_t Peek() const { return *m_p; }
    bool Accept(wchar_t ch)
    {
        if (*m_p != ch) return false;
        ++m_p;
        return true;
    }
    bool Number(int& value, int maxDigits)
    {
        int digits = 0;
        value = 0;
        while (*m_p >= L'0' && *m_p <= L'9' && digits < maxDigits) {
            value = value * 10 + (*m_p - L'0');
            ++m_p;
            ++digits;
        }
        return digits > 0 && !(*m_p >= L'0' && *m_p <= L'9');
    }

private:
    const wchar_t* m_p;
};

struct ParsedDateTime {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
};

bool ParseTimePart(DateScanner& scan, int firstNumber, ParsedDateTime& out)
{
    out.hour = firstNumber;
    if (!scan.Accept(L':') || !scan.Number(out.minute, 2)) return false;
    if (scan.Accept(L':') && !scan.Number(out.second, 2)) return false;
    return true;
}

bool ParseDateParts(LPCWSTR text, ParsedDateTime& out)
{
    DateScanner scan(text);
    scan.SkipSpaces();
    int first = 0;
    if (!scan.Number(first, 4)) return false;
    if (scan.Peek() == L':') {
        if (!ParseTimePart(scan, first, out)) return false;
    } else {
        const wchar_t separator = scan.Peek();
        if (separator != L'/' && separator != L'-') return false;
        out.year = first;
        if (!scan.Accept(separator) || !scan.Number(out.month, 2)) return false;
        if (!scan.Accept(separator) || !scan.Number(out.day, 2)) return false;
        const wchar_t next = scan.Peek();
        scan.SkipSpaces();
        if (!scan.AtEnd()) {
            if (!std::iswspace(next)) return false;
            int hour = 0;
            if (!scan.Number(hour, 2) || !ParseTimePart(scan, hour, out)) return false;
        }
    }
    scan.SkipSpaces();
    return scan.AtEnd();
}

}  // namespace

// ---- COleDateTime ----------------------------------------------------------

COleDateTime::COleDateTime(DATE dtSrc) : m_dt(dtSrc), m_status(IsOleDateInRange(dtSrc) ? valid : invalid) {}

COleDateTime::COleDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec)
{
    SetDateTime(nYear, nMonth, nDay, nHour, nMin, nSec);
}

COleDateTime::COleDateTime(const SYSTEMTIME& systimeSrc)
{
    *this = systimeSrc;
}

COleDateTime& COleDateTime::operator=(DATE dtSrc)
{
    m_dt = dtSrc;
    m_status = IsOleDateInRange(dtSrc) ? valid : invalid;
    return *this;
}

COleDateTime& COleDateTime::operator=(const SYSTEMTIME& systimeSrc)
{
    SetDateTime(systimeSrc.wYear, systimeSrc.wMonth, systimeSrc.wDay, systimeSrc.wHour, systimeSrc.wMinute,
                systimeSrc.wSecond);
    return *this;
}

COleDateTime COleDateTime::GetCurrentTime()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    return COleDateTime(now);
}

int COleDateTime::SetDateTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec)
{
    if (!IsValidOleParts(nYear, nMonth, nDay, nHour, nMin, nSec)) {
        m_dt = 0.0;
        m_status = invalid;
        return 1;
    }
    m_dt = OleFromParts(nYear, nMonth, nDay, nHour, nMin, nSec);
    m_status = valid;
    return 0;
}

int COleDateTime::SetDate(int nYear, int nMonth, int nDay)
{
    return SetDateTime(nYear, nMonth, nDay, 0, 0, 0);
}

int COleDateTime::SetTime(int nHour, int nMin, int nSec)
{
    return SetDateTime(1899, 12, 30, nHour, nMin, nSec);
}

bool COleDateTime::GetAsSystemTime(SYSTEMTIME& sysTime) const
{
    if (m_status != valid) return false;
    return VariantTimeToSystemTime(m_dt, &sysTime) != FALSE;
}

#define MORVELANCE_OLE_FIELD(name, expr)                    \
    int COleDateTime::name() const                          \
    {                                                       \
        DateFields f;                                       \
        if (m_status != valid || !FieldsFromOle(m_dt, f)) { \
            return -1;                                      \
        }                                                   \
        return (expr);                                      \
    }
MORVELANCE_OLE_FIELD(GetYear, f.year)
MORVELANCE_OLE_FIELD(GetMonth, f.month)
MORVELANCE_OLE_FIELD(GetDay, f.day)
MORVELANCE_OLE_FIELD(GetHour, f.hour)
MORVELANCE_OLE_FIELD(GetMinute, f.minute)
MORVELANCE_OLE_FIELD(GetSecond, f.second)
MORVELANCE_OLE_FIELD(GetDayOfWeek, f.dayOfWeek + 1)
MORVELANCE_OLE_FIELD(GetDayOfYear, f.dayOfYear)
#undef MORVELANCE_OLE_FIELD

CString COleDateTime::Format(LPCWSTR pFormat) const
{
    if (m_status == null) return CString();
    DateFields f;
    if (m_status != valid || !FieldsFromOle(m_dt, f)) return CString(std::wstring(L"Invalid DateTime"));
    return CString(FormatFields(f, pFormat));
}

CString COleDateTime::Format(DWORD dwFlags) const
{
    if (m_status == null) return CString();
    DateFields f;
    if (m_status != valid || !FieldsFromOle(m_dt, f)) return CString(std::wstring(L"Invalid DateTime"));
    const bool epochDate = f.year == 1899 && f.month == 12 && f.day == 30;
    const bool midnight = f.hour == 0 && f.minute == 0 && f.second == 0;
    bool showDate = !epochDate;
    bool showTime = !midnight || epochDate;
    if (dwFlags & VAR_DATEVALUEONLY) {
        showDate = true;
        showTime = false;
    } else if (dwFlags & VAR_TIMEVALUEONLY) {
        showDate = false;
        showTime = true;
    }
    std::wstring text;
    if (showDate) text = FormatFields(f, L"%Y/%m/%d");
    if (showDate && showTime) text += L' ';
    if (showTime) text += FormatFields(f, L"%#H:%M:%S");
    return CString(text);
}

bool COleDateTime::ParseDateTime(LPCWSTR lpszDate, DWORD dwFlags)
{
    ParsedDateTime parts;
    if (!lpszDate || !ParseDateParts(lpszDate, parts)) {
        m_dt = 0.0;
        m_status = invalid;
        return false;
    }
    if (dwFlags & VAR_DATEVALUEONLY) parts.hour = parts.minute = parts.second = 0;
    if (dwFlags & VAR_TIMEVALUEONLY) {
        parts.year = 1899;
        parts.month = 12;
        parts.day = 30;
    }
    return SetDateTime(parts.year, parts.month, parts.day, parts.hour, parts.minute, parts.second) == 0;
}

bool COleDateTime::operator==(const COleDateTime& date) const
{
    return m_status == date.m_status && DateToLinear(m_dt) == DateToLinear(date.m_dt);
}

bool COleDateTime::operator<(const COleDateTime& date) const
{
    return DateToLinear(m_dt) < DateToLinear(date.m_dt);
}

COleDateTime COleDateTime::operator+(const COleDateTimeSpan& dateSpan) const
{
    COleDateTime result;
    if (m_status == invalid || dateSpan.GetStatus() == COleDateTimeSpan::invalid) {
        result.m_status = invalid;
        return result;
    }
    if (m_status == null || dateSpan.GetStatus() == COleDateTimeSpan::null) {
        result.m_status = null;
        return result;
    }
    result = LinearToDate(DateToLinear(m_dt) + dateSpan.m_span);
    return result;
}

COleDateTime COleDateTime::operator-(const COleDateTimeSpan& dateSpan) const
{
    return *this + (-dateSpan);
}

COleDateTime& COleDateTime::operator+=(const COleDateTimeSpan& dateSpan)
{
    return *this = *this + dateSpan;
}

COleDateTime& COleDateTime::operator-=(const COleDateTimeSpan& dateSpan)
{
    return *this = *this - dateSpan;
}

COleDateTimeSpan COleDateTime::operator-(const COleDateTime& date) const
{
    COleDateTimeSpan span;
    if (m_status == invalid || date.m_status == invalid) {
        span.SetStatus(COleDateTimeSpan::invalid);
        return span;
    }
    if (m_status == null || date.m_status == null) {
        span.SetStatus(COleDateTimeSpan::null);
        return span;
    }
    span.m_span = DateToLinear(m_dt) - DateToLinear(date.m_dt);
    return span;
}

// ---- COleDateTimeSpan ------------------------------------------------------

namespace {
long long SpanSeconds(double span)
{
    return std::llround(span * static_cast<double>(kSecondsPerDay));
}
}  // namespace

COleDateTimeSpan::COleDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
{
    SetDateTimeSpan(lDays, nHours, nMins, nSecs);
}

void COleDateTimeSpan::SetDateTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
{
    m_span = lDays + (nHours * 3600.0 + nMins * 60.0 + nSecs) / static_cast<double>(kSecondsPerDay);
    m_status = valid;
}

LONG COleDateTimeSpan::GetDays() const
{
    return static_cast<LONG>(SpanSeconds(m_span) / kSecondsPerDay);
}

LONG COleDateTimeSpan::GetHours() const
{
    return static_cast<LONG>(SpanSeconds(m_span) / 3600 % 24);
}

LONG COleDateTimeSpan::GetMinutes() const
{
    return static_cast<LONG>(SpanSeconds(m_span) / 60 % 60);
}

LONG COleDateTimeSpan::GetSeconds() const
{
    return static_cast<LONG>(SpanSeconds(m_span) % 60);
}

double COleDateTimeSpan::GetTotalDays() const
{
    return static_cast<double>(SpanSeconds(m_span) / kSecondsPerDay);
}

double COleDateTimeSpan::GetTotalHours() const
{
    return static_cast<double>(SpanSeconds(m_span) / 3600);
}

double COleDateTimeSpan::GetTotalMinutes() const
{
    return static_cast<double>(SpanSeconds(m_span) / 60);
}

double COleDateTimeSpan::GetTotalSeconds() const
{
    return static_cast<double>(SpanSeconds(m_span));
}

CString COleDateTimeSpan::Format(LPCWSTR pFormat) const
{
    if (m_status != valid) return CString();
    return CString(FormatSpan(GetDays(), GetHours(), GetMinutes(), GetSeconds(), pFormat));
}

bool COleDateTimeSpan::operator==(const COleDateTimeSpan& other) const
{
    return m_status == other.m_status && m_span == other.m_span;
}

namespace {
COleDateTimeSpan CombineSpans(const COleDateTimeSpan& a, const COleDateTimeSpan& b, double value)
{
    COleDateTimeSpan result(value);
    if (a.GetStatus() == COleDateTimeSpan::invalid || b.GetStatus() == COleDateTimeSpan::invalid) {
        result.SetStatus(COleDateTimeSpan::invalid);
    } else if (a.GetStatus() == COleDateTimeSpan::null || b.GetStatus() == COleDateTimeSpan::null) {
        result.SetStatus(COleDateTimeSpan::null);
    }
    return result;
}
}  // namespace

COleDateTimeSpan COleDateTimeSpan::operator+(const COleDateTimeSpan& other) const
{
    return CombineSpans(*this, other, m_span + other.m_span);
}

COleDateTimeSpan COleDateTimeSpan::operator-(const COleDateTimeSpan& other) const
{
    return CombineSpans(*this, other, m_span - other.m_span);
}

COleDateTimeSpan COleDateTimeSpan::operator-() const
{
    COleDateTimeSpan result(-m_span);
    result.m_status = m_status;
    return result;
}

// ---- CTimeSpan / CTime -----------------------------------------------------

CTimeSpan::CTimeSpan(LONG lDays, int nHours, int nMins, int nSecs)
    : m_timeSpan(static_cast<time_t>(lDays) * kSecondsPerDay + static_cast<time_t>(nHours) * 3600 +
                 static_cast<time_t>(nMins) * 60 + nSecs)
{
}

CString CTimeSpan::Format(LPCWSTR pFormat) const
{
    return CString(FormatSpan(GetDays(), GetHours(), GetMinutes(), GetSeconds(), pFormat));
}

CTime::CTime(int nYear, int nMonth, int nDay, int nHour, int nMin, int nSec, int nDST) : m_time(-1)
{
    if (nYear < 1900 || nYear > 3000 || nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > 31) return;
    if (nHour < 0 || nHour > 23 || nMin < 0 || nMin > 59 || nSec < 0 || nSec > 59) return;
    struct tm parts = {};
    parts.tm_year = nYear - 1900;
    parts.tm_mon = nMonth - 1;
    parts.tm_mday = nDay;
    parts.tm_hour = nHour;
    parts.tm_min = nMin;
    parts.tm_sec = nSec;
    parts.tm_isdst = nDST < 0 ? -1 : (nDST > 0 ? 1 : 0);
    m_time = mktime(&parts);
}

CTime::CTime(const SYSTEMTIME& st, int nDST)
    : CTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, nDST)
{
}

CTime CTime::GetCurrentTime()
{
    return CTime(time(nullptr));
}

struct tm* CTime::GetLocalTm(struct tm* ptm) const
{
    if (!ptm) return nullptr;
    return localtime_r(&m_time, ptm);
}

struct tm* CTime::GetGmtTm(struct tm* ptm) const
{
    if (!ptm) return nullptr;
    return gmtime_r(&m_time, ptm);
}

#define MORVELANCE_CTIME_FIELD(name, expr) \
    int CTime::name() const                \
    {                                      \
        struct tm t;                       \
        if (!GetLocalTm(&t)) return -1;    \
        return (expr);                     \
    }
MORVELANCE_CTIME_FIELD(GetYear, t.tm_year + 1900)
MORVELANCE_CTIME_FIELD(GetMonth, t.tm_mon + 1)
MORVELANCE_CTIME_FIELD(GetDay, t.tm_mday)
MORVELANCE_CTIME_FIELD(GetHour, t.tm_hour)
MORVELANCE_CTIME_FIELD(GetMinute, t.tm_min)
MORVELANCE_CTIME_FIELD(GetSecond, t.tm_sec)
MORVELANCE_CTIME_FIELD(GetDayOfWeek, t.tm_wday + 1)
#undef MORVELANCE_CTIME_FIELD

bool CTime::GetAsSystemTime(SYSTEMTIME& st) const
{
    struct tm t;
    if (!GetLocalTm(&t) || t.tm_year + 1900 < 1601) return false;
    st.wYear = static_cast<WORD>(t.tm_year + 1900);
    st.wMonth = static_cast<WORD>(t.tm_mon + 1);
    st.wDayOfWeek = static_cast<WORD>(t.tm_wday);
    st.wDay = static_cast<WORD>(t.tm_mday);
    st.wHour = static_cast<WORD>(t.tm_hour);
    st.wMinute = static_cast<WORD>(t.tm_min);
    st.wSecond = static_cast<WORD>(t.tm_sec);
    st.wMilliseconds = 0;
    return true;
}

CString CTime::Format(LPCWSTR pFormat) const
{
    struct tm t;
    if (!GetLocalTm(&t)) return CString();
    return CString(FormatFields(FieldsFromTm(t), pFormat));
}

CString CTime::FormatGmt(LPCWSTR pFormat) const
{
    struct tm t;
    if (!GetGmtTm(&t)) return CString();
    return CString(FormatFields(FieldsFromTm(t), pFormat));
}

// ---- free functions --------------------------------------------------------

BOOL SystemTimeToVariantTime(const SYSTEMTIME* lpSystemTime, DATE* pvtime)
{
    if (!lpSystemTime || !pvtime) return FALSE;
    const SYSTEMTIME& st = *lpSystemTime;
    if (!IsValidOleParts(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond)) return FALSE;
    *pvtime = OleFromParts(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond);
    return TRUE;
}

BOOL VariantTimeToSystemTime(DATE vtime, SYSTEMTIME* lpSystemTime)
{
    DateFields f;
    if (!lpSystemTime || !FieldsFromOle(vtime, f)) return FALSE;
    lpSystemTime->wYear = static_cast<WORD>(f.year);
    lpSystemTime->wMonth = static_cast<WORD>(f.month);
    lpSystemTime->wDayOfWeek = static_cast<WORD>(f.dayOfWeek);
    lpSystemTime->wDay = static_cast<WORD>(f.day);
    lpSystemTime->wHour = static_cast<WORD>(f.hour);
    lpSystemTime->wMinute = static_cast<WORD>(f.minute);
    lpSystemTime->wSecond = static_cast<WORD>(f.second);
    lpSystemTime->wMilliseconds = 0;
    return TRUE;
}

namespace {
void SystemTimeFromClock(SYSTEMTIME* out, bool local)
{
    if (!out) return;
    struct timespec now = {};
    clock_gettime(CLOCK_REALTIME, &now);
    struct tm t = {};
    if (local) {
        localtime_r(&now.tv_sec, &t);
    } else {
        gmtime_r(&now.tv_sec, &t);
    }
    out->wYear = static_cast<WORD>(t.tm_year + 1900);
    out->wMonth = static_cast<WORD>(t.tm_mon + 1);
    out->wDayOfWeek = static_cast<WORD>(t.tm_wday);
    out->wDay = static_cast<WORD>(t.tm_mday);
    out->wHour = static_cast<WORD>(t.tm_hour);
    out->wMinute = static_cast<WORD>(t.tm_min);
    // A leap second shows as :60 in some zones; SYSTEMTIME has no room for it.
    out->wSecond = static_cast<WORD>(t.tm_sec > 59 ? 59 : t.tm_sec);
    out->wMilliseconds = static_cast<WORD>(now.tv_nsec / 1000000);
}

// 1601-01-01 .. 1970-01-01 in 100-nanosecond ticks.
const unsigned long long kFileTimeUnixEpoch = 116444736000000000ULL;
const unsigned long long kTicksPerSecond = 10000000ULL;
const unsigned long long kMaxFileTime = 0x7FFFFFFFFFFFFFFFULL;
}  // namespace

void GetLocalTime(SYSTEMTIME* lpSystemTime)
{
    SystemTimeFromClock(lpSystemTime, true);
}

void GetSystemTime(SYSTEMTIME* lpSystemTime)
{
    SystemTimeFromClock(lpSystemTime, false);
}

DWORD GetTickCount()
{
    struct timespec now = {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const unsigned long long ms =
        static_cast<unsigned long long>(now.tv_sec) * 1000ULL + static_cast<unsigned long long>(now.tv_nsec) / 1000000ULL;
    return static_cast<DWORD>(ms);
}

BOOL FileTimeToSystemTime(const FILETIME* lpFileTime, SYSTEMTIME* lpSystemTime)
{
    if (!lpFileTime || !lpSystemTime) return FALSE;
    const unsigned long long ticks =
        (static_cast<unsigned long long>(lpFileTime->dwHighDateTime) << 32) | lpFileTime->dwLowDateTime;
    if (ticks > kMaxFileTime) return FALSE;
    const unsigned long long seconds = ticks / kTicksPerSecond;
    // Days from 1601-01-01, shifted to the Unix epoch for the calendar routine.
    const long long unixDays = static_cast<long long>(seconds / kSecondsPerDay) - 134774;
    const long long secondOfDay = static_cast<long long>(seconds % kSecondsPerDay);
    int year = 0, month = 0, day = 0;
    CivilFromDays(unixDays, year, month, day);
    lpSystemTime->wYear = static_cast<WORD>(year);
    lpSystemTime->wMonth = static_cast<WORD>(month);
    lpSystemTime->wDayOfWeek = static_cast<WORD>(DayOfWeekFromUnixDays(unixDays));
    lpSystemTime->wDay = static_cast<WORD>(day);
    lpSystemTime->wHour = static_cast<WORD>(secondOfDay / 3600);
    lpSystemTime->wMinute = static_cast<WORD>(secondOfDay / 60 % 60);
    lpSystemTime->wSecond = static_cast<WORD>(secondOfDay % 60);
    lpSystemTime->wMilliseconds = static_cast<WORD>(ticks % kTicksPerSecond / 10000);
    return TRUE;
}

BOOL SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, FILETIME* lpFileTime)
{
    if (!lpSystemTime || !lpFileTime) return FALSE;
    const SYSTEMTIME& st = *lpSystemTime;
    if (st.wYear < 1601 || st.wYear > 30827 || st.wMonth < 1 || st.wMonth > 12) return FALSE;
    if (st.wDay < 1 || st.wDay > DaysInMonth(st.wYear, st.wMonth)) return FALSE;
    if (st.wHour > 23 || st.wMinute > 59 || st.wSecond > 59 || st.wMilliseconds > 999) return FALSE;
    const long long days = DaysFromCivil(st.wYear, st.wMonth, st.wDay) + 134774;
    const unsigned long long seconds = static_cast<unsigned long long>(days) * kSecondsPerDay +
                                       st.wHour * 3600ULL + st.wMinute * 60ULL + st.wSecond;
    const unsigned long long ticks = seconds * kTicksPerSecond + st.wMilliseconds * 10000ULL;
    lpFileTime->dwLowDateTime = static_cast<DWORD>(ticks);
    lpFileTime->dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return TRUE;
}

namespace platform {
FILETIME FileTimeFromUnix(time_t seconds, long nanoseconds)
{
    const long long ticks = static_cast<long long>(seconds) * static_cast<long long>(kTicksPerSecond) +
                            nanoseconds / 100 + static_cast<long long>(kFileTimeUnixEpoch);
    const unsigned long long value = ticks < 0 ? 0 : static_cast<unsigned long long>(ticks);
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(value);
    ft.dwHighDateTime = static_cast<DWORD>(value >> 32);
    return ft;
}
}  // namespace platform
