// CViewExerAverage: the twelve-, six- and one-lead layouts. Every position is
// written in millimetres of the view's grid and turned into pixels of the
// drawing rectangle, so the same code draws the screen and the paper.
#include "analysisviews/ViewExerAverage.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"

namespace {

const wchar_t kRestCaption[] = L"安静時";
const COLORREF kPrintGrey = RGB(127, 127, 127);
const int kNormalColour = -1;
const int kRestColour = 15;
const int kRows = 3;
const int kColumns = 4;

// Millimetres of the grid as pixels of the rectangle.
struct MmScale {
    CRect rect;
    int across;
    int down;
    int X(int mm) const { return MulDiv(rect.Width(), mm, across); }
    int Y(int mm) const { return MulDiv(rect.Height(), mm, down); }
};

}  // namespace

int CViewExerAverage::CellWidth(const ExerBeat& beat, int mmPerSecond, int fallbackMm, int width, int mmAcross) const
{
    if (beat.nLength < CExerBeatCell::MIN_SAMPLES || m_nSampleRate <= 0) return MulDiv(width, fallbackMm, mmAcross);
    return MulDiv(width, beat.nLength * mmPerSecond / m_nSampleRate, mmAcross);
}

// "%.2f mm/mV" at x, "25 mm/s" a step further, the filter state another step on.
void CViewExerAverage::DrawHeader(CDC* pDC, int x, int y, int mmStep27, int mmStep18) const
{
    const _EXERDATAITEM* item = CurrentItem();
    CExerViewDoc* doc = GetExerDoc();
    pDC->TextOut(x, y, CExerBeatCell::SenseText(doc->GetCommonSense(0)));
    pDC->TextOut(x + mmStep27, y, CString(L"25 mm/s"));
    pDC->TextOut(x + mmStep27 + mmStep18, y, CString((item->nFilterStatus & 0x18) ? L"Filter ON" : L"Filter OFF"));
}

BOOL CViewExerAverage::DrawColumns(CDC* pDC, const CRect& rect, int mmAcross, int mmDown, BOOL sixLeads, BOOL printing)
{
    const MmScale mm{rect, mmAcross, mmDown};
    const _EXERDATAITEM* item = CurrentItem();
    CExerViewDoc* doc = GetExerDoc();
    const CExerBeatCell painter(*this, *doc, *item, printing);
    const int W = rect.Width();
    const int H = rect.Height();
    const int V = static_cast<int>(doc->GetCommonSense(0) * H / mmDown);

    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextAlign(TA_LEFT | TA_TOP);
    // The header lies 1.6 font heights below the top, under the column labels.
    LOGFONT lf{};
    if (CFont* font = pDC->GetCurrentFont()) font->GetLogFont(&lf);
    DrawHeader(pDC, rect.left + mm.X(15), rect.top - static_cast<int>(lf.lfHeight * -1.6), mm.X(27), mm.X(18));

    const int band = 7 * H / 70;
    const int rows = H - band;
    const int step = rows / 6;
    const CString phase = CExerBeatCell::PhaseText(*item);
    for (int c = 0; c < kColumns; ++c) {
        const int x = rect.left + mm.X(15) + c * W / 5;
        const BOOL restColumn = sixLeads && c % 2 == 0;
        pDC->SetTextAlign(TA_LEFT | TA_TOP);
        pDC->TextOut(x, rect.top, restColumn ? CString(kRestCaption) : phase);
        const int colour = restColumn && !printing ? kRestColour : kNormalColour;
        for (int r = 0; r < kRows; ++r) {
            const int rowTop = rect.top + band + r * rows / 3;
            const int baseline = rowTop + step;
            const int cell = 3 * c + r;
            const ExerBeat& beat = m_beats[cell];
            const CRect box(x, baseline, x + CellWidth(beat, 25, 20, W, mmAcross), baseline + V);
            if (!painter.Draw(pDC, box, beat, colour, sixLeads ? colour : 0)) return FALSE;
            if (c == 0 && (V < H / 4 || r == 1)) {
                int height = V;
                if (!DrawCAL(pDC, rect.left + mm.X(5), baseline, mm.X(5), &height, FALSE, printing)) return FALSE;
            }
            const int displayLead = sixLeads ? item->nLead6[3 * (c / 2) + r] : cell;
            const int textY = rowTop + 2 * H / 70;
            pDC->SetTextAlign(TA_LEFT | TA_BOTTOM);
            pDC->TextOut(x, textY, painter.StText(beat.nStLevel, restColumn));
            pDC->SetTextAlign(TA_LEFT | TA_TOP);
            if (displayLead >= 0 && displayLead < EXER_LEAD_NAMES)
                pDC->TextOut(x, textY, item->strLeadName[displayLead]);
        }
    }
    return TRUE;
}

