#include "platform/base/Kernel.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <cwchar>
#include <limits>
#include <locale.h>
#include <map>
#include <mutex>
#include <new>
#include <type_traits>

#include <dlfcn.h>
#include <link.h>
#include <pwd.h>
#include <sys/auxv.h>
#include <unistd.h>

#include "platform/base/CodePage.h"
#include "platform/base/File.h"
#include "platform/base/Strings.h"

// ---- last error, sleeping ------------------------------------------------------

namespace {
thread_local DWORD t_lastError = ERROR_SUCCESS;
}

DWORD GetLastError()
{
    return t_lastError;
}

void SetLastError(DWORD dwErrCode)
{
    t_lastError = dwErrCode;
}

void Sleep(DWORD dwMilliseconds)
{
    struct timespec remaining;
    remaining.tv_sec = static_cast<time_t>(dwMilliseconds / 1000);
    remaining.tv_nsec = static_cast<long>(dwMilliseconds % 1000) * 1000000L;
    while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
}

namespace platform {
DWORD ErrorFromErrno(int err)
{
    switch (err) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return ERROR_ACCESS_DENIED;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case ENOSPC:
    case EDQUOT: return ERROR_DISK_FULL;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EBADF: return ERROR_INVALID_HANDLE;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case EXDEV: return ERROR_NOT_SAME_DEVICE;
    case EBUSY: return ERROR_BUSY;
    case EWOULDBLOCK: return ERROR_SHARING_VIOLATION;
    case ESPIPE: return ERROR_SEEK;
    case ELOOP: return ERROR_PATH_NOT_FOUND;
    case ENOSYS:
    case EOPNOTSUPP: return ERROR_NOT_SUPPORTED;
    default: return ERROR_GEN_FAILURE;
    }
}
}  // namespace platform

// ---- MulDiv --------------------------------------------------------------------

int MulDiv(int nNumber, int nNumerator, int nDenominator)
{
    if (nDenominator == 0) return -1;
    const long long product = static_cast<long long>(nNumber) * nNumerator;
    if (product == 0) return 0;
    const bool negative = (product < 0) != (nDenominator < 0);
    const unsigned long long magnitude =
        product < 0 ? 0ULL - static_cast<unsigned long long>(product) : static_cast<unsigned long long>(product);
    const unsigned long long divisor = nDenominator < 0 ? 0ULL - static_cast<unsigned long long>(nDenominator)
                                                        : static_cast<unsigned long long>(nDenominator);
    const unsigned long long quotient = (magnitude + divisor / 2) / divisor;
    if (negative) {
        if (quotient > static_cast<unsigned long long>(INT_MAX) + 1ULL) return -1;
        return static_cast<int>(-static_cast<long long>(quotient));
    }
    if (quotient > static_cast<unsigned long long>(INT_MAX)) return -1;
    return static_cast<int>(quotient);
}

// ---- numbers from text ------------------------------------------------------------

namespace {

bool IsCrtSpace(wchar_t ch)
{
    return ch == L' ' || (ch >= L'\t' && ch <= L'\r');
}

template <class T> T ParseSaturated(const wchar_t* str)
{
    if (!str) return 0;
    while (IsCrtSpace(*str)) ++str;
    bool negative = false;
    if (*str == L'+' || *str == L'-') {
        negative = *str == L'-';
        ++str;
    }
    const unsigned long long limit = negative ? static_cast<unsigned long long>(std::numeric_limits<T>::max()) + 1ULL
                                              : static_cast<unsigned long long>(std::numeric_limits<T>::max());
    unsigned long long value = 0;
    bool overflow = false;
    for (; *str >= L'0' && *str <= L'9'; ++str) {
        const unsigned digit = static_cast<unsigned>(*str - L'0');
        if (overflow || value > (limit - digit) / 10) {
            overflow = true;
            continue;
        }
        value = value * 10 + digit;
    }
    if (overflow) return negative ? std::numeric_limits<T>::min() : std::numeric_limits<T>::max();
    if (!negative) return static_cast<T>(value);
    if (value == 0) return 0;
    return static_cast<T>(-static_cast<long long>(value - 1) - 1);
}

locale_t CLocale()
{
    static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return c;
}

wchar_t* WriteRadix(unsigned long long magnitude, bool negative, wchar_t* buffer, int radix)
{
    if (!buffer) return nullptr;
    buffer[0] = 0;
    if (radix < 2 || radix > 36) return buffer;
    wchar_t digits[72];
    int count = 0;
    do {
        const unsigned digit = static_cast<unsigned>(magnitude % static_cast<unsigned>(radix));
        digits[count++] = static_cast<wchar_t>(digit < 10 ? L'0' + digit : L'a' + digit - 10);
        magnitude /= static_cast<unsigned>(radix);
    } while (magnitude);
    wchar_t* out = buffer;
    if (negative) *out++ = L'-';
    while (count) *out++ = digits[--count];
    *out = 0;
    return buffer;
}

template <class T> wchar_t* SignedToText(T value, wchar_t* buffer, int radix)
{
    typedef typename std::make_unsigned<T>::type U;
    if (radix == 10 && value < 0) return WriteRadix(0ULL - static_cast<unsigned long long>(value), true, buffer, radix);
    return WriteRadix(static_cast<U>(value), false, buffer, radix);
}

}  // namespace

