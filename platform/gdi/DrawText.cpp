// DrawText and the character stepping of wide text. DrawText lays the text
// out in lines (at line breaks unless DT_SINGLELINE; also at word
// boundaries with DT_WORDBREAK), aligns each line in the rectangle and
// draws it with ExtTextOut at TA_LEFT | TA_TOP, whatever the DC's own text
// alignment. "&x" draws x underlined and "&&" an ampersand unless
// DT_NOPREFIX.
#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

#include "platform/gdi/GdiInternal.h"
#include "platform/gdi/LineBreaks.h"

using namespace platform::gdi;

namespace {

typedef ObjectRef<DeviceContext> DcRef;

const wchar_t kEllipsis[] = L"...";

struct Line {
    std::wstring text;
    int underline = -1;           // index of the prefixed character in `text`; -1 for none
};

// One paragraph with its prefixes resolved.
Line StripPrefixes(const std::wstring& text, bool noPrefix)
{
    Line line;
    if (noPrefix) {
        line.text = text;
        return line;
    }
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'&') {
            line.text.push_back(text[i]);
            continue;
        }
        if (i + 1 >= text.size()) break;   // a lone trailing ampersand shows nothing
        ++i;
        if (text[i] != L'&' && line.underline < 0) line.underline = (int)line.text.size();
        line.text.push_back(text[i]);
    }
    return line;
}

std::vector<std::wstring> SplitParagraphs(const std::wstring& text)
{
    std::vector<std::wstring> paragraphs(1);
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c != L'\r' && c != L'\n') {
            paragraphs.back().push_back(c);
            continue;
        }
        if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;   // CR LF is one break
        paragraphs.emplace_back();
    }
    return paragraphs;
}

class Measurer {
public:
    explicit Measurer(const RealizedFont* font) : m_font(font) {}

    int Width(const std::wstring& text) const
    {
        if (text.empty()) return 0;
        PangoLayout* layout = TextLayout::Instance().CreateLayout(m_font, text.c_str(), (int)text.size());
        const int width = TextLayout::AdvanceWidth(layout);
        g_object_unref(layout);
        return width;
    }

    // x of each character boundary of `text` as laid out on one line, pixels.
    std::vector<int> Offsets(const std::wstring& text) const
    {
        std::vector<int> offsets(text.size() + 1, 0);
        if (text.empty()) return offsets;
        PangoLayout* layout = TextLayout::Instance().CreateLayout(m_font, text.c_str(), (int)text.size());
        int byteIndex = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            PangoRectangle pos;
            pango_layout_index_to_pos(layout, byteIndex, &pos);
            offsets[i] = PANGO_PIXELS(std::min(pos.x, pos.x + pos.width));
            byteIndex += (int)WideToUtf8(&text[i], 1).size();
        }
        offsets[text.size()] = TextLayout::AdvanceWidth(layout);
        g_object_unref(layout);
        return offsets;
    }

private:
    const RealizedFont* m_font;
};

// The width of text[first, last) without its trailing blanks.
int SpanWidth(const std::wstring& text, const std::vector<int>& offsets, size_t first, size_t last)
{
    while (last > first && text[last - 1] == L' ') --last;
    return offsets[last] - offsets[first];
}

Line Slice(const Line& line, size_t first, size_t last)
{
    Line out;
    while (last > first && line.text[last - 1] == L' ') --last;   // blanks at a break are not drawn
    out.text = line.text.substr(first, last - first);
    if (line.underline >= (int)first && line.underline < (int)last) out.underline = line.underline - (int)first;
    return out;
}

// Greedy word wrapping into `width` pixels. A word wider than the line is
// broken between characters only with DT_EDITCONTROL; otherwise it stands
// alone on its line, overhanging.
void Wrap(const Line& line, int width, bool breakWords, const Measurer& measure, std::vector<Line>& out)
{
    const std::vector<int> offsets = measure.Offsets(line.text);
    const std::wstring& text = line.text;
    size_t start = 0;
    while (start < text.size()) {
        size_t lastFit = 0;   // the furthest break at which the line still fits; 0 for none
        size_t end = text.size();
        for (size_t i = start + 1; i <= text.size(); ++i) {
            const bool breakable = i == text.size() || CanBreakBefore(text, i);
            if (!breakable) continue;
            if (SpanWidth(text, offsets, start, i) <= width) {
                lastFit = i;
                continue;
            }
            end = i;
            break;
        }
        size_t cut = lastFit;
        if (cut == 0 && breakWords) {
            // Break inside the word at the last character that still fits (at least one).
            cut = start + 1;
            while (cut < end && offsets[cut + 1] - offsets[start] <= width) ++cut;
        }
        if (cut == 0) cut = end;
        out.push_back(Slice(line, start, cut));
        start = cut;
        while (start < text.size() && text[start] == L' ') ++start;   // the next line starts at its word
    }
    if (text.empty()) out.push_back(line);
}

// Cuts the line so it fits `width` with "..." after it.
void EndEllipsis(Line& line, int width, const Measurer& measure)
{
    if (measure.Width(line.text) <= width) return;
    const std::vector<int> offsets = measure.Offsets(line.text);
    const int dots = measure.Width(kEllipsis);
    size_t keep = line.text.size();
    while (keep > 0 && offsets[keep] + dots > width) --keep;
    line.text = line.text.substr(0, keep) + kEllipsis;
    if (line.underline >= (int)keep) line.underline = -1;
}

