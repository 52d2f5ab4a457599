// CViewSummaryProtocol: the screen line and the printed block of the
// master-step protocol.
#include "analysisviews/ViewSummaryProtocol.h"

#include <algorithm>

#include "analysisviews/ViewFinalShared.h"
#include "analysisviews/ViewFinalTrendShared.h"
#include "documents/FinalViewDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/ui/windowing/SystemSettings.h"
#include "printdevice/ECGDC.h"

IMPLEMENT_DYNCREATE(CViewSummaryProtocol, CView)

BEGIN_MESSAGE_MAP(CViewSummaryProtocol, CView)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

const wchar_t* const CViewSummaryProtocol::kStepLabel = L"ｽﾃｯﾌﾟ ";
const wchar_t* const CViewSummaryProtocol::kTripLabel = L"ﾄﾘｯﾌﾟｶｳﾝﾄ ";

namespace {

const unsigned kStepAndTripCode = 243;

bool IsStepAndTrip(const _FINALDATAITEM& item) { return (item.uSystemCode & 0xFF) == kStepAndTripCode; }

CString MinuteSecond(int minute, int second)
{
    CString text;
    text.Format(L"%d’%02d”", minute, second);
    return text;
}

}  // namespace

CFinalViewDoc* CViewSummaryProtocol::FinalDoc() const
{
    return DYNAMIC_DOWNCAST(CFinalViewDoc, GetDocument());
}

BOOL CViewSummaryProtocol::OnEraseBkgnd(CDC* pDC)
{
    return EraseFinalTrendBackground(*this, pDC, FinalDoc());
}

CString CViewSummaryProtocol::GetAcquisitionTime(short code)
{
    switch (code) {
    case -2: return L"0’23”";
    case -1: return L"0’45”";
    case 0: return L"1’30”";
    case 1: return L"3’00”";
    case 2: return L"4’30”";
    default: return L"*";
    }
}

int CViewSummaryProtocol::OutProtocolItem(CDC* pDC, int x, int y, CString label, CString value)
{
    if (!pDC) return 0;
    TEXTMETRIC tm{};
    pDC->GetTextMetrics(&tm);
    const int labelWidth = pDC->GetTextExtent(label).cx;
    pDC->TextOut(x, y, label);
    pDC->TextOut(x + labelWidth + tm.tmAveCharWidth, y, value);
    return labelWidth + tm.tmAveCharWidth + pDC->GetTextExtent(value).cx;
}

void CViewSummaryProtocol::OnDraw(CDC* pDC)
{
    CFinalViewDoc* doc = FinalDoc();
    const _FINALDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    if (!pDC || !item) return;
    CDCStateSaver state(*pDC);
    CDCObjectSelector<CFont> font(*pDC, FinalDisplayFont(doc));
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextAlign(TA_LEFT | TA_TOP);
    pDC->SetTextColor(::GetSysColor(COLOR_WINDOWTEXT));
    TEXTMETRIC tm{};
    pDC->GetTextMetrics(&tm);
    const int gap = 3 * tm.tmAveCharWidth;
    int x = tm.tmAveCharWidth;
    int y = tm.tmHeight / 3;
    const _FINAL_WAVE_INFO& wave = item->stWaveInfo;
    if (IsStepAndTrip(*item)) {
        x += OutProtocolItem(pDC, x, y, kStepLabel, wave.strMasterStepMode) + gap;
        x += OutProtocolItem(pDC, x, y, L"負荷時間:", wave.strLoadTime) + gap;
        OutProtocolItem(pDC, x, y, kTripLabel, wave.strTripCount + L" / " + wave.strTripTotal);
        x = tm.tmAveCharWidth;
        y = 2 * tm.tmHeight;
    }
    const CString heading = L"最大ST降下";
    pDC->TextOut(x, y, heading);
    x += pDC->GetTextExtent(heading).cx + gap;
    x += OutProtocolItem(pDC, x, y, L"負荷後  ", MinuteSecond(item->nDescentMinute, item->nDescentSecond)) + gap;
    const int lead = item->nDescentLead;
    OutProtocolItem(pDC, x, y, L"誘導", lead >= 0 && lead < FINAL_ST_LEADS ? item->stLeadName.strDispName[lead] : CString());
}

void CViewSummaryProtocol::PrintItem(CDC* pDC, int x, int y, CString label, const CString& value)
{
    label.Replace(L":", L" ");
    label.Trim();
    const int w = pDC->GetTextExtent(CString(L"a")).cx;
    pDC->TextOut(x, y, label);
    pDC->TextOut(x + pDC->GetTextExtent(label).cx + w, y, L" : " + value);
}

int CViewSummaryProtocol::Print(CECGDC* pDC, CRect* pRect)
{
    CDC* dc = pDC ? pDC->GetDC() : nullptr;
    if (!dc || !pRect) return 0;
    CFinalViewDoc* doc = FinalDoc();
    const _FINALDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
    if (!item || !IsStepAndTrip(*item)) return 1;
    CDCStateSaver state(*dc);
    dc->SetTextColor(RGB(0, 0, 0));
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextAlign(TA_LEFT | TA_TOP);
    TEXTMETRIC tm{};
    dc->GetTextMetrics(&tm);
    const int d = tm.tmDescent;
    const CString heading = L"負荷条件";
    int y = pRect->top + static_cast<int>(0.8 * d);
    dc->TextOut(pRect->left, y, heading);
    const int x1 = pRect->left + dc->GetTextExtent(heading).cx + dc->GetTextExtent(CString(L"a")).cx;
    const _FINAL_WAVE_INFO& wave = item->stWaveInfo;
    PrintItem(dc, x1, y, kStepLabel, wave.strMasterStepMode);
    // A line on paper is the text's height: a step of a descent or so would
    // print the three lines over one another.
    const int line = std::max(static_cast<int>(1.1 * d), static_cast<int>(tm.tmHeight));
    y += line;
    PrintItem(dc, x1, y, L"負荷後  ", wave.strLoadTime);
    y += line;
    PrintItem(dc, x1, y, kTripLabel, wave.strTripCount + L"/" + wave.strTripTotal);
    return 1;
}
