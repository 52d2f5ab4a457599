#include "waveviews/ViewSerialComAve.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>

#include "core/DataItem.h"
#include "core/Globals.h"
#include "core/UserMessages.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/ClientDC.h"
#include "platform/ui/framework/Dialog.h"
#include "printdevice/ECGDC.h"
#include "waveviews/ViewSerialComRhy.h"

IMPLEMENT_DYNCREATE(CViewSerialComAve, CWaveView)

BEGIN_MESSAGE_MAP(CViewSerialComAve, CWaveView)
ON_WM_LBUTTONDBLCLK()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

namespace {

const unsigned kTagWindowStart = 3723u;
const unsigned kTagWindowEnd = 3724u;
const unsigned kTagAlignment = 3727u;
const int kDeviceRate = 500;   // the device records' beats: 600 samples over 1.2 s
const int kColourSlots = 29;

CViewSerialComAve::PopupRunner g_aveRunner = nullptr;

bool IsMferComparable(unsigned code)
{
    return code == 0x800C || code == 0x800F;
}

bool IsMissingST(const CString& text)
{
    return text.CompareNoCase(L"****") == 0;
}

}  // namespace

CViewSerialComAve::CViewSerialComAve()
{
    m_nDocType = DOC_TYPE_REST;
    m_nSenseID = 3;
    InitBackground(260, 160);
    CWaveViewMagnifier::Drawing drawing;
    drawing.drawView = [this](CDC* pDC, const CRect& draw, float) {
        return DrawView(pDC, draw, m_nGridColumns, m_nGridRows, FALSE, FALSE);
    };
    // The texts in the font the view paints them in, made as large as the picture.
    drawing.font = [this]() -> CFont* { return m_pBaseDoc ? m_pBaseDoc->GetDocFont(1) : nullptr; };
    m_magnifier.SetDrawing(std::move(drawing));
}

CViewSerialComAve::~CViewSerialComAve() = default;

void CViewSerialComAve::SetPopupRunner(PopupRunner runner)
{
    g_aveRunner = runner;
}

// ---- layout and slots ------------------------------------------------------------------------------

bool CViewSerialComAve::HalfWidthStyle() const
{
    return (m_nPageStyle == 42 && m_nDocType == DOC_TYPE_REST) || (m_nPageStyle == 46 && m_nDocType == DOC_TYPE_MFER);
}

void CViewSerialComAve::SetPageStyle(int style)
{
    m_nPageStyle = style;
    const bool narrow = (style == 43 && m_nDocType == DOC_TYPE_REST) || (style == 48 && m_nDocType == DOC_TYPE_MFER);
    int columns = 260;
    m_nRecordsPerPage = 10;
    if (HalfWidthStyle()) {
        columns = m_nViewIndex == 0 ? 135 : 125;
        m_nRecordsPerPage = 5;
    } else if (narrow) {
        columns = 135;
        m_nRecordsPerPage = 5;
    }
    m_nRows = 6;
    InitBackground(columns, m_nGridRows);
}

void CViewSerialComAve::SetSerialIndex(int slot, int index)
{
    if (slot >= 0 && slot < SERIAL_AVE_SLOTS) m_nSerialIndex[slot] = index;
}

int CViewSerialComAve::GetSerialIndex(int slot) const
{
    return slot >= 0 && slot < SERIAL_AVE_SLOTS ? m_nSerialIndex[slot] : -1;
}

bool CViewSerialComAve::ShowsChest() const
{
    // The left view of a half-width pair always shows the limb leads.
    if (HalfWidthStyle() && m_nViewIndex == 0) return false;
    return m_bShowChestLead != FALSE;
}

CTavrionDoc* CViewSerialComAve::KindDoc() const
{
    if (m_nDocType == DOC_TYPE_REST) return m_pRestDoc;
    if (m_nDocType == DOC_TYPE_MFER) return m_pMferDoc;
    return nullptr;
}

float CViewSerialComAve::Sense() const
{
    CTavrionDoc* doc = KindDoc();
    return doc ? doc->GetSense(3, 0) : 10.0f;
}

bool CViewSerialComAve::ChestHalf() const
{
    CTavrionDoc* doc = KindDoc();
    return doc && doc->IsChestHalf();
}

