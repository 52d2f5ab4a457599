// CViewFinalCom1Lead: loading, drawing, double-clicks and printing of a
// master-step lead tile.
#include "analysisviews/ViewFinalCom1Lead.h"

#include <algorithm>

#include "analysisviews/ViewFinalShared.h"
#include "core/Globals.h"
#include "documents/FinalViewDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "printdevice/ECGDC.h"

IMPLEMENT_DYNCREATE(CViewFinalCom1Lead, CWaveView)

BEGIN_MESSAGE_MAP(CViewFinalCom1Lead, CWaveView)
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

namespace {

const int kGridColumns = 40;
const int kGridRows = 30;
const int kBeatSamples = 400;   // a beat of 400 samples fills its half
const int kLeadSamples = 600;

}  // namespace

CViewFinalCom1Lead::CViewFinalCom1Lead() : m_magnifier(*this)
{
    SetDocType(DOC_TYPE_FINAL);
    InitBackground(kGridColumns, kGridRows);
    CWaveViewMagnifier::Drawing drawing;
    drawing.drawView = [this](CDC* dc, const CRect& draw, float ratio) {
        DrawTile(dc, draw, ratio);
        return TRUE;
    };
    drawing.bTextSetup = FALSE;   // DispInformation scales the display font itself
    m_magnifier.SetDrawing(drawing);
}

CViewFinalCom1Lead::~CViewFinalCom1Lead() = default;

CFinalViewDoc* CViewFinalCom1Lead::FinalDoc() const
{
    return DYNAMIC_DOWNCAST(CFinalViewDoc, GetTavrionDoc());
}

// ---- loading ---------------------------------------------------------------------------------

void CViewFinalCom1Lead::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    CWaveView::OnUpdate(pSender, lHint, pHint);
    m_magnifier.DropCache();
    CFinalViewDoc* doc = FinalDoc();
    _FINALDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    if (!item) return;
    m_sRestShown = item->sRestStatus;
    // The right half shows the current comparison, so its own flag decides.
    const int current = item->nCurLoadIndex;
    const bool inRange = item->pLoadInfo && current >= 0 && current < item->nLoadCount;
    m_sLoadShown = inRange ? item->pLoadInfo[current].sStatus : 0;
    m_rest.assign(kLeadSamples, 0);
    m_load.assign(kLeadSamples, 0);
    m_nRestCount = m_nLoadCount = 0;
    m_sRestST = m_sLoadST = -32768;
    LoadRest(doc);
    LoadCurrent(doc);
}

void CViewFinalCom1Lead::LoadRest(CFinalViewDoc* doc)
{
    const _FINALDATAITEM& item = *doc->GetCurrentDataItem();
    const int code = static_cast<int>(item.uSystemCode);
    const UINT lead = CTavrionDoc::GetDataLeadID(static_cast<UINT>(m_nLead), code);
    std::vector<short> block = ReadFinalBlock(doc, -1);
    if (block.empty() || m_nLead < 0 || lead >= static_cast<UINT>(FINAL_ST_LEADS)) {
        m_rest.clear();
        return;
    }
    m_nRestCount = std::max(0, doc->GetWaveData(block.data(), static_cast<UINT>(m_nLead), m_rest.data(), code,
                                                 item.nRestStart, item.nRestEnd));
    m_sRestST = item.sRestST[lead];
}

void CViewFinalCom1Lead::LoadCurrent(CFinalViewDoc* doc)
{
    const _FINALDATAITEM& item = *doc->GetCurrentDataItem();
    const int current = item.nCurLoadIndex;
    if (current < 0) {
        m_load.clear();
        return;
    }
    if (!item.pLoadInfo || current >= item.nLoadCount) return;
    const int code = static_cast<int>(item.uSystemCode);
    const UINT lead = CTavrionDoc::GetDataLeadID(static_cast<UINT>(m_nLead), code);
    if (m_nLead < 0 || lead >= static_cast<UINT>(FINAL_ST_LEADS)) return;
    std::vector<short> block = ReadFinalBlock(doc, FINAL_CURRENT_LOAD);
    if (block.empty()) return;
    const _FINAL_LOAD_INFO& load = item.pLoadInfo[current];
    m_nLoadCount = std::max(0, doc->GetWaveData(block.data(), static_cast<UINT>(m_nLead), m_load.data(), code,
                                                 load.nStart, load.nEnd));
    m_sLoadST = load.sST[lead];
}

// ---- drawing -----------------------------------------------------------------------------------

void CViewFinalCom1Lead::OnDraw(CDC* pDC)
{
    PaintFinalOffScreen(*this, pDC, [&](CDC* dc, const CRect& client) {
        CWaveView::OnDraw(dc);
        DrawTile(dc, client, 1.0f);
        DrawAnnotation(dc, client, FALSE, 1.0f);
    });
}

void CViewFinalCom1Lead::DrawTile(CDC* pDC, CRect rect, float ratio)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!pDC || !doc) return;
    DispInformation(pDC, rect, FALSE, FALSE, ratio);
    DrawBeats(pDC, rect, static_cast<int>(doc->GetCommonSense(0) * rect.Height() / kGridRows), FALSE);
}

void CViewFinalCom1Lead::DrawBeat(CDC* pDC, CRect half, int millivolt, const std::vector<short>& samples, int count,
                                  BOOL print)
{
    if (samples.empty() || count <= 0) return;
    count = std::min(count, kBeatSamples);
    const int w = half.Width();
    const int left = half.left + w * ((kBeatSamples - count) / 2) / kBeatSamples;
    const int middle = half.top + half.Height() / 2;
    const CRect beat(left, middle, left + w * count / kBeatSamples, middle + millivolt);
    DrawWave(pDC, beat, m_fScale * 0.001, const_cast<short*>(samples.data()), count, print, -1);
}

