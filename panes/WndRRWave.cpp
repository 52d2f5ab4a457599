#include "panes/WndRRWave.h"

#include <cmath>

#include "core/Globals.h"
#include "core/UserMessages.h"
#include "dialogs/DlgCtrl.h"
#include "dialogs/DlgPreNext.h"
#include "documents/RRViewDoc.h"
#include "forms/FormEx.h"
#include "forms/FormPatientInfo.h"
#include "panes/DividerStrip.h"
#include "panes/PageButtons.h"
#include "panes/PaneKit.h"
#include "waveviews/ViewRhythmWave.h"

IMPLEMENT_DYNAMIC(CWndRRWave, CWnd)

BEGIN_MESSAGE_MAP(CWndRRWave, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_MESSAGE(WM_DIVIDER_DROPPED, OnUserDividerDrop)
    ON_MESSAGE(WM_FORM_TAB_END, OnFocusJump)
    ON_MESSAGE(WM_ANNOTATION_ACTIVE, OnUserAnnotationActive)
END_MESSAGE_MAP()

namespace {

constexpr int kRRDocType = 3;
constexpr int kCaptionTemplate = 102;
constexpr int kCaptionGeneral = 3478;
constexpr int kCaptionLimb = 3479;
constexpr int kCaptionChest = 3480;
constexpr int kCaptionST = 3499;
constexpr int kOneLeadWaveStyle = 20;
constexpr int kThreeLeadWaveStyle = 21;
constexpr int kFullColumns = 260;
constexpr int kHalfColumns = 135;
constexpr int kNotifyRR = 3;
constexpr UINT kDisplaySizeByGrid = 5;
constexpr double kAnnoUnitWidth = 989.0;

// The side margin of display size mode 5, in pixels.
int GridModeMargin() { return static_cast<int>(10 * g_dXUnit); }

}  // namespace

CWndRRWave::CWndRRWave()
    : m_pRRViewDoc(nullptr), m_bShowPatientInfo(TRUE), m_nPageStyle(3), m_pRhythmView(nullptr),
      m_pPatientFrame(nullptr), m_pCaptionStrip(nullptr), m_pPreNext(nullptr), m_pDividerStrip(nullptr)
{
}

CWndRRWave::~CWndRRWave()
{
    delete m_pCaptionStrip;
    m_pCaptionStrip = nullptr;
    delete m_pPreNext;
    m_pPreNext = nullptr;
    delete m_pDividerStrip;
    m_pDividerStrip = nullptr;
}

BOOL CWndRRWave::HasRecord() const { return m_pRRViewDoc && m_pRRViewDoc->GetCurrentDataItem(); }

int CWndRRWave::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    m_pPatientFrame = panes::CreateFormFrame(this, m_pRRViewDoc, RUNTIME_CLASS(CFormPatientInfo), kRRDocType);
    m_pCaptionStrip = panes::CreateStrip<CDlgCtrl>(this, m_pRRViewDoc, kCaptionTemplate, kCaptionTemplate, this);
    panes::ShowStripItem(m_pCaptionStrip, kCaptionLimb, FALSE);
    panes::ShowStripItem(m_pCaptionStrip, kCaptionChest, FALSE);
    panes::ShowStripItem(m_pCaptionStrip, kCaptionST, FALSE);
    panes::ShowStripItem(m_pCaptionStrip, kCaptionGeneral, TRUE);
    if (m_pCaptionStrip) m_pCaptionStrip->ShowWindow(SW_SHOW);
    m_pRhythmView = static_cast<CViewRhythmWave*>(
        panes::CreateChildView(this, m_pRRViewDoc, RUNTIME_CLASS(CViewRhythmWave), 201));
    if (m_pRhythmView) {
        m_pRhythmView->SetHalfStyle(FALSE);
        m_pRhythmView->SetDocType(kRRDocType);
        m_pRhythmView->SetWaveStyle(kOneLeadWaveStyle, TRUE);
        m_pRhythmView->SetAnnoViewActive(TRUE);
        m_pRhythmView->ShowDivider(TRUE);
    }
    m_pPreNext = panes::CreatePreNextStrip(this, m_pRRViewDoc, L"戻る", L"次へ");
    m_pDividerStrip = panes::CreateDividerStrip(this, m_pRRViewDoc);
    return 0;
}

