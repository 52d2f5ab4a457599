// Printers behind the print service, against a scheduler of the test's own:
// a registry queue naming a CUPS destination, and the destinations
// themselves, take raw and drawn jobs; the spooler lists them beside the
// registry's queues; a job CUPS cannot take stays in the spool folder with a
// message naming the printer and the cause; a paused destination takes and
// holds the job; CUPS knows of a job only once its document is complete, so a
// dropped document leaves nothing there.
#include "tests/platform/print/PrintTestSupport.h"

#include <cwchar>

#include "platform/base/Profile.h"
#include "platform/print/CupsQueue.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"
#include "tests/platform/print/CupsScheduler.h"

namespace printtest {
namespace {

using cupstest::CupsScheduler;
using cupstest::Delivered;

const char kSink[] = "sink";
const char kJapanese[] = "心電図プリンター";

// Every byte value, the escapes of a printer language among them.
std::string RawBytes(const std::string& tag)
{
    std::string bytes = "\x1b%-12345X@PJL ENTER LANGUAGE=PCL\r\n\x1b" "E" + tag;
    for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>(i));
    return bytes + "\x1b%-12345X";
}

class CupsQueueTest : public cupstest::WithScheduler<PrintTest> {
protected:
    void SetUp() override
    {
        PrintTest::SetUp();
        CUPS_SCHEDULER_OR_SKIP(*s_scheduler);
        m_cupsServer.reset(new ScopedEnv("CUPS_SERVER", s_scheduler->Socket()));
        ASSERT_TRUE(s_scheduler->AddDestination(kSink));
        ASSERT_TRUE(s_scheduler->AddDestination(kJapanese));
        m_before = s_scheduler->Jobs().size();
    }

    void TearDown() override
    {
        m_cupsServer.reset();
        PrintTest::TearDown();
    }

    // A registry queue handing its jobs to `destination`.
    void AddCupsQueue(const std::wstring& name, const std::string& destination)
    {
        platform::print::PrinterSetup setup;
        setup.name = name;
        setup.port = L"cups:" + W(destination);
        ASSERT_TRUE(platform::print::ConfigurePrinter(setup));
    }

    // The jobs the back end received during this test, waiting for `count`.
    std::vector<Delivered> Received(size_t count) const { return s_scheduler->JobsAfter(m_before, count); }

    // The jobs the scheduler lists for the sink, done or not.
    static long JobsInCups()
    {
        const std::string listed = s_scheduler->AdminOutput("lpstat -W all -o sink");
        return std::count(listed.begin(), listed.end(), '\n');
    }

    // A document started on the printer with a printer reset written into it.
    static void StartResetDocument(HANDLE printer)
    {
        DOC_INFO_1W info = {};
        ASSERT_NE(0u, StartDocPrinterW(printer, 1, reinterpret_cast<LPBYTE>(&info)));
        DWORD written = 0;
        ASSERT_TRUE(WritePrinter(printer, "\x1b" "E", 2, &written));
    }

