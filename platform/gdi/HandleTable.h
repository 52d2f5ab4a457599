// The one owner of every GDI object. A handle is a slot index plus the
// slot's generation, so a deleted object's handle fails instead of reaching
// whatever reuses its slot, as GDI's own handle table does. Handles fit in 31
// bits (16-bit index, 15-bit generation), like the originals, so code that
// keeps them in a DWORD still works.
#pragma once

#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/gdi/GdiRecords.h"

namespace platform {
namespace gdi {

typedef std::unique_lock<std::recursive_mutex> GdiLock;

class HandleTable {
public:
    static HandleTable& Instance();

    // Every entry point into the layer holds this lock while it works.
    GdiLock Lock() { return GdiLock(m_mutex); }

    // Takes ownership; returns 0 when the table is full (GDI's own limit is
    // per process too).
    uintptr_t Insert(std::unique_ptr<GdiRecord> record);
    GdiRecord* Find(uintptr_t handle) const;
    // Removes and returns the record; null for a stale handle.
    std::unique_ptr<GdiRecord> Remove(uintptr_t handle);
    int LiveCount() const { return m_live; }

    // Selection bookkeeping: a record stays while DCs or saved states use it.
    void AddUse(uintptr_t handle);
    void ReleaseUse(uintptr_t handle);

private:
    HandleTable() = default;

    struct Slot {
        std::unique_ptr<GdiRecord> record;
        uint16_t generation = 1;    // 1..0x7FFF; bumped when the slot is freed
    };
    static const size_t kMaxSlots = 0xFFFF;

    mutable std::recursive_mutex m_mutex;
    std::vector<Slot> m_slots;          // index 0 is never used, so no handle is 0
    std::deque<uint16_t> m_free;        // reused oldest first, to keep stale handles stale longer
    int m_live = 0;                     // records that are not stock objects
};

inline uintptr_t HandleValue(const void* handle)
{
    return reinterpret_cast<uintptr_t>(handle);
}

template <class H> H MakeHandle(uintptr_t value)
{
    return reinterpret_cast<H>(value);
}

// A record looked up by handle, with the GDI lock held for as long as the
// reference lives. Empty for a stale handle, a foreign one, or one of the
// wrong type.
template <class T> class ObjectRef {
public:
    static ObjectRef Lookup(const void* handle)
    {
        ObjectRef ref;
        HandleTable& table = HandleTable::Instance();
        ref.m_lock = table.Lock();
        GdiRecord* record = table.Find(HandleValue(handle));
        if (record && T::Accepts(record->m_type)) ref.m_object = static_cast<T*>(record);
        return ref;
    }

    explicit operator bool() const { return m_object != nullptr; }
    T* operator->() const { return m_object; }
    T& operator*() const { return *m_object; }
    T* get() const { return m_object; }

private:
    ObjectRef() = default;

    GdiLock m_lock;
    T* m_object = nullptr;
};

// Looks a record up under a lock the caller already holds.
template <class T> T* FindRecord(const void* handle)
{
    GdiRecord* record = HandleTable::Instance().Find(HandleValue(handle));
    return (record && T::Accepts(record->m_type)) ? static_cast<T*>(record) : nullptr;
}

}  // namespace gdi
}  // namespace platform
