// The item record of the base document's list: one opened record file.
#pragma once

#include "platform/base/Strings.h"
#include "platform/base/WinTypes.h"

struct _ANNOTATION_INFO;

struct _DATAITEM {
    _DATAITEM() = default;
    _DATAITEM(const _DATAITEM&) = delete;
    _DATAITEM& operator=(const _DATAITEM&) = delete;
    ~_DATAITEM();   // destroys the annotation chain and the keys

    int nID = 0;
    unsigned int uSystemCode = 0;   // the record's 16-bit system code (tag 3346)
    int nReserved1[4] = {};         // filled by whoever adds the item
    CString strFilePath;            // the record file
    CString strXMLPath;             // the record XML
    CString strThirdKey;            // a second source path (MFER); empty for device records
    int bLoaded = 0;                // set by the host once the record is open in its examination document
    int b8000File = 0;              // non-zero for records of the model-8000 recorder
    _ANNOTATION_INFO* pAnnoHead = nullptr;   // the item's annotation chain (owned)
    int nReserved3[3] = {};
    _DATAITEM* pNext = nullptr;
};
