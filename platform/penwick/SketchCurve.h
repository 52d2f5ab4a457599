// CSketchCurve: a freehand curve, open (kind 6) or closed (kind 10), drawn
// by dragging and shown smoothed through its points. Control point 0 is the
// first point.
#pragma once

#include "platform/penwick/SketchTrail.h"

class CSketchCurve : public CSketchTrail {
public:
    explicit CSketchCurve(int type = SKETCH_CURVE) : CSketchTrail(type, kMinStep) {}
    std::unique_ptr<CSketchObject> Clone() const override { return std::make_unique<CSketchCurve>(*this); }

    // The points the curve passes through; returns their number.
    int GetPathPoint(CArray<CExactPoint, CExactPoint>& points) const;
    BOOL IsClosed() const { return m_nType == SKETCH_CLOSEDCURVE; }

    void Draw(CDC* pDC, const _IMAGEMAPINFO_ST_& map, BOOL paper) const override;
    int HitTest(const CExactPoint& point, float tolerance) const override;
    BOOL FinishSketch() override { return m_trail.size() >= 2; }
    // Control point 0, control point 0 again, then the path.
    BOOL LoadPoints(const std::vector<CExactPoint>& points) override;
    void GetBounds(CExactPoint& topLeft, CExactPoint& bottomRight) const override;

private:
    // Points closer than this to the last one add nothing to a freehand curve.
    static constexpr float kMinStep = 1.0f;

    // The smoothed outline: Catmull-Rom through the path, a few steps a span.
    std::vector<CExactPoint> Smoothed() const;
};
