// CViewEnlargedOverlap: loading, alignment and drawing of the compared beats,
// with the zoom, pan and ruler of the enlarged views.
#include "waveviews/ViewEnlargedOverlap.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/DataItem.h"
#include "core/Globals.h"
#include "core/MemoryHelpers.h"
#include "core/TavrionDoc.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "platform/base/Kernel.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Message.h"

IMPLEMENT_DYNCREATE(CViewEnlargedOverlap, CWaveView)

BEGIN_MESSAGE_MAP(CViewEnlargedOverlap, CWaveView)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_SETCURSOR()
    ON_WM_KEYDOWN()
    ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

const UINT kTagBeatFirst = 3723;   // index 0: i16, first sample of the average-beat window
const UINT kTagBeatLast = 3724;    // index 0: i16, end of the average-beat window
const UINT kTagReference = 3727;   // index 0: i16, reference sample of the average beats
const int kFixedBeatWindow = 600;  // model-8000 records: samples 0 to 599
const int kDeviceRate = 500;       // the device records' beats: 600 samples over 1.2 s
const int kFrameSquares = 30;      // the drawing frame is 30 squares wide, centred

}  // namespace

CViewEnlargedOverlap::CViewEnlargedOverlap() : m_ptDrag(0, 0)
{
    std::fill(std::begin(m_nDataIndex), std::end(m_nDataIndex), -1);
    std::fill(std::begin(m_dResolution), std::end(m_dResolution), 2.5);
    std::fill(std::begin(m_nSampleRate), std::end(m_nSampleRate), kDeviceRate);
    if (g_hCursorHand) SetCurrentCursor(g_hCursorHand);
}

CViewEnlargedOverlap::~CViewEnlargedOverlap()
{
    for (int slot = 0; slot < ENLARGED_OVERLAP_SLOTS; ++slot) FreeSlot(slot);
}

void CViewEnlargedOverlap::FreeSlot(int slot)
{
    if (m_pWave[slot]) MemoryFree(m_pWave[slot]);
    m_pWave[slot] = nullptr;
}

BOOL CViewEnlargedOverlap::IsRestRecord(unsigned systemCode)
{
    const unsigned low = systemCode & 0xFF;
    return low == 0 || low == 254 || low == 255 || low == 11 || low == 226 || low == 227;
}

BOOL CViewEnlargedOverlap::IsMferRecord(unsigned systemCode)
{
    switch (systemCode) {
    case 0x8001: case 0x8003: case 0x800C: case 0x800F:
    case 0x7003: case 0x7004: case 0x7006: case 0x7007:
        return TRUE;
    default:
        return systemCode >= 0x7011 && systemCode <= 0x7016;
    }
}

void CViewEnlargedOverlap::SetSerialCount(int count)
{
    m_nSerialCount = std::max(0, std::min(count, ENLARGED_OVERLAP_SLOTS));
}

void CViewEnlargedOverlap::SetDataIndex(int slot, int index)
{
    if (slot >= 0 && slot < ENLARGED_OVERLAP_SLOTS) m_nDataIndex[slot] = index;
}

// ---- zoom ----------------------------------------------------------------------------

void CViewEnlargedOverlap::SetBackGridSize(double across, double down, double zoom)
{
    m_zoom.SetBackGridSize(*this, across, down, zoom);
}

BOOL CViewEnlargedOverlap::SetScaleRatio(int step)
{
    m_zoom.SetScaleRatio(*this, step);
    return TRUE;
}

void CViewEnlargedOverlap::OnSize(UINT nType, int cx, int cy)
{
    CWaveView::OnSize(nType, cx, cy);
    m_zoom.Refit(*this);
    Invalidate(TRUE);
}

// ---- loading ----------------------------------------------------------------------------

void CViewEnlargedOverlap::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    CWaveView::OnUpdate(pSender, lHint, pHint);
    int across = 0;
    int down = 0;
    GetGridCount(across, down);
    InitBackground(across, down);
    GetWaveData();
}

