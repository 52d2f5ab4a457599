#include "core/TextColumns.h"

#include <algorithm>
#include <cwchar>

#include "platform/base/CodePage.h"

namespace {

struct WideRange {
    char32_t first, last;
};

// The characters Unicode 15.0 gives the East Asian Width W (wide) or F
// (fullwidth), as ICU 72 reports the property, unassigned code points of
// the ideograph planes included: Hangul, the CJK extensions, emoji and the
// fullwidth forms among them. Ascending and disjoint.
const WideRange kWideRanges[] = {
    {0x01100, 0x0115F}, {0x0231A, 0x0231B}, {0x02329, 0x0232A}, {0x023E9, 0x023EC}, {0x023F0, 0x023F0},
    {0x023F3, 0x023F3}, {0x025FD, 0x025FE}, {0x02614, 0x02615}, {0x02648, 0x02653}, {0x0267F, 0x0267F},
    {0x02693, 0x02693}, {0x026A1, 0x026A1}, {0x026AA, 0x026AB}, {0x026BD, 0x026BE}, {0x026C4, 0x026C5},
    {0x026CE, 0x026CE}, {0x026D4, 0x026D4}, {0x026EA, 0x026EA}, {0x026F2, 0x026F3}, {0x026F5, 0x026F5},
    {0x026FA, 0x026FA}, {0x026FD, 0x026FD}, {0x02705, 0x02705}, {0x0270A, 0x0270B}, {0x02728, 0x02728},
    {0x0274C, 0x0274C}, {0x0274E, 0x0274E}, {0x02753, 0x02755}, {0x02757, 0x02757}, {0x02795, 0x02797},
    {0x027B0, 0x027B0}, {0x027BF, 0x027BF}, {0x02B1B, 0x02B1C}, {0x02B50, 0x02B50}, {0x02B55, 0x02B55},
    {0x02E80, 0x02E99}, {0x02E9B, 0x02EF3}, {0x02F00, 0x02FD5}, {0x02FF0, 0x02FFB}, {0x03000, 0x0303E},
    {0x03041, 0x03096}, {0x03099, 0x030FF}, {0x03105, 0x0312F}, {0x03131, 0x0318E}, {0x03190, 0x031E3},
    {0x031F0, 0x0321E}, {0x03220, 0x03247}, {0x03250, 0x04DBF}, {0x04E00, 0x0A48C}, {0x0A490, 0x0A4C6},
    {0x0A960, 0x0A97C}, {0x0AC00, 0x0D7A3}, {0x0F900, 0x0FAFF}, {0x0FE10, 0x0FE19}, {0x0FE30, 0x0FE52},
    {0x0FE54, 0x0FE66}, {0x0FE68, 0x0FE6B}, {0x0FF01, 0x0FF60}, {0x0FFE0, 0x0FFE6}, {0x16FE0, 0x16FE4},
    {0x16FF0, 0x16FF1}, {0x17000, 0x187F7}, {0x18800, 0x18CD5}, {0x18D00, 0x18D08}, {0x1AFF0, 0x1AFF3},
    {0x1AFF5, 0x1AFFB}, {0x1AFFD, 0x1AFFE}, {0x1B000, 0x1B122}, {0x1B132, 0x1B132}, {0x1B150, 0x1B152},
    {0x1B155, 0x1B155}, {0x1B164, 0x1B167}, {0x1B170, 0x1B2FB}, {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF},
    {0x1F18E, 0x1F18E}, {0x1F191, 0x1F19A}, {0x1F200, 0x1F202}, {0x1F210, 0x1F23B}, {0x1F240, 0x1F248},
    {0x1F250, 0x1F251}, {0x1F260, 0x1F265}, {0x1F300, 0x1F320}, {0x1F32D, 0x1F335}, {0x1F337, 0x1F37C},
    {0x1F37E, 0x1F393}, {0x1F3A0, 0x1F3CA}, {0x1F3CF, 0x1F3D3}, {0x1F3E0, 0x1F3F0}, {0x1F3F4, 0x1F3F4},
    {0x1F3F8, 0x1F43E}, {0x1F440, 0x1F440}, {0x1F442, 0x1F4FC}, {0x1F4FF, 0x1F53D}, {0x1F54B, 0x1F54E},
    {0x1F550, 0x1F567}, {0x1F57A, 0x1F57A}, {0x1F595, 0x1F596}, {0x1F5A4, 0x1F5A4}, {0x1F5FB, 0x1F64F},
    {0x1F680, 0x1F6C5}, {0x1F6CC, 0x1F6CC}, {0x1F6D0, 0x1F6D2}, {0x1F6D5, 0x1F6D7}, {0x1F6DC, 0x1F6DF},
    {0x1F6EB, 0x1F6EC}, {0x1F6F4, 0x1F6FC}, {0x1F7E0, 0x1F7EB}, {0x1F7F0, 0x1F7F0}, {0x1F90C, 0x1F93A},
    {0x1F93C, 0x1F945}, {0x1F947, 0x1F9FF}, {0x1FA70, 0x1FA7C}, {0x1FA80, 0x1FA88}, {0x1FA90, 0x1FABD},
    {0x1FABF, 0x1FAC5}, {0x1FACE, 0x1FADB}, {0x1FAE0, 0x1FAE8}, {0x1FAF0, 0x1FAF8}, {0x20000, 0x2FFFD},
    {0x30000, 0x3FFFD},
};

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The character starting at text[i] and how many wide characters it takes:
// a UTF-16 surrogate pair is one character (wchar_t holds UTF-32 here, but
// a pair that came through whole still counts once).
char32_t CharacterAt(const wchar_t* text, size_t length, size_t i, size_t& units)
{
    const char32_t c = static_cast<char32_t>(text[i]);
    units = 1;
    if (IsHighSurrogate(c) && i + 1 < length && IsLowSurrogate(static_cast<char32_t>(text[i + 1]))) {
        units = 2;
        return 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00);
    }
    return c;
}

