#include "panes/WndRhythmWave.h"

#include "core/Globals.h"
#include "core/UserMessages.h"
#include "dialogs/DlgCtrl.h"
#include "dialogs/DlgPreNext.h"
#include "documents/MFERViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "forms/FormEx.h"
#include "forms/FormPatientInfo.h"
#include "panes/DividerStrip.h"
#include "panes/PageButtons.h"
#include "panes/PaneKit.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewScroll1LeadWave.h"

IMPLEMENT_DYNAMIC(CWndRhythmWave, CWnd)

BEGIN_MESSAGE_MAP(CWndRhythmWave, CWnd)
    ON_WM_SIZE()
    ON_WM_CREATE()
    ON_MESSAGE(WM_STRIP_DRAGGED, OnUser1LeadScorllDragDrop)
    ON_MESSAGE(WM_DIVIDER_DROPPED, OnUserDividerDrop)
    ON_MESSAGE(WM_ANNOTATION_ACTIVE, OnUserAnnotationActive)
    ON_MESSAGE(WM_FORM_TAB_END, OnFocusJump)
END_MESSAGE_MAP()

namespace {

constexpr int kCaptionTemplate = 102;
constexpr int kCaptionGeneral = 3478;
constexpr int kCaptionLimb = 3479;
constexpr int kCaptionChest = 3480;
constexpr int kCaptionST = 3499;
constexpr int kRowsWaveStyle = 16;
constexpr int kThreeRowsWaveStyle = 17;
constexpr int kStripWaveStyle = 18;
constexpr UINT kDisplaySizeByGrid = 5;
constexpr UINT kDisplaySizeByWidth = 6;
constexpr int kNoLead = 255;
// What the host hears after the divider bits were written back.
constexpr LPARAM kNotifyRhythm = 2;
constexpr LPARAM kNotifyMfer = 7;

void MoveTo(CWnd* wnd, int x, int y, int w, int h)
{
    if (wnd && wnd->GetSafeHwnd()) wnd->MoveWindow(x, y, w, h, TRUE);
}

void ShowWnd(CWnd* wnd, BOOL show)
{
    if (wnd && wnd->GetSafeHwnd()) wnd->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

// The caption text after a post-load examination: its master-step text.
CString PostLoadText(const CString& masterStep)
{
    CString text;
    if (!masterStep.IsEmpty()) text.Format(L"負荷後 %s", masterStep.GetString());
    return text;
}

}  // namespace

CWndRhythmWave::CWndRhythmWave()
    : m_pRhythmViewDoc(nullptr), m_pMFERViewDoc(nullptr), m_bShowPatientInfo(1), m_bShowDivider(1),
      m_pDividerStrip(nullptr), m_pRhythmView(nullptr), m_pRhythmStrip(nullptr), m_pPatientFrame(nullptr),
      m_pCaptionStrip(nullptr), m_pPreNext(nullptr)
{
}

CWndRhythmWave::~CWndRhythmWave()
{
    delete m_pCaptionStrip;
    m_pCaptionStrip = nullptr;
    delete m_pPreNext;
    m_pPreNext = nullptr;
    delete m_pDividerStrip;
    m_pDividerStrip = nullptr;
}

void CWndRhythmWave::SetRhythmViewDoc(CRhythmViewDoc* pDoc)
{
    m_pRhythmViewDoc = pDoc;
    m_pMFERViewDoc = nullptr;
}

void CWndRhythmWave::SetMFERViewDoc(CMFERViewDoc* pDoc)
{
    m_pMFERViewDoc = pDoc;
    m_pRhythmViewDoc = nullptr;
}

CTavrionDoc* CWndRhythmWave::Document() const
{
    if (m_pRhythmViewDoc) return m_pRhythmViewDoc;
    return m_pMFERViewDoc;
}

bool CWndRhythmWave::HasView() const { return m_pRhythmView && m_pRhythmView->GetSafeHwnd(); }

bool CWndRhythmWave::HasStrip() const { return m_pRhythmStrip && m_pRhythmStrip->GetSafeHwnd(); }

// ---- creation --------------------------------------------------------------------------------

int CWndRhythmWave::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    CTavrionDoc* doc = Document();
    const int type = m_pRhythmViewDoc || !m_pMFERViewDoc ? DOC_TYPE_RHYTHM : DOC_TYPE_MFER;
    m_pPatientFrame = panes::CreateFormFrame(this, doc, RUNTIME_CLASS(CFormPatientInfo), type);
    m_pCaptionStrip = panes::CreateStrip<CDlgCtrl>(this, doc, kCaptionTemplate, kCaptionTemplate, this);
    panes::ShowStripItem(m_pCaptionStrip, kCaptionLimb, FALSE);
    panes::ShowStripItem(m_pCaptionStrip, kCaptionChest, FALSE);
    panes::ShowStripItem(m_pCaptionStrip, kCaptionST, FALSE);
    panes::ShowStripItem(m_pCaptionStrip, kCaptionGeneral, TRUE);
    if (m_pCaptionStrip) m_pCaptionStrip->ShowWindow(SW_SHOW);
    m_pRhythmView =
        static_cast<CViewRhythmWave*>(panes::CreateChildView(this, doc, RUNTIME_CLASS(CViewRhythmWave), 201));
    if (m_pRhythmView) {
        m_pRhythmView->SetHalfStyle(FALSE);
        m_pRhythmView->SetDocType(type);
        m_pRhythmView->SetWaveStyle(kRowsWaveStyle, TRUE);
    }
    m_pRhythmStrip = static_cast<CViewScroll1LeadWave*>(
        panes::CreateChildView(this, doc, RUNTIME_CLASS(CViewScroll1LeadWave), 202));
    if (m_pRhythmStrip) {
        m_pRhythmStrip->SetDocType(type);
        if (doc) m_bShowDivider = doc->GetDividerState();
        m_pRhythmStrip->SetWaveStyle(kStripWaveStyle, TRUE);
    }
    m_pPreNext = panes::CreatePreNextStrip(this, doc, L"戻る", L"次へ");
    m_pDividerStrip = panes::CreateDividerStrip(this, doc);
    ShowDivider(m_bShowDivider);
    return 0;
}

