// What the file classes and the Win32-named file functions share: paths made
// absolute, errno turned into Win32 codes with the file/folder distinction,
// attributes from stat, and descriptors carried as handles.
#pragma once

#include <string>

#include <sys/stat.h>

#include "platform/base/WinTypes.h"

namespace platform {
namespace fileio {

std::string CurrentDirectory();

bool IsAbsolute(const std::wstring& path);

// The caller's path made absolute; its own separators are kept.
std::wstring AbsolutePath(const std::wstring& path);

std::string ParentFolder(const std::string& native);

// errno for a path -> the Win32 code: Windows tells a missing file
// (ERROR_FILE_NOT_FOUND) from a missing folder on the way (ERROR_PATH_NOT_FOUND).
DWORD PathError(int err, const std::string& native);

BOOL Fail(DWORD error);

bool IsReadOnlyMode(mode_t mode);

DWORD AttributesFromStat(const struct stat& st);

int FdFromHandle(HANDLE handle);

HANDLE HandleFromFd(int fd);

}  // namespace fileio
}  // namespace platform
