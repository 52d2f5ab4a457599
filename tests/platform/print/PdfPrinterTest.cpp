// The PDF printer queue as the system drives it: its registry settings, and
// the PDF written into its port folder under the job's name.
#include "tests/platform/print/PrintTestSupport.h"

#include "platform/base/File.h"
#include "platform/base/Kernel.h"
#include "platform/base/MessageBox.h"
#include "platform/ui/windowing/MessageBoxRecorder.h"

namespace printtest {
namespace {

const wchar_t kDriverData[] =
    L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Acrobat Distiller\\PrinterDriverData";

class PdfPrinterTest : public PrintTest {
protected:
    void SetUp() override
    {
        PrintTest::SetUp();
        m_desktop = m_dir.File("desktop");
        ASSERT_EQ(0, ::mkdir(m_desktop.c_str(), 0755));
        platform::print::PdfPrinterSetup setup;
        setup.outputFolder = W(m_desktop);
        ASSERT_TRUE(platform::print::ConfigurePdfPrinter(setup));
    }

    // The switches as the print device sets them before a job.
    static void SetSwitches(BYTE prompt, BYTE askReplace, BYTE view)
    {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, kDriverData, 0, KEY_ALL_ACCESS, &key));
        const BYTE one = 1;
        EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key, L"DeleteLogFiles", 0, REG_BINARY, &one, 1));
        EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key, L"PromptForFileName", 0, REG_BINARY, &prompt, 1));
        EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key, L"AskToReplacePDF", 0, REG_BINARY, &askReplace, 1));
        EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key, L"ViewPrintOutput", 0, REG_BINARY, &view, 1));
        RegCloseKey(key);
    }

    // One page printed to the PDF printer; EndDoc's result.
    static int PrintJob(const wchar_t* name)
    {
        ScopedPrinterDC dc(platform::print::kPdfPrinterName);
        EXPECT_TRUE(dc != nullptr);
        const DOCINFOW info = DocInfo(name);
        if (StartDocW(dc, &info) <= 0) return SP_ERROR;
        EXPECT_GT(StartPage(dc), 0);
        Rectangle(dc, 100, 100, 2000, 1000);
        EXPECT_GT(EndPage(dc), 0);
        return EndDoc(dc);
    }

    std::string m_desktop;
};

TEST_F(PdfPrinterTest, TheJobsPdfLandsInThePortFolderUnderTheJobsName)
{
    if (!HavePdfInfo()) GTEST_SKIP() << "pdfinfo (poppler-utils) is not installed";
    SetSwitches(0, 0, 0);
    // The name the print device gives a PDF job: milliseconds included.
    ASSERT_GT(PrintJob(L"Tavrion_WS01_20240105093015042"), 0);
    EXPECT_EQ(std::vector<std::string>{"Tavrion_WS01_20240105093015042.pdf"}, FolderEntries(m_desktop));
    EXPECT_EQ("1", PdfInfo(m_desktop + "/Tavrion_WS01_20240105093015042.pdf")["Pages"]);
    // A name that already ends in .pdf gets no second extension; a second
    // job of the same name replaces the first silently (AskToReplacePDF 0).
    ASSERT_GT(PrintJob(L"report.PDF"), 0);
    ASSERT_GT(PrintJob(L"report.PDF"), 0);
    EXPECT_EQ((std::vector<std::string>{"Tavrion_WS01_20240105093015042.pdf", "report.PDF"}), FolderEntries(m_desktop));
    EXPECT_TRUE(SpoolEntries().empty());
}

