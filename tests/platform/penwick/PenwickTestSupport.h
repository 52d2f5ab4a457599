// The record side of annotations as the waveform views use the sketch
// library: annotation types 1..11, their sketch kinds, and the points a view
// stores for a shape (control point 0 first, then by kind, arrow orders
// included) and hands back when loading.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/penwick/NotationManager.h"
#include "platform/ui/windowing/UiTypes.h"
#include "platform/penwick/SketchArrow.h"
#include "platform/penwick/SketchArrowText.h"
#include "platform/penwick/SketchCurve.h"
#include "platform/penwick/SketchPixel.h"
#include "platform/penwick/SketchPolygon.h"
#include "platform/penwick/SketchText.h"

namespace penwicktest {

struct StoredShape {
    int nAnnoType = 0;
    std::vector<CExactPoint> points;
    std::wstring text;
    int nLineWidth = 0;
    COLORREF crColor = 0;
};

inline int SketchTypeOf(int annoType)
{
    static const int kSketch[12] = {1, 1, 2, 5, 5, 8, 7, 3, 6, 10, 4, 9};
    return (annoType >= 1 && annoType <= 11) ? kSketch[annoType] : 1;
}

// Arrow attribute a view sets before drawing annotation types 3 and 4.
inline void SetAnnoType(CNotationManager& manager, int annoType)
{
    if (annoType == 3) manager.SetArrowAttribute(2, 1);
    if (annoType == 4) manager.SetArrowAttribute(0, 1);
    manager.CancelSketch();
    manager.SetDrawType(SketchTypeOf(annoType));
}

inline int AnnoTypeOf(CSketchObject* shape)
{
    switch (shape->GetType()) {
    case 1: return 1;
    case 2: return 2;
    case 5: return static_cast<CSketchArrow*>(shape)->GetArrowType() > 0 ? 3 : 4;
    case 8: return 5;
    case 7: return 6;
    case 3: return 7;
    case 6: return 8;
    case 10: return 9;
    case 4: return 10;
    case 9: return 11;
    default: return 1;
    }
}

inline std::vector<CExactPoint> ToVector(const CArray<CExactPoint, CExactPoint>& points)
{
    std::vector<CExactPoint> out;
    for (INT_PTR i = 0; i < points.GetSize(); ++i) out.push_back(points[i]);
    return out;
}

// What a view stores for one shape.
inline StoredShape Save(CSketchObject* shape)
{
    StoredShape stored;
    stored.nAnnoType = AnnoTypeOf(shape);
    int style = 0;
    shape->GetLineStyle(style, stored.nLineWidth, stored.crColor);
    std::vector<CExactPoint>& out = stored.points;
    out.push_back(shape->GetCtrlPnt(0));
    CArray<CExactPoint, CExactPoint> points;
    switch (stored.nAnnoType) {
    case 1:
        static_cast<CSketchPixel*>(shape)->GetMarkObjPoints(points);
        for (const CExactPoint& p : ToVector(points)) out.push_back(p);
        break;
    case 2: out.push_back(shape->GetCtrlPnt(1)); break;
    case 3: {
        auto* arrow = static_cast<CSketchArrow*>(shape);
        out.push_back(shape->GetCtrlPnt(1));
        arrow->GetArrowCtrlPnt(points);
        std::vector<CExactPoint> a = ToVector(points);
        EXPECT_GE(a.size(), arrow->IsLoaded() ? 6u : 3u);
        if (!arrow->IsLoaded() && a.size() >= 3) a[2] = a[1];
        if (arrow->IsLoaded() && a.size() >= 6) a = {a[1], a[0], a[3], a[2], a[5], a[4]};
        for (const CExactPoint& p : a) out.push_back(p);
        for (INT_PTR i = 6; arrow->IsLoaded() && i < points.GetSize(); ++i) out.push_back(points[i]);
        break;
    }
    case 4: {
        out.push_back(shape->GetCtrlPnt(1));
        static_cast<CSketchArrow*>(shape)->GetArrowCtrlPnt(points);
        const std::vector<CExactPoint> a = ToVector(points);
        EXPECT_GE(a.size(), 5u);
        if (a.size() >= 5)
            for (int i : {2, 1, 0, 1, 3, 1}) out.push_back(a[static_cast<size_t>(i)]);
        break;
    }
    case 5:
    case 6: out.push_back(shape->GetCtrlPnt(4)); break;
    case 7:
        static_cast<CSketchPolygon*>(shape)->GetPathPoint(points);
        for (const CExactPoint& p : ToVector(points)) out.push_back(p);
        break;
    case 8:
    case 9:
        out.push_back(shape->GetCtrlPnt(0));
        static_cast<CSketchCurve*>(shape)->GetPathPoint(points);
        for (const CExactPoint& p : ToVector(points)) out.push_back(p);
        break;
    case 10:
        out.push_back(shape->GetCtrlPnt(4));
        stored.text = static_cast<const wchar_t*>(static_cast<CSketchText*>(shape)->GetContent());
        break;
    case 11:
        out.push_back(shape->GetCtrlPnt(4));
        static_cast<CSketchArrowText*>(shape)->GetArrowCtrlPnt(points);
        for (const CExactPoint& p : ToVector(points)) out.push_back(p);
        stored.text = static_cast<const wchar_t*>(static_cast<CSketchArrowText*>(shape)->GetContent());
        break;
    default: break;
    }
    return stored;
}

inline std::vector<StoredShape> SaveAll(const CNotationManager& manager)
{
    std::vector<StoredShape> all;
    for (POSITION pos = manager.GetHeadPosition(); pos;) {
        CSketchObject* shape = manager.GetNext(pos);
        if (shape) all.push_back(Save(shape));
    }
    return all;
}

// Loads a stored shape the way a view does, AddRecord included.
inline CSketchObject* Load(CNotationManager& manager, const StoredShape& stored)
{
    LOGFONT font{};
    font.lfHeight = -14;
    CSketchObject* shape = manager.LoadSketchFromXML(
        SketchTypeOf(stored.nAnnoType), stored.crColor, stored.crColor, 1, 0, stored.nLineWidth, font,
        static_cast<int>(stored.points.size()), stored.points.data(), nullptr, CString(stored.text.c_str()), 1,
        nullptr, 0, CString(), CString(), 1);
    manager.AddRecord();
    return shape;
}

inline std::string PointsText(const std::vector<CExactPoint>& points)
{
    std::string text;
    for (const CExactPoint& p : points) text += "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ") ";
    return text;
}

}  // namespace penwicktest