int _wtoi(const wchar_t* str)
{
    return ParseSaturated<int>(str);
}

LONG _wtol(const wchar_t* str)
{
    return ParseSaturated<LONG>(str);
}

LONGLONG _wtoi64(const wchar_t* str)
{
    return ParseSaturated<LONGLONG>(str);
}

double _wtof(const wchar_t* str)
{
    if (!str) return 0.0;
    return wcstod_l(str, nullptr, CLocale());
}

wchar_t* _itow(int value, wchar_t* buffer, int radix)
{
    return SignedToText<int>(value, buffer, radix);
}

wchar_t* _ltow(LONG value, wchar_t* buffer, int radix)
{
    return SignedToText<LONG>(value, buffer, radix);
}

wchar_t* _ultow(ULONG value, wchar_t* buffer, int radix)
{
    return WriteRadix(value, false, buffer, radix);
}

wchar_t* _i64tow(LONGLONG value, wchar_t* buffer, int radix)
{
    return SignedToText<LONGLONG>(value, buffer, radix);
}

wchar_t* _ui64tow(ULONGLONG value, wchar_t* buffer, int radix)
{
    return WriteRadix(value, false, buffer, radix);
}

// ---- string comparison and copies ----------------------------------------------------

namespace {
template <class CharT> int FoldAscii(CharT ch)
{
    const long code = static_cast<long>(static_cast<typename std::make_unsigned<CharT>::type>(ch));
    return static_cast<int>(code >= 'A' && code <= 'Z' ? code + ('a' - 'A') : code);
}

template <class CharT> int CompareFolded(const CharT* a, const CharT* b, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const int ca = FoldAscii(a[i]);
        const int cb = FoldAscii(b[i]);
        if (ca != cb) return ca < cb ? -1 : 1;
        if (ca == 0) return 0;
    }
    return 0;
}
}  // namespace

int _wcsicmp(const wchar_t* a, const wchar_t* b)
{
    if (!a || !b) return INT_MAX;   // the runtime's answer to a null argument
    return CompareFolded(a, b, SIZE_MAX);
}

int _wcsnicmp(const wchar_t* a, const wchar_t* b, size_t count)
{
    if (!a || !b) return INT_MAX;
    return CompareFolded(a, b, count);
}

int _stricmp(const char* a, const char* b)
{
    if (!a || !b) return INT_MAX;
    return CompareFolded(a, b, SIZE_MAX);
}

int _strnicmp(const char* a, const char* b, size_t count)
{
    if (!a || !b) return INT_MAX;
    return CompareFolded(a, b, count);
}

errno_t wcscpy_s(wchar_t* dest, size_t destSize, const wchar_t* src)
{
    return wcsncpy_s(dest, destSize, src, src ? std::wcslen(src) : 0);
}

errno_t wcsncpy_s(wchar_t* dest, size_t destSize, const wchar_t* src, size_t count)
{
    if (!dest || destSize == 0) return EINVAL;
    if (!src) {
        dest[0] = 0;
        return EINVAL;
    }
    size_t length = 0;
    while (length < count && src[length]) ++length;
    if (length < destSize) {
        std::wmemcpy(dest, src, length);
        dest[length] = 0;
        return 0;
    }
    if (count == _TRUNCATE) {
        std::wmemcpy(dest, src, destSize - 1);
        dest[destSize - 1] = 0;
        return STRUNCATE;
    }
    dest[0] = 0;
    return ERANGE;
}

