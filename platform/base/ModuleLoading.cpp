#include "platform/base/Kernel.h"

#include <map>
#include <mutex>
#include <string>

#include <dlfcn.h>
#include <link.h>
#include <sys/auxv.h>
#include <unistd.h>

#include "platform/base/File.h"

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
