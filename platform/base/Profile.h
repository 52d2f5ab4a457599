// INI files with the kernel's profile functions.
//
// As the kernel reads them: section and key names compare without regard to
// case; names and values are trimmed of blanks; a value wrapped in matching
// quotes loses them; the first of duplicate sections or keys wins; lines that
// start with ';' are comments. A file name without a folder is looked up in
// this platform's system folder, which is the folder of the registry file
// (platform::RegistryPath()); win.ini lives there too.
//
// Files may be UTF-8 (with or without a byte-order mark), UTF-16LE with a
// byte-order mark, or Shift-JIS (bytes that are not valid UTF-8 are read as
// code page 932). A rewrite keeps the file's encoding and line ends, except
// that a Shift-JIS file that would lose characters is rewritten as UTF-8.
// Every write replaces the file atomically, under a lock across processes
// (platform/base/StoreLock.h), so concurrent writers keep each other's values.
#pragma once

#include <string>

#include "platform/base/WinTypes.h"

// Copies the value (or, with a null key, the section's key names, or with a
// null section, every section name, each list double-NUL terminated) into
// out. Returns the characters copied without the terminating NUL: size - 1
// when a value was cut short, size - 2 when a list was. A missing section,
// key or file gives the default, whose trailing blanks are dropped.
DWORD GetPrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue, LPWSTR out, DWORD size,
                               LPCWSTR fileName);
// The value's leading integer (decimal or 0x hexadecimal, optionally signed);
// the default when the key is missing or empty, 0 when the value is not a number.
UINT GetPrivateProfileIntW(LPCWSTR section, LPCWSTR key, INT defaultValue, LPCWSTR fileName);
DWORD GetPrivateProfileSectionNamesW(LPWSTR out, DWORD size, LPCWSTR fileName);
// A null key removes the section, a null value removes the key.
BOOL WritePrivateProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR fileName);

// The same on win.ini.
DWORD GetProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR defaultValue, LPWSTR out, DWORD size);
UINT GetProfileIntW(LPCWSTR section, LPCWSTR key, INT defaultValue);
BOOL WriteProfileStringW(LPCWSTR section, LPCWSTR key, LPCWSTR value);

// The Windows directory of this platform: the system folder, where win.ini
// lives. As the kernel: the length without the terminator, or, when uSize is
// too small, the size needed with it; 0 when there is no such folder.
UINT GetWindowsDirectoryW(LPWSTR lpBuffer, UINT uSize);

#define GetPrivateProfileString GetPrivateProfileStringW
#define GetPrivateProfileInt GetPrivateProfileIntW
#define GetPrivateProfileSectionNames GetPrivateProfileSectionNamesW
#define WritePrivateProfileString WritePrivateProfileStringW
#define GetProfileString GetProfileStringW
#define GetProfileInt GetProfileIntW
#define WriteProfileString WriteProfileStringW
#define GetWindowsDirectory GetWindowsDirectoryW

namespace platform {

// The win.ini of this platform: beside the registry file.
std::string WinIniPath();

// Where win.ini's [windows] device entry names no printer, the default
// printer still has one: the print service's own default, which the print
// layer gives here as "name,driver,port" (empty when it has none).
using DefaultDeviceSource = std::wstring (*)();
void SetDefaultDeviceSource(DefaultDeviceSource source);

// Text files as the profile, registry and version-resource readers share them.
namespace textfile {

enum class Encoding {
    Utf8,         // no byte-order mark
    Utf8Bom,
    Utf16LeBom,
    CodePage932,  // Shift-JIS as Windows has it
};

// The folder part of a native path ("" for a bare name).
std::string FolderOf(const std::string& path);
bool IsValidUtf8(const char* bytes, size_t length);
// A byte-order mark decides; otherwise UTF-8 when the bytes are valid UTF-8,
// else code page 932 (when allowCodePage932) or UTF-8 with replacements.
std::wstring Decode(const std::string& bytes, Encoding* found, bool allowCodePage932 = true);
std::string Encode(const std::wstring& text, Encoding encoding);
// The whole file; false when it cannot be read.
bool Read(const std::string& path, std::string& bytes);
// Writes a temporary file beside path and renames it over path, so readers
// see the old or the new contents, never a mix. False (and path untouched)
// on any failure. Temporaries abandoned in the folder by killed writers are
// removed first (platform/base/Temporaries.h).
bool ReplaceAtomically(const std::string& path, const std::string& bytes);
// Creates the folder and its parents; true when it exists afterwards.
bool MakeFolders(const std::string& folder);

}  // namespace textfile
}  // namespace platform
