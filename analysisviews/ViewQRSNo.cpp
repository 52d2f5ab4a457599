#include "analysisviews/ViewQRSNo.h"

#include <algorithm>

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

IMPLEMENT_DYNCREATE(CViewQRSNo, CView)

BEGIN_MESSAGE_MAP(CViewQRSNo, CView)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

const wchar_t kBeatPath[] = L"/Rawdata/Tavrion/Measurement/Measurement_section/Qrs_no";
const wchar_t kTypeTitle[] = L"(P) QRS type";
const wchar_t kTypeMissing[] = L"**";
const wchar_t kRrMissing[] = L"****";

}  // namespace

CViewQRSNo::CViewQRSNo() = default;

CViewQRSNo::~CViewQRSNo() = default;

void CViewQRSNo::OnUpdate()
{
    auto* doc = dynamic_cast<CRestViewDoc*>(GetDocument());
    _RESTDATAITEM* item = doc && m_nDocType == DOC_TYPE_REST ? doc->GetCurrentDataItem() : nullptr;
    if (!item) {
        // No resting record now: what was read for the last one is not shown for it.
        m_pParser.reset();
        m_nBeatCount = -1;
        return;
    }
    m_pParser = std::make_unique<CECGXMLParser>(item->strXMLPath, item->b8000File, CString());
    CString count;
    m_nBeatCount = m_pParser->GetDataFromXMLDOM(count, kBeatPath, 2, L"count") ? _wtoi(count) : 0;
}

void CViewQRSNo::SetQRSNum(int step)
{
    if (step == 1) {
        if (m_nFirstBeat + QRS_NO_SCREEN_BEATS < m_nBeatCount) ++m_nFirstBeat;
    } else if (step == -1) {
        if (m_nFirstBeat > 0) --m_nFirstBeat;
    } else if (m_nFirstBeat + QRS_NO_SCREEN_BEATS > m_nBeatCount) {
        m_nFirstBeat = 0;
    }
}

bool CViewQRSNo::ReadBeatValue(LPCWSTR name, int beat, CString& value) const
{
    if (!m_pParser) return false;
    CString list;
    list.Format(L"%s/%s", kBeatPath, name);
    CString element;
    element.Format(L"%s_element", name);
    CString node;
    node.Format(L"%s/%s[%d]", list.GetString(), element.GetString(), beat);
    return m_pParser->GetDataFromXMLDOM(value, node, 2, L"data") != 0;
}

bool CViewQRSNo::ReadBeat(int beat, CString& qrsType, CString& rrInterval) const
{
    const bool type = ReadBeatValue(L"Qrs_type", beat, qrsType);
    const bool rr = ReadBeatValue(L"Rr_int", beat, rrInterval);
    if (!type) qrsType = kTypeMissing;
    if (!rr) rrInterval = kRrMissing;
    return type && rr;
}

BOOL CViewQRSNo::OnEraseBkgnd(CDC* pDC)
{
    FillBackground(*pDC, GetDocument());
    return TRUE;
}

void CViewQRSNo::OnDraw(CDC* pDC)
{
    if (!m_pParser) OnUpdate();
    CDCStateSaver saved(*pDC);
    CDCObjectSelector<CFont> font(*pDC);
    const auto [rowH, colW, text] = BeginQRSTable(*pDC, *this, 4, font);
    const int headY = static_cast<int>(4 * g_dYUnit);
    TextAt(*pDC, colW / 2, headY, L"QRS No.", TA_LEFT, text);
    pDC->FillSolidRect(colW / 2, 2 * rowH, 17 * (colW / 2) - colW / 2, rowH, kBand);
    TextAt(*pDC, colW / 2, 2 * rowH, kTypeTitle, TA_LEFT, text);
    TextAt(*pDC, colW / 2, 3 * rowH, L"RR int.", TA_LEFT, text);
    TextAt(*pDC, 2 * colW, 3 * rowH, L"ms :", TA_RIGHT, text);
    for (int j = 0; j < QRS_NO_SCREEN_BEATS; ++j) {
        const int x = 3 * colW + j * colW;
        CString number;
        number.Format(L"%d", m_nFirstBeat + j + 1);
        TextAt(*pDC, x, headY, number, TA_RIGHT, text);
        // Without a resting record there is nothing to read: the value rows
        // stay empty rather than claim twelve unreadable values.
        if (!m_pParser) continue;
        CString type;
        CString rr;
        ReadBeat(m_nFirstBeat + j + 1, type, rr);
        TextAt(*pDC, x, 2 * rowH, type, TA_RIGHT, ValueColour(type, text));
        TextAt(*pDC, x, 3 * rowH, rr, TA_RIGHT, ValueColour(rr, text));
    }
    for (int k = 0; k < QRS_NO_SCREEN_BEATS - 1; ++k) {
        const int x = 3 * colW + colW / 2 + k * colW;
        for (int y : {headY, 2 * rowH, 3 * rowH}) TextAt(*pDC, x, y, L":", TA_RIGHT, text);
    }
}

BOOL CViewQRSNo::Print(CECGDC* pECGDC, CRect rect, int page)
{
    // A print before the first drawing reads the record XML first, as the drawing does.
    if (!m_pParser) OnUpdate();
    if (!pECGDC || !pECGDC->GetDC()) return TRUE;
    CDC& dc = *pECGDC->GetDC();
    CDCStateSaver saved(dc);
    LOGFONT font{};
    if (CFont* current = dc.GetCurrentFont()) current->GetLogFont(&font);
    const int fh = std::abs(static_cast<int>(font.lfHeight));
    const int cw = MulDiv(rect.Width(), 1, 24);
    dc.SetBkMode(TRANSPARENT);
    CDCObjectSelector<CPen> pen(dc, g_pPenSemiBold);
    const int numberY = rect.top + fh / 3;
    const int typeY = rect.top + (7 * fh) / 3;
    TextAt(dc, rect.left, numberY, L"QRS No.", TA_LEFT, kBlack);
    TextAt(dc, rect.left, typeY, kTypeTitle, TA_LEFT, kBlack);
    TextAt(dc, rect.left, typeY + (4 * fh) / 3, L"RR int.", TA_LEFT, kBlack);
    CString count;
    if (!m_pParser || !m_pParser->GetDataFromXMLDOM(count, kBeatPath, 2, L"count")) return TRUE;
    const int beats = _wtoi(count);
    if (beats == 0) {
        TextAt(dc, rect.left + 3 * cw, typeY, kTypeMissing, TA_LEFT, kGrey);
        return TRUE;
    }
    const int n = std::min(std::min(beats, QRS_NO_MAX_BEATS) - QRS_NO_PAGE_BEATS * page, QRS_NO_PAGE_BEATS);
    if (n < 1) return TRUE;
    const int lineY = rect.top + fh / 2 + (4 * fh) / 3;
    dc.MoveTo(rect.left + 3 * cw, lineY);
    dc.LineTo(rect.left + (n + 2) * cw, lineY);
    for (int i = 0; i < n; ++i) {
        const int beat = QRS_NO_PAGE_BEATS * page + i + 1;
        const int x = rect.left + 3 * cw + i * cw;
        CString number;
        number.Format(L"%d", beat);
        CString type;
        CString rr;
        ReadBeat(beat, type, rr);
        TextAt(dc, x, numberY, number, TA_RIGHT, kBlack);
        TextAt(dc, x, typeY, type, TA_RIGHT, ValueColour(type, kBlack));
        TextAt(dc, x, rect.top + (11 * fh) / 3, rr, TA_RIGHT, ValueColour(rr, kBlack));
    }
    return TRUE;
}
