#include "platform/base/Strings.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <cwctype>

#include "platform/base/CodePage.h"

namespace {

StringResourceLoader g_stringLoader = nullptr;

const UINT kAnsiCodePage = 932;

std::wstring Widen(const char* text, size_t length)
{
    return platform::DecodeCodePage(kAnsiCodePage, text, length);
}

std::string Narrow(const wchar_t* text, size_t length)
{
    return platform::EncodeCodePage(kAnsiCodePage, text, length);
}

// ---- the formatter ---------------------------------------------------------
//
// The system's format strings follow the Windows C runtime, whose %s means
// "a string of the format's own width" and %S "of the other width". glibc
// reads %s as narrow even in wide functions, so the format is never handed
// to the C library whole: each conversion is taken apart here, strings and
// characters are placed by hand, and numbers go through snprintf one by one.

enum class Length { None, Short, Char, Long, LongLong, LongDouble, Ptr, Size, Max, Wide };

struct Conversion {
    std::string flags;
    int width = -1;
    int precision = -1;
    Length length = Length::None;
    char conv = 0;
};

template <class CharT> std::basic_string<CharT> FromAscii(const char* s, size_t n)
{
    std::basic_string<CharT> out;
    out.reserve(n);
    for (size_t i = 0; i < n; ++i) out.push_back(static_cast<CharT>(static_cast<unsigned char>(s[i])));
    return out;
}

template <class CharT> void Pad(std::basic_string<CharT>& out, const std::basic_string<CharT>& body, const Conversion& conversion)
{
    const bool left = conversion.flags.find('-') != std::string::npos;
    const size_t width = conversion.width > 0 ? static_cast<size_t>(conversion.width) : 0;
    const size_t padding = width > body.size() ? width - body.size() : 0;
    if (!left) out.append(padding, static_cast<CharT>(' '));
    out += body;
    if (left) out.append(padding, static_cast<CharT>(' '));
}

std::string NumberFormat(const Conversion& conversion, const char* lengthModifier)
{
    std::string f = "%" + conversion.flags;
    if (conversion.width >= 0) f += std::to_string(conversion.width);
    if (conversion.precision >= 0) f += "." + std::to_string(conversion.precision);
    f += lengthModifier;
    f += conversion.conv;
    return f;
}

template <class... Args> std::string SNPrintf(const std::string& format, Args... args)
{
    char small[128];
    int n = std::snprintf(small, sizeof(small), format.c_str(), args...);
    if (n < 0) return std::string();
    if (static_cast<size_t>(n) < sizeof(small)) return std::string(small, static_cast<size_t>(n));
    std::string big(static_cast<size_t>(n) + 1, '\0');
    std::snprintf(&big[0], big.size(), format.c_str(), args...);
    big.resize(static_cast<size_t>(n));
    return big;
}

// Reads one length modifier at p; returns the modifier and advances p.
template <class CharT> Length ParseLength(const CharT*& p)
{
    switch (*p) {
    case 'h':
        if (p[1] == 'h') {
            p += 2;
            return Length::Char;
        }
        ++p;
        return Length::Short;
    case 'l':
        if (p[1] == 'l') {
            p += 2;
            return Length::LongLong;
        }
        ++p;
        return Length::Long;
    case 'w': ++p; return Length::Wide;
    case 'L': ++p; return Length::LongDouble;
    case 'q': ++p; return Length::LongLong;
    case 'z': ++p; return Length::Size;
    case 't': ++p; return Length::Ptr;
    case 'j': ++p; return Length::Max;
    case 'I':
        if (p[1] == '6' && p[2] == '4') {
            p += 3;
            return Length::LongLong;
        }
        if (p[1] == '3' && p[2] == '2') {
            p += 3;
            return Length::None;
        }
        ++p;
        return Length::Ptr;
    default: return Length::None;
    }
}

template <class CharT> void AppendAscii(std::basic_string<CharT>& out, const std::string& s)
{
    out += FromAscii<CharT>(s.data(), s.size());
}

// The conversions below take their arguments through a pointer to one
// va_list, so that every one of them advances the same list.

// Adds the digits at p to value; false when the number no longer fits an int.
template <class CharT> bool ReadDigits(const CharT*& p, int& value)
{
    for (; *p >= '0' && *p <= '9'; ++p) {
        const int digit = static_cast<int>(*p - '0');
        if (value > (INT_MAX - digit) / 10) return false;
        value = value * 10 + digit;
    }
    return true;
}

// Reads the flags, width and precision of one conversion at p (just after
// its '%'), taking '*' values from the arguments; a negative '*' width means
// left alignment, as in the C library. False for a width or precision that
// does not fit an int.
template <class CharT> bool ParseWidthAndPrecision(const CharT*& p, va_list* args, Conversion& conversion)
{
    while (*p && static_cast<unsigned>(*p) < 0x80 && std::strchr("-+ #0'", static_cast<char>(*p))) conversion.flags.push_back(static_cast<char>(*p++));
    if (*p == '*') {
        conversion.width = va_arg(*args, int);
        if (conversion.width == INT_MIN) return false;
        if (conversion.width < 0) {
            conversion.flags.push_back('-');
            conversion.width = -conversion.width;
        }
        ++p;
    } else if (*p >= '0' && *p <= '9') {
        conversion.width = 0;
        if (!ReadDigits(p, conversion.width)) return false;
    }
    if (*p != '.') return true;
    ++p;
    conversion.precision = 0;
    if (*p == '*') {
        conversion.precision = va_arg(*args, int);
        ++p;
        return true;
    }
    return ReadDigits(p, conversion.precision);
}

// %d and %i: the argument is narrowed to the size its length modifier names.
template <class CharT> void FormatSigned(std::basic_string<CharT>& out, const Conversion& conversion, va_list* args)
{
    switch (conversion.length) {
    case Length::LongLong:
    case Length::Max: AppendAscii(out, SNPrintf(NumberFormat(conversion, "ll"), va_arg(*args, long long))); return;
    case Length::Long: AppendAscii(out, SNPrintf(NumberFormat(conversion, "l"), va_arg(*args, long))); return;
    case Length::Ptr:
    case Length::Size: AppendAscii(out, SNPrintf(NumberFormat(conversion, "ll"), static_cast<long long>(va_arg(*args, intptr_t)))); return;
    case Length::Short: AppendAscii(out, SNPrintf(NumberFormat(conversion, ""), static_cast<int>(static_cast<short>(va_arg(*args, int))))); return;
    case Length::Char: AppendAscii(out, SNPrintf(NumberFormat(conversion, ""), static_cast<int>(static_cast<signed char>(va_arg(*args, int))))); return;
    default: AppendAscii(out, SNPrintf(NumberFormat(conversion, ""), va_arg(*args, int))); return;
    }
}

// %u, %o, %x and %X share the unsigned argument sizes; conversion.conv picks the radix.
template <class CharT> void FormatUnsigned(std::basic_string<CharT>& out, const Conversion& conversion, va_list* args)
{
    switch (conversion.length) {
    case Length::LongLong:
    case Length::Max: AppendAscii(out, SNPrintf(NumberFormat(conversion, "ll"), va_arg(*args, unsigned long long))); return;
    case Length::Long: AppendAscii(out, SNPrintf(NumberFormat(conversion, "l"), va_arg(*args, unsigned long))); return;
    case Length::Ptr:
    case Length::Size: AppendAscii(out, SNPrintf(NumberFormat(conversion, "ll"), static_cast<unsigned long long>(va_arg(*args, uintptr_t)))); return;
    case Length::Short: AppendAscii(out, SNPrintf(NumberFormat(conversion, ""), static_cast<unsigned>(static_cast<unsigned short>(va_arg(*args, unsigned))))); return;
    case Length::Char: AppendAscii(out, SNPrintf(NumberFormat(conversion, ""), static_cast<unsigned>(static_cast<unsigned char>(va_arg(*args, unsigned))))); return;
    default: AppendAscii(out, SNPrintf(NumberFormat(conversion, ""), va_arg(*args, unsigned))); return;
    }
}

// %e, %f, %g and %a (either case); only L selects long double.
template <class CharT> void FormatFloat(std::basic_string<CharT>& out, const Conversion& conversion, va_list* args)
{
    if (conversion.length == Length::LongDouble) {
        AppendAscii(out, SNPrintf(NumberFormat(conversion, "L"), va_arg(*args, long double)));
        return;
    }
    AppendAscii(out, SNPrintf(NumberFormat(conversion, ""), va_arg(*args, double)));
}

// %p prints every digit of the address in upper case, as the Windows runtime does.
template <class CharT> void FormatPointer(std::basic_string<CharT>& out, const Conversion& conversion, va_list* args)
{
    Conversion ptrSpec = conversion;
    ptrSpec.conv = 'X';
    ptrSpec.flags = "0";
    ptrSpec.width = static_cast<int>(sizeof(void*) * 2);
    ptrSpec.precision = -1;
    AppendAscii(out, SNPrintf(NumberFormat(ptrSpec, "ll"), static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(va_arg(*args, void*)))));
}

