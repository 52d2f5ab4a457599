#include "waveviews/ViewSerialComRhy.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "core/DataItem.h"
#include "core/Globals.h"
#include "core/MorvelanceApp.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/gdi/Image.h"
#include "platform/ui/framework/Dialog.h"
#include "platform/ui/windowing/Resources.h"
#include "printdevice/ECGDC.h"
#include "resources/ResourceIds.h"

IMPLEMENT_DYNCREATE(CViewSerialComRhy, CWaveView)

BEGIN_MESSAGE_MAP(CViewSerialComRhy, CWaveView)
ON_WM_SIZE()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONDBLCLK()
ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
END_MESSAGE_MAP()

namespace {

const int kStyleOneLead = 13;
const int kStyleSixLeads = 29;

bool IsRestCode(unsigned code)
{
    const unsigned low = code & 0xFF;
    return low == 0 || low == 254 || low == 255 || low == 11 || low == 226 || low == 227;
}

bool IsComparable(unsigned code)
{
    return IsRestCode(code) || code == 0x800C || code == 0x800F;
}

bool IsMferListCode(unsigned code)
{
    return code == 0x8001 || code == 0x8003 || code == 0x800C || code == 0x800F || code == 0x7003 || code == 0x7004 ||
           code == 0x7006 || code == 0x7007 || (code >= 0x7011 && code <= 0x7016);
}

// v snapped down to the first of the ladder it reaches.
float SnapSpeed(float v)
{
    static const float kLadder[] = {50.0f, 25.0f, 12.5f, 10.0f, 5.0f};
    for (float step : kLadder)
        if (step <= v) return step;
    return 2.5f;
}

std::unique_ptr<CDC> NewImage(int width, int height)
{
    auto dc = std::make_unique<CDC>();
    if (!dc->Attach(platform::gdi::CreateImageDC(width, height))) return nullptr;
    return dc;
}

}  // namespace

CViewSerialComRhy::CViewSerialComRhy()
{
    InitBackground(130, 140);
    m_hDividerCursor = ::LoadCursorW(GetMorvelanceModule(), MAKEINTRESOURCE(IDC_CURSOR_DIVIDER));
}

CViewSerialComRhy::~CViewSerialComRhy() = default;

void CViewSerialComRhy::SetShowChestLead(BOOL show)
{
    if (show != m_bShowChestLead && m_pBaseDoc && m_pBaseDoc->GetAnnotationFlag()) DeleteAllAnnoInfo();
    m_bShowChestLead = show;
}

void CViewSerialComRhy::SetWaveStyle(_RHYTHM_WAVE_STYLE style, BOOL reinit)
{
    if (!m_pRestDoc || !m_pMferDoc || !m_pBaseDoc) return;
    m_nWaveStyle = style;
    if (style == kStyleOneLead) {
        m_nRows[0] = m_nRows[1] = m_nColumns[0] = m_nColumns[1] = 1;
        InitBackground(130, 30);
    } else if (style == kStyleSixLeads) {
        m_nRows[0] = m_nRows[1] = 6;
        m_nColumns[0] = m_nColumns[1] = 1;
        InitBackground(130, 140);
        if (reinit) {
            m_bInitialDivider = TRUE;
            SetScaleClear();
        }
    }
}

BOOL CViewSerialComRhy::GetPatientID(CString& id) const
{
    if (m_pRestItem) {
        id = m_pRestItem->stPatient.strPatientID;
        return TRUE;
    }
    if (m_pMferItem) {
        id = m_pMferItem->stPatient.strPatientID;
        return TRUE;
    }
    return FALSE;
}

CTavrionDoc* CViewSerialComRhy::RecordDoc() const
{
    if (m_nDocType == DOC_TYPE_REST) return static_cast<CTavrionDoc*>(m_pRestDoc);
    if (m_nDocType == DOC_TYPE_MFER) return static_cast<CTavrionDoc*>(m_pMferDoc);
    return nullptr;
}

