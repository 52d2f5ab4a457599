// Kernel services the system calls by their Win32 names: arithmetic helpers,
// the C runtime's Windows-only string functions, the process heap, run-time
// loading of libraries, machine and user names, the version query and the
// thread's last error.
#pragma once

#include <cstddef>
#include <cstring>
#include <string>

#include "platform/base/WinTypes.h"

typedef size_t SIZE_T;
typedef int errno_t;

// ---- last error --------------------------------------------------------------

// Other headers (the registry's) define some of these too; the values agree.
#ifndef ERROR_SUCCESS
#define ERROR_SUCCESS 0u
#endif
#ifndef ERROR_FILE_NOT_FOUND
#define ERROR_FILE_NOT_FOUND 2u
#endif
#ifndef ERROR_PATH_NOT_FOUND
#define ERROR_PATH_NOT_FOUND 3u
#endif
#ifndef ERROR_TOO_MANY_OPEN_FILES
#define ERROR_TOO_MANY_OPEN_FILES 4u
#endif
#ifndef ERROR_ACCESS_DENIED
#define ERROR_ACCESS_DENIED 5u
#endif
#ifndef ERROR_INVALID_HANDLE
#define ERROR_INVALID_HANDLE 6u
#endif
#ifndef ERROR_NOT_ENOUGH_MEMORY
#define ERROR_NOT_ENOUGH_MEMORY 8u
#endif
#ifndef ERROR_OUTOFMEMORY
#define ERROR_OUTOFMEMORY 14u
#endif
#ifndef ERROR_CURRENT_DIRECTORY
#define ERROR_CURRENT_DIRECTORY 16u
#endif
#ifndef ERROR_NOT_SAME_DEVICE
#define ERROR_NOT_SAME_DEVICE 17u
#endif
#ifndef ERROR_NO_MORE_FILES
#define ERROR_NO_MORE_FILES 18u
#endif
#ifndef ERROR_WRITE_PROTECT
#define ERROR_WRITE_PROTECT 19u
#endif
#ifndef ERROR_SEEK
#define ERROR_SEEK 25u
#endif
#ifndef ERROR_WRITE_FAULT
#define ERROR_WRITE_FAULT 29u
#endif
#ifndef ERROR_READ_FAULT
#define ERROR_READ_FAULT 30u
#endif
#ifndef ERROR_GEN_FAILURE
#define ERROR_GEN_FAILURE 31u
#endif
#ifndef ERROR_SHARING_VIOLATION
#define ERROR_SHARING_VIOLATION 32u
#endif
#ifndef ERROR_LOCK_VIOLATION
#define ERROR_LOCK_VIOLATION 33u
#endif
#ifndef ERROR_HANDLE_EOF
#define ERROR_HANDLE_EOF 38u
#endif
#ifndef ERROR_HANDLE_DISK_FULL
#define ERROR_HANDLE_DISK_FULL 39u
#endif
#ifndef ERROR_NOT_SUPPORTED
#define ERROR_NOT_SUPPORTED 50u
#endif
#ifndef ERROR_FILE_EXISTS
#define ERROR_FILE_EXISTS 80u
#endif
#ifndef ERROR_INVALID_PARAMETER
#define ERROR_INVALID_PARAMETER 87u
#endif
#ifndef ERROR_BUFFER_OVERFLOW
#define ERROR_BUFFER_OVERFLOW 111u
#endif
#ifndef ERROR_DISK_FULL
#define ERROR_DISK_FULL 112u
#endif
#ifndef ERROR_CALL_NOT_IMPLEMENTED
#define ERROR_CALL_NOT_IMPLEMENTED 120u
#endif
#ifndef ERROR_INSUFFICIENT_BUFFER
#define ERROR_INSUFFICIENT_BUFFER 122u
#endif
#ifndef ERROR_INVALID_NAME
#define ERROR_INVALID_NAME 123u
#endif
#ifndef ERROR_MOD_NOT_FOUND
#define ERROR_MOD_NOT_FOUND 126u
#endif
#ifndef ERROR_PROC_NOT_FOUND
#define ERROR_PROC_NOT_FOUND 127u
#endif
#ifndef ERROR_NEGATIVE_SEEK
#define ERROR_NEGATIVE_SEEK 131u
#endif
#ifndef ERROR_DIR_NOT_EMPTY
#define ERROR_DIR_NOT_EMPTY 145u
#endif
#ifndef ERROR_BUSY
#define ERROR_BUSY 170u
#endif
#ifndef ERROR_ALREADY_EXISTS
#define ERROR_ALREADY_EXISTS 183u
#endif
#ifndef ERROR_FILENAME_EXCED_RANGE
#define ERROR_FILENAME_EXCED_RANGE 206u
#endif
#ifndef ERROR_MORE_DATA
#define ERROR_MORE_DATA 234u
#endif
#ifndef ERROR_DIRECTORY
#define ERROR_DIRECTORY 267u
#endif

