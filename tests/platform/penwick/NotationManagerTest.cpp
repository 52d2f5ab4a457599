// The notation manager as the waveform views drive it: mouse input in draw
// and select mode through a geometry of origin and ratio, hit codes for the
// cursor, the undo history, settings by scope, the shape walk and drawing.
#include <algorithm>

#include "platform/gdi/Dc.h"
#include "platform/gdi/Image.h"
#include "tests/platform/gdi/GdiTestSupport.h"
#include "tests/platform/penwick/PenwickTestSupport.h"
#include "tests/support/DCStateCheck.h"

using namespace penwicktest;

namespace {

// A manager whose page starts at device (100, 50), two pixels a unit.
void SetGeometry(CNotationManager& manager, int originX, int originY, float ratio)
{
    _IMAGEMAPINFO_ST_ info = manager.GetPhotoInfo();
    info.nOriginX = originX;
    info.nOriginY = originY;
    info.fRatio = ratio;
    manager.SetPhotoInfo(info);
}

CSketchObject* DrawBox(CNotationManager& manager, int type, CPoint from, CPoint to)
{
    manager.SetDrawType(type);
    manager.LButtonDown(0, from, nullptr, nullptr);
    manager.MouseMove(MK_LBUTTON, to);
    if (!manager.LButtonUp(0, to)) return nullptr;
    POSITION pos = manager.GetHeadPosition();
    CSketchObject* last = nullptr;
    while (pos) last = manager.GetNext(pos);
    return last;
}

std::vector<int> Serials(const CNotationManager& manager)
{
    std::vector<int> serials;
    for (POSITION pos = manager.GetHeadPosition(); pos;) serials.push_back(manager.GetNext(pos)->GetSerialNo());
    return serials;
}

// An image DC wrapped in a CDC for the length of a scope.
class Canvas {
public:
    Canvas(int width, int height) { m_dc.Attach(platform::gdi::CreateImageDC(width, height)); }
    CDC* dc() { return &m_dc; }

private:
    CDC m_dc;
};

}  // namespace

TEST(NotationManagerInput, ShapesAreKeptInUnscaledUnitsOfTheGeometry)
{
    CNotationManager manager;
    SetGeometry(manager, 100, 50, 2.0f);
    CSketchObject* line = DrawBox(manager, SKETCH_LINE, CPoint(120, 70), CPoint(180, 90));
    ASSERT_NE(nullptr, line);
    EXPECT_EQ(PointsText({CExactPoint(10, 10), CExactPoint(40, 20)}),
              PointsText({line->GetCtrlPnt(0), line->GetCtrlPnt(1)}));
}

TEST(NotationManagerInput, APressWithoutADragAddsNoLineAndCancelDropsTheSketch)
{
    CNotationManager manager;
    EXPECT_EQ(nullptr, DrawBox(manager, SKETCH_LINE, CPoint(5, 5), CPoint(5, 5)));
    EXPECT_EQ(0, manager.GetCount());

    manager.LButtonDown(0, CPoint(5, 5), nullptr, nullptr);
    EXPECT_TRUE(manager.IsDrawing());
    manager.CancelSketch();
    EXPECT_FALSE(manager.IsDrawing());
    EXPECT_FALSE(manager.LButtonUp(0, CPoint(50, 50)));
    EXPECT_EQ(0, manager.GetCount());
}

TEST(NotationManagerInput, PointsStayOnThePhotoWhenItHasASize)
{
    CNotationManager manager;
    SetGeometry(manager, 0, 0, 2.0f);
    manager.SetPhotoSize(50, 40);
    CSketchObject* line = DrawBox(manager, SKETCH_LINE, CPoint(-30, 10), CPoint(500, 500));
    ASSERT_NE(nullptr, line);
    EXPECT_EQ(PointsText({CExactPoint(0, 5), CExactPoint(50, 40)}),
              PointsText({line->GetCtrlPnt(0), line->GetCtrlPnt(1)}));
}