// Whether a %c/%s (or %C/%S) argument is wide: the lower-case letter takes the
// format's own width, the upper-case one the other; h and l/w choose outright.
template <class CharT> bool TakesWideArgument(const Conversion& conversion)
{
    constexpr bool kWide = sizeof(CharT) == sizeof(wchar_t);
    if (conversion.length == Length::Short) return false;
    if (conversion.length == Length::Long || conversion.length == Length::Wide) return true;
    return (conversion.conv == 'c' || conversion.conv == 's') == kWide;
}

template <class CharT> void FormatChar(std::basic_string<CharT>& out, const Conversion& conversion, va_list* args)
{
    constexpr bool kWide = sizeof(CharT) == sizeof(wchar_t);
    std::basic_string<CharT> body;
    if (TakesWideArgument<CharT>(conversion)) {
        wchar_t wc = static_cast<wchar_t>(va_arg(*args, wint_t));
        if constexpr (kWide) {
            body.push_back(static_cast<CharT>(wc));
        } else {
            std::string n = Narrow(&wc, 1);
            body.assign(n.begin(), n.end());
        }
    } else {
        char c = static_cast<char>(va_arg(*args, int));
        if constexpr (kWide) {
            std::wstring w = Widen(&c, 1);
            for (wchar_t x : w) body.push_back(static_cast<CharT>(x));
        } else {
            body.push_back(static_cast<CharT>(c));
        }
    }
    Pad(out, body, conversion);
}