    size_t m_before = 0;

private:
    std::unique_ptr<ScopedEnv> m_cupsServer;
};

TEST_F(CupsQueueTest, RawJobsArriveByteForByteWithTheDeviceModeAsJobAttributesAndLeaveTheSpool)
{
    AddCupsQueue(L"Ward laser", kSink);
    DEVMODEW mode = {};
    mode.dmSize = sizeof(DEVMODEW);
    mode.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES;
    mode.dmOrientation = DMORIENT_LANDSCAPE;
    mode.dmPaperSize = DMPAPER_A3;
    mode.dmCopies = 2;
    const std::string pcl = RawBytes("ward");
    ASSERT_EQ(0u, PrintRaw(L"Ward laser", pcl, &mode));
    // A destination named in Japanese, opened by its own name.
    const std::string lips = "\x1b%@\x1bP41;600;1J\x1b\\\x1b[0t\x0f" "心電図\x0c" + RawBytes("lips");
    ASSERT_EQ(0u, PrintRaw(W(kJapanese).c_str(), lips));

    const std::vector<Delivered> jobs = Received(2);
    ASSERT_EQ(2u, jobs.size());
    EXPECT_TRUE(jobs[0].data == pcl) << jobs[0].data.size() << " bytes arrived of " << pcl.size();
    EXPECT_NE(std::string::npos, jobs[0].attrs.find("copies=2"));
    EXPECT_NE(std::string::npos, jobs[0].attrs.find("media=iso_a3_297x420mm"));
    EXPECT_NE(std::string::npos, jobs[0].attrs.find("orientation-requested=4"));
    EXPECT_NE(std::string::npos, jobs[0].attrs.find("title=Report"));
    EXPECT_TRUE(jobs[1].data == lips);
    EXPECT_NE(std::string::npos, jobs[1].attrs.find("orientation-requested=3"));
    // CUPS has them: the spool folder no longer does.
    EXPECT_TRUE(Jobs().empty());
    const auto handovers = platform::print::CupsHandovers();
    ASSERT_GE(handovers.size(), 2u);
    EXPECT_TRUE(handovers.back().taken);
    EXPECT_EQ(kJapanese, handovers.back().destination);
}

TEST_F(CupsQueueTest, DrawnJobsArriveAsTheirPdf)
{
    if (!HavePdfInfo()) GTEST_SKIP() << "pdfinfo and pdftotext (poppler-utils) are not installed";
    ScopedPrinterDC dc(W(kSink).c_str());
    ASSERT_TRUE(dc != nullptr);
    const DOCINFOW info = DocInfo(L"Rest ECG");
    ASSERT_GT(StartDocW(dc, &info), 0);
    for (int page = 0; page < 2; ++page) {
        ASSERT_GT(StartPage(dc), 0);
        TextOutW(dc, 600, 600, L"Patient MV-1001", 15);
        ASSERT_GT(EndPage(dc), 0);
    }
    ASSERT_GT(EndDoc(dc), 0);

    const std::vector<Delivered> jobs = Received(1);
    ASSERT_EQ(1u, jobs.size());
    ASSERT_EQ(0u, jobs[0].data.compare(0, 5, "%PDF-"));
    const std::string pdf = m_dir.Write("arrived.pdf", jobs[0].data);
    EXPECT_EQ("2", PdfInfo(pdf)["Pages"]);
    ASSERT_EQ(0, std::system(("pdftotext '" + pdf + "' '" + m_dir.File("arrived.txt") + "'").c_str()));
    EXPECT_NE(std::string::npos, testsupport::ReadFileBytes(m_dir.File("arrived.txt")).find("MV-1001"));
    EXPECT_TRUE(Jobs().empty());
}

TEST_F(CupsQueueTest, DestinationsAreListedBesideTheRegistrysQueuesAndCupsNamesTheDefaultWhenTheRegistryDoesNot)
{
    AddPrinter(L"Folder");
    DWORD needed = 0, returned = 0;
    EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &returned);
    std::vector<BYTE> buffer(needed);
    ASSERT_TRUE(EnumPrintersW(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), needed, &needed, &returned));
    std::map<std::wstring, std::wstring> ports;
    const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    for (DWORD i = 0; i < returned; ++i) ports[info[i].pPrinterName] = info[i].pPortName;
    EXPECT_EQ(L"LPT1:", ports[L"Folder"]);
    EXPECT_EQ(L"cups:sink", ports[L"sink"]);
    EXPECT_EQ(L"cups:" + W(kJapanese), ports[W(kJapanese)]);

    // Its device mode, as the report's printer asks for it: the destination's own defaults.
    ASSERT_TRUE(s_scheduler->Admin("lpadmin -p " + cupstest::Shell(kJapanese) +
                                   " -o media-default=jis_b5_182x257mm -o orientation-requested-default=4"
                                   " -o copies-default=3"));
    ScopedPrinter printer(W(kJapanese).c_str());
    ASSERT_TRUE(printer != nullptr);
    const LONG size = DocumentPropertiesW(nullptr, printer, nullptr, nullptr, nullptr, 0);
    ASSERT_GT(size, 0);
    std::vector<BYTE> modeBytes(static_cast<size_t>(size));
    auto* mode = reinterpret_cast<DEVMODEW*>(modeBytes.data());
    EXPECT_EQ(IDOK, DocumentPropertiesW(nullptr, printer, nullptr, mode, nullptr, DM_OUT_BUFFER));
    EXPECT_EQ(DMPAPER_B5, mode->dmPaperSize);
    EXPECT_EQ(DMORIENT_LANDSCAPE, mode->dmOrientation);
    EXPECT_EQ(3, mode->dmCopies);
    // A size outside the paper table leaves the printer's A4.
    ASSERT_TRUE(s_scheduler->Admin("lpadmin -p " + cupstest::Shell(kJapanese) + " -o media-default=na_govt-letter_8x10in"));
    EXPECT_EQ(IDOK, DocumentPropertiesW(nullptr, nullptr, W(kJapanese).c_str(), mode, nullptr, DM_OUT_BUFFER));
    EXPECT_EQ(DMPAPER_A4, mode->dmPaperSize);

    ASSERT_TRUE(s_scheduler->Admin("lpadmin -d sink"));
    wchar_t name[64];
    DWORD length = 64;
    ASSERT_TRUE(GetDefaultPrinterW(name, &length));
    EXPECT_STREQ(L"sink", name);
    // The library's own print paths take the default from win.ini's device
    // entry: it names the same printer, with the port its jobs go through.
    wchar_t device[128] = {};
    GetProfileStringW(L"windows", L"device", L"", device, 128);
    EXPECT_STREQ(L"sink,winspool,cups:sink", device);
    // The registry's own default comes first.
    ASSERT_TRUE(SetDefaultPrinterW(L"Folder"));
    length = 64;
    ASSERT_TRUE(GetDefaultPrinterW(name, &length));
    EXPECT_STREQ(L"Folder", name);
    GetProfileStringW(L"windows", L"device", L"", device, 128);
    EXPECT_EQ(0, std::wcsncmp(L"Folder,", device, 7)) << platform::ToUtf8(device);
}

