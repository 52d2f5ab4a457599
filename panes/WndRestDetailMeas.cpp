#include "panes/WndRestDetailMeas.h"

#include "analysisviews/ViewDetailedMeas.h"
#include "analysisviews/ViewQRSNo.h"
#include "analysisviews/ViewQRSType.h"
#include "dialogs/DlgDetailUpdate.h"
#include "dialogs/DlgPreNext.h"
#include "documents/RestViewDoc.h"
#include "panes/PageButtons.h"
#include "panes/PaneKit.h"

IMPLEMENT_DYNAMIC(CWndRestDetailMeas, CWnd)

BEGIN_MESSAGE_MAP(CWndRestDetailMeas, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

constexpr int kRestDocType = 0;
constexpr int kUpdateButton = 3503;
constexpr int kCancelButton = 3504;
constexpr int kPageHeight = 664;   // the page has no patient strip to hide

}  // namespace

CWndRestDetailMeas::CWndRestDetailMeas()
    : m_pRestViewDoc(nullptr), m_pMeasFrame(nullptr), m_pQRSTypeView(nullptr), m_pQRSNoView(nullptr),
      m_pPreNext(nullptr), m_pUpdate(nullptr)
{
}

CWndRestDetailMeas::~CWndRestDetailMeas()
{
    delete m_pPreNext;
    m_pPreNext = nullptr;
    delete m_pUpdate;
    m_pUpdate = nullptr;
}

CViewDetailedMeas* CWndRestDetailMeas::GetMeasView() const
{
    if (!m_pMeasFrame || !m_pMeasFrame->GetSafeHwnd()) return nullptr;
    return dynamic_cast<CViewDetailedMeas*>(m_pMeasFrame->GetActiveView());
}

int CWndRestDetailMeas::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    m_pMeasFrame = panes::CreateViewFrame(this, m_pRestViewDoc, RUNTIME_CLASS(CViewDetailedMeas), [](CView* view) {
        if (auto* table = dynamic_cast<CViewDetailedMeas*>(view)) table->SetDocType(kRestDocType);
    });
    m_pQRSTypeView = static_cast<CViewQRSType*>(
        panes::CreateChildView(this, m_pRestViewDoc, RUNTIME_CLASS(CViewQRSType), 202));
    if (m_pQRSTypeView) m_pQRSTypeView->SetDocType(kRestDocType);
    m_pQRSNoView =
        static_cast<CViewQRSNo*>(panes::CreateChildView(this, m_pRestViewDoc, RUNTIME_CLASS(CViewQRSNo), 203));
    if (m_pQRSNoView) m_pQRSNoView->SetDocType(kRestDocType);
    m_pPreNext = panes::CreateStrip<CDlgPreNext>(this, m_pRestViewDoc, CDlgPreNext::IDD, this);
    if (m_pPreNext) m_pPreNext->ShowWindow(SW_SHOW);
    m_pUpdate = panes::CreateStrip<CDlgDetailUpdate>(this, m_pRestViewDoc, CDlgDetailUpdate::IDD, this);
    if (m_pUpdate) m_pUpdate->ShowWindow(SW_SHOW);
    UpdatePreNextStatus();
    return 0;
}

void CWndRestDetailMeas::UpdatePreNextStatus()
{
    panes::SetStripText(m_pPreNext, panes::kBackButton, L"<<");
    panes::EnableStripItem(m_pPreNext, panes::kBackButton, FALSE);
    panes::SetStripText(m_pPreNext, panes::kNextButton, L">>");
    panes::SetStripText(m_pUpdate, kUpdateButton, L"更新");
    panes::SetStripText(m_pUpdate, kCancelButton, L"取消");
}

void CWndRestDetailMeas::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    const panes::VirtualPage page = [this] {
        CRect client;
        GetClientRect(&client);
        return panes::VirtualPage(client.Width(), client.Height(), kPageHeight);
    }();
    page.Place(m_pMeasFrame, {10, 10, 1000, 395});
    if (CView* table = GetMeasView()) table->SendMessage(WM_SIZE, 0, 0);
    page.Place(m_pQRSTypeView, {10, 415, 800, 130});
    page.Place(m_pQRSNoView, {10, 555, 800, 100});
    page.Place(m_pPreNext, {850, 575, 50, 70});
    page.Place(panes::StripItem(m_pPreNext, panes::kBackButton), {0, 0, 50, 30});
    page.Place(panes::StripItem(m_pPreNext, panes::kNextButton), {0, 40, 50, 30});
    page.Place(m_pUpdate, {850, 415, 140, 80});
    page.Place(panes::StripItem(m_pUpdate, kUpdateButton), {0, 0, 60, 20});
    page.Place(panes::StripItem(m_pUpdate, kCancelButton), {60, 0, 60, 20});
    const int paging[] = {panes::kBackButton, panes::kNextButton};
    const int editing[] = {kUpdateButton, kCancelButton};
    panes::SetStripFont(m_pPreNext, paging, 2, m_pRestViewDoc ? m_pRestViewDoc->GetDocFont(1) : nullptr);
    panes::SetStripFont(m_pUpdate, editing, 2, m_pRestViewDoc ? m_pRestViewDoc->GetDocFont(0) : nullptr);
}

