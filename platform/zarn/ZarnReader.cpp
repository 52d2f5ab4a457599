#include "platform/zarn/ZarnReader.h"

#include <cstring>

#include "platform/zarn/ItemIndex.h"

namespace zarn {

namespace {

static_assert(sizeof(ZarnImage::work) == 146, "the working area is 146 bytes");
static_assert(kWorkOffsetBuildText + kWorkBuildTextMax == 146, "work area layout");

void MarkFor(Flavour flavour, uint8_t mark[4]) {
    mark[0] = 'Z';
    mark[1] = 'W';
    mark[2] = flavour == Flavour::Newer90 ? '9' : '8';
    mark[3] = 1;
}

bool HasMark(const ZarnImage* image, Flavour flavour) {
    uint8_t mark[4];
    MarkFor(flavour, mark);
    return std::memcmp(image->work + kWorkOffsetMark, mark, 4) == 0;
}

// The accepted, consistent image, or false: the work area carries this
// reader's mark, the file length is within the capacity and the container
// header still agrees with it. Item walks check every bound again.
bool Accepted(const ZarnImage* image, Flavour flavour, uint32_t* capacity) {
    if (image == nullptr || !HasMark(image, flavour)) return false;
    const uint32_t cap = ReadU32(image->work + kWorkOffsetCapacity);
    const uint32_t len = image->fileLength;
    if (len < kHeaderSize || len > cap) return false;
    const uint8_t* p = ImageFileBytes(image);
    if (std::memcmp(p, kMagic, 4) != 0 || p[kOffsetFlavour] != static_cast<uint8_t>(flavour) ||
        ReadU32(p + kOffsetTotalLength) != len)
        return false;
    if (capacity) *capacity = cap;
    return true;
}

long Probe(Flavour flavour, ZarnImage* image) {
    // The block may be a new one at the address of a freed image.
    ForgetItemIndex(image);
    const bool wasOurs = HasMark(image, flavour);
    const uint32_t len = image->fileLength;
    ParseOptions options;
    options.requiredFlavour = static_cast<uint8_t>(flavour);
    // fileLength <= kMaxFileSize is checked by Parse before anything is read.
    ParseResult r = Parse(ImageFileBytes(image), len, options);
    if (!r.ok()) {
        if (wasOurs) std::memset(image->work, 0, sizeof image->work);
        return 0;
    }
    uint32_t capacity = len + ZARN_IMAGE_SPARE;  // len <= 1 GiB: no overflow
    if (wasOurs) {
        // A second probe of an image this reader already accepted keeps the
        // capacity: the block was allocated for the first file length and
        // neither grows nor shrinks with the file. Only a file longer than
        // the block holds is refused.
        capacity = ReadU32(image->work + kWorkOffsetCapacity);
        if (len > capacity) {
            std::memset(image->work, 0, sizeof image->work);
            return 0;
        }
    } else {
        std::memset(image->work, 0, sizeof image->work);
        uint8_t mark[4];
        MarkFor(flavour, mark);
        std::memcpy(image->work + kWorkOffsetMark, mark, 4);
    }
    WriteU32(image->work + kWorkOffsetCapacity, capacity);
    WriteU32(image->work + kWorkOffsetFlags, 0);
    return 1;
}

// Converts a NUL-terminated 32-bit wide text to UTF-8 into out (at most max
// bytes, whole characters only). Reads the text only as far as needed.
uint32_t WideToUtf8(const wchar_t* text, uint8_t* out, uint32_t max) {
    uint32_t n = 0;
    for (const wchar_t* w = text; *w != 0; ++w) {
        uint32_t c = static_cast<uint32_t>(*w);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        uint8_t buf[4];
        uint32_t k;
        if (c < 0x80) {
            buf[0] = static_cast<uint8_t>(c);
            k = 1;
        } else if (c < 0x800) {
            buf[0] = static_cast<uint8_t>(0xC0 | (c >> 6));
            buf[1] = static_cast<uint8_t>(0x80 | (c & 0x3F));
            k = 2;
        } else if (c < 0x10000) {
            buf[0] = static_cast<uint8_t>(0xE0 | (c >> 12));
            buf[1] = static_cast<uint8_t>(0x80 | ((c >> 6) & 0x3F));
            buf[2] = static_cast<uint8_t>(0x80 | (c & 0x3F));
            k = 3;
        } else {
            buf[0] = static_cast<uint8_t>(0xF0 | (c >> 18));
            buf[1] = static_cast<uint8_t>(0x80 | ((c >> 12) & 0x3F));
            buf[2] = static_cast<uint8_t>(0x80 | ((c >> 6) & 0x3F));
            buf[3] = static_cast<uint8_t>(0x80 | (c & 0x3F));
            k = 4;
        }
        if (n + k > max) break;
        std::memcpy(out + n, buf, k);
        n += k;
    }
    return n;
}

long Deliver(const uint8_t* src, uint32_t size, void* buffer, long length) {
    if (buffer == nullptr) return static_cast<long>(size);
    if (length <= 0 || size == 0) return 0;
    const uint32_t n = static_cast<uint64_t>(length) < size ? static_cast<uint32_t>(length) : size;
    std::memcpy(buffer, src, n);
    return static_cast<long>(n);
}

bool IsReaderTag(unsigned tag) { return tag >= ZARN_TAG_PROBE && tag <= ZARN_TAG_BUILD; }

}  // namespace

WorkAreaInfo ReadWorkArea(const ZarnImage* image, Flavour flavour) {
    WorkAreaInfo info;
    if (image == nullptr || !HasMark(image, flavour)) return info;
    info.accepted = true;
    info.capacity = ReadU32(image->work + kWorkOffsetCapacity);
    info.checksumStale = (ReadU32(image->work + kWorkOffsetFlags) & kWorkFlagChecksumStale) != 0;
    info.buildTextLength = ReadU16(image->work + kWorkOffsetBuildLength);
    return info;
}

long ReaderGetData(Flavour flavour, ZarnImage* image, unsigned tag, uintptr_t index, void* buffer, long length) {
    if (image == nullptr) return 0;
    if (tag == ZARN_TAG_PROBE) {
        if (index != 0 || buffer != nullptr || length != 0) return 0;
        return Probe(flavour, image);
    }
    if (!Accepted(image, flavour, nullptr)) return 0;
    if (tag == ZARN_TAG_BUILD) {
        if (flavour != Flavour::Newer90 || index != 0) return 0;
        uint32_t n = ReadU16(image->work + kWorkOffsetBuildLength);
        if (n > kWorkBuildTextMax) return 0;
        return Deliver(image->work + kWorkOffsetBuildText, n, buffer, length);
    }
    if (IsReaderTag(tag) || index > UINT32_MAX) return 0;
    const uint8_t* bytes = ImageFileBytes(image);
    ItemRef item;
    if (!FindItemCached(image, bytes, image->fileLength, tag, static_cast<uint32_t>(index), &item)) return 0;
    return Deliver(bytes + item.dataOffset, item.length, buffer, length);
}

long ReaderSetData(Flavour flavour, ZarnImage* image, unsigned tag, uintptr_t index, const void* data, long length) {
    uint32_t capacity = 0;
    if (!Accepted(image, flavour, &capacity)) return 0;
    uint8_t* bytes = ImageFileBytes(image);
    if (tag == ZARN_TAG_COMMIT) {
        UpdateChecksum(bytes, image->fileLength);
        WriteU32(image->work + kWorkOffsetFlags, 0);
        return 1;
    }
    if (tag == ZARN_TAG_BUILD) {
        if (flavour != Flavour::Newer90 || index == 0) return 0;
        const uint32_t n = WideToUtf8(reinterpret_cast<const wchar_t*>(index), image->work + kWorkOffsetBuildText,
                                      kWorkBuildTextMax);
        std::memset(image->work + kWorkOffsetBuildText + n, 0, kWorkBuildTextMax - n);
        WriteU16(image->work + kWorkOffsetBuildLength, static_cast<uint16_t>(n));
        return 1;
    }
    if (IsReaderTag(tag) || index > UINT32_MAX) return 0;
    if (length < 0 || static_cast<unsigned long>(length) > kMaxFileSize) return 0;
    if (data == nullptr && length != 0) return 0;
    uint32_t size = image->fileLength;
    Status s = SetItemInPlace(bytes, &size, capacity, tag, static_cast<uint32_t>(index), data,
                              static_cast<uint32_t>(length));
    if (s != Status::Ok) return 0;
    ForgetItemIndex(image);  // the items after the set one moved
    image->fileLength = size;
    WriteU32(image->work + kWorkOffsetFlags, kWorkFlagChecksumStale);
    return 1;
}

}  // namespace zarn