int CViewSerialComAve::OneMillivolt(int height, int gridY) const
{
    const float sense = Sense();
    int mv = static_cast<int>(height * sense / gridY);
    if (ChestHalf() && ShowsChest() && sense > 1.25f) mv /= 2;
    return mv;
}

_DATAITEM* CViewSerialComAve::SlotItem(int slot) const
{
    return CViewSerialComRhy::FindComparableItem(m_pBaseDoc, GetSerialIndex(slot));
}

// ---- loading ---------------------------------------------------------------------------------------

CString CViewSerialComAve::FormatST(const CString& text, float sense)
{
    if (IsMissingST(text)) return text;
    const long v = std::wcstol(text.GetString(), nullptr, 10);
    long m = static_cast<long>(static_cast<double>(v) * sense);
    m = m / 10 * 10;   // cut toward zero to a hundredth of a millimetre
    CString result;
    result.Format(L"%s%.2f", v < 0 ? L"-" : L"+", std::labs(m) * 0.001);
    return result;
}

void CViewSerialComAve::FreeSlot(int slot)
{
    for (int lead = 0; lead < SERIAL_AVE_LEADS; ++lead) {
        std::vector<short>().swap(m_beat[slot][lead]);
        m_nCount[slot][lead] = 0;
        m_strST[slot][lead].Empty();
    }
    m_nWindowStart[slot] = m_nWindowSpan[slot] = m_nAlign[slot] = 0;
    m_nSampleRate[slot] = kDeviceRate;
}

int CViewSerialComAve::ReadTag(_RESTDATAITEM* item, unsigned tag, int fallback) const
{
    if (!item || !item->pECGData || !m_pRestDoc) return fallback;
    CTavrionDoc* doc = m_pRestDoc;
    if (doc->ecgGetData(item->pECGData, tag, 0, nullptr, 0, ECG_DATA_RAW) <= 0) return fallback;
    BYTE bytes[2] = {};
    if (doc->ecgGetData(item->pECGData, tag, 0, bytes, sizeof(bytes), ECG_DATA_RAW) < 2) return fallback;
    return static_cast<short>(bytes[0] | (bytes[1] << 8));
}

void CViewSerialComAve::LoadSTTexts(int slot, const CString* texts)
{
    const float sense = Sense();
    for (int lead = 0; lead < SERIAL_AVE_LEADS; ++lead) {
        const float s = lead >= 6 && ChestHalf() && sense > 1.25f ? sense / 2 : sense;
        m_strST[slot][lead] = FormatST(texts[lead], s);
    }
}

void CViewSerialComAve::LoadDeviceSlot(int slot, _RESTDATAITEM* item)
{
    CTavrionDoc* doc = m_pRestDoc;
    doc->SetCurDataIndex(item->nID);
    if (item->b8000File == 0) {
        m_nWindowStart[slot] = ReadTag(item, kTagWindowStart, 0);
        m_nWindowSpan[slot] = ReadTag(item, kTagWindowEnd, 0) - m_nWindowStart[slot];
    } else {
        m_nWindowSpan[slot] = 600;
    }
    m_nAlign[slot] = ReadTag(item, kTagAlignment, -1);
    for (int lead = 0; lead < SERIAL_AVE_LEADS; ++lead) {
        const int count = doc->GetAverageWaveData(lead, nullptr, -1) / 2;
        if (count <= 0) continue;
        std::vector<short>& beat = m_beat[slot][lead];
        try {
            beat.resize(static_cast<size_t>(count));
        } catch (const std::bad_alloc&) {
            continue;
        }
        if (doc->GetAverageWaveData(lead, beat.data(), -1) <= 0) {
            std::vector<short>().swap(beat);
            continue;
        }
        m_nCount[slot][lead] = count;
    }
    LoadSTTexts(slot, item->strST);
}