// The thread's last error, as Win32 keeps it.
DWORD GetLastError();
void SetLastError(DWORD dwErrCode);

#define INFINITE 0xFFFFFFFFu
void Sleep(DWORD dwMilliseconds);

// ---- arithmetic and memory ---------------------------------------------------

// number * numerator / denominator through a 64-bit intermediate, halves
// rounded away from zero; -1 for a zero denominator or a result that does not
// fit in 32 bits.
int MulDiv(int nNumber, int nNumerator, int nDenominator);

inline void ZeroMemory(void* destination, size_t length) { std::memset(destination, 0, length); }
inline void FillMemory(void* destination, size_t length, BYTE fill) { std::memset(destination, fill, length); }
inline void CopyMemory(void* destination, const void* source, size_t length) { std::memcpy(destination, source, length); }
inline void MoveMemory(void* destination, const void* source, size_t length) { std::memmove(destination, source, length); }

// ---- C runtime string helpers --------------------------------------------------

// Numbers: leading white space, an optional sign, digits up to the first
// other character; a value out of range saturates (INT_MAX/INT_MIN and their
// 64-bit and LONG namesakes), as the Windows runtime does. Null gives 0.
int _wtoi(const wchar_t* str);
LONG _wtol(const wchar_t* str);
LONGLONG _wtoi64(const wchar_t* str);
double _wtof(const wchar_t* str);   // always '.' as the decimal point

// Radix 2..36; only radix 10 writes a minus sign, other radixes show the
// two's-complement bits. Return the buffer (empty for a bad radix).
wchar_t* _itow(int value, wchar_t* buffer, int radix);
wchar_t* _ltow(LONG value, wchar_t* buffer, int radix);
wchar_t* _ultow(ULONG value, wchar_t* buffer, int radix);
wchar_t* _i64tow(LONGLONG value, wchar_t* buffer, int radix);
wchar_t* _ui64tow(ULONGLONG value, wchar_t* buffer, int radix);

// Case-insensitive comparison folding ASCII letters only (the "C" locale).
int _wcsicmp(const wchar_t* a, const wchar_t* b);
int _wcsnicmp(const wchar_t* a, const wchar_t* b, size_t count);
int _stricmp(const char* a, const char* b);
int _strnicmp(const char* a, const char* b, size_t count);

// Bounded copies. 0 on success; EINVAL for null arguments, ERANGE when the
// text does not fit (the destination is then emptied). With count ==
// _TRUNCATE, wcsncpy_s copies what fits and returns STRUNCATE.
#define _TRUNCATE ((size_t)-1)
#define STRUNCATE 80
errno_t wcscpy_s(wchar_t* dest, size_t destSize, const wchar_t* src);
errno_t wcsncpy_s(wchar_t* dest, size_t destSize, const wchar_t* src, size_t count);
errno_t wcscat_s(wchar_t* dest, size_t destSize, const wchar_t* src);
template <size_t N> errno_t wcscpy_s(wchar_t (&dest)[N], const wchar_t* src) { return wcscpy_s(dest, N, src); }
template <size_t N> errno_t wcsncpy_s(wchar_t (&dest)[N], const wchar_t* src, size_t count)
{
    return wcsncpy_s(dest, N, src, count);
}
template <size_t N> errno_t wcscat_s(wchar_t (&dest)[N], const wchar_t* src) { return wcscat_s(dest, N, src); }

// Formatting with CString::Format's conventions (%s takes a wide string).
// Returns the characters written, or -1 when the text was truncated
// (count == _TRUNCATE) or did not fit (the buffer is then emptied).
int _snwprintf_s(wchar_t* buffer, size_t sizeOfBuffer, size_t count, const wchar_t* format, ...);
int swprintf_s(wchar_t* buffer, size_t sizeOfBuffer, const wchar_t* format, ...);

// ---- process heap -------------------------------------------------------------

#define HEAP_NO_SERIALIZE 0x00000001u
#define HEAP_GENERATE_EXCEPTIONS 0x00000004u
#define HEAP_ZERO_MEMORY 0x00000008u
#define HEAP_REALLOC_IN_PLACE_ONLY 0x00000010u

HANDLE GetProcessHeap();
// Null on failure; with HEAP_GENERATE_EXCEPTIONS a failure throws
// std::bad_alloc instead (the stand-in for the structured exception).
LPVOID HeapAlloc(HANDLE hHeap, DWORD dwFlags, SIZE_T dwBytes);
// HEAP_ZERO_MEMORY zeroes only the grown part; HEAP_REALLOC_IN_PLACE_ONLY
// fails rather than grow a block.
LPVOID HeapReAlloc(HANDLE hHeap, DWORD dwFlags, LPVOID lpMem, SIZE_T dwBytes);
BOOL HeapFree(HANDLE hHeap, DWORD dwFlags, LPVOID lpMem);   // TRUE for null, as Win32
SIZE_T HeapSize(HANDLE hHeap, DWORD dwFlags, LPCVOID lpMem); // (SIZE_T)-1 for a bad block

