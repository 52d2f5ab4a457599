// CViewRhythmWave: the paged multi-lead waveform view. One page of a record's
// leads in a numbered layout (the wave style, 1 to 28) for resting, rhythm,
// RR, extra-lead and MFER records: a calibration column at the left, then the
// traces with their labels and the page's start time.
//
// The page is drawn once into an off-screen DC and kept clean, so that
// overlays (dividers, scale, annotations) are drawn over its copy in the
// window without drawing the traces again. Whatever changes the page (style, page
// start, size, sense, filter, lead, divider) must call UpdateDrawDC.
//
// Split by area: ViewRhythmWave.cpp (fields, styles, loading, paging, the
// cached paint), ViewRhythmWaveDraw.cpp (page frames and traces).
#pragma once

#include <memory>
#include <functional>
#include <vector>

#include "core/UserMessages.h"
#include "core/SampleVector.h"
#include "core/TavrionDoc.h"
#include "platform/gdi/Pen.h"
#include "waveviews/WaveItemRef.h"
#include "waveviews/WaveView.h"
#include "waveviews/WaveViewMagnifier.h"

#define RHYTHM_VIEW_LEADS 15


class CDialog;
class CECGDC;
class CMFERParser;
class CRestViewDoc;

// What auto gain knows of one column: per slot position the lead's largest
// and smallest sample in pixels per mm/mV (times a gain: pixels) and the lead
// shown there (-1 none); the start gain; positions, traces, column height,
// the least half height a trace takes, pixels per small square.
struct _AUTO_GAIN_INFO {
    float* maxima;
    float* minima;
    int* leads;
    float gain;
    int count;
    int slots;
    int height;
    int minimumHalf;
    int square;
};

// Where auto gain writes: the column's baselines (entry i for position i) and
// the gain it chose.
struct _AUTO_GAIN_RETURN {
    int* pBaseline;
    float fGain;
};

class CViewRhythmWave : public CWaveView {
    DECLARE_DYNCREATE(CViewRhythmWave)

public:
    CViewRhythmWave();
    ~CViewRhythmWave() override;

    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    // Paints from the cached page, drawing it first when there is none.
    void OnDraw(CDC* pDC) override;

    // Sets the layout: groups, rows, columns (and, with reinit, the paper
    // grid and a fresh divider placement). Without a document nothing.
    void SetWaveStyle(_RHYTHM_WAVE_STYLE style, BOOL reinit);
    _RHYTHM_WAVE_STYLE GetWaveStyle() const { return m_nWaveStyle; }
    BOOL IsHalfStyle() const { return m_bHalfStyle; }
    void SetHalfStyle(BOOL half) { m_bHalfStyle = half; }
    BOOL IsShowChestLead() const { return m_bShowChestLead; }
    void SetShowChestLead(BOOL show);
    BOOL IsShowExtra1Lead() const { return m_bShowExtra1Lead; }
    void SetShowExtra1Lead(BOOL show) { m_bShowExtra1Lead = show; }
    int GetRhythm1LeadID() const { return m_nRhythm1LeadID; }
    void SetRhythm1LeadID(int lead);
    // A negative start is ignored.
    void SetStartTime(int sample);

    // Moves the page start by whole pages: 0 moved, 1 at the start, 2 at the
    // end, 3 the record fits on one page (or the style has no lead groups).
    int ChangePageSample(int pages);
    // The samples a page of the current style shows on a grid `gridX` squares
    // across, at the speed its traces are drawn at on screen (print 0) or on
    // paper: the step from one page to the next. 0 without lead groups, a
    // speed or a grid wider than the calibration column.
    int PageSamples(int gridX, int print) const;
    // The pages the record takes at that grid from its start (at least 1).
    int PageCount(int gridX, int print) const;
    // Drops the cached pictures; the next paint draws the page afresh.
    void UpdateDrawDC();
    // One page into a DC (screen or print): 1, or 0 for a style outside the dispatch.
    int DrawView(CDC* pDC, CRect rect, int gridX, int gridY, int print);

    // One page of the current style at the top left of rect on a printer DC:
    // the view's current page, or page `page` without moving the view's own
    // page start. 1 when printed (or nothing to print), 0 when drawing failed.
    int Print(CECGDC* pDC, CRect rect, int gridX, int gridY, double pxPerSquare, int reserved, int page,
              int current);

