// CFinalEnlargeSide: one beat of the master-step enlarge dialogs with its
// tools: the beat view in a frame, its vertical bar beside it, and under it
// the horizontal bar, the readout and the ruler, drag and zoom buttons. The
// rest dialog has one side, the load dialog a resting and a post-load side;
// each side pans, zooms and measures on its own. Also the calibration
// column both dialogs put left of their beats.
#pragma once

#include "dialogs/EnlargedViewFrame.h"

class CEnlargedWaveLayout;
class CFinalViewDoc;
class CViewCAL;
class CViewFinalEnlargeWave;

// The squares of the calibration column, which give the beats their scale.
struct _FINAL_ENLARGE_GRID {
    double dPixelsPerMMX = 1.0;
    double dPixelsPerMMY = 1.0;
    int nRows = 120;
};

class CFinalEnlargeSide {
public:
    CFinalEnlargeSide(const CEnlargedViewFrame::Controls& ids, int titleId);

    // Places the bars, buttons and readout around a beat frame at
    // (x, y, width, height) design units.
    void Place(CWnd& dialog, const CEnlargedWaveLayout& units, int x, int y, int width, int height) const;
    // The beat view of `lead` (the rest beat, or post-load comparison
    // `loadIndex`) in the frame left of the vertical bar; FALSE without one.
    BOOL CreateView(CWnd& dialog, CFinalViewDoc* doc, int lead, BOOL rest, int loadIndex, const _FINAL_ENLARGE_GRID& grid);

    CViewFinalEnlargeWave* View() const { return m_pView; }
    CEnlargedViewFrame& Frame() { return m_frame; }
    int TitleId() const { return m_nTitleId; }

    // A click on one of the side's buttons; false when `id` is not one of them.
    bool OnButton(CWnd& dialog, int id);
    // A scroll of one of the side's bars; false when it is not one of them.
    bool OnScroll(CWnd& dialog, CScrollBar* bar, UINT code);
    void OnPanned(CWnd& dialog, WPARAM horizontal, LPARAM vertical);
    // The packed reading: milliseconds in the low word, microvolts in the high word.
    void ShowReading(CWnd& dialog, WPARAM packed);
    // "%d[mS]  %5.3f[mV]" of a packed reading.
    static CString FormatPackedReading(WPARAM packed);

    // The calibration column at `area` (pixels) with the grid it gives the beats.
    static CViewCAL* CreateCalibration(CWnd& dialog, const CRect& area, CFinalViewDoc* doc, _FINAL_ENLARGE_GRID* grid);
    // "%s    %s  %s" of the side's name, "导联" and the lead's name.
    static CString Title(const CString& side, CFinalViewDoc* doc, int lead);
    // "負荷後 %d’%02d”" of the recording time after the load of comparison
    // `loadIndex` (-2: the item's current one); 0'00" when the record keeps none.
    static CString LoadTimeText(CFinalViewDoc* doc, int loadIndex);

private:
    CEnlargedViewFrame m_frame;
    int m_nTitleId;
    CViewFinalEnlargeWave* m_pView = nullptr;   // lives in its frame: goes with the window
};
