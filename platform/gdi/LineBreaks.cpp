#include "platform/gdi/LineBreaks.h"

#include <cwchar>

namespace platform::gdi {

namespace {

// Ideographs, kana and full-width forms: Japanese text breaks between them.
bool IsWide(wchar_t c)
{
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x20000 && c <= 0x3FFFF);
}

// Characters a line may not start with, and ones it may not end with.
bool NoBreakBefore(wchar_t c)
{
    static const wchar_t kClosing[] = L"、。，．・：；？！）」』】〕〉》ー…,.:;?!)]}";
    static const wchar_t kSmallKana[] = L"ぁぃぅぇぉっゃゅょァィゥェォッャュョ々ゝゞ";
    return c != 0 && (std::wcschr(kClosing, c) || std::wcschr(kSmallKana, c));
}

bool NoBreakAfter(wchar_t c)
{
    return c != 0 && std::wcschr(L"（「『【〔〈《([{", c) != nullptr;
}

}  // namespace

bool IsCombiningMark(wchar_t c)
{
    return (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) || (c >= 0x1DC0 && c <= 0x1DFF) ||
           (c >= 0x20D0 && c <= 0x20FF) || (c >= 0xFE20 && c <= 0xFE2F) || c == 0x3099 || c == 0x309A;
}

bool CanBreakBefore(const std::wstring& text, size_t i)
{
    if (i == 0 || i >= text.size()) return false;
    const wchar_t prev = text[i - 1], c = text[i];
    if (c == L' ' || IsCombiningMark(c)) return false;
    if (prev == L' ') return true;
    if (NoBreakBefore(c) || NoBreakAfter(prev)) return false;
    return IsWide(c) || IsWide(prev);
}

}  // namespace platform::gdi
