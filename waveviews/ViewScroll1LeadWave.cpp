#include "waveviews/ViewScroll1LeadWave.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <numeric>
#include <vector>

#include "core/EnlargedPreviewWindow.h"
#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "documents/MFERDataItem.h"
#include "documents/RhythmDataItem.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/gdi/Image.h"
#include "waveviews/RhythmWaveStyle.h"
#include "waveviews/ViewEnlargedPreview.h"

IMPLEMENT_DYNCREATE(CViewScroll1LeadWave, CViewRhythmWave)

BEGIN_MESSAGE_MAP(CViewScroll1LeadWave, CViewRhythmWave)
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

namespace {

// Colour slots of the parts inside and outside the window.
const int kPaperInside = 2, kGridInside = 1, kTextInside = 3;
const int kPaperOutside = 18, kGridOutside = 17, kTextOutside = 19;
const int kTraceOutsideIndex = 16;   // DrawWave's dimmed trace
const int kTraceInsideIndex = -1;    // slot 0

// Millimetres of paper a page shows, by the page's wave style; 0 for the
// styles that decide by the record (3, 4, 8), -1 for styles without a window.
double PageMillimetres(_RHYTHM_WAVE_STYLE style)
{
    switch (style) {
    case 1: case 5: case 9: case 11: case 12: case 22: case 24: case 26: return 250.0;
    case 2: case 6: case 7: case 10: case 23: case 25: case 27: case 28: return 125.0;
    case 3: case 4: case 8: return 0.0;
    case 16: return 1500.0;
    case 17: return 500.0;
    default: return -1.0;
    }
}

// The strokes of an event mark as CWaveView::DrawEvent draws them with
// MoveTo and LineTo (the tick, the rising steps with the flat top, the
// falling steps), for one PolyPolyline: a line's pixels are the same either
// way, and a long record's thousands of marks cost their strokes rather than
// a round trip to the DC for every one-pixel step.
void AppendMarkStrokes(std::vector<POINT>& points, std::vector<DWORD>& counts, int x0, int y, int height,
                       bool overdraw)
{
    size_t from = points.size();
    // The rising steps from the mark's lower left up to the height of (x0, y),
    // and the falling steps from (x0 + 1, y) down to its lower right.
    auto rise = [&]() {
        int px = x0 - height - 1;
        int py = y + height;
        points.push_back(POINT{px, py});
        for (int k = 0; k < height; ++k) {
            points.push_back(POINT{px + 1, py});
            ++px;
            points.push_back(POINT{px, py - 1});
            --py;
        }
    };
    auto fall = [&]() {
        int px = x0 + 1;
        int py = y;
        points.push_back(POINT{px, py});
        for (int k = 0; k < height; ++k) {
            points.push_back(POINT{px, py + 1});
            ++py;
            points.push_back(POINT{px + 1, py});
            ++px;
        }
    };
    if (overdraw && height > 0) {
        // Where drawing a pixel twice leaves it as drawn once, one stroke
        // takes the same pixels: up the rising steps, along the top to the
        // tick, down and up the tick, one diagonal step to (x0 + 1, y),
        // which draws only its start, then down the falling steps.
        rise();
        points.push_back(POINT{x0, y});
        points.push_back(POINT{x0, y - 1});
        points.push_back(POINT{x0, y + 1});
        fall();
        counts.push_back(static_cast<DWORD>(points.size() - from));
        return;
    }
    auto stroke = [&]() {
        const size_t count = points.size() - from;
        if (count >= 2)
            counts.push_back(static_cast<DWORD>(count));
        else
            points.resize(from);   // a lone point draws nothing
        from = points.size();
    };
    points.push_back(POINT{x0, y - 1});
    points.push_back(POINT{x0, y + 2});
    stroke();
    rise();
    points.push_back(POINT{x0 + 2, y});
    stroke();
    fall();
    stroke();
}

// The pixels a mark of `height` at (0, 0) can reach: the box of its strokes'
// end points.
CRect MarkBox(int height)
{
    const int step = std::max(height, 0);
    const int left = std::min({0, -height - 1, 2, 1 + step});
    const int right = std::max({0, -height - 1, 2, 1 + step});
    const int top = std::min({-1, 2, height, 0});
    const int bottom = std::max({-1, 2, height, 0});
    return CRect(left, top, right + 1, bottom + 1);
}

long long AreaOf(const CRect& r)
{
    return r.IsRectEmpty() ? 0 : static_cast<long long>(r.Width()) * r.Height();
}

}  // namespace

