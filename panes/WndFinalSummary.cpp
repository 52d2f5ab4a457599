#include "panes/WndFinalSummary.h"

#include <algorithm>

#include "analysisviews/ViewCAL.h"
#include "analysisviews/ViewFinalCom1Lead.h"
#include "analysisviews/ViewHRTrend.h"
#include "analysisviews/ViewSTTrend.h"
#include "analysisviews/ViewSummaryProtocol.h"
#include "core/UserMessages.h"
#include "dialogs/DlgCtrl.h"
#include "documents/FinalViewDoc.h"
#include "forms/FormEx.h"
#include "forms/FormInterpreMsfr.h"
#include "forms/FormPatientInfo.h"
#include "panes/PaneKit.h"

IMPLEMENT_DYNAMIC(CWndFinalSummary, CWnd)

BEGIN_MESSAGE_MAP(CWndFinalSummary, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_MESSAGE(WM_ANNOTATION_ACTIVE, OnUserAnnotationActive)
    ON_MESSAGE(WM_FORM_TAB_END, OnFocusJump)
END_MESSAGE_MAP()

namespace {

constexpr int kFinalDocType = 1;
constexpr int kCaptionTemplate = 102;
constexpr int kCaptionRest = 3478;
constexpr int kCaptionLoad = 3479;
constexpr int kCaptionSettings = 3480;
constexpr int kCaptionST = 3499;
constexpr int kJudgementCombo = 3618;
// Every view of a row shows the paper speed of the screen, whatever the document holds.
constexpr int kScreenSpeed = 25;
constexpr double kLeadAnnoScale = 0.00625;

}  // namespace

CWndFinalSummary::CWndFinalSummary()
    : m_pPatientFrame(nullptr), m_pInterpretationFrame(nullptr), m_pHRTrendView(nullptr), m_pSTTrendView(nullptr),
      m_pProtocolView(nullptr), m_pCaptionStrip(nullptr), m_pLeadView{}, m_pCalView{}, m_pFinalViewDoc(nullptr),
      m_bShowPatientInfo(TRUE)
{
}

CWndFinalSummary::~CWndFinalSummary()
{
    delete m_pCaptionStrip;
    m_pCaptionStrip = nullptr;
}

int CWndFinalSummary::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    CFinalViewDoc* doc = m_pFinalViewDoc;
    m_pPatientFrame = panes::CreateFormFrame(this, doc, RUNTIME_CLASS(CFormPatientInfo), kFinalDocType);
    m_pInterpretationFrame = panes::CreateFormFrame(this, doc, RUNTIME_CLASS(CFormInterpreMsfr), kFinalDocType);
    m_pHRTrendView = static_cast<CViewHRTrend*>(panes::CreateChildView(this, doc, RUNTIME_CLASS(CViewHRTrend), 201));
    if (m_pHRTrendView) m_pHRTrendView->SetDocType(kFinalDocType);
    m_pSTTrendView = static_cast<CViewSTTrend*>(panes::CreateChildView(this, doc, RUNTIME_CLASS(CViewSTTrend), 202));
    if (m_pSTTrendView) {
        m_pSTTrendView->SetIfInSummary(1);
        m_pSTTrendView->SetDocType(kFinalDocType);
    }
    m_pProtocolView =
        static_cast<CViewSummaryProtocol*>(panes::CreateChildView(this, doc, RUNTIME_CLASS(CViewSummaryProtocol), 203));
    m_pCaptionStrip = panes::CreateStrip<CDlgCtrl>(this, doc, kCaptionTemplate, kCaptionTemplate, this);
    panes::ShowStripItem(m_pCaptionStrip, kCaptionST, FALSE);
    for (int id : {kCaptionRest, kCaptionLoad, kCaptionSettings}) panes::ShowStripItem(m_pCaptionStrip, id, TRUE);
    if (m_pCaptionStrip) m_pCaptionStrip->ShowWindow(SW_SHOW);
    for (int r = 0; r < kRows; ++r) {
        m_pCalView[r] = static_cast<CViewCAL*>(panes::CreateChildView(this, doc, RUNTIME_CLASS(CViewCAL), 204 + r));
        if (!m_pCalView[r]) continue;
        m_pCalView[r]->SetCALArea(10, 30);
        m_pCalView[r]->SetCALCount(1);
        m_pCalView[r]->SetDialogCAL(FALSE);
        m_pCalView[r]->SetDocType(kFinalDocType);
    }
    for (int i = 0; i < kLeadViews; ++i) {
        m_pLeadView[i] =
            static_cast<CViewFinalCom1Lead*>(panes::CreateChildView(this, doc, RUNTIME_CLASS(CViewFinalCom1Lead), 206 + i));
        if (m_pLeadView[i]) m_pLeadView[i]->SetLeadID(i);
    }
    return 0;
}

// ---- layout ----------------------------------------------------------------------------------