// ---- page styles -----------------------------------------------------------------------------

void CWndRhythmWave::ApplyStyle(CTavrionDoc* ownDoc, int waveStyle, int half)
{
    if (HasView()) m_pRhythmView->SetHalfStyle(half);
    if (HasStrip()) m_pRhythmStrip->SetHalfStyle(half);
    if (ownDoc) ownDoc->SetRhythmWaveStyle(waveStyle);
    if (HasView()) m_pRhythmView->SetWaveStyle(waveStyle, TRUE);
    OnUpdate();
    if (GetSafeHwnd()) SendMessage(WM_SIZE, 0, 0);
}

void CWndRhythmWave::ShowRhythmPageStyle(int style)
{
    if (style < 20 || style > 25) return;
    const int waveStyle = style <= 22 ? kRowsWaveStyle : kThreeRowsWaveStyle;
    ApplyStyle(m_pRhythmViewDoc, waveStyle, style == 22 || style == 25);
}

void CWndRhythmWave::ShowMFERPageStyle(int style)
{
    if (style < 35 || style > 40) return;
    const int waveStyle = style <= 37 ? kRowsWaveStyle : kThreeRowsWaveStyle;
    ApplyStyle(m_pMFERViewDoc, waveStyle, style == 37 || style == 40);
}

// ---- layout ----------------------------------------------------------------------------------

