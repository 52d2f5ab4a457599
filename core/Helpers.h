// Signal, colour and text helpers the document core exports to the views and
// to outside callers. They are free functions because callers outside the
// document (the print path, the analysis views) use them on their own data.
#pragma once

#include "platform/base/WinTypes.h"
#include "platform/base/Geometry.h"

// Header of the density-shaded drawing table SmoothFilter fills. The block the
// caller allocates holds, in this order: this header, the colour ramp, the
// column array, then the edge arrays the columns point into.
struct _SMOOTH_COLUMN {
    short* pLower;  // `levels` lower-edge pixel rows, faintest level first
    short* pUpper;  // `levels` upper-edge pixel rows, faintest level first
};

struct _SMOOTH_TABLE {
    int nColumns;              // pixel columns drawn (x1 - x0)
    int nLevels;               // shading levels per column, 1..16
    COLORREF* pColors;         // nLevels colours, faintest first, the wave colour last
    _SMOOTH_COLUMN* pColumns;  // nColumns entries
};

// Low-pass filters a lead in place. cutoff is 25, 35, 75, 100 or 150 (Hz at the
// recorder's rate; 150 leaves the samples alone). Returns 1 on success, 0 for an
// unknown cut-off, an empty lead or when the working buffer cannot be had.
int HiCutFilter(short cutoff, short* samples, int count);

// Damps the quantisation flicker of a lead in place; steps of 16 or more pass
// through (reduced by 12). Returns 1, or 0 for a null array or a count of 0.
int DeleteBitNoise(short* samples, unsigned count);

// HiCutFilter and then, when deleteBitNoise is set, DeleteBitNoise, in one
// pass over the lead; the samples come out as from the two calls. Returns 1,
// or 0 for an unknown cut-off or an empty lead.
int HiCutDeleteBitNoise(short cutoff, int deleteBitNoise, short* samples, int count);

// Builds the density-shaded drawing table of a waveform into table, drawn over
// the rectangle (x0, y0)-(x1, y1) with y0 the baseline row. With a null table
// only the byte size the block needs is returned. Returns the table size, or 0
// for an empty rectangle, levels outside 1..16, no samples, or a failure.
// widthAsGiven = 0 maps lineWidth 0/1/2/other to 2/3/4/3 pixels.
int SmoothFilter(const short* samples, int count, void* table, int x0, int y0, int x1, int y1,
                 double gain, COLORREF wave, COLORREF back, int levels, int lineWidth, int type,
                 int widthAsGiven);

// h in degrees 0..360 (-1 when the colour has no hue), s and v in 0..1.
void RGBToHSV(BYTE r, BYTE g, BYTE b, double& h, double& s, double& v);
void HSVToRGB(double h, double s, double v, BYTE& r, BYTE& g, BYTE& b);

// Size in whole millimetres of a DMPAPER_* paper code (1..41); orientation 2 is
// landscape. An unknown code gives 0 x 0.
CSize GetPrinterSize(UINT paper, int orientation);

// 1 for a positive number text, -1 for a negative one, 0 when the text is not a
// plain decimal number ("12.5" -> 1, "-3" -> -1, "1.2.3" -> 0).
int GetNumberSign(LPCTSTR text);
