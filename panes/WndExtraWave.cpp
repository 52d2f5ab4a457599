#include "panes/WndExtraWave.h"

#include "core/UserMessages.h"
#include "dialogs/DlgCtrl.h"
#include "documents/ExtraViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "panes/PaneKit.h"
#include "panes/WndExtraWavePage.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewScroll1LeadWave.h"

IMPLEMENT_DYNAMIC(CWndExtraWave, CWnd)

BEGIN_MESSAGE_MAP(CWndExtraWave, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_MESSAGE(WM_STRIP_DRAGGED, OnUser1LeadScorllDragDrop)
    ON_MESSAGE(WM_DISPLAY_INFO_CHANGED, OnUpdateDisplayInfo)
    ON_MESSAGE(WM_ANNOTATION_ACTIVE, OnUserAnnotationActive)
    ON_MESSAGE(WM_FORM_TAB_END, OnFocusJump)
END_MESSAGE_MAP()

namespace {

using panes::extra::PageWave;

const PageWave kPages[4] = {{1, 2, 22}, {5, 6, 24}, {7, 8, 26}, {9, 10, 28}};
// The overview strip shows the first extra lead; a missing screen font is
// passed on as none; the post-load time is captioned.
const panes::extra::WaveTwin kTwin = {kPages, 15, FALSE, FALSE, TRUE};

}  // namespace

CWndExtraWave::CWndExtraWave()
    : m_pPatientFrame(nullptr), m_pDisplayStrip(nullptr), m_pRhythmView(nullptr), m_pRhythmStrip(nullptr),
      m_pExtraViewDoc(nullptr), m_pMFERViewDoc(nullptr), m_bShowPatientInfo(1)
{
}

CWndExtraWave::~CWndExtraWave()
{
    delete m_pDisplayStrip;
    m_pDisplayStrip = nullptr;
}

void CWndExtraWave::SetExtraViewDoc(CExtraViewDoc* pDoc)
{
    m_pExtraViewDoc = pDoc;
    m_pMFERViewDoc = nullptr;
}

void CWndExtraWave::SetMFERViewDoc(CMFERViewDoc* pDoc)
{
    m_pMFERViewDoc = pDoc;
    m_pExtraViewDoc = nullptr;
}

panes::extra::WavePageParts CWndExtraWave::Parts()
{
    return {this,          {m_pExtraViewDoc, m_pMFERViewDoc}, m_bShowPatientInfo, m_pPatientFrame,
            m_pDisplayStrip, m_pRhythmView, m_pRhythmStrip};
}

int CWndExtraWave::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    panes::extra::CreateWavePage(Parts(), kTwin);
    return 0;
}

void CWndExtraWave::ShowExtraPageStyle(int style) { ShowPageStyle(m_pExtraViewDoc, style); }

void CWndExtraWave::ShowMFERPageStyle(int style)
{
    // An MFER page is the extra-lead page of the same number plus 51.
    if (style <= panes::extra::kMFERStyleOffset) return;
    ShowPageStyle(m_pMFERViewDoc, style - panes::extra::kMFERStyleOffset);
}

void CWndExtraWave::ShowPageStyle(CTavrionDoc* callDoc, int extraStyle)
{
    if (!panes::extra::ApplyWavePage(Parts(), kTwin, callDoc, extraStyle)) return;
    OnUpdate();
    SendMessage(WM_SIZE, 0, 0);
}

void CWndExtraWave::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    panes::extra::LayoutWavePage(Parts(), kTwin);
}

void CWndExtraWave::OnUpdate() { panes::extra::UpdateWavePage(Parts(), kTwin); }

void CWndExtraWave::SetDividerCheck(int bits) { panes::extra::GiveDividers(m_pRhythmView, bits); }

LRESULT CWndExtraWave::OnUpdateDisplayInfo(WPARAM wParam, LPARAM)
{
    return panes::extra::WaveCaptions(Parts(), kTwin, static_cast<int>(wParam));
}

LRESULT CWndExtraWave::OnUser1LeadScorllDragDrop(WPARAM wParam, LPARAM)
{
    return panes::RelayStripDrag(Parts().record.Doc(), m_pRhythmView, static_cast<int>(wParam));
}

LRESULT CWndExtraWave::OnUserAnnotationActive(WPARAM wParam, LPARAM)
{
    CWaveView* views[] = {m_pRhythmView, m_pRhythmStrip};
    return panes::RelayAnnotationActive(reinterpret_cast<CWnd*>(wParam), views, 2);
}

LRESULT CWndExtraWave::OnFocusJump(WPARAM wParam, LPARAM)
{
    return panes::JumpIntoOnlyForm(this, m_pPatientFrame, wParam);
}
