// CViewSerialComRhy: the rhythm strip of one resting or MFER record of a
// patient, shown beside another record of the same patient. The serial
// comparison pane makes two, tells each which of the base document's
// comparable records it shows (its serial index), and puts a one-lead strip
// under each. Style 29 shows six leads one above the other (limb leads 0..5,
// or the chest leads 6..11), style 13 a single lead.
//
// The view draws from its own copy of the record's samples, read at every
// update through the record's document (made current for the read and put
// back after). The page is drawn once off screen and kept with a clean copy.
#pragma once

#include <memory>
#include <vector>

#include "core/SampleVector.h"
#include "core/TavrionDoc.h"
#include "waveviews/ViewRhythmWave.h"   // the auto gain records, shared by name
#include "waveviews/WaveView.h"
#include "waveviews/WaveViewMagnifier.h"

class CDialog;
class CECGDC;
class CRestViewDoc;
class CMFERViewDoc;
struct _RESTDATAITEM;
struct _MFERDATAITEM;

#define SERIAL_VIEW_LEADS 15

// What the record pop-up of a double-click is opened with: the shown
// record's document and kind, the comparison's own document, the view's
// pixels per millimetre, the clicked lead and sample, the page start, lead
// 0's length and the sensitivity selector.
struct CSerialPopupRequest {
    CTavrionDoc* pDoc = nullptr;
    int nDocType = 0;
    CTavrionDoc* pSerialDoc = nullptr;
    double dDotsPerMMX = 0.0;
    double dDotsPerMMY = 0.0;
    int nLead = 0;
    int nSample = 0;
    int nPageStart = 0;
    int nLength = 0;
    int nSenseID = 3;
};

class CViewSerialComRhy : public CWaveView {
    DECLARE_DYNCREATE(CViewSerialComRhy)

public:
    CViewSerialComRhy();
    ~CViewSerialComRhy() override;

    void SetRestViewDoc(CRestViewDoc* doc) { m_pRestDoc = doc; }
    void SetMFERViewDoc(CMFERViewDoc* doc) { m_pMferDoc = doc; }
    void SetBaseECGDoc(CTavrionDoc* doc) { m_pBaseDoc = doc; }
    void SetSerialIndex(int index) { m_nSerialIndex = index; }
    int GetSerialIndex() const { return m_nSerialIndex; }
    void SetRhythm1LeadID(int lead) { m_nRhythm1LeadID = lead; }
    int GetRhythm1LeadID() const { return m_nRhythm1LeadID; }
    // A change drops the annotations when the base document asks so.
    void SetShowChestLead(BOOL show);
    BOOL IsShowChestLead() const { return m_bShowChestLead; }
    void SetIsSameID(BOOL same) { m_bSameID = same; }
    // Ignored until the three documents are set; 13 and 29 set the layout.
    void SetWaveStyle(_RHYTHM_WAVE_STYLE style, BOOL reinit);
    _RHYTHM_WAVE_STYLE GetWaveStyle() const { return m_nWaveStyle; }
    BOOL GetPatientID(CString& id) const;
    // More than 50,000 samples in lead 0.
    BOOL IsLongTermFile() const { return LeadCount(0) > kLongRecord; }
    float Get1LeadRhythmSense() const;
    float Get1LeadRhyWaveSpeed(BOOL print) const;
    double GetXRatioUnit() const;
    double GetYRatioUnit() const;

    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;
    BOOL DrawSerialComRhyView(CDC* pDC, CRect rect, int gridX, int gridY, BOOL print, BOOL printTraces);
    void DrawSerialComRhyCAL(CDC* pDC, CRect rect, int gridX, int gridY, BOOL print);
    BOOL DrawSerialComRhyWave(CDC* pDC, CRect rect, int gridX, int gridY, BOOL print);
    void Draw1LeadWaveInfo(CDC* pDC, CRect rect, int gridX, int gridY, BOOL print);
    // ---- auto gain and baselines (ViewSerialComRhyGain.cpp) ----------------------
    // Places the baselines of the screen or the print; the one-lead style in
    // an automatic or fitted sensitivity mode fits them and its gain.
    void CalAutoSensPos(CRect* rect, int gridY, BOOL print);
    // One column: the leads' extremes to the fitter; the gain it chose or to try.
    float CalAutoSensPosForOneCol(UINT which, int column, BOOL automatic, CRect* rect, int gridY, BOOL print);
    // The fitter of this view (not the multi-lead view's): 1 when it placed
    // the baselines, 0 when not (the return's gain then is the one to try).
    int AutoWaveAdjust(_AUTO_GAIN_INFO info, _AUTO_GAIN_RETURN& result, BOOL automatic);
    void SetViewIndex(int index) { m_nViewIndex = index; }

