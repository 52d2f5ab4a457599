#include "tests/support/TestSupport.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/base/Registry.h"
#include "platform/base/CodePage.h"

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

void UseRegistryServerPath(const std::string& serverPath)
{
    static std::string file;
    if (file.empty()) {
        file = (std::filesystem::temp_directory_path() / ("morvelance-test-" + std::to_string(getpid()) + ".reg")).string();
    }
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
