#include "panes/WndRestRhythmWave.h"

#include "core/UserMessages.h"
#include "dialogs/DlgCtrl.h"
#include "dialogs/DlgLimbChest.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "forms/FormEx.h"
#include "forms/FormPatientInfo.h"
#include "panes/PaneKit.h"
#include "panes/WndRestRhythmWavePage.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewScroll1LeadWave.h"
#include "waveviews/WavePopups.h"

IMPLEMENT_DYNAMIC(CWndRestRhythmWave, CWnd)

BEGIN_MESSAGE_MAP(CWndRestRhythmWave, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_MESSAGE(WM_STRIP_DRAGGED, OnUser1LeadScorllDragDrop)
    ON_MESSAGE(WM_ANNOTATION_ACTIVE, OnUserAnnotationActive)
    ON_MESSAGE(WM_FORM_TAB_END, OnFocusJump)
    ON_MESSAGE(WM_DISPLAY_INFO_CHANGED, OnUpdateDisplayInfo)
END_MESSAGE_MAP()

using namespace panes::restwave;

namespace {

enum DocKind { kRestDoc, kMferDoc, kRhythmDoc };

// The divider dialog of the one-lead strip hands its result to this page's
// multi-lead view, which then places its dividers afresh.
struct DividerPaneRegistration {
    DividerPaneRegistration()
    {
        CWavePopups::Get().dividerPaneView = [](CWnd* parent) -> CViewRhythmWave* {
            if (!parent || !parent->IsKindOf(RUNTIME_CLASS(CWndRestRhythmWave))) return nullptr;
            return static_cast<CWndRestRhythmWave*>(parent)->GetRhythmView();
        };
    }
} g_dividerPaneRegistration;

}  // namespace

CWndRestRhythmWave::CWndRestRhythmWave()
    : m_pRestViewDoc(nullptr), m_pMFERViewDoc(nullptr), m_pRhythmViewDoc(nullptr), m_bShowPatientInfo(TRUE),
      m_bLimbLead(TRUE), m_pRhythmView(nullptr), m_pOneLeadView(nullptr), m_pPatientFrame(nullptr),
      m_pCaptionStrip(nullptr), m_pLimbChestStrip(nullptr)
{
}

CWndRestRhythmWave::~CWndRestRhythmWave()
{
    delete m_pCaptionStrip;
    m_pCaptionStrip = nullptr;
    delete m_pLimbChestStrip;
    m_pLimbChestStrip = nullptr;
}

void CWndRestRhythmWave::SetRestViewDoc(CRestViewDoc* pDoc)
{
    m_pRestViewDoc = pDoc;
    m_pMFERViewDoc = nullptr;
    m_pRhythmViewDoc = nullptr;
}

void CWndRestRhythmWave::SetMFERViewDoc(CMFERViewDoc* pDoc)
{
    m_pRestViewDoc = nullptr;
    m_pMFERViewDoc = pDoc;
    m_pRhythmViewDoc = nullptr;
}

void CWndRestRhythmWave::SetRhythmViewDoc(CRhythmViewDoc* pDoc)
{
    m_pRestViewDoc = nullptr;
    m_pMFERViewDoc = nullptr;
    m_pRhythmViewDoc = pDoc;
}

namespace {

Docs DocsOf(CRestViewDoc* rest, CMFERViewDoc* mfer, CRhythmViewDoc* rhythm)
{
    Docs docs;
    docs.rest = rest;
    docs.mfer = mfer;
    docs.rhythm = rhythm;
    return docs;
}

}  // namespace

int CWndRestRhythmWave::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    const Docs docs = DocsOf(m_pRestViewDoc, m_pMFERViewDoc, m_pRhythmViewDoc);
    CTavrionDoc* doc = docs.Doc();
    const int docType = docs.DocType();
    m_pPatientFrame = panes::CreateFormFrame(this, doc, RUNTIME_CLASS(CFormPatientInfo), docType);
    CreateWaveChildren(this, doc, docType, m_bLimbLead, kOneLeadStyle,
                       {m_pCaptionStrip, m_pLimbChestStrip, m_pRhythmView, m_pOneLeadView});
    return 0;
}

