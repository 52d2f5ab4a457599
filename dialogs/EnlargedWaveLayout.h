// Where the enlarged beat's dialog and its controls stand: positions are
// given on a design screen (1024 x 768, or 768 x 1024 on a portrait
// monitor) and scaled to the monitor the dialog is on, so the dialog takes
// the same share of any monitor.
#pragma once

#include "dialogs/EnlargedViewFrame.h"
#include "platform/ui/framework/Wnd.h"

class CTavrionDoc;

class CEnlargedWaveLayout {
public:
    enum { IDC_GLOBAL_GROUP = 3469, IDC_LEAD_GROUP = 3470 };

    // The layout on a monitor `width` x `height` pixels; a monitor taller
    // than wide is laid out on the portrait design screen.
    CEnlargedWaveLayout(int width, int height);
    // The same on the design screen the document names: portrait when its
    // screen is turned.
    CEnlargedWaveLayout(int width, int height, bool portrait);
    // The layout on the monitor that holds most of `window`, on the
    // document's design screen (without one, by the monitor's shape).
    static CEnlargedWaveLayout ForWindow(HWND window, const CTavrionDoc* doc = nullptr);
    // The work area of the monitor that holds most of `window`, in screen
    // coordinates (the primary screen when the monitor cannot be told).
    static CRect WorkArea(HWND window);

    bool IsPortrait() const { return m_bPortrait; }
    int X(int units) const;
    int Y(int units) const;
    CRect Rect(int x, int y, int cx, int cy) const;
    // The dialog's outer size: the design size scaled, plus the caption.
    CSize DialogSize() const;
    // The top of the table's first row of labels, in pixels.
    int TableTop() const;
    // Where the frame of all leads' overlapped beats stands, left of the table.
    CRect OverlapFrame() const;

    // Sizes and centres `dialog` and places the controls around the view;
    // `update` false gives the update button an empty rectangle.
    void Apply(CWnd& dialog, const CEnlargedViewFrame::Controls& ids, bool update) const;
    // The dialogs of one enlarged view and a close button (800 x 600
    // units): the view over nearly all of it, the horizontal bar
    // `barWidth` units wide under it, the readout beside the bar.
    void ApplySingleView(CWnd& dialog, const CEnlargedViewFrame::Controls& ids, int barWidth) const;

private:
    void PlaceFrameControls(CWnd& dialog, const CEnlargedViewFrame::Controls& ids) const;
    void PlaceButtons(CWnd& dialog, bool update) const;
    void PlaceGroups(CWnd& dialog) const;

    int m_nWidth;
    int m_nHeight;
    int m_nDesignWidth;
    int m_nDesignHeight;
    bool m_bPortrait;
};