TEST_F(CupsQueueTest, AJobCupsCannotTakeStaysInTheSpoolAndTheMessageNamesThePrinterAndTheCause)
{
    // Each way the destination can fail a job: with the error, and a word of the cause.
    struct Case {
        const char* destination;
        const char* before;        // lpadmin/cupsdisable command run first
        DWORD error;
        const wchar_t* cause;
    };
    static const Case kCases[] = {
        {"gone", nullptr, ERROR_INVALID_PRINTER_NAME, L"がありません"},
        {"closed", "cupsreject closed", ERROR_INVALID_PRINTER_STATE, L"受け付けていません"},
    };
    platform::ui::MessageBoxRecorder boxes;
    for (const Case& test : kCases) {
        SCOPED_TRACE(test.destination);
        if (test.before) {
            ASSERT_TRUE(s_scheduler->AddDestination(test.destination));
            ASSERT_TRUE(s_scheduler->Admin(test.before));
        }
        const std::wstring queue = L"Queue " + W(test.destination);
        AddCupsQueue(queue, test.destination);
        boxes.Clear();
        const size_t kept = Jobs().size();
        EXPECT_EQ(test.error, PrintRaw(queue.c_str(), RawBytes(test.destination)));
        ASSERT_EQ(1, boxes.Count());
        const std::wstring text = boxes.Last().text.GetString();
        EXPECT_NE(std::wstring::npos, text.find(queue)) << platform::ToUtf8(text);
        EXPECT_NE(std::wstring::npos, text.find(test.cause)) << platform::ToUtf8(text);
        // The job waits in the spool folder, complete.
        const auto jobs = Jobs();
        ASSERT_EQ(kept + 1, jobs.size());
        EXPECT_EQ(RawBytes(test.destination), testsupport::ReadFileBytes(jobs.back().dataPath));
        EXPECT_NE(std::wstring::npos, text.find(W(jobs.back().dataFile)));
    }
    // Nothing of them reached a back end.
    EXPECT_TRUE(Received(0).empty());
}