void CWndRhythmWave::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    CTavrionDoc* doc = Document();
    if (!doc || !doc->GetDocFont(0)) return;
    CFont* font = doc->GetDocFont(0);
    const UINT mode = doc->GetDisplaySizeMode();
    const bool grid = mode == kDisplaySizeByGrid;
    const bool byWidth = mode == kDisplaySizeByWidth;
    const double px = doc->GetPixelPerMMX(), py = doc->GetPixelPerMMY();
    CRect client;
    GetClientRect(&client);
    cx = client.Width();
    cy = client.Height();
    const panes::VirtualPage page(cx, cy, panes::VirtualPage::PageHeight(m_bShowPatientInfo));
    const int margin = static_cast<int>(10 * g_dXUnit);

    // The patient strip, or no height at all while it is hidden.
    int patientHeight = 0;
    if (m_bShowPatientInfo) {
        CRect patient = page.Rect({16, 7, 989, 50});
        if (grid) {
            patient.left = margin;
            patient.right = cx - margin;
        }
        if (m_pPatientFrame && m_pPatientFrame->GetSafeHwnd()) {
            m_pPatientFrame->MoveWindow(patient, TRUE);
            m_pPatientFrame->ShowWindow(SW_SHOW);
            if (CFormEx* form = panes::FrameForm(m_pPatientFrame)) {
                form->SendMessage(WM_SIZE, 0, 0);
                form->ShowText();
            }
        }
        patientHeight = patient.Height();
    } else {
        ShowWnd(m_pPatientFrame, FALSE);
    }

    // The caption line.
    const int captionX = grid ? margin + static_cast<int>(10 * px) : page.X(56);
    const int captionY = page.Y(7) + patientHeight;
    const int captionW = page.X(950), captionH = page.Y(20);
    MoveTo(m_pCaptionStrip, captionX, captionY, captionW, captionH);
    const int captionIds[] = {kCaptionLimb, kCaptionChest, kCaptionGeneral};
    panes::SetStripFont(m_pCaptionStrip, captionIds, 3, font);
    MoveTo(panes::StripItem(m_pCaptionStrip, kCaptionGeneral), 0, page.Y(3), captionW, page.Y(15));
    if (m_pCaptionStrip && m_pCaptionStrip->GetSafeHwnd()) m_pCaptionStrip->InvalidateRect(nullptr, FALSE);
    const int top = captionY + captionH;

    // The one-lead strip's size from its grid; a grid without squares, or a
    // page sized to nothing, leaves it empty.
    int stripColumns = 0, stripRows = 0;
    if (HasStrip()) m_pRhythmStrip->GetGridCount(stripColumns, stripRows);
    const int stripX = grid ? margin : page.X(15);
    int stripW = 0, stripH = 0;
    if (grid) {
        stripW = static_cast<int>(stripColumns * px) + 1;
        stripH = static_cast<int>(stripRows * py) + 1;
    } else {
        stripW = page.X(990);
        if (stripColumns > 0 && stripW > 0)
            stripH = static_cast<int>(static_cast<double>(stripW) / stripColumns * stripRows) + 1;
    }
    const double room = (cy - stripH - page.Y(5)) - top - page.Y(5);

    // The rhythm view in whole blocks of five rows above the strip.
    const BOOL half = HasView() && m_pRhythmView->IsHalfStyle();
    int viewColumns = 0, viewRows = 0;
    if (HasView()) m_pRhythmView->GetGridCount(viewColumns, viewRows);
    const int viewX = grid ? margin : page.X(16);
    const int viewW = grid ? static_cast<int>(viewColumns * px) + 1 : page.X(989);
    const double rowHeight = grid ? py : (viewColumns > 0 ? static_cast<double>(viewW) / viewColumns : 0.0);
    const int rows = panes::RowsInRoom(room, rowHeight);
    const int viewH = viewW > 0 && viewColumns > 0 ? panes::GridHeight(rows, rowHeight) : 0;
    if (HasView()) {
        m_pRhythmView->InitBackground(viewColumns, rows);
        const float scale = static_cast<float>(viewW * 0.0010111224);
        m_pRhythmView->SetAnnoSizeRatio(half ? scale * 2 : scale);
        m_pRhythmView->MoveWindow(viewX, top, viewW, viewH, TRUE);
    }
    const int stripY = top + viewH + (cy - stripH - top - viewH) / 2;
    if (HasStrip()) {
        const float scale = static_cast<float>(stripW * 0.001010101);
        m_pRhythmStrip->SetAnnoSizeRatio(half ? scale * 2 : scale);
        m_pRhythmStrip->MoveWindow(stripX, stripY, stripW, stripH, TRUE);
    }

    // Back and next over the strip's left end.
    MoveTo(m_pPreNext, stripX, stripY, page.X(175), stripH);
    const int buttonY = grid ? static_cast<int>(10 * py) : byWidth ? 3 * stripH / 11 : page.Y(30);
    const int buttonH = byWidth ? 3 * stripH / 11 : page.Y(30);
    MoveTo(panes::StripItem(m_pPreNext, panes::kBackButton), 0, buttonY, page.X(80), buttonH);
    MoveTo(panes::StripItem(m_pPreNext, panes::kNextButton), page.X(80) + page.X(10), buttonY, page.X(80), buttonH);
    const int buttons[] = {panes::kBackButton, panes::kNextButton};
    panes::SetStripFont(m_pPreNext, buttons, 2, font);

    // The readings of the three caliper pairs beside them.
    MoveTo(m_pDividerStrip, page.X(175) + margin, stripY, stripW - page.X(185) + page.X(15), stripH);
    const int y1 = grid ? static_cast<int>(10 * py) : byWidth ? 3 * stripH / 11 : page.Y(30);
    const int boxH = byWidth ? 2 * stripH / 11 : page.Y(20);
    const int y2 = byWidth ? y1 + boxH + stripH / 11 : y1 + boxH + page.Y(10);
    const int boxX = page.X(10), boxW = page.X(20), textW = page.X(372);
    const int textX = page.X(10) + page.X(20) + page.X(5);
    const int pair2X = textX + page.X(372) + page.X(10);
    const int text2X = pair2X + page.X(20) + page.X(5);
    MoveTo(panes::StripItem(m_pDividerStrip, panes::kDividerCheck[0]), boxX, y1, boxW, boxH);
    MoveTo(panes::StripItem(m_pDividerStrip, panes::kDividerText[0]), textX, y1, textW, boxH);
    MoveTo(panes::StripItem(m_pDividerStrip, panes::kDividerCheck[1]), pair2X, y1, boxW, boxH);
    MoveTo(panes::StripItem(m_pDividerStrip, panes::kDividerText[1]), text2X, y1, textW, boxH);
    MoveTo(panes::StripItem(m_pDividerStrip, panes::kDividerCheck[2]), boxX, y2, boxW, boxH);
    MoveTo(panes::StripItem(m_pDividerStrip, panes::kDividerText[2]), textX, y2, textW, boxH);
    const int dividers[] = {panes::kDividerCheck[0], panes::kDividerText[0], panes::kDividerCheck[1],
                            panes::kDividerText[1],  panes::kDividerCheck[2], panes::kDividerText[2]};
    panes::SetStripFont(m_pDividerStrip, dividers, 6, font);
}