_DATAITEM* CViewEnlargedOverlap::SlotRecord(int index) const
{
    if (!m_pBaseDoc || index < 0) return nullptr;
    int position = 0;
    _DATAITEM* item = m_pBaseDoc->GetListHeader();
    for (; item && position < index; item = item->pNext) ++position;
    if (!item) return nullptr;
    if (IsRestRecord(item->uSystemCode)) return item;
    if (!IsMferRecord(item->uSystemCode) || !m_pMferDoc) return nullptr;
    // An MFER record takes part only with an average beat.
    _MFERDATAITEM* mfer = m_pMferDoc->GetMFERDataManager()->GetItem(item->strXMLPath, item->strFilePath,
                                                                   item->strThirdKey);
    return mfer && mfer->pMFERParser && mfer->pMFERParser->GetWaveLength(2) > 1 ? item : nullptr;
}

void CViewEnlargedOverlap::GetWaveData()
{
    const int restIndex = m_pRestDoc ? m_pRestDoc->GetCurDataIndex() : -1;
    const int mferIndex = m_pMferDoc ? m_pMferDoc->GetCurDataIndex() : -1;
    int lastReference = 0;
    for (int slot = 0; slot < ENLARGED_OVERLAP_SLOTS; ++slot) {
        FreeSlot(slot);
        m_nWindowStart[slot] = m_nWindowLength[slot] = m_nReference[slot] = 0;
        m_nSampleRate[slot] = kDeviceRate;
        _DATAITEM* record = slot < m_nSerialCount ? SlotRecord(m_nDataIndex[slot]) : nullptr;
        if (!record) continue;
        if (IsRestRecord(record->uSystemCode))
            ReadRestSlot(slot, record, lastReference);
        else
            ReadMferSlot(slot, record);
    }
    if (m_pRestDoc) m_pRestDoc->SetCurDataIndex(restIndex);
    if (m_pMferDoc) m_pMferDoc->SetCurDataIndex(mferIndex);
}

void CViewEnlargedOverlap::ClampWindow(int slot, int samples)
{
    // The window is the record's word: a start before the beat or an end past
    // it would read outside the samples, a reversed one has none.
    const int end = m_nWindowStart[slot] + m_nWindowLength[slot];
    const int start = std::max(0, std::min(m_nWindowStart[slot], samples));
    m_nWindowStart[slot] = start;
    m_nWindowLength[slot] = std::max(start, std::min(end, samples)) - start;
}

void CViewEnlargedOverlap::ReadRestSlot(int slot, _DATAITEM* record, int& lastReference)
{
    _RESTDATAITEM* item =
        m_pRestDoc ? m_pRestDoc->GetRestDataManager().GetItem(record->strXMLPath, record->strFilePath, CString())
                   : nullptr;
    if (!item) return;
    m_pRestDoc->SetCurDataIndex(item->nID);
    m_dResolution[slot] = 2.5;
    if (item->b8000File) {
        m_nWindowLength[slot] = kFixedBeatWindow;
    } else {
        int first = 0;
        int last = 0;
        ReadEnlargedRecordInt16(m_pRestDoc, item->pECGData, kTagBeatFirst, 0, &first);
        ReadEnlargedRecordInt16(m_pRestDoc, item->pECGData, kTagBeatLast, 0, &last);
        m_nWindowStart[slot] = first;
        m_nWindowLength[slot] = last - first;
    }
    const int count = m_pRestDoc->GetAverageWaveData(m_nLead, nullptr, -1) / 2;
    auto* buffer = count > 0 ? static_cast<short*>(MemoryAlloc(static_cast<UINT>(count) * sizeof(short))) : nullptr;
    if (buffer && m_pRestDoc->GetAverageWaveData(m_nLead, buffer, -1) > 0) {
        m_pWave[slot] = buffer;
    } else if (buffer) {
        MemoryFree(buffer);
    }
    ClampWindow(slot, m_pWave[slot] ? count : 0);
    // A record without a reference sample takes the offset of the one read before it.
    int reference = 0;
    if (ReadEnlargedRecordInt16(m_pRestDoc, item->pECGData, kTagReference, 0, &reference))
        lastReference = reference - m_nWindowStart[slot];
    m_nReference[slot] = lastReference;
}