TEST_F(CupsQueueTest, APausedDestinationTakesTheJobAndPrintsItOnceStartedAgain)
{
    ASSERT_TRUE(s_scheduler->AddDestination("paused"));
    ASSERT_TRUE(s_scheduler->Admin("cupsdisable -r 'toner change' paused"));
    AddCupsQueue(L"Ward paused", "paused");
    platform::ui::MessageBoxRecorder boxes;
    EXPECT_EQ(0u, PrintRaw(L"Ward paused", RawBytes("paused")));
    EXPECT_EQ(0, boxes.Count());
    // Taken, the spool folder rid of it, and the pause told to the host.
    EXPECT_TRUE(Jobs().empty());
    const auto handovers = platform::print::CupsHandovers();
    ASSERT_FALSE(handovers.empty());
    EXPECT_TRUE(handovers.back().taken);
    EXPECT_TRUE(handovers.back().paused);
    EXPECT_NE(std::wstring::npos, handovers.back().cause.find(L"toner change")) << platform::ToUtf8(handovers.back().cause);
    EXPECT_TRUE(Received(0).empty());
    ASSERT_TRUE(s_scheduler->Admin("cupsenable paused"));
    const std::vector<Delivered> jobs = Received(1);
    ASSERT_EQ(1u, jobs.size());
    EXPECT_TRUE(jobs[0].data == RawBytes("paused"));
}

TEST_F(CupsQueueTest, CupsKnowsOfAJobOnlyOnceItsDocumentIsComplete)
{
    AddCupsQueue(L"Ward laser", kSink);
    const long before = JobsInCups();
    ScopedPrinter printer(L"Ward laser");
    StartResetDocument(printer);
    if (HasFatalFailure()) return;
    // A program killed now leaves nothing in the scheduler to wait for its data.
    EXPECT_EQ(before, JobsInCups());
    ASSERT_TRUE(EndDocPrinter(printer));
    EXPECT_EQ(before + 1, JobsInCups());
    ASSERT_EQ(1u, Received(1).size());
}

TEST_F(CupsQueueTest, ADroppedDocumentLeavesNothingInCupsAndNothingArrives)
{
    AddCupsQueue(L"Ward laser", kSink);
    const long before = JobsInCups();
    {
        ScopedPrinter printer(L"Ward laser");
        StartResetDocument(printer);
        if (HasFatalFailure()) return;
        ASSERT_TRUE(AbortPrinter(printer));
    }
    {
        // A drawn job whose abort procedure stops it, as a cancelled report does.
        ScopedPrinterDC dc(L"Ward laser");
        ASSERT_GT(SetAbortProc(dc, [](HDC, int) -> BOOL { return FALSE; }), 0);
        const DOCINFOW info = DocInfo(L"cancelled");
        ASSERT_GT(StartDocW(dc, &info), 0);
        EXPECT_EQ(SP_APPABORT, StartPage(dc));
    }
    // Neither job was ever made there, not even as a cancelled one.
    EXPECT_EQ(before, JobsInCups());
    // A job printed after them is the only one to arrive.
    ASSERT_EQ(0u, PrintRaw(L"Ward laser", RawBytes("after")));
    const std::vector<Delivered> jobs = Received(1);
    ASSERT_EQ(1u, jobs.size());
    EXPECT_TRUE(jobs[0].data == RawBytes("after"));
    EXPECT_TRUE(Jobs().empty());
}

}  // namespace
}  // namespace printtest