float CViewSerialComRhy::Get1LeadRhythmSense() const
{
    const int n = LeadCount(0);
    if (n > 3 * kLongRecord) return 1.25f;
    if (n > 2 * kLongRecord) return 2.5f;
    if (n > kLongRecord) return 5.0f;
    // The documents keep the shown record's one-lead sensitivity as sense kind 9.
    CTavrionDoc* doc = RecordDoc();
    const float own = doc ? doc->GetSense(9, 0) : 0.0f;
    return own > 0.0f ? own : 10.0f;
}

float CViewSerialComRhy::Get1LeadRhyWaveSpeed(BOOL /*print*/) const
{
    const int n = LeadCount(0);
    // Without samples or grid past the pulse there is no fitting speed.
    if (n <= 0 || m_nSampleRate <= 0 || m_nGridColumns <= 10) return 2.5f;
    return SnapSpeed(static_cast<float>(m_nGridColumns - 10) / (static_cast<float>(n) / m_nSampleRate));
}

double CViewSerialComRhy::GetXRatioUnit() const
{
    const CTavrionDoc* doc = m_pRestItem ? static_cast<CTavrionDoc*>(m_pRestDoc)
                                         : m_pMferItem ? static_cast<CTavrionDoc*>(m_pMferDoc) : m_pBaseDoc;
    return doc ? doc->GetXScale() : 0.0;
}

double CViewSerialComRhy::GetYRatioUnit() const
{
    const CTavrionDoc* doc = m_pRestItem ? static_cast<CTavrionDoc*>(m_pRestDoc)
                                         : m_pMferItem ? static_cast<CTavrionDoc*>(m_pMferDoc) : m_pBaseDoc;
    return doc ? doc->GetYScale() : 0.0;
}

// ---- loading -------------------------------------------------------------------------------------

_DATAITEM* CViewSerialComRhy::FindComparableItem(CTavrionDoc* base, int index)
{
    if (!base || index < 0) return nullptr;
    int count = 0;
    for (_DATAITEM* item = base->GetListHeader(); item; item = item->pNext) {
        if (!IsComparable(item->uSystemCode)) continue;
        if (count++ == index) return item;
    }
    return nullptr;
}

bool CViewSerialComRhy::IsDeviceListCode(unsigned code)
{
    return IsRestCode(code);
}

bool CViewSerialComRhy::IsMferRecordCode(unsigned code)
{
    return IsMferListCode(code);
}

_RESTDATAITEM* CViewSerialComRhy::FindRestItem(CRestViewDoc* rest, const _DATAITEM* listed)
{
    if (!rest || !listed || !IsRestCode(listed->uSystemCode)) return nullptr;
    return rest->GetRestDataManager().GetItem(listed->strXMLPath, listed->strFilePath, listed->strThirdKey);
}

_MFERDATAITEM* CViewSerialComRhy::FindMferItem(CMFERViewDoc* mfer, const _DATAITEM* listed)
{
    if (!mfer || !listed || !IsMferListCode(listed->uSystemCode)) return nullptr;
    return mfer->GetMFERDataManager()->GetItem(listed->strXMLPath, listed->strFilePath, listed->strThirdKey);
}

_DATAITEM* CViewSerialComRhy::FindSerialItem() const
{
    return FindComparableItem(m_pBaseDoc, m_nSerialIndex);
}

bool CViewSerialComRhy::LoadLead(CTavrionDoc* doc, int lead, int slot)
{
    SharedSamples samples = doc->GetWholeRhythmWave(lead);
    if (!samples) return false;
    m_leadData[slot] = std::move(samples);
    return true;
}

