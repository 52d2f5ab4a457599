// CViewEnlargedWave: loading, zoom, drawing, pan and ruler of the enlarged lead.
#include "waveviews/ViewEnlargedWave.h"

#include <algorithm>
#include <cstdlib>

#include "core/Globals.h"
#include "core/MemoryHelpers.h"
#include "core/TavrionDoc.h"
#include "documents/ExtraViewDoc.h"
#include "documents/MFERViewDoc.h"
#include "documents/RRViewDoc.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "platform/base/Kernel.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Message.h"

IMPLEMENT_DYNCREATE(CViewEnlargedWave, CViewRhythmWave)

// The double-click is taken here too: the multi-lead view's would open its
// pop-ups over the one the user is in.
BEGIN_MESSAGE_MAP(CViewEnlargedWave, CViewRhythmWave)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_SETCURSOR()
    ON_WM_RBUTTONDOWN()
    ON_WM_KEYDOWN()
    ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

const UINT kTagBeatFirst = 3723;     // index 0: i16, first sample of the average-beat window
const UINT kTagBeatLast = 3724;      // index 0: i16, end of the average-beat window
const UINT kTagElectrodeCode = 4097; // index = lead: u16 electrode code

}  // namespace

CViewEnlargedWave::CViewEnlargedWave() : m_ptDrag(0, 0)
{
    SetDocType(DOC_TYPE_REST);
    if (g_hCursorHand) SetCurrentCursor(g_hCursorHand);
}

CViewEnlargedWave::~CViewEnlargedWave()
{
    FreeWave();
}

void CViewEnlargedWave::FreeWave()
{
    if (m_pWave) MemoryFree(m_pWave);
    m_pWave = nullptr;
    m_nWaveLength = 0;
}

// ---- settings -------------------------------------------------------------------------

void CViewEnlargedWave::SetWaveInfo(_ECGDATA* record, int, float speed, float sense, int filter, int totalSamples)
{
    m_pRecord = record;
    m_fSpeed = speed;
    m_fSense = sense;
    m_nFilter = filter;
    m_nTotalSamples = totalSamples;
}

int CViewEnlargedWave::StripPageSamples() const
{
    int across = 0;
    int down = 0;
    GetGridCount(across, down);
    if (!(m_fSpeed > 0.0f)) return 0;
    return static_cast<int>(m_nSamplingRate * across / m_fSpeed);
}

void CViewEnlargedWave::SetCenterPos(int centre, int lead, BOOL average)
{
    m_nLead = lead;
    m_bAverage = average;
    CTavrionDoc* doc = GetTavrionDoc();
    auto* mfer = m_nDocType == DOC_TYPE_MFER ? DYNAMIC_DOWNCAST(CMFERViewDoc, doc) : nullptr;
    _MFERDATAITEM* item = mfer ? mfer->GetCurrentDataItem() : nullptr;
    // MFER records keep their own rate; device records are sampled at 500 Hz.
    if (mfer && item && mfer->GetSampleRate() >= 1.0) m_nSamplingRate = static_cast<int>(mfer->GetSampleRate() + 0.5);
    if (!average) {
        m_nPageSamples = StripPageSamples();
        m_nStart = std::max(0, centre - m_nPageSamples / 2);
        m_dResolution = 1.25;
    } else {
        m_nStart = 0;
        m_dResolution = 2.5;
    }
    if (item && item->pMFERParser) m_dResolution = item->pMFERParser->GetMeasureSense();
}

void CViewEnlargedWave::SetDragHorizontalOffset(int pixels)
{
    m_nDragHorizontal = pixels;
    if (!m_bAverage) m_nStart = 0;
}

void CViewEnlargedWave::SetBackGridSize(double across, double down, double zoom)
{
    m_zoom.SetBackGridSize(*this, across, down, zoom);
}

