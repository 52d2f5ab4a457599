// CViewAverageWave: the calibration column, the lead cells and printing.
#include <algorithm>

#include "analysisviews/ViewAverageWave.h"
#include "core/TavrionDoc.h"
#include "platform/base/Kernel.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/gdi/Image.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "printdevice/ECGDC.h"
#include "waveviews/PaperFont.h"
#include "waveviews/WaveItemRef.h"

namespace {

// Samples in `squares` millimetres of paper at 25 mm/s.
int SamplesOfSquares(int rate, int squares)
{
    return static_cast<int>(rate * squares * 0.04);
}

}  // namespace

CFont* CViewAverageWave::TextFont() const
{
    CTavrionDoc* doc = GetTavrionDoc();
    return doc ? doc->GetDocFont(1) : nullptr;
}

bool CViewAverageWave::ShowsST() const
{
    CTavrionDoc* doc = GetTavrionDoc();
    return doc && doc->IsShowST();
}

// ---- painting -----------------------------------------------------------------------------

void CViewAverageWave::OnDraw(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    CDC* image = PaintImage(client.Width(), client.Height());
    if (!image) return;
    CDC& memory = *image;
    CDCStateSaver memoryState(memory);
    CWaveView::OnDraw(&memory);
    // A paint before the first update loads the beats itself. Asking for an
    // update here would invalidate the view again, so that a record without
    // average beats (a rhythm record, a record that stores none) would be
    // painted without end.
    if (m_leadData[0].empty()) {
        SetMagnifierDrawing();
        const bool loaded = m_nDocType == DOC_TYPE_MFER ? LoadMfer() : m_nDocType == DOC_TYPE_REST ? LoadRest() : false;
        if (loaded) FormatSTTexts();
    }
    BOOL drawn = FALSE;
    {
        CDCStateSaver saver(memory);
        CDCObjectSelector<CFont> font(memory, TextFont());
        memory.SetBkMode(TRANSPARENT);
        memory.SetTextAlign(TA_TOP | TA_LEFT);
        memory.SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
        m_dAmplitudeUnit = AmplitudeUnit();
        drawn = DrawView(&memory, client, m_nGridColumns, m_nGridRows, FALSE);
    }
    // A picture that could not be drawn leaves the screen as it was.
    if (!drawn) return;
    DrawAnnotation(&memory, client, FALSE, 1.0f);
    pDC->BitBlt(0, 0, client.Width(), client.Height(), &memory, 0, 0, SRCCOPY);
}

BOOL CViewAverageWave::DrawView(CDC* pDC, CRect rect, int gridColumns, int gridRows, BOOL print)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!pDC || !doc || gridColumns <= kCalibrationSquares || gridRows <= 0) return FALSE;
    CDCStateSaver saver(*pDC);
    pDC->SetTextColor(print ? RGB(0, 0, 0) : doc->GetWaveColor(3));
    const int calibration = ::MulDiv(rect.Width(), kCalibrationSquares, gridColumns);
    DrawAveCAL(pDC, CRect(rect.left, rect.top, rect.left + calibration, rect.bottom), gridColumns, gridRows, print);
    return DrawAveWave(pDC, CRect(rect.left + calibration, rect.top, rect.right, rect.bottom), gridColumns, gridRows,
                       print);
}

// Pulses that would not fit collapse to one: six at more than 10 mm/mV,
// three or more at more than 20, any number at 40.
BOOL CViewAverageWave::DrawAveCAL(CDC* pDC, CRect rect, int, int gridRows, BOOL print)
{
    int count = m_nCALCount;
    if (count <= 0 || gridRows <= 0) return FALSE;
    const float limb = LeadSense(0);
    const float chest = LeadSense(6);
    int heights[2] = {static_cast<int>(limb * rect.Height() / gridRows),
                      static_cast<int>(chest * rect.Height() / gridRows)};
    if (count == 6 && (limb > 10.0f || chest > 10.0f))
        count = 1;
    else if (count >= 3 && (limb > 20.0f || chest > 20.0f))
        count = 1;
    else if (limb == 40.0f || chest == 40.0f)
        count = 1;
    const int x = rect.left + ::MulDiv(rect.Width(), 2, 10);
    const int width = ::MulDiv(rect.Width(), 6, 10);
    const int row = rect.Height() / count;
    for (int k = 0; k < count; ++k) DrawCAL(pDC, x, rect.top + row / 2 + k * row, width, heights, TRUE, print);
    return TRUE;
}

int CViewAverageWave::CellLeft(const CRect& area, int column) const
{
    const float width = static_cast<float>(area.Width()) / m_nColumns;
    return static_cast<int>(column * width + area.left);
}

int CViewAverageWave::RowBaseline(const CRect& area, int row) const
{
    return area.top + area.Height() / (2 * m_nRows) + row * area.Height() / m_nRows;
}

int CViewAverageWave::LeadGain(int lead, int height, int gridRows) const
{
    return gridRows > 0 ? static_cast<int>(LeadSense(lead) * height / gridRows) : 0;
}

