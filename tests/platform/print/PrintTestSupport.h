// Shared pieces of the print layer's tests: a fixture with a registry, a
// win.ini and a spool folder of its own, and readers of what landed on disk.
#pragma once

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/CodePage.h"
#include "platform/base/Registry.h"
#include "platform/gdi/Gdi.h"
#include "platform/print/PrintSetup.h"
#include "platform/print/Spooler.h"
#include "tests/support/TestSupport.h"

// Everything lives in a namespace of its own: the tests of the whole
// platform link into one executable.
namespace printtest {

using testsupport::FolderEntries;

// Puts an environment variable back as it was when the object goes.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name)
    {
        const char* previous = std::getenv(name);
        m_had = previous != nullptr;
        if (previous) m_previous = previous;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv()
    {
        if (m_had) ::setenv(m_name, m_previous.c_str(), 1);
        else ::unsetenv(m_name);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    bool m_had = false;
    std::string m_previous;
};

inline std::wstring W(const std::string& utf8)
{
    return platform::FromUtf8(utf8);
}

inline bool Exists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// pdfinfo's "Key: value" lines; empty when the file is not a PDF poppler reads.
inline std::map<std::string, std::string> PdfInfo(const std::string& path)
{
    std::map<std::string, std::string> info;
    const std::string command = "pdfinfo '" + path + "' 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return info;
    char line[512];
    while (std::fgets(line, sizeof(line), pipe)) {
        std::string text = line;
        const size_t colon = text.find(':');
        if (colon == std::string::npos) continue;
        size_t start = text.find_first_not_of(' ', colon + 1);
        std::string value = start == std::string::npos ? std::string() : text.substr(start);
        while (!value.empty() && (value.back() == '\n' || value.back() == '\r')) value.pop_back();
        info[text.substr(0, colon)] = value;
    }
    const int status = ::pclose(pipe);
    if (status != 0) info.clear();
    return info;
}

inline bool HavePdfInfo()
{
    return std::system("pdfinfo -v >/dev/null 2>&1") == 0;
}

// A registry and win.ini of the test's own (win.ini lives beside the
// registry file) and a spool folder; everything is put back afterwards.
class PrintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_registry = m_dir.Write("registry.reg", "Windows Registry Editor Version 5.00\n\n");
        m_spool = m_dir.File("spool");
        m_registryEnv.reset(new ScopedEnv("MORVELANCE_REGISTRY", m_registry));
        m_spoolEnv.reset(new ScopedEnv("MORVELANCE_SPOOL", m_spool));
        // No print service: the machine's CUPS destinations stay out of the
        // printers a test sees (a test with a scheduler of its own names it).
        m_cupsEnv.reset(new ScopedEnv("CUPS_SERVER", m_dir.File("no-scheduler.sock")));
        platform::ReloadRegistry();
        m_liveAtStart = platform::gdi::LiveObjectCount();
    }

    void TearDown() override
    {
        EXPECT_EQ(m_liveAtStart, platform::gdi::LiveObjectCount()) << "GDI objects leaked by this test";
        m_cupsEnv.reset();
        m_spoolEnv.reset();
        m_registryEnv.reset();
        platform::ReloadRegistry();
    }

    // A printer of the spool folder.
    void AddPrinter(const std::wstring& name, int paper = 9, int orientation = 1)
    {
        platform::print::PrinterSetup setup;
        setup.name = name;
        setup.paperSize = paper;
        setup.orientation = orientation;
        ASSERT_TRUE(platform::print::ConfigurePrinter(setup));
    }

    std::vector<platform::print::SpooledJob> Jobs() const { return platform::print::ListSpooledJobs(m_spool); }
    std::vector<std::string> SpoolEntries() const { return FolderEntries(m_spool); }

    testsupport::TempDir m_dir;
    std::string m_registry;
    std::string m_spool;

private:
    std::unique_ptr<ScopedEnv> m_registryEnv;
    std::unique_ptr<ScopedEnv> m_spoolEnv;
    std::unique_ptr<ScopedEnv> m_cupsEnv;
    int m_liveAtStart = 0;
};

// A printer handle closed when the scope ends.
class ScopedPrinter {
public:
    explicit ScopedPrinter(const wchar_t* name, const PRINTER_DEFAULTSW* defaults = nullptr)
    {
        if (!OpenPrinterW(name, &m_handle, defaults)) m_handle = nullptr;
    }
    ~ScopedPrinter()
    {
        if (m_handle) ClosePrinter(m_handle);
    }
    ScopedPrinter(const ScopedPrinter&) = delete;
    ScopedPrinter& operator=(const ScopedPrinter&) = delete;
    operator HANDLE() const { return m_handle; }

private:
    HANDLE m_handle = nullptr;
};

// A printer DC deleted when the scope ends.
class ScopedPrinterDC {
public:
    ScopedPrinterDC(const wchar_t* printer, const DEVMODEW* mode = nullptr)
        : m_hdc(CreateDCW(L"WINSPOOL", printer, nullptr, mode))
    {
    }
    ~ScopedPrinterDC()
    {
        if (m_hdc) DeleteDC(m_hdc);
    }
    ScopedPrinterDC(const ScopedPrinterDC&) = delete;
    ScopedPrinterDC& operator=(const ScopedPrinterDC&) = delete;
    operator HDC() const { return m_hdc; }
    // Gives up ownership, for tests that delete the DC themselves.
    HDC Release()
    {
        HDC hdc = m_hdc;
        m_hdc = nullptr;
        return hdc;
    }

private:
    HDC m_hdc;
};

// One raw job through the spooler; the last error when it failed, else 0.
inline DWORD PrintRaw(const wchar_t* printer, const std::string& bytes, const DEVMODEW* mode = nullptr)
{
    PRINTER_DEFAULTSW defaults = {};
    defaults.pDevMode = const_cast<DEVMODEW*>(mode);
    ScopedPrinter handle(printer, mode ? &defaults : nullptr);
    if (!handle) return GetLastError();
    DOC_INFO_1W info = {};
    wchar_t name[] = L"Report";
    info.pDocName = name;
    if (StartDocPrinterW(handle, 1, reinterpret_cast<LPBYTE>(&info)) == 0) return GetLastError();
    DWORD written = 0;
    if (!WritePrinter(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written)) return GetLastError();
    return EndDocPrinter(handle) ? 0 : GetLastError();
}

inline DOCINFOW DocInfo(const wchar_t* name, const wchar_t* output = nullptr)
{
    DOCINFOW info = {};
    info.cbSize = 20;   // the 32-bit size the system's code puts there
    info.lpszDocName = name;
    info.lpszOutput = output;
    return info;
}

}  // namespace printtest
