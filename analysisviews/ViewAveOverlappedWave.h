// CViewAveOverlappedWave: the averaged beats of all twelve leads on one
// baseline, with vertical lines at the record's P begin and end, QRS begin
// and end and T end, and a colour legend. A passive picture for the
// enlarged-beat dialog: it takes no clicks, no magnifier, only the arrow.
// The beats are loaded once, at the first update.
#pragma once

#include <vector>

#include "platform/gdi/Brush.h"
#include "platform/gdi/Pen.h"
#include "waveviews/WaveView.h"

#define OVERLAPPED_VIEW_LEADS 12

struct _ECGDATA;

// The fiducial points of an average beat, in samples of the beat (the
// defaults those of a 500 Hz beat; the view scales them to the beat's rate).
struct _AVERAGE_FIDUCIALS {
    int nPBegin = 80;
    int nPEnd = 100;
    int nQrsBegin = 120;
    int nQrsEnd = 150;
    int nTEnd = 180;
};

class CViewAveOverlappedWave : public CWaveView {
    DECLARE_DYNCREATE(CViewAveOverlappedWave)

public:
    CViewAveOverlappedWave();
    ~CViewAveOverlappedWave() override;

    // Colour index of every trace (DrawWave's); -1 the trace colour.
    void SetEnlargeType(int type) { m_nEnlargeType = type; }
    void SetWaveInfo(float sense, int filter)
    {
        m_fSense = sense;
        m_nFilter = filter;
    }
    // Serial comparisons keep the filter they give; otherwise the document's is taken.
    void SetSerialWave(BOOL serial) { m_bSerialWave = serial; }
    // The document's sensitivity kind the traces follow (rest records).
    void SetSenseID(int id) { m_nSenseID = id; }

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // Loads the beats and the beat window once.
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;
    // The picture in `rect`: traces, fiducial lines, legend.
    BOOL DrawView(CDC* pDC, CRect rect, int print);

    // The record's fiducials in samples of its beat, each its default when
    // unreadable or outside the 1.2 s the view spans (0..600 at 500 Hz).
    _AVERAGE_FIDUCIALS ReadFiducials() const;
    // Samples of 1.2 s at the beat's rate: the fiducials' scale.
    int GetFiducialSpan() const;
    // Samples per second of the beats: an MFER file's own rate, 500 for device records.
    int GetSampleRate() const { return m_nSampleRate; }
    int GetWindowStart() const { return m_nWindowStart; }
    int GetWindowSpan() const { return m_nWindowSpan; }
    int GetSampleCount(int lead) const;

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()

    void LoadDocumentBeats(CTavrionDoc* doc);
    void LoadMferBeats(CTavrionDoc* doc);
    // The rest record's window: tags 3723 and 3724, or the whole of lead 0 for model-8000 records.
    void LoadRestWindow(CTavrionDoc* doc);
    void DrawFiducials(CDC* pDC, const CRect& rect);
    void DrawLegend(CDC* pDC, const CRect& rect, int print);

    BOOL m_bSerialWave = FALSE;
    double m_dAmplitudeUnit = 2.5;   // microvolts per sample unit
    int m_nSampleRate = 500;
    int m_nWindowStart = 0;          // first sample drawn
    int m_nWindowSpan = 600;         // samples drawn
    int m_nLeadCount = OVERLAPPED_VIEW_LEADS;
    int m_nEnlargeType = -1;
    int m_nLeadID[OVERLAPPED_VIEW_LEADS] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
    std::vector<short> m_leadData[OVERLAPPED_VIEW_LEADS];
    CBrush m_pBrush{RGB(255, 0, 255)};
    CBrush m_qrsBrush{RGB(0, 0, 255)};
    CBrush m_tBrush{RGB(255, 0, 0)};
    CPen m_pPen{PS_SOLID, 1, RGB(255, 0, 255)};
    CPen m_qrsPen{PS_SOLID, 1, RGB(0, 0, 255)};
    CPen m_tPen{PS_SOLID, 1, RGB(255, 0, 0)};
    float m_fSense = 10.0f;          // mm/mV
    int m_nFilter = 100;             // filter of the document's wave queries
    _ECGDATA* m_pRecord = nullptr;   // the current item's record, for the fiducial tags (not owned)
};