void CViewSerialComAve::LoadMferSlot(int slot, _MFERDATAITEM* item)
{
    static_cast<CTavrionDoc*>(m_pMferDoc)->SetCurDataIndex(item->nID);
    CMFERParser* reader = item->pMFERParser;
    // The file's beats come at the file's own rate (PTB records: 1200 samples a beat).
    m_nSampleRate[slot] = std::max(1, static_cast<int>(std::lround(m_pMferDoc->GetSampleRate())));
    const int count = reader ? reader->GetWaveLength(2) / 2 : 0;
    m_nWindowSpan[slot] = count;
    for (int lead = 0; lead < SERIAL_AVE_LEADS && count > 0; ++lead) {
        std::vector<short>& beat = m_beat[slot][lead];
        try {
            beat.resize(static_cast<size_t>(count));
        } catch (const std::bad_alloc&) {
            continue;
        }
        if (reader->GetWaveData(2, lead, beat.data()) <= 0) {
            std::vector<short>().swap(beat);
            continue;
        }
        m_nCount[slot][lead] = count;
    }
    LoadSTTexts(slot, item->strST);
}

void CViewSerialComAve::LoadSlot(int slot)
{
    FreeSlot(slot);
    _DATAITEM* listed = SlotItem(slot);
    if (!listed) return;
    if (_RESTDATAITEM* rest = CViewSerialComRhy::FindRestItem(m_pRestDoc, listed))
        LoadDeviceSlot(slot, rest);
    else if (_MFERDATAITEM* mfer = CViewSerialComRhy::FindMferItem(m_pMferDoc, listed))
        LoadMferSlot(slot, mfer);
}

void CViewSerialComAve::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    CWaveView::OnUpdate(pSender, lHint, pHint);
    LoadSlots(lHint);
}

// The slots' beats read afresh (all, or the one a hint of 1 to 10 names),
// each document's current record put back after.
void CViewSerialComAve::LoadSlots(LPARAM lHint)
{
    m_magnifier.DropCache();
    CTavrionDoc* rest = m_pRestDoc;
    CTavrionDoc* mfer = m_pMferDoc;
    const int restIndex = rest ? rest->GetCurDataIndex() : -1;
    const int mferIndex = mfer ? mfer->GetCurDataIndex() : -1;
    if (lHint > 0 && lHint <= SERIAL_AVE_SLOTS) {
        LoadSlot(static_cast<int>(lHint) - 1);
    } else {
        const int loaded = std::min(SERIAL_AVE_SLOTS, m_nRecordsPerPage - (m_bOverlap ? 1 : 0));
        for (int slot = 0; slot < loaded; ++slot) LoadSlot(slot);
    }
    if (rest) rest->SetCurDataIndex(restIndex);
    if (mfer) mfer->SetCurDataIndex(mferIndex);
}

// ---- painting --------------------------------------------------------------------------------------

void CViewSerialComAve::OnDraw(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    if (client.Width() <= 0 || client.Height() <= 0 || !m_pBaseDoc) return;
    CDC* image = PaintImage(client.Width(), client.Height());
    if (!image) return;
    CDC& page = *image;
    CDCStateSaver pageState(page);
    CWaveView::OnDraw(&page);
    // Loaded as an update does, without asking for another paint: a record
    // without beats would otherwise repaint the view for ever.
    if (m_beat[0][0].empty()) {
        TakeAnnotationSettings();
        LoadSlots(0);
    }
    BOOL drawn = FALSE;
    {
        CDCStateSaver saver(page);
        CDCObjectSelector<CFont> font(page, m_pBaseDoc->GetDocFont(1));
        page.SetBkMode(TRANSPARENT);
        page.SetTextAlign(TA_LEFT | TA_TOP);
        page.SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
        drawn = DrawView(&page, client, m_nGridColumns, m_nGridRows, FALSE, FALSE);
    }
    // A failed drawing keeps the screen's previous picture.
    if (!drawn) return;
    DrawAnnotation(&page, client, FALSE, 1.0f);
    pDC->BitBlt(0, 0, client.Width(), client.Height(), &page, 0, 0, SRCCOPY);
}

BOOL CViewSerialComAve::DrawView(CDC* pDC, CRect rect, int gridX, int gridY, BOOL print, BOOL ignoreID)
{
    if (gridX <= 10 || gridY <= 0 || !m_pBaseDoc) return TRUE;
    CDCStateSaver saver(*pDC);
    pDC->SetTextColor(print ? RGB(0, 0, 0) : m_pBaseDoc->GetWaveColor(3));
    // A trace that could not be drawn is reported, so that the screen keeps
    // its previous picture and the printer hears of it.
    if (m_nViewIndex != 0) return DrawAveWave(pDC, rect, gridX, gridY, print, ignoreID);
    const int cal = MulDiv(rect.Width(), 10, gridX);
    DrawAveCAL(pDC, CRect(rect.left, rect.top, rect.left + cal, rect.bottom), gridX, gridY, print);
    return DrawAveWave(pDC, CRect(rect.left + cal, rect.top, rect.right, rect.bottom), gridX, gridY, print, ignoreID);
}

