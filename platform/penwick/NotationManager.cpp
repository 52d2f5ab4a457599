#include "platform/penwick/NotationManager.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "platform/gdi/DCStateSaver.h"
#include "platform/gdi/Dc.h"
#include "platform/penwick/SketchArrow.h"
#include "platform/penwick/SketchArrowText.h"
#include "platform/penwick/SketchCurve.h"
#include "platform/penwick/SketchPixel.h"
#include "platform/penwick/SketchPolygon.h"
#include "platform/penwick/SketchText.h"

namespace {

// How near (in pixels) the mouse must come to a shape or handle.
const float kTolerancePixels = 4.0f;

POSITION ToPosition(size_t index)
{
    return reinterpret_cast<POSITION>(static_cast<INT_PTR>(index) + 1);
}

}  // namespace

CNotationManager::CNotationManager()
{
    m_defaults.lfFont.lfHeight = -12;
    m_defaults.lfFont.lfWeight = FW_NORMAL;
    m_defaults.lfFont.lfCharSet = DEFAULT_CHARSET;
}

CNotationManager::~CNotationManager() = default;

// ---- settings ------------------------------------------------------------

void CNotationManager::SetDrawType(int type)
{
    m_nDrawType = (type >= SKETCH_MARKS && type <= SKETCH_CLOSEDCURVE) ? type : SKETCH_MARKS;
}

template <class Change> void CNotationManager::ChangeSelected(Change change)
{
    // One undo step, and only when a selected shape really changes: the
    // views repeat their settings on every update.
    Shapes before = CloneShapes();
    bool changed = false;
    for (auto& shape : m_shapes)
        if (shape->m_bSelected) changed = change(*shape) || changed;
    if (changed) PushUndo(std::move(before));
}

void CNotationManager::SetArrowAttribute(short arrowType, int scope)
{
    arrowType = std::max<short>(0, arrowType);
    // An arrow's type is fixed when it is drawn: only new ones take it.
    if (scope & SKETCH_SCOPE_NEW) m_defaults.nArrowType = arrowType;
}

void CNotationManager::SetLineStyle(int style, int scope)
{
    if (style < PS_SOLID || style > PS_DASHDOTDOT) style = PS_SOLID;
    if (scope & SKETCH_SCOPE_SELECTED) ChangeSelected([&](CSketchObject& s) { return std::exchange(s.m_nLineStyle, style) != style; });
    if (scope & SKETCH_SCOPE_NEW) m_defaults.nLineStyle = style;
}

void CNotationManager::SetLineWidth(int width, int scope)
{
    width = std::clamp(width, 1, 100);
    if (scope & SKETCH_SCOPE_SELECTED) ChangeSelected([&](CSketchObject& s) { return std::exchange(s.m_nLineWidth, width) != width; });
    if (scope & SKETCH_SCOPE_NEW) m_defaults.nLineWidth = width;
}

void CNotationManager::SetLineColor(COLORREF color, int scope)
{
    color &= 0xFFFFFF;
    if (scope & SKETCH_SCOPE_SELECTED) ChangeSelected([&](CSketchObject& s) { return std::exchange(s.m_crLine, color) != color; });
    if (scope & SKETCH_SCOPE_NEW) m_defaults.crLine = color;
}

void CNotationManager::SetFontSize(const LOGFONT& font, int scope)
{
    if (scope & SKETCH_SCOPE_SELECTED) ChangeSelected([&](CSketchObject& s) {
            const bool same = std::memcmp(&s.m_lfFont, &font, sizeof font) == 0;
            s.m_lfFont = font;
            return !same;
        });
    if (scope & SKETCH_SCOPE_NEW) m_defaults.lfFont = font;
}

void CNotationManager::SetFontColor(COLORREF color, int scope)
{
    color &= 0xFFFFFF;
    if (scope & SKETCH_SCOPE_SELECTED) ChangeSelected([&](CSketchObject& s) { return std::exchange(s.m_crFont, color) != color; });
    if (scope & SKETCH_SCOPE_NEW) m_defaults.crFont = color;
}