TEST(NotationManagerInput, HitCodesNameTheCursorForEveryPartOfAShape)
{
    CNotationManager manager;
    SetGeometry(manager, 100, 50, 2.0f);
    // A rectangle from unscaled (10, 10) to (40, 30): device (120, 70) .. (180, 110).
    ASSERT_NE(nullptr, DrawBox(manager, SKETCH_RECTANGLE, CPoint(120, 70), CPoint(180, 110)));
    ASSERT_NE(nullptr, DrawBox(manager, SKETCH_LINE, CPoint(300, 300), CPoint(360, 300)));
    EXPECT_EQ(SKETCH_HIT_DRAW, manager.MouseMove(0, CPoint(10, 10))) << "draw mode shows the draw cursor";

    EXPECT_EQ(SKETCH_HIT_NONE, manager.MouseMoveInControl(0, CPoint(250, 200)));
    EXPECT_EQ(SKETCH_HIT_MOVE, manager.MouseMoveInControl(0, CPoint(150, 90)));
    EXPECT_EQ(SKETCH_HIT_MOVE, manager.MouseMoveInControl(0, CPoint(120, 70))) << "handles only once selected";

    ASSERT_TRUE(manager.SelectObject(CPoint(150, 90)));
    manager.EndDrag(CPoint(150, 90));
    static const struct {
        CPoint at;
        int code;
    } kHandles[] = {
        {CPoint(120, 70), SKETCH_HIT_NWSE},  {CPoint(150, 70), SKETCH_HIT_NS},   {CPoint(180, 70), SKETCH_HIT_NESW},
        {CPoint(180, 90), SKETCH_HIT_WE},    {CPoint(181, 111), SKETCH_HIT_NWSE}, {CPoint(150, 110), SKETCH_HIT_NS},
        {CPoint(120, 110), SKETCH_HIT_NESW}, {CPoint(118, 90), SKETCH_HIT_WE},
    };
    for (const auto& handle : kHandles)
        EXPECT_EQ(handle.code, manager.MouseMoveInControl(0, handle.at)) << handle.at.x << ", " << handle.at.y;

    ASSERT_TRUE(manager.SelectObject(CPoint(330, 300)));
    manager.EndDrag(CPoint(330, 300));
    EXPECT_EQ(SKETCH_HIT_POINT, manager.MouseMoveInControl(0, CPoint(360, 301))) << "a line's end";
    EXPECT_EQ(SKETCH_HIT_MOVE, manager.MouseMoveInControl(0, CPoint(150, 90))) << "the other shape, now unselected";
}

TEST(NotationManagerInput, DraggingMovesByTheUnscaledDistanceAndHandlesResize)
{
    CNotationManager manager;
    SetGeometry(manager, 100, 50, 2.0f);
    ASSERT_NE(nullptr, DrawBox(manager, SKETCH_ELLIPSE, CPoint(120, 70), CPoint(180, 110)));

    EXPECT_FALSE(manager.IsDragging());
    ASSERT_TRUE(manager.SelectObject(CPoint(150, 90)));
    EXPECT_TRUE(manager.IsDragging());
    EXPECT_EQ(SKETCH_HIT_MOVE, manager.MouseMoveInControl(MK_LBUTTON, CPoint(160, 95)));
    EXPECT_TRUE(manager.EndDrag(CPoint(170, 110)));
    EXPECT_FALSE(manager.IsDragging());
    POSITION pos = manager.GetHeadPosition();
    CSketchObject* ellipse = manager.GetNext(pos);
    EXPECT_EQ(PointsText({CExactPoint(20, 20), CExactPoint(50, 40)}),
              PointsText({ellipse->GetCtrlPnt(0), ellipse->GetCtrlPnt(4)}));

    // Corner 4 now lies at device (200, 130): drag it out by 20 px.
    ASSERT_TRUE(manager.SelectObject(CPoint(200, 130)));
    EXPECT_EQ(SKETCH_HIT_NWSE, manager.MouseMoveInControl(MK_LBUTTON, CPoint(210, 140)));
    manager.EndDrag(CPoint(220, 150));
    pos = manager.GetHeadPosition();
    ellipse = manager.GetNext(pos);
    EXPECT_EQ(PointsText({CExactPoint(20, 20), CExactPoint(60, 50)}),
              PointsText({ellipse->GetCtrlPnt(0), ellipse->GetCtrlPnt(4)}));
}

