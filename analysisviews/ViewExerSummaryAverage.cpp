// CViewExerSummaryAverage: loading the summary beats and drawing their rows.
#include "analysisviews/ViewExerSummaryAverage.h"

#include <algorithm>

#include "analysisviews/ExerViewMouse.h"
#include "core/Globals.h"
#include "core/MemoryHelpers.h"
#include "core/UserMessages.h"
#include "platform/gdi/DCStateSaver.h"
#include "printdevice/ECGDC.h"

IMPLEMENT_DYNCREATE(CViewExerSummaryAverage, CWaveView)

BEGIN_MESSAGE_MAP(CViewExerSummaryAverage, CWaveView)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

namespace {

const wchar_t* const kCaptions[3] = {L"安静時", L"負荷直後", L"最大ST降下"};
const UINT kJustAfterLoadTag = 3062;
const UINT kMaxStTag = 3074;
const int kRestColour = 15;
const int kNormalColour = -1;
const WPARAM kExerciseSense = 5;
const LPARAM kFromExerciseView = 6;
const WPARAM kFromSummaryAverage = 4;
// Printed: the grid from 22 mm in, 110 mm wide, the rows over 130 mm.
const int kPrintGridLeftMm = 22;
const int kPrintGridWidthMm = 110;
const int kPrintAcrossMm = 130;

bool MissingRate(int rate)
{
    return rate == -32768 || rate == -1 || rate <= 0;
}

}  // namespace

CViewExerSummaryAverage::CViewExerSummaryAverage() : m_magnifier(*this)
{
    InitBackground(GRID_ACROSS, GRID_DOWN);
}

CViewExerSummaryAverage::~CViewExerSummaryAverage()
{
    m_magnifier.DropCache();
    FreeBeats();
}

CExerViewDoc* CViewExerSummaryAverage::GetExerDoc() const
{
    return DYNAMIC_DOWNCAST(CExerViewDoc, m_pDocument);
}

const _EXERDATAITEM* CViewExerSummaryAverage::CurrentItem() const
{
    CExerViewDoc* doc = GetExerDoc();
    return doc ? doc->GetCurrentDataItem() : nullptr;
}

void CViewExerSummaryAverage::FreeBeats()
{
    for (auto& row : m_beats)
        for (ExerBeat& beat : row) {
            MemoryFree(beat.pSamples);
            beat = ExerBeat();
        }
}

void CViewExerSummaryAverage::OnInitialUpdate()
{
    CWaveView::OnInitialUpdate();
    CExerBeatCell::SetUpMagnifier(*this, m_magnifier, [this](CDC* dc, const CRect& rect, int across, int down) {
        DrawView(dc, rect, across, down, 0);
    });
}

void CViewExerSummaryAverage::CopyItemFields(const _EXERDATAITEM& item)
{
    m_nSampleRate = item.nSampleRate;
    m_nMaxStRecovery = item.nMaxStMode;
    m_nMaxStTime = item.nMaxStTime;
    const int rates[KINDS] = {item.sRestHr, item.nEndHr, item.nMaxStHr};
    for (int k = 0; k < KINDS; ++k) {
        m_nReference[k] = item.nRefPos[k];
        m_nHeartRate[k] = rates[k];
    }
    for (int l = 0; l < LEADS; ++l) {
        m_nLead[l] = item.nExtra3Lead[l];
        const int levels[KINDS] = {item.nStLevelRest[l], item.nStLevelEnd[l], item.nStLevelMax[l]};
        const int offsets[KINDS] = {item.nRestMeasOffset, item.nStSlopeEnd[l], item.nStSlopeMax[l]};
        for (int k = 0; k < KINDS; ++k) {
            m_beats[k][l].nStLevel = levels[k];
            m_beats[k][l].nMeasOffset = offsets[k];
            m_beats[k][l].nReference = m_nReference[k];
        }
    }
}

void CViewExerSummaryAverage::LoadBeat(int kind, int lead, int storedLead)
{
    CExerViewDoc* doc = GetExerDoc();
    ExerBeat& beat = m_beats[kind][lead];
    const int reference = m_nReference[kind];
    auto get = [&](short* buffer) {
        if (kind == 0) return doc->GetRestWave(storedLead, buffer, reference);
        return doc->GetAverageShowWave(kind == 1 ? kJustAfterLoadTag : kMaxStTag, storedLead, buffer, reference);
    };
    const int bytes = get(nullptr);
    if (bytes < 2) return;
    auto* samples = static_cast<short*>(MemoryAlloc(static_cast<UINT>(bytes / 2 * 2)));
    if (!samples) return;
    if (get(samples) <= 0) {
        MemoryFree(samples);
        return;
    }
    beat.pSamples = samples;
    beat.nLength = bytes / 2;
}

