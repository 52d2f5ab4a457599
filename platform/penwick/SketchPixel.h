// CSketchPixel: a set of marks (kind 1). Control point 0 is the first mark;
// pressing places a mark and dragging lays further marks along the way.
#pragma once

#include "platform/penwick/SketchTrail.h"

class CSketchPixel : public CSketchTrail {
public:
    CSketchPixel() : CSketchTrail(SKETCH_MARKS, kSpacing) {}
    std::unique_ptr<CSketchObject> Clone() const override { return std::make_unique<CSketchPixel>(*this); }

    // Every mark, the first included; returns their number.
    int GetMarkObjPoints(CArray<CExactPoint, CExactPoint>& points) const;

    void Draw(CDC* pDC, const _IMAGEMAPINFO_ST_& map, BOOL paper) const override;
    int HitTest(const CExactPoint& point, float tolerance) const override;
    BOOL FinishSketch() override { return !m_trail.empty(); }
    // Control point 0, then the marks.
    BOOL LoadPoints(const std::vector<CExactPoint>& points) override;
    void GetBounds(CExactPoint& topLeft, CExactPoint& bottomRight) const override;

private:
    // Marks laid while dragging lie at least this far apart (unscaled units).
    static constexpr float kSpacing = 6.0f;
};
