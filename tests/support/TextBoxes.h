// The rectangles of the texts a drawing writes: a device context on an image
// that notes, for every TextOut, the box its text covers (from the text
// alignment and the selected font), so that tests can tell whether two texts
// of a page lie over one another.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/gdi/Dc.h"
#include "platform/gdi/Image.h"
#include "tests/support/TestSupport.h"

namespace testsupport {

struct TextBox {
    CString text;
    CRect box;
};

class CTextBoxDC : public CDC {
public:
    CTextBoxDC(int width, int height)
    {
        Attach(platform::gdi::CreateImageDC(width, height));
        FillSolidRect(0, 0, width, height, RGB(255, 255, 255));
    }
    ~CTextBoxDC() override { DeleteDC(); }

    using CDC::TextOut;
    BOOL TextOut(int x, int y, LPCTSTR text, int count) override
    {
        Note(x, y, CString(text, count));
        return CDC::TextOut(x, y, text, count);
    }
    using CDC::ExtTextOut;
    BOOL ExtTextOut(int x, int y, UINT options, LPCRECT rect, LPCTSTR text, UINT count, LPINT widths) override
    {
        Note(x, y, CString(text, static_cast<int>(count)));
        return CDC::ExtTextOut(x, y, options, rect, text, count, widths);
    }

    const std::vector<TextBox>& Boxes() const { return m_boxes; }
    // The boxes of one text.
    std::vector<CRect> BoxesOf(const CString& text) const
    {
        std::vector<CRect> found;
        for (const TextBox& b : m_boxes)
            if (b.text == text) found.push_back(b.box);
        return found;
    }

private:
    void Note(int x, int y, const CString& text)
    {
        CString trimmed = text;
        if (trimmed.Trim().IsEmpty()) return;
        const CSize size = GetTextExtent(text);
        TEXTMETRIC metrics{};
        GetTextMetrics(&metrics);
        const UINT align = GetTextAlign();
        int left = x;
        if ((align & TA_CENTER) == TA_CENTER)
            left = x - size.cx / 2;
        else if (align & TA_RIGHT)
            left = x - size.cx;
        int top = y;
        if ((align & TA_BASELINE) == TA_BASELINE)
            top = y - metrics.tmAscent;
        else if (align & TA_BOTTOM)
            top = y - size.cy;
        m_boxes.push_back({text, CRect(left, top, left + size.cx, top + size.cy)});
    }

    std::vector<TextBox> m_boxes;
};

// Every pair of texts whose boxes share more than a pixel's edge, as
// "A | B" lines; empty when none does.
inline std::vector<std::string> OverlappingTexts(const std::vector<TextBox>& boxes)
{
    std::vector<std::string> pairs;
    for (size_t i = 0; i < boxes.size(); ++i)
        for (size_t j = i + 1; j < boxes.size(); ++j) {
            CRect common;
            if (!common.IntersectRect(&boxes[i].box, &boxes[j].box)) continue;
            pairs.push_back(Utf8(boxes[i].text) + " | " + Utf8(boxes[j].text));
        }
    return pairs;
}

}  // namespace testsupport
