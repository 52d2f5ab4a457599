// The framework classes: CDC and the CGdiObject family, above all the
// objects SelectObject hands back and who deletes what.
#include "platform/gdi/Dc.h"
#include "tests/platform/gdi/GdiTestSupport.h"

using namespace gditest;
using DcFrameworkTest = LeakCheckedTest;

namespace {

// A CDC over a new image DC, deleted with the CDC.
class ImageCDC : public CDC {
public:
    ImageCDC(int width, int height) { Attach(platform::gdi::CreateImageDC(width, height)); }
};

}  // namespace

TEST_F(DcFrameworkTest, SelectObjectGivesBackTheOwningObjectOrATemporaryOne)
{
    ImageCDC dc(10, 10);
    CPen red(PS_SOLID, 1, kRed);
    CPen blue(PS_SOLID, 1, kBlue);
    ASSERT_NE(nullptr, red.GetSafeHandle());

    CPen* stock = dc.SelectObject(&red);
    ASSERT_NE(nullptr, stock);
    EXPECT_EQ(GetStockObject(BLACK_PEN), stock->GetSafeHandle()) << "a temporary wrapper of the stock pen";
    EXPECT_EQ(&red, dc.SelectObject(&blue)) << "the object that owns the handle comes back";
    EXPECT_EQ(&blue, dc.GetCurrentPen());
    EXPECT_EQ(&blue, dc.SelectObject(stock));
    EXPECT_EQ(stock, dc.GetCurrentPen()) << "one wrapper per handle";
    EXPECT_TRUE(stock->IsKindOf(RUNTIME_CLASS(CPen)));
}

TEST_F(DcFrameworkTest, TemporaryWrappersNeverDeleteTheirHandles)
{
    HBRUSH brush = CreateSolidBrush(kGreen);
    {
        ImageCDC dc(4, 4);
        SelectObject(dc.m_hDC, brush);
        CBrush* current = dc.GetCurrentBrush();
        ASSERT_NE(nullptr, current);
        EXPECT_EQ(brush, static_cast<HBRUSH>(*current));
        dc.SelectStockObject(WHITE_BRUSH);
    }
    EXPECT_EQ((DWORD)OBJ_BRUSH, GetObjectType(brush)) << "the DC's wrappers went, the brush stays";
    CGdiObject* wrapper = CGdiObject::FromHandle(brush);
    ASSERT_NE(nullptr, wrapper);
    EXPECT_TRUE(wrapper->IsKindOf(RUNTIME_CLASS(CBrush)));
    EXPECT_EQ(wrapper, CBrush::FromHandle(brush));
    EXPECT_EQ(nullptr, CPen::FromHandle(reinterpret_cast<HPEN>(brush))) << "not a pen";
    CGdiObject::DeleteTempMap();
    EXPECT_EQ((DWORD)OBJ_BRUSH, GetObjectType(brush));
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_EQ(nullptr, CGdiObject::FromHandle(brush)) << "stale handles get no wrapper";
}

TEST_F(DcFrameworkTest, ObjectsDeleteTheirHandles)
{
    HGDIOBJ handle;
    {
        CBrush brush(kRed);
        handle = brush.GetSafeHandle();
        EXPECT_EQ((DWORD)OBJ_BRUSH, GetObjectType(handle));
    }
    EXPECT_EQ(0u, GetObjectType(handle));

    CFont font;
    EXPECT_TRUE(font.CreatePointFont(90, L"MS Gothic"));
    EXPECT_FALSE(font.CreatePointFont(90, L"MS Gothic")) << "already holds a font";
    HGDIOBJ detached = font.Detach();
    EXPECT_EQ(nullptr, font.GetSafeHandle());
    EXPECT_FALSE(font.DeleteObject());
    EXPECT_TRUE(font.Attach(detached));
    EXPECT_FALSE(font.Attach(detached));
    EXPECT_TRUE(font.DeleteObject());
    EXPECT_EQ(0u, GetObjectType(detached));
}

TEST_F(DcFrameworkTest, RefusedArgumentsLeaveTheObjectEmpty)
{
    const LOGBRUSH solid = {BS_SOLID, kRed, 0};
    CPen cosmeticTooWide(PS_COSMETIC | PS_SOLID, 3, &solid);
    EXPECT_EQ(nullptr, cosmeticTooWide.GetSafeHandle());
    CBrush badHatch(17, kRed);
    EXPECT_EQ(nullptr, badHatch.GetSafeHandle());
    CBitmap bitmap;
    EXPECT_FALSE(bitmap.CreateCompatibleBitmap(nullptr, 4, 4));
}

