#include "platform/ui/builtin/EditLayout.h"

#include "platform/gdi/LineBreaks.h"

namespace platform::ui {

namespace {

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
            const bool breakable = i == last || platform::gdi::CanBreakBefore(text, i);
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
