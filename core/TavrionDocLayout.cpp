// The layout tables of the forms and reports, read from the layout
// stylesheet Tavrion.xsl in the work directory, and the layout suffix.
#include <cwchar>

#include "core/ECGXMLParser.h"
#include "core/Globals.h"
#include "core/LayoutNames.h"
#include "core/TavrionDoc.h"
#include "core/TextColumns.h"

_DEFAULT_POSITION_CTRL::_DEFAULT_POSITION_CTRL()
    : bPatInfoLoaded(0), bRestLoaded(0), bUsaRestLoaded(0), bRhythmLoaded(0), bRRLoaded(0), bFinalLoaded(0),
      bExtraLoaded(0), bExerLoaded(0), bPatInfoPrintLoaded(0), bRestPrintLoaded(0), bUsaRestPrintLoaded(0),
      bRhythmPrintLoaded(0), bRRPrintLoaded(0), bFinalPrintLoaded(0), bExtraPrintLoaded(0), bExerPrintLoaded(0)
{
}

_DEFAULT_POSITION_CTRL g_stDefCtrlPos;
CString g_strSuffix;

static const wchar_t kStylesheetName[] = L"Tavrion.xsl";
static const int kSuffixTag = 2;
static const int kSuffixMaxColumns = 4;   // the columns the reports leave for it

_POSITION_CTRL* GetLayoutEntries(_DEFAULT_POSITION_CTRL& pos, LayoutTable table)
{
    switch (table) {
    case LayoutTable::PatInfo: return pos.stPatInfo;
    case LayoutTable::Rest: return pos.stRest;
    case LayoutTable::UsaRest: return pos.stUsaRest;
    case LayoutTable::Rhythm: return pos.stRhythm;
    case LayoutTable::RR: return pos.stRR;
    case LayoutTable::Final: return pos.stFinal;
    case LayoutTable::Extra: return pos.stExtra;
    case LayoutTable::Exer: return pos.stExer;
    case LayoutTable::PatInfoPrint: return pos.stPatInfoPrint;
    case LayoutTable::RestPrint: return pos.stRestPrint;
    case LayoutTable::UsaRestPrint: return pos.stUsaRestPrint;
    case LayoutTable::RhythmPrint: return pos.stRhythmPrint;
    case LayoutTable::RRPrint: return pos.stRRPrint;
    case LayoutTable::FinalPrint: return pos.stFinalPrint;
    case LayoutTable::ExtraPrint: return pos.stExtraPrint;
    case LayoutTable::ExerPrint: return pos.stExerPrint;
    case LayoutTable::Count: break;
    }
    return nullptr;
}

int* GetLayoutLoadedFlag(_DEFAULT_POSITION_CTRL& pos, LayoutTable table)
{
    switch (table) {
    case LayoutTable::PatInfo: return &pos.bPatInfoLoaded;
    case LayoutTable::Rest: return &pos.bRestLoaded;
    case LayoutTable::UsaRest: return &pos.bUsaRestLoaded;
    case LayoutTable::Rhythm: return &pos.bRhythmLoaded;
    case LayoutTable::RR: return &pos.bRRLoaded;
    case LayoutTable::Final: return &pos.bFinalLoaded;
    case LayoutTable::Extra: return &pos.bExtraLoaded;
    case LayoutTable::Exer: return &pos.bExerLoaded;
    case LayoutTable::PatInfoPrint: return &pos.bPatInfoPrintLoaded;
    case LayoutTable::RestPrint: return &pos.bRestPrintLoaded;
    case LayoutTable::UsaRestPrint: return &pos.bUsaRestPrintLoaded;
    case LayoutTable::RhythmPrint: return &pos.bRhythmPrintLoaded;
    case LayoutTable::RRPrint: return &pos.bRRPrintLoaded;
    case LayoutTable::FinalPrint: return &pos.bFinalPrintLoaded;
    case LayoutTable::ExtraPrint: return &pos.bExtraPrintLoaded;
    case LayoutTable::ExerPrint: return &pos.bExerPrintLoaded;
    case LayoutTable::Count: break;
    }
    return nullptr;
}

