// Where each item of a container starts, so that a lookup is a binary search
// instead of a walk from the first item. A device record keeps one item per
// event or beat, and the documents read them one by one: walking the headers
// for every one of them made opening a long record grow with the square of
// its length.
//
// The index describes the bytes it was built from; whoever changes them
// (an in-place set or remove) drops it. Every hit is checked again against
// the item's own header and the bounds of the range it is asked about, so a
// stale or damaged container yields "not found" and never an access outside
// [data, data + size).
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/zarn/ZarnContainer.h"

namespace zarn {

class ItemIndex {
public:
    // Indexes the container's items. Returns false (and leaves the index
    // empty) when the structure is damaged or the items are not in order.
    bool Build(const uint8_t* data, size_t size);
    void Clear();

    // Whether the index was built from a container of this size and declared
    // item count (the cheap check that the bytes did not change shape).
    bool Describes(const uint8_t* data, size_t size) const;
    bool Built() const { return built_; }
    size_t Count() const { return entries_.size(); }

    // Looks (tag, index) up. Returns true and fills *item only when the item
    // header at the indexed position still says (tag, index) and its bytes lie
    // inside [data, data + size).
    bool Find(const uint8_t* data, size_t size, uint32_t tag, uint32_t index, ItemRef* item) const;

private:
    struct Entry {
        uint32_t tag;
        uint32_t index;
        uint32_t offset;
    };
    std::vector<Entry> entries_;
    uint32_t size_ = 0;
    uint32_t declaredCount_ = 0;
    bool built_ = false;
};

// The index of a reader's open images, kept per image: the first lookup after
// a probe or a write builds it, later ones search it. Safe to call from
// several threads. `owner` identifies the image (its address).
//
// FindItemCached answers exactly as FindItem does on an intact container,
// and falls back to FindItem's walk on one that cannot be indexed.
bool FindItemCached(const void* owner, const uint8_t* data, size_t size, uint32_t tag, uint32_t index,
                    ItemRef* item);
// Drops the owner's index; call after every change of its bytes and on every
// probe (a new image may sit at the address of a freed one).
void ForgetItemIndex(const void* owner);

}  // namespace zarn