void CViewSerialComRhy::LoadSamples(CTavrionDoc* doc, int id, int leadCount)
{
    doc->SetCurDataIndex(id);
    if (m_nWaveStyle == kStyleOneLead) {
        if (m_nRhythm1LeadID >= leadCount) m_nRhythm1LeadID = 1;
        LoadLead(doc, m_nRhythm1LeadID, 0);
    } else if (m_nWaveStyle == kStyleSixLeads) {
        for (int lead = 0; lead < SERIAL_VIEW_LEADS; ++lead) LoadLead(doc, lead, lead);
    }
}

void CViewSerialComRhy::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    CWaveView::OnUpdate(pSender, lHint, pHint);
    UpdateDrawDC();
    m_pRestItem = nullptr;
    m_pMferItem = nullptr;
    const int restIndex = m_pRestDoc ? static_cast<CTavrionDoc*>(m_pRestDoc)->GetCurDataIndex() : -1;
    const int mferIndex = m_pMferDoc ? static_cast<CTavrionDoc*>(m_pMferDoc)->GetCurDataIndex() : -1;
    for (SharedSamples& lead : m_leadData) lead = SharedSamples();
    if (_DATAITEM* listed = FindSerialItem()) {
        m_pRestItem = FindRestItem(m_pRestDoc, listed);
        m_pMferItem = FindMferItem(m_pMferDoc, listed);
        if (m_pRestItem)
            LoadSamples(static_cast<CTavrionDoc*>(m_pRestDoc), m_pRestItem->nID, m_pRestItem->nLeadCount);
        else if (m_pMferItem)
            LoadSamples(static_cast<CTavrionDoc*>(m_pMferDoc), m_pMferItem->nID,
                        m_pMferItem->pMFERParser ? m_pMferItem->pMFERParser->GetLeadCount() : 0);
    }
    m_nSampleRate = RecordSampleRate();
    // The documents' own current records come back.
    if (m_pRestDoc) static_cast<CTavrionDoc*>(m_pRestDoc)->SetCurDataIndex(restIndex);
    if (m_pMferDoc) static_cast<CTavrionDoc*>(m_pMferDoc)->SetCurDataIndex(mferIndex);
}

// ---- painting ------------------------------------------------------------------------------------

void CViewSerialComRhy::UpdateDrawDC()
{
    m_pPageDC.reset();
    m_pCleanPageDC.reset();
    // The magnified picture is of the same page: it goes with it.
    m_magnifier.DropCache();
    if (GetSafeHwnd()) InvalidateRect(nullptr, FALSE);
}

void CViewSerialComRhy::OnSize(UINT nType, int cx, int cy)
{
    CWaveView::OnSize(nType, cx, cy);
    SizingDivider();
    SizingScale();
    UpdateDrawDC();
}

int CViewSerialComRhy::RecordSampleRate() const
{
    // An MFER file keeps its own rate (PTB records 1000 Hz, MIT-BIH 360 Hz);
    // the device records are sampled at 500 Hz.
    CMFERParser* reader = !m_pRestItem && m_pMferItem ? m_pMferItem->pMFERParser : nullptr;
    const double rate = reader ? reader->GetSamplingFrequency() : 0.0;
    return rate >= 1.0 ? static_cast<int>(rate + 0.5) : kDeviceSampleRate;
}

double CViewSerialComRhy::AmplitudeUnit() const
{
    CMFERParser* reader = m_pMferItem ? m_pMferItem->pMFERParser : nullptr;
    return !m_pRestItem && reader ? reader->GetMeasureSense() : 1.25;
}

