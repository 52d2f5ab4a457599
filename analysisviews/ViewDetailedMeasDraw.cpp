// The measurement table under the cells on screen, and the table on paper,
// which is read from the record XML rather than from the cells.
#include "analysisviews/ViewDetailedMeas.h"
#include "analysisviews/TableText.h"

#include <cstdlib>

#include "core/ECGXMLParser.h"
#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "documents/RestViewDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "printdevice/ECGDC.h"

using namespace tabletext;

namespace {

const int kYesNoRow = 21;
const int kRv5 = 8;
const int kSv1 = 9;
const int kSum = 10;
const wchar_t kRowPath[] = L"/Rawdata/Tavrion/Measurement/Measurement_section/Mm/%s";

// "RV5+SV1" from the two texts: "%.03f", or "*.***" when either is missing.
CString SumText(const CString& rv5, const CString& sv1)
{
    if (IsMissing(rv5) || IsMissing(sv1)) return CString(L"*.***");
    CString text;
    text.Format(L"%.03f", _wtof(rv5) + _wtof(sv1));
    return text;
}

// The screen's reading of a record-wide value: a PR of 0 and a P or QRS
// axis of 999 are no measurement.
CString ShownGlobal(int index, const CString& text)
{
    if (index == 1 && _wtoi(text) == 0) return CString(L"***");
    if ((index == 5 || index == 6) && _wtoi(text) == 999) return CString(L"***");
    return text;
}

}  // namespace

// ---- screen ------------------------------------------------------------------------------

void CViewDetailedMeas::OnDraw(CDC* pDC)
{
    _MEASURE_INFO* measures = RestMeasures();
    if (!pDC || !measures) return;
    const Layout layout = GetLayout();
    {
        CDCStateSaver saved(*pDC);
        pDC->SetBkMode(TRANSPARENT);
        CDCObjectSelector<CFont> font(*pDC, TableFont(GetDocument()));
        DrawTable(*pDC, layout, *measures);
        DrawGlobals(*pDC, layout, *measures);
    }
    FocusCell(m_nFocusId);
}

void CViewDetailedMeas::DrawTable(CDC& dc, const Layout& l, const _MEASURE_INFO& /*measures*/)
{
    const int left = MulDiv(l.width, 10, 40);
    const int lineY = static_cast<int>(17 * l.uy) * 5 / 2;
    DottedRule(dc, left, l.width - static_cast<int>(12 * l.ux), lineY);
    const CString* names = RestLeadNames();
    dc.SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
    for (int lead = 0; names && lead < DETAILED_MEAS_LEADS; ++lead) {
        CRect band(MulDiv(l.width, 17, 40) + lead * l.colW, l.headingTop, MulDiv(l.width, 17, 40) + (lead + 1) * l.colW,
                   l.headingTop + l.rowH);
        dc.DrawText(names[lead], &band, DT_CENTER);
    }
    for (int row = 0; row < DETAILED_MEAS_ROWS; row += 2)
        dc.FillSolidRect(left, l.firstRowTop + row * l.rowH - 1, static_cast<int>(left + 740 * l.ux) - left, l.rowH,
                         kBand);
    for (int row = 0; row < DETAILED_MEAS_ROWS; ++row) {
        const int y = l.firstRowTop + row * l.rowH;
        if (m_bRowMissing[row]) {
            // Seen only where a cell is hidden: the visible cells cover it.
            for (int lead = 0; lead < DETAILED_MEAS_LEADS; ++lead)
                TextAt(dc, MulDiv(l.width, 18, 40) + lead * l.colW, y, row < kYesNoRow ? L"****" : L"*", TA_CENTER,
                       kGrey);
        }
        TextAt(dc, left, y, kRows[row].label, TA_LEFT, ::GetSysColor(COLOR_WINDOWTEXT));
        TextAt(dc, left + MulDiv(l.width, 6, 40), y, kRows[row].unit, TA_RIGHT, ::GetSysColor(COLOR_WINDOWTEXT));
    }
}

