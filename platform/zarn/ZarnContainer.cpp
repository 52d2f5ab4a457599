#include "platform/zarn/ZarnContainer.h"

#include <cstdlib>
#include <cstring>

#include <immintrin.h>

namespace zarn {

// ---- CRC-32 (slice-by-16) ---------------------------------------------------

namespace {

// Sixteen bytes a step: the probe checks every byte of a record, and a day's
// record is a few hundred megabytes. The tables take 16 KiB.
struct CrcTables {
    uint32_t t[16][256];
};

constexpr CrcTables MakeCrcTables() {
    CrcTables tables{};
    for (uint32_t i = 0; i < 256; ++i) {
        uint32_t c = i;
        for (int k = 0; k < 8; ++k) c = (c & 1u) ? (0xEDB88320u ^ (c >> 1)) : (c >> 1);
        tables.t[0][i] = c;
    }
    for (uint32_t i = 0; i < 256; ++i) {
        for (int s = 1; s < 16; ++s) {
            uint32_t prev = tables.t[s - 1][i];
            tables.t[s][i] = (prev >> 8) ^ tables.t[0][prev & 0xFFu];
        }
    }
    return tables;
}

constexpr CrcTables kCrc = MakeCrcTables();

// Carry-less multiplication folds 64 bytes a step, four 16-byte lanes each
// carried 512 bits ahead by multiplying with x^(512±32) mod P, then the lanes
// into one, then 128 bits down to the 32-bit remainder (Barrett reduction).
// The constants are the reflected ones of the IEEE polynomial. Takes the
// uncomplemented register and a whole number of 16-byte blocks, 64 at least.
inline __m128i Load16(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

// x carried 128 (or 512) bits ahead and added to the next block.
__attribute__((target("pclmul,sse4.1"))) inline __m128i Fold(__m128i x, __m128i k, __m128i next) {
    return _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(x, k, 0x00), _mm_clmulepi64_si128(x, k, 0x11)), next);
}

__attribute__((target("pclmul,sse4.1"))) uint32_t CrcFolded(uint32_t c, const uint8_t* data, size_t size) {
    const __m128i k1k2 = _mm_set_epi64x(0x1c6e41596, 0x154442bd4);
    const __m128i k3k4 = _mm_set_epi64x(0x0ccaa009e, 0x1751997d0);
    const __m128i k5 = _mm_set_epi64x(0, 0x163cd6124);
    const __m128i poly = _mm_set_epi64x(0x1f7011641, 0x1db710641);
    const __m128i low32 = _mm_set_epi32(0, 0, 0, -1);
    __m128i x1 = _mm_xor_si128(Load16(data), _mm_cvtsi32_si128(static_cast<int>(c)));
    __m128i x2 = Load16(data + 16), x3 = Load16(data + 32), x4 = Load16(data + 48);
    data += 64;
    size -= 64;
    for (; size >= 64; data += 64, size -= 64) {
        x1 = Fold(x1, k1k2, Load16(data));
        x2 = Fold(x2, k1k2, Load16(data + 16));
        x3 = Fold(x3, k1k2, Load16(data + 32));
        x4 = Fold(x4, k1k2, Load16(data + 48));
    }
    x1 = Fold(x1, k3k4, x2);
    x1 = Fold(x1, k3k4, x3);
    x1 = Fold(x1, k3k4, x4);
    for (; size >= 16; data += 16, size -= 16) x1 = Fold(x1, k3k4, Load16(data));
    // 128 bits to 64, then to 32 (both adding 32 zero bits), then the remainder.
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), _mm_clmulepi64_si128(x1, k3k4, 0x10));
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 4), _mm_clmulepi64_si128(_mm_and_si128(x1, low32), k5, 0x00));
    __m128i q = _mm_clmulepi64_si128(_mm_and_si128(x1, low32), poly, 0x10);
    q = _mm_clmulepi64_si128(_mm_and_si128(q, low32), poly, 0x00);
    return static_cast<uint32_t>(_mm_extract_epi32(_mm_xor_si128(x1, q), 1));
}

bool HasCarryLessMultiply() {
    static const bool has =
        (__builtin_cpu_init(), __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1"));
    return has;
}

}  // namespace

