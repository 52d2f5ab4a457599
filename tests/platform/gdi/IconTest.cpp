// Icons and cursors: made from pixels, composited with their alpha, and
// destroyed once.
#include <vector>

#include "platform/gdi/Icon.h"
#include "tests/platform/gdi/GdiTestSupport.h"

using namespace gditest;
using IconTest = LeakCheckedTest;

namespace {

// 4 x 4: an opaque blue left half, a half-transparent white top-right
// quarter, a transparent bottom-right quarter.
std::vector<uint32_t> TestPixels()
{
    std::vector<uint32_t> argb(16);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            uint32_t& p = argb[y * 4 + x];
            if (x < 2) p = 0xFF0000FF;
            else if (y < 2) p = 0x80FFFFFF;
            else p = 0x00FF0000;
        }
    return argb;
}

void Fill(HDC dc, int width, int height, COLORREF color)
{
    HBRUSH brush = CreateSolidBrush(color);
    RECT all = {0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
}

}  // namespace

TEST_F(IconTest, DrawIconCompositesWithAlpha)
{
    const std::vector<uint32_t> pixels = TestPixels();
    HICON icon = platform::gdi::CreateIconFromPixels(4, 4, pixels.data(), 0, 0);
    ASSERT_NE(nullptr, icon);
    ScopedImageDC dc(10, 10);
    Fill(dc, 10, 10, kRed);
    ASSERT_TRUE(DrawIcon(dc, 3, 3, icon));
    EXPECT_PIXEL(dc, 3, 3, kBlue);
    EXPECT_PIXEL(dc, 4, 6, kBlue);
    EXPECT_PIXEL(dc, 5, 5, kRed) << "transparent";
    EXPECT_PIXEL(dc, 6, 6, kRed);
    const COLORREF half = GetPixel(dc, 5, 3);
    EXPECT_EQ(255, GetRValue(half));
    EXPECT_NEAR(128, GetGValue(half), 2) << "half white over red";
    EXPECT_PIXEL(dc, 7, 3, kRed) << "outside the icon";
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
    EXPECT_FALSE(DrawIcon(dc, 0, 0, icon));
}

TEST_F(IconTest, DrawIconExScalesAndPaintsTheFlickerFreeBackground)
{
    const std::vector<uint32_t> pixels = TestPixels();
    HICON icon = platform::gdi::CreateIconFromPixels(4, 4, pixels.data(), 2, 2);
    ScopedImageDC dc(12, 12);
    ScopedObject<HBRUSH> green(CreateSolidBrush(kGreen));
    ASSERT_TRUE(DrawIconEx(dc, 0, 0, icon, 8, 8, 0, green, DI_NORMAL));
    EXPECT_PIXEL(dc, 3, 7, kBlue);
    EXPECT_PIXEL(dc, 7, 7, kGreen) << "the background shows through the transparent part";
    EXPECT_PIXEL(dc, 8, 8, kWhite);
    EXPECT_FALSE(DrawIconEx(dc, 0, 0, icon, 8, 8, 0, nullptr, 0)) << "nothing to draw";
    // The default size is 32 x 32: each icon pixel becomes 8 x 8.
    ASSERT_TRUE(DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE));
    EXPECT_PIXEL(dc, 11, 11, kBlue);
    EXPECT_TRUE(DestroyCursor(icon));
}