    // ---- the page families ------------------------------------------------------
    int DrawRestView(CDC* pDC, CRect rect, int gridX, int gridY, int print);
    int DrawRhythmRRView(CDC* pDC, CRect rect, int gridX, int gridY, int print);
    int DrawExtraView(CDC* pDC, CRect rect, int gridX, int gridY, int print);
    int DrawRestWave(CDC* pDC, CRect rect, int gridX, int gridY, int print);
    int DrawRhythmRRWave(CDC* pDC, CRect rect, int gridX, int gridY, int print);
    int DrawExtraWave(CDC* pDC, CRect rect, int gridX, int gridY, int print);

    // ---- calibration column, events and one-lead information ----------------------
    // The pulse column: 1 when drawn, 0 without lead groups or a current item.
    int DrawRestCAL(CDC* pDC, CRect rect, int gridX, int gridY, int print);
    int DrawExtraCAL(CDC* pDC, CRect rect, int gridX, int gridY, int print);
    int DrawRhythmRRCAL(CDC* pDC, CRect rect, int gridX, int gridY, int print);
    // The event marks of a rhythm record under the traces of the page.
    void DrawEventInfo(CDC* pDC, CRect rect, int gridX, int gridY, int print);
    // Gain and speed of the one-lead strip at the top right; returns 1.
    int Draw1LeadWaveInfo(CDC* pDC, CRect rect, int gridX, int gridY, int print);
    // The one-lead strip's speed in mm/s: the speed at which the whole record
    // fills the strip, lowered to the speed ladder unless snapping is off.
    // 0 when the strip has no samples.
    float Get1LeadWaveSpeed(int print) const;
    // The speed in mm/s the traces of the current style are drawn at: the
    // one-lead strip's own in its styles, the document's in the others.
    // Whatever turns a distance on the page into a time, or a time into a
    // place, asks this; 0 or below when there is none.
    float DrawnSpeed(int print) const;
    // ---- auto gain ---------------------------------------------------------------------
    // Places the zero lines of every column of the page; in the automatic
    // sense mode 5 also chooses each lead group's gain and stores it in the
    // document.
    void CalAutoSensPos(CRect rect, int gridY, int print);
    // One column; the column's gain, 0.0 without a current item.
    float CalAutoSensPosForOneCol(UINT senseIndex, int column, int applyGain, CRect* rect, int gridY, int print);
    // Fits the traces of one column: 1 when the baselines were written, 0
    // when not (result's gain then holds the gain to try).
    int AutoWaveAdjust(_AUTO_GAIN_INFO info, _AUTO_GAIN_RETURN& result, int applyGain);
    // ---- measuring dividers --------------------------------------------------------------
    // Pair `divider` (1..3) on or off; the view is updated and repainted.
    void SetDividerCheck(BOOL check, int divider);
    void ShowDivider(BOOL show);
    BOOL IsShowDivider() const { return m_bShowFlag; }
    // The next paint places every pair afresh from the record's heart rate.
    void SetInitialDividerPos() { m_bInitialDivider = TRUE; }
    void InitialDividerPos();
    // The pairs that are on, over `area` (the client, or the magnifier's
    // draw rectangle with its ratio when enlarged).
    void DrawDivider(CDC* pDC, CRect area, float ratio, BOOL enlarged);
    void DrawDividerInformation(CDC* pDC, CRect area, CPoint anchor, int pair, float ratio);
    void SizingDivider();
    int GetDividerInterval(int pair) const { return pair >= 0 && pair < 3 ? m_nInterval[pair] : 0; }
    // The handles of pair `pair`'s first (0) or second (1) line.
    CRect GetDividerHandle(int pair, int line) const { return m_rcHandle[pair][line]; }
    CRect GetDividerBar(int pair) const { return m_rcBar[pair]; }
    int GetActivePair() const { return m_nActivePair; }

    // ---- scale and ruler marks -------------------------------------------------------------
    // Overlays of the measuring mode.
    void DrawScale(CDC* pDC, CRect rect, float ratio);
    void ShowScale(BOOL show);
    void SetScaleClear();
    BOOL IsDrawScale();
    // Whether the page draws the dividers it is given (some page styles of
    // each record kind have none).
    BOOL IsDrawDivider() const;
    void SetRulerMarkRect(int point);
    void DrawRulerMark(CDC* pDC, BOOL enlarged);
    void DrawScaleInformation(CDC* pDC, CRect area, CPoint anchor, float ratio);
    void SizingScale();
    int GetScaleStatus() const { return m_nScaleStatus; }
    CPoint GetScalePoint(int point) const { return m_ptMouse[point]; }
    int GetScaleMilliseconds() const { return m_nScaleMilliseconds; }
    int GetScaleMicrovolts() const { return m_nScaleMicrovolts; }
    int GetSelectedRulerMark() const { return m_nSelectedRulerMark; }