    // ---- calipers, scale and ruler marks (ViewSerialComRhyCaliper.cpp) -------------
    // Caliper 1..3 checked by the pane; the view reloads and repaints.
    void SetDividerCheck(BOOL check, int caliper);
    void ShowDivider(BOOL show);
    void SetInitialDividerPos() { m_bInitialDivider = TRUE; }
    // The three calipers one heart beat wide at the calibration column's
    // right edge, a quarter of the width apart; the pane hears each interval.
    void InitialDividerPos();
    void SizingDivider();
    void SizingScale();
    void DrawDivider(CDC* pDC, CRect rect, float ratio, BOOL print);
    void DrawDividerInformation(CDC* pDC, CRect rect, CPoint point, int caliper, float ratio);
    void ShowScale(BOOL show);
    void SetScaleClear();
    void DrawScale(CDC* pDC, CRect rect, float width);
    void DrawScaleInformation(CDC* pDC, CRect rect, CPoint point, float ratio);
    void SetRulerMarkRect(int mark);
    void DrawRulerMark(CDC* pDC, BOOL print);
    // A scale mark put at a client point (the mouse's part moves them).
    void SetScalePoint(int mark, CPoint point);
    int GetScaleStatus() const { return m_nScaleStatus; }
    CPoint GetScalePoint(int mark) const { return mark >= 0 && mark < 2 ? m_ptScale[mark] : CPoint(0, 0); }
    void SetScaleStatus(int status) { m_nScaleStatus = status; }
    int GetDividerInterval(int caliper) const { return caliper >= 0 && caliper < 3 ? m_nDivInterval[caliper] : 0; }
    CRect GetDividerGrip(int caliper, int side) const { return m_rcGrip[caliper][side]; }
    CRect GetDividerHandle(int caliper) const { return m_rcHandle[caliper]; }
    CRect GetRulerMark(int i) const { return m_rcRuler[i]; }
    // ---- the mouse (ViewSerialComRhyMouse.cpp) ----------------------------------
    // The lead under a client point and the sample under it; -1 when none
    // (style 29 only).
    int GetClickLead(CPoint point, int& sample);
    // The record pop-up while it runs: shown or hidden, or closed.
    void HideAllPopupDlg(BOOL show);
    void CloseAllPopupDlg();
    // Makes the record pop-up for `parent` into `popup` (which the view owns)
    // and runs it modally: IDOK or IDCANCEL. The dialogs' floor provides it;
    // without one a double-click opens nothing.
    using PopupRunner = int (*)(CWnd* parent, const CSerialPopupRequest& request, std::unique_ptr<CDialog>& popup);
    static void SetPopupRunner(PopupRunner runner);
    int GetSelectedDivider() const { return m_nSelectedDivider; }
    HCURSOR GetDividerCursor() const { return m_hDividerCursor; }
    // ---- the hover magnifier (ViewSerialComRhyMouse.cpp) ----------------------------
    // Shown only while a record is shown and its own document's magnifier is
    // visible; moved and drawn in the comparison's (base) document's magnifier.
    void ShowEnlargedPreview(CPoint point);
    BOOL MoveEnlargedPreview(CPoint point);
    BOOL RedrawEnlargedPreview(float ratio, CPoint point);
    BOOL HasMagnifierCache() const { return m_magnifier.HasCache(); }
    // Set once leave tracking was asked for, cleared when the mouse leaves.
    BOOL IsMouseInside() const { return m_magnifier.IsTrackingLeave(); }
    // The time label of the page start, "m:ss" (or "m:ss.s"); FALSE when the
    // record takes none (MFER 12/15-lead records whose item asks for it).
    BOOL TimeLabelText(CString& text) const;
    int GetScaleTime() const { return m_nScaleTime; }
    int GetScaleVoltage() const { return m_nScaleVoltage; }
    BOOL Print(CECGDC* pDC, CRect rect, int widthMm, int heightMm, double scale, int unused, int printTraces);
    // The caption line over a printed record: label, sensitivity, speed, filter.
    BOOL PrintWaveInfo(CECGDC* pDC, CRect rect, BOOL force);
    void UpdateDrawDC();

