// The result page of an exercise test: the result table, the METs against
// heart-rate trend, and the METs-HR regression equation that the pane paints
// itself, left of the trend. Each part of the equation starts where the part
// before it ends on the screen, at any width of the pane.
#pragma once

#include "platform/ui/framework/Wnd.h"

class CExerViewDoc;
class CViewResultTable;
class CViewExerTrend;

class CWndExerResult : public CWnd {
    DECLARE_DYNAMIC(CWndExerResult)

public:
    CWndExerResult();
    ~CWndExerResult() override;

    void SetExerViewDoc(CExerViewDoc* pDoc) { m_pExerViewDoc = pDoc; }
    void OnUpdate();
    // The equation of the current record on a pane of width × height pixels;
    // nothing without a current record. The context is left as it was found.
    void DrawEquation(CDC* pDC, int width, int height);

    CViewResultTable* GetResultTable() const { return m_pResultTable; }
    CViewExerTrend* GetTrendView() const { return m_pTrendView; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    CViewResultTable* m_pResultTable;   // child 201; the views delete themselves
    CViewExerTrend* m_pTrendView;       // child 202
    CExerViewDoc* m_pExerViewDoc;
};
