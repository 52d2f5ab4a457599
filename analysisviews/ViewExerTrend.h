// CViewExerTrend: one trend graph of the current exercise item, chosen by
// its style (1 heart rate, 2 blood pressure, 3 double product, 4 speed, 5
// elevation, 6 load, 7 METs against heart rate, 8 kcal, 9 METs, 10/12/14 ST
// level, 11/13/15 ST-HR loop, 16 ST slope, 17 ST index, 18 R amplitude). The
// exercise panes create it, say what kind of pane hosts it (0 result, 1
// summary, 2 average and memory, 3 trend), set style and lead, call
// UpdateInformation and repaint. On the time axis one stored word stands for
// 15 s; the user picks a time there in page styles 4 and 5.
//
// Layout: the drawing area is a grid of 7 x 14 cells; the plot takes 6 x 10
// cells from 5/7 of a cell in and 2 cells down, the title above it and the
// time labels below.
#pragma once

#include <vector>

#include "documents/ExerViewDoc.h"
#include "platform/ui/framework/View.h"

class CECGDC;

typedef int _EXER_TREND_STYLE;
typedef int _EXER_TREND_PARENT_TYPE;

// The words of one trend array as a draw routine may use them: `count`
// words from the start of the bytes read, never past what was read.
struct ExerTrendWords {
    const std::vector<BYTE>* pBytes = nullptr;
    int count = 0;
    // Word i as stored (signed or unsigned); the array's own length bounds
    // Has, whatever count says.
    bool Has(int i) const { return pBytes && i >= 0 && static_cast<size_t>(2 * i + 1) < pBytes->size(); }
    int Signed(int i) const { return static_cast<short>((*pBytes)[2 * i] | ((*pBytes)[2 * i + 1] << 8)); }
    int Unsigned(int i) const { return (*pBytes)[2 * i] | ((*pBytes)[2 * i + 1] << 8); }
};

class CViewExerTrend : public CView {
    DECLARE_DYNCREATE(CViewExerTrend)

public:
    CViewExerTrend();
    ~CViewExerTrend() override;

    void SetTrendStyle(_EXER_TREND_STYLE style) { m_nTrendStyle = m_nPrintTrendStyle = style; }
    void SetPrintTrendStyle(_EXER_TREND_STYLE style) { m_nPrintTrendStyle = style; }
    _EXER_TREND_STYLE GetTrendStyle() const { return m_nTrendStyle; }
    void SetLeadID(int lead) { m_nLeadID = lead; }
    int GetLeadID() const { return m_nLeadID; }
    void SetParentWndType(_EXER_TREND_PARENT_TYPE type) { m_nParentType = type; }
    _EXER_TREND_PARENT_TYPE GetParentWndType() const { return m_nParentType; }
    // The time span and recovery start from the current item.
    void UpdateInformation();
    int GetTimeSpan() const { return m_nTimeSpan; }

    void OnDraw(CDC* pDC) override;
    // The print style into the rectangle; 0 without a device.
    int Print(CECGDC* pDC, CRect* pRect);

    // ---- the plot, as the last layout placed it ---------------------------------------
    double GetPlotLeft() const { return m_dPlotLeft; }
    double GetPlotTop() const { return m_dPlotTop; }
    double GetPlotWidth() const { return m_dPlotWidth; }
    double GetPlotHeight() const { return m_dPlotHeight; }
    int TimeToXPoint(double steps) const;
    int XPointToTime(double x) const;
    int BpmToXPoint(double bpm) const;
    int ValueToYPoint(double value) const;
    int ValueToYPoint2(double value) const;

protected:
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    CExerViewDoc* GetExerDoc() const;
    _EXERDATAITEM* CurrentItem() const;
    void Layout(const CRect& area);
    void SetScreenPens();
    void SetPrintPens();
    int DrawingStyle() const { return m_bPrinting ? m_nPrintTrendStyle : m_nTrendStyle; }
    void DrawStyle(CDC* pDC);
    // Sends a message to the pane: the parent of the view's frame.
    void SendToPane(UINT message, WPARAM wParam, LPARAM lParam);
    // The picked time of a click in page style 4 or 5; false for other styles.
    bool PickTime(const _EXERDATAITEM& item, int x, int& seconds);
    // The printer's pixels per 1020 across (1 on screen) and per 664 down.
    int PrintFactorX(CDC* pDC) const;
    int PrintFactorY(CDC* pDC) const;
    // The document's screen scale factor, or the printer's factor.
    double DotScale(CDC* pDC) const;

