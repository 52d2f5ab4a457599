// CExerBeatCell: the rules every exercise average-beat cell follows, in the
// twelve-, six- and one-lead layouts and in the summary view alike: the trace
// on its baseline, the five measuring ticks, the ST text and the phase text
// ("Ex." during the load, "Af." in recovery).
#pragma once

#include <functional>

#include "platform/base/Strings.h"
#include "platform/gdi/Dc.h"

class CWaveView;
class CWaveViewMagnifier;
class CExerViewDoc;
struct _EXERDATAITEM;

// A beat as the views keep it: the samples (owned by the view), their
// count, the reference position (0: none), the lead's last measuring offset
// and its ST level (0.1 mm, -32768 none).
struct ExerBeat {
    short* pSamples = nullptr;
    int nLength = 0;
    int nReference = 0;
    int nMeasOffset = 0;
    int nStLevel = -32768;
};

class CExerBeatCell {
public:
    // A beat of fewer samples draws no trace and no ticks.
    static constexpr int MIN_SAMPLES = 10;
    static constexpr int NO_VALUE = -32768;
    // The font the views' texts are set in: the document's bold text font.
    static constexpr int TEXT_FONT = 1;
    using DrawFunction = std::function<void(CDC*, const CRect&, int, int)>;
    // A drawing that tells whether it drew (non-zero) or not (0).
    using CheckedDrawFunction = std::function<int(CDC*, const CRect&, int, int)>;

    CExerBeatCell(CWaveView& view, CExerViewDoc& doc, const _EXERDATAITEM& item, BOOL print);

    // The trace in `cell` (its top the baseline, its height 1 mV) and, when
    // the document's measure-point switch is on, the ticks; FALSE as soon as
    // a drawing call fails.
    BOOL Draw(CDC* pDC, const CRect& cell, const ExerBeat& beat, int traceColour, int tickColour) const;
    // "+0.5", "0.0", "-1.2" or "*.*" for a level in 0.1 mm.
    static CString StValueText(int level);
    // "ST-L: ..." for a rest beat, else by the item's ST label switch.
    CString StText(int level, BOOL restBeat) const;
    // "Ex. m'ss''" before the exercise end, else "Af. m'ss''" after it.
    static CString PhaseText(const _EXERDATAITEM& item);
    // The five tick positions of a beat (samples), in drawing order.
    static void TickPositions(const _EXERDATAITEM& item, const ExerBeat& beat, int positions[5]);
    // The screen picture of an exercise beat view: the paper, then `draw`
    // (client rectangle, grid mm across and down) in the document's bold
    // text font on a transparent background, then the annotations, composed
    // off screen and copied in one piece.
    static void PaintView(CWaveView& view, CDC* pDC, const DrawFunction& draw);
    // The same picture, but when `draw` returns 0 nothing reaches the
    // window: it keeps what it showed before.
    static void PaintViewWhenDrawn(CWaveView& view, CDC* pDC, const CheckedDrawFunction& draw);
    // The same drawing, magnified, for the view's hover magnifier.
    static void SetUpMagnifier(CWaveView& view, CWaveViewMagnifier& magnifier, const DrawFunction& draw);
    // "%.2f mm/mV" of a sensitivity.
    static CString SenseText(double sense);

private:
    CWaveView& m_view;
    CExerViewDoc& m_doc;
    const _EXERDATAITEM& m_item;
    BOOL m_bPrint;
};