BOOL CViewEnlargedWave::SetScaleRatio(int step)
{
    const int squaresAcross = m_zoom.SetScaleRatio(*this, step);
    if (!m_bAverage && m_fSpeed > 0.0f)
        m_nPageSamples =
            static_cast<int>(static_cast<int>(m_nSamplingRate * squaresAcross / m_fSpeed) / m_zoom.GetZoom());
    return TRUE;
}

void CViewEnlargedWave::OnSize(UINT nType, int cx, int cy)
{
    CViewRhythmWave::OnSize(nType, cx, cy);
    m_zoom.Refit(*this);
    Invalidate(TRUE);
}

// ---- loading -----------------------------------------------------------------------------

void CViewEnlargedWave::OnInitialUpdate()
{
    CViewRhythmWave::OnInitialUpdate();
    FreeWave();
    m_pDoc = GetTavrionDoc();
    if (!m_pDoc) return;
    switch (m_nDocType) {
    case DOC_TYPE_REST:
    case DOC_TYPE_RHYTHM:
    case DOC_TYPE_RR:
    case DOC_TYPE_EXTRA:
        ReadDocumentWave(m_pDoc);
        break;
    case DOC_TYPE_MFER:
        ReadMferWave(m_pDoc);
        break;
    default:
        break;   // final and exercise documents show nothing here
    }
}

void CViewEnlargedWave::ClampStart(int length, int spare)
{
    if (m_nStart + m_nPageSamples > length - spare) m_nStart = length - m_nPageSamples - spare;
    m_nStart = std::max(0, m_nStart);
}

BOOL CViewEnlargedWave::ReadDocumentWave(CTavrionDoc* doc)
{
    const bool mfer = m_nDocType == DOC_TYPE_MFER;
    auto read = [&](short* buffer, int filter) {
        return m_bAverage ? doc->GetAverageWaveData(m_nLead, buffer, filter)
                          : doc->GetRhythmWaveData(m_nLead, buffer, filter);
    };
    const int count = read(nullptr, -1) / 2;
    if (count <= 0) return FALSE;
    // A strip is read with its page ending short of the record's last sample.
    if (!m_bAverage) ClampStart(count, 1);
    auto* buffer = static_cast<short*>(MemoryAlloc(static_cast<UINT>(count) * sizeof(short)));
    if (!buffer) return FALSE;
    // MFER strips come unfiltered, as the file holds them.
    if (read(buffer, mfer ? -1 : m_nFilter) <= 0) {
        MemoryFree(buffer);
        return FALSE;
    }
    m_pWave = buffer;
    m_nWaveLength = count;
    // The MFER strip keeps the page it was read with, and its own resolution.
    if (mfer) return TRUE;
    if (!m_bAverage) {
        m_nPageSamples = StripPageSamples();
        ClampStart(m_nWaveLength, 0);
        m_dResolution = 1.25;
    } else if (!doc->Is8000File()) {
        TakeBeatWindow(doc);
        m_dResolution = 2.5;
    } else {
        int across = 0;
        int down = 0;
        GetGridCount(across, down);
        m_nPageSamples = static_cast<int>(m_nSamplingRate * across * 0.04);   // 25 mm/s
        ClampStart(m_nWaveLength, 0);
        m_dResolution = 2.5;
    }
    return TRUE;
}

void CViewEnlargedWave::TakeBeatWindow(CTavrionDoc* doc)
{
    int first = 0;
    int last = 0;
    if (ReadEnlargedRecordInt16(doc, m_pRecord, kTagBeatFirst, 0, &first)) m_nStart = first;
    if (ReadEnlargedRecordInt16(doc, m_pRecord, kTagBeatLast, 0, &last)) m_nPageSamples = last - m_nStart;
    // The window is the record's word: a start before the beat or an end
    // past it would read outside the samples, a reversed one has none.
    const int end = m_nStart + m_nPageSamples;
    m_nStart = std::max(0, std::min(m_nStart, m_nWaveLength));
    m_nPageSamples = std::max(m_nStart, std::min(end, m_nWaveLength)) - m_nStart;
}

