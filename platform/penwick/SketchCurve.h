// CSketchCurve: a freehand curve, open (kind 6) or closed (kind 10), drawn
// by dragging and shown smoothed through its points. Control point 0 is the
// first point.
#pragma once

#include "platform/penwick/SketchObject.h"

class CSketchCurve : public CSketchObject {
public:
    explicit CSketchCurve(int type = SKETCH_CURVE) : CSketchObject(type) {}
    std::unique_ptr<CSketchObject> Clone() const override { return std::make_unique<CSketchCurve>(*this); }

    // The points the curve passes through; returns their number.
    int GetPathPoint(CArray<CExactPoint, CExactPoint>& points) const;
    BOOL IsClosed() const { return m_nType == SKETCH_CLOSEDCURVE; }

    CExactPoint GetCtrlPnt(int index) const override;
    int GetCtrlPntCount() const override { return m_points.empty() ? 0 : 1; }
    void Draw(CDC* pDC, const _IMAGEMAPINFO_ST_& map, BOOL paper) const override;
    std::vector<int> GetHandles() const override { return {}; }
    int HitTest(const CExactPoint& point, float tolerance) const override;
    void Offset(float dx, float dy) override;
    void BeginSketch(const CExactPoint& point) override;
    void ContinueSketch(const CExactPoint& point) override;
    BOOL FinishSketch() override { return m_path.size() >= 2; }
    // Control point 0, control point 0 again, then the path.
    BOOL LoadPoints(const std::vector<CExactPoint>& points) override;
    void GetBounds(CExactPoint& topLeft, CExactPoint& bottomRight) const override;

private:
    // The smoothed outline: Catmull-Rom through the path, a few steps a span.
    std::vector<CExactPoint> Smoothed() const;

    std::vector<CExactPoint> m_path;
};
