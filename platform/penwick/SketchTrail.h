// CSketchTrail: the base of the shapes laid as a trail of points while the
// mouse is dragged (the marks and the freehand curves). Control point 0 is
// the first point; dragging adds a point once the mouse is a step away from
// the last one.
#pragma once

#include "platform/penwick/SketchObject.h"

class CSketchTrail : public CSketchObject {
public:
    CExactPoint GetCtrlPnt(int index) const override;
    int GetCtrlPntCount() const override { return m_points.empty() ? 0 : 1; }
    std::vector<int> GetHandles() const override { return {}; }
    void Offset(float dx, float dy) override;
    void BeginSketch(const CExactPoint& point) override;
    void ContinueSketch(const CExactPoint& point) override;

protected:
    // `step`: the least distance between trail points (unscaled units).
    CSketchTrail(int type, float step) : CSketchObject(type), m_fStep(step) {}

    // Control point 0 from the first stored point, the trail from the
    // stored points after the first `skip`.
    BOOL LoadTrail(const std::vector<CExactPoint>& points, size_t skip);
    // The box round `points`; control point 0 alone when there are none.
    void BoundsOf(const std::vector<CExactPoint>& points, CExactPoint& topLeft, CExactPoint& bottomRight) const;

    std::vector<CExactPoint> m_trail;

private:
    float m_fStep;
};
