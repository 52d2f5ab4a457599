// Regions and clipping: combining rectangles into complex regions, and
// drawing through them.
#include <climits>

#include "platform/gdi/Dc.h"
#include "tests/platform/gdi/GdiTestSupport.h"

using namespace gditest;
using RegionTest = LeakCheckedTest;

// CombineRgn of A = (0, 0, 10, 10) and B = (5, 5, 15, 15), then points probed.
TEST_F(RegionTest, EachCombineModeGivesItsPixelsAndType)
{
    struct Case {
        int mode;
        int type;
        bool at2_2, at7_7, at12_12, at12_2;
    };
    static const Case kCases[] = {
        {RGN_AND, SIMPLEREGION, false, true, false, false},
        {RGN_OR, COMPLEXREGION, true, true, true, false},
        {RGN_XOR, COMPLEXREGION, true, false, true, false},
        {RGN_DIFF, COMPLEXREGION, true, false, false, false},
        {RGN_COPY, SIMPLEREGION, true, true, false, false},
    };
    ScopedObject<HRGN> a(CreateRectRgn(0, 0, 10, 10)), b(CreateRectRgn(5, 5, 15, 15));
    for (const Case& c : kCases) {
        ScopedObject<HRGN> out(CreateRectRgn(0, 0, 0, 0));
        ASSERT_EQ(c.type, CombineRgn(out, a, b, c.mode)) << "mode " << c.mode;
        EXPECT_EQ(c.at2_2, !!PtInRegion(out, 2, 2)) << "mode " << c.mode;
        EXPECT_EQ(c.at7_7, !!PtInRegion(out, 7, 7)) << "mode " << c.mode;
        EXPECT_EQ(c.at12_12, !!PtInRegion(out, 12, 12)) << "mode " << c.mode;
        EXPECT_EQ(c.at12_2, !!PtInRegion(out, 12, 2)) << "mode " << c.mode;
        EXPECT_FALSE(PtInRegion(out, 15, 15)) << "right and bottom are outside";
    }
    ScopedObject<HRGN> both(CreateRectRgn(0, 0, 0, 0));
    CombineRgn(both, a, b, RGN_OR);
    RECT box;
    EXPECT_EQ(COMPLEXREGION, GetRgnBox(both, &box));
    EXPECT_RECT(box, 0, 0, 15, 15);
}

TEST_F(RegionTest, EqualPixelSetsAreEqualRegions)
{
    // Two halves make the whole rectangle again, as one simple region.
    ScopedObject<HRGN> left(CreateRectRgn(0, 0, 5, 10)), right(CreateRectRgn(5, 0, 10, 10));
    ScopedObject<HRGN> whole(CreateRectRgn(0, 0, 10, 10));
    ASSERT_EQ(SIMPLEREGION, CombineRgn(left, left, right, RGN_OR)) << "the destination may be a source";
    EXPECT_TRUE(EqualRgn(left, whole));
    ASSERT_EQ(NULLREGION, CombineRgn(left, left, whole, RGN_DIFF));
    RECT box = {1, 1, 1, 1};
    EXPECT_EQ(NULLREGION, GetRgnBox(left, &box));
    EXPECT_RECT(box, 0, 0, 0, 0);
    RECT probe = {9, 9, 20, 20};
    EXPECT_TRUE(RectInRegion(whole, &probe));
    EXPECT_EQ(SIMPLEREGION, OffsetRgn(whole, 100, 0));
    EXPECT_FALSE(RectInRegion(whole, &probe));
    EXPECT_NE(ERROR, OffsetRgn(whole, INT_MAX, INT_MAX)) << "offsets saturate instead of overflowing";
}

TEST_F(RegionTest, StaleAndWrongHandlesFail)
{
    HRGN stale = CreateRectRgn(0, 0, 4, 4);
    DeleteObject(stale);
    ScopedObject<HRGN> live(CreateRectRgn(0, 0, 4, 4));
    EXPECT_EQ(ERROR, CombineRgn(live, stale, live, RGN_OR));
    EXPECT_EQ(ERROR, CombineRgn(stale, live, live, RGN_OR));
    EXPECT_EQ(ERROR, CombineRgn(live, live, live, 0));
    EXPECT_FALSE(PtInRegion(stale, 1, 1));
    EXPECT_EQ(ERROR, OffsetRgn(stale, 1, 1));
    ScopedImageDC dc(4, 4);
    EXPECT_EQ(ERROR, SelectClipRgn(dc, stale));
    EXPECT_EQ(ERROR, ExtSelectClipRgn(dc, nullptr, RGN_AND)) << "only RGN_COPY takes no region";
}