errno_t wcscat_s(wchar_t* dest, size_t destSize, const wchar_t* src)
{
    if (!dest || destSize == 0) return EINVAL;
    const size_t used = wcsnlen(dest, destSize);
    if (used == destSize || !src) {   // an unterminated destination is the caller's mistake too
        dest[0] = 0;
        return EINVAL;
    }
    const size_t length = std::wcslen(src);
    if (used + length >= destSize) {
        dest[0] = 0;
        return ERANGE;
    }
    std::wmemcpy(dest + used, src, length + 1);
    return 0;
}

namespace {
int FormatBounded(wchar_t* buffer, size_t sizeOfBuffer, size_t count, const wchar_t* format, va_list args)
{
    if (!buffer || sizeOfBuffer == 0) return -1;
    if (!format) {
        buffer[0] = 0;
        return -1;
    }
    CString text;
    text.FormatV(format, args);
    const size_t length = static_cast<size_t>(text.GetLength());
    const size_t allowed = count == _TRUNCATE ? sizeOfBuffer - 1 : count;
    if (length <= allowed && length < sizeOfBuffer) {
        std::wmemcpy(buffer, text.GetString(), length + 1);
        return static_cast<int>(length);
    }
    if (count == _TRUNCATE || count < sizeOfBuffer) {
        const size_t kept = std::min(allowed, sizeOfBuffer - 1);
        std::wmemcpy(buffer, text.GetString(), kept);
        buffer[kept] = 0;
        return -1;
    }
    buffer[0] = 0;
    return -1;
}
}  // namespace

int _snwprintf_s(wchar_t* buffer, size_t sizeOfBuffer, size_t count, const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    const int result = FormatBounded(buffer, sizeOfBuffer, count, format, args);
    va_end(args);
    return result;
}

int swprintf_s(wchar_t* buffer, size_t sizeOfBuffer, const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    // swprintf_s has no truncation mode: text that does not fit empties the buffer.
    const int result = FormatBounded(buffer, sizeOfBuffer, sizeOfBuffer, format, args);
    va_end(args);
    return result;
}

// ---- process heap ---------------------------------------------------------------------