void CWndRestDetailMeas::FollowBeatPage()
{
    if (!m_pQRSNoView || !m_pQRSNoView->GetSafeHwnd()) return;
    panes::EnableStripItem(m_pPreNext, panes::kNextButton, !m_pQRSNoView->IsEnd());
    panes::EnableStripItem(m_pPreNext, panes::kBackButton, !m_pQRSNoView->IsBegin());
}

void CWndRestDetailMeas::PageBeats(int step)
{
    if (!m_pQRSNoView || !m_pQRSNoView->GetSafeHwnd()) return;
    m_pQRSNoView->SetQRSNum(step);
    FollowBeatPage();
    const BOOL atEnd = step < 0 ? m_pQRSNoView->IsBegin() : m_pQRSNoView->IsEnd();
    CViewDetailedMeas* table = GetMeasView();
    if (!atEnd || !table) return;
    // Paging has run out: the focus goes back to the measurement table.
    if (m_pRestViewDoc) m_pRestViewDoc->SendToNotifyWnd(WM_SETFOCUS, 0, 0);
    table->SendMessage(WM_SETFOCUS, 0, 0);
    table->ChangeFocus(0);
}

void CWndRestDetailMeas::StoreEdits()
{
    CViewDetailedMeas* table = GetMeasView();
    if (!table || !table->IsEditChange()) return;
    if (table->IsDataValid())
        table->SetData(TRUE);
    else
        table->WarnDataError();
}

BOOL CWndRestDetailMeas::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (!pHandlerInfo) {
        if (nID == panes::kBackButton) PageBeats(-1);
        if (nID == panes::kNextButton) PageBeats(1);
        if (nID == kUpdateButton) StoreEdits();
        if (nID == kCancelButton && GetMeasView()) GetMeasView()->RestoreData();
        if (m_pQRSNoView && m_pQRSNoView->GetSafeHwnd()) m_pQRSNoView->InvalidateRect(nullptr, TRUE);
    }
    return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CWndRestDetailMeas::ShowUpdateStrip()
{
    if (!m_pUpdate || !m_pUpdate->GetSafeHwnd()) return;
    CViewDetailedMeas* table = GetMeasView();
    const BOOL waiting = table && table->IsNeedSaveValue();
    const BOOL show = m_pRestViewDoc && !m_pRestViewDoc->IsReadOnly() && waiting;
    m_pUpdate->ShowWindow(show ? SW_SHOW : SW_HIDE);
    if (!show) return;
    const BOOL editable = m_pRestViewDoc->IsSaveEditor();
    panes::EnableStripItem(m_pUpdate, kUpdateButton, editable);
    panes::EnableStripItem(m_pUpdate, kCancelButton, editable);
}

void CWndRestDetailMeas::OnUpdate()
{
    if (CViewDetailedMeas* table = GetMeasView()) {
        table->OnUpdate(nullptr, 0, nullptr);
        panes::RepaintView(table);
    }
    if (m_pQRSTypeView && m_pQRSTypeView->GetSafeHwnd()) m_pQRSTypeView->InvalidateRect(nullptr, TRUE);
    if (m_pQRSNoView && m_pQRSNoView->GetSafeHwnd()) {
        m_pQRSNoView->OnUpdate();
        m_pQRSNoView->InvalidateRect(nullptr, TRUE);
    }
    if (m_pPreNext && m_pPreNext->GetSafeHwnd()) m_pPreNext->OnInitDialog();
    if (m_pUpdate && m_pUpdate->GetSafeHwnd()) m_pUpdate->OnInitDialog();
    ShowUpdateStrip();
    if (!m_pQRSNoView || !m_pQRSNoView->GetSafeHwnd()) return;
    m_pQRSNoView->SetQRSNum(0);
    FollowBeatPage();
    m_pQRSNoView->InvalidateRect(nullptr, TRUE);
}