CViewScroll1LeadWave::CViewScroll1LeadWave()
{
    CWaveViewMagnifier::Drawing drawing;
    drawing.drawView = [this](CDC* pDC, const CRect& draw, float ratio) { return DrawMagnified(pDC, draw, ratio); };
    // The labels in the font the strip paints them in, made as large as the picture.
    drawing.font = [this]() -> CFont* {
        CTavrionDoc* doc = GetTavrionDoc();
        return doc ? doc->GetDocFont(1) : nullptr;
    };
    m_magnifier.SetDrawing(std::move(drawing));
}

CViewScroll1LeadWave::~CViewScroll1LeadWave() = default;

void CViewScroll1LeadWave::SetDurationMarkInfo(int mode, int mark, double value, int flag)
{
    SetDurationMode(mode);
    SetSpanIndex(mark);
    SetSpanSeconds(value);
    SetStartFlag(flag);
}

// ---- geometry ---------------------------------------------------------------------------

int CViewScroll1LeadWave::Margin(int width) const
{
    return m_nGridColumns > 0 ? MulDiv(width, 10, m_nGridColumns) : 0;
}

CStripGeometry CViewScroll1LeadWave::Geometry(int stripWidth, float speed, int gridX) const
{
    return MakeStripGeometry(LeadCount(0), m_nSampleRate, gridX, speed, stripWidth, GetStartTime(), m_nWindowLength,
                             IsWholeRecordStripStyle(m_nWaveStyle));
}

// ---- recomputation ----------------------------------------------------------------------

bool CViewScroll1LeadWave::WindowLengthOf(_RHYTHM_WAVE_STYLE style, int& length) const
{
    CTavrionDoc* doc = GetTavrionDoc();
    double mm = PageMillimetres(style);
    if (!doc || mm < 0.0) return false;
    // The half-width page of the row styles draws its rows 125 mm wide, not
    // 250: the strip's window is the page the view shows, or a page turned
    // past the strip's window comes back to the start.
    if (m_bHalfStyle && (style == 16 || style == 17)) mm /= 2.0;
    // A document without a speed has no page width in samples.
    const float speed = doc->GetSpeed();
    if (speed <= 0.0f) return false;
    if (mm == 0.0) {
        const CWaveItemRef item = CurrentItem();
        const int kind = m_nDocType;
        if (!item || (kind != DOC_TYPE_REST && kind != DOC_TYPE_RHYTHM && kind != DOC_TYPE_MFER)) return true;
        const bool fifteen = item.IsFifteenLead();
        if (fifteen && style == 4 && m_bShowChestLead)
            mm = 41.666666666666664;
        else if (fifteen && style != 4 && style != 8)
            mm = 50.0;
        else
            mm = 62.5;
    }
    length = static_cast<int>(m_nSampleRate * mm / speed);
    return true;
}

float CViewScroll1LeadWave::StripSense() const
{
    CTavrionDoc* doc = GetTavrionDoc();
    const int n = LeadCount(0);
    const int t = SenseThreshold();
    if (n > 3 * t) return 1.25f;
    if (n > 2 * t) return 2.5f;
    if (n > t) return 5.0f;
    const int kind = m_nDocType;
    const bool stored =
        kind == DOC_TYPE_REST || kind == DOC_TYPE_RHYTHM || kind == DOC_TYPE_MFER || kind == DOC_TYPE_EXTRA;
    // The documents keep the rhythm strip's own setting as sense kind 9.
    const float own = stored && doc ? doc->GetSense(9, 0) : 0.0f;
    return own > 0.0f ? own : 10.0f;
}

void CViewScroll1LeadWave::ApplyStripSense()
{
    if (CTavrionDoc* doc = GetTavrionDoc()) doc->SetRhythmSense(StripSense());
}

bool CViewScroll1LeadWave::ClampPageStart()
{
    const int n = LeadCount(0);
    const int before = GetStartTime();
    int start = std::max(0, before);
    if (m_nWindowLength >= n) {
        m_nWindowLength = n;
        start = 0;
    } else if (start + m_nWindowLength > n) {
        start = n - m_nWindowLength;
    }
    CWaveView::SetStartTime(start);
    return start != before;
}

void CViewScroll1LeadWave::NotifyPageStart()
{
    if (CWnd* parent = GetSafeHwnd() ? GetParent() : nullptr)
        parent->SendMessage(WM_STRIP_DRAGGED, static_cast<WPARAM>(GetStartTime()), 0);
}

void CViewScroll1LeadWave::SetScrollWidth(_RHYTHM_WAVE_STYLE style, BOOL notify)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc) return;
    if (!m_bScroll) {
        CWaveView::SetStartTime(0);
        m_nWindowLength = LeadCount(0);
        return;
    }
    const int kept = m_nWindowLength;
    int length = m_nWindowLength;
    if (!WindowLengthOf(style != 0 ? style : doc->GetRhythmWaveStyle(), length)) return;
    m_nWindowLength = length;
    ApplyStripSense();
    if (LeadCount(0) <= 0) m_nWindowLength = 0;
    const bool moved = ClampPageStart();
    if (!notify) {
        m_nWindowLength = kept;
        return;
    }
    if (moved) NotifyPageStart();
}

