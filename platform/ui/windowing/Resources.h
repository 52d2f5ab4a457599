// Resource modules.
//
// Each module (the executable or a shared library) contributes its
// resources once, from a static initialiser, keyed by its module handle:
// string tables, cursors and icons as pixel images, and any other resource
// (dialog templates, bitmaps, menus…) as bytes under its RT_* type. Images
// become HCURSOR/HICON handles on first load and stay cached: a module's
// cursors and icons are shared, as Windows shares them.
//
// Resources are found by integer id (MAKEINTRESOURCE); named resources are
// not supported and are reported missing. A string id names one string (not
// a block of sixteen), and an empty string counts as missing, as it does in
// a Windows string table.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/Strings.h"
#include "platform/base/WinTypes.h"
#include "platform/ui/windowing/UiTypes.h"

#ifndef ERROR_RESOURCE_DATA_NOT_FOUND
#define ERROR_RESOURCE_DATA_NOT_FOUND 1812u
#endif
#ifndef ERROR_RESOURCE_TYPE_NOT_FOUND
#define ERROR_RESOURCE_TYPE_NOT_FOUND 1813u
#endif
#ifndef ERROR_RESOURCE_NAME_NOT_FOUND
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814u
#endif

namespace platform::ui {

// A cursor or icon image.
struct ResourceImage {
    int width = 0;                // pixels
    int height = 0;               // pixels
    int hotX = 0;                 // hot spot from the top left; an icon's is its centre
    int hotY = 0;
    std::vector<uint32_t> argb;   // straight (not premultiplied) 0xAARRGGBB, rows top down, width * height
};

// Everything one module contributes.
struct ResourceTable {
    std::map<UINT, std::wstring> strings;
    std::map<UINT, ResourceImage> cursors;
    std::map<UINT, ResourceImage> icons;
    // Every other resource: (RT_* number, id) -> bytes.
    std::map<std::pair<UINT, UINT>, std::vector<BYTE>> data;
};

// Adds a module's resources; a second call for the same module adds to them
// (an id given again replaces the earlier resource). A null module is
// refused: it names the system's stock resources.
void RegisterResources(HINSTANCE module, const ResourceTable& table);
// Forgets a module's resources and destroys its cached cursors and icons.
void UnregisterResources(HINSTANCE module);

// The modules with resources, in registration order (the extension-module
// search order).
int ResourceModuleCount();
HINSTANCE ResourceModule(int index);

// Whether `module` holds resource `name` of `type` (RT_STRING, RT_CURSOR or
// RT_GROUP_CURSOR, RT_ICON or RT_GROUP_ICON, any other type from `data`).
BOOL HasResource(HINSTANCE module, LPCWSTR name, LPCWSTR type);

// The string `id` of one module; FALSE (and `out` empty) when missing.
BOOL LoadModuleString(HINSTANCE module, UINT id, CString& out);

// The bytes of a data resource; null when missing. The bytes stay valid
// while the caller holds the pointer, also if the module goes away.
std::shared_ptr<const std::vector<BYTE>> FindResourceData(HINSTANCE module, LPCWSTR name, LPCWSTR type);

// Registers the resources of the module that holds this object. Declare
// one static instance per module:
//     static platform::ui::ResourceRegistrar s_resources(BuildResourceTable());
// An instance outside every module image (on the stack) stands for the executable.
class ResourceRegistrar {
public:
    explicit ResourceRegistrar(const ResourceTable& table);
    ResourceRegistrar(HINSTANCE module, const ResourceTable& table);
    ~ResourceRegistrar();
    ResourceRegistrar(const ResourceRegistrar&) = delete;
    ResourceRegistrar& operator=(const ResourceRegistrar&) = delete;

