// The comment page of a rhythm record, or of an MFER record shown as
// rhythm: the patient strip, the rhythm comment form beside the multi-lead
// view in half style (26, 27; MFER 49, 50), the waves over the full width
// without the form (22, 25; MFER 37, 40) or the form alone (28; MFER 51),
// with a caption line over the waves and back/next under them.
#pragma once

#include "platform/ui/framework/FrameWnd.h"

class CRhythmViewDoc;
class CMFERViewDoc;
class CTavrionDoc;
class CViewRhythmWave;
class CDlgCtrl;
class CDlgPreNext;

class CWndRhythmComment : public CWnd {
    DECLARE_DYNAMIC(CWndRhythmComment)

public:
    CWndRhythmComment();
    ~CWndRhythmComment() override;

    // Each clears the other document: the pane serves one.
    void SetRhythmViewDoc(CRhythmViewDoc* pDoc);
    void SetMFERViewDoc(CMFERViewDoc* pDoc);
    void SetShowPatientInfo(int show) { m_bShowPatientInfo = show; }
    int IsShowPatientInfo() const { return m_bShowPatientInfo; }
    // Rhythm 22, 25 to 28; MFER 37, 40, 49 to 51; other values are ignored.
    void ShowRhythmPageStyle(int style);
    void ShowMFERPageStyle(int style);
    int GetPageStyle() const { return m_nPageStyle; }
    void OnUpdate();
    // The caption line from the document's settings; the argument is not used.
    void UpdateDisplayInfo(int waveStyle);

    CFrameWnd* GetPatientFrame() const { return m_pPatientFrame; }
    CFrameWnd* GetCommentFrame() const { return m_pCommentFrame; }
    CViewRhythmWave* GetRhythmView() const { return m_pRhythmView; }
    CDlgCtrl* GetCaptionStrip() const { return m_pCaptionStrip; }
    CDlgPreNext* GetPreNextStrip() const { return m_pPreNext; }

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnFocusJump(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUserAnnotationActive(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    // Each takes the patient rectangle, the page width (1020) and height.
    void SizeComment(CRect rcPatient, int nPageWidth, int nPageHeight);
    void SizeWaveHalf(CRect rcPatient, int nPageWidth, int nPageHeight);
    void SizeCommentHalf(CRect rcPatient, int nPageWidth, int nPageHeight);

private:
    CTavrionDoc* Document() const;
    int DocType() const;
    // The wave style of a comment page: three rows for a three-row rhythm
    // record or a three-lead MFER record.
    int CommentWaveStyle() const;
    void ApplyPageStyle(int style, int waveStyle, BOOL ownKind);
    CRect PatientRect(int cx, int cy) const;
    // The view's rows fitting `room` pixels at its width; its height in pixels.
    int FitRhythmView(int width, double room, float annoScale);
    void PlaceCaption(const CRect& rc, int textHeight);
    void MoveCommentFrame(const CRect& rc);
    void PageTo(int pages);

    CRhythmViewDoc* m_pRhythmViewDoc;
    CMFERViewDoc* m_pMFERViewDoc;
    int m_bShowPatientInfo;
    int m_nPageStyle;
    CFrameWnd* m_pPatientFrame;        // frames and the view delete themselves
    CFrameWnd* m_pCommentFrame;
    CViewRhythmWave* m_pRhythmView;    // child 201
    CDlgCtrl* m_pCaptionStrip;         // owned
    CDlgPreNext* m_pPreNext;           // owned
};
