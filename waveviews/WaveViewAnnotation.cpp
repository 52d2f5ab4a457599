// CWaveView: the annotation layer. The notation manager keeps the shapes; the
// view forwards its mouse and keys by the document's mouse mode, draws the
// shapes on screen, in the magnifier and on paper, and converts them to and
// from the record's shape lists.
#include <memory>

#include "core/AnnoManager.h"
#include "core/AnnotationInfo.h"
#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/DCStateSaver.h"
#include "platform/penwick/SketchArrow.h"
#include "platform/penwick/SketchArrowText.h"
#include "platform/penwick/SketchCurve.h"
#include "platform/penwick/SketchPixel.h"
#include "platform/penwick/SketchPolygon.h"
#include "platform/penwick/SketchText.h"
#include "platform/ui/windowing/Input.h"
#include "platform/ui/windowing/Resources.h"
#include "waveviews/WaveView.h"

namespace {

enum : int { kMouseMeasure = 1, kMouseDraw = 2, kMouseSelect = 3 };

// Both scopes a setting is given to: the selected shapes, then the new ones.
constexpr int kScopes[] = {SKETCH_SCOPE_SELECTED, SKETCH_SCOPE_NEW};

HCURSOR CursorForHit(int hit)
{
    switch (hit) {
    case SKETCH_HIT_NONE: return ::LoadCursor(nullptr, IDC_ARROW);
    case SKETCH_HIT_MOVE: return ::LoadCursor(nullptr, IDC_SIZEALL);
    case SKETCH_HIT_NS: return ::LoadCursor(nullptr, IDC_SIZENS);
    case SKETCH_HIT_NWSE: return ::LoadCursor(nullptr, IDC_SIZENWSE);
    case SKETCH_HIT_WE: return ::LoadCursor(nullptr, IDC_SIZEWE);
    case SKETCH_HIT_NESW: return ::LoadCursor(nullptr, IDC_SIZENESW);
    case SKETCH_HIT_POINT: return ::LoadCursor(nullptr, IDC_CROSS);
    case SKETCH_HIT_DRAW: return g_hCursorDraw ? g_hCursorDraw : ::LoadCursor(nullptr, IDC_CROSS);
    default: return nullptr;
    }
}

void AddPoint(_SKETCH_INFO* info, const CExactPoint& point)
{
    info->arrX.Add(point.x);
    info->arrY.Add(point.y);
}

void AddPoints(_SKETCH_INFO* info, const CArray<CExactPoint, CExactPoint>& points)
{
    for (INT_PTR i = 0; i < points.GetSize(); ++i) AddPoint(info, points[i]);
}

// Arrow points in the order records keep them. A closed head once loaded
// goes back in the order 1, 0, 3, 2, 5, 4; drawn here its third point is its
// second. An open head goes as 2, 1, 0, 1, 3, 1. Only the points that exist
// are written: a head with fewer points than its order needs is kept as is.
void AddArrowPoints(_SKETCH_INFO* info, const CSketchArrow& arrow, int annoType)
{
    CArray<CExactPoint, CExactPoint> points;
    const int count = arrow.GetArrowCtrlPnt(points);
    if (annoType == 3) {
        if (!arrow.IsLoaded()) {
            if (count >= 3) points[2] = points[1];
            AddPoints(info, points);
        } else if (count >= 6) {
            static const int kOrder[] = {1, 0, 3, 2, 5, 4};
            for (int index : kOrder) AddPoint(info, points[index]);
            for (int i = 6; i < count; ++i) AddPoint(info, points[i]);
        } else {
            AddPoints(info, points);
        }
        return;
    }
    if (count >= 5) {
        static const int kOrder[] = {2, 1, 0, 1, 3, 1};
        for (int index : kOrder) AddPoint(info, points[index]);
    } else {
        AddPoints(info, points);
    }
}

int TextHeight(const CSketchObject& object)
{
    LOGFONT font{};
    COLORREF color = 0;
    object.GetFont_and_Color(font, color);
    return font.lfHeight;
}

}  // namespace