void CViewScroll1LeadWave::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    CViewRhythmWave::OnUpdate(pSender, lHint, pHint);
    if (!m_bPainting) m_bLoadTried = FALSE;
    m_magnifier.DropCache();
    DropKeptRows();
    SetScrollWidth(0, TRUE);
}

// ---- painting -----------------------------------------------------------------------------

void CViewScroll1LeadWave::PlaceOneRow(CRect pulseRect, int gridY, int print)
{
    // The default sensitivity may be placed by auto gain; the length-based
    // ones keep the row's middle.
    if (!IsLongRecord()) CalAutoSensPos(pulseRect, gridY, print);
}

void CViewScroll1LeadWave::OnDraw(CDC* pDC)
{
    CTavrionDoc* doc = GetTavrionDoc();
    CRect client;
    GetClientRect(&client);
    const int w = client.Width();
    const int h = client.Height();
    if (!doc || w <= 0 || h <= 0) return;
    CDC* picture = PaintImage(w + 1, h + 1);
    if (!picture) return;
    CDC& image = *picture;
    {
        CDCStateSaver saver(image);
        CDCObjectSelector<CFont> font(image, doc->GetDocFont(1));
        image.SetBkMode(TRANSPARENT);
        image.SetTextAlign(TA_LEFT | TA_TOP);
        CWaveView::OnDraw(&image);
        // A record without samples is asked for once a paint: the update
        // invalidates the view, and asking at every paint would never end.
        if (!HasLead(0) && !m_bLoadTried) {
            m_bLoadTried = TRUE;
            m_bPainting = TRUE;
            OnUpdate(nullptr, 0, nullptr);
            m_bPainting = FALSE;
        }
        const int margin = Margin(w);
        const CRect pulse(client.left, client.top, client.left + margin, client.top + h);
        SetScreenBaseline(0, h / 2);
        ApplyStripSense();
        PlaceOneRow(pulse, m_nGridRows, FALSE);
        if (!IsWholeRecordStripStyle(m_nWaveStyle)) DrawRestCAL(&image, pulse, m_nGridColumns, m_nGridRows, FALSE);

        const CStripGeometry g = Geometry(w - margin, Get1LeadWaveSpeed(FALSE), m_nGridColumns);
        const bool hasWindow = m_nWindowLength > 0 && LeadCount(0) > 0;
        m_nWindowLeftX = hasWindow ? margin + g.windowFrom : margin;
        m_nWindowRightX = hasWindow ? m_nWindowLeftX + (g.windowTo - g.windowFrom) : client.right;
        m_dAmplitudeUnit = RecordAmplitudeUnit();
        const BOOL drawn =
            DrawScreenStrip(&image, client, CRect(client.left + margin + 1, client.top, client.right, client.bottom));
        font.Restore();
        if (drawn) {
            CDCStateSaver clip(image);
            image.IntersectClipRect(&client);
            DrawAnnotation(&image, client, FALSE, 1.0f);
        }
    }
    pDC->BitBlt(0, 0, w + 1, h + 1, &image, 0, 0, SRCCOPY);
}

bool CViewScroll1LeadWave::LabelsAllowed(int gridX) const
{
    const int n = LeadCount(0);
    if (n <= 0 || m_nSampleRate <= 0 || gridX <= 10) return false;
    const double fitting = (gridX - 10) / (static_cast<double>(n) / m_nSampleRate);
    return fitting < 25.0 && !m_bSnapSpeed && !IsWholeRecordStripStyle(m_nWaveStyle);
}

BOOL CViewScroll1LeadWave::DrawScorllView(CDC* pDC, CRect strip, BOOL print, BOOL preview)
{
    if (!HasLead(0)) return FALSE;
    CTavrionDoc* doc = GetTavrionDoc();
    // The magnified strip needs the magnifier it is drawn for.
    if (preview && (!doc->GetEnlargedPreview() || !doc->GetEnlargedPreview()->GetEnlargedPreview())) return FALSE;
    const CStripGeometry g = Geometry(strip.Width() + 1, Get1LeadWaveSpeed(print), m_nGridColumns);
    m_nRowCount = g.rows;
    if (!DrawRows(pDC, strip, g, print, kAsWindow)) return FALSE;
    DrawEvents(pDC, strip, kAsWindow);
    return TRUE;
}

void CViewScroll1LeadWave::DrawEvents(CDC* pDC, const CRect& strip, Coverage coverage)
{
    CDCStateSaver saver(*pDC);
    pDC->IntersectClipRect(&strip);
    if (m_nDocType == DOC_TYPE_RHYTHM) DrawEventMarks(pDC, strip, FALSE, coverage);
}

