// The device-file reader logic shared by libzarn90 and libzarn80 (each library
// is a thin wrapper that passes its flavour), and by the fuzz target. The
// entry-point contract is in ZarnImage.h and platform/zarn/README.md.
#pragma once

#include <cstdint>

#include "platform/zarn/ZarnContainer.h"
#include "platform/zarn/ZarnImage.h"

namespace zarn {

// The reader's working area (ZarnImage::work, 146 bytes), written at probe time:
//    0  mark: 'Z' 'W' '9' 1 (zarn90) or 'Z' 'W' '8' 1 (zarn80); zero = not accepted
//    4  capacity u32: file length at the first accepted probe + ZARN_IMAGE_SPARE
//    8  flags u32: bit 0 = checksum stale (a set happened since the last commit)
//   12  build text length u16 (zarn90 only, tag 5003)
//   14  build text, UTF-8, at most kWorkBuildTextMax bytes, not NUL-terminated
constexpr uint32_t kWorkOffsetMark = 0;
constexpr uint32_t kWorkOffsetCapacity = 4;
constexpr uint32_t kWorkOffsetFlags = 8;
constexpr uint32_t kWorkOffsetBuildLength = 12;
constexpr uint32_t kWorkOffsetBuildText = 14;
constexpr uint32_t kWorkBuildTextMax = 146 - kWorkOffsetBuildText;  // 132
constexpr uint32_t kWorkFlagChecksumStale = 1u;

// What the work area says (for tests and diagnostics).
struct WorkAreaInfo {
    bool accepted = false;
    uint32_t capacity = 0;
    bool checksumStale = false;
    uint32_t buildTextLength = 0;
};
WorkAreaInfo ReadWorkArea(const ZarnImage* image, Flavour flavour);

// efGetData / efSetData for the reader of the given flavour.
long ReaderGetData(Flavour flavour, ZarnImage* image, unsigned tag, uintptr_t index, void* buffer, long length);
long ReaderSetData(Flavour flavour, ZarnImage* image, unsigned tag, uintptr_t index, const void* data, long length);

// The record bytes of an image (the flexible member is addressed through the
// header size so that no out-of-bounds array indexing is involved).
inline uint8_t* ImageFileBytes(ZarnImage* image) {
    return reinterpret_cast<uint8_t*>(image) + ZARN_IMAGE_HEADER_SIZE;
}
inline const uint8_t* ImageFileBytes(const ZarnImage* image) {
    return reinterpret_cast<const uint8_t*>(image) + ZARN_IMAGE_HEADER_SIZE;
}

}  // namespace zarn
