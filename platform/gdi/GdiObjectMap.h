// Temporary framework wrappers around handles that no CGdiObject owns, as
// the framework hands them out from CDC::SelectObject and FromHandle. A
// wrapper never deletes its handle. Pointers stay valid until RemoveAll
// (a CDC empties its map when its DC is deleted or detached; the global map
// empties in CGdiObject::DeleteTempMap), so `pOld = dc.SelectObject(&pen);
// ... dc.SelectObject(pOld);` is safe for the life of the DC.
#pragma once

#include <memory>
#include <unordered_map>

#include "platform/gdi/GdiObject.h"

class CGdiObjectMap {
public:
    CGdiObjectMap() = default;
    ~CGdiObjectMap();
    CGdiObjectMap(const CGdiObjectMap&) = delete;
    CGdiObjectMap& operator=(const CGdiObjectMap&) = delete;

    // The permanent object of `handle`, else this map's wrapper (made on
    // first use, of the class the handle's type calls for); null for a null
    // or stale handle.
    CGdiObject* Lookup(HGDIOBJ handle);
    void RemoveAll();
    int GetCount() const { return (int)m_objects.size(); }

private:
    void PruneStale();

    std::unordered_map<HGDIOBJ, std::unique_ptr<CGdiObject>> m_objects;
};