void CWndRRWave::ShowPageStyle(int style)
{
    if (style < 3 || style > 5 || !HasRecord()) return;
    const int waveStyle = m_pRRViewDoc->GetCurrentDataItem()->nLeadCount == 1 ? kOneLeadWaveStyle : kThreeLeadWaveStyle;
    m_nPageStyle = style;
    if (m_pRhythmView) m_pRhythmView->SetHalfStyle(style == 5);
    m_pRRViewDoc->SetRhythmWaveStyle(waveStyle);
    if (m_pRhythmView) m_pRhythmView->SetWaveStyle(waveStyle, TRUE);
    OnUpdate();
    SendMessage(WM_SIZE, 0, 0);
}

// ---- layout ----------------------------------------------------------------------------------

void CWndRRWave::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (!m_pRRViewDoc || !m_pRRViewDoc->GetDocFont(0)) return;
    const panes::VirtualPage page = panes::VirtualPage::OfClient(this, m_bShowPatientInfo);
    const BOOL gridMode = m_pRRViewDoc->GetDisplaySizeMode() == kDisplaySizeByGrid;
    panes::PageRect patient{16, 5, 989, 50};
    if (gridMode && m_bShowPatientInfo) {
        const int margin = GridModeMargin();
        panes::PlacePatientFrame(m_pPatientFrame, page, patient, TRUE);
        CRect rect = page.Rect(patient);
        m_pPatientFrame->MoveWindow(margin, rect.top, page.Width() - 2 * margin, rect.Height(), TRUE);
    } else {
        panes::PlacePatientFrame(m_pPatientFrame, page, patient, m_bShowPatientInfo);
    }
    const int shift = m_bShowPatientInfo ? 0 : panes::kPatientStripHeight;
    const int captionTop = page.Y(55 - shift);
    PlaceCaption(captionTop);
    const int viewTop = captionTop + page.Y(20);
    const int stripTopUnits = (IsHalf() ? 620 : 597) - shift;
    PlaceRhythmView(viewTop, page.Y(stripTopUnits));
    PlaceBottomStrips(stripTopUnits);
    StripFonts();
}

void CWndRRWave::PlaceCaption(int top)
{
    if (!m_pCaptionStrip || !m_pCaptionStrip->GetSafeHwnd()) return;
    const panes::VirtualPage page = panes::VirtualPage::OfClient(this, m_bShowPatientInfo);
    int left = page.X(IsHalf() ? 90 : 56);
    if (m_pRRViewDoc->GetDisplaySizeMode() == kDisplaySizeByGrid)
        left = GridModeMargin() + static_cast<int>(10 * m_pRRViewDoc->GetPixelPerMMX());
    m_pCaptionStrip->MoveWindow(left, top, page.X(948), page.Y(20), TRUE);
    page.Place(panes::StripItem(m_pCaptionStrip, kCaptionGeneral), {0, 3, 948, 15});
    m_pCaptionStrip->InvalidateRect(nullptr, FALSE);
}