// Bytes of the character in the code page; 0 when the code page cannot hold it.
int CodePageBytes(UINT codePage, char32_t c)
{
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
    const wchar_t one[1] = {static_cast<wchar_t>(c)};
    BOOL missing = FALSE;
    const int bytes = WideCharToMultiByte(codePage, 0, one, 1, nullptr, 0, nullptr, &missing);
    return missing ? 0 : bytes;
}

}  // namespace

bool IsDrawnFullWidth(char32_t c)
{
    const auto* end = std::end(kWideRanges);
    const auto* range = std::lower_bound(std::begin(kWideRanges), end, c,
                                         [](const WideRange& r, char32_t value) { return r.last < value; });
    return range != end && range->first <= c;
}

int GetCharColumns(char32_t c)
{
    if (c < 0x80) return 1;
    // What Shift-JIS holds counts its bytes, as the stored files and the
    // record-XML reader have always counted it.
    if (const int bytes = CodePageBytes(932, c)) return bytes;
    // Any other character counts as it is drawn: ü, é and the other
    // letters GBK holds in two bytes are drawn half width (1), the
    // ideographs only GBK holds (这) full width (2).
    return IsDrawnFullWidth(c) ? 2 : 1;
}

int GetTextColumns(const wchar_t* text)
{
    if (!text) return 0;
    const size_t length = std::wcslen(text);
    if (length == 0) return 0;
    // Most texts are Shift-JIS through and through: one conversion counts them.
    BOOL unmapped = FALSE;
    const int bytes = WideCharToMultiByte(932, 0, text, static_cast<int>(length), nullptr, 0, nullptr, &unmapped);
    if (!unmapped) return bytes;
    int columns = 0;
    for (size_t i = 0, units = 1; i < length; i += units) columns += GetCharColumns(CharacterAt(text, length, i, units));
    return columns;
}

CString CutToColumns(const CString& text, int columns)
{
    const wchar_t* chars = text.GetString();
    const size_t length = static_cast<size_t>(text.GetLength());
    int used = 0;
    size_t keep = 0;
    for (size_t units = 1; keep < length; keep += units) {
        used += GetCharColumns(CharacterAt(chars, length, keep, units));
        if (used > columns) break;
    }
    return text.Left(static_cast<int>(keep));
}
