#include "panes/WndExerMemory.h"

#include "analysisviews/ViewExerTrend.h"
#include "analysisviews/ViewMemoryWave.h"
#include "core/Globals.h"
#include "core/UserMessages.h"
#include "dialogs/DlgCtrl.h"
#include "dialogs/DlgExerTimer.h"
#include "dialogs/DlgPreNext.h"
#include "documents/ExerTags.h"
#include "documents/ExerViewDoc.h"
#include "panes/PageButtons.h"
#include "panes/PaneKit.h"
#include "panes/WndExerAverageStrips.h"

IMPLEMENT_DYNAMIC(CWndExerMemory, CWnd)

BEGIN_MESSAGE_MAP(CWndExerMemory, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_ANNOTATION_ACTIVE, OnUserAnnotationActive)
END_MESSAGE_MAP()

namespace {

constexpr UINT kTrendViewId = 200;
constexpr UINT kMemoryViewId = 201;
constexpr int kTrendParentMemory = 2;
constexpr int kHeartRateTrend = 1;
constexpr int kMemoryColumns = 250;
constexpr int kMemoryRows = 90;
constexpr int kGridModeColumns = 260;
constexpr UINT kDisplaySizeByGrid = 5;
constexpr double kAnnoScale = 0.000999001;

int GridModeMargin() { return static_cast<int>(10 * g_dXUnit); }

}  // namespace

CWndExerMemory::CWndExerMemory()
    : m_pExerViewDoc(nullptr), m_pPreNext(nullptr), m_pMemoryView(nullptr), m_pTrendView(nullptr),
      m_pTimeStep(nullptr), m_pInfo(nullptr), m_nTimerID(0)
{
}

CWndExerMemory::~CWndExerMemory()
{
    delete m_pPreNext;
    m_pPreNext = nullptr;
    delete m_pTimeStep;
    m_pTimeStep = nullptr;
    delete m_pInfo;
    m_pInfo = nullptr;
}

int CWndExerMemory::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
    CExerViewDoc* doc = m_pExerViewDoc;
    m_pTrendView =
        static_cast<CViewExerTrend*>(panes::CreateChildView(this, doc, RUNTIME_CLASS(CViewExerTrend), kTrendViewId));
    if (m_pTrendView) {
        m_pTrendView->SetParentWndType(kTrendParentMemory);
        m_pTrendView->UpdateInformation();
        m_pTrendView->SetTrendStyle(kHeartRateTrend);
    }
    m_pMemoryView = static_cast<CViewMemoryWave*>(
        panes::CreateChildView(this, doc, RUNTIME_CLASS(CViewMemoryWave), kMemoryViewId));
    if (m_pMemoryView) {
        m_pMemoryView->InitBackground(kMemoryColumns, kMemoryRows);
        m_pMemoryView->OnInitialUpdate();
    }
    m_pInfo = panes::CreateStrip<CDlgCtrl>(this, doc, panes::kInfoTemplate, panes::kInfoTemplate, this);
    if (m_pInfo) m_pInfo->ShowWindow(SW_SHOW);
    m_pPreNext = panes::CreatePreNextStrip(this, doc, L"戻る", L"次へ");
    m_pTimeStep = panes::CreateStrip<CDlgExerTimer>(this, doc, panes::kTimeStepTemplate, this);
    if (m_pTimeStep) m_pTimeStep->ShowWindow(SW_SHOW);
    if (CWnd* forward = panes::StripItem(m_pTimeStep, panes::kPlayForward)) forward->SetFocus();
    return 0;
}

// ---- layout ----------------------------------------------------------------------------------

