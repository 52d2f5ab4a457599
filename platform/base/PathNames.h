// How a path crosses between a host, the library's strings and the file system.
//
// The one rule: on Linux a file name is a string of bytes that is read as
// UTF-8. Inside the library a path is wide text (CString, wchar_t) and stays
// so; it becomes bytes only where it meets the file system (NativePath), and
// bytes become a path only through WidePath: a host's arguments, directory
// entries, environment variables, the current folder, the registry's server
// path. Neither direction goes through a code page: the narrow string types
// (CString(LPCSTR), CStringA) convert with code page 932 because that is the
// code of the records' and the messages' texts, and a UTF-8 file name read as
// code page 932 names a file that does not exist. The library has no narrow
// path interface; a narrow code page 932 form of a path is taken only through
// PathInCodePage932, which refuses a path that code page cannot write instead
// of handing on a name with '?' in it.
//
// Separators: the system builds paths with '\' and splits them at the last
// '\'; hosts on Linux hand it paths with '/'. NativePath turns '\' into '/',
// and code that splits a path finds the last of either separator through
// PathLastSeparator (File.h), so both kinds of path split alike.
#pragma once

#include <string>

#include "platform/base/WinTypes.h"

namespace platform {

// Wide path -> the file system's bytes: UTF-8 with '\' turned into '/';
// null gives "".
std::string NativePath(LPCWSTR path);
inline std::string NativePath(const std::wstring& path) { return NativePath(path.c_str()); }

// The file system's bytes -> a wide path (UTF-8; a byte that is no UTF-8
// becomes U+FFFD, so such a name does not round-trip).
std::wstring WidePath(const std::string& native);

// A path a host names (an argument, relative or absolute) as the library
// takes a record path: wide, and with a folder, because the library names a
// record's companion files in the record's folder and a bare file name has
// none ("q.ecg" becomes "./q.ecg"). "" stays "".
std::wstring HostPath(const std::string& native);

// The code page 932 bytes of a path for an interface that takes narrow
// text; false, with *narrow untouched, when a character of the path has no
// code page 932 form.
bool PathInCodePage932(const std::wstring& path, std::string* narrow);

}  // namespace platform
