// The record image: one block holding a device record file as read, shared
// with the device-file reader library that works inside it.
#pragma once

#include <cstddef>

#include "platform/base/WinTypes.h"
#include "platform/zarn/ZarnImage.h"

struct _ECGDATA;

// The reader's entry points. The index is pointer-sized because the build
// text (tag 5003) travels in it as an address.
typedef long (*EF_GETDATA)(_ECGDATA* image, UINT tag, UINT_PTR index, void* buffer, long length);
typedef long (*EF_SETDATA)(_ECGDATA* image, UINT tag, UINT_PTR index, const void* data, long length);

// Byte-packed and shared with the reader. Pointer fields are pointer-sized in
// this build; the reader uses the same widened layout (checked below).
#pragma pack(push, 1)
struct _ECGDATA {
    BYTE byWorkArea[146];   // the reader's own; never touched here
    EF_GETDATA pfnGetData;  // set with pfnSetData once a reader accepted the image
    EF_SETDATA pfnSetData;
    DWORD dwReserved1;
    DWORD dwBlobSize;       // bytes of both blobs together
    BYTE* pBlob3836;        // the first blob (its own MemoryAlloc block) or null
    BYTE* pBlob3855;        // the second blob, 15-lead records only, or null
    DWORD dwFileLength;     // bytes of the record file at byFileData
    DWORD dwReserved2;
    BYTE byFileData[1];     // the file's bytes, then ECGDATA_SPARE zero bytes
};
#pragma pack(pop)

static_assert(offsetof(_ECGDATA, pfnGetData) == offsetof(ZarnImage, getData), "reader layout");
static_assert(offsetof(_ECGDATA, pfnSetData) == offsetof(ZarnImage, setData), "reader layout");
static_assert(offsetof(_ECGDATA, dwBlobSize) == offsetof(ZarnImage, blobSize), "reader layout");
static_assert(offsetof(_ECGDATA, pBlob3836) == offsetof(ZarnImage, blob3836), "reader layout");
static_assert(offsetof(_ECGDATA, pBlob3855) == offsetof(ZarnImage, blob3855), "reader layout");
static_assert(offsetof(_ECGDATA, dwFileLength) == offsetof(ZarnImage, fileLength), "reader layout");
static_assert(offsetof(_ECGDATA, byFileData) == offsetof(ZarnImage, fileBytes), "reader layout");

#define ECGDATA_HEADER_SIZE (offsetof(_ECGDATA, byFileData))
// Zero bytes after the file, so that the reader can rewrite the file in place.
#define ECGDATA_SPARE 80001u
// Files shorter than this are no record files.
#define ECGDATA_MIN_FILE_LENGTH 100u

// How ecgGetData and ecgSetData pass an item's value.
enum _ECG_DATA_TYPE {
    ECG_DATA_EUC_TEXT = 0,    // text the record stores in EUC; the caller passes wide text
    ECG_DATA_SJIS_TEXT = 1,   // text the record stores in Shift-JIS; the caller passes wide text
    ECG_DATA_RAW = 4,         // bytes passed unchanged
};

// Data tags with a meaning for the document core.
#define ECG_TAG_PROBE 5000u
#define ECG_TAG_COMMIT 5001u
#define ECG_TAG_BUILD 5003u
#define ECG_TAG_KIND 3381u
#define ECG_TAG_SYSTEM_CODE 3346u
#define ECG_TAG_BLOB1 3836u
#define ECG_TAG_BLOB2 3855u
#define ECG_TAG_BASELINE 3727u
#define ECG_TAG_TRIMMED_TEXT 3025u
#define ECG_TAG_LEAD_BASE 3700u
#define ECG_TAG_LEAD_BY_INDEX 3849u

// Bytes of an image block for a file of the given length.
inline size_t ECGDataBlockSize(size_t fileLength)
{
    return ECGDATA_HEADER_SIZE + fileLength + ECGDATA_SPARE;
}
