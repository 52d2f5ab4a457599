#include "panes/WndRhythmComment.h"

#include "core/Globals.h"
#include "core/UserMessages.h"
#include "dialogs/DlgCtrl.h"
#include "dialogs/DlgPreNext.h"
#include "documents/MFERViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "forms/FormEx.h"
#include "forms/FormInterpreRhyRR.h"
#include "forms/FormPatientInfo.h"
#include "panes/PageButtons.h"
#include "panes/PaneKit.h"
#include "waveviews/ViewRhythmWave.h"

IMPLEMENT_DYNAMIC(CWndRhythmComment, CWnd)

BEGIN_MESSAGE_MAP(CWndRhythmComment, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_MESSAGE(WM_FORM_TAB_END, OnFocusJump)
    ON_MESSAGE(WM_ANNOTATION_ACTIVE, OnUserAnnotationActive)
END_MESSAGE_MAP()

namespace {

constexpr int kCaptionTemplate = 102;
constexpr int kCaptionGeneral = 3478;
constexpr int kCaptionLimb = 3479;
constexpr int kCaptionChest = 3480;
constexpr int kCaptionST = 3499;
constexpr int kRowsWaveStyle = 16;
constexpr int kThreeRowsWaveStyle = 17;
constexpr int kThreeRowTypeValue = 3;
constexpr unsigned int kMferThreeLeads = 0x8003;
constexpr UINT kDisplaySizeByGrid = 5;
constexpr UINT kDisplaySizeByWidth = 6;
// The annotation scale is one unit of the view's page width.
constexpr float kCommentAnnoScale = 0.0019455253f;   // one 514th
constexpr float kWaveHalfAnnoScale = 0.002020202f;   // one 495th

enum class Layout { None, Comment, WaveHalf, CommentHalf };

Layout LayoutOf(int style)
{
    switch (style) {
    case 22: case 25: case 37: case 40: return Layout::WaveHalf;
    case 26: case 27: case 49: case 50: return Layout::Comment;
    case 28: case 51: return Layout::CommentHalf;
    default: return Layout::None;
    }
}

// The side margin of display size mode 5, in pixels.
int GridModeMargin() { return static_cast<int>(10 * g_dXUnit); }

BOOL IsLive(CWnd* wnd) { return wnd && wnd->GetSafeHwnd(); }

}  // namespace

CWndRhythmComment::CWndRhythmComment()
    : m_pRhythmViewDoc(nullptr), m_pMFERViewDoc(nullptr), m_bShowPatientInfo(1), m_nPageStyle(26),
      m_pPatientFrame(nullptr), m_pCommentFrame(nullptr), m_pRhythmView(nullptr), m_pCaptionStrip(nullptr),
      m_pPreNext(nullptr)
{
}

CWndRhythmComment::~CWndRhythmComment()
{
    delete m_pCaptionStrip;
    m_pCaptionStrip = nullptr;
    delete m_pPreNext;
    m_pPreNext = nullptr;
}

void CWndRhythmComment::SetRhythmViewDoc(CRhythmViewDoc* pDoc)
{
    m_pRhythmViewDoc = pDoc;
    m_pMFERViewDoc = nullptr;
}

void CWndRhythmComment::SetMFERViewDoc(CMFERViewDoc* pDoc)
{
    m_pMFERViewDoc = pDoc;
    m_pRhythmViewDoc = nullptr;
}

CTavrionDoc* CWndRhythmComment::Document() const
{
    if (m_pRhythmViewDoc) return m_pRhythmViewDoc;
    return m_pMFERViewDoc;
}

int CWndRhythmComment::DocType() const { return m_pRhythmViewDoc ? DOC_TYPE_RHYTHM : DOC_TYPE_MFER; }

int CWndRhythmComment::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    CTavrionDoc* doc = Document();
    const int type = DocType();
    m_pPatientFrame = panes::CreateFormFrame(this, doc, RUNTIME_CLASS(CFormPatientInfo), type);
    m_pCaptionStrip = panes::CreateStrip<CDlgCtrl>(this, doc, kCaptionTemplate, kCaptionTemplate, this);
    panes::ShowStripItem(m_pCaptionStrip, kCaptionLimb, FALSE);
    panes::ShowStripItem(m_pCaptionStrip, kCaptionChest, FALSE);
    panes::ShowStripItem(m_pCaptionStrip, kCaptionST, FALSE);
    panes::ShowStripItem(m_pCaptionStrip, kCaptionGeneral, TRUE);
    if (m_pCaptionStrip) m_pCaptionStrip->ShowWindow(SW_SHOW);
    m_pCommentFrame = panes::CreateFormFrame(this, doc, RUNTIME_CLASS(CFormInterpreRhyRR), type);
    m_pRhythmView =
        static_cast<CViewRhythmWave*>(panes::CreateChildView(this, doc, RUNTIME_CLASS(CViewRhythmWave), 201));
    if (m_pRhythmView) {
        // The view stays in half style for the pane's whole life.
        m_pRhythmView->SetHalfStyle(TRUE);
        m_pRhythmView->SetDocType(type);
        m_pRhythmView->SetWaveStyle(kRowsWaveStyle, TRUE);
        m_pRhythmView->SetAnnoViewActive(TRUE);
    }
    m_pPreNext = panes::CreatePreNextStrip(this, doc, L"戻る", L"次へ");
    return 0;
}

