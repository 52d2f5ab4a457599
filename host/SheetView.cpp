#include "host/SheetView.h"

#include <algorithm>

#include "core/TavrionDoc.h"
#include "documents/MFERViewDoc.h"
#include "host/CommandFailure.h"
#include "host/LeadNameSource.h"
#include "host/LeadSamples.h"
#include "platform/base/Kernel.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/mfer/MFERParser.h"
#include "printdevice/ECGDC.h"

namespace {
// Across the paper, in millimetres: a margin, the column of the lead name and
// its pulse, the traces, a margin. Down it: the caption line, then the rows.
const int kMarginMm = 2;
const int kPulseColumnMm = 10;
const int kCaptionMm = 6;
const int kScreenTraceMm = 250;   // the screen shows 10 s at 25 mm/s
const int kPaperColumns = kMarginMm + kPulseColumnMm + kScreenTraceMm + kMarginMm;
const int kSenseMmPerMv = 10;
const float kDefaultSpeed = 25.0f;

int TraceMm(int columns)
{
    return columns - 2 * kMarginMm - kPulseColumnMm;
}
}  // namespace

IMPLEMENT_DYNCREATE(CSheetView, CWaveView)

BEGIN_MESSAGE_MAP(CSheetView, CWaveView)
ON_WM_MOUSEMOVE()
ON_WM_MOUSELEAVE()
END_MESSAGE_MAP()

CSheetView::CSheetView()
{
    CWaveViewMagnifier::Drawing drawing;
    drawing.drawView = [this](CDC* pDC, const CRect& draw, float) {
        DrawView(pDC, draw, m_nGridColumns, m_nGridRows, 0, FALSE);
        return TRUE;
    };
    m_magnifier.SetDrawing(std::move(drawing));
}

void CSheetView::OnMouseMove(UINT nFlags, CPoint point)
{
    m_magnifier.Show(point);
    CWaveView::OnMouseMove(nFlags, point);
}

void CSheetView::OnMouseLeave()
{
    m_magnifier.Leave();
}

void CSheetView::OnInitialUpdate()
{
    CWaveView::OnInitialUpdate();
    LayOutGrid();
}

void CSheetView::LayOutGrid()
{
    CRect client;
    GetClientRect(&client);
    const int rows = client.Width() > 0 ? kPaperColumns * client.Height() / client.Width() : 0;
    InitBackground(kPaperColumns, rows);
}

void CSheetView::OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint)
{
    m_leads.clear();
    m_nMissingLeads = 0;
    CTavrionDoc* doc = GetTavrionDoc();
    if (doc) {
        m_dScale = 0.00125;
        m_nSampleRate = 500;
        // MFER records carry their own rate and resolution.
        if (auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, doc)) {
            _MFERDATAITEM* item = mfer->GetCurrentDataItem();
            if (item && item->pMFERParser) m_dScale = item->pMFERParser->GetMeasureSense() * 0.001;
            const double rate = mfer->GetSampleRate();
            if (rate >= 1.0) m_nSampleRate = static_cast<int>(rate + 0.5);
        }
        const int count = doc->GetCurItemLeadCount();
        for (int lead = 0; lead < count && lead < 32; ++lead) {
            SharedSamples samples = host::ReadLeadSamples(*doc, lead);
            if (samples) {
                m_leads.push_back({lead, std::move(samples)});
            } else if (doc->GetRhythmWaveData(lead, nullptr, -1) > 1) {
                host::ReportFailure("lead #%d could not be read for the sheet: more than the memory there is", lead);
                ++m_nMissingLeads;
            }
        }
    }
    CWaveView::OnUpdate(pSender, lHint, pHint);
}

void CSheetView::OnDraw(CDC* pDC)
{
    LayOutGrid();
    CRect client;
    GetClientRect(&client);
    // Composed off screen and copied in one piece.
    CDC memDC;
    CBitmap bitmap;
    if (!memDC.CreateCompatibleDC(pDC) || !bitmap.CreateCompatibleBitmap(pDC, client.Width(), client.Height()))
        return;
    CDCObjectSelector<CBitmap> selector(memDC, &bitmap);
    CWaveView::OnDraw(&memDC);
    DrawView(&memDC, client, m_nGridColumns, m_nGridRows, 0, FALSE);
    pDC->BitBlt(0, 0, client.Width(), client.Height(), &memDC, 0, 0, SRCCOPY);
}

