// Handles: stale handles fail everywhere, a reused slot is not reachable
// through an old handle, stock objects survive, and deleting an object that
// is still selected only marks it.
#include <vector>

#include "tests/platform/gdi/GdiTestSupport.h"

using namespace gditest;
using GdiHandleTest = LeakCheckedTest;

TEST_F(GdiHandleTest, DeletedPenFailsInEveryCall)
{
    ScopedImageDC dc(8, 8);
    HPEN pen = CreatePen(PS_SOLID, 1, kRed);
    ASSERT_NE(nullptr, pen);
    EXPECT_EQ((DWORD)OBJ_PEN, GetObjectType(pen));
    EXPECT_TRUE(DeleteObject(pen));

    LOGPEN log;
    EXPECT_EQ(0u, GetObjectType(pen));
    EXPECT_EQ(0, GetObject(pen, sizeof log, &log));
    EXPECT_EQ(0, GetObject(pen, 0, nullptr));
    EXPECT_EQ(nullptr, SelectObject(dc, pen));
    EXPECT_FALSE(DeleteObject(pen));
    // The DC still has its own pen.
    EXPECT_EQ(GetStockObject(BLACK_PEN), GetCurrentObject(dc, OBJ_PEN));
}

TEST_F(GdiHandleTest, DeletedDcFailsInEveryCall)
{
    HDC hdc = platform::gdi::CreateImageDC(4, 4);
    ASSERT_NE(nullptr, hdc);
    EXPECT_TRUE(DeleteDC(hdc));
    EXPECT_FALSE(DeleteDC(hdc));
    EXPECT_EQ(0, SaveDC(hdc));
    EXPECT_FALSE(RestoreDC(hdc, -1));
    EXPECT_EQ(CLR_INVALID, GetPixel(hdc, 0, 0));
    EXPECT_EQ(CLR_INVALID, SetTextColor(hdc, kRed));
    EXPECT_EQ(nullptr, SelectObject(hdc, GetStockObject(BLACK_PEN)));
    EXPECT_FALSE(LineTo(hdc, 2, 2));
    EXPECT_EQ(0, GetDeviceCaps(hdc, HORZRES));
    EXPECT_EQ(nullptr, CreateCompatibleDC(hdc));
    EXPECT_EQ(nullptr, CreateCompatibleBitmap(hdc, 2, 2));
}

TEST_F(GdiHandleTest, ForeignValuesAreNotHandles)
{
    const uintptr_t values[] = {0, 1, 0xFFFF, 0x7FFFFFFF, 0x80000001u, (uintptr_t)-1};
    for (uintptr_t value : values) {
        HGDIOBJ object = reinterpret_cast<HGDIOBJ>(value);
        EXPECT_EQ(0u, GetObjectType(object)) << value;
        EXPECT_FALSE(DeleteObject(object)) << value;
        EXPECT_FALSE(DeleteDC(reinterpret_cast<HDC>(value))) << value;
    }
}

TEST_F(GdiHandleTest, ReusedSlotIsNotReachableThroughTheOldHandle)
{
    HPEN pen = CreatePen(PS_SOLID, 1, kRed);
    const uintptr_t slot = reinterpret_cast<uintptr_t>(pen) & 0xFFFF;
    ASSERT_TRUE(DeleteObject(pen));

    // Free slots are reused oldest first: keep creating until the pen's slot comes back.
    std::vector<HBRUSH> brushes;
    HBRUSH reuser = nullptr;
    for (int i = 0; i < 70000 && !reuser; ++i) {
        HBRUSH brush = CreateSolidBrush(kBlue);
        ASSERT_NE(nullptr, brush);
        brushes.push_back(brush);
        if ((reinterpret_cast<uintptr_t>(brush) & 0xFFFF) == slot) reuser = brush;
    }
    ASSERT_NE(nullptr, reuser) << "the slot was never reused";
    EXPECT_NE(reinterpret_cast<uintptr_t>(pen), reinterpret_cast<uintptr_t>(reuser));
    EXPECT_EQ(0u, GetObjectType(pen));
    EXPECT_FALSE(DeleteObject(pen));
    EXPECT_EQ((DWORD)OBJ_BRUSH, GetObjectType(reuser));
    for (HBRUSH brush : brushes) EXPECT_TRUE(DeleteObject(brush));
}

TEST_F(GdiHandleTest, StockObjectsSurviveDeleteObject)
{
    const int stock[] = {WHITE_BRUSH, LTGRAY_BRUSH, GRAY_BRUSH, DKGRAY_BRUSH, BLACK_BRUSH, NULL_BRUSH,
                         WHITE_PEN,   BLACK_PEN,    NULL_PEN,   SYSTEM_FONT,  DEFAULT_GUI_FONT, ANSI_VAR_FONT};
    for (int index : stock) {
        HGDIOBJ object = GetStockObject(index);
        ASSERT_NE(nullptr, object) << index;
        EXPECT_TRUE(DeleteObject(object)) << index;
        EXPECT_NE(0u, GetObjectType(object)) << index;
        EXPECT_EQ(object, GetStockObject(index)) << index;
    }
    EXPECT_EQ(GetStockObject(NULL_BRUSH), GetStockObject(HOLLOW_BRUSH));
    EXPECT_EQ(nullptr, GetStockObject(-1));
    EXPECT_EQ(nullptr, GetStockObject(9));
    EXPECT_EQ(nullptr, GetStockObject(DC_PEN));
    EXPECT_EQ(nullptr, GetStockObject(100));
}

