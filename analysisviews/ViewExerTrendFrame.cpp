// CViewExerTrend: the frame (title, grid, labels, border), the curve
// primitives and the current-time line.
#include <cstdlib>

#include "analysisviews/ViewExerTrend.h"
#include "platform/gdi/DCObjectSelector.h"

namespace {

const int kStepSeconds = 15;

}  // namespace

void CViewExerTrend::DrawTrendFrame(CDC* pDC, int xStep, int yStep, int xCount, int yCount, int lineCount,
                                    const CString& unit, int heavy, int marker, int centred)
{
    const int plotLeft = static_cast<int>(m_dPlotLeft);
    const int plotRight = static_cast<int>(m_dPlotRight);
    const int plotTop = static_cast<int>(m_dPlotTop);
    const int plotBottom = static_cast<int>(m_dPlotTop + m_dPlotHeight);
    const double H = m_dPlotHeight;

    // 1. The title, a third of a line down on screen, a line down on paper.
    LOGFONT lf{};
    if (CFont* font = pDC->GetCurrentFont()) font->GetLogFont(&lf);
    const int fontHeight = std::abs(static_cast<int>(lf.lfHeight));
    pDC->SetTextAlign(TA_CENTER | TA_TOP);
    pDC->TextOut(plotLeft + (2 * m_nAreaWidth) / 5, m_nAreaY + (m_bPrinting ? fontHeight : fontHeight / 3), m_strTitle);

    // 2. Horizontal grid lines in the pen the caller selected.
    pDC->SetTextAlign(TA_RIGHT | TA_TOP);
    const double band = H / (lineCount + 1);
    for (int k = 1; k <= lineCount; ++k) {
        if (centred && k == lineCount / 2 + 1) continue;
        const int y = static_cast<int>(m_dPlotTop + k * band);
        pDC->MoveTo(plotLeft, y);
        pDC->LineTo(plotRight, y);
    }

    // 3. The recovery start.
    if (marker) {
        CDCObjectSelector<CPen> pen(*pDC, m_pMarkerPen);
        const int x = TimeToXPoint(m_dRecoveryStart / kStepSeconds);
        pDC->MoveTo(x, plotTop);
        pDC->LineTo(x, plotBottom);
    }

    // 4. Value labels and ticks.
    CDCObjectSelector<CPen> label(*pDC, m_pLabelPen);
    const int f = PrintFactorX(pDC);
    for (int k = 0; k < yCount; ++k) {
        const int value = centred ? (yCount / 2 - k) * yStep : (yCount - 1 - k) * yStep;
        const int y = yCount > 1 ? static_cast<int>(m_dPlotTop + static_cast<double>(k) / (yCount - 1) * H) : plotTop;
        CString text;
        text.Format(L"%d", value);
        pDC->TextOut(plotLeft - 3 * f, static_cast<int>(y - 2 * m_dCellHeight / 3), text);
        pDC->MoveTo(plotLeft - 3 * f, y);
        pDC->LineTo(plotLeft, y);
        if (centred && k == yCount / 2) {
            pDC->MoveTo(plotLeft, y);
            pDC->LineTo(plotRight, y);
        }
    }

    // 5. Axis labels and ticks.
    pDC->SetTextAlign(TA_CENTER | TA_TOP);
    const int g = PrintFactorY(pDC);
    for (int k = 0; k < xCount; ++k) {
        const int x = xCount > 1 ? static_cast<int>(m_dPlotLeft + static_cast<double>(k) / (xCount - 1) * m_dPlotWidth)
                                 : plotLeft;
        CString text;
        if (k == 0)
            text.Format(L"%d%s", 0, unit.GetString());
        else
            text.Format(L"%d", k * xStep);
        pDC->TextOut(x, plotBottom + 5 * g, text);
        pDC->MoveTo(x, plotBottom + 3 * g);
        pDC->LineTo(x, plotBottom);
    }

    // 6. The border.
    CDCObjectSelector<CPen> frame(*pDC, m_pFramePen);
    const int grow = heavy ? 1 : 0;
    const POINT border[] = {{plotLeft - grow, plotTop - grow},
                            {plotRight + grow, plotTop - grow},
                            {plotRight + grow, plotBottom + grow},
                            {plotLeft - grow, plotBottom + grow},
                            {plotLeft - grow, plotTop - grow}};
    pDC->Polyline(border, 5);
}

void CViewExerTrend::ClipToPlot(CDC* pDC, bool grown)
{
    const int grow = grown ? 1 : 0;
    pDC->IntersectClipRect(static_cast<int>(m_dPlotLeft), static_cast<int>(m_dPlotTop),
                           static_cast<int>(m_dPlotRight) + grow,
                           static_cast<int>(m_dPlotTop + m_dPlotHeight) + grow);
}

int CViewExerTrend::RecoveryX(int word) const
{
    return static_cast<int>(TimeToXPoint(word) - m_dPlotLeft) + TimeToXPoint(m_dRecoveryStart / kStepSeconds);
}

