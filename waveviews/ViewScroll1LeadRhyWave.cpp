#include "waveviews/ViewScroll1LeadRhyWave.h"

#include <algorithm>
#include <cmath>

#include "core/EnlargedPreviewWindow.h"
#include "core/Globals.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/gdi/Image.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Resources.h"
#include "printdevice/ECGDC.h"

IMPLEMENT_DYNCREATE(CViewScroll1LeadRhyWave, CViewSerialComRhy)

// The mouse leaving the strip is the comparison view's leave: its magnifier drops its pictures.
BEGIN_MESSAGE_MAP(CViewScroll1LeadRhyWave, CViewSerialComRhy)
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
END_MESSAGE_MAP()

namespace {

const int kOneLeadStyle = 13;
const double kPageMillimetres = 120.0;   // the comparison view's page

}  // namespace

CViewScroll1LeadRhyWave::CViewScroll1LeadRhyWave()
{
    // The strip always shows the one lead of its record.
    m_nWaveStyle = kOneLeadStyle;
    m_nRows[0] = m_nRows[1] = m_nColumns[0] = m_nColumns[1] = 1;
    InitBackground(135, 30);
    CWaveViewMagnifier::Drawing drawing;
    drawing.drawView = [this](CDC* pDC, const CRect& draw, float ratio) { return DrawMagnified(pDC, draw, ratio); };
    m_magnifier.SetDrawing(std::move(drawing));
}

CViewScroll1LeadRhyWave::~CViewScroll1LeadRhyWave() = default;

CStripGeometry CViewScroll1LeadRhyWave::Geometry(int stripWidth, BOOL print) const
{
    return MakeStripGeometry(LeadCount(0), m_nSampleRate, m_nGridColumns, Get1LeadRhyWaveSpeed(print), stripWidth,
                             GetStartTime(), m_nWindowLength, false);
}

// ---- the window ------------------------------------------------------------------------------------------

void CViewScroll1LeadRhyWave::UpdateRhythmSense()
{
    CTavrionDoc* doc = RecordDoc();
    const int id = m_pRestItem ? m_pRestItem->nID : m_pMferItem ? m_pMferItem->nID : -1;
    if (doc && id >= 0 && doc->GetCurDataIndex() == id) doc->SetRhythmSense(Get1LeadRhythmSense());
}

void CViewScroll1LeadRhyWave::SetScrollRhyWidth(_RHYTHM_WAVE_STYLE /*style*/, BOOL notify)
{
    const int n = LeadCount(0);
    if (!m_bScroll) {
        CWaveView::SetStartTime(0);
        m_nWindowLength = n;
        return;
    }
    const int kept = m_nWindowLength;
    CTavrionDoc* doc = RecordDoc();
    const float speed = doc ? doc->GetSpeed() : 0.0f;
    // A document without a speed keeps the window it had.
    if (doc && speed > 0.0f) m_nWindowLength = static_cast<int>(m_nSampleRate * kPageMillimetres / speed);
    UpdateRhythmSense();
    if (n < 1) m_nWindowLength = 0;
    const int before = GetStartTime();
    int start = std::max(0, before);
    if (start + m_nWindowLength > n) {
        if (m_nWindowLength < n) {
            start = n - m_nWindowLength;
        } else {
            m_nWindowLength = n;
            start = 0;
        }
    } else if (m_nWindowLength >= n) {
        m_nWindowLength = n;
        start = 0;
    }
    if (start == before) return;
    CWaveView::SetStartTime(start);
    if (notify && GetSafeHwnd() && GetParent())
        GetParent()->SendMessage(WM_STRIP_DRAGGED, static_cast<WPARAM>(start), m_nViewIndex);
    else if (!notify)
        m_nWindowLength = kept;
}

void CViewScroll1LeadRhyWave::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    CViewSerialComRhy::OnUpdate(pSender, lHint, pHint);
    m_magnifier.DropCache();
    SetScrollRhyWidth(0, TRUE);
}

// ---- painting ---------------------------------------------------------------------------------------------

