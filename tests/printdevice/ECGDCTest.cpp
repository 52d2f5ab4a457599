// The print device context around the raw writes: cancelling a job, jobs
// without a document, the PDF job names, copies of the context, and the
// forwarding of the GDI types.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <set>
#include <string>

#include "platform/base/CodePage.h"
#include "platform/base/Kernel.h"
#include "platform/gdi/DCObjectSelector.h"
#include "platform/gdi/Dc.h"
#include "platform/gdi/Image.h"
#include "platform/gdi/TextLayout.h"
#include "platform/ui/windowing/Desktop.h"
#include "platform/ui/windowing/Message.h"
#include "printdevice/ECGDC.h"
#include "tests/printdevice/PrintDeviceTestSupport.h"
#include "tests/support/MemoryLimit.h"
#include "tests/support/TestSupport.h"

namespace {

using namespace printdevicetest;

class ECGDCRawJob : public RawJobTest {};

TEST_F(ECGDCRawJob, WritesWithoutADocument)
{
    // Nobody can cancel a job without a document; its output still goes out.
    CECGDC dc(3);
    ASSERT_TRUE(dc.OpenECGPrinter(kRawPrinter, nullptr, nullptr));
    ASSERT_GT(dc.StartDoc(L"No document"), 0);
    EXPECT_TRUE(dc.LineTo(1, 2));
    EXPECT_TRUE(dc.EndDoc());
    EXPECT_TRUE(dc.CloseECGPrinter());
    const auto jobs = Jobs();
    ASSERT_EQ(1u, jobs.size());
    EXPECT_EQ(L"No document", jobs[0].document);
    EXPECT_EQ("PD1,2;", testsupport::ReadFileBytes(jobs[0].dataPath));
}

TEST_F(ECGDCRawJob, CancellingStopsTheOutputAndEndDocAbortsOnce)
{
    CECGDC dc(5);
    dc.SetECGDoc(&m_doc);
    ASSERT_TRUE(dc.OpenECGPrinter(kRawPrinter, nullptr, nullptr));
    ASSERT_GT(dc.StartDoc(L"Cancelled"), 0);
    EXPECT_TRUE(dc.StartPage());

    m_doc.SetPrintCancel(1);
    EXPECT_FALSE(dc.LineTo(10, 10));
    CPen pen(PS_DOT, 1, RGB(0, 0, 0));
    EXPECT_EQ(nullptr, dc.SelectObject(&pen));
    EXPECT_FALSE(dc.TextOut(0, 0, CString(L"x")));
    // The refused text is not kept for the next write either.
    m_doc.SetPrintCancel(0);
    EXPECT_TRUE(dc.SetBkMode(OPAQUE));
    m_doc.SetPrintCancel(1);

    // EndDoc aborts and closes the printer; closing afterwards is harmless.
    EXPECT_TRUE(dc.EndDoc());
    EXPECT_TRUE(dc.CloseECGPrinter());
    EXPECT_TRUE(Jobs().empty());
    EXPECT_TRUE(SpoolEntries().empty());
}

// The print status dialog's Cancel arrives as a message while a long raw
// job is written: a timer here stands for it.
CTavrionDoc* g_pCancelledDoc = nullptr;
void CancelOnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    g_pCancelledDoc->SetPrintCancel(1);
}

TEST_F(ECGDCRawJob, PendingMessagesRunBeforeEveryWrite)
{
    platform::ui::ResetMessageQueue();
    CECGDC dc(3);
    dc.SetECGDoc(&m_doc);
    ASSERT_TRUE(dc.OpenECGPrinter(kRawPrinter, nullptr, nullptr));
    ASSERT_GT(dc.StartDoc(L"Pumped"), 0);
    EXPECT_TRUE(dc.LineTo(1, 1));

    g_pCancelledDoc = &m_doc;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, CancelOnTimer);
    ASSERT_NE(0u, timer);
    platform::ui::Desktop::AdvanceClock(20);
    EXPECT_FALSE(dc.LineTo(2, 2));   // the timer ran first and cancelled the job
    KillTimer(nullptr, timer);
    EXPECT_TRUE(m_doc.IsPrintCancel());
    EXPECT_TRUE(dc.EndDoc());
    EXPECT_TRUE(dc.CloseECGPrinter());
    EXPECT_TRUE(Jobs().empty());
    platform::ui::ResetMessageQueue();
}