LayoutTable LayoutTableOfKind(int kind)
{
    // The USA rest screen table has no kind: nothing reads a path through it.
    static const LayoutTable kByKind[] = {
        LayoutTable::PatInfo,      LayoutTable::Rest,         LayoutTable::Final,     LayoutTable::RR,
        LayoutTable::Rhythm,       LayoutTable::Extra,        LayoutTable::Exer,      LayoutTable::PatInfoPrint,
        LayoutTable::RestPrint,    LayoutTable::UsaRestPrint, LayoutTable::RRPrint,   LayoutTable::RhythmPrint,
        LayoutTable::FinalPrint,   LayoutTable::ExtraPrint,   LayoutTable::ExerPrint,
    };
    if (kind < 0 || kind >= static_cast<int>(sizeof(kByKind) / sizeof(kByKind[0]))) return LayoutTable::Count;
    return kByKind[kind];
}

void ResetDefCtrlPos()
{
    for (int t = 0; t < static_cast<int>(LayoutTable::Count); ++t) {
        const LayoutTable table = static_cast<LayoutTable>(t);
        _POSITION_CTRL* entries = GetLayoutEntries(g_stDefCtrlPos, table);
        const _LAYOUT_TABLE_NAMES* names = GetLayoutTableNames(table);
        for (int i = 0; i < names->nCount; ++i) {
            _POSITION_CTRL& entry = entries[i];
            entry.nLeft = entry.nTop = entry.nWidth = entry.nHeight = entry.nTextHeight = -1;
            entry.bEnable = 1;
            entry.bVisible = 1;
            entry.strCaption.Empty();
            entry.arrXmlPath.RemoveAll();
        }
        *GetLayoutLoadedFlag(g_stDefCtrlPos, table) = 0;
    }
    g_strSuffix.Empty();
}

// ---- loading -------------------------------------------------------------------

static int FindCtrl(const _LAYOUT_TABLE_NAMES& names, const wchar_t* name)
{
    for (int i = 0; i < names.nCount; ++i) {
        if (std::wcscmp(names.ppszNames[i], name) == 0) return i;
    }
    return -1;
}

// The additions label shows exactly when one of the three additions does,
// whatever the stylesheet says of it; on screen the link to further
// additions follows the label.
static void ApplyAdditionRule(const _LAYOUT_TABLE_NAMES& names, _POSITION_CTRL* entries)
{
    const int label = FindCtrl(names, L"Interpre_addition_stc");
    if (label < 0) return;
    int visible = 0;
    for (const wchar_t* content :
         {L"Interpre_addition_content_1_edt", L"Interpre_addition_content_2_edt", L"Interpre_addition_content_3_edt"}) {
        const int index = FindCtrl(names, content);
        if (index >= 0 && entries[index].bVisible) visible = 1;
    }
    entries[label].bVisible = visible;
    const int other = FindCtrl(names, L"Interpre_addition_other");
    if (other >= 0) entries[other].bVisible = visible;
}

// Fills one table from the stylesheet, or only its visible flags. A table is
// marked loaded whatever the stylesheet held: a missing stylesheet leaves the
// defaults, with which the forms use their built-in layout.
static int LoadLayoutTable(CECGXMLParser* xsl, LayoutTable table, int bVisibleOnly)
{
    if (!xsl) return 255;
    const _LAYOUT_TABLE_NAMES* names = GetLayoutTableNames(table);
    _POSITION_CTRL* entries = GetLayoutEntries(g_stDefCtrlPos, table);
    if (!names || !entries) return 255;

    const CString templatePath =
        CString(L"/xsl:stylesheet/xsl:Layout/xsl:template[@name='") + names->pszTemplate + L"']/";
    for (int i = 0; i < names->nCount; ++i) {
        xsl->GetDataPosition(entries[i], templatePath + names->ppszNames[i], names->bPrint, bVisibleOnly);
    }
    ApplyAdditionRule(*names, entries);
    *GetLayoutLoadedFlag(g_stDefCtrlPos, table) = 1;
    return 0;
}