    // ---- mouse, pop-ups and magnifier -------------------------------------------------------
    // The lead index under a point, -1 for none; `sample` the record sample under it.
    int GetClickLead(CPoint point, int& sample);
    // The stored pop-up shown or hidden, or closed; only while one runs.
    void HideAllPopupDlg(BOOL show);
    void CloseAllPopupDlg();
    void ShowEnlargedPreview(CPoint point);
    int MoveEnlargedPreview(CPoint point);
    int RedrawEnlargedPreview(float ratio, CPoint point);
    CWaveViewMagnifier& GetMagnifier() { return m_magnifier; }
    CDialog* GetStoredPopup() const { return m_pEnlargedPopup ? m_pEnlargedPopup.get() : m_pDividerPopup.get(); }

    // ---- read by the panes and tests ----------------------------------------------
    int GetLeadGroups() const { return m_nLeadGroups; }
    int GetRows() const { return m_nRows; }
    int GetColumns() const { return m_nColumns; }
    int GetSampleRate() const { return m_nSampleRate; }
    int GetSamplesPerColumn() const { return m_nSamplesPerColumn; }
    int GetDividerRows() const { return m_nDividerRows; }
    BOOL IsSnapSpeed() const { return m_bSnapSpeed; }
    BOOL IsInitialDividerPending() const { return m_bInitialDivider; }
    // Whether caliper pair `divider` (1 to 3) is checked.
    BOOL IsDividerCheck(int divider) const { return divider >= 1 && divider <= 3 ? m_bOn[divider - 1] : FALSE; }
    int GetLeadSampleCount(int lead) const;
    const short* GetLeadSamples(int lead) const;
    int GetRhythmRowLead(int row) const { return row >= 0 && row < 3 ? m_nRhythmRowLead[row] : -1; }
    void SetScreenBaseline(int lead, int y);
    int GetScreenBaseline(int lead) const;
    int GetPrintBaseline(int lead) const
    {
        return lead >= 0 && lead < RHYTHM_VIEW_LEADS ? m_nPrintBaseline[lead] : 0;
    }
    BOOL HasCachedPage() const { return m_pPageDC != nullptr && m_bPageDrawn; }

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    // ---- measuring tools -----------------------------------------------------------------------
    // The client size and one small square in pixels; FALSE before the view is sized.
    struct CSquares {
        int w = 0;
        int h = 0;
        int gridX = 0;
        int gridY = 0;
        double a = 0.0;   // pixels per square across
        double b = 0.0;   // and down
    };
    BOOL GetSquares(CSquares& squares) const;
    // The page style of the current document allows dividers and the scale.
    bool HasMeasuringTools(bool scale) const;
    // The 1 mV height, mm, the rhythm and RR rows are drawn at.
    double RhythmRowSense() const;
    // Samples across the wave area and their pixels (placement step 5); FALSE
    // at a speed of 0 or a grid too narrow.
    BOOL WaveAreaSpan(const CSquares& s, float speed, int& samples, int& pixels) const;
    void PlaceDividerBar(int pair, int bottom, int h);
    // The span, half span, centre x and speed of a pair from its handles.
    void TakeDividerSquares(int pair, const CSquares& s, float speed);
    // The labelled box of a divider or scale reading, kept inside `area`.
    void DrawReadingBox(CDC* pDC, CRect area, CPoint anchor, float ratio, COLORREF colour, const CString& text);
    // The pair (and its part: 0 first line, 1 second, 2 bar) under the point
    // among the pairs on (or only pair `only`); -1 none.
    int HitDivider(CPoint point, int reach, int& part, int only = -1) const;
    // Rest, rhythm, RR, extra or MFER: the kinds the measuring tools know.
    bool IsMeasuredKind() const;
    // Divider steps of the mouse handlers; TRUE when a drag started.
    BOOL PressDivider(CPoint point);
    void MoveDivider(CPoint& point);
    // Moves the dragged line to the point, held short of the other line; the
    // point comes back held as the line is.
    void DragDividerLine(CPoint& point);
    void DragDividerWhole(CPoint point);
    void ReleaseDivider();
    bool IsDraggingDivider() const { return m_bDragFirst || m_bDragSecond || m_bDragWhole; }
    // Scale steps: a press that the scale took (TRUE ends the handling), a
    // move that the scale took (point clamped).
    BOOL PressScale(CPoint point);
    BOOL MoveScale(UINT nFlags, CPoint& point);
    // The x the second point may not cross (-1 none) for the style.
    int ScaleSideLine(int calW, int w) const;
    void SetScalePoint(int index, CPoint point, const CSquares& s);
    void ClampScalePoint(int moving, CPoint& point, const CRect& client, int side) const;
    float ScaleSense(CString& label) const;
    void DrawScaleMark(CDC* pDC, CRect mark, CPoint point, CRect bounds);
    // The pulse group a press at x in the calibration column reports; -1 none.
    int PulseGroup(int x, const CSquares& s) const;
    bool IsExtraLeadRecord() const;
    int ExaminationCode() const;
    // The double-click's pop-ups.
    void OpenDividerPopup();
    void OpenRhythmRowsPopup(CPoint point, const CSquares& s, double dotsX, double dotsY);
    void OpenLeadPopup(int lead, int sample, double dotsX, double dotsY);
    void RunStoredPopup(CDialog& popup);
    // The magnifier draws the page, its overlays in the measure mode, in the page's font.
    void PrepareMagnifier();
    // The cells of GetClickLead: per lead index its rectangle.
    void ClickCells(const CRect& area, CRect* cells) const;
    std::vector<int> ClickColumnLeads(int column) const;

