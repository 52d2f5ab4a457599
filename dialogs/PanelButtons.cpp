#include "dialogs/PanelButtons.h"

#include "controls/ButtonST.h"
#include "core/TavrionDoc.h"

namespace {
constexpr int kFrameSlot = 26;
constexpr int kFrameTextSlot = 27;
}  // namespace

void ColourPanelButtons(CWnd& panel, CTavrionDoc* doc, CButtonST* buttons, const int* ids, int count,
                        const int* icons)
{
    for (int i = 0; i < count; ++i) {
        CButtonST& button = buttons[i];
        if (!button.m_hWnd && !button.SubclassDlgItem(ids[i], &panel)) continue;
        button.SetFlat(TRUE);
        if (!doc) continue;
        const COLORREF face = doc->GetWaveColor(kFrameSlot);
        const COLORREF text = doc->GetWaveColor(kFrameTextSlot);
        for (BYTE slot : {CButtonST::BTNST_COLOR_BK_IN, CButtonST::BTNST_COLOR_BK_OUT, CButtonST::BTNST_COLOR_BK_FOCUS})
            button.SetColor(slot, face);
        for (BYTE slot : {CButtonST::BTNST_COLOR_FG_IN, CButtonST::BTNST_COLOR_FG_OUT, CButtonST::BTNST_COLOR_FG_FOCUS})
            button.SetColor(slot, text);
        if (icons) button.SetIcon(icons[i], 0);
    }
}
