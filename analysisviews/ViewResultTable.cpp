// CViewResultTable: the screen and paper result tables.
#include "analysisviews/ViewResultTable.h"

#include <algorithm>
#include <cmath>

#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/ui/framework/ClientDC.h"
#include "printdevice/ECGDC.h"

IMPLEMENT_DYNCREATE(CViewResultTable, CView)

BEGIN_MESSAGE_MAP(CViewResultTable, CView)
END_MESSAGE_MAP()

namespace {

const wchar_t* const kScreenLabels[CViewResultTable::ROWS] = {
    L"%", L"心拍数 [bpm]", L"METs", L"VO2 [ml/kg/min]", L"Kcal/10min", L"RSP [km/h]", L"WSP [km/h]", L"負荷量 [W]"};
const wchar_t* const kPaperLabels[CViewResultTable::ROWS] = {
    L"%", L"心拍数 [bpm]", L"METs", L"VO2 [ml/kg/min]", L"kcal/10min", L"RSP [km/h]", L"WSP [km/h]", L"負荷量 [W]"};
const COLORREF kBand = RGB(220, 255, 220);
// The document's normal text font.
const int kTextFont = 0;
// The signature line is at least this many average characters long.
const int kSignatureChars = 17;

}  // namespace

CViewResultTable::CViewResultTable() : m_pGridPen(new CPen(PS_SOLID, 1, RGB(127, 127, 127))) {}

CViewResultTable::~CViewResultTable()
{
    delete m_pGridPen;
}

CExerViewDoc* CViewResultTable::GetExerDoc() const
{
    return DYNAMIC_DOWNCAST(CExerViewDoc, m_pDocument);
}

_EXERDATAITEM* CViewResultTable::CurrentItem() const
{
    CExerViewDoc* doc = GetExerDoc();
    return doc ? doc->GetCurrentDataItem() : nullptr;
}

void CViewResultTable::OnUpdate(CView*, LPARAM, CObject*)
{
    _EXERDATAITEM* item = CurrentItem();
    if (!item || !item->stInterpre.bSaved) return;
    GetExerDoc()->GetResultInfoFromXMLFile(item);
    item->stInterpre.bSaved = 0;
    if (!GetSafeHwnd()) return;
    CClientDC dc(this);
    OnDraw(&dc);
}

void CViewResultTable::OnDraw(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    const int right = client.right;
    const int bottom = client.bottom;
    const int W = client.Width();
    const int H = client.Height();
    CDCStateSaver saver(*pDC);
    CDCObjectSelector<CFont> font(*pDC);
    CExerViewDoc* doc = GetExerDoc();
    font.Select(doc ? doc->GetDocFont(kTextFont) : nullptr);
    pDC->SetTextAlign(TA_CENTER | TA_TOP);
    pDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
    pDC->SetBkMode(TRANSPARENT);
    CDCObjectSelector<CPen> pen(*pDC, m_pGridPen);
    for (int i = 1; i <= 7; ++i) {
        const int y = MulDiv(bottom, i, 8);
        if (i % 2 == 1) pDC->FillSolidRect(0, y, W, MulDiv(bottom, i + 1, 8) - y, kBand);
        pDC->MoveTo(0, y);
        pDC->LineTo(right, y);
    }
    pDC->MoveTo(MulDiv(right, 2, 12), client.top);
    pDC->LineTo(MulDiv(right, 2, 12), bottom);
    for (int c = 3; c <= 11; ++c) {
        pDC->MoveTo(MulDiv(right, c, 12), 0);
        pDC->LineTo(MulDiv(right, c, 12), bottom);
    }
    for (int r = 0; r < ROWS; ++r)
        pDC->TextOut(2 * (W / 12 / 2), MulDiv(bottom, r, 8) + H / 8 / 3, CString(kScreenLabels[r]));
    const _EXERDATAITEM* item = CurrentItem();
    if (!item) return;
    for (int c = 0; c < COLUMNS; ++c)
        for (int r = 0; r < ROWS; ++r)
            pDC->TextOut((c + 2) * right / 12 + W / 12 / 2, MulDiv(bottom, r, 8) + H / 8 / 3,
                         item->stResult.strValue[r][c]);
}