TEST(NotationManagerInput, SelectingNothingUnselectsAndDeleteRemovesTheSelection)
{
    CNotationManager manager;
    DrawBox(manager, SKETCH_RECTANGLE, CPoint(10, 10), CPoint(40, 40));
    DrawBox(manager, SKETCH_RECTANGLE, CPoint(100, 10), CPoint(140, 40));
    EXPECT_FALSE(manager.DeleteSelectedObject()) << "nothing selected";
    ASSERT_TRUE(manager.SelectObject(CPoint(20, 20)));
    manager.EndDrag(CPoint(20, 20));
    EXPECT_FALSE(manager.SelectObject(CPoint(300, 300)));
    EXPECT_FALSE(manager.IsDragging());
    EXPECT_FALSE(manager.DeleteSelectedObject());
    EXPECT_EQ(2, manager.GetCount());

    ASSERT_TRUE(manager.SelectObject(CPoint(120, 20)));
    manager.EndDrag(CPoint(120, 20));
    EXPECT_TRUE(manager.DeleteSelectedObject());
    ASSERT_EQ(1, manager.GetCount());
    POSITION pos = manager.GetHeadPosition();
    EXPECT_EQ(CExactPoint(10, 10), manager.GetNext(pos)->GetCtrlPnt(0));
}

TEST(NotationManagerInput, APolygonTakesACornerAPressAndEndsOnADoubleClick)
{
    CNotationManager manager;
    manager.SetDrawType(SKETCH_POLYGON);
    for (CPoint corner : {CPoint(10, 10), CPoint(60, 10), CPoint(60, 50)}) {
        manager.LButtonDown(0, corner, nullptr, nullptr);
        EXPECT_FALSE(manager.LButtonUp(0, corner)) << "a release does not end a polygon";
    }
    EXPECT_TRUE(manager.IsDrawing());
    EXPECT_TRUE(manager.LButtonDblClk(0, CPoint(60, 50), nullptr));
    EXPECT_FALSE(manager.IsDrawing());
    POSITION pos = manager.GetHeadPosition();
    CArray<CExactPoint, CExactPoint> path;
    EXPECT_EQ(3, static_cast<CSketchPolygon*>(manager.GetNext(pos))->GetPathPoint(path));
    EXPECT_EQ(CExactPoint(60, 50), path[2]);
}

TEST(NotationManagerHistory, UndoAndRedoWalkTheEditsAndReportWhenThereIsNothingToDo)
{
    CNotationManager manager;
    EXPECT_FALSE(manager.UnDo()) << "nothing to undo";
    EXPECT_FALSE(manager.ReDo()) << "nothing to redo";

    DrawBox(manager, SKETCH_LINE, CPoint(10, 10), CPoint(50, 10));
    DrawBox(manager, SKETCH_LINE, CPoint(10, 30), CPoint(50, 30));
    ASSERT_TRUE(manager.SelectObject(CPoint(30, 30)));
    manager.EndDrag(CPoint(30, 40));   // the second line moves down by 10
    const std::vector<int> drawn = Serials(manager);

    EXPECT_TRUE(manager.UnDo());
    POSITION pos = manager.GetHeadPosition();
    manager.GetNext(pos);
    EXPECT_EQ(CExactPoint(10, 30), manager.GetNext(pos)->GetCtrlPnt(0)) << "the move undone";
    EXPECT_TRUE(manager.UnDo());
    EXPECT_EQ(1, manager.GetCount());
    EXPECT_TRUE(manager.UnDo());
    EXPECT_EQ(0, manager.GetCount());
    EXPECT_FALSE(manager.UnDo());

    EXPECT_TRUE(manager.ReDo());
    EXPECT_TRUE(manager.ReDo());
    EXPECT_TRUE(manager.ReDo());
    EXPECT_FALSE(manager.ReDo());
    EXPECT_EQ(drawn, Serials(manager)) << "redo brings back the same shapes";
    pos = manager.GetHeadPosition();
    manager.GetNext(pos);
    EXPECT_EQ(CExactPoint(10, 40), manager.GetNext(pos)->GetCtrlPnt(0));

    // A new edit after an undo drops what could have been redone.
    EXPECT_TRUE(manager.UnDo());
    DrawBox(manager, SKETCH_LINE, CPoint(10, 90), CPoint(50, 90));
    EXPECT_FALSE(manager.ReDo());

    manager.ClearHistory();
    EXPECT_FALSE(manager.UnDo());
    EXPECT_EQ(3, manager.GetCount());
}

