#include "host/PdfJobFolder.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/base/CodePage.h"
#include "platform/base/Profile.h"
#include "platform/base/Registry.h"
#include "platform/base/Temporaries.h"
#include "platform/print/PrintSetup.h"

namespace host {
namespace {

const wchar_t kPdfPrinterKey[] = L"SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\Acrobat Distiller";

const char kPrintFolderStem[] = "morvelance-print-";

std::string TempRoot()
{
    const char* tmp = std::getenv("TMPDIR");
    return tmp && *tmp ? tmp : "/tmp";
}

// Whether a job folder ("morvelance-print-<pid>-XXXXXX") was left by a job
// that is gone: its process no longer runs, or (the older form without a
// process id) it is older than any job takes.
bool AbandonedJobFolder(const std::string& name, const struct stat& st)
{
    const std::string stem = kPrintFolderStem;
    if (name.compare(0, stem.size(), stem) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid()) return false;
    const std::string rest = name.substr(stem.size());
    const size_t dash = rest.find('-');
    const std::string pid = dash == std::string::npos ? std::string() : rest.substr(0, dash);
    if (pid.empty() || pid.size() > 9 || pid.find_first_not_of("0123456789") != std::string::npos)
        return platform::OlderThan(st.st_mtim.tv_sec, platform::kStaleTemporarySeconds);
    const pid_t writer = static_cast<pid_t>(std::atol(pid.c_str()));
    return writer != getpid() && !platform::ProcessIsAlive(writer);
}

// Removes the folders of killed jobs, so that they do not pile up. The
// temporary folder is shared with every other program: only the names of
// our own jobs are looked at further, or each print would pay for a look at
// each of thousands of entries.
void SweepAbandonedJobFolders(const std::string& root)
{
    const size_t stem = sizeof kPrintFolderStem - 1;
    std::vector<std::string> abandoned;
    if (DIR* dir = opendir(root.c_str())) {
        while (dirent* entry = readdir(dir)) {
            if (std::strncmp(entry->d_name, kPrintFolderStem, stem) != 0) continue;
            if (entry->d_type != DT_DIR && entry->d_type != DT_UNKNOWN) continue;
            const std::string path = root + "/" + entry->d_name;
            struct stat st;
            if (lstat(path.c_str(), &st) == 0 && AbandonedJobFolder(entry->d_name, st)) abandoned.push_back(path);
        }
        closedir(dir);
    }
    for (const std::string& path : abandoned) RemoveTree(path);
}

// Copies a file that may be absent; false when one that is there cannot be copied.
bool CopyIfPresent(const std::string& from, const std::string& to)
{
    std::string bytes;
    if (from.empty() || access(from.c_str(), F_OK) != 0) return true;
    return platform::textfile::Read(from, bytes) && platform::textfile::ReplaceAtomically(to, bytes);
}

}  // namespace

void RemoveTree(const std::string& path)
{
    if (DIR* dir = opendir(path.c_str())) {
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            const std::string child = path + "/" + name;
            struct stat st;
            if (lstat(child.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
                RemoveTree(child);
            else
                unlink(child.c_str());
        }
        closedir(dir);
    }
    rmdir(path.c_str());
}

// The job's own folder, named after its process so that the next job can
// tell it from one still at work.
std::string MakeTempFolder()
{
    const std::string root = TempRoot();
    SweepAbandonedJobFolders(root);
    std::string pattern = root + "/" + kPrintFolderStem + std::to_string(getpid()) + "-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    return mkdtemp(buffer.data()) ? std::string(buffer.data()) : std::string();
}


bool JobRegistry::Enter(const std::string& copy)
{
    const std::string user = platform::RegistryPath();
    if (!CopyIfPresent(user, copy) || !CopyIfPresent(platform::WinIniPath(), platform::textfile::FolderOf(copy) + "/win.ini"))
        return false;
    const char* named = std::getenv("MORVELANCE_REGISTRY");
    m_hadName = named != nullptr;
    m_oldName = named ? named : "";
    // The copy is the job's alone and goes with its folder: its changes are
    // written once, when the job leaves it, not synced and renamed one by one.
    platform::DeferRegistryWritesTo(copy);
    setenv("MORVELANCE_REGISTRY", copy.c_str(), 1);
    platform::ReloadRegistry();
    m_aside.reset(new platform::print::PrintServiceAside);
    m_entered = true;
    return true;
}

void JobRegistry::Leave()
{
    if (!m_entered) return;
    m_aside.reset();
    platform::DeferRegistryWritesTo(std::string());
    if (m_hadName)
        setenv("MORVELANCE_REGISTRY", m_oldName.c_str(), 1);
    else
        unsetenv("MORVELANCE_REGISTRY");
    platform::ReloadRegistry();
    m_entered = false;
}

bool InstallPdfPrinter(const std::string& work)
{
    const std::string port = work + "/printer";
    if (mkdir(port.c_str(), 0755) != 0) return false;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPdfPrinterKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        const std::wstring value = platform::FromUtf8(port + "/*.pdf");
        const LONG set = RegSetValueExW(key, L"Port", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(key);
        return set == ERROR_SUCCESS;
    }
    platform::print::PdfPrinterSetup setup;
    setup.outputFolder = platform::FromUtf8(port);
    setup.installFolder = platform::FromUtf8(work + "/Adobe");
    return platform::print::ConfigurePdfPrinter(setup);
}

}  // namespace host