BOOL CViewEnlargedWave::ReadMferWave(CTavrionDoc* doc)
{
    auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, doc);
    _MFERDATAITEM* item = mfer ? mfer->GetCurrentDataItem() : nullptr;
    if (!item || !item->pMFERParser) return FALSE;
    if (!m_bAverage) return ReadDocumentWave(doc);
    const int count = item->pMFERParser->GetWaveLength(2) / 2;
    if (count <= 0) return FALSE;
    auto* buffer = static_cast<short*>(MemoryAlloc(static_cast<UINT>(count) * sizeof(short)));
    if (!buffer) return FALSE;
    if (!item->pMFERParser->GetWaveData(2, m_nLead, buffer)) {
        MemoryFree(buffer);
        return FALSE;
    }
    m_pWave = buffer;
    m_nWaveLength = m_nPageSamples = count;
    m_nStart = 0;
    return TRUE;
}

// ---- drawing -------------------------------------------------------------------------------

CString CViewEnlargedWave::LeadName() const
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc || m_nLead < 0 || m_nLead >= LEAD_NAME_CODES) return CString();
    const _LEAD_NAME_INFO* names = nullptr;
    switch (m_nDocType) {
    case DOC_TYPE_REST:
        if (auto* rest = DYNAMIC_DOWNCAST(CRestViewDoc, doc))
            if (_RESTDATAITEM* item = rest->GetCurrentDataItem()) names = &item->stLeadName;
        break;
    case DOC_TYPE_RHYTHM:
        if (auto* rhythm = DYNAMIC_DOWNCAST(CRhythmViewDoc, doc))
            if (_RHYTHMDATAITEM* item = rhythm->GetCurrentDataItem()) names = &item->stLeadName;
        break;
    case DOC_TYPE_RR:
        if (auto* rr = DYNAMIC_DOWNCAST(CRRViewDoc, doc))
            if (_RRDATAITEM* item = rr->GetCurrentDataItem()) names = &item->stLeadName;
        break;
    case DOC_TYPE_EXTRA:
        if (auto* extra = DYNAMIC_DOWNCAST(CExtraViewDoc, doc))
            if (_EXTRADATAITEM* item = extra->GetCurrentDataItem()) names = &item->stLeadName;
        break;
    case DOC_TYPE_MFER:
        if (auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, doc))
            if (_MFERDATAITEM* item = mfer->GetCurrentDataItem()) names = &item->stLeadName;
        break;
    default:
        break;
    }
    if (!names) return CString();
    CString name = names->strDispName[m_nLead];
    name.TrimRight();
    return name;
}

void CViewEnlargedWave::OnDraw(CDC* pDC)
{
    if (!pDC) return;
    int across = 0;
    int down = 0;
    GetGridCount(across, down);
    InitBackground(across, down);
    CWaveView::OnDraw(pDC);
    CRect client;
    GetClientRect(&client);
    DrawEnlargedLabels(pDC, GetTavrionDoc(), client, LeadName(), m_zoom.GetStep());
    // The paint wiped whatever ruler figure was on screen.
    m_ruler.SetClear(TRUE);
    if (!DrawView(pDC, client, m_nStart)) return;
    m_ruler.Paint(pDC, client, EnlargedRulerColour(GetTavrionDoc()));
}

int CViewEnlargedWave::AverageSamplesAcross() const
{
    int across = 0;
    int down = 0;
    GetGridCount(across, down);
    return m_nSamplingRate * across / 25;
}

bool CViewEnlargedWave::IsFixedGainLead(CTavrionDoc* doc) const
{
    int code = 0;
    const BOOL coded = ReadEnlargedRecordInt16(doc, m_pRecord, kTagElectrodeCode, static_cast<UINT>(m_nLead), &code);
    const int unsignedCode = code & 0xFFFF;
    return coded && unsignedCode >= 119 && unsignedCode <= 124;
}

