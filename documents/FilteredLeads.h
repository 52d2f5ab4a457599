// The filtered samples of a record's leads as a document last gave them to a
// view. Every pane, and every style of a pane, loads its leads whole when it
// is shown; converting and filtering a lead again each time makes showing a
// page cost as much as the record is long. A lead kept here is shared with
// the views that show it instead. One source (a reader of one record) is
// kept at a time, within a budget: an eighth of the address space the
// process may have when that is limited, so that keeping leads does not take
// the memory drawing needs. A lead past the budget is only looked after:
// while some view still holds it, it is shared rather than read again.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

class CFilteredLeads {
public:
    using Samples = std::shared_ptr<const std::vector<short>>;

    // The samples of `lead` of `source` filtered as `filter` says, kept or
    // still held by a view; null when neither.
    Samples Find(const void* source, int lead, int filter) const;
    // Keeps `samples`, or past the budget looks after them while others hold
    // them. Another source drops what was kept of the last one. A view still
    // holding dropped samples keeps them until it lets them go.
    void Keep(const void* source, int lead, int filter, Samples samples);
    // Whether `count` more samples stay within the budget.
    bool HasRoomFor(size_t count) const;
    // Lets go of every kept lead (those a view holds stay looked after), for
    // a read that found no memory; false when nothing was kept.
    bool Release();
    void Clear();

private:
    struct Entry {
        int lead;
        int filter;
        Samples samples;                                // kept: counts in the budget
        std::weak_ptr<const std::vector<short>> held;   // looked after only
    };
    const void* m_pSource = nullptr;
    std::vector<Entry> m_entries;
    size_t m_nBytes = 0;
};
