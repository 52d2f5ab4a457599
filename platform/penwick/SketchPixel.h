// CSketchPixel: a set of marks (kind 1). Control point 0 is the first mark;
// pressing places a mark and dragging lays further marks along the way.
#pragma once

#include "platform/penwick/SketchObject.h"

class CSketchPixel : public CSketchObject {
public:
    CSketchPixel() : CSketchObject(SKETCH_MARKS) {}
    std::unique_ptr<CSketchObject> Clone() const override { return std::make_unique<CSketchPixel>(*this); }

    // Every mark, the first included; returns their number.
    int GetMarkObjPoints(CArray<CExactPoint, CExactPoint>& points) const;

    CExactPoint GetCtrlPnt(int index) const override;
    int GetCtrlPntCount() const override { return m_points.empty() ? 0 : 1; }
    void Draw(CDC* pDC, const _IMAGEMAPINFO_ST_& map, BOOL paper) const override;
    std::vector<int> GetHandles() const override { return {}; }
    int HitTest(const CExactPoint& point, float tolerance) const override;
    void Offset(float dx, float dy) override;
    void BeginSketch(const CExactPoint& point) override;
    void ContinueSketch(const CExactPoint& point) override;
    BOOL FinishSketch() override { return !m_marks.empty(); }
    // Control point 0, then the marks.
    BOOL LoadPoints(const std::vector<CExactPoint>& points) override;
    void GetBounds(CExactPoint& topLeft, CExactPoint& bottomRight) const override;

private:
    // Marks laid while dragging lie at least this far apart (unscaled units).
    static constexpr float kSpacing = 6.0f;

    std::vector<CExactPoint> m_marks;
};