int CViewEnlargedWave::PixelsPerMillivolt(CTavrionDoc* doc, int h) const
{
    int across = 0;
    int down = 0;
    GetGridCount(across, down);
    // Leads of electrode codes 119 to 124 are always shown at 10 mm/mV.
    if (IsFixedGainLead(doc)) return static_cast<int>(h * 10.0 / down);
    return static_cast<int>(h * static_cast<double>(m_fSense) / down + 0.5);
}

BOOL CViewEnlargedWave::DrawView(CDC* pDC, CRect rect, int start)
{
    const int w = rect.Width();
    const int h = rect.Height();
    int across = 0;
    int down = 0;
    GetGridCount(across, down);
    // Nothing to draw without samples, or on a view never sized.
    if (!pDC || !m_pWave || w <= 0 || h <= 0 || across <= 0 || down <= 0 || m_nPageSamples <= 0) return FALSE;
    start = std::max(0, std::min(start, m_nWaveLength));
    const int samplesAcross = m_bAverage ? AverageSamplesAcross() : m_nPageSamples;
    if (samplesAcross <= 0) return FALSE;

    int left = rect.left;
    if (m_bAverage)
        left += m_nDragHorizontal +
                static_cast<int>(w * (1.0 - static_cast<double>(m_nPageSamples) / samplesAcross) / 2);
    const int baseline = rect.top + h / 2 + m_nDragVertical;
    const int width = m_bAverage ? MulDiv(w, m_nPageSamples, samplesAcross) : w;
    CRect trace(left, baseline, left + width, baseline + PixelsPerMillivolt(m_pDoc, h));
    int count = m_nPageSamples;
    const int remaining = m_nWaveLength - start;
    if (remaining < m_nPageSamples) {
        // The end of the samples: the trace is narrower and centred.
        const int narrow = MulDiv(remaining, width, m_nPageSamples);
        trace.left = rect.left + (w - narrow) / 2 + m_nDragHorizontal;
        trace.right = trace.left + narrow;
        count = remaining;
    }
    if (count <= 0) return FALSE;
    if (!DrawWave(pDC, trace, m_dResolution * 0.001, m_pWave + start, count, FALSE, m_nEnlargeType)) return FALSE;
    if (m_nDocType == DOC_TYPE_RHYTHM) DrawEvents(pDC, rect, trace.left, start);
    return TRUE;
}

void CViewEnlargedWave::DrawEvents(CDC* pDC, CRect rect, int traceLeft, int start)
{
    auto* rhythm = DYNAMIC_DOWNCAST(CRhythmViewDoc, GetTavrionDoc());
    _RHYTHMDATAITEM* item = rhythm ? rhythm->GetCurrentDataItem() : nullptr;
    int across = 0;
    int down = 0;
    GetGridCount(across, down);
    const int w = rect.Width();
    const int h = rect.Height();
    if (!item || m_nPageSamples <= 1 || w <= 0 || across <= 0 || down <= 0) return;
    CPen pen(PS_SOLID, 1, rhythm->GetWaveColor(3));
    CDCObjectSelector<CPen> selection(*pDC, &pen);
    const int y = rect.top + 2 * h / down + h / 2 + m_nDragVertical;
    for (INT_PTR i = 0; i < item->arrEvent.GetSize(); ++i) {
        const int e = item->arrEvent[i];
        // Events off the page would be drawn off the view.
        if (e < start || e > start + m_nPageSamples) continue;
        const int x = static_cast<int>(static_cast<long long>(e - start) * w / m_nPageSamples);
        DrawEvent(pDC, traceLeft, y, w / across, x);
    }
}

// ---- mouse and keys -------------------------------------------------------------------------

