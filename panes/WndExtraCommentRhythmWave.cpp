#include "panes/WndExtraCommentRhythmWave.h"

#include "core/TavrionDoc.h"
#include "core/UserMessages.h"
#include "dialogs/DlgCtrl.h"
#include "documents/ExtraViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "panes/PaneKit.h"
#include "panes/WndExtraCommentPage.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewScroll1LeadWave.h"

IMPLEMENT_DYNAMIC(CWndExtraCommentRhythmWave, CWnd)

BEGIN_MESSAGE_MAP(CWndExtraCommentRhythmWave, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_MESSAGE(WM_STRIP_DRAGGED, OnUser1LeadScorllDragDrop)
    ON_MESSAGE(WM_DISPLAY_INFO_CHANGED, OnUpdateDisplayInfo)
    ON_MESSAGE(WM_FORM_TAB_END, OnFocusJump)
    ON_MESSAGE(WM_ANNOTATION_ACTIVE, OnUserAnnotationActive)
END_MESSAGE_MAP()

namespace {

using namespace panes::extra;

const CommentRow kRows[] = {
    {20, 20, 23, kSizeWaveHalf},
    {21, 22, 23, kSizeComment},
    {26, 26, kWaveByLayoutCode, kSizeWaveHalf},
    {27, 28, kWaveByLayoutCode, kSizeComment},
};
// Six leads and a rhythm lead as one set (layout 11) or two (13); the
// overview strip shows the rhythm lead; missing fonts are passed as none.
const CommentTwin kTwin = {kRows, 4, 11, 13, 13, TRUE, FALSE};

}  // namespace

CWndExtraCommentRhythmWave::CWndExtraCommentRhythmWave()
    : m_pExtraViewDoc(nullptr), m_pMFERViewDoc(nullptr), m_bShowPatientInfo(1), m_bSelectExtra1(1),
      m_bSetChoiceOffered(0), m_nPageStyle(0), m_pPatientFrame(nullptr), m_pCommentFrame(nullptr),
      m_pRhythmView(nullptr), m_pDisplayStrip(nullptr), m_pSelectionStrip(nullptr), m_pRhythmStrip(nullptr)
{
}

CWndExtraCommentRhythmWave::~CWndExtraCommentRhythmWave()
{
    delete m_pDisplayStrip;
    m_pDisplayStrip = nullptr;
    delete m_pSelectionStrip;
    m_pSelectionStrip = nullptr;
}

void CWndExtraCommentRhythmWave::SetExtraViewDoc(CExtraViewDoc* pDoc)
{
    m_pExtraViewDoc = pDoc;
    m_pMFERViewDoc = nullptr;
}

void CWndExtraCommentRhythmWave::SetMFERViewDoc(CMFERViewDoc* pDoc)
{
    m_pMFERViewDoc = pDoc;
    m_pExtraViewDoc = nullptr;
}

CommentPageParts CWndExtraCommentRhythmWave::Parts()
{
    return {this,
            {m_pExtraViewDoc, m_pMFERViewDoc},
            m_bShowPatientInfo,
            m_bSelectExtra1,
            m_bSetChoiceOffered,
            m_nPageStyle,
            m_pPatientFrame,
            m_pCommentFrame,
            m_pRhythmView,
            m_pDisplayStrip,
            m_pSelectionStrip,
            m_pRhythmStrip};
}

int CWndExtraCommentRhythmWave::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    CreateCommentPage(Parts(), kTwin);
    return 0;
}

void CWndExtraCommentRhythmWave::UpdateSelButton() { panes::extra::UpdateSelButton(Parts()); }

void CWndExtraCommentRhythmWave::ShowExtraPageStyle(int style) { ShowPageStyle(FALSE, style); }

void CWndExtraCommentRhythmWave::ShowMFERPageStyle(int style)
{
    // An MFER page is the extra-lead page of the same number plus 51.
    if (style <= kMFERStyleOffset) return;
    ShowPageStyle(TRUE, style - kMFERStyleOffset);
}

void CWndExtraCommentRhythmWave::ShowPageStyle(BOOL mferCall, int extraStyle)
{
    if (!ApplyCommentPage(Parts(), kTwin, mferCall, extraStyle)) return;
    OnUpdate();
    SendMessage(WM_SIZE, 0, 0);
}

void CWndExtraCommentRhythmWave::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    CRect rect;
    const CommentLayout layout = PlaceCommentPatient(Parts(), kTwin, rect);
    const int pageHeight = panes::VirtualPage::PageHeight(m_bShowPatientInfo);
    switch (layout) {
    case kSizeWaveHalf: SizeWaveHalf(rect, panes::kPageWidth, pageHeight); break;
    case kSizeComment: SizeComment(rect, panes::kPageWidth, pageHeight); break;
    default: break;
    }
}

void CWndExtraCommentRhythmWave::SizeComment(CRect rect, int pageWidth, int pageHeight)
{
    panes::extra::SizeComment(Parts(), kTwin, rect, pageWidth, pageHeight);
}

void CWndExtraCommentRhythmWave::SizeWaveHalf(CRect rect, int pageWidth, int pageHeight)
{
    panes::extra::SizeWaveHalf(Parts(), kTwin, rect, pageWidth, pageHeight);
}

void CWndExtraCommentRhythmWave::OnUpdate() { UpdateCommentPage(Parts(), kTwin); }

BOOL CWndExtraCommentRhythmWave::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // A probe asks who would handle the command; it is not a command.
    if (pHandlerInfo) return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    const CommentPageParts parts = Parts();
    if (!parts.record.Doc() || !parts.record.HasItem()) return 0;
    SelectLeadSet(parts, nID);
    return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT CWndExtraCommentRhythmWave::OnUpdateDisplayInfo(WPARAM, LPARAM) { return CommentCaptions(Parts()); }

LRESULT CWndExtraCommentRhythmWave::OnUser1LeadScorllDragDrop(WPARAM wParam, LPARAM)
{
    return panes::RelayStripDrag(Parts().record.Doc(), m_pRhythmView, static_cast<int>(wParam));
}

LRESULT CWndExtraCommentRhythmWave::OnUserAnnotationActive(WPARAM wParam, LPARAM)
{
    CWaveView* views[] = {m_pRhythmView, m_pRhythmStrip};
    return panes::RelayAnnotationActive(reinterpret_cast<CWnd*>(wParam), views, 2);
}

LRESULT CWndExtraCommentRhythmWave::OnFocusJump(WPARAM wParam, LPARAM) { return JumpBetweenCommentForms(Parts(), wParam); }
