// The filtered samples of a record's leads as a document last gave them to a
// view. Every pane, and every style of a pane, loads its leads whole when it
// is shown; converting and filtering a lead again each time makes showing a
// page cost as much as the record is long. A lead kept here is shared with
// the views that show it instead. One source (a reader of one record) is kept at a time, within a
// budget: an eighth of the address space the process may have when that is
// limited, so that keeping leads does not take the memory drawing needs.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

class CFilteredLeads {
public:
    using Samples = std::shared_ptr<const std::vector<short>>;

    // The kept samples of `lead` of `source` filtered as `filter` says; null
    // when they are not kept.
    Samples Find(const void* source, int lead, int filter) const;
    // Keeps `samples`; nothing when the budget does not allow it. Another
    // source drops what was kept of the last one. A view still holding
    // dropped samples keeps them until it lets them go.
    void Keep(const void* source, int lead, int filter, Samples samples);
    // Whether `count` more samples stay within the budget.
    bool HasRoomFor(size_t count) const;
    void Clear();

private:
    struct Entry {
        int lead;
        int filter;
        Samples samples;
    };
    const void* m_pSource = nullptr;
    std::vector<Entry> m_entries;
    size_t m_nBytes = 0;
};
