#include "panes/WndRestRhythmWaveAme.h"

#include "core/UserMessages.h"
#include "dialogs/DlgCtrl.h"
#include "dialogs/DlgLimbChest.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "forms/FormEx.h"
#include "forms/FormInterpreAme.h"
#include "forms/FormPatientInfo.h"
#include "panes/PaneKit.h"
#include "panes/WndRestRhythmWavePage.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewScroll1LeadWave.h"

IMPLEMENT_DYNAMIC(CWndRestRhythmWaveAme, CWnd)

BEGIN_MESSAGE_MAP(CWndRestRhythmWaveAme, CWnd)
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

constexpr int kRhythmColumnStyles[2] = {16, 17};

Docs DocsOf(CRestViewDoc* rest, CMFERViewDoc* mfer, CRhythmViewDoc* rhythm)
{
    Docs docs;
    docs.rest = rest;
    docs.mfer = mfer;
    docs.rhythm = rhythm;
    return docs;
}

void UpdateForm(CFrameWnd* frame)
{
    CFormEx* form = panes::FrameForm(frame);
    if (!form) return;
    form->OnUpdate(nullptr, 0, nullptr);
    form->InvalidateRect(nullptr, FALSE);
}

}  // namespace

CWndRestRhythmWaveAme::CWndRestRhythmWaveAme()
    : m_pRestViewDoc(nullptr), m_pMFERViewDoc(nullptr), m_pRhythmViewDoc(nullptr), m_bShowPatientInfo(TRUE),
      m_bLimbLead(TRUE), m_bShowInterpretation(TRUE), m_pPatientFrame(nullptr), m_pInterpretationFrame(nullptr),
      m_pRhythmView(nullptr), m_pOneLeadView(nullptr), m_pCaptionStrip(nullptr), m_pLimbChestStrip(nullptr)
{
}

CWndRestRhythmWaveAme::~CWndRestRhythmWaveAme()
{
    delete m_pCaptionStrip;
    m_pCaptionStrip = nullptr;
    delete m_pLimbChestStrip;
    m_pLimbChestStrip = nullptr;
}

void CWndRestRhythmWaveAme::SetRestViewDoc(CRestViewDoc* pDoc)
{
    m_pRestViewDoc = pDoc;
    m_pMFERViewDoc = nullptr;
    m_pRhythmViewDoc = nullptr;
}

void CWndRestRhythmWaveAme::SetMFERViewDoc(CMFERViewDoc* pDoc)
{
    m_pRestViewDoc = nullptr;
    m_pMFERViewDoc = pDoc;
    m_pRhythmViewDoc = nullptr;
}

void CWndRestRhythmWaveAme::SetRhythmViewDoc(CRhythmViewDoc* pDoc)
{
    m_pRestViewDoc = nullptr;
    m_pMFERViewDoc = nullptr;
    m_pRhythmViewDoc = pDoc;
}

int CWndRestRhythmWaveAme::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    const Docs docs = DocsOf(m_pRestViewDoc, m_pMFERViewDoc, m_pRhythmViewDoc);
    CTavrionDoc* doc = docs.Doc();
    const int docType = docs.DocType();
    m_pPatientFrame = panes::CreateFormFrame(this, doc, RUNTIME_CLASS(CFormPatientInfo), docType);
    m_pInterpretationFrame = panes::CreateFormFrame(this, doc, RUNTIME_CLASS(CFormInterpreAme), docType);
    CreateWaveChildren(this, doc, docType, m_bLimbLead, kOneLeadFiveRowStyle,
                       {m_pCaptionStrip, m_pLimbChestStrip, m_pRhythmView, m_pOneLeadView});
    return 0;
}

// ---- page styles -----------------------------------------------------------------------------

void CWndRestRhythmWaveAme::ApplyLayout(int waveStyle, BOOL half, int kind)
{
    if (m_pRhythmView) m_pRhythmView->SetHalfStyle(half);
    if (m_pOneLeadView) m_pOneLeadView->SetHalfStyle(half);
    if (kind == kRestDoc && m_pRestViewDoc) m_pRestViewDoc->SetRhythmWaveStyle(waveStyle);
    if (kind == kMferDoc && m_pMFERViewDoc) m_pMFERViewDoc->SetRhythmWaveStyle(waveStyle);
    if (m_pRhythmView) m_pRhythmView->SetWaveStyle(waveStyle, TRUE);
    if (m_pOneLeadView) m_pOneLeadView->SetWaveStyle(kOneLeadFiveRowStyle, TRUE);
    OnUpdate();
    if (GetSafeHwnd()) SendMessage(WM_SIZE, 0, 0);
}

