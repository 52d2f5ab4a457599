// CSketchArrow: an arrow (kind 5) from control point 0 (the tail) to control
// point 1 (the tip). Its arrow control points outline the head:
// - arrow type 0 (an open head of two barbs): left barb, tip, right barb,
//   base of the head, tail;
// - arrow types 1 and 2 (a closed head, 2 filled): left barb, tip, tip,
//   right barb, tail, base of the head.
// Stored shapes keep their arrow points in the orders the record uses
// (README.md); a loaded arrow hands back what it was given, reordered back,
// until one of its ends is moved, when the points are computed afresh.
#pragma once

#include "platform/penwick/SketchObject.h"

class CSketchArrow : public CSketchObject {
public:
    explicit CSketchArrow(short arrowType = 0);
    std::unique_ptr<CSketchObject> Clone() const override { return std::make_unique<CSketchArrow>(*this); }

    // The arrow control points; returns their number.
    int GetArrowCtrlPnt(CArray<CExactPoint, CExactPoint>& points) const;
    BOOL IsLoaded() const { return m_bLoaded; }
    short GetArrowType() const { return m_nArrowType; }

    void Draw(CDC* pDC, const _IMAGEMAPINFO_ST_& map, BOOL paper) const override;
    void Offset(float dx, float dy) override;
    void MoveHandle(int handle, const CExactPoint& point) override;
    void BeginSketch(const CExactPoint& point) override;
    void ContinueSketch(const CExactPoint& point) override;
    // Tail, tip, then the arrow points as the record stores them.
    BOOL LoadPoints(const std::vector<CExactPoint>& points) override;

    // The head's length in unscaled units for a line width.
    static float HeadLength(int lineWidth);

private:
    void ComputeArrowPoints();

    short m_nArrowType;                     // 0 open head, 1 closed, 2 closed and filled
    BOOL m_bLoaded = FALSE;                 // the arrow points came from a stored record
    std::vector<CExactPoint> m_arrowPts;
};
