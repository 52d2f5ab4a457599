// Raw jobs through the spooler: what was written lands byte for byte in the
// spool folder with its document name and datatype, and every misuse fails
// the way the spooler reports it.
#include "tests/platform/print/PrintTestSupport.h"

#include "platform/base/Kernel.h"
#include "platform/print/PrintSetup.h"

namespace printtest {
namespace {

using platform::print::SpooledJob;

class SpoolerTest : public PrintTest {
protected:
    void SetUp() override
    {
        PrintTest::SetUp();
        AddPrinter(L"LBP-2910");
    }

    // Starts a raw document; the job id, 0 on failure.
    static DWORD StartRaw(HANDLE printer, const wchar_t* name, const wchar_t* datatype = L"RAW",
                          const wchar_t* output = nullptr)
    {
        DOC_INFO_1W info = {const_cast<LPWSTR>(name), const_cast<LPWSTR>(output), const_cast<LPWSTR>(datatype)};
        return StartDocPrinterW(printer, 1, reinterpret_cast<LPBYTE>(&info));
    }

    static BOOL Write(HANDLE printer, const std::string& bytes)
    {
        DWORD written = 12345;
        const BOOL ok = WritePrinter(printer, bytes.data(), (DWORD)bytes.size(), &written);
        EXPECT_EQ(ok ? bytes.size() : 0u, written);
        return ok;
    }
};

TEST_F(SpoolerTest, RawJobLandsByteExactWithItsNameAndDatatype)
{
    ScopedPrinter printer(L"lbp-2910");   // names compare without case
    ASSERT_TRUE(printer != nullptr);
    // Every byte value, a NUL among them, in pieces as the print device sends them.
    std::string bytes = "\x1b%-12345X@PJL SET ECONOMODE=OFF\r\n";
    for (int i = 0; i < 256; ++i) bytes.push_back((char)i);
    const DWORD id = StartRaw(printer, L"Tavrion");
    ASSERT_NE(0u, id);
    ASSERT_TRUE(StartPagePrinter(printer));
    ASSERT_TRUE(Write(printer, bytes.substr(0, 40)));
    ASSERT_TRUE(Write(printer, bytes.substr(40)));
    ASSERT_TRUE(Write(printer, std::string()));
    ASSERT_TRUE(EndPagePrinter(printer));
    // Nothing is visible before the job ends.
    EXPECT_TRUE(Jobs().empty());
    ASSERT_TRUE(EndDocPrinter(printer));

    const std::vector<SpooledJob> jobs = Jobs();
    ASSERT_EQ(1u, jobs.size());
    EXPECT_EQ(id, jobs[0].id);
    EXPECT_EQ(L"LBP-2910", jobs[0].printer);   // the configured spelling
    EXPECT_EQ(L"Tavrion", jobs[0].document);
    EXPECT_EQ(L"RAW", jobs[0].datatype);
    EXPECT_EQ(1, jobs[0].pages);
    EXPECT_EQ("00001_Tavrion.prn", jobs[0].dataFile);
    EXPECT_EQ(bytes, testsupport::ReadFileBytes(jobs[0].dataPath));
    EXPECT_EQ((std::vector<std::string>{"00001_Tavrion.job", "00001_Tavrion.prn"}), SpoolEntries());
}

TEST_F(SpoolerTest, JobsTakeIncreasingIdsAndKeepOddDocumentNames)
{
    ScopedPrinter printer(L"LBP-2910");
    // A name with separators, a line break and Japanese text: the file name
    // is made safe, the sidecar keeps the name as it was given.
    const wchar_t* const names[] = {L"心電図 a/b\\c:d", L"line\r\nbreak", L""};
    for (const wchar_t* name : names) {
        ASSERT_NE(0u, StartRaw(printer, name, L"TEXT"));
        ASSERT_TRUE(Write(printer, "x"));
        ASSERT_TRUE(EndDocPrinter(printer));
    }
    const std::vector<SpooledJob> jobs = Jobs();
    ASSERT_EQ(3u, jobs.size());
    EXPECT_EQ("00001_心電図 a_b_c_d.txt", jobs[0].dataFile);
    EXPECT_EQ(L"心電図 a/b\\c:d", jobs[0].document);
    EXPECT_EQ(L"line\r\nbreak", jobs[1].document);
    EXPECT_EQ("00002_line__break.txt", jobs[1].dataFile);
    EXPECT_EQ("00003.txt", jobs[2].dataFile);
    EXPECT_EQ(L"TEXT", jobs[2].datatype);
    for (const SpooledJob& job : jobs) EXPECT_EQ("x", testsupport::ReadFileBytes(job.dataPath));
}

TEST_F(SpoolerTest, IdsContinueAfterJobsAlreadyInTheFolder)
{
    testsupport::TempDir other;
    platform::print::PrinterSetup setup;
    setup.name = L"Other";
    setup.spoolDirectory = W(other.Path());
    ASSERT_TRUE(platform::print::ConfigurePrinter(setup));
    other.Write("00041_left over.prn", "old");
    other.Write("00041_left over.job", "Job=41\nData=00041_left over.prn\n");
    ScopedPrinter printer(L"Other");
    EXPECT_EQ(42u, StartRaw(printer, L"next"));
    ASSERT_TRUE(EndDocPrinter(printer));
    EXPECT_EQ(other.Path(), platform::print::SpoolFolder(L"Other"));
    EXPECT_EQ(2u, platform::print::ListSpooledJobs(other.Path()).size());
    EXPECT_TRUE(Jobs().empty());   // not the default spool
}

TEST_F(SpoolerTest, AbortedAndUnfinishedJobsLeaveNothing)
{
    {
        ScopedPrinter printer(L"LBP-2910");
        ASSERT_NE(0u, StartRaw(printer, L"cancelled"));
        ASSERT_TRUE(Write(printer, "ESC"));
        EXPECT_TRUE(AbortPrinter(printer));
        // The handle stays usable; a second abort has no document to drop.
        EXPECT_FALSE(AbortPrinter(printer));
        EXPECT_EQ(ERROR_SPL_NO_STARTDOC, GetLastError());
        ASSERT_NE(0u, StartRaw(printer, L"closed before its end"));
        ASSERT_TRUE(Write(printer, "ESC"));
    }   // ClosePrinter with the document open
    EXPECT_TRUE(SpoolEntries().empty());
}

TEST_F(SpoolerTest, CallsOutsideADocumentFail)
{
    ScopedPrinter printer(L"LBP-2910");
    DWORD written = 7;
    EXPECT_FALSE(WritePrinter(printer, "a", 1, &written));
    EXPECT_EQ(ERROR_SPL_NO_STARTDOC, GetLastError());
    EXPECT_EQ(0u, written);
    EXPECT_FALSE(StartPagePrinter(printer));
    EXPECT_EQ(ERROR_SPL_NO_STARTDOC, GetLastError());
    EXPECT_FALSE(EndPagePrinter(printer));
    EXPECT_FALSE(EndDocPrinter(printer));
    EXPECT_EQ(ERROR_SPL_NO_STARTDOC, GetLastError());

    ASSERT_NE(0u, StartRaw(printer, L"doc"));
    EXPECT_EQ(0u, StartRaw(printer, L"second"));   // one document at a time
    EXPECT_EQ(ERROR_INVALID_PRINTER_STATE, GetLastError());
    EXPECT_FALSE(EndPagePrinter(printer));          // no page started
    ASSERT_TRUE(StartPagePrinter(printer));
    EXPECT_FALSE(StartPagePrinter(printer));
    EXPECT_FALSE(WritePrinter(printer, nullptr, 4, &written));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, GetLastError());
    EXPECT_FALSE(WritePrinter(printer, "a", 1, nullptr));
    EXPECT_TRUE(AbortPrinter(printer));
}

TEST_F(SpoolerTest, BadHandlesAndNamesFail)
{
    HANDLE handle = reinterpret_cast<HANDLE>(1);
    EXPECT_FALSE(OpenPrinterW(L"No such printer", &handle, nullptr));
    EXPECT_EQ(ERROR_INVALID_PRINTER_NAME, GetLastError());
    EXPECT_EQ(nullptr, handle);
    EXPECT_FALSE(OpenPrinterW(nullptr, &handle, nullptr));
    EXPECT_FALSE(OpenPrinterW(L"LBP-2910", nullptr, nullptr));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, GetLastError());