BOOL CViewScroll1LeadWave::DrawRows(CDC* pDC, const CRect& strip, const CStripGeometry& g, BOOL print,
                                    Coverage coverage)
{
    const bool labels = LabelsAllowed(m_nGridColumns);
    for (int r = 0; r < g.rows; ++r)
        if (!DrawRow(pDC, strip, g, r, labels, print, coverage)) return FALSE;
    return TRUE;
}

CRect CViewScroll1LeadWave::RowTrace(const CRect& strip, const CStripGeometry& g, int row) const
{
    CTavrionDoc* doc = GetTavrionDoc();
    const int h = strip.Height();
    const int y = g.rows == 1 ? strip.top + GetScreenBaseline(0) : strip.top + ((2 * row + 1) * h / g.rows) / 2;
    const int oneMv = m_nGridRows > 0 ? static_cast<int>(h * doc->GetSense(2, 0) / m_nGridRows + 0.5) : 0;
    return CRect(strip.left, y, std::min<int>(strip.left + g.total - row * g.stripWidth, strip.right), y + oneMv);
}

BOOL CViewScroll1LeadWave::DrawRow(CDC* pDC, const CRect& strip, const CStripGeometry& g, int row, bool labels,
                                   BOOL print, Coverage coverage)
{
    const int s = g.stripWidth;
    const CRect trace = RowTrace(strip, g, row);
    int e1 = coverage == kAllInside ? 0 : s;
    int e2 = s;
    if (coverage == kAsWindow) StripWindowSpan(g, row, e1, e2);
    const CRect band = StripRowBand(strip, g, row);
    // Each part draws only inside itself: one without pixels draws nothing.
    if (band.Height() <= 0) return TRUE;
    const int bounds[4] = {0, e1, e2, s};
    for (int k = 0; k < 3; ++k) {
        if (bounds[k + 1] <= bounds[k]) continue;
        const CRowPart part{band, trace, row, bounds[k], bounds[k + 1], k == 1};
        if (!DrawRowPart(pDC, strip, g, part, labels, print)) return FALSE;
    }
    return TRUE;
}

// ---- the screen's kept rows -------------------------------------------------------------------------

std::unique_ptr<CDC> CViewScroll1LeadWave::KeptPicture(CDC* pDC, const CRect& client, const CRect& strip,
                                                       const CStripGeometry& g, bool inside)
{
    auto picture = std::make_unique<CDC>();
    if (!picture->Attach(platform::gdi::CreateImageDC(client.Width() + 1, client.Height() + 1))) return nullptr;
    picture->BitBlt(0, 0, client.Width() + 1, client.Height() + 1, pDC, 0, 0, SRCCOPY);
    CDCStateSaver saver(*picture);
    CDCObjectSelector<CFont> font(*picture, GetTavrionDoc()->GetDocFont(1));
    picture->SetBkMode(TRANSPARENT);
    if (!DrawUniformRows(picture.get(), strip, g, inside, 0, g.rows - 1)) return nullptr;
    // No marks on the window's picture: those over the window are drawn at
    // every composition.
    _RHYTHMDATAITEM* item = CurrentItem().Rhythm();
    if (!inside && m_nDocType == DOC_TYPE_RHYTHM && item && item->arrEvent.GetSize() > 0) {
        std::vector<int> events(static_cast<size_t>(item->arrEvent.GetSize()));
        std::iota(events.begin(), events.end(), 0);
        picture->IntersectClipRect(&strip);
        DrawMarkRuns(picture.get(), strip, Geometry(strip.Width(), Get1LeadWaveSpeed(FALSE), m_nGridColumns), events,
                     kAllOutside);
    }
    return picture;
}

BOOL CViewScroll1LeadWave::DrawUniformRows(CDC* pDC, const CRect& strip, const CStripGeometry& g, bool inside,
                                           int first, int last)
{
    // The rows' bands tile the strip and every row draws only inside its
    // own band, in the order grid, labels, trace, version. What is the same
    // in every band can therefore be drawn once over them all, and the rows
    // add their traces after it; the pixels are those of drawing row by row.
    const CRect area(strip.left, StripRowBand(strip, g, first).top, strip.left + g.stripWidth,
                     StripRowBand(strip, g, last).bottom);
    if (area.Height() <= 0) return TRUE;
    const bool labels = LabelsAllowed(m_nGridColumns);
    {
        CDCStateSaver saver(*pDC);
        pDC->IntersectClipRect(&area);
        DrawPartGrid(pDC, strip, inside, labels);
        if (IsWholeRecordStripStyle(m_nWaveStyle)) return TRUE;
        if (labels) DrawWaveInfo(pDC, strip, inside ? FALSE : TRUE, FALSE);
    }
    for (int r = first; r <= last; ++r) {
        const CRect band = StripRowBand(strip, g, r);
        if (band.Height() <= 0) continue;
        CDCStateSaver saver(*pDC);
        pDC->IntersectClipRect(band.left, band.top, band.left + g.stripWidth, band.bottom);
        if (!DrawPartTrace(pDC, RowTrace(strip, g, r), g, r, inside, FALSE)) return FALSE;
    }
    if (g_bDisplayVersion) {
        CDCStateSaver saver(*pDC);
        pDC->IntersectClipRect(&area);
        pDC->SetTextAlign(TA_LEFT | TA_BOTTOM);
        pDC->SetTextColor(GetTavrionDoc()->GetWaveColor(inside ? kTextInside : kTextOutside));
        pDC->TextOut(strip.left, strip.bottom, GetVersionText());
    }
    return TRUE;
}