void CWaveView::SetAnnoViewActive(BOOL active)
{
    m_bAnnoViewActive = active;
    if (!active) {
        m_annoManager.UnSelectedAllObjects();
        m_annoManager.CancelSketch();
    }
}

void CWaveView::SetAnnoType(int annoType)
{
    if (annoType == 3) m_annoManager.SetArrowAttribute(2, SKETCH_SCOPE_NEW);
    if (annoType == 4) m_annoManager.SetArrowAttribute(0, SKETCH_SCOPE_NEW);
    m_annoManager.CancelSketch();
    m_annoManager.SetDrawType(GetSketchTypeFromAnnoType(annoType));
}

void CWaveView::SetAnnoLineWidth(int width)
{
    if (!GetTavrionDoc()) return;
    for (int scope : kScopes) m_annoManager.SetLineWidth(width, scope);
    if (GetSafeHwnd()) Invalidate(FALSE);
}

void CWaveView::SetAnnoColor(COLORREF color)
{
    if (!GetTavrionDoc()) return;
    for (int scope : kScopes) m_annoManager.SetLineColor(color, scope);
    for (int scope : kScopes) m_annoManager.SetFontColor(color, scope);
    if (GetSafeHwnd()) Invalidate(FALSE);
}

void CWaveView::SetAnnoFontSize(int)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc) return;
    for (int scope : kScopes) m_annoManager.SetFontSize(doc->GetAnnotationFont(), scope);
    if (GetSafeHwnd()) Invalidate(FALSE);
}

short CWaveView::AnnotationUndo()
{
    const BOOL done = m_annoManager.UnDo();
    if (GetSafeHwnd()) Invalidate(FALSE);
    return done ? 0 : 255;
}

short CWaveView::AnnotationRedo()
{
    const BOOL done = m_annoManager.ReDo();
    if (GetSafeHwnd()) Invalidate(FALSE);
    return done ? 0 : 255;
}

void CWaveView::SetAnnoSizeRatio(float ratio)
{
    _IMAGEMAPINFO_ST_ info = m_annoManager.GetPhotoInfo();
    info.fRatio = ratio;
    m_annoManager.SetPhotoInfo(info);
}

float CWaveView::GetAnnoSizeRatio() const { return m_annoManager.GetPhotoInfo().fRatio; }

void CWaveView::SetAnnoOrigin(CPoint origin)
{
    _IMAGEMAPINFO_ST_ info = m_annoManager.GetPhotoInfo();
    info.nOriginX = origin.x;
    info.nOriginY = origin.y;
    m_annoManager.SetPhotoInfo(info);
}

CPoint CWaveView::GetAnnoOrigin() const
{
    const _IMAGEMAPINFO_ST_ info = m_annoManager.GetPhotoInfo();
    return CPoint(info.nOriginX, info.nOriginY);
}

void CWaveView::SetAnnoEnlargedState(BOOL enlarged)
{
    _IMAGEMAPINFO_ST_ info = m_annoManager.GetPhotoInfo();
    info.bEnlarged = enlarged;
    m_annoManager.SetPhotoInfo(info);
}

void CWaveView::DeleteAllAnnoInfo()
{
    m_annoManager.UnSelectedAllObjects();
    m_annoManager.CancelSketch();
    std::vector<int> serials;
    POSITION pos = m_annoManager.GetHeadPosition();
    while (pos) {
        if (CSketchObject* object = m_annoManager.GetNext(pos)) serials.push_back(object->GetSerialNo());
    }
    for (int serial : serials) m_annoManager.DeleteObject(serial);
    m_annoManager.ClearHistory();
}

int CWaveView::GetSketchTypeFromAnnoType(int annoType)
{
    switch (annoType) {
    case 1: return SKETCH_MARKS;
    case 2: return SKETCH_LINE;
    case 3:
    case 4: return SKETCH_ARROW;
    case 5: return SKETCH_ELLIPSE;
    case 6: return SKETCH_RECTANGLE;
    case 7: return SKETCH_POLYGON;
    case 8: return SKETCH_CURVE;
    case 9: return SKETCH_CLOSEDCURVE;
    case 10: return SKETCH_TEXT;
    case 11: return SKETCH_ARROWTEXT;
    default: return SKETCH_MARKS;
    }
}

