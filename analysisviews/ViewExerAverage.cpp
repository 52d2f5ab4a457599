// CViewExerAverage: construction, update, painting, printing and the mouse.
#include "analysisviews/ViewExerAverage.h"

#include <memory>

#include "core/MemoryHelpers.h"
#include "core/UserMessages.h"
#include "platform/ui/windowing/Resources.h"
#include "printdevice/ECGDC.h"

IMPLEMENT_DYNCREATE(CViewExerAverage, CWaveView)

BEGIN_MESSAGE_MAP(CViewExerAverage, CWaveView)
    ON_WM_LBUTTONDOWN()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

namespace {

// The calibration strip that takes clicks: the left 15 mm, full height.
const int kCalStripMm = 15;
// The exercise sensitivity, from the calibration column of the exercise views.
const WPARAM kExerciseSense = 5;
const LPARAM kFromExerciseView = 6;

}  // namespace

CViewExerAverage::CViewExerAverage() : m_magnifier(*this)
{
    InitBackground(GRID_ACROSS, GRID_DOWN);
    ClearTables();
}

CViewExerAverage::~CViewExerAverage()
{
    m_magnifier.DropCache();
    for (int cell = 0; cell < CELLS; ++cell) FreeBeat(cell);
}

CExerViewDoc* CViewExerAverage::GetExerDoc() const
{
    return DYNAMIC_DOWNCAST(CExerViewDoc, m_pDocument);
}

const _EXERDATAITEM* CViewExerAverage::CurrentItem() const
{
    CExerViewDoc* doc = GetExerDoc();
    return doc ? doc->GetCurrentDataItem() : nullptr;
}

void CViewExerAverage::FreeBeat(int cell)
{
    MemoryFree(m_beats[cell].pSamples);
    m_beats[cell] = ExerBeat();
}

void CViewExerAverage::ClearTables()
{
    for (int cell = 0; cell < CELLS; ++cell) FreeBeat(cell);
    for (auto& record : m_reference)
        for (int& value : record) value = 0;
}

void CViewExerAverage::OnInitialUpdate()
{
    CWaveView::OnInitialUpdate();
    if (const _EXERDATAITEM* item = CurrentItem()) m_nSampleRate = item->nSampleRate;
    SetUpMagnifier();
}

void CViewExerAverage::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    CWaveView::OnUpdate(pSender, lHint, pHint);
    m_magnifier.DropCache();
    CExerViewDoc* doc = GetExerDoc();
    const _EXERDATAITEM* item = CurrentItem();
    if (!doc || !item) return;
    ClearTables();
    // The rate of the record shown now: a record opened after the first
    // update may have another, and a rate of 0 draws no beat.
    m_nSampleRate = item->nSampleRate;
    int block = doc->GetCurAveBlockNo();
    int recovery = 0;
    if (block >= item->nExerAveCount) {
        recovery = 1;
        block -= item->nExerAveCount;
    }
    switch (m_nDisplayMode) {
    case 1: Update12LeadDisplay(recovery, block); break;
    case 2: Update6LeadDisplay(recovery, block); break;
    case 3: Update1LeadDisplay(recovery, block); break;
    default: break;
    }
}

void CViewExerAverage::SetAverageDisplayMode(_EXER_AVERAGE_DISPLAY_MODE mode)
{
    m_nDisplayMode = mode;
    OnUpdate(nullptr, 0, nullptr);
    if (GetSafeHwnd()) Invalidate(TRUE);
}

void CViewExerAverage::SetDisplay1LeadSense(double value)
{
    m_nOneLeadSteps = static_cast<int>(value * 20);
    OnUpdate(nullptr, 0, nullptr);
    if (GetSafeHwnd()) Invalidate(TRUE);
}

void CViewExerAverage::OnDraw(CDC* pDC)
{
    CExerBeatCell::PaintView(*this, pDC, [this](CDC* page, const CRect& client, int across, int down) {
        DrawView(page, client, across, down, 1, 0);
    });
}

int CViewExerAverage::DrawView(CDC* pDC, CRect rect, int mmAcross, int mmDown, int unused, int printing)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!pDC || !doc || !CurrentItem() || mmAcross <= 0 || mmDown <= 0) return 0;
    const COLORREF text = printing ? RGB(0, 0, 0) : doc->GetWaveColor(3, 0);
    const COLORREF previous = pDC->SetTextColor(text);
    BOOL drawn = TRUE;
    switch (m_nDisplayMode) {
    case 1: drawn = Draw12LeadDisplayMode(pDC, rect, mmAcross, mmDown, unused, printing); break;
    case 2: drawn = Draw6LeadDisplayMode(pDC, rect, mmAcross, mmDown, unused, printing); break;
    case 3: drawn = Draw1LeadDisplayMode(pDC, rect, mmAcross, mmDown, unused, printing); break;
    default: break;
    }
    pDC->SetTextColor(previous);
    return drawn ? 1 : 0;
}

int CViewExerAverage::Print(CECGDC* pDC, CRect rect, double pxPerMm, int mmAcross, int mmDown, int grid)
{
    if (!pDC || !pDC->GetDC()) return 0;
    if (!PrintWaveGrid(pDC, rect, mmAcross, mmDown, pxPerMm, grid, TRUE, FALSE)) return 0;
    return DrawView(pDC->GetDC(), rect, mmAcross, mmDown, 1, 1) > 0 ? 1 : 0;
}

// ---- the mouse -----------------------------------------------------------------------

void CViewExerAverage::OnLButtonDown(UINT nFlags, CPoint point)
{
    SetFocus();
    CTavrionDoc* doc = GetTavrionDoc();
    const bool annotating =
        doc && doc->GetAnnotationLock() == 0 && (doc->GetMouseMode() == 2 || doc->GetMouseMode() == 3);
    if (doc && !annotating && (m_nDisplayMode == 1 || m_nDisplayMode == 2)) {
        CRect client;
        GetClientRect(&client);
        int across = 0;
        int down = 0;
        GetGridCount(across, down);
        const int strip = across > 0 ? MulDiv(client.Width(), kCalStripMm, across) : 0;
        if (point.x >= client.left && point.x < client.left + strip)
            doc->SendToNotifyWnd(WM_CAL_PULSE_CLICKED, kExerciseSense, kFromExerciseView);
    }
    CWaveView::OnLButtonDown(nFlags, point);
}

BOOL CViewExerAverage::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (doc && (doc->GetMouseMode() == 1 || doc->GetAnnotationLock() == 1)) {
        ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
        return TRUE;
    }
    return CWaveView::OnSetCursor(pWnd, nHitTest, message);
}

void CViewExerAverage::SetUpMagnifier()
{
    CExerBeatCell::SetUpMagnifier(*this, m_magnifier, [this](CDC* dc, const CRect& rect, int across, int down) {
        DrawView(dc, rect, across, down, 1, 0);
    });
}

void CViewExerAverage::OnMouseMove(UINT nFlags, CPoint point)
{
    m_magnifier.Show(point);
    CWaveView::OnMouseMove(nFlags, point);
}

void CViewExerAverage::OnMouseLeave()
{
    m_magnifier.Leave();
}