// The precision of a string counts characters of the result: a narrow string
// going into a wide one is cut after it is decoded, never inside a
// two-byte character.
template <class CharT> void FormatString(std::basic_string<CharT>& out, const Conversion& conversion, va_list* args)
{
    constexpr bool kWide = sizeof(CharT) == sizeof(wchar_t);
    std::basic_string<CharT> body;
    if (TakesWideArgument<CharT>(conversion)) {
        const wchar_t* s = va_arg(*args, const wchar_t*);
        if (!s) s = L"(null)";
        size_t n = std::wcslen(s);
        if (conversion.precision >= 0) n = std::min(n, static_cast<size_t>(conversion.precision));
        if constexpr (kWide) {
            body.assign(reinterpret_cast<const CharT*>(s), n);
        } else {
            std::string narrow = Narrow(s, n);
            body.assign(narrow.begin(), narrow.end());
        }
    } else {
        const char* s = va_arg(*args, const char*);
        if (!s) s = "(null)";
        size_t n = std::strlen(s);
        if (conversion.precision >= 0 && !kWide) n = std::min(n, static_cast<size_t>(conversion.precision));
        if constexpr (kWide) {
            std::wstring w = Widen(s, n);
            if (conversion.precision >= 0 && w.size() > static_cast<size_t>(conversion.precision)) w.resize(conversion.precision);
            for (wchar_t x : w) body.push_back(static_cast<CharT>(x));
        } else {
            body.assign(s, n);
        }
    }
    Pad(out, body, conversion);
}

