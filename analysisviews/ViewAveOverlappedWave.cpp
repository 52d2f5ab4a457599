// CViewAveOverlappedWave: loading once, the overlapped traces, fiducials and legend.
#include "analysisviews/ViewAveOverlappedWave.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "platform/base/Kernel.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Resources.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "waveviews/EnlargedRuler.h"
#include "waveviews/PaperFont.h"

IMPLEMENT_DYNCREATE(CViewAveOverlappedWave, CWaveView)

BEGIN_MESSAGE_MAP(CViewAveOverlappedWave, CWaveView)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

namespace {

const UINT kTagBeatFirst = 3723;
const UINT kTagBeatLast = 3724;
const int kDeviceRate = 500;       // the device records' beats: 600 samples over 1.2 s
const int kFiducialSpan = 600;     // the fiducials are samples of a 600-sample beat at that rate
const int kMferBeatWaveform = 2;

struct FiducialTag {
    UINT nTag;
    int _AVERAGE_FIDUCIALS::*pField;
};
const FiducialTag kFiducialTags[] = {
    {3725, &_AVERAGE_FIDUCIALS::nPBegin}, {3726, &_AVERAGE_FIDUCIALS::nPEnd},
    {3727, &_AVERAGE_FIDUCIALS::nQrsBegin}, {3728, &_AVERAGE_FIDUCIALS::nQrsEnd},
    {3729, &_AVERAGE_FIDUCIALS::nTEnd},
};

}  // namespace

CViewAveOverlappedWave::CViewAveOverlappedWave()
{
    InitBackground(30, 40);
}

CViewAveOverlappedWave::~CViewAveOverlappedWave() = default;

BOOL CViewAveOverlappedWave::PreCreateWindow(CREATESTRUCT& cs)
{
    return CView::PreCreateWindow(cs);
}

int CViewAveOverlappedWave::GetSampleCount(int lead) const
{
    return lead >= 0 && lead < OVERLAPPED_VIEW_LEADS ? static_cast<int>(m_leadData[lead].size()) : 0;
}

// ---- loading ------------------------------------------------------------------------------

void CViewAveOverlappedWave::OnInitialUpdate()
{
    CWaveView::OnInitialUpdate();
    InitBackground(30, 40);
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc) return;
    if (!m_bSerialWave) m_nFilter = doc->GetFilter();
    m_nSampleRate = kDeviceRate;
    switch (m_nDocType) {
    case DOC_TYPE_RHYTHM: {
        auto* rhythm = DYNAMIC_DOWNCAST(CRhythmViewDoc, doc);
        _RHYTHMDATAITEM* item = rhythm ? rhythm->GetCurrentDataItem() : nullptr;
        m_pRecord = item ? item->pECGData : nullptr;
        LoadDocumentBeats(doc);
        break;
    }
    case DOC_TYPE_MFER: LoadMferBeats(doc); break;
    case DOC_TYPE_REST: {
        auto* rest = DYNAMIC_DOWNCAST(CRestViewDoc, doc);
        _RESTDATAITEM* item = rest ? rest->GetCurrentDataItem() : nullptr;
        if (!item) break;
        m_pRecord = item->pECGData;
        LoadDocumentBeats(doc);
        LoadRestWindow(doc);
        break;
    }
    default: break;
    }
}

void CViewAveOverlappedWave::LoadDocumentBeats(CTavrionDoc* doc)
{
    for (int lead = 0; lead < m_nLeadCount; ++lead) {
        std::vector<short>& samples = m_leadData[lead];
        samples.clear();
        const int bytes = doc->GetAverageWaveData(m_nLeadID[lead], nullptr, m_nFilter);
        if (bytes < 2) continue;
        samples.assign(static_cast<size_t>(bytes / 2), 0);
        if (doc->GetAverageWaveData(m_nLeadID[lead], samples.data(), m_nFilter) <= 0) samples.clear();
    }
}