int CTavrionDoc::LoadPatInfoPos(CECGXMLParser* xsl, int v) { return LoadLayoutTable(xsl, LayoutTable::PatInfo, v); }
int CTavrionDoc::LoadRestInterprePos(CECGXMLParser* xsl, int v) { return LoadLayoutTable(xsl, LayoutTable::Rest, v); }
int CTavrionDoc::LoadUsaRestInterprePos(CECGXMLParser* xsl, int v)
{
    return LoadLayoutTable(xsl, LayoutTable::UsaRest, v);
}
int CTavrionDoc::LoadRhyInterprePos(CECGXMLParser* xsl, int v) { return LoadLayoutTable(xsl, LayoutTable::Rhythm, v); }
int CTavrionDoc::LoadRRInterprePos(CECGXMLParser* xsl, int v) { return LoadLayoutTable(xsl, LayoutTable::RR, v); }
int CTavrionDoc::LoadMsfrInterprePos(CECGXMLParser* xsl, int v) { return LoadLayoutTable(xsl, LayoutTable::Final, v); }
int CTavrionDoc::LoadExtraInterprePos(CECGXMLParser* xsl, int v) { return LoadLayoutTable(xsl, LayoutTable::Extra, v); }
int CTavrionDoc::LoadExerInterprePos(CECGXMLParser* xsl, int v) { return LoadLayoutTable(xsl, LayoutTable::Exer, v); }
int CTavrionDoc::LoadPatInfoPrintPos(CECGXMLParser* xsl, int v)
{
    return LoadLayoutTable(xsl, LayoutTable::PatInfoPrint, v);
}
int CTavrionDoc::LoadRestInterprePrintPos(CECGXMLParser* xsl, int v)
{
    return LoadLayoutTable(xsl, LayoutTable::RestPrint, v);
}
int CTavrionDoc::LoadUsaRestInterprePrintPos(CECGXMLParser* xsl, int v)
{
    return LoadLayoutTable(xsl, LayoutTable::UsaRestPrint, v);
}
int CTavrionDoc::LoadRRInterprePrintPos(CECGXMLParser* xsl, int v)
{
    return LoadLayoutTable(xsl, LayoutTable::RRPrint, v);
}
int CTavrionDoc::LoadRhyInterprePrintPos(CECGXMLParser* xsl, int v)
{
    return LoadLayoutTable(xsl, LayoutTable::RhythmPrint, v);
}
int CTavrionDoc::LoadMsfrInterprePrintPos(CECGXMLParser* xsl, int v)
{
    return LoadLayoutTable(xsl, LayoutTable::FinalPrint, v);
}
int CTavrionDoc::LoadExtraInterprePrintPos(CECGXMLParser* xsl, int v)
{
    return LoadLayoutTable(xsl, LayoutTable::ExtraPrint, v);
}
int CTavrionDoc::LoadExerInterprePrintPos(CECGXMLParser* xsl, int v)
{
    return LoadLayoutTable(xsl, LayoutTable::ExerPrint, v);
}

// The suffix as the reports print it: trimmed, then cut to the longest
// leading part that takes at most four columns on paper, never inside a
// character. Counted by width, not by Shift-JIS bytes: a character Shift-JIS
// cannot hold would count one byte yet print two columns wide.
static CString CutSuffix(CString suffix)
{
    suffix.Trim();
    return CutToColumns(suffix, kSuffixMaxColumns);
}