int CViewSerialComAve::GetCalPulseCount() const
{
    const float sense = Sense();
    const int n = m_nCalPulses;
    if (n == 6 && sense > 10.0f) return 1;
    if (n >= 3 && sense > 20.0f) return 1;
    if (sense == 40.0f) return 1;
    return n;
}

BOOL CViewSerialComAve::DrawAveCAL(CDC* pDC, CRect rect, int gridX, int gridY, BOOL print)
{
    (void)gridX;
    if (m_nCalPulses == 0 || gridY <= 0) return FALSE;
    const float sense = Sense();
    const int x = rect.left + MulDiv(rect.Width(), 2, 10);
    const int width = MulDiv(rect.Width(), 6, 10);
    int heights[2];
    heights[0] = heights[1] = static_cast<int>(rect.Height() * sense / gridY);
    if (ChestHalf() && sense > 1.25f) {
        heights[1] /= 2;
        if (ShowsChest()) heights[0] /= 2;
    }
    const int n = GetCalPulseCount();
    const int row = rect.Height() / n;
    for (int i = 0; i < n; ++i)
        DrawCAL(pDC, x, rect.top + row / 2 + i * row, width, heights, HalfWidthStyle() ? TRUE : FALSE, print);
    if (g_bDisplayVersion && !print) {
        CDCStateSaver saver(*pDC);
        pDC->SetTextAlign(TA_LEFT | TA_BOTTOM);
        pDC->TextOut(rect.right, rect.bottom, GetVersionText());
    }
    return TRUE;
}

BOOL CViewSerialComAve::CheckSerialFileID(_DATAITEM* a, _DATAITEM* b) const
{
    auto idOf = [this](_DATAITEM* listed) {
        if (_RESTDATAITEM* rest = CViewSerialComRhy::FindRestItem(m_pRestDoc, listed))
            return CString(rest->stPatient.strPatientID);
        if (_MFERDATAITEM* mfer = CViewSerialComRhy::FindMferItem(m_pMferDoc, listed))
            return CString(mfer->stPatient.strPatientID);
        return CString();
    };
    return idOf(a) == idOf(b) ? TRUE : FALSE;
}

bool CViewSerialComAve::SkippedOnPaper(_DATAITEM* listed, BOOL print, BOOL ignoreID) const
{
    if (!print || ignoreID) return false;
    _DATAITEM* current = m_pBaseDoc ? m_pBaseDoc->GetDataManager().GetItem(m_pBaseDoc->GetCurDataIndex()) : nullptr;
    return !CheckSerialFileID(listed, current);
}

double CViewSerialComAve::PrepareRecord(_DATAITEM* listed)
{
    _MFERDATAITEM* mfer = CViewSerialComRhy::FindRestItem(m_pRestDoc, listed)
                              ? nullptr
                              : CViewSerialComRhy::FindMferItem(m_pMferDoc, listed);
    if (!mfer) return 2.5;
    static_cast<CTavrionDoc*>(m_pMferDoc)->SetCurDataIndex(mfer->nID);
    return mfer->pMFERParser ? mfer->pMFERParser->GetMeasureSense() : 2.5;
}

void CViewSerialComAve::RestoreMferCurrent(int index)
{
    if (m_pMferDoc) static_cast<CTavrionDoc*>(m_pMferDoc)->SetCurDataIndex(index);
}

void CViewSerialComAve::ClampWindow(int& start, int& span, int rate, int capacity)
{
    const int floor = static_cast<int>(rate * 0.04);   // never before 40 ms
    if (start < floor) {
        span -= floor - start;
        start = floor;
    }
    if (start + span > capacity) span = capacity - start;
    if (span < 0) span = 0;
}

CString CViewSerialComAve::LeadName(_DATAITEM* listed, int lead) const
{
    const _LEAD_NAME_INFO* names = nullptr;
    if (_RESTDATAITEM* rest = CViewSerialComRhy::FindRestItem(m_pRestDoc, listed))
        names = &rest->stLeadName;
    else if (_MFERDATAITEM* mfer = CViewSerialComRhy::FindMferItem(m_pMferDoc, listed))
        names = &mfer->stLeadName;
    return names && lead >= 0 && lead < LEAD_NAME_CODES ? names->strDispName[lead] : CString();
}