CViewAverageWave::CCellWindow CViewAverageWave::ColumnWindow(int column, int gridColumns) const
{
    CCellWindow window{m_nWindowStart, m_nWindowSpan};
    const int square = SamplesOfSquares(m_nSampleRate, 1);
    const int perColumn = SamplesOfSquares(m_nSampleRate, (gridColumns - kCalibrationSquares) / m_nColumns);
    if (column > 0 && window.nSpan + square > perColumn) {
        window.nStart += square;
        window.nSpan -= square;
    }
    window.nSpan = std::max(0, window.nSpan);
    return window;
}

CRect CViewAverageWave::TraceRect(const CRect& area, int cellLeft, int baseline, int gain, const CCellWindow& window,
                                  int gridColumns) const
{
    const int across = SamplesOfSquares(m_nSampleRate, gridColumns);
    const int shown = SamplesOfSquares(m_nSampleRate, gridColumns - kCalibrationSquares);
    if (across <= 0 || shown <= 0) return CRect(cellLeft, baseline, cellLeft, baseline + gain);
    const int left = cellLeft + ::MulDiv(area.Width(), window.nStart, across);
    return CRect(left, baseline, left + ::MulDiv(area.Width(), window.nSpan, shown), baseline + gain);
}

BOOL CViewAverageWave::DrawAveWave(CDC* pDC, CRect rect, int gridColumns, int gridRows, BOOL print)
{
    if (!CWaveItemRef::Of(m_pDocument, m_nDocType)) return FALSE;
    if (m_nColumns <= 0 || m_nRows <= 0) return FALSE;
    BOOL ok = TRUE;
    for (int lead = 0; lead < AVERAGE_VIEW_LEADS && lead < m_nColumns * m_nRows && ok; ++lead)
        DrawLeadCell(pDC, rect, lead, gridColumns, gridRows, print, ok);
    if (ok && print && ShowsST()) {
        CDCStateSaver saver(*pDC);
        pDC->SetTextAlign(TA_TOP | TA_RIGHT);
        pDC->TextOut(rect.right, rect.top, CString(L"Average ST[mm]"));
    }
    return ok;
}

void CViewAverageWave::DrawLeadCell(CDC* pDC, const CRect& area, int lead, int gridColumns, int gridRows, BOOL print,
                                    BOOL& ok)
{
    const int column = lead / m_nRows;
    const int cellLeft = CellLeft(area, column);
    const int baseline = RowBaseline(area, lead % m_nRows);
    const int gain = LeadGain(lead, area.Height(), gridRows);
    const auto across = [&](int squares) { return ::MulDiv(area.Width(), squares, gridColumns); };
    const auto down = [&](int squares) { return ::MulDiv(area.Height(), squares, gridRows); };
    {
        CDCStateSaver saver(*pDC);
        pDC->SetTextAlign(TA_BOTTOM | TA_LEFT);
        pDC->TextOut(cellLeft + across(5), baseline - down(2), CWaveItemRef::Of(m_pDocument, m_nDocType).GetLeadName(lead));
    }

    const CCellWindow window = ColumnWindow(column, gridColumns);
    // The record's window may reach past the samples held: only those are drawn.
    const std::vector<short>& samples = m_leadData[lead];
    CCellWindow held;
    held.nStart = std::clamp(window.nStart, 0, static_cast<int>(samples.size()));
    held.nSpan = std::clamp(window.nStart + window.nSpan, held.nStart, static_cast<int>(samples.size())) - held.nStart;
    if (held.nSpan > 0) {
        const CRect trace = TraceRect(area, cellLeft, baseline, gain, held, gridColumns);
        ok = DrawWave(pDC, trace, m_dAmplitudeUnit * 0.001, const_cast<short*>(samples.data()) + held.nStart,
                      held.nSpan, print, -1);
        if (!ok) return;
    }

    const CRect shown = TraceRect(area, cellLeft, baseline, gain, window, gridColumns);
    if (ShowsST() && !IsMissingST(m_strST[lead]) && shown.Width() > 1) {
        CDCStateSaver saver(*pDC);
        pDC->SetTextAlign(TA_BOTTOM | TA_LEFT);
        pDC->TextOut(cellLeft + across(14), baseline + down(7), m_strST[lead]);
    }
}

// ---- paper ----------------------------------------------------------------------------------

BOOL CViewAverageWave::Print(CECGDC* pDC, CRect rect, int gridColumns, int gridRows, double pxPerMm, int, int)
{
    CDC* dc = pDC ? pDC->GetDC() : nullptr;
    if (!dc) return FALSE;
    rect = CRect(rect.left, rect.top, rect.left + static_cast<int>(gridColumns * pxPerMm),
                 rect.top + static_cast<int>(gridRows * pxPerMm));
    m_dAmplitudeUnit = AmplitudeUnit();
    // The texts are drawn in the font the caller selected, unless it is of screen size.
    const CPaperFont font(*dc, pxPerMm);
    return DrawView(dc, rect, gridColumns, gridRows, TRUE);
}
