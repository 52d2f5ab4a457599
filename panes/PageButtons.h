// The back/next strip as the paging panes use it: made with its two
// captions, placed with its buttons, and enabled from a page state.
#pragma once

#include "panes/PaneKit.h"

class CDlgPreNext;

namespace panes {

constexpr int kBackButton = 3497;
constexpr int kNextButton = 3498;

// The page states the paging views answer: 0 between, 1 the first page,
// 2 the last, 3 a single page.
constexpr int kAtFirstPage = 1;
constexpr int kAtLastPage = 2;
constexpr int kSinglePage = 3;

CDlgPreNext* CreatePreNextStrip(CWnd* pane, CTavrionDoc* doc, LPCWSTR back, LPCWSTR next);

// The strip in page units (its top below the content top) and its buttons
// inside it, in page units without the top.
struct PageButtonsLayout {
    PageRect strip;
    PageRect back;
    PageRect next;
};
// Places the strip and its buttons and gives them the font; a null layout
// moves the strip to the empty rectangle.
void PlacePreNextStrip(CDlgPreNext* strip, const VirtualPage& page, int base, const PageButtonsLayout* layout,
                       CFont* font);
// Back enabled unless at the first page or alone, next unless at the last.
void EnablePreNext(CDlgPreNext* strip, int state);

}  // namespace panes