int CViewSerialComAve::FitTrace(CRect& trace, int slot, int lead, int start, int span) const
{
    const int available = m_nCount[slot][lead] - start;
    if (available >= span) return span;
    trace.right = trace.left + (span > 0 ? MulDiv(std::max(available, 0), trace.Width(), span) : 0);
    return available;
}

BOOL CViewSerialComAve::DrawTrace(CDC* pDC, const CRect& trace, int slot, int lead, int start, int count, BOOL print,
                                  double unit)
{
    if (count <= 0 || m_beat[slot][lead].empty()) return TRUE;
    return DrawWave(pDC, trace, unit * 0.001, m_beat[slot][lead].data() + start, count, print, slot);
}

BOOL CViewSerialComAve::DrawAveWave(CDC* pDC, CRect rect, int gridX, int gridY, BOOL print, BOOL ignoreID)
{
    const int P = m_nRecordsPerPage;
    if (P <= 0 || gridX <= 10 || gridY <= 0) return TRUE;
    const int W = rect.Width(), H = rect.Height(), R = m_nRows, K = gridX;
    const int m = OneMillivolt(H, gridY);
    const double c = static_cast<double>(W) / P;
    const int mferIndex = m_pMferDoc ? static_cast<CTavrionDoc*>(m_pMferDoc)->GetCurDataIndex() : -1;
    CTavrionDoc* kind = KindDoc();
    const bool showST = kind && kind->IsShowST();
    int p = 0;
    for (int k = 0; k < P - (m_bOverlap ? 1 : 0) && k < SERIAL_AVE_SLOTS; ++k) {
        _DATAITEM* listed = SlotItem(k);
        if (!listed) {
            if (!print) ++p;   // an empty column on screen; later records close up on paper
            continue;
        }
        if (SkippedOnPaper(listed, print, ignoreID)) continue;
        m_dUnit = PrepareRecord(listed);
        // The whole area and a column in samples of this record's rate, at 25 mm/s.
        const int rate = m_nSampleRate[k];
        const int wholeSamples = rate * (K - 10) / 25;
        const int capacity = rate * ((K - 10) / P) / 25;
        Window w{m_nWindowStart[k], m_nWindowSpan[k]};
        ClampWindow(w.start, w.span, rate, capacity);
        int y = rect.top + H / (2 * R);
        for (int j = 0; j < R; ++j, y += H / R) {
            const int lead = RowLead(j);
            const int x0 = static_cast<int>(rect.left + p * c);
            {
                CDCStateSaver saver(*pDC);
                pDC->SetTextAlign(TA_LEFT | TA_BOTTOM);
                pDC->TextOut(x0 + MulDiv(W, 5, K - 10), y - MulDiv(H, 2, gridY), LeadName(listed, lead));
            }
            const int left = x0 + MulDiv(W, w.start, wholeSamples);
            CRect trace(left, y, left + MulDiv(W, w.span, wholeSamples), y + m);
            const int count = FitTrace(trace, k, lead, w.start, w.span);
            const int minWidth = count < w.span ? 0 : 1;
            if (showST && !IsMissingST(m_strST[k][lead]) && trace.Width() > minWidth)
                pDC->TextOut(x0 + MulDiv(W, 9, K - 10), y + MulDiv(H, 7, gridY), m_strST[k][lead]);
            if (!DrawTrace(pDC, trace, k, lead, w.start, count, print, m_dUnit)) {
                RestoreMferCurrent(mferIndex);
                return FALSE;
            }
        }
        ++p;
    }
    RestoreMferCurrent(mferIndex);
    if (!m_bOverlap) return TRUE;
    return DrawOverlapWave(pDC, CRect(rect.left + (P - 1) * W / P, rect.top, rect.right, rect.bottom), gridX, gridY,
                           print, ignoreID);
}

int CViewSerialComAve::AlignmentPoint(int slot, int previous) const
{
    return m_nAlign[slot] >= 0 ? m_nAlign[slot] : previous;
}