// ---- page styles -----------------------------------------------------------------------------

int CWndRhythmComment::CommentWaveStyle() const
{
    if (m_pRhythmViewDoc)
        return m_pRhythmViewDoc->GetCurrentTypeValue() == kThreeRowTypeValue ? kThreeRowsWaveStyle : kRowsWaveStyle;
    _MFERDATAITEM* item = m_pMFERViewDoc ? m_pMFERViewDoc->GetCurrentDataItem() : nullptr;
    return item && item->uSystemCode == kMferThreeLeads ? kThreeRowsWaveStyle : kRowsWaveStyle;
}

void CWndRhythmComment::ShowRhythmPageStyle(int style)
{
    int waveStyle;
    switch (style) {
    case 22: waveStyle = kRowsWaveStyle; break;
    case 25: waveStyle = kThreeRowsWaveStyle; break;
    case 26: case 27: case 28: waveStyle = CommentWaveStyle(); break;
    default: return;
    }
    ApplyPageStyle(style, waveStyle, m_pRhythmViewDoc != nullptr);
}

void CWndRhythmComment::ShowMFERPageStyle(int style)
{
    int waveStyle;
    switch (style) {
    case 37: waveStyle = kRowsWaveStyle; break;
    case 40: waveStyle = kThreeRowsWaveStyle; break;
    case 49: case 50: case 51: waveStyle = CommentWaveStyle(); break;
    default: return;
    }
    ApplyPageStyle(style, waveStyle, m_pMFERViewDoc != nullptr);
}

void CWndRhythmComment::ApplyPageStyle(int style, int waveStyle, BOOL ownKind)
{
    m_nPageStyle = style;
    if (ownKind) Document()->SetRhythmWaveStyle(waveStyle);
    if (IsLive(m_pRhythmView)) m_pRhythmView->SetWaveStyle(waveStyle, TRUE);
    OnUpdate();
    SendMessage(WM_SIZE, 0, 0);
}

// ---- layout ----------------------------------------------------------------------------------

CRect CWndRhythmComment::PatientRect(int cx, int cy) const
{
    const panes::VirtualPage page(cx, cy, panes::VirtualPage::PageHeight(m_bShowPatientInfo));
    CTavrionDoc* doc = Document();
    int left = page.X(15), width = page.X(990);
    if (doc->GetDisplaySizeMode() == kDisplaySizeByGrid) {
        left = GridModeMargin();
        width = cx - 2 * left;
    }
    if (!m_bShowPatientInfo) return CRect(left, 0, left + width, page.Y(5));
    const int top = page.Y(5);
    const int height = doc->GetDisplaySizeMode() == kDisplaySizeByWidth ? MulDiv(cx, 55, 1020) : page.Y(50);
    return CRect(left, top, left + width, top + height);
}

