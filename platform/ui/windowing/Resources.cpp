#include "platform/ui/windowing/Resources.h"

#include <algorithm>
#include <deque>
#include <fstream>
#include <iterator>
#include <mutex>

#include "platform/base/File.h"
#include "platform/base/Kernel.h"
#include "platform/ui/windowing/ImageHandles.h"
#include "platform/ui/windowing/ModuleHandles.h"
#include "platform/ui/windowing/StockImages.h"
#include "platform/ui/windowing/WindowSystemHooks.h"

namespace platform::ui {

namespace {

enum class ResourceKind { String, Cursor, Icon, Data };

struct ImageSlot {
    ResourceImage image;
    HICON handle = nullptr;   // made on first load, then shared
};

struct ModuleResources {
    HINSTANCE module = nullptr;
    std::map<UINT, std::wstring> strings;
    std::map<UINT, ImageSlot> cursors;
    std::map<UINT, ImageSlot> icons;
    std::map<std::pair<UINT, UINT>, std::shared_ptr<const std::vector<BYTE>>> data;
};

// Never destroyed: modules unregister from static destructors that may run
// after this file's own would have.
struct Registry {
    std::mutex lock;
    std::vector<std::unique_ptr<ModuleResources>> modules;   // registration order
    std::unique_ptr<ModuleResources> stock;                  // built on first use
};

Registry& Resources()
{
    static Registry* registry = new Registry;
    return *registry;
}

ModuleResources* FindModule(Registry& registry, HINSTANCE module)
{
    for (auto& entry : registry.modules)
        if (entry->module == module) return entry.get();
    return nullptr;
}

// The module's table, or the stock table for a null module.
ModuleResources* FindTable(Registry& registry, HINSTANCE module)
{
    if (module) return FindModule(registry, module);
    if (!registry.stock) {
        registry.stock = std::make_unique<ModuleResources>();
        ResourceTable table = detail::BuildStockResources();
        for (auto& cursor : table.cursors) registry.stock->cursors[cursor.first].image = std::move(cursor.second);
        for (auto& icon : table.icons) registry.stock->icons[icon.first].image = std::move(icon.second);
    }
    return registry.stock.get();
}

void DestroyHandles(std::map<UINT, ImageSlot>& slots)
{
    for (auto& slot : slots) {
        detail::DestroyImageHandle(slot.second.handle);
        slot.second.handle = nullptr;
    }
}

void MergeImages(std::map<UINT, ImageSlot>& slots, const std::map<UINT, ResourceImage>& images)
{
    for (const auto& image : images) {
        ImageSlot& slot = slots[image.first];
        detail::DestroyImageHandle(slot.handle);
        slot.handle = nullptr;
        slot.image = image.second;
    }
}

bool ResourceKindOf(LPCWSTR type, ResourceKind& kind, UINT& number)
{
    if (!type || !IS_INTRESOURCE(type)) return false;
    number = LOWORD(type);
    if (type == RT_STRING)
        kind = ResourceKind::String;
    else if (type == RT_CURSOR || type == RT_GROUP_CURSOR)
        kind = ResourceKind::Cursor;
    else if (type == RT_ICON || type == RT_GROUP_ICON)
        kind = ResourceKind::Icon;
    else
        kind = ResourceKind::Data;
    return true;
}

bool Holds(const ModuleResources& table, ResourceKind kind, UINT type, UINT id)
{
    switch (kind) {
    case ResourceKind::String: {
        auto found = table.strings.find(id);
        return found != table.strings.end() && !found->second.empty();
    }
    case ResourceKind::Cursor: return table.cursors.count(id) != 0;
    case ResourceKind::Icon: return table.icons.count(id) != 0;
    case ResourceKind::Data: return table.data.count({type, id}) != 0;
    }
    return false;
}

bool ModuleHolds(HINSTANCE module, ResourceKind kind, UINT type, UINT id)
{
    if (!module) return false;
    Registry& registry = Resources();
    std::lock_guard<std::mutex> guard(registry.lock);
    const ModuleResources* table = FindModule(registry, module);
    return table && Holds(*table, kind, type, id);
}

// The framework's search order: the resource handle, then every module in
// registration order.
HINSTANCE FindHolder(ResourceKind kind, UINT type, UINT id)
{
    const HINSTANCE first = detail::FirstResourceModule();
    if (ModuleHolds(first, kind, type, id)) return first;
    Registry& registry = Resources();
    std::lock_guard<std::mutex> guard(registry.lock);
    for (const auto& table : registry.modules)
        if (table->module != first && Holds(*table, kind, type, id)) return table->module;
    return first;
}

HICON LoadImageHandle(HINSTANCE module, LPCWSTR name, ResourceKind kind)
{
    if (!name || !IS_INTRESOURCE(name)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    Registry& registry = Resources();
    std::lock_guard<std::mutex> guard(registry.lock);
    ModuleResources* table = FindTable(registry, module);
    if (!table) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    std::map<UINT, ImageSlot>& slots = kind == ResourceKind::Cursor ? table->cursors : table->icons;
    auto found = slots.find(LOWORD(name));
    if (found == slots.end()) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    ImageSlot& slot = found->second;
    // Windows ignores DestroyIcon on a shared icon; should a caller have
    // destroyed ours anyway, the next load makes it again rather than hand
    // out a dead handle.
    if (slot.handle && !detail::IsImageHandleAlive(slot.handle)) slot.handle = nullptr;
    if (!slot.handle) slot.handle = detail::CreateImageHandle(slot.image);
    return slot.handle;
}

BOOL LoadStringFromModules(UINT id, CString& out)
{
    return LoadModuleString(AfxFindStringResourceHandle(id), id, out);
}

// CString::LoadString works from the moment the library is loaded.
struct LoaderInstaller {
    LoaderInstaller() { detail::InstallStringResourceLoader(); }
} s_loaderInstaller;

}  // namespace

void RegisterResources(HINSTANCE module, const ResourceTable& table)
{
    if (!module) return;
    detail::InstallStringResourceLoader();
    Registry& registry = Resources();
    std::lock_guard<std::mutex> guard(registry.lock);
    ModuleResources* entry = FindModule(registry, module);
    if (!entry) {
        registry.modules.push_back(std::make_unique<ModuleResources>());
        entry = registry.modules.back().get();
        entry->module = module;
    }
    for (const auto& text : table.strings) entry->strings[text.first] = text.second;
    MergeImages(entry->cursors, table.cursors);
    MergeImages(entry->icons, table.icons);
    for (const auto& blob : table.data)
        entry->data[blob.first] = std::make_shared<const std::vector<BYTE>>(blob.second);
}

void UnregisterResources(HINSTANCE module)
{
    if (!module) return;
    Registry& registry = Resources();
    std::lock_guard<std::mutex> guard(registry.lock);
    auto found = std::find_if(registry.modules.begin(), registry.modules.end(),
                              [module](const std::unique_ptr<ModuleResources>& entry) { return entry->module == module; });
    if (found == registry.modules.end()) return;
    DestroyHandles((*found)->cursors);
    DestroyHandles((*found)->icons);
    registry.modules.erase(found);
}

int ResourceModuleCount()
{
    Registry& registry = Resources();
    std::lock_guard<std::mutex> guard(registry.lock);
    return static_cast<int>(registry.modules.size());
}

HINSTANCE ResourceModule(int index)
{
    Registry& registry = Resources();
    std::lock_guard<std::mutex> guard(registry.lock);
    if (index < 0 || index >= static_cast<int>(registry.modules.size())) return nullptr;
    return registry.modules[index]->module;
}

BOOL HasResource(HINSTANCE module, LPCWSTR name, LPCWSTR type)
{
    ResourceKind kind;
    UINT typeNumber = 0;
    if (!name || !IS_INTRESOURCE(name) || !ResourceKindOf(type, kind, typeNumber)) return FALSE;
    return ModuleHolds(module, kind, typeNumber, LOWORD(name)) ? TRUE : FALSE;
}

BOOL LoadModuleString(HINSTANCE module, UINT id, CString& out)
{
    out.Empty();
    if (!module) return FALSE;
    Registry& registry = Resources();
    std::lock_guard<std::mutex> guard(registry.lock);
    const ModuleResources* table = FindModule(registry, module);
    if (!table) return FALSE;
    auto found = table->strings.find(id);
    if (found == table->strings.end() || found->second.empty()) return FALSE;
    out = CString(found->second);
    return TRUE;
}

std::shared_ptr<const std::vector<BYTE>> FindResourceData(HINSTANCE module, LPCWSTR name, LPCWSTR type)
{
    ResourceKind kind;
    UINT typeNumber = 0;
    if (!module || !name || !IS_INTRESOURCE(name) || !ResourceKindOf(type, kind, typeNumber)) return nullptr;
    if (kind != ResourceKind::Data) return nullptr;
    Registry& registry = Resources();
    std::lock_guard<std::mutex> guard(registry.lock);
    const ModuleResources* table = FindModule(registry, module);
    if (!table) return nullptr;
    auto found = table->data.find({typeNumber, LOWORD(name)});
    return found == table->data.end() ? nullptr : found->second;
}

ResourceRegistrar::ResourceRegistrar(const ResourceTable& table)
    : ResourceRegistrar(ModuleFromAddress(this) ? ModuleFromAddress(this) : ExecutableModule(), table)
{
}

ResourceRegistrar::ResourceRegistrar(HINSTANCE module, const ResourceTable& table) : m_hModule(module)
{
    RegisterResources(m_hModule, table);
}

ResourceRegistrar::~ResourceRegistrar()
{
    UnregisterResources(m_hModule);
}

struct IsolatedResourceList::Saved {
    std::vector<std::unique_ptr<ModuleResources>> modules;
};

IsolatedResourceList::IsolatedResourceList() : m_saved(std::make_unique<Saved>())
{
    Registry& registry = Resources();
    std::lock_guard<std::mutex> guard(registry.lock);
    m_saved->modules.swap(registry.modules);
}

IsolatedResourceList::~IsolatedResourceList()
{
    Registry& registry = Resources();
    std::lock_guard<std::mutex> guard(registry.lock);
    for (auto& module : registry.modules) m_saved->modules.push_back(std::move(module));
    m_saved->modules.swap(registry.modules);
}

namespace detail {

void InstallStringResourceLoader()
{
    SetStringResourceLoader(&LoadStringFromModules);
}

}  // namespace detail

}  // namespace platform::ui

int LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax)
{
    if (!lpBuffer || cchBufferMax < 1) return 0;
    lpBuffer[0] = L'\0';
    CString text;
    if (!platform::ui::LoadModuleString(hInstance, uID, text)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    const int count = std::min(text.GetLength(), cchBufferMax - 1);
    std::copy(text.GetString(), text.GetString() + count, lpBuffer);
    lpBuffer[count] = L'\0';
    return count;
}

HCURSOR LoadCursorW(HINSTANCE hInstance, LPCWSTR lpCursorName)
{
    return platform::ui::LoadImageHandle(hInstance, lpCursorName, platform::ui::ResourceKind::Cursor);
}

HICON LoadIconW(HINSTANCE hInstance, LPCWSTR lpIconName)
{
    return platform::ui::LoadImageHandle(hInstance, lpIconName, platform::ui::ResourceKind::Icon);
}

HINSTANCE AfxFindResourceHandle(LPCTSTR lpszName, LPCTSTR lpszType)
{
    platform::ui::ResourceKind kind;
    UINT typeNumber = 0;
    if (!lpszName || !IS_INTRESOURCE(lpszName) || !platform::ui::ResourceKindOf(lpszType, kind, typeNumber))
        return platform::ui::detail::FirstResourceModule();
    return platform::ui::FindHolder(kind, typeNumber, LOWORD(lpszName));
}

HINSTANCE AfxFindStringResourceHandle(UINT nID)
{
    return platform::ui::FindHolder(platform::ui::ResourceKind::String, LOWORD(RT_STRING), nID);
}

// ---- data resources as Win32 hands them out ---------------------------------------------

namespace platform::ui {

namespace {

// What an HRSRC points at. Kept for the life of the process: handles and
// the bytes they lead to must stay valid for whoever still holds them.
struct FoundResource {
    HINSTANCE module;
    UINT type;
    UINT id;
    std::shared_ptr<const std::vector<BYTE>> bytes;
};

struct FoundResources {
    std::mutex lock;
    std::deque<FoundResource> entries;
};

FoundResources& Found()
{
    static FoundResources* found = new FoundResources;
    return *found;
}

const FoundResource* FindEntry(HRSRC handle)
{
    FoundResources& found = Found();
    for (const FoundResource& entry : found.entries)
        if (reinterpret_cast<HRSRC>(const_cast<FoundResource*>(&entry)) == handle) return &entry;
    return nullptr;
}

}  // namespace

size_t ResourceSizeOf(const void* bytes)
{
    if (!bytes) return 0;
    FoundResources& found = Found();
    std::lock_guard<std::mutex> guard(found.lock);
    for (const FoundResource& entry : found.entries)
        if (entry.bytes->data() == bytes) return entry.bytes->size();
    return 0;
}

}  // namespace platform::ui

HRSRC FindResourceW(HINSTANCE hModule, LPCWSTR lpName, LPCWSTR lpType)
{
    if (!hModule) hModule = platform::ui::ExecutableModule();
    std::shared_ptr<const std::vector<BYTE>> bytes = platform::ui::FindResourceData(hModule, lpName, lpType);
    if (!bytes) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    platform::ui::FoundResources& found = platform::ui::Found();
    std::lock_guard<std::mutex> guard(found.lock);
    const UINT type = LOWORD(lpType);
    const UINT id = LOWORD(lpName);
    for (platform::ui::FoundResource& entry : found.entries) {
        if (entry.module == hModule && entry.type == type && entry.id == id && entry.bytes == bytes)
            return reinterpret_cast<HRSRC>(&entry);
    }
    found.entries.push_back(platform::ui::FoundResource{hModule, type, id, bytes});
    return reinterpret_cast<HRSRC>(&found.entries.back());
}

HGLOBAL LoadResource(HINSTANCE hModule, HRSRC hResInfo)
{
    (void)hModule;
    platform::ui::FoundResources& found = platform::ui::Found();
    std::lock_guard<std::mutex> guard(found.lock);
    const platform::ui::FoundResource* entry = platform::ui::FindEntry(hResInfo);
    if (!entry) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    return const_cast<BYTE*>(entry->bytes->data());
}

LPVOID LockResource(HGLOBAL hResData)
{
    return hResData;
}

DWORD SizeofResource(HINSTANCE hModule, HRSRC hResInfo)
{
    (void)hModule;
    platform::ui::FoundResources& found = platform::ui::Found();
    std::lock_guard<std::mutex> guard(found.lock);
    const platform::ui::FoundResource* entry = platform::ui::FindEntry(hResInfo);
    return entry ? static_cast<DWORD>(entry->bytes->size()) : 0;
}

BOOL FreeResource(HGLOBAL hResData)
{
    (void)hResData;
    return FALSE;
}

namespace {

HBITMAP LoadBitmapFile(LPCWSTR path)
{
    if (!path || IS_INTRESOURCE(path)) return nullptr;
    std::ifstream in(platform::NativePath(path), std::ios::binary);
    if (!in) return nullptr;
    std::vector<BYTE> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return platform::ui::CreateBitmapFromImageBytes(bytes.data(), bytes.size());
}

}  // namespace

HANDLE LoadImageW(HINSTANCE hInst, LPCWSTR name, UINT type, int cx, int cy, UINT fuLoad)
{
    (void)cx;
    (void)cy;
    switch (type) {
    case IMAGE_ICON: return (fuLoad & LR_LOADFROMFILE) ? nullptr : LoadIconW(hInst, name);
    case IMAGE_CURSOR: return (fuLoad & LR_LOADFROMFILE) ? nullptr : LoadCursorW(hInst, name);
    case IMAGE_BITMAP: {
        if (fuLoad & LR_LOADFROMFILE) return LoadBitmapFile(name);
        std::shared_ptr<const std::vector<BYTE>> bytes = platform::ui::FindResourceData(hInst, name, RT_BITMAP);
        if (!bytes) {
            SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
            return nullptr;
        }
        return platform::ui::CreateBitmapFromImageBytes(bytes->data(), bytes->size());
    }
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
    }
}

HBITMAP LoadBitmapW(HINSTANCE hInstance, LPCWSTR lpBitmapName)
{
    return static_cast<HBITMAP>(LoadImageW(hInstance, lpBitmapName, IMAGE_BITMAP, 0, 0, 0));
}
