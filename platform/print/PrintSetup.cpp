#include "platform/print/PrintSetup.h"

#include <mutex>

#include "platform/base/CodePage.h"
#include "platform/base/File.h"
#include "platform/base/Profile.h"
#include "platform/base/Registry.h"
#include "platform/print/PdfQueue.h"
#include "platform/print/PrinterConfig.h"

namespace platform {
namespace print {

const wchar_t kPdfPrinterName[] = L"Acrobat Distiller";

namespace {

const wchar_t kAcrobatInstallKey[] = L"SOFTWARE\\Adobe\\Adobe Acrobat\\5.0\\InstallPath";
const wchar_t kDistillerKey[] = L"SOFTWARE\\Adobe\\Acrobat Distiller\\5.0";

// A key opened (and created) for writing, closed when the scope ends.
class WritableKey {
public:
    explicit WritableKey(const std::wstring& path)
    {
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key,
                            nullptr) != ERROR_SUCCESS)
            m_key = nullptr;
    }
    ~WritableKey()
    {
        if (m_key) RegCloseKey(m_key);
    }
    WritableKey(const WritableKey&) = delete;
    WritableKey& operator=(const WritableKey&) = delete;

    explicit operator bool() const { return m_key != nullptr; }

    bool SetString(const wchar_t* name, const std::wstring& value)
    {
        const DWORD bytes = (DWORD)((value.size() + 1) * sizeof(wchar_t));
        return RegSetValueExW(m_key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes) ==
               ERROR_SUCCESS;
    }
    bool SetDword(const wchar_t* name, DWORD value)
    {
        const BYTE bytes[4] = {(BYTE)value, (BYTE)(value >> 8), (BYTE)(value >> 16), (BYTE)(value >> 24)};
        return RegSetValueExW(m_key, name, 0, REG_DWORD, bytes, sizeof(bytes)) == ERROR_SUCCESS;
    }
    bool SetByte(const wchar_t* name, BYTE value)
    {
        return RegSetValueExW(m_key, name, 0, REG_BINARY, &value, 1) == ERROR_SUCCESS;
    }

private:
    HKEY m_key = nullptr;
};

std::wstring PrinterKeyPath(const std::wstring& name)
{
    return std::wstring(kPrintersKey) + L"\\" + name;
}

bool ValidPrinterName(const std::wstring& name)
{
    return !name.empty() && name.find(L'\\') == std::wstring::npos && name.find(L',') == std::wstring::npos;
}

bool WriteTextFile(const std::string& path, const std::string& text)
{
    return textfile::ReplaceAtomically(path, text);
}

// A job options file of the installation: a small distiller parameter dictionary.
std::string JobOptionsText(const char* resolution)
{
    return std::string("<<\n/ColorImageResolution ") + resolution + "\n/GrayImageResolution " + resolution +
           "\n/CompatibilityLevel 1.4\n>> setdistillerparams\n";
}

bool InstallAcrobatFolder(const PdfPrinterSetup& setup)
{
    if (setup.installFolder.empty()) return true;
    std::wstring install = setup.installFolder;
    while (install.size() > 1 && (install.back() == L'/' || install.back() == L'\\')) install.pop_back();
    // InstallPath names the Acrobat folder itself; the settings sit beside it.
    const std::string acrobat = NativePath((install + L"/Acrobat").c_str());
    const std::string settings = NativePath((install + L"/Distillr/Settings").c_str());
    if (!textfile::MakeFolders(acrobat) || !textfile::MakeFolders(settings)) return false;
    if (!WriteTextFile(settings + "/eBook.joboptions", JobOptionsText("150"))) return false;
    if (setup.withVokJobOptions && !WriteTextFile(settings + "/Vok.joboptions", JobOptionsText("600"))) return false;
    WritableKey key(kAcrobatInstallKey);
    return key && key.SetString(nullptr, install + L"/Acrobat");
}

}  // namespace

bool ConfigurePrinter(const PrinterSetup& setup)
{
    if (!ValidPrinterName(setup.name)) return false;
    WritableKey key(PrinterKeyPath(setup.name));
    if (!key) return false;
    bool written = key.SetString(L"Port", setup.port) && key.SetString(L"Printer Driver", setup.driver) &&
                   key.SetString(L"Datatype", setup.datatype) && key.SetString(L"Kind", setup.kind) &&
                   key.SetDword(L"PaperSize", (DWORD)setup.paperSize) &&
                   key.SetDword(L"Orientation", (DWORD)setup.orientation) && key.SetDword(L"Copies", (DWORD)setup.copies);
    if (written && !setup.spoolDirectory.empty()) written = key.SetString(L"SpoolDirectory", setup.spoolDirectory);
    return written;
}

bool RemovePrinter(const std::wstring& name)
{
    if (!ValidPrinterName(name)) return false;
    return RegDeleteTreeW(HKEY_LOCAL_MACHINE, PrinterKeyPath(name).c_str()) == ERROR_SUCCESS;
}

bool ConfigurePdfPrinter(const PdfPrinterSetup& setup)
{
    if (setup.outputFolder.empty()) return false;
    PrinterSetup printer;
    printer.name = setup.name;
    printer.port = setup.outputFolder + L"/*.pdf";
    printer.driver = L"AdobePS Acrobat Distiller";
    printer.kind = L"pdf";
    if (!ConfigurePrinter(printer)) return false;
    WritableKey data(PrinterKeyPath(setup.name) + L"\\" + kPrinterDriverDataKey);
    if (!data || !data.SetByte(L"DeleteLogFiles", 0) || !data.SetByte(L"PromptForFileName", 1) ||
        !data.SetByte(L"AskToReplacePDF", 1) || !data.SetByte(L"ViewPrintOutput", 1))
        return false;
    WritableKey distiller(kDistillerKey);
    if (!distiller || !distiller.SetString(L"JobOptions", L"eBook")) return false;
    return InstallAcrobatFolder(setup);
}

std::string SpoolFolder(const std::wstring& printer)
{
    PrinterConfig config;
    if (!printer.empty() && FindPrinter(printer.c_str(), config)) return SpoolFolderOf(config);
    return DefaultSpoolFolder();
}

namespace {

std::mutex g_unnamedLock;
std::wstring g_unnamedDocument;

}  // namespace

void SetUnnamedDocumentName(const std::wstring& name)
{
    std::lock_guard<std::mutex> guard(g_unnamedLock);
    g_unnamedDocument = name;
}

std::wstring UnnamedDocumentName()
{
    std::lock_guard<std::mutex> guard(g_unnamedLock);
    return g_unnamedDocument;
}

}  // namespace print
}  // namespace platform