void CWndRRWave::PlaceRhythmView(int top, int stripTop)
{
    if (!m_pRhythmView || !m_pRhythmView->GetSafeHwnd()) return;
    const panes::VirtualPage page = panes::VirtualPage::OfClient(this, m_bShowPatientInfo);
    const int columns = IsHalf() ? kHalfColumns : kFullColumns;
    const double room = stripTop - top;
    int left, width, rows, height;
    if (m_pRRViewDoc->GetDisplaySizeMode() == kDisplaySizeByGrid) {
        const double px = m_pRRViewDoc->GetPixelPerMMX(), py = m_pRRViewDoc->GetPixelPerMMY();
        left = GridModeMargin();
        width = px > 0.0 ? static_cast<int>(columns * px) + 1 : 0;
        rows = panes::RowsInRoom(room, py);
        height = panes::GridHeight(rows, py);
    } else {
        left = page.X(IsHalf() ? 13 : 16);
        width = page.X(IsHalf() ? 994 : 989);
        const double rowHeight = static_cast<double>(width) / columns;
        rows = panes::RowsInRoom(room, rowHeight);
        height = panes::GridHeight(rows, rowHeight);
    }
    // A pane sized to nothing shows an empty view rather than a grid of a
    // negative or infinite height.
    if (width <= 0) height = 0;
    m_pRhythmView->InitBackground(columns, rows);
    const float scale = static_cast<float>(width / kAnnoUnitWidth);
    m_pRhythmView->SetAnnoSizeRatio(IsHalf() ? scale * 2 : scale);
    m_pRhythmView->MoveWindow(left, top, width, height, TRUE);
}

void CWndRRWave::PlaceBottomStrips(int stripTopUnits)
{
    const panes::VirtualPage page = panes::VirtualPage::OfClient(this, m_bShowPatientInfo);
    panes::PageButtonsLayout buttons;
    if (IsHalf()) {
        buttons = {{13, stripTopUnits, 400, 25}, {0, 0, 160, 25}, {180, 0, 160, 25}};
    } else {
        buttons = {{16, stripTopUnits, 170, 50}, {0, 0, 80, 30}, {90, 0, 80, 30}};
    }
    panes::PlacePreNextStrip(m_pPreNext, page, 0, &buttons, m_pRRViewDoc->GetDocFont(0));
    if (!m_pDividerStrip || !m_pDividerStrip->GetSafeHwnd()) return;
    if (IsHalf()) {
        m_pDividerStrip->MoveWindow(CRect(0, 0, 0, 0), TRUE);
        return;
    }
    page.Place(m_pDividerStrip, {190, stripTopUnits, 815, 50});
    const panes::PageRect boxes[6] = {{5, 0, 20, 20},    {30, 0, 375, 20}, {410, 0, 20, 20},
                                      {435, 0, 375, 20}, {5, 29, 20, 20},  {30, 29, 375, 20}};
    const int ids[6] = {panes::kDividerCheck[0], panes::kDividerText[0], panes::kDividerCheck[1],
                        panes::kDividerText[1],  panes::kDividerCheck[2], panes::kDividerText[2]};
    for (int i = 0; i < 6; ++i) page.Place(panes::StripItem(m_pDividerStrip, ids[i]), boxes[i]);
}

void CWndRRWave::StripFonts()
{
    CFont* font = m_pRRViewDoc->GetDocFont(0);
    const int caption[] = {kCaptionGeneral};
    panes::SetStripFont(m_pCaptionStrip, caption, 1, font);
    const int dividers[6] = {panes::kDividerCheck[0], panes::kDividerCheck[1], panes::kDividerCheck[2],
                             panes::kDividerText[0],  panes::kDividerText[1],  panes::kDividerText[2]};
    panes::SetStripFont(m_pDividerStrip, dividers, 6, font);
}

// ---- update ----------------------------------------------------------------------------------