// ---- update ----------------------------------------------------------------------------------

void CWndRhythmWave::OnUpdate()
{
    if (CFormEx* form = panes::FrameForm(m_pPatientFrame)) form->OnUpdate(nullptr, 0, nullptr);
    CTavrionDoc* doc = Document();
    if (doc) {
        int lead = m_pRhythmViewDoc ? m_pRhythmViewDoc->GetRhythm1LeadID() : m_pMFERViewDoc->GetRhythm1LeadID();
        if (lead == kNoLead) lead = 0;
        if (HasStrip()) m_pRhythmStrip->SetRhythm1LeadID(lead);
        UpdateDisplayInfo(doc->GetRhythmWaveStyle());
        SetDividerCheck(doc->GetDividerCheck());
        CheckDlgDivider(doc->GetDividerCheck());
    }
    if (HasStrip()) {
        m_pRhythmStrip->OnUpdate(nullptr, 0, nullptr);
        m_pRhythmStrip->InvalidateRect(nullptr, FALSE);
    }
    if (HasView()) {
        m_pRhythmView->OnUpdate(nullptr, 0, nullptr);
        m_pRhythmView->InvalidateRect(nullptr, FALSE);
        UpdatePageState(m_pRhythmView->ChangePageSample(0));
    }
    if (m_pPreNext && m_pPreNext->GetSafeHwnd()) m_pPreNext->OnInitDialog();
}

void CWndRhythmWave::UpdateDisplayInfo(int)
{
    CTavrionDoc* doc = Document();
    if (!doc) return;
    CString text;
    if (m_pRhythmViewDoc) {
        _RHYTHMDATAITEM* item = m_pRhythmViewDoc->GetCurrentDataItem();
        const CString postLoad = item ? PostLoadText(item->strMasterStepInfo) : CString();
        text.Format(L"%.2f mm/mV  %.1f mm/s  %d Hz  %s", doc->GetSense(6, 0), doc->GetSpeed(), doc->GetFilter(),
                    postLoad.GetString());
    } else {
        _MFERDATAITEM* item = m_pMFERViewDoc->GetCurrentDataItem();
        const CString masterStep = item ? item->strMasterStep : CString();
        text.Format(L"%.2f mm/mV  %.1f mm/s  %s  %s", doc->GetSense(6, 0), doc->GetSpeed(),
                    m_pMFERViewDoc->GetMFERFilter().GetString(), masterStep.GetString());
    }
    panes::SetStripText(m_pCaptionStrip, kCaptionGeneral, text);
}

