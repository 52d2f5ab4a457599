#include "platform/base/Temporaries.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <vector>

namespace platform {

namespace {

std::string FolderPart(const std::string& path)
{
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

std::string NamePart(const std::string& path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool IsHex(const std::string& text)
{
    if (text.size() != 8) return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

// The writer of a temporary's name ".<name>.<pid>.<hex>.tmp"; 0 for the
// older form without one (".<name>.<hex>.tmp"), -1 for no temporary at all.
long WriterOf(const std::string& name)
{
    const std::string tail = ".tmp";
    if (name.size() < 1 + 1 + 8 + tail.size() || name[0] != '.' ||
        name.compare(name.size() - tail.size(), tail.size(), tail) != 0)
        return -1;
    const std::string stem = name.substr(0, name.size() - tail.size());
    const size_t hexDot = stem.rfind('.');
    if (hexDot == std::string::npos || hexDot == 0 || !IsHex(stem.substr(hexDot + 1))) return -1;
    const std::string rest = stem.substr(0, hexDot);
    const size_t pidDot = rest.rfind('.');
    if (pidDot == std::string::npos || pidDot == 0) return -1;
    const std::string pid = rest.substr(pidDot + 1);
    if (pid.empty() || pid.size() > 9 || pid.find_first_not_of("0123456789") != std::string::npos)
        return 0;   // the file's own name ends in a dot part: the form without a writer
    return std::atol(pid.c_str());
}

}  // namespace

bool ProcessIsAlive(pid_t pid)
{
    if (pid <= 0) return false;
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

bool OlderThan(long long modified, long seconds)
{
    return static_cast<long long>(std::time(nullptr)) - modified > seconds;
}

int CreateTemporaryBeside(const std::string& target, std::string& tempPath, mode_t mode)
{
    static thread_local std::mt19937 random(std::random_device{}());
    const std::string stem = FolderPart(target) + "/." + NamePart(target) + "." + std::to_string(::getpid()) + ".";
    for (int attempt = 0; attempt < 32; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%08x.tmp", static_cast<unsigned>(random()));
        tempPath = stem + suffix;
        const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

void RemoveStaleTemporaries(const std::string& target)
{
    const std::string folder = FolderPart(target);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    std::vector<std::string> stale;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        const long writer = WriterOf(name);
        if (writer < 0) continue;
        struct stat info;
        const std::string path = folder + "/" + name;
        if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
        const bool old = OlderThan(info.st_mtim.tv_sec, kStaleTemporarySeconds);
        if (old || (writer > 0 && writer != ::getpid() && !ProcessIsAlive(static_cast<pid_t>(writer))))
            stale.push_back(path);
    }
    ::closedir(dir);
    for (const std::string& path : stale) ::unlink(path.c_str());
}

}  // namespace platform
