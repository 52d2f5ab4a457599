// The registry, kept in a text file in the registry editor's export format:
//
//     Windows Registry Editor Version 5.00
//
//     [HKEY_CLASSES_ROOT\CLSID\{...}\InprocServer32]
//     @="C:\\Tavrion\\Tavrion.ocx"
//     "ThreadingModel"="Apartment"
//     "Count"=dword:0000001f
//     "Flags"=hex:01,00
//
// The file is MORVELANCE_REGISTRY, else $XDG_CONFIG_HOME/morvelance/registry.reg,
// else ~/.config/morvelance/registry.reg. It is read as UTF-8 or UTF-16LE with
// a byte-order mark ("REGEDIT4" files in code page 932), re-read whenever it
// changes on disk, and rewritten as UTF-8 through a temporary file and a
// rename after every change, so a crash never leaves half a registry (a
// private copy can defer its writes: DeferRegistryWritesTo below).
//
// Semantics kept from the original platform: key paths and value names compare
// without regard to case; a null or empty value name is the key's default
// value; sizes are in bytes, and a REG_SZ value's size includes its
// terminating NUL (wchar_t is 4 bytes here, so 4 bytes per character); a
// short buffer gets ERROR_MORE_DATA and the size it needs; a handle's access
// rights are checked; a closed handle fails with ERROR_INVALID_HANDLE.
#pragma once

#include <string>

#include "platform/base/DateTime.h"
#include "platform/base/Kernel.h"
#include "platform/base/WinTypes.h"

typedef DWORD REGSAM;
typedef HKEY* PHKEY;
typedef LONG LSTATUS;
struct _SECURITY_ATTRIBUTES;

#define HKEY_CLASSES_ROOT ((HKEY)(ULONG_PTR)((LONG)0x80000000))
#define HKEY_CURRENT_USER ((HKEY)(ULONG_PTR)((LONG)0x80000001))
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)((LONG)0x80000002))
#define HKEY_USERS ((HKEY)(ULONG_PTR)((LONG)0x80000003))
#define HKEY_CURRENT_CONFIG ((HKEY)(ULONG_PTR)((LONG)0x80000005))

// Error codes: the kernel's (platform/base/Kernel.h) and the registry's own.
#ifndef ERROR_NO_MORE_ITEMS
#define ERROR_NO_MORE_ITEMS 259u
#endif
#ifndef ERROR_REGISTRY_IO_FAILED
#define ERROR_REGISTRY_IO_FAILED 1016u
#endif
#ifndef ERROR_KEY_DELETED
#define ERROR_KEY_DELETED 1018u
#endif

// Value types.
#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_DWORD_LITTLE_ENDIAN 4
#define REG_DWORD_BIG_ENDIAN 5
#define REG_MULTI_SZ 7
#define REG_QWORD 11

// Access rights.
#define KEY_QUERY_VALUE 0x0001u
#define KEY_SET_VALUE 0x0002u
#define KEY_CREATE_SUB_KEY 0x0004u
#define KEY_ENUMERATE_SUB_KEYS 0x0008u
#define KEY_NOTIFY 0x0010u
#define KEY_CREATE_LINK 0x0020u
#define KEY_WOW64_64KEY 0x0100u
#define KEY_WOW64_32KEY 0x0200u
#define KEY_READ 0x20019u
#define KEY_WRITE 0x20006u
#define KEY_EXECUTE KEY_READ
#define KEY_ALL_ACCESS 0xF003Fu

// RegCreateKeyEx options and dispositions.
#define REG_OPTION_NON_VOLATILE 0x0u
#define REG_OPTION_VOLATILE 0x1u
#define REG_CREATED_NEW_KEY 1u
#define REG_OPENED_EXISTING_KEY 2u

LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM samDesired, PHKEY result);
LONG RegOpenKeyW(HKEY key, LPCWSTR subKey, PHKEY result);
// Opens the key, creating it and any missing parents; volatile keys are saved
// like the others (the file is the only store).
LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR className, DWORD options, REGSAM samDesired,
                     const _SECURITY_ATTRIBUTES* security, PHKEY result, LPDWORD disposition);
LONG RegCreateKeyW(HKEY key, LPCWSTR subKey, PHKEY result);
LONG RegCloseKey(HKEY key);
LONG RegFlushKey(HKEY key);

LONG RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD cbData);
LONG RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type, const BYTE* data, DWORD cbData);
LONG RegDeleteValueW(HKEY key, LPCWSTR valueName);
// Deletes a key without subkeys (ERROR_ACCESS_DENIED when it has some).
LONG RegDeleteKeyW(HKEY key, LPCWSTR subKey);
// Deletes a key and everything below it; a null subKey empties the key itself.
LONG RegDeleteTreeW(HKEY key, LPCWSTR subKey);

// Subkeys come in alphabetical order, values in the order they were created.
// cchName counts characters: the buffer size in, the name's length without
// its NUL out. lastWriteTime (optional) is the registry file's time.
LONG RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD cchName, LPDWORD reserved, LPWSTR className,
                   LPDWORD cchClass, FILETIME* lastWriteTime);
LONG RegEnumValueW(HKEY key, DWORD index, LPWSTR valueName, LPDWORD cchValueName, LPDWORD reserved, LPDWORD type,
                   LPBYTE data, LPDWORD cbData);

#define RegOpenKeyEx RegOpenKeyExW
#define RegOpenKey RegOpenKeyW
#define RegCreateKeyEx RegCreateKeyExW
#define RegCreateKey RegCreateKeyW
#define RegQueryValueEx RegQueryValueExW
#define RegSetValueEx RegSetValueExW
#define RegDeleteValue RegDeleteValueW
#define RegDeleteKey RegDeleteKeyW
#define RegDeleteTree RegDeleteTreeW
#define RegEnumKeyEx RegEnumKeyExW
#define RegEnumValue RegEnumValueW

namespace platform {
// The registry file as the environment names it now (UTF-8 file system path).
std::string RegistryPath();
// Forgets what was read and reads RegistryPath() again; open handles stay
// valid (they name keys by path).
void ReloadRegistry();
// A registry file this process alone uses and then throws away (a print
// job's private copy): while the environment names it, its changes stay in
// memory and the file is written once, by FlushRegistry() or when another
// registry file is read. Every other registry file is replaced atomically
// and synced after each change. "" ends the deferral (writing what waits).
void DeferRegistryWritesTo(const std::string& path);
// Writes the changes a deferred registry holds; false when they could not be.
bool FlushRegistry();
// The line of the first line of the registry file that could not be read
// (it was skipped); 0 when the whole file was understood.
int RegistryParseErrorLine();
}  // namespace platform