int CViewExerTrend::Word(const ExerTrendWords& words, int i, bool unsignedWords) const
{
    return unsignedWords ? words.Unsigned(i) : words.Signed(i);
}

bool CViewExerTrend::IsValid(const ExerTrendWords& words, int i, bool unsignedWords) const
{
    const int invalid = unsignedWords ? (m_nInvalid & 0xFFFF) : static_cast<short>(m_nInvalid);
    return Word(words, i, unsignedWords) != invalid;
}

void CViewExerTrend::DrawTrendPolyLine(CDC* pDC, long first, long second, const ExerTrendWords& exer,
                                       const ExerTrendWords& rec, bool unsignedWords)
{
    bool started = false;
    bool gap = false;
    auto point = [&](int x, int value) {
        const int y = ValueToYPoint(value);
        if (!started || gap)
            pDC->MoveTo(x, y);
        else
            pDC->LineTo(x, y);
        started = true;
        gap = false;
    };
    // Exercise words 1 to first / 2 - 1, word i + 1 at step i.
    for (int i = 0; i + 1 < first / 2 && exer.Has(i + 1); ++i) {
        if (IsValid(exer, i + 1, unsignedWords))
            point(ExerciseX(i), Word(exer, i + 1, unsignedWords));
        else
            gap = started;
    }
    // The recovery's first valid word joins the last exercise point, even
    // after the recovery's own leading missing words (and the exercise's
    // trailing ones); only a run of missing words after a drawn recovery
    // word leaves a gap.
    gap = false;
    bool recoveryDrawn = false;
    for (int j = 0; j < second / 2 && rec.Has(j); ++j) {
        if (IsValid(rec, j, unsignedWords)) {
            point(RecoveryX(j), Word(rec, j, unsignedWords));
            recoveryDrawn = true;
        } else {
            gap = recoveryDrawn;
        }
    }
}

void CViewExerTrend::DrawTrendPloyLineBase(CDC* pDC, long first, long second, const ExerTrendWords& exer,
                                           const ExerTrendWords& rec)
{
    auto y = [&](int value) { return ValueToYPoint(value); };
    const int recoveryStep = static_cast<int>(m_dRecoveryStart / kStepSeconds);
    // The exercise walk: words 1 to first / 2 - 1, word i + 1 at step i.
    int words = static_cast<int>(first / 2);
    int i = 1;
    while (i < words && exer.Has(i) && !IsValid(exer, i, false)) ++i;
    if (i < words && exer.Has(i)) {
        int level = exer.Signed(i);
        pDC->MoveTo(ExerciseX(0), y(level));
        int step = i - 1;
        for (++i; i < words && exer.Has(i); ++i) {
            step = i - 1;
            if (!IsValid(exer, i, false) || exer.Signed(i) == level) continue;
            pDC->LineTo(ExerciseX(step), y(level));
            level = exer.Signed(i);
            pDC->LineTo(ExerciseX(step), y(level));
        }
        // The word after the last one used closes the load when it differs.
        if (exer.Has(words) && IsValid(exer, words, false) && exer.Signed(words) != level) {
            const int x = std::abs(step - recoveryStep) <= 1 ? TimeToXPoint(m_dRecoveryStart / kStepSeconds)
                                                             : ExerciseX(step);
            pDC->LineTo(x, y(level));
            pDC->LineTo(x, y(exer.Signed(words)));
        }
    }
    // The recovery walk: words 0 to second / 2 - 1 from the recovery start.
    words = static_cast<int>(second / 2);
    int j = 0;
    while (j < words && rec.Has(j) && !IsValid(rec, j, false)) ++j;
    if (j < words && rec.Has(j)) {
        int level = rec.Signed(j);
        pDC->MoveTo(TimeToXPoint(m_dRecoveryStart / kStepSeconds), y(level));
        int last = j;
        for (++j; j < words && rec.Has(j); ++j) {
            last = j;
            if (!IsValid(rec, j, false) || rec.Signed(j) == level) continue;
            pDC->LineTo(RecoveryX(j), y(level));
            level = rec.Signed(j);
            pDC->LineTo(RecoveryX(j), y(level));
        }
        pDC->LineTo(RecoveryX(last), y(level));
        if (level != 0) pDC->LineTo(RecoveryX(last), y(0));
    }
    DrawCurrentTimeLine(pDC);
}

void CViewExerTrend::DrawCurrentTimeLine(CDC* pDC)
{
    const _EXERDATAITEM* item = CurrentItem();
    if (m_bPrinting || m_nParentType != 2 || !item) return;
    const int x = TimeToXPoint(item->nCurTime / kStepSeconds);
    const int old = pDC->SetROP2(R2_NOT);
    pDC->MoveTo(x, static_cast<int>(m_dPlotTop));
    pDC->LineTo(x, static_cast<int>(m_dPlotTop + m_dPlotHeight));
    pDC->SetROP2(old);
}
