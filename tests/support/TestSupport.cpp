#include "tests/support/TestSupport.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>

#include "platform/base/Registry.h"
#include "platform/base/CodePage.h"
#include "platform/base/Temporaries.h"

namespace testsupport {

std::string SourceDir() { return MORVELANCE_SOURCE_DIR; }
std::string BinaryDir() { return MORVELANCE_BINARY_DIR; }
std::string WorkDir() { return MORVELANCE_WORKDIR; }
std::string ZarnDir() { return MORVELANCE_ZARN_DIR; }

std::string SharedDataDir() { return MORVELANCE_SHARED_DATA; }

std::string SharedData(const std::string& relative)
{
    std::error_code ec;
    std::filesystem::path path = std::filesystem::path(MORVELANCE_SHARED_DATA) / relative;
    if (!std::filesystem::exists(path, ec)) return std::string();
    return std::filesystem::weakly_canonical(path, ec).string();
}

std::string RegistryFile()
{
    const char* env = std::getenv("MORVELANCE_REGISTRY");
    return env ? env : std::string();
}

void UseRegistryWithWorkDir(const std::string& workDir)
{
    UseRegistryServerPath(workDir.empty() ? std::string() : workDir + "/Tavrion.ocx");
}

namespace {

const char kRegistryFolderStem[] = "morvelance-test-";

// A test process's registry entry whose process is gone: its folder
// ("morvelance-test-<pid>-XXXXXX") when the process was killed before it
// could remove it, or the file and lock an earlier version of these helpers
// left behind ("morvelance-test-<pid>.reg", ".morvelance-test-<pid>.reg.lock").
bool AbandonedRegistryEntry(const std::string& name)
{
    const std::string stem = kRegistryFolderStem;
    const size_t at = name.compare(0, 1, ".") == 0 ? 1 : 0;
    if (name.compare(at, stem.size(), stem) != 0) return false;
    const std::string rest = name.substr(at + stem.size());
    const size_t digits = rest.find_first_not_of("0123456789");
    if (digits == 0 || digits == std::string::npos || digits > 9) return false;
    const std::string tail = rest.substr(digits);
    const bool folder = at == 0 && tail[0] == '-';
    const bool older = tail == (at == 0 ? ".reg" : ".reg.lock");
    if (!folder && !older) return false;
    const pid_t owner = static_cast<pid_t>(std::atol(rest.substr(0, digits).c_str()));
    return owner != getpid() && !platform::ProcessIsAlive(owner);
}

// The folders made for this process, removed when it ends. A forked child
// that exits normally runs the destructor too: the folders are its parent's.
class ProcessFolders {
public:
    ~ProcessFolders()
    {
        if (getpid() != m_owner) return;
        for (const std::string& path : m_paths) {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    }
    void Add(const std::string& path)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_paths.push_back(path);
    }

private:
    const pid_t m_owner = getpid();
    std::mutex m_lock;
    std::vector<std::string> m_paths;
};

ProcessFolders& MadeFolders()
{
    static ProcessFolders folders;
    return folders;
}

// The registry of this test process lives in a folder of its own, with the
// win.ini, lock and temporaries the platform writes beside it, and the
// folder goes when the process ends: a suite leaves nothing in the
// temporary folder, and no two processes share a win.ini. Folders of test
// processes that were killed go when the next one starts.
std::string RegistryFolder()
{
    const std::filesystem::path root = std::filesystem::temp_directory_path();
    for (const std::string& name : FolderEntries(root.string())) {
        std::error_code ec;
        if (AbandonedRegistryEntry(name)) std::filesystem::remove_all(root / name, ec);
    }
    return ProcessTempFolder(kRegistryFolderStem + std::to_string(getpid()) + "-");
}

}  // namespace

void UseRegistryServerPath(const std::string& serverPath)
{
    // Made on first use and removed at exit.
    static const std::string file = RegistryFolder() + "/registry.reg";
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << "Windows Registry Editor Version 5.00\n\n";
    if (!serverPath.empty()) {
        std::string escaped;
        for (char c : serverPath) {
            if (c == '\\' || c == '"') escaped.push_back('\\');
            escaped.push_back(c);
        }
        out << "[HKEY_CLASSES_ROOT\\CLSID\\{6D6F7276-656C-616E-6365-574F524B4449}\\InprocServer32]\n";
        out << "@=\"" << escaped << "\"\n";
    }
    out.close();
    setenv("MORVELANCE_REGISTRY", file.c_str(), 1);
    platform::ReloadRegistry();
}

std::string ProcessTempFolder(const std::string& stem)
{
    std::string pattern = (std::filesystem::temp_directory_path() / (stem + "XXXXXX")).string();
    if (!mkdtemp(&pattern[0])) return std::string();
    MadeFolders().Add(pattern);
    return pattern;
}

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "morvelance-XXXXXX").string();
    char* made = mkdtemp(&pattern[0]);
    m_path = made ? made : pattern;
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::string TempDir::Write(const std::string& name, const std::string& bytes) const
{
    std::string path = File(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> FolderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace testsupport