void CViewAveOverlappedWave::LoadMferBeats(CTavrionDoc* doc)
{
    auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, doc);
    _MFERDATAITEM* item = mfer ? mfer->GetCurrentDataItem() : nullptr;
    if (!item || !item->pMFERParser) return;
    // The file's beats come at the file's own rate (PTB records: 1200 samples a beat).
    m_nSampleRate = std::max(1, static_cast<int>(std::lround(mfer->GetSampleRate())));
    m_dAmplitudeUnit = item->pMFERParser->GetMeasureSense();
    const int bytes = std::max(0, item->pMFERParser->GetWaveLength(kMferBeatWaveform));
    m_nWindowStart = 0;
    m_nWindowSpan = bytes / 2;
    for (int lead = 0; lead < m_nLeadCount; ++lead) {
        std::vector<short>& samples = m_leadData[lead];
        samples.assign(static_cast<size_t>(bytes / 2), 0);
        if (bytes < 2 ||
            !item->pMFERParser->GetWaveData(kMferBeatWaveform, m_nLeadID[lead], reinterpret_cast<BYTE*>(samples.data())))
            samples.clear();
    }
}

void CViewAveOverlappedWave::LoadRestWindow(CTavrionDoc* doc)
{
    if (doc->Is8000File()) {
        m_nWindowStart = 0;
        m_nWindowSpan = GetSampleCount(0);
        return;
    }
    int first = m_nWindowStart;
    int last = m_nWindowStart + m_nWindowSpan;
    ReadEnlargedRecordInt16(doc, m_pRecord, kTagBeatFirst, 0, &first);
    ReadEnlargedRecordInt16(doc, m_pRecord, kTagBeatLast, 0, &last);
    m_nWindowStart = first;
    m_nWindowSpan = last - first;
}

int CViewAveOverlappedWave::GetFiducialSpan() const
{
    return kFiducialSpan * m_nSampleRate / kDeviceRate;
}

_AVERAGE_FIDUCIALS CViewAveOverlappedWave::ReadFiducials() const
{
    // The defaults stand at the same times in a beat of any rate.
    _AVERAGE_FIDUCIALS fiducials;
    for (const FiducialTag& tag : kFiducialTags)
        fiducials.*tag.pField = fiducials.*tag.pField * m_nSampleRate / kDeviceRate;
    const int span = GetFiducialSpan();
    for (const FiducialTag& tag : kFiducialTags) {
        int value = 0;
        if (ReadEnlargedRecordInt16(GetTavrionDoc(), m_pRecord, tag.nTag, 0, &value) && value >= 0 && value <= span)
            fiducials.*tag.pField = value;
    }
    return fiducials;
}

// ---- painting -----------------------------------------------------------------------------

void CViewAveOverlappedWave::OnDraw(CDC* pDC)
{
    CWaveView::OnDraw(pDC);
    CTavrionDoc* doc = GetTavrionDoc();
    CDCStateSaver saver(*pDC);
    CDCObjectSelector<CFont> font(*pDC, doc ? doc->GetDocFont(1) : nullptr);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextAlign(TA_TOP | TA_LEFT);
    pDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
    if (m_nDocType == DOC_TYPE_MFER) {
        auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, doc);
        _MFERDATAITEM* item = mfer ? mfer->GetCurrentDataItem() : nullptr;
        if (item && item->pMFERParser) m_dAmplitudeUnit = item->pMFERParser->GetMeasureSense();
    }
    CRect client;
    GetClientRect(&client);
    DrawView(pDC, client, 0);
}

BOOL CViewAveOverlappedWave::DrawView(CDC* pDC, CRect rect, int print)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!pDC || m_nGridRows <= 0) return FALSE;
    CDCStateSaver saver(*pDC);
    if (doc) pDC->SetTextColor(doc->GetWaveColor(3));
    if (doc && m_nDocType == DOC_TYPE_REST) m_fSense = doc->GetSense(static_cast<UINT>(m_nSenseID), 0);

    const int width = rect.Width();
    const int baseline = rect.top + rect.Height() / 2;
    const int gain = static_cast<int>(rect.Height() * m_fSense / m_nGridRows);
    const int across = m_nGridColumns * m_nSampleRate / 25;   // samples across the view at 25 mm/s
    for (int lead = 0; lead < m_nLeadCount && across > 0; ++lead) {
        const std::vector<short>& samples = m_leadData[lead];
        // The record's window may reach past the samples held: only those are drawn.
        const int start = std::clamp(m_nWindowStart, 0, static_cast<int>(samples.size()));
        const int end = std::clamp(m_nWindowStart + m_nWindowSpan, start, static_cast<int>(samples.size()));
        if (end <= start) continue;
        const CRect trace(rect.left + ::MulDiv(width, start, across), baseline,
                          rect.left + ::MulDiv(width, end, across), baseline + gain);
        if (!DrawWave(pDC, trace, m_dAmplitudeUnit * 0.001, const_cast<short*>(samples.data()) + start, end - start,
                      print, m_nEnlargeType))
            return FALSE;
    }
    DrawFiducials(pDC, rect);
    DrawLegend(pDC, rect, print);
    return TRUE;
}

