// Printer DCs over PDF documents: device caps as a printer reports them,
// pages checked with poppler's pdfinfo, pdftotext and pdftoppm (the page
// rasterised and probed where the drawing should be), and the document's
// file appearing only when it is complete.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/gdi/Dc.h"
#include "platform/gdi/PrintSurface.h"
#include "tests/platform/gdi/GdiTestSupport.h"
#include "tests/support/TestSupport.h"

using namespace gditest;
using platform::gdi::PrintSurfaceSpec;
using PrintSurfaceTest = LeakCheckedTest;

namespace {

const int kA4Width = 2100, kA4Height = 2970;   // tenths of a millimetre

std::string Shell(const std::string& command)
{
    std::string out;
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    pclose(pipe);
    return out;
}

bool HavePoppler()
{
    return Shell("command -v pdfinfo && command -v pdftoppm && command -v pdftotext").find("pdftoppm") !=
           std::string::npos;
}

// The page size pdfinfo reports, in points.
bool PageSize(const std::string& pdf, double& width, double& height)
{
    const std::string info = Shell("pdfinfo '" + pdf + "'");
    const size_t at = info.find("Page size:");
    return at != std::string::npos && std::sscanf(info.c_str() + at, "Page size: %lf x %lf", &width, &height) == 2;
}

int PageCount(const std::string& pdf)
{
    const std::string info = Shell("pdfinfo '" + pdf + "'");
    const size_t at = info.find("Pages:");
    int pages = -1;
    if (at != std::string::npos) std::sscanf(info.c_str() + at, "Pages: %d", &pages);
    return pages;
}

// The first page rasterised in grey at `dpi`.
struct Grey {
    int width = 0, height = 0;
    std::vector<unsigned char> pixels;
    int At(int x, int y) const { return pixels[(size_t)y * width + x]; }
};

Grey Rasterise(const std::string& pdf, int dpi, const std::string& stem, const std::string& crop = "")
{
    Grey page;
    Shell("pdftoppm -gray -singlefile -r " + std::to_string(dpi) + " " + crop + " '" + pdf + "' '" + stem + "'");
    std::ifstream in(stem + ".pgm", std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> page.width >> page.height >> maxValue;
    in.get();
    if (magic != "P5" || page.width <= 0 || page.height <= 0) return Grey();
    page.pixels.resize((size_t)page.width * page.height);
    in.read(reinterpret_cast<char*>(page.pixels.data()), (std::streamsize)page.pixels.size());
    return page;
}

PrintSurfaceSpec A4(const std::string& path, bool landscape = false)
{
    PrintSurfaceSpec job;
    job.pdfPath = path;
    job.paperWidthTenthMm = kA4Width;
    job.paperHeightTenthMm = kA4Height;
    job.landscape = landscape;
    return job;
}

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    return names;
}

}  // namespace

TEST_F(PrintSurfaceTest, DeviceCapsAreThoseOfAPrinter)
{
    PrintSurfaceSpec job = A4("");
    job.marginLeft = 100;
    job.marginTop = 120;
    job.marginRight = 80;
    job.marginBottom = 60;
    HDC dc = platform::gdi::CreatePrintSurfaceDC(job);
    ASSERT_NE(nullptr, dc);
    // A4 at 600 dpi is 4961 x 7016 dots.
    EXPECT_EQ(4961, GetDeviceCaps(dc, PHYSICALWIDTH));
    EXPECT_EQ(7016, GetDeviceCaps(dc, PHYSICALHEIGHT));
    EXPECT_EQ(4961 - 180, GetDeviceCaps(dc, HORZRES));
    EXPECT_EQ(7016 - 180, GetDeviceCaps(dc, VERTRES));
    EXPECT_EQ(100, GetDeviceCaps(dc, PHYSICALOFFSETX));
    EXPECT_EQ(120, GetDeviceCaps(dc, PHYSICALOFFSETY));
    EXPECT_EQ(202, GetDeviceCaps(dc, HORZSIZE));
    EXPECT_EQ(600, GetDeviceCaps(dc, LOGPIXELSX));
    EXPECT_EQ(600, GetDeviceCaps(dc, LOGPIXELSY));
    EXPECT_EQ(DT_RASPRINTER, GetDeviceCaps(dc, TECHNOLOGY));
    EXPECT_EQ(RC_BITBLT | RC_STRETCHBLT, GetDeviceCaps(dc, RASTERCAPS) & (RC_BITBLT | RC_STRETCHBLT));
    EXPECT_EQ((DWORD)OBJ_DC, GetObjectType(dc));
    EXPECT_TRUE(platform::gdi::IsPrintSurfaceDC(dc));
    RECT clip;
    GetClipBox(dc, &clip);
    EXPECT_RECT(clip, 0, 0, 4961 - 180, 7016 - 180);

    // A memory DC made from it renders at the printer's resolution but does not print.
    HDC memory = CreateCompatibleDC(dc);
    EXPECT_EQ(600, GetDeviceCaps(memory, LOGPIXELSY));
    CDC printer, offscreen;
    printer.Attach(dc);
    offscreen.Attach(memory);
    EXPECT_TRUE(printer.IsPrinting());
    EXPECT_FALSE(offscreen.IsPrinting());
    EXPECT_FALSE(platform::gdi::IsPrintSurfaceDC(memory));
    // The CDCs delete their DCs.
}