struct Layout {
    std::vector<Line> lines;
    std::vector<int> widths;
    int lineHeight = 0;
    int ascent = 0;
};

Layout LayOut(const RealizedFont* font, const std::wstring& text, const RECT& rect, UINT format)
{
    const Measurer measure(font);
    Layout layout;
    const TEXTMETRICW& tm = font->metrics;
    layout.lineHeight = tm.tmHeight + ((format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
    layout.ascent = tm.tmAscent;
    const bool noPrefix = (format & DT_NOPREFIX) != 0;
    const int width = std::max(0, (int)(rect.right - rect.left));
    std::vector<std::wstring> paragraphs;
    if (format & DT_SINGLELINE) paragraphs.push_back(text);
    else paragraphs = SplitParagraphs(text);
    for (const std::wstring& paragraph : paragraphs) {
        const Line line = StripPrefixes(paragraph, noPrefix);
        if ((format & DT_WORDBREAK) && !(format & DT_SINGLELINE))
            Wrap(line, width, (format & DT_EDITCONTROL) != 0, measure, layout.lines);
        else
            layout.lines.push_back(line);
    }
    for (Line& line : layout.lines) {
        if (format & DT_END_ELLIPSIS) EndEllipsis(line, width, measure);
        layout.widths.push_back(measure.Width(line.text));
    }
    return layout;
}

// Draws one line with its top-left at (x, y), logical units.
void DrawLine(HDC hdc, DeviceContext& dc, const Line& line, int x, int y, const RECT& rect, UINT format,
              const RealizedFont* font, int ascent)
{
    const bool clip = !(format & DT_NOCLIP);
    if (!line.text.empty())
        ExtTextOutW(hdc, x, y, clip ? ETO_CLIPPED : 0, &rect, line.text.c_str(), (UINT)line.text.size(), nullptr);
    if (line.underline < 0) return;
    const Measurer measure(font);
    const int from = measure.Width(line.text.substr(0, (size_t)line.underline));
    const int to = measure.Width(line.text.substr(0, (size_t)line.underline + 1));
    RECT underline = Normalized(dc.ToSurface(RECT{x + from, y + ascent + 1, x + to, y + ascent + 2}));
    if (clip) underline = Intersect(underline, Normalized(dc.ToSurface(rect)));
    if (IsEmpty(underline)) return;
    DeviceBrush ink;
    ink.style = BS_SOLID;
    ink.color = dc.State().textColor & 0xFFFFFF;
    dc.GetDriver()->PatBlt(underline, ink, PATCOPY, dc.Attributes());
}

}  // namespace

int DrawTextW(HDC hdc, LPCWSTR text, int count, LPRECT rect, UINT format)
{
    DcRef dc = DcRef::Lookup(hdc);
    if (!dc || !rect || (!text && count != 0) || count < -1) return 0;
    const RealizedFont* font = ResolveFont(*dc);
    if (!font) return 0;
    const size_t length = count == -1 ? std::wcslen(text) : (size_t)count;
    const std::wstring source = length ? std::wstring(text, length) : std::wstring();
    const Layout layout = LayOut(font, source, *rect, format);
    const int lines = (int)layout.lines.size();
    const int height = source.empty() && !(format & DT_SINGLELINE) ? 0 : lines * layout.lineHeight;

    // Vertical placement applies to single lines only.
    int top = rect->top;
    const bool single = (format & DT_SINGLELINE) != 0;
    if (single && (format & DT_VCENTER)) top = (rect->top + rect->bottom - layout.lineHeight) / 2;
    else if (single && (format & DT_BOTTOM)) top = rect->bottom - layout.lineHeight;

    if (format & DT_CALCRECT) {
        int widest = 0;
        for (int w : layout.widths) widest = std::max(widest, w);
        rect->right = rect->left + widest;
        rect->bottom = rect->top + height;
    } else if (dc->GetDriver()) {
        DcState& state = dc->State();
        const UINT savedAlign = state.textAlign;
        state.textAlign = TA_LEFT | TA_TOP;
        for (int i = 0; i < lines; ++i) {
            int x = rect->left;
            if (format & DT_CENTER) x = rect->left + (rect->right - rect->left - layout.widths[(size_t)i]) / 2;
            else if (format & DT_RIGHT) x = rect->right - layout.widths[(size_t)i];
            DrawLine(hdc, *dc, layout.lines[(size_t)i], x, top + i * layout.lineHeight, *rect, format, font,
                     layout.ascent);
        }
        state.textAlign = savedAlign;
    }
    if (single && (format & (DT_VCENTER | DT_BOTTOM))) return top + height - rect->top;
    return height;
}

LPWSTR CharNextW(LPCWSTR text)
{
    if (!text || !*text) return const_cast<LPWSTR>(text);
    ++text;
    while (*text && IsCombiningMark(*text)) ++text;
    return const_cast<LPWSTR>(text);
}

LPWSTR CharPrevW(LPCWSTR start, LPCWSTR current)
{
    if (!start || !current || current <= start) return const_cast<LPWSTR>(start);
    --current;
    while (current > start && IsCombiningMark(*current)) --current;
    return const_cast<LPWSTR>(current);
}