void CViewExerSummaryAverage::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    CWaveView::OnUpdate(pSender, lHint, pHint);
    m_magnifier.DropCache();
    const _EXERDATAITEM* item = CurrentItem();
    if (!item) return;
    FreeBeats();
    CopyItemFields(*item);
    for (int l = 0; l < LEADS; ++l)
        for (int k = 0; k < KINDS; ++k) LoadBeat(k, l, m_nLead[l]);
}

void CViewExerSummaryAverage::OnDraw(CDC* pDC)
{
    CExerBeatCell::PaintView(*this, pDC, [this](CDC* page, const CRect& client, int across, int down) {
        DrawView(page, client, across, down, 0);
    });
}

// ---- drawing ------------------------------------------------------------------------------

void CViewExerSummaryAverage::DrawHeader(CDC* pDC, int right, int y, int step27, int step18) const
{
    const _EXERDATAITEM* item = CurrentItem();
    CExerViewDoc* doc = GetExerDoc();
    pDC->TextOut(right, y, CString((item->nFilterStatus & 0x18) ? L"Filter ON" : L"Filter OFF"));
    pDC->TextOut(right - step27, y, CString(L"25 mm/s"));
    pDC->TextOut(right - step27 - step18, y, CExerBeatCell::SenseText(doc->GetCommonSense(0)));
}

void CViewExerSummaryAverage::DrawRowHead(CDC* pDC, const CRect& rect, int kind, int baseline, int mmAcross,
                                          int mmDown, int printing)
{
    auto X = [&](int mm) { return MulDiv(rect.Width(), mm, mmAcross); };
    auto Y = [&](int mm) { return MulDiv(rect.Height(), mm, mmDown); };
    const int x = rect.left + X(printing ? 20 : 30);
    pDC->SetTextAlign(TA_RIGHT | TA_BOTTOM);
    pDC->TextOut(x, baseline - Y(5), CString(kCaptions[kind]));
    CString rate;
    if (MissingRate(m_nHeartRate[kind]))
        rate = L"* bpm";
    else
        rate.Format(L"%d bpm", m_nHeartRate[kind]);
    pDC->TextOut(x, baseline, rate);
    if (kind == 2) {
        CString when;
        when.Format(m_nMaxStRecovery == 1 ? L"(Af. %d'%02d'')" : L"(Ex. %d'%02d'')", m_nMaxStTime / 60,
                    m_nMaxStTime % 60);
        pDC->TextOut(x + X(1), baseline + Y(5), when);
    }
    DrawRowLabel(pDC, rect, kind, baseline, mmAcross, mmDown, printing);
}

void CViewExerSummaryAverage::DrawRowLabel(CDC* pDC, const CRect& rect, int kind, int baseline, int mmAcross,
                                           int mmDown, int printing)
{
    auto X = [&](int mm) { return MulDiv(rect.Width(), mm, mmAcross); };
    auto Y = [&](int mm) { return MulDiv(rect.Height(), mm, mmDown); };
    const _EXERDATAITEM* item = CurrentItem();
    const CString label = kind > 0 && item->nStMeasCondition ? L"R-ST" : L"ST-L";
    CPoint at(rect.left + X(printing ? 28 : 42), baseline - (printing ? Y(10) : 0));
    // On a narrow pane the millimetres shrink but the font does not: the label
    // would run into the first lead's value. It moves the least that keeps
    // them apart: left, short of the calibration pulse, or up above the value.
    const CSize size = pDC->GetTextExtent(label);
    const int gap = std::max(1, static_cast<int>(size.cy / 3));
    // The label keeps a gap before the value: side by side they read as one word.
    const CRect box(at.x, at.y - size.cy, at.x + size.cx + gap, at.y);
    const CRect value = StValueBox(pDC, rect, kind, 0, baseline, mmAcross, mmDown, printing);
    CRect common;
    if (common.IntersectRect(&box, &value)) {
        const int pulseRight = rect.left + X((printing ? 22 : 35) + 5);
        const int left = value.left - gap - size.cx;
        const int leftMove = at.x - left;
        const int upMove = at.y - value.top;
        if (left >= pulseRight + gap && leftMove <= upMove)
            at.x = left;
        else
            at.y = value.top;
    }
    CDCStateSaver saver(*pDC);
    pDC->SetTextAlign(TA_LEFT | TA_BOTTOM);
    pDC->TextOut(at.x, at.y, label);
}