void CViewEnlargedOverlap::ReadMferSlot(int slot, _DATAITEM* record)
{
    if (!m_pMferDoc) return;
    _MFERDATAITEM* item =
        m_pMferDoc->GetMFERDataManager()->GetItem(record->strXMLPath, record->strFilePath, record->strThirdKey);
    if (!item || !item->pMFERParser) return;
    m_pMferDoc->SetCurDataIndex(item->nID);
    m_dResolution[slot] = item->pMFERParser->GetMeasureSense();
    // The file's beats come at the file's own rate (PTB records: 1200 samples a beat).
    m_nSampleRate[slot] = std::max(1, static_cast<int>(std::lround(m_pMferDoc->GetSampleRate())));
    const int count = item->pMFERParser->GetWaveLength(2) / 2;
    m_nWindowLength[slot] = count;
    auto* buffer = count > 0 ? static_cast<short*>(MemoryAlloc(static_cast<UINT>(count) * sizeof(short))) : nullptr;
    if (buffer && item->pMFERParser->GetWaveData(2, m_nLead, buffer)) {
        m_pWave[slot] = buffer;
    } else if (buffer) {
        MemoryFree(buffer);
    }
    ClampWindow(slot, m_pWave[slot] ? count : 0);
}

// ---- drawing -------------------------------------------------------------------------------

CString CViewEnlargedOverlap::LeadName() const
{
    _DATAITEM* current = m_pBaseDoc ? m_pBaseDoc->GetCurDataItem() : nullptr;
    if (!current || m_nLead < 0 || m_nLead >= LEAD_NAME_CODES) return CString();
    CString name;
    if (IsRestRecord(current->uSystemCode) && m_pRestDoc) {
        if (_RESTDATAITEM* item =
                m_pRestDoc->GetRestDataManager().GetItem(current->strXMLPath, current->strFilePath, CString()))
            name = item->stLeadName.strDispName[m_nLead];
    } else if (IsMferRecord(current->uSystemCode) && m_pMferDoc) {
        if (_MFERDATAITEM* item = m_pMferDoc->GetMFERDataManager()->GetItem(current->strXMLPath,
                                                                          current->strFilePath, current->strThirdKey))
            name = item->stLeadName.strDispName[m_nLead];
    }
    name.TrimRight();
    return name;
}

void CViewEnlargedOverlap::OnDraw(CDC* pDC)
{
    if (!pDC) return;
    CWaveView::OnDraw(pDC);
    // The paint wiped whatever ruler figure was on screen.
    m_ruler.SetClear(TRUE);
    _DATAITEM* current = m_pBaseDoc ? m_pBaseDoc->GetCurDataItem() : nullptr;
    if (!current || (!IsRestRecord(current->uSystemCode) && !IsMferRecord(current->uSystemCode))) return;
    CRect client;
    GetClientRect(&client);
    DrawEnlargedLabels(pDC, GetTavrionDoc(), client, LeadName(), m_zoom.GetStep());
    int across = 0;
    int down = 0;
    GetGridCount(across, down);
    DrawView(pDC, client, across, down);
    m_ruler.Paint(pDC, client, EnlargedRulerColour(GetTavrionDoc()));
}

int CViewEnlargedOverlap::SampleX(int left, int w, int sample, int samplesAcross) const
{
    return left + MulDiv(w, sample, samplesAcross);
}

void CViewEnlargedOverlap::DrawSlot(CDC* pDC, int slot, CRect trace)
{
    if (!m_pWave[slot]) return;
    DrawWave(pDC, trace, m_dResolution[slot] * 0.001, m_pWave[slot] + m_nWindowStart[slot], m_nWindowLength[slot],
             FALSE, slot);
}

BOOL CViewEnlargedOverlap::DrawView(CDC* pDC, CRect rect, int gridAcross, int gridDown)
{
    const int w = rect.Width();
    const int h = rect.Height();
    // A view never sized has no frame to draw in.
    if (!pDC || !m_pBaseDoc || w <= 0 || h <= 0 || gridAcross <= 0 || gridDown <= 0) return TRUE;
    const int left = rect.left + m_nDragHorizontal +
                     static_cast<int>(w * (1.0 - static_cast<double>(kFrameSquares) / gridAcross) / 2);
    const int baseline = rect.top + h / 2 + m_nDragVertical;
    const int pixelsPerMillivolt = static_cast<int>(h * static_cast<double>(m_fSense) / gridDown);

    bool aligned = true;
    for (int slot = 0; slot < m_nSerialCount; ++slot) {
        _DATAITEM* record = m_pBaseDoc->GetDataManager().GetItem(m_nDataIndex[slot]);
        if (record && IsMferRecord(record->uSystemCode)) aligned = false;
    }
    bool haveReference = false;
    int referenceX = 0;
    for (int slot = 0; slot < m_nSerialCount; ++slot) {
        const int length = m_nWindowLength[slot];
        // The view across in samples of this record's rate, at 25 mm/s.
        const int samplesAcross = m_nSampleRate[slot] * gridAcross / 25;
        if (!m_pBaseDoc->GetDataManager().GetItem(m_nDataIndex[slot]) || length <= 0 || samplesAcross <= 0) continue;
        const int xa = SampleX(left, w, m_nWindowStart[slot], samplesAcross);
        const int xb = SampleX(left, w, m_nWindowStart[slot] + length, samplesAcross);
        const int referenceOffset = (xb - xa) * m_nReference[slot] / length;
        int shift = 0;
        if (aligned && slot == 0) {
            referenceX = xa + referenceOffset;
            haveReference = true;
        } else if (aligned && haveReference) {
            shift = referenceX - xa - referenceOffset;
        }
        DrawSlot(pDC, slot, CRect(xa + shift, baseline, xb + shift, baseline + pixelsPerMillivolt));
    }
    return TRUE;
}

