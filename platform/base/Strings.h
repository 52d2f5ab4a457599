// CString (wide) and CStringA (narrow), with the framework's semantics:
// - Format follows the Windows conventions, not the C library's: in the wide
//   CString, %s and %c take wide arguments and %S/%hs/%hc narrow ones; in the
//   narrow CStringA it is the other way round. %I64d/%I64u/%I32d are accepted.
// - Narrow text converts to and from wide text through the system's ANSI code
//   page, which for this Japanese system is code page 932 (Shift-JIS).
// - Comparisons are ordinal (code point order); NoCase folds ASCII and the
//   Latin letters the way the C library's towlower does.
#pragma once

#include <cstdarg>
#include <string>

#include "platform/base/WinTypes.h"

class CStringA;

class CString {
public:
    CString() = default;
    CString(const CString& other) = default;
    CString(CString&& other) noexcept = default;
    CString(LPCWSTR text);
    CString(LPCWSTR text, int length);
    CString(wchar_t ch, int repeat = 1);
    CString(LPCSTR text);                 // narrow, code page 932
    CString(const CStringA& text);        // narrow, code page 932
    explicit CString(const std::wstring& text) : m_str(text) {}

    CString& operator=(const CString& other) = default;
    CString& operator=(CString&& other) noexcept = default;
    CString& operator=(LPCWSTR text);
    CString& operator=(wchar_t ch);
    CString& operator=(LPCSTR text);
    CString& operator=(const CStringA& text);

    // Length and access.
    int GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    wchar_t GetAt(int index) const;
    void SetAt(int index, wchar_t ch);
    wchar_t operator[](int index) const { return GetAt(index); }
    operator LPCWSTR() const { return m_str.c_str(); }
    LPCWSTR GetString() const { return m_str.c_str(); }
    const std::wstring& str() const { return m_str; }

    // Direct buffer access: the buffer holds at least minLength characters
    // plus a terminator; ReleaseBuffer(-1) takes the length up to the first NUL.
    LPWSTR GetBuffer(int minLength);
    LPWSTR GetBuffer() { return GetBuffer(GetLength()); }
    LPWSTR GetBufferSetLength(int length);
    void ReleaseBuffer(int newLength = -1);
    void FreeExtra() {}

    // Concatenation.
    CString& operator+=(const CString& text);
    CString& operator+=(LPCWSTR text);
    CString& operator+=(wchar_t ch);
    CString& operator+=(LPCSTR text);
    void Append(LPCWSTR text) { *this += text; }
    void Append(LPCWSTR text, int length);
    void AppendChar(wchar_t ch) { m_str.push_back(ch); }

    // Comparison: 0 when equal, <0 or >0 otherwise.
    int Compare(LPCWSTR text) const;
    int CompareNoCase(LPCWSTR text) const;
    int Collate(LPCWSTR text) const { return Compare(text); }
    int CollateNoCase(LPCWSTR text) const { return CompareNoCase(text); }

    // Extraction. Out-of-range arguments are clamped, as the framework does.
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;
    CString SpanIncluding(LPCWSTR charSet) const;
    CString SpanExcluding(LPCWSTR charSet) const;
    CString Tokenize(LPCWSTR delimiters, int& start) const;

    // Changes in place; each returns the string or a count as the framework does.
    CString& MakeUpper();
    CString& MakeLower();
    CString& MakeReverse();
    int Replace(wchar_t oldCh, wchar_t newCh);
    int Replace(LPCWSTR oldText, LPCWSTR newText);
    int Remove(wchar_t ch);
    int Insert(int index, wchar_t ch);
    int Insert(int index, LPCWSTR text);
    int Delete(int index, int count = 1);
    CString& Trim();
    CString& Trim(wchar_t target);
    CString& Trim(LPCWSTR targets);
    CString& TrimLeft();
    CString& TrimLeft(wchar_t target);
    CString& TrimLeft(LPCWSTR targets);
    CString& TrimRight();
    CString& TrimRight(wchar_t target);
    CString& TrimRight(LPCWSTR targets);
    void Truncate(int length);

    // Searching: the index found, or -1.
    int Find(wchar_t ch, int start = 0) const;
    int Find(LPCWSTR text, int start = 0) const;
    int ReverseFind(wchar_t ch) const;
    int FindOneOf(LPCWSTR charSet) const;

