// The text of the HP-GL/2-in-PCL-5 print stream (print type 3). Every
// function returns the command text, one character per byte of the wire;
// the print device context gathers it and sends it to the spooler.
#pragma once

#include "platform/base/Strings.h"
#include "printdevice/RawObjects.h"

class CHPGLCommand {
public:
    // PJL job header, PCL reset, landscape page set-up and the HP-GL/2
    // picture frame scaled so that plotter y grows downward like device y.
    static CString PageStart();
    static CString PageEnd(int nCopies);

    static CString Move(int x, int y);
    static CString LineTo(int x, int y);
    // A rectangle from the pen position to (right, bottom): filled, then edged.
    static CString FillEdgeRect(int right, int bottom);
    // The same filled only.
    static CString FillRect(int right, int bottom);
    // A circle at the pen position, filled and edged in polygon mode.
    static CString Circle(int radius);
    // The figure after the move to point 0; nCount >= 2.
    static CString Polygon(const POINT* points, int nCount);
    static CString Polyline(const POINT* points, int nCount);

    // The line type (none for the styles the printer has no type for)
    // followed by the width.
    static CString Pen(const _RAW_PEN& pen);
    static CString Brush(const _RAW_BRUSH& brush);
    // Empty for a mode other than OPAQUE and TRANSPARENT.
    static CString BkMode(int nMode);
    // Null removes the window.
    static CString ClipWindow(const RECT* box);

    // Back to PCL at the pen position and start a raster of that size.
    static CString RasterStart(int nWidth, int nHeight);
    static CString RasterRow(int nBytes);   // followed by the row's bytes
    static CString RasterEnd();
};
