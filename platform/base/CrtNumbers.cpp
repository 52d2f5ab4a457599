#include "platform/base/Kernel.h"

#include <cwchar>
#include <limits>
#include <locale.h>
#include <type_traits>

// ---- numbers from text ------------------------------------------------------------

namespace {

bool IsCrtSpace(wchar_t ch)
{
    return ch == L' ' || (ch >= L'\t' && ch <= L'\r');
}

template <class T> T ParseSaturated(const wchar_t* str)
{
    if (!str) return 0;
    while (IsCrtSpace(*str)) ++str;
    bool negative = false;
    if (*str == L'+' || *str == L'-') {
        negative = *str == L'-';
        ++str;
    }
    const unsigned long long limit = negative ? static_cast<unsigned long long>(std::numeric_limits<T>::max()) + 1ULL
                                              : static_cast<unsigned long long>(std::numeric_limits<T>::max());
    unsigned long long value = 0;
    bool overflow = false;
    for (; *str >= L'0' && *str <= L'9'; ++str) {
        const unsigned digit = static_cast<unsigned>(*str - L'0');
        if (overflow || value > (limit - digit) / 10) {
            overflow = true;
            continue;
        }
        value = value * 10 + digit;
    }
    if (overflow) return negative ? std::numeric_limits<T>::min() : std::numeric_limits<T>::max();
    if (!negative) return static_cast<T>(value);
    if (value == 0) return 0;
    return static_cast<T>(-static_cast<long long>(value - 1) - 1);
}

locale_t CLocale()
{
    static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return c;
}

wchar_t* WriteRadix(unsigned long long magnitude, bool negative, wchar_t* buffer, int radix)
{
    if (!buffer) return nullptr;
    buffer[0] = 0;
    if (radix < 2 || radix > 36) return buffer;
    wchar_t digits[72];
    int count = 0;
    do {
        const unsigned digit = static_cast<unsigned>(magnitude % static_cast<unsigned>(radix));
        digits[count++] = static_cast<wchar_t>(digit < 10 ? L'0' + digit : L'a' + digit - 10);
        magnitude /= static_cast<unsigned>(radix);
    } while (magnitude);
    wchar_t* out = buffer;
    if (negative) *out++ = L'-';
    while (count) *out++ = digits[--count];
    *out = 0;
    return buffer;
}

template <class T> wchar_t* SignedToText(T value, wchar_t* buffer, int radix)
{
    typedef typename std::make_unsigned<T>::type U;
    if (radix == 10 && value < 0) return WriteRadix(0ULL - static_cast<unsigned long long>(value), true, buffer, radix);
    return WriteRadix(static_cast<U>(value), false, buffer, radix);
}

}  // namespace

int _wtoi(const wchar_t* str)
{
    return ParseSaturated<int>(str);
}

LONG _wtol(const wchar_t* str)
{
    return ParseSaturated<LONG>(str);
}

LONGLONG _wtoi64(const wchar_t* str)
{
    return ParseSaturated<LONGLONG>(str);
}

double _wtof(const wchar_t* str)
{
    if (!str) return 0.0;
    return wcstod_l(str, nullptr, CLocale());
}

wchar_t* _itow(int value, wchar_t* buffer, int radix)
{
    return SignedToText<int>(value, buffer, radix);
}

wchar_t* _ltow(LONG value, wchar_t* buffer, int radix)
{
    return SignedToText<LONG>(value, buffer, radix);
}

wchar_t* _ultow(ULONG value, wchar_t* buffer, int radix)
{
    return WriteRadix(value, false, buffer, radix);
}

wchar_t* _i64tow(LONGLONG value, wchar_t* buffer, int radix)
{
    return SignedToText<LONGLONG>(value, buffer, radix);
}

wchar_t* _ui64tow(ULONGLONG value, wchar_t* buffer, int radix)
{
    return WriteRadix(value, false, buffer, radix);
}
