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
    // The same frame at `area` of the dialog's client area.
    static CView* CreateAt(CWnd& dialog, const CRect& area, CRuntimeClass* viewClass, CDocument* doc);
    // The step buttons' icons, drag mode pressed, the readout empty.
    void SetUpButtons(CWnd& dialog);
    void ShowReading(CWnd& dialog, WPARAM milliseconds, LPARAM microvolts);
    // The pressed one of the two mode buttons.
    void PressMode(CWnd& dialog, BOOL ruler);
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
    // ---- a view panned in pixels by both bars (the overlap and the
    // master-step dialogs; the enlarged lead pans so too, but for strips) ----
    // Both bars from minus to plus the view's client extent, at 0.
    template <class View> void SetPixelRanges(CWnd& dialog, View& view)
    {
        CRect client;
        view.GetClientRect(&client);
        if (CScrollBar* down = Bar(dialog, false)) {
            down->SetScrollRange(-client.Height(), client.Height());
            down->SetScrollPos(0);
        }
        if (CScrollBar* across = Bar(dialog, true)) {
            across->SetScrollRange(-client.Width(), client.Width());
            across->SetScrollPos(0);
        }
    }
    // Ruler mode: the button pressed, the ruler armed, the bars disabled.
    template <class View> void RulerMode(CWnd& dialog, View* view)
    {
        PressMode(dialog, TRUE);
        if (!view) return;
        EnterRulerMode(*view);
        EnableBars(dialog, FALSE);
    }
    // Drag mode: the button pressed, the ruler off, the bars back, no reading.
    template <class View> void DragMode(CWnd& dialog, View* view)
    {
        PressMode(dialog, FALSE);
        if (!view) return;
        EnterDragMode(*view);
        EnableBars(dialog, TRUE);
        dialog.SetDlgItemText(m_ids.readout, L"");
    }
    // One zoom step; the pan kept, the reading and marks gone, a ruler that
    // is on armed again with the bars disabled. FALSE when nothing changed.
    template <class View> BOOL PixelZoom(CWnd& dialog, View* view, int delta)
    {
        if (!view || !StepZoom(*view, delta)) return FALSE;
        if (CScrollBar* across = Bar(dialog, true)) view->SetDragHorizontalOffset(-across->GetScrollPos());
        dialog.SetDlgItemText(m_ids.readout, L"");
        ClearMarks(*view);
        if (view->GetRulerStatus() != RULER_STATUS_OFF) {
            view->SetRulerStatus(RULER_STATUS_ARMED);
            EnableBars(dialog, FALSE);
        }
        return TRUE;
    }
    // The view dragged to (horizontal, vertical): the bars follow, the view takes what they keep.
    template <class View> void PixelPanned(CWnd& dialog, View* view, int horizontal, int vertical)
    {
        if (!view) return;
        view->SetDragVerticalOffset(-MoveBar(dialog, false, vertical));
        view->SetDragHorizontalOffset(-MoveBar(dialog, true, horizontal));
        view->Invalidate(FALSE);
    }
    // A scroll request of one of this frame's bars moves the view by
    // pixels; false when `bar` is not one of them.
    template <class View> bool PixelScroll(CWnd& dialog, View* view, CScrollBar* bar, UINT code, int page)
    {
        if (!view || !bar) return false;
        const int id = bar->GetDlgCtrlID();
        if (id != m_ids.horizontalBar && id != m_ids.verticalBar) return false;
        const bool horizontal = id == m_ids.horizontalBar;
        const std::optional<int> position = Scroll(dialog, Bar(dialog, horizontal), code, page);
        if (!position) return true;
        if (horizontal)
            view->SetDragHorizontalOffset(-*position);
        else
            view->SetDragVerticalOffset(-*position);
        view->Invalidate(FALSE);
        return true;
    }

    static HCURSOR HandCursor();
    static HCURSOR RulerCursor();

private:
    Controls m_ids;
};