// ---- geometry ------------------------------------------------------------

void CNotationManager::GetPhotoInfo(_IMAGEMAPINFO_ST_* pInfo) const
{
    if (pInfo) *pInfo = m_info;
}

void CNotationManager::SetPhotoInfo(const _IMAGEMAPINFO_ST_* pInfo)
{
    if (pInfo) m_info = *pInfo;
}

void CNotationManager::SetPhotoSize(int width, int height)
{
    m_info.nPhotoWidth = std::max(0, width);
    m_info.nPhotoHeight = std::max(0, height);
}

CExactPoint CNotationManager::ToPage(CPoint point) const
{
    const double ratio = (std::isfinite(m_info.fRatio) && m_info.fRatio > 0.0f) ? m_info.fRatio : 1.0;
    double x = (point.x - m_info.nOriginX) / ratio;
    double y = (point.y - m_info.nOriginY) / ratio;
    if (m_info.nPhotoWidth > 0) x = std::clamp(x, 0.0, static_cast<double>(m_info.nPhotoWidth));
    if (m_info.nPhotoHeight > 0) y = std::clamp(y, 0.0, static_cast<double>(m_info.nPhotoHeight));
    return CExactPoint(static_cast<float>(x), static_cast<float>(y));
}

float CNotationManager::Tolerance() const
{
    const double ratio = (std::isfinite(m_info.fRatio) && m_info.fRatio > 0.0f) ? m_info.fRatio : 1.0;
    return static_cast<float>(kTolerancePixels / ratio);
}

// ---- drawing shapes with the mouse --------------------------------------------

std::unique_ptr<CSketchObject> CNotationManager::MakeShape(int type) const
{
    switch (type) {
    case SKETCH_MARKS: return std::make_unique<CSketchPixel>();
    case SKETCH_POLYGON: return std::make_unique<CSketchPolygon>();
    case SKETCH_TEXT: return std::make_unique<CSketchText>();
    case SKETCH_ARROW: return std::make_unique<CSketchArrow>(m_defaults.nArrowType);
    case SKETCH_CURVE:
    case SKETCH_CLOSEDCURVE: return std::make_unique<CSketchCurve>(type);
    case SKETCH_ARROWTEXT: return std::make_unique<CSketchArrowText>();
    case SKETCH_LINE:
    case SKETCH_RECTANGLE:
    case SKETCH_ELLIPSE: return std::make_unique<CSketchObject>(type);
    default: return nullptr;
    }
}

void CNotationManager::ApplyDefaults(CSketchObject& shape) const
{
    shape.m_nLineStyle = m_defaults.nLineStyle;
    shape.m_nLineWidth = m_defaults.nLineWidth;
    shape.m_crLine = m_defaults.crLine;
    shape.m_lfFont = m_defaults.lfFont;
    shape.m_crFont = m_defaults.crFont;
}

BOOL CNotationManager::LButtonDown(UINT, CPoint point, CWnd* pWnd, void*)
{
    const CExactPoint at = ToPage(point);
    if (m_sketch && !m_sketch->EndsOnRelease()) {
        m_sketch->AddSketchPoint(at);
        return FALSE;
    }
    m_pWnd = pWnd;
    m_sketch = MakeShape(m_nDrawType);
    if (!m_sketch) return FALSE;
    ApplyDefaults(*m_sketch);
    m_sketch->BeginSketch(at);
    return FALSE;
}

int CNotationManager::MouseMove(UINT, CPoint point)
{
    if (m_sketch) m_sketch->ContinueSketch(ToPage(point));
    return SKETCH_HIT_DRAW;
}

BOOL CNotationManager::LButtonUp(UINT, CPoint point)
{
    if (!m_sketch || !m_sketch->EndsOnRelease()) return FALSE;
    m_sketch->ContinueSketch(ToPage(point));
    std::unique_ptr<CSketchObject> shape = std::move(m_sketch);
    if (!shape->FinishSketch()) return FALSE;
    PushUndo();
    shape->m_nSerialNo = m_nNextSerial++;
    m_shapes.push_back(std::move(shape));
    return TRUE;
}

