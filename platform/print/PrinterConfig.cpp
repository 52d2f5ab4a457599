#include "platform/print/PrinterConfig.h"

#include <algorithm>
#include <cstdlib>
#include <cwctype>

#include "platform/base/CodePage.h"
#include "platform/base/File.h"
#include "platform/base/Profile.h"
#include "platform/base/Registry.h"
#include "platform/print/CupsQueue.h"

namespace platform {
namespace print {

const wchar_t kPrintersKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers";

namespace {

// Closes a registry key when the scope ends.
class KeyCloser {
public:
    explicit KeyCloser(HKEY key) : m_key(key) {}
    ~KeyCloser()
    {
        if (m_key) RegCloseKey(m_key);
    }
    KeyCloser(const KeyCloser&) = delete;
    KeyCloser& operator=(const KeyCloser&) = delete;

private:
    HKEY m_key;
};

std::wstring Trimmed(const std::wstring& text)
{
    const size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return std::wstring();
    const size_t last = text.find_last_not_of(L" \t");
    return text.substr(first, last - first + 1);
}

QueueKind KindFromText(const std::wstring& text)
{
    const std::wstring kind = Trimmed(text);
    if (kind.empty() || EqualNoCase(kind, L"spool")) return QueueKind::Spool;
    if (EqualNoCase(kind, L"pdf")) return QueueKind::Pdf;
    return QueueKind::Unsupported;
}

int DwordOr(HKEY key, const wchar_t* valueName, int fallback)
{
    DWORD value = 0;
    return ReadRegDword(key, valueName, value) ? (int)value : fallback;
}

bool ReadPrinter(HKEY printers, const std::wstring& keyName, PrinterConfig& printer)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(printers, keyName.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    KeyCloser closer(key);
    printer = PrinterConfig();
    printer.name = keyName;
    printer.port = ReadRegString(key, L"Port", L"");
    printer.driver = ReadRegString(key, L"Printer Driver", L"");
    printer.datatype = ReadRegString(key, L"Datatype", L"RAW");
    if (printer.datatype.empty()) printer.datatype = L"RAW";
    printer.comment = ReadRegString(key, L"Comment", L"");
    printer.location = ReadRegString(key, L"Location", L"");
    printer.spoolDirectory = ReadRegString(key, L"SpoolDirectory", L"");
    printer.kind = KindFromText(ReadRegString(key, L"Kind", L""));
    printer.cupsDestination = CupsDestinationOfPort(printer.port);
    // The PDF printer's port is its folder: it is no CUPS queue whatever it says.
    if (printer.kind == QueueKind::Pdf) printer.cupsDestination.clear();
    printer.paperSize = DwordOr(key, L"PaperSize", printer.paperSize);
    printer.orientation = DwordOr(key, L"Orientation", printer.orientation);
    printer.copies = DwordOr(key, L"Copies", printer.copies);
    return true;
}

// Calls `visit` with every printer key name until it returns false.
template <class Visit> void ForEachPrinterKey(HKEY printers, Visit visit)
{
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD length = sizeof(name) / sizeof(name[0]);
        const LONG status = RegEnumKeyExW(printers, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_MORE_DATA) continue;   // a name no printer may have
        if (status != ERROR_SUCCESS) return;
        if (!visit(std::wstring(name, length))) return;
    }
}

}  // namespace

bool EqualNoCase(const std::wstring& a, const std::wstring& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    }
    return true;
}

std::wstring ReadRegString(HKEY key, const wchar_t* valueName, const std::wstring& fallback)
{
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return fallback;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return fallback;
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    DWORD got = (DWORD)(text.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<LPBYTE>(&text[0]), &got) != ERROR_SUCCESS)
        return fallback;
    text.resize(got / sizeof(wchar_t));
    const size_t end = text.find(L'\0');
    if (end != std::wstring::npos) text.resize(end);
    return text;
}

bool ReadRegDword(HKEY key, const wchar_t* valueName, DWORD& value)
{
    DWORD type = 0;
    BYTE data[8] = {};
    DWORD size = sizeof(data);
    if (RegQueryValueExW(key, valueName, nullptr, &type, data, &size) != ERROR_SUCCESS) return false;
    if (type == REG_DWORD && size == 4) {
        value = (DWORD)data[0] | ((DWORD)data[1] << 8) | ((DWORD)data[2] << 16) | ((DWORD)data[3] << 24);
        return true;
    }
    // The PDF printer's switches are one-byte binary values.
    if (type == REG_BINARY && size >= 1) {
        value = data[0];
        return true;
    }
    return false;
}

bool FindPrinter(const wchar_t* name, PrinterConfig& printer)
{
    if (!name || !*name) return false;
    HKEY printers = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPrintersKey, 0, KEY_READ, &printers) != ERROR_SUCCESS)
        return FindCupsPrinter(name, printer);
    KeyCloser closer(printers);
    const std::wstring wanted = name;
    bool found = false;
    ForEachPrinterKey(printers, [&](const std::wstring& keyName) {
        if (EqualNoCase(keyName, wanted)) found = ReadPrinter(printers, keyName, printer);
        return !found;
    });
    return found || FindCupsPrinter(wanted, printer);
}

std::vector<PrinterConfig> ListPrinters()
{
    std::vector<PrinterConfig> list;
    HKEY printers = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPrintersKey, 0, KEY_READ, &printers) == ERROR_SUCCESS) {
        KeyCloser closer(printers);
        ForEachPrinterKey(printers, [&](const std::wstring& keyName) {
            PrinterConfig printer;
            if (ReadPrinter(printers, keyName, printer)) list.push_back(printer);
            return true;
        });
    }
    // A registry printer keeps its name: a destination of the same name is reached through it.
    const size_t configured = list.size();
    for (const PrinterConfig& cups : ListCupsPrinters()) {
        const auto named = [&](const PrinterConfig& printer) { return EqualNoCase(printer.name, cups.name); };
        if (std::none_of(list.begin(), list.begin() + static_cast<long>(configured), named)) list.push_back(cups);
    }
    return list;
}

std::string DefaultSpoolFolder()
{
    const char* env = std::getenv("MORVELANCE_SPOOL");
    if (env && *env) return NativePath(platform::WidePath(env));
    const char* tmpdir = std::getenv("TMPDIR");
    std::string folder = tmpdir && *tmpdir ? tmpdir : "/tmp";
    if (folder.back() != '/') folder += '/';
    return folder + "morvelance-spool";
}

std::string SpoolFolderOf(const PrinterConfig& printer)
{
    if (!printer.spoolDirectory.empty()) return NativePath(printer.spoolDirectory.c_str());
    return DefaultSpoolFolder();
}

DefaultPrinterEntry ReadDefaultPrinterEntry()
{
    wchar_t text[1024] = {};
    GetProfileStringW(L"windows", L"device", L"", text, sizeof(text) / sizeof(text[0]));
    DefaultPrinterEntry entry;
    std::wstring* parts[3] = {&entry.name, &entry.driver, &entry.port};
    int part = 0;
    for (const wchar_t* p = text; *p; ++p) {
        if (*p == L',' && part < 2) {
            ++part;
            continue;
        }
        parts[part]->push_back(*p);
    }
    return entry;
}

}  // namespace print
}  // namespace platform
