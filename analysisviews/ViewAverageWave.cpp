// CViewAverageWave: loading the beats and ST texts, the mouse, the magnifier.
// The drawing is in ViewAverageWaveDraw.cpp.
#include "analysisviews/ViewAverageWave.h"

#include <algorithm>
#include <cmath>

#include "analysisviews/EnlargedBeatOpener.h"
#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "platform/base/Kernel.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Resources.h"
#include "platform/ui/windowing/Message.h"
#include "waveviews/EnlargedRuler.h"
#include "waveviews/WaveItemRef.h"

IMPLEMENT_DYNCREATE(CViewAverageWave, CWaveView)

BEGIN_MESSAGE_MAP(CViewAverageWave, CWaveView)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

namespace {

const UINT kTagBeatFirst = 3723;   // index 0: i16, first sample of the average-beat window
const UINT kTagBeatLast = 3724;    // index 0: i16, end of the average-beat window
const int kDeviceRate = 500;       // the device records' beats: 600 samples over 1.2 s
const int kWholeBeatSpan = 600;    // the beat window of records without one of their own
const int kMferBeatWaveform = 2;  // the averaged beats of an MFER file
const UINT WM_SENSE_REQUEST = WM_USER + 0xF;
const UINT WM_BEAT_ENLARGED = WM_USER + 0xC;

}  // namespace

CViewAverageWave::CViewAverageWave() : m_magnifier(*this)
{
    InitBackground(130, 120);
    SetMagnifierDrawing();
}

// The magnifier draws the same picture in the view's font, scaled.
void CViewAverageWave::SetMagnifierDrawing()
{
    CWaveViewMagnifier::Drawing drawing;
    drawing.drawView = [this](CDC* pDC, const CRect& draw, float) {
        m_dAmplitudeUnit = AmplitudeUnit();
        return DrawView(pDC, draw, m_nGridColumns, m_nGridRows, FALSE);
    };
    drawing.pFont = TextFont();
    m_magnifier.SetDrawing(std::move(drawing));
}

CViewAverageWave::~CViewAverageWave() = default;

int CViewAverageWave::GetSampleCount(int lead) const
{
    return lead >= 0 && lead < AVERAGE_VIEW_LEADS ? static_cast<int>(m_leadData[lead].size()) : 0;
}

CString CViewAverageWave::GetSTText(int lead) const
{
    return lead >= 0 && lead < AVERAGE_VIEW_LEADS ? m_strST[lead] : CString();
}

// ---- loading ------------------------------------------------------------------------------

void CViewAverageWave::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    CWaveView::OnUpdate(pSender, lHint, pHint);
    m_magnifier.DropCache();
    SetMagnifierDrawing();
    // Rhythm records keep what was loaded before; without a record nothing
    // is reloaded, and the texts already shown are not formatted twice.
    const bool loaded = m_nDocType == DOC_TYPE_MFER ? LoadMfer() : m_nDocType == DOC_TYPE_REST ? LoadRest() : false;
    if (loaded) FormatSTTexts();
}

void CViewAverageWave::FreeLeads()
{
    for (std::vector<short>& lead : m_leadData) {
        lead.clear();
        lead.shrink_to_fit();
    }
}

bool CViewAverageWave::LoadMfer()
{
    auto* doc = DYNAMIC_DOWNCAST(CMFERViewDoc, GetTavrionDoc());
    _MFERDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    if (!item || !item->pMFERParser) return false;
    CMFERParser* reader = item->pMFERParser;
    // The file's beats come at the file's own rate (PTB records: 1200 samples a beat).
    m_nSampleRate = std::max(1, static_cast<int>(std::lround(doc->GetSampleRate())));
    const int bytes = std::max(0, reader->GetWaveLength(kMferBeatWaveform));
    m_nWindowStart = 0;
    m_nWindowSpan = bytes / 2;
    FreeLeads();
    for (int lead = 0; lead < AVERAGE_VIEW_LEADS; ++lead) {
        m_leadData[lead].assign(static_cast<size_t>(bytes / 2), 0);
        if (bytes < 2 || !reader->GetWaveData(kMferBeatWaveform, lead, reinterpret_cast<BYTE*>(m_leadData[lead].data())))
            m_leadData[lead].clear();
        m_strST[lead] = item->strST[lead];
    }
    return true;
}

bool CViewAverageWave::LoadRest()
{
    auto* doc = DYNAMIC_DOWNCAST(CRestViewDoc, GetTavrionDoc());
    _RESTDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    if (!item) return false;
    m_nSampleRate = kDeviceRate;
    if (item->b8000File) {
        m_nWindowStart = 0;
        m_nWindowSpan = kWholeBeatSpan;
    } else {
        // Each end is taken only when the record holds it.
        int first = m_nWindowStart;
        int last = m_nWindowStart + m_nWindowSpan;
        ReadEnlargedRecordInt16(doc, item->pECGData, kTagBeatFirst, 0, &first);
        ReadEnlargedRecordInt16(doc, item->pECGData, kTagBeatLast, 0, &last);
        m_nWindowStart = first;
        m_nWindowSpan = last - first;
    }
    FreeLeads();
    for (int lead = 0; lead < AVERAGE_VIEW_LEADS; ++lead) {
        const int bytes = doc->GetAverageWaveData(lead, nullptr, -1);
        if (bytes >= 2) {
            m_leadData[lead].assign(static_cast<size_t>(bytes / 2), 0);
            if (doc->GetAverageWaveData(lead, m_leadData[lead].data(), -1) <= 0) m_leadData[lead].clear();
        }
        m_strST[lead] = item->strST[lead];
    }
    return true;
}

