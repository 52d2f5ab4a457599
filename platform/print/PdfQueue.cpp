#include "platform/print/PdfQueue.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>
#include <vector>

#include "platform/base/CodePage.h"
#include "platform/base/File.h"
#include "platform/base/Kernel.h"
#include "platform/base/MessageBox.h"
#include "platform/base/Registry.h"
#include "platform/base/Temporaries.h"
#include "platform/print/PrintSetup.h"
#include "platform/print/SpoolFiles.h"

namespace platform {
namespace print {

const wchar_t kPrinterDriverDataKey[] = L"PrinterDriverData";

namespace {

struct PdfHooks {
    std::mutex mutex;
    PdfFileNamePrompt prompt;
    PdfViewer viewer;
};

PdfHooks& Hooks()
{
    static PdfHooks hooks;
    return hooks;
}

struct PdfSettings {
    bool promptForFileName = false;
    bool askToReplace = false;
    bool viewOutput = false;
};

PdfSettings ReadSettings(const PrinterConfig& printer)
{
    PdfSettings settings;
    const std::wstring path = std::wstring(kPrintersKey) + L"\\" + printer.name + L"\\" + kPrinterDriverDataKey;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return settings;
    DWORD value = 0;
    settings.promptForFileName = ReadRegDword(key, L"PromptForFileName", value) && value != 0;
    settings.askToReplace = ReadRegDword(key, L"AskToReplacePDF", value) && value != 0;
    settings.viewOutput = ReadRegDword(key, L"ViewPrintOutput", value) && value != 0;
    RegCloseKey(key);
    return settings;
}

bool FileExists(const std::string& path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

// The proposed path after the prompt; false when the prompt was cancelled.
bool AskFileName(std::string& path)
{
    PdfFileNamePrompt prompt;
    {
        std::lock_guard<std::mutex> lock(Hooks().mutex);
        prompt = Hooks().prompt;
    }
    if (!prompt) return true;
    std::wstring chosen = platform::WidePath(path);
    if (!prompt(chosen) || chosen.empty()) return false;
    path = NativePath(chosen.c_str());
    return true;
}

bool MayReplace(const PrinterConfig& printer, const std::string& path)
{
    const std::wstring text = platform::WidePath(path) + L" already exists.\r\nDo you want to replace it?";
    return MessageBoxW(nullptr, text.c_str(), printer.name.c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void ShowOutput(const std::string& path)
{
    PdfViewer viewer;
    {
        std::lock_guard<std::mutex> lock(Hooks().mutex);
        viewer = Hooks().viewer;
    }
    if (viewer) viewer(platform::WidePath(path));
}

}  // namespace

std::string PdfPortFolder(const PrinterConfig& printer)
{
    const std::string port = NativePath(printer.port.c_str());
    const size_t slash = port.rfind('/');
    if (slash == std::string::npos) return std::string();
    if (slash == 0) return "/";
    return port.substr(0, slash);
}

std::string PdfFileName(const std::wstring& document)
{
    std::string name = SpoolFileNamePart(document);
    if (name.empty()) name = "Untitled";
    const bool hasExtension = name.size() > 4 && EqualNoCase(FromUtf8(name.substr(name.size() - 4)), L".pdf");
    return hasExtension ? name : name + ".pdf";
}

std::string PdfWorkingName(DWORD jobId)
{
    return ".~" + std::to_string(::getpid()) + "-" + std::to_string(jobId) + ".distilling.pdf";
}

void SweepDeadPdfJobs(const std::string& folder)
{
    std::vector<std::string> dead;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (const dirent* entry = ::readdir(dir)) {
            const std::string name = entry->d_name;
            if (name.compare(0, 2, ".~") != 0 || name.find(".distilling.pdf") == std::string::npos) continue;
            const size_t dash = name.find('-');
            const std::string pid = dash == std::string::npos ? std::string() : name.substr(2, dash - 2);
            if (pid.empty() || pid.size() > 9 || pid.find_first_not_of("0123456789") != std::string::npos) continue;
            const pid_t writer = static_cast<pid_t>(std::atol(pid.c_str()));
            if (writer != ::getpid() && !ProcessIsAlive(writer)) dead.push_back(folder + "/" + name);
        }
        ::closedir(dir);
    }
    for (const std::string& path : dead) ::unlink(path.c_str());
}

bool DeliverPdf(const PrinterConfig& printer, const std::string& produced, const std::wstring& document,
                DWORD& error)
{
    const PdfSettings settings = ReadSettings(printer);
    std::string target = PdfPortFolder(printer) + "/" + PdfFileName(document);
    const bool keep = (!settings.promptForFileName || AskFileName(target)) &&
                      (!settings.askToReplace || !FileExists(target) || MayReplace(printer, target));
    if (!keep) {
        ::unlink(produced.c_str());
        return true;
    }
    if (produced != target) {
        const std::wstring from = platform::WidePath(produced);
        const std::wstring to = platform::WidePath(target);
        if (!MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)) {
            error = GetLastError();
            ::unlink(produced.c_str());
            return false;
        }
    }
    if (settings.viewOutput) ShowOutput(target);
    return true;
}

PdfFileNamePrompt SetPdfFileNamePrompt(PdfFileNamePrompt prompt)
{
    std::lock_guard<std::mutex> lock(Hooks().mutex);
    std::swap(prompt, Hooks().prompt);
    return prompt;
}

PdfViewer SetPdfViewer(PdfViewer viewer)
{
    std::lock_guard<std::mutex> lock(Hooks().mutex);
    std::swap(viewer, Hooks().viewer);
    return viewer;
}

}  // namespace print
}  // namespace platform