namespace platform {
// Makes the n-th next allocation (HeapAlloc or HeapReAlloc) fail once; 0 turns
// the injection off. For testing the callers' failure paths.
void SetHeapFailureCountdown(int n);
// Blocks allocated from the process heap and not yet freed, for leak checks.
long HeapLiveBlockCount();
// Asks the kernel to back the whole 2 MB stretches of a large block not yet
// written with huge pages: a day's strip of one lead is about 90 MB, and
// faulting it in 4 KB pages costs more than reading it. Smaller blocks and
// kernels without transparent huge pages are left as they are.
void PreferHugePages(void* block, size_t bytes);
}  // namespace platform

// ---- run-time loading -----------------------------------------------------------

// L"ZARN90.DLL" opens libzarn90.so through the loader's search path; with a
// directory part (either separator) <dir>/libzarn90.so is opened as a full
// path. A name already ending in ".so" (or with a ".so." version) is used as
// it is. RTLD_NOW | RTLD_LOCAL. As on Windows, a module handle is the address
// the module is mapped at, so it matches the handles the windowing layer
// derives from code addresses; each call takes a reference.
HMODULE LoadLibraryW(LPCWSTR lpLibFileName);
// Any loaded module's handle works, not only LoadLibraryW's.
FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName);
// Releases a LoadLibraryW reference; FALSE for any other handle.
BOOL FreeLibrary(HMODULE hLibModule);
// The handle of a library already loaded (no reference taken); null names the executable.
HMODULE GetModuleHandleW(LPCWSTR lpModuleName);
// The module's file with '/' separators; null names the executable. As Win32:
// the length copied without the terminator, or nSize (truncated, terminated,
// ERROR_INSUFFICIENT_BUFFER) when the buffer is short; 0 on failure.
DWORD GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize);

namespace platform {
// The file name LoadLibraryW hands to the loader (UTF-8, '/' separators).
std::string LibraryFileName(LPCWSTR lpLibFileName);
// The loader's message for the last failure of LoadLibraryW, GetProcAddress
// or FreeLibrary on this thread; empty when none failed yet.
std::string LastLoaderError();
// errno -> the Win32 error code a file or kernel call would report.
DWORD ErrorFromErrno(int err);
}  // namespace platform

// ---- machine, user, version ------------------------------------------------------

#define MAX_COMPUTERNAME_LENGTH 15
#define UNLEN 256

// The host name up to its first '.', upper-cased and cut to 15 characters
// like a NetBIOS name. *nSize in: buffer size with the terminator; out: the
// length without it, or (FALSE, ERROR_BUFFER_OVERFLOW) the size needed.
BOOL GetComputerNameW(LPWSTR lpBuffer, LPDWORD nSize);
// The effective user's login name. *pcbBuffer out: the length with the
// terminator, on success and (FALSE, ERROR_INSUFFICIENT_BUFFER) on a short buffer.
BOOL GetUserNameW(LPWSTR lpBuffer, LPDWORD pcbBuffer);

#define VER_PLATFORM_WIN32s 0
#define VER_PLATFORM_WIN32_WINDOWS 1
#define VER_PLATFORM_WIN32_NT 2

struct _OSVERSIONINFOW {
    DWORD dwOSVersionInfoSize;   // set by the caller to sizeof(OSVERSIONINFOW)
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    WCHAR szCSDVersion[128];
};
typedef _OSVERSIONINFOW OSVERSIONINFOW;
typedef OSVERSIONINFOW* LPOSVERSIONINFOW;
typedef OSVERSIONINFOW OSVERSIONINFO;
typedef LPOSVERSIONINFOW LPOSVERSIONINFO;

// Reports Windows NT 10.0; FALSE (ERROR_INSUFFICIENT_BUFFER) unless the caller set the size.
BOOL GetVersionExW(LPOSVERSIONINFOW lpVersionInformation);

// The names the system's code uses in its Unicode build.
inline HMODULE LoadLibrary(LPCWSTR name) { return LoadLibraryW(name); }
inline HMODULE GetModuleHandle(LPCWSTR name) { return GetModuleHandleW(name); }
inline DWORD GetModuleFileName(HMODULE module, LPWSTR buffer, DWORD size) { return GetModuleFileNameW(module, buffer, size); }
inline BOOL GetComputerName(LPWSTR buffer, LPDWORD size) { return GetComputerNameW(buffer, size); }
inline BOOL GetUserName(LPWSTR buffer, LPDWORD size) { return GetUserNameW(buffer, size); }
inline BOOL GetVersionEx(LPOSVERSIONINFOW info) { return GetVersionExW(info); }
