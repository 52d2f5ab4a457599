#include "panes/WndExtraCommentPane.h"

#include "core/TavrionDoc.h"
#include "core/UserMessages.h"
#include "dialogs/DlgCtrl.h"
#include "documents/ExtraViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "panes/PaneKit.h"
#include "panes/WndExtraCommentPage.h"
#include "waveviews/ViewRhythmWave.h"
#include "waveviews/ViewScroll1LeadWave.h"

IMPLEMENT_DYNAMIC(CWndExtraCommentPane, CWnd)

BEGIN_MESSAGE_MAP(CWndExtraCommentPane, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_MESSAGE(WM_STRIP_DRAGGED, OnUser1LeadScorllDragDrop)
    ON_MESSAGE(WM_DISPLAY_INFO_CHANGED, OnUpdateDisplayInfo)
    ON_MESSAGE(WM_FORM_TAB_END, OnFocusJump)
    ON_MESSAGE(WM_ANNOTATION_ACTIVE, OnUserAnnotationActive)
END_MESSAGE_MAP()

using namespace panes::extra;

CWndExtraCommentPane::CWndExtraCommentPane(const CommentTwin& twin, int pageStyle)
    : m_twin(twin), m_pExtraViewDoc(nullptr), m_pMFERViewDoc(nullptr), m_bShowPatientInfo(1), m_bSelectExtra1(1),
      m_bSetChoiceOffered(0), m_nPageStyle(pageStyle), m_pPatientFrame(nullptr), m_pCommentFrame(nullptr),
      m_pRhythmView(nullptr), m_pDisplayStrip(nullptr), m_pSelectionStrip(nullptr), m_pRhythmStrip(nullptr)
{
}

CWndExtraCommentPane::~CWndExtraCommentPane()
{
    delete m_pDisplayStrip;
    m_pDisplayStrip = nullptr;
    delete m_pSelectionStrip;
    m_pSelectionStrip = nullptr;
}

void CWndExtraCommentPane::SetExtraViewDoc(CExtraViewDoc* pDoc)
{
    m_pExtraViewDoc = pDoc;
    m_pMFERViewDoc = nullptr;
}

void CWndExtraCommentPane::SetMFERViewDoc(CMFERViewDoc* pDoc)
{
    m_pMFERViewDoc = pDoc;
    m_pExtraViewDoc = nullptr;
}

CommentPageParts CWndExtraCommentPane::Parts()
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

int CWndExtraCommentPane::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    CreateCommentPage(Parts(), m_twin);
    return 0;
}

void CWndExtraCommentPane::UpdateSelButton() { panes::extra::UpdateSelButton(Parts()); }

void CWndExtraCommentPane::ShowExtraPageStyle(int style) { ShowPageStyle(FALSE, style); }

void CWndExtraCommentPane::ShowMFERPageStyle(int style)
{
    // An MFER page is the extra-lead page of the same number plus 51.
    if (style <= kMFERStyleOffset) return;
    ShowPageStyle(TRUE, style - kMFERStyleOffset);
}

void CWndExtraCommentPane::ShowPageStyle(BOOL mferCall, int extraStyle)
{
    if (!ApplyCommentPage(Parts(), m_twin, mferCall, extraStyle)) return;
    OnUpdate();
    SendMessage(WM_SIZE, 0, 0);
}

void CWndExtraCommentPane::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    CRect rect;
    const CommentLayout layout = PlaceCommentPatient(Parts(), m_twin, rect);
    const int pageHeight = panes::VirtualPage::PageHeight(m_bShowPatientInfo);
    switch (layout) {
    case kSizeWaveHalf: SizeWaveHalf(rect, panes::kPageWidth, pageHeight); break;
    case kSizeComment: SizeComment(rect, panes::kPageWidth, pageHeight); break;
    case kSizeCommentHalf: SizeCommentHalf(rect, panes::kPageWidth, pageHeight); break;
    default: break;
    }
}

void CWndExtraCommentPane::SizeComment(CRect rect, int pageWidth, int pageHeight)
{
    panes::extra::SizeComment(Parts(), m_twin, rect, pageWidth, pageHeight);
}

void CWndExtraCommentPane::SizeWaveHalf(CRect rect, int pageWidth, int pageHeight)
{
    panes::extra::SizeWaveHalf(Parts(), m_twin, rect, pageWidth, pageHeight);
}

void CWndExtraCommentPane::SizeCommentHalf(CRect, int, int) {}

void CWndExtraCommentPane::OnUpdate() { UpdateCommentPage(Parts(), m_twin); }

BOOL CWndExtraCommentPane::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // A probe asks who would handle the command; it is not a command.
    if (pHandlerInfo) return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    const CommentPageParts parts = Parts();
    if (!parts.record.Doc() || !parts.record.HasItem()) return 0;
    SelectLeadSet(parts, nID);
    return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT CWndExtraCommentPane::OnUpdateDisplayInfo(WPARAM, LPARAM) { return CommentCaptions(Parts()); }

LRESULT CWndExtraCommentPane::OnUser1LeadScorllDragDrop(WPARAM wParam, LPARAM)
{
    return panes::RelayStripDrag(Parts().record.Doc(), m_pRhythmView, static_cast<int>(wParam));
}

LRESULT CWndExtraCommentPane::OnUserAnnotationActive(WPARAM wParam, LPARAM)
{
    CWaveView* views[] = {m_pRhythmView, m_pRhythmStrip};
    return panes::RelayAnnotationActive(reinterpret_cast<CWnd*>(wParam), views, 2);
}

LRESULT CWndExtraCommentPane::OnFocusJump(WPARAM wParam, LPARAM) { return JumpBetweenCommentForms(Parts(), wParam); }
