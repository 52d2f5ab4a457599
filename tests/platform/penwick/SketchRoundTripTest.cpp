// Annotations travel between the sketch library and the record as point
// lists. Every annotation type drawn with the mouse, stored, loaded into a
// fresh manager and stored again must give the same points, kind and text.
#include "tests/platform/penwick/PenwickTestSupport.h"

using namespace penwicktest;

namespace {

// Draws one shape of an annotation type with the mouse, as a user in draw mode.
void DrawWithMouse(CNotationManager& manager, int annoType)
{
    SetAnnoType(manager, annoType);
    switch (SketchTypeOf(annoType)) {
    case SKETCH_POLYGON:
        manager.LButtonDown(0, CPoint(20, 20), nullptr, nullptr);
        manager.LButtonUp(0, CPoint(20, 20));
        manager.MouseMove(0, CPoint(80, 25));
        manager.LButtonDown(0, CPoint(80, 25), nullptr, nullptr);
        manager.LButtonUp(0, CPoint(80, 25));
        manager.LButtonDown(0, CPoint(50, 70), nullptr, nullptr);
        manager.LButtonUp(0, CPoint(50, 70));
        manager.LButtonDblClk(0, CPoint(50, 70), nullptr);
        manager.LButtonUp(0, CPoint(50, 70));
        break;
    case SKETCH_MARKS:
    case SKETCH_CURVE:
    case SKETCH_CLOSEDCURVE:
        manager.LButtonDown(0, CPoint(10, 40), nullptr, nullptr);
        for (int x = 12; x <= 60; x += 4) manager.MouseMove(MK_LBUTTON, CPoint(x, 40 + (x % 12)));
        manager.LButtonUp(0, CPoint(62, 30));
        break;
    default:
        manager.LButtonDown(0, CPoint(15, 25), nullptr, nullptr);
        manager.MouseMove(MK_LBUTTON, CPoint(40, 50));
        manager.LButtonUp(0, CPoint(71, 64));
        break;
    }
}

void ExpectSame(const StoredShape& expected, const StoredShape& actual, const char* what)
{
    EXPECT_EQ(expected.nAnnoType, actual.nAnnoType) << what;
    EXPECT_EQ(PointsText(expected.points), PointsText(actual.points)) << what << ", type " << expected.nAnnoType;
    EXPECT_TRUE(expected.text == actual.text) << what;
    EXPECT_EQ(expected.nLineWidth, actual.nLineWidth) << what;
    EXPECT_EQ(expected.crColor, actual.crColor) << what;
}

}  // namespace

TEST(SketchRoundTrip, EveryAnnotationTypeDrawnStoredAndLoadedKeepsItsPoints)
{
    for (int annoType = 1; annoType <= 11; ++annoType) {
        CNotationManager drawn;
        drawn.SetLineWidth(3, 1);
        drawn.SetLineColor(RGB(10, 20, 30), 1);
        DrawWithMouse(drawn, annoType);
        const std::vector<StoredShape> first = SaveAll(drawn);
        ASSERT_EQ(1u, first.size()) << "annotation type " << annoType << " was not drawn";
        EXPECT_EQ(annoType, first[0].nAnnoType);

        // Load, store, and load and store again: a loaded arrow stores its
        // points in the loaded order from then on.
        CNotationManager loaded;
        ASSERT_NE(nullptr, Load(loaded, first[0])) << "annotation type " << annoType;
        const std::vector<StoredShape> second = SaveAll(loaded);
        ASSERT_EQ(1u, second.size());
        ExpectSame(first[0], second[0], "drawn, then loaded");

        CNotationManager again;
        ASSERT_NE(nullptr, Load(again, second[0]));
        ExpectSame(second[0], SaveAll(again)[0], "loaded twice");
    }
}

TEST(SketchRoundTrip, StoredShapesOfEveryTypeLoadAndSaveUnchanged)
{
    // Point lists as a record holds them, texts for types 10 and 11.
    const CExactPoint a(12.5f, 40.25f), b(90.0f, 8.0f), c(33.0f, 71.5f), d(5.0f, 5.0f), e(60.0f, 66.0f),
        f(81.0f, 19.0f);
    const std::vector<StoredShape> records = {
        {1, {a, a, b, c}, L"", 1, RGB(255, 0, 0)},
        {2, {a, b}, L"", 2, RGB(0, 0, 255)},
        {3, {a, b, c, d, e, f, a, b}, L"", 3, RGB(0, 128, 0)},   // a closed head, as stored once loaded
        {4, {a, b, c, d, e, d, f, d}, L"", 1, RGB(0, 0, 0)},      // an open head: 2, 1, 0, 1, 3, 1
        {5, {a, b}, L"", 2, RGB(1, 2, 3)},
        {6, {b, a}, L"", 4, RGB(4, 5, 6)},                        // a box drawn right to left
        {7, {a, a, b, c, d}, L"", 1, RGB(7, 8, 9)},
        {8, {a, a, b, c, d, e}, L"", 2, RGB(10, 11, 12)},
        {9, {b, b, c, d, e, f, a}, L"", 2, RGB(13, 14, 15)},
        {10, {a, b}, L"ST 上昇", 1, RGB(16, 17, 18)},
        {11, {c, e, a, d}, L"ブロック", 1, RGB(19, 20, 21)},
    };
    CNotationManager manager;
    for (const StoredShape& record : records) ASSERT_NE(nullptr, Load(manager, record)) << record.nAnnoType;
    const std::vector<StoredShape> saved = SaveAll(manager);
    ASSERT_EQ(records.size(), saved.size());
    for (size_t i = 0; i < records.size(); ++i) ExpectSame(records[i], saved[i], "stored record");
}