TEST_F(PrintSurfaceTest, ImpossiblePagesAreRefused)
{
    PrintSurfaceSpec job = A4("");
    job.dpi = 10;
    EXPECT_EQ(nullptr, platform::gdi::CreatePrintSurfaceDC(job));
    job = A4("");
    job.paperWidthTenthMm = 0;
    EXPECT_EQ(nullptr, platform::gdi::CreatePrintSurfaceDC(job));
    job = A4("");
    job.marginLeft = 3000;
    job.marginRight = 2000;
    EXPECT_EQ(nullptr, platform::gdi::CreatePrintSurfaceDC(job)) << "no printable width left";
    job = A4("");
    job.marginTop = -1;
    EXPECT_EQ(nullptr, platform::gdi::CreatePrintSurfaceDC(job));
}

TEST_F(PrintSurfaceTest, APageWithALineAndTextIsAValidVectorPdf)
{
    ASSERT_TRUE(HavePoppler()) << "poppler-utils (pdfinfo, pdftoppm, pdftotext) must be installed";
    testsupport::TempDir dir;
    const std::string pdf = dir.File("page.pdf");
    PrintSurfaceSpec job = A4(pdf);
    job.marginLeft = job.marginTop = 60;
    HDC dc = platform::gdi::CreatePrintSurfaceDC(job);
    ASSERT_NE(nullptr, dc);
    ASSERT_TRUE(platform::gdi::PrintSurfaceStartPage(dc));
    // A 1 mm line from (1, 2) inches to (5, 2) inches of the printable area.
    ScopedObject<HPEN> pen(CreatePen(PS_SOLID, 24, kBlack));
    HGDIOBJ oldPen = SelectObject(dc, pen.get());
    MoveToEx(dc, 600, 1200, nullptr);
    LineTo(dc, 3000, 1200);
    SelectObject(dc, oldPen);
    ScopedObject<HFONT> font(CreateFontW(-120, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, L"Gothic"));
    HGDIOBJ oldFont = SelectObject(dc, font.get());
    const std::wstring text = L"ECG 心電図";
    TextOutW(dc, 600, 2400, text.c_str(), (int)text.size());
    SelectObject(dc, oldFont);
    ASSERT_TRUE(platform::gdi::PrintSurfaceEndPage(dc));
    EXPECT_FALSE(std::filesystem::exists(pdf)) << "nothing at the destination before the document is finished";
    ASSERT_TRUE(platform::gdi::PrintSurfaceFinish(dc));
    EXPECT_EQ(1, platform::gdi::PrintSurfacePageCount(dc));
    DeleteDC(dc);

    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_EQ((std::vector<std::string>{"page.pdf"}), FilesIn(dir.Path())) << "no partial file left behind";
    EXPECT_EQ(1, PageCount(pdf));
    double width = 0, height = 0;
    ASSERT_TRUE(PageSize(pdf, width, height));
    EXPECT_NEAR(595.28, width, 0.01);
    EXPECT_NEAR(841.89, height, 0.01);
    const std::string extracted = Shell("pdftotext '" + pdf + "' -");
    EXPECT_NE(std::string::npos, extracted.find("ECG")) << "text stays text: " << extracted;
    EXPECT_NE(std::string::npos, extracted.find("心電図")) << extracted;

    // At 60 dpi one pixel is ten dots: the line lies on row (1200 + 60) / 10.
    const Grey page = Rasterise(pdf, 60, dir.File("page"));
    ASSERT_NEAR(496, page.width, 1);
    EXPECT_LT(page.At(100, 126), 100) << "the line at its start";
    EXPECT_LT(page.At(300, 126), 100) << "and before its end";
    EXPECT_GT(page.At(320, 126), 200) << "past its end";
    EXPECT_GT(page.At(200, 131), 200) << "below it";
    EXPECT_GT(page.At(50, 126), 200) << "before it";
    int ink = 0;
    for (int y = 246; y < 262; ++y)
        for (int x = 66; x < 200; ++x) ink += page.At(x, y) < 128;
    EXPECT_GT(ink, 50) << "the text's glyphs below (60 + 2400) / 10";
}

