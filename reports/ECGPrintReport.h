// CECGPrintReport: the standard reports. The host overrides PrintReport,
// sets m_nPageCount before the first title line and calls ECGDefaultPrint
// with a print-style word whose two top bits the library reads: bit 31
// prints what the views show, bit 30 hides the status box.
#pragma once

#include "reports/ECGPrintBase.h"

class CViewAverageWave;
class CViewRhythmWave;
class CViewScroll1LeadWave;
class CWndRRComment;
class CWndRRResult;
class CWndRestSerialComAve;
class CWndRestSerialComRhy;

class CECGPrintReport : public CECGPrintBase {
public:
    CECGPrintReport();
    ~CECGPrintReport() override;

    // One report; TRUE when the job ended well. The style members are reset
    // afterwards in every case. A job that ran out of memory (its text
    // among it) has ended all the same, and then throws std::bad_alloc.
    int ECGDefaultPrint(const CString& strXMLPath, long lStyle, long lOption);

protected:
    // The host's job step: 0 when every page printed.
    virtual short PrintReport();

    // ---- layout blocks: 1 when the page was drawn ----------------------------------------
    // Title, the patient block on the first page of a series, the waves in a
    // 260 mm grid and, with bStrip, the one-lead strip under them.
    int PrintRhythmWave(CViewRhythmWave* pView, CViewScroll1LeadWave* pStrip, int nPage, int nPart, int bNumbered,
                        CString strTitle, int bStrip, int nSecondStart);
    // The settings lines of an extra-lead or MFER page: the wave page's by
    // its style, the comment page's with the lead set the user chose.
    void UpdateExtraDisplayInfo(CViewRhythmWave* pView, int bCommentPage, int nReserved);
    // As PrintRhythmWave, with the US-style interpretation block in place of
    // the patient block; the strip prints only when bStrip is 1.
    int PrintRhythmWaveAme(CViewRhythmWave* pView, CViewScroll1LeadWave* pStrip, int nPage, int nPart, int bNumbered,
                           int bStrip, int nSecondStart);
    // Title "コメント", the extra-lead interpretation on the left half, the
    // waves in a 135 mm grid on the right and, with bStrip, the one-lead
    // strip overlapping their grid's bottom.
    int PrintExtraComment(CViewRhythmWave* pView, CViewScroll1LeadWave* pStrip, int nPage, int nPart, int bNumbered,
                          int bStrip);
    // The host's title, the patient block on the first part, the waves in a
    // 260 mm grid and, with bStrip, the one-lead strip in its lower quarter.
    int PrintExtraWave(CViewRhythmWave* pView, CViewScroll1LeadWave* pStrip, int nPage, int nPart, int bNumbered,
                       CString strTitle, int bStrip);
    // Title "解析結果", the interpretation on the left half, the average
    // beats on the right and, but for rhythm records, the strip at the bottom.
    int PrintRestInterpre(CViewScroll1LeadWave* pStrip, CViewAverageWave* pAverage, int nPage);
    // Title "コメント", the patient block on the first part, the rhythm
    // interpretation on the left half and the waves in a 135 mm grid on the right.
    int PrintRhythmComment(CViewRhythmWave* pView, int nPage, int nPart, int bNumbered);
    // Title "結果", the patient block, the RR interpretation and the result
    // pane's table, histogram and trend where the print layout puts them.
    int PrintRRResult(CWndRRResult* pPane, int nPage);
    // One page of the comment pane's interval list; the list fills the last
    // pages of the report. A list page the list does not have prints nothing.
    int PrintRRIntervalList(CWndRRComment* pPane, int nPage, int nListPage);
    // The serial comparison pages: both average views side by side (135 and
    // 125 mm), one average view across 260 mm (the second with bSecond), and
    // the two rhythm comparisons over their strips in columns of 135 mm.
    int PrintAveMix(CWndRestSerialComAve* pPane, int nPage);
    int PrintAveEx(CWndRestSerialComAve* pPane, int nPage, int bSecond);
    int PrintAveRhy(CWndRestSerialComRhy* pPane, int nPage, int bChest);

    // The printed wave grids, small squares (millimetres) across: the wave
    // pages' and the comment pages'. A page prints what its grid holds, and
    // the host counts a job's pages by it.
    static constexpr int kWaveGridMm = 260;
    static constexpr int kCommentGridMm = 135;

    int m_nPageCount;     // host: the pages of the job, the second figure of every title
    int m_nCurrentPage;   // the host's own
    long m_lPrintStyle;   // -1 between jobs
    long m_lPrintOption;
    BOOL m_bHideStatus;   // bit 30 of the style
    BOOL m_bPrintShown;   // bit 31 of the style: the views print what they show

private:
    struct WavePageViews {
        CViewRhythmWave* pView;
        CViewScroll1LeadWave* pStrip;
        bool bStrip;      // the strip prints under the waves
        BOOL bUsStyle;    // the US-style interpretation page
    };
    int PrintWavePage(const WavePageViews& views, int nPage, int nPart, int bNumbered, CString strTitle,
                      int nSecondStart);
    BOOL PrintWaveStrip(const WavePageViews& views, const CRect& rcStrip);
    // The interpretation page's average-beat column with its captions; FALSE when the view's print failed.
    BOOL PrintInterpreAverage(CViewAverageWave* pAverage);
    BOOL PrintInterpreStrip(CViewScroll1LeadWave* pStrip);
    // The extra-lead pages' title with the part when numbered; FALSE when it failed.
    BOOL PrintExtraTitle(CString strTitle, int nPage, int nPart, int bNumbered);
    // The settings lines of an extra-lead wave page, bottom edge at y.
    void PrintExtraCaptions(CViewRhythmWave* pView, int y);
    void SetPrintStyle(long lStyle, long lOption);
    void ResetPrintStyle();
};
