// Building and loading whole containers in memory (allocates; used by the
// record maker, the tests and tools, not by the readers themselves).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/zarn/ZarnContainer.h"

namespace zarn {

class ContainerBuilder {
public:
    using Key = std::pair<uint32_t, uint32_t>;  // (tag, index)
    using ItemMap = std::map<Key, std::vector<uint8_t>>;

    // Stores item (tag, index), replacing any earlier one.
    void Set(uint32_t tag, uint32_t index, std::vector<uint8_t> bytes);
    void Set(uint32_t tag, uint32_t index, const void* bytes, size_t length);
    bool Remove(uint32_t tag, uint32_t index);
    void Clear() { items_.clear(); }

    bool Has(uint32_t tag, uint32_t index) const { return items_.count(Key(tag, index)) != 0; }
    // The item's bytes, or null when absent.
    const std::vector<uint8_t>* Find(uint32_t tag, uint32_t index) const;
    size_t ItemCount() const { return items_.size(); }
    const ItemMap& Items() const { return items_; }

    // The container file: header, items in ascending (tag, index) order, checksum.
    std::vector<uint8_t> Serialize(Flavour flavour) const;

private:
    ItemMap items_;
};

// Parses a whole container and copies its items into *out (cleared first).
// *flavour receives the flavour byte when given. Returns the parse result.
ParseResult LoadContainer(const uint8_t* data, size_t size, ContainerBuilder* out, uint8_t* flavour = nullptr);

// Reads a file whole. Returns false (with a message in *error) on failure.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes, std::string* error);
// Writes bytes to a file (replacing it). Returns false (with *error) on failure.
bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error);

}  // namespace zarn