    // Formatting with the Windows conventions (see the top of this file).
    void Format(LPCWSTR format, ...);
    void FormatV(LPCWSTR format, va_list args);
    void AppendFormat(LPCWSTR format, ...);
    void AppendFormatV(LPCWSTR format, va_list args);

    // Loads string resource `id` from the registered resource modules; FALSE
    // (and an empty string) when there is none.
    BOOL LoadString(UINT id);

private:
    // GetBuffer hands out this storage itself (sized up with NULs), so
    // writes through the buffer are visible at once, as in the framework.
    std::wstring m_str;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, LPCWSTR b);
CString operator+(LPCWSTR a, const CString& b);
CString operator+(const CString& a, wchar_t b);
CString operator+(wchar_t a, const CString& b);

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, LPCWSTR b);
bool operator==(LPCWSTR a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, LPCWSTR b);
bool operator!=(LPCWSTR a, const CString& b);
bool operator<(const CString& a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator>=(const CString& a, const CString& b);

class CStringA {
public:
    CStringA() = default;
    CStringA(const CStringA& other) = default;
    CStringA(CStringA&& other) noexcept = default;
    CStringA(LPCSTR text);
    CStringA(LPCSTR text, int length);
    CStringA(char ch, int repeat = 1);
    CStringA(LPCWSTR text);               // wide, to code page 932
    CStringA(const CString& text);        // wide, to code page 932
    explicit CStringA(const std::string& text) : m_str(text) {}

    CStringA& operator=(const CStringA& other) = default;
    CStringA& operator=(CStringA&& other) noexcept = default;
    CStringA& operator=(LPCSTR text);
    CStringA& operator=(LPCWSTR text);
    CStringA& operator=(const CString& text);

    int GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    char GetAt(int index) const;
    char operator[](int index) const { return GetAt(index); }
    operator LPCSTR() const { return m_str.c_str(); }
    LPCSTR GetString() const { return m_str.c_str(); }
    const std::string& str() const { return m_str; }

    LPSTR GetBuffer(int minLength);
    LPSTR GetBuffer() { return GetBuffer(GetLength()); }
    void ReleaseBuffer(int newLength = -1);

    CStringA& operator+=(const CStringA& text);
    CStringA& operator+=(LPCSTR text);
    CStringA& operator+=(char ch);

    int Compare(LPCSTR text) const;
    int CompareNoCase(LPCSTR text) const;
    CStringA Mid(int first) const;
    CStringA Mid(int first, int count) const;
    CStringA Left(int count) const;
    CStringA Right(int count) const;
    int Find(char ch, int start = 0) const;
    int Find(LPCSTR text, int start = 0) const;
    int ReverseFind(char ch) const;
    CStringA& MakeUpper();
    CStringA& MakeLower();
    CStringA& Trim();
    CStringA& TrimLeft();
    CStringA& TrimRight();
    int Replace(LPCSTR oldText, LPCSTR newText);

    // In CStringA, %s and %c are narrow and %S/%ls/%lc wide.
    void Format(LPCSTR format, ...);
    void FormatV(LPCSTR format, va_list args);

private:
    std::string m_str;
};

CStringA operator+(const CStringA& a, const CStringA& b);
CStringA operator+(const CStringA& a, LPCSTR b);
CStringA operator+(LPCSTR a, const CStringA& b);
bool operator==(const CStringA& a, const CStringA& b);
bool operator==(const CStringA& a, LPCSTR b);
bool operator!=(const CStringA& a, const CStringA& b);
bool operator!=(const CStringA& a, LPCSTR b);
bool operator<(const CStringA& a, const CStringA& b);

// The resource-string hook: the windowing layer installs the function that
// looks up string resources in the registered modules. Without one, every
// string resource is missing.
typedef BOOL (*StringResourceLoader)(UINT id, CString& out);
void SetStringResourceLoader(StringResourceLoader loader);

// Standard hashing so CString can key unordered containers in the platform.
namespace std {
template <> struct hash<CString> {
    size_t operator()(const CString& s) const { return hash<wstring>()(s.str()); }
};
}  // namespace std
