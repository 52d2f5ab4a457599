#include "platform/base/Kernel.h"

#include <cerrno>
#include <cstdlib>
#include <string>

#include <pwd.h>
#include <unistd.h>

#include "platform/base/CodePage.h"

// ---- machine, user, version ------------------------------------------------------------

BOOL GetComputerNameW(LPWSTR lpBuffer, LPDWORD nSize)
{
    if (!nSize) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    char host[256] = {};
    if (gethostname(host, sizeof(host) - 1) != 0) {
        SetLastError(platform::ErrorFromErrno(errno));
        return FALSE;
    }
    std::string name(host);
    name = name.substr(0, name.find('.'));
    if (name.size() > MAX_COMPUTERNAME_LENGTH) name.resize(MAX_COMPUTERNAME_LENGTH);
    std::wstring wide = platform::FromUtf8(name);
    for (wchar_t& ch : wide) {
        if (ch >= L'a' && ch <= L'z') ch = static_cast<wchar_t>(ch - L'a' + L'A');
    }
    if (!lpBuffer || *nSize < wide.size() + 1) {
        *nSize = static_cast<DWORD>(wide.size() + 1);
        SetLastError(ERROR_BUFFER_OVERFLOW);
        return FALSE;
    }
    std::wmemcpy(lpBuffer, wide.c_str(), wide.size() + 1);
    *nSize = static_cast<DWORD>(wide.size());
    return TRUE;
}

namespace {
std::string EffectiveUserName()
{
    struct passwd entry;
    struct passwd* found = nullptr;
    char storage[4096];
    if (getpwuid_r(geteuid(), &entry, storage, sizeof(storage), &found) == 0 && found && found->pw_name) {
        return found->pw_name;
    }
    for (const char* variable : {"USER", "LOGNAME"}) {
        const char* value = std::getenv(variable);
        if (value && *value) return value;
    }
    return std::string();
}
}  // namespace

BOOL GetUserNameW(LPWSTR lpBuffer, LPDWORD pcbBuffer)
{
    if (!pcbBuffer) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const std::wstring name = platform::FromUtf8(EffectiveUserName());
    if (name.empty()) {
        SetLastError(ERROR_GEN_FAILURE);
        return FALSE;
    }
    const DWORD needed = static_cast<DWORD>(name.size() + 1);
    if (!lpBuffer || *pcbBuffer < needed) {
        *pcbBuffer = needed;
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    std::wmemcpy(lpBuffer, name.c_str(), needed);
    *pcbBuffer = needed;
    return TRUE;
}

BOOL GetVersionExW(LPOSVERSIONINFOW lpVersionInformation)
{
    if (!lpVersionInformation || lpVersionInformation->dwOSVersionInfoSize != sizeof(OSVERSIONINFOW)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    lpVersionInformation->dwMajorVersion = 10;
    lpVersionInformation->dwMinorVersion = 0;
    lpVersionInformation->dwBuildNumber = 19045;
    lpVersionInformation->dwPlatformId = VER_PLATFORM_WIN32_NT;
    lpVersionInformation->szCSDVersion[0] = 0;
    return TRUE;
}
