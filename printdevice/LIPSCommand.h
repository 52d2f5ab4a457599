// The text of the Canon LIPS IV print stream (print type 5). Every numeric
// parameter is written in the LIPS number encoding (Number); every function
// returns the command text, one character per byte of the wire.
#pragma once

#include "platform/base/Strings.h"
#include "printdevice/RawObjects.h"

class CLIPSCommand {
public:
    // The last character holds the low 4 bits of |v| on the sign base ('0'
    // for v >= 0, blank below); the bits above go first in groups of 6,
    // most significant first, each as '@' + group.
    static CString Number(long long v);

    // Job and page set-up up to vector mode, with the three line patterns
    // of the grid pens registered.
    static CString PageStart(int nCopies);
    static CString PageEnd();

    // A line from (x0, y0) to (x1, y1).
    static CString Line(int x0, int y0, int x1, int y1);
    // Corners already ordered.
    static CString Rectangle(int left, int top, int right, int bottom);
    static CString Ellipse(int left, int top, int right, int bottom);
    // nCount >= 2.
    static CString Polyline(const POINT* points, int nCount);
    static CString Polygon(const POINT* points, int nCount);
    // One piece of a polygon of 10 or more points, drawn as a strip: the
    // first-half points nFirst .. nFirst + nSteps, then back along the
    // second half from its point paired with nFirst + nSteps to the one
    // paired with nFirst. The second half runs back from the end of the
    // array, point n - j paired with point j; point n is point 0 again, the
    // point where the outline closes.
    static CString PolygonPiece(const POINT* points, int nCount, int nFirst, int nSteps);
    static CString Pixel(int x, int y);

    // Empty for a style the printer has no line type for; else the line
    // type followed by the width.
    static CString Pen(const _RAW_PEN& pen);
    static CString Brush(const _RAW_BRUSH& brush);
    // Empty for a mode other than OPAQUE and TRANSPARENT.
    static CString BkMode(int nMode);
    // Null removes the clipping window.
    static CString ClipWindow(const RECT* box);
    // Text at (x, y) placed by the TA_* alignment with the raw extent of
    // 42 x 84 pixels per character. Characters beyond Latin-1 go out in
    // code page 932, the code of the printer's Japanese font.
    static CString Text(int x, int y, UINT uAlign, const CString& text);
    // The image header; the inverted bytes (nBytesPerRow x nHeight) follow.
    static CString ImageHeader(int x, int y, int nWidth, int nHeight, int nBytesPerRow);
};
