// CSketchPolygon: a closed polygon (kind 3), drawn point by point: each
// press fixes a corner, a double click closes it. Control point 0 is the
// first corner; control point i (i >= 1) is corner i.
#pragma once

#include "platform/penwick/SketchObject.h"

class CSketchPolygon : public CSketchObject {
public:
    CSketchPolygon() : CSketchObject(SKETCH_POLYGON) {}
    std::unique_ptr<CSketchObject> Clone() const override { return std::make_unique<CSketchPolygon>(*this); }

    // The corners in order; returns their number.
    int GetPathPoint(CArray<CExactPoint, CExactPoint>& points) const;

    CExactPoint GetCtrlPnt(int index) const override;
    int GetCtrlPntCount() const override { return static_cast<int>(m_path.size()); }
    void Draw(CDC* pDC, const _IMAGEMAPINFO_ST_& map, BOOL paper) const override;
    std::vector<int> GetHandles() const override;
    int GetHandleCursor(int) const override { return SKETCH_HIT_POINT; }
    int HitTest(const CExactPoint& point, float tolerance) const override;
    void Offset(float dx, float dy) override;
    void MoveHandle(int handle, const CExactPoint& point) override;
    void BeginSketch(const CExactPoint& point) override;
    void ContinueSketch(const CExactPoint& point) override;
    void AddSketchPoint(const CExactPoint& point) override;
    BOOL EndsOnRelease() const override { return FALSE; }
    BOOL FinishSketch() override;
    // Control point 0, then the corners.
    BOOL LoadPoints(const std::vector<CExactPoint>& points) override;
    void GetBounds(CExactPoint& topLeft, CExactPoint& bottomRight) const override;

private:
    bool Contains(const CExactPoint& point) const;

    std::vector<CExactPoint> m_path;   // corners; while drawing the last one follows the mouse
};