BOOL CNotationManager::LButtonDblClk(UINT, CPoint point, void*)
{
    if (!m_sketch || m_sketch->EndsOnRelease()) return FALSE;
    m_sketch->ContinueSketch(ToPage(point));
    std::unique_ptr<CSketchObject> shape = std::move(m_sketch);
    if (!shape->FinishSketch()) return FALSE;
    PushUndo();
    shape->m_nSerialNo = m_nNextSerial++;
    m_shapes.push_back(std::move(shape));
    return TRUE;
}

void CNotationManager::CancelSketch()
{
    m_sketch.reset();
}

// ---- selecting and dragging ------------------------------------------------------

int CNotationManager::HitShape(const CExactPoint& point, int& hit) const
{
    const float tolerance = Tolerance();
    // Handles of selected shapes first: they lie on top of everything.
    for (int i = static_cast<int>(m_shapes.size()) - 1; i >= 0; --i) {
        const CSketchObject& shape = *m_shapes[static_cast<size_t>(i)];
        if (!shape.m_bSelected || !shape.m_bVisible) continue;
        hit = shape.HitTest(point, tolerance);
        if (hit >= 0) return i;
    }
    for (int i = static_cast<int>(m_shapes.size()) - 1; i >= 0; --i) {
        const CSketchObject& shape = *m_shapes[static_cast<size_t>(i)];
        if (!shape.m_bSelectable || !shape.m_bVisible) continue;
        hit = shape.HitTest(point, tolerance);
        if (hit != CSketchObject::kHitNothing) return i;
    }
    hit = CSketchObject::kHitNothing;
    return -1;
}

BOOL CNotationManager::SelectObject(CPoint point)
{
    const CExactPoint at = ToPage(point);
    int hit = CSketchObject::kHitNothing;
    const int index = HitShape(at, hit);
    if (index < 0) {
        UnSelectedAllObjects();
        return FALSE;
    }
    CSketchObject& shape = *m_shapes[static_cast<size_t>(index)];
    if (!shape.m_bSelected) {
        UnSelectedAllObjects();
        shape.m_bSelected = TRUE;
    }
    m_bDragging = TRUE;
    m_nDragIndex = index;
    m_nDragHit = hit;
    m_dragStart = at;
    m_dragOriginal = shape.Clone();
    m_dragUndo = CloneShapes();
    return TRUE;
}

int CNotationManager::MouseMoveInControl(UINT, CPoint point)
{
    const CExactPoint at = ToPage(point);
    if (m_bDragging && m_nDragIndex >= 0 && m_nDragIndex < static_cast<int>(m_shapes.size())) {
        // Each move starts again from the shape as it was when picked, so
        // rounding never piles up.
        std::unique_ptr<CSketchObject> moved = m_dragOriginal->Clone();
        if (m_nDragHit >= 0)
            moved->MoveHandle(m_nDragHit, at);
        else
            moved->Offset(at.x - m_dragStart.x, at.y - m_dragStart.y);
        moved->m_bSelected = TRUE;
        const int cursor = m_nDragHit >= 0 ? moved->GetHandleCursor(m_nDragHit) : SKETCH_HIT_MOVE;
        m_shapes[static_cast<size_t>(m_nDragIndex)] = std::move(moved);
        return cursor;
    }
    int hit = CSketchObject::kHitNothing;
    const int index = HitShape(at, hit);
    if (index < 0) return SKETCH_HIT_NONE;
    if (hit >= 0) return m_shapes[static_cast<size_t>(index)]->GetHandleCursor(hit);
    return SKETCH_HIT_MOVE;
}

BOOL CNotationManager::EndDrag(CPoint point)
{
    if (!m_bDragging) return FALSE;
    MouseMoveInControl(0, point);
    const bool moved = ToPage(point) != m_dragStart;
    m_bDragging = FALSE;
    m_nDragIndex = -1;
    m_dragOriginal.reset();
    if (moved) PushUndo(std::move(m_dragUndo));
    m_dragUndo.clear();
    return moved ? TRUE : FALSE;
}

