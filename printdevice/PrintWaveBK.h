// CPrintWaveBK: the printed ECG grid on the print device context for the PDF
// printer (CreatePrintBKGround; the ruled grid's bold columns go last, the
// left edge included) and, as plain vector lines, for the HP-GL/2 and LIPS
// printers (CreatePCLBKGround).
#pragma once

#include "printdevice/PrintWaveBKBase.h"

class CPrintWaveBK : public CPrintWaveBKBase {
public:
    CPrintWaveBK() : CPrintWaveBKBase(BoldColumns::OverTheRows) {}

    // Grid type 0: the dotted grid as dashed columns whose gaps the raw
    // printers turn into dotted line types; 1: ruled; any other: ruled
    // columns without rows.
    BOOL CreatePCLBKGround(int widthMm, int heightMm, double pxPerMm, CECGDC* pDC);
};