void CViewSerialComRhy::OnDraw(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    const int w = client.Width();
    const int h = client.Height();
    if (w <= 0 || h <= 0 || !m_pBaseDoc) return;
    if (m_pPageDC && m_pCleanPageDC) {
        m_pPageDC->BitBlt(0, 0, w, h, m_pCleanPageDC.get(), 0, 0, SRCCOPY);
    } else {
        m_pPageDC = NewImage(w, h);
        m_pCleanPageDC = NewImage(w, h);
        if (!m_pPageDC || !m_pCleanPageDC) {
            UpdateDrawDC();
            return;
        }
        CWaveView::OnDraw(m_pPageDC.get());
        {
            CDCStateSaver saver(*m_pPageDC);
            CDCObjectSelector<CFont> font(*m_pPageDC, m_pBaseDoc->GetDocFont(1));
            m_pPageDC->SetBkMode(TRANSPARENT);
            m_pPageDC->SetTextAlign(TA_LEFT | TA_TOP);
            m_pPageDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
            m_dAmplitudeUnit = AmplitudeUnit();
            DrawSerialComRhyView(m_pPageDC.get(), client, m_nGridColumns, m_nGridRows, FALSE, FALSE);
        }
        m_pCleanPageDC->BitBlt(0, 0, w, h, m_pPageDC.get(), 0, 0, SRCCOPY);
    }
    // The measuring tools only in measure mode.
    CTavrionDoc* doc = RecordDoc();
    if (doc && doc->GetMouseMode() == 1) {
        DrawDivider(m_pPageDC.get(), client, 1.0f, FALSE);
        DrawScale(m_pPageDC.get(), client, 1.0f);
    }
    if (m_bInitialDivider) {
        InitialDividerPos();
        m_bInitialDivider = FALSE;
    }
    DrawAnnotation(m_pPageDC.get(), client, FALSE, 1.0f);
    pDC->BitBlt(0, 0, w, h, m_pPageDC.get(), 0, 0, SRCCOPY);
}

BOOL CViewSerialComRhy::DrawSerialComRhyView(CDC* pDC, CRect rect, int gridX, int gridY, BOOL print,
                                             BOOL printTraces)
{
    if (gridX <= 10 || gridY <= 0) return FALSE;
    CDCStateSaver saver(*pDC);
    pDC->SetTextColor(print ? RGB(0, 0, 0) : m_pBaseDoc->GetWaveColor(3));
    const int calWidth = MulDiv(rect.Width(), 10, gridX);
    CalAutoSensPos(&rect, gridY, print);
    // The pane's caption follows what is drawn (sent from painting, as the panes expect).
    if (!print && GetSafeHwnd() && GetParent())
        GetParent()->SendMessage(WM_DISPLAY_INFO_CHANGED, static_cast<WPARAM>(m_nWaveStyle), 0);
    DrawSerialComRhyCAL(pDC, CRect(rect.left, rect.top, rect.left + calWidth, rect.bottom), gridX, gridY, print);
    if (print && !m_bSameID && !printTraces) return TRUE;
    if (m_nWaveStyle == kStyleOneLead) Draw1LeadWaveInfo(pDC, rect, gridX, gridY, print);
    return DrawSerialComRhyWave(pDC, CRect(rect.left + calWidth, rect.top, rect.right, rect.bottom), gridX, gridY,
                                print);
}

float CViewSerialComRhy::Sense() const
{
    if (m_nWaveStyle == kStyleOneLead) return Get1LeadRhythmSense();
    CTavrionDoc* doc = RecordDoc();
    return doc ? doc->GetSense(3, 0) : 10.0f;
}

float CViewSerialComRhy::Speed(BOOL print) const
{
    if (m_nWaveStyle == kStyleOneLead) return Get1LeadRhyWaveSpeed(print);
    CTavrionDoc* doc = RecordDoc();
    return doc ? doc->GetSpeed() : 25.0f;
}

bool CViewSerialComRhy::HalvesChest(float sense) const
{
    CTavrionDoc* doc = RecordDoc();
    return m_nWaveStyle == kStyleSixLeads && m_bShowChestLead && doc && doc->IsChestHalf() && sense > 1.25f;
}

int CViewSerialComRhy::OneMillivolt(int height, int gridY, float sense, bool chest) const
{
    double product = static_cast<double>(height) * sense / gridY;
    if (chest && HalvesChest(sense)) product /= 2.0;
    return static_cast<int>(product + 0.5);
}