TEST(SketchRoundTrip, ArrowsKeepTheirTypeThroughTheRecord)
{
    // The record stores no arrow type: type 4 must read back as an open head
    // (arrow type 0) and type 3 as a closed one, whatever the manager's
    // arrow setting is when loading.
    for (short setting : {0, 2}) {
        for (int annoType : {3, 4}) {
            CNotationManager drawn;
            DrawWithMouse(drawn, annoType);
            const StoredShape stored = SaveAll(drawn).at(0);
            CNotationManager loaded;
            loaded.SetArrowAttribute(setting, 1);
            auto* arrow = static_cast<CSketchArrow*>(Load(loaded, stored));
            ASSERT_NE(nullptr, arrow);
            EXPECT_TRUE(arrow->IsLoaded());
            EXPECT_EQ(annoType == 3, arrow->GetArrowType() > 0) << "type " << annoType << ", setting " << setting;
        }
    }
}

TEST(SketchRoundTrip, AZeroLengthArrowStillReadsBackAsItsType)
{
    for (int annoType : {3, 4}) {
        // A press and release on one point keeps no line, so the stored form
        // of a zero-length arrow is loaded instead.
        const CExactPoint p(30.0f, 30.0f);
        StoredShape record{annoType, {p, p}, L"", 1, 0};
        CNotationManager computed;
        computed.SetArrowAttribute(annoType == 3 ? 2 : 0, 1);
        const StoredShape withHead = Save(Load(computed, record));
        CNotationManager loaded;
        EXPECT_EQ(annoType, Save(Load(loaded, withHead)).nAnnoType);
    }
}

TEST(SketchRoundTrip, LoadingRefusesPointsThatCannotMakeTheKind)
{
    CNotationManager manager;
    LOGFONT font{};
    const CExactPoint one[1] = {CExactPoint(1, 2)};
    EXPECT_EQ(nullptr, manager.LoadSketchFromXML(SKETCH_LINE, 0, 0, 1, 0, 1, font, 0, one, nullptr, CString(), 1,
                                                 nullptr, 0, CString(), CString(), 1));
    EXPECT_EQ(nullptr, manager.LoadSketchFromXML(SKETCH_LINE, 0, 0, 1, 0, 1, font, 1, one, nullptr, CString(), 1,
                                                 nullptr, 0, CString(), CString(), 1));
    EXPECT_EQ(nullptr, manager.LoadSketchFromXML(SKETCH_RECTANGLE, 0, 0, 1, 0, 1, font, 1, nullptr, nullptr,
                                                 CString(), 1, nullptr, 0, CString(), CString(), 1));
    EXPECT_EQ(nullptr, manager.LoadSketchFromXML(42, 0, 0, 1, 0, 1, font, 1, one, nullptr, CString(), 1, nullptr, 0,
                                                 CString(), CString(), 1));
    EXPECT_EQ(0, manager.GetCount());
    EXPECT_NE(nullptr, manager.LoadSketchFromXML(SKETCH_MARKS, 0, 0, 1, 0, 1, font, 1, one, nullptr, CString(), 1,
                                                 nullptr, 0, CString(), CString(), 1));
}

TEST(SketchRoundTrip, DevicePointsAreLoadedThroughTheGeometry)
{
    CNotationManager manager;
    _IMAGEMAPINFO_ST_ info = manager.GetPhotoInfo();
    info.nOriginX = 100;
    info.nOriginY = 50;
    info.fRatio = 2.0f;
    manager.SetPhotoInfo(info);
    LOGFONT font{};
    const CExactPoint device[2] = {CExactPoint(120, 70), CExactPoint(140, 90)};
    CSketchObject* line = manager.LoadSketchFromXML(SKETCH_LINE, 0, 0, 0, 0, 1, font, 2, device, nullptr, CString(),
                                                    1, nullptr, 0, CString(), CString(), 1);
    ASSERT_NE(nullptr, line);
    EXPECT_EQ(PointsText({CExactPoint(10, 10), CExactPoint(20, 20)}),
              PointsText({line->GetCtrlPnt(0), line->GetCtrlPnt(1)}));
}