void CWndExerMemory::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (!m_pExerViewDoc) return;
    const panes::VirtualPage page = panes::VirtualPage::OfClient(this, TRUE);
    const BOOL gridMode = m_pExerViewDoc->GetDisplaySizeMode() == kDisplaySizeByGrid;
    const int left = gridMode ? GridModeMargin() : page.X(7);

    if (m_pInfo && m_pInfo->GetSafeHwnd()) {
        page.Place(panes::StripItem(m_pInfo, panes::kInfoText), {0, 0, 500, 20});
        m_pInfo->MoveWindow(left, page.Y(5), page.X(500), page.Y(20), TRUE);
    }
    const int memoryBottom = PlaceMemoryView(left, gridMode);

    const int buttonsTop = memoryBottom + page.Y(5);
    if (m_pPreNext && m_pPreNext->GetSafeHwnd()) {
        m_pPreNext->MoveWindow(page.X(30), buttonsTop, page.X(250), page.Y(25), TRUE);
        page.Place(panes::StripItem(m_pPreNext, panes::kBackButton), {0, 0, 120, 25});
        page.Place(panes::StripItem(m_pPreNext, panes::kNextButton), {130, 0, 120, 25});
    }
    if (HasView(m_pTrendView)) {
        const int top = buttonsTop + page.Y(25) + page.Y(5);
        const int height = page.Height() - page.Y(5) - top;
        m_pTrendView->MoveWindow(left, top, page.X(600), height > 0 ? height : 0, TRUE);
    }
    if (m_pTimeStep && m_pTimeStep->GetSafeHwnd()) {
        page.Place(m_pTimeStep, {650, 585, 200, 60});
        page.Place(panes::StripItem(m_pTimeStep, panes::kPlayBackward), {0, 0, 30, 30});
        page.Place(panes::StripItem(m_pTimeStep, panes::kPlayStop), {30, 0, 30, 30});
        page.Place(panes::StripItem(m_pTimeStep, panes::kPlayForward), {60, 0, 30, 30});
        page.Place(panes::StripItem(m_pTimeStep, panes::kPlayTime), {0, 45, 200, 30});
    }
    CFont* font = m_pExerViewDoc->GetDocFont(0);
    const int info[] = {panes::kInfoText};
    panes::SetStripFont(m_pInfo, info, 1, font);
    const int preNext[] = {panes::kBackButton, panes::kNextButton};
    panes::SetStripFont(m_pPreNext, preNext, 2, font);
    const int time[] = {panes::kPlayTime};
    panes::SetStripFont(m_pTimeStep, time, 1, font);
}

int CWndExerMemory::PlaceMemoryView(int left, BOOL gridMode)
{
    const panes::VirtualPage page = panes::VirtualPage::OfClient(this, TRUE);
    const int top = page.Y(25);
    if (!HasView(m_pMemoryView)) return top;
    int across = 0, down = 0;
    m_pMemoryView->GetGridCount(across, down);
    int width, height;
    if (gridMode) {
        const double px = m_pExerViewDoc->GetPixelPerMMX(), py = m_pExerViewDoc->GetPixelPerMMY();
        width = px > 0.0 ? static_cast<int>(px * kGridModeColumns) + 1 : 0;
        height = py > 0.0 && down > 0 ? static_cast<int>(down * py) + 1 : 1;
    } else {
        width = page.X(1001);
        height = down > 0 ? static_cast<int>(static_cast<double>(width) / kMemoryColumns * down) + 1 : 1;
    }
    // A pane sized to nothing shows an empty strip.
    if (width <= 0) height = 0;
    m_pMemoryView->SetAnnoSizeRatio(static_cast<float>(width * kAnnoScale));
    m_pMemoryView->MoveWindow(left, top, width, height, TRUE);
    return top + height;
}

// ---- update ----------------------------------------------------------------------------------

void CWndExerMemory::OnUpdate()
{
    if (HasView(m_pMemoryView)) {
        m_pMemoryView->OnUpdate();
        m_pMemoryView->InvalidateRect(nullptr, FALSE);
    }
    _EXERDATAITEM* item = m_pExerViewDoc ? m_pExerViewDoc->GetCurrentDataItem() : nullptr;
    if (!item) return;
    if (HasView(m_pTrendView)) {
        m_pTrendView->SetTrendStyle(item->nTrendStyle);
        m_pTrendView->SetLeadID(item->nTrendLead);
        m_pTrendView->UpdateInformation();
        panes::RepaintView(m_pTrendView);
    }
    if (m_pPreNext && m_pPreNext->GetSafeHwnd()) m_pPreNext->OnInitDialog();
    if (m_pTimeStep && m_pTimeStep->GetSafeHwnd()) m_pTimeStep->OnInitDialog();
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_DISPLAY_INFO_CHANGED, static_cast<WPARAM>(m_pExerViewDoc->GetPageStyle()), 0);
}