BOOL CSheetView::Print(CECGDC* pDC, CRect rect, int columns, int rows, int page)
{
    if (!pDC || !pDC->GetDC() || page < 0 || page >= GetPageCount(columns)) return FALSE;
    DrawView(pDC->GetDC(), rect, columns, rows, page, TRUE);
    return TRUE;
}

float CSheetView::Speed() const
{
    CTavrionDoc* doc = GetTavrionDoc();
    const float speed = doc ? doc->GetSpeed() : 0.0f;
    return speed > 0.0f ? speed : kDefaultSpeed;
}

int CSheetView::SamplesPerPage(int columns) const
{
    return std::max(1, static_cast<int>(TraceMm(columns) / Speed() * m_nSampleRate));
}

int CSheetView::GetPageCount(int columns) const
{
    size_t longest = 0;
    for (const Lead& lead : m_leads) longest = std::max(longest, lead.samples.count);
    const size_t perPage = static_cast<size_t>(SamplesPerPage(columns));
    return longest == 0 ? 1 : static_cast<int>((longest + perPage - 1) / perPage);
}

CSheetView::Scale CSheetView::ScaleFor(int rows) const
{
    Scale scale{Speed(), kSenseMmPerMv};
    // 10 mm/mV when a row has room for two pulses, else half that; the
    // caption says which.
    const int rowMm = m_leads.empty() ? 0 : (rows - kCaptionMm) / static_cast<int>(m_leads.size());
    if (rowMm < 2 * kSenseMmPerMv) scale.sense = kSenseMmPerMv / 2;
    return scale;
}

void CSheetView::DrawCaption(CDC* pDC, CRect rect, int columns, int rows, int page, const Scale& scale)
{
    CString text;
    text.Format(L"%g mm/s  %d mm/mV", static_cast<double>(scale.speed), scale.sense);
    const int pages = GetPageCount(columns);
    if (pages > 1) {
        CString of;
        of.Format(L"  %d/%d", page + 1, pages);
        text += of;
    }
    // Over the traces, as the names are, leaving the pulse column clear.
    pDC->TextOut(rect.left + MulDiv(rect.Width(), kMarginMm + kPulseColumnMm, columns),
                 rect.top + MulDiv(rect.Height(), 1, rows), text);
}

void CSheetView::DrawView(CDC* pDC, CRect rect, int columns, int rows, int page, BOOL print)
{
    if (m_leads.empty() || columns <= TraceMm(0) || rows <= kCaptionMm) return;
    CDCStateSaver state(*pDC);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(RGB(0, 0, 0));
    const Scale scale = ScaleFor(rows);
    DrawCaption(pDC, rect, columns, rows, page, scale);

    const int leads = static_cast<int>(m_leads.size());
    const double pxPerMmX = static_cast<double>(rect.Width()) / columns;
    auto mmX = [&](int mm) { return MulDiv(rect.Width(), mm, columns); };
    auto mmY = [&](int mm) { return MulDiv(rect.Height(), mm, rows); };
    const int gain = mmY(scale.sense);
    const int top = rect.top + mmY(kCaptionMm);
    const int height = rect.bottom - top;
    const int perPage = SamplesPerPage(columns);
    const int first = page * perPage;
    CLeadNameSource names(GetTavrionDoc());
    for (int row = 0; row < leads; ++row) {
        Lead& lead = m_leads[row];
        const int rowTop = top + MulDiv(height, row, leads);
        const int rowHeight = top + MulDiv(height, row + 1, leads) - rowTop;
        const int baseline = rowTop + rowHeight * 2 / 3;
        const int left = rect.left + mmX(kMarginMm + kPulseColumnMm);
        CString fallback;
        fallback.Format(L"#%d", lead.nLead);
        // The name over the start of the trace, clear of the pulse.
        pDC->TextOut(left, rowTop, names.GetName(lead.nLead, fallback));
        int heights[1] = {gain};
        DrawCAL(pDC, rect.left + mmX(kMarginMm + 2), baseline, mmX(5), heights, FALSE, print);
        const int count = std::min(perPage, static_cast<int>(lead.samples.count) - first);
        if (count <= 0) continue;
        // The trace covers what its samples last at the page's speed.
        const int width = static_cast<int>(count * static_cast<double>(scale.speed) / m_nSampleRate * pxPerMmX + 0.5);
        const CRect trace(left, baseline, left + width, baseline + gain);
        DrawWave(pDC, trace, m_dScale, lead.samples.samples.get() + first, count, print, -1);
    }
}