TEST_F(DcFrameworkTest, ClassesGiveTheLogRecordsOfTheirObjects)
{
    CPen pen(PS_DOT, 1, RGB(1, 2, 3));
    LOGPEN log;
    EXPECT_EQ((int)sizeof log, pen.GetLogPen(&log));
    EXPECT_EQ((UINT)PS_DOT, log.lopnStyle);
    const LOGBRUSH solid = {BS_SOLID, kBlue, 0};
    CPen ext(PS_GEOMETRIC | PS_ENDCAP_SQUARE, 4, &solid);
    EXTLOGPEN elp;
    EXPECT_GT(ext.GetExtLogPen(&elp), 0);
    EXPECT_EQ(4u, elp.elpWidth);
    EXPECT_EQ((DWORD)(PS_GEOMETRIC | PS_ENDCAP_SQUARE), elp.elpPenStyle);

    CBrush hatch(HS_BDIAGONAL, kRed);
    LOGBRUSH lb;
    EXPECT_EQ((int)sizeof lb, hatch.GetLogBrush(&lb));
    EXPECT_EQ((ULONG_PTR)HS_BDIAGONAL, lb.lbHatch);

    CFont font;
    font.CreateFont(-15, 0, 0, 0, FW_BOLD, 0, 1, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, L"ＭＳ ゴシック");
    LOGFONT lf;
    EXPECT_EQ((int)sizeof lf, font.GetLogFont(&lf));
    EXPECT_EQ(-15, lf.lfHeight);
    EXPECT_EQ(1, lf.lfUnderline);

    ImageCDC screen(8, 8);
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(&screen));
    CBitmap mono, color;
    ASSERT_TRUE(mono.CreateCompatibleBitmap(&memory, 5, 3));
    ASSERT_TRUE(color.CreateCompatibleBitmap(&screen, 5, 3));
    BITMAP bm;
    EXPECT_EQ((int)sizeof bm, mono.GetBitmap(&bm));
    EXPECT_EQ(1, bm.bmBitsPixel);
    EXPECT_EQ(5, bm.bmWidth);
    color.GetBitmap(&bm);
    EXPECT_EQ(32, bm.bmBitsPixel);
}

TEST_F(DcFrameworkTest, PointFontsUseTheDcResolution)
{
    // Tenths of a point at 96 dpi, truncated: 9 pt is 12 px, 10 pt 13 px.
    struct Case {
        int tenths, height;
    };
    const Case cases[] = {{90, -12}, {100, -13}, {120, -16}, {75, -10}};
    ImageCDC dc(4, 4);
    for (const Case& c : cases) {
        CFont font;
        ASSERT_TRUE(font.CreatePointFont(c.tenths, L"MS Gothic", &dc));
        LOGFONT lf;
        font.GetLogFont(&lf);
        EXPECT_EQ(c.height, lf.lfHeight) << c.tenths;
        EXPECT_EQ(DEFAULT_CHARSET, lf.lfCharSet);
    }
}

TEST_F(DcFrameworkTest, FillSolidRectLeavesTheBackgroundColourSet)
{
    ImageCDC dc(10, 10);
    dc.SetBkMode(TRANSPARENT);
    dc.FillSolidRect(2, 2, 3, 4, kGreen);
    EXPECT_EQ(kGreen, dc.GetBkColor());
    EXPECT_PIXEL(dc.m_hDC, 2, 2, kGreen);
    EXPECT_PIXEL(dc.m_hDC, 4, 5, kGreen);
    EXPECT_PIXEL(dc.m_hDC, 5, 5, kWhite);
    EXPECT_PIXEL(dc.m_hDC, 4, 6, kWhite);
    CRect rc(6, 6, 8, 8);
    dc.FillSolidRect(&rc, kRed);
    EXPECT_PIXEL(dc.m_hDC, 7, 7, kRed);
}

