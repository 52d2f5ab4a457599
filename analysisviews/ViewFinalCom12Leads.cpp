// CViewFinalCom12Leads: loading, difference beats, page drawing, paging,
// clicks and printing of the master-step comparison page.
#include "analysisviews/ViewFinalCom12Leads.h"

#include <algorithm>

#include "analysisviews/ViewFinalShared.h"
#include "core/Globals.h"
#include "documents/FinalViewDoc.h"
#include "platform/base/Kernel.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "printdevice/ECGDC.h"

IMPLEMENT_DYNCREATE(CViewFinalCom12Leads, CWaveView)

BEGIN_MESSAGE_MAP(CViewFinalCom12Leads, CWaveView)
    ON_WM_LBUTTONDBLCLK()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

namespace {

const int kGridColumns = 310;
const int kGridRows = 180;
const int kRowsPerPage = 3;
const int kLeads = FINAL_ST_LEADS;
const int kBlockSamples = 600;                       // samples per lead block
const int kBlockShorts = kLeads * kBlockSamples;     // 7200 (the 14,400 bytes of a block)
const int kBeatSquares = 20;                         // a 400-sample beat spans 20 squares
const int kBeatSamples = 400;
const int kScreenStep = 25;                          // column step in squares
const int kPrintStep = 20;
const int kHitStep = 25;                             // the double-click grid, as the pane always had it
const int kHitPitch = 50;
const int kCalStripSquares = 10;
const short kNone = -32768;

bool WindowInBlock(int start, int end) { return start >= 0 && end <= kBlockSamples && start < end; }

}  // namespace

// The page's layout on one rectangle: squares to device units.
struct CViewFinalCom12Leads::Geometry {
    CRect rect;
    int gridX = kGridColumns;
    int gridY = kGridRows;
    int step = kScreenStep;
    int s = 0;          // large squares per post-load row
    int S = 0;          // small squares per post-load row
    float sense = 10.0f;
    UINT systemCode = 0;

    Geometry(CRect r, int gx, int gy, BOOL print, float mmPerMv, UINT code)
        : rect(r), gridX(std::max(1, gx)), gridY(std::max(1, gy)), step(print ? kPrintStep : kScreenStep),
          s((gridY / 5 - 7) / 3), S(5 * s), sense(mmPerMv), systemCode(code)
    {
    }
    int X(int squares) const { return rect.left + MulDiv(rect.Width(), squares, gridX); }
    int Y(int squares) const { return rect.top + MulDiv(rect.Height(), squares, gridY); }
    int Column(int i) const { return X(10 + i * step); }
    // Pixels of `samples` samples of a beat (20 squares a 400-sample beat).
    int SamplesPx(int samples) const
    {
        return static_cast<int>(static_cast<long long>(rect.Width()) * kBeatSquares * samples / (gridX * kBeatSamples));
    }
    int MillivoltPx() const { return static_cast<int>(sense * rect.Height() / gridY); }
    int PostLoadBaseline(int row) const { return Y(20 + (row + 1) * S); }
    int DifferenceBaseline(int row) const { return Y((s / 2 + row * s + 4) * 5); }
};

CViewFinalCom12Leads::CViewFinalCom12Leads() : m_magnifier(*this)
{
    SetDocType(DOC_TYPE_FINAL);
    InitBackground(kGridColumns, kGridRows);
    CWaveViewMagnifier::Drawing drawing;
    drawing.drawView = [this](CDC* dc, const CRect& draw, float ratio) {
        int gx = 0, gy = 0;
        GetGridCount(gx, gy);
        if (m_sRestShown) DrawPage(dc, draw, gx, gy, m_nCurPage, FALSE, ratio);
        return TRUE;
    };
    drawing.bTextSetup = FALSE;   // DispInformation scales the display font itself
    m_magnifier.SetDrawing(drawing);
}

CViewFinalCom12Leads::~CViewFinalCom12Leads() = default;

CFinalViewDoc* CViewFinalCom12Leads::FinalDoc() const
{
    return DYNAMIC_DOWNCAST(CFinalViewDoc, GetTavrionDoc());
}

const _FINAL_COMPARE_BEAT* CViewFinalCom12Leads::GetCompareBeat(int k) const
{
    return k >= 0 && k < static_cast<int>(m_compare.size()) ? &m_compare[static_cast<size_t>(k)] : nullptr;
}

// ---- loading ------------------------------------------------------------------------------

void CViewFinalCom12Leads::OnInitialUpdate()
{
    CWaveView::OnInitialUpdate();
}