void CViewDetailedMeas::DrawGlobals(CDC& dc, const Layout& l, const _MEASURE_INFO& measures)
{
    const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
    for (int k = 0; k < DETAILED_MEAS_GLOBALS; k += 2)
        dc.FillSolidRect(0, l.firstRowTop + k * l.rowH - 1, static_cast<int>(190 * l.ux), l.rowH, kBand);
    const int valueX = 3 * l.colW;
    const int labelX = static_cast<int>(4 * l.ux);
    const int unitX = labelX + 9 * ((3 * l.colW) / 8);
    for (int k = 0; k < DETAILED_MEAS_GLOBALS; ++k) {
        const int y = l.firstRowTop + k * l.rowH;
        const CString value = k == kSum ? SumText(measures.strGlobal[kRv5], measures.strGlobal[kSv1])
                                        : ShownGlobal(k, measures.strGlobal[k]);
        TextAt(dc, valueX, y, value, TA_RIGHT, ValueColour(value, k >= kRv5 ? text : kBlack));
        TextAt(dc, labelX, y, kGlobals[k].label, TA_LEFT, text);
        TextAt(dc, unitX, y, kGlobals[k].unit, TA_LEFT, text);
    }
}

// ---- paper ----------------------------------------------------------------------------------

BOOL CViewDetailedMeas::Print(CECGDC* pECGDC, CRect rect)
{
    auto* doc = dynamic_cast<CRestViewDoc*>(GetDocument());
    _RESTDATAITEM* item = doc && m_nDocType == DOC_TYPE_REST ? doc->GetCurrentDataItem() : nullptr;
    if (!pECGDC || !pECGDC->GetDC() || !item || item->strXMLPath.IsEmpty()) return FALSE;
    CECGXMLParser xml(item->strXMLPath, item->b8000File, CString());
    CDC& dc = *pECGDC->GetDC();
    CDCStateSaver saved(dc);
    dc.SetBkMode(TRANSPARENT);
    const int cw = MulDiv(rect.Width(), 1, 20);
    const int rh = MulDiv(rect.Height(), 1, 28);
    CDCObjectSelector<CPen> pen(dc, g_pPenSemiBold);
    dc.MoveTo(rect.left + 5 * cw, rect.top + 3 * rh);
    dc.LineTo(rect.right - cw, rect.top + 3 * rh);
    for (int lead = 0; lead < DETAILED_MEAS_LEADS; ++lead)
        TextAt(dc, rect.left + 8 * cw + lead * cw, rect.top + (3 * rh) / 2, item->stLeadName.strDispName[lead],
               TA_CENTER, kBlack);
    for (int row = 0; row < DETAILED_MEAS_ROWS; ++row) {
        const int y = rect.top + (4 + row) * rh;
        TextAt(dc, rect.left + 4 * cw + cw / 2, y, kRows[row].label, TA_LEFT, kBlack);
        TextAt(dc, rect.left + 8 * cw - cw / 2, y, kRows[row].unit, TA_RIGHT, kBlack);
        CString rowPath;
        rowPath.Format(kRowPath, kRows[row].element);
        CString element;
        element.Format(L"%s_element", kRows[row].element);
        for (int lead = 0; lead < DETAILED_MEAS_LEADS; ++lead) {
            CString node;
            node.Format(L"%s/%s[%d]", rowPath.GetString(), element.GetString(), lead + 1);
            CString value;
            if (!xml.GetDataFromXMLDOM(value, node, 2, L"data"))
                value = row < kYesNoRow ? L"****" : L"*";
            else if (row < kYesNoRow ? value == L"0" : value.CompareNoCase(L"N") == 0)
                value.Empty();   // no finding prints blank
            TextAt(dc, rect.left + 8 * cw + cw / 6 + lead * cw, y, value, TA_RIGHT, ValueColour(value, kBlack));
        }
    }
    CString read[DETAILED_MEAS_GLOBALS - 1];
    for (int k = 0; k < DETAILED_MEAS_GLOBALS; ++k) {
        const int y = rect.top + (4 + k) * rh;
        TextAt(dc, rect.left, y, kGlobals[k].label, TA_LEFT, kBlack);
        TextAt(dc, rect.left + 3 * cw + cw / 4, y, kGlobals[k].unit, TA_LEFT, kBlack);
        CString value;
        if (k == kSum)
            value = SumText(read[kRv5], read[kSv1]);
        else if (!xml.GetDataFromXMLDOM(value, kGlobals[k].xpath, 4, CString()))
            value = k < kRv5 ? L"***" : L"*.***";
        if (k < kSum) read[k] = value;
        TextAt(dc, rect.left + 2 * cw + (2 * cw) / 3, y, value, TA_RIGHT, ValueColour(value, kBlack));
    }
    return TRUE;
}