TEST_F(DcFrameworkTest, TheClassDrawsAndSetsAttributesOnItsDc)
{
    ImageCDC dc(30, 20);
    EXPECT_FALSE(dc.IsPrinting());
    EXPECT_EQ(30, dc.GetDeviceCaps(HORZRES));
    EXPECT_EQ(CPoint(0, 0), dc.MoveTo(2, 3));
    EXPECT_EQ(CPoint(2, 3), dc.MoveTo(CPoint(1, 1)));
    EXPECT_TRUE(dc.LineTo(6, 1));
    EXPECT_EQ(CPoint(6, 1), dc.GetCurrentPosition());
    EXPECT_EQ(kBlack, dc.GetPixel(5, 1));
    EXPECT_EQ(kWhite, dc.GetPixel(CPoint(6, 1)));

    CBrush red(kRed);
    CRect area(10, 10, 14, 14);
    dc.FillRect(&area, &red);
    EXPECT_EQ(kRed, dc.GetPixel(13, 13));
    EXPECT_EQ(kBlack, dc.SetTextColor(kBlue));
    EXPECT_EQ(kBlue, dc.GetTextColor());
    EXPECT_EQ((UINT)TA_TOP, dc.SetTextAlign(TA_BASELINE));
    EXPECT_EQ((UINT)TA_BASELINE, dc.GetTextAlign());

    const int level = dc.SaveDC();
    EXPECT_EQ(1, level);
    dc.SetViewportOrg(5, 5);
    dc.SetPixel(0, 0, kGreen);
    EXPECT_TRUE(dc.RestoreDC(level));
    EXPECT_EQ(CPoint(0, 0), dc.GetViewportOrg());
    EXPECT_EQ(kGreen, dc.GetPixel(5, 5));

    dc.IntersectClipRect(CRect(0, 0, 10, 10));
    CRect clip;
    EXPECT_EQ(SIMPLEREGION, dc.GetClipBox(&clip));
    EXPECT_EQ(CRect(0, 0, 10, 10), clip);
    CRgn region;
    ASSERT_TRUE(region.CreateRectRgn(0, 0, 30, 20));
    EXPECT_EQ(SIMPLEREGION, dc.SelectObject(&region));
    dc.GetClipBox(&clip);
    EXPECT_EQ(CRect(0, 0, 30, 20), clip);
    EXPECT_EQ(SIMPLEREGION, dc.SelectClipRgn(nullptr));
}

TEST_F(DcFrameworkTest, TheClassMeasuresAndDrawsText)
{
    ImageCDC dc(60, 20);
    CFont font;
    font.CreateFont(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, L"ＭＳ ゴシック");
    CFont* old = dc.SelectObject(&font);
    ASSERT_NE(nullptr, old);
    const CString text(L"AB心");
    const CSize extent = dc.GetTextExtent(text);
    EXPECT_EQ(6 + 6 + 12, extent.cx);
    EXPECT_EQ(extent, dc.GetTextExtent(text.GetString(), text.GetLength()));
    TEXTMETRIC tm;
    EXPECT_TRUE(dc.GetTextMetrics(&tm));
    EXPECT_EQ(tm.tmHeight, extent.cy);
    EXPECT_TRUE(dc.TextOut(1, 1, text));
    EXPECT_TRUE(dc.ExtTextOut(1, 1, ETO_CLIPPED, CRect(0, 0, 60, 20), CString(L"x"), nullptr));
    CString face;
    EXPECT_GT(dc.GetTextFace(face), 0);
    EXPECT_EQ(CString(L"ＭＳ ゴシック"), face);
    EXPECT_EQ(&font, dc.SelectObject(old));
}

TEST_F(DcFrameworkTest, FromHandleFindsTheAttachedDc)
{
    ImageCDC dc(4, 4);
    EXPECT_EQ(&dc, CDC::FromHandle(dc.m_hDC));
    HDC loose = platform::gdi::CreateImageDC(4, 4);
    CDC* temporary = CDC::FromHandle(loose);
    ASSERT_NE(nullptr, temporary);
    EXPECT_EQ(temporary, CDC::FromHandle(loose));
    EXPECT_EQ(loose, temporary->GetSafeHdc());
    CDC::DeleteTempMap();
    EXPECT_EQ((DWORD)OBJ_DC, GetObjectType(loose)) << "a temporary CDC does not delete its DC";
    DeleteDC(loose);
    EXPECT_EQ(nullptr, CDC::FromHandle(loose));
    EXPECT_EQ(nullptr, CDC::FromHandle(nullptr));
}

TEST_F(DcFrameworkTest, TheClassCopiesFromAMemoryDc)
{
    ImageCDC screen(20, 20);
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(&screen));
    EXPECT_FALSE(memory.CreateCompatibleDC(&screen)) << "already holds a DC";
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 8, 8));
    CBitmap* original = memory.SelectObject(&bitmap);
    ASSERT_NE(nullptr, original);
    memory.PatBlt(0, 0, 8, 8, BLACKNESS);
    EXPECT_TRUE(screen.BitBlt(4, 4, 8, 8, &memory, 0, 0, SRCCOPY));
    EXPECT_EQ(kBlack, screen.GetPixel(11, 11));
    EXPECT_EQ(kWhite, screen.GetPixel(12, 12));
    EXPECT_EQ(&bitmap, memory.GetCurrentBitmap());
    memory.SelectObject(original);
    EXPECT_TRUE(memory.DeleteDC());
    EXPECT_FALSE(memory.DeleteDC());
}