// %n would write the count through a caller's pointer, which is never wanted
// here: its argument is taken and dropped. An unknown conversion is copied as
// it stands.
template <class CharT> void FormatConversion(std::basic_string<CharT>& out, const Conversion& conversion, va_list* args)
{
    switch (conversion.conv) {
    case 'd':
    case 'i': FormatSigned(out, conversion, args); return;
    case 'u':
    case 'o':
    case 'x':
    case 'X': FormatUnsigned(out, conversion, args); return;
    case 'e':
    case 'E':
    case 'f':
    case 'F':
    case 'g':
    case 'G':
    case 'a':
    case 'A': FormatFloat(out, conversion, args); return;
    case 'p': FormatPointer(out, conversion, args); return;
    case 'c':
    case 'C': FormatChar(out, conversion, args); return;
    case 's':
    case 'S': FormatString(out, conversion, args); return;
    case 'n': (void)va_arg(*args, void*); return;
    default:
        out.push_back(static_cast<CharT>('%'));
        out.push_back(static_cast<CharT>(conversion.conv));
        return;
    }
}

template <class CharT> std::basic_string<CharT> FormatArgs(const CharT* format, va_list args)
{
    std::basic_string<CharT> out;
    if (!format) return out;
    va_list list;
    va_copy(list, args);
    const CharT* p = format;
    while (*p) {
        if (*p != '%') {
            out.push_back(*p++);
            continue;
        }
        ++p;
        if (*p == '%') {  // "%%" is a plain percent sign
            out.push_back(*p++);
            continue;
        }
        // A broken conversion ends the text, as a format ending inside one does.
        Conversion conversion;
        if (!ParseWidthAndPrecision(p, &list, conversion)) break;
        conversion.length = ParseLength(p);
        if (!*p) break;
        conversion.conv = static_cast<char>(*p++);
        FormatConversion(out, conversion, &list);
    }
    va_end(list);
    return out;
}

template <class Str> int ClampIndex(const Str& s, int i)
{
    if (i < 0) return 0;
    return std::min(i, static_cast<int>(s.size()));
}

bool InSet(wchar_t c, LPCWSTR set)
{
    return set && std::wcschr(set, c) != nullptr && c != 0;
}

int FoldCompare(const std::wstring& a, LPCWSTR b)
{
    if (!b) b = L"";
    size_t i = 0;
    for (;; ++i) {
        wint_t ca = i < a.size() ? std::towlower(a[i]) : 0;
        wint_t cb = std::towlower(b[i]);
        if (i >= a.size() && b[i] == 0) return 0;
        if (i >= a.size()) return -1;
        if (b[i] == 0) return 1;
        if (ca != cb) return ca < cb ? -1 : 1;
    }
}

}  // namespace

void SetStringResourceLoader(StringResourceLoader loader)
{
    g_stringLoader = loader;
}

// ---- CString -----------------------------------------------------------------

CString::CString(LPCWSTR text) : m_str(text ? text : L"") {}

CString::CString(LPCWSTR text, int length)
{
    if (text && length > 0) m_str.assign(text, static_cast<size_t>(length));
}

CString::CString(wchar_t ch, int repeat)
{
    if (repeat > 0) m_str.assign(static_cast<size_t>(repeat), ch);
}

CString::CString(LPCSTR text)
{
    if (text) m_str = Widen(text, std::strlen(text));
}