BOOL CViewSerialComAve::DrawOverlapWave(CDC* pDC, CRect rect, int gridX, int gridY, BOOL print, BOOL ignoreID)
{
    const int P = m_nRecordsPerPage;
    const int K = gridX, R = m_nRows;
    const int perColumn = (K - 10) / P;
    if (P <= 1 || perColumn <= 0 || gridY <= 0) return TRUE;
    const int W = rect.Width(), H = rect.Height();
    const double q = static_cast<double>(W) / perColumn;
    const int m = OneMillivolt(H, gridY);
    const int mferIndex = m_pMferDoc ? static_cast<CTavrionDoc*>(m_pMferDoc)->GetCurDataIndex() : -1;
    bool mferPresent = false;
    for (int k = 0; k < P - 1; ++k)
        if (_DATAITEM* listed = SlotItem(k)) mferPresent = mferPresent || IsMferComparable(listed->uSystemCode);
    bool first = true, haveReference = false;
    int reference = 0, align = 0;
    BOOL ok = TRUE;
    for (int k = 0; k < P - 1 && k < SERIAL_AVE_SLOTS && ok; ++k) {
        _DATAITEM* listed = SlotItem(k);
        if (!listed || SkippedOnPaper(listed, print, ignoreID)) continue;
        m_dUnit = PrepareRecord(listed);
        // The column and 40 ms in samples of this record's rate.
        const int rate = m_nSampleRate[k];
        const int Q = rate * perColumn / 25;
        const int floor = static_cast<int>(rate * 0.04);
        int start = m_nWindowStart[k], span = m_nWindowSpan[k], shift = 0;
        if (mferPresent) {
            start = std::max(start, floor);
            if (start + span >= Q) span = Q - start;
        } else if (span != 0) {
            bool cut = false;
            if (start + span >= Q) {
                span = Q - start;
                cut = true;
            }
            const int x0 = rect.left + MulDiv(W, start, Q), x1 = rect.left + MulDiv(W, start + span, Q);
            align = AlignmentPoint(k, align);
            const int point = span > 0 ? x0 + (x1 - x0) * (align - start) / span : x0;
            if (!haveReference) {
                reference = point;
                haveReference = true;
            } else if (m_nWindowSpan[0] != 0) {
                shift = reference - point;
            }
            if (cut && shift > 0) span -= MulDiv(shift, span, W);
        }
        if (span <= 0) continue;
        int y = rect.top + H / (2 * R);
        for (int j = 0; j < R && ok; ++j, y += H / R) {
            const int lead = RowLead(j);
            int x = rect.left + MulDiv(W, start, Q) + shift;
            int skip = 0;
            const int leftLimit = rect.left + static_cast<int>(q);
            if (x < leftLimit) {
                skip = static_cast<int>((leftLimit - x) * (static_cast<double>(rate / 25) * perColumn / W));
                x = leftLimit;
            }
            // Past the skipped samples the trace keeps the window's length
            // (pulled back below when the beat has fewer samples left).
            const int from = start + skip;
            CRect trace(x, y, x + MulDiv(W, span, Q), y + m);
            if (first) {
                CDCStateSaver saver(*pDC);
                pDC->SetTextAlign(TA_LEFT | TA_BOTTOM);
                pDC->TextOut(rect.left + MulDiv(W, 5, perColumn), y - MulDiv(H, 2, gridY), LeadName(listed, lead));
            }
            const int count = FitTrace(trace, k, lead, from, span);
            ok = DrawTrace(pDC, trace, k, lead, from, count, print, m_dUnit);
        }
        first = false;
    }
    RestoreMferCurrent(mferIndex);
    return ok;
}

BOOL CViewSerialComAve::Print(CECGDC* pDC, CRect rect, int widthMm, int heightMm, double pxPerMm, int unused,
                              BOOL skip, BOOL ignoreID)
{
    (void)unused;
    if (!pDC || !pDC->GetDC()) return FALSE;
    if (skip) return TRUE;
    CDCStateSaver saver(*pDC->GetDC());
    pDC->SetTextColor(RGB(0, 0, 0));
    const CRect paper(rect.left, rect.top, rect.left + static_cast<int>(widthMm * pxPerMm),
                      rect.top + static_cast<int>(heightMm * pxPerMm));
    return DrawView(pDC->GetDC(), paper, widthMm, heightMm, TRUE, ignoreID);
}