int CWaveView::GetAnnoTypeFromSketchType(int sketchType, CSketchObject* pObject)
{
    switch (sketchType) {
    case SKETCH_MARKS: return 1;
    case SKETCH_LINE: return 2;
    case SKETCH_ARROW: {
        const auto* arrow = dynamic_cast<const CSketchArrow*>(pObject);
        return arrow && arrow->GetArrowType() > 0 ? 3 : 4;
    }
    case SKETCH_ELLIPSE: return 5;
    case SKETCH_RECTANGLE: return 6;
    case SKETCH_POLYGON: return 7;
    case SKETCH_CURVE: return 8;
    case SKETCH_CLOSEDCURVE: return 9;
    case SKETCH_TEXT: return 10;
    case SKETCH_ARROWTEXT: return 11;
    default: return 1;
    }
}

void CWaveView::TakeAnnotationSettings()
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc) return;
    if (m_annoManager.GetCurrentType() != GetSketchTypeFromAnnoType(doc->GetAnnotationType()))
        SetAnnoType(doc->GetAnnotationType());
    m_annoManager.SetLineStyle(0, SKETCH_SCOPE_NEW);
    m_annoManager.SetLineWidth(doc->GetAnnotationWidth(), SKETCH_SCOPE_NEW);
    m_annoManager.SetLineColor(doc->GetAnnotationColor(), SKETCH_SCOPE_NEW);
    m_annoManager.SetFontSize(doc->GetAnnotationFont(), SKETCH_SCOPE_NEW);
    m_annoManager.SetFontColor(doc->GetAnnotationColor(), SKETCH_SCOPE_NEW);
    if (doc->GetAnnotationLock() == 1) {
        m_annoManager.UnSelectedAllObjects();
        m_annoManager.CancelSketch();
    }
}

void CWaveView::OnLButtonDown(UINT nFlags, CPoint point)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (doc && doc->GetAnnotationLock() == 0 && !doc->IsPlayback()) {
        if (CWnd* focus = doc->GetNotifyWnd()) focus->SetFocus();
        SetFocus();
        const int mode = doc->GetMouseMode();
        if (mode == kMouseDraw || mode == kMouseSelect) {
            if (mode == kMouseDraw)
                m_annoManager.LButtonDown(nFlags, point, this, nullptr);
            else
                m_annoManager.SelectObject(point);
            if (CWnd* parent = GetParent())
                parent->SendMessage(WM_ANNOTATION_ACTIVE, reinterpret_cast<WPARAM>(this), 0);
            SetCapture();
            Invalidate(FALSE);
        }
    }
    CView::OnLButtonDown(nFlags, point);
}

void CWaveView::OnLButtonUp(UINT nFlags, CPoint point)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (doc && doc->GetAnnotationLock() == 0) {
        if (doc->GetMouseMode() == kMouseDraw) {
            m_annoManager.LButtonUp(nFlags, point);
            Invalidate(FALSE);
        } else if (doc->GetMouseMode() == kMouseSelect) {
            const BOOL dragging = m_annoManager.IsDragging();
            m_annoManager.EndDrag(point);
            if (dragging) Invalidate(FALSE);
        }
    }
    ::ReleaseCapture();
    CView::OnLButtonUp(nFlags, point);
}

void CWaveView::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (doc && doc->GetAnnotationLock() == 0) {
        if (doc->GetMouseMode() == kMouseSelect)
            m_annoManager.LButtonDblClkInControl(nFlags, point, nullptr);
        else if (doc->GetMouseMode() == kMouseDraw)
            m_annoManager.LButtonDblClk(nFlags, point, nullptr);
        Invalidate(FALSE);
    }
    CView::OnLButtonDblClk(nFlags, point);
}

