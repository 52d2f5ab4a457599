// What the enlarged views share: the ruler state, their messages to the
// dialog, their labels and key path, and CEnlargedRuler, the two-mark ruler
// that both views draw in XOR over their picture (the serial comparison
// views reuse the same records).
//
// Every ruler figure is drawn with R2_XORPEN in the ruler colour (slot 4
// XOR the paper's slot 2), so that drawing it a second time removes it:
// mouse moves never repaint the trace. The ruler-clear flag tells whether
// the moving figure is on screen and must be erased before the next one.
#pragma once

#include "core/UserMessages.h"
#include "platform/gdi/Dc.h"
#include "platform/ui/framework/Wnd.h"

// The ruler state of an enlarged view.
typedef int _RULER_STATUS;
enum {
    RULER_STATUS_OFF = -1,     // the mouse pans the picture
    RULER_STATUS_ARMED = 0,    // the next click sets the first mark
    RULER_STATUS_FIRST = 1,    // first mark set; the second follows the mouse
    RULER_STATUS_BOTH = 2,     // both set; a click selects a mark, drags and arrow keys move it
};


class CTavrionDoc;
struct _ECGDATA;

// A 16-bit signed item of a device record; FALSE (value untouched) when it
// cannot be read.
BOOL ReadEnlargedRecordInt16(CTavrionDoc* doc, _ECGDATA* record, UINT tag, UINT index, int* value);

// The ruler colour of the document's palette: slot 4 XOR the paper's slot 2.
COLORREF EnlargedRulerColour(const CTavrionDoc* doc);
// The lead name at the upper left (x 10, a third down) and the label of zoom
// step `step` at the lower right, in the dialog font and colour slot 3.
void DrawEnlargedLabels(CDC* pDC, const CTavrionDoc* doc, const CRect& client, CString leadName, int step);
// To the dialog of a view inside a frame (the frame's parent); 0 without one.
LRESULT SendToEnlargedDialog(CWnd& view, UINT message, WPARAM wParam, LPARAM lParam);
BOOL IsEnlargedArrowKey(WPARAM key);
// The views' PreTranslateMessage: the view's own dialog processing, whose
// swallowed arrow keys are dispatched once more so that they reach
// OnKeyDown. Every message counts as handled.
BOOL PreTranslateEnlargedView(CWnd& view, MSG* pMsg);

class CEnlargedRuler;
class CWaveView;
// A pan offset moved by `delta` pixels and held within the view's extent
// either way, so that the picture never leaves the view entirely.
int EnlargedPanOffset(int offset, int delta, int extent);
// The vertical span of the ruler in microvolts: `dy` pixels of a client
// `height` split in `down` squares at `sense`; 0 without a sense.
int EnlargedRulerMicrovolts(int down, int dy, int height, float sense);
// A left press with the ruler on goes to the ruler; FALSE with the ruler
// off, where the press starts a pan.
BOOL PressEnlargedRuler(CWaveView& view, CEnlargedRuler& ruler, CPoint point);
// A mouse move with the ruler on: the marks follow and the view takes the
// ruler's cursor. TRUE when a reading is due.
BOOL MoveEnlargedRuler(CWaveView& view, CEnlargedRuler& ruler, UINT flags, CPoint point);
// An arrow key on the ruler: FALSE when the key stops at the client edge;
// `moved` is set when a mark moved and a reading is due.
BOOL KeyEnlargedRuler(CWaveView& view, CEnlargedRuler& ruler, UINT key, BOOL* moved);

class CEnlargedRuler {
public:
    enum { kMarks = 4 };   // marks 0 and 1 are used; 2 and 3 are never set
    // What an arrow key did to the marks.
    enum class KeyResult {
        NotMine,   // ruler off or no mark selected: the key goes on
        AtEdge,    // the mark stands on the client edge that way: the key stops
        Moved,     // the mark moved one pixel: a reading is due, then the key goes on
    };

    CEnlargedRuler();

    void SetStatus(_RULER_STATUS status);
    _RULER_STATUS GetStatus() const { return m_nStatus; }
    void SetClear(BOOL clear) { m_bClear = clear; }
    BOOL IsClear() const { return m_bClear; }
    // The four squares touching mark `mark`'s rectangle from outside; any
    // other value empties them.
    void SetMarkRect(int mark);
    // The corner squares with the DC's current pen and brush.
    void DrawCornerSquares(CDC* pDC) const;
    // Places a mark at a point with its 5 x 5 box (nothing is drawn).
    void SetMark(int mark, CPoint point);
    CPoint GetPoint(int mark) const { return m_ptMark[mark]; }
    CRect GetMarkRect(int mark) const { return m_rcMark[mark]; }
    CRect GetCornerSquare(int corner) const { return m_rcCorner[corner]; }
    BOOL IsSelected(int mark) const { return m_bSelected[mark]; }

    // The marks of the state over a freshly painted picture.
    void Paint(CDC* pDC, const CRect& client, COLORREF rulerColour);

    // Input on the view's window, drawn on a window DC. TRUE when the
    // marks moved and the view owes its dialog a reading.
    BOOL ButtonDown(CWnd& view, CPoint point, COLORREF rulerColour);
    BOOL MouseMove(CWnd& view, UINT flags, CPoint point, COLORREF rulerColour, HCURSOR* cursor);
    KeyResult ArrowKey(CWnd& view, UINT key, COLORREF rulerColour);

    // One mark figure (the ellipse in `box` and the cross lines through
    // `point` out to the client edges) in the DC's current pen and brush.
    static void DrawMarkFigure(CDC* pDC, const CRect& client, CPoint point, const CRect& box);
    // The 5 x 5 box of a mark at a point.
    static CRect MarkBox(CPoint point) { return CRect(point.x - 2, point.y - 2, point.x + 3, point.y + 3); }

private:
    // Draws `figure` in XOR on a window DC of the view.
    template <class Figure> void DrawXor(CWnd& view, COLORREF rulerColour, Figure figure);
    // The crosshair erased at its last place (when on screen) and drawn at `point`.
    void MoveCrosshair(CWnd& view, CPoint point, COLORREF rulerColour);
    // A mark and its corner squares erased, moved to `point` and drawn again.
    void RelocateMark(CWnd& view, int mark, CPoint point, COLORREF rulerColour);
    int FirstSelected() const;

    CPoint m_ptMark[kMarks];
    CRect m_rcMark[kMarks];
    CRect m_rcCorner[4];
    CPoint m_ptCross;              // where the moving crosshair was drawn last
    BOOL m_bSelected[kMarks] = {};
    _RULER_STATUS m_nStatus = RULER_STATUS_OFF;
    BOOL m_bClear = TRUE;          // TRUE: no moving figure on screen to erase
};