void CWndRhythmComment::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (!Document()) return;
    CRect client;
    GetClientRect(&client);
    const CRect patient = PatientRect(client.Width(), client.Height());
    if (IsLive(m_pPatientFrame)) {
        if (m_bShowPatientInfo) {
            m_pPatientFrame->MoveWindow(patient, TRUE);
            m_pPatientFrame->ShowWindow(SW_SHOW);
            if (CFormEx* form = panes::FrameForm(m_pPatientFrame)) {
                form->SendMessage(WM_SIZE, 0, 0);
                form->ShowText();
            }
        } else {
            m_pPatientFrame->ShowWindow(SW_HIDE);
        }
    }
    const int pageHeight = panes::VirtualPage::PageHeight(m_bShowPatientInfo);
    switch (LayoutOf(m_nPageStyle)) {
    case Layout::Comment: SizeComment(patient, panes::kPageWidth, pageHeight); break;
    case Layout::WaveHalf: SizeWaveHalf(patient, panes::kPageWidth, pageHeight); break;
    case Layout::CommentHalf: SizeCommentHalf(patient, panes::kPageWidth, pageHeight); break;
    case Layout::None: break;
    }
}

int CWndRhythmComment::FitRhythmView(int width, double room, float annoScale)
{
    int columns = 0, rows = 0;
    m_pRhythmView->GetGridCount(columns, rows);
    CTavrionDoc* doc = Document();
    int height;
    if (doc->GetDisplaySizeMode() == kDisplaySizeByGrid) {
        const double py = doc->GetPixelPerMMY();
        rows = panes::RowsInRoom(room, py);
        height = panes::GridHeight(rows, py);
    } else {
        const double rowHeight = columns > 0 ? static_cast<double>(width) / columns : 0.0;
        rows = panes::RowsInRoom(room, rowHeight);
        height = panes::GridHeight(rows, rowHeight);
    }
    // A pane sized to nothing, or a grid without columns, shows an empty view
    // rather than one of a negative or infinite height.
    if (width <= 0 || columns <= 0) height = 0;
    m_pRhythmView->InitBackground(columns, rows);
    m_pRhythmView->SetAnnoSizeRatio(static_cast<float>(width) * annoScale);
    return height;
}

void CWndRhythmComment::PlaceCaption(const CRect& rc, int textHeight)
{
    if (!IsLive(m_pCaptionStrip)) return;
    m_pCaptionStrip->MoveWindow(rc, TRUE);
    const panes::VirtualPage page = panes::VirtualPage::OfClient(this, m_bShowPatientInfo);
    if (CWnd* text = panes::StripItem(m_pCaptionStrip, kCaptionGeneral))
        text->MoveWindow(0, page.Y(3), rc.Width(), textHeight, TRUE);
    const int ids[] = {kCaptionGeneral};
    panes::SetStripFont(m_pCaptionStrip, ids, 1, Document()->GetDocFont(0));
    m_pCaptionStrip->InvalidateRect(nullptr, FALSE);
}

void CWndRhythmComment::MoveCommentFrame(const CRect& rc)
{
    if (!IsLive(m_pCommentFrame)) return;
    m_pCommentFrame->MoveWindow(rc, TRUE);
    if (CFormEx* form = panes::FrameForm(m_pCommentFrame)) {
        form->ShowText();
        if (!rc.IsRectEmpty()) form->SendMessage(WM_SIZE, 0, 0);
    }
}

void CWndRhythmComment::SizeComment(CRect rcPatient, int, int)
{
    CTavrionDoc* doc = Document();
    if (!doc->GetDocFont(0) || !IsLive(m_pRhythmView)) return;
    const panes::VirtualPage page = panes::VirtualPage::OfClient(this, m_bShowPatientInfo);
    const int cy = page.Height();
    const BOOL gridMode = doc->GetDisplaySizeMode() == kDisplaySizeByGrid;
    const double px = doc->GetPixelPerMMX();
    int columns = 0, rows = 0;
    m_pRhythmView->GetGridCount(columns, rows);
    const int gridWidth = columns > 10 && px > 0.0 ? static_cast<int>((columns - 10) * px) : 0;

    const int stripHeight = page.Y(20);
    const int B = rcPatient.bottom;
    CRect caption = gridMode ? CRect(rcPatient.right - gridWidth, B, rcPatient.right, B + stripHeight)
                             : CRect(page.X(530), B, page.X(530) + page.X(475), B + stripHeight);
    PlaceCaption(caption, page.Y(15));
    const int top = B + stripHeight;

    const double room = (cy - top - page.Y(5)) - page.Y(30);
    const int width = gridMode ? (px > 0.0 ? static_cast<int>(columns * px) + 1 : 0) : page.X(514);
    const int height = FitRhythmView(width, room, kCommentAnnoScale);

    const int formLeft = gridMode ? rcPatient.left : page.X(15);
    const int formWidth = gridMode ? rcPatient.right - width - rcPatient.left - page.X(5) : page.X(470);
    const int formHeight = cy - top - page.Y(5);
    MoveCommentFrame(CRect(formLeft, top, formLeft + (formWidth > 0 ? formWidth : 0),
                           top + (formHeight > 0 ? formHeight : 0)));

    const int viewLeft = gridMode ? rcPatient.right - width : formLeft + page.X(5) + formWidth;
    m_pRhythmView->MoveWindow(viewLeft, top, width, height, TRUE);

    if (IsLive(m_pPreNext)) {
        const int stripTop = top + height + page.Y(5);
        m_pPreNext->MoveWindow(viewLeft, stripTop, page.X(200), page.Y(25), TRUE);
        page.Place(panes::StripItem(m_pPreNext, panes::kBackButton), {0, 0, 80, 25});
        page.Place(panes::StripItem(m_pPreNext, panes::kNextButton), {90, 0, 80, 25});
        const int ids[] = {panes::kBackButton, panes::kNextButton};
        panes::SetStripFont(m_pPreNext, ids, 2, doc->GetDocFont(0));
    }
}