BOOL CViewExerAverage::Draw12LeadDisplayMode(CDC* pDC, CRect rect, int mmAcross, int mmDown, int, int printing)
{
    CDCStateSaver saver(*pDC);
    return DrawColumns(pDC, rect, mmAcross, mmDown, FALSE, printing);
}

BOOL CViewExerAverage::Draw6LeadDisplayMode(CDC* pDC, CRect rect, int mmAcross, int mmDown, int, int printing)
{
    CDCStateSaver saver(*pDC);
    return DrawColumns(pDC, rect, mmAcross, mmDown, TRUE, printing);
}

// A filled dot of the legend: its right edge at `right`, its centre a
// seventieth of the height above the baseline.
void CViewExerAverage::DrawLegendDot(CDC* pDC, int right, int baseline, int height, COLORREF colour) const
{
    const int diameter = 2 * height / 70;
    const int centreY = baseline - height / 70;
    CBrush brush(colour);
    CPen pen(PS_SOLID, 1, colour);
    CDCObjectSelector<CBrush> brushSelector(*pDC, &brush);
    CDCObjectSelector<CPen> penSelector(*pDC, &pen);
    pDC->Ellipse(right - diameter, centreY - diameter / 2, right, centreY - diameter / 2 + diameter);
}

BOOL CViewExerAverage::Draw1LeadDisplayMode(CDC* pDC, CRect rect, int mmAcross, int mmDown, int, int printing)
{
    CDCStateSaver saver(*pDC);
    const MmScale mm{rect, mmAcross, mmDown};
    const _EXERDATAITEM* item = CurrentItem();
    CExerViewDoc* doc = GetExerDoc();
    const CExerBeatCell painter(*this, *doc, *item, printing);
    const int H = rect.Height();
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextAlign(TA_LEFT | TA_TOP);
    DrawHeader(pDC, rect.left + mm.X(30), rect.top, mm.X(27), mm.X(18));

    const int band = 5 * H / 70;
    const int baseline = rect.top + band + (H - band) / 2;
    const int V = MulDiv(H, m_nOneLeadSteps, mmDown);
    int height = V;
    if (!DrawCAL(pDC, rect.left + mm.X(10), baseline, mm.X(10), &height, FALSE, printing)) return FALSE;
    if (item->nLead1 >= 0 && item->nLead1 < EXER_LEAD_NAMES)
        pDC->TextOut(rect.left + mm.X(30), baseline - H / 5, item->strLeadName[item->nLead1]);

    // Both beats at 50 mm/s, their J points 75 mm from the left edge.
    for (int cell = 0; cell < 2; ++cell) {
        const ExerBeat& beat = m_beats[cell];
        const int shiftMm = m_nSampleRate > 0 ? (beat.nReference + item->nOffset) * 50 / m_nSampleRate : 0;
        const int left = rect.left + mm.X(75) - mm.X(shiftMm);
        const CRect box(left, baseline, left + CellWidth(beat, 50, 40, rect.Width(), mmAcross), baseline + V);
        const int colour = cell == 0 ? kRestColour : kNormalColour;
        if (!painter.Draw(pDC, box, beat, colour, cell == 0 ? kRestColour : 0)) return FALSE;
    }

    const CString phase = CExerBeatCell::PhaseText(*item);
    const int legendX = rect.left + mm.X(110);
    const int restY = rect.top + 50 * H / 70;
    const int currentY = rect.top + static_cast<int>(0.75 * H);
    pDC->SetTextAlign(TA_LEFT | TA_BASELINE);
    pDC->TextOut(legendX, restY, CString(kRestCaption));
    pDC->TextOut(legendX, currentY, phase);
    DrawLegendDot(pDC, legendX - mm.X(2), restY, H, printing ? kPrintGrey : doc->GetWaveColor(15, 0));
    DrawLegendDot(pDC, legendX - mm.X(2), currentY, H, printing ? RGB(0, 0, 0) : doc->GetWaveColor(0, 0));

    pDC->SetTextAlign(TA_LEFT | TA_TOP);
    pDC->TextOut(rect.left + mm.X(90), rect.top + 20 * H / 70, CString(L"ST Level"));
    for (int i = 0; i < 2; ++i) {
        pDC->TextOut(rect.left + mm.X(90), rect.top + 25 * H / 70 + i * (H / 28),
                     i == 0 ? CString(kRestCaption) : phase);
        pDC->TextOut(rect.left + mm.X(113), rect.top + 25 * H / 70 + i * 2 * H / 70,
                     painter.StText(m_beats[i].nStLevel, i == 0));
    }
    return TRUE;
}
