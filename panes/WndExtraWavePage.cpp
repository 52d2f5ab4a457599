#include "panes/WndExtraWavePage.h"

#include "dialogs/DlgCtrl.h"
#include "documents/ExtraViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "forms/FormEx.h"
#include "forms/FormPatientInfo.h"
#include "panes/DividerStrip.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewScroll1LeadWave.h"

namespace panes {
namespace extra {

namespace {

constexpr int kFirstViewStyle = 22;
constexpr float kAnnoPerPixel = 0.0010111224f;   // one 989th

BOOL IsLive(CWnd* wnd) { return wnd && wnd->GetSafeHwnd(); }

}  // namespace

int WaveStyleOfPage(const WaveTwin& twin, int extraStyle)
{
    for (int row = 0; row < 4; ++row)
        if (extraStyle >= twin.pages[row].firstStyle && extraStyle <= twin.pages[row].lastStyle)
            return twin.pages[row].waveStyle;
    return 0;
}

void CreateWavePage(const WavePageParts& parts, const WaveTwin& twin)
{
    CTavrionDoc* doc = parts.record.Doc();
    const int docType = parts.record.DocType();
    parts.patientFrame = CreateFormFrame(parts.pane, doc, RUNTIME_CLASS(CFormPatientInfo), docType);
    parts.displayStrip = CreateStrip<CDlgCtrl>(parts.pane, doc, kCaptionTemplate, kCaptionTemplate, parts.pane);
    // The ST line belongs to the rest pages; on the template it lies over the captions.
    ShowStripItem(parts.displayStrip, kCaptionST, FALSE);
    if (parts.displayStrip) parts.displayStrip->ShowWindow(SW_SHOW);
    parts.view = static_cast<CViewRhythmWave*>(
        CreateChildView(parts.pane, doc, RUNTIME_CLASS(CViewRhythmWave), kRhythmViewId));
    if (parts.view) {
        parts.view->SetDocType(docType);
        parts.view->SetWaveStyle(kFirstViewStyle, TRUE);
    }
    parts.strip = static_cast<CViewScroll1LeadWave*>(
        CreateChildView(parts.pane, doc, RUNTIME_CLASS(CViewScroll1LeadWave), kRhythmStripId));
    if (parts.strip) {
        parts.strip->SetDocType(docType);
        parts.strip->SetWaveStyle(twin.stripWaveStyle, TRUE);
        if (twin.stripShowsRecordLead) parts.strip->SetRhythm1LeadID(parts.record.Rhythm1Lead());
    }
}

BOOL ApplyWavePage(const WavePageParts& parts, const WaveTwin& twin, CTavrionDoc* callDoc, int extraStyle)
{
    const int waveStyle = WaveStyleOfPage(twin, extraStyle);
    if (!waveStyle) return FALSE;
    if (callDoc) callDoc->SetRhythmWaveStyle(waveStyle);
    if (IsLive(parts.view)) parts.view->SetWaveStyle(waveStyle, TRUE);
    return TRUE;
}

void LayoutWavePage(const WavePageParts& parts, const WaveTwin& twin)
{
    CTavrionDoc* doc = parts.record.Doc();
    if (!doc) return;
    CFont* font = doc->GetDocFont(0);
    if (twin.layoutNeedsFont && !font) return;
    const VirtualPage page = VirtualPage::OfClient(parts.pane, parts.showPatient);
    const DisplayGrid grid = GridOf(doc);
    const int cx = page.Width(), cy = page.Height();

    const PageRect patient{16, 7, 989, 50};
    PlacePatientFrame(parts.patientFrame, page, patient, parts.showPatient);
    int y1 = page.Y(7);
    if (parts.showPatient && IsLive(parts.patientFrame)) {
        CRect rect = page.Rect(patient);
        if (grid.ByGrid()) {
            rect = CRect(grid.margin, rect.top, cx - grid.margin, rect.bottom);
            parts.patientFrame->MoveWindow(rect, TRUE);
        }
        y1 += rect.Height();
    }

    const int captions[] = {kCaptionLeft, kCaptionRight, kCaptionGeneral};
    SetStripFont(parts.displayStrip, captions, 3, font);
    Hide(StripItem(parts.displayStrip, kCaptionGeneral));
    const int t3 = page.Y(3), t15 = page.Y(15);
    const int waveStyle = IsLive(parts.view) ? parts.view->GetWaveStyle() : 0;
    if (IsLive(parts.displayStrip) && waveStyle >= 22 && waveStyle <= 28 && waveStyle % 2 == 0) {
        int x = page.X(56), width = page.X(949);
        if (grid.ByGrid()) {
            x = grid.margin + static_cast<int>(10 * grid.px);
            width = cx - 2 * grid.margin;
        }
        parts.displayStrip->MoveWindow(x, y1, width, page.Y(20), TRUE);
        if (waveStyle == 22 || waveStyle == 24) {
            PlaceStripItem(parts.displayStrip, kCaptionLeft, CRect(0, t3, width, t3 + t15));
            PlaceStripItem(parts.displayStrip, kCaptionRight, CRect(0, t3, width, t3 + t15));
        } else {
            const int half = grid.ByGrid() ? static_cast<int>(125 * grid.px) : page.X(474);
            PlaceStripItem(parts.displayStrip, kCaptionLeft, CRect(0, t3, half, t3 + t15));
            PlaceStripItem(parts.displayStrip, kCaptionRight, CRect(half, t3, 2 * half, t3 + t15));
        }
    }
    if (IsLive(parts.displayStrip)) parts.displayStrip->InvalidateRect(nullptr, FALSE);
    const int y2 = y1 + page.Y(20);

    WaveColumn column;
    column.viewX = page.X(16);
    column.viewWidth = page.X(989);
    column.stripX = page.X(15);
    column.stripWidth = page.X(990);
    column.gridLeft = grid.margin;
    column.top = y2;
    column.gaps = 2 * page.Y(5);
    column.annoUnit = kAnnoPerPixel;
    column.doubleAnno = IsLive(parts.view) && parts.view->IsHalfStyle();
    PlaceWaveColumn(parts.view, parts.strip, column, grid, cy);
}

void UpdateWavePage(const WavePageParts& parts, const WaveTwin& twin)
{
    CTavrionDoc* doc = parts.record.Doc();
    if (!doc || !parts.record.HasItem()) return;
    if (CFormEx* form = FrameForm(parts.patientFrame)) form->OnUpdate(nullptr, 0, nullptr);
    if (IsLive(parts.view)) {
        parts.view->SetShowExtra1Lead(parts.record.ExtraSetCode() == 2);
        GiveDividers(parts.view, doc->GetDividerCheck());
        parts.view->OnUpdate(nullptr, 0, nullptr);
        parts.view->InvalidateRect(nullptr, FALSE);
    }
    if (twin.stripShowsRecordLead && IsLive(parts.strip)) parts.strip->SetRhythm1LeadID(parts.record.Rhythm1Lead());
    WaveCaptions(parts, twin, doc->GetRhythmWaveStyle());
    if (IsLive(parts.strip)) {
        parts.strip->OnUpdate(nullptr, 0, nullptr);
        parts.strip->InvalidateRect(nullptr, FALSE);
    }
}

LRESULT WaveCaptions(const WavePageParts& parts, const WaveTwin& twin, int waveStyle)
{
    const ExtraRecord& record = parts.record;
    if (!record.Doc() || !record.HasItem()) return 0;
    ShowStripItem(parts.displayStrip, kCaptionLeft, FALSE);
    ShowStripItem(parts.displayStrip, kCaptionRight, FALSE);
    const CString name = WaveStyleName(waveStyle);
    if (name.IsEmpty()) return 0;

    const float s1 = record.Sense(CExtraViewDoc::SENSE_EXTRA1), s2 = record.Sense(CExtraViewDoc::SENSE_EXTRA2);
    const float speed = record.Speed();
    const BOOL mfer = record.extra == nullptr;
    const int filter = mfer ? 0 : record.extra->GetFilter();
    const CString filterText = mfer ? record.mfer->GetMFERFilter() : CString();
    CString post = record.MFERCaptionText();
    if (!mfer) post = twin.prefixPostLoad ? PostLoadCaption(record.PostLoadTime()) : record.PostLoadTime();
    const CString none;
    // One line of the table: extra-lead records put their filter in Hz
    // before a and b, MFER records state it as text among a, b and c.
    auto line = [&](float sense, const CString& a, const CString& b, const CString& c) {
        return mfer ? MFERCaption(sense, speed, a, b, c) : ExtraCaption(sense, speed, filter, b, c);
    };
    auto show = [&](int id, const CString& text) {
        SetStripText(parts.displayStrip, id, text);
        ShowStripItem(parts.displayStrip, id, TRUE);
    };
    switch (waveStyle) {
    case 22: {
        const BOOL first = IsLive(parts.view) && parts.view->IsShowExtra1Lead();
        show(first ? kCaptionLeft : kCaptionRight, line(first ? s1 : s2, filterText, name, post));
        break;
    }
    case 24:
        show(kCaptionLeft, line(s1, filterText, name, post));
        break;
    default:   // 26 and 28: the left set's caption carries the style, the right one the filter
        if (mfer)
            show(kCaptionLeft, MFERCaption(s1, speed, name, post, none));
        else
            show(kCaptionLeft, line(s1, none, name, post));
        show(kCaptionRight, line(s2, filterText, none, none));
        break;
    }
    return 1;
}

void GiveDividers(CViewRhythmWave* view, int bits)
{
    if (!IsLive(view)) return;
    if (bits < 0) {
        view->ShowDivider(FALSE);
        return;
    }
    GiveDividerBits(view, bits);
}

}  // namespace extra
}  // namespace panes