    // ---- frame and primitives (ViewExerTrendFrame.cpp) ---------------------------------
    void DrawTrendFrame(CDC* pDC, int xStep, int yStep, int xCount, int yCount, int lineCount, const CString& unit,
                        int heavy, int marker, int centred);
    // x of exercise step i, and of recovery word j shifted to the recovery start.
    int ExerciseX(int step) const { return TimeToXPoint(step); }
    int RecoveryX(int word) const;
    void DrawTrendPolyLine(CDC* pDC, long first, long second, const ExerTrendWords& exer, const ExerTrendWords& rec,
                           bool unsignedWords);
    void DrawTrendPloyLineBase(CDC* pDC, long first, long second, const ExerTrendWords& exer,
                               const ExerTrendWords& rec);
    void DrawCurrentTimeLine(CDC* pDC);
    bool IsValid(const ExerTrendWords& words, int i, bool unsignedWords) const;
    int Word(const ExerTrendWords& words, int i, bool unsignedWords) const;
    // Clips to the plot (grown by one pixel at right and bottom when asked);
    // the caller saves the DC's state around it and selects the curve's pen.
    void ClipToPlot(CDC* pDC, bool grown);

    // ---- styles (ViewExerTrendStyles.cpp) -----------------------------------------------
    // Reads a tag's raw bytes (empty when absent).
    std::vector<BYTE> ReadTag(UINT tag) const;
    UINT LeadTag(UINT base) const;
    CString LeadName() const;
    // The common road of the time-axis curves: frame, arrays, clip, draw.
    void DrawTimeTrend(CDC* pDC, UINT exerTag, UINT recTag, bool halfWords, bool staircase, bool unsignedWords,
                       bool needWords);
    void DrawHRTrend(CDC* pDC);
    void DrawBPTrend(CDC* pDC);
    void DrawDPTrend(CDC* pDC);
    void DrawSpeedTrend(CDC* pDC);
    void DrawElevationTrend(CDC* pDC);
    void DrawLoadTrend(CDC* pDC);
    void DrawMETsHRTrend(CDC* pDC);
    void DrawKcalTrend(CDC* pDC);
    void DrawMTESTrend(CDC* pDC);
    void DrawSTLTrend(CDC* pDC);
    void DrawSTHRTrend(CDC* pDC);
    void DrawSTSlopeTrend(CDC* pDC);
    void DrawSTIndexTrend(CDC* pDC);
    void DrawRAmplitudeTrend(CDC* pDC);
    void DrawIrregularSteps(CDC* pDC, const std::vector<BYTE>& exer, const std::vector<BYTE>& rec);
    void DrawDropLine(CDC* pDC, CPen* pen, double hr, double slope, double intercept);
    void DrawBars(CDC* pDC, const ExerTrendWords& sys, const ExerTrendWords& dia, bool recovery, int last[2]);

    CPen* m_pLabelPen = nullptr;
    CPen* m_pGridPen = nullptr;
    CPen* m_pFramePen = nullptr;
    CPen* m_pCurvePen = nullptr;
    CPen* m_pMarkerPen = nullptr;
    CPen* m_pSecondPen = nullptr;
    CBrush* m_pFilledBrush = nullptr;
    CBrush* m_pOpenBrush = nullptr;
    int m_nAreaX = 0;
    int m_nAreaY = 0;
    int m_nAreaWidth = 0;
    int m_nAreaHeight = 0;
    double m_dCellHeight = 0;
    double m_dCellWidth = 0;
    double m_dPlotWidth = 0;
    double m_dPlotHeight = 0;
    double m_dPlotLeft = 0;
    double m_dPlotRight = 0;
    double m_dPlotTop = 0;
    int m_nInvalid = 0;
    int m_nDivisor = 0;
    int m_nTimeSpan = 0;
    int m_nScaleMax = 0;
    double m_dRecoveryStart = 0;
    CString m_strTitle;
    int m_bPrinting = 0;
    _EXER_TREND_STYLE m_nTrendStyle = 0;
    _EXER_TREND_STYLE m_nPrintTrendStyle = 0;
    _EXER_TREND_PARENT_TYPE m_nParentType = 0;
    int m_nLeadID = -1;
};
