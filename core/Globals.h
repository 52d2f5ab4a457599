// Module-wide values and shared drawing resources. They are created by the
// application object's start-up and freed at unload; every subsystem borrows
// them without owning them.
#pragma once

#include "platform/base/WinTypes.h"

class CFont;
class CPen;
class CBrush;

extern double g_dXUnit;   // screen width / 1024
extern double g_dYUnit;   // screen height / 768

extern CFont* g_pDlgFontNormal;
extern CFont* g_pDlgFontMiddle1;
extern CFont* g_pDlgFontMiddle2;
extern CFont* g_pDlgFontBig;

extern CPen* g_pPenBlue;
extern CPen* g_pPenSlRed;
extern CPen* g_pPenGreen;
extern CPen* g_pPenSlGreen;
extern CPen* g_pPenDark;
extern CPen* g_pPenDkDot;
extern CPen* g_pPenDKGray;
extern CPen* g_pPenSemiBold;
extern CPen* g_pPenBold;

extern CBrush* g_pBrushBlack;
extern CBrush* g_pBrushDark;
extern CBrush* g_pBrushWhite;

extern HCURSOR g_hCursorHand;
extern HCURSOR g_hCursorMag;
extern HCURSOR g_hCursorDraw;

extern wchar_t* g_pWorkDir;     // the work directory without a trailing separator; null before start-up
extern unsigned g_OSVersion;    // 1 on Windows NT 4, 2 on every other system
extern unsigned g_uDlgCount;    // message boxes and modal dialogs open at the moment
extern int g_bSizing;           // the display-sizing flag
extern int g_bDisplayVersion;
extern int g_bSubstitute;       // the last choice of the doctor prompt
extern int g_bEditSubstituteMode;
extern int g_bPrintAbort;       // 1 once the print status box was cancelled; its next box clears it

// Lowers g_uDlgCount by one, never below zero.
void DecrementDlgCount();

// The class id under which the installation registers its in-process
// server; the server's folder is the work directory.
#define MORVELANCE_SERVER_CLSID L"{6D6F7276-656C-616E-6365-574F524B4449}"
