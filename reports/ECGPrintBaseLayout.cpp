// The pieces the wave layout blocks of both report classes share: the head
// of a wave page, the strip's duration marks and the interpretation page's
// columns and captions.
#include "documents/RestViewDoc.h"
#include "printdevice/ECGDC.h"
#include "reports/ECGPrintBase.h"
#include "reports/ReportTextScope.h"
#include "waveviews/ViewScroll1LeadWave.h"

namespace {
constexpr int kDocRhythm = 2;
constexpr double kCaptionIndentMm = 10.0;
constexpr double kAverageGapMm = 2.0;
constexpr double kSecondCaptionMinMm = 60.0;
// The strip's duration marks: whole seconds (mode 0) or beats' spans (mode 1).
constexpr double kSecondsMark = 10.0;
constexpr double kSpanMark = 2.5;
constexpr double kFifteenLeadSpanMark = 2.0;

bool MarksSeconds(int style, BOOL bAnnotated)
{
    if (style == 1) return true;
    return bAnnotated && (style == 5 || style == 9 || style == 11 || style == 12);
}

bool MarksSpans(int style, BOOL bAnnotated)
{
    return style == 3 || (bAnnotated && style == 7);
}
}  // namespace

int CECGPrintBase::PrintWaveHead(bool bBlock, BOOL bUsStyle)
{
    const CRect& rc = m_rcPrint;
    if (!bBlock) return rc.top + PerMilleH(40);
    const int top = rc.top + PerMilleH(20);
    if (bUsStyle) {
        PrintAmeInterpreInfo(CRect(rc.left, top, rc.right, top + PerMilleH(290)));
        return rc.top + PerMilleH(300) + PerMilleH(30);
    }
    PrintPatientInfo(CRect(rc.left, top, rc.right, top + PerMilleH(50)));
    return top + PerMilleH(50) + PerMilleH(20);
}

CRect CECGPrintBase::WaveGridRect(int y0, int nWidth) const
{
    const int available = m_rcPrint.bottom - y0 - PerMilleH(20);
    const int y1 = y0 + PerMilleH(5);
    return CRect(m_rcPrint.left, y1, m_rcPrint.left + nWidth, y1 + MMToPixel(FiveMMHeight(available)));
}

void CECGPrintBase::SetStripMarks(CViewScroll1LeadWave* pStrip, int nStyle, int nPart, int nFlag, BOOL bAnnotated,
                                  BOOL bUsStyle)
{
    if (!pStrip) return;
    const BOOL fifteen = bUsStyle ? IsUsStyleFifteenLead() : IsFifteenLeadRecord();
    if (MarksSeconds(nStyle, bAnnotated))
        pStrip->SetDurationMarkInfo(0, nPart, kSecondsMark, nFlag);
    else if (MarksSpans(nStyle, bAnnotated))
        pStrip->SetDurationMarkInfo(1, nPart, fifteen ? kFifteenLeadSpanMark : kSpanMark, nFlag);
}

BOOL CECGPrintBase::IsRhythmDocument() const
{
    return m_DocType == kDocRhythm;
}

int CECGPrintBase::PrintInterpreColumn()
{
    const CRect& rc = m_rcPrint;
    const int half = (rc.right - rc.left) / 2;
    const int top = rc.top + PerMilleH(40);
    if (!IsRhythmDocument())
        return PrintRestInterpreInfo(CRect(rc.left, top, rc.left + half, top + PerMilleH(500)));
    if (!PrintPatientInfo(CRect(rc.left, top, rc.right, top + PerMilleH(60)))) return 0;
    return PrintRhyInterpreInfo(CRect(rc.left, rc.top + PerMilleH(125), rc.left + half, rc.bottom - PerMilleH(30)), 0);
}

CRect CECGPrintBase::AverageColumnRect(int nWidthMm, int nHeightMm) const
{
    const CRect& rc = m_rcPrint;
    const int x2 = rc.left + (rc.right - rc.left) / 2 + MMToPixel(kAverageGapMm);
    if (IsRhythmDocument())
        return CRect(x2, rc.top + PerMilleH(110), x2 + MMToPixel(nWidthMm), rc.bottom - PerMilleH(30));
    const int top = rc.top + PerMilleH(40);
    return CRect(x2, top, x2 + MMToPixel(nWidthMm), top + MMToPixel(nHeightMm));
}

void CECGPrintBase::PrintAverageCaptions(int x2)
{
    CReportTextScope scope(*m_pECGDC, m_pPrintFont, TA_BOTTOM);
    const int x = x2 + MMToPixel(kCaptionIndentMm);
    int y = m_rcPrint.top + PerMilleH(40);
    if (IsRhythmDocument()) y += PerMilleH(70);
    m_pECGDC->TextOut(x, y, m_strDisplayInfo1);
    // A long first line pushes the second right by its own width and a
    // blank, so that the two never run together.
    const int width = m_pECGDC->GetTextExtent(m_strDisplayInfo1).cx;
    const int minimum = MMToPixel(kSecondCaptionMinMm);
    const int pushed = width + m_pECGDC->GetTextExtent(CString(L" ")).cx;
    m_pECGDC->TextOut(x + (pushed > minimum ? pushed : minimum), y, m_strDisplayInfo2);
}