namespace {

// Every block carries its size in front, so HeapSize can answer; the tag lets
// HeapFree refuse a pointer that did not come from here or was freed already.
struct alignas(std::max_align_t) BlockHeader {
    size_t size;
    uint64_t tag;
};
const uint64_t kLiveTag = 0x6d6f7276'68656170ULL;
const uint64_t kFreedTag = 0x64656164'626c6f6bULL;

int g_processHeapObject;   // only its address is used: the process heap's handle
std::atomic<int> g_failureCountdown{0};
std::atomic<long> g_liveBlocks{0};

bool IsProcessHeap(HANDLE heap)
{
    return heap == static_cast<HANDLE>(&g_processHeapObject);
}

bool InjectedFailure()
{
    int current = g_failureCountdown.load();
    while (current > 0) {
        if (g_failureCountdown.compare_exchange_weak(current, current - 1)) return current == 1;
    }
    return false;
}

BlockHeader* HeaderOf(LPCVOID block)
{
    if (!block) return nullptr;
    BlockHeader* header = reinterpret_cast<BlockHeader*>(const_cast<void*>(block)) - 1;
    return header->tag == kLiveTag ? header : nullptr;
}

LPVOID AllocationFailed(DWORD flags)
{
    if (flags & HEAP_GENERATE_EXCEPTIONS) throw std::bad_alloc();
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

bool FitsWithHeader(SIZE_T bytes)
{
    return bytes <= std::numeric_limits<SIZE_T>::max() / 2 - sizeof(BlockHeader);
}

}  // namespace

HANDLE GetProcessHeap()
{
    return static_cast<HANDLE>(&g_processHeapObject);
}

LPVOID HeapAlloc(HANDLE hHeap, DWORD dwFlags, SIZE_T dwBytes)
{
    if (!IsProcessHeap(hHeap)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (InjectedFailure() || !FitsWithHeader(dwBytes)) return AllocationFailed(dwFlags);
    void* raw = (dwFlags & HEAP_ZERO_MEMORY) ? std::calloc(1, sizeof(BlockHeader) + dwBytes)
                                             : std::malloc(sizeof(BlockHeader) + dwBytes);
    if (!raw) return AllocationFailed(dwFlags);
    BlockHeader* header = static_cast<BlockHeader*>(raw);
    header->size = dwBytes;
    header->tag = kLiveTag;
    ++g_liveBlocks;
    return header + 1;
}

LPVOID HeapReAlloc(HANDLE hHeap, DWORD dwFlags, LPVOID lpMem, SIZE_T dwBytes)
{
    BlockHeader* header = HeaderOf(lpMem);
    if (!IsProcessHeap(hHeap) || !header) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (InjectedFailure() || !FitsWithHeader(dwBytes)) return AllocationFailed(dwFlags);
    const size_t oldSize = header->size;
    if (dwFlags & HEAP_REALLOC_IN_PLACE_ONLY) {
        if (dwBytes > oldSize) return AllocationFailed(dwFlags);
        header->size = dwBytes;
        return lpMem;
    }
    void* raw = std::realloc(header, sizeof(BlockHeader) + dwBytes);
    if (!raw) return AllocationFailed(dwFlags);   // the old block stays valid, as Win32 promises
    header = static_cast<BlockHeader*>(raw);
    header->size = dwBytes;
    if ((dwFlags & HEAP_ZERO_MEMORY) && dwBytes > oldSize) {
        std::memset(reinterpret_cast<char*>(header + 1) + oldSize, 0, dwBytes - oldSize);
    }
    return header + 1;
}

BOOL HeapFree(HANDLE hHeap, DWORD, LPVOID lpMem)
{
    if (!IsProcessHeap(hHeap)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!lpMem) return TRUE;
    BlockHeader* header = HeaderOf(lpMem);
    if (!header) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    header->tag = kFreedTag;
    std::free(header);
    --g_liveBlocks;
    return TRUE;
}

SIZE_T HeapSize(HANDLE hHeap, DWORD, LPCVOID lpMem)
{
    const BlockHeader* header = HeaderOf(lpMem);
    if (!IsProcessHeap(hHeap) || !header) return static_cast<SIZE_T>(-1);
    return header->size;
}

namespace platform {
void SetHeapFailureCountdown(int n)
{
    g_failureCountdown.store(n < 0 ? 0 : n);
}

long HeapLiveBlockCount()
{
    return g_liveBlocks.load();
}
}  // namespace platform

// ---- run-time loading --------------------------------------------------------------------
//
// As on Windows, a module handle is the address the module is mapped at (the
// windowing layer finds modules from code addresses the same way), so one
// library has one handle however it was reached. The loader's own handles
// stay in here.

namespace {

thread_local std::string t_loaderError;

struct LoadedModule {
    void* loaderHandle;   // what dlopen returned
    int references;       // LoadLibraryW calls not yet matched by FreeLibrary
};

std::mutex g_modulesMutex;
std::map<void*, LoadedModule> g_modules;   // by base address

void RecordLoaderError(DWORD win32Error)
{
    const char* message = dlerror();
    t_loaderError = message ? message : "unknown loader error";
    SetLastError(win32Error);
}

void RecordLoaderError(DWORD win32Error, const char* message)
{
    t_loaderError = message;
    SetLastError(win32Error);
}

void* BaseOfLoaderHandle(void* loaderHandle)
{
    struct link_map* map = nullptr;
    if (dlinfo(loaderHandle, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_ld) return nullptr;
    Dl_info info;
    if (dladdr(map->l_ld, &info) == 0) return nullptr;
    return info.dli_fbase;
}

void* ExecutableBase()
{
    Dl_info info;
    if (dladdr(reinterpret_cast<const void*>(getauxval(AT_PHDR)), &info) == 0) return nullptr;
    return info.dli_fbase;
}

// The file of the module mapped at `base`; empty when nothing is mapped there.
// dladdr only compares addresses, so a wild handle is safe to ask about.
std::string ModuleFileAt(void* base)
{
    Dl_info info;
    if (!base || dladdr(base, &info) == 0 || info.dli_fbase != base || !info.dli_fname) return std::string();
    return info.dli_fname;
}

std::string ExecutablePath()
{
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0) return std::string();
    return std::string(path, static_cast<size_t>(length));
}

// A loader handle for symbol lookup in the module at `base`, or null. Modules
// loaded some other way (the executable, libraries it links) are found too.
void* LoaderHandleFor(void* base)
{
    {
        std::lock_guard<std::mutex> lock(g_modulesMutex);
        auto it = g_modules.find(base);
        if (it != g_modules.end()) return it->second.loaderHandle;
    }
    if (base == ExecutableBase()) return dlopen(nullptr, RTLD_NOW);   // no reference is taken for the executable
    const std::string file = ModuleFileAt(base);
    if (file.empty()) return nullptr;
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle) dlclose(handle);   // it stays loaded through whoever loaded it
    return handle;
}

bool EndsWith(const std::string& text, const char* suffix)
{
    const size_t n = std::strlen(suffix);
    return text.size() >= n && text.compare(text.size() - n, n, suffix) == 0;
}

DWORD CopyWithTruncation(const std::wstring& text, LPWSTR buffer, DWORD size)
{
    if (!buffer || size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (text.size() < size) {
        std::wmemcpy(buffer, text.c_str(), text.size() + 1);
        SetLastError(ERROR_SUCCESS);
        return static_cast<DWORD>(text.size());
    }
    std::wmemcpy(buffer, text.c_str(), size - 1);
    buffer[size - 1] = 0;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return size;
}

}  // namespace

namespace platform {

std::string LibraryFileName(LPCWSTR lpLibFileName)
{
    const std::string native = NativePath(lpLibFileName);
    const size_t slash = native.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : native.substr(0, slash + 1);
    const std::string file = slash == std::string::npos ? native : native.substr(slash + 1);
    if (file.empty()) return std::string();
    if (EndsWith(file, ".so") || file.find(".so.") != std::string::npos) return native;
    const size_t dot = file.rfind('.');
    std::string stem = dot == std::string::npos ? file : file.substr(0, dot);
    if (stem.empty()) return std::string();
    for (char& ch : stem) {
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    }
    return folder + "lib" + stem + ".so";
}

std::string LastLoaderError()
{
    return t_loaderError;
}

}  // namespace platform

HMODULE LoadLibraryW(LPCWSTR lpLibFileName)
{
    if (!lpLibFileName) {
        RecordLoaderError(ERROR_INVALID_PARAMETER, "no library name");
        return nullptr;
    }
    const std::string file = platform::LibraryFileName(lpLibFileName);
    if (file.empty()) {
        RecordLoaderError(ERROR_MOD_NOT_FOUND, "empty library name");
        return nullptr;
    }
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        RecordLoaderError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    void* base = BaseOfLoaderHandle(handle);
    if (!base) {
        dlclose(handle);
        RecordLoaderError(ERROR_MOD_NOT_FOUND, "the loaded library has no mapping");
        return nullptr;
    }
    std::lock_guard<std::mutex> lock(g_modulesMutex);
    LoadedModule& module = g_modules[base];
    module.loaderHandle = handle;   // dlopen hands out one handle per library
    ++module.references;
    return static_cast<HMODULE>(base);
}

FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName)
{
    void* handle = hModule ? LoaderHandleFor(hModule) : nullptr;
    if (!handle) {
        RecordLoaderError(ERROR_INVALID_HANDLE, "not a loaded module");
        return nullptr;
    }
    if (!lpProcName || IS_INTRESOURCE(lpProcName)) {   // ordinals do not exist on this loader
        RecordLoaderError(ERROR_PROC_NOT_FOUND, "no symbol name");
        return nullptr;
    }
    dlerror();
    void* symbol = dlsym(handle, lpProcName);
    if (!symbol) {
        RecordLoaderError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(symbol);
}

BOOL FreeLibrary(HMODULE hLibModule)
{
    void* handle = nullptr;
    {
        std::lock_guard<std::mutex> lock(g_modulesMutex);
        auto it = g_modules.find(hLibModule);
        if (it == g_modules.end() || it->second.references <= 0) {
            RecordLoaderError(ERROR_INVALID_HANDLE, "not a module LoadLibraryW loaded");
            return FALSE;
        }
        handle = it->second.loaderHandle;
        if (--it->second.references == 0) g_modules.erase(it);
    }
    if (dlclose(handle) != 0) {
        RecordLoaderError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

HMODULE GetModuleHandleW(LPCWSTR lpModuleName)
{
    if (!lpModuleName) return static_cast<HMODULE>(ExecutableBase());
    const std::string file = platform::LibraryFileName(lpModuleName);
    void* handle = file.empty() ? nullptr : dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (!handle) {
        RecordLoaderError(ERROR_MOD_NOT_FOUND, "the module is not loaded");
        return nullptr;
    }
    void* base = BaseOfLoaderHandle(handle);
    dlclose(handle);   // this query takes no reference
    return static_cast<HMODULE>(base);
}

DWORD GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize)
{
    std::string path;
    if (!hModule || hModule == ExecutableBase()) {
        path = ExecutablePath();
    } else {
        path = ModuleFileAt(hModule);
    }
    if (path.empty()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    return CopyWithTruncation(platform::WidePath(path), lpFilename, nSize);
}

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