// ---- mouse and keys ---------------------------------------------------------------------------

void CViewEnlargedOverlap::SendReading()
{
    CRect client;
    GetClientRect(&client);
    const int w = client.Width();
    const int h = client.Height();
    int across = 0;
    int down = 0;
    GetGridCount(across, down);
    // The amplitude is read at the gain the beats are drawn at.
    const float sense = m_fSense;
    if (w <= 0 || h <= 0) return;
    const CPoint p0 = m_ruler.GetPoint(0);
    const CPoint p1 = m_ruler.GetPoint(1);
    const int ms = static_cast<int>(across * std::abs(p1.x - p0.x) * 40.0 / w);   // 40 ms a square
    const int uv = EnlargedRulerMicrovolts(down, std::abs(p1.y - p0.y), h, sense);
    SendToEnlargedDialog(*this, WM_ENLARGED_RULER_READING, static_cast<WPARAM>(ms), static_cast<LPARAM>(uv));
}

void CViewEnlargedOverlap::Press(CPoint point)
{
    if (PressEnlargedRuler(*this, m_ruler, point)) return;
    m_ptDrag = point;
    m_bDragging = TRUE;
}

// The view has no annotations of its own: its mouse messages end in the
// default processing, not in the annotation handling of CWaveView.
void CViewEnlargedOverlap::OnLButtonDown(UINT nFlags, CPoint point)
{
    Press(point);
    CView::OnLButtonDown(nFlags, point);
}

void CViewEnlargedOverlap::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    Press(point);
    CView::OnLButtonDblClk(nFlags, point);
}

BOOL CViewEnlargedOverlap::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    return CWaveView::OnSetCursor(pWnd, nHitTest, message);
}

void CViewEnlargedOverlap::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_ruler.GetStatus() == RULER_STATUS_OFF) {
        if (m_bDragging && !(nFlags & MK_LBUTTON)) m_bDragging = FALSE;
        if (m_bDragging) {
            CRect client;
            GetClientRect(&client);
            const int w = client.Width();
            const int h = client.Height();
            m_nDragVertical = EnlargedPanOffset(m_nDragVertical, point.y - m_ptDrag.y, h);
            m_nDragHorizontal = EnlargedPanOffset(m_nDragHorizontal, point.x - m_ptDrag.x, w);
            m_ptDrag = point;
            SendToEnlargedDialog(*this, WM_ENLARGED_PAN, static_cast<WPARAM>(-m_nDragHorizontal),
                         static_cast<LPARAM>(-m_nDragVertical));
        }
    } else if (MoveEnlargedRuler(*this, m_ruler, nFlags, point)) {
        SendReading();
    }
    CView::OnMouseMove(nFlags, point);
}

void CViewEnlargedOverlap::OnLButtonUp(UINT nFlags, CPoint point)
{
    m_bDragging = FALSE;
    CView::OnLButtonUp(nFlags, point);
}

void CViewEnlargedOverlap::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    BOOL moved = FALSE;
    if (!KeyEnlargedRuler(*this, m_ruler, nChar, &moved)) return;
    if (moved) SendReading();
    CWaveView::OnKeyDown(nChar, nRepCnt, nFlags);
}

BOOL CViewEnlargedOverlap::PreTranslateMessage(MSG* pMsg)
{
    return PreTranslateEnlargedView(*this, pMsg);
}
