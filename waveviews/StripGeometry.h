// The geometry the one-lead overview strips share: the whole record laid end
// to end at the strip speed (T strip pixels for N samples), wrapped into rows
// of the strip's width, and the window of the page above it on that length.
#pragma once

#include "platform/base/Geometry.h"

struct CStripGeometry {
    int stripWidth = 0;      // S: pixels of one row
    int total = 0;           // T: the whole record in strip pixels
    int windowFrom = 0;      // X0
    int windowTo = 0;        // X1
    int samplesPerRow = 0;
    int rows = 1;
};

// The record of `samples` at `rate` on a strip `stripWidth` wide whose rows
// span gridX − 10 squares at `speed`, the window `window` samples from
// `start`. An empty record, no room past the pulse, no speed or no width
// give a strip of grid only: nothing is divided by them.
CStripGeometry MakeStripGeometry(int samples, int rate, int gridX, float speed, int stripWidth, int start, int window,
                                 bool oneRow);
// Where row `row` meets the window: from e1 to e2 pixels from its left end
// (both the row's width when they do not meet).
void StripWindowSpan(const CStripGeometry& g, int row, int& e1, int& e2);
// The band of row `row` down the strip rectangle.
CRect StripRowBand(const CRect& strip, const CStripGeometry& g, int row);
// The row whose band (of `height` over `rows`) holds y; 0 when none.
int StripRowAt(int y, int height, int rows);
// The same with each band's lower edge counted in: a y on the line between
// two rows is the upper row's.
int StripRowAtOrAbove(int y, int height, int rows);

class CWaveView;
// One mouse step over the strip of `view` at `point` (held right of the
// `margin` already), the strip `rows` rows of `height` pixels: while
// dragging, the page start follows the samples the pointer moved across
// (held within the record) and the view repaints; otherwise the cursor
// shows whether a press would take the window. Returns the pointer's
// position along the rows laid end to end, the start of the next step.
// `row` is the row under the point when the caller has found it (-1: by StripRowAt).
// The end of a drag on the strip of `view`: the cursor shows whether the
// pointer still stands over a strip that scrolls, the cursor is set free,
// and a window longer than the record goes back to its start.
void EndStripDrag(CWaveView& view, CPoint point, int margin, int samples, int window);
int TrackStripMouse(CWaveView& view, const CStripGeometry& g, CPoint point, int margin, int height, int rows,
                    int samples, int window, int lastX, bool dragging, int row = -1);