void CWndFinalSummary::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (!m_pFinalViewDoc) return;
    const panes::VirtualPage page = panes::VirtualPage::OfClient(this, m_bShowPatientInfo);
    const int W = page.Width(), H = page.Height();
    const BOOL gridMode = m_pFinalViewDoc->GetDisplaySizeMode() == panes::kDisplaySizeByGrid;
    const int m = panes::GridModeMargin();
    const double py = m_pFinalViewDoc->GetPixelPerMMY();

    int gx = 10, gy = 30;
    if (m_pCalView[0] && m_pCalView[0]->GetSafeHwnd()) m_pCalView[0]->GetGridCount(gx, gy);
    int calHeight = gx > 0 ? static_cast<int>(static_cast<double>(page.X(40)) / gx * gy) : 0;
    if (gridMode) calHeight = static_cast<int>(gy * py);

    // Patient strip.
    if (m_bShowPatientInfo && gridMode) {
        panes::PlacePatientFrame(m_pPatientFrame, page, {7, 5, 1007, 50}, TRUE);
        const CRect rect = page.Rect({7, 5, 1007, 50});
        if (m_pPatientFrame && m_pPatientFrame->GetSafeHwnd())
            m_pPatientFrame->MoveWindow(m, rect.top, W - 2 * m, rect.Height(), TRUE);
    } else {
        panes::PlacePatientFrame(m_pPatientFrame, page, {7, 5, 1007, 50}, m_bShowPatientInfo);
    }

    // The interpretation form takes what the two rows and the caption leave.
    const int top = page.Y(m_bShowPatientInfo ? 55 : 0) + page.Y(5);
    const int formLeft = gridMode ? m : page.X(7);
    const int formWidth = page.X(510);
    // A pane too small for the rows gives the form nothing rather than a negative height.
    const int formHeight = std::max(0, H - top - 2 * (page.Y(5) + calHeight) - page.Y(20));
    if (m_pInterpretationFrame && m_pInterpretationFrame->GetSafeHwnd()) {
        m_pInterpretationFrame->MoveWindow(formLeft, top, formWidth, formHeight, TRUE);
        if (CFormEx* form = panes::FrameForm(m_pInterpretationFrame)) {
            form->ShowText();
            form->SendMessage(WM_SIZE, 0, 0);
        }
    }

    // Protocol line, heart-rate trend and ST trend beside the form; the ST
    // trend takes the odd pixel so that it ends where the form ends.
    int rightX = page.X(522), rightWidth = page.X(492);
    if (gridMode) {
        rightX = formLeft + formWidth + page.X(5);
        rightWidth = W - rightX - m;
    }
    const int trendHeight = std::max(0, (formHeight - page.Y(10) - page.Y(40)) / 2);
    const int protocolHeight = page.Y(40);
    if (m_pProtocolView && m_pProtocolView->GetSafeHwnd())
        m_pProtocolView->MoveWindow(rightX, top, rightWidth, protocolHeight, TRUE);
    const int hrTop = top + protocolHeight + page.Y(5);
    if (m_pHRTrendView && m_pHRTrendView->GetSafeHwnd())
        m_pHRTrendView->MoveWindow(rightX, hrTop, rightWidth, trendHeight, TRUE);
    const int stTop = hrTop + trendHeight + page.Y(5);
    const int stBottom = top + formHeight;
    if (m_pSTTrendView && m_pSTTrendView->GetSafeHwnd())
        m_pSTTrendView->MoveWindow(rightX, stTop, rightWidth, std::max(0, stBottom - stTop), TRUE);

    PlaceCaption(stBottom + 1, gridMode);
    const int row0 = stBottom + page.Y(20);
    PlaceRow(0, row0, calHeight, gridMode);
    PlaceRow(1, row0 + calHeight + page.Y(5), calHeight, gridMode);
}

void CWndFinalSummary::PlaceCaption(int top, BOOL gridMode)
{
    if (!m_pCaptionStrip || !m_pCaptionStrip->GetSafeHwnd()) return;
    const panes::VirtualPage page = panes::VirtualPage::OfClient(this, m_bShowPatientInfo);
    const double px = m_pFinalViewDoc->GetPixelPerMMX();
    const int m = panes::GridModeMargin();
    int left = page.X(50);
    if (gridMode) left = m + static_cast<int>(10 * px) + ((page.Width() - 2 * m) - static_cast<int>(250 * px)) / 6;
    m_pCaptionStrip->MoveWindow(left, top, page.X(960), page.Y(20), TRUE);

    const int restWidth = gridMode ? static_cast<int>(20 * px) : page.X(80);
    const int loadX = gridMode ? restWidth : restWidth + page.X(5);
    const int settingsX = loadX + page.X(120) + page.X(30);
    const int y = page.Y(3), h = page.Y(15);
    auto place = [&](int id, int x, int w) {
        if (CWnd* item = panes::StripItem(m_pCaptionStrip, id)) item->MoveWindow(x, y, w, h, TRUE);
    };
    place(kCaptionRest, 0, restWidth);
    place(kCaptionLoad, loadX, page.X(120));
    place(kCaptionSettings, settingsX, page.X(400));
    const int ids[] = {kCaptionRest, kCaptionLoad, kCaptionSettings};
    panes::SetStripFont(m_pCaptionStrip, ids, 3, m_pFinalViewDoc->GetDocFont(0));
    m_pCaptionStrip->InvalidateRect(nullptr, TRUE);
}