void CViewFinalCom12Leads::ClearBuffers()
{
    m_rest.clear();
    m_nRestStart = m_nRestEnd = 0;
    m_load.clear();
    m_loadWave.clear();
    m_compare.clear();
    m_nLoadCount = 0;
}

void CViewFinalCom12Leads::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    CWaveView::OnUpdate(pSender, lHint, pHint);
    m_magnifier.DropCache();
    CFinalViewDoc* doc = FinalDoc();
    _FINALDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    if (!item) return;
    ClearBuffers();
    LoadRest(doc, *item);
    LoadPostLoad(doc, *item);
    if (m_nCurPage >= GetTotalPage()) m_nCurPage = 0;
}

void CViewFinalCom12Leads::LoadRest(CFinalViewDoc* doc, const _FINALDATAITEM& item)
{
    m_rest = ReadFinalBlock(doc, -1);
    if (!m_rest.empty()) {
        m_nRestStart = item.nRestStart;
        m_nRestEnd = item.nRestEnd;
        if (!CFinalViewDoc::AdjustWaveDataStartEnd(m_nRestStart, m_nRestEnd)) m_nRestStart = m_nRestEnd = 0;
    }
    m_sRestQrsOnset = item.sRestQrsOnset;
    std::copy(item.sRestST, item.sRestST + kLeads, m_sRestST);
    m_sRestShown = item.sRestStatus;
    m_sRestHeartRate = item.sRestHeartRate;
}

void CViewFinalCom12Leads::LoadPostLoad(CFinalViewDoc* doc, const _FINALDATAITEM& item)
{
    m_nLoadCount = item.pLoadInfo ? std::max(0, item.nLoadCount) : 0;
    m_load.assign(item.pLoadInfo, item.pLoadInfo + m_nLoadCount);
    m_loadWave.assign(static_cast<size_t>(m_nLoadCount), {});
    m_compare.assign(static_cast<size_t>(m_nLoadCount), {});
    for (int k = 0; k < m_nLoadCount; ++k) {
        m_load[static_cast<size_t>(k)].pAverageWave = nullptr;   // the view keeps its own samples
        m_loadWave[static_cast<size_t>(k)] = ReadFinalBlock(doc, k);
        if (!m_loadWave[static_cast<size_t>(k)].empty()) GetComparisonData(k);
    }
}

void CViewFinalCom12Leads::GetComparisonData(int k)
{
    _FINAL_COMPARE_BEAT& diff = m_compare[static_cast<size_t>(k)];
    diff.samples.assign(kBlockShorts + 1, 0);
    diff.nStart = diff.nEnd = 0;
    diff.sQrsOnset = 0;
    const _FINAL_LOAD_INFO& load = m_load[static_cast<size_t>(k)];
    const std::vector<short>& post = m_loadWave[static_cast<size_t>(k)];
    const int rs = m_nRestStart, re = m_nRestEnd, r = m_sRestQrsOnset;
    const int ps = load.nStart, pe = load.nEnd, p = load.sQrsOnset;
    // The record's alignment points are trusted only inside their windows,
    // and the windows only inside a lead block: anything else would read and
    // write outside the lead blocks. Such a beat has no difference window.
    if (m_rest.empty() || post.empty() || !WindowInBlock(rs, re) || !WindowInBlock(ps, pe)) return;
    if (r < rs || r >= re || p < ps || p >= pe) return;

    int a = r;
    int start = rs;
    if (r - rs > p - ps) {
        a = p;
        start = ps;
    }
    const int end = a + std::min(re - r, pe - p);
    for (int b = 0; b < kBlockShorts; b += kBlockSamples)
        for (int i = 0; i < end - start; ++i) {
            const int j = b + start + i;
            diff.samples[static_cast<size_t>(j)] =
                static_cast<short>(post[static_cast<size_t>(j - (a - p))] - m_rest[static_cast<size_t>(j - (a - r))]);
        }
    diff.nStart = start;
    diff.nEnd = end;
    diff.sQrsOnset = static_cast<short>(a);
}

// ---- paging -----------------------------------------------------------------------------------

int CViewFinalCom12Leads::GetTotalPage() const
{
    return m_nLoadCount <= 0 ? 1 : (m_nLoadCount + kRowsPerPage - 1) / kRowsPerPage;
}

int CViewFinalCom12Leads::SetCurrentPage(int page)
{
    const int previous = m_nCurPage;
    m_nCurPage = std::clamp(page, 0, GetTotalPage() - 1);
    return previous;
}

