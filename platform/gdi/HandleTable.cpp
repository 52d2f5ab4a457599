#include "platform/gdi/HandleTable.h"

namespace platform {
namespace gdi {

namespace {

const uintptr_t kIndexMask = 0xFFFF;
const unsigned kGenerationShift = 16;
const uint16_t kGenerationMask = 0x7FFF;

uintptr_t Compose(size_t index, uint16_t generation)
{
    return (uintptr_t)index | ((uintptr_t)generation << kGenerationShift);
}

}  // namespace

HandleTable& HandleTable::Instance()
{
    // Never destroyed: objects may still be released from other static
    // destructors at exit.
    static HandleTable* table = new HandleTable;
    return *table;
}

uintptr_t HandleTable::Insert(std::unique_ptr<GdiRecord> record)
{
    GdiLock lock = Lock();
    if (!record) return 0;
    if (m_slots.empty()) m_slots.resize(1);
    size_t index;
    if (!m_free.empty()) {
        index = m_free.front();
        m_free.pop_front();
    } else {
        if (m_slots.size() > kMaxSlots) return 0;
        index = m_slots.size();
        m_slots.emplace_back();
    }
    Slot& slot = m_slots[index];
    if (!record->m_stock) ++m_live;
    slot.record = std::move(record);
    return Compose(index, slot.generation);
}

GdiRecord* HandleTable::Find(uintptr_t handle) const
{
    GdiLock lock(m_mutex);
    if (handle >> (kGenerationShift + 15)) return nullptr;
    const size_t index = handle & kIndexMask;
    const uint16_t generation = (uint16_t)(handle >> kGenerationShift);
    if (index == 0 || index >= m_slots.size()) return nullptr;
    const Slot& slot = m_slots[index];
    if (slot.generation != generation) return nullptr;
    return slot.record.get();
}

std::unique_ptr<GdiRecord> HandleTable::Remove(uintptr_t handle)
{
    GdiLock lock = Lock();
    if (!Find(handle)) return nullptr;
    const size_t index = handle & kIndexMask;
    Slot& slot = m_slots[index];
    std::unique_ptr<GdiRecord> record = std::move(slot.record);
    slot.generation = (uint16_t)((slot.generation & kGenerationMask) + 1);
    if (slot.generation > kGenerationMask) slot.generation = 1;
    m_free.push_back((uint16_t)index);
    if (!record->m_stock) --m_live;
    return record;
}

void HandleTable::AddUse(uintptr_t handle)
{
    GdiLock lock = Lock();
    GdiRecord* record = Find(handle);
    if (record) ++record->m_useCount;
}

void HandleTable::ReleaseUse(uintptr_t handle)
{
    GdiLock lock = Lock();
    GdiRecord* record = Find(handle);
    if (!record || record->m_useCount == 0) return;
    if (--record->m_useCount > 0) return;
    if (record->m_type == OBJ_BITMAP) static_cast<BitmapRecord*>(record)->m_selectedIn = nullptr;
    if (record->m_deletePending && !record->m_stock) Remove(handle);
}

}  // namespace gdi
}  // namespace platform