void CViewScroll1LeadRhyWave::OnDraw(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    const int w = client.Width();
    const int h = client.Height();
    if (w <= 0 || h <= 0) return;
    CDC* picture = PaintImage(w + 1, h + 1);
    if (!picture) return;
    CDC& image = *picture;
    {
        CDCStateSaver saver(image);
        CDCObjectSelector<CFont> font(image, m_pBaseDoc ? m_pBaseDoc->GetDocFont(1) : nullptr);
        image.SetBkMode(TRANSPARENT);
        image.SetTextAlign(TA_LEFT | TA_TOP);
        CWaveView::OnDraw(&image);
        if (m_pBaseDoc) {
            const int margin = Margin(w);
            CRect pulse(client.left, client.top, client.left + margin, client.bottom);
            m_nScreenBaseline[0] = h / 2;
            UpdateRhythmSense();
            if (LeadCount(0) <= kLongRecord) CalAutoSensPos(&pulse, m_nGridRows, FALSE);
            DrawSerialComRhyCAL(&image, pulse, m_nGridColumns, m_nGridRows, FALSE);
            const CStripGeometry g = Geometry(w - margin, FALSE);
            const bool window = m_nWindowLength > 0 && LeadCount(0) > 0;
            m_nWindowLeftX = window ? g.windowFrom + margin : margin;
            m_nWindowRightX = window ? m_nWindowLeftX + (g.windowTo - g.windowFrom) : client.right;
            m_dAmplitudeUnit = AmplitudeUnit();
            DrawScrollRhyView(&image, CRect(client.left + margin + 1, client.top, client.right, client.bottom), 0, 0);
            font.Restore();
            CDCStateSaver clip(image);
            image.IntersectClipRect(&client);
            DrawAnnotation(&image, client, FALSE, 1.0f);
        }
    }
    pDC->BitBlt(0, 0, w + 1, h + 1, &image, 0, 0, SRCCOPY);
}

BOOL CViewScroll1LeadRhyWave::DrawScrollRhyView(CDC* pDC, CRect rect, int print, int magnifier)
{
    if (LeadCount(0) <= 0) return FALSE;
    CTavrionDoc* doc = RecordDoc();
    if (magnifier && (!doc || !doc->GetEnlargedPreview() || !doc->GetEnlargedPreview()->GetEnlargedPreview()))
        return FALSE;
    const CStripGeometry g = Geometry(rect.Width() + 1, print);
    m_nRowCount = g.rows;
    const int h = rect.Height();
    const int oneMv = m_nGridRows > 0 ? static_cast<int>(h * Get1LeadRhythmSense() / m_nGridRows + 0.5) : 0;
    for (int r = 0; r < g.rows; ++r) {
        const int y = g.rows == 1 ? rect.top + m_nScreenBaseline[0] : rect.top + ((2 * r + 1) * h / g.rows) / 2;
        const CRect trace(rect.left, y, std::min<int>(rect.left + g.total - r * g.stripWidth, rect.right), y + oneMv);
        int a = 0;
        int b = 0;
        StripWindowSpan(g, r, a, b);
        const CRect band = StripRowBand(rect, g, r);
        const int bounds[4] = {0, a, b, g.stripWidth};
        for (int k = 0; k < 3; ++k)
            if (!DrawRowPart(pDC, rect, band, trace, r, bounds[k], bounds[k + 1], k == 1, g, print)) return FALSE;
    }
    return TRUE;
}

BOOL CViewScroll1LeadRhyWave::DrawRowPart(CDC* pDC, const CRect& rect, const CRect& band, const CRect& trace, int row,
                                          int from, int to, bool inside, const CStripGeometry& g, int print)
{
    CDCStateSaver saver(*pDC);
    pDC->IntersectClipRect(band.left + from, band.top, band.left + to, band.bottom);
    const COLORREF paper = m_pBaseDoc->GetWaveColor(inside ? 2 : 18);
    const COLORREF grid = m_pBaseDoc->GetWaveColor(inside ? 1 : 17);
    DrawBackGrid(pDC, rect, m_nGridColumns - 10, m_nGridRows, paper, grid);
    {
        // Texts and traces over the full height between the part's limits.
        CDCStateSaver texts(*pDC);
        pDC->SelectClipRgn(nullptr);
        pDC->IntersectClipRect(band.left + from, rect.top, band.left + to, rect.bottom);
        if (row == 0) DrawWaveInfo(pDC, rect, inside ? FALSE : TRUE, print);
    }
    const int n = LeadCount(0);
    const int first = row * g.samplesPerRow;
    if (g.samplesPerRow > 0 && first < n) {
        const int count = std::min(g.samplesPerRow, n - first);
        if (!DrawWave(pDC, trace, m_dAmplitudeUnit * 0.001, m_leadData[0].samples.get() + first, count, print,
                      inside ? -1 : 16))
            return FALSE;
    }
    if (g_bDisplayVersion && !print) {
        pDC->SetTextAlign(TA_LEFT | TA_BOTTOM);
        pDC->SetTextColor(m_pBaseDoc->GetWaveColor(inside ? 3 : 19));
        pDC->TextOut(rect.left, rect.bottom, GetVersionText());
    }
    return TRUE;
}