int CViewFinalCom12Leads::ChangeView(int step)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc) return 0;
    // The pane keeps the page in range; a page outside it would draw and
    // open records that do not exist.
    SetCurrentPage(m_nCurPage + step);
    if (doc->GetAnnotationFlag()) DeleteAllAnnoInfo();
    if (GetSafeHwnd()) {
        Invalidate(FALSE);
        UpdateWindow();
    }
    return m_nCurPage;
}

int CViewFinalCom12Leads::RowsOnPage(int page) const
{
    if (m_nLoadCount <= 0 || page < 0 || page >= GetTotalPage()) return 0;
    return page == GetTotalPage() - 1 ? (m_nLoadCount - 1) % kRowsPerPage + 1 : kRowsPerPage;
}

bool CViewFinalCom12Leads::HasValues(int k) const
{
    if (k < 0 || k >= m_nLoadCount) return false;
    const _FINAL_LOAD_INFO& load = m_load[static_cast<size_t>(k)];
    return load.sStatus != 0 && load.nEnd > load.nStart;
}

bool CViewFinalCom12Leads::HasBeat(int k) const
{
    return HasValues(k) && !m_loadWave[static_cast<size_t>(k)].empty();
}

// ---- drawing ------------------------------------------------------------------------------------

void CViewFinalCom12Leads::OnDraw(CDC* pDC)
{
    int gx = 0, gy = 0;
    GetGridCount(gx, gy);
    PaintFinalOffScreen(*this, pDC, [&](CDC* dc, const CRect& client) {
        CWaveView::OnDraw(dc);
        if (m_sRestShown) DrawPage(dc, client, gx, gy, m_nCurPage, FALSE, 1.0f);
        DrawAnnotation(dc, client, FALSE, 1.0f);
    });
}

void CViewFinalCom12Leads::DrawPage(CDC* pDC, CRect rect, int gridX, int gridY, int page, BOOL print, float ratio)
{
    DrawComCal(pDC, rect, gridX, gridY, page, print);
    DrawComWave(pDC, rect, gridX, gridY, page, print);
    DispInformation(pDC, rect, gridX, gridY, page, print, ratio);
}

void CViewFinalCom12Leads::DrawComCal(CDC* pDC, CRect rect, int gridX, int gridY, int page, BOOL print)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!pDC || !doc) return;
    const Geometry g(rect, gridX, gridY, print, doc->GetCommonSense(0), 0);
    int height[2] = {g.MillivoltPx(), 0};
    const int x = g.X(2);
    const int width = g.X(8) - x;
    DrawCAL(pDC, x, g.Y(20), width, height, FALSE, print);
    for (int row = 0; row < RowsOnPage(page); ++row) DrawCAL(pDC, x, g.PostLoadBaseline(row), width, height, FALSE, print);
}

int CViewFinalCom12Leads::CopyLeadWindow(const std::vector<short>& block, int column, int start, int end,
                                        std::vector<short>& out) const
{
    const CFinalViewDoc* doc = FinalDoc();
    const _FINALDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    const UINT lead = CTavrionDoc::GetDataLeadID(static_cast<UINT>(column), item ? static_cast<int>(item->uSystemCode) : 0);
    if (block.size() < static_cast<size_t>(kBlockShorts) || lead >= static_cast<UINT>(kLeads) || !WindowInBlock(start, end))
        return 0;
    const auto first = block.begin() + static_cast<long>(lead) * kBlockSamples + start;
    out.assign(first, first + (end - start));
    return end - start;
}

void CViewFinalCom12Leads::DrawRow(CDC* pDC, const Geometry& g, const std::vector<short>& block, int start, int end,
                                   int baseline, int shiftPx, int offsetPx, BOOL print, BOOL difference)
{
    std::vector<short> lead;
    const double scale = m_fScale * 0.001;
    for (int i = 0; i < kLeads; ++i) {
        const int count = CopyLeadWindow(block, i, start, end, lead);
        if (count <= 0) continue;
        const int left = g.Column(i) + shiftPx;
        const CRect beat(left, baseline + offsetPx, left + g.SamplesPx(count), baseline + offsetPx + g.MillivoltPx());
        if (difference)
            DrawComparisonWave(pDC, beat, scale, lead.data(), count, print);
        else
            DrawWave(pDC, beat, scale, lead.data(), count, print, -1);
    }
}