// ---- page styles -----------------------------------------------------------------------------

void CWndRestRhythmWave::ApplyLayout(int waveStyle, BOOL half, int kind)
{
    if (m_pRhythmView) m_pRhythmView->SetHalfStyle(half);
    if (m_pOneLeadView) m_pOneLeadView->SetHalfStyle(half);
    if (kind == kRestDoc && m_pRestViewDoc) m_pRestViewDoc->SetRhythmWaveStyle(waveStyle);
    if (kind == kMferDoc && m_pMFERViewDoc) m_pMFERViewDoc->SetRhythmWaveStyle(waveStyle);
    if (kind == kRhythmDoc && m_pRhythmViewDoc) m_pRhythmViewDoc->SetRhythmWaveStyle(waveStyle);
    if (m_pRhythmView) m_pRhythmView->SetWaveStyle(waveStyle, TRUE);
    if (m_pOneLeadView) m_pOneLeadView->SetWaveStyle(kOneLeadStyle, TRUE);
    OnUpdate();
    if (GetSafeHwnd()) SendMessage(WM_SIZE, 0, 0);
}

void CWndRestRhythmWave::ShowRestPageStyle(int style)
{
    WaveChoice choice;
    if (!RestPageLayout(style, DocsOf(m_pRestViewDoc, nullptr, nullptr).IsFifteenLead(), choice)) return;
    ApplyLayout(choice.waveStyle, choice.half, kRestDoc);
}

void CWndRestRhythmWave::ShowMFERPageStyle(int style)
{
    WaveChoice choice;
    if (!RestPageLayout(style, DocsOf(nullptr, m_pMFERViewDoc, nullptr).IsFifteenLead(), choice)) return;
    ApplyLayout(choice.waveStyle, choice.half, kMferDoc);
}

void CWndRestRhythmWave::ShowRhythmPageStyle(int style)
{
    WaveChoice choice;
    if (!RhythmPageLayout(style, DocsOf(nullptr, nullptr, m_pRhythmViewDoc).IsFifteenLead(), choice)) return;
    ApplyLayout(choice.waveStyle, choice.half, kRhythmDoc);
}

// ---- layout ----------------------------------------------------------------------------------

void CWndRestRhythmWave::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    const Docs docs = DocsOf(m_pRestViewDoc, m_pMFERViewDoc, m_pRhythmViewDoc);
    CTavrionDoc* doc = docs.Doc();
    if (!doc || !doc->GetDocFont(0) || !doc->GetDocFont(1)) return;
    const panes::VirtualPage page = panes::VirtualPage::OfClient(this, m_bShowPatientInfo);
    const int top = page.Y(7);
    const int patientHeight = PatientHeight(page, doc, m_bShowPatientInfo);
    if (m_bShowPatientInfo) PlaceFormStrip(m_pPatientFrame, page, doc, 16, 989, top, patientHeight);
    else if (m_pPatientFrame && m_pPatientFrame->GetSafeHwnd()) m_pPatientFrame->ShowWindow(SW_HIDE);

    const BOOL half = m_pRhythmView && m_pRhythmView->IsHalfStyle();
    const StripRow row = MakeStripRow(page, doc, top + patientHeight, 20, half);
    StripFonts(m_pCaptionStrip, m_pLimbChestStrip, doc);
    if (!docs.HasCurrentItem()) return;

    const int waveStyle = m_pRhythmView ? m_pRhythmView->GetWaveStyle() : 0;
    PlaceCaptionStrips(m_pCaptionStrip, m_pLimbChestStrip, page, doc, row, waveStyle, docs.IsFifteenLead());
    if (m_pCaptionStrip && m_pCaptionStrip->GetSafeHwnd()) m_pCaptionStrip->InvalidateRect(nullptr, FALSE);
    PlaceWaveViews(m_pRhythmView, m_pOneLeadView, page, doc, row.top + row.height);
}