void CWaveView::OnMouseMove(UINT nFlags, CPoint point)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (doc && doc->GetAnnotationLock() == 0) {
        if (doc->IsPlayback()) {
            // The view's own cursor changes too: WM_SETCURSOR and the derived
            // views put the view's cursor back at every move.
            SetCurrentCursor(::LoadCursor(nullptr, IDC_ARROW));
            ::SetCursor(m_hCurrentCursor);
        } else if (doc->GetMouseMode() == kMouseDraw || doc->GetMouseMode() == kMouseSelect) {
            const bool draw = doc->GetMouseMode() == kMouseDraw;
            int hit = SKETCH_HIT_DRAW;
            if (draw)
                m_annoManager.MouseMove(nFlags, point);
            else
                hit = m_annoManager.MouseMoveInControl(nFlags, point);
            if (HCURSOR cursor = CursorForHit(hit)) {
                SetCurrentCursor(cursor);
                ::SetCursor(cursor);
            }
            if (draw ? m_annoManager.IsDrawing() : m_annoManager.IsDragging()) Invalidate(TRUE);
        }
    }
    CView::OnMouseMove(nFlags, point);
}

void CWaveView::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (doc && doc->GetAnnotationLock() == 0) {
        if (nChar == VK_DELETE && m_bAnnoViewActive && doc->GetMouseMode() == kMouseSelect)
            m_annoManager.DeleteSelectedObject();
        Invalidate(TRUE);
    }
    CView::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CWaveView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    float ratio = GetAnnoSizeRatio();
    if (ratio <= 0.0f) ratio = 1.0f;
    m_annoManager.SetPhotoSize(static_cast<int>(cx / ratio), static_cast<int>(cy / ratio));
}

void CWaveView::DrawAnnotation(CDC* pDC, CRect rect, BOOL enlarged, float ratio)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc || !pDC || doc->GetMouseMode() == kMouseMeasure) return;
    const _IMAGEMAPINFO_ST_ kept = m_annoManager.GetPhotoInfo();
    _IMAGEMAPINFO_ST_ info = kept;
    info.bEnlarged = enlarged;
    if (enlarged) {
        info.fRatio = kept.fRatio * ratio;
        info.nOriginX = rect.left;
        info.nOriginY = rect.top;
    }
    m_annoManager.SetPhotoInfo(info);
    {
        CDCStateSaver saver(*pDC);
        if (m_bAnnoViewActive && doc->GetAnnotationLock() == 0) {
            CPen frame(PS_SOLID, 3, RGB(255, 0, 0));
            CDCObjectSelector<CPen> frameSelection(*pDC, &frame);
            pDC->SelectStockObject(HOLLOW_BRUSH);
            pDC->Rectangle(rect);
        }
        pDC->SetTextAlign(TA_TOP | TA_LEFT);
        m_annoManager.DrawAll(pDC, 0);
    }
    info = m_annoManager.GetPhotoInfo();
    info.fRatio = kept.fRatio;
    info.nOriginX = kept.nOriginX;
    info.nOriginY = kept.nOriginY;
    info.bEnlarged = 0;
    m_annoManager.SetPhotoInfo(info);
}

void CWaveView::PrintAnnotation(CDC* pDC, CRect rect)
{
    CTavrionDoc* doc = GetTavrionDoc();
    if (!doc || !pDC || doc->GetMouseMode() == kMouseMeasure) return;
    CRect client(0, 0, 0, 0);
    if (GetSafeHwnd()) GetClientRect(&client);
    // A view never sized has no scale to print by.
    if (client.Width() <= 0 || client.Height() <= 0) return;
    const _IMAGEMAPINFO_ST_ kept = m_annoManager.GetPhotoInfo();
    _IMAGEMAPINFO_ST_ info = kept;
    info.nOriginX = rect.left;
    info.nOriginY = rect.top;
    info.fRatio = static_cast<float>(rect.Height()) / client.Height() * kept.fRatio;
    if (client.Width() / client.Height() > 10)
        info.fRatio = static_cast<float>(rect.Width()) / client.Width() * kept.fRatio;
    m_annoManager.SetPhotoInfo(info);
    {
        CDCStateSaver saver(*pDC);
        pDC->SetTextAlign(TA_TOP | TA_LEFT);
        m_annoManager.DrawAll(pDC, 1);
    }
    info = m_annoManager.GetPhotoInfo();
    info.fRatio = kept.fRatio;
    info.nOriginX = kept.nOriginX;
    info.nOriginY = kept.nOriginY;
    m_annoManager.SetPhotoInfo(info);
}