// ---- the mouse -------------------------------------------------------------------------------------

bool CViewSerialComAve::InAnnotationMode() const
{
    return m_pBaseDoc && !m_pBaseDoc->GetAnnotationLock() &&
           (m_pBaseDoc->GetMouseMode() == 2 || m_pBaseDoc->GetMouseMode() == 3);
}

int CViewSerialComAve::GetClickLead(CPoint point, int& sample, int& slot)
{
    CRect area;
    GetClientRect(&area);
    if (m_nViewIndex == 0 && m_nGridColumns > 0) area.left += MulDiv(area.Width(), 10, m_nGridColumns);
    if (!area.PtInRect(point) || m_nRecordsPerPage <= 0 || m_nGridRows <= 0) return -1;
    int textHeight = 0;
    if (m_pBaseDoc && GetSafeHwnd()) {
        CClientDC dc(this);
        CDCObjectSelector<CFont> font(dc, m_pBaseDoc->GetDocFont(1));
        TEXTMETRIC metric{};
        dc.GetTextMetrics(&metric);
        textHeight = metric.tmHeight;
    }
    const int H = area.Height();
    const int label = MulDiv(H, 5, m_nGridRows) + textHeight;
    const double column = static_cast<double>(area.Width()) / m_nRecordsPerPage;
    const int k = static_cast<int>((point.x - area.left) / column);
    for (int j = 0; j < m_nRows; ++j) {
        const int top = area.top + j * H / m_nRows - label;
        const int bottom = area.top + (j + 1) * H / m_nRows - (j + 1 < m_nRows ? label : 0);
        if (point.y < top || point.y >= bottom) continue;
        slot = std::min(k, SERIAL_AVE_SLOTS - 1);
        // The enlarged beat's average mode does not read this sample; it is
        // handed over as the comparison has always given it (the point across
        // the whole wave area, not within the slot's column).
        CRect client;
        GetClientRect(&client);
        const int across = std::max(1, static_cast<int>(client.right - area.left));
        sample = MulDiv(m_nWindowSpan[slot], point.x, across) + m_nWindowStart[slot];
        return RowLead(j);
    }
    return -1;
}

void CViewSerialComAve::OnLButtonDown(UINT nFlags, CPoint point)
{
    SetFocus();
    if (!InAnnotationMode() && m_nViewIndex == 0 && KindDoc() && m_nGridColumns > 0) {
        CRect client;
        GetClientRect(&client);
        const CRect pulse(client.left, client.top, client.left + MulDiv(client.Width(), 10, m_nGridColumns),
                          client.bottom);
        CWnd* notify = m_pBaseDoc ? m_pBaseDoc->GetNotifyWnd() : nullptr;
        if (pulse.PtInRect(point) && notify && notify->GetSafeHwnd())
            notify->SendMessage(WM_CAL_PULSE_CLICKED, m_nDocType == DOC_TYPE_MFER ? 7 : 1, 3);
    }
    CWaveView::OnLButtonDown(nFlags, point);
}

void CViewSerialComAve::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!InAnnotationMode()) SetCurrentCursor(g_hCursorMag);
    m_magnifier.Show(point);
    CWaveView::OnMouseMove(nFlags, point);
}

void CViewSerialComAve::OnMouseLeave()
{
    m_magnifier.Leave();
}

double CViewSerialComAve::DotsPerMm(bool across) const
{
    if (m_pBaseDoc && m_pBaseDoc->GetDisplaySizeMode() == 5)
        return across ? m_pBaseDoc->GetXScale() : m_pBaseDoc->GetYScale();
    CRect client;
    GetClientRect(&client);
    return across ? static_cast<double>(client.Width()) / std::max(1, m_nGridColumns)
                  : static_cast<double>(client.Height()) / std::max(1, m_nGridRows);
}

int CViewSerialComAve::RunPopup(const CSerialAvePopupRequest& request)
{
    m_pPopup.reset();
    SetPopupOpen(1);
    const int result = g_aveRunner(this, request, m_pPopup);
    SetPopupOpen(0);
    return result;
}