TEST_F(RegionTest, ExcludeClipRectLeavesAHole)
{
    ScopedImageDC dc(20, 20);
    EXPECT_EQ(COMPLEXREGION, ExcludeClipRect(dc, 5, 5, 10, 10));
    RECT box;
    EXPECT_EQ(COMPLEXREGION, GetClipBox(dc, &box));
    EXPECT_RECT(box, 0, 0, 20, 20);
    EXPECT_FALSE(PtVisible(dc, 7, 7));
    EXPECT_TRUE(PtVisible(dc, 4, 7));
    FillWith(dc, 20, 20, kRed);
    EXPECT_PIXEL(dc, 4, 5, kRed);
    EXPECT_PIXEL(dc, 10, 9, kRed);
    SelectClipRgn(dc, nullptr);
    EXPECT_PIXEL(dc, 5, 5, kWhite);
    EXPECT_PIXEL(dc, 9, 9, kWhite);

    // Lines, text and blits respect the hole too.
    ExcludeClipRect(dc, 5, 5, 10, 10);
    MoveToEx(dc, 0, 7, nullptr);
    LineTo(dc, 20, 7);
    EXPECT_PIXEL(dc, 4, 7, kBlack);
    EXPECT_PIXEL(dc, 7, 7, kWhite);
    EXPECT_PIXEL(dc, 10, 7, kBlack);
    ScopedObject<HBRUSH> blue(CreateSolidBrush(kBlue));
    SelectObject(dc, blue.get());
    Ellipse(dc, 0, 0, 20, 20);
    EXPECT_PIXEL(dc, 7, 8, kWhite);
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
}

TEST_F(RegionTest, ClipRegionIsInDeviceUnitsAndSavedWithTheDc)
{
    ScopedImageDC dc(20, 20);
    SetViewportOrgEx(dc, 5, 5, nullptr);
    ScopedObject<HRGN> region(CreateRectRgn(0, 0, 4, 4));
    EXPECT_EQ(SIMPLEREGION, SelectClipRgn(dc, region));
    RECT box;
    GetClipBox(dc, &box);
    EXPECT_RECT(box, -5, -5, -1, -1) << "the region stays where it is in device units";
    const int level = SaveDC(dc);
    IntersectClipRect(dc, -5, -5, -4, -4);
    GetClipBox(dc, &box);
    EXPECT_RECT(box, -5, -5, -4, -4);
    RestoreDC(dc, level);
    GetClipBox(dc, &box);
    EXPECT_RECT(box, -5, -5, -1, -1);
    // The caller's region is copied: changing it later changes nothing.
    OffsetRgn(region, 10, 10);
    GetClipBox(dc, &box);
    EXPECT_RECT(box, -5, -5, -1, -1);
    // And combined with ExtSelectClipRgn.
    ScopedObject<HRGN> more(CreateRectRgn(10, 0, 12, 2));
    EXPECT_EQ(COMPLEXREGION, ExtSelectClipRgn(dc, more, RGN_OR));
    EXPECT_TRUE(PtVisible(dc, 5, -5));
    EXPECT_FALSE(PtVisible(dc, 2, -5));
}

TEST_F(RegionTest, TheClassesCombineAndClipRegions)
{
    CRgn a, b, both;
    ASSERT_TRUE(a.CreateRectRgn(0, 0, 10, 10));
    ASSERT_TRUE(b.CreateRectRgn(20, 0, 30, 10));
    ASSERT_TRUE(both.CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(COMPLEXREGION, both.CombineRgn(&a, &b, RGN_OR));
    EXPECT_TRUE(both.PtInRegion(25, 5));
    EXPECT_FALSE(both.PtInRegion(15, 5));
    EXPECT_EQ(ERROR, both.CombineRgn(nullptr, &b, RGN_OR));
    CRgn copy;
    copy.CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(COMPLEXREGION, copy.CopyRgn(&both));
    EXPECT_TRUE(copy.EqualRgn(&both));

    ScopedImageDC image(32, 12);
    CDC dc;
    dc.Attach(image);
    EXPECT_EQ(COMPLEXREGION, dc.SelectClipRgn(&both));
    EXPECT_EQ(COMPLEXREGION, dc.ExcludeClipRect(2, 2, 4, 4));
    dc.FillSolidRect(0, 0, 32, 12, kRed);
    EXPECT_PIXEL(image, 1, 1, kRed);
    EXPECT_PIXEL(image, 3, 3, kWhite);
    EXPECT_PIXEL(image, 15, 5, kWhite);
    EXPECT_PIXEL(image, 29, 9, kRed);
    EXPECT_FALSE(dc.PtVisible(3, 3));
    EXPECT_EQ(SIMPLEREGION, dc.SelectClipRgn(nullptr));
    EXPECT_TRUE(dc.PtVisible(3, 3));
    dc.Detach();
}