void CWndRhythmWave::UpdatePageState(int state)
{
    if (state < 0 || state > panes::kSinglePage) return;
    panes::EnablePreNext(m_pPreNext, state);
}

void CWndRhythmWave::SetDividerCheck(int bits) { panes::GiveDividerBits(m_pRhythmView, bits); }

void CWndRhythmWave::CheckDlgDivider(int bits)
{
    if (m_bShowDivider) panes::CheckDividerBoxes(m_pDividerStrip, bits);
}

void CWndRhythmWave::ShowDivider(int show)
{
    m_bShowDivider = show;
    if (show) {
        if (HasView()) m_pRhythmView->ShowDivider(TRUE);
        if (CTavrionDoc* doc = Document()) CheckDlgDivider(doc->GetDividerCheck());
    }
    ShowWnd(m_pRhythmStrip, !show);
    ShowWnd(m_pPreNext, show != 0);
    ShowWnd(m_pDividerStrip, show != 0);
}

void CWndRhythmWave::HideAllPopupDlg(BOOL show)
{
    if (HasView()) m_pRhythmView->HideAllPopupDlg(show);
    if (HasStrip()) m_pRhythmStrip->HideAllPopupDlg(show);
}

void CWndRhythmWave::CloseAllPopupDlg()
{
    if (HasView()) m_pRhythmView->CloseAllPopupDlg();
    if (HasStrip()) m_pRhythmStrip->CloseAllPopupDlg();
}

// ---- commands and messages -------------------------------------------------------------------

void CWndRhythmWave::PageTo(int pages)
{
    if (!HasView()) return;
    m_pRhythmView->SaveAnnoToData(0, nullptr, Document()->GetAnnotationFlag());
    UpdatePageState(m_pRhythmView->ChangePageSample(pages));
    m_pRhythmView->InvalidateRect(nullptr, FALSE);
    if (HasStrip()) {
        m_pRhythmStrip->SetStartTime(m_pRhythmView->GetStartTime());
        m_pRhythmStrip->InvalidateRect(nullptr, FALSE);
    }
}

BOOL CWndRhythmWave::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // A probe asks who would handle the command; it is not a command.
    if (pHandlerInfo) return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    CTavrionDoc* doc = Document();
    if (!doc) return 0;
    int bits = doc->GetDividerCheck();
    if (nCode == CN_COMMAND) {
        if (nID == panes::kBackButton) PageTo(-1);
        if (nID == panes::kNextButton) PageTo(1);
        const int pair = panes::DividerPairOfCheck(nID);
        if (pair >= 0) bits = panes::ToggleDividerPair(m_pDividerStrip, m_pRhythmView, pair, bits);
    }
    doc->SetDividerCheck(bits);
    doc->SendToNotifyWnd(WM_DIVIDER_BITS_WRITTEN, 0, m_pRhythmViewDoc ? kNotifyRhythm : kNotifyMfer);
    if (HasStrip()) {
        m_pRhythmStrip->SetScrollWidth(0, TRUE);
        m_pRhythmStrip->InvalidateRect(nullptr, FALSE);
    }
    return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT CWndRhythmWave::OnUser1LeadScorllDragDrop(WPARAM wParam, LPARAM)
{
    panes::RelayStripDrag(Document(), m_pRhythmView, static_cast<int>(wParam));
    if (HasView()) UpdatePageState(m_pRhythmView->ChangePageSample(0));
    return 0;
}

LRESULT CWndRhythmWave::OnUserDividerDrop(WPARAM wParam, LPARAM lParam)
{
    panes::ShowDividerReading(m_pDividerStrip, static_cast<int>(wParam), lParam);
    return 0;
}

LRESULT CWndRhythmWave::OnUserAnnotationActive(WPARAM wParam, LPARAM)
{
    CWaveView* views[] = {m_pRhythmView, m_pRhythmStrip};
    return panes::RelayAnnotationActive(reinterpret_cast<CWnd*>(wParam), views, 2);
}

LRESULT CWndRhythmWave::OnFocusJump(WPARAM wParam, LPARAM)
{
    return panes::JumpIntoOnlyForm(this, m_pPatientFrame, wParam);
}
