#include "panes/WndRRComment.h"

#include "analysisviews/ViewRRIntervalList.h"
#include "core/TavrionDoc.h"
#include "core/UserMessages.h"
#include "dialogs/DlgPreNext.h"
#include "documents/RRViewDoc.h"
#include "forms/FormEx.h"
#include "forms/FormInterpreRhyRR.h"
#include "forms/FormPatientInfo.h"
#include "panes/PaneKit.h"
#include "panes/PageButtons.h"

IMPLEMENT_DYNAMIC(CWndRRComment, CWnd)

BEGIN_MESSAGE_MAP(CWndRRComment, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_MESSAGE(WM_FORM_TAB_END, OnFocusJump)
END_MESSAGE_MAP()

namespace {

constexpr int kRRDocType = 3;
constexpr int kFirstStyle = 6;
constexpr int kFormAlone = 8;
constexpr int kListAlone = 9;

}  // namespace

CWndRRComment::CWndRRComment()
    : m_pRRViewDoc(nullptr), m_bShowPatientInfo(TRUE), m_nPageStyle(kFirstStyle), m_pPatientFrame(nullptr),
      m_pInterpretationFrame(nullptr), m_pIntervalList(nullptr), m_pPreNext(nullptr)
{
}

CWndRRComment::~CWndRRComment()
{
    delete m_pPreNext;
    m_pPreNext = nullptr;
}

int CWndRRComment::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    m_pPatientFrame = panes::CreateFormFrame(this, m_pRRViewDoc, RUNTIME_CLASS(CFormPatientInfo), kRRDocType);
    m_pInterpretationFrame =
        panes::CreateFormFrame(this, m_pRRViewDoc, RUNTIME_CLASS(CFormInterpreRhyRR), kRRDocType);
    m_pIntervalList = static_cast<CViewRRIntervalList*>(
        panes::CreateChildView(this, m_pRRViewDoc, RUNTIME_CLASS(CViewRRIntervalList), 201));
    m_pPreNext = panes::CreatePreNextStrip(this, m_pRRViewDoc, L"戻る", L"次へ");
    return 0;
}

void CWndRRComment::ShowPageStyle(int style)
{
    if (style < kFirstStyle || style > kListAlone) return;
    m_nPageStyle = style;
    SendMessage(WM_SIZE, 0, 0);
}

void CWndRRComment::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (!m_pRRViewDoc) return;
    const panes::VirtualPage page = panes::VirtualPage::OfClient(this, m_bShowPatientInfo);
    panes::PlacePatientFrame(m_pPatientFrame, page, {15, 5, 990, 50}, m_bShowPatientInfo);
    const int y0 = m_bShowPatientInfo ? 60 : 10;
    const panes::PageRect none{0, 0, 0, 0};
    const BOOL formShown = m_nPageStyle != kListAlone;
    const BOOL listShown = m_nPageStyle != kFormAlone;
    const BOOL wide = m_nPageStyle == kListAlone;

    panes::PageRect form = none;
    if (formShown) form = m_nPageStyle == kFormAlone ? panes::PageRect{10, 0, 1000, 595} : panes::PageRect{15, 0, 490, 595};
    if (m_pInterpretationFrame && m_pInterpretationFrame->GetSafeHwnd()) {
        m_pInterpretationFrame->MoveWindow(formShown ? page.RectBelow(y0, form) : CRect(0, 0, 0, 0), TRUE);
        if (CFormEx* view = panes::FrameForm(m_pInterpretationFrame)) {
            if (formShown) view->SendMessage(WM_SIZE, 0, 0);
            view->ShowText();
        }
    }
    const int listX = wide ? 10 : 515, listW = wide ? 1000 : 490;
    if (m_pIntervalList && m_pIntervalList->GetSafeHwnd())
        m_pIntervalList->MoveWindow(listShown ? page.RectBelow(y0, {listX, 0, listW, 560}) : CRect(0, 0, 0, 0), TRUE);
    panes::PageButtonsLayout buttons;
    buttons.strip = wide ? panes::PageRect{10, 570, 400, 25} : panes::PageRect{515, 565, 200, 25};
    buttons.back = wide ? panes::PageRect{0, 0, 160, 25} : panes::PageRect{0, 0, 80, 25};
    buttons.next = wide ? panes::PageRect{180, 0, 160, 25} : panes::PageRect{90, 0, 80, 25};
    panes::PlacePreNextStrip(m_pPreNext, page, y0, listShown ? &buttons : nullptr,
                             m_pRRViewDoc->GetDocFont(0));
}

void CWndRRComment::OnUpdate()
{
    CFrameWnd* frames[] = {m_pPatientFrame, m_pInterpretationFrame};
    for (CFrameWnd* frame : frames)
        if (CFormEx* form = panes::FrameForm(frame)) form->OnUpdate(nullptr, 0, nullptr);
    if (m_pIntervalList && m_pIntervalList->GetSafeHwnd()) {
        m_pIntervalList->OnUpdate(nullptr, 0, nullptr);
        m_pIntervalList->InvalidateRect(nullptr, FALSE);
    }
    if (m_pPreNext && m_pPreNext->GetSafeHwnd()) m_pPreNext->OnInitDialog();
    if (m_pIntervalList && m_pIntervalList->GetSafeHwnd()) FollowPageState(m_pIntervalList->ChangePage(0));
}

void CWndRRComment::FollowPageState(int state)
{
    panes::EnablePreNext(m_pPreNext, state);
}

BOOL CWndRRComment::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    const BOOL paging = nCode == 0 && m_pIntervalList && m_pIntervalList->GetSafeHwnd();
    if (paging && nID == panes::kBackButton) {
        panes::EnableStripItem(m_pPreNext, panes::kNextButton, TRUE);
        if (m_pIntervalList->ChangePage(-1) == panes::kAtFirstPage)
            panes::EnableStripItem(m_pPreNext, panes::kBackButton, FALSE);
    } else if (paging && nID == panes::kNextButton) {
        panes::EnableStripItem(m_pPreNext, panes::kBackButton, TRUE);
        if (m_pIntervalList->ChangePage(1) == panes::kAtLastPage)
            panes::EnableStripItem(m_pPreNext, panes::kNextButton, FALSE);
    }
    return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT CWndRRComment::OnFocusJump(WPARAM wParam, LPARAM)
{
    // Only the patient form and the RR interpretation form hand the focus on here; the host's
    // jump and the US-style form's belong to other pages.
    const panes::FocusJump jump = panes::ReadFocusJump(wParam);
    if (jump.source != panes::kFromPatientForm && jump.source != panes::kFromInterpretation) return 0;
    return panes::JumpBetweenForms(this, m_pPatientFrame, m_pInterpretationFrame, wParam);
}
