// The record image that a caller hands to the device-file readers (libzarn90,
// libzarn80). The caller allocates one zero-filled block: this header, the
// record file's bytes, then ZARN_IMAGE_SPARE zero bytes into which a reader may
// grow the file when items are written. Byte-packed, little-endian.
//
// The layout is the 32-bit one of the original readers with every pointer
// field widened to the pointer size of this build (entry points, blob
// pointers); the fields keep their order.
#pragma once

#include <cstddef>
#include <cstdint>

#ifdef __cplusplus
extern "C" {
#endif

struct ZarnImage;

// Entry points, called with the caller removing the arguments. The index is
// pointer-sized because tag 5003 passes the address of a wide text in it.
typedef long (*ZarnGetDataFn)(struct ZarnImage* image, unsigned int tag, uintptr_t index, void* buffer,
                              long length);
typedef long (*ZarnSetDataFn)(struct ZarnImage* image, unsigned int tag, uintptr_t index, const void* data,
                              long length);

#pragma pack(push, 1)
struct ZarnImage {
    uint8_t work[146];        // the reader's own working area
    ZarnGetDataFn getData;    // set by the caller once a reader accepted the image
    ZarnSetDataFn setData;
    uint32_t reserved1;       // zero
    uint32_t blobSize;        // total bytes of the two blobs below
    uint8_t* blob3836;        // caller-owned copy of item 3836, or null
    uint8_t* blob3855;        // caller-owned copy of item 3855, or null
    uint32_t fileLength;      // bytes of the record file that follow this header
    uint32_t reserved2;       // zero
    uint8_t fileBytes[1];     // fileLength bytes, then ZARN_IMAGE_SPARE zero bytes
};
#pragma pack(pop)

#define ZARN_IMAGE_HEADER_SIZE (offsetof(struct ZarnImage, fileBytes))
#define ZARN_IMAGE_SPARE 80001u

// Tags with a meaning for the reader itself rather than for the record.
#define ZARN_TAG_PROBE 5000u
#define ZARN_TAG_COMMIT 5001u
#define ZARN_TAG_BUILD 5003u

#ifdef __cplusplus
}
#endif
