#include "core/Globals.h"

double g_dXUnit = 1.0;
double g_dYUnit = 1.0;

CFont* g_pDlgFontNormal = nullptr;
CFont* g_pDlgFontMiddle1 = nullptr;
CFont* g_pDlgFontMiddle2 = nullptr;
CFont* g_pDlgFontBig = nullptr;

CPen* g_pPenBlue = nullptr;
CPen* g_pPenSlRed = nullptr;
CPen* g_pPenGreen = nullptr;
CPen* g_pPenSlGreen = nullptr;
CPen* g_pPenDark = nullptr;
CPen* g_pPenDkDot = nullptr;
CPen* g_pPenDKGray = nullptr;
CPen* g_pPenSemiBold = nullptr;
CPen* g_pPenBold = nullptr;

CBrush* g_pBrushBlack = nullptr;
CBrush* g_pBrushDark = nullptr;
CBrush* g_pBrushWhite = nullptr;

HCURSOR g_hCursorHand = nullptr;
HCURSOR g_hCursorMag = nullptr;
HCURSOR g_hCursorDraw = nullptr;

wchar_t* g_pWorkDir = nullptr;
unsigned g_OSVersion = 2;
unsigned g_uDlgCount = 0;
int g_bSizing = 0;
int g_bDisplayVersion = 0;
int g_bSubstitute = 0;
int g_bEditSubstituteMode = 0;
int g_bPrintAbort = 0;

void DecrementDlgCount()
{
    if (g_uDlgCount > 0) --g_uDlgCount;
}