void CViewFinalCom12Leads::DrawComWave(CDC* pDC, CRect rect, int gridX, int gridY, int page, BOOL print)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!pDC || !doc) return;
    const Geometry g(rect, gridX, gridY, print, doc->GetCommonSense(0), 0);
    const int r = m_sRestQrsOnset;
    if (!RestWindowEmpty()) {
        // Every rest beat is raised by the first lead's sample at the alignment point.
        const int v = r >= 0 && r < kBlockSamples && !m_rest.empty() ? m_rest[static_cast<size_t>(r)] : 0;
        const int offset = g.sense > 0.0f ? static_cast<int>(v * rect.Height() / g.sense / g.gridY) : 0;
        DrawRow(pDC, g, m_rest, m_nRestStart, m_nRestEnd, g.Y(20), 0, offset, print, FALSE);
    }
    for (int row = 0; row < RowsOnPage(page); ++row) {
        const int k = page * kRowsPerPage + row;
        if (!HasBeat(k)) continue;
        const _FINAL_LOAD_INFO& load = m_load[static_cast<size_t>(k)];
        const _FINAL_COMPARE_BEAT& diff = m_compare[static_cast<size_t>(k)];
        if (diff.nEnd > diff.nStart) {
            const int shift = (r - diff.sQrsOnset) + diff.nStart - m_nRestStart;
            DrawRow(pDC, g, diff.samples, diff.nStart, diff.nEnd, g.DifferenceBaseline(row), g.SamplesPx(shift), 0,
                    print, TRUE);
        }
        // An alignment point outside its window aligns nothing: the beat stays unshifted.
        const bool aligned = !RestWindowEmpty() && r >= m_nRestStart && r < m_nRestEnd &&
                             load.sQrsOnset >= load.nStart && load.sQrsOnset < load.nEnd;
        const int shift = aligned ? (r - load.sQrsOnset) + load.nStart - m_nRestStart : 0;
        DrawRow(pDC, g, m_loadWave[static_cast<size_t>(k)], load.nStart, load.nEnd, g.PostLoadBaseline(row),
                g.SamplesPx(shift), 0, print, FALSE);
    }
}

void CViewFinalCom12Leads::DrawComparisonWave(CDC* pDC, CRect rect, double scale, short* samples, int count, BOOL print)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!pDC || !samples || count < 10) return;
    CPen pen(PS_SOLID, 1, print ? RGB(127, 127, 127) : (doc ? doc->GetWaveColor(0, 0) : RGB(0, 0, 0)));
    CDCObjectSelector<CPen> selection(*pDC, &pen);
    const int height = rect.Height();
    for (int i = 0; i < count; ++i) {
        const int x = rect.left + i * rect.Width() / count;
        pDC->MoveTo(x, rect.top);
        pDC->LineTo(x, rect.top - static_cast<int>(samples[i] * height * scale));
    }
    pDC->MoveTo(rect.left, rect.top);
    pDC->LineTo(rect.right, rect.top);
}

void CViewFinalCom12Leads::DrawValues(CDC* pDC, const Geometry& g, const short* st, short heartRate, int y)
{
    pDC->SetTextAlign(TA_CENTER | TA_TOP);
    for (int i = 0; i < kLeads; ++i) {
        const UINT lead = CTavrionDoc::GetDataLeadID(static_cast<UINT>(i), static_cast<int>(g.systemCode));
        if (lead >= static_cast<UINT>(kLeads) || st[lead] == kNone) continue;
        const CString text = (i == 0 ? CString(L"ST[mm]") : CString()) + FinalSTText(st[lead]);
        pDC->TextOut(g.X(25 + i * g.step), g.Y(y), text);
    }
    if (heartRate == kNone) return;
    CString rate;
    rate.Format(L"%d bpm", heartRate);
    pDC->TextOut(g.X(20), g.Y(y + 4), rate);
}