BOOL CWaveView::LoadSketchInfo(_SKETCH_INFO* pFirst)
{
    if (!pFirst) return FALSE;
    for (_SKETCH_INFO* info = pFirst; info; info = info->pNext) {
        if (info->nType == -1) continue;
        const INT_PTR count = info->arrX.GetSize();
        if (count < 1 || count != info->arrY.GetSize()) return FALSE;
        std::vector<CExactPoint> points;
        points.reserve(static_cast<size_t>(count));
        for (INT_PTR i = 0; i < count; ++i) points.emplace_back(info->arrX[i], info->arrY[i]);
        m_annoManager.LoadSketchFromXML(GetSketchTypeFromAnnoType(info->nType), info->crColor, info->crColor, 1, 0,
                                        info->nLineWidth, info->lfFont, static_cast<int>(count), points.data(), this,
                                        info->strText, TRUE, nullptr, 0, CString(), CString(), TRUE);
        m_annoManager.AddRecord();
    }
    return TRUE;
}

BOOL CWaveView::SaveAnnoToData(int key, _ANNOTATION_INFO* pInfo, BOOL clear)
{
    if (clear) {
        DeleteAllAnnoInfo();
        return TRUE;
    }
    if (!pInfo) return TRUE;
    auto area = std::make_unique<_ANNOTATION_SKETCH>();
    area->nPageStyle = key;
    CAnnoManager records;
    int added = 0;
    POSITION pos = m_annoManager.GetHeadPosition();
    while (pos) {
        CSketchObject* object = m_annoManager.GetNext(pos);
        if (!object) continue;
        _SKETCH_INFO* info = records.AddSkecthItem(area.get());
        if (!info) break;
        ++added;
        const int annoType = GetAnnoTypeFromSketchType(object->GetType(), object);
        info->nType = annoType;
        int style = 0;
        object->GetLineStyle(style, info->nLineWidth, info->crColor);
        info->arrX.RemoveAll();
        info->arrY.RemoveAll();
        AddPoint(info, object->GetCtrlPnt(0));
        CArray<CExactPoint, CExactPoint> path;
        switch (annoType) {
        case 1:
            if (auto* marks = dynamic_cast<CSketchPixel*>(object)) {
                marks->GetMarkObjPoints(path);
                AddPoints(info, path);
            }
            break;
        case 2: AddPoint(info, object->GetCtrlPnt(1)); break;
        case 3:
        case 4:
            AddPoint(info, object->GetCtrlPnt(1));
            if (auto* arrow = dynamic_cast<CSketchArrow*>(object)) AddArrowPoints(info, *arrow, annoType);
            break;
        case 5:
        case 6: AddPoint(info, object->GetCtrlPnt(4)); break;
        case 7:
            if (auto* polygon = dynamic_cast<CSketchPolygon*>(object)) {
                polygon->GetPathPoint(path);
                AddPoints(info, path);
            }
            break;
        case 8:
        case 9:
            AddPoint(info, object->GetCtrlPnt(0));
            if (auto* curve = dynamic_cast<CSketchCurve*>(object)) {
                curve->GetPathPoint(path);
                AddPoints(info, path);
            }
            break;
        case 10:
            AddPoint(info, object->GetCtrlPnt(4));
            if (auto* text = dynamic_cast<CSketchText*>(object)) info->strText = text->GetContent();
            info->lfFont.lfHeight = TextHeight(*object);
            break;
        case 11:
            AddPoint(info, object->GetCtrlPnt(4));
            if (auto* arrowText = dynamic_cast<CSketchArrowText*>(object)) {
                arrowText->GetArrowCtrlPnt(path);
                AddPoints(info, path);
                info->strText = arrowText->GetContent();
            }
            info->lfFont.lfHeight = TextHeight(*object);
            break;
        default: break;
        }
    }
    if (added > 0) pInfo->arrAreas.Add(area.release());
    return TRUE;
}