BOOL CViewScroll1LeadRhyWave::DrawWaveInfo(CDC* pDC, CRect rect, BOOL subdued, int print)
{
    const int length = m_nGridColumns - 10;
    if (!m_pBaseDoc || length <= 0 || m_nGridRows <= 0) return FALSE;
    CDCStateSaver saver(*pDC);
    pDC->SetTextColor(m_pBaseDoc->GetWaveColor(subdued ? 19 : 3));
    const int w = rect.Width() + 1;
    const int y = rect.top + MulDiv(rect.Height(), 5, m_nGridRows);
    pDC->SetTextAlign(TA_LEFT | TA_BOTTOM);
    // A lead the record does not have goes by the name of its first lead.
    const int leads = m_pRestItem ? m_pRestItem->nLeadCount
                      : m_pMferItem && m_pMferItem->pMFERParser ? m_pMferItem->pMFERParser->GetLeadCount()
                                                                : 0;
    pDC->TextOut(rect.left + MulDiv(w, 5, length), y, LeadName(m_nRhythm1LeadID < leads ? m_nRhythm1LeadID : 0));
    const int n = LeadCount(0);
    if (n <= 0) return TRUE;
    const float speed = Get1LeadRhyWaveSpeed(print);
    const int seconds = m_nSampleRate > 0 ? n / m_nSampleRate : 0;
    CString speedText;
    int gap;
    // A record under a second has no whole-number fitting speed.
    if (seconds > 0 && speed == static_cast<float>(length / seconds)) {
        speedText.Format(L"%d mm/s", static_cast<int>(speed));
        gap = MulDiv(w, 22, length);
    } else {
        speedText.Format(L"%5.2f mm/s", speed);
        gap = MulDiv(w, 27, length);
    }
    const float sense = Get1LeadRhythmSense();
    CString senseText;
    if (sense == std::floor(sense))
        senseText.Format(L"%d mm/mV", static_cast<int>(sense));
    else
        senseText.Format(L"%3.2f mm/mV", sense);
    const int x = rect.right - MulDiv(w, 5, length);
    pDC->SetTextAlign(TA_RIGHT | TA_BOTTOM);
    pDC->TextOut(x, y, speedText);
    pDC->TextOut(x - gap, y, senseText);
    return TRUE;
}

// ---- the mouse ---------------------------------------------------------------------------------------------

bool CViewScroll1LeadRhyWave::AnnotationTakesMouse() const
{
    return m_pBaseDoc && !m_pBaseDoc->GetAnnotationLock() &&
           (m_pBaseDoc->GetMouseMode() == 2 || m_pBaseDoc->GetMouseMode() == 3);
}

void CViewScroll1LeadRhyWave::OnLButtonDown(UINT nFlags, CPoint point)
{
    SetFocus();
    if (AnnotationTakesMouse()) {
        CWaveView::OnLButtonDown(nFlags, point);
        return;
    }
    CRect client;
    GetClientRect(&client);
    const int margin = Margin(client.Width());
    const int row = StripRowAtOrAbove(point.y, client.Height(), m_nRowCount);
    const int p = (client.Width() - margin) * row + point.x;
    if (m_nWindowLeftX < p && p < m_nWindowRightX) {
        CRect confine;
        GetWindowRect(&confine);
        confine.DeflateRect(3, 3);
        ::ClipCursor(&confine);
        m_bDragging = TRUE;
    }
    if (point.x >= client.left && point.x < client.left + margin && GetParent() &&
        (m_nDocType == DOC_TYPE_REST || m_nDocType == DOC_TYPE_MFER))
        GetParent()->SendMessage(WM_CAL_PULSE_CLICKED, m_nDocType == DOC_TYPE_MFER ? 7 : 1, 2);
    CWaveView::OnLButtonDown(nFlags, point);
}