BOOL CNotationManager::LButtonDblClkInControl(UINT, CPoint point, void*)
{
    int hit = CSketchObject::kHitNothing;
    const int index = HitShape(ToPage(point), hit);
    UnSelectedAllObjects();
    if (index < 0) return FALSE;
    m_shapes[static_cast<size_t>(index)]->m_bSelected = TRUE;
    return TRUE;
}

BOOL CNotationManager::DeleteSelectedObject()
{
    const bool any = std::any_of(m_shapes.begin(), m_shapes.end(), [](const auto& s) { return s->m_bSelected; });
    if (!any) return FALSE;
    PushUndo();
    m_shapes.erase(std::remove_if(m_shapes.begin(), m_shapes.end(), [](const auto& s) { return s->m_bSelected; }),
                   m_shapes.end());
    return TRUE;
}

void CNotationManager::UnSelectedAllObjects()
{
    if (m_bDragging) {
        // A drag left half done goes back to where it began.
        if (m_nDragIndex >= 0 && m_nDragIndex < static_cast<int>(m_shapes.size()) && m_dragOriginal)
            m_shapes[static_cast<size_t>(m_nDragIndex)] = m_dragOriginal->Clone();
        m_bDragging = FALSE;
        m_nDragIndex = -1;
        m_dragOriginal.reset();
        m_dragUndo.clear();
    }
    for (auto& shape : m_shapes) shape->m_bSelected = FALSE;
}

// ---- drawing ----------------------------------------------------------------

void CNotationManager::DrawAll(CDC* pDC, int nMode)
{
    if (!pDC || !pDC->GetSafeHdc()) return;
    CDCStateSaver saver(*pDC);
    // Shapes are painted as they are, whatever mix the caller left set; the
    // gaps of dotted frames stay see-through.
    pDC->SetROP2(R2_COPYPEN);
    pDC->SetBkMode(TRANSPARENT);
    const BOOL paper = nMode != 0;
    for (const auto& shape : m_shapes)
        if (shape->m_bVisible) shape->Draw(pDC, m_info, paper);
    if (!paper && m_sketch) m_sketch->Draw(pDC, m_info, FALSE);
}

// ---- history ----------------------------------------------------------------

CNotationManager::Shapes CNotationManager::CloneShapes() const
{
    Shapes copy;
    copy.reserve(m_shapes.size());
    for (const auto& shape : m_shapes) {
        copy.push_back(shape->Clone());
        copy.back()->m_bSelected = FALSE;
    }
    return copy;
}

void CNotationManager::PushUndo()
{
    PushUndo(CloneShapes());
}

void CNotationManager::PushUndo(Shapes snapshot)
{
    m_undo.push_back(std::move(snapshot));
    if (static_cast<int>(m_undo.size()) > kHistoryDepth) m_undo.erase(m_undo.begin());
    m_redo.clear();
}

BOOL CNotationManager::StepHistory(std::vector<Shapes>& from, std::vector<Shapes>& to)
{
    if (from.empty()) return FALSE;
    UnSelectedAllObjects();
    CancelSketch();
    to.push_back(CloneShapes());
    m_shapes = std::move(from.back());
    from.pop_back();
    return TRUE;
}

BOOL CNotationManager::UnDo()
{
    return StepHistory(m_undo, m_redo);
}

BOOL CNotationManager::ReDo()
{
    return StepHistory(m_redo, m_undo);
}

void CNotationManager::ClearHistory()
{
    m_undo.clear();
    m_redo.clear();
}

// ---- the shapes ----------------------------------------------------------------

POSITION CNotationManager::GetHeadPosition() const
{
    return m_shapes.empty() ? nullptr : ToPosition(0);
}

