// The record container that the stand-in device-file readers (libzarn90,
// libzarn80) read and write: a versioned, tagged, checksummed byte layout.
// The format is described in platform/zarn/README.md; this header is its
// single definition in code, shared by both readers, the record maker, the
// tests and the fuzz target.
//
// Everything here works on plain byte ranges and never reads or writes outside
// the range it is given. The functions in this header allocate nothing (the
// readers use them inside the image they are handed); ContainerBuilder, which
// does, is in ZarnBuilder.h.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zarn {

// ---- format constants -------------------------------------------------------

// File header (little-endian):
//   0  magic "MZRC"                 4 bytes
//   4  format version (1)           u8
//   5  flavour (9 = newer, 8 = older) u8
//   6  header size (>= 24)          u16
//   8  total length of the file     u32   (must equal the file's size)
//  12  item count                   u32
//  16  CRC-32 of the whole file, computed with these 4 bytes taken as zero
//  20  reserved, zero               u32
//  24  (header size) items, each: tag u32, index u32, length u32, bytes
//      in strictly ascending (tag, index) order, tiling the rest of the file.
constexpr uint8_t kMagic[4] = {'M', 'Z', 'R', 'C'};
constexpr uint8_t kFormatVersion = 1;
constexpr uint32_t kHeaderSize = 24;
constexpr uint32_t kItemHeaderSize = 12;

constexpr uint32_t kOffsetMagic = 0;
constexpr uint32_t kOffsetVersion = 4;
constexpr uint32_t kOffsetFlavour = 5;
constexpr uint32_t kOffsetHeaderSize = 6;
constexpr uint32_t kOffsetTotalLength = 8;
constexpr uint32_t kOffsetItemCount = 12;
constexpr uint32_t kOffsetCrc = 16;
constexpr uint32_t kOffsetReserved = 20;

// The largest file the format (and the readers) accept: 1 GiB. Keeps the
// reader's capacity (file length + spare) inside 32 bits.
constexpr uint32_t kMaxFileSize = 0x40000000u;

// The flavour byte: which reader accepts the file.
enum class Flavour : uint8_t {
    Older80 = 8,   // read by libzarn80 only
    Newer90 = 9,   // read by libzarn90 only
};

// ---- parsing -----------------------------------------------------------------

enum class Status : int {
    Ok = 0,
    Empty,               // zero bytes
    HeaderTruncated,     // shorter than the file header
    BadMagic,            // the first four bytes are not "MZRC"
    BadVersion,          // format version other than 1
    UnknownFlavour,      // flavour byte other than 8 or 9
    WrongFlavour,        // a valid flavour, but not the one asked for
    BadHeaderSize,       // header size below 24 or past the end of the file
    LengthMismatch,      // the header's total length differs from the file size
    ReservedNotZero,     // the reserved header word is not zero
    TooLarge,            // the file is larger than kMaxFileSize
    ItemHeaderTruncated, // an item's 12-byte header runs past the end
    ItemOutOfRange,      // an item's bytes run past the end of the file
    ItemOutOfOrder,      // duplicate (tag, index), or not in ascending order
    ItemCountMismatch,   // fewer items than declared, or bytes after the last one
    ChecksumMismatch,    // the CRC-32 does not match
};

// A short English name of the status ("ok", "bad magic", ...).
const char* StatusName(Status status);

struct ParseOptions {
    bool verifyChecksum = true;
    // 0: accept either flavour; 8 or 9: refuse the other one with WrongFlavour.
    uint8_t requiredFlavour = 0;
};

struct ParseResult {
    Status status = Status::Empty;
    // Byte position in the file where it went wrong (the offending field or
    // item, or where the data ended); 0 when the status is Ok.
    uint32_t errorOffset = 0;
    uint8_t flavour = 0;      // the flavour byte (valid once the header was read)
    uint32_t itemCount = 0;   // the declared item count (valid once the header was read)
    uint32_t headerSize = 0;  // the declared header size (valid once the header was read)

    bool ok() const { return status == Status::Ok; }
};

// Validates a whole container in one pass over its bytes (header, every item
// header, every item byte through the checksum). Reads only [data, data+size).
ParseResult Parse(const uint8_t* data, size_t size, const ParseOptions& options = ParseOptions());

// ---- items ---------------------------------------------------------------------

struct ItemRef {
    uint32_t tag = 0;
    uint32_t index = 0;
    uint32_t length = 0;
    uint32_t headerOffset = 0;  // where the item's 12-byte header starts
    uint32_t dataOffset = 0;    // where its bytes start
};

// Looks item (tag, index) up by walking the item headers of a container whose
// structure was validated (it checks every bound again, so a damaged container
// yields "not found", never an access outside [data, data+size)). Stops at the
// first item past (tag, index), since items are sorted. On success fills *item
// and returns true. Otherwise returns false and, when insertOffset is given
// and the structure is intact, sets it to where the item would be inserted
// (UINT32_MAX when the structure is damaged).
bool FindItem(const uint8_t* data, size_t size, uint32_t tag, uint32_t index, ItemRef* item,
              uint32_t* insertOffset = nullptr);

// Visits every item in file order; the visitor returns false to stop. Returns
// false when the structure turned out damaged before the end (items visited
// until then were in bounds).
typedef bool (*ItemVisitor)(const ItemRef& item, void* context);
bool ForEachItem(const uint8_t* data, size_t size, ItemVisitor visitor, void* context);

// ---- in-place editing ------------------------------------------------------------

// Replaces or inserts item (tag, index) in the valid container that occupies
// [data, data + *size) of a buffer of `capacity` bytes. Moves the following
// items as needed and updates the header (item count, total length) and
// *size, so the structure stays valid; the checksum is NOT recomputed (call
// UpdateChecksum when done). Bytes freed at the end when the file shrinks are
// zeroed. Never touches bytes at or past data + capacity. `bytes` may be null
// when length is 0, and may point into the buffer itself.
// Returns Ok, ItemOutOfRange when the result would not fit the capacity (or
// kMaxFileSize), or the structural status when the container is damaged.
Status SetItemInPlace(uint8_t* data, uint32_t* size, uint32_t capacity, uint32_t tag, uint32_t index,
                      const void* bytes, uint32_t length);

// Removes item (tag, index) if present (structure kept valid, checksum stale).
// Returns true when an item was removed.
bool RemoveItemInPlace(uint8_t* data, uint32_t* size, uint32_t tag, uint32_t index);

// ---- checksum ----------------------------------------------------------------------

// Standard CRC-32 (IEEE 802.3, reflected, poly 0xEDB88320, init/xorout
// 0xFFFFFFFF); `crc` is the value returned by a previous call (0 to start).
uint32_t Crc32(uint32_t crc, const uint8_t* data, size_t size);

// The container checksum: CRC-32 of the whole file with the CRC field taken
// as zero. size must be at least kHeaderSize.
uint32_t ContainerChecksum(const uint8_t* data, size_t size);

// Recomputes and stores the checksum (size >= kHeaderSize).
void UpdateChecksum(uint8_t* data, size_t size);

// ---- little-endian helpers -------------------------------------------------------

inline uint16_t ReadU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t ReadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}
inline void WriteU16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
inline void WriteU32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

}  // namespace zarn
