#include "documents/FilteredLeads.h"

#include <sys/resource.h>

#include <cstdint>
#include <new>

namespace {

size_t Budget()
{
    struct rlimit limit;
    if (::getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return SIZE_MAX;
    return static_cast<size_t>(limit.rlim_cur / 8);
}

}  // namespace

CFilteredLeads::Samples CFilteredLeads::Find(const void* source, int lead, int filter) const
{
    if (!source || source != m_pSource) return nullptr;
    for (const Entry& entry : m_entries)
        if (entry.lead == lead && entry.filter == filter) return entry.samples;
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
    if (!HasRoomFor(samples->size())) return;
    const size_t bytes = samples->size() * sizeof(short);
    try {
        m_entries.push_back(Entry{lead, filter, std::move(samples)});
    } catch (const std::bad_alloc&) {
        return;   // not kept: the next load converts the lead again
    }
    m_nBytes += bytes;
}

bool CFilteredLeads::HasRoomFor(size_t count) const
{
    return m_nBytes + count * sizeof(short) <= Budget();
}

void CFilteredLeads::Clear()
{
    std::vector<Entry>().swap(m_entries);
    m_nBytes = 0;
    m_pSource = nullptr;
}
