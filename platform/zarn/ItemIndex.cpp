#include "platform/zarn/ItemIndex.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>

namespace zarn {

namespace {

bool HeaderFields(const uint8_t* data, size_t size, uint32_t* headerSize, uint32_t* count) {
    if (data == nullptr || size < kHeaderSize || size > kMaxFileSize) return false;
    if (std::memcmp(data, kMagic, 4) != 0) return false;
    const uint32_t hs = ReadU16(data + kOffsetHeaderSize);
    if (hs < kHeaderSize || hs > size) return false;
    *headerSize = hs;
    *count = ReadU32(data + kOffsetItemCount);
    return true;
}

}  // namespace

bool ItemIndex::Build(const uint8_t* data, size_t size) {
    Clear();
    uint32_t headerSize = 0, count = 0;
    if (!HeaderFields(data, size, &headerSize, &count)) return false;
    // Every item takes at least its header: a count beyond that is damage,
    // and must not size the reservation.
    if (count > (size - headerSize) / kItemHeaderSize) return false;
    entries_.reserve(count);
    size_t pos = headerSize;
    for (uint32_t i = 0; i < count; ++i) {
        if (size - pos < kItemHeaderSize) return Clear(), false;
        const uint8_t* h = data + pos;
        const uint32_t tag = ReadU32(h), index = ReadU32(h + 4), length = ReadU32(h + 8);
        if (length > size - pos - kItemHeaderSize) return Clear(), false;
        if (!entries_.empty()) {
            const Entry& last = entries_.back();
            if (tag < last.tag || (tag == last.tag && index <= last.index)) return Clear(), false;
        }
        entries_.push_back(Entry{tag, index, static_cast<uint32_t>(pos)});
        pos += kItemHeaderSize + static_cast<size_t>(length);
    }
    if (pos != size) return Clear(), false;
    size_ = static_cast<uint32_t>(size);
    declaredCount_ = count;
    built_ = true;
    return true;
}

void ItemIndex::Clear() {
    entries_.clear();
    size_ = 0;
    declaredCount_ = 0;
    built_ = false;
}

bool ItemIndex::Describes(const uint8_t* data, size_t size) const {
    uint32_t headerSize = 0, count = 0;
    return built_ && size == size_ && HeaderFields(data, size, &headerSize, &count) && count == declaredCount_;
}

bool ItemIndex::Find(const uint8_t* data, size_t size, uint32_t tag, uint32_t index, ItemRef* item) const {
    if (!built_ || data == nullptr) return false;
    auto it = std::lower_bound(entries_.begin(), entries_.end(), Entry{tag, index, 0},
                               [](const Entry& a, const Entry& b) {
                                   return a.tag < b.tag || (a.tag == b.tag && a.index < b.index);
                               });
    if (it == entries_.end() || it->tag != tag || it->index != index) return false;
    const size_t pos = it->offset;
    if (pos > size || size - pos < kItemHeaderSize) return false;
    const uint8_t* h = data + pos;
    const uint32_t length = ReadU32(h + 8);
    if (ReadU32(h) != tag || ReadU32(h + 4) != index || length > size - pos - kItemHeaderSize) return false;
    if (item) {
        item->tag = tag;
        item->index = index;
        item->length = length;
        item->headerOffset = static_cast<uint32_t>(pos);
        item->dataOffset = static_cast<uint32_t>(pos + kItemHeaderSize);
    }
    return true;
}

// ---- the readers' per-image indexes -------------------------------------------------

namespace {

// A few images are open at a time (a document and the record it compares
// with, the file list's preview); the least recently used index makes room.
constexpr size_t kCachedImages = 8;

struct Slot {
    const void* owner = nullptr;
    const uint8_t* data = nullptr;
    uint64_t lastUse = 0;
    // Set when the bytes could not be indexed: lookups walk until the next
    // change instead of retrying the build on every call.
    bool unindexable = false;
    uint32_t unindexableSize = 0;
    ItemIndex index;
};

struct Cache {
    std::mutex mutex;
    Slot slots[kCachedImages];
    uint64_t clock = 0;
};

Cache& TheCache() {
    // Destroyed with the library, so that unloading a reader frees its indexes.
    static Cache cache;
    return cache;
}

}  // namespace

bool FindItemCached(const void* owner, const uint8_t* data, size_t size, uint32_t tag, uint32_t index,
                    ItemRef* item) {
    if (owner == nullptr) return FindItem(data, size, tag, index, item);
    Cache& cache = TheCache();
    std::lock_guard<std::mutex> lock(cache.mutex);
    Slot* slot = nullptr;
    Slot* oldest = &cache.slots[0];
    for (Slot& s : cache.slots) {
        if (s.owner == owner) {
            slot = &s;
            break;
        }
        if (s.lastUse < oldest->lastUse) oldest = &s;
    }
    if (slot == nullptr) {
        slot = oldest;
        slot->owner = owner;
        slot->data = nullptr;
        slot->unindexable = false;
        slot->index.Clear();
    }
    slot->lastUse = ++cache.clock;
    if (slot->data != data) {
        slot->data = data;
        slot->unindexable = false;
        slot->index.Clear();
    }
    if (slot->unindexable && slot->unindexableSize == size) return FindItem(data, size, tag, index, item);
    if (!slot->index.Describes(data, size)) {
        if (!slot->index.Build(data, size)) {
            slot->unindexable = true;
            slot->unindexableSize = static_cast<uint32_t>(size);
            return FindItem(data, size, tag, index, item);
        }
        slot->unindexable = false;
    }
    return slot->index.Find(data, size, tag, index, item);
}

void ForgetItemIndex(const void* owner) {
    if (owner == nullptr) return;
    Cache& cache = TheCache();
    std::lock_guard<std::mutex> lock(cache.mutex);
    for (Slot& s : cache.slots) {
        if (s.owner != owner) continue;
        s.owner = nullptr;
        s.data = nullptr;
        s.lastUse = 0;
        s.unindexable = false;
        // Gives the memory of a large index back at once.
        s.index = ItemIndex();
    }
}

}  // namespace zarn