void CViewAveOverlappedWave::DrawFiducials(CDC* pDC, const CRect& rect)
{
    const _AVERAGE_FIDUCIALS f = ReadFiducials();
    const struct {
        int nSample;
        CPen* pPen;
    } lines[] = {{f.nPBegin, &m_pPen}, {f.nPEnd, &m_pPen}, {f.nQrsBegin, &m_qrsPen}, {f.nQrsEnd, &m_qrsPen},
                 {f.nTEnd, &m_tPen}};
    const int span = std::max(1, GetFiducialSpan());
    CDCObjectSelector<CPen> pen(*pDC);
    for (const auto& line : lines) {
        pen.Select(line.pPen);
        // The last sample's line stands on the right edge, inside the view.
        const int x = std::min(rect.left + line.nSample * rect.Width() / span, rect.right - 1);
        pDC->MoveTo(x, rect.top);
        pDC->LineTo(x, rect.bottom);
    }
}

void CViewAveOverlappedWave::DrawLegend(CDC* pDC, const CRect& rect, int print)
{
    CDCStateSaver saver(*pDC);
    // On paper the labels keep the caller's font unless it is of screen size.
    std::optional<CPaperFont> paper;
    CDCObjectSelector<CFont> font(*pDC);
    if (print && m_nGridColumns > 0)
        paper.emplace(*pDC, static_cast<double>(rect.Width()) / m_nGridColumns);
    else
        font.Select(g_pDlgFontNormal);
    CDCObjectSelector<CBrush> brush(*pDC);
    CDCObjectSelector<CPen> pen(*pDC);
    TEXTMETRIC metrics{};
    pDC->GetTextMetrics(&metrics);
    const int h = metrics.tmHeight;
    const int r = h / 2;
    const int step = static_cast<int>(2.5 * r);
    const struct {
        CBrush* pBrush;
        CPen* pPen;
        const wchar_t* pszLabel;
    } rows[] = {{&m_pBrush, &m_pPen, L"P Begin-End"}, {&m_qrsBrush, &m_qrsPen, L"QRS Begin-End"},
                {&m_tBrush, &m_tPen, L"T End"}};
    pDC->SetBkMode(TRANSPARENT);
    int y = rect.top + rect.Height() - 3 * h;
    for (const auto& row : rows) {
        brush.Select(row.pBrush);
        pen.Select(row.pPen);
        pDC->Ellipse(rect.left + 10 - r, y - r, rect.left + 10 + r, y + r);
        pDC->TextOut(rect.left + 20, y - r, CString(row.pszLabel));
        y += step;
    }
}

// ---- a passive picture --------------------------------------------------------------------

void CViewAveOverlappedWave::OnLButtonDown(UINT nFlags, CPoint point)
{
    CView::OnLButtonDown(nFlags, point);
}

void CViewAveOverlappedWave::OnLButtonUp(UINT nFlags, CPoint point)
{
    CView::OnLButtonUp(nFlags, point);
}

void CViewAveOverlappedWave::OnRButtonDown(UINT nFlags, CPoint point)
{
    CView::OnRButtonDown(nFlags, point);
}

void CViewAveOverlappedWave::OnMouseMove(UINT nFlags, CPoint point)
{
    CView::OnMouseMove(nFlags, point);
}

BOOL CViewAveOverlappedWave::OnSetCursor(CWnd*, UINT, UINT)
{
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    return TRUE;
}
