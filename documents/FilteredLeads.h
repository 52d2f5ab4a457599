// The filtered samples of a record's leads as a document last gave them to a
// view. Every pane, and every style of a pane, loads its leads whole when it
// is shown; converting and filtering a lead again each time makes showing a
// page cost as much as the record is long. A lead kept here is copied
// instead. One source (a reader of one record) is kept at a time, within a
// budget: an eighth of the address space the process may have when that is
// limited, so that keeping leads does not take the memory drawing needs.
#pragma once

#include <cstddef>
#include <vector>

class CFilteredLeads {
public:
    // The kept samples of `lead` of `source` filtered as `filter` says; null
    // when they are not kept.
    const std::vector<short>* Find(const void* source, int lead, int filter) const;
    // Keeps a copy of `count` samples; nothing when the budget or the memory
    // does not allow it. Another source drops what was kept of the last one.
    void Keep(const void* source, int lead, int filter, const short* samples, size_t count);
    void Clear();

private:
    struct Entry {
        int lead;
        int filter;
        std::vector<short> samples;
    };
    const void* m_pSource = nullptr;
    std::vector<Entry> m_entries;
    size_t m_nBytes = 0;
};