void CViewFinalCom1Lead::DrawBeats(CDC* pDC, CRect rect, int millivolt, BOOL print)
{
    const int w = rect.Width() / 2;
    if (m_sRestShown) DrawBeat(pDC, CRect(rect.left, rect.top, rect.left + w, rect.bottom), millivolt, m_rest, m_nRestCount, print);
    if (m_sLoadShown)
        DrawBeat(pDC, CRect(rect.left + w, rect.top, rect.left + 2 * w, rect.bottom), millivolt, m_load, m_nLoadCount, print);
}

void CViewFinalCom1Lead::DispInformation(CDC* pDC, CRect rect, BOOL print, BOOL noFrame, float ratio)
{
    CFinalViewDoc* doc = FinalDoc();
    const _FINALDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    if (!pDC || !doc) return;
    CDCStateSaver state(*pDC);
    CFont scaled;
    CDCObjectSelector<CFont> font(*pDC);
    SetUpFinalText(*pDC, doc, print, ratio, font, scaled);

    CPen thin(PS_SOLID, 1, RGB(0, 0, 0));
    CPen heavy(PS_SOLID, 3, RGB(0, 0, 0));
    CPen heavier(PS_SOLID, 6, RGB(0, 0, 0));
    const bool framed = !noFrame && item && m_nLead >= 0 && m_nLead == item->nDescentLead;
    CDCObjectSelector<CPen> pen(*pDC, framed ? (print ? &heavier : &heavy) : &thin);
    const int mid = rect.left + rect.Width() / 2;
    pDC->MoveTo(mid, rect.top);
    pDC->LineTo(mid, rect.bottom);
    if (framed) {
        // On screen the frame stays inside the client area's last pixels.
        const int right = print ? rect.right : rect.right - 2;
        const int bottom = print ? rect.bottom : rect.bottom - 2;
        const POINT frame[] = {{rect.left, rect.top}, {right, rect.top}, {right, bottom}, {rect.left, bottom}, {rect.left, rect.top}};
        pDC->Polyline(frame, 5);
    }
    if (!item || m_nLead < 0 || m_nLead >= FINAL_ST_LEADS) return;
    pDC->SetTextAlign(TA_CENTER | TA_TOP);
    pDC->TextOut(rect.left + rect.Width() / 12, rect.top, item->stLeadName.strDispName[m_nLead]);
    if (print) return;
    pDC->SetTextAlign(TA_CENTER | TA_BOTTOM);
    const int y = rect.bottom - rect.Height() / 30;
    if (m_sRestShown && !m_rest.empty() && m_sRestST != -32768)
        pDC->TextOut(rect.left + rect.Width() / 4, y, (m_nLead == 0 ? CString(L"ST[mm]") : CString()) + FinalSTText(m_sRestST));
    if (m_sLoadShown && !m_load.empty() && m_sLoadST != -32768)
        pDC->TextOut(rect.left + 3 * rect.Width() / 4, y, FinalSTText(m_sLoadST));
}

// ---- mouse -------------------------------------------------------------------------------------

void CViewFinalCom1Lead::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    CFinalViewDoc* doc = FinalDoc();
    if (doc && !IsFinalAnnotationMode(doc)) {
        CRect client;
        GetClientRect(&client);
        const int half = client.Width() / 2;
        const int gap = static_cast<int>(g_dXUnit);
        if (point.x < half - gap)
            OpenFinalEnlarge(doc, m_nLead, FINAL_REST_BEAT);
        else if (point.x >= half + gap)
            OpenFinalEnlarge(doc, m_nLead, FINAL_CURRENT_LOAD);
    }
    CWaveView::OnLButtonDblClk(nFlags, point);
}

void CViewFinalCom1Lead::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!IsFinalAnnotationMode(GetTavrionDoc())) {
        if (g_hCursorMag) SetCurrentCursor(g_hCursorMag);
        ShowEnlargedPreview(point);
    }
    CWaveView::OnMouseMove(nFlags, point);
}

void CViewFinalCom1Lead::OnMouseLeave()
{
    m_magnifier.Leave();
}

// ---- printing -------------------------------------------------------------------------------------

int CViewFinalCom1Lead::Print(CECGDC* pDC, CRect* pRect, float scale, int gridFlag, BOOL noFrame, int)
{
    CDC* dc = pDC ? pDC->GetDC() : nullptr;
    CTavrionDoc* doc = GetTavrionDoc();
    if (!dc || !pRect) return 0;
    const CRect rect = *pRect;
    CDCStateSaver state(*dc);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(RGB(0, 0, 0));
    const int squares = scale > 0.0f ? static_cast<int>((rect.bottom - rect.top) / scale) / 5 * 5 : 0;
    PrintWaveGrid(pDC, rect, m_nWidth, squares, scale, gridFlag, 1, 0);
    DispInformation(dc, rect, TRUE, noFrame, 1.0f);
    // A tile under five squares, enlarge times above its squares or of 0
    // would make the millivolt divide by nothing: such a tile has no beats.
    const int perMillivolt = m_nEnlargeTimes > 0 ? squares / m_nEnlargeTimes : 0;
    if (!doc || perMillivolt <= 0) return 1;
    const int millivolt = static_cast<int>(doc->GetCommonSense(0) * (6 * (rect.bottom - rect.top) / 7) / perMillivolt);
    DrawBeats(dc, rect, millivolt, TRUE);
    return 1;
}