int CViewExerSummaryAverage::BeatColumn(int lead, int mmAcross, int printing) const
{
    static const int kScreenColumns[LEADS] = {67, 97, 127};
    return printing ? 38 + ((mmAcross - 35) * (1 + 3 * lead)) / 9 : kScreenColumns[lead];
}

int CViewExerSummaryAverage::CellLeft(const CRect& rect, int kind, int lead, int mmAcross, int printing) const
{
    const int rate = m_nSampleRate;
    // The reference position falls at the column: shifted over the 140 mm the layout was drawn for.
    const int shift = rate > 0 ? MulDiv(rect.Width(), m_beats[kind][lead].nReference * 25 / rate, 140) : 0;
    return rect.left + MulDiv(rect.Width(), BeatColumn(lead, mmAcross, printing), mmAcross) - shift;
}

CRect CViewExerSummaryAverage::StValueBox(CDC* pDC, const CRect& rect, int kind, int lead, int baseline,
                                          int mmAcross, int mmDown, int printing) const
{
    const CSize size = pDC->GetTextExtent(CExerBeatCell::StValueText(m_beats[kind][lead].nStLevel));
    if (printing) {
        const int x = rect.left + MulDiv(rect.Width(), BeatColumn(lead, mmAcross, printing) + 2, mmAcross);
        const int y = baseline - MulDiv(rect.Height(), 10, mmDown);
        return CRect(x - size.cx / 2, y - size.cy, x - size.cx / 2 + size.cx, y);
    }
    const int right = CellLeft(rect, kind, lead, mmAcross, printing) - MulDiv(rect.Width(), 1, mmAcross);
    return CRect(right - size.cx, baseline - size.cy, right, baseline);
}

BOOL CViewExerSummaryAverage::DrawBeats(CDC* pDC, const CRect& rect, int kind, int baseline, int V, int mmAcross,
                                        int mmDown, int printing)
{
    auto X = [&](int mm) { return MulDiv(rect.Width(), mm, mmAcross); };
    auto Y = [&](int mm) { return MulDiv(rect.Height(), mm, mmDown); };
    const CExerBeatCell painter(*this, *GetExerDoc(), *CurrentItem(), printing);
    const int colour = kind == 0 ? kRestColour : kNormalColour;
    for (int l = 0; l < LEADS; ++l) {
        const ExerBeat& beat = m_beats[kind][l];
        const int P = BeatColumn(l, mmAcross, printing);
        const int rate = m_nSampleRate;
        const int left = CellLeft(rect, kind, l, mmAcross, printing);
        const bool shortBeat = beat.nLength < CExerBeatCell::MIN_SAMPLES || beat.nReference == 0;
        const int widthMm = rate > 0 ? (shortBeat ? 3000 / rate : beat.nLength * 25 / rate) : 0;
        const CRect cell(left, baseline, left + X(widthMm), baseline + V);
        // Without a rate the beat has no width: it is not drawn.
        if (rate > 0 && !painter.Draw(pDC, cell, beat, colour, colour)) return FALSE;
        const CString value = CExerBeatCell::StValueText(beat.nStLevel);
        if (printing) {
            pDC->SetTextAlign(TA_CENTER | TA_BOTTOM);
            pDC->TextOut(rect.left + X(P + 2), baseline - Y(10), value);
        } else {
            pDC->SetTextAlign(TA_RIGHT | TA_BOTTOM);
            pDC->TextOut(left - X(1), baseline, value);
        }
        if (kind != 0) continue;
        const int display = static_cast<int>(GetExerDoc()->GetDataLeadIDInverse(static_cast<UINT>(m_nLead[l])));
        pDC->SetTextAlign(TA_CENTER | TA_TOP);
        if (display >= 0 && display < EXER_LEAD_NAMES)
            pDC->TextOut(rect.left + X(P + 2), rect.top + rect.Height() * 5 / 60, CurrentItem()->strLeadName[display]);
    }
    return TRUE;
}