uint32_t Crc32(uint32_t crc, const uint8_t* data, size_t size) {
    uint32_t c = ~crc;
    if (size >= 64 && HasCarryLessMultiply()) {
        const size_t folded = size & ~static_cast<size_t>(15);
        c = CrcFolded(c, data, folded);
        data += folded;
        size -= folded;
    }
    while (size >= 16) {
        const uint32_t a = ReadU32(data) ^ c, b = ReadU32(data + 4), d = ReadU32(data + 8), e = ReadU32(data + 12);
        c = kCrc.t[15][a & 0xFF] ^ kCrc.t[14][(a >> 8) & 0xFF] ^ kCrc.t[13][(a >> 16) & 0xFF] ^ kCrc.t[12][a >> 24] ^
            kCrc.t[11][b & 0xFF] ^ kCrc.t[10][(b >> 8) & 0xFF] ^ kCrc.t[9][(b >> 16) & 0xFF] ^ kCrc.t[8][b >> 24] ^
            kCrc.t[7][d & 0xFF] ^ kCrc.t[6][(d >> 8) & 0xFF] ^ kCrc.t[5][(d >> 16) & 0xFF] ^ kCrc.t[4][d >> 24] ^
            kCrc.t[3][e & 0xFF] ^ kCrc.t[2][(e >> 8) & 0xFF] ^ kCrc.t[1][(e >> 16) & 0xFF] ^ kCrc.t[0][e >> 24];
        data += 16;
        size -= 16;
    }
    while (size--) c = (c >> 8) ^ kCrc.t[0][(c ^ *data++) & 0xFFu];
    return ~c;
}

namespace {

// The checksum of the header part [0, headerEnd) with the CRC field zeroed.
uint32_t HeaderCrc(const uint8_t* data, uint32_t headerEnd) {
    static const uint8_t kZero[4] = {0, 0, 0, 0};
    uint32_t crc = Crc32(0, data, kOffsetCrc);
    crc = Crc32(crc, kZero, 4);
    crc = Crc32(crc, data + kOffsetCrc + 4, headerEnd - (kOffsetCrc + 4));
    return crc;
}

ParseResult Fail(ParseResult r, Status status, size_t offset) {
    r.status = status;
    r.errorOffset = static_cast<uint32_t>(offset);
    return r;
}

}  // namespace

uint32_t ContainerChecksum(const uint8_t* data, size_t size) {
    uint32_t crc = HeaderCrc(data, kHeaderSize);
    return Crc32(crc, data + kHeaderSize, size - kHeaderSize);
}

void UpdateChecksum(uint8_t* data, size_t size) { WriteU32(data + kOffsetCrc, ContainerChecksum(data, size)); }

const char* StatusName(Status status) {
    switch (status) {
        case Status::Ok: return "ok";
        case Status::Empty: return "empty file";
        case Status::HeaderTruncated: return "file header truncated";
        case Status::BadMagic: return "bad magic";
        case Status::BadVersion: return "unsupported format version";
        case Status::UnknownFlavour: return "unknown flavour";
        case Status::WrongFlavour: return "flavour not read by this reader";
        case Status::BadHeaderSize: return "bad header size";
        case Status::LengthMismatch: return "total length differs from the file size";
        case Status::ReservedNotZero: return "reserved header field not zero";
        case Status::TooLarge: return "file too large";
        case Status::ItemHeaderTruncated: return "item header truncated";
        case Status::ItemOutOfRange: return "item reaches outside the file";
        case Status::ItemOutOfOrder: return "item duplicated or out of order";
        case Status::ItemCountMismatch: return "item count does not match the items";
        case Status::ChecksumMismatch: return "checksum mismatch";
    }
    return "unknown status";
}

// ---- parse ----------------------------------------------------------------------