TEST_F(ECGDCRawJob, QuittingApplicationStopsTheWrites)
{
    platform::ui::ResetMessageQueue();
    CECGDC dc(5);
    dc.SetECGDoc(&m_doc);
    ASSERT_TRUE(dc.OpenECGPrinter(kRawPrinter, nullptr, nullptr));
    ASSERT_GT(dc.StartDoc(L"Quit"), 0);
    PostQuitMessage(0);
    EXPECT_FALSE(dc.LineTo(2, 2));
    EXPECT_TRUE(platform::ui::QuitReceived());
    platform::ui::ResetMessageQueue();
    // Once the quit is taken, later writes go out again.
    EXPECT_TRUE(dc.LineTo(3, 3));
    EXPECT_TRUE(dc.EndDoc());
    EXPECT_TRUE(dc.CloseECGPrinter());
    ASSERT_EQ(1u, Jobs().size());
    // The refused line still moved the pen: the next starts at (2, 2).
    EXPECT_EQ("12211" + RS, testsupport::ReadFileBytes(Jobs()[0].dataPath));
}

TEST_F(ECGDCRawJob, AnAbortedJobClosesTwiceAndLeavesNothing)
{
    CECGDC dc(3);
    ASSERT_TRUE(dc.OpenECGPrinter(kRawPrinter, nullptr, nullptr));
    ASSERT_GT(dc.StartDoc(L"Abort"), 0);
    EXPECT_TRUE(dc.AbortPrinter());
    EXPECT_FALSE(dc.AbortPrinter());
    EXPECT_TRUE(dc.CloseECGPrinter());
    EXPECT_TRUE(dc.CloseECGPrinter());
    EXPECT_TRUE(Jobs().empty());
}

TEST_F(ECGDCRawJob, UnknownPrintersAndPrintTypesAreRefused)
{
    CECGDC unknown(3);
    EXPECT_FALSE(unknown.OpenECGPrinter(L"No Such Printer", nullptr, nullptr));
    EXPECT_EQ(-1, unknown.StartDoc(L"x"));
    EXPECT_FALSE(unknown.LineTo(1, 1));
    EXPECT_TRUE(unknown.CloseECGPrinter());

    CECGDC other(7);
    EXPECT_FALSE(other.OpenECGPrinter(kRawPrinter, nullptr, nullptr));
}

TEST_F(ECGDCRawJob, RawSelectionsKeepTheDefaultsOwned)
{
    const int live = platform::gdi::LiveObjectCount();
    {
        CECGDC dc(3);
        CECGDC copy(dc);
        CECGDC assigned(5);
        assigned = dc;
        // Each has a pen of its own, all three deleting only their own.
        EXPECT_NE(dc.GetCurrentPen(), copy.GetCurrentPen());
        EXPECT_NE(dc.GetCurrentPen(), assigned.GetCurrentPen());
        EXPECT_NE(nullptr, copy.GetCurrentBrush());
        EXPECT_EQ(3, assigned.GetPrintType());
    }
    EXPECT_EQ(live, platform::gdi::LiveObjectCount());
}

TEST(ECGDCJobName, PDFJobsGetTheComputerAndTheTimeToTheMillisecond)
{
    CECGDC dc(2);
    dc.StartDoc(L"ignored");
    const std::string first = platform::ToUtf8(dc.GetPDFFileName().str());
    dc.StartDoc(L"ignored");
    const std::string second = platform::ToUtf8(dc.GetPDFFileName().str());
    // "Tavrion_" <computer> "_" then year to millisecond, 17 digits.
    auto wellFormed = [](const std::string& text) {
        const size_t stamp = text.rfind('_');
        if (text.compare(0, 8, "Tavrion_") != 0 || stamp < 8 || text.size() - stamp - 1 != 17) return false;
        return text.find_first_not_of("0123456789", stamp + 1) == std::string::npos;
    };
    EXPECT_TRUE(wellFormed(first)) << first;
    EXPECT_TRUE(wellFormed(second)) << second;
    // Two jobs one after the other never share a file name.
    EXPECT_NE(first, second);

    CECGDC other(1);
    other.StartDoc(L"Report");
    EXPECT_EQ(L"Tavrion", other.GetPDFFileName());
}