int CViewExerSummaryAverage::DrawView(CDC* pDC, CRect rect, int mmAcross, int mmDown, int printing)
{
    CExerViewDoc* doc = GetExerDoc();
    if (!pDC || !doc || !CurrentItem() || mmAcross <= 0 || mmDown <= 0) return 0;
    CDCStateSaver saver(*pDC);
    pDC->SetTextColor(printing ? RGB(0, 0, 0) : doc->GetWaveColor(3, 0));
    pDC->SetBkMode(TRANSPARENT);
    auto X = [&](int mm) { return MulDiv(rect.Width(), mm, mmAcross); };
    auto Y = [&](int mm) { return MulDiv(rect.Height(), mm, mmDown); };
    if (!printing) {
        pDC->SetTextAlign(TA_RIGHT | TA_TOP);
        DrawHeader(pDC, rect.right - X(5), rect.top, X(22), X(18));
    }
    const int V = static_cast<int>(doc->GetCommonSense(0) * rect.Height() / mmDown);
    const int rowHeight = Y((mmDown - 10) / 3);
    const int rowStart = rect.top + Y(5);
    for (int k = 0; k < KINDS; ++k) {
        const int baseline = rowStart + k * rowHeight + rowHeight * 3 / 4;
        DrawRowHead(pDC, rect, k, baseline, mmAcross, mmDown, printing);
        if (rowHeight > V || k == 2) {
            int height = V;
            if (!DrawCAL(pDC, rect.left + X(printing ? 22 : 35), baseline, X(5), &height, FALSE, printing)) return 0;
        }
        if (!DrawBeats(pDC, rect, k, baseline, V, mmAcross, mmDown, printing)) return 0;
    }
    return 1;
}

int CViewExerSummaryAverage::Print(CECGDC* pDC, CRect rect, double pxPerMm, int)
{
    if (!pDC || !pDC->GetDC() || !GetExerDoc() || !CurrentItem() || pxPerMm <= 0) return 0;
    CDC* dc = pDC->GetDC();
    CDCStateSaver saver(*dc);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(RGB(0, 0, 0));
    const int mmDown = static_cast<int>(rect.Height() / pxPerMm) / 5 * 5;
    CRect grid(rect);
    grid.left += static_cast<int>(kPrintGridLeftMm * pxPerMm);
    if (!PrintWaveGrid(pDC, grid, kPrintGridWidthMm, mmDown, pxPerMm, TRUE, TRUE, FALSE)) return 0;
    if (!DrawView(dc, rect, kPrintAcrossMm, mmDown, 1)) return 0;
    dc->SetTextAlign(TA_RIGHT | TA_BOTTOM);
    const int step27 = rect.Width() * 22 / kPrintAcrossMm;
    const int step18 = rect.Width() * 18 / kPrintAcrossMm;
    DrawHeader(dc, rect.left + static_cast<int>((17 + kPrintGridWidthMm) * pxPerMm),
               rect.top + static_cast<int>(5 * pxPerMm), step27, step18);
    return 1;
}

// ---- the mouse ------------------------------------------------------------------------------

bool CViewExerSummaryAverage::Annotating() const
{
    return ExerAnnotationTakesMouse(GetTavrionDoc());
}

void CViewExerSummaryAverage::OnLButtonDown(UINT nFlags, CPoint point)
{
    SetFocus();
    CTavrionDoc* doc = GetTavrionDoc();
    if (doc && !Annotating()) {
        CRect client;
        GetClientRect(&client);
        const int left = client.Width() * 35 / GRID_ACROSS;
        const int width = MulDiv(client.Width(), 5, GRID_ACROSS);
        if (point.x >= left && point.x < left + width)
            doc->SendToNotifyWnd(WM_CAL_PULSE_CLICKED, kExerciseSense, kFromExerciseView);
    }
    CWaveView::OnLButtonDown(nFlags, point);
}

void CViewExerSummaryAverage::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    CWnd* parent = GetParent();
    CWnd* pane = parent ? parent->GetParent() : nullptr;
    if (!Annotating() && pane) pane->SendMessage(WM_EXER_SUMMARY_OPEN, kFromSummaryAverage, 0);
    CWaveView::OnLButtonDblClk(nFlags, point);
}

BOOL CViewExerSummaryAverage::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (doc && (doc->GetMouseMode() == 1 || doc->GetAnnotationLock() == 1)) {
        ::SetCursor(g_hCursorHand);
        return TRUE;
    }
    return CWaveView::OnSetCursor(pWnd, nHitTest, message);
}

void CViewExerSummaryAverage::OnMouseMove(UINT nFlags, CPoint point)
{
    m_magnifier.Show(point);
    CWaveView::OnMouseMove(nFlags, point);
}

void CViewExerSummaryAverage::OnMouseLeave()
{
    m_magnifier.Leave();
}
