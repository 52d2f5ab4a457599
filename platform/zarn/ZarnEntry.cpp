// The two exported entry points of one reader library. Compiled once per
// library with ZARN_READER_FLAVOUR set to 90 or 80.
#include "platform/zarn/ZarnImage.h"
#include "platform/zarn/ZarnReader.h"

#if ZARN_READER_FLAVOUR == 90
#define ZARN_FLAVOUR zarn::Flavour::Newer90
#elif ZARN_READER_FLAVOUR == 80
#define ZARN_FLAVOUR zarn::Flavour::Older80
#else
#error "ZARN_READER_FLAVOUR must be 90 or 80"
#endif

#define ZARN_EXPORT __attribute__((visibility("default")))

extern "C" ZARN_EXPORT long efGetData(ZarnImage* image, unsigned tag, uintptr_t index, void* buffer, long length) {
    return zarn::ReaderGetData(ZARN_FLAVOUR, image, tag, index, buffer, length);
}

extern "C" ZARN_EXPORT long efSetData(ZarnImage* image, unsigned tag, uintptr_t index, const void* data,
                                      long length) {
    return zarn::ReaderSetData(ZARN_FLAVOUR, image, tag, index, data, length);
}

// The entry points must match the caller's function-pointer types exactly.
[[maybe_unused]] static constexpr ZarnGetDataFn kCheckGet = &efGetData;
[[maybe_unused]] static constexpr ZarnSetDataFn kCheckSet = &efSetData;
