// The resting interpretation print blocks of CECGPrintBase: the rows of a
// print template drawn from the record XML, in the loader's row order.
#include "core/PositionCtrl.h"
#include "core/TavrionDoc.h"
#include "documents/RestViewDoc.h"
#include "platform/base/Kernel.h"
#include "printdevice/ECGDC.h"
#include "reports/ECGPrintBase.h"
#include "reports/ReportTextScope.h"

namespace {
constexpr int kRestTable = 8;
constexpr int kUsaRestTable = 9;
constexpr int kRRTable = 10;
constexpr int kRhythmTable = 11;
constexpr int kExtraTable = 13;
// One print line, in thousandths of the printable height.
constexpr int kLine = 18;
}  // namespace

// The rows of the resting and US-style templates that get texts of their own.
struct CECGPrintBase::InterpreRows {
    int nTable;
    int nLastRow;          // the block's rows run from 0 to this one
    int nMedication1;
    int nMedication2;
    int nFirstMeasure;     // the measurement values, every second row up to nLastRow
    int nMeasureAlternative;
    bool bPresencePairs;   // the rest template has the sub ID, kana and request rows
};

namespace {
constexpr int kNameEdt = 3, kSexCmb = 5, kAgeEdt = 7, kHeightEdt = 8, kHeightStc = 9, kWeightEdt = 10,
              kWeightStc = 11, kBpLowEdt = 12, kBpHighEdt = 14, kBpUnitStc = 15;
}  // namespace

// ---- rows -----------------------------------------------------------------------------------

const _POSITION_CTRL* CECGPrintBase::PrintTable(int nKind) const
{
    if (!m_pDoc) return nullptr;
    _DEFAULT_POSITION_CTRL* tables = m_pDoc->GetDefCtrlPos();
    switch (nKind) {
    case kRestTable: return tables->stRestPrint;
    case kUsaRestTable: return tables->stUsaRestPrint;
    case kRRTable: return tables->stRRPrint;
    case kRhythmTable: return tables->stRhythmPrint;
    case kExtraTable: return tables->stExtraPrint;
    default: return nullptr;
    }
}

CRect CECGPrintBase::RowRect(const CRect& rcBlock, const _POSITION_CTRL& row, int nShift) const
{
    CRect rect;
    rect.left = rcBlock.left + MulDiv(m_nPrintWidth, row.nLeft, 1000);
    rect.top = rcBlock.top + MulDiv(m_nPrintHeight, row.nTop + nShift, 1000);
    // Crossed as in the patient block: the stored layouts are drawn for it.
    rect.right = rect.left + MulDiv(m_nPrintHeight, row.nWidth, 1000);
    rect.bottom = rect.top + MulDiv(m_nPrintWidth, row.nHeight, 1000);
    return rect;
}

CString CECGPrintBase::RowValue(int nKind, int nRow, int nAlternative)
{
    return m_pDoc ? ReadXml(m_pDoc->GetDefXMLPath(nKind, nRow, nAlternative)) : CString();
}

CString CECGPrintBase::RowText(int nKind, int nRow)
{
    const _POSITION_CTRL* table = PrintTable(nKind);
    if (!table) return CString();
    return table[nRow].arrXmlPath.GetSize() > 0 ? RowValue(nKind, nRow) : table[nRow].strCaption;
}

BOOL CECGPrintBase::IsRowVisible(int nKind, int nRow) const
{
    const _POSITION_CTRL* table = PrintTable(nKind);
    return table && table[nRow].bVisible;
}

void CECGPrintBase::DrawRow(int nKind, int nRow, const CRect& rcBlock, int nShift, const CString& text)
{
    const _POSITION_CTRL* table = PrintTable(nKind);
    if (!table || !table[nRow].bVisible) return;
    CRect rect = RowRect(rcBlock, table[nRow], nShift);
    m_pECGDC->DrawText(text, &rect, DT_NOCLIP);
}

int CECGPrintBase::CommentRow(int nKind, int nRow, const CRect& rcBlock, int nShift, const CString& text,
                              int nMaxLines)
{
    const _POSITION_CTRL* table = PrintTable(nKind);
    if (!table || !table[nRow].bVisible) return nMaxLines;
    if (nMaxLines <= 0) return 0;
    return nMaxLines - PrintComment(text, RowRect(rcBlock, table[nRow], nShift), nMaxLines);
}

int CECGPrintBase::PrintAdditions(int nKind, int nFirst, const CRect& rcBlock, int nShift)
{
    int hidden = 0;
    DrawRow(nKind, nFirst, rcBlock, nShift, RowText(nKind, nFirst));
    for (int row = nFirst + 1; row <= nFirst + 6; ++row) {
        const bool content = (row - nFirst) % 2 == 0;
        if (!IsRowVisible(nKind, row)) {
            if (content) hidden += kLine;
            continue;
        }
        CommentRow(nKind, row, rcBlock, nShift - hidden, RowText(nKind, row), 1);
    }
    return 4 - hidden / kLine;
}

