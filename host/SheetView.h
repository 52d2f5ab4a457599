// CSheetView: the host's own small view on CWaveView. It draws every lead of
// the current record in a row of its own, named as the multi-lead view names
// it, each with its 1 mV calibration pulse, at the document's speed, in the
// document's smoothing mode and grid kind, under a line that states the
// speed and gain it drew at. A record longer than the paper's trace width
// goes on as many pages as it needs; the screen shows the first.
#pragma once

#include <vector>

#include "core/SampleVector.h"
#include "waveviews/WaveView.h"
#include "waveviews/WaveViewMagnifier.h"

class CECGDC;

class CSheetView : public CWaveView {
    DECLARE_DYNCREATE(CSheetView)

public:
    CSheetView();

    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;
    // Page `page` on paper, in the font the caller selected: the caller
    // printed the grid over rect, `columns` by `rows` millimetres.
    BOOL Print(CECGDC* pDC, CRect rect, int columns, int rows, int page);
    // The pages the record needs on paper `columns` millimetres wide (at least 1).
    int GetPageCount(int columns) const;
    int GetLeadCount() const { return static_cast<int>(m_leads.size()); }
    // Leads the record holds that could not be read for want of memory: a
    // sheet without them is no sheet of the record.
    int GetMissingLeadCount() const { return m_nMissingLeads; }

protected:
    // The hover magnifier, as the library's views carry it.
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    DECLARE_MESSAGE_MAP()

private:
    struct Lead {
        int nLead;                   // the document's lead index, which names it
        SharedSamples samples;
    };
    // The settings a page is drawn at.
    struct Scale {
        float speed;   // mm/s
        int sense;     // mm/mV
    };

    void DrawView(CDC* pDC, CRect rect, int columns, int rows, int page, BOOL print);
    // The speed and gain the page is drawn at, and which page of how many.
    void DrawCaption(CDC* pDC, CRect rect, int columns, int rows, int page, const Scale& scale);
    Scale ScaleFor(int rows) const;
    // The document's speed in mm/s; 25 when it has none.
    float Speed() const;
    // Samples of one page: the trace width at the document's speed.
    int SamplesPerPage(int columns) const;
    // Squares across for the width of the paper: 10 s at 25 mm/s and the
    // pulse column; rows follow the client's shape.
    void LayOutGrid();

    std::vector<Lead> m_leads;
    double m_dScale = 0.00125;   // mV per sample unit; device rhythm samples: 1.25 µV a unit
    int m_nSampleRate = 500;     // samples per second of every lead
    CWaveViewMagnifier m_magnifier{*this};
    int m_nMissingLeads = 0;     // see GetMissingLeadCount
};