void CViewFinalCom12Leads::DispInformation(CDC* pDC, CRect rect, int gridX, int gridY, int page, BOOL print, float ratio)
{
    CFinalViewDoc* doc = FinalDoc();
    const _FINALDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    if (!pDC || !item) return;
    const Geometry g(rect, gridX, gridY, print, doc->GetCommonSense(0), item->uSystemCode);
    CDCStateSaver state(*pDC);
    CFont scaled;
    CDCObjectSelector<CFont> font(*pDC);
    SetUpFinalText(*pDC, doc, print, ratio, font, scaled);

    pDC->SetTextAlign(TA_LEFT | TA_TOP);
    for (int i = 0; i < kLeads; ++i) pDC->TextOut(g.Column(i), g.Y(1), item->stLeadName.strDispName[i]);
    pDC->TextOut(g.X(10), g.Y(6), CString(L"安静時"));
    const int rows = RowsOnPage(page);
    for (int row = 0; row < rows; ++row) {
        const int k = page * kRowsPerPage + row;
        const _FINAL_LOAD_INFO* load = k < m_nLoadCount ? &m_load[static_cast<size_t>(k)] : nullptr;
        CString time;
        time.Format(L"%d’%02d”", load ? static_cast<signed char>(load->byMinute) : 0,
                    load ? static_cast<signed char>(load->bySecond) : 0);
        pDC->TextOut(g.X(10), g.Y(g.S + 6 + row * g.S), CString(L"負荷後試験"));
        pDC->TextOut(g.X(10), g.Y(g.S + 11 + row * g.S), time);
    }
    DrawValues(pDC, g, m_sRestST, m_sRestHeartRate, 25);
    for (int row = 0; row < rows; ++row) {
        const int k = page * kRowsPerPage + row;
        // The record's values stand even when its samples could not be read.
        if (!HasValues(k)) continue;
        const _FINAL_LOAD_INFO& load = m_load[static_cast<size_t>(k)];
        DrawValues(pDC, g, load.sST, load.sHeartRate, g.S + 25 + row * g.S);
    }
}

// ---- mouse -------------------------------------------------------------------------------------

bool CViewFinalCom12Leads::HitCell(CPoint point, int* row, int* column) const
{
    CRect client;
    GetClientRect(&client);
    int gx = 0, gy = 0;
    GetGridCount(gx, gy);
    const Geometry g(client, gx, gy, FALSE, 0.0f, 0);
    // Rows 0 (rest) to the post-load rows of this page; the pitch is the
    // pane's 50 squares, as its users know it.
    for (int r = 0; r <= RowsOnPage(m_nCurPage); ++r)
        for (int c = 0; c < kLeads; ++c) {
            CRect cell(g.X(10 + kHitStep * c), g.Y(20 + kHitPitch * r - 20), g.X(10 + kHitStep * (c + 1)),
                       g.Y(20 + kHitPitch * r + 20));
            cell.IntersectRect(&cell, &client);
            if (!cell.PtInRect(point)) continue;
            *row = r;
            *column = c;
            return true;
        }
    return false;
}

void CViewFinalCom12Leads::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    CFinalViewDoc* doc = FinalDoc();
    int row = 0, column = 0;
    if (doc && !IsFinalAnnotationMode(doc) && m_sRestShown && HitCell(point, &row, &column))
        OpenFinalEnlarge(doc, column, row == 0 ? FINAL_REST_BEAT : m_nCurPage * kRowsPerPage + row - 1);
    CWaveView::OnLButtonDblClk(nFlags, point);
}

void CViewFinalCom12Leads::OnLButtonDown(UINT nFlags, CPoint point)
{
    SetFocus();
    CTavrionDoc* doc = GetTavrionDoc();
    if (doc && !IsFinalAnnotationMode(doc)) {
        CRect client;
        GetClientRect(&client);
        int gx = 0, gy = 0;
        GetGridCount(gx, gy);
        if (gx > 0 && point.x < MulDiv(client.Width(), kCalStripSquares, gx)) doc->SendToNotifyWnd(WM_CAL_PULSE_CLICKED, 6, 6);
    }
    CWaveView::OnLButtonDown(nFlags, point);
}

void CViewFinalCom12Leads::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!IsFinalAnnotationMode(GetTavrionDoc())) {
        if (g_hCursorMag) SetCurrentCursor(g_hCursorMag);
        ShowEnlargedPreview(point);
    }
    CWaveView::OnMouseMove(nFlags, point);
}

void CViewFinalCom12Leads::OnMouseLeave()
{
    m_magnifier.Leave();
}

// ---- printing -------------------------------------------------------------------------------------

int CViewFinalCom12Leads::Print(CECGDC* pDC, CRect rect, int gridX, int gridY, double scale, int, int page)
{
    CDC* dc = pDC ? pDC->GetDC() : nullptr;
    if (!dc) return 0;
    if (!(scale > 0.0)) return 1;
    const int squares = static_cast<int>((rect.bottom - rect.top) / scale) / 5;
    const CRect block(rect.left, rect.top, rect.left + static_cast<int>(gridX * scale),
                      rect.top + squares * static_cast<int>(5 * scale));
    if (m_sRestShown) DrawPage(dc, block, gridX, gridY, page, TRUE, 1.0f);
    return 1;
}