void CWndFinalSummary::PlaceRow(int r, int top, int calHeight, BOOL gridMode)
{
    const panes::VirtualPage page = panes::VirtualPage::OfClient(this, m_bShowPatientInfo);
    const int W = page.Width();
    const int m = panes::GridModeMargin();
    const double px = m_pFinalViewDoc->GetPixelPerMMX();
    if (m_pCalView[r] && m_pCalView[r]->GetSafeHwnd()) {
        if (gridMode)
            m_pCalView[r]->MoveWindow(m, top, static_cast<int>(10 * px), calHeight, TRUE);
        else
            m_pCalView[r]->MoveWindow(page.X(7), top, page.X(40), calHeight, TRUE);
    }
    int x, width, step;
    if (gridMode) {
        width = static_cast<int>(40 * px);
        const int gap = ((W - 2 * m) - static_cast<int>(250 * px)) / 6;
        x = m + static_cast<int>(10 * px) + gap;
        step = width + gap;
    } else {
        width = (W - page.X(48) - page.X(7) - page.X(6)) / 6;
        const int gap = (W - 6 * width - page.X(40) - page.X(14)) / 6;
        x = page.X(48);
        step = width + gap;
    }
    for (int i = 0; i < 6; ++i) {
        CViewFinalCom1Lead* view = m_pLeadView[6 * r + i];
        if (!view || !view->GetSafeHwnd()) continue;
        view->SetAnnoSizeRatio(static_cast<float>(width * kLeadAnnoScale));
        view->MoveWindow(x + i * step, top, width, calHeight, TRUE);
    }
}

// ---- update ----------------------------------------------------------------------------------

void CWndFinalSummary::OnUpdate()
{
    for (CFrameWnd* frame : {m_pInterpretationFrame, m_pPatientFrame})
        if (CFormEx* form = panes::FrameForm(frame)) form->OnUpdate(nullptr, 0, nullptr);
    for (CView* view : {static_cast<CView*>(m_pHRTrendView), static_cast<CView*>(m_pSTTrendView)}) {
        if (!view || !view->GetSafeHwnd()) continue;
        view->OnUpdate(nullptr, 0, nullptr);
        panes::RepaintView(view);
    }
    if (m_pProtocolView && m_pProtocolView->GetSafeHwnd()) {
        m_pProtocolView->OnUpdate(nullptr, 0, nullptr);
        m_pProtocolView->InvalidateRect(nullptr, TRUE);
    }
    UpdateDisplayInfo();
    for (CViewFinalCom1Lead* view : m_pLeadView) {
        if (!view || !view->GetSafeHwnd()) continue;
        view->OnUpdate(nullptr, 0, nullptr);
        view->InvalidateRect(nullptr, FALSE);
    }
    for (CViewCAL* view : m_pCalView) {
        if (!view || !view->GetSafeHwnd()) continue;
        view->OnUpdate(nullptr, 0, nullptr);
        view->InvalidateRect(nullptr, FALSE);
    }
}

void CWndFinalSummary::UpdateDisplayInfo()
{
    int minutes = 0, seconds = 0;
    if (!m_pFinalViewDoc || !m_pFinalViewDoc->GetPostLoadTime(minutes, seconds)) return;
    panes::SetStripText(m_pCaptionStrip, kCaptionRest, L"安静時");
    CString text;
    text.Format(L"負荷後 %d\u2019%02d\u201D", minutes, seconds);
    panes::SetStripText(m_pCaptionStrip, kCaptionLoad, text);
    text.Format(L"%.2f mm/mV  %d mm/s  %d Hz", m_pFinalViewDoc->GetCommonSense(0), kScreenSpeed,
                m_pFinalViewDoc->GetFilter());
    panes::SetStripText(m_pCaptionStrip, kCaptionSettings, text);
}

// ---- messages --------------------------------------------------------------------------------

LRESULT CWndFinalSummary::OnUserAnnotationActive(WPARAM wParam, LPARAM)
{
    CWaveView* views[kLeadViews];
    for (int i = 0; i < kLeadViews; ++i) views[i] = m_pLeadView[i];
    return panes::RelayAnnotationActive(reinterpret_cast<CWnd*>(wParam), views, kLeadViews);
}

LRESULT CWndFinalSummary::OnFocusJump(WPARAM wParam, LPARAM)
{
    const panes::FocusJump jump = panes::ReadFocusJump(wParam);
    CFrameWnd* target = nullptr;
    if (jump.source == panes::kFromPatientForm) target = m_pInterpretationFrame;
    if (jump.source == panes::kFromInterpretation) target = m_pPatientFrame;
    if (!target) return 0;
    panes::FocusRule rule;
    rule.skipReadOnlyEdits = FALSE;
    rule.entry1Control = kJudgementCombo;
    rule.backwardViaPane = FALSE;
    return panes::JumpFocusInto(this, target, jump, rule);
}