TEST_F(PrintSurfaceTest, LandscapeDocumentsTakeSeveralPagesOneAtATime)
{
    ASSERT_TRUE(HavePoppler());
    testsupport::TempDir dir;
    const std::string pdf = dir.File("landscape.pdf");
    HDC dc = platform::gdi::CreatePrintSurfaceDC(A4(pdf, true));
    ASSERT_NE(nullptr, dc);
    EXPECT_EQ(7016, GetDeviceCaps(dc, HORZRES));
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(platform::gdi::PrintSurfaceStartPage(dc));
        EXPECT_FALSE(platform::gdi::PrintSurfaceStartPage(dc)) << "one page at a time";
        EXPECT_FALSE(platform::gdi::PrintSurfaceSetOutput(dc, dir.File("other.pdf"))) << "not in a document";
        Rectangle(dc, 100, 100, 1000, 1000);
        ASSERT_TRUE(platform::gdi::PrintSurfaceEndPage(dc));
    }
    EXPECT_FALSE(platform::gdi::PrintSurfaceEndPage(dc));
    ASSERT_TRUE(platform::gdi::PrintSurfaceFinish(dc));
    DeleteDC(dc);
    EXPECT_EQ(3, PageCount(pdf));
    double width = 0, height = 0;
    ASSERT_TRUE(PageSize(pdf, width, height));
    EXPECT_NEAR(841.89, width, 0.01);
    EXPECT_NEAR(595.28, height, 0.01);
}