TEST(NotationManagerHistory, LoadedShapesAreNeverUndone)
{
    CNotationManager manager;
    DrawBox(manager, SKETCH_LINE, CPoint(10, 10), CPoint(50, 10));
    const StoredShape record{6, {CExactPoint(1, 1), CExactPoint(9, 9)}, L"", 1, 0};
    ASSERT_NE(nullptr, Load(manager, record));
    DrawBox(manager, SKETCH_LINE, CPoint(10, 30), CPoint(50, 30));
    EXPECT_TRUE(manager.UnDo());
    EXPECT_TRUE(manager.UnDo());
    EXPECT_FALSE(manager.UnDo());
    ASSERT_EQ(1, manager.GetCount());
    POSITION pos = manager.GetHeadPosition();
    EXPECT_EQ(SKETCH_RECTANGLE, manager.GetNext(pos)->GetType());
    EXPECT_TRUE(manager.ReDo());
    EXPECT_TRUE(manager.ReDo());
    EXPECT_EQ(3, manager.GetCount());
}

TEST(NotationManagerShapes, SerialNumbersAreUniqueAndDeleteObjectRemovesByThem)
{
    CNotationManager manager;
    for (int i = 0; i < 4; ++i) DrawBox(manager, SKETCH_LINE, CPoint(10, 10 + 10 * i), CPoint(50, 10 + 10 * i));
    std::vector<int> serials = Serials(manager);
    ASSERT_EQ(4u, serials.size());
    EXPECT_TRUE(std::is_sorted(serials.begin(), serials.end()));
    EXPECT_EQ(serials.end(), std::adjacent_find(serials.begin(), serials.end()));

    EXPECT_TRUE(manager.DeleteObject(serials[1]));
    EXPECT_FALSE(manager.DeleteObject(serials[1])) << "gone already";
    EXPECT_FALSE(manager.DeleteObject(-7));
    DrawBox(manager, SKETCH_LINE, CPoint(10, 90), CPoint(50, 90));
    const std::vector<int> after = Serials(manager);
    EXPECT_EQ((std::vector<int>{serials[0], serials[2], serials[3]}),
              std::vector<int>(after.begin(), after.begin() + 3));
    EXPECT_GT(after[3], serials[3]) << "a serial number is never given twice";

    // Deleting every shape by its serial number, as a view clears its page.
    for (int serial : after) EXPECT_TRUE(manager.DeleteObject(serial));
    EXPECT_EQ(nullptr, manager.GetHeadPosition());
    POSITION none = nullptr;
    EXPECT_EQ(nullptr, manager.GetNext(none));
}