void CViewSerialComRhy::DrawSerialComRhyCAL(CDC* pDC, CRect rect, int gridX, int gridY, BOOL print)
{
    const int rows = m_nRows[1];
    if (rows <= 0 || gridY <= 0) return;
    (void)gridX;
    const float sense = Sense();
    int count = rows;
    if (m_nWaveStyle == kStyleSixLeads && ((rows == 6 && sense > 10.0f) || sense == 40.0f)) count = 1;
    const int band = rect.Height() / count;
    int heights[2] = {OneMillivolt(rect.Height(), gridY, sense, true), 0};
    heights[1] = heights[0];
    for (int i = 0; i < count; ++i)
        DrawCAL(pDC, rect.left + MulDiv(rect.Width(), 2, 10), rect.top + band / 2 + i * band,
                MulDiv(rect.Width(), 6, 10), heights, FALSE, print);
}

int CViewSerialComRhy::SlotLead(int row, int column) const
{
    if (m_nWaveStyle == kStyleOneLead) return 0;
    const int lead = m_nRows[1] * column + row + (m_bShowChestLead && m_nWaveStyle == kStyleSixLeads ? 6 : 0);
    return lead >= 0 && lead < SERIAL_VIEW_LEADS && m_leadData[lead] ? lead : -1;
}

CString CViewSerialComRhy::LeadName(int lead) const
{
    const _LEAD_NAME_INFO* names = m_pRestItem ? &m_pRestItem->stLeadName
                                               : m_pMferItem ? &m_pMferItem->stLeadName : nullptr;
    return names && lead >= 0 && lead < LEAD_NAME_CODES ? names->strDispName[lead] : CString();
}

BOOL CViewSerialComRhy::DrawSerialComRhyWave(CDC* pDC, CRect rect, int gridX, int gridY, BOOL print)
{
    if (!m_pRestItem && !m_pMferItem) return TRUE;
    if (m_nWaveStyle == kStyleOneLead && print && IsLongTermFile()) return DrawLongRecord(pDC, rect, gridX, gridY);
    for (int column = 0; column < m_nColumns[0]; ++column)
        if (!DrawColumn(pDC, rect, column, gridX, gridY, print)) return FALSE;
    return TRUE;
}

BOOL CViewSerialComRhy::DrawColumn(CDC* pDC, const CRect& rect, int column, int gridX, int gridY, BOOL print)
{
    const float sense = Sense();
    const float speed = Speed(print);
    // A document without a speed has no samples per row.
    if (speed <= 0.0f) return TRUE;
    const int columns = std::max(1, m_nColumns[0]);
    m_nSamplesPerPage = static_cast<int>((static_cast<float>(m_nSampleRate) * (gridX - 10) / columns) / speed);
    if (m_nSamplesPerPage <= 0) return TRUE;
    const int width = rect.Width() / columns;
    const int left = rect.left + column * width;
    const int rows = m_nRows[1];
    const int h = rect.Height();
    const int* baselines = print ? m_nPrintBaseline : m_nScreenBaseline;
    int y = rect.top + h / (2 * rows);
    bool labelled = false;
    // The time ticks reach as far as the last row's trace.
    int traceRight = left + width;
    for (int row = 0; row < rows; ++row) {
        const int lead = SlotLead(row, column);
        if (lead < 0) continue;
        const int stored = baselines[lead];
        y = stored > 0 ? rect.top + stored : (row == 0 ? rect.top + h / (2 * rows) : y + h / rows);
        const int oneMv = OneMillivolt(h, gridY, sense, lead >= 6);
        if (m_nWaveStyle == kStyleOneLead && print && y + oneMv > rect.bottom) y = rect.top + h / 2;
        // The name 3 mm above the baseline, never above 4 mm from the top.
        pDC->SetTextAlign(TA_LEFT | TA_BOTTOM);
        const int nameY = std::max(y - MulDiv(h, 3, gridY), rect.top + MulDiv(h, 4, gridY));
        pDC->TextOut(left + MulDiv(width, 5, gridX), nameY,
                     LeadName(m_nWaveStyle == kStyleOneLead ? m_nRhythm1LeadID : lead));
        const int start = GetStartTime();
        const int remaining = LeadCount(lead) - start;
        if (remaining <= 0) continue;
        const int count = std::min(remaining, m_nSamplesPerPage);
        const int right = count < m_nSamplesPerPage ? left + MulDiv(count, width, m_nSamplesPerPage) : left + width;
        traceRight = right;
        if (!DrawWave(pDC, CRect(left, y, right, y + oneMv), m_dAmplitudeUnit * 0.001, m_leadData[lead].samples.get() + start,
                      count, print, -1))
            return FALSE;
        if (!labelled && !(print && m_nWaveStyle == kStyleOneLead)) {
            DrawTimeLabel(pDC, left + MulDiv(width, 5, gridX), nameY);
            labelled = true;
        }
    }
    if (print && GetShowMarkFlag()) {
        if (GetCurPrintBottom() <= 0) SetCurPrintBottom(rect.bottom);
        DrawMarkLine(pDC, speed, CRect(left, rect.top, traceRight, GetCurPrintBottom()), GetPrintScale());
    }
    return TRUE;
}

