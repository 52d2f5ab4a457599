// CECGPrintAnno: reports with the screen's annotations. The host overrides
// PrintAnnotation and calls ECGAnnoDefaultPrint; its PDF is always delivered.
#pragma once

#include "reports/ECGPrintBase.h"

class CViewAverageWave;
class CViewRhythmWave;
class CViewScroll1LeadWave;
class CWndRestSerialComAve;
class CWndRestSerialComRhy;

class CECGPrintAnno : public CECGPrintBase {
public:
    CECGPrintAnno();
    ~CECGPrintAnno() override;

    // One report; TRUE when the job ended well. A job that ran out of
    // memory has ended all the same, and then throws std::bad_alloc.
    int ECGAnnoDefaultPrint(const CString& strXMLPath);

protected:
    // The host's job step: 0 when every page printed.
    virtual short PrintAnnotation();

    // The page the views show, with their annotations, as page 1 of 1.
    int PrintRhythmWaveAnnotation(CViewRhythmWave* pView, CViewScroll1LeadWave* pStrip, CString strTitle);
    int PrintRhythmWaveAmeAnnotation(CViewRhythmWave* pView, CViewScroll1LeadWave* pStrip);
    // The interpretation page as the views show it, with their annotations.
    int PrintRestInterpreAnnotation(CViewScroll1LeadWave* pStrip, CViewAverageWave* pAverage);
    // The serial comparison pages as the panes show them, with their annotations.
    int PrintAveMixAnnotation(CWndRestSerialComAve* pPane);
    int PrintAveExAnnotation(CWndRestSerialComAve* pPane);
    int PrintAveRhyAnnotation(CWndRestSerialComRhy* pPane);
    // Spreads the spare millimetres of a grid over the gap above the first
    // view (o1) and the gap between the two (o2).
    void CalculateWaveOffset(int nTotal, int nFirst, int nSecond, int& o1, int& o2);

private:
    int PrintAnnotatedWavePage(CViewRhythmWave* pView, CViewScroll1LeadWave* pStrip, const CString& strTitle,
                               BOOL bUsStyle);
    // The strip's annotations and, when it has room, its trace.
    BOOL PrintAnnotatedStrip(CViewScroll1LeadWave* pStrip, const CRect& rc, int nWidthMm, int nHeightMm);
    // The annotated average-beat column with its captions; FALSE when the view's print failed.
    BOOL PrintAnnotatedInterpreAverage(CViewAverageWave* pAverage);
    BOOL PrintAnnotatedInterpreStrip(CViewScroll1LeadWave* pStrip);
};
