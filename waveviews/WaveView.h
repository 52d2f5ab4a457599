// CWaveView: the base of every view that shows ECG traces on millimetre
// paper. It owns no samples: a derived view asks its document for samples and
// layout and calls the base to paint the paper grid (screen, magnified and
// printed), the calibration pulse, the small marks (time ruler, duration
// triangle, measurement tick, event roof) and the traces.
//
// Trace geometry, shared by every routine here: sample i of n lies at
// x = left + (i × width) / n and y = top − trunc(sample × (bottom − top) ×
// scale). The rectangle's top is the baseline and its height the gain in
// pixels per millivolt; the scale is microvolts per sample unit × 0.001.
//
// Every routine leaves the device context as it found it.
#pragma once

#include <memory>

#include "core/UserMessages.h"
#include "platform/gdi/Dc.h"
#include "platform/penwick/NotationManager.h"
#include "platform/ui/framework/View.h"

class CECGDC;
class CTavrionDoc;
struct _ANNOTATION_INFO;
struct _SKETCH_INFO;


class CWaveView : public CView {
    DECLARE_DYNCREATE(CWaveView)

public:
    CWaveView();
    ~CWaveView() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    // Paints the paper over the client area in the document's colours.
    void OnDraw(CDC* pDC) override;

    // The number of 1 mm squares the drawing area spans.
    void InitBackground(int columns, int rows);
    void GetGridCount(int& columns, int& rows) const;
    int GetSenseID() const { return m_nSenseID; }
    void SetSenseID(int id) { m_nSenseID = id; }
    // y of the lower edge of the last printed grid frame.
    int GetCurPrintBottom() const { return m_nCurPrintBottom; }
    void SetCurPrintBottom(int bottom) { m_nCurPrintBottom = bottom; }

    // The screen grid, composed off screen and copied in one piece. 0 when
    // drawn; -1 for a null DC, or bare paper when a count is 0.
    int DrawBackGrid(CDC* pDC, CRect rect, int columns, int rows, COLORREF paper, COLORREF grid);
    // The grid of the magnifier's canvas: the view's counts divided by the
    // canvas factors keep the squares the size of the magnified picture's.
    void DrawEnlargedBack(CDC* pDC, CRect rect, float sx, float sy);
    // The calibration pulse rising from the baseline y over width pixels:
    // one step of heights[0], or two (heights[0], heights[1]) when dual.
    virtual BOOL DrawCAL(CDC* pDC, int x, int y, int width, int* heights, BOOL dual, BOOL printPen);
    // One trace in the document's smoothing mode (0 polyline, 1 shaded
    // columns, 2 anti-aliased columns, 3 line renderer), or black and 3 px
    // when printing. colourIndex 0..9 picks slots 5..14, 15 and 16 their own
    // slots (16 blends towards slot 18), anything else slot 0. FALSE only
    // when nothing could be drawn for the smoothing mode.
    virtual BOOL DrawWave(CDC* pDC, CRect rect, double scale, const short* samples, int count, BOOL print,
                          int colourIndex);
    // The printed grid (by the device's print type) and frame; the frame sets
    // the print bottom. FALSE only for a null device.
    BOOL PrintWaveGrid(CECGDC* pDC, CRect rect, int widthMm, int heightMm, double pxPerMm, BOOL grid, BOOL frame,
                       BOOL direct);
    // Time ruler ticks along the bottom of rect, every interval × size × 0.1
    // pixels, every tenth one long. A zero or negative step draws nothing.
    BOOL DrawMarkLine(CDC* pDC, double interval, CRect rect, double size);
    // A small filled triangle standing on the point, one character wide.
    BOOL DrawDurationMark(CDC* pDC, CPoint point);
    // A quarter-height tick at sample `index` of a trace.
    BOOL DrawMeasLine(CDC* pDC, CRect rect, double scale, const short* samples, int count, int index, BOOL upward,
                      BOOL grey, int colourSlot);
    // The event roof: a tick with a staircase either side, in the current pen.
    void DrawEvent(CDC* pDC, int x, int y, int height, int offset);
    // The version text of the document's current record of the view's kind.
    CString GetVersionText();
    static int CompareGetmin(int a, int b, int c);
    static int CompareGetmax(int a, int b, int c);

