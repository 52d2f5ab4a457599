#include "panes/WndExtraCommentPage.h"

#include "dialogs/DlgCtrl.h"
#include "documents/ExtraViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "forms/FormEx.h"
#include "forms/FormInterpreRhyRR.h"
#include "forms/FormPatientInfo.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewScroll1LeadWave.h"

namespace panes {
namespace extra {

namespace {

constexpr int kFirstViewStyle = 24;
constexpr int kOneSetWaveStyle = 25;
constexpr int kTwoSetWaveStyle = 27;
constexpr float kAnnoBesideForm = 0.0019455253f;   // one 514th
constexpr float kAnnoFullWidth = 0.0020120724f;    // one 497th

BOOL IsLive(CWnd* wnd) { return wnd && wnd->GetSafeHwnd(); }

const CommentRow* RowOf(const CommentTwin& twin, int extraStyle)
{
    for (int i = 0; i < twin.rowCount; ++i)
        if (extraStyle >= twin.rows[i].firstStyle && extraStyle <= twin.rows[i].lastStyle) return &twin.rows[i];
    return nullptr;
}

VirtualPage PageOf(CWnd* pane, int pageHeight)
{
    CRect client;
    pane->GetClientRect(&client);
    return VirtualPage(client.Width(), client.Height(), pageHeight);
}

// The form's frame moved; the form writes its texts and lays out again.
void PlaceForm(CFrameWnd* frame, const CRect& rect)
{
    if (!IsLive(frame)) return;
    frame->MoveWindow(rect, TRUE);
    if (CFormEx* form = FrameForm(frame)) {
        form->ShowText();
        form->SendMessage(WM_SIZE, 0, 0);
    }
}

void ShowStrip(CDlgCtrl* strip, BOOL show)
{
    if (IsLive(strip)) strip->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

// The Extra1/Extra2 buttons side by side in a strip `width` wide.
void PlaceSetButtons(const CommentPageParts& parts, const CRect& stripRect, int top, int height)
{
    CDlgCtrl* strip = parts.selectionStrip;
    const int buttons[] = {kExtra1Button, kExtra2Button};
    SetStripFont(strip, buttons, 2, parts.record.Doc() ? parts.record.Doc()->GetDocFont(1) : nullptr);
    if (IsLive(strip)) strip->MoveWindow(stripRect, TRUE);
    ShowStrip(strip, TRUE);
    const int half = stripRect.Width() / 2;
    PlaceStripItem(strip, kExtra1Button, CRect(0, top, half, top + height));
    PlaceStripItem(strip, kExtra2Button, CRect(half, top, 2 * half, top + height));
}

}  // namespace

void CreateCommentPage(const CommentPageParts& parts, const CommentTwin& twin)
{
    CTavrionDoc* doc = parts.record.Doc();
    const int docType = parts.record.DocType();
    parts.patientFrame = CreateFormFrame(parts.pane, doc, RUNTIME_CLASS(CFormPatientInfo), docType);
    parts.displayStrip = CreateStrip<CDlgCtrl>(parts.pane, doc, kCaptionTemplate, kCaptionTemplate, parts.pane);
    // The ST line belongs to the rest pages; on the template it lies over the captions.
    ShowStripItem(parts.displayStrip, kCaptionST, FALSE);
    if (parts.displayStrip) parts.displayStrip->ShowWindow(SW_SHOW);
    // The layout shows the set strip on two-set pages only.
    parts.selectionStrip =
        CreateStrip<CDlgCtrl>(parts.pane, doc, kSelectionTemplate, kSelectionTemplate, parts.pane);
    UpdateSelButton(parts);
    parts.commentFrame = CreateFormFrame(parts.pane, doc, RUNTIME_CLASS(CFormInterpreRhyRR), docType);
    parts.view = static_cast<CViewRhythmWave*>(
        CreateChildView(parts.pane, doc, RUNTIME_CLASS(CViewRhythmWave), kRhythmViewId));
    if (parts.view) {
        parts.view->SetHalfStyle(TRUE);
        parts.view->SetDocType(docType);
        parts.view->SetWaveStyle(kFirstViewStyle, TRUE);
    }
    parts.strip = static_cast<CViewScroll1LeadWave*>(
        CreateChildView(parts.pane, doc, RUNTIME_CLASS(CViewScroll1LeadWave), kRhythmStripId));
    if (parts.strip) {
        parts.strip->SetHalfStyle(TRUE);
        parts.strip->SetDocType(docType);
        if (twin.stripShowsRecordLead) parts.strip->SetRhythm1LeadID(parts.record.Rhythm1Lead());
        parts.strip->SetWaveStyle(twin.stripWaveStyle, TRUE);
    }
}

void UpdateSelButton(const CommentPageParts& parts)
{
    CWnd* extra1 = StripItem(parts.selectionStrip, kExtra1Button);
    CWnd* extra2 = StripItem(parts.selectionStrip, kExtra2Button);
    if (!extra1 || !extra2) return;
    extra1->SetWindowText(L"Extra1");
    extra2->SetWindowText(L"Extra2");
    CWnd* chosen = parts.selectExtra1 ? extra1 : extra2;
    CWnd* other = parts.selectExtra1 ? extra2 : extra1;
    chosen->SendMessage(BM_SETCHECK, 1, 0);
    chosen->SetFocus();
    other->SendMessage(BM_SETCHECK, 0, 0);
}

BOOL ApplyCommentPage(const CommentPageParts& parts, const CommentTwin& twin, BOOL mferCall, int extraStyle)
{
    const ExtraRecord& record = parts.record;
    CTavrionDoc* callDoc = mferCall ? static_cast<CTavrionDoc*>(record.extra ? nullptr : record.mfer)
                                    : static_cast<CTavrionDoc*>(record.extra);
    if (!callDoc || !record.HasItem()) return FALSE;
    const CommentRow* row = RowOf(twin, extraStyle);
    if (!row) return FALSE;
    int waveStyle = row->waveStyle;
    int extra1 = record.ExtraSetCode() == 2;
    int offered = FALSE;
    if (waveStyle == kWaveByLayoutCode) {
        // The record's own layout says whether its six leads are one set or two.
        const int code = record.LayoutCode() - (mferCall ? kMFERStyleOffset : 0);
        if (code == twin.oneSetCode) {
            waveStyle = kOneSetWaveStyle;
            extra1 = TRUE;
        } else if (code == twin.twoSetCode) {
            waveStyle = kTwoSetWaveStyle;
            extra1 = record.SetChoice();
            offered = TRUE;
        } else {
            return FALSE;
        }
    }
    parts.selectExtra1 = extra1;
    parts.setOffered = offered;
    if (offered) UpdateSelButton(parts);
    if (IsLive(parts.view)) parts.view->SetShowExtra1Lead(extra1);
    parts.pageStyle = extraStyle;
    if (waveStyle != kWaveUnchanged) {
        callDoc->SetRhythmWaveStyle(waveStyle);
        if (IsLive(parts.view)) parts.view->SetWaveStyle(waveStyle, TRUE);
    }
    return TRUE;
}

CommentLayout PlaceCommentPatient(const CommentPageParts& parts, const CommentTwin& twin, CRect& r)
{
    CTavrionDoc* doc = parts.record.Doc();
    const VirtualPage page = VirtualPage::OfClient(parts.pane, parts.showPatient);
    const DisplayGrid grid = GridOf(doc);
    const PageRect patient{15, 5, 990, 50};
    r = page.Rect(patient);
    if (grid.ByGrid()) r = CRect(grid.margin, r.top, page.Width() - grid.margin, r.bottom);
    if (parts.showPatient) {
        PlacePatientFrame(parts.patientFrame, page, patient, TRUE);
        if (grid.ByGrid() && IsLive(parts.patientFrame)) parts.patientFrame->MoveWindow(r, TRUE);
    } else {
        PlacePatientFrame(parts.patientFrame, page, patient, FALSE);
        r = CRect(r.left, 0, r.right, page.Y(5));
    }
    if (!doc) return kNoLayout;
    const CommentRow* row = RowOf(twin, parts.pageStyle);
    return row ? row->layout : kNoLayout;
}

void SizeComment(const CommentPageParts& parts, const CommentTwin&, const CRect& r, int, int pageHeight)
{
    CTavrionDoc* doc = parts.record.Doc();
    const VirtualPage page = PageOf(parts.pane, pageHeight);
    const DisplayGrid grid = GridOf(doc);
    const int h = page.Y(20), t3 = page.Y(3), t15 = page.Y(15);

    int displayX = page.X(490);
    if (grid.ByGrid() && IsLive(parts.view)) {
        int c = 0, rows = 0;
        parts.view->GetGridCount(c, rows);
        displayX = r.right - static_cast<int>(c * grid.px);
    }
    if (IsLive(parts.displayStrip)) {
        parts.displayStrip->MoveWindow(displayX, r.bottom, page.X(340), h, TRUE);
        const int general[] = {kCaptionGeneral};
        SetStripFont(parts.displayStrip, general, 1, doc ? doc->GetDocFont(0) : nullptr);
        PlaceStripItem(parts.displayStrip, kCaptionGeneral, CRect(0, t3, page.X(340), t3 + t15));
        parts.displayStrip->InvalidateRect(nullptr, FALSE);
    }
    if (parts.setOffered)
        PlaceSetButtons(parts, CRect(displayX + page.X(340), r.bottom, displayX + page.X(340) + page.X(170), r.bottom + h),
                        t3, t15);
    else
        ShowStrip(parts.selectionStrip, FALSE);
    const int top = r.bottom + h;

    const CSize strip = GridStripSize(parts.strip, page.X(514), grid);
    CRect form(page.X(15), top, page.X(15) + page.X(470), top + page.Y(580));
    if (grid.ByGrid()) {
        form.left = r.left;
        form.right = r.right - strip.cx - page.X(5);
    }
    PlaceForm(parts.commentFrame, form);

    WaveColumn column;
    column.viewX = column.stripX = page.X(490);
    column.viewWidth = column.stripWidth = page.X(514);
    column.gridAlignRight = TRUE;
    column.gridRight = r.right;
    column.top = top;
    column.gaps = page.Y(10);
    column.annoUnit = kAnnoBesideForm;
    PlaceWaveColumn(parts.view, parts.strip, column, grid, page.Height());
}

void SizeWaveHalf(const CommentPageParts& parts, const CommentTwin& twin, const CRect& r, int, int pageHeight)
{
    CTavrionDoc* doc = parts.record.Doc();
    CFont* font1 = doc ? doc->GetDocFont(0) : nullptr;
    if (twin.waveHalfNeedsFonts && (!doc || !font1 || !doc->GetDocFont(1))) return;
    const VirtualPage page = PageOf(parts.pane, pageHeight);
    const DisplayGrid grid = GridOf(doc);
    const BOOL byWidth = grid.mode == kDisplaySizeByWidth;
    const int h = byWidth ? 2 * MulDiv(page.Width(), 20, kPageWidth) : page.Y(20);
    const int t = byWidth ? 2 * MulDiv(page.Width(), 15, kPageWidth) : page.Y(15);
    const int t3 = page.Y(3);

    if (IsLive(parts.displayStrip)) {
        parts.displayStrip->MoveWindow(r.left, r.bottom, page.X(650), h, TRUE);
        const int general[] = {kCaptionGeneral};
        SetStripFont(parts.displayStrip, general, 1, font1);
        PlaceStripItem(parts.displayStrip, kCaptionGeneral, CRect(0, t3, page.X(650), t3 + t));
        parts.displayStrip->InvalidateRect(nullptr, FALSE);
    }
    if (parts.setOffered)
        PlaceSetButtons(parts, CRect(r.left + page.X(650), r.bottom, r.right, r.bottom + h), t3, t);
    else
        ShowStrip(parts.selectionStrip, FALSE);
    Hide(parts.commentFrame);
    const int top = r.bottom + h;

    WaveColumn column;
    column.viewX = column.stripX = page.X(15);
    column.viewWidth = column.stripWidth = page.X(994);
    column.gridLeft = r.left;
    column.top = top;
    column.gaps = 2 * page.Y(5);
    column.annoUnit = kAnnoFullWidth;
    PlaceWaveColumn(parts.view, parts.strip, column, grid, page.Height());
}

void SizeCommentHalf(const CommentPageParts& parts, const CRect& r, int, int pageHeight)
{
    const VirtualPage page = PageOf(parts.pane, pageHeight);
    Hide(parts.displayStrip);
    PlaceForm(parts.commentFrame,
              CRect(page.X(16), r.bottom, page.X(16) + page.X(990), r.bottom + page.Y(604)));
    Hide(parts.view);
    Hide(parts.strip);
}

void UpdateCommentPage(const CommentPageParts& parts, const CommentTwin& twin)
{
    CTavrionDoc* doc = parts.record.Doc();
    if (!doc || !parts.record.HasItem()) return;
    parts.selectExtra1 = parts.record.SetChoice();
    UpdateSelButton(parts);
    for (CFrameWnd* frame : {parts.patientFrame, parts.commentFrame})
        if (CFormEx* form = FrameForm(frame)) form->OnUpdate(nullptr, 0, nullptr);
    if (IsLive(parts.view)) {
        parts.view->SetShowExtra1Lead(parts.selectExtra1 != 0);
        parts.view->OnUpdate(nullptr, 0, nullptr);
        parts.view->InvalidateRect(nullptr, FALSE);
    }
    if (twin.stripShowsRecordLead && IsLive(parts.strip)) parts.strip->SetRhythm1LeadID(parts.record.Rhythm1Lead());
    CommentCaptions(parts);
    if (IsLive(parts.strip)) {
        parts.strip->OnUpdate(nullptr, 0, nullptr);
        parts.strip->InvalidateRect(nullptr, FALSE);
    }
}

LRESULT CommentCaptions(const CommentPageParts& parts)
{
    const ExtraRecord& record = parts.record;
    if (!record.Doc()) return 0;
    const float sense = record.Sense(parts.selectExtra1 ? CExtraViewDoc::SENSE_EXTRA1 : CExtraViewDoc::SENSE_EXTRA2);
    const float speed = record.Speed();
    CString text;
    if (record.extra) {
        if (!record.HasItem()) return 0;
        text.Format(L"%.2f mm/mV  %.1f mm/s  %d Hz  %s", sense, speed, record.extra->GetFilter(),
                    PostLoadCaption(record.PostLoadTime()).GetString());
    } else {
        text = MFERCaption(sense, speed, record.mfer->GetMFERFilter(), record.MFERCaptionText(), CString());
    }
    SetStripText(parts.displayStrip, kCaptionGeneral, text);
    ShowStripItem(parts.displayStrip, kCaptionLeft, FALSE);
    ShowStripItem(parts.displayStrip, kCaptionRight, FALSE);
    return 1;
}

BOOL SelectLeadSet(const CommentPageParts& parts, UINT id)
{
    if (id != kExtra1Button && id != kExtra2Button) return FALSE;
    CTavrionDoc* doc = parts.record.Doc();
    if (!doc) return FALSE;
    const int extra1 = id == kExtra1Button ? 1 : 0;
    parts.record.SetSetChoice(extra1);
    parts.selectExtra1 = extra1;
    const int dropAnnotations = doc->GetAnnotationFlag();
    if (IsLive(parts.view)) {
        parts.view->SaveAnnoToData(0, nullptr, dropAnnotations);
        parts.view->SetShowExtra1Lead(extra1);
        parts.view->UpdateDrawDC();
        parts.view->InvalidateRect(nullptr, FALSE);
    }
    if (IsLive(parts.strip)) {
        parts.strip->SaveAnnoToData(0, nullptr, dropAnnotations);
        parts.strip->SetScrollWidth(0, TRUE);
        parts.strip->InvalidateRect(nullptr, FALSE);
    }
    // The buttons toggle their own marks when clicked: the marks follow the choice.
    UpdateSelButton(parts);
    return TRUE;
}

LRESULT JumpBetweenCommentForms(const CommentPageParts& parts, WPARAM wParam)
{
    const FocusJump jump = ReadFocusJump(wParam);
    CFrameWnd* target = nullptr;
    if (jump.source == kFromPatientForm) target = parts.commentFrame;
    if (jump.source == kFromInterpretation) target = parts.patientFrame;
    if (!target) return 0;
    FocusRule rule;
    rule.skipReadOnlyEdits = FALSE;
    rule.paneTakesFocus = FALSE;
    return JumpFocusInto(parts.pane, target, jump, rule);
}

}  // namespace extra
}  // namespace panes
