#include "host/SheetView.h"

#include "core/TavrionDoc.h"
#include "documents/MFERViewDoc.h"
#include "platform/base/Kernel.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/mfer/MFERParser.h"
#include "printdevice/ECGDC.h"

namespace {
const int kPaperColumns = 262;   // 2 mm margin, 10 mm pulse column, 250 mm of trace
const int kPulseColumnMm = 10;
const int kSenseMmPerMv = 10;
}  // namespace

IMPLEMENT_DYNCREATE(CSheetView, CWaveView)

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
    CTavrionDoc* doc = GetTavrionDoc();
    if (doc) {
        m_dScale = 0.00125;
        if (auto* mfer = DYNAMIC_DOWNCAST(CMFERViewDoc, doc)) {
            _MFERDATAITEM* item = mfer->GetCurrentDataItem();
            if (item && item->pMFERParser) m_dScale = item->pMFERParser->GetMeasureSense() * 0.001;
        }
        const int count = doc->GetCurItemLeadCount();
        for (int lead = 0; lead < count && lead < 32; ++lead) {
            const int bytes = doc->GetRhythmWaveData(lead, nullptr, -1);
            if (bytes <= 0) continue;
            std::vector<short> samples(static_cast<size_t>(bytes) / 2);
            if (doc->GetRhythmWaveData(lead, samples.data(), -1) > 0) m_leads.push_back(std::move(samples));
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
    DrawView(&memDC, client, m_nGridColumns, m_nGridRows, FALSE);
    pDC->BitBlt(0, 0, client.Width(), client.Height(), &memDC, 0, 0, SRCCOPY);
}

BOOL CSheetView::Print(CECGDC* pDC, CRect rect, int columns, int rows)
{
    if (!pDC || !pDC->GetDC()) return FALSE;
    DrawView(pDC->GetDC(), rect, columns, rows, TRUE);
    return TRUE;
}

void CSheetView::DrawView(CDC* pDC, CRect rect, int columns, int rows, BOOL print)
{
    if (m_leads.empty() || columns <= 0 || rows <= 0) return;
    const int leads = static_cast<int>(m_leads.size());
    auto mmX = [&](int mm) { return MulDiv(rect.Width(), mm, columns); };
    auto mmY = [&](int mm) { return MulDiv(rect.Height(), mm, rows); };
    // 10 mm/mV when a row has room for it, else half that.
    const int sense = rows / leads >= 2 * kSenseMmPerMv ? kSenseMmPerMv : kSenseMmPerMv / 2;
    const int gain = mmY(sense);
    for (int lead = 0; lead < leads; ++lead) {
        const int rowTop = rect.top + MulDiv(rect.Height(), lead, leads);
        const int rowHeight = MulDiv(rect.Height(), lead + 1, leads) - MulDiv(rect.Height(), lead, leads);
        const int baseline = rowTop + rowHeight * 2 / 3;
        int heights[1] = {gain};
        DrawCAL(pDC, rect.left + mmX(4), baseline, mmX(5), heights, FALSE, print);
        const CRect trace(rect.left + mmX(2 + kPulseColumnMm), baseline, rect.right - mmX(2), baseline + gain);
        std::vector<short>& samples = m_leads[lead];
        DrawWave(pDC, trace, m_dScale, samples.data(), static_cast<int>(samples.size()), print, -1);
    }
}
