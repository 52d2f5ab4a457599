#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <limits>
#include <map>
#include <new>
#include <sstream>

#include "core/Globals.h"
#include "core/TavrionDoc.h"
#include "dialogs/DlgPrintStatus.h"
#include "platform/gdi/TextLayout.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "printdevice/ECGPrinter.h"
#include "tests/platform/print/PrintTestSupport.h"
#include "tests/reports/ReportTestSupport.h"
#include "tests/support/MemoryLimit.h"
#include "tests/support/ModalScript.h"

namespace {

using reporttest::CTestAnno;
using reporttest::CTestReport;

const char kRecordXml[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<Rawdata><Tavrion><Inspection><Patient_section>"
    "<Patient_id>P-0042</Patient_id><Patient_name>心電 太郎</Patient_name>"
    "</Patient_section></Inspection></Tavrion></Rawdata>\n";

// A report job through the PDF printer of the test's own registry, its
// PDFs saved into <test>/saved.
class ReportJob : public printtest::PrintTest {
protected:
    void SetUp() override
    {
        WarmUpButtonPainting();
        printtest::PrintTest::SetUp();
        CECGPrinter::SetFileWaitTimeout(300);
        m_desktop = m_dir.File("desktop");
        ::mkdir(m_desktop.c_str(), 0755);
        platform::print::PdfPrinterSetup setup;
        setup.outputFolder = printtest::W(m_desktop);
        setup.installFolder = printtest::W(m_dir.File("Adobe"));
        ASSERT_TRUE(platform::print::ConfigurePdfPrinter(setup));
        m_saved = m_dir.File("saved");
        m_printer.reset(new CECGPrinter);
        m_report.reset(new CTestReport);
        m_anno.reset(new CTestAnno);
        m_printer->SetPrinterName(L"Acrobat Distiller");
        m_printer->SetPDFSavePath(printtest::W(m_saved + "/").c_str());
        ASSERT_TRUE(m_printer->SetPageSize(9, 2));
        m_xml = CString(printtest::W(m_dir.Write("record.xml", kRecordXml)).c_str());
        ASSERT_TRUE(m_notify.CreateEx(0, nullptr, L"host", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
        m_doc.SetNotifyWnd(&m_notify);
        Prepare(*m_report);
        Prepare(*m_anno);
    }
    void TearDown() override
    {
        m_doc.SetNotifyWnd(nullptr);
        m_notify.DestroyWindow();
        m_anno.reset();
        m_report.reset();
        m_printer.reset();
        g_bPrintAbort = 0;
        CECGPrinter::SetFileWaitTimeout(10000);
        printtest::PrintTest::TearDown();
    }

    // The first pressed button the window system paints makes an object it
    // keeps for the process; made before the GDI count starts, it is not
    // counted as the job's.
    static void WarmUpButtonPainting()
    {
        CDlgPrintStatus box(nullptr);
        if (!box.Create(CDlgPrintStatus::IDD, nullptr)) return;
        box.ShowWindow(SW_SHOW);
        testsupport::ClickControl(box, IDCANCEL);
        if (box.m_hWnd) box.DestroyWindow();
    }

    template <class Report> void Prepare(Report& report)
    {
        report.m_pDoc = &m_doc;
        report.m_DocType = 0;
        report.m_pPrinter = m_printer.get();
    }

    // Pages with a title line each, stopping at a failed page end.
    static short PrintPages(CTestReport& report, int pages, const std::function<void(int)>& onPage = nullptr)
    {
        report.m_nPageCount = pages;
        for (int page = 1; page <= pages; ++page) {
            if (report.m_pECGDC->StartPage() <= 0) return 1;
            if (!report.PrintTitle(L"安静時心電図", page, pages, 0, 1)) return 1;
            if (onPage) onPage(page);
            if (report.m_pECGDC->EndPage() <= 0) return 1;
        }
        return 0;
    }

    std::vector<std::string> Saved() const { return testsupport::FolderEntries(m_saved); }
    std::vector<std::string> Desktop() const { return testsupport::FolderEntries(m_desktop); }

    static void ExpectStyleReset(CTestReport& report)
    {
        EXPECT_EQ(report.m_lPrintStyle, -1);
        EXPECT_EQ(report.m_lPrintOption, 0);
        EXPECT_EQ(report.m_nPageCount, 0);
        EXPECT_EQ(report.m_nCurrentPage, 1);
        EXPECT_EQ(report.m_bPrintShown, 0);
        EXPECT_EQ(report.m_bHideStatus, 0);
    }

    // What a job run in a child process left of the report, the host's
    // window and the boxes, named: `job` runs the print and the checks and
    // notes what it saw.
    using Notes = std::map<std::string, long>;
    Notes InChild(const std::function<void(Notes&)>& job)
    {
        const std::string file = m_dir.File("notes");
        const int status = testsupport::RunInChild([&] {
            Notes notes;
            job(notes);
            // The printer gives up its last job's name as it goes.
            m_anno.reset();
            m_report.reset();
            m_printer.reset();
            std::ofstream out(file);
            for (const auto& note : notes) out << note.first << ' ' << note.second << '\n';
            return out ? 0 : 1;
        });
        EXPECT_EQ(0, status) << "134: an exception left the job";
        Notes notes;
        std::ifstream in(file);
        std::string key;
        long value = 0;
        while (in >> key >> value) notes[key] = value;
        ::unlink(file.c_str());
        return notes;
    }
    // What the job left: the host told of its end, the status box gone, the
    // style reset, the boxes shown.
    template <class Report> void NoteJobEnd(Notes& notes, const std::string& prefix, Report& report)
    {
        notes[prefix + "ended"] = m_notify.ended;
        notes[prefix + "boxOpen"] = report.m_pDlgPrintStatus->GetSafeHwnd() != nullptr;
        notes[prefix + "boxes"] = m_boxes.Count();
        notes[prefix + "distiller"] = m_printer->IsDistillerInfo();
    }
    // The text of the PDF, as pdftotext reads it.
    static std::string PdfText(const std::string& path)
    {
        std::string text;
        FILE* pipe = ::popen(("pdftotext -enc UTF-8 '" + path + "' - 2>/dev/null").c_str(), "r");
        if (!pipe) return text;
        char buffer[4096];
        size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, n);
        ::pclose(pipe);
        return text;
    }

    std::string m_desktop;
    std::string m_saved;
    CString m_xml;
    CTavrionDoc m_doc;
    // Made and deleted inside the test, so their fonts and pens count in its GDI balance.
    std::unique_ptr<CECGPrinter> m_printer;
    std::unique_ptr<CTestReport> m_report;
    std::unique_ptr<CTestAnno> m_anno;
    reporttest::CJobEndLog m_notify;
    platform::ui::MessageBoxRecorder m_boxes;
};

}  // namespace

TEST_F(ReportJob, AReportOfThreePagesIsDeliveredAsOnePdfAndTheMembersAreReset)
{
    m_report->step = [](CTestReport& report) { return PrintPages(report, 3); };
    EXPECT_TRUE(m_report->ECGDefaultPrint(m_xml, 0x12345, 7));
    EXPECT_EQ(m_report->styleSeen, 0x12345);
    EXPECT_EQ(m_notify.ended, 1);
    EXPECT_EQ(m_boxes.Count(), 0);
    ASSERT_EQ(Saved().size(), 1u);
    EXPECT_TRUE(Desktop().empty());
    EXPECT_FALSE(m_printer->IsDistillerInfo());
    ExpectStyleReset(*m_report);
    if (!printtest::HavePdfInfo()) GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    const auto info = printtest::PdfInfo(m_saved + "/" + Saved()[0]);
    EXPECT_EQ(info.at("Pages"), "3");
}

TEST_F(ReportJob, TheTopTwoStyleBitsPrintWhatIsShownAndHideTheBox)
{
    const struct {
        long style;
        BOOL shown, hidden;
    } cases[] = {
        // style           shown  hidden
        {0x3FFFFFFFL, 0, 0},
        {0x40000000L, 0, 1},
        {0x80000000L, 1, 0},
        {-1L, 1, 1},
    };
    for (const auto& c : cases) {
        m_report->step = [](CTestReport& report) {
            EXPECT_EQ(report.m_pDlgPrintStatus->IsWindowVisible() ? 0 : 1, report.hiddenSeen);
            return short(0);
        };
        EXPECT_TRUE(m_report->ECGDefaultPrint(m_xml, c.style, 0));
        EXPECT_EQ(m_report->shownSeen, c.shown) << std::hex << c.style;
        EXPECT_EQ(m_report->hiddenSeen, c.hidden) << std::hex << c.style;
        ExpectStyleReset(*m_report);
    }
}

TEST_F(ReportJob, AStandardReportWithoutAPageCountLeavesThePdfWithThePrinter)
{
    m_report->step = [](CTestReport& report) {
        report.m_pECGDC->StartPage();
        report.m_pECGDC->EndPage();
        return short(0);
    };
    EXPECT_TRUE(m_report->ECGDefaultPrint(m_xml, 0, 0));
    EXPECT_TRUE(Saved().empty());
    EXPECT_EQ(Desktop().size(), 1u);
    // The printer's own settings are back all the same.
    EXPECT_FALSE(m_printer->IsDistillerInfo());
}

TEST_F(ReportJob, AnAnnotationReportIsAlwaysDelivered)
{
    m_anno->step = [](CTestAnno& report) {
        report.m_pECGDC->StartPage();
        report.PrintTitle(L"注釈", 1, 1, 0, 1);
        report.m_pECGDC->EndPage();
        return short(0);
    };
    EXPECT_TRUE(m_anno->ECGAnnoDefaultPrint(m_xml));
    EXPECT_EQ(Saved().size(), 1u);
    EXPECT_EQ(m_notify.ended, 1);
}

TEST_F(ReportJob, CancelOnPageTwoStopsTheJobSilentlyAndDeliversNothing)
{
    m_report->step = [](CTestReport& report) {
        return PrintPages(report, 4, [&](int page) {
            if (page != 2) return;
            // The user presses Cancel while the page prints; the printer's
            // abort procedure lets the click through at the page's end.
            CDlgPrintStatus* box = report.m_pDlgPrintStatus;
            ASSERT_TRUE(box->IsWindowVisible());
            CWnd* cancel = box->GetDlgItem(IDCANCEL);
            ASSERT_NE(cancel, nullptr);
            CRect rect;
            cancel->GetClientRect(&rect);
            platform::ui::Desktop::Click(cancel->m_hWnd, rect.Width() / 2, rect.Height() / 2);
        });
    };
    EXPECT_FALSE(m_report->ECGDefaultPrint(m_xml, 0, 0));
    EXPECT_EQ(g_bPrintAbort, 1);
    EXPECT_EQ(m_doc.IsPrintCancel(), 1);
    EXPECT_EQ(m_boxes.Count(), 0) << platform::ToUtf8(m_boxes.Last().text.str());
    EXPECT_EQ(m_notify.ended, 1);
    EXPECT_FALSE(m_printer->IsDistillerInfo());
    EXPECT_TRUE(Saved().empty());
    EXPECT_TRUE(Desktop().empty());
    ExpectStyleReset(*m_report);
}

TEST_F(ReportJob, AFailingStepIsAPrintErrorAndNothingIsDelivered)
{
    m_report->step = [](CTestReport& report) {
        report.m_nPageCount = 1;
        report.m_pECGDC->StartPage();
        report.m_pECGDC->EndPage();
        return short(1);
    };
    EXPECT_FALSE(m_report->ECGDefaultPrint(m_xml, 0, 0));
    ASSERT_EQ(m_boxes.Count(), 1);
    EXPECT_EQ(m_boxes.Last().text.str(), L"印刷エラー");
    EXPECT_EQ(m_notify.ended, 1);
    EXPECT_TRUE(Saved().empty());
    ExpectStyleReset(*m_report);
}

TEST_F(ReportJob, AJobTheSpoolerCannotFinishIsAPrintErrorNotASuccess)
{
    // The PDF printer's port folder disappears while the pages are drawn:
    // the spooler cannot write the job, and the report must not say it printed.
    m_report->step = [&](CTestReport& report) {
        report.m_nPageCount = 1;
        report.m_pECGDC->StartPage();
        report.m_pECGDC->EndPage();
        EXPECT_EQ(0, ::rename(m_desktop.c_str(), (m_desktop + ".gone").c_str()));
        m_dir.Write("desktop", "a file where the folder was");
        return short(0);
    };
    EXPECT_FALSE(m_report->ECGDefaultPrint(m_xml, 0, 0));
    ASSERT_GE(m_boxes.Count(), 1);
    EXPECT_EQ(m_boxes.Last().text.str(), L"印刷エラー");
    EXPECT_EQ(m_notify.ended, 1);
    EXPECT_TRUE(Saved().empty());
    ExpectStyleReset(*m_report);
}

TEST_F(ReportJob, AnEmptyRecordPathFailsQuietlyAndClosesThePrinter)
{
    bool ran = false;
    m_report->step = [&](CTestReport&) {
        ran = true;
        return short(0);
    };
    EXPECT_FALSE(m_report->ECGDefaultPrint(CString(), -1, 3));
    EXPECT_FALSE(ran);
    EXPECT_EQ(m_boxes.Count(), 0);
    EXPECT_EQ(m_notify.ended, 0);
    // The PDF printer asks again as installed.
    EXPECT_FALSE(m_printer->IsDistillerInfo());
    ExpectStyleReset(*m_report);
    // The same object prints the next job.
    m_report->step = [](CTestReport& report) { return PrintPages(report, 1); };
    EXPECT_TRUE(m_report->ECGDefaultPrint(m_xml, 0, 0));
    EXPECT_EQ(Saved().size(), 1u);
}

TEST_F(ReportJob, AFailedStartClosesTheRawPrinterItOpened)
{
    AddPrinter(L"Report Raw Printer", 9, 2);
    m_printer->SetPrinterName(L"Report Raw Printer");
    m_printer->SetPrintType(5);
    EXPECT_FALSE(m_report->ECGDefaultPrint(CString(), 0, 0));
    EXPECT_EQ(m_printer->GetPrintECGDC()->GetPrinterHandle(), nullptr);
    EXPECT_TRUE(Jobs().empty());
}

TEST_F(ReportJob, AnHpglJobWhoseTitlesDrawNoTextEndsWell)
{
    AddPrinter(L"Report Raw Printer", 9, 2);
    m_printer->SetPrinterName(L"Report Raw Printer");
    m_printer->SetPrintType(3);
    m_report->step = [](CTestReport& report) { return PrintPages(report, 2); };
    EXPECT_TRUE(m_report->ECGDefaultPrint(m_xml, 0, 0));
    ASSERT_EQ(Jobs().size(), 1u);
    EXPECT_EQ(m_boxes.Count(), 0);
}

TEST_F(ReportJob, AJobThatCannotStartSaysSoAndEndsForTheHost)
{
    // The PDF printer's folder is gone: the document cannot be started.
    ASSERT_EQ(::rmdir(m_desktop.c_str()), 0);
    bool ran = false;
    m_report->step = [&](CTestReport&) {
        ran = true;
        return short(0);
    };
    EXPECT_FALSE(m_report->ECGDefaultPrint(m_xml, 0, 0));
    EXPECT_FALSE(ran);
    // The printer says which folder is missing, then the report that it cannot start.
    ASSERT_EQ(m_boxes.Count(), 2);
    EXPECT_NE(m_boxes.At(0).text.str().find(platform::FromUtf8(m_desktop)), std::wstring::npos);
    EXPECT_EQ(m_boxes.Last().text.str(), L"印刷が開始できません");
    EXPECT_EQ(m_notify.ended, 1);
    EXPECT_FALSE(m_printer->IsDistillerInfo());
}

TEST_F(ReportJob, ASecondJobReplacesTheParserAndTheFont)
{
    m_report->step = [&](CTestReport& report) { return PrintPages(report, 1); };
    ASSERT_TRUE(m_report->ECGDefaultPrint(CString(printtest::W(m_dir.Write("other.xml", "<Rawdata/>")).c_str()), 0, 0));
    m_report->step = [&](CTestReport& report) {
        EXPECT_NE(report.m_pXMLParser, nullptr);
        EXPECT_NE(report.m_pPrintFont, nullptr);
        CString id;
        EXPECT_TRUE(report.m_pXMLParser->GetDataFromXMLDOM(
            id, L"/Rawdata/Tavrion/Inspection/Patient_section/Patient_id", 4, CString()));
        EXPECT_EQ(id, L"P-0042");
        // The font is one print line: 18/1000 of the printable height.
        LOGFONTW font{};
        report.m_pPrintFont->GetLogFont(&font);
        EXPECT_EQ(font.lfHeight, report.m_nPrintHeight * 18 / 1000);
        return PrintPages(report, 1);
    };
    ASSERT_TRUE(m_report->ECGDefaultPrint(m_xml, 0, 0));
}

// Text refused memory (the text library throws, as an allocation does): the
// job still ends through its own end, the document ended and the host told,
// the status box closed, the style reset; the memory reaches the caller as
// the allocation failure it was, not as a print error. With memory back the
// same object prints the whole report.
class ReportJobShortOfMemory : public ReportJob {
protected:
    void SetUp() override
    {
        // The base first: its tear-down, which runs for a skipped test too,
        // compares with what its set-up counted.
        ReportJob::SetUp();
        if (!testsupport::MemoryLimitsCanBeTested())
            GTEST_SKIP() << "address-space limits cannot be tested under a sanitizer";
    }
    // Text made ready as a host makes it, then left no room of its own:
    // under a limit it finds none and is refused, as a machine short of
    // memory refuses it.
    static void TakeTheTextReserve()
    {
        platform::gdi::PrepareText();
        platform::gdi::SetLaterTextReserve(std::numeric_limits<size_t>::max() / 2);
    }
    static void GiveTheTextReserveBack() { platform::gdi::SetLaterTextReserve(4u << 20); }
    // After both jobs: the failed one, whose pages miss text, left no PDF
    // anywhere (nor would it reach a printer); the second one's delivered whole.
    void ExpectSecondJobWhole(int pages)
    {
        EXPECT_TRUE(Desktop().empty()) << "the job whose text was refused left " << Desktop().front();
        ASSERT_EQ(Saved().size(), 1u);
        if (!printtest::HavePdfInfo()) GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
        const std::string saved = m_saved + "/" + Saved()[0];
        EXPECT_EQ(printtest::PdfInfo(saved).at("Pages"), std::to_string(pages));
        const std::string text = PdfText(saved);
        EXPECT_NE(text.find("****** Report ****** 安静時心電図"), std::string::npos) << text;
        EXPECT_NE(text.find("P-0042"), std::string::npos) << text;
        EXPECT_NE(text.find("P. " + std::to_string(pages) + "/" + std::to_string(pages)), std::string::npos) << text;
    }
};

TEST_F(ReportJobShortOfMemory, AReportWhoseTextIsRefusedMemoryEndsItsJobAndTheSameObjectPrintsAgain)
{
    Notes notes = InChild([&](Notes& notes) {
        TakeTheTextReserve();
        m_report->step = [](CTestReport& report) {
            // Room for everything but laying out text.
            const testsupport::ShortOfMemory memory(2);

            return PrintPages(report, 2);
        };
        try {
            notes["result"] = m_report->ECGDefaultPrint(m_xml, 0x40000000L, 5);
        } catch (const std::bad_alloc&) {
            notes["threw"] = 1;
        }
        NoteJobEnd(notes, "", *m_report);
        notes["style"] = m_report->m_lPrintStyle;
        notes["hidden"] = m_report->m_bHideStatus;
        notes["pageCount"] = m_report->m_nPageCount;
        GiveTheTextReserveBack();
        m_report->step = [](CTestReport& report) { return PrintPages(report, 2); };
        notes["second"] = m_report->ECGDefaultPrint(m_xml, 0, 0);
        NoteJobEnd(notes, "second.", *m_report);
    });
    EXPECT_EQ(notes["threw"], 1);
    EXPECT_EQ(notes["ended"], 1);
    EXPECT_EQ(notes["boxOpen"], 0);
    EXPECT_EQ(notes["boxes"], 0) << "short of memory the cause is the caller's to name, not a print error";
    EXPECT_EQ(notes["style"], -1);
    EXPECT_EQ(notes["hidden"], 0);
    EXPECT_EQ(notes["pageCount"], 0);
    EXPECT_EQ(notes["second"], TRUE);
    EXPECT_EQ(notes["second.ended"], 2);
    EXPECT_EQ(notes["second.boxes"], 0);
    EXPECT_EQ(notes["second.distiller"], 0);
    ExpectSecondJobWhole(2);
}

TEST_F(ReportJobShortOfMemory, AnAnnotationReportLeftByARefusedTextEndsItsJobAndPrintsAgain)
{
    Notes notes = InChild([&](Notes& notes) {
        TakeTheTextReserve();
        m_anno->step = [](CTestAnno& report) {
            report.m_pECGDC->StartPage();
            // A view draws its labels on the framework's context, where a
            // text refused memory throws.
            const testsupport::ShortOfMemory memory(2);
            report.m_pECGDC->GetDC()->TextOut(100, 100, CString(L"V1"));
            report.m_pECGDC->EndPage();
            return short(0);
        };
        try {
            notes["result"] = m_anno->ECGAnnoDefaultPrint(m_xml);
        } catch (const std::bad_alloc&) {
            notes["threw"] = 1;
        }
        NoteJobEnd(notes, "", *m_anno);
        GiveTheTextReserveBack();
        m_anno->step = [](CTestAnno& report) {
            report.m_pECGDC->StartPage();
            const BOOL title = report.PrintTitle(L"安静時心電図", 1, 1, 0, 1);
            report.m_pECGDC->EndPage();
            return short(title ? 0 : 1);
        };
        notes["second"] = m_anno->ECGAnnoDefaultPrint(m_xml);
        NoteJobEnd(notes, "second.", *m_anno);
    });
    EXPECT_EQ(notes["threw"], 1);
    EXPECT_EQ(notes["ended"], 1);
    EXPECT_EQ(notes["boxOpen"], 0);
    EXPECT_EQ(notes["boxes"], 0);
    EXPECT_EQ(notes["second"], TRUE);
    EXPECT_EQ(notes["second.ended"], 2);
    ExpectSecondJobWhole(1);
}
