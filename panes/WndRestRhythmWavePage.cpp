#include "panes/WndRestRhythmWavePage.h"

#include "core/Globals.h"
#include "dialogs/DlgCtrl.h"
#include "dialogs/DlgLimbChest.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "forms/FormEx.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewScroll1LeadWave.h"

namespace panes {
namespace restwave {

namespace {

constexpr UINT kDisplaySizeByGrid = 5;
constexpr UINT kDisplaySizeByWidth = 6;
constexpr int kNoLead = 255;
constexpr double kAnnoUnitWidth = 989.0;

UINT SizeMode(CTavrionDoc* doc) { return doc ? doc->GetDisplaySizeMode() : 0; }

}  // namespace

// ---- the document ----------------------------------------------------------------------------

CTavrionDoc* Docs::Doc() const
{
    if (rest) return rest;
    if (mfer) return mfer;
    return rhythm;
}

int Docs::DocType() const
{
    if (rest) return 0;
    if (mfer) return 6;
    if (rhythm) return 2;
    return 0;
}

BOOL Docs::HasCurrentItem() const
{
    if (rest) return rest->GetCurrentDataItem() != nullptr;
    if (mfer) return mfer->GetCurrentDataItem() != nullptr;
    if (rhythm) return rhythm->GetCurrentDataItem() != nullptr;
    return FALSE;
}

BOOL Docs::IsFifteenLead() const
{
    if (rest) {
        const _RESTDATAITEM* item = rest->GetCurrentDataItem();
        if (!item) return FALSE;
        const unsigned low = item->uSystemCode & 0xFF;
        return low == 11 || low == 226 || low == 227;
    }
    if (mfer) {
        const _MFERDATAITEM* item = mfer->GetCurrentDataItem();
        return item && item->uSystemCode == MFER_KIND_15LEAD;
    }
    if (rhythm) {
        const _RHYTHMDATAITEM* item = rhythm->GetCurrentDataItem();
        return item && item->nLeadCount == 15;
    }
    return FALSE;
}

int Docs::OneLeadId() const
{
    int lead = 0;
    if (rest) lead = rest->GetRhythm1LeadID();
    else if (mfer) lead = mfer->GetRhythm1LeadID();
    else if (rhythm) lead = rhythm->GetRhythm1LeadID();
    return lead == kNoLead ? 0 : lead;
}

// ---- page styles -----------------------------------------------------------------------------

namespace {

struct StyleRow {
    int pageStyle;
    int waveStyle;
    BOOL half;
};

// Wave style 11 is the twelve-lead column; fifteen leads take 12.
int ColumnStyle(BOOL fifteenLead) { return fifteenLead ? 12 : 11; }

BOOL Find(const StyleRow* rows, int count, int pageStyle, BOOL fifteenLead, WaveChoice& choice)
{
    for (int i = 0; i < count; ++i) {
        if (rows[i].pageStyle != pageStyle) continue;
        choice.waveStyle = rows[i].waveStyle == 11 ? ColumnStyle(fifteenLead) : rows[i].waveStyle;
        choice.half = rows[i].half;
        return TRUE;
    }
    return FALSE;
}

}  // namespace

BOOL RestPageLayout(int pageStyle, BOOL fifteenLead, WaveChoice& choice)
{
    static const StyleRow kRows[] = {{1, 1, FALSE},   {2, 1, FALSE},   {5, 2, TRUE},    {7, 3, FALSE},
                                     {8, 3, FALSE},   {11, 4, TRUE},   {13, 5, FALSE},  {14, 5, FALSE},
                                     {17, 6, TRUE},   {19, 7, FALSE},  {20, 7, FALSE},  {23, 8, TRUE},
                                     {25, 9, FALSE},  {26, 9, FALSE},  {29, 10, TRUE},  {33, 11, FALSE},
                                     {34, 11, FALSE}};
    return Find(kRows, sizeof kRows / sizeof kRows[0], pageStyle, fifteenLead, choice);
}

BOOL RhythmPageLayout(int pageStyle, BOOL fifteenLead, WaveChoice& choice)
{
    static const StyleRow kRows[] = {{1, 1, FALSE},  {2, 1, FALSE},  {3, 2, TRUE},   {4, 3, FALSE},  {5, 3, FALSE},
                                     {6, 4, TRUE},   {7, 5, FALSE},  {8, 5, FALSE},  {9, 6, TRUE},   {10, 7, FALSE},
                                     {11, 7, FALSE}, {12, 8, TRUE},  {13, 9, FALSE}, {14, 9, FALSE}, {15, 10, TRUE},
                                     {18, 11, FALSE}, {19, 11, FALSE}};
    return Find(kRows, sizeof kRows / sizeof kRows[0], pageStyle, fifteenLead, choice);
}

BOOL AmeRestPageLayout(int pageStyle, BOOL fifteenLead, BOOL mfer, WaveChoice& choice, int& interpretation)
{
    static const StyleRow kRows[] = {{3, 1, FALSE},   {4, 1, FALSE},   {6, 2, TRUE},    {9, 3, FALSE},
                                     {10, 3, FALSE},  {12, 4, TRUE},   {15, 5, FALSE},  {16, 5, FALSE},
                                     {18, 6, TRUE},   {21, 7, FALSE},  {22, 7, FALSE},  {24, 8, TRUE},
                                     {27, 9, FALSE},  {28, 9, FALSE},  {30, 10, TRUE},  {31, 11, FALSE},
                                     {32, 11, FALSE}};
    if (!Find(kRows, sizeof kRows / sizeof kRows[0], pageStyle, fifteenLead, choice)) return FALSE;
    if (choice.waveStyle >= 11) interpretation = 0;
    else if (choice.half && mfer) interpretation = -1;
    else interpretation = 1;
    return TRUE;
}

// ---- captions --------------------------------------------------------------------------------

CString WaveStyleName(int waveStyle, BOOL fifteenLead)
{
    switch (waveStyle) {
    case 1: return fifteenLead ? L"波形连续型(3chx5)" : L"波形连续型(3chx4)";
    case 2: return L"波形連続型(3chx2)";
    case 3: return fifteenLead ? L"波形同期型(3chx5)" : L"波形同期型(3chx4)";
    case 4: return L"波形同期型(3chx2)";
    case 5:
    case 6: return L"波形连续型(6chx2)";
    case 7:
    case 8: return L"波形同期型(6chx2)";
    case 9:
    case 10: return L"波形连续型(6chx1)";
    case 11: return L"波形连续型(12chx1)";
    case 12: return L"波形连续型(15chx1)";
    default: return CString();
    }
}

BOOL HasLimbChestSwitch(int waveStyle) { return waveStyle == 2 || waveStyle == 4 || waveStyle == 9 || waveStyle == 10; }

namespace {

// The settings of the document that the captions state.
struct Settings {
    BOOL mfer = FALSE;
    BOOL rhythm = FALSE;
    float limb = 0.0f, chest = 0.0f, common = 0.0f, speed = 0.0f;
    int filter = 0;
    CString filterText;
    CString load;
    CString trip;
};

Settings ReadSettings(const Docs& docs)
{
    Settings s;
    CTavrionDoc* doc = docs.Doc();
    s.mfer = docs.rest == nullptr && docs.mfer != nullptr;
    s.rhythm = docs.rest == nullptr && docs.mfer == nullptr;
    s.limb = doc->GetSense(1, 0);
    s.chest = doc->GetSense(0, 0);
    s.common = doc->GetSense(6, 0);
    s.speed = doc->GetSpeed();
    if (s.mfer) s.filterText = docs.mfer->GetMFERFilter();
    else s.filter = doc->GetFilter();
    if (docs.rest) {
        const _RESTDATAITEM* item = docs.rest->GetCurrentDataItem();
        if (!item->strMasterStep.IsEmpty()) s.load.Format(L"負荷後 %s", static_cast<LPCWSTR>(item->strMasterStep));
        if (item->bTrip) {
            // A trip not counted ("*"), or one without counts, shows the label alone.
            static const wchar_t kTrip[] = L"ﾄﾘｯﾌﾟ";
            if ((item->strTrip.IsEmpty() && item->strTotalTrip.IsEmpty()) || item->strTrip == L"*")
                s.trip.Format(L" %s/", kTrip);
            else
                s.trip.Format(L" %s%s/%s", kTrip, static_cast<LPCWSTR>(item->strTrip),
                              static_cast<LPCWSTR>(item->strTotalTrip));
        }
    } else if (docs.mfer) {
        s.load = docs.mfer->GetCurrentDataItem()->strMasterStep;
    } else {
        const _RHYTHMDATAITEM* item = docs.rhythm->GetCurrentDataItem();
        if (!item->strMasterStepInfo.IsEmpty())
            s.load.Format(L"負荷後 %s", static_cast<LPCWSTR>(item->strMasterStepInfo));
    }
    return s;
}

// Sensitivity, speed and filter, then three texts: the filter in Hz for
// resting and rhythm records, the MFER record's filter text as given.
CString Full(const Settings& s, float sense, LPCWSTR a, LPCWSTR b, LPCWSTR c)
{
    CString text;
    text.Format(L"%.2f mm/mV  %.1f mm/s  %d Hz  %s  %s  %s", sense, s.speed, s.filter, a, b, c);
    return text;
}

CString Mfer(const Settings& s, float sense, LPCWSTR a, LPCWSTR b, LPCWSTR c)
{
    CString text;
    text.Format(L"%.2f mm/mV  %.1f mm/s  %s  %s  %s", sense, s.speed, a, b, c);
    return text;
}

CString SenseOnly(float sense, LPCWSTR name)
{
    CString text;
    text.Format(L"%.2f mm/mV  %s", sense, name);
    return text;
}

void Both(Captions& c, const CString& limb, const CString& chest)
{
    c.writeLimb = c.writeChest = TRUE;
    c.limb = limb;
    c.chest = chest;
}

}  // namespace

Captions BuildCaptions(const Docs& docs, int waveStyle, BOOL usStyle)
{
    Captions c;
    if (!docs.Doc() || !docs.HasCurrentItem() || waveStyle < 1 || waveStyle > 12) return c;
    const Settings s = ReadSettings(docs);
    const BOOL fifteen = docs.IsFifteenLead();
    const CString nameText = WaveStyleName(waveStyle, fifteen);
    const LPCWSTR name = nameText, load = s.load, trip = s.trip, none = L"";
    if (usStyle && s.rhythm && (waveStyle == 1 || waveStyle == 3)) {
        Both(c, CString(), CString());
        return c;
    }
    if (s.mfer) {
        const LPCWSTR filter = s.filterText;
        switch (waveStyle) {
        case 1:
        case 3:
            if (fifteen) Both(c, Mfer(s, s.limb, name, none, none), Mfer(s, s.chest, filter, load, none));
            else Both(c, Mfer(s, s.limb, name, load, none), Mfer(s, s.chest, filter, none, none));
            break;
        case 2:
        case 4:
        case 10: Both(c, Mfer(s, s.limb, filter, name, none), Mfer(s, s.chest, filter, name, none)); break;
        case 5:
        case 7: Both(c, Mfer(s, s.limb, name, load, none), Mfer(s, s.chest, filter, none, none)); break;
        case 6:
        case 8: Both(c, SenseOnly(s.limb, name), Mfer(s, s.chest, filter, none, none)); break;
        case 9:
            if (usStyle) Both(c, Mfer(s, s.limb, filter, name, load), Mfer(s, s.chest, filter, name, load));
            else Both(c, Mfer(s, s.limb, name, load, none), Mfer(s, s.chest, filter, name, none));
            break;
        default:
            c.writeLimb = TRUE;
            c.limb = Mfer(s, s.common, filter, name, load);
            break;
        }
        return c;
    }
    switch (waveStyle) {
    case 1:
    case 3:
        if (fifteen) Both(c, Full(s, s.limb, name, none, none), Full(s, s.chest, load, trip, none));
        else Both(c, Full(s, s.limb, name, load, none), Full(s, s.chest, trip, none, none));
        break;
    case 2:
    case 4:
    case 10: Both(c, Full(s, s.limb, name, none, none), Full(s, s.chest, name, none, none)); break;
    case 5:
    case 7: Both(c, Full(s, s.limb, name, load, none), Full(s, s.chest, trip, none, none)); break;
    case 6:
    case 8: Both(c, SenseOnly(s.limb, name), Full(s, s.chest, none, none, none)); break;
    case 9: Both(c, Full(s, s.limb, name, load, trip), Full(s, s.chest, name, load, trip)); break;
    default:
        c.writeLimb = TRUE;
        c.limb = Full(s, s.common, name, load, trip);
        break;
    }
    return c;
}

namespace {

// The multi-lead view asks for its captions at every paint: a text that did
// not change is not written again, so that its static is not painted again.
void RewriteText(CDlgCtrl* strip, int id, const CString& text)
{
    CWnd* item = StripItem(strip, id);
    if (!item) return;
    CString shown;
    item->GetWindowText(shown);
    if (shown != text) item->SetWindowText(text);
}

}  // namespace

void ShowCaptions(CDlgCtrl* strip, const Docs& docs, int waveStyle, BOOL limbLeads, BOOL usStyle)
{
    if (!docs.Doc() || !docs.HasCurrentItem()) return;
    ShowStripItem(strip, kCaptionLimb, TRUE);
    ShowStripItem(strip, kCaptionChest, TRUE);
    const Captions captions = BuildCaptions(docs, waveStyle, usStyle);
    if (HasLimbChestSwitch(waveStyle)) {
        ShowStripItem(strip, kCaptionLimb, limbLeads);
        ShowStripItem(strip, kCaptionChest, !limbLeads);
    }
    if (captions.writeLimb) RewriteText(strip, kCaptionLimb, captions.limb);
    if (captions.writeChest) RewriteText(strip, kCaptionChest, captions.chest);
}

// ---- layout ----------------------------------------------------------------------------------

int GridModeMargin() { return static_cast<int>(g_dXUnit * 10); }

int PatientHeight(const VirtualPage& page, CTavrionDoc* doc, BOOL shown)
{
    if (!shown) return 0;
    return SizeMode(doc) == kDisplaySizeByWidth ? page.X(55) : page.Y(kPatientStripHeight);
}

StripRow MakeStripRow(const VirtualPage& page, CTavrionDoc* doc, int top, int units, BOOL half)
{
    StripRow row;
    row.top = top;
    if (SizeMode(doc) == kDisplaySizeByWidth) {
        const int factor = half ? 2 : 1;
        row.height = page.X(units) * factor;
        row.innerTop = page.X(3) * factor;
        row.innerHeight = page.X(15) * factor;
    } else {
        row.height = page.Y(units);
        row.innerTop = page.Y(3);
        row.innerHeight = page.Y(15);
    }
    return row;
}

void PlaceFormStrip(CFrameWnd* frame, const VirtualPage& page, CTavrionDoc* doc, int x, int w, int top, int height)
{
    if (!frame || !frame->GetSafeHwnd()) return;
    int left = page.X(x), width = page.X(w);
    if (SizeMode(doc) == kDisplaySizeByGrid) {
        left = GridModeMargin();
        width = page.Width() - 2 * left;
    }
    frame->MoveWindow(left, top, width, height, TRUE);
    frame->ShowWindow(SW_SHOW);
    if (CFormEx* form = FrameForm(frame)) {
        form->SendMessage(WM_SIZE, 0, 0);
        form->ShowText();
    }
}

void StripFonts(CDlgCtrl* caption, CDlgCtrl* limbChest, CTavrionDoc* doc)
{
    const int buttons[] = {kLimbButton, kChestButton};
    SetStripFont(limbChest, buttons, 2, doc->GetDocFont(1));
    const int statics[] = {kCaptionLimb, kCaptionChest, kCaptionGeneral};
    SetStripFont(caption, statics, 3, doc->GetDocFont(0));
    if (CWnd* general = StripItem(caption, kCaptionGeneral)) general->MoveWindow(CRect(0, 0, 0, 0), TRUE);
}

namespace {

// Caption and switch geometry of one wave style, in page units.
struct StripLayout {
    int captionX, captionW;
    int limbX, limbW;
    int chestX, chestW;    // chestW 0: the chest caption is parked
    int switchX, switchW;  // switchW 0: the switch is hidden
    int buttonW;
};

BOOL LayoutOf(int waveStyle, StripLayout& l)
{
    switch (waveStyle) {
    case 1:
    case 3: l = {56, 949, 0, 474, 474, 592, 0, 0, 0}; return TRUE;
    case 2:
    case 4:
    case 10: l = {90, 710, 0, 710, 0, 710, 804, 200, 100}; return TRUE;
    case 5:
    case 7: l = {56, 949, 0, 474, 474, 474, 0, 0, 0}; return TRUE;
    case 6:
    case 8: l = {90, 914, 0, 457, 457, 457, 0, 0, 0}; return TRUE;
    case 9: l = {56, 830, 0, 830, 0, 830, 894, 110, 55}; return TRUE;
    case 11:
    case 12: l = {50, 960, 0, 960, 0, 0, 0, 0, 0}; return TRUE;
    default: return FALSE;
    }
}

}  // namespace

void PlaceCaptionStrips(CDlgCtrl* caption, CDlgCtrl* limbChest, const VirtualPage& page, CTavrionDoc* doc,
                        const StripRow& row, int waveStyle, BOOL fifteenLead)
{
    StripLayout l;
    if (!LayoutOf(waveStyle, l)) return;
    const int W = page.Width();
    const BOOL grid = SizeMode(doc) == kDisplaySizeByGrid;
    const int u = GridModeMargin();
    const double mx = doc->GetPixelPerMMX();
    const BOOL spanning = l.limbX == 0 && l.limbW == l.captionW;   // 2, 4, 9, 10, 11, 12

    int left = page.X(l.captionX), width = page.X(l.captionW);
    if (grid) {
        left = u + static_cast<int>(10 * mx);
        if (waveStyle == 2 || waveStyle == 4 || waveStyle == 10) width = W - left - u - page.X(200);
        else if (waveStyle == 9 || waveStyle == 11 || waveStyle == 12) width = W - left - u - page.X(110);
        else width = W - 2 * u;
    }
    // The limb caption, then the chest caption beside it (or over it where
    // the page shows one group at a time).
    int limbX = 0, limbW = page.X(l.limbW), chestX = page.X(l.chestX), chestW = page.X(l.chestW);
    if (spanning && grid) limbW = width;
    if (waveStyle == 1 || waveStyle == 3 || waveStyle == 5 || waveStyle == 7) {
        if (grid) limbW = static_cast<int>(125 * mx);
        if ((waveStyle == 1 || waveStyle == 3) && fifteenLead) limbW = limbW * 4 / 5;
        chestX = limbW;
        chestW = (waveStyle == 1 || waveStyle == 3) ? limbW * 5 / 4 : limbW;
    } else if (spanning) {
        chestX = 0;
        chestW = l.chestW ? limbW : 0;
    }

    if (caption && caption->GetSafeHwnd()) {
        caption->MoveWindow(left, row.top, width, row.height, TRUE);
        caption->ShowWindow(SW_SHOW);
        if (CWnd* limb = StripItem(caption, kCaptionLimb))
            limb->MoveWindow(limbX, row.innerTop, limbW, row.innerHeight, TRUE);
        if (CWnd* chest = StripItem(caption, kCaptionChest)) {
            if (chestW) chest->MoveWindow(chestX, row.innerTop, chestW, row.innerHeight, TRUE);
            else chest->MoveWindow(CRect(0, 0, 0, 0), TRUE);
        }
    }
    if (!limbChest || !limbChest->GetSafeHwnd()) return;
    if (!l.switchW) {
        limbChest->ShowWindow(SW_HIDE);
        return;
    }
    const int switchW = page.X(l.switchW);
    const int switchX = grid ? W - u - switchW : page.X(l.switchX);
    limbChest->MoveWindow(switchX, row.top, switchW, row.height, TRUE);
    limbChest->ShowWindow(SW_SHOW);
    if (CWnd* limb = StripItem(limbChest, kLimbButton))
        limb->MoveWindow(0, row.innerTop, page.X(l.buttonW), row.innerHeight, TRUE);
    if (CWnd* chest = StripItem(limbChest, kChestButton))
        chest->MoveWindow(page.X(l.buttonW), row.innerTop, page.X(l.buttonW), row.innerHeight, TRUE);
}

void PlaceWaveViews(CViewRhythmWave* view, CViewScroll1LeadWave* strip, const VirtualPage& page, CTavrionDoc* doc,
                    int top)
{
    const int H = page.Height();
    const BOOL grid = SizeMode(doc) == kDisplaySizeByGrid;
    const int u = GridModeMargin();
    const double mx = doc->GetPixelPerMMX(), my = doc->GetPixelPerMMY();
    const BOOL half = view && view->IsHalfStyle();

    // The one-lead strip: its own grid at the page's width.
    int columns1 = 0, rows1 = 0;
    if (strip) strip->GetGridCount(columns1, rows1);
    int left1 = page.X(15), w1 = page.X(990), h1 = 0;
    if (grid) {
        left1 = u;
        w1 = mx > 0.0 ? static_cast<int>(columns1 * mx + 1) : 0;
        h1 = my > 0.0 && rows1 > 0 ? static_cast<int>(rows1 * my + 1) : 0;
    } else if (columns1 > 0 && w1 > 0) {
        h1 = static_cast<int>(static_cast<double>(w1) * rows1 / columns1) + 1;
    }
    if (w1 <= 0) h1 = 0;

    // The multi-lead view: whole blocks of five rows in the room left.
    int columns = 0, ignored = 0;
    if (view) view->GetGridCount(columns, ignored);
    const int m = page.Y(5);
    const double room = static_cast<double>(H) - h1 - top - 2 * m;
    int left, width, rows, height;
    if (grid) {
        left = u;
        width = mx > 0.0 && columns > 0 ? static_cast<int>(columns * mx + 1) : 0;
        rows = RowsInRoom(room, my);
        height = GridHeight(rows, my);
    } else {
        left = page.X(16);
        width = page.X(989);
        const double cell = columns > 0 && width > 0 ? static_cast<double>(width) / columns : 0.0;
        rows = RowsInRoom(room, cell);
        height = GridHeight(rows, cell);
    }
    // A pane sized to nothing, or a grid without columns, shows an empty view.
    if (width <= 0) height = 0;

    const float scale = static_cast<float>(width / kAnnoUnitWidth) * (half ? 2 : 1);
    if (view && view->GetSafeHwnd()) {
        view->InitBackground(columns, rows);
        view->SetAnnoSizeRatio(scale);
    }
    if (strip && strip->GetSafeHwnd()) strip->SetAnnoSizeRatio(scale);
    if (view && view->GetSafeHwnd()) view->MoveWindow(left, top, width, height, TRUE);
    if (strip && strip->GetSafeHwnd()) {
        const int below = H - h1 - top - height;
        strip->MoveWindow(left1, top + height + below / 2, w1, h1, TRUE);
    }
}

// ---- dividers and lead groups ------------------------------------------------------------------

void ApplyDividerCheck(CViewRhythmWave* view, int mask)
{
    if (!view || !view->GetSafeHwnd()) return;
    if (mask < 0) {
        view->ShowDivider(FALSE);
        return;
    }
    for (int pair = 0; pair < 3; ++pair) view->SetDividerCheck((mask >> pair) & 1, pair + 1);
    view->ShowDivider(TRUE);
}

void ShowLeadGroup(CViewRhythmWave* view, CViewScroll1LeadWave* strip, CDlgCtrl* caption, CTavrionDoc* doc,
                   BOOL limb)
{
    ShowStripItem(caption, kCaptionLimb, limb);
    ShowStripItem(caption, kCaptionChest, !limb);
    // A lead-group change drops the annotation shapes while the document asks so.
    const int flag = doc ? doc->GetAnnotationFlag() : FALSE;
    if (view && view->GetSafeHwnd()) {
        view->SaveAnnoToData(0, nullptr, flag);
        view->SetShowChestLead(!limb);
        view->UpdateDrawDC();
    }
    if (strip && strip->GetSafeHwnd()) {
        strip->SaveAnnoToData(0, nullptr, flag);
        strip->SetShowChestLead(!limb);
        strip->SetScrollWidth(0, TRUE);
        strip->InvalidateRect(nullptr, FALSE);
    }
}

void CreateWaveChildren(CWnd* pane, CTavrionDoc* doc, int docType, BOOL limb, int oneLeadStyle,
                        const WaveChildren& children)
{
    children.caption = CreateStrip<CDlgCtrl>(pane, doc, kCaptionTemplate, kCaptionTemplate, pane);
    ShowStripItem(children.caption, kCaptionST, FALSE);
    if (children.caption) children.caption->ShowWindow(SW_SHOW);
    children.limbChest = CreateStrip<CDlgLimbChest>(pane, doc, kLimbChestTemplate, pane);
    SetStripText(children.limbChest, kLimbButton, L"四肢");
    SetStripText(children.limbChest, kChestButton, L"胸部");
    if (CWnd* button = StripItem(children.limbChest, kLimbButton))
        button->SendMessage(BM_SETCHECK, limb ? BST_CHECKED : BST_UNCHECKED, 0);
    if (CWnd* button = StripItem(children.limbChest, kChestButton))
        button->SendMessage(BM_SETCHECK, limb ? BST_UNCHECKED : BST_CHECKED, 0);
    children.view =
        static_cast<CViewRhythmWave*>(CreateChildView(pane, doc, RUNTIME_CLASS(CViewRhythmWave), kRhythmViewId));
    if (children.view) {
        children.view->SetDocType(docType);
        children.view->SetWaveStyle(1, TRUE);
    }
    children.strip = static_cast<CViewScroll1LeadWave*>(
        CreateChildView(pane, doc, RUNTIME_CLASS(CViewScroll1LeadWave), kOneLeadViewId));
    if (children.strip) {
        children.strip->SetDocType(docType);
        children.strip->SetWaveStyle(oneLeadStyle, TRUE);
    }
}

void HideWavePopups(CViewRhythmWave* view, CViewScroll1LeadWave* strip, BOOL show)
{
    if (view && view->GetSafeHwnd()) view->HideAllPopupDlg(show);
    if (strip && strip->GetSafeHwnd()) strip->HideAllPopupDlg(show);
}

void CloseWavePopups(CViewRhythmWave* view, CViewScroll1LeadWave* strip)
{
    if (view && view->GetSafeHwnd()) view->CloseAllPopupDlg();
    if (strip && strip->GetSafeHwnd()) strip->CloseAllPopupDlg();
}

}  // namespace restwave
}  // namespace panes
