// Whether a page's captions show whole in the fonts the page gives them: a
// caption's text, measured in its control's font, must fit the room its
// control gives it across and down, its control must not reach into another
// one, and its text must end a narrow character's width before the next
// control of its row, so that no letter is cut at an edge, wraps below
// where it is lost, or runs into the field it names.
#pragma once

#include <string>
#include <vector>

#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/Wnd.h"
#include "tests/support/TestSupport.h"

namespace dialogtest {

// A caption's text as its font measures it.
struct CaptionText {
    CString text;
    CSize extent;
    TEXTMETRICW metrics = {};
};

inline CaptionText MeasureCaption(CWnd& control)
{
    CaptionText caption;
    control.GetWindowText(caption.text);
    CDC dc;
    dc.Attach(platform::gdi::CreateImageDC(8, 8));
    CDCObjectSelector<CFont> font(dc, control.GetFont());
    dc.GetTextMetrics(&caption.metrics);
    caption.extent = dc.GetTextExtent(caption.text);
    return caption;
}

inline bool IsVisible(CWnd* control)
{
    return control && (control->GetStyle() & WS_VISIBLE);
}

// The visible captions among `ids` (with `hiddenToo` the hidden ones as
// well: a page paints the caption of a display-only row into its hidden
// control's rectangle) whose text, in the control's font, is wider than the
// control's client width less `margin` or higher than its client, as
// "ID text (text width x height > room)".
inline std::vector<std::string> CutCaptions(CWnd& page, const std::vector<int>& ids, int margin,
                                            bool hiddenToo = false)
{
    std::vector<std::string> cut;
    for (int id : ids) {
        CWnd* control = page.GetDlgItem(id);
        if (!control || (!hiddenToo && !IsVisible(control))) continue;
        const CaptionText caption = MeasureCaption(*control);
        if (caption.text.IsEmpty()) continue;
        CRect client;
        control->GetClientRect(&client);
        if (caption.extent.cx + margin > client.Width() || caption.metrics.tmHeight > client.Height())
            cut.push_back(std::to_string(id) + " " + testsupport::Utf8(caption.text) + " (" +
                          std::to_string(caption.extent.cx) + " x " + std::to_string(caption.metrics.tmHeight) +
                          " > " + std::to_string(client.Width() - margin) + " x " +
                          std::to_string(client.Height()) + ")");
    }
    return cut;
}

// The visible captions among `ids` that crowd another visible control of
// the page: their rectangle overlaps it ("ID over ID"), or their text ends
// less than a narrow character (the font's average width) before the next
// control of their row ("ID before ID: gap px").
inline std::vector<std::string> CrowdingCaptions(CWnd& page, const std::vector<int>& ids)
{
    std::vector<std::string> crowding;
    for (int id : ids) {
        CWnd* control = page.GetDlgItem(id);
        if (!IsVisible(control)) continue;
        CRect caption;
        control->GetWindowRect(&caption);
        const CaptionText text = MeasureCaption(*control);
        // Where the text ends, by its alignment in the control.
        int textRight = caption.left + text.extent.cx;
        const DWORD align = control->GetStyle() & SS_TYPEMASK;
        if (align == SS_RIGHT) textRight = caption.right;
        if (align == SS_CENTER) textRight = caption.left + (caption.Width() + text.extent.cx) / 2;
        CWnd* next = nullptr;
        CRect nextRect;
        for (CWnd* other = page.GetWindow(GW_CHILD); other; other = other->GetWindow(GW_HWNDNEXT)) {
            CRect rect;
            if (other == control || !IsVisible(other)) continue;
            other->GetWindowRect(&rect);
            CRect common;
            if (common.IntersectRect(&caption, &rect))
                crowding.push_back(std::to_string(id) + " over " + std::to_string(other->GetDlgCtrlID()));
            const bool sameRow = rect.top < caption.bottom && caption.top < rect.bottom;
            if (sameRow && rect.left >= caption.left && (!next || rect.left < nextRect.left)) {
                next = other;
                nextRect = rect;
            }
        }
        if (!text.text.IsEmpty() && next && nextRect.left - textRight < text.metrics.tmAveCharWidth)
            crowding.push_back(std::to_string(id) + " before " + std::to_string(next->GetDlgCtrlID()) + ": " +
                               std::to_string(nextRect.left - textRight) + " px");
    }
    return crowding;
}

}  // namespace dialogtest