TEST_F(PdfPrinterTest, WithItsInstalledSettingsThePrinterAsksAndShows)
{
    // As installed: prompt, ask before replacing, show the result.
    std::vector<std::wstring> shown;
    platform::print::SetPdfViewer([&](const std::wstring& path) { shown.push_back(path); });
    std::vector<std::wstring> proposed;
    platform::print::SetPdfFileNamePrompt([&](std::wstring& path) {
        proposed.push_back(path);
        return true;
    });
    std::vector<CString> boxes;
    int answer = IDNO;
    MessageBoxHandler previous = SetMessageBoxHandler([&](const MessageBoxRequest& box) {
        boxes.push_back(box.caption + L"|" + box.text);
        return answer;
    });

    ASSERT_GT(PrintJob(L"job"), 0);
    const std::string target = m_desktop + "/job.pdf";
    ASSERT_EQ(1u, proposed.size());
    EXPECT_EQ(W(target), proposed[0]);
    EXPECT_EQ(std::vector<std::wstring>{W(target)}, shown);
    EXPECT_TRUE(boxes.empty());   // nothing to replace yet

    // The same name again: the box answers No, the first file stays.
    const std::string first = testsupport::ReadFileBytes(target);
    ASSERT_GT(PrintJob(L"job"), 0);
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(0, boxes[0].Find(L"Acrobat Distiller|"));
    EXPECT_EQ(first, testsupport::ReadFileBytes(target));
    EXPECT_EQ(std::vector<std::string>{"job.pdf"}, FolderEntries(m_desktop));
    // Yes replaces it.
    answer = IDYES;
    ASSERT_GT(PrintJob(L"job"), 0);
    EXPECT_EQ(2u, boxes.size());
    EXPECT_EQ(2u, shown.size());

    SetMessageBoxHandler(previous);
    platform::print::SetPdfViewer(nullptr);
    platform::print::SetPdfFileNamePrompt(nullptr);
}

TEST_F(PdfPrinterTest, ThePromptMayMoveOrCancelTheFile)
{
    SetSwitches(1, 0, 0);
    const std::string elsewhere = m_dir.File("chosen.pdf");
    platform::print::SetPdfFileNamePrompt([&](std::wstring& path) {
        path = W(elsewhere);
        return true;
    });
    ASSERT_GT(PrintJob(L"moved"), 0);
    EXPECT_TRUE(Exists(elsewhere));
    EXPECT_TRUE(FolderEntries(m_desktop).empty());

    // Cancelled: no file anywhere, and the job still ended well, as when a
    // person cancels the printer's save dialog.
    platform::print::SetPdfFileNamePrompt([](std::wstring&) { return false; });
    EXPECT_GT(PrintJob(L"cancelled"), 0);
    EXPECT_TRUE(FolderEntries(m_desktop).empty());

    // No prompt installed: the proposed name is taken.
    platform::print::SetPdfFileNamePrompt(nullptr);
    ASSERT_GT(PrintJob(L"default"), 0);
    EXPECT_EQ(std::vector<std::string>{"default.pdf"}, FolderEntries(m_desktop));
}

TEST_F(PdfPrinterTest, AbortedAndRawJobsLeaveNothing)
{
    SetSwitches(0, 0, 0);
    {
        ScopedPrinterDC dc(platform::print::kPdfPrinterName);
        const DOCINFOW info = DocInfo(L"aborted");
        ASSERT_GT(StartDocW(dc, &info), 0);
        ASSERT_GT(StartPage(dc), 0);
        ASSERT_GT(AbortDoc(dc), 0);
    }
    EXPECT_TRUE(FolderEntries(m_desktop).empty());

    // The PDF printer takes drawn pages, not printer languages.
    ScopedPrinter printer(platform::print::kPdfPrinterName);
    ASSERT_TRUE(printer != nullptr);
    DOC_INFO_1W raw = {const_cast<LPWSTR>(L"raw"), nullptr, const_cast<LPWSTR>(L"RAW")};
    EXPECT_EQ(0u, StartDocPrinterW(printer, 1, reinterpret_cast<LPBYTE>(&raw)));
    EXPECT_EQ(ERROR_INVALID_DATATYPE, GetLastError());
}

