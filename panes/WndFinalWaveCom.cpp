#include "panes/WndFinalWaveCom.h"

#include "analysisviews/ViewFinalCom12Leads.h"
#include "dialogs/DlgCtrl.h"
#include "dialogs/DlgPreNext.h"
#include "documents/FinalViewDoc.h"
#include "panes/PageButtons.h"
#include "panes/PaneKit.h"

IMPLEMENT_DYNAMIC(CWndFinalWaveCom, CWnd)

BEGIN_MESSAGE_MAP(CWndFinalWaveCom, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

constexpr int kFinalDocType = 1;
constexpr int kCaptionTemplate = 102;
constexpr int kCaption = 3478;
constexpr int kScreenSpeed = 25;
constexpr double kAnnoScale = 0.0010070493;

}  // namespace

CWndFinalWaveCom::CWndFinalWaveCom()
    : m_pFinalViewDoc(nullptr), m_pComView(nullptr), m_pPreNext(nullptr), m_pCaptionStrip(nullptr)
{
}

CWndFinalWaveCom::~CWndFinalWaveCom()
{
    delete m_pPreNext;
    m_pPreNext = nullptr;
    delete m_pCaptionStrip;
    m_pCaptionStrip = nullptr;
}

int CWndFinalWaveCom::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    m_pPreNext = panes::CreatePreNextStrip(this, m_pFinalViewDoc, L"戻る", L"次へ");
    m_pCaptionStrip = panes::CreateStrip<CDlgCtrl>(this, m_pFinalViewDoc, kCaptionTemplate, kCaptionTemplate, this);
    m_pComView = static_cast<CViewFinalCom12Leads*>(
        panes::CreateChildView(this, m_pFinalViewDoc, RUNTIME_CLASS(CViewFinalCom12Leads), 201));
    if (m_pComView) m_pComView->SetDocType(kFinalDocType);
    panes::ShowStripItem(m_pCaptionStrip, kCaption, TRUE);
    for (int id : {3479, 3480, 3499}) panes::ShowStripItem(m_pCaptionStrip, id, FALSE);
    if (m_pCaptionStrip) m_pCaptionStrip->ShowWindow(SW_SHOW);
    // Until the first update the view holds one page: neither button leads anywhere.
    FollowPage();
    return 0;
}

void CWndFinalWaveCom::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (!m_pFinalViewDoc) return;
    // The page has no patient strip but is always 664 units high.
    const panes::VirtualPage client = panes::VirtualPage::OfClient(this, TRUE);
    const int H = client.Height();
    const BOOL gridMode = m_pFinalViewDoc->GetDisplaySizeMode() == panes::kDisplaySizeByGrid;
    const int m = panes::GridModeMargin();
    CFont* font = m_pFinalViewDoc->GetDocFont(0);

    if (m_pCaptionStrip && m_pCaptionStrip->GetSafeHwnd()) {
        m_pCaptionStrip->MoveWindow(gridMode ? m : client.X(14), client.Y(5), client.X(993), client.Y(18), TRUE);
        client.Place(panes::StripItem(m_pCaptionStrip, kCaption), {0, 0, 993, 18});
        const int ids[] = {kCaption};
        panes::SetStripFont(m_pCaptionStrip, ids, 1, font);
    }

    int viewHeight = 0;
    const int viewTop = client.Y(23);
    if (m_pComView && m_pComView->GetSafeHwnd()) {
        int gx = 0, gy = 0;
        m_pComView->GetGridCount(gx, gy);
        const double room = H - viewTop - client.Y(25);
        int left = client.X(14), width = client.X(993);
        double square = gx > 0 ? static_cast<double>(width) / gx : 0.0;
        if (gridMode) {
            const double px = m_pFinalViewDoc->GetPixelPerMMX();
            left = m;
            width = static_cast<int>(gx * px) + 1;
            square = m_pFinalViewDoc->GetPixelPerMMY();
        }
        const int rows = panes::RowsInRoom(room, square);
        viewHeight = panes::GridHeight(rows, square);
        if (width <= 0) viewHeight = 0;
        m_pComView->InitBackground(gx, rows);
        m_pComView->SetAnnoSizeRatio(static_cast<float>(width * kAnnoScale));
        m_pComView->MoveWindow(left, viewTop, width, viewHeight, TRUE);
    }

    const int stripTop = viewTop + viewHeight + (H - viewHeight - viewTop - client.Y(20)) / 2;
    if (m_pPreNext && m_pPreNext->GetSafeHwnd()) {
        m_pPreNext->MoveWindow(client.X(30), stripTop, client.X(250), client.Y(20), TRUE);
        client.Place(panes::StripItem(m_pPreNext, panes::kBackButton), {0, 0, 120, 20});
        client.Place(panes::StripItem(m_pPreNext, panes::kNextButton), {130, 0, 120, 20});
        const int ids[] = {panes::kBackButton, panes::kNextButton};
        panes::SetStripFont(m_pPreNext, ids, 2, font);
    }
}

void CWndFinalWaveCom::OnUpdate()
{
    if (m_pComView && m_pComView->GetSafeHwnd()) {
        m_pComView->OnUpdate(nullptr, 0, nullptr);
        m_pComView->InvalidateRect(nullptr, FALSE);
    }
    if (m_pPreNext && m_pPreNext->GetSafeHwnd()) m_pPreNext->OnInitDialog();
    FollowPage();
    if (!m_pFinalViewDoc) return;
    CString text;
    text.Format(L"%.2f mm/mV  %d mm/s  %d Hz", m_pFinalViewDoc->GetCommonSense(0), kScreenSpeed,
                m_pFinalViewDoc->GetFilter());
    panes::SetStripText(m_pCaptionStrip, kCaption, text);
}

void CWndFinalWaveCom::FollowPage()
{
    int page = 0, last = 0;
    if (m_pComView && m_pComView->GetSafeHwnd()) {
        page = m_pComView->GetCurrentPage();
        last = m_pComView->GetTotalPage() - 1;
    }
    panes::EnableStripItem(m_pPreNext, panes::kBackButton, page > 0);
    panes::EnableStripItem(m_pPreNext, panes::kNextButton, page < last);
}

void CWndFinalWaveCom::PageBy(int step)
{
    if (!m_pComView || !m_pComView->GetSafeHwnd() || !m_pFinalViewDoc) return;
    const int target = m_pComView->GetCurrentPage() + step;
    // A press that would leave the record (a key on a button not yet disabled) changes nothing.
    if (target >= 0 && target < m_pComView->GetTotalPage()) {
        m_pComView->SaveAnnoToData(0, nullptr, m_pFinalViewDoc->GetAnnotationFlag());
        m_pComView->ChangeView(step);
    }
    FollowPage();
}

BOOL CWndFinalWaveCom::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (!pHandlerInfo && nCode == CN_COMMAND) {
        if (nID == panes::kBackButton) PageBy(-1);
        if (nID == panes::kNextButton) PageBy(1);
    }
    return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