CString CViewResultTable::RegressionText(double slope, double intercept)
{
    CString s;
    CString i;
    CString text;
    if (intercept > 0) {
        s.Format(L"%5.3f", slope);
        i.Format(L"%5.1f", intercept);
        text.Format(L"METs = %s x HR + %s", s.GetString(), i.GetString());
    } else if (!HasExerRegression(slope, intercept)) {
        text.Format(L"METs = %s x HR + %s", L"*.*", L"*.*");
    } else {
        s.Format(L"%5.3f", slope);
        // An intercept of exactly 0 prints as 0.0, never as a negative zero.
        i.Format(L"%5.1f", std::fabs(intercept));
        text.Format(L"METs = %s x HR - %s", s.GetString(), i.GetString());
    }
    return text;
}

void CViewResultTable::PrintSignature(CDC* pDC, const CRect& rect, int y, const CString& doctor) const
{
    TEXTMETRIC tm{};
    pDC->GetTextMetrics(&tm);
    const CString label(L"Reviewed by :");
    const int x = rect.left + 3 * rect.Width() / 5;
    pDC->TextOut(x, y, label);
    const int nameX = x + pDC->GetTextExtent(label).cx;
    pDC->TextOut(nameX, y, doctor);
    const int chars = std::max(doctor.GetLength(), kSignatureChars);
    pDC->MoveTo(nameX, y + tm.tmHeight);
    pDC->LineTo(nameX + chars * tm.tmAveCharWidth, y + tm.tmHeight);
}

BOOL CViewResultTable::Print(CECGDC* pDC, CECGXMLParser* pParser, CRect rect)
{
    const _EXERDATAITEM* item = CurrentItem();
    if (!pDC || !pDC->GetDC() || !pParser || !item) return FALSE;
    CDC* dc = pDC->GetDC();
    CDCStateSaver saver(*dc);
    dc->SetBkMode(TRANSPARENT);
    TEXTMETRIC tm{};
    dc->GetTextMetrics(&tm);
    const int h = tm.tmHeight;
    const int W = rect.Width();
    const int H = rect.Height();
    dc->SetTextAlign(TA_LEFT | TA_TOP);
    dc->TextOut(rect.left, rect.top, CString(L"*** 結果 : "));
    const int top = rect.top + static_cast<int>(1.5 * h);
    const int height = 8 * H / 11;
    const int bottom = top + height;
    dc->SetTextAlign(TA_CENTER | TA_TOP);
    for (int r = 0; r <= 8; ++r) {
        const int y = top + MulDiv(height, r, 8);
        if (r % 2 == 1 && r < 8)
            dc->FillSolidRect(rect.left, y, W, top + MulDiv(height, r + 1, 8) - y, RGB(255, 255, 255));
        dc->MoveTo(rect.left, y);
        dc->LineTo(rect.right, y);
    }
    dc->MoveTo(rect.left, top);
    dc->LineTo(rect.left, bottom);
    for (int c = 5; c <= 25; c += 2) {
        dc->MoveTo(rect.left + MulDiv(W, c, 25), top);
        dc->LineTo(rect.left + MulDiv(W, c, 25), bottom);
    }
    for (int r = 0; r < ROWS; ++r)
        dc->TextOut(rect.left + 5 * (W / 25 / 2), top + MulDiv(height, r, 8) + height / 8 / 3,
                    CString(kPaperLabels[r]));
    for (int c = 0; c < COLUMNS; ++c)
        for (int r = 0; r < ROWS; ++r)
            dc->TextOut(rect.left + (5 * W + 2 * W * c) / 25 + 2 * (W / 25 / 2),
                        top + r * (height / 8) + height / 8 / 3, item->stResult.strValue[r][c]);
    dc->SetTextAlign(TA_LEFT | TA_TOP);
    const int y = bottom + static_cast<int>(1.2 * h);
    dc->TextOut(rect.left, y, RegressionText(item->stResult.dSlope, item->stResult.dIntercept));
    PrintSignature(dc, rect, y, item->stPatient.strConfirmDoctor);
    return TRUE;
}