BOOL CViewScroll1LeadWave::DrawScreenStrip(CDC* pDC, const CRect& client, const CRect& strip)
{
    if (!HasLead(0)) return FALSE;
    const CStripGeometry g = Geometry(strip.Width() + 1, Get1LeadWaveSpeed(FALSE), m_nGridColumns);
    m_nRowCount = g.rows;
    const CStripKey key{client.Width(), client.Height(), LeadCount(0), g.total, g.rows, GetTavrionDoc()->GetSense(2, 0),
                        GetScreenBaseline(0), m_nWaveStyle, m_dAmplitudeUnit};
    _RHYTHMDATAITEM* item = CurrentItem().Rhythm();
    const INT_PTR events = item ? item->arrEvent.GetSize() : 0;
    if (!(key == m_keptKey) || !m_pInsideRows || !m_pOutsideRows || events != m_keptMarkEvents) {
        // The rows are kept twice, dimmed and in the window's colours, each
        // with its grid drawn once; a move of the window recomposes them.
        m_pOutsideRows = KeptPicture(pDC, client, strip, g, false);
        m_pInsideRows = m_pOutsideRows ? KeptPicture(pDC, client, strip, g, true) : nullptr;
        if (!m_pInsideRows || !m_pOutsideRows) {
            DropKeptRows();
            return FALSE;
        }
        KeepMarks(strip);
        m_keptKey = key;
    }
    pDC->BitBlt(strip.left, strip.top, strip.Width() + 1, strip.Height(), m_pOutsideRows.get(), strip.left, strip.top,
                SRCCOPY);
    const int s = g.stripWidth;
    if (s > 0) {
        for (int r = std::max(0, g.windowFrom / s - 1); r < g.rows && r <= g.windowTo / s + 1; ++r) {
            int e1 = 0;
            int e2 = 0;
            StripWindowSpan(g, r, e1, e2);
            const CRect band = StripRowBand(strip, g, r);
            if (e2 <= e1 || band.Height() <= 0) continue;
            pDC->BitBlt(band.left + e1, band.top, e2 - e1, band.Height(), m_pInsideRows.get(), band.left + e1,
                        band.top, SRCCOPY);
        }
    }
    // Every mark that reaches the window's spans or stands where a mark of
    // an event in the window can lie is drawn again in event order, within
    // those areas: their pixels are then those of the strip drawn whole, even
    // where marks of rows a few pixels high stand over other rows. Elsewhere
    // the dimmed picture already is.
    for (const CRect& area : WindowAreas(strip, g)) RedrawMarksOver(pDC, strip, area);
    return TRUE;
}

std::vector<CRect> CViewScroll1LeadWave::WindowAreas(const CRect& strip, const CStripGeometry& g)
{
    std::vector<CRect> areas;
    const int s = g.stripWidth;
    if (s <= 0) return areas;
    for (int r = std::max(0, g.windowFrom / s - 1); r < g.rows && r <= g.windowTo / s + 1; ++r) {
        int e1 = 0;
        int e2 = 0;
        StripWindowSpan(g, r, e1, e2);
        const CRect band = StripRowBand(strip, g, r);
        if (e2 > e1 && band.Height() > 0) areas.emplace_back(band.left + e1, band.top, band.left + e2, band.bottom);
    }
    const int w = strip.Width();
    if (!m_keptMarks.empty() && w > 0) {
        // The marks are placed on a strip one pixel narrower than the rows.
        const CStripGeometry marks = Geometry(w, Get1LeadWaveSpeed(FALSE), m_nGridColumns);
        const CRect box = MarkBox(MarkHeight(w));
        for (int r = marks.windowFrom / w; r <= marks.windowTo / w; ++r) {
            const int c1 = std::max(0, marks.windowFrom - r * w);
            const int c2 = std::min(w - 1, marks.windowTo - r * w);
            const int y = MarkY(strip, r);
            if (c2 >= c1)
                areas.emplace_back(strip.left + c1 + box.left, y + box.top, strip.left + c2 + box.right,
                                   y + box.bottom);
        }
    }
    // A span and the marks over it make one area; areas apart stay apart, or
    // the marks of every row between them would be drawn.
    std::vector<CRect> merged;
    for (const CRect& area : areas) {
        bool joined = false;
        for (CRect& m : merged) {
            const CRect both = m | area;
            if (AreaOf(both) <= AreaOf(m) + AreaOf(area)) {
                m = both;
                joined = true;
                break;
            }
        }
        if (!joined) merged.push_back(area);
    }
    return merged;
}