TEST_F(IconTest, IconInfoGivesHotspotAndBitmapsTheCallerDeletes)
{
    const std::vector<uint32_t> pixels = TestPixels();
    HCURSOR cursor = platform::gdi::CreateIconFromPixels(4, 4, pixels.data(), 1, 3);
    HICON icon = platform::gdi::CreateIconFromPixels(4, 4, pixels.data(), 2, 2);
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(1u, info.xHotspot);
    EXPECT_EQ(3u, info.yHotspot);
    BITMAP bm;
    ASSERT_EQ((int)sizeof bm, GetObject(info.hbmMask, sizeof bm, &bm));
    EXPECT_EQ(1, bm.bmBitsPixel);
    ASSERT_EQ((int)sizeof bm, GetObject(info.hbmColor, sizeof bm, &bm));
    EXPECT_EQ(32, bm.bmBitsPixel);
    EXPECT_EQ(4, bm.bmWidth);

    // The mask is white where the screen shows through.
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ original = SelectObject(memory, info.hbmMask);
    EXPECT_PIXEL(memory, 0, 0, kBlack);
    EXPECT_PIXEL(memory, 3, 3, kWhite);
    SelectObject(memory, info.hbmColor);
    EXPECT_PIXEL(memory, 0, 0, kBlue);
    SelectObject(memory, original);
    DeleteDC(memory);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);

    ASSERT_TRUE(GetIconInfo(icon, &info));
    EXPECT_TRUE(info.fIcon) << "an icon's hotspot is its centre";
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    SIZE size;
    POINT hot;
    EXPECT_TRUE(platform::gdi::GetIconMetrics(cursor, &size, &hot));
    EXPECT_EQ(4, size.cx);
    EXPECT_EQ(3, hot.y);
    DestroyCursor(cursor);
    DestroyIcon(icon);
    EXPECT_FALSE(GetIconInfo(icon, &info));
    EXPECT_FALSE(platform::gdi::GetIconMetrics(icon, &size, &hot));
}

TEST_F(IconTest, BadSizesAreRefusedAndTheHotspotIsClamped)
{
    const std::vector<uint32_t> pixels = TestPixels();
    EXPECT_EQ(nullptr, platform::gdi::CreateIconFromPixels(0, 4, pixels.data(), 0, 0));
    EXPECT_EQ(nullptr, platform::gdi::CreateIconFromPixels(4, 257, pixels.data(), 0, 0));
    EXPECT_EQ(nullptr, platform::gdi::CreateIconFromPixels(4, 4, nullptr, 0, 0));
    HICON icon = platform::gdi::CreateIconFromPixels(4, 4, pixels.data(), 9, -2);
    POINT hot;
    ASSERT_TRUE(platform::gdi::GetIconMetrics(icon, nullptr, &hot));
    EXPECT_EQ(3, hot.x);
    EXPECT_EQ(0, hot.y);
    EXPECT_EQ(0u, GetObjectType(reinterpret_cast<HGDIOBJ>(icon))) << "icons are not GDI objects";
    EXPECT_FALSE(DeleteObject(reinterpret_cast<HGDIOBJ>(icon)));
    DestroyIcon(icon);
}

TEST_F(IconTest, SharedIconsSurviveDestroyIcon)
{
    const std::vector<uint32_t> pixels = TestPixels();
    HICON icon = platform::gdi::CreateIconFromPixels(4, 4, pixels.data(), 2, 2);
    ASSERT_TRUE(platform::gdi::MarkIconShared(icon));
    EXPECT_TRUE(DestroyIcon(icon)) << "Windows answers TRUE";
    EXPECT_TRUE(DestroyCursor(icon));
    EXPECT_TRUE(platform::gdi::GetIconMetrics(icon, nullptr, nullptr)) << "and keeps it";
    // A copy is the caller's own, shared original or not.
    HICON copy = CopyIcon(icon);
    ASSERT_NE(nullptr, copy);
    ASSERT_NE(icon, copy);
    EXPECT_TRUE(DestroyIcon(copy));
    EXPECT_FALSE(platform::gdi::GetIconMetrics(copy, nullptr, nullptr));
    // The resource cache that owns it lets it go.
    EXPECT_TRUE(platform::gdi::DestroySharedIcon(icon));
    EXPECT_FALSE(platform::gdi::GetIconMetrics(icon, nullptr, nullptr));
    EXPECT_FALSE(platform::gdi::MarkIconShared(icon));
    EXPECT_EQ(nullptr, CopyIcon(icon));
}