void CWndExerMemory::MessageFromTrendWnd(int style, int lead)
{
    _EXERDATAITEM* item = m_pExerViewDoc ? m_pExerViewDoc->GetCurrentDataItem() : nullptr;
    if (!item) return;
    item->nTrendStyle = style;
    item->nTrendLead = lead;
    if (!HasView(m_pTrendView)) return;
    m_pTrendView->UpdateInformation();
    m_pTrendView->SetTrendStyle(style);
    m_pTrendView->SetLeadID(lead);
    panes::RepaintView(m_pTrendView);
}

// ---- playback --------------------------------------------------------------------------------

void CWndExerMemory::StopPlayback()
{
    m_nTimerID = panes::StopPlayback(this, m_pTimeStep, m_nTimerID, m_pExerViewDoc, m_pMemoryView);
}

void CWndExerMemory::StartPlayback(int button, UINT_PTR id)
{
    m_nTimerID = panes::StartPlayback(this, m_pTimeStep, m_nTimerID, button, id, panes::kMemoryPlaybackMs,
                                      m_pExerViewDoc, m_pMemoryView);
}

void CWndExerMemory::SaveAnnotations()
{
    panes::SaveViewAnnotations(m_pMemoryView, m_pExerViewDoc);
}

void CWndExerMemory::OnDestroy()
{
    m_nTimerID = panes::EndPlaybackOnDestroy(this, m_nTimerID, m_pExerViewDoc);
    CWnd::OnDestroy();
}

void CWndExerMemory::OnTimer(UINT_PTR nIDEvent)
{
    if (!m_pExerViewDoc || !m_pExerViewDoc->GetCurrentDataItem()) return;
    StepBlock(panes::TimerStep(nIDEvent));
    CWnd::OnTimer(nIDEvent);
}

void CWndExerMemory::StepBlock(int step)
{
    _EXERDATAITEM* item = m_pExerViewDoc->GetCurrentDataItem();
    const int block = m_pExerViewDoc->GetCurMemBlockNo();
    const int exercise = item->nExerMemCount, recovery = item->nPostMemCount;
    const BOOL inRecovery = m_pExerViewDoc->IsPostMemBlock();
    const UINT tag = exer::TAG_MEM_TIME + (inRecovery ? 1 : 0);
    const int seconds =
        panes::ReadBlockSeconds(m_pExerViewDoc, item->pECGData, tag, inRecovery ? block - exercise : block);
    // A time shown before the block (picked on a trend, or the start of the
    // test before the first stored strip) is no block of its own: a step
    // forward reaches the block, a step back the block before it. Waiting
    // for the time to catch up would never end, as nothing moves it.
    // Recovery blocks count their time from the end of the load.
    const BOOL ahead = seconds + (inRecovery ? item->nExerTime : 0) > item->nCurTime;
    const int next = ahead && step > 0 ? block + step - 1 : block + step;
    if (next < 0 || next >= exercise + recovery) {
        StopPlayback();
        return;
    }
    m_pExerViewDoc->SetCurMemBlockNo(next, 0);
    SaveAnnotations();
    OnUpdate();
}

// ---- commands --------------------------------------------------------------------------------

BOOL CWndExerMemory::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // A probe asks who would handle the command; it is not a command.
    if (pHandlerInfo) return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    if (nCode == CN_COMMAND) {
        switch (static_cast<int>(nID)) {
        case panes::kPlayForward: StartPlayback(panes::kPlayForward, panes::kForwardTimer); break;
        case panes::kPlayBackward: StartPlayback(panes::kPlayBackward, panes::kBackwardTimer); break;
        case panes::kPlayStop: StopPlayback(); break;
        case panes::kBackButton:
            StopPlayback();
            SendMessage(WM_TIMER, panes::kBackwardTimer, 0);
            break;
        case panes::kNextButton:
            StopPlayback();
            SendMessage(WM_TIMER, panes::kForwardTimer, 0);
            break;
        default: break;
        }
    }
    SaveAnnotations();
    return CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT CWndExerMemory::OnUserAnnotationActive(WPARAM wParam, LPARAM)
{
    if (!HasView(m_pMemoryView)) return 0;
    CWaveView* views[] = {m_pMemoryView};
    return panes::RelayAnnotationActive(reinterpret_cast<CWnd*>(wParam), views, 1);
}
