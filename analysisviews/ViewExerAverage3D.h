// CViewExerAverage3D: the "3D ST-Map": the ST level of the twelve leads of
// the current exercise item against time, twelve curves standing side by
// side on a floor in front of a back wall with the millimetre scale, seen in
// perspective. The exercise average pane turns and tilts it with its
// buttons, swings it on its timer (id 10, every 500 ms, one SwingRotation a
// tick), switches absolute and rest-relative ST, and a click on a lead name
// highlights its curve for one paint.
//
// Model: u along the time axis (time 0 at +s), w across the rows, h upward;
// the projection is integer arithmetic with every division truncated on its
// own.
#pragma once

#include <vector>

#include "documents/ExerViewDoc.h"
#include "platform/ui/framework/View.h"

class CViewExerAverage3D : public CView {
    DECLARE_DYNCREATE(CViewExerAverage3D)

public:
    static constexpr int ROWS = 12;

    CViewExerAverage3D();
    ~CViewExerAverage3D() override;

    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;

    void RotateLeft();
    void RotateRight();
    void TiltUp();
    void TiltDown();
    void ResetAngle();
    void SwingRotation();
    void SetSTLevelMode(int mode);

    double GetRotation() const { return m_dRotation; }
    double GetTilt() const { return m_dTilt; }
    int GetTimeSpan() const { return m_nTimeSpan; }
    int GetHighlightedRow() const { return m_nHighlighted; }
    // The model point on the screen, for the eye of the last paint or click,
    // before the viewport origin is applied.
    CPoint ProjectPoint(int u, int w, int h) const;
    // The data lead of a map row.
    int GetMapLeadID(int row) const;

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    CExerViewDoc* GetExerDoc() const;
    void SetViewPoint();
    void Project(CPoint& out, int u, int w, int h) const;
    void FillPolygon3D(CDC* pDC, const int (*points)[3], int count);
    void DrawMapFrame(CDC* pDC, int span, int D);
    void DrawTimeMarker(CDC* pDC, int span, int D);
    void DrawSTCurves(CDC* pDC, int span, int D);
    void DrawRow(CDC* pDC, int row, int span, int D, CPen* curvePen);
    void Turn(double& angle, double step, double low, double high);
    // The row's word k (16-bit signed), bounded by what was read.
    int Word(int row, int k) const;
    int Words(int row) const;
    // s of the current client rectangle: the smaller of a third of each side.
    int ModelSize() const;

    double m_dRotation = -0.3;
    double m_dTilt = 0.7;
    int m_nEyeX = 0;
    int m_nEyeY = 0;
    int m_nEyeZ = 0;
    int m_nEyeZX = 0;
    int m_nEyeZY = 0;
    int m_nEyeDistance = 600;
    int m_nHorizontal = 0;
    int m_nHorizontal600 = 0;
    int m_nScreenDistance = 500;
    int m_nHighlighted = -1;
    int m_nSwingDirection = 0;
    std::vector<short> m_rows[ROWS];   // exercise ST words, then recovery
    int m_nExerSize[ROWS] = {};
    int m_nPostSize[ROWS] = {};
    int m_nLabelFlag = 0;
    int m_nLevelMode = 0;
    int m_nTimeSpan = 0;
    double m_dTextScaleX = 0;
    double m_dTextScaleY = 0;
};
