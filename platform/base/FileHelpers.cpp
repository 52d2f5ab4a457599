#include "platform/base/FileHelpers.h"

#include <cerrno>
#include <cstdint>
#include <vector>

#include <unistd.h>

#include "platform/base/File.h"
#include "platform/base/Kernel.h"

namespace platform {
namespace fileio {

std::string CurrentDirectory()
{
    std::vector<char> buffer(4096);
    while (!getcwd(buffer.data(), buffer.size())) {
        if (errno != ERANGE) return std::string();
        buffer.resize(buffer.size() * 2);
    }
    return std::string(buffer.data());
}

bool IsAbsolute(const std::wstring& path)
{
    return !path.empty() && (path[0] == L'/' || path[0] == L'\\');
}

std::wstring AbsolutePath(const std::wstring& path)
{
    if (IsAbsolute(path)) return path;
    return platform::WidePath(CurrentDirectory()) + L'/' + path;
}

std::string ParentFolder(const std::string& native)
{
    std::string trimmed = native;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    const size_t slash = trimmed.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return trimmed.substr(0, slash);
}

DWORD PathError(int err, const std::string& native)
{
    if (err == ENOENT) {
        struct stat st;
        const std::string parent = ParentFolder(native);
        if (stat(parent.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return ERROR_PATH_NOT_FOUND;
        return ERROR_FILE_NOT_FOUND;
    }
    return platform::ErrorFromErrno(err);
}

BOOL Fail(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

bool IsReadOnlyMode(mode_t mode)
{
    return (mode & S_IWUSR) == 0;
}

DWORD AttributesFromStat(const struct stat& st)
{
    DWORD attributes = 0;
    if (S_ISDIR(st.st_mode)) attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (IsReadOnlyMode(st.st_mode)) attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

int FdFromHandle(HANDLE handle)
{
    return static_cast<int>(reinterpret_cast<intptr_t>(handle));
}

HANDLE HandleFromFd(int fd)
{
    return reinterpret_cast<HANDLE>(static_cast<intptr_t>(fd));
}

}  // namespace fileio
}  // namespace platform
