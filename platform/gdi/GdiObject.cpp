#include "platform/gdi/GdiObject.h"

#include <mutex>
#include <unordered_map>

#include "platform/gdi/GdiObjectMap.h"

IMPLEMENT_DYNCREATE(CGdiObject, CObject)

namespace {

std::mutex& MapMutex()
{
    static std::mutex* mutex = new std::mutex;
    return *mutex;
}

std::unordered_map<HGDIOBJ, CGdiObject*>& PermanentMap()
{
    static auto* map = new std::unordered_map<HGDIOBJ, CGdiObject*>;
    return *map;
}

CGdiObjectMap& TemporaryMap()
{
    static auto* map = new CGdiObjectMap;
    return *map;
}

}  // namespace

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

CGdiObject* CGdiObject::LookupPermanent(HGDIOBJ handle)
{
    std::lock_guard<std::mutex> lock(MapMutex());
    auto found = PermanentMap().find(handle);
    return found == PermanentMap().end() ? nullptr : found->second;
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ handle)
{
    return TemporaryMap().Lookup(handle);
}

void CGdiObject::DeleteTempMap()
{
    TemporaryMap().RemoveAll();
}

BOOL CGdiObject::Attach(HGDIOBJ handle)
{
    if (!handle || m_hObject) return FALSE;
    m_hObject = handle;
    std::lock_guard<std::mutex> lock(MapMutex());
    PermanentMap()[handle] = this;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ handle = m_hObject;
    if (!handle) return nullptr;
    {
        std::lock_guard<std::mutex> lock(MapMutex());
        auto found = PermanentMap().find(handle);
        if (found != PermanentMap().end() && found->second == this) PermanentMap().erase(found);
    }
    m_hObject = nullptr;
    return handle;
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject) return FALSE;
    return ::DeleteObject(Detach());
}

BOOL CGdiObject::CreateStockObject(int index)
{
    if (m_hObject) return FALSE;
    return Attach(::GetStockObject(index));
}

int CGdiObject::GetObject(int count, LPVOID buffer) const
{
    return ::GetObjectW(m_hObject, count, buffer);
}

UINT CGdiObject::GetObjectType() const
{
    return (UINT)::GetObjectType(m_hObject);
}