TEST(NotationManagerShapes, SettingsReachSelectedShapesWithScope16AndNewShapesWithScope1)
{
    CNotationManager manager;
    manager.SetLineColor(RGB(1, 2, 3), 1);
    manager.SetLineWidth(2, 1);
    DrawBox(manager, SKETCH_RECTANGLE, CPoint(10, 10), CPoint(40, 40));
    ASSERT_TRUE(manager.SelectObject(CPoint(20, 20)));
    manager.EndDrag(CPoint(20, 20));

    manager.SetLineColor(RGB(200, 0, 0), 16);
    manager.SetLineWidth(5, 16);
    POSITION pos = manager.GetHeadPosition();
    CSketchObject* shape = manager.GetNext(pos);
    int style = -1, width = 0;
    COLORREF color = 0;
    shape->GetLineStyle(style, width, color);
    EXPECT_EQ(5, width);
    EXPECT_EQ(RGB(200, 0, 0), color);

    DrawBox(manager, SKETCH_RECTANGLE, CPoint(100, 10), CPoint(140, 40));
    pos = manager.GetHeadPosition();
    manager.GetNext(pos);
    manager.GetNext(pos)->GetLineStyle(style, width, color);
    EXPECT_EQ(2, width) << "scope 16 left the settings for new shapes alone";
    EXPECT_EQ(RGB(1, 2, 3), color);

    // The change to the selected shape is one undo step of its own, and a
    // setting repeated unchanged (as views do on every update) adds none.
    manager.SetLineWidth(5, 16);
    manager.SetLineColor(RGB(200, 0, 0), 16);
    EXPECT_TRUE(manager.UnDo());
    EXPECT_TRUE(manager.UnDo());
    pos = manager.GetHeadPosition();
    manager.GetNext(pos)->GetLineStyle(style, width, color);
    EXPECT_EQ(2, width);
}

TEST(NotationManagerDrawing, DrawAllLeavesTheDCAsFoundAndShowsHandlesOnScreenOnly)
{
    CNotationManager manager;
    SetGeometry(manager, 10, 10, 2.0f);
    manager.SetLineColor(RGB(0, 0, 255), 1);
    // Unscaled (10, 10) .. (40, 30): device (30, 30) .. (90, 70).
    DrawBox(manager, SKETCH_RECTANGLE, CPoint(30, 30), CPoint(90, 70));
    ASSERT_TRUE(manager.SelectObject(CPoint(60, 50)));
    manager.EndDrag(CPoint(60, 50));

    Canvas screen(120, 100), paper(120, 100);
    EXPECT_LEAVES_DC_AS_FOUND(screen.dc()->GetSafeHdc(), manager.DrawAll(screen.dc(), 0));
    EXPECT_LEAVES_DC_AS_FOUND(paper.dc()->GetSafeHdc(), manager.DrawAll(paper.dc(), 1));
    // The frame's top edge between the handles, on both.
    EXPECT_PIXEL(screen.dc()->GetSafeHdc(), 45, 30, RGB(0, 0, 255));
    EXPECT_PIXEL(paper.dc()->GetSafeHdc(), 45, 30, RGB(0, 0, 255));
    // A handle: a white square framed in black round device (60, 30).
    EXPECT_PIXEL(screen.dc()->GetSafeHdc(), 57, 27, RGB(0, 0, 0));
    EXPECT_PIXEL(paper.dc()->GetSafeHdc(), 57, 27, RGB(255, 255, 255));
    // Nothing outside the shape.
    EXPECT_PIXEL(paper.dc()->GetSafeHdc(), 100, 80, RGB(255, 255, 255));
}

TEST(NotationManagerDrawing, TheSketchInProgressShowsOnScreenOnly)
{
    CNotationManager manager;
    manager.SetLineColor(RGB(0, 128, 0), 1);
    manager.SetDrawType(SKETCH_LINE);
    manager.LButtonDown(0, CPoint(10, 20), nullptr, nullptr);
    manager.MouseMove(MK_LBUTTON, CPoint(80, 20));
    Canvas screen(100, 40), paper(100, 40);
    manager.DrawAll(screen.dc(), 0);
    manager.DrawAll(paper.dc(), 1);
    EXPECT_PIXEL(screen.dc()->GetSafeHdc(), 50, 20, RGB(0, 128, 0));
    EXPECT_PIXEL(paper.dc()->GetSafeHdc(), 50, 20, RGB(255, 255, 255));
}