    // ---- the trace renderer --------------------------------------------------
    // Mode 0: one polyline, thickened by the document's base line width.
    void DrawECGWave(CDC* pDC, CRect rect, double scale, const short* samples, int count, COLORREF color);
    // The print path: runs of 50000 samples or more thinned to every tenth.
    void PrintWave(CDC* pDC, CRect rect, double scale, const short* samples, int count, COLORREF color);
    // Mode 2: anti-aliased columns of density shades between paper and trace.
    // A null point array makes the routine place the samples itself.
    void DrawSmoothFilterWave(CDC* pDC, CRect rect, double scale, const short* samples, int count, COLORREF trace,
                              COLORREF paper, int density, CPoint* points);
    void ExampleDrawSmoothII(CDC* pDC, CRect rect, double scale, const short* samples, int count, COLORREF trace,
                             COLORREF paper, CPoint* points, int density);
    // Mode 3 through the line renderer with the given settings; FALSE when
    // the renderer could not draw (no usable DC, no samples, no width).
    BOOL ExampleDrawSmoothIII(CDC* pDC, CRect rect, double scale, const short* samples, int count, COLORREF trace,
                              COLORREF paper, float xWidth, float yWidth, short power, float gamma);

    // ---- members for derived views ----------------------------------------------
    // The base only keeps them; what they mean is the derived views'. Read as:
    // page start (first sample of the page), pop-up open flag, mark-line flag,
    // span index, start flag and start sample; the print scale (0.0 until
    // set); the duration mode (-1: no duration marks until a view sets one)
    // and the span in seconds (2.5).
    void SetStartTime(int start) { m_nPageStart = start; }
    int GetStartTime() const { return m_nPageStart; }
    void SetDocType(int kind) { m_nDocType = kind; }
    int GetDocType() const { return m_nDocType; }
    void SetCurrentCursor(HCURSOR cursor) { m_hCurrentCursor = cursor; }
    HCURSOR GetCurrentCursor() const { return m_hCurrentCursor; }
    void SetPopupOpen(int open) { m_bPopupOpen = open; }
    int IsPopupOpen() const { return m_bPopupOpen; }
    void SetShowMarkFlag(int show) { m_bShowMarkLine = show; }
    int GetShowMarkFlag() const { return m_bShowMarkLine; }
    void SetSpanIndex(int index) { m_nSpanIndex = index; }
    int GetSpanIndex() const { return m_nSpanIndex; }
    void SetStartFlag(int flag) { m_bStartFlag = flag; }
    int GetStartFlag() const { return m_bStartFlag; }
    void SetStartSample(int sample) { m_nStartSample = sample; }
    int GetStartSample() const { return m_nStartSample; }
    void SetPrintScale(double scale) { m_dPrintScale = scale; }
    double GetPrintScale() const { return m_dPrintScale; }
    void SetDurationMode(int mode) { m_nDurationMode = mode; }
    int GetDurationMode() const { return m_nDurationMode; }
    void SetSpanSeconds(double seconds) { m_dSpanSeconds = seconds; }
    double GetSpanSeconds() const { return m_dSpanSeconds; }

    // The view's document as the examination base, null when it has none.
    CTavrionDoc* GetTavrionDoc() const;

