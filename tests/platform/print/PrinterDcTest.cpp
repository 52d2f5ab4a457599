// Printer DCs: drawn jobs become vector PDFs in the spool, with the paper
// and orientation of their device mode; aborted jobs leave nothing.
#include "tests/platform/print/PrintTestSupport.h"

#include <cstring>

#include "platform/base/Kernel.h"
#include "platform/gdi/Image.h"
#include "platform/gdi/PrintSurface.h"

namespace printtest {
namespace {

using platform::print::SpooledJob;

class PrinterDcTest : public PrintTest {
protected:
    void SetUp() override
    {
        PrintTest::SetUp();
        AddPrinter(L"Laser");   // A4 portrait by default
    }

    // The printer's device mode with the given paper and orientation.
    static std::vector<BYTE> DevMode(const wchar_t* printer, int paper, int orientation)
    {
        std::vector<BYTE> buffer((size_t)DocumentPropertiesW(nullptr, nullptr, printer, nullptr, nullptr, 0));
        PDEVMODEW mode = reinterpret_cast<PDEVMODEW>(buffer.data());
        EXPECT_EQ(IDOK, DocumentPropertiesW(nullptr, nullptr, printer, mode, nullptr, DM_OUT_BUFFER));
        mode->dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES;
        mode->dmPaperSize = (short)paper;
        mode->dmOrientation = (short)orientation;
        mode->dmCopies = 2;
        return buffer;
    }

    // A page with a frame, a diagonal and a line of text.
    static void DrawPage(HDC hdc)
    {
        Rectangle(hdc, 600, 600, 3000, 2000);
        MoveToEx(hdc, 600, 600, nullptr);
        LineTo(hdc, 3000, 2000);
        TextOutW(hdc, 700, 700, L"II aVR 心拍", 9);
    }

