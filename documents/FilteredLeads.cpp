#include "documents/FilteredLeads.h"

#include <sys/resource.h>

#include <cstdint>
#include <new>

namespace {

size_t Budget()
{
    struct rlimit limit;
    if (::getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return SIZE_MAX;
    return static_cast<size_t>(limit.rlim_cur / 4);
}

}  // namespace

CFilteredLeads::Samples CFilteredLeads::Find(const void* source, int lead, int filter) const
{
    if (!source || source != m_pSource) return nullptr;
    for (const Entry& entry : m_entries) {
        if (entry.lead != lead || entry.filter != filter) continue;
        if (entry.samples) return entry.samples;
        if (Samples held = entry.held.lock()) return held;
    }
    return nullptr;
}

void CFilteredLeads::Keep(const void* source, int lead, int filter, Samples samples)
{
    if (!source || !samples || samples->empty()) return;
    if (source != m_pSource) {
        Clear();
        m_pSource = source;
    }
    if (Find(source, lead, filter)) return;
    const bool kept = HasRoomFor(samples->size());
    const size_t bytes = samples->size() * sizeof(short);
    try {
        // An entry whose samples nobody holds any more takes the new ones.
        for (Entry& entry : m_entries) {
            if (entry.lead != lead || entry.filter != filter) continue;
            entry.held = samples;
            if (kept) entry.samples = std::move(samples);
            if (kept) m_nBytes += bytes;
            return;
        }
        Entry entry{lead, filter, nullptr, samples};
        if (kept) entry.samples = std::move(samples);
        m_entries.push_back(std::move(entry));
    } catch (const std::bad_alloc&) {
        return;   // not kept: the next load converts the lead again
    }
    if (kept) m_nBytes += bytes;
}

bool CFilteredLeads::HasRoomFor(size_t count) const
{
    return m_nBytes + count * sizeof(short) <= Budget();
}

bool CFilteredLeads::Release()
{
    bool released = false;
    for (Entry& entry : m_entries) {
        released = released || entry.samples != nullptr;
        entry.samples.reset();
    }
    m_nBytes = 0;
    return released;
}

void CFilteredLeads::Clear()
{
    std::vector<Entry>().swap(m_entries);
    m_nBytes = 0;
    m_pSource = nullptr;
}