TEST_F(IconTest, IndirectIconsCombineMaskAndColour)
{
    // 2 x 2: the mask lets the screen through on the right column.
    const unsigned char maskBits[4] = {0x40, 0, 0x40, 0};   // rows: black white
    const unsigned char colourBits[16] = {0, 0, 0xFF, 0, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0, 0, 0};
    ScopedObject<HBITMAP> mask(CreateBitmap(2, 2, 1, 1, maskBits));
    ScopedObject<HBITMAP> colour(CreateBitmap(2, 2, 1, 32, colourBits));
    ICONINFO info = {FALSE, 1, 0, mask, colour};
    HICON icon = CreateIconIndirect(&info);
    ASSERT_NE(nullptr, icon);
    POINT hot;
    ASSERT_TRUE(platform::gdi::GetIconMetrics(icon, nullptr, &hot));
    EXPECT_EQ(1, hot.x);
    ScopedImageDC dc(4, 4);
    FillWith(dc, 4, 4, kGreen);
    DrawIcon(dc, 0, 0, icon);
    EXPECT_PIXEL(dc, 0, 0, kRed);
    EXPECT_PIXEL(dc, 0, 1, kBlue);
    EXPECT_PIXEL(dc, 1, 0, kGreen);
    DestroyIcon(icon);

    // Without a colour bitmap the mask holds AND over XOR: black and white pixels.
    const unsigned char monoBits[8] = {0x40, 0, 0x00, 0, 0x00, 0, 0x80, 0};   // 2 x 4
    ScopedObject<HBITMAP> mono(CreateBitmap(2, 4, 1, 1, monoBits));
    ICONINFO monoInfo = {TRUE, 0, 0, mono, nullptr};
    icon = CreateIconIndirect(&monoInfo);
    ASSERT_NE(nullptr, icon);
    FillWith(dc, 4, 4, kGreen);
    DrawIcon(dc, 0, 0, icon);
    EXPECT_PIXEL(dc, 0, 0, kBlack);
    EXPECT_PIXEL(dc, 1, 0, kGreen);
    EXPECT_PIXEL(dc, 0, 1, kWhite);
    DestroyIcon(icon);

    HBITMAP stale = CreateBitmap(2, 2, 1, 1, nullptr);
    DeleteObject(stale);
    ICONINFO bad = {TRUE, 0, 0, stale, nullptr};
    EXPECT_EQ(nullptr, CreateIconIndirect(&bad));
    EXPECT_EQ(nullptr, CreateIconIndirect(nullptr));
}

TEST_F(IconTest, DrawStatePaintsMonoInTheBrushAndDisabledEmbossed)
{
    ScopedSysColors colors([](int index) { return index == COLOR_3DHIGHLIGHT ? RGB(250, 250, 250) : RGB(90, 90, 90); });
    const std::vector<uint32_t> pixels = TestPixels();
    HICON icon = platform::gdi::CreateIconFromPixels(4, 4, pixels.data(), 2, 2);
    ScopedImageDC dc(12, 12);
    FillWith(dc, 12, 12, kGreen);
    ScopedObject<HBRUSH> red(CreateSolidBrush(kRed));
    ASSERT_TRUE(DrawStateW(dc, red, nullptr, reinterpret_cast<LPARAM>(icon), 0, 0, 0, 0, 0, DST_ICON | DSS_MONO));
    EXPECT_PIXEL(dc, 0, 0, kRed) << "the opaque part in the brush colour";
    EXPECT_PIXEL(dc, 3, 3, kGreen);
    ASSERT_TRUE(DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, 6, 6, 0, 0, DST_ICON | DSS_DISABLED));
    EXPECT_PIXEL(dc, 6, 6, RGB(90, 90, 90)) << "the shadow on top";
    EXPECT_PIXEL(dc, 8, 9, RGB(250, 250, 250)) << "the highlight one pixel down and right";
    ASSERT_TRUE(DrawIconEx(dc, 0, 6, icon, 0, 0, 0, nullptr, DI_MASK));
    EXPECT_PIXEL(dc, 0, 6, kBlack) << "the mask alone blackens the opaque part";
    EXPECT_PIXEL(dc, 3, 9, kGreen);
    EXPECT_FALSE(DrawStateW(dc, nullptr, nullptr, 0, 0, 0, 0, 0, 0, DST_ICON));
    DestroyIcon(icon);
}
