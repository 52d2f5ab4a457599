#include "panes/WndExtraWavePane.h"

#include "core/UserMessages.h"
#include "dialogs/DlgCtrl.h"
#include "documents/ExtraViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "panes/PaneKit.h"
#include "panes/WndExtraWavePage.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewScroll1LeadWave.h"

IMPLEMENT_DYNAMIC(CWndExtraWavePane, CWnd)

BEGIN_MESSAGE_MAP(CWndExtraWavePane, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_MESSAGE(WM_STRIP_DRAGGED, OnUser1LeadScorllDragDrop)
    ON_MESSAGE(WM_DISPLAY_INFO_CHANGED, OnUpdateDisplayInfo)
    ON_MESSAGE(WM_ANNOTATION_ACTIVE, OnUserAnnotationActive)
    ON_MESSAGE(WM_FORM_TAB_END, OnFocusJump)
END_MESSAGE_MAP()

CWndExtraWavePane::CWndExtraWavePane(const panes::extra::WaveTwin& twin)
    : m_twin(twin),
      m_pPatientFrame(nullptr), m_pDisplayStrip(nullptr), m_pRhythmView(nullptr), m_pRhythmStrip(nullptr),
      m_pExtraViewDoc(nullptr), m_pMFERViewDoc(nullptr), m_bShowPatientInfo(1)
{
}

CWndExtraWavePane::~CWndExtraWavePane()
{
    delete m_pDisplayStrip;
    m_pDisplayStrip = nullptr;
}

void CWndExtraWavePane::SetExtraViewDoc(CExtraViewDoc* pDoc)
{
    m_pExtraViewDoc = pDoc;
    m_pMFERViewDoc = nullptr;
}

void CWndExtraWavePane::SetMFERViewDoc(CMFERViewDoc* pDoc)
{
    m_pMFERViewDoc = pDoc;
    m_pExtraViewDoc = nullptr;
}

panes::extra::WavePageParts CWndExtraWavePane::Parts()
{
    return {this,          {m_pExtraViewDoc, m_pMFERViewDoc}, m_bShowPatientInfo, m_pPatientFrame,
            m_pDisplayStrip, m_pRhythmView, m_pRhythmStrip};
}

int CWndExtraWavePane::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    panes::extra::CreateWavePage(Parts(), m_twin);
    return 0;
}

void CWndExtraWavePane::ShowExtraPageStyle(int style) { ShowPageStyle(m_pExtraViewDoc, style); }

void CWndExtraWavePane::ShowMFERPageStyle(int style)
{
    // An MFER page is the extra-lead page of the same number plus 51.
    if (style <= panes::extra::kMFERStyleOffset) return;
    ShowPageStyle(m_pMFERViewDoc, style - panes::extra::kMFERStyleOffset);
}

void CWndExtraWavePane::ShowPageStyle(CTavrionDoc* callDoc, int extraStyle)
{
    if (!panes::extra::ApplyWavePage(Parts(), m_twin, callDoc, extraStyle)) return;
    OnUpdate();
    SendMessage(WM_SIZE, 0, 0);
}

void CWndExtraWavePane::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    panes::extra::LayoutWavePage(Parts(), m_twin);
}

void CWndExtraWavePane::OnUpdate() { panes::extra::UpdateWavePage(Parts(), m_twin); }

void CWndExtraWavePane::SetDividerCheck(int bits) { panes::extra::GiveDividers(m_pRhythmView, bits); }

LRESULT CWndExtraWavePane::OnUpdateDisplayInfo(WPARAM wParam, LPARAM)
{
    return panes::extra::WaveCaptions(Parts(), m_twin, static_cast<int>(wParam));
}

LRESULT CWndExtraWavePane::OnUser1LeadScorllDragDrop(WPARAM wParam, LPARAM)
{
    return panes::RelayStripDrag(Parts().record.Doc(), m_pRhythmView, static_cast<int>(wParam));
}

LRESULT CWndExtraWavePane::OnUserAnnotationActive(WPARAM wParam, LPARAM)
{
    CWaveView* views[] = {m_pRhythmView, m_pRhythmStrip};
    return panes::RelayAnnotationActive(reinterpret_cast<CWnd*>(wParam), views, 2);
}

LRESULT CWndExtraWavePane::OnFocusJump(WPARAM wParam, LPARAM)
{
    return panes::JumpIntoOnlyForm(this, m_pPatientFrame, wParam);
}