void CWndRestRhythmWaveAme::ApplyRestStyle(int style, BOOL mfer)
{
    const Docs docs = mfer ? DocsOf(nullptr, m_pMFERViewDoc, nullptr) : DocsOf(m_pRestViewDoc, nullptr, nullptr);
    WaveChoice choice;
    int interpretation = 1;
    if (!AmeRestPageLayout(style, docs.IsFifteenLead(), mfer, choice, interpretation)) return;
    if (interpretation >= 0) m_bShowInterpretation = interpretation;
    ApplyLayout(choice.waveStyle, choice.half, mfer ? kMferDoc : kRestDoc);
}

void CWndRestRhythmWaveAme::ShowRestPageStyle(int style) { ApplyRestStyle(style, FALSE); }

void CWndRestRhythmWaveAme::ShowMFERPageStyle(int style) { ApplyRestStyle(style, TRUE); }

void CWndRestRhythmWaveAme::ShowRhythmPageStyle(int style)
{
    if (style != kRhythmColumnStyles[0] && style != kRhythmColumnStyles[1]) return;
    // The rhythm page shows its leads in one column, without the
    // interpretation; the half flags and the strip's layout stay.
    m_bShowInterpretation = FALSE;
    const int waveStyle = DocsOf(nullptr, nullptr, m_pRhythmViewDoc).IsFifteenLead() ? 12 : 11;
    if (m_pRhythmViewDoc) m_pRhythmViewDoc->SetRhythmWaveStyle(waveStyle);
    if (m_pRhythmView) m_pRhythmView->SetWaveStyle(waveStyle, TRUE);
    OnUpdate();
    if (GetSafeHwnd()) SendMessage(WM_SIZE, 0, 0);
}

// ---- layout ----------------------------------------------------------------------------------

void CWndRestRhythmWaveAme::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    const Docs docs = DocsOf(m_pRestViewDoc, m_pMFERViewDoc, m_pRhythmViewDoc);
    CTavrionDoc* doc = docs.Doc();
    if (!doc || !doc->GetDocFont(0) || !doc->GetDocFont(1)) return;
    const panes::VirtualPage page = panes::VirtualPage::OfClient(this, m_bShowPatientInfo);
    const int top = page.Y(m_bShowPatientInfo ? 4 : 1);
    const int patientHeight = PatientHeight(page, doc, m_bShowPatientInfo);
    if (m_bShowPatientInfo) PlaceFormStrip(m_pPatientFrame, page, doc, 16, 989, top, patientHeight);
    else if (m_pPatientFrame && m_pPatientFrame->GetSafeHwnd()) m_pPatientFrame->ShowWindow(SW_HIDE);

    int rowTop = top + patientHeight;
    if (m_bShowInterpretation) {
        const int interpretationTop = rowTop + page.Y(3);
        const int height = doc->GetDisplaySizeMode() == 6 ? page.X(107) : page.Y(107);
        PlaceFormStrip(m_pInterpretationFrame, page, doc, 16, 989, interpretationTop, height);
        rowTop = interpretationTop + height;
    } else if (m_pInterpretationFrame && m_pInterpretationFrame->GetSafeHwnd()) {
        m_pInterpretationFrame->ShowWindow(SW_HIDE);
    }

    const BOOL half = m_pRhythmView && m_pRhythmView->IsHalfStyle();
    const StripRow row = MakeStripRow(page, doc, rowTop, 18, half);
    StripFonts(m_pCaptionStrip, m_pLimbChestStrip, doc);
    if (!docs.HasCurrentItem()) return;

    const int waveStyle = m_pRhythmView ? m_pRhythmView->GetWaveStyle() : 0;
    PlaceCaptionStrips(m_pCaptionStrip, m_pLimbChestStrip, page, doc, row, waveStyle, docs.IsFifteenLead());
    if (m_pCaptionStrip && m_pCaptionStrip->GetSafeHwnd()) m_pCaptionStrip->InvalidateRect(nullptr, FALSE);
    PlaceWaveViews(m_pRhythmView, m_pOneLeadView, page, doc, row.top + row.height);
}