void CViewScroll1LeadWave::KeepMarks(const CRect& strip)
{
    m_keptMarks.clear();
    _RHYTHMDATAITEM* item = CurrentItem().Rhythm();
    m_keptMarkEvents = item ? item->arrEvent.GetSize() : 0;
    const int n = LeadCount(0);
    const int w = strip.Width();
    if (m_nDocType != DOC_TYPE_RHYTHM || !item || n <= 0 || m_nGridColumns <= 0 || m_nGridRows <= 0 || w <= 0) return;
    const CStripGeometry g = Geometry(w, Get1LeadWaveSpeed(FALSE), m_nGridColumns);
    m_keptMarks.reserve(static_cast<size_t>(item->arrEvent.GetSize()));
    for (INT_PTR i = 0; i < item->arrEvent.GetSize(); ++i) {
        const long long x = static_cast<long long>(item->arrEvent[i]) * g.total / n;
        m_keptMarks.push_back(CKeptMark{static_cast<int>(x / w), static_cast<int>(x % w), static_cast<int>(i)});
    }
    std::sort(m_keptMarks.begin(), m_keptMarks.end());
}

void CViewScroll1LeadWave::RedrawMarksOver(CDC* pDC, const CRect& strip, const CRect& area)
{
    const int w = strip.Width();
    if (m_keptMarks.empty() || area.IsRectEmpty() || w <= 0) return;
    const CRect box = MarkBox(MarkHeight(w));
    // The rows whose marks reach down into the area and up into it: the
    // marks' baselines fall row by row.
    auto firstRow = [&](int lo, int hi, auto&& past) {
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (past(mid))
                hi = mid;
            else
                lo = mid + 1;
        }
        return lo;
    };
    const int lowest = m_keptMarks.front().row;
    const int highest = m_keptMarks.back().row + 1;
    const int top = firstRow(lowest, highest, [&](int r) { return MarkY(strip, r) + box.bottom > area.top; });
    const int end = firstRow(top, highest, [&](int r) { return MarkY(strip, r) + box.top >= area.bottom; });
    // The columns whose marks reach across the area's left and right.
    const int fromColumn = area.left - strip.left - box.right + 1;
    const int toColumn = area.right - strip.left - box.left;   // past the last
    std::vector<int> events;
    for (int r = top; r < end; ++r) {
        auto from = std::lower_bound(m_keptMarks.begin(), m_keptMarks.end(), CKeptMark{r, fromColumn, INT_MIN});
        auto to = std::lower_bound(from, m_keptMarks.end(), CKeptMark{r, toColumn, INT_MIN});
        for (; from != to; ++from) events.push_back(from->event);
    }
    if (events.empty()) return;
    std::sort(events.begin(), events.end());
    CDCStateSaver saver(*pDC);
    pDC->IntersectClipRect(&strip);
    pDC->IntersectClipRect(&area);
    DrawMarkRuns(pDC, strip, Geometry(w, Get1LeadWaveSpeed(FALSE), m_nGridColumns), events, kAsWindow);
}

void CViewScroll1LeadWave::DrawMarkRuns(CDC* pDC, const CRect& rect, const CStripGeometry& g,
                                        const std::vector<int>& events, Coverage coverage)
{
    CTavrionDoc* doc = GetTavrionDoc();
    _RHYTHMDATAITEM* item = CurrentItem().Rhythm();
    const int n = LeadCount(0);
    const int w = rect.Width();
    if (!doc || !item || n <= 0 || w <= 0 || m_nGridColumns <= 0 || m_nGridRows <= 0) return;
    const int markHeight = MarkHeight(w);
    CPen inPen(PS_SOLID, 1, doc->GetWaveColor(kTextInside));
    CPen outPen(PS_SOLID, 1, doc->GetWaveColor(kTextOutside));
    CDCObjectSelector<CPen> selector(*pDC);
    std::vector<POINT> points;
    std::vector<DWORD> counts;
    bool runInside = false;
    const bool overdraw = pDC->GetROP2() == R2_COPYPEN;
    // Marks of one pen may go in one call in their order; a change of pen
    // ends the run, so that a later mark still covers an earlier one.
    auto flush = [&]() {
        if (!counts.empty()) {
            selector.Select(runInside ? &inPen : &outPen);
            pDC->PolyPolyline(points.data(), counts.data(), static_cast<int>(counts.size()));
        }
        points.clear();
        counts.clear();
    };
    for (int i : events) {
        if (i < 0 || i >= item->arrEvent.GetSize()) continue;
        const long long x = static_cast<long long>(item->arrEvent[i]) * g.total / n;
        const bool inside = coverage == kAsWindow ? g.windowFrom <= x && x <= g.windowTo : coverage == kAllInside;
        if (inside != runInside) flush();
        runInside = inside;
        AppendMarkStrokes(points, counts, rect.left + static_cast<int>(x % w), MarkY(rect, static_cast<int>(x / w)),
                          markHeight, overdraw);
    }
    flush();
}