TEST(NotationManagerDrawing, TheRatioScalesShapesAndTheirPens)
{
    const StoredShape line{2, {CExactPoint(5, 10), CExactPoint(45, 10)}, L"", 2, RGB(255, 0, 0)};
    CNotationManager manager;
    ASSERT_NE(nullptr, Load(manager, line));
    SetGeometry(manager, 0, 0, 2.0f);
    Canvas canvas(120, 40);
    manager.DrawAll(canvas.dc(), 1);
    HDC dc = canvas.dc()->GetSafeHdc();
    EXPECT_PIXEL(dc, 12, 20, RGB(255, 0, 0));
    EXPECT_PIXEL(dc, 88, 20, RGB(255, 0, 0));
    EXPECT_PIXEL(dc, 100, 20, RGB(255, 255, 255)) << "ends at x 90";
    int rows = 0;
    for (int y = 10; y < 30; ++y) rows += GetPixel(dc, 50, y) == RGB(255, 0, 0);
    EXPECT_EQ(4, rows) << "a 2-unit pen at ratio 2 is 4 px";
}

TEST(NotationManagerShapes, DumpReleasesShapesSketchAndHistory)
{
    CNotationManager manager;
    DrawBox(manager, SKETCH_LINE, CPoint(10, 10), CPoint(50, 10));
    manager.LButtonDown(0, CPoint(5, 5), nullptr, nullptr);
    manager.Dump();
    EXPECT_EQ(0, manager.GetCount());
    EXPECT_FALSE(manager.IsDrawing());
    EXPECT_FALSE(manager.UnDo());
}

TEST(NotationManagerDrawing, EveryKindDrawsInkOnlyAroundItsPoints)
{
    const CExactPoint a(20, 20), b(70, 50), c(40, 60), d(25, 45);
    const std::vector<StoredShape> records = {
        {1, {a, a, b, c}, L"", 1, 0},
        {2, {a, b}, L"", 1, 0},
        {3, {a, b}, L"", 1, 0},
        {4, {a, b}, L"", 1, 0},
        {5, {a, b}, L"", 1, 0},
        {6, {a, b}, L"", 1, 0},
        {7, {a, a, b, c}, L"", 1, 0},
        {8, {a, a, b, c, d}, L"", 1, 0},
        {9, {a, a, b, c, d}, L"", 1, 0},
        {10, {a, b}, L"ST", 1, 0},
        {11, {a, b, c}, L"ST", 1, 0},
    };
    for (const StoredShape& record : records) {
        CNotationManager manager;
        SetGeometry(manager, 10, 5, 2.0f);
        ASSERT_NE(nullptr, Load(manager, record));
        Canvas canvas(200, 160);
        manager.DrawAll(canvas.dc(), 1);
        const RECT ink = gditest::InkBox(canvas.dc()->GetSafeHdc(), 200, 160);
        EXPECT_LT(ink.left, ink.right) << "type " << record.nAnnoType << " drew nothing";
        // Points span unscaled (20, 20) .. (70, 60): device (50, 45) .. (150, 125);
        // arrow heads and marks reach a little beyond.
        EXPECT_GE(ink.left, 50 - 12) << "type " << record.nAnnoType;
        EXPECT_GE(ink.top, 45 - 12) << "type " << record.nAnnoType;
        EXPECT_LE(ink.right, 151 + 12) << "type " << record.nAnnoType;
        EXPECT_LE(ink.bottom, 126 + 12) << "type " << record.nAnnoType;
    }
}

