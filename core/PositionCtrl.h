// The layout tables: one entry per control of the sixteen forms (eight screen
// forms, eight print forms), loaded from the layout stylesheet Tavrion.xsl.
#pragma once

#include "platform/base/Collections.h"
#include "platform/base/Strings.h"

// One control's entry.
struct _POSITION_CTRL {
    int nLeft = -1;            // -1 when the stylesheet gives none
    int nTop = -1;
    int nWidth = -1;
    int nHeight = -1;
    int nTextHeight = -1;
    int bEnable = 1;
    int bVisible = 1;
    CString strCaption;        // shown in place of the form's own caption when not empty
    CStringArray arrXmlPath;   // the record-XML paths bound to the control, in stylesheet order
};

// What GetCtrlPosFromXSL loads.
enum _LOAD_POSITION_TYPE {
    LOAD_POS_REST = 0,          // rest and USA rest screen forms
    LOAD_POS_RHYTHM = 1,
    LOAD_POS_RR = 2,
    LOAD_POS_FINAL = 3,
    LOAD_POS_EXTRA = 4,
    LOAD_POS_EXER = 5,
    LOAD_POS_REST_PRINT = 6,    // rest and USA rest print forms
    LOAD_POS_RHYTHM_PRINT = 7,
    LOAD_POS_RR_PRINT = 8,
    LOAD_POS_FINAL_PRINT = 9,
    LOAD_POS_EXTRA_PRINT = 10,
    LOAD_POS_EXER_PRINT = 11,
    LOAD_POS_REFRESH_VISIBLE = 12,   // read the visibility of every loaded table again
};

#define POS_PATINFO_COUNT 30
#define POS_REST_COUNT 166
#define POS_USA_REST_COUNT 157
#define POS_RHYTHM_COUNT 54
#define POS_RR_COUNT 54
#define POS_FINAL_COUNT 41
#define POS_EXTRA_COUNT 53
#define POS_EXER_COUNT 46
#define POS_PATINFO_PRINT_COUNT 16
#define POS_REST_PRINT_COUNT 97
#define POS_USA_REST_PRINT_COUNT 83
#define POS_RR_PRINT_COUNT 52
#define POS_RHYTHM_PRINT_COUNT 40
#define POS_FINAL_PRINT_COUNT 59
#define POS_EXTRA_PRINT_COUNT 60
#define POS_EXER_PRINT_COUNT 66

// The sixteen tables with their loaded flags, in the order of the design
// (the print tables hold RR before rhythm, unlike their flags).
struct _DEFAULT_POSITION_CTRL {
    int bPatInfoLoaded, bRestLoaded, bUsaRestLoaded, bRhythmLoaded, bRRLoaded, bFinalLoaded, bExtraLoaded,
        bExerLoaded;
    _POSITION_CTRL stPatInfo[POS_PATINFO_COUNT];
    _POSITION_CTRL stRest[POS_REST_COUNT];
    _POSITION_CTRL stUsaRest[POS_USA_REST_COUNT];
    _POSITION_CTRL stRhythm[POS_RHYTHM_COUNT];
    _POSITION_CTRL stRR[POS_RR_COUNT];
    _POSITION_CTRL stFinal[POS_FINAL_COUNT];
    _POSITION_CTRL stExtra[POS_EXTRA_COUNT];
    _POSITION_CTRL stExer[POS_EXER_COUNT];
    int bPatInfoPrintLoaded, bRestPrintLoaded, bUsaRestPrintLoaded, bRhythmPrintLoaded, bRRPrintLoaded,
        bFinalPrintLoaded, bExtraPrintLoaded, bExerPrintLoaded;
    _POSITION_CTRL stPatInfoPrint[POS_PATINFO_PRINT_COUNT];
    _POSITION_CTRL stRestPrint[POS_REST_PRINT_COUNT];
    _POSITION_CTRL stUsaRestPrint[POS_USA_REST_PRINT_COUNT];
    _POSITION_CTRL stRRPrint[POS_RR_PRINT_COUNT];
    _POSITION_CTRL stRhythmPrint[POS_RHYTHM_PRINT_COUNT];
    _POSITION_CTRL stFinalPrint[POS_FINAL_PRINT_COUNT];
    _POSITION_CTRL stExtraPrint[POS_EXTRA_PRINT_COUNT];
    _POSITION_CTRL stExerPrint[POS_EXER_PRINT_COUNT];

    _DEFAULT_POSITION_CTRL();
};

// The process-wide tables, built when the module loads (all flags 0).
extern _DEFAULT_POSITION_CTRL g_stDefCtrlPos;
// The layout suffix (at most 4 Shift-JIS bytes), empty when the stylesheet gives none.
extern CString g_strSuffix;

// The sixteen tables by name, screen forms first, in the order of their
// loaded flags (the print RR entries precede the print rhythm entries in
// _DEFAULT_POSITION_CTRL, their flags do not).
enum class LayoutTable {
    PatInfo,
    Rest,
    UsaRest,
    Rhythm,
    RR,
    Final,
    Extra,
    Exer,
    PatInfoPrint,
    RestPrint,
    UsaRestPrint,
    RhythmPrint,
    RRPrint,
    FinalPrint,
    ExtraPrint,
    ExerPrint,
    Count
};

// The entries of one table of the set, and its loaded flag; null for Count.
_POSITION_CTRL* GetLayoutEntries(_DEFAULT_POSITION_CTRL& pos, LayoutTable table);
int* GetLayoutLoadedFlag(_DEFAULT_POSITION_CTRL& pos, LayoutTable table);
// The table that GetDefXMLPath calls `kind` (0 to 14: the screen tables but
// the USA rest one, then the print tables); LayoutTable::Count for any other.
LayoutTable LayoutTableOfKind(int kind);

// Puts every table back as the module builds it (flags 0, entries new) and
// empties the suffix. The tables are meant to load once per process; only
// tests, which load many stylesheets in one process, call this.
void ResetDefCtrlPos();