TEST_F(PrintSurfaceTest, AbortedAndEmptyDocumentsLeaveNoFile)
{
    testsupport::TempDir dir;
    const std::string pdf = dir.Write("kept.pdf", "an earlier document");
    HDC dc = platform::gdi::CreatePrintSurfaceDC(A4(pdf));
    ASSERT_NE(nullptr, dc);
    MoveToEx(dc, 0, 0, nullptr);
    EXPECT_TRUE(LineTo(dc, 100, 100)) << "drawing between pages goes nowhere, harmlessly";
    ASSERT_TRUE(platform::gdi::PrintSurfaceStartPage(dc));
    LineTo(dc, 200, 200);
    ASSERT_TRUE(platform::gdi::PrintSurfaceAbort(dc));
    EXPECT_EQ("an earlier document", testsupport::ReadFileBytes(pdf));
    EXPECT_EQ(0, platform::gdi::PrintSurfacePageCount(dc));
    EXPECT_TRUE(platform::gdi::PrintSurfaceFinish(dc)) << "no pages: nothing to write";
    EXPECT_EQ("an earlier document", testsupport::ReadFileBytes(pdf));

    // DeleteDC in the middle of a document drops it too.
    ASSERT_TRUE(platform::gdi::PrintSurfaceStartPage(dc));
    DeleteDC(dc);
    EXPECT_EQ((std::vector<std::string>{"kept.pdf"}), FilesIn(dir.Path()));

    EXPECT_FALSE(platform::gdi::PrintSurfaceStartPage(dc)) << "stale";
    EXPECT_EQ(-1, platform::gdi::PrintSurfacePageCount(dc));
    EXPECT_FALSE(platform::gdi::PrintSurfaceAbort(dc));
    ScopedImageDC screen(4, 4);
    EXPECT_FALSE(platform::gdi::PrintSurfaceStartPage(screen)) << "not a print surface";

    HDC nowhere = platform::gdi::CreatePrintSurfaceDC(A4(dir.File("missing/folder/x.pdf")));
    EXPECT_FALSE(platform::gdi::PrintSurfaceStartPage(nowhere)) << "the folder does not exist";
    HDC unnamed = platform::gdi::CreatePrintSurfaceDC(A4(""));
    EXPECT_FALSE(platform::gdi::PrintSurfaceStartPage(unnamed)) << "no destination yet";
    EXPECT_FALSE(platform::gdi::PrintSurfaceSetOutput(unnamed, ""));
    ASSERT_TRUE(platform::gdi::PrintSurfaceSetOutput(unnamed, dir.File("named.pdf")));
    EXPECT_TRUE(platform::gdi::PrintSurfaceStartPage(unnamed));
    DeleteDC(nowhere);
    DeleteDC(unnamed);

    // A destination that cannot be replaced (a folder): Finish fails and leaves nothing behind.
    std::filesystem::create_directory(dir.File("folder.pdf"));
    HDC blocked = platform::gdi::CreatePrintSurfaceDC(A4(dir.File("folder.pdf")));
    ASSERT_TRUE(platform::gdi::PrintSurfaceStartPage(blocked));
    EXPECT_FALSE(platform::gdi::PrintSurfaceFinish(blocked));
    DeleteDC(blocked);
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder.pdf")));
    EXPECT_EQ(2u, FilesIn(dir.Path()).size()) << "kept.pdf and the folder, no partial file";
}

// XOR on paper: drawn once it shows against white and black alike; drawn
// twice it is gone.
TEST_F(PrintSurfaceTest, XorOnAPageIsReversible)
{
    ASSERT_TRUE(HavePoppler());
    testsupport::TempDir dir;
    const std::string pdf = dir.File("xor.pdf");
    HDC dc = platform::gdi::CreatePrintSurfaceDC(A4(pdf));
    ASSERT_TRUE(platform::gdi::PrintSurfaceStartPage(dc));
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    PatBlt(dc, 0, 0, 2000, 7016, PATCOPY);   // the left of the page black
    ScopedObject<HPEN> white(CreatePen(PS_SOLID, 100, kWhite));
    HGDIOBJ oldPen = SelectObject(dc, white.get());
    SetROP2(dc, R2_XORPEN);
    MoveToEx(dc, 0, 1000, nullptr);
    LineTo(dc, 4000, 1000);   // once
    for (int i = 0; i < 2; ++i) {
        MoveToEx(dc, 0, 3000, nullptr);
        LineTo(dc, 4000, 3000);   // twice
    }
    SetROP2(dc, R2_COPYPEN);
    SelectObject(dc, oldPen);
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    ASSERT_TRUE(platform::gdi::PrintSurfaceFinish(dc));
    DeleteDC(dc);

    const Grey page = Rasterise(pdf, 60, dir.File("xor"));
    ASSERT_GT(page.width, 400);
    EXPECT_GT(page.At(100, 100), 200) << "inverted over black";
    EXPECT_LT(page.At(300, 100), 60) << "inverted over paper";
    EXPECT_LT(page.At(100, 300), 60) << "drawn twice over black: black again";
    EXPECT_GT(page.At(300, 300), 200) << "drawn twice over paper: paper again";
    EXPECT_GT(page.At(450, 100), 200) << "past the line";
}