    // ---- the annotation layer ---------------------------------------------------
    // Free annotations drawn over the traces, kept by the notation manager in
    // unscaled units. Input reaches it only in the document's mouse modes 2
    // (draw) and 3 (select), while neither the annotation lock nor playback
    // is on; they are drawn and printed outside mouse mode 1.
    BOOL IsAnnoViewActive() const { return m_bAnnoViewActive; }
    void SetAnnoViewActive(BOOL active);
    void SetAnnoType(int annoType);
    void SetAnnoLineWidth(int width);
    void SetAnnoColor(COLORREF color);
    void SetAnnoFontSize(int unused);
    // 0 when a step was done, 255 when there was nothing to do.
    short AnnotationUndo();
    short AnnotationRedo();
    void SetAnnoSizeRatio(float ratio);
    float GetAnnoSizeRatio() const;
    void SetAnnoOrigin(CPoint origin);
    CPoint GetAnnoOrigin() const;
    void SetAnnoEnlargedState(BOOL enlarged);
    void DeleteAllAnnoInfo();
    static int GetSketchTypeFromAnnoType(int annoType);
    static int GetAnnoTypeFromSketchType(int sketchType, CSketchObject* pObject);
    // On screen or in the magnifier (enlarged: the ratio multiplies the
    // view's, the rectangle's corner is the origin).
    void DrawAnnotation(CDC* pDC, CRect rect, BOOL enlarged, float ratio);
    // Into a print rectangle, scaled from the client size.
    void PrintAnnotation(CDC* pDC, CRect rect);
    // The record's shapes into the manager; FALSE for an empty chain or a
    // shape whose coordinate lists differ or are empty.
    BOOL LoadSketchInfo(_SKETCH_INFO* pFirst);
    // The manager's shapes into the record as one area keyed by `key`; with
    // `clear` every shape is deleted instead.
    BOOL SaveAnnoToData(int key, _ANNOTATION_INFO* pInfo, BOOL clear);
    CNotationManager& GetNotationManager() { return m_annoManager; }

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    // The document's annotation settings into the manager.
    void TakeAnnotationSettings();

    CNotationManager m_annoManager;
    BOOL m_bAnnoViewActive = FALSE;

public:

protected:
    // The levels of one column of mode 2, placed by bisection between its
    // smallest, middle and largest y, and set in the colour ramp.
    void DrawSmoothWave_change(CDC* pDC, int x, int smallest, int middle, int largest, const COLORREF* ramp,
                               int density);
    // Gives every pixel of a column without a level the level of the nearer
    // placed pixel (the smaller y at equal distance).
    void SetColorSmooth(int* levels, const bool* placed, int span);
    // The colour ramp of mode 2: density entries from next to the paper up
    // to the trace colour.
    void GetColorinit_change(COLORREF* ramp, COLORREF trace, COLORREF paper, int density);

    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()

    // Rebuilds the trace pen in colour slot 0 and takes slots 1 and 2 as
    // grid and paper.
    void TakeDocumentColours();
    // The view's off-screen image of the given size, kept from paint to paint
    // and made again only when the size changes (a new image of a page's
    // size costs more than drawing the page); null when none can be made.
    // Whatever is drawn into it covers it whole: it holds the last picture.
    CDC* PaintImage(int width, int height);
    int TraceY(const CRect& rect, double scale, short sample) const;
    BOOL DrawSmoothColumns(CDC* pDC, CRect rect, double scale, const short* samples, int count, COLORREF trace,
                           COLORREF paper);

    int m_nGridColumns = 0;
    int m_nGridRows = 0;
    std::unique_ptr<CDC> m_pPaintImage;   // see PaintImage
    CSize m_szPaintImage;
    COLORREF m_crBackground = 0xFFFFFF;
    COLORREF m_crGrid = 0x0000FF;
    CPen m_tracePen{PS_SOLID, 1, RGB(0, 0, 0)};   // 1 px in slot 0, also the screen pulse's
    CPen m_printPen{PS_SOLID, 3, RGB(0, 0, 0)};   // 3 px black: printed traces, pulses and frames
    CPen* const m_pPrintPen = &m_printPen;        // the print pen as the trace renderer selects it
    int m_nDocType = 0;            // 0 rest, 1 master step, 2 rhythm, 3 RR, 4 extra, 6 MFER
    int m_nSenseID = 6;
    HCURSOR m_hCurrentCursor = nullptr;
    int m_nPageStart = 0;
    int m_bPopupOpen = 0;
    int m_bShowMarkLine = 0;
    int m_nSpanIndex = 0;
    int m_bStartFlag = 0;
    int m_nStartSample = 0;
    double m_dPrintScale = 0.0;
    int m_nDurationMode = -1;
    double m_dSpanSeconds = 2.5;
    int m_nCurPrintBottom = 0;
};