// ---- update ----------------------------------------------------------------------------------

void CWndRestRhythmWave::OnUpdate()
{
    if (CFormEx* form = panes::FrameForm(m_pPatientFrame)) form->OnUpdate(nullptr, 0, nullptr);
    const Docs docs = DocsOf(m_pRestViewDoc, m_pMFERViewDoc, m_pRhythmViewDoc);
    if (CTavrionDoc* doc = docs.Doc()) {
        if (m_pOneLeadView) m_pOneLeadView->SetRhythm1LeadID(docs.OneLeadId());
        OnUpdateDisplayInfo(doc->GetRhythmWaveStyle(), 0);
        SetDividerCheck(doc->GetDividerCheck());
    }
    if (m_pOneLeadView && m_pOneLeadView->GetSafeHwnd()) {
        m_pOneLeadView->OnUpdate(nullptr, 0, nullptr);
        m_pOneLeadView->InvalidateRect(nullptr, FALSE);
    }
    if (m_pRhythmView && m_pRhythmView->GetSafeHwnd()) {
        m_pRhythmView->OnUpdate(nullptr, 0, nullptr);
        m_pRhythmView->InvalidateRect(nullptr, FALSE);
    }
}

void CWndRestRhythmWave::SetDividerCheck(int mask) { ApplyDividerCheck(m_pRhythmView, mask); }

LRESULT CWndRestRhythmWave::OnUpdateDisplayInfo(WPARAM wParam, LPARAM)
{
    ShowCaptions(m_pCaptionStrip, DocsOf(m_pRestViewDoc, m_pMFERViewDoc, m_pRhythmViewDoc), static_cast<int>(wParam),
                 m_bLimbLead, FALSE);
    return 0;
}

void CWndRestRhythmWave::HideAllPopupDlg(BOOL show) { HideWavePopups(m_pRhythmView, m_pOneLeadView, show); }

void CWndRestRhythmWave::CloseAllPopupDlg() { CloseWavePopups(m_pRhythmView, m_pOneLeadView); }

// ---- commands and messages -------------------------------------------------------------------

BOOL CWndRestRhythmWave::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // A probe asks who would handle the command; it is not a command.
    if (!pHandlerInfo && (nID == static_cast<UINT>(kLimbButton) || nID == static_cast<UINT>(kChestButton))) {
        m_bLimbLead = nID == static_cast<UINT>(kLimbButton);
        ShowLeadGroup(m_pRhythmView, m_pOneLeadView, m_pCaptionStrip,
                      DocsOf(m_pRestViewDoc, m_pMFERViewDoc, m_pRhythmViewDoc).Doc(), m_bLimbLead);
    }
    return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT CWndRestRhythmWave::OnUser1LeadScorllDragDrop(WPARAM wParam, LPARAM)
{
    CTavrionDoc* doc = m_pRestViewDoc ? static_cast<CTavrionDoc*>(m_pRestViewDoc)
                       : m_pRhythmViewDoc ? static_cast<CTavrionDoc*>(m_pRhythmViewDoc)
                                          : static_cast<CTavrionDoc*>(m_pMFERViewDoc);
    return panes::RelayStripDrag(doc, m_pRhythmView, static_cast<int>(wParam));
}

LRESULT CWndRestRhythmWave::OnUserAnnotationActive(WPARAM wParam, LPARAM)
{
    CWaveView* views[] = {m_pRhythmView, m_pOneLeadView};
    return panes::RelayAnnotationActive(reinterpret_cast<CWnd*>(wParam), views, 2);
}

LRESULT CWndRestRhythmWave::OnFocusJump(WPARAM wParam, LPARAM)
{
    return panes::JumpIntoOnlyForm(this, m_pPatientFrame, wParam);
}