    // The two duration marks of a printed page at the print bottom.
    void DrawDurationMarks(CDC* pDC, CRect rect, int gridX);
    void FreeLeads();
    // Loads lead `lead` through the document into buffer `index`; FALSE when
    // the document has no samples for it or cannot fill the buffer it sized.
    BOOL LoadLead(int lead, int index);
    void LoadLeadRange(int count);
    // The buffers a style loads from the document of the view's kind.
    void LoadStyleLeads();
    void DeleteCachedDCs();
    // Draws the page afresh into the page DC (made again only when the size
    // changed), kept without overlays; FALSE when there was no DC to draw
    // into or the page did not draw.
    BOOL DrawPageToCache(CTavrionDoc* doc, int width, int height);
    bool HasLead(int index) const { return index >= 0 && index < RHYTHM_VIEW_LEADS && m_leadData[index].count > 0; }
    const short* LeadData(int index) const { return m_leadData[index].samples.get(); }
    int LeadCount(int index) const { return static_cast<int>(m_leadData[index].count); }

    // ---- the current item -----------------------------------------------------------------
    CWaveItemRef CurrentItem() const;
    bool HasCurrentItem() const;
    bool IsExtendedLeadRecord() const;
    bool IsFifteenLeadRecord() const;
    float StoredAutoSense() const;
    // The document's lead mask for the record and the current style; for the
    // single-column styles with no selection of the record's own, every lead
    // the style holds that the record has.
    short LeadMask() const;
    int ExtraGridRows() const;
    int ExtraLeadCount(int fallback) const;
    CString LeadName(int lead) const;
    // The microvolts per sample unit of the current record.
    double RecordAmplitudeUnit() const;

    // ---- the leads of a column ----------------------------------------------------------------
    // Per slot position the lead (buffer) index shown there, -1 for a gap;
    // the lead of position 0 is the column's first baseline.
    struct CColumnLeads {
        std::vector<int> positions;
        int firstLead = 0;
        int Slots() const;
        std::vector<int> Listed() const;
    };
    // The leads of lead column k (its default first lead is rows x k).
    CColumnLeads ColumnLeads(int leadColumn) const;
    // The lead column drawn in page column c (a chest page starts at V1).
    // Auto gain's column arguments are lead columns.
    int LeadColumnOf(int column) const;
    bool IsChestPage() const;
    int PageColumns() const;
    // The right edge of the last column of the page that draws a trace, the
    // columns sharing left..right; `right` on pages without columns.
    int DrawnColumnsRight(int left, int right) const;
    // The columns of a rest or extra page up to the last one that holds a
    // loaded lead; 0 when none does.
    int DrawnColumns() const;
    // Gives the rhythm rows without a lead selection of the record's own
    // each a loaded lead of its own.
    void FillRhythmRowLeads();