    // ---- read by the panes and tests ------------------------------------------
    _RESTDATAITEM* GetRestItem() const { return m_pRestItem; }
    _MFERDATAITEM* GetMferItem() const { return m_pMferItem; }
    int GetLeadSampleCount(int lead) const { return lead >= 0 && lead < SERIAL_VIEW_LEADS ? LeadCount(lead) : 0; }
    int GetScreenBaseline(int lead) const { return lead >= 0 && lead < SERIAL_VIEW_LEADS ? m_nScreenBaseline[lead] : 0; }
    int GetRows() const { return m_nRows[1]; }

    static const int kLongRecord = 50000;
    // The rate of the device's own records.
    static constexpr int kDeviceSampleRate = 500;

    // ---- the base list's comparable records, shared with the average comparison ----
    // The 12- or 15-lead record at `index` among the base list's comparable
    // records; null for none.
    static _DATAITEM* FindComparableItem(CTavrionDoc* base, int index);
    // A device record of the base list (read from the rest document).
    static bool IsDeviceListCode(unsigned code);
    // A record the MFER document reads.
    static bool IsMferRecordCode(unsigned code);
    // The listed record in the rest or MFER document's manager; null when it holds none.
    static _RESTDATAITEM* FindRestItem(CRestViewDoc* rest, const _DATAITEM* listed);
    static _MFERDATAITEM* FindMferItem(CMFERViewDoc* mfer, const _DATAITEM* listed);

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    bool InAnnotationMode() const;
    // The magnifier's drawing for the current documents and fonts.
    void PrepareMagnifier();
    // Which part of the selected caliper the point grips: 0 left, 1 right, 2 handle, -1 none.
    int CaliperPartAt(int caliper, CPoint point, int reach) const;
    void DragCaliper(CPoint point);
    // The scale mark `mark` moved to a point kept one pixel inside the client.
    void MoveScaleMark(int mark, CPoint point);
    DECLARE_MESSAGE_MAP()

