#include "analysisviews/ViewQRSType.h"

#include <memory>

#include "analysisviews/QRSTableGrid.h"
#include "analysisviews/TableText.h"
#include "core/ECGXMLParser.h"
#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "documents/RestViewDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "printdevice/ECGDC.h"

using namespace tabletext;

IMPLEMENT_DYNCREATE(CViewQRSType, CView)

BEGIN_MESSAGE_MAP(CViewQRSType, CView)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

const wchar_t kTypePath[] = L"/Rawdata/Tavrion/Measurement/Measurement_section/Qrs/%s";
const LPCWSTR kLabels[QRS_TYPE_ROWS] = {L"ave.   RR", L"P     dur.", L"PR    int.", L"QRS   dur.", L"QT    int."};
const LPCWSTR kKeys[QRS_TYPE_ROWS] = {L"Ave_rr", L"P_Dur", L"Pr_int", L"Qrs_dur", L"Qt_int"};

CString Number(int n)
{
    CString text;
    text.Format(L"%d", n);
    return text;
}

}  // namespace

CViewQRSType::CViewQRSType()
{
    for (int k = 0; k < QRS_TYPE_ROWS; ++k) {
        m_strLabels[k] = kLabels[k];
        m_strKeys[k] = kKeys[k];
    }
}

CString CViewQRSType::ReadValue(CECGXMLParser& xml, int row, int type)
{
    CString list;
    list.Format(kTypePath, kKeys[row]);
    CString element;
    element.Format(L"%s_element", kKeys[row]);
    CString node;
    node.Format(L"%s/%s[%d]", list.GetString(), element.GetString(), type + 1);
    CString value;
    if (!xml.GetDataFromXMLDOM(value, node, 2, L"data")) value = L"****";
    return value;
}

CECGXMLParser* CViewQRSType::OpenRecordXml(bool needPath) const
{
    auto* doc = dynamic_cast<CRestViewDoc*>(GetDocument());
    _RESTDATAITEM* item = doc && m_nDocType == DOC_TYPE_REST ? doc->GetCurrentDataItem() : nullptr;
    if (!item || (needPath && item->strXMLPath.IsEmpty())) return nullptr;
    return new CECGXMLParser(item->strXMLPath, item->b8000File, CString());
}

BOOL CViewQRSType::OnEraseBkgnd(CDC* pDC)
{
    FillBackground(*pDC, GetDocument());
    return TRUE;
}

void CViewQRSType::OnDraw(CDC* pDC)
{
    // A record without its XML still shows the table, every value unreadable.
    std::unique_ptr<CECGXMLParser> xml(OpenRecordXml(false));
    if (!xml) return;
    CDCStateSaver saved(*pDC);
    CDCObjectSelector<CFont> font(*pDC);
    const auto [rowH, colW, text] = BeginQRSTable(*pDC, *this, 7, font);
    for (int k = 0; k < QRS_TYPE_ROWS; ++k) {
        const int y = 2 * rowH + k * rowH;
        if (k % 2 == 0) pDC->FillSolidRect(colW / 2, y, 17 * (colW / 2) - colW / 2, rowH, kBand);
        TextAt(*pDC, colW / 2, y, m_strLabels[k], TA_LEFT, text);
        TextAt(*pDC, 2 * colW, y, L"ms :", TA_RIGHT, text);
        for (int t = 0; t < QRS_TYPE_COUNT; ++t) {
            const CString value = ReadValue(*xml, k, t);
            TextAt(*pDC, 3 * colW + t * colW, y, value, TA_RIGHT, ValueColour(value, text));
            if (t < QRS_TYPE_COUNT - 1) TextAt(*pDC, 3 * colW + colW / 2 + t * colW, y, L":", TA_RIGHT, text);
        }
    }
    const int headY = static_cast<int>(4 * g_dYUnit);
    for (int t = 0; t < QRS_TYPE_COUNT; ++t) {
        TextAt(*pDC, 3 * colW + t * colW, headY, Number(t), TA_RIGHT, text);
        if (t < QRS_TYPE_COUNT - 1) TextAt(*pDC, 3 * colW + t * colW + colW / 2, headY, L":", TA_RIGHT, text);
    }
    TextAt(*pDC, colW / 2, headY, L"QRS Type", TA_LEFT, text);
}

BOOL CViewQRSType::Print(CECGDC* pECGDC, CRect rect)
{
    if (!pECGDC || !pECGDC->GetDC()) return FALSE;
    std::unique_ptr<CECGXMLParser> xml(OpenRecordXml(true));
    if (!xml) return FALSE;
    CDC& dc = *pECGDC->GetDC();
    CDCStateSaver saved(dc);
    const int cw = MulDiv(rect.Width(), 1, 9);
    const int rh = MulDiv(rect.Height(), 1, 7);
    dc.SetBkMode(TRANSPARENT);
    CDCObjectSelector<CPen> pen(dc, g_pPenSemiBold);
    dc.MoveTo(rect.left + cw, rect.top + (3 * rh) / 2);
    dc.LineTo(rect.right - cw, rect.top + (3 * rh) / 2);
    for (int t = 0; t < QRS_TYPE_COUNT; ++t) {
        const int x = rect.left + 3 * cw + t * cw;
        TextAt(dc, x, rect.top, Number(t), TA_RIGHT, kBlack);
        if (t < QRS_TYPE_COUNT - 1) TextAt(dc, x + cw / 2, rect.top, L":", TA_RIGHT, kBlack);
    }
    TextAt(dc, rect.left + cw / 2, rect.top, L"QRS Type", TA_LEFT, kBlack);
    for (int k = 0; k < QRS_TYPE_ROWS; ++k) {
        const int y = rect.top + 2 * rh + k * rh;
        for (int t = 0; t < QRS_TYPE_COUNT; ++t) {
            const CString value = ReadValue(*xml, k, t);
            TextAt(dc, rect.left + 3 * cw + t * cw, y, value, TA_RIGHT, ValueColour(value, kBlack));
            if (t < QRS_TYPE_COUNT - 1) TextAt(dc, rect.left + 3 * cw + cw / 2 + t * cw, y, L":", TA_RIGHT, kBlack);
        }
        TextAt(dc, rect.left + cw / 2, y, m_strLabels[k], TA_LEFT, kBlack);
        TextAt(dc, rect.left + 2 * cw, y, L"ms :", TA_LEFT, kBlack);
    }
    return TRUE;
}
