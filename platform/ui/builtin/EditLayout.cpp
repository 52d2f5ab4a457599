#include "platform/ui/builtin/EditLayout.h"

#include <cwchar>

namespace platform::ui {

namespace {

// The character classes of DrawText's word breaking; the two must agree,
// since the system paints a multi-line field with DrawText and sizes its
// form from the edit control's line count.
bool IsCombining(wchar_t c)
{
    return (c >= 0x0300 && c <= 0x036F) || (c >= 0x1AB0 && c <= 0x1AFF) || (c >= 0x1DC0 && c <= 0x1DFF) ||
           (c >= 0x20D0 && c <= 0x20FF) || (c >= 0xFE20 && c <= 0xFE2F) || c == 0x3099 || c == 0x309A;
}

bool IsWide(wchar_t c)
{
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFF00 && c <= 0xFFEF) || (c >= 0x20000 && c <= 0x3FFFF);
}

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

bool IsLineBreak(wchar_t c)
{
    return c == L'\r' || c == L'\n';
}

// x of each character boundary of text[first, last), relative to `first`.
std::vector<int> Offsets(const std::vector<int>& advances, size_t first, size_t last)
{
    std::vector<int> offsets(last - first + 1, 0);
    for (size_t i = first; i < last; ++i)
        offsets[i - first + 1] = offsets[i - first] + (i < advances.size() ? advances[i] : 0);
    return offsets;
}

// Wraps the paragraph text[first, last) into `out`.
void WrapParagraph(const std::wstring& text, const std::vector<int>& advances, size_t first, size_t last, int width,
                   std::vector<EditLine>& out)
{
    const std::vector<int> offsets = Offsets(advances, first, last);
    auto x = [&](size_t i) { return offsets[i - first]; };
    // The width of text[from, to) without its trailing blanks.
    auto span = [&](size_t from, size_t to) {
        while (to > from && text[to - 1] == L' ') --to;
        return x(to) - x(from);
    };
    size_t start = first;
    while (start < last) {
        size_t lastFit = 0;   // the furthest break at which the line still fits; 0 for none
        size_t end = last;
        for (size_t i = start + 1; i <= last; ++i) {
            const bool breakable = i == last || EditCanBreakBefore(text, i);
            if (!breakable) continue;
            if (span(start, i) <= width) {
                lastFit = i;
                continue;
            }
            end = i;
            break;
        }
        size_t cut = lastFit;
        if (cut == 0) {
            // A word wider than the line breaks after the last character that fits (at least one).
            cut = start + 1;
            while (cut < end && x(cut + 1) - x(start) <= width) ++cut;
        }
        size_t next = cut;
        while (next < last && text[next] == L' ') ++next;
        out.push_back(EditLine{static_cast<int>(start), static_cast<int>(next), static_cast<int>(next)});
        start = next;
    }
}

}  // namespace

bool EditCanBreakBefore(const std::wstring& text, size_t i)
{
    if (i == 0 || i >= text.size()) return false;
    const wchar_t prev = text[i - 1], c = text[i];
    if (c == L' ' || IsCombining(c)) return false;
    if (prev == L' ') return true;
    if (NoBreakBefore(c) || NoBreakAfter(prev)) return false;
    return IsWide(c) || IsWide(prev);
}

std::vector<EditLine> BreakEditLines(const std::wstring& text, const std::vector<int>& advances, int wrapWidth)
{
    std::vector<EditLine> lines;
    const size_t size = text.size();
    size_t first = 0;
    for (;;) {
        size_t last = first;
        while (last < size && !IsLineBreak(text[last])) ++last;
        size_t next = last;
        if (next < size) next += (text[next] == L'\r' && next + 1 < size && text[next + 1] == L'\n') ? 2 : 1;
        if (wrapWidth >= 0 && last > first) {
            WrapParagraph(text, advances, first, last, wrapWidth, lines);
            lines.back().next = static_cast<int>(next);
        } else {
            lines.push_back(EditLine{static_cast<int>(first), static_cast<int>(last), static_cast<int>(next)});
        }
        if (last >= size) break;
        first = next;
        if (first >= size) {
            // A break at the very end leaves an empty line after it.
            lines.push_back(EditLine{static_cast<int>(size), static_cast<int>(size), static_cast<int>(size)});
            break;
        }
    }
    return lines;
}

}  // namespace platform::ui