ParseResult Parse(const uint8_t* data, size_t size, const ParseOptions& options) {
    ParseResult r;
    if (size == 0 || data == nullptr) return Fail(r, Status::Empty, 0);
    if (size > kMaxFileSize) return Fail(r, Status::TooLarge, kMaxFileSize);
    // Magic first, over what there is, so that a short foreign file reads as foreign.
    for (uint32_t i = 0; i < 4 && i < size; ++i) {
        if (data[kOffsetMagic + i] != kMagic[i]) return Fail(r, Status::BadMagic, i);
    }
    if (size < kHeaderSize) return Fail(r, Status::HeaderTruncated, size);
    if (data[kOffsetVersion] != kFormatVersion) return Fail(r, Status::BadVersion, kOffsetVersion);
    r.flavour = data[kOffsetFlavour];
    r.headerSize = ReadU16(data + kOffsetHeaderSize);
    r.itemCount = ReadU32(data + kOffsetItemCount);
    if (r.flavour != static_cast<uint8_t>(Flavour::Older80) && r.flavour != static_cast<uint8_t>(Flavour::Newer90))
        return Fail(r, Status::UnknownFlavour, kOffsetFlavour);
    if (options.requiredFlavour != 0 && r.flavour != options.requiredFlavour)
        return Fail(r, Status::WrongFlavour, kOffsetFlavour);
    if (r.headerSize < kHeaderSize || r.headerSize > size) return Fail(r, Status::BadHeaderSize, kOffsetHeaderSize);
    if (ReadU32(data + kOffsetTotalLength) != size) return Fail(r, Status::LengthMismatch, kOffsetTotalLength);
    if (ReadU32(data + kOffsetReserved) != 0) return Fail(r, Status::ReservedNotZero, kOffsetReserved);

    // One pass: every byte after the header goes through the CRC exactly once,
    // item headers being checked as the walk reaches them.
    const bool crcOn = options.verifyChecksum;
    uint32_t crc = crcOn ? HeaderCrc(data, r.headerSize) : 0;
    size_t pos = r.headerSize;
    uint32_t prevTag = 0, prevIndex = 0;
    for (uint32_t i = 0; i < r.itemCount; ++i) {
        if (pos == size) return Fail(r, Status::ItemCountMismatch, pos);
        if (size - pos < kItemHeaderSize) return Fail(r, Status::ItemHeaderTruncated, pos);
        const uint8_t* h = data + pos;
        uint32_t tag = ReadU32(h), index = ReadU32(h + 4), length = ReadU32(h + 8);
        if (i > 0 && (tag < prevTag || (tag == prevTag && index <= prevIndex)))
            return Fail(r, Status::ItemOutOfOrder, pos);
        if (length > size - pos - kItemHeaderSize) return Fail(r, Status::ItemOutOfRange, pos + 8);
        if (crcOn) crc = Crc32(crc, h, kItemHeaderSize + static_cast<size_t>(length));
        pos += kItemHeaderSize + static_cast<size_t>(length);
        prevTag = tag;
        prevIndex = index;
    }
    if (pos != size) return Fail(r, Status::ItemCountMismatch, pos);
    if (crcOn && crc != ReadU32(data + kOffsetCrc)) return Fail(r, Status::ChecksumMismatch, kOffsetCrc);
    r.status = Status::Ok;
    r.errorOffset = 0;
    return r;
}

// ---- walking ----------------------------------------------------------------------

namespace {

// Reads the header fields a walk needs, checking them against size. Returns
// false when the header cannot be trusted.
bool WalkStart(const uint8_t* data, size_t size, uint32_t* headerSize, uint32_t* count) {
    if (data == nullptr || size < kHeaderSize || size > kMaxFileSize) return false;
    if (std::memcmp(data, kMagic, 4) != 0) return false;
    uint32_t hs = ReadU16(data + kOffsetHeaderSize);
    if (hs < kHeaderSize || hs > size) return false;
    *headerSize = hs;
    *count = ReadU32(data + kOffsetItemCount);
    return true;
}

// Reads the item at pos, checking bounds. Returns false when it does not fit.
bool ReadItemAt(const uint8_t* data, size_t size, size_t pos, ItemRef* item) {
    if (pos > size || size - pos < kItemHeaderSize) return false;
    const uint8_t* h = data + pos;
    uint32_t length = ReadU32(h + 8);
    if (length > size - pos - kItemHeaderSize) return false;
    item->tag = ReadU32(h);
    item->index = ReadU32(h + 4);
    item->length = length;
    item->headerOffset = static_cast<uint32_t>(pos);
    item->dataOffset = static_cast<uint32_t>(pos + kItemHeaderSize);
    return true;
}

inline bool Less(uint32_t tagA, uint32_t indexA, uint32_t tagB, uint32_t indexB) {
    return tagA < tagB || (tagA == tagB && indexA < indexB);
}

}  // namespace

bool FindItem(const uint8_t* data, size_t size, uint32_t tag, uint32_t index, ItemRef* item,
              uint32_t* insertOffset) {
    if (insertOffset) *insertOffset = UINT32_MAX;
    uint32_t headerSize = 0, count = 0;
    if (!WalkStart(data, size, &headerSize, &count)) return false;
    size_t pos = headerSize;
    for (uint32_t i = 0; i < count; ++i) {
        ItemRef ref;
        if (!ReadItemAt(data, size, pos, &ref)) return false;
        if (ref.tag == tag && ref.index == index) {
            if (item) *item = ref;
            return true;
        }
        if (Less(tag, index, ref.tag, ref.index)) {
            if (insertOffset) *insertOffset = static_cast<uint32_t>(pos);
            return false;
        }
        pos = static_cast<size_t>(ref.dataOffset) + ref.length;
    }
    if (pos == size && insertOffset) *insertOffset = static_cast<uint32_t>(pos);
    return false;
}