    // ---- placing the zero lines ------------------------------------------------------------------
    int* Baselines(int print);
    void ClearBaselinesFrom(int firstLead, int print);
    void PlaceRowCentres(const CColumnLeads& column, int height, int print);
    void MeasureColumn(const CColumnLeads& column, int height, int gridY, std::vector<int>& leads,
                       std::vector<float>& maxima, std::vector<float>& minima);
    bool KeepsPacedRowCentres(int applyGain) const;
    // The rest document whose stored spike extremes measure the traces (a
    // paced record not of the newer series); null otherwise.
    CRestViewDoc* PacedSpikeExtremesDoc() const;
    void PlaceFixedRows(const CRect& rect, int print);
    // The (sense index, lead column) pairs auto gain places for the style.
    std::vector<std::pair<int, int>> GroupColumns() const;
    void StoreGroupGains(const float* gains, const bool* computed);
    void PlaceAutomatically(CRect rect, int gridY, int print, bool choosesGain);
    // Places the page's zero lines and, on screen, tells the parent window
    // the style being drawn.
    void PlaceZeroLines(CRect rect, int gridY, int print);
    // The pulse column, ten squares wide at the left of rect, and the traces
    // in the rest of it; the traces' result.
    using PartDraw = int (CViewRhythmWave::*)(CDC*, CRect, int, int, int);
    int DrawCalAndWave(CDC* pDC, CRect rect, int gridX, int gridY, int print, PartDraw cal, PartDraw wave);

    // ---- the rest traces ----------------------------------------------------------------------------
    struct CRestPage;
    CRestPage RestPageOf(CRect rect, int gridX, int gridY, int print) const;
    double RestColumnSense(int leadColumn) const;
    // One column of the rest traces; FALSE when a trace failed to draw.
    BOOL DrawRestColumn(CDC* pDC, CRestPage& page, int c);
    // Row `row` of `rows`: the lead's name, its trace over `trace` (its left
    // and right; its height the 1 mV height) and, once a page, the start time.
    BOOL DrawRestTrace(CDC* pDC, CRestPage& page, int lead, int row, int rows, CRect trace);
    // `perSpan` samples of a buffer from `first` across the trace; a record
    // that ends sooner (at `limit`) ends its trace with it. FALSE when the
    // trace failed to draw.
    BOOL DrawTraceSpan(CDC* pDC, CRect trace, int buffer, int first, int perSpan, int limit, int print);
    void DrawLeadLabel(CDC* pDC, int x, int y, const CString& name);
    void DrawStartTime(CDC* pDC, int x, int y, int sample);
    // The pixels a trace span (as DrawTraceSpan draws it) covers between x0
    // and x1, as a rectangle over those x; empty when it draws nothing there.
    CRect TraceSpanBox(CRect trace, int buffer, int first, int perSpan, int limit, int x0, int x1) const;
    // The start time, top-left at `at`, moved the least that keeps it clear
    // of what it would meet: up or down by a line at most, beside a name it
    // would cover, or to the right; within `bounds`.
    // What a text between two x would meet: the boxes of texts and of traces.
    struct CBlocked {
        CRect box;
        bool text = false;
    };
    using BlockedAt = std::function<std::vector<CBlocked>(int x0, int x1)>;
    void DrawStartTimeClear(CDC* pDC, CPoint at, int sample, const BlockedAt& blockedAt, CRect bounds);
    // The zero line of a rest row (DrawRestTrace's), its trace `mv` tall.
    int RestZeroLine(const CRestPage& page, int buffer, int row, int rows, int mv);
    // The bottom of a rest row's lead name.
    int RestLabelBottom(const CRestPage& page, int zeroLine, int rows) const;
    // The families of traces, each with its own pages that carry the version.
    enum class CTraceFamily { Rest, RhythmRR, Extra };
    // On screen with the version shown, the program version at the bottom
    // left of the page, on the document's page styles that carry it.
    void DrawVersionOnPage(CDC* pDC, CRect rect, CTraceFamily family);
    bool IsVersionPage(CTraceFamily family) const;
    // The document's page style (rest, rhythm, RR, extra or MFER); -1 for other kinds.
    int DocPageStyle() const;
    // Column c of `columns` at `speed` from page sample `start`: its first
    // sample and sample count; on screen every column but the first leaves a
    // millimetre's gap, `shift` then set to `millimetre` pixels.
    void ColumnSpan(int c, int columns, int gridX, float speed, int start, bool continuous, int print,
                    int millimetre, int& first, int& count, int& shift) const;
    // The current extra or MFER item: for an MFER item its reader and kind,
    // for an extra item no reader and kind 0. False without such an item.
    bool FindExtraSource(CMFERParser*& reader, unsigned& mferCode) const;
    // The 1 mV sense of an extra row; false when the row is left out (a
    // freeze record's lead whose electrode code cannot be read).
    bool ExtraRowSense(int lead, int column, CMFERParser* reader, bool freezeMfer, double& sense) const;
    // The gain of an extra column's leads that are drawn at the page's gain.
    double ExtraGroupSense(int column) const;
    // The gain the extra lead under a point of page column `column` is drawn
    // at; between the rows the column's.
    double ExtraSenseAt(CPoint point, int column) const;
    // The electrode code (item 4097) of lead `lead` of the current extra
    // item, when that item is a freeze record; false for any other item or a
    // code that cannot be read.
    bool FreezeElectrodeCode(int lead, int& code) const;
    // "%d:%02d" of a page sample, with the item's start minutes and seconds.
    CString StartTimeText(int sample) const;