CString::CString(const CStringA& text) : m_str(Widen(text.GetString(), static_cast<size_t>(text.GetLength()))) {}

CString& CString::operator=(LPCWSTR text)
{
    m_str = text ? text : L"";
    return *this;
}

CString& CString::operator=(wchar_t ch)
{
    m_str.assign(1, ch);
    return *this;
}

CString& CString::operator=(LPCSTR text)
{
    m_str = text ? Widen(text, std::strlen(text)) : std::wstring();
    return *this;
}

CString& CString::operator=(const CStringA& text)
{
    m_str = Widen(text.GetString(), static_cast<size_t>(text.GetLength()));
    return *this;
}

wchar_t CString::GetAt(int index) const
{
    if (index < 0 || index >= GetLength()) return 0;
    return m_str[static_cast<size_t>(index)];
}

void CString::SetAt(int index, wchar_t ch)
{
    if (index < 0 || index >= GetLength()) return;
    m_str[static_cast<size_t>(index)] = ch;
}

LPWSTR CString::GetBuffer(int minLength)
{
    if (minLength > GetLength()) m_str.resize(static_cast<size_t>(minLength), L'\0');
    return &m_str[0];
}

LPWSTR CString::GetBufferSetLength(int length)
{
    m_str.resize(static_cast<size_t>(std::max(length, 0)), L'\0');
    return &m_str[0];
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0) {
        m_str.resize(std::wcslen(m_str.c_str()));
        return;
    }
    m_str.resize(std::min(static_cast<size_t>(newLength), m_str.size()));
}

CString& CString::operator+=(const CString& text)
{
    m_str += text.m_str;
    return *this;
}

CString& CString::operator+=(LPCWSTR text)
{
    if (text) m_str += text;
    return *this;
}

CString& CString::operator+=(wchar_t ch)
{
    m_str.push_back(ch);
    return *this;
}

CString& CString::operator+=(LPCSTR text)
{
    if (text) m_str += Widen(text, std::strlen(text));
    return *this;
}

void CString::Append(LPCWSTR text, int length)
{
    if (text && length > 0) m_str.append(text, static_cast<size_t>(length));
}

