#include "panes/PageButtons.h"

#include "dialogs/DlgPreNext.h"

namespace panes {

CDlgPreNext* CreatePreNextStrip(CWnd* pane, CTavrionDoc* doc, LPCWSTR back, LPCWSTR next)
{
    CDlgPreNext* strip = CreateStrip<CDlgPreNext>(pane, doc, CDlgPreNext::IDD, pane);
    if (!strip) return nullptr;
    SetStripText(strip, kBackButton, back);
    SetStripText(strip, kNextButton, next);
    ShowStripItem(strip, kBackButton, TRUE);
    ShowStripItem(strip, kNextButton, TRUE);
    strip->ShowWindow(SW_SHOW);
    return strip;
}

void PlacePreNextStrip(CDlgPreNext* strip, const VirtualPage& page, int base, const PageButtonsLayout* layout,
                       CFont* font)
{
    if (!strip || !strip->GetSafeHwnd()) return;
    if (!layout) {
        strip->MoveWindow(CRect(0, 0, 0, 0), TRUE);
        return;
    }
    page.PlaceBelow(strip, base, layout->strip);
    page.Place(StripItem(strip, kBackButton), layout->back);
    page.Place(StripItem(strip, kNextButton), layout->next);
    const int ids[] = {kBackButton, kNextButton};
    SetStripFont(strip, ids, 2, font);
}

void EnablePreNext(CDlgPreNext* strip, int state)
{
    EnableStripItem(strip, kBackButton, state != kAtFirstPage && state != kSinglePage);
    EnableStripItem(strip, kNextButton, state != kAtLastPage && state != kSinglePage);
}

}  // namespace panes
