#include "panes/DividerStrip.h"

#include "dialogs/DlgCtrl.h"
#include "panes/PaneKit.h"
#include "waveviews/ViewRhythmWave.h"

namespace panes {

CDlgCtrl* CreateDividerStrip(CWnd* pane, CTavrionDoc* doc)
{
    CDlgCtrl* strip = CreateStrip<CDlgCtrl>(pane, doc, kDividerStripTemplate, kDividerStripTemplate, pane);
    if (!strip) return nullptr;
    for (int id : kDividerText) {
        SetStripText(strip, id, L"");
        ShowStripItem(strip, id, TRUE);
    }
    strip->ShowWindow(SW_SHOW);
    return strip;
}

int DividerPairOfCheck(UINT id)
{
    for (int pair = 0; pair < 3; ++pair)
        if (static_cast<int>(id) == kDividerCheck[pair]) return pair;
    return -1;
}

namespace {
int PairIndex(LPARAM pair) { return pair == 1 ? 1 : pair == 2 ? 2 : 0; }
}  // namespace

CString DividerReading(int intervalMs, LPARAM pair)
{
    static const wchar_t* const kFormats[3] = {L"%s I   %s%d%s   %s %s", L"%s II   %s%d%s   %s %s",
                                               L"%s III   %s%d%s   %s %s"};
    CString rate = L"   ";
    if (intervalMs != 0) rate.Format(L"%d%s", 60000 / intervalMs, L"[bpm]");
    CString line;
    line.Format(kFormats[PairIndex(pair)], L"心拍测量", L"Dur.", intervalMs, L"[mS]", L"心拍数换算值",
                static_cast<LPCWSTR>(rate));
    return line;
}

int ShowDividerReading(CDlgCtrl* strip, int intervalMs, LPARAM pair)
{
    const int index = PairIndex(pair);
    SetStripText(strip, kDividerText[index], DividerReading(intervalMs, pair));
    return index;
}

void GiveDividerBits(CViewRhythmWave* view, int bits)
{
    if (!view || !view->GetSafeHwnd() || bits < 0) return;
    for (int pair = 0; pair < 3; ++pair) view->SetDividerCheck((bits >> pair) & 1, pair + 1);
    view->ShowDivider(TRUE);
}

void CheckDividerBoxes(CDlgCtrl* strip, int bits)
{
    if (bits < 0) return;
    for (int pair = 0; pair < 3; ++pair)
        if (CWnd* box = StripItem(strip, kDividerCheck[pair]))
            box->SendMessage(BM_SETCHECK, (bits >> pair) & 1 ? BST_CHECKED : BST_UNCHECKED, 0);
}

int ToggleDividerPair(CDlgCtrl* strip, CViewRhythmWave* view, int pair, int bits)
{
    CWnd* box = StripItem(strip, kDividerCheck[pair]);
    if (!box) return bits;
    const BOOL checked = box->SendMessage(BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (view && view->GetSafeHwnd()) view->SetDividerCheck(checked, pair + 1);
    const int bit = 1 << pair;
    const int base = bits < 0 ? 0 : bits;
    return checked ? (base | bit) : (base & ~bit);
}

}  // namespace panes
