// CViewEnlargedOverlap: the average beat of one lead from up to nine
// compared records drawn over each other, large, each in the trace colour of
// its slot. When every record is a resting record the beats are shifted
// sideways so that each one's reference sample (record item 3727) falls on
// the first record's; one MFER record among them turns that off.
//
// Zoom, pan and the two-mark ruler work as in CViewEnlargedWave, except that
// the readings always count 25 mm/s and the document's sensitivity, and a
// pan moves only the drag offsets. The beats are read at every document
// update, never at a paint.
#pragma once

#include "waveviews/EnlargedRuler.h"
#include "waveviews/EnlargedZoom.h"
#include "waveviews/WaveView.h"

class CRestViewDoc;
class CMFERViewDoc;
struct _DATAITEM;

#define ENLARGED_OVERLAP_SLOTS 9

class CViewEnlargedOverlap : public CWaveView {
    DECLARE_DYNCREATE(CViewEnlargedOverlap)

public:
    CViewEnlargedOverlap();
    ~CViewEnlargedOverlap() override;

    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Also the initial update: the grid, then the beats of every slot.
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;

    // ---- set by the dialog ----------------------------------------------------------
    // The kind is the view's document kind.
    void SetBaseECGDoc(CTavrionDoc* doc, int kind)
    {
        m_pBaseDoc = doc;
        SetDocType(kind);
    }
    void SetRestDoc(CRestViewDoc* doc) { m_pRestDoc = doc; }
    void SetMFERDoc(CMFERViewDoc* doc) { m_pMferDoc = doc; }
    void SetLeadID(UINT lead) { m_nLead = static_cast<int>(lead); }
    void SetSense(float sense) { m_fSense = sense; }
    // At most nine slots are used.
    void SetSerialCount(int count);
    // Slot 0..8 shows the record at `index` of the base document's list.
    void SetDataIndex(int slot, int index);
    void SetRulerStatus(_RULER_STATUS status) { m_ruler.SetStatus(status); }
    void SetRulerClear(BOOL clear) { m_ruler.SetClear(clear); }
    void SetRulerMarkRect(int mark) { m_ruler.SetMarkRect(mark); }
    void DrawRulerMark(CDC* pDC) { m_ruler.DrawCornerSquares(pDC); }
    void SetDragHorizontalOffset(int pixels) { m_nDragHorizontal = pixels; }
    void SetDragVerticalOffset(int pixels) { m_nDragVertical = pixels; }
    _RULER_STATUS GetRulerStatus() const { return m_ruler.GetStatus(); }
    int GetDragHorizontalOffset() const { return m_nDragHorizontal; }
    int GetDragVerticalOffset() const { return m_nDragVertical; }
    int GetScaleRatio() const { return m_zoom.GetStep(); }
    // A step of -4..4 sets its zoom; any step is stored. Returns TRUE.
    BOOL SetScaleRatio(int step);
    // As CViewEnlargedWave::SetBackGridSize.
    void SetBackGridSize(double across, double down, double zoom);

    // Reads every slot's beat; slots without a readable record stay empty.
    void GetWaveData();
    // Every slot's beat in the rectangle; TRUE.
    BOOL DrawView(CDC* pDC, CRect rect, int gridAcross, int gridDown);

    // ---- read by the dialog and tests ----------------------------------------------
    int GetWindowStart(int slot) const { return m_nWindowStart[slot]; }
    int GetWindowLength(int slot) const { return m_nWindowLength[slot]; }
    // An MFER file's own rate, 500 for device records.
    int GetSampleRate(int slot) const { return m_nSampleRate[slot]; }
    BOOL HasSamples(int slot) const { return m_pWave[slot] != nullptr; }
    const CEnlargedRuler& GetRuler() const { return m_ruler; }

    // The record kinds compared here (by the item's system code).
    static BOOL IsRestRecord(unsigned systemCode);
    static BOOL IsMferRecord(unsigned systemCode);

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    // The second press of a quick pair is a press for the ruler and the pan.
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

    // A press: the pan's start in ruler state -1, else the ruler's step.
    void Press(CPoint point);
    void FreeSlot(int slot);
    // The base document's item at `index` when it is a record compared here.
    _DATAITEM* SlotRecord(int index) const;
    // `lastReference`: the reference offset of the resting record read
    // before, given to a record without one and updated.
    void ReadRestSlot(int slot, _DATAITEM* record, int& lastReference);
    void ReadMferSlot(int slot, _DATAITEM* record);
    // The window kept inside the samples the slot holds.
    void ClampWindow(int slot, int samples);
    // x of sample s: the frame's left plus w x s / samples across.
    int SampleX(int left, int w, int sample, int samplesAcross) const;
    void DrawSlot(CDC* pDC, int slot, CRect trace);
    CString LeadName() const;
    void SendReading();

    CEnlargedRuler m_ruler;
    int m_nLead = 0;
    BOOL m_bDragging = FALSE;
    CEnlargedZoom m_zoom;
    int m_nDragVertical = 0;            // pixels added to the baseline
    int m_nDragHorizontal = 0;          // pixels added to the frame's left
    CPoint m_ptDrag;                    // last mouse position while panning
    int m_nSerialCount = 0;             // slots in use, 0..9
    int m_nWindowStart[ENLARGED_OVERLAP_SLOTS] = {};    // per slot: first sample of the beat window
    int m_nWindowLength[ENLARGED_OVERLAP_SLOTS] = {};   // per slot: samples in the window
    int m_nReference[ENLARGED_OVERLAP_SLOTS] = {};      // per slot: reference sample minus window start
    double m_dResolution[ENLARGED_OVERLAP_SLOTS] = {};  // per slot: microvolts per unit
    int m_nSampleRate[ENLARGED_OVERLAP_SLOTS] = {};     // per slot: samples per second of the beat
    short* m_pWave[ENLARGED_OVERLAP_SLOTS] = {};        // per slot: the whole beat (MemoryAlloc), or null
    int m_nDataIndex[ENLARGED_OVERLAP_SLOTS];           // per slot: position in the base list, -1 none
    CTavrionDoc* m_pBaseDoc = nullptr;  // not owned: its list holds every compared record
    CRestViewDoc* m_pRestDoc = nullptr;   // not owned
    CMFERViewDoc* m_pMferDoc = nullptr;   // not owned
    float m_fSense = 10.0f;             // mm/mV for drawing
};