void CViewScroll1LeadRhyWave::OnMouseMove(UINT nFlags, CPoint point)
{
    if (AnnotationTakesMouse()) {
        m_magnifier.Show(point);
        CWaveView::OnMouseMove(nFlags, point);
        ::SetCursor(GetCurrentCursor());
        return;
    }
    if (!m_bDragging) m_magnifier.Show(point);
    CRect client;
    GetClientRect(&client);
    const int margin = Margin(client.Width());
    const int s = client.Width() - margin;
    if (point.x < margin) point.x = margin;
    const CStripGeometry g = Geometry(s, FALSE);
    m_nLastStripX = TrackStripMouse(*this, g, point, margin, client.Height(), m_nRowCount, LeadCount(0),
                                    m_nWindowLength, m_nLastStripX, m_bDragging,
                                    StripRowAtOrAbove(point.y, client.Height(), m_nRowCount));
    ::SetCursor(GetCurrentCursor());
    CWaveView::OnMouseMove(nFlags, point);
}

void CViewScroll1LeadRhyWave::OnLButtonUp(UINT nFlags, CPoint point)
{
    const int mode = m_pBaseDoc ? m_pBaseDoc->GetMouseMode() : 0;
    if (m_pBaseDoc && !m_pBaseDoc->GetAnnotationLock() &&
        (mode == 2 || (mode == 3 && GetNotationManager().IsDragging()))) {
        CWaveView::OnLButtonUp(nFlags, point);
        return;
    }
    if (m_bDragging) {
        CRect client;
        GetClientRect(&client);
        EndStripDrag(*this, point, Margin(client.Width()), LeadCount(0), m_nWindowLength);
        m_bDragging = FALSE;
        // The pane hears of every drag, one that ends where it began too.
        if (GetParent()) GetParent()->SendMessage(WM_STRIP_DRAGGED, static_cast<WPARAM>(GetStartTime()), m_nViewIndex);
        if (mode == 2 || mode == 3) Invalidate(FALSE);
        m_magnifier.DropCache();
        m_magnifier.Show(point);
    }
    ::SetCursor(GetCurrentCursor());
    CWaveView::OnLButtonUp(nFlags, point);
}

BOOL CViewScroll1LeadRhyWave::DrawMagnified(CDC* pDC, const CRect& draw, float ratio)
{
    // The strip's texts in its display font, as large as the picture is.
    CFont scaled;
    CDCObjectSelector<CFont> font(*pDC);
    if (CFont* display = m_pBaseDoc ? m_pBaseDoc->GetDocFont(1) : nullptr) {
        LOGFONT lf{};
        display->GetLogFont(&lf);
        lf.lfHeight = static_cast<LONG>(lf.lfHeight * ratio);
        lf.lfWidth = static_cast<LONG>(lf.lfWidth * ratio);
        if (scaled.CreateFontIndirect(&lf)) font.Select(&scaled);
    }
    const int margin = Margin(draw.Width());
    CRect pulse(draw.left, draw.top, draw.left + margin, draw.bottom);
    // The picture's own baseline: the middle, unless auto gain places the
    // trace in the magnified margin. The screen's baseline comes back after.
    const int kept = m_nScreenBaseline[0];
    m_nScreenBaseline[0] = draw.Height() / 2;
    UpdateRhythmSense();
    CalAutoSensPos(&pulse, m_nGridRows, FALSE);
    DrawSerialComRhyCAL(pDC, pulse, m_nGridColumns, m_nGridRows, FALSE);
    const BOOL drawn = DrawScrollRhyView(pDC, CRect(draw.left + margin + 1, draw.top, draw.right, draw.bottom), 0, 1);
    m_nScreenBaseline[0] = kept;
    return drawn;
}

// ---- printing ----------------------------------------------------------------------------------------------

BOOL CViewScroll1LeadRhyWave::Print(CECGDC* pDC, CRect rect, int gridX, int gridY, double scale, int /*unused*/,
                                    int printTraces)
{
    if (!pDC || !pDC->GetDC() || !m_pBaseDoc) return FALSE;
    CDCStateSaver saver(*pDC->GetDC());
    pDC->SetTextColor(RGB(0, 0, 0));
    const double width = gridX * scale;
    const double height = gridY * scale;
    SetPrintScale(scale);
    const int saved = GetStartTime();
    CWaveView::SetStartTime(0);
    m_nPrintBaseline[0] = static_cast<int>(height) / 2;
    CRect area(rect.left, rect.top, rect.left + static_cast<int>(width), rect.top + static_cast<int>(height));
    if (m_nDocType == DOC_TYPE_REST && LeadCount(0) <= kLongRecord) CalAutoSensPos(&rect, gridY, TRUE);
    m_dAmplitudeUnit = AmplitudeUnit();
    const BOOL drawn = DrawSerialComRhyView(pDC->GetDC(), area, gridX, gridY, TRUE, printTraces);
    CWaveView::SetStartTime(saved);
    return drawn;
}
