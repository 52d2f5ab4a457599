// Printer selection and the PDF path: the job settings, picking the default
// printer, the PDF printer's registry options around a job, a page printed
// to the PDF printer and moved to its destination, and every way the move
// can fail without losing the PDF.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "core/TavrionDoc.h"
#include "platform/base/CodePage.h"
#include "platform/base/Profile.h"
#include "platform/base/Registry.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "printdevice/ECGDC.h"
#include "printdevice/ECGPrinter.h"
#include "printdevice/PrintWaveBK.h"
#include "tests/printdevice/PrintDeviceTestSupport.h"

namespace {

using namespace printdevicetest;
using printtest::W;

const wchar_t kDriverData[] =
    L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Acrobat Distiller\\PrinterDriverData";

// A one-byte option of the PDF printer; -1 when absent.
int DistillerOption(const wchar_t* name)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kDriverData, 0, KEY_READ, &key) != ERROR_SUCCESS) return -1;
    BYTE value[4] = {};
    DWORD size = sizeof value;
    const LONG result = RegQueryValueExW(key, name, nullptr, nullptr, value, &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? value[0] : -1;
}

// Whether the options are the PDF printer's own (asking, viewing) or the silent ones.
bool DistillerAsks()
{
    return DistillerOption(L"PromptForFileName") == 1 && DistillerOption(L"AskToReplacePDF") == 1 &&
           DistillerOption(L"ViewPrintOutput") == 1 && DistillerOption(L"DeleteLogFiles") == 0;
}

bool DistillerSilent()
{
    return DistillerOption(L"PromptForFileName") == 0 && DistillerOption(L"AskToReplacePDF") == 0 &&
           DistillerOption(L"ViewPrintOutput") == 0 && DistillerOption(L"DeleteLogFiles") == 1;
}

std::wstring JobOptions()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Adobe\\Acrobat Distiller\\5.0", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return L"";
    wchar_t value[64] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    RegQueryValueExW(key, L"JobOptions", nullptr, nullptr, reinterpret_cast<LPBYTE>(value), &size);
    RegCloseKey(key);
    return value;
}

// ---- job settings ------------------------------------------------------------------------------

TEST(ECGPrinterSettings, RefusedValuesKeepOrClearWhatTheDesignSays)
{
    CECGPrinter printer;
    EXPECT_TRUE(printer.SetCopies(3));
    EXPECT_FALSE(printer.SetCopies(100));
    EXPECT_FALSE(printer.SetCopies(0));
    EXPECT_EQ(3, printer.GetCopies());

    int paper = 0, orientation = 0;
    EXPECT_FALSE(printer.SetPageSize(42, 2));
    EXPECT_FALSE(printer.SetPageSize(9, 3));
    printer.GetPageSize(paper, orientation);
    EXPECT_EQ(9, paper);
    EXPECT_EQ(2, orientation);

    // A4 landscape is 297 mm wide.
    int left, right, top, bottom;
    EXPECT_TRUE(printer.SetPrintMargin(100, 100, 5, 5));
    printer.GetPrintMargin(left, right, top, bottom);
    EXPECT_EQ(100, left);
    EXPECT_EQ(5, bottom);
    EXPECT_FALSE(printer.SetPrintMargin(200, 100, 5, 5));
    printer.GetPrintMargin(left, right, top, bottom);
    EXPECT_EQ(0, left + right + top + bottom);
    EXPECT_FALSE(printer.SetPrintMargin(-5, 0, 0, 0));

    printer.SetPrinterName(L"acrobat distiller");
    EXPECT_EQ(2, printer.GetPrintType());
    printer.SetPrintType(3);
    printer.SetPrinterName(L"Laser");
    EXPECT_EQ(3, printer.GetPrintType());
}