void CViewScroll1LeadWave::DropKeptRows()
{
    m_pInsideRows.reset();
    m_pOutsideRows.reset();
    m_keptMarks.clear();
    m_keptMarkEvents = -1;
}

BOOL CViewScroll1LeadWave::DrawRowPart(CDC* pDC, const CRect& strip, const CStripGeometry& g, const CRowPart& part,
                                       bool labels, BOOL print)
{
    const bool inside = part.inside;
    const int row = part.row;
    const CRect& trace = part.trace;
    CDCStateSaver saver(*pDC);
    pDC->IntersectClipRect(part.band.left + part.from, part.band.top, part.band.left + part.to, part.band.bottom);
    DrawPartGrid(pDC, strip, inside, labels);
    if (IsWholeRecordStripStyle(m_nWaveStyle)) return TRUE;
    if (labels) DrawWaveInfo(pDC, strip, inside ? FALSE : TRUE, print);
    if (!DrawPartTrace(pDC, trace, g, row, inside, print)) return FALSE;
    if (g_bDisplayVersion && !print) {
        CTavrionDoc* doc = GetTavrionDoc();
        pDC->SetTextAlign(TA_LEFT | TA_BOTTOM);
        pDC->SetTextColor(doc->GetWaveColor(inside ? kTextInside : kTextOutside));
        pDC->TextOut(strip.left, strip.bottom, GetVersionText());
    }
    return TRUE;
}

void CViewScroll1LeadWave::DrawPartGrid(CDC* pDC, const CRect& strip, bool inside, bool labels)
{
    CTavrionDoc* doc = GetTavrionDoc();
    const COLORREF paper = doc->GetWaveColor(inside ? kPaperInside : kPaperOutside);
    const COLORREF grid = doc->GetWaveColor(inside ? kGridInside : kGridOutside);
    // With labels the counts are 0: the view's own grid stays under the strip.
    // The magnified strip is drawn over its scaled rectangle, so the same
    // counts give squares of the magnified size.
    if (!labels) DrawBackGrid(pDC, strip, m_nGridColumns - 10, m_nGridRows, paper, grid);
}

BOOL CViewScroll1LeadWave::DrawPartTrace(CDC* pDC, const CRect& trace, const CStripGeometry& g, int row, bool inside,
                                         BOOL print)
{
    const int n = LeadCount(0);
    const int first = row * g.samplesPerRow;
    if (g.samplesPerRow <= 0 || first >= n) return TRUE;
    const int count = std::min(g.samplesPerRow, n - first);
    return DrawWave(pDC, trace, m_dAmplitudeUnit * 0.001, LeadData(0) + first, count, print,
                    inside ? kTraceInsideIndex : kTraceOutsideIndex);
}

// ---- labels and events ----------------------------------------------------------------------

CString CViewScroll1LeadWave::SpeedText(float speed, int length, int width, int& gap) const
{
    const int n = LeadCount(0);
    const int seconds = m_nSampleRate > 0 ? n / m_nSampleRate : 0;
    CString text;
    // A record under a second has no whole-number fitting speed.
    if (seconds > 0 && speed == static_cast<float>(length / seconds)) {
        text.Format(L"%d mm/s", static_cast<int>(speed));
        gap = MulDiv(width, 22, length);
    } else {
        text.Format(L"%5.2f mm/s", speed);
        gap = MulDiv(width, 27, length);
    }
    return text;
}