// The level in millimetres at the lead's sensitivity, cut toward zero to
// 0.01 mm, with its sign always written.
void CViewAverageWave::FormatSTTexts()
{
    for (int lead = 0; lead < AVERAGE_VIEW_LEADS; ++lead) {
        CString& text = m_strST[lead];
        if (IsMissingST(text)) continue;
        const int microvolts = _wtoi(text);
        int scaled = static_cast<int>(microvolts * LeadSense(lead));
        scaled = scaled / 10 * 10;
        if (microvolts < 0)
            text.Format(L"%s%.2f", L"-", std::abs(scaled) * 0.001);
        else
            text.Format(L"%s%.2f", L"+", scaled * 0.001);
    }
}

float CViewAverageWave::LeadSense(int lead) const
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc) return 10.0f;
    return doc->GetSense(lead < 6 ? 1u : 0u, 0);
}

double CViewAverageWave::AmplitudeUnit() const
{
    CMFERParser* reader = m_nDocType == DOC_TYPE_MFER ? CWaveItemRef::Of(m_pDocument, m_nDocType).GetReader() : nullptr;
    return reader ? reader->GetMeasureSense() : 2.5;
}

// ---- the mouse ----------------------------------------------------------------------------

bool CViewAverageWave::InAnnotationMode() const
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc || doc->GetAnnotationLock() != 0) return false;
    return doc->GetMouseMode() == 2 || doc->GetMouseMode() == 3;
}

int CViewAverageWave::CalibrationWidth(int width) const
{
    return m_nGridColumns > 0 ? ::MulDiv(width, kCalibrationSquares, m_nGridColumns) : 0;
}

void CViewAverageWave::OnLButtonDown(UINT nFlags, CPoint point)
{
    SetFocus();
    CTavrionDoc* doc = GetTavrionDoc();
    CRect client;
    GetClientRect(&client);
    const int calibration = CalibrationWidth(client.Width());
    if (doc && !InAnnotationMode() && point.x < calibration) {
        const int target = m_nDocType == DOC_TYPE_REST ? 1 : m_nDocType == DOC_TYPE_RHYTHM ? 2
                         : m_nDocType == DOC_TYPE_MFER ? 7 : 0;
        if (target) doc->SendToNotifyWnd(WM_SENSE_REQUEST, target, point.x < calibration / 2 ? 1 : 0);
    }
    CWaveView::OnLButtonDown(nFlags, point);
}

void CViewAverageWave::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (!InAnnotationMode()) {
        int sample = 0;
        const int lead = GetClickLead(point, sample);
        if (lead >= 0) OpenEnlargedBeat(lead, sample);
    }
    CWaveView::OnLButtonDblClk(nFlags, point);
}

void CViewAverageWave::OpenEnlargedBeat(int lead, int sample)
{
    CTavrionDoc* doc = GetTavrionDoc();
    CRect client;
    GetClientRect(&client);
    _ENLARGED_BEAT_REQUEST request;
    request.pDoc = doc;
    request.nDocType = m_nDocType;
    if (doc && doc->GetDisplaySizeMode() == 5) {
        request.dDotsPerMMX = doc->GetPixelPerMMX();
        request.dDotsPerMMY = doc->GetPixelPerMMY();
    } else if (m_nGridColumns > 0 && m_nGridRows > 0) {
        request.dDotsPerMMX = static_cast<double>(client.Width()) / m_nGridColumns;
        request.dDotsPerMMY = static_cast<double>(client.Height()) / m_nGridRows;
    }
    request.nLead = lead;
    request.nSample = sample;
    request.nWindowStart = m_nWindowStart;
    request.nSampleCount = GetSampleCount(0);
    request.bLimbLead = lead < 6;
    request.pParent = this;
    if (CEnlargedBeatOpener::Open(request) != IDOK) return;
    CWnd* parent = GetParent();
    CWnd* grandparent = parent ? parent->GetParent() : nullptr;
    if (grandparent) grandparent->SendMessage(WM_BEAT_ENLARGED, 0, 0);
}

void CViewAverageWave::OnMouseMove(UINT nFlags, CPoint point)
{
    if (InAnnotationMode()) {
        ShowEnlargedPreview(point);
    } else {
        SetCurrentCursor(::LoadCursor(nullptr, IDC_ARROW));
        ShowEnlargedPreview(point);
        ::SetCursor(GetCurrentCursor());
    }
    CWaveView::OnMouseMove(nFlags, point);
}

void CViewAverageWave::OnMouseLeave()
{
    m_magnifier.Leave();
}

int CViewAverageWave::GetClickLead(CPoint point, int& sample)
{
    CRect client;
    GetClientRect(&client);
    const CRect area(client.left + CalibrationWidth(client.Width()), client.top, client.right, client.bottom);
    if (!area.PtInRect(point) || m_nColumns <= 0 || m_nRows <= 0) return -1;
    int column = m_nColumns - 1;
    while (column > 0 && point.x < CellLeft(area, column)) --column;
    const int row = std::min(m_nRows - 1, (point.y - area.top) * m_nRows / std::max(1, area.Height()));
    const int lead = column * m_nRows + row;
    if (lead >= AVERAGE_VIEW_LEADS) return -1;

    // The sample under the cursor within this cell's trace, held to its window.
    const CCellWindow window = ColumnWindow(column, m_nGridColumns);
    const CRect trace = TraceRect(area, CellLeft(area, column), 0, 0, window, m_nGridColumns);
    sample = window.nStart;
    if (window.nSpan > 0 && trace.Width() > 0) {
        const int offset = ::MulDiv(point.x - trace.left, window.nSpan, trace.Width());
        sample = window.nStart + std::clamp(offset, 0, window.nSpan - 1);
    }
    return lead;
}