void CWndRhythmComment::SizeWaveHalf(CRect rcPatient, int, int)
{
    CTavrionDoc* doc = Document();
    if (!doc->GetDocFont(0) || !IsLive(m_pRhythmView)) return;
    const panes::VirtualPage page = panes::VirtualPage::OfClient(this, m_bShowPatientInfo);
    const int cx = page.Width(), cy = page.Height();
    const BOOL gridMode = doc->GetDisplaySizeMode() == kDisplaySizeByGrid;
    // The width mode takes the strips' heights from the pane's width, doubled.
    const BOOL widthMode = doc->GetDisplaySizeMode() == kDisplaySizeByWidth;
    const int stripHeight = widthMode ? 2 * MulDiv(cx, 20, 1020) : page.Y(20);
    const int textHeight = widthMode ? 2 * MulDiv(cx, 15, 1020) : page.Y(15);
    const int buttonsHeight = widthMode ? 2 * MulDiv(cx, 25, 1020) : page.Y(25);
    const double px = doc->GetPixelPerMMX();
    int columns = 0, rows = 0;
    m_pRhythmView->GetGridCount(columns, rows);
    const int gridWidth = columns > 10 && px > 0.0 ? static_cast<int>((columns - 10) * px) : 0;

    const int B = rcPatient.bottom;
    const int captionLeft = gridMode ? rcPatient.left + static_cast<int>(10 * px) : page.X(80);
    PlaceCaption(CRect(captionLeft, B, captionLeft + (gridMode ? gridWidth : page.X(800)), B + stripHeight),
                 textHeight);
    MoveCommentFrame(CRect(0, 0, 0, 0));
    const int top = B + stripHeight;

    const double room = cy - top - page.Y(35);
    const int width = gridMode ? (px > 0.0 ? static_cast<int>(columns * px) + 1 : 0) : page.X(990);
    const int height = FitRhythmView(width, room, kWaveHalfAnnoScale);
    const int viewLeft = gridMode ? rcPatient.left : page.X(16);
    m_pRhythmView->MoveWindow(viewLeft, top, width, height, TRUE);

    if (IsLive(m_pPreNext)) {
        const int stripTop = top + height + (cy - height - top - page.Y(25)) / 2;
        m_pPreNext->MoveWindow(viewLeft, stripTop, page.X(400), buttonsHeight, TRUE);
        page.Place(panes::StripItem(m_pPreNext, panes::kBackButton), {0, 0, 160, 25});
        page.Place(panes::StripItem(m_pPreNext, panes::kNextButton), {180, 0, 160, 25});
        const int ids[] = {panes::kBackButton, panes::kNextButton};
        panes::SetStripFont(m_pPreNext, ids, 2, doc->GetDocFont(0));
    }
}

void CWndRhythmComment::SizeCommentHalf(CRect rcPatient, int, int)
{
    const panes::VirtualPage page = panes::VirtualPage::OfClient(this, m_bShowPatientInfo);
    const CRect none(0, 0, 0, 0);
    if (IsLive(m_pCaptionStrip)) m_pCaptionStrip->MoveWindow(none, TRUE);
    if (IsLive(m_pRhythmView)) m_pRhythmView->MoveWindow(none, TRUE);
    if (IsLive(m_pPreNext)) m_pPreNext->MoveWindow(none, TRUE);
    const int left = page.X(16), top = rcPatient.bottom;
    MoveCommentFrame(CRect(left, top, left + page.X(990), top + page.Y(600)));
}