void CViewSerialComAve::OpenOverlap(const CSerialAvePopupRequest& base)
{
    CTavrionDoc* kind = KindDoc();
    if (!kind) return;
    CSerialAvePopupRequest request = base;
    request.bOverlap = true;
    request.pDoc = kind;
    request.nCompareCount = m_nRecordsPerPage - 1;
    request.fSense = kind->GetSense(3, 0);
    for (int k = 0; k < m_nRecordsPerPage - 1 && k < SERIAL_AVE_SLOTS; ++k) {
        _DATAITEM* listed = SlotItem(k);
        request.nDataIndex[k] = listed ? listed->nID : -1;
    }
    RunPopup(request);
}

void CViewSerialComAve::OpenBeat(CSerialAvePopupRequest request, int slot)
{
    _DATAITEM* listed = SlotItem(slot);
    CTavrionDoc* kind = KindDoc();
    if (!listed || !kind) return;
    CTavrionDoc* docs[3] = {m_pBaseDoc, m_pRestDoc, m_pMferDoc};
    COLORREF colours[3][kColourSlots] = {};
    for (int d = 0; d < 3; ++d)
        for (int c = 0; c < kColourSlots && docs[d]; ++c) colours[d][c] = docs[d]->GetWaveColor(c);
    CTavrionDoc* rest = m_pRestDoc;
    CTavrionDoc* mfer = m_pMferDoc;
    const int restIndex = rest ? rest->GetCurDataIndex() : -1;
    const int mferIndex = mfer ? mfer->GetCurDataIndex() : -1;
    if (_RESTDATAITEM* item = CViewSerialComRhy::FindRestItem(m_pRestDoc, listed)) {
        rest->SetCurDataIndex(item->nID);
        request.pDoc = rest;
        request.nDocType = DOC_TYPE_REST;
    } else if (_MFERDATAITEM* item = CViewSerialComRhy::FindMferItem(m_pMferDoc, listed)) {
        mfer->SetCurDataIndex(item->nID);
        request.pDoc = mfer;
        request.nDocType = DOC_TYPE_MFER;
    }
    if (request.pDoc) {
        // The dialog draws in the comparison's colours.
        for (int c = 0; c < kColourSlots; ++c) request.pDoc->SetWaveColor(c, colours[0][c]);
        request.fSpeed = kind->GetSpeed();
        request.fSense = kind->GetSense(3, 0);
        request.nFilter = kind->GetFilter();
        request.nWindowStart = m_nWindowStart[slot];
        // Position `slot` of the count table read flat: slot 0's count of
        // lead `slot`, as the dialog has always been given it (unused there).
        request.nFourth = m_nCount[0][slot];
        request.nSlot = slot;
        request.nSenseID = m_nSenseID;
        RunPopup(request);
    }
    if (rest) rest->SetCurDataIndex(restIndex);
    if (mfer) mfer->SetCurDataIndex(mferIndex);
    for (int d = 0; d < 3; ++d)
        for (int c = 0; c < kColourSlots && docs[d]; ++c) docs[d]->SetWaveColor(c, colours[d][c]);
}

void CViewSerialComAve::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (!InAnnotationMode() && g_aveRunner) {
        int sample = 0, slot = -1;
        const int lead = GetClickLead(point, sample, slot);
        const bool overlapColumn = m_bOverlap && slot == m_nRecordsPerPage - 1;
        CSerialAvePopupRequest request;
        request.pBaseDoc = m_pBaseDoc;
        request.nDocType = m_nDocType;
        request.pRestDoc = m_pRestDoc;
        request.pMferDoc = m_pMferDoc;
        request.dDotsPerMMX = DotsPerMm(true);
        request.dDotsPerMMY = DotsPerMm(false);
        request.nLead = lead;
        request.nSample = sample;
        if (lead >= 0 && overlapColumn)
            OpenOverlap(request);
        else if (lead >= 0)
            OpenBeat(request, slot);
    }
    CWaveView::OnLButtonDblClk(nFlags, point);
}

void CViewSerialComAve::HideAllPopupDlg(BOOL show)
{
    if (IsPopupOpen() && m_pPopup && m_pPopup->GetSafeHwnd()) m_pPopup->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CViewSerialComAve::CloseAllPopupDlg()
{
    if (!IsPopupOpen() || !m_pPopup || !m_pPopup->GetSafeHwnd()) return;
    m_pPopup->SendMessage(WM_COMMAND, IDCANCEL, 0);
    SetPopupOpen(0);
}