// Other processes name their jobs by the same clock: the names of the next
// moments reserved as another process reserves them (a folder each under
// the temporary folder) are never given, the name given is held while the
// context lives, and it is given back with the context.
TEST(ECGDCJobName, ANameAnotherProcessHoldsIsNeverGivenOursIsHeldUntilTheContextGoesAndAGoneProcessIsSwept)
{
    testsupport::TempDir tmp;
    const char* oldTmp = std::getenv("TMPDIR");
    const std::string savedTmp = oldTmp ? oldTmp : "";
    setenv("TMPDIR", tmp.Path().c_str(), 1);

    wchar_t computer[33] = {};
    DWORD size = 33;
    ASSERT_TRUE(GetComputerNameW(computer, &size));
    const std::string folder = tmp.File("TavrionJobs");
    ASSERT_EQ(0, ::mkdir(folder.c_str(), 0755));
    std::set<std::string> taken;
    const auto now = std::chrono::system_clock::now();
    for (int ms = -50; ms < 400; ++ms) {
        const auto moment = now + std::chrono::milliseconds(ms);
        const std::time_t seconds = std::chrono::system_clock::to_time_t(moment);
        const long millis = static_cast<long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(moment.time_since_epoch()).count() % 1000);
        std::tm local = {};
        localtime_r(&seconds, &local);
        char name[96];
        std::snprintf(name, sizeof name, "Tavrion_%s_%04d%02d%02d%02d%02d%02d%03ld",
                      platform::ToUtf8(computer).c_str(), local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                      local.tm_hour, local.tm_min, local.tm_sec, millis);
        if (::mkdir((folder + "/" + name).c_str(), 0755) == 0) taken.insert(name);
    }
    // A reservation of a process that is gone (killed mid-job).
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ASSERT_GT(child, 0);
    ::waitpid(child, nullptr, 0);
    const std::string killed = folder + "/Tavrion_" + platform::ToUtf8(computer) + "_20200101000000000";
    ASSERT_EQ(0, ::mkdir(killed.c_str(), 0755));
    tmp.Write("TavrionJobs/Tavrion_" + platform::ToUtf8(computer) + "_20200101000000000/" + std::to_string(child), "");
    // A reservation that process was making or removing when it was killed.
    const std::string making = folder + "/Making_" + std::to_string(child);
    ASSERT_EQ(0, ::mkdir(making.c_str(), 0755));
    tmp.Write("TavrionJobs/Making_" + std::to_string(child) + "/" + std::to_string(child), "");
    std::string given;
    {
        CECGDC dc(2);
        dc.StartDoc(L"ignored");
        given = platform::ToUtf8(dc.GetPDFFileName().str());
        EXPECT_EQ(0u, taken.count(given)) << given;
        struct stat st;
        EXPECT_EQ(0, ::stat((folder + "/" + given + "/" + std::to_string(::getpid())).c_str(), &st))
            << "the name is not held, as this process's, while the job runs";
    }
    struct stat st;
    EXPECT_NE(0, ::stat((folder + "/" + given).c_str(), &st)) << "the name was not given back";
    EXPECT_NE(0, ::stat(killed.c_str(), &st)) << "the reservation of a process that is gone stayed";
    EXPECT_NE(0, ::stat(making.c_str(), &st)) << "the reservation a gone process was making stayed";
    EXPECT_NE(0, ::stat((folder + "/Making_" + std::to_string(::getpid())).c_str(), &st));
    // The other process's reservations are left alone.
    for (const std::string& name : taken) EXPECT_EQ(0, ::stat((folder + "/" + name).c_str(), &st)) << name;

    if (oldTmp) setenv("TMPDIR", savedTmp.c_str(), 1);
    else unsetenv("TMPDIR");
}

// ---- the GDI types forward to the framework context -----------------------------------------

class ECGDCOnImage : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_cdc.Attach(platform::gdi::CreateImageDC(100, 80)));
    }
    COLORREF Pixel(int x, int y) { return m_cdc.GetPixel(x, y); }

    CDC m_cdc;
};

TEST_F(ECGDCOnImage, DrawsThroughTheFrameworkContext)
{
    CECGDC dc(&m_cdc, 1);
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    CPen* pOld = dc.SelectObject(&red);
    ASSERT_NE(nullptr, pOld);
    dc.MoveTo(10, 10);
    dc.LineTo(50, 10);
    EXPECT_EQ(RGB(255, 0, 0), Pixel(20, 10));
    EXPECT_EQ(RGB(255, 255, 255), Pixel(50, 10));   // the end point is not painted
    dc.SelectObject(pOld);
    const POINT points[] = {{60, 60}, {70, 60}};
    EXPECT_FALSE(dc.Polyline(points, 1));
    EXPECT_TRUE(dc.Polyline(points, 2));
    // The GDI types report the real device.
    EXPECT_EQ(100, dc.GetDeviceCaps(HORZRES));
    EXPECT_EQ(TRUE, dc.GetSafeHdc() == m_cdc.GetSafeHdc());
    EXPECT_EQ(1, dc.SetBkMode(TRANSPARENT) != 0);
}