BOOL CViewScroll1LeadWave::DrawWaveInfo(CDC* pDC, CRect rect, BOOL outside, BOOL print)
{
    CTavrionDoc* doc = GetTavrionDoc();
    const int style = m_nWaveStyle;
    const int kind = m_nDocType;
    const CWaveItemRef item = CurrentItem();
    const bool pageStyles = (style >= 1 && style <= 12) || style == 16 || style == 17;
    const bool extraStyles = style >= 22 && style <= 28;
    if (!doc || (!pageStyles && !extraStyles)) return FALSE;
    const bool recordKind = pageStyles ? (kind == DOC_TYPE_REST || kind == DOC_TYPE_MFER || kind == DOC_TYPE_RHYTHM)
                                       : (kind == DOC_TYPE_EXTRA || kind == DOC_TYPE_MFER);
    if (recordKind && !item) return FALSE;
    const int length = m_nGridColumns - 10;
    if (length <= 0 || m_nGridRows <= 0) return FALSE;

    CDCStateSaver saver(*pDC);
    pDC->SetTextColor(print ? RGB(0, 0, 0) : doc->GetWaveColor(outside ? kTextOutside : kTextInside));
    const int w = rect.Width();
    const int y = rect.top + MulDiv(rect.Height(), 5, m_nGridRows);
    if (recordKind) {
        pDC->SetTextAlign(TA_LEFT | TA_BOTTOM);
        pDC->TextOut(rect.left + MulDiv(w, 5, length), y, item.GetLeadName(m_nRhythm1LeadID));
    }
    if (HasLead(0)) {
        int gap = 0;
        const float speed = Get1LeadWaveSpeed(print);
        const CString speedText = SpeedText(speed, length, w, gap);
        const int x = rect.right - MulDiv(w, 5, length);
        const float sense = doc->GetSense(2, 0);
        CString senseText;
        if (sense == std::floor(sense))
            senseText.Format(L"%d mm/mV", static_cast<int>(sense));
        else
            senseText.Format(L"%3.2f mm/mV", sense);
        pDC->SetTextAlign(TA_RIGHT | TA_BOTTOM);
        pDC->TextOut(x, y, speedText);
        pDC->TextOut(x - gap, y, senseText);
    }
    return TRUE;
}

void CViewScroll1LeadWave::DrawEventInfo(CDC* pDC, CRect rect, BOOL print, int /*unused*/)
{
    DrawEventMarks(pDC, rect, print, kAsWindow);
}

int CViewScroll1LeadWave::MarkHeight(int width) const
{
    return MulDiv(width, 1, m_nGridColumns) - 2;
}

int CViewScroll1LeadWave::MarkY(const CRect& rect, int row) const
{
    const int h = rect.Height();
    return (row + 1) * h / std::max(1, m_nRowCount) + rect.top - MulDiv(h, 2, m_nGridRows);
}

void CViewScroll1LeadWave::DrawEventMarks(CDC* pDC, const CRect& rect, BOOL print, Coverage coverage)
{
    CTavrionDoc* doc = GetTavrionDoc();
    _RHYTHMDATAITEM* item = CurrentItem().Rhythm();
    const int n = LeadCount(0);
    if (!doc || !item || item->arrEvent.GetSize() == 0 || n <= 0 || m_nGridColumns <= 0 || m_nGridRows <= 0) return;
    const int w = rect.Width();
    if (w <= 0) return;
    const CStripGeometry g = Geometry(w, Get1LeadWaveSpeed(print), m_nGridColumns);
    const int markHeight = MarkHeight(w);
    CPen inPen(PS_SOLID, 1, print ? RGB(0, 0, 0) : doc->GetWaveColor(kTextInside));
    CPen outPen(PS_SOLID, 1, print ? RGB(0, 0, 0) : doc->GetWaveColor(kTextOutside));
    CDCObjectSelector<CPen> selector(*pDC);
    // A long record has thousands of marks and a magnified part of the
    // strip shows a few of them: on screen, marks wholly outside the clip are
    // passed over (a mark reaches its height and two pixels either way of its
    // event). Each step here is a LineTo of DrawEvent; the kept pictures on
    // screen take the same pixels in fewer calls (DrawMarkRuns).
    CRect clip;
    const bool clipped = !print && pDC->GetClipBox(&clip) != ERROR;
    const int extent = std::abs(markHeight) + 3;
    for (INT_PTR i = 0; i < item->arrEvent.GetSize(); ++i) {
        const long long x = static_cast<long long>(item->arrEvent[i]) * g.total / n;
        const bool byWindow = g.windowFrom <= x && x <= g.windowTo;
        const bool inside = coverage == kAsWindow ? byWindow : coverage == kAllInside;
        const int row = static_cast<int>(x / w);
        const int column = static_cast<int>(x % w);
        const int markX = rect.left + column;
        const int markY = MarkY(rect, row);
        if (clipped && (markX + extent < clip.left || markX - extent >= clip.right || markY + extent < clip.top ||
                        markY - extent >= clip.bottom))
            continue;
        selector.Select(inside ? &inPen : &outPen);
        DrawEvent(pDC, rect.left, markY, markHeight, column);
    }
}