int CTavrionDoc::GetCtrlPosFromXSL(_LOAD_POSITION_TYPE type)
{
    // A refresh reads the two patient tables first.
    static const LayoutTable kRefreshOrder[] = {
        LayoutTable::PatInfo,   LayoutTable::PatInfoPrint, LayoutTable::Rest,        LayoutTable::UsaRest,
        LayoutTable::Rhythm,    LayoutTable::RR,           LayoutTable::Final,       LayoutTable::Extra,
        LayoutTable::Exer,      LayoutTable::RestPrint,    LayoutTable::UsaRestPrint, LayoutTable::RhythmPrint,
        LayoutTable::RRPrint,   LayoutTable::FinalPrint,   LayoutTable::ExtraPrint,  LayoutTable::ExerPrint,
    };

    // Without a work directory there is no stylesheet: the load fails and the
    // tables keep their defaults.
    CString path;
    if (g_pWorkDir) path.Format(L"%s\\%s", g_pWorkDir, kStylesheetName);
    CECGXMLParser xsl(path, 0, CString());

    auto load = [&](LayoutTable table, int bVisibleOnly) {
        switch (table) {
        case LayoutTable::PatInfo: return LoadPatInfoPos(&xsl, bVisibleOnly);
        case LayoutTable::Rest: return LoadRestInterprePos(&xsl, bVisibleOnly);
        case LayoutTable::UsaRest: return LoadUsaRestInterprePos(&xsl, bVisibleOnly);
        case LayoutTable::Rhythm: return LoadRhyInterprePos(&xsl, bVisibleOnly);
        case LayoutTable::RR: return LoadRRInterprePos(&xsl, bVisibleOnly);
        case LayoutTable::Final: return LoadMsfrInterprePos(&xsl, bVisibleOnly);
        case LayoutTable::Extra: return LoadExtraInterprePos(&xsl, bVisibleOnly);
        case LayoutTable::Exer: return LoadExerInterprePos(&xsl, bVisibleOnly);
        case LayoutTable::PatInfoPrint: return LoadPatInfoPrintPos(&xsl, bVisibleOnly);
        case LayoutTable::RestPrint: return LoadRestInterprePrintPos(&xsl, bVisibleOnly);
        case LayoutTable::UsaRestPrint: return LoadUsaRestInterprePrintPos(&xsl, bVisibleOnly);
        case LayoutTable::RhythmPrint: return LoadRhyInterprePrintPos(&xsl, bVisibleOnly);
        case LayoutTable::RRPrint: return LoadRRInterprePrintPos(&xsl, bVisibleOnly);
        case LayoutTable::FinalPrint: return LoadMsfrInterprePrintPos(&xsl, bVisibleOnly);
        case LayoutTable::ExtraPrint: return LoadExtraInterprePrintPos(&xsl, bVisibleOnly);
        case LayoutTable::ExerPrint: return LoadExerInterprePrintPos(&xsl, bVisibleOnly);
        case LayoutTable::Count: break;
        }
        return 255;
    };
    auto loadOnce = [&](LayoutTable table) {
        if (!*GetLayoutLoadedFlag(g_stDefCtrlPos, table)) load(table, 0);
    };

    if (type >= LOAD_POS_REST && type <= LOAD_POS_EXER) loadOnce(LayoutTable::PatInfo);
    if (type >= LOAD_POS_REST_PRINT && type <= LOAD_POS_EXER_PRINT) loadOnce(LayoutTable::PatInfoPrint);
    switch (type) {
    case LOAD_POS_REST:
        loadOnce(LayoutTable::Rest);
        loadOnce(LayoutTable::UsaRest);
        break;
    case LOAD_POS_RHYTHM: loadOnce(LayoutTable::Rhythm); break;
    case LOAD_POS_RR: loadOnce(LayoutTable::RR); break;
    case LOAD_POS_FINAL: loadOnce(LayoutTable::Final); break;
    case LOAD_POS_EXTRA: loadOnce(LayoutTable::Extra); break;
    case LOAD_POS_EXER: loadOnce(LayoutTable::Exer); break;
    case LOAD_POS_REST_PRINT:
        loadOnce(LayoutTable::RestPrint);
        loadOnce(LayoutTable::UsaRestPrint);
        break;
    case LOAD_POS_RHYTHM_PRINT: loadOnce(LayoutTable::RhythmPrint); break;
    case LOAD_POS_RR_PRINT: loadOnce(LayoutTable::RRPrint); break;
    case LOAD_POS_FINAL_PRINT: loadOnce(LayoutTable::FinalPrint); break;
    case LOAD_POS_EXTRA_PRINT: loadOnce(LayoutTable::ExtraPrint); break;
    case LOAD_POS_EXER_PRINT: loadOnce(LayoutTable::ExerPrint); break;
    case LOAD_POS_REFRESH_VISIBLE:
        // Only the visible flags of what is loaded: a full load appends bound
        // paths, so no table may load twice.
        for (LayoutTable table : kRefreshOrder) {
            if (*GetLayoutLoadedFlag(g_stDefCtrlPos, table)) load(table, 1);
        }
        break;
    default: break;
    }

    if (!m_bSuffixRead) {
        CString xpath;
        xpath.Format(L"/xsl:stylesheet/xsl:Visible_info/Tag[@id='%d']", kSuffixTag);
        CString suffix;
        g_strSuffix = xsl.GetDataFromXMLDOM(suffix, xpath, 2, L"suffix") ? CutSuffix(suffix) : CString();
        m_bSuffixRead = 1;
    }
    return 0;
}

CString CTavrionDoc::GetDefXMLPath(int kind, int index, int alt)
{
    const LayoutTable table = LayoutTableOfKind(kind);
    const _LAYOUT_TABLE_NAMES* names = GetLayoutTableNames(table);
    const _POSITION_CTRL* entries = GetLayoutEntries(g_stDefCtrlPos, table);
    if (!names || !entries || index < 0 || index >= names->nCount) return CString();
    const CStringArray& paths = entries[index].arrXmlPath;
    if (alt < 0 || alt >= paths.GetSize()) return CString();
    return paths[alt];
}

CString CTavrionDoc::GetSuffix() const { return g_strSuffix; }
_DEFAULT_POSITION_CTRL* CTavrionDoc::GetDefCtrlPos() const { return &g_stDefCtrlPos; }