    HINSTANCE Module() const { return m_hModule; }

private:
    HINSTANCE m_hModule;
};

// For tests: while it lives, the modules registered before it are set aside
// (no search sees them); they come back, ahead of any registered meanwhile,
// when it goes.
class IsolatedResourceList {
public:
    IsolatedResourceList();
    ~IsolatedResourceList();
    IsolatedResourceList(const IsolatedResourceList&) = delete;
    IsolatedResourceList& operator=(const IsolatedResourceList&) = delete;

private:
    struct Saved;
    std::unique_ptr<Saved> m_saved;   // the modules set aside
};

namespace detail {
// Makes CString::LoadString search the registered modules.
void InstallStringResourceLoader();
}  // namespace detail

}  // namespace platform::ui

// As Win32: copies at most max - 1 characters and a terminator and returns
// the number copied; 0 when the string is missing (the buffer then holds an
// empty string), the buffer is null or max < 1 (the read-only pointer form
// of max == 0 is not offered).
int LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax);

// A module's cursor or icon; with a null module the system's stock ones
// (IDC_ARROW…, IDI_APPLICATION…). The same handle every time; null when missing.
HCURSOR LoadCursorW(HINSTANCE hInstance, LPCWSTR lpCursorName);
HICON LoadIconW(HINSTANCE hInstance, LPCWSTR lpIconName);

inline int LoadString(HINSTANCE instance, UINT id, LPWSTR buffer, int max) { return LoadStringW(instance, id, buffer, max); }
inline HCURSOR LoadCursor(HINSTANCE instance, LPCWSTR name) { return LoadCursorW(instance, name); }
inline HICON LoadIcon(HINSTANCE instance, LPCWSTR name) { return LoadIconW(instance, name); }

// The data resources (dialog templates, menus, bitmaps, RCDATA…) as Win32
// hands them out: FindResource gives a handle that stays valid for the
// life of the process, LoadResource and LockResource the bytes (kept alive
// with the handle, even when the module goes), SizeofResource their count.
// A null module means the executable. Strings, icons and cursors are not
// data resources here: LoadString, LoadIcon and LoadCursor read them.
HRSRC FindResourceW(HINSTANCE hModule, LPCWSTR lpName, LPCWSTR lpType);
HGLOBAL LoadResource(HINSTANCE hModule, HRSRC hResInfo);
LPVOID LockResource(HGLOBAL hResData);
DWORD SizeofResource(HINSTANCE hModule, HRSRC hResInfo);
BOOL FreeResource(HGLOBAL hResData);   // FALSE, as on Windows where it is obsolete
inline HRSRC FindResource(HINSTANCE module, LPCWSTR name, LPCWSTR type) { return FindResourceW(module, name, type); }

// IMAGE_ICON and IMAGE_CURSOR: the module's shared icon or cursor.
// IMAGE_BITMAP: a new bitmap (the caller deletes it) from an RT_BITMAP
// resource or, with LR_LOADFROMFILE, from a file; both hold PNG or BMP
// (packed DIB) bytes of 1, 4, 8, 24 or 32 bits. cx and cy are not used:
// images load at their own size. Null when missing or unreadable.
HANDLE LoadImageW(HINSTANCE hInst, LPCWSTR name, UINT type, int cx, int cy, UINT fuLoad);
HBITMAP LoadBitmapW(HINSTANCE hInstance, LPCWSTR lpBitmapName);
inline HANDLE LoadImage(HINSTANCE i, LPCWSTR n, UINT t, int cx, int cy, UINT f) { return LoadImageW(i, n, t, cx, cy, f); }
inline HBITMAP LoadBitmap(HINSTANCE i, LPCWSTR n) { return LoadBitmapW(i, n); }

namespace platform::ui {
// The size of resource bytes LockResource handed out, found by their
// address; 0 for any other address.
size_t ResourceSizeOf(const void* bytes);
// A bitmap from PNG or BMP bytes; null when they are not a readable image.
HBITMAP CreateBitmapFromImageBytes(const BYTE* data, size_t size);
}  // namespace platform::ui

// The framework's search for the module holding a resource: the resource
// handle (the module the resource-module hook of WindowSystemHooks.h
// names) first, then every module in registration
// order. When none holds it, the resource handle, so the load that follows
// fails as it would there.
HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType);
HINSTANCE AfxFindStringResourceHandle(UINT nID);