// The report blocks place each view by moving the viewport origin: on a
// drawn device the origin moves what follows, and the old one comes back.
TEST_F(ECGDCOnImage, TheViewportOriginMovesWhatIsDrawnAfterIt)
{
    CECGDC dc(&m_cdc, 1);
    CPen red(PS_SOLID, 1, RGB(255, 0, 0));
    {
        CDCObjectSelector<CPen, CECGDC> pen(dc, &red);
        EXPECT_EQ(CPoint(0, 0), dc.SetViewportOrg(30, 40));
        dc.MoveTo(0, 0);
        dc.LineTo(20, 0);
        EXPECT_EQ(CPoint(30, 40), dc.SetViewportOrg(0, 0));
    }
    // Read back at the device's own origin.
    EXPECT_EQ(RGB(255, 0, 0), Pixel(35, 40));
    EXPECT_EQ(RGB(255, 255, 255), Pixel(5, 0));
}

TEST_F(ECGDCOnImage, EscapePrinterTextExtentComesFromTheAttributeContext)
{
    CECGDC dc(&m_cdc, 4);
    const CSize extent = dc.GetTextExtent(CString(L"WWW"));
    EXPECT_GT(extent.cx, 0);
    EXPECT_NE(126, extent.cx);
    // The escape-sequence printer keeps its own alignment for reading.
    EXPECT_EQ(0u, dc.GetTextAlign());
}

// Text the text library has no memory for fails as any text does, and the
// device says why; with memory back the same device draws it.
TEST_F(ECGDCOnImage, TextRefusedMemoryFailsAsTextDoesAndTheDeviceSaysWhy)
{
    if (!testsupport::MemoryLimitsCanBeTested())
        GTEST_SKIP() << "address-space limits cannot be tested under a sanitizer";
    auto inked = [this] {
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 100; ++x)
                if (Pixel(x, y) != RGB(255, 255, 255)) return true;
        return false;
    };
    const int status = testsupport::RunInChild([&] {
        CECGDC dc(&m_cdc, 1);
        CECGDC escape(&m_cdc, 4);
        // Text made ready as a host makes it, then left no room of its own:
        // under the limit it finds none.
        platform::gdi::PrepareText();
        platform::gdi::SetLaterTextReserve(std::numeric_limits<size_t>::max() / 2);
        {
            const testsupport::ShortOfMemory memory(2);
            if (!memory.Limited()) return 2;
            if (dc.TextOut(5, 5, CString(L"ECG 心電図"))) return 3;
            RECT rect = {5, 20, 95, 40};
            if (dc.DrawText(CString(L"ECG"), &rect, DT_NOCLIP) != 0) return 4;
            if (dc.DrawText(L"ECG", 3, &rect, DT_NOCLIP) != 0) return 5;
            if (dc.GetTextExtent(CString(L"ECG")) != CSize(0, 0)) return 6;
            if (escape.GetTextExtent(CString(L"ECG")) != CSize(0, 0)) return 7;
        }
        if (!dc.IsTextShortOfMemory() || !escape.IsTextShortOfMemory()) return 8;
        if (inked()) return 9;
        platform::gdi::SetLaterTextReserve(4u << 20);
        if (!dc.TextOut(5, 5, CString(L"ECG")) || !inked()) return 10;
        return dc.GetTextExtent(CString(L"ECG")).cx > 0 ? 0 : 11;
    });
    EXPECT_EQ(0, status) << "134: the refused text left the device by an exception; 3-7: a text call did not fail; "
                            "8: the device did not tell why; 9: ink while refused; 10, 11: no text with memory back";
}

TEST(ECGDCWithoutContext, GDITypesFailInsteadOfCrashing)
{
    CECGDC dc(1);
    EXPECT_FALSE(dc.LineTo(1, 1));
    EXPECT_FALSE(dc.Rectangle(0, 0, 1, 1));
    EXPECT_EQ(0, dc.GetDeviceCaps(HORZRES));
    EXPECT_EQ(nullptr, dc.GetSafeHdc());
    EXPECT_FALSE(dc.OpenECGPrinter(L"Any", nullptr, nullptr));
    RECT rect = {0, 0, 10, 10};
    EXPECT_EQ(0, dc.DrawText(L"x", 1, &rect, 0));
    EXPECT_EQ(0, dc.DrawText(CString(L"x"), &rect, 0));
    EXPECT_FALSE(dc.TextOut(0, 0, CString(L"x")));
    EXPECT_EQ(CSize(0, 0), dc.GetTextExtent(CString(L"x")));
}

}  // namespace