    ASSERT_TRUE(OpenPrinterW(L"LBP-2910", &handle, nullptr));
    ASSERT_TRUE(ClosePrinter(handle));
    // A closed handle stays invalid: closing twice (as a cancelled job's
    // EndDoc followed by the printer's own close does) fails cleanly.
    EXPECT_FALSE(ClosePrinter(handle));
    EXPECT_EQ(ERROR_INVALID_HANDLE, GetLastError());
    DWORD written = 0;
    EXPECT_FALSE(WritePrinter(handle, "a", 1, &written));
    EXPECT_EQ(ERROR_INVALID_HANDLE, GetLastError());
    EXPECT_EQ(0u, StartRaw(handle, L"x"));
    EXPECT_FALSE(EndDocPrinter(handle));
    EXPECT_FALSE(AbortPrinter(handle));
    EXPECT_FALSE(ClosePrinter(nullptr));
    EXPECT_FALSE(EndDocPrinter(reinterpret_cast<HANDLE>(HKEY_LOCAL_MACHINE)));
}

TEST_F(SpoolerTest, DocumentsThePrinterCannotTakeAreRefused)
{
    ScopedPrinter printer(L"LBP-2910");
    EXPECT_EQ(0u, StartRaw(printer, L"emf", L"NT EMF 1.008"));
    EXPECT_EQ(ERROR_INVALID_DATATYPE, GetLastError());
    DOC_INFO_1W info = {};
    EXPECT_EQ(0u, StartDocPrinterW(printer, 2, reinterpret_cast<LPBYTE>(&info)));
    EXPECT_EQ(ERROR_INVALID_LEVEL, GetLastError());
    EXPECT_EQ(0u, StartDocPrinterW(printer, 1, nullptr));
    // The datatype variants the spooler knows are raw bytes too.
    ASSERT_NE(0u, StartRaw(printer, L"ff", L"raw [FF appended]"));
    ASSERT_TRUE(EndDocPrinter(printer));

    // A printer of a kind this platform cannot drive cannot be opened.
    platform::print::PrinterSetup setup;
    setup.name = L"Office";
    setup.kind = L"cups";
    ASSERT_TRUE(platform::print::ConfigurePrinter(setup));
    HANDLE handle = nullptr;
    EXPECT_FALSE(OpenPrinterW(L"Office", &handle, nullptr));
    EXPECT_EQ(ERROR_NOT_SUPPORTED, GetLastError());
}