void CWndRRWave::OnUpdate()
{
    if (CFormEx* form = panes::FrameForm(m_pPatientFrame)) form->OnUpdate(nullptr, 0, nullptr);
    if (m_pRRViewDoc) {
        panes::GiveDividerBits(m_pRhythmView, m_pRRViewDoc->GetDividerCheck());
        panes::CheckDividerBoxes(m_pDividerStrip, m_pRRViewDoc->GetDividerCheck());
    }
    if (m_pRhythmView && m_pRhythmView->GetSafeHwnd()) {
        m_pRhythmView->OnUpdate(nullptr, 0, nullptr);
        m_pRhythmView->InvalidateRect(nullptr, FALSE);
    }
    if (m_pPreNext && m_pPreNext->GetSafeHwnd()) m_pPreNext->OnInitDialog();
    if (m_pRRViewDoc) UpdateDisplayInfo(m_pRRViewDoc->GetRhythmWaveStyle());
    if (m_pRhythmView && m_pRhythmView->GetSafeHwnd()) panes::EnablePreNext(m_pPreNext, m_pRhythmView->ChangePageSample(0));
}

void CWndRRWave::UpdateDisplayInfo(int)
{
    if (!HasRecord()) return;
    CString text;
    text.Format(L"%.2f mm/mV  %.1f mm/s  %d Hz  %s", m_pRRViewDoc->GetCommonSense(0), m_pRRViewDoc->GetSpeed(),
                m_pRRViewDoc->GetFilter(), L"");
    panes::SetStripText(m_pCaptionStrip, kCaptionGeneral, text);
}

void CWndRRWave::HideAllPopupDlg(BOOL show)
{
    if (m_pRhythmView && m_pRhythmView->GetSafeHwnd()) m_pRhythmView->HideAllPopupDlg(show);
}

void CWndRRWave::CloseAllPopupDlg()
{
    if (m_pRhythmView && m_pRhythmView->GetSafeHwnd()) m_pRhythmView->CloseAllPopupDlg();
}

// ---- commands and messages -------------------------------------------------------------------

void CWndRRWave::PageTo(int pages)
{
    const int other = pages < 0 ? panes::kNextButton : panes::kBackButton;
    const int self = pages < 0 ? panes::kBackButton : panes::kNextButton;
    const int end = pages < 0 ? panes::kAtFirstPage : panes::kAtLastPage;
    panes::EnableStripItem(m_pPreNext, other, TRUE);
    m_pRhythmView->SaveAnnoToData(0, nullptr, m_pRRViewDoc->GetAnnotationFlag());
    if (m_pRhythmView->ChangePageSample(pages) == end) panes::EnableStripItem(m_pPreNext, self, FALSE);
    m_pRhythmView->InvalidateRect(nullptr, FALSE);
}

BOOL CWndRRWave::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // A probe asks who would handle the command; it is not a command.
    if (pHandlerInfo) return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    if (!HasRecord() || !m_pRhythmView || !m_pRhythmView->GetSafeHwnd()) return 0;
    int bits = m_pRRViewDoc->GetDividerCheck();
    if (nCode == CN_COMMAND) {
        if (nID == panes::kBackButton) PageTo(-1);
        if (nID == panes::kNextButton) PageTo(1);
        const int pair = panes::DividerPairOfCheck(nID);
        if (pair >= 0) bits = panes::ToggleDividerPair(m_pDividerStrip, m_pRhythmView, pair, bits);
    }
    m_pRRViewDoc->SetDividerCheck(bits);
    m_pRRViewDoc->SendToNotifyWnd(WM_DIVIDER_BITS_WRITTEN, 0, kNotifyRR);
    return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT CWndRRWave::OnUserDividerDrop(WPARAM wParam, LPARAM lParam)
{
    panes::ShowDividerReading(m_pDividerStrip, static_cast<int>(wParam), lParam);
    return 0;
}

LRESULT CWndRRWave::OnFocusJump(WPARAM wParam, LPARAM)
{
    return panes::JumpIntoOnlyForm(this, m_pPatientFrame, wParam);
}

LRESULT CWndRRWave::OnUserAnnotationActive(WPARAM wParam, LPARAM)
{
    CWaveView* views[] = {m_pRhythmView};
    return panes::RelayAnnotationActive(reinterpret_cast<CWnd*>(wParam), views, 1);
}