TEST_F(GdiHandleTest, StockObjectsHaveTheirDocumentedValues)
{
    LOGBRUSH brush;
    ASSERT_EQ((int)sizeof brush, GetObject(GetStockObject(GRAY_BRUSH), sizeof brush, &brush));
    EXPECT_EQ((UINT)BS_SOLID, brush.lbStyle);
    EXPECT_EQ(RGB(128, 128, 128), brush.lbColor);
    ASSERT_EQ((int)sizeof brush, GetObject(GetStockObject(NULL_BRUSH), sizeof brush, &brush));
    EXPECT_EQ((UINT)BS_NULL, brush.lbStyle);
    LOGPEN pen;
    ASSERT_EQ((int)sizeof pen, GetObject(GetStockObject(WHITE_PEN), sizeof pen, &pen));
    EXPECT_EQ((UINT)PS_SOLID, pen.lopnStyle);
    EXPECT_EQ(kWhite, pen.lopnColor);
    ASSERT_EQ((int)sizeof pen, GetObject(GetStockObject(NULL_PEN), sizeof pen, &pen));
    EXPECT_EQ((UINT)PS_NULL, pen.lopnStyle);
}

TEST_F(GdiHandleTest, DeletingASelectedPenWaitsUntilItIsDeselected)
{
    ScopedImageDC dc(10, 10);
    const int live = platform::gdi::LiveObjectCount();
    HPEN pen = CreatePen(PS_SOLID, 1, kRed);
    HGDIOBJ previous = SelectObject(dc, pen);
    EXPECT_TRUE(DeleteObject(pen));

    // Still usable while selected: the DC draws with it.
    EXPECT_EQ((DWORD)OBJ_PEN, GetObjectType(pen));
    MoveToEx(dc, 0, 1, nullptr);
    LineTo(dc, 5, 1);
    EXPECT_PIXEL(dc, 2, 1, kRed);

    EXPECT_EQ(Obj(pen), SelectObject(dc, previous));
    EXPECT_EQ(0u, GetObjectType(pen));
    EXPECT_EQ(live, platform::gdi::LiveObjectCount());
}

TEST_F(GdiHandleTest, ASavedStateKeepsADeletedPenAlive)
{
    ScopedImageDC dc(10, 10);
    HPEN pen = CreatePen(PS_SOLID, 1, kRed);
    SelectObject(dc, pen);
    ASSERT_EQ(1, SaveDC(dc));
    SelectObject(dc, GetStockObject(BLACK_PEN));
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_EQ((DWORD)OBJ_PEN, GetObjectType(pen)) << "the saved state still holds it";

    ASSERT_TRUE(RestoreDC(dc, -1));
    EXPECT_EQ(Obj(pen), GetCurrentObject(dc, OBJ_PEN));
    SelectObject(dc, GetStockObject(BLACK_PEN));
    EXPECT_EQ(0u, GetObjectType(pen));
}

TEST_F(GdiHandleTest, DeleteDcFreesObjectsMarkedForDeletion)
{
    HDC hdc = platform::gdi::CreateImageDC(4, 4);
    HBRUSH brush = CreateSolidBrush(kGreen);
    HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, L"MS Gothic");
    SelectObject(hdc, brush);
    SelectObject(hdc, font);
    SaveDC(hdc);
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_TRUE(DeleteDC(hdc));
    EXPECT_EQ(0u, GetObjectType(brush));
    EXPECT_EQ(0u, GetObjectType(font));
}

TEST_F(GdiHandleTest, ABitmapGoesIntoOneMemoryDcAtATime)
{
    HDC first = CreateCompatibleDC(nullptr);
    HDC second = CreateCompatibleDC(nullptr);
    ScopedImageDC image(4, 4);
    HBITMAP bitmap = CreateCompatibleBitmap(image, 4, 4);
    HGDIOBJ firstDefault = SelectObject(first, bitmap);
    ASSERT_NE(nullptr, firstDefault);

    EXPECT_EQ(nullptr, SelectObject(second, bitmap));
    EXPECT_EQ(nullptr, SelectObject(image, bitmap)) << "display-like DCs take no bitmap";
    EXPECT_EQ(Obj(bitmap), SelectObject(first, bitmap)) << "selecting it again into its own DC is fine";

    SelectObject(first, firstDefault);
    HGDIOBJ secondDefault = SelectObject(second, bitmap);
    EXPECT_EQ(firstDefault, secondDefault) << "both DCs started with the same stock bitmap";
    SelectObject(second, secondDefault);

    EXPECT_TRUE(DeleteObject(bitmap));
    DeleteDC(first);
    DeleteDC(second);
}

TEST_F(GdiHandleTest, DeleteObjectRefusesDcsAndIcons)
{
    ScopedImageDC dc(4, 4);
    EXPECT_FALSE(DeleteObject(static_cast<HDC>(dc)));
    EXPECT_EQ((DWORD)OBJ_DC, GetObjectType(static_cast<HDC>(dc)));
    HDC memory = CreateCompatibleDC(dc);
    EXPECT_EQ((DWORD)OBJ_MEMDC, GetObjectType(memory));
    DeleteDC(memory);
}
