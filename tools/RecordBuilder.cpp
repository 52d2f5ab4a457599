#include "tools/RecordBuilder.h"

#include <stdexcept>

namespace morvelance {

void RecordBuilder::SetRaw(uint32_t tag, uint32_t index, std::vector<uint8_t> bytes) {
    items_.Set(tag, index, std::move(bytes));
}

void RecordBuilder::SetText(uint32_t tag, uint32_t index, const std::string& utf8, TextEncoding encoding,
                            size_t fieldSize, char pad) {
    std::string encoded, error;
    const size_t room = fieldSize == 0 ? SIZE_MAX : (pad == '\0' ? fieldSize - 1 : fieldSize);
    if (fieldSize == 1 && pad == '\0') {
        encoded.clear();
    } else if (!EncodeTextLimited(utf8, encoding, room, &encoded, &error)) {
        throw std::runtime_error("item " + std::to_string(tag) + ": " + error);
    }
    std::vector<uint8_t> bytes(encoded.begin(), encoded.end());
    if (fieldSize == 0) bytes.push_back(0);
    else bytes.resize(fieldSize, static_cast<uint8_t>(pad));
    SetRaw(tag, index, std::move(bytes));
}

void RecordBuilder::SetSamples(uint32_t tag, uint32_t index, const std::vector<int16_t>& samples) {
    std::vector<uint8_t> bytes(samples.size() * 2);
    for (size_t i = 0; i < samples.size(); ++i) {
        uint16_t v = static_cast<uint16_t>(samples[i]);
        bytes[2 * i] = static_cast<uint8_t>(v);
        bytes[2 * i + 1] = static_cast<uint8_t>(v >> 8);
    }
    SetRaw(tag, index, std::move(bytes));
}

void RecordBuilder::SetInt8(uint32_t tag, uint32_t index, int8_t value) {
    SetRaw(tag, index, {static_cast<uint8_t>(value)});
}

void RecordBuilder::SetInt16(uint32_t tag, uint32_t index, int16_t value) {
    SetUInt16(tag, index, static_cast<uint16_t>(value));
}

void RecordBuilder::SetUInt16(uint32_t tag, uint32_t index, uint16_t value) {
    SetRaw(tag, index, {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)});
}

void RecordBuilder::SetInt32(uint32_t tag, uint32_t index, int32_t value) {
    uint32_t v = static_cast<uint32_t>(value);
    SetRaw(tag, index,
           {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
            static_cast<uint8_t>(v >> 24)});
}

void RecordBuilder::SetDateTime(uint32_t tag, uint32_t index, const DateTime& t) {
    uint16_t y = static_cast<uint16_t>(t.year);
    SetRaw(tag, index,
           {static_cast<uint8_t>(y), static_cast<uint8_t>(y >> 8), static_cast<uint8_t>(t.month),
            static_cast<uint8_t>(t.day), static_cast<uint8_t>(t.hour), static_cast<uint8_t>(t.minute),
            static_cast<uint8_t>(t.second)});
}

void RecordBuilder::WriteFile(const std::string& path, zarn::Flavour flavour) const {
    std::string error;
    if (!zarn::WriteWholeFile(path, Serialize(flavour), &error)) throw std::runtime_error(error);
}

bool ItemInt16(const std::vector<uint8_t>& item, int16_t* value) {
    uint16_t v;
    if (!ItemUInt16(item, &v)) return false;
    *value = static_cast<int16_t>(v);
    return true;
}

bool ItemUInt16(const std::vector<uint8_t>& item, uint16_t* value) {
    if (item.size() < 2) return false;
    *value = static_cast<uint16_t>(item[0] | (item[1] << 8));
    return true;
}

bool ItemInt32(const std::vector<uint8_t>& item, int32_t* value) {
    if (item.size() < 4) return false;
    *value = static_cast<int32_t>(static_cast<uint32_t>(item[0]) | (static_cast<uint32_t>(item[1]) << 8) |
                                  (static_cast<uint32_t>(item[2]) << 16) | (static_cast<uint32_t>(item[3]) << 24));
    return true;
}

std::vector<int16_t> ItemSamples(const std::vector<uint8_t>& item) {
    std::vector<int16_t> out(item.size() / 2);
    for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<int16_t>(item[2 * i] | (item[2 * i + 1] << 8));
    return out;
}

}  // namespace morvelance