    int LeadCount(int lead) const { return static_cast<int>(m_leadData[lead].count); }
    // The lead shown in `row` of `column`; -1 when none is.
    int SlotLead(int row, int column) const;
    // The document the shown record belongs to, by the view's kind; null for other kinds.
    CTavrionDoc* RecordDoc() const;
    // The rhythm sensitivity: style 13's own, else the record document's serial one.
    float Sense() const;
    // The speed in mm/s the traces are drawn at: style 13's own, else the
    // record document's; what the calipers and the scale read with.
    float Speed(BOOL print) const;
    // Height of 1 mV in pixels, halved for chest leads when the document asks.
    int OneMillivolt(int height, int gridY, float sense, bool chest) const;
    bool HalvesChest(float sense) const;
    // The base list's comparable record at the serial index, null without one.
    _DATAITEM* FindSerialItem() const;
    void LoadSamples(CTavrionDoc* doc, int id, int leadCount);
    bool LoadLead(CTavrionDoc* doc, int lead, int slot);
    BOOL DrawColumn(CDC* pDC, const CRect& rect, int column, int gridX, int gridY, BOOL print);
    BOOL DrawLongRecord(CDC* pDC, const CRect& rect, int gridX, int gridY);
    void DrawTimeLabel(CDC* pDC, int x, int y);
    CString LeadName(int lead) const;
    double AmplitudeUnit() const;
    // The shown record's samples a second.
    int RecordSampleRate() const;
    bool IsTwelveFifteenRecord() const;
    // Pixels per grid millimetre across: the document's, else the client's.
    double PixelsPerMm(int width) const;
    void BuildCaliper(int caliper, double centreX, double centreY, int width, int height);
    int HeartRateOf() const;
    // A reading box at `point`, pulled back inside `rect`.
    void DrawReadingBox(CDC* pDC, CRect rect, CPoint point, const CString& text, COLORREF colour, float ratio);
    bool IsFifteenLeadRecord() const;
    short ChestSelection() const;
    void SpaceEvenly(const std::vector<int>& leads, int height, int* baselines) const;

    _RESTDATAITEM* m_pRestItem = nullptr;
    _MFERDATAITEM* m_pMferItem = nullptr;
    SharedSamples m_leadData[SERIAL_VIEW_LEADS];
    int m_nSerialIndex = -1;
    std::unique_ptr<CDC> m_pPageDC;
    std::unique_ptr<CDC> m_pCleanPageDC;
    _RHYTHM_WAVE_STYLE m_nWaveStyle = 0;
    CRestViewDoc* m_pRestDoc = nullptr;
    CMFERViewDoc* m_pMferDoc = nullptr;
    CTavrionDoc* m_pBaseDoc = nullptr;
    int m_nRows[2] = {6, 6};
    int m_nColumns[2] = {1, 1};
    BOOL m_bShowChestLead = FALSE;
    double m_dAmplitudeUnit = 1.25;
    int m_nSamplesPerPage = 0;
    // Samples a second of the shown record, read at every update: an MFER
    // file's own rate, 500 for the device records. Rows, printed lines, the
    // clicked sample, the time label and the strip's window all count in it.
    int m_nSampleRate = kDeviceSampleRate;
    int m_nScreenBaseline[SERIAL_VIEW_LEADS] = {};
    int m_nPrintBaseline[SERIAL_VIEW_LEADS] = {};
    int m_nRhythm1LeadID = 1;
    BOOL m_bSameID = TRUE;
    int m_nViewIndex = -1;
    BOOL m_bInitialDivider = TRUE;

    BOOL m_bDivCheck[3] = {};
    BOOL m_bAnyDivCheck = FALSE;
    BOOL m_bShowDivider = FALSE;
    int m_nScaleStatus = -1;
    CPoint m_ptScale[2];
    double m_dScaleMmX[2] = {}, m_dScaleMmY[2] = {};
    CRect m_rcScale[2];
    CRect m_rcPrintScale[2];
    CRect m_rcGrip[3][2];
    CRect m_rcHandle[3];
    CRect m_rcRuler[4];
    double m_dCentreX[3] = {}, m_dCentreY[3] = {};   // grid millimetres
    double m_dHalfSpan[3] = {};                      // pixels
    double m_dSpanMm[3] = {};
    float m_fDivSpeed[3] = {};
    int m_nDivInterval[3] = {};
    int m_nSelectedMark = -1;
    int m_nScaleTime = 0;
    int m_nScaleVoltage = 0;
    int m_nLastWidth = 0, m_nLastHeight = 0;
    BOOL m_bDivDrag[3] = {};            // left grip, right grip, handle
    BOOL m_bScaleGrab[2] = {};
    int m_nSelectedDivider = 0;
    // The library's own divider cursor, shown over and after dragging a grip.
    HCURSOR m_hDividerCursor = nullptr;
    std::unique_ptr<CDialog> m_pPopup;
    CWaveViewMagnifier m_magnifier{*this};
};
