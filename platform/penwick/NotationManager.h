// CNotationManager: the annotation sketch library's manager. It holds the
// shapes of one page in unscaled units, draws them through a geometry of
// origin and ratio (_IMAGEMAPINFO_ST_), creates them from mouse input in
// draw mode, selects, moves and resizes them in select mode, and keeps an
// undo history. README.md in this folder has the details.
#pragma once

#include <memory>
#include <vector>

#include "platform/base/Collections.h"
#include "platform/base/Geometry.h"
#include "platform/base/Strings.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/penwick/ExactPoint.h"
#include "platform/penwick/ImageMapInfo.h"
#include "platform/penwick/PatternBitmap.h"
#include "platform/penwick/SketchObject.h"

class CDC;
class CWnd;

// Where a setting applies (bits, combined as the caller likes).
enum : int {
    SKETCH_SCOPE_NEW = 1,        // the shapes drawn from now on
    SKETCH_SCOPE_SELECTED = 16,  // the selected shapes (one undo step)
};

class CNotationManager {
public:
    // Undo steps kept; older ones are forgotten.
    static constexpr int kHistoryDepth = 100;

    CNotationManager();
    ~CNotationManager();
    CNotationManager(const CNotationManager&) = delete;
    CNotationManager& operator=(const CNotationManager&) = delete;

    // Settings.
    void SetDrawType(int type);        // a kind outside 1..10 draws marks
    int GetCurrentType() const { return m_nDrawType; }
    void SetArrowAttribute(short arrowType, int scope);
    void SetLineStyle(int style, int scope);
    void SetLineWidth(int width, int scope);
    void SetLineColor(COLORREF color, int scope);
    void SetFontSize(const LOGFONT& font, int scope);
    void SetFontColor(COLORREF color, int scope);

    // Geometry.
    _IMAGEMAPINFO_ST_ GetPhotoInfo() const { return m_info; }
    void GetPhotoInfo(_IMAGEMAPINFO_ST_* pInfo) const;
    void SetPhotoInfo(const _IMAGEMAPINFO_ST_& info) { m_info = info; }
    void SetPhotoInfo(const _IMAGEMAPINFO_ST_* pInfo);
    // The page in unscaled units; mouse points are kept on it. 0 or less: no limit.
    void SetPhotoSize(int width, int height);

    // Draw mode input (device points). A press starts a shape, or adds a
    // corner to a polygon being drawn; moves shape it; the release ends it
    // (a double click ends a polygon). TRUE when a shape was added.
    BOOL LButtonDown(UINT nFlags, CPoint point, CWnd* pWnd, void* pReserved);
    BOOL LButtonUp(UINT nFlags, CPoint point);
    BOOL LButtonDblClk(UINT nFlags, CPoint point, void* pReserved);
    int MouseMove(UINT nFlags, CPoint point);   // always SKETCH_HIT_DRAW
    BOOL IsDrawing() const { return m_sketch != nullptr; }
    void CancelSketch();

    // Select mode input. SelectObject picks the shape (or a handle of a
    // selected one) under the point and starts dragging it; moves drag;
    // EndDrag finishes (one undo step when something moved).
    BOOL SelectObject(CPoint point);
    // The hit code for the cursor (SKETCH_HIT_*); while dragging, the drag's.
    int MouseMoveInControl(UINT nFlags, CPoint point);
    BOOL EndDrag(CPoint point);
    BOOL IsDragging() const { return m_bDragging; }
    // Selects the shape under the point without dragging it.
    BOOL LButtonDblClkInControl(UINT nFlags, CPoint point, void* pReserved);
    BOOL DeleteSelectedObject();
    void UnSelectedAllObjects();

    // Every shape with the current geometry; mode 0 screen (with the shape
    // being drawn and the handles of selected shapes), 1 paper. The DC is
    // left as it was found.
    void DrawAll(CDC* pDC, int nMode);

    // History: non-zero when a step was undone or redone.
    BOOL UnDo();
    BOOL ReDo();
    void ClearHistory();

    // The shapes in drawing order (the last on top).
    POSITION GetHeadPosition() const;
    CSketchObject* GetNext(POSITION& pos) const;
    int GetCount() const { return static_cast<int>(m_shapes.size()); }
    // Removes the shape with that serial number (one undo step).
    BOOL DeleteObject(int serialNo);

    // A stored shape: its kind, colours, line, font, points (in the order
    // the record keeps them) and text. nUnscaled 0 takes the points as
    // device pixels of the current geometry. bSelectable 0 keeps the shape
    // out of selection. A pattern (copied) fills closed shapes when
    // nFillMode is non-zero. The name and note travel with the shape;
    // bVisible 0 keeps it without drawing it. Null when the points do not
    // make the kind.
    CSketchObject* LoadSketchFromXML(int type, COLORREF crLine, COLORREF crFont, int nUnscaled, int nLineStyle,
                                     int nLineWidth, const LOGFONT& font, int nPoints, const CExactPoint* pPoints,
                                     CWnd* pWnd, const CString& text, BOOL bSelectable, const CPatternBitmap* pPattern,
                                     int nFillMode, const CString& name, const CString& note, BOOL bVisible);
    // Makes the shapes loaded since the last call part of the page as it
    // stands in every step of the history, so undo never removes them.
    void AddRecord();

    // Releases every shape, the shape being drawn and the history.
    void Dump();

private:
    using Shapes = std::vector<std::unique_ptr<CSketchObject>>;

    struct Defaults {
        int nLineStyle = PS_SOLID;
        int nLineWidth = 1;
        COLORREF crLine = RGB(255, 0, 0);
        LOGFONT lfFont{};
        COLORREF crFont = RGB(255, 0, 0);
        short nArrowType = 0;
    };

    std::unique_ptr<CSketchObject> MakeShape(int type) const;
    void ApplyDefaults(CSketchObject& shape) const;
    CExactPoint ToPage(CPoint point) const;
    float Tolerance() const;
    // The topmost shape under the point and what of it was hit.
    int HitShape(const CExactPoint& point, int& hit) const;
    int IndexOf(int serialNo) const;
    Shapes CloneShapes() const;
    void PushUndo();
    void PushUndo(Shapes snapshot);
    // Restores the newest snapshot of one history and keeps the current
    // shapes in the other, so undo and redo mirror each other.
    BOOL StepHistory(std::vector<Shapes>& from, std::vector<Shapes>& to);
    template <class Change> void ChangeSelected(Change change);

    Shapes m_shapes;
    std::unique_ptr<CSketchObject> m_sketch;   // the shape being drawn
    CWnd* m_pWnd = nullptr;                    // the window the last shape was drawn in
    int m_nDrawType = SKETCH_LINE;
    Defaults m_defaults;
    _IMAGEMAPINFO_ST_ m_info;
    int m_nNextSerial = 1;

    std::vector<Shapes> m_undo;
    std::vector<Shapes> m_redo;
    std::vector<int> m_loadedSerials;          // loaded since the last AddRecord

    BOOL m_bDragging = FALSE;
    int m_nDragIndex = -1;
    int m_nDragHit = CSketchObject::kHitNothing;
    CExactPoint m_dragStart;
    std::unique_ptr<CSketchObject> m_dragOriginal;
    Shapes m_dragUndo;                         // the page before the drag
};
