// The output path of a print job and the settings of one job, shared by the
// print device context, the printer selection and the report printing.
#pragma once

#include "platform/base/WinTypes.h"

// The output path of a print job, a plain number: 1 Windows printer through
// GDI, 2 the PDF printer "Acrobat Distiller" (GDI as well), 3 HP-GL/2 inside
// PCL 5 behind a PJL header (raw), 4 escape-sequence page printer (raw),
// 5 Canon LIPS IV (raw). Anything else is treated like 1.
typedef int _PRINT_TYPE;

// Twelve 32-bit fields, copied by value.
struct _PRINTER_SETTING {
    int nLeftMargin = 10;     // millimetres
    int nRightMargin = 0;     // millimetres
    int nTopMargin = 0;       // millimetres
    int nBottomMargin = 0;    // millimetres
    int nCopies = 1;
    int nOrientation = 2;     // DMORIENT_*: 1 portrait, 2 landscape
    int nPaper = 9;           // DMPAPER_*: 9 is A4
    int nPrintLeft = 0;       // printable rectangle, device pixels; 0 until computed
    int nPrintTop = 0;
    int nPrintRight = 0;
    int nPrintBottom = 0;
    float fPixelPerMM = 0.0f; // device pixels per millimetre; 0 until computed
};

static_assert(sizeof(_PRINTER_SETTING) == 48, "twelve 32-bit fields");
