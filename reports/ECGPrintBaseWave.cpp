// What the wave layout blocks of CECGPrintBase share: report units, the
// record's lead count and the settings captions over the waves.
#include <cmath>

#include "core/TavrionDoc.h"
#include "documents/MFERViewDoc.h"
#include "documents/RestViewDoc.h"
#include "documents/RhythmViewDoc.h"
#include "platform/base/Kernel.h"
#include "printdevice/ECGDC.h"
#include "reports/ECGPrintBase.h"
#include "reports/ReportTextScope.h"
#include "waveviews/ViewRhythmWave.h"

namespace {
constexpr int kDocRest = 0;
constexpr int kDocRhythm = 2;
constexpr int kDocMFER = 6;
constexpr double kCaptionIndentMm = 10.0;
constexpr double kSecondCaptionMm = 125.0;
// The second caption of a fifteen-lead page: 500 steps of 0.2 mm.
constexpr double kFifteenLeadCaptionMm = 500 * 0.2;

bool HasNoSecondCaption(int style)
{
    return style == 11 || style == 12 || style == 16 || style == 17;
}
}  // namespace

BOOL CECGPrintBase::IsRestFifteenCode(unsigned int uSystemCode)
{
    const unsigned int low = uSystemCode & 0xFF;
    return low == 11 || low == 226 || low == 227;
}

int CECGPrintBase::PerMilleH(int n) const
{
    return MulDiv(m_nPrintHeight, n, 1000);
}

int CECGPrintBase::PerMilleW(int n) const
{
    return MulDiv(m_nPrintWidth, n, 1000);
}

int CECGPrintBase::FiveMMHeight(int nPixels) const
{
    if (m_fPixelPerMM <= 0.0f) return 0;
    const int mm = static_cast<int>(nPixels / static_cast<double>(m_fPixelPerMM));
    return 5 * (mm / 5);
}

BOOL CECGPrintBase::IsFifteenLeadRecord() const
{
    if (m_DocType == kDocRest) {
        auto* doc = dynamic_cast<CRestViewDoc*>(m_pDoc);
        _RESTDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
        return item && IsRestFifteenCode(item->uSystemCode);
    }
    if (m_DocType == kDocMFER) {
        auto* doc = dynamic_cast<CMFERViewDoc*>(m_pDoc);
        _MFERDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
        return item && item->uSystemCode == 0x800F;
    }
    if (m_DocType == kDocRhythm) {
        auto* doc = dynamic_cast<CRhythmViewDoc*>(m_pDoc);
        _RHYTHMDATAITEM* item = doc ? doc->GetCurrentDataItem() : nullptr;
        return item && item->nLeadCount == 15;
    }
    return FALSE;
}

BOOL CECGPrintBase::HasCurrentRecord() const
{
    if (m_DocType == kDocRest) {
        auto* doc = dynamic_cast<CRestViewDoc*>(m_pDoc);
        return doc && doc->GetCurrentDataItem();
    }
    if (m_DocType == kDocMFER) {
        auto* doc = dynamic_cast<CMFERViewDoc*>(m_pDoc);
        return doc && doc->GetCurrentDataItem();
    }
    if (m_DocType == kDocRhythm) {
        auto* doc = dynamic_cast<CRhythmViewDoc*>(m_pDoc);
        return doc && doc->GetCurrentDataItem();
    }
    return FALSE;
}

void CECGPrintBase::UpdateWaveDisplayInfo(CViewRhythmWave* pView)
{
    auto* rest = dynamic_cast<CRestViewDoc*>(m_pDoc);
    if (m_DocType == kDocRest && rest && rest->GetCurrentDataItem())
        UpdateRestDisplayInfo(pView);
    else
        UpdateDisplayInfo(pView);
}

BOOL CECGPrintBase::IsUsStyleFifteenLead() const
{
    return m_DocType != kDocRhythm && IsFifteenLeadRecord();
}

CString CECGPrintBase::UsStyleWaveTitle() const
{
    return IsUsStyleFifteenLead() ? L"15誘導+解析結果" : L"12誘導+解析結果";
}

void CECGPrintBase::PrintWaveCaptions(CViewRhythmWave* pView, int y, BOOL bOneCaption, BOOL bUsStyle)
{
    CReportTextScope scope(*m_pECGDC, m_pPrintFont, TA_BOTTOM);
    const int x = m_rcPrint.left + MMToPixel(kCaptionIndentMm);
    if (bOneCaption) {
        m_pECGDC->TextOut(x, y, pView->IsShowChestLead() ? m_strDisplayInfo2 : m_strDisplayInfo1);
        return;
    }
    m_pECGDC->TextOut(x, y, m_strDisplayInfo1);
    const int style = pView->GetWaveStyle();
    if (!bUsStyle && HasNoSecondCaption(style)) return;
    // The US-style pages know no rhythm record here.
    const bool counted = !bUsStyle || m_DocType != kDocRhythm;
    int second = x + MMToPixel(kSecondCaptionMm);
    if (style == 1 || style == 3) {
        if (counted && IsFifteenLeadRecord()) second = x + MMToPixel(kFifteenLeadCaptionMm);
        if (!counted || !HasCurrentRecord()) second = x;
    }
    m_pECGDC->TextOut(second, y, m_strDisplayInfo2);
}