// The printed grid's dots come one SetPixelV per pixel; at the printer's own
// resolution each lands on its dot.
TEST_F(PrintSurfaceTest, SinglePixelsLandOnTheirDots)
{
    ASSERT_TRUE(HavePoppler());
    testsupport::TempDir dir;
    const std::string pdf = dir.File("dots.pdf");
    HDC dc = platform::gdi::CreatePrintSurfaceDC(A4(pdf));
    ASSERT_TRUE(platform::gdi::PrintSurfaceStartPage(dc));
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i) EXPECT_TRUE(SetPixelV(dc, 1000 - i, 1000 - j, kBlack));
    EXPECT_EQ(kBlack, SetPixel(dc, 1004, 1000, kBlack));
    EXPECT_EQ(CLR_INVALID, SetPixel(dc, -1, 1000, kBlack)) << "outside the page";
    MoveToEx(dc, 990, 1006, nullptr);
    LineTo(dc, 1010, 1006);   // drawn after the pixels, over them
    ASSERT_TRUE(platform::gdi::PrintSurfaceFinish(dc));
    DeleteDC(dc);

    const Grey crop = Rasterise(pdf, 600, dir.File("dots"), "-x 990 -y 990 -W 20 -H 20");
    ASSERT_EQ(20, crop.width);
    EXPECT_LT(crop.At(8, 8), 64);     // (998, 998)
    EXPECT_LT(crop.At(10, 10), 64);   // (1000, 1000)
    EXPECT_GT(crop.At(7, 9), 192);    // (997, 999)
    EXPECT_GT(crop.At(11, 9), 192);   // (1001, 999)
    EXPECT_GT(crop.At(9, 11), 192);   // (999, 1001)
    EXPECT_LT(crop.At(14, 10), 64);   // (1004, 1000)
    EXPECT_LT(crop.At(5, 16), 64);    // the line on row 1006
}

TEST_F(PrintSurfaceTest, CrossingLinesOfTwoPensLieInDrawingOrder)
{
    // Lines of one pen are gathered into one figure; where a line of the
    // other pen was drawn in between and crosses it, the later line still
    // lies on top, as it would had every line gone out on its own.
    ASSERT_TRUE(HavePoppler());
    testsupport::TempDir dir;
    const std::string pdf = dir.File("cross.pdf");
    HDC dc = platform::gdi::CreatePrintSurfaceDC(A4(pdf));
    ASSERT_TRUE(platform::gdi::PrintSurfaceStartPage(dc));
    ScopedObject<HPEN> red(CreatePen(PS_SOLID, 40, kRed));
    ScopedObject<HPEN> blue(CreatePen(PS_SOLID, 40, kBlue));
    auto line = [&](HPEN pen, int x0, int y0, int x1, int y1) {
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, x0, y0, nullptr);
        LineTo(dc, x1, y1);
        SelectObject(dc, old);
    };
    line(red.get(), 1000, 500, 1000, 3000);    // under the first blue line
    line(blue.get(), 500, 1000, 3000, 1000);
    line(red.get(), 2000, 500, 2000, 3000);    // over it
    line(blue.get(), 500, 2500, 1500, 2500);   // over the first red line
    line(red.get(), 2500, 500, 2500, 800);     // crosses nothing
    ASSERT_TRUE(platform::gdi::PrintSurfaceFinish(dc));
    DeleteDC(dc);

    // At 60 dpi a pixel is ten dots; red greys to about 76, blue to about 29.
    const Grey page = Rasterise(pdf, 60, dir.File("cross"));
    ASSERT_GT(page.width, 300);
    auto isRed = [&](int x, int y) { return std::abs(page.At(x / 10, y / 10) - 76) < 15; };
    auto isBlue = [&](int x, int y) { return std::abs(page.At(x / 10, y / 10) - 29) < 15; };
    EXPECT_TRUE(isBlue(1000, 1000)) << page.At(100, 100);
    EXPECT_TRUE(isRed(2000, 1000)) << page.At(200, 100);
    EXPECT_TRUE(isBlue(1000, 2500)) << page.At(100, 250);
    EXPECT_TRUE(isRed(1000, 1800));
    EXPECT_TRUE(isRed(2500, 650));
    EXPECT_TRUE(isBlue(1300, 2500));
    EXPECT_GT(page.At(150, 180), 200) << "paper between the lines";
}

