// CPrintWaveBKGround: the printed ECG grid rendered into a bitmap of its
// own, for the printers that take the grid as one picture: the caller copies
// the bitmap from GetMemDC() onto the page (SRCCOPY). PrintBKGround puts the
// same picture on a print device without the bitmap.
#pragma once

#include "platform/base/Geometry.h"
#include "platform/gdi/Dc.h"

class CECGDC;

class CPrintWaveBKGround {
public:
    CPrintWaveBKGround();
    // The object owns a device context and a bitmap: it is not copied.
    CPrintWaveBKGround(const CPrintWaveBKGround&) = delete;
    CPrintWaveBKGround& operator=(const CPrintWaveBKGround&) = delete;
    virtual ~CPrintWaveBKGround();

    void SetShadeGrid(UINT level) { m_uShadeLevel = level; }
    void SetGridType(UINT type) { m_uGridType = type; }
    // Renders a widthMm x heightMm grid at pxPerMm into a bitmap of
    // (W + 1) x (H + 1) pixels. TRUE for level 0 (nothing drawn); FALSE for a
    // level above 3, an unusable size or when the bitmap cannot be made.
    BOOL CreatePrintBKGround(int widthMm, int heightMm, double pxPerMm);
    // Draws on the device, with its top-left at `origin`, what copying the
    // bitmap of CreatePrintBKGround there would leave: the W x H area in the
    // background colour (the bitmap's white), then the grid as the
    // monochrome bitmap holds it (the thin pen's light grey is white there)
    // in the text colour, as lines and dots within the area. A page of a
    // printer gets a few hundred lines instead of an image of the whole area
    // (an A4 grid at 600 dpi is some thirty million pixels, which the job
    // would otherwise hold several times over in memory). TRUE for level 0
    // (nothing drawn); FALSE for a level above 3, no device or an unusable
    // size. The device is left as it was found.
    BOOL PrintBKGround(int widthMm, int heightMm, double pxPerMm, CECGDC* pDC, CPoint origin);
    // The memory context holding the grid bitmap; null before a grid was made.
    CDC* GetMemDC() const { return m_pMemDC; }

private:
    void DrawGridPoint(int x, int y, COLORREF color);
    void DrawLineGrid(int widthMm, int heightMm, double pxPerMm, CDC* pDC);
    void FreeBKGround();

    CDC* m_pMemDC;            // owned
    UINT m_uShadeLevel;       // 0 no grid; 1..3 the weights
    UINT m_uGridType;         // 1 ruled; anything else dotted
    CBitmap* m_pBitmap;       // owned: the grid image
    CBitmap* m_pOldBitmap;    // selected in the memory context before the grid image
};
