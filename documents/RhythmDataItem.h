// The item record of the rhythm document's list (the members the item list
// and the document core rely on).
#pragma once

#include "core/ECGData.h"
#include "core/MemoryHelpers.h"
#include "platform/base/Strings.h"

struct _RHYTHMDATAITEM {
    _RHYTHMDATAITEM() = default;
    _RHYTHMDATAITEM(const _RHYTHMDATAITEM&) = delete;
    _RHYTHMDATAITEM& operator=(const _RHYTHMDATAITEM&) = delete;
    // Releases everything the item owns, the record image included.
    ~_RHYTHMDATAITEM() { FreeECGData(pECGData); }

    int nID = 0;
    unsigned int uSystemCode = 0;   // the record's 16-bit system code
    int nKind = 0;                  // the record kind (data tag 3381, signed)
    int nLeadCount = 0;             // the record's lead count
    CString strFilePath;            // the record file
    CString strXMLPath;             // the record XML
    CString strThirdKey;
    _ECGDATA* pECGData = nullptr;   // the record image (owned)
    _RHYTHMDATAITEM* pNext = nullptr;
};