void CViewSerialComRhy::DrawTimeLabel(CDC* pDC, int x, int y)
{
    CString text;
    if (!TimeLabelText(text)) return;
    CDCStateSaver saver(*pDC);
    pDC->SetTextAlign(TA_LEFT | TA_TOP);
    pDC->TextOut(x, y, text);
}

BOOL CViewSerialComRhy::TimeLabelText(CString& text) const
{
    const unsigned code = m_pMferItem ? m_pMferItem->uSystemCode : 0;
    if (m_pRestItem || !m_pMferItem || !m_pMferItem->bTimeLabel || (code != 0x800C && code != 0x800F)) return FALSE;
    const int minutes = m_pMferItem->byStartMinute;
    const int seconds = m_pMferItem->byStartSecond;
    const double total = GetStartTime() / static_cast<double>(m_nSampleRate) + minutes * 60 + seconds;
    const int whole = static_cast<int>(total);
    if (total == whole)
        text.Format(L"%d:%02d", whole / 60, whole % 60);
    else
        text.Format(L"%d:%04.1f", whole / 60, total - (whole / 60) * 60);
    return TRUE;
}

BOOL CViewSerialComRhy::DrawLongRecord(CDC* pDC, const CRect& rect, int gridX, int gridY)
{
    const int n = LeadCount(0);
    const float speed = Get1LeadRhyWaveSpeed(TRUE);
    const int perLine = static_cast<int>((gridX - 10) / speed * static_cast<float>(m_nSampleRate));
    if (perLine <= 0) return TRUE;
    const int lines = (n + perLine - 1) / perLine;
    const int h = rect.Height();
    const int d = h - MulDiv(h, 10, gridY);
    const int oneMv = static_cast<int>(static_cast<double>(d) * Get1LeadRhythmSense() / gridY + 0.5);
    pDC->SetTextAlign(TA_LEFT | TA_TOP);
    pDC->TextOut(rect.left + MulDiv(rect.Width(), 5, gridX), rect.top + MulDiv(h, 5, gridY), LeadName(m_nRhythm1LeadID));
    for (int k = 0; k < lines; ++k) {
        const int y = rect.top + MulDiv(h, 10, gridY) + k * (d / lines);
        const int count = std::min(perLine, n - k * perLine);
        const int right = rect.left + MulDiv(rect.Width(), count, perLine);
        if (!DrawWave(pDC, CRect(rect.left, y, right, y + oneMv), m_dAmplitudeUnit * 0.001,
                      m_leadData[0].samples.get() + k * perLine, count, TRUE, -1))
            return FALSE;
    }
    return TRUE;
}

