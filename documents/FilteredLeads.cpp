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

const std::vector<short>* CFilteredLeads::Find(const void* source, int lead, int filter) const
{
    if (!source || source != m_pSource) return nullptr;
    for (const Entry& entry : m_entries)
        if (entry.lead == lead && entry.filter == filter) return &entry.samples;
    return nullptr;
}

void CFilteredLeads::Keep(const void* source, int lead, int filter, const short* samples, size_t count)
{
    if (!source || !samples || count == 0) return;
    if (source != m_pSource) {
        Clear();
        m_pSource = source;
    }
    if (Find(source, lead, filter)) return;
    const size_t bytes = count * sizeof(short);
    if (m_nBytes + bytes > Budget()) return;
    try {
        m_entries.push_back(Entry{lead, filter, std::vector<short>(samples, samples + count)});
    } catch (const std::bad_alloc&) {
        return;   // not kept: the next load converts the lead again
    }
    m_nBytes += bytes;
}

void CFilteredLeads::Clear()
{
    std::vector<Entry>().swap(m_entries);
    m_nBytes = 0;
    m_pSource = nullptr;
}