    // Width and height of the first page in points, from pdfinfo.
    static bool PageSize(const std::string& pdf, double& width, double& height)
    {
        const auto info = PdfInfo(pdf);
        auto found = info.find("Page size");
        return found != info.end() && std::sscanf(found->second.c_str(), "%lf x %lf", &width, &height) == 2;
    }
};

TEST_F(PrinterDcTest, ADrawnJobLandsAsAPdfOfItsPaperAndOrientation)
{
    if (!HavePdfInfo()) GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    std::vector<BYTE> mode = DevMode(L"Laser", DMPAPER_A4, DMORIENT_LANDSCAPE);
    ScopedPrinterDC dc(L"Laser", reinterpret_cast<PDEVMODEW>(mode.data()));
    ASSERT_TRUE(dc != nullptr);
    // Device units as at 600 dots per inch on A4 landscape (297 x 210 mm).
    EXPECT_EQ(600, GetDeviceCaps(dc, LOGPIXELSX));
    EXPECT_NEAR(7016, GetDeviceCaps(dc, PHYSICALWIDTH), 1);
    EXPECT_NEAR(4961, GetDeviceCaps(dc, PHYSICALHEIGHT), 1);
    EXPECT_NEAR(297, GetDeviceCaps(dc, HORZSIZE), 1);

    const DOCINFOW info = DocInfo(L"rest ECG");
    const int id = StartDocW(dc, &info);
    ASSERT_GT(id, 0);
    for (int page = 0; page < 2; ++page) {
        ASSERT_GT(StartPage(dc), 0);
        DrawPage(dc);
        ASSERT_GT(EndPage(dc), 0);
    }
    EXPECT_TRUE(Jobs().empty());   // not before the document ends
    ASSERT_GT(EndDoc(dc), 0);

    const std::vector<SpooledJob> jobs = Jobs();
    ASSERT_EQ(1u, jobs.size());
    EXPECT_EQ((DWORD)id, jobs[0].id);
    EXPECT_EQ(L"rest ECG", jobs[0].document);
    EXPECT_EQ(L"PDF", jobs[0].datatype);
    EXPECT_EQ(2, jobs[0].pages);
    EXPECT_EQ(L"2", jobs[0].Detail("Copies"));
    EXPECT_EQ(L"2", jobs[0].Detail("Orientation"));
    EXPECT_EQ(L"9", jobs[0].Detail("PaperSize"));
    EXPECT_EQ("00001_rest ECG.pdf", jobs[0].dataFile);
    const auto info2 = PdfInfo(jobs[0].dataPath);
    EXPECT_EQ("2", info2.count("Pages") ? info2.at("Pages") : "");
    double width = 0;
    double height = 0;
    ASSERT_TRUE(PageSize(jobs[0].dataPath, width, height));
    EXPECT_NEAR(841.89, width, 0.5);   // 297 mm in points
    EXPECT_NEAR(595.28, height, 0.5);
    // Only the job's two files are left in the spool.
    EXPECT_EQ((std::vector<std::string>{"00001_rest ECG.job", "00001_rest ECG.pdf"}), SpoolEntries());
}

TEST_F(PrinterDcTest, WithoutADeviceModeThePrintersDefaultsApply)
{
    if (!HavePdfInfo()) GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    AddPrinter(L"Letter", DMPAPER_LETTER, DMORIENT_PORTRAIT);
    ScopedPrinterDC dc(L"Letter");
    ASSERT_TRUE(dc != nullptr);
    EXPECT_EQ(5100, GetDeviceCaps(dc, PHYSICALWIDTH));   // 8.5 in at 600 dpi
    const DOCINFOW info = DocInfo(L"letter");
    ASSERT_GT(StartDocW(dc, &info), 0);
    ASSERT_GT(StartPage(dc), 0);
    DrawPage(dc);
    ASSERT_GT(EndDoc(dc), 0);   // ends the open page too
    ASSERT_EQ(1u, Jobs().size());
    EXPECT_EQ(1, Jobs()[0].pages);
    double width = 0;
    double height = 0;
    ASSERT_TRUE(PageSize(Jobs()[0].dataPath, width, height));
    EXPECT_NEAR(612, width, 0.5);
    EXPECT_NEAR(792, height, 0.5);
}

TEST_F(PrinterDcTest, OneDcPrintsOneDocumentAfterAnother)
{
    ScopedPrinterDC dc(L"Laser");
    for (const wchar_t* name : {L"first", L"second"}) {
        const DOCINFOW info = DocInfo(name);
        ASSERT_GT(StartDocW(dc, &info), 0);
        ASSERT_GT(StartPage(dc), 0);
        DrawPage(dc);
        ASSERT_GT(EndPage(dc), 0);
        ASSERT_GT(EndDoc(dc), 0);
    }
    const std::vector<SpooledJob> jobs = Jobs();
    ASSERT_EQ(2u, jobs.size());
    EXPECT_EQ(L"first", jobs[0].document);
    EXPECT_EQ(L"second", jobs[1].document);
    EXPECT_LT(jobs[0].id, jobs[1].id);
}

TEST_F(PrinterDcTest, AbortDocAndAnEmptyDocumentLeaveNothing)
{
    ScopedPrinterDC dc(L"Laser");
    const DOCINFOW info = DocInfo(L"dropped");
    ASSERT_GT(StartDocW(dc, &info), 0);
    ASSERT_GT(StartPage(dc), 0);
    DrawPage(dc);
    ASSERT_GT(EndPage(dc), 0);
    ASSERT_GT(AbortDoc(dc), 0);
    EXPECT_TRUE(SpoolEntries().empty());
    EXPECT_EQ(SP_ERROR, EndDoc(dc));   // nothing left to end
    EXPECT_EQ(SP_ERROR, AbortDoc(dc));

    // A document without pages prints nothing, and ends well.
    ASSERT_GT(StartDocW(dc, &info), 0);
    EXPECT_GT(EndDoc(dc), 0);
    EXPECT_TRUE(SpoolEntries().empty());
}

// Records its calls and says stop at the call given.
struct AbortProbe {
    static int calls;
    static int stopAt;
    static HDC lastDc;
    static int lastError;
    static BOOL Proc(HDC hdc, int error)
    {
        lastDc = hdc;
        lastError = error;
        return ++calls != stopAt;
    }
};
int AbortProbe::calls = 0;
int AbortProbe::stopAt = 0;
HDC AbortProbe::lastDc = nullptr;
int AbortProbe::lastError = -1;

TEST_F(PrinterDcTest, AnAbortProcReturningFalseStopsTheJob)
{
    ScopedPrinterDC dc(L"Laser");
    AbortProbe::calls = 0;
    AbortProbe::stopAt = 3;   // StartPage, EndPage, then the second StartPage
    ASSERT_GT(SetAbortProc(dc, &AbortProbe::Proc), 0);
    const DOCINFOW info = DocInfo(L"cancelled");
    ASSERT_GT(StartDocW(dc, &info), 0);
    ASSERT_GT(StartPage(dc), 0);
    DrawPage(dc);
    ASSERT_GT(EndPage(dc), 0);
    EXPECT_EQ(SP_APPABORT, StartPage(dc));
    EXPECT_EQ(3, AbortProbe::calls);
    EXPECT_EQ((HDC)dc, AbortProbe::lastDc);
    EXPECT_EQ(0, AbortProbe::lastError);
    // The job is gone: the rest of the report's calls fail and nothing lands.
    EXPECT_EQ(SP_ERROR, EndPage(dc));
    EXPECT_EQ(SP_ERROR, EndDoc(dc));
    EXPECT_TRUE(SpoolEntries().empty());

    // Stopping at an EndPage drops the job the same way.
    AbortProbe::calls = 0;
    AbortProbe::stopAt = 2;
    ASSERT_GT(StartDocW(dc, &info), 0);
    ASSERT_GT(StartPage(dc), 0);
    EXPECT_EQ(SP_APPABORT, EndPage(dc));
    EXPECT_EQ(SP_ERROR, EndDoc(dc));
    EXPECT_TRUE(SpoolEntries().empty());

    // A null procedure removes it.
    ASSERT_GT(SetAbortProc(dc, nullptr), 0);
    AbortProbe::calls = 0;
    ASSERT_GT(StartDocW(dc, &info), 0);
    ASSERT_GT(StartPage(dc), 0);
    ASSERT_GT(EndDoc(dc), 0);
    EXPECT_EQ(0, AbortProbe::calls);
    EXPECT_EQ(1u, Jobs().size());
}

TEST_F(PrinterDcTest, DeletingTheDcOfAnUnfinishedJobLeavesNothing)
{
    ScopedPrinterDC dc(L"Laser");
    const DOCINFOW info = DocInfo(L"left open");
    ASSERT_GT(StartDocW(dc, &info), 0);
    ASSERT_GT(StartPage(dc), 0);
    DrawPage(dc);
    const HDC stale = dc.Release();
    ASSERT_TRUE(DeleteDC(stale));
    // The next print call tidies up what the deleted DC had reserved.
    EXPECT_EQ(SP_ERROR, StartDocW(stale, &info));
    EXPECT_EQ(ERROR_INVALID_HANDLE, GetLastError());
    ScopedPrinterDC next(L"Laser");
    EXPECT_TRUE(SpoolEntries().empty());
}

TEST_F(PrinterDcTest, PrintingToAFileWritesThePdfThere)
{
    if (!HavePdfInfo()) GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    ScopedPrinterDC dc(L"Laser");
    const std::string target = m_dir.File("report.pdf");
    const std::wstring wide = W(target);
    const DOCINFOW info = DocInfo(L"to file", wide.c_str());
    ASSERT_GT(StartDocW(dc, &info), 0);
    ASSERT_GT(StartPage(dc), 0);
    DrawPage(dc);
    ASSERT_GT(EndPage(dc), 0);
    ASSERT_GT(EndDoc(dc), 0);
    EXPECT_EQ("1", PdfInfo(target)["Pages"]);
    EXPECT_TRUE(SpoolEntries().empty());
}

TEST_F(PrinterDcTest, MisusedPrinterDcsFail)
{
    EXPECT_EQ(nullptr, CreateDCW(L"WINSPOOL", L"Nobody", nullptr, nullptr));
    EXPECT_EQ(ERROR_INVALID_PRINTER_NAME, GetLastError());
    EXPECT_EQ(nullptr, CreateDCW(nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(nullptr, CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
    std::vector<BYTE> bad = DevMode(L"Laser", 77, DMORIENT_PORTRAIT);
    EXPECT_EQ(nullptr, CreateDCW(nullptr, L"Laser", nullptr, reinterpret_cast<PDEVMODEW>(bad.data())));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, GetLastError());

    // The job calls on a DC that is not a printer's.
    const HDC image = platform::gdi::CreateImageDC(10, 10);
    const DOCINFOW info = DocInfo(L"x");
    EXPECT_EQ(SP_ERROR, StartDocW(image, &info));
    EXPECT_EQ(SP_ERROR, StartPage(image));
    EXPECT_EQ(SP_ERROR, EndPage(image));
    EXPECT_EQ(SP_ERROR, EndDoc(image));
    EXPECT_EQ(SP_ERROR, AbortDoc(image));
    EXPECT_EQ(SP_ERROR, SetAbortProc(image, &AbortProbe::Proc));
    EXPECT_EQ(SP_ERROR, StartDocW(nullptr, &info));
    DeleteDC(image);

    // Out of order on a printer's DC.
    ScopedPrinterDC dc(L"Laser");
    EXPECT_EQ(SP_ERROR, StartPage(dc));
    EXPECT_EQ(ERROR_SPL_NO_STARTDOC, GetLastError());
    EXPECT_EQ(SP_ERROR, EndPage(dc));
    EXPECT_EQ(SP_ERROR, StartDocW(dc, nullptr));
    ASSERT_GT(StartDocW(dc, &info), 0);
    EXPECT_EQ(SP_ERROR, StartDocW(dc, &info));
    EXPECT_EQ(SP_ERROR, EndPage(dc));   // no page started
    ASSERT_GT(StartPage(dc), 0);
    EXPECT_EQ(SP_ERROR, StartPage(dc));
    ASSERT_GT(AbortDoc(dc), 0);
    EXPECT_TRUE(SpoolEntries().empty());
}

}  // namespace
}  // namespace printtest