TEST_F(PrintSurfaceTest, ADottedGridPrintsEveryDotWhereItWasSetAndStaysSmall)
{
    ASSERT_TRUE(HavePoppler());
    testsupport::TempDir dir;
    const std::string pdf = dir.File("grid.pdf");
    HDC dc = platform::gdi::CreatePrintSurfaceDC(A4(pdf));
    ASSERT_TRUE(platform::gdi::PrintSurfaceStartPage(dc));
    // Dots every millimetre at 600 dpi, rounded to whole dots as the grid
    // painters place them (so neither rows nor columns are evenly spaced),
    // set a column at a time; every fifth row has twice the dots.
    const double perMm = 600 / 25.4;
    std::vector<POINT> dots;
    for (int i = 0; i < 160; ++i) {
        for (int j = 0; j < 120; ++j) {
            if (i % 2 && j % 5) continue;
            const POINT dot = {(LONG)(200 + i * perMm / 2 + 0.5), (LONG)(300 + j * perMm + 0.5)};
            EXPECT_TRUE(SetPixelV(dc, dot.x, dot.y, kBlack));
            dots.push_back(dot);
        }
    }
    EXPECT_TRUE(SetPixelV(dc, 150, 320, kBlack));   // a dot of a row of its own
    dots.push_back(POINT{150, 320});
    ASSERT_TRUE(platform::gdi::PrintSurfaceFinish(dc));
    DeleteDC(dc);

    // One figure per dot would take tens of bytes each.
    EXPECT_LT(std::filesystem::file_size(pdf), dots.size() * 2);
    const Grey crop = Rasterise(pdf, 600, dir.File("grid"), "-x 100 -y 250 -W 2100 -H 2900");
    ASSERT_EQ(2100, crop.width);
    int missing = 0, smeared = 0;
    for (const POINT& dot : dots) {
        const int x = dot.x - 100, y = dot.y - 250;
        if (crop.At(x, y) >= 64) ++missing;
        if (crop.At(x + 1, y) <= 192 || crop.At(x, y + 1) <= 192 || crop.At(x - 1, y) <= 192) ++smeared;
    }
    EXPECT_EQ(0, missing);
    EXPECT_EQ(0, smeared);
}

TEST_F(PrintSurfaceTest, LinesKeepTheirPlaceAboveAndBelowTextOnEveryPage)
{
    // Lines of a solid pen go into the page as paths of their own after
    // cairo's content; one that text is later drawn over still lies under
    // the text's opaque box, one drawn after the text lies on top, and
    // each page of a document gets its own lines.
    ASSERT_TRUE(HavePoppler());
    testsupport::TempDir dir;
    const std::string pdf = dir.File("layers.pdf");
    HDC dc = platform::gdi::CreatePrintSurfaceDC(A4(pdf));
    ScopedObject<HPEN> pen(CreatePen(PS_SOLID, 40, kBlack));
    ScopedObject<HFONT> font(CreateFontW(-200, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, L"Gothic"));
    const std::wstring text = L"II 誘導";
    for (int pageIndex = 0; pageIndex < 2; ++pageIndex) {
        ASSERT_TRUE(platform::gdi::PrintSurfaceStartPage(dc));
        HGDIOBJ oldPen = SelectObject(dc, pen.get());
        HGDIOBJ oldFont = SelectObject(dc, font.get());
        const int y = 1000 + 1000 * pageIndex;
        MoveToEx(dc, 500, y, nullptr);                          // under the text
        LineTo(dc, 3000, y);
        SetBkMode(dc, OPAQUE);
        SetBkColor(dc, RGB(255, 255, 255));
        TextOutW(dc, 1000, y - 100, text.c_str(), (int)text.size());
        MoveToEx(dc, 1200, y - 400, nullptr);                   // over it
        LineTo(dc, 1200, y + 400);
        SelectObject(dc, oldFont);
        SelectObject(dc, oldPen);
        ASSERT_TRUE(platform::gdi::PrintSurfaceEndPage(dc));
    }
    ASSERT_TRUE(platform::gdi::PrintSurfaceFinish(dc));
    DeleteDC(dc);

    EXPECT_EQ(2, PageCount(pdf));
    const std::string extracted = Shell("pdftotext '" + pdf + "' -");
    EXPECT_NE(std::string::npos, extracted.find("誘導")) << extracted;
    for (int pageIndex = 0; pageIndex < 2; ++pageIndex) {
        const std::string stem = dir.File("layers-" + std::to_string(pageIndex));
        const std::string pages = "-f " + std::to_string(pageIndex + 1) + " -l " + std::to_string(pageIndex + 1);
        const Grey page = Rasterise(pdf, 60, stem, pages);
        ASSERT_GT(page.width, 400);
        const int row = (1000 + 1000 * pageIndex) / 10;
        EXPECT_LT(page.At(70, row), 100) << "the first line where no text covers it";
        EXPECT_LT(page.At(250, row), 100) << "past the text";
        EXPECT_GT(page.At(110, row), 150) << "under the text's box";
        EXPECT_LT(page.At(120, row - 30), 100) << "the second line above the text";
        EXPECT_LT(page.At(120, row), 100) << "and across it";
        const int other = (1000 + 1000 * (1 - pageIndex)) / 10;
        EXPECT_GT(page.At(70, other), 200) << "nothing of the other page";
    }
}