bool ForEachItem(const uint8_t* data, size_t size, ItemVisitor visitor, void* context) {
    uint32_t headerSize = 0, count = 0;
    if (!WalkStart(data, size, &headerSize, &count)) return false;
    size_t pos = headerSize;
    for (uint32_t i = 0; i < count; ++i) {
        ItemRef ref;
        if (!ReadItemAt(data, size, pos, &ref)) return false;
        if (!visitor(ref, context)) return true;
        pos = static_cast<size_t>(ref.dataOffset) + ref.length;
    }
    return pos == size;
}

// ---- in-place editing --------------------------------------------------------------

Status SetItemInPlace(uint8_t* data, uint32_t* size, uint32_t capacity, uint32_t tag, uint32_t index,
                      const void* bytes, uint32_t length) {
    if (data == nullptr || size == nullptr || *size > capacity) return Status::ItemOutOfRange;
    if (bytes == nullptr && length != 0) return Status::ItemOutOfRange;
    const uint32_t oldSize = *size;
    ItemRef ref;
    uint32_t insertAt = UINT32_MAX;
    const bool found = FindItem(data, oldSize, tag, index, &ref, &insertAt);
    if (!found && insertAt == UINT32_MAX) return Status::ItemOutOfRange;  // damaged structure

    // New size, computed in 64 bits.
    uint64_t newSize = oldSize;
    if (found) newSize -= ref.length;
    else newSize += kItemHeaderSize;
    newSize += length;
    if (newSize > capacity || newSize > kMaxFileSize) return Status::ItemOutOfRange;

    // The source may lie inside the buffer that is about to be moved: copy it
    // aside first in that case.
    const uint8_t* src = static_cast<const uint8_t*>(bytes);
    uint8_t* aside = nullptr;
    if (length != 0) {
        uintptr_t s = reinterpret_cast<uintptr_t>(src), b = reinterpret_cast<uintptr_t>(data);
        if (s < b + capacity && b < s + length) {
            aside = static_cast<uint8_t*>(std::malloc(length));
            if (aside == nullptr) return Status::ItemOutOfRange;
            std::memcpy(aside, src, length);
            src = aside;
        }
    }

    if (found) {
        const uint32_t tailFrom = ref.dataOffset + ref.length;
        const uint32_t tailTo = ref.dataOffset + length;
        if (tailFrom != tailTo) std::memmove(data + tailTo, data + tailFrom, oldSize - tailFrom);
        if (length) std::memcpy(data + ref.dataOffset, src, length);
        WriteU32(data + ref.headerOffset + 8, length);
    } else {
        const uint32_t gap = kItemHeaderSize + length;
        std::memmove(data + insertAt + gap, data + insertAt, oldSize - insertAt);
        WriteU32(data + insertAt, tag);
        WriteU32(data + insertAt + 4, index);
        WriteU32(data + insertAt + 8, length);
        if (length) std::memcpy(data + insertAt + kItemHeaderSize, src, length);
        WriteU32(data + kOffsetItemCount, ReadU32(data + kOffsetItemCount) + 1);
    }
    std::free(aside);
    if (newSize < oldSize) std::memset(data + newSize, 0, oldSize - static_cast<uint32_t>(newSize));
    WriteU32(data + kOffsetTotalLength, static_cast<uint32_t>(newSize));
    *size = static_cast<uint32_t>(newSize);
    return Status::Ok;
}

bool RemoveItemInPlace(uint8_t* data, uint32_t* size, uint32_t tag, uint32_t index) {
    if (data == nullptr || size == nullptr) return false;
    ItemRef ref;
    if (!FindItem(data, *size, tag, index, &ref)) return false;
    const uint32_t oldSize = *size;
    const uint32_t tailFrom = ref.dataOffset + ref.length;
    std::memmove(data + ref.headerOffset, data + tailFrom, oldSize - tailFrom);
    const uint32_t newSize = oldSize - (tailFrom - ref.headerOffset);
    std::memset(data + newSize, 0, oldSize - newSize);
    WriteU32(data + kOffsetItemCount, ReadU32(data + kOffsetItemCount) - 1);
    WriteU32(data + kOffsetTotalLength, newSize);
    *size = newSize;
    return true;
}

}  // namespace zarn