// ---- update ----------------------------------------------------------------------------------

void CWndRestRhythmWaveAme::OnUpdate()
{
    UpdateForm(m_pPatientFrame);
    UpdateForm(m_pInterpretationFrame);
    const Docs docs = DocsOf(m_pRestViewDoc, m_pMFERViewDoc, m_pRhythmViewDoc);
    CTavrionDoc* doc = docs.Doc();
    if (doc) SetDividerCheck(doc->GetDividerCheck());
    if (m_pRhythmView && m_pRhythmView->GetSafeHwnd()) {
        m_pRhythmView->OnUpdate(nullptr, 0, nullptr);
        m_pRhythmView->InvalidateRect(nullptr, FALSE);
    }
    if (!m_pOneLeadView || !m_pOneLeadView->GetSafeHwnd()) return;
    if (doc) {
        m_pOneLeadView->SetRhythm1LeadID(docs.OneLeadId());
        OnUpdateDisplayInfo(doc->GetRhythmWaveStyle(), 0);
    }
    m_pOneLeadView->OnUpdate(nullptr, 0, nullptr);
    m_pOneLeadView->InvalidateRect(nullptr, FALSE);
}

void CWndRestRhythmWaveAme::SetDividerCheck(int mask) { ApplyDividerCheck(m_pRhythmView, mask); }

LRESULT CWndRestRhythmWaveAme::OnUpdateDisplayInfo(WPARAM wParam, LPARAM)
{
    ShowCaptions(m_pCaptionStrip, DocsOf(m_pRestViewDoc, m_pMFERViewDoc, m_pRhythmViewDoc), static_cast<int>(wParam),
                 m_bLimbLead, TRUE);
    return 0;
}

void CWndRestRhythmWaveAme::HideAllPopupDlg(BOOL show) { HideWavePopups(m_pRhythmView, m_pOneLeadView, show); }

void CWndRestRhythmWaveAme::CloseAllPopupDlg() { CloseWavePopups(m_pRhythmView, m_pOneLeadView); }

// ---- commands and messages -------------------------------------------------------------------

BOOL CWndRestRhythmWaveAme::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // A probe asks who would handle the command; it is not a command.
    if (!pHandlerInfo && (nID == static_cast<UINT>(kLimbButton) || nID == static_cast<UINT>(kChestButton))) {
        m_bLimbLead = nID == static_cast<UINT>(kLimbButton);
        ShowLeadGroup(m_pRhythmView, m_pOneLeadView, m_pCaptionStrip,
                      DocsOf(m_pRestViewDoc, m_pMFERViewDoc, m_pRhythmViewDoc).Doc(), m_bLimbLead);
    }
    return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT CWndRestRhythmWaveAme::OnUser1LeadScorllDragDrop(WPARAM wParam, LPARAM)
{
    return panes::RelayStripDrag(DocsOf(m_pRestViewDoc, m_pMFERViewDoc, m_pRhythmViewDoc).Doc(), m_pRhythmView,
                                 static_cast<int>(wParam));
}

LRESULT CWndRestRhythmWaveAme::OnUserAnnotationActive(WPARAM wParam, LPARAM)
{
    CWaveView* views[] = {m_pRhythmView, m_pOneLeadView};
    return panes::RelayAnnotationActive(reinterpret_cast<CWnd*>(wParam), views, 2);
}

LRESULT CWndRestRhythmWaveAme::OnFocusJump(WPARAM wParam, LPARAM)
{
    // Tab runs between the two forms of the page: the end of the patient
    // form leads into the interpretation, and back.
    const panes::FocusJump jump = panes::ReadFocusJump(wParam);
    CFrameWnd* target = nullptr;
    if (jump.source == panes::kFromPatientForm) target = m_pInterpretationFrame;
    if (jump.source == panes::kFromUSInterpretation) target = m_pPatientFrame;
    if (!target) return 0;
    return panes::JumpFocusInto(this, target, jump, panes::FocusRule());
}