    // The samples of lead index i: shared with the document where it keeps
    // the lead, otherwise a copy of the view's own; empty when not loaded.
    SharedSamples m_leadData[RHYTHM_VIEW_LEADS];
    int m_nRhythmRowLead[3] = {-1, -1, -1};
    int m_nLeadGroups = 0;
    int m_nRows = 3;
    int m_nColumns = 4;
    int m_nSampleRate = 500;
    int m_nSamplesPerColumn = 0;
    int m_nRhythm1LeadID = 0;
    int m_nScreenBaseline[RHYTHM_VIEW_LEADS] = {};
    int m_nPrintBaseline[RHYTHM_VIEW_LEADS] = {};
    BOOL m_bSnapSpeed = TRUE;
    BOOL m_bShowChestLead = FALSE;
    BOOL m_bShowExtra1Lead = TRUE;
    BOOL m_bHalfStyle = FALSE;
    BOOL m_bShowFlag = FALSE;
    BOOL m_bDividerMode = FALSE;
    _RHYTHM_WAVE_STYLE m_nWaveStyle = 0;
    double m_dAmplitudeUnit = 1.25;
    std::unique_ptr<CDC> m_pPageDC;           // the page image, kept for the next page while the size holds
    CSize m_szPage;                           // the size of m_pPageDC
    bool m_bPageDrawn = false;                // m_pPageDC holds the current page, without the overlays
    int m_nScaleStatus = -1;
    int m_nSelectedRulerMark = -1;
    CPoint m_ptMouse[2];
    CRect m_rcScaleMark[2];
    CRect m_rcRulerMark[4];
    BOOL m_bGrabbed[2] = {};
    CPoint m_ptScaleSquares[2];
    CRect m_rcEnlargedMark[2];   // the marks as the magnifier last drew them
    int m_nScaleMilliseconds = 0;
    int m_nScaleMicrovolts = 0;
    int m_nActivePair = 0;
    int m_nInterval[3] = {1, 1, 1};
    BOOL m_bOn[3] = {};
    BOOL m_bInitialDivider = TRUE;
    CRect m_rcHandle[3][2];
    CRect m_rcBar[3];
    double m_dHalfSpan[3] = {};
    double m_dSpanSquares[3] = {};
    float m_fDividerSpeed[3] = {};
    double m_dCentreX[3] = {};
    double m_dCentreY[3] = {};
    BOOL m_bDragFirst = FALSE;
    BOOL m_bDragSecond = FALSE;
    BOOL m_bDragWhole = FALSE;
    CWaveViewMagnifier m_magnifier{*this};
    CPen m_greenPen{PS_SOLID, 2, RGB(46, 139, 87)};   // divider pair II
    int m_nLastClientWidth = 0;
    int m_nLastClientHeight = 0;
    int m_nOneLeadLength = 0;
    int m_nDividerRows = 0;
    std::unique_ptr<CDialog> m_pEnlargedPopup;
    std::unique_ptr<CDialog> m_pDividerPopup;
    HCURSOR m_hDividerCursor = nullptr;
    BOOL m_bPainting = FALSE;   // OnDraw is loading the samples
    int m_nStripCount = 0;      // samples that fill the one-lead strip; 0: the whole lead
};