CSketchObject* CNotationManager::GetNext(POSITION& pos) const
{
    const INT_PTR index = reinterpret_cast<INT_PTR>(pos) - 1;
    if (!pos || index < 0 || index >= static_cast<INT_PTR>(m_shapes.size())) {
        pos = nullptr;
        return nullptr;
    }
    CSketchObject* shape = m_shapes[static_cast<size_t>(index)].get();
    pos = (static_cast<size_t>(index) + 1 < m_shapes.size()) ? ToPosition(static_cast<size_t>(index) + 1) : nullptr;
    return shape;
}

// From the newest: the shapes just loaded are asked for one by one as they
// are recorded, and a page may carry thousands of them.
int CNotationManager::IndexOf(int serialNo) const
{
    for (size_t i = m_shapes.size(); i-- > 0;)
        if (m_shapes[i]->m_nSerialNo == serialNo) return static_cast<int>(i);
    return -1;
}

BOOL CNotationManager::DeleteObject(int serialNo)
{
    const int index = IndexOf(serialNo);
    if (index < 0) return FALSE;
    if (m_bDragging) UnSelectedAllObjects();
    PushUndo();
    m_shapes.erase(m_shapes.begin() + index);
    return TRUE;
}

CSketchObject* CNotationManager::LoadSketchFromXML(int type, COLORREF crLine, COLORREF crFont, int nUnscaled,
                                                   int nLineStyle, int nLineWidth, const LOGFONT& font, int nPoints,
                                                   const CExactPoint* pPoints, CWnd* pWnd, const CString& text,
                                                   BOOL bSelectable, const CPatternBitmap* pPattern, int nFillMode,
                                                   const CString& name, const CString& note, BOOL bVisible)
{
    if (nPoints < 1 || !pPoints) return nullptr;
    std::unique_ptr<CSketchObject> shape = MakeShape(type);
    if (!shape) return nullptr;
    std::vector<CExactPoint> points(pPoints, pPoints + nPoints);
    if (!nUnscaled) {
        for (CExactPoint& p : points) {
            const CExactPoint page = ToPage(CPoint(static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y))));
            p = page;
        }
    }
    shape->m_nLineStyle = (nLineStyle >= PS_SOLID && nLineStyle <= PS_DASHDOTDOT) ? nLineStyle : PS_SOLID;
    shape->m_nLineWidth = std::clamp(nLineWidth, 1, 100);
    shape->m_crLine = crLine & 0xFFFFFF;
    shape->m_crFont = crFont & 0xFFFFFF;
    shape->m_lfFont = font;
    shape->m_bSelectable = bSelectable ? TRUE : FALSE;
    shape->m_bVisible = bVisible ? TRUE : FALSE;
    shape->m_strName = name;
    shape->m_strNote = note;
    if (pPattern && nFillMode && !pPattern->IsEmpty()) shape->m_pPattern = std::make_shared<CPatternBitmap>(*pPattern);
    if (!shape->LoadPoints(points)) return nullptr;
    if (auto* textShape = dynamic_cast<CSketchText*>(shape.get())) textShape->SetContent(text);
    if (pWnd) m_pWnd = pWnd;
    shape->m_nSerialNo = m_nNextSerial++;
    m_shapes.push_back(std::move(shape));
    m_loadedSerials.push_back(m_shapes.back()->m_nSerialNo);
    return m_shapes.back().get();
}

void CNotationManager::AddRecord()
{
    for (int serial : m_loadedSerials) {
        const int index = IndexOf(serial);
        if (index < 0) continue;
        const CSketchObject& shape = *m_shapes[static_cast<size_t>(index)];
        for (std::vector<Shapes>* stack : {&m_undo, &m_redo}) {
            for (Shapes& step : *stack) {
                const bool present = std::any_of(step.begin(), step.end(),
                                                 [&](const auto& s) { return s->m_nSerialNo == serial; });
                if (present) continue;
                step.push_back(shape.Clone());
                step.back()->m_bSelected = FALSE;
            }
        }
    }
    m_loadedSerials.clear();
}

void CNotationManager::Dump()
{
    UnSelectedAllObjects();
    CancelSketch();
    m_shapes.clear();
    ClearHistory();
    m_loadedSerials.clear();
    m_pWnd = nullptr;
}