int CString::Compare(LPCWSTR text) const
{
    int r = std::wcscmp(m_str.c_str(), text ? text : L"");
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CString::CompareNoCase(LPCWSTR text) const
{
    return FoldCompare(m_str, text);
}

CString CString::Mid(int first) const
{
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const
{
    first = ClampIndex(m_str, first);
    if (count < 0) count = 0;
    count = std::min(count, GetLength() - first);
    return CString(m_str.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CString CString::Left(int count) const
{
    return Mid(0, count);
}

CString CString::Right(int count) const
{
    count = ClampIndex(m_str, count);
    return Mid(GetLength() - count, count);
}

CString CString::SpanIncluding(LPCWSTR charSet) const
{
    size_t n = 0;
    while (n < m_str.size() && InSet(m_str[n], charSet)) ++n;
    return Left(static_cast<int>(n));
}

CString CString::SpanExcluding(LPCWSTR charSet) const
{
    size_t n = 0;
    while (n < m_str.size() && !InSet(m_str[n], charSet)) ++n;
    return Left(static_cast<int>(n));
}

CString CString::Tokenize(LPCWSTR delimiters, int& start) const
{
    if (start < 0) return CString();
    size_t i = static_cast<size_t>(start);
    while (i < m_str.size() && InSet(m_str[i], delimiters)) ++i;
    if (i >= m_str.size()) {
        start = -1;
        return CString();
    }
    size_t end = i;
    while (end < m_str.size() && !InSet(m_str[end], delimiters)) ++end;
    start = static_cast<int>(std::min(end + 1, m_str.size() + 1));
    return CString(m_str.substr(i, end - i));
}

CString& CString::MakeUpper()
{
    for (auto& c : m_str) c = static_cast<wchar_t>(std::towupper(c));
    return *this;
}

CString& CString::MakeLower()
{
    for (auto& c : m_str) c = static_cast<wchar_t>(std::towlower(c));
    return *this;
}

CString& CString::MakeReverse()
{
    std::reverse(m_str.begin(), m_str.end());
    return *this;
}

int CString::Replace(wchar_t oldCh, wchar_t newCh)
{
    int count = 0;
    for (auto& c : m_str) {
        if (c == oldCh) {
            c = newCh;
            ++count;
        }
    }
    return count;
}

int CString::Replace(LPCWSTR oldText, LPCWSTR newText)
{
    if (!oldText || !*oldText) return 0;
    const std::wstring from(oldText), to(newText ? newText : L"");
    int count = 0;
    size_t pos = 0;
    while ((pos = m_str.find(from, pos)) != std::wstring::npos) {
        m_str.replace(pos, from.size(), to);
        pos += to.size();
        ++count;
    }
    return count;
}

int CString::Remove(wchar_t ch)
{
    const size_t before = m_str.size();
    m_str.erase(std::remove(m_str.begin(), m_str.end(), ch), m_str.end());
    return static_cast<int>(before - m_str.size());
}

int CString::Insert(int index, wchar_t ch)
{
    index = ClampIndex(m_str, index);
    m_str.insert(m_str.begin() + index, ch);
    return GetLength();
}

int CString::Insert(int index, LPCWSTR text)
{
    index = ClampIndex(m_str, index);
    if (text) m_str.insert(static_cast<size_t>(index), text);
    return GetLength();
}

int CString::Delete(int index, int count)
{
    index = ClampIndex(m_str, index);
    if (count > 0) m_str.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    return GetLength();
}

CString& CString::Trim()
{
    return TrimRight().TrimLeft();
}

CString& CString::Trim(wchar_t target)
{
    return TrimRight(target).TrimLeft(target);
}

CString& CString::Trim(LPCWSTR targets)
{
    return TrimRight(targets).TrimLeft(targets);
}

CString& CString::TrimLeft()
{
    size_t n = 0;
    while (n < m_str.size() && std::iswspace(m_str[n])) ++n;
    m_str.erase(0, n);
    return *this;
}

CString& CString::TrimLeft(wchar_t target)
{
    size_t n = 0;
    while (n < m_str.size() && m_str[n] == target) ++n;
    m_str.erase(0, n);
    return *this;
}

CString& CString::TrimLeft(LPCWSTR targets)
{
    size_t n = 0;
    while (n < m_str.size() && InSet(m_str[n], targets)) ++n;
    m_str.erase(0, n);
    return *this;
}

CString& CString::TrimRight()
{
    while (!m_str.empty() && std::iswspace(m_str.back())) m_str.pop_back();
    return *this;
}

CString& CString::TrimRight(wchar_t target)
{
    while (!m_str.empty() && m_str.back() == target) m_str.pop_back();
    return *this;
}

CString& CString::TrimRight(LPCWSTR targets)
{
    while (!m_str.empty() && InSet(m_str.back(), targets)) m_str.pop_back();
    return *this;
}

void CString::Truncate(int length)
{
    if (length >= 0 && length < GetLength()) m_str.resize(static_cast<size_t>(length));
}

int CString::Find(wchar_t ch, int start) const
{
    if (start < 0 || start >= GetLength()) return -1;
    size_t pos = m_str.find(ch, static_cast<size_t>(start));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(LPCWSTR text, int start) const
{
    if (!text || start < 0 || start > GetLength()) return -1;
    size_t pos = m_str.find(text, static_cast<size_t>(start));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::ReverseFind(wchar_t ch) const
{
    size_t pos = m_str.rfind(ch);
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::FindOneOf(LPCWSTR charSet) const
{
    if (!charSet) return -1;
    size_t pos = m_str.find_first_of(charSet);
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

void CString::Format(LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::FormatV(LPCWSTR format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    m_str = FormatArgs<wchar_t>(format, copy);
    va_end(copy);
}

void CString::AppendFormat(LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    AppendFormatV(format, args);
    va_end(args);
}

void CString::AppendFormatV(LPCWSTR format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    m_str += FormatArgs<wchar_t>(format, copy);
    va_end(copy);
}

BOOL CString::LoadString(UINT id)
{
    m_str.clear();
    if (!g_stringLoader) return FALSE;
    CString text;
    if (!g_stringLoader(id, text)) return FALSE;
    m_str = text.m_str;
    return TRUE;
}

CString operator+(const CString& a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}

CString operator+(const CString& a, LPCWSTR b)
{
    CString r(a);
    r += b;
    return r;
}

CString operator+(LPCWSTR a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}

CString operator+(const CString& a, wchar_t b)
{
    CString r(a);
    r += b;
    return r;
}

CString operator+(wchar_t a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}

bool operator==(const CString& a, const CString& b) { return a.str() == b.str(); }
bool operator==(const CString& a, LPCWSTR b) { return a.Compare(b) == 0; }
bool operator==(LPCWSTR a, const CString& b) { return b.Compare(a) == 0; }
bool operator!=(const CString& a, const CString& b) { return !(a == b); }
bool operator!=(const CString& a, LPCWSTR b) { return !(a == b); }
bool operator!=(LPCWSTR a, const CString& b) { return !(a == b); }
bool operator<(const CString& a, const CString& b) { return a.Compare(b) < 0; }
bool operator>(const CString& a, const CString& b) { return a.Compare(b) > 0; }
bool operator<=(const CString& a, const CString& b) { return a.Compare(b) <= 0; }
bool operator>=(const CString& a, const CString& b) { return a.Compare(b) >= 0; }

// ---- CStringA ---------------------------------------------------------------

CStringA::CStringA(LPCSTR text) : m_str(text ? text : "") {}

CStringA::CStringA(LPCSTR text, int length)
{
    if (text && length > 0) m_str.assign(text, static_cast<size_t>(length));
}

CStringA::CStringA(char ch, int repeat)
{
    if (repeat > 0) m_str.assign(static_cast<size_t>(repeat), ch);
}

CStringA::CStringA(LPCWSTR text)
{
    if (text) m_str = Narrow(text, std::wcslen(text));
}

CStringA::CStringA(const CString& text) : m_str(Narrow(text.GetString(), static_cast<size_t>(text.GetLength()))) {}

CStringA& CStringA::operator=(LPCSTR text)
{
    m_str = text ? text : "";
    return *this;
}

CStringA& CStringA::operator=(LPCWSTR text)
{
    m_str = text ? Narrow(text, std::wcslen(text)) : std::string();
    return *this;
}

CStringA& CStringA::operator=(const CString& text)
{
    m_str = Narrow(text.GetString(), static_cast<size_t>(text.GetLength()));
    return *this;
}

char CStringA::GetAt(int index) const
{
    if (index < 0 || index >= GetLength()) return 0;
    return m_str[static_cast<size_t>(index)];
}

LPSTR CStringA::GetBuffer(int minLength)
{
    if (minLength > GetLength()) m_str.resize(static_cast<size_t>(minLength), '\0');
    return &m_str[0];
}

void CStringA::ReleaseBuffer(int newLength)
{
    if (newLength < 0) {
        m_str.resize(std::strlen(m_str.c_str()));
        return;
    }
    m_str.resize(std::min(static_cast<size_t>(newLength), m_str.size()));
}

CStringA& CStringA::operator+=(const CStringA& text)
{
    m_str += text.m_str;
    return *this;
}

CStringA& CStringA::operator+=(LPCSTR text)
{
    if (text) m_str += text;
    return *this;
}

CStringA& CStringA::operator+=(char ch)
{
    m_str.push_back(ch);
    return *this;
}

int CStringA::Compare(LPCSTR text) const
{
    int r = std::strcmp(m_str.c_str(), text ? text : "");
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CStringA::CompareNoCase(LPCSTR text) const
{
    if (!text) text = "";
    for (size_t i = 0;; ++i) {
        int a = i < m_str.size() ? std::tolower(static_cast<unsigned char>(m_str[i])) : 0;
        int b = std::tolower(static_cast<unsigned char>(text[i]));
        if (a != b) return a < b ? -1 : 1;
        if (a == 0) return 0;
    }
}

CStringA CStringA::Mid(int first) const
{
    return Mid(first, GetLength());
}

CStringA CStringA::Mid(int first, int count) const
{
    first = ClampIndex(m_str, first);
    if (count < 0) count = 0;
    count = std::min(count, GetLength() - first);
    return CStringA(m_str.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
}

CStringA CStringA::Left(int count) const
{
    return Mid(0, count);
}

CStringA CStringA::Right(int count) const
{
    count = ClampIndex(m_str, count);
    return Mid(GetLength() - count, count);
}

int CStringA::Find(char ch, int start) const
{
    if (start < 0 || start >= GetLength()) return -1;
    size_t pos = m_str.find(ch, static_cast<size_t>(start));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CStringA::Find(LPCSTR text, int start) const
{
    if (!text || start < 0 || start > GetLength()) return -1;
    size_t pos = m_str.find(text, static_cast<size_t>(start));
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

int CStringA::ReverseFind(char ch) const
{
    size_t pos = m_str.rfind(ch);
    return pos == std::string::npos ? -1 : static_cast<int>(pos);
}

CStringA& CStringA::MakeUpper()
{
    for (auto& c : m_str) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return *this;
}

CStringA& CStringA::MakeLower()
{
    for (auto& c : m_str) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return *this;
}

CStringA& CStringA::Trim()
{
    return TrimRight().TrimLeft();
}

CStringA& CStringA::TrimLeft()
{
    size_t n = 0;
    while (n < m_str.size() && std::isspace(static_cast<unsigned char>(m_str[n]))) ++n;
    m_str.erase(0, n);
    return *this;
}

CStringA& CStringA::TrimRight()
{
    while (!m_str.empty() && std::isspace(static_cast<unsigned char>(m_str.back()))) m_str.pop_back();
    return *this;
}

int CStringA::Replace(LPCSTR oldText, LPCSTR newText)
{
    if (!oldText || !*oldText) return 0;
    const std::string from(oldText), to(newText ? newText : "");
    int count = 0;
    size_t pos = 0;
    while ((pos = m_str.find(from, pos)) != std::string::npos) {
        m_str.replace(pos, from.size(), to);
        pos += to.size();
        ++count;
    }
    return count;
}

void CStringA::Format(LPCSTR format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CStringA::FormatV(LPCSTR format, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    m_str = FormatArgs<char>(format, copy);
    va_end(copy);
}

CStringA operator+(const CStringA& a, const CStringA& b)
{
    CStringA r(a);
    r += b;
    return r;
}

CStringA operator+(const CStringA& a, LPCSTR b)
{
    CStringA r(a);
    r += b;
    return r;
}

CStringA operator+(LPCSTR a, const CStringA& b)
{
    CStringA r(a);
    r += b;
    return r;
}

bool operator==(const CStringA& a, const CStringA& b) { return a.str() == b.str(); }
bool operator==(const CStringA& a, LPCSTR b) { return a.Compare(b) == 0; }
bool operator!=(const CStringA& a, const CStringA& b) { return !(a == b); }
bool operator!=(const CStringA& a, LPCSTR b) { return !(a == b); }
bool operator<(const CStringA& a, const CStringA& b) { return a.Compare(b) < 0; }