// ---- update ----------------------------------------------------------------------------------

void CWndRhythmComment::OnUpdate()
{
    CFrameWnd* frames[] = {m_pPatientFrame, m_pCommentFrame};
    for (CFrameWnd* frame : frames)
        if (CFormEx* form = panes::FrameForm(frame)) form->OnUpdate(nullptr, 0, nullptr);
    if (IsLive(m_pRhythmView)) {
        m_pRhythmView->OnUpdate(nullptr, 0, nullptr);
        m_pRhythmView->InvalidateRect(nullptr, FALSE);
    }
    if (CTavrionDoc* doc = Document()) UpdateDisplayInfo(doc->GetRhythmWaveStyle());
    if (IsLive(m_pRhythmView)) panes::EnablePreNext(m_pPreNext, m_pRhythmView->ChangePageSample(0));
    if (IsLive(m_pPreNext)) m_pPreNext->OnInitDialog();
}

void CWndRhythmComment::UpdateDisplayInfo(int)
{
    CTavrionDoc* doc = Document();
    if (!doc) return;
    CString text;
    if (m_pRhythmViewDoc) {
        _RHYTHMDATAITEM* item = m_pRhythmViewDoc->GetCurrentDataItem();
        CString postLoad;
        if (item && !item->strMasterStepInfo.IsEmpty())
            postLoad.Format(L"負荷後 %s", static_cast<LPCWSTR>(item->strMasterStepInfo));
        text.Format(L"%.2f mm/mV  %.1f mm/s  %d Hz  %s", doc->GetSense(6, 0), doc->GetSpeed(), doc->GetFilter(),
                    static_cast<LPCWSTR>(postLoad));
    } else {
        _MFERDATAITEM* item = m_pMFERViewDoc->GetCurrentDataItem();
        const CString masterStep = item ? item->strMasterStep : CString();
        const CString filter = m_pMFERViewDoc->GetMFERFilter();
        text.Format(L"%.2f mm/mV  %.1f mm/s  %s  %s", doc->GetSense(6, 0), doc->GetSpeed(),
                    static_cast<LPCWSTR>(filter), static_cast<LPCWSTR>(masterStep));
    }
    panes::SetStripText(m_pCaptionStrip, kCaptionGeneral, text);
}

// ---- commands and messages -------------------------------------------------------------------

void CWndRhythmComment::PageTo(int pages)
{
    const int other = pages < 0 ? panes::kNextButton : panes::kBackButton;
    const int self = pages < 0 ? panes::kBackButton : panes::kNextButton;
    const int end = pages < 0 ? panes::kAtFirstPage : panes::kAtLastPage;
    panes::EnableStripItem(m_pPreNext, other, TRUE);
    m_pRhythmView->SaveAnnoToData(0, nullptr, Document()->GetAnnotationFlag());
    if (m_pRhythmView->ChangePageSample(pages) == end) panes::EnableStripItem(m_pPreNext, self, FALSE);
    m_pRhythmView->InvalidateRect(nullptr, FALSE);
}

BOOL CWndRhythmComment::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // A probe asks who would handle the command; it pages nothing.
    const BOOL paging = !pHandlerInfo && nCode == CN_COMMAND && Document() && IsLive(m_pRhythmView);
    if (paging && nID == panes::kBackButton) PageTo(-1);
    if (paging && nID == panes::kNextButton) PageTo(1);
    return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT CWndRhythmComment::OnFocusJump(WPARAM wParam, LPARAM)
{
    // Only the patient form and the rhythm comment form hand the focus on here.
    const panes::FocusJump jump = panes::ReadFocusJump(wParam);
    if (jump.source != panes::kFromPatientForm && jump.source != panes::kFromInterpretation) return 0;
    return panes::JumpBetweenForms(this, m_pPatientFrame, m_pCommentFrame, wParam);
}

LRESULT CWndRhythmComment::OnUserAnnotationActive(WPARAM wParam, LPARAM)
{
    CWaveView* views[] = {m_pRhythmView};
    return panes::RelayAnnotationActive(reinterpret_cast<CWnd*>(wParam), views, 1);
}
