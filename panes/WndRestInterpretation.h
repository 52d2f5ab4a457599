// The interpretation page of one record: the patient strip on top, a caption
// line with the display settings, the interpretation form beside the average
// beats and a one-lead rhythm strip along the bottom. It serves a resting
// record (page styles 35 to 38), an MFER record (41 to 44) or a rhythm record
// (29 and 30); rhythm records get the rhythm and RR form and their own strip.
// The document kind is fixed once the window exists: the children depend on it.
#pragma once

#include "platform/ui/framework/FrameWnd.h"

class CRestViewDoc;
class CMFERViewDoc;
class CRhythmViewDoc;
class CTavrionDoc;
class CDlgCtrl;
class CViewScroll1LeadWave;
class CViewAverageWave;

class CWndRestInterpretation : public CWnd {
    DECLARE_DYNAMIC(CWndRestInterpretation)

public:
    CWndRestInterpretation();
    ~CWndRestInterpretation() override;

    // Each setter serves its document alone: the other two are cleared.
    void SetRestViewDoc(CRestViewDoc* pDoc);
    void SetMFERViewDoc(CMFERViewDoc* pDoc);
    void SetRhythmViewDoc(CRhythmViewDoc* pDoc);
    void SetShowPatientInfo(int show) { m_bShowPatientInfo = show; }
    int IsShowPatientInfo() const { return m_bShowPatientInfo; }

    // A style outside the document's own range changes nothing.
    void ShowRestPageStyle(int style);
    void ShowMFERPageStyle(int style);
    void ShowRhythmPageStyle(int style);
    int GetPageStyle() const { return m_nPageStyle; }

    void OnUpdate();
    // The caption line from the document's settings and current record.
    void UpdateDisplayInfo();

    CFrameWnd* GetPatientFrame() const { return m_pPatientFrame; }
    CDlgCtrl* GetCaptionStrip() const { return m_pCaptionStrip; }
    CFrameWnd* GetRestInterpretationFrame() const { return m_pRestFrame; }
    CFrameWnd* GetRhythmInterpretationFrame() const { return m_pRhythmFrame; }
    CViewScroll1LeadWave* GetRhythmStrip() const { return m_pRhythmStrip; }
    CViewAverageWave* GetAverageView() const { return m_pAverageView; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    // Each takes the patient rectangle, the page width and the page height.
    void SizeInterpretation(CRect patient, int pageWidth, int pageHeight);
    void SizeInterpretationHalf(CRect patient, int pageWidth, int pageHeight);
    void SizeAverageHalf(CRect patient, int pageWidth, int pageHeight);
    afx_msg LRESULT OnUserAnnotationActive(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnFocusJump(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // The document that is set, the rest one first.
    CTavrionDoc* Document() const;
    int DocType() const;
    // The layout's document: rest, else rhythm, else MFER.
    CTavrionDoc* LayoutDocument() const;
    CFrameWnd* InterpretationFrame() const { return m_pRestFrame ? m_pRestFrame : m_pRhythmFrame; }
    // What every layout reads first; false without the document's font.
    struct LayoutBasis;
    bool ReadBasis(const CRect& patient, int pageHeight, LayoutBasis& basis) const;
    // The strip's size from its grid.
    void StripSize(const LayoutBasis& basis, int& width, int& height) const;
    // The strip centred in the room below the average view.
    void PlaceStrip(const LayoutBasis& basis, int top, int averageHeight, int width, int height, float annoScale);
    // The average view's width: `units` of the page, or its grid in display size mode 5.
    int AverageWidth(const LayoutBasis& basis, int units) const;
    // The average view at (x, top), `width` wide, in whole blocks of rows
    // that fit `room`; its height in pixels.
    int PlaceAverage(const LayoutBasis& basis, int x, int top, int width, double room, float annoScale);
    void FinishCaption();
    void ApplyStyle(int style, int waveStyle, int half, bool tellForm);

    CRestViewDoc* m_pRestViewDoc;
    CMFERViewDoc* m_pMFERViewDoc;
    CRhythmViewDoc* m_pRhythmViewDoc;
    int m_bShowPatientInfo;
    int m_nPageStyle;
    CFrameWnd* m_pPatientFrame;            // frames and views delete themselves
    CDlgCtrl* m_pCaptionStrip;             // owned
    CFrameWnd* m_pRestFrame;               // resting and MFER records
    CFrameWnd* m_pRhythmFrame;             // rhythm records
    CViewScroll1LeadWave* m_pRhythmStrip;  // child 201, or 202 on a rhythm record
    CViewAverageWave* m_pAverageView;      // child 202
};