TEST(ECGPrinterSettings, CopiesHaveDeviceContextsOfTheirOwn)
{
    const int live = platform::gdi::LiveObjectCount();
    {
        CECGPrinter printer;
        printer.SetCopies(4);
        printer.SetPDFSavePath(L"/tmp/out/");
        CECGPrinter copy(printer);
        CECGPrinter assigned;
        assigned = printer;
        EXPECT_EQ(4, copy.GetCopies());
        EXPECT_EQ(L"/tmp/out/", assigned.GetPDFSavePath());
        EXPECT_NE(printer.GetPrintECGDC(), copy.GetPrintECGDC());
        EXPECT_NE(printer.GetPrintECGDC()->GetDC(), assigned.GetPrintECGDC()->GetDC());
    }
    EXPECT_EQ(live, platform::gdi::LiveObjectCount());
}

// ---- opening the printer ----------------------------------------------------------------------

class ECGPrinterJob : public RawJobTest {
protected:
    void SetUp() override
    {
        RawJobTest::SetUp();
        CECGPrinter::SetFileWaitTimeout(300);
    }
    void TearDown() override
    {
        CECGPrinter::SetFileWaitTimeout(10000);
        RawJobTest::TearDown();
    }

    // The PDF printer writing into <test>/desktop; with an installation folder unless told not to.
    void AddPdfPrinter(bool withInstall = true, bool withVok = false)
    {
        m_desktop = m_dir.File("desktop");
        ::mkdir(m_desktop.c_str(), 0755);
        platform::print::PdfPrinterSetup setup;
        setup.outputFolder = W(m_desktop);
        if (withInstall) setup.installFolder = W(m_dir.File("Adobe"));
        setup.withVokJobOptions = withVok;
        ASSERT_TRUE(platform::print::ConfigurePdfPrinter(setup));
    }

    std::string m_desktop;
    platform::ui::MessageBoxRecorder m_boxes;
};

TEST_F(ECGPrinterJob, RawPrinterGetsThePrintableRectangleOfItsMargins)
{
    CECGPrinter printer;
    printer.SetPrinterName(kRawPrinter);
    printer.SetPrintType(3);
    ASSERT_TRUE(printer.SetPrintMargin(10, 20, 5, 10));
    ASSERT_TRUE(printer.CreateECGPrintDC(&m_doc));
    // A4 landscape 297 x 210 mm on the raw printers' 6774 x 4712 pixels.
    const _PRINTER_SETTING* own = printer.GetPrintSetting();
    EXPECT_EQ(228, own->nPrintLeft);     // 10 x 6774 / 297 = 228.08
    EXPECT_EQ(112, own->nPrintTop);      // 5 x 4712 / 210 = 112.19
    EXPECT_EQ(6318, own->nPrintRight);   // 277 x 6774 / 297 = 6317.8
    EXPECT_EQ(4488, own->nPrintBottom);  // 200 x 4712 / 210 = 4487.6
    EXPECT_FLOAT_EQ(6774.0f / 287.0f, own->fPixelPerMM);
    // The device context draws with the same rectangle.
    const _PRINTER_SETTING& used = printer.GetPrintECGDC()->GetPrinterSetting();
    EXPECT_EQ(own->nPrintLeft, used.nPrintLeft);
    EXPECT_EQ(own->nPrintBottom, used.nPrintBottom);
    EXPECT_EQ(own->fPixelPerMM, used.fPixelPerMM);

    CECGDC* dc = printer.GetPrintECGDC();
    ASSERT_GT(dc->StartDoc(L"Margins"), 0);
    dc->LineTo(used.nPrintLeft, used.nPrintTop);
    dc->EndDoc();
    dc->CloseECGPrinter();
    ASSERT_EQ(1u, Jobs().size());
    EXPECT_EQ("PD228,112;", testsupport::ReadFileBytes(Jobs()[0].dataPath));
}