TEST_F(PrintSurfaceTest, ALongTraceKeepsItsTrueScaleAndItsClip)
{
    // A trace of many points printed at 600 dpi: a 10 mm step (236 dots)
    // is 118 px at 300 dpi, and nothing of it shows outside the clip box.
    ASSERT_TRUE(HavePoppler());
    testsupport::TempDir dir;
    const std::string pdf = dir.File("trace.pdf");
    HDC dc = platform::gdi::CreatePrintSurfaceDC(A4(pdf));
    ASSERT_TRUE(platform::gdi::PrintSurfaceStartPage(dc));
    std::vector<POINT> trace;
    for (int i = 0; i < 200; ++i) {
        const LONG y = 2000 - ((i / 50) % 2 ? 236 : 0) + (i % 5 == 2 ? 6 : 0);   // spikes thinning keeps
        if (i % 50 == 0 && i > 0) trace.push_back(POINT{trace.back().x, y});   // a vertical edge
        trace.push_back(POINT{600 + 10 * i, y});
    }
    ScopedObject<HPEN> pen(CreatePen(PS_SOLID, 3, kBlack));   // 0.13 mm, as traces print
    HGDIOBJ old = SelectObject(dc, pen.get());
    Polyline(dc, trace.data(), (int)trace.size());
    IntersectClipRect(dc, 600, 2500, 1600, 3500);
    for (POINT& p : trace) p.y += 1000;
    Polyline(dc, trace.data(), (int)trace.size());
    SelectObject(dc, old);
    ASSERT_TRUE(platform::gdi::PrintSurfaceFinish(dc));
    DeleteDC(dc);

    const Grey page = Rasterise(pdf, 300, dir.File("trace"));
    ASSERT_GT(page.width, 2000);
    auto inkRows = [&](int x, int from, int to) {
        int top = -1, bottom = -1;
        for (int y = from; y < to; ++y) {
            if (page.At(x, y) >= 160) continue;
            if (top < 0) top = y;
            bottom = y;
        }
        return std::make_pair(top, bottom);
    };
    // The rising edge after point 49, at x = 600 + 490 dots.
    const auto step = inkRows((600 + 490) / 2, 800, 1100);
    EXPECT_NEAR(118, step.second - step.first, 2) << step.first << " " << step.second;
    const auto clipped = inkRows((600 + 490) / 2, 1250, 1600);
    EXPECT_NEAR(118, clipped.second - clipped.first, 2) << "inside the clip box";
    const auto outside = inkRows((600 + 1500) / 2, 1250, 1600);
    EXPECT_EQ(-1, outside.first) << "the clipped copy past the clip box's right edge";
    EXPECT_NE(-1, inkRows((600 + 1500) / 2, 800, 1100).first) << "the unclipped one there";
}
