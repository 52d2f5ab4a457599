// CSketchArrowText: a framed text (kind 9) in the box of control points 0
// and 4, with an arrow from the box to a point. Its arrow control points are
// the arrow's tip and the point on the box where it leaves. It is drawn by
// pressing on the point to show and dragging the box away from it.
#pragma once

#include "platform/penwick/SketchText.h"

class CSketchArrowText : public CSketchText {
public:
    // The handle of the arrow's tip, after the box's eight.
    static constexpr int kTipHandle = 8;

    CSketchArrowText() : CSketchText(SKETCH_ARROWTEXT) {}
    std::unique_ptr<CSketchObject> Clone() const override { return std::make_unique<CSketchArrowText>(*this); }

    int GetArrowCtrlPnt(CArray<CExactPoint, CExactPoint>& points) const;

    CExactPoint GetCtrlPnt(int index) const override;
    void Draw(CDC* pDC, const _IMAGEMAPINFO_ST_& map, BOOL paper) const override;
    std::vector<int> GetHandles() const override;
    int GetHandleCursor(int handle) const override;
    int HitTest(const CExactPoint& point, float tolerance) const override;
    void Offset(float dx, float dy) override;
    void MoveHandle(int handle, const CExactPoint& point) override;
    void BeginSketch(const CExactPoint& point) override;
    void ContinueSketch(const CExactPoint& point) override;
    BOOL FinishSketch() override;
    // Control point 0, control point 4, then the arrow points.
    BOOL LoadPoints(const std::vector<CExactPoint>& points) override;
    void GetBounds(CExactPoint& topLeft, CExactPoint& bottomRight) const override;

private:
    // The base: the middle of the box side nearest the tip.
    void ComputeBase();

    std::vector<CExactPoint> m_arrowPts;   // tip, base
};
