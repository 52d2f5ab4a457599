// libFuzzer target for the record container and the reader entry points.
// Builds a record image from the input exactly as the caller does (header +
// bytes + ZARN_IMAGE_SPARE zero bytes, in one allocation of that size, so
// AddressSanitizer sees any access past it), probes it with the logic of both
// readers, gets many items at many buffer sizes, and on accepted images drives
// a few sets and a commit, checking the container stays valid.
//
// Seed corpus: `morvelance-mkrecord seeds DIR` (from the normal build).
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/zarn/ZarnContainer.h"
#include "platform/zarn/ZarnImage.h"
#include "platform/zarn/ZarnReader.h"

using namespace zarn;

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

struct Tags {
    uint32_t tag[64];
    uint32_t index[64];
    int count = 0;
};

bool Collect(const ItemRef& item, void* context) {
    Tags* t = static_cast<Tags*>(context);
    t->tag[t->count] = item.tag;
    t->index[t->count] = item.index;
    return ++t->count < 64;
}

// A small cursor over the tail of the input that drives the sets.
struct Cursor {
    const uint8_t* p;
    size_t n;
    uint32_t Take(int bytes) {
        uint32_t v = 0;
        for (int i = 0; i < bytes && n > 0; ++i, ++p, --n) v = (v << 8) | *p;
        return v;
    }
};

void Exercise(Flavour flavour, const uint8_t* data, size_t size) {
    const size_t total = ZARN_IMAGE_HEADER_SIZE + size + ZARN_IMAGE_SPARE;
    uint8_t* block = static_cast<uint8_t*>(std::calloc(1, total));
    if (!block) return;
    ZarnImage* image = reinterpret_cast<ZarnImage*>(block);
    image->fileLength = static_cast<uint32_t>(size);
    if (size) std::memcpy(ImageFileBytes(image), data, size);
    data = ImageFileBytes(image);  // the (possibly checksum-fixed) copy from here on

    const long accepted = ReaderGetData(flavour, image, ZARN_TAG_PROBE, 0, nullptr, 0);
    ParseOptions options;
    options.requiredFlavour = static_cast<uint8_t>(flavour);
    const ParseResult parsed = Parse(data, size, options);
    Check((accepted != 0) == parsed.ok());

    // Gets: every item present (up to 64) plus a few fixed tags, at many sizes.
    Tags tags;
    if (accepted) ForEachItem(ImageFileBytes(image), image->fileLength, &Collect, &tags);
    static const uint32_t kFixed[] = {0, 1, 3001, 3002, 3346, 3381, 3700, 3711, 3836, 3849, 3855, 4097, 5000, 5001, 5003, 5004, 0xFFFFFFFFu};
    for (uint32_t t : kFixed) {
        if (tags.count >= 64) break;
        tags.tag[tags.count] = t;
        tags.index[tags.count] = 0;
        ++tags.count;
    }
    uint8_t buffer[512];
    for (int i = 0; i < tags.count; ++i) {
        const long itemSize = ReaderGetData(flavour, image, tags.tag[i], tags.index[i], nullptr, 0);
        Check(itemSize >= 0);
        if (!accepted) Check(itemSize == 0);
        const long sizes[] = {0, 1, itemSize - 1, itemSize, itemSize + 7, -1, static_cast<long>(sizeof buffer)};
        for (long want : sizes) {
            const long len = want > static_cast<long>(sizeof buffer) ? static_cast<long>(sizeof buffer) : want;
            const long got = ReaderGetData(flavour, image, tags.tag[i], tags.index[i], buffer, len);
            Check(got >= 0 && got <= (len > 0 ? len : 0));
        }
    }
    ReaderGetData(flavour, image, 3001, uintptr_t(1) << 40, buffer, sizeof buffer);

    if (accepted) {
        // Drive sets from the input's last bytes.
        Cursor c{data + size - (size < 64 ? size : 64), size < 64 ? size : 64};
        std::vector<uint8_t> payload;
        for (int k = 0; k < 6 && c.n > 0; ++k) {
            const uint32_t tag = 3000 + c.Take(1) * 8;
            const uint32_t index = c.Take(1) % 4;
            uint32_t length = c.Take(2);
            if (c.Take(1) & 1) length *= 4;  // sometimes past the spare
            payload.assign(length, static_cast<uint8_t>(k));
            const uint32_t before = image->fileLength;
            const long ok = ReaderSetData(flavour, image, tag, index, payload.data(), static_cast<long>(length));
            const WorkAreaInfo work = ReadWorkArea(image, flavour);
            Check(image->fileLength <= work.capacity);
            if (ok) {
                Check(ReaderGetData(flavour, image, tag, index, nullptr, 0) == static_cast<long>(length));
            } else {
                Check(image->fileLength == before);
            }
        }
        if (flavour == Flavour::Newer90) {
            wchar_t text[40];
            size_t n = 0;
            for (; n < 39 && n < size; ++n) text[n] = static_cast<wchar_t>(data[n] | (data[size - 1 - n] << 12));
            text[n] = 0;
            ReaderSetData(flavour, image, ZARN_TAG_BUILD, reinterpret_cast<uintptr_t>(text), nullptr, 0);
            const long len = ReaderGetData(flavour, image, ZARN_TAG_BUILD, 0, nullptr, 0);
            Check(len >= 0 && len <= static_cast<long>(kWorkBuildTextMax));
        }
        Check(ReaderSetData(flavour, image, ZARN_TAG_COMMIT, 0, nullptr, 0) != 0);
        Check(Parse(ImageFileBytes(image), image->fileLength, options).ok());
        // A second probe accepts the committed file and keeps the capacity.
        const uint32_t capacity = ReadWorkArea(image, flavour).capacity;
        Check(ReaderGetData(flavour, image, ZARN_TAG_PROBE, 0, nullptr, 0) != 0);
        Check(ReadWorkArea(image, flavour).capacity == capacity);
    }
    std::free(block);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20)) return 0;
    Exercise(Flavour::Newer90, data, size);
    Exercise(Flavour::Older80, data, size);
    // Again with the checksum made right, so that mutations of the structure
    // reach the item walk, the gets and the sets instead of stopping at the CRC.
    if (size >= kHeaderSize) {
        std::vector<uint8_t> fixed(data, data + size);
        UpdateChecksum(fixed.data(), fixed.size());
        Exercise(Flavour::Newer90, fixed.data(), size);
        Exercise(Flavour::Older80, fixed.data(), size);
    }
    return 0;
}
