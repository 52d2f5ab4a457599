// The item record of the rest document's list (the members the item list
// and the document core rely on).
#pragma once

#include "core/ECGData.h"
#include "core/MemoryHelpers.h"
#include "platform/base/Strings.h"

struct _RESTDATAITEM {
    _RESTDATAITEM() = default;
    _RESTDATAITEM(const _RESTDATAITEM&) = delete;
    _RESTDATAITEM& operator=(const _RESTDATAITEM&) = delete;
    // Releases everything the item owns, the record image included.
    ~_RESTDATAITEM() { FreeECGData(pECGData); }

    int nID = 0;
    unsigned int uSystemCode = 0;   // the record's 16-bit system code
    int nKind = 0;                  // the record kind (data tag 3381, signed)
    CString strFilePath;            // the record file
    CString strXMLPath;             // the record XML
    CString strThirdKey;
    _ECGDATA* pECGData = nullptr;   // the record image (owned)
    _RESTDATAITEM* pNext = nullptr;
};