void CECGPrintBase::SuppressEmptyPairs(int nKind, std::initializer_list<int> valueRows, bool* suppressed)
{
    for (int value : valueRows)
        if (RowValue(nKind, value).IsEmpty()) suppressed[value] = suppressed[value - 1] = true;
}

int CECGPrintBase::PrintGatedAdditions(int nKind, int nFirst, int nFlags, const CRect& rcBlock)
{
    if (!(nFlags & PrintTable(nKind)[nFirst].bVisible)) return 0;
    return kLine * PrintAdditions(nKind, nFirst, rcBlock, 0);
}

CString CECGPrintBase::MedicationText(const CString& text, int nIndex, int nList)
{
    if (!text.IsEmpty() || nIndex < 0 || !m_pDoc) return text;
    CStringArray* list = m_pDoc->GetEditableParam(static_cast<_EDITABLE_PARAM_INDEX>(nList));
    return list && nIndex < list->GetSize() ? list->GetAt(nIndex) : CString();
}

// ---- the resting blocks -----------------------------------------------------------------------

int CECGPrintBase::PrintRestInterpreInfo(CRect rcBlock)
{
    static const InterpreRows kRows = {kRestTable, 52, 21, 22, 40, 0, true};
    PrintRestLikeInfo(rcBlock, kRows);
    PrintMiniAndIvrel(rcBlock);
    return 1;
}

int CECGPrintBase::PrintAmeInterpreInfo(CRect rcBlock)
{
    static const InterpreRows kRows = {kUsaRestTable, 40, 17, 18, 28, 1, false};
    PrintRestLikeInfo(rcBlock, kRows);
    PrintAmeMiniAndIvrel(rcBlock);
    return 1;
}

int CECGPrintBase::PrintRestLikeInfo(CRect rcBlock, const InterpreRows& rows)
{
    const int table = rows.nTable;
    if (!PrintTable(table)) return 1;
    CReportTextScope scope(*m_pECGDC, m_pPrintFont, TA_LEFT | TA_TOP);
    auto* rest = m_DocType == 0 ? dynamic_cast<CRestViewDoc*>(m_pDoc) : nullptr;
    _RESTDATAITEM* item = rest ? rest->GetCurrentDataItem() : nullptr;
    // An empty sub ID, kana name or request section leaves its caption out too.
    bool suppressed[64] = {};
    if (rows.bPresencePairs) SuppressEmptyPairs(table, {17, 19, 34}, suppressed);
    const CString bpUnit = FormatUnit(m_pDoc->GetDefXMLPath(table, kBpUnitStc, 0), DATA_UNIT_BP);
    for (int row = 0; row <= rows.nLastRow; ++row) {
        if (suppressed[row] || !IsRowVisible(table, row)) continue;
        auto path = [&](int alternative) { return m_pDoc->GetDefXMLPath(table, row, alternative); };
        CString text;
        if (row == kAgeEdt)
            text = FormatPrintAge(path(0)) + FormatPrintBirthday(path(1));
        else if (row == kHeightEdt || row == kWeightEdt)
            text = FormatWeightHeight(path(0), path(1));
        else if (row == kHeightStc || row == kWeightStc || row == kBpUnitStc)
            text = FormatUnit(path(0), row == kHeightStc ? DATA_UNIT_HEIGHT
                                       : row == kWeightStc ? DATA_UNIT_WEIGHT : DATA_UNIT_BP);
        else if (row == kBpLowEdt || row == kBpHighEdt)
            text = FormatBPValue(bpUnit, path(0));
        else if (row >= rows.nFirstMeasure && (row - rows.nFirstMeasure) % 2 == 0)
            text = FormatAnalyseInfo(row, rows.nMeasureAlternative);
        else if (row == rows.nMedication1 && item)
            text = MedicationText(item->stInterpre.strMedication1, item->stInterpre.nMedication1Sel, 0);
        else if (row == rows.nMedication2 && item)
            text = MedicationText(item->stInterpre.strMedication2, item->stInterpre.nMedication2Sel, 1);
        else if (row == rows.nMedication1 || row == rows.nMedication2)
            text.Empty();
        else
            text = RowText(table, row);
        if ((row == kSexCmb || row == kHeightStc || row == kWeightStc || row == rows.nMedication1) && !text.IsEmpty())
            text += L" ,";
        if (row == kNameEdt) text += g_strSuffix;
        DrawRow(table, row, rcBlock, 0, text);
    }
    return 1;
}
