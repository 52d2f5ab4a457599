// CEnlargedViewFrame: what the enlarged dialogs share around their view: the
// child frame that holds it, the ruler readout, the mode and step buttons.
// The frame goes with the dialog's window and takes the view with it.
#pragma once

#include <optional>

#include "platform/ui/framework/FrameWnd.h"
#include "platform/ui/framework/ScrollBar.h"
#include "waveviews/EnlargedRuler.h"
#include "waveviews/EnlargedZoom.h"

class CEnlargedViewFrame {
public:
    // The ids of one dialog's controls around the view.
    struct Controls {
        int horizontalBar;
        int verticalBar;
        int readout;
        int rulerButton;
        int dragButton;
        int zoomInButton;
        int zoomOutButton;
    };

    explicit CEnlargedViewFrame(const Controls& controls) : m_ids(controls) {}

    // A frame filling the area left of the vertical bar and above the
    // horizontal one, holding a view of `viewClass` on `doc` without the
    // sunken edge; null when it cannot be made.
    CView* Create(CWnd& dialog, CRuntimeClass* viewClass, CDocument* doc);
    // The step buttons' icons, drag mode pressed, the readout empty.
    void SetUpButtons(CWnd& dialog);
    void ShowReading(CWnd& dialog, WPARAM milliseconds, LPARAM microvolts);
    // The pressed one of the two mode buttons.
    void PressMode(CWnd& dialog, BOOL ruler);
    void EnableZoomButtons(CWnd& dialog, BOOL enable);
    void EnableBars(CWnd& dialog, BOOL enable);
    CScrollBar* Bar(CWnd& dialog, bool horizontal) const;
    // The bar's position after setting it (the bar keeps it in its range).
    int MoveBar(CWnd& dialog, bool horizontal, int position);
    // A scroll request (line and page steps, the thumb, the ends) applied
    // to bar `bar`, kept in its range: the new position, or nothing for the
    // end of a scroll.
    std::optional<int> Scroll(CWnd& dialog, CScrollBar* bar, UINT code, int page);
    const Controls& Ids() const { return m_ids; }

    // "%d[mS]   %5.3f[mV]" of a reading.
    static CString FormatReading(int milliseconds, int microvolts);

    // The ruler armed with its marks cleared, in the size-all cursor.
    template <class View> static void EnterRulerMode(View& view)
    {
        view.SetCurrentCursor(RulerCursor());
        view.SetRulerStatus(RULER_STATUS_ARMED);
        ClearMarks(view);
    }
    // The ruler off (the mouse pans), in the hand cursor.
    template <class View> static void EnterDragMode(View& view)
    {
        view.SetCurrentCursor(HandCursor());
        view.SetRulerStatus(RULER_STATUS_OFF);
        ClearMarks(view);
    }
    template <class View> static void ClearMarks(View& view)
    {
        view.SetRulerClear(TRUE);
        view.SetRulerMarkRect(-1);
        view.Invalidate(TRUE);
    }
    // One zoom step in or out; FALSE at the end of the steps or when the view refuses.
    template <class View> static BOOL StepZoom(View& view, int delta)
    {
        const int step = view.GetScaleRatio() + delta;
        if (step < ENLARGED_ZOOM_MIN_STEP || step > ENLARGED_ZOOM_MAX_STEP) return FALSE;
        return view.SetScaleRatio(step);
    }
    static HCURSOR HandCursor();
    static HCURSOR RulerCursor();

private:
    Controls m_ids;
};