void CViewEnlargedWave::SendReading()
{
    CRect client;
    GetClientRect(&client);
    const int w = client.Width();
    const int h = client.Height();
    int across = 0;
    int down = 0;
    GetGridCount(across, down);
    if (w <= 0 || h <= 0) return;
    const CPoint p0 = m_ruler.GetPoint(0);
    const CPoint p1 = m_ruler.GetPoint(1);
    const int dx = std::abs(p1.x - p0.x);
    const int dy = std::abs(p1.y - p0.y);
    int ms = 0;
    if (m_bAverage)
        ms = static_cast<int>(across * dx * 40.0 / w);   // 40 ms a square at 25 mm/s
    else if (m_fSpeed > 0.0f)
        ms = static_cast<int>(across / m_fSpeed * dx * 1000.0 / w);
    // The amplitude is read at the gain the lead is drawn at.
    const int uv = EnlargedRulerMicrovolts(down, dy, h, IsFixedGainLead(m_pDoc) ? 10.0f : m_fSense);
    SendToEnlargedDialog(*this, WM_ENLARGED_RULER_READING, static_cast<WPARAM>(ms), static_cast<LPARAM>(uv));
}

void CViewEnlargedWave::Pan(CPoint point)
{
    CRect client;
    GetClientRect(&client);
    const int w = client.Width();
    const int h = client.Height();
    const int dx = point.x - m_ptDrag.x;
    m_nDragVertical = EnlargedPanOffset(m_nDragVertical, point.y - m_ptDrag.y, h);
    m_ptDrag = point;
    if (m_bAverage || m_nWaveLength < m_nPageSamples) {
        m_nDragHorizontal = EnlargedPanOffset(m_nDragHorizontal, dx, w);
        SendToEnlargedDialog(*this, WM_ENLARGED_PAN, static_cast<WPARAM>(-m_nDragHorizontal),
                             static_cast<LPARAM>(-m_nDragVertical));
        return;
    }
    // The start moves half a page per view width dragged; the dialog applies it.
    int start = m_nStart;
    if (w > 0) start -= static_cast<int>(m_nPageSamples * (static_cast<double>(dx) / w) * 0.5);
    start = std::max(0, std::min(start, std::max(0, m_nTotalSamples - m_nPageSamples)));
    SendToEnlargedDialog(*this, WM_ENLARGED_PAN, static_cast<WPARAM>(start), static_cast<LPARAM>(-m_nDragVertical));
}

void CViewEnlargedWave::Press(CPoint point)
{
    if (PressEnlargedRuler(*this, m_ruler, point)) return;
    m_ptDrag = point;
    m_bDragging = TRUE;
}

// The view has no annotations of its own: its mouse messages end in the
// default processing, not in the annotation handling of CWaveView.
void CViewEnlargedWave::OnLButtonDown(UINT nFlags, CPoint point)
{
    Press(point);
    CView::OnLButtonDown(nFlags, point);
}

void CViewEnlargedWave::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    Press(point);
    CView::OnLButtonDblClk(nFlags, point);
}

BOOL CViewEnlargedWave::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    return CWaveView::OnSetCursor(pWnd, nHitTest, message);
}

void CViewEnlargedWave::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_ruler.GetStatus() == RULER_STATUS_OFF) {
        if (m_bDragging && !(nFlags & MK_LBUTTON)) m_bDragging = FALSE;
        if (m_bDragging) Pan(point);
    } else if (MoveEnlargedRuler(*this, m_ruler, nFlags, point)) {
        SendReading();
    }
    CView::OnMouseMove(nFlags, point);
}

void CViewEnlargedWave::OnLButtonUp(UINT nFlags, CPoint point)
{
    m_bDragging = FALSE;
    CView::OnLButtonUp(nFlags, point);
}

void CViewEnlargedWave::OnRButtonDown(UINT, CPoint)
{
    Default();
}

void CViewEnlargedWave::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    BOOL moved = FALSE;
    if (!KeyEnlargedRuler(*this, m_ruler, nChar, &moved)) return;
    if (moved) SendReading();
    CWaveView::OnKeyDown(nChar, nRepCnt, nFlags);
}

BOOL CViewEnlargedWave::PreTranslateMessage(MSG* pMsg)
{
    return PreTranslateEnlargedView(*this, pMsg);
}