void CViewSerialComRhy::Draw1LeadWaveInfo(CDC* pDC, CRect rect, int /*gridX*/, int /*gridY*/, BOOL print)
{
    CDCStateSaver saver(*pDC);
    pDC->SetTextColor(print ? RGB(0, 0, 0) : m_pBaseDoc->GetWaveColor(3));
    pDC->SetTextAlign(TA_LEFT | TA_TOP);
    if (!print && g_bDisplayVersion) pDC->TextOut(rect.left, rect.top, GetVersionText());
    if (LeadCount(0) <= 0) return;
    const float sense = Get1LeadRhythmSense();
    const float speed = Get1LeadRhyWaveSpeed(print);
    CString senseText, speedText;
    if (sense == std::floor(sense))
        senseText.Format(L"%d mm/mV", static_cast<int>(sense));
    else
        senseText.Format(L"%3.2f mm/mV", sense);
    if (speed == std::floor(speed))
        speedText.Format(L"   %d mm/s", static_cast<int>(speed));
    else
        speedText.Format(L"   %5.2f mm/s", speed);
    pDC->SetTextAlign(TA_RIGHT | TA_TOP);
    pDC->TextOut(rect.right - MulDiv(rect.Width(), 5, std::max(1, m_nGridColumns)), rect.top, senseText + speedText);
}

// ---- printing ------------------------------------------------------------------------------------

BOOL CViewSerialComRhy::Print(CECGDC* pDC, CRect rect, int widthMm, int heightMm, double scale, int /*unused*/,
                              int printTraces)
{
    if (!pDC || !pDC->GetDC() || !m_pBaseDoc) return FALSE;
    CDCStateSaver saver(*pDC->GetDC());
    pDC->SetTextColor(RGB(0, 0, 0));
    SetPrintScale(scale);
    const CRect area(rect.left, rect.top, rect.left + static_cast<int>(widthMm * scale),
                     rect.top + static_cast<int>(heightMm * scale));
    m_dAmplitudeUnit = AmplitudeUnit();
    return DrawSerialComRhyView(pDC->GetDC(), area, widthMm, heightMm, TRUE, printTraces) != FALSE;
}

BOOL CViewSerialComRhy::PrintWaveInfo(CECGDC* pDC, CRect rect, BOOL force)
{
    if (!m_bSameID && !force) return TRUE;
    CTavrionDoc* doc = RecordDoc();
    if (!doc || !pDC || !pDC->GetDC()) return FALSE;
    CDC& dc = *pDC->GetDC();
    // The label: the record's acquisition time to the minute ("yyyy/mm/dd hh:mm");
    // a record without one has stars there and prints none.
    CString label = m_pRestItem ? m_pRestItem->stPatient.strAcqTime
                                : m_pMferItem ? m_pMferItem->stPatient.strAcqTime : CString();
    if (label.Find(L'*') >= 0) label.Empty();
    label = label.Left(16);
    // The line states the gain and speed the traces are printed at.
    float sense = Sense();
    if (HalvesChest(sense)) sense /= 2.0f;
    const float speed = Speed(TRUE);
    CString line;
    if (m_nDocType == DOC_TYPE_REST)
        line.Format(L"%.2f mm/mV  %.1f mm/s  %d Hz", sense, speed, doc->GetFilter());
    else if (m_pMferItem && m_pMferItem->pMFERParser)
        line.Format(L"%.2f mm/mV  %.1f mm/s  %s", sense, speed, m_pMferItem->pMFERParser->GetFilter().GetString());
    else
        line.Format(L"%.2f mm/mV  %.1f mm/s  ", sense, speed);
    CDCStateSaver saver(dc);
    dc.SetTextColor(RGB(0, 0, 0));
    dc.SetTextAlign(TA_LEFT | TA_TOP);
    dc.TextOut(rect.left, rect.top, label);
    dc.SetTextAlign(TA_CENTER | TA_TOP);
    dc.TextOut(rect.CenterPoint().x, rect.top, line);
    return TRUE;
}