TEST_F(ECGPrinterJob, APrinterThatDoesNotOpenIsAFailure)
{
    AddPdfPrinter();
    CECGPrinter missing;
    missing.SetPrinterName(L"No Such Printer");
    EXPECT_FALSE(missing.CreateECGPrintDC(&m_doc));

    // A PDF job whose printer fails to open (a queue kind this platform
    // cannot drive) leaves the PDF printer asking again.
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                                           L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Acrobat Distiller",
                                           0, KEY_ALL_ACCESS, &key));
    const std::wstring unsupported = L"cups";
    RegSetValueExW(key, L"Kind", 0, REG_SZ, reinterpret_cast<const BYTE*>(unsupported.c_str()),
                   (DWORD)((unsupported.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    CECGPrinter pdf;
    pdf.SetPrinterName(L"Acrobat Distiller");
    EXPECT_FALSE(pdf.CreateECGPrintDC(&m_doc));
    EXPECT_FALSE(pdf.IsDistillerInfo());
    EXPECT_TRUE(DistillerAsks());
}

TEST_F(ECGPrinterJob, TheDefaultPrinterComesFromTheProfile)
{
    AddPdfPrinter();
    CECGPrinter none;
    EXPECT_FALSE(none.CreateECGPrintDC(&m_doc));   // no default printer yet

    ASSERT_TRUE(WriteProfileStringW(L"windows", L"device", L"Acrobat Distiller"));
    EXPECT_FALSE(none.CreateECGPrintDC(&m_doc));   // an entry without a comma

    ASSERT_TRUE(WriteProfileStringW(L"windows", L"device", L"Acrobat Distiller,AdobePS Acrobat Distiller,x"));
    CECGPrinter printer;
    ASSERT_TRUE(printer.CreateECGPrintDC(&m_doc));
    EXPECT_EQ(L"Acrobat Distiller", printer.GetPrinterName());
    EXPECT_EQ(2, printer.GetPrintType());
    EXPECT_TRUE(printer.IsDistillerInfo());
    EXPECT_TRUE(DistillerSilent());
    EXPECT_TRUE(printer.RecoverDistillerInfo());
    EXPECT_FALSE(printer.IsDistillerInfo());
    EXPECT_TRUE(DistillerAsks());
    EXPECT_EQ(0, m_boxes.Count());
}

TEST_F(ECGPrinterJob, VokJobOptionsAreUsedWhenInstalled)
{
    AddPdfPrinter(true, false);
    CECGPrinter printer;
    printer.SetPrinterName(L"Acrobat Distiller");
    ASSERT_TRUE(printer.CreateECGPrintDC(&m_doc));
    EXPECT_TRUE(DistillerSilent());
    EXPECT_EQ(L"eBook", JobOptions());   // no Vok.joboptions: left alone

    AddPdfPrinter(true, true);
    CECGPrinter vok;
    vok.SetPrinterName(L"Acrobat Distiller");
    ASSERT_TRUE(vok.CreateECGPrintDC(&m_doc));
    EXPECT_EQ(L"Vok", JobOptions());
    EXPECT_TRUE(vok.RecoverDistillerInfo());
    EXPECT_EQ(L"eBook", JobOptions());
    EXPECT_EQ(0, m_boxes.Count());
}

TEST_F(ECGPrinterJob, AFailedSetUpLeavesThePDFPrinterAsking)
{
    // No Acrobat installation in the registry: the options were already
    // written when that turns out, and must be put back.
    AddPdfPrinter(false);
    CECGPrinter printer;
    printer.SetPrinterName(L"Acrobat Distiller");
    EXPECT_TRUE(printer.CreateECGPrintDC(&m_doc));   // the job runs with the printer's own options
    EXPECT_FALSE(printer.IsDistillerInfo());
    ASSERT_EQ(1, m_boxes.Count());
    EXPECT_EQ(L"Fail to open registry!", m_boxes.Last().text);
    EXPECT_TRUE(m_boxes.Last().framework);
    EXPECT_TRUE(DistillerAsks());
}

// ---- the PDF path end to end ------------------------------------------------------------------

// The grey of a PGM image's pixel; -1 outside or when the file is no P5 PGM.
class Pgm {
public:
    explicit Pgm(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::string magic;
        int maxValue = 0;
        in >> magic >> m_width >> m_height >> maxValue;
        in.get();
        if (magic != "P5" || maxValue != 255 || m_width <= 0 || m_height <= 0) return;
        m_pixels.resize((size_t)m_width * (size_t)m_height);
        in.read(reinterpret_cast<char*>(m_pixels.data()), (std::streamsize)m_pixels.size());
        if (!in) m_pixels.clear();
    }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int At(int x, int y) const
    {
        if (m_pixels.empty() || x < 0 || y < 0 || x >= m_width || y >= m_height) return -1;
        return m_pixels[(size_t)y * (size_t)m_width + (size_t)x];
    }

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<unsigned char> m_pixels;
};

TEST_F(ECGPrinterJob, APageToThePDFPrinterLandsAsAPDFInTheSaveFolder)
{
    if (!printtest::HavePdfInfo()) GTEST_SKIP() << "pdfinfo and pdftoppm (poppler-utils) are not installed";
    AddPdfPrinter();
    const std::string saveFolder = m_dir.File("reports/2024");   // made on the way

    CECGPrinter printer;
    printer.SetPrinterName(L"Acrobat Distiller");
    printer.SetPDFSavePath(W(saveFolder + "/").c_str());
    ASSERT_TRUE(printer.SetCopies(3));
    ASSERT_TRUE(printer.SetPageSize(9, 2));
    ASSERT_TRUE(printer.SetPrintMargin(10, 0, 0, 0));
    ASSERT_TRUE(printer.CreateECGPrintDC(&m_doc));
    const _PRINTER_SETTING* setting = printer.GetPrintSetting();
    ASSERT_GT(setting->fPixelPerMM, 20.0f);   // about 600 dots per inch

    CECGDC* dc = printer.GetPrintECGDC();
    ASSERT_GT(dc->StartDoc(L"Resting ECG"), 0);
    ASSERT_GT(dc->StartPage(), 0);
    // A ruled 100 x 50 mm grid 20 mm from the top of the printable area and a
    // solid black 30 x 20 mm block below it.
    const double px = setting->fPixelPerMM;
    CPrintWaveBK grid;
    grid.SetGridType(1);
    grid.SetOrigin(CPoint(setting->nPrintLeft, (int)(20 * px)));
    ASSERT_TRUE(grid.CreatePrintBKGround(100, 50, px, dc));
    CBrush black(RGB(0, 0, 0));
    const RECT block = {setting->nPrintLeft, (int)(100 * px), setting->nPrintLeft + (int)(30 * px), (int)(120 * px)};
    dc->FillRect(&block, &black);
    dc->TextOut(setting->nPrintLeft, (int)(130 * px), CString(L"心電図 ECG"));
    ASSERT_GT(dc->EndPage(), 0);
    ASSERT_GT(dc->EndDoc(), 0);

    EXPECT_TRUE(printer.RecoverDistillerInfo());
    ASSERT_TRUE(printer.MovePDFFile()) << platform::ToUtf8(m_boxes.Last().text.str());
    const std::string name = platform::ToUtf8(dc->GetPDFFileName().str());
    const std::string pdf = saveFolder + "/" + name + ".pdf";
    EXPECT_TRUE(printtest::Exists(pdf));
    EXPECT_TRUE(printtest::Exists(saveFolder + "/" + name + "~2.pdf"));
    EXPECT_TRUE(printtest::Exists(saveFolder + "/" + name + "~3.pdf"));
    EXPECT_TRUE(printtest::FolderEntries(m_desktop).empty());   // moved, not copied

    const auto info = printtest::PdfInfo(pdf);
    ASSERT_FALSE(info.empty()) << "not a PDF poppler reads";
    EXPECT_EQ("1", info.at("Pages"));
    // A4 landscape: 841.89 x 595.276 points.
    double width = 0, height = 0;
    ASSERT_EQ(2, std::sscanf(info.at("Page size").c_str(), "%lf x %lf", &width, &height));
    EXPECT_NEAR(841.89, width, 1.0);
    EXPECT_NEAR(595.28, height, 1.0);

    // Rendered at 1 pixel per millimetre-ish (25.4 dpi): the block is black,
    // paper beside it white.
    const std::string image = m_dir.File("page");
    const std::string command = "pdftoppm -r 25.4 -gray -singlefile '" + pdf + "' '" + image + "' 2>/dev/null";
    ASSERT_EQ(0, std::system(command.c_str()));
    const Pgm page(image + ".pgm");
    ASSERT_NEAR(297, page.Width(), 1);
    // The printable area starts at the device origin; the block is 10 mm in.
    const int left = (int)(setting->nPrintLeft / px);
    EXPECT_LT(page.At(left + 15, 110), 64);
    EXPECT_GT(page.At(left + 60, 110), 192);
    EXPECT_GT(page.At(left + 15, 140), 128);
}

// ---- MovePDFFile keeps the PDF whenever it cannot be moved ------------------------------------

class MovePDF : public ECGPrinterJob {
protected:
    void SetUp() override
    {
        ECGPrinterJob::SetUp();
        AddPdfPrinter();
        m_printer.SetPrinterName(L"Acrobat Distiller");
        ASSERT_TRUE(m_printer.GetPrintPort());
        // A finished PDF job: its name, and the file the printer wrote.
        CECGDC* dc = m_printer.GetPrintECGDC();
        dc->SetPrintType(2);
        dc->StartDoc(L"job");
        m_name = platform::ToUtf8(dc->GetPDFFileName().str()) + ".pdf";
        m_source = m_desktop + "/" + m_name;
        m_save = m_dir.File("save");
    }
    void WriteSource() { std::ofstream(m_source) << "%PDF-1.4\n%%EOF\n"; }

    CECGPrinter m_printer;
    std::string m_name;
    std::string m_source;
    std::string m_save;
};

TEST_F(MovePDF, NoPDFFromThePrinterTimesOut)
{
    m_printer.SetPDFSavePath(W(m_save + "/").c_str());
    EXPECT_FALSE(m_printer.MovePDFFile());
    EXPECT_EQ(L"PDF Print Timeout!", m_boxes.Last().text);
}

TEST_F(MovePDF, AFolderThatCannotBeMadeKeepsThePDF)
{
    WriteSource();
    const std::string blocker = m_dir.Write("blocker", "a file, not a folder");
    m_printer.SetPDFSavePath(W(blocker + "/sub/").c_str());
    EXPECT_FALSE(m_printer.MovePDFFile());
    EXPECT_EQ(L"No authority to create directory!", m_boxes.Last().text);
    EXPECT_TRUE(printtest::Exists(m_source));
}

TEST_F(MovePDF, AMoveThatFailsKeepsThePDF)
{
    WriteSource();
    // A folder where the PDF should go cannot be replaced by it.
    ASSERT_EQ(0, ::mkdir(m_save.c_str(), 0755));
    ASSERT_EQ(0, ::mkdir((m_save + "/" + m_name).c_str(), 0755));
    m_printer.SetPDFSavePath(W(m_save).c_str());   // the separator is added
    EXPECT_FALSE(m_printer.MovePDFFile());
    EXPECT_EQ(L"Move Error!\r\nPlease check your destination disk space!", m_boxes.Last().text);
    EXPECT_TRUE(printtest::Exists(m_source));
}

TEST_F(MovePDF, ACopyThatFailsIsReported)
{
    WriteSource();
    ASSERT_TRUE(m_printer.SetCopies(3));
    ASSERT_EQ(0, ::mkdir(m_save.c_str(), 0755));
    const std::string stem = m_name.substr(0, m_name.size() - 4);
    ASSERT_EQ(0, ::mkdir((m_save + "/" + stem + "~3.pdf").c_str(), 0755));
    m_printer.SetPDFSavePath(W(m_save + "/").c_str());
    EXPECT_FALSE(m_printer.MovePDFFile());
    EXPECT_EQ(L"Copy Error!\r\nPlease check your destination disk space!", m_boxes.Last().text);
    EXPECT_TRUE(printtest::Exists(m_save + "/" + m_name));
    EXPECT_TRUE(printtest::Exists(m_save + "/" + stem + "~2.pdf"));
}

TEST_F(MovePDF, AnExistingReportIsReplaced)
{
    WriteSource();
    ASSERT_EQ(0, ::mkdir(m_save.c_str(), 0755));
    std::ofstream(m_save + "/" + m_name) << "old";
    m_printer.SetPDFSavePath(W(m_save + "/").c_str());
    EXPECT_TRUE(m_printer.MovePDFFile());
    EXPECT_EQ("%PDF-1.4\n%%EOF\n", testsupport::ReadFileBytes(m_save + "/" + m_name));
    EXPECT_FALSE(printtest::Exists(m_source));
    EXPECT_EQ(0, m_boxes.Count());
}

}  // namespace
