// Spool and save folders under names in any script: the spooler writes a
// job into a printer's spool folder and prints to a file under Japanese,
// Chinese and accented names, as it does under plain ones.
#include "tests/platform/print/PrintTestSupport.h"

#include <sys/stat.h>

#include "platform/print/PrintSetup.h"

namespace printtest {
namespace {

DWORD StartRaw(HANDLE printer, const wchar_t* name, const wchar_t* output = nullptr)
{
    DOC_INFO_1W info = {const_cast<LPWSTR>(name), const_cast<LPWSTR>(output), const_cast<LPWSTR>(L"RAW")};
    return StartDocPrinterW(printer, 1, reinterpret_cast<LPBYTE>(&info));
}

class SpoolPathsTest : public PrintTest {};

TEST_F(SpoolPathsTest, AJobLandsInASpoolFolderUnderANonAsciiName)
{
    for (const char* folder : {"スプール", "打印队列", "file d'impression àé"}) {
        SCOPED_TRACE(folder);
        platform::print::PrinterSetup setup;
        setup.name = L"LIPS";
        setup.spoolDirectory = W(m_dir.File(folder));
        ASSERT_TRUE(platform::print::ConfigurePrinter(setup));
        ScopedPrinter printer(L"LIPS");
        ASSERT_TRUE(printer != nullptr);
        ASSERT_NE(0u, StartRaw(printer, L"心電図 ü"));
        DWORD written = 0;
        ASSERT_TRUE(WritePrinter(printer, "\x1b@", 2, &written));
        ASSERT_TRUE(EndDocPrinter(printer));

        const std::vector<platform::print::SpooledJob> jobs = platform::print::ListSpooledJobs(m_dir.File(folder));
        ASSERT_EQ(1u, jobs.size());
        EXPECT_EQ(L"心電図 ü", jobs[0].document);
        EXPECT_EQ("\x1b@", testsupport::ReadFileBytes(jobs[0].dataPath));
    }
}

TEST_F(SpoolPathsTest, PrintingToAFileUnderANonAsciiNameWritesThatFile)
{
    AddPrinter(L"LBP-2910");
    const std::string folder = m_dir.File("保存 ü 保存");
    ASSERT_EQ(0, mkdir(folder.c_str(), 0755));
    const std::string target = folder + "/報告 été.prn";
    ScopedPrinter printer(L"LBP-2910");
    ASSERT_NE(0u, StartRaw(printer, L"to file", W(target).c_str()));
    DWORD written = 0;
    ASSERT_TRUE(WritePrinter(printer, "ECG", 3, &written));
    ASSERT_TRUE(EndDocPrinter(printer));
    EXPECT_EQ("ECG", testsupport::ReadFileBytes(target));
}

}  // namespace
}  // namespace printtest