TEST_F(SpoolerTest, TheHandlesDatatypeAppliesToDocumentsWithoutOne)
{
    PRINTER_DEFAULTSW defaults = {const_cast<LPWSTR>(L"TEXT"), nullptr, PRINTER_ACCESS_USE};
    ScopedPrinter printer(L"LBP-2910", &defaults);
    ASSERT_NE(0u, StartRaw(printer, L"plain", nullptr));
    ASSERT_TRUE(EndDocPrinter(printer));
    ASSERT_EQ(1u, Jobs().size());
    EXPECT_EQ(L"TEXT", Jobs()[0].datatype);

    PRINTER_DEFAULTSW bad = {const_cast<LPWSTR>(L"EMF"), nullptr, PRINTER_ACCESS_USE};
    HANDLE handle = nullptr;
    EXPECT_FALSE(OpenPrinterW(L"LBP-2910", &handle, &bad));
    EXPECT_EQ(ERROR_INVALID_DATATYPE, GetLastError());
}

TEST_F(SpoolerTest, PrintingToAFileWritesOnlyThatFile)
{
    ScopedPrinter printer(L"LBP-2910");
    const std::string target = m_dir.File("out.prn");
    const std::wstring wide = W(target);
    ASSERT_NE(0u, StartRaw(printer, L"to file", L"RAW", wide.c_str()));
    ASSERT_TRUE(Write(printer, std::string("\0\x1b@", 3)));
    ASSERT_TRUE(EndDocPrinter(printer));
    EXPECT_EQ(std::string("\0\x1b@", 3), testsupport::ReadFileBytes(target));
    EXPECT_TRUE(SpoolEntries().empty());

    // An aborted print to a file removes the file it started.
    ASSERT_NE(0u, StartRaw(printer, L"to file", L"RAW", wide.c_str()));
    ASSERT_TRUE(AbortPrinter(printer));
    EXPECT_FALSE(Exists(target));
}

TEST_F(SpoolerTest, AnUnwritableSpoolFolderFailsTheDocument)
{
    platform::print::PrinterSetup setup;
    setup.name = L"Blocked";
    const std::string blocker = m_dir.Write("a file", "");
    setup.spoolDirectory = W(blocker + "/spool");
    ASSERT_TRUE(platform::print::ConfigurePrinter(setup));
    ScopedPrinter printer(L"Blocked");
    ASSERT_TRUE(printer != nullptr);
    EXPECT_EQ(0u, StartRaw(printer, L"doc"));
    EXPECT_NE((DWORD)ERROR_SUCCESS, GetLastError());
    DWORD written = 0;
    EXPECT_FALSE(WritePrinter(printer, "a", 1, &written));
}

TEST(SpoolFilesTest, SidecarsOfOtherToolsAreReadOrSkipped)
{
    testsupport::TempDir dir;
    dir.Write("00002_b.job", "Job=2\nPrinter=P\nDocument=a\\\\b\\nc\nDatatype=RAW\nPages=3\nData=00002_b.prn\nCopies=2\n");
    dir.Write("00001_a.job", "Job=1\nData=00001_a.prn\n");
    dir.Write("00003_c.job", "Job=3\nData=../escape.prn\n");   // data outside the folder
    dir.Write("00004_d.job", "no id at all\n");
    dir.Write("00005.SPL", "being written");
    const std::vector<SpooledJob> jobs = platform::print::ListSpooledJobs(dir.Path());
    ASSERT_EQ(2u, jobs.size());
    EXPECT_EQ(1u, jobs[0].id);
    EXPECT_EQ(2u, jobs[1].id);
    EXPECT_EQ(L"a\\b\nc", jobs[1].document);
    EXPECT_EQ(3, jobs[1].pages);
    EXPECT_EQ(L"2", jobs[1].Detail("Copies"));
    EXPECT_EQ(L"", jobs[1].Detail("Missing"));
    EXPECT_EQ(dir.File("00002_b.prn"), jobs[1].dataPath);
    EXPECT_TRUE(platform::print::ListSpooledJobs(dir.File("missing")).empty());
}

}  // namespace
}  // namespace printtest
