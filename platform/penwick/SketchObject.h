// CSketchObject: one shape of the notation manager, in unscaled page units.
// The base class is itself the straight line (kind 2), the rectangle (7) and
// the ellipse (8); the other kinds derive from it. Control points are
// numbered as the shape gives them: for the two-point kinds 0 and 1 are the
// ends; for the kinds spanned by a box 0 and 4 are opposite corners and
// 1..7 run round the box (0 top-left, 1 top middle, 2 top-right, 3 right
// middle, 4 bottom-right, 5 bottom middle, 6 bottom-left, 7 left middle,
// "top-left" meaning control point 0 whichever way the box was drawn).
#pragma once

#include <memory>
#include <vector>

#include "platform/base/Collections.h"
#include "platform/base/Strings.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/penwick/ExactPoint.h"
#include "platform/penwick/ImageMapInfo.h"

class CDC;
class CPatternBitmap;

// The kinds of sketch (the manager's draw types).
enum : int {
    SKETCH_MARKS = 1,
    SKETCH_LINE = 2,
    SKETCH_POLYGON = 3,
    SKETCH_TEXT = 4,
    SKETCH_ARROW = 5,
    SKETCH_CURVE = 6,
    SKETCH_RECTANGLE = 7,
    SKETCH_ELLIPSE = 8,
    SKETCH_ARROWTEXT = 9,
    SKETCH_CLOSEDCURVE = 10,
};

// The cursor codes the manager's mouse calls return.
enum : int {
    SKETCH_HIT_NONE = 0,       // arrow
    SKETCH_HIT_MOVE = 1,       // four-way
    SKETCH_HIT_NS = 2,
    SKETCH_HIT_NWSE = 3,
    SKETCH_HIT_WE = 4,
    SKETCH_HIT_NESW = 5,
    SKETCH_HIT_POINT = 6,      // cross: a single point
    SKETCH_HIT_DRAW = 7,       // the draw cursor
};

class CSketchObject {
public:
    // Handle indexes of HitTest beyond the control points.
    static constexpr int kHitBody = -1;
    static constexpr int kHitNothing = -2;

    explicit CSketchObject(int type);
    virtual ~CSketchObject() = default;
    virtual std::unique_ptr<CSketchObject> Clone() const;

    int GetSerialNo() const { return m_nSerialNo; }
    int GetType() const { return m_nType; }
    void GetLineStyle(int& style, int& width, COLORREF& color) const;
    void GetFont_and_Color(LOGFONT& font, COLORREF& color) const;
    BOOL IsSelected() const { return m_bSelected; }
    BOOL IsVisible() const { return m_bVisible; }
    BOOL IsSelectable() const { return m_bSelectable; }
    CString GetName() const { return m_strName; }
    CString GetNote() const { return m_strNote; }

    // Control point `index`; (0, 0) outside the shape's points.
    virtual CExactPoint GetCtrlPnt(int index) const;
    virtual int GetCtrlPntCount() const;

    // Draws on pDC with the given geometry; `paper` leaves out what only the
    // screen shows. The DC's objects are restored before returning.
    virtual void Draw(CDC* pDC, const _IMAGEMAPINFO_ST_& map, BOOL paper) const;
    // The handles a selected shape offers and the cursor code of each.
    virtual std::vector<int> GetHandles() const;
    virtual int GetHandleCursor(int handle) const;
    // kHitNothing, kHitBody, or a handle (only when selected) near `point`;
    // `tolerance` in unscaled units.
    virtual int HitTest(const CExactPoint& point, float tolerance) const;
    virtual void Offset(float dx, float dy);
    // Moves one handle to `point`.
    virtual void MoveHandle(int handle, const CExactPoint& point);

    // While the shape is being drawn: the first press, each move, each
    // further press (for the shapes drawn point by point) and the end, on
    // the release or, when EndsOnRelease is FALSE, on a double click.
    // FALSE from FinishSketch drops the shape.
    virtual void BeginSketch(const CExactPoint& point);
    virtual void ContinueSketch(const CExactPoint& point);
    virtual void AddSketchPoint(const CExactPoint& point);
    virtual BOOL EndsOnRelease() const { return TRUE; }
    virtual BOOL FinishSketch();

    // Takes the points of a stored shape, in the order SavedPoints gives
    // them; FALSE when they are too few for the kind.
    virtual BOOL LoadPoints(const std::vector<CExactPoint>& points);

    // The outline box in unscaled units.
    virtual void GetBounds(CExactPoint& topLeft, CExactPoint& bottomRight) const;

protected:
    friend class CNotationManager;

    BOOL IsBoxKind() const;
    static CExactPoint BoxPoint(const CExactPoint& a, const CExactPoint& b, int index);
    static int BoxHandleCursor(const CExactPoint& a, const CExactPoint& b, int index);
    // Pixels for unscaled units, and a pen width in pixels (at least 1).
    static POINT ToDevice(const _IMAGEMAPINFO_ST_& map, const CExactPoint& point);
    static double Ratio(const _IMAGEMAPINFO_ST_& map);
    int PenPixels(const _IMAGEMAPINFO_ST_& map) const;
    void DrawHandles(CDC* pDC, const _IMAGEMAPINFO_ST_& map) const;
    static float SegmentDistance(const CExactPoint& p, const CExactPoint& a, const CExactPoint& b);

    int m_nSerialNo = 0;          // given by the manager, never reused
    int m_nType;                  // the kind (SKETCH_*)
    int m_nLineStyle = 0;         // a pen style (PS_SOLID .. PS_DASHDOTDOT)
    int m_nLineWidth = 1;         // unscaled units
    COLORREF m_crLine = 0;
    LOGFONT m_lfFont;             // lfHeight in unscaled units
    COLORREF m_crFont = 0;
    std::shared_ptr<const CPatternBitmap> m_pPattern;   // fill of closed shapes; null for none
    BOOL m_bSelected = FALSE;
    BOOL m_bVisible = TRUE;       // FALSE: kept, not drawn
    BOOL m_bSelectable = TRUE;    // FALSE: never selected or dragged
    CString m_strName;
    CString m_strNote;
    std::vector<CExactPoint> m_points;   // line ends 0 and 1, or box corners 0 and 4
};