TEST(NotationManagerDrawing, APatternFillsOnlyItsSetBitsInsideTheShape)
{
    static const BYTE kEveryOtherColumn[8] = {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
    const CPatternBitmap pattern(kEveryOtherColumn);
    CNotationManager manager;
    LOGFONT font{};
    const CExactPoint corners[2] = {CExactPoint(8, 8), CExactPoint(40, 40)};
    ASSERT_NE(nullptr, manager.LoadSketchFromXML(SKETCH_RECTANGLE, RGB(0, 0, 0), 0, 1, 0, 1, font, 2, corners,
                                                 nullptr, CString(), 1, &pattern, 1, CString(), CString(), 1));
    Canvas canvas(60, 60);
    manager.DrawAll(canvas.dc(), 1);
    HDC dc = canvas.dc()->GetSafeHdc();
    EXPECT_PIXEL(dc, 16, 20, RGB(0, 0, 0)) << "bit 7 is the leftmost of every eight";
    EXPECT_PIXEL(dc, 17, 20, RGB(255, 255, 255));
    EXPECT_PIXEL(dc, 50, 20, RGB(255, 255, 255)) << "outside the rectangle";
}

TEST(NotationManagerInput, UnselectingPutsBackADragLeftHalfDone)
{
    CNotationManager manager;
    DrawBox(manager, SKETCH_RECTANGLE, CPoint(10, 10), CPoint(40, 40));
    ASSERT_TRUE(manager.SelectObject(CPoint(20, 20)));
    manager.MouseMoveInControl(MK_LBUTTON, CPoint(70, 70));
    manager.UnSelectedAllObjects();
    EXPECT_FALSE(manager.IsDragging());
    POSITION pos = manager.GetHeadPosition();
    CSketchObject* box = manager.GetNext(pos);
    EXPECT_EQ(CExactPoint(10, 10), box->GetCtrlPnt(0));
    EXPECT_FALSE(box->IsSelected());
    EXPECT_FALSE(manager.EndDrag(CPoint(90, 90))) << "no drag to end";
    EXPECT_EQ(CExactPoint(10, 10), box->GetCtrlPnt(0));
}

TEST(NotationManagerInput, ADoubleClickInSelectModeSelectsWithoutDragging)
{
    CNotationManager manager;
    DrawBox(manager, SKETCH_RECTANGLE, CPoint(10, 10), CPoint(40, 40));
    EXPECT_FALSE(manager.LButtonDblClkInControl(0, CPoint(90, 90), nullptr));
    EXPECT_TRUE(manager.LButtonDblClkInControl(0, CPoint(20, 20), nullptr));
    EXPECT_FALSE(manager.IsDragging());
    POSITION pos = manager.GetHeadPosition();
    EXPECT_TRUE(manager.GetNext(pos)->IsSelected());
}

TEST(NotationManagerShapes, ShapesLoadedUnselectableOrHiddenStayOutOfReachAndSight)
{
    CNotationManager manager;
    LOGFONT font{};
    const CExactPoint corners[2] = {CExactPoint(10, 10), CExactPoint(40, 40)};
    ASSERT_NE(nullptr, manager.LoadSketchFromXML(SKETCH_RECTANGLE, RGB(0, 0, 0), 0, 1, 0, 1, font, 2, corners,
                                                 nullptr, CString(), 0, nullptr, 0, CString(), CString(), 1));
    EXPECT_FALSE(manager.SelectObject(CPoint(20, 20)));
    EXPECT_EQ(SKETCH_HIT_NONE, manager.MouseMoveInControl(0, CPoint(20, 20)));

    CNotationManager hidden;
    ASSERT_NE(nullptr, hidden.LoadSketchFromXML(SKETCH_RECTANGLE, RGB(0, 0, 0), 0, 1, 0, 1, font, 2, corners,
                                                nullptr, CString(), 1, nullptr, 0, L"name", L"note", 0));
    Canvas canvas(60, 60);
    hidden.DrawAll(canvas.dc(), 1);
    const RECT ink = gditest::InkBox(canvas.dc()->GetSafeHdc(), 60, 60);
    EXPECT_EQ(ink.left, ink.right) << "nothing drawn";
    POSITION pos = hidden.GetHeadPosition();
    EXPECT_TRUE(hidden.GetNext(pos)->GetNote() == L"note");
}
