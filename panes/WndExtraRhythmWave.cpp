#include "panes/WndExtraRhythmWave.h"

#include "core/UserMessages.h"
#include "dialogs/DlgCtrl.h"
#include "documents/ExtraViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "panes/PaneKit.h"
#include "panes/WndExtraWavePage.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewScroll1LeadWave.h"

IMPLEMENT_DYNAMIC(CWndExtraRhythmWave, CWnd)

BEGIN_MESSAGE_MAP(CWndExtraRhythmWave, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_MESSAGE(WM_STRIP_DRAGGED, OnUser1LeadScorllDragDrop)
    ON_MESSAGE(WM_DISPLAY_INFO_CHANGED, OnUpdateDisplayInfo)
    ON_MESSAGE(WM_ANNOTATION_ACTIVE, OnUserAnnotationActive)
    ON_MESSAGE(WM_FORM_TAB_END, OnFocusJump)
END_MESSAGE_MAP()

namespace {

using panes::extra::PageWave;

const PageWave kPages[4] = {{3, 4, 22}, {11, 12, 24}, {13, 14, 26}, {15, 16, 28}};
// The overview strip shows the record's rhythm lead; nothing is laid out
// without the screen font; the post-load time is shown as the record keeps it.
const panes::extra::WaveTwin kTwin = {kPages, 13, TRUE, TRUE, FALSE};

}  // namespace

CWndExtraRhythmWave::CWndExtraRhythmWave()
    : m_pPatientFrame(nullptr), m_pRhythmView(nullptr), m_pRhythmStrip(nullptr), m_pDisplayStrip(nullptr),
      m_pExtraViewDoc(nullptr), m_pMFERViewDoc(nullptr), m_bShowPatientInfo(1)
{
}

CWndExtraRhythmWave::~CWndExtraRhythmWave()
{
    delete m_pDisplayStrip;
    m_pDisplayStrip = nullptr;
}

void CWndExtraRhythmWave::SetExtraViewDoc(CExtraViewDoc* pDoc)
{
    m_pExtraViewDoc = pDoc;
    m_pMFERViewDoc = nullptr;
}

void CWndExtraRhythmWave::SetMFERViewDoc(CMFERViewDoc* pDoc)
{
    m_pMFERViewDoc = pDoc;
    m_pExtraViewDoc = nullptr;
}

panes::extra::WavePageParts CWndExtraRhythmWave::Parts()
{
    return {this,          {m_pExtraViewDoc, m_pMFERViewDoc}, m_bShowPatientInfo, m_pPatientFrame,
            m_pDisplayStrip, m_pRhythmView, m_pRhythmStrip};
}

int CWndExtraRhythmWave::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    panes::extra::CreateWavePage(Parts(), kTwin);
    return 0;
}

void CWndExtraRhythmWave::ShowExtraPageStyle(int style) { ShowPageStyle(m_pExtraViewDoc, style); }

void CWndExtraRhythmWave::ShowMFERPageStyle(int style)
{
    // An MFER page is the extra-lead page of the same number plus 51.
    if (style <= panes::extra::kMFERStyleOffset) return;
    ShowPageStyle(m_pMFERViewDoc, style - panes::extra::kMFERStyleOffset);
}

void CWndExtraRhythmWave::ShowPageStyle(CTavrionDoc* callDoc, int extraStyle)
{
    if (!panes::extra::ApplyWavePage(Parts(), kTwin, callDoc, extraStyle)) return;
    OnUpdate();
    SendMessage(WM_SIZE, 0, 0);
}

void CWndExtraRhythmWave::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    panes::extra::LayoutWavePage(Parts(), kTwin);
}

void CWndExtraRhythmWave::OnUpdate() { panes::extra::UpdateWavePage(Parts(), kTwin); }

void CWndExtraRhythmWave::SetDividerCheck(int bits) { panes::extra::GiveDividers(m_pRhythmView, bits); }

LRESULT CWndExtraRhythmWave::OnUpdateDisplayInfo(WPARAM wParam, LPARAM)
{
    return panes::extra::WaveCaptions(Parts(), kTwin, static_cast<int>(wParam));
}

LRESULT CWndExtraRhythmWave::OnUser1LeadScorllDragDrop(WPARAM wParam, LPARAM)
{
    return panes::RelayStripDrag(Parts().record.Doc(), m_pRhythmView, static_cast<int>(wParam));
}

LRESULT CWndExtraRhythmWave::OnUserAnnotationActive(WPARAM wParam, LPARAM)
{
    CWaveView* views[] = {m_pRhythmView, m_pRhythmStrip};
    return panes::RelayAnnotationActive(reinterpret_cast<CWnd*>(wParam), views, 2);
}

LRESULT CWndExtraRhythmWave::OnFocusJump(WPARAM wParam, LPARAM)
{
    return panes::JumpIntoOnlyForm(this, m_pPatientFrame, wParam);
}
