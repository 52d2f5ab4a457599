#include "platform/base/Kernel.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cwchar>
#include <type_traits>

#include "platform/base/Strings.h"

// ---- string comparison and copies ----------------------------------------------------

namespace {
template <class CharT> int FoldAscii(CharT ch)
{
    const long code = static_cast<long>(static_cast<typename std::make_unsigned<CharT>::type>(ch));
    return static_cast<int>(code >= 'A' && code <= 'Z' ? code + ('a' - 'A') : code);
}

template <class CharT> int CompareFolded(const CharT* a, const CharT* b, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const int ca = FoldAscii(a[i]);
        const int cb = FoldAscii(b[i]);
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca == 0) return 0;
    }
    return 0;
}
}  // namespace

int _wcsicmp(const wchar_t* a, const wchar_t* b)
{
    if (!a || !b) return INT_MAX;   // the runtime's answer to a null argument
    return CompareFolded(a, b, SIZE_MAX);
}

int _wcsnicmp(const wchar_t* a, const wchar_t* b, size_t count)
{
    if (!a || !b) return INT_MAX;
    return CompareFolded(a, b, count);
}

int _stricmp(const char* a, const char* b)
{
    if (!a || !b) return INT_MAX;
    return CompareFolded(a, b, SIZE_MAX);
}

int _strnicmp(const char* a, const char* b, size_t count)
{
    if (!a || !b) return INT_MAX;
    return CompareFolded(a, b, count);
}

errno_t wcscpy_s(wchar_t* dest, size_t destSize, const wchar_t* src)
{
    return wcsncpy_s(dest, destSize, src, src ? std::wcslen(src) : 0);
}

errno_t wcsncpy_s(wchar_t* dest, size_t destSize, const wchar_t* src, size_t count)
{
    if (!dest || destSize == 0) return EINVAL;
    if (!src) {
        dest[0] = 0;
        return EINVAL;
    }
    size_t length = 0;
    while (length < count && src[length]) ++length;
    if (length < destSize) {
        std::wmemcpy(dest, src, length);
        dest[length] = 0;
        return 0;
    }
    if (count == _TRUNCATE) {
        std::wmemcpy(dest, src, destSize - 1);
        dest[destSize - 1] = 0;
        return STRUNCATE;
    }
    dest[0] = 0;
    return ERANGE;
}

errno_t wcscat_s(wchar_t* dest, size_t destSize, const wchar_t* src)
{
    if (!dest || destSize == 0) return EINVAL;
    const size_t used = wcsnlen(dest, destSize);
    if (used == destSize || !src) {   // an unterminated destination is the caller's mistake too
        dest[0] = 0;
        return EINVAL;
    }
    const size_t length = std::wcslen(src);
    if (used + length >= destSize) {
        dest[0] = 0;
        return ERANGE;
    }
    std::wmemcpy(dest + used, src, length + 1);
    return 0;
}

namespace {
int FormatBounded(wchar_t* buffer, size_t sizeOfBuffer, size_t count, const wchar_t* format, va_list args)
{
    if (!buffer || sizeOfBuffer == 0) return -1;
    if (!format) {
        buffer[0] = 0;
        return -1;
    }
    CString text;
    text.FormatV(format, args);
    const size_t length = static_cast<size_t>(text.GetLength());
    const size_t allowed = count == _TRUNCATE ? sizeOfBuffer - 1 : count;
    if (length <= allowed && length < sizeOfBuffer) {
        std::wmemcpy(buffer, text.GetString(), length + 1);
        return static_cast<int>(length);
    }
    if (count == _TRUNCATE || count < sizeOfBuffer) {
        const size_t kept = std::min(allowed, sizeOfBuffer - 1);
        std::wmemcpy(buffer, text.GetString(), kept);
        buffer[kept] = 0;
        return -1;
    }
    buffer[0] = 0;
    return -1;
}
}  // namespace

int _snwprintf_s(wchar_t* buffer, size_t sizeOfBuffer, size_t count, const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    const int result = FormatBounded(buffer, sizeOfBuffer, count, format, args);
    va_end(args);
    return result;
}

int swprintf_s(wchar_t* buffer, size_t sizeOfBuffer, const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    // swprintf_s has no truncation mode: text that does not fit empties the buffer.
    const int result = FormatBounded(buffer, sizeOfBuffer, sizeOfBuffer, format, args);
    va_end(args);
    return result;
}