TEST_F(PdfPrinterTest, APortWithoutAUsableFolderFailsStartDocNamingThePrinterAndTheFolder)
{
    // A port folder removed since the printer was set up (a cleaned /tmp):
    // the person learns which printer and which folder, not just that it failed.
    const std::wstring folder = W(m_dir.File("no such folder"));
    const std::pair<std::wstring, std::wstring> ports[] = {{L"PDF:", L"PDF:"}, {folder + L"/*.pdf", folder}};
    platform::ui::MessageBoxRecorder boxes;
    for (const auto& port : ports) {
        platform::print::PrinterSetup setup;
        setup.name = L"Broken PDF";
        setup.kind = L"pdf";
        setup.port = port.first;
        ASSERT_TRUE(platform::print::ConfigurePrinter(setup));
        ScopedPrinterDC dc(L"Broken PDF");
        ASSERT_TRUE(dc != nullptr);
        const DOCINFOW info = DocInfo(L"x");
        boxes.Clear();
        EXPECT_EQ(SP_ERROR, StartDocW(dc, &info));
        EXPECT_EQ(ERROR_PATH_NOT_FOUND, GetLastError());
        ASSERT_EQ(1, boxes.Count());
        const std::wstring text = boxes.Last().text.GetString();
        EXPECT_NE(std::wstring::npos, text.find(L"Broken PDF")) << platform::ToUtf8(text);
        EXPECT_NE(std::wstring::npos, text.find(port.second)) << platform::ToUtf8(text);
    }
    // A printer whose folder is there says nothing.
    boxes.Clear();
    SetSwitches(0, 0, 0);
    EXPECT_GT(PrintJob(L"fine"), 0);
    EXPECT_EQ(0, boxes.Count());
}

TEST_F(PdfPrinterTest, AWindowsStylePortNamesTheSameFolder)
{
    SetSwitches(0, 0, 0);
    platform::print::PrinterSetup setup;
    setup.name = L"Acrobat Distiller";
    setup.kind = L"pdf";
    std::wstring port = W(m_desktop) + L"\\*.pdf";
    setup.port = port;
    ASSERT_TRUE(platform::print::ConfigurePrinter(setup));
    ASSERT_GT(PrintJob(L"backslash"), 0);
    EXPECT_EQ(std::vector<std::string>{"backslash.pdf"}, FolderEntries(m_desktop));
}

TEST_F(PdfPrinterTest, TheInstallationHasTheKeysThePrintDeviceReads)
{
    testsupport::TempDir install;
    platform::print::PdfPrinterSetup setup;
    setup.outputFolder = W(m_desktop);
    setup.installFolder = W(install.Path());
    setup.withVokJobOptions = true;
    ASSERT_TRUE(platform::print::ConfigurePdfPrinter(setup));

    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, kDriverData, 0, KEY_READ, &key));
    for (const wchar_t* name : {L"DeleteLogFiles", L"PromptForFileName", L"AskToReplacePDF", L"ViewPrintOutput"}) {
        DWORD type = 0;
        BYTE value[4] = {};
        DWORD size = sizeof(value);
        ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, name, nullptr, &type, value, &size));
        EXPECT_EQ((DWORD)REG_BINARY, type);
        EXPECT_EQ(1u, size);
        EXPECT_EQ(std::wstring(name) == L"DeleteLogFiles" ? 0 : 1, value[0]) << name;
    }
    RegCloseKey(key);

    // The settings folder as the print device finds it: the install path up
    // to its last separator, then Distillr\Settings.
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Adobe\\Adobe Acrobat\\5.0\\InstallPath", 0, KEY_READ, &key));
    wchar_t path[MAX_PATH] = {};
    DWORD size = sizeof(path);
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<LPBYTE>(path), &size));
    RegCloseKey(key);
    std::wstring settings = path;
    settings = settings.substr(0, settings.find_last_of(L"/\\") + 1) + L"Distillr\\Settings\\Vok.joboptions";
    EXPECT_TRUE(Exists(platform::NativePath(settings.c_str())));

    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Adobe\\Acrobat Distiller\\5.0", 0, KEY_READ, &key));
    wchar_t options[16] = {};
    size = sizeof(options);
    ASSERT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, L"JobOptions", nullptr, nullptr, reinterpret_cast<LPBYTE>(options), &size));
    EXPECT_STREQ(L"eBook", options);
    RegCloseKey(key);
}

}  // namespace
}  // namespace printtest
