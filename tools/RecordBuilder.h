// Writes the items of one device record, typed, into a zarn container. New
// tags need no change here: every item goes through SetRaw in the end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/zarn/ZarnBuilder.h"
#include "tools/EcgRecord.h"
#include "tools/TextCodec.h"

namespace morvelance {

class RecordBuilder {
public:
    // Raw bytes of item (tag, index), replacing any earlier item.
    void SetRaw(uint32_t tag, uint32_t index, std::vector<uint8_t> bytes);

    // A text item: `utf8` converted to `encoding` (whole characters only,
    // truncated to fit). fieldSize 0: the encoded text plus one NUL.
    // Otherwise exactly fieldSize bytes: the text (at most fieldSize - 1 bytes
    // when padding with NUL, so that a NUL always ends it; up to fieldSize
    // bytes with another pad character) followed by `pad` bytes.
    // Throws std::runtime_error when a character cannot be encoded.
    void SetText(uint32_t tag, uint32_t index, const std::string& utf8, TextEncoding encoding = TextEncoding::EucJp,
                 size_t fieldSize = 0, char pad = '\0');

    // int16 little-endian samples.
    void SetSamples(uint32_t tag, uint32_t index, const std::vector<int16_t>& samples);

    void SetInt8(uint32_t tag, uint32_t index, int8_t value);
    void SetInt16(uint32_t tag, uint32_t index, int16_t value);
    void SetUInt16(uint32_t tag, uint32_t index, uint16_t value);
    void SetInt32(uint32_t tag, uint32_t index, int32_t value);
    // 7 bytes: year u16, month, day, hour, minute, second (i8 each).
    void SetDateTime(uint32_t tag, uint32_t index, const DateTime& time);

    bool Remove(uint32_t tag, uint32_t index) { return items_.Remove(tag, index); }
    bool Has(uint32_t tag, uint32_t index) const { return items_.Has(tag, index); }
    const std::vector<uint8_t>* Find(uint32_t tag, uint32_t index) const { return items_.Find(tag, index); }
    const zarn::ContainerBuilder& Items() const { return items_; }

    std::vector<uint8_t> Serialize(zarn::Flavour flavour) const { return items_.Serialize(flavour); }
    // Throws std::runtime_error when the file cannot be written.
    void WriteFile(const std::string& path, zarn::Flavour flavour) const;

private:
    zarn::ContainerBuilder items_;
};

// Little-endian value readers for record items (tests, dumps). Return false
// when the item is too short.
bool ItemInt16(const std::vector<uint8_t>& item, int16_t* value);
bool ItemUInt16(const std::vector<uint8_t>& item, uint16_t* value);
bool ItemInt32(const std::vector<uint8_t>& item, int32_t* value);
std::vector<int16_t> ItemSamples(const std::vector<uint8_t>& item);

}  // namespace morvelance
