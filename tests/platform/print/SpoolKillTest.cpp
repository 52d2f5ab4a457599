// Print jobs of processes killed at random moments (SIGKILL, nothing of
// theirs runs afterwards): the next process that prints into the spool
// folder, or the PDF printer's folder, sweeps whatever they left, at once,
// and the folder then holds finished jobs alone.
#include "tests/platform/print/PrintTestSupport.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <random>
#include <set>

#include "platform/base/Kernel.h"

namespace printtest {
namespace {

using platform::print::SpooledJob;

const int kKilledProcesses = 30;

class SpoolKillTest : public PrintTest {
protected:
    void SetUp() override
    {
        PrintTest::SetUp();
        AddPrinter(L"Laser");
    }

    // A job of bytes, as a driver writes them.
    static bool RawJob()
    {
        ScopedPrinter printer(L"Laser");
        if (!printer) return false;
        DOC_INFO_1W info = {};
        wchar_t name[] = L"raw";
        info.pDocName = name;
        if (StartDocPrinterW(printer, 1, reinterpret_cast<LPBYTE>(&info)) == 0) return false;
        const char bytes[] = "\x1b" "E page one";
        DWORD written = 0;
        const bool ok = StartPagePrinter(printer) && WritePrinter(printer, bytes, sizeof bytes, &written) &&
                        EndPagePrinter(printer);
        return EndDocPrinter(printer) && ok;
    }

    // A drawn job: the surface writes its partial PDF beside the reservation
    // (the PDF printer: in its port folder).
    static bool DrawnJob(const wchar_t* printer = L"Laser")
    {
        ScopedPrinterDC dc(printer);
        if (!dc) return false;
        const DOCINFOW info = DocInfo(L"drawn");
        if (StartDocW(dc, &info) <= 0) return false;
        bool ok = true;
        for (int page = 0; ok && page < 3; ++page) {
            ok = StartPage(dc) > 0;
            for (int line = 0; ok && line < 200; ++line) {
                MoveToEx(dc, 100, 100 + line * 20, nullptr);
                LineTo(dc, 4000, 100 + line * 20);
            }
            ok = ok && EndPage(dc) > 0;
        }
        return EndDoc(dc) > 0 && ok;
    }

    // A process printing job after job until it is killed after `micros`.
    static void KillWhilePrinting(int micros, const std::function<void(int job)>& print)
    {
        const pid_t child = ::fork();
        if (child == 0) {
            for (int job = 0;; ++job) print(job);
        }
        ASSERT_GT(child, 0);
        ::usleep(static_cast<useconds_t>(micros));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
    }

    // Jobs in a new process, as the next run of a program.
    static bool PrintInANewProcess(const std::function<bool()>& print)
    {
        const pid_t child = ::fork();
        if (child == 0) ::_exit(print() ? 0 : 1);
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

    // The folder's entries that are neither a finished job's sidecar nor its data.
    std::vector<std::string> Leftovers() const
    {
        std::set<std::string> finished;
        for (const SpooledJob& job : Jobs()) {
            finished.insert(job.dataFile);
            finished.insert(job.dataFile.substr(0, job.dataFile.rfind('.')) + ".job");
        }
        std::vector<std::string> left;
        for (const std::string& name : SpoolEntries())
            if (!finished.count(name)) left.push_back(name);
        return left;
    }
};

TEST_F(SpoolKillTest, WhatKilledJobsLeftIsSweptByTheNextProcessAndFinishedJobsStayWhole)
{
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> moment(0, 40000);
    for (int run = 0; run < kKilledProcesses; ++run)
        KillWhilePrinting(moment(random), [](int job) { job % 2 ? RawJob() : DrawnJob(); });
    const size_t finishedBefore = Jobs().size();

    ASSERT_TRUE(PrintInANewProcess([] { return RawJob() && DrawnJob(); }));
    EXPECT_EQ(std::vector<std::string>(), Leftovers());
    // Every job that finished before a kill is still there, with the two new ones.
    const std::vector<SpooledJob> jobs = Jobs();
    EXPECT_EQ(finishedBefore + 2, jobs.size());
    for (const SpooledJob& job : jobs) {
        SCOPED_TRACE(job.dataFile);
        EXPECT_TRUE(Exists(job.dataPath));
        EXPECT_EQ(job.datatype == L"PDF" ? 3 : 1, job.pages);
    }
}

TEST_F(SpoolKillTest, WhatKilledJobsOfThePdfPrinterLeftInItsFolderIsSweptByTheNextJob)
{
    const std::string folder = m_dir.File("pdf");
    ASSERT_EQ(0, ::mkdir(folder.c_str(), 0755));
    platform::print::PdfPrinterSetup setup;
    setup.outputFolder = W(folder);
    ASSERT_TRUE(platform::print::ConfigurePdfPrinter(setup));
    // The switches as the print device sets them for a job: no questions.
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                                           L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Acrobat Distiller\\PrinterDriverData",
                                           0, KEY_ALL_ACCESS, &key));
    const BYTE off = 0;
    for (const wchar_t* name : {L"PromptForFileName", L"AskToReplacePDF", L"ViewPrintOutput"})
        EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key, name, 0, REG_BINARY, &off, 1));
    RegCloseKey(key);

    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> moment(0, 40000);
    for (int run = 0; run < kKilledProcesses / 2; ++run)
        KillWhilePrinting(moment(random), [](int) { DrawnJob(platform::print::kPdfPrinterName); });
    ASSERT_TRUE(PrintInANewProcess([] { return DrawnJob(platform::print::kPdfPrinterName); }));
    EXPECT_EQ(std::vector<std::string>{"drawn.pdf"}, FolderEntries(folder));
}

}  // namespace
}  // namespace printtest
